#!/usr/bin/env python3
"""Draws the brush dialog's stock pictures as 24-bit BMPs:

- lumbrush1.bmp .. lumbrush12.bmp: 8 x 8 patterns, black ink on white (white is
  their transparent colour): fills of 80, 60, 40, 20 and 10 percent (ordered
  dither), a zig-zag, and small vertical, horizontal, diagonal, back-diagonal,
  cross and diagonal-cross hatches (period 4);
- texture_metal.bmp .. texture_snow.bmp: 64 x 64 textures that tile seamlessly
  (every noise used repeats over the picture): brushed metal, wood grain, stone,
  clouds, grass, fire and snow.

The noise comes from a fixed seed, so the files are the same on every run. Run
from this folder to rewrite the files."""
import math
import random

from make_navglyphs import write_bmp

INK = (0, 0, 0)
PAPER = (255, 255, 255)
PATTERN = 8
TEXTURE = 64


# ---- patterns ---------------------------------------------------------------
def bayer(n):
    """The n x n ordered-dither matrix (n a power of two), values 0 .. n*n-1."""
    if n == 1:
        return [[0]]
    half = bayer(n // 2)
    m = [[0] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            q = half[y % (n // 2)][x % (n // 2)] * 4
            m[y][x] = q + [[0, 2], [3, 1]][y * 2 // n][x * 2 // n]
    return m


def fill(percent):
    b = bayer(PATTERN)
    limit = round(percent / 100 * PATTERN * PATTERN)
    return lambda x, y: b[y][x] < limit


def patterns():
    zig = {(x, (x if x < 4 else 7 - x) + dy) for x in range(8) for dy in (0, 4)}
    return [
        fill(80), fill(60), fill(40), fill(20), fill(10),
        lambda x, y: (x, y % 8) in zig,
        lambda x, y: x % 4 == 0,
        lambda x, y: y % 4 == 0,
        lambda x, y: (x + y) % 4 == 3,
        lambda x, y: (x - y) % 4 == 0,
        lambda x, y: x % 4 == 0 or y % 4 == 0,
        lambda x, y: (x + y) % 4 == 3 or (x - y) % 4 == 0,
    ]


# ---- tileable noise ---------------------------------------------------------
class Noise:
    """Value noise on a torus: a lattice of random values every `cell` pixels
    across (`celly` down, the same unless given), wrapping round the picture,
    smoothly interpolated."""

    def __init__(self, rng, cell, celly=None):
        self.cx, self.cy = cell, celly or cell
        self.nx, self.ny = TEXTURE // self.cx, TEXTURE // self.cy
        self.v = [[rng.random() for _ in range(self.nx)] for _ in range(self.ny)]

    def at(self, x, y):
        fx, fy = x / self.cx, y / self.cy
        x0, y0 = int(math.floor(fx)), int(math.floor(fy))
        tx, ty = fx - x0, fy - y0
        sx, sy = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)

        def v(i, j):
            return self.v[j % self.ny][i % self.nx]

        top = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * sx
        bottom = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * sx
        return top + (bottom - top) * sy


def fractal(rng, cells, stretch=1):
    """Octaves of noise, coarse to fine, each half as strong: 0..1. With a stretch
    the lattice is that many times taller than wide (as far as the picture allows)."""
    layers = [Noise(rng, c, min(TEXTURE, c * stretch)) for c in cells]
    total = sum(0.5 ** i for i in range(len(layers)))

    def at(x, y):
        return sum(l.at(x, y) * 0.5 ** i for i, l in enumerate(layers)) / total

    return at


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(clamp(p + (q - p) * t) for p, q in zip(a, b))


def ramp(stops, t):
    """The colour at t along (position, colour) stops."""
    t = max(0.0, min(1.0, t))
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


# ---- textures ---------------------------------------------------------------
def metal(rng):
    """Brushed steel: long horizontal streaks over a soft sheen."""
    sheen = fractal(rng, [8, 4, 2], 8)  # lattice 8 times taller: horizontal swathes
    rows = [rng.random() for _ in range(TEXTURE)]
    fine = [[rng.random() for _ in range(TEXTURE)] for _ in range(TEXTURE)]

    def at(x, y):
        # Streaks: the fine noise averaged along the row.
        s = sum(fine[y][(x + d) % TEXTURE] for d in range(-6, 7)) / 13
        g = 150 + 55 * sheen(y, x) + 30 * (s - 0.5) + 14 * (rows[y] - 0.5)
        return (clamp(g - 4), clamp(g), clamp(g + 8))

    return at


def wood(rng):
    """Grain: bands of light and dark brown bent by noise."""
    warp = fractal(rng, [32, 16, 8])
    fine = fractal(rng, [8, 4, 2])
    light, dark = (206, 152, 94), (120, 70, 34)

    def at(x, y):
        bend = warp(x, y) * 3.0
        band = 0.5 + 0.5 * math.sin((y / TEXTURE * 6 + bend) * 2 * math.pi)
        t = 0.75 * band ** 1.6 + 0.25 * fine(x, y)
        return mix(dark, light, t)

    return at


def stone(rng):
    """Cobbles: cells around scattered points (wrapping), each its own grey, with
    dark joints between them and grit over all."""
    points = [(rng.uniform(0, TEXTURE), rng.uniform(0, TEXTURE), rng.uniform(0.55, 0.85)) for _ in range(14)]
    grit = fractal(rng, [16, 8, 4, 2])

    def at(x, y):
        dists = []
        for px, py, tone in points:
            dx = min(abs(x - px), TEXTURE - abs(x - px))
            dy = min(abs(y - py), TEXTURE - abs(y - py))
            dists.append((math.hypot(dx, dy), tone))
        dists.sort()
        (d1, tone), (d2, _) = dists[0], dists[1]
        joint = min(1.0, (d2 - d1) / 3.0)
        g = (70 + 150 * tone) * (0.45 + 0.55 * joint) + 40 * (grit(x, y) - 0.5)
        return (clamp(g), clamp(g - 2), clamp(g - 8))

    return at


def clouds(rng):
    """White clouds on a blue sky."""
    f = fractal(rng, [32, 16, 8, 4, 2])
    sky, cloud = (70, 130, 215), (250, 250, 252)

    def at(x, y):
        t = (f(x, y) - 0.42) / 0.3
        return mix(sky, cloud, t)

    return at


def grass(rng):
    """Blades: thin upright strokes in greens over darker ground."""
    ground = fractal(rng, [16, 8, 4])
    pixels = [[None] * TEXTURE for _ in range(TEXTURE)]
    for y in range(TEXTURE):
        for x in range(TEXTURE):
            t = ground(x, y)
            pixels[y][x] = mix((30, 80, 20), (70, 130, 40), t)
    for _ in range(150):
        x0, y0 = rng.uniform(0, TEXTURE), rng.uniform(0, TEXTURE)
        length, lean = rng.uniform(8, 18), rng.uniform(-0.35, 0.35)
        colour = mix((80, 150, 40), (170, 215, 90), rng.random())
        for i in range(int(length)):
            x = int(x0 + lean * i) % TEXTURE
            y = int(y0 - i) % TEXTURE
            shade = 0.55 + 0.45 * i / length  # darker at the root
            pixels[y][x] = tuple(clamp(c * shade) for c in colour)
    return lambda x, y: pixels[y][x]


def fire(rng):
    """Flames: upward tongues of dark red, orange and yellow."""
    f = fractal(rng, [16, 8, 4], 4)  # tall tongues
    g = fractal(rng, [16, 8])
    stops = [(0.0, (60, 0, 0)), (0.35, (190, 20, 0)), (0.6, (250, 120, 0)), (0.8, (255, 210, 40)),
             (1.0, (255, 250, 200))]

    def at(x, y):
        tongue = f(x, y + 8 * g(x, y))
        return ramp(stops, (tongue - 0.25) / 0.55)

    return at


def snow(rng):
    """Snow: soft blue-white drifts with bright flakes."""
    f = fractal(rng, [32, 16, 8, 4])
    flakes = {(rng.randrange(TEXTURE), rng.randrange(TEXTURE)) for _ in range(90)}

    def at(x, y):
        if (x, y) in flakes:
            return (255, 255, 255)
        t = f(x, y)
        return mix((190, 205, 228), (246, 248, 252), (t - 0.3) / 0.45)

    return at


TEXTURES = [("metal", metal), ("wood", wood), ("stone", stone), ("clouds", clouds), ("grass", grass),
            ("fire", fire), ("snow", snow)]


def main():
    for i, ink in enumerate(patterns(), 1):
        write_bmp("lumbrush%d.bmp" % i, PATTERN, PATTERN, lambda x, y, ink=ink: INK if ink(x, y) else PAPER)
    for n, (name, make) in enumerate(TEXTURES):
        pixel = make(random.Random(1000 + n))
        write_bmp("texture_%s.bmp" % name, TEXTURE, TEXTURE, pixel)


if __name__ == "__main__":
    main()
