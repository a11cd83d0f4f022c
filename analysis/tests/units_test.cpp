// The analysis units' registrations: the 44 gallery entries in their order among the
// others, the finalisations, a second start-up, and every class made and set by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/unit.h"
#include "analysis_test_util.h"
#include "chart/registry.h"
#include "engine/function.h"
#include "platform/typinfo.h"

namespace {

struct TRow {
  const char* Class;
  const char* Name;
  const char* Page;
};

// Class, gallery name and page of the 44 entries; the first ten are the basic
// functions (two gallery series each), the others show one.
const std::vector<TRow>& Expected() {
  static const std::vector<TRow> rows = {
      {"TAddLumFunction", "Add", "Standard"},
      {"TSubtractLumFunction", "Subtract", "Standard"},
      {"TMultiplyLumFunction", "Multiply", "Standard"},
      {"TDivideLumFunction", "Divide", "Standard"},
      {"THighLumFunction", "High", "Standard"},
      {"TLowLumFunction", "Low", "Standard"},
      {"TAverageLumFunction", "Average", "Standard"},
      {"TCustomLumFunction", "y = f(x)", "Standard"},
      {"TMedianLumFunction", "Median", "Standard"},
      {"TModeLumFunction", "Mode", "Standard"},
      {"TCLVFunction", "Close Location\rValue", "Financial"},
      {"TCandleSeries", "Candle", "Financial"},
      {"TVolumeSeries", "Volume", "Financial"},
      {"TDarvasSeries", "Darvas", "Financial"},
      {"TADXFunction", "ADX", "Financial"},
      {"TATRFunction", "ATR", "Financial"},
      {"TRSIFunction", "R.S.I.", "Financial"},
      {"TMovingAverageFunction", "Moving\rAverage", "Financial"},
      {"TExpMovAveFunction", "Exp.Moving\rAverage", "Financial"},
      {"TExpAverageFunction", "Exponential\rAverage", "Extended"},
      {"TSmoothedMovAvgFunction", "Smoothed\rMoving Average", "Financial"},
      {"TMomentumFunction", "Momentum", "Financial"},
      {"TMomentumDivFunction", "Momentum\rDivision", "Financial"},
      {"TStdDeviationFunction", "Standard\rDeviation", "Stats"},
      {"TRMSFunction", "Root Mean\rSquare", "Stats"},
      {"TSkewnessFunction", "Skewness", "Stats"},
      {"TKurtosisFunction", "Kurtosis", "Stats"},
      {"TMACDFunction", "MACD", "Financial"},
      {"TMoneyFlowFunction", "Money Flow", "Financial"},
      {"TRVIFunction", "RVI", "Financial"},
      {"TAOFunction", "Awesome\rOscillator", "Financial"},
      {"TACFunction", "Accelerator\rDecelerator", "Financial"},
      {"TAlligatorFunction", "Alligator", "Financial"},
      {"TGatorFunction", "Gator\rOscillator", "Financial"},
      {"TStochasticFunction", "Stochastic", "Financial"},
      {"TBollingerFunction", "Bollinger\rbands", "Financial"},
      {"TCrossPointsFunction", "Cross Points", "Extended"},
      {"TPerformanceFunction", "Performance", "Stats"},
      {"TVarianceFunction", "Variance", "Stats"},
      {"TPerimeterFunction", "Perimeter", "Extended"},
      {"TPercentChangeFunction", "Percentage\rChange", "Stats"},
      {"TSlopeFunction", "Slope", "Stats"},
      {"THistogramSeries", "Histogram", "Stats"},
      {"THorizHistogramSeries", "Horizontal\rHistogram", "Stats"},
  };
  return rows;
}

bool IsOurs(const std::string& Class) {
  for (const TRow& r : Expected())
    if (Class == r.Class) return true;
  return false;
}

std::string ClassOf(const TLumSeriesType& E) {
  return E.FunctionClass ? E.FunctionClass->Name : E.ActualSeriesClass()->Name;
}

// Our entries in list order, and how many entries the list holds.
std::vector<const TLumSeriesType*> OurEntries() {
  std::vector<const TLumSeriesType*> ours;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i)
    if (IsOurs(ClassOf(*LumSeriesTypes()[i]))) ours.push_back(LumSeriesTypes()[i]);
  return ours;
}

void StartAll() {
  BasicFunctionsUnitInit();
  CLVFunctionUnitInit();
  CandleUnitInit();
  StatisticsUnitInit();
}

class Units : public analysistest::AnalysisTest {};

TEST_F(Units, TheFortyFourEntriesStandInOrderOnceWithTheirTexts) {
  StartAll();  // a second start-up
  const std::vector<const TLumSeriesType*> ours = OurEntries();
  ASSERT_EQ(ours.size(), Expected().size());
  for (size_t i = 0; i < ours.size(); ++i) {
    const TRow& want = Expected()[i];
    EXPECT_EQ(ClassOf(*ours[i]), want.Class) << i;
    EXPECT_EQ(ours[i]->DescriptionText(), want.Name) << want.Class;
    EXPECT_EQ(ours[i]->GalleryPageText(), want.Page) << want.Class;
    EXPECT_EQ(ours[i]->NumGallerySeries, i < 10 ? 2 : 1) << want.Class;
    EXPECT_EQ(ours[i]->SubIndex, 0) << want.Class;
    EXPECT_EQ(bool(ours[i]->FunctionClass), std::string(want.Class).find("Function") != std::string::npos);
  }
  // The standard series come first; names are read through the text variables.
  EXPECT_EQ(ClassOf(*LumSeriesTypes()[0]), "TLineSeries");
  EXPECT_EQ(ours[17]->Description, &LumMsg_FunctionMovingAverage);
  EXPECT_EQ(ours[17]->GalleryPage, &LumMsg_GalleryFinancial);
  EXPECT_TRUE(GetClass("TCLVFuncEditor"));
  EXPECT_TRUE(GetClass("TOHLCSeries"));
  EXPECT_FALSE(LumSeriesTypes().Find(TOHLCSeries::StaticClass()));
}

TEST_F(Units, FinalisationsLeaveTheBasicTen) {
  StatisticsUnitDone();
  CandleUnitDone();
  CLVFunctionUnitDone();
  BasicFunctionsUnitDone();
  const std::vector<const TLumSeriesType*> left = OurEntries();
  StartAll();  // back as the other tests expect
  ASSERT_EQ(left.size(), 10u);
  EXPECT_EQ(ClassOf(*left[0]), "TAddLumFunction");
  EXPECT_EQ(ClassOf(*left[9]), "TModeLumFunction");
  EXPECT_EQ(OurEntries().size(), Expected().size());
  EXPECT_TRUE(GetClass("TMovingAverageFunction"));  // the class stays known by name
}

TEST_F(Units, EveryClassIsMadeAndSetByName) {
  auto* prices = Add<TOHLCSeries>();
  for (int i = 0; i < 40; ++i) prices->AddOHLC(i, 10 + i % 7, 12 + i % 5, 8 + i % 3, 10 + i % 4);
  for (const TRow& row : Expected()) {
    TClass cls = GetClass(row.Class);
    ASSERT_TRUE(cls) << row.Class;
    TObject* made = cls->NewInstance(nullptr);
    if (auto* series = dynamic_cast<TChartSeries*>(made)) {
      series->SetParentChart(chart.get());
      series->AddXY(1, 2);
      EXPECT_EQ(series->Count(), 1) << row.Class;
      continue;  // the chart frees it
    }
    auto* function = dynamic_cast<TLumFunction*>(made);
    ASSERT_TRUE(function) << row.Class;
    auto* output = Add<TChartSeries>();
    output->SetFunction(function);
    output->SetDataSource(prices);
    // Every published property written back by name with the value it reads.
    for (const TPropInfo* p : GetPropList(cls)) {
      if (p->Kind == TPropKind::Object || p->Kind == TPropKind::Event) continue;
      EXPECT_NO_THROW(SetPropValue(function, p->Name, GetPropValue(function, p->Name))) << row.Class << "." << p->Name;
    }
    EXPECT_EQ(function->ParentSeries(), output);
  }
}

}  // namespace
