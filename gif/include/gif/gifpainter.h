// The animation painter: plays the frames of one image onto one canvas
// rectangle with their delays, disposal methods and loop count. A threaded
// painter waits on its own thread and has every drawing and every event run on
// the main thread through the synchronisation queue.
#pragma once
#include <atomic>
#include <exception>
#include <memory>

#include "gif/gifimage.h"
#include "platform/graphics.h"
#include "platform/threads.h"

// The painter's clock, waits and synchronisation. The default uses the real
// clock and the platform's queue; tests put in their own to run a painter's
// logic without real time.
class TGIFPainterEnv {
public:
  virtual ~TGIFPainterEnv() = default;
  virtual std::uint32_t Now();
  // The delay of a threaded painter: ends early when the event is set.
  virtual TWaitResult Wait(TSyncEvent& Event, unsigned TimeoutMs);
  // The delay of a painter on the caller's thread, in slices between message pumps.
  virtual void Sleep(unsigned Ms);
  // Runs the caller's pending messages; answers false once the application quits.
  virtual bool ProcessMessages();
  virtual void Synchronize(TThread* Thread, const TThreadMethod& Method);
};
// The environment new painters take; tests set their own and restore it.
TGIFPainterEnv* GetGIFPainterEnv();
void SetGIFPainterEnv(TGIFPainterEnv* Env);  // nullptr: the default

// Timing in delay units of 12 ms.
constexpr int GIFDelayUnitMs = 12;
constexpr int GIFDefaultDelay = 10;       // a frame without a delay
constexpr int GIFMinimumDelay = 3;        // shorter delays count as this
constexpr int GIFMaximumDelay = 1000;     // on the caller's thread
constexpr unsigned GIFNoSpeedWaitMs = 12000;  // caller's thread, speed below 1

class TGIFPainter : public TThread {
  DECLARE_CLASS(TGIFPainter, TThread)
public:
  // Only CreatePainter (gifrender.h) makes painters.
  TGIFPainter(TGIFImage* Image, TCanvas* ACanvas, const TRect& R, TFrameDrawOptions Options,
              TGIFPainter** Reference, TGIFPainterEnv* Env = nullptr);
  ~TGIFPainter() override;

  // The run: waits, draws and loops until done or stopped. Public so that the
  // caller's-thread painter and tests can run it directly.
  void Execute() override;
  // Resumes a threaded painter.
  void Start();
  // Ends the painter at its next test; a threaded one's wait ends at once.
  void Stop();
  // Runs the termination handler of a painter that played on the caller's thread.
  void Finish() { DoTerminate(); }
  // Keeps the bitmap that the target canvas belongs to alive while the painter runs.
  void KeepTarget(std::shared_ptr<TBitmap> Bitmap) { target_ = std::move(Bitmap); }

  TGIFImage* Image() const { return image_; }
  TCanvas* Canvas() const { return canvas_; }
  const TRect& Rect() const { return rect_; }
  TFrameDrawOptions DrawOptions() const { return options_; }
  int AnimationSpeed() const { return speed_; }
  int ActiveFrame() const { return activeFrame_; }
  void SetActiveFrame(int Value) { activeFrame_ = Value; }
  bool Painted() const { return painted_; }
  bool HasEvent() const { return event_ != nullptr; }
  TColor BackgroundColor() const { return background_; }
  TBitmap* FrameBuffer() const { return frameBuffer_.get(); }
  TBitmap* PreviousBuffer() const { return previousBuffer_.get(); }
  TBitmap* BackgroundBuffer() const { return backgroundBuffer_.get(); }
  TDisposalMethod Disposal() const { return disposal_; }
  // The exception that ended the run, if any.
  std::exception_ptr PendingException() const { return pending_; }
  // Set once the painter has left the image (its termination handler ran).
  bool Detached() const { return detached_; }

  TNotifyEvent OnAnimationStart, OnFramePaint, OnAfterFramePaint, OnAnimationLoop, OnAnimationEnd;

protected:
  // Termination handler: runs on the main thread, leaves the image's painter list.
  void DoTerminate() override;

private:
  void PlayFrames();
  void WaitFrame(int Delay, int& PreviousDelay, std::uint32_t& LastTime);
  TGIFSubImage* ActiveSubImage() const;
  void DoSynchronize(void (TGIFPainter::*Method)());
  void DoEvent(TNotifyEvent TGIFPainter::*Event);
  void DoPaint();
  void DoPaintFrame();
  void DoRestoreBackground(TGIFSubImage* Frame, TCanvas* Buffer);
  void Leave();
  std::unique_ptr<TBitmap> MakeBuffer(bool CopyTarget);

  TGIFImage* image_;
  TCanvas* canvas_;
  TRect rect_;
  TFrameDrawOptions options_;
  int speed_;
  std::atomic<int> activeFrame_{-1};
  TDisposalMethod disposal_ = dsKeep, previousDisposal_ = dsKeep;
  std::unique_ptr<TBitmap> frameBuffer_, previousBuffer_, backgroundBuffer_;
  TColor background_ = clNone;
  std::atomic<bool> painted_{false};
  std::atomic<bool> detached_{false};
  std::atomic<bool> running_{false};
  TGIFPainter** reference_;
  std::unique_ptr<TSyncEvent> event_;
  std::exception_ptr pending_;
  TGIFPainterEnv* env_;
  std::shared_ptr<TBitmap> target_;
};
