#include "gif/gifrender.h"

#include <gtest/gtest.h>

#include <thread>

#include "gif/reducegraphic.h"
#include "gif_render_util.h"
#include "gui_test.h"

using namespace gifgui;

namespace {

class Render : public testing::Test {
protected:
  void SetUp() override { GIFImageUnitInit(); }
  void TearDown() override {
    DoAutoDither = false;
    GIFImageUnitDone();
  }
  TGIFImage img;
};

TEST_F(Render, ScaleRectMapsTheLogicalScreenOntoTheTarget) {
  img.SetWidth(20);
  img.SetHeight(20);
  TGIFSubImage* f = AddFrame(img, 5, 5, 10, 10);
  EXPECT_EQ(ScaleRect(f, Rect(100, 100, 140, 140)), Rect(110, 110, 130, 130));
  EXPECT_EQ(ScaleRect(f, Rect(0, 0, 20, 20)), Rect(5, 5, 15, 15));
  // Uneven scales round each edge on its own.
  EXPECT_EQ(ScaleRect(f, Rect(0, 0, 30, 10)), Rect(8, 3, 23, 8));
}

TEST_F(Render, TransparentFrameGetsAMaskOfItsTransparentPixels) {
  AddGrays(img.GlobalColorMap(), 4);
  // 17 pixels wide so a row takes two 16-bit words.
  std::vector<int> px(17 * 2, 1);
  px[0] = 0;    // (0, 0)
  px[16] = 0;   // (16, 0)
  px[17 + 9] = 0;  // (9, 1)
  TGIFSubImage* f = AddFrame(img, 0, 0, 17, 2, px);
  MakeTransparent(f, 0);
  img.UpdateScreenSize();
  ASSERT_TRUE(HasMask(f));
  EXPECT_EQ(MaskBits(f), (std::vector<std::uint8_t>{0x80, 0, 0x80, 0, 0, 0x40, 0, 0}));

  // A transparent index that no pixel uses gives no mask, and drawing is opaque.
  TGIFImage other;
  AddGrays(other.GlobalColorMap(), 4);
  TGIFSubImage* g = AddFrame(other, 0, 0, 2, 2, {1, 2, 3, 1});
  MakeTransparent(g, 0);
  other.UpdateScreenSize();
  EXPECT_FALSE(HasMask(g));
  auto b = guitest::MakeBitmap(2, 2, clRed);
  Draw(g, b->Canvas(), Rect(0, 0, 2, 2), false, true);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), Rect(0, 0, 2, 2), clRed), 0);
}

TEST_F(Render, TransparentDrawLeavesMaskedPixelsAlone) {
  AddGrays(img.GlobalColorMap(), 4);
  img.GlobalColorMap()->SetColors(1, clBlue);
  TGIFSubImage* f = AddFrame(img, 0, 0, 2, 2, {0, 1, 1, 0});
  MakeTransparent(f, 0);
  img.UpdateScreenSize();
  auto b = guitest::MakeBitmap(4, 4, clRed);
  Draw(f, b->Canvas(), Rect(0, 0, 4, 4), false, true);  // stretched twice
  TCanvas* c = b->Canvas();
  EXPECT_EQ(c->Pixels(0, 0), clRed);
  EXPECT_EQ(c->Pixels(3, 3), clRed);
  EXPECT_EQ(c->Pixels(2, 0), clBlue);
  EXPECT_EQ(c->Pixels(1, 3), clBlue);
  // Without transparency the index-0 colour (black) is drawn.
  Draw(f, c, Rect(0, 0, 4, 4), false, false);
  EXPECT_EQ(c->Pixels(0, 0), clBlack);
}

TEST_F(Render, TilingRepeatsAtTheImageSizeAndNeverLoopsOnZero) {
  MakeAnimation(img, 1, 32, 32, 0, dsKeep);
  img.GlobalColorMap()->SetColors(1, clBlue);
  auto b = guitest::MakeBitmap(60, 60, clRed);
  Draw(img.Images()->SubImages(0), b->Canvas(), Rect(0, 0, 60, 60), true, false);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), Rect(0, 0, 60, 60), clBlue), 60 * 60);

  // A frame at (2, 3) in a 10 x 10 screen tiles from there in steps of 10.
  TGIFImage small;
  AddGrays(small.GlobalColorMap(), 4);
  small.GlobalColorMap()->SetColors(1, clBlue);
  AddFrame(small, 2, 3, 2, 2, {1, 1, 1, 1});
  small.SetWidth(10);
  small.SetHeight(10);
  auto t = guitest::MakeBitmap(25, 25, clRed);
  Draw(small.Images()->SubImages(0), t->Canvas(), Rect(0, 0, 25, 25), true, false);
  EXPECT_EQ(guitest::CountColor(t->Canvas(), Rect(0, 0, 25, 25), clBlue), 9 * 4);
  EXPECT_EQ(t->Canvas()->Pixels(12, 13), clBlue);
  EXPECT_EQ(t->Canvas()->Pixels(11, 13), clRed);

  // A logical screen of 0 x 0: one tile, and the call returns.
  TGIFImage zero;
  AddGrays(zero.GlobalColorMap(), 4);
  AddFrame(zero, 0, 0, 2, 2, {1, 1, 1, 1});
  zero.Header()->SetWidth(0);
  zero.Header()->SetHeight(0);
  Draw(zero.Images()->SubImages(0), t->Canvas(), Rect(0, 0, 25, 25), true, false);
  EXPECT_EQ(ScaleRect(zero.Images()->SubImages(0), Rect(5, 5, 25, 25)), Rect(5, 5, 7, 7));
}

TEST_F(Render, FramesUseTheirTableOrAreDitheredToTheWebPalette) {
  img.GlobalColorMap()->Add(RGB(10, 20, 30));
  img.GlobalColorMap()->Add(RGB(128, 128, 128));
  TGIFSubImage* f = AddFrame(img, 0, 0, 4, 1, {0, 1, 0, 1});
  img.UpdateScreenSize();
  EXPECT_FALSE(UseWebPalette(&img)) << "default options on a true-colour screen";
  TBitmap* own = GetBitmap(f);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->PixelFormat(), pf8bit);
  EXPECT_EQ(own->Canvas()->Pixels(0, 0), RGB(10, 20, 30));
  TPaletteEntry e[2];
  ASSERT_EQ(GetPaletteEntries(GetPalette(f), 0, 2, e), 2);
  EXPECT_EQ(e[1], (TPaletteEntry{128, 128, 128, PC_NOCOLLAPSE}));

  DoAutoDither = true;  // a palette display
  ASSERT_TRUE(UseWebPalette(&img));
  f->FreeBitmap();
  TBitmap* web = GetBitmap(f);
  EXPECT_EQ(GetPaletteEntries(web->Palette(), 0, 0, nullptr), 216);
  EXPECT_EQ(GetPalette(f), web->Palette());
  // Every pixel is a cube colour.
  std::vector<TColor> row;
  for (int x = 0; x < 4; ++x) {
    TColor c = web->Canvas()->Pixels(x, 0);
    EXPECT_EQ(GetRValue(c) % 51 + GetGValue(c) % 51 + GetBValue(c) % 51, 0) << x;
    row.push_back(c);
  }
  EXPECT_EQ(row[0], clBlack);
  EXPECT_EQ(row[1], RGB(102, 102, 102));
}

TEST_F(Render, ImageBitmapIsTheFirstFrameOnTheWholeScreen) {
  EXPECT_EQ(Bitmap(&img), nullptr);
  AddGrays(img.GlobalColorMap(), 4);
  img.GlobalColorMap()->SetColors(2, clBlue);
  AddFrame(img, 1, 1, 2, 2, {2, 2, 2, 2});
  img.SetWidth(4);
  img.SetHeight(4);
  TBitmap* b = Bitmap(&img);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 4);
  EXPECT_EQ(guitest::CountColor(b->Canvas(), Rect(0, 0, 4, 4), clBlue), 4);
  EXPECT_EQ(b->Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(Bitmap(&img), b);
}

// A handler may wait for a painter, and the painter may be waiting for the
// frame lock: handlers of the image run with that lock free.
TEST_F(Render, HandlersRunWithTheFrameLockFree) {
  AddGrays(img.GlobalColorMap(), 4);
  TGIFSubImage* f = AddFrame(img, 0, 0, 8, 8, std::vector<int>(64, 1));
  AddGrays(f->ColorMap(), 4);
  img.UpdateScreenSize();
  std::vector<std::string> locked;
  auto check = [&](const std::string& what) {
    bool free = false;
    std::thread other([&] {
      if (img.FrameLock().try_lock()) {
        free = true;
        img.FrameLock().unlock();
      }
    });
    other.join();
    if (!free) locked.push_back(what);
  };
  int progress = 0, warnings = 0, changes = 0;
  img.OnProgress = [&](TObject*, TProgressStage, std::uint8_t, bool, const TRect&, const std::string&) {
    ++progress;
    check("progress");
  };
  img.OnWarning = [&](TObject*, TGIFSeverity, const std::string&) {
    ++warnings;
    check("warning");
  };
  img.OnChange = [&](TObject*) {
    ++changes;
    check("change");
  };
  ASSERT_NE(GetBitmap(f), nullptr);                         // "Rendering..."
  SetPalette(f, PaletteToHandle({{255, 0, 0, 0}, {0, 255, 0, 0}}));  // drops the bitmap: Changed
  ASSERT_NE(GetBitmap(f), nullptr);                         // palette modified: Changed again
  f->SetBounds(4, 4, 8, 8);                                 // beyond the screen: warnings
  auto* gce = AddExt<TGIFGraphicControlExtension>(f);
  gce->SetTransparentColorIndex(9);                         // beyond the table: a warning
  EXPECT_GT(progress, 0);
  EXPECT_GT(warnings, 1);
  EXPECT_GT(changes, 1);
  EXPECT_EQ(locked, std::vector<std::string>{});
}

}  // namespace
