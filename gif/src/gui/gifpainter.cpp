#include "gif/gifpainter.h"

#include <algorithm>
#include <set>

#include "gif/gifrender.h"
#include "platform/forms.h"
#include "platform/threads.h"
#include "render_impl.h"

// ---------------------------------------------------------------------------
std::uint32_t TGIFPainterEnv::Now() { return GetTickCount(); }

TWaitResult TGIFPainterEnv::Wait(TSyncEvent& Event, unsigned TimeoutMs) { return Event.WaitFor(TimeoutMs); }

void TGIFPainterEnv::Sleep(unsigned Ms) {
  if (Ms == 0) std::this_thread::yield();
  else ::Sleep(Ms);
}

bool TGIFPainterEnv::ProcessMessages() {
  // Only the main thread pumps messages; elsewhere the wait is all there is.
  if (!IsMainThread()) return true;
  if (!Application) {
    CheckSynchronize();
    return true;
  }
  Application->ProcessMessages();
  return !Application->Terminated();
}

void TGIFPainterEnv::Synchronize(TThread* Thread, const TThreadMethod& Method) {
  TThread::Synchronize(Thread, Method);
}

namespace {
TGIFPainterEnv DefaultEnv;
std::atomic<TGIFPainterEnv*> CurrentEnv{&DefaultEnv};
}  // namespace

TGIFPainterEnv* GetGIFPainterEnv() { return CurrentEnv; }
void SetGIFPainterEnv(TGIFPainterEnv* Env) { CurrentEnv = Env ? Env : &DefaultEnv; }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TGIFPainter, TThread)

TGIFPainter::TGIFPainter(TGIFImage* Image, TCanvas* ACanvas, const TRect& R, TFrameDrawOptions Options,
                         TGIFPainter** Reference, TGIFPainterEnv* Env)
    : TThread(true),
      image_(Image),
      canvas_(ACanvas),
      rect_(R),
      options_(Options),
      speed_(Image->AnimationSpeed()),
      reference_(Reference),
      env_(Env ? Env : GetGIFPainterEnv()) {
  if (reference_) *reference_ = this;
  TGIFImageList* frames = Image->Images();
  if ((options_ & fdThreaded) && (options_ & fdAnimate) && frames->Count() >= 2 && speed_ >= 0)
    event_ = std::make_unique<TSyncEvent>();

  if (Image->BackgroundColor() != clNone) background_ = Image->BackgroundColor();
  else if (Image->GlobalColorMap()->Count() == 0) background_ = clWindow;
  else background_ = Image->Header()->BackgroundColor();
  background_ = ColorToRGB(background_);

  std::set<int> disposals;
  for (int i = 0; i < frames->Count(); ++i)
    if (TGIFGraphicControlExtension* gce = frames->SubImages(i)->GraphicControlExtension())
      disposals.insert(gce->Disposal());
  if (options_ & fdClearOnLoop) disposals.insert(dsRestoreBackground);
  const bool restoreBackground = disposals.count(dsRestoreBackground) > 0;
  if (restoreBackground && (options_ & fdTransparent)) backgroundBuffer_ = MakeBuffer(true);
  if (restoreBackground || disposals.count(dsRestorePrevious)) {
    frameBuffer_ = MakeBuffer(true);
    previousBuffer_ = MakeBuffer(false);
  }
}

TGIFPainter::~TGIFPainter() {
  Terminate();
  if (event_) event_->SetEvent();
  TerminateAndWait();
}

std::unique_ptr<TBitmap> TGIFPainter::MakeBuffer(bool CopyTarget) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(rect_.Width(), rect_.Height());
  TCanvas* c = b->Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->Brush()->SetColor(background_);
  c->Brush()->SetStyle(bsSolid);
  if (CopyTarget && canvas_) c->CopyRect(::Rect(0, 0, rect_.Width(), rect_.Height()), canvas_, rect_);
  return b;
}

void TGIFPainter::Start() {
  if (Suspended()) TThread::Start();
}

void TGIFPainter::Stop() {
  Terminate();
  if (options_ & fdThreaded) {
    if (event_) event_->SetEvent();
    SetPriority(tpNormal);
    // A painter that runs its Execute directly (on the caller's thread) has no thread to wake.
    if (Suspended() && !Finished() && !running_) TThread::Start();
  }
}

void TGIFPainter::DoSynchronize(void (TGIFPainter::*Method)()) {
  if (Terminated()) return;
  if (!(options_ & fdThreaded)) {
    (this->*Method)();
    return;
  }
  // Stop may come while the call waits in the queue: it then does nothing.
  env_->Synchronize(this, [this, Method] {
    if (!Terminated()) (this->*Method)();
  });
}

void TGIFPainter::DoEvent(TNotifyEvent TGIFPainter::*Event) {
  if (!(this->*Event).Assigned()) return;
  if (Terminated()) return;
  auto fire = [this, Event] {
    if (!Terminated()) (this->*Event)(this);
  };
  if (options_ & fdThreaded) env_->Synchronize(this, fire);
  else fire();
}

void TGIFPainter::Execute() {
  running_ = true;
  try {
    PlayFrames();
  } catch (...) {
    // The error is raised again on the main thread by the image's next Draw.
    pending_ = std::current_exception();
    Terminate();
  }
  activeFrame_ = -1;
  try {
    DoEvent(&TGIFPainter::OnAnimationEnd);
  } catch (...) {
    if (!pending_) pending_ = std::current_exception();
  }
}

void TGIFPainter::PlayFrames() {
  const bool threaded = (options_ & fdThreaded) != 0;
  activeFrame_ = 0;
  DoEvent(&TGIFPainter::OnAnimationStart);
  painted_ = false;

  int loops = 1, loopStart = 0;
  bool loopSeen = false;
  int delay = threaded ? 0 : 1;  // in delay units until the wait turns it into milliseconds
  int previousDelay = 0;
  previousDisposal_ = dsKeep;
  std::uint32_t lastTime = env_->Now();
  TGIFImageList* frames = image_->Images();

  for (;;) {
    activeFrame_ = loopStart;
    if (painted_) DoEvent(&TGIFPainter::OnAnimationLoop);
    bool drewAny = false;
    for (;;) {
      const int index = activeFrame_;
      {
        // The main thread may edit the frames meanwhile: read them under their lock.
        auto lock = LockFrames(image_);
        if (index < 0 || index >= frames->Count() || frames->SubImages(index)->Empty()) break;
        if (delay >= 1) GetBitmap(frames->SubImages(index));  // built before the wait, so drawing is quick
      }
      if (delay < 1) env_->Sleep(0);
      else WaitFrame(delay, previousDelay, lastTime);
      if (Terminated()) break;
      DoEvent(&TGIFPainter::OnFramePaint);
      if (Terminated()) break;

      int nextDelay = GIFDefaultDelay;
      {
        auto lock = LockFrames(image_);
        if (index >= frames->Count()) break;  // the frame went while we waited
        TGIFSubImage* frame = frames->SubImages(index);
        disposal_ = dsKeep;
        TGIFExtensionList* exts = frame->Extensions();
        for (int e = 0; e < exts->Count(); ++e) {
          TGIFExtension* ext = exts->Extensions(e);
          if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(ext)) {
            if (loopSeen) continue;
            loopSeen = true;
            loops = loop->Loops();
            if (threaded && (loops == 0 || (options_ & fdLoopForever))) loops = -1;
            loopStart = activeFrame_;
          } else if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(ext)) {
            disposal_ = gce->Disposal();
          }
        }
        if (TGIFGraphicControlExtension* gce = frame->GraphicControlExtension(); gce && gce->Delay() != 0) {
          nextDelay = std::max(gce->Delay(), GIFMinimumDelay);
          if (!threaded) nextDelay = std::min(nextDelay, GIFMaximumDelay);
        }
      }

      DoSynchronize(frameBuffer_ ? &TGIFPainter::DoPaintFrame : &TGIFPainter::DoPaint);
      drewAny = true;
      previousDisposal_ = disposal_;
      if (Terminated()) break;

      delay = nextDelay;
      DoEvent(&TGIFPainter::OnAfterFramePaint);
      if (Terminated()) break;
      if (activeFrame_ == index) activeFrame_ = index + 1;
      if (!(options_ & fdAnimate)) break;
    }
    if (loops > 0) --loops;
    // A pass that showed nothing would only spin.
    if (!drewAny || Terminated() || !(options_ & fdAnimate) || !(options_ & fdLoop)) break;
    if (loops == 0 && !(options_ & fdLoopForever)) break;
  }
}

// Waits out Delay units (the previous frame's delay) less half the lag.
void TGIFPainter::WaitFrame(int Delay, int& PreviousDelay, std::uint32_t& LastTime) {
  const bool threaded = (options_ & fdThreaded) != 0;
  const std::uint32_t now = env_->Now();
  long long ms;
  if (speed_ < 1) {
    ms = threaded ? -1 : GIFNoSpeedWaitMs;
  } else {
    const int lag = (int(now - LastTime) - PreviousDelay) / 2;
    ms = MulDiv(Delay * GIFDelayUnitMs - lag, 100, speed_);
    PreviousDelay = int(ms);
  }
  LastTime = now;
  if (!threaded) {
    ms = std::max<long long>(ms, 1);
    while (ms > 0 && !Terminated()) {
      const std::uint32_t before = env_->Now();
      env_->Sleep(unsigned(std::min<long long>(ms, 100)));
      ms -= std::max<long long>(env_->Now() - before, 1);  // always progresses
      if (!env_->ProcessMessages()) Terminate();
    }
  } else if ((ms > 0 || speed_ == 0) && event_) {
    if (env_->Wait(*event_, ms < 0 ? INFINITE : unsigned(ms)) == wrSignaled) {
      PreviousDelay = 0;
      LastTime = env_->Now();
    }
  }
}

// The frame on show; nullptr when the frames were cut below it meanwhile.
TGIFSubImage* TGIFPainter::ActiveSubImage() const {
  const int index = activeFrame_;
  TGIFImageList* frames = image_->Images();
  return index >= 0 && index < frames->Count() ? frames->SubImages(index) : nullptr;
}

void TGIFPainter::DoPaint() {
  TGIFSubImage* frame = ActiveSubImage();
  if (!frame) return;
  Draw(frame, canvas_, rect_, (options_ & fdTile) != 0, (options_ & fdTransparent) != 0);
  painted_ = true;
}

void TGIFPainter::DoPaintFrame() {
  TGIFSubImage* frame = ActiveSubImage();
  if (!frame) return;
  const TRect whole = ::Rect(0, 0, rect_.Width(), rect_.Height());
  TCanvas* target = frameBuffer_->Canvas();
  TRect area = whole;
  TBitmap* shown = frameBuffer_.get();
  bool restore = false;
  if (disposal_ == dsRestoreBackground) {
    restore = true;
  } else if (disposal_ == dsRestorePrevious) {
    if (previousDisposal_ == dsUnspecified || previousDisposal_ == dsKeep) {
      // The frame buffer keeps the picture from before this frame.
      target = canvas_;
      area = rect_;
      shown = nullptr;
    } else {
      previousBuffer_->Canvas()->CopyRect(whole, frameBuffer_->Canvas(), whole);
      target = previousBuffer_->Canvas();
      shown = previousBuffer_.get();
    }
  }
  if ((options_ & fdClearOnLoop) && activeFrame_ == 0)
    DoRestoreBackground(image_->Images()->SubImages(0), frameBuffer_->Canvas());
  Draw(frame, target, area, (options_ & fdTile) != 0, (options_ & fdTransparent) != 0);
  if (shown) {
    canvas_->SetCopyMode(cmSrcCopy);
    canvas_->CopyRect(rect_, shown->Canvas(), whole);
  }
  if (restore) DoRestoreBackground(frame, frameBuffer_->Canvas());
  painted_ = true;
}

void TGIFPainter::DoRestoreBackground(TGIFSubImage* Frame, TCanvas* Buffer) {
  const TRect whole = ::Rect(0, 0, rect_.Width(), rect_.Height());
  const int w = image_->Width(), h = image_->Height();
  const bool tiled = (options_ & fdTile) != 0;
  auto eachTile = [&](auto&& Visit) { ForEachTile(Frame->Left(), Frame->Top(), w, h, whole, Visit); };
  if (!(options_ & fdTransparent) || !backgroundBuffer_) {
    Buffer->Brush()->SetColor(background_);
    if (tiled && Frame->Width() != w && Frame->Height() != h)
      eachTile([&](int x, int y) { Buffer->FillRect(Bounds(x, y, Frame->Width(), Frame->Height())); });
    else
      Buffer->FillRect(ScaleRect(Frame, whole));
    return;
  }
  TCanvas* back = backgroundBuffer_->Canvas();
  if (tiled) {
    eachTile([&](int x, int y) {
      TRect r = Bounds(x, y, Frame->Width(), Frame->Height());
      Buffer->CopyRect(r, back, r);
    });
  } else {
    TRect r = ScaleRect(Frame, whole);
    Buffer->CopyRect(r, back, r);
  }
}

void TGIFPainter::DoTerminate() {
  // From the painter's thread the handler runs on the main thread, where the
  // image's painter list and buffers are used.
  if ((options_ & fdThreaded) && !IsMainThread()) env_->Synchronize(this, [this] { Leave(); });
  else Leave();
}

void TGIFPainter::Leave() {
  if (detached_) return;
  if (image_) {
    TImagePainters& state = PaintersOf(image_);
    TListOf<TGIFPainter*>* list = state.Painters.LockList();
    if (reference_ && *reference_ == this) *reference_ = nullptr;
    list->Remove(this);
    state.Finished.push_back(this);
    state.Painters.UnlockList();
  }
  frameBuffer_.reset();
  previousBuffer_.reset();
  backgroundBuffer_.reset();
  target_.reset();
  detached_ = true;
}
