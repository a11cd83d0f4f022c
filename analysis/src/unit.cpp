#include "analysis/unit.h"

#include <array>

#include "analysis/candle.h"
#include "analysis/histogram.h"

namespace {
std::array<TClass, 6> AnalysisSeriesClasses() {
  return {TOHLCSeries::StaticClass(),     TCandleSeries::StaticClass(),    TVolumeSeries::StaticClass(),
          TDarvasSeries::StaticClass(),   THistogramSeries::StaticClass(), THorizHistogramSeries::StaticClass()};
}
}  // namespace

void AnalysisUnitInit() {
  for (TClass c : AnalysisSeriesClasses()) RegisterClass(c);
}

void AnalysisUnitDone() {
  for (TClass c : AnalysisSeriesClasses()) UnRegisterClass(c);
}
