#!/usr/bin/env python3
"""Draws the navigator's button glyphs: one 24-bit BMP per button holding two
10 x 10 images side by side, the normal one (black) and the disabled one (grey
shape over a white copy one pixel down and right). Olive is the transparent
background (the bottom-left pixel). Run from this folder to rewrite the files."""
import struct

SIZE = 10
BACK = (128, 128, 0)      # olive, as (r, g, b)
INK = (0, 0, 0)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)


def tri_left(x0, x1):
    """A triangle pointing left over columns x0..x1, centred vertically."""
    pts = set()
    for x in range(x0, x1 + 1):
        half = x - x0
        for y in range(4 - half, 5 + half + 1):
            if 0 <= y < SIZE:
                pts.add((x, y))
    return pts


def mirror(pts):
    return {(SIZE - 1 - x, y) for x, y in pts}


def shapes():
    first = tri_left(3, 7) | {(1, y) for y in range(1, 9)} | {(2, y) for y in range(1, 9)}
    prior = tri_left(3, 7)
    plus = {(x, y) for x in range(1, 9) for y in (4, 5)} | {(x, y) for x in (4, 5) for y in range(1, 9)}
    minus = {(x, y) for x in range(1, 9) for y in (4, 5)}
    edit = {(x, y) for y in range(2, 8) for x in range(4 - (y - 2) // 2 - 0, 6 + (y - 2) // 2)}
    post = {(1, 4), (1, 5), (2, 5), (2, 6), (3, 6), (3, 7), (4, 6), (4, 5), (5, 5), (5, 4), (6, 4),
            (6, 3), (7, 3), (7, 2), (8, 2), (8, 1), (2, 4), (3, 5), (4, 7), (5, 6), (6, 5), (7, 4), (8, 3)}
    cancel = set()
    for i in range(1, 9):
        for d in (0, 1):
            if i + d < 9:
                cancel.add((i + d, i))
                cancel.add((SIZE - 1 - i - d, i))
    return {
        "First": first, "Prior": prior, "Next": mirror(prior), "Last": mirror(first),
        "Insert": plus, "Delete": minus, "Edit": edit, "Post": post, "Cancel": cancel,
    }


def write_bmp(path, width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - width * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    for name, pts in shapes().items():
        def pixel(x, y, pts=pts):
            if x < SIZE:
                return INK if (x, y) in pts else BACK
            x -= SIZE
            if (x, y) in pts:
                return GREY
            if (x - 1, y - 1) in pts:
                return WHITE
            return BACK
        write_bmp("lumnav_%s.bmp" % name.lower(), 2 * SIZE, SIZE, pixel)


if __name__ == "__main__":
    main()
