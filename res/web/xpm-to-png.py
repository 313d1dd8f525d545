#!/usr/bin/env python3
"""Writes an XPM drawing as a PNG for the browser's site, optionally scaled to SIZE pixels square.

Usage: xpm-to-png.py ICON.xpm OUT.png [SIZE]
Pixels are scaled by repetition, which keeps the drawing's hard edges; "None" is transparent."""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xpm import read_xpm  # noqa: E402


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def main():
    width, height, pixels = read_xpm(sys.argv[1])
    out_width, out_height = (int(sys.argv[3]),) * 2 if len(sys.argv) > 3 else (width, height)
    raw = bytearray()
    for y in range(out_height):
        raw.append(0)  # no filter
        row = pixels[y * height // out_height]
        for x in range(out_width):
            pixel = row[x * width // out_width]
            raw += bytes((*pixel, 255)) if pixel else bytes(4)
    header = struct.pack(">IIBBBBB", out_width, out_height, 8, 6, 0, 0, 0)
    with open(sys.argv[2], "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                   chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


main()
