#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "chart/stdseries.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TPieSeries, TChartSeries)

namespace {
constexpr double DegToRad = std::numbers::pi / 180;
// Arc steps per full turn: smooth at any size a chart gives a pie.
constexpr int ArcSteps = 180;
}  // namespace

TPieSeries::TPieSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  YValues()->SetName("Pie");
  XValues()->SetOrder(loNone);
  SetColorEachPoint(true);
}

void TPieSeries::SetRotationAngle(int Value) { SetIntegerProperty(rotationAngle_, ((Value % 360) + 360) % 360); }
void TPieSeries::SetPieSize(int Value) { SetIntegerProperty(pieSize_, std::clamp(Value, 1, 100)); }

bool TPieSeries::HasSlice(int ValueIndex) const {
  if (IsNull(ValueIndex)) return false;
  const double v = PieValues()->GetValue(ValueIndex);
  return v > 0 && std::isfinite(v);
}

double TPieSeries::SliceTotal() const {
  double total = 0;
  for (int i = 0; i < Count(); ++i)
    if (HasSlice(i)) total += PieValues()->GetValue(i);
  return total;
}

bool TPieSeries::SliceAngles(int ValueIndex, double& StartAngle, double& EndAngle) const {
  if (ValueIndex < 0 || ValueIndex >= Count() || !HasSlice(ValueIndex)) return false;
  const double total = SliceTotal();
  if (!(total > 0) || !std::isfinite(total)) return false;
  double before = 0;
  for (int i = 0; i < ValueIndex; ++i)
    if (HasSlice(i)) before += PieValues()->GetValue(i);
  StartAngle = rotationAngle_ + 360 * before / total;
  EndAngle = StartAngle + 360 * PieValues()->GetValue(ValueIndex) / total;
  return true;
}

void TPieSeries::CalcCircle(int& CenterX, int& CenterY, int& XRadius, int& YRadius) const {
  CenterX = CenterY = XRadius = YRadius = 0;
  if (!ParentChart()) return;
  const TRect& r = ParentChart()->ChartRect();
  CenterX = (r.Left + r.Right) / 2;
  CenterY = (r.Top + r.Bottom) / 2;
  XRadius = YRadius = std::max(0, std::min(r.Right - r.Left, r.Bottom - r.Top) * pieSize_ / 200);
}

void TPieSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || Count() == 0) return;
  int cx, cy, rx, ry;
  CalcCircle(cx, cy, rx, ry);
  if (rx <= 0) return;
  const bool in3D = ParentChart()->View3D() && EndZ() > StartZ();
  const int front = in3D ? StartZ() : MiddleZ();
  const auto edge = [&](double Degrees, int Z) {
    return c->ProjectPoint(int(std::lround(cx + rx * std::cos(Degrees * DegToRad))),
                           int(std::lround(cy - ry * std::sin(Degrees * DegToRad))), Z);
  };
  const auto prepare = [&](int i, bool Rim) {
    TColor color = GetValueColor(i);
    if (Rim) {
      const TColor rgb = ColorToRGB(color);
      color = TColor(((rgb & 0xFF) * 3 / 4) | ((((rgb >> 8) & 0xFF) * 3 / 4) << 8) | ((((rgb >> 16) & 0xFF) * 3 / 4) << 16));
    }
    c->ApplyBrushColors(Brush(), color, Brush()->BackColor());
    // The rim is many narrow faces: outlined, it would turn to the pen's colour.
    if (PiePen()->Visible() && !Rim) c->ApplyPen(PiePen());
    else c->Pen()->SetStyle(psClear);
  };
  // A slice as the projected centre and arc at depth Z.
  const auto slice = [&](double A0, double A1, int Z) {
    std::vector<TPoint> pts{c->ProjectPoint(cx, cy, Z)};
    const int steps = std::max(1, int(std::ceil((A1 - A0) * ArcSteps / 360)));
    for (int k = 0; k <= steps; ++k) pts.push_back(edge(A0 + (A1 - A0) * k / steps, Z));
    return pts;
  };
  double a0, a1;
  if (in3D) {
    // A disc: the back face, then the rim, then the front over them.
    for (int i = 0; i < Count(); ++i)
      if (SliceAngles(i, a0, a1)) {
        prepare(i, true);
        c->Polygon(slice(a0, a1, EndZ()));
      }
    for (int i = 0; i < Count(); ++i) {
      if (!SliceAngles(i, a0, a1)) continue;
      prepare(i, true);
      const int steps = std::max(1, int(std::ceil((a1 - a0) * ArcSteps / 360)));
      for (int k = 0; k < steps; ++k) {
        const double b0 = a0 + (a1 - a0) * k / steps, b1 = a0 + (a1 - a0) * (k + 1) / steps;
        c->Polygon(std::vector<TPoint>{edge(b0, StartZ()), edge(b1, StartZ()), edge(b1, EndZ()), edge(b0, EndZ())});
      }
    }
  }
  for (int i = 0; i < Count(); ++i)
    if (SliceAngles(i, a0, a1)) {
      prepare(i, false);
      c->Polygon(slice(a0, a1, front));
    }
}

int TPieSeries::Clicked(int X, int Y) {
  if (!ParentChart()) return -1;
  int cx, cy, rx, ry;
  CalcCircle(cx, cy, rx, ry);
  if (rx <= 0) return -1;
  TPoint p{X, Y};
  if (ParentCanvas()) p = ParentCanvas()->InverseProject(X, Y, ParentChart()->View3D() ? StartZ() : MiddleZ());
  const double dx = double(p.X - cx) / rx, dy = double(cy - p.Y) / ry;
  if (dx * dx + dy * dy > 1) return -1;
  double angle = std::atan2(dy, dx) / DegToRad;
  for (int i = 0; i < Count(); ++i) {
    double a0, a1;
    if (!SliceAngles(i, a0, a1)) continue;
    // The click's angle in the slice's own turn.
    double a = angle;
    while (a < a0) a += 360;
    while (a >= a0 + 360) a -= 360;
    if (a < a1) return i;
  }
  return -1;
}

void TPieSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);
  for (const char* name : {"No Border", "Rotated", "Small"}) AddSubChart(name);
}

void TPieSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* pie = dynamic_cast<TPieSeries*>(ASeries);
  if (!pie) return;
  if (Index == 1) pie->PiePen()->Hide();
  if (Index == 2) pie->SetRotationAngle(90);
  if (Index == 3) pie->SetPieSize(60);
}

void TPieSeries::PrepareForGallery(bool IsEnabled) {
  TChartSeries::PrepareForGallery(IsEnabled);
  // A pie needs no axes, nor the walls of their box; its slices take the palette's
  // colours, grey when disabled.
  if (ParentChart()) ParentChart()->SetAxisVisible(false);
  if (auto* chart = dynamic_cast<TCustomChart*>(ParentChart())) chart->SetView3DWalls(false);
  AddSampleValues(NumSampleValues());
  SetColorEachPoint(IsEnabled);
}

void TPieSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TPieSeries*>(Source)) {
    rotationAngle_ = src->rotationAngle_;
    pieSize_ = src->pieSize_;
  }
  TChartSeries::Assign(Source);
}

void TPieSeries::DefineProperties(TPropertyTable& t) {
  t.Bool("ColorEachPoint", &TPieSeries::ColorEachPoint, &TPieSeries::SetColorEachPoint).Default(true);
  t.Object("PiePen", &TPieSeries::PiePen);
  t.Int("PieSize", &TPieSeries::PieSize, &TPieSeries::SetPieSize).Default(90LL);
  t.Int("RotationAngle", &TPieSeries::RotationAngle, &TPieSeries::SetRotationAngle).Default(0LL);
}
