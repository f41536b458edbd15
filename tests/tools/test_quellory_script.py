#!/usr/bin/env python3
"""Checks of the decisions of the entry script ./quellory, without apt, Wine or builds.

Usage: test_quellory_script.py [--skinpack PATH] [--emulator WRAPPER] [unittest args]
(the options the tool tests are given are accepted and ignored).

Each test sources the script in a bash process (sourced, it only defines its
functions) with stubs first in PATH: apt-get, dpkg, dpkg-query and id act on
a fake package state in a temporary folder, so a package mirror that fails
can be played out. The test command itself runs with its builds, test runs,
display and Wine replaced by functions that only record their calls.
"""

import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parent.parent.parent / "quellory"

# A fake Debian: $FAKE/installed lists the installed packages, one a line;
# $FAKE/uninstallable the packages apt-get cannot install (as wine32:i386
# when the mirror is out of sync); $FAKE/update_rc apt-get update's exit code;
# $FAKE/arches the foreign architectures. $FAKE/calls records every call.
STUBS = {
    "apt-get": r"""#!/bin/sh
echo "apt-get $*" >>"$FAKE/calls"
case " $* " in
  *" update "*)
    rc=$(cat "$FAKE/update_rc" 2>/dev/null || echo 0)
    [ "$rc" -ne 0 ] && echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
    exit "$rc" ;;
  *" install "*)
    pkgs=
    for a in "$@"; do
      case $a in -*|install|DPkg::*) ;; *) pkgs="$pkgs $a" ;; esac
    done
    for p in $pkgs; do
      if grep -qxF "$p" "$FAKE/uninstallable" 2>/dev/null; then
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
      fi
    done
    for p in $pkgs; do echo "$p" >>"$FAKE/installed"; done
    exit 0 ;;
esac
exit 0
""",
    "dpkg-query": r"""#!/bin/sh
for p; do :; done
if grep -qxF "$p" "$FAKE/installed" 2>/dev/null; then printf 'install ok installed'; exit 0; fi
echo "dpkg-query: no packages found matching $p" >&2
exit 1
""",
    "dpkg": r"""#!/bin/sh
echo "dpkg $*" >>"$FAKE/calls"
case $1 in
  --print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE/arches" ;;
esac
exit 0
""",
    "id": "#!/bin/sh\necho 0\n",
    "sleep": "#!/bin/sh\necho \"sleep $*\" >>\"$FAKE/calls\"\n",
}

# The test command with everything heavy replaced: each records its call.
FAKE_TEST_COMMAND = r"""
record() { echo "$*" >>"$FAKE/calls"; }
ensure_locale() { record ensure_locale; }
build_native() { record build native; }
build_fuzz() { record build fuzz; }
build_bench() { record build bench; }
build_windows() { record build "$2"; }
make_dist() { record make_dist; }
run_package_check() { record package_check; PASSED=$((PASSED + 1)); }
run_fuzzers() { PASSED=$((PASSED + 2)); }
run_benchmark_smoke() { PASSED=$((PASSED + 1)); }
start_display() { record start_display; }
stop_wine_and_display() { :; }
prepare_wine() { record prepare_wine "$@"; PREFIX_WITHOUT_32=${FAKE_PREFIX_WITHOUT_32:-}; }
run_ctest() {
  record ctest "$1" "LC_ALL=$CTEST_LC_ALL"
  if [ "$1" = "${FAKE_FAILING_RUN:-}" ]; then
    FAILED=$((FAILED + 1)); PASSED=$((PASSED + 9)); FAILURES+=("$1: 1 of 10 failed")
  else
    PASSED=$((PASSED + 10))
  fi
}
cmd_test
"""

ALL_PACKAGES = ["cmake", "ninja-build", "g++", "python3", "libgtest-dev", "libgmock-dev",
                "googletest", "libbenchmark-dev", "mingw-w64", "wine", "wine64", "fonts-wine",
                "xvfb", "xauth", "locales", "clang-14", "libclang-rt-14-dev", "imagemagick",
                "fonts-wqy-microhei", "nsis"]


class ScriptTest(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory(prefix="quellory-script-test.")
        self.tmp = pathlib.Path(self._tmp.name)
        self.fake = self.tmp / "fake"
        self.fake.mkdir()
        bin_dir = self.tmp / "bin"
        bin_dir.mkdir()
        for name, text in STUBS.items():
            path = bin_dir / name
            path.write_text(text)
            path.chmod(0o755)
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith("QUELLORY_") and k != "LC_ALL"}
        self.env.update(PATH="%s:%s" % (bin_dir, os.environ.get("PATH", "/usr/bin:/bin")),
                        FAKE=str(self.fake), QUELLORY_BUILD=str(self.tmp / "build"),
                        QUELLORY_APT_PAUSE="7", LANG="C.UTF-8")

    def tearDown(self):
        self._tmp.cleanup()

    # The fake machine ------------------------------------------------------

    def installed(self, packages):
        (self.fake / "installed").write_text("".join(p + "\n" for p in packages))

    def mirror_fails(self, uninstallable=("wine32:i386",)):
        (self.fake / "update_rc").write_text("100\n")
        (self.fake / "uninstallable").write_text("".join(p + "\n" for p in uninstallable))

    def calls(self):
        path = self.fake / "calls"
        return path.read_text().splitlines() if path.exists() else []

    def apt_installs(self):
        """The package lists apt-get install was called with, in order."""
        result = []
        for c in self.calls():
            if c.startswith("apt-get ") and " install " in c:
                words = c.split()[c.split().index("install") + 1:]
                result.append([w for w in words if not w.startswith("-") and not w.startswith("DPkg::")])
        return result

    def bash(self, code, **env):
        e = dict(self.env)
        e.update(env)
        p = subprocess.run(["bash", "-c", 'source "$1"\n' + code, "bash", str(SCRIPT)],
                           env=e, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                           timeout=60)
        return p.returncode, p.stdout, p.stderr

    # Sourcing --------------------------------------------------------------

    def test_sourcing_runs_no_command(self):
        rc, out, err = self.bash("echo sourced")
        self.assertEqual((rc, out, err), (0, "sourced\n", ""))
        self.assertEqual(self.calls(), [])

    def test_unknown_command_prints_usage(self):
        p = subprocess.run(["bash", str(SCRIPT), "nothing"], env=self.env, capture_output=True,
                           text=True, timeout=60)
        self.assertEqual(p.returncode, 2)
        self.assertIn("usage:", p.stderr)

    # Package lists -----------------------------------------------------------

    def packages(self, function, command):
        rc, out, err = self.bash('%s %s' % (function, command))
        self.assertEqual(rc, 0, err)
        return out.split()

    def test_demo_needs_only_64_bit_wine(self):
        needed = self.packages("packages_for", "demo")
        for p in ["wine", "wine64", "mingw-w64", "xvfb", "xauth", "locales", "fonts-wine",
                  "imagemagick", "fonts-wqy-microhei"]:
            self.assertIn(p, needed)
        self.assertFalse([p for p in needed if p.endswith(":i386") or p.startswith("wine32")])
        self.assertEqual(self.packages("optional_packages_for", "demo"), [])

    def test_test_command_asks_for_32_bit_wine_as_optional(self):
        needed = self.packages("packages_for", "test")
        for p in ["wine", "wine64", "mingw-w64", "fonts-wine", "clang-14", "libclang-rt-14-dev"]:
            self.assertIn(p, needed)
        self.assertNotIn("wine32:i386", needed)
        self.assertEqual(self.packages("optional_packages_for", "test"), ["wine32:i386"])

    def test_packages_need_nsis_and_no_wine_to_be_made(self):
        self.assertIn("nsis", self.packages("packages_for", "test"))
        needed = self.packages("packages_for", "dist")
        for p in ["nsis", "mingw-w64", "python3", "cmake"]:
            self.assertIn(p, needed)
        self.assertFalse([p for p in needed if "wine" in p], needed)

    def test_bench_and_skinsheet_need_no_wine(self):
        for command in ("bench", "skinsheet"):
            needed = self.packages("packages_for", command)
            self.assertIn("cmake", needed)
            self.assertFalse([p for p in needed if "wine" in p or "mingw" in p], command)
            self.assertEqual(self.packages("optional_packages_for", command), [])

    # Installing --------------------------------------------------------------

    def test_nothing_missing_asks_apt_nothing(self):
        self.installed(ALL_PACKAGES + ["wine32:i386"])
        rc, out, err = self.bash("install_for test; install_for demo")
        self.assertEqual(rc, 0, err)
        self.assertEqual(self.calls(), [])

    def test_demo_on_a_failing_mirror_retries_update_then_installs_64_bit_only(self):
        self.installed(["cmake"])
        self.mirror_fails()
        rc, out, err = self.bash('install_for demo; echo "update failed: $APT_UPDATE_FAILED"',
                                 QUELLORY_APT_TRIES="3")
        self.assertEqual(rc, 0, err)
        calls = self.calls()
        self.assertEqual([c for c in calls if c.startswith("apt-get") and "update" in c.split()],
                         ["apt-get update -qq"] * 3)
        self.assertEqual([c for c in calls if c.startswith("sleep")], ["sleep 7"] * 2)
        self.assertFalse([c for c in calls if "--add-architecture" in c])
        installs = self.apt_installs()
        self.assertEqual(len(installs), 1)
        self.assertIn("wine64", installs[0])
        self.assertNotIn("cmake", installs[0])
        self.assertFalse([p for p in installs[0] if "i386" in p or "wine32" in p])
        self.assertIn("update failed: 1", out)
        self.assertIn("apt-get update failed 3 times", err)
        self.assertIn("Mirror sync in progress?", err)

    def test_update_that_recovers_is_not_reported(self):
        self.installed([])
        # Fails once, then works.
        (self.fake / "update_rc").write_text("100\n")
        stub = self.tmp / "bin" / "apt-get"
        stub.write_text(STUBS["apt-get"].replace(
            'rc=$(cat "$FAKE/update_rc" 2>/dev/null || echo 0)',
            'rc=$(cat "$FAKE/update_rc" 2>/dev/null || echo 0); echo 0 >"$FAKE/update_rc"'))
        rc, out, err = self.bash('install_for bench; echo "update failed: [$APT_UPDATE_FAILED]"')
        self.assertEqual(rc, 0, err)
        self.assertIn("update failed: []", out)
        self.assertIn("try 1 of 3", out)
        self.assertNotIn("warning", err)
        self.assertEqual(len([c for c in self.calls() if c == "apt-get update -qq"]), 2)

    def test_test_command_goes_on_without_32_bit_wine(self):
        self.installed(["cmake"])
        self.mirror_fails()
        rc, out, err = self.bash('install_for test; echo "not installed: ${OPTIONAL_NOT_INSTALLED[*]}"; '
                                 'echo "reason: $(win32_skip_reason)"')
        self.assertEqual(rc, 0, err)
        self.assertIn("dpkg --add-architecture i386", self.calls())
        installs = self.apt_installs()
        # What is needed in one go, then the 32-bit half on its own.
        self.assertEqual(len(installs), 2)
        self.assertIn("wine64", installs[0])
        self.assertNotIn("wine32:i386", installs[0])
        self.assertEqual(installs[1], ["wine32:i386"])
        self.assertIn("not installed: wine32:i386", out)
        self.assertRegex(out, r"reason: 32-bit Wine \(wine32:i386\) could not be installed while "
                              r"apt-get update failed")
        self.assertIn("could not install wine32:i386", err)

    def test_i386_architecture_is_added_once(self):
        self.installed([])
        (self.fake / "arches").write_text("i386\n")
        rc, out, err = self.bash("install_for test")
        self.assertEqual(rc, 0, err)
        self.assertFalse([c for c in self.calls() if "--add-architecture" in c])
        self.assertEqual(self.apt_installs()[-1], ["wine32:i386"])

    def test_a_needed_package_that_cannot_be_installed_stops_naming_it(self):
        self.installed([p for p in ALL_PACKAGES if p != "wine64"])
        self.mirror_fails(uninstallable=("wine64",))
        rc, out, err = self.bash("install_for demo; echo went on")
        self.assertNotEqual(rc, 0)
        self.assertNotIn("went on", out)
        self.assertIn("quellory: could not install wine64", err)
        self.assertIn("package mirror may be out of sync", err)

    # The i686 run ------------------------------------------------------------

    def test_skip_reason(self):
        self.installed(["wine32:i386"])
        rc, out, err = self.bash('echo "[$(win32_skip_reason)]"')
        self.assertEqual(out, "[]\n", err)
        rc, out, err = self.bash('echo "[$(win32_skip_reason)]"', QUELLORY_SKIP_WIN32="1")
        self.assertEqual(out, "[QUELLORY_SKIP_WIN32 is set]\n", err)
        self.installed([])
        rc, out, err = self.bash('echo "[$(win32_skip_reason)]"')
        self.assertRegex(out, r"^\[32-bit Wine \(wine32:i386\) is not installed; .*prints nothing")

    def test_prefix_action(self):
        # need32 exists has_wow64 ours -> action
        table = [
            ("0 0 0 1", "create"), ("1 0 0 1", "create"), ("1 0 0 0", "create"),
            ("0 1 0 1", "keep"), ("0 1 1 1", "keep"), ("1 1 1 1", "keep"), ("1 1 1 0", "keep"),
            # Made before wine32 was installed: it cannot run i686 programs.
            ("1 1 0 1", "recreate"), ("1 1 0 0", "keep-without-32"),
        ]
        code = "".join('echo "%s -> $(prefix_action %s)"\n' % (a, a) for a, _ in table)
        rc, out, err = self.bash(code)
        self.assertEqual(rc, 0, err)
        self.assertEqual(out.splitlines(), ["%s -> %s" % row for row in table])

    # Wine's fonts in the prefix ------------------------------------------------

    def test_wine_fonts_are_copied_into_new_and_old_prefixes_once(self):
        fonts = self.tmp / "winefonts"
        fonts.mkdir()
        for name in ("marlett.ttf", "tahoma.ttf", "tahomabd.ttf"):
            (fonts / name).write_bytes(name.encode())
        prefix = self.tmp / "prefix"
        env = dict(QUELLORY_WINE_FONTS=str(fonts), WINEPREFIX=str(prefix))
        target = prefix / "drive_c" / "windows" / "Fonts"
        rc, out, err = self.bash("install_wine_fonts", **env)
        self.assertEqual(rc, 0, err)
        self.assertIn("copied 3 of Wine's fonts", out)
        self.assertEqual(sorted(p.name for p in target.iterdir()),
                         ["marlett.ttf", "tahoma.ttf", "tahomabd.ttf"])
        self.assertEqual((target / "marlett.ttf").read_bytes(), b"marlett.ttf")
        # Again: nothing to do.
        rc, out, err = self.bash("install_wine_fonts", **env)
        self.assertEqual((rc, out), (0, ""), err)
        # An older prefix without Marlett gets it.
        (target / "marlett.ttf").unlink()
        rc, out, err = self.bash("install_wine_fonts", **env)
        self.assertIn("copied 1 of Wine's fonts", out)
        self.assertTrue((target / "marlett.ttf").exists())

    def test_missing_wine_fonts_warn(self):
        env = dict(QUELLORY_WINE_FONTS=str(self.tmp / "none"), WINEPREFIX=str(self.tmp / "prefix"))
        rc, out, err = self.bash("install_wine_fonts", **env)
        self.assertEqual(rc, 0, err)
        self.assertIn("fonts-wine", err)

    # Summary line and exit status ---------------------------------------------

    def test_summary_line(self):
        rc, out, err = self.bash("summary_line 12 0 0; summary_line 12 3 1")
        self.assertEqual(out, "Summary: 12 passed, 0 failed\nSummary: 12 passed, 3 failed, 1 skipped\n", err)

    def test_exit_status_follows_the_tests_that_ran(self):
        cases = [("PASSED=5", 0), ("PASSED=5; skip_run i686 why", 0),
                 ("PASSED=5; FAILED=1; skip_run i686 why", 1), ("skip_run i686 why", 1)]
        for setup, expected in cases:
            rc, out, err = self.bash("%s; finish_tests" % setup)
            self.assertEqual(rc, expected, setup + "\n" + out + err)

    # The test command, end to end on the fake machine ---------------------------

    def run_test_command(self, **env):
        rc, out, err = self.bash(FAKE_TEST_COMMAND, **env)
        return rc, out, err, [c for c in self.calls() if not c.startswith(("apt-get", "dpkg", "sleep"))]

    def test_failing_mirror_skips_the_i686_run_loudly(self):
        self.installed(["cmake"])
        self.mirror_fails()
        rc, out, err, calls = self.run_test_command()
        self.assertEqual(rc, 0, out + err)
        # Everything is built, the i686 build too; its run alone is left out.
        for b in ("build native", "build fuzz", "build bench", "build win64", "build win32"):
            self.assertIn(b, calls)
        # The packages are made from both trees and checked in the 64-bit prefix.
        self.assertLess(calls.index("build win32"), calls.index("make_dist"))
        self.assertLess(calls.index("ctest Windows x86_64 under Wine LC_ALL=zh_CN.UTF-8"),
                        calls.index("package_check"))
        self.assertIn("prepare_wine 0", calls)
        self.assertIn("ctest Windows x86_64 under Wine LC_ALL=zh_CN.UTF-8", calls)
        self.assertFalse([c for c in calls if c.startswith("ctest Windows i686")])
        self.assertRegex(out, r"!!! NOT RUN: Windows i686 under Wine: 32-bit Wine \(wine32:i386\) "
                              r"could not be installed .*the i686 build was made")
        self.assertIn("\nNOT RUN: Windows i686 under Wine: ", out)
        self.assertEqual(out.rstrip("\n").splitlines()[-1], "Summary: 34 passed, 0 failed, 1 skipped")

    def test_failing_mirror_and_a_failing_test(self):
        self.installed(["cmake"])
        self.mirror_fails()
        rc, out, err, calls = self.run_test_command(FAKE_FAILING_RUN="native")
        self.assertEqual(rc, 1)
        self.assertIn("FAILED: native: 1 of 10 failed", out)
        self.assertEqual(out.rstrip("\n").splitlines()[-1], "Summary: 33 passed, 1 failed, 1 skipped")

    def test_with_32_bit_wine_the_i686_run_runs(self):
        self.installed([])
        rc, out, err, calls = self.run_test_command()
        self.assertEqual(rc, 0, out + err)
        self.assertIn("prepare_wine 1", calls)
        self.assertIn("ctest Windows i686 under Wine LC_ALL=zh_CN.UTF-8", calls)
        self.assertNotIn("NOT RUN", out)
        self.assertEqual(out.rstrip("\n").splitlines()[-1], "Summary: 44 passed, 0 failed")

    def test_a_prefix_of_the_users_without_32_bit_support_skips(self):
        self.installed(ALL_PACKAGES + ["wine32:i386"])
        rc, out, err, calls = self.run_test_command(FAKE_PREFIX_WITHOUT_32="the prefix is old")
        self.assertEqual(rc, 0, out + err)
        self.assertIn("prepare_wine 1", calls)
        self.assertFalse([c for c in calls if c.startswith("ctest Windows i686")])
        self.assertIn("!!! NOT RUN: Windows i686 under Wine: the prefix is old", out)
        self.assertEqual(out.rstrip("\n").splitlines()[-1], "Summary: 34 passed, 0 failed, 1 skipped")

    # The locale -------------------------------------------------------------------

    def test_the_script_never_sets_LC_ALL_in_its_own_shell(self):
        # bash warns "setlocale: LC_ALL: cannot change locale" when the locale
        # was generated after it started: only child processes get LC_ALL.
        for number, line in enumerate(SCRIPT.read_text().splitlines(), 1):
            code = line.split("#", 1)[0]
            for m in re.finditer(r"(?<![\w$])LC_ALL=", code):
                before = code[:m.start()]
                self.assertTrue(before.rstrip().endswith("env") or before.endswith("${CTEST_LC_ALL:+"),
                                "line %d sets LC_ALL in the script's shell: %s" % (number, line))
            self.assertNotRegex(code, r"\b(export|unset)\s+LC_ALL\b", "line %d" % number)


def main():
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--skinpack")
    parser.add_argument("--emulator")
    _, rest = parser.parse_known_args()
    return 0 if unittest.main(argv=[sys.argv[0]] + rest, exit=False).result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
