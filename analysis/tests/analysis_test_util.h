// The bare pixel-test chart of chart/tests with the texts and the analysis unit started.
#pragma once
#include "analysis/unit.h"
#include "canvas/lumconst.h"
#include "chart_test_util.h"

namespace analysistest {

class AnalysisTest : public charttest::ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    static bool started = false;
    if (!started) {
      LumConst2UnitInit();  // the value-list and sub-style names
      BasicFunctionsUnitInit();
      CLVFunctionUnitInit();
      CandleUnitInit();
      StatisticsUnitInit();
      started = true;
    }
  }
  static TColor Pixel(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y); }
};

}  // namespace analysistest
