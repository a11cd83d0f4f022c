// Chart event listeners: the cost of one series event sent to 0, 1 and 10
// listeners, and what listeners add to adding a point.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/engine.h"
#include "platform/forms.h"

namespace {

struct TCounter : ILumEventListener {
  void LumEvent(const TLumEvent& Event) override {
    if (dynamic_cast<const TLumSeriesEvent*>(&Event)) ++Count;
  }
  long long Count = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double NanosecondsPerCall(int Calls, F&& Call) {
  std::vector<double> rounds;
  for (int r = 0; r < 15; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < Calls; ++i) Call(i);
    const auto t1 = std::chrono::steady_clock::now();
    rounds.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count() / Calls);
  }
  return Median(rounds);
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  {
    std::printf("listeners  event (ns)  per listener (ns)  AddXY (ns)\n");
    for (int n : {0, 1, 10}) {
      TCustomAxisPanel chart(nullptr);
      chart.SetAutoRepaint(false);  // the event alone, no paint requests
      auto* series = new TChartSeries(nullptr);
      chart.AddSeries(series);
      std::vector<TCounter> counters(static_cast<size_t>(n));
      for (TCounter& c : counters) chart.Listeners().Add(&c);
      constexpr int Calls = 200000;
      const double event = NanosecondsPerCall(Calls, [&](int) { chart.BroadcastListenerEvent(series, seRepaint); });
      const double add = NanosecondsPerCall(Calls / 10, [&](int i) {
        if (i == 0) series->Clear();
        series->AddXY(i, i);
      });
      if (n) std::printf("%9d  %10.1f  %17.1f  %10.1f\n", n, event, event / n, add);
      else std::printf("%9d  %10.1f  %17s  %10.1f\n", n, event, "-", add);
    }
  }
  FormsUnitDone();
  return 0;
}
