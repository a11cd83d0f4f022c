// Qt side of the controls: each control owns one widget; the widget reports its
// events back through a link that the control cuts before it goes.
#pragma once
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "canvas_qt.h"
#include "platform/forms.h"

namespace forms_detail {

// Minimum time between the starts of two paints of one control when the second was
// asked for while the first ran: one display frame.
constexpr int kFrameMs = 16;

QEvent::Type PaintRequestEvent();

// Hands the exception being handled to the application (or to standard error when
// there is none yet). Call inside a catch block.
void HandleCurrentException(TObject* Sender);

// Runs Fn, keeping any exception on our side of the Qt frame.
template <class F>
void Guard(TObject* Sender, F&& Fn) {
  try {
    Fn();
  } catch (...) {
    HandleCurrentException(Sender);
  }
}

// Runs Fn from the message loop (after DelayMs), guarded. EInvalidOperation when the
// forms unit is not set up. Delays count by the main thread's clock (GetMicroseconds):
// a call falls due at the first pass of the loop at or after its time and then
// queues behind what was posted before, in the order the calls fell due.
void PostToLoop(std::function<void()> Fn, unsigned DelayMs = 0);

// A clock that the message loop moves on itself (the tests' stepped clock): by one
// step at each pass, and to the next timed call when it would otherwise wait.
class TLoopStepper {
public:
  virtual ~TLoopStepper() = default;
  virtual void Pass() = 0;
  virtual void AdvanceTo(std::int64_t Microseconds) = 0;
};
// Installed while a stepped clock is; nullptr otherwise.
void SetLoopStepper(TLoopStepper* Stepper);
// What the tests' support watches of a form's modal loop: Started once its window
// is shown, Pass after each pass
// (the first is 1; by then the window is shown and active), Ended when the loop
// ends (the form may be gone by then: only its address is passed). Installed by
// the test support only; nullptr otherwise.
class TModalWatcher {
public:
  virtual ~TModalWatcher() = default;
  virtual void Started(TForm* Form) = 0;
  virtual void Pass(TForm* Form, int PassNo) = 0;
  virtual void Ended(TForm* Form) = 0;
};
void SetModalWatcher(TModalWatcher* Watcher);
TModalWatcher* ModalWatcher();
// Timed test input (DelayMs of the scripted posts) counts on a stepped clock only:
// EInvalidOperation otherwise, so that no test orders its input by real time.
void PostScripted(std::function<void()> Fn, unsigned DelayMs);

// Moves timed calls along when the clock is swapped, so none falls due early or
// late by the difference between the two clocks.
void ShiftTimedCalls(std::int64_t ByMicroseconds);

// The control a widget stands for (nullptr for widgets of others, or once cut).
TControl* ControlOf(QWidget* Widget);

// Hints: the application shows a control's hint after the hint pause.
void HintEnter(TControl* Control);
void HintLeave();
// Shows Control's hint at a screen point in the application's hint colour and the
// screen's hint font, hiding after the hint hide pause; ForgetHint drops the record.
void ShowHintOf(TControl* Control, const TPoint& ScreenPos);
void ForgetHint();

// Keys on their way to the focused control Win: the form sees them first when it has
// KeyPreview (setting Key to 0 swallows them), and after the control, Enter, Escape
// and Alt+letter reach the form's default, cancel and accelerator targets.
void PreviewKeyDown(TWinControl* Win, std::uint16_t& Key, TShiftState Shift);
void PreviewKeyPress(TWinControl* Win, char& Key);
void DialogKey(TWinControl* Win, std::uint16_t& Key, TShiftState Shift);

// The classes of dialogs and editor pages the forms unit registers.
const std::vector<TClass>& DialogControlClasses();

// Flushes every pending paint of Control and its children, shown or not.
void PaintTree(TControl* Control);

// Writes a control's caption at (X, Y) with a clear brush, in the canvas font's colour,
// or, disabled, etched: grey text over a highlight copy one pixel down and to the right.
void DrawCaptionText(TCanvas* C, int X, int Y, const std::string& Text, bool Enabled);

// Qt keys and modifiers in the class library's terms, and back.
std::uint16_t VirtualKeyOf(int QtKey);
int QtKeyOf(std::uint16_t Key);
TShiftState ShiftOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

}  // namespace forms_detail

// The link a widget keeps to its control.
struct TWidgetLink {
  TControl::Impl* Impl = nullptr;
};

struct TControl::Impl {
  explicit Impl(TControl* Control) : Control(Control) {}
  ~Impl();

  // Takes ownership of Widget (whose link is Link) and applies the control's state.
  void Attach(QWidget* Widget, TWidgetLink* Link);
  // Gives the control a persistent image and a canvas drawing into it. Transparent:
  // the image starts clear and is cleared before each paint (graphic controls).
  void EnableCanvas(bool Transparent);

  // Painting.
  void Invalidate();
  void Update();
  void PostPaintRequest(int DelayMs);
  void HandlePaintRequest();
  void PaintNow();
  void ResizeImage();
  void FillImage();  // the whole image in the background
  void CopyToScreen(QWidget* W, const QRect& Area);

  // State pushed to the widget.
  void ApplyGeometry();
  void ApplyVisible();
  void ApplyFocusPolicy();
  void ApplyCursor();
  void ApplyFont();
  void ApplyColor();

  // Events from the widget; true swallows the event.
  bool HandleEvent(QEvent* E);
  void FocusEntered();
  // Cuts the links of this control and all its children: nothing reaches them any more.
  void CutTree();

  TControl* Control;
  QWidget* Widget = nullptr;
  TWidgetLink* Link = nullptr;
  bool Cut = false;

  // The canvas and its image.
  std::unique_ptr<TCanvas> Canvas;
  QImage Image;
  bool TransparentCanvas = false;
  // Deferred painting.
  bool Dirty = true;
  bool Queued = false;
  bool Painting = false;
  std::int64_t LastPaintStartUs = 0;

  // Behaviour of the kind of control.
  bool WidgetClicks = false;  // the widget reports clicks itself (buttons, boxes)
  bool TakesFocus = false;    // a click focuses it
  bool TopLevel = false;      // a form's window
  bool LeftDown = false;
  // The form shown next focuses this control.
  TWinControl* InitialFocus = nullptr;
  // Per kind: how text and colours reach the widget (defaults: nothing for text; a
  // palette for colours).
  std::function<void()> ApplyText;
  std::function<void(QPalette&, const QColor& Back, const QColor& Fore)> ApplyPalette;
};

// A widget of class W that reports to its control first.
template <class W>
class TBridge : public W, public TWidgetLink {
public:
  template <class... A>
  explicit TBridge(A&&... Args) : W(std::forward<A>(Args)...) {}

protected:
  bool event(QEvent* E) override {
    if (Impl && Impl->HandleEvent(E)) return true;
    return W::event(E);
  }
  void paintEvent(QPaintEvent* E) override {
    if (Impl && Impl->Canvas) Impl->CopyToScreen(this, E->rect());
    else W::paintEvent(E);
  }
};

// Creates the widget of a control: a TBridge<W> attached to it.
template <class W, class... A>
TBridge<W>* MakeWidget(TControl* Control, A&&... Args) {
  auto* w = new TBridge<W>(std::forward<A>(Args)...);
  Control->GetImpl()->Attach(w, w);
  return w;
}
