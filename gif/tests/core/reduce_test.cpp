#include "gif/reduce.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "gif_test_util.h"

namespace {

TDIBPixels Noise(int w, int h, int bits, unsigned seed) {
  TDIBPixels b(w, h, bits);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelColor(x, y, {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())});
  return b;
}

}  // namespace

TEST(DIBPixels, LayoutAndErrors) {
  EXPECT_EQ(TDIBPixels(5, 2, 24).Stride(), 16);  // rows padded to 32 bits
  EXPECT_EQ(TDIBPixels(33, 2, 1).Stride(), 8);

  EXPECT_GIF_ERROR(TDIBPixels(4, 4, 16), "Unsupported PixelFormat");
  EXPECT_GIF_ERROR(TDIBPixels(0, 4, 8), "Invalid image dimensions");
  EXPECT_GIF_ERROR(TDIBPixels(4, -1, 8), "Invalid image dimensions");
  EXPECT_THROW(TDIBPixels(1 << 20, 1 << 20, 24), EOutOfMemory);
  TDIBPixels none;
  EXPECT_GIF_ERROR(none.ScanLine(0), "Image has no DIB");
  TDIBPixels b(4, 4, 8);
  EXPECT_THROW(b.ScanLine(4), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), 4);  // rows run from the top
}

TEST(DIBPixels, IndexedPixelsReadHighNibbleFirstThroughThePalette) {
  TDIBPixels four(3, 1, 4, {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}});
  four.ScanLine(0)[0] = 0x21;
  four.ScanLine(0)[1] = 0xF0;
  TDIBPixels wide = four.ToBGR24();
  EXPECT_EQ(wide.PixelColor(0, 0), (TGIFColor{0, 255, 0}));
  EXPECT_EQ(wide.PixelColor(1, 0), (TGIFColor{255, 0, 0}));
  EXPECT_EQ(wide.PixelColor(2, 0), (TGIFColor{}));  // index 15: not in the palette
}

TEST(ReduceColors, ReductionZeroIsATrueColourCopy) {
  TDIBPixels src = Noise(7, 5, 32, 1);
  for (int dither = 0; dither <= 6; ++dither) {
    TDIBPixels out = ReduceColors(src, rmNone, TDitherMode(dither), 8);
    ASSERT_EQ(out.BitsPerPixel(), 24);
    ASSERT_EQ(out.Width(), 7);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(out.PixelColor(x, y), src.PixelColor(x, y));
  }
  EXPECT_TRUE(ReduceColors(TDIBPixels(), rmWeb216, dmNearest, 8).Empty());
}

TEST(ReduceColors, GivenAndSystemFramedPalettes) {
  TDIBPixels src(2, 1, 24);
  src.SetPixelColor(0, 0, {255, 0, 0});
  src.SetPixelColor(1, 0, {128, 128, 128});
  TColorPalette given = {{9, 9, 9, 0}, {250, 5, 5, 0}};
  TDIBPixels mine = ReduceColors(src, rmGivenPalette, dmNearest, 8, &given);
  EXPECT_EQ(mine.Palette(), given);
  EXPECT_EQ(mine.ScanLine(0)[0], 1);
  EXPECT_EQ(mine.ScanLine(0)[1], 0);

  TDIBPixels sys = ReduceColors(Noise(16, 16, 24, 3), rmOptimizedSystem, dmNearest, 8);
  ASSERT_EQ(sys.Palette().size(), 256u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(sys.Palette()[i], SystemPalette20()[i]);
    EXPECT_EQ(sys.Palette()[246 + i], SystemPalette20()[10 + i]);
  }
}

// Every reduction and dither mode together: indexes stay inside the palette.
TEST(ReduceColors, EveryIndexLiesInsideThePalette) {
  TDIBPixels src = Noise(23, 9, 24, 5);
  TColorPalette given = {{1, 2, 3, 0}, {200, 100, 50, 0}, {9, 250, 9, 0}};
  for (int reduction = 1; reduction <= 9; ++reduction) {
    for (int dither = 0; dither <= 6; ++dither) {
      for (int bits : {1, 2, 8}) {
        TDIBPixels out =
            ReduceColors(src, TColorReduction(reduction), TDitherMode(dither), bits, &given);
        ASSERT_FALSE(out.Palette().empty());
        if (reduction == rmOptimized) {
          ASSERT_LE(out.Palette().size(), std::size_t(1) << bits);
        }
        for (int y = 0; y < out.Height(); ++y)
          for (int x = 0; x < out.Width(); ++x)
            ASSERT_LT(out.ScanLine(y)[x], out.Palette().size())
                << reduction << "/" << dither << "/" << bits;
      }
    }
  }
}

TEST(ReduceColors, BadSettingsAreRefusedClearly) {
  TDIBPixels src = Noise(4, 4, 24, 9);
  EXPECT_GIF_ERROR(ReduceColors(src, TColorReduction(10), dmNearest, 8), "Invalid reduction method");
  EXPECT_GIF_ERROR(ReduceColors(src, rmWeb216, TDitherMode(7), 8), "Invalid dither mode");
  for (int bits : {0, 9, -3})
    EXPECT_GIF_ERROR(ReduceColors(src, rmOptimized, dmNearest, bits), "Reduction bits must be between 1 and 8");
  EXPECT_GIF_ERROR(ReduceColors(src, rmGivenPalette, dmNearest, 8), "No palette given for color reduction");
  TColorPalette empty;
  EXPECT_GIF_ERROR(ReduceColors(src, rmGivenPalette, dmNearest, 8, &empty), "No palette given for color reduction");
  // bits only matter to the optimised palette
  EXPECT_NO_THROW(ReduceColors(src, rmWeb216, dmNearest, 0));
}
