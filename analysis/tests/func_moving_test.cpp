// The moving and statistical functions: golden data from pandas, scipy, Python's
// statistics and R's TTR over the windows the framework cuts, then the rules where
// the functions leave the textbook.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/func_moving.h"
#include "analysis/func_stats.h"
#include "analysis_test_util.h"
#include "golden_data.h"
#include "platform/typinfo.h"

namespace {

using Values = std::vector<double>;

class Functions : public analysistest::AnalysisTest {
protected:
  // A source of the values at X 0, 1, ... and an output fed from it through F.
  template <class F>
  F* Feed(const Values& Ys, const Values& Xs = {}) {
    source = Add<TChartSeries>();
    for (size_t i = 0; i < Ys.size(); ++i) source->AddXY(Xs.empty() ? double(i) : Xs[i], Ys[i], "", clLumColor);
    return Attach<F>(source);
  }
  template <class F>
  F* Attach(TChartSeries* Source) {
    output = Add<TChartSeries>();
    auto* f = new F(nullptr);
    output->SetFunction(f);
    output->SetDataSource(Source);
    return f;
  }
  Values Ys() const { return output->YValues()->Values(); }

  TChartSeries* source = nullptr;
  TChartSeries* output = nullptr;
};

// Case name prefixes of the golden files: the class and the properties set by name.
struct TCase {
  const char* Prefix;
  TClass Class;
  std::vector<std::pair<const char*, TPropValue>> Props;
};

std::vector<TCase> GoldenCases() {
  return {
      {"sma", TMovingAverageFunction::StaticClass(), {}},
      {"wmaindex", TMovingAverageFunction::StaticClass(), {{"WeightedIndex", true}}},
      {"wmax", TMovingAverageFunction::StaticClass(), {{"Weighted", true}, {"WeightedIndex", true}}},
      {"smoothed", TSmoothedMovAvgFunction::StaticClass(), {}},
      {"momentum", TMomentumFunction::StaticClass(), {}},
      {"momentumdiv", TMomentumDivFunction::StaticClass(), {}},
      {"pctchange", TPercentChangeFunction::StaticClass(), {}},
      {"slope", TSlopeFunction::StaticClass(), {}},
      {"performance", TPerformanceFunction::StaticClass(), {}},
      {"stddev", TStdDeviationFunction::StaticClass(), {}},
      {"stddevcomplete", TStdDeviationFunction::StaticClass(), {{"Complete", true}}},
      {"rms", TRMSFunction::StaticClass(), {}},
      {"rmscomplete", TRMSFunction::StaticClass(), {{"Complete", true}}},
      {"variance", TVarianceFunction::StaticClass(), {}},
      {"skewness", TSkewnessFunction::StaticClass(), {}},
      {"kurtosis", TKurtosisFunction::StaticClass(), {}},
  };
}

TEST_F(Functions, AgreeWithIndependentImplementationsOnTheGoldenData) {
  const std::vector<TCase> cases = GoldenCases();
  int checked = 0;
  for (const char* input : {"table_b", "walk1", "walk2"}) {
    auto* prices = Add<TOHLCSeries>();  // functions read its Close
    golden::Fill(prices, golden::ReadInput(input));
    for (const char* kind : {"moving", "moving_ttr"}) {
      for (const auto& [name, want] : golden::ReadExpected(kind, input)) {
        const size_t cut = name.rfind('_');
        const std::string prefix = name.substr(0, cut);
        const TCase* c = nullptr;
        for (const TCase& k : cases)
          if (prefix == k.Prefix) c = &k;
        ASSERT_TRUE(c) << name;
        output = Add<TChartSeries>();
        auto* f = static_cast<TLumFunction*>(c->Class->NewInstance(nullptr));
        output->SetFunction(f);
        SetFloatProp(f, "Period", std::stoi(name.substr(cut + 1)));
        for (const auto& [prop, value] : c->Props) SetPropValue(f, prop, value);
        output->SetDataSource(prices);
        golden::ExpectLine(want, output->XValues()->Values(), Ys(), std::string(input) + " " + name);
        delete output;
        ++checked;
      }
    }
  }
  EXPECT_GE(checked, 3 * 30);
}

TEST_F(Functions, DispersionPinsAndSmallCounts) {
  const Values pin{2, 4, 4, 4, 5, 5, 7, 9};
  auto* sd = Feed<TStdDeviationFunction>(pin);
  EXPECT_NEAR(Ys().at(0), 2.138090, 1e-6);
  sd->SetComplete(true);
  EXPECT_DOUBLE_EQ(Ys().at(0), 2);
  Attach<TVarianceFunction>(source);
  EXPECT_DOUBLE_EQ(Ys().at(0), 4);
  // One value, two values, and values far from zero (one pass would give 0 there).
  for (auto [values, sample, complete] : std::vector<std::tuple<Values, double, double>>{
           {{3}, 0, 0}, {{2, 4}, std::sqrt(2.0), 1}, {{1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}, 1.2909944487358056, 1.1180339887498949}}) {
    auto* f = Feed<TStdDeviationFunction>(values);
    EXPECT_NEAR(Ys().at(0), sample, 1e-12) << values.size();
    f->SetComplete(true);
    EXPECT_NEAR(Ys().at(0), complete, 1e-12) << values.size();
  }
  auto* rms = Feed<TRMSFunction>({3, 4});
  EXPECT_DOUBLE_EQ(Ys().at(0), 5);
  rms->SetComplete(true);
  EXPECT_DOUBLE_EQ(Ys().at(0), std::sqrt(12.5));
}

TEST_F(Functions, WindowsAtTheEdgesOfTheRules) {
  auto* sma = Feed<TMovingAverageFunction>({1, 2, 3, 4});
  sma->SetPeriod(3);
  EXPECT_EQ(Ys(), (Values{2, 3}));
  sma->SetPeriod(5);
  EXPECT_TRUE(Ys().empty());
  // Weights summing to 0 give 0; Weighted wins over WeightedIndex.
  auto* wma = Feed<TMovingAverageFunction>({5, 7}, {-1, 1});
  wma->SetPeriod(2);
  wma->SetWeighted(true);
  wma->SetWeightedIndex(true);
  EXPECT_EQ(Ys(), (Values{0}));
  EXPECT_EQ(wma->Calculate(source, 0, 1), 0);
  auto* div = Feed<TMomentumDivFunction>({0, 5, 10});
  div->SetPeriod(2);
  EXPECT_EQ(Ys(), (Values{0, 200}));
  for (TLumMovingFunction* f : {static_cast<TLumMovingFunction*>(Feed<TPercentChangeFunction>({2, 4, 8})),
                                static_cast<TLumMovingFunction*>(Feed<TSlopeFunction>({2, 4, 8}, {0, 1, 1}))}) {
    f->SetPeriod(1);
    EXPECT_EQ(Ys().at(0), 0) << f->ClassName();  // no point before the first window
    EXPECT_EQ(Ys().size(), 3u);
  }
  EXPECT_EQ(Ys(), (Values{0, 2, 0}));  // slope over dX 0 is 0
  auto* perf = Feed<TPerformanceFunction>({4, 5, 6});
  EXPECT_EQ(perf->Calculate(source, -1, -1), 50);
}

TEST_F(Functions, ExponentialAverageWeighsThePreviousSourceValue) {
  auto* exp = Feed<TExpAverageFunction>({1, 2, 4});
  exp->SetWeight(0.5);
  EXPECT_EQ(Ys(), (Values{1, 1.5, 3}));
  for (double bad : {-0.1, 1.5, std::nan("")}) {
    try {
      exp->SetWeight(bad);
      ADD_FAILURE() << bad;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "ExpAverage Weight must be between 0 and 1");
    }
    EXPECT_EQ(exp->Weight(), 0.5);
  }
  exp->SetWeight(1);
  EXPECT_EQ(Ys(), (Values{1, 2, 4}));
  exp->SetWeight(0);
  EXPECT_EQ(Ys(), (Values{1, 1, 2}));
}

TEST_F(Functions, ASmoothedWindowAskedAloneTakesThePreviousResultFromTheSeries) {
  auto* smoothed = Feed<TSmoothedMovAvgFunction>({1, 2, 3, 4, 5});
  smoothed->SetPeriod(3);
  EXPECT_DOUBLE_EQ(smoothed->Calculate(source, 2, 4), (Ys().back() * 2 + 5) / 3);
}

// Counts how often the whole source is walked.
class TCountingSkewness : public TSkewnessFunction {
public:
  using TSkewnessFunction::TSkewnessFunction;
  mutable int Walks = 0;

protected:
  int Power() const override { return ++Walks, 3; }
};

TEST_F(Functions, SkewnessIsComputedOncePerRecalculation) {
  Values v(200);
  for (size_t i = 0; i < v.size(); ++i) v[i] = double(i * i % 17);
  auto* skew = Feed<TCountingSkewness>(v);
  skew->Walks = 0;
  skew->SetPeriod(2);  // 100 periods, one value
  EXPECT_EQ(Ys().size(), 100u);
  EXPECT_LE(skew->Walks, 3);
  for (double y : Ys()) EXPECT_EQ(y, Ys()[0]);
  Feed<TKurtosisFunction>({5, 5, 5});  // no spread: 0
  EXPECT_EQ(Ys(), (Values{0}));
}

TEST_F(Functions, CrossPointsAddEachCrossingOnce) {
  TChartSeries* a = Add<TChartSeries>();
  TChartSeries* b = Add<TChartSeries>();
  for (auto [x, ya, yb] : std::vector<std::tuple<double, double, double>>{{0, 0, 2}, {1, 1, 1}, {2, 0, 2}, {3, 4, -2}}) {
    a->AddXY(x, ya, "", clLumColor);
    b->AddXY(x, yb, "", clLumColor);
  }
  Attach<TCrossPointsFunction>(a);
  EXPECT_EQ(output->Count(), 0);  // one source
  output->GetDataSources()->Add(b);
  output->RefreshSeries();
  // Touching at the shared vertex (1, 1), crossing between X 2 and 3.
  EXPECT_EQ(output->XValues()->Values(), (Values{1, 2.25}));
  EXPECT_EQ(Ys(), (Values{1, 1}));
  a->Delete(3), a->Delete(2), a->Delete(1);
  output->RefreshSeries();
  EXPECT_EQ(output->Count(), 0);  // one point: no segment
}

TEST_F(Functions, PerimeterClosesTheConvexOutline) {
  TChartSeries* points = Add<TChartSeries>();
  for (auto [x, y] : std::vector<std::pair<double, double>>{{1, 1}, {5, 9}, {9, 1}, {5, 4}}) points->AddXY(x, y, "", clLumColor);
  Render();  // lay the axes out
  Attach<TPerimeterFunction>(points);
  ASSERT_EQ(output->Count(), 4);  // the inner point is left out
  EXPECT_EQ(output->XValues()->GetValue(0), output->XValues()->GetValue(3));
  EXPECT_EQ(output->YValues()->GetValue(0), output->YValues()->GetValue(3));
  for (int i = 0; i < 3; ++i) EXPECT_NE(output->YValues()->GetValue(i), 4.0);
  EXPECT_NEAR(output->XValues()->GetValue(0), 1, 0.1);
  EXPECT_NEAR(output->YValues()->GetValue(0), 1, 0.1);
}

}  // namespace
