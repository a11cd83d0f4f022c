#include "samples/samplechart.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chart/chart.h"
#include "chart/series.h"

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
  return chart;
}
