"""Input tables for the analysis functions' golden data.

Writes analysis/tests/data/input_*.csv with the columns
X,Open,High,Low,Close,Volume,Null (Null 1 marks a null point). Every number is
printed with 17 significant digits so that the C++ side reads the same doubles.
The walks are seeded, so a rerun writes the same files.
"""
import csv
import os
import random

DATA = os.path.join(os.path.dirname(__file__), "..", "..", "analysis", "tests", "data")
COLUMNS = ["X", "Open", "High", "Low", "Close", "Volume", "Null"]

TABLE_A = """48.70/47.79/48.16 48.72/48.14/48.61 48.90/48.39/48.75
48.87/48.37/48.63 48.82/48.24/48.74 49.05/48.64/49.03 49.20/48.94/49.07 49.35/48.86/49.32
49.92/49.50/49.91 50.19/49.87/50.13 50.12/49.20/49.53 49.66/48.90/49.50 49.88/49.43/49.75
50.19/49.73/50.03 50.36/49.26/50.31 50.57/50.09/50.52 50.65/50.30/50.41 50.43/49.21/49.34
49.63/48.98/49.37 50.33/49.61/50.23 50.29/49.20/49.24 50.17/49.43/49.93 49.32/48.08/48.43
48.50/47.64/48.18 48.32/41.55/46.57 46.80/44.28/45.41 47.80/47.31/47.77 48.39/47.20/47.72
48.66/47.90/48.62 48.79/47.73/47.85"""

TABLE_B = """44.3389 44.0902 44.1497 43.6124 44.3278 44.8264 45.0955 45.4245 45.8433 46.0826
45.8931 46.0328 45.6140 46.2820 46.2820 46.0028 46.0328 46.4116 46.2222 45.6439 46.2122
46.2521 45.7137 46.4515 45.7835 45.3548 44.0288 44.1783 44.2181 44.5672 43.4205 42.6628
43.1314"""


def fmt(v):
    return "%.17g" % v


def write(name, rows):
    path = os.path.join(DATA, name)
    with open(path, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(COLUMNS)
        for r in rows:
            w.writerow([fmt(r[c]) if c != "Null" else str(r[c]) for c in COLUMNS])


def table_a():
    rows = []
    for i, bar in enumerate(TABLE_A.split()):
        h, l, c = (float(t) for t in bar.split("/"))
        rows.append(dict(X=float(i), Open=c, High=h, Low=l, Close=c, Volume=1000.0, Null=0))
    return rows


def table_b():
    return [dict(X=float(i), Open=c, High=c, Low=c, Close=c, Volume=1000.0, Null=0)
            for i, c in enumerate(float(t) for t in TABLE_B.split())]


def walk(seed, n=500):
    """A price walk with uneven X steps and the awkward bars the functions must survive:
    high equal to low, runs of equal closes, a stretch of zero volume and one null point."""
    rnd = random.Random(seed)
    rows = []
    x, close = 0.0, 100.0
    for i in range(n):
        x += rnd.choice([1.0, 1.0, 1.0, 2.0, 3.0, 0.5])
        open_ = close
        close = max(1.0, close + rnd.gauss(0.0, 1.5))
        if 200 <= i < 206:          # equal closes
            close = open_
        high = max(open_, close) + abs(rnd.gauss(0.0, 0.8))
        low = min(open_, close) - abs(rnd.gauss(0.0, 0.8))
        if i % 97 == 5:             # a bar with no range
            open_ = close
            high = low = close
        volume = float(rnd.randint(1000, 50000))
        if 300 <= i < 310:          # no trading
            volume = 0.0
        rows.append(dict(X=x, Open=open_, High=high, Low=low, Close=close, Volume=volume,
                         Null=1 if i == 250 else 0))
    return rows


def main():
    os.makedirs(DATA, exist_ok=True)
    write("input_table_a.csv", table_a())
    write("input_table_b.csv", table_b())
    write("input_walk1.csv", walk(1))
    write("input_walk2.csv", walk(2))


if __name__ == "__main__":
    main()
