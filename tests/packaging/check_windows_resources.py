#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Checks what the Windows build carries: the icon's seven images and the
version block, in US English, of the given version. It reads them either from
the resource script, compiled with the MinGW resource compiler (no Windows
build needed), or from a built program, with wrestool (the Windows build's checks).

    check_windows_resources.py WINDRES RC_FILE VERSION
    check_windows_resources.py --exe PROGRAM.EXE VERSION
"""
import pathlib
import shlex
import struct
import subprocess
import sys
import tempfile

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
EXPECTED_IMAGES = sorted([(16, 4), (32, 4), (48, 4), (16, 8), (32, 8), (48, 8), (145, 8)])


def align4(offset):
    return (offset + 3) & ~3


def read_id(data, offset):
    """A resource type or name: a number (0xFFFF, id) or a UTF-16 string."""
    if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def resources(data):
    offset = 0
    while offset < len(data):
        size, header_size = struct.unpack_from("<II", data, offset)
        kind, after = read_id(data, offset + 8)
        _name, after = read_id(data, after)
        language = struct.unpack_from("<H", data, align4(after) + 6)[0]
        body = data[offset + header_size:offset + header_size + size]
        if size:
            yield kind, language, body
        offset = align4(offset + header_size + size)


def compiled_resources(windres, rc_file):
    with tempfile.TemporaryDirectory() as work:
        res = pathlib.Path(work) / "xpcalc.res"
        subprocess.run([windres, "--preprocessor=cpp", "-i", rc_file.name, "-O", "res", "-o", str(res)],
                       cwd=rc_file.parent, check=True)
        return list(resources(res.read_bytes()))


def program_resources(program):
    """The resources of a built program as wrestool lists them, each line
    "--type=T --name=N --language=L [...]", and extracts them."""
    found = []
    listing = subprocess.run(["wrestool", "-l", program], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        selector = shlex.split(line.split(" [", 1)[0])
        fields = dict(option.lstrip("-").split("=", 1) for option in selector)
        body = subprocess.run(["wrestool", "-x", "--raw", *selector, program], check=True, capture_output=True).stdout
        kind = int(fields["type"]) if fields["type"].isdigit() else fields["type"]
        found.append((kind, int(fields.get("language", "0")), body))
    return found


def version_nodes(data, offset=0, path=()):
    """Walks the version block's tree, yielding (key path, value bytes)."""
    length, value_length, text = struct.unpack_from("<HHH", data, offset)
    key_end = offset + 6
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    value_size = value_length * 2 if text else value_length
    yield path + (key,), data[value_start:value_start + value_size]
    child = align4(value_start + value_size)
    while child < offset + length:
        yield from version_nodes(data, child, path + (key,))
        child = align4(child + struct.unpack_from("<H", data, child)[0])


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "--exe":
        source, version = pathlib.Path(arguments[1]).name, arguments[2]
        found = program_resources(arguments[1])
    elif len(arguments) == 3:
        source, version = pathlib.Path(arguments[1]).name, arguments[2]
        found = compiled_resources(arguments[0], pathlib.Path(arguments[1]).resolve())
    else:
        print(__doc__, file=sys.stderr)
        return 2

    failures = []
    groups = [body for kind, _, body in found if kind == RT_GROUP_ICON]
    icons = [body for kind, _, body in found if kind == RT_ICON]
    if len(groups) != 1:
        failures.append(f"expected one icon group, found {len(groups)}")
    else:
        _, _, count = struct.unpack_from("<HHH", groups[0], 0)
        images = sorted((struct.unpack_from("<B", groups[0], 6 + 14 * i)[0] or 256,
                         struct.unpack_from("<H", groups[0], 6 + 14 * i + 6)[0]) for i in range(count))
        if images != EXPECTED_IMAGES:
            failures.append(f"icon images {images}, expected {EXPECTED_IMAGES}")
    if len(icons) != len(EXPECTED_IMAGES):
        failures.append(f"{len(icons)} icon images, expected {len(EXPECTED_IMAGES)}")

    versions = [(language, body) for kind, language, body in found if kind == RT_VERSION]
    if len(versions) != 1:
        failures.append(f"expected one version block, found {len(versions)}")
    else:
        language, body = versions[0]
        nodes = dict(version_nodes(body))
        strings = {path[-1]: value.decode("utf-16-le").rstrip("\0")
                   for path, value in nodes.items() if path[:3] == ("VS_VERSION_INFO", "StringFileInfo", "040904B0")}
        for key in ("FileVersion", "ProductVersion"):
            if strings.get(key) != version:
                failures.append(f"{key} is {strings.get(key)!r}, expected {version!r}")
        for key in ("FileDescription", "ProductName", "CompanyName", "OriginalFilename"):
            if not strings.get(key):
                failures.append(f"{key} is missing")
        translation = nodes.get(("VS_VERSION_INFO", "VarFileInfo", "Translation"))
        if translation != struct.pack("<HH", 0x0409, 0x04B0):
            failures.append(f"translation is {translation!r}, expected US English, Unicode")
        fixed = nodes[("VS_VERSION_INFO",)]
        if struct.unpack_from("<I", fixed, 0)[0] != 0xFEEF04BD:
            failures.append("the fixed file information is missing")

    for failure in failures:
        print(f"FAIL: {source}: {failure}")
    if not failures:
        print(f"Windows resources of {source}: the icon's {len(EXPECTED_IMAGES)} images, and the version block "
              f"of {version} in US English")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
