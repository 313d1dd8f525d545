#!/usr/bin/env python3
"""Writes the window icon (an XPM) as a Windows .ico, scaled to the sizes Explorer shows.

Usage: xpm-to-ico.py ICON.xpm OUT.ico
Each size is a 32-bit bitmap whose alpha comes from the XPM's "None" colour; pixels are scaled
by repetition, which keeps the drawing's hard edges."""
import re
import struct
import sys

SIZES = (16, 32, 48, 64, 256)


def read_xpm(path):
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', open(path, encoding="ascii").read())
    width, height, count, per_pixel = (int(n) for n in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + count]:
        key, words = line[:per_pixel], line[per_pixel:].split()
        value = words[words.index("c") + 1]
        colours[key] = None if value.lower() == "none" else (
            int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16))
    rows = strings[1 + count:1 + count + height]
    return width, height, [[colours[row[x * per_pixel:(x + 1) * per_pixel]] for x in range(width)]
                           for row in rows]


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
