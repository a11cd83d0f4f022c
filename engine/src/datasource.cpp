// Data sources of a series: the list, its checks (valid, not circular), the links
// both ways with free notification, and the refresh from the sources.
#include <algorithm>

#include "engine/errors.h"
#include "engine/function.h"
#include "engine/panel.h"

IMPLEMENT_CLASS(TLumSeriesSource, TComponent)

namespace {
const char* const CircularText = "Circular Series dependences are not allowed";

bool ValidSource(TChartSeries* Series, TComponent* Source) {
  if (auto* s = dynamic_cast<TChartSeries*>(Source)) return Series->IsValidSourceOf(s);
  return dynamic_cast<TLumSeriesSource*>(Source) != nullptr;
}

// Whether Source takes its data, through any chain, from Series.
bool LeadsTo(TComponent* Source, const TChartSeries* Series) {
  if (Source == Series) return true;
  auto* s = dynamic_cast<TChartSeries*>(Source);
  if (!s || !s->HasDataSources()) return false;
  for (TComponent* c : *s->GetDataSources())
    if (LeadsTo(c, Series)) return true;
  return false;
}
}  // namespace

bool TCustomAxisPanel::IsValidDataSource(TChartSeries* ASeries, TComponent* AComponent) {
  return ASeries && AComponent && ValidSource(ASeries, AComponent);
}

// ---- The list ------------------------------------------------------------------
TComponent* TDataSourcesList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)];
}

int TDataSourcesList::IndexOf(const TComponent* Source) const {
  auto it = std::find(items_.begin(), items_.end(), Source);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TDataSourcesList::Add(TComponent* Source) { owner_->InternalAddDataSource(Source); }

// ---- The series' side ----------------------------------------------------------
TDataSourcesList* TChartSeries::GetDataSources() {
  if (!dataSources_) dataSources_ = std::make_unique<TDataSourcesList>(this);
  return dataSources_.get();
}

bool TChartSeries::HasDataSources() const { return dataSources_ && dataSources_->Count() > 0; }

TComponent* TChartSeries::DataSource() const { return HasDataSources() ? dataSources_->items_.front() : nullptr; }

void TChartSeries::CheckCircularSource(TComponent* Source) {
  if (Source && LeadsTo(Source, this)) throw ChartException(CircularText);
}

void TChartSeries::CheckValidSource(TComponent* Value) {
  if (ParentChart() ? ParentChart()->IsValidDataSource(this, Value) : ValidSource(this, Value)) return;
  throw ChartException(
      Format("No valid DataSource: %s", (Value->Name().empty() ? Value->ClassName() : Value->Name()).c_str()));
}

void TChartSeries::InternalAddDataSource(TComponent* Value) {
  if (!Value) return;
  CheckCircularSource(Value);
  CheckValidSource(Value);
  TDataSourcesList* list = GetDataSources();
  if (list->IndexOf(Value) >= 0) return;
  list->items_.push_back(Value);
  if (auto* s = dynamic_cast<TChartSeries*>(Value)) s->linkedSeries_.push_back(this);
  FreeNotification(Value);
}

void TChartSeries::InternalRemoveDataSource(TComponent* Value) {
  if (!dataSources_) return;
  auto& items = dataSources_->items_;
  auto it = std::find(items.begin(), items.end(), Value);
  if (it == items.end()) return;
  items.erase(it);
  if (auto* s = dynamic_cast<TChartSeries*>(Value)) {
    auto& links = s->linkedSeries_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  // The link that told each of the other's end goes; a source component forgets us.
  if (auto* source = dynamic_cast<TLumSeriesSource*>(Value); source && source->series_ == this)
    source->series_ = nullptr;
  RemoveFreeNotification(Value);
}

void TChartSeries::RemoveAllDataSources() {
  while (HasDataSources()) InternalRemoveDataSource(dataSources_->items_.back());
}

void TChartSeries::SetDataSource(TComponent* Value) {
  if (Value && DataSource() == Value && dataSources_->Count() == 1) return;
  if (Value) {
    // Every check before anything changes.
    CheckCircularSource(Value);
    CheckValidSource(Value);
  }
  RemoveAllDataSources();
  if (!Value) return;
  InternalAddDataSource(Value);
  if (auto* source = dynamic_cast<TLumSeriesSource*>(Value))
    if (source->Series() != this) source->SetSeries(this);
  RefreshSeries();
}

void TChartSeries::CheckDataSource() {
  for (TChartSeries* dependent : std::vector<TChartSeries*>(linkedSeries_))
    if (std::find(linkedSeries_.begin(), linkedSeries_.end(), dependent) != linkedSeries_.end())
      dependent->RefreshSeries();
  Repaint();
}

void TChartSeries::ResetValueListRoles() {
  for (TChartValueList* l : valuesList_) l->SetValueSource(std::string());
}

void TChartSeries::SetFunction(TLumFunction* Value) {
  if (Value == function_) return;
  if (TLumFunction* old = function_) {
    function_ = nullptr;
    old->series_ = nullptr;
    delete old;
  }
  if (Value) {
    if (Value->series_ && Value->series_ != this) Value->series_->function_ = nullptr;
    Value->series_ = this;
    function_ = Value;
    RefreshSeries();
  }
  Repaint();
}

void TChartSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomChartElement::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A source going away is no longer read; the points stay as they were.
  InternalRemoveDataSource(AComponent);
  linkedSeries_.erase(std::remove(linkedSeries_.begin(), linkedSeries_.end(), AComponent), linkedSeries_.end());
}

// ---- Source components ----------------------------------------------------------
TLumSeriesSource::~TLumSeriesSource() {
  if (series_) series_->InternalRemoveDataSource(this);
}

void TLumSeriesSource::SetSeries(TChartSeries* Value) {
  if (series_ == Value) return;
  TChartSeries* old = series_;
  series_ = nullptr;
  if (old) {
    old->InternalRemoveDataSource(this);
    RemoveFreeNotification(old);
  }
  series_ = Value;
  if (Value) {
    FreeNotification(Value);
    Value->SetDataSource(this);
  }
}

void TLumSeriesSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == series_) series_ = nullptr;
}

std::vector<TClass>& LumSeriesSources() {
  static std::vector<TClass> sources;
  return sources;
}
