// Threads: synchronised calls on the main thread, waiting, self-freeing threads,
// events and locked lists.
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "platform/threads.h"

using namespace formstest;

namespace {

// A thread whose body is a function, for the tests.
class TTestThread : public TThread {
public:
  TTestThread(bool suspended, std::function<void(TTestThread*)> body) : TThread(suspended), body_(std::move(body)) {}
  ~TTestThread() override { TerminateAndWait(); }
  using TThread::SetReturnValue;
  using TThread::Synchronize;

protected:
  void Execute() override { body_(this); }

private:
  std::function<void(TTestThread*)> body_;
};

TEST(Threads, SynchronizeRunsOnTheMainThreadWhileTheWorkerWaits) {
  std::thread::id mainId = std::this_thread::get_id();
  std::vector<int> order;
  TTestThread t(true, [&](TTestThread* self) {
    for (int i = 1; i <= 3; ++i)
      self->Synchronize([&, i] {
        EXPECT_EQ(std::this_thread::get_id(), mainId);
        order.push_back(i);
      });
    self->SetReturnValue(7);
  });
  EXPECT_TRUE(t.Suspended());
  t.Start();
  EXPECT_THROW(t.Start(), EThread);
  EXPECT_EQ(t.WaitFor(), 7);  // runs the queued calls meanwhile
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(t.Finished());
}

TEST(Threads, ExceptionsStayWithTheThreadThatRaisedThem) {
  std::string caught;
  TTestThread t(true, [&](TTestThread* self) {
    try {
      self->Synchronize([] { throw EInvalidGraphic("Bitmap image is not valid"); });
    } catch (EInvalidGraphic& e) {
      caught = e.Message;  // raised again in the worker, not on the main thread
    }
    throw std::runtime_error("painter failed");
  });
  t.Start();
  EXPECT_NO_THROW(t.WaitFor());  // the main thread's wait does not take the failures
  EXPECT_EQ(caught, "Bitmap image is not valid");
  ASSERT_TRUE(t.FatalException());
  EXPECT_THROW(std::rethrow_exception(t.FatalException()), std::runtime_error);
}

TEST(Threads, CheckSynchronizeRefusesOtherThreads) {
  bool refused = false;
  std::thread([&] { try { CheckSynchronize(); } catch (EThread&) { refused = true; } }).join();
  EXPECT_TRUE(refused);
}

class ThreadsInLoop : public FormTest {};

TEST_F(ThreadsInLoop, SelfFreeingThreadRunsOnTerminateFromTheMessageLoop) {
  std::thread::id mainId = std::this_thread::get_id();
  bool terminated = false, onMain = false;
  std::atomic<int> worked{0};
  // Created running: it starts once the creating main thread pumps its messages.
  auto* t = new TTestThread(false, [&](TTestThread* self) {
    worked = 1;
    self->Synchronize([&] { worked = 2; });
  });
  t->SetFreeOnTerminate(true);
  t->OnTerminate = [&](TObject*) {
    terminated = true;
    onMain = std::this_thread::get_id() == mainId;
  };
  EXPECT_EQ(worked, 0);
  EXPECT_TRUE(TestInput::PumpUntil([&] { return terminated; }));
  EXPECT_EQ(worked, 2);
  EXPECT_TRUE(onMain);
  // Freed by itself: leak and use-after-free checks of the sanitizer build catch faults here.
}

TEST_F(ThreadsInLoop, RunningLoopDrainsSynchronisedCallsWhileAHandlerRuns) {
  auto* b = Add<TButton>();
  std::atomic<int> delivered{0};
  TTestThread t(true, [&](TTestThread* self) {
    for (int i = 0; i < 5; ++i) self->Synchronize([&] { ++delivered; });
  });
  int insideHandler = -1;
  b->OnClick = [&](TObject*) {
    t.Start();
    TestInput::PumpUntil([&] { return delivered == 5; });
    insideHandler = delivered;
  };
  ShowForm();
  TestInput::PostClick(b);
  TestInput::PumpUntil([&] { return insideHandler >= 0; });
  EXPECT_EQ(insideHandler, 5);
  t.WaitFor();
}

// Execute works on members of the derived class until it is terminated.
class TBusyThread : public TThread {
public:
  explicit TBusyThread(std::atomic<int>* Sum) : TThread(true), sum_(Sum) {}
  ~TBusyThread() override { TerminateAndWait(); }
  std::atomic<bool> Running{false};

protected:
  void Execute() override {
    Running = true;
    while (!Terminated()) {
      items_.push_back(1);
      if (items_.size() > 64) items_.clear();
    }
    *sum_ = int(items_.size()) + 1;
  }

private:
  std::atomic<int>* sum_;
  std::vector<int> items_;
};

class TForgetfulThread : public TThread {
public:
  TForgetfulThread() : TThread(true) {}
  std::atomic<bool> Running{false};

protected:
  void Execute() override {
    Running = true;
    while (!Terminated()) std::this_thread::yield();
  }
};

TEST(Threads, FreeingARunningThreadWaitsBeforeItsOwnPartGoes) {
  std::atomic<int> sum{0};
  auto* t = new TBusyThread(&sum);
  t->Start();
  while (!t->Running) std::this_thread::yield();
  delete t;  // the sanitizer builds catch an Execute that outlives its members
  EXPECT_GT(sum, 0) << "Execute had ended before the object went";

  // Freed before it ran: a thread created running never starts then.
  std::atomic<bool> ran{false};
  auto* pending = new TTestThread(false, [&](TTestThread*) { ran = true; });
  delete pending;
  CheckSynchronize();
  TBusyThread never(&sum);  // suspended, never started: nothing to wait for
  EXPECT_FALSE(ran);
}

TEST(ThreadsDeathTest, AClassThatDoesNotWaitStopsTheProgramInsteadOfCorruptingIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        auto* t = new TForgetfulThread;
        t->Start();
        while (!t->Running) std::this_thread::yield();
        delete t;
      },
      // ThreadSanitizer, when built in, halts on the same fault first.
      "must call TerminateAndWait|data race on vptr");
}

// The wake-up hook is called by workers; once replaced, the old one is never
// running nor called again, so what it uses may be freed.
std::atomic<int> oldCalls{0};
std::atomic<bool> insideOld{false};
void SlowWake() {
  insideOld = true;
  ++oldCalls;
  for (int i = 0; i < 1000; ++i) std::this_thread::yield();  // slow enough to be caught inside
  insideOld = false;
}
void QuietWake() {}

TEST(Threads, ReplacedWakeHookIsNoLongerRunning) {
  TWakeHook previous = SetWakeMainThread(&SlowWake);
  std::atomic<bool> stop{false};
  TTestThread t(true, [&](TTestThread* self) {
    while (!stop) self->Synchronize([] {});
  });
  t.Start();
  while (oldCalls < 3) CheckSynchronize(1);
  EXPECT_EQ(SetWakeMainThread(&QuietWake), &SlowWake);
  EXPECT_FALSE(insideOld);
  const int calls = oldCalls;
  for (int i = 0; i < 20; ++i) CheckSynchronize(1);
  EXPECT_EQ(oldCalls, calls);
  stop = true;
  t.WaitFor();
  SetWakeMainThread(previous);
}

TEST(Threads, SyncEventWaitsTimesOutAndResets) {
  TSyncEvent autoReset;
  EXPECT_EQ(autoReset.WaitFor(0), wrTimeout);
  EXPECT_EQ(autoReset.WaitFor(5), wrTimeout);
  autoReset.SetEvent();
  EXPECT_EQ(autoReset.WaitFor(0), wrSignaled);
  EXPECT_EQ(autoReset.WaitFor(0), wrTimeout);  // a successful wait cleared it

  TSyncEvent manual(true, true);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);

  // An endless wait ends as soon as another thread sets the event.
  TSyncEvent wake;
  std::atomic<bool> woke{false}, waiting{false};
  std::thread waiter([&] {
    waiting = true;
    woke = wake.WaitFor(INFINITE) == wrSignaled;
  });
  while (!waiting) std::this_thread::yield();
  for (int i = 0; i < 1000; ++i) std::this_thread::yield();  // most likely inside the wait by now
  wake.SetEvent();
  waiter.join();
  EXPECT_TRUE(woke);
}

TEST(Threads, ThreadListIsGuardedAndKeepsNoDuplicates) {
  TThreadListOf<int*> list;
  int items[200];
  std::thread a([&] {
    for (int i = 0; i < 100; ++i) list.Add(&items[i]);
  });
  std::thread b([&] {
    for (int i = 100; i < 200; ++i) list.Add(&items[i]);
  });
  a.join();
  b.join();
  list.Add(&items[0]);
  TListOf<int*>* locked = list.LockList();
  EXPECT_EQ(locked->Count(), 200);
  list.Remove(&items[5]);  // the lock is recursive: the same thread may go on
  EXPECT_EQ(locked->Count(), 199);
  list.UnlockList();
}

}  // namespace
