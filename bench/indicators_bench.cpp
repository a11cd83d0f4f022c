// The analysis functions on one 1 000 000-bar OHLCV walk: each indicator by our
// kernels over plain arrays, by a full recalculation of a series that owns the
// function (where the function class is built), and by pandas/numpy in the same run
// on the same data (/usr/bin/python3, the data handed over in a temporary file).
// Prints the times, the ratios (kernel and series against pandas, series against
// kernel) and the largest relative difference from pandas.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/financial_kernels.h"
#include "analysis/func_financial.h"
#include "analysis/func_moving.h"
#include "analysis/func_oscillators.h"
#include "analysis/func_stats.h"
#include "analysis/kernels.h"
#include "analysis/unit.h"
#include "bench_chart.h"
#include "bench_timing.h"
#include "chart/series.h"
#include "engine/panel.h"
#include "platform/sysfiles.h"

namespace {

constexpr int Bars = 1000000, Runs = 5;
using Values = std::vector<double>;
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct TWalk {
  Values O, H, L, C, V;
  TWalk() {
    std::mt19937 random(11);
    std::normal_distribution<double> step(0, 1);
    std::uniform_real_distribution<double> volume(1000, 50000);
    double price = 1000;
    for (int i = 0; i < Bars; ++i) {
      O.push_back(price);
      price = std::max(1.0, price + step(random));
      C.push_back(price);
      H.push_back(std::max(O.back(), price) + std::fabs(step(random)));
      L.push_back(std::min(O.back(), price) - std::fabs(step(random)));
      V.push_back(std::round(volume(random)));
    }
  }
};

// A kernel's results at their bars: NaN before the first.
Values Placed(const Values& Results) {
  Values out(size_t(Bars) - Results.size(), NaN);
  out.insert(out.end(), Results.begin(), Results.end());
  return out;
}

// Runs a financial kernel writing into an array of the bars' length.
template <class F>
Values Filled(F Kernel) {
  Values out(Bars, NaN);
  Kernel(out.data());
  return out;
}

struct TRow {
  const char* Name;
  std::function<Values(const TWalk&)> Kernel;
  // The function a series owns for the same figure; empty while the class is not built.
  std::function<TLumFunction*()> Function;
  // Python computing r (numpy array of the bars' length, or one value) from the
  // numpy arrays o h l c v and the pandas Series O H L C V.
  const char* Pandas;
};

const double Sample = Bars - 1.0;

std::vector<TRow> Rows() {
  namespace K = FinancialKernels;
  auto sma = [](int N) { return [N](const TWalk& W) { return Placed(Kernels::MovingAverage(W.C, N)); }; };
  auto ema = [](const Values& X, int Span) { return Kernels::ExpAverage(X, 2.0 / (Span + 1)); };
  // A moving average of period N, weighted by place or not.
  auto average = [](int N, bool ByPlace) {
    return [N, ByPlace]() -> TLumFunction* {
      auto* f = new TMovingAverageFunction(nullptr);
      f->SetPeriod(N);
      f->SetWeightedIndex(ByPlace);
      return f;
    };
  };
  return {
      {"SMA(20)", sma(20), average(20, false), "r = C.rolling(20).mean().to_numpy()"},
      {"SMA(2000)", sma(2000), average(2000, false), "r = C.rolling(2000).mean().to_numpy()"},
      {"WMA(20)", [](const TWalk& W) { return Placed(Kernels::MovingWeightedIndex(W.C, 20)); }, average(20, true),
       "w = np.arange(1, 21.0); r = np.concatenate([np.full(19, np.nan), np.convolve(c, w[::-1], 'valid') / w.sum()])"},
      {"EMA(20)", [ema](const TWalk& W) { return ema(W.C, 20); },
       [] {
         auto* f = new TExpMovAveFunction(nullptr);
         f->SetPeriod(20);
         return f;
       },
       "r = C.ewm(span=20, adjust=False).mean().to_numpy()"},
      {"MACD(12,26)",
       [ema](const TWalk& W) {
         Values fast = ema(W.C, 12);
         const Values slow = ema(W.C, 26);
         for (size_t i = 0; i < fast.size(); ++i) fast[i] -= slow[i];
         return fast;
       },
       [] { return new TMACDFunction(nullptr); },
       "r = (C.ewm(span=12, adjust=False).mean() - C.ewm(span=26, adjust=False).mean()).to_numpy()"},
      {"SD(20)", [](const TWalk& W) {
         Values v = Kernels::MovingVariance(W.C, 20, 1);
         for (double& x : v) x = std::sqrt(x);
         return Placed(v);
       }, nullptr, "r = C.rolling(20).std().to_numpy()"},
      {"Bollinger(20,2)", [](const TWalk& W) {
         Values mean = Kernels::MovingAverage(W.C, 20);
         const Values var = Kernels::MovingVariance(W.C, 20, 0);
         for (size_t i = 0; i < mean.size(); ++i) mean[i] += 2 * std::sqrt(var[i]);
         return Placed(mean);
       },
       [] {
         auto* f = new TBollingerFunction(nullptr);
         f->SetPeriod(20);
         f->SetExponential(false);
         return f;
       },
       "r = (C.rolling(20).mean() + 2 * C.rolling(20).std(ddof=0)).to_numpy()"},
      {"skewness", [](const TWalk& W) {
         const double s = Kernels::StdDev(W.C, Sample), d = Sample * s * s * s;
         return Values{d == 0 ? 0 : Kernels::DeviationSums(W.C, Kernels::Mean(W.C)).S3 / d};
       }, [] { return new TSkewnessFunction(nullptr); }, "m = c.mean(); s = c.std(ddof=1); r = np.array([((c - m) ** 3).sum() / ((len(c) - 1) * s ** 3)])"},
      {"R.S.I.(15)",
       [](const TWalk& W) { return Filled([&](double* o) { K::RSI(W.O.data(), W.C.data(), Bars, 15, true, o); }); },
       [] {
         auto* f = new TRSIFunction(nullptr);
         f->SetPeriod(15);
         f->SetStyle(rsiClose);
         return f;
       },
       "d = C.diff(); g = d.clip(lower=0).rolling(14).sum(); l = (-d).clip(lower=0).rolling(14).sum();"
       " r = (100 * g / (g + l)).to_numpy()"},
      {"ATR(14)",
       [](const TWalk& W) {
         return Filled([&](double* o) { K::ATR(W.H.data(), W.L.data(), W.C.data(), Bars, 14, o); });
       },
       [] { return new TATRFunction(nullptr); },
       "r = np.full(len(c), np.nan); r[13:] = wilder(truerange(), 14)"},
      {"ADX(14)",
       [](const TWalk& W) {
         Values up(Bars), down(Bars);
         int lines;
         return Filled([&](double* o) {
           K::ADX(W.H.data(), W.L.data(), W.C.data(), Bars, 14, up.data(), down.data(), o, lines);
         });
       },
       [] { return new TADXFunction(nullptr); }, "r = adx(14)"},
      {"stochastic(14)",
       [](const TWalk& W) {
         return Filled([&](double* o) { K::Stochastic(W.H.data(), W.L.data(), W.C.data(), Bars, 14, o); });
       },
       [] {
         auto* f = new TStochasticFunction(nullptr);
         f->SetPeriod(14);
         return f;
       },
       "lo = L.rolling(14).min(); r = (100 * (C - lo) / (H.rolling(14).max() - lo)).to_numpy()"},
      {"money flow(21)",
       [](const TWalk& W) {
         return Filled([&](double* o) {
           K::MoneyFlow(W.H.data(), W.L.data(), W.C.data(), Bars, W.V.data(), Bars, 21, o);
         });
       },
       [] { return new TMoneyFlowFunction(nullptr); },
       "flat = h == l; clv = np.where(flat, 1.0, ((c - l) - (h - c)) / np.where(flat, 1.0, h - l));"
       " r = (pd.Series(clv * v).rolling(22, min_periods=1).sum() / V.rolling(22, min_periods=1).sum()).to_numpy()"},
  };
}

// The pandas side: one script timing every row, each result saved beside the data.
const char* PythonPrelude = R"(import sys, time
import numpy as np, pandas as pd
d = np.fromfile(sys.argv[1] + '/walk.f64').reshape(5, -1); o, h, l, c, v = d
O, H, L, C, V = (pd.Series(x) for x in d)
runs = int(sys.argv[2])
def truerange():
    pc = np.concatenate([[c[0]], c[:-1]])
    tr = np.maximum(h - l, np.maximum(np.abs(h - pc), np.abs(l - pc))); tr[0] = h[0] - l[0]
    return tr
def wilder(x, p):  # mean of the first p, then alpha 1/p
    s = pd.Series(x[p - 1:].copy()); s.iloc[0] = x[:p].mean()
    return s.ewm(alpha=1.0 / p, adjust=False).mean().to_numpy()
def adx(p):
    up = np.diff(h); dn = -np.diff(l); tr = truerange()[1:]
    pdm = np.where((up > dn) & (up > 0), up, 0.0); mdm = np.where((dn > up) & (dn > 0), dn, 0.0)
    s = wilder(tr, p); pdi = 100 * wilder(pdm, p) / s; mdi = 100 * wilder(mdm, p) / s
    dx = 100 * np.abs(pdi - mdi) / (pdi + mdi)
    k = 2 * p - 2; x = dx[k - p:].copy(); x[0] = dx[:k - p + 1].mean()
    r = np.full(len(c), np.nan); r[k:] = pd.Series(x).ewm(alpha=1.0 / p, adjust=False).mean().to_numpy()
    return r
def bench(name, f):
    t = []
    for _ in range(runs):
        s = time.perf_counter(); r = f(); t.append((time.perf_counter() - s) * 1000)
    t.sort(); np.asarray(r, dtype=np.float64).tofile(sys.argv[1] + '/' + name + '.out')
    print(name, t[len(t) // 2], flush=True)
)";

// Largest |a - b| / max(1, |b|) where both are numbers, comparing the ends of the
// two arrays (a series holds only the bars with a result).
double LargestDifference(const Values& A, const Values& B) {
  double worst = 0;
  for (size_t i = 1; i <= std::min(A.size(), B.size()); ++i) {
    const double a = A[A.size() - i], b = B[B.size() - i];
    if (std::isfinite(a) && std::isfinite(b)) worst = std::max(worst, std::fabs(a - b) / std::max(1.0, std::fabs(b)));
  }
  return worst;
}

// Runs the pandas side: milliseconds by row name, results read back. A missing
// pandas leaves both empty and says why in Reason.
std::map<std::string, double> RunPandas(const TWalk& W, const std::vector<TRow>& Rows,
                                        std::map<std::string, Values>& Results, std::string& Reason) {
  std::map<std::string, double> ms;
  if (std::system("/usr/bin/python3 -c 'import pandas, numpy' >/dev/null 2>&1") != 0) {
    Reason = "/usr/bin/python3 has no pandas/numpy (Debian's python3-pandas)";
    return ms;
  }
  const std::string dir = PrivateTempFolder();
  {
    std::ofstream data(dir + "/walk.f64", std::ios::binary);
    for (const Values* x : {&W.O, &W.H, &W.L, &W.C, &W.V})
      data.write(reinterpret_cast<const char*>(x->data()), std::streamsize(x->size() * sizeof(double)));
    std::ofstream script(dir + "/indicators.py");
    script << PythonPrelude;
    for (size_t i = 0; i < Rows.size(); ++i)
      script << "def row" << i << "():\n    " << Rows[i].Pandas << "\n    return r\n"
             << "bench('row" << i << "', row" << i << ")\n";
  }
  FILE* p = popen(("/usr/bin/python3 " + dir + "/indicators.py " + dir + " " + std::to_string(Runs)).c_str(), "r");
  if (!p) {
    Reason = "python3 could not be started";
    return ms;
  }
  char name[64];
  double t;
  while (std::fscanf(p, "%63s %lf", name, &t) == 2) {
    const size_t i = std::stoul(name + 3);
    ms[Rows[i].Name] = t;
    std::ifstream in(dir + "/" + name + ".out", std::ios::binary | std::ios::ate);
    Values r(size_t(in.tellg()) / sizeof(double));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(r.data()), std::streamsize(r.size() * sizeof(double)));
    Results[Rows[i].Name] = std::move(r);
  }
  if (pclose(p) != 0 && ms.empty()) Reason = "the pandas script failed";
  return ms;
}

}  // namespace

int main() {
  StartChartUnits();
  BasicFunctionsUnitInit();
  CLVFunctionUnitInit();
  CandleUnitInit();
  StatisticsUnitInit();
  {
    const TWalk walk;
    const std::vector<TRow> rows = Rows();

    TCustomAxisPanel chart(nullptr);
    auto* bars = static_cast<TOHLCSeries*>(chart.AddSeriesOfClass(TOHLCSeries::StaticClass()));
    auto* volume = chart.AddSeriesOfClass(TVolumeSeries::StaticClass());
    bars->BeginUpdate();
    volume->BeginUpdate();
    for (int i = 0; i < Bars; ++i) {
      bars->AddOHLC(i, walk.O[size_t(i)], walk.H[size_t(i)], walk.L[size_t(i)], walk.C[size_t(i)]);
      volume->AddXY(i, walk.V[size_t(i)]);
    }
    bars->EndUpdate();
    volume->EndUpdate();

    std::map<std::string, Values> pandas;
    std::string reason;
    const std::map<std::string, double> pandasMs = RunPandas(walk, rows, pandas, reason);

    std::printf("analysis functions, one OHLCV walk of %d bars; medians of %d runs, ms\n", Bars, Runs);
    std::printf("%-16s %9s %9s %9s %14s %14s %14s %13s\n", "", "kernel", "series", "pandas", "kernel/pandas",
                "series/pandas", "series/kernel", "largest diff");
    std::map<std::string, double> kernelMs;
    for (const TRow& row : rows) {
      Values ours;
      const double k = MedianMicroseconds(Runs, [&] { ours = row.Kernel(walk); }) / 1000.0;
      kernelMs[row.Name] = k;
      char series[16] = "-", ratio[16] = "-", diff[16] = "-", py[16] = "-", seriesRatio[16] = "-",
           seriesPandas[16] = "-";
      double seriesMs = -1;
      double worst = 0;
      if (row.Function) {
        auto* out = chart.AddSeriesOfClass(TFastLineSeries::StaticClass());
        TLumFunction* f = row.Function();
        if (auto* clv = dynamic_cast<TCLVFunction*>(f)) clv->SetVolume(volume);
        out->SetFunction(f);
        out->SetDataSource(bars);
        const double s = seriesMs = MedianMicroseconds(Runs, [&] { out->RefreshSeries(); }) / 1000.0;
        std::snprintf(series, sizeof series, "%.1f", s);
        std::snprintf(seriesRatio, sizeof seriesRatio, "%.2f", s / k);
        worst = LargestDifference(out->YValues()->Values(), ours);
        delete out;
      }
      if (pandasMs.count(row.Name)) {
        std::snprintf(py, sizeof py, "%.1f", pandasMs.at(row.Name));
        std::snprintf(ratio, sizeof ratio, "%.2f", k / pandasMs.at(row.Name));
        if (seriesMs >= 0) std::snprintf(seriesPandas, sizeof seriesPandas, "%.2f", seriesMs / pandasMs.at(row.Name));
        worst = std::max(worst, LargestDifference(ours, pandas.at(row.Name)));
        std::snprintf(diff, sizeof diff, "%.1e", worst);
      }
      std::printf("%-16s %9.1f %9s %9s %14s %14s %14s %13s\n", row.Name, k, series, py, ratio, seriesPandas, seriesRatio,
                  diff);
    }
    if (!reason.empty()) std::printf("pandas: not measured: %s\n", reason.c_str());
    std::printf("SMA(2000) / SMA(20), kernels: %.2f\n", kernelMs["SMA(2000)"] / kernelMs["SMA(20)"]);
    std::printf("(series: a full recalculation of a series owning the function; largest diff: relative to\n"
                " max(1, |pandas|), over the series' and the kernel's results; '-': not built or not measured)\n");
  }
  RemovePrivateTempFolder();
  StatisticsUnitDone();
  CandleUnitDone();
  CLVFunctionUnitDone();
  BasicFunctionsUnitDone();
  ChartUnitDone();
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
