// The legend: layout beside the plot in each alignment, custom places and items,
// items that do not fit, check-box clicks, series symbols; titles at custom places.
#include <vector>

#include "canvas/lumcanvas.h"
#include "chart/legend.h"
#include "chart/stdseries.h"
#include "engine/listeners.h"
#include "chart_test_util.h"

using charttest::ChartTest;

namespace {

class LegendTest : public ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    chart->Legend()->Show();
  }

  TPointSeries* AddNamed(const std::string& Title, TColor Color) {
    auto* s = Add<TPointSeries>();
    s->SetTitle(Title);
    s->SetSeriesColor(Color);
    s->AddXY(1, 2);
    s->AddXY(5, 6);
    return s;
  }

  // The plot rectangle of a drawing with the legend hidden.
  TRect PlotWithoutLegend() {
    chart->Legend()->Hide();
    Render();
    const TRect r = chart->ChartRect();
    chart->Legend()->Show();
    return r;
  }

  TChartLegend* L() { return chart->Legend(); }
  static TPoint TopLeft(const TRect& R) { return {R.Left, R.Top}; }
};

TEST_F(LegendTest, EachAlignmentTakesItsRoomFromThatSideOfThePlot) {
  AddNamed("Argon", clRed);
  AddNamed("Neon", clBlue);
  const TRect bare = PlotWithoutLegend();
  L()->SetHorizMargin(5);
  L()->SetVertMargin(7);
  for (TLegendAlignment a : {laLeft, laRight, laTop, laBottom}) {
    SCOPED_TRACE(int(a));
    L()->SetAlignment(a);
    auto bmp = Render();
    const TRect box = L()->ShapeBounds(), plot = chart->ChartRect();
    EXPECT_EQ(L()->ShownItems(), 2);
    EXPECT_EQ(L()->Vertical(), a == laLeft || a == laRight);
    EXPECT_TRUE(box.Left >= 0 && box.Top >= 0 && box.Right <= W && box.Bottom <= H);
    TRect expected = bare;
    if (a == laLeft) expected.Left = box.Right + 5;
    if (a == laRight) expected.Right = box.Left - 5;
    if (a == laTop) expected.Top = box.Bottom + 7;
    if (a == laBottom) expected.Bottom = box.Top - 7;
    EXPECT_EQ(plot, expected);
    const int x0 = box.Left + 4, y0 = box.Top + 4;
    EXPECT_EQ(L()->Clicked(x0, y0), 0);
    // The frame is drawn (the shape's black pen) on the box's left edge.
    EXPECT_EQ(bmp->Canvas()->Pixels(box.Left, (box.Top + box.Bottom) / 2), clBlack);
  }
  // Without ResizeChart the legend lies over the plot, which keeps its size.
  L()->SetResizeChart(false);
  Render();
  EXPECT_EQ(chart->ChartRect().Right, bare.Right);
  EXPECT_EQ(chart->ChartRect().Bottom, bare.Bottom);
}

TEST_F(LegendTest, ATurnedThreeDViewDrawsTheLegendAndTitleFlat) {
  AddNamed("Argon", clRed);
  chart->SetView3D(true);
  chart->View3DOptions()->SetOrthogonal(false);
  chart->View3DOptions()->SetRotation(345);
  chart->View3DOptions()->SetElevation(345);
  auto bmp = Render();
  const TRect box = L()->ShapeBounds();
  ASSERT_GT(box.Width(), 0);
  // The frame on the box's own edges, not projected somewhere else.
  EXPECT_EQ(bmp->Canvas()->Pixels(box.Left, (box.Top + box.Bottom) / 2), clBlack);
  EXPECT_EQ(bmp->Canvas()->Pixels((box.Left + box.Right) / 2, box.Bottom - 1), clBlack);
}

TEST_F(LegendTest, AutomaticStyleListsPointsOfALoneMultiColouredSeriesElseSeries) {
  auto* a = AddNamed("Argon", clRed);
  a->AddXY(7, 3, "Kr");
  Render();
  EXPECT_EQ(L()->TotalItems(), 1) << "one plain series: one item";
  a->SetColorEachPoint(true);
  L()->SetTextStyle(ltsRightValue);
  Render();
  ASSERT_EQ(L()->TotalItems(), 3) << "one series of many colours: one item per point";
  EXPECT_EQ(L()->Item(2)->Text(), "Kr 3");
  L()->SetCheckBoxes(true);
  Render();
  EXPECT_EQ(L()->CheckBoxRect(0).Width(), 0) << "points have no check boxes";
  L()->SetCheckBoxes(false);
  auto* b = AddNamed("Neon", clBlue);
  Render();
  EXPECT_EQ(L()->TotalItems(), 2) << "two series: per series again";
  a->SetActive(false);
  b->SetActive(false);
  auto* pie = Add<TPieSeries>();
  pie->SetColorEachPoint(false);
  pie->AddXY(0, 4);
  pie->AddXY(1, 5);
  Render();
  EXPECT_EQ(L()->TotalItems(), 2) << "a lone pie: its slices";
  delete pie;
  a->SetActive(true);
  b->SetActive(true);
  Render();
  EXPECT_EQ(L()->Item(0)->Text(), "Argon");
  L()->SetInverted(true);
  Render();
  EXPECT_EQ(L()->Item(0)->Text(), "Neon");
  L()->SetLegendStyle(lsLastValues);
  L()->SetTextStyle(ltsValue);
  Render();
  EXPECT_EQ(L()->Item(0)->Text(), "6");
  EXPECT_EQ(L()->Item(1)->Text(), "3");
}

TEST_F(LegendTest, CustomPositionInPixelsOrPercentTakesNoRoom) {
  AddNamed("Argon", clRed);
  const TRect bare = PlotWithoutLegend();
  L()->SetLeft(30);
  L()->SetTop(40);
  EXPECT_TRUE(L()->CustomPosition()) << "setting Left switches the custom place on";
  Render();
  EXPECT_EQ(TopLeft(L()->ShapeBounds()), TPoint(30, 40));
  EXPECT_EQ(chart->ChartRect().Right, bare.Right) << "a legend at its own place takes no room";
  EXPECT_FALSE(L()->DrawsBeforeSeries()) << "it lies over the series";
  L()->SetPositionUnits(muPercent);
  L()->SetLeftPercent(50);
  L()->SetTopPercent(25);
  Render();
  EXPECT_EQ(TopLeft(L()->ShapeBounds()), TPoint(W / 2, H / 4));
}

TEST_F(LegendTest, CustomItemsKeepTheirTextsAndPlaces) {
  AddNamed("Argon", clRed);
  TLegendItems* items = L()->Items();
  items->SetCustom(true);
  items->Clear();
  items->Get(0)->SetText("first");
  items->Get(2)->SetText("third");
  EXPECT_EQ(items->Count(), 3) << "Get grows the list";
  items->SetCustomPosition(true);
  items->Get(0)->SetTop(10);
  items->Get(1)->SetTop(30);
  items->Get(2)->SetTop(50);
  items->Get(2)->SetLeft(20);
  Render();
  EXPECT_EQ(L()->Item(0)->Text(), "first") << "custom texts are not replaced by series titles";
  ASSERT_EQ(L()->ShownItems(), 3);
  const TRect box = L()->ShapeBounds();
  EXPECT_EQ(L()->Clicked(box.Left + 21, box.Top + 51), 2);
  EXPECT_EQ(L()->Clicked(box.Left + 1, box.Top + 31), 1);
  EXPECT_GE(box.Bottom, box.Top + 50) << "the box holds its items";
  // An item far outside the chart neither stretches the box past the chart nor is
  // drawn anywhere inside it.
  items->Get(2)->SetLeft(5000);
  items->Get(2)->SetText("far");
  auto bmp = Render();
  EXPECT_GE(L()->ShapeBounds().Left, 0);
  EXPECT_LE(L()->ShapeBounds().Right, W);
  EXPECT_EQ(L()->Clicked(L()->ShapeBounds().Left + 5001, L()->ShapeBounds().Top + 51), 2);

  EXPECT_THROW(items->Delete(7), LegendException);
  EXPECT_THROW(items->Get(-1), LegendException);
  items->Delete(1);
  EXPECT_EQ(items->Get(1)->Text(), "far") << "the later items move up";
}

TEST_F(LegendTest, WhatLiesOutsideTheChartIsNotDrawn) {
  AddNamed("Argon", clRed);
  L()->SetLeft(W / 2 - 20);
  L()->SetTop(20);
  L()->Shadow()->SetVisible(true);
  TCanvas* image = chart->Canvas()->ReferenceCanvas();
  ASSERT_NE(image, nullptr);
  image->Brush()->SetColor(clYellow);
  image->FillRect(Rect(0, 0, W, H));
  // The chart drawn into the left half of its image: the legend box reaches past it.
  chart->Draw(Rect(0, 0, W / 2, H));
  ASSERT_GT(L()->ShapeBounds().Right, W / 2);
  EXPECT_EQ(guitest::CountColor(image, Rect(W / 2, 0, W, H), clYellow), (W / 2) * H);
}

TEST_F(LegendTest, ItemFontIsCreatedOnReadAndClearedByNil) {
  TLegendItem* item = L()->Items()->Get(0);
  EXPECT_FALSE(item->HasFont());
  item->Font()->SetColor(clRed);
  EXPECT_TRUE(item->HasFont());
  item->SetFont(nullptr);
  EXPECT_FALSE(item->HasFont());
  EXPECT_NE(item->Font()->Color(), clRed) << "a font made again starts afresh";
}

TEST_F(LegendTest, ItemsThatDoNotFitAreLeftOutAndPaged) {
  for (int i = 0; i < 60; ++i) AddNamed("S" + std::to_string(i), clRed);
  for (TLegendAlignment a : {laRight, laBottom}) {
    SCOPED_TRACE(int(a));
    L()->SetAlignment(a);
    L()->SetCurrentPage(1);
    Render();
    const int shown = L()->ShownItems();
    EXPECT_EQ(L()->TotalItems(), 60);
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 60);
    EXPECT_LE(L()->ShapeBounds().Bottom, H) << "the box stays inside the chart";
    EXPECT_GE(L()->ShapeBounds().Top, 0);
    // The next page starts where the first ended; a page past the last shows the last.
    L()->SetCurrentPage(2);
    Render();
    const TRect box = L()->ShapeBounds();
    EXPECT_EQ(L()->Clicked(box.Left + 4, box.Top + 4), shown);
    L()->SetCurrentPage(99);
    Render();
    EXPECT_GT(L()->ShownItems(), 0);
  }
  EXPECT_THROW(L()->SetCurrentPage(0), LegendException);
}

TEST_F(LegendTest, ClickOnCheckBoxSwitchesTheSeries) {
  auto* a = AddNamed("Argon", clRed);
  auto* b = AddNamed("Neon", clBlue);
  L()->SetCheckBoxes(true);
  int paints = 0;
  ShowOnForm(paints);
  auto clickBox = [&](int Item) {
    const TRect r = L()->CheckBoxRect(Item);
    ASSERT_GT(r.Width(), 0);
    const int before = paints;
    TestInput::PostMouseDown(chart.get(), mbLeft, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    TestInput::PostMouseUp(chart.get(), mbLeft, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    ASSERT_TRUE(TestInput::PumpUntil([&] { return paints > before; }));
  };
  clickBox(0);
  EXPECT_FALSE(a->Active());
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(L()->TotalItems(), 2) << "an inactive series stays listed to be switched back";
  clickBox(0);
  EXPECT_TRUE(a->Active());
  // A press on the text is not a press on the box.
  const TRect text = L()->CheckBoxRect(1);
  EXPECT_FALSE(L()->MouseDown(text.Right + 8, text.Top + 6));
  EXPECT_TRUE(b->Active());
  // Radio buttons: the one clicked on, every other off.
  L()->SetCheckBoxesStyle(cbsRadio);
  clickBox(1);
  EXPECT_FALSE(a->Active());
  EXPECT_TRUE(b->Active());
  // A series freed after the last paint is not touched through its old box.
  const TRect gone = L()->CheckBoxRect(0);
  delete a;
  EXPECT_FALSE(L()->MouseDown(gone.Left + 2, gone.Top + 2));
}

TEST_F(LegendTest, CheckBoxChangesReachTheChartListeners) {
  struct TBoxSpy : ILumEventListener {
    void LumEvent(const TLumEvent& Event) override {
      auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event);
      if (e && e->Event == seChangeCheckBoxes && !e->Series) ++Changes;
    }
    int Changes = 0;
  } spy;
  chart->Listeners().Add(&spy);
  L()->SetCheckBoxes(true);
  L()->SetCheckBoxes(true);  // no change, no event
  L()->SetCheckBoxesStyle(cbsRadio);
  L()->SetCheckBoxesStyle(cbsRadio);
  L()->SetCheckBoxes(false);
  chart->RemoveListener(&spy);
  EXPECT_EQ(spy.Changes, 3);
}

TEST_F(LegendTest, PointSeriesSymbolAsksThePointerStyleAndUsesItsBrushColour) {
  auto* s = AddNamed("Argon", clBlue);
  s->Pointer()->SetHorizSize(8);
  s->Pointer()->SetVertSize(8);
  std::vector<int> asked;
  s->OnGetPointerStyle = TGetPointerStyleEvent([&](TChartSeries*, int Index) {
    asked.push_back(Index);
    s->Pointer()->SetColor(Index == 1 ? clRed : clLime);
    return psRectangle;
  });
  auto bmp = guitest::MakeBitmap(20, 20);
  TLumCanvas3D canvas;
  canvas.AttachCanvas(bmp->Canvas());
  PaintSeriesLegend(s, &canvas, {0, 0, 20, 20}, 1);
  EXPECT_EQ(asked, std::vector<int>{1});
  EXPECT_EQ(bmp->Canvas()->Pixels(10, 10), clRed) << "the pointer's brush colour the event set";
  asked.clear();
  PaintSeriesLegend(s, &canvas, {0, 0, 20, 20});
  EXPECT_EQ(asked, std::vector<int>{0}) << "the series as a whole asks for its first point";
  EXPECT_EQ(bmp->Canvas()->Pixels(10, 10), clLime);
  canvas.AttachCanvas(nullptr);

  // Inside the legend the symbol takes the same colour.
  L()->Symbol()->SetSquared(true);
  Render();
  asked.clear();
  auto shot = Render();
  EXPECT_FALSE(asked.empty());
  const TRect box = L()->ShapeBounds();
  EXPECT_GT(Count(shot.get(), clLime, box), 0);
}

TEST_F(LegendTest, BarSymbolFillsWithTheSeriesColour) {
  auto* bar = Add<TBarSeries>();
  bar->SetSeriesColor(clYellow);
  bar->AddXY(1, 1);
  auto bmp = Render();
  EXPECT_GT(Count(bmp.get(), clYellow, L()->ShapeBounds()), 10);
}

TEST_F(LegendTest, TitleAtItsOwnPlaceTakesNoRoom) {
  L()->Hide();
  chart->Title()->Text()->Add("Chain");
  Render();
  const int top = chart->ChartRect().Top;
  chart->Title()->SetLeft(50);
  chart->Title()->SetTop(60);
  EXPECT_TRUE(chart->Title()->CustomPosition());
  Render();
  EXPECT_EQ(TopLeft(chart->Title()->ShapeBounds()), TPoint(50, 60));
  EXPECT_LT(chart->ChartRect().Top, top) << "the plot gets the title's room back";
}

}  // namespace
