#include "analysis/func_moving.h"

#include <cmath>
#include <span>

#include "analysis/kernels.h"
#include "canvas/lumconst.h"

IMPLEMENT_CLASS_PROPS(TMovingAverageFunction, TLumMovingFunction)
IMPLEMENT_CLASS_PROPS(TExpAverageFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TSmoothedMovAvgFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TMomentumFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TMomentumDivFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TPerformanceFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TPercentChangeFunction, TLumMovingFunction)
IMPLEMENT_CLASS(TSlopeFunction, TLumMovingFunction)

namespace {

// The values a function reads from Source, and its window First..Last (First -1:
// the whole source), clamped to the source.
struct TWindow {
  const std::vector<double>& x;
  int first, last;
  bool Empty() const { return first > last; }
};

TWindow WindowOf(const TLumFunction& F, TChartSeries* Source, int First, int Last) {
  const std::vector<double>& x = F.GetValueListForSeries(Source)->Values();
  const int count = int(x.size());
  if (First < 0) {
    First = 0;
    Last = count - 1;
  }
  return {x, First, std::min(Last, count - 1)};
}

// Window N of the moving loop, or 0 when the framework takes the whole source.
int WindowSize(const TLumFunction& F) { return F.Period() > 0 ? int(std::lround(F.Period())) : 0; }

double Ratio(double Numerator, double Denominator) { return Denominator == 0 ? 0 : Numerator / Denominator; }

}  // namespace

// ---- Moving average ----
TMovingAverageFunction::TMovingAverageFunction(TComponent* AOwner) : TLumMovingFunction(AOwner) {}

double TMovingAverageFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  if (w.Empty()) return 0;
  const std::span<const double> x = std::span<const double>(w.x).subspan(size_t(w.first), size_t(w.last - w.first + 1));
  const int n = int(x.size());
  if (weighted_) return Kernels::MovingWeighted(x, std::span<const double>(Source->NotMandatoryValueList()->Values()).subspan(size_t(w.first), x.size()), n)[0];
  if (weightedIndex_) return Kernels::MovingWeightedIndex(x, n)[0];
  return Kernels::Mean(x);
}

void TMovingAverageFunction::DoCalculation(TChartSeries* Source) {
  const int n = WindowSize(*this);
  if (n < 1) return TLumMovingFunction::DoCalculation(Source);
  const std::vector<double>& x = GetValueListForSeries(Source)->Values();
  if (weighted_) AddWindowResults(Source, n, Kernels::MovingWeighted(x, Source->NotMandatoryValueList()->Values(), n));
  else if (weightedIndex_) AddWindowResults(Source, n, Kernels::MovingWeightedIndex(x, n));
  else AddWindowResults(Source, n, Kernels::MovingAverage(x, n));
}

void TMovingAverageFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMovingAverageFunction*>(Source)) {
    weighted_ = src->weighted_;
    weightedIndex_ = src->weightedIndex_;
  }
  TLumMovingFunction::Assign(Source);
}

void TMovingAverageFunction::DefineProperties(TPropertyTable& t) {
  t.Bool("Weighted", &TMovingAverageFunction::Weighted, &TMovingAverageFunction::SetWeighted).Default(false);
  t.Bool("WeightedIndex", &TMovingAverageFunction::WeightedIndex, &TMovingAverageFunction::SetWeightedIndex)
      .Default(false);
}

// ---- Exponential average ----
TExpAverageFunction::TExpAverageFunction(TComponent* AOwner) : TLumMovingFunction(AOwner) {}

void TExpAverageFunction::SetWeight(double Value) {
  if (!(Value >= 0 && Value <= 1)) throw Exception(LumMsg_ExpAverageWeight);
  StoreAndRecalculate(weight_, Value);
}

double TExpAverageFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  if (w.Empty()) return 0;
  const size_t last = size_t(w.last);
  return last == 0 ? w.x[0] : weight_ * w.x[last] + (1 - weight_) * w.x[last - 1];
}

void TExpAverageFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TExpAverageFunction*>(Source)) weight_ = src->weight_;
  TLumMovingFunction::Assign(Source);
}

void TExpAverageFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Weight", &TExpAverageFunction::Weight, &TExpAverageFunction::SetWeight).Default((long double)0.2);
}

// ---- Smoothed moving average ----
double TSmoothedMovAvgFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  if (w.Empty()) return 0;
  const int count = int(w.x.size()), size = WindowSize(*this);
  const int n = size < 1 ? count : std::min(size, count);  // Period 0: the whole source
  if (w.first == 0 || !ParentSeries() || ParentSeries()->Count() == 0)
    return Kernels::Mean(std::span<const double>(w.x).first(size_t(n)));
  const double period = Period(), p = ParentSeries()->MandatoryValueList()->Last();
  const size_t newest = size_t(std::min(w.first + n - 1, count - 1));
  return (p * period - p + w.x[newest]) / period;
}

void TSmoothedMovAvgFunction::DoCalculation(TChartSeries* Source) {
  const int n = WindowSize(*this);
  if (n < 1) return TLumMovingFunction::DoCalculation(Source);
  AddWindowResults(Source, n, Kernels::SmoothedAverage(GetValueListForSeries(Source)->Values(), n, Period()));
}

// ---- Changes across the window ----
double TMomentumFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  return w.Empty() ? 0 : w.x[size_t(w.last)] - w.x[size_t(w.first)];
}

double TMomentumDivFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  return w.Empty() ? 0 : Ratio(100 * w.x[size_t(w.last)], w.x[size_t(w.first)]);
}

double TPerformanceFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const TWindow w = WindowOf(*this, Source, First, Last);
  if (w.Empty()) return 0;
  const double base = w.x[0];
  return Ratio((w.x[size_t(w.last)] - base) * 100, base);
}

double TPercentChangeFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const std::vector<double>& x = GetValueListForSeries(Source)->Values();
  if (First <= 0 || Last >= int(x.size()) || Last < First) return 0;
  const double before = x[size_t(First) - 1];
  return Ratio((x[size_t(Last)] - before) * 100, before);
}

double TSlopeFunction::Calculate(TChartSeries* Source, int First, int Last) {
  const std::vector<double>& x = GetValueListForSeries(Source)->Values();
  if (First <= 0 || Last >= int(x.size()) || Last < First) return 0;
  const TChartValueList* xs = Source->NotMandatoryValueList();
  return Ratio(x[size_t(Last)] - x[size_t(First) - 1], xs->GetValue(Last) - xs->GetValue(First - 1));
}
