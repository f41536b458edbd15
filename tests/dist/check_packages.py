#!/usr/bin/env python3
"""Checks what ./quellory dist made, from outside Windows: the three packages
and their checksums with one version in their names, each zip holding exactly
the program and the read-me, each executable built for its machine and
carrying the version of the names in its version resource.

Usage: check_packages.py DIST_DIR
One line per check, "PASS name" or "FAIL name: detail"; exit status 1 when one failed.
"""

import hashlib
import pathlib
import re
import sys
import zipfile

from pe_version import PeFile

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
AMD64, I386 = 0x8664, 0x14C


class Report:
    failures = 0

    def check(self, name, ok, detail=""):
        print("PASS %s" % name if ok else "FAIL %s: %s" % (name, detail))
        self.failures += 0 if ok else 1
        return ok


def main():
    dist = pathlib.Path(sys.argv[1])
    report = Report()
    names = sorted(p.name for p in dist.iterdir())
    versions = {m.group(1) for n in names for m in [re.fullmatch(r"Quellory-(\d+\.\d+\.\d+)-.*", n)] if m}
    if not report.check("one version in the package names", len(versions) == 1, names):
        return 1
    version = versions.pop()
    packages = ["Quellory-%s-%s" % (version, s) for s in ("setup.exe", "win32.zip", "win64.zip")]
    report.check("build/dist holds the three packages and SHA256SUMS", names == packages + ["SHA256SUMS"], names)

    def executable(label, data, machine):
        pe = PeFile(data)
        report.check("%s is built for machine %#x" % (label, machine), pe.machine == machine, "%#x" % pe.machine)
        report.check("%s has version %s in its version resource" % (label, version),
                     pe.version() == version + ".0", pe.version())

    readme = (ROOT / "dist" / "readme.htm").read_bytes()
    for suffix, machine in (("win64", AMD64), ("win32", I386)):
        path = dist / ("Quellory-%s-%s.zip" % (version, suffix))
        if not path.exists():
            continue
        with zipfile.ZipFile(path) as z:
            listed = sorted(z.namelist())
            if report.check("%s holds exactly Quellory.exe and readme.htm" % path.name,
                            listed == ["Quellory.exe", "readme.htm"], listed):
                report.check("  ... the read-me is the tree's", z.read("readme.htm") == readme)
                executable("  ... its Quellory.exe", z.read("Quellory.exe"), machine)
    setup = dist / packages[0]
    if setup.exists():
        executable(setup.name, setup.read_bytes(), AMD64)

    sums = dist / "SHA256SUMS"
    if sums.exists():
        listed = {}
        for line in sums.read_text().splitlines():
            digest, name = line.split(None, 1)
            listed[name.lstrip("*")] = digest
        actual = {n: hashlib.sha256((dist / n).read_bytes()).hexdigest() for n in packages if (dist / n).exists()}
        report.check("SHA256SUMS gives the checksum of each package", listed == actual,
                     "listed %s, actual %s" % (listed, actual))
    return 1 if report.failures else 0


if __name__ == "__main__":
    sys.exit(main())
