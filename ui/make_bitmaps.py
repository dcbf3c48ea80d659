#!/usr/bin/env python3
"""Draws the About page's pictures and writes them as .bmp files into the
folder given:

- about_background.bmp (320 x 240, 256 colours): evening sky over hills and a
  floor of mosaic tiles in the program icon's colours;
- donate.bmp (52 x 31): a heart beside a small stack of coins;
- highlight_pattern.bmp and highlight_mask.bmp (3 x 3): a checkerboard of
  selection blue, laid over the icon under the pointer as the desktop marks a
  selected icon (the mask is ANDed, then the pattern ORed)."""
import math
import os
import struct
import sys

# The program icon's tile colours (R, G, B).
TILES = [
    (0x2E, 0x86, 0xC1), (0x48, 0xC9, 0xB0), (0xF4, 0xD0, 0x3F),
    (0xE6, 0x7E, 0x22), (0xC0, 0x39, 0x2B),
]

BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
LEVELS = 6  # per channel of the palette's colour cube


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def background_pixel(x, y):
    """The scene's colour at (x, y), top-down, as (R, G, B)."""
    horizon = 150
    hill = horizon - 18 + 10 * math.sin(x / 37.0) + 6 * math.sin(x / 13.0 + 1.0)
    floor_top = 176
    if y >= floor_top:
        # Tiles of 16 x 12 pixels with 2-pixel grout, a little lighter at the top.
        tx, ty = x // 16, (y - floor_top) // 12
        if x % 16 < 2 or (y - floor_top) % 12 < 2:
            return (0x3A, 0x3A, 0x44)
        r, g, b = TILES[(tx * 3 + ty * 2) % len(TILES)]
        shade = 1.0 - 0.25 * ((y - floor_top) % 12) / 12.0
        return tuple(int(c * shade) for c in (r, g, b))
    if y >= hill:
        depth = (y - hill) / max(1.0, floor_top - hill)
        return lerp((0x4C, 0x9A, 0x5A), (0x1E, 0x5A, 0x34), depth)
    sun = math.hypot(x - 246, y - 62)
    if sun < 20:
        return (0xFF, 0xE8, 0x90)
    sky = lerp((0x1C, 0x2C, 0x6C), (0xF0, 0xA8, 0x70), y / float(horizon))
    if sun < 40:
        return lerp((0xFF, 0xD8, 0x90), sky, (sun - 20) / 20.0)
    return sky


def palette():
    """A 6 x 6 x 6 colour cube followed by 40 greys: 256 entries (B, G, R, 0)."""
    entries = []
    for r in range(LEVELS):
        for g in range(LEVELS):
            for b in range(LEVELS):
                entries.append(tuple(c * 255 // (LEVELS - 1) for c in (b, g, r)) + (0,))
    for i in range(256 - len(entries)):
        v = 8 + i * 6
        entries.append((v, v, v, 0))
    return entries


def dithered_index(rgb, x, y):
    threshold = (BAYER[y % 4][x % 4] + 0.5) / 16.0
    levels = []
    for c in rgb:
        v = c * (LEVELS - 1) / 255.0
        base = int(v)
        levels.append(min(LEVELS - 1, base + (1 if v - base > threshold else 0)))
    r, g, b = levels
    return (r * LEVELS + g) * LEVELS + b


def bmp(width, height, bits, rows, colours=()):
    """A bottom-up BI_RGB bitmap file; `rows` are top-down byte strings."""
    stride = (width * bits + 31) // 32 * 4
    table = b"".join(bytes(c) for c in colours)
    data = b"".join(row + b"\0" * (stride - len(row)) for row in reversed(rows))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(colours), 0)
    return header + info + table + data


def about_background():
    rows = [bytes(dithered_index(background_pixel(x, y), x, y) for x in range(320))
            for y in range(240)]
    return bmp(320, 240, 8, rows, palette())


def donate_pixel(x, y):
    # A heart on the left: the implicit curve (x^2 + y^2 - 1)^3 - x^2 y^3 <= 0.
    hx, hy = (x - 15) / 11.0, (15 - y) / 11.0 + 0.15
    if (hx * hx + hy * hy - 1) ** 3 - hx * hx * hy ** 3 <= 0:
        light = 0.25 if hx < -0.2 and hy > 0.3 else 0.0
        return lerp((0xD0, 0x20, 0x30), (0xFF, 0xFF, 0xFF), light)
    # Four coins stacked on the right, each an ellipse with a darker rim.
    for i in range(4):
        cy = 24 - i * 4
        d = ((x - 39) / 10.0) ** 2 + ((y - cy) / 3.5) ** 2
        if d <= 1.0:
            return (0xC8, 0x96, 0x1E) if d > 0.6 else (0xF6, 0xCE, 0x46)
    return lerp((0xFF, 0xFB, 0xE8), (0xF4, 0xE6, 0xB8), y / 30.0)


def donate():
    rows = [b"".join(bytes(reversed(donate_pixel(x, y))) for x in range(52)) for y in range(31)]
    return bmp(52, 31, 24, rows)


SELECTION_BLUE = (0x33, 0x66, 0xCC)


def highlight(mask):
    rows = []
    for y in range(3):
        row = b""
        for x in range(3):
            marked = (x + y) % 2 == 0
            if mask:
                rgb = (0, 0, 0) if marked else (0xFF, 0xFF, 0xFF)
            else:
                rgb = SELECTION_BLUE if marked else (0, 0, 0)
            row += bytes(reversed(rgb))
        rows.append(row)
    return bmp(3, 3, 24, rows)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "about_background.bmp": about_background(),
        "donate.bmp": donate(),
        "highlight_pattern.bmp": highlight(False),
        "highlight_mask.bmp": highlight(True),
    }
    for name, data in pictures.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
