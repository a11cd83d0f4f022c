#include "canvas/geometry.h"

#include <cmath>

#include "platform/rtl.h"

TPoint PointAlongLine(const TPoint& From, const TPoint& To, double Distance) {
  const double dx = double(From.X) - To.X, dy = double(From.Y) - To.Y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return To;
  const double f = Distance / len;
  return {int(Round(To.X + dx * f)), int(Round(To.Y + dy * f))};
}
