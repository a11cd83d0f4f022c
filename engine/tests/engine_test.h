// Shared pieces of the engine tests: a chart that counts repaint requests and a
// series that draws each point as its pointer or as a vertical bar.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "engine/engine.h"
#include "platform/forms.h"

class TCountingChart : public TCustomAxisPanel {
public:
  explicit TCountingChart(TComponent* AOwner = nullptr) : TCustomAxisPanel(AOwner) {
    SetView3D(false);
    SetBounds(0, 0, 200, 150);
  }
  void Invalidate() override {
    ++Invalidates;
    TCustomAxisPanel::Invalidate();
  }
  int Invalidates = 0;
};

// Draws a marker per point (PointStyle), or a bar from YOrigin to the value.
class TTestSeries : public TChartSeries {
  DECLARE_CLASS(TTestSeries, TChartSeries)
public:
  explicit TTestSeries(TComponent* AOwner) : TChartSeries(AOwner), Pointer(this) {}
  void DrawValue(int ValueIndex) override;
  void CalcHorizMargins(int& L, int& R) override { Pointer.CalcHorizMargins(L, R); }
  void CalcVerticalMargins(int& T, int& B) override { Pointer.CalcVerticalMargins(T, B); }
  TSeriesPointer Pointer;
  bool Bars = false;
  double YOrigin = 0;
};

// A series whose values are its X list (bars lying along the horizontal axis).
class THorizSeries : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  TChartValueList* MandatoryValueList() const override { return XValues(); }
  TChartValueList* NotMandatoryValueList() const override { return YValues(); }
};

// The forms unit and the message texts, once for the whole test program.
class EngineEnvironment : public testing::Environment {
public:
  void SetUp() override;
};

// A series' X and Y values and its points' colours.
inline std::vector<double> Xs(const TChartSeries& s) { return s.XValues()->Values(); }
inline std::vector<double> Ys(const TChartSeries& s) { return s.YValues()->Values(); }
inline std::vector<TColor> Colours(const TChartSeries& s) {
  std::vector<TColor> c;
  for (int i = 0; i < s.Count(); ++i) c.push_back(s.GetPointColor(i));
  return c;
}

// Expects Run to throw E with exactly Text (any text when Text is empty).
template <class E, class F>
void ExpectThrowText(F Run, const std::string& Text = "") {
  try {
    Run();
    ADD_FAILURE() << "no exception, expected: " << Text;
  } catch (const E& e) {
    if (Text.empty()) EXPECT_STRNE(e.what(), "");
    else EXPECT_EQ(e.what(), Text);
  }
}

// A chart of a given size drawn into a new bitmap.
std::unique_ptr<TBitmap> Render(TCustomAxisPanel* Chart, TColor Back = clWhite);
