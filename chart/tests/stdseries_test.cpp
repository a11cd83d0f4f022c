// Area, horizontal, pie and smoothing series; hit tests of the standard types.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/lumcanvas.h"
#include "chart/stdseries.h"
#include "chart_test_util.h"

using charttest::ChartTest;

namespace {

TEST_F(ChartTest, AreaFillsDownToItsOriginInEachPointsColour) {
  auto* s = Add<TAreaSeries>();
  s->LinePen()->Hide();
  s->AddXY(2, 8, "", clBlue);
  s->AddXY(4, 8, "", clBlue);
  s->AddXY(6, 8, "", clRed);
  s->SetUseYOrigin(true);
  s->SetYOrigin(5);
  auto bmp = Render();
  const int top = s->CalcYPosValue(8), origin = s->CalcYPosValue(5), x = s->CalcXPosValue(3);
  EXPECT_EQ(Count(bmp.get(), clBlue, {x, top + 1, x + 1, origin - 1}), origin - top - 2) << "filled between";
  EXPECT_EQ(Count(bmp.get(), clBlue, {x, origin + 2, x + 1, H}), 0) << "nothing below the origin";
  EXPECT_GT(Count(bmp.get(), clRed, {s->CalcXPosValue(5), top + 1, s->CalcXPosValue(5) + 1, origin - 1}), 0)
      << "the second stretch in the colour of the point it ends at";

  // Values below the origin hang down to it.
  s->SetYOrigin(9);
  bmp = Render();
  const int nine = s->CalcYPosValue(9);
  EXPECT_EQ(Count(bmp.get(), clBlue, {x, nine + 1, x + 1, top - 1}), top - nine - 2);
  EXPECT_EQ(Count(bmp.get(), clBlue, {x, top + 2, x + 1, H}), 0);

  // Without UseYOrigin the fill reaches the axis' minimum.
  s->SetUseYOrigin(false);
  bmp = Render();
  const int bottom = s->CalcYPosValue(0);
  EXPECT_GE(Count(bmp.get(), clBlue, {x, top + 1, x + 1, bottom}), bottom - top - 2);

  // A null stretch leaves a gap.
  s->Clear();
  for (int i = 0; i <= 10; ++i) s->AddXY(i, 6, "", i == 5 ? clNone : clBlue);
  bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clBlue, {s->CalcXPosValue(4) + 2, 0, s->CalcXPosValue(6) - 1, H}), 0);
  EXPECT_GT(Count(bmp.get(), clBlue, {s->CalcXPosValue(6) + 2, 0, s->CalcXPosValue(7), H}), 0);
}

TEST_F(ChartTest, HorizontalBarsRunFromTheOriginAlongTheBottomAxis) {
  auto* s = Add<THorizBarSeries>();
  s->BarPen()->Hide();
  s->SetYOrigin(2);
  s->AddXY(7, 3, "", clBlue);  // value 7 at position 3
  s->AddXY(1, 6, "", clRed);   // hangs left of the origin
  EXPECT_EQ(s->MandatoryValueList(), s->XValues());
  EXPECT_EQ(s->XValues()->GetValue(1), 1) << "kept in the order added";
  auto bmp = Render();
  const TRect up = s->CalcBarBounds(0), down = s->CalcBarBounds(1);
  EXPECT_EQ(std::make_pair(up.Left, up.Right), std::make_pair(s->CalcXPosValue(2), s->CalcXPosValue(7)));
  EXPECT_LE(up.Top, s->CalcYPosValue(3));
  EXPECT_GE(up.Bottom, s->CalcYPosValue(3));
  EXPECT_EQ(std::make_pair(down.Left, down.Right), std::make_pair(s->CalcXPosValue(1), s->CalcXPosValue(2)));
  EXPECT_EQ(Count(bmp.get(), clBlue), up.Width() * up.Height());
  EXPECT_EQ(Count(bmp.get(), clRed), down.Width() * down.Height());
  EXPECT_EQ(s->Clicked(s->CalcXPosValue(5), s->CalcYPosValue(3)), 0);
  EXPECT_EQ(s->Clicked(s->CalcXPosValue(1) + 1, s->CalcYPosValue(6)), 1);
  EXPECT_EQ(s->Clicked(s->CalcXPosValue(9), s->CalcYPosValue(3)), -1) << "past the bar's end";
}

TEST_F(ChartTest, HorizontalLineAndAreaKeepTheirPointsInTheOrderAdded) {
  auto* line = Add<THorizLineSeries>();
  line->SetSeriesColor(clBlue);
  line->AddXY(5, 1);
  line->AddXY(2, 5);
  line->AddXY(8, 9);
  EXPECT_EQ(line->XValues()->GetValue(1), 2);
  auto bmp = Render();
  EXPECT_EQ(bmp->Canvas()->Pixels(line->CalcXPosValue(3.5), line->CalcYPosValue(3)), clBlue);

  auto* area = Add<THorizAreaSeries>();
  area->LinePen()->Hide();
  area->SetSeriesColor(clRed);
  area->SetUseYOrigin(true);
  area->SetYOrigin(1);
  area->AddXY(6, 2);
  area->AddXY(6, 8);
  bmp = Render();
  const int y = area->CalcYPosValue(5);
  EXPECT_GT(Count(bmp.get(), clRed, {area->CalcXPosValue(1) + 1, y, area->CalcXPosValue(6) - 1, y + 1}), 0);
  EXPECT_EQ(Count(bmp.get(), clRed, {area->CalcXPosValue(6) + 2, 0, W, H}), 0) << "filled to the left only";
  EXPECT_EQ(area->Clicked(area->CalcXPosValue(3), y), 1);
  EXPECT_EQ(area->Clicked(area->CalcXPosValue(8), y), -1);
}

class PieTest : public ChartTest {
protected:
  TPieSeries* Pie() {
    auto* p = Add<TPieSeries>();
    chart->BackWall()->SetTransparent(true);
    return p;
  }
};

TEST_F(PieTest, SlicesSpanAnglesInProportionToPositiveValuesOnly) {
  auto* p = Pie();
  p->AddXY(0, 1, "", clRed);
  p->AddXY(1, 0, "", clLime);
  p->AddXY(2, 2, "", clBlue);
  p->AddXY(3, -4, "", clYellow);
  p->AddNull();
  p->AddXY(5, 3, "", clGreen);
  double a0, a1;
  ASSERT_TRUE(p->SliceAngles(0, a0, a1));
  EXPECT_DOUBLE_EQ(a0, 0);
  EXPECT_DOUBLE_EQ(a1, 60);
  ASSERT_TRUE(p->SliceAngles(2, a0, a1));
  EXPECT_DOUBLE_EQ(a0, 60);
  EXPECT_DOUBLE_EQ(a1, 180);
  ASSERT_TRUE(p->SliceAngles(5, a0, a1));
  EXPECT_DOUBLE_EQ(a1 - a0, 180);
  EXPECT_FALSE(p->SliceAngles(1, a0, a1)) << "zero";
  EXPECT_FALSE(p->SliceAngles(3, a0, a1)) << "negative";
  EXPECT_FALSE(p->SliceAngles(4, a0, a1)) << "null";

  auto bmp = Render();
  int cx, cy, rx, ry;
  p->CalcCircle(cx, cy, rx, ry);
  ASSERT_GT(rx, 20);
  const auto at = [&](double Degrees) {
    const double r = rx * 0.6, a = Degrees * 3.14159265358979 / 180;
    return TPoint{int(std::lround(cx + r * std::cos(a))), int(std::lround(cy - r * std::sin(a)))};
  };
  for (auto [deg, color] : {std::pair{30.0, clRed}, {120.0, clBlue}, {270.0, clGreen}}) {
    const TPoint q = at(deg);
    EXPECT_EQ(bmp->Canvas()->Pixels(q.X, q.Y), color) << deg;
    EXPECT_EQ(p->Clicked(q.X, q.Y), color == clRed ? 0 : color == clBlue ? 2 : 5) << deg;
  }
  EXPECT_EQ(Count(bmp.get(), clLime) + Count(bmp.get(), clYellow), 0);
  EXPECT_EQ(p->Clicked(cx + rx + 3, cy), -1) << "outside the disc";

  // Turned a quarter: the first slice starts at twelve o'clock.
  p->SetRotationAngle(90);
  bmp = Render();
  const TPoint q = at(120);
  EXPECT_EQ(bmp->Canvas()->Pixels(q.X, q.Y), clRed);
}

TEST_F(PieTest, NothingToShareOutDrawsNothing) {
  auto* p = Pie();
  p->SetSeriesColor(clRed);
  p->SetColorEachPoint(false);
  p->AddXY(0, 0);
  p->AddXY(1, -2);
  p->AddNull();
  double a0, a1;
  for (int i = 0; i < p->Count(); ++i) EXPECT_FALSE(p->SliceAngles(i, a0, a1));
  auto bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clRed), 0);
  EXPECT_EQ(p->Clicked(W / 2, H / 2), -1);
  // One slice alone is the whole disc.
  p->AddXY(3, 5);
  bmp = Render();
  int cx, cy, rx, ry;
  p->CalcCircle(cx, cy, rx, ry);
  EXPECT_EQ(bmp->Canvas()->Pixels(cx - rx / 2, cy + ry / 2), clRed);
  EXPECT_EQ(bmp->Canvas()->Pixels(cx + rx / 2, cy - ry / 2), clRed);
}

TEST_F(ChartTest, SmoothingRunsThroughEverySourcePoint) {
  auto* source = Add<TPointSeries>();
  const double xs[] = {0, 1, 3, 4, 7}, ys[] = {2, 5, 1, 6, 3};
  for (int i = 0; i < 5; ++i) source->AddXY(xs[i], ys[i]);
  auto* smooth = Add<TLineSeries>();
  auto* f = new TSmoothingFunction(nullptr);
  smooth->SetFunction(f);
  smooth->SetDataSource(source);
  ASSERT_EQ(smooth->Count(), 4 * f->Factor() + 1);
  for (int i = 0; i < 5; ++i) {
    const int at = i * f->Factor();
    EXPECT_DOUBLE_EQ(smooth->XValues()->GetValue(at), xs[i]);
    EXPECT_NEAR(smooth->YValues()->GetValue(at), ys[i], 1e-9);
  }
  // Between the points it is a curve, not the straight line.
  const double mid = smooth->YValues()->GetValue(2);  // x = 0.5
  EXPECT_GT(std::abs(mid - 3.5), 0.05);
  // And it is smooth: the slopes on both sides of an inner point agree.
  const auto slope = [&](int a, int b) {
    return (smooth->YValues()->GetValue(b) - smooth->YValues()->GetValue(a)) /
           (smooth->XValues()->GetValue(b) - smooth->XValues()->GetValue(a));
  };
  f->SetFactor(200);
  const int k = 2 * 200;
  EXPECT_NEAR(slope(k - 1, k), slope(k, k + 1), 0.1);

  // Fewer than three points are copied.
  source->Clear();
  source->AddXY(1, 4);
  source->AddXY(2, 9);
  smooth->RefreshSeries();
  ASSERT_EQ(smooth->Count(), 2);
  EXPECT_EQ(smooth->YValues()->GetValue(1), 9);
  source->Clear();
  smooth->RefreshSeries();
  EXPECT_EQ(smooth->Count(), 0);
}

TEST_F(ChartTest, ClickedFindsThePointOfEachStandardType) {
  auto* line = Add<TLineSeries>();
  line->AddXY(1, 1);
  line->AddXY(5, 5);
  line->AddXY(9, 1);
  auto* points = Add<TPointSeries>();
  points->AddXY(2, 8);
  points->AddXY(8, 8);
  auto* fast = Add<TFastLineSeries>();
  fast->AddXY(0, 9);
  fast->AddXY(10, 9);
  auto* bars = Add<TBarSeries>();
  bars->AddXY(3, 2);
  Render();
  // Near the first segment, closer to its start; near the second, closer to its end.
  EXPECT_EQ(line->Clicked(line->CalcXPosValue(2), line->CalcYPosValue(2) + 1), 0);
  EXPECT_EQ(line->Clicked(line->CalcXPosValue(8), line->CalcYPosValue(2)), 2);
  EXPECT_EQ(line->Clicked(line->CalcXPosValue(5), line->CalcYPosValue(1)), -1);
  EXPECT_EQ(points->Clicked(points->CalcXPosValue(8) + 2, points->CalcYPosValue(8) - 2), 1);
  EXPECT_EQ(points->Clicked(points->CalcXPosValue(5), points->CalcYPosValue(8)), -1) << "no line between markers";
  EXPECT_EQ(fast->Clicked(fast->CalcXPosValue(8), fast->CalcYPosValue(9) + 2), 1);
  EXPECT_EQ(bars->Clicked(bars->CalcXPosValue(3), bars->CalcYPosValue(1)), 0);
  EXPECT_EQ(bars->Clicked(bars->CalcXPosValue(3), bars->CalcYPosValue(3)), -1) << "above the bar";
}

TEST_F(ChartTest, SubGalleryStylesNameAndApplyEachStyle) {
  std::vector<TChartSeries*> kinds{Add<TLineSeries>(), Add<TPointSeries>(), Add<TAreaSeries>(),
                                   Add<TBarSeries>(),  Add<TPieSeries>(),   Add<TFastLineSeries>()};
  for (TChartSeries* s : kinds) {
    std::vector<std::string> names;
    s->CreateSubGallery([&](const std::string& n) { names.push_back(n); });
    ASSERT_GE(names.size(), 3u) << s->ClassName();
    EXPECT_EQ(names[0], "Normal");
    for (int i = 0; i < int(names.size()); ++i) s->SetSubGallery(s, i);  // none raises
  }
  auto* bar = dynamic_cast<TBarSeries*>(kinds[3]);
  EXPECT_TRUE(bar->ColorEachPoint());
  EXPECT_FALSE(bar->BarPen()->Visible());
  auto* area = dynamic_cast<TAreaSeries*>(kinds[2]);
  EXPECT_EQ(area->Transparency(), 50);
  EXPECT_TRUE(area->AreaLinesPen()->Visible());
}

// The series editor looks these names up; only the point series' form exists.
TEST_F(ChartTest, EachStandardTypeNamesItsEditorForm) {
  const std::pair<TChartSeries*, const char*> kinds[] = {
      {Add<TLineSeries>(), "TCustomSeriesEditor"},   {Add<THorizLineSeries>(), "TCustomSeriesEditor"},
      {Add<TPointSeries>(), "TSeriesPointerEditor"}, {Add<TAreaSeries>(), "TAreaSeriesEditor"},
      {Add<THorizAreaSeries>(), "TAreaSeriesEditor"}, {Add<TBarSeries>(), "TBarSeriesEditor"},
      {Add<THorizBarSeries>(), "TBarSeriesEditor"},   {Add<TPieSeries>(), "TPieSeriesEditor"},
      {Add<TFastLineSeries>(), "TFastLineSeriesEditor"}};
  for (const auto& [series, name] : kinds) EXPECT_EQ(series->EditorClassName(), name) << series->ClassName();
}

}  // namespace

namespace {

// A chart with a fixed depth, so series draw through their depth slots.
class TDepthChart : public TChart {
public:
  using TChart::TChart;

protected:
  void CalcSize3D() override { SetSize3D(View3D() ? 30 : 0, View3D() ? 30 : 0); }
};

class Depth3DTest : public ChartTest {
protected:
  std::unique_ptr<TChart> NewChart() override { return std::make_unique<TDepthChart>(nullptr); }
  void SetUp() override {
    ChartTest::SetUp();
    chart->BackWall()->SetTransparent(true);
    chart->View3DOptions()->SetOrthogonal(true);
    chart->SetView3D(true);
  }
};

TEST_F(Depth3DTest, EveryStandardTypeDrawsThroughItsDepth) {
  const TClass kinds[] = {TLineSeries::StaticClass(),      THorizLineSeries::StaticClass(), TPointSeries::StaticClass(),
                          TAreaSeries::StaticClass(),      THorizAreaSeries::StaticClass(), TBarSeries::StaticClass(),
                          THorizBarSeries::StaticClass(),  TPieSeries::StaticClass(),       TFastLineSeries::StaticClass()};
  for (TClass k : kinds) {
    auto* s = static_cast<TChartSeries*>(k->NewInstance(nullptr));
    s->SetParentChart(chart.get());
    s->Marks()->Hide();
    s->SetColorEachPoint(false);
    s->SetSeriesColor(clBlue);
    TChartSeries::SetRandomSeed(3);
    s->AddSampleValues(5);
    auto bmp = Render();
    EXPECT_GT(Count(bmp.get(), clBlue), 0) << k->Name;
    EXPECT_EQ(s->EndZ() - s->StartZ(), 30) << k->Name;
    delete s;
  }
}

TEST_F(Depth3DTest, BarsAreBoxesAndPiesDiscs) {
  auto* bar = Add<TBarSeries>();
  bar->BarPen()->Hide();
  bar->SetSeriesColor(clBlue);
  bar->AddXY(5, 8);
  Range(chart->BottomAxis(), 0, 10);
  Range(chart->LeftAxis(), 0, 10);
  auto bmp = Render();
  const TRect front = bar->CalcBarBounds(0);
  // The box's side and top run back beside the front face, shaded darker.
  int shaded = 0;
  for (int x = front.Right; x < front.Right + 25; ++x)
    for (int y = front.Top - 25; y < front.Bottom; ++y) {
      const TColor c = bmp->Canvas()->Pixels(x, y);
      if (c != clWhite && c != clBlue) ++shaded;
    }
  EXPECT_GT(shaded, 50);
  EXPECT_EQ(bar->Clicked(front.Left + 1, front.Bottom - 2), 0);
  delete bar;

  auto* pie = Add<TPieSeries>();
  pie->AddXY(0, 1, "", clRed);
  pie->AddXY(1, 1, "", clBlue);
  bmp = Render();
  int cx, cy, rx, ry;
  pie->CalcCircle(cx, cy, rx, ry);
  EXPECT_EQ(bmp->Canvas()->Pixels(cx, cy - ry / 2), clRed) << "front face";
  // The rim shows above and right of the front face, darker than the slices.
  int rim = 0;
  for (int x = cx; x < cx + rx + 25; ++x)
    for (int y = cy - ry - 25; y < cy; ++y) {
      const TColor c = bmp->Canvas()->Pixels(x, y);
      if (c != clWhite && c != clRed && c != clBlue) ++rim;
    }
  EXPECT_GT(rim, 50);
}

TEST_F(ChartTest, AreaTransparencyLetsTheBackgroundThrough) {
  auto* s = Add<TAreaSeries>();
  s->LinePen()->Hide();
  s->SetSeriesColor(clBlue);
  s->AddXY(0, 8);
  s->AddXY(10, 8);
  auto bmp = Render();
  const int x = s->CalcXPosValue(5), y = s->CalcYPosValue(4);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clBlue);
  s->SetTransparency(50);
  bmp = Render();
  const TColor c = bmp->Canvas()->Pixels(x, y);
  EXPECT_NE(c, clBlue);
  EXPECT_GT(c & 0xFF, 0x60) << "half way to white";
  EXPECT_GT((c >> 16) & 0xFF, 0xF0);
}

}  // namespace
