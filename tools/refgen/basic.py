"""Expected values of the basic functions and the average-based indicators.

Reads analysis/tests/data/input_*.csv and writes expected_basic_<kind>.csv with the
columns Input,Case,X,Y (17 significant digits): one row per output point, in order.
The oracles are independent of the C++ kernels: pandas ewm(span=P, adjust=False)
for the exponential averages and MACD, pandas rolling means with the statistics
module's population deviation for Bollinger bands and the oscillators, a pandas
Wilder average (ewm alpha=1/P seeded by the first window's mean) for the
alligator, and the statistics module for the basic period functions.
"""
import csv
import math
import os
import statistics

import pandas as pd

DATA = os.path.join(os.path.dirname(__file__), "..", "..", "analysis", "tests", "data")
INPUTS = ["table_a", "table_b", "walk1", "walk2"]


def fmt(v):
    return "%.17g" % v


def load(name):
    return pd.read_csv(os.path.join(DATA, "input_%s.csv" % name))


class Writer:
    def __init__(self, kind):
        self.path = os.path.join(DATA, "expected_basic_%s.csv" % kind)
        self.rows = []

    def line(self, inp, case, xs, ys):
        for x, y in zip(xs, ys):
            self.rows.append([inp, case, fmt(x), fmt(y)])

    def close(self):
        with open(self.path, "w", newline="") as f:
            w = csv.writer(f, lineterminator="\n")
            w.writerow(["Input", "Case", "X", "Y"])
            w.writerows(self.rows)


def ema(s, period):
    return s.ewm(span=period, adjust=False).mean()


def wilder(s, period):
    """Smoothed average: the first window's mean, then r = r + (x - r) / period."""
    seed = s.iloc[:period].mean()
    rest = pd.concat([pd.Series([seed]), s.iloc[period:].reset_index(drop=True)], ignore_index=True)
    return rest.ewm(alpha=1.0 / period, adjust=False).mean()


def pstdev_windows(values, w):
    return [statistics.pstdev(values[i - w:i]) for i in range(w, len(values) + 1)]


def averages(out, inp, d):
    x, c = d["X"], d["Close"]
    for p in (1, 5, 10):
        out.line(inp, "EMA %g" % p, x, ema(c, p))
    macd = ema(c, 12) - ema(c, 26)
    signal = ema(macd, 9)
    out.line(inp, "MACD", x, macd)
    out.line(inp, "MACDSignal", x, signal)
    out.line(inp, "MACDHistogram", x, macd - signal)


def bands(out, inp, d):
    x, c = d["X"], d["Close"]
    vals = [float(v) for v in c]
    for p, dev in ((10, 2.0), (20, 2.5)):
        if len(vals) < p:
            continue
        sd = pstdev_windows(vals, p)
        xs = list(x.iloc[p - 1:])
        simple = list(c.rolling(p).mean().iloc[p - 1:])
        expo = list(ema(c, p).iloc[p - 1:])
        for name, mean in (("simple", simple), ("exponential", expo)):
            out.line(inp, "Bollinger %g %g %s Upper" % (p, dev, name), xs, [m + dev * s for m, s in zip(mean, sd)])
            out.line(inp, "Bollinger %g %g %s Lower" % (p, dev, name), xs, [m - dev * s for m, s in zip(mean, sd)])


def oscillators(out, inp, d):
    x = d["X"]
    median = (d["High"] + d["Low"]) / 2
    if len(d) >= 34:
        ao = median.rolling(5).mean() - median.rolling(34).mean()
        ao_x, ao_y = x.iloc[33:].reset_index(drop=True), ao.iloc[33:].reset_index(drop=True)
        out.line(inp, "AO", ao_x, ao_y)
        ac = ao_y - ao_y.rolling(5).mean()
        out.line(inp, "AC", ao_x.iloc[4:], ac.iloc[4:])
    lines = {}
    for name, period, shift in (("Jaw", 13, 8), ("Teeth", 8, 5), ("Lips", 5, 3)):
        lines[name] = (list(x.iloc[period - 1:] + shift), list(wilder(median, period)))
        out.line(inp, name, *lines[name])
    jx, jaw = lines["Jaw"]
    teeth, lips = lines["Teeth"][1], lines["Lips"][1]
    out.line(inp, "GatorUpper", jx, [abs(jaw[j] - teeth[j]) for j in range(len(jaw))])
    out.line(inp, "GatorLower", jx, [-abs(teeth[j] - lips[j]) for j in range(len(jaw))])


def mode(values):
    return min(statistics.multimode(values))


PERIOD_FUNCS = {
    "Add": math.fsum,
    "High": max,
    "Low": min,
    "Average": statistics.fmean,
    "Median": statistics.median,
    "Mode": mode,
}


def periods(out, inp, d, period=7):
    """Periods of `period` points (the last takes the rest), at the centre X; the
    values of null points skipped when nulls are left out."""
    x, c, null = list(d["X"]), list(d["Close"]), list(d["Null"])
    for include in (True, False):
        for name, f in PERIOD_FUNCS.items():
            xs, ys = [], []
            for first in range(0, len(c), period):
                last = min(len(c), first + period) - 1
                vals = [c[i] for i in range(first, last + 1) if include or not null[i]]
                xs.append((x[first] + x[last]) / 2)
                ys.append(f(vals) if vals else 0.0)
            out.line(inp, "%s %d %s" % (name, period, "nulls" if include else "nonulls"), xs, ys)


def main():
    outs = {k: Writer(k) for k in ("averages", "bands", "oscillators", "periods")}
    for inp in INPUTS:
        d = load(inp)
        averages(outs["averages"], inp, d)
        bands(outs["bands"], inp, d)
        oscillators(outs["oscillators"], inp, d)
        periods(outs["periods"], inp, d)
    for o in outs.values():
        o.close()


if __name__ == "__main__":
    main()
