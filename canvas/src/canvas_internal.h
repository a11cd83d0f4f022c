// Helpers shared by the canvas sources.
#pragma once
#include <algorithm>

#include "platform/graphics.h"

namespace canvas_internal {

inline TRect Normalized(const TRect& R) {
  return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
          std::max(R.Top, R.Bottom)};
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
