// A legend in each of its four alignments: four series of three kinds, check boxes
// (one series switched off), a legend title and symbol shadows.
#include "legend_scenes.h"

#include <cstdio>

#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "snapout.h"

namespace {

bool SaveLegendScene(TLegendAlignment Alignment, const std::string& Path) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 460, 300);
  auto* chart = new TChart(&form);
  chart->SetParent(&form);
  chart->SetBounds(0, 0, 460, 300);
  chart->SetView3D(false);
  chart->Title()->Text()->Add("Legend");
  auto* line = new TLineSeries(&form);
  auto* points = new TPointSeries(&form);
  auto* bars = new TBarSeries(&form);
  auto* off = new TLineSeries(&form);
  const char* const titles[] = {"Acoustic", "Atoms", "Density", "Optical"};
  TChartSeries* all[] = {line, points, bars, off};
  for (int k = 0; k < 4; ++k) {
    all[k]->SetParentChart(chart);
    all[k]->SetTitle(titles[k]);
    all[k]->Marks()->Hide();
    for (int i = 0; i < 8; ++i) all[k]->AddXY(i, 2 + k + ((i * (k + 3)) % 7));
  }
  line->Pointer()->SetVisible(true);
  off->SetActive(false);
  TChartLegend* legend = chart->Legend();
  legend->SetAlignment(Alignment);
  legend->SetCheckBoxes(true);
  legend->SetHorizMargin(6);
  legend->SetVertMargin(6);
  legend->Title()->Text()->Add("Series");
  legend->Symbol()->Shadow()->SetVisible(true);
  legend->Symbol()->Shadow()->SetSize(2);
  legend->Shadow()->SetVisible(true);
  form.Show();
  return WritePng(chart, Path);
}

}  // namespace

bool SnapLegendScenes(const std::string& Dir) {
  bool ok = true;
  const char* const sides[] = {"left", "right", "top", "bottom"};
  for (int a = 0; a < 4; ++a) ok &= SaveLegendScene(TLegendAlignment(a), Dir + "legend_" + sides[a] + ".png");
  return ok;
}
