#include "chart/series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "canvas/lumcanvas.h"
#include "engine/axis.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TCustomLineSeries, TChartSeries)
IMPLEMENT_CLASS(TFastLineSeries, TCustomLineSeries)
IMPLEMENT_CLASS_PROPS(TCustomSeries, TCustomLineSeries)
IMPLEMENT_CLASS(TLineSeries, TCustomSeries)
IMPLEMENT_CLASS(TPointSeries, TCustomSeries)
IMPLEMENT_CLASS_PROPS(TCustomBarSeries, TChartSeries)
IMPLEMENT_CLASS(TBarSeries, TCustomBarSeries)

// ---------------------------------------------------------------------------
TCustomLineSeries::TCustomLineSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  LinePen()->SetColor(clLumColor);
}

TColor TCustomLineSeries::LineColor() const {
  const TColor c = LinePen()->Color();
  return c == clLumColor ? SeriesColor() : c;
}

TCustomLineSeries::Path TCustomLineSeries::VisiblePath() const {
  Path p;
  if (FirstValueIndex() < 0) return p;
  bool broken = false;
  for (int i = FirstValueIndex(); i <= LastValueIndex(); ++i) {
    if (IsNull(i) && TreatNulls() != tnIgnore) {
      broken = broken || TreatNulls() == tnDontPaint;
      continue;
    }
    p.Points.push_back({CalcXPos(i), CalcYPos(i)});
    p.Indexes.push_back(i);
    p.Breaks.push_back(broken || p.Breaks.empty());
    broken = false;
  }
  return p;
}

void TCustomLineSeries::DrawPath(const Path& P) {
  TCanvas3D* c = ParentCanvas();
  if (!c) return;
  const int z = MiddleZ();
  for (size_t i = 0; i < P.Points.size(); ++i) {
    if (P.Breaks[i]) c->MoveTo3D(P.Points[i].X, P.Points[i].Y, z);
    else c->LineTo3D(P.Points[i].X, P.Points[i].Y, z);
  }
}

void TCustomLineSeries::DefineProperties(TPropertyTable& t) { t.Object("LinePen", &TCustomLineSeries::LinePen); }

// ---------------------------------------------------------------------------
TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {}

void TFastLineSeries::SetSeriesColor(TColor Value) {
  TCustomLineSeries::SetSeriesColor(Value);
  LinePen()->SetColor(Value);
}

void TFastLineSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || !LinePen()->Visible()) return;
  c->ApplyPenColor(LinePen(), LineColor());
  DrawPath(VisiblePath());
}

// The line is drawn as a whole; a single point has nothing to join.
void TFastLineSeries::DrawValue(int) {}

// ---------------------------------------------------------------------------
namespace {
// Changes that the pointer-style event makes while its chart draws apply to the
// marker being drawn; they must not ask for the next paint, or a chart whose event
// sizes markers by index would never stop repainting.
class TRepaintPause {
public:
  explicit TRepaintPause(TCustomAxisPanel* Chart) : chart_(Chart && Chart->Drawing() ? Chart : nullptr) {
    if (chart_) {
      saved_ = chart_->AutoRepaint();
      chart_->SetAutoRepaint(false);
    }
  }
  ~TRepaintPause() {
    if (chart_) chart_->SetAutoRepaint(saved_);
  }
  TRepaintPause(const TRepaintPause&) = delete;
  TRepaintPause& operator=(const TRepaintPause&) = delete;

private:
  TCustomAxisPanel* chart_;
  bool saved_ = true;
};
}  // namespace

TCustomSeries::TCustomSeries(TComponent* AOwner)
    : TCustomLineSeries(AOwner), pointer_(std::make_unique<TSeriesPointer>(this)) {}

TCustomSeries::~TCustomSeries() = default;

TSeriesPointerStyle TCustomSeries::DoGetPointerStyle(int ValueIndex) {
  if (!OnGetPointerStyle.Assigned()) return pointer_->Style();
  TRepaintPause pause(ParentChart());
  return OnGetPointerStyle(this, ValueIndex);
}

void TCustomSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || FirstValueIndex() < 0) return;
  if (DrawsLine() && LinePen()->Visible()) {
    // Each segment in the colour of the point it ends at.
    const Path p = VisiblePath();
    const int z = MiddleZ();
    TColor current = clNone;
    for (size_t i = 0; i < p.Points.size(); ++i) {
      const TPoint& pt = p.Points[i];
      if (p.Breaks[i]) {
        c->MoveTo3D(pt.X, pt.Y, z);
        continue;
      }
      TColor color = GetValueColor(p.Indexes[i]);
      if (color == clNone) color = SeriesColor();  // an ignored null
      if (LinePen()->Color() != clLumColor) color = LinePen()->Color();
      if (color != current) {
        c->ApplyPenColor(LinePen(), color);
        current = color;
      }
      c->LineTo3D(pt.X, pt.Y, z);
    }
  }
  if (pointer_->Visible())
    for (int i = FirstValueIndex(); i <= LastValueIndex(); ++i) DrawValue(i);
}

void TCustomSeries::DrawValue(int ValueIndex) {
  TCanvas3D* c = ParentCanvas();
  if (!c || !pointer_->Visible()) return;
  if (IsNull(ValueIndex) && TreatNulls() != tnIgnore) return;
  TColor color = GetValueColor(ValueIndex);
  if (color == clNone) color = SeriesColor();
  const int x = CalcXPos(ValueIndex), y = CalcYPos(ValueIndex);
  pointer_->PrepareCanvas(c, color);
  const TSeriesPointerStyle style = DoGetPointerStyle(ValueIndex);
  // Draw prepares the canvas again, so sizes and colours the event set apply now.
  pointer_->Draw(x, y, color, style);
}

void TCustomSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
  pointer_->CalcHorizMargins(LeftMargin, RightMargin);
}

void TCustomSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  pointer_->CalcVerticalMargins(TopMargin, BottomMargin);
}

void TCustomSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomSeries*>(Source)) pointer_->Assign(src->pointer_.get());
  TCustomLineSeries::Assign(Source);
}

void TCustomSeries::DefineProperties(TPropertyTable& t) {
  t.Object("Pointer", &TCustomSeries::Pointer);
  t.Event("OnGetPointerStyle", &TCustomSeries::OnGetPointerStyle);
}

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner) { Pointer()->SetVisible(false); }

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner) {}

// ---------------------------------------------------------------------------
TCustomBarSeries::TCustomBarSeries(TComponent* AOwner)
    : TChartSeries(AOwner), shadow_(std::make_unique<TLumShadow>(ChangeHandler())) {
  YValues()->SetName("Bar");
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarWidthPercent(int Value) { SetIntegerProperty(barWidthPercent_, std::clamp(Value, 1, 100)); }
void TCustomBarSeries::SetYOrigin(double Value) { SetDoubleProperty(yOrigin_, Value); }
void TCustomBarSeries::SetUseYOrigin(bool Value) { SetBooleanProperty(useYOrigin_, Value); }
void TCustomBarSeries::SetDark3D(bool Value) { SetBooleanProperty(dark3D_, Value); }
void TCustomBarSeries::SetSideMargins(bool Value) { SetBooleanProperty(sideMargins_, Value); }

int TCustomBarSeries::BarWidth() const {
  TChartAxis* axis = GetHorizAxis();
  const int n = Count();
  if (!axis || n == 0) return 1;
  const double spacing = n > 1 ? std::abs(CalcXPosValue(MaxXValue()) - CalcXPosValue(MinXValue())) / double(n - 1)
                               : std::abs(axis->IAxisSize());
  return std::max(1, int(Round(spacing * barWidthPercent_ / 100.0)));
}

TRect TCustomBarSeries::CalcBarBounds(int ValueIndex) const {
  TChartAxis* vert = GetVertAxis();
  if (!vert || IsNull(ValueIndex)) return {};
  const int width = BarWidth();
  const int left = CalcXPos(ValueIndex) - width / 2;
  int top = CalcYPos(ValueIndex);
  int bottom = CalcYPosValue(useYOrigin_ ? yOrigin_ : vert->Minimum());
  if (top > bottom) std::swap(top, bottom);
  TRect r{left, top, left + width, bottom};
  // Far values saturate far outside: keep the bar to the plot.
  const TRect& plot = ParentChart()->ChartRect();
  r.Left = std::max(r.Left, plot.Left);
  r.Right = std::min(r.Right, plot.Right + 1);
  r.Top = std::max(r.Top, plot.Top);
  r.Bottom = std::min(r.Bottom, plot.Bottom + 1);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return {};
  return r;
}

void TCustomBarSeries::DrawValue(int ValueIndex) {
  TCanvas3D* c = ParentCanvas();
  if (!c) return;
  const TRect r = CalcBarBounds(ValueIndex);
  if (r.Right <= r.Left) return;
  c->ApplyBrushColors(BarBrush(), GetValueColor(ValueIndex), BarBrush()->BackColor());
  if (BarPen()->Visible()) {
    c->ApplyPen(BarPen());
    c->RectangleWithZ(r, MiddleZ());
  } else {
    c->FillRect(r);
  }
}

void TCustomBarSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TChartSeries::CalcHorizMargins(LeftMargin, RightMargin);
  if (!sideMargins_ || Count() == 0 || !ParentChart()) return;
  // Half a bar at each end, from the plot width the chart has now.
  const int bar = std::max(1, int(Round(double(ParentChart()->ChartWidth()) / Count() * barWidthPercent_ / 100.0)));
  LeftMargin = std::max(LeftMargin, bar / 2 + 1);
  RightMargin = std::max(RightMargin, bar / 2 + 1);
}

void TCustomBarSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomBarSeries*>(Source)) {
    barWidthPercent_ = src->barWidthPercent_;
    yOrigin_ = src->yOrigin_;
    useYOrigin_ = src->useYOrigin_;
    dark3D_ = src->dark3D_;
    sideMargins_ = src->sideMargins_;
    shadow_->Assign(src->shadow_.get());
  }
  TChartSeries::Assign(Source);
}

void TCustomBarSeries::DefineProperties(TPropertyTable& t) {
  t.Object("BarBrush", &TCustomBarSeries::BarBrush);
  t.Object("BarPen", &TCustomBarSeries::BarPen);
  t.Int("BarWidthPercent", &TCustomBarSeries::BarWidthPercent, &TCustomBarSeries::SetBarWidthPercent).Default(70LL);
  t.Bool("Dark3D", &TCustomBarSeries::Dark3D, &TCustomBarSeries::SetDark3D).Default(true);
  t.Object("Shadow", &TCustomBarSeries::Shadow);
  t.Bool("SideMargins", &TCustomBarSeries::SideMargins, &TCustomBarSeries::SetSideMargins).Default(true);
  t.Bool("UseYOrigin", &TCustomBarSeries::UseYOrigin, &TCustomBarSeries::SetUseYOrigin).Default(true);
  t.Float("YOrigin", &TCustomBarSeries::YOrigin, &TCustomBarSeries::SetYOrigin).Default((long double)0);
}
