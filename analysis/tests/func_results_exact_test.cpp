// The functions hand their results to their series in one go and their kernels slide
// without arrays of partial sums: each line must be told once, not once per point,
// and hold the very bits of the point-by-point code (whose hashes of every output
// series' lists and colours over one fixed walk of bars are pinned below).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "analysis/candle.h"
#include "analysis/func_financial.h"
#include "analysis/func_moving.h"
#include "analysis/func_oscillators.h"
#include "analysis_test_util.h"
#include "chart/series.h"
#include "engine/listeners.h"
#include "engine/panel.h"

namespace {

class ExactResultsTest : public analysistest::AnalysisTest {};

// 3000 bars with flat bars, a stretch without volume and one of equal closes, and a
// line of the closes with nulls: the chart's first three series.
void AddSources(TCustomAxisPanel& Chart) {
  auto* bars = static_cast<TOHLCSeries*>(Chart.AddSeriesOfClass(TCandleSeries::StaticClass()));
  TChartSeries* volume = Chart.AddSeriesOfClass(TVolumeSeries::StaticClass());
  TChartSeries* line = Chart.AddSeriesOfClass(TLineSeries::StaticClass());
  std::mt19937 rng(51);
  std::normal_distribution<double> step(0, 1);
  double price = 100;
  for (int i = 0; i < 3000; ++i) {
    const double open = price;
    if (i < 800 || i > 830) price = std::max(1.0, price + step(rng));
    double high = std::max(open, price) + std::fabs(step(rng)), low = std::min(open, price) - std::fabs(step(rng));
    if (i % 97 == 0) high = low = price = open;
    bars->AddOHLC(i, open, high, low, price);
    volume->AddXY(i, i >= 500 && i < 540 ? 0 : std::round(1000 + 500 * std::fabs(step(rng))));
    if (i % 13 == 5) line->AddNullXY(i, 0);
    else line->AddXY(i, price);
  }
}

// A series owning F over source S (0 the bars, 2 the line), after two recalculations.
TChartSeries* Attach(TCustomAxisPanel& Chart, TLumFunction* F, int S) {
  TChartSeries* out = Chart.AddSeriesOfClass(TFastLineSeries::StaticClass());
  if (auto* clv = dynamic_cast<TCLVFunction*>(F)) clv->SetVolume(Chart.Series(1));
  out->SetFunction(F);
  out->SetDataSource(Chart.Series(S));
  out->RefreshSeries();  // outputs refilled, not appended
  return out;
}

template <class F>
std::function<TLumFunction*()> Make(double Period = 0, std::function<void(F*)> Setup = {}) {
  return [=]() -> TLumFunction* {
    auto* f = new F(nullptr);
    if (Period > 0) f->SetPeriod(Period);
    if (Setup) Setup(f);
    return f;
  };
}

}  // namespace

TEST_F(ExactResultsTest, EveryFunctionGivesTheSameBitsAsPointByPoint) {
  using MA = TMovingAverageFunction;
  using Boll = TBollingerFunction;
  using RSI = TRSIFunction;
  struct TCase {
    const char* Name;
    std::function<TLumFunction*()> Function;
    int Source;
    std::uint64_t Hash;
  } const cases[] = {
      {"SMA 20 last", Make<MA>(20), 0, 0xbefac4e46be98bf8},
      {"SMA 20 first", Make<MA>(20, [](MA* f) { f->SetPeriodAlign(paFirst); }), 0, 0x073f0c947a6754e1},
      {"SMA 7 centre", Make<MA>(7, [](MA* f) { f->SetPeriodAlign(paCenter); }), 0, 0x13c3d429b6cd0ff5},
      {"WMA 20", Make<MA>(20, [](MA* f) { f->SetWeightedIndex(true); }), 0, 0x7d474c1fd31bc3cd},
      {"EMA 20", Make<TExpMovAveFunction>(20), 0, 0xbf85802bfdab717a},
      {"EMA 20 skipping nulls", Make<TExpMovAveFunction>(20, [](auto* f) { f->SetIgnoreNulls(false); }), 2,
       0xf736c8d2e526dd45},
      {"EMA 20 over nulls", Make<TExpMovAveFunction>(20), 2, 0x7f3e15ddae3de9cd},
      {"MACD", Make<TMACDFunction>(), 0, 0x99dd9cfef846f981},
      {"Bollinger 20", Make<Boll>(20), 0, 0x71fe1801913f2c07},
      {"Bollinger 20.4 simple", Make<Boll>(20.4, [](Boll* f) { f->SetExponential(false); }), 0, 0x2899d1f3b1e3f6ac},
      {"R.S.I. 15 close", Make<RSI>(15, [](RSI* f) { f->SetStyle(rsiClose); }), 0, 0xabb193c847aa3f86},
      {"R.S.I. 14 open-close", Make<RSI>(14), 0, 0x2c9763a7b7fcef51},
      {"R.S.I. 1 close", Make<RSI>(1, [](RSI* f) { f->SetStyle(rsiClose); }), 0, 0xe1aa0109e6737fa1},
      {"ATR 14", Make<TATRFunction>(), 0, 0xb0ae6b0503b306ea},
      {"ADX 14", Make<TADXFunction>(), 0, 0x14b6fa95db183373},
      {"ADX 2.6", Make<TADXFunction>(2.6), 0, 0x420f066a137ab91d},
      {"stochastic 14", Make<TStochasticFunction>(14), 0, 0x56737fbae6b3520e},
      {"CLV", Make<TCLVFunction>(), 0, 0x943b1595312071a9},
      {"money flow 21", Make<TMoneyFlowFunction>(), 0, 0xd09a4e89772b9cc2},
      {"money flow 3 volume", Make<TMoneyFlowFunction>(3, [](auto* f) { f->SetCMFStyle(cmfVolume); }), 0,
       0xd32d70a1fbea3ccd},
      {"RVI 10", Make<TRVIFunction>(), 0, 0x41627ad2474d2b50},
      {"alligator", Make<TAlligatorFunction>(), 0, 0xc1676f330587833e},
      {"gator", Make<TGatorFunction>(), 0, 0xcd12bb1f2d3c1a91},
  };
  for (const TCase& c : cases) {
    TCustomAxisPanel chart(nullptr);
    AddSources(chart);
    Attach(chart, c.Function(), c.Source);
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a over every output series
    auto hash = [&h](const void* Data, std::size_t Size) {
      for (std::size_t i = 0; i < Size; ++i) h = (h ^ static_cast<const std::uint8_t*>(Data)[i]) * 1099511628211ull;
    };
    for (int s = 3; s < chart.SeriesCount(); ++s) {
      const int count = chart.Series(s)->Count();
      hash(&count, sizeof count);
      for (const TChartValueList* l : chart.Series(s)->ValuesList())
        hash(l->Values().data(), l->Values().size() * sizeof(double));
      for (int i = 0; i < count; ++i) {
        const TColor colour = chart.Series(s)->GetPointColor(i);
        hash(&colour, sizeof colour);
      }
    }
    EXPECT_EQ(h, c.Hash) << c.Name << ": 0x" << std::hex << h;
  }
}

// A recalculation tells the listeners of each line it fills once (and once more for
// emptying it), whatever the number of points.
TEST_F(ExactResultsTest, EachLineIsToldOnceNotPerPoint) {
  struct TDataChanges : ILumEventListener {
    void LumEvent(const TLumEvent& Event) override {
      if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event); e && e->Event == seDataChanged) ++Count[e->Series];
    }
    std::map<const TChartSeries*, int> Count;
  } changes;
  TCustomAxisPanel chart(nullptr);
  AddSources(chart);
  std::vector<TChartSeries*> lines;
  for (TLumFunction* f : {Make<TMACDFunction>()(), Make<TBollingerFunction>()(), Make<TADXFunction>()(),
                          Make<TAlligatorFunction>()(), Make<TRSIFunction>()(), Make<TRVIFunction>()()})
    lines.push_back(Attach(chart, f, 0));
  chart.Listeners().Add(&changes);
  for (TChartSeries* out : lines) out->RefreshSeries();
  chart.RemoveListener(&changes);
  int filled = 0;
  for (int s = 3; s < chart.SeriesCount(); ++s)
    if (chart.Series(s)->Count() > 0) {
      ++filled;
      EXPECT_LE(changes.Count[chart.Series(s)], 2) << chart.Series(s)->ClassName() << " " << s;
    }
  EXPECT_GE(filled, 12) << "the owners and their signal, histogram, band and direction lines";
}
