#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Writes the file list of the Windows installer (a WiX fragment for wixl),
and the codes of one version of it.

  msi_files.py fragment FOLDER [ZIP]
      prints a fragment that installs every file under FOLDER (the unzipped
      Windows zip) below the INSTALLDIR directory, as the component group
      ProgramFiles; with ZIP, first checks that FOLDER holds exactly the
      files of that zip, no more, no fewer, alike byte for byte.
  msi_files.py codes VERSION FILE...
      prints the ProductCode of VERSION and the PackageCode of a package made
      of FILE... (the sources and everything they take in).

Every identifier is made from the file's path inside the folder, and every
GUID is a name-based (version 5) UUID of that path or version, so that the
same folder always gives the same fragment, the same file keeps its
component GUID from one version to the next (as Windows Installer's
component rules want), and each version has a ProductCode of its own.
Files are listed in byte order of their paths, one component each, the file
its key path.
"""
import hashlib
import os
import re
import subprocess
import sys
import uuid
import zipfile
from xml.sax.saxutils import quoteattr

# The program's own namespace for its installer GUIDs. Never change it: the
# component GUIDs of every later version are made from it.
NAMESPACE = uuid.UUID("5b0c7f2e-3a49-4d8e-9f61-2c7d84a1e053")


def guid(name):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, name)).upper()


def identifier(prefix, path):
    """An MSI identifier (letters, digits, _ and ., at most 72 characters)
    naming the path, readable, with a short hash so that two paths that
    read alike once cleaned (a-b and a_b) never share one."""
    clean = re.sub(r"[^A-Za-z0-9_.]", "_", path)
    digest = hashlib.sha256(path.encode()).hexdigest()[:8]
    return f"{prefix}{clean[:72 - len(prefix) - 9]}_{digest}"


def files_of(folder):
    found = []
    for root, dirs, names in os.walk(folder):
        dirs.sort()
        for name in names:
            full = os.path.join(root, name)
            if os.path.islink(full) or not os.path.isfile(full):
                sys.exit(f"msi_files.py: {full} is not a plain file")
            found.append(os.path.relpath(full, folder).replace(os.sep, "/"))
    return sorted(found, key=lambda p: p.encode())


def zip_differences(folder, zip_path):
    """How a folder differs from the one top folder of a zip (xpcalc-VERSION-
    win64/): files only in one, or not alike; none when it holds exactly the
    zip's files."""
    if not os.path.isdir(folder):
        return [f"no folder {folder}"]
    files = files_of(folder)
    with zipfile.ZipFile(zip_path) as archive:
        entries = [i for i in archive.infolist() if not i.is_dir()]
        tops = {i.filename.split("/", 1)[0] for i in entries}
        if len(tops) != 1:
            return [f"{zip_path} has not one top folder but {sorted(tops)}"]
        inside = {i.filename.split("/", 1)[1]: i for i in entries}
        differences = [f"only in the folder: {path}" for path in sorted(set(files) - set(inside))]
        differences += [f"only in the zip: {path}" for path in sorted(set(inside) - set(files))]
        for path in sorted(set(files) & set(inside)):
            with open(os.path.join(folder, path), "rb") as file:
                if file.read() != archive.read(inside[path]):
                    differences.append(f"not alike: {path}")
        return differences


def table(msi, name):
    """The rows of one of an installer's tables, as dictionaries by column
    (msiinfo's export: the column names, their types, the table's keys, then
    a line per row)."""
    text = subprocess.run(["msiinfo", "export", msi, name], check=True, capture_output=True,
                          text=True).stdout.replace("\r", "")
    lines = text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def properties(msi):
    """An installer's Property table, by name."""
    return {row["Property"]: row["Value"] for row in table(msi, "Property")}


def fragment(folder, files):
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Written by msi_files.py from the unzipped Windows zip: do not edit. -->",
           '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
           "  <Fragment>",
           '    <DirectoryRef Id="INSTALLDIR">']
    components = []
    opened = []  # the folders open in the output, outermost first

    for path in files:
        parts = path.split("/")
        folders = parts[:-1]
        common = 0
        while common < min(len(opened), len(folders)) and opened[common] == folders[common]:
            common += 1
        while len(opened) > common:
            opened.pop()
            out.append("  " * (len(opened) + 3) + "</Directory>")
        while len(opened) < len(folders):
            opened.append(folders[len(opened)])
            name = "/".join(opened)
            out.append("  " * (len(opened) + 2) +
                       f'<Directory Id="{identifier("d_", name)}" Name={quoteattr(opened[-1])}>')
        indent = "  " * (len(opened) + 3)
        component = identifier("c_", path)
        components.append(component)
        # The program itself gets a plain name, for the shortcut to point to.
        file_id = "xpcalc.exe" if path == "xpcalc.exe" else identifier("f_", path)
        out.append(f'{indent}<Component Id="{component}" Guid="{guid("file:" + path)}" Win64="yes">')
        out.append(f'{indent}  <File Id="{file_id}" Name={quoteattr(parts[-1])} KeyPath="yes"'
                   f' Source={quoteattr("$(var.SourceDir)/" + path)}/>')
        out.append(f"{indent}</Component>")
    while opened:
        opened.pop()
        out.append("  " * (len(opened) + 3) + "</Directory>")
    out += ["    </DirectoryRef>",
            "  </Fragment>",
            "  <Fragment>",
            '    <ComponentGroup Id="ProgramFiles">']
    out += [f'      <ComponentRef Id="{c}"/>' for c in components]
    out += ["    </ComponentGroup>", "  </Fragment>", "</Wix>", ""]
    if len(set(components)) != len(components):
        sys.exit("msi_files.py: two files got one identifier")
    return "\n".join(out)


def codes(version, paths):
    """The ProductCode of the version, and the PackageCode of a package of
    that version made of those files."""
    digest = hashlib.sha256()
    for path in paths:
        with open(path, "rb") as file:
            contents = file.read()
        digest.update(b"%d:" % len(contents) + contents)
    return guid("product:" + version), guid("package:" + version + ":" + digest.hexdigest())


def main(argv):
    if len(argv) in (3, 4) and argv[1] == "fragment":
        folder = argv[2]
        files = files_of(folder)
        if "xpcalc.exe" not in files:
            sys.exit(f"msi_files.py: no xpcalc.exe in {folder}")
        differences = zip_differences(folder, argv[3]) if len(argv) == 4 else []
        if differences:
            sys.exit(f"msi_files.py: {folder} does not hold {argv[3]}'s files: " + "; ".join(differences))
        sys.stdout.write(fragment(folder, files))
    elif len(argv) >= 4 and argv[1] == "codes":
        product_code, package_code = codes(argv[2], argv[3:])
        print(f"ProductCode={product_code}")
        print(f"PackageCode={package_code}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
