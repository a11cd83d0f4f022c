#include "analysis/financial_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/kernels.h"

namespace FinancialKernels {

namespace {

// The sum of each window of N terms (Term(i) the i-th), window K = 0, 1, 2, ... in
// turn, with the count of its non-zero terms: a window without any is exactly 0,
// not the residue a sliding sum may leave.
template <class F>
class TTermSums {
public:
  TTermSums(F Term, int N) : term_(Term), n_(N) {}
  double Next(size_t K) {
    if (K == 0) {
      for (size_t j = 0; j < size_t(n_); ++j) nonZero_ += term_(j) != 0;
    } else {
      nonZero_ += int(term_(K + size_t(n_) - 1) != 0) - int(term_(K - 1) != 0);
    }
    const double sum = sum_.Next(term_, K, n_);
    return nonZero_ == 0 ? 0 : sum;
  }

private:
  F term_;
  int n_;
  int nonZero_ = 0;
  Kernels::TWindowSum sum_;
};

// One bar's contribution to the R.S.I. sums: the gain or loss (as a positive
// magnitude for rises and falls) at index k.
// (Selections, not branches: rises and falls come in no order a branch could guess.)
inline void RSITerm(const double* O, const double* C, int k, bool CloseToClose, double& Gain, double& Loss) {
  if (CloseToClose) {
    const double d = C[k] - C[k - 1];
    const bool rise = d >= 0;
    Gain = rise ? d : 0;
    Loss = rise ? 0 : -d;
  } else {
    const bool fall = O[k] > C[k];
    Gain = fall ? 0 : C[k];
    Loss = fall ? C[k] : 0;
  }
}

// 100 with no losses, else 100 - 100 / (1 + RS) kept within 0..100.
inline double RSIValue(double Gains, double Losses, int Points) {
  if (Losses == 0) return 100;
  const double rs = std::fabs((Gains / Points) / (Losses / Points));
  return std::clamp(100 - 100 / (1 + rs), 0.0, 100.0);
}

// RSIValue of M pairs, two at a time: the same operations on each lane (so the
// same results), the four divisions of a pair in one instruction each.
void RSIValues(const double* Gains, const double* Losses, size_t M, int Points, double* Out) {
  using V2 = double __attribute__((vector_size(16)));
  using M2 = long long __attribute__((vector_size(16)));
  const V2 p = {double(Points), double(Points)}, zero = {0, 0}, one = {1, 1}, hundred = {100, 100};
  const M2 noSign = {0x7FFFFFFFFFFFFFFF, 0x7FFFFFFFFFFFFFFF};
  size_t j = 0;
  for (; j + 2 <= M; j += 2) {
    V2 g, l;
    std::memcpy(&g, Gains + j, sizeof g);
    std::memcpy(&l, Losses + j, sizeof l);
    const M2 none = l == zero;
    const V2 safe = none ? one : l;  // a divisor for lanes whose result is 100 anyway
    const V2 ratio = (g / p) / (safe / p);
    const V2 rs = V2(M2(ratio) & noSign);
    V2 v = hundred - hundred / (one + rs);
    v = v < zero ? zero : hundred < v ? hundred : v;  // std::clamp's comparisons
    v = none ? hundred : v;
    std::memcpy(Out + j, &v, sizeof v);
  }
  for (; j < M; ++j) Out[j] = RSIValue(Gains[j], Losses[j], Points);
}

inline double StochasticValue(double V, double Lo, double Hi) { return Hi == Lo ? 0 : 100 * (V - Lo) / (Hi - Lo); }

}  // namespace

int PeriodPoints(double P) { return int(std::lround(P)); }

namespace {
inline double TrueRangeAt(const double* H, const double* L, const double* C, int i) {
  return i == 0 ? H[0] - L[0] : std::max({H[i] - L[i], std::fabs(H[i] - C[i - 1]), std::fabs(L[i] - C[i - 1])});
}
}  // namespace

void TrueRange(const double* H, const double* L, const double* C, int n, double* TR) {
  for (int i = 0; i < n; ++i) TR[i] = TrueRangeAt(H, L, C, i);
}

int ATR(const double* H, const double* L, const double* C, int n, double P, double* Out) {
  if (P < 1 || P > n) return n;
  const int p = PeriodPoints(P);
  double s = 0;
  for (int i = 0; i < n; ++i) {
    const double tr = TrueRangeAt(H, L, C, i);
    if (i < p - 1) {
      s += tr;
      continue;
    }
    if (i > p - 1) s *= P - 1;
    s = Out[i] = (s + tr) / P;
  }
  return std::max(p - 1, 0);
}

int ADX(const double* H, const double* L, const double* C, int n, double P, double* Up, double* Down,
        double* Out, int& LinesFirst) {
  LinesFirst = n;
  if (P < 2 || n < 2 * P) return n;
  const int p = PeriodPoints(P), k = PeriodPoints(2 * P - 2);  // p <= k < n
  // Each bar's true range and directional movements, worked out where they are summed.
  auto plus = [=](int i) {
    const double up = H[i] - H[i - 1], down = L[i - 1] - L[i];
    return up > down ? std::max(up, 0.0) : 0;
  };
  auto minus = [=](int i) {
    const double up = H[i] - H[i - 1], down = L[i - 1] - L[i];
    return down > up ? std::max(down, 0.0) : 0;
  };
  // Wilder's sums: the plain sums over 1..p, then S - S/P + value.
  double sTR = 0, sPlus = 0, sMinus = 0;
  for (int i = 1; i <= p; ++i) {
    sTR += TrueRangeAt(H, L, C, i);
    sPlus += plus(i);
    sMinus += minus(i);
  }
  // ADX: the mean of the directional indexes p..k, then smoothed.
  double adx = 0;
  for (int i = p; i < n; ++i) {
    if (i > p) {
      sTR = sTR - sTR / P + TrueRangeAt(H, L, C, i);
      sPlus = sPlus - sPlus / P + plus(i);
      sMinus = sMinus - sMinus / P + minus(i);
    }
    Up[i] = sTR == 0 ? 0 : 100 * sPlus / sTR;
    Down[i] = sTR == 0 ? 0 : 100 * sMinus / sTR;
    const double sum = Up[i] + Down[i];
    const double dx = sum == 0 ? 0 : 100 * std::fabs(Up[i] - Down[i]) / sum;
    if (i < k) {
      adx += dx;
    } else if (i == k) {
      adx = (adx + dx) / (P - 1);
      Out[k] = adx;
    } else {
      Out[i] = adx = ((P - 1) * adx + dx) / P;
    }
  }
  LinesFirst = p;
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
  // The terms in one pass (selections on vectors), then both sums over them.
  std::vector<double> gain(static_cast<size_t>(n - skip)), loss(gain.size());
  for (int k = skip; k < n; ++k) RSITerm(O, C, k, CloseToClose, gain[size_t(k - skip)], loss[size_t(k - skip)]);
  TTermSums gains([&gain](size_t j) { return gain[j]; }, terms);
  TTermSums losses([&loss](size_t j) { return loss[j]; }, terms);
  // The sums a block of windows at a time, then their values together.
  constexpr size_t Block = 256;
  double g[Block], l[Block];
  const size_t windows = size_t(n - w + 1);
  for (size_t k0 = 0; k0 < windows; k0 += Block) {
    const size_t m = std::min(Block, windows - k0);
    for (size_t j = 0; j < m; ++j) {
      g[j] = gains.Next(k0 + j);
      l[j] = losses.Next(k0 + j);
    }
    RSIValues(g, l, m, w, Out + k0 + size_t(w - 1));
  }
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
  std::vector<double> flowTerms(static_cast<size_t>(n)), volumeTerms(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) {
    volumeTerms[size_t(j)] = j < VolumeCount ? Volume[j] : 0.0;
    flowTerms[size_t(j)] = CLVValue(H[j], L[j], C[j]) * volumeTerms[size_t(j)];
  }
  const auto volume = [&volumeTerms](size_t j) { return volumeTerms[j]; };
  const auto flow = [&flowTerms](size_t j) { return flowTerms[j]; };
  auto ratio = [](double Flow, double Volume) { return Volume == 0 ? 0 : Flow / Volume; };
  // The windows that start at the first bar grow; the rest slide.
  const int full = std::max(p + 1, 1);
  Kernels::TCompensatedSum flows, volumes;
  for (int i = 0; i < std::min(n, full - 1); ++i) {
    flows.Add(flow(size_t(i)));
    volumes.Add(volume(size_t(i)));
    Out[i] = ratio(flows.Value(), volumes.Value());
  }
  TTermSums flowSums(flow, full);
  TTermSums volumeSums(volume, full);
  for (size_t k = 0; k + size_t(full) <= size_t(n); ++k) {
    const double f = flowSums.Next(k);
    Out[k + size_t(full - 1)] = ratio(f, volumeSums.Next(k));
  }
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
