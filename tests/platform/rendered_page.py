#!/usr/bin/env python3
"""Measures a page rendered by pdftoppm (a binary PPM) for the printing round trip.

    rendered_page.py box PAGE.ppm DPI R,G,B   the box of the pixels near the colour, as
                                               "LEFT TOP WIDTH HEIGHT" in millimetres, or "none"
    rendered_page.py rows PAGE.ppm DPI RIGHT_MM
                                               the number of text rows left of RIGHT_MM: runs
                                               of pixel rows holding dark pixels
"""

import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6":
        sys.exit("not a binary PPM: " + path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def colour_box(path, dpi, colour):
    width, height, pixels = read_ppm(path)
    want = [int(v) for v in colour.split(",")]
    xs, ys = [], []
    for y in range(height):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        for x in range(width):
            r, g, b = row[x * 3], row[x * 3 + 1], row[x * 3 + 2]
            if abs(r - want[0]) < 60 and abs(g - want[1]) < 60 and abs(b - want[2]) < 60:
                xs.append(x)
                ys.append(y)
    if not xs:
        return "none"
    mm = 25.4 / dpi
    return "%.1f %.1f %.1f %.1f" % (min(xs) * mm, min(ys) * mm, (max(xs) + 1 - min(xs)) * mm,
                                    (max(ys) + 1 - min(ys)) * mm)


def text_rows(path, dpi, right_mm):
    width, height, pixels = read_ppm(path)
    right = min(width, int(right_mm * dpi / 25.4))
    rows, inside = 0, False
    for y in range(height):
        row = pixels[y * width * 3:y * width * 3 + right * 3]
        dark = any(row[i] < 128 and row[i + 1] < 128 and row[i + 2] < 128
                   for i in range(0, len(row), 3))
        if dark and not inside:
            rows += 1
        inside = dark
    return str(rows)


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] not in ("box", "rows"):
        sys.exit(__doc__)
    what, path, dpi, argument = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    print(colour_box(path, dpi, argument) if what == "box" else
          text_rows(path, dpi, float(argument)))
