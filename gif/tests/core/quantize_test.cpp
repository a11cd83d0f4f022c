#include "gif/quantize.h"

#include <gtest/gtest.h>

#include <random>

TEST(ColorQuantizer, KeepsFewColoursExactly) {
  TColorQuantizer q(256);
  for (int i = 0; i < 100; ++i) {
    q.AddColor(255, 0, 0);
    q.AddColor(10, 200, 30);
    q.AddColor(0, 0, 0);
  }
  TColorPalette p = q.Palette();
  ASSERT_EQ(p.size(), 3u);
  // depth first by octant: black (0), green (2), red (4)
  EXPECT_EQ(p[0], (TPaletteEntry{0, 0, 0, PC_NOCOLLAPSE}));
  EXPECT_EQ(p[1], (TPaletteEntry{10, 200, 30, PC_NOCOLLAPSE}));
  EXPECT_EQ(p[2], (TPaletteEntry{255, 0, 0, PC_NOCOLLAPSE}));
}

TEST(ColorQuantizer, FoldedColourIsThePixelWeightedMean) {
  TColorQuantizer q(1);
  for (int i = 0; i < 3; ++i) q.AddColor(0, 0, 0);
  q.AddColor(8, 4, 12);
  TColorPalette p = q.Palette();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0], (TPaletteEntry{2, 1, 3, PC_NOCOLLAPSE}));
}

// Colours in all eight top octants leave up to eight leaves that the tree
// cannot fold; asking for fewer must still end, and stay within the count.
TEST(ColorQuantizer, SmallTargetsEndAndStayWithinTheirCount) {
  std::mt19937 rng(7);
  for (int target : {1, 2, 4, 8, 16, 256}) {
    TColorQuantizer q(target);
    for (int i = 0; i < 20000; ++i) q.AddColor(std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()));
    EXPECT_LE(q.LeafCount(), std::max(target, 8)) << target;
    std::size_t n = q.Palette().size();
    EXPECT_LE(n, std::size_t(target)) << target;
    if (target <= 8) {
      EXPECT_EQ(n, std::size_t(target));  // merged down past the tree
    } else {
      EXPECT_EQ(n, std::size_t(q.LeafCount()));
    }
  }
}

TEST(ColorQuantizer, MergingBeyondTheTreeKeepsTheBusiestColours) {
  TColorQuantizer q(2);
  for (int i = 0; i < 1000; ++i) q.AddColor(0, 0, 0);
  for (int i = 0; i < 1000; ++i) q.AddColor(255, 255, 255);
  q.AddColor(200, 200, 10);  // a lone yellow pixel joins its nearest colour
  TColorPalette p = q.Palette();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0], (TPaletteEntry{0, 0, 0, PC_NOCOLLAPSE}));
  EXPECT_EQ(p[1], (TPaletteEntry{254, 254, 254, PC_NOCOLLAPSE}));
}
