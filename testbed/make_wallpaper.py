#!/usr/bin/env python3
"""Writes the sample wallpaper: a 24-bit BMP of a dusk sky with a sun and
two rows of hills.

    make_wallpaper.py OUTPUT.bmp [WIDTH HEIGHT]
"""
import math
import struct
import sys

SKY_TOP = (28, 42, 92)
SKY_HORIZON = (242, 160, 90)
SUN = (255, 228, 140)
FAR_HILLS = (92, 70, 120)
NEAR_HILLS = (34, 58, 52)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def pixel(x, y, width, height):
    """Colour at (x, y), y counted from the top."""
    u, v = x / width, y / height
    near = 0.78 + 0.06 * math.sin(u * 9.0 + 1.0)
    far = 0.66 + 0.08 * math.sin(u * 5.0)
    if v > near:
        return NEAR_HILLS
    if v > far:
        return FAR_HILLS
    sun_x, sun_y, radius = 0.68 * width, 0.55 * height, 0.09 * height
    if math.hypot(x - sun_x, y - sun_y) < radius:
        return SUN
    return mix(SKY_TOP, SKY_HORIZON, min(1.0, v / far))


def bmp(width, height):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # BMP rows go bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y, width, height)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit(__doc__)
    width, height = (int(a) for a in sys.argv[2:4]) if len(sys.argv) == 4 else (800, 600)
    with open(sys.argv[1], "wb") as out:
        out.write(bmp(width, height))


if __name__ == "__main__":
    main()
