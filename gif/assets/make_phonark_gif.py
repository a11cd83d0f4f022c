#!/usr/bin/env python3
"""Writes phonark.gif, the main window's animated picture: a two-atom molecule
whose heavy (red) and light (green) atoms swing against each other on a spring,
the optical mode of a diatomic chain in four frames.

32 x 32, a 16-colour global table, loop count 0, each frame with disposal 2
(restore background), transparent index 0 and a delay of 10.

Usage: make_phonark_gif.py [output]   (default: phonark.gif beside this script)
"""
import math
import os
import sys

W = H = 32
PALETTE = [
    (255, 255, 255),  # 0 transparent
    (0, 0, 0),        # 1 outline
    (128, 0, 0),      # 2 dark red
    (220, 30, 30),    # 3 red
    (255, 150, 150),  # 4 red highlight
    (0, 96, 0),       # 5 dark green
    (40, 190, 40),    # 6 green
    (170, 255, 170),  # 7 green highlight
    (128, 128, 128),  # 8 spring
    (64, 64, 64),     # 9 dark grey
    (0, 0, 200),      # 10 blue
    (120, 160, 255),  # 11 light blue
    (255, 255, 255),  # 12 white
    (255, 220, 0),    # 13 yellow
    (255, 140, 0),    # 14 orange
    (192, 192, 192),  # 15 light grey
]

# Displacement of each atom per frame: the centre of mass stays put, so the
# light atom swings twice as far as the heavy one.
PHASES = [0, 1, 0, -1]


def atom(px, cx, cy, r, dark, mid, light):
    for y in range(H):
        for x in range(W):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d > r:
                continue
            if d > r - 1.0:
                px[y][x] = dark
            elif math.hypot(x + 0.5 - (cx - r / 3), y + 0.5 - (cy - r / 3)) < r / 3:
                px[y][x] = light
            else:
                px[y][x] = mid


def spring(px, x1, x2, cy):
    # An unbroken zigzag across the gap between the atoms, two pixels up and down.
    for x in range(x1, x2 + 1):
        px[cy + (0, -1, -2, -1, 0, 1, 2, 1)[(x - x1) % 8]][x] = 8


def frame(phase):
    px = [[0] * W for _ in range(H)]
    heavy_x, heavy_r = 8.5 - phase, 6.0
    light_x, light_r = 25.0 + 2 * phase, 4.0
    cy = 16
    # The spring fills the gap, which stays at least three pixels wide when the
    # atoms swing towards each other.
    spring(px, math.floor(heavy_x + heavy_r), math.floor(light_x - light_r), cy)
    atom(px, heavy_x, cy, heavy_r, 2, 3, 4)
    atom(px, light_x, cy, light_r, 5, 6, 7)
    return px


def lzw(pixels, min_size):
    clear, end = 1 << min_size, (1 << min_size) + 1
    table = {(i,): i for i in range(clear)}
    size, next_code = min_size + 1, end + 1
    out, acc, bits = bytearray(), 0, 0

    def emit(code):
        nonlocal acc, bits
        acc |= code << bits
        bits += size
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8

    emit(clear)
    run = (pixels[0],)
    for p in pixels[1:]:
        grown = run + (p,)
        if grown in table:
            run = grown
            continue
        emit(table[run])
        if next_code < 4096:
            table[grown] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            size, next_code = min_size + 1, end + 1
        run = (p,)
    emit(table[run])
    emit(end)
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def u16(v):
    return bytes((v & 0xFF, v >> 8))


def gif():
    out = bytearray(b"GIF89a")
    out += u16(W) + u16(H) + bytes((0xB3, 0, 0))
    for c in PALETTE:
        out += bytes(c)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + u16(0) + b"\x00"
    for phase in PHASES:
        px = frame(phase)
        out += b"\x21\xF9\x04\x09" + u16(10) + b"\x00\x00"
        out += b"\x2C" + u16(0) + u16(0) + u16(W) + u16(H) + b"\x00"
        out += b"\x04" + blocks(lzw([v for row in px for v in row], 4))
    out += b"\x3B"
    return bytes(out)


if __name__ == "__main__":
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "phonark.gif")
    data = gif()
    with open(path, "wb") as f:
        f.write(data)
    print(f"{path}: {len(data)} bytes")
