#include "engine/groups.h"

#include <algorithm>

#include "engine/errors.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS_PROPS(TSeriesGroup, TCollectionItem)
IMPLEMENT_CLASS(TSeriesGroups, TCollection)

void TSeriesGroup::SetName(const std::string& Value) {
  if (name_ == Value) return;
  name_ = Value;
  Changed(false);
}

void TSeriesGroup::Add(TChartSeries* Series) {
  if (!Series || series_.IndexOf(Series) >= 0) return;
  // Only the chart's own series: they leave the groups when they leave the chart.
  auto* groups = dynamic_cast<TSeriesGroups*>(Collection());
  if (groups && groups->Chart() && Series->ParentChart() != groups->Chart())
    throw ChartException("Series does not belong to the group's chart");
  series_.items_.push_back(Series);
  Changed(false);
}

void TSeriesGroup::Remove(TChartSeries* Series) {
  auto& v = series_.items_;
  const auto it = std::find(v.begin(), v.end(), Series);
  if (it == v.end()) return;
  v.erase(it);
  Changed(false);
}

TSeriesGroupActive TSeriesGroup::Active() const {
  if (series_.AllActive()) return gaYes;
  const bool any = std::any_of(series_.begin(), series_.end(), [](TChartSeries* s) { return s->Active(); });
  return any ? gaSome : gaNo;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value) {
  if (Value != gaSome) series_.SetActiveAll(Value == gaYes);
}

void TSeriesGroup::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TSeriesGroup*>(Source)) {
    SetName(src->name_);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TSeriesGroup::DefineProperties(TPropertyTable& t) {
  t.Str("Name", &TSeriesGroup::Name, &TSeriesGroup::SetName).Default(std::string());
}

// ---------------------------------------------------------------------------
TSeriesGroups::TSeriesGroups(TCustomAxisPanel* AChart) : TCollection(TSeriesGroup::StaticClass()), chart_(AChart) {}

TSeriesGroup* TSeriesGroups::Add(const std::string& Name) {
  auto* group = static_cast<TSeriesGroup*>(TCollection::Add());
  group->SetName(Name);
  return group;
}

TSeriesGroup* TSeriesGroups::GetGroup(int Index) const { return static_cast<TSeriesGroup*>(Items(Index)); }

int TSeriesGroups::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(GetGroup(i)->Name(), Name)) return i;
  return -1;
}

void TSeriesGroups::RemoveSeries(TChartSeries* Series) {
  for (int i = 0; i < Count(); ++i) GetGroup(i)->Remove(Series);
}
