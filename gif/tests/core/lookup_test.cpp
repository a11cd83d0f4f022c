#include "gif/lookup.h"

#include <gtest/gtest.h>

namespace {
int Look(TColorLookup& l, int r, int g, int b, TGIFColor* used = nullptr) {
  TGIFColor u;
  int i = l.Lookup(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), u);
  if (used) *used = u;
  return i;
}
}  // namespace

TEST(ColorLookup, WebCubeLevelsAndIndexes) {
  TNetscapeColorLookup l;
  TGIFColor used;
  EXPECT_EQ(Look(l, 255, 0, 0, &used), 180);
  EXPECT_EQ(used, (TGIFColor{255, 0, 0}));
  EXPECT_EQ(Look(l, 128, 128, 128, &used), 86);
  EXPECT_EQ(used, (TGIFColor{102, 102, 102}));
  // level = (c + 3) div 51: the step up comes at 48, not at the midpoint
  EXPECT_EQ(Look(l, 47, 0, 0), 0);
  EXPECT_EQ(Look(l, 48, 0, 0), 36);
  // every entry of the web palette looks up as itself
  const TColorPalette& p = NetscapePalette();
  ASSERT_EQ(p.size(), 216u);
  for (int i = 0; i < 216; ++i) EXPECT_EQ(Look(l, p[i].peRed, p[i].peGreen, p[i].peBlue), i);
}

TEST(ColorLookup, GreyWeightsAndMonochromeBoundary) {
  TGrayScaleLookup grey;
  EXPECT_EQ(Look(grey, 255, 255, 255), 255);
  EXPECT_EQ(Look(grey, 255, 0, 0), 76);
  EXPECT_EQ(Look(grey, 0, 255, 0), 149);
  EXPECT_EQ(Look(grey, 0, 0, 255), 28);

  TMonochromeLookup mono;
  TGIFColor used;
  EXPECT_EQ(Look(mono, 127, 127, 127, &used), 0);  // 32512: the last black sum
  EXPECT_EQ(used, (TGIFColor{0, 0, 0}));
  EXPECT_EQ(Look(mono, 128, 128, 128, &used), 1);
  EXPECT_EQ(used, (TGIFColor{255, 255, 255}));
  EXPECT_EQ(Look(mono, 0, 169, 247), 1);  // 32513: the first white sum
}

TEST(ColorLookup, FastUsesAbsoluteDistanceAndSlowSquared) {
  // From black, (30,0,0) is nearer by absolute sum, (12,12,12) by squares.
  TColorPalette p = {{30, 0, 0, 0}, {12, 12, 12, 0}, {200, 200, 200, 0}, {200, 200, 200, 0}};
  TFastColorLookup fast(p);
  TSlowColorLookup slow(p);
  EXPECT_EQ(Look(fast, 0, 0, 0), 0);
  EXPECT_EQ(Look(slow, 0, 0, 0), 1);
  // a duplicate entry: the first keeps the colour
  EXPECT_EQ(Look(fast, 200, 200, 200), 2);
  EXPECT_EQ(Look(slow, 200, 200, 200), 2);
  // the cache answers a whole 8x8x8 bucket with the colour found first
  TGIFColor used;
  EXPECT_EQ(Look(fast, 7, 7, 7, &used), 0);
  EXPECT_EQ(used, (TGIFColor{30, 0, 0}));
}
