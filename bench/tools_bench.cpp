// Chart tools on a 1000 x 600 chart with a 100 000-point fast line: one cursor move
// (erase, move, draw, OnChange), the same with Snap, and one draw-line drag move,
// each beside one full repaint of that chart. Moves go through the chart's mouse
// entry, as the message loop delivers them; the window then only copies the image.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "analysis/tools_cursor.h"
#include "analysis/tools_drawline.h"
#include "bench_chart.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace {

constexpr int Width = 1000, Height = 600, Points = 100000, Moves = 400, Repaints = 15;

class TBenchChart : public TChart {
public:
  using TChart::TChart;
  using TCustomAxisPanel::MouseDown;
  using TCustomAxisPanel::MouseMove;
  using TCustomAxisPanel::MouseUp;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct TBench {
  TForm* Form = nullptr;
  TBenchChart* Chart = nullptr;
  TFastLineSeries* Series = nullptr;
  int Draws = 0;

  void Build() {
    Chart = NewBenchChart<TBenchChart>(Form, Width, Height);
    Series = AddRandomWalk(Chart, Points);
    Chart->OnAfterDraw = [this](TObject*) { ++Draws; };
    Form->Show();
    Repaint();
  }
  void Repaint() {
    Chart->Invalidate();
    Chart->Update();
  }
  // Milliseconds of one full repaint (median).
  double RepaintMs() {
    std::vector<double> t;
    for (int i = 0; i < Repaints; ++i) {
      const std::int64_t t0 = GetMicroseconds();
      Repaint();
      t.push_back((GetMicroseconds() - t0) / 1000.0);
    }
    return Median(t);
  }
  // Milliseconds of one mouse move with the button held (median), from (X, Y) to
  // the right and back.
  double MoveMs(int X, int Y) {
    std::vector<double> t;
    Chart->MouseDown(mbLeft, 0, X, Y);
    for (int i = 0; i < Moves; ++i) {
      const int x = X + 1 + (i % 200), y = Y + (i % 100) / 2;
      const std::int64_t t0 = GetMicroseconds();
      Chart->MouseMove(ssLeft, x, y);
      t.push_back((GetMicroseconds() - t0) / 1000.0);
    }
    Chart->MouseUp(mbLeft, 0, X + 1, Y);
    return Median(t);
  }
};

void Print(const char* What, double Move, double Repaint) {
  std::printf("%-28s %8.3f ms   full repaint %8.2f ms   ratio %7.0fx\n", What, Move, Repaint, Repaint / Move);
}

}  // namespace

int main() {
  StartChartUnits();
  TBench b;
  b.Build();
  const double repaint = b.RepaintMs();

  auto* cursor = new TCursorTool(b.Form);
  int changes = 0;
  cursor->OnChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int) { ++changes; };
  cursor->SetParentChart(b.Chart);
  b.Repaint();
  const double move = b.MoveMs(cursor->XPixel(), cursor->YPixel());
  cursor->SetSeries(b.Series);
  cursor->SetSnap(true);
  b.Repaint();
  const double snap = b.MoveMs(cursor->XPixel(), cursor->YPixel());
  delete cursor;
  b.Repaint();

  auto* lines = new TDrawLineTool(b.Form);
  lines->SetParentChart(b.Chart);
  lines->SetEnableSelect(false);
  b.Repaint();
  const TRect r = b.Chart->ChartRect();
  const double drag = b.MoveMs(r.Left + 20, r.Top + 20);
  const int drawn = lines->Lines()->Count();

  std::printf("chart %d x %d, fast line of %d points, %d OnChange calls, %d line drawn, %d paints\n", Width, Height,
              Points, changes, drawn, b.Draws);
  Print("cursor move", move, repaint);
  Print("cursor move with Snap", snap, repaint);
  Print("draw-line drag move", drag, repaint);
  return 0;
}
