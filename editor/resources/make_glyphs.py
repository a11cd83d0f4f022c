#!/usr/bin/env python3
"""Draws the editor pages' own 16 x 16 glyphs as 24-bit BMP files, with the gallery's
glyph drawing (the bottom-left pixel is the transparent colour). Run it from this
folder after changing a drawing; the files are kept in the repository."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gallery", "resources"))
from make_glyphs import BLUE, GRAY, GREEN, INK, RED, Glyph  # noqa: E402

WHITE = (255, 255, 255)


def clone():
    # Two sheets, the copy in front of and below the original.
    g = Glyph()
    g.rect(1, 1, 9, 10, WHITE, INK)
    g.rect(6, 5, 14, 14, WHITE, BLUE)
    for y in (8, 10, 12):
        g.line(8, y, 12, y, BLUE)
    return g


def grid_text():
    # A table whose rows hold text.
    g = Glyph()
    g.rect(1, 2, 14, 13, WHITE)
    for y, end in ((5, 12), (8, 10), (11, 12)):
        g.line(3, y, end, y, INK)
    return g


def grid_colors():
    # A column of colour cells.
    g = Glyph()
    for top, c in ((2, RED), (6, GREEN), (10, BLUE)):
        g.rect(3, top, 12, top + 3, c)
    return g


def grid_3d():
    # A cube: the points of a matrix have depth.
    g = Glyph()
    g.rect(5, 2, 13, 10, WHITE, GRAY)
    g.rect(2, 5, 10, 13, WHITE, INK)
    for a, b in (((2, 5), (5, 2)), ((10, 5), (13, 2)), ((10, 13), (13, 10))):
        g.line(*a, *b, INK)
    return g


def grid_x():
    # The letter X.
    g = Glyph()
    for d in (0, 1):
        g.line(3 + d, 3, 11 + d, 12, BLUE)
        g.line(11 + d, 3, 3 + d, 12, BLUE)
    return g


def copy_data():
    # A clipboard holding lines of data.
    g = Glyph()
    g.rect(2, 2, 13, 14, WHITE, GRAY)
    g.rect(6, 1, 9, 3, GRAY, INK)
    for y in (6, 8, 10, 12):
        g.line(4, y, 11, y, INK)
    return g


GLYPHS = {
    "lum_clone.bmp": clone,
    "lum_grid_text.bmp": grid_text,
    "lum_grid_colors.bmp": grid_colors,
    "lum_grid_3d.bmp": grid_3d,
    "lum_grid_x.bmp": grid_x,
    "lum_copy_data.bmp": copy_data,
}

if __name__ == "__main__":
    for name, draw in GLYPHS.items():
        with open(name, "wb") as f:
            f.write(draw().bmp())
