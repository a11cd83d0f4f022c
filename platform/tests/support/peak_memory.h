// Peak resident memory of the test process, for the readers' tests that what a file
// costs is bounded by what it holds rather than by the sizes it declares.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace peakmem {

// The kernel's high-water mark in KiB; -1: not available.
inline long PeakKiB() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long v = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "VmHWM:", 6) == 0) v = std::atol(line + 6);
  std::fclose(f);
  return v;
}

// Starts a new mark at the current size.
inline bool ResetPeak() {
  FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

// Runs f and answers by how many MiB it raised the peak (-1: cannot be measured).
template <class F>
long PeakGrowthMiB(F f) {
  if (!ResetPeak()) return -1;
  const long before = PeakKiB();
  f();
  return (PeakKiB() - before) / 1024;
}

}  // namespace peakmem
