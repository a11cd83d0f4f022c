// chartsnap OUTDIR: headless pictures of the main window's two charts as the runs fill
// them (a monatomic, a diatomic and a longitudinal frame of the chain, and the
// monatomic and diatomic dispersion curves), written as PNG files for looking at.
#include <cstdio>
#include <string>

#include "main_road.h"
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
  mainroad::THeadless headless(argc, argv);
  bool ok = true;
  {
    TComponent owner(nullptr);
    TChart* chain = mainroad::CreateChainChart(&owner);
    TChart* dispersion = mainroad::CreateDispersionChart(&owner);
    mainroad::MonatomicFrame(chain, 300, 40);
    ok &= Save(chain, dir + "chain_monatomic.png");
    mainroad::DiatomicFrame(chain, 8, 4, 300, 40);
    ok &= Save(chain, dir + "chain_diatomic.png");
    mainroad::LongitudinalFrame(chain, 300, 40);
    ok &= Save(chain, dir + "chain_longitudinal.png");
    mainroad::MonatomicDispersion(dispersion, 8, 4, 500);
    ok &= Save(dispersion, dir + "dispersion_monatomic.png");
    mainroad::DiatomicDispersion(dispersion, 8, 4, 500);
    ok &= Save(dispersion, dir + "dispersion_diatomic.png");
  }
  return ok ? 0 : 1;
}
