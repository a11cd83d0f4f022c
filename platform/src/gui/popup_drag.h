// What the controls' event handling asks of the popup menus and of drag and drop.
#pragma once
#include <QEvent>

#include "platform/forms.h"

namespace forms_detail {
// Shows the PopupMenu of Control, or of the nearest parent that has one, at the
// client point (X, Y) of Control, when its AutoPopup is on.
void ContextPopup(TControl* Control, int X, int Y);

// A mouse event (press, move, release) at the screen point Global reaching any
// control. Answers true when a running drag took it.
bool DragMouse(TControl* Control, QEvent::Type Type, Qt::MouseButton Button, const TPoint& Global);
// A key press; Escape cancels a running drag (answers true: swallowed).
bool DragKey(std::uint16_t Key);
// A control is going: a drag it is part of forgets it.
void DragForget(TControl* Control);
}  // namespace forms_detail
