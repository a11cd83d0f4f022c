// Timing a piece of work for the benchmarks: one warm-up run, then Runs timed runs.
#pragma once
#include <algorithm>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/rtl.h"

// The timings of Runs runs of Work in microseconds, sorted (after a warm-up run that
// fills caches and loads fonts).
inline std::vector<std::int64_t> SortedTimings(int Runs, const std::function<void()>& Work) {
  Work();
  std::vector<std::int64_t> t;
  for (int i = 0; i < Runs; ++i) {
    const std::int64_t start = GetMicroseconds();
    Work();
    t.push_back(GetMicroseconds() - start);
  }
  std::sort(t.begin(), t.end());
  return t;
}

// The median of Runs timings of Work, in microseconds.
inline std::int64_t MedianMicroseconds(int Runs, const std::function<void()>& Work) {
  const std::vector<std::int64_t> t = SortedTimings(Runs, Work);
  return t[t.size() / 2];
}

// The process's resident memory in MiB.
inline double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
