// Scrolling an axis: the one path by which panning and Scroll move a range.
#include <algorithm>
#include <cmath>

#include "engine/axis.h"
#include "engine/panel.h"

bool TChartAxis::DataExtent(double& AMin, double& AMax) const {
  if (!chart_) return false;
  bool any = false;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || s->Count() == 0 || !s->AssociatedToAxis(this)) continue;
    const double smin = horizontal_ ? s->MinXValue() : s->MinYValue();
    const double smax = horizontal_ ? s->MaxXValue() : s->MaxYValue();
    AMin = any ? std::min(AMin, smin) : smin;
    AMax = any ? std::max(AMax, smax) : smax;
    any = true;
  }
  return any;
}

bool TChartAxis::ScrollRange(double Offset, bool CheckLimits) {
  if (!std::isfinite(Offset) || Offset == 0) return false;
  if (CheckLimits) {
    double lo = 0, hi = 0;
    if (!DataExtent(lo, hi)) return false;
    // Move only as far as the leading edge may go; never pull it back in.
    if (Offset > 0) Offset = std::min(Offset, std::max(0.0, hi - maximum_));
    else Offset = std::max(Offset, std::min(0.0, lo - minimum_));
    if (Offset == 0) return false;
  }
  double newMin = minimum_ + Offset, newMax = maximum_ + Offset;
  bool allow = true;
  if (chart_ && chart_->OnAllowScroll.Assigned()) chart_->OnAllowScroll(this, newMin, newMax, allow);
  if (!allow || !(newMin <= newMax)) return false;
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  minimum_ = newMin;
  maximum_ = newMax;
  Repaint();
  return true;
}

void TChartAxis::Scroll(double Offset, bool CheckLimits) {
  if (ScrollRange(Offset, CheckLimits) && chart_) chart_->DoScroll();
}
