// The standard series' shortcuts against their plain drawing: bars and markers that
// later ones paint over (or repeat) are left out, lines of one colour are reduced to
// what each screen column holds, and the pictures must equal those of drawing every
// point, on random walks with nulls and far values, reversed and logarithmic axes,
// zoomed and scrolled, flat and in 3D, with the clip of the series' slot on.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "chart/stdseries.h"
#include "chart_test_util.h"

namespace {

using charttest::PathViews;
using charttest::TPathView;

class SeriesPaintTest : public charttest::ChartTest {
protected:
  // A random walk of N values from 50 with a step of Step; every 400th point far off.
  static std::vector<double> Walk(int N, unsigned Seed, double Step) {
    std::mt19937 random(Seed);
    std::normal_distribution<double> step(0, Step);
    std::vector<double> v;
    double y = 50;
    for (int i = 0; i < N; ++i) v.push_back(i % 400 == 7 ? 1e11 : i % 400 == 9 ? -1e9 : (y += step(random)));
    return v;
  }

  // Adds X = 0, 1, ... and Values; each Gap-th point null (0: none).
  static void Fill(TChartSeries* S, const std::vector<double>& Values, int Gap, bool Horizontal = false) {
    S->BeginUpdate();
    for (size_t i = 0; i < Values.size(); ++i) {
      const TColor color = Gap && i % size_t(Gap) == 3 ? clNone : clLumColor;
      if (Horizontal) S->AddXY(Values[i], double(i), "", color);
      else S->AddXY(double(i), Values[i], "", color);
    }
    S->EndUpdate();
  }

  // Each view's picture equals the plain one; Fewer: in the flat and orthogonal
  // views showing most points the shortcut handed over under half the figures.
  void CompareInEachView(int N, double Low, double High, bool Fewer, bool Horizontal = false) {
    for (const TPathView& v : PathViews) {
      SCOPED_TRACE(v.Name);
      ShowPathView(v, 0, N, Low, High);
      if (Horizontal) {  // positions run up the vertical axis, values across
        chart->LeftAxis()->SetLogarithmic(false);
        Range(chart->LeftAxis(), v.From * N, v.To * N);
        Range(chart->BottomAxis(), v.LogY && Low <= 0 ? 0.5 : Low, High);
        chart->BottomAxis()->SetLogarithmic(v.LogY);
      }
      long shortcut = 0, plain = 0;
      EXPECT_GT(ExpectPlainPicture(clWhite, &shortcut, &plain), 100);
      if (Fewer && v.Orthogonal && v.To - v.From > 0.5) {
        EXPECT_LT(shortcut * 2, plain);
      }
      chart->BottomAxis()->SetLogarithmic(false);
    }
  }
};

TEST_F(SeriesPaintTest, BarsLeftOutAreThoseLaterBarsHideOrRepeat) {
  const int n = 3000;
  std::vector<double> heights = Walk(n, 3, 2);
  for (double& h : heights) h = std::fabs(h - 50) + (h > 1e8 ? 0 : 1);
  for (bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    chart->FreeAllSeries();
    TCustomBarSeries* s = horizontal ? static_cast<TCustomBarSeries*>(Add<THorizBarSeries>()) : Add<TBarSeries>();
    Fill(s, heights, 97, horizontal);
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(testing::Message() << "round " << round);
      s->BarPen()->SetVisible(round != 1);                  // outlined, or filled only
      s->SetColorEachPoint(round == 2);                     // a colour per bar
      s->SetBarWidthPercent(round == 3 ? 100 : 70);         // touching
      s->SetUseYOrigin(round != 3);                         // from the axis' end
      CompareInEachView(n, 0, 40, true, horizontal);
    }
  }
}

TEST_F(SeriesPaintTest, MarkersLeftOutAreThoseLaterMarkersHideOrRepeat) {
  const int n = 12000;
  const std::vector<double> y = Walk(n, 5, 0.4);
  auto* s = Add<TPointSeries>();
  Fill(s, y, 131);
  struct TCase {
    const char* Name;
    TSeriesPointerStyle Style;
    bool Pen, Fill;
    int Size, Depth;
  };
  for (TCase c : {TCase{"rectangles", psRectangle, true, true, 4, 0}, TCase{"without pens", psRectangle, false, true, 5, 0},
                  TCase{"hollow", psRectangle, true, false, 4, 0}, TCase{"circles", psCircle, true, true, 6, 0},
                  TCase{"crosses", psCross, false, true, 3, 0}, TCase{"triangles", psTriangle, true, true, 5, 0},
                  TCase{"boxes in 3D", psRectangle, true, true, 4, 6}}) {
    SCOPED_TRACE(c.Name);
    s->Pointer()->SetStyle(c.Style);
    s->Pointer()->Pen()->SetVisible(c.Pen);
    s->Pointer()->Brush()->SetStyle(c.Fill ? bsSolid : bsClear);
    s->Pointer()->SetHorizSize(c.Size);
    s->Pointer()->SetVertSize(c.Size);
    s->Pointer()->SetDepth(c.Depth);
    for (TTreatNullsStyle treat : {tnDontPaint, tnIgnore}) {
      s->SetTreatNulls(treat);
      CompareInEachView(n, 20, 80, true);
    }
  }
  // X values out of order, and a point-style event, which draws every marker.
  s->Pointer()->SetStyle(psRectangle);
  s->XValues()->SetValue(5000, 9000.5);
  s->XValues()->SetValue(8000, 12.25);
  CompareInEachView(n, 20, 80, false);
  s->OnGetPointerStyle = TGetPointerStyleEvent(
      [](TChartSeries*, int Index) { return Index % 2 ? psRectangle : psDiamond; });
  CompareInEachView(n, 20, 80, false);
}

TEST_F(SeriesPaintTest, LinesOfOneColourGiveThePixelsOfEverySegment) {
  const int n = 20000;
  auto* s = Add<TLineSeries>();
  Fill(s, Walk(n, 8, 0.3), 0);
  CompareInEachView(n, 20, 80, true);
  s->SetTreatNulls(tnSkip);
  for (int i = 100; i < n; i += 997) s->SetValueColor(i, clNone);  // nulls: segment colours
  CompareInEachView(n, 20, 80, false);
  s->SetColorEachPoint(true);
  CompareInEachView(n, 20, 80, false);
}

}  // namespace
