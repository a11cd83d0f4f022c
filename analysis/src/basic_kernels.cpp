#include "basic_kernels.h"

namespace basic_kernels {

double Difference(const double* X, size_t N) {
  if (N == 0) return 0;
  double r = X[0];
  for (size_t i = 1; i < N; ++i) r -= X[i];
  return r;
}

double Product(const double* X, size_t N) {
  if (N == 0) return 0;
  double r = X[0];
  for (size_t i = 1; i < N; ++i) r *= X[i];
  return r;
}

double Quotient(const double* X, size_t N) {
  if (N == 0) return 0;
  double r = X[0];
  for (size_t i = 1; i < N; ++i) r /= X[i];
  return r;
}

double Highest(const double* X, size_t N) {
  if (N == 0) return 0;
  double r = X[0];
  for (size_t i = 1; i < N; ++i)
    if (X[i] > r) r = X[i];
  return r;
}

double Lowest(const double* X, size_t N) {
  if (N == 0) return 0;
  double r = X[0];
  for (size_t i = 1; i < N; ++i)
    if (X[i] < r) r = X[i];
  return r;
}

double SortedMedian(const double* X, size_t N) {
  if (N == 0) return 0;
  return N % 2 ? X[N / 2] : (X[N / 2 - 1] + X[N / 2]) / 2;
}

double SortedMode(const double* X, size_t N) {
  if (N == 0) return 0;
  double result = X[0];
  size_t best = 0;
  for (size_t start = 0; start < N;) {
    size_t end = start + 1;
    while (end < N && X[end] == X[start]) ++end;
    if (end - start > best) {
      best = end - start;
      result = X[start];
    }
    start = end;
  }
  return result;
}

}  // namespace basic_kernels
