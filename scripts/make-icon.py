#!/usr/bin/env python3
"""Draws the application icon and writes it as a Windows .ico file.

The picture: a blue tile carrying a white ledger sheet, with a round orange badge showing a
percent sign for the reduced tax rate. Images of 256, 48, 32, 24 and 16 pixels, 32-bit colour
with alpha; the 256-pixel image is stored as PNG, the others as bitmaps, as Windows expects.

Usage: make-icon.py OUTPUT.ico
"""
import math
import struct
import sys
import zlib

SIZES = (256, 48, 32, 24, 16)
SUPERSAMPLE = 4

BLUE_TOP = (46, 110, 190)
BLUE_BOTTOM = (22, 66, 140)
PAPER = (250, 250, 246)
RULE = (150, 175, 210)
BADGE = (238, 124, 24)
WHITE = (255, 255, 255)


def rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(x, y, cx, cy, outer, inner):
    d = (x - cx) ** 2 + (y - cy) ** 2
    return inner * inner <= d <= outer * outer


def segment(x, y, x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    px, py = x0 + t * dx, y0 + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def layers(size):
    """The shapes, back to front, in a 0..1 square; each is (colour function, inside test)."""
    detailed = size >= 32

    def tile_colour(_x, y):
        return tuple(round(a + (b - a) * y) for a, b in zip(BLUE_TOP, BLUE_BOTTOM))

    shapes = [
        (tile_colour, lambda x, y: rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.16)),
        (lambda x, y: PAPER, lambda x, y: rounded_rect(x, y, 0.20, 0.12, 0.70, 0.80, 0.04)),
    ]
    if detailed:
        for row in range(5):
            top = 0.24 + row * 0.10
            shapes.append((lambda x, y: RULE,
                           lambda x, y, t=top: 0.27 <= x <= 0.63 and t <= y <= t + 0.035))
    # The badge with a percent sign: two small rings and a slanted bar.
    cx, cy, r = 0.68, 0.68, 0.27 if detailed else 0.31
    shapes.append((lambda x, y: WHITE, lambda x, y: circle(x, y, cx, cy, r + 0.03)))
    shapes.append((lambda x, y: BADGE, lambda x, y: circle(x, y, cx, cy, r)))
    stroke = 0.035 if detailed else 0.05
    dot = 0.065 if detailed else 0.07
    shapes.append((lambda x, y: WHITE,
                   lambda x, y: segment(x, y, cx + 0.12, cy - 0.14, cx - 0.12, cy + 0.14, stroke)))
    for ox, oy in ((-0.09, -0.09), (0.09, 0.09)):
        if detailed:
            test = (lambda x, y, ox=ox, oy=oy:
                    ring(x, y, cx + ox, cy + oy, dot, dot - 0.04))
        else:
            test = lambda x, y, ox=ox, oy=oy: circle(x, y, cx + ox, cy + oy, dot - 0.015)
        shapes.append((lambda x, y: WHITE, test))
    return shapes


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    shapes = layers(size)
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for paint, inside in shapes:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            covered = acc[3]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / covered), round(acc[1] / covered),
                            round(acc[2] / covered), round(255 * covered / (n * n))))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(rows):
    """A 32-bit bottom-up bitmap with its AND mask, as an icon image holds it."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [(size, png(render(size)) if size >= 256 else dib(render(size))) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _size, data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
