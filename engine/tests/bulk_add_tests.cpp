// Functions hand their results over in one go (TChartSeries::AppendXY, the
// function's AddFunctionXYs and AddWindowResults); each must leave a series exactly
// as adding the points one at a time would.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/function.h"
#include "engine_test.h"

namespace {

// A series with one more value list, as price and bubble series have.
class TThreeListSeries : public TChartSeries {
public:
  explicit TThreeListSeries(TComponent* AOwner) : TChartSeries(AOwner), z_(this, "Z") { AddValueList(&z_); }
  TChartValueList* Z() { return &z_; }

private:
  TChartValueList z_;
};

// Everything a series holds per point.
struct TPoints {
  std::vector<std::vector<double>> Lists;
  std::vector<TColor> Colors;
  std::vector<std::string> Labels;
  bool operator==(const TPoints&) const = default;
};

TPoints PointsOf(const TChartSeries& S) {
  TPoints p;
  for (const TChartValueList* l : S.ValuesList()) p.Lists.push_back(l->Values());
  p.Colors = Colours(S);
  for (int i = 0; i < S.Count(); ++i) p.Labels.push_back(S.Labels().GetLabel(i));
  return p;
}

// The states a series may be in when results arrive.
enum TSetup { Empty, Points, Descending, Unordered, ByY, Coloured, Labelled, Refusing, ExtraList };

void Prepare(TThreeListSeries& S, TSetup Setup) {
  if (Setup == Descending) S.XValues()->SetOrder(loDescending);
  if (Setup == Unordered) S.XValues()->SetOrder(loNone);
  if (Setup == ByY) {
    S.XValues()->SetOrder(loNone);
    S.YValues()->SetOrder(loAscending);
  }
  if (Setup != Empty)
    for (int i = 0; i < 3; ++i) S.AddXY(Setup == Descending ? 100 - i : i, 10 * i);
  if (Setup == Coloured) S.SetValueColor(1, clRed);
  if (Setup == Labelled) S.Labels().SetLabel(0, "first");
  if (Setup == Refusing) S.OnBeforeAdd = [&S](TChartSeries*) { return S.Count() % 3 != 1; };
  if (Setup == ExtraList) S.Z()->SetTempValue(7.5);
}

}  // namespace

// Results in every order, into every state.
TEST(BulkAdd, AppendXYLeavesWhatAddingEachPointLeaves) {
  std::mt19937 rng(4);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (TSetup setup : {Empty, Points, Descending, Unordered, ByY, Coloured, Labelled, Refusing, ExtraList})
    for (int kind = 0; kind < 6; ++kind) {
      // Ascending, descending, random, repeated, with NaN, ascending from below the points there.
      std::vector<double> x, y;
      for (int i = 0; i < 50; ++i) {
        x.push_back(kind == 0 ? 3 + i
                    : kind == 1 ? 60.0 - i
                    : kind == 2 ? double(rng() % 20)
                    : kind == 5 ? i - 5
                                : 3 + i / 4);
        y.push_back(kind == 4 && i == 20 ? nan : double(rng() % 1000) / 8);
      }
      if (kind == 4) x[30] = nan;
      TCountingChart chart;
      TThreeListSeries one(nullptr), bulk(nullptr);
      one.SetParentChart(&chart);
      bulk.SetParentChart(&chart);
      Prepare(one, setup);
      Prepare(bulk, setup);
      one.BeginUpdate();
      for (size_t i = 0; i < x.size(); ++i) one.AddXY(x[i], y[i]);
      bulk.BeginUpdate();
      bulk.AppendXY(x.data(), y.data(), x.size());
      const std::string what = "setup " + std::to_string(int(setup)) + " kind " + std::to_string(kind);
      const TPoints a = PointsOf(one), b = PointsOf(bulk);
      // NaN is not equal to itself: compare the lists' bits.
      ASSERT_EQ(a.Lists.size(), b.Lists.size()) << what;
      for (size_t l = 0; l < a.Lists.size(); ++l) {
        ASSERT_EQ(a.Lists[l].size(), b.Lists[l].size()) << what;
        EXPECT_EQ(0, std::memcmp(a.Lists[l].data(), b.Lists[l].data(), a.Lists[l].size() * sizeof(double)))
            << what << " list " << l;
      }
      EXPECT_EQ(a.Colors, b.Colors) << what;
      EXPECT_EQ(a.Labels, b.Labels) << what;
      EXPECT_EQ(bulk.Z()->TakeTempValue(), 0) << what << ": the extra list's value is taken once";
      one.OnBeforeAdd = {};
      bulk.OnBeforeAdd = {};
      one.SetParentChart(nullptr);
      bulk.SetParentChart(nullptr);
    }
}

namespace {

// Exposes the ways a function adds its results.
class TResultsFunction : public TLumFunction {
public:
  using TLumFunction::TLumFunction;
  using TLumFunction::AddFunctionXY;
  using TLumFunction::AddWindowResults;
  using TLumFunction::AlignedX;
};

}  // namespace

// Window results at every alignment, for a vertical and a horizontal owner; a
// result beyond the last window is refused as AlignedX refuses it (no read past the X list).
TEST(BulkAdd, WindowResultsSitWhereAlignedXPutsThem) {
  std::mt19937 rng(9);
  TCountingChart chart;
  TChartSeries* source = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  for (int i = 0; i < 40; ++i) source->AddXY(i * 1.5 + double(rng() % 3), double(rng() % 100));
  for (TFunctionPeriodAlign align : {paFirst, paCenter, paLast})
    for (bool horizontal : {false, true})
      for (int n : {1, 4, 40}) {
        std::vector<double> results;
        for (int k = 0; k + n <= 40; ++k) results.push_back(double(rng() % 1000) / 3);
        auto make = [&] {
          TChartSeries* s = horizontal ? new THorizSeries(&chart) : new TChartSeries(&chart);
          s->SetParentChart(&chart);
          auto* f = new TResultsFunction(nullptr);
          s->SetFunction(f);
          f->SetPeriodAlign(align);
          s->BeginUpdate();
          return f;
        };
        const std::string what = "align " + std::to_string(int(align)) + (horizontal ? " horizontal" : "") +
                                 " window " + std::to_string(n);
        // Then one result too many: where AlignedX reads past the X list both refuse it.
        for (int extra : {0, 1}) {
          TResultsFunction *one = make(), *bulk = make();
          bool oneRefused = false, bulkRefused = false;
          try {
            for (size_t k = 0; k < results.size(); ++k)
              one->AddFunctionXY(one->AlignedX(source, int(k), int(k) + n - 1), results[k]);
          } catch (const EListError&) {
            oneRefused = true;
          }
          try {
            bulk->AddWindowResults(source, n, results);
          } catch (const EListError&) {
            bulkRefused = true;
          }
          EXPECT_EQ(oneRefused, bulkRefused) << what << " extra " << extra;
          if (!oneRefused) {
            EXPECT_EQ(PointsOf(*one->ParentSeries()), PointsOf(*bulk->ParentSeries())) << what;
          }
          results.push_back(1);
        }
      }
}
