// The picture page: what it shows for empty, plain and back pictures, browsing and
// clearing, files that do not load, mode, place, transparency and filters.
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
    TestDialogs::Clear();
    host.SetBounds(0, 0, 320, 300);
    host.Show();
  }
  void TearDown() override { host.Hide(); }

  static void Paint(TLumPicture* P, int W, int H) {
    TBitmap bmp;
    bmp.SetSize(W, H);
    bmp.Canvas()->Brush()->SetColor(clGreen);
    bmp.Canvas()->FillRect(Rect(0, 0, W, H));
    P->SetGraphic(&bmp);
  }
  // A bitmap file and a JPEG file of a W x H picture, named Stem.bmp and Stem.jpg.
  static std::pair<std::string, std::string> PictureFiles(const std::string& Stem, int W, int H) {
    TBitmap bmp;
    bmp.SetSize(W, H);
    const std::string bmpFile = TestTempFile(Stem + ".bmp"), jpgFile = TestTempFile(Stem + ".jpg");
    bmp.SaveToFile(bmpFile);
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    jpeg.SaveToFile(jpgFile);
    return {bmpFile, jpgFile};
  }
  // An editor embedded in the host, editing P.
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
    const char* What;
    bool Back, HasGraphic;
    TBackImageMode Mode;
    bool StyleShown, StyleEnabled, PositionShown, PositionEnabled, SizeShown;
    std::string Button;
  };
  const TCase cases[] = {
      {"empty back image", true, false, pbmStretch, true, false, true, false, false, LumMsg_Browse},
      {"stretched back image", true, true, pbmStretch, true, true, true, false, true, LumMsg_Clear},
      {"tiled back image", true, true, pbmTile, true, true, true, false, true, LumMsg_Clear},
      {"back image at its own place", true, true, pbmCustom, true, true, true, true, true, LumMsg_Clear},
      {"empty plain picture", false, false, pbmStretch, false, false, false, false, false, LumMsg_Browse},
      {"plain picture", false, true, pbmStretch, false, true, false, false, true, LumMsg_Clear},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TBackImage back;
    TLumPicture plain;
    TLumPicture* p = c.Back ? &back : &plain;
    back.SetMode(c.Mode);
    if (c.HasGraphic) Paint(p, 64, 48);
    TBackImageEditor* e = Open(p);
    EXPECT_EQ(e->RGBitmap->Visible(), c.StyleShown);
    EXPECT_EQ(e->RGBitmap->Enabled(), c.StyleEnabled);
    if (c.Back) {
      EXPECT_EQ(e->RGBitmap->ItemIndex(), int(c.Mode));
    }
    EXPECT_EQ(e->GBPosition->Visible(), c.PositionShown);
    if (c.Back) {
      EXPECT_EQ(e->ELeft->Enabled(), c.PositionEnabled);
      EXPECT_EQ(e->UDTop->Enabled(), c.PositionEnabled);
    }
    EXPECT_EQ(e->CBTransp->Enabled(), c.HasGraphic);
    EXPECT_EQ(e->LabelSize->Visible(), c.SizeShown);
    EXPECT_EQ(e->LabelExt->Visible(), c.SizeShown);
    if (c.SizeShown) {
      EXPECT_EQ(e->LabelSize->Caption(), "64x48");
      EXPECT_EQ(e->LabelExt->Caption(), "bmp");
    }
    EXPECT_EQ(e->BBrowse->Caption(), c.Button);
    EXPECT_EQ(e->Image1->Picture()->Graphic() != nullptr, c.HasGraphic);
    EXPECT_FALSE(e->PanelButtons->Visible());
  }
}

TEST_F(TBackImageEditorTest, BrowseLoadsTheChosenFileAndClearEmptiesThePicture) {
  const auto [bmpFile, jpgFile] = PictureFiles("loaded", 30, 20);

  TBackImage back;
  TBackImageEditor* e = Open(&back);
  for (const auto& [file, ext] : {std::pair{bmpFile, "bmp"}, {jpgFile, "jpg"}}) {
    SCOPED_TRACE(file);
    TestDialogs::AnswerFile(file);
    e->BBrowseClick(e->BBrowse);
    ASSERT_FALSE(back.Empty());
    EXPECT_EQ(e->LabelSize->Caption(), "30x20");
    EXPECT_EQ(e->LabelExt->Caption(), ext);
    EXPECT_TRUE(e->RGBitmap->Enabled());
    EXPECT_EQ(e->BBrowse->Caption(), LumMsg_Clear);
    const int asked = int(TestDialogs::Asked().size());
    e->BBrowseClick(e->BBrowse);  // clears without asking
    EXPECT_EQ(int(TestDialogs::Asked().size()), asked);
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(e->BBrowse->Caption(), LumMsg_Browse);
    EXPECT_FALSE(e->LabelSize->Visible());
  }
  // A cancelled dialog changes nothing.
  e->BBrowseClick(e->BBrowse);
  EXPECT_TRUE(back.Empty());
}

TEST_F(TBackImageEditorTest, AFileThatDoesNotLoadIsReportedAndThePictureStaysAsItWas) {
  const auto [good, goodJpeg] = PictureFiles("whole", 40, 40);
  const std::string bytes = gallerytest::ReadFile(good), jpegBytes = gallerytest::ReadFile(goodJpeg);
  const std::string unknown = TestTempFile("picture.xyz"), shortBmp = TestTempFile("short.bmp"),
                    shortJpeg = TestTempFile("short.jpg"), vanished = TestTempFile("vanished.bmp");
  std::ofstream(unknown, std::ios::binary) << bytes;
  std::ofstream(shortBmp, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  std::ofstream(shortJpeg, std::ios::binary) << jpegBytes.substr(0, jpegBytes.size() / 2);

  TBackImage back;
  back.SetMode(pbmTile);
  back.Filters()->Add(TInvertFilter::StaticClass());
  int changes = 0;
  back.OnChange = [&](TObject*) { ++changes; };
  TBackImageEditor* e = Open(&back);
  for (const std::string& file : {unknown, shortBmp, shortJpeg, vanished}) {
    SCOPED_TRACE(file);
    TestDialogs::AnswerFile(file);
    TestInput::PostClick(e->BBrowse);
    TestInput::PumpUntil([] { return !RecordedMessages().empty(); });
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_NE(RecordedMessages()[0].find(file), std::string::npos) << RecordedMessages()[0];
    ClearRecordedMessages();
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(back.Mode(), pbmTile);
    EXPECT_EQ(back.Filters()->Count(), 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(e->BBrowse->Caption(), LumMsg_Browse);
  }
}

TEST_F(TBackImageEditorTest, StyleAndPlaceGoToTheBackImageButLoadingWritesNothing) {
  TBackImage back;
  Paint(&back, 16, 16);
  back.SetMode(pbmCustom);
  back.SetLeft(50000);  // beyond what the up-down shows
  back.SetTop(-7);
  TBackImageEditor* e = Open(&back);
  EXPECT_EQ(e->UDLeft->Position(), 32000);
  EXPECT_EQ(e->UDTop->Position(), -7);
  e->LoadBackImage(&back);  // again, while shown
  EXPECT_EQ(back.Left(), 50000);

  e->RGBitmap->SetItemIndex(0);
  EXPECT_EQ(back.Mode(), pbmStretch);
  EXPECT_FALSE(e->ELeft->Enabled());
  e->RGBitmap->SetItemIndex(3);
  EXPECT_EQ(back.Mode(), pbmCustom);
  ASSERT_TRUE(e->ELeft->Enabled());
  e->UDLeft->SetPosition(12);
  e->UDTop->SetPosition(34);
  EXPECT_EQ(back.Left(), 12);
  EXPECT_EQ(back.Top(), 34);

  // A plain picture switched in hides the groups and takes no mode.
  TLumPicture plain;
  Paint(&plain, 8, 8);
  e->LoadBackImage(&plain);
  EXPECT_FALSE(e->RGBitmap->Visible());
  e->UDLeft->SetPosition(99);
  EXPECT_EQ(back.Left(), 12);
}

TEST_F(TBackImageEditorTest, TransparencyAndFiltersGoToThePicture) {
  TLumPicture plain;
  Paint(&plain, 20, 10);
  int changes = 0;
  plain.OnChange = [&](TObject*) { ++changes; };
  TBackImageEditor* e = Open(&plain);
  EXPECT_FALSE(e->CBTransp->Checked());
  EXPECT_EQ(changes, 0);
  e->CBTransp->SetChecked(true);
  EXPECT_TRUE(plain.Graphic()->Transparent());
  EXPECT_EQ(changes, 1);
  e->CBTransp->SetChecked(false);
  EXPECT_FALSE(plain.Graphic()->Transparent());

  // The filters editor, closed with OK, tells the picture; its page shows the result.
  plain.Filters()->Add(TInvertFilter::StaticClass());
  TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });
  e->Button1Click(e->Button1);
  EXPECT_EQ(changes, 3);
  auto* shown = dynamic_cast<TBitmap*>(e->Image1->Picture()->Graphic());
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->Canvas()->Pixels(5, 5), TColor(0xFF7FFF));  // green inverted
}

}  // namespace
