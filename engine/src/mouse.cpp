// The chart and the mouse: tools first, then the zoom rectangle and panning.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/panel.h"
#include "engine/tools.h"
#include "mouse_state.h"

// ---------------------------------------------------------------------------
void TCustomLumPanelExtended::DrawZoomRectangle() {
  TChartZoom* z = Zoom();
  TCanvas* c = TCustomControl::Canvas();
  if (!c) return;
  TPen* pen = c->Pen();
  const TPenMode mode = pen->Mode();
  pen->SetColor(z->Pen()->Color());
  pen->SetWidth(z->Pen()->Width());
  pen->SetStyle(z->Pen()->Visible() ? z->Pen()->Style() : psClear);
  pen->SetMode(pmNotXor);
  c->Brush()->SetColor(z->Brush()->Color());
  c->Brush()->SetStyle(z->Brush()->Style());
  c->Rectangle(std::min(z->X0, z->X1), std::min(z->Y0, z->Y1), std::max(z->X0, z->X1) + 1,
               std::max(z->Y0, z->Y1) + 1);
  pen->SetMode(mode);
  z->Drawn = !z->Drawn;
}

void TCustomLumPanelExtended::Paint() {
  // A new picture holds no zoom rectangle: put it back over the chart.
  Zoom()->Drawn = false;
  TCustomLumPanel::Paint();
  if (Zoom()->Active) DrawZoomRectangle();
}

// ---------------------------------------------------------------------------
std::vector<TLumCustomTool*> TCustomAxisPanel::ToolsCopy() const {
  return std::vector<TLumCustomTool*>(tools_->begin(), tools_->end());
}

bool TCustomAxisPanel::StillTool(TLumCustomTool* Tool) const { return tools_->IndexOf(Tool) >= 0 && Tool->Active(); }

void TCustomAxisPanel::BroadcastToolEvent(int Code) {
  for (TLumCustomTool* t : ToolsCopy())
    if (StillTool(t)) t->ChartEvent(TChartToolEvent(Code));
}

void TCustomAxisPanel::BroadcastSeriesEvent(int Code, TChartSeries* ASeries) {
  for (TLumCustomTool* t : ToolsCopy()) {
    if (seriesList_.IndexOf(ASeries) < 0) return;
    if (StillTool(t)) t->SeriesEvent(TChartToolEvent(Code), ASeries);
  }
}

namespace {
bool Inside(const TRect& R, int X, int Y) { return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom; }
}  // namespace

bool TCustomAxisPanel::ZoomingOrPanning() const { return Zoom()->Active || Panning()->Active; }

bool TCustomAxisPanel::Zoomed() const { return mouse_->Zoomed; }

TPoint TCustomAxisPanel::GetCursorPos() const { return ScreenToClient(::GetCursorPos()); }

void TCustomAxisPanel::DoScroll() {
  if (OnScroll.Assigned()) OnScroll(this);
}

void TCustomAxisPanel::EndZoomAndPanning() {
  TChartZoom* z = Zoom();
  if (z->Active && z->Drawn) DrawZoomRectangle();
  z->Active = false;
  Panning()->Active = false;
  SetMouseCapture(false);
}

void TCustomAxisPanel::BroadcastMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X,
                                           int Y) {
  for (TLumCustomTool* t : ToolsCopy()) {
    if (CancelMouse) break;
    if (StillTool(t)) t->ChartMouseEvent(AEvent, Button, Shift, X, Y);
  }
}

void TCustomAxisPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CancelMouse = false;
  try {
    TCustomLumPanelExtended::MouseDown(Button, Shift, X, Y);
    BroadcastMouseEvent(cmeDown, Button, Shift, X, Y);
    // The second press of a double click starts nothing.
    if (CancelMouse || (Shift & ssDouble) || ZoomingOrPanning() || !Inside(ChartRect(), X, Y)) return;
    TChartZoom* z = Zoom();
    if (z->Allow() && Button == z->MouseButton()) {
      z->Active = true;
      z->Drawn = false;
      z->X0 = z->X1 = X;
      z->Y0 = z->Y1 = Y;
      SetMouseCapture(true);
    } else if (AllowPanning() != pmNone && Button == ScrollMouseButton()) {
      Panning()->Active = true;
      Panning()->X0 = X;
      Panning()->Y0 = Y;
      SetMouseCapture(true);
    }
  } catch (...) {
    EndZoomAndPanning();
    throw;
  }
}

namespace {
// The far corner of a zoom rectangle kept inside the plot rectangle and, with
// KeepAspectRatio, lengthened on its short side to the plot's proportions.
void ZoomCorner(const TChartZoom* Z, const TRect& R, int& X, int& Y) {
  X = std::clamp(X, R.Left, std::max(R.Left, R.Right));
  Y = std::clamp(Y, R.Top, std::max(R.Top, R.Bottom));
  if (!Z->KeepAspectRatio() || R.Width() <= 0 || R.Height() <= 0) return;
  const double w = std::abs(X - Z->X0), h = std::abs(Y - Z->Y0);
  const double ratio = double(R.Width()) / R.Height();
  if (w > h * ratio) Y = Z->Y0 + (Y >= Z->Y0 ? 1 : -1) * int(std::lround(w / ratio));
  else X = Z->X0 + (X >= Z->X0 ? 1 : -1) * int(std::lround(h * ratio));
}
}  // namespace

void TCustomAxisPanel::MouseMove(TShiftState Shift, int X, int Y) {
  CancelMouse = false;
  try {
    TCustomLumPanelExtended::MouseMove(Shift, X, Y);
    BroadcastMouseEvent(cmeMove, mbLeft, Shift, X, Y);
    if (CancelMouse) return;
    TChartZoom* z = Zoom();
    if (z->Active) {
      ZoomCorner(z, ChartRect(), X, Y);
      if (X == z->X1 && Y == z->Y1 && z->Drawn) return;
      if (z->Drawn) DrawZoomRectangle();
      z->X1 = X;
      z->Y1 = Y;
      DrawZoomRectangle();
    } else if (Panning()->Active) {
      TZoomPanning* p = Panning();
      const TPanningMode mode = AllowPanning();
      bool moved = false;
      for (TChartAxis* a : *Axes()) {
        if (a->IsDepthAxis()) continue;
        const bool h = a->Horizontal();
        if (h ? (mode != pmHorizontal && mode != pmBoth) : (mode != pmVertical && mode != pmBoth)) continue;
        const double offset = h ? a->CalcPosPoint(p->X0) - a->CalcPosPoint(X) : a->CalcPosPoint(p->Y0) - a->CalcPosPoint(Y);
        moved = a->ScrollRange(offset, p->InsideBounds()) || moved;
      }
      p->X0 = X;
      p->Y0 = Y;
      if (moved) {
        mouse_->Zoomed = true;
        DoScroll();
      }
    }
  } catch (...) {
    EndZoomAndPanning();
    throw;
  }
}

void TCustomAxisPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CancelMouse = false;
  try {
    TCustomLumPanelExtended::MouseUp(Button, Shift, X, Y);
    BroadcastMouseEvent(cmeUp, Button, Shift, X, Y);
    TChartZoom* z = Zoom();
    if (z->Active && Button == z->MouseButton()) {
      ZoomCorner(z, ChartRect(), X, Y);
      const int x0 = z->X0, y0 = z->Y0;
      EndZoomAndPanning();
      if (CancelMouse) return;
      const TZoomDirection dir = z->Direction();
      const bool useX = dir != tzdVertical, useY = dir != tzdHorizontal;
      const int dx = X - x0, dy = Y - y0;
      // Too small a drag (a click) does nothing either way.
      if ((useX && std::abs(dx) < z->MinimumPixels()) || (useY && std::abs(dy) < z->MinimumPixels())) return;
      const bool backwards = (useX && dx < 0) || (useY && dy < 0);
      if (backwards && !z->UpLeftZooms()) UndoZoom();
      else ZoomRect({std::min(x0, X), std::min(y0, Y), std::max(x0, X), std::max(y0, Y)});
    } else if (Panning()->Active && Button == ScrollMouseButton()) {
      EndZoomAndPanning();
    }
  } catch (...) {
    EndZoomAndPanning();
    throw;
  }
}

void TCustomAxisPanel::MouseLeave() {
  TCustomLumPanelExtended::MouseLeave();
  BroadcastToolEvent(cteMouseLeave);
}

void TCustomAxisPanel::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomLumPanelExtended::KeyDown(Key, Shift);
  for (TLumCustomTool* t : ToolsCopy())
    if (StillTool(t)) t->ChartKeyEvent(cekDown, Key, Shift);
}

void TCustomAxisPanel::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TCustomLumPanelExtended::KeyUp(Key, Shift);
  for (TLumCustomTool* t : ToolsCopy())
    if (StillTool(t)) t->ChartKeyEvent(cekUp, Key, Shift);
}

// ---------------------------------------------------------------------------
void TCustomAxisPanel::ZoomRect(const TRect& Rect) {
  const TZoomDirection dir = Zoom()->Direction();
  struct TTarget {
    TChartAxis* Axis;
    double Min, Max;
  };
  std::vector<TTarget> targets;
  for (TChartAxis* a : *Axes()) {
    // Axes without a range (nothing on them) stay as they are.
    if (a->IsDepthAxis() || a->IAxisSize() == 0 || !(a->Minimum() < a->Maximum())) continue;
    const bool h = a->Horizontal();
    if (h ? dir == tzdVertical : dir == tzdHorizontal) continue;
    const double v0 = a->CalcPosPoint(h ? Rect.Left : Rect.Top), v1 = a->CalcPosPoint(h ? Rect.Right : Rect.Bottom);
    const double lo = std::min(v0, v1), hi = std::max(v0, v1);
    // An empty range (or none at all) zooms no axis.
    if (!(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi)) return;
    targets.push_back({a, lo, hi});
  }
  if (targets.empty()) return;
  if (Zoom()->History()) {
    std::vector<TMouseState::TRange> saved;
    for (TChartAxis* a : *Axes())
      saved.push_back({a, a->Minimum(), a->Maximum(), a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum()});
    mouse_->History.push_back(std::move(saved));
  }
  if (Zoom()->Animated() && Zoom()->AnimatedSteps() > 1) {
    // Each step a little nearer, drawn at once.
    std::vector<TTarget> from;
    for (const TTarget& t : targets) from.push_back({t.Axis, t.Axis->Minimum(), t.Axis->Maximum()});
    const int steps = Zoom()->AnimatedSteps();
    for (int i = 1; i < steps; ++i) {
      const double f = double(i) / steps;
      for (size_t k = 0; k < targets.size(); ++k) {
        TChartAxis* a = targets[k].Axis;
        a->SetAutomatic(false);
        a->SetMinMax(from[k].Min + (targets[k].Min - from[k].Min) * f, from[k].Max + (targets[k].Max - from[k].Max) * f);
      }
      Repaint();
    }
  }
  for (const TTarget& t : targets) {
    t.Axis->SetAutomatic(false);
    t.Axis->SetMinMax(t.Min, t.Max);
  }
  mouse_->Zoomed = true;
  Invalidate();
}

void TCustomAxisPanel::UndoZoom() {
  auto& history = mouse_->History;
  if (Zoom()->History() && !history.empty()) {
    std::vector<TMouseState::TRange> saved = std::move(history.back());
    history.pop_back();
    for (const TMouseState::TRange& r : saved) {
      if (Axes()->IndexOf(r.Axis) < 0) continue;  // an axis freed since
      r.Axis->SetMinMax(r.Min, r.Max);
      r.Axis->SetAutomaticMinimum(r.AutoMin);
      r.Axis->SetAutomaticMaximum(r.AutoMax);
      r.Axis->SetAutomatic(r.Automatic);
    }
    mouse_->Zoomed = !history.empty();
  } else {
    history.clear();
    for (TChartAxis* a : *Axes()) {
      a->SetAutomaticMinimum(true);
      a->SetAutomaticMaximum(true);
      a->SetAutomatic(true);
    }
    mouse_->Zoomed = false;
  }
  Invalidate();
}
