// Arithmetic of the analysis functions over plain arrays, shared by every function
// class: moving sums and averages, weighted and smoothed averages, the exponential
// recurrence and two-pass statistics. The function classes only cut their sources
// into arrays and hand the results back to the framework.
//
// Moving kernels answer one value per full window of N points: result k belongs to
// the window X[k] .. X[k+N-1], so an array of C values gives C - N + 1 results (none
// when C < N or N < 1). They cost O(1) per window, amortised: running sums are kept
// compensated and summed afresh every N windows, so they stay equal to straight
// window sums within rounding of the window's own values.
#pragma once
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

namespace Kernels {

// A sum carried with its rounding error (Neumaier), for long or sliding sums.
class TCompensatedSum {
public:
  void Add(double V) {
    const double t = sum_ + V;
    if (std::fabs(sum_) >= std::fabs(V)) comp_ += (sum_ - t) + V;
    else comp_ += (V - t) + sum_;
    sum_ = t;
  }
  double Value() const { return sum_ + comp_; }
  void Reset() { sum_ = comp_ = 0; }

private:
  double sum_ = 0, comp_ = 0;
};

// The sliding sum of MovingSums, one window at a time without arrays: Next answers
// the sum of window K (values Value(K) .. Value(K + N - 1)), for K = 0, 1, 2, ...
// in turn. It starts afresh every N windows and after a value that a sliding sum
// cannot take out again (an infinity or NaN leaving the window).
class TWindowSum {
public:
  template <class F>
  double Next(const F& Value, std::size_t K, int N) {
    // (Every N windows counted down, not K % N: a division per window costs more
    // than the sums.)
    const bool whole = K == fresh_;
    if (whole) fresh_ += std::size_t(N);
    if (whole || !std::isfinite(Value(K - 1))) {
      sum_.Reset();
      for (std::size_t j = K; j < K + std::size_t(N); ++j) sum_.Add(Value(j));
    } else {
      sum_.Add(Value(K + std::size_t(N) - 1));
      sum_.Add(-Value(K - 1));
    }
    return sum_.Value();
  }

private:
  TCompensatedSum sum_;
  std::size_t fresh_ = 0;  // the next window that starts afresh in any case
};

// Σ X, compensated.
double Sum(std::span<const double> X);
// The mean; 0 for no values.
double Mean(std::span<const double> X);
// Σ (X - Center)^2, Σ (X - Center)^3 and Σ (X - Center)^4.
struct TDeviationSums {
  double S2 = 0, S3 = 0, S4 = 0;
};
TDeviationSums DeviationSums(std::span<const double> X, double Center);
// Two-pass variance Σ(x - mean)² / Divisor (the population: Count; the sample:
// Count - 1); 0 when Divisor is not above 0 or the result is negative.
double Variance(std::span<const double> X, double Divisor);
// √Variance.
double StdDev(std::span<const double> X, double Divisor);

// Window sums and simple moving averages.
std::vector<double> MovingSums(std::span<const double> X, int N);
std::vector<double> MovingAverage(std::span<const double> X, int N);
// Each value weighted by its place in the window (1 for the first): Σ x·k / Σ k.
std::vector<double> MovingWeightedIndex(std::span<const double> X, int N);
// Each value weighted by W (the points' X values): Σ x·w / Σ w, 0 where Σ w is 0.
std::vector<double> MovingWeighted(std::span<const double> X, std::span<const double> W, int N);
// Moving two-pass-grade variance Σ(x - mean)² / (N - DivisorLess) per window
// (DivisorLess 0: population, 1: sample); 0 where that divisor is not above 0.
// Sums are taken about a centre moved to the window's mean every N windows and
// whenever the window has gone far from it, so large offsets and jumps lose nothing.
std::vector<double> MovingVariance(std::span<const double> X, int N, int DivisorLess);
// Smoothed (Wilder) average over n = N windows of Period: the first result is the
// mean of the first window, each next one (p·Period − p + x) / Period with p the
// previous result and x the window's newest value.
std::vector<double> SmoothedAverage(std::span<const double> X, int N, double Period);
// The exponential recurrence r = Alpha·x + (1 − Alpha)·r, one result per value,
// the first equal to X[0] (or started from Seed: r before X[0]).
std::vector<double> ExpAverage(std::span<const double> X, double Alpha);
std::vector<double> ExpAverage(std::span<const double> X, double Alpha, double Seed);
// ExpAverage(X, AlphaA) − ExpAverage(X, AlphaB), the two recurrences run side by side.
std::vector<double> ExpAverageDifference(std::span<const double> X, double AlphaA, double AlphaB);
// Highest and lowest value of every window (monotonic queues, O(1) amortised).
std::vector<double> MovingMax(std::span<const double> X, int N);
std::vector<double> MovingMin(std::span<const double> X, int N);

}  // namespace Kernels
