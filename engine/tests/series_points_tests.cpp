// Point operations that must keep every per-point list in step: nulls, deletion,
// sorting by label, copying; the storage flags; sample values.
#include <vector>

#include "engine_test.h"

namespace {

// A series with a third value list, as three-value series types have.
class TZSeries : public TChartSeries {
public:
  explicit TZSeries(TComponent* AOwner = nullptr) : TChartSeries(AOwner), z(this, "Z") {
    AddValueList(&z);
    SetHasZValues(true);
  }
  int AddXYZ(double X, double Y, double Z, const std::string& Label = "", TColor Color = clLumColor) {
    const int i = AddXY(X, Y, Label, Color);
    z.SetValue(i, Z);
    return i;
  }
  TChartValueList z;
};

// Labels only on the first two of four points: the label list is shorter.
void Fill(TZSeries& s) {
  s.AddXYZ(0, 10, 100, "d", clRed);
  s.AddXYZ(1, 11, 101, "b");
  s.AddXYZ(2, 12, 102, "", clBlue);
  s.AddXYZ(3, 13, 103);
  ASSERT_LE(s.Labels().Count(), 4);
}

TEST(SeriesPoints, AddNullPutsANullPointAfterTheLastIndex) {
  TChartSeries s(nullptr);
  s.AddXY(0, 5);
  s.AddXY(1, 6);
  EXPECT_EQ(s.AddNull("gap"), 2);
  EXPECT_EQ(s.XValues()->GetValue(2), 2);
  EXPECT_TRUE(s.IsNull(2));
  EXPECT_FALSE(s.IsNull(1));
  EXPECT_EQ(s.Labels().GetLabel(2), "gap");
  EXPECT_EQ(s.AddNullXY(0.5, 7), 1);  // ordered X place, not the end
  EXPECT_TRUE(s.IsNull(1));
  EXPECT_EQ(Ys(s), (std::vector<double>{5, 7, 6, 0}));
  EXPECT_EQ(s.Labels().GetLabel(3), "gap");
}

TEST(SeriesPoints, DeleteKeepsValuesColoursAndShortLabelsTogether) {
  TCountingChart chart;
  TZSeries s;
  s.SetParentChart(&chart);
  Fill(s);
  chart.Invalidates = 0;
  s.Delete(0);
  EXPECT_EQ(Xs(s), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Ys(s), (std::vector<double>{11, 12, 13}));
  EXPECT_EQ(s.z.Values(), (std::vector<double>{101, 102, 103}));
  EXPECT_EQ(Colours(s), (std::vector<TColor>{clLumColor, clBlue, clLumColor}));
  EXPECT_EQ(s.Labels().GetLabel(0), "b");
  EXPECT_EQ(chart.Invalidates, 1);
  s.Delete(2);  // past the end of the labels
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.Labels().GetLabel(0), "b");
  EXPECT_EQ(s.z.Count(), 2);
  EXPECT_EQ(s.MaxZValue(), 102);
  EXPECT_EQ(s.MinZValue(), 101);

  EXPECT_THROW(s.Delete(2), EListError);
  EXPECT_THROW(s.Delete(-1), EListError);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.z.Count(), 2);
}

TEST(SeriesPoints, SortByLabelCarriesEveryListAndStopsAscendingX) {
  TZSeries s;
  Fill(s);
  s.Labels().SetLabel(3, "a");  // labels d, b, "", a
  s.SortPoints(loAscending);
  // "" < "a" < "b" < "d"
  EXPECT_EQ(Xs(s), (std::vector<double>{2, 3, 1, 0}));
  EXPECT_EQ(Ys(s), (std::vector<double>{12, 13, 11, 10}));
  EXPECT_EQ(s.z.Values(), (std::vector<double>{102, 103, 101, 100}));
  EXPECT_EQ(Colours(s), (std::vector<TColor>{clBlue, clLumColor, clLumColor, clRed}));
  EXPECT_EQ(s.Labels().GetLabel(1), "a");
  EXPECT_EQ(s.Labels().GetLabel(3), "d");
  // X is no longer ascending: a new point goes to the end, not into an ordered place.
  EXPECT_EQ(s.XValues()->Order(), loNone);
  EXPECT_EQ(s.AddXY(1.5, 0), 4);

  s.SortPoints(loDescending);
  EXPECT_EQ(s.Labels().GetLabel(0), "d");
  EXPECT_EQ(s.YValues()->GetValue(0), 10);
  EXPECT_EQ(s.z.GetValue(0), 100);
  EXPECT_EQ(s.GetPointColor(0), clRed);
}

TEST(SeriesPoints, SortByAValueListIsStableCarriesEveryListAndTakesItsOrder) {
  TZSeries s;
  Fill(s);
  s.z.SetValue(2, 100);  // Z 100, 101, 100, 103: a tie between points 0 and 2
  s.SortByValues(&s.z, loAscending);
  EXPECT_EQ(s.z.Values(), (std::vector<double>{100, 100, 101, 103}));
  EXPECT_EQ(Xs(s), (std::vector<double>{0, 2, 1, 3}));  // the tie keeps its order
  EXPECT_EQ(Ys(s), (std::vector<double>{10, 12, 11, 13}));
  EXPECT_EQ(Colours(s), (std::vector<TColor>{clRed, clBlue, clLumColor, clLumColor}));
  EXPECT_EQ(s.Labels().GetLabel(0), "d");
  EXPECT_EQ(s.Labels().GetLabel(2), "b");
  EXPECT_EQ(s.z.Order(), loAscending);
  EXPECT_EQ(s.XValues()->Order(), loNone);

  s.SortByValues(s.YValues(), loDescending);
  EXPECT_EQ(Ys(s), (std::vector<double>{13, 12, 11, 10}));
  EXPECT_EQ(s.z.Values(), (std::vector<double>{103, 100, 101, 100}));
  EXPECT_EQ(s.YValues()->Order(), loDescending);

  TZSeries other;
  s.SortByValues(&other.z, loAscending);  // a list of another series: nothing
  s.SortByValues(s.XValues(), loNone);
  EXPECT_EQ(Ys(s), (std::vector<double>{13, 12, 11, 10}));
}

TEST(SeriesPoints, SortKeepsAscendingXWhenTheLabelsFollowIt) {
  TChartSeries s(nullptr);
  s.AddXY(0, 1, "a");
  s.AddXY(1, 2, "b");
  s.SortPoints(loAscending);
  EXPECT_EQ(s.XValues()->Order(), loAscending);
  s.SortPoints(loNone);
  EXPECT_EQ(Ys(s), (std::vector<double>{1, 2}));
}

TEST(SeriesPoints, AssignValuesCopiesListsByNameColoursAndLabels) {
  TZSeries from;
  Fill(from);
  TZSeries to;
  to.AddXYZ(9, 9, 9, "old");
  to.AssignValues(&from);
  EXPECT_EQ(Xs(to), Xs(from));
  EXPECT_EQ(Ys(to), Ys(from));
  EXPECT_EQ(to.z.Values(), from.z.Values());
  EXPECT_EQ(Colours(to), (std::vector<TColor>{clRed, clLumColor, clBlue, clLumColor}));
  EXPECT_EQ(to.Labels().GetLabel(1), "b");
  EXPECT_EQ(to.Labels().GetLabel(3), "");

  TChartSeries plain(nullptr);  // no Z list: the rest still comes
  plain.AssignValues(&from);
  EXPECT_EQ(Ys(plain), Ys(from));
  plain.AssignValues(&plain);  // itself: unchanged
  EXPECT_EQ(plain.Count(), 4);
}

TEST(SeriesPoints, DataStorageFlagsSayWhatThePointsHold) {
  TChartSeries s(nullptr);
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), 0);
  EXPECT_EQ(TChartSeries::DataStorageFlags(nullptr), 0);
  s.AddXY(0, 4);
  s.AddXY(1, 5);
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), 0);  // X is the index
  s.AddXY(2.5, 6);
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), TChartSeries::dsfXValues);
  s.Delete(2);
  s.SetValueColor(0, clNone);  // a null is a colour of its own
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), TChartSeries::dsfColors);
  s.SetValueColor(0, clLumColor);  // the list stays, but holds no colour
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), 0);
  s.Labels().SetLabel(1, "x");
  EXPECT_EQ(TChartSeries::DataStorageFlags(&s), TChartSeries::dsfLabels);
}

TEST(SeriesPoints, ZRangeWithoutAZListIsTheDepthPlace) {
  TChartSeries s(nullptr);
  s.SetZOrder(3);
  EXPECT_EQ(s.MinZValue(), 3);
  EXPECT_EQ(s.MaxZValue(), 3);
  EXPECT_FALSE(s.HasZValues());
}

TEST(SampleValues, AFixedSeedRepeatsTheSamePointsInsideTheBounds) {
  TCountingChart chart;
  TChartSeries a(nullptr), b(nullptr);
  a.SetParentChart(&chart);
  TChartSeries::SetRandomSeed(42);
  int refreshed = 0;
  a.OnAfterAdd = [&](TChartSeries*, int) { ++refreshed; };
  chart.Invalidates = 0;
  a.AddSampleValues(30);
  EXPECT_EQ(refreshed, 0);  // filled inside an update block
  EXPECT_LE(chart.Invalidates, 2);  // the clear and the block's end
  b.AddSampleValues(30);
  TChartSeries::SetRandomSeed(0);
  ASSERT_EQ(a.Count(), 30);
  EXPECT_EQ(Ys(a), Ys(b));
  EXPECT_EQ(a.XValues()->GetValue(0), 0);
  EXPECT_EQ(a.XValues()->GetValue(29), 29);
  EXPECT_GE(a.MinYValue(), 0);
  EXPECT_LE(a.MaxYValue(), 1000);
  EXPECT_NE(a.MinYValue(), a.MaxYValue());

  b.SetRandomSampleCount(7);
  b.AddSampleValues();
  EXPECT_EQ(b.Count(), 7);
  b.SetRandomSampleCount(0);
  b.AddSampleValues();
  EXPECT_EQ(b.Count(), b.NumSampleValues());
}

TEST(SampleValues, AxesSetByHandBoundTheSamples) {
  TCountingChart chart;
  TChartSeries s(nullptr);
  s.SetParentChart(&chart);
  chart.BottomAxis()->SetAutomatic(false);
  chart.BottomAxis()->SetMinMax(100, 200);
  chart.LeftAxis()->SetAutomatic(false);
  chart.LeftAxis()->SetMinMax(-5, 5);
  double x, stepX, y, minY, difY;
  s.CalcRandomBounds(11, x, stepX, y, minY, difY);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(stepX, 10);
  EXPECT_EQ(minY, -5);
  EXPECT_EQ(difY, 10);
  s.AddSampleValues(11);
  EXPECT_EQ(s.MaxXValue(), 200);
  EXPECT_GE(s.MinYValue(), -5);
  EXPECT_LE(s.MaxYValue(), 5);
  EXPECT_EQ(s.RandomValue(0), 0);
}

TEST(SeriesBase, DefaultNameAndGalleryColours) {
  TCountingChart chart;
  chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TChartSeries* s = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  EXPECT_EQ(s->NameOrDefault(), "Series 1");
  s->SetTitle("Prices");  // a title is not a name
  EXPECT_EQ(s->NameOrDefault(), "Series 1");
  s->SetName("Prices");
  EXPECT_EQ(s->NameOrDefault(), "Prices");
  s->PrepareForGallery(false);
  EXPECT_EQ(s->SeriesColor(), clSilver);
  s->PrepareForGallery(true);  // the palette colour of its place
  EXPECT_EQ(s->SeriesColor(), chart.GetDefaultColor(1));
  s->SetChartView3D(true);
  EXPECT_TRUE(chart.View3D());
}

TEST(Visuals, PerPointObjectsFollowTheirPoints) {
  TChartSeries s(nullptr);
  for (int i = 0; i < 3; ++i) s.AddXY(i, i, std::string(1, char('c' - i)));
  auto* first = new TPersistent;
  auto* last = new TPersistent;
  s.Visuals()->SetItem(0, first);
  s.Visuals()->SetItem(2, last);
  EXPECT_EQ(s.Visuals()->GetItem(1), nullptr);  // the base creates none
  s.SortPoints(loAscending);  // labels c, b, a: reversed
  EXPECT_EQ(s.Visuals()->GetItem(0), last);
  EXPECT_EQ(s.Visuals()->GetItem(2), first);
  s.Delete(0);
  EXPECT_EQ(s.Visuals()->GetItem(1), first);
  s.Visuals()->SetItem(1, nullptr);  // frees it
  EXPECT_EQ(s.Visuals()->GetItem(1), nullptr);
  EXPECT_THROW(s.Visuals()->GetItem(-1), EListError);

  int made = 0;
  TVisualsList created([&](int) { ++made; return new TPersistent; });
  TPersistent* v = created.GetItem(4);
  EXPECT_EQ(created.GetItem(4), v);
  EXPECT_EQ(made, 1);
  TVisualsHolder holder;
  holder.SetVisual(v);
  EXPECT_EQ(holder.Visual(), v);
  holder.SetVisual(nullptr);
  EXPECT_EQ(holder.Visual(), nullptr);
}

}  // namespace
