// Helpers shared by the canvas sources.
#pragma once
#include <algorithm>

#include "platform/graphics.h"

namespace canvas_internal {

inline TRect Normalized(const TRect& R) {
  return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
          std::max(R.Top, R.Bottom)};
}

// The smallest rectangle holding the Count (at least one) points.
inline TRect PointsBounds(const TPoint* P, int Count) {
  TRect r{P[0].X, P[0].Y, P[0].X, P[0].Y};
  for (int i = 1; i < Count; ++i) {
    r.Left = std::min(r.Left, P[i].X);
    r.Top = std::min(r.Top, P[i].Y);
    r.Right = std::max(r.Right, P[i].X);
    r.Bottom = std::max(r.Bottom, P[i].Y);
  }
  return r;
}

// Over on top of Under, with Keep percent of Under showing through.
inline TColor Blend(TColor Over, TColor Under, int Keep) {
  const TColor o = ColorToRGB(Over), u = ColorToRGB(Under);
  auto mix = [Keep](int a, int b) { return (a * (100 - Keep) + b * Keep + 50) / 100; };
  return RGB(mix(GetRValue(o), GetRValue(u)), mix(GetGValue(o), GetGValue(u)), mix(GetBValue(o), GetBValue(u)));
}

// Puts a canvas's brush and background back as they were when it goes out of scope
// (a brush change resets the background mode, so both are kept).
class BrushSaver {
public:
  explicit BrushSaver(TCanvas* C) : c_(C), mode_(C->BkMode()), back_(C->BkColor()) { brush_.Assign(C->Brush()); }
  ~BrushSaver() {
    c_->Brush()->Assign(&brush_);
    c_->SetBkColor(back_);
    c_->SetBkMode(mode_);
  }
  BrushSaver(const BrushSaver&) = delete;
  BrushSaver& operator=(const BrushSaver&) = delete;

private:
  TCanvas* c_;
  TBrush brush_;
  int mode_;
  TColor back_;
};

}  // namespace canvas_internal
