// The run frame followed step by step through a recording host: what a user does
// happens inside a numbered message pump, so hand-overs, restarts and Interrupts
// meet in exactly the pump the test names, however loaded the machine is.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

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
  int pumps = 0, depth = 0, maxDepth = 0;
  // Runs inside each pump with the pump's number: what the user does meanwhile.
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
  std::string caption, text;
  void SetWindowCaption(const std::string& c) override {
    caption = c;
    log.push_back("caption");
  }
  void WriteText(int, int, const std::string& t) override { text = t; }
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
  // A click on a run button (inside a pump: the new run nests in the running one).
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

TEST_F(RunFrame, SpeedSetsEachModelsSleep) {
  for (int mode : {cmMonatomic, cmNextNeighbour, cmDiatomic, cmAlternating, cmCombined})
    for (bool longitudinal : {false, true}) {
      RecordingHost host;
      host.speed = 3;
      host.longitudinal = longitudinal;
      host.InterruptAt(3);
      host.Click(mode);
      SCOPED_TRACE(testing::Message() << "mode " << mode << (longitudinal ? " longitudinal" : " transverse"));
      // Set-up pumps once, then one pump per step; the stop ends it before a third step.
      EXPECT_EQ(host.pumps, 3);
      ASSERT_EQ(host.pauses.size(), 2u);
      EXPECT_EQ(host.pauses[0], StepSleep(mode, longitudinal, 3));
      EXPECT_TRUE(StopRequested);
    }
}

TEST_F(RunFrame, PairChecksHandOverToTheMonatomicRun) {
  // Alternating sets C1 = 7, C2 = 4 before taking the mode, so their change
  // events redraw the old model; C1 = C2 later hands over to the monatomic run.
  h.script = [&](int n) {
    if (n == 2) h.in.C2 = 7;
    if (n == 4) StopRequested = true;
  };
  h.Click(cmAlternating);
  EXPECT_EQ(h.log.at(1), "C1C2 in mode -1");
  EXPECT_EQ(h.starts, (std::vector<int>{cmAlternating, cmMonatomic}));
  EXPECT_EQ(CurrentMode, cmMonatomic);
  // Combined with both pairs equal at the start goes straight to the monatomic run;
  // with one pair equal it keeps running and checks the masses only at its start.
  RecordingHost c;
  c.in.M1 = c.in.M2 = c.in.C1 = c.in.C2 = 6;
  c.InterruptAt(2);
  c.Click(cmCombined);
  EXPECT_EQ(c.starts, (std::vector<int>{cmCombined, cmMonatomic}));
  RecordingHost k;
  k.in.C1 = k.in.C2 = 6;
  k.script = [&](int n) {
    if (n == 2) k.in.M1 = 3;
    if (n == 5) StopRequested = true;
  };
  k.Click(cmCombined);
  EXPECT_EQ(k.starts.size(), 1u);
  EXPECT_EQ(k.pumps, 5);
  EXPECT_TRUE(k.messages.empty());
  // Diatomic with equal masses at its start ends there; lowered to M2 during the
  // run, transverse or longitudinal, it hands over.
  RecordingHost e;
  e.in.M1 = e.in.M2 = 5;
  e.Click(cmDiatomic);
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(e.pumps, 0);
  for (bool longitudinal : {false, true}) {
    RecordingHost d;
    d.longitudinal = longitudinal;
    d.script = [&](int n) {
      if (n == 2) d.in.M1 = d.in.M2;
      if (n == 5) StopRequested = true;
    };
    d.Click(cmDiatomic);
    EXPECT_EQ(d.starts, (std::vector<int>{cmDiatomic, cmMonatomic})) << longitudinal;
    EXPECT_EQ(d.pumps, 5);
  }
}

TEST_F(RunFrame, MassBelowItsPartnerShowsTheMessageAndEndsTheDiatomicRun) {
  for (bool longitudinal : {false, true}) {
    RecordingHost d;
    d.longitudinal = longitudinal;
    d.script = [&](int n) { if (n == 2) d.in.M1 = 3; };
    d.Click(cmDiatomic);
    EXPECT_EQ(d.messages, std::vector<std::string>{MassMessage});
    EXPECT_EQ(d.pumps, 2);
    EXPECT_FALSE(StopRequested);  // ended by the check, not by Interrupt
  }
}

TEST_F(RunFrame, TakeOverAndLongitudinalRestartNestAndOneInterruptEndsAll) {
  // Diatomic clicked during a monatomic run takes over inside it.
  h.script = [&](int n) {
    if (n == 3) h.Click(cmDiatomic);
    if (n == 6) StopRequested = true;
  };
  h.Click(cmMonatomic);
  EXPECT_EQ(h.starts, (std::vector<int>{cmMonatomic, cmDiatomic}));
  EXPECT_EQ(h.maxDepth, 2);
  EXPECT_EQ(h.pumps, 6);
  EXPECT_EQ(CurrentMode, cmDiatomic);
  // Each uncheck during a longitudinal display adds one nested run of the model.
  for (int mode : {cmMonatomic, cmNextNeighbour, cmDiatomic, cmAlternating, cmCombined}) {
    RecordingHost r;
    r.longitudinal = true;
    r.script = [&](int n) {
      if (n == 2) r.longitudinal = false;
      if (n == 4) r.longitudinal = true;
      if (n == 6) r.longitudinal = false;
      if (n == 9) StopRequested = true;
    };
    r.Click(mode);
    EXPECT_EQ(r.starts, std::vector<int>(3, mode)) << mode;
    EXPECT_EQ(r.maxDepth, 3);
  }
}

// An Interrupt in the same pump as a change that would hand the run over (or
// restart it) ends every run: nothing new starts and nothing clears the stop.
TEST_F(RunFrame, InterruptWithAHandOverInTheSamePumpEndsAllRuns) {
  struct Case {
    int mode;
    bool longitudinal;
    std::function<void(TChainInputs&, bool&)> change;
  };
  const Case cases[] = {
      {cmDiatomic, false, [](TChainInputs& in, bool&) { in.M1 = in.M2; }},
      {cmDiatomic, true, [](TChainInputs& in, bool&) { in.M1 = in.M2; }},
      {cmAlternating, false, [](TChainInputs& in, bool&) { in.C1 = in.C2; }},
      {cmAlternating, true, [](TChainInputs& in, bool&) { in.C1 = in.C2; }},
      {cmCombined, false, [](TChainInputs& in, bool&) { in.M1 = in.M2 = in.C1 = in.C2 = 5; }},
      {cmCombined, true, [](TChainInputs& in, bool&) { in.M1 = in.M2 = in.C1 = in.C2 = 5; }},
      // Unchecking Longitudinal restarts the run before its stop test.
      {cmMonatomic, true, [](TChainInputs&, bool& longitudinal) { longitudinal = false; }},
      {cmNextNeighbour, true, [](TChainInputs&, bool& longitudinal) { longitudinal = false; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.longitudinal ? " longitudinal" : " transverse"));
    ResetUnitVariables();
    SetShowValues();
    // The run is clicked inside a monatomic run, which must end as well.
    RecordingHost r;
    r.script = [&](int n) {
      if (n == 2) {
        r.longitudinal = c.longitudinal;
        r.Click(c.mode);
      }
      if (n == 5) {
        c.change(r.in, r.longitudinal);
        StopRequested = true;
      }
    };
    r.Click(cmMonatomic);
    EXPECT_EQ(r.starts, (std::vector<int>{cmMonatomic, c.mode}));
    EXPECT_TRUE(StopRequested);
    EXPECT_EQ(CurrentMode, c.mode);
    EXPECT_EQ(r.pumps, 5);  // no run took another step
    EXPECT_TRUE(r.messages.empty());
  }
}

TEST_F(RunFrame, InterruptDuringTheHandedOverRunsSetUpEndsAllRuns) {
  // M1 lowered to M2 at pump 3 hands over at the next step; the monatomic run's
  // set-up pumps (4) and the user's Interrupt arrives there.
  h.script = [&](int n) {
    if (n == 3) h.in.M1 = h.in.M2;
    if (n == 4) StopRequested = true;
  };
  h.Click(cmDiatomic);
  EXPECT_EQ(h.starts, (std::vector<int>{cmDiatomic, cmMonatomic}));
  EXPECT_EQ(h.pumps, 4);
  EXPECT_TRUE(StopRequested);
  EXPECT_EQ(CurrentMode, cmMonatomic);
  // The monatomic run drew no step: the wave is still the diatomic one.
  EXPECT_EQ(h.series[siWave1].size(), size_t(TwoAtomWavePoints));
}

TEST_F(RunFrame, TwoAtomStepsCallTheMarkerCallback) {
  h.InterruptAt(2);
  h.Click(cmAlternating);
  EXPECT_EQ(h.markerCalls.size(), 24u);  // before and after every atom
  EXPECT_EQ(h.colours[siAtoms], clGreen);
  RecordingHost d;
  d.longitudinal = true;
  d.InterruptAt(2);
  d.Click(cmCombined);
  EXPECT_EQ(d.markerCalls.size(), 12u);  // every atom, drawn or not
  EXPECT_EQ(MarkerSizeEven, 4);          // M2, not doubled
}

// A run clicked during another that ends without a stop (its mass check, its start
// with equal masses) hands the screen back: the outer run shows its own caption,
// text, sites and curve, and steps with its own mode, zone and markers.
TEST_F(RunFrame, ARunResumedAfterANestedOneEndedShowsItsOwnModelAgain) {
  struct Case {
    int outer, inner;
    bool longitudinal;
    int m1;  // M1 set just before the inner click (M2 is 4)
  };
  const Case cases[] = {
      {cmAlternating, cmDiatomic, false, 3},  // the mass message
      {cmAlternating, cmDiatomic, true, 3},
      {cmMonatomic, cmDiatomic, false, 4},    // equal masses: ends without drawing
      {cmNextNeighbour, cmCombined, true, 3},
      {cmCombined, cmDiatomic, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "outer " << c.outer << " inner " << c.inner << (c.longitudinal ? " longitudinal" : ""));
    ResetUnitVariables();
    SetShowValues();
    RecordingHost r;
    r.longitudinal = c.longitudinal;
    r.imaginary = true;
    int curvesBefore = 0;
    r.script = [&](int n) {
      if (n == 3) {
        r.in.M1 = c.m1;
        r.Click(c.inner);
        curvesBefore = int(r.log.size());
      }
      if (n == 6) StopRequested = true;
    };
    r.Click(c.outer);
    const TRunTexts texts = RunTexts(c.outer);
    EXPECT_EQ(r.starts, (std::vector<int>{c.outer, c.inner}));
    EXPECT_EQ(r.caption, texts.Caption);
    EXPECT_EQ(r.text, texts.Line);
    EXPECT_EQ(CurrentMode, c.outer);
    EXPECT_EQ(r.log.at(size_t(curvesBefore)), "caption");
    EXPECT_EQ(r.log.back(), "curve " + std::to_string(c.outer));
    EXPECT_EQ(r.series[siSites].size(), size_t(texts.Sites));
    const bool oneAtom = c.outer == cmMonatomic || c.outer == cmNextNeighbour;
    EXPECT_FLOAT_EQ(ZoneK, float((oneAtom ? TwoPi : Pi) / LatticeA));
    if (oneAtom) {
      EXPECT_EQ(MarkerSizeEven, 10);
      EXPECT_TRUE(r.series[siImag2].empty());  // the inner run's second imaginary wave is gone
    }
    EXPECT_EQ(r.pumps, 6);  // the outer run kept stepping
  }
}
