// Scripted input for tests: each call queues an input event that a running message
// loop delivers inside ProcessMessages (or Run, or a modal loop), exactly as a user's
// input would arrive - so a queued click on a button runs its handler nested inside
// whatever loop picks it up. DelayMs holds an event back for that long on a
// TSteppedClock; without one a delay is refused (EInvalidOperation), since input
// timed by the real clock arrives at a different point of a run on a loaded machine.
//
// Also what the offscreen platform records instead of blocking: message boxes and
// shell calls.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/rtl.h"

class TTrackBar;
class TSpinEdit;

namespace TestInput {

// A left click (press and release) at the control's centre: clicks buttons, toggles
// check boxes, checks radio buttons; the control takes the focus as by the mouse.
void PostClick(TControl* Control, unsigned DelayMs = 0);
// Mouse press, move or release at (X, Y) in the control's client coordinates.
void PostMouseDown(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift = 0,
                   unsigned DelayMs = 0);
void PostMouseMove(TControl* Control, int X, int Y, TShiftState Shift = 0, unsigned DelayMs = 0);
void PostMouseUp(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift = 0,
                 unsigned DelayMs = 0);
// A double click at (X, Y) as the desktop delivers it: press, release, the second
// press as a double click, release.
void PostDblClick(TControl* Control, int X, int Y, TShiftState Shift = 0, unsigned DelayMs = 0);
// The mouse leaves the control.
void PostMouseLeave(TControl* Control, unsigned DelayMs = 0);
// A key press and release (virtual key code) on the control that has the focus when
// it is delivered (Tab moves the focus on).
void PostKey(std::uint16_t Key, TShiftState Shift = 0, unsigned DelayMs = 0);
// Typed text: the control takes the focus, its text is selected and the characters
// are typed over it one by one.
void PostText(TWinControl* Control, const std::string& Text, unsigned DelayMs = 0);
// The user drags the track bar's thumb to Position (taking the focus by mouse).
void PostTrackBarMove(TTrackBar* Bar, int Position, unsigned DelayMs = 0);
// A click on a spin edit's up (or down) button.
void PostSpin(TSpinEdit* Edit, bool Up, unsigned DelayMs = 0);
// Any call, run by the loop like an input event.
void PostCall(std::function<void()> Call, unsigned DelayMs = 0);

// Runs messages until Done answers true; answers Done(). MaxMs is a hang guard only:
// reaching it is reported as a hang (SetHangReport).
bool PumpUntil(const std::function<bool()>& Done, unsigned MaxMs = 5000);
// Runs Passes passes of the message loop without waiting: what was posted before is
// delivered, and what that posts in turn, pass by pass.
void PumpPasses(int Passes = 3);
// On a TSteppedClock: runs the loop until Ms of that clock have passed (a pass and a
// 1 ms sleep at a time). Refused (EInvalidOperation) on the real clock.
void PumpFor(unsigned Ms);

// Input for a modal dialog, queued from inside its own loop: Script runs once the
// next modal loop to start has shown and activated its window (after the loop's
// first pass), so the keys it posts reach that dialog's focused control and not one
// an earlier window left focused. Each modal loop takes the oldest script, nested
// loops included.
void WhenModal(std::function<void()> Script);
// Scripts not yet taken by a modal loop; ClearModalScripts forgets them.
int PendingModalScripts();
void ClearModalScripts();

// Hang guards report here: a PumpUntil past its MaxMs, and a modal loop still
// running after ModalHangMs of real time (which is then ended with mrAbort so the
// test can go on). The GUI test main fails the running test with its name; without
// a report the message goes to stderr.
void SetHangReport(std::function<void(const std::string&)> Report);
inline constexpr unsigned ModalHangMs = 10000;  // under the 30 s a test case may take

// A clock whose time passes only in steps of the program, so that what a test
// scripts arrives at the same point of a run on a loaded machine as on an idle
// one. While the object lives it is the main thread's clock (SetClock):
// - Sleep returns at once, having moved the time on by its milliseconds;
// - every pass of the message loop (ProcessMessages, HandleMessage) is one step
//   of StepMs, and a loop that would wait for input moves on to the next timed call;
// - delayed input and calls (DelayMs above) and paced paints fall due by this time.
// A run that sleeps S ms per step and pumps once per step therefore takes exactly
// S + StepMs of this time per step. Other threads keep the real clock. One at a
// time; the real clock comes back when it goes.
class TSteppedClock : public TClock {
public:
  explicit TSteppedClock(unsigned StepMs = 1);
  ~TSteppedClock() override;
  TSteppedClock(const TSteppedClock&) = delete;
  TSteppedClock& operator=(const TSteppedClock&) = delete;

  std::int64_t Microseconds() override { return now_; }
  void Sleep(unsigned Milliseconds) override;
  // Milliseconds since installation, and passes of the message loop.
  std::int64_t ElapsedMs() const { return (now_ - start_) / 1000; }
  int Passes() const { return passes_; }

private:
  class Stepper;
  std::unique_ptr<Stepper> stepper_;
  std::int64_t start_, now_;
  std::int64_t step_;
  int passes_ = 0;
};

}  // namespace TestInput

// Where a control draws its caption, in its client coordinates: the box of the
// text (its advance width by the font's line height) as the control lays it out -
// after the indicator of a check box or radio button, centred on a button, by the
// alignment of a label. Empty for a control without a caption.
TRect CaptionRect(TControl* Control);

// Texts of the message boxes shown on the offscreen platform (ShowMessage and
// exceptions shown by the application), oldest first.
std::vector<std::string> RecordedMessages();
void ClearRecordedMessages();
// Shell calls made on the offscreen platform, as "operation file".
std::vector<std::string> RecordedShellCalls();
void ClearRecordedShellCalls();
// Help contexts asked for on the offscreen platform (HelpContext), oldest first.
std::vector<int> RecordedHelpCalls();
void ClearRecordedHelpCalls();
// On the offscreen platform ShellExecute also runs this program in place of the
// desktop's opener once a test names one ("" again: recorded only).
void SetTestShellOpener(const std::string& Program);
// On the offscreen platform ShellCanOpenExtension knows these extensions (lower case,
// without the dot) and no others.
void SetTestOpenableExtensions(const std::vector<std::string>& Extensions);
// True on the offscreen platform: boxes and shell calls are recorded, not shown.
bool RecordsInsteadOfShowing();

// Dialogs answered by the test. On the offscreen platform a message box with
// buttons (MessageDlg), an input query or a common dialog takes the oldest queued
// answer; with none queued it is cancelled. Every one is recorded with what it asked.
namespace TestDialogs {

// The next dialog answers with the button's modal result (mrYes, mrOk, mrCancel, ...).
void AnswerButton(int ModalResult);
// The next input query answers OK with Text.
void AnswerText(const std::string& Text);
// The next colour dialog answers with Color.
void AnswerColor(TColor Color);
// The next font dialog answers with this font.
void AnswerFont(const std::string& Name, int Size, TFontStyles Style);
// The next open or save dialog answers with the file name and, unless 0, the
// (1-based) filter index.
void AnswerFile(const std::string& FileName, int FilterIndex = 0);
// The next print dialog answers OK with the pages From..To.
void AnswerPrint(int From, int To);
// The next dialog is cancelled.
void AnswerCancel();
// Answers still queued.
int PendingAnswers();

struct TAsked {
  std::string Kind;     // "MessageDlg", "InputQuery", "Color", "Font", "Open", "Save", "Print", "PrinterSetup"
  std::string Title;    // caption of the box or dialog
  std::string Text;     // message, prompt, or initial value/file name
  std::string Buttons;  // message boxes: button captions joined by ','
  std::string Filter;   // open and save dialogs
  int FilterIndex = 0;
  std::string DefaultExt;
  TPoint Pos{-1, -1};   // message boxes placed at a point
  bool Answered = false;
  std::string Result;   // what it answered: button, text, file name, colour
};
std::vector<TAsked> Asked();
// Forgets the queue and the records.
void Clear();

}  // namespace TestDialogs

namespace TestInput {
// A click on the tab with TabIndex (among the visible tabs) of a tab or page control.
void PostTabClick(TWinControl* TabsControl, int TabIndex, unsigned DelayMs = 0);
// The user picks item Index of a list box (scrolled into view, then clicked with
// Shift: Ctrl adds to a multi-selection) or of a combo box (its list dropped down by
// a click, then the item clicked), so the control fires what a user's choice fires.
// Picking a combo's current item closes its list and fires nothing, as on screen.
void PostPickItem(TWinControl* ListOrCombo, int Index, TShiftState Shift = 0, unsigned DelayMs = 0);
}  // namespace TestInput

class TPopupMenu;

// Popup menus on the offscreen platform: recorded instead of shown, and answered by
// a pick that the message loop delivers like a user's click.
namespace TestMenus {
struct TShownMenu {
  TPopupMenu* Menu = nullptr;
  TPoint Pos{0, 0};                   // screen point
  std::vector<std::string> Captions;  // visible top-level items, separators as "-"
};
// Menus shown and not yet answered, oldest first.
std::vector<TShownMenu> Shown();
void ClearShown();
// Picks the item with Caption (accelerator marks ignored; "Sub|Item" for a sub-menu
// item) in the last menu shown, which then closes; a hidden or disabled item is not
// picked. Fires its OnClick.
void PostPick(const std::string& Caption, unsigned DelayMs = 0);
}  // namespace TestMenus

namespace TestInput {
// The user presses the left button at From in Source, moves in Steps steps and
// releases it at To in Target (client coordinates of each): with a drag running, as
// under the mouse grab, every move and the release go to the source.
void PostDrag(TControl* Source, TPoint From, TControl* Target, TPoint To, int Steps = 4, unsigned DelayMs = 0);
// The cursor a running drag shows: the source's DragCursor over an accepting
// control, crNoDrop elsewhere; crDefault when no drag runs.
TCursor DragCursorShown();
}  // namespace TestInput

// Hints on the offscreen platform: each hint window shown (ActivateHint, or the
// rest of the mouse on a control) is recorded with its text, screen point, colour
// and font, and each Application->CancelHint counted.
namespace TestHints {
struct TShownHint {
  std::string Text;
  TPoint Pos{0, 0};
  TColor Color = clNone;
  std::string FontName;
  int FontSize = 0;
};
std::vector<TShownHint> Shown();
int Cancels();
void Clear();
}  // namespace TestHints
