// The chart and the mouse: axis scrolling and its events, the zoom rectangle and
// its history, panning, tools told about drawings, mouse and keys, and tools that
// free things while they are told.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/engineunit.h"
#include "engine_test.h"
#include "platform/testing.h"

namespace {

// Records what it is told as short codes; optional actions run inside the events.
class TSpyTool : public TLumCustomTool {
public:
  explicit TSpyTool(std::vector<std::string>* Log, const std::string& Name = "")
      : TLumCustomTool(nullptr), log_(Log), name_(Name) {}
  void ChartEvent(TChartToolEvent E) override {
    log_->push_back(name_ + std::to_string(int(E)));
    if (OnChart) OnChart(E);
  }
  void SeriesEvent(TChartToolEvent E, TChartSeries* S) override {
    log_->push_back(name_ + "s" + std::to_string(int(E)));
    if (OnSeries) OnSeries(E, S);
  }
  void ChartMouseEvent(TChartMouseEvent E, TMouseButton, TShiftState, int, int) override {
    log_->push_back(name_ + "m" + std::to_string(int(E)));
    if (OnMouse) OnMouse(E);
  }
  void ChartKeyEvent(TChartKeyEvent E, std::uint16_t& Key, TShiftState) override {
    log_->push_back(name_ + "k" + std::to_string(int(E)) + ":" + std::to_string(Key));
  }
  std::function<void(TChartToolEvent)> OnChart;
  std::function<void(TChartToolEvent, TChartSeries*)> OnSeries;
  std::function<void(TChartMouseEvent)> OnMouse;

private:
  std::vector<std::string>* log_;
  std::string name_;
};

// A shown form holding a 400 x 300 chart with a 0..100 series; the layout is
// known after the first paint.
class MouseTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(Application);
    Form->SetBounds(10, 10, 420, 320);
    Chart = new TCountingChart(Form);
    Chart->SetParent(Form);
    Chart->SetBounds(0, 0, 400, 300);
    Chart->SetMarginUnits(muPixels);
    Series = new TTestSeries(Form);
    Series->SetParentChart(Chart);
    for (int i = 0; i <= 10; ++i) Series->AddXY(i * 10, i * 10);
    Form->Show();
    Pump();
    ASSERT_GT(Chart->ChartWidth(), 100);
  }
  void TearDown() override {
    delete Form;
    Application->OnException.Clear();
  }
  static void Pump(int Passes = 3) { TestInput::PumpPasses(Passes); }
  // A left drag from (X0, Y0) to (X1, Y1) through a middle point, then painted.
  void Drag(int X0, int Y0, int X1, int Y1, TMouseButton B = mbLeft) {
    const TShiftState held = B == mbLeft ? ssLeft : B == mbRight ? ssRight : ssMiddle;
    TestInput::PostMouseDown(Chart, B, X0, Y0);
    TestInput::PostMouseMove(Chart, (X0 + X1) / 2, (Y0 + Y1) / 2, held);
    TestInput::PostMouseMove(Chart, X1, Y1, held);
    TestInput::PostMouseUp(Chart, B, X1, Y1);
    Pump();
  }
  struct TRange {
    double Min, Max;
    bool operator==(const TRange&) const = default;
  };
  static TRange RangeOf(TChartAxis* A) { return {A->Minimum(), A->Maximum()}; }

  TForm* Form = nullptr;
  TCountingChart* Chart = nullptr;
  TTestSeries* Series = nullptr;
};

// ---------------------------------------------------------------------------
TEST_F(MouseTest, ScrollShiftsTheRangeUnlessTheAllowScrollHandlerRefuses) {
  TChartAxis* bottom = Chart->BottomAxis();
  ASSERT_EQ(RangeOf(bottom), (TRange{0, 100}));
  int scrolls = 0;
  Chart->OnScroll = [&](TObject*) { ++scrolls; };
  bool allow = true;
  double pushedMin = 0;
  Chart->OnAllowScroll = [&](TChartAxis* A, double& AMin, double& AMax, bool& Allow) {
    EXPECT_EQ(A, bottom);
    if (pushedMin != 0) AMin = pushedMin;
    (void)AMax;
    Allow = allow;
  };
  bottom->Scroll(-30, false);
  EXPECT_EQ(RangeOf(bottom), (TRange{-30, 70}));
  EXPECT_FALSE(bottom->Automatic()) << "a scrolled axis keeps its range";
  EXPECT_EQ(scrolls, 1);

  allow = false;
  bottom->Scroll(10, false);
  EXPECT_EQ(RangeOf(bottom), (TRange{-30, 70})) << "refused";
  EXPECT_EQ(scrolls, 1) << "no scroll event for a refused scroll";

  allow = true;
  pushedMin = -25;
  bottom->Scroll(10, false);
  EXPECT_EQ(RangeOf(bottom), (TRange{-25, 80})) << "the handler's new minimum";
  pushedMin = 0;

  // Checked against the data (0..100): the trailing edge is out, the leading edge
  // may go 20 more, and no further.
  bottom->Scroll(50, true);
  EXPECT_EQ(RangeOf(bottom), (TRange{-5, 100}));
  bottom->Scroll(50, true);
  EXPECT_EQ(RangeOf(bottom), (TRange{-5, 100})) << "already at the data's end";
  EXPECT_EQ(scrolls, 3);
}

TEST_F(MouseTest, DraggingARectangleZoomsTheFourLimitsToTheDraggedValues) {
  const TRect r = Chart->ChartRect();
  const int x0 = r.Left + 40, y0 = r.Top + 30, x1 = r.Right - 60, y1 = r.Bottom - 20;
  TChartAxis* bottom = Chart->BottomAxis();
  TChartAxis* left = Chart->LeftAxis();
  const TRange wantX{bottom->CalcPosPoint(x0), bottom->CalcPosPoint(x1)};
  const TRange wantY{left->CalcPosPoint(y1), left->CalcPosPoint(y0)};  // up is more
  bool seenActive = false;
  Chart->OnMouseMove = [&](TObject*, TShiftState, int, int) { seenActive |= Chart->ZoomingOrPanning(); };
  Drag(x0, y0, x1, y1);
  EXPECT_TRUE(seenActive);
  EXPECT_FALSE(Chart->ZoomingOrPanning());
  EXPECT_EQ(RangeOf(bottom), wantX);
  EXPECT_EQ(RangeOf(left), wantY);
  EXPECT_TRUE(Chart->Zoomed());
  EXPECT_FALSE(left->Automatic());

  // An up-left drag unzooms: without history, back to the automatic ranges.
  Drag(x1, y1, x0, y0);
  EXPECT_TRUE(bottom->Automatic());
  EXPECT_EQ(RangeOf(bottom), (TRange{0, 100}));
  EXPECT_EQ(RangeOf(left), (TRange{0, 100}));
  EXPECT_FALSE(Chart->Zoomed());

  // With UpLeftZooms the same drag zooms the same rectangle.
  Chart->Zoom()->SetUpLeftZooms(true);
  Drag(x1, y1, x0, y0);
  EXPECT_EQ(RangeOf(bottom), wantX);
  EXPECT_EQ(RangeOf(left), wantY);
}

TEST_F(MouseTest, SmallEmptyOrCancelledRectanglesDoNotZoom) {
  const TRect r = Chart->ChartRect();
  TChartAxis* bottom = Chart->BottomAxis();
  // Below MinimumPixels (16) in one direction.
  Drag(r.Left + 10, r.Top + 10, r.Left + 200, r.Top + 20);
  EXPECT_TRUE(bottom->Automatic());
  // Horizontal zoom: only the width counts, and only bottom and top axes change.
  Chart->Zoom()->SetDirection(tzdHorizontal);
  Drag(r.Left + 10, r.Top + 10, r.Left + 110, r.Top + 12);
  EXPECT_FALSE(bottom->Automatic());
  EXPECT_TRUE(Chart->LeftAxis()->Automatic());
  Chart->UndoZoom();
  // A zero-width range on an axis: nothing zooms at all.
  Chart->Zoom()->SetDirection(tzdBoth);
  Chart->ZoomRect(Rect(r.Left + 10, r.Top + 10, r.Left + 10, r.Top + 100));
  EXPECT_TRUE(bottom->Automatic());
  EXPECT_TRUE(Chart->LeftAxis()->Automatic());
  // Zoom off, or another button: a drag is just a drag.
  Drag(r.Left + 10, r.Top + 10, r.Left + 200, r.Top + 200, mbMiddle);
  Chart->Zoom()->SetAllow(false);
  Drag(r.Left + 10, r.Top + 10, r.Left + 200, r.Top + 200);
  EXPECT_TRUE(bottom->Automatic());
  EXPECT_FALSE(Chart->Zoomed());
}

TEST_F(MouseTest, KeepAspectRatioZoomsBothAxesByTheSameShare) {
  Chart->Zoom()->SetKeepAspectRatio(true);
  const TRect r = Chart->ChartRect();
  // A wide, flat drag: the rectangle grows downwards to the plot's proportions.
  Drag(r.Left + 10, r.Top + 10, r.Left + 10 + r.Width() / 2, r.Top + 30);
  const double xShare = (Chart->BottomAxis()->Maximum() - Chart->BottomAxis()->Minimum()) / 100;
  const double yShare = (Chart->LeftAxis()->Maximum() - Chart->LeftAxis()->Minimum()) / 100;
  EXPECT_NEAR(xShare, 0.5, 0.01);
  EXPECT_NEAR(yShare, xShare, 0.01);
}

TEST_F(MouseTest, HistoryStepsBackOneZoomAtATime) {
  Chart->Zoom()->SetHistory(true);
  TChartAxis* bottom = Chart->BottomAxis();
  TChartAxis* left = Chart->LeftAxis();
  left->SetAutomatic(false);
  left->SetMinMax(-50, 150);  // a range of the user's, kept by the history
  Pump();
  const TRect r = Chart->ChartRect();
  Chart->ZoomRect(Rect(r.Left + 20, r.Top + 20, r.Right - 20, r.Bottom - 20));
  Pump();
  const TRange firstX = RangeOf(bottom), firstY = RangeOf(left);
  Chart->ZoomRect(Rect(r.Left + 50, r.Top + 50, r.Right - 50, r.Bottom - 50));
  Pump();
  EXPECT_NE(RangeOf(bottom), firstX);
  Chart->UndoZoom();
  EXPECT_EQ(RangeOf(bottom), firstX);
  EXPECT_EQ(RangeOf(left), firstY);
  EXPECT_TRUE(Chart->Zoomed());
  Chart->UndoZoom();
  EXPECT_TRUE(bottom->Automatic());
  EXPECT_EQ(RangeOf(left), (TRange{-50, 150}));
  EXPECT_FALSE(left->Automatic());
  EXPECT_FALSE(Chart->Zoomed());
  // An empty history: the automatic ranges.
  Chart->UndoZoom();
  EXPECT_TRUE(left->Automatic());
}

TEST_F(MouseTest, PanningMovesTheAxesWithTheMouseAndInsideBoundsStopsAtTheData) {
  TChartAxis* bottom = Chart->BottomAxis();
  TChartAxis* left = Chart->LeftAxis();
  const TRect r = Chart->ChartRect();
  const int cx = Chart->ChartXCenter(), cy = Chart->ChartYCenter();
  const double dx = bottom->CalcPosPoint(cx) - bottom->CalcPosPoint(cx + 40);
  int scrolls = 0;
  Chart->OnScroll = [&](TObject*) { ++scrolls; };
  Chart->SetAllowPanning(pmHorizontal);
  Drag(cx, cy, cx + 40, cy + 40, mbRight);
  EXPECT_NEAR(bottom->Minimum(), dx, 1e-9);
  EXPECT_NEAR(bottom->Maximum(), 100 + dx, 1e-9);
  EXPECT_TRUE(left->Automatic()) << "horizontal panning leaves the vertical axes";
  EXPECT_EQ(scrolls, 2) << "one scroll event per move";

  Chart->UndoZoom();
  Chart->SetAllowPanning(pmBoth);
  Chart->Panning()->SetInsideBounds(true);
  Pump();
  // Dragging right and up asks for data left of 0 and below 0: there is none.
  Drag(cx, cy, cx + 40, cy - 40, mbRight);
  EXPECT_EQ(RangeOf(bottom), (TRange{0, 100}));
  EXPECT_EQ(RangeOf(left), (TRange{0, 100}));
  // Zoomed in, the range may move only until it meets the data's end.
  Chart->ZoomRect(Rect(r.Right - 100, r.Top + 10, r.Right - 10, r.Bottom - 10));
  Pump();
  const double width = bottom->Maximum() - bottom->Minimum();
  ASSERT_LT(bottom->Maximum(), 100);
  Drag(cx, cy, r.Left + 1, cy, mbRight);  // far to the left: towards the maximum
  EXPECT_DOUBLE_EQ(bottom->Maximum(), 100);
  EXPECT_NEAR(bottom->Maximum() - bottom->Minimum(), width, 1e-9);
}

// ---------------------------------------------------------------------------
TEST_F(MouseTest, ToolsHearEachDrawingStageAndSeriesAndTheMouseLeaving) {
  std::vector<std::string> log;
  auto* spy = new TSpyTool(&log);
  Chart->Tools()->Add(spy);
  auto* second = new TTestSeries(Form);
  second->SetParentChart(Chart);
  second->AddXY(1, 1);
  log.clear();
  Render(Chart);
  EXPECT_EQ(log, (std::vector<std::string>{"2", "3", "1", "s1", "s4", "s1", "s4", "4", "0"}));
  // Inactive tools hear nothing; active again, they do.
  spy->SetActive(false);
  log.clear();
  Render(Chart);
  EXPECT_TRUE(log.empty());
  spy->SetActive(true);
  log.clear();
  TestInput::PostMouseLeave(Chart);
  Pump();
  EXPECT_EQ(std::count(log.begin(), log.end(), "5"), 1);
  // Keys the chart gets go to the tools.
  log.clear();
  Chart->SetTabStop(true);
  Chart->SetFocus();
  TestInput::PostKey('A');
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"k0:65", "k1:65"}));
}

TEST_F(MouseTest, ATakingToolStopsLaterToolsAndTheZoom) {
  std::vector<std::string> log;
  auto* first = new TSpyTool(&log, "a");
  auto* taker = new TSpyTool(&log, "b");
  auto* last = new TSpyTool(&log, "c");
  Chart->Tools()->Add(first);
  Chart->Tools()->Add(taker);
  Chart->Tools()->Add(last);
  taker->OnMouse = [&](TChartMouseEvent) { Chart->CancelMouse = true; };
  const TRect r = Chart->ChartRect();
  Drag(r.Left + 10, r.Top + 10, r.Right - 10, r.Bottom - 10);
  for (const std::string& e : log) EXPECT_NE(e.substr(0, 2), "cm") << "a later tool told";
  EXPECT_EQ(std::count(log.begin(), log.end(), "bm0"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "bm2"), 1);
  EXPECT_TRUE(Chart->BottomAxis()->Automatic()) << "no zoom";
  EXPECT_FALSE(Chart->Zoomed());
  EXPECT_EQ(Chart->Tools()->GetTool(1), taker);
}

TEST_F(MouseTest, ExchangedToolsHearEventsInTheirNewOrder) {
  std::vector<std::string> log;
  auto* a = new TSpyTool(&log, "a");
  auto* b = new TSpyTool(&log, "b");
  Chart->Tools()->Add(a);
  Chart->Tools()->Add(b);
  Chart->Tools()->Exchange(0, 1);
  EXPECT_EQ(Chart->Tools()->IndexOf(b), 0);
  EXPECT_EQ(Chart->Tools()->IndexOf(a), 1);
  TestInput::PostMouseDown(Chart, mbLeft, 50, 50);
  Pump();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "bm0");
  EXPECT_EQ(log[1], "am0");
  EXPECT_THROW(Chart->Tools()->Exchange(0, 2), EListError);
  EXPECT_EQ(Chart->Tools()->IndexOf(b), 0) << "a refused exchange moves nothing";
  delete a;  // a tool freed after the exchange still leaves the list
  EXPECT_EQ(Chart->Tools()->Count(), 1);
  TestInput::PostMouseUp(Chart, mbLeft, 50, 50);
  Pump();
}

TEST_F(MouseTest, ToolsMayFreeThemselvesOtherToolsAndSeriesWhileTold) {
  std::vector<std::string> log;
  auto* selfish = new TSpyTool(&log, "a");
  auto* victim = new TSpyTool(&log, "b");
  auto* seriesKiller = new TSpyTool(&log, "c");
  auto* after = new TSpyTool(&log, "d");
  for (TLumCustomTool* t : {(TLumCustomTool*)selfish, (TLumCustomTool*)victim, (TLumCustomTool*)seriesKiller,
                            (TLumCustomTool*)after})
    Chart->Tools()->Add(t);
  auto* second = new TTestSeries(Form);
  second->SetParentChart(Chart);
  second->AddXY(5, 5);
  selfish->OnMouse = [&](TChartMouseEvent) {
    delete victim;
    delete selfish;
  };
  seriesKiller->OnSeries = [&](TChartToolEvent E, TChartSeries* S) {
    if (E == cteBeforeDrawSeries && S == Series && second) {
      delete second;  // the next one to draw
      second = nullptr;
    }
  };
  TestInput::PostMouseDown(Chart, mbLeft, 50, 50);
  TestInput::PostMouseUp(Chart, mbLeft, 50, 50);
  Pump();
  EXPECT_EQ(Chart->Tools()->Count(), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "bm0"), 0) << "a freed tool is not told";
  EXPECT_EQ(std::count(log.begin(), log.end(), "dm0"), 1);
  log.clear();
  Render(Chart);
  EXPECT_EQ(Chart->SeriesCount(), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "ds1"), 1) << "only the series left";
  EXPECT_EQ(log.back(), "d0") << "the drawing went on to its end";
}

TEST_F(MouseTest, AnExceptionInAToolEndsTheDragAndReachesTheLoop) {
  std::vector<std::string> log;
  auto* thrower = new TSpyTool(&log);
  Chart->Tools()->Add(thrower);
  thrower->OnMouse = [](TChartMouseEvent E) {
    if (E == cmeMove) throw Exception("tool failed");
  };
  std::string seen;
  Application->OnException = [&](TObject*, Exception* E) { seen = E->Message; };
  const TRect r = Chart->ChartRect();
  TestInput::PostMouseDown(Chart, mbLeft, r.Left + 10, r.Top + 10);
  Pump();
  EXPECT_TRUE(Chart->ZoomingOrPanning());
  EXPECT_TRUE(Chart->MouseCapture());
  TestInput::PostMouseMove(Chart, r.Left + 100, r.Top + 100, ssLeft);
  Pump();
  EXPECT_EQ(seen, "tool failed");
  EXPECT_FALSE(Chart->ZoomingOrPanning());
  EXPECT_FALSE(Chart->MouseCapture());
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseTest, DoubleClicksFireOnceAndStartNoZoom) {
  int dbl = 0;
  std::vector<TShiftState> downs;
  Chart->OnDblClick = [&](TObject*) { ++dbl; };
  Chart->OnMouseDown = [&](TObject*, TMouseButton, TShiftState S, int, int) { downs.push_back(S); };
  TestInput::PostDblClick(Chart, Chart->ChartXCenter(), Chart->ChartYCenter());
  Pump();
  EXPECT_EQ(dbl, 1);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_FALSE(downs[0] & ssDouble);
  EXPECT_TRUE(downs[1] & ssDouble);
  EXPECT_FALSE(Chart->ZoomingOrPanning());
}

// ---------------------------------------------------------------------------
TEST_F(MouseTest, ToolsMoveBetweenChartsAndFollowTheirSeriesAndAxes) {
  auto* other = new TCountingChart(Form);
  auto* tool = new TLumCustomToolSeries(nullptr);
  tool->SetParentChart(Chart);
  EXPECT_EQ(Chart->Tools()->ParentChart(), Chart);
  EXPECT_EQ(Chart->Tools()->IndexOf(tool), 0);
  tool->SetParentChart(other);
  EXPECT_EQ(Chart->Tools()->Count(), 0);
  EXPECT_EQ(other->Tools()->GetTool(0), tool);
  EXPECT_THROW(other->Tools()->GetTool(1), EListError);
  // Without a series: the chart's bottom and left axes; then the series' own.
  EXPECT_EQ(tool->GetHorizAxis(), other->BottomAxis());
  EXPECT_EQ(tool->GetVertAxis(), other->LeftAxis());
  tool->SetParentChart(Chart);
  Series->SetHorizAxis(aTopAxis);
  tool->SetSeries(Series);
  EXPECT_EQ(tool->GetHorizAxis(), Chart->TopAxis());
  delete Series;
  Series = nullptr;
  EXPECT_EQ(tool->Series(), nullptr);
  EXPECT_EQ(tool->GetHorizAxis(), Chart->BottomAxis());

  // An axis tool streamed before it has a chart keeps the index until it has one.
  auto* axisTool = new TLumCustomToolAxis(nullptr);
  axisTool->SetAxisID(4);
  EXPECT_EQ(axisTool->Axis(), nullptr);
  axisTool->SetParentChart(other);
  EXPECT_EQ(axisTool->Axis(), other->LeftAxis());
  axisTool->SetAxis(Chart->RightAxis());
  EXPECT_EQ(axisTool->ParentChart(), Chart) << "the tool goes to the axis' chart";
  EXPECT_EQ(axisTool->AxisID(), 5);
  // Freeing a chart frees its tools (the sanitizer build sees a leak otherwise).
  other->Tools()->Add(new TLumCustomTool(nullptr));
  delete other;
  EXPECT_EQ(Chart->Tools()->Count(), 2);
}

}  // namespace

namespace {

TEST(EngineUnit, LoadsTheHandCursorAndRegistersTheToolBases) {
  LumEngineUnitInit();
  EXPECT_NE(GetClass("TLumCustomToolAxis"), nullptr);
  const HCURSOR hand = Screen->Cursors(crLumHand);
  EXPECT_NE(hand, Screen->Cursors(crDefault)) << "a cursor of its own";
  // Its picture: the fingertip's outline at the hot spot, white inside, clear around.
  TBitmap bmp;
  bmp.SetSize(40, 40);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(Rect(0, 0, 40, 40));
  DrawCursor(bmp.Canvas(), 20, 10, hand);
  EXPECT_EQ(bmp.Canvas()->Pixels(20, 10), clBlack);
  EXPECT_EQ(bmp.Canvas()->Pixels(21, 12), clWhite);
  EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(CursorToString(crLumHand), "crLumHand");
  LumEngineUnitDone();
}

}  // namespace
