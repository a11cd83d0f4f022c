#include "analysis/tools_bands.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cstdlib>
#include <utility>
#include <vector>

#include "chart/chart.h"
#include "engine/axis.h"
#include "engine/helpers.h"
#include "platform/typinfo.h"

IMPLEMENT_CLASS_PROPS(TColorLineTool, TLumCustomToolAxis)
IMPLEMENT_CLASS_PROPS(TColorBandTool, TLumCustomToolAxis)
IMPLEMENT_CLASS_PROPS(TGridBandBrush, TChartBrush)
IMPLEMENT_CLASS_PROPS(TGridBandTool, TLumCustomToolAxis)

namespace {
bool Loading(const TComponent* C) { return (C->ComponentState() & (csLoading | csReading)) != 0; }
}  // namespace

// ---------------------------------------------------------------------------
TColorLineTool::TColorLineTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

TCustomAxisPanel* TColorLineTool::Chart() const { return ParentChart() ? ParentChart() : ownerChart_; }

void TColorLineTool::Repaint() {
  if (TCustomAxisPanel* c = Chart()) c->Invalidate();
}

void TColorLineTool::SetParentChart(TCustomAxisPanel* Value) {
  // A band's edge draws on its owner chart and joins no tool list.
  if (!edge_) TLumCustomToolAxis::SetParentChart(Value);
}

void TColorLineTool::SetValue(double Value) {
  const bool restyled = style_ != clCustom && !Loading(this);
  if (restyled) style_ = clCustom;
  if (InvertedDrag()) {
    value_ = Value;
    return;
  }
  if (value_ == Value && !restyled) return;
  value_ = Value;
  Repaint();
}

double TColorLineTool::Clamped(double Value) const {
  TChartAxis* a = Axis();
  if (!a || a->IStartPos() == a->IEndPos()) return Value;
  double lo = a->CalcPosPoint(a->IStartPos()), hi = a->CalcPosPoint(a->IEndPos());
  if (lo > hi) std::swap(lo, hi);
  return std::clamp(Value, lo, hi);
}

double TColorLineTool::CalcValue() const {
  TChartAxis* a = Axis();
  if (!a) return value_;
  double v = value_;
  switch (style_) {
    case clMaximum: v = a->Maximum(); break;
    case clCenter: v = (a->Maximum() + a->Minimum()) * 0.5; break;
    case clMinimum: v = a->Minimum(); break;
    case clCustom: break;
  }
  // Only the drawn place is kept inside: the stored value survives a zoom.
  return allowDrag_ && !noLimitDrag_ ? Clamped(v) : v;
}

bool TColorLineTool::Clicked(int X, int Y) const {
  TCustomAxisPanel* c = Chart();
  TChartAxis* a = Axis();
  if (!c || !a) return false;
  const int p = a->CalcPosValue(CalcValue());
  const TRect& r = c->ChartRect();
  if (a->Horizontal()) return std::abs(X - p) < 3 && Y >= r.Top && Y <= r.Bottom;
  return std::abs(Y - p) < 3 && X >= r.Left && X <= r.Right;
}

void TColorLineTool::DrawPasses(TCanvas3D* C, bool Behind, bool Front) {
  TCustomAxisPanel* c = Chart();
  TChartAxis* a = Axis();
  const int p = a->CalcPosValue(CalcValue());
  const TRect& r = c->ChartRect();
  const int d = c->Width3D();
  // Depth lines mean something only in a 3D view; in 2D the two passes would
  // draw the same line twice.
  const bool depth = draw3D_ && c->View3D();
  C->SetBackMode(cbmTransparent);
  if (a->Horizontal()) {
    if (Behind) {
      if (depth) C->ZLine3D(p, r.Bottom, 0, d);
      if (drawBehind_ || depth) C->VertLine3D(p, r.Top, r.Bottom, d);
    }
    if (Front) {
      if (depth) C->ZLine3D(p, r.Top, 0, d);
      if (!drawBehind_) C->VertLine3D(p, r.Top, r.Bottom, 0);
    }
  } else {
    if (Behind) {
      if (depth) C->ZLine3D(r.Left, p, 0, d);
      if (drawBehind_ || depth) C->HorizLine3D(r.Left, r.Right, p, d);
    }
    if (Front) {
      if (depth) C->ZLine3D(r.Right, p, 0, d);
      if (!drawBehind_) C->HorizLine3D(r.Left, r.Right, p, 0);
    }
  }
}

void TColorLineTool::DrawColorLine(bool Behind, bool Front) {
  if (!Chart() || !Axis()) return;
  TToolDrawing d(Chart());
  if (!d.Ready()) return;
  d.Canvas()->ApplyPen(Pen());
  DrawPasses(d.Canvas(), Behind, Front);
}

void TColorLineTool::DrawInverted() {
  if (!Chart() || !Axis()) return;
  TToolDrawing d(Chart());
  if (!d.Ready()) return;
  d.DrawLinePen(Pen());
  DrawPasses(d.Canvas(), true, true);
}

void TColorLineTool::ChartEvent(TChartToolEvent AEvent) {
  // While moved inverted the paint leaves the line out and draws it not-xor last,
  // so each move erases it exactly.
  if (InvertedDrag()) {
    if (AEvent == cteAfterDraw) DrawInverted();
    return;
  }
  if (AEvent == cteBeforeDrawSeries) DrawColorLine(true, false);
  else if (AEvent == cteAfterDraw) DrawColorLine(false, true);
}

void TColorLineTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState, int X, int Y) {
  TCustomAxisPanel* c = Chart();
  TChartAxis* a = Axis();
  if (!allowDrag_ || !a || !c) return;
  auto alive = life_.Watch();
  switch (AEvent) {
    case cmeDown:
      if (Button != mbLeft) return;
      dragging_ = Clicked(X, Y);
      if (!dragging_) return;
      TakeMouse(c);
      // The next paint leaves the plain line out for the inverted one.
      if (!dragRepaint_) Repaint();
      FireEvent(OnBeginDragLine, this);
      return;
    case cmeMove: {
      if (!dragging_) {
        if (Clicked(X, Y)) TakeMouse(c, a->Horizontal() ? crHSplit : crVSplit);
        else GiveBackCursor(c);
        return;
      }
      double v = a->CalcPosPoint(a->Horizontal() ? X : Y);
      if (!noLimitDrag_) v = Clamped(v);
      TakeMouse(c);
      if (dragRepaint_) {
        SetValue(v);
        FireEvent(OnDragLine, this);
        return;
      }
      if (v == CalcValue()) return;
      DrawInverted();
      style_ = clCustom;
      value_ = v;
      FireEvent(OnDragLine, this);
      if (*alive && InvertedDrag()) DrawInverted();
      return;
    }
    case cmeUp: {
      if (!dragging_) return;
      const bool inverted = InvertedDrag();
      dragging_ = false;
      if (inverted) Repaint();
      FireEvent(OnInternalEndDrag, this);
      if (!*alive) return;
      FireEvent(OnEndDragLine, this);
      return;
    }
  }
}

void TColorLineTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TColorLineTool*>(Source)) {
    allowDrag_ = t->allowDrag_;
    dragRepaint_ = t->dragRepaint_;
    draw3D_ = t->draw3D_;
    drawBehind_ = t->drawBehind_;
    noLimitDrag_ = t->noLimitDrag_;
    style_ = t->style_;
    value_ = t->value_;
  }
  TLumCustomToolAxis::Assign(Source);
}

void TColorLineTool::DefineProperties(TPropertyTable& t) {
  t.Bool("AllowDrag", &TColorLineTool::AllowDrag, &TColorLineTool::SetAllowDrag).Default(true);
  t.Bool("DragRepaint", &TColorLineTool::DragRepaint, &TColorLineTool::SetDragRepaint).Default(false);
  t.Bool("Draw3D", &TColorLineTool::Draw3D, &TColorLineTool::SetDraw3D).Default(true);
  t.Bool("DrawBehind", &TColorLineTool::DrawBehind, &TColorLineTool::SetDrawBehind).Default(false);
  t.Bool("NoLimitDrag", &TColorLineTool::NoLimitDrag, &TColorLineTool::SetNoLimitDrag).Default(false);
  t.Event("OnBeginDragLine", &TColorLineTool::OnBeginDragLine);
  t.Event("OnDragLine", &TColorLineTool::OnDragLine);
  t.Event("OnEndDragLine", &TColorLineTool::OnEndDragLine);
  t.Enum("Style", &TColorLineTool::Style, &TColorLineTool::SetStyle, {"clCustom", "clMaximum", "clCenter", "clMinimum"})
      .Default(0LL);
  t.Float("Value", &TColorLineTool::Value, &TColorLineTool::SetValue);
}

// ---------------------------------------------------------------------------
TColorBandTool::TColorBandTool(TComponent* AOwner)
    : TLumCustomToolAxis(AOwner),
      startLine_(std::make_unique<TColorLineTool>(nullptr)),
      endLine_(std::make_unique<TColorLineTool>(nullptr)) {
  for (TColorLineTool* l : {startLine_.get(), endLine_.get()}) {
    l->edge_ = true;
    l->SetActive(false);
    l->SetDragRepaint(true);
    l->Pen()->OnChange = ChangeHandler();
    l->OnDragLine = TColorLineToolOnDrag(this, &TColorBandTool::LineDragged);
    l->OnInternalEndDrag = TColorLineToolOnDrag(this, &TColorBandTool::LineDragEnded);
  }
}

TColorBandTool::~TColorBandTool() = default;

TLumPicture* TColorBandTool::Picture() const {
  if (!picture_) picture_ = std::make_unique<TLumPicture>(const_cast<TColorBandTool*>(this)->ChangeHandler());
  return picture_.get();
}

void TColorBandTool::SetPicture(TLumPicture* Value) {
  if (!Value) {
    if (!picture_) return;
    picture_.reset();
    Repaint();
    return;
  }
  Picture()->Assign(Value);
}

void TColorBandTool::CopyValuesToLines() {
  startLine_->SetValue(startValue_);
  endLine_->SetValue(endValue_);
}

void TColorBandTool::SetStartValue(double Value) {
  SetDoubleProperty(startValue_, Value);
  CopyValuesToLines();
}

void TColorBandTool::SetEndValue(double Value) {
  SetDoubleProperty(endValue_, Value);
  CopyValuesToLines();
}

void TColorBandTool::SetResizeStart(bool Value) {
  if (Value == startLine_->Active()) return;
  startLine_->SetActive(Value);
  Repaint();
}

void TColorBandTool::SetResizeEnd(bool Value) {
  if (Value == endLine_->Active()) return;
  endLine_->SetActive(Value);
  Repaint();
}

void TColorBandTool::Loaded() {
  TLumCustomToolAxis::Loaded();
  CopyValuesToLines();
}

void TColorBandTool::SetAxis(TChartAxis* Value) {
  TLumCustomToolAxis::SetAxis(Value);
  for (TColorLineTool* l : {startLine_.get(), endLine_.get()}) l->SetAxis(Axis());
}

void TColorBandTool::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomToolAxis::SetParentChart(Value);
  // Leaving for another chart may drop the axis without SetAxis.
  for (TColorLineTool* l : {startLine_.get(), endLine_.get()}) {
    l->SetOwnerChart(Value);
    if (l->Axis() != Axis()) l->SetAxis(Axis());
  }
}

int TColorBandTool::Depth() const {
  TCustomAxisPanel* c = ParentChart();
  return drawBehind_ && c && c->View3D() ? c->Width3D() : 0;
}

TRect TColorBandTool::BoundsRect() const {
  TChartAxis* a = Axis();
  TCustomAxisPanel* c = ParentChart();
  if (!a || !c) return {};
  const double lo = std::min(startValue_, endValue_), hi = std::max(startValue_, endValue_);
  if (lo > a->Maximum() || hi < a->Minimum()) return {};
  int p0 = a->CalcPosValue(lo), p1 = a->CalcPosValue(hi);
  if (p0 > p1) std::swap(p0, p1);
  const int first = std::min(a->IStartPos(), a->IEndPos()), last = std::max(a->IStartPos(), a->IEndPos());
  const TRect& pr = c->ChartRect();
  TRect r;
  if (a->Horizontal()) {
    r = {std::max(first, p0), pr.Top, std::min(last, p1), pr.Bottom};
    if (Pen()->Visible()) ++r.Right;
  } else {
    r = {pr.Left + 1, std::max(first, p0), pr.Right, std::min(last, p1) + 1};
    if (!Pen()->Visible()) ++r.Right, ++r.Bottom;
  }
  return r;
}

bool TColorBandTool::Clicked(int X, int Y) const {
  TCustomAxisPanel* c = ParentChart();
  const TRect r = BoundsRect();
  if (!c || r.Right <= r.Left || r.Bottom <= r.Top) return false;
  const std::array<TPoint, 4> q = c->Canvas()->ProjectRectCorners(r, Depth());
  return PointInPolygon(TPoint{X, Y}, q.data(), 4);
}

void TColorBandTool::DrawBand() {
  TCustomAxisPanel* c = ParentChart();
  if (!c || !Axis()) return;
  const TRect r = BoundsRect();
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
  TToolDrawing d(c);
  if (!d.Ready()) return;
  TCanvas3D* cv = d.Canvas();
  const int z = Depth();
  cv->ApplyBrushWithBack(Brush(), color_);
  cv->ApplyPen(Pen());
  TLumBlend* blend =
      transparency_ > 0 ? cv->BeginBlending(c->View3D() ? cv->ProjectedRectBounds(r, z) : r, transparency_) : nullptr;
  try {
    if (picture_ && !picture_->Empty())
      cv->DrawPicture(cpFront, picture_->FilteredGraphic(), r, z);
    else
      cv->RectangleWithZ(r, z);
  } catch (...) {
    cv->EndBlending(blend);
    throw;
  }
  cv->EndBlending(blend);
  // Flat, both passes together draw the line once.
  const bool flat = !c->View3D();
  for (TColorLineTool* l : {startLine_.get(), endLine_.get()}) {
    if (!l->Active() || l->InvertedDrag()) continue;
    l->value_ = l == startLine_.get() ? startValue_ : endValue_;
    l->style_ = clCustom;
    l->DrawColorLine(flat || drawBehind_, flat || !drawBehind_);
  }
}

void TColorBandTool::ChartEvent(TChartToolEvent AEvent) {
  TChartToolEvent when = cteAfterDraw;
  if (drawBehindAxes_) when = cteBeforeDrawAxes;
  else if (drawBehind_) when = cteBeforeDrawSeries;
  if (AEvent == when) DrawBand();
  if (AEvent == cteAfterDraw)
    for (TColorLineTool* l : {startLine_.get(), endLine_.get()})
      if (l->Active() && l->InvertedDrag()) l->DrawInverted();
}

void TColorBandTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  auto alive = life_.Watch();
  if (startLine_->Active()) {
    startLine_->ChartMouseEvent(AEvent, Button, Shift, X, Y);
    if (!*alive) return;
  }
  if (endLine_->Active() && !c->CancelMouse) {
    endLine_->ChartMouseEvent(AEvent, Button, Shift, X, Y);
    if (!*alive) return;
  }
  if (AEvent == cmeDown) {
    if (OnClick.Assigned() && Clicked(X, Y)) FireEvent(OnClick, this, Button, Shift, X, Y);
  } else if (AEvent == cmeMove) {
    if (cursor_ != crDefault && !c->CancelMouse) {
      if (Clicked(X, Y)) {
        c->SetCursor(cursor_);
        if (!c->Zoom()->Active && !c->Panning()->Active) c->CancelMouse = true;
      } else {
        GiveBackCursor(c);
      }
    }
  }
}

void TColorBandTool::LineDragged(TColorLineTool* Line) {
  if (!Line->DragRepaint()) return;
  if (Line == startLine_.get()) SetStartValue(Line->Value());
  else SetEndValue(Line->Value());
}

void TColorBandTool::LineDragEnded(TColorLineTool* Line) {
  if (!Line->DragRepaint()) {
    if (Line == startLine_.get()) SetStartValue(Line->Value());
    else SetEndValue(Line->Value());
  }
  FireEvent(OnResized, this);
}

void TColorBandTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TColorBandTool*>(Source)) {
    color_ = t->color_;
    cursor_ = t->cursor_;
    drawBehind_ = t->drawBehind_;
    drawBehindAxes_ = t->drawBehindAxes_;
    endValue_ = t->endValue_;
    startValue_ = t->startValue_;
    transparency_ = t->transparency_;
    endLine_->Assign(t->endLine_.get());
    SetPicture(t->picture_.get());
    startLine_->Assign(t->startLine_.get());
  }
  TLumCustomToolAxis::Assign(Source);
}

void TColorBandTool::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TColorBandTool::Color, &TColorBandTool::SetColor).Default((long long)clWhite);
  t.Int("Cursor", &TColorBandTool::Cursor, &TColorBandTool::SetCursor).Default(0LL);
  t.Bool("DrawBehind", &TColorBandTool::DrawBehind, &TColorBandTool::SetDrawBehind).Default(true);
  t.Bool("DrawBehindAxes", &TColorBandTool::DrawBehindAxes, &TColorBandTool::SetDrawBehindAxes).Default(false);
  t.Float("EndValue", &TColorBandTool::EndValue, &TColorBandTool::SetEndValue);
  t.Object("EndLinePen", &TColorBandTool::EndLinePen);
  t.Object("Gradient", &TColorBandTool::Gradient).Stored([](const TObject* o) {
    return static_cast<const TColorBandTool*>(o)->Brush()->HasGradient();
  });
  t.Event("OnClick", &TColorBandTool::OnClick);
  t.Event("OnResized", &TColorBandTool::OnResized);
  t.Object("Picture", &TColorBandTool::Picture).Stored([](const TObject* o) {
    return static_cast<const TColorBandTool*>(o)->HasPicture();
  });
  t.Bool("ResizeEnd", &TColorBandTool::ResizeEnd, &TColorBandTool::SetResizeEnd).Default(false);
  t.Bool("ResizeStart", &TColorBandTool::ResizeStart, &TColorBandTool::SetResizeStart).Default(false);
  t.Object("StartLinePen", &TColorBandTool::StartLinePen);
  t.Float("StartValue", &TColorBandTool::StartValue, &TColorBandTool::SetStartValue);
  t.Int("Transparency", &TColorBandTool::Transparency, &TColorBandTool::SetTransparency).Default(0LL);
}

// ---------------------------------------------------------------------------
TGridBandBrush::TGridBandBrush(TNotifyEvent OnChangeEvent) : TChartBrush(std::move(OnChangeEvent)) {}

void TGridBandBrush::SetTransparency(int Value) { Store(transparency_, std::clamp(Value, 0, 100)); }

void TGridBandBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TGridBandBrush*>(Source)) transparency_ = b->transparency_;
  TChartBrush::Assign(Source);
}

void TGridBandBrush::DefineProperties(TPropertyTable& t) {
  t.Int("Transparency", &TGridBandBrush::Transparency, &TGridBandBrush::SetTransparency).Default(0LL);
}

// ---------------------------------------------------------------------------
namespace {
// The axis' grid hook of one tool; found again by its type to unhook only our own.
struct TGridBandHook {
  TGridBandTool* Tool;
  void operator()(TChartAxis* Sender) const { Tool->DrawGrid(Sender); }
};

void Unhook(TChartAxis* Axis, const TGridBandTool* Tool) {
  if (!Axis) return;
  const auto* h = Axis->OnDrawGrid.Handler.target<TGridBandHook>();
  if (h && h->Tool == Tool) Axis->OnDrawGrid.Clear();
}
}  // namespace

TGridBandTool::TGridBandTool(TComponent* AOwner)
    : TLumCustomToolAxis(AOwner),
      band1_(std::make_unique<TGridBandBrush>(ChangeHandler())),
      band2_(std::make_unique<TGridBandBrush>(ChangeHandler())) {
  band2_->SetColor(clWhite);
  RecordDefaults(band2_.get());
}

TGridBandTool::~TGridBandTool() { Unhook(hooked_, this); }

void TGridBandTool::Rehook() {
  if (hooked_ == Axis()) return;
  Unhook(hooked_, this);
  hooked_ = Axis();
  if (hooked_) hooked_->OnDrawGrid = TEvent<void(TChartAxis*)>(TGridBandHook{this});
}

void TGridBandTool::SetAxis(TChartAxis* Value) {
  TLumCustomToolAxis::SetAxis(Value);
  Rehook();
}

void TGridBandTool::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomToolAxis::SetParentChart(Value);
  Rehook();
}

void TGridBandTool::SetSpan(int Start, int End) {
  if (spanStart_ == Start && spanEnd_ == End) return;
  spanStart_ = Start;
  spanEnd_ = End;
  Repaint();
}

void TGridBandTool::DrawGrid(TChartAxis* Sender) {
  TCustomAxisPanel* c = ParentChart();
  if (!Active() || !c || Sender != Axis()) return;
  std::vector<int> t = Sender->Tick();
  if (t.size() < 2) return;
  if (band1_->Style() == bsClear && band2_->Style() == bsClear) return;
  const bool horiz = Sender->Horizontal();
  // From the top of a vertical axis down, from the right end of a horizontal one
  // leftwards.
  if (horiz) std::sort(t.begin(), t.end(), std::greater<int>());
  else std::sort(t.begin(), t.end());
  const int lo = std::min(Sender->IStartPos(), Sender->IEndPos()), hi = std::max(Sender->IStartPos(), Sender->IEndPos());
  const int dir = horiz ? -1 : 1;  // pixel step along the bands
  std::vector<int> edges;
  if (Sender->GridCentered()) {
    // Bands between the centred lines, the partial ones at both ends clipped to
    // the axis' inner pixels.
    const int n = int(t.size()) - 1;
    const int h = n > 1 ? (t[size_t(n - 1)] - t[size_t(n - 2)]) / 2 : 0;
    const int from = horiz ? hi - 1 : lo + 1, to = horiz ? lo + 1 : hi - 1;
    edges.push_back(from);
    for (int p : t)
      if ((p - h - from) * dir > 0 && (to - (p - h)) * dir > 0) edges.push_back(p - h);
    edges.push_back(to);
  } else {
    const int from = horiz ? hi - 1 : lo + 1, to = horiz ? lo : hi;
    if ((t.front() - from) * dir > 0) edges.push_back(from);
    edges.insert(edges.end(), t.begin(), t.end());
    if ((to - t.back()) * dir > 0) edges.push_back(to);
  }
  const TRect& pr = c->ChartRect();
  int s0 = spanStart_, s1 = spanEnd_;
  if (s0 == 0 && s1 == 0) {
    s0 = horiz ? pr.Top + 1 : pr.Left + 1;
    s1 = horiz ? pr.Bottom : pr.Right;
  }
  TCanvas3D* cv = c->Canvas();
  auto* lc = dynamic_cast<TLumCanvas*>(cv);
  const bool is3D = c->View3D();
  const int z = c->Width3D();
  TColor wall = clNone;
  if (auto* chart = dynamic_cast<TChart*>(c)) wall = chart->BackWall()->Color();
  std::unique_ptr<TLumBlend> blend;
  cv->Pen()->SetStyle(psClear);
  for (size_t i = 1; i < edges.size(); ++i) {
    TGridBandBrush* b = i % 2 == 1 ? band1_.get() : band2_.get();
    if (b->Style() == bsClear) continue;  // still takes its turn
    const int a = std::min(edges[i - 1], edges[i]), e = std::max(edges[i - 1], edges[i]);
    const TRect r = horiz ? TRect{a, s0, e, s1} : TRect{s0, a, s1, e + 1};
    const bool blended = b->Transparency() > 0 && lc;
    if (blended) {
      const TRect area = is3D ? cv->ProjectedRectBounds(r, z) : r;
      if (blend) blend->SetRectangle(area);
      else blend = std::make_unique<TLumBlend>(lc, area);
    }
    const TColor fill = b->Color() == clLumColor ? c->GetDefaultColor(b == band1_.get() ? 0 : 1) : b->Color();
    cv->ApplyBrushColors(b, fill, b->BackColor() == clNone ? wall : b->BackColor());
    if (is3D) cv->RectangleWithZ(r, z);
    else cv->Rectangle({r.Left, r.Top, r.Right + 1, r.Bottom});
    if (blended) blend->DoBlend(b->Transparency());
  }
}

void TGridBandTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TGridBandTool*>(Source)) {
    band1_->Assign(t->band1_.get());
    band2_->Assign(t->band2_.get());
  }
  TLumCustomToolAxis::Assign(Source);
}

void TGridBandTool::DefineProperties(TPropertyTable& t) {
  t.Object("Band1", &TGridBandTool::Band1);
  t.Object("Band2", &TGridBandTool::Band2);
}
