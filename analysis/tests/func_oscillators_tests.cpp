// Exponential average, MACD, Bollinger bands, the oscillators, the alligator and the
// gator: golden data on every input and the rules where they leave the textbook.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/func_oscillators.h"
#include "analysis_test_util.h"
#include "golden_data.h"

namespace {

using Values = std::vector<double>;

class OscillatorTest : public analysistest::AnalysisTest {
protected:
  // An OHLC source with the bars of Input, and an output series fed by it.
  TOHLCSeries* Source(const std::string& Input) {
    auto* s = Add<TOHLCSeries>();
    golden::Fill(s, golden::ReadInput(Input));
    return s;
  }
  // Bars whose high, low and close are all V[i], at X = i.
  TOHLCSeries* Flat(const Values& V) {
    auto* s = Add<TOHLCSeries>();
    for (size_t i = 0; i < V.size(); ++i) s->AddOHLC(double(i), V[i], V[i], V[i], V[i]);
    return s;
  }
  template <class F, class S = TFastLineSeries>
  F* Attach(TChartSeries* From, S** Out = nullptr) {
    auto* out = Add<S>();
    auto* f = new F(nullptr);
    out->SetFunction(f);
    out->SetDataSource(From);
    if (Out) *Out = out;
    return f;
  }
  static Values Xs(const TChartSeries* S) { return S->XValues()->Values(); }
  static Values Ys(const TChartSeries* S) { return S->YValues()->Values(); }
  static void Expect(const golden::TLine& L, const TChartSeries* S, const std::string& What) {
    golden::ExpectLine(L, Xs(S), Ys(S), What);
  }
};

TEST_F(OscillatorTest, EveryLineAgreesWithTheIndependentOracles) {
  for (const std::string input : {"table_a", "table_b", "walk1", "walk2"}) {
    auto averages = golden::ReadExpected("basic_averages", input);
    auto bands = golden::ReadExpected("basic_bands", input);
    auto osc = golden::ReadExpected("basic_oscillators", input);
    TOHLCSeries* src = Source(input);

    TFastLineSeries* ema;
    auto* e = Attach<TExpMovAveFunction>(src, &ema);
    for (int p : {1, 5, 10}) {
      e->SetPeriod(p);
      Expect(averages.at("EMA " + std::to_string(p)), ema, input + " EMA");
    }

    TFastLineSeries* macd;
    auto* m = Attach<TMACDFunction>(src, &macd);
    Expect(averages.at("MACD"), macd, input + " MACD");
    Expect(averages.at("MACDSignal"), m->Signal(), input + " signal");
    Expect(averages.at("MACDHistogram"), m->Histogram(), input + " histogram");

    TFastLineSeries* upper;
    auto* b = Attach<TBollingerFunction>(src, &upper);
    for (auto [period, dev] : {std::pair{10, 2.0}, std::pair{20, 2.5}})
      for (bool expo : {false, true}) {
        b->BeginUpdate();
        b->SetPeriod(period);
        b->SetDeviation(dev);
        b->SetExponential(expo);
        b->EndUpdate();
        char name[64];
        snprintf(name, sizeof name, "Bollinger %d %g %s ", period, dev, expo ? "exponential" : "simple");
        if (!bands.count(std::string(name) + "Upper")) continue;  // fewer points than the period
        Expect(bands.at(std::string(name) + "Upper"), upper, input + " " + name);
        Expect(bands.at(std::string(name) + "Lower"), b->LowBand(), input + " " + name);
      }

    TFastLineSeries *ao, *ac, *jaw, *gator;
    Attach<TAOFunction>(src, &ao);
    Attach<TACFunction>(src, &ac);
    auto* a = Attach<TAlligatorFunction>(src, &jaw);
    auto* g = Attach<TGatorFunction>(src, &gator);
    if (osc.count("AO")) {
      Expect(osc.at("AO"), ao, input + " AO");
      Expect(osc.at("AC"), ac, input + " AC");
    } else {
      EXPECT_EQ(ao->Count(), 0) << input;
    }
    Expect(osc.at("Jaw"), jaw, input + " jaw");
    Expect(osc.at("Teeth"), a->Teeth(), input + " teeth");
    Expect(osc.at("Lips"), a->Lips(), input + " lips");
    Expect(osc.at("GatorUpper"), gator, input + " gator up");
    Expect(osc.at("GatorLower"), g->LowerHistogram(), input + " gator down");
  }
}

TEST_F(OscillatorTest, PinnedFiguresOfTableA) {
  TOHLCSeries* src = Source("table_a");
  TFastLineSeries* upper;
  auto* b = Attach<TBollingerFunction>(src, &upper);
  EXPECT_NEAR(upper->YValues()->GetValue(0), 50.34163, 5e-6);
  EXPECT_EQ(upper->XValues()->GetValue(0), 9);
  b->SetExponential(false);
  EXPECT_NEAR(upper->YValues()->GetValue(0), 50.18837, 5e-6);

  TFastLineSeries* ema;
  Attach<TExpMovAveFunction>(src, &ema)->SetPeriod(1);
  EXPECT_EQ(Ys(ema), src->CloseValues()->Values());  // exactly the source

  TFastLineSeries* jaw;
  Attach<TAlligatorFunction>(src, &jaw);
  EXPECT_EQ(jaw->XValues()->GetValue(0), src->XValues()->GetValue(12) + 8);
}

TEST_F(OscillatorTest, TooFewPointsGiveNoOutputAndReadNothingPastTheEnd) {
  TFastLineSeries* out;
  // AO and AC need 34 bars.
  Values v(33);
  for (size_t i = 0; i < v.size(); ++i) v[i] = std::sin(double(i)) + 10;
  TOHLCSeries* src = Flat(v);
  Attach<TAOFunction>(src, &out);
  EXPECT_EQ(out->Count(), 0);
  src->AddOHLC(33, 10, 10, 10, 10);
  src->CheckDataSource();
  EXPECT_EQ(out->Count(), 1);

  // The alligator needs 13, a non-price source nothing at all.
  TOHLCSeries* twelve = Flat(Values(12, 1));
  Attach<TAlligatorFunction>(twelve, &out);
  EXPECT_EQ(out->Count(), 0);
  auto* line = Add<TFastLineSeries>();
  for (int i = 0; i < 40; ++i) line->AddXY(i, i);
  EXPECT_FALSE(TAOFunction(nullptr).IsValidSource(line));
  Attach<TGatorFunction>(line, &out);
  EXPECT_EQ(out->Count(), 0);

  // MACD of one point, Bollinger on one point or a period that rounds to 0.
  TOHLCSeries* one = Flat({5});
  auto* m = Attach<TMACDFunction>(one, &out);
  EXPECT_EQ(out->Count(), 0);
  EXPECT_EQ(m->Signal()->Count(), 0);
  auto* b = Attach<TBollingerFunction>(one, &out);
  EXPECT_EQ(out->Count(), 0);
  b->SetExponential(false);
  b->SetPeriod(1);
  EXPECT_EQ(Ys(out), (Values{5}));
  b->SetPeriod(0.4);
  EXPECT_EQ(out->Count(), 0);
  EXPECT_EQ(b->LowBand()->Count(), 0);
}

TEST_F(OscillatorTest, BollingerBandsKeepTheirWidthFarFromZero) {
  TFastLineSeries* upper;
  auto* b = Attach<TBollingerFunction>(Flat({1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}), &upper);
  b->BeginUpdate();
  b->SetPeriod(4);
  b->SetDeviation(1);
  b->SetExponential(false);
  b->EndUpdate();
  ASSERT_EQ(upper->Count(), 1);
  EXPECT_NEAR(upper->YValues()->GetValue(0) - (1e9 + 2.5), std::sqrt(1.25), 1e-6);
  EXPECT_NEAR((1e9 + 2.5) - b->LowBand()->YValues()->GetValue(0), std::sqrt(1.25), 1e-6);

  // A period between whole numbers: (P·Σx² − (Σx)²) / P² over round(P) values.
  TFastLineSeries* odd;
  auto* f = Attach<TBollingerFunction>(Flat({1, 2, 3, 4}), &odd);
  f->SetExponential(false);
  f->SetPeriod(4.4);
  const double P = 4.4, s = 10, q = 30, sd = std::sqrt((P * q - s * s) / (P * P));
  ASSERT_EQ(odd->Count(), 1);
  EXPECT_NEAR(odd->YValues()->GetValue(0), 2.5 + 2 * sd, 1e-12);
}

TEST_F(OscillatorTest, IgnoreNullsFalseSkipsNullPoints) {
  auto* src = Add<TFastLineSeries>();
  src->AddXY(0, 2);
  src->AddNullXY(1, 100);
  src->AddXY(2, 4);
  TFastLineSeries* out;
  auto* e = Attach<TExpMovAveFunction>(src, &out);
  e->SetPeriod(3);  // k = 0.5
  EXPECT_EQ(Ys(out), (Values{2, 51, 27.5}));
  e->SetIgnoreNulls(false);
  EXPECT_EQ(Xs(out), (Values{0, 2}));
  EXPECT_EQ(Ys(out), (Values{2, 3}));
}

TEST_F(OscillatorTest, OscillatorBarsAreColouredByDirection) {
  // Medians rise for 36 bars, then fall: AO rises then falls.
  Values v;
  for (int i = 0; i < 36; ++i) v.push_back(i * i * 0.01);
  for (int i = 0; i < 6; ++i) v.push_back(v.back() - 5);
  TFastLineSeries* out;
  Attach<TAOFunction>(Flat(v), &out);
  ASSERT_EQ(out->Count(), 9);
  EXPECT_EQ(out->GetPointColor(0), clGreen);  // recoloured by the second bar
  EXPECT_EQ(out->GetPointColor(2), clGreen);
  EXPECT_EQ(out->GetPointColor(8), clRed);
}

TEST_F(OscillatorTest, OutputsAreHiddenAndClearedWithTheirOwner) {
  TOHLCSeries* src = Source("table_a");
  TFastLineSeries *m, *b, *a;
  auto* macd = Attach<TMACDFunction>(src, &m);
  auto* boll = Attach<TBollingerFunction>(src, &b);
  auto* alli = Attach<TAlligatorFunction>(src, &a);
  EXPECT_EQ(macd->MACDPen(), m->Pen());
  EXPECT_EQ(boll->UpperBandPen(), b->Pen());
  EXPECT_EQ(boll->LowBand()->SeriesColor(), b->SeriesColor());
  for (TChartSeries* s : {macd->Signal(), boll->LowBand(), alli->Lips()}) {
    EXPECT_GT(s->Count(), 0);
    EXPECT_FALSE(s->ShowInLegend());
    EXPECT_EQ(s->ParentChart(), chart.get());
  }
  for (TChartSeries* s : {m, b, a}) s->Clear();
  for (TChartSeries* s : {(TChartSeries*)macd->Signal(), (TChartSeries*)macd->Histogram(), boll->LowBand(),
                          alli->Teeth(), alli->Lips()})
    EXPECT_EQ(s->Count(), 0);
  const int count = chart->SeriesCount();
  delete m;  // the signal line and histogram go with it
  EXPECT_EQ(chart->SeriesCount(), count - 3);
}

TEST_F(OscillatorTest, PeriodsRoundUpToOneAndGalleryPictures) {
  TMACDFunction macd(nullptr);
  macd.SetPeriod2(0.2);
  EXPECT_EQ(macd.Period2(), 1);
  EXPECT_EQ(TAOFunction(nullptr).EditorClassName(), "TRMSFuncEditor");
  EXPECT_EQ(TAlligatorFunction(nullptr).EditorClassName(), "TAlligatorFuncEditor");

  for (TClass c : {TAOFunction::StaticClass(), TACFunction::StaticClass(), TGatorFunction::StaticClass()}) {
    Add<TFastLineSeries>();
    std::unique_ptr<TLumFunction> f(static_cast<TLumFunction*>(c->NewInstance(nullptr)));
    f->PrepareForGallery(chart.get());
    ASSERT_EQ(chart->SeriesCount(), 1) << c->Name;
    TChartSeries* s = chart->GetSeries(0);
    EXPECT_NE(dynamic_cast<TVolumeSeries*>(s), nullptr);
    EXPECT_EQ(s->FunctionType()->ClassType(), c);
  }
}

}  // namespace
