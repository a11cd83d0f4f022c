// Axes: logarithmic and date-time scales, the step table, label styles, angles and
// items, Clicked and the grid hook, custom axes and the 3D depth slots.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/datetimesteps.h"
#include "engine_test.h"
#include "platform/dateutils.h"

namespace {

std::vector<std::string> Texts(const std::vector<std::pair<double, std::string>>& Labels) {
  std::vector<std::string> out;
  for (const auto& l : Labels) out.push_back(l.second);
  return out;
}

// A 2D chart with a series on the bottom and left axes and both axes laid out.
struct ScaleFixture : testing::Test {
  TCountingChart chart;
  TChartSeries series{nullptr};
  TChartAxis* left = chart.LeftAxis();
  TChartAxis* bottom = chart.BottomAxis();
  ScaleFixture() {
    chart.SetBounds(0, 0, 400, 300);
    series.SetParentChart(&chart);
  }
  void Layout() {
    for (TChartAxis* a : {left, bottom}) {
      a->AdjustMaxMin();
      a->CalcRect(Rect(40, 10, 440, 310));
    }
  }
};

TEST_F(ScaleFixture, LogarithmicRefusedForRangesReachingZeroAndTheAxisStaysLinear) {
  // No range yet: taken, and the scale stays linear until there is one.
  chart.RightAxis()->SetLogarithmic(true);
  EXPECT_TRUE(chart.RightAxis()->Logarithmic());
  series.AddXY(1, 0);
  series.AddXY(2, 50);
  ExpectThrowText<AxisException>([&] { left->SetLogarithmic(true); });
  EXPECT_FALSE(left->Logarithmic());
  Layout();
  EXPECT_EQ(left->CalcPosValue(25), (left->CalcPosValue(0) + left->CalcPosValue(50)) / 2);  // still linear
  // A fixed range with a negative end is refused too; a positive one is taken.
  bottom->SetAutomatic(false);
  bottom->SetMinMax(-5, 10);
  EXPECT_THROW(bottom->SetLogarithmic(true), AxisException);
  EXPECT_EQ(bottom->Minimum(), -5);
  bottom->SetMinMax(1, 10);
  bottom->SetLogarithmic(true);
  EXPECT_TRUE(bottom->Logarithmic());
  EXPECT_THROW(bottom->SetLogarithmicBase(1), AxisException);
  EXPECT_THROW(bottom->SetLogarithmicBase(0), AxisException);
  EXPECT_EQ(bottom->LogarithmicBase(), 10);
  // Data that later falls to zero never gives a non-finite pixel.
  bottom->SetMinimum(0);
  Layout();
  EXPECT_GE(bottom->CalcPosValue(-3), -LumMaxPixel);
}

TEST_F(ScaleFixture, LogarithmicAxisSpacesPowersEquallyAndLabelsThem) {
  for (double y : {10.0, 100.0, 1000.0}) series.AddXY(y / 10, y);
  left->SetLogarithmic(true);
  Layout();
  const int p10 = left->CalcPosValue(10), p100 = left->CalcPosValue(100), p1000 = left->CalcPosValue(1000);
  EXPECT_EQ(p10, 310);
  EXPECT_EQ(p1000, 10);
  EXPECT_EQ(p10 - p100, p100 - p1000);
  EXPECT_NEAR(left->CalcPosPoint(p100), 100, 1.0);
  const std::vector<double> values = {10, 20, 50, 100, 300, 1000, 0, -1};
  std::vector<int> bulk(values.size());
  left->CalcPosValues(values.data(), int(values.size()), bulk.data());
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(bulk[i], left->CalcPosValue(values[i])) << values[i];
  EXPECT_EQ(left->LabelValues(), (std::vector<double>{10, 100, 1000}));
  // Base 2 labels at its powers.
  left->SetLogarithmicBase(2);
  const std::vector<double> twos = left->LabelValues();
  ASSERT_GE(twos.size(), 2u);
  for (double v : twos) EXPECT_EQ(std::exp2(std::round(std::log2(v))), v);
}

TEST(DateTimeSteps, FindsEveryEntryOnlyWithinAMicrosecond) {
  ASSERT_EQ(DateTimeStepCount, 27);
  for (int i = 0; i < DateTimeStepCount; ++i) {
    EXPECT_EQ(FindDateTimeStep(DateTimeStep[i]), i);
    EXPECT_EQ(FindDateTimeStep(DateTimeStep[i] + DateTimeStep[0] * 0.5), i);
    if (i > 0) {
      EXPECT_EQ(FindDateTimeStep(DateTimeStep[i] + DateTimeStep[0] * 2), dtNone) << i;
    }
  }
  EXPECT_EQ(FindDateTimeStep(0), dtNone);  // a whole microsecond away: not "less than"
  EXPECT_EQ(FindDateTimeStep(1.5), dtNone);
  EXPECT_EQ(FindDateTimeStep(45), dtNone);
  EXPECT_EQ(FindDateTimeStep(1000), dtNone);
  EXPECT_EQ(FindDateTimeStep(-1), dtNone);
  EXPECT_EQ(DefaultDateTimeFormat(DateTimeStep[dtOneMillisecond]), "hh:nn:ss.zzz");
  EXPECT_EQ(DefaultDateTimeFormat(DateTimeStep[dtTenSeconds]), "hh:nn:ss");
  EXPECT_EQ(DefaultDateTimeFormat(DateTimeStep[dtSixHours]), "hh:nn");
  EXPECT_EQ(DefaultDateTimeFormat(1), FormatSettings.ShortDateFormat);
  EXPECT_EQ(DefaultDateTimeFormat(DateTimeStep[dtHalfMonth]), FormatSettings.ShortDateFormat);  // two in a month
  EXPECT_EQ(DefaultDateTimeFormat(30), "mmm yyyy");
  EXPECT_EQ(DefaultDateTimeFormat(730), "yyyy");
}

TEST_F(ScaleFixture, DateTimeAxisOfTwoDaysLabelsHoursAtAStandardStep) {
  series.XValues()->SetDateTime(true);
  const double start = EncodeDate(2026, 12, 6);
  for (int h = 0; h <= 48; ++h) series.AddXY(start + h / 24.0, h);
  EXPECT_TRUE(bottom->IsDateTime());
  EXPECT_FALSE(left->IsDateTime());
  Layout();
  const std::vector<double> values = bottom->LabelValues();
  const double step = bottom->LastIncrement();
  ASSERT_NE(FindDateTimeStep(step), dtNone);
  EXPECT_LT(step, 1.0);
  ASSERT_GE(values.size(), 3u);
  for (size_t i = 1; i < values.size(); ++i) EXPECT_NEAR(values[i] - values[i - 1], step, 1e-9);
  for (double v : values) {
    const std::string text = bottom->LabelText(v);
    EXPECT_EQ(text, FormatDateTime("hh:nn", v));
    EXPECT_EQ(text.substr(3), "00");  // whole hours
  }
  // A format of one's own.
  bottom->SetDateTimeFormat("dd hh");
  EXPECT_EQ(bottom->LabelText(start + 0.5), "06 12");
}

TEST_F(ScaleFixture, DateTimeAxisOfTwoYearsLabelsWholeMonthsOrYears) {
  series.XValues()->SetDateTime(true);
  const double start = EncodeDate(2024, 3, 15);
  for (int d = 0; d <= 730; d += 5) series.AddXY(start + d, d);
  Layout();
  const std::vector<double> values = bottom->LabelValues();
  ASSERT_GE(values.size(), 2u);
  for (double v : values) {
    int y, m, d;
    DecodeDate(v, y, m, d);
    EXPECT_EQ(d, 1) << bottom->LabelText(v);  // exact: the first of a month
    EXPECT_GE(v, start);
  }
  const std::string first = bottom->LabelText(values[0]);
  EXPECT_TRUE(first == "May 2024" || first == "Jul 2024" || first == "2025" || first == "Apr 2024") << first;
  // Not exact: plain multiples of the step.
  bottom->SetExactDateTime(false);
  const std::vector<double> loose = bottom->LabelValues();
  ASSERT_GE(loose.size(), 2u);
  EXPECT_NEAR(std::fmod(loose[0], loose[1] - loose[0]), 0, 1e-6);
}

TEST_F(ScaleFixture, DateTimeLabelsOutsideTheValidDatesAreEmpty) {
  series.XValues()->SetDateTime(true);
  series.AddXY(2958000, 1);
  series.AddXY(2960000, 2);
  Layout();
  EXPECT_EQ(bottom->LabelText(2958466), "");
  EXPECT_EQ(bottom->LabelText(-657435), "");
  EXPECT_EQ(bottom->LabelText(-1e300), "");
  EXPECT_NE(bottom->LabelText(2958465), "");
  for (const auto& l : bottom->AxisLabels()) {
    if (l.first >= 2958466) {
      EXPECT_EQ(l.second, "");
    }
  }
  Render(&chart);  // draws without a made-up date or a fault
}

TEST_F(ScaleFixture, LabelStylesChooseTheTexts) {
  series.AddXY(1, 10, "one");
  series.AddXY(2, 20, "");
  series.AddXY(3, 30, "three");
  Layout();
  EXPECT_EQ(bottom->CalcLabelStyle(), talText);  // the series has texts
  EXPECT_EQ(Texts(bottom->AxisLabels()), (std::vector<std::string>{"one", "three"}));
  EXPECT_EQ(left->CalcLabelStyle(), talValue);   // vertical axes show values
  bottom->SetLabelStyle(talPointValue);
  EXPECT_EQ(Texts(bottom->AxisLabels()), (std::vector<std::string>{"1", "2", "3"}));
  bottom->SetLabelStyle(talMark);
  EXPECT_EQ(Texts(bottom->AxisLabels()).size(), 3u);
  EXPECT_EQ(Texts(bottom->AxisLabels())[0], series.GetMarkText(0));
  bottom->SetLabelStyle(talNone);
  EXPECT_TRUE(bottom->AxisLabels().empty());
  bottom->SetLabelStyle(talValue);
  const auto values = bottom->AxisLabels();
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front().second, "1");
  bottom->SetLabelsExponent(true);
  EXPECT_EQ(bottom->LabelText(1500), "1.5E+3");
}

TEST_F(ScaleFixture, LabelAnglesTurnByQuarterTurnsAndTakeTheirWidthAcross) {
  for (auto [in, out, turn] : std::vector<std::array<int, 3>>{
           {0, 0, 0}, {90, 90, 90}, {100, 100, 90}, {-90, 270, 270}, {180, 180, 180}, {359, 359, 0}, {400, 40, 0}}) {
    bottom->SetLabelsAngle(in);
    EXPECT_EQ(bottom->LabelsAngle(), out) << in;
    EXPECT_EQ(bottom->LabelsQuarterTurn(), turn) << in;
  }
  series.AddXY(1, 1, "a rather long label");
  series.AddXY(2, 2, "b");
  bottom->SetLabelsAngle(0);
  Layout();
  const int flat = bottom->SizeOutside();
  bottom->SetLabelsAngle(90);
  const int turned = bottom->SizeOutside();
  chart.Canvas()->AssignFont(bottom->LabelsFont());
  EXPECT_EQ(turned - flat, chart.Canvas()->TextWidth("a rather long label") - chart.Canvas()->FontHeight());
  // Drawn turned: the label's pixels run down from the axis, taller than wide.
  auto bmp = Render(&chart);
  EXPECT_TRUE(bottom->Clicked(bottom->Tick()[0], bottom->PosAxis() + turned - 3));
  EXPECT_FALSE(bottom->Clicked(bottom->Tick()[0] + 40, bottom->PosAxis() + turned - 3));
}

TEST_F(ScaleFixture, LayoutOptionsOfTheLabels) {
  series.AddXY(0.3, 0.3, "two words");
  series.AddXY(9.7, 9.7, "x");
  Layout();
  chart.Canvas()->AssignFont(bottom->LabelsFont());
  const int line = chart.Canvas()->FontHeight();
  const int one = bottom->SizeOutside();
  bottom->SetLabelsMultiLine(true);
  EXPECT_EQ(bottom->SizeOutside() - one, line);  // "two" over "words"
  bottom->SetLabelsMultiLine(false);
  bottom->SetLabelsAlternate(true);
  EXPECT_EQ(bottom->SizeOutside() - one, line);  // every other label one line out
  // Unrounded first label: the labels start at the minimum itself.
  left->SetRoundFirstLabel(false);
  Layout();
  EXPECT_EQ(left->LabelValues().front(), left->Minimum());
  left->SetRoundFirstLabel(true);
  left->SetMinimumRound(true);
  left->SetMaximumRound(true);
  Layout();
  EXPECT_EQ(left->Minimum(), 0);
  EXPECT_EQ(left->Maximum(), 10);
  // Ticks: at the point texts only, or at the value steps too.
  Render(&chart);
  const size_t atLabels = bottom->Tick().size();
  EXPECT_EQ(atLabels, 2u);
  bottom->SetTickOnLabelsOnly(false);
  Render(&chart);
  EXPECT_EQ(bottom->Tick().size(), atLabels);  // the tick list keeps the labels' positions
  // Labels off the axis ends are left out when they must stay on the axis.
  bottom->SetLabelsAlternate(false);
  bottom->SetLabelsOnAxis(false);
  bottom->SetLabelStyle(talText);
  bottom->SetAutomatic(false);
  bottom->SetMinMax(0, 10);  // "two words" hangs over the start, "x" fits
  bottom->SetLabelsOnAxis(true);
  Render(&chart);
  EXPECT_TRUE(bottom->Clicked(bottom->Tick()[0] - 20, bottom->PosAxis() + bottom->TickLength() + 2 + line / 2));
  bottom->SetLabelsOnAxis(false);
  Render(&chart);
  EXPECT_TRUE(bottom->Clicked(bottom->Tick()[1], bottom->PosAxis() + bottom->TickLength() + 2 + line / 2));
  EXPECT_FALSE(bottom->Clicked(bottom->Tick()[0] - 20, bottom->PosAxis() + bottom->TickLength() + 2 + line / 2));
}

TEST_F(ScaleFixture, ItemsReplaceTheLabelsUntilAutomaticAgain) {
  series.AddXY(0, 0);
  series.AddXY(10, 10);
  EXPECT_TRUE(left->Items()->Automatic());
  left->Items()->Add(2.5, "low");
  left->Items()->Add(7.5, "high");
  EXPECT_FALSE(left->Items()->Automatic());
  Layout();
  EXPECT_EQ(Texts(left->AxisLabels()), (std::vector<std::string>{"low", "high"}));
  Render(&chart);
  EXPECT_EQ(left->Tick(), (std::vector<int>{left->CalcPosValue(2.5), left->CalcPosValue(7.5)}));
  const int before = chart.Invalidates;
  left->Items()->Get(0)->SetText("lower");
  EXPECT_GT(chart.Invalidates, before);
  EXPECT_EQ(left->Items()->Get(0)->GetFormat(), left->Items()->Get(0)->GetFormat());  // made once
  EXPECT_THROW(left->Items()->Get(2), EListError);
  left->Items()->SetAutomatic(true);
  EXPECT_NE(Texts(left->AxisLabels())[0], "lower");
}

TEST_F(ScaleFixture, ClickedOnTheLineAndLabelsOnly) {
  series.AddXY(0, 0);
  series.AddXY(100, 100);
  Render(&chart);
  const int y = bottom->PosAxis();
  const int x = (bottom->IStartPos() + bottom->IEndPos()) / 2;
  EXPECT_TRUE(bottom->Clicked(x, y));
  EXPECT_TRUE(bottom->Clicked(x, y + 2));
  EXPECT_FALSE(bottom->Clicked(x, y - 30));                  // inside the plot
  EXPECT_FALSE(bottom->Clicked(bottom->IEndPos() + 20, y));  // past the end
  ASSERT_FALSE(bottom->Tick().empty());
  chart.Canvas()->AssignFont(bottom->LabelsFont());
  const int labelY = y + bottom->TickLength() + 2 + chart.Canvas()->FontHeight() / 2;
  EXPECT_TRUE(bottom->Clicked(bottom->Tick()[0], labelY));
  EXPECT_TRUE(left->Clicked(left->PosAxis() - 1, left->Tick()[0]));
  EXPECT_FALSE(chart.RightAxis()->Clicked(chart.RightAxis()->PosAxis(), left->Tick()[0]));  // not shown
}

TEST_F(ScaleFixture, GridHookRunsBeforeTheGridOfEachShownAxis) {
  series.AddXY(0, 0);
  series.AddXY(1, 1);
  std::vector<TChartAxis*> seen;
  for (TChartAxis* a : *chart.Axes()) a->OnDrawGrid = [&](TChartAxis* s) { seen.push_back(s); };
  Render(&chart);
  EXPECT_EQ(seen, (std::vector<TChartAxis*>{bottom, left}));
}

TEST(CustomAxes, JoinAndLeaveTheAxesListAndGiveTheirSeriesBack) {
  TCountingChart chart;
  chart.SetBounds(0, 0, 400, 300);
  TChartAxes& axes = *chart.Axes();
  ASSERT_EQ(axes.Count(), 6);
  TChartAxis* a = chart.CustomAxes()->Add();
  TChartAxis* b = new TChartAxis(chart.CustomAxes());
  EXPECT_EQ(axes.Count(), 8);
  EXPECT_EQ(axes.IndexOf(a), 6);
  EXPECT_EQ(axes.IndexOf(b), 7);
  EXPECT_EQ(chart.CustomAxes()->Items(1), b);
  EXPECT_EQ(chart.CustomAxes()->GetAxis(7), b);  // by the index in all axes
  EXPECT_EQ(chart.CustomAxes()->GetAxis(4), chart.LeftAxis());
  EXPECT_THROW(chart.CustomAxes()->Items(2), EListError);
  EXPECT_EQ(AxisTitleOrName(b), "");
  EXPECT_TRUE(a->IsCustom());
  EXPECT_FALSE(chart.LeftAxis()->IsCustom());
  TChartSeries s(nullptr);
  s.SetParentChart(&chart);
  s.AddXY(0, 100);
  s.AddXY(1, 200);
  s.SetCustomVertAxis(a);
  b->SetHorizontal(true);
  s.SetCustomHorizAxis(b);
  EXPECT_EQ(s.GetVertAxis(), a);
  EXPECT_TRUE(a->InUse());
  EXPECT_FALSE(chart.LeftAxis()->InUse());
  auto bmp = Render(&chart);
  EXPECT_EQ(a->Minimum(), 100);
  EXPECT_EQ(a->Maximum(), 200);
  EXPECT_EQ(b->Maximum(), 1);
  EXPECT_FALSE(a->Tick().empty());
  delete a;  // the series goes back to the left axis, b moves up
  EXPECT_EQ(axes.Count(), 7);
  EXPECT_EQ(axes.IndexOf(b), 6);
  EXPECT_EQ(chart.CustomAxes()->Items(0), b);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
  EXPECT_EQ(s.GetVertAxis(), chart.LeftAxis());
  EXPECT_TRUE(chart.LeftAxis()->InUse());
  EXPECT_EQ(s.GetHorizAxis(), b);
  chart.CustomAxes()->Clear();
  EXPECT_EQ(axes.Count(), 6);
  EXPECT_EQ(s.HorizAxis(), aBottomAxis);
  // A series that leaves the chart leaves its custom axes behind.
  s.SetCustomVertAxis(chart.CustomAxes()->Add());  // freed with the chart
  s.SetParentChart(nullptr);
  EXPECT_EQ(s.CustomVertAxis(), nullptr);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
}

TEST(Depth3D, SeriesTakeEqualSlotsOfTheDepthAndTheDepthAxisMarksThem) {
  TCountingChart chart;
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(true);
  TChartSeries s0(nullptr), s1(nullptr), s2(nullptr);
  for (TChartSeries* s : {&s0, &s1, &s2}) {
    s->SetParentChart(&chart);
    s->AddXY(0, 0);
    s->AddXY(1, 1);
  }
  chart.DepthAxis()->SetVisible(true);
  Render(&chart);
  const int depth = chart.Width3D();
  EXPECT_GT(depth, 0);
  const TRect& plot = chart.ChartRect();
  // 15 percent of the smaller side of the plot before the axes took their room.
  EXPECT_NEAR(depth, 0.15 * std::min(plot.Height() + chart.BottomAxis()->SizeOutside() + depth, 400), 20);
  const int slice = depth / 3;
  int k = 0;
  for (TChartSeries* s : {&s0, &s1, &s2}) {
    EXPECT_EQ(s->StartZ(), k * slice);
    EXPECT_EQ(s->MiddleZ(), k * slice + slice / 2);
    EXPECT_EQ(s->EndZ(), (k + 1) * slice);
    ++k;
  }
  EXPECT_EQ(chart.DepthAxis()->Tick(), (std::vector<int>{s0.MiddleZ(), s1.MiddleZ(), s2.MiddleZ()}));
  s1.SetActive(false);
  Render(&chart);
  EXPECT_EQ(s2.StartZ(), depth / 2);
  chart.SetView3D(false);
  Render(&chart);
  EXPECT_EQ(chart.Width3D(), 0);
  EXPECT_EQ(s2.MiddleZ(), 0);
  EXPECT_TRUE(chart.DepthAxis()->Tick().empty());
}

// Draws a vertical line at the back of its slot, from the bottom to the top of the plot.
class TBackLineSeries : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  void DrawValue(int ValueIndex) override {
    TCanvas3D* c = ParentChart()->Canvas();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(clRed);
    const int x = CalcXPos(ValueIndex);
    c->VertLine3D(x, CalcYPosValue(GetVertAxis()->Minimum()), CalcYPos(ValueIndex), EndZ() - 1);
  }
};

TEST(Depth3D, ASeriesIsClippedToItsWholeSlotNotItsMiddle) {
  TCountingChart chart;
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(true);
  chart.View3DOptions()->SetOrthogonal(true);
  chart.SetAxisVisible(false);
  TBackLineSeries s(nullptr);
  s.SetParentChart(&chart);
  s.AddXY(0, 0);
  s.AddXY(1, 10);
  auto bmp = Render(&chart);
  // The line at the back reaches the top of the plot moved up by its depth, above
  // where the plot's top lies at the series' middle depth.
  const double up = std::sin(chart.View3DOptions()->OrthoAngle() * M_PI / 180);
  const int middleTop = chart.ChartRect().Top - int(std::ceil(s.MiddleZ() * up));
  int red = 0;
  for (int y = 0; y < middleTop - 1; ++y)
    for (int x = 0; x < 400; ++x) red += bmp->Canvas()->Pixels(x, y) == clRed;
  EXPECT_GT(red, 3);
}

TEST_F(ScaleFixture, PositionAndSpanMoveTheAxisInsideThePlot) {
  series.AddXY(0, 0);
  series.AddXY(1, 1);
  Render(&chart);
  EXPECT_EQ(left->PosAxis(), chart.ChartRect().Left);
  left->SetPositionPercent(50);
  left->SetStartPosition(50);
  Render(&chart);
  EXPECT_EQ(left->PosAxis(), chart.ChartRect().Left + Round(chart.ChartRect().Width() / 2.0));
  EXPECT_EQ(left->IStartPos(), chart.ChartRect().Top + chart.ChartRect().Height() / 2);
  left->SetPositionUnits(muPixelsUnits);
  left->SetPositionPercent(7);
  Render(&chart);
  EXPECT_EQ(left->PosAxis(), chart.ChartRect().Left + 7);
}

}  // namespace
