// A scripted mouse zoom on a 100 000-point line: the press, the rectangle dragged
// over the chart and the release, delivered by the message loop as a user's would
// be, up to the end of the repaint of the zoomed chart; then the unzoom back.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_chart.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "canvas/lumconst.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace {

constexpr int Width = 800, Height = 500, Points = 100000, Moves = 20, Rounds = 15;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct TBench {
  TForm* Form = nullptr;
  TChart* Chart = nullptr;
  int Draws = 0;

  void Build() {
    Chart = NewBenchChart<TChart>(Form, Width, Height);
    AddRandomWalk(Chart, Points);
    Chart->OnAfterDraw = [this](TObject*) { ++Draws; };
    Form->Show();
    Settle();
  }
  // Runs the loop until the chart has drawn once more than Before.
  void WaitForDraw(int Before) {
    TestInput::PumpUntil([&] { return Draws > Before; }, 10000);
  }
  void Settle() { TestInput::PumpUntil([] { return false; }, 50); }

  // Milliseconds from posting the drag to the end of the zoomed chart's drawing.
  double Drag(int X0, int Y0, int X1, int Y1) {
    const int before = Draws;
    const std::int64_t t0 = GetMicroseconds();
    TestInput::PostMouseDown(Chart, mbLeft, X0, Y0);
    for (int i = 1; i <= Moves; ++i)
      TestInput::PostMouseMove(Chart, X0 + (X1 - X0) * i / Moves, Y0 + (Y1 - Y0) * i / Moves, ssLeft);
    TestInput::PostMouseUp(Chart, mbLeft, X1, Y1);
    WaitForDraw(before);
    return (GetMicroseconds() - t0) / 1000.0;
  }

  double Repaint() {
    const std::int64_t t0 = GetMicroseconds();
    Chart->Repaint();
    return (GetMicroseconds() - t0) / 1000.0;
  }
};

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  LumConstUnitInit();
  ChartUnitInit();
  {
    TBench b;
    b.Build();
    const TRect r = b.Chart->ChartRect();
    std::vector<double> full, zoom, zoomed, unzoom;
    for (int k = 0; k < Rounds; ++k) {
      full.push_back(b.Repaint());
      zoom.push_back(b.Drag(r.Left + r.Width() / 4, r.Top + r.Height() / 4, r.Right - r.Width() / 4,
                            r.Bottom - r.Height() / 4));
      zoomed.push_back(b.Repaint());
      if (k == 0)
        std::printf("Bottom axis zoomed to %.0f .. %.0f of 0 .. %d\n", b.Chart->BottomAxis()->Minimum(),
                    b.Chart->BottomAxis()->Maximum(), Points - 1);
      unzoom.push_back(b.Drag(r.Right - r.Width() / 4, r.Bottom - r.Height() / 4, r.Left + r.Width() / 4,
                              r.Top + r.Height() / 4));
      b.Settle();
    }
    std::printf("Scripted zoom on a %d-point fast line, %d x %d, %d moves per drag (median of %d):\n", Points, Width,
                Height, Moves, Rounds);
    std::printf("  repaint, whole range                 %8.3f ms\n", Median(full));
    std::printf("  drag and repaint, zooming in         %8.3f ms\n", Median(zoom));
    std::printf("  repaint, zoomed (half of each axis)  %8.3f ms\n", Median(zoomed));
    std::printf("  drag and repaint, back (unzoom)      %8.3f ms\n", Median(unzoom));
  }
  ChartUnitDone();
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
