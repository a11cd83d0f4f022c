// chart_bench: the time of one render of each of the main window's two charts at
// their sizes (the chain 649 x 473 with a monatomic and a diatomic frame, the
// dispersion chart 217 x 193 with its diatomic curves), and of one animation step
// (refill plus render) of the chain.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "main_road.h"
#include "platform/rtl.h"

namespace {

// Median and best of Runs timings of Work, in microseconds.
void Measure(const char* What, int Runs, const std::function<void()>& Work) {
  Work();  // warm caches and fonts
  std::vector<std::int64_t> t;
  for (int i = 0; i < Runs; ++i) {
    const std::int64_t start = GetMicroseconds();
    Work();
    t.push_back(GetMicroseconds() - start);
  }
  std::sort(t.begin(), t.end());
  std::printf("%-46s median %8.3f ms   best %8.3f ms   (%d runs)\n", What, t[t.size() / 2] / 1000.0,
              t.front() / 1000.0, Runs);
}

void Render(TChart* Chart, int W, int H) {
  std::unique_ptr<TBitmap> b(Chart->CreateBitmap(clWhite, Rect(0, 0, W, H), pf32bit));
}

}  // namespace

int main(int argc, char** argv) {
  mainroad::THeadless headless(argc, argv);
  {
    using namespace mainroad;
    TComponent owner(nullptr);
    TChart* chain = CreateChainChart(&owner);
    TChart* dispersion = CreateDispersionChart(&owner);
    MonatomicFrame(chain, 300, 40);
    Measure("chain chart, monatomic frame, render", 300, [&] { Render(chain, ChainWidth, ChainHeight); });
    DiatomicFrame(chain, 8, 4, 300, 40);
    Measure("chain chart, diatomic frame, render", 300, [&] { Render(chain, ChainWidth, ChainHeight); });
    int t = 2;
    Measure("chain chart, monatomic step (refill + render)", 300, [&] {
      MonatomicFrame(chain, 300, ++t);
      Render(chain, ChainWidth, ChainHeight);
    });
    DiatomicDispersion(dispersion, 8, 4, 500);
    Measure("dispersion chart, diatomic curves, render", 300,
            [&] { Render(dispersion, DispersionWidth, DispersionHeight); });
    Measure("dispersion chart, redraw (refill + render)", 300, [&] {
      DiatomicDispersion(dispersion, 8, 4, 500);
      Render(dispersion, DispersionWidth, DispersionHeight);
    });
  }
  return 0;
}
