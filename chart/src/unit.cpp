#include "chart/unit.h"

#include <array>

#include "chart/palettes.h"
#include "chart/series.h"
#include "engine/marks.h"

namespace {
std::array<TClass, 4> StandardSeriesClasses() {
  return {TFastLineSeries::StaticClass(), TLineSeries::StaticClass(), TPointSeries::StaticClass(),
          TBarSeries::StaticClass()};
}
}  // namespace

void ChartUnitInit() {
  chart_detail::CreatePalettes();
  for (TClass c : StandardSeriesClasses()) RegisterClass(c);
  for (TClass c : ShapeClasses()) RegisterClass(c);
}

void ChartUnitDone() {
  for (TClass c : ShapeClasses()) UnRegisterClass(c);
  for (TClass c : StandardSeriesClasses()) UnRegisterClass(c);
  chart_detail::FreePalettes();
}
