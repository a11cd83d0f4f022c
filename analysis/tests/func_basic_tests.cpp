// The basic period functions and the user function.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "analysis/func_basic.h"
#include "analysis_test_util.h"
#include "golden_data.h"

namespace {

using BasicFunctionTest = analysistest::AnalysisTest;
using Values = std::vector<double>;

// The framework's calculation of F over all of Values (through StoreValue).
double Over(TLumFunction* F, TChartSeries* Source, const Values& V) {
  Source->Clear();
  for (size_t i = 0; i < V.size(); ++i) Source->AddXY(double(i), V[i]);
  return F->Calculate(Source, 0, int(V.size()) - 1);
}

TEST_F(BasicFunctionTest, EachFunctionCombinesAPeriod) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    TClass Class;
    Values In;
    double Out;
  } cases[] = {
      {TAddLumFunction::StaticClass(), {}, 0},
      {TSubtractLumFunction::StaticClass(), {10, 2, 3}, 5},
      {TSubtractLumFunction::StaticClass(), {7}, 7},
      {TMultiplyLumFunction::StaticClass(), {2, -3, 4}, -24},
      {TMultiplyLumFunction::StaticClass(), {}, 0},
      {TDivideLumFunction::StaticClass(), {12, 2, 3}, 2},
      {TDivideLumFunction::StaticClass(), {7}, 7},
      {TDivideLumFunction::StaticClass(), {1, 0}, inf},  // IEEE, no exception
      {TLowLumFunction::StaticClass(), {}, 0},
      {TAverageLumFunction::StaticClass(), {}, 0},
      {TMedianLumFunction::StaticClass(), {4, 1, 3, 2}, 2.5},
      {TMedianLumFunction::StaticClass(), {5}, 5},
      {TMedianLumFunction::StaticClass(), {}, 0},
      {TModeLumFunction::StaticClass(), {3, 2, 1, 3, 2}, 2},  // equally long runs: the smallest
      {TModeLumFunction::StaticClass(), {5}, 5},
      {TModeLumFunction::StaticClass(), {3, 2, 1}, 1},
      {TModeLumFunction::StaticClass(), {}, 0},
  };
  auto* source = Add<TFastLineSeries>();
  for (const Case& c : cases) {
    std::unique_ptr<TLumFunction> f(static_cast<TLumFunction*>(c.Class->NewInstance(nullptr)));
    EXPECT_EQ(Over(f.get(), source, c.In), c.Out) << c.Class->Name << " of " << c.In.size() << " values";
  }
  TDivideLumFunction divide(nullptr);
  EXPECT_TRUE(std::isnan(Over(&divide, source, {0, 0})));
}

TEST_F(BasicFunctionTest, TheSortedStoreKeepsEqualValuesInArrivalOrder) {
  TMedianLumFunction f(nullptr);
  Values v;
  for (double x : {2.0, 0.0, -1.0, -0.0, 2.0}) f.StoreValue(v, int(v.size()), x);
  ASSERT_EQ(v, (Values{-1, 0, 0, 2, 2}));
  EXPECT_FALSE(std::signbit(v[1]));  // +0 came first
  EXPECT_TRUE(std::signbit(v[2]));
}

TEST_F(BasicFunctionTest, WholeSourceStatisticsComeFromTheCachedListWithNulls) {
  auto* source = Add<TFastLineSeries>();
  source->AddXY(0, 1);
  source->AddNullXY(1, 50);
  source->AddXY(2, 3);
  THighLumFunction high(nullptr);
  TAverageLumFunction mean(nullptr);
  TLowLumFunction low(nullptr);
  EXPECT_EQ(high.Calculate(source, -1, -1), 50);  // the null point's value counts
  EXPECT_EQ(mean.Calculate(source, -1, -1), 18);
  high.SetIncludeNulls(false);
  mean.SetIncludeNulls(false);
  EXPECT_EQ(high.Calculate(source, -1, -1), 3);
  EXPECT_EQ(mean.Calculate(source, -1, -1), 2);
  source->Clear();
  EXPECT_EQ(low.Calculate(source, -1, -1), 0);
  EXPECT_EQ(TAverageLumFunction(nullptr).Calculate(source, -1, -1), 0);
}

TEST_F(BasicFunctionTest, SeveralSourcesCombinePointByPoint) {
  auto* a = Add<TFastLineSeries>();
  auto* b = Add<TFastLineSeries>();
  auto* out = Add<TFastLineSeries>();
  for (int i = 0; i < 3; ++i) {
    a->AddXY(i, 10 * (i + 1));
    b->AddXY(i, i);
  }
  out->SetFunction(new TSubtractLumFunction(nullptr));
  out->GetDataSources()->Add(a);
  out->GetDataSources()->Add(b);
  out->RefreshSeries();
  EXPECT_EQ(out->YValues()->Values(), (Values{10, 19, 28}));
}

// Periods of 7 points at their centre X, nulls in and out, on every input.
TEST_F(BasicFunctionTest, PeriodsAgreeWithTheStatisticsModule) {
  const std::pair<const char*, TClass> classes[] = {
      {"Add", TAddLumFunction::StaticClass()},         {"High", THighLumFunction::StaticClass()},
      {"Low", TLowLumFunction::StaticClass()},         {"Average", TAverageLumFunction::StaticClass()},
      {"Median", TMedianLumFunction::StaticClass()},   {"Mode", TModeLumFunction::StaticClass()}};
  for (const char* input : {"table_a", "table_b", "walk1", "walk2"}) {
    auto expected = golden::ReadExpected("basic_periods", input);
    auto* source = Add<TOHLCSeries>();
    golden::Fill(source, golden::ReadInput(input));
    auto* out = Add<TFastLineSeries>();
    out->SetDataSource(source);
    for (bool nulls : {true, false})
      for (const auto& [name, cls] : classes) {
        auto* f = static_cast<TLumFunction*>(cls->NewInstance(nullptr));
        f->SetPeriod(7);
        f->SetIncludeNulls(nulls);
        out->SetFunction(f);
        const std::string kase = std::string(name) + " 7 " + (nulls ? "nulls" : "nonulls");
        golden::ExpectLine(expected.at(kase), out->XValues()->Values(), out->YValues()->Values(),
                           std::string(input) + " " + kase);
      }
  }
}

TEST_F(BasicFunctionTest, TheUserFunctionCallsItsEventAlongX) {
  auto* out = Add<TFastLineSeries>();
  auto* f = new TCustomLumFunction(nullptr);
  f->AddPoints({});  // not attached: nothing
  out->SetFunction(f);
  out->AddXY(5, 5);
  out->AddXY(6, 6);
  f->AddPoints({});  // no handler: the series stays as it is
  EXPECT_EQ(out->Count(), 2);

  f->OnCalculate = [](TObject*, double X, double& Y) { Y = X * X; };
  f->BeginUpdate();
  f->SetStartX(-1);
  f->SetPeriod(0.5);
  f->SetNumPoints(4);
  f->EndUpdate();
  EXPECT_EQ(out->XValues()->Values(), (Values{-1, -0.5, 0, 0.5}));
  EXPECT_EQ(out->YValues()->Values(), (Values{1, 0.25, 0, 0.25}));
  f->SetNumPoints(0);
  EXPECT_EQ(out->Count(), 0);
}

}  // namespace
