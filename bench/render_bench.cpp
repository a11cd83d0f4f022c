// render_bench: our chart and QCustomPlot drawing the same data side by side in one
// process, at 1000 x 600, offscreen: a fast line of 10 000, 100 000 and 1 000 000
// random-walk points and a scatter of 10 000 circles. Both are drawn without
// antialiasing, into a new image each time, axes, grid and labels included.
// Then the resident memory a 1 000 000-point fast line holds.
// Usage: render_bench [runs per figure, default 15] [ours: leave the peer out, for profiling] [points: that line only]
//        render_bench pictures DIR: our 100 000-point line and the scatter as PNG files, for looking at
#include <qcustomplot.h>

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_timing.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/forms.h"
#include "platform/rtl.h"
#include "platform/snapshot.h"

namespace {

constexpr int Width = 1000, Height = 600;
constexpr int MarkerSize = 7;

struct Data {
  explicit Data(int N) : X(N), Y(N) {}
  QVector<double> X, Y;
};

Data RandomWalk(int N, unsigned Seed) {
  std::mt19937 rng(Seed);
  std::normal_distribution<double> step(0.0, 1.0);
  Data d(N);
  double y = 0;
  for (int i = 0; i < N; ++i) {
    y += step(rng);
    d.X[i] = i;
    d.Y[i] = y;
  }
  return d;
}

Data Scatter(int N, unsigned Seed) {
  std::mt19937 rng(Seed);
  std::uniform_real_distribution<double> u(0.0, 100.0);
  Data d(N);
  for (int i = 0; i < N; ++i) {
    d.X[i] = u(rng);
    d.Y[i] = u(rng);
  }
  std::sort(d.X.begin(), d.X.end());  // both keep the points in X order
  return d;
}

// Median of Runs timings of Work, in milliseconds.
double Median(int Runs, const std::function<void()>& Work) {
  return MedianMicroseconds(Runs, Work) / 1000.0;
}

// ---- ours
std::unique_ptr<TChart> OurChart() {
  auto c = std::make_unique<TChart>(nullptr);
  c->SetBounds(0, 0, Width, Height);
  c->SetView3D(false);
  c->Legend()->SetVisible(false);
  return c;
}

// A chart with one series of type S holding D.
template <class S>
std::unique_ptr<TChart> ChartOf(const Data& D, S*& Series) {
  auto chart = OurChart();
  Series = new S(chart.get());
  Series->SetParentChart(chart.get());
  Series->BeginUpdate();
  for (int i = 0; i < D.X.size(); ++i) Series->AddXY(D.X[i], D.Y[i]);
  Series->EndUpdate();
  return chart;
}

std::unique_ptr<TChart> LineChart(const Data& D) {
  TFastLineSeries* s = nullptr;
  return ChartOf(D, s);
}

std::unique_ptr<TChart> ScatterChart(const Data& D) {
  TPointSeries* s = nullptr;
  auto chart = ChartOf(D, s);
  s->Pointer()->SetStyle(psCircle);
  s->Pointer()->SetHorizSize(MarkerSize);
  s->Pointer()->SetVertSize(MarkerSize);
  return chart;
}

double RenderTime(TChart* Chart, int Runs) {
  return Median(Runs, [&] { delete Chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit); });
}

// ---- the peer
double PeerPlot(const Data& D, bool Scatter, int Runs) {
  QCustomPlot plot;
  plot.resize(Width, Height);
  plot.setNotAntialiasedElements(QCP::aeAll);
  QCPGraph* g = plot.addGraph();
  g->setData(D.X, D.Y, true);
  if (Scatter) {
    g->setLineStyle(QCPGraph::lsNone);
    g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::blue, Qt::red, MarkerSize));
  }
  g->rescaleAxes();
  return Median(Runs, [&] {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QCPPainter painter(&image);
    plot.toPainter(&painter, Width, Height);
  });
}

void Row(const char* What, double Ours, double Peer) {
  if (Peer > 0) std::printf("  %-34s %9.3f ms %9.3f ms %7.2f\n", What, Ours, Peer, Ours / Peer);
  else std::printf("  %-34s %9.3f ms\n", What, Ours);
}

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

void MemoryPerPoint() {
  constexpr int N = 1000000;
  auto chart = OurChart();
  const long before = ResidentBytes();
  auto* s = new TFastLineSeries(chart.get());
  s->SetParentChart(chart.get());
  s->BeginUpdate();
  double y = 0;
  std::mt19937 rng(7);
  std::normal_distribution<double> step(0.0, 1.0);
  for (int i = 0; i < N; ++i) s->AddXY(i, y += step(rng));
  s->EndUpdate();
  const long added = ResidentBytes();
  delete chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit);
  const long drawn = ResidentBytes();
  std::printf("Resident memory of a 1 000 000-point fast line: %.1f bytes per point after adding, %.1f after a render\n",
              double(added - before) / N, double(drawn - before) / N);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;  // "pictures" reads as 1
  const bool peer = !(argc > 2 && std::string(argv[2]) == "ours");
  const int only = argc > 3 ? std::atoi(argv[3]) : 0;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  GraphicsUnitInit();
  FormsUnitInit();
  LumConstUnitInit();
  ChartUnitInit();
  if (argc > 2 && std::string(argv[1]) == "pictures") {
    const std::string dir = std::string(argv[2]) + "/";
    SaveControlToPng(LineChart(RandomWalk(100000, 1)).get(), dir + "fast_line_100000.png");
    SaveControlToPng(ScatterChart(Scatter(10000, 2)).get(), dir + "scatter_10000.png");
  } else {
    if (!only) MemoryPerPoint();
    std::printf("Render at %d x %d, no antialiasing, median of %d:      ours        peer   ratio\n", Width, Height,
                runs);
    for (int n : {10, 10000, 100000, 1000000}) {
      if (only && n != only) continue;
      const Data d = RandomWalk(n, 1);
      char what[64];
      std::snprintf(what, sizeof what, "fast line, %d points", n);
      Row(what, RenderTime(LineChart(d).get(), runs), peer ? PeerPlot(d, false, runs) : 0);
    }
    const Data d = Scatter(10000, 2);
    if (!only) Row("scatter, 10000 circles", RenderTime(ScatterChart(d).get(), runs), peer ? PeerPlot(d, true, runs) : 0);
  }
  ChartUnitDone();
  LumConstUnitDone();
  FormsUnitDone();
  GraphicsUnitDone();
  return 0;
}
