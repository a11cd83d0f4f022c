// Drawing shared by the list, grid and tree controls.
#pragma once
#include "platform/graphics.h"

namespace forms_detail {
// A dotted frame just inside R marking the focused item.
void DrawFocusRectangle(TCanvas* Canvas, const TRect& R);
// The 2-pixel sunken border of a list, grid or tree.
void DrawSunkenFrame(TCanvas* Canvas, int Width, int Height);
}  // namespace forms_detail
