// What the main window costs when nobody uses it: the program's own units (the
// animated picture included), a diatomic run started and interrupted at once so
// that the model stays selected, then the message loop left alone for 10 s.
// Prints the processor time used as a share of one core, and how often each
// chart painted meanwhile.
// Usage: idle_bench [seconds, default 10]
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/mainwindow.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/testing.h"
#include "platform/units.h"

using namespace Chain;

namespace {

double CpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double WallSeconds() { return double(GetMicroseconds()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  Application->Initialize();
  Application->CreateForm(Form1);
  TForm1* f = Form1;
  f->Show();
  TestInput::PumpUntil([] { return false; }, 300);

  // The run stops at its first step; its model stays selected.
  f->Series1->OnClearValues = [](TObject*) { StopRequested = true; };
  f->DiatomBtn->Click();
  f->Series1->OnClearValues.Clear();
  TestInput::PumpUntil([] { return false; }, 300);

  int chainPaints = 0, curvePaints = 0, curveDraws = 0;
  f->Chart1->OnAfterDraw = [&](TObject*) { ++chainPaints; };
  TNotifyEvent selectDispersion = f->Chart2->OnAfterDraw;
  f->Chart2->OnAfterDraw = [&](TObject* Sender) {
    ++curvePaints;
    selectDispersion(Sender);
  };
  f->LineSeries1->OnClearValues = [&](TObject*) { ++curveDraws; };

  // The loop of Application->Run, woken at the end (a coarse timer may wake it early).
  const double cpu0 = CpuSeconds(), wall0 = WallSeconds(), end = wall0 + seconds;
  bool wakePending = false;
  while (WallSeconds() < end) {
    if (!wakePending) {
      wakePending = true;
      TestInput::PostCall([&] { wakePending = false; }, unsigned((end - WallSeconds()) * 1000) + 1);
    }
    Application->HandleMessage();
  }
  const double cpu = CpuSeconds() - cpu0, wall = WallSeconds() - wall0;

  std::printf("Idle main window, diatomic model selected, no run, %.1f s:\n", wall);
  std::printf("  processor time   %6.3f s = %5.1f %% of one core (target <= 3 %%)\n", cpu, 100 * cpu / wall);
  std::printf("  chain chart      %6.1f paints/s\n", chainPaints / wall);
  std::printf("  dispersion chart %6.1f paints/s, curve drawn %.1f times/s\n", curvePaints / wall, curveDraws / wall);
  Application->DestroyComponents();
  units.Finalize();
  return 0;
}
