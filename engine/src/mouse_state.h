// What a chart keeps between mouse events: the zoom history.
#pragma once
#include <vector>

#include "engine/panel.h"

struct TCustomAxisPanel::TMouseState {
  struct TRange {
    TChartAxis* Axis;
    double Min, Max;
    bool Automatic, AutoMin, AutoMax;
  };
  // Ranges before each zoom (Zoom.History), the last zoom last.
  std::vector<std::vector<TRange>> History;
  bool Zoomed = false;
};
