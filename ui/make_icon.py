#!/usr/bin/env python3
"""Draws Tessara's icon, a small mosaic of tiles, and writes it as a .ico file
with 16, 24, 32, 48 and 64 pixel images (small and large icons from 100 % to
200 % scaling; 32-bit colour with alpha)."""
import struct
import sys

# Tile colours of the 3 x 3 mosaic, row by row (R, G, B).
TILES = [
    (0x2E, 0x86, 0xC1), (0x48, 0xC9, 0xB0), (0xF4, 0xD0, 0x3F),
    (0x48, 0xC9, 0xB0), (0xF4, 0xD0, 0x3F), (0xE6, 0x7E, 0x22),
    (0xF4, 0xD0, 0x3F), (0xE6, 0x7E, 0x22), (0xC0, 0x39, 0x2B),
]


def pixel(size, x, y):
    """Colour of pixel (x, y), top-down, as (B, G, R, A)."""
    gap = max(1, size // 16)
    cell = (size - 4 * gap) / 3
    col = row = None
    for i in range(3):
        lo = gap + i * (cell + gap)
        if lo <= x < lo + cell:
            col = i
        if lo <= y < lo + cell:
            row = i
    if col is None or row is None:
        return (0, 0, 0, 0)
    r, g, b = TILES[row * 3 + col]
    # A lighter top-left edge gives each tile some depth.
    cx = x - (gap + col * (cell + gap))
    cy = y - (gap + row * (cell + gap))
    if cx < gap or cy < gap:
        r, g, b = (min(255, c + 50) for c in (r, g, b))
    elif cx >= cell - gap or cy >= cell - gap:
        r, g, b = (c * 3 // 4 for c in (r, g, b))
    return (b, g, r, 255)


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # DIB rows run bottom-up
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)  # alpha decides; AND mask all clear
    return header + b"".join(rows) + mask_row * size


def main(path):
    sizes = [16, 24, 32, 48, 64]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
