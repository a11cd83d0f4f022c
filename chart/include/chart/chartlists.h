// Lists the chart control keeps beside the engine's: its animations.
#pragma once
#include "engine/tools.h"

// A chart's animations: tools of a kind kept apart from the chart's Tools (the
// editor and galleries show them on a page of their own). An animation joins this
// list by answering it from ToolListOf.
class TChartAnimations : public TChartTools {
  DECLARE_CLASS(TChartAnimations, TChartTools)
public:
  explicit TChartAnimations(TCustomAxisPanel* AChart) : TChartTools(AChart) {}
};
