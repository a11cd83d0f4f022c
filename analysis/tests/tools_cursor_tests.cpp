// The tool catalogue and the cursor tool: placing, dragging, snapping, hit tests
// and XOR drawing that leaves no trace.

#include <memory>

#include "analysis/tools_cursor.h"
#include "tools_test_util.h"

using namespace tooltest;

TEST(ToolCatalogue, SeventeenToolsInGalleryOrderWithTheirTexts) {
  EnsureToolUnits();
  ASSERT_EQ(ToolCatalogueCount, 17);
  const char* order[] = {"TCursorTool",     "TDragMarksTool",  "TAxisArrowTool",  "TDrawLineTool",
                         "TNearestTool",    "TColorBandTool",  "TColorLineTool",  "TRotateTool",
                         "TChartImageTool", "TMarksTipTool",   "TAnnotationTool", "TSeriesAnimationTool",
                         "TGridBandTool",   "TAxisScrollTool", "TRectangleTool",  "TClipSeriesTool",
                         "TFullScreenTool"};
  for (int i = 0; i < 17; ++i) EXPECT_STREQ(ToolCatalogue[i].ClassName, order[i]) << i;
  EXPECT_EQ(*FindToolCatalogueEntry("TMarksTipTool")->LongDescription,
            "Displays \"tips\" or \"hints\" when the end-user moves or clicks the mouse over a series point.");
  EXPECT_EQ(*FindToolCatalogueEntry("TAxisScrollTool")->LongDescription,
            "Allows the scrolling of Axes by mouse dragging");
  EXPECT_STREQ(FindToolCatalogueEntry("TFullScreenTool")->EditorClassName, "");
  EXPECT_STREQ(FindToolCatalogueEntry("TClipSeriesTool")->EditorClassName, "TSeriesToolEditor");
  EXPECT_STREQ(FindToolCatalogueEntry("TRectangleTool")->EditorClassName, "TAnnotationToolEdit");
  EXPECT_EQ(FindToolCatalogueEntry("TNoSuchTool"), nullptr);

  TCursorTool t(nullptr);
  EXPECT_EQ(TCursorTool::ClassDescription(), "Cursor");
  EXPECT_EQ(t.LongDescription(), "Displays draggable Cursor lines on top of Series.");
  EXPECT_EQ(static_cast<TLumCustomTool&>(t).EditorClassName(), "TCursorToolEditor");
}

namespace {
struct TChange {
  int X, Y;
  double XValue, YValue;
  int Index;
};

class CursorTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TCursorTool(Form);
    Tool->OnChange = [this](TCursorTool*, int x, int y, double xv, double yv, TChartSeries*, int i) {
      Changes.push_back({x, y, xv, yv, i});
    };
    Tool->SetParentChart(Chart);
    Paint();
  }
  int MidX() const { return (Chart->BottomAxis()->IStartPos() + Chart->BottomAxis()->IEndPos()) / 2; }
  int MidY() const { return (Chart->LeftAxis()->IStartPos() + Chart->LeftAxis()->IEndPos()) / 2; }
  TCursorTool* Tool = nullptr;
  std::vector<TChange> Changes;
};
}  // namespace

TEST_F(CursorTest, FirstPaintPlacesTheCursorAtTheAxesMiddleWithOneChange) {
  EXPECT_EQ(Tool->XPixel(), MidX());
  EXPECT_EQ(Tool->YPixel(), MidY());
  ASSERT_EQ(Changes.size(), 1u);
  EXPECT_EQ(Changes[0].Index, -1);
  EXPECT_EQ(Changes[0].X, MidX());
  EXPECT_NEAR(Tool->XValue(), 50, 0.5);
  EXPECT_NEAR(Tool->YValue(), 50, 0.5);
  Paint();
  EXPECT_EQ(Changes.size(), 1u) << "later paints only draw";
}

TEST_F(CursorTest, EveryStyleDrawnTwiceRestoresThePictureIn2DAnd3D) {
  for (bool view3D : {false, true}) {
    Chart->SetView3D(view3D);
    Tool->SetUseSeriesZ(view3D);
    for (int style = cssHorizontal; style <= cssScopeOnly; ++style)
      for (int scope = scsRectangle; scope <= scsCamera; ++scope) {
        Tool->SetStyle(TCursorToolStyle(style));
        Tool->SetScopeStyle(TScopeCursorStyle(scope));
        Tool->SetHorizSize(scope == scsCamera ? 15 : 0);
        Paint();
        const TImagePixels before = Picture();
        Tool->RedrawCursor();
        const TImagePixels once = Picture();
        Tool->RedrawCursor();
        // The empty scope without sizes has nothing to draw.
        if (style != cssScopeOnly || scope != scsEmpty) {
          EXPECT_FALSE(once == before) << view3D << " " << style << " " << scope;
        }
        EXPECT_TRUE(Picture() == before) << view3D << " " << style << " " << scope;
      }
  }
}

TEST_F(CursorTest, DraggingALineMovesItsValueOnlyAndTheCrossingMovesBoth) {
  const double x0 = Tool->XValue();
  Down(MidX() + 60, MidY() + 2);
  EXPECT_EQ(Tool->Dragging(), 1);
  EXPECT_TRUE(Chart->CancelMouse);
  Move(MidX() + 40, MidY() - 50);
  EXPECT_EQ(Tool->XValue(), x0);
  EXPECT_NEAR(Tool->YValue(), Chart->LeftAxis()->CalcPosPoint(MidY() - 50), 1e-9);
  EXPECT_EQ(Tool->YPixel(), MidY() - 50);
  Up(MidX() + 40, MidY() - 50);
  EXPECT_EQ(Tool->Dragging(), 0);

  Down(MidX() - 2, MidY() - 48);
  EXPECT_EQ(Tool->Dragging(), 3);
  Move(MidX() + 30, MidY() + 20);
  EXPECT_EQ(Tool->XPixel(), MidX() + 30);
  EXPECT_EQ(Tool->YPixel(), MidY() + 20);
  // Outside the axes the cursor stays.
  const TChange last = Changes.back();
  Move(2, 2);
  EXPECT_EQ(Tool->XPixel(), MidX() + 30);
  EXPECT_EQ(Changes.back().X, last.X);
  Up(2, 2);

  // No stray figure: the picture equals a fresh paint with the cursor where it is.
  const TImagePixels moved = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moved);
  EXPECT_FALSE(Chart->Zoom()->Active);
}

TEST_F(CursorTest, SnapTakesTheLowerIndexOfEqualDistancesAndReportsIndexChangesOnce) {
  Series->Clear();
  Series->AddXY(40, 50);
  Series->AddXY(60, 50);
  Series->AddXY(90, 50);
  Tool->SetSeries(Series);
  Paint();
  Tool->SetXValue(50);
  Tool->SetYValue(50);
  double d;
  EXPECT_EQ(Tool->NearestPoint(cssBoth, d), 0);
  EXPECT_DOUBLE_EQ(d, 10);
  Tool->SetSnap(true);
  Tool->SetStyle(cssVertical);
  Paint();
  int snaps = 0, lastIndex = -2;
  Tool->OnSnapChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int i) { ++snaps, lastIndex = i; };
  Down(Tool->XPixel(), MidY() + 40);
  ASSERT_EQ(Tool->Dragging(), 2);
  Move(XPix(62), MidY());
  Move(XPix(58), MidY());
  EXPECT_EQ(snaps, 1);
  EXPECT_EQ(lastIndex, 1);
  EXPECT_DOUBLE_EQ(Tool->XValue(), 60);
  Move(XPix(85), MidY());
  EXPECT_EQ(snaps, 2);
  EXPECT_EQ(Changes.back().Index, 2);
  Up(XPix(85), MidY());
}

TEST_F(CursorTest, HorizSizeLimitsTheLineTo41PixelsAndItsHitArea) {
  Series->Clear();
  Tool->SetStyle(cssHorizontal);
  Tool->SetHorizSize(20);
  Paint();
  const TImagePixels on = Picture();
  Tool->RedrawCursor();
  const TImagePixels off = Picture();
  int changed = 0;
  for (int x = 0; x < W; ++x) changed += on.At(x, Tool->YPixel()) != off.At(x, Tool->YPixel());
  EXPECT_EQ(changed, 41);
  Tool->RedrawCursor();
  EXPECT_EQ(Tool->Clicked(Tool->XPixel() + 20, Tool->YPixel()), 1);
  EXPECT_EQ(Tool->Clicked(Tool->XPixel() + 25, Tool->YPixel()), 0);
  EXPECT_EQ(Tool->Clicked(Tool->XPixel(), Tool->YPixel() + 4), 0) << "beyond ClickTolerance 3";
}

TEST_F(CursorTest, ColoursXorTheChartColourAndSilverOnAMonochromeChart) {
  Series->Clear();
  Tool->Pen()->SetColor(clRed);
  Paint();
  Tool->SetYValue(43);  // off the grid lines
  Paint();
  const int x = MidX() + 40, y = Tool->YPixel();
  EXPECT_EQ(Picture().At(x, y), clRed) << "pen colour where the line crosses the chart colour";
  Chart->SetMonochrome(true);
  Paint();
  EXPECT_EQ(Picture().At(x, y), TColor(0xFFFFFF ^ 0xC0C0C0));
}

TEST_F(CursorTest, FollowMouseAndTheCursorsOverLines) {
  Down(MidX() + 50, MidY());
  Up(MidX() + 50, MidY());
  Move(MidX() + 50, MidY(), 0);
  EXPECT_EQ(Chart->Cursor(), crVSplit);
  EXPECT_TRUE(Chart->CancelMouse);
  Move(MidX(), MidY() + 50, 0);
  EXPECT_EQ(Chart->Cursor(), crHSplit);
  Move(MidX() + 1, MidY() + 1, 0);
  EXPECT_EQ(Chart->Cursor(), crSizeAll);
  Chart->SetSavedCursor(crCross);
  Move(MidX() + 50, MidY() + 50, 0);
  EXPECT_FALSE(Chart->CancelMouse);
  EXPECT_EQ(Chart->Cursor(), crCross) << "off the lines: the chart's own cursor back";

  Tool->SetFollowMouse(true);
  const size_t n = Changes.size();
  Move(MidX() + 70, MidY() - 30, 0);
  EXPECT_EQ(Tool->XPixel(), MidX() + 70);
  EXPECT_EQ(Tool->YPixel(), MidY() - 30);
  EXPECT_EQ(Changes.size(), n + 1);
  Down(MidX() + 70, MidY() - 30);
  EXPECT_EQ(Tool->Dragging(), 0) << "a following cursor is not dragged";
}

TEST_F(CursorTest, TheFirstToolInTheListTakesThePressAndTheChartDoesNotZoom) {
  auto* second = new TCursorTool(Form);
  second->SetParentChart(Chart);
  Paint();
  Down(MidX(), MidY());
  EXPECT_EQ(Tool->Dragging(), 3);
  EXPECT_EQ(second->Dragging(), 0);
  EXPECT_FALSE(Chart->Zoom()->Active);
  Move(MidX() + 10, MidY() + 10);
  Up(MidX() + 10, MidY() + 10);
  EXPECT_FALSE(Chart->Zoom()->Active);
  const TImagePixels moved = Picture();
  Paint();
  EXPECT_TRUE(Picture() == moved);
}

TEST_F(CursorTest, AToolFreedByItsOwnChangeEndsTheMoveCleanly) {
  // First its series goes from inside the event: the cursor goes on without it.
  Tool->SetSeries(Series);
  Tool->SetSnap(true);
  Tool->OnChange = [this](TCursorTool*, int, int, double, double, TChartSeries*, int) {
    delete Series;
    Series = nullptr;
  };
  Down(MidX(), MidY());
  Move(MidX() + 10, MidY() + 10);
  EXPECT_EQ(Tool->Series(), nullptr);
  Move(MidX() + 20, MidY() + 10);
  EXPECT_EQ(Tool->XPixel(), MidX() + 20);
  Up(MidX() + 20, MidY() + 10);

  Tool->OnChange = [this](TCursorTool* t, int, int, double, double, TChartSeries*, int) {
    delete t;
    Tool = nullptr;
  };
  Tool->OnSnapChange = [](TCursorTool*, int, int, double, double, TChartSeries*, int) { FAIL(); };
  Down(Tool->XPixel(), Tool->YPixel());
  Move(MidX() + 10, MidY() + 10);
  EXPECT_EQ(Tool, nullptr);
  EXPECT_EQ(Chart->Tools()->Count(), 0);
  Up(MidX() + 10, MidY() + 10);
}

TEST_F(CursorTest, ARealDragThroughTheWindowMovesTheHorizontalLine) {
  const double x0 = Tool->XValue();
  TestInput::PostMouseDown(Chart, mbLeft, MidX() + 60, MidY());
  TestInput::PostMouseMove(Chart, MidX() + 60, MidY() - 30, ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, MidX() + 60, MidY() - 30);
  TestInput::PumpUntil([this] { return Tool->YPixel() == MidY() - 30 && Tool->Dragging() == 0; }, 2000);
  EXPECT_EQ(Tool->YPixel(), MidY() - 30);
  EXPECT_EQ(Tool->XValue(), x0);
  EXPECT_FALSE(Chart->Zoomed());
}
