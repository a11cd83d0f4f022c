// Helpers for the rendering and painter tests: images built in memory and a
// painter environment with a clock of its own.
#pragma once
#include <functional>
#include <vector>

#include "../core/gif_test_util.h"
#include "gif/gifpainter.h"
#include "gif/gifrender.h"
#include "gif/gifunit.h"

namespace gifgui {

// Frames of w x h with the global table of Colors greys; each frame filled with
// its own index + 1 (0 stays free for transparency).
inline void MakeAnimation(TGIFImage& img, int frames, int w, int h, int delay, TDisposalMethod disposal,
                          int colors = 16) {
  AddGrays(img.GlobalColorMap(), colors);
  for (int i = 0; i < frames; ++i) {
    TGIFSubImage* f = AddFrame(img, 0, 0, w, h, std::vector<int>(std::size_t(w * h), i + 1));
    auto* g = AddExt<TGIFGraphicControlExtension>(f);
    g->SetDelay(delay);
    g->SetDisposal(disposal);
  }
  img.UpdateScreenSize();
}

// Time passes only when the painter waits; synchronised calls run at once.
struct FakeEnv : TGIFPainterEnv {
  std::uint32_t Clock = 1000;
  unsigned Overshoot = 0;        // every timed wait lasts this much longer
  std::vector<long long> Waits;  // asked timeouts, -1 for endless
  std::vector<unsigned> Sleeps;
  std::function<void()> OnWait;

  std::uint32_t Now() override { return Clock; }
  TWaitResult Wait(TSyncEvent&, unsigned Ms) override {
    Waits.push_back(Ms == INFINITE ? -1 : (long long)Ms);
    if (OnWait) OnWait();
    if (Ms == INFINITE) return wrSignaled;
    Clock += Ms + Overshoot;
    return wrTimeout;
  }
  void Sleep(unsigned Ms) override {
    if (Ms == 0) return;
    Sleeps.push_back(Ms);
    Clock += Ms;
  }
  bool ProcessMessages() override { return true; }
  void Synchronize(TThread*, const TThreadMethod& Method) override { Method(); }
};

}  // namespace gifgui
