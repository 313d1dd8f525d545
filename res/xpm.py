"""Reads the icons' XPM drawings, for the scripts that turn them into the Windows and web formats.

read_xpm(path) gives (width, height, rows): each row a list of (r, g, b) or None where the
drawing's "None" colour makes it transparent."""
import re


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
