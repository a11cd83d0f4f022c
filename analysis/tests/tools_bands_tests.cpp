// Color lines, color bands and grid bands on the fixed test chart: values, clamping,
// inverted dragging that leaves no trace, band rectangles and hits, edge drags, and
// grid bands between the tick pixels of a real paint.

#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/tools_bands.h"
#include "engine/axis.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {
int Channel(TColor C, int Shift) { return int((C >> Shift) & 0xFF); }

class ColorLineTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TColorLineTool(Form);
    Tool->Pen()->SetColor(clRed);
    Tool->SetAxis(Chart->BottomAxis());
    Tool->SetValue(50);
    Tool->OnBeginDragLine = [this](TColorLineTool*) { Events.push_back("begin"); };
    Tool->OnDragLine = [this](TColorLineTool*) { Events.push_back("drag"); };
    Tool->OnInternalEndDrag = [this](TColorLineTool*) { Events.push_back("internal"); };
    Tool->OnEndDragLine = [this](TColorLineTool* t) { Events.push_back(t->Dragging() ? "end dragging" : "end"); };
    Paint();
  }
  int MidY() const { return YPix(50); }
  TColorLineTool* Tool = nullptr;
  std::vector<std::string> Events;
};
}  // namespace

TEST_F(ColorLineTest, ClampsToTheAxisUnlessNoLimitDragAndCentreFollowsTheRangeUntilDragged) {
  for (bool noLimit : {false, true}) {
    Tool->SetNoLimitDrag(noLimit);
    Tool->SetStyle(clCenter);
    Chart->BottomAxis()->SetMinMax(0, 200);
    Paint();
    EXPECT_DOUBLE_EQ(Tool->CalcValue(), 100);
    EXPECT_TRUE(Tool->Clicked(XPix(100), MidY()));
    Down(XPix(100), MidY());
    ASSERT_TRUE(Tool->Dragging());
    Move(XPix(120), MidY());
    EXPECT_EQ(Tool->Style(), clCustom) << noLimit;
    EXPECT_NEAR(Tool->Value(), 120, 0.5);
    Move(W + 40, MidY());
    if (noLimit) EXPECT_GT(Tool->Value(), 200);
    else EXPECT_NEAR(Tool->Value(), 200, 1e-9);
    Up(W + 40, MidY());
    EXPECT_FALSE(Chart->Zoomed()) << "the drag is the line's, not a zoom";
    Chart->BottomAxis()->SetMinMax(0, 100);
  }
}

TEST_F(ColorLineTest, InvertedDragLeavesNoTraceIn3D) {
  Chart->SetView3D(true);
  Tool->SetAxis(Chart->LeftAxis());
  Paint();
  const TImagePixels plain = Picture();
  Down(XPix(50), YPix(50) - 1);
  ASSERT_TRUE(Tool->Dragging());
  Paint();
  for (int y : {YPix(60), YPix(80), YPix(30)}) Move(XPix(50), y);
  const TImagePixels moved = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moved);
  Up(XPix(50), YPix(30));
  Paint();
  EXPECT_FALSE(Picture() == plain);
  EXPECT_NEAR(Tool->Value(), 30, 0.5);
}

TEST_F(ColorLineTest, InvertedDragErasesExactlyAndFiresItsEventsInOrder) {
  const int x0 = XPix(50);
  Down(x0, MidY());
  Paint();  // the repaint asked for at the press: the line now drawn not-xor
  for (int x : {x0 + 30, x0 + 60, x0 - 40}) Move(x, MidY());
  EXPECT_EQ(Events, (std::vector<std::string>{"begin", "drag", "drag", "drag"}));
  // The picture equals a fresh paint, and one more inverted drawing leaves the
  // chart as if there were no line.
  const TImagePixels moved = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moved);
  Tool->DrawInverted();
  const TImagePixels erased = Picture();
  Tool->SetActive(false);
  Paint();
  EXPECT_TRUE(Picture() == erased);
  Tool->SetActive(true);
  Up(x0 - 40, MidY());
  EXPECT_EQ(Events, (std::vector<std::string>{"begin", "drag", "drag", "drag", "internal", "end"}));
  Paint();
  EXPECT_EQ(Picture().At(x0 - 40, MidY() + 7), clRed) << "drawn plainly once dropped";

  // Repainting drags fire one drag per move through the setter; an unmoved press
  // still ends with both end events.
  Events.clear();
  Tool->SetDragRepaint(true);
  Down(x0 - 40, MidY());
  Move(x0 - 40, MidY());
  Up(x0 - 40, MidY());
  EXPECT_EQ(Events, (std::vector<std::string>{"begin", "drag", "internal", "end"}));
}

TEST_F(ColorLineTest, HitsLessThanThreePixelsAwayInsideThePlotOnEitherAxis) {
  const TRect r = Chart->ChartRect();
  const int p = XPix(50);
  struct Case {
    int x, y;
    bool hit;
  } cases[] = {{p + 2, MidY(), true}, {p - 2, MidY(), true},    {p + 3, MidY(), false},
               {p, r.Top, true},      {p, r.Bottom, true},      {p, r.Bottom + 1, false}};
  for (const Case& c : cases) EXPECT_EQ(Tool->Clicked(c.x, c.y), c.hit) << c.x << "," << c.y;
  Chart->SetSavedCursor(crCross);
  Move(p + 1, MidY(), 0);
  EXPECT_EQ(Chart->Cursor(), crHSplit);
  EXPECT_TRUE(Chart->CancelMouse);
  Move(p + 20, MidY(), 0);
  EXPECT_EQ(Chart->Cursor(), crCross) << "off the line: the chart's own cursor back";

  Tool->SetAxis(Chart->LeftAxis());
  Tool->SetValue(30);
  Paint();
  EXPECT_TRUE(Tool->Clicked(XPix(50), YPix(30) - 2));
  EXPECT_FALSE(Tool->Clicked(XPix(50), YPix(30) + 3));
  EXPECT_FALSE(Tool->Clicked(r.Left - 1, YPix(30)));
}

// ---------------------------------------------------------------------------
namespace {
class ColorBandTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Band = new TColorBandTool(Form);
    Band->SetColor(clYellow);
    Band->Pen()->Hide();
    Band->SetAxis(Chart->BottomAxis());
    Band->SetStartValue(20);
    Band->SetEndValue(60);
    Paint();
  }
  TImagePixels Without() {
    Band->SetActive(false);
    Paint();
    TImagePixels p = Picture();
    Band->SetActive(true);
    Paint();
    return p;
  }
  TColorBandTool* Band = nullptr;
};
}  // namespace

TEST_F(ColorBandTest, ReversedValuesFillTheSameBandAndOutsideTheRangeNothingIsDrawnOrHit) {
  Band->SetStartValue(10);
  Band->SetEndValue(5);
  Paint();
  const TRect reversed = Band->BoundsRect();
  const TImagePixels picture = Picture();
  Band->SetStartValue(5);
  Band->SetEndValue(10);
  Paint();
  EXPECT_EQ(Band->BoundsRect(), reversed);
  EXPECT_TRUE(Picture() == picture);
  EXPECT_EQ(Picture().At(XPix(7), YPix(95)), clYellow);

  int clicks = 0;
  Band->OnClick = [&](TObject*, TMouseButton, TShiftState, int, int) { ++clicks; };
  for (auto [a, b] : {std::pair{150.0, 200.0}, std::pair{-50.0, -10.0}}) {
    Band->SetStartValue(a);
    Band->SetEndValue(b);
    Paint();
    EXPECT_TRUE(Picture() == Without()) << a;
    EXPECT_FALSE(Band->Clicked(XPix(99), YPix(50)));
    Down(XPix(99), YPix(50));
    Up(XPix(99), YPix(50));
  }
  EXPECT_EQ(clicks, 0);
  Band->SetEndValue(50);
  Down(XPix(30), YPix(50));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ColorBandTest, BehindTheSeriesUnderItInFrontOverItAndTransparencyMixes) {
  const int x = XPix(40), y = YPix(30);  // on the series line
  const TColor line = Without().At(x, y);
  ASSERT_NE(line, clYellow);
  EXPECT_EQ(Picture().At(x, y), line) << "behind: the series draws over the band";
  Band->SetDrawBehind(false);
  Paint();
  EXPECT_EQ(Picture().At(x, y), clYellow);

  // Behind the axes the grid lines cross the band.
  auto notYellow = [&] {
    const TImagePixels p = Picture();
    int n = 0;
    for (int py = YPix(95); py < YPix(5); ++py) n += p.At(XPix(40), py) != clYellow;
    return n;
  };
  const int overGrid = notYellow();
  Band->SetDrawBehindAxes(true);
  Paint();
  EXPECT_GT(notYellow(), overGrid + 3);
  Band->SetDrawBehindAxes(false);

  // A picture fills the band instead of the brush.
  TBitmap red;
  red.SetSize(2, 2);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect({0, 0, 2, 2});
  Band->Picture()->SetGraphic(&red);
  Paint();
  EXPECT_EQ(Picture().At(XPix(27), YPix(83)), clRed);
  Band->SetPicture(nullptr);
  EXPECT_FALSE(Band->HasPicture());

  Band->SetDrawBehind(true);
  Band->SetTransparency(40);
  const TImagePixels under = Without();
  Paint();
  for (auto [px, py] : {std::pair{XPix(27), YPix(83)}, std::pair{XPix(53), YPix(7)}}) {
    const TColor got = Picture().At(px, py), was = under.At(px, py);
    for (int shift : {0, 8, 16}) {
      const int want = (Channel(was, shift) * 40 + Channel(clYellow, shift) * 60) / 100;
      EXPECT_NEAR(Channel(got, shift), want, 2) << px << "," << py << " channel " << shift;
    }
  }
}

TEST_F(ColorBandTest, ARealEdgeDragWritesTheValueAndThenReportsTheResize) {
  Band->SetResizeStart(true);
  Band->SetResizeEnd(true);
  Band->StartLinePen()->SetColor(clNavy);
  Paint();
  EXPECT_EQ(Picture().At(XPix(20), YPix(50)), clNavy) << "an active edge draws";
  EXPECT_EQ(Chart->Tools()->Count(), 1) << "the edges join no tool list";
  std::vector<double> resized;
  Band->OnResized = [&](TObject*) { resized.push_back(Band->StartValue()); };
  TestInput::PostMouseDown(Chart, mbLeft, XPix(20), YPix(50));
  TestInput::PostMouseMove(Chart, XPix(25), YPix(50), ssLeft);
  TestInput::PostCall([&] { EXPECT_NEAR(Band->StartValue(), 25, 0.5) << "written while dragging"; });
  TestInput::PostMouseMove(Chart, XPix(30), YPix(50), ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, XPix(30), YPix(50));
  TestInput::PumpUntil([&] { return !resized.empty(); }, 2000);
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_NEAR(resized[0], 30, 0.5);
  EXPECT_DOUBLE_EQ(Band->EndValue(), 60);
  EXPECT_FALSE(Chart->Zoomed());

  Down(XPix(60) + 1, YPix(50));
  Move(XPix(80), YPix(50));
  Up(XPix(80), YPix(50));
  EXPECT_NEAR(Band->EndValue(), 80, 0.5);
  EXPECT_EQ(resized.size(), 2u);
}

// ---------------------------------------------------------------------------
namespace {
class GridBandTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Series->SetActive(false);
    Chart->LeftAxis()->SetIncrement(20);
    Tool = new TGridBandTool(Form);
    Tool->Band1()->SetColor(clRed);
    Tool->Band2()->SetColor(clBlue);
    Tool->SetAxis(Chart->LeftAxis());
    Paint();
  }
  TColor At(double V) const { return Picture().At(XPix(53), YPix(V)); }
  TGridBandTool* Tool = nullptr;
};
}  // namespace

TEST_F(GridBandTest, BandsAlternateBetweenTicksAndAClearBrushKeepsItsTurn) {
  for (double v : {90, 70, 50, 30, 10}) EXPECT_EQ(At(v), int(v) % 40 == 10 ? clRed : clBlue) << v;
  Tool->Band1()->SetStyle(bsClear);
  Paint();
  for (double v : {90, 70, 50}) EXPECT_EQ(At(v), v == 70 ? clBlue : clWhite) << v;
}

TEST_F(GridBandTest, CentredGridShiftsTheBandsHalfAStep) {
  Chart->LeftAxis()->SetGridCentered(true);
  Paint();
  const double values[] = {95, 80, 60, 40, 20, 5};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At(values[i]), i % 2 ? clBlue : clRed) << values[i];
}

TEST_F(GridBandTest, AHatchWithoutBackColourShowsTheBackWallAndFewerThanTwoTicksDrawNothing) {
  Chart->BackWall()->SetColor(clYellow);
  Tool->Band2()->SetStyle(bsCross);
  Paint();
  const TImagePixels p = Picture();
  int yellow = 0, white = 0;
  for (int x = XPix(20); x < XPix(80); ++x)
    for (int y = YPix(78); y < YPix(62); ++y) {
      yellow += p.At(x, y) == clYellow;
      white += p.At(x, y) == clWhite;
    }
  EXPECT_GT(yellow, 100);
  EXPECT_EQ(white, 0);

  Chart->LeftAxis()->SetMinMax(1, 19);  // no multiple of 20 inside: no ticks
  Paint();
  const TImagePixels without = Picture();
  Tool->SetActive(false);
  Paint();
  EXPECT_TRUE(Picture() == without);
}

TEST_F(GridBandTest, TheHookFollowsTheAxisAndLeavesWithTheToolOrTheAxis) {
  TChartAxis* left = Chart->LeftAxis();
  TChartAxis* bottom = Chart->BottomAxis();
  Tool->SetAxis(bottom);
  EXPECT_FALSE(left->OnDrawGrid.Assigned());
  EXPECT_TRUE(bottom->OnDrawGrid.Assigned());
  left->OnDrawGrid = [](TChartAxis*) {};
  delete Tool;
  Tool = nullptr;
  EXPECT_FALSE(bottom->OnDrawGrid.Assigned());
  EXPECT_TRUE(left->OnDrawGrid.Assigned()) << "another handler stays";

  auto* band = new TGridBandTool(Form);
  TChartAxis* custom = Chart->CustomAxes()->Add();
  band->SetAxis(custom);
  delete custom;
  EXPECT_EQ(band->Axis(), nullptr);
  Paint();
  delete band;
}
