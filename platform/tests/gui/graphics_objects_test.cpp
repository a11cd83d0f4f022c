// Colours, pens, brushes and fonts.
#include <gtest/gtest.h>

#include "gui_test.h"

TEST(Colors, SystemColoursResolveThroughTheFixedTableAndSentinelsPassThrough) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
  EXPECT_EQ(ColorToRGB(clHighlight), 0x800000);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);
  for (TColor c : {clNone, clDefault, clRed, clWhite, TColor(0x123456)}) EXPECT_EQ(ColorToRGB(c), c);

  // A system colour draws as its table colour.
  auto b = guitest::MakeBitmap(2, 2, clBtnFace);
  EXPECT_EQ(b->Canvas()->Pixels(1, 1), 0xC0C0C0);
}

// Assign and the published properties are the property walk's (app tests).
TEST(DrawingAttributes, ChangesNotifyOnceAndSizesConvert) {
  TPen pen;
  int n = 0;
  pen.OnChange = TNotifyEvent([&](TObject*) { ++n; });
  pen.SetColor(clRed);
  pen.SetColor(clRed);
  pen.SetWidth(3);
  pen.SetWidth(-1);  // ignored
  pen.SetStyle(psDot);
  pen.SetMode(pmXor);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(pen.Width(), 3);
  TBrush brush;
  EXPECT_THROW(pen.Assign(&brush), EConvertError);

  brush.SetStyle(bsClear);
  brush.SetColor(clBlue);  // a colour makes a clear brush solid
  EXPECT_EQ(brush.Style(), bsSolid);

  TFont f;
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(16);  // a cell height reads back as a negative size
  EXPECT_EQ(f.Size(), -12);
  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.Height(), 16);
  unsigned gen = g.Generation();
  g.SetName("");  // ignored
  EXPECT_EQ(g.Generation(), gen);
}

TEST(Arithmetic, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);
  EXPECT_EQ(MulDiv(-8, 96, 72), -11);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(5, 7, -3), -12);
  EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(BytesPerScanline(13, 24, 32), 40);
  EXPECT_EQ(BytesPerScanline(13, 1, 32), 4);
  EXPECT_EQ(BytesPerScanline(9, 4, 32), 8);
}
