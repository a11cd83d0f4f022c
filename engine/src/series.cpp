#include "engine/series.h"

#include <algorithm>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TChartSeries, TCustomChartElement)

// ---------------------------------------------------------------------------
TChartSeries::TChartSeries(TComponent* AOwner)
    : TCustomChartElement(AOwner),
      xValues_(std::make_unique<TChartValueList>(this, "X")),
      yValues_(std::make_unique<TChartValueList>(this, "Y")),
      labels_(this),
      marks_(std::make_unique<TSeriesMarks>(this)) {
  xValues_->SetOrder(loAscending);
  valuesList_.Add(xValues_.get());
  valuesList_.Add(yValues_.get());
}

TChartSeries::~TChartSeries() {
  if (function_) {
    function_->series_ = nullptr;
    delete function_;
  }
  RemoveAllDataSources();
  for (TChartSeries* dependent : std::vector<TChartSeries*>(linkedSeries_)) dependent->InternalRemoveDataSource(this);
  if (ParentChart()) ParentChart()->InternalRemoveSeries(this);
}

TChartValueList* TChartSeries::GetValueListByName(const std::string& Name) const {
  for (TChartValueList* l : valuesList_)
    if (SameText(l->Name(), Name)) return l;
  return nullptr;
}

TColor TChartSeries::GetPointColor(int ValueIndex) const {
  if (colors_ && ValueIndex >= 0 && ValueIndex < int(colors_->size())) return (*colors_)[size_t(ValueIndex)];
  return clLumColor;
}

bool TChartSeries::IsNull(int ValueIndex) const { return GetPointColor(ValueIndex) == clNone; }

TColor TChartSeries::GetValueColor(int ValueIndex) const {
  TColor c = GetPointColor(ValueIndex);
  if (c != clLumColor) return c;
  if (colorEachPoint_ && ParentChart()) return ParentChart()->GetDefaultColor(ValueIndex);
  return SeriesColor();
}

void TChartSeries::SetValueColor(int ValueIndex, TColor Value) {
  if (ValueIndex < 0 || ValueIndex >= Count())
    throw EListError(Format("List index out of bounds (%d)", ValueIndex));
  if (!colors_) {
    if (Value == clLumColor) return;
    colors_ = std::make_unique<std::vector<TColor>>(size_t(Count()), clLumColor);
  }
  (*colors_)[size_t(ValueIndex)] = Value;
  Repaint();
}

double TChartSeries::MinXValue() const { return xValues_->GetMinValue(); }
double TChartSeries::MaxXValue() const { return xValues_->GetMaxValue(); }
double TChartSeries::MinYValue() const { return yValues_->GetMinValue(); }
double TChartSeries::MaxYValue() const { return yValues_->GetMaxValue(); }

int TChartSeries::AddXY(double X, double Y, const std::string& Label, TColor Color) {
  if (OnBeforeAdd.Assigned() && !OnBeforeAdd(this)) return -1;
  const int oldCount = Count();
  // A horizontal series keeps its positions (Y) in order instead of its X.
  const bool byY = xValues_->Order() == loNone && yValues_->Order() != loNone;
  const int index = byY ? yValues_->AddChartValue(Y) : xValues_->AddChartValue(X);
  if (byY)
    xValues_->InsertChartValue(index, X);
  else
    yValues_->InsertChartValue(index, Y);
  for (TChartValueList* l : valuesList_)
    if (l != xValues_.get() && l != yValues_.get()) l->InsertChartValue(index, l->TakeTempValue());
  (void)oldCount;
  InsertPointExtras(index, Color, Label);
  if (updateCount_ == 0) {
    NotifyValue(veAdd, index);
    Repaint();
  }
  return index;
}

void TChartSeries::AppendXY(const double* X, const double* Y, std::size_t N) {
  if (N == 0) return;
  // Where AddXY would put each point: the ordered list's end, every time?
  const bool byY = xValues_->Order() == loNone && yValues_->Order() != loNone;
  const TChartValueList* key = byY ? yValues_.get() : xValues_.get();
  const double* k = byY ? Y : X;
  bool atEnds = true;
  if (key->Order() == loAscending) {
    atEnds = key->Count() == 0 || k[0] >= key->Values().back();
    for (std::size_t i = 1; atEnds && i < N; ++i) atEnds = k[i] >= k[i - 1];
  } else if (key->Order() == loDescending) {
    atEnds = key->Count() == 0 || k[0] <= key->Values().back();
    for (std::size_t i = 1; atEnds && i < N; ++i) atEnds = k[i] <= k[i - 1];
  }
  const int n = Count();
  bool plain = atEnds && !OnBeforeAdd.Assigned() && !colors_ && labels_.Empty() && (!visuals_ || visuals_->Count() <= n);
  for (const TChartValueList* l : valuesList_) plain = plain && l->Count() == n;
  if (!plain) {
    for (std::size_t i = 0; i < N; ++i) AddXY(X[i], Y[i]);
    return;
  }
  xValues_->AppendValues(X, N);
  yValues_->AppendValues(Y, N);
  for (TChartValueList* l : valuesList_)
    if (l != xValues_.get() && l != yValues_.get()) {
      l->AppendValues(1, l->TakeTempValue());
      l->AppendValues(N - 1, 0);
    }
}

void TChartSeries::Clear() {
  for (TChartValueList* l : valuesList_) l->Clear();
  colors_.reset();
  labels_.Clear();
  if (visuals_) visuals_->Clear();
  marks_->Positions().Clear();  // a custom mark place belongs to the point it was set for
  firstIndex_ = lastIndex_ = -1;
  if (OnClearValues.Assigned()) OnClearValues(this);
  NotifyValue(veClear, -1);
  if (function_) function_->ClearOutput();
  if (Active() && ParentChart() && !ParentChart()->destroying_) Repaint();
}

void TChartSeries::NotifyValue(TValueEvent ValueEvent, int ValueIndex) {
  if (ValueEvent == veAdd && OnAfterAdd.Assigned()) OnAfterAdd(this, ValueIndex);
  NotifyListeners(seDataChanged);
}

void TChartSeries::NotifyListeners(TLumSeriesEventStyle Event) {
  if (ParentChart()) ParentChart()->BroadcastListenerEvent(this, Event);
}

TColor TChartSeries::SeriesColor() const { return color_ != clLumColor ? color_ : rememberedColor_; }

void TChartSeries::SetSeriesColor(TColor Value) {
  if (color_ == clLumColor && Value == rememberedColor_) return;
  rememberedColor_ = Value;
  if (SetColorProperty(color_, Value)) NotifyListeners(seRepaint);
}

void TChartSeries::SetColorEachPoint(bool Value) {
  if (SetBooleanProperty(colorEachPoint_, Value)) NotifyListeners(seRepaint);
}
void TChartSeries::SetTitle(const std::string& Value) {
  if (SetStringProperty(title_, Value)) NotifyListeners(seChangeTitle);
}
void TChartSeries::SetShowInLegend(bool Value) {
  if (SetBooleanProperty(showInLegend_, Value)) NotifyListeners(seRepaint);
}

void TChartSeries::SetTreatNulls(TTreatNullsStyle Value) { SetProperty(treatNulls_, Value); }

void TChartSeries::SetValueFormat(const std::string& Value) { SetStringProperty(valueFormat_, Value); }

std::string TChartSeries::GetTitleOrName() const {
  if (!title_.empty()) return title_;
  return NameOrDefault();
}

void TChartSeries::SetActive(bool Value) {
  if (Value == Active()) return;
  TCustomChartElement::SetActive(Value);
  NotifyListeners(seRepaint);
}

void TChartSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == ParentChart()) return;
  // Custom axes belong to the chart left behind (and may be freed with it).
  if (customHorizAxis_) SetCustomHorizAxis(nullptr);
  if (customVertAxis_) SetCustomVertAxis(nullptr);
  if (ParentChart()) ParentChart()->InternalRemoveSeries(this);
  if (Value) Value->InternalAddSeries(this);
}

// ---- Axes -------------------------------------------------------------------
void TChartSeries::SetHorizAxis(THorizAxis Value) { SetProperty(horizAxis_, Value); }

void TChartSeries::SetVertAxis(TVertAxis Value) { SetProperty(vertAxis_, Value); }

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value) {
  customHorizAxis_ = Value;
  SetHorizAxis(Value ? aCustomHorizAxis : horizAxis_ == aCustomHorizAxis ? aBottomAxis : horizAxis_);
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value) {
  customVertAxis_ = Value;
  SetVertAxis(Value ? aCustomVertAxis : vertAxis_ == aCustomVertAxis ? aLeftAxis : vertAxis_);
  Repaint();
}

TChartAxis* TChartSeries::GetHorizAxis() const {
  if (!ParentChart()) return nullptr;
  if (horizAxis_ == aCustomHorizAxis && customHorizAxis_) return customHorizAxis_;
  return horizAxis_ == aTopAxis ? ParentChart()->TopAxis() : ParentChart()->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
  if (!ParentChart()) return nullptr;
  if (vertAxis_ == aCustomVertAxis && customVertAxis_) return customVertAxis_;
  return vertAxis_ == aRightAxis ? ParentChart()->RightAxis() : ParentChart()->LeftAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* Axis) const {
  const TCustomAxisPanel* c = ParentChart();
  if (!c || !Axis || !UseAxis()) return false;
  if (Axis->IsCustom())
    return (horizAxis_ == aCustomHorizAxis && Axis == customHorizAxis_) ||
           (vertAxis_ == aCustomVertAxis && Axis == customVertAxis_);
  if (Axis == c->BottomAxis()) return horizAxis_ == aBottomAxis || horizAxis_ == aBothHorizAxis;
  if (Axis == c->TopAxis()) return horizAxis_ == aTopAxis || horizAxis_ == aBothHorizAxis;
  if (Axis == c->LeftAxis()) return vertAxis_ == aLeftAxis || vertAxis_ == aBothVertAxis;
  if (Axis == c->RightAxis()) return vertAxis_ == aRightAxis || vertAxis_ == aBothVertAxis;
  return false;
}

// ---- Positions ----------------------------------------------------------------
namespace {
TChartAxis* NeedAxis(TChartAxis* Axis) {
  if (!Axis) throw ChartException("Series has no parent chart");
  return Axis;
}
}  // namespace

int TChartSeries::CalcXPosValue(double Value) const { return NeedAxis(GetHorizAxis())->CalcPosValue(Value); }
int TChartSeries::CalcYPosValue(double Value) const { return NeedAxis(GetVertAxis())->CalcPosValue(Value); }
int TChartSeries::CalcXPos(int ValueIndex) const { return CalcXPosValue(GetXValue(ValueIndex)); }
int TChartSeries::CalcYPos(int ValueIndex) const { return CalcYPosValue(GetYValue(ValueIndex)); }
double TChartSeries::XScreenToValue(int ScreenPos) const { return NeedAxis(GetHorizAxis())->CalcPosPoint(ScreenPos); }
double TChartSeries::YScreenToValue(int ScreenPos) const { return NeedAxis(GetVertAxis())->CalcPosPoint(ScreenPos); }

void TChartSeries::CalcPosition(int ValueIndex, int& X, int& Y) const {
  X = CalcXPos(ValueIndex);
  Y = CalcYPos(ValueIndex);
}

void TChartSeries::CalcPositions(int First, int Count, int* Xs, int* Ys) const {
  if (Count <= 0) return;
  if (First < 0 || First > this->Count() - Count)
    throw EListError(Format("List index out of bounds (%d)", First < 0 ? First : First + Count - 1));
  TChartAxis* horiz = NeedAxis(GetHorizAxis());
  TChartAxis* vert = NeedAxis(GetVertAxis());
  horiz->CalcPosValues(xValues_->Values().data() + First, Count, Xs);
  vert->CalcPosValues(yValues_->Values().data() + First, Count, Ys);
}

void TChartSeries::SetZPositions(int AStart, int AMiddle, int AEnd) {
  startZ_ = AStart;
  middleZ_ = AMiddle;
  endZ_ = AEnd;
}

// ---- Drawing --------------------------------------------------------------------
void TChartSeries::CalcFirstLastVisibleIndex() {
  const int n = Count();
  if (n == 0) {
    firstIndex_ = lastIndex_ = -1;
    return;
  }
  firstIndex_ = 0;
  lastIndex_ = n - 1;
  TChartAxis* axis = GetHorizAxis();
  if (!axis || xValues_->Order() != loAscending) return;
  const auto& v = xValues_->Values();
  // Keep one point beyond each end so lines run on to the edge of the plot.
  int first = int(std::lower_bound(v.begin(), v.end(), axis->Minimum()) - v.begin());
  int last = int(std::upper_bound(v.begin(), v.end(), axis->Maximum()) - v.begin()) - 1;
  firstIndex_ = std::max(0, std::min(first - 1, n - 1));
  lastIndex_ = std::min(n - 1, std::max(last + 1, firstIndex_));
}

void TChartSeries::DrawValue(int) {}

void TChartSeries::DrawAllValues() {
  if (firstIndex_ < 0) return;
  if (DrawValuesForward())
    for (int i = firstIndex_; i <= lastIndex_; ++i) DrawValue(i);
  else
    for (int i = lastIndex_; i >= firstIndex_; --i) DrawValue(i);
}

// Visible marks stand above their points: the highest point's mark needs its height
// and callout above the plot's top, the first and last marks half their width beside
// its ends. Only those few marks are measured, so the cost does not grow with the points.
void TChartSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  LeftMargin = RightMargin = 0;
  if (!marks_->Visible() || Count() == 0 || !ParentChart()) return;
  auto half = [&](int i) { return IsNull(i) ? 0 : marks_->MarkSize(GetMarkText(i)).cx / 2 + 1; };
  const bool ascending = XValues()->Order() != loDescending;
  LeftMargin = half(ascending ? 0 : Count() - 1);
  RightMargin = half(ascending ? Count() - 1 : 0);
}

void TChartSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TopMargin = BottomMargin = 0;
  if (!marks_->Visible() || Count() == 0 || !ParentChart()) return;
  const int top = YValues()->Locate(YValues()->MaxValue());
  if (top >= 0 && !IsNull(top)) TopMargin = marks_->MarkSize(GetMarkText(top)).cy + marks_->Callout()->Length() + 1;
}

TCanvas3D* TChartSeries::ParentCanvas() const { return ParentChart() ? ParentChart()->Canvas() : nullptr; }

// ---- Updates ------------------------------------------------------------------
void TChartSeries::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries() {
  if (updateCount_ != 0) return;
  RefreshFromSources();
  NotifyValue(veRefresh, 0);
  CheckDataSource();
}

void TChartSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartSeries*>(Source)) {
    TCustomChartElement::Assign(Source);
    color_ = src->color_;
    rememberedColor_ = src->rememberedColor_;
    colorEachPoint_ = src->colorEachPoint_;
    title_ = src->title_;
    showInLegend_ = src->showInLegend_;
    treatNulls_ = src->treatNulls_;
    valueFormat_ = src->valueFormat_;
    percentFormat_ = src->percentFormat_;
    horizAxis_ = src->horizAxis_;
    vertAxis_ = src->vertAxis_;
    cursor_ = src->cursor_;
    depth_ = src->depth_;
    legendTitle_ = src->legendTitle_;
    showInEditor_ = src->showInEditor_;
    locked_ = src->locked_;
    randomSampleCount_ = src->randomSampleCount_;
    xValues_->Assign(src->xValues_.get());
    yValues_->Assign(src->yValues_.get());
    marks_->Assign(src->marks_.get());
    Repaint();
    return;
  }
  TCustomChartElement::Assign(Source);
}

void TChartSeries::DefineProperties(TPropertyTable& t) {
  t.Bool("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint).Default(false);
  t.Int("Cursor", &TChartSeries::Cursor, &TChartSeries::SetCursor).Default((long long)crDefault);
  t.Int("Depth", &TChartSeries::Depth, &TChartSeries::SetDepth).Default(-1LL);
  t.Str("LegendTitle", &TChartSeries::LegendTitle, &TChartSeries::SetLegendTitle).Default(std::string());
  t.Int("RandomSampleCount", &TChartSeries::RandomSampleCount, &TChartSeries::SetRandomSampleCount).Default(0LL);
  t.Bool("ShowInEditor", &TChartSeries::ShowInEditor, &TChartSeries::SetShowInEditor).Default(true);
  t.Int("Locked", &TChartSeries::Locked, &TChartSeries::SetLocked).Default(0LL);
  t.Enum("HorizAxis", &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis,
         {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"}).Default((long long)aBottomAxis);
  t.Object("Marks", &TChartSeries::Marks);
  t.Color("SeriesColor", &TChartSeries::SeriesColor, &TChartSeries::SetSeriesColor);
  t.Bool("ShowInLegend", &TChartSeries::ShowInLegend, &TChartSeries::SetShowInLegend).Default(true);
  t.Str("Title", &TChartSeries::Title, &TChartSeries::SetTitle).Default(std::string());
  t.Enum("TreatNulls", &TChartSeries::TreatNulls, &TChartSeries::SetTreatNulls,
         {"tnDontPaint", "tnSkip", "tnIgnore"}).Default((long long)tnDontPaint);
  t.Str("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat).Default(std::string("#,##0.###"));
  t.Str("PercentFormat", &TChartSeries::PercentFormat, &TChartSeries::SetPercentFormat)
      .Default(std::string("##0.## %"));
  t.Enum("VertAxis", &TChartSeries::VertAxis, &TChartSeries::SetVertAxis,
         {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"}).Default((long long)aLeftAxis);
  t.Object("XValues", &TChartSeries::XValues);
  t.Object("YValues", &TChartSeries::YValues);
  t.Event("OnAfterAdd", &TChartSeries::OnAfterAdd);
  t.Event("OnBeforeAdd", &TChartSeries::OnBeforeAdd);
  t.Event("OnClearValues", &TChartSeries::OnClearValues);
}
