#!/usr/bin/env python3
"""Draws Portwand's program icon and writes it as portwand.ico (16, 32 and 48 pixels, 32-bit).

The picture: a dark blue remote with a green two-line display and three round keys.
Run it again after changing the drawing: python3 console/win32/make_icon.py
"""

import os
import struct

SIZES = (16, 32, 48)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def draw(size):
    """Returns rows of (r, g, b, a), top row first."""
    s = size / 48.0
    body = (24, 44, 120, 255)
    edge = (10, 20, 70, 255)
    screen = (150, 210, 90, 255)
    ink = (30, 60, 20, 255)
    key = (230, 230, 240, 255)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = (x + 0.5) / s, (y + 0.5) / s  # in 48-pixel units
            colour = (0, 0, 0, 0)
            if inside_rounded(px, py, 8, 2, 40, 46, 6):
                colour = edge
            if inside_rounded(px, py, 10, 4, 38, 44, 5):
                colour = body
            if 13 <= px < 35 and 8 <= py < 22:
                colour = screen
                # Two lines of "characters" on the display.
                if (10 <= py < 13 or 16 <= py < 19) and int(px - 15) % 4 < 3 and 15 <= px < 33:
                    colour = ink
            for kx, ky in ((17, 31), (31, 31), (24, 38)):
                if (px - kx) ** 2 + (py - ky) ** 2 <= 12:
                    colour = key
            row.append(colour)
        pixels.append(row)
    return pixels


def bitmap(size):
    """One icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    rows = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def main():
    images = [bitmap(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "portwand.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
