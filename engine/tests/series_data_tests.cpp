// Point data: ordered insertion, colours, labels, nulls, statistics, updates.
#include <vector>

#include "engine_test.h"

namespace {

// A series on a chart that counts its repaint requests.
struct OnChart : testing::Test {
  TCountingChart chart;
  TChartSeries s{nullptr};
  OnChart() { s.SetParentChart(&chart); }
};

TEST(ValueList, OrderedInsertionKeepsEqualValuesInArrivalOrder) {
  TChartValueList asc(nullptr, "X");
  asc.SetOrder(loAscending);
  for (double v : {5.0, 1.0, 3.0, 3.0, 9.0, 0.0}) asc.AddChartValue(v);
  EXPECT_EQ(asc.Values(), (std::vector<double>{0, 1, 3, 3, 5, 9}));
  EXPECT_EQ(asc.AddChartValue(3), 4);  // after the two 3s already there

  TChartValueList desc(nullptr, "X");
  desc.SetOrder(loDescending);
  for (double v : {5.0, 1.0, 3.0, 9.0}) desc.AddChartValue(v);
  EXPECT_EQ(desc.Values(), (std::vector<double>{9, 5, 3, 1}));

  TChartValueList none(nullptr, "Y");
  for (double v : {5.0, 1.0, 3.0}) none.AddChartValue(v);
  EXPECT_EQ(none.Values(), (std::vector<double>{5, 1, 3}));
  EXPECT_EQ(none.Locate(3), 2);
  EXPECT_EQ(none.Locate(4), -1);
}

TEST(ValueList, StatisticsFollowEveryChange) {
  TChartValueList l(nullptr, "Y");
  // Minimum, maximum, total, total of sizes.
  auto stats = [&] { return std::vector<double>{l.GetMinValue(), l.GetMaxValue(), l.GetTotal(), l.GetTotalABS()}; };
  for (double v : {2.0, -4.0, 7.0}) l.AddChartValue(v);
  EXPECT_EQ(stats(), (std::vector<double>{-4, 7, 5, 13}));
  l.SetValue(1, 10);
  EXPECT_EQ(stats(), (std::vector<double>{2, 10, 19, 19}));
  l.Delete(1);
  EXPECT_EQ(stats(), (std::vector<double>{2, 7, 9, 9}));
  l.FillSequence();
  EXPECT_EQ(l.Values(), (std::vector<double>{0, 1}));
  EXPECT_EQ(stats(), (std::vector<double>{0, 1, 1, 1}));
  EXPECT_EQ(l.Last(), 1);
  l.Clear();
  EXPECT_EQ(l.GetMaxValue(), 0);
  EXPECT_THROW(l.Last(), EListError);
  EXPECT_THROW(l.GetValue(0), EListError);
}

TEST(LabelsList, GrowsOnSetAndReadsEmptyBeyondItsEnd) {
  TLabelsList labels(nullptr);
  EXPECT_EQ(labels.GetLabel(5), "");
  labels.SetLabel(3, "c");
  EXPECT_EQ(labels.Count(), 4);
  EXPECT_EQ(labels.GetLabel(3), "c");
  EXPECT_EQ(labels.GetLabel(1), "");
  labels.SetLabel(9, "");  // nothing to store
  EXPECT_EQ(labels.Count(), 4);
}

TEST_F(OnChart, AddXYInAscendingXCarriesYColourAndLabelToTheSameIndex) {
  EXPECT_EQ(s.AddXY(2, 20), 0);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(s.Labels().Count(), 0);
  EXPECT_EQ(s.AddXY(0, 0, "zero", clRed), 0);
  EXPECT_EQ(s.AddXY(1, 10), 1);
  EXPECT_EQ(s.AddXY(1, 11, "", clBlue), 2);  // equal X goes after the first 1
  EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 1, 2}));
  EXPECT_EQ(Ys(s), (std::vector<double>{0, 10, 11, 20}));
  ASSERT_TRUE(s.HasColors());
  EXPECT_EQ(Colours(s), (std::vector<TColor>{clRed, clLumColor, clBlue, clLumColor}));
  // Labels exist since "zero": every later point keeps its place in them.
  EXPECT_EQ(s.Labels().GetLabel(0), "zero");
  EXPECT_EQ(s.Labels().GetLabel(1), "");
  EXPECT_EQ(s.GetMarkText(0), "zero");
  EXPECT_EQ(s.GetMarkText(2), "11");
}

TEST(AddXY, OrderNoneAppendsAndRefusalAddsNothing) {
  TChartSeries s(nullptr);
  s.XValues()->SetOrder(loNone);
  s.AddXY(3, 1);
  s.AddXY(1, 2);
  EXPECT_EQ(Xs(s), (std::vector<double>{3, 1}));
  int asked = 0;
  s.OnBeforeAdd = [&](TChartSeries*) { return ++asked > 1; };
  EXPECT_EQ(s.AddXY(7, 7, "no", clRed), -1);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(s.Labels().Count(), 0);
  EXPECT_EQ(s.AddXY(7, 7), 2);
}

TEST_F(OnChart, AddXYRepaintsOncePerPointOutsideAnUpdateBlockAndOnceAtItsEnd) {
  int added = 0;
  s.OnAfterAdd = [&](TChartSeries*, int) { ++added; };
  chart.Invalidates = 0;
  s.AddXY(1, 1);
  s.AddXY(2, 2);
  EXPECT_EQ(chart.Invalidates, 2);
  EXPECT_EQ(added, 2);
  chart.Invalidates = 0;
  s.BeginUpdate();
  s.BeginUpdate();
  for (int i = 0; i < 10; ++i) s.AddXY(i, i);
  s.EndUpdate();
  EXPECT_EQ(chart.Invalidates, 0);
  s.EndUpdate();
  EXPECT_EQ(chart.Invalidates, 1);
  EXPECT_EQ(s.Count(), 12);
  chart.SetAutoRepaint(false);  // no paint requests reach the platform, the counter still runs
  s.AddXY(3, 3);
  EXPECT_EQ(chart.Invalidates, 2);
}

TEST_F(OnChart, ClearEmptiesEverythingFiresItsEventAndRepaints) {
  s.AddXY(1, 1, "a", clRed);
  s.AddXY(2, 2, "b", clNone);
  s.CalcFirstLastVisibleIndex();
  int cleared = 0;
  s.OnClearValues = [&](TObject* Sender) { cleared += Sender == &s; };
  chart.Invalidates = 0;
  s.Clear();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.YValues()->Count(), 0);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(s.Labels().Count(), 0);
  EXPECT_EQ(std::make_pair(s.FirstValueIndex(), s.LastValueIndex()), std::make_pair(-1, -1));
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(chart.Invalidates, 1);
  // A point added after the clear starts without colours or labels.
  s.AddXY(5, 5);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(s.Labels().Count(), 0);
  s.SetActive(false);
  chart.Invalidates = 0;
  s.Clear();
  EXPECT_EQ(chart.Invalidates, 0);
}

TEST_F(OnChart, PointColoursOfNullsPaletteAndSeries) {
  s.SetSeriesColor(clGreen);
  s.AddXY(0, 0, "", clNone);
  s.AddXY(1, 1);
  s.AddXY(2, 2, "", clBlue);
  EXPECT_TRUE(s.IsNull(0));
  EXPECT_FALSE(s.IsNull(1));
  EXPECT_EQ((std::vector<TColor>{s.GetValueColor(0), s.GetValueColor(1), s.GetValueColor(2)}),
            (std::vector<TColor>{clNone, clGreen, clBlue}));
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.GetValueColor(1), chart.GetDefaultColor(1));
  EXPECT_EQ(s.GetValueColor(2), clBlue);

  TChartSeries plain(nullptr);
  plain.AddXY(0, 0);
  plain.SetValueColor(0, clLumColor);  // nothing to remember: no list
  EXPECT_FALSE(plain.HasColors());
  plain.SetValueColor(0, clNone);
  EXPECT_TRUE(plain.IsNull(0));
  EXPECT_THROW(plain.SetValueColor(3, clRed), EListError);
}

TEST(SeriesColor, RememberedPaletteColourIsNotPinned) {
  TCountingChart chart;
  auto* s = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  const TColor palette = chart.GetDefaultColor(0);
  EXPECT_EQ(s->SeriesColor(), palette);
  chart.Invalidates = 0;
  s->SetSeriesColor(palette);  // what it shows already: stays on the palette
  EXPECT_EQ(s->RememberedColor(), palette);
  EXPECT_EQ(chart.Invalidates, 0);
  s->SetSeriesColor(clNavy);
  EXPECT_EQ(s->SeriesColor(), clNavy);
  EXPECT_EQ(chart.Invalidates, 1);
  s->SetSeriesColor(clNavy);  // unchanged: no repaint
  EXPECT_EQ(chart.Invalidates, 1);
  s->SetSeriesColor(palette);  // now stored, since the colour is no longer the palette's
  EXPECT_EQ(s->SeriesColor(), palette);
  EXPECT_EQ(chart.Invalidates, 2);
}

TEST(SeriesList, ListOrderLookupsAndOwnership) {
  TForm owner(nullptr);
  auto* chart = new TCountingChart(&owner);
  auto* a = chart->AddSeriesOfClass(TChartSeries::StaticClass());
  auto* b = chart->AddSeriesOfClass(TTestSeries::StaticClass());
  EXPECT_EQ(a->Owner(), &owner);
  EXPECT_EQ(chart->SeriesCount(), 2);
  EXPECT_EQ(chart->GetSeries(1), b);
  EXPECT_THROW(chart->GetSeries(2), ChartException);
  EXPECT_THROW(chart->GetSeries(-1), ChartException);
  EXPECT_THROW(chart->AddSeriesOfClass(TChartAxisTitle::StaticClass()), ChartException);
  b->SetActive(false);
  EXPECT_EQ(chart->CountActiveSeries(), 1);
  delete a;  // a freed series leaves its chart
  EXPECT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(chart->GetSeries(0), b);
  chart->FreeAllSeries(TTestSeries::StaticClass());
  EXPECT_EQ(chart->SeriesCount(), 0);
  // A chart freed first frees the series still attached to it.
  auto* c = chart->AddSeriesOfClass(TChartSeries::StaticClass());
  c->SetName("Kept");
  delete chart;
  EXPECT_EQ(owner.FindComponent("Kept"), nullptr);
}

TEST(Pointer, SizesRefuseBelowOneAndRepaintOnlyOnChange) {
  TCountingChart chart;
  TTestSeries s(nullptr);
  s.SetParentChart(&chart);
  chart.Invalidates = 0;
  s.Pointer.SetHorizSize(8);
  s.Pointer.SetHorizSize(8);
  s.Pointer.SetVertSize(8);
  EXPECT_EQ(chart.Invalidates, 2);
  EXPECT_THROW(s.Pointer.SetHorizSize(0), ChartException);
  EXPECT_THROW(s.Pointer.SetVertSize(-3), ChartException);
  EXPECT_EQ(std::make_pair(s.Pointer.HorizSize(), s.Pointer.VertSize()), std::make_pair(8, 8));
  s.Pointer.SetColor(clRed);  // through the brush
  EXPECT_EQ(s.Pointer.Brush()->Color(), clRed);
  EXPECT_EQ(chart.Invalidates, 3);
}

TEST(Pointer, PrepareCanvasTakesThePointColourOnlyWhereThePointerHasNone) {
  TTestSeries s(nullptr);
  TLumCanvas3D canvas;
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(4, 4);
  canvas.AttachCanvas(bmp->Canvas());
  TSeriesPointer& p = s.Pointer;
  p.Pen()->SetColor(clLumColor);
  p.PrepareCanvas(&canvas, clGreen);
  EXPECT_EQ(canvas.Pen()->Color(), clGreen);
  EXPECT_EQ(canvas.Brush()->Color(), clGreen);  // brush colour clLumColor by default
  // A brush colour set by the style callback wins over the point's colour.
  p.SetColor(clRed);
  p.Pen()->SetColor(clBlack);
  p.PrepareCanvas(&canvas, clGreen);
  EXPECT_EQ(canvas.Brush()->Color(), clRed);
  EXPECT_EQ(canvas.Pen()->Color(), clBlack);
  p.Pen()->Hide();
  p.PrepareCanvas(&canvas, clGreen);
  EXPECT_EQ(canvas.Pen()->Style(), psClear);
}

}  // namespace
