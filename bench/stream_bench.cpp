// stream_bench: the component stream of a chart with 10 series of 10 000 points each,
// every series forced to write its points (as the chart stream does with its data):
// the time and size of the binary stream, and of its text form.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench_timing.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/filer.h"
#include "platform/forms.h"

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  FormsUnitInit();
  LumConstUnitInit();
  ChartUnitInit();
  {
    TComponent owner(nullptr);
    owner.SetName("Form1");
    auto* chart = new TChart(&owner);
    chart->SetName("Chart1");
    constexpr int kSeries = 10, kPoints = 10000;
    for (int s = 0; s < kSeries; ++s) {
      auto* series = new TLineSeries(&owner);
      series->SetName("Series" + std::to_string(s + 1));
      series->SetParentChart(chart);
      series->BeginUpdate();
      for (int i = 0; i < kPoints; ++i) series->AddXY(i * 0.01, std::sin(i * 0.001 * (s + 1)));
      series->EndUpdate();
      series->SetForceStoreData(1);
    }
    TMemoryStream binary;
    auto write = [&] {
      binary.Clear();
      TWriter w(&binary, 4096);
      w.SetRoot(&owner);
      w.WriteSignature();
      w.WriteComponent(chart);
    };
    const std::int64_t tWrite = MedianMicroseconds(15, write);
    TMemoryStream text;
    const std::int64_t tText = MedianMicroseconds(5, [&] {
      text.Clear();
      binary.SetPosition(0);
      ObjectBinaryToText(&binary, &text);
    });
    std::printf("chart with %d series x %d points, points written (ForceStoreData)\n", kSeries, kPoints);
    std::printf("binary stream: write %8.3f ms (median of 15)   size %10lld bytes\n", tWrite / 1000.0,
                (long long)binary.Size());
    std::printf("text form:     convert %6.3f ms (median of 5)    size %10lld bytes\n", tText / 1000.0,
                (long long)text.Size());
  }
  ChartUnitDone();
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
