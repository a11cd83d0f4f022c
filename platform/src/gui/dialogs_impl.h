// Message boxes shared by ShowMessage and the application's exception display, and
// the answers tests queue for dialogs on the offscreen platform.
#pragma once
#include <string>

#include "platform/graphics.h"
#include "platform/testing.h"

namespace dialogs_detail {

// A modal box titled with the application's title; recorded instead on the
// offscreen platform. Error: the box shows a stop sign.
void MessageBox(const std::string& Text, bool Error);

// One queued answer: Result is the button (mrCancel cancels); the rest is what the
// dialog kind reads.
struct TAnswer {
  int Result = 2;  // mrCancel
  std::string Text;
  TColor Color = clBlack;
  std::string FontName;
  int FontSize = 0;
  TFontStyles FontStyle = 0;
  int FilterIndex = 0;
  int FromPage = 0, ToPage = 0;  // print dialogs: a page range
};

// The oldest queued answer, or a cancel when none is queued (Answered false).
TAnswer TakeAnswer(bool& Answered);
void RecordAsked(const TestDialogs::TAsked& Asked);

}  // namespace dialogs_detail
