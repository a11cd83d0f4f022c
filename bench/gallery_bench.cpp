// gallery_bench: building and painting the "Standard" gallery page (nine small live
// charts) flat and smooth, and building one sub-gallery (the bar type's five
// sub-styles), each the median of several runs in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "engine/engineunit.h"
#include "gallery/gallerypanel.h"
#include "gallery/seriesgallery.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/units.h"

namespace {

double MedianMs(int Runs, const std::function<void()>& Work) {
  std::vector<double> t;
  for (int i = 0; i < Runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    Work();
    t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// Builds the page and paints every chart once.
void BuildAndPaint(TChartGalleryPanel* Panel) {
  Panel->CreateGalleryPage("Standard");
  for (TGalleryChart* c : Panel->Charts()) c->Repaint();
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone},
                    {"Forms", FormsUnitInit, FormsUnitDone},
                    {"LumConst", LumConstUnitInit, LumConstUnitDone},
                    {"LumCanvas", LumCanvasUnitInit, LumCanvasUnitDone},
                    {"LumEngine", LumEngineUnitInit, LumEngineUnitDone},
                    {"Chart", ChartUnitInit, ChartUnitDone},
                    {"LumGally", LumGallyUnitInit, LumGallyUnitDone},
                    {"LumGalleryPanel", LumGalleryPanelUnitInit, LumGalleryPanelUnitDone}});
  units.Initialize();
  {
    TForm host(nullptr);
    host.SetBounds(0, 0, 549, 420);
    auto* panel = new TChartGalleryPanel(&host);
    panel->SetParent(&host);
    panel->SetAlign(alClient);
    host.Show();
    panel->SetSmooth(false);
    const double flat = MedianMs(15, [&] { BuildAndPaint(panel); });
    panel->SetSmooth(true);
    const double smooth = MedianMs(15, [&] { BuildAndPaint(panel); });
    panel->SetSmooth(false);
    TChartGalleryPanel sub(nullptr);
    sub.SetBounds(0, 0, 549, 240);
    const double subGallery = MedianMs(15, [&] {
      sub.CreateSubGalleryCharts(TBarSeries::StaticClass());
      sub.ResizeCharts();
    });
    std::printf("\"Standard\" page, build and paint, flat:   %7.1f ms\n", flat);
    std::printf("\"Standard\" page, build and paint, smooth: %7.1f ms\n", smooth);
    std::printf("bar sub-gallery (5 charts), build:        %7.1f ms\n", subGallery);
  }
  units.Finalize();
  return 0;
}
