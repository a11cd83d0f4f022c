#include "engine/function.h"

#include <algorithm>
#include <cmath>

#include "engine/errors.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TLumFunction, TComponent)
IMPLEMENT_CLASS_PROPS(TLumMovingFunction, TLumFunction)

TLumFunction::TLumFunction(TComponent* AOwner) : TComponent(AOwner) {}

TLumFunction::~TLumFunction() {
  if (series_ && series_->function_ == this) series_->function_ = nullptr;
}

void TLumFunction::SetParentSeries(TChartSeries* ASeries) {
  if (ASeries) ASeries->SetFunction(this);
  else if (series_) series_->SetFunction(nullptr);
}

void TLumFunction::SetPeriod(double Value) { StoreAndRecalculate(period_, Value); }
void TLumFunction::SetPeriodStyle(TFunctionPeriodStyle Value) { StoreAndRecalculate(periodStyle_, Value); }
void TLumFunction::SetPeriodAlign(TFunctionPeriodAlign Value) { StoreAndRecalculate(periodAlign_, Value); }
void TLumFunction::SetIncludeNulls(bool Value) { StoreAndRecalculate(includeNulls_, Value); }

void TLumFunction::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Recalculate();
}

void TLumFunction::Recalculate() {
  if (updateCount_ == 0 && series_) series_->RefreshSeries();
}

void TLumFunction::PrepareForGallery(TCustomAxisPanel* Chart) {
  if (!Chart) return;
  for (TChartSeries* s : Chart->SeriesList()) s->PrepareForGallery(true);
}

TChartValueList* TLumFunction::GetValueListForSeries(TChartSeries* Source) const {
  if (series_) {
    const std::string& name = series_->MandatoryValueList()->ValueSource();
    if (!name.empty())
      if (TChartValueList* l = Source->GetValueListByName(name)) return l;
  }
  return Source->MandatoryValueList();
}

double TLumFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (First < 0) {
    First = 0;
    Last = Source->Count() - 1;
  }
  Last = std::min(Last, Source->Count() - 1);
  const std::vector<double>& values = GetValueListForSeries(Source)->Values();
  std::vector<double> work;
  work.reserve(size_t(std::max(0, Last - First + 1)));
  for (int i = First; i <= Last; ++i)
    if (includeNulls_ || !Source->IsNull(i)) StoreValue(work, int(work.size()), values[size_t(i)]);
  return CalculateMany(work);
}

double TLumFunction::CalculateMany(const std::vector<double>&) { return 0; }

void TLumFunction::StoreValue(std::vector<double>& Values, int Position, double Value) {
  if (Position >= int(Values.size())) Values.resize(size_t(Position) + 1);
  Values[size_t(Position)] = Value;
}

void TLumFunction::AddFunctionXY(double X, double Value) {
  if (!series_) return;
  if (series_->MandatoryValueList() == series_->YValues()) series_->AddXY(X, Value, "", clLumColor);
  else series_->AddXY(Value, X, "", clLumColor);
}

double TLumFunction::AlignedX(TChartSeries* Source, int First, int Last) const {
  const TChartValueList* xs = Source->NotMandatoryValueList();
  switch (periodAlign_) {
    case paFirst: return xs->GetValue(First);
    case paLast: return xs->GetValue(Last);
    case paCenter: break;
  }
  return (xs->GetValue(First) + xs->GetValue(Last)) / 2;
}

void TLumFunction::AddFunctionXYs(std::span<const double> X, std::span<const double> Values) {
  if (!series_) return;
  const std::size_t n = std::min(X.size(), Values.size());
  if (series_->MandatoryValueList() == series_->YValues()) series_->AppendXY(X.data(), Values.data(), n);
  else series_->AppendXY(Values.data(), X.data(), n);
}

void TLumFunction::AddWindowResults(TChartSeries* Source, int N, std::span<const double> Results) {
  if (Results.empty()) return;
  // The windows' first or last X are a run of the source's X list; centres are computed.
  const std::vector<double>& xs = Source->NotMandatoryValueList()->Values();
  const std::size_t n = Results.size(), last = std::size_t(N - 1);
  if (N < 1 || last + n > xs.size()) {
    for (std::size_t k = 0; k < n; ++k) AddFunctionXY(AlignedX(Source, int(k), int(k) + N - 1), Results[k]);
    return;
  }
  switch (periodAlign_) {
    case paFirst: AddFunctionXYs({xs.data(), n}, Results); return;
    case paLast: AddFunctionXYs({xs.data() + last, n}, Results); return;
    case paCenter: break;
  }
  std::vector<double> centres(n);
  for (std::size_t k = 0; k < n; ++k) centres[k] = (xs[k] + xs[k + last]) / 2;
  AddFunctionXYs(centres, Results);
}

void TLumFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  if (Sources.empty()) return;
  if (Sources.size() == 1) {
    DoCalculation(Sources.front());
    return;
  }
  // Several sources: one result per point of the first, from the values every
  // source has at that index; an index where none has a value gives no result.
  TChartSeries* first = Sources.front();
  std::vector<double> work;
  for (int i = 0; i < first->Count(); ++i) {
    work.clear();
    for (TChartSeries* s : Sources)
      if (i < s->Count() && (includeNulls_ || !s->IsNull(i)))
        StoreValue(work, int(work.size()), GetValueListForSeries(s)->GetValue(i));
    if (!work.empty()) AddFunctionXY(first->NotMandatoryValueList()->GetValue(i), CalculateMany(work));
  }
}

void TLumFunction::DoCalculation(TChartSeries* Source) {
  const int n = Source->Count();
  if (n == 0) return;
  const double period = PeriodValue();
  if (periodStyle_ == psRange && period > 0) {
    // Consecutive X ranges of Period from the first X; empty ranges give nothing.
    const TChartValueList* xs = Source->NotMandatoryValueList();
    double start = xs->GetValue(0);
    for (int i = 0; i < n;) {
      const double x = xs->GetValue(i);
      if (x >= start + period) start += std::floor((x - start) / period) * period;
      int j = i;
      while (j < n && xs->GetValue(j) < start + period) ++j;
      if (j == i) ++j;  // X out of order: the point goes on alone
      const double result = Calculate(Source, i, j - 1);
      const double at = periodAlign_ == paFirst ? start : periodAlign_ == paLast ? start + period : start + period / 2;
      AddFunctionXY(at, result);
      i = j;
      start += period;
    }
    return;
  }
  const int size = int(std::lround(period));
  if (size < 1) {
    AddFunctionXY(AlignedX(Source, 0, n - 1), Calculate(Source, -1, -1));
    return;
  }
  // Periods of size points; the last one takes what is left.
  for (int first = 0; first < n; first += size) {
    const int last = std::min(n - 1, first + size - 1);
    AddFunctionXY(AlignedX(Source, first, last), Calculate(Source, first, last));
  }
}

void TLumFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLumFunction*>(Source)) {
    period_ = src->period_;
    periodStyle_ = src->periodStyle_;
    periodAlign_ = src->periodAlign_;
    includeNulls_ = src->includeNulls_;
    calcByValue_ = src->calcByValue_;
    Recalculate();
    return;
  }
  TComponent::Assign(Source);
}

void TLumFunction::DefineProperties(TPropertyTable& t) {
  t.Bool("IncludeNulls", &TLumFunction::IncludeNulls, &TLumFunction::SetIncludeNulls).Default(true);
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(0.0L);
  t.Enum("PeriodAlign", &TLumFunction::PeriodAlign, &TLumFunction::SetPeriodAlign,
         {"paFirst", "paCenter", "paLast"}).Default((long long)paCenter);
  t.Enum("PeriodStyle", &TLumFunction::PeriodStyle, &TLumFunction::SetPeriodStyle, {"psNumPoints", "psRange"})
      .Default((long long)psNumPoints);
}

// ---------------------------------------------------------------------------------
TLumMovingFunction::TLumMovingFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  InternalSetPeriod(1);
  SetPeriodAlign(paLast);
}

void TLumMovingFunction::DoCalculation(TChartSeries* Source) {
  const int n = int(std::lround(PeriodValue()));
  if (n < 1) {  // "all points": one value for the whole source
    TLumFunction::DoCalculation(Source);
    return;
  }
  for (int i = n - 1; i < Source->Count(); ++i) AddFunctionXY(AlignedX(Source, i - n + 1, i), Calculate(Source, i - n + 1, i));
}

void TLumMovingFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(1.0L);
  t.Enum("PeriodAlign", &TLumFunction::PeriodAlign, &TLumFunction::SetPeriodAlign,
         {"paFirst", "paCenter", "paLast"}).Default((long long)paLast);
}
