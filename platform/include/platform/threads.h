// Threads of the class library, Qt-free: TThread with Synchronize over our own
// queue, a locked list, and a simple event with a timed wait.
//
// Rule: everything that touches controls or canvases bound to controls runs on
// the main thread. A worker hands such work over with Synchronize; the main
// thread runs it when it calls CheckSynchronize, which the message loop and
// ProcessMessages do, and which a main thread that waits for a worker may call
// itself (TThread::WaitFor does).
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/classes.h"

using TThreadMethod = std::function<void()>;

// The main thread is the one that set itself up at start-up (the forms unit does)
// or, failing that, the first thread that created a TThread or checked the queue.
void SetMainThread();
bool IsMainThread();

// Runs the calls that workers have queued, on the main thread; a call from another
// thread raises EThread. With a timeout, waits that long for a first call when none
// is queued. Returns whether any call ran. Also starts threads that the main thread
// created running (see TThread).
bool CheckSynchronize(unsigned TimeoutMs = 0);

// The hook a worker calls whenever it queues a call, so that a message loop that
// sleeps can wake up and run it. The GUI library sets it; null does nothing. A
// worker calls it under a lock that this setter takes too: once the setter has
// returned, no worker is inside the old hook, so what it uses may go.
// Answers the hook it replaces.
using TWakeHook = void (*)();
TWakeHook SetWakeMainThread(TWakeHook Hook);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A thread object in the manner of the class library.
//
// C++ cannot run a derived Execute before the derived constructor has finished,
// so a thread created running (CreateSuspended false) starts at the first of:
// Start, WaitFor, or - when the main thread created it - the main thread's next
// CheckSynchronize (that is, its next message pump). A thread created suspended
// starts with Start (or Resume).
//
// When Execute returns (or raises: the exception is kept in FatalException),
// OnTerminate runs on the main thread through Synchronize, the thread counts as
// finished, and with FreeOnTerminate the object frees itself.
//
// Freeing: C++ destroys the derived part before TThread's destructor runs, so
// that destructor cannot wait for an Execute that still uses it. A class whose
// objects may be freed while they run calls TerminateAndWait first thing in its
// own destructor (after waking whatever its Execute waits on). TThread's
// destructor joins a thread that has finished and stops the program with a
// message when it finds one still running.
class TThread : public TObject {
  DECLARE_CLASS(TThread, TObject)
public:
  explicit TThread(bool CreateSuspended);
  ~TThread() override;

  void Start();  // EThread "Cannot call Start on a running or terminated thread"
  void Resume() { Start(); }
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Terminates and waits until the thread has finished (at once for one that
  // never started, which then never will); a thread freeing itself does not
  // wait for itself. For destructors of derived classes.
  void TerminateAndWait();
  // Waits until the thread has finished (running queued synchronised calls
  // meanwhile when called on the main thread); returns ReturnValue.
  int WaitFor();
  bool Finished() const { return finished_; }
  bool Suspended() const { return !started_; }

  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool v) { freeOnTerminate_ = v; }
  TThreadPriority Priority() const { return priority_; }
  void SetPriority(TThreadPriority v) { priority_ = v; }  // kept, not applied
  std::thread::id ThreadID() const { return id_; }
  int ReturnValue() const { return returnValue_; }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const { return fatal_; }

  TNotifyEvent OnTerminate;

  // Runs Method on the main thread and waits for it; an exception raised there
  // is raised again here. On the main thread it simply calls Method.
  static void Synchronize(TThread* AThread, const TThreadMethod& Method);

protected:
  virtual void Execute() = 0;
  // Runs OnTerminate on the main thread.
  virtual void DoTerminate();
  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  void SetReturnValue(int v) { returnValue_ = v; }

private:
  friend bool CheckSynchronize(unsigned);
  void Launch();
  void Run();

  std::thread thread_;
  std::thread::id id_;
  std::mutex m_;
  std::condition_variable cv_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> startPending_{false};  // created running, not yet launched
  std::atomic<bool> freeOnTerminate_{false};
  std::atomic<TThreadPriority> priority_{tpNormal};
  int returnValue_ = 0;
  std::exception_ptr fatal_;
};

// A list guarded by a (recursive) lock, in the manner of the class library.
template <class T>
class TThreadListOf {
public:
  TListOf<T>* LockList() { m_.lock(); return &list_; }
  void UnlockList() { m_.unlock(); }
  void Add(T v) { std::lock_guard<std::recursive_mutex> g(m_); if (list_.IndexOf(v) < 0) list_.Add(v); }
  void Remove(T v) { std::lock_guard<std::recursive_mutex> g(m_); list_.Remove(v); }
  void Clear() { std::lock_guard<std::recursive_mutex> g(m_); list_.Clear(); }

private:
  std::recursive_mutex m_;
  TListOf<T> list_;
};
using TThreadList = TThreadListOf<void*>;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };
constexpr unsigned INFINITE = 0xFFFFFFFFu;

// An event object: auto-reset by default (a wait that succeeds clears it).
// Named apart from the TEvent<> handler template.
class TSyncEvent {
public:
  explicit TSyncEvent(bool ManualReset = false, bool InitialState = false)
      : manual_(ManualReset), set_(InitialState) {}
  void SetEvent();
  void ResetEvent();
  TWaitResult WaitFor(unsigned TimeoutMs = INFINITE);

private:
  std::mutex m_;
  std::condition_variable cv_;
  bool manual_;
  bool set_;
};
