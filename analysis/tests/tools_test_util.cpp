#include "tools_test_util.h"
#include "chart/registry.h"

namespace tooltest {

void EnsureToolUnits() {
  static bool units = false;
  if (units) return;
  units = true;
  FormsUnitInit();
  LumConstUnitInit();
  LumConst2UnitInit();
  ChartUnitInit();
  RegisterStandardSeries();  // the series gallery's unit does this in the program
}

void ToolTest::SetUp() {
  EnsureToolUnits();
  Form = new TForm(Application);
  Form->SetBounds(10, 10, W + 20, H + 20);
  Chart = new TTestChart(Form);
  Chart->SetParent(Form);
  Chart->SetBounds(0, 0, W, H);
  Chart->SetView3D(false);
  Chart->SetColor(clWhite);
  Chart->SetBevelOuter(bvNone);
  Chart->Legend()->Hide();
  for (TChartAxis* a : {Chart->BottomAxis(), Chart->LeftAxis()}) {
    a->SetAutomatic(false);
    a->SetAutomaticMinimum(false);
    a->SetAutomaticMaximum(false);
    a->SetMinMax(0, 100);
  }
  Series = new TLineSeries(Form);
  Series->SetParentChart(Chart);
  for (int i = 0; i <= 10; ++i) Series->AddXY(i * 10, i % 2 ? 70 : 30);
  Form->Show();
  Paint();
}

void ToolTest::Paint() {
  Chart->Invalidate();
  Chart->Update();
}

TImagePixels ToolTest::Picture() const {
  TImagePixels p;
  TCanvas* c = static_cast<TCustomControl*>(Chart)->Canvas();
  p.W = Chart->ClientWidth();
  p.H = Chart->ClientHeight();
  p.Pixels.reserve(size_t(p.W * p.H));
  for (int y = 0; y < p.H; ++y)
    for (int x = 0; x < p.W; ++x) p.Pixels.push_back(c->Pixels(x, y));
  return p;
}

}  // namespace tooltest
