#include "canvas/geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl.h"

TPoint PointAlongLine(const TPoint& From, const TPoint& To, double Distance) {
  const double dx = double(From.X) - To.X, dy = double(From.Y) - To.Y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return To;
  const double f = Distance / len;
  return {int(Round(To.X + dx * f)), int(Round(To.Y + dy * f))};
}

void ConvexOutline(std::vector<TPoint>& Points) {
  std::vector<TPoint> p = Points;
  std::sort(p.begin(), p.end(), [](const TPoint& a, const TPoint& b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
  p.erase(std::unique(p.begin(), p.end(), [](const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }),
          p.end());
  if (p.size() < 3) {
    Points = p;
    return;
  }
  // Monotone chain; with y down a positive cross product turns clockwise on the screen.
  auto cross = [](const TPoint& o, const TPoint& a, const TPoint& b) {
    return (long long)(a.X - o.X) * (b.Y - o.Y) - (long long)(a.Y - o.Y) * (b.X - o.X);
  };
  std::vector<TPoint> h(2 * p.size());
  size_t k = 0;
  for (size_t i = 0; i < p.size(); ++i) {  // upper chain, left to right
    while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) {  // lower chain, right to left
    while (k >= t && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  h.resize(k - 1);
  Points = h;
}
