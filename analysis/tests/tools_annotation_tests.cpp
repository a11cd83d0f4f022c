// Annotations and the rectangle tool: box layout in the five places and in
// percent, frame and margins, the callout's start, clicks, and dragging and
// resizing the rectangle through the chart's mouse entry.

#include <string>
#include <vector>

#include "analysis/tools_annotation.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {
class AnnotationTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TAnnotationTool(Form);
    Tool->SetParentChart(Chart);
    Tool->SetText("Hello");
    Paint();
  }
  TRect Box() const { return Tool->Shape()->ShapeBounds(); }
  int TextWidth(const std::string& S) {
    Chart->Canvas()->AssignFont(Tool->Shape()->Font());
    return Chart->Canvas()->TextWidth(S);
  }
  TAnnotationTool* Tool = nullptr;
};
}  // namespace

TEST_F(AnnotationTest, TheFivePlacesOnA400By300Chart) {
  TMargins* m = Tool->Shape()->Margins();
  m->SetUnits(maPixels);
  m->SetLeft(2), m->SetTop(3), m->SetRight(4), m->SetBottom(5);
  const int f = 1;  // (frame width 1 + 1) div 2
  const int w = TextWidth("Hello") + f + 6;
  Paint();
  EXPECT_EQ(Box().Left, 10);
  EXPECT_EQ(Box().Top, 10);
  EXPECT_EQ(Tool->Width(), w);
  const int h = Tool->Height();

  Tool->SetPosition(ppRightBottom);
  Paint();
  EXPECT_EQ(Box().Right, 400) << "the right edge with its margins ends at the chart's edge";
  EXPECT_EQ(Box().Bottom, 300);
  EXPECT_EQ(Tool->Width(), w);
  Tool->SetPosition(ppLeftBottom);
  Paint();
  EXPECT_EQ(Box().Left, 10);
  EXPECT_EQ(Box().Bottom, 300);
  Tool->SetPosition(ppRightTop);
  Paint();
  EXPECT_EQ(Box().Right, 400);
  EXPECT_EQ(Box().Top, 10);
  Tool->SetPosition(ppCenter);
  Paint();
  EXPECT_EQ(Box().Left, (400 - TextWidth("Hello")) / 2);
  EXPECT_EQ(Box().Top, (300 - (h - f - 8)) / 2);
}

TEST_F(AnnotationTest, FrameEmptyTextAndWidth) {
  const int w1 = Tool->Width();
  Tool->Shape()->Frame()->SetWidth(5);
  Paint();
  EXPECT_EQ(Tool->Width(), w1 - 1 + 3) << "the frame widens the box by (width + 1) div 2";
  Tool->Shape()->Frame()->Hide();
  Paint();
  EXPECT_EQ(Tool->Width(), w1 - 1);
  Tool->SetText("");
  Paint();
  EXPECT_EQ(Tool->Width(), TextWidth(" ")) << "an empty text measures as one space";
  EXPECT_GT(Tool->Height(), 0);

  Tool->SetWidth(120);
  EXPECT_FALSE(Tool->AutoSize());
  Tool->SetText("A much longer text than the box was made for");
  Paint();
  EXPECT_EQ(Tool->Width(), 120);
}

TEST_F(AnnotationTest, PercentPlacesRoundHalfToEven) {
  Tool->SetPositionUnits(muPercent);
  Tool->SetLeft(50);
  Tool->SetTop(50);
  EXPECT_TRUE(Tool->Shape()->CustomPosition());
  Paint();
  // 50 % of 401 is 200.5 and of 301 is 150.5.
  EXPECT_EQ(Box().Left, 200);
  EXPECT_EQ(Box().Top, 150);
  Tool->SetPosition(ppLeftTop);
  EXPECT_FALSE(Tool->Shape()->CustomPosition());
}

TEST_F(AnnotationTest, TheCalloutStartsAtTheBoxCentreWhenItsTargetIsInside) {
  Tool->SetText("");
  Tool->Shape()->SetTransparent(true);
  Tool->SetWidth(100);
  Tool->SetHeight(80);
  Tool->SetLeft(100);
  Tool->SetTop(100);
  TAnnotationCallout* k = Tool->Callout();
  EXPECT_FALSE(k->Visible());
  EXPECT_FALSE(k->Arrow()->Visible());
  k->Arrow()->Show();
  k->Arrow()->SetColor(clRed);
  k->SetXPosition(110);
  k->SetYPosition(110);
  Paint();
  const TRect b = Box();
  const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
  const TImagePixels p = Picture();
  EXPECT_EQ(p.At((cx + 110) / 2, (cy + 110) / 2), clRed);
  // Outside on the right: from the right edge.
  k->SetXPosition(300);
  k->SetYPosition(cy);
  Paint();
  EXPECT_EQ(Picture().At(b.Right + 20, cy), clRed);
}

TEST_F(AnnotationTest, ClickAndDoubleClickOnTheBox) {
  std::vector<std::string> log;
  Tool->OnClick = [&](TAnnotationTool*, TMouseButton, TShiftState, int, int) { log.push_back("click"); };
  Tool->OnDblClick = [&](TAnnotationTool*, TMouseButton, TShiftState, int, int) { log.push_back("dbl"); };
  Down(Box().Left + 2, Box().Top + 2);
  Down(Box().Right + 2, Box().Top + 2);
  Down(Box().Left + 2, Box().Top + 2, mbLeft, ssDouble);
  EXPECT_EQ(log, (std::vector<std::string>{"click", "click", "dbl"}));
  log.clear();
  TestInput::PostDblClick(Chart, Box().Left + 3, Box().Top + 3);
  TestInput::PumpUntil([&] { return log.size() >= 3; }, 2000);
  EXPECT_EQ(log.back(), "dbl");

  // A click handler that frees the tool ends the dispatch.
  Tool->OnClick = [this](TAnnotationTool* t, TMouseButton, TShiftState, int, int) {
    delete t;
    Tool = nullptr;
  };
  Down(12, 12, mbLeft, ssDouble);
  EXPECT_EQ(Tool, nullptr);
}

namespace {
class RectangleTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TRectangleTool(Form);
    Tool->SetParentChart(Chart);
    Tool->OnDragging = [this](TObject*) { Log.push_back("dragging"); };
    Tool->OnDragged = [this](TObject*) { Log.push_back("dragged"); };
    Tool->OnResizing = [this](TObject*) { Log.push_back("resizing"); };
    Tool->OnResized = [this](TObject*) { Log.push_back("resized"); };
    Paint();
  }
  TRect Box() const { return Tool->Shape()->ShapeBounds(); }
  TRectangleTool* Tool = nullptr;
  std::vector<std::string> Log;
};
}  // namespace

TEST_F(RectangleTest, ZonesInTheirOrder) {
  ASSERT_EQ(Box(), (TRect{10, 10, 59, 59}));
  EXPECT_EQ(Tool->Width(), 50);
  EXPECT_EQ(Tool->ClickedZone(13, 13), 4) << "3 pixels from left and top: the corner";
  EXPECT_EQ(Tool->ClickedZone(14, 14), -1) << "4 pixels: the body";
  EXPECT_EQ(Tool->ClickedZone(10, 57), 5);
  EXPECT_EQ(Tool->ClickedZone(10, 30), 0);
  EXPECT_EQ(Tool->ClickedZone(57, 11), 6);
  EXPECT_EQ(Tool->ClickedZone(30, 12), 1);
  EXPECT_EQ(Tool->ClickedZone(59, 59), 7);
  EXPECT_EQ(Tool->ClickedZone(56, 30), 2);
  EXPECT_EQ(Tool->ClickedZone(30, 58), 3);
  EXPECT_EQ(Tool->ClickedZone(60, 30), -1) << "off the box";
  Move(13, 13, 0);
  EXPECT_EQ(Chart->Cursor(), crSizeNWSE);
  Move(57, 11, 0);
  EXPECT_EQ(Chart->Cursor(), crSizeNESW);
  Move(30, 30, 0);
  EXPECT_EQ(Chart->Cursor(), crHandPoint);
  EXPECT_TRUE(Chart->CancelMouse);
  Chart->SetSavedCursor(crIBeam);
  Move(120, 120, 0);
  EXPECT_EQ(Chart->Cursor(), crIBeam) << "off the box: the chart's own cursor back";
  EXPECT_FALSE(Chart->CancelMouse);
}

TEST_F(RectangleTest, DraggingInPixelsAndPercentKeepsTheSize) {
  Down(30, 30);
  EXPECT_TRUE(Tool->IsDragging());
  EXPECT_TRUE(Chart->CancelMouse);
  Move(80, 90);
  Move(90, 100);
  Up(90, 100);
  EXPECT_EQ(Box(), (TRect{70, 80, 119, 129}));
  EXPECT_EQ(Log, (std::vector<std::string>{"dragging", "dragging", "dragged"}));
  EXPECT_FALSE(Chart->Zoom()->Active);

  Tool->SetPositionUnits(muPercent);
  Down(80, 90);
  Move(70, 80);  // box at 60, 70 in pixels
  Up(70, 80);
  // 60 x 100 / 400 = 15, 70 x 100 / 300 = 23.33.
  EXPECT_EQ(Tool->Left(), 15);
  EXPECT_EQ(Tool->Top(), 23);
  EXPECT_EQ(Tool->Width(), 50);
  Paint();
  EXPECT_EQ(Tool->Width(), 50);

  // A chart with no width has no percent to divide by.
  Chart->SetBounds(0, 0, 0, 0);
  Down(Box().Left + 20, Box().Top + 20);
  Move(5, 5);
  Up(5, 5);
  EXPECT_EQ(Tool->Left(), 0);
}

TEST_F(RectangleTest, ResizingFollowsTheEdgesButNeverUnder3Pixels) {
  Down(59, 59);
  EXPECT_EQ(Tool->ResizeZone(), 7);
  Move(100, 90);
  EXPECT_EQ(Box(), (TRect{10, 10, 100, 90}));
  Move(0, 0);
  EXPECT_EQ(Box(), (TRect{10, 10, 13, 13}));
  Up(0, 0);
  EXPECT_EQ(Tool->ResizeZone(), -1);
  EXPECT_EQ(Log, (std::vector<std::string>{"resizing", "resizing", "resized"}));

  Tool->SetWidth(50);
  Tool->SetHeight(50);
  Down(10, 30);
  ASSERT_EQ(Tool->ResizeZone(), 0);
  Move(200, 30);
  EXPECT_EQ(Box().Left, 56);
  Up(200, 30);

  // In percent the left and top go to percent, the size stays in pixels.
  Tool->SetPositionUnits(muPercent);
  Tool->SetWidth(50);
  const TRect b = Box();
  Down(b.Right, b.Bottom);
  Move(b.Right + 40, b.Bottom + 20);
  Up(b.Right + 40, b.Bottom + 20);
  EXPECT_EQ(Tool->Width(), b.Right - b.Left + 41);
  EXPECT_EQ(Tool->Left(), int(std::nearbyint(b.Left * 100.0 / 400)));
}

TEST_F(RectangleTest, ARealDragThroughTheWindowMovesTheBox) {
  TestInput::PostMouseDown(Chart, mbLeft, 30, 30);
  TestInput::PostMouseMove(Chart, 60, 50, ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, 60, 50);
  TestInput::PumpUntil([this] { return !Log.empty() && Log.back() == "dragged"; }, 2000);
  EXPECT_EQ(Box().Left, 40);
  EXPECT_EQ(Box().Top, 30);
  EXPECT_FALSE(Chart->Zoomed());
}

TEST(ToolProperties, AssignCopiesAndStartingValuesAreNotStored) {
  EnsureToolUnits();
  TRectangleTool a(nullptr), b(nullptr);
  for (const char* name : {"AutoSize", "Cursor"})
    EXPECT_FALSE(IsStoredProp(&a, *GetPropInfo(a.ClassType(), name))) << name;
  EXPECT_FALSE(IsStoredProp(a.Callout(), *GetPropInfo(a.Callout()->ClassType(), "Visible")));
  a.SetAllowDrag(false);
  a.SetText("copied");
  a.SetPosition(ppRightTop);
  a.Callout()->SetXPosition(77);
  b.Assign(&a);
  EXPECT_FALSE(b.AllowDrag());
  EXPECT_EQ(b.Text(), "copied");
  EXPECT_EQ(b.Position(), ppRightTop);
  EXPECT_EQ(b.Callout()->XPosition(), 77);
  EXPECT_NE(b.Shape(), a.Shape()) << "assigned into, never shared";
}
