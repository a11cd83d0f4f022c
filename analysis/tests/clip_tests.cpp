// Clipping charts keep what series and the nearest tool draw for a point inside the
// plot (its box in 3D) after a zoom or an axis scroll: every pixel that differs from
// the same chart with them switched off lies in the plot mask.
#include <functional>

#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "analysis/tools_nearest.h"
#include "analysis_test_util.h"
#include "chart/stdseries.h"

namespace {

class ClipTest : public analysistest::AnalysisTest {
protected:
  // Pixels that differ between the two pictures and lie outside the plot rectangle
  // (in 3D outside the box it sweeps back to the far wall, Width3D right and Height3D
  // up), grown by one pixel for the edges.
  int OutsideThePlot(TBitmap* A, TBitmap* B) {
    const TRect& r = chart->ChartRect();
    const int w3 = chart->View3D() ? chart->Width3D() : 0, h3 = chart->View3D() ? chart->Height3D() : 0;
    const int steps = std::max(w3, h3);
    auto inside = [&](int X, int Y) {
      for (int k = 0; k <= steps; ++k) {
        const int x = X - (steps ? k * w3 / steps : 0), y = Y + (steps ? k * h3 / steps : 0);
        if (x >= r.Left - 1 && x <= r.Right + 1 && y >= r.Top - 1 && y <= r.Bottom + 1) return true;
      }
      return false;
    };
    int n = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (Pixel(A, x, y) != Pixel(B, x, y) && !inside(x, y)) ++n;
    return n;
  }
};

TEST_F(ClipTest, SeriesAndNearestToolStayInThePlotAfterZoomAndScroll) {
  const std::vector<std::function<TChartSeries*()>> kinds = {
      [&] { return Add<TLineSeries>(); },    [&] { return Add<TPointSeries>(); },
      [&] { return Add<TBarSeries>(); },     [&] { return Add<THorizBarSeries>(); },
      [&] { return Add<TAreaSeries>(); },    [&] { return Add<TFastLineSeries>(); },
      [&] { return Add<TCandleSeries>(); },  [&] { return Add<TVolumeSeries>(); },
      [&] { return Add<THistogramSeries>(); }};
  for (bool view3D : {false, true})
    for (bool zoom : {true, false})
      for (size_t k = 0; k < kinds.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "3D " << view3D << (zoom ? " zoomed" : " scrolled") << " kind " << k);
        chart->FreeAllSeries();
        chart->Tools()->Clear();
        chart->SetView3D(view3D);
        Range(chart->BottomAxis(), 0, 19);
        Range(chart->LeftAxis(), 0, 100);
        TChartSeries* s = kinds[k]();
        const bool horizontal = dynamic_cast<THorizBarSeries*>(s) != nullptr;
        for (int i = 0; i < 20; ++i) {
          const double v = 50 + 45 * ((i * 7) % 10 - 5) / 5.0;
          if (auto* ohlc = dynamic_cast<TOHLCSeries*>(s)) ohlc->AddOHLC(i, v - 4, v + 5, v - 5, v + 4);
          else if (horizontal) s->AddXY(v, i);
          else s->AddXY(i, v);
        }
        if (horizontal) Range(chart->LeftAxis(), 0, 19), Range(chart->BottomAxis(), 0, 100);
        TNearestTool* tools[2];
        for (TNearestToolStyle style : {hsCircle, hsSeries}) {
          auto* t = new TNearestTool(nullptr);
          t->SetParentChart(chart.get());
          t->SetSeries(s);
          t->SetStyle(style);
          t->Pen()->SetColor(clRed);
          t->Pen()->SetStyle(psSolid);
          tools[style == hsSeries] = t;
        }
        Render();
        const TRect r = chart->ChartRect();
        if (zoom) {
          chart->ZoomRect({r.Left + (r.Right - r.Left) / 3, r.Top + (r.Bottom - r.Top) / 3, r.Right - 20, r.Bottom - 20});
        } else {
          // Points past the right end and below the bottom, where the axes' labels are.
          chart->BottomAxis()->Scroll(horizontal ? -40 : -6, false);
          chart->LeftAxis()->Scroll(horizontal ? 6 : 40, false);
        }
        Render();
        // The mouse over the left axis' labels and over the title: both lines leave the plot.
        tools[0]->ChartMouseEvent(cmeMove, mbLeft, {}, 2, (r.Top + r.Bottom) / 2);
        tools[1]->ChartMouseEvent(cmeMove, mbLeft, {}, (r.Left + r.Right) / 2, 2);
        auto on = Render();
        s->SetActive(false);
        for (TNearestTool* t : tools) t->SetActive(false);
        auto off = Render();
        EXPECT_EQ(OutsideThePlot(on.get(), off.get()), 0);
      }
}

}  // namespace
