#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Renders the program icon from its vector masters in assets/.

Writes
  assets/xpcalc.ico      the Windows icon: 16, 32 and 48 pixels at 16 and at
                         256 colours, and 145 x 145 at 256 colours;
  assets/icons/N.png     the icon at the icon theme's sizes, with alpha, for the
                         windows and for installation.

The 16 and 32 pixel images come from icon-small.svg, whose shapes stay legible
at a few pixels; the others from icon.svg. The icon is grey, so its palettes
are grey ramps. Needs rsvg-convert (librsvg2-bin) and convert (imagemagick).

    python3 tools/icon/make_icon.py
"""
import pathlib
import struct
import subprocess
import tempfile

ASSETS = pathlib.Path(__file__).resolve().parents[2] / "assets"
ICO_IMAGES = [(16, 4), (32, 4), (48, 4), (16, 8), (32, 8), (48, 8), (145, 8)]  # (size, bits per pixel)
THEME_SIZES = [16, 32, 48, 64, 128, 256]
WINDOW_SIZES = [16, 32, 48, 64]  # the sizes the windows load; see programIcon()


def master(size):
    return ASSETS / ("icon-small.svg" if size <= 32 else "icon.svg")


def render_png(size, path):
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(master(size)), "-o", str(path)], check=True)


def store_uncompressed(path):
    """Rewrites a PNG without compression, pixel for pixel: the windows decode
    these at start-up, and the program's resources compress them better and
    faster."""
    subprocess.run(["convert", str(path), "-strip", "-define", "png:compression-level=0",
                    "-define", "png:compression-filter=0", f"PNG32:{path}"], check=True)


def render_rgba(size):
    """The icon at a size, as rows of (red, green, blue, alpha) tuples."""
    with tempfile.TemporaryDirectory() as work:
        png = pathlib.Path(work) / "icon.png"
        render_png(size, png)
        raw = subprocess.run(["convert", str(png), "-depth", "8", "rgba:-"], check=True, capture_output=True).stdout
    pixels = [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]
    return [pixels[row * size:(row + 1) * size] for row in range(size)]


def grey(pixel):
    red, green, blue, _ = pixel
    return (299 * red + 587 * green + 114 * blue) // 1000


def dib(rows, bits):
    """A device-independent bitmap as an icon holds it: header, grey palette,
    colour rows and transparency mask, both bottom-up."""
    size = len(rows)
    colours = 1 << bits
    palette = b"".join(bytes((v, v, v, 0)) for v in (i * 255 // (colours - 1) for i in range(colours)))

    def padded(row_bytes):
        return row_bytes + b"\0" * (-len(row_bytes) % 4)

    colour_rows, mask_rows = [], []
    for row in reversed(rows):
        indexes = [(grey(p) * (colours - 1) + 127) // 255 if p[3] >= 128 else 0 for p in row]
        if bits == 4:
            indexes += [0] * (len(indexes) % 2)
            packed = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, len(indexes), 2))
        else:
            packed = bytes(indexes)
        colour_rows.append(padded(packed))
        transparent = [1 if p[3] < 128 else 0 for p in row] + [0] * (-size % 8)
        mask_rows.append(padded(bytes(
            sum(bit << (7 - j) for j, bit in enumerate(transparent[i:i + 8])) for i in range(0, len(transparent), 8))))
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, len(pixels), 0, 0, colours, 0)
    return header + palette + pixels


def write_ico(path):
    images = [(size, bits, dib(render_rgba(size), bits)) for size, bits in ICO_IMAGES]
    offset = 6 + 16 * len(images)
    directory = b""
    for size, bits, data in images:
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    path.write_bytes(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(d for _, _, d in images))


def main():
    write_ico(ASSETS / "xpcalc.ico")
    theme = ASSETS / "icons"
    theme.mkdir(exist_ok=True)
    for size in THEME_SIZES:
        render_png(size, theme / f"{size}.png")
        if size in WINDOW_SIZES:
            store_uncompressed(theme / f"{size}.png")


if __name__ == "__main__":
    main()
