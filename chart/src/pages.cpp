#include "chart/pages.h"

#include <algorithm>
#include <limits>

#include "engine/axis.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TChartPage, TPersistent)

void TChartPage::Changed() {
  if (chart_) chart_->Invalidate();
}

template <class T>
void TChartPage::Store(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TChartPage::SetMaxPointsPerPage(int Value) { Store(maxPointsPerPage_, std::max(0, Value)); }
void TChartPage::SetScaleLastPage(bool Value) { Store(scaleLastPage_, Value); }
void TChartPage::SetAutoScale(bool Value) { Store(autoScale_, Value); }

int TChartPage::Count() const {
  if (maxPointsPerPage_ <= 0 || !chart_) return 1;
  int most = 0;
  for (TChartSeries* s : chart_->SeriesList())
    if (s->Active()) most = std::max(most, s->Count());
  return std::max(1, (most + maxPointsPerPage_ - 1) / maxPointsPerPage_);
}

// Points may go while a page is shown: the page stays within the pages there are.
int TChartPage::Current() const { return std::clamp(current_, 1, Count()); }

void TChartPage::SetCurrent(int Value) {
  Value = std::clamp(Value, 1, Count());
  if (Value == current_) return;
  Store(current_, Value);
  if (OnPageChange.Assigned()) OnPageChange(this);
  if (chart_) chart_->BroadcastListenerEvent(nullptr, sePageChanged);
}

TChartSeries* TChartPage::PagedSeries(const TChartAxis* Axis, bool& ValueAxis) const {
  TChartSeries* best = nullptr;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || !s->UseAxis() || s->Count() == 0) continue;
    const bool horizontal = s->MandatoryValueList() == s->XValues();
    const TChartAxis* positions = horizontal ? s->GetVertAxis() : s->GetHorizAxis();
    const TChartAxis* values = horizontal ? s->GetHorizAxis() : s->GetVertAxis();
    if (Axis != positions && Axis != values) continue;
    if (!best || s->Count() > best->Count()) {
      best = s;
      ValueAxis = Axis == values;
    }
  }
  return best;
}

bool TChartPage::PageRange(const TChartAxis* Axis, double& Min, double& Max) const {
  const int perPage = maxPointsPerPage_;
  if (perPage <= 0 || !chart_) return false;
  bool valueAxis = false;
  TChartSeries* s = PagedSeries(Axis, valueAxis);
  if (!s || (valueAxis && !autoScale_)) return false;
  const int first = (Current() - 1) * perPage;
  if (first >= s->Count()) return false;
  const int last = std::min(first + perPage, s->Count()) - 1;
  if (valueAxis) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int i = first; i <= last; ++i) {
      if (s->IsNull(i)) continue;
      lo = std::min(lo, s->MandatoryValueList()->GetValue(i));
      hi = std::max(hi, s->MandatoryValueList()->GetValue(i));
    }
    if (lo > hi) return false;
    Min = lo;
    Max = hi;
    return true;
  }
  TChartValueList* positions = s->NotMandatoryValueList();
  Min = positions->GetValue(first);
  Max = positions->GetValue(last);
  if (scaleLastPage_ && last - first + 1 < perPage) {
    // The spacing of the page's points (of the whole series for a single point)
    // carried on over the places a full page would have.
    double step = 1;
    if (last > first) step = (Max - Min) / (last - first);
    else if (s->Count() > 1) step = (positions->GetMaxValue() - positions->GetMinValue()) / (s->Count() - 1);
    Max = Min + step * (perPage - 1);
  }
  return true;
}

void TChartPage::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartPage*>(Source)) {
    maxPointsPerPage_ = src->maxPointsPerPage_;
    scaleLastPage_ = src->scaleLastPage_;
    autoScale_ = src->autoScale_;
    current_ = src->current_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TChartPage::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoScale", &TChartPage::AutoScale, &TChartPage::SetAutoScale).Default(false);
  t.Int("MaxPointsPerPage", &TChartPage::MaxPointsPerPage, &TChartPage::SetMaxPointsPerPage).Default(0LL);
  t.Bool("ScaleLastPage", &TChartPage::ScaleLastPage, &TChartPage::SetScaleLastPage).Default(true);
}
