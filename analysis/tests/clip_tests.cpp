// Zoomed or scrolled (views 0-3, 2D and 3D), or unclipped on automatic axes (view 4), no series type, mark
// or nearest tool changes a pixel outside the plot (in 3D the box it sweeps back; one pixel of edge allowed).
#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "analysis/tools_nearest.h"
#include "analysis_test_util.h"
#include "canvas/geometry.h"
#include "chart/stdseries.h"
using ClipTest = analysistest::AnalysisTest;
TEST_F(ClipTest, NothingDrawnForAPointLeavesThePlot) {
  for (int view = 0; view < 5; ++view)
    for (int k = 0; k < 9; ++k) {
      chart->FreeAllSeries(), chart->SetView3D(view == 2 || view == 3), chart->SetClipPoints(view != 4);
      TChartSeries* kinds[] = {Add<TLineSeries>(), Add<TPointSeries>(), Add<TBarSeries>(), Add<THorizBarSeries>(),
                               Add<TAreaSeries>(), Add<TFastLineSeries>(), Add<TCandleSeries>(), Add<TVolumeSeries>(),
                               Add<THistogramSeries>()};
      TChartSeries* s = kinds[k];
      for (TChartSeries* other : kinds) other->SetActive(other == s);
      const bool flip = k == 3;  // horizontal bars: values along the bottom axis
      Range(chart->BottomAxis(), 0, flip ? 100 : 19), Range(chart->LeftAxis(), 0, flip ? 19 : 100);
      for (int i = 0; i < 20; ++i) {
        const double v = 5 + 9 * ((i * 7) % 11);
        if (auto* c = dynamic_cast<TCandleSeries*>(s)) c->SetCandleWidth(31), c->AddOHLC(i, v - 4, v + 5, v - 5, v + 4);
        else flip ? s->AddXY(v, i) : s->AddXY(i, v);
      }
      TNearestTool circle(nullptr), again(nullptr);  // again: the point drawn again
      for (TNearestTool* t : {&circle, &again}) t->SetParentChart(chart.get()), t->SetSeries(s), t->SetActive(view < 4);
      for (TChartAxis* a : {chart->BottomAxis(), chart->LeftAxis()})
        if (view == 4) a->SetAutomatic(true), a->SetAutomaticMinimum(true), a->SetAutomaticMaximum(true);
      s->Marks()->Show(), s->Marks()->SetClip(view != 4), again.SetStyle(hsSeries);
      const TRect r = (Render(), chart->ChartRect());
      circle.ChartMouseEvent(cmeMove, mbLeft, {}, r.Left + 3, r.Top + 3);  // points found before the change
      again.ChartMouseEvent(cmeMove, mbLeft, {}, r.Right - 3, r.Bottom - 3);
      if (view < 4 && view % 2 == 0) chart->ZoomRect({r.Left + 50, r.Top + 40, r.Right - 40, r.Bottom - 30});
      if (view % 2) chart->BottomAxis()->Scroll(flip ? -40 : -6, 0), chart->LeftAxis()->Scroll(flip ? 6 : 40, false);
      auto on = Render();
      int outside = 0, w3 = chart->View3D() ? chart->Width3D() : 0, h3 = chart->View3D() ? chart->Height3D() : 0;
      for (int i = 0; i < s->Marks()->Positions().Count(); ++i)  // a mark drawn for a point outside
        outside += s->Marks()->Positions().Position(i).Width && !PointInRect(r, s->CalcXPos(i), s->CalcYPos(i));
      for (auto* e : std::initializer_list<TCustomChartElement*>{s, &circle, &again}) e->SetActive(false);
      auto off = Render();
      for (int y = 0, n = std::max(1, w3 + h3); y < H; ++y)
        for (int x = 0, in = 0; x < W; ++x, in = 0) {
          for (int d = 0, px = x, py = y; d <= n && !in; ++d, px = x - d * w3 / n, py = y + d * h3 / n)
            in = px >= r.Left - 1 && px <= r.Right + 1 && py >= r.Top - 1 && py <= r.Bottom + 1;
          outside += !in && Pixel(on.get(), x, y) != Pixel(off.get(), x, y);
        }
      EXPECT_EQ(outside, 0) << "view " << view << " kind " << k;
    }
}
