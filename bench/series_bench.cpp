// series_bench: every standard series type beside QCustomPlot on the same data, in one
// process, at 1000 x 600, offscreen, without antialiasing: fast line, line, points, bars,
// OHLC bars, candlesticks, volume (impulse lines) and histogram (touching bars) at
// 10 000, 100 000 and 1 000 000 points of a seeded random walk of prices. Ours is drawn
// on the default chart (3D) and on a flat one; the peer has one view. Each figure is
// the median render time of a whole chart into a new image (axes, grid and labels
// included; no legend, no marks). Then the resident memory a 1 000 000-point candle
// series holds per point.
// Usage: series_bench [runs, default 5] [ours: leave the peer out, for profiling]
//                     [kind: only that row, e.g. "candles"] [points: only that size]
//                     [3d|flat: only that view]
//        series_bench --snap DIR: writes our pictures of every row, 3D and flat, as
//                     DIR/<series>-<points>-<view>.bmp (to compare two builds byte for byte)
#include <qcustomplot.h>

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "bench_chart.h"
#include "bench_prices.h"
#include "bench_timing.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/rtl.h"

namespace {

constexpr int Width = 1000, Height = 600;
constexpr int CandleWidth = 4;  // our candles' default body width, in pixels

struct TPrices : TPriceWalk<QVector<double>> {
  QVector<double> X, Range;  // the bars' places, and their high-low ranges (volumes, bars)
  explicit TPrices(int N) : TPriceWalk(N, 1000) {
    for (int i = 0; i < N; ++i) {
      X.push_back(i);
      Range.push_back(High[i] - Low[i]);
    }
  }
};

enum TKind { kFastLine, kLine, kPoints, kBars, kOhlc, kCandles, kVolume, kHistogram };
struct TKindName {
  TKind Kind;
  const char* Name;
};
constexpr TKindName Kinds[] = {{kFastLine, "fast line"}, {kLine, "line"},       {kPoints, "points"},
                               {kBars, "bars"},          {kOhlc, "OHLC bars"}, {kCandles, "candles"},
                               {kVolume, "volume"},      {kHistogram, "histogram"}};

double Median(int Runs, const std::function<void()>& Work) { return MedianMicroseconds(Runs, Work) / 1000.0; }

// ---- ours
template <class S>
S* Add(TChart* Chart) {
  auto* s = new S(Chart);
  s->SetParentChart(Chart);
  s->Marks()->Hide();
  return s;
}

template <class S>
void FillXY(S* Series, const QVector<double>& X, const QVector<double>& Y) {
  Series->BeginUpdate();
  for (int i = 0; i < X.size(); ++i) Series->AddXY(X[i], Y[i]);
  Series->EndUpdate();
}

void FillOHLC(TCandleSeries* Series, const TPrices& P) {
  Series->BeginUpdate();
  for (int i = 0; i < P.X.size(); ++i) Series->AddOHLC(P.X[i], P.Open[i], P.High[i], P.Low[i], P.Close[i]);
  Series->EndUpdate();
}

std::unique_ptr<TChart> OurChart(TKind Kind, const TPrices& P, bool View3D) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, Width, Height);
  chart->SetView3D(View3D);
  chart->Legend()->SetVisible(false);
  TChart* c = chart.get();
  switch (Kind) {
    case kFastLine: FillXY(Add<TFastLineSeries>(c), P.X, P.Close); break;
    case kLine: FillXY(Add<TLineSeries>(c), P.X, P.Close); break;
    case kPoints: FillXY(Add<TPointSeries>(c), P.X, P.Close); break;
    case kBars: FillXY(Add<TBarSeries>(c), P.X, P.Range); break;
    case kOhlc:
    case kCandles: {
      auto* s = Add<TCandleSeries>(c);
      s->SetCandleStyle(Kind == kOhlc ? csCandleBar : csCandleStick);
      FillOHLC(s, P);
      break;
    }
    case kVolume: FillXY(Add<TVolumeSeries>(c), P.X, P.Range); break;
    case kHistogram: FillXY(Add<THistogramSeries>(c), P.X, P.Range); break;
  }
  return chart;
}

double OurTime(TKind Kind, const TPrices& P, bool View3D, int Runs) {
  auto chart = OurChart(Kind, P, View3D);
  return Median(Runs, [&] { delete chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit); });
}

// ---- the peer, drawn the way it draws each kind best
double PeerTime(TKind Kind, const TPrices& P, int Runs) {
  QCustomPlot plot;
  plot.resize(Width, Height);
  plot.setNotAntialiasedElements(QCP::aeAll);
  QCPAxis* key = plot.xAxis;
  QCPAxis* value = plot.yAxis;
  switch (Kind) {
    case kFastLine:
    case kLine:
    case kPoints: {
      QCPGraph* g = plot.addGraph();
      g->setData(P.X, P.Close, true);
      if (Kind == kPoints) {
        g->setLineStyle(QCPGraph::lsNone);
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::black, Qt::green, 9));
      }
      break;
    }
    case kVolume: {
      QCPGraph* g = plot.addGraph();
      g->setData(P.X, P.Range, true);
      g->setLineStyle(QCPGraph::lsImpulse);
      break;
    }
    case kBars:
    case kHistogram: {
      auto* bars = new QCPBars(key, value);
      bars->setData(P.X, P.Range, true);
      bars->setWidth(Kind == kBars ? 0.7 : 1.0);  // ours: 70 percent of the spacing; touching
      bars->setBrush(QColor(Qt::red));
      break;
    }
    case kOhlc:
    case kCandles: {
      auto* f = new QCPFinancial(key, value);
      f->setData(P.X, P.Open, P.High, P.Low, P.Close, true);
      f->setChartStyle(Kind == kOhlc ? QCPFinancial::csOhlc : QCPFinancial::csCandlestick);
      f->setWidthType(QCPFinancial::wtAbsolute);
      f->setWidth(CandleWidth);
      f->setTwoColored(true);
      break;
    }
  }
  plot.rescaleAxes();
  return Median(Runs, [&] {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QCPPainter painter(&image);
    plot.toPainter(&painter, Width, Height);
  });
}

void MemoryPerCandle() {
  constexpr int N = 1000000;
  const TPrices p(N);
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, Width, Height);
  const double before = ResidentMiB();
  auto* s = Add<TCandleSeries>(chart.get());
  FillOHLC(s, p);
  const double added = ResidentMiB();
  delete chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit);
  const double drawn = ResidentMiB();
  const double mib = 1024.0 * 1024.0;
  std::printf("Resident memory of a 1 000 000-point candle series: %.1f bytes per point after adding, %.1f after "
              "a render\n",
              (added - before) * mib / N, (drawn - before) * mib / N);
}

// Our pictures, for comparing builds.
void WritePictures(const std::string& Dir) {
  for (int n : {10000, 100000, 1000000}) {
    const TPrices p(n);
    for (const TKindName& k : Kinds)
      for (bool view3D : {true, false}) {
        auto chart = OurChart(k.Kind, p, view3D);
        std::unique_ptr<TBitmap> picture(chart->CreateBitmap(clWhite, Rect(0, 0, Width, Height), pf32bit));
        std::string name = k.Name;
        std::replace(name.begin(), name.end(), ' ', '_');
        const std::string file = Dir + "/" + name + "-" + std::to_string(n) + (view3D ? "-3d" : "-flat") + ".bmp";
        picture->SaveToFile(file);
        std::printf("wrote %s\n", file.c_str());
      }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--snap") {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    GraphicsUnitInit();
    StartChartUnits();
    WritePictures(argv[2]);
    ChartUnitDone();
    return 0;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const bool peer = !(argc > 2 && std::string(argv[2]) == "ours");
  const std::string onlyKind = argc > 3 ? argv[3] : "";
  const int onlyPoints = argc > 4 ? std::atoi(argv[4]) : 0;
  const std::string onlyView = argc > 5 ? argv[5] : "";
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  GraphicsUnitInit();
  StartChartUnits();
  if (onlyKind.empty() || onlyKind == "all") MemoryPerCandle();
  std::printf("Render at %d x %d, no antialiasing, median of %d runs (ms); ratio = ours / peer\n", Width, Height, runs);
  std::printf("  %-12s %9s %11s %11s %11s %9s %9s\n", "series", "points", "ours 3D", "ours flat", "peer",
              "ratio 3D", "flat");
  for (const TKindName& k : Kinds) {
    if (!onlyKind.empty() && onlyKind != "all" && onlyKind != k.Name) continue;
    for (int n : {10000, 100000, 1000000}) {
      if (onlyPoints && n != onlyPoints) continue;
      const TPrices p(n);
      // Fewer runs for the slow large figures: the median of 3 still leaves out a stray one.
      const int r = n >= 1000000 ? std::max(1, std::min(runs, 3)) : runs;
      const double ours3D = onlyView == "flat" ? 0 : OurTime(k.Kind, p, true, r);
      const double oursFlat = onlyView == "3d" ? 0 : OurTime(k.Kind, p, false, r);
      const double other = peer ? PeerTime(k.Kind, p, r) : 0;
      if (other > 0)
        std::printf("  %-12s %9d %11.2f %11.2f %11.2f %9.2f %9.2f\n", k.Name, n, ours3D, oursFlat, other,
                    ours3D / other, oursFlat / other);
      else
        std::printf("  %-12s %9d %11.2f %11.2f\n", k.Name, n, ours3D, oursFlat);
      std::fflush(stdout);
    }
  }
  ChartUnitDone();
  return 0;
}
