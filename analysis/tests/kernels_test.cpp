// The arithmetic kernels against straight per-window sums, on data that punishes
// running sums: a walk far from zero, jumps of many orders of magnitude and an
// infinity passing through.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "analysis/kernels.h"

namespace {

using Values = std::vector<double>;
using Kernel = Values (*)(std::span<const double>, int);

Values Walk(size_t Count, double Offset, unsigned Seed) {
  std::mt19937 random(Seed);
  std::normal_distribution<double> step(0, 1);
  Values v(Count);
  double y = Offset;
  for (double& p : v) p = y += step(random);
  v[Count / 3] += 1e12;  // a spike the sliding sums must take out again
  return v;
}

// Straight results for the window starting at K.
double StraightSum(const Values& X, size_t K, int N) {
  long double s = 0;
  for (int j = 0; j < N; ++j) s += X[K + size_t(j)];
  return double(s);
}
double StraightIndexWeighted(const Values& X, size_t K, int N) {
  long double s = 0;
  for (int j = 0; j < N; ++j) s += (long double)X[K + size_t(j)] * (j + 1);
  return double(s / ((long double)N * (N + 1) / 2));
}
double StraightVariance(const Values& X, size_t K, int N) {
  return Kernels::Variance(std::span<const double>(X).subspan(K, size_t(N)), N - 1);
}
double StraightMax(const Values& X, size_t K, int N) {
  double m = X[K];
  for (int j = 1; j < N; ++j) m = std::max(m, X[K + size_t(j)]);
  return m;
}

void ExpectClose(const Values& Got, const Values& X, int N, double (*Straight)(const Values&, size_t, int),
                 const char* What) {
  ASSERT_EQ(Got.size(), X.size() - size_t(N) + 1) << What << " N=" << N;
  for (size_t k = 0; k < Got.size(); ++k) {
    const double want = Straight(X, k, N);
    ASSERT_NEAR(Got[k], want, 1e-9 * std::max(1.0, std::fabs(want))) << What << " N=" << N << " window " << k;
  }
}

TEST(Kernels, MovingWindowsEqualStraightSumsWithinRounding) {
  const Values x = Walk(3000, 1e9, 7);
  for (int n : {1, 2, 7, 64, 500}) {
    ExpectClose(Kernels::MovingSums(x, n), x, n, StraightSum, "sums");
    ExpectClose(Kernels::MovingWeightedIndex(x, n), x, n, StraightIndexWeighted, "index weights");
    ExpectClose(Kernels::MovingVariance(x, n, 1), x, n, StraightVariance, "variance");
    ExpectClose(Kernels::MovingMax(x, n), x, n, StraightMax, "max");
  }
  // Weights equal to 1 make the X-weighted average the plain one.
  const Values ones(x.size(), 1.0);
  const Values plain = Kernels::MovingAverage(x, 9), weighted = Kernels::MovingWeighted(x, ones, 9);
  for (size_t k = 0; k < plain.size(); ++k) ASSERT_NEAR(weighted[k], plain[k], 1e-9 * std::fabs(plain[k]));
}

TEST(Kernels, AnInfinityOnlySpoilsTheWindowsItIsIn) {
  Values x{1, 2, std::numeric_limits<double>::infinity(), 3, 4, 5, 6};
  for (Kernel k : {Kernel(Kernels::MovingSums), Kernel(Kernels::MovingWeightedIndex)}) {
    const Values got = k(x, 2);
    EXPECT_TRUE(std::isfinite(got[0]));
    EXPECT_FALSE(std::isfinite(got[1]));
    EXPECT_FALSE(std::isfinite(got[2]));
    for (size_t i = 3; i < got.size(); ++i) EXPECT_TRUE(std::isfinite(got[i])) << i;
  }
}

TEST(Kernels, TooFewValuesOrAnEmptyWindowGiveNothing) {
  const Values x{1, 2, 3};
  EXPECT_TRUE(Kernels::MovingSums(x, 4).empty());
  EXPECT_TRUE(Kernels::MovingSums(x, 0).empty());
  EXPECT_TRUE(Kernels::SmoothedAverage(x, 4, 4).empty());
  EXPECT_EQ(Kernels::MovingMin(x, 3), Values{1});
  EXPECT_EQ(Kernels::Mean({}), 0);
}

TEST(Kernels, TwoPassStatisticsKeepLargeOffsets) {
  const Values pin{2, 4, 4, 4, 5, 5, 7, 9};
  EXPECT_DOUBLE_EQ(Kernels::Variance(pin, 8), 4);
  EXPECT_NEAR(Kernels::StdDev(pin, 7), 2.138090, 1e-6);
  EXPECT_NEAR(Kernels::MovingVariance(Values{1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}, 4, 1)[0], 5.0 / 3, 1e-12);
  const Kernels::TDeviationSums d = Kernels::DeviationSums(Values{1, 2, 6}, 3);
  EXPECT_EQ(d.S2, 4 + 1 + 9);
  EXPECT_EQ(d.S3, -8 - 1 + 27);
  EXPECT_EQ(d.S4, 16 + 1 + 81);
  EXPECT_EQ(Kernels::Variance(pin, 0), 0);
}

TEST(Kernels, RecurrencesStartAsDocumented) {
  const Values e = Kernels::ExpAverage(Values{0.3, 10, 20}, 0.1);
  EXPECT_EQ(e[0], 0.3);
  EXPECT_DOUBLE_EQ(e[1], 0.1 * 10 + 0.9 * 0.3);
  EXPECT_DOUBLE_EQ(Kernels::ExpAverage(Values{10}, 0.5, 2)[0], 6);
  EXPECT_EQ(Kernels::MovingWeighted(Values{5, 5}, Values{-1, 1}, 2), Values{0});
}

}  // namespace
