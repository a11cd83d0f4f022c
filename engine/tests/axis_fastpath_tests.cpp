// The axis' quick paths against the exact ones: a pixel of a value in double
// precision against the extended computation, the label step of labels that need
// the same room whatever their text, found without making the texts, and the room
// of the widest label, measured only for labels aligned in it.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine_test.h"

namespace {

struct AxisFastPathFixture : testing::Test {
  TCountingChart chart;
  TChartSeries series{nullptr};
  TChartAxis* left = chart.LeftAxis();
  TChartAxis* bottom = chart.BottomAxis();
  AxisFastPathFixture() {
    chart.SetBounds(0, 0, 400, 300);
    series.SetParentChart(&chart);
  }
  void Layout(TChartAxis* A, const TRect& R, int MinMargin = 0, int MaxMargin = 0) {
    A->CalcRect(R, MinMargin, MaxMargin);
  }
};

TEST_F(AxisFastPathFixture, PixelsOfValuesAreThoseOfTheExtendedComputation) {
  // Seeded values inside and far outside the range, halves between pixels, NaN and
  // infinities, on linear, reversed, logarithmic, zoomed and scrolled axes and a
  // range of no width: CalcPosValue, the map (one value or two) and the bulk form
  // answer the exact pixel.
  struct TScale {
    const char* Name;
    double Min, Max;
    bool Inverted, Log;
    int MinMargin, MaxMargin;
  };
  const TScale scales[] = {{"plain", 0, 10, false, false, 0, 0},
                           {"reversed", -3.5, 1234.25, true, false, 0, 0},
                           {"margins", 1e-9, 3e-9, false, false, 7, 13},
                           {"zoomed far out", 1e12, 1e12 + 0.001, false, false, 0, 0},
                           {"wide", -1e15, 1e15, true, false, 3, 0},
                           {"logarithmic", 0.1, 1e6, false, true, 0, 0},
                           {"logarithmic reversed", 2, 2048, true, true, 5, 5},
                           {"no width", 5, 5, false, false, 0, 0}};
  std::mt19937 rng(23);
  for (const TScale& s : scales)
    for (TChartAxis* a : {bottom, left}) {
      SCOPED_TRACE(testing::Message() << s.Name << (a == bottom ? ", bottom" : ", left"));
      a->SetLogarithmic(false);
      a->SetMinMax(s.Min, s.Max);
      a->SetInverted(s.Inverted);
      a->SetLogarithmic(s.Log);
      Layout(a, Rect(37, 11, 437, 287), s.MinMargin, s.MaxMargin);
      std::vector<double> values = {std::nan(""), std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(), 0, -0.0, 1e300, -1e300};
      const double lo = std::min(s.Min, s.Max), span = std::max(std::fabs(s.Max - s.Min), 1e-9);
      std::uniform_real_distribution<double> inside(lo, lo + span), around(lo - 3 * span, lo + 4 * span);
      for (int i = 0; i < 400; ++i) values.push_back(inside(rng)), values.push_back(around(rng));
      // Values on the halves between pixels: the extended computation decides them.
      for (int px = -5; px <= 405; ++px) values.push_back(a->CalcPosPoint(px) + 0.5 * span / 400);
      for (int px = 0; px < 400; px += 7) values.push_back(a->CalcPosPoint(px));
      std::vector<int> bulk(values.size());
      a->CalcPosValues(values.data(), int(values.size()), bulk.data());
      const TChartAxis::TPixelMap map = a->PixelMap();
      for (size_t i = 0; i < values.size(); ++i) {
        const int exact = a->ExactPosValue(values[i]);
        ASSERT_EQ(a->CalcPosValue(values[i]), exact) << "value " << values[i];
        ASSERT_EQ(map(values[i]), exact) << "value " << values[i];
        ASSERT_EQ(bulk[i], exact) << "value " << values[i];
        // In pairs, with a neighbour that may be undecided by the double computation.
        int first = 0, second = 0;
        const double other = values[(i * 7919) % values.size()];
        map(values[i], other, first, second);
        ASSERT_EQ(first, exact) << "value " << values[i] << " paired with " << other;
        ASSERT_EQ(second, a->ExactPosValue(other)) << "value " << other << " paired with " << values[i];
      }
      // Scrolled by a third of the range: still the exact pixels.
      if (!s.Log && s.Min != s.Max) {
        a->Scroll(span / 3, false);
        Layout(a, Rect(37, 11, 437, 287), s.MinMargin, s.MaxMargin);
        for (double v : values) ASSERT_EQ(a->CalcPosValue(v), a->ExactPosValue(v)) << "scrolled, value " << v;
      }
    }
}

TEST_F(AxisFastPathFixture, LabelsMeasuredByTheirHeightTakeTheStepOfTheirTexts) {
  // Labels along the axis by their height (a left axis, or a bottom axis whose labels
  // are turned) need the same room whatever their text: a format of long texts gives
  // the step of short ones. Along the axis by width, the long texts widen the step.
  struct TCase {
    const char* Name;
    bool Left;
    int Angle;
    bool DateTime;
    int Separation;
  };
  const TCase cases[] = {{"left", true, 0, false, 10},
                         {"left, wide separation", true, 0, false, 300},
                         {"left, dates", true, 0, true, 10},
                         {"bottom, turned", false, 90, false, 10},
                         {"bottom, turned dates", false, 270, true, 50},
                         {"left, no separation", true, 0, false, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChartAxis* a = c.Left ? left : bottom;
    series.YValues()->SetDateTime(c.Left && c.DateTime);
    series.XValues()->SetDateTime(!c.Left && c.DateTime);
    a->SetMinMax(c.DateTime ? 45000 : -17, c.DateTime ? 45000.75 : 983);
    a->SetLabelsAngle(c.Angle);
    a->SetLabelsSeparation(c.Separation);
    a->CalcRect(Rect(40, 10, 440, 310));
    const auto steps = [&](const std::string& Format) {
      if (c.DateTime) a->SetDateTimeFormat(Format.empty() ? "" : "dddd dd mmmm yyyy hh:nn:ss");
      else a->SetAxisValuesFormat(Format.empty() ? "0" : "#,##0.000000000");
      return a->LabelValues();
    };
    const std::vector<double> brief = steps(""), lengthy = steps("long");
    EXPECT_EQ(brief, lengthy);
    EXPECT_GE(brief.size(), 2u);
  }
  // By width, long texts need more room: fewer labels.
  series.XValues()->SetDateTime(false);
  bottom->SetLabelsAngle(0);
  bottom->SetLabelsSeparation(10);
  bottom->SetMinMax(-17, 983);
  bottom->CalcRect(Rect(40, 10, 440, 310));
  bottom->SetAxisValuesFormat("0");
  const size_t brief = bottom->LabelValues().size();
  bottom->SetAxisValuesFormat("#,##0.000000000");
  EXPECT_LT(bottom->LabelValues().size(), brief);
}

TEST_F(AxisFastPathFixture, LabelsAlignedInTheRoomOfTheWidestShareTheirOuterEdge) {
  // A vertical axis on either side, labels of one width and of many: aligned by
  // default they end at the axis, aligned opposite they start at the outer edge of
  // the room the widest one takes; the bottom axis places them the same either way.
  series.AddXY(0, 0);
  series.AddXY(10, 123456);
  for (bool right : {false, true})
    for (const char* format : {"0", "#,##0.0##"}) {
      SCOPED_TRACE(testing::Message() << (right ? "right" : "left") << " axis, format " << format);
      TChartAxis* a = right ? chart.RightAxis() : left;
      series.SetVertAxis(right ? aRightAxis : aLeftAxis);
      a->SetAxisValuesFormat(format);
      std::vector<TRect> boxes[2], bottomBoxes[2];
      for (TAxisLabelAlign align : {alDefault, alOpposite}) {
        a->SetLabelsAlign(align);
        bottom->SetLabelsAlign(align);
        Render(&chart);
        boxes[align] = a->LabelRects();
        bottomBoxes[align] = bottom->LabelRects();
        ASSERT_GE(boxes[align].size(), 3u);
      }
      EXPECT_EQ(bottomBoxes[alDefault], bottomBoxes[alOpposite]);
      // The room is the widest label's width (its thickness less the gap).
      int room = 0;
      for (const TRect& b : boxes[alDefault]) room = std::max(room, b.Right - b.Left);
      for (size_t i = 0; i < boxes[alDefault].size(); ++i) {
        const TRect &d = boxes[alDefault][i], &o = boxes[alOpposite][i];
        EXPECT_EQ(right ? d.Left : d.Right, right ? boxes[alDefault][0].Left : boxes[alDefault][0].Right);
        // Opposite: from the outer edge of the room on.
        EXPECT_EQ(right ? o.Right : o.Left, right ? d.Left + room : d.Right - room) << i;
        EXPECT_EQ(o.Right - o.Left, d.Right - d.Left) << i;
      }
    }
}

}  // namespace
