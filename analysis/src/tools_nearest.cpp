#include "analysis/tools_nearest.h"

#include <cmath>
#include <vector>

#include "canvas/canvashints.h"
#include "canvas/geometry.h"
#include "chart/series.h"
#include "engine/axis.h"

IMPLEMENT_CLASS_PROPS(TNearestTool, TLumCustomToolSeries)
IMPLEMENT_CLASS_PROPS(TMarksTipTool, TLumCustomToolSeries)
IMPLEMENT_CLASS_PROPS(TDragMarksTool, TLumCustomToolSeries)

namespace {

// The first and last index a tool looks at: the series' visible range, clamped to
// its points; first > last when there is nothing.
void VisibleRange(const TChartSeries* S, int& First, int& Last) {
  First = std::max(0, S->FirstValueIndex());
  Last = std::min(S->LastValueIndex(), S->Count() - 1);
}

// The depth pixel of a point on a series with Z values, else -1.
TChartValueList* ZList(const TChartSeries* S) { return S->GetValueListByName("Z"); }

// Sets the chart's AutoRepaint off for a scope and puts it back however the scope
// ends, so a temporary change (a marks style) paints nothing.
class TNoRepaint {
public:
  explicit TNoRepaint(TCustomAxisPanel* Chart) : chart_(Chart) {
    if (!chart_.Get()) return;
    old_ = chart_->AutoRepaint();
    chart_->SetAutoRepaint(false);
  }
  ~TNoRepaint() {
    if (chart_.Get()) chart_->SetAutoRepaint(old_);
  }
  TNoRepaint(const TNoRepaint&) = delete;
  TNoRepaint& operator=(const TNoRepaint&) = delete;

private:
  TComponentRef<TCustomAxisPanel> chart_;
  bool old_ = true;
};

}  // namespace

// ---------------------------------------------------------------------------
TNearestTool::TNearestTool(TComponent* AOwner)
    : TLumCustomToolSeries(AOwner), linePen_(std::make_unique<TChartPen>(ChangeHandler())) {
  Brush()->SetStyle(bsClear);
  Pen()->SetStyle(psDot);
  Pen()->SetColor(clWhite);
  RecordDefaults(Brush());
  RecordDefaults(Pen());
}

void TNearestTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TNearestTool*>(Source)) {
    fullRepaint_ = t->fullRepaint_;
    linePen_->Assign(t->linePen_.get());
    size_ = t->size_;
    style_ = t->style_;
  }
  TLumCustomToolSeries::Assign(Source);
}

void TNearestTool::DefineProperties(TPropertyTable& t) {
  t.Bool("DrawLine", &TNearestTool::DrawLine, &TNearestTool::SetDrawLine).Stored(false);
  t.Bool("FullRepaint", &TNearestTool::FullRepaint, &TNearestTool::SetFullRepaint).Default(true);
  t.Object("LinePen", &TNearestTool::LinePen);
  t.Int("Size", &TNearestTool::Size, &TNearestTool::SetSize).Default(20LL);
  t.Enum("Style", &TNearestTool::Style, &TNearestTool::SetStyle,
         {"hsNone", "hsCircle", "hsRectangle", "hsDiamond", "hsSeries"})
      .Default(1);
  t.Event("OnChange", &TNearestTool::OnChange);
}

int TNearestTool::GetNearestPoint(TChartSeries* Series, int X, int Y) {
  if (!Series) return -1;
  if (const int hit = Series->Clicked(X, Y); hit != -1) return hit;
  TCustomAxisPanel* chart = Series->ParentChart();
  if (!chart) return -1;
  int first, last;
  VisibleRange(Series, first, last);
  TChartValueList* z = ZList(Series);
  TChartAxis* depth = chart->DepthAxis();
  const TRect plot = chart->ChartRect();
  double best = 10000;
  int result = -1;
  // Pixels a chunk at a time, the axes looked up once per chunk.
  constexpr int Chunk = 1024;
  int xs[Chunk], ys[Chunk];
  for (int from = first; from <= last; from += Chunk) {
    const int n = std::min(Chunk, last - from + 1);
    Series->CalcPositions(from, n, xs, ys);
    for (int k = 0; k < n; ++k) {
      const int i = from + k;
      if (Series->IsNull(i)) continue;
      int px = xs[k], py = ys[k];
      if (z && depth && chart->Canvas()) {
        // Points at a depth of their own count wherever they project.
        const TPoint p = chart->Canvas()->ProjectPoint(px, py, depth->CalcPosValue(z->GetValue(i)));
        px = p.X;
        py = p.Y;
      } else if (!PointInRect(plot, px, py)) {
        continue;
      }
      const double dx = X - px, dy = Y - py;
      // Rounded half to even, as Round does.
      const double d = std::nearbyint(std::sqrt(dx * dx + dy * dy));
      if (d < best) {
        best = d;
        result = i;
      }
    }
  }
  return result;
}

void TNearestTool::DrawHint(TToolDrawing& D) {
  TChartSeries* s = Series();
  TCanvas3D* c = D.Canvas();
  // A clipping chart keeps the highlight and the line inside the plot (its box in
  // 3D), so a point zoomed or scrolled away is not marked over titles or labels.
  TClipToPlot clip(ParentChart(), c);
  if (fullRepaint_) c->ApplyPen(Pen());
  else D.NotXorChartPen(Pen());
  const int px = s->CalcXPos(point_), py = s->CalcYPos(point_);
  int z = s->StartZ();
  if (TChartValueList* zl = ZList(s); zl && ParentChart()->DepthAxis())
    z = ParentChart()->DepthAxis()->CalcPosValue(zl->GetValue(point_));
  if (!D.Is3D()) z = 0;
  if (style_ != hsNone) {
    c->ApplyBrushColors(Brush(), Brush()->Color(), clBlack);
    c->SetBackMode(cbmTransparent);
    const TRect r{px - size_, py - size_, px + size_, py + size_};
    switch (style_) {
      case hsCircle: c->EllipseWithZ(r, z); break;
      case hsRectangle: c->RectangleWithZ(r, z); break;
      case hsDiamond: c->Diamond(r, z); break;
      case hsSeries: {
        // The point drawn again with the tool's pen (a pointer's pen too, which
        // draws the points of line and point series); no repaint for the swap.
        TNoRepaint quiet(ParentChart());
        auto* pointers = dynamic_cast<TCustomSeries*>(s);
        std::vector<TChartPen*> pens{s->Pen()};
        if (pointers) pens.push_back(pointers->Pointer()->Pen());
        std::vector<std::unique_ptr<TChartPen>> saved;
        for (TChartPen* p : pens) {
          saved.push_back(std::make_unique<TChartPen>());
          saved.back()->Assign(p);
          p->Assign(Pen());
        }
        struct TPutBack {
          std::vector<TChartPen*>& Pens;
          std::vector<std::unique_ptr<TChartPen>>& Saved;
          ~TPutBack() {
            for (size_t i = 0; i < Pens.size(); ++i) Pens[i]->Assign(Saved[i].get());
          }
        } putBack{pens, saved};
        s->DrawValue(point_);
        break;
      }
      default: break;
    }
  }
  if (DrawLine()) {
    if (fullRepaint_) c->ApplyPen(linePen_.get());
    else D.NotXorChartPen(linePen_.get());
    const TPoint p = c->ProjectPoint(px, py, z);
    c->MoveTo(mouse_.X, mouse_.Y);
    c->LineTo(p.X, p.Y);
  }
}

void TNearestTool::PaintHint() {
  TChartSeries* s = Series();
  if (!s || !s->Active() || point_ == -1 || point_ >= s->Count() || !ParentChart()) return;
  TToolDrawing d(ParentChart());
  if (d.Ready()) DrawHint(d);
}

void TNearestTool::ChartEvent(TChartToolEvent AEvent) {
  if (AEvent == cteAfterDraw) {
    PaintHint();
  } else if (AEvent == cteMouseLeave) {
    if (!fullRepaint_) PaintHint();
    point_ = -1;
    if (fullRepaint_) Repaint();
  }
}

void TNearestTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton, TShiftState, int X, int Y) {
  if (AEvent != cmeMove || !Series() || !ParentChart()) return;
  if (!fullRepaint_) PaintHint();
  point_ = GetNearestPoint(Series(), X, Y);
  mouse_ = {X, Y};
  if (!fullRepaint_) PaintHint();
  auto alive = life_.Watch();
  FireEvent(OnChange, this);
  if (*alive && fullRepaint_) Repaint();
}

// ---------------------------------------------------------------------------
TMarksTipTool::TMarksTipTool(TComponent* AOwner)
    : TLumCustomToolSeries(AOwner), font_(std::make_unique<TFont>()) {}

TMarksTipTool::~TMarksTipTool() = default;

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction Value) {
  mouseAction_ = Value;
  CancelTip();
}

int TMarksTipTool::MouseDelay() const { return Application ? Application->HintPause() : 0; }
void TMarksTipTool::SetMouseDelay(int Value) {
  if (Application) Application->SetHintPause(Value);
}
int TMarksTipTool::HideDelay() const { return Application ? Application->HintHidePause() : 0; }
void TMarksTipTool::SetHideDelay(int Value) {
  if (Application) Application->SetHintHidePause(Value);
}

void TMarksTipTool::SetActive(bool Value) {
  const bool was = Active();
  TLumCustomToolSeries::SetActive(Value);
  if (was && !Value) CancelTip();
}

void TMarksTipTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TMarksTipTool*>(Source)) {
    font_->Assign(t->font_.get());
    mouseAction_ = t->mouseAction_;
    style_ = t->style_;
  }
  TLumCustomToolSeries::Assign(Source);
}

void TMarksTipTool::DefineProperties(TPropertyTable& t) {
  t.Object("Font", &TMarksTipTool::Font);
  t.Int("HideDelay", &TMarksTipTool::HideDelay, &TMarksTipTool::SetHideDelay).Stored(false);
  t.Enum("MouseAction", &TMarksTipTool::MouseAction, &TMarksTipTool::SetMouseAction, {"mtmMove", "mtmClick"})
      .Default(0);
  t.Int("MouseDelay", &TMarksTipTool::MouseDelay, &TMarksTipTool::SetMouseDelay).Stored(false);
  t.Event("OnCancelHint", &TMarksTipTool::OnCancelHint);
  t.Event("OnGetText", &TMarksTipTool::OnGetText);
  t.Enum("Style", &TMarksTipTool::Style, &TMarksTipTool::SetStyle,
         {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend", "smsPercentTotal",
          "smsLabelPercentTotal", "smsXValue", "smsXY", "smsSeriesTitle", "smsPointIndex", "smsPercentRelative"})
      .Default(2);
}

TCustomAxisPanel* TMarksTipTool::HintHost() const {
  if (Series() && Series()->ParentChart()) return Series()->ParentChart();
  return ParentChart();
}

std::string TMarksTipTool::GetTipText(TChartSeries* ASeries, int ValueIndex) {
  TNoRepaint quiet(ASeries->ParentChart());
  TSeriesMarks* marks = ASeries->Marks();
  const TSeriesMarksStyle old = marks->Style();
  struct TRestore {
    TSeriesMarks* Marks;
    TSeriesMarksStyle Style;
    ~TRestore() { Marks->SetStyle(Style); }
  } restore{marks, old};
  marks->SetStyle(style_);
  std::string text = ASeries->GetMarkText(ValueIndex);
  FireEvent(OnGetText, this, text);
  return text;
}

void TMarksTipTool::ShowTip(TChartSeries* ASeries, int ValueIndex, int X, int Y) {
  TCustomAxisPanel* host = HintHost();
  if (!host) return;
  TComponentRef<TCustomAxisPanel> hostRef(host);
  TNoRepaint quiet(host);
  const std::string text = GetTipText(ASeries, ValueIndex);
  // A handler may have freed the chart; the same text keeps the window shown.
  if (!hostRef || text == host->Hint()) return;
  Application->CancelHint();
  if (Brush()->Color() != clLumColor) Application->SetHintColor(Brush()->Color());
  Screen->SetHintFont(font_.get());
  host->SetShowHint(true);
  host->SetHint(text);
  Application->ActivateHint(host->ClientToScreen({X, Y}));
}

void TMarksTipTool::CancelTip() {
  auto alive = life_.Watch();
  FireEvent(OnCancelHint, this);
  if (!*alive) return;
  TCustomAxisPanel* host = HintHost();
  if (!host || host->Hint().empty()) return;
  host->SetHint("");
  if (Application) {
    Application->SetHintColor(clInfoBk);
    Application->CancelHint();
  }
}

void TMarksTipTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton, TShiftState, int X, int Y) {
  if (!((AEvent == cmeMove && mouseAction_ == mtmMove) || (AEvent == cmeDown && mouseAction_ == mtmClick))) return;
  TCustomAxisPanel* chart = ParentChart();
  // A canvas that keeps tips takes them after each drawing instead of hint windows.
  if (!chart || dynamic_cast<ILumCanvasHints*>(chart->Canvas())) return;
  TChartSeries* series = nullptr;
  int index = -1;
  if (Series()) {
    series = Series();
    index = series->Clicked(X, Y);
  } else {
    for (int i = chart->SeriesCount() - 1; i >= 0 && index == -1; --i) {
      series = chart->GetSeries(i);
      if (series->Active()) index = series->Clicked(X, Y);
    }
  }
  if (index != -1) {
    ShowTip(series, index, X, Y);
    return;
  }
  // Another tips tool in the chart may be showing its own tip.
  for (TLumCustomTool* t : *chart->Tools())
    if (t != this && dynamic_cast<TMarksTipTool*>(t)) return;
  CancelTip();
}

void TMarksTipTool::PassHints(ILumCanvasHints* Hints) {
  TCustomAxisPanel* chart = ParentChart();
  auto pass = [&](TChartSeries* s) {
    // Line, point and area series count their points from 1 and name the pointer too.
    const bool pointers = dynamic_cast<TCustomSeries*>(s) != nullptr;
    int first, last;
    VisibleRange(s, first, last);
    for (int i = first; i <= last; ++i) {
      const std::string text = GetTipText(s, i);
      const std::string key = "Series_" + s->NameOrDefault() + "_" + IntToStr(pointers ? i + 1 : i);
      Hints->AddHint(key, text);
      if (pointers) Hints->AddHint(key + "_SeriesPointer", text);
    }
  };
  if (Series()) pass(Series());
  else
    for (int i = 0; i < chart->SeriesCount(); ++i) pass(chart->GetSeries(i));
}

void TMarksTipTool::ChartEvent(TChartToolEvent AEvent) {
  if (AEvent != cteAfterDraw || !ParentChart()) return;
  if (auto* hints = dynamic_cast<ILumCanvasHints*>(ParentChart()->Canvas())) PassHints(hints);
}

// ---------------------------------------------------------------------------
TDragMarksTool::TDragMarksTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

void TDragMarksTool::DefineProperties(TPropertyTable& t) {
  t.Event("OnDraggedMark", &TDragMarksTool::OnDraggedMark);
  t.Event("OnDraggingMark", &TDragMarksTool::OnDraggingMark);
}

int TDragMarksTool::FindMark(int X, int Y, TChartSeries*& ASeries) const {
  auto hit = [&](TChartSeries* s) {
    return s->Active() && s->Marks()->Visible() ? s->Marks()->Clicked(X, Y) : -1;
  };
  ASeries = nullptr;
  if (Series()) {
    const int i = hit(Series());
    if (i != -1) ASeries = Series();
    return i;
  }
  TCustomAxisPanel* chart = ParentChart();
  for (int n = chart ? chart->SeriesCount() - 1 : -1; n >= 0; --n) {
    TChartSeries* s = chart->GetSeries(n);
    if (const int i = hit(s); i != -1) {
      ASeries = s;
      return i;
    }
  }
  return -1;
}

void TDragMarksTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  switch (AEvent) {
    case cmeDown: {
      TChartSeries* s;
      index_ = FindMark(X, Y, s);
      dragSeries_.Set(s);
      last_ = {X, Y};
      if (index_ != -1) TakeMouse(chart);
      break;
    }
    case cmeMove: {
      TChartSeries* s = dragSeries_.Get();
      if (index_ == -1 || !s) {
        TChartSeries* over;
        if (FindMark(X, Y, over) != -1) TakeMouse(chart, crLumHand);
        else GiveBackCursor(chart);
        break;
      }
      TSeriesMarkPosition& p = s->Marks()->Positions().Position(index_);
      const int dx = X - last_.X, dy = Y - last_.Y;
      p.Custom = true;
      p.LeftTop = {p.LeftTop.X + dx, p.LeftTop.Y + dy};
      p.ArrowTo = {p.ArrowTo.X + dx, p.ArrowTo.Y + dy};
      last_ = {X, Y};
      TakeMouse(chart);
      s->Repaint();
      FireEvent(OnDraggingMark, this, index_, Button, Shift, X, Y);
      break;
    }
    case cmeUp: {
      const int index = index_;
      const bool dragged = index != -1 && dragSeries_.Get();
      index_ = -1;
      dragSeries_.Set(nullptr);
      if (dragged) FireEvent(OnDraggedMark, this, index, Button, Shift, X, Y);
      break;
    }
  }
}
