#include <gtest/gtest.h>

#include <vector>

#include "chart_test_util.h"

using charttest::ChartTest;

namespace {

// Pixels of Color in a row to the left and right of (X, Y), (X, Y) included.
int RunWidth(TCanvas* C, int X, int Y, TColor Color) {
  if (C->Pixels(X, Y) != Color) return 0;
  int l = X, r = X;
  while (C->Pixels(l - 1, Y) == Color) --l;
  while (C->Pixels(r + 1, Y) == Color) ++r;
  return r - l + 1;
}

}  // namespace

TEST_F(ChartTest, FastLineDrawsInItsPenWhateverColoursThePointsHad) {
  auto* s = Add<TFastLineSeries>();
  s->SetSeriesColor(clBlue);
  for (int i = 0; i <= 10; ++i) s->AddXY(i, i % 2 ? 7 : 3, "", i % 2 ? clRed : clLime);
  auto bmp = Render();
  const int solid = Count(bmp.get(), clBlue);
  EXPECT_GT(solid, 150);
  EXPECT_EQ(Count(bmp.get(), clRed), 0);
  EXPECT_EQ(Count(bmp.get(), clLime), 0);

  s->LinePen()->SetStyle(psDot);
  bmp = Render();
  const int dotted = Count(bmp.get(), clBlue);
  EXPECT_GT(dotted, 0);
  EXPECT_LT(dotted, solid * 3 / 4) << "the pen's style applies";

  s->SetSeriesColor(clGreen);
  EXPECT_EQ(s->LinePen()->Color(), clGreen);
  bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clBlue), 0);
  EXPECT_EQ(Count(bmp.get(), clGreen), dotted);
}

TEST_F(ChartTest, FastLineBreaksAtNullsOrJoinsAcrossThem) {
  auto* s = Add<TFastLineSeries>();
  s->SetSeriesColor(clBlue);
  for (int i = 0; i <= 10; ++i) s->AddXY(i, i == 5 ? 9 : 5, "", i == 5 ? clNone : clLumColor);
  auto bmp = Render();
  const int y = s->CalcYPosValue(5), x4 = s->CalcXPosValue(4), x6 = s->CalcXPosValue(6);
  const TRect gap{x4 + 1, 0, x6, H};
  ASSERT_EQ(s->TreatNulls(), tnDontPaint);
  EXPECT_EQ(Count(bmp.get(), clBlue, gap), 0) << "the line breaks at the null";
  EXPECT_EQ(Count(bmp.get(), clBlue, {s->CalcXPosValue(1), y, x4, y + 1}), x4 - s->CalcXPosValue(1));
  EXPECT_GT(Count(bmp.get(), clBlue, {x6, y, W, y + 1}), 0) << "and goes on after it";

  s->SetTreatNulls(tnSkip);
  bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clBlue, {x4 + 1, y, x6, y + 1}), x6 - x4 - 1) << "joined past the null";
  EXPECT_EQ(bmp->Canvas()->Pixels(s->CalcXPosValue(5), s->CalcYPosValue(9)), clWhite);

  s->SetTreatNulls(tnIgnore);
  bmp = Render();
  EXPECT_GT(Count(bmp.get(), clBlue, {x4 + 1, s->CalcYPosValue(9), x6, y}), 0) << "drawn as a value";
}

TEST_F(ChartTest, PointerStyleEventDecidesEachMarkersSizeAndFill) {
  auto* s = Add<TPointSeries>();
  s->Pointer()->SetStyle(psRectangle);
  s->Pointer()->Pen()->Hide();
  for (int i = 0; i < 6; ++i) s->AddXY(1 + 1.5 * i, 5, "", i == 4 ? clNone : clGray);
  std::vector<int> asked;
  s->OnGetPointerStyle = TGetPointerStyleEvent([&](TChartSeries* Sender, int Index) {
    EXPECT_EQ(Sender, s);
    asked.push_back(Index);
    const bool even = Index % 2 == 0;
    s->Pointer()->SetHorizSize(even ? 4 : 10);
    s->Pointer()->SetVertSize(even ? 4 : 10);
    s->Pointer()->SetColor(even ? clRed : clGreen);
    return Index == 5 ? psNothing : psRectangle;
  });
  auto bmp = Render();
  TCanvas* c = bmp->Canvas();
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 5})) << "each drawn point, in order; not the null";
  EXPECT_EQ(Count(bmp.get(), clGray), 0) << "the fill is the event's, not the point's";
  int even = 0, odd = 0;
  for (int i : {0, 1, 2, 3}) {
    const int x = s->CalcXPos(i), y = s->CalcYPos(i);
    const TColor want = i % 2 ? clGreen : clRed;
    const int w = RunWidth(c, x, y, want);
    EXPECT_GT(w, 0) << i;
    (i % 2 ? odd : even) = w;
  }
  // Sizes are whole pixels across; without a pen the device fills one pixel less.
  EXPECT_GE(even, 3);
  EXPECT_LE(even, 4);
  EXPECT_GE(odd, 9);
  EXPECT_LE(odd, 10);
  EXPECT_EQ(Count(bmp.get(), clGreen, {s->CalcXPos(4) - 8, 0, s->CalcXPos(4) + 8, H}), 0) << "no null marker";
  EXPECT_EQ(Count(bmp.get(), clRed, {s->CalcXPos(5) - 8, 0, s->CalcXPos(5) + 8, H}), 0) << "psNothing";

  // Without the event the pointer's own style and colour draw.
  s->OnGetPointerStyle.Clear();
  s->Pointer()->SetColor(clLumColor);
  bmp = Render();
  EXPECT_EQ(bmp->Canvas()->Pixels(s->CalcXPos(5), s->CalcYPos(5)), clGray);
}

TEST_F(ChartTest, MarkerChangesMadeWhileDrawingDoNotRepaintForever) {
  auto* s = Add<TPointSeries>();
  for (int i = 0; i < 4; ++i) s->AddXY(1 + 2 * i, 5, "", clGray);
  s->OnGetPointerStyle = TGetPointerStyleEvent([&](TChartSeries*, int Index) {
    s->Pointer()->SetHorizSize(Index % 2 ? 6 : 3);
    s->Pointer()->SetColor(Index % 2 ? clGreen : clRed);
    return psCircle;
  });
  TestInput::TSteppedClock clock;  // 300 ms of the loop's time hold many display frames on any machine
  int paints = 0;
  ShowOnForm(paints);
  TestInput::PumpFor(300);
  EXPECT_LE(paints, 2) << "the chart kept asking for paints";
  // Outside a paint the same changes do repaint.
  const int before = paints;
  s->Pointer()->SetHorizSize(9);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return paints > before; }));
}

TEST_F(ChartTest, BarsRunFromTheOriginAndAreNeverThinnerThanAPixel) {
  // The site bars of the chain: far above a -1..1 axis, from -1, 1 percent wide.
  Range(chart->LeftAxis(), -1, 1);
  chart->LeftAxis()->SetMinimumOffset(-5);
  chart->LeftAxis()->SetMaximumOffset(-4);
  Range(chart->BottomAxis(), 0, 13);
  auto* bars = Add<TBarSeries>();
  bars->SetBarWidthPercent(1);
  bars->BarPen()->Hide();
  bars->BarBrush()->SetColor(clWhite);
  bars->SetYOrigin(-1);
  for (int x = 0; x <= 13; ++x) bars->AddXY(x, 1000, "", clGray);
  auto bmp = Render();
  const TRect plot = chart->ChartRect();
  const int fullHeight = plot.Height() + 1;
  for (int i = 0; i <= 13; ++i) {
    const int x = bars->CalcXPos(i);
    EXPECT_EQ(Count(bmp.get(), clGray, {x, 0, x + 1, H}), fullHeight) << "bar " << i;
  }
  EXPECT_EQ(Count(bmp.get(), clGray), 14 * fullHeight) << "one pixel wide each";
  EXPECT_EQ(Count(bmp.get(), clBlack), 0) << "no outline with a hidden pen";

  bars->SetBarWidthPercent(50);
  bars->BarPen()->Show();
  bmp = Render();
  const int spacing = (plot.Right - plot.Left) / 13;
  const TRect ink = guitest::InkBounds(bmp->Canvas(), {bars->CalcXPos(6) - spacing / 2, plot.Top + 5,
                                                       bars->CalcXPos(6) + spacing / 2 + 1, plot.Top + 6},
                                       clWhite);
  EXPECT_NEAR(ink.Width(), spacing / 2, 1);
  EXPECT_GT(Count(bmp.get(), clBlack), 0) << "outlined with a visible pen";
}

TEST_F(ChartTest, BarsHangBelowTheOriginAndNullsHaveNone) {
  Range(chart->LeftAxis(), -1, 1);
  auto* bars = Add<TBarSeries>();
  bars->BarPen()->Hide();
  bars->AddXY(3, -0.5, "", clBlue);
  bars->AddXY(5, 0.5, "", clNone);
  bars->AddXY(7, 0.5, "", clRed);
  auto bmp = Render();
  const TRect down = bars->CalcBarBounds(0);
  EXPECT_EQ(std::make_pair(down.Top, down.Bottom), std::make_pair(bars->CalcYPosValue(0), bars->CalcYPosValue(-0.5)));
  EXPECT_EQ(Count(bmp.get(), clBlue), down.Width() * down.Height());
  EXPECT_EQ(bars->CalcBarBounds(1).Width(), 0);
  const TRect up = bars->CalcBarBounds(2);
  EXPECT_EQ(up.Bottom, bars->CalcYPosValue(0));
  EXPECT_EQ(Count(bmp.get(), clRed), up.Width() * up.Height());
}
