#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Checks the winget manifest written out for a build against the rules
its files state in their comments, and against the installer itself: its
tables (read with msiinfo) and its SHA-256. No copy of winget's schemas is
packaged for Debian or npm, so the manifest's own rules stand in for them.

Usage: check_winget.py MANIFEST_FOLDER INSTALLER.msi
"""
import hashlib
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_msi import properties  # noqa: E402

IDENTIFIER = re.compile(r'^[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}$')


def fields(path):
    """Every "key: value" line of a manifest, at any depth, the first of each
    key; quoted values keep their quotes."""
    found = {}
    with open(path, encoding="utf-8") as file:
        for line in file:
            match = re.match(r"^[ -]*(\w+): (.+)$", line.rstrip("\n"))
            if match and not line.startswith("#"):
                found.setdefault(match.group(1), match.group(2))
    return found


def main(arguments):
    if len(arguments) != 2:
        print(__doc__.split("\n\n")[-1], file=sys.stderr)
        return 2
    folder, msi = arguments
    manifests = {}
    for name in sorted(os.listdir(folder)):
        own = fields(os.path.join(folder, name))
        manifests[own.get("ManifestType")] = own
    own = properties(msi)
    with open(msi, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest().upper()
    version, installer, locale = (manifests.get(kind, {}) for kind in ("version", "installer", "defaultLocale"))
    rules = [
        ("one file each of version, installer and defaultLocale", sorted(manifests, key=str) ==
         ["defaultLocale", "installer", "version"]),
        ("the package identifier is a winget identifier", bool(IDENTIFIER.match(version.get("PackageIdentifier", "")))),
        ("the three agree on the identifier, the version and the manifest version",
         all(m.get(k) == version.get(k) for m in manifests.values()
             for k in ("PackageIdentifier", "PackageVersion", "ManifestVersion"))),
        ("the version is the installer's, quoted", version.get("PackageVersion") == f'"{own["ProductVersion"]}"'),
        ("an MSI made with WiX tools, installed per machine",
         (installer.get("InstallerType"), installer.get("Scope")) == ("wix", "machine")),
        ("the installer's own ProductCode", installer.get("ProductCode") == f'"{own["ProductCode"]}"'),
        ("the installer's own UpgradeCode", installer.get("UpgradeCode") == f'"{own["UpgradeCode"]}"'),
        ("the installer's SHA-256", installer.get("InstallerSha256", "").upper() == digest),
        ("the installer's publisher and name", (locale.get("Publisher"), locale.get("PackageName")) ==
         (own["Manufacturer"], own["ProductName"])),
    ]
    for what, ok in rules:
        print(f"{'ok  ' if ok else 'FAIL'}  winget: {what}")
    return 0 if all(ok for _, ok in rules) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
