// Pictures of controls, rendered without a display.
#pragma once
#include <string>

#include "platform/forms.h"

// Paints what is pending and renders the control with its children, as the screen
// would show it, into Bitmap (resized to the control, pf32bit).
void RenderControl(TControl* Control, TBitmap* Bitmap);
// The same, written as a PNG file; false when the file cannot be written.
bool SaveControlToPng(TControl* Control, const std::string& FileName);
