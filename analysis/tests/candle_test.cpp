// OHLC and candle series: their lists, ranges and sources, the up/down rule, the
// pixels of each style, hit tests, the legend symbol, sample values and sub-styles.
#include <gtest/gtest.h>

#include "analysis/candle.h"
#include "canvas/lumcanvas.h"
#include "chart/legend.h"
#include "analysis_test_util.h"
#include "engine/axis.h"

namespace {

class CandleTest : public analysistest::AnalysisTest {
protected:
  TCandleSeries* AddCandles() {
    auto* s = Add<TCandleSeries>();
    s->SetUpCloseColor(clLime);
    s->SetDownCloseColor(clRed);
    s->CandlePen()->SetColor(clBlack);
    s->HighLowPen()->SetColor(clBlue);
    return s;
  }
};

TEST_F(CandleTest, ListsAreNamedAndOrderedAndAddOHLCFillsThemBeforeAnyoneHears) {
  auto* s = AddCandles();
  const TChartValueLists& lists = s->ValuesList();
  ASSERT_EQ(lists.Count(), 5);
  const char* names[] = {"Date", "Close", "High", "Low", "Open"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lists[i]->Name(), names[i]);
  EXPECT_TRUE(s->DateValues()->DateTime());

  double seenOpen = -1;
  s->OnAfterAdd = decltype(s->OnAfterAdd)([&](TChartSeries*, int i) { seenOpen = s->OpenValues()->GetValue(i); });
  EXPECT_EQ(s->AddOHLC(5, 1, 4, 0.5, 2), 0);
  EXPECT_EQ(seenOpen, 1);
  // An earlier date lands before the first bar; every list keeps the bar together.
  EXPECT_EQ(s->AddOHLC(3, 6, 9, 5, 7), 0);
  EXPECT_EQ(s->HighValues()->GetValue(0), 9);
  EXPECT_EQ(s->LowValues()->GetValue(1), 0.5);
  EXPECT_EQ(s->CloseValues()->GetValue(1), 2);
  // A refused point leaves nothing pending for the next one.
  s->OnBeforeAdd = decltype(s->OnBeforeAdd)([](TChartSeries*) { return false; });
  EXPECT_EQ(s->AddOHLC(8, 100, 100, 100, 100), -1);
  s->OnBeforeAdd = {};
  s->AddXY(9, 1);
  EXPECT_EQ(s->OpenValues()->GetValue(2), 0);
}

TEST_F(CandleTest, RangeSpansAllFourValuesSkipsNullsAndIsZeroWhenEmpty) {
  auto* s = AddCandles();
  EXPECT_EQ(s->MinYValue(), 0);
  EXPECT_EQ(s->MaxYValue(), 0);
  s->AddOHLC(1, 3, 8, 2, 4);
  s->AddOHLC(2, 5, 6, 4.5, 5.5);
  s->AddOHLC(3, -10, 50, -20, 0, "", clNone);  // a null bar
  EXPECT_EQ(s->MinYValue(), 2);
  EXPECT_EQ(s->MaxYValue(), 8);
  s->SetTreatNulls(tnIgnore);
  EXPECT_EQ(s->MinYValue(), -20);
  EXPECT_EQ(s->MaxYValue(), 50);
  // The close line spans the closes only.
  s->SetCandleStyle(csLine);
  EXPECT_EQ(s->MinYValue(), 0);
  EXPECT_EQ(s->MaxYValue(), 5.5);
}

TEST_F(CandleTest, OnlyOHLCSeriesFeedAnOHLCSeries) {
  auto* s = AddCandles();
  auto* other = Add<TOHLCSeries>();
  auto* line = Add<TLineSeries>();
  EXPECT_TRUE(s->IsValidSourceOf(other));
  EXPECT_FALSE(s->IsValidSourceOf(line));
  EXPECT_FALSE(s->IsValidSourceOf(s));
  EXPECT_THROW(s->SetDataSource(line), Exception);
}

TEST_F(CandleTest, UpDownRuleFollowsOpenThenPreviousCloseAndOwnColourWins) {
  auto* s = AddCandles();
  s->AddOHLC(0, 5, 6, 4, 5);   // equal at index 0: up
  s->AddOHLC(1, 5, 6, 3, 4);   // close below open: down
  s->AddOHLC(2, 4, 6, 3, 4);   // equal, close equal to previous: as previous (down)
  s->AddOHLC(3, 6, 7, 3, 6);   // equal, close above previous: up
  s->AddOHLC(4, 6, 7, 3, 6);   // equal, equal previous close: as previous (up)
  s->AddOHLC(5, 9, 9, 1, 2, "", clYellow);  // down, but its own colour
  const bool up[] = {true, false, false, true, true, false};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(s->IsUpPoint(i), up[i]) << i;
  EXPECT_EQ(s->CandleColor(1), clRed);
  EXPECT_EQ(s->CandleColor(3), clLime);
  EXPECT_EQ(s->CandleColor(5), clYellow);
  EXPECT_EQ(s->LegendItemColor(5), clYellow);
  // Relative to close: open is ignored after index 0.
  s->SetColorStyle(cssRelativeToClose);
  EXPECT_TRUE(s->IsUpPoint(0));
  EXPECT_FALSE(s->IsUpPoint(1));  // 4 < 5
  EXPECT_TRUE(s->IsUpPoint(3));
  EXPECT_TRUE(s->IsUpPoint(4));   // tie with previous: as previous
}

TEST_F(CandleTest, LongRunsOfTiesDrawWithoutDeepWalks) {
  auto* s = AddCandles();
  s->BeginUpdate();
  for (int i = 0; i < 100000; ++i) s->AddOHLC(i * 1e-4, 5, 6, 4, 5);
  s->EndUpdate();
  s->SetCandleWidth(0);
  Render();
  EXPECT_TRUE(s->IsUpPoint(99999));
}

TEST_F(CandleTest, CandleStickAndOpenClosePixels) {
  for (TCandleStyle style : {csCandleStick, csOpenClose}) {
    SCOPED_TRACE(style);
    chart->FreeAllSeries();
    auto* s = AddCandles();
    s->SetCandleStyle(style);
    s->AddOHLC(3, 3, 8, 1, 6);  // up: lime body
    s->AddOHLC(7, 5, 9, 2, 5);  // open = close: one-pixel body, colour as previous close (down)
    auto b = Render();
    const int x = s->CalcXPosValue(3), yO = s->CalcYPosValue(3), yC = s->CalcYPosValue(6);
    const int yH = s->CalcYPosValue(8), yL = s->CalcYPosValue(1);
    const int mid = (yO + yC) / 2;
    // The body spans X-2..X+2 (width 4), framed black, filled lime.
    EXPECT_EQ(Pixel(b.get(), x - 2, mid), clBlack);
    EXPECT_EQ(Pixel(b.get(), x + 2, mid), clBlack);
    EXPECT_EQ(Pixel(b.get(), x + 1, mid), clLime);
    EXPECT_EQ(Pixel(b.get(), x - 3, mid), clWhite);
    EXPECT_EQ(Pixel(b.get(), x + 3, mid), clWhite);
    // The wick only on candle sticks.
    const TColor wick = style == csCandleStick ? clBlue : clWhite;
    EXPECT_EQ(Pixel(b.get(), x, (yH + yC) / 2), wick);
    EXPECT_EQ(Pixel(b.get(), x, (yL + yO) / 2), wick);
    // A flat bar: a body one pixel tall, just above the close.
    const int x2 = s->CalcXPosValue(7), y2 = s->CalcYPosValue(5);
    EXPECT_EQ(Pixel(b.get(), x2 + 1, y2 - 1), clBlack);
    EXPECT_NE(Pixel(b.get(), x2 + 1, y2 - 2), clBlack);
    EXPECT_NE(Pixel(b.get(), x2 + 1, y2), clBlack);
  }
}

TEST_F(CandleTest, HiddenPenBodyGainsTheUpperPixel) {
  auto* s = AddCandles();
  s->SetCandleStyle(csOpenClose);
  s->CandlePen()->Hide();
  s->AddOHLC(3, 3, 8, 1, 6);
  s->AddOHLC(7, 5, 9, 2, 5);
  auto b = Render();
  const int x = s->CalcXPosValue(3), top = s->CalcYPosValue(6);
  EXPECT_EQ(Pixel(b.get(), x, top - 1), clLime);
  EXPECT_EQ(Pixel(b.get(), x, top - 2), clWhite);
  // The flat bar still shows one row, of the down colour.
  const int x2 = s->CalcXPosValue(7), y2 = s->CalcYPosValue(5);
  int rows = 0;
  for (int y = y2 - 4; y <= y2 + 4; ++y) rows += Pixel(b.get(), x2, y) == clRed;
  EXPECT_EQ(rows, 1);
}

TEST_F(CandleTest, BarStyleDrawsHighLowAndTicksInTheirColours) {
  auto* s = AddCandles();
  s->SetCandleStyle(csCandleBar);
  s->SetOpenTickColor(clFuchsia);
  s->AddOHLC(5, 3, 8, 1, 6);
  auto b = Render();
  const int x = s->CalcXPosValue(5), yO = s->CalcYPosValue(3), yC = s->CalcYPosValue(6);
  const int yH = s->CalcYPosValue(8), yL = s->CalcYPosValue(1);
  EXPECT_EQ(Pixel(b.get(), x, (yH + yL) / 2), clLime);  // high-low line in the point colour
  EXPECT_EQ(Pixel(b.get(), x, yL), clLime);
  // Open tick: X-1 .. X-L (the line stops short of X-L-1); close tick: X+1 .. X+R.
  EXPECT_EQ(Pixel(b.get(), x - 2, yO), clFuchsia);
  EXPECT_EQ(Pixel(b.get(), x - 3, yO), clWhite);
  EXPECT_EQ(Pixel(b.get(), x + 2, yC), clLime);
  EXPECT_EQ(Pixel(b.get(), x + 3, yC), clWhite);
  EXPECT_EQ(Pixel(b.get(), x + 2, yO), clWhite);
  s->SetShowCloseTick(false);
  b = Render();
  EXPECT_EQ(Pixel(b.get(), x + 2, yC), clWhite);
}

TEST_F(CandleTest, LineStyleSkipsTheFirstPointAndSegmentsBesideNulls) {
  auto* s = AddCandles();
  s->SetCandleStyle(csLine);
  s->LinePen()->SetColor(clLumColor);
  const double closes[] = {2, 4, 6, 4, 2};
  for (int i = 0; i < 5; ++i) s->AddOHLC(1 + 2 * i, closes[i], closes[i], closes[i], closes[i], "", i == 2 ? clNone : clNavy);
  auto b = Render();
  const auto midColour = [&](int i) {
    return Pixel(b.get(), (s->CalcXPos(i) + s->CalcXPos(i + 1)) / 2, (s->CalcYPos(i) + s->CalcYPos(i + 1)) / 2);
  };
  EXPECT_EQ(midColour(0), clNavy);
  EXPECT_EQ(midColour(1), clWhite);
  EXPECT_EQ(midColour(2), clWhite);
  EXPECT_EQ(midColour(3), clNavy);
  // Nothing leads into the first point from the left.
  EXPECT_EQ(Count(b.get(), clNavy, Rect(0, 0, s->CalcXPos(0), H)), 0);
  EXPECT_EQ(s->Clicked(s->CalcXPos(0), s->CalcYPos(0)), 1);  // on the segment that ends at 1
  EXPECT_EQ(s->Clicked((s->CalcXPos(1) + s->CalcXPos(3)) / 2, s->CalcYPos(2)), -1);
}

TEST_F(CandleTest, ThreeDBodyFrontFaceShowsTheGradient) {
  chart->SetView3D(true);
  auto* s = AddCandles();
  s->SetCandleWidth(16);
  s->UpCloseGradient()->SetVisible(true);
  s->UpCloseGradient()->SetStartColor(clAqua);
  s->UpCloseGradient()->SetEndColor(clAqua);
  s->AddOHLC(5, 2, 9, 1, 8);
  auto b = Render();
  // The front face, projected, is a solid run of the gradient as wide as the body.
  const int y = (s->CalcYPosValue(2) + s->CalcYPosValue(8)) / 2;
  EXPECT_GE(Count(b.get(), clAqua, Rect(0, y, W, y + 1)), 16);
  EXPECT_EQ(Count(b.get(), clLime, Rect(0, y, W, y + 1)), 0);
}

TEST_F(CandleTest, HitTestsFollowEachStyle) {
  auto* s = AddCandles();
  s->AddOHLC(3, 3, 8, 1, 6);
  s->AddOHLC(7, 6, 9, 2, 4);
  Render();
  const int x = s->CalcXPosValue(7), yH = s->CalcYPosValue(8.5), yBody = s->CalcYPosValue(5);
  EXPECT_EQ(s->Clicked(x, yH), 1);          // the wick of a stick
  EXPECT_EQ(s->Clicked(x + 2, yBody), 1);   // its body
  EXPECT_EQ(s->Clicked(x + 6, yBody), -1);
  s->SetCandleStyle(csOpenClose);
  Render();
  EXPECT_EQ(s->Clicked(x, yH), -1);         // no wick
  EXPECT_EQ(s->Clicked(x - 2, yBody), 1);
  s->SetCandleStyle(csCandleBar);
  Render();
  EXPECT_EQ(s->Clicked(x, yH), 1);
  EXPECT_EQ(s->Clicked(x - 2, s->CalcYPosValue(6)), 1);  // open tick
  EXPECT_EQ(s->Clicked(x - 2, yBody), -1);
  s->SetShowOpenTick(false);
  EXPECT_EQ(s->Clicked(x - 2, s->CalcYPosValue(6)), -1);
  chart->FreeAllSeries();
  auto* empty = AddCandles();
  Render();
  EXPECT_EQ(empty->Clicked(50, 50), -1);
}

TEST_F(CandleTest, LegendSymbolForEvenAndOddWidths) {
  const TCandleLegendSymbol even = TCandleSeries::CalcLegendSymbol(Rect(0, 0, 20, 10));
  EXPECT_EQ(even.Body, Rect(3, 2, 17, 8));
  EXPECT_EQ(even.WickX, 9);
  EXPECT_EQ(even.UpperTop, -1);
  EXPECT_EQ(even.UpperBottom, 2);
  EXPECT_EQ(even.LowerTop, 6);
  EXPECT_EQ(even.LowerBottom, 10);
  const TCandleLegendSymbol odd = TCandleSeries::CalcLegendSymbol(Rect(10, 20, 31, 30));
  EXPECT_EQ(odd.Body, Rect(13, 22, 28, 28));
  EXPECT_EQ(odd.WickX, 20);
}

TEST_F(CandleTest, TheLegendDrawsASmallCandleAndAVolumeLine) {
  auto* s = AddCandles();
  s->AddOHLC(1, 5, 6, 4, 6);
  s->AddOHLC(2, 6, 7, 3, 4);
  auto bmp = guitest::MakeBitmap(20, 10);
  TLumCanvas3D canvas;
  canvas.AttachCanvas(bmp->Canvas());
  PaintSeriesLegend(s, &canvas, Rect(0, 0, 20, 10), 1);
  const TCandleLegendSymbol sym = TCandleSeries::CalcLegendSymbol(Rect(0, 0, 20, 10));
  EXPECT_EQ(bmp->Canvas()->Pixels(sym.Body.Left + 2, (sym.Body.Top + sym.Body.Bottom) / 2), clRed);
  EXPECT_EQ(bmp->Canvas()->Pixels(sym.WickX, sym.UpperTop + 1), clBlue);
  EXPECT_EQ(bmp->Canvas()->Pixels(1, 5), clWhite);
  auto* v = Add<TVolumeSeries>();
  v->SetSeriesColor(clNavy);
  auto line = guitest::MakeBitmap(20, 10);
  canvas.AttachCanvas(line->Canvas());
  PaintSeriesLegend(v, &canvas, Rect(0, 0, 20, 10));
  EXPECT_EQ(Count(line.get(), clNavy, Rect(0, 5, 20, 6)), 20);
  EXPECT_EQ(Count(line.get(), clNavy, Rect(0, 0, 20, 10)), 20);
  canvas.AttachCanvas(nullptr);
}

TEST_F(CandleTest, PointsInsideTheChartRect) {
  auto* s = AddCandles();
  s->AddOHLC(5, 3, 8, 1, 6);
  s->AddOHLC(30, 3, 8, 1, 6);
  Render();
  EXPECT_TRUE(s->IsPointInChartRect(0));
  EXPECT_FALSE(s->IsPointInChartRect(1));
}

TEST_F(CandleTest, SampleValuesRepeatForOneSeedAndKeepBarsWhole) {
  auto* s = AddCandles();
  TChartSeries::SetRandomSeed(42);
  s->AddSampleValues();
  ASSERT_EQ(s->Count(), 40);
  std::vector<double> first = s->OpenValues()->Values();
  for (int i = 0; i < s->Count(); ++i) {
    const double o = s->OpenValues()->GetValue(i), c = s->CloseValues()->GetValue(i);
    EXPECT_LE(s->LowValues()->GetValue(i), std::min(o, c));
    EXPECT_GE(s->HighValues()->GetValue(i), std::max(o, c));
  }
  s->AddSampleValues();
  EXPECT_EQ(s->OpenValues()->Values(), first);
  // A range too small for the random bounds gives bars, not faults.
  Range(chart->LeftAxis(), 0, 0.001);
  s->AddSampleValues(10);
  EXPECT_EQ(s->Count(), 10);
  TChartSeries::SetRandomSeed(0);
}

TEST_F(CandleTest, SubGalleryAndGalleryDefaults) {
  auto* s = AddCandles();
  std::vector<std::string> names;
  s->CreateSubGallery([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Bar", "No Open", "No Close", "No Border", "Line"}));
  s->SetSubGallery(s, 1);
  EXPECT_EQ(s->CandleStyle(), csCandleBar);
  s->CandlePen()->Hide();
  s->SetSubGallery(s, 2);
  EXPECT_TRUE(s->CandlePen()->Visible());
  EXPECT_FALSE(s->ShowOpenTick());
  s->SetSubGallery(s, 3);
  EXPECT_FALSE(s->ShowCloseTick());
  s->SetSubGallery(s, 4);
  EXPECT_EQ(s->CandleStyle(), csCandleStick);
  EXPECT_FALSE(s->CandlePen()->Visible());
  s->SetSubGallery(s, 5);
  EXPECT_EQ(s->CandleStyle(), csLine);
  EXPECT_FALSE(s->Pointer()->Pen()->Visible());
  s->PrepareForGallery(false);
  EXPECT_EQ(s->Count(), 4);
  EXPECT_EQ(s->UpCloseColor(), clSilver);
  EXPECT_EQ(s->DownCloseColor(), clGray);
  EXPECT_EQ(s->CandleWidth(), 12);
  EXPECT_EQ(s->CandlePen()->Width(), 2);
  s->SetChartView3D(true);
  EXPECT_EQ(s->DownCloseColor(), chart->GetDefaultColor(0));
  EXPECT_EQ(s->UpCloseColor(), chart->GetDefaultColor(4));
  EXPECT_EQ(s->EditorClassName(), "TCandleEditor");
}

TEST_F(CandleTest, AssignCopiesTheCandleSettings) {
  auto* a = AddCandles();
  a->SetCandleWidth(9);
  a->SetCandleStyle(csOpenClose);
  a->SetColorStyle(cssRelativeToClose);
  a->SetShowOpenTick(false);
  a->HighLowPen()->SetWidth(3);
  auto* b = Add<TCandleSeries>();
  b->Assign(a);
  EXPECT_EQ(b->CandleWidth(), 9);
  EXPECT_EQ(b->CandleStyle(), csOpenClose);
  EXPECT_EQ(b->ColorStyle(), cssRelativeToClose);
  EXPECT_FALSE(b->ShowOpenTick());
  EXPECT_EQ(b->HighLowPen()->Width(), 3);
  EXPECT_EQ(b->UpCloseColor(), clLime);
}

}  // namespace
