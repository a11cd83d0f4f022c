// Functions hand their results over in one go (TChartSeries::AppendXY, and the
// function's AddFunctionXYs and AddWindowResults on it); each must leave a series
// exactly as adding the points one at a time would.
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
  TChartValueList z_;
};

// Every list's bits (NaN included), the colours and the labels.
std::string PointsOf(const TChartSeries& S) {
  std::string p;
  for (const TChartValueList* l : S.ValuesList())
    p.append(reinterpret_cast<const char*>(l->Values().data()), l->Values().size() * sizeof(double)) += '|';
  for (int i = 0; i < S.Count(); ++i) p += std::to_string(S.GetPointColor(i)) + S.Labels().GetLabel(i) + ',';
  return p;
}

class TResultsFunction : public TLumFunction {
public:
  using TLumFunction::AddFunctionXY, TLumFunction::AddWindowResults, TLumFunction::AlignedX, TLumFunction::TLumFunction;
};

}  // namespace

// Results ascending, descending, random, repeated, with NaN, and ascending from below
// the points there, into series in every state that decides where a point goes.
TEST(BulkAdd, AppendXYLeavesWhatAddingEachPointLeaves) {
  std::mt19937 rng(4);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int setup = 0; setup < 9; ++setup)
    for (int kind = 0; kind < 6; ++kind) {
      std::vector<double> x, y;
      for (int i = 0; i < 50; ++i) {
        const double v[] = {3.0 + i, 60.0 - i, double(rng() % 20), 3.0 + i / 4, 3.0 + i, i - 5.0};
        x.push_back(kind == 4 && i == 30 ? nan : v[kind]);
        y.push_back(kind == 4 && i == 20 ? nan : double(rng() % 1000) / 8);
      }
      TCountingChart chart;
      TThreeListSeries one(nullptr), bulk(nullptr);
      for (TThreeListSeries* s : {&one, &bulk}) {
        s->SetParentChart(&chart);
        if (setup == 2) s->XValues()->SetOrder(loDescending);
        if (setup == 3 || setup == 4) s->XValues()->SetOrder(loNone);
        if (setup == 4) s->YValues()->SetOrder(loAscending);  // placed by Y, as horizontal bars
        if (setup != 0)
          for (int i = 0; i < 3; ++i) s->AddXY(setup == 2 ? 100 - i : i, 10 * i);
        if (setup == 5) s->SetValueColor(1, clRed);
        if (setup == 6) s->Labels().SetLabel(0, "first");
        if (setup == 7) s->OnBeforeAdd = [s](TChartSeries*) { return s->Count() % 3 != 1; };
        if (setup == 8) s->z_.SetTempValue(7.5);
        s->BeginUpdate();
      }
      for (size_t i = 0; i < x.size(); ++i) one.AddXY(x[i], y[i]);
      bulk.AppendXY(x.data(), y.data(), x.size());
      EXPECT_EQ(PointsOf(one), PointsOf(bulk)) << "setup " << setup << " kind " << kind;
      for (TThreeListSeries* s : {&one, &bulk}) {
        s->OnBeforeAdd = {};
        s->SetParentChart(nullptr);
      }
    }
}

// Window results at every alignment, for a vertical and a horizontal owner; one
// result too many is refused where AlignedX would read past the X list.
TEST(BulkAdd, WindowResultsSitWhereAlignedXPutsThem) {
  std::mt19937 rng(9);
  TCountingChart chart;
  TChartSeries* source = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  for (int i = 0; i < 40; ++i) source->AddXY(i * 1.5 + double(rng() % 3), double(rng() % 100));
  for (TFunctionPeriodAlign align : {paFirst, paCenter, paLast})
    for (bool horizontal : {false, true})
      for (int n : {1, 4, 40}) {
        std::vector<double> results(size_t(40 - n + 1));
        for (double& r : results) r = double(rng() % 1000) / 3;
        for (int extra = 0; extra < 2; ++extra, results.push_back(1)) {
          std::string points[2];
          bool refused[2] = {false, false};
          for (int bulk = 0; bulk < 2; ++bulk) {
            TChartSeries* s = horizontal ? new THorizSeries(&chart) : new TChartSeries(&chart);
            s->SetParentChart(&chart);
            auto* f = new TResultsFunction(nullptr);
            s->SetFunction(f);
            f->SetPeriodAlign(align);
            s->BeginUpdate();
            try {
              if (bulk) f->AddWindowResults(source, n, results);
              else
                for (size_t k = 0; k < results.size(); ++k)
                  f->AddFunctionXY(f->AlignedX(source, int(k), int(k) + n - 1), results[k]);
            } catch (const EListError&) {
              refused[bulk] = true;
            }
            points[bulk] = PointsOf(*s);
          }
          const std::string what = "align " + std::to_string(int(align)) + (horizontal ? " horizontal" : "") +
                                   " window " + std::to_string(n) + " extra " + std::to_string(extra);
          EXPECT_EQ(refused[0], refused[1]) << what;
          EXPECT_EQ(points[0], points[1]) << what;
        }
      }
}
