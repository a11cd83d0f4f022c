#include "platform/threads.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

namespace {

// One queued synchronised call; it lives on the waiting worker's stack.
struct SyncRequest {
  const TThreadMethod* Method;
  bool Done = false;
  std::exception_ptr Error;
};

// Shared state, built on first use (no work in static initialisers).
struct SyncState {
  std::mutex M;
  std::condition_variable Posted;  // a call was queued
  std::condition_variable Done;    // a call has run
  std::deque<SyncRequest*> Queue;
  std::vector<TThread*> PendingStarts;
  std::thread::id MainId;
  bool MainKnown = false;
  std::mutex WakeLock;  // held while the hook runs and while it is replaced
  TWakeHook Wake = nullptr;
};

SyncState& State() {
  static SyncState s;
  return s;
}

void EnsureMainKnown() {
  SyncState& s = State();
  std::lock_guard<std::mutex> g(s.M);
  if (!s.MainKnown) {
    s.MainId = std::this_thread::get_id();
    s.MainKnown = true;
  }
}

}  // namespace

TWakeHook SetWakeMainThread(TWakeHook Hook) {
  SyncState& s = State();
  std::lock_guard<std::mutex> g(s.WakeLock);
  return std::exchange(s.Wake, Hook);
}

void SetMainThread() {
  SyncState& s = State();
  std::lock_guard<std::mutex> g(s.M);
  s.MainId = std::this_thread::get_id();
  s.MainKnown = true;
}

bool IsMainThread() {
  SyncState& s = State();
  std::lock_guard<std::mutex> g(s.M);
  return !s.MainKnown || s.MainId == std::this_thread::get_id();
}

bool CheckSynchronize(unsigned TimeoutMs) {
  EnsureMainKnown();
  if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread other than the main thread");
  SyncState& s = State();
  std::deque<SyncRequest*> batch;
  std::vector<TThread*> starts;
  {
    std::unique_lock<std::mutex> lk(s.M);
    if (TimeoutMs > 0 && s.Queue.empty() && s.PendingStarts.empty())
      s.Posted.wait_for(lk, std::chrono::milliseconds(TimeoutMs), [&] { return !s.Queue.empty(); });
    batch.swap(s.Queue);
    starts.swap(s.PendingStarts);
  }
  for (TThread* t : starts) t->Launch();
  for (SyncRequest* r : batch) {
    try {
      (*r->Method)();
    } catch (...) {
      r->Error = std::current_exception();
    }
    std::lock_guard<std::mutex> g(s.M);
    r->Done = true;
    s.Done.notify_all();
  }
  return !batch.empty();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TThread, TObject)

TThread::TThread(bool CreateSuspended) {
  EnsureMainKnown();
  if (!CreateSuspended) {
    startPending_ = true;
    if (IsMainThread()) {
      SyncState& s = State();
      std::lock_guard<std::mutex> g(s.M);
      s.PendingStarts.push_back(this);
    }
  }
}

TThread::~TThread() {
  {
    SyncState& s = State();
    std::lock_guard<std::mutex> g(s.M);
    auto& p = s.PendingStarts;
    p.erase(std::remove(p.begin(), p.end(), this), p.end());
  }
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();  // freeing itself at the end of Run
    return;
  }
  if (!finished_) {
    // Its Execute may still use the derived part, which is gone: waiting now
    // would only hide the fault until it corrupts memory.
    std::fputs("A thread object was freed while its thread runs: its class's destructor must call "
               "TerminateAndWait\n", stderr);
    std::abort();
  }
  thread_.join();  // past finished_, Run touches only this base part
}

void TThread::TerminateAndWait() {
  Terminate();
  {
    SyncState& s = State();
    std::lock_guard<std::mutex> g(s.M);
    if (!started_) {  // never launched: keep it so
      startPending_ = false;
      auto& p = s.PendingStarts;
      p.erase(std::remove(p.begin(), p.end(), this), p.end());
      return;
    }
  }
  {
    std::lock_guard<std::mutex> g(m_);  // Launch sets id_ under it
    if (id_ == std::this_thread::get_id()) return;
  }
  WaitFor();
  if (thread_.joinable()) thread_.join();
}

void TThread::Launch() {
  {
    SyncState& s = State();
    std::lock_guard<std::mutex> g(s.M);
    if (started_) return;
    started_ = true;
    startPending_ = false;
    auto& p = s.PendingStarts;
    p.erase(std::remove(p.begin(), p.end(), this), p.end());
  }
  // Run waits for this assignment: a thread that frees itself must find thread_ set.
  std::lock_guard<std::mutex> g(m_);
  thread_ = std::thread([this] {
    { std::lock_guard<std::mutex> gate(m_); }
    Run();
  });
  id_ = thread_.get_id();
}

void TThread::Start() {
  if (started_ || finished_) throw EThread("Cannot call Start on a running or terminated thread");
  Launch();
}

void TThread::Run() {
  try {
    if (!terminated_) Execute();
  } catch (...) {
    fatal_ = std::current_exception();
  }
  bool freeIt = freeOnTerminate_;
  try {
    DoTerminate();
  } catch (...) {
    if (!fatal_) fatal_ = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> g(m_);
    finished_ = true;
    cv_.notify_all();
  }
  if (freeIt) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate.Assigned()) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor() {
  if (!started_) {
    if (!startPending_) throw EThread("Cannot wait for a thread that was never started");
    Launch();
  }
  if (std::this_thread::get_id() == id_) throw EThread("A thread cannot wait for itself");
  if (IsMainThread()) {
    // The worker may be waiting for us to run its synchronised calls.
    while (!finished_) {
      CheckSynchronize();
      std::unique_lock<std::mutex> lk(m_);
      cv_.wait_for(lk, std::chrono::milliseconds(1), [&] { return finished_.load(); });
    }
  } else {
    std::unique_lock<std::mutex> lk(m_);
    cv_.wait(lk, [&] { return finished_.load(); });
  }
  return returnValue_;
}

void TThread::Synchronize(TThread* AThread, const TThreadMethod& Method) {
  (void)AThread;
  if (IsMainThread()) {
    Method();
    return;
  }
  SyncState& s = State();
  SyncRequest r{&Method, false, nullptr};
  {
    std::lock_guard<std::mutex> g(s.M);
    s.Queue.push_back(&r);
    s.Posted.notify_all();
  }
  {
    std::lock_guard<std::mutex> g(s.WakeLock);
    if (s.Wake) s.Wake();
  }
  {
    std::unique_lock<std::mutex> lk(s.M);
    s.Done.wait(lk, [&] { return r.Done; });
  }
  if (r.Error) std::rethrow_exception(r.Error);
}

// ---------------------------------------------------------------------------
void TSyncEvent::SetEvent() {
  std::lock_guard<std::mutex> g(m_);
  set_ = true;
  if (manual_) cv_.notify_all();
  else cv_.notify_one();
}

void TSyncEvent::ResetEvent() {
  std::lock_guard<std::mutex> g(m_);
  set_ = false;
}

TWaitResult TSyncEvent::WaitFor(unsigned TimeoutMs) {
  std::unique_lock<std::mutex> lk(m_);
  auto isSet = [&] { return set_; };
  if (TimeoutMs == INFINITE) cv_.wait(lk, isSet);
  else if (!cv_.wait_for(lk, std::chrono::milliseconds(TimeoutMs), isSet)) return wrTimeout;
  if (!manual_) set_ = false;
  return wrSignaled;
}
