#include <gtest/gtest.h>

#include "chart/palettes.h"
#include "chart_test_util.h"
#include "engine/settings.h"
#include "platform/registry.h"

using charttest::ChartTest;

namespace {

void ForgetPaletteSetting(bool WholeKey) {
  TRegistry reg;
  if (WholeKey) {
    reg.DeleteKey(LumEditorKey);
  } else if (reg.OpenKey(LumEditorKey, true)) {
    reg.DeleteValue("DefaultPalette");
  }
}

}  // namespace

TEST(ChartPalette, StartupIndexComesFromTheEditorSettings) {
  charttest::EnsureUnits();
  ForgetPaletteSetting(true);
  EXPECT_EQ(TChart(nullptr).ColorPaletteIndex(), 13);
  ForgetPaletteSetting(false);  // key present, value missing
  EXPECT_EQ(TChart(nullptr).ColorPaletteIndex(), 13);
  WriteEditorIntegerSetting("DefaultPalette", 4);
  EXPECT_EQ(TChart(nullptr).ColorPaletteIndex(), 4);

  // A value of another type is an error, and the half-made chart leaves its owner.
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(LumEditorKey, true));
    reg.WriteString("DefaultPalette", "9");
  }
  TComponent owner(nullptr);
  EXPECT_THROW(new TChart(&owner), ERegistryException);
  EXPECT_EQ(owner.ComponentCount(), 0);
  ForgetPaletteSetting(true);
}

TEST_F(ChartTest, PaletteRecoloursSeriesByIndexWhenItChanges) {
  chart->SetColorPaletteIndex(13);
  auto* a = Add<TFastLineSeries>();
  auto* b = Add<TPointSeries>();
  auto* c = Add<TBarSeries>();
  EXPECT_EQ(a->SeriesColor(), PaletteColor(13, 0));
  EXPECT_EQ(c->SeriesColor(), PaletteColor(13, 2));

  b->SetSeriesColor(clBlack);
  chart->SetColorPaletteIndex(9);
  TChartSeries* all[] = {a, b, c};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(all[i]->SeriesColor(), ColorPalettes()->Colors(9)[size_t(i)]) << i;
  EXPECT_EQ(a->LinePen()->Color(), PaletteColor(9, 0)) << "a fast line draws in its pen";
  EXPECT_EQ(chart->GetDefaultColor(12), PaletteColor(9, 0)) << "colours repeat round the palette";

  // The same number again applies nothing.
  b->SetSeriesColor(clBlack);
  chart->SetColorPaletteIndex(9);
  EXPECT_EQ(b->SeriesColor(), clBlack);

  // A number that names no palette still colours, from the first palette.
  chart->SetColorPaletteIndex(99);
  EXPECT_EQ(a->SeriesColor(), PaletteColor(0, 0));
}

TEST(ChartPalette, PaletteListOffersEveryPaletteByNumber) {
  charttest::EnsureUnits();
  TStringList withDefault, without;
  FillColorPaletteList(&withDefault, true);
  FillColorPaletteList(&without, false);
  ASSERT_EQ(withDefault.Count(), ColorPalettes()->Count());
  ASSERT_GE(withDefault.Count(), 14);
  EXPECT_EQ(withDefault.Get(0), "Default");
  EXPECT_EQ(PaletteNumber(withDefault.Objects(0)), 0);
  EXPECT_EQ(without.Count(), withDefault.Count() - 1);
  EXPECT_EQ(PaletteNumber(without.Objects(8)), 9);
  EXPECT_EQ(without.Get(8), ColorPalettes()->Name(9));
}

// ---------------------------------------------------------------------------
TEST_F(ChartTest, TitleTakesRoomForItsLinesAndClearEmptiesIt) {
  auto* line = Add<TLineSeries>();
  line->AddXY(0, 5);
  line->AddXY(10, 5);
  TChartTitle* title = chart->Title();
  title->Text()->Add("Dispersion Curve");
  title->Text()->Add("");
  auto bmp = Render();
  const int twoLinesTop = chart->ChartRect().Top;
  EXPECT_GT(Count(bmp.get(), clNavy, {0, 0, W, twoLinesTop}), 0);

  title->Clear();
  bmp = Render();
  EXPECT_EQ(chart->ChartRect().Top, 10) << "an empty title takes no room";
  EXPECT_EQ(Count(bmp.get(), clNavy), 0);

  title->Text()->Add("0.5 pi/a");
  bmp = Render();
  const int oneLineTop = chart->ChartRect().Top;
  EXPECT_GT(oneLineTop, 10);
  EXPECT_LT(oneLineTop, twoLinesTop);
  const TRect ink = guitest::InkBounds(bmp->Canvas(), {0, 0, W, oneLineTop}, clWhite);
  EXPECT_GT(ink.Width(), 20) << "the line shows";
  EXPECT_NEAR((ink.Left + ink.Right) / 2, W / 2, 3) << "centred by default";

  title->SetAlignment(taLeftJustify);
  title->SetVisible(false);
  bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clNavy), 0);
  title->SetVisible(true);
  bmp = Render();
  EXPECT_LT(guitest::InkBounds(bmp->Canvas(), {0, 0, W, oneLineTop}, clWhite).Left, 20);
}

TEST_F(ChartTest, FootSitsBelowThePlotWithItsMargin) {
  chart->Foot()->Text()->Add("foot");
  chart->Foot()->SetVertMargin(7);
  auto bmp = Render();
  const TRect& plot = chart->ChartRect();
  const TRect box = chart->Foot()->ShapeBounds();
  EXPECT_EQ(box.Bottom, H - 10);
  EXPECT_EQ(plot.Bottom, box.Top - 7);
  EXPECT_GT(Count(bmp.get(), clMaroon, box), 0);
}

TEST_F(ChartTest, BackWallFillsAndFramesThePlot) {
  TChartWall* wall = chart->BackWall();
  chart->Frame()->Show();
  auto bmp = Render();
  const TRect plot = chart->ChartRect();
  TCanvas* c = bmp->Canvas();
  EXPECT_EQ(c->Pixels(plot.Left, plot.Top + 20), clBlack) << "frame of a transparent wall";
  EXPECT_EQ(c->Pixels(plot.Right, plot.Top + 20), clBlack);
  EXPECT_EQ(c->Pixels(plot.Left + 20, plot.Bottom), clBlack);
  EXPECT_EQ(c->Pixels(plot.Left + 20, plot.Top + 20), clWhite) << "transparent by default";

  wall->SetTransparent(false);
  wall->SetColor(clYellow);
  bmp = Render();
  EXPECT_EQ(bmp->Canvas()->Pixels(plot.Left + 20, plot.Top + 20), clYellow);

  wall->Gradient()->SetVisible(true);
  wall->Gradient()->SetStartColor(clWhite);
  wall->Gradient()->SetEndColor(clBlue);
  bmp = Render();
  c = bmp->Canvas();
  const TColor top = c->Pixels(plot.Left + 20, plot.Top + 2), bottom = c->Pixels(plot.Left + 20, plot.Bottom - 2);
  EXPECT_GT(GetRValue(top), 200);
  EXPECT_LT(GetRValue(bottom), 60);

  chart->Frame()->Hide();
  wall->SetVisible(false);
  bmp = Render();
  EXPECT_EQ(Count(bmp.get(), clWhite), W * H) << "a hidden wall draws nothing";
}

TEST_F(ChartTest, TitleChangesAskForAPaint) {
  int paints = 0;
  ShowOnForm(paints);
  const int before = paints;
  chart->Title()->Text()->Add("k");
  EXPECT_TRUE(TestInput::PumpUntil([&] { return paints > before; }));
}

// Creating each registered class by name is the property walk's.
TEST(ChartUnit, DoneUnregistersTheSeriesAndChartsStillColour) {
  charttest::EnsureUnits();
  EXPECT_NE(GetClass("TBarSeries"), nullptr);
  const TColor second = PaletteColor(13, 1);
  ChartUnitDone();
  EXPECT_EQ(GetClass("TBarSeries"), nullptr);
  EXPECT_EQ(ColorPalettes(), nullptr);
  EXPECT_EQ(PaletteColor(13, 1), second) << "charts still colour without the palette list";
  ChartUnitInit();
  EXPECT_NE(GetClass("TBarSeries"), nullptr);
}
