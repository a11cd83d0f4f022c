// Drawing shared by the list, grid and tree controls.
#pragma once
#include <QScrollBar>

#include <functional>

#include "platform/forms.h"
#include "platform/graphics.h"

namespace forms_detail {
// A dotted frame just inside R marking the focused item.
void DrawFocusRectangle(TCanvas* Canvas, const TRect& R);
// The 2-pixel sunken border of a list, grid or tree.
void DrawSunkenFrame(TCanvas* Canvas, int Width, int Height);
// A control that takes the focus by Tab and by click.
void MakeFocusable(TWinControl* Control);
// A hidden scroll bar on the control's widget reporting the user's moves to OnMove.
QScrollBar* AddScrollBar(TControl* Control, Qt::Orientation Orientation, std::function<void(int)> OnMove);
// EListError "List index out of bounds (Index)".
[[noreturn]] void ListIndexError(int Index);
// Where an index stands after Delta items went in (> 0) or out (< 0) at At; an index
// whose item went reads -1.
int ShiftedIndex(int Current, int At, int Delta);
}  // namespace forms_detail
