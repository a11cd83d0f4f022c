// Axes as drawn: labels behind or before the grid, items in their own format,
// hits on projected 3D axes, the room custom axes take and the depth axes' grid.
#include <string>
#include <vector>

#include "engine_test.h"
#include "gui_test.h"

namespace {

using guitest::CountColor;

constexpr TColor GridRed = 0x0000FF;

bool Ink(TColor C) { return C != clWhite && C != GridRed; }

// A chart whose left axis stands in the middle of the plot with one wide label
// that the bottom axis' red grid lines cross.
struct BehindFixture : testing::Test {
  TCountingChart chart;
  TChartSeries series{nullptr};
  TChartAxis* left = chart.LeftAxis();
  TChartAxis* bottom = chart.BottomAxis();
  BehindFixture() {
    chart.SetBounds(0, 0, 400, 300);
    series.SetParentChart(&chart);
    series.AddXY(0, 0);
    series.AddXY(100, 10);
    left->SetPositionPercent(80);
    left->LabelsFont()->SetSize(18);
    left->LabelsFont()->SetColor(clBlack);
    left->Items()->Add(5, "WWWWWWWWWW");
    left->Grid()->SetVisible(false);
    bottom->Grid()->SetVisible(true);
    bottom->Grid()->SetStyle(psSolid);
    bottom->Grid()->SetColor(GridRed);
  }
  // Text pixels on the grid columns across the label's rows.
  int InkOnGrid(TBitmap* Bmp) {
    const int y = left->CalcPosValue(5);
    int ink = 0, columns = 0;
    for (int x : bottom->Tick()) {
      if (x >= left->PosAxis() - 8) continue;
      ++columns;
      for (int yy = y - 8; yy <= y + 8; ++yy) ink += Ink(Bmp->Canvas()->Pixels(x, yy));
    }
    EXPECT_GE(columns, 2);
    return ink;
  }
};

TEST_F(BehindFixture, LabelsBehindTheGridAreCoveredByItInEitherAxesOrder) {
  auto front = Render(&chart);
  EXPECT_GT(InkOnGrid(front.get()), 0);
  const int y = left->CalcPosValue(5);
  EXPECT_TRUE(left->Clicked(left->PosAxis() - 30, y));
  left->SetLabelsBehind(true);
  for (bool axesBehind : {true, false}) {
    chart.Axes()->SetBehind(axesBehind);
    auto behind = Render(&chart);
    EXPECT_EQ(InkOnGrid(behind.get()), 0) << axesBehind;
    // Drawn once, before the grid, and still found by their boxes.
    EXPECT_GT(CountColor(behind->Canvas(), Rect(0, y - 10, left->PosAxis() - 6, y + 10), clBlack), 20);
    EXPECT_TRUE(left->Clicked(left->PosAxis() - 30, y)) << axesBehind;
  }
}

TEST_F(BehindFixture, AnItemWithAFormatDrawsInItsFontAndBoxTheOthersInTheAxisFont) {
  left->SetPositionPercent(0);
  left->Items()->Clear();
  left->Items()->Add(2, "aa");
  left->Items()->Add(8, "bb");
  Render(&chart);
  const int plainLeft = chart.ChartRect().Left;
  TLumCustomShape* format = left->Items()->Get(0)->GetFormat();
  format->SetTransparent(false);
  format->SetColor(clYellow);
  format->Frame()->SetColor(clLime);
  format->Font()->SetColor(clBlue);
  format->Font()->SetSize(30);
  auto bmp = Render(&chart);
  // The bigger font takes more room beside the axis.
  EXPECT_GT(chart.ChartRect().Left, plainLeft);
  TCanvas* c = bmp->Canvas();
  const int p0 = left->CalcPosValue(2), p1 = left->CalcPosValue(8);
  const TRect first = Rect(0, p0 - 25, left->PosAxis(), p0 + 25), second = Rect(0, p1 - 12, left->PosAxis(), p1 + 12);
  EXPECT_GT(CountColor(c, first, clYellow), 50);
  EXPECT_GT(CountColor(c, first, clLime), 10);
  EXPECT_GT(CountColor(c, first, clBlue), 5);
  EXPECT_EQ(CountColor(c, second, clYellow), 0);
  EXPECT_EQ(CountColor(c, second, clBlue), 0);
  EXPECT_GT(CountColor(c, second, clBlack), 5);
  // Automatic labels again: no item formats.
  left->Items()->SetAutomatic(true);
  auto plain = Render(&chart);
  EXPECT_EQ(CountColor(plain->Canvas(), Rect(0, 0, 400, 300), clYellow), 0);
}


// Screen pixels in a colour.
std::vector<TPoint> PixelsOf(TBitmap* Bmp, TColor Color) {
  std::vector<TPoint> out;
  for (int y = 0; y < Bmp->Height(); ++y)
    for (int x = 0; x < Bmp->Width(); ++x)
      if (Bmp->Canvas()->Pixels(x, y) == Color) out.push_back({x, y});
  return out;
}

// Texts of 30 points, on either axis in one row or two: the boxes drawn keep apart.
TEST(TextLabels, DenseTextsLeaveOutThoseThatWouldOverlap) {
  for (int k = 0; k < 4; ++k) {
    TCountingChart chart;
    TChartSeries series{nullptr};
    series.SetParentChart(&chart);
    for (int i = 0; i < 30; ++i) series.AddXY(k < 2 ? i : i % 7, k < 2 ? i % 7 : i, "Point " + std::to_string(i));
    TChartAxis* axis = k < 2 ? chart.BottomAxis() : chart.LeftAxis();
    axis->SetLabelStyle(talText), axis->SetLabelsAlternate(k % 2);
    const std::vector<TRect> boxes = (Render(&chart), axis->LabelRects());
    EXPECT_GT(boxes.size(), 3u);
    for (const TRect& a : boxes)
      for (const TRect& b : boxes)
        EXPECT_TRUE(&a == &b || !(a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom)) << k;
  }
}

// A 400 x 300 chart in an orthogonal 3D view.
struct TOrthogonalChart : TCountingChart {
  TOrthogonalChart() {
    SetBounds(0, 0, 400, 300);
    SetView3D(true);
    View3DOptions()->SetOrthogonal(true);
  }
};

TEST(AxisClicked3D, HitsTheProjectedLinesAndLabelsNotTheFlatPlaces) {
  TOrthogonalChart chart;
  TChartSeries series(nullptr);
  series.SetParentChart(&chart);
  series.SetTitle("Deep");
  series.AddXY(0, 0);
  series.AddXY(10, 10);
  TChartAxis* left = chart.LeftAxis();
  TChartAxis* depth = chart.DepthAxis();
  for (TChartAxis* a : *chart.Axes()) a->Grid()->SetVisible(false);
  left->SetZPosition(100);  // at the back
  left->Axis()->SetColor(clFuchsia);
  depth->SetVisible(true);
  depth->Axis()->SetColor(clLime);
  auto bmp = Render(&chart);
  ASSERT_GT(chart.Width3D(), 20);
  for (auto [axis, colour] : {std::pair{left, clFuchsia}, std::pair{depth, clLime}}) {
    const std::vector<TPoint> line = PixelsOf(bmp.get(), colour);
    ASSERT_GT(line.size(), 20u);
    for (const TPoint& p : line) EXPECT_TRUE(axis->Clicked(p.X, p.Y)) << p.X << "," << p.Y;
  }
  // The flat place of the left axis lies a depth away from where it is drawn.
  const int middle = (left->IStartPos() + left->IEndPos()) / 2;
  EXPECT_FALSE(left->Clicked(left->PosAxis(), middle));
  EXPECT_FALSE(depth->Clicked(10, 10));
  // The depth axis' label of the series, beside its projected tick.
  chart.Canvas()->AssignFont(depth->LabelsFont());
  const std::vector<TPoint> line = PixelsOf(bmp.get(), clLime);
  int right = 0;
  for (const TPoint& p : line) right = std::max(right, p.X);
  bool labelHit = false;
  for (int x = right + 4; x < right + 40 && !labelHit; ++x)
    for (int y = 0; y < 300 && !labelHit; ++y) labelHit = depth->Clicked(x, y) && bmp->Canvas()->Pixels(x, y) != clWhite;
  EXPECT_TRUE(labelHit);
}


TEST(CustomAxisRoom, AnEdgeAxisStandsOutsideTheStandardOneAndItsSeriesGetTheirMargins) {
  TCountingChart chart;
  chart.SetBounds(0, 0, 400, 300);
  TChartSeries plain(nullptr);
  plain.SetParentChart(&chart);
  plain.AddXY(0, 0);
  plain.AddXY(10, 10);
  Render(&chart);
  const TRect before = chart.ChartRect();
  TTestSeries marked(nullptr);
  marked.SetParentChart(&chart);
  marked.Pointer.SetVertSize(10);
  marked.AddXY(0, 1000);
  marked.AddXY(10, 5000);
  TChartAxis* custom = chart.CustomAxes()->Add();
  custom->GetTitle()->SetCaption("Custom");
  marked.SetCustomVertAxis(custom);
  Render(&chart);
  TChartAxis* left = chart.LeftAxis();
  const int size = custom->SizeOutside();
  EXPECT_GT(size, 20);
  // Beyond the left axis' labels, with the plot narrower by its room.
  EXPECT_EQ(chart.ChartRect().Left, before.Left + size);
  EXPECT_LE(custom->PosAxis(), chart.ChartRect().Left - left->SizeOutside());
  EXPECT_GE(custom->PosAxis() - custom->SizeOutside(), 0);
  EXPECT_EQ(left->PosAxis(), chart.ChartRect().Left);
  // Whole pointers at the custom axis' ends; the left axis' series asks for none.
  EXPECT_EQ(custom->CalcPosValue(5000), custom->IStartPos() + 6);
  EXPECT_EQ(custom->CalcPosValue(1000), custom->IEndPos() - 6);
  EXPECT_EQ(left->CalcPosValue(10), left->IStartPos());
  // A right-hand one stands to the right; one placed inwards takes no room.
  custom->SetOtherSide(true);
  Render(&chart);
  EXPECT_EQ(chart.ChartRect().Right, before.Right - custom->SizeOutside());
  EXPECT_EQ(custom->PosAxis(), chart.ChartRect().Right);
  custom->SetPositionPercent(30);
  Render(&chart);
  EXPECT_EQ(chart.ChartRect(), before);
}


// Runs of a colour along a row.
int Runs(TBitmap* Bmp, int Y, TColor Color) {
  int runs = 0;
  bool in = false;
  for (int x = 0; x < Bmp->Width(); ++x) {
    const bool hit = Bmp->Canvas()->Pixels(x, Y) == Color;
    runs += hit && !in;
    in = hit;
  }
  return runs;
}

TEST(DepthAxisGrid, ALinePerSeriesSlotUpTheSideAndAlongTheFloor) {
  TOrthogonalChart chart;
  TChartSeries s0(nullptr), s1(nullptr), s2(nullptr);
  for (TChartSeries* s : {&s0, &s1, &s2}) {
    s->SetParentChart(&chart);
    s->AddXY(0, 0);
    s->AddXY(1, 1);
  }
  for (TChartAxis* a : *chart.Axes()) a->Grid()->SetVisible(false);
  TChartAxis* depth = chart.DepthAxis();
  depth->SetVisible(true);
  depth->Grid()->SetVisible(true);
  depth->Grid()->SetStyle(psSolid);
  depth->Grid()->SetColor(GridRed);
  auto bmp = Render(&chart);
  const TRect plot = chart.ChartRect();
  const int row = (plot.Top + plot.Bottom) / 2;
  EXPECT_EQ(Runs(bmp.get(), row, GridRed), 3);
  // Along the floor: a red line crosses each column between the side and the right.
  const int column = (plot.Left + plot.Right) / 2;
  int floorRuns = 0;
  bool in = false;
  for (int y = plot.Top; y < 300; ++y) {
    const bool hit = bmp->Canvas()->Pixels(column, y) == GridRed;
    floorRuns += hit && !in;
    in = hit;
  }
  EXPECT_EQ(floorRuns, 3);
  // Between the slots, and every other slot.
  depth->Grid()->SetCentered(true);
  EXPECT_EQ(Runs(Render(&chart).get(), row, GridRed), 2);
  depth->Grid()->SetCentered(false);
  depth->Grid()->SetDrawEvery(2);
  EXPECT_EQ(Runs(Render(&chart).get(), row, GridRed), 2);
  // No grid when hidden, nor when the depth axis is.
  depth->Grid()->SetDrawEvery(1);
  depth->SetVisible(false);
  auto none = Render(&chart);
  EXPECT_EQ(CountColor(none->Canvas(), Rect(0, 0, 400, 300), GridRed), 0);
}

}  // namespace
