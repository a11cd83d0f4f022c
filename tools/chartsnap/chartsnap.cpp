// chartsnap OUTDIR: headless pictures of the main window's two charts as the runs fill
// them (a monatomic, a diatomic and a longitudinal frame of the chain, and the
// monatomic and diatomic dispersion curves), written as PNG files for looking at.
// The window, its charts and the frames are the program's own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/chain.h"
#include "app/window.h"
#include "chart/chart.h"
#include "platform/snapshot.h"

namespace {

bool Save(TChart* Chart, const std::string& Path) {
  const bool ok = SaveControlToPng(Chart, Path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", Path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: chartsnap OUTDIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  bool ok = true;
  {
    using namespace Chain;
    TMainWindow window;
    window.SetKPosition(300);
    window.SetMasses(8, 4);
    window.Run(cmMonatomic, 1);
    window.DrawTransverseStep(cmMonatomic, 40);
    ok &= Save(window.ChainChart(), dir + "chain_monatomic.png");
    window.DrawCurve(cmMonatomic);
    ok &= Save(window.DispersionChart(), dir + "dispersion_monatomic.png");
    window.Run(cmDiatomic, 1);
    window.DrawTransverseStep(cmDiatomic, 40);
    ok &= Save(window.ChainChart(), dir + "chain_diatomic.png");
    window.DrawCurve(cmDiatomic);
    ok &= Save(window.DispersionChart(), dir + "dispersion_diatomic.png");
    window.SetLongitudinal(true);
    window.Run(cmMonatomic, 39);
    ok &= Save(window.ChainChart(), dir + "chain_longitudinal.png");
  }
  return ok ? 0 : 1;
}
