// Volume lines, Darvas boxes and histogram bars.
#include <gtest/gtest.h>

#include <random>

#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "chart/stdseries.h"
#include "analysis_test_util.h"
#include "engine/axis.h"

namespace {

using AnalysisSeriesTest = analysistest::AnalysisTest;

// ---- Volume ---------------------------------------------------------------------

TEST_F(AnalysisSeriesTest, VolumeLinesRunToTheOriginTheAxisEndOrTheTopWhenInverted) {
  auto* s = Add<TVolumeSeries>();
  s->SetSeriesColor(clNavy);
  EXPECT_EQ(s->LinePen()->Color(), clNavy);
  s->AddXY(5, 6);
  auto b = Render();
  int x = s->CalcXPos(0), y = s->CalcYPos(0), end = chart->LeftAxis()->IEndPos();
  EXPECT_EQ(s->OriginPos(), end);
  EXPECT_EQ(Pixel(b.get(), x, y), clNavy);
  EXPECT_EQ(Pixel(b.get(), x, end - 1), clNavy);
  EXPECT_EQ(Pixel(b.get(), x, y - 2), clWhite);
  EXPECT_EQ(Count(b.get(), clNavy, Rect(x + 1, 0, W, H)) + Count(b.get(), clNavy, Rect(0, 0, x, H)), 0);

  s->SetYOrigin(8);
  s->SetUseYOrigin(true);
  b = Render();
  const int origin = s->CalcYPosValue(8);
  EXPECT_EQ(s->OriginPos(), origin);
  EXPECT_EQ(Pixel(b.get(), x, (origin + y) / 2), clNavy);
  EXPECT_EQ(Pixel(b.get(), x, y + 3), clWhite);  // nothing below the value
  EXPECT_EQ(Pixel(b.get(), x, origin - 3), clWhite);

  s->SetUseYOrigin(false);
  chart->LeftAxis()->SetInverted(true);
  b = Render();
  y = s->CalcYPos(0);
  const int top = chart->LeftAxis()->IStartPos();
  EXPECT_EQ(s->OriginPos(), top);
  EXPECT_EQ(Pixel(b.get(), x, (top + y) / 2), clNavy);
  EXPECT_EQ(Pixel(b.get(), x, y + 3), clWhite);
  // Hits: on the line only.
  EXPECT_EQ(s->Clicked(x, (top + y) / 2), 0);
  EXPECT_EQ(s->Clicked(x + 2, (top + y) / 2), -1);
  EXPECT_EQ(s->Clicked(x, y + 5), -1);
}

TEST_F(AnalysisSeriesTest, VolumeLinesTakeEachPointsColourThoughThePenIsSetOnlyOnChanges) {
  auto* s = Add<TVolumeSeries>();
  s->SetSeriesColor(clNavy);
  const TColor colours[] = {clRed, clRed, clGreen, clNavy};
  for (int i = 0; i < 4; ++i) s->AddXY(2 + 2 * i, 5, "", colours[i] == clNavy ? clLumColor : colours[i]);
  auto b = Render();
  const int y = s->CalcYPosValue(2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Pixel(b.get(), s->CalcXPos(i), y), colours[i]) << i;
  // A second drawing starts afresh: the first line is not left in the last colour.
  b = Render();
  EXPECT_EQ(Pixel(b.get(), s->CalcXPos(0), y), clRed);
}

TEST_F(AnalysisSeriesTest, VolumeSamplesMarginsAndSubGallery) {
  auto* s = Add<TVolumeSeries>();
  TChartSeries::SetRandomSeed(7);
  s->AddSampleValues();
  EXPECT_EQ(s->Count(), 40);
  for (double v : s->VolumeValues()->Values()) EXPECT_LT(v, 1000 / 15);
  TChartSeries::SetRandomSeed(0);
  s->LinePen()->SetWidth(3);
  int l = 0, r = 0;
  s->CalcHorizMargins(l, r);
  EXPECT_EQ(l, 3);
  EXPECT_EQ(r, 3);
  std::vector<std::string> names;
  s->CreateSubGallery([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Dotted", "Colors", "Origin"}));
  s->SetSubGallery(s, 1);
  EXPECT_TRUE(s->LinePen()->SmallDots());
  s->SetSubGallery(s, 2);
  EXPECT_TRUE(s->ColorEachPoint());
  s->SetSubGallery(s, 3);
  EXPECT_TRUE(s->UseYOrigin());
  s->PrepareForGallery(true);
  EXPECT_EQ(s->Count(), 26);
  EXPECT_TRUE(s->Pointer()->InflateMargins());
}

// ---- Darvas ---------------------------------------------------------------------

TEST_F(AnalysisSeriesTest, DarvasBoxesOfAWorkedSequenceAndTheEdgeInputs) {
  // Top 10 at 0; lows fall to 6 at 2, then the bars stay inside until the high of 11
  // at 6 breaks out; the second box runs from 6 to the end.
  const std::vector<double> high{10, 9, 8, 8.5, 8.6, 8.7, 11, 10};
  const std::vector<double> low{8, 7, 6, 6.5, 6.6, 6.7, 9, 9.5};
  EXPECT_EQ(TDarvasSeries::CalcBoxes(high, low), (std::vector<TDarvasBox>{{0, 0, 6, 2}, {6, 6, 7, 6}}));
  // Highs rising at every point keep restarting the top: one box over all.
  const std::vector<double> rising{1, 2, 3, 4, 5}, under{0, 1, 2, 3, 4};
  EXPECT_EQ(TDarvasSeries::CalcBoxes(rising, under), (std::vector<TDarvasBox>{{0, 4, 4, 4}}));
  EXPECT_TRUE(TDarvasSeries::CalcBoxes({}, {}).empty());
  EXPECT_EQ(TDarvasSeries::CalcBoxes({3}, {2}), (std::vector<TDarvasBox>{{0, 0, 0, 0}}));
  const std::vector<double> flat(6, 5.0);
  const auto boxes = TDarvasSeries::CalcBoxes(flat, flat);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Last, 5);
  const std::vector<double> falling{6, 5, 4, 3, 2, 1};
  EXPECT_FALSE(TDarvasSeries::CalcBoxes(falling, falling).empty());
}

TEST_F(AnalysisSeriesTest, DarvasBoxesOnRandomWalksStayInOrderAndInside) {
  std::mt19937 random(3);
  std::normal_distribution<double> step(0, 1);
  for (int run = 0; run < 50; ++run) {
    const int n = 1 + run * 7;
    std::vector<double> high(n), low(n);
    double price = 100;
    for (int i = 0; i < n; ++i) {
      price += step(random);
      high[i] = price + std::abs(step(random));
      low[i] = price - std::abs(step(random));
    }
    const auto boxes = TDarvasSeries::CalcBoxes(high, low);
    ASSERT_FALSE(boxes.empty());
    int previousLast = 0;
    for (const TDarvasBox& b : boxes) {
      EXPECT_LE(b.First, b.Top);
      EXPECT_LE(b.First, b.Bottom);
      EXPECT_LE(b.Top, b.Last);
      EXPECT_LE(b.Bottom, b.Last);
      EXPECT_GE(b.First, previousLast);
      previousLast = b.Last;
    }
    EXPECT_EQ(boxes.front().First, 0);
    EXPECT_EQ(boxes.back().Last, n - 1);
  }
}

TEST_F(AnalysisSeriesTest, DarvasBoxesAreDrawnBlendedOverTheBackground) {
  Range(chart->LeftAxis(), 0, 12);
  auto* s = Add<TDarvasSeries>();
  const std::vector<double> high{10, 9, 8, 8.5, 8.6, 8.7, 11, 10};
  const std::vector<double> low{8, 7, 6, 6.5, 6.6, 6.7, 9, 9.5};
  for (int i = 0; i < 8; ++i) s->AddOHLC(i, low[i] + 0.5, high[i], low[i], high[i] - 0.5);
  s->BoxBrush()->SetBackColor(clBlue);
  s->SetTransparency(0);
  auto b = Render();
  ASSERT_EQ(s->Boxes().size(), 2u);
  const TRect r = s->BoxRects()[0];
  EXPECT_EQ(r.Left, s->CalcXPos(0));
  EXPECT_EQ(r.Right, s->CalcXPos(6));
  EXPECT_EQ(r.Top, s->CalcYPosValue(10));
  EXPECT_EQ(r.Bottom, s->CalcYPosValue(6));
  const int x = (s->CalcXPos(0) + s->CalcXPos(1)) / 2, y = (r.Top + r.Bottom) / 2;
  EXPECT_EQ(Pixel(b.get(), x, y), clBlue);
  s->SetTransparency(50);
  b = Render();
  const TColor mixed = Pixel(b.get(), x, y);
  EXPECT_GT(GetBValue(mixed), 200);
  EXPECT_GT(GetRValue(mixed), 60);
  EXPECT_LT(GetRValue(mixed), 200);
  // Drawing twice gives the same picture: every capture was given back.
  auto again = Render();
  EXPECT_EQ(Pixel(again.get(), x, y), mixed);
}

TEST_F(AnalysisSeriesTest, DarvasOfAnEmptySeriesDrawsNoBox) {
  auto* s = Add<TDarvasSeries>();
  Render();
  EXPECT_TRUE(s->Boxes().empty());
  EXPECT_EQ(s->Transparency(), 70);
}

// ---- Histogram --------------------------------------------------------------------

TEST_F(AnalysisSeriesTest, HistogramBarsOfUnequalSpacingShareTheirEdges) {
  auto* s = Add<THistogramSeries>();
  s->SetSeriesColor(clLime);
  s->Pen()->SetColor(clBlack);
  const double xs[] = {1, 2, 4, 7}, ys[] = {3, 5, 2, 6};
  for (int i = 0; i < 4; ++i) s->AddXY(xs[i], ys[i]);
  auto b = Render();
  const std::vector<TRect> rects = s->CalcBarRects();
  ASSERT_EQ(rects.size(), 4u);
  for (size_t k = 1; k < rects.size(); ++k) {
    EXPECT_EQ(rects[k].Left, rects[k - 1].Right - 1) << k;  // one shared column
    EXPECT_EQ(rects[k].Top, s->CalcYPos(int(k)));
    EXPECT_EQ(rects[k].Bottom, chart->LeftAxis()->IEndPos());
  }
  // Across the bars at a height all reach there is no gap.
  const int y = s->CalcYPosValue(1);
  for (int x = rects.front().Left + 1; x < rects.back().Right - 1; ++x)
    EXPECT_NE(Pixel(b.get(), x, y), clWhite) << x;
  EXPECT_EQ(Pixel(b.get(), rects.front().Left - 1, y), clWhite);
  EXPECT_EQ(Pixel(b.get(), rects.back().Right, y), clWhite);
  // Hits: the bar under the pixel.
  EXPECT_EQ(s->Clicked(s->CalcXPos(2), y), 2);
  EXPECT_EQ(s->Clicked(s->CalcXPos(2), s->CalcYPosValue(4)), -1);
}

TEST_F(AnalysisSeriesTest, HistogramBarsReachHalfTheSpacingBehindAndStopAtTheNextPoint) {
  chart->SetBounds(0, 0, 400, H);
  const auto render = [&] { delete chart->CreateBitmap(clWhite, Rect(0, 0, 400, H), pf32bit); };
  auto* s = Add<THistogramSeries>();
  // The points' pixels, then each bar's left and right edge.
  const std::vector<int> cases[][3] = {
      {{58, 105, 177, 225, 320}, {33, 82, 129, 213, 249}, {83, 130, 214, 250, 369}},
      {{100, 200, 210}, {49, 150, 209}, {151, 210, 216}},  // the spacing shrinks below half
  };
  for (const auto& c : cases) {
    s->Clear();
    for (size_t k = 0; k < c[0].size(); ++k) s->AddXY(double(k), 5);
    render();
    for (size_t k = 0; k < c[0].size(); ++k) s->XValues()->SetValue(int(k), chart->BottomAxis()->CalcPosPoint(c[0][k]));
    render();
    const std::vector<TRect> rects = s->CalcBarRects();
    ASSERT_EQ(rects.size(), c[0].size());
    for (size_t k = 0; k < rects.size(); ++k) {
      ASSERT_EQ(s->CalcXPos(int(k)), c[0][k]);
      EXPECT_EQ(std::make_pair(rects[k].Left, rects[k].Right), std::make_pair(c[1][k], c[2][k])) << c[0][k];
    }
  }
}

TEST_F(AnalysisSeriesTest, HistogramDividersRunFromTheOriginToTheLowerTop) {
  auto* s = Add<THistogramSeries>();
  s->SetSeriesColor(clLime);
  s->Pen()->SetColor(clBlack);
  s->LinesPen()->SetColor(clRed);
  s->AddXY(2, 3);
  s->AddXY(5, 7);
  s->AddXY(8, 4);
  auto b = Render();
  const int edge = s->CalcBarRects()[1].Left;
  const int origin = chart->LeftAxis()->IEndPos(), lowerTop = s->CalcYPosValue(3);
  EXPECT_NE(Pixel(b.get(), edge, (origin + lowerTop) / 2), clRed);
  s->LinesPen()->Show();
  b = Render();
  EXPECT_EQ(Pixel(b.get(), edge, (origin + lowerTop) / 2), clRed);
  EXPECT_EQ(Pixel(b.get(), edge, origin - 1), clRed);
  EXPECT_EQ(Pixel(b.get(), edge, (lowerTop + s->CalcYPosValue(7)) / 2), clBlack);  // the step
}

TEST_F(AnalysisSeriesTest, HorizontalHistogramLaysTheBarsAlongTheVerticalAxis) {
  auto* s = Add<THorizHistogramSeries>();
  s->SetSeriesColor(clLime);
  // Added out of order, the positions still come in ascending order.
  const double pos[] = {1, 2, 4, 7}, val[] = {3, 5, 2, 6};
  for (int i : {2, 0, 3, 1}) s->AddXY(val[i], pos[i]);
  EXPECT_EQ(s->YValues()->Values(), (std::vector<double>{1, 2, 4, 7}));
  EXPECT_EQ(s->XValues()->Values(), (std::vector<double>{3, 5, 2, 6}));
  auto b = Render();
  const std::vector<TRect> rects = s->CalcBarRects();
  ASSERT_EQ(rects.size(), 4u);
  const int axisStart = chart->BottomAxis()->IStartPos();
  for (size_t k = 0; k < rects.size(); ++k) {
    EXPECT_EQ(rects[k].Left, axisStart);
    EXPECT_EQ(rects[k].Right, s->CalcXPos(int(k)) + 1);
    if (k > 0) {
      EXPECT_EQ(rects[k].Bottom, rects[k - 1].Top + 1);  // one shared row
    }
  }
  EXPECT_NE(rects[1].Bottom - rects[1].Top, rects[2].Bottom - rects[2].Top);
  const int x = s->CalcXPosValue(1);
  for (int y = rects.back().Top + 1; y < rects.front().Bottom - 1; ++y) EXPECT_NE(Pixel(b.get(), x, y), clWhite) << y;
  EXPECT_EQ(Pixel(b.get(), s->CalcXPosValue(5.5), s->CalcYPos(1)), clWhite);
  EXPECT_EQ(s->Clicked(x, s->CalcYPos(3)), 3);
}

// On reversed axes the bars still stand where their points are, each as wide as on
// plain axes, drawn alike by the plain path and the one that leaves hidden bars out;
// the bar series beside them for comparison.
TEST_F(AnalysisSeriesTest, HistogramsAndBarsOnReversedAxesDrawEveryBar) {
  enum TKind { kHistogram, kHorizHistogram, kBar, kHorizBar };
  const char* names[] = {"histogram", "horizontal histogram", "bar", "horizontal bar"};
  const double pos[] = {1, 2, 4, 7}, val[] = {3, 5, 2, 6};
  for (TKind kind : {kHistogram, kHorizHistogram, kBar, kHorizBar}) {
    const bool alongX = kind == kHistogram || kind == kBar;  // positions on the bottom axis
    for (int reversed = 0; reversed < 4; ++reversed) {
      SCOPED_TRACE(std::string(names[kind]) + ", reversed " +
                   (reversed == 0 ? "none" : reversed == 1 ? "bottom" : reversed == 2 ? "left" : "both"));
      chart->FreeAllSeries();
      chart->BottomAxis()->SetInverted(reversed & 1);
      chart->LeftAxis()->SetInverted(reversed & 2);
      TChartSeries* s = kind == kHistogram        ? static_cast<TChartSeries*>(Add<THistogramSeries>())
                        : kind == kHorizHistogram ? Add<THorizHistogramSeries>()
                        : kind == kBar            ? static_cast<TChartSeries*>(Add<TBarSeries>())
                                                  : Add<THorizBarSeries>();
      s->SetSeriesColor(clLime);
      for (int i = 0; i < 4; ++i) alongX ? s->AddXY(pos[i], val[i]) : s->AddXY(val[i], pos[i]);
      const int drawn = ExpectPlainPicture();
      EXPECT_GT(drawn, 400);
      auto b = Render();
      TChartAxis* valueAxis = alongX ? chart->LeftAxis() : chart->BottomAxis();
      for (int i = 0; i < 4; ++i) {
        // Halfway from the origin (value 0) to the point's value, on the point's position.
        const int mid = (valueAxis->CalcPosValue(0) + valueAxis->CalcPosValue(val[i])) / 2;
        const TPoint at = alongX ? TPoint{s->CalcXPos(i), mid} : TPoint{mid, s->CalcYPos(i)};
        EXPECT_EQ(Pixel(b.get(), at.X, at.Y), clLime) << i;
      }
      if (auto* h = dynamic_cast<THistogramSeries*>(s)) {
        // Neighbouring bars share one column (row), none folds, and they cover the
        // positions from the first bar's edge to the last one's.
        std::vector<std::pair<int, int>> spans;  // each bar's pixels along the positions
        for (const TRect& r : h->CalcBarRects())
          spans.push_back(alongX ? std::minmax(r.Left, r.Right) : std::minmax(r.Top, r.Bottom));
        ASSERT_EQ(spans.size(), 4u);
        for (size_t k = 0; k < spans.size(); ++k) {
          const auto [lo, hi] = spans[k];
          const int p = alongX ? s->CalcXPos(int(k)) : s->CalcYPos(int(k));
          EXPECT_TRUE(lo < p && p < hi) << k << ": " << lo << ".." << hi << " around " << p;
          if (k > 0) {
            const bool shared = lo == spans[k - 1].second - 1 || hi == spans[k - 1].first + 1;
            EXPECT_TRUE(shared) << k;
          }
          EXPECT_EQ(h->Clicked(alongX ? p : (valueAxis->CalcPosValue(0) + valueAxis->CalcPosValue(val[k])) / 2,
                               alongX ? (valueAxis->CalcPosValue(0) + valueAxis->CalcPosValue(val[k])) / 2 : p),
                    int(k));
        }
      }
    }
  }
}

TEST_F(AnalysisSeriesTest, HistogramFillBlendsWithItsTransparency) {
  auto* s = Add<THistogramSeries>();
  s->SetSeriesColor(clBlue);
  s->AddXY(3, 8);
  s->AddXY(6, 8);
  auto b = Render();
  EXPECT_EQ(Pixel(b.get(), s->CalcXPos(0), s->CalcYPosValue(4)), clBlue);
  s->SetTransparency(50);
  b = Render();
  const TColor mixed = Pixel(b.get(), s->CalcXPos(0), s->CalcYPosValue(4));
  EXPECT_GT(GetBValue(mixed), 200);
  EXPECT_GT(GetRValue(mixed), 60);
  EXPECT_LT(GetRValue(mixed), 200);
}

TEST_F(AnalysisSeriesTest, HistogramWithOneOrNoVisiblePoint) {
  auto* s = Add<THistogramSeries>();
  Render();
  EXPECT_TRUE(s->CalcBarRects().empty());
  EXPECT_EQ(s->Clicked(50, 50), -1);
  s->AddXY(5, 5);
  auto b = Render();
  const std::vector<TRect> rects = s->CalcBarRects();
  ASSERT_EQ(rects.size(), 1u);
  // A lone bar is half the axis wide, centred on its point.
  const int half = chart->BottomAxis()->IAxisSize() / 4;
  EXPECT_EQ(rects[0].Left, s->CalcXPos(0) - half - 1);
  EXPECT_EQ(rects[0].Right, s->CalcXPos(0) + half + 1);
}

TEST_F(AnalysisSeriesTest, HistogramSubGalleryAndAssign) {
  auto* s = Add<THistogramSeries>();
  std::vector<std::string> names;
  s->CreateSubGallery([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Hollow", "No Border", "Lines", "Transparency"}));
  s->SetSubGallery(s, 1);
  EXPECT_EQ(s->Brush()->Style(), bsClear);
  s->SetSubGallery(s, 2);
  EXPECT_FALSE(s->Pen()->Visible());
  s->SetSubGallery(s, 3);
  EXPECT_TRUE(s->LinesPen()->Visible());
  s->SetSubGallery(s, 4);
  EXPECT_EQ(s->Transparency(), 30);
  s->SetUseYOrigin(true);
  s->SetYOrigin(2);
  auto* t = Add<THistogramSeries>();
  t->Assign(s);
  EXPECT_EQ(t->Transparency(), 30);
  EXPECT_TRUE(t->LinesPen()->Visible());
  EXPECT_EQ(t->Brush()->Style(), bsClear);
  EXPECT_TRUE(t->UseYOrigin());
  EXPECT_EQ(t->YOrigin(), 2);
  EXPECT_EQ(t->EditorClassName(), "THistogramSeriesEditor");
  // Registered by name for streams and editors.
  EXPECT_EQ(GetClass("THorizHistogramSeries"), THorizHistogramSeries::StaticClass());
  EXPECT_EQ(GetClass("TDarvasSeries"), TDarvasSeries::StaticClass());
}

}  // namespace
