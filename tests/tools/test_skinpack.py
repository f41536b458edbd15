#!/usr/bin/env python3
"""End-to-end checks of the skinpack tool, cross-checked with lzhuf_reference.

Usage: test_skinpack.py --skinpack PATH [--emulator WRAPPER] [unittest args]

With --emulator the tool runs as WRAPPER PATH ARGS... (a Windows build under
Wine): paths are then passed as Z: drive paths, and the wrapper merges the
tool's stderr into its stdout with CRs removed.

Every run of the tool is checked for a crash (a signal, an exit code above 2,
or a sanitizer report) and a hang (a timeout), whatever the test expects.
"""

import argparse
import concurrent.futures
import os
import pathlib
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lzhuf_reference as ref  # noqa: E402

SKINPACK = None
EMULATOR = None
TIMEOUT = 20
SAMPLE_SKIN = pathlib.Path(__file__).resolve().parent.parent / "data" / "sampleskin"
SAMPLE_FILES = ["buttons.bmp", "checkbox.bmp", "closebutton.bmp", "frameleft.bmp",
                "frametop.bmp", "sample.ini"]

# Shared between tests: the reference streams of the sample inputs.
_INPUTS = None


def sample_inputs():
    global _INPUTS
    if _INPUTS is None:
        _INPUTS = ref.sample_inputs()
    return _INPUTS


class Result:
    def __init__(self, args, rc, out, err):
        self.args, self.rc, self.out, self.err = args, rc, out, err
        # Under the emulator the tool's stderr arrives on stdout.
        self.diag = (out + err) if EMULATOR else err

    def __repr__(self):
        return "skinpack %s -> exit %s\nstdout: %r\nstderr: %r" % (
            " ".join(map(str, self.args)), self.rc, self.out[:600], self.err[:600])


def _tool_arg(a):
    if isinstance(a, pathlib.PurePath):
        a = str(a)
        if EMULATOR:
            return "Z:" + a.replace("/", "\\")
    return a


def _run(args):
    cmd = ([EMULATOR] if EMULATOR else []) + [SKINPACK] + [_tool_arg(a) for a in args]
    proc = subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, start_new_session=True)
    try:
        out, err = proc.communicate(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return Result(args, "timeout", b"", b"")
    return Result(args, proc.returncode, out, err)


class SkinpackCase(unittest.TestCase):
    """Runs the tool and checks every run for crashes and hangs."""

    def setUp(self):
        if SKINPACK is None:
            self.skipTest("no --skinpack given")
        self.tmp = pathlib.Path(tempfile.mkdtemp(prefix="skinpack-test-"))
        self.addCleanup(shutil.rmtree, self.tmp, True)

    def run_tool(self, *args):
        return self._checked(_run(args))

    def run_many(self, arg_lists):
        """Runs several invocations two at a time: process start-up under Wine is slow."""
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            results = list(pool.map(_run, arg_lists))
        return [self._checked(r) for r in results]

    def _checked(self, res):
        if res.rc == "timeout":
            self.fail("hang (no exit within %d s): %r" % (TIMEOUT, res))
        if res.rc < 0 or res.rc > 2:
            self.fail("crash: %r" % res)
        if b"Sanitizer" in res.err or b"runtime error:" in res.err:
            self.fail("sanitizer report: %r" % res)
        return res

    def write(self, name, data):
        path = self.tmp / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path

    def assert_ok(self, res):
        self.assertEqual(res.rc, 0, res)

    def assert_refused(self, res, fragment=None):
        self.assertEqual(res.rc, 1, res)
        lines = res.diag.decode("latin-1").splitlines()
        self.assertTrue(lines and any(l.startswith("skinpack:") for l in lines),
                        "no 'skinpack:' message: %r" % res)
        if not EMULATOR:
            self.assertTrue(lines[0].startswith("skinpack:"), res)
        if fragment is not None:
            self.assertIn(fragment, res.diag.decode("latin-1"), res)

    def assert_decoded(self, res, out_path, expected, size):
        """A hostile stream's output: the reference's, whole last match or cut at size."""
        self.assert_ok(res)
        got = out_path.read_bytes()
        if got not in (expected, expected[:max(size, 0)]):
            self.fail("%r: %s" % (res, describe_difference(got, expected)))

    def skin_file(self, name, raw_archive):
        return self.write(name, ref.compress(raw_archive))


def describe_difference(got, expected):
    at = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b),
              min(len(got), len(expected)))
    return "%d bytes, reference %d; first difference at offset %d" % (
        len(got), len(expected), at)


def list_lines(files):
    return b"".join(n + b"\t%d\n" % len(c) for n, c in files)


# ---------------------------------------------------------------- reference

class ReferenceSelfTest(unittest.TestCase):
    def test_reference_round_trips(self):
        ref.selftest(verbose=False)

    def test_inputs_reach_their_corners(self):
        """Each named input must really exercise the case it is named after."""
        feats = {n: ref.parse_features(d) for n, d in sample_inputs().items()}
        self.assertGreaterEqual(feats["long runs"]["wrap_60"], 1)
        self.assertGreaterEqual(feats["leading blanks"]["from_blanks"], 1)
        self.assertGreaterEqual(feats["ring end crossing"]["wrap_60"], 1)
        self.assertGreaterEqual(feats["ring end crossing"]["read_wraps"], 1)
        self.assertGreaterEqual(feats["ring end crossing"]["write_wraps"], 1)
        self.assertEqual(feats["distance 4096"]["max_distance"], ref.RING)
        self.assertGreater(feats["random 45000"]["symbols"], 40000)
        self.assertGreater(feats["mixed 80000"]["symbols"], 50000)
        self.assertGreater(feats["mixed 80000"]["matches"], 1000)


# ---------------------------------------------------------------- streams

class StreamCrossCheck(SkinpackCase):
    def test_reference_streams_decode_exactly(self):
        names = list(sample_inputs())
        jobs, outs = [], []
        for i, name in enumerate(names):
            src = self.write("in%d.lzh" % i, ref.compress(sample_inputs()[name]))
            outs.append(self.tmp / ("out%d" % i))
            jobs.append(("decompress", src, outs[-1]))
        for name, res, out in zip(names, self.run_many(jobs), outs):
            with self.subTest(name):
                self.assert_ok(res)
                got, data = out.read_bytes(), sample_inputs()[name]
                if got != data:
                    self.fail(describe_difference(got, data))

    def test_skinpack_streams_decode_exactly_and_compress_well(self):
        names = list(sample_inputs())
        jobs, outs = [], []
        for i, name in enumerate(names):
            src = self.write("raw%d" % i, sample_inputs()[name])
            outs.append(self.tmp / ("packed%d.lzh" % i))
            jobs.append(("compress", src, outs[-1]))
        for name, res, out in zip(names, self.run_many(jobs), outs):
            with self.subTest(name):
                data = sample_inputs()[name]
                self.assert_ok(res)
                stream = out.read_bytes()
                self.assertEqual(stream[:4], struct.pack("<i", len(data)))
                stats = {}
                back = ref.decompress(stream, stats=stats)
                if back != data:
                    self.fail("reference decodes other bytes: " + describe_difference(back, data))
                if data:
                    # Every bit was written: decoding never reads past the end.
                    self.assertLessEqual(stats["consumed"], len(stream) - 4)
                greedy = len(ref.compress(data))
                self.assertLessEqual(len(stream), max(greedy * 1.01, greedy + 1),
                                     "larger than the greedy reference (%d)" % greedy)


class HostileStreams(SkinpackCase):
    """decompress on streams no encoder made: refused or decoded as the reference does."""

    def test_size_claims(self):
        body = b"\x00" * 10
        bound = ref.size_bound(4 + len(body))
        rows = [
            # (case, stream, expect: "decode" | "refuse")
            ("size at the bound", struct.pack("<i", bound) + body, "decode"),
            ("size one past the bound", struct.pack("<i", bound + 1) + body, "refuse"),
            ("size 0x7fffffff", struct.pack("<i", 0x7FFFFFFF) + body, "refuse"),
            ("size claim with no bit stream", struct.pack("<i", 61), "refuse"),
            ("size 60 with no bit stream", struct.pack("<i", 60), "decode"),
            ("size 0", struct.pack("<i", 0) + body, "decode"),
        ]
        jobs = []
        for i, (_, stream, _) in enumerate(rows):
            jobs.append(("decompress", self.write("s%d" % i, stream), self.tmp / ("o%d" % i)))
        for (case, stream, expect), res, job in zip(rows, self.run_many(jobs), jobs):
            with self.subTest(case):
                if expect == "refuse":
                    self.assert_refused(res, "uncompressed size")
                else:
                    size = struct.unpack_from("<i", stream)[0]
                    self.assert_decoded(res, job[2], ref.decompress(stream), size)

    def test_size_above_256_mib_refused_even_when_stream_is_large(self):
        size = ref.STREAM_CAP + 1
        stream = self.write("big", struct.pack("<i", size) + bytes(size // 48 + 4096))
        self.assertLessEqual(size, 48 * (stream.stat().st_size - 4) + 60)
        self.assert_refused(self.run_tool("decompress", stream, self.tmp / "o"),
                            "uncompressed size")

    def test_negative_size_and_short_files(self):
        rows = [("negative size", struct.pack("<i", -1) + b"\xff" * 8),
                ("size 0x80000000", struct.pack("<I", 0x80000000) + b"\xff" * 8)]
        rows += [("%d-byte file" % n, b"\x10\x00\x00"[:n]) for n in range(4)]
        jobs = [("decompress", self.write("s%d" % i, s), self.tmp / ("o%d" % i))
                for i, (_, s) in enumerate(rows)]
        for (case, _), res, job in zip(rows, self.run_many(jobs), jobs):
            with self.subTest(case):
                # No bytes to produce: an empty output or a refusal, nothing else.
                if res.rc == 0:
                    self.assertEqual(job[2].read_bytes(), b"")
                else:
                    self.assert_refused(res)

    def test_truncated_and_garbage_streams(self):
        """Missing input bytes read as zero bits, within the size bound."""
        rnd = random.Random(4036)
        rows = []
        for name in ("text", "mixed 80000", "long runs", "bitmap-like"):
            stream = ref.compress(sample_inputs()[name])
            for cut in (5, len(stream) // 2, len(stream) - 1):
                rows.append(("%s cut to %d" % (name, cut), stream[:cut]))
        for n in range(6):
            body = bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 400)))
            size = rnd.choice([rnd.randrange(1, 4000), rnd.randrange(-2**31, 2**31)])
            rows.append(("garbage %d, size %d" % (n, size), struct.pack("<i", size) + body))
        jobs = [("decompress", self.write("s%d" % i, s), self.tmp / ("o%d" % i))
                for i, (_, s) in enumerate(rows)]
        for (case, stream), res, job in zip(rows, self.run_many(jobs), jobs):
            with self.subTest(case):
                size = struct.unpack_from("<i", stream)[0]
                if size > ref.size_bound(len(stream)):
                    self.assert_refused(res, "uncompressed size")
                elif size <= 0:
                    self.assertIn(res.rc, (0, 1), res)
                else:
                    self.assert_decoded(res, job[2], ref.decompress(stream), size)


# ---------------------------------------------------------------- archives

def _names(n, ini_at=0):
    return ["file%02d.bmp" % i if i != ini_at else "skin.ini" for i in range(n)]


def _contents(n, seed=1):
    rnd = random.Random(seed)
    return [bytes(rnd.randrange(256) for _ in range(rnd.randrange(0, 300))) for _ in range(n)]


class ArchiveList(SkinpackCase):
    def test_list(self):
        c3 = [b"[Buttons]", b"mid", b"BM\x00\x01"]
        rows = [
            # (case, raw archive, expected stdout or None for "as the reference reads it")
            ("mixed-case names are lower-cased",
             ref.build_archive(["Skin.INI", "Buttons.BMP", "frameTop.bmp"], c3),
             b"skin.ini\t9\nbuttons.bmp\t3\nframetop.bmp\t4\n"),
            ("empty middle name keeps its size",
             ref.build_archive(["a.ini", "", "b.bmp"], c3), b"a.ini\t9\n\t3\nb.bmp\t4\n"),
            ("final line break adds no name",
             ref.build_archive(["a.ini", "b.bmp"], c3[:2], trailing_break=True),
             b"a.ini\t9\nb.bmp\t3\n"),
            ("final empty name after two breaks",
             ref.build_archive([], c3[:2], name_list=b"a.ini\r\n\r\n"), b"a.ini\t9\n\t3\n"),
            ("lone CR and lone LF separate names",
             ref.build_archive([], c3, name_list=b"a.ini\rB.bmp\nc.bmp"),
             b"a.ini\t9\nb.bmp\t3\nc.bmp\t4\n"),
            ("LF CR is two breaks",
             ref.build_archive([], c3, name_list=b"a.ini\n\rc.bmp"), b"a.ini\t9\n\t3\nc.bmp\t4\n"),
            ("only ASCII letters are lower-cased",
             ref.build_archive([b"\xc9T\xc9@[Z].ini"], [b"x"]), b"\xc9t\xc9@[z].ini\t1\n"),
            ("reserved words hold any value",
             ref.build_archive(["a.ini"], [b"x"], reserved=(-1, 0x12345678)), b"a.ini\t1\n"),
            ("data past the last file is ignored",
             ref.build_archive(["a.ini"], [b"x"], extra=b"junk"), b"a.ini\t1\n"),
            ("empty files", ref.build_archive(["a.ini", "b"], [b"", b""]), b"a.ini\t0\nb\t0\n"),
            ("no names at all", ref.build_archive([], []), b""),
            ("35 files", ref.build_archive(_names(35, 34), _contents(35)), None),
            ("1001 names", ref.build_archive(_names(1001), [b""] * 1001), None),
        ]
        refused = [
            # (case, raw archive, fragment of the message)
            ("version 19999", ref.build_archive(["a.ini"], [b"x"], version=19999), "Older Skin File"),
            ("version 20001", ref.build_archive(["a.ini"], [b"x"], version=20001), "Older Skin File"),
            ("1002 names", ref.build_archive(_names(1002), [b""] * 1002), None),
            ("negative size", ref.build_archive(["a.ini", "b"], [b"xy", b""], sizes=[2, -1]), None),
            ("sizes past the data", ref.build_archive(["a.ini", "b"], [b"xy", b"z"], sizes=[2, 2]), None),
            ("sizes overflow 32 bits",
             ref.build_archive(["a.ini", "b", "c"], [b"xy"], sizes=[0x7FFFFFFF, 0x7FFFFFFF, 4]), None),
            ("size of 2 GiB", ref.build_archive(["a.ini"], [b"x"], sizes=[0x7FFFFFFF]), None),
            ("name list past the end",
             ref.build_archive([], [], name_list=b"a.ini")[:18], None),
            ("negative name-list length",
             struct.pack("<iiii", 20000, -4, 0, 0) + b"a.ini\x01\x00\x00\x00x", None),
            ("size table past the end", ref.build_archive(["a.ini", "b"], [b"", b""])[:-3], None),
            ("header cut short", struct.pack("<ii", 20000, 0), None),
        ]
        jobs = []
        for i, (_, raw, _) in enumerate(rows + refused):
            jobs.append(("list", self.skin_file("s%d.skn" % i, raw)))
        jobs.append(("list", self.write("empty.skn", ref.compress(b""))))
        jobs.append(("list", self.write("huge.skn", struct.pack("<i", 2**31 - 1) + b"\x00" * 64)))
        results = self.run_many(jobs)
        for (case, raw, expected), res in zip(rows, results):
            with self.subTest(case):
                self.assert_ok(res)
                if expected is None:
                    expected = list_lines(ref.read_archive(raw))
                self.assertEqual(res.out, expected)
                self.assertEqual(len(res.out.splitlines()), len(ref.read_archive(raw)))
        for (case, _, fragment), res in zip(refused, results[len(rows):]):
            with self.subTest(case):
                self.assert_refused(res, fragment)
        with self.subTest("uncompressed size 0"):
            self.assert_refused(results[-2])
        with self.subTest("uncompressed size far beyond the stream"):
            self.assert_refused(results[-1], "uncompressed size")

    def test_truncated_and_garbage_skins_follow_the_reference(self):
        """Whatever a damaged skin decodes to, list accepts exactly what the reference accepts."""
        rnd = random.Random(35)
        raw = ref.build_archive(_names(35, 3), _contents(35, seed=2))
        stream = ref.compress(raw)
        rows = [("cut to %d" % cut, stream[:cut])
                for cut in (0, 3, 4, 5, 20, len(stream) // 3, len(stream) - 2)]
        for n in range(4):
            body = bytes(rnd.randrange(256) for _ in range(rnd.randrange(16, 300)))
            rows.append(("garbage %d" % n, struct.pack("<i", rnd.randrange(16, 5000)) + body))
        # Flipped bits in the middle of a good skin.
        for n in range(3):
            bad = bytearray(stream)
            bad[rnd.randrange(4, len(bad))] ^= 1 << rnd.randrange(8)
            rows.append(("bit flip %d" % n, bytes(bad)))
        jobs = [("list", self.write("s%d.skn" % i, s)) for i, (_, s) in enumerate(rows)]
        for (case, s), res in zip(rows, self.run_many(jobs)):
            with self.subTest(case):
                try:
                    expected = list_lines(ref.load_skin(s))
                except (ref.ArchiveError, ValueError):
                    expected = None
                if expected is None:
                    self.assert_refused(res)
                else:
                    self.assert_ok(res)
                    self.assertEqual(res.out, expected)


class ArchiveUnpack(SkinpackCase):
    def listing(self, root):
        """Every path below root, relative, so stray writes show up."""
        return sorted(str(p.relative_to(root)) for p in root.rglob("*"))

    def warnings(self, res):
        return res.diag.decode("latin-1").count("skipping")

    def test_35_files_into_a_new_folder(self):
        names, contents = _names(35, 34), _contents(35, seed=3)
        names[0] = "Buttons.BMP"
        skin = self.skin_file("skin.skn", ref.build_archive(names, contents))
        target = self.tmp / "out"
        res = self.run_tool("unpack", skin, target)
        self.assert_ok(res)
        self.assertEqual(self.warnings(res), 0, res)
        self.assertEqual(sorted(os.listdir(target)), sorted(n.lower() for n in names))
        for name, content in zip(names, contents):
            self.assertEqual((target / name.lower()).read_bytes(), content, name)

    def test_empty_middle_name_is_skipped_and_offsets_hold(self):
        skin = self.skin_file("skin.skn", ref.build_archive(["A.ini", "", "b.bmp"],
                                                            [b"[x]", b"12345", b"BMdata"]))
        target = self.tmp / "out"
        res = self.run_tool("unpack", skin, target)
        self.assert_ok(res)
        self.assertEqual(self.warnings(res), 1, res)
        self.assertEqual(sorted(os.listdir(target)), ["a.ini", "b.bmp"])
        self.assertEqual((target / "a.ini").read_bytes(), b"[x]")
        self.assertEqual((target / "b.bmp").read_bytes(), b"BMdata")

    def test_names_that_would_leave_the_folder_are_skipped(self):
        hostile = ["../evil.bmp", "a/b", "..", ".", "", "c:evil.bmp", "back\\slash.bmp",
                   "..\\evil2.bmp", "/abs.bmp", "ctl\x01.bmp", "tab\t.bmp", "del\x7f.bmp"]
        names = ["skin.ini"] + hostile + ["ok.bmp"]
        contents = [b"[s]"] + [b"bad%d" % i for i in range(len(hostile))] + [b"good"]
        skin = self.skin_file("skin.skn", ref.build_archive(names, contents))
        (self.tmp / "out" / "a").mkdir(parents=True)
        before = self.listing(self.tmp)
        res = self.run_tool("unpack", skin, self.tmp / "out")
        self.assert_ok(res)
        # DEL is a control character too, but the contract names only the
        # characters below 0x20 explicitly; accept either handling of it.
        written = set(self.listing(self.tmp)) - set(before)
        written.discard("out/del\x7f.bmp")
        self.assertEqual(written, {"out/skin.ini", "out/ok.bmp"})
        self.assertEqual((self.tmp / "out" / "ok.bmp").read_bytes(), b"good")
        self.assertGreaterEqual(self.warnings(res), len(hostile) - 1, res)

    def test_later_duplicate_is_skipped(self):
        skin = self.skin_file("skin.skn", ref.build_archive(
            ["skin.ini", "B.bmp", "b.BMP", "c.bmp"], [b"[s]", b"first", b"second", b"c"]))
        target = self.tmp / "out"
        res = self.run_tool("unpack", skin, target)
        self.assert_ok(res)
        self.assertEqual(self.warnings(res), 1, res)
        self.assertEqual(sorted(os.listdir(target)), ["b.bmp", "c.bmp", "skin.ini"])
        self.assertEqual((target / "b.bmp").read_bytes(), b"first")

    def test_wrong_versions_are_refused_and_write_nothing(self):
        jobs = []
        for version in (19999, 20001):
            skin = self.skin_file("v%d.skn" % version,
                                  ref.build_archive(["a.ini"], [b"x"], version=version))
            jobs.append(("unpack", skin, self.tmp / ("out%d" % version)))
        for version, res, job in zip((19999, 20001), self.run_many(jobs), jobs):
            with self.subTest(version=version):
                self.assert_refused(res, "Older Skin File")
                self.assertEqual(self.listing(job[2]) if job[2].exists() else [], [])

    def test_malformed_archives_are_refused(self):
        rows = [("1002 names", ref.build_archive(_names(1002), [b""] * 1002)),
                ("negative size", ref.build_archive(["a.ini", "b"], [b"x"], sizes=[1, -1])),
                ("sizes past the data", ref.build_archive(["a.ini"], [b"x"], sizes=[5]))]
        jobs = [("unpack", self.skin_file("s%d.skn" % i, raw), self.tmp / ("out%d" % i))
                for i, (_, raw) in enumerate(rows)]
        for (case, _), res in zip(rows, self.run_many(jobs)):
            with self.subTest(case):
                self.assert_refused(res)


# ---------------------------------------------------------------- packing

class Pack(SkinpackCase):
    def read_packed(self, path):
        """The archive as stored: names as spelled, not lower-cased."""
        raw = ref.decompress(path.read_bytes())
        self.assertEqual(struct.unpack_from("<i", raw)[0], ref.ARCHIVE_VERSION)
        return ref.read_archive(raw, lower=False)

    def make_folder(self, name, files):
        folder = self.tmp / name
        folder.mkdir()
        for fname, content in files.items():
            (folder / fname).write_bytes(content)
        return folder

    def test_folder_order_is_lower_cased_byte_order(self):
        files = {"Zeta.bmp": b"z" * 300, "_under.bmp": b"_", "Alpha.ini": b"[Buttons]\r\n",
                 "a.bmp": b"", "beta.BMP": bytes(range(256)) * 3}
        folder = self.make_folder("skin", files)
        out = self.tmp / "skin.skn"
        self.assert_ok(self.run_tool("pack", folder, out))
        packed = self.read_packed(out)
        order = [b"_under.bmp", b"a.bmp", b"Alpha.ini", b"beta.BMP", b"Zeta.bmp"]
        self.assertEqual([n for n, _ in packed], order)
        for name, content in packed:
            self.assertEqual(content, files[name.decode()])

    def test_named_files_in_the_given_order(self):
        names = list(reversed(SAMPLE_FILES))
        out = self.tmp / "sample.skn"
        # The sample folder also holds its generator script; naming files leaves it out.
        self.assert_ok(self.run_tool("pack", SAMPLE_SKIN, out, *names))
        packed = self.read_packed(out)
        self.assertEqual([n.decode() for n, _ in packed], names)
        for name, content in packed:
            self.assertEqual(content, (SAMPLE_SKIN / name.decode()).read_bytes())

    def test_sample_skin_round_trip(self):
        folder = self.tmp / "sample"
        folder.mkdir()
        for name in SAMPLE_FILES:
            shutil.copy(SAMPLE_SKIN / name, folder / name)
        out, back = self.tmp / "sample.skn", self.tmp / "back"
        self.assert_ok(self.run_tool("pack", folder, out))
        listed, unpacked = self.run_many([("list", out), ("unpack", out, back)])
        self.assert_ok(listed)
        expected = [(n.encode(), (folder / n).read_bytes()) for n in sorted(SAMPLE_FILES)]
        self.assertEqual(listed.out, list_lines(expected))
        self.assert_ok(unpacked)
        for name in SAMPLE_FILES:
            self.assertEqual((back / name).read_bytes(), (folder / name).read_bytes(), name)
        self.assertEqual(ref.load_skin(out.read_bytes()), expected)

    def test_several_ini_files_allowed_when_named(self):
        folder = self.make_folder("two", {"b.ini": b"[b]", "a.ini": b"[a]", "x.bmp": b"x"})
        out = self.tmp / "two.skn"
        self.assert_ok(self.run_tool("pack", folder, out, "b.ini", "x.bmp", "a.ini"))
        self.assertEqual([n for n, _ in self.read_packed(out)], [b"b.ini", b"x.bmp", b"a.ini"])

    def test_1001_files_accepted(self):
        files = {"f%04d.bmp" % i: b"" for i in range(1000)}
        files["skin.ini"] = b"[s]"
        out = self.tmp / "many.skn"
        self.assert_ok(self.run_tool("pack", self.make_folder("many", files), out))
        self.assertEqual(len(self.read_packed(out)), 1001)

    def test_refusals(self):
        many = {"f%04d.bmp" % i: b"" for i in range(1001)}
        many["skin.ini"] = b"[s]"
        rows = [
            # (case, folder files or None for a missing folder, NAMEs)
            ("no .ini file", {"a.bmp": b"x"}, []),
            ("empty folder", {}, []),
            ("two .ini files, none named", {"a.ini": b"a", "b.ini": b"b"}, []),
            ("sub-folder", {"a.ini": b"a", "sub/b.bmp": b"b"}, []),
            ("1002 files", many, []),
            ("missing named file", {"a.ini": b"a"}, ["a.ini", "gone.bmp"]),
            ("no named .ini file", {"a.ini": b"a", "b.bmp": b"b"}, ["b.bmp"]),
            ("missing folder", None, []),
        ]
        jobs = []
        for i, (_, files, names) in enumerate(rows):
            folder = self.tmp / ("d%d" % i)
            if files is not None:
                folder.mkdir()
                for fname, content in files.items():
                    (folder / fname).parent.mkdir(exist_ok=True)
                    (folder / fname).write_bytes(content)
            jobs.append(("pack", folder, self.tmp / ("o%d.skn" % i)) + tuple(names))
        for (case, _, _), res in zip(rows, self.run_many(jobs)):
            with self.subTest(case):
                self.assert_refused(res)


# ---------------------------------------------------------------- usage

class Usage(SkinpackCase):
    def test_usage_errors_exit_2(self):
        a = self.write("a", b"")
        rows = [(), ("frobnicate",), ("frobnicate", a, a), ("compress", a),
                ("decompress", a, a, a), ("list",), ("list", a, a), ("unpack", a), ("pack", a)]
        for args, res in zip(rows, self.run_many(rows)):
            with self.subTest(args=[str(x) for x in args]):
                self.assertEqual(res.rc, 2, res)

    def test_io_errors_exit_1(self):
        missing = self.tmp / "missing"
        good = self.write("good.lzh", ref.compress(b"data"))
        skin = self.skin_file("good.skn", ref.build_archive(["a.ini"], [b"[a]"]))
        folder = self.tmp / "folder"
        folder.mkdir()
        (folder / "a.ini").write_bytes(b"[a]")
        rows = [("compress", missing, self.tmp / "o1"),
                ("decompress", missing, self.tmp / "o2"),
                ("list", missing),
                ("unpack", missing, self.tmp / "o3"),
                ("decompress", good, self.tmp / "no" / "such" / "dir" / "o4"),
                ("compress", good, self.tmp / "no" / "such" / "dir" / "o5"),
                ("unpack", skin, good),
                ("pack", folder, self.tmp / "no" / "such" / "dir" / "o6.skn")]
        for args, res in zip(rows, self.run_many(rows)):
            with self.subTest(args=[str(x) for x in args]):
                self.assert_refused(res)


def main():
    global SKINPACK, EMULATOR
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--skinpack")
    parser.add_argument("--emulator")
    opts, rest = parser.parse_known_args()
    if opts.skinpack:
        SKINPACK = os.path.abspath(opts.skinpack)
        if not os.path.isfile(SKINPACK):
            print("test_skinpack: no such program: %s" % SKINPACK, file=sys.stderr)
            return 1
    EMULATOR = opts.emulator
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
