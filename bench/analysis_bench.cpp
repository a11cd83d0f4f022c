// The financial and statistical series on a 1000 x 600 chart: the render time of each
// candle style, the volume and the histogram series for 10 000 and 100 000 points, each
// beside a fast line of the same points on the same chart; then the Darvas box walk
// over 1 000 000 bars. The cost should grow linearly with the points.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "bench_prices.h"
#include "bench_timing.h"
#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/forms.h"
#include "platform/rtl.h"

namespace {

constexpr int Width = 1000, Height = 600;

// Median of Runs timings of Work, in milliseconds.
double Median(int Runs, const std::function<void()>& Work) {
  return MedianMicroseconds(Runs, Work) / 1000.0;
}

struct TPrices : TPriceWalk<std::vector<double>> {
  explicit TPrices(int N) : TPriceWalk(N, 100) {}
};

double RenderTime(TChart* Chart, int Runs) {
  return Median(Runs, [&] {
    std::unique_ptr<TBitmap> b(Chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit));
  });
}

// Renders S alone on a fresh chart, then a fast line of the same closes.
void Row(const char* What, const TPrices& P, const std::function<TChartSeries*(TChart*)>& Make) {
  const int n = int(P.Close.size()), runs = n > 20000 ? 5 : 15;
  TChart chart(nullptr);
  chart.SetBounds(0, 0, Width, Height);
  chart.SetView3D(false);
  chart.Legend()->Hide();
  TChartSeries* s = Make(&chart);
  s->SetParentChart(&chart);
  s->Marks()->Hide();
  const double own = RenderTime(&chart, runs);
  delete s;
  auto* line = new TFastLineSeries(nullptr);
  line->SetParentChart(&chart);
  line->BeginUpdate();
  for (int i = 0; i < n; ++i) line->AddXY(i, P.Close[i]);
  line->EndUpdate();
  const double fast = RenderTime(&chart, runs);
  delete line;
  std::printf("  %-22s %7d points  %9.2f ms   fast line %8.2f ms   ratio %6.2f\n", What, n, own, fast, own / fast);
}

template <class S>
TChartSeries* Candles(const TPrices& P, TCandleStyle Style) {
  auto* s = new S(nullptr);
  s->SetCandleStyle(Style);
  s->BeginUpdate();
  for (size_t i = 0; i < P.Close.size(); ++i) s->AddOHLC(double(i), P.Open[i], P.High[i], P.Low[i], P.Close[i]);
  s->EndUpdate();
  return s;
}

template <class S>
TChartSeries* Values(const TPrices& P) {
  auto* s = new S(nullptr);
  s->BeginUpdate();
  for (size_t i = 0; i < P.Close.size(); ++i) s->AddXY(double(i), P.High[i] - P.Low[i]);
  s->EndUpdate();
  return s;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  LumConstUnitInit();
  LumConst2UnitInit();
  ChartUnitInit();
  std::printf("Render time on a %d x %d chart (median), beside a fast line of the same points:\n", Width, Height);
  for (int n : {10000, 100000}) {
    const TPrices p(n);
    Row("candle stick", p, [&](TChart*) { return Candles<TCandleSeries>(p, csCandleStick); });
    Row("candle bar", p, [&](TChart*) { return Candles<TCandleSeries>(p, csCandleBar); });
    Row("open-close", p, [&](TChart*) { return Candles<TCandleSeries>(p, csOpenClose); });
    Row("close line", p, [&](TChart*) { return Candles<TCandleSeries>(p, csLine); });
    Row("volume", p, [&](TChart*) { return Values<TVolumeSeries>(p); });
    Row("histogram", p, [&](TChart*) { return Values<THistogramSeries>(p); });
  }
  const TPrices big(1000000);
  std::size_t boxes = 0;
  const double walk = Median(5, [&] { boxes = TDarvasSeries::CalcBoxes(big.High, big.Low).size(); });
  std::printf("Darvas box walk over %zu bars: %.2f ms (%zu boxes)\n", big.High.size(), walk, boxes);
  ChartUnitDone();
  return 0;
}
