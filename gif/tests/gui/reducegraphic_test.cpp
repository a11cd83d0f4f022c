#include "gif/reducegraphic.h"

#include <gtest/gtest.h>

#include <vector>

#include "../core/gif_test_util.h"
#include "gui_test.h"

namespace {

class GraphicToFrame : public testing::Test {
protected:
  void SetUp() override { GIFGraphicConversionInit(); }

  // Adds a 2-row indexed bitmap whose first row holds Bytes; answers the frame.
  TGIFSubImage* AddIndexed(TPixelFormat format, int width, const TColorPalette& palette,
                           const std::vector<std::uint8_t>& bytes) {
    TBitmap b;
    b.SetPixelFormat(format);
    b.SetPalette(PaletteToHandle(palette));
    b.SetSize(width, 2);
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(b.ScanLine(0)));
    return Frame(gif.Add(&b));
  }
  TGIFSubImage* Frame(int i) { return gif.Images()->SubImages(i); }
  static std::vector<int> Row(TGIFSubImage* f, int y) {
    std::vector<int> v;
    for (int x = 0; x < f->Width(); ++x) v.push_back(f->Pixels(x, y));
    return v;
  }

  TGIFImage gif;
};

TColorPalette Greys(int n) {
  TColorPalette p;
  for (int i = 0; i < n; ++i) p.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0});
  return p;
}

// A graphic of our own that paints a red square.
class TSquare : public TGraphic {
public:
  bool Empty() const override { return false; }
  int Width() const override { return 6; }
  int Height() const override { return 4; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(TStream*) override {}
  void SaveToStream(TStream*) override {}
  void Draw(TCanvas* C, const TRect& R) override {
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Left + 3, R.Top + 3));
  }
};

}  // namespace

TEST_F(GraphicToFrame, IndexedBitmapsKeepPaletteAndIndexes) {
  TGIFSubImage* f = AddIndexed(pf1bit, 10, {{255, 0, 0, 0}, {0, 0, 255, 0}}, {0xA0, 0x40});
  EXPECT_EQ(Row(f, 0), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
  ASSERT_EQ(f->ColorMap()->Count(), 2);
  EXPECT_EQ(f->ColorMap()->Colors(1), clBlue);

  f = AddIndexed(pf4bit, 3, Greys(16), {0x2F, 0x70});
  EXPECT_EQ(Row(f, 0), (std::vector<int>{2, 15, 7}));
  EXPECT_EQ(f->ColorMap()->Count(), 16);

  f = AddIndexed(pf8bit, 4, Greys(256), {9, 200, 255, 0});
  EXPECT_EQ(Row(f, 0), (std::vector<int>{9, 200, 255, 0}));
  EXPECT_EQ(f->ColorMap()->Colors(200), RGB(200, 200, 200));
  EXPECT_EQ(gif.Width(), 10);
}

TEST_F(GraphicToFrame, DeepBitmapsAreReducedByTheImageSettings) {
  auto b = guitest::MakeBitmap(4, 2, clWhite);
  b->Canvas()->SetPixels(0, 0, clRed);
  b->SetPixelFormat(pf24bit);
  TGIFSubImage* f = Frame(gif.Add(b.get()));  // the default: the 6x6x6 palette
  EXPECT_EQ(f->ColorMap()->Count(), 216);
  EXPECT_EQ(Row(f, 0), (std::vector<int>{180, 215, 215, 215}));

  gif.SetColorReduction(rmNone);  // the colours as found, in order of appearance
  b = guitest::MakeBitmap(4, 2, clWhite);
  b->Canvas()->SetPixels(3, 1, clLime);
  f = Frame(gif.Add(b.get()));
  ASSERT_EQ(f->ColorMap()->Count(), 2);
  EXPECT_EQ(f->ColorMap()->Colors(0), clWhite);
  EXPECT_EQ(f->Pixels(3, 1), 1);

  auto many = guitest::MakeBitmap(257, 1);
  for (int x = 0; x < 257; ++x) many->Canvas()->SetPixels(x, 0, RGB(x & 0xFF, x >> 8, 7));
  EXPECT_GIF_ERROR(gif.Add(many.get()), "Color table overflow");
  EXPECT_EQ(gif.Images()->Count(), 2);
}

TEST_F(GraphicToFrame, IconMaskBecomesTheTransparentColour) {
  TIcon icon;
  icon.SetSize(3, 2);
  icon.Image()->Canvas()->Brush()->SetColor(clRed);
  icon.Image()->Canvas()->FillRect(Rect(0, 0, 3, 2));
  // the middle pixel of the top row is see-through, black underneath
  icon.Image()->Canvas()->SetPixels(1, 0, clBlack);
  static_cast<std::uint8_t*>(icon.Mask()->ScanLine(0))[0] = 0x40;
  static_cast<std::uint8_t*>(icon.Mask()->ScanLine(1))[0] = 0x00;
  gif.SetColorReduction(rmNone);
  TGIFSubImage* f = Frame(gif.Add(&icon));
  ASSERT_TRUE(f->Transparent());
  ASSERT_NE(f->GraphicControlExtension(), nullptr);
  // red, the hidden black, and the first colour from black up that is not taken
  ASSERT_EQ(f->ColorMap()->Count(), 3);
  EXPECT_EQ(f->ColorMap()->Colors(2), RGB(1, 0, 0));
  EXPECT_EQ(f->TransparentIndex(), 2);
  EXPECT_EQ(Row(f, 0), (std::vector<int>{0, 2, 0}));
  EXPECT_EQ(Row(f, 1), (std::vector<int>{0, 0, 0}));

  // a full table lends the masked pixels the first entry no visible pixel uses
  gif.SetColorReduction(rmGray256);
  f = Frame(gif.Add(&icon));
  EXPECT_EQ(f->ColorMap()->Count(), 256);
  EXPECT_EQ(f->TransparentIndex(), 0);
  EXPECT_EQ(Row(f, 0), (std::vector<int>{76, 0, 76}));
}

TEST_F(GraphicToFrame, OtherGraphicsAreDrawnIntoABitmapFirst) {
  TSquare square;
  gif.SetColorReduction(rmNone);
  std::vector<std::string> progress;
  gif.OnProgress = [&](TObject*, TProgressStage s, std::uint8_t p, bool, const TRect&,
                       const std::string& msg) {
    progress.push_back(msg + char('0' + s) + std::to_string(p));
  };
  TGIFSubImage* f = Frame(gif.Add(&square));
  EXPECT_EQ(f->Width(), 6);
  EXPECT_EQ(f->ColorMap()->Count(), 2);
  EXPECT_EQ(f->ColorMap()->Colors(f->Pixels(1, 1)), clRed);
  EXPECT_EQ(f->ColorMap()->Colors(f->Pixels(3, 1)), clWhite);
  EXPECT_EQ(progress, (std::vector<std::string>{"Converting...00", "Converting...125", "Converting...150",
                                                "Converting...175", "Converting...1100",
                                                "Converting...2100"}));
  TStringList notAGraphic;
  EXPECT_FALSE(AssignGraphicToFrame(f, &notAGraphic));
}

TEST(ReduceBitmap, GivesAnIndexedBitmapOrATrueColourCopy) {
  auto b = guitest::MakeBitmap(5, 3, RGB(128, 128, 128));
  auto web = ReduceColors(b.get(), rmWeb216, dmFloydSteinberg, 8);
  EXPECT_EQ(web->PixelFormat(), pf8bit);
  EXPECT_EQ(PaletteFromHandle(web->Palette()).size(), 216u);
  auto copy = ReduceColors(b.get(), rmNone, dmFloydSteinberg, 8);
  EXPECT_EQ(copy->PixelFormat(), pf24bit);
  EXPECT_EQ(copy->Canvas()->Pixels(4, 2), RGB(128, 128, 128));
  HPALETTE h = PaletteToHandle({{1, 1, 1, 0}, {120, 130, 125, 0}});
  auto given = ReduceColors(b.get(), rmGivenPalette, dmNearest, 8, h);
  EXPECT_EQ(static_cast<std::uint8_t*>(given->ScanLine(2))[4], 1);
  DeleteObject(h);
}
