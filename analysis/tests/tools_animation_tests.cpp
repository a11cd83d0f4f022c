// The series animation tool: the frames it shows, groups, loops, stopping, and runs
// that end cleanly when a handler frees the tool, its series or its chart.

#include "analysis/tools_animation.h"
#include "tools_test_util.h"

using namespace tooltest;

namespace {

using TValues = std::vector<double>;

class AnimationTest : public ToolTest {
protected:
  void SetUp() override {
    ToolTest::SetUp();
    Tool = new TSeriesAnimationTool(Form);
    Tool->SetParentChart(Chart);
    Tool->SetSeries(Series);
    Tool->OnStart = [this](TObject*) { ++Starts; };
    Tool->OnStop = [this](TObject*) { ++Stops; };
    Tool->OnStep = [this](TSeriesAnimationTool*, int) { Frames.push_back(Values()); };
    SetValues({10, 20, 30});
  }
  void SetValues(const TValues& V) {
    Series->Clear();
    for (size_t i = 0; i < V.size(); ++i) Series->AddXY(double(i) * 10, V[i]);
  }
  TValues Values() const { return Series->YValues()->Values(); }
  TestInput::TSteppedClock Clock;
  TSeriesAnimationTool* Tool = nullptr;
  std::vector<TValues> Frames;
  int Starts = 0, Stops = 0;
};

}  // namespace

TEST_F(AnimationTest, PointsGrowFromTheStartToExactlyTheirValuesAndComeBack) {
  struct Case {
    TValues V;
    int Steps;
    bool AtMin;
    TValues First;
  } cases[] = {
      {{10, 20, 30}, 4, true, {10, 10, 10}},
      {{10, 20, 30}, 1, true, {10, 10, 10}},  // two frames: start and values
      {{0.1, 0.7, 1.3}, 49, false, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SetValues(c.V);
    Frames.clear();
    Starts = Stops = 0;
    Tool->SetSteps(c.Steps);
    Tool->SetStartAtMin(c.AtMin);
    Tool->Execute();
    ASSERT_EQ(Frames.size(), size_t(c.Steps + 1)) << c.Steps;
    EXPECT_EQ(Frames.front(), c.First);
    EXPECT_EQ(Frames.back(), c.V) << "the last step lands on the values";
    EXPECT_EQ(Values(), c.V);
    EXPECT_EQ(Starts, 1);
    EXPECT_EQ(Stops, 1);
    EXPECT_TRUE(Tool->Stopped());
    EXPECT_EQ(Series->UpdateCount(), 0);
  }
  EXPECT_EQ(Frames[1], (TValues{1.0 / 49 * 0.1, 1.0 / 49 * 0.7, 1.0 / 49 * 1.3}));
}

TEST_F(AnimationTest, DrawEveryGrowsGroupsInTurnLeavingEarlierOnesAtTheirValues) {
  for (int count : {5, 4}) {
    TValues v;
    for (int i = 1; i <= count; ++i) v.push_back(i * 10);
    SetValues(v);
    Frames.clear();
    Tool->SetSteps(2);
    Tool->SetDrawEvery(2);
    Tool->Execute();
    const size_t groups = count == 5 ? 3 : 2;
    ASSERT_EQ(Frames.size(), groups * 3) << count;
    // The second group's middle step: the first group done, the rest at the start.
    const TValues& f = Frames[4];
    EXPECT_EQ(f[0], 10);
    EXPECT_EQ(f[1], 20);
    EXPECT_EQ(f[2], 20);  // half way from 10 to 30
    EXPECT_EQ(f[size_t(count) - 1], count == 5 ? 10 : 25);
  }
}

TEST_F(AnimationTest, CircularLoopGrowsShrinksAndGrowsUntilOnStepStopsIt) {
  Tool->SetSteps(2);
  Tool->SetLoop(salCircular);
  Tool->OnStep = [this](TSeriesAnimationTool* T, int) {
    Frames.push_back(Values());
    if (Frames.size() == 8) T->Stop();
  };
  Tool->Execute();
  const std::vector<TValues> expected = {{10, 10, 10}, {10, 15, 20}, {10, 20, 30},  // growing
                                         {10, 20, 30}, {5, 10, 15},  {0, 0, 0},     // shrinking to 0
                                         {10, 10, 10}, {10, 15, 20}};
  EXPECT_EQ(Frames, expected);
  EXPECT_EQ(Values(), (TValues{10, 20, 30}));
  EXPECT_EQ(Stops, 1);
}

TEST_F(AnimationTest, StopRestoresAtOnceAndExecuteDuringARunDoesNothing) {
  Tool->SetSteps(10);
  Tool->OnStep = [&](TSeriesAnimationTool* T, int k) {
    Frames.push_back(Values());
    if (k != 3) return;
    T->Execute();
    T->Stop();
  };
  Tool->Execute();
  EXPECT_EQ(Frames.size(), 4u);
  EXPECT_EQ(Starts, 1);
  EXPECT_EQ(Stops, 1);
  EXPECT_EQ(Values(), (TValues{10, 20, 30}));
}

TEST_F(AnimationTest, NoStepsAnimatesNothingYetStartsAndStops) {
  for (int steps : {0, -3}) {
    Starts = Stops = 0;
    Tool->SetSteps(steps);
    Tool->SetLoop(salOneWay);
    Tool->Execute();
    EXPECT_TRUE(Frames.empty());
    EXPECT_EQ(Starts, 1);
    EXPECT_EQ(Stops, 1);
    EXPECT_EQ(Values(), (TValues{10, 20, 30}));
  }
}

class AnimationFreeTest : public AnimationTest, public ::testing::WithParamInterface<int> {};

TEST_P(AnimationFreeTest, FreeingTheToolSeriesOrChartDuringAWaitEndsALoopingRun) {
  const int what = GetParam();
  Tool->SetLoop(salOneWay);
  Tool->SetDelay(3);
  TSeriesAnimationTool* tool = Tool;
  TestInput::PostCall(
      [&] {
        if (what == 0) delete Tool;
        else if (what == 1) delete Series;
        else delete Chart;  // and with it its tools and series
      },
      40);
  tool->Execute();
  EXPECT_FALSE(Frames.empty());
  if (what == 1) {
    EXPECT_TRUE(Tool->Stopped());
    EXPECT_EQ(Stops, 1);
  } else if (what == 0) {
    EXPECT_EQ(Values(), (TValues{10, 20, 30}));
    EXPECT_EQ(Series->UpdateCount(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(ToolSeriesChart, AnimationFreeTest, ::testing::Values(0, 1, 2));
