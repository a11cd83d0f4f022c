#include "engine/valuelist.h"

#include <algorithm>
#include <cmath>

#include "engine/series.h"

IMPLEMENT_CLASS_PROPS(TChartValueList, TPersistent)

namespace {
[[noreturn]] void IndexError(int Index) {
  throw EListError(Format("List index out of bounds (%d)", Index));
}
}  // namespace

TChartValueList::TChartValueList(TChartSeries* AOwner, const std::string& AName)
    : owner_(AOwner), name_(AName) {}

TChartValueList::~TChartValueList() = default;

TPersistent* TChartValueList::GetOwner() { return owner_; }

void TChartValueList::SetDateTime(bool Value) {
  if (dateTime_ == Value) return;
  dateTime_ = Value;
  if (owner_) owner_->Repaint();
}

TChartValue TChartValueList::GetValue(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return values_[size_t(Index)];
}

void TChartValueList::SetValue(int Index, TChartValue Value) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  values_[size_t(Index)] = Value;
  modified_ = true;
}

int TChartValueList::Locate(TChartValue Value) const {
  auto it = std::find(values_.begin(), values_.end(), Value);
  return it == values_.end() ? -1 : int(it - values_.begin());
}

void TChartValueList::Recalc() {
  min_ = max_ = total_ = totalAbs_ = 0;
  if (!values_.empty()) {
    min_ = max_ = values_.front();
    for (TChartValue v : values_) {
      if (v < min_) min_ = v;
      if (v > max_) max_ = v;
      total_ += v;
      totalAbs_ += std::fabs(v);
    }
  }
  modified_ = false;
}

TChartValue TChartValueList::GetMinValue() {
  if (modified_) Recalc();
  return min_;
}

TChartValue TChartValueList::GetMaxValue() {
  if (modified_) Recalc();
  return max_;
}

TChartValue TChartValueList::GetTotal() {
  if (modified_) Recalc();
  return total_;
}

TChartValue TChartValueList::GetTotalABS() {
  if (modified_) Recalc();
  return totalAbs_;
}

int TChartValueList::AddChartValue(TChartValue Value) {
  modified_ = true;
  // Appending is the common case (points added in order): test the end first.
  const bool atEnd = values_.empty() || order_ == loNone ||
                     (order_ == loAscending && Value >= values_.back()) ||
                     (order_ == loDescending && Value <= values_.back());
  if (atEnd) {
    values_.push_back(Value);
    return Count() - 1;
  }
  // After the values equal to it, so equal values keep the order they came in.
  auto it = order_ == loAscending ? std::upper_bound(values_.begin(), values_.end(), Value)
                                  : std::upper_bound(values_.begin(), values_.end(), Value,
                                                     [](TChartValue a, TChartValue b) { return a > b; });
  it = values_.insert(it, Value);
  return int(it - values_.begin());
}

void TChartValueList::InsertChartValue(int Index, TChartValue Value) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  values_.insert(values_.begin() + Index, Value);
  modified_ = true;
}

void TChartValueList::AppendValues(const TChartValue* Values, std::size_t Count) {
  values_.insert(values_.end(), Values, Values + Count);
  modified_ = true;
}

void TChartValueList::AppendValues(std::size_t Count, TChartValue Value) {
  values_.insert(values_.end(), Count, Value);
  modified_ = true;
}

void TChartValueList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  values_.erase(values_.begin() + Index);
  modified_ = true;
}

void TChartValueList::Clear() {
  values_.clear();
  modified_ = true;
}

void TChartValueList::FillSequence() {
  for (size_t i = 0; i < values_.size(); ++i) values_[i] = TChartValue(i);
  modified_ = true;
  if (owner_) owner_->NotifyValue(veRefresh, 0);
}

void TChartValueList::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartValueList*>(Source)) {
    order_ = src->order_;
    dateTime_ = src->dateTime_;
    name_ = src->name_;
    valueSource_ = src->valueSource_;
    return;
  }
  TPersistent::Assign(Source);
}

void TChartValueList::DefineProperties(TPropertyTable& t) {
  t.Bool("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime).Default(false);
  t.Str("Name", &TChartValueList::Name, &TChartValueList::SetName);
  t.Enum("Order", &TChartValueList::Order, &TChartValueList::SetOrder, {"loNone", "loAscending", "loDescending"});
  t.Str("ValueSource", &TChartValueList::ValueSource, &TChartValueList::SetValueSource).Default(std::string());
}

// ---------------------------------------------------------------------------
TChartValueList* TChartValueLists::GetValueList(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)];
}

int TChartValueLists::IndexOf(const TChartValueList* List) const {
  auto it = std::find(items_.begin(), items_.end(), List);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartValueLists::Remove(TChartValueList* List) {
  auto it = std::find(items_.begin(), items_.end(), List);
  if (it != items_.end()) items_.erase(it);
}

// ---------------------------------------------------------------------------
std::string TLabelsList::GetLabel(int Index) const {
  return Index >= 0 && Index < Count() ? items_[size_t(Index)] : std::string();
}

void TLabelsList::SetLabel(int Index, const std::string& Text) {
  if (Index < 0) IndexError(Index);
  if (Index >= Count()) {
    if (Text.empty()) return;  // an empty text beyond the end is what it already reads
    items_.resize(size_t(Index) + 1);
  }
  if (items_[size_t(Index)] == Text) return;
  items_[size_t(Index)] = Text;
  if (owner_) owner_->Repaint();
}

void TLabelsList::InsertLabel(int Index, const std::string& Text) {
  if (Index < 0) IndexError(Index);
  if (Index > Count()) items_.resize(size_t(Index));
  items_.insert(items_.begin() + Index, Text);
}

void TLabelsList::Delete(int Index) {
  if (Index >= 0 && Index < Count()) items_.erase(items_.begin() + Index);
}
