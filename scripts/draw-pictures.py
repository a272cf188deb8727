#!/usr/bin/env python3
"""Draw the program icon and the window logo for Quarvel.

Writes disable/Quarvel.ico (32x32, 24 bpp, one BMP entry) and
disable/logo.bmp (76x89, 8 bpp palette, BI_RGB, bottom-up).
Standard library only, so the pictures can be regenerated anywhere;
the build uses the committed files and never runs this script.
"""

import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "disable")

# 5x7 glyphs, drawn by hand so no font file is needed.
FONT = {
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}


def clamp(v):
    return max(0, min(255, int(round(v))))


def grey(v, tint=0):
    # A faint blue tint makes plain grey read as metal rather than plastic.
    v = clamp(v)
    return (v, v, clamp(v + tint))


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fill the half-open box [x0,x1) x [y0,y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)


def metal(x, y, w, h):
    """Brushed-silver tone: a diagonal sheen with two soft bands."""
    t = (x / max(1, w - 1)) * 0.35 + (y / max(1, h - 1)) * 0.65
    return 196 + 30 * math.cos(2 * math.pi * (t * 1.15 - 0.1))


def draw_frame(cv, border):
    """Silver frame with a raised outer bevel and a sunken inner edge."""
    w, h = cv.w, cv.h
    for y in range(h):
        for x in range(w):
            d_out = min(x, y, w - 1 - x, h - 1 - y)
            if d_out >= border:
                continue
            v = metal(x, y, w, h)
            if d_out == 0:
                c = grey(70, 6)  # crisp dark outline on any window colour
            elif d_out == 1:
                # Light from the top left: outer rim bright there, dark bottom right.
                lit = (x == 1 or y == 1) and not (x == w - 2 or y == h - 2)
                c = grey(250 if lit else 128, 4)
            elif d_out == border - 1:
                # Inner rim is sunken, so its shading is the other way round.
                lit = (x == w - border or y == h - border)
                c = grey(240 if lit else 110, 4)
            else:
                c = grey(v, 5)
            cv.set(x, y, c)


def draw_badge(cv, border):
    """Near-black field with a faint top glow, so it is not a flat hole."""
    x0, y0, x1, y1 = border, border, cv.w - border, cv.h - border
    for y in range(y0, y1):
        t = (y - y0) / max(1, y1 - y0 - 1)
        v = 30 - 26 * min(1.0, t * 1.6)
        for x in range(x0, x1):
            cv.set(x, y, grey(v, 2))


def draw_chip(cv, cx, cy, body, pins, pin_len, pin_w, pitch):
    """Square package with pins on all four sides and a lighter die inside."""
    half = body // 2
    bx0, by0 = cx - half, cy - half
    bx1, by1 = bx0 + body, by0 + body
    # Pins first, so the body overlaps their roots.
    span = (pins - 1) * pitch + pin_w
    start = (body - span) // 2
    for i in range(pins):
        o = start + i * pitch
        for k in range(pin_w):
            for j in range(pin_len):
                shade = grey(215 - 25 * (j == pin_len - 1), 4)
                cv.set(bx0 + o + k, by0 - 1 - j, shade)   # top
                cv.set(bx0 + o + k, by1 + j, shade)       # bottom
                cv.set(bx0 - 1 - j, by0 + o + k, shade)   # left
                cv.set(bx1 + j, by0 + o + k, shade)       # right
    # Package body with a one-pixel bevel.
    for y in range(by0, by1):
        for x in range(bx0, bx1):
            edge_tl = x == bx0 or y == by0
            edge_br = x == bx1 - 1 or y == by1 - 1
            if edge_tl and not edge_br:
                c = grey(150, 4)
            elif edge_br:
                c = grey(58, 3)
            else:
                c = grey(92 - 22 * (y - by0) / body, 3)
            cv.set(x, y, c)
    return bx0, by0, bx1, by1


def draw_die(cv, x0, y0, size):
    """Silicon die: light metal square with a sunken rim."""
    for y in range(y0, y0 + size):
        for x in range(x0, x0 + size):
            if x == x0 or y == y0:
                c = grey(60, 3)
            elif x == x0 + size - 1 or y == y0 + size - 1:
                c = grey(235, 4)
            else:
                c = grey(metal(x - x0, y - y0, size, size) - 8, 6)
            cv.set(x, y, c)


def draw_text(cv, text, cx, y0, scale, top, bottom):
    """Centred text; a vertical white-to-grey ramp keeps it from looking flat."""
    gw = 5 * scale
    gap = scale
    total = len(text) * gw + (len(text) - 1) * gap
    x = cx - total // 2
    for ch in text:
        rows = FONT[ch]
        for ry, row in enumerate(rows):
            for rx, bit in enumerate(row):
                if bit != "#":
                    continue
                for sy in range(scale):
                    for sx in range(scale):
                        yy = ry * scale + sy
                        v = top + (bottom - top) * ry / 6
                        cv.set(x + rx * scale + sx, y0 + yy, grey(v, 4))
        x += gw + gap


def draw_logo():
    cv = Canvas(76, 89)
    border = 6
    draw_frame(cv, border)
    draw_badge(cv, border)
    bx0, by0, bx1, by1 = draw_chip(cv, 38, 25, body=20, pins=4,
                                   pin_len=3, pin_w=2, pitch=4)
    draw_die(cv, bx0 + 5, by0 + 5, 10)
    # Pin-1 mark: the usual corner dot on a package.
    cv.set(bx0 + 2, by0 + 2, grey(200, 4))
    draw_text(cv, "QUAD", 38, 46, 2, 255, 196)
    draw_text(cv, "CORE", 38, 64, 2, 255, 196)
    return cv


def draw_icon():
    cv = Canvas(32, 32)
    border = 4
    draw_frame(cv, border)
    draw_badge(cv, border)
    bx0, by0, bx1, by1 = draw_chip(cv, 16, 16, body=14, pins=3,
                                   pin_len=2, pin_w=2, pitch=4)
    draw_die(cv, bx0 + 3, by0 + 3, 8)
    # Rounded corners are left transparent through the AND mask.
    clear = set()
    for (x, y) in [(0, 0), (1, 0), (0, 1)]:
        for mx, my in [(x, y), (31 - x, y), (x, 31 - y), (31 - x, 31 - y)]:
            clear.add((mx, my))
    for (x, y) in clear:
        cv.set(x, y, (0, 0, 0))
    # Pixels next to a cut corner take the outline colour so the rim stays closed.
    for (x, y) in [(1, 1), (30, 1), (1, 30), (30, 30)]:
        cv.set(x, y, grey(70, 6))
    return cv, clear


def write_bmp8(cv, path):
    colours = sorted({c for row in cv.px for c in row})
    if len(colours) > 256:
        raise SystemExit("logo uses %d colours, more than 256" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
    palette += b"\0" * (1024 - len(palette))
    stride = (cv.w + 3) & ~3
    pixels = bytearray()
    for y in range(cv.h - 1, -1, -1):  # bottom-up
        row = bytes(index[c] for c in cv.px[y])
        pixels += row + b"\0" * (stride - cv.w)
    off = 14 + 40 + 1024
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 8, 0,
                       len(pixels), 2835, 2835, 256, 0)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    with open(path, "wb") as f:
        f.write(head + info + palette + bytes(pixels))


def write_ico24(cv, clear, path):
    w, h = cv.w, cv.h
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for (r, g, b) in cv.px[y]:
            xor += bytes((b, g, r))
        xor += b"\0" * ((-(w * 3)) % 4)
    mask_stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if (x, y) in clear:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 24, 0,
                       len(xor) + len(andm), 0, 0, 0, 0)
    res = info + bytes(xor) + bytes(andm)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 24, len(res), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + res)


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    write_bmp8(draw_logo(), os.path.join(OUT_DIR, "logo.bmp"))
    icon, clear = draw_icon()
    write_ico24(icon, clear, os.path.join(OUT_DIR, "Quarvel.ico"))


if __name__ == "__main__":
    main()
