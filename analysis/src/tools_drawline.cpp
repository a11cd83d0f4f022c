#include <algorithm>
#include <cmath>

#include "analysis/tools_drawline.h"
#include "canvas/geometry.h"
#include "engine/helpers.h"

IMPLEMENT_CLASS_PROPS(TDrawLine, TCollectionItem)
IMPLEMENT_CLASS(TDrawLines, TCollection)
IMPLEMENT_CLASS_PROPS(TDrawLineTool, TLumCustomToolSeries)

namespace {
TRect Ordered(const TPoint& A, const TPoint& B) {
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}
TRect Handle(const TPoint& P) { return {P.X - 3, P.Y - 3, P.X + 3, P.Y + 3}; }
}  // namespace

// ---------------------------------------------------------------------------
TDrawLine::~TDrawLine() {
  if (TDrawLineTool* t = Tool(); t && t->selected_ == this) t->selected_ = nullptr;
}

TDrawLineTool* TDrawLine::Tool() const {
  auto* c = dynamic_cast<TDrawLines*>(Collection());
  return c ? c->Tool() : nullptr;
}

void TDrawLine::Repaint() {
  if (TDrawLineTool* t = Tool()) t->Repaint();
}

void TDrawLine::Store(double& Field, double Value) {
  if (Field == Value) return;
  Field = Value;
  Repaint();
}

void TDrawLine::SetStartPos(const TFloatPoint& Value) {
  if (start_ == Value) return;
  start_ = Value;
  Repaint();
}

void TDrawLine::SetEndPos(const TFloatPoint& Value) {
  if (end_ == Value) return;
  end_ = Value;
  Repaint();
}

void TDrawLine::SetStyle(TDrawLineStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Repaint();
}

TChartPen* TDrawLine::Pen() const {
  if (!pen_) {
    auto* self = const_cast<TDrawLine*>(this);
    pen_ = std::make_unique<TChartPen>(TNotifyEvent([self](TObject*) { self->Repaint(); }));
    if (TDrawLineTool* t = Tool()) pen_->Assign(t->Pen());
  }
  return pen_.get();
}

void TDrawLine::SetPen(TChartPen* Value) {
  if (!Value) pen_.reset();
  else Pen()->Assign(Value);
  Repaint();
}

void TDrawLine::Assign(TPersistent* Source) {
  auto* l = dynamic_cast<TDrawLine*>(Source);
  if (!l) {
    TCollectionItem::Assign(Source);
    return;
  }
  start_ = l->start_;
  end_ = l->end_;
  style_ = l->style_;
  if (l->pen_) Pen()->Assign(l->pen_.get());
  else pen_.reset();
  Repaint();
}

void TDrawLine::DefineProperties(TPropertyTable& t) {
  // Only a line with a pen of its own stores one.
  t.Object("Pen", &TDrawLine::Pen).Stored([](const TObject* o) { return static_cast<const TDrawLine*>(o)->HasOwnPen(); });
  t.Enum("Style", &TDrawLine::Style, &TDrawLine::SetStyle,
         {"dlLine", "dlHorizParallel", "dlVertParallel", "dlRectangle", "dlEllipse"})
      .Default(0);
  t.Float("X0", &TDrawLine::X0, &TDrawLine::SetX0);
  t.Float("Y0", &TDrawLine::Y0, &TDrawLine::SetY0);
  t.Float("X1", &TDrawLine::X1, &TDrawLine::SetX1);
  t.Float("Y1", &TDrawLine::Y1, &TDrawLine::SetY1);
}

void TDrawLines::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (tool_) tool_->Repaint();
}

// ---------------------------------------------------------------------------
TDrawLineTool::TDrawLineTool(TComponent* AOwner)
    : TLumCustomToolSeries(AOwner), lines_(std::make_unique<TDrawLines>(this)) {}

TDrawLineTool::~TDrawLineTool() {
  selected_ = nullptr;
  lines_.reset();
}

void TDrawLineTool::SetEnableSelect(bool Value) {
  if (enableSelect_ == Value) return;
  enableSelect_ = Value;
  if (!Value) {
    selected_ = nullptr;
    Repaint();
  }
}

void TDrawLineTool::SetSelected(TDrawLine* Value) {
  selected_ = Value;
  Repaint();
}

void TDrawLineTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TDrawLineTool*>(Source)) {
    button_ = t->button_;
    clickTolerance_ = t->clickTolerance_;
    enableDraw_ = t->enableDraw_;
    enableSelect_ = t->enableSelect_;
    selected_ = nullptr;
    lines_->Assign(t->lines_.get());
    selectNewLines_ = t->selectNewLines_;
    style_ = t->style_;
  }
  TLumCustomToolSeries::Assign(Source);
}

void TDrawLineTool::DefineProperties(TPropertyTable& t) {
  t.Enum("Button", &TDrawLineTool::Button, &TDrawLineTool::SetButton, {"mbLeft", "mbRight", "mbMiddle"}).Default(0);
  t.Int("ClickTolerance", &TDrawLineTool::ClickTolerance, &TDrawLineTool::SetClickTolerance).Default(0LL);
  t.Bool("EnableDraw", &TDrawLineTool::EnableDraw, &TDrawLineTool::SetEnableDraw).Default(true);
  t.Bool("EnableSelect", &TDrawLineTool::EnableSelect, &TDrawLineTool::SetEnableSelect).Default(true);
  t.Object("Lines", &TDrawLineTool::Lines);
  t.Event("OnDraggedLine", &TDrawLineTool::OnDraggedLine);
  t.Event("OnDragLine", &TDrawLineTool::OnDragLine);
  t.Event("OnNewLine", &TDrawLineTool::OnNewLine);
  t.Event("OnSelect", &TDrawLineTool::OnSelect);
  t.Event("OnSelecting", &TDrawLineTool::OnSelecting);
  t.Bool("SelectNewLines", &TDrawLineTool::SelectNewLines, &TDrawLineTool::SetSelectNewLines).Default(true);
  t.Enum("Style", &TDrawLineTool::Style, &TDrawLineTool::SetStyle,
         {"dlLine", "dlHorizParallel", "dlVertParallel", "dlRectangle", "dlEllipse"})
      .Default(0);
}

// ---------------------------------------------------------------------------
TPoint TDrawLineTool::AxisPoint(const TFloatPoint& P) const {
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  return {h ? h->CalcPosValue(P.X) : 0, v ? v->CalcPosValue(P.Y) : 0};
}

TFloatPoint TDrawLineTool::ScreenPoint(const TPoint& P) const {
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  return {h ? h->CalcPosPoint(P.X) : 0, v ? v->CalcPosPoint(P.Y) : 0};
}

bool TDrawLineTool::InternalClicked(TDrawLine* Line, int Mode, const TPoint& P) const {
  const TPoint s = AxisPoint(Line->start_), e = AxisPoint(Line->end_);
  if (Mode == 1) return PointInRectP(Handle(s), P);
  if (Mode == 2) return PointInRectP(Handle(e), P);
  const int t = clickTolerance_;
  switch (Line->style_) {
    case dlLine: return PointInLineTolerancePoints(P, s, e, t);
    case dlHorizParallel: return PointInLineTolerancePoints(P, s, {e.X, s.Y}, t) || PointInLineTolerancePoints(P, {s.X, e.Y}, e, t);
    case dlVertParallel: return PointInLineTolerancePoints(P, s, {s.X, e.Y}, t) || PointInLineTolerancePoints(P, {e.X, s.Y}, e, t);
    default: return PointInRectP(Ordered(s, e), P);
  }
}

TDrawLine* TDrawLineTool::Clicked(int X, int Y) {
  TPoint p{X, Y};
  if (TCustomAxisPanel* c = ParentChart()) p = c->Canvas()->InverseProject(X, Y, 0);
  for (int mode = 0; mode <= 2; ++mode) {
    if (selected_ && InternalClicked(selected_, mode, p)) return selected_;
    for (int i = 0; i < lines_->Count(); ++i)
      if (InternalClicked(lines_->Line(i), mode, p)) return lines_->Line(i);
  }
  return nullptr;
}

void TDrawLineTool::DrawFigure(TCanvas3D* C, const TPoint& S, const TPoint& E, TDrawLineStyle AStyle) const {
  switch (AStyle) {
    case dlLine: C->LineWithZ(S.X, S.Y, E.X, E.Y, 0); break;
    case dlHorizParallel:
      C->HorizLine3D(S.X, E.X, S.Y, 0);
      C->HorizLine3D(S.X, E.X, E.Y, 0);
      break;
    case dlVertParallel:
      C->VertLine3D(S.X, S.Y, E.Y, 0);
      C->VertLine3D(E.X, S.Y, E.Y, 0);
      break;
    case dlRectangle: C->RectangleWithZ(Ordered(S, E), 0); break;
    case dlEllipse: C->EllipseWithZ(Ordered(S, E), 0); break;
  }
}

void TDrawLineTool::DrawMoving() {
  TToolDrawing d(ParentChart());
  if (!d.Ready()) return;
  TDrawLine* line = drawing_ ? nullptr : selected_;
  d.DrawLinePen(PenOf(line));
  DrawFigure(d.Canvas(), fromPoint_, toPoint_, line ? line->style_ : style_);
}

void TDrawLineTool::ChartEvent(TChartToolEvent AEvent) {
  if (AEvent != cteAfterDraw) return;
  TCustomAxisPanel* chart = ParentChart();
  TToolDrawing d(chart);
  if (!d.Ready()) return;
  TCanvas3D* c = d.Canvas();
  c->SetBackMode(cbmTransparent);
  TRect clip = chart->ChartRect();
  if (Series()) {
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    clip = Ordered({h->IStartPos(), v->IStartPos()}, {h->IEndPos(), v->IEndPos()});
  }
  const bool clipped = chart->CanClip();
  if (clipped) {
    if (d.Is3D()) c->ClipCube(clip, 0, chart->Width3D());
    else c->ClipRectangle(clip);
  }
  for (int i = 0; i < lines_->Count(); ++i) {
    TDrawLine* l = lines_->Line(i);
    d.DrawLinePen(PenOf(l));
    DrawFigure(c, AxisPoint(l->start_), AxisPoint(l->end_), l->style_);
  }
  c->Pen()->SetMode(pmCopy);
  if (selected_ && dragPart_ == 0) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(ChartColorRGB(chart) == clBlack ? clSilver : clBlack);
    c->Pen()->SetStyle(psClear);
    for (const TPoint& p : {AxisPoint(selected_->start_), AxisPoint(selected_->end_)}) {
      const TRect h = Handle(p);
      // Rectangles leave out their right and bottom edge: one more for 7 pixels.
      c->RectangleWithZ({h.Left, h.Top, h.Right + 1, h.Bottom + 1}, 0);
    }
  }
  if (drawing_) {
    d.DrawLinePen(Pen());
    DrawFigure(c, fromPoint_, toPoint_, style_);
  }
  if (clipped) c->UnClipRectangle();
}

void TDrawLineTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton AButton, TShiftState, int X, int Y) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  auto alive = life_.Watch();
  const TPoint p{X, Y};
  switch (AEvent) {
    case cmeDown: {
      if (AButton != button_) return;
      TDrawLine* line = enableSelect_ ? Clicked(X, Y) : nullptr;
      if (!line) {
        if (selected_) SetSelected(nullptr);
        if (enableDraw_) {
          drawing_ = true;
          fromPoint_ = toPoint_ = p;
          DrawMoving();
          TakeMouse(chart);
        }
        return;
      }
      fromPoint_ = AxisPoint(line->start_);
      toPoint_ = AxisPoint(line->end_);
      lastPoint_ = p;
      if (line == selected_) {
        dragPart_ = 3;
        const TPoint q = chart->Canvas()->InverseProject(X, Y, 0);
        if (InternalClicked(line, 1, q)) dragPart_ = 1;
        else if (InternalClicked(line, 2, q)) dragPart_ = 2;
      } else {
        bool allow = true;
        FireEvent(OnSelecting, this, line, allow);
        if (!*alive) return;
        // A refused line is not dragged either: the drag would move the old selection.
        if (allow) {
          selected_ = line;
          dragPart_ = 3;
          FireEvent(OnSelect, this);
          if (!*alive) return;
          if (!selected_) dragPart_ = 0;
        }
      }
      Repaint();
      TakeMouse(chart);
      return;
    }
    case cmeMove: {
      if (!drawing_ && dragPart_ == 0) {
        if (!enableSelect_) return;
        TDrawLine* line = Clicked(X, Y);
        if (!line) return GiveBackCursor(chart);
        const TPoint q = chart->Canvas()->InverseProject(X, Y, 0);
        const bool handle = line == selected_ && (InternalClicked(line, 1, q) || InternalClicked(line, 2, q));
        TakeMouse(chart, handle ? crCross : crHandPoint);
        return;
      }
      DrawMoving();
      if (drawing_) {
        toPoint_ = p;
      } else if (dragPart_ == 1) {
        fromPoint_ = p;
      } else if (dragPart_ == 2) {
        toPoint_ = p;
      } else {
        const int dx = X - lastPoint_.X, dy = Y - lastPoint_.Y;
        fromPoint_ = {fromPoint_.X + dx, fromPoint_.Y + dy};
        toPoint_ = {toPoint_.X + dx, toPoint_.Y + dy};
        lastPoint_ = p;
      }
      if (selected_ && !drawing_) {
        selected_->start_ = ScreenPoint(fromPoint_);
        selected_->end_ = ScreenPoint(toPoint_);
      }
      DrawMoving();
      TakeMouse(chart);
      dragged_ = true;
      FireEvent(OnDragLine, this);
      return;
    }
    case cmeUp: {
      if (AButton != button_) return;
      if (dragPart_ == 0 || !selected_) {
        dragPart_ = 0;
        const bool add = drawing_ && !(fromPoint_ == toPoint_);
        drawing_ = false;
        if (!add) return;
        TDrawLine* line = lines_->AddLine();
        line->start_ = ScreenPoint(fromPoint_);
        line->end_ = ScreenPoint(toPoint_);
        line->style_ = style_;
        if (selectNewLines_) selected_ = line;
        Repaint();
        FireEvent(OnNewLine, this);
        return;
      }
      if (dragPart_ == 1 || dragPart_ == 3) selected_->start_ = ScreenPoint(fromPoint_);
      if (dragPart_ == 2 || dragPart_ == 3) selected_->end_ = ScreenPoint(toPoint_);
      dragPart_ = 0;
      Repaint();
      if (dragged_) {
        dragged_ = false;
        FireEvent(OnDraggedLine, this);
      }
      return;
    }
  }
}
