// The analysis-function framework (periods, moving windows, alignment, nulls,
// update blocks, several sources, horizontal output) and data sources (validity,
// circular chains, refresh along the chain, freed sources and functions).
#include <vector>

#include "engine/function.h"
#include "engine_test.h"

namespace {

double Sum(const std::vector<double>& Values) {
  double sum = 0;
  for (double v : Values) sum += v;
  return sum;
}

class TSumFunction : public TLumFunction {
public:
  using TLumFunction::TLumFunction;
  double CalculateMany(const std::vector<double>& Values) override { return Sum(Values); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override {
    ++Recalculations;
    TLumFunction::AddPoints(Sources);
  }
  int Recalculations = 0;
};

class TMeanFunction : public TLumMovingFunction {
public:
  using TLumMovingFunction::TLumMovingFunction;
  double CalculateMany(const std::vector<double>& Values) override {
    return Values.empty() ? 0 : Sum(Values) / double(Values.size());
  }
};

struct Fed {
  TCountingChart chart;
  TChartSeries* source = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TChartSeries* output = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  // Values 1..n at X 0..n-1.
  explicit Fed(int n = 4) {
    for (int i = 0; i < n; ++i) source->AddXY(i, i + 1);
    output->SetDataSource(source);
  }
  template <class F>
  F* Use() {
    auto* f = new F(nullptr);
    output->SetFunction(f);
    return f;
  }
};

TEST(Function, PeriodZeroOrBelowGivesOneValueForTheWholeSource) {
  Fed fed;
  auto* sum = fed.Use<TSumFunction>();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{10}));
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{1.5}));  // centre of X 0..3
  sum->SetPeriod(-3);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{10}));
  sum->SetPeriodAlign(paLast);
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{3}));
}

TEST(Function, PeriodsOfPointsTakeTheRemainderLast) {
  Fed fed(5);
  auto* sum = fed.Use<TSumFunction>();
  sum->SetPeriodAlign(paFirst);
  sum->SetPeriod(2);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{3, 7, 5}));
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{0, 2, 4}));
  sum->SetPeriodStyle(psRange);  // X ranges [0,2) [2,4) [4,6)
  sum->SetPeriod(2);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{3, 7, 5}));
  sum->SetPeriodAlign(paCenter);
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{1, 3, 5}));
}

TEST(MovingFunction, WindowOfNGivesCountMinusNPlusOneResultsAtTheAlignedX) {
  Fed fed;
  auto* mean = fed.Use<TMeanFunction>();
  EXPECT_EQ(fed.output->Count(), 4);
  mean->SetPeriod(3);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{2, 3}));
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{2, 3}));
  mean->SetPeriodAlign(paFirst);
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{0, 1}));
  mean->SetPeriodAlign(paCenter);
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{1, 2}));
  mean->SetPeriod(4);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{2.5}));
  mean->SetPeriod(5);  // fewer points than the window
  EXPECT_EQ(fed.output->Count(), 0);
  mean->SetPeriod(0);  // all points
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{2.5}));
}

TEST(Function, NullsAreSkippedUnlessIncluded) {
  Fed fed(0);
  fed.source->AddXY(0, 1);
  fed.source->AddNullXY(1, 100);
  fed.source->AddXY(2, 3);
  auto* sum = fed.Use<TSumFunction>();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{104}));
  sum->SetIncludeNulls(false);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{4}));
  EXPECT_EQ(sum->Calculate(fed.source, 1, 1), 0);
}

TEST(Function, AnUpdateBlockRecalculatesOnceAtItsEnd) {
  Fed fed;
  auto* sum = fed.Use<TSumFunction>();
  sum->Recalculations = 0;
  sum->BeginUpdate();
  sum->SetPeriod(2);
  sum->SetPeriodAlign(paFirst);
  sum->SetIncludeNulls(false);
  sum->BeginUpdate();
  sum->EndUpdate();
  EXPECT_EQ(sum->Recalculations, 0);
  sum->EndUpdate();
  EXPECT_EQ(sum->Recalculations, 1);
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{3, 7}));
  sum->InternalSetPeriod(4);  // stores only
  EXPECT_EQ(sum->Recalculations, 1);
}

TEST(Function, SeveralSourcesCombinePointByPoint) {
  Fed fed(3);
  TChartSeries* other = fed.chart.AddSeriesOfClass(TChartSeries::StaticClass());
  for (int i = 0; i < 2; ++i) other->AddXY(i, 10);
  fed.output->GetDataSources()->Add(other);
  fed.Use<TSumFunction>();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{11, 12, 3}));
  EXPECT_EQ(Xs(*fed.output), (std::vector<double>{0, 1, 2}));
}

TEST(Function, AHorizontalSeriesTakesTheResultsAsX) {
  TCountingChart chart;
  TChartSeries* source = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  for (int i = 0; i < 4; ++i) source->AddXY(i, i + 1);
  THorizSeries out(nullptr);
  out.SetParentChart(&chart);
  out.XValues()->SetOrder(loNone);
  out.SetDataSource(source);
  auto* mean = new TMeanFunction(nullptr);
  mean->SetPeriod(2);
  out.SetFunction(mean);
  EXPECT_EQ(Xs(out), (std::vector<double>{1.5, 2.5, 3.5}));
  EXPECT_EQ(Ys(out), (std::vector<double>{1, 2, 3}));
}

TEST(Function, ReadsTheValueListTheSeriesNames) {
  Fed fed(2);
  auto* sum = fed.Use<TSumFunction>();
  EXPECT_EQ(sum->GetValueListForSeries(fed.source), fed.source->YValues());
  fed.output->YValues()->SetValueSource("X");
  EXPECT_EQ(sum->GetValueListForSeries(fed.source), fed.source->XValues());
  fed.output->RefreshSeries();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{1}));  // 0 + 1
  fed.output->ResetValueListRoles();
  EXPECT_EQ(fed.output->YValues()->ValueSource(), "");
}

TEST(DataSource, ASourceLeadingBackRaisesAndChangesNothing) {
  TCountingChart chart;
  TChartSeries* a = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TChartSeries* b = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TChartSeries* c = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  a->AddXY(0, 1);
  b->SetDataSource(a);
  c->SetDataSource(b);
  a->AddXY(1, 2);  // kept through the failed attempts below
  for (TChartSeries* source : {a, b, c}) {
    ExpectThrowText<ChartException>([&] { a->SetDataSource(source); }, "Circular Series dependences are not allowed");
    EXPECT_EQ(a->DataSource(), nullptr);
    EXPECT_EQ(a->Count(), 2);
  }
  EXPECT_THROW(a->GetDataSources()->Add(c), ChartException);
  EXPECT_EQ(a->GetDataSources()->Count(), 0);
  EXPECT_EQ(b->DataSource(), a);
  EXPECT_EQ(a->LinkedSeries(), std::vector<TChartSeries*>{b});
}

TEST(DataSource, TheChartRejectsWhatCannotFeedASeries) {
  TCountingChart chart;
  TChartSeries* s = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TComponent plain(nullptr);
  ExpectThrowText<ChartException>([&] { s->GetDataSources()->Add(&plain); }, "No valid DataSource: TComponent");
  plain.SetName("Table1");
  EXPECT_THROW(s->SetDataSource(&plain), ChartException);
  EXPECT_FALSE(s->HasDataSources());
  EXPECT_FALSE(chart.IsValidDataSource(s, s));
  TLumSeriesSource source(nullptr);
  EXPECT_TRUE(chart.IsValidDataSource(s, &source));
}

TEST(DataSource, RefreshingASourceRefreshesItsDependantsDownTheChain) {
  Fed fed;
  TChartSeries* copy = fed.chart.AddSeriesOfClass(TChartSeries::StaticClass());
  copy->SetDataSource(fed.output);  // no function: a copy of the output
  auto* sum = fed.Use<TSumFunction>();
  EXPECT_EQ(Ys(*copy), (std::vector<double>{10}));
  fed.source->AddXY(4, 5);
  EXPECT_EQ(Ys(*copy), (std::vector<double>{10}));  // additions alone do not recalculate
  fed.source->RefreshSeries();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{15}));
  EXPECT_EQ(Ys(*copy), (std::vector<double>{15}));
  sum->Recalculations = 0;
  fed.source->BeginUpdate();
  fed.source->AddXY(5, 1);
  fed.source->EndUpdate();
  EXPECT_EQ(sum->Recalculations, 1);
  EXPECT_EQ(Ys(*copy), (std::vector<double>{16}));
  fed.chart.Invalidates = 0;
  fed.source->CheckDataSource();
  EXPECT_GE(fed.chart.Invalidates, 1);
}

TEST(DataSource, AFreedSourceIsNoLongerRead) {
  Fed fed;
  auto* sum = fed.Use<TSumFunction>();
  delete fed.source;
  EXPECT_EQ(fed.output->DataSource(), nullptr);
  fed.output->RefreshSeries();  // nothing to read: the points stay
  sum->Recalculate();
  EXPECT_EQ(Ys(*fed.output), (std::vector<double>{10}));

  // A freed dependant leaves its source's list.
  Fed other;
  delete other.output;
  EXPECT_TRUE(other.source->LinkedSeries().empty());
  other.source->RefreshSeries();
}

TEST(DataSource, FunctionsBelongToTheirSeries) {
  Fed fed;
  auto* first = fed.Use<TSumFunction>();
  EXPECT_EQ(first->ParentSeries(), fed.output);
  fed.Use<TMeanFunction>();  // frees the first
  EXPECT_EQ(fed.output->FunctionType()->ParentSeries(), fed.output);
  delete fed.output->FunctionType();
  EXPECT_EQ(fed.output->FunctionType(), nullptr);
  TComponent owner(nullptr);
  auto* owned = new TSumFunction(&owner);
  fed.output->SetFunction(owned);
  delete fed.output;  // frees its function, which leaves its owner
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(DataSource, SourceComponentsFeedOneSeriesAndLeaveItWhenFreed) {
  TCountingChart chart;
  TChartSeries* s = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  TChartSeries* other = chart.AddSeriesOfClass(TChartSeries::StaticClass());
  s->GetDataSources()->Add(other);
  auto* source = new TLumSeriesSource(nullptr);
  source->SetSeries(s);  // the only source from now on
  EXPECT_EQ(s->DataSource(), source);
  EXPECT_EQ(s->GetDataSources()->Count(), 1);
  s->GetDataSources()->Add(other);
  EXPECT_TRUE(LumSeriesSources().empty());
  delete source;  // leaves the other source in place
  EXPECT_EQ(s->DataSource(), other);
  s->SetDataSource(nullptr);
  TLumSeriesSource kept(nullptr);
  kept.SetSeries(s);
  s->SetDataSource(nullptr);
  EXPECT_FALSE(s->HasDataSources());
}

}  // namespace
