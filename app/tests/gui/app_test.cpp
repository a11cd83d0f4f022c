// The main window driven as a user would: its layout, the dispersion chart for
// every model, and real runs through the message loop with scripted input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "app/mainwindow.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/snapshot.h"
#include "platform/testing.h"
#include "platform/units.h"

using namespace Chain;
using namespace TestInput;

namespace {

class Units : public testing::Environment {
public:
  void SetUp() override { table.Initialize(); }
  void TearDown() override { table.Finalize(); }
  TUnitTable table{PhonarkUnits()};  // the program's own, GIF picture format included
};
const auto* units = testing::AddGlobalTestEnvironment(new Units);

// Every test runs on a stepped clock: the runs' sleeps and each message pump move
// the time on, so scripted input given a delay arrives at the same step of a run
// however loaded the machine is.
class MainWindow : public testing::Test {
protected:
  void SetUp() override {
    ResetUnitVariables();
    ClearRecordedMessages();
    ClearRecordedShellCalls();
    Form1 = new TForm1(Application);
    f = Form1;
    f->Show();
    // Every run setup clears the site bars once: counts runs, nested ones too.
    f->Series8->OnClearValues = [this](TObject*) { ++setups; };
    Watchdog(++generation);
  }
  void TearDown() override {
    EXPECT_FALSE(runaway) << "a run went on until the watchdog stopped it";
    StopRequested = true;
    delete f;
    Form1 = nullptr;
  }
  // Starts a run by its button and returns when it has ended; Interrupt after `ms`.
  void Run(TBitBtn* button, unsigned ms = 60) {
    PostClick(f->InterruptBtn, ms);
    button->Click();
  }
  // A run that never ends fails instead of hanging: every 5 s of the clock, within
  // this test only, the watchdog asks all runs to stop.
  void Watchdog(int g) {
    PostCall([this, g] {
      if (g != generation) return;
      runaway = true;
      StopRequested = true;
      Watchdog(g);
    }, 5000);
  }
  std::string Title() const { return f->Chart2->Title()->Text()->Strings(0); }
  TChartSeries* ChainSeries(int i) const { return f->Chart1->GetSeries(i); }
  TSteppedClock clock;
  TForm1* f = nullptr;
  int setups = 0;
  bool runaway = false;
  static inline int generation = 0;
};

int Nulls(TChartSeries* s) {
  int n = 0;
  for (int i = 0; i < s->Count(); ++i) n += s->IsNull(i);
  return n;
}

}  // namespace

TEST_F(MainWindow, LayoutRangesHintsAndTabOrder) {
  EXPECT_EQ(f->Font()->Height(), -11);
  EXPECT_EQ(f->Chart1->BoundsRect(), Bounds(32, 48, 649, 473));
  EXPECT_EQ(f->Chart2->BoundsRect(), Bounds(708, 328, 217, 193));
  EXPECT_EQ(f->NextNBtn->BoundsRect(), Bounds(121, 8, 75, 25));
  EXPECT_EQ(f->NextNBtn->Parent(), f->Panel1);
  EXPECT_EQ(f->kValueBar->BoundsRect(), Bounds(100, 27, 29, 150));
  EXPECT_EQ(f->kValueBar->Parent(), f->Panel2);
  EXPECT_EQ(f->M2->BoundsRect(), Bounds(869, 188, 57, 22));
  EXPECT_EQ(f->Image1->BoundsRect(), Bounds(891, 20, 60, 60));
  EXPECT_EQ(f->Label5->Font()->Color(), clRed);
  // The animated picture, loaded from the form's picture data by its class name.
  TGraphic* picture = f->Image1->Picture()->Graphic();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->ClassName(), "TGIFImage");
  EXPECT_EQ(picture->Width(), 32);
  EXPECT_EQ(picture->Height(), 32);
  struct Spin { TSpinEdit* e; int lo, value; };
  for (Spin s : {Spin{f->C1, 1, 6}, {f->C2, 1, 4}, {f->M1, 1, 8}, {f->M2, 3, 4}}) {
    EXPECT_EQ(s.e->MinValue(), s.lo);
    EXPECT_EQ(s.e->MaxValue(), 20);
    EXPECT_EQ(s.e->Value(), s.value);
  }
  EXPECT_EQ(f->kValueBar->Max(), 1000);
  EXPECT_EQ(f->kValueBar->Position(), 1000);
  EXPECT_EQ(f->kValueBar->Orientation(), trVertical);
  EXPECT_EQ(f->SpeedBar->Max(), 30);
  EXPECT_EQ(f->DampBar->Max(), 20);
  EXPECT_EQ(f->DampBar->TickStyle(), tsNone);
  EXPECT_TRUE(f->AcousticRadio->Checked());
  EXPECT_FALSE(f->LongitudinalCheck->Checked());
  const std::pair<TControl*, const char*> hints[] = {
      {f->MonatomicBtn, "Run Monatomic Chain"},
      {f->NextNBtn, "Monatomic chain with next neighbour force constants"},
      {f->DiatomBtn, "Run Diatomic Chain"},
      {f->AlternatingBtn, "Alternating force constants"},
      {f->CombinedBtn, "Two masses, two force constants"},
      {f->HelpBtn, "Open help file"},
      {f->InterruptBtn, "Allows interrupt of run"},
      {f->ExitBTn, "Exit the program"},
      {f->C1, "Change heavier mass for diatomic case"},
      {f->C2, "Change heavier mass for diatomic case"},
      {f->M1, "Change heavier mass for diatomic case"},
      {f->M2, "Change lower mass for diatomic case"},
      {f->AcousticRadio, "Select acoustic branch in diatromic case"},
      {f->OpticRadio, "Select optic branch in diatomic case"},
      {f->LongitudinalCheck, "Pick longitudinal oscillations"},
      {f->ImaginaryWaveCheck, "Run imaginary wave solutions"},
      {f->kValueBar, "Select wave-vector value"},
      {f->SpeedBar, "Select speed of simulation"},
      {f->DampBar, "Select damping term"},
      {f->Chart2, "Dispersion Curves"},
  };
  for (auto [control, hint] : hints) {
    EXPECT_EQ(control->Hint(), hint) << control->Name();
    EXPECT_TRUE(control->ShowHint()) << control->Name();
  }
  std::vector<TWinControl*> order;
  f->GetTabOrderList(order);
  std::string names;
  for (TWinControl* c : order) names += c->Name() + " ";
  EXPECT_EQ(names, "ExitBTn LongitudinalCheck Chart1 Chart2 M1 M2 AcousticRadio OpticRadio ImaginaryWaveCheck "
                   "HelpBtn InterruptBtn Panel1 MonatomicBtn DiatomBtn AlternatingBtn CombinedBtn NextNBtn C1 C2 "
                   "Panel2 kValueBar SpeedBar DampBar ");
}

TEST_F(MainWindow, ChartsHoldTheirSeriesInIndexOrder) {
  const char* chain[] = {"Series1", "Series2", "Series3", "Series4", "Series6", "Series7", "Series8"};
  ASSERT_EQ(f->Chart1->SeriesCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ChainSeries(i)->Name(), chain[i]);
  EXPECT_EQ(ChainSeries(0)->SeriesColor(), clRed);
  EXPECT_EQ(ChainSeries(0)->TreatNulls(), tnDontPaint);
  EXPECT_EQ(f->Series2->Pointer()->Style(), psCircle);
  EXPECT_EQ(f->Series2->OnGetPointerStyle.MethodName, "Series2GetPointerStyle");
  EXPECT_EQ(ChainSeries(4)->SeriesColor(), 4227072);
  EXPECT_EQ(f->Series6->LinePen()->Style(), psDot);
  EXPECT_EQ(f->Series8->BarWidthPercent(), 1);
  EXPECT_EQ(f->Series8->YOrigin(), -1);
  EXPECT_EQ(f->Series8->YValues()->Name(), "Bar");
  EXPECT_EQ(f->Chart1->LeftAxis()->Minimum(), -1);
  EXPECT_FALSE(f->Chart1->LeftAxis()->Automatic());
  ASSERT_EQ(f->Chart2->SeriesCount(), 3);
  EXPECT_EQ(f->Chart2->GetSeries(0)->Name(), "LineSeries1");
  EXPECT_EQ(f->Chart2->GetSeries(1)->Name(), "PointSeries1");
  EXPECT_EQ(f->Chart2->GetSeries(2)->Name(), "Series5");
  EXPECT_EQ(f->Chart2->ColorPaletteIndex(), 9);
  EXPECT_EQ(f->Chart2->OnAfterDraw.MethodName, "SelectDispersion");
  EXPECT_FALSE(f->Chart1->Zoom()->Allow());
  EXPECT_FALSE(f->Chart2->Zoom()->Allow());
}

TEST_F(MainWindow, ShowValuesAndNothingDrawnBeforeARun) {
  EXPECT_EQ(CurrentMode, cmNone);
  EXPECT_EQ(LatticeA, 4.0f);
  EXPECT_EQ(WaveAmplitude, 0.5);
  EXPECT_FLOAT_EQ(ZoneK, 1.570798f);
  EXPECT_FLOAT_EQ(DeltaK, 0.000785399f);
  EXPECT_EQ(f->Chart2->LeftAxis()->Title()->Caption(), "Omega");
  f->kValueBar->SetPosition(10);
  f->M1->SetValue(9);
  f->OpticRadio->SetChecked(true);
  PumpFor(50);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f->Chart2->GetSeries(i)->Count(), 0);
  EXPECT_EQ(Title(), "Dispersion Curve");
  // Help opens the file beside the executable with "open".
  const std::string help = ExtractFilePath(Application->ExeName()) + "PhonarkHlp.chm";
  f->HelpBtn->Click();
  EXPECT_EQ(RecordedShellCalls(), FileExists(help) ? std::vector<std::string>{"open " + help} : std::vector<std::string>{});
  EXPECT_EQ(RecordedMessages().size(), FileExists(help) ? 0u : 1u);
}

// When the help cannot be shown a message says so and names the file.
TEST_F(MainWindow, HelpFailureNamesTheFile) {
  const std::string exe = Application->ExeName();  // a file that exists
  SetTestShellOpener("false");                      // the opener finds no program for it
  f->OpenHelp(exe);
  SetTestShellOpener("/nonexistent/phonark-opener");  // no opener at all
  f->OpenHelp(exe);
  SetTestShellOpener("true");
  f->OpenHelp(exe);
  SetTestShellOpener("");
  f->OpenHelp(exe + ".missing.chm");
  const std::string none = "No program could open the help file " + exe + ".";
  EXPECT_EQ(RecordedMessages(),
            (std::vector<std::string>{none, none, "The help file " + exe + ".missing.chm does not exist."}));
}

// With the fonts the classic names map to, every caption is drawn whole: inside its
// control, inside its parent's area within the bevels, and over no other control.
TEST_F(MainWindow, CaptionsAreWholeAndOverlapNoOtherControl) {
  auto overlap = [](const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
  };
  auto inside = [](const TRect& a, const TRect& b) {
    return a.Left >= b.Left && a.Top >= b.Top && a.Right <= b.Right && a.Bottom <= b.Bottom;
  };
  int captions = 0;
  std::function<void(TWinControl*)> check = [&](TWinControl* parent) {
    TRect area = Rect(0, 0, parent->ClientWidth(), parent->ClientHeight());
    if (auto* panel = dynamic_cast<TPanel*>(parent)) {
      const int edge = ((panel->BevelOuter() != bvNone) + (panel->BevelInner() != bvNone)) * panel->BevelWidth();
      area = Rect(edge, edge, area.Right - edge, area.Bottom - edge);
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (auto* w = dynamic_cast<TWinControl*>(c)) check(w);
      const TRect own = CaptionRect(c);
      if (own.Width() <= 0) continue;
      ++captions;
      SCOPED_TRACE(c->Name());
      EXPECT_TRUE(inside(own, Rect(0, 0, c->Width(), c->Height())))
          << own.Left << "," << own.Top << " " << own.Width() << "x" << own.Height() << " in " << c->Width() << "x" << c->Height();
      const TRect r = Bounds(c->Left() + own.Left, c->Top() + own.Top, own.Width(), own.Height());
      EXPECT_TRUE(inside(r, area));
      for (int j = 0; j < parent->ControlCount(); ++j)
        if (j != i) {
          EXPECT_FALSE(overlap(r, parent->Controls(j)->BoundsRect())) << parent->Controls(j)->Name();
        }
    }
  };
  check(f);
  EXPECT_EQ(captions, 8 + 4 + 9);  // buttons, check boxes and radio buttons, labels
}

// Each mode's drawer through the change handlers, at several positions, masses
// and branches; no sequence of model changes trips an axis setter.
TEST_F(MainWindow, RedrawDispatchDrawsTheCurrentModel) {
  const int modes[] = {cmDiatomic, cmMonatomic, cmAlternating, cmNextNeighbour, cmCombined, cmDiatomic};
  for (int mode : modes)
    for (int pos : {1, 500, 1000}) {
      CurrentMode = mode;
      f->M1->SetValue(pos == 500 ? 8 : 6);
      f->OpticRadio->SetChecked(pos == 1000);
      f->AcousticRadio->SetChecked(pos != 1000);
      f->kValueBar->SetPosition(pos);
      f->kValueBarChange(f->kValueBar);
      TDispersionCurve want = DispersionFor(mode, {f->M1->Value(), 4, 6, 4, pos, pos == 1000}, 4.0f);
      SCOPED_TRACE(testing::Message() << "mode " << mode << " position " << pos);
      EXPECT_EQ(Title(), want.Title);
      EXPECT_EQ(f->Chart2->GetSeries(0)->Count(), 1000);
      EXPECT_EQ(f->Chart2->GetSeries(2)->Count(), want.Lower.empty() ? 0 : 1000);
      TChartSeries* point = f->Chart2->GetSeries(1);
      ASSERT_EQ(point->Count(), 2);
      EXPECT_DOUBLE_EQ(point->YValues()->GetValue(0), want.Selected.Y);
      EXPECT_DOUBLE_EQ(point->XValues()->GetValue(1), std::max(want.Selected.X, want.Mirror.X));
      EXPECT_EQ(point->GetValueColor(0), clRed);
      EXPECT_EQ(f->Chart2->BottomAxis()->Maximum(), want.BottomMax);
      EXPECT_EQ(f->Chart2->LeftAxis()->Maximum(), want.LeftMax);
      EXPECT_EQ(f->Chart2->BottomAxis()->Title()->Caption(), want.BottomTitle);
    }
  // Equal masses double the title's k through the spin edit's change event.
  CurrentMode = cmDiatomic;
  f->M1->SetText("4");
  EXPECT_EQ(Title(), "2 pi/a");
  // A text that is not a number reads as the edit's minimum (3 for M2).
  f->M2->SetText("x");
  EXPECT_EQ(Title(), "1 pi/a");
  f->M1->SetText("3");
  EXPECT_EQ(Title(), "2 pi/a");
}

// The wavelength line and the dotted centre line as they appear on screen.
TEST_F(MainWindow, WavelengthTextAndDottedLineAreDrawn) {
  auto shot = std::make_unique<TBitmap>();
  auto ink = [&](TRect r, TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += shot->Canvas()->Pixels(x, y) == c;
    return n;
  };
  Run(f->DiatomBtn);
  PumpFor(100);  // Chart2 paints, its after-draw redraws the curve
  RenderControl(f, shot.get());
  EXPECT_GT(ink(Rect(10, 30, 200, 44), clBlack), 30);  // "The wavelength is  2 a"
  const int x = f->Chart2->Left() + f->Chart2->ChartXCenter();
  const int top = f->Chart2->Top() + f->Chart2->ChartRect().Top, bottom = f->Chart2->Top() + f->Chart2->ChartRect().Bottom;
  for (int paint = 0; paint < 2; ++paint) {
    int black = ink(Rect(x, top + 5, x + 1, bottom - 5), clBlack);
    EXPECT_GT(black, (bottom - top) / 5);  // dotted: many black pixels, not all
    EXPECT_LT(black, bottom - top - 10);
    // A paint with nothing changed draws the line again over the new picture.
    f->Chart2->Repaint();
    RenderControl(f, shot.get());
  }
}

TEST_F(MainWindow, EachRunSetsCaptionModeAndFrame) {
  struct Case { TBitBtn* b; int mode; const char* caption; int atoms, wave; };
  const Case cases[] = {
      {f->MonatomicBtn, cmMonatomic, "MONATOMIC CHAIN  written by Jory Vantrel, Tresvane", 12, 131},
      {f->NextNBtn, cmNextNeighbour, "MONATOMIC CHAIN  written by Jory Vantrel, Tresvane", 12, 131},
      {f->DiatomBtn, cmDiatomic, "DIATOMIC CHAIN  written by Jory Vantrel, Tresvane", 12, 121},
      {f->AlternatingBtn, cmAlternating, "ALTERNATING FORCE CONSTANTS  written by Jory Vantrel, Tresvane", 12, 121},
      {f->CombinedBtn, cmCombined, "ALTERNATING FORCE CONSTANTS and MASSES  written by Jory Vantrel, Tresvane", 12, 121}};
  for (const Case& c : cases) {
    Run(c.b);
    EXPECT_EQ(f->Caption(), c.caption);
    EXPECT_EQ(CurrentMode, c.mode);
    EXPECT_EQ(ChainSeries(1)->Count(), c.atoms);
    EXPECT_EQ(ChainSeries(0)->Count(), c.wave);
    EXPECT_EQ(ChainSeries(4)->Count(), 0);  // Imaginary Wave unchecked
    EXPECT_EQ(ChainSeries(6)->Count(), c.wave == 131 ? 14 : 13);
  }
  EXPECT_EQ(f->C1->Value(), 7);  // set by the alternating run
  EXPECT_EQ(f->C2->Value(), 4);
  EXPECT_EQ(setups, 5);
  // The marker callback on the last (combined) run: even atoms red at 2 x M2, odd green at 2 x M1.
  f->Series2GetPointerStyle(f->Series2, 3);
  EXPECT_EQ(f->Series2->Pointer()->HorizSize(), 16);
  EXPECT_EQ(f->Series2->Pointer()->Color(), clGreen);
  f->Series2GetPointerStyle(f->Series2, 4);
  EXPECT_EQ(f->Series2->Pointer()->VertSize(), 8);
  EXPECT_EQ(f->Series2->Pointer()->Color(), clRed);
}

// Chart2's after-draw handler pumps no messages, so a click never starts a run
// inside Chart2's paint. The curve follows every change at once, and a chart whose
// model and inputs stay as drawn rests: its paints draw only the dotted line again.
TEST_F(MainWindow, DispersionChartFollowsChangesAndRestsWhenIdle) {
  CurrentMode = cmDiatomic;
  PostClick(f->MonatomicBtn);
  PostClick(f->InterruptBtn, 150);
  f->SelectDispersion(f->Chart2);
  EXPECT_EQ(setups, 0);
  PumpUntil([&] { return setups == 1 && StopRequested; }, 3000);
  EXPECT_EQ(CurrentMode, cmMonatomic);

  int redraws = 0, paints = 0;
  f->LineSeries1->OnClearValues = [&](TObject*) { ++redraws; };
  TNotifyEvent selectDispersion = f->Chart2->OnAfterDraw;
  f->Chart2->OnAfterDraw = [&](TObject* Sender) {
    ++paints;
    selectDispersion(Sender);
  };
  PumpFor(100);
  paints = redraws = 0;
  PumpFor(300);
  EXPECT_EQ(paints, 0);
  EXPECT_EQ(redraws, 0);
  // A change through a control: drawn at once, then painted once.
  CurrentMode = cmDiatomic;
  f->kValueBar->SetPosition(125);
  EXPECT_EQ(Title(), "0.13 pi/a");
  EXPECT_EQ(redraws, 1);
  PumpFor(300);
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(redraws, 1);
  // A change no control reports is drawn at the chart's next paint.
  CurrentMode = cmCombined;
  f->Chart2->Invalidate();
  PumpUntil([&] { return redraws == 2; }, 1000);
  EXPECT_EQ(f->Chart2->BottomAxis()->Maximum(), DispersionFor(cmCombined, {8, 4, 6, 4, 125}, 4.0f).BottomMax);
}

TEST_F(MainWindow, SpeedSetsTheSleepOfEachStep) {
  int steps = 0;
  f->Series1->OnClearValues = [&](TObject*) { ++steps; };
  f->SpeedBar->SetPosition(30);  // alternating: 299 ms per transverse step
  Run(f->AlternatingBtn, 400);
  // Set-up pumps at 1 ms; the steps pump at 301 and 601 ms, where the Interrupt is due.
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(clock.ElapsedMs(), 601);
  f->SpeedBar->SetPosition(1);  // diatomic: 0 ms, the pumps alone pace the run
  steps = 0;
  Run(f->DiatomBtn, 40);
  EXPECT_EQ(steps, 39);
}

TEST_F(MainWindow, LongitudinalDisplayAndNesting) {
  f->LongitudinalCheck->SetChecked(true);
  Run(f->MonatomicBtn);
  EXPECT_EQ(ChainSeries(1)->Count(), 12);
  EXPECT_EQ(Nulls(ChainSeries(1)), 2);
  EXPECT_EQ(ChainSeries(0)->Count(), 0);
  EXPECT_EQ(setups, 1);
  // Back to transverse during the longitudinal display: one nested run; one Interrupt ends both.
  f->ImaginaryWaveCheck->SetChecked(true);
  PostClick(f->LongitudinalCheck, 40);
  Run(f->DiatomBtn, 120);
  EXPECT_EQ(setups, 3);
  EXPECT_FALSE(f->LongitudinalCheck->Checked());
  EXPECT_EQ(ChainSeries(4)->Count(), 121);
  EXPECT_EQ(ChainSeries(5)->Count(), 121);
  // Combined longitudinal: ten atoms, no nulls.
  f->LongitudinalCheck->SetChecked(true);
  Run(f->CombinedBtn);
  EXPECT_EQ(ChainSeries(1)->Count(), 10);
  EXPECT_EQ(Nulls(ChainSeries(1)), 0);
}

// Values typed far above the edits' ranges, up to the largest 32-bit value, run in
// every model: no message, finite points in both charts, markers of a bounded size.
TEST_F(MainWindow, TypedValuesNearTheLimitRunEveryModel) {
  f->M1->SetText("2147483647");
  f->M2->SetText("2147483646");
  f->C1->SetText("2147483647");
  f->C2->SetText("2147483645");
  f->ImaginaryWaveCheck->SetChecked(true);
  for (TBitBtn* b : {f->MonatomicBtn, f->NextNBtn, f->DiatomBtn, f->AlternatingBtn, f->CombinedBtn}) {
    SCOPED_TRACE(b->Name());
    Run(b, 80);
    for (TChart* chart : {f->Chart1, f->Chart2})
      for (int i = 0; i < chart->SeriesCount(); ++i)
        for (int j = 0; j < chart->GetSeries(i)->Count(); ++j) {
          ASSERT_TRUE(std::isfinite(chart->GetSeries(i)->XValues()->GetValue(j)));
          ASSERT_TRUE(std::isfinite(chart->GetSeries(i)->YValues()->GetValue(j)));
        }
  }
  EXPECT_EQ(CurrentMode, cmCombined);
  EXPECT_EQ(MarkerSizeOdd, MaxMarkerSize);  // 2 x M1
  EXPECT_TRUE(std::isfinite(Omega));
  EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(MainWindow, RunsTakeOverAndHandOver) {
  // Diatomic clicked during a monatomic run takes over; one Interrupt ends both.
  PostClick(f->DiatomBtn, 30);
  Run(f->MonatomicBtn, 100);
  EXPECT_EQ(setups, 2);
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(f->Caption(), "DIATOMIC CHAIN  written by Jory Vantrel, Tresvane");
  // Equal masses at the start: caption and mode change, nothing drawn, the run ends by itself.
  f->M1->SetValue(4);
  CurrentMode = cmNone;
  f->DiatomBtn->Click();
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(setups, 2);
  // M1 lowered to M2 during a diatomic run hands over to the monatomic run.
  f->M1->SetValue(8);
  PostText(f->M1, "4", 30);
  Run(f->DiatomBtn, 100);
  EXPECT_EQ(CurrentMode, cmMonatomic);
  EXPECT_EQ(setups, 4);
  // Alternating: C1 = C2 during the run hands over to the monatomic run.
  PostText(f->C2, "7", 30);
  Run(f->AlternatingBtn, 100);
  EXPECT_EQ(CurrentMode, cmMonatomic);
  // Combined with both pairs equal at its start hands over at once; with one pair
  // equal it runs on, and it checks the masses only at its start.
  f->M1->SetValue(4);
  Run(f->CombinedBtn);
  EXPECT_EQ(CurrentMode, cmMonatomic);
  f->M1->SetValue(8);
  PostText(f->M1, "3", 30);
  Run(f->CombinedBtn, 100);
  EXPECT_EQ(CurrentMode, cmCombined);
  EXPECT_TRUE(RecordedMessages().empty());
  // M1 below M2 during a diatomic run, transverse or longitudinal: the message,
  // shown inside the run, ends it.
  for (bool longitudinal : {false, true}) {
    ClearRecordedMessages();
    f->LongitudinalCheck->SetChecked(longitudinal);
    f->M1->SetValue(8);
    PostText(f->M1, "3", 30);
    Run(f->DiatomBtn, 1500);
    EXPECT_EQ(RecordedMessages(), std::vector<std::string>{"M1 must be bigger or equal to M2"});
    EXPECT_FALSE(StopRequested);  // ended by the check, not by Interrupt
  }
}

// The user lowers M1 to M2 and presses Interrupt before the run's next step: the
// run ends and no monatomic run takes over. Inside an outer run, that ends too.
TEST_F(MainWindow, InterruptAndHandOverInOnePumpEndRuns) {
  PostClick(f->DiatomBtn, 20);
  PostText(f->M1, "4", 50);
  Run(f->MonatomicBtn, 50);
  EXPECT_EQ(setups, 2);
  EXPECT_EQ(CurrentMode, cmDiatomic);
  EXPECT_EQ(f->Caption(), "DIATOMIC CHAIN  written by Jory Vantrel, Tresvane");
  EXPECT_TRUE(StopRequested);
  // Unchecking Longitudinal with the Interrupt restarts nothing either.
  f->LongitudinalCheck->SetChecked(true);
  PostClick(f->LongitudinalCheck, 30);
  Run(f->NextNBtn, 30);
  EXPECT_EQ(setups, 3);
  EXPECT_FALSE(f->LongitudinalCheck->Checked());
  EXPECT_TRUE(StopRequested);
}

// Pictures for people to look at: PHONARK_APP_SNAPSHOTS=<folder> writes them.
TEST_F(MainWindow, Snapshots) {
  const char* dir = std::getenv("PHONARK_APP_SNAPSHOTS");
  if (!dir) GTEST_SKIP() << "PHONARK_APP_SNAPSHOTS not set";
  std::string d = std::string(dir) + "/";
  PumpFor(50);
  EXPECT_TRUE(SaveControlToPng(f, d + "window.png"));
  f->kValueBar->SetPosition(700);
  Run(f->DiatomBtn, 300);
  EXPECT_TRUE(SaveControlToPng(f, d + "diatomic.png"));
  f->LongitudinalCheck->SetChecked(true);
  Run(f->MonatomicBtn, 300);
  EXPECT_TRUE(SaveControlToPng(f, d + "longitudinal.png"));
  f->LongitudinalCheck->SetChecked(false);
  f->ImaginaryWaveCheck->SetChecked(true);
  f->kValueBar->SetPosition(400);
  Run(f->AlternatingBtn, 300);
  EXPECT_TRUE(SaveControlToPng(f, d + "alternating_imaginary.png"));
}

// Last: Exit makes this window the main form and ends the application's loop.
TEST_F(MainWindow, ExitAndCloseEndTheRunAndTheProgram) {
  PostCall([this] { f->Close(); }, 40);  // the title bar's close button
  Run(f->MonatomicBtn, 3000);
  EXPECT_TRUE(StopRequested);
  EXPECT_FALSE(f->Visible());
  delete f;
  Application->CreateForm(Form1);
  f = Form1;
  f->Show();
  PostClick(f->ExitBTn, 40);
  Run(f->MonatomicBtn, 3000);
  EXPECT_TRUE(Application->Terminated());
}

// The chain uses a typed number as it stands; one it cannot use so (not a number,
// beyond 32 bits, below 1) is shown as the number used once the edit loses focus.
TEST_F(MainWindow, ASpinEditShowsTheValueUsedWhenItLosesFocus) {
  struct Case { TSpinEdit* e; const char* typed; const char* shown; };
  const Case cases[] = {
      {f->M1, "1abc", "1"},      {f->M2, "abc", "3"},   {f->M2, "99999999999", "3"},
      {f->C1, "0", "1"},         {f->C2, "-7", "1"},    {f->M1, "50", "50"},
      {f->M2, "2", "2"},         {f->C1, "2147483647", "2147483647"},
  };
  f->ExitBTn->SetFocus();
  Application->ProcessMessages();
  for (const Case& c : cases) {
    c.e->SetFocus();
    c.e->SetText(c.typed);
    f->ExitBTn->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(c.e->Text(), c.shown) << c.e->Name() << " typed " << c.typed;
    EXPECT_EQ(ChainParam(c.e->Value()), std::stoll(c.shown));
  }
}

// Words drawn without antialiasing stay whole: inside a word no run of background
// columns is wider than a third of the font's space ("Com bined", "Volum e").
TEST_F(MainWindow, WordsHaveNoGapsInside) {
  // Widest run of columns without Ink between the first and the last inked column of R.
  auto widestGap = [](TBitmap* shot, const TRect& r, const std::function<bool(TColor)>& ink) {
    int first = -1, gap = 0, widest = 0;
    for (int x = r.Left; x < r.Right; ++x) {
      bool inked = false;
      for (int y = r.Top; y < r.Bottom && !inked; ++y) inked = ink(shot->Canvas()->Pixels(x, y));
      if (inked) {
        if (first >= 0) widest = std::max(widest, gap);
        first = first < 0 ? x : first;
        gap = 0;
      } else {
        ++gap;
      }
    }
    return first < 0 ? -1 : widest;
  };
  auto spaceWidth = [](TFont* font) {
    TBitmap b;
    b.SetSize(8, 8);
    b.Canvas()->Font()->Assign(font);
    return b.Canvas()->TextWidth(" ");
  };
  auto shot = std::make_unique<TBitmap>();
  RenderControl(f, shot.get());
  for (TBitBtn* b : {f->MonatomicBtn, f->NextNBtn, f->DiatomBtn, f->AlternatingBtn, f->CombinedBtn}) {
    SCOPED_TRACE(b->Caption());
    const TRect own = CaptionRect(b);
    TPoint at{b->Left() + own.Left, b->Top() + own.Top};
    for (TWinControl* p = b->Parent(); p && p != f; p = p->Parent()) at = {at.X + p->Left(), at.Y + p->Top()};
    const int gap = widestGap(shot.get(), Bounds(at.X, at.Y, own.Width(), own.Height()),
                              [](TColor c) { return c == clBlack; });
    ASSERT_GE(gap, 0) << "caption not drawn";
    EXPECT_LE(gap * 3, spaceWidth(b->Font()));
  }
  // A chart title in the charts' default font.
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, 300, 120);
  chart->SetView3D(false);
  for (const char* word : {"Volume", "Awesome", "Histogram", "Combined"}) {
    SCOPED_TRACE(word);
    chart->Title()->Text()->SetText(word);
    std::unique_ptr<TBitmap> pic(chart->CreateBitmap(clWhite, Rect(0, 0, 300, 120), pf24bit));
    const TColor colour = chart->Title()->Font()->Color();
    const int gap = widestGap(pic.get(), Rect(0, 0, 300, 30), [&](TColor c) { return c == colour; });
    ASSERT_GE(gap, 0) << "title not drawn";
    TFont font;
    font.SetName(chart->Title()->Font()->Name());
    font.SetHeight(chart->Title()->Font()->Height());
    EXPECT_LE(gap * 3, spaceWidth(&font));
  }
}
