#include "analysis/financial_kernels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace FinancialKernels {

namespace {

// A sum over a sliding window, kept in extended precision so that a million
// additions and removals stay within 1e-9 of the window's plain sum. It counts its
// non-zero terms as well: a window without any is exactly 0, not the residue the
// removals leave.
class TWindowSum {
public:
  void Add(double V) {
    sum_ += V;
    if (V != 0) ++nonZero_;
  }
  void Remove(double V) {
    sum_ -= V;
    if (V != 0) --nonZero_;
  }
  double Value() const { return nonZero_ == 0 ? 0.0 : double(sum_); }

private:
  long double sum_ = 0;
  long nonZero_ = 0;
};

// Mean of each window of w points of X, at the window's last index.
void MovingMean(const double* X, int n, int w, double* Out) {
  TWindowSum s;
  for (int i = 0; i < n; ++i) {
    s.Add(X[i]);
    if (i >= w) s.Remove(X[i - w]);
    if (i >= w - 1) Out[i] = s.Value() / w;
  }
}

// The running minimum or maximum of the last w values, in O(1) amortised: a queue
// of indexes whose values only rise (minimum) or fall (maximum) from front to back.
class TWindowExtreme {
public:
  TWindowExtreme(int n, bool Max) : idx_(size_t(std::max(n, 1))), max_(Max) {}
  // Takes value X[i] in and drops what left the window of w ending at i.
  double Next(const double* X, int i, int w) {
    while (tail_ > head_ && Worse(X[idx_[size_t(tail_ - 1)]], X[i])) --tail_;
    idx_[size_t(tail_++)] = i;
    while (idx_[size_t(head_)] <= i - w) ++head_;
    return X[idx_[size_t(head_)]];
  }

private:
  // Whether an older Kept is never the extreme again once V has come.
  bool Worse(double Kept, double V) const { return max_ ? Kept <= V : Kept >= V; }
  std::vector<int> idx_;
  int head_ = 0, tail_ = 0;
  bool max_;
};

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
  std::vector<double> tr(static_cast<size_t>(n)), plus(static_cast<size_t>(n)), minus(static_cast<size_t>(n)), dx(static_cast<size_t>(n));
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
  // The terms of window i-w+1..i are those of k from i-w+1 (i-w+2 close to close).
  const int skip = CloseToClose ? 1 : 0;
  TWindowSum gains, losses;
  double g, l;
  for (int i = skip; i < n; ++i) {
    RSITerm(O, C, i, CloseToClose, g, l);
    gains.Add(g);
    losses.Add(l);
    const int leaving = i - w + skip;
    if (leaving >= skip) {
      RSITerm(O, C, leaving, CloseToClose, g, l);
      gains.Remove(g);
      losses.Remove(l);
    }
    if (i >= w - 1) Out[i] = RSIValue(gains.Value(), losses.Value(), w);
  }
  if (w == 1 && CloseToClose && n > 0) Out[0] = 100;  // one close: nothing changed
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
  TWindowExtreme highest(n, true), lowest(n, false);
  for (int i = 0; i < n; ++i) {
    const double hi = highest.Next(H, i, w), lo = lowest.Next(L, i, w);
    if (i >= w - 1) Out[i] = StochasticValue(V[i], lo, hi);
  }
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
  auto volume = [&](int j) { return j < VolumeCount ? Volume[j] : 0.0; };
  auto flow = [&](int j) { return CLVValue(H[j], L[j], C[j]) * volume(j); };
  TWindowSum flows, volumes;
  for (int i = 0; i < n; ++i) {
    flows.Add(flow(i));
    volumes.Add(volume(i));
    if (i - p - 1 >= 0) {
      flows.Remove(flow(i - p - 1));
      volumes.Remove(volume(i - p - 1));
    }
    const double v = volumes.Value();
    Out[i] = v == 0 ? 0 : flows.Value() / v;
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
  MovingMean(vigor.data(), n, w, Out);
  constexpr int SignalPoints = 4;
  if (n - (w - 1) >= SignalPoints) {
    MovingMean(Out + (w - 1), n - (w - 1), SignalPoints, Signal + (w - 1));
    SignalFirst = w - 1 + SignalPoints - 1;
  }
  return w - 1;
}

}  // namespace FinancialKernels
