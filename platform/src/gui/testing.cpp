// Scripted input: events built the way the desktop would deliver them, sent from
// calls that the message loop runs.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOption>

#include <QTimer>

#include <cctype>
#include <cstdio>
#include <deque>

#include "forms_impl.h"
#include "platform/controls.h"
#include "platform/testing.h"

using namespace forms_detail;

namespace {

QPointer<QWidget> WidgetOf(TControl* C) { return C->GetImpl()->Widget; }

Qt::KeyboardModifiers Modifiers(TShiftState S) {
  Qt::KeyboardModifiers m;
  if (S & ssShift) m |= Qt::ShiftModifier;
  if (S & ssCtrl) m |= Qt::ControlModifier;
  if (S & ssAlt) m |= Qt::AltModifier;
  return m;
}

Qt::MouseButton QtButton(TMouseButton B) {
  return B == mbLeft ? Qt::LeftButton : B == mbRight ? Qt::RightButton : Qt::MiddleButton;
}

// Held buttons as the shift state says, so that drags carry them.
Qt::MouseButtons HeldButtons(TShiftState S) {
  Qt::MouseButtons b;
  if (S & ssLeft) b |= Qt::LeftButton;
  if (S & ssRight) b |= Qt::RightButton;
  if (S & ssMiddle) b |= Qt::MiddleButton;
  return b;
}

void SendMouse(QWidget* W, QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Held, QPoint P,
               Qt::KeyboardModifiers Mods) {
  // A press focuses the nearest widget that takes the focus by mouse, as the desktop's would.
  if (Type == QEvent::MouseButtonPress)
    for (QWidget* f = W; f; f = f->isWindow() ? nullptr : f->parentWidget())
      if (f->isEnabled() && (f->focusPolicy() & Qt::ClickFocus)) {
        f->setFocus(Qt::MouseFocusReason);
        break;
      }
  QMouseEvent e(Type, QPointF(P), W->mapToGlobal(QPointF(P)), Button, Held, Mods);
  QApplication::sendEvent(W, &e);
}

// Only what a user could reach: shown and enabled.
bool Reachable(const QPointer<QWidget>& W) { return W && W->isVisible() && W->isEnabled(); }

void SendKey(QWidget* Target, int QtKey, Qt::KeyboardModifiers Mods, const QString& Text) {
  QPointer<QWidget> t = Target;
  QKeyEvent press(QEvent::KeyPress, QtKey, Mods, Text);
  QApplication::sendEvent(t, &press);
  if (!t) return;
  QKeyEvent release(QEvent::KeyRelease, QtKey, Mods, Text);
  QApplication::sendEvent(t, &release);
}

QString KeyText(std::uint16_t Key, TShiftState Shift) {
  if (Shift & (ssCtrl | ssAlt)) return {};
  if (Key >= 'A' && Key <= 'Z') return QString(QChar((Shift & ssShift) ? Key : std::tolower(Key)));
  if (Key >= '0' && Key <= '9') return QString(QChar(Key));
  switch (Key) {
    case VK_SPACE: return " ";
    case VK_RETURN: return "\r";
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    case VK_ESCAPE: return QString(QChar(27));
    default: return {};
  }
}

bool steppedClockOn = false;

std::function<void(const std::string&)>& HangReport() {
  static std::function<void(const std::string&)> report;
  return report;
}

void ReportHang(const std::string& What) {
  if (HangReport()) HangReport()("hang guard: " + What);
  else std::fprintf(stderr, "hang guard: %s\n", What.c_str());
}

std::deque<std::function<void()>>& ModalScripts() {
  static std::deque<std::function<void()>> scripts;
  return scripts;
}

// Hands each modal loop its script and guards it against hanging: a loop still
// running after ModalHangMs is reported and ended.
class TModalScripts : public TModalWatcher {
public:
  void Started(TForm* Form) override {
    auto guard = std::make_unique<QTimer>();
    guard->setSingleShot(true);
    QPointer<QWidget> w = Form->GetImpl()->Widget;
    QObject::connect(guard.get(), &QTimer::timeout, [w] {
      auto* form = w ? dynamic_cast<TForm*>(ControlOf(w)) : nullptr;
      if (!form) return;
      ReportHang("the modal loop of " + form->ClassName() + " \"" + form->Caption() + "\" still ran after " +
                 std::to_string(TestInput::ModalHangMs) + " ms");
      form->SetModalResult(mrAbort);
    });
    guard->start(int(TestInput::ModalHangMs));
    guards_.push_back(std::move(guard));
  }
  void Pass(TForm*, int PassNo) override {
    if (PassNo != 1 || ModalScripts().empty()) return;
    std::function<void()> script = std::move(ModalScripts().front());
    ModalScripts().pop_front();
    script();
  }
  void Ended(TForm*) override {
    if (!guards_.empty()) guards_.pop_back();
  }

private:
  std::vector<std::unique_ptr<QTimer>> guards_;
};

void WatchModalLoops() {
  static TModalScripts watcher;
  SetModalWatcher(&watcher);
}

}  // namespace

namespace forms_detail {

void PostScripted(std::function<void()> Fn, unsigned DelayMs) {
  if (DelayMs != 0 && !steppedClockOn)
    throw EInvalidOperation("Scripted input is timed on a stepped clock only: post it from a loop step instead");
  PostToLoop(std::move(Fn), DelayMs);
}

}  // namespace forms_detail

namespace TestInput {

void PostClick(TControl* Control, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Control);
  PostScripted(
      [w] {
        if (!Reachable(w)) return;
        // Boxes are clicked on their indicator, everything else in its middle.
        bool box = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
        QPoint p = box ? QPoint(std::min(6, w->width() / 2), w->height() / 2) : w->rect().center();
        SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, p, {});
        if (w) SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p, {});
      },
      DelayMs);
}

namespace {

void PostMouse(TControl* Control, QEvent::Type Type, TMouseButton Button, int X, int Y, TShiftState Shift,
               unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Control);
  PostScripted(
      [=] {
        if (!Reachable(w)) return;
        Qt::MouseButton b = Type == QEvent::MouseMove ? Qt::NoButton : QtButton(Button);
        Qt::MouseButtons held = HeldButtons(Shift);
        if (Type == QEvent::MouseButtonPress) held |= b;
        if (Type == QEvent::MouseButtonRelease) held &= ~b;
        SendMouse(w, Type, b, held, {X, Y}, Modifiers(Shift));
      },
      DelayMs);
}

}  // namespace

void PostMouseDown(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift, unsigned DelayMs) {
  PostMouse(Control, QEvent::MouseButtonPress, Button, X, Y, Shift, DelayMs);
}

void PostMouseMove(TControl* Control, int X, int Y, TShiftState Shift, unsigned DelayMs) {
  PostMouse(Control, QEvent::MouseMove, mbLeft, X, Y, Shift, DelayMs);
}

void PostMouseUp(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift, unsigned DelayMs) {
  PostMouse(Control, QEvent::MouseButtonRelease, Button, X, Y, Shift, DelayMs);
}

void PostDblClick(TControl* Control, int X, int Y, TShiftState Shift, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Control);
  PostScripted(
      [=] {
        const QEvent::Type steps[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                      QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
        for (QEvent::Type t : steps) {
          if (!Reachable(w)) return;
          const bool down = t != QEvent::MouseButtonRelease;
          SendMouse(w, t, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton, {X, Y}, Modifiers(Shift));
        }
      },
      DelayMs);
}

void PostMouseLeave(TControl* Control, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Control);
  PostScripted(
      [w] {
        if (!w) return;
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
      },
      DelayMs);
}

void PostKey(std::uint16_t Key, TShiftState Shift, unsigned DelayMs) {
  PostScripted(
      [=] {
        QWidget* f = QApplication::focusWidget();
        // A modal window shown again may not be active yet: its keys go to it.
        if (QWidget* m = f ? nullptr : QApplication::activeModalWidget()) f = m->focusWidget() ? m->focusWidget() : m;
        if (f) SendKey(f, QtKeyOf(Key), Modifiers(Shift), KeyText(Key, Shift));
      },
      DelayMs);
}

void PostText(TWinControl* Control, const std::string& Text, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Control);
  PostScripted(
      [w, Text] {
        if (!Reachable(w)) return;
        w->setFocus(Qt::MouseFocusReason);
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) spin->selectAll();
        else if (auto* line = qobject_cast<QLineEdit*>(w)) line->selectAll();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) text->selectAll();
        else if (auto* edit = w->findChild<QLineEdit*>()) edit->selectAll();
        for (char ch : Text) {
          if (!w) return;
          SendKey(w, std::toupper((unsigned char)ch), Qt::NoModifier, QString(QChar(ch)));
        }
      },
      DelayMs);
}

void PostTrackBarMove(TTrackBar* Bar, int Position, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Bar);
  PostScripted(
      [w, Position] {
        if (!Reachable(w)) return;
        if (w->focusPolicy() & Qt::ClickFocus) w->setFocus(Qt::MouseFocusReason);
        if (auto* s = qobject_cast<QSlider*>(w.data())) s->setSliderPosition(Position);
      },
      DelayMs);
}

void PostSpin(TSpinEdit* Edit, bool Up, unsigned DelayMs) {
  QPointer<QWidget> w = WidgetOf(Edit);
  PostScripted(
      [w, Up] {
        if (!Reachable(w)) return;
        w->setFocus(Qt::MouseFocusReason);
        auto* s = static_cast<QAbstractSpinBox*>(w.data());
        if (Up) s->stepUp();
        else s->stepDown();
      },
      DelayMs);
}

void PostCall(std::function<void()> Call, unsigned DelayMs) { PostScripted(std::move(Call), DelayMs); }

bool PumpUntil(const std::function<bool()>& Done, unsigned MaxMs) {
  std::int64_t end = GetMicroseconds() + std::int64_t(MaxMs) * 1000;
  while (!Done() && GetMicroseconds() < end) {
    Application->ProcessMessages();
    if (!Done()) Sleep(1);
  }
  if (Done()) return true;
  ReportHang("a wait's condition did not come true within " + std::to_string(MaxMs) + " ms");
  return false;
}

void PumpPasses(int Passes) {
  for (int i = 0; i < Passes; ++i) Application->ProcessMessages();
}

void PumpFor(unsigned Ms) {
  if (!steppedClockOn) throw EInvalidOperation("A test waits by a stepped clock only: wait for what it expects instead");
  const std::int64_t end = GetMicroseconds() + std::int64_t(Ms) * 1000;
  while (GetMicroseconds() < end) {
    Application->ProcessMessages();
    Sleep(1);
  }
}

void WhenModal(std::function<void()> Script) {
  WatchModalLoops();
  ModalScripts().push_back(std::move(Script));
}

int PendingModalScripts() { return int(ModalScripts().size()); }

void ClearModalScripts() { ModalScripts().clear(); }

void SetHangReport(std::function<void(const std::string&)> Report) {
  HangReport() = std::move(Report);
  WatchModalLoops();
}

// The loop's side of the stepped clock.
class TSteppedClock::Stepper : public TLoopStepper {
public:
  explicit Stepper(TSteppedClock* Clock) : clock_(Clock) {}
  void Pass() override {
    ++clock_->passes_;
    clock_->now_ += clock_->step_;
  }
  void AdvanceTo(std::int64_t Microseconds) override { clock_->now_ = std::max(clock_->now_, Microseconds); }

private:
  TSteppedClock* clock_;
};

// Starts at the time of the clock it replaces, so timed calls and paint pacing
// carry on without a jump; the time it gained is handed back when it goes.
TSteppedClock::TSteppedClock(unsigned StepMs)
    : stepper_(std::make_unique<Stepper>(this)), start_(GetMicroseconds()),
      now_(start_), step_(std::int64_t(StepMs) * 1000) {
  SetClock(this);
  SetLoopStepper(stepper_.get());
  steppedClockOn = true;
}

TSteppedClock::~TSteppedClock() {
  steppedClockOn = false;
  SetLoopStepper(nullptr);
  SetClock(nullptr);
  ShiftTimedCalls(GetMicroseconds() - now_);
}

void TSteppedClock::Sleep(unsigned Milliseconds) { now_ += std::int64_t(Milliseconds) * 1000; }

}  // namespace TestInput

TRect CaptionRect(TControl* Control) {
  if (auto* label = dynamic_cast<TLabel*>(Control)) {
    if (label->Caption().empty()) return {};
    TCanvas* c = label->Canvas();
    c->SetFont(label->Font());
    const TSize s = c->TextExtent(StripAccelerator(label->Caption()));
    const int w = label->ClientWidth();
    const int x = label->Alignment() == taCenter ? (w - s.cx) / 2 : label->Alignment() == taRightJustify ? w - s.cx : 0;
    return Bounds(x, 0, s.cx, s.cy);
  }
  auto* button = qobject_cast<QAbstractButton*>(WidgetOf(Control).data());
  if (!button || button->text().isEmpty()) return {};
  const QFontMetrics fm(button->font());
  const int tw = fm.horizontalAdvance(button->text()), th = fm.height();
  QRect contents = button->rect();
  if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    contents = button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                                               &opt, button);
    return Bounds(contents.left(), contents.center().y() - th / 2, tw, th);
  }
  return Bounds(contents.center().x() - tw / 2, contents.center().y() - th / 2, tw, th);
}
