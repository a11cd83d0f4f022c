// Pictures of controls, rendered without a display.
#pragma once
#include <string>

#include "platform/forms.h"

// Paints what is pending and renders the control with its children, as the screen
// would show it, into Bitmap (resized to the control, pf32bit).
void RenderControl(TControl* Control, TBitmap* Bitmap);
// The same, written whole as a PNG file (SaveStreamToFile); false when it cannot be
// written, with the error (naming the file, with the system's reason) in Reason.
bool SaveControlToPng(TControl* Control, const std::string& FileName, std::string* Reason = nullptr);
