// The draw line tool: drawing, selecting and dragging lines through the chart's
// mouse entry, hit tests by style and tolerance, and inverted drawing.

#include "analysis/tools_drawline.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {
class DrawLineTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Series->Clear();
    Tool = new TDrawLineTool(Form);
    Tool->SetParentChart(Chart);
    Tool->OnNewLine = [this](TObject*) { ++NewLines; };
    Paint();
  }
  // A left drag from (X0, Y0) to (X1, Y1), painted afterwards.
  void Drag(int X0, int Y0, int X1, int Y1) {
    Down(X0, Y0);
    Move((X0 + X1) / 2, (Y0 + Y1) / 2);
    Move(X1, Y1);
    Up(X1, Y1);
    Paint();
  }
  TDrawLine* AddLine(double X0, double Y0, double X1, double Y1, TDrawLineStyle S = dlLine) {
    TDrawLine* l = Tool->Lines()->AddLine();
    l->SetStartPos({X0, Y0});
    l->SetEndPos({X1, Y1});
    l->SetStyle(S);
    return l;
  }
  TDrawLineTool* Tool = nullptr;
  int NewLines = 0;
};
}  // namespace

TEST_F(DrawLineTest, DraggingOnEmptySpaceDrawsASelectedLineInAxisValues) {
  Drag(XPix(20), YPix(20), XPix(60), YPix(80));
  ASSERT_EQ(Tool->Lines()->Count(), 1);
  EXPECT_EQ(NewLines, 1);
  TDrawLine* l = Tool->Lines()->Line(0);
  EXPECT_EQ(Tool->Selected(), l);
  EXPECT_NEAR(l->X0(), 20, 0.5);
  EXPECT_NEAR(l->Y1(), 80, 0.5);
  EXPECT_FALSE(Chart->Zoom()->Active);

  // Scrolling moves the pixels, not the values.
  const double x0 = l->X0();
  const int px = Tool->AxisPoint(l->StartPos()).X;
  Chart->BottomAxis()->SetMinMax(10, 110);
  Paint();
  EXPECT_EQ(l->X0(), x0);
  EXPECT_LT(Tool->AxisPoint(l->StartPos()).X, px);

  // A click on empty space adds nothing and clears the selection.
  Down(XPix(90), YPix(10));
  Up(XPix(90), YPix(10));
  EXPECT_EQ(Tool->Lines()->Count(), 1);
  EXPECT_EQ(Tool->Selected(), nullptr);
}

TEST_F(DrawLineTest, AnotherButtonNeitherDrawsNorSelectsButMovesUpdateADrag) {
  Down(XPix(20), YPix(20), mbRight);
  Move(XPix(50), YPix(50), ssRight);
  Up(XPix(50), YPix(50), mbRight);
  EXPECT_EQ(Tool->Lines()->Count(), 0);
  TDrawLine* l = AddLine(20, 50, 80, 50);
  Paint();
  Down(XPix(50), YPix(50), mbRight);
  EXPECT_EQ(Tool->Selected(), nullptr);
  Down(XPix(50), YPix(50));
  ASSERT_EQ(Tool->Selected(), l);
  EXPECT_EQ(Tool->DragPart(), 3);
  Paint();
  Move(XPix(50), YPix(60), ssRight);
  EXPECT_NEAR(l->Y0(), 60, 0.5);
  EXPECT_NEAR(l->Y1(), 60, 0.5);
  Up(XPix(50), YPix(60), mbRight);
  EXPECT_EQ(Tool->DragPart(), 3) << "another button's release ends nothing";
  Up(XPix(50), YPix(60));
  EXPECT_EQ(Tool->DragPart(), 0);
}

TEST_F(DrawLineTest, HitTestsByStyleAndTolerance) {
  TDrawLine* l = AddLine(20, 50, 80, 50);
  const TPoint s = Tool->AxisPoint(l->StartPos()), e = Tool->AxisPoint(l->EndPos());
  const TPoint mid{(s.X + e.X) / 2, s.Y};
  EXPECT_TRUE(Tool->InternalClicked(l, 0, mid));
  EXPECT_FALSE(Tool->InternalClicked(l, 0, {mid.X, mid.Y + 1})) << "tolerance 0 needs the line's own pixels";
  Tool->SetClickTolerance(2);
  EXPECT_TRUE(Tool->InternalClicked(l, 0, {mid.X, mid.Y + 2}));
  EXPECT_FALSE(Tool->InternalClicked(l, 0, {mid.X, mid.Y + 3}));
  Tool->SetClickTolerance(0);
  EXPECT_TRUE(Tool->InternalClicked(l, 1, {s.X - 3, s.Y + 3}));
  EXPECT_FALSE(Tool->InternalClicked(l, 1, {s.X - 4, s.Y}));
  l->SetEndPos({80, 20});
  for (TDrawLineStyle st : {dlRectangle, dlEllipse}) {
    l->SetStyle(st);
    EXPECT_TRUE(Tool->InternalClicked(l, 0, Tool->AxisPoint({50, 35}))) << int(st);
  }
  l->SetStyle(dlHorizParallel);
  EXPECT_FALSE(Tool->InternalClicked(l, 0, Tool->AxisPoint({50, 35})));
  EXPECT_TRUE(Tool->InternalClicked(l, 0, Tool->AxisPoint({50, 20})));
  l->SetStyle(dlVertParallel);
  EXPECT_TRUE(Tool->InternalClicked(l, 0, Tool->AxisPoint({80, 35})));
}

TEST_F(DrawLineTest, BodiesComeBeforeHandlesAndOnlyTheSelectedLinesHandlesPickAnEnd) {
  TDrawLine* a = AddLine(20, 20, 80, 20);
  TDrawLine* b = AddLine(50, 30, 50, 80);
  Tool->SetSelected(a);
  Paint();
  const TPoint as = Tool->AxisPoint(a->StartPos()), ae = Tool->AxisPoint(a->EndPos());
  Down(as.X, as.Y);
  EXPECT_EQ(Tool->DragPart(), 1);
  Up(as.X, as.Y);
  Down(ae.X - 2, ae.Y + 2);
  EXPECT_EQ(Tool->DragPart(), 2);
  Up(ae.X - 2, ae.Y + 2);
  Down((as.X + ae.X) / 2, as.Y);
  EXPECT_EQ(Tool->DragPart(), 3);
  Up((as.X + ae.X) / 2, as.Y);
  // b's start handle reaches a's body: the body wins.
  const TPoint bs = Tool->AxisPoint(b->StartPos());
  b->SetStartPos(Tool->ScreenPoint({bs.X, as.Y + 3}));
  EXPECT_EQ(Tool->Clicked(bs.X, as.Y), a);
  EXPECT_EQ(Tool->Clicked(bs.X + 2, as.Y + 4), b) << "b's handle, off every body";
  // Pressing another line's end selects it whole.
  Down(bs.X + 2, as.Y + 4);
  EXPECT_EQ(Tool->Selected(), b);
  EXPECT_EQ(Tool->DragPart(), 3);
  Up(bs.X + 2, as.Y + 4);
}

TEST_F(DrawLineTest, RefusedSelectionStaysAndEnableSelectOffClearsIt) {
  TDrawLine* a = AddLine(20, 20, 80, 20);
  TDrawLine* b = AddLine(20, 70, 80, 70);
  Tool->SetSelected(a);
  int selects = 0;
  Tool->OnSelect = [&](TObject*) { ++selects; };
  Tool->OnSelecting = [](TDrawLineTool*, TDrawLine*, bool& allow) { allow = false; };
  Paint();
  const TFloatPoint before = a->StartPos();
  Down(XPix(50), YPix(70));
  Move(XPix(50), YPix(40));
  Up(XPix(50), YPix(40));
  EXPECT_EQ(Tool->Selected(), a);
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(a->StartPos(), before) << "a refused press drags nothing";
  EXPECT_NEAR(b->Y0(), 70, 1e-9);

  Tool->SetEnableSelect(false);
  EXPECT_EQ(Tool->Selected(), nullptr);
  Down(XPix(50), YPix(20));
  EXPECT_EQ(Tool->Selected(), nullptr) << "no selecting while switched off";
  Up(XPix(50), YPix(20));
}

TEST_F(DrawLineTest, EveryStyleDrawnTwiceRestoresThePictureIn2DAnd3D) {
  for (bool view3D : {false, true}) {
    Chart->SetView3D(view3D);
    Paint();
    for (int st = dlLine; st <= dlEllipse; ++st) {
      Tool->SetStyle(TDrawLineStyle(st));
      const TImagePixels before = Picture();
      Down(XPix(30), YPix(30));
      Move(XPix(50), YPix(60));
      Move(XPix(70), YPix(65));
      const TImagePixels drawn = Picture();
      EXPECT_FALSE(drawn == before) << view3D << " " << st;
      // The picture while drawing equals a fresh paint with the line where it is.
      Paint();
      EXPECT_TRUE(Picture() == drawn) << view3D << " " << st;
      Move(XPix(30), YPix(30));
      EXPECT_TRUE(Picture() == before) << view3D << " " << st;
      Up(XPix(30), YPix(30));
      EXPECT_EQ(Tool->Lines()->Count(), 0);
    }
  }
}

TEST_F(DrawLineTest, DraggingASelectedLineLeavesNoStrayFigures) {
  Drag(XPix(20), YPix(20), XPix(60), YPix(40));
  TDrawLine* l = Tool->Selected();
  ASSERT_NE(l, nullptr);
  int drags = 0, dragged = 0;
  Tool->OnDragLine = [&](TObject*) { ++drags; };
  Tool->OnDraggedLine = [&](TObject*) { ++dragged; };
  const TPoint e = Tool->AxisPoint(l->EndPos());
  Down(e.X, e.Y);
  EXPECT_EQ(Tool->DragPart(), 2);
  Paint();
  Move(e.X + 30, e.Y + 40);
  Move(e.X + 50, e.Y + 60);
  const TImagePixels moving = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moving);
  Up(e.X + 50, e.Y + 60);
  Paint();
  EXPECT_EQ(drags, 2);
  EXPECT_EQ(dragged, 1);
  EXPECT_EQ(Tool->AxisPoint(l->EndPos()), (TPoint{e.X + 50, e.Y + 60}));
  EXPECT_NEAR(l->X0(), 20, 0.5);
}

TEST_F(DrawLineTest, EventsThatFreeTheToolOrTheLineEndCleanly) {
  TDrawLine* a = AddLine(20, 20, 80, 20);
  Paint();
  Tool->OnSelect = [&](TObject*) { delete a; };
  Down(XPix(50), YPix(20));
  EXPECT_EQ(Tool->Selected(), nullptr);
  Move(XPix(50), YPix(30));
  Up(XPix(50), YPix(30));
  EXPECT_EQ(Tool->Lines()->Count(), 0);

  Tool->OnNewLine = [this](TObject*) {
    delete Tool;
    Tool = nullptr;
  };
  Drag(XPix(20), YPix(20), XPix(60), YPix(40));
  EXPECT_EQ(Tool, nullptr);
  EXPECT_EQ(Chart->Tools()->Count(), 0);
}

TEST_F(DrawLineTest, ARealDragThroughTheWindowDrawsALine) {
  TestInput::PostMouseDown(Chart, mbLeft, XPix(20), YPix(20));
  TestInput::PostMouseMove(Chart, XPix(40), YPix(50), ssLeft);
  TestInput::PostMouseMove(Chart, XPix(60), YPix(70), ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, XPix(60), YPix(70));
  TestInput::PumpUntil([this] { return Tool->Lines()->Count() == 1; }, 2000);
  ASSERT_EQ(Tool->Lines()->Count(), 1);
  EXPECT_NEAR(Tool->Lines()->Line(0)->X1(), 60, 0.5);
  EXPECT_FALSE(Chart->Zoomed());
}

TEST_F(DrawLineTest, ALineStoresAPenOnlyWhenItHasItsOwnAndAssignCopiesLines) {
  TDrawLine* l = AddLine(10, 10, 30, 30, dlEllipse);
  const TPropInfo* pen = GetPropInfo(l->ClassType(), "Pen");
  ASSERT_NE(pen, nullptr);
  EXPECT_FALSE(IsStoredProp(l, *pen));
  Tool->Pen()->SetColor(clGreen);
  EXPECT_EQ(l->Pen()->Color(), clGreen) << "made from the tool's pen";
  EXPECT_TRUE(IsStoredProp(l, *pen));
  l->SetPen(nullptr);
  EXPECT_FALSE(l->HasOwnPen());

  TDrawLineTool copy(nullptr);
  Tool->SetStyle(dlRectangle);
  Tool->SetClickTolerance(4);
  copy.Assign(Tool);
  ASSERT_EQ(copy.Lines()->Count(), 1);
  EXPECT_EQ(copy.Lines()->Line(0)->Style(), dlEllipse);
  EXPECT_EQ(copy.Lines()->Line(0)->EndPos(), (TFloatPoint{30, 30}));
  EXPECT_EQ(copy.Style(), dlRectangle);
  EXPECT_EQ(copy.ClickTolerance(), 4);
  EXPECT_EQ(copy.Selected(), nullptr);
}
