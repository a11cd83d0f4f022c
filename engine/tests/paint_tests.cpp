// Painting: the layout, clipping, pointer symbols, the after-draw event and a chart
// that refills itself from it.

#include <functional>

#include "engine_test.h"
#include "gui_test.h"
#include "platform/testing.h"

namespace {

// A chart laid out with pixel margins and no bevel, so the plot rectangle is known.
void PlainLayout(TCustomAxisPanel* c, int W, int H, int Margin) {
  c->SetBounds(0, 0, W, H);
  c->SetMarginUnits(muPixels);
  for (int i = 0; i < 4; ++i) c->SetMargin(i, Margin);
  c->SetBevelOuter(bvNone);
  c->SetColor(clWhite);
}

TEST(Paint, FarValuesAreClippedToThePlot) {
  // Site bars from -1 up to 1000 on a fixed -1..1 axis whose ends lie a few pixels
  // outside the plot: each bar covers the plot's height and nothing beyond it.
  TCountingChart chart;
  PlainLayout(&chart, 200, 150, 20);
  TChartAxis* left = chart.LeftAxis();
  left->SetAutomatic(false);
  left->SetMinMax(-1, 1);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);
  left->SetVisible(false);
  TChartAxis* bottom = chart.BottomAxis();
  bottom->Axis()->Hide();
  bottom->Ticks()->Hide();
  bottom->MinorTicks()->Hide();
  bottom->Grid()->Hide();
  bottom->SetLabels(false);
  TTestSeries bars(nullptr);
  bars.SetParentChart(&chart);
  bars.Bars = true;
  bars.YOrigin = -1;
  for (int x = 0; x <= 13; ++x) bars.AddXY(x, 1000, "", clGray);
  auto bmp = Render(&chart);
  const TRect r = chart.ChartRect();
  ASSERT_EQ(r, Rect(20, 20, 180, 130));
  TCanvas* c = bmp->Canvas();
  for (int i = 0; i <= 13; ++i) {
    const int x = bars.CalcXPos(i);
    EXPECT_EQ(guitest::CountColor(c, Rect(x, r.Top, x + 1, r.Bottom + 1), clGray), r.Height() + 1) << "bar " << i;
  }
  EXPECT_EQ(guitest::CountColor(c, Rect(0, 0, 200, r.Top), clGray), 0);
  EXPECT_EQ(guitest::CountColor(c, Rect(0, r.Bottom + 1, 200, 150), clGray), 0);
  // The layout stays until the next one.
  chart.SetMargin(0, 50);
  EXPECT_EQ(chart.ChartXCenter(), 100);
  EXPECT_EQ(chart.ChartYCenter(), 75);
  EXPECT_EQ(chart.ChartHeight(), 110);
}

TEST(Paint, PointerSymbolsStayInsideTheirBoxAndInflateTheMargins) {
  TCountingChart chart;
  PlainLayout(&chart, 200, 150, 20);
  chart.Axes()->SetVisible(false);
  TTestSeries s(nullptr);
  s.SetParentChart(&chart);
  s.AddXY(0, 0, "", clRed);
  s.AddXY(10, 10, "", clRed);
  s.Pointer.SetHorizSize(8);  // sizes are whole pixels across
  s.Pointer.SetVertSize(6);
  s.Pointer.Pen()->Hide();
  for (int style = psRectangle; style <= psHexagon; ++style) {
    s.Pointer.SetStyle(TSeriesPointerStyle(style));
    auto bmp = Render(&chart);
    const TRect r = chart.ChartRect();
    // Markers inflate the automatic range: the end points sit 5 and 4 pixels inside.
    const int x = s.CalcXPos(0), y = s.CalcYPos(0);
    ASSERT_EQ(x, r.Left + 5);
    ASSERT_EQ(y, r.Bottom - 4);
    const TRect ink = guitest::InkBounds(bmp->Canvas(), Rect(r.Left, r.Bottom - 20, r.Left + 20, r.Bottom + 1), clWhite);
    if (style == psNothing) {
      EXPECT_GE(ink.Left, ink.Right) << "psNothing draws";
      continue;
    }
    EXPECT_GE(ink.Left, x - 4) << style;
    EXPECT_LE(ink.Right, x + 5) << style;
    EXPECT_GE(ink.Top, y - 3) << style;
    EXPECT_LE(ink.Bottom, y + 4) << style;
    EXPECT_TRUE(ink.Left < ink.Right) << "style " << style << " drew nothing";
    if (style == psRectangle) {  // without a pen the device fills one pixel less
      EXPECT_EQ(ink.Right - ink.Left, 7);
      EXPECT_EQ(ink.Bottom - ink.Top, 5);
    }
    if (style != psHexagon && style != psDiagCross) {
      EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clRed) << style;
    }
  }
}

TEST(Paint, CentredGridMinorTicksAndRotatedTitle) {
  TCountingChart chart;
  PlainLayout(&chart, 300, 200, 40);
  TChartAxis* bottom = chart.BottomAxis();
  bottom->SetAutomatic(false);
  bottom->SetMinMax(0, 10);
  bottom->SetIncrement(2);
  bottom->SetLabels(false);
  bottom->Axis()->Hide();
  bottom->Ticks()->Hide();
  bottom->Grid()->SetStyle(psSolid);
  bottom->Grid()->SetColor(clBlue);
  bottom->Grid()->SetCentered(true);
  bottom->MinorTicks()->SetColor(clRed);
  bottom->SetMinorTickCount(1);
  bottom->SetMinorTickLength(6);
  TChartAxis* left = chart.LeftAxis();
  left->SetLabels(false);
  left->Grid()->Hide();
  left->Ticks()->Hide();
  left->MinorTicks()->Hide();
  left->GetTitle()->SetCaption("Omega");
  left->GetTitle()->Font()->SetColor(clGreen);
  auto bmp = Render(&chart);
  TCanvas* c = bmp->Canvas();
  const TRect r = chart.ChartRect();
  // Grid lines halfway between the labels 0, 2, .. 10; minor ticks likewise, below the axis.
  const int y = (r.Top + r.Bottom) / 2;
  std::vector<int> grid, minor;
  for (int x = r.Left; x <= r.Right; ++x) {
    if (c->Pixels(x, y) == clBlue) grid.push_back(x);
    if (c->Pixels(x, r.Bottom + 3) == clRed) minor.push_back(x);
  }
  std::vector<int> halfway;
  for (double v : {1.0, 3.0, 5.0, 7.0, 9.0}) halfway.push_back(bottom->CalcPosValue(v));
  EXPECT_EQ(grid, halfway);
  EXPECT_EQ(minor, halfway);
  // The left title turns by 90 degrees, outside the axis line.
  const TRect ink = guitest::InkBounds(c, Rect(0, r.Top, r.Left - 1, r.Bottom), clWhite);
  ASSERT_LT(ink.Left, ink.Right);
  EXPECT_GT(ink.Height(), 2 * ink.Width());
  EXPECT_GT(guitest::CountColor(c, ink, clGreen), 0);
}

TEST(Paint, BackgroundBorderAndBevel) {
  TCountingChart chart;
  PlainLayout(&chart, 100, 80, 0);
  chart.SetColor(clYellow);
  chart.Border()->Show();
  chart.Border()->SetColor(clBlue);
  chart.Border()->SetWidth(7);
  chart.Axes()->SetVisible(false);
  auto bmp = Render(&chart);
  TCanvas* c = bmp->Canvas();
  EXPECT_EQ(c->Pixels(0, 0), clBlue);
  EXPECT_EQ(c->Pixels(6, 40), clBlue);
  EXPECT_EQ(c->Pixels(7, 40), clYellow);
  EXPECT_EQ(c->Pixels(99, 79), clBlue);
  EXPECT_EQ(chart.ChartRect(), Rect(7, 7, 93, 73));
  chart.Border()->Hide();
  chart.SetBevelOuter(bvLowered);
  chart.SetBevelWidth(2);
  bmp = Render(&chart);
  c = bmp->Canvas();
  EXPECT_EQ(c->Pixels(1, 40), ColorToRGB(clBtnShadow));
  EXPECT_EQ(c->Pixels(98, 40), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(c->Pixels(2, 40), clYellow);
}

TEST(AfterDraw, FiresOncePerDrawingWithTheChartAndItsCanvasCurrent) {
  TCountingChart chart;
  int calls = 0;
  chart.OnAfterDraw = [&](TObject* Sender) {
    ++calls;
    EXPECT_EQ(Sender, &chart);
    EXPECT_TRUE(chart.Drawing());
    // The dotted line of an after-draw handler lands in the picture being made.
    chart.Canvas()->Pen()->SetColor(clBlack);
    chart.Canvas()->Pen()->SetStyle(psDot);
    chart.Canvas()->MoveTo(chart.ChartXCenter(), chart.ChartYCenter());
    chart.Canvas()->LineTo(chart.ChartXCenter(), chart.ChartYCenter() + chart.ChartHeight() / 2);
    EXPECT_EQ(chart.CreateBitmap(clWhite, Rect(0, 0, 10, 10)), nullptr);  // no nested drawing
  };
  chart.SetColor(clWhite);
  auto bmp = Render(&chart);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(chart.Drawing());
  const int x = chart.ChartXCenter();
  int black = guitest::CountColor(bmp->Canvas(), Rect(x, chart.ChartYCenter(), x + 1, chart.ChartRect().Bottom), clBlack);
  EXPECT_GT(black, 0);
  EXPECT_LT(black, chart.ChartHeight() / 2);  // dotted, not solid
  Render(&chart);
  EXPECT_EQ(calls, 2);
}

// The dispersion chart's pattern: its after-draw handler refills the chart's own
// series (each change asks for a repaint) and pumps messages.
TEST(AfterDraw, SelfRefillingChartPaintsUnnestedAtABoundedRateWhileOthersPaint) {
  TestInput::TSteppedClock clock;  // the pace is the loop's own, however loaded the machine is
  TForm form(nullptr);
  form.SetBounds(0, 0, 500, 300);
  auto* self = new TCountingChart(&form);
  self->SetParent(&form);
  auto* other = new TCountingChart(&form);
  other->SetLeft(250);
  other->SetParent(&form);
  auto* curve = new TTestSeries(&form);
  curve->SetParentChart(self);
  auto* wave = new TTestSeries(&form);
  wave->SetParentChart(other);

  int depth = 0, maxDepth = 0, selfDraws = 0, otherDraws = 0;
  bool refill = true;
  self->OnAfterDraw = [&](TObject*) {
    maxDepth = std::max(maxDepth, ++depth);
    ++selfDraws;
    if (refill) {
      curve->Clear();
      for (int i = 1; i <= 100; ++i) curve->AddXY(i, (i * selfDraws) % 37, "", clBlack);
      other->Invalidate();
      Application->ProcessMessages();
      // Asking for a paint now, from inside this one, never nests.
      self->Repaint();
      self->Draw(self->ClientRect());
    }
    --depth;
  };
  other->OnAfterDraw = [&](TObject*) { ++otherDraws; };
  form.Show();
  TestInput::PumpFor(500);
  refill = false;
  TestInput::PumpFor(100);
  EXPECT_EQ(maxDepth, 1);
  // It keeps repainting while it refills itself, at most once a display frame.
  EXPECT_GE(selfDraws, 10);
  EXPECT_LE(selfDraws, 600 / 16 + 1);
  EXPECT_GE(otherDraws, 2);
}

}  // namespace

TEST(Paint, PicturesWhoseBackgroundCoversThemEqualPicturesFilledWhiteFirst) {
  // A 32-bit picture skips its white fill where the panel's background fills it all;
  // a 24-bit one is filled first. Both hold the same pixels in every case, and where
  // the background leaves room (no colour, round corners, a shadow) white shows.
  struct TCase {
    const char* Name;
    std::function<void(TCountingChart&)> Set;
    bool Covers;
  };
  const TCase cases[] = {
      {"plain colour", [](TCountingChart& c) { c.SetColor(clTeal); }, true},
      {"panel colour", [](TCountingChart& c) { c.SetColor(clLumColor); }, true},
      {"no colour", [](TCountingChart& c) { c.SetColor(clNone); }, false},
      {"round border", [](TCountingChart& c) { c.SetColor(clTeal), c.SetBorderRound(12); }, false},
      {"shadow", [](TCountingChart& c) { c.SetColor(clTeal), c.Shadow()->SetVisible(true), c.Shadow()->SetSize(6); }, false},
      {"gradient", [](TCountingChart& c) { c.Gradient()->SetVisible(true); }, false},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TCountingChart chart;
    PlainLayout(&chart, 120, 90, 10);
    k.Set(chart);
    EXPECT_EQ(chart.BackgroundCovers(Rect(0, 0, 120, 90)), k.Covers);
    std::unique_ptr<TBitmap> skipped(chart.CreateBitmap(clWhite, Rect(0, 0, 120, 90), pf32bit));
    std::unique_ptr<TBitmap> filled(chart.CreateBitmap(clWhite, Rect(0, 0, 120, 90), pf24bit));
    ASSERT_TRUE(skipped && filled);
    int differ = 0, white = 0;
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 120; ++x) {
        differ += skipped->Canvas()->Pixels(x, y) != filled->Canvas()->Pixels(x, y);
        white += skipped->Canvas()->Pixels(x, y) == clWhite;
      }
    EXPECT_EQ(differ, 0);
    if (!k.Covers && !chart.HasGradient()) {
      EXPECT_GT(white, 0);
    }
  }
}
