#!/usr/bin/env python3
"""Draws the editor pages' own 16 x 16 glyphs as 24-bit BMP files, with the gallery's
glyph drawing (the bottom-left pixel is the transparent colour). Run it from this
folder after changing a drawing; the files are kept in the repository."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gallery", "resources"))
from make_glyphs import BLUE, INK, Glyph  # noqa: E402

WHITE = (255, 255, 255)


def clone():
    # Two sheets, the copy in front of and below the original.
    g = Glyph()
    g.rect(1, 1, 9, 10, WHITE, INK)
    g.rect(6, 5, 14, 14, WHITE, BLUE)
    for y in (8, 10, 12):
        g.line(8, y, 12, y, BLUE)
    return g


if __name__ == "__main__":
    with open("lum_clone.bmp", "wb") as f:
        f.write(clone().bmp())
