// Where a chart puts its box, axes and labels: a turned 3D view stays inside the
// panel, axis labels stay clear of the series and of each other's lines and titles.
#include <algorithm>
#include <functional>

#include "canvas/lumcanvas.h"
#include "chart/stdseries.h"
#include "chart_test_util.h"

namespace charttest {
namespace {

// Series are drawn in colours; everything else of these charts (panel, walls, grid,
// axes, labels) is grey, black or white.
bool Coloured(TColor C) {
  const int r = C & 0xFF, g = (C >> 8) & 0xFF, b = (C >> 16) & 0xFF;
  return r != g || g != b;
}

int CountIf(TBitmap* B, const TRect& Area, const std::function<bool(TColor)>& Pick) {
  const TRect r{std::max(0, Area.Left), std::max(0, Area.Top), std::min(B->Width(), Area.Right),
                std::min(B->Height(), Area.Bottom)};
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += Pick(B->Canvas()->Pixels(x, y));
  return n;
}

class Layout : public ChartTest {
protected:
  std::unique_ptr<TBitmap> Draw(int Width, int Height) {
    chart->SetBounds(0, 0, Width, Height);
    return std::unique_ptr<TBitmap>(chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit));
  }
  // Label boxes of every visible axis, with the axis they belong to.
  std::vector<std::pair<TChartAxis*, TRect>> LabelBoxes() {
    std::vector<std::pair<TChartAxis*, TRect>> out;
    for (TChartAxis* a : *chart->Axes())
      for (const TRect& r : a->LabelRects()) out.emplace_back(a, r);
    return out;
  }
  void Dress3D() {
    chart->SetAxisVisible(true);
    chart->SetView3D(true);
    for (TChartAxis* a : {chart->LeftAxis(), chart->BottomAxis()}) Automatic(a);
  }
  static void Automatic(TChartAxis* A) {
    A->SetAutomatic(true);
    A->SetAutomaticMinimum(true);
    A->SetAutomaticMaximum(true);
  }
  template <class S>
  S* Filled(TColor Color, std::initializer_list<double> Values) {
    auto* s = Add<S>();
    s->SetSeriesColor(Color);
    for (double v : Values) s->AddXY(s->Count(), v, "", clLumColor);
    return s;
  }
};

// Turned through the rotate tool's reach, the projected box, its walls, axes and
// labels stay inside the panel: nothing is drawn on a ring along its edges (half
// its margins wide), and every label put out lies inside it.
TEST_F(Layout, TurnedViewsStayInsideThePanel) {
  constexpr int Width = 560, Height = 380, Margin = 16;
  Dress3D();
  chart->SetColor(clWhite);
  for (int i = 0; i < 4; ++i) chart->SetMargin(i, Margin);
  chart->Title()->Text()->SetText("Turned");
  Filled<TBarSeries>(clBlue, {20, 45, 30, 60, 75, 10, 35});
  Filled<TLineSeries>(clRed, {70, 20, 60, 10, 40, 80, 50});
  chart->View3DOptions()->SetOrthogonal(false);
  const TRect inner{Margin / 2, Margin / 2, Width - Margin / 2, Height - Margin / 2};
  int views = 0;
  for (int elevation = 270; elevation <= 360; elevation += 15)
    for (int rotation = 0; rotation < 360; rotation += 30) {
      SCOPED_TRACE("rotation " + std::to_string(rotation) + ", elevation " + std::to_string(elevation));
      chart->View3DOptions()->SetRotation(rotation);
      chart->View3DOptions()->SetElevation(elevation);
      auto pic = Draw(Width, Height);
      const int outside = CountIf(pic.get(), {0, 0, Width, Height}, [](TColor c) { return c != clWhite; }) -
                          CountIf(pic.get(), inner, [](TColor c) { return c != clWhite; });
      EXPECT_EQ(outside, 0);
      const auto boxes = LabelBoxes();
      for (size_t i = 0; i < boxes.size(); ++i) {
        const TRect& box = boxes[i].second;
        EXPECT_TRUE(box.Left >= inner.Left && box.Top >= inner.Top && box.Right <= inner.Right &&
                    box.Bottom <= inner.Bottom)
            << box.Left << "," << box.Top << "-" << box.Right << "," << box.Bottom;
        // Labels of one axis, foreshortened, do not run into each other.
        for (size_t j = i + 1; j < boxes.size(); ++j) {
          const TRect& b = boxes[j].second;
          if (boxes[j].first != boxes[i].first) continue;
          EXPECT_FALSE(box.Left < b.Right && b.Left < box.Right && box.Top < b.Bottom && b.Top < box.Bottom)
              << box.Left << "," << box.Top << " meets " << b.Left << "," << b.Top;
        }
      }
      ++views;
    }
  EXPECT_EQ(views, 7 * 12);
  // Seen straight from the front, the box fills the panel as a flat chart would.
  chart->View3DOptions()->SetRotation(360);
  chart->View3DOptions()->SetElevation(360);
  Draw(Width, Height);
  EXPECT_GT(chart->ChartHeight(), (Height - 2 * Margin) * 2 / 3);
}

// No series pixel lies over an axis label: the depth axes' labels in front of the
// back series, the top and right axes at the back of the box, and a series scrolled
// past an axis end. Each label keeps every pixel of its text as the chart draws it
// with its series made invisible; labels drawn before the series (all but the depth
// axes') also have no series pixel in their box.
TEST_F(Layout, SeriesLeaveTheAxisLabelsClear) {
  struct Case {
    const char* name;
    std::function<void()> build;
  };
  const Case cases[] = {
      {"depth axes",
       [this] {
         Filled<TBarSeries>(clBlue, {3, 4.7, 4.8, 3.3, 1.5, 1.1})->SetTitle("Front");
         Filled<TBarSeries>(RGB(240, 120, 20), {5.6, 5.3, 2.8, 2.4, 1.1, 3.5})->SetTitle("Middle");
         Filled<TBarSeries>(clGreen, {2.5, 3.4, 2.5, 1.1, 3.4, 6.5})->SetTitle("Back");
         chart->DepthAxis()->SetVisible(true);
         chart->DepthTopAxis()->SetVisible(true);
       }},
      {"top and right axes",
       [this] {
         auto* s = Filled<TLineSeries>(clNavy, {55, 75, 95, 60, 25, 40, 80, 95, 50, 25, 30});
         s->SetHorizAxis(aBothHorizAxis);
         s->SetVertAxis(aBothVertAxis);
         for (TChartAxis* a : {chart->TopAxis(), chart->RightAxis()}) Automatic(a);
       }},
      {"scrolled on the right axis",
       [this] {
         auto* area = Filled<TAreaSeries>(clTeal, {60, 75, 50, 20, 0, 0, 30, 60, 75, 70});
         auto* line = Filled<TLineSeries>(clRed, {50, 70, 95, 90, 60, 50, 75, 95, 85, 60});
         for (TChartSeries* s : {static_cast<TChartSeries*>(area), static_cast<TChartSeries*>(line)})
           s->SetVertAxis(aRightAxis);
         Automatic(chart->RightAxis());
         Draw(560, 380);
         chart->BottomAxis()->Scroll(-3, false);
         chart->RightAxis()->Scroll(-30, false);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Dress3D();
    c.build();
    auto pic = Draw(560, 380);
    const auto boxes = LabelBoxes();
    for (TChartSeries* s : chart->SeriesList()) {
      s->Pen()->Hide();
      s->Brush()->SetStyle(bsClear);
      if (auto* area = dynamic_cast<TAreaSeries*>(s)) area->AreaLinesPen()->Hide();
    }
    auto bare = Draw(560, 380);
    ASSERT_EQ(LabelBoxes().size(), boxes.size());
    EXPECT_GT(boxes.size(), 8u);
    for (const auto& [axis, box] : boxes) {
      const char* kind = axis->IsDepthAxis() ? "depth" : axis->Horizontal() ? "horizontal" : "vertical";
      int text = 0, lost = 0;
      for (int y = std::max(0, box.Top); y < std::min(380, box.Bottom); ++y)
        for (int x = std::max(0, box.Left); x < std::min(560, box.Right); ++x)
          if (bare->Canvas()->Pixels(x, y) == clBlack) {
            ++text;
            lost += pic->Canvas()->Pixels(x, y) != clBlack;
          }
      EXPECT_GT(text, 0) << kind << " axis label at " << box.Left << "," << box.Top;
      EXPECT_EQ(lost, 0) << kind << " axis label at " << box.Left << "," << box.Top;
      if (!axis->IsDepthAxis()) {
        EXPECT_EQ(CountIf(pic.get(), box, Coloured), 0) << kind << " axis label at " << box.Left << "," << box.Top;
      }
    }
  }
}

// Custom axes beside the standard ones: no axis line crosses another axis's labels,
// no axis title lies over labels, and the top labels keep clear of the chart title.
TEST_F(Layout, CustomAxesKeepClearOfOtherLabels) {
  chart->SetAxisVisible(true);
  chart->SetColor(clSilver);
  chart->Title()->Text()->SetText("Custom vertical axis");
  for (TChartAxis* a : {chart->LeftAxis(), chart->BottomAxis()}) Automatic(a);
  auto line = [this](TColor Colour, double From, double Step) {
    auto* s = Add<TLineSeries>();
    s->SetSeriesColor(Colour);
    for (int i = 0; i <= 20; ++i) s->AddXY(i, From + Step * i, "", clLumColor);
    return s;
  };
  line(clBlue, 0, 20);
  auto* middle = line(RGB(255, 128, 0), 1000, -30);
  auto* outer = line(clGreen, 0.5, 0.02);
  TChartAxis* custom = chart->CustomAxes()->Add();
  custom->SetPositionPercent(50);
  custom->SetEndPosition(60);
  middle->SetCustomVertAxis(custom);
  TChartAxis* edge = chart->CustomAxes()->Add();
  outer->SetCustomVertAxis(edge);
  // Each line and title in a colour of its own.
  const struct {
    TChartAxis* axis;
    TColor line, title;
  } axes[] = {{chart->LeftAxis(), clPurple, RGB(200, 0, 0)},
              {chart->BottomAxis(), clOlive, RGB(0, 0, 200)},
              {custom, RGB(0, 0, 255), RGB(200, 0, 200)},
              {edge, RGB(0, 160, 0), RGB(0, 160, 160)}};
  for (const auto& a : axes) {
    a.axis->Axis()->SetColor(a.line);
    a.axis->GetTitle()->Font()->SetColor(a.title);
  }
  // The custom axes have titles, the left one none: the edge axis stands right
  // beside the left axis's labels.
  custom->GetTitle()->SetCaption("Custom axis");
  edge->GetTitle()->SetCaption("Edge axis");
  auto pic = Draw(520, 360);
  const TColor chartTitle = chart->Title()->Font()->Color();
  int labels = 0;
  for (const auto& owner : axes)
    for (const TRect& box : owner.axis->LabelRects()) {
      ++labels;
      SCOPED_TRACE("label at " + std::to_string(box.Left) + "," + std::to_string(box.Top));
      for (const auto& other : axes) {
        if (other.axis != owner.axis) {
          EXPECT_EQ(CountIf(pic.get(), box, [&](TColor c) { return c == other.line; }), 0);
        }
        EXPECT_EQ(CountIf(pic.get(), box, [&](TColor c) { return c == other.title; }), 0);
      }
      const TRect touching{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1};
      EXPECT_EQ(CountIf(pic.get(), touching, [&](TColor c) { return c == chartTitle; }), 0);
    }
  EXPECT_GT(labels, 30);
}

}  // namespace
}  // namespace charttest
