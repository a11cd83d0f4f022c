// Axes: range rules and their exceptions, value <-> pixel conversion, automatic
// range and increment, the tick list.
#include <cmath>
#include <limits>
#include <vector>

#include "canvas/lumconst.h"
#include "engine_test.h"

namespace {

// A vertical and a horizontal axis laid out over a known rectangle.
struct AxisFixture : testing::Test {
  TCountingChart chart;
  TChartAxis* left = chart.LeftAxis();
  TChartAxis* bottom = chart.BottomAxis();
  void Layout(const TRect& R) {
    left->CalcRect(R);
    bottom->CalcRect(R);
  }
};

TEST_F(AxisFixture, MinimumAndMaximumRefuseToCrossWithTheirTexts) {
  left->SetAutomatic(false);
  left->SetMinMax(-1, 1);
  ExpectThrowText<AxisException>([&] { left->SetMinimum(2); }, "Axis Minimum Value must be <= Maximum");
  ExpectThrowText<AxisException>([&] { left->SetMaximum(-2); }, "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(left->Minimum(), -1);
  EXPECT_EQ(left->Maximum(), 1);
  left->SetMinimum(1);  // equal ends are allowed
  left->SetMaximum(1);
  // While the chart is being read, the ends may pass each other on the way.
  chart.BeginLoading();
  left->SetMinimum(45);
  left->SetMaximum(20);
  chart.EndLoading();
  EXPECT_EQ(left->Minimum(), 45);
  EXPECT_THROW(left->SetIncrement(-1), AxisException);
}

TEST_F(AxisFixture, PixelsRoundTripWithOffsetsAndInversion) {
  Layout(Rect(10, 20, 410, 320));  // 400 wide, 300 high
  bottom->SetAutomatic(false);
  bottom->SetMinMax(0, 100);
  left->SetAutomatic(false);
  left->SetMinMax(-1, 1);
  EXPECT_EQ(bottom->CalcPosValue(0), 10);
  EXPECT_EQ(bottom->CalcPosValue(100), 410);
  EXPECT_EQ(left->CalcPosValue(-1), 320);  // vertical: the minimum at the bottom
  EXPECT_EQ(left->CalcPosValue(1), 20);
  left->SetMinimumOffset(-5);
  left->SetMaximumOffset(-4);
  EXPECT_EQ(left->CalcPosValue(-1), 325);  // the ends lie outside by the offsets
  EXPECT_EQ(left->CalcPosValue(1), 16);
  bottom->SetMinimumOffset(20);
  bottom->SetInverted(true);
  EXPECT_EQ(bottom->CalcPosValue(0), 410);
  EXPECT_EQ(bottom->CalcPosValue(100), 30);
  for (TChartAxis* a : {left, bottom})
    for (double v : {a->Minimum(), a->Maximum(), (a->Minimum() + 3 * a->Maximum()) / 4}) {
      const double tolerance = (a->Maximum() - a->Minimum()) / 200;
      EXPECT_NEAR(a->CalcPosPoint(a->CalcPosValue(v)), v, tolerance) << AxisTitleOrName(a);
    }
  EXPECT_EQ(AxisTitleOrName(left), "Left Axis");
  left->GetTitle()->SetCaption("Omega");
  EXPECT_EQ(AxisTitleOrName(left), "Omega");
}

TEST_F(AxisFixture, ZeroWidthAndFarValuesStayFinite) {
  Layout(Rect(0, 0, 100, 200));
  left->SetAutomatic(false);
  left->SetMinMax(3, 3);
  EXPECT_EQ(left->CalcPosValue(3), 100);  // the middle of the axis
  EXPECT_EQ(left->CalcPosPoint(17), 3);
  EXPECT_EQ(left->LabelValues(), std::vector<double>{3});
  left->SetMinMax(-1, 1);
  EXPECT_EQ(left->CalcPosValue(1e300), -LumMaxPixel);
  EXPECT_EQ(left->CalcPosValue(-1e300), LumMaxPixel);
  EXPECT_EQ(left->CalcPosValue(NAN), -LumMaxPixel);
  EXPECT_EQ(left->CalcPosValue(1000), -99900);  // far, but exact while it fits
}

TEST_F(AxisFixture, AutomaticRangeFollowsTheAssociatedActiveSeries) {
  TChartSeries a(nullptr), b(nullptr);
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  a.AddXY(2, -3);
  a.AddXY(5, 4);
  b.AddXY(-1, 10);
  b.SetVertAxis(aRightAxis);
  bottom->AdjustMaxMin();
  left->AdjustMaxMin();
  EXPECT_EQ(bottom->Minimum(), -1);
  EXPECT_EQ(bottom->Maximum(), 5);
  EXPECT_EQ(left->Minimum(), -3);  // b is on the right axis
  EXPECT_EQ(left->Maximum(), 4);
  b.SetActive(false);
  bottom->AdjustMaxMin();
  EXPECT_EQ(bottom->Minimum(), 2);
  left->SetAutomaticMaximum(false);
  left->SetMaximum(50);
  a.AddXY(6, 100);
  left->AdjustMaxMin();
  EXPECT_EQ(left->Maximum(), 50);
  left->SetAutomatic(false);  // both ends fixed now
  a.AddXY(7, -100);
  left->AdjustMaxMin();
  EXPECT_EQ(left->Minimum(), -3);
  a.Clear();
  bottom->AdjustMaxMin();  // no data: the range stays
  EXPECT_EQ(bottom->Maximum(), 5);
}

TEST_F(AxisFixture, TickListOverAKnownRange) {
  bottom->SetAutomatic(false);
  bottom->SetMinMax(0, 10);
  TCanvas3D* c = chart.Canvas();
  // Whether labels at the multiples of Step would overlap on the axis.
  auto overlap = [&](double Step) {
    c->AssignFont(bottom->LabelsFont());
    int widest = 0;
    for (double v = 0; v <= 10 + 1e-9; v += Step) widest = std::max(widest, c->TextWidth(bottom->LabelText(v)));
    // Labels keep LabelsSeparation percent of their width apart.
    return bottom->CalcPosValue(Step) - bottom->CalcPosValue(0) < widest * (1 + bottom->LabelsSeparation() / 100.0);
  };
  auto previousNice = [](double Step) {
    const double e = std::pow(10.0, std::floor(std::log10(Step) + 1e-9));
    const double m = std::round(Step / e);
    return m == 1 ? e / 2 : (m == 2 ? e : 2 * e);
  };
  for (int width : {500, 200, 60}) {
    Layout(Rect(0, 0, width, 300));
    const double step = bottom->CalcIncrement();
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
        << step;
    EXPECT_FALSE(overlap(step)) << width;
    EXPECT_TRUE(overlap(previousNice(step))) << width << ": a finer step would have fitted";
    EXPECT_NEAR(bottom->LabelValues().back(), 10 - std::fmod(10, step), 1e-9);
  }
  // A desired increment is kept when its labels fit, and grows when they do not.
  Layout(Rect(0, 0, 500, 300));
  bottom->SetIncrement(2.5);
  EXPECT_EQ(bottom->CalcIncrement(), 2.5);
  Layout(Rect(0, 0, 60, 300));
  EXPECT_GT(bottom->CalcIncrement(), 2.5);
  bottom->SetIncrement(0);

  // The drawn ticks of a vertical axis -1 .. 1 on 200 pixels.
  chart.SetBounds(0, 0, 300, 260);
  chart.SetMarginUnits(muPixels);
  for (int i = 0; i < 4; ++i) chart.SetMargin(i, 30);
  chart.SetBevelOuter(bvNone);
  left->SetAutomatic(false);
  left->SetMinMax(-1, 1);
  left->SetIncrement(0.5);
  Render(&chart);
  const TRect& r = chart.ChartRect();
  ASSERT_EQ(r.Bottom - r.Top, 200 - bottom->SizeOutside());
  std::vector<int> expected;
  for (double v : {-1.0, -0.5, 0.0, 0.5, 1.0}) expected.push_back(int(Round(r.Bottom - (v + 1) / 2 * r.Height())));
  EXPECT_EQ(left->Tick(), expected);
  EXPECT_EQ(left->LabelText(-0.5), "-0.5");
}

TEST(ChartAxes, StandardListOrderAndRepaintOnlyOnChange) {
  TCountingChart chart;
  TChartAxes* axes = chart.Axes();
  ASSERT_EQ(axes->Count(), 6);
  EXPECT_EQ(axes->GetAxis(0), chart.DepthAxis());
  EXPECT_EQ(axes->GetAxis(1), chart.DepthTopAxis());
  EXPECT_EQ(axes->GetAxis(2), chart.TopAxis());
  EXPECT_EQ(axes->GetAxis(3), chart.BottomAxis());
  EXPECT_EQ(axes->GetAxis(4), chart.LeftAxis());
  EXPECT_EQ(axes->GetAxis(5), chart.RightAxis());
  chart.LeftAxis()->GetTitle();  // made on first read, which repaints
  chart.Invalidates = 0;
  chart.LeftAxis()->GetTitle()->SetCaption("Omega");
  chart.LeftAxis()->GetTitle()->SetCaption("Omega");
  axes->SetVisible(false);
  axes->SetVisible(false);
  EXPECT_EQ(chart.Invalidates, 2);
  EXPECT_FALSE(chart.LeftAxis()->IsVisible());
}

}  // namespace

namespace {

// Values around every half pixel of the axis, far outside it, and not numbers.
std::vector<double> AwkwardValues(double Min, double Max, int Pixels) {
  std::vector<double> v;
  const double step = (Max - Min) / Pixels;
  for (int i = -3; i <= Pixels + 3; ++i) {
    const double half = Min + (i + 0.5) * step;
    for (double d : {0.0, 1e-12, -1e-12, 1e-9, -1e-9, 1e-6, -1e-6})
      v.push_back(half + d * std::max(1.0, std::fabs(half)));
    v.push_back(std::nextafter(half, 1e300));
    v.push_back(std::nextafter(half, -1e300));
  }
  for (double far : {1e6, 1e12, 1e300, std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()}) {
    v.push_back(far);
    v.push_back(-far);
  }
  v.push_back(std::nan(""));
  return v;
}

}  // namespace

TEST_F(AxisFixture, BulkAndMappedConversionGiveThePixelsOfSingleConversion) {
  Layout(Rect(7, 11, 1007, 611));
  struct Case {
    double Min, Max;
    bool Inverted;
    int MinOffset, MaxOffset;
  };
  const Case cases[] = {{0, 100, false, 0, 0},       {-1, 1, true, -5, -4},    {1e15, 1e15 + 37, false, 3, 0},
                        {-2.5e-7, 3.1e-7, false, 0, 2}, {45, 435, true, 0, 0}, {5, 5, false, 0, 0},
                        {-1e300, 1e300, false, 0, 0}};
  for (const Case& c : cases) {
    for (TChartAxis* axis : {bottom, left}) {
      axis->SetAutomatic(false);
      axis->SetMinMax(c.Min, c.Max);
      axis->SetInverted(c.Inverted);
      axis->SetMinimumOffset(c.MinOffset);
      axis->SetMaximumOffset(c.MaxOffset);
      const std::vector<double> values = AwkwardValues(c.Min, c.Max, axis->IAxisSize());
      std::vector<int> bulk(values.size());
      axis->CalcPosValues(values.data(), int(values.size()), bulk.data());
      const TChartAxis::TPixelMap map = axis->PixelMap();
      for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "value " << values[i] << " range " << c.Min << ".." << c.Max
                                        << (axis == left ? " vertical" : ""));
        ASSERT_EQ(bulk[i], axis->CalcPosValue(values[i]));
        ASSERT_EQ(map(values[i]), bulk[i]);
      }
    }
  }
}

TEST_F(AxisFixture, LabelTextsFollowTheFormatAndSeparators) {
  // Label texts are kept between paints; a new picture or separator must show.
  EXPECT_EQ(bottom->LabelText(1234.5), "1,234.5");
  bottom->SetAxisValuesFormat("0.00");
  EXPECT_EQ(bottom->LabelText(1234.5), "1234.50");
  const char decimal = DecimalSeparator;
  DecimalSeparator = ',';
  EXPECT_EQ(bottom->LabelText(1234.5), "1234,50");
  DecimalSeparator = decimal;
  EXPECT_EQ(bottom->LabelText(0.0), "0.00");
  EXPECT_EQ(bottom->LabelText(-0.0), FormatFloat("0.00", -0.0));  // kept apart from 0
}
