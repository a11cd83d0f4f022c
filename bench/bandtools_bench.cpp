// Band tools on a 1000 x 600 chart with a 100 000-point fast line: one color-line
// drag move drawn not-xor over the finished picture, the same move with DragRepaint
// (the setter's repaint included), and one full render without and with grid bands
// (solid, and see-through hatched). Moves go through the chart's mouse entry.
#include <cstdio>

#include "analysis/tools_bands.h"
#include "bench_chart.h"
#include "bench_timing.h"
#include "platform/forms.h"

namespace {

constexpr int Width = 1000, Height = 600, Points = 100000, Moves = 300, Repaints = 15;

class TBenchChart : public TChart {
public:
  using TChart::TChart;
  using TCustomAxisPanel::MouseDown;
  using TCustomAxisPanel::MouseMove;
  using TCustomAxisPanel::MouseUp;
};

struct TBench {
  TForm* Form = nullptr;
  TBenchChart* Chart = nullptr;

  void Build() {
    Chart = NewBenchChart<TBenchChart>(Form, Width, Height);
    AddRandomWalk(Chart, Points);
    Form->Show();
    Repaint();
  }
  void Repaint() {
    Chart->Invalidate();
    Chart->Update();
  }
  double RenderMs() { return MedianMicroseconds(Repaints, [this] { Repaint(); }) / 1000.0; }
  // One drag move of the line (median), sweeping right and back; with Settle the
  // repaint the move asked for is made before the clock stops.
  double DragMoveMs(TColorLineTool* Line, bool Settle) {
    const int x0 = Line->Axis()->CalcPosValue(Line->CalcValue()), y = Chart->ChartRect().Top + 50;
    Chart->MouseDown(mbLeft, 0, x0, y);
    int i = 0;
    const double ms = MedianMicroseconds(Moves, [&] {
      const int k = i++ % 400;
      Chart->MouseMove(ssLeft, x0 + (k < 200 ? k : 400 - k) + 1, y);
      if (Settle) Chart->Update();
    }) / 1000.0;
    Chart->MouseUp(mbLeft, 0, x0, y);
    Repaint();
    return ms;
  }
};

}  // namespace

int main() {
  StartChartUnits();
  TBench b;
  b.Build();
  const double plain = b.RenderMs();

  auto* line = new TColorLineTool(b.Form);
  line->SetAxis(b.Chart->BottomAxis());
  line->SetValue(Points / 2.0);
  int drags = 0;
  line->OnDragLine = [&](TColorLineTool*) { ++drags; };
  b.Repaint();
  const double inverted = b.DragMoveMs(line, false);
  line->SetDragRepaint(true);
  const double repainted = b.DragMoveMs(line, true);
  delete line;

  auto* grid = new TGridBandTool(b.Form);
  grid->SetAxis(b.Chart->LeftAxis());
  grid->Band1()->SetColor(0xFFE8D0);
  grid->Band2()->SetColor(0xC0FFFF);
  const double solid = b.RenderMs();
  grid->Band2()->SetStyle(bsDiagCross);
  grid->Band1()->SetTransparency(40);
  grid->Band2()->SetTransparency(40);
  const double blended = b.RenderMs();

  std::printf("chart %d x %d, fast line of %d points, %d OnDragLine calls, grid bands between %d ticks\n", Width,
              Height, Points, drags, int(b.Chart->LeftAxis()->Tick().size()));
  std::printf("%-44s %8.3f ms\n", "color-line drag move, not-xor", inverted);
  std::printf("%-44s %8.3f ms\n", "color-line drag move, DragRepaint (+ paint)", repainted);
  std::printf("%-44s %8.2f ms\n", "render without grid bands", plain);
  std::printf("%-44s %8.2f ms\n", "render with grid bands", solid);
  std::printf("%-44s %8.2f ms\n", "render with see-through hatched grid bands", blended);
  return 0;
}
