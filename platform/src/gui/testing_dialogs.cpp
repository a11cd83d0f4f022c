// Answers queued by tests for the dialogs of the offscreen platform, their records,
// clicks on tabs and picks of list and combo items.
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>

#include <deque>
#include <mutex>

#include "dialogs_impl.h"
#include "forms_impl.h"
#include "platform/lists.h"
#include "platform/testing.h"

using namespace forms_detail;
using dialogs_detail::TAnswer;

namespace {

struct TScript {
  std::mutex M;
  std::deque<TAnswer> Answers;
  std::vector<TestDialogs::TAsked> Asked;
};

TScript& Script() {
  static TScript s;
  return s;
}

void Queue(TAnswer A) {
  std::lock_guard<std::mutex> g(Script().M);
  Script().Answers.push_back(std::move(A));
}

}  // namespace

namespace dialogs_detail {

TAnswer TakeAnswer(bool& Answered) {
  std::lock_guard<std::mutex> g(Script().M);
  auto& q = Script().Answers;
  Answered = !q.empty();
  if (!Answered) return {};
  TAnswer a = q.front();
  q.pop_front();
  return a;
}

void RecordAsked(const TestDialogs::TAsked& Asked) {
  std::lock_guard<std::mutex> g(Script().M);
  Script().Asked.push_back(Asked);
}

}  // namespace dialogs_detail

namespace TestDialogs {

void AnswerButton(int ModalResult) {
  TAnswer a;
  a.Result = ModalResult;
  Queue(a);
}

void AnswerText(const std::string& Text) {
  TAnswer a;
  a.Result = mrOk;
  a.Text = Text;
  Queue(a);
}

void AnswerColor(TColor Color) {
  TAnswer a;
  a.Result = mrOk;
  a.Color = Color;
  Queue(a);
}

void AnswerFont(const std::string& Name, int Size, TFontStyles Style) {
  TAnswer a;
  a.Result = mrOk;
  a.FontName = Name;
  a.FontSize = Size;
  a.FontStyle = Style;
  Queue(a);
}

void AnswerFile(const std::string& FileName, int FilterIndex) {
  TAnswer a;
  a.Result = mrOk;
  a.Text = FileName;
  a.FilterIndex = FilterIndex;
  Queue(a);
}

void AnswerPrint(int From, int To) {
  TAnswer a;
  a.Result = mrOk;
  a.FromPage = From;
  a.ToPage = To;
  Queue(a);
}

void AnswerCancel() { Queue(TAnswer{}); }

int PendingAnswers() {
  std::lock_guard<std::mutex> g(Script().M);
  return int(Script().Answers.size());
}

std::vector<TAsked> Asked() {
  std::lock_guard<std::mutex> g(Script().M);
  return Script().Asked;
}

void Clear() {
  std::lock_guard<std::mutex> g(Script().M);
  Script().Answers.clear();
  Script().Asked.clear();
}

}  // namespace TestDialogs

namespace {

// A click in the middle of the item's row, scrolled into view first.
void ClickListItem(TCustomListBox* List, int Index, TShiftState Shift) {
  if (Index < 0 || Index >= List->Count()) return;
  List->MakeVisible(Index);
  QPointer<QWidget> w = List->GetImpl()->Widget;
  if (!w || !w->isVisible() || !w->isEnabled()) return;
  const TRect r = List->ItemRect(Index);
  const QPointF p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  Qt::KeyboardModifiers mods;
  if (Shift & ssShift) mods |= Qt::ShiftModifier;
  if (Shift & ssCtrl) mods |= Qt::ControlModifier;
  w->setFocus(Qt::MouseFocusReason);
  QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, mods);
  QApplication::sendEvent(w, &press);
  if (!w) return;
  QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, mods);
  QApplication::sendEvent(w, &release);
}

}  // namespace

void TestInput::PostPickItem(TWinControl* ListOrCombo, int Index, TShiftState Shift, unsigned DelayMs) {
  QPointer<QWidget> w = ListOrCombo->GetImpl()->Widget;
  PostScripted(
      [w, Index, Shift] {
        if (!w || !w->isVisible() || !w->isEnabled()) return;
        TControl* c = ControlOf(w);
        if (auto* list = dynamic_cast<TCustomListBox*>(c)) return ClickListItem(list, Index, Shift);
        auto* combo = dynamic_cast<TCustomComboBox*>(c);
        if (!combo) return;
        // The button at the right end drops the list down in every style.
        const QPointF p(w->width() - 5, w->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        if (!w) return;
        QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &release);
        if (!w) return;
        TCustomListBox* dropped = combo->DropDownList();
        if (!dropped) return;
        if (Index == combo->ItemIndex() || Index < 0 || Index >= dropped->Count()) {
          combo->SetDroppedDown(false);
          return;
        }
        ClickListItem(dropped, Index, 0);
      },
      DelayMs);
}

void TestInput::PostTabClick(TWinControl* TabsControl, int TabIndex, unsigned DelayMs) {
  QPointer<QWidget> w = TabsControl->GetImpl()->Widget;
  PostScripted(
      [w, TabIndex] {
        if (!w || !w->isVisible() || !w->isEnabled()) return;
        QPointer<QTabBar> bar = w->findChild<QTabBar*>("tabs", Qt::FindDirectChildrenOnly);
        if (!bar || TabIndex < 0 || TabIndex >= bar->count()) return;
        const QPointF p = bar->tabRect(TabIndex).center();
        QMouseEvent press(QEvent::MouseButtonPress, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        if (!bar) return;
        QMouseEvent release(QEvent::MouseButtonRelease, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
      },
      DelayMs);
}
