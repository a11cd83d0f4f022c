#include "analysis/tools_view.h"

#include <cmath>
#include <cstdlib>

#include "engine/axis.h"
#include "engine/series.h"
#include "platform/stdctrls.h"

IMPLEMENT_CLASS_PROPS(TRotateTool, TLumCustomTool)
IMPLEMENT_CLASS_PROPS(TAxisArrowTool, TLumCustomToolAxis)
IMPLEMENT_CLASS_PROPS(TAxisScrollTool, TLumCustomToolAxis)
IMPLEMENT_CLASS_PROPS(TChartImageTool, TLumCustomToolSeries)
IMPLEMENT_CLASS_PROPS(TClipSeriesTool, TLumCustomToolSeries)

namespace {
// The chart's axis list still holds the axis (a custom axis may go meanwhile).
bool ChartHasAxis(TCustomAxisPanel* Chart, const TChartAxis* Axis) {
  for (TChartAxis* a : *Chart->Axes())
    if (a == Axis) return true;
  return false;
}
}  // namespace

// ---------------------------------------------------------------------------
TRotateTool::TRotateTool(TComponent* AOwner) : TLumCustomTool(AOwner) {
  Pen()->SetVisible(false);
  Pen()->SetColor(clWhite);
  Pen()->SetMode(pmXor);
  RecordDefaults(Pen());
}

TRotateTool::~TRotateTool() {
  if (dragging_) {
    dragging_ = false;
    EndDrag(true);
  }
  timer_.reset();
}

void TRotateTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TRotateTool*>(Source)) {
    button_ = t->button_;
    cursor_ = t->cursor_;
    inertia_ = t->inertia_;
    inverted_ = t->inverted_;
    speed_ = t->speed_;
    style_ = t->style_;
  }
  TLumCustomTool::Assign(Source);
}

void TRotateTool::DefineProperties(TPropertyTable& t) {
  t.Enum("Button", &TRotateTool::Button, &TRotateTool::SetButton, {"mbLeft", "mbRight", "mbMiddle"}).Default(0);
  t.Int("Cursor", &TRotateTool::Cursor, &TRotateTool::SetCursor).Default(crLumHand);
  t.Int("Inertia", &TRotateTool::Inertia, &TRotateTool::SetInertia).Default(0LL);
  t.Bool("Inverted", &TRotateTool::Inverted, &TRotateTool::SetInverted).Default(false);
  t.Event("OnRotate", &TRotateTool::OnRotate);
  t.Int("Speed", &TRotateTool::Speed, &TRotateTool::SetSpeed).Default(50LL);
  t.Enum("Style", &TRotateTool::Style, &TRotateTool::SetStyle, {"rsAll", "rsRotation", "rsElevation"}).Default(0);
}

void TRotateTool::EndDrag(bool Repaint) {
  TCustomAxisPanel* c = ParentChart();
  outlined_ = false;
  if (autoRepaintTaken_) {
    autoRepaintTaken_ = false;
    // A chart being freed keeps its repaints off.
    if (c && !c->Destroying()) {
      c->SetAutoRepaint(savedRepaint_);
      if (Repaint) c->Invalidate();
    }
  }
  if (cursorTaken_) {
    cursorTaken_ = false;
    if (Screen) Screen->SetCursor(savedCursor_);
  }
}

void TRotateTool::SetActive(bool Value) {
  if (!Value) {
    StopTimer();
    if (dragging_) {
      dragging_ = false;
      EndDrag(true);
    }
  }
  TLumCustomTool::SetActive(Value);
}

void TRotateTool::SetParentChart(TCustomAxisPanel* Value) {
  if (Value != ParentChart()) {
    StopTimer();
    if (dragging_) {
      dragging_ = false;
      EndDrag(true);
    }
  }
  TLumCustomTool::SetParentChart(Value);
}

bool TRotateTool::Turning() const { return timer_ && timer_->Enabled(); }

void TRotateTool::StopTimer() {
  if (timer_) timer_->SetEnabled(false);
}

void TRotateTool::ApplySteps(double Rotation, double Elevation) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  TView3DOptions* v = c->View3DOptions();
  v->SetOrthogonal(false);
  auto wrap = [](double A) { return A >= 360 ? A - 360 : A < 0 ? A + 360 : A; };
  const bool turn = style_ != rsElevation, tilt = style_ != rsRotation;
  if (turn) v->SetRotationFloat(wrap(v->RotationFloat() + Rotation));
  if (!tilt) return;
  if (c->Canvas()->SupportsFullRotation()) {
    v->SetElevationFloat(wrap(v->ElevationFloat() + Elevation));
  } else if (Elevation < 0) {
    // Seen from below or behind the chart would paint hidden parts over visible ones.
    v->SetElevationFloat(std::max(270.0, v->ElevationFloat() + Elevation));
  } else if (Elevation > 0) {
    v->SetElevationFloat(std::min(360.0, v->ElevationFloat() + Elevation));
  }
}

void TRotateTool::DrawOutline() {
  TCustomAxisPanel* c = ParentChart();
  TToolDrawing d(c);
  if (!d.Ready()) return;
  TCanvas3D* cv = d.Canvas();
  cv->ApplyPen(Pen());
  cv->Pen()->SetMode(pmXor);
  cv->Brush()->SetStyle(bsClear);
  const TRect& r = c->ChartRect();
  const int z = c->Width3D();
  cv->RectangleWithZ(r, 0);
  cv->RectangleWithZ(r, z);
  for (const TPoint& p : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom},
                          TPoint{r.Left, r.Bottom}})
    cv->ZLine3D(p.X, p.Y, 0, z);
  outlined_ = !outlined_;
}

void TRotateTool::MoveTo(int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  const int w = c->ChartWidth(), h = c->ChartHeight();
  // A plot of no size has no scale to turn by.
  if (w <= 0 || h <= 0) return;
  const double factor = 0.01 * (speed_ - 50) + 1.0;
  double rs = (X - last_.X) * 90.0 / w * factor;
  double es = (last_.Y - Y) * 90.0 / h * factor;
  if (inverted_) rs = -rs, es = -es;
  const bool outline = Pen()->Visible();
  if (outline) {
    if (firstMove_) {
      savedRepaint_ = c->AutoRepaint();
      c->SetAutoRepaint(false);
      autoRepaintTaken_ = true;
    } else if (outlined_) {
      DrawOutline();  // erases
    }
  }
  firstMove_ = false;
  c->SetView3D(true);
  rotationStep_ = rs;
  elevationStep_ = es;
  ApplySteps(rs, es);
  if (outline) {
    if (auto* lc = dynamic_cast<TLumCanvas3D*>(c->Canvas())) {
      lc->SetIs3D(true);
      lc->CalcTrigValues();
    }
    DrawOutline();
  }
  last_ = {X, Y};
  TakeMouse(c);
  FireEvent(OnRotate, this);
}

void TRotateTool::Tick(TObject*) {
  StopTimer();
  if (dragging_ || !ParentChart()) return;
  ApplySteps(rotationStep_, elevationStep_);
  if (timer_) timer_->SetEnabled(true);
}

void TRotateTool::ChartEvent(TChartToolEvent) {
  if (std::fabs(rotationStep_) < 0.01 && std::fabs(elevationStep_) < 0.01) {
    StopTimer();
    return;
  }
  const double f = 1 - (100 - inertia_) * 0.001;
  rotationStep_ *= f;
  elevationStep_ *= f;
  if (std::fabs(rotationStep_) < 0.01) rotationStep_ = 0;
  if (std::fabs(elevationStep_) < 0.01) elevationStep_ = 0;
}

void TRotateTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Btn, TShiftState, int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  switch (AEvent) {
    case cmeDown:
      if (Btn != button_) return;
      StopTimer();
      dragging_ = true;
      last_ = {X, Y};
      firstMove_ = true;
      if (cursor_ != crDefault && Screen && !cursorTaken_) {
        savedCursor_ = Screen->Cursor();
        Screen->SetCursor(cursor_);
        cursorTaken_ = true;
      }
      TakeMouse(c);
      break;
    case cmeMove:
      if (dragging_) MoveTo(X, Y);
      break;
    case cmeUp:
      if (!dragging_) return;
      dragging_ = false;
      EndDrag(Pen()->Visible());
      if (inertia_ > 0) {
        if (!timer_) {
          timer_ = std::make_unique<TTimer>(nullptr);
          timer_->OnTimer = TNotifyEvent(this, &TRotateTool::Tick);
        }
        timer_->SetInterval(1);
        timer_->SetEnabled(true);
      }
      break;
  }
}

// ---------------------------------------------------------------------------
void ScrollAxisWithPartner(TChartAxis* Axis, double Delta) {
  TCustomAxisPanel* c = Axis->ParentChart();
  Axis->Scroll(Delta, false);
  if (!c) return;
  TChartAxis* other = nullptr;
  if (Axis == c->BottomAxis()) other = c->TopAxis();
  else if (Axis == c->TopAxis()) other = c->BottomAxis();
  else if (Axis == c->LeftAxis()) other = c->RightAxis();
  else if (Axis == c->RightAxis()) other = c->LeftAxis();
  if (!other) return;
  for (TChartSeries* s : c->SeriesList())
    if (Axis->Horizontal() ? s->HorizAxis() == aBothHorizAxis : s->VertAxis() == aBothVertAxis) {
      other->Scroll(Delta, false);
      return;
    }
}

TAxisArrowTool::TAxisArrowTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

void TAxisArrowTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TAxisArrowTool*>(Source)) {
    headWidth_ = t->headWidth_;
    length_ = t->length_;
    position_ = t->position_;
    scrollPercent_ = t->scrollPercent_;
    scrollInverted_ = t->scrollInverted_;
    sizePercent_ = t->sizePercent_;
  }
  TLumCustomToolAxis::Assign(Source);
}

void TAxisArrowTool::DefineProperties(TPropertyTable& t) {
  t.Int("HeadWidth", &TAxisArrowTool::HeadWidth, &TAxisArrowTool::SetHeadWidth).Default(8LL);
  t.Int("Length", &TAxisArrowTool::Length, &TAxisArrowTool::SetLength).Default(16LL);
  t.Event("OnClick", &TAxisArrowTool::OnClick);
  t.Enum("Position", &TAxisArrowTool::Position, &TAxisArrowTool::SetPosition, {"aaStart", "aaEnd", "aaBoth"})
      .Default(2);
  t.Bool("ScrollInverted", &TAxisArrowTool::ScrollInverted, &TAxisArrowTool::SetScrollInverted).Default(false);
  t.Int("ScrollPercent", &TAxisArrowTool::ScrollPercent, &TAxisArrowTool::SetScrollPercent).Default(10LL);
  t.Int("SizePercent", &TAxisArrowTool::SizePercent, &TAxisArrowTool::SetSizePercent).Default(50LL);
}

int TAxisArrowTool::ClickedArrow(int X, int Y) const {
  const TChartAxis* a = Axis();
  if (!a) return 0;
  const int across = a->Horizontal() ? Y : X, along = a->Horizontal() ? X : Y;
  if (std::abs(across - a->PosAxis()) >= 3) return 0;
  const int start = a->IStartPos(), end = a->IEndPos();
  if (position_ != aaEnd && along > start && along < start + length_) return 1;
  if (position_ != aaStart && along > end - length_ && along < end) return 2;
  return 0;
}

void TAxisArrowTool::ChartEvent(TChartToolEvent AEvent) {
  TChartAxis* a = Axis();
  TCustomAxisPanel* c = ParentChart();
  if (AEvent != cteAfterDraw || !a || !c) return;
  TToolDrawing d(c);
  if (!d.Ready()) return;
  TCanvas3D* cv = d.Canvas();
  cv->ApplyBrushColors(Brush(), Brush()->Color(), Brush()->Color());
  cv->ApplyPen(Pen());
  const int z = c->View3D() && a->OtherSide() ? c->Width3D() : 0;
  const int pos = a->PosAxis();
  auto at = [&](int Along) { return a->Horizontal() ? TPoint{Along, pos} : TPoint{pos, Along}; };
  const int start = a->IStartPos(), end = a->IEndPos();
  if (position_ != aaEnd) cv->Arrow(true, at(start + length_), at(start), headWidth_, headWidth_, z, sizePercent_);
  if (position_ != aaStart) cv->Arrow(true, at(end - length_), at(end), headWidth_, headWidth_, z, sizePercent_);
}

void TAxisArrowTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton, TShiftState, int X, int Y) {
  TChartAxis* a = Axis();
  TCustomAxisPanel* c = ParentChart();
  if (!a || !c || !a->Visible()) return;
  if (AEvent == cmeMove) {
    if (ClickedArrow(X, Y) != 0) TakeMouse(c, crHandPoint);
    else GiveBackCursor(c);
    return;
  }
  if (AEvent != cmeDown || scrollPercent_ == 0) return;
  const int hit = ClickedArrow(X, Y);
  if (hit == 0) return;
  double delta = scrollPercent_ * (a->Maximum() - a->Minimum()) / 100;
  if (scrollInverted_) delta = -delta;
  ScrollAxisWithPartner(a, hit == 1 ? delta : -delta);
  TakeMouse(c);
  FireEvent(OnClick, this, hit == 1);
}

// ---------------------------------------------------------------------------
TAxisScrollTool::TAxisScrollTool(TComponent* AOwner) : TLumCustomToolAxis(AOwner) {}

void TAxisScrollTool::SetAxis(TChartAxis* Value) {
  dragged_ = nullptr;
  TLumCustomToolAxis::SetAxis(Value);
}

void TAxisScrollTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TAxisScrollTool*>(Source)) scrollInverted_ = t->scrollInverted_;
  TLumCustomToolAxis::Assign(Source);
}

void TAxisScrollTool::DefineProperties(TPropertyTable& t) {
  t.Bool("ScrollInverted", &TAxisScrollTool::ScrollInverted, &TAxisScrollTool::SetScrollInverted).Default(false);
}

TChartAxis* TAxisScrollTool::AxisAt(int X, int Y) const {
  if (TChartAxis* a = Axis()) return a->Visible() && a->Clicked(X, Y) ? a : nullptr;
  for (TChartAxis* a : *ParentChart()->Axes())
    if (a->Visible() && a->Clicked(X, Y)) return a;
  return nullptr;
}

void TAxisScrollTool::DragBy(int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  TChartAxis* a = dragged_;
  const bool horiz = a->Horizontal();
  int d = horiz ? last_.X - X : last_.Y - Y;
  if (a->Inverted()) d = -d;
  // Dragging up moves a vertical axis' values down with the mouse.
  if (horiz ? scrollInverted_ : !scrollInverted_) d = -d;
  // Each axis by its own value of the same pixels.
  auto scrollAlone = [d](TChartAxis* Ax) {
    if (Ax->IAxisSize() != 0) Ax->Scroll(d * (Ax->Maximum() - Ax->Minimum()) / Ax->IAxisSize(), false);
  };
  scrollAlone(a);
  for (TChartAxis* b : *c->Axes()) {
    if (b == a || b->Horizontal() != horiz) continue;
    for (TChartSeries* s : c->SeriesList())
      if (s->AssociatedToAxis(a) && s->AssociatedToAxis(b)) {
        scrollAlone(b);
        break;
      }
  }
}

void TAxisScrollTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton, TShiftState, int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (!c || !Active()) return;
  if (dragged_ && !ChartHasAxis(c, dragged_)) dragged_ = nullptr;
  switch (AEvent) {
    case cmeDown:
      dragged_ = AxisAt(X, Y);
      last_ = {X, Y};
      // The press belongs to the axis drag, not to a zoom of the chart.
      if (dragged_) TakeMouse(c);
      break;
    case cmeMove:
      if (!dragged_) {
        if (AxisAt(X, Y)) TakeMouse(c, crHandPoint);
        else GiveBackCursor(c);
        return;
      }
      DragBy(X, Y);
      last_ = {X, Y};
      TakeMouse(c);
      break;
    case cmeUp: dragged_ = nullptr; break;
  }
}

// ---------------------------------------------------------------------------
TChartImageTool::TChartImageTool(TComponent* AOwner)
    : TLumCustomToolSeries(AOwner), picture_(std::make_unique<TLumPicture>(ChangeHandler())) {
  Pen()->SetVisible(false);
  RecordDefaults(Pen());
}

TChartImageTool::~TChartImageTool() = default;

void TChartImageTool::SetSeries(TChartSeries* Value) {
  TLumCustomToolSeries::SetSeries(Value);
  Repaint();
}

void TChartImageTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TChartImageTool*>(Source)) picture_->Assign(t->picture_.get());
  TLumCustomToolSeries::Assign(Source);
}

void TChartImageTool::DefineProperties(TPropertyTable& t) { t.Object("Picture", &TChartImageTool::Picture); }

bool TChartImageTool::PictureRect(TRect& R) const {
  TCustomAxisPanel* c = ParentChart();
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  if (!c || !h || !v) return false;
  if (TChartSeries* s = Series()) {
    R = {h->CalcPosValue(s->MinXValue()), v->CalcPosValue(s->MaxYValue()), h->CalcPosValue(s->MaxXValue()),
         v->CalcPosValue(s->MinYValue())};
    return true;
  }
  if (c->CountActiveSeries() == 0) return false;
  R = {h->CalcPosValue(h->Minimum()), v->CalcPosValue(v->Maximum()), h->CalcPosValue(h->Maximum()),
       v->CalcPosValue(v->Minimum())};
  return true;
}

void TChartImageTool::ChartEvent(TChartToolEvent AEvent) {
  TCustomAxisPanel* c = ParentChart();
  TRect r;
  if (AEvent != cteBeforeDrawSeries || !c || picture_->Empty() || !PictureRect(r)) return;
  TToolDrawing d(c);
  if (!d.Ready()) return;
  TCanvas3D* cv = d.Canvas();
  // In 3D the picture lies on the back plane, behind every series.
  const int z = c->View3D() ? c->Width3D() : 0;
  const bool clip = c->CanClip();
  if (clip) cv->ClipRectangle(cv->ProjectRect(c->ChartRect(), z));
  TGraphic* g = picture_->FilteredGraphic();
  const bool perspective = c->View3D() && !c->View3DOptions()->Orthogonal();
  if (g) {
    if (perspective) cv->DrawPicture(cpFront, g, r, z);
    else cv->StretchDraw(cv->ProjectRect(r, z), g);
  }
  if (Pen()->Visible()) {
    cv->ApplyPen(Pen());
    cv->Brush()->SetStyle(bsClear);
    cv->RectangleWithZ(r, z);
  }
  if (clip) cv->UnClipRectangle();
}

// ---------------------------------------------------------------------------
TClipSeriesTool::TClipSeriesTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

void TClipSeriesTool::SeriesEvent(TChartToolEvent AEvent, TChartSeries* ASeries) {
  TCustomAxisPanel* c = ParentChart();
  if (!c || !ASeries || ASeries != Series()) return;
  if (AEvent == cteBeforeDrawSeries) {
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    if (!c->CanClip() || !h || !v || clipped_) return;
    c->Canvas()->ClipRectangle({h->IStartPos(), v->IStartPos(), h->IEndPos(), v->IEndPos()});
    clipped_ = true;
  } else if (AEvent == cteAfterDrawSeries && clipped_) {
    c->Canvas()->UnClipRectangle();
    clipped_ = false;
  }
}
