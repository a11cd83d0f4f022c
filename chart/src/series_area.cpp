#include <algorithm>
#include <cmath>

#include "canvas/lumcanvas.h"
#include "chart/stdseries.h"
#include "engine/axis.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TAreaSeries, TCustomSeries)
IMPLEMENT_CLASS(THorizLineSeries, TLineSeries)
IMPLEMENT_CLASS(THorizAreaSeries, TAreaSeries)
IMPLEMENT_CLASS(THorizBarSeries, TCustomBarSeries)

namespace {
// Horizontal types keep their points in the order added: positions run up the
// vertical axis, and the X list holds values.
void MakeHorizontal(TChartSeries* S) {
  S->XValues()->SetOrder(loNone);
  S->YValues()->SetOrder(loNone);
}

// Sample points are made as positions on X and values on Y: swapped for a
// horizontal type.
void SwapSampleRoles(TChartSeries* S) {
  for (int i = 0; i < S->Count(); ++i) {
    const double x = S->XValues()->GetValue(i);
    S->XValues()->SetValue(i, S->YValues()->GetValue(i));
    S->YValues()->SetValue(i, x);
  }
}

TColor Darker(TColor C, int Percent) {
  const TColor rgb = ColorToRGB(C);
  const auto part = [&](int Shift) { return ((rgb >> Shift) & 0xFF) * (100 - Percent) / 100; };
  return TColor(part(0) | (part(8) << 8) | (part(16) << 16));
}
}  // namespace

// ---------------------------------------------------------------------------
TAreaSeries::TAreaSeries(TComponent* AOwner)
    : TCustomSeries(AOwner), areaLinesPen_(std::make_unique<TChartPen>(ChangeHandler())) {
  Pointer()->SetVisible(false);
  RecordDefaults(Pointer());
  areaLinesPen_->SetVisible(false);
  RecordDefaults(areaLinesPen_.get());
}

TAreaSeries::~TAreaSeries() = default;

int TAreaSeries::OriginPos() const {
  TChartAxis* axis = Horizontal() ? GetHorizAxis() : GetVertAxis();
  if (!axis) return 0;
  double origin = useYOrigin_ ? yOrigin_ : axis->Minimum();
  if (!useYOrigin_ && axis->Inverted()) origin = axis->Maximum();
  return Horizontal() ? CalcXPosValue(origin) : CalcYPosValue(origin);
}

void TAreaSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || FirstValueIndex() < 0) return;
  const bool horiz = Horizontal();
  const int base = OriginPos();
  const bool in3D = ParentChart()->View3D() && EndZ() > StartZ();
  const int z = in3D ? StartZ() : MiddleZ();
  // A point of a stretch: along the positions (A) and the values (V).
  const auto at = [&](int A, int V) { return horiz ? TPoint{V, A} : TPoint{A, V}; };
  TLumBlend* blend = Transparency() > 0 ? c->BeginBlending(ParentChart()->ChartBounds(), Transparency()) : nullptr;
  // Points a chunk at a time, converted together; a break in the line breaks the fill.
  bool open = false;
  int pa = 0, pv = 0;
  ForEachVisibleChunk([&](const TPathPoint* P, int N) {
    for (int k = 0; k < N; ++k) {
      const int i = P[k].Index;
      const int a = horiz ? P[k].Y : P[k].X, v = horiz ? P[k].X : P[k].Y;
      if (open && !P[k].Starts) {
        TColor color = GetValueColor(i);
        if (color == clNone) color = SeriesColor();
        c->Pen()->SetStyle(psClear);
        if (in3D) {
          // The top of the stretch runs back through the series' depth.
          c->ApplyBrushColors(AreaBrush(), Darker(color, 20), AreaBrush()->BackColor());
          const TPoint p0 = at(pa, pv), p1 = at(a, v);
          const std::vector<TPoint> top{c->ProjectPoint(p0.X, p0.Y, StartZ()), c->ProjectPoint(p1.X, p1.Y, StartZ()),
                                        c->ProjectPoint(p1.X, p1.Y, EndZ()), c->ProjectPoint(p0.X, p0.Y, EndZ())};
          c->Polygon(top);
        }
        c->ApplyBrushColors(AreaBrush(), color, AreaBrush()->BackColor());
        c->PolygonWithZ({at(pa, pv), at(a, v), at(a, base), at(pa, base)}, z);
      }
      open = true;
      pa = a;
      pv = v;
    }
  });
  if (blend) c->EndBlending(blend);
  if (areaLinesPen_->Visible()) {
    c->ApplyPen(areaLinesPen_.get());
    ForEachVisibleChunk([&](const TPathPoint* P, int N) {
      for (int k = 0; k < N; ++k) {
        if (horiz) c->LineWithZ(base, P[k].Y, P[k].X, P[k].Y, z);
        else c->LineWithZ(P[k].X, base, P[k].X, P[k].Y, z);
      }
    });
  }
  // The line and the markers over the fill.
  TCustomSeries::DrawAllValues();
}

int TAreaSeries::Clicked(int X, int Y) {
  const int onLine = TCustomSeries::Clicked(X, Y);
  if (onLine >= 0 || !ParentChart()) return onLine;
  const TPoint p = ParentCanvas() ? ParentCanvas()->InverseProject(X, Y, ParentChart()->View3D() ? StartZ() : MiddleZ())
                                  : TPoint{X, Y};
  const bool horiz = Horizontal();
  const int base = OriginPos();
  const int pa = horiz ? p.Y : p.X, pv = horiz ? p.X : p.Y;
  int prev = -1;
  for (int i = FirstValueIndex(); i >= 0 && i <= LastValueIndex(); ++i) {
    if (TreatNulls() != tnIgnore && IsNull(i)) {
      if (TreatNulls() == tnDontPaint) prev = -1;
      continue;
    }
    if (prev >= 0) {
      const int a0 = horiz ? CalcYPos(prev) : CalcXPos(prev), a1 = horiz ? CalcYPos(i) : CalcXPos(i);
      const int v0 = horiz ? CalcXPos(prev) : CalcYPos(prev), v1 = horiz ? CalcXPos(i) : CalcYPos(i);
      if (a0 != a1 && pa >= std::min(a0, a1) && pa <= std::max(a0, a1)) {
        // The fill between the line and the origin at this place: the stretch's
        // colour is its end point's, and so is the answer.
        const double v = v0 + double(v1 - v0) * (pa - a0) / (a1 - a0);
        if (pv >= std::min<double>(v, base) && pv <= std::max<double>(v, base)) return i;
      }
    }
    prev = i;
  }
  return -1;
}

void TAreaSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);
  for (const char* name : {"Colors", "No Lines", "Origin", "Area Lines", "Transparency"}) AddSubChart(name);
}

void TAreaSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* area = dynamic_cast<TAreaSeries*>(ASeries);
  if (!area) return;
  switch (Index) {
    case 1: area->SetColorEachPoint(true); break;
    case 2: area->LinePen()->Hide(); break;
    case 3:
      area->SetUseYOrigin(true);
      area->SetYOrigin((area->MandatoryValueList()->GetMinValue() + area->MandatoryValueList()->GetMaxValue()) / 2);
      break;
    case 4: area->AreaLinesPen()->Show(); break;
    case 5: area->SetTransparency(50); break;
    default: break;
  }
}

void TAreaSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TAreaSeries*>(Source)) {
    useYOrigin_ = src->useYOrigin_;
    yOrigin_ = src->yOrigin_;
    areaLinesPen_->Assign(src->areaLinesPen_.get());
  }
  TCustomSeries::Assign(Source);
}

void TAreaSeries::DefineProperties(TPropertyTable& t) {
  t.Object("AreaBrush", &TAreaSeries::AreaBrush);
  t.Object("AreaLinesPen", &TAreaSeries::AreaLinesPen);
  t.Bool("UseYOrigin", &TAreaSeries::UseYOrigin, &TAreaSeries::SetUseYOrigin).Default(false);
  t.Float("YOrigin", &TAreaSeries::YOrigin, &TAreaSeries::SetYOrigin).Default((long double)0);
}

// ---------------------------------------------------------------------------
THorizLineSeries::THorizLineSeries(TComponent* AOwner) : TLineSeries(AOwner) { MakeHorizontal(this); }

THorizAreaSeries::THorizAreaSeries(TComponent* AOwner) : TAreaSeries(AOwner) { MakeHorizontal(this); }

THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
  MakeHorizontal(this);
  YValues()->SetName("Y");
  XValues()->SetName("Bar");
}

void THorizLineSeries::AddSampleValues(int NumValues) {
  TLineSeries::AddSampleValues(NumValues);
  SwapSampleRoles(this);
}

void THorizAreaSeries::AddSampleValues(int NumValues) {
  TAreaSeries::AddSampleValues(NumValues);
  SwapSampleRoles(this);
}

void THorizBarSeries::AddSampleValues(int NumValues) {
  TCustomBarSeries::AddSampleValues(NumValues);
  SwapSampleRoles(this);
}
