"""Expected values of the moving and statistical functions, from pandas, scipy and
Python's statistics module, over the windows the function framework cuts.

Writes analysis/tests/data/expected_moving.csv with the columns Input,Case,X,Y
(17 significant digits), one row per output point in order. A moving function of period P gives one result per full
window, at the window's last X; a period function (standard deviation, RMS,
variance, skewness, kurtosis) gives one per block of P points (the last block takes
what is left; P 0 is the whole source), at the block's middle X.
"""
import csv
import math
import os
import statistics

import pandas as pd
from scipy import stats

DATA = os.path.join(os.path.dirname(__file__), "..", "..", "analysis", "tests", "data")
INPUTS = ["table_b", "walk1", "walk2"]


def fmt(v):
    return "%.17g" % v


def blocks(n, p):
    if p < 1:
        return [(0, n - 1)]
    return [(f, min(n - 1, f + p - 1)) for f in range(0, n, p)]


def moving_cases(x, c):
    """(case, series of results indexed like the source; NaN where no window)."""
    out = []
    for p in (1, 5, 20):
        out.append(("sma_%d" % p, c.rolling(p).mean()))
    for p in (2, 10):
        prev = c.shift(p)
        out.append(("pctchange_%d" % p, (c.pct_change(p) * 100).where(prev.notna(), 0.0)
                    .where(c.index >= p - 1)))
        slope = (c.diff(p) / x.diff(p)).where(prev.notna(), 0.0).where(c.index >= p - 1)
        out.append(("slope_%d" % p, slope))
    perf = (c - c.iloc[0]) * 100 / c.iloc[0]
    out.append(("performance_5", perf.where(c.index >= 4)))
    return out


def block_cases(x, c):
    vals = list(c)
    rows = []
    for p in (0, 20):
        for f, l in blocks(len(vals), p):
            w = vals[f:l + 1]
            at = (x.iloc[f] + x.iloc[l]) / 2
            n = len(w)
            rows.append(("stddev_%d" % p, at, statistics.stdev(w) if n >= 2 else 0.0))
            rows.append(("stddevcomplete_%d" % p, at, statistics.pstdev(w) if n >= 2 else 0.0))
            rms = math.sqrt(math.fsum(v * v for v in w) / (n - 1)) if n >= 2 else 0.0
            rmsc = math.sqrt(math.fsum(v * v for v in w) / n) if n >= 2 else 0.0
            rows.append(("rms_%d" % p, at, rms))
            rows.append(("rmscomplete_%d" % p, at, rmsc))
            rows.append(("variance_%d" % p, at, statistics.pvariance(w)))
            # The whole source whatever the block.
            N = len(vals)
            rows.append(("skewness_%d" % p, at, stats.skew(vals, bias=True) * math.sqrt((N - 1) / N)))
            rows.append(("kurtosis_%d" % p, at, stats.kurtosis(vals, fisher=False, bias=True) * (N - 1) / N))
    return rows


def main():
    rows = []
    for name in INPUTS:
        df = pd.read_csv(os.path.join(DATA, "input_%s.csv" % name))
        x, c = df["X"], df["Close"]
        cases = []
        for case, s in moving_cases(x, c):
            cases += [(case, x.iloc[i], v) for i, v in enumerate(s) if not math.isnan(v)]
        cases += block_cases(x, c)
        rows += [[name, case, fmt(at), fmt(v)] for case, at, v in cases]
    with open(os.path.join(DATA, "expected_moving.csv"), "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["Input", "Case", "X", "Y"])
        w.writerows(rows)


if __name__ == "__main__":
    main()
