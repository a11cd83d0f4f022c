// Pictures of the basic functions and the average-based indicators over price bars.
#include "function_scenes.h"

#include <cmath>
#include <random>

#include "analysis/candle.h"
#include "analysis/func_basic.h"
#include "analysis/func_oscillators.h"
#include "platform/dateutils.h"
#include "scene.h"

namespace {

// A seeded walk of N daily bars from 6 January 2025.
void FillWalk(TOHLCSeries* S, int N) {
  const double start = EncodeDate(2025, 1, 6);
  std::mt19937 rnd(7);
  std::normal_distribution<double> step(0, 1.2), wick(0, 0.6);
  double close = 50;
  for (int i = 0; i < N; ++i) {
    const double open = close;
    close += step(rnd) + 0.15 * std::sin(i / 9.0);
    S->AddOHLC(start + i, open, std::max(open, close) + std::fabs(wick(rnd)), std::min(open, close) - std::fabs(wick(rnd)),
               close);
  }
}

template <class F, class S = TFastLineSeries>
F* Carry(Scene& Sc, TChartSeries* Source, const char* Title, TColor Color = clLumColor) {
  auto* out = Sc.Add<S>(Title);
  if (Color != clLumColor) out->SetSeriesColor(Color);
  out->XValues()->SetDateTime(Source->XValues()->DateTime());  // dates on the axis when the bars are hidden
  auto* f = new F(nullptr);
  out->SetFunction(f);
  out->SetDataSource(Source);
  return f;
}

}  // namespace

bool SnapFunctionScenes(const std::string& Dir) {
  bool ok = true;
  {
    Scene s("Bollinger bands (10, 2) and exponential average (10)");
    auto* bars = s.Add<TCandleSeries>("Prices");
    FillWalk(bars, 90);
    auto* b = Carry<TBollingerFunction>(s, bars, "Bands", clNavy);
    b->SetExponential(false);
    Carry<TExpMovAveFunction>(s, bars, "EMA", clFuchsia);
    ok &= s.Save(Dir + "func_bollinger.png");
  }
  {
    Scene s("MACD (26, 12, 9): signal green, histogram red");
    s.chart->Legend()->Hide();
    auto* bars = s.Add<TCandleSeries>();
    FillWalk(bars, 120);
    bars->SetActive(false);
    Carry<TMACDFunction>(s, bars, "MACD", clNavy);
    ok &= s.Save(Dir + "func_macd.png");
  }
  {
    Scene s("Awesome oscillator as volume bars");
    s.chart->Legend()->Hide();
    auto* bars = s.Add<TCandleSeries>();
    FillWalk(bars, 120);
    bars->SetActive(false);
    Carry<TAOFunction, TVolumeSeries>(s, bars, "AO");
    ok &= s.Save(Dir + "func_ao.png");
  }
  {
    Scene s("Alligator: jaw blue, teeth red, lips green");
    s.chart->Legend()->Hide();
    auto* bars = s.Add<TCandleSeries>();
    FillWalk(bars, 80);
    Carry<TAlligatorFunction>(s, bars, "Jaw");
    ok &= s.Save(Dir + "func_alligator.png");
  }
  {
    Scene s("Period highs, lows, medians of 8 points; y = 40 + 10 sin x");
    auto* line = s.Add<TFastLineSeries>("Source");
    for (int i = 0; i < 80; ++i) line->AddXY(i, 50 + 15 * std::sin(i / 6.0) + (i % 7) - 3);
    for (auto [cls, title] : {std::pair{THighLumFunction::StaticClass(), "High"},
                              std::pair{TLowLumFunction::StaticClass(), "Low"},
                              std::pair{TMedianLumFunction::StaticClass(), "Median"}}) {
      auto* out = s.Add<TLineSeries>(title);
      auto* f = static_cast<TLumFunction*>(cls->NewInstance(nullptr));
      f->SetPeriod(8);
      out->SetFunction(f);
      out->SetDataSource(line);
    }
    auto* user = s.Add<TFastLineSeries>("User");
    auto* f = new TCustomLumFunction(nullptr);
    f->OnCalculate = [](TObject*, double X, double& Y) { Y = 40 + 10 * std::sin(X / 5); };
    f->SetNumPoints(80);
    user->SetFunction(f);
    ok &= s.Save(Dir + "func_basic.png");
  }
  return ok;
}
