// Clipboard text and the frame controls drawn on a canvas: check boxes, radio
// buttons and the focus frame.
#include <gtest/gtest.h>

#include <algorithm>
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

int Changed(const std::vector<TColor>& a, const std::vector<TColor>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
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

TEST(FrameControl, CheckBoxAndRadioDrawInsideTheirBoxAndShowTheirState) {
  const TRect box{5, 5, 18, 18};
  auto draw = [&](unsigned state) {
    auto b = MakeBitmap(24, 24);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect({0, 0, 24, 24});
    EXPECT_TRUE(DrawFrameControl(b->Canvas(), box, DFC_BUTTON, state));
    // Nothing outside the box.
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        if (x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom) {
          EXPECT_EQ(b->Canvas()->Pixels(x, y), clRed) << x << "," << y;
        }
    return Pixels(b->Canvas(), box);
  };
  const auto check = draw(DFCS_BUTTONCHECK), checked = draw(DFCS_BUTTONCHECK | DFCS_CHECKED);
  const auto radio = draw(DFCS_BUTTONRADIO), radioOn = draw(DFCS_BUTTONRADIO | DFCS_CHECKED);
  EXPECT_GT(Changed(check, checked), 4);
  EXPECT_GT(Changed(radio, radioOn), 4);
  EXPECT_GT(Changed(check, radio), 4);
  // The unchecked box is mostly the inside colour (white by the fixed system colours).
  EXPECT_GT(std::count(check.begin(), check.end(), clWhite), 13 * 13 / 3);
  // A radio button is round: its corner keeps what was there.
  EXPECT_EQ(radio.front(), clRed);

  auto b = MakeBitmap(4, 4);
  EXPECT_FALSE(DrawFrameControl(b->Canvas(), {0, 0, 4, 4}, 1, 0));  // not a button
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
