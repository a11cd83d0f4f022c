#include "analysis/func_stats.h"

#include <cmath>

#include "analysis/kernels.h"
#include "canvas/geometry.h"
#include "canvas/lumcanvas.h"
#include "engine/axis.h"
#include "engine/helpers.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TCompleteStatFunction, TLumFunction)
IMPLEMENT_CLASS(TStdDeviationFunction, TCompleteStatFunction)
IMPLEMENT_CLASS(TRMSFunction, TCompleteStatFunction)
IMPLEMENT_CLASS(TVarianceFunction, TLumFunction)
IMPLEMENT_CLASS(TSkewnessFunction, TCompleteStatFunction)
IMPLEMENT_CLASS(TKurtosisFunction, TSkewnessFunction)
IMPLEMENT_CLASS(TCrossPointsFunction, TLumFunction)
IMPLEMENT_CLASS(TPerimeterFunction, TLumFunction)

// ---- Standard deviation, root mean square, variance ----
void TCompleteStatFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCompleteStatFunction*>(Source)) complete_ = src->complete_;
  TLumFunction::Assign(Source);
}

void TCompleteStatFunction::DefineProperties(TPropertyTable& t) {
  t.Bool("Complete", &TCompleteStatFunction::Complete, &TCompleteStatFunction::SetComplete).Default(false);
}

double TStdDeviationFunction::CalculateMany(const std::vector<double>& Values) {
  // Two passes: the textbook (n·Σx² − (Σx)²) loses everything on large offsets.
  return Values.size() < 2 ? 0 : Kernels::StdDev(Values, Divisor(Values.size()));
}

double TRMSFunction::CalculateMany(const std::vector<double>& Values) {
  if (Values.size() < 2) return 0;
  return std::sqrt(Kernels::DeviationSums(Values, 0).S2 / Divisor(Values.size()));
}

double TVarianceFunction::CalculateMany(const std::vector<double>& Values) {
  return Kernels::Variance(Values, double(Values.size()));
}

// ---- Skewness and kurtosis ----
double TSkewnessFunction::WholeSource(TChartSeries* Source) const {
  const std::vector<double>& x = GetValueListForSeries(Source)->Values();
  const size_t n = x.size();
  const double s = n < 2 ? 0 : Kernels::StdDev(x, double(n) - 1);
  const double d = (double(n) - 1) * std::pow(s, Power());
  if (n == 0 || d == 0) return 0;
  const Kernels::TDeviationSums sums = Kernels::DeviationSums(x, Kernels::Mean(x));
  return (Power() == 3 ? sums.S3 : sums.S4) / d;
}

double TSkewnessFunction::Calculate(TChartSeries* Source, int First, int Last) {
  (void)First, (void)Last;  // always the whole source
  return cachedFor_ == Source ? cached_ : WholeSource(Source);
}

void TSkewnessFunction::DoCalculation(TChartSeries* Source) {
  cached_ = WholeSource(Source);
  cachedFor_ = Source;
  try {
    TLumFunction::DoCalculation(Source);
  } catch (...) {
    cachedFor_ = nullptr;
    throw;
  }
  cachedFor_ = nullptr;
}

// ---- Cross points ----
void TCrossPointsFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* out = ParentSeries();
  if (!out || Sources.size() < 2) return;
  out->Clear();
  TChartSeries *a = Sources[0], *b = Sources[1];
  if (a->Count() < 2 || b->Count() < 2) return;
  auto pointOf = [this](TChartSeries* s, int i) {
    return TFloatPoint{s->NotMandatoryValueList()->GetValue(i), GetValueListForSeries(s)->GetValue(i)};
  };
  bool added = false;
  TFloatPoint last;
  for (int i = 0, j = 0; i + 1 < a->Count() && j + 1 < b->Count();) {
    const TFloatPoint a0 = pointOf(a, i), a1 = pointOf(a, i + 1), b0 = pointOf(b, j), b1 = pointOf(b, j + 1);
    TFloatPoint cross;
    // Lines meeting at a shared vertex are found by the segments on both sides of
    // it, one after the other: the point goes in once.
    if (CrossingLines(a0, a1, b0, b1, cross) && !(added && cross == last)) {
      AddFunctionXY(cross.X, cross.Y);
      last = cross;
      added = true;
    }
    if (b1.X < a1.X) ++j;
    else ++i;
  }
}

// ---- Perimeter ----
TPerimeterFunction::TPerimeterFunction(TComponent* AOwner) : TLumFunction(AOwner) { SetSingleSource(true); }

void TPerimeterFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* out = ParentSeries();
  if (!out || Sources.empty()) return;
  out->Clear();
  TChartSeries* source = Sources.front();
  // Pixels need both series on a chart.
  if (source->Count() == 0 || !source->ParentChart() || !out->ParentChart()) return;
  for (TChartAxis* axis : {source->GetHorizAxis(), source->GetVertAxis()})
    if (axis && (axis->IAxisSize() == 0 || axis->Minimum() == axis->Maximum())) axis->AdjustMaxMin();
  TCanvas3D* canvas = source->ParentChart() ? source->ParentChart()->Canvas() : nullptr;
  std::vector<TPoint> outline(size_t(source->Count()));
  for (int i = 0; i < source->Count(); ++i) {
    const int x = source->CalcXPos(i), y = source->CalcYPos(i);
    outline[size_t(i)] = canvas ? canvas->ProjectPoint(x, y, source->MiddleZ()) : TPoint{x, y};
  }
  ConvexOutline(outline);
  out->XValues()->SetOrder(loNone);
  for (const TPoint& p : outline) out->AddXY(out->XScreenToValue(p.X), out->YScreenToValue(p.Y), "", clLumColor);
  if (!outline.empty())
    out->AddXY(out->XScreenToValue(outline[0].X), out->YScreenToValue(outline[0].Y), "", clLumColor);
}
