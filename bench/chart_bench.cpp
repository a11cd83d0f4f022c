// chart_bench: the main window's two charts, as the program builds and fills them,
// rendered at their sizes offscreen: the chain chart with a monatomic and a diatomic
// frame, one animation step of the chain (a step drawn by the run loop's own code,
// then the chart rendered), and one redraw of the dispersion chart (the window's
// curve drawer refills the diatomic curves, then the chart is rendered).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/chain.h"
#include "app/window.h"
#include "bench_timing.h"
#include "chart/chart.h"
#include "platform/rtl.h"

namespace {

// Median and best of Runs timings of Work, in microseconds.
void Measure(const char* What, int Runs, const std::function<void()>& Work) {
  const std::vector<std::int64_t> t = SortedTimings(Runs, Work);
  std::printf("%-46s median %8.3f ms   best %8.3f ms   (%d runs)\n", What, t[t.size() / 2] / 1000.0,
              t.front() / 1000.0, Runs);
}

void Render(TChart* Chart) {
  std::unique_ptr<TBitmap> b(Chart->CreateBitmap(clWhite, Rect(0, 0, Chart->Width(), Chart->Height()), pf32bit));
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  {
    using namespace Chain;
    TMainWindow window;
    TChart* chain = window.ChainChart();
    TChart* dispersion = window.DispersionChart();
    std::printf("Chain chart %d x %d, dispersion chart %d x %d\n", chain->Width(), chain->Height(), dispersion->Width(),
                dispersion->Height());
    window.SetKPosition(300);
    window.SetMasses(8, 4);
    window.Run(cmMonatomic, 1);
    window.DrawTransverseStep(cmMonatomic, 40);
    Measure("chain chart, monatomic frame, render", 300, [&] { Render(chain); });
    int t = 2;
    Measure("chain chart, monatomic step (refill + render)", 300, [&] {
      window.DrawTransverseStep(cmMonatomic, ++t);
      Render(chain);
    });
    window.Run(cmDiatomic, 1);
    window.DrawTransverseStep(cmDiatomic, 40);
    Measure("chain chart, diatomic frame, render", 300, [&] { Render(chain); });
    Measure("chain chart, diatomic step (refill + render)", 300, [&] {
      window.DrawTransverseStep(cmDiatomic, ++t);
      Render(chain);
    });
    window.DrawCurve(cmDiatomic);
    Measure("dispersion chart, render", 300, [&] { Render(dispersion); });
    Measure("dispersion chart, refill (the curve drawer)", 300, [&] { window.DrawCurve(cmDiatomic); });
    Measure("dispersion chart, redraw (refill + render)", 300, [&] {
      window.DrawCurve(cmDiatomic);
      Render(dispersion);
    });
  }
  return 0;
}
