// A shown 400 x 300 chart with fixed 0..100 axes for the tool tests, its mouse
// entry public, and a copy of the picture the window shows.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace tooltest {

// The forms, message texts and chart units, once.
void EnsureToolUnits();

class TTestChart : public TChart {
public:
  using TChart::TChart;
  using TCustomAxisPanel::MouseDown;
  using TCustomAxisPanel::MouseMove;
  using TCustomAxisPanel::MouseUp;
};

// The control's image, pixel by pixel.
struct TImagePixels {
  int W = 0, H = 0;
  std::vector<TColor> Pixels;
  bool operator==(const TImagePixels&) const = default;
  TColor At(int X, int Y) const { return Pixels[size_t(Y * W + X)]; }
};

class ToolTest : public ::testing::Test {
protected:
  static constexpr int W = 400, H = 300;
  void SetUp() override;
  void TearDown() override { delete Form; }
  // Paints now, as the window would.
  void Paint();
  TImagePixels Picture() const;
  void Down(int X, int Y, TMouseButton B = mbLeft, TShiftState S = 0) { Chart->MouseDown(B, S, X, Y); }
  void Move(int X, int Y, TShiftState S = ssLeft) { Chart->MouseMove(S, X, Y); }
  void Up(int X, int Y, TMouseButton B = mbLeft) { Chart->MouseUp(B, 0, X, Y); }
  int XPix(double V) const { return Chart->BottomAxis()->CalcPosValue(V); }
  int YPix(double V) const { return Chart->LeftAxis()->CalcPosValue(V); }

  TForm* Form = nullptr;
  TTestChart* Chart = nullptr;
  TLineSeries* Series = nullptr;
};

}  // namespace tooltest
