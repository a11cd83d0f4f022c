#!/usr/bin/env python3
"""Draws the 16 x 16 glyphs of the standard series and the tool base classes as
24-bit BMP files (the bottom-left pixel is the transparent colour). Run it from
this folder after changing a drawing; the files are kept in the repository."""
import math
import struct

BACK = (255, 0, 255)
INK, BLUE, RED, GREEN, YELLOW, GRAY = (0, 0, 0), (40, 80, 200), (200, 40, 40), (40, 160, 60), (230, 200, 40), (128, 128, 128)


class Glyph:
    def __init__(self):
        self.px = [[BACK] * 16 for _ in range(16)]

    def dot(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def rect(self, x0, y0, x1, y1, c, edge=INK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, edge if x in (x0, x1) or y in (y0, y1) else c)

    def axes(self):
        self.line(1, 1, 1, 14, GRAY)
        self.line(1, 14, 14, 14, GRAY)

    def bmp(self):
        rows = b""
        for y in range(15, -1, -1):
            row = b"".join(bytes((b, g, r)) for (r, g, b) in self.px[y])
            rows += row  # 48 bytes: already a multiple of 4
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        return header + info + rows


def polyline(g, pts, c):
    for a, b in zip(pts, pts[1:]):
        g.line(*a, *b, c)


def line(horiz=False, fast=False):
    g = Glyph()
    g.axes()
    pts = [(2, 11), (5, 6), (8, 9), (11, 3), (14, 5)]
    if horiz:
        pts = [(13 - y + 2, x - 1) for x, y in pts]
    polyline(g, pts, RED if fast else BLUE)
    return g


def area(horiz=False):
    g = Glyph()
    g.axes()
    top = [11, 10, 8, 7, 6, 6, 5, 6, 7, 5, 4, 4, 5]
    for i, t in enumerate(top):
        for v in range(t, 14):
            if horiz:
                g.dot(15 - v, i + 1, GREEN)
            else:
                g.dot(i + 2, v, GREEN)
    return g


def bar(horiz=False):
    g = Glyph()
    g.axes()
    for i, h in enumerate([6, 10, 4, 8]):
        a, b = 3 + i * 3, 4 + i * 3
        if horiz:
            g.rect(2, a - 1, 2 + h, b - 1, YELLOW)
        else:
            g.rect(a, 13 - h, b, 13, RED)
    return g


def point():
    g = Glyph()
    g.axes()
    for x, y in [(4, 10), (7, 5), (10, 8), (13, 3), (5, 4)]:
        g.rect(x - 1, y - 1, x + 1, y + 1, BLUE)
    return g


def pie():
    g = Glyph()
    for y in range(16):
        for x in range(16):
            dx, dy = x - 7.5, y - 7.5
            r = math.hypot(dx, dy)
            if r <= 7:
                a = math.degrees(math.atan2(dy, dx)) % 360
                g.dot(x, y, INK if r > 6.2 else RED if a < 120 else GREEN if a < 250 else YELLOW)
    return g


def tool(kind):
    g = Glyph()
    # A spanner: a handle and a jaw, with the tool's target behind it.
    if kind == "series":
        polyline(g, [(1, 12), (5, 7), (9, 9), (14, 2)], BLUE)
    elif kind == "axis":
        g.axes()
        for t in (4, 8, 12):
            g.line(0, t, 1, t, INK)
    g.line(4, 14, 10, 8, INK)
    g.line(5, 14, 11, 8, GRAY)
    g.rect(10, 5, 13, 8, GRAY)
    g.dot(12, 5, BACK)
    g.dot(13, 5, BACK)
    return g


GLYPHS = {
    "TLineSeries": line(), "THorizLineSeries": line(horiz=True), "TPointSeries": point(),
    "TAreaSeries": area(), "THorizAreaSeries": area(horiz=True), "TBarSeries": bar(),
    "THorizBarSeries": bar(horiz=True), "TPieSeries": pie(), "TFastLineSeries": line(fast=True),
    "TLumCustomTool": tool("other"), "TLumCustomToolSeries": tool("series"), "TLumCustomToolAxis": tool("axis"),
}

if __name__ == "__main__":
    for name, glyph in GLYPHS.items():
        with open("glyph_" + name[1:].lower() + ".bmp", "wb") as f:
            f.write(glyph.bmp())
