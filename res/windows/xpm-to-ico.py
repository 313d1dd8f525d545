#!/usr/bin/env python3
"""Writes the window icon (an XPM) as a Windows .ico, scaled to the sizes Explorer shows.

Usage: xpm-to-ico.py ICON.xpm OUT.ico
Each size is a 32-bit bitmap whose alpha comes from the XPM's "None" colour; pixels are scaled
by repetition, which keeps the drawing's hard edges."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xpm import read_xpm  # noqa: E402

SIZES = (16, 32, 48, 64, 256)


def bitmap(width, height, pixels, size):
    colour = bytearray()
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            pixel = pixels[y * height // size][x * width // size]
            colour += bytes((pixel[2], pixel[1], pixel[0], 255)) if pixel else bytes(4)
    mask = bytes(((size + 31) // 32) * 4 * size)  # the alpha says it all
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + mask


def main():
    width, height, pixels = read_xpm(sys.argv[1])
    images = [bitmap(width, height, pixels, size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[2], "wb") as file:
        file.write(out + b"".join(images))


main()
