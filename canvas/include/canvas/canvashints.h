// What a canvas may offer beside drawing: a place for the tips of what it drew
// (a canvas that writes a page for a browser could turn them into tooltips). The
// mark tips tool asks the chart's canvas for it with dynamic_cast and, when found,
// hands it one text per point after each drawing instead of showing hint windows.
// No canvas of ours offers it.
#pragma once
#include <string>

class ILumCanvasHints {
public:
  virtual ~ILumCanvasHints() = default;
  // The tip Text of the figure named Key (e.g. "Series_Series1_3").
  virtual void AddHint(const std::string& Key, const std::string& Text) = 0;
};
