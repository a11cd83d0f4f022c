// Drag and drop between our own controls: the source holds the mouse, and the
// control under the pointer is found by a hit test of the shown windows.
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <cstdlib>

#include "forms_impl.h"
#include "platform/menus.h"
#include "platform/testing.h"
#include "popup_drag.h"

using namespace forms_detail;

// Reaches the protected drag operations of any control.
struct DragDropAccess {
  static void Over(TControl* C, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    C->DragOver(Source, X, Y, State, Accept);
  }
  static void Drop(TControl* C, TObject* Source, int X, int Y) { C->DragDrop(Source, X, Y); }
  static void End(TControl* C, TObject* Target, int X, int Y) { C->DoEndDrag(Target, X, Y); }
};


namespace {

struct TDrag {
  TControl* Source = nullptr;
  bool Started = false;
  TPoint Start{0, 0};
  int Threshold = 5;
  TControl* Target = nullptr;  // the control the pointer was last over
  bool Accept = false;
  TPoint Last{0, 0};
  TCursor Shown = crDefault;
  bool OverrideCursor = false;
  QPointer<QWidget> Grabbed;
};

TDrag drag;
TPoint lastPress{0, 0};

TControl* ControlAtScreen(const TPoint& G) {
  const QPoint p(G.X, G.Y);
  QWidget* top = nullptr;
  QWidget* active = QApplication::activeWindow();
  if (active && active->isVisible() && active->geometry().contains(p)) top = active;
  if (!top)
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && !qobject_cast<QMenu*>(w) && w->geometry().contains(p)) top = w;
  if (!top) return nullptr;
  QWidget* child = top->childAt(top->mapFromGlobal(p));
  for (QWidget* w = child ? child : top; w; w = w->parentWidget())
    if (TControl* c = ControlOf(w)) return c;
  return nullptr;
}

void ShowCursor(TCursor C) {
  if (drag.Shown == C && drag.OverrideCursor) return;
  drag.Shown = C;
  auto* q = Screen ? reinterpret_cast<QCursor*>(Screen->Cursors(C)) : nullptr;
  QCursor cursor = q ? *q : QCursor(C == crNoDrop ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
  if (drag.OverrideCursor) QApplication::changeOverrideCursor(cursor);
  else QApplication::setOverrideCursor(cursor);
  drag.OverrideCursor = true;
}

// Asks the control under G, telling the one left behind.
void MoveTo(const TPoint& G) {
  drag.Last = G;
  TControl* target = ControlAtScreen(G);
  TControl* source = drag.Source;
  if (target != drag.Target && drag.Target) {
    TControl* old = drag.Target;
    drag.Target = nullptr;
    TPoint l = old->ScreenToClient(G);
    bool ignored = false;
    Guard(old, [&] { DragDropAccess::Over(old, source, l.X, l.Y, dsDragLeave, ignored); });
  }
  const TDragState state = target != drag.Target ? dsDragEnter : dsDragMove;
  drag.Target = target;
  drag.Accept = false;
  if (target) {
    TPoint l = target->ScreenToClient(G);
    bool accept = bool(target->OnDragOver);
    Guard(target, [&] { DragDropAccess::Over(target, source, l.X, l.Y, state, accept); });
    drag.Accept = accept && drag.Source;
  }
  if (drag.Source) ShowCursor(drag.Accept ? drag.Source->DragCursor() : crNoDrop);
}

void StartDragging() {
  drag.Started = true;
  // The offscreen platform has no grab; its scripted input goes to the source anyway.
  if (QWidget* w = drag.Source->GetImpl()->Widget; w && w->isVisible() && !RecordsInsteadOfShowing()) {
    w->grabMouse();
    drag.Grabbed = w;
  }
  MoveTo(drag.Start);
}

// Ends the drag: dropped on an accepting target, or cancelled.
void Finish(bool Drop) {
  TControl* source = drag.Source;
  if (!source) return;
  TControl* target = drag.Started ? drag.Target : nullptr;
  const bool accepted = Drop && drag.Started && target && drag.Accept;
  const TPoint g = drag.Last;
  if (drag.Grabbed) drag.Grabbed->releaseMouse();
  if (drag.OverrideCursor) QApplication::restoreOverrideCursor();
  drag = TDrag{};
  if (target && !accepted) {
    TPoint l = target->ScreenToClient(g);
    bool ignored = false;
    Guard(target, [&] { DragDropAccess::Over(target, source, l.X, l.Y, dsDragLeave, ignored); });
  }
  if (accepted) {
    TPoint l = target->ScreenToClient(g);
    Guard(target, [&] { DragDropAccess::Drop(target, source, l.X, l.Y); });
    Guard(source, [&] { DragDropAccess::End(source, target, l.X, l.Y); });
  } else {
    TPoint l = source->ScreenToClient(g);
    Guard(source, [&] { DragDropAccess::End(source, nullptr, l.X, l.Y); });
  }
}

}  // namespace

// ---------------------------------------------------------------------------
void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (drag.Source) return;
  drag = TDrag{};
  drag.Source = this;
  drag.Start = drag.Last = lastPress;
  drag.Threshold = Threshold < 0 ? 5 : Threshold;
  if (Immediate) StartDragging();
}

void TControl::EndDrag(bool Drop) {
  if (drag.Source == this) Finish(Drop);
}

bool TControl::Dragging() const { return drag.Source == this; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (Value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

// ---------------------------------------------------------------------------
bool forms_detail::DragMouse(TControl* Control, QEvent::Type Type, Qt::MouseButton Button, const TPoint& Global) {
  (void)Control;
  if (Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonDblClick) {
    lastPress = Global;
    return drag.Started;
  }
  if (!drag.Source) return false;
  if (Type == QEvent::MouseMove) {
    if (!drag.Started) {
      if (std::abs(Global.X - drag.Start.X) <= drag.Threshold && std::abs(Global.Y - drag.Start.Y) <= drag.Threshold)
        return false;
      StartDragging();
    }
    if (drag.Source) MoveTo(Global);
    return true;
  }
  if (Type == QEvent::MouseButtonRelease && Button == Qt::LeftButton) {
    if (!drag.Started) {
      // A click that never moved far enough: no drag, and the click goes on.
      drag = TDrag{};
      return false;
    }
    MoveTo(Global);
    Finish(true);
    return true;
  }
  return drag.Started;
}

bool forms_detail::DragKey(std::uint16_t Key) {
  if (!drag.Source || Key != VK_ESCAPE) return false;
  Finish(false);
  return true;
}

void forms_detail::DragForget(TControl* Control) {
  if (drag.Target == Control) drag.Target = nullptr;
  if (drag.Source == Control) {
    if (drag.Grabbed) drag.Grabbed->releaseMouse();
    if (drag.OverrideCursor) QApplication::restoreOverrideCursor();
    drag = TDrag{};
  }
}

TCursor TestInput::DragCursorShown() { return drag.Source && drag.Started ? drag.Shown : crDefault; }

// ---------------------------------------------------------------------------
namespace {

void SendTo(QWidget* W, QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Held, QPoint P) {
  if (Type == QEvent::MouseButtonPress)
    for (QWidget* f = W; f; f = f->isWindow() ? nullptr : f->parentWidget())
      if (f->isEnabled() && (f->focusPolicy() & Qt::ClickFocus)) {
        f->setFocus(Qt::MouseFocusReason);
        break;
      }
  QMouseEvent e(Type, QPointF(P), W->mapToGlobal(QPointF(P)), Button, Held, Qt::NoModifier);
  QApplication::sendEvent(W, &e);
}

}  // namespace

void TestInput::PostDrag(TControl* Source, TPoint From, TControl* Target, TPoint To, int Steps, unsigned DelayMs) {
  QPointer<QWidget> src = Source->GetImpl()->Widget;
  QPointer<QWidget> dst = Target->GetImpl()->Widget;
  auto post = [=] {
    PostToLoop([=] {
      if (!src || !src->isVisible()) return;
      SendTo(src, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(From.X, From.Y));
    });
    const int n = Steps < 1 ? 1 : Steps;
    for (int i = 1; i <= n; ++i)
      PostToLoop([=] {
        if (!src || !dst) return;
        QPoint to = src->mapFromGlobal(dst->mapToGlobal(QPoint(To.X, To.Y)));
        QPoint p(From.X + (to.x() - From.X) * i / n, From.Y + (to.y() - From.Y) * i / n);
        SendTo(src, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, p);
      });
    PostToLoop([=] {
      if (!src || !dst) return;
      QPoint to = src->mapFromGlobal(dst->mapToGlobal(QPoint(To.X, To.Y)));
      SendTo(src, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
    });
  };
  // Held back, the whole gesture is queued when its time comes, so that the moves
  // and the release follow the press.
  if (DelayMs == 0) post();
  else PostScripted(post, DelayMs);
}

