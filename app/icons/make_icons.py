#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (standard library only).

The picture: a blue rounded square with a white antenna tower sending radio
waves to both sides. The large icon (vantrel_large.ico) holds 16, 32 and 48
pixel images (the 16 pixel one in the bolder variant); the small icon (vantrel_small.ico) holds a bolder variant with
fewer waves at 16 and 32 pixels, for the title bar and the task bar.

Run from anywhere: python3 app/icons/make_icons.py
"""

import math
import os
import struct

SUPERSAMPLE = 6

BACKGROUND_TOP = (52, 120, 200)
BACKGROUND_BOTTOM = (22, 70, 140)
BORDER = (14, 48, 100)
INK = (255, 255, 255)
WAVE = (255, 214, 90)


def rounded_square(x, y, radius, inset=0.0):
    """True when (x, y) lies inside the rounded square [inset, 1 - inset]^2."""
    r = radius - inset
    cx = min(max(x, inset + r), 1 - inset - r)
    cy = min(max(y, inset + r), 1 - inset - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_triangle(x, y, apex, left, right):
    def side(p, q, r):
        return (r[0] - q[0]) * (p[1] - q[1]) - (r[1] - q[1]) * (p[0] - q[0])

    d1 = side((x, y), apex, left)
    d2 = side((x, y), left, right)
    d3 = side((x, y), right, apex)
    has_neg = d1 < 0 or d2 < 0 or d3 < 0
    has_pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (has_neg and has_pos)


def on_wave(x, y, centre, radii, stroke, half_angle):
    dx = x - centre[0]
    dy = y - centre[1]
    r = math.hypot(dx, dy)
    if r == 0:
        return False
    angle = math.degrees(math.atan2(-dy, abs(dx)))  # 0 on the horizontal
    if abs(angle) > half_angle:
        return False
    return any(abs(r - radius) <= stroke / 2 for radius in radii)


def shade(x, y, bold):
    """Colour (r, g, b, a) of the point (x, y) of the picture, or None."""
    radius = 0.2
    if not rounded_square(x, y, radius):
        return None
    border = 0.06 if bold else 0.04
    if not rounded_square(x, y, radius, border):
        return BORDER
    top = (0.5, 0.34)
    if bold:
        tower = inside_triangle(x, y, (0.5, 0.36), (0.33, 0.86), (0.67, 0.86))
        mast_top = (x - top[0]) ** 2 + (y - top[1]) ** 2 <= 0.1 ** 2
        wave = on_wave(x, y, top, (0.31,), 0.14, 45)
    else:
        tower = inside_triangle(x, y, (0.5, 0.36), (0.36, 0.84), (0.64, 0.84))
        mast_top = (x - top[0]) ** 2 + (y - top[1]) ** 2 <= 0.085 ** 2
        wave = on_wave(x, y, top, (0.22, 0.35), 0.075, 40)
    if tower or mast_top:
        return INK
    if wave:
        return WAVE
    t = y
    return tuple(round(a + (b - a) * t) for a, b in zip(BACKGROUND_TOP, BACKGROUND_BOTTOM))


def render(size, bold):
    """Rows of (b, g, r, a) pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(n):
                for sx in range(n):
                    colour = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size, bold)
                    if colour is None:
                        continue
                    covered += 1
                    for i in range(3):
                        acc[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(c / covered) for c in acc)
                row.append((b, g, r, round(255 * covered / (n * n))))
        rows.append(row)
    return rows


def bmp_entry(size, rows):
    """One icon image: BITMAPINFOHEADER, 32-bit colour bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_ico(path, images):
    count = len(images)
    data = b""
    directory = b""
    offset = 6 + 16 * count
    for size, blob in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob),
                                 offset + len(data))
        data += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, count) + directory + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    large = [(s, bmp_entry(s, render(s, bold=s < 32))) for s in (48, 32, 16)]
    small = [(s, bmp_entry(s, render(s, bold=True))) for s in (32, 16)]
    write_ico(os.path.join(here, "vantrel_large.ico"), large)
    write_ico(os.path.join(here, "vantrel_small.ico"), small)


if __name__ == "__main__":
    main()
