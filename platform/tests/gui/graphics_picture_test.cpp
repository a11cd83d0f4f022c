// Pictures and the picture format registry.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui_test.h"
#include "platform/jpeg.h"
#include "platform/metafile.h"
#include "test_temp.h"

namespace {

// A graphic class that stands in for a later picture format.
class TFakeGif : public TGraphic {
  DECLARE_CLASS(TFakeGif, TGraphic)
public:
  bool Empty() const override { return data.empty(); }
  int Width() const override { return 4; }
  int Height() const override { return 3; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(TStream* s) override {
    data.resize(4);
    s->ReadBuffer(data.data(), 4);
  }
  void SaveToStream(TStream* s) override { s->WriteBuffer(data.data(), std::int64_t(data.size())); }
  void Draw(TCanvas*, const TRect&) override {}
  void Assign(TPersistent* Source) override {
    if (auto* g = dynamic_cast<TFakeGif*>(Source)) data = g->data;
    else TGraphic::Assign(Source);
  }
  std::string data;
};
IMPLEMENT_CLASS(TFakeGif, TGraphic)

}  // namespace

TEST(PictureRegistry, FormatsAreFoundByExtensionAndClassNameAndListedInTheFilter) {
  EXPECT_EQ(TPicture::GraphicClassForExtension("JPG"), TJPEGImage::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForExtension("jpeg"), TJPEGImage::StaticClass());
  TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass());  // the filters below list bitmaps only
  MetafileUnitDone();
  TPicture::UnregisterGraphicClass(TFakeGif::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForExtension("BMP"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForExtension(".bmp"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForName("tbitmap"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::GraphicFilter(), "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(TPicture::GraphicClassForName("TFakeGif"), nullptr);

  TPicture::RegisterFileFormat("GIF", "GIF Image", TFakeGif::StaticClass());
  std::uint16_t cf = RegisterClipboardFormat("GIF Image");
  TPicture::RegisterClipboardFormat(cf, TFakeGif::StaticClass());
  EXPECT_EQ(TPicture::GraphicFilter(),
            "All (*.gif;*.bmp)|*.gif;*.bmp|GIF Image (*.gif)|*.gif|Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(TPicture::GraphicFilter(TFakeGif::StaticClass()), "GIF Image (*.gif)|*.gif");
  EXPECT_EQ(TPicture::GraphicFileMask(nullptr), "*.gif;*.bmp");
  EXPECT_EQ(TPicture::GraphicExtension(TBitmap::StaticClass()), "bmp");
  EXPECT_EQ(TPicture::GraphicClassForExtension("gif"), TFakeGif::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForName("TFakeGif"), TFakeGif::StaticClass());
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(cf));
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));

  TPicture::RegisterFileFormat("gif", "GIF Image", TFakeGif::StaticClass());  // again: still once
  EXPECT_EQ(TPicture::GraphicFileMask(nullptr), "*.gif;*.bmp");

  TPicture::UnregisterGraphicClass(TFakeGif::StaticClass());
  EXPECT_EQ(TPicture::GraphicClassForExtension("gif"), nullptr);
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(cf));
  EXPECT_EQ(TPicture::GraphicFilter(), "Bitmaps (*.bmp)|*.bmp");
  TPicture::RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
  TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::StaticClass());
  MetafileUnitInit();
}

TEST(PictureRegistry, ClipboardFormatNamesGiveStableNumbers) {
  std::uint16_t a = RegisterClipboardFormat("Phonark Test A");
  EXPECT_GE(a, 0xC000);
  EXPECT_EQ(RegisterClipboardFormat("phonark test a"), a);
  EXPECT_NE(RegisterClipboardFormat("Phonark Test B"), a);
  TPicture p;
  EXPECT_THROW(p.LoadFromClipboardFormat(a, 0, 0), EInvalidGraphic);
}

TEST(PictureStreams, PictureDataNamesItsGraphicClass) {
  TPicture::RegisterFileFormat("gif", "GIF Image", TFakeGif::StaticClass());
  TMemoryStream s;
  std::string data = std::string("\x08TFakeGifGIF8", 13);
  s.WriteBuffer(data.data(), std::int64_t(data.size()));
  s.SetPosition(0);
  TPicture p;
  int changes = 0;
  p.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  p.LoadFromStream(&s);
  ASSERT_NE(p.Graphic(), nullptr);
  EXPECT_EQ(p.Graphic()->ClassName(), "TFakeGif");
  EXPECT_EQ(static_cast<TFakeGif*>(p.Graphic())->data, "GIF8");
  EXPECT_EQ(p.Width(), 4);
  EXPECT_EQ(changes, 1);

  TMemoryStream out;
  p.SaveToStream(&out);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), data);

  // Once the class is no longer registered the same data gives an empty picture.
  TPicture::UnregisterGraphicClass(TFakeGif::StaticClass());
  s.SetPosition(0);
  EXPECT_NO_THROW(p.LoadFromStream(&s));
  EXPECT_EQ(p.Graphic(), nullptr);
  EXPECT_EQ(p.Width(), 0);

  // A bitmap goes the same way.
  auto b = guitest::MakeBitmap(5, 4, clRed);
  TPicture q;
  q.SetGraphic(b.get());
  EXPECT_NE(q.Graphic(), b.get());  // a copy
  TMemoryStream bs;
  q.SaveToStream(&bs);
  bs.SetPosition(0);
  TPicture r;
  r.LoadFromStream(&bs);
  ASSERT_NE(r.Graphic(), nullptr);
  EXPECT_EQ(r.Graphic()->ClassName(), "TBitmap");
  EXPECT_EQ(r.Bitmap()->Canvas()->Pixels(4, 3), clRed);
}

TEST(PictureFiles, LoadingByExtensionAndChangesOfTheGraphic) {
  std::string file = TestTempFile("picture.bmp");
  guitest::MakeBitmap(6, 2, clBlue)->SaveToFile(file);
  TPicture p;
  int changes = 0;
  p.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  p.LoadFromFile(file);
  EXPECT_EQ(p.Width(), 6);
  EXPECT_EQ(changes, 1);
  p.Bitmap()->Canvas()->SetPixels(0, 0, clRed);  // drawing on the graphic changes the picture
  EXPECT_EQ(changes, 2);

  try {
    p.LoadFromFile(TestTempFile("picture.xyz"));
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "Unknown picture file extension (.xyz)");
  }
  std::string broken = TestTempFile("broken.bmp");
  {
    TFileStream f(broken, fmCreate);
    f.WriteBuffer("BMxx", 4);
  }
  EXPECT_THROW(p.LoadFromFile(broken), EInvalidGraphic);
  EXPECT_EQ(p.Width(), 6);  // the failed load kept the picture
  EXPECT_EQ(p.Bitmap()->Canvas()->Pixels(0, 0), clRed);

  std::string saved = TestTempFile("saved.bmp");
  p.SaveToFile(saved);
  TPicture back;
  back.LoadFromFile(saved);
  EXPECT_TRUE(back.Graphic()->Equals(p.Graphic()));

  TPicture icon;
  icon.Icon()->SetSize(2, 2);
  EXPECT_EQ(icon.Bitmap()->Width(), 0);  // asking for a bitmap replaces the icon
  icon.Assign(&p);
  EXPECT_EQ(icon.Width(), 6);
  icon.Assign(nullptr);
  EXPECT_EQ(icon.Graphic(), nullptr);
  for (const std::string& f : {file, broken, saved}) std::filesystem::remove(f);
}
