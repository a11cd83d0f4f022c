// The run frame's order of work, followed through a recording host: what each
// run sets up, when it sleeps and pumps, how runs nest and hand over, and how a
// single stop request unwinds them all.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "app/runframe.h"

using namespace Chain;

namespace {

struct RecordingHost : TChainHost {
  TChainInputs in;
  bool longitudinal = false, imaginary = false;
  int speed = 1, damp = 1;
  std::map<int, std::vector<TChainPoint>> series;
  std::map<int, TColor> colours;
  std::vector<std::string> log;  // set-up events in order
  std::vector<int> pauses, markerCalls, starts;
  std::vector<std::string> messages;
  std::string caption, line;
  int pumps = 0, depth = 0, maxDepth = 0;
  // Runs inside each pump with the pump's number: what a user does meanwhile.
  std::function<void(int)> script;

  RecordingHost() { in.KPosition = 500; }

  TChainInputs ReadInputs() override { return in; }
  bool LongitudinalChecked() override { return longitudinal; }
  bool ImaginaryChecked() override { return imaginary; }
  int SpeedPosition() override { return speed; }
  int DampPosition() override { return damp; }
  void ResetForceConstants(int c1, int c2) override {
    in.C1 = c1;
    in.C2 = c2;
    log.push_back("C1C2 in mode " + std::to_string(CurrentMode));
  }
  void SetWindowCaption(const std::string& t) override { caption = t; log.push_back("caption"); }
  void WriteText(int x, int y, const std::string& t) override {
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    line = t;
  }
  void ShowMessageBox(const std::string& t) override { messages.push_back(t); }
  void ClearSeries(int i) override { series[i].clear(); }
  void AddPoint(int i, const TChainPoint& p) override { series[i].push_back(p); }
  void SetSeriesColor(int i, TColor c) override { colours[i] = c; }
  void MarkerCallback(int i) override { markerCalls.push_back(i); }
  void DrawCurve(int mode, TObject*) override { log.push_back("curve " + std::to_string(mode)); }
  void Pause(int ms) override { pauses.push_back(ms); }
  void ProcessMessages() override {
    ++pumps;
    if (script) script(pumps);
    if (pumps > 500) StopRequested = true;  // a run that never ends fails, not hangs
  }
  void StartRun(int mode, TObject* sender) override {
    starts.push_back(mode);
    maxDepth = std::max(maxDepth, ++depth);
    RunChain(*this, mode, sender);
    --depth;
  }
  // A click on a run button.
  void Click(int mode) { StartRun(mode, nullptr); }
  void InterruptAt(int pump) {
    script = [this, pump](int n) { if (n == pump) StopRequested = true; };
  }
};

class RunFrame : public testing::Test {
protected:
  void SetUp() override {
    ResetUnitVariables();
    SetShowValues();
  }
  RecordingHost h;
};

}  // namespace

TEST_F(RunFrame, MonatomicSetUpAndTransverseSteps) {
  h.imaginary = true;
  h.InterruptAt(4);  // the set-up pump, then three steps
  h.Click(cmMonatomic);
  EXPECT_EQ(h.caption, "MONATOMIC CHAIN  written by Jory Vantrel, Tresvane");
  EXPECT_EQ(h.line, RunTexts(cmMonatomic).Line);
  EXPECT_EQ(CurrentMode, cmMonatomic);
  EXPECT_TRUE(IsMonatomic);
  EXPECT_EQ(MarkerSizeEven, 10);
  EXPECT_FLOAT_EQ(ZoneK, 1.570798f);
  ASSERT_EQ(h.series[siSites].size(), 14u);
  EXPECT_EQ(h.series[siSites][13].X, 13);
  EXPECT_EQ(h.series[siSites][13].Y, 1000);
  EXPECT_EQ(h.series[siSites][13].Color, clGray);
  EXPECT_EQ(h.log, (std::vector<std::string>{"caption", "curve 0"}));
  EXPECT_EQ(h.pauses, (std::vector<int>{1, 1, 1}));  // Speed 1: one millisecond per step
  EXPECT_EQ(h.series[siAtoms].size(), 12u);
  EXPECT_EQ(h.series[siWave1].size(), 131u);
  EXPECT_EQ(h.series[siImag1].size(), 131u);
  EXPECT_TRUE(h.series[siWave2].empty());
  EXPECT_EQ(h.colours[siWave1], clRed);
  EXPECT_EQ(h.colours[siWave2], clBlue);
  EXPECT_EQ(h.colours[siImag1], clRed);
  EXPECT_EQ(h.maxDepth, 1);
}

TEST_F(RunFrame, SpeedSetsEachModelsSleep) {
  for (int mode : {cmMonatomic, cmNextNeighbour, cmDiatomic, cmAlternating, cmCombined})
    for (bool longitudinal : {false, true}) {
      RecordingHost host;
      host.speed = 3;
      host.longitudinal = longitudinal;
      host.InterruptAt(3);
      host.Click(mode);
      ASSERT_EQ(host.pauses.size(), 2u);
      EXPECT_EQ(host.pauses[0], StepSleep(mode, longitudinal, 3)) << mode;
    }
}

TEST_F(RunFrame, StartingLongitudinalShowsItFromTheFirstFrame) {
  h.longitudinal = true;
  h.InterruptAt(2);
  h.Click(cmMonatomic);
  ASSERT_EQ(h.series[siAtoms].size(), 12u);
  EXPECT_EQ(h.series[siAtoms][0].Color, clNone);
  EXPECT_TRUE(h.series[siWave1].empty());
  EXPECT_EQ(h.pauses, (std::vector<int>{0}));

  RecordingHost d;
  d.longitudinal = true;
  d.InterruptAt(2);
  d.Click(cmCombined);
  EXPECT_EQ(d.series[siAtoms].size(), 10u);
  EXPECT_EQ(d.markerCalls.size(), 12u);  // combined asks for every atom, drawn or not
  EXPECT_EQ(MarkerSizeEven, 4);          // M2, not doubled
  EXPECT_EQ(MarkerSizeOdd, 8);
}

TEST_F(RunFrame, LongitudinalAndBackNestsOneLevelAndOneStopUnwindsAll) {
  for (int mode : {cmMonatomic, cmDiatomic, cmAlternating}) {
    RecordingHost host;
    host.script = [&](int n) {
      if (n == 3) host.longitudinal = true;   // transverse -> longitudinal in the same run
      if (n == 5) host.longitudinal = false;  // back: a nested run of the same model
      if (n == 8) StopRequested = true;
    };
    host.Click(mode);
    EXPECT_EQ(host.starts, (std::vector<int>{mode, mode})) << mode;
    EXPECT_EQ(host.maxDepth, 2);
    EXPECT_EQ(host.depth, 0);
  }
}

TEST_F(RunFrame, RunClickedDuringARunTakesOver) {
  h.script = [&](int n) {
    if (n == 2) h.Click(cmDiatomic);
    if (n == 4) StopRequested = true;
  };
  h.Click(cmMonatomic);
  EXPECT_EQ(h.starts, (std::vector<int>{cmMonatomic, cmDiatomic}));
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(h.caption, "DIATOMIC CHAIN  written by Jory Vantrel, Tresvane");
  EXPECT_EQ(h.series[siSites].size(), 13u);
  EXPECT_FLOAT_EQ(ZoneK, 0.785399f);
  // The outer run draws nothing after the inner one has ended.
  EXPECT_EQ(h.series[siWave1].size(), 121u);
}

TEST_F(RunFrame, DiatomicPairChecks) {
  // Equal masses at the start: caption, text and mode change, nothing is drawn.
  h.in.M1 = h.in.M2 = 5;
  h.Click(cmDiatomic);
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(h.log, (std::vector<std::string>{"caption"}));
  EXPECT_EQ(h.pumps, 0);
  EXPECT_EQ(MarkerSizeEven, 10);

  // M1 lowered to M2 during the run hands over to the monatomic run.
  RecordingHost d;
  d.script = [&](int n) {
    if (n == 2) d.in.M1 = d.in.M2;
    if (n == 4) StopRequested = true;
  };
  d.Click(cmDiatomic);
  EXPECT_EQ(d.starts, (std::vector<int>{cmDiatomic, cmMonatomic}));
  EXPECT_EQ(CurrentMode, cmMonatomic);

  // M1 below M2, at the start and during a longitudinal step: the message, and the run ends.
  for (int when : {0, 2}) {
    RecordingHost m;
    m.longitudinal = when != 0;
    if (when == 0) m.in.M1 = 3;
    m.script = [&](int n) { if (n == when) m.in.M1 = 3; };
    m.Click(cmDiatomic);
    EXPECT_EQ(m.messages, std::vector<std::string>{"M1 must be bigger or equal to M2"}) << when;
    EXPECT_EQ(m.starts.size(), 1u);
    EXPECT_LE(m.pumps, 3);
  }
}

TEST_F(RunFrame, AlternatingAndCombinedHandOver) {
  h.in.C1 = h.in.C2 = 9;
  h.script = [&](int n) {
    if (n == 2) h.in.C2 = 7;  // the user makes the pair equal
    if (n == 4) StopRequested = true;
  };
  h.Click(cmAlternating);
  // C1 = 7 and C2 = 4 are set before the mode changes, so their change events redraw the old model.
  EXPECT_EQ(h.log.at(1), "C1C2 in mode -1");
  EXPECT_EQ(h.starts, (std::vector<int>{cmAlternating, cmMonatomic}));
  EXPECT_EQ(MarkerSizeEven, 10);

  // Combined with both pairs equal at the start goes straight to the monatomic run.
  RecordingHost c;
  c.in.M1 = c.in.M2 = 6;
  c.in.C1 = c.in.C2 = 6;
  c.InterruptAt(2);
  c.Click(cmCombined);
  EXPECT_EQ(c.starts, (std::vector<int>{cmCombined, cmMonatomic}));
  // With only one pair equal it keeps running, and it checks the masses only at its start.
  RecordingHost k;
  k.in.C1 = k.in.C2 = 6;
  k.script = [&](int n) {
    if (n == 2) k.in.M1 = 3;
    if (n == 5) StopRequested = true;
  };
  k.Click(cmCombined);
  EXPECT_EQ(k.starts.size(), 1u);
  EXPECT_TRUE(k.messages.empty());
  EXPECT_EQ(k.pumps, 5);
}

TEST_F(RunFrame, TwoAtomStepCallsTheMarkerCallbackAndSetsColours) {
  h.imaginary = true;
  h.InterruptAt(2);
  h.Click(cmAlternating);
  EXPECT_EQ(h.markerCalls.size(), 24u);  // before and after every atom
  EXPECT_EQ(h.markerCalls[0], 0);
  EXPECT_EQ(h.markerCalls[23], 11);
  EXPECT_EQ(h.series[siImag2].size(), 121u);
  for (int i : {siWave1, siWave2, siImag1, siImag2}) EXPECT_EQ(h.colours[i], clRed);
  EXPECT_EQ(h.colours[siAtoms], clGreen);

  RecordingHost d;
  d.InterruptAt(2);
  d.Click(cmDiatomic);
  EXPECT_EQ(d.markerCalls.size(), 12u);
  EXPECT_EQ(d.colours[siWave1], clGreen);
  EXPECT_EQ(d.colours[siImag2], clRed);
  EXPECT_TRUE(d.series[siImag1].empty());  // Imaginary Wave unchecked
  EXPECT_EQ(MarkerSizeEven, 8);             // 2 x M2
  EXPECT_EQ(MarkerSizeOdd, 16);             // 2 x M1
}

TEST_F(RunFrame, TypedZeroMassesAreUsedAsOne) {
  h.in.M1 = 0;
  h.in.M2 = -4;
  h.InterruptAt(3);
  h.Click(cmCombined);
  EXPECT_TRUE(h.messages.empty());  // both read as 1: no mass message, no hand-over
  EXPECT_EQ(MarkerSizeEven, 2);
  for (const TChainPoint& p : h.series[siWave1]) ASSERT_TRUE(std::isfinite(p.Y));
}
