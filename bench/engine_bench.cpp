// Chart engine figures: adding ascending points, and rendering a chain-sized chart
// (649 x 473, five 131-point lines and 12 markers) on Qt's offscreen platform.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "canvas/canvas.h"
#include "engine/engine.h"
#include "platform/forms.h"

namespace {

// A line through the points, in the series colour.
class TBenchLine : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  void DrawValue(int i) override {
    TCanvas3D* c = ParentChart()->Canvas();
    if (i == FirstValueIndex()) {
      c->Pen()->SetColor(SeriesColor());
      c->Pen()->SetStyle(psSolid);
      c->MoveTo(CalcXPos(i), CalcYPos(i));
    } else {
      c->LineTo(CalcXPos(i), CalcYPos(i));
    }
  }
};

// A marker per point.
class TBenchPoints : public TChartSeries {
public:
  explicit TBenchPoints(TComponent* AOwner) : TChartSeries(AOwner), Pointer(this) {}
  void DrawValue(int i) override { Pointer.Draw(CalcXPos(i), CalcYPos(i), GetValueColor(i)); }
  void CalcHorizMargins(int& L, int& R) override { Pointer.CalcHorizMargins(L, R); }
  void CalcVerticalMargins(int& T, int& B) override { Pointer.CalcVerticalMargins(T, B); }
  TSeriesPointer Pointer;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BenchAdd(TCustomAxisPanel* Chart) {
  constexpr int Points = 10000, Rounds = 30;
  std::vector<double> free, attached, block;
  for (int r = 0; r < Rounds; ++r) {
    TChartSeries loose(nullptr);
    std::int64_t t0 = GetMicroseconds();
    for (int i = 0; i < Points; ++i) loose.AddXY(i, std::sin(i * 0.01));
    free.push_back((GetMicroseconds() - t0) / 1000.0);

    TChartSeries s(nullptr);
    s.SetParentChart(Chart);
    t0 = GetMicroseconds();
    for (int i = 0; i < Points; ++i) s.AddXY(i, std::sin(i * 0.01), "", clRed);
    attached.push_back((GetMicroseconds() - t0) / 1000.0);
    s.Clear();
    t0 = GetMicroseconds();
    s.BeginUpdate();
    for (int i = 0; i < Points; ++i) s.AddXY(i, std::sin(i * 0.01), "", clRed);
    s.EndUpdate();
    block.push_back((GetMicroseconds() - t0) / 1000.0);
  }
  std::printf("AddXY, 10 000 ascending points (median of %d):\n", Rounds);
  std::printf("  series without a chart             %8.3f ms  (%.1f ns/point)\n", Median(free),
              Median(free) * 1e6 / Points);
  std::printf("  in a chart, repaint asked per point %8.3f ms  (%.1f ns/point, with a colour)\n",
              Median(attached), Median(attached) * 1e6 / Points);
  std::printf("  in a chart, inside an update block  %8.3f ms  (%.1f ns/point, with a colour)\n",
              Median(block), Median(block) * 1e6 / Points);
}

void BenchRender(TCustomAxisPanel* Chart, TForm* Owner) {
  Chart->SetBounds(0, 0, 649, 473);
  Chart->SetView3D(false);
  Chart->LeftAxis()->SetAutomatic(false);
  Chart->LeftAxis()->SetMinMax(-1, 1);
  const TColor colors[] = {clRed, clBlue, clGreen, clRed, clNavy};
  for (int k = 0; k < 5; ++k) {
    auto* line = new TBenchLine(Owner);
    line->SetParentChart(Chart);
    line->SetSeriesColor(colors[k]);
    for (int j = 1; j <= 131; ++j) line->AddXY(j / 10.0, 0.5 * std::cos(j * 0.3 + k), "", clRed);
  }
  auto* atoms = new TBenchPoints(Owner);
  atoms->SetParentChart(Chart);
  atoms->Pointer.SetStyle(psCircle);
  atoms->Pointer.SetHorizSize(10);
  atoms->Pointer.SetVertSize(10);
  for (int n = 1; n <= 12; ++n) atoms->AddXY(n, 0.5 * std::cos(n * 0.3), "", n % 2 ? clGreen : clRed);

  constexpr int Rounds = 200;
  std::vector<double> bitmap, control;
  for (int r = 0; r < Rounds; ++r) {
    std::int64_t t0 = GetMicroseconds();
    delete Chart->CreateBitmap(clWhite, Rect(0, 0, 649, 473));
    bitmap.push_back((GetMicroseconds() - t0) / 1000.0);
    t0 = GetMicroseconds();
    Chart->Draw(Chart->ClientRect());
    control.push_back((GetMicroseconds() - t0) / 1000.0);
  }
  std::printf("Render 649 x 473, five 131-point lines and 12 circle markers (median of %d):\n", Rounds);
  std::printf("  into a new bitmap (CreateBitmap)          %7.3f ms\n", Median(bitmap));
  std::printf("  into the control's image (buffer + copy)  %7.3f ms\n", Median(control));
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  LumConstUnitInit();
  {
    TForm form(nullptr);
    auto* chart = new TCustomAxisPanel(&form);
    chart->SetParent(&form);
    BenchAdd(chart);
    BenchRender(chart, &form);
  }
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
