#include "main_road.h"

#include <QApplication>
#include <QFont>

#include <cmath>
#include <cstdlib>
#include <string>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "chart/unit.h"
#include "platform/forms.h"

namespace mainroad {

struct THeadless::Impl {
  std::unique_ptr<QApplication> app;
};

THeadless::THeadless(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  impl_->app = std::make_unique<QApplication>(argc, argv);
  GraphicsUnitInit();
  FormsUnitInit();
  LumConstUnitInit();
  ChartUnitInit();
}

THeadless::~THeadless() {
  ChartUnitDone();
  LumConstUnitDone();
  FormsUnitDone();
  GraphicsUnitDone();
}

namespace {

constexpr double LatticeA = 4.0;
constexpr double TwoPi = 6.283192, Pi = 3.141596;  // the program's own constants
constexpr double WaveAmplitude = 0.5;

template <class S>
S* AddSeries(TChart* Chart, const char* Name) {
  auto* s = new S(Chart->Owner());
  s->SetName(Name);
  s->SetParentChart(Chart);
  return s;
}

void FixAxis(TChartAxis* Axis, double Min, double Max) {
  Axis->SetAutomatic(false);
  Axis->SetAutomaticMinimum(false);
  Axis->SetAutomaticMaximum(false);
  Axis->SetMinMax(Min, Max);
}

TFastLineSeries* Wave(TChart* Chain, int Index) { return static_cast<TFastLineSeries*>(Chain->GetSeries(Index)); }
TPointSeries* Atoms(TChart* Chain) { return static_cast<TPointSeries*>(Chain->GetSeries(1)); }

// The atoms' marker callback: every atom 10 x 10 red, or by parity of the index.
void SetAtomMarkers(TChart* Chain, bool TwoAtoms, int SizeEven, int SizeOdd) {
  TPointSeries* atoms = Atoms(Chain);
  atoms->OnGetPointerStyle = TGetPointerStyleEvent(
      [=](TChartSeries*, int ValueIndex) {
        TSeriesPointer* p = atoms->Pointer();
        const bool odd = TwoAtoms && ValueIndex % 2 != 0;
        const int size = TwoAtoms ? (odd ? SizeOdd : SizeEven) : 10;
        p->SetHorizSize(size);
        p->SetVertSize(size);
        p->SetColor(odd ? clGreen : clRed);
        return psCircle;
      },
      "Series2GetPointerStyle");
}

void SiteBars(TChart* Chain, int Last) {
  TChartSeries* bars = Chain->GetSeries(6);
  bars->Clear();
  for (int x = 0; x <= Last; ++x) bars->AddXY(x, 1000, "", clGray);
}

double Omega(double K) { return std::sqrt(1 - std::cos(LatticeA * K)); }

}  // namespace

TChart* CreateChainChart(TComponent* Owner) {
  auto* c = new TChart(Owner);
  c->SetName("Chart1");
  c->SetBounds(32, 48, ChainWidth, ChainHeight);
  c->SetView3D(false);
  c->Legend()->Hide();
  c->Title()->Hide();
  c->Border()->Show();
  c->SetMarginTop(5);
  TChartAxis* bottom = c->BottomAxis();
  bottom->Axis()->Hide();
  bottom->Grid()->Hide();
  bottom->SetLabels(false);
  bottom->Ticks()->Hide();
  bottom->MinorTicks()->Hide();
  bottom->SetMinorTickCount(1);
  bottom->SetTickInnerLength(45);
  bottom->SetGridCentered(true);
  TChartAxis* left = c->LeftAxis();
  left->SetVisible(false);
  left->SetLabels(false);
  left->Grid()->Hide();
  FixAxis(left, -1, 1);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);

  auto* s1 = AddSeries<TFastLineSeries>(c, "Series1");
  s1->SetSeriesColor(clRed);
  s1->SetTreatNulls(tnDontPaint);
  s1->Marks()->Hide();
  auto* s2 = AddSeries<TPointSeries>(c, "Series2");
  s2->Pointer()->SetVisible(true);
  s2->Pointer()->SetStyle(psCircle);
  s2->Pointer()->SetHorizSize(8);
  s2->Pointer()->SetVertSize(8);
  s2->Pointer()->SetInflateMargins(true);
  s2->Marks()->Hide();
  AddSeries<TFastLineSeries>(c, "Series3")->SetSeriesColor(clYellow);
  auto* s4 = AddSeries<TFastLineSeries>(c, "Series4");
  s4->SetSeriesColor(clBlue);
  s4->SetTreatNulls(tnDontPaint);
  auto* s6 = AddSeries<TFastLineSeries>(c, "Series6");
  s6->SetSeriesColor(4227072);
  s6->LinePen()->SetStyle(psDot);
  s6->SetTreatNulls(tnDontPaint);
  auto* s7 = AddSeries<TFastLineSeries>(c, "Series7");
  s7->SetSeriesColor(clRed);
  s7->LinePen()->SetStyle(psDot);
  s7->XValues()->SetOrder(loAscending);
  auto* s8 = AddSeries<TBarSeries>(c, "Series8");
  s8->SetBarWidthPercent(1);
  s8->BarPen()->Hide();
  s8->BarBrush()->SetColor(clWhite);
  s8->SetYOrigin(-1);
  s8->SetShowInLegend(false);
  s8->Marks()->Hide();
  s8->SetDark3D(false);
  s8->SetSideMargins(false);
  s8->Shadow()->SetVisible(false);
  s8->XValues()->SetOrder(loAscending);
  s8->YValues()->SetName("Bar");
  SetAtomMarkers(c, false, 10, 10);
  return c;
}

TChart* CreateDispersionChart(TComponent* Owner) {
  auto* c = new TChart(Owner);
  c->SetName("Chart2");
  c->SetBounds(708, 328, DispersionWidth, DispersionHeight);
  c->SetHint("Dispersion Curves");
  c->SetShowHint(true);
  c->SetView3D(false);
  c->View3DOptions()->SetOrthogonal(false);
  c->View3DOptions()->SetZoom(70);
  c->Gradient()->SetVisible(true);
  c->Gradient()->SetDirection(gdDiagonalDown);
  c->Gradient()->SetEndColor(11645361);
  TChartWall* back = c->BackWall();
  back->Gradient()->SetVisible(true);
  back->Gradient()->SetEndColor(11118482);
  back->SetSize(1);
  back->SetTransparent(false);
  back->SetDark3D(false);
  c->Border()->SetColor(14645801);
  c->Border()->SetWidth(7);
  c->Border()->Show();
  c->BottomWall()->Hide();
  c->LeftWall()->Hide();
  c->Legend()->Hide();
  c->SetMarginLeft(5);
  c->SetMarginRight(5);
  c->SetMarginTop(5);
  c->SetColorPaletteIndex(9);
  c->SetBevelOuter(bvNone);
  c->SetBevelWidth(2);
  c->Title()->Text()->Add("Dispersion Curve");
  c->Title()->Text()->Add("");

  TChartAxis* bottom = c->BottomAxis();
  bottom->SetAutomatic(false);
  bottom->SetMaximum(24);
  bottom->SetLabels(false);
  bottom->Axis()->Hide();
  bottom->Ticks()->Hide();
  bottom->MinorTicks()->Hide();
  bottom->Grid()->Hide();
  bottom->SetMinorTickCount(4);
  bottom->GetTitle()->SetCaption("0" + std::string(30, ' ') + "k" + std::string(25, ' ') + "2Pi/a");
  bottom->SetTitleSize(7);
  TChartAxis* left = c->LeftAxis();
  left->SetAutomatic(false);
  left->SetMinMax(45, 435);
  left->SetLabels(false);
  left->LabelsFont()->SetHeight(-5);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);
  left->SetTitleSize(2);
  left->GetTitle()->Brush()->Gradient()->SetVisible(true);
  left->GetTitle()->Brush()->Gradient()->SetDirection(gdBottomTop);
  left->GetTitle()->Frame()->Hide();
  c->TopAxis()->SetAutomatic(false);
  // What the window's show handler sets.
  left->GetTitle()->SetCaption("Omega");
  left->GetTitle()->SetVisible(true);

  for (const char* name : {"LineSeries1", "PointSeries1", "Series5"}) {
    TChartSeries* s;
    if (std::string(name) == "PointSeries1") {
      auto* p = AddSeries<TPointSeries>(c, name);
      p->Pointer()->SetStyle(psCircle);
      p->Pointer()->SetHorizSize(3);
      p->Pointer()->SetVertSize(3);
      p->Pointer()->SetVisible(true);
      s = p;
    } else {
      auto* l = AddSeries<TLineSeries>(c, name);
      l->SetSeriesColor(clBlack);
      l->Pointer()->SetVisible(false);
      s = l;
    }
    s->XValues()->SetOrder(loAscending);
  }
  return c;
}

void MonatomicFrame(TChart* Chain, int KPosition, int T) {
  const double zoneK = TwoPi / LatticeA;
  const float k = float(0.5 * zoneK * KPosition / 1000);
  const double omega = Omega(k), phase = T * omega / 50;
  Wave(Chain, 3)->SetSeriesColor(clBlue);
  Wave(Chain, 0)->SetSeriesColor(clRed);
  SetAtomMarkers(Chain, false, 10, 10);
  SiteBars(Chain, 13);
  for (int i : {0, 1, 3}) Chain->GetSeries(i)->Clear();
  for (int n = 1; n <= 12; ++n) Atoms(Chain)->AddXY(n, WaveAmplitude * std::cos(n * k * LatticeA - phase), "", clRed);
  Wave(Chain, 4)->Clear();
  Wave(Chain, 4)->SetSeriesColor(clRed);
  for (int j = 1; j <= 131; ++j)
    Wave(Chain, 0)->AddXY(j / 10.0, WaveAmplitude * std::cos(j * k * LatticeA / 10 - phase), "", clRed);
}

void DiatomicFrame(TChart* Chain, int M1, int M2, int KPosition, int T) {
  const double zoneK = Pi / LatticeA, C = 1.0, s = -1;  // acoustic branch
  const float k = float(zoneK * KPosition / 1000);
  const double inv = 1.0 / M1 + 1.0 / M2, half = std::sin(k * LatticeA / 2);
  const double omega = std::sqrt(C * inv + s * C * std::sqrt(inv * inv - 4 * half * half / (M1 * M2)));
  const double a1 = 0.05 * M1;
  const double a2 = 2 * C * std::cos(k * LatticeA / 2) * a1 / (2 * C - M2 * omega * omega);
  const double phase = T * omega / 50;
  SetAtomMarkers(Chain, true, 2 * M2, 2 * M1);
  SiteBars(Chain, 12);
  for (int i : {0, 1, 3, 4, 5}) Chain->GetSeries(i)->Clear();
  for (int i = 0; i <= 11; ++i) {
    const bool odd = i % 2 != 0;
    Atoms(Chain)->AddXY(i, (odd ? a1 : a2) * std::cos(i * k * LatticeA / 2 - phase), "", odd ? clGreen : clRed);
  }
  for (int j = 0; j <= 120; ++j) {
    const double p = j * k * LatticeA / 20 - phase;
    Wave(Chain, 0)->AddXY(j / 10.0, a1 * std::cos(p), "", clGreen);
    Wave(Chain, 3)->AddXY(j / 10.0, a2 * std::cos(p), "", clRed);
    for (int i : {0, 4}) Wave(Chain, i)->SetSeriesColor(clGreen);
    for (int i : {3, 5}) Wave(Chain, i)->SetSeriesColor(clRed);
  }
}

void LongitudinalFrame(TChart* Chain, int KPosition, int T) {
  const double zoneK = TwoPi / LatticeA;
  const float k = float(0.5 * zoneK * KPosition / 1000);
  const double omega = Omega(k), phase = T * omega / 50;
  SetAtomMarkers(Chain, false, 10, 10);
  SiteBars(Chain, 13);
  for (int i : {4, 5, 0, 1, 3}) Chain->GetSeries(i)->Clear();
  const double height = k * LatticeA / 1000;
  for (int n = 0; n <= 11; ++n) {
    const double u = 0.5 * WaveAmplitude * std::cos((n + 1) * k * LatticeA - phase);
    const bool end = n == 0 || n == 11;
    Atoms(Chain)->AddXY(end ? n : n + u, height, "", end ? clNone : clRed);
  }
}

namespace {

struct Curve {
  double ZoneK, DeltaK;
  const char* Unit;  // of the title
};

void StartDispersion(TChart* D, const Curve& C, int KPosition, bool Doubled) {
  for (int i = 0; i < 3; ++i) D->GetSeries(i)->Clear();
  const float kS = float(KPosition * C.ZoneK / 1000);
  const double r = (Doubled ? 2 * kS : kS) / C.ZoneK;
  D->Title()->Clear();
  D->Title()->Text()->Add(FormatFloat("0.##", r) + C.Unit);
}

void FinishDispersion(TChart* D, double LeftMax, double BottomMin, const char* Zone) {
  D->LeftAxis()->SetMinimum(0);
  D->LeftAxis()->SetMaximum(LeftMax);
  D->BottomAxis()->SetMinimum(BottomMin);
  D->BottomAxis()->SetMaximum(Pi / LatticeA);
  D->BottomAxis()->GetTitle()->SetCaption("0" + std::string(30, ' ') + "k" + std::string(25, ' ') + Zone);
}

}  // namespace

void MonatomicDispersion(TChart* Dispersion, int M1, int M2, int KPosition) {
  const Curve curve{TwoPi / LatticeA, Pi / (1000 * LatticeA), " Pi/A"};
  Dispersion->OnAfterDraw.Clear();
  StartDispersion(Dispersion, curve, KPosition, false);
  auto omega = [&](double kk) { return std::sqrt((1 - std::cos(LatticeA * kk)) * 4.0 / (M1 + M2)); };
  for (int i = 1; i <= 1000; ++i) {
    const double kk = 2 * curve.DeltaK * i;
    Dispersion->GetSeries(0)->AddXY(kk, omega(kk) / 1.7, "", clBlack);
  }
  const float kS = float(KPosition * curve.ZoneK / 1000);
  const double y = omega(kS / 2) / 1.7;
  Dispersion->GetSeries(1)->AddXY(kS / 2, y, "", clRed);
  Dispersion->GetSeries(1)->AddXY(TwoPi / LatticeA - kS / 2, y, "", clRed);
  FinishDispersion(Dispersion, 0.75, 0.01, "Pi/A");
}

void DiatomicDispersion(TChart* Dispersion, int M1, int M2, int KPosition) {
  const Curve curve{Pi / LatticeA, Pi / (2000 * LatticeA), " pi/a"};
  StartDispersion(Dispersion, curve, KPosition, M1 == M2);
  const double C = 1.0, S = C * (1.0 / M1 + 1.0 / M2), inv2 = S * S / (C * C);
  auto omega = [&](double arg, double sign) {
    const double sn = std::sin(arg);
    return std::sqrt(S + sign * std::sqrt(C * (inv2 - 4 * sn * sn / (M1 * M2))));
  };
  for (int i = 1; i <= 1000; ++i) {
    const double kk = 2 * curve.DeltaK * i;
    Dispersion->GetSeries(0)->AddXY(kk, omega(LatticeA * kk, +1), "", clBlack);
    Dispersion->GetSeries(2)->AddXY(kk, omega(LatticeA * kk, -1), "", clBlack);
  }
  const float kS = float(KPosition * curve.ZoneK / 1000);
  const double y = omega(LatticeA * kS / 2, -1);
  Dispersion->GetSeries(1)->AddXY(kS / 2, y, "", clRed);
  Dispersion->GetSeries(1)->AddXY(Pi / LatticeA - kS / 2, y, "", clRed);
  FinishDispersion(Dispersion, 1, 0, "2Pi/a");
  // The dotted centre line goes straight onto the canvas, so it shows only when drawn
  // from the after-draw event.
  Dispersion->OnAfterDraw = TNotifyEvent(
      [Dispersion](TObject*) {
        TCanvas3D* canvas = Dispersion->Canvas();
        canvas->Pen()->SetColor(clBlack);
        canvas->Pen()->SetStyle(psDot);
        const int x = Dispersion->ChartXCenter(), y = Dispersion->ChartYCenter();
        const int half = int(Round(Dispersion->ChartHeight() / 2.0));
        canvas->MoveTo(x, y);
        canvas->LineTo(x, y + half);
        canvas->LineTo(x, y - half);
      },
      "SelectDispersion");
}

}  // namespace mainroad
