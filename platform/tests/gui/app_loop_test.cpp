// The message loop: nested runs through ProcessMessages, exceptions that reach the
// loop, closing the main form, modal forms and message boxes on the offscreen platform.
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest-spi.h>

#include "app_fixture.h"
#include "platform/dialogs.h"

using namespace formstest;

namespace {

// On a stepped clock: scripted input given a delay arrives at a fixed step of a run.
class AppLoop : public FormTest {
protected:
  TestInput::TSteppedClock Clock;
  TButton* AddButton(const std::string& caption, int left) {
    auto* b = Add<TButton>(left, 10, 80, 25);
    b->SetCaption(caption);
    return b;
  }
  // A run in the manner of an animation: steps that pump messages until stopped.
  int RunUntil(const bool& stop, int maxSteps = 2000) {
    int steps = 0;
    while (!stop && steps < maxSteps) {
      ++steps;
      Application->ProcessMessages();
      Sleep(1);
    }
    return steps;
  }
};

TEST_F(AppLoop, ClickDuringARunRunsItsHandlerNestedInsideThatRun) {
  TButton* run = AddButton("Run", 10);
  TButton* interrupt = AddButton("Interrupt", 100);
  std::vector<std::string> log;
  bool stop = false;
  int depth = 0;
  run->OnClick = [&](TObject*) {
    log.push_back("run starts");
    ++depth;
    TestInput::PostClick(interrupt, 30);
    int steps = RunUntil(stop);
    --depth;
    log.push_back("run ends after " + std::to_string(steps) + " steps");
  };
  interrupt->OnClick = [&](TObject*) {
    log.push_back("interrupt at depth " + std::to_string(depth));
    stop = true;
  };
  ShowForm();
  TestInput::PostClick(run);
  TestInput::PumpUntil([&] { return log.size() == 3; });
  // A step is one pump and a 1 ms sleep: the click due 30 ms on arrives in the 16th pump.
  EXPECT_EQ(log, (std::vector<std::string>{"run starts", "interrupt at depth 1", "run ends after 16 steps"}));
}

TEST_F(AppLoop, SecondRunNestsInsideTheFirstAndOneStopEndsBoth) {
  TButton* run = AddButton("Run", 10);
  TButton* stopButton = AddButton("Stop", 100);
  bool stop = false;
  int depth = 0, maxDepth = 0, ended = 0;
  run->OnClick = [&](TObject*) {
    stop = false;
    maxDepth = std::max(maxDepth, ++depth);
    if (depth == 1) TestInput::PostClick(run, 20);  // the user starts it again meanwhile
    else TestInput::PostClick(stopButton, 20);
    RunUntil(stop);
    --depth;
    ++ended;
  };
  stopButton->OnClick = [&](TObject*) { stop = true; };
  ShowForm();
  TestInput::PostClick(run);
  TestInput::PumpUntil([&] { return ended == 2; });
  EXPECT_EQ(maxDepth, 2);
  EXPECT_EQ(ended, 2);
}

TEST_F(AppLoop, ExceptionFromAHandlerIsShownAndEndsOnlyTheRunItStarted) {
  TButton* outer = AddButton("Outer", 10);
  TButton* inner = AddButton("Inner", 100);
  TButton* stopButton = AddButton("Stop", 190);
  bool stop = false, outerEnded = false;
  int innerSteps = 0, outerSteps = 0;
  std::size_t messagesWhenStopped = 0;
  outer->OnClick = [&](TObject*) {
    TestInput::PostClick(inner, 10);
    TestInput::PostClick(stopButton, 80);
    outerSteps = RunUntil(stop);
    outerEnded = true;
  };
  inner->OnClick = [&](TObject*) {
    // A nested run that fails at its third step.
    for (;;) {
      if (++innerSteps == 3) throw EConvertError("'x' is not a valid integer value");
      Application->ProcessMessages();
    }
  };
  stopButton->OnClick = [&](TObject*) {
    messagesWhenStopped = RecordedMessages().size();
    stop = true;
  };
  ShowForm();
  TestInput::PostClick(outer);
  TestInput::PumpUntil([&] { return outerEnded; });
  // The outer run outlived the failure and ended by its own Stop.
  EXPECT_TRUE(outerEnded);
  EXPECT_LT(outerSteps, 2000);
  EXPECT_EQ(messagesWhenStopped, 1u);
  EXPECT_EQ(innerSteps, 3);
  EXPECT_EQ(RecordedMessages(), std::vector<std::string>{"'x' is not a valid integer value"});

  // The loop goes on taking clicks after the failure.
  int later = 0;
  inner->OnClick = [&](TObject*) { ++later; };
  TestInput::PostClick(inner);
  TestInput::PumpUntil([&] { return later == 1; });
  EXPECT_EQ(later, 1);
}

TEST_F(AppLoop, OnExceptionTakesTheExceptionInsteadOfTheBoxAndAbortIsSilent) {
  TButton* b = AddButton("B", 10);
  std::vector<std::string> seen;
  Application->OnException = [&](TObject* sender, Exception* e) {
    seen.push_back(std::string(e->ClassName()) + ":" + e->Message + (sender == b ? " from b" : ""));
  };
  int n = 0;
  b->OnClick = [&](TObject*) {
    if (++n == 1) throw EInvalidOperation("bad");
    if (n == 2) throw EAbort("quiet");
    throw std::runtime_error("plain");
  };
  ShowForm();
  for (int i = 0; i < 3; ++i) TestInput::PostClick(b);
  TestInput::PumpUntil([&] { return n == 3; });
  EXPECT_EQ(seen, (std::vector<std::string>{"EInvalidOperation:bad from b", "Exception:plain from b"}));
  EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(AppLoop, TimedCallsFallDueByTheLoopsClockInTheirOrder) {
  std::vector<std::string> log;
  auto note = [&](const char* what) {
    return [&log, what, this] { log.push_back(what + std::string(" at ") + std::to_string(Clock.ElapsedMs())); };
  };
  TestInput::PostCall(note("a"), 10);
  TestInput::PostCall(note("b"), 5);
  TestInput::PostCall(note("c"), 10);  // due with a: after it
  TestInput::PostCall(note("now"));
  Application->ProcessMessages();  // step to 1 ms
  Sleep(3);                        // 4 ms, without waiting
  Application->ProcessMessages();  // 5 ms: b is due
  Sleep(100);
  // Posted before the pump that finds a and c due: it goes first.
  TestInput::PostCall(note("d"));
  Application->ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"now at 1", "b at 5", "d at 106", "a at 106", "c at 106"}));
  EXPECT_EQ(Clock.Passes(), 3);
  // Only the main thread's time is stepped.
  EXPECT_EQ(CurrentClock(), &Clock);
  TClock* other = &Clock;
  std::thread([&] { other = CurrentClock(); }).join();
  EXPECT_EQ(other, nullptr);
}

// A modal run ends by the button's modal result (or Close: mrCancel), and while it
// idles the loop goes straight to the next timed call.
TEST_F(AppLoop, ShowModalRunsUntilAButtonSetsTheModalResultIdlingToTheNextCall) {
  TForm* dialog = new TForm(Application);
  auto* ok = new TButton(dialog);
  ok->SetModalResult(mrOk);
  ok->SetParent(dialog);
  bool clicked = false;
  ok->OnClick = [&](TObject*) { clicked = true; };
  TestInput::PostCall([&] { EXPECT_TRUE(dialog->Visible()); });
  TestInput::PostClick(ok, 2000);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_GE(Clock.ElapsedMs(), 2000);
  EXPECT_LT(Clock.Passes(), 10);  // it did not step there a millisecond at a time
  TestInput::PostCall([&] { dialog->Close(); }, 10);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  delete dialog;
}

// Starts on the real clock.
using LoopClock = FormTest;

TEST_F(LoopClock, TimedCallsKeepTheirDelayWhenTheClockIsSwapped) {
  bool early = false, late = false;
  {
    TestInput::TSteppedClock ahead;
    Sleep(60000);                    // this clock runs a minute ahead of the real one
    TestInput::PostCall([&] { late = true; }, 20);
    TestInput::PostCall([&] { early = true; }, 60000);
  }
  // Back on the real clock the first call is 20 ms away, not a minute.
  EXPECT_TRUE(TestInput::PumpUntil([&] { return late; }, 3000));
  // The second is still most of a minute away on the next stepped clock.
  TestInput::TSteppedClock stepped;
  Sleep(40000);
  TestInput::PumpPasses();
  EXPECT_FALSE(early);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return early; }, 30000));
}

// Each modal loop takes the oldest script once its window is up, nested loops
// included: the Escape reaches the inner dialog, not the outer one it was queued in.
TEST_F(LoopClock, ModalLoopsTakeTheirScriptsInTurnAndTimedInputNeedsASteppedClock) {
  TForm* outer = new TForm(Form);
  TForm* inner = new TForm(Form);
  auto* open = new TButton(outer);
  open->SetParent(outer);
  auto* cancel = new TButton(inner);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  cancel->SetParent(inner);
  TModalResult innerResult = mrNone;
  open->OnClick = [&](TObject*) { innerResult = inner->ShowModal(); };
  TestInput::WhenModal([&] {
    TestInput::PostClick(open);
    TestInput::PostCall([&] { outer->SetModalResult(mrOk); });
  });
  TestInput::WhenModal([] { TestInput::PostKey(VK_ESCAPE); });
  EXPECT_EQ(outer->ShowModal(), mrOk);
  EXPECT_EQ(innerResult, mrCancel);
  EXPECT_EQ(TestInput::PendingModalScripts(), 0);

  EXPECT_THROW(TestInput::PostKey(VK_RETURN, 0, 20), EInvalidOperation);
  EXPECT_THROW(TestInput::PumpFor(20), EInvalidOperation);
  // A hang guard that fires fails the running test under its name.
  static bool never = false;
  EXPECT_NONFATAL_FAILURE(TestInput::PumpUntil([] { return never; }, 1),
                          "(LoopClock.ModalLoopsTakeTheirScriptsInTurnAndTimedInputNeedsASteppedClock)");
}

TEST_F(AppLoop, ClosingTheMainFormEndsRunOnlyWhenControlReturnsToIt) {
  // A private application object, so that terminating it leaves the others alone.
  TApplication* shared = Application;
  Application = new TApplication(nullptr);
  TForm* main = nullptr;
  Application->CreateForm(main);
  EXPECT_EQ(Application->MainForm(), main);
  TForm* second = nullptr;
  Application->CreateForm(second);
  EXPECT_EQ(Application->MainForm(), main);

  auto* exit = new TButton(main);
  exit->SetParent(main);
  std::vector<std::string> log;
  exit->OnClick = [&](TObject*) {
    main->Close();
    log.push_back(Application->Terminated() ? "terminated" : "running");
    // The handler goes on pumping after the close; the loop must wait for it.
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    log.push_back("handler done");
  };
  bool shown = false;
  main->OnShow = [&](TObject*) { shown = true; };
  TestInput::PostClick(exit, 20);
  Application->Run();
  log.push_back("run returned");
  EXPECT_TRUE(shown);
  EXPECT_TRUE(main->Visible());  // the window stays until the program ends
  EXPECT_EQ(log, (std::vector<std::string>{"terminated", "handler done", "run returned"}));

  delete Application;  // frees both forms
  Application = shared;
}

TEST_F(AppLoop, CloseAsksOnCloseQueryAndOnCloseDecidesWhatHappens) {
  TForm* other = new TForm(Application);
  other->Show();
  bool allow = false;
  TCloseAction action = caHide;
  std::vector<std::string> log;
  other->OnCloseQuery = [&](TObject*, bool& canClose) {
    log.push_back("query");
    canClose = allow;
  };
  other->OnClose = [&](TObject*, TCloseAction& a) {
    log.push_back("close");
    a = action;
  };
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  action = caNone;
  other->Close();
  EXPECT_TRUE(other->Visible());
  action = caHide;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close", "query", "close"}));

  // caFree frees the form from the loop, after the caller has returned.
  struct Watch : TComponent {
    using TComponent::TComponent;
    bool gone = false;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove && c != this) gone = true;
    }
  } watch(nullptr);
  other->FreeNotification(&watch);
  other->Show();
  action = caFree;
  other->Close();
  EXPECT_FALSE(watch.gone);
  Pump();
  EXPECT_TRUE(watch.gone);
}

TEST_F(AppLoop, ShowingCentresTheFormFiresOnShowAndFocusesTheActiveControl) {
  auto* first = AddButton("First", 10);
  auto* second = AddButton("Second", 100);
  int shows = 0, hides = 0;
  Form->OnShow = [&](TObject*) { ++shows; };
  Form->OnHide = [&](TObject*) { ++hides; };
  Form->SetPosition(poScreenCenter);
  Form->SetActiveControl(second);
  ShowForm();
  EXPECT_EQ(Form->Left(), (Screen->Width() - Form->Width()) / 2);
  EXPECT_EQ(Form->Top(), (Screen->Height() - Form->Height()) / 2);
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(first->Focused());
  EXPECT_EQ(Form->ActiveControl(), second);
  Form->Hide();
  Form->Show();
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(hides, 1);
  TPoint origin = second->ClientToScreen({0, 0});
  EXPECT_EQ(second->ScreenToClient({origin.X + 3, origin.Y + 4}), (TPoint{3, 4}));
}

}  // namespace
