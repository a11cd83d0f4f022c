// The arithmetic of the basic functions over plain arrays (sums and means are the
// shared kernels').
#pragma once
#include <cstddef>

namespace basic_kernels {

// X[0] - X[1] - ...; 0 for none.
double Difference(const double* X, size_t N);
// X[0] * X[1] * ...; 0 for none.
double Product(const double* X, size_t N);
// X[0] / X[1] / ...; 0 for none; IEEE results for zero divisors.
double Quotient(const double* X, size_t N);
// The first largest (smallest) value; 0 for none.
double Highest(const double* X, size_t N);
double Lowest(const double* X, size_t N);
// Over ascending values: the usual median; 0 for none.
double SortedMedian(const double* X, size_t N);
// Over ascending values: the value of the longest run, the first (smallest) of
// equally long runs; 0 for none.
double SortedMode(const double* X, size_t N);

}  // namespace basic_kernels
