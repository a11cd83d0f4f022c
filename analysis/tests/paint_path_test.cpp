// The financial series' shortcuts against their plain drawing: candles later ones
// hide are left out and volume lines are drawn one per screen column, and the
// pictures must equal those of drawing every point, on random walks with gaps and
// far values, on reversed and logarithmic axes, zoomed and scrolled, flat and in 3D,
// with the clip of the series' slot on.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "analysis_test_util.h"

namespace {

struct TPrices {
  std::vector<double> X, Open, High, Low, Close;
};

// A random walk of N bars; Spread scales the wicks.
TPrices Walk(int N, unsigned Seed, double Spread) {
  std::mt19937 random(Seed);
  std::normal_distribution<double> step(0, 0.3);
  TPrices p;
  double price = 100;
  for (int i = 0; i < N; ++i) {
    const double open = price;
    price += step(random);
    p.X.push_back(i);
    p.Open.push_back(open);
    p.Close.push_back(price);
    p.High.push_back(std::max(open, price) + Spread * std::abs(step(random)));
    p.Low.push_back(std::min(open, price) - Spread * std::abs(step(random)));
  }
  return p;
}

using charttest::TPathView;
using charttest::PathViews;

class PaintPathTest : public analysistest::AnalysisTest {
protected:
  void Show(const TPathView& V, const TPrices& P, double Low, double High) { ShowPathView(V, 0, double(P.X.size()), Low, High); }

  // The picture of each view equals the plain one; FewerFigures: the shortcut must
  // have handed over far fewer figures in the flat views.
  template <class Prepare>
  void CompareInEachView(const TPrices& P, double Low, double High, Prepare&& Before, bool FewerFigures) {
    for (const TPathView& v : PathViews) {
      SCOPED_TRACE(v.Name);
      Show(v, P, Low, High);
      Before(v);
      long shortcut = 0, plain = 0;
      EXPECT_GT(ExpectPlainPicture(clWhite, &shortcut, &plain), 100);
      if (FewerFigures && v.Orthogonal && v.To - v.From > 0.5) {
        EXPECT_LT(shortcut * 2, plain);
      }
    }
  }
};

TEST_F(PaintPathTest, CandlesLeftOutAreThoseLaterCandlesHide) {
  const TPrices p = Walk(4000, 21, 0.8);
  auto* s = Add<TCandleSeries>();
  s->BeginUpdate();
  for (size_t i = 0; i < p.X.size(); ++i) {
    // Gaps, and bars far outside the axis among them.
    const bool gap = i % 397 == 5 || (i / 150) % 11 == 7;
    const double far = i % 613 == 0 ? 1e9 : i % 571 == 0 ? -1e7 : 0;
    s->AddOHLC(p.X[i], p.Open[i] + far, p.High[i] + far, p.Low[i] + far, p.Close[i] + far, "",
               gap ? clNone : clLumColor);
  }
  s->EndUpdate();
  struct TCase {
    const char* Name;
    TCandleStyle Style;
    bool Draw3D, Frame, Ticks, Wicks;
  };
  for (TCase c : {TCase{"candle sticks", csCandleStick, true, true, true, true},
                  TCase{"sticks drawn flat in 3D", csCandleStick, false, true, true, true},
                  TCase{"sticks without frames", csCandleStick, true, false, true, true},
                  TCase{"sticks without wicks", csCandleStick, true, true, true, false},
                  TCase{"price bars", csCandleBar, true, true, true, true},
                  TCase{"price bars without ticks", csCandleBar, true, true, false, true},
                  TCase{"open-close", csOpenClose, true, true, true, true}}) {
    SCOPED_TRACE(c.Name);
    s->SetCandleStyle(c.Style);
    s->SetDraw3D(c.Draw3D);
    s->CandlePen()->SetVisible(c.Frame);
    s->SetShowOpenTick(c.Ticks);
    s->SetShowCloseTick(c.Ticks);
    s->HighLowPen()->SetVisible(c.Wicks);
    // (Bodies without a frame leave their edges to the painter: fewer are left out.)
    CompareInEachView(p, 60, 140, [](const TPathView&) {}, c.Style != csOpenClose && c.Frame);
  }
  // Candles of their own colours, wider ones, and a walk with long wicks.
  s->SetCandleStyle(csCandleStick);
  s->CandlePen()->SetVisible(true);
  s->HighLowPen()->SetVisible(true);
  for (int i = 0; i < s->Count(); i += 3)
    if (!s->IsNull(i)) s->SetValueColor(i, i % 2 ? clNavy : clOlive);
  s->SetCandleWidth(9);
  CompareInEachView(p, 60, 140, [](const TPathView&) {}, true);
}

TEST_F(PaintPathTest, PensAndBrushesThatShowWhatLiesBelowKeepEveryCandle) {
  const TPrices p = Walk(3000, 4, 0.5);
  auto* s = Add<TCandleSeries>();
  s->BeginUpdate();
  for (size_t i = 0; i < p.X.size(); ++i) s->AddOHLC(p.X[i], p.Open[i], p.High[i], p.Low[i], p.Close[i]);
  s->EndUpdate();
  const TPathView flat{"flat"};
  const auto figures = [&] {
    Show(flat, p, 60, 140);
    long shortcut = 0, plain = 0;
    ExpectPlainPicture(clWhite, &shortcut, &plain);
    return std::make_pair(shortcut, plain);
  };
  auto [few, all] = figures();
  EXPECT_LT(few * 2, all);  // the plain candles: many left out
  const std::vector<std::function<void(bool)>> changes = {
      [&](bool On) { s->CandlePen()->SetMode(On ? pmXor : pmCopy); },
      [&](bool On) { s->HighLowPen()->SetStyle(On ? psDot : psSolid); },
      [&](bool On) { s->CandlePen()->SetWidth(On ? 2 : 1); },
      [&](bool On) { s->Pointer()->Brush()->SetStyle(On ? bsDiagCross : bsSolid); },
      [&](bool On) { s->UpCloseGradient()->SetVisible(On); },
      [&](bool On) { s->Pointer()->SetDepth(On ? 4 : 0); },
  };
  for (size_t k = 0; k < changes.size(); ++k) {
    SCOPED_TRACE(testing::Message() << "change " << k);
    changes[k](true);
    if (k == 5) chart->SetView3D(true);  // a body with depth is a box in 3D
    const auto [kept, plain] = figures();
    if (k != 5) {
      EXPECT_EQ(kept, plain);
    }
    changes[k](false);
  }
}

TEST_F(PaintPathTest, VolumeColumnsGiveThePixelsOfEveryLine) {
  const TPrices p = Walk(5000, 9, 1);
  auto* s = Add<TVolumeSeries>();
  s->BeginUpdate();
  for (size_t i = 0; i < p.X.size(); ++i) {
    // Volumes on both sides of an origin, some far off, a few NaN.
    double v = p.Close[i] - 100;
    if (i % 701 == 3) v = 1e10;
    if (i % 809 == 4) v = -1e9;
    if (i % 1231 == 17) v = std::nan("");
    s->AddXY(p.X[i], v);
  }
  s->EndUpdate();
  for (bool origin : {false, true}) {
    SCOPED_TRACE(origin ? "from an origin" : "from the axis");
    s->SetUseYOrigin(origin);
    s->SetYOrigin(-3);
    CompareInEachView(p, -40, 40, [](const TPathView&) {}, true);
  }
  // X values out of order, then points of their own colours (drawn one by one).
  s->XValues()->SetValue(1200, 4100);
  s->XValues()->SetValue(2500, 17);
  CompareInEachView(p, -40, 40, [](const TPathView&) {}, false);
  for (int i = 0; i < s->Count(); i += 2) s->SetValueColor(i, clRed);
  CompareInEachView(p, -40, 40, [](const TPathView&) {}, false);
}

TEST_F(PaintPathTest, HistogramBarsLeftOutAreThoseLaterBarsHide) {
  const TPrices p = Walk(6000, 13, 1);
  for (bool vertical : {true, false}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    chart->FreeAllSeries();
    THistogramSeries* s = vertical ? Add<THistogramSeries>() : Add<THorizHistogramSeries>();
    s->BeginUpdate();
    for (size_t i = 0; i < p.X.size(); ++i) {
      // Uneven spacing: runs of equal positions and sudden gaps.
      const double at = p.X[i] + (i % 50 < 7 ? 0.0 : i % 211 == 0 ? 40.0 : 0.3 * (i % 3));
      const double v = i % 733 == 9 ? 1e9 : p.Close[i] - 60;
      if (vertical) s->AddXY(at, v);
      else s->AddXY(v, at);
    }
    s->EndUpdate();
    struct TCase {
      const char* Name;
      bool Outline, Dividers, Fill;
    };
    for (TCase c : {TCase{"filled and outlined", true, false, true}, TCase{"with dividers", true, true, true},
                    TCase{"dividers, no outline", false, true, true}, TCase{"outline only", true, false, false}}) {
      SCOPED_TRACE(c.Name);
      s->Pen()->SetVisible(c.Outline);
      s->LinesPen()->SetVisible(c.Dividers);
      s->Brush()->SetStyle(c.Fill ? bsSolid : bsClear);
      for (const TPathView& v : PathViews) {
        SCOPED_TRACE(v.Name);
        Show(v, p, 1, 90);
        if (!vertical) {  // positions run up the vertical axis
          const double n = double(p.X.size());
          Range(chart->BottomAxis(), 1, 90);
          chart->LeftAxis()->SetLogarithmic(false);
          Range(chart->LeftAxis(), v.From * n, v.To * n);
          chart->BottomAxis()->SetLogarithmic(v.LogY);
        }
        long shortcut = 0, plain = 0;
        const int drawn = ExpectPlainPicture(clWhite, &shortcut, &plain);
        if (vertical || !v.InvertY) {  // (bars laid down a reversed vertical axis fold away)
          EXPECT_GT(drawn, 100);
        }
        if (v.To - v.From > 0.5 && v.Orthogonal) {
          EXPECT_LT(shortcut * 2, plain);
        }
        chart->BottomAxis()->SetLogarithmic(false);
      }
    }
  }
}

}  // namespace
