// Timers in nested loops, hints, and dialogs answered by the test script.
#include <memory>
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/dialogs.h"
#include "platform/rtl.h"
#include "platform/stdctrls.h"

using namespace formstest;

namespace {

// Time is counted in the ticks of a timer of the fixture's own, so that how fast the
// machine runs changes how long a check lasts, never what it finds.
class Timers : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    auto* clock = new TTimer(Form);
    clock->SetInterval(1);
    clock->OnTimer = [this](TObject*) { ++clockTicks_; };
  }
  void WaitTicks(int N) {
    const int until = clockTicks_ + N;
    TestInput::PumpUntil([&] { return clockTicks_ >= until; });
  }

private:
  int clockTicks_ = 0;
};

TEST_F(Timers, FiresInsideNestedLoopsButNeverInsideItself) {
  auto* timer = new TTimer(Form);
  timer->SetInterval(5);
  int depth = 0, maxDepth = 0, ticks = 0;
  timer->OnTimer = [&](TObject*) {
    ++ticks;
    maxDepth = std::max(maxDepth, ++depth);
    // A slow handler that runs the loop: ticks due meanwhile are dropped.
    if (ticks == 1) WaitTicks(6);
    --depth;
  };
  // Only a nested ProcessMessages runs here.
  TestInput::PumpUntil([&] { return ticks >= 3; });
  EXPECT_EQ(maxDepth, 1);
  // Disabled or interval 0: quiet.
  timer->SetEnabled(false);
  const int at = ticks;
  WaitTicks(4);
  EXPECT_EQ(ticks, at);
  timer->SetEnabled(true);
  timer->SetInterval(0);
  WaitTicks(4);
  EXPECT_EQ(ticks, at);
}

TEST_F(Timers, StopsAtOnceWhenFreedOrDisabledInItsHandler) {
  auto* freed = new TTimer(nullptr);
  freed->SetInterval(1);
  int freedTicks = 0;
  freed->OnTimer = [&](TObject* Sender) {
    ++freedTicks;
    delete static_cast<TTimer*>(Sender);
  };
  auto* disabled = new TTimer(Form);
  disabled->SetInterval(1);
  int disabledTicks = 0;
  disabled->OnTimer = [&](TObject*) {
    ++disabledTicks;
    disabled->SetEnabled(false);
    WaitTicks(5);  // the loop goes on in the handler; no second tick
  };
  WaitTicks(10);
  EXPECT_EQ(freedTicks, 1);
  EXPECT_EQ(disabledTicks, 1);
}

// Timers keep the loop's clock: on a stepped clock they tick at the stepped times,
// a new interval set in the handler counting from that tick.
TEST_F(Timers, TickOnTheLoopsClock) {
  TestInput::TSteppedClock clock;
  auto* timer = new TTimer(Form);
  std::vector<std::int64_t> at;
  timer->SetInterval(400);
  timer->OnTimer = [&](TObject*) {
    at.push_back(clock.ElapsedMs());
    timer->SetInterval(100);
  };
  while (clock.ElapsedMs() < 700) Application->ProcessMessages();
  EXPECT_EQ(at, (std::vector<std::int64_t>{400, 500, 600, 700}));
  timer->SetEnabled(false);
  const std::size_t n = at.size();
  while (clock.ElapsedMs() < 1000) Application->ProcessMessages();
  EXPECT_EQ(at.size(), n);
}

TEST_F(Timers, HintsShowAtAPointAndAreCancelled) {
  auto* panel = new TPanel(Form);
  panel->SetBounds(20, 20, 100, 50);
  panel->SetParent(Form);
  panel->SetHint("Speed of the run");
  ShowForm();
  const TPoint inside = panel->ClientToScreen({10, 10});
  TestHints::Clear();
  Application->ActivateHint(inside);
  EXPECT_EQ(Application->ShownHint(), "");  // ShowHint is off
  panel->SetShowHint(true);
  Application->SetHintColor(clYellow);
  Screen->HintFont()->SetSize(10);
  Application->ActivateHint(inside);
  EXPECT_EQ(Application->ShownHint(), "Speed of the run");
  Application->CancelHint();
  EXPECT_EQ(Application->ShownHint(), "");
  Application->ActivateHint(Form->ClientToScreen({300, 250}));  // the form has no hint
  EXPECT_EQ(Application->ShownHint(), "");
  // Recorded: the one hint shown, with its place, colour and font; one cancel.
  const auto shown = TestHints::Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Text, "Speed of the run");
  EXPECT_EQ(shown[0].Pos, inside);
  EXPECT_EQ(shown[0].Color, clYellow);
  EXPECT_EQ(shown[0].FontSize, 10);
  EXPECT_EQ(TestHints::Cancels(), 1);
  Application->SetHintColor(clInfoBk);
  Screen->HintFont()->SetSize(8);
}

class ScriptedDialogs : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    TestDialogs::Clear();
  }
  void TearDown() override {
    TestDialogs::Clear();
    FormTest::TearDown();
  }
};

TEST_F(ScriptedDialogs, MessageBoxesTakeQueuedAnswersAndOtherwiseCancel) {
  TestDialogs::AnswerButton(mrYes);
  EXPECT_EQ(MessageDlg("Delete Series1 ?", mtConfirmation, mbYes | mbNo, 0), mrYes);
  EXPECT_EQ(MessageDlgPos("Again?", mtWarning, mbOKCancel, 0, 120, 130), mrCancel);
  auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].Kind, "MessageDlg");
  EXPECT_EQ(asked[0].Title, "Confirm");
  EXPECT_EQ(asked[0].Text, "Delete Series1 ?");
  EXPECT_EQ(asked[0].Buttons, "Yes,No");
  EXPECT_TRUE(asked[0].Answered);
  EXPECT_EQ(asked[0].Result, "Yes");
  EXPECT_EQ(asked[1].Title, "Warning");
  EXPECT_EQ(asked[1].Pos, (TPoint{120, 130}));
  EXPECT_FALSE(asked[1].Answered);
  EXPECT_EQ(asked[1].Result, "Cancel");
}

TEST_F(ScriptedDialogs, InputQueryKeepsTheValueWhenCancelled) {
  std::string value = "10";
  TestDialogs::AnswerText("25");
  EXPECT_TRUE(InputQuery("Axis", "Increment:", value));
  EXPECT_EQ(value, "25");
  TestDialogs::AnswerCancel();
  EXPECT_FALSE(InputQuery("Axis", "Increment:", value));
  EXPECT_EQ(value, "25");
  auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].Title, "Axis");
  EXPECT_EQ(asked[0].Text, "Increment:");
  EXPECT_TRUE(asked[1].Answered);
  EXPECT_EQ(asked[1].Result, "Cancel");
}

TEST_F(ScriptedDialogs, ColourAndFontDialogsChangeOnlyWhenAccepted) {
  TColorDialog colour(nullptr);
  colour.SetColor(clRed);
  EXPECT_FALSE(colour.Execute());
  EXPECT_EQ(colour.Color(), clRed);
  TestDialogs::AnswerColor(clBlue);
  EXPECT_TRUE(colour.Execute());
  EXPECT_EQ(colour.Color(), clBlue);

  TFontDialog font(nullptr);
  font.Font()->SetColor(clGreen);
  TestDialogs::AnswerFont("Courier New", 12, FontStyles({fsBold}));
  EXPECT_TRUE(font.Execute());
  EXPECT_EQ(font.Font()->Name(), "Courier New");
  EXPECT_EQ(font.Font()->Size(), 12);
  EXPECT_EQ(font.Font()->Style(), FontStyles({fsBold}));
  EXPECT_EQ(font.Font()->Color(), clGreen);
  auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].Kind, "Color");
  EXPECT_FALSE(asked[0].Answered);
  EXPECT_EQ(asked[2].Kind, "Font");
}

TEST_F(ScriptedDialogs, FileDialogsFollowTheirOptions) {
  char pattern[] = "/tmp/phonark-dialogs-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::string existing = dir + "/chain.lum";
  { TFileStream f(existing, fmCreate); }

  TSaveDialog save(nullptr);
  save.SetTitle("Export");
  save.SetFilter("Native|*.lum|Text|*.txt;*.csv");
  save.SetFilterIndex(1);
  save.SetDefaultExt("lum");
  save.SetOptions(save.Options() | ofOverwritePrompt);
  // No to replacing keeps the dialog open; the next name is taken, with the default extension.
  TestDialogs::AnswerFile(existing);
  TestDialogs::AnswerButton(mrNo);
  TestDialogs::AnswerFile(dir + "/other", 2);
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), dir + "/other.lum");
  EXPECT_EQ(save.FilterIndex(), 2);
  auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].Kind, "Save");
  EXPECT_EQ(asked[0].Title, "Export");
  EXPECT_EQ(asked[0].Filter, "Native|*.lum|Text|*.txt;*.csv");
  EXPECT_EQ(asked[0].DefaultExt, "lum");
  EXPECT_EQ(asked[1].Kind, "MessageDlg");
  EXPECT_EQ(asked[1].Text, "chain.lum already exists.\nDo you want to replace it?");
  // Yes replaces.
  TestDialogs::AnswerFile(existing);
  TestDialogs::AnswerButton(mrYes);
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), existing);

  TOpenDialog open(nullptr);
  open.SetOptions(open.Options() | ofFileMustExist);
  TestDialogs::AnswerFile(dir + "/missing.lum");
  EXPECT_FALSE(open.Execute());  // refused, then nothing more queued: cancelled
  EXPECT_EQ(open.FileName(), "");
  EXPECT_EQ(open.FilterIndex(), 1);
  TestDialogs::AnswerFile(existing);
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), existing);
  asked = TestDialogs::Asked();
  EXPECT_EQ(asked.back().Kind, "Open");
  EXPECT_EQ(asked.back().Title, "Open");
  EXPECT_EQ(TestDialogs::PendingAnswers(), 0);
  DeleteFile(existing);
  rmdir(dir.c_str());
}

TEST_F(ScriptedDialogs, PictureDialogOffersTheRegisteredFormats) {
  TOpenPictureDialog dlg(nullptr);
  EXPECT_EQ(dlg.Filter(), TPicture::GraphicFilter(nullptr));
  EXPECT_NE(dlg.Filter().find("*.bmp"), std::string::npos);
  TestDialogs::AnswerFile("/tmp/x.bmp", 3);
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.FilterIndex(), 3);
}

}  // namespace
