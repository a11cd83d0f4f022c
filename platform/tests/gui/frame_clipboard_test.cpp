// Clipboard text and the frame controls drawn on a canvas: check boxes, radio
// buttons and the focus frame.
#include <gtest/gtest.h>

#include <vector>

#include "gui_test.h"
#include "platform/clipbrd.h"

using guitest::MakeBitmap;

namespace {

std::vector<TColor> Pixels(TCanvas* c, const TRect& r) {
  std::vector<TColor> v;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) v.push_back(c->Pixels(x, y));
  return v;
}

TEST(ClipboardText, RoundTripsAndReplacesOtherFormats) {
  Clipboard()->SetAsText("x;y\r1;2 \xC3\xA9");
  EXPECT_EQ(Clipboard()->AsText(), "x;y\r1;2 \xC3\xA9");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));

  auto b = MakeBitmap(4, 4);
  Clipboard()->Assign(b.get());  // a picture takes the clipboard over
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "");

  Clipboard()->SetAsText("");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard()->AsText(), "");
}

// Checked against unchecked boxes: see the engine's check box test.
TEST(FrameControl, RadioButtonsAreRoundAndOtherKindsRefused) {
  auto b = MakeBitmap(24, 24, clRed);
  EXPECT_TRUE(DrawFrameControl(b->Canvas(), {5, 5, 18, 18}, DFC_BUTTON, DFCS_BUTTONRADIO));
  EXPECT_EQ(b->Canvas()->Pixels(5, 5), clRed);  // the corner keeps what was there
  EXPECT_NE(b->Canvas()->Pixels(11, 11), clRed);
  EXPECT_EQ(b->Canvas()->Pixels(18, 11), clRed);
  EXPECT_FALSE(DrawFrameControl(b->Canvas(), {0, 0, 4, 4}, 1, 0));  // not a button
  EXPECT_FALSE(DrawFrameControl(b->Canvas(), {0, 0, 4, 4}, DFC_BUTTON, 2));
}

TEST(FrameControl, FocusFrameIsDottedAndUndoesItself) {
  auto b = MakeBitmap(20, 20);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect({0, 0, 20, 20});
  const auto before = Pixels(c, {0, 0, 20, 20});
  DrawFocusRect(c, {2, 3, 12, 9});
  EXPECT_EQ(c->Pixels(2, 3), clBlack);
  EXPECT_EQ(c->Pixels(3, 3), clWhite);  // dotted
  EXPECT_EQ(c->Pixels(11, 8), clBlack);  // a checkerboard: 9 + 5 steps from the corner
  EXPECT_EQ(c->Pixels(10, 8), clWhite);
  EXPECT_EQ(c->Pixels(12, 3), clWhite);  // right edge left out
  EXPECT_EQ(c->Pixels(5, 5), clWhite);   // inside untouched
  DrawFocusRect(c, {2, 3, 12, 9});
  EXPECT_EQ(Pixels(c, {0, 0, 20, 20}), before);
}

}  // namespace
