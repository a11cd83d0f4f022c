#include "samples/samplechart.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/func_moving.h"
#include "analysis/tools_bands.h"
#include "analysis/tools_cursor.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/axis.h"
#include "engine/groups.h"

double SampleBranch(double X, bool Optic) {
  const double m1 = 2, m2 = 1, c = 1, s = std::sin(M_PI * X / 2);
  const double sum = c * (1 / m1 + 1 / m2);
  const double root = std::sqrt(sum * sum - 4 * c * c * s * s / (m1 * m2));
  return std::sqrt(std::max(0.0, Optic ? sum + root : sum - root));
}

TChart* BuildSampleChart(TComponent* Owner, TWinControl* Parent, int Points) {
  auto* chart = new TChart(Owner);
  if (Parent) chart->SetParent(Parent);
  chart->SetBounds(0, 0, 640, 400);
  chart->SetName("Dispersion");
  chart->Title()->Text()->Clear();
  chart->Title()->Text()->Add("Omega(k) & <branches> \"2\" 'x' \xCF\x89");
  auto* acoustic = new TLineSeries(Owner);
  auto* optic = new TLineSeries(Owner);
  acoustic->SetName("Acoustic");
  acoustic->SetTitle("Acoustic");
  optic->SetName("Optic");
  optic->SetTitle("Optic");
  for (TLineSeries* s : {acoustic, optic}) {
    s->SetParentChart(chart);
    for (int i = 0; i < Points; ++i) s->AddXY(i / 20.0, SampleBranch(i / 20.0, s == optic));
  }
  auto* atoms = new TPointSeries(Owner);
  atoms->SetName("Atoms");
  atoms->SetTitle("Atoms");
  atoms->SetParentChart(chart);
  const TColor colours[8] = {clRed, clBlue, clGreen, clNavy, clMaroon, clPurple, clTeal, clOlive};
  for (int i = 0; i < 8; ++i) {
    const std::string label = "a" + std::to_string(i + 1);
    if (i == 4) atoms->AddNullXY(i * 0.125, 0, label);
    else atoms->AddXY(i * 0.125, i % 2 ? 0.5 : 1.0, label, colours[i]);
  }

  auto* bars = new TBarSeries(Owner);
  bars->SetName("Bars");
  bars->SetTitle("Bars");
  bars->SetParentChart(chart);
  for (int i = 0; i < 6; ++i) {
    const std::string label = "b" + std::to_string(i + 1);
    if (i == 3) bars->AddNullXY(0.1 + i * 0.16, 0, label);
    else bars->AddXY(0.1 + i * 0.16, 0.2 + 0.08 * i, label, colours[7 - i]);
  }

  // A share in percent, read against an axis of its own on the right.
  TChartAxis* percent = chart->CustomAxes()->Add();
  percent->SetOtherSide(true);
  percent->GetTitle()->SetCaption("%");
  auto* area = new TAreaSeries(Owner);
  area->SetName("Area");
  area->SetTitle("Area");
  area->SetParentChart(chart);
  area->SetCustomVertAxis(percent);
  for (int i = 0; i <= 10; ++i) area->AddXY(i / 10.0, 30 + 3 * i, "", i < 5 ? TColor(0xC0DCC0) : TColor(0xE0C8A8));

  auto* average = new TLineSeries(Owner);
  average->SetName("Average");
  average->SetTitle("Average");
  average->SetParentChart(chart);
  auto* mean = new TMovingAverageFunction(Owner);
  mean->SetName("AverageFunction");
  mean->SetPeriod(3);
  average->SetFunction(mean);
  average->SetDataSource(optic);

  TSeriesGroup* branches = chart->SeriesGroups()->Add("Branches");
  branches->Add(acoustic);
  branches->Add(optic);

  auto* cursor = new TCursorTool(Owner);
  cursor->SetName("Cursor");
  cursor->SetSeries(acoustic);
  cursor->SetParentChart(chart);
  auto* band = new TColorBandTool(Owner);
  band->SetName("Band");
  band->SetAxis(chart->BottomAxis());
  band->SetStartValue(0.4);
  band->SetEndValue(0.6);
  band->SetColor(TColor(0xB0F0FF));
  band->SetTransparency(50);
  return chart;
}
