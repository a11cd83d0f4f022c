#include "gif/gifunit.h"

#include <gtest/gtest.h>

#include "gif/phonark_picture.h"
#include "gif_render_util.h"
#include "gui_test.h"
#include "platform/clipbrd.h"

using namespace gifgui;

namespace {

class Unit : public testing::Test {
protected:
  void SetUp() override { GIFImageUnitInit(); }
  void TearDown() override { GIFImageUnitDone(); }
};

TEST_F(Unit, RegistersTheFileAndClipboardFormatsOnce) {
  GIFImageUnitInit();  // a second start-up changes nothing
  EXPECT_NE(TPicture::GraphicFilter().find("GIF Image (*.gif)|*.gif"), std::string::npos);
  EXPECT_EQ(TPicture::GraphicClassForExtension(".GIF"), TGIFImage::StaticClass());
  EXPECT_EQ(CF_GIF, RegisterClipboardFormat("GIF Image"));
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_GIF));
  EXPECT_FALSE(PaletteDisplay) << "the offscreen screen has more than 8 bits";
  EXPECT_EQ(DoAutoDither, PaletteDisplay);
  GIFImageUnitDone();
  EXPECT_EQ(TPicture::GraphicClassForExtension("gif"), TGIFImage::StaticClass()) << "still one start-up left";
}

TEST_F(Unit, MainWindowPictureLoadsByItsClassName) {
  std::vector<std::uint8_t> data = PhonarkPictureData();
  ASSERT_EQ(data[0], 9);
  EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 10), "TGIFImage");
  TMemoryStream s;
  s.WriteBuffer(data.data(), std::int64_t(data.size()));
  s.SetPosition(0);
  TPicture picture;
  picture.LoadFromStream(&s);
  auto* gif = dynamic_cast<TGIFImage*>(picture.Graphic());
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->Width(), 32);
  EXPECT_EQ(gif->Height(), 32);
  EXPECT_EQ(gif->GlobalColorMap()->Count(), 16);
  ASSERT_EQ(gif->Images()->Count(), 4);
  auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(gif->Images()->SubImages(0)->Extensions()->Extensions(0));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->Loops(), 0);
  for (int i = 0; i < 4; ++i) {
    TGIFGraphicControlExtension* g = gif->Images()->SubImages(i)->GraphicControlExtension();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Disposal(), dsRestoreBackground);
    EXPECT_TRUE(g->Transparent());
    EXPECT_EQ(g->TransparentColorIndex(), 0);
    EXPECT_EQ(g->Delay(), 10);
  }
}

TEST_F(Unit, ClipboardRoundTrip) {
  TGIFImage img;
  MakeAnimation(img, 3, 8, 6, 7, dsRestorePrevious);
  EmptyClipboard();
  Clipboard()->Assign(&img);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_GIF));

  TPicture pasted;
  pasted.Assign(Clipboard());  // the first registered format: the GIF stream
  auto* back = dynamic_cast<TGIFImage*>(pasted.Graphic());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(SaveBytes(*back), SaveBytes(img));

  // A bitmap alone pastes as one frame.
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(5, 4);
  bmp.Canvas()->Brush()->SetColor(clBlue);
  bmp.Canvas()->FillRect(Rect(0, 0, 5, 4));
  Clipboard()->Assign(&bmp);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_GIF));
  TGIFImage fromBitmap;
  fromBitmap.LoadFromClipboardFormat(CF_BITMAP, 0, 0);
  ASSERT_EQ(fromBitmap.Images()->Count(), 1);
  EXPECT_EQ(fromBitmap.Width(), 5);
  TGIFSubImage* f = fromBitmap.Images()->SubImages(0);
  EXPECT_EQ(f->ActiveColorMap()->Colors(f->Pixels(4, 3)), clBlue);

  EXPECT_GIF_ERROR(fromBitmap.LoadFromClipboardFormat(CF_GIF, 0, 0), "Unsupported clipboard format");
  EXPECT_GIF_ERROR(fromBitmap.LoadFromClipboardFormat(1, 0, 0), "Unsupported clipboard format");

  // An empty image puts nothing there.
  EmptyClipboard();
  TGIFImage empty;
  std::uint16_t format = 0;
  THandle handle = 0;
  HPALETTE palette = 0;
  empty.SaveToClipboardFormat(format, handle, palette);
  EXPECT_EQ(handle, 0u);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_GIF));
}

}  // namespace
