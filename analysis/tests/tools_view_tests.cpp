// The view tools: turning the 3D view, axis arrows and axis drags, the chart image,
// series clipping, full screen, and the registration of the tool classes.

#include <algorithm>
#include <memory>

#include "analysis/tools_view.h"
#include "analysis/toolsunit.h"
#include "chart/registry.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {

class RotateTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Chart->SetView3D(true);
    Chart->View3DOptions()->SetRotation(345);
    Chart->View3DOptions()->SetElevation(345);
    Tool = new TRotateTool(Form);
    Tool->SetParentChart(Chart);
    Paint();
  }
  double Rotation() const { return Chart->View3DOptions()->RotationFloat(); }
  double Elevation() const { return Chart->View3DOptions()->ElevationFloat(); }
  // Drags from the plot's left edge DX pixels right and DY pixels down.
  void Drag(int DX, int DY, bool Release = true) {
    const int x = Chart->ChartRect().Left, y = Chart->ChartYCenter();
    Down(x, y);
    Move(x + DX, y + DY);
    if (Release) Up(x + DX, y + DY);
  }
  TRotateTool* Tool = nullptr;
};

}  // namespace

TEST_F(RotateTest, AFullWidthDragTurnsBy90TimesTheSpeedFactor) {
  struct {
    int Speed;
    bool Inverted;
    double Rotation;
  } cases[] = {{50, false, 75}, {50, true, 255}, {100, false, 120}, {0, false, 30}};
  for (const auto& k : cases) {
    Chart->View3DOptions()->SetRotation(345);
    Chart->View3DOptions()->SetOrthogonal(true);
    Tool->SetSpeed(k.Speed);
    Tool->SetInverted(k.Inverted);
    int rotated = 0;
    Tool->OnRotate = [&](TObject*) { ++rotated; };
    Drag(Chart->ChartWidth(), 0, false);
    EXPECT_TRUE(Chart->CancelMouse);
    Up(0, 0);
    EXPECT_NEAR(Rotation(), k.Rotation, 1e-9) << k.Speed << k.Inverted;
    EXPECT_EQ(Elevation(), 345) << "a zero step leaves the elevation";
    EXPECT_FALSE(Chart->View3DOptions()->Orthogonal());
    EXPECT_EQ(rotated, 1);
  }
}

TEST_F(RotateTest, WithoutFullRotationTheElevationStaysWithin270And360) {
  ASSERT_FALSE(Chart->Canvas()->SupportsFullRotation());
  Drag(0, -Chart->ChartHeight() * 2);  // up: +180 degrees
  EXPECT_EQ(Elevation(), 360);
  Drag(0, Chart->ChartHeight() * 3);  // down: -270 degrees
  EXPECT_EQ(Elevation(), 270);
  Tool->SetStyle(rsRotation);
  Drag(0, -Chart->ChartHeight() / 2);
  EXPECT_EQ(Elevation(), 270) << "rotation only";
}

TEST_F(RotateTest, APlotOfNoSizeGivesNoStep) {
  Chart->SetChartRect({50, 50, 50, 200});
  Chart->RecalcWidthHeight();
  ASSERT_EQ(Chart->ChartWidth(), 0);
  Drag(100, -30);
  EXPECT_EQ(Rotation(), 345);
  EXPECT_EQ(Elevation(), 345);
}

TEST_F(RotateTest, TheOutlineDragGivesAutoRepaintBackWhenSwitchedOffOrFreed) {
  Tool->Pen()->Show();
  for (int end = 0; end < 3; ++end) {
    const TImagePixels before = Picture();
    Drag(30, 10, false);
    EXPECT_FALSE(Chart->AutoRepaint());
    EXPECT_FALSE(Picture() == before) << "the outline is on the picture";
    if (end == 0) Up(Chart->ChartRect().Left + 30, 0);
    if (end == 1) Tool->SetActive(false);
    if (end == 2) delete Tool;
    EXPECT_TRUE(Chart->AutoRepaint()) << end;
    if (end == 1) Tool->SetActive(true);
    Paint();
  }
}

TEST_F(RotateTest, InertiaKeepsTurningAt100AndDecaysOtherwise) {
  Tool->SetInertia(100);
  Drag(40, 0);
  const double step = Tool->RotationStep(), after = Rotation();
  ASSERT_GT(step, 0);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return Rotation() != after; }, 2000));
  // Two more turns of its own: the step stays.
  for (int turn = 0; turn < 2; ++turn) {
    const double at = Rotation();
    EXPECT_TRUE(TestInput::PumpUntil([&] { return Rotation() != at; }, 2000));
  }
  EXPECT_EQ(Tool->RotationStep(), step);
  EXPECT_TRUE(Tool->Turning());
  Down(10, 10);
  EXPECT_FALSE(Tool->Turning()) << "a press stops it";
  Up(10, 10);

  Tool->SetInertia(50);
  Drag(40, 0);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return !Tool->Turning(); }, 5000));
  EXPECT_EQ(Tool->RotationStep(), 0);
}

TEST_F(RotateTest, ADragOfTheDesktopsMouseTurnsTheView) {
  const int x = Chart->ChartRect().Left, y = Chart->ChartYCenter(), w = Chart->ChartWidth();
  TestInput::PostMouseDown(Chart, mbLeft, x, y);
  TestInput::PostMouseMove(Chart, x + w / 2, y, ssLeft);
  TestInput::PostMouseUp(Chart, mbLeft, x + w / 2, y);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return !Tool->Dragging() && Rotation() != 345; }, 2000));
  EXPECT_NEAR(Rotation(), 30, 1e-9);
  EXPECT_EQ(Screen->Cursor(), crDefault) << "the screen cursor is back";
}

TEST_F(RotateTest, TheInertiaTimerGoesWithTheChart) {
  Tool->SetInertia(100);
  Drag(40, 0);
  ASSERT_TRUE(Tool->Turning());
  delete Chart;  // frees its tools, the timer with them
  Chart = nullptr;
  TestInput::PumpPasses();
}

// ---------------------------------------------------------------------------
namespace {
class AxisToolTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Chart->OnScroll = [this](TObject*) { ++Scrolls; };
  }
  TChartAxis* Bottom() const { return Chart->BottomAxis(); }
  int Scrolls = 0;
};
}  // namespace

TEST_F(AxisToolTest, ArrowsScrollByScrollPercentOfTheRange) {
  auto* t = new TAxisArrowTool(Form);
  t->SetAxis(Bottom());
  Paint();
  std::vector<bool> clicks;
  t->OnClick = [&](TAxisArrowTool*, bool AtStart) { clicks.push_back(AtStart); };
  const int y = Bottom()->PosAxis(), start = Bottom()->IStartPos() + 5, end = Bottom()->IEndPos() - 5;
  struct {
    int X, Percent;
    bool Inverted, Allow;
    double Min;
  } cases[] = {{start, 10, false, true, 10}, {end, 10, false, true, -10}, {start, 10, true, true, -10},
               {start, 0, false, true, 0},   {start, 10, false, false, 0}, {Bottom()->IStartPos() + 40, 10, false, true, 0}};
  for (const auto& k : cases) {
    Bottom()->SetMinMax(0, 100);
    Scrolls = 0;
    clicks.clear();
    t->SetScrollPercent(k.Percent);
    t->SetScrollInverted(k.Inverted);
    Chart->OnAllowScroll = [&](TChartAxis*, double&, double&, bool& Allow) { Allow = k.Allow; };
    Down(k.X, y);
    Up(k.X, y);
    EXPECT_DOUBLE_EQ(Bottom()->Minimum(), k.Min) << k.X << " " << k.Percent;
    EXPECT_DOUBLE_EQ(Bottom()->Maximum(), k.Min + 100);
    EXPECT_EQ(Scrolls, k.Min != 0 ? 1 : 0) << "a refused scroll fires no scroll event";
    const bool hit = k.Percent != 0 && k.X != Bottom()->IStartPos() + 40;
    EXPECT_EQ(clicks.size(), hit ? 1u : 0u);
    if (hit) { EXPECT_EQ(clicks[0], k.X == start); }
  }
  // A series on both horizontal axes takes the top axis along.
  Chart->OnAllowScroll = {};
  Series->SetHorizAxis(aBothHorizAxis);
  Chart->TopAxis()->SetAutomatic(false);
  Chart->TopAxis()->SetMinMax(0, 50);
  Bottom()->SetMinMax(0, 100);
  t->SetScrollPercent(10);
  t->SetScrollInverted(false);
  Down(start, y);
  EXPECT_DOUBLE_EQ(Chart->TopAxis()->Minimum(), 10);
  EXPECT_DOUBLE_EQ(Bottom()->Minimum(), 10);
}

TEST_F(AxisToolTest, DraggingAnAxisScrollsItAndTheAxesSharingItsSeries) {
  auto* t = new TAxisScrollTool(Form);
  t->SetParentChart(Chart);
  Series->SetHorizAxis(aBothHorizAxis);
  Chart->TopAxis()->SetAutomatic(false);
  Chart->TopAxis()->SetMinMax(0, 50);
  Paint();
  const double perPixel = 100.0 / Bottom()->IAxisSize(), topPerPixel = 50.0 / Chart->TopAxis()->IAxisSize();
  struct {
    bool AxisInverted, ScrollInverted;
    double Sign;
  } cases[] = {{false, false, -1}, {true, false, 1}, {false, true, 1}};
  for (const auto& k : cases) {
    Bottom()->SetMinMax(0, 100);
    Chart->TopAxis()->SetMinMax(0, 50);
    Bottom()->SetInverted(k.AxisInverted);
    t->SetScrollInverted(k.ScrollInverted);
    Paint();
    const int x = Chart->ChartXCenter(), y = Bottom()->PosAxis() + 1;
    Down(x, y);
    ASSERT_EQ(t->DraggedAxis(), Bottom());
    Move(x + 20, y);
    Up(x + 20, y);
    EXPECT_NEAR(Bottom()->Minimum(), k.Sign * 20 * perPixel, 1e-9);
    EXPECT_NEAR(Chart->TopAxis()->Minimum(), k.Sign * 20 * topPerPixel, 1e-9) << "its own delta";
    EXPECT_EQ(t->DraggedAxis(), nullptr);
  }
  Bottom()->SetInverted(false);
  // A vertical axis: dragging down moves its values up unless ScrollInverted.
  t->SetScrollInverted(false);
  Paint();
  const int x = Chart->LeftAxis()->PosAxis() - 1, y = Chart->ChartYCenter();
  Down(x, y);
  Move(x, y + 10);
  EXPECT_NEAR(Chart->LeftAxis()->Minimum(), 10 * 100.0 / Chart->LeftAxis()->IAxisSize(), 1e-9);
  Up(x, y + 10);
}

// ---------------------------------------------------------------------------
using PictureToolTest = ToolTest;

TEST_F(PictureToolTest, TheImageCoversTheSeriesExtentOrTheAxesAndNothingWithoutSeries) {
  Series->SetActive(false);
  Paint();
  const TImagePixels bare = Picture();
  auto* t = new TChartImageTool(Form);
  t->SetParentChart(Chart);
  TBitmap red;
  red.SetSize(8, 8);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect({0, 0, 8, 8});
  t->Picture()->SetGraphic(&red);
  Paint();
  EXPECT_TRUE(Picture() == bare) << "no active series, no series of its own";
  Series->SetActive(true);
  Paint();
  EXPECT_EQ(Picture().At(XPix(5), YPix(95)), clRed) << "the axes' range";
  t->SetSeries(Series);
  Paint();
  EXPECT_EQ(Picture().At(XPix(50), YPix(50)), clRed);
  EXPECT_NE(Picture().At(XPix(50), YPix(90)), clRed) << "above the series' maximum 70";
}

TEST_F(PictureToolTest, ClipSeriesKeepsTheSeriesInsideItsAxes) {
  // The left axis spans the plot's lower half, 0..50: the 70s lie above it.
  Chart->LeftAxis()->SetStartPosition(50);
  Chart->LeftAxis()->SetMinMax(0, 50);
  Series->SetSeriesColor(clRed);
  auto redAbove = [this] {
    Paint();
    const TImagePixels p = Picture();
    int n = 0;
    for (int y = Chart->ChartRect().Top + 1; y < Chart->LeftAxis()->IStartPos() - 1; ++y)
      for (int x = Chart->ChartRect().Left + 1; x < Chart->ChartRect().Right; ++x) n += p.At(x, y) == clRed;
    return n;
  };
  ASSERT_GT(redAbove(), 0);
  auto* t = new TClipSeriesTool(Form);
  t->SetParentChart(Chart);
  t->SetSeries(Series);
  EXPECT_EQ(redAbove(), 0);
  Chart->SetClipPoints(false);
  EXPECT_GT(redAbove(), 0) << "a chart that may not clip";
}

// ---------------------------------------------------------------------------
namespace {
class FullScreenTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TFullScreenTool(Form);
    Tool->SetParentChart(Chart);
    Tool->OnReset = [this](TObject*) { ++Resets; };
  }
  TFullScreenTool* Tool = nullptr;
  int Resets = 0;
};
}  // namespace

TEST_F(FullScreenTest, EscapeOrClosingTheWindowPutsTheChartBack) {
  Chart->SetAlign(alBottom);
  const TRect bounds = Chart->BoundsRect();
  for (int how = 0; how < 2; ++how) {
    Tool->SetActive(true);
    TForm* f = Tool->Form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Chart->Parent(), f);
    EXPECT_EQ(f->BorderStyle(), bsNone);
    EXPECT_TRUE(f->KeyPreview());
    EXPECT_EQ(Chart->BoundsRect(), Screen->DesktopRect());
    EXPECT_EQ(Chart->Align(), alNone);
    if (how == 0) {
      // The window's own key handler, as the desktop calls it for a window with
      // nothing focused (the offscreen platform has no active window).
      TestInput::PostCall([f] {
        std::uint16_t key = VK_ESCAPE;
        f->OnKeyDown(f, key, 0);
        EXPECT_EQ(key, 0) << "swallowed";
      });
      EXPECT_TRUE(TestInput::PumpUntil([&] { return !Tool->Active(); }, 2000));
    } else {
      f->Close();
    }
    EXPECT_FALSE(Tool->Active()) << how;
    EXPECT_EQ(Tool->Form(), nullptr);
    EXPECT_EQ(Chart->Parent(), Form) << how;
    EXPECT_EQ(Chart->BoundsRect(), bounds);
    EXPECT_EQ(Chart->Align(), alBottom);
    EXPECT_EQ(Resets, how + 1);
  }
  TestInput::PumpPasses();
}

TEST_F(FullScreenTest, FreeingTheToolOrTheChartWhileFullScreenLeavesNothingBehind) {
  Tool->SetActive(true);
  delete Tool;
  EXPECT_EQ(Chart->Parent(), Form);
  Tool = new TFullScreenTool(Form);
  Tool->SetParentChart(Chart);
  Tool->SetActive(true);
  delete Chart;
  Chart = nullptr;
  TestInput::PumpPasses();  // the window goes from the loop
}

// ---------------------------------------------------------------------------
TEST(ToolRegistration, TheToolsUnitListsEachToolOnceInCatalogueOrderUntilItsLastFinalisation) {
  EnsureToolUnits();
  LumToolsUnitInit();
  LumToolsUnitInit();
  const std::vector<TClass> classes = LumToolClasses();
  ASSERT_EQ(classes.size(), size_t(ToolCatalogueCount));
  std::vector<TClass> listed;
  for (TClass c : LumToolTypes())
    if (std::find(classes.begin(), classes.end(), c) != classes.end()) listed.push_back(c);
  EXPECT_EQ(listed, classes);
  int last = -1;
  for (TClass c : classes) {
    const TToolCatalogueEntry* e = FindToolCatalogueEntry(c->Name);
    ASSERT_NE(e, nullptr) << c->Name;
    EXPECT_EQ(e - ToolCatalogue, ++last) << "catalogue order";
    std::unique_ptr<TObject> made(GetClass(c->Name)->NewInstance(nullptr));
    EXPECT_NE(dynamic_cast<TLumCustomTool*>(made.get()), nullptr) << "created by name";
  }
  LumToolsUnitDone();
  EXPECT_GE(LumToolTypes().IndexOf(classes.front()), 0) << "one finalisation of two";
  LumToolsUnitDone();
  for (TClass c : classes) EXPECT_EQ(LumToolTypes().IndexOf(c), -1) << c->Name;
  LumToolsUnitDone();  // one too many changes nothing
  LumToolsUnitInit();
  EXPECT_EQ(LumToolTypes().IndexOf(classes.back()), LumToolTypes().Count() - 1);
  LumToolsUnitDone();
}
