#include "engine/tools.h"

#include <algorithm>

#include "engine/panel.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS_PROPS(TLumCustomTool, TCustomChartElement)
IMPLEMENT_CLASS_PROPS(TLumCustomToolSeries, TLumCustomTool)
IMPLEMENT_CLASS_PROPS(TLumCustomToolAxis, TLumCustomTool)
IMPLEMENT_CLASS(TChartTools, TPersistent)

// ---------------------------------------------------------------------------
TLumCustomTool::TLumCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TLumCustomTool::~TLumCustomTool() { SetParentChart(nullptr); }

void TLumCustomTool::SetParentChart(TCustomAxisPanel* Value) {
  TCustomAxisPanel* old = ParentChart();
  if (Value == old) return;
  if (old) {
    if (list_) {
      auto& v = list_->items_;
      v.erase(std::remove(v.begin(), v.end(), this), v.end());
      list_ = nullptr;
    }
    old->Invalidate();
  }
  TCustomChartElement::SetParentChart(Value);
  if (Value) {
    list_ = ToolListOf(Value);
    if (list_) list_->items_.push_back(this);
    Repaint();
  }
}

TChartTools* TLumCustomTool::ToolListOf(TCustomAxisPanel* Chart) const { return Chart->Tools(); }

void TLumCustomTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TLumCustomTool*>(Source)) showInEditor_ = t->showInEditor_;
  TCustomChartElement::Assign(Source);
}

void TLumCustomTool::DefineProperties(TPropertyTable& t) {
  t.Bool("ShowInEditor", &TLumCustomTool::ShowInEditor, &TLumCustomTool::SetShowInEditor).Default(true);
}

// ---------------------------------------------------------------------------
TLumCustomToolSeries::TLumCustomToolSeries(TComponent* AOwner) : TLumCustomTool(AOwner) {}

TLumCustomToolSeries::~TLumCustomToolSeries() {
  if (series_) series_->RemoveFreeNotification(this);
}

void TLumCustomToolSeries::SetSeries(TChartSeries* Value) {
  if (Value == series_) return;
  if (series_) series_->RemoveFreeNotification(this);
  series_ = Value;
  if (series_) series_->FreeNotification(this);
  Repaint();
}

void TLumCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TLumCustomTool::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == series_) series_ = nullptr;
}

TChartAxis* TLumCustomToolSeries::GetHorizAxis() const {
  if (series_ && series_->ParentChart()) return series_->GetHorizAxis();
  TCustomAxisPanel* c = ParentChart();
  if (!c) return nullptr;
  return !c->BottomAxis()->InUse() && c->TopAxis()->InUse() ? c->TopAxis() : c->BottomAxis();
}

TChartAxis* TLumCustomToolSeries::GetVertAxis() const {
  if (series_ && series_->ParentChart()) return series_->GetVertAxis();
  TCustomAxisPanel* c = ParentChart();
  if (!c) return nullptr;
  return !c->LeftAxis()->InUse() && c->RightAxis()->InUse() ? c->RightAxis() : c->LeftAxis();
}

void TLumCustomToolSeries::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TLumCustomToolSeries*>(Source)) SetSeries(t->series_);
  TLumCustomTool::Assign(Source);
}

void TLumCustomToolSeries::DefineProperties(TPropertyTable&) {}

// ---------------------------------------------------------------------------
TLumCustomToolAxis::TLumCustomToolAxis(TComponent* AOwner) : TLumCustomTool(AOwner) {}

void TLumCustomToolAxis::SetAxis(TChartAxis* Value) {
  pendingAxisID_ = -1;
  if (Value == axis_) return;
  axis_ = Value;
  if (axis_ && axis_->ParentChart()) SetParentChart(axis_->ParentChart());
  Repaint();
}

int TLumCustomToolAxis::AxisID() const {
  if (axis_ && axis_->ParentChart()) return axis_->ParentChart()->Axes()->IndexOf(axis_);
  return pendingAxisID_;
}

void TLumCustomToolAxis::SetAxisID(int Value) {
  TCustomAxisPanel* c = ParentChart();
  if (c && Value >= 0 && Value < c->Axes()->Count()) {
    SetAxis(c->Axes()->GetAxis(Value));
    return;
  }
  if (c && Value < 0) SetAxis(nullptr);
  pendingAxisID_ = Value;
}

void TLumCustomToolAxis::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomTool::SetParentChart(Value);
  // An axis of another chart does not follow the tool.
  if (axis_ && axis_->ParentChart() != Value) axis_ = nullptr;
  if (Value && pendingAxisID_ >= 0 && pendingAxisID_ < Value->Axes()->Count()) SetAxisID(pendingAxisID_);
}

void TLumCustomToolAxis::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TLumCustomToolAxis*>(Source)) {
    if (t->axis_) SetAxis(t->axis_);
    else SetAxisID(t->pendingAxisID_);
  }
  TLumCustomTool::Assign(Source);
}

void TLumCustomToolAxis::DefineProperties(TPropertyTable& t) {
  t.Int("AxisID", &TLumCustomToolAxis::AxisID, &TLumCustomToolAxis::SetAxisID).Default(-1LL);
}

// ---------------------------------------------------------------------------
TLumCustomTool* TChartTools::GetTool(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)];
}

int TChartTools::IndexOf(const TLumCustomTool* Tool) const {
  auto it = std::find(items_.begin(), items_.end(), Tool);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

TLumCustomTool* TChartTools::Add(TLumCustomTool* Tool) {
  if (Tool) Tool->SetParentChart(chart_);
  return Tool;
}

void TChartTools::Exchange(int A, int B) {
  GetTool(A);
  GetTool(B);
  std::swap(items_[size_t(A)], items_[size_t(B)]);
}

void TChartTools::Clear() {
  while (!items_.empty()) delete items_.back();  // a freed tool leaves the list
}
