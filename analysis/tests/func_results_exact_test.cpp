// The functions hand their results to their series in one go (one notification
// each, not one per point) and their kernels slide without arrays of partial sums;
// the values must stay the very bits they were. Each case's output series (owner and extra lines, every value list, every
// point colour) over one fixed walk of bars is hashed; the hashes are those of the
// point-by-point code these paths replaced.
#include <gtest/gtest.h>

#include <cstring>
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

// 3000 bars with flat bars, a stretch without volume and one of equal closes.
void FillBars(TOHLCSeries* Bars, TChartSeries* Volume, TChartSeries* Line) {
  std::mt19937 rng(51);
  std::normal_distribution<double> step(0, 1);
  double price = 100;
  for (int i = 0; i < 3000; ++i) {
    const double open = price;
    if (i < 800 || i > 830) price = std::max(1.0, price + step(rng));
    double high = std::max(open, price) + std::fabs(step(rng)), low = std::min(open, price) - std::fabs(step(rng));
    if (i % 97 == 0) high = low = price = open;
    Bars->AddOHLC(i, open, high, low, price);
    Volume->AddXY(i, i >= 500 && i < 540 ? 0 : std::round(1000 + 500 * std::fabs(step(rng))));
    if (i % 13 == 5) Line->AddNullXY(i, 0);
    else Line->AddXY(i, price);
  }
}

std::uint64_t Hash(std::uint64_t H, const void* Data, std::size_t Size) {
  for (std::size_t i = 0; i < Size; ++i) H = (H ^ static_cast<const std::uint8_t*>(Data)[i]) * 1099511628211ull;
  return H;
}

// Every series of the chart but the first three (the sources), in order.
std::uint64_t HashOutputs(TCustomAxisPanel& Chart) {
  std::uint64_t h = 14695981039346656037ull;
  for (int s = 3; s < Chart.SeriesCount(); ++s) {
    TChartSeries* series = Chart.Series(s);
    const int count = series->Count();
    h = Hash(h, &count, sizeof count);
    for (const TChartValueList* l : series->ValuesList())
      h = Hash(h, l->Values().data(), l->Values().size() * sizeof(double));
    for (int i = 0; i < count; ++i) {
      const TColor c = series->GetPointColor(i);
      h = Hash(h, &c, sizeof c);
    }
  }
  return h;
}

template <class F>
std::function<TLumFunction*()> Make(std::function<void(F*)> Setup = {}) {
  return [Setup]() -> TLumFunction* {
    auto* f = new F(nullptr);
    if (Setup) Setup(f);
    return f;
  };
}

struct TCase {
  const char* Name;
  std::function<TLumFunction*()> Function;
  int Source;  // 0 the bars, 2 the line with nulls
  std::uint64_t Hash;
};

}  // namespace

TEST_F(ExactResultsTest, EveryFunctionGivesTheSameBitsAsPointByPoint) {
  using MA = TMovingAverageFunction;
  const TCase cases[] = {
      {"SMA 20 last", Make<MA>([](MA* f) { f->SetPeriod(20); }), 0, 0xbefac4e46be98bf8},
      {"SMA 20 first", Make<MA>([](MA* f) { f->SetPeriod(20), f->SetPeriodAlign(paFirst); }), 0, 0x073f0c947a6754e1},
      {"SMA 7 centre", Make<MA>([](MA* f) { f->SetPeriod(7), f->SetPeriodAlign(paCenter); }), 0, 0x13c3d429b6cd0ff5},
      {"WMA 20", Make<MA>([](MA* f) { f->SetPeriod(20), f->SetWeightedIndex(true); }), 0, 0x7d474c1fd31bc3cd},
      {"weighted 9", Make<MA>([](MA* f) { f->SetPeriod(9), f->SetWeighted(true); }), 0, 0xce8f397ef407e5ac},
      {"smoothed 14", Make<TSmoothedMovAvgFunction>([](auto* f) { f->SetPeriod(14); }), 0, 0x34d4a535bd810a40},
      {"EMA 20", Make<TExpMovAveFunction>([](auto* f) { f->SetPeriod(20); }), 0, 0xbf85802bfdab717a},
      {"EMA 20 skipping nulls",
       Make<TExpMovAveFunction>([](auto* f) { f->SetPeriod(20), f->SetIgnoreNulls(false); }), 2, 0xf736c8d2e526dd45},
      {"EMA 20 over nulls", Make<TExpMovAveFunction>([](auto* f) { f->SetPeriod(20); }), 2, 0x7f3e15ddae3de9cd},
      {"MACD", Make<TMACDFunction>(), 0, 0x99dd9cfef846f981},
      {"Bollinger 20", Make<TBollingerFunction>([](auto* f) { f->SetPeriod(20); }), 0, 0x71fe1801913f2c07},
      {"Bollinger 20 simple", Make<TBollingerFunction>([](auto* f) { f->SetPeriod(20), f->SetExponential(false); }),
       0, 0x4f44c7e05b8e5790},
      {"Bollinger 20.4 simple",
       Make<TBollingerFunction>([](auto* f) { f->SetPeriod(20.4), f->SetExponential(false); }), 0, 0x2899d1f3b1e3f6ac},
      {"R.S.I. 15 close", Make<TRSIFunction>([](auto* f) { f->SetPeriod(15), f->SetStyle(rsiClose); }), 0, 0xabb193c847aa3f86},
      {"R.S.I. 14 open-close", Make<TRSIFunction>([](auto* f) { f->SetPeriod(14); }), 0, 0x2c9763a7b7fcef51},
      {"R.S.I. 1 close", Make<TRSIFunction>([](auto* f) { f->SetPeriod(1), f->SetStyle(rsiClose); }), 0, 0xe1aa0109e6737fa1},
      {"R.S.I. 9 centre", Make<TRSIFunction>([](auto* f) { f->SetPeriod(9), f->SetPeriodAlign(paCenter); }), 0, 0xe4af0c0b3befdb97},
      {"ATR 14", Make<TATRFunction>(), 0, 0xb0ae6b0503b306ea},
      {"ADX 14", Make<TADXFunction>(), 0, 0x14b6fa95db183373},
      {"ADX 2.6", Make<TADXFunction>([](auto* f) { f->SetPeriod(2.6); }), 0, 0x420f066a137ab91d},
      {"stochastic 14", Make<TStochasticFunction>([](auto* f) { f->SetPeriod(14); }), 0, 0x56737fbae6b3520e},
      {"CLV", Make<TCLVFunction>(), 0, 0x943b1595312071a9},
      {"CLV each", Make<TCLVFunction>([](auto* f) { f->SetAccumulate(false); }), 0, 0x79d748634a8b9c34},
      {"money flow 21", Make<TMoneyFlowFunction>(), 0, 0xd09a4e89772b9cc2},
      {"money flow 21 area", Make<TMoneyFlowFunction>([](auto* f) { f->SetCMFStyle(cmfArea); }), 0, 0x76ba8d5cab7072b9},
      {"money flow 3 volume", Make<TMoneyFlowFunction>([](auto* f) { f->SetPeriod(3), f->SetCMFStyle(cmfVolume); }),
       0, 0xd32d70a1fbea3ccd},
      {"RVI 10", Make<TRVIFunction>(), 0, 0x41627ad2474d2b50},
      {"awesome", Make<TAOFunction>(), 0, 0xe2dffaa36f6e29ce},
      {"accelerator", Make<TACFunction>(), 0, 0xd368d07d5a3afaa4},
      {"alligator", Make<TAlligatorFunction>(), 0, 0xc1676f330587833e},
      {"gator", Make<TGatorFunction>(), 0, 0xcd12bb1f2d3c1a91},
  };
  for (const TCase& c : cases) {
    TCustomAxisPanel chart(nullptr);
    auto* bars = static_cast<TOHLCSeries*>(chart.AddSeriesOfClass(TCandleSeries::StaticClass()));
    TChartSeries* volume = chart.AddSeriesOfClass(TVolumeSeries::StaticClass());
    TChartSeries* line = chart.AddSeriesOfClass(TLineSeries::StaticClass());
    FillBars(bars, volume, line);
    TChartSeries* out = chart.AddSeriesOfClass(TFastLineSeries::StaticClass());
    TLumFunction* f = c.Function();
    if (auto* clv = dynamic_cast<TCLVFunction*>(f)) clv->SetVolume(volume);
    out->SetFunction(f);
    out->SetDataSource(c.Source == 0 ? static_cast<TChartSeries*>(bars) : line);
    out->RefreshSeries();  // a second time: outputs refilled, not appended
    const std::uint64_t h = HashOutputs(chart);
    EXPECT_EQ(h, c.Hash) << c.Name << ": 0x" << std::hex << h;
  }
}

namespace {

// Counts the data-change events of each series.
struct TDataChanges : ILumEventListener {
  void LumEvent(const TLumEvent& Event) override {
    if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event); e && e->Event == seDataChanged) ++Count[e->Series];
  }
  std::map<const TChartSeries*, int> Count;
};

}  // namespace

// A recalculation tells the listeners of each line it fills once (and once more
// for emptying it), whatever the number of points.
TEST_F(ExactResultsTest, EachLineIsToldOnceNotPerPoint) {
  TCustomAxisPanel chart(nullptr);
  auto* bars = static_cast<TOHLCSeries*>(chart.AddSeriesOfClass(TCandleSeries::StaticClass()));
  TChartSeries* volume = chart.AddSeriesOfClass(TVolumeSeries::StaticClass());
  TChartSeries* line = chart.AddSeriesOfClass(TLineSeries::StaticClass());
  FillBars(bars, volume, line);
  std::vector<TChartSeries*> lines;
  for (TLumFunction* f : std::initializer_list<TLumFunction*>{new TMACDFunction(nullptr), new TBollingerFunction(nullptr),
                                                              new TADXFunction(nullptr), new TAlligatorFunction(nullptr),
                                                              new TRSIFunction(nullptr), new TRVIFunction(nullptr)}) {
    TChartSeries* out = chart.AddSeriesOfClass(TFastLineSeries::StaticClass());
    out->SetFunction(f);
    out->SetDataSource(bars);
    lines.push_back(out);
  }
  TDataChanges changes;
  chart.Listeners().Add(&changes);
  for (TChartSeries* out : lines) out->RefreshSeries();
  chart.RemoveListener(&changes);
  int filled = 0;
  for (int s = 3; s < chart.SeriesCount(); ++s) {
    TChartSeries* series = chart.Series(s);
    if (series->Count() == 0) continue;
    ++filled;
    EXPECT_LE(changes.Count[series], 2) << series->ClassName() << " " << s;
  }
  EXPECT_GE(filled, 12) << "the owners and their signal, histogram, band and direction lines";
}
