// Every registered series type as a gallery prepares it, flat and in 3D (turned as
// the gallery's cells are): its series keeps inside its plot box, and the horizontal histogram lies along its rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/histogram.h"
#include "analysis_test_util.h"
#include "canvas/lumcanvas.h"
#include "chart/registry.h"

namespace {

// Series take the palette's colours; the rest of a cell (panel, walls, grid, axes,
// labels) is grey, black or white, the title hidden.
bool Coloured(TColor C) {
  const int r = C & 0xFF, g = (C >> 8) & 0xFF, b = (C >> 16) & 0xFF;
  return r != g || g != b;
}

class GalleryCells : public analysistest::AnalysisTest {
protected:
  static constexpr int CellW = 200, CellH = 150;
  TChartSeries* Cell(TClass SeriesClass, bool In3D) {
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, CellW, CellH);
    chart->Legend()->Hide();
    chart->Title()->SetVisible(false);
    // The gallery cells' look: a turned view as deep as the plot, small margins.
    TView3DOptions* v = chart->View3DOptions();
    v->SetOrthogonal(false);
    v->SetZoom(90);
    v->SetPerspective(55);
    v->SetRotation(335);
    v->SetElevation(350);
    chart->SetChart3DPercent(100);
    chart->SetMarginUnits(muPixels);
    for (int i = 0; i < 4; ++i) chart->SetMargin(i, In3D ? 4 : 5);
    TChartSeries* s = CreateNewSeries(nullptr, chart.get(), SeriesClass);
    s->SetChartView3D(In3D);
    s->PrepareForGallery(true);
    return s;
  }
  std::unique_ptr<TBitmap> Picture() {
    return std::unique_ptr<TBitmap>(chart->CreateBitmap(clWhite, Rect(0, 0, CellW, CellH), pf32bit));
  }
  // The projection of the last picture (drawn through a canvas of its own).
  std::unique_ptr<TLumCanvas3D> Projection() {
    auto c = std::make_unique<TLumCanvas3D>();
    c->SetView3DOptions(chart->View3DOptions());
    c->SetIs3D(chart->View3D());
    c->CalcPerspective(chart->ChartRect(), chart->Width3D());
    return c;
  }
  // The plot box on the screen, with its depth in 3D.
  TRect Box() {
    const TRect& r = chart->ChartRect();
    const TRect edges{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
    const auto c = Projection();
    const TRect out = c->ProjectedRectBounds(edges, 0), back = c->ProjectedRectBounds(edges, chart->Width3D());
    return {std::min(out.Left, back.Left), std::min(out.Top, back.Top), std::max(out.Right, back.Right),
            std::max(out.Bottom, back.Bottom)};
  }
};

TEST_F(GalleryCells, SeriesStayInsideTheirPlot) {
  int cells = 0;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    TLumSeriesType* type = LumSeriesTypes().Get(i);
    if (type->FunctionClass) continue;
    for (bool in3D : {false, true}) {
      SCOPED_TRACE(GallerySeriesName(type->ActualSeriesClass()) + (in3D ? " in 3D" : ""));
      Cell(type->ActualSeriesClass(), in3D);
      auto pic = Picture();
      const TRect box = Box();
      int series = 0, outside = 0;
      for (int y = 0; y < CellH; ++y)
        for (int x = 0; x < CellW; ++x) {
          if (!Coloured(pic->Canvas()->Pixels(x, y))) continue;
          ++series;
          outside += x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom;
        }
      // The box itself shows whole in the cell.
      EXPECT_TRUE(box.Left >= 0 && box.Top >= 0 && box.Right <= CellW && box.Bottom <= CellH)
          << "plot " << box.Left << "," << box.Top << "-" << box.Right << "," << box.Bottom;
      EXPECT_GT(series, 10);
      EXPECT_EQ(outside, 0) << "plot " << box.Left << "," << box.Top << "-" << box.Right << "," << box.Bottom;
      ++cells;
    }
  }
  EXPECT_GE(cells, 2 * 14);
}

// Each bar runs along its position (a row, or its projection in 3D), from the value
// axis's start to its value, and no further.
TEST_F(GalleryCells, HorizontalHistogramBarsLieAlongTheirRows) {
  for (bool in3D : {false, true}) {
    SCOPED_TRACE(in3D ? "3D" : "flat");
    auto* s = dynamic_cast<THorizHistogramSeries*>(Cell(THorizHistogramSeries::StaticClass(), in3D));
    ASSERT_TRUE(s);
    // Values of our own: the gallery's random ones leave fewer than three long bars now and then.
    s->Clear();
    for (int i = 0; i < 6; ++i) s->AddXY((i * 5) % 6 + 1, i);
    s->Pen()->Hide();
    auto pic = Picture();
    ASSERT_GT(s->Count(), 3);
    const auto c = Projection();
    int longBars = 0;
    for (int i = 0; i < s->Count(); ++i) {
      SCOPED_TRACE("bar " + std::to_string(i));
      const TPoint value = c->ProjectPoint(s->CalcXPos(i), s->CalcYPos(i), s->MiddleZ());
      const TPoint origin = c->ProjectPoint(chart->BottomAxis()->IStartPos(), s->CalcYPos(i), s->MiddleZ());
      if (value.X - origin.X < 10) continue;  // the value at the axis's minimum
      ++longBars;
      auto at = [&](double t) {
        return pic->Canvas()->Pixels(int(Round(origin.X + t * (value.X - origin.X))),
                                     int(Round(origin.Y + t * (value.Y - origin.Y))));
      };
      for (int k = 1; k < 10; ++k) EXPECT_EQ(at(k / 10.0), s->SeriesColor()) << "at " << k * 10 << "%";
      EXPECT_NE(at(1.2), s->SeriesColor());
    }
    EXPECT_GE(longBars, 3);
  }
}

}  // namespace
