#include <cmath>
#include <cstdlib>

#include "analysis/tools_cursor.h"
#include "canvas/geometry.h"

IMPLEMENT_CLASS_PROPS(TCursorTool, TLumCustomToolSeries)

TCursorTool::TCursorTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

bool TCursorTool::Loading() const { return (ComponentState() & csLoading) != 0; }

void TCursorTool::SetStyle(TCursorToolStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  SnapToPoint();
  Repaint();
}

void TCursorTool::SetSeries(TChartSeries* Value) {
  TLumCustomToolSeries::SetSeries(Value);
  lastSnap_ = -1;
  if (Series() && !Loading()) {
    SnapToPoint();
    Repaint();
  }
}

void TCursorTool::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomToolSeries::SetParentChart(Value);
  Repaint();
}

void TCursorTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TCursorTool*>(Source)) {
    useChartRect_ = t->useChartRect_;
    xValue_ = t->xValue_;
    yValue_ = t->yValue_;
    clickTolerance_ = t->clickTolerance_;
    followMouse_ = t->followMouse_;
    horizSize_ = t->horizSize_;
    scopeSize_ = t->scopeSize_;
    scopeStyle_ = t->scopeStyle_;
    snap_ = t->snap_;
    snapStyle_ = t->snapStyle_;
    style_ = t->style_;
    useSeriesZ_ = t->useSeriesZ_;
    vertSize_ = t->vertSize_;
  }
  TLumCustomToolSeries::Assign(Source);
}

void TCursorTool::DefineProperties(TPropertyTable& t) {
  t.Int("ClickTolerance", &TCursorTool::ClickTolerance, &TCursorTool::SetClickTolerance).Default(3LL);
  t.Bool("FollowMouse", &TCursorTool::FollowMouse, &TCursorTool::SetFollowMouse).Default(false);
  t.Int("HorizSize", &TCursorTool::HorizSize, &TCursorTool::SetHorizSize).Default(0LL);
  t.Event("OnChange", &TCursorTool::OnChange);
  t.Event("OnSnapChange", &TCursorTool::OnSnapChange);
  t.Int("ScopeSize", &TCursorTool::ScopeSize, &TCursorTool::SetScopeSize).Default(4LL);
  t.Enum("ScopeStyle", &TCursorTool::ScopeStyle, &TCursorTool::SetScopeStyle,
         {"scsRectangle", "scsCircle", "scsDiamond", "scsEmpty", "scsCamera"})
      .Default(0);
  t.Bool("Snap", &TCursorTool::Snap, &TCursorTool::SetSnap).Default(false);
  t.Enum("SnapStyle", &TCursorTool::SnapStyle, &TCursorTool::SetSnapStyle, {"ssDefault", "ssHorizontal", "ssVertical"})
      .Default(0);
  t.Enum("Style", &TCursorTool::Style, &TCursorTool::SetStyle,
         {"cssHorizontal", "cssVertical", "cssBoth", "cssScope", "cssScopeOnly"})
      .Default(2);
  t.Bool("UseSeriesZ", &TCursorTool::UseSeriesZ, &TCursorTool::SetUseSeriesZ).Default(false);
  t.Int("VertSize", &TCursorTool::VertSize, &TCursorTool::SetVertSize).Default(0LL);
  t.Float("XValue", &TCursorTool::XValue, &TCursorTool::SetXValue);
  t.Float("YValue", &TCursorTool::YValue, &TCursorTool::SetYValue);
}

// ---------------------------------------------------------------------------
int TCursorTool::Depth() const { return useSeriesZ_ && Series() ? Series()->StartZ() : 0; }

TRect TCursorTool::GetAxisRect() {
  TRect r{};
  TCustomAxisPanel* c = ParentChart();
  if (useChartRect_ && c) {
    r = c->ChartRect();
  } else if (TChartAxis* h = GetHorizAxis(); h) {
    TChartAxis* v = GetVertAxis();
    r = {h->IStartPos(), v ? v->IStartPos() : 0, h->IEndPos(), v ? v->IEndPos() : 0};
  }
  FireEvent(OnGetAxisRect, this, r);
  return r;
}

TRect TCursorTool::LimitedRect(const TRect& R) const {
  TRect r = R;
  if (horizSize_ != 0) {
    r.Left = pixelX_ - horizSize_;
    r.Right = pixelX_ + horizSize_;
  }
  if (vertSize_ != 0) {
    r.Top = pixelY_ - vertSize_;
    r.Bottom = pixelY_ + vertSize_;
  }
  return r;
}

void TCursorTool::CalcValuePositions(int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (useSeriesZ_ && c) {
    const TPoint p = c->Canvas()->InverseProject(X, Y, Depth());
    X = p.X;
    Y = p.Y;
  }
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  if (dragging_ != 2 && v) yValue_ = v->CalcPosPoint(Y);
  if (dragging_ != 1 && h) xValue_ = h->CalcPosPoint(X);
}

int TCursorTool::NearestPoint(TCursorToolStyle AStyle, double& Difference) const {
  Difference = -1;
  TChartSeries* s = Series();
  if (!s || s->Count() == 0) return -1;
  const int count = s->Count();
  const int first = std::max(0, s->FirstValueIndex());
  int last = s->LastValueIndex();
  if (last < 0 || last > count - 1) last = count - 1;
  if (first > last) return -1;
  int best = -1;
  for (int i = first; i <= last; ++i) {
    double d;
    const double dx = xValue_ - s->GetXValue(i), dy = yValue_ - s->GetYValue(i);
    if (snapStyle_ == ssHorizontal) d = std::fabs(dy);
    else if (snapStyle_ == ssVertical) d = std::fabs(dx);
    else if (AStyle == cssVertical) d = std::fabs(dx);
    else if (AStyle == cssHorizontal) d = std::fabs(dy);
    else d = std::sqrt(dx * dx + dy * dy);
    // The first of equal distances wins.
    if (best < 0 || d < Difference) {
      best = i;
      Difference = d;
    }
  }
  return best;
}

int TCursorTool::SnapToPoint() {
  if (!snap_ || !Series()) return -1;
  double diff;
  const int i = NearestPoint(style_, diff);
  if (i < 0) return -1;
  if (style_ != cssVertical) yValue_ = Series()->GetYValue(i);
  if (style_ != cssHorizontal) xValue_ = Series()->GetXValue(i);
  return i;
}

void TCursorTool::CalcScreenPositions() {
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  if (!h || !v) return;
  if (pixelX_ != -1 && pixelY_ != -1) {
    pixelX_ = h->CalcPosValue(xValue_);
    pixelY_ = v->CalcPosValue(yValue_);
    return;
  }
  if (followMouse_) {
    pixelX_ = pixelY_ = 0;
  } else {
    pixelX_ = (h->IStartPos() + h->IEndPos()) / 2;
    pixelY_ = (v->IStartPos() + v->IEndPos()) / 2;
  }
  CalcValuePositions(pixelX_, pixelY_);
  const int index = SnapToPoint();
  CalcScreenPositions();
  DoChange(index);
}

void TCursorTool::DoChange(int ValueIndex) {
  FireEvent(OnChange, this, pixelX_, pixelY_, xValue_, yValue_, Series(), ValueIndex);
}

void TCursorTool::RedrawCursor() {
  if (!ParentChart() || pixelX_ <= 0 || pixelY_ <= 0) return;
  TToolDrawing d(ParentChart());
  if (!d.Ready()) return;
  d.CursorPen(Pen());
  DrawLines(d);
}

void TCursorTool::DrawLines(TToolDrawing& D) {
  TCanvas3D* c = D.Canvas();
  const TRect r = LimitedRect(GetAxisRect());
  const int z = D.Is3D() ? Depth() : 0;
  const int x = pixelX_, y = pixelY_;
  // Lines include both end pixels: HorizSize 20 spans 41 pixels.
  auto horiz = [&] { c->LineWithZ(r.Left, y, r.Right + 1, y, z); };
  auto vert = [&] { c->LineWithZ(x, r.Top, x, r.Bottom + 1, z); };
  auto scope = [&] {
    const int s = scopeSize_, hs = horizSize_, vs = vertSize_;
    if (scopeStyle_ == scsCamera) {
      c->RectangleWithZ({x - hs - s, y - vs - s, x + hs + s, y + vs + s}, z);
      c->LineWithZ(x - s, y, x + s, y, z);
      c->LineWithZ(x, y - s, x, y + s, z);
      return;
    }
    c->LineWithZ(x - hs - s, y, x - s, y, z);
    c->LineWithZ(x + s, y, x + hs + s, y, z);
    c->LineWithZ(x, y - vs - s, x, y - s, z);
    c->LineWithZ(x, y + s, x, y + vs + s, z);
    const TRect box{x - s, y - s, x + s, y + s};
    switch (scopeStyle_) {
      case scsRectangle: c->RectangleWithZ(box, z); break;
      case scsCircle: c->EllipseWithZ(box, z); break;
      case scsDiamond: c->Diamond(box, z); break;
      default: break;
    }
  };
  switch (style_) {
    case cssHorizontal: horiz(); break;
    case cssVertical: vert(); break;
    case cssBoth: horiz(), vert(); break;
    case cssScope: scope(), horiz(), vert(); break;
    case cssScopeOnly: scope(); break;
  }
}

int TCursorTool::Clicked(int X, int Y) {
  TPoint p{X, Y}, cur{pixelX_, pixelY_};
  TCustomAxisPanel* c = ParentChart();
  if (useSeriesZ_ && c) {
    p = c->Canvas()->InverseProject(X, Y, Depth());
    cur = c->Canvas()->InverseProject(pixelX_, pixelY_, Depth());
  }
  if (!PointInRect(LimitedRect(GetAxisRect()), p.X, p.Y)) return 0;
  const bool nearY = std::abs(p.Y - cur.Y) <= clickTolerance_, nearX = std::abs(p.X - cur.X) <= clickTolerance_;
  if ((style_ == cssBoth || style_ == cssScope || style_ == cssScopeOnly) && nearX && nearY) return 3;
  if (style_ != cssVertical && nearY) return 1;
  if (style_ == cssHorizontal) return 0;
  return nearX ? 2 : 0;
}

// ---------------------------------------------------------------------------
void TCursorTool::ChartEvent(TChartToolEvent AEvent) {
  if (AEvent != cteAfterDraw) return;
  auto alive = life_.Watch();
  CalcScreenPositions();
  if (*alive) RedrawCursor();
}

void TCursorTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton, TShiftState, int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  switch (AEvent) {
    case cmeDown:
      if (!followMouse_) {
        dragging_ = Clicked(X, Y);
        if (dragging_ != 0) TakeMouse(c);
      }
      break;
    case cmeUp: dragging_ = 0; break;
    case cmeMove:
      if ((dragging_ != 0 || followMouse_) && PointInRect(GetAxisRect(), X, Y)) {
        int index;
        {
          // One drawing scope for erasing and drawing again.
          TToolDrawing d(c);
          if (d.Ready()) d.CursorPen(Pen());
          auto draw = [&] {
            if (d.Ready() && pixelX_ > 0 && pixelY_ > 0) DrawLines(d);
          };
          draw();
          CalcValuePositions(X, Y);
          index = SnapToPoint();
          CalcScreenPositions();
          draw();
        }
        auto alive = life_.Watch();
        DoChange(index);
        if (!*alive) return;
        if (index != lastSnap_) {
          FireEvent(OnSnapChange, this, pixelX_, pixelY_, xValue_, yValue_, Series(), index);
          if (!*alive) return;
        }
        lastSnap_ = index;
      } else {
        const int hit = Clicked(X, Y);
        if (hit == 1) c->SetCursor(crVSplit);
        else if (hit == 2) c->SetCursor(crHSplit);
        else if (hit == 3) c->SetCursor(crSizeAll);
        else GiveBackCursor(c);
        c->CancelMouse = hit != 0;
      }
      break;
  }
}
