#include "analysis/unit.h"

#include <vector>

#include "analysis/candle.h"
#include "analysis/func_basic.h"
#include "analysis/func_financial.h"
#include "analysis/func_moving.h"
#include "analysis/func_oscillators.h"
#include "analysis/func_stats.h"
#include "analysis/histogram.h"
#include "canvas/lumconst.h"
#include "chart/registry.h"
#include "platform/forms.h"

namespace {

// One gallery entry of a unit: a function (or series) class, its gallery name and page.
struct TEntry {
  TClass Class;
  const std::string* Name;
  const std::string* Page;
};

std::vector<TClass> ClassesOf(const std::vector<TEntry>& Entries) {
  std::vector<TClass> classes;
  for (const TEntry& e : Entries) classes.push_back(e.Class);
  return classes;
}

// The unit has started when its first class has an entry (the list may have been
// emptied by the chart unit in between).
bool Registered(TClass FirstFunction) { return LumSeriesTypes().FindFunction(FirstFunction) != nullptr; }

// Page "Standard", two gallery series each.
std::vector<TEntry> BasicFunctions() {
  return {{TAddLumFunction::StaticClass(), &LumMsg_FunctionAdd, nullptr},
          {TSubtractLumFunction::StaticClass(), &LumMsg_FunctionSubtract, nullptr},
          {TMultiplyLumFunction::StaticClass(), &LumMsg_FunctionMultiply, nullptr},
          {TDivideLumFunction::StaticClass(), &LumMsg_FunctionDivide, nullptr},
          {THighLumFunction::StaticClass(), &LumMsg_FunctionHigh, nullptr},
          {TLowLumFunction::StaticClass(), &LumMsg_FunctionLow, nullptr},
          {TAverageLumFunction::StaticClass(), &LumMsg_FunctionAverage, nullptr},
          {TCustomLumFunction::StaticClass(), &LumMsg_FunctionCustom, nullptr},
          {TMedianLumFunction::StaticClass(), &LumMsg_FunctionMedian, nullptr},
          {TModeLumFunction::StaticClass(), &LumMsg_FunctionMode, nullptr}};
}

std::vector<TEntry> CandleSeries() {
  return {{TCandleSeries::StaticClass(), &LumMsg_GalleryCandle, &LumMsg_GalleryFinancial},
          {TVolumeSeries::StaticClass(), &LumMsg_GalleryVolume, &LumMsg_GalleryFinancial},
          {TDarvasSeries::StaticClass(), &LumMsg_GalleryDarvas, &LumMsg_GalleryFinancial}};
}
std::vector<TEntry> CandleFunctions() {
  return {{TADXFunction::StaticClass(), &LumMsg_FunctionADX, &LumMsg_GalleryFinancial},
          {TATRFunction::StaticClass(), &LumMsg_FunctionATR, &LumMsg_GalleryFinancial},
          {TRSIFunction::StaticClass(), &LumMsg_FunctionRSI, &LumMsg_GalleryFinancial}};
}

std::vector<TEntry> CLVFunctions() {
  return {{TCLVFunction::StaticClass(), &LumMsg_FunctionCLV, &LumMsg_GalleryFinancial}};
}

std::vector<TEntry> StatisticsFunctions() {
  const std::string *financial = &LumMsg_GalleryFinancial, *stats = &LumMsg_GalleryStats,
                    *extended = &LumMsg_GalleryExtended;
  return {
      {TMovingAverageFunction::StaticClass(), &LumMsg_FunctionMovingAverage, financial},
      {TExpMovAveFunction::StaticClass(), &LumMsg_FunctionExpMovAve, financial},
      {TExpAverageFunction::StaticClass(), &LumMsg_FunctionExpAverage, extended},
      {TSmoothedMovAvgFunction::StaticClass(), &LumMsg_FunctionSmoothedMovAvg, financial},
      {TMomentumFunction::StaticClass(), &LumMsg_FunctionMomentum, financial},
      {TMomentumDivFunction::StaticClass(), &LumMsg_FunctionMomentumDiv, financial},
      {TStdDeviationFunction::StaticClass(), &LumMsg_FunctionStdDeviation, stats},
      {TRMSFunction::StaticClass(), &LumMsg_FunctionRMS, stats},
      {TSkewnessFunction::StaticClass(), &LumMsg_FunctionSkewness, stats},
      {TKurtosisFunction::StaticClass(), &LumMsg_FunctionKurtosis, stats},
      {TMACDFunction::StaticClass(), &LumMsg_FunctionMACD, financial},
      {TMoneyFlowFunction::StaticClass(), &LumMsg_FunctionMoneyFlow, financial},
      {TRVIFunction::StaticClass(), &LumMsg_FunctionRVI, financial},
      {TAOFunction::StaticClass(), &LumMsg_FunctionAO, financial},
      {TACFunction::StaticClass(), &LumMsg_FunctionAC, financial},
      {TAlligatorFunction::StaticClass(), &LumMsg_FunctionAlligator, financial},
      {TGatorFunction::StaticClass(), &LumMsg_FunctionGator, financial},
      {TStochasticFunction::StaticClass(), &LumMsg_FunctionStochastic, financial},
      {TBollingerFunction::StaticClass(), &LumMsg_FunctionBollinger, financial},
      {TCrossPointsFunction::StaticClass(), &LumMsg_FunctionCrossPoints, extended},
      {TPerformanceFunction::StaticClass(), &LumMsg_FunctionPerformance, stats},
      {TVarianceFunction::StaticClass(), &LumMsg_FunctionVariance, stats},
      {TPerimeterFunction::StaticClass(), &LumMsg_FunctionPerimeter, extended},
      {TPercentChangeFunction::StaticClass(), &LumMsg_FunctionPercentChange, stats},
      {TSlopeFunction::StaticClass(), &LumMsg_FunctionSlope, stats},
  };
}
std::vector<TEntry> StatisticsSeries() {
  return {{THistogramSeries::StaticClass(), &LumMsg_GalleryHistogram, &LumMsg_GalleryStats},
          {THorizHistogramSeries::StaticClass(), &LumMsg_GalleryHorizHistogram, &LumMsg_GalleryStats}};
}

void RegisterFunctions(const std::vector<TEntry>& Entries) {
  for (const TEntry& e : Entries) RegisterLumFunction(e.Class, e.Name, e.Page, 1);
}
void RegisterSeries(const std::vector<TEntry>& Entries) {
  for (const TEntry& e : Entries) RegisterLumSeries(e.Class, e.Name, e.Page, 1);
}

}  // namespace

TMetaClass& CLVFuncEditorClass() {
  static TMetaClass meta("TCLVFuncEditor", TForm::StaticClass(), nullptr, nullptr);
  return meta;
}

void BasicFunctionsUnitInit() {
  const std::vector<TEntry> entries = BasicFunctions();
  if (entries.empty() || Registered(entries.front().Class)) return;
  for (const TEntry& e : entries) RegisterLumBasicFunction(e.Class, e.Name);
}

// The ten basic functions stay registered.
void BasicFunctionsUnitDone() {}

void CLVFunctionUnitInit() {
  RegisterClass(&CLVFuncEditorClass());
  if (!Registered(TCLVFunction::StaticClass())) RegisterFunctions(CLVFunctions());
}

void CLVFunctionUnitDone() { UnRegisterLumFunctions(ClassesOf(CLVFunctions())); }

void CandleUnitInit() {
  RegisterClass(TOHLCSeries::StaticClass());  // by name only: the base of the candle family
  if (LumSeriesTypes().Find(TCandleSeries::StaticClass())) return;
  RegisterSeries(CandleSeries());
  RegisterFunctions(CandleFunctions());
}

void CandleUnitDone() {
  UnRegisterLumSeries(ClassesOf(CandleSeries()));
  UnRegisterLumFunctions(ClassesOf(CandleFunctions()));
}

void StatisticsUnitInit() {
  const std::vector<TEntry> functions = StatisticsFunctions();
  if (Registered(functions.front().Class)) return;
  RegisterFunctions(functions);
  RegisterSeries(StatisticsSeries());
}

void StatisticsUnitDone() {
  UnRegisterLumFunctions(ClassesOf(StatisticsFunctions()));
  UnRegisterLumSeries(ClassesOf(StatisticsSeries()));
}
