// The pixels the raster painter fills for a polygon of whole-pixel corners without
// antialiasing (alternate filling), worked out without a painter. The painter steps
// each edge in 16.16 fixed point from where it crosses the centre of the first pixel
// row it reaches (its slope truncated to 16.16) and fills a row from the pixel whose
// centre lies past one crossing up to the next; this does the same sums, so the rows
// are those the painter fills, ties on 45-degree edges included.
#pragma once
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "platform/types.h"

namespace scanfill {

// Corners further out than this go through the painter: the painter's 16.16 sums
// would overflow, and it clips such edges on its own.
constexpr int Reach = 16383;

inline bool WithinReach(const TPoint* P, int N) {
  for (int i = 0; i < N; ++i)
    if (std::abs(P[i].X) > Reach || std::abs(P[i].Y) > Reach) return false;
  return true;
}

// Polygons the canvas fills this way (more corners go through the painter).
constexpr int MaxCorners = 16;

// Calls Span(y, x0, x1) for each run of pixels x0..x1 (both in) of row y that the fill
// sets, rows Top..Bottom only, top down and left to right. N corners within Reach.
template <class F>
void Fill(const TPoint* P, int N, int Top, int Bottom, F&& Span) {
  struct TEdge {
    long long X, Delta;  // 16.16 at the first row; per row
    int First, Last;     // rows
  };
  std::array<TEdge, MaxCorners> kept;
  std::vector<TEdge> more(N > MaxCorners ? size_t(N) : 0);
  TEdge* edges = N > MaxCorners ? more.data() : kept.data();
  int count = 0, lo = Bottom + 1, hi = Top - 1;
  for (int i = 0; i < N; ++i) {
    // 26.6 ends, the upper first.
    long long ax = P[i].X * 64LL, ay = P[i].Y * 64LL;
    long long bx = P[(i + 1) % N].X * 64LL, by = P[(i + 1) % N].Y * 64LL;
    if (ay > by) std::swap(ax, bx), std::swap(ay, by);
    // Rows whose centres lie in [ay, by).
    const int first = int((ay - 32 + 63) >> 6), last = int((by - 32 - 1) >> 6);
    if (first > last) continue;
    const long long start = 0x8000 + (ax << 10);
    TEdge e{start, 0, first, last};
    if (bx != ax) {
      const double slope = double(bx - ax) / double(by - ay);
      e.Delta = int(slope * 65536.);
      const long long along = (static_cast<long long>(first) << 16) + 0x8000 - (ay << 10);
      e.X = start + int((e.Delta * along) >> 16);
    }
    edges[count++] = e;
    lo = std::min(lo, first);
    hi = std::max(hi, last);
  }
  lo = std::max(lo, Top);
  hi = std::min(hi, Bottom);
  std::array<long long, MaxCorners> keptXs;
  std::vector<long long> moreXs(N > MaxCorners ? size_t(N) : 0);
  long long* xs = N > MaxCorners ? moreXs.data() : keptXs.data();
  for (int y = lo; y <= hi; ++y) {
    int n = 0;
    for (int k = 0; k < count; ++k) {
      const TEdge& e = edges[k];
      if (y < e.First || y > e.Last) continue;
      // Sorted as they come: a handful at most.
      const long long x = e.X + (y - e.First) * e.Delta;
      int j = n++;
      for (; j > 0 && xs[j - 1] > x; --j) xs[j] = xs[j - 1];
      xs[j] = x;
    }
    for (int k = 0; k + 1 < n; k += 2) {
      const int x0 = int(xs[k] >> 16), x1 = int(xs[k + 1] >> 16) - 1;
      if (x0 <= x1) Span(y, x0, x1);
    }
  }
}

}  // namespace scanfill
