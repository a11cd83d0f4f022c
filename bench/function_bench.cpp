// Analysis-function figures: a 100-point moving average over 1 000 000 points through
// the function framework (a full refresh of the owning series from its source),
// beside numpy's cumulative-sum moving average of the same data in the same run.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "canvas/lumconst.h"
#include "engine/engine.h"
#include "engine/function.h"
#include "platform/forms.h"

namespace {

constexpr int Points = 1000000, Window = 100, Runs = 5;

// The mean of each window, summed afresh per window as a plain subclass would.
class TBenchMean : public TLumMovingFunction {
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override {
    const std::vector<double>& y = GetValueListForSeries(Source)->Values();
    double sum = 0;
    for (int i = First; i <= Last; ++i) sum += y[size_t(i)];
    return sum / (Last - First + 1);
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// numpy's median milliseconds and the sum of its results, or a negative time when
// numpy is missing.
double NumpyTime(const std::vector<double>& Y, double& Sum) {
  if (std::system("/usr/bin/python3 -c 'import numpy' >/dev/null 2>&1") != 0) return -1;
  const std::string data = "/tmp/function_bench.f64", script = "/tmp/function_bench.py";
  std::ofstream(data, std::ios::binary).write(reinterpret_cast<const char*>(Y.data()),
                                              std::streamsize(Y.size() * sizeof(double)));
  std::ofstream(script) << "import sys, time\nimport numpy as np\n"
                           "y = np.fromfile(sys.argv[1], dtype=np.float64); n = int(sys.argv[2]); t = []\n"
                           "for _ in range(int(sys.argv[3])):\n"
                           "    s = time.perf_counter()\n"
                           "    c = np.cumsum(np.insert(y, 0, 0.0)); ma = (c[n:] - c[:-n]) / n\n"
                           "    t.append((time.perf_counter() - s) * 1000)\n"
                           "t.sort(); print(t[len(t) // 2], ma.sum(), len(ma))\n";
  const std::string cmd = "/usr/bin/python3 " + script + " " + data + " " + std::to_string(Window) + " " +
                          std::to_string(Runs);
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  double ms = -1, count = 0;
  if (std::fscanf(p, "%lf %lf %lf", &ms, &Sum, &count) != 3) ms = -1;
  pclose(p);
  return ms;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  FormsUnitInit();
  LumConstUnitInit();
  {
    std::mt19937 random(1);
    std::normal_distribution<double> step(0, 1);
    std::vector<double> y(Points);
    double v = 100;
    for (double& p : y) p = v += step(random);

    TCustomAxisPanel chart(nullptr);
    auto* source = chart.AddSeriesOfClass(TChartSeries::StaticClass());
    auto* average = chart.AddSeriesOfClass(TChartSeries::StaticClass());
    source->BeginUpdate();
    for (int i = 0; i < Points; ++i) source->AddXY(i, y[size_t(i)]);
    source->EndUpdate();
    average->SetDataSource(source);
    auto* mean = new TBenchMean(nullptr);
    mean->SetPeriod(Window);
    average->SetFunction(mean);

    std::vector<double> times;
    for (int r = 0; r < Runs; ++r) {
      const std::int64_t t0 = GetMicroseconds();
      average->RefreshSeries();
      times.push_back((GetMicroseconds() - t0) / 1000.0);
    }
    double sum = 0;
    for (double r : average->YValues()->Values()) sum += r;
    const double ours = Median(times);
    std::printf("moving average, %d points, window %d: %d results\n", Points, Window, average->Count());
    std::printf("  function framework (full refresh): %.1f ms (median of %d)\n", ours, Runs);
    double numpySum = 0;
    const double numpy = NumpyTime(y, numpySum);
    if (numpy < 0) {
      std::printf("  numpy cumulative sum: not measured (python3-numpy missing)\n");
    } else {
      std::printf("  numpy cumulative sum:              %.1f ms (median of %d)\n", numpy, Runs);
      std::printf("  ratio ours / numpy: %.1f\n", ours / numpy);
      std::printf("  sum of the results: ours %.6f, numpy %.6f\n", sum, numpySum);
    }
  }
  LumConstUnitDone();
  FormsUnitDone();
  return 0;
}
