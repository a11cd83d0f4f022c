// The run frame's order of work, followed through a recording host: when each
// model sleeps, when the pair checks hand over, what a step asks of the window.
#include <gtest/gtest.h>

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
  int pumps = 0;
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
  void SetWindowCaption(const std::string&) override { log.push_back("caption"); }
  void WriteText(int, int, const std::string&) override {}
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
    RunChain(*this, mode, sender);
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

TEST_F(RunFrame, PairChecksAndHandOver) {
  // Alternating sets C1 = 7, C2 = 4 before taking the mode, so their change
  // events redraw the old model; C1 = C2 later hands over to the monatomic run.
  h.script = [&](int n) {
    if (n == 2) h.in.C2 = 7;
    if (n == 4) StopRequested = true;
  };
  h.Click(cmAlternating);
  EXPECT_EQ(h.log.at(1), "C1C2 in mode -1");
  EXPECT_EQ(h.starts, (std::vector<int>{cmAlternating, cmMonatomic}));
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
  EXPECT_TRUE(k.messages.empty());
  // Diatomic checks them at every step, longitudinal ones too.
  RecordingHost d;
  d.longitudinal = true;
  d.script = [&](int n) { if (n == 2) d.in.M1 = 3; };
  d.Click(cmDiatomic);
  EXPECT_EQ(d.messages, std::vector<std::string>{MassMessage});
  EXPECT_EQ(d.pumps, 2);
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
