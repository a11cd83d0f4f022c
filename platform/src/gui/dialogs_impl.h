// Message boxes shared by ShowMessage and the application's exception display.
#pragma once
#include <string>

namespace dialogs_detail {

// A modal box titled with the application's title; recorded instead on the
// offscreen platform. Error: the box shows a stop sign.
void MessageBox(const std::string& Text, bool Error);

}  // namespace dialogs_detail
