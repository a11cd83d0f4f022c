#include "analysis/kernels.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace Kernels {

namespace {

// Number of full windows of N in Count values.
size_t Windows(size_t Count, int N) { return N < 1 || Count < size_t(N) ? 0 : Count - size_t(N) + 1; }

// Whether window K starts afresh: every N windows, and after a value that a sliding
// sum cannot take out again (an infinity or NaN leaving the window).
bool Fresh(std::span<const double> X, size_t K, int N) { return K % size_t(N) == 0 || !std::isfinite(X[K - 1]); }

template <class Better>
std::vector<double> MovingExtreme(std::span<const double> X, int N, Better better) {
  std::vector<double> out(Windows(X.size(), N));
  std::deque<size_t> keep;  // indexes whose values fall along the window, best first
  for (size_t i = 0; i < X.size(); ++i) {
    while (!keep.empty() && !better(X[keep.back()], X[i])) keep.pop_back();
    keep.push_back(i);
    if (i + 1 < size_t(N)) continue;
    const size_t k = i + 1 - size_t(N);
    while (keep.front() < k) keep.pop_front();
    out[k] = X[keep.front()];
  }
  return out;
}

}  // namespace

double Sum(std::span<const double> X) {
  TCompensatedSum s;
  for (double v : X) s.Add(v);
  return s.Value();
}

double Mean(std::span<const double> X) { return X.empty() ? 0 : Sum(X) / double(X.size()); }

TDeviationSums DeviationSums(std::span<const double> X, double Center) {
  TCompensatedSum s2, s3, s4;
  for (double v : X) {
    const double d = v - Center, d2 = d * d;
    s2.Add(d2);
    s3.Add(d2 * d);
    s4.Add(d2 * d2);
  }
  return {s2.Value(), s3.Value(), s4.Value()};
}

double Variance(std::span<const double> X, double Divisor) {
  if (!(Divisor > 0)) return 0;
  const double mean = Mean(X);
  TCompensatedSum s;
  for (double v : X) s.Add((v - mean) * (v - mean));
  const double v = s.Value() / Divisor;
  return v < 0 ? 0 : v;
}

double StdDev(std::span<const double> X, double Divisor) { return std::sqrt(Variance(X, Divisor)); }

std::vector<double> MovingSums(std::span<const double> X, int N) {
  std::vector<double> out(Windows(X.size(), N));
  TWindowSum s;
  const auto value = [X](size_t i) { return X[i]; };
  for (size_t k = 0; k < out.size(); ++k) out[k] = s.Next(value, k, N);
  return out;
}

std::vector<double> MovingAverage(std::span<const double> X, int N) {
  std::vector<double> out = MovingSums(X, N);
  for (double& v : out) v /= N;
  return out;
}

std::vector<double> MovingWeightedIndex(std::span<const double> X, int N) {
  std::vector<double> out(Windows(X.size(), N));
  const double weights = double(N) * (N + 1) / 2;
  TCompensatedSum plain, weighted;  // Σ x and Σ x·place
  for (size_t k = 0; k < out.size(); ++k) {
    if (Fresh(X, k, N)) {
      plain.Reset();
      weighted.Reset();
      for (size_t j = 0; j < size_t(N); ++j) {
        plain.Add(X[k + j]);
        weighted.Add(X[k + j] * double(j + 1));
      }
    } else {
      // Every place drops by one, the oldest value leaves, the newest takes place N.
      const double incoming = X[k + size_t(N) - 1];
      weighted.Add(-plain.Value());
      weighted.Add(incoming * N);
      plain.Add(incoming);
      plain.Add(-X[k - 1]);
    }
    out[k] = weighted.Value() / weights;
  }
  return out;
}

std::vector<double> MovingWeighted(std::span<const double> X, std::span<const double> W, int N) {
  std::vector<double> out(Windows(std::min(X.size(), W.size()), N));
  TCompensatedSum products, weights;
  for (size_t k = 0; k < out.size(); ++k) {
    if (Fresh(X, k, N) || !std::isfinite(W[k - 1])) {
      products.Reset();
      weights.Reset();
      for (size_t j = k; j < k + size_t(N); ++j) {
        products.Add(X[j] * W[j]);
        weights.Add(W[j]);
      }
    } else {
      const size_t in = k + size_t(N) - 1, gone = k - 1;
      products.Add(X[in] * W[in]);
      products.Add(-(X[gone] * W[gone]));
      weights.Add(W[in]);
      weights.Add(-W[gone]);
    }
    const double w = weights.Value();
    out[k] = w == 0 ? 0 : products.Value() / w;
  }
  return out;
}

std::vector<double> MovingVariance(std::span<const double> X, int N, int DivisorLess) {
  std::vector<double> out(Windows(X.size(), N));
  const double divisor = double(N - DivisorLess);
  if (!(divisor > 0)) return out;
  double center = 0;
  TCompensatedSum d1, d2;  // Σ (x - center), Σ (x - center)²
  auto recenter = [&](size_t k) {
    center = Mean(X.subspan(k, size_t(N)));
    if (!std::isfinite(center)) center = 0;
    d1.Reset();
    d2.Reset();
    for (size_t j = k; j < k + size_t(N); ++j) {
      d1.Add(X[j] - center);
      d2.Add((X[j] - center) * (X[j] - center));
    }
  };
  auto spread = [&] {
    const double s1 = d1.Value();
    return d2.Value() - s1 * s1 / N;
  };
  for (size_t k = 0; k < out.size(); ++k) {
    if (Fresh(X, k, N)) {
      recenter(k);
    } else {
      const double in = X[k + size_t(N) - 1] - center, gone = X[k - 1] - center;
      d1.Add(in);
      d1.Add(-gone);
      d2.Add(in * in);
      d2.Add(-(gone * gone));
      // A centre far from the window (a jump went by) would cancel most digits.
      if (spread() < 1e-3 * d2.Value()) recenter(k);
    }
    const double v = spread() / divisor;
    out[k] = v < 0 ? 0 : v;
  }
  return out;
}

std::vector<double> SmoothedAverage(std::span<const double> X, int N, double Period) {
  std::vector<double> out(Windows(X.size(), N));
  if (out.empty()) return out;
  double r = Mean(X.first(size_t(N)));
  out[0] = r;
  for (size_t k = 1; k < out.size(); ++k) out[k] = r = (r * Period - r + X[k + size_t(N) - 1]) / Period;
  return out;
}

std::vector<double> ExpAverage(std::span<const double> X, double Alpha) {
  std::vector<double> out(X.size());
  if (X.empty()) return out;
  double r = out[0] = X[0];
  for (size_t i = 1; i < X.size(); ++i) out[i] = r = Alpha * X[i] + (1 - Alpha) * r;
  return out;
}

std::vector<double> ExpAverage(std::span<const double> X, double Alpha, double Seed) {
  std::vector<double> out(X.size());
  double r = Seed;
  for (size_t i = 0; i < X.size(); ++i) out[i] = r = Alpha * X[i] + (1 - Alpha) * r;
  return out;
}

std::vector<double> ExpAverageDifference(std::span<const double> X, double AlphaA, double AlphaB) {
  std::vector<double> out(X.size());
  if (X.empty()) return out;
  double a = X[0], b = X[0];
  out[0] = a - b;
  for (size_t i = 1; i < X.size(); ++i) {
    a = AlphaA * X[i] + (1 - AlphaA) * a;
    b = AlphaB * X[i] + (1 - AlphaB) * b;
    out[i] = a - b;
  }
  return out;
}

std::vector<double> MovingMax(std::span<const double> X, int N) {
  return MovingExtreme(X, N, [](double kept, double v) { return kept > v; });
}

std::vector<double> MovingMin(std::span<const double> X, int N) {
  return MovingExtreme(X, N, [](double kept, double v) { return kept < v; });
}

}  // namespace Kernels
