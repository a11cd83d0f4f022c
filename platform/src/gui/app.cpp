// The application object, the message loop, the screen and the forms unit.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <map>
#include <vector>
#include <unistd.h>

#include "dialogs_impl.h"
#include "forms_impl.h"
#include "platform/lists.h"
#include "platform/controls.h"
#include "platform/threads.h"

using namespace forms_detail;

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// Qt hands a posted event over under locks of its own, which ThreadSanitizer
// cannot see (Qt is not built with it): events that workers post say so.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_release(void* Addr);
extern "C" void __tsan_acquire(void* Addr);
void HandOver(QEvent* E) { __tsan_release(E); }
void TakeOver(QEvent* E) { __tsan_acquire(E); }
#else
void HandOver(QEvent*) {}
void TakeOver(QEvent*) {}
#endif

// A call posted to the message loop.
class TCallEvent : public QEvent {
public:
  explicit TCallEvent(std::function<void()> Fn) : QEvent(Type()), Fn(std::move(Fn)) {}
  static QEvent::Type Type() {
    static const QEvent::Type t = QEvent::Type(QEvent::registerEventType());
    return t;
  }
  std::function<void()> Fn;
};

// Receives posted calls on the main thread.
class TLoopObject : public QObject {
public:
  bool event(QEvent* E) override {
    TakeOver(E);
    if (E->type() != TCallEvent::Type()) return QObject::event(E);
    Guard(Application, static_cast<TCallEvent*>(E)->Fn);
    return true;
  }
};

bool ownsQtApplication = false;

// Receives the workers' wake-ups. Apart from the application object, so that no
// worker reads Application; it goes only after the hook is unset.
TLoopObject* waker = nullptr;

void WakeForSynchronize() {
  // Called from a worker: posting is thread-safe.
  auto* e = new TCallEvent([] { CheckSynchronize(); });
  HandOver(e);
  QCoreApplication::postEvent(waker, e);
}

TLoopStepper* stepper = nullptr;

}  // namespace

struct TApplication::Impl {
  TLoopObject Loop;
  QTimer HintTimer;
  QPointer<QWidget> HintWidget;
  // Calls waiting for their time, by due time; equal times keep their posting order.
  std::multimap<std::int64_t, std::function<void()>> Timed;
  // Wakes the loop when the first timed call falls due by the real clock.
  QTimer DueTimer;

  // Queues the calls that are due behind what is already posted.
  void ReleaseDue() {
    const std::int64_t now = GetMicroseconds();
    while (!Timed.empty() && Timed.begin()->first <= now) {
      QCoreApplication::postEvent(&Loop, new TCallEvent(std::move(Timed.begin()->second)));
      Timed.erase(Timed.begin());
    }
    ArmDueTimer();
  }
  void ArmDueTimer() {
    // A stepped clock is moved on by the loop itself, never by real time.
    if (Timed.empty() || stepper) {
      DueTimer.stop();
      return;
    }
    const std::int64_t waitUs = Timed.begin()->first - GetMicroseconds();
    DueTimer.start(int(std::max<std::int64_t>(0, (waitUs + 999) / 1000)));
  }
  // One pass of the loop begins: a stepped clock moves on, and what is due is queued.
  void Pass() {
    if (stepper) stepper->Pass();
    ReleaseDue();
  }
};

// ---------------------------------------------------------------------------
namespace forms_detail {

void HandleCurrentException(TObject* Sender) {
  if (Application) {
    Application->HandleException(Sender);
    return;
  }
  try {
    throw;
  } catch (std::exception& e) {
    std::fprintf(stderr, "Exception: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Exception of unknown type\n");
  }
}

void PostToLoop(std::function<void()> Fn, unsigned DelayMs) {
  if (!Application) throw EInvalidOperation("The message loop needs the application: run FormsUnitInit first");
  TApplication::Impl* d = Application->GetImpl();
  if (DelayMs == 0) {
    QCoreApplication::postEvent(&d->Loop, new TCallEvent(std::move(Fn)));
    return;
  }
  d->Timed.emplace(GetMicroseconds() + std::int64_t(DelayMs) * 1000, std::move(Fn));
  d->ArmDueTimer();
}

namespace {
TModalWatcher* modalWatcher = nullptr;
}  // namespace

void SetModalWatcher(TModalWatcher* Watcher) { modalWatcher = Watcher; }
TModalWatcher* ModalWatcher() { return modalWatcher; }

void SetLoopStepper(TLoopStepper* Stepper) {
  stepper = Stepper;
  if (Application) Application->GetImpl()->ArmDueTimer();
}

void ShiftTimedCalls(std::int64_t ByMicroseconds) {
  if (!Application) return;
  TApplication::Impl* d = Application->GetImpl();
  std::multimap<std::int64_t, std::function<void()>> shifted;
  for (auto& [due, fn] : d->Timed) shifted.emplace_hint(shifted.end(), due + ByMicroseconds, std::move(fn));
  d->Timed = std::move(shifted);
  d->ArmDueTimer();
}

void HintEnter(TControl* Control) {
  if (!Application || Control->Hint().empty()) return;
  TApplication::Impl* d = Application->GetImpl();
  d->HintWidget = Control->GetImpl()->Widget;
  d->HintTimer.start(Application->HintPause());
}

void HintLeave() {
  if (!Application) return;
  TApplication::Impl* d = Application->GetImpl();
  d->HintTimer.stop();
  d->HintWidget = nullptr;
  QToolTip::hideText();
  ForgetHint();
}

}  // namespace forms_detail

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {
  std::string exe = ExeName();
  title_ = ChangeFileExt(ExtractFileName(exe), "");
  Impl* d = impl_.get();
  d->DueTimer.setSingleShot(true);
  d->DueTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&d->DueTimer, &QTimer::timeout, &d->Loop, [d] { d->ReleaseDue(); });
  d->HintTimer.setSingleShot(true);
  QObject::connect(&d->HintTimer, &QTimer::timeout, &d->Loop, [d] {
    TControl* c = d->HintWidget ? ControlOf(d->HintWidget) : nullptr;
    if (c) ShowHintOf(c, {QCursor::pos().x(), QCursor::pos().y()});
  });
}

TApplication::~TApplication() {
  // The forms go while the loop object can still take their posted calls.
  DestroyComponents();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

void TApplication::Initialize() {}

void TApplication::Run() {
  if (!mainForm_) return;
  if (showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::ProcessMessages() {
  CheckSynchronize();
  impl_->Pass();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  CheckSynchronize();
}

void TApplication::HandleMessage() {
  CheckSynchronize();
  Impl* d = impl_.get();
  d->Pass();
  if (!stepper || d->Timed.empty()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  } else {
    // Waiting would take no time on a stepped clock: go to the next timed call.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!d->Timed.empty()) stepper->AdvanceTo(d->Timed.begin()->first);
  }
  CheckSynchronize();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr ep = std::current_exception();
  if (!ep) return;
  auto deliver = [&](Exception* E) {
    if (!OnException) {
      ShowException(E);
      return;
    }
    try {
      OnException(Sender, E);
    } catch (Exception& again) {
      ShowException(&again);
    } catch (std::exception& again) {
      Exception x(again.what());
      ShowException(&x);
    }
  };
  try {
    std::rethrow_exception(ep);
  } catch (EAbort&) {
    // The silent exception.
  } catch (Exception& e) {
    deliver(&e);
  } catch (std::exception& e) {
    Exception x(e.what());
    deliver(&x);
  } catch (...) {
    Exception x("Exception of unknown type");
    deliver(&x);
  }
}

void TApplication::ShowException(Exception* E) {
  std::fprintf(stderr, "%s: %s\n", E->ClassName(), E->Message.c_str());
  std::fflush(stderr);
  dialogs_detail::MessageBox(E->Message, true);
}

std::string TApplication::ExeName() const {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

// ---------------------------------------------------------------------------
struct TScreen::Impl {
  std::map<int, QCursor*> Cursors;
  ~Impl() {
    for (auto& [n, c] : Cursors) delete c;
  }
};

IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner), impl_(std::make_unique<Impl>()), hintFont_(std::make_unique<TFont>()) {
  static const std::pair<TCursor, Qt::CursorShape> standard[] = {
      {crDefault, Qt::ArrowCursor},     {crNone, Qt::BlankCursor},        {crArrow, Qt::ArrowCursor},
      {crCross, Qt::CrossCursor},       {crIBeam, Qt::IBeamCursor},       {crSizeNESW, Qt::SizeBDiagCursor},
      {crSizeNS, Qt::SizeVerCursor},    {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},
      {crUpArrow, Qt::UpArrowCursor},   {crHourGlass, Qt::WaitCursor},    {crDrag, Qt::DragCopyCursor},
      {crNoDrop, Qt::ForbiddenCursor},  {crHSplit, Qt::SplitHCursor},     {crVSplit, Qt::SplitVCursor},
      {crMultiDrag, Qt::DragCopyCursor}, {crSQLWait, Qt::BusyCursor},     {crNo, Qt::ForbiddenCursor},
      {crAppStart, Qt::BusyCursor},     {crHelp, Qt::WhatsThisCursor},    {crHandPoint, Qt::PointingHandCursor},
      {crSizeAll, Qt::SizeAllCursor}};
  for (auto& [n, shape] : standard) impl_->Cursors[n] = new QCursor(shape);
}

TScreen::~TScreen() { SetCursor(crDefault); }

int TScreen::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 0;
}

HCURSOR TScreen::Cursors(int Index) const {
  auto it = impl_->Cursors.find(Index);
  if (it == impl_->Cursors.end()) it = impl_->Cursors.find(crDefault);
  return HCURSOR(it->second);
}

void TScreen::SetCursors(int Index, HCURSOR Handle) {
  auto* q = reinterpret_cast<QCursor*>(Handle);
  QCursor*& slot = impl_->Cursors[Index];
  if (slot == q) return;
  delete slot;
  slot = q ? q : new QCursor(Qt::ArrowCursor);
}

TCursor TScreen::AddCursor(HCURSOR Handle) {
  TCursor n = 1;
  while (impl_->Cursors.count(n)) ++n;
  SetCursors(n, Handle);
  return n;
}

void TScreen::SetCursor(TCursor Value) {
  if (Value == cursor_) return;
  const bool had = cursor_ != crDefault;
  cursor_ = Value;
  if (!qApp) return;
  if (Value == crDefault) {
    if (had) QGuiApplication::restoreOverrideCursor();
    return;
  }
  const QCursor& q = *reinterpret_cast<QCursor*>(Cursors(Value));
  // One override of ours on Qt's stack at a time: changed, not stacked.
  if (had) QGuiApplication::changeOverrideCursor(q);
  else QGuiApplication::setOverrideCursor(q);
}

HCURSOR CreateBitmapCursor(TBitmap* Image, int HotX, int HotY) {
  QImage img = BitmapToQImage(Image).convertToFormat(QImage::Format_ARGB32);
  QRgb clear = ToQRgb(Image->TransparentColor()) | 0xFF000000u;
  for (int y = 0; y < img.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((p[x] | 0xFF000000u) == clear) p[x] = 0;
  }
  return HCURSOR(new QCursor(QPixmap::fromImage(img), HotX, HotY));
}

// ---------------------------------------------------------------------------
namespace {

const std::vector<TClass>& ControlClasses() {
  static const std::vector<TClass> classes = {
      TForm::StaticClass(),     TButton::StaticClass(),      TBitBtn::StaticClass(),
      TPanel::StaticClass(),    TLabel::StaticClass(),       TSpinEdit::StaticClass(),
      TTrackBar::StaticClass(), TCheckBox::StaticClass(),    TRadioButton::StaticClass(),
      TImage::StaticClass(),    TPaintBox::StaticClass()};
  static const std::vector<TClass> all = [] {
    std::vector<TClass> c = classes;
    for (TClass d : DialogControlClasses()) c.push_back(d);
    for (TClass d : ListControlClasses()) c.push_back(d);
    return c;
  }();
  return all;
}

}  // namespace

void FormsUnitInit() {
  if (Application) return;
  SetMainThread();
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "phonark";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    ownsQtApplication = true;
  }
  QGuiApplication::setQuitOnLastWindowClosed(false);
  Application = new TApplication(nullptr);
  Screen = new TScreen(nullptr);
  waker = new TLoopObject;
  SetWakeMainThread(&WakeForSynchronize);
  for (TClass c : ControlClasses()) RegisterClass(c);
}

void FormsUnitDone() {
  if (!Application) return;
  for (TClass c : ControlClasses()) UnRegisterClass(c);
  SetWakeMainThread(nullptr);  // returns once no worker is inside the hook
  delete waker;
  waker = nullptr;
  CheckSynchronize();
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  if (ownsQtApplication) {
    delete QCoreApplication::instance();
    ownsQtApplication = false;
  }
}
