// The timer component, the application's hint operations and the screen's areas.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QToolTip>

#include "forms_impl.h"
#include "platform/dialogs.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"
#include "platform/typinfo.h"

using namespace forms_detail;

// The timer runs on the message loop's own timed queue, so it keeps the loop's
// clock: a test's stepped clock drives it like the other delayed calls. Each arming
// has a number; a call of an older arming finds itself stale and does nothing.
struct TTimer::Impl {
  unsigned Arming = 0;
};

IMPLEMENT_CLASS_PROPS(TTimer, TComponent)

void TTimer::DefineProperties(TPropertyTable& t) {
  t.Int("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000LL);
  t.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  t.Event("OnTimer", &TTimer::OnTimer);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) { UpdateTimer(); }

TTimer::~TTimer() { *alive_ = false; }

void TTimer::SetInterval(unsigned Value) {
  if (Value == interval_) return;
  interval_ = Value;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (Value == enabled_) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  const unsigned arming = ++impl_->Arming;
  // Without the application there is no loop to tick in.
  if (!enabled_ || interval_ == 0 || !Application) return;
  PostToLoop(
      [this, arming, alive = alive_] {
        if (!*alive || arming != impl_->Arming) return;
        // The next tick is queued first, so a handler that changes the interval or
        // disables the timer replaces it.
        UpdateTimer();
        Tick();
      },
      interval_);
}

void TTimer::Tick() {
  // A tick due while the handler runs (in a loop it started) is dropped.
  if (inHandler_ || !enabled_ || !OnTimer) return;
  std::shared_ptr<bool> alive = alive_;
  inHandler_ = true;
  struct Reset {
    TTimer* t;
    std::shared_ptr<bool> alive;
    ~Reset() {
      if (*alive) t->inHandler_ = false;
    }
  } reset{this, alive};
  OnTimer(this);
}

// ---------------------------------------------------------------------------
namespace {

struct THintState {
  QPointer<QWidget> Host;
  std::string Text;
};

THintState& Hint() {
  static THintState s;
  return s;
}

// What the offscreen platform showed and withdrew, for the tests.
struct THintRecords {
  std::vector<TestHints::TShownHint> Shown;
  int Cancels = 0;
};

THintRecords& HintRecords() {
  static THintRecords r;
  return r;
}

// The control under a screen point: the innermost of ours in the top window there.
TControl* ControlAt(const TPoint& P) {
  const QPoint g(P.X, P.Y);
  const QWidgetList tops = QApplication::topLevelWidgets();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    QWidget* top = *it;
    if (!top->isVisible() || !top->frameGeometry().contains(g)) continue;
    QWidget* w = top->childAt(top->mapFromGlobal(g));
    for (; w; w = w->parentWidget())
      if (TControl* c = ControlOf(w)) return c;
    return ControlOf(top);
  }
  return nullptr;
}

}  // namespace

namespace forms_detail {

void ShowHintOf(TControl* Control, const TPoint& ScreenPos) {
  if (!Application || !Control || Control->Hint().empty() || !Control->ShowHint() || !Application->ShowHint()) return;
  QPalette pal = QToolTip::palette();
  pal.setColor(QPalette::ToolTipBase, ToQColor(Application->HintColor()));
  pal.setColor(QPalette::ToolTipText, ToQColor(Screen->HintFont()->Color()));
  QToolTip::setPalette(pal);
  QToolTip::setFont(ToQFont(*Screen->HintFont()));
  THintState& h = Hint();
  h.Host = Control->GetImpl()->Widget;
  h.Text = Control->Hint();
  if (RecordsInsteadOfShowing())
    HintRecords().Shown.push_back({h.Text, ScreenPos, Application->HintColor(), Screen->HintFont()->Name(),
                                   Screen->HintFont()->Size()});
  QToolTip::showText(QPoint(ScreenPos.X, ScreenPos.Y), QString::fromStdString(h.Text), h.Host, QRect(),
                     Application->HintHidePause());
}

}  // namespace forms_detail

void TApplication::ActivateHint(const TPoint& CursorPos) {
  HintLeave();
  ShowHintOf(ControlAt(CursorPos), CursorPos);
}

void TApplication::CancelHint() {
  if (RecordsInsteadOfShowing()) ++HintRecords().Cancels;
  HintLeave();
}

std::vector<TestHints::TShownHint> TestHints::Shown() { return HintRecords().Shown; }
int TestHints::Cancels() { return HintRecords().Cancels; }
void TestHints::Clear() { HintRecords() = {}; }

std::string TApplication::ShownHint() const {
  THintState& h = Hint();
  // The tip hides by itself after the hide pause; then nothing is shown.
  if (!h.Host || !QToolTip::isVisible()) h.Text.clear();
  return h.Text;
}

void forms_detail::ForgetHint() {
  Hint().Host = nullptr;
  Hint().Text.clear();
}

// ---------------------------------------------------------------------------
TRect TScreen::DesktopRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  QRect r = s->virtualGeometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

TRect TScreen::WorkAreaRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  QRect r = s->availableGeometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

// ---------------------------------------------------------------------------
// The splitter is left out: dialogs build theirs in code, and its bounds follow its
// alignment rather than what is set.
const std::vector<TClass>& forms_detail::DialogControlClasses() {
  static const std::vector<TClass> classes = {
      TEdit::StaticClass(),       TMemo::StaticClass(),      TUpDown::StaticClass(),
      TGroupBox::StaticClass(),   TRadioGroup::StaticClass(), TBevel::StaticClass(),
      TSpeedButton::StaticClass(), TScrollBar::StaticClass(), TTabControl::StaticClass(),
      TTabSheet::StaticClass(),   TPageControl::StaticClass(),
      TTimer::StaticClass(),      TColorDialog::StaticClass(), TFontDialog::StaticClass(),
      TOpenDialog::StaticClass(), TSaveDialog::StaticClass()};
  return classes;
}
