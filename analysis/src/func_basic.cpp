#include "analysis/func_basic.h"

#include <algorithm>

#include "analysis/kernels.h"
#include "basic_kernels.h"

IMPLEMENT_CLASS(TAddLumFunction, TLumFunction)
IMPLEMENT_CLASS(TManySeriesLumFunction, TLumFunction)
IMPLEMENT_CLASS(TSubtractLumFunction, TManySeriesLumFunction)
IMPLEMENT_CLASS(TMultiplyLumFunction, TManySeriesLumFunction)
IMPLEMENT_CLASS(TDivideLumFunction, TManySeriesLumFunction)
IMPLEMENT_CLASS(THighLumFunction, TLumFunction)
IMPLEMENT_CLASS(TLowLumFunction, TLumFunction)
IMPLEMENT_CLASS(TAverageLumFunction, TLumFunction)
IMPLEMENT_CLASS(TCustomSortedFunction, TLumFunction)
IMPLEMENT_CLASS(TMedianLumFunction, TCustomSortedFunction)
IMPLEMENT_CLASS(TModeLumFunction, TCustomSortedFunction)
IMPLEMENT_CLASS_PROPS(TCustomLumFunction, TLumFunction)

using namespace basic_kernels;

double TAddLumFunction::CalculateMany(const std::vector<double>& V) { return Kernels::Sum(V); }
double TSubtractLumFunction::CalculateMany(const std::vector<double>& V) { return Difference(V.data(), V.size()); }
double TMultiplyLumFunction::CalculateMany(const std::vector<double>& V) { return Product(V.data(), V.size()); }
double TDivideLumFunction::CalculateMany(const std::vector<double>& V) { return Quotient(V.data(), V.size()); }
double THighLumFunction::CalculateMany(const std::vector<double>& V) { return Highest(V.data(), V.size()); }
double TLowLumFunction::CalculateMany(const std::vector<double>& V) { return Lowest(V.data(), V.size()); }
double TAverageLumFunction::CalculateMany(const std::vector<double>& V) { return Kernels::Mean(V); }
double TMedianLumFunction::CalculateMany(const std::vector<double>& V) { return SortedMedian(V.data(), V.size()); }
double TModeLumFunction::CalculateMany(const std::vector<double>& V) { return SortedMode(V.data(), V.size()); }

// The whole source with nulls included: the value list's cached statistics.
double THighLumFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (First < 0 && IncludeNulls()) return GetValueListForSeries(Source)->GetMaxValue();
  return TLumFunction::Calculate(Source, First, Last);
}

double TLowLumFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (First < 0 && IncludeNulls()) return GetValueListForSeries(Source)->GetMinValue();
  return TLumFunction::Calculate(Source, First, Last);
}

double TAverageLumFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (First < 0 && IncludeNulls())
    return Source->Count() > 0 ? GetValueListForSeries(Source)->GetTotal() / Source->Count() : 0;
  return TLumFunction::Calculate(Source, First, Last);
}

void TCustomSortedFunction::StoreValue(std::vector<double>& Values, int Position, double Value) {
  Values.resize(size_t(Position));
  // Before the first greater value: equal ones keep their arrival order.
  Values.insert(std::upper_bound(Values.begin(), Values.end(), Value), Value);
}

TCustomLumFunction::TCustomLumFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  InternalSetPeriod(1);
  SetNoSourceRequired(true);
}

void TCustomLumFunction::AddPoints(const std::vector<TChartSeries*>&) {
  TChartSeries* s = ParentSeries();
  if (!OnCalculate.Assigned() || !s) return;
  s->Clear();
  double x = startX_;
  for (int i = 0; i < numPoints_; ++i) {
    double y = 0;
    OnCalculate(this, x, y);
    AddFunctionXY(x, y);
    x += Period();
  }
}

void TCustomLumFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomLumFunction*>(Source)) {
    numPoints_ = src->numPoints_;
    startX_ = src->startX_;
  }
  TLumFunction::Assign(Source);
}

void TCustomLumFunction::DefineProperties(TPropertyTable& t) {
  t.Int("NumPoints", &TCustomLumFunction::NumPoints, &TCustomLumFunction::SetNumPoints).Default(100LL);
  t.Event("OnCalculate", &TCustomLumFunction::OnCalculate);
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(1.0L);
  t.Float("StartX", &TCustomLumFunction::StartX, &TCustomLumFunction::SetStartX).Default(0.0L);
}
