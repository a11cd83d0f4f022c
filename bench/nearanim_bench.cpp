// The nearest point tool and the series animation:
//  - one mouse move of the nearest tool over a 1000 x 600 chart with a 100 000-point
//    fast line, with FullRepaint off (erase and draw not-XOR on the shown picture)
//    and on (the move and the repaint it asks for);
//  - the animation's steps per second on a 10 000-point bar series (Steps 100,
//    Delay 0; each step lets the message loop run once), and the resident memory
//    after 1 and after 100 runs.
#include <cmath>
#include <cstdio>

#include "analysis/tools_animation.h"
#include "analysis/tools_nearest.h"
#include "bench_chart.h"
#include "bench_timing.h"

namespace {

constexpr int Width = 1000, Height = 600, Points = 100000, Moves = 300, Bars = 10000;

class TBenchChart : public TChart {
public:
  using TChart::TChart;
  using TCustomAxisPanel::MouseMove;
};

void Repaint(TChart* Chart) {
  Chart->Invalidate();
  Chart->Update();
}

// Milliseconds of one move (median) of the mouse across the plot, the paint it
// asks for included.
double MoveMs(TBenchChart* Chart) {
  const TRect r = Chart->ChartRect();
  int i = 0;
  const std::int64_t us = MedianMicroseconds(Moves, [&] {
    ++i;
    Chart->MouseMove(0, r.Left + 10 + (i * 7) % (r.Width() - 20), r.Top + 10 + (i * 3) % (r.Height() - 20));
    Chart->Update();
  });
  return us / 1000.0;
}

}  // namespace

int main() {
  StartChartUnits();
  TForm* form = nullptr;
  auto* chart = NewBenchChart<TBenchChart>(form, Width, Height);
  TFastLineSeries* line = AddRandomWalk(chart, Points);
  int paints = 0;
  chart->OnAfterDraw = [&](TObject*) { ++paints; };
  form->Show();
  Repaint(chart);
  std::int64_t repaintUs = MedianMicroseconds(15, [&] { Repaint(chart); });

  auto* nearest = new TNearestTool(form);
  nearest->SetSeries(line);
  nearest->SetParentChart(chart);
  nearest->SetFullRepaint(false);
  Repaint(chart);
  int before = paints;
  const double xorMove = MoveMs(chart);
  const int xorPaints = paints - before;
  nearest->SetFullRepaint(true);
  before = paints;
  const double fullMove = MoveMs(chart);
  const int fullPaints = paints - before;
  std::printf("chart %d x %d, fast line of %d points, full repaint %.2f ms\n", Width, Height, Points,
              repaintUs / 1000.0);
  std::printf("nearest move, FullRepaint off  %8.3f ms  (%d paints in %d moves)\n", xorMove, xorPaints, Moves + 1);
  std::printf("nearest move, FullRepaint on   %8.3f ms  (%d paints in %d moves)\n", fullMove, fullPaints, Moves + 1);
  delete form;

  TForm* barForm = nullptr;
  auto* barChart = NewBenchChart<TBenchChart>(barForm, Width, Height);
  auto* bars = new TBarSeries(barForm);
  bars->SetParentChart(barChart);
  bars->Marks()->Hide();
  bars->BeginUpdate();
  for (int i = 0; i < Bars; ++i) bars->AddXY(i, 50 + 40 * std::sin(i * 0.01));
  bars->EndUpdate();
  auto* anim = new TSeriesAnimationTool(barForm);
  anim->SetParentChart(barChart);
  anim->SetSeries(bars);
  anim->SetSteps(100);
  anim->SetDelay(0);
  int steps = 0, barPaints = 0;
  anim->OnStep = [&](TSeriesAnimationTool*, int) { ++steps; };
  barChart->OnAfterDraw = [&](TObject*) { ++barPaints; };
  barForm->Show();
  Repaint(barChart);
  repaintUs = MedianMicroseconds(15, [&] { Repaint(barChart); });
  std::printf("animation of %d bars (full repaint %.2f ms), Steps 100, Delay 0:\n", Bars, repaintUs / 1000.0);
  for (int run = 1; run <= 100; ++run) {
    steps = barPaints = 0;
    const std::int64_t t0 = GetMicroseconds();
    anim->Execute();
    const double s = (GetMicroseconds() - t0) / 1e6;
    if (run == 1 || run == 100)
      std::printf("  run %3d  %8.0f steps/s  (%d steps, %d paints, %.3f s)  resident %.1f MiB\n", run, steps / s, steps,
                  barPaints, s, ResidentMiB());
  }
  return 0;
}
