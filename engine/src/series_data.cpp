// The series' point operations beyond adding and clearing (nulls, deletion, copies,
// sorting), its sample values, gallery operations and per-point visual objects.
#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>

#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/panel.h"
#include "engine/series.h"

namespace {
[[noreturn]] void IndexError(int Index) { throw EListError(Format("List index out of bounds (%d)", Index)); }

// The sample values' random source; the main thread alone fills series.
std::mt19937& SampleRandom() {
  static std::mt19937 random;
  return random;
}
unsigned& SampleSeed() {
  static unsigned seed = 0;
  return seed;
}
}  // namespace

// ---- Points ---------------------------------------------------------------------
void TChartSeries::InsertPointExtras(int Index, TColor Color, const std::string& Label) {
  if (Color != clLumColor && !colors_)
    colors_ = std::make_unique<std::vector<TColor>>(size_t(Count() - 1), clLumColor);
  // Lists that fell short (values set without colours) are padded first.
  if (colors_) {
    if (int(colors_->size()) < Index) colors_->resize(size_t(Index), clLumColor);
    colors_->insert(colors_->begin() + Index, Color);
  }
  if (!Label.empty() || !labels_.Empty()) labels_.InsertLabel(Index, Label);
  if (visuals_ && Index < visuals_->Count()) visuals_->Insert(Index);
}

int TChartSeries::AddNull(const std::string& Label) { return AddNullXY(Count(), 0, Label); }

int TChartSeries::AddNullXY(double X, double Y, const std::string& Label) { return AddXY(X, Y, Label, clNone); }

void TChartSeries::Delete(int ValueIndex) {
  if (ValueIndex < 0 || ValueIndex >= Count()) IndexError(ValueIndex);
  for (TChartValueList* l : valuesList_)
    if (ValueIndex < l->Count()) l->Delete(ValueIndex);
  if (colors_ && ValueIndex < int(colors_->size())) colors_->erase(colors_->begin() + ValueIndex);
  labels_.Delete(ValueIndex);
  if (visuals_) visuals_->Delete(ValueIndex);
  marks_->Positions().Delete(ValueIndex);
  if (updateCount_ == 0) {
    NotifyValue(veDelete, ValueIndex);
    Repaint();
  }
}

namespace {
// Source's list that List reads: by List's source name when Roles (data sources),
// else by List's own name; X and Y fall back to Source's X and Y.
TChartValueList* SourceList(TChartSeries* Series, TChartSeries* Source, TChartValueList* List, bool Roles) {
  const std::string& name = Roles && !List->ValueSource().empty() ? List->ValueSource() : List->Name();
  if (TChartValueList* l = Source->GetValueListByName(name)) return l;
  if (List == Series->XValues()) return Source->XValues();
  if (List == Series->YValues()) return Source->YValues();
  return nullptr;
}
}  // namespace

// Appends every point of Source, each list from its counterpart.
static void AppendPointsOf(TChartSeries* Series, TChartSeries* Source, bool Roles) {
  TChartValueList* xs = SourceList(Series, Source, Series->XValues(), Roles);
  TChartValueList* ys = SourceList(Series, Source, Series->YValues(), Roles);
  std::vector<std::pair<TChartValueList*, TChartValueList*>> extras;
  for (TChartValueList* l : Series->ValuesList())
    if (l != Series->XValues() && l != Series->YValues())
      if (TChartValueList* from = SourceList(Series, Source, l, Roles)) extras.push_back({l, from});
  const int n = Source->Count();
  for (int i = 0; i < n; ++i) {
    const int at = Series->AddXY(i < xs->Count() ? xs->GetValue(i) : i, i < ys->Count() ? ys->GetValue(i) : 0,
                                 Source->Labels().GetLabel(i), Source->GetPointColor(i));
    if (at < 0) continue;
    for (auto& [to, from] : extras)
      if (i < from->Count()) to->SetValue(at, from->GetValue(i));
  }
}

void TChartSeries::AssignValues(TChartSeries* Source) {
  if (!Source || Source == this) return;
  ++updateCount_;
  try {
    Clear();
    AppendPointsOf(this, Source, false);
  } catch (...) {
    --updateCount_;
    throw;
  }
  --updateCount_;
  if (updateCount_ == 0) {
    NotifyValue(veRefresh, 0);
    Repaint();
  }
}

void TChartSeries::SortPoints(TChartListOrder Order) {
  const int n = Count();
  if (Order == loNone || n < 2) return;
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::vector<std::string> labels(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) labels[size_t(i)] = labels_.GetLabel(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return Order == loAscending ? labels[size_t(a)] < labels[size_t(b)] : labels[size_t(b)] < labels[size_t(a)];
  });
  PermutePoints(order);
}

void TChartSeries::SortByValues(TChartValueList* List, TChartListOrder Order) {
  if (!List || valuesList_.IndexOf(List) < 0 || Order == loNone) return;
  List->SetOrder(Order);
  const int n = Count();
  if (n < 2 || List->Count() < n) return;
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  const double* v = List->Values().data();
  if (Order == loAscending)
    std::stable_sort(order.begin(), order.end(), [v](int a, int b) { return v[a] < v[b]; });
  else
    std::stable_sort(order.begin(), order.end(), [v](int a, int b) { return v[b] < v[a]; });
  PermutePoints(order);
}

void TChartSeries::PermutePoints(const std::vector<int>& Order) {
  const int n = int(Order.size());
  std::vector<double> moved(Order.size());
  for (TChartValueList* l : valuesList_) {
    if (l->Count() < n) continue;
    const double* old = l->Values().data();
    for (int i = 0; i < n; ++i) moved[size_t(i)] = old[Order[size_t(i)]];
    for (int i = 0; i < n; ++i) l->SetValue(i, moved[size_t(i)]);
  }
  if (colors_) {
    colors_->resize(size_t(n), clLumColor);
    std::vector<TColor> old = *colors_;
    for (int i = 0; i < n; ++i) (*colors_)[size_t(i)] = old[size_t(Order[size_t(i)])];
  }
  if (!labels_.Empty()) {
    std::vector<std::string> old(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) old[size_t(i)] = labels_.GetLabel(i);
    labels_.Clear();
    for (int i = 0; i < n; ++i) labels_.InsertLabel(i, old[size_t(Order[size_t(i)])]);
  }
  if (visuals_) visuals_->Permute(Order);
  marks_->Positions().Permute(Order);
  // X no longer in its order: later additions append and the visible range is not
  // searched for as if it were sorted.
  const auto& xs = xValues_->Values();
  if (xValues_->Order() != loNone && !std::is_sorted(xs.begin(), xs.end(), [&](double a, double b) {
        return xValues_->Order() == loAscending ? a < b : a > b;
      }))
    xValues_->SetOrder(loNone);
  NotifyValue(veRefresh, 0);
  Repaint();
}

int TChartSeries::DataStorageFlags(const TChartSeries* ASeries) {
  if (!ASeries) return 0;
  int flags = 0;
  const auto& xs = ASeries->NotMandatoryValueList()->Values();
  for (size_t i = 0; i < xs.size(); ++i)
    if (xs[i] != double(i)) {
      flags |= dsfXValues;
      break;
    }
  if (ASeries->colors_)
    for (TColor c : *ASeries->colors_)
      if (c != clLumColor) {
        flags |= dsfColors;
        break;
      }
  for (int i = 0; i < ASeries->labels_.Count(); ++i)
    if (!ASeries->labels_.GetLabel(i).empty()) {
      flags |= dsfLabels;
      break;
    }
  return flags;
}

double TChartSeries::MinZValue() const {
  if (hasZValues_)
    if (TChartValueList* z = GetValueListByName("Z")) return z->GetMinValue();
  return zOrder_;
}

double TChartSeries::MaxZValue() const {
  if (hasZValues_)
    if (TChartValueList* z = GetValueListByName("Z")) return z->GetMaxValue();
  return zOrder_;
}

int TChartSeries::Clicked(int X, int Y) {
  (void)X;
  (void)Y;
  return -1;
}

std::string TChartSeries::NameOrDefault() const {
  if (!Name().empty()) return Name();
  const int index = ParentChart() ? ParentChart()->SeriesList().IndexOf(this) : -1;
  return LumMsg_DefaultSeriesName + " " + IntToStr(index >= 0 ? index : 0);
}

// ---- Sample values ---------------------------------------------------------------
void TChartSeries::SetRandomSeed(unsigned Seed) { SampleSeed() = Seed; }

void TChartSeries::ReseedRandom() {
  SampleRandom().seed(SampleSeed() ? SampleSeed()
                                   : unsigned(std::chrono::steady_clock::now().time_since_epoch().count()));
}

double TChartSeries::RandomValue(int Limit) {
  if (Limit < 1) return 0;
  return double(std::uniform_int_distribution<int>(0, Limit - 1)(SampleRandom()));
}

void TChartSeries::CalcRandomBounds(int NumValues, double& tmpX, double& StepX, double& tmpY, double& MinY,
                                    double& DifY) const {
  double minX = 0, maxX = NumValues > 1 ? NumValues - 1 : 0, maxY = 1000;
  MinY = 0;
  // Axes whose range was set by hand keep the samples inside it.
  if (TChartAxis* h = ParentChart() ? GetHorizAxis() : nullptr)
    if (!h->Automatic() && h->Maximum() > h->Minimum()) {
      minX = h->Minimum();
      maxX = h->Maximum();
    }
  if (TChartAxis* v = ParentChart() ? GetVertAxis() : nullptr)
    if (!v->Automatic() && v->Maximum() > v->Minimum()) {
      MinY = v->Minimum();
      maxY = v->Maximum();
    }
  tmpX = minX;
  StepX = NumValues > 1 ? (maxX - minX) / (NumValues - 1) : 1;
  DifY = maxY - MinY;
  tmpY = MinY + DifY / 2;
}

void TChartSeries::AddSampleValues(int NumValues) {
  if (NumValues <= 0) NumValues = randomSampleCount_ > 0 ? randomSampleCount_ : NumSampleValues();
  Clear();
  ReseedRandom();
  double x, stepX, y, minY, difY;
  CalcRandomBounds(NumValues, x, stepX, y, minY, difY);
  BeginUpdate();
  try {
    // A random walk inside the Y bounds.
    const int stepLimit = std::max(1, int(difY / 5));
    y = minY + RandomValue(int(difY));
    for (int i = 0; i < NumValues; ++i) {
      AddXY(x, y);
      x += stepX;
      y = std::clamp(y + RandomValue(stepLimit) - stepLimit / 2, minY, minY + difY);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- Gallery ---------------------------------------------------------------------
void TChartSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  if (AddSubChart) AddSubChart("Normal");
}

void TChartSeries::PrepareForGallery(bool IsEnabled) {
  // Thumbnails are small: few, small marks close to their points.
  marks_->SetVisible(false);
  marks_->Font()->SetSize(7);
  marks_->SetDrawEvery(2);
  marks_->Callout()->SetLength(4);
  const int index = ParentChart() ? ParentChart()->SeriesList().IndexOf(this) : 0;
  SetSeriesColor(IsEnabled && ParentChart() ? ParentChart()->GetDefaultColor(std::max(0, index)) : clSilver);
}

void TChartSeries::SetChartView3D(bool Value) {
  if (ParentChart()) ParentChart()->SetView3D(Value);
}

// ---- Visual objects ----------------------------------------------------------------
TVisualsList* TChartSeries::Visuals() {
  if (!visuals_) visuals_ = std::make_unique<TVisualsList>();
  return visuals_.get();
}

TPersistent* TVisualsList::GetItem(int Index) {
  if (Index < 0) IndexError(Index);
  if (Index < Count() && items_[size_t(Index)]) return items_[size_t(Index)].get();
  TPersistent* made = creator_ ? creator_(Index) : nullptr;
  if (made) SetItem(Index, made);
  return made;
}

void TVisualsList::SetItem(int Index, TPersistent* Value) {
  if (Index < 0) IndexError(Index);
  if (Index >= Count()) {
    if (!Value) return;
    items_.resize(size_t(Index) + 1);
  }
  items_[size_t(Index)].reset(Value);
}

void TVisualsList::Insert(int Index) {
  if (Index >= 0 && Index <= Count()) items_.insert(items_.begin() + Index, nullptr);
}

void TVisualsList::Delete(int Index) {
  if (Index >= 0 && Index < Count()) items_.erase(items_.begin() + Index);
}

void TVisualsList::Permute(const std::vector<int>& Order) {
  std::vector<std::unique_ptr<TPersistent>> old(std::move(items_));
  items_.clear();
  items_.resize(Order.size());
  for (size_t i = 0; i < Order.size(); ++i)
    if (size_t(Order[i]) < old.size()) items_[i] = std::move(old[size_t(Order[i])]);
  while (!items_.empty() && !items_.back()) items_.pop_back();
}

// ---- Refresh from the data sources -------------------------------------------------
void TChartSeries::RefreshFromSources() {
  if (refreshing_ || (!HasDataSources() && !(function_ && function_->NoSourceRequired()))) return;
  std::vector<TChartSeries*> sources;
  if (dataSources_)
    for (TComponent* c : *dataSources_)
      if (auto* s = dynamic_cast<TChartSeries*>(c))
        if (!function_ || function_->IsValidSource(s)) sources.push_back(s);
  refreshing_ = true;
  ++updateCount_;
  try {
    Clear();
    if (function_) function_->AddPoints(sources);
    else
      for (TChartSeries* s : sources) AppendPointsOf(this, s, true);
  } catch (...) {
    --updateCount_;
    refreshing_ = false;
    throw;
  }
  --updateCount_;
  refreshing_ = false;
}
