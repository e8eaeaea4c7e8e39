#!/usr/bin/env python3
"""Draws the program's icon (a gold "V" on a dark green shield) and writes it
as a Windows .ico file of one 32-bit image. Usage: make_icon.py <size> <out.ico>"""
import struct
import sys


def shield_pixel(x, y, n):
    """Colour (r, g, b, a) of pixel (x, y) of an n x n icon."""
    u = (x + 0.5) / n
    v = (y + 0.5) / n
    # Shield outline: straight sides down to 60 %, then a curve to the point.
    half = 0.42 if v < 0.6 else 0.42 * max(0.0, 1 - ((v - 0.6) / 0.36) ** 1.6)
    if v < 0.06 or v > 0.96 or abs(u - 0.5) > half:
        return (0, 0, 0, 0)
    edge = half - abs(u - 0.5) < 0.06 or v < 0.12
    if edge:
        return (214, 178, 74, 255)
    # The "V": two strokes meeting at the bottom centre.
    for side in (-1, 1):
        tx = 0.5 + side * 0.22 * (1 - (v - 0.2) / 0.55)
        if 0.2 <= v <= 0.78 and abs(u - tx) < 0.075:
            return (240, 206, 96, 255)
    shade = int(40 + 50 * (1 - v))
    return (24, shade + 40, 40, 255)


def icon(n):
    rows = []
    mask_rows = []
    mask_stride = ((n + 31) // 32) * 4
    for y in reversed(range(n)):  # BMP rows run bottom-up
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(n):
            r, g, b, a = shield_pixel(x, y, n)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    pixels = b"".join(rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    image = header + pixels
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    size = int(sys.argv[1])
    with open(sys.argv[2], "wb") as out:
        out.write(icon(size))
