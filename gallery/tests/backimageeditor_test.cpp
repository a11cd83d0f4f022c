// The picture page: what it shows for empty, plain and back pictures, and files that
// load or do not.
#include "gallery/backimageeditor.h"

#include <gtest/gtest.h>

#include <fstream>

#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "engine/backimage.h"
#include "engine/engineunit.h"
#include "gallery_test_util.h"
#include "platform/jpeg.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

class TBackImageEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    ClearRecordedMessages();
    host.Show();
  }
  TBackImageEditor* Open(TLumPicture* P) {
    editor.reset(EmbedBackImageEditor(&host));
    editor->LoadBackImage(P);
    return editor.get();
  }
  TForm host{nullptr};
  std::unique_ptr<TBackImageEditor> editor;
};

TEST_F(TBackImageEditorTest, ControlsFollowThePictureItsKindAndMode) {
  struct TCase {
    bool Back, HasGraphic;
    TBackImageMode Mode;
  };
  const TCase cases[] = {{true, false, pbmCustom}, {true, true, pbmStretch}, {true, true, pbmTile},
                         {true, true, pbmCustom},  {false, false, pbmCustom}, {false, true, pbmCustom}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Back << c.HasGraphic << c.Mode);
    TBackImage back;
    TLumPicture plain;
    TLumPicture* p = c.Back ? &back : &plain;
    back.SetMode(c.Mode);
    back.SetLeft(50000);  // beyond the up-down: loading must not write it back
    TBitmap bmp;
    bmp.SetSize(64, 48);
    if (c.HasGraphic) p->SetGraphic(&bmp);
    TBackImageEditor* e = Open(p);
    EXPECT_EQ(e->RGBitmap->Visible(), c.Back);  // a plain picture has no mode or place
    EXPECT_EQ(e->GBPosition->Visible(), c.Back);
    EXPECT_EQ(e->RGBitmap->Enabled(), c.HasGraphic);
    EXPECT_EQ(e->CBTransp->Enabled(), c.HasGraphic);
    if (c.Back) {
      EXPECT_EQ(e->RGBitmap->ItemIndex(), int(c.Mode));
      EXPECT_EQ(e->ELeft->Enabled(), c.Mode == pbmCustom);
    }
    EXPECT_EQ(e->LabelSize->Visible(), c.HasGraphic);
    EXPECT_EQ(e->LabelSize->Caption(), c.HasGraphic ? "64x48" : "0x0");
    EXPECT_EQ(e->LabelExt->Caption(), c.HasGraphic ? "bmp" : "");
    EXPECT_EQ(e->BBrowse->Caption(), c.HasGraphic ? LumMsg_Clear : LumMsg_Browse);
    EXPECT_EQ(back.Left(), 50000);
  }
}

TEST_F(TBackImageEditorTest, AFileThatDoesNotLoadIsReportedAndThePictureStaysAsItWas) {
  TBitmap bmp;
  bmp.SetSize(30, 20);
  const std::string good = TestTempFile("whole.bmp"), goodJpeg = TestTempFile("whole.jpg");
  bmp.SaveToFile(good);
  TJPEGImage jpeg;
  jpeg.Assign(&bmp);
  jpeg.SaveToFile(goodJpeg);
  const std::string bytes = gallerytest::ReadFile(good), jpegBytes = gallerytest::ReadFile(goodJpeg);
  const std::string unknown = TestTempFile("picture.xyz"), shortBmp = TestTempFile("short.bmp"),
                    shortJpeg = TestTempFile("short.jpg"), vanished = TestTempFile("vanished.bmp");
  std::ofstream(unknown, std::ios::binary) << bytes;
  std::ofstream(shortBmp, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  std::ofstream(shortJpeg, std::ios::binary) << jpegBytes.substr(0, jpegBytes.size() / 2);

  TBackImage back;
  back.Filters()->Add(TInvertFilter::StaticClass());
  int changes = 0;
  back.OnChange = [&](TObject*) { ++changes; };
  TBackImageEditor* e = Open(&back);
  for (const std::string& file : {unknown, shortBmp, shortJpeg, vanished}) {
    SCOPED_TRACE(file);
    TestDialogs::AnswerFile(file);
    TestInput::PostClick(e->BBrowse);
    TestInput::PumpUntil([] { return !RecordedMessages().empty(); });
    EXPECT_EQ(RecordedMessages().size(), 1u);
    ClearRecordedMessages();
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(back.Filters()->Count(), 1);
    EXPECT_EQ(changes, 0);
  }
  // Whole files load and show; a second click clears.
  for (const auto& [file, ext] : {std::pair{good, "bmp"}, {goodJpeg, "jpg"}}) {
    TestDialogs::AnswerFile(file);
    e->BBrowseClick(e->BBrowse);
    EXPECT_EQ(e->LabelSize->Caption() + " " + e->LabelExt->Caption(), std::string("30x20 ") + ext);
    e->BBrowseClick(e->BBrowse);
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(e->BBrowse->Caption(), LumMsg_Browse);
  }
}

}  // namespace
