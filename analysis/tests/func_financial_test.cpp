// The price-bar indicators against R's TTR (tools/refgen/financial.R), the figures
// and rules where ours part from it, and the sliding kernels against plain windows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>

#include "analysis/candle.h"
#include "analysis/financial_kernels.h"
#include "analysis/func_financial.h"
#include "analysis/histogram.h"
#include "analysis_test_util.h"
#include "golden_data.h"
#include "chart/stdseries.h"

namespace {

class FinancialTest : public analysistest::AnalysisTest {
public:
  // The bars of an input table (the first Count), and its volumes in a volume series.
  TCandleSeries* Bars(golden::TBars In, int Count = -1) {
    if (Count >= 0)
      for (std::vector<double>* c : {&In.X, &In.Open, &In.High, &In.Low, &In.Close, &In.Volume})
        c->resize(size_t(Count));
    In.Null.resize(In.X.size());
    auto* s = Add<TCandleSeries>();
    golden::Fill(s, In);
    volume = Add<TVolumeSeries>();
    for (size_t i = 0; i < In.X.size(); ++i) volume->AddXY(In.X[i], In.Volume[i]);
    return s;
  }
  TCandleSeries* Bars(std::initializer_list<std::array<double, 4>> OHLC) {
    auto* s = Add<TCandleSeries>();
    for (const auto& b : OHLC) s->AddOHLC(s->Count(), b[0], b[1], b[2], b[3]);
    return s;
  }
  // A series showing F over Source.
  template <class F>
  F* Apply(TChartSeries* Source, double Period, TChartSeries* Volume = nullptr) {
    auto* f = new F(nullptr);
    f->SetPeriod(Period);
    if constexpr (std::is_base_of_v<TCLVFunction, F>) f->SetVolume(Volume);
    auto* out = Add<TFastLineSeries>();
    out->SetFunction(f);
    out->SetDataSource(Source);
    return f;
  }
  static std::vector<double> Ys(TChartSeries* S) { return S->YValues()->Values(); }
  TVolumeSeries* volume = nullptr;
};

bool Near(double A, double B) { return std::fabs(A - B) <= 1e-9 * std::max(1.0, std::fabs(B)); }

const golden::TBars& TableA() {
  static const golden::TBars a = golden::ReadInput("table_a");
  return a;
}

// ---- Against TTR ---------------------------------------------------------------

TEST_F(FinancialTest, IndicatorsAgreeWithTTROnEveryInput) {
  struct TCase {
    const char* Column;
    TLumFunction* (*Make)(FinancialTest&, TChartSeries* Bars, double Period);
    // TTR leaves out windows it counts otherwise (no change at all, a bar without
    // range): compared only where it has a value.
    bool Gaps = false;
    int Line = 0;  // 0: the owning series, 1 and 2: the directional up and down lines
  };
  using T = FinancialTest;
  const TCase cases[] = {
      {"ATR_", [](T& t, TChartSeries* b, double p) -> TLumFunction* { return t.Apply<TATRFunction>(b, p); }},
      {"PDI_", [](T& t, TChartSeries* b, double p) -> TLumFunction* { return t.Apply<TADXFunction>(b, p); }, false, 1},
      {"MDI_", [](T& t, TChartSeries* b, double p) -> TLumFunction* { return t.Apply<TADXFunction>(b, p); }, false, 2},
      {"RSI_",
       [](T& t, TChartSeries* b, double p) -> TLumFunction* {
         auto* f = t.Apply<TRSIFunction>(b, p);
         f->SetStyle(rsiClose);
         return f;
       },
       true},
      {"STOCH_", [](T& t, TChartSeries* b, double p) -> TLumFunction* { return t.Apply<TStochasticFunction>(b, p); }},
      {"CMF_", [](T& t, TChartSeries* b, double p) -> TLumFunction* {
         return t.Apply<TMoneyFlowFunction>(b, p, t.volume); }, true},
  };
  int compared = 0;
  for (const char* input : {"table_a", "table_b", "walk1", "walk2"}) {
    TCandleSeries* bars = Bars(golden::ReadInput(input));
    for (const auto& [name, want] : golden::ReadExpected("financial", input)) {
      for (const TCase& c : cases) {
        if (name.rfind(c.Column, 0) != 0) continue;
        TLumFunction* f = c.Make(*this, bars, std::stod(name.substr(std::strlen(c.Column))));
        auto* adx = dynamic_cast<TADXFunction*>(f);
        TChartSeries* out = c.Line == 0 ? f->ParentSeries() : c.Line == 1 ? adx->UpLine() : adx->DownLine();
        std::vector<double> x = out->XValues()->Values(), y = Ys(out);
        if (c.Gaps) {  // ours at the bars TTR has a value for
          std::map<double, double> at;
          for (size_t i = 0; i < x.size(); ++i) at[x[i]] = y[i];
          x = want.X;
          y.clear();
          for (double w : want.X) y.push_back(at.count(w) ? at[w] : NAN);
        }
        golden::ExpectLine(want, x, y, std::string(input) + " " + name);
        compared += int(want.X.size());
      }
    }
  }
  EXPECT_GT(compared, 10000);
}

// ---- Where ours part from the textbook -----------------------------------------

TEST_F(FinancialTest, DirectionalIndexStartsAtTwicePeriodLessTwoAndNeedsTwicePeriodPoints) {
  auto* adx = Apply<TADXFunction>(Bars(TableA()), 14);
  const TChartSeries* out = adx->ParentSeries();
  ASSERT_EQ(out->Count(), 30 - 26);
  EXPECT_EQ(out->XValues()->GetValue(0), 26);
  EXPECT_NEAR(out->YValues()->GetValue(0), 27.2688, 5e-5);
  EXPECT_NEAR(out->YValues()->GetValue(1), 28.5979, 5e-5);
  ASSERT_EQ(adx->UpLine()->Count(), 30 - 14);
  EXPECT_EQ(adx->UpLine()->XValues()->GetValue(0), 14);
  EXPECT_NEAR(adx->UpLine()->YValues()->GetValue(0), 26.4151, 5e-5);
  EXPECT_NEAR(adx->DownLine()->YValues()->GetValue(0), 20.0, 5e-5);

  // 28 points are enough for Period 14, 27 are not (and the lines stay empty too).
  EXPECT_EQ(Apply<TADXFunction>(Bars(TableA(), 28), 14)->ParentSeries()->Count(), 2);
  auto* few = Apply<TADXFunction>(Bars(TableA(), 27), 14);
  EXPECT_EQ(few->ParentSeries()->Count(), 0);
  EXPECT_EQ(few->UpLine()->Count(), 0);
  EXPECT_EQ(Apply<TADXFunction>(Bars(TableA()), 1)->ParentSeries()->Count(), 0);

  // Flat bars: no true range, lines and index 0 rather than a division by zero.
  auto* flat = Apply<TADXFunction>(Bars({{5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 5, 5}}), 2);
  for (TChartSeries* s : {flat->ParentSeries(), (TChartSeries*)flat->UpLine(), (TChartSeries*)flat->DownLine()})
    EXPECT_EQ(Ys(s), std::vector<double>({0, 0}));
}

TEST_F(FinancialTest, AverageTrueRangeAndRelativeStrengthFigures) {
  auto* atr = Apply<TATRFunction>(Bars(TableA()), 14)->ParentSeries();
  ASSERT_EQ(atr->Count(), 30 - 13);
  const double want[] = {0.5543, 0.5933, 0.5852};
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(atr->YValues()->GetValue(i), want[i], 5e-5) << i;
  EXPECT_NEAR(atr->YValues()->Last(), 1.3163, 5e-5);

  auto* rsi = Apply<TRSIFunction>(Bars(golden::ReadInput("table_b")), 15);
  rsi->SetStyle(rsiClose);
  const double figures[] = {70.53, 70.08, 69.89, 80.60, 73.40, 59.90};
  EXPECT_EQ(rsi->ParentSeries()->XValues()->GetValue(0), 14);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(rsi->ParentSeries()->YValues()->GetValue(i), figures[i], 0.005) << i;
}

TEST_F(FinancialTest, FlatBarsAndWindowsHaveTheirOwnValues) {
  // CLV of a bar without range is 1 (TTR: 0), weighted by volume, then accumulated.
  auto* bars = Bars({{2, 3, 1, 2.5}, {4, 4, 4, 4}, {3, 5, 1, 1}});
  auto* vol = Add<TVolumeSeries>();
  vol->AddXY(0, 10);
  vol->AddXY(1, 20);  // the third bar has no volume point: its CLV stays unweighted
  auto* clv = Apply<TCLVFunction>(bars, 1);
  EXPECT_EQ(Ys(clv->ParentSeries()), std::vector<double>({0.5, 1.5, 0.5}));
  clv->SetVolume(vol);
  EXPECT_EQ(Ys(clv->ParentSeries()), std::vector<double>({5, 25, 24}));
  clv->SetAccumulate(false);
  EXPECT_EQ(Ys(clv->ParentSeries()), std::vector<double>({5, 20, -1}));
  delete vol;  // the reference lets go
  EXPECT_EQ(clv->Volume(), nullptr);

  // R.S.I. over a window without a fall is 100; open-close counts each close as a
  // gain, or as a loss when its bar opened higher.
  auto* rsi = Apply<TRSIFunction>(Bars({{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 2, 1, 2}, {3, 3, 1, 1}}), 2);
  rsi->SetStyle(rsiClose);
  EXPECT_EQ(Ys(rsi->ParentSeries()), std::vector<double>({100, 100, 0}));
  rsi->SetStyle(rsiOpenClose);
  EXPECT_EQ(Ys(rsi->ParentSeries()), std::vector<double>({100, 100, 100 - 100 / (1 + 2.0)}));

  // Stochastic: 0 over a flat window; without High and Low lists, the values
  // themselves give the range.
  auto* line = Add<TFastLineSeries>();
  for (double y : {4, 4, 2, 6, 5}) line->AddXY(line->Count(), y);
  auto* k = Apply<TStochasticFunction>(line, 2);
  EXPECT_EQ(Ys(k->ParentSeries()), std::vector<double>({0, 0, 100, 0}));
  EXPECT_EQ(k->Calculate(line, 1, 3), 100);
}

TEST_F(FinancialTest, MoneyFlowStylesShowOneSeriesColouredBySign) {
  auto* bars = Bars({{2, 3, 1, 3}, {3, 3, 1, 1}, {1, 3, 1, 3}, {2, 2, 2, 2}});
  auto* vol = Add<TVolumeSeries>();
  for (double v : {0, 0, 10, 30}) vol->AddXY(vol->Count(), v);
  auto* mf = Apply<TMoneyFlowFunction>(bars, 1);
  EXPECT_EQ(mf->ParentSeries()->Count(), 0);  // no volume: nothing
  mf->SetVolume(vol);
  // Windows of two bars; no volume yet gives 0; the flat bar's CLV is 1.
  EXPECT_EQ(Ys(mf->ParentSeries()), std::vector<double>({0, 0, 1, 1}));
  for (int i = 0; i < 3; ++i) vol->YValues()->SetValue(i, i == 1 ? 10 : 0);
  mf->Recalculate();
  EXPECT_EQ(Ys(mf->ParentSeries()), std::vector<double>({0, -1, -1, 1}));

  TChartSeries* outputs[] = {mf->AreaOutput(), mf->VolumeOutput(), mf->HistogramOutput()};
  const TCMFStyle styles[] = {cmfArea, cmfVolume, cmfHistogram};
  for (int s = 0; s < 3; ++s) {
    mf->SetCMFStyle(styles[s]);
    EXPECT_FALSE(mf->ParentSeries()->Active());
    for (int o = 0; o < 3; ++o) EXPECT_EQ(outputs[o]->Active(), o == s) << s << " " << o;
    TChartSeries* shown = outputs[s];
    EXPECT_EQ(shown->ParentChart(), chart.get());
    EXPECT_FALSE(shown->ShowInLegend());
    EXPECT_EQ(Ys(shown), Ys(mf->ParentSeries()));
    const TColor colours[] = {clGreen, clRed, clRed, clGreen};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(shown->GetPointColor(i), colours[i]) << s << " " << i;
  }
  mf->SetCMFStyle(cmfLine);
  EXPECT_TRUE(mf->ParentSeries()->Active());
  for (TChartSeries* o : outputs) EXPECT_FALSE(o->Active());
}

TEST_F(FinancialTest, RelativeVigorAndItsSignal) {
  // Vigor per bar: (C - O) / (H - L), 0 without range.
  auto* bars = Bars({{1, 3, 1, 3}, {3, 3, 1, 1}, {2, 2, 2, 2}, {1, 5, 1, 3}, {3, 5, 1, 4}, {4, 4, 0, 0}});
  auto* rvi = Apply<TRVIFunction>(bars, 2);
  EXPECT_EQ(Ys(rvi->ParentSeries()), std::vector<double>({0, -0.5, 0.25, 0.375, -0.375}));
  EXPECT_EQ(rvi->ParentSeries()->XValues()->GetValue(0), 1);
  ASSERT_EQ(rvi->SignalLine()->Count(), 2);
  EXPECT_EQ(rvi->SignalLine()->XValues()->GetValue(0), 4);
  EXPECT_DOUBLE_EQ(rvi->SignalLine()->YValues()->GetValue(0), (0 - 0.5 + 0.25 + 0.375) / 4);
  rvi->SetPeriod(7);  // more than the bars
  EXPECT_EQ(rvi->ParentSeries()->Count(), 0);
  EXPECT_EQ(rvi->SignalLine()->Count(), 0);
}

// ---- Sliding windows against plain ones ----------------------------------------

TEST(FinancialKernels, SlidingWindowsEqualPlainWindows) {
  namespace K = FinancialKernels;
  constexpr int n = 20000;
  std::mt19937 random(7);
  std::normal_distribution<double> step(0, 1);
  std::vector<double> o(n), h(n), l(n), c(n), v(n);
  double price = 1e6;  // far from zero, so running sums would drift
  for (int i = 0; i < n; ++i) {
    o[i] = price;
    price += i % 50 < 10 ? 0 : step(random);  // flat stretches
    c[i] = price;
    h[i] = std::max(o[i], c[i]) + std::fabs(step(random));
    l[i] = std::min(o[i], c[i]) - (i % 7 == 0 ? h[i] - std::min(o[i], c[i]) : std::fabs(step(random)));
    v[i] = i % 300 < 40 ? 0 : 1000 * std::fabs(step(random));
  }
  for (int w : {1, 2, 14, 200}) {
    std::vector<double> out(n);
    for (bool close : {true, false}) {
      const int first = K::RSI(o.data(), c.data(), n, w, close, out.data());
      for (int i = first; i < n; ++i)
        ASSERT_PRED2(Near, out[i], K::RSIWindow(o.data(), c.data(), i - w + 1, i, close)) << w << " " << i;
    }
    for (int i = K::Stochastic(h.data(), l.data(), c.data(), n, w, out.data()); i < n; ++i)
      ASSERT_EQ(out[i], K::StochasticWindow(h.data(), l.data(), c.data(), i - w + 1, i)) << w << " " << i;
    K::MoneyFlow(h.data(), l.data(), c.data(), n, v.data(), n, w, out.data());
    for (int i = 0; i < n; ++i) {
      double flow = 0, volume = 0;
      for (int j = std::max(0, i - w); j <= i; ++j) {
        flow += K::CLVValue(h[j], l[j], c[j]) * v[j];
        volume += v[j];
      }
      ASSERT_NEAR(out[i], volume == 0 ? 0 : flow / volume, 1e-9) << w << " " << i;
    }
  }
}

}  // namespace
