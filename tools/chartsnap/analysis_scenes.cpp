// Pictures of the financial and statistical series on charts of their own.
#include "analysis_scenes.h"

#include <algorithm>
#include <cmath>

#include "analysis/candle.h"
#include "analysis/histogram.h"
#include "platform/dateutils.h"
#include "scene.h"

namespace {

// Thirty daily bars of a gentle wave from 3 March 2025, some with open equal to close.
void FillBars(TOHLCSeries* S, int N = 30) {
  const double start = EncodeDate(2025, 3, 3);
  for (int i = 0; i < N; ++i) {
    const double mid = 50 + 20 * std::sin(i / 4.0);
    const double open = mid + (i % 3 == 0 ? 0 : (i % 2 ? 4 : -4)), close = i % 3 == 0 ? open : mid;
    S->AddOHLC(start + i, open, std::max(open, close) + 3 + i % 4, std::min(open, close) - 3 - i % 5, close);
  }
}

}  // namespace

bool SnapAnalysisScenes(const std::string& Dir) {
  bool ok = true;
  const struct {
    TCandleStyle Style;
    const char* Title;
    const char* File;
  } styles[] = {{csCandleStick, "Candle sticks", "candles_stick.png"},
                {csCandleBar, "Candle bars", "candles_bar.png"},
                {csOpenClose, "Open-close bodies", "candles_openclose.png"},
                {csLine, "Close line", "candles_line.png"}};
  for (const auto& st : styles) {
    Scene s(st.Title);
    // The first keeps its legend: the series' own symbol.
    s.chart->Legend()->SetVisible(st.Style == csCandleStick);
    auto* c = s.Add<TCandleSeries>(st.Style == csCandleStick ? "Prices" : "");
    c->SetCandleStyle(st.Style);
    c->SetCandleWidth(8);
    FillBars(c);
    ok &= s.Save(Dir + st.File);
  }
  {
    Scene s("Candle sticks in 3D");
    s.chart->Legend()->Hide();
    s.chart->SetView3D(true);
    auto* c = s.Add<TCandleSeries>();
    c->SetCandleWidth(8);
    c->Pointer()->SetDepth(8);
    FillBars(c, 20);
    ok &= s.Save(Dir + "candles_3d.png");
  }
  {
    Scene s("Volume from an origin of 40");
    s.chart->Legend()->Hide();
    auto* v = s.Add<TVolumeSeries>();
    v->SetSeriesColor(clNavy);
    v->LinePen()->SetWidth(2);
    v->SetUseYOrigin(true);
    v->SetYOrigin(40);
    for (int i = 0; i < 40; ++i) v->AddXY(i, 40 + 30 * std::sin(i / 3.0) + (i % 5));
    ok &= s.Save(Dir + "volume_origin.png");
  }
  {
    Scene s("Darvas boxes over 120 sample bars");
    s.chart->Legend()->Hide();
    auto* d = s.Add<TDarvasSeries>();
    // Sample dates spread over the bottom axis' range while it is fixed.
    TChartAxis* bottom = s.chart->BottomAxis();
    bottom->SetAutomatic(false);
    bottom->SetMinMax(EncodeDate(2025, 1, 6), EncodeDate(2025, 1, 6) + 119);
    TChartSeries::SetRandomSeed(11);
    d->AddSampleValues(120);
    TChartSeries::SetRandomSeed(0);
    bottom->SetAutomatic(true);
    d->SetTransparency(60);
    ok &= s.Save(Dir + "darvas.png");
  }
  {
    Scene s("Histogram of unequal spacing with dividers");
    s.chart->Legend()->Hide();
    s.chart->LeftAxis()->SetAutomaticMinimum(false);
    s.chart->LeftAxis()->SetMinimum(0);
    auto* h = s.Add<THistogramSeries>();
    h->SetSeriesColor(clTeal);
    h->LinePen()->SetColor(clBlack);
    h->LinesPen()->Show();
    h->LinesPen()->SetColor(clWhite);
    const double xs[] = {0, 1, 3, 4, 7, 8, 9, 12, 13, 16};
    for (int i = 0; i < 10; ++i) h->AddXY(xs[i], 10 + 8 * std::sin(i / 1.7) + i);
    ok &= s.Save(Dir + "histogram.png");
  }
  {
    Scene s("Horizontal histogram");
    s.chart->Legend()->Hide();
    s.chart->BottomAxis()->SetAutomaticMinimum(false);
    s.chart->BottomAxis()->SetMinimum(0);
    auto* h = s.Add<THorizHistogramSeries>();
    h->SetSeriesColor(clOlive);
    h->LinePen()->SetColor(clBlack);
    for (int i = 0; i < 12; ++i) h->AddXY(5 + 4 * std::cos(i / 2.0) + i % 3, i * (i < 6 ? 1.0 : 1.5));
    ok &= s.Save(Dir + "histogram_horiz.png");
  }
  return ok;
}
