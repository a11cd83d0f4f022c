#include "chart/unit.h"

#include <array>

#include "chart/legend.h"
#include "chart/pages.h"
#include "chart/palettes.h"
#include "chart/registry.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/axisitems.h"
#include "engine/exportdata.h"
#include "engine/function.h"
#include "engine/groups.h"
#include "engine/marks.h"

namespace {
std::array<TClass, 4> StandardSeriesClasses() {
  return {TFastLineSeries::StaticClass(), TLineSeries::StaticClass(), TPointSeries::StaticClass(),
          TBarSeries::StaticClass()};
}

// The bases of functions and source components, for streams and editors by name.
std::array<TClass, 3> EngineBaseClasses() {
  return {TLumFunction::StaticClass(), TLumMovingFunction::StaticClass(), TLumSeriesSource::StaticClass()};
}

// An axis' label items, which live on their own (the property walk and streams find them).
std::array<TClass, 2> AxisItemClasses() { return {TAxisItems::StaticClass(), TAxisItem::StaticClass()}; }

// The legend and the parts it holds.
std::array<TClass, 4> LegendClasses() {
  return {TChartLegend::StaticClass(), TLegendSymbol::StaticClass(), TLegendTitle::StaticClass(),
          TLegendItem::StaticClass()};
}
}  // namespace

void ChartUnitInit() {
  chart_detail::CreatePalettes();
  for (TClass c : StandardSeriesClasses()) RegisterClass(c);
  for (TClass c : ShapeClasses()) RegisterClass(c);
  for (TClass c : EngineBaseClasses()) RegisterClass(c);
  for (TClass c : AxisItemClasses()) RegisterClass(c);
  for (TClass c : chart_detail::MoreStandardClasses()) RegisterClass(c);
  RegisterClass(TChartPage::StaticClass());
  RegisterClasses({TSeriesGroup::StaticClass(), TLumExportData::StaticClass()});
  for (TClass c : LegendClasses()) RegisterClass(c);
}

void ChartUnitDone() {
  for (TClass c : LegendClasses()) UnRegisterClass(c);
  chart_detail::ClearRegistries();
  UnRegisterClass(TSeriesGroup::StaticClass());
  UnRegisterClass(TLumExportData::StaticClass());
  UnRegisterClass(TChartPage::StaticClass());
  for (TClass c : chart_detail::MoreStandardClasses()) UnRegisterClass(c);
  for (TClass c : AxisItemClasses()) UnRegisterClass(c);
  for (TClass c : EngineBaseClasses()) UnRegisterClass(c);
  for (TClass c : ShapeClasses()) UnRegisterClass(c);
  for (TClass c : StandardSeriesClasses()) UnRegisterClass(c);
  chart_detail::FreePalettes();
}
