// Colours, pens, brushes and fonts.
#include <gtest/gtest.h>

#include "gui_test.h"
#include "platform/typinfo.h"

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

TEST(DrawingAttributes, ChangesNotifyOnceAndAssignCopiesEverything) {
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
  TPen other;
  other.Assign(&pen);
  EXPECT_EQ(other.Color(), clRed);
  EXPECT_EQ(other.Width(), 3);
  EXPECT_EQ(other.Style(), psDot);
  EXPECT_EQ(other.Mode(), pmXor);
  TBrush brush;
  EXPECT_THROW(pen.Assign(&brush), EConvertError);

  brush.SetStyle(bsClear);
  brush.SetColor(clBlue);  // a colour makes a clear brush solid
  EXPECT_EQ(brush.Style(), bsSolid);

  TFont f;
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(16);  // a cell height reads back as a negative size
  EXPECT_EQ(f.Size(), -12);
  f.SetStyle(FontStyles({fsBold, fsUnderline}));
  f.SetOrientation(450);
  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.Height(), 16);
  EXPECT_TRUE(HasFontStyle(g.Style(), fsUnderline));
  EXPECT_FALSE(HasFontStyle(g.Style(), fsItalic));
  EXPECT_EQ(g.Orientation(), 450);
  unsigned gen = g.Generation();
  g.SetName("");  // ignored
  EXPECT_EQ(g.Generation(), gen);
}

TEST(DrawingAttributes, PublishedPropertiesReadAndWriteByName) {
  TPen pen;
  EXPECT_EQ(GetEnumProp(&pen, "Style"), "psSolid");
  SetEnumProp(&pen, "Mode", "pmNotXor");
  EXPECT_EQ(pen.Mode(), pmNotXor);
  SetOrdProp(&pen, "Width", 4);
  EXPECT_EQ(pen.Width(), 4);
  TFont font;
  SetEnumProp(&font, "Style", "[fsBold,fsItalic]");
  EXPECT_EQ(font.Style(), FontStyles({fsBold, fsItalic}));
  SetStrProp(&font, "Name", "Courier New");
  EXPECT_EQ(font.Name(), "Courier New");
  EXPECT_FALSE(IsStoredProp(&font, *GetPropInfo(TFont::StaticClass(), "Size")));
  EXPECT_TRUE(IsStoredProp(&font, *GetPropInfo(TFont::StaticClass(), "Style")));
  EXPECT_EQ(GetOrdProp(&font, "Color"), clWindowText);
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
