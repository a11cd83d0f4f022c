// The main window's animation, measured offscreen:
//  - the cost of one animation step of each model with both charts repainted
//    at their sizes (the chain chart 649 x 473, the dispersion chart 217 x 193);
//  - the steps per second a real run reaches at Speed 1, with the paints of
//    each chart per second;
//  - the resident memory after 1 000 and after 100 000 steps of a run.
// Usage: app_bench [steps for the memory run, default 100000]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/mainwindow.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/testing.h"
#include "platform/units.h"
#include "bench_timing.h"

using namespace Chain;

namespace {

struct Model {
  const char* Name;
  int Mode;
  TBitBtn* TForm1::*Button;
};
const Model Models[] = {{"monatomic", cmMonatomic, &TForm1::MonatomicBtn},
                        {"next neighbour", cmNextNeighbour, &TForm1::NextNBtn},
                        {"diatomic", cmDiatomic, &TForm1::DiatomBtn},
                        {"alternating", cmAlternating, &TForm1::AlternatingBtn},
                        {"combined", cmCombined, &TForm1::CombinedBtn}};

double Now() { return double(GetMicroseconds()) / 1e6; }

// Starts the model's run and lets it go until `stop` answers true (checked at each step).
template <class Stop>
void RunUntil(TForm1* f, const Model& m, Stop stop) {
  f->Series1->OnClearValues = [&](TObject*) { if (stop()) StopRequested = true; };
  (f->*m.Button)->Click();
  f->Series1->OnClearValues.Clear();
}

}  // namespace

int main(int argc, char** argv) {
  const long memorySteps = argc > 1 ? std::atol(argv[1]) : 100000;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone},
                    {"Forms", FormsUnitInit, FormsUnitDone},
                    {"LumConst", LumConstUnitInit, LumConstUnitDone},
                    {"Chart", ChartUnitInit, ChartUnitDone},
                    {"LumConst2", LumConst2UnitInit, LumConst2UnitDone}});
  units.Initialize();
  Application->CreateForm(Form1);
  TForm1* f = Form1;
  f->Show();
  TestInput::PumpUntil([] { return false; }, 100);

  std::printf("One animation step with both charts repainted (chain 649 x 473, curve 217 x 193):\n");
  for (const Model& m : Models) {
    RunUntil(f, m, [] { return true; });  // set the model up, stop at its first step
    const int n = 200;
    double start = Now();
    for (int t = 2; t < 2 + n; ++t) {
      DrawTransverseStep(*f, m.Mode, t);
      f->Chart1->Repaint();
      f->Chart2->Repaint();
    }
    std::printf("  %-15s %7.3f ms\n", m.Name, (Now() - start) * 1000 / n);
  }

  std::printf("A run at Speed 1 (sleep per step: monatomic 1 ms, next neighbour 5, alternating 9, diatomic and combined 0):\n");
  int chainPaints = 0, curveDraws = 0;
  f->Chart1->OnAfterDraw = [&](TObject*) { ++chainPaints; };
  f->LineSeries1->OnClearValues = [&](TObject*) { ++curveDraws; };
  for (const Model& m : Models) {
    long steps = 0;
    chainPaints = curveDraws = 0;
    double start = Now();
    RunUntil(f, m, [&] { return ++steps >= 1 && Now() - start > 1.0; });
    double s = Now() - start;
    std::printf("  %-15s %7.1f steps/s, chain chart %6.1f paints/s, dispersion chart %5.1f paints/s\n", m.Name,
                steps / s, chainPaints / s, curveDraws / s);
  }

  std::printf("Resident memory during a diatomic run at Speed 1:\n");
  std::printf("  at the start      %8.1f MiB\n", ResidentMiB());
  long steps = 0;
  double start = Now();
  RunUntil(f, Models[2], [&] {
    ++steps;
    if (steps == 1000 || steps == memorySteps)
      std::printf("  after %6ld steps %8.1f MiB  (%.0f s)\n", steps, ResidentMiB(), Now() - start);
    std::fflush(stdout);
    return steps >= memorySteps;
  });
  units.Finalize();
  return 0;
}
