#include "analysis/financial_kernels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/kernels.h"

namespace FinancialKernels {

namespace {

// Sums of each window of N terms, and their counts of non-zero terms: a window
// without any is exactly 0, not the residue a sliding sum may leave.
std::vector<double> WindowSums(const std::vector<double>& Terms, int N) {
  std::vector<double> sums = Kernels::MovingSums(Terms, N), nonZero(Terms.size());
  for (size_t i = 0; i < Terms.size(); ++i) nonZero[i] = Terms[i] != 0;
  const std::vector<double> counts = Kernels::MovingSums(nonZero, N);
  for (size_t k = 0; k < sums.size(); ++k)
    if (counts[k] == 0) sums[k] = 0;
  return sums;
}

// One bar's contribution to the R.S.I. sums: the gain or loss (as a positive
// magnitude for rises and falls) at index k.
inline void RSITerm(const double* O, const double* C, int k, bool CloseToClose, double& Gain, double& Loss) {
  Gain = Loss = 0;
  if (CloseToClose) {
    const double d = C[k] - C[k - 1];
    if (d >= 0) Gain = d;
    else Loss = -d;
  } else if (O[k] > C[k]) {
    Loss = C[k];
  } else {
    Gain = C[k];
  }
}

double RSIValue(double Gains, double Losses, int Points) {
  if (Losses == 0) return 100;
  const double rs = std::fabs((Gains / Points) / (Losses / Points));
  return std::clamp(100 - 100 / (1 + rs), 0.0, 100.0);
}

inline double StochasticValue(double V, double Lo, double Hi) { return Hi == Lo ? 0 : 100 * (V - Lo) / (Hi - Lo); }

}  // namespace

int PeriodPoints(double P) { return int(std::lround(P)); }

void TrueRange(const double* H, const double* L, const double* C, int n, double* TR) {
  if (n > 0) TR[0] = H[0] - L[0];
  for (int i = 1; i < n; ++i)
    TR[i] = std::max({H[i] - L[i], std::fabs(H[i] - C[i - 1]), std::fabs(L[i] - C[i - 1])});
}

int ATR(const double* H, const double* L, const double* C, int n, double P, double* Out) {
  if (P < 1 || P > n) return n;
  const int p = PeriodPoints(P);
  std::vector<double> tr(static_cast<size_t>(n));
  TrueRange(H, L, C, n, tr.data());
  double s = 0;
  for (int i = 0; i < n; ++i) {
    if (i < p - 1) {
      s += tr[size_t(i)];
      continue;
    }
    if (i > p - 1) s *= P - 1;
    s = Out[i] = (s + tr[size_t(i)]) / P;
  }
  return std::max(p - 1, 0);
}

int ADX(const double* H, const double* L, const double* C, int n, double P, double* Up, double* Down,
        double* Out, int& LinesFirst) {
  LinesFirst = n;
  if (P < 2 || n < 2 * P) return n;
  const int p = PeriodPoints(P), k = PeriodPoints(2 * P - 2);
  const size_t count = static_cast<size_t>(n);
  std::vector<double> tr(count), plus(count), minus(count), dx(count);
  TrueRange(H, L, C, n, tr.data());
  for (int i = 1; i < n; ++i) {
    const double up = H[i] - H[i - 1], down = L[i - 1] - L[i];
    plus[size_t(i)] = up > down ? std::max(up, 0.0) : 0;
    minus[size_t(i)] = down > up ? std::max(down, 0.0) : 0;
  }
  // Wilder's sums: the plain sums over 1..p, then S - S/P + value.
  double sTR = 0, sPlus = 0, sMinus = 0;
  for (int i = 1; i <= p; ++i) {
    sTR += tr[size_t(i)];
    sPlus += plus[size_t(i)];
    sMinus += minus[size_t(i)];
  }
  for (int i = p; i < n; ++i) {
    if (i > p) {
      sTR = sTR - sTR / P + tr[size_t(i)];
      sPlus = sPlus - sPlus / P + plus[size_t(i)];
      sMinus = sMinus - sMinus / P + minus[size_t(i)];
    }
    Up[i] = sTR == 0 ? 0 : 100 * sPlus / sTR;
    Down[i] = sTR == 0 ? 0 : 100 * sMinus / sTR;
    const double sum = Up[i] + Down[i];
    dx[size_t(i)] = sum == 0 ? 0 : 100 * std::fabs(Up[i] - Down[i]) / sum;
  }
  LinesFirst = p;
  double adx = 0;
  for (int j = p; j <= k; ++j) adx += dx[size_t(j)];
  adx /= P - 1;
  Out[k] = adx;
  for (int i = k + 1; i < n; ++i) Out[i] = adx = ((P - 1) * adx + dx[size_t(i)]) / P;
  return k;
}

double RSIWindow(const double* O, const double* C, int First, int Last, bool CloseToClose) {
  double gains = 0, losses = 0, g, l;
  for (int k = CloseToClose ? First + 1 : First; k <= Last; ++k) {
    RSITerm(O, C, k, CloseToClose, g, l);
    gains += g;
    losses += l;
  }
  return RSIValue(gains, losses, Last - First + 1);
}

int RSI(const double* O, const double* C, int n, int w, bool CloseToClose, double* Out) {
  if (w < 1 || w > n) return n;
  // A window's terms: those of its points, less the first close to close.
  const int skip = CloseToClose ? 1 : 0, terms = w - skip;
  if (terms == 0) {
    std::fill(Out, Out + n, 100.0);  // one close: nothing rose or fell
    return 0;
  }
  std::vector<double> gain(static_cast<size_t>(n - skip)), loss(gain.size());
  for (int k = skip; k < n; ++k) RSITerm(O, C, k, CloseToClose, gain[size_t(k - skip)], loss[size_t(k - skip)]);
  const std::vector<double> gains = WindowSums(gain, terms), losses = WindowSums(loss, terms);
  for (size_t k = 0; k < gains.size(); ++k) Out[k + size_t(w - 1)] = RSIValue(gains[k], losses[k], w);
  return w - 1;
}

double StochasticWindow(const double* H, const double* L, const double* V, int First, int Last) {
  double hi = H[First], lo = L[First];
  for (int i = First + 1; i <= Last; ++i) {
    hi = std::max(hi, H[i]);
    lo = std::min(lo, L[i]);
  }
  return StochasticValue(V[Last], lo, hi);
}

int Stochastic(const double* H, const double* L, const double* V, int n, int w, double* Out) {
  if (w < 1 || w > n) return n;
  const std::vector<double> hi = Kernels::MovingMax({H, size_t(n)}, w), lo = Kernels::MovingMin({L, size_t(n)}, w);
  for (size_t k = 0; k < hi.size(); ++k) Out[k + size_t(w - 1)] = StochasticValue(V[k + size_t(w - 1)], lo[k], hi[k]);
  return w - 1;
}

double CLVValue(double H, double L, double C) { return H == L ? 1 : ((C - L) - (H - C)) / (H - L); }

int CLV(const double* H, const double* L, const double* C, int n, const double* Volume, int VolumeCount,
        bool Accumulate, double* Out) {
  for (int i = 0; i < n; ++i) {
    double clv = CLVValue(H[i], L[i], C[i]);
    if (Volume && i < VolumeCount) clv *= Volume[i];
    if (Accumulate && i > 0) clv += Out[i - 1];
    Out[i] = clv;
  }
  return 0;
}

int MoneyFlow(const double* H, const double* L, const double* C, int n, const double* Volume, int VolumeCount,
              int p, double* Out) {
  std::vector<double> flow(static_cast<size_t>(n)), volume(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) {
    volume[size_t(j)] = j < VolumeCount ? Volume[j] : 0.0;
    flow[size_t(j)] = CLVValue(H[j], L[j], C[j]) * volume[size_t(j)];
  }
  auto ratio = [](double Flow, double Volume) { return Volume == 0 ? 0 : Flow / Volume; };
  // The windows that start at the first bar grow; the rest slide.
  const int full = std::max(p + 1, 1);
  Kernels::TCompensatedSum flows, volumes;
  for (int i = 0; i < std::min(n, full - 1); ++i) {
    flows.Add(flow[size_t(i)]);
    volumes.Add(volume[size_t(i)]);
    Out[i] = ratio(flows.Value(), volumes.Value());
  }
  const std::vector<double> flowSums = WindowSums(flow, full), volumeSums = WindowSums(volume, full);
  for (size_t k = 0; k < flowSums.size(); ++k) Out[k + size_t(full - 1)] = ratio(flowSums[k], volumeSums[k]);
  return 0;
}

int RVI(const double* O, const double* H, const double* L, const double* C, int n, double P, double* Out,
        double* Signal, int& SignalFirst) {
  SignalFirst = n;
  if (P < 2 || P > n) return n;
  const int w = PeriodPoints(P);
  std::vector<double> vigor(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) vigor[size_t(i)] = H[i] == L[i] ? 0 : (C[i] - O[i]) / (H[i] - L[i]);
  const std::vector<double> line = Kernels::MovingAverage(vigor, w);
  std::copy(line.begin(), line.end(), Out + (w - 1));
  constexpr int SignalPoints = 4;
  const std::vector<double> signal = Kernels::MovingAverage(line, SignalPoints);
  if (signal.empty()) return w - 1;
  SignalFirst = w - 1 + SignalPoints - 1;
  std::copy(signal.begin(), signal.end(), Signal + SignalFirst);
  return w - 1;
}

}  // namespace FinancialKernels
