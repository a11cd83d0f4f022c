// Series marks: the texts of every style, which points get a mark, where marks go,
// which mark a click hits, and the callout's arrow.

#include "engine/marks.h"
#include "engine_test.h"
#include "gui_test.h"

namespace {

// Three points: (1, 10) "a", (2, 30) "b", (3, 60) without a label.
void Fill(TChartSeries& S) {
  S.SetTitle("Sales");
  S.AddXY(1, 10, "a");
  S.AddXY(2, 30, "b");
  S.AddXY(3, 60);
}

TEST(MarkText, EveryStyleInTheSeriesPageOrder) {
  TChartSeries s(nullptr);
  Fill(s);
  const std::vector<std::string> expected = {
      "30", "30 %", "b", "b 30 %", "b 30", "30 b", "30 % of 100", "b 30 % of 100", "2", "2 30", "Sales", "1", "300 %",
  };
  ASSERT_EQ(expected.size(), size_t(smsPercentRelative) + 1);
  for (int style = smsValue; style <= smsPercentRelative; ++style) {
    s.Marks()->SetStyle(TSeriesMarksStyle(style));
    EXPECT_EQ(s.GetMarkText(1), expected[size_t(style)]) << "style " << style;
  }
  // Without a label the label styles fall back on the value.
  s.Marks()->SetStyle(smsLabel);
  EXPECT_EQ(s.GetMarkText(2), "60");
  s.Marks()->SetStyle(smsLabelValue);
  EXPECT_EQ(s.GetMarkText(2), "60");
}

TEST(MarkText, FormatsMultiLineAndAnEmptyTotal) {
  TChartSeries s(nullptr);
  Fill(s);
  s.SetValueFormat("0.0");
  s.SetPercentFormat("0.000");
  s.Marks()->SetStyle(smsLabelPercentTotal);
  EXPECT_EQ(s.GetMarkText(0), "a 10.000 of 100.0");
  s.Marks()->SetMultiLine(true);
  EXPECT_EQ(s.GetMarkText(0), "a\r10.000\rof 100.0");
  s.Marks()->SetStyle(smsXY);
  EXPECT_EQ(s.GetMarkText(2), "3.0\r60.0");

  // Negative values count by size; a total of nothing gives 0, not a division by it.
  TChartSeries n(nullptr);
  n.AddXY(0, -25);
  n.AddXY(1, 75);
  n.Marks()->SetStyle(smsPercent);
  EXPECT_EQ(n.GetMarkText(0), "25 %");
  TChartSeries z(nullptr);
  z.AddXY(0, 0);
  z.Marks()->SetStyle(smsPercent);
  EXPECT_EQ(z.GetMarkText(0), "0 %");
  z.Marks()->SetStyle(smsPercentRelative);
  EXPECT_EQ(z.GetMarkText(0), "0 %");
}

// A 300 x 200 chart with ten points on a fixed range, marks shown.
struct TMarkedChart {
  TMarkedChart() {
    chart.SetBounds(0, 0, 300, 200);
    chart.SetMarginUnits(muPixels);
    for (int i = 0; i < 4; ++i) chart.SetMargin(i, 40);
    chart.SetBevelOuter(bvNone);
    chart.SetColor(clWhite);
    chart.Axes()->SetVisible(false);
    chart.BottomAxis()->SetAutomatic(false);
    chart.BottomAxis()->SetMinMax(-1, 10);
    chart.LeftAxis()->SetAutomatic(false);
    chart.LeftAxis()->SetMinMax(0, 10);
    s.SetParentChart(&chart);
    s.Pointer.SetVisible(false);
    for (int i = 0; i < 10; ++i) s.AddXY(i, 3);
    s.Marks()->Show();
    s.Marks()->SetStyle(smsPointIndex);
  }
  std::vector<int> Drawn() {
    std::vector<int> d;
    for (int i = 0; i < s.Marks()->Positions().Count(); ++i)
      if (s.Marks()->Positions().Position(i).Width > 0) d.push_back(i);
    return d;
  }
  TCountingChart chart;
  TTestSeries s{nullptr};
};

TEST(Marks, DrawEveryPicksPointsByIndexAndBelowOneActsAsOne) {
  TMarkedChart m;
  m.s.Marks()->SetDrawEvery(3);
  Render(&m.chart);
  EXPECT_EQ(m.Drawn(), (std::vector<int>{0, 3, 6, 9}));
  for (int every : {1, 0, -4}) {
    m.s.Marks()->SetDrawEvery(every);
    Render(&m.chart);
    EXPECT_EQ(m.Drawn().size(), 10u) << every;
  }
  EXPECT_EQ(m.s.Marks()->DrawEvery(), -4);  // kept as given
  m.s.Marks()->SetDrawEvery(4);
  Render(&m.chart);  // marks not drawn this time are not left behind
  EXPECT_EQ(m.Drawn(), (std::vector<int>{0, 4, 8}));
}

TEST(Marks, PlacedAboveThePointAndClickedByTheirBox) {
  TMarkedChart m;
  m.s.Marks()->SetColor(clYellow);
  m.s.Marks()->Callout()->SetLength(12);
  auto bmp = Render(&m.chart);
  const TSeriesMarkPosition& p = m.s.Marks()->Positions().Position(4);
  const int x = m.s.CalcXPos(4), y = m.s.CalcYPos(4);
  EXPECT_EQ(p.ArrowFrom, TPoint(x, y));
  EXPECT_EQ(p.Bounds().Bottom, y - 12);
  EXPECT_LE(std::abs((p.Bounds().Left + p.Bounds().Right) / 2 - x), 1);
  EXPECT_EQ(p.ArrowTo.X, x);
  EXPECT_EQ(p.ArrowTo.Y, p.Bounds().Bottom - 1);
  // The box is filled in the marks' colour; the arrow runs down to the point.
  EXPECT_EQ(bmp->Canvas()->Pixels(p.Bounds().Left + 1, p.Bounds().Top + 1), clYellow);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y - 6), clBlack);

  TSeriesMarks* marks = m.s.Marks();
  const TRect b = p.Bounds();
  EXPECT_EQ(marks->Clicked(b.Left, b.Top), 4);
  EXPECT_EQ(marks->Clicked(b.Right - 1, b.Bottom - 1), 4);
  EXPECT_EQ(marks->Clicked(b.Right - 1, b.Bottom + 2), -1);
  EXPECT_EQ(marks->Clicked(5, 5), -1);

  // A custom place is kept by the drawing and wins clicks over marks drawn before it.
  const TPoint over{b.Left - 2, b.Top};
  marks->Positions().SetCustom(7, over);
  ASSERT_TRUE(marks->Positions().ExistCustom());
  Render(&m.chart);
  const TSeriesMarkPosition& c = marks->Positions().Position(7);
  EXPECT_EQ(c.LeftTop, over);
  EXPECT_GT(c.Width, 0);
  EXPECT_EQ(marks->Clicked(b.Left + 1, b.Top + 1), 7);
  EXPECT_EQ(c.ArrowFrom, TPoint(m.s.CalcXPos(7), m.s.CalcYPos(7)));
  marks->Positions().Automatic(7);
  EXPECT_FALSE(marks->Positions().ExistCustom());
  Render(&m.chart);
  EXPECT_NE(marks->Positions().Position(7).LeftTop, over);
  EXPECT_THROW(marks->Positions().Position(-1), EListError);
}

TEST(Marks, SymbolMarginsAngleAndFontSeriesColourSizeAndColourTheBox) {
  TMarkedChart m;
  m.s.SetSeriesColor(clRed);
  Render(&m.chart);
  const TRect plain = m.s.Marks()->Positions().Position(2).Bounds();
  m.s.Marks()->Margins()->SetUnits(maPixels);
  m.s.Marks()->Margins()->SetLeft(5);
  m.s.Marks()->Margins()->SetBottom(3);
  Render(&m.chart);
  const TRect wide = m.s.Marks()->Positions().Position(2).Bounds();
  EXPECT_EQ(wide.Width(), plain.Width() + 5);
  EXPECT_EQ(wide.Height(), plain.Height() + 3);

  m.s.Marks()->Symbol()->Show();
  auto bmp = Render(&m.chart);
  const TRect sym = m.s.Marks()->Positions().Position(2).Bounds();
  EXPECT_GT(sym.Width(), wide.Width());
  EXPECT_GT(guitest::CountColor(bmp->Canvas(), sym, clRed), 4);  // the symbol in the point colour

  m.s.Marks()->Symbol()->Hide();
  m.s.Marks()->Margins()->SetLeft(0);
  m.s.Marks()->Margins()->SetBottom(0);
  m.s.Marks()->SetFontSeriesColor(true);
  bmp = Render(&m.chart);
  EXPECT_GT(guitest::CountColor(bmp->Canvas(), m.s.Marks()->Positions().Position(2).Bounds(), clRed), 0);

  m.s.Marks()->SetAngle(90);  // turned text: the box stands upright
  m.s.Marks()->SetStyle(smsSeriesTitle);
  m.s.SetTitle("Turned");
  Render(&m.chart);
  const TRect turned = m.s.Marks()->Positions().Position(2).Bounds();
  EXPECT_GT(turned.Height(), turned.Width());
}

TEST(Callout, ArrowHeadDistanceAndPointerAtTheTarget) {
  auto bmp = guitest::MakeBitmap(100, 60);
  TLumCanvas3D canvas;
  canvas.SetBufferedDisplay(false);
  canvas.InitWindow(bmp->Canvas(), nullptr, clNone, false, {0, 0, 100, 60});
  TCallout callout;
  callout.Arrow()->SetColor(clBlue);
  callout.SetArrowHead(ahSolid);
  callout.SetArrowHeadSize(10);
  callout.SetDistance(5);
  callout.DrawOn(&canvas, clRed, {10, 30}, {90, 30}, 0);
  TCanvas* c = bmp->Canvas();
  EXPECT_EQ(c->Pixels(50, 30), clBlue);
  EXPECT_EQ(c->Pixels(88, 30), clWhite);  // stops 5 pixels short
  EXPECT_EQ(c->Pixels(80, 32), clBlue);   // the solid head is wider than the shaft
  EXPECT_EQ(c->Pixels(80, 27), clBlue);

  auto bmp2 = guitest::MakeBitmap(100, 60);
  canvas.InitWindow(bmp2->Canvas(), nullptr, clNone, false, {0, 0, 100, 60});
  callout.SetDistance(0);
  callout.SetArrowHead(ahNone);
  callout.Arrow()->Hide();
  callout.SetVisible(true);
  callout.Brush()->SetColor(clLumColor);
  callout.SetHorizSize(6);
  callout.SetVertSize(6);
  callout.DrawOn(&canvas, clRed, {10, 30}, {90, 30}, 0);
  EXPECT_EQ(bmp2->Canvas()->Pixels(90, 30), clRed);
  EXPECT_EQ(bmp2->Canvas()->Pixels(50, 30), clWhite);

  TCountingChart chart;
  callout.SetParentChart(&chart);
  const int before = chart.Invalidates;
  callout.SetArrowHeadSize(3);
  EXPECT_GT(chart.Invalidates, before);  // without a series the chart repaints
}

TEST(Pointer, ShadowGradientEmbossAndTransparencyAreDrawn) {
  TCountingChart chart;
  chart.SetBevelOuter(bvNone);
  chart.SetColor(clWhite);
  chart.Axes()->SetVisible(false);
  TTestSeries s(nullptr);
  s.SetParentChart(&chart);
  s.AddXY(0, 0);
  s.AddXY(10, 10, "", clGreen);
  s.Pointer.SetHorizSize(10);
  s.Pointer.SetVertSize(10);
  s.Pointer.Pen()->Hide();
  s.Pointer.Shadow()->SetVisible(true);
  s.Pointer.Shadow()->SetColor(clNavy);
  s.Pointer.Shadow()->SetSize(4);
  auto bmp = Render(&chart);
  const int x = s.CalcXPos(1), y = s.CalcYPos(1);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clGreen);
  EXPECT_EQ(bmp->Canvas()->Pixels(x + 6, y + 6), clNavy);

  s.Pointer.Gradient()->SetVisible(true);
  s.Pointer.Gradient()->SetStartColor(clFuchsia);
  s.Pointer.Gradient()->SetEndColor(clFuchsia);
  bmp = Render(&chart);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clFuchsia);

  s.Pointer.Shadow()->SetVisible(false);
  s.Pointer.Emboss()->SetVisible(true);
  s.Pointer.Emboss()->SetColor(clNavy);
  s.Pointer.Emboss()->SetSize(3);
  bmp = Render(&chart);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clFuchsia);  // the rim stays off the marker
  EXPECT_EQ(bmp->Canvas()->Pixels(x + 6, y + 6), clNavy);
  EXPECT_EQ(bmp->Canvas()->Pixels(x - 6, y - 6), s.Pointer.Emboss()->LightColor());

  s.Pointer.SetTransparency(100);
  bmp = Render(&chart);
  EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clWhite);
  EXPECT_EQ(bmp->Canvas()->Pixels(x + 6, y + 6), clWhite);
}

TEST(MarkPositions, FollowTheirPointsThroughDeleteAndSort) {
  TChartSeries s(nullptr);
  double x = 0;
  for (const char* label : {"d", "b", "a", "c"}) s.AddXY(x++, 1, label);
  TSeriesMarksPositions& p = s.Marks()->Positions();
  p.SetCustom(1, {10, 11});  // "b"
  p.SetCustom(3, {30, 31});  // "c"
  s.SortPoints(loAscending);  // a b c d: "b" now at 1, "c" at 2
  ASSERT_EQ(s.Labels().GetLabel(2), "c");
  EXPECT_TRUE(p.Position(1).Custom);
  EXPECT_EQ(p.Position(1).LeftTop, TPoint(10, 11));
  EXPECT_TRUE(p.Position(2).Custom);
  EXPECT_EQ(p.Position(2).LeftTop, TPoint(30, 31));
  EXPECT_FALSE(p.Position(0).Custom);
  EXPECT_FALSE(p.Position(3).Custom);
  s.Delete(0);  // b c d: each moves down with its point, none left behind
  EXPECT_EQ(p.Position(0).LeftTop, TPoint(10, 11));
  EXPECT_EQ(p.Position(1).LeftTop, TPoint(30, 31));
  EXPECT_FALSE(p.Position(2).Custom);
  s.Delete(1);
  EXPECT_TRUE(p.Position(0).Custom);
  EXPECT_FALSE(p.Position(1).Custom);
  // A point without a custom place goes without touching the others; none kept, nothing to move.
  s.Delete(1);
  EXPECT_TRUE(p.Position(0).Custom);
  s.Clear();  // new points start with automatic places
  s.AddXY(0, 1);
  EXPECT_FALSE(p.ExistCustom());
  TSeriesMarksPositions none;
  none.Permute({1, 0});
  none.Delete(5);
  EXPECT_EQ(none.Count(), 0);
}

}  // namespace
