// Axis layout figures: a bottom axis over ten years of daily values (3653 points),
// shown as dates and, for comparison, as plain numbers. One layout is what a paint
// asks of the axis: range from the series, room outside the plot, label values and
// texts. Also the whole chart (axes, grid, no series drawing) into a bitmap.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "canvas/canvas.h"
#include "engine/engine.h"
#include "platform/dateutils.h"
#include "platform/forms.h"

namespace {

class TBenchChart : public TCustomAxisPanel {
public:
  using TCustomAxisPanel::TCustomAxisPanel;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Bench(bool DateTime) {
  TBenchChart chart(nullptr);
  chart.SetView3D(false);
  chart.SetBounds(0, 0, 800, 400);
  TChartSeries line(nullptr);  // draws nothing: the figures are the axes'
  line.SetParentChart(&chart);
  line.XValues()->SetDateTime(DateTime);
  const double start = EncodeDate(2015, 1, 1);
  const int days = int(EncodeDate(2025, 1, 1) - start);
  for (int d = 0; d <= days; ++d) line.AddXY(start + d, 100 + 50 * std::sin(d / 60.0), "", clRed);
  TChartAxis* axis = chart.BottomAxis();
  constexpr int Rounds = 200;
  std::vector<double> layout, draw;
  size_t labels = 0;
  std::string first;
  for (int r = 0; r < Rounds; ++r) {
    std::int64_t t0 = GetMicroseconds();
    axis->AdjustMaxMin();
    axis->CalcRect(Rect(40, 10, 780, 360));
    const int room = axis->SizeOutside();
    const auto texts = axis->AxisLabels();
    layout.push_back((GetMicroseconds() - t0) / 1000.0);
    labels = texts.size();
    (void)room;
    first = texts.empty() ? "" : texts.front().second;
  }
  for (int r = 0; r < 30; ++r) {
    std::int64_t t0 = GetMicroseconds();
    std::unique_ptr<TBitmap> bmp(chart.CreateBitmap(clWhite, Rect(0, 0, 800, 400)));
    draw.push_back((GetMicroseconds() - t0) / 1000.0);
  }
  std::printf("%-10s layout %.3f ms (median of %d), %zu labels, first \"%s\", step %g days; whole chart %.2f ms\n",
              DateTime ? "date-time" : "numeric", Median(layout), Rounds, labels, first.c_str(),
              axis->LastIncrement(), Median(draw));
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  LumConstUnitInit();
  std::printf("bottom axis over ten years of daily values, 800 x 400 chart\n");
  Bench(false);
  Bench(true);
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
