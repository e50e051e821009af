"""The four 16 x 16 marker bitmaps (and their 32 x 32 doubles), drawn pixel by pixel and written as 24-bit BMP.

A marker is a small pin whose tip points down at the position bar; the tip
is at x = 8, the middle of the 16-pixel picture.  The bitmaps are drawn
transparent the classic way: every pixel outside the pin has the key colour,
and the bottom-left pixel is one of them.  Edge pixels are blended with the
white window body behind the markers, so the pin looks smooth without a
coloured fringe.
"""

import struct

KEY = (255, 0, 255)     # see-through colour; the bottom-left pixel has it
BODY = (255, 255, 255)  # what the markers are drawn on
SIZE = 16
SUB = 8                 # samples per pixel along each axis

# name: (fill, edge, glyph colour, glyph)
MARKERS = {
    "MarkStart": ((0x23, 0xA4, 0x55), (0x15, 0x7A, 0x3C), (255, 255, 255), "start"),
    "MarkEnd": ((0xD8, 0x41, 0x3A), (0xA3, 0x2A, 0x24), (255, 255, 255), "end"),
    "MarkStartD": ((0xB4, 0xBD, 0xC4), (0x8E, 0x99, 0xA1), (0xF5, 0xF7, 0xF8), "start"),
    "MarkEndD": ((0xB4, 0xBD, 0xC4), (0x8E, 0x99, 0xA1), (0xF5, 0xF7, 0xF8), "end"),
}


def in_round_rect(x, y, left, top, right, bottom, r):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + r), right - r)
    cy = min(max(y, top + r), bottom - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, top, half, apex):
    """A downward triangle: its top edge at y = top from 8 - half to 8 + half, its apex at (8, apex)."""
    if y < top or y > apex:
        return False
    return abs(x - 8) <= half * (apex - y) / (apex - top)


def in_pin(x, y, inset):
    return (in_round_rect(x, y, 1 + inset, inset, 15 - inset, 10 - inset, 3.5 - inset)
            or in_triangle(x, y, 8, 5 - 1.25 * inset, 16.4 - 1.67 * inset))


def in_glyph(x, y, kind):
    """A bracket: "[" on the start marker, "]" on the end marker."""
    if kind == "end":
        x = 16 - x
    stem = 6 <= x <= 8 and 2 <= y <= 9
    arms = 8 <= x <= 10 and (2 <= y <= 3 or 8 <= y <= 9)
    return stem or arms


def draw(fill, edge, glyph_colour, glyph, scale=1):
    """Rows of (r, g, b), top row first; scale pixels per unit of the 16 x 16 design."""
    rows = []
    for py in range(SIZE * scale):
        row = []
        for px in range(SIZE * scale):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUB):
                for sx in range(SUB):
                    x = (px + (sx + 0.5) / SUB) / scale
                    y = (py + (sy + 0.5) / SUB) / scale
                    if not in_pin(x, y, 0):
                        colour = BODY
                    else:
                        covered += 1
                        if in_glyph(x, y, glyph):
                            colour = glyph_colour
                        elif in_pin(x, y, 1):
                            colour = fill
                        else:
                            colour = edge
                    for i in range(3):
                        total[i] += colour[i]
            if covered < SUB * SUB * 0.3:
                row.append(KEY)
            else:
                row.append(tuple(round(t / (SUB * SUB)) for t in total))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    """An uncompressed 24-bit BMP; its rows are stored bottom-up."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def write_markers(folder):
    """Each marker at 16 x 16 and, for screens scaled 1.5x and more, drawn
    again from the same shapes at 32 x 32 ("MarkStart@2x.bmp")."""
    for name, (fill, edge, glyph_colour, glyph) in MARKERS.items():
        for scale, suffix in ((1, ""), (2, "@2x")):
            rows = draw(fill, edge, glyph_colour, glyph, scale)
            assert rows[SIZE * scale - 1][0] == KEY
            with open(f"{folder}/{name}{suffix}.bmp", "wb") as f:
                f.write(bmp_bytes(rows))
