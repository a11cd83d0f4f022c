// Body of the rich text fuzz target, shared by the libFuzzer entry point and by the
// test that replays its corpus. Needs a running (headless) application.
#pragma once
#include <memory>

#include "canvas/canvas.h"
#include "canvas/richtext.h"
#include "fuzz_common.h"

namespace fuzzbody {

// Any text parsed as rich text (runs or HtmlParserException), then measured and
// drawn, which never raises.
inline void RichText(const std::uint8_t* data, std::size_t size) {
  const std::string text = ToText(data, size);
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(64, 32);
  TLumCanvas3D canvas;
  canvas.AttachCanvas(bmp.Canvas());
  canvas.ResetState();
  try {
    ParseRichText(text, *bmp.Canvas()->Font());
  } catch (const HtmlParserException&) {
  }
  canvas.RichTextExtent(text, true);
  canvas.TextOutRich(2, 2, text, true);
}

}  // namespace fuzzbody
