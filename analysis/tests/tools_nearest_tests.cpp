// The nearest point, mark tips and drag marks tools: which point they find, what
// the not-XOR highlight leaves behind, the hints they show and withdraw, and marks
// that keep the place they were dragged to.

#include <stdexcept>

#include "analysis/tools_nearest.h"
#include "canvas/canvashints.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {

// A series whose own hit test answers what the test says.
class THitSeries : public TPointSeries {
public:
  using TPointSeries::TPointSeries;
  int Hit = -1;
  int Clicked(int, int) override { return Hit; }
};

// A canvas that keeps the tips it is given.
class THintCanvas : public TLumCanvas3D, public ILumCanvasHints {
public:
  std::vector<std::pair<std::string, std::string>> Hints;
  void AddHint(const std::string& Key, const std::string& Text) override { Hints.emplace_back(Key, Text); }
};

class NearestTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Chart->OnAfterDraw = [this](TObject*) { ++Paints; };
  }
  int Paints = 0;
};

}  // namespace

TEST_F(NearestTest, OwnHitFirstThenTheNearestPlottedPointFirstOfEquals) {
  auto* s = new THitSeries(Form);
  s->XValues()->SetOrder(loNone);
  s->SetParentChart(Chart);
  s->AddXY(40, 50);
  s->AddXY(60, 50);
  s->AddXY(50, 150);  // outside the plot
  s->AddNullXY(50, 50);
  s->AddXY(50, 52);
  Paint();
  struct Case {
    int Hit, X, Y, Expected;
  } cases[] = {
      {-1, XPix(50), YPix(50), 4},   // the null under the mouse is skipped
      {1, XPix(50), YPix(50), 1},    // the series' own hit wins
      {-1, XPix(50), YPix(140), 4},  // nearer the point outside the plot, which does not count
      // 40 or 41 pixels across, 200 down: both 204 once rounded; the first wins.
      {-1, XPix(50), YPix(50) - 200, 0},
  };
  for (const Case& c : cases) {
    s->Hit = c.Hit;
    if (c.Y == YPix(50) - 200) s->Delete(4);
    EXPECT_EQ(TNearestTool::GetNearestPoint(s, c.X, c.Y), c.Expected) << c.Hit << " " << c.Y;
  }
  s->Clear();
  s->AddXY(50, 150);
  Paint();
  EXPECT_EQ(TNearestTool::GetNearestPoint(s, XPix(50), YPix(99)), -1) << "every point outside";
}

TEST_F(NearestTest, NotXorHighlightFollowsTheMouseAndLeavingErasesItWithoutARepaint) {
  auto* t = new TNearestTool(Form);
  t->SetSeries(Series);
  t->SetParentChart(Chart);
  t->SetFullRepaint(false);
  t->Pen()->SetStyle(psSolid);
  t->Pen()->SetColor(clRed);
  t->SetStyle(hsRectangle);
  int changes = 0;
  t->OnChange = [&](TObject*) { ++changes; };
  Paint();
  const TImagePixels clean = Picture();
  const int paints = Paints;

  Move(XPix(31), YPix(60), 0);
  EXPECT_EQ(t->Point(), 3);
  // The pen shows in its own colour over the chart colour: (white - chart) XOR pen, not-XOR.
  EXPECT_EQ(Picture().At(XPix(30) - 20, YPix(70) + 7), clRed);
  Move(XPix(62), YPix(50), 0);
  EXPECT_EQ(t->Point(), 6);
  EXPECT_EQ(changes, 2);
  const TImagePixels moved = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moved) << "no trace of the first highlight";

  const int before = Paints;
  TestInput::PostMouseLeave(Chart);
  TestInput::PumpUntil([&] { return t->Point() == -1; }, 2000);
  Application->ProcessMessages();
  EXPECT_EQ(t->Point(), -1);
  EXPECT_TRUE(Picture() == clean);
  EXPECT_EQ(Paints, before);
  EXPECT_GT(before, paints);

  // With FullRepaint a move through the window asks for a paint.
  t->SetFullRepaint(true);
  TestInput::PostMouseMove(Chart, XPix(90), YPix(70));
  TestInput::PumpUntil([&] { return Paints > before && t->Point() == 9; }, 2000);
  EXPECT_EQ(t->Point(), 9);
  EXPECT_GT(Paints, before);
}

namespace {
class MarksTipTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Series->SetName("Line1");
    Tool = new TMarksTipTool(Form);
    Tool->SetParentChart(Chart);
    Tool->SetStyle(smsXY);
    Tool->Brush()->SetColor(clYellow);
    Tool->OnCancelHint = [this](TObject*) { ++Cancelled; };
    TestHints::Clear();
  }
  void TearDown() override {
    Application->CancelHint();
    Application->SetHintColor(clInfoBk);
    ToolTest::TearDown();
  }
  TMarksTipTool* Tool = nullptr;
  int Cancelled = 0;
};
}  // namespace

TEST_F(MarksTipTest, OneHintPerPointWithdrawnOffThePointsUnlessAnotherTipsToolIsThere) {
  Move(XPix(30), YPix(70), 0);
  Move(XPix(30) + 1, YPix(70), 0);
  auto shown = TestHints::Shown();
  ASSERT_EQ(shown.size(), 1u) << "the same point keeps its hint window";
  EXPECT_EQ(shown[0].Text, "30 70");
  EXPECT_EQ(shown[0].Pos, Chart->ClientToScreen({XPix(30) + 0, YPix(70)}));
  EXPECT_EQ(shown[0].Color, clYellow);
  EXPECT_EQ(Chart->Hint(), "30 70");
  EXPECT_EQ(Series->Marks()->Style(), smsLabel);
  EXPECT_TRUE(Chart->AutoRepaint());

  auto* other = new TMarksTipTool(Form);
  other->SetParentChart(Chart);
  Move(XPix(50), YPix(95), 0);
  EXPECT_EQ(Chart->Hint(), "30 70") << "kept with two tips tools";
  delete other;
  Move(XPix(50), YPix(95), 0);
  EXPECT_EQ(Chart->Hint(), "");
  EXPECT_EQ(Cancelled, 1);
  EXPECT_EQ(TestHints::Cancels(), 2);  // one before the hint was shown, one now
  EXPECT_EQ(Application->HintColor(), clInfoBk);
}

TEST_F(MarksTipTest, ClickModeAndOnGetTextThatRaisesLeavesStyleAndRepaintAsTheyWere) {
  Tool->SetMouseAction(mtmClick);
  Move(XPix(30), YPix(70), 0);
  EXPECT_TRUE(TestHints::Shown().empty());
  Tool->OnGetText = [](TMarksTipTool*, std::string& Text) { Text = "<" + Text + ">"; };
  TestInput::PostMouseDown(Chart, mbLeft, XPix(40), YPix(30));
  TestInput::PostMouseUp(Chart, mbLeft, XPix(40), YPix(30));
  TestInput::PumpUntil([] { return !TestHints::Shown().empty(); }, 2000);
  ASSERT_EQ(TestHints::Shown().size(), 1u);
  EXPECT_EQ(TestHints::Shown()[0].Text, "<40 30>");

  Tool->OnGetText = [](TMarksTipTool*, std::string&) { throw std::runtime_error("no text"); };
  EXPECT_THROW(Down(XPix(60), YPix(30)), std::runtime_error);
  Up(XPix(60), YPix(30));
  EXPECT_EQ(Series->Marks()->Style(), smsLabel);
  EXPECT_TRUE(Chart->AutoRepaint());
  EXPECT_EQ(Chart->Hint(), "<40 30>");
}

TEST_F(MarksTipTest, ACanvasWithTipsGetsOneKeyPerPointAndThePointersOfLineSeries) {
  auto* bars = new TBarSeries(Form);
  bars->SetName("Bar1");
  bars->SetParentChart(Chart);
  bars->AddXY(50, 20);
  auto* canvas = new THintCanvas;
  Chart->SetCanvas(canvas);
  Paint();
  ASSERT_EQ(canvas->Hints.size(), 2u * 11 + 1);
  EXPECT_EQ(canvas->Hints[0], (std::pair<std::string, std::string>{"Series_Line1_1", "0 30"}));
  EXPECT_EQ(canvas->Hints[1].first, "Series_Line1_1_SeriesPointer");
  EXPECT_EQ(canvas->Hints[21].first, "Series_Line1_11_SeriesPointer");
  EXPECT_EQ(canvas->Hints[22], (std::pair<std::string, std::string>{"Series_Bar1_0", "50 20"}));
  // Such a canvas takes the tips instead of hint windows.
  Move(XPix(30), YPix(70), 0);
  EXPECT_TRUE(TestHints::Shown().empty());
}

TEST_F(ToolTest, DraggedMarkKeepsItsPlaceWhenTheChartRepaints) {
  auto* t = new TDragMarksTool(Form);
  t->SetParentChart(Chart);
  std::vector<int> dragging, dragged;
  t->OnDraggingMark = [&](TDragMarksTool*, int i, TMouseButton, TShiftState, int, int) { dragging.push_back(i); };
  t->OnDraggedMark = [&](TDragMarksTool*, int i, TMouseButton, TShiftState, int, int) { dragged.push_back(i); };
  Series->Marks()->Show();
  Paint();
  const TRect box = Series->Marks()->Positions().Find(5)->Bounds();
  const int x = (box.Left + box.Right) / 2, y = (box.Top + box.Bottom) / 2;
  Move(x, y, 0);
  EXPECT_EQ(Chart->Cursor(), crLumHand);
  TestInput::PostMouseDown(Chart, mbLeft, x, y);
  TestInput::PostMouseMove(Chart, x + 10, y + 5, ssLeft);
  TestInput::PostMouseMove(Chart, x + 20, y + 15, ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, x + 20, y + 15);
  TestInput::PumpUntil([&] { return !dragged.empty(); }, 2000);
  EXPECT_EQ(dragging, (std::vector<int>{5, 5}));
  EXPECT_EQ(dragged, (std::vector<int>{5}));
  EXPECT_FALSE(Chart->Zoomed());
  Paint();
  const TSeriesMarkPosition* p = Series->Marks()->Positions().Find(5);
  EXPECT_TRUE(p->Custom);
  EXPECT_EQ(p->LeftTop, (TPoint{box.Left + 20, box.Top + 15}));
  EXPECT_EQ(Series->Marks()->Clicked(x + 20, y + 15), 5);
  // Hidden marks are not dragged.
  Series->Marks()->Hide();
  Down(x + 20, y + 15);
  EXPECT_EQ(t->DragIndex(), -1);
  Up(x + 20, y + 15);
}
