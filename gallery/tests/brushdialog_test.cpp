// The brush dialog: what each of the 27 items gives the brush, what Cancel puts back,
// the picture button with good and bad files, the pattern bitmap it never frees, the
// stock pictures themselves, and BrowsePicture.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "gallery/brushdialog.h"
#include "gallery/gradienteditor.h"
#include "gallery_test_util.h"
#include "platform/jpeg.h"
#include "test_temp.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;
using TestInput::WhenModal;

bool SamePixels(TGraphic* A, TGraphic* B) {
  auto *a = dynamic_cast<TBitmap*>(A), *b = dynamic_cast<TBitmap*>(B);
  if (!a || !b || a->Width() != b->Width() || a->Height() != b->Height()) return false;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x)
      if (a->Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y)) return false;
  return true;
}

void WriteBytes(const std::string& File, const std::string& Bytes) {
  TMemoryStream m;
  m.WriteBuffer(Bytes.data(), Bytes.size());
  m.SaveToFile(File);
}

class BrushDialogTest : public gallerytest::TDialogTest {
protected:
  void SetUp() override {
    TDialogTest::SetUp();
    brush.SetStyle(bsCross);
    brush.SetColor(clRed);
    picture.SetSize(20, 10);
    picture.Canvas()->Brush()->SetColor(clGreen);
    picture.Canvas()->FillRect(Rect(0, 0, 20, 10));
    picture.SaveToFile(TestTempFile("good.bmp"));
  }
  TBrushDialog* Open() {
    auto* d = CreateEditorDialog<TBrushDialog>(anchor);
    d->SetBrush(&brush);
    return d;
  }
  TChartBrush brush;
  TBitmap picture;
};

TEST_F(BrushDialogTest, EachItemGivesItsStyleOrPicture) {
  std::unique_ptr<TBrushDialog> d(Open());
  ASSERT_EQ(d->LStyle->Count(), 27);
  std::function<void(int)> step = [&](int i) {
    if (i == 27) return PostClick(d->Button2);
    gallerytest::PostItemClick(d->LStyle, i, [&, i] {
      const std::string name = d->LStyle->Items()->Strings(i);
      SCOPED_TRACE(name);
      if (i < 8) {
        EXPECT_EQ(brush.Style(), TBrushStyle(i));
        EXPECT_FALSE(brush.HasImage());
        EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
        EXPECT_EQ(d->BColor->Enabled() && d->BBackColor->Enabled(), i != 1) << "None has nothing to colour";
      } else {
        TBitmap expected;
        if (i < 20)
          expected.LoadFromResourceName("LumBrush" + IntToStr(i - 7));
        else
          expected.Assign(dynamic_cast<TImage*>(d->FindComponent("Image" + name))->Picture()->Graphic());
        EXPECT_TRUE(SamePixels(brush.Image()->Graphic(), &expected));
        EXPECT_EQ(d->Button1->Caption(), "Clea&r");
        EXPECT_EQ(d->LImage->Caption(), i < 20 ? "8x8" : "64x64");
      }
      step(i + 1);
    });
  };
  WhenModal([&] { step(0); });
  EXPECT_EQ(d->ShowModal(), mrOk);
}

TEST_F(BrushDialogTest, StockTexturesLookLikeTheirNames) {
  // Mean red, green and blue of each texture against what its name promises.
  const std::function<bool(double, double, double)> looks[] = {
      [](double r, double g, double b) { return std::abs(r - b) < 20 && g > 120 && g < 220; },  // Metal
      [](double r, double g, double b) { return r > g + 30 && g > b + 20; },                      // Wood
      [](double r, double g, double b) { return std::abs(r - b) < 20 && g > 60 && g < 200; },     // Stone
      [](double r, double, double b) { return b > r + 30 && b > 180; },                          // Clouds
      [](double r, double g, double b) { return g > r + 30 && g > b + 30; },                      // Grass
      [](double r, double g, double b) { return r > 200 && r > g + 40 && g > b + 40; },           // Fire
      [](double r, double g, double b) { return r > 200 && g > 200 && b > 220 && b >= r; },       // Snow
  };
  for (int i = 0; i < 7; ++i) {
    std::unique_ptr<TBitmap> t(StockBrushPicture(12 + i));
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const TColor c = t->Canvas()->Pixels(x, y);
        r += GetRValue(c) / 4096.0, g += GetGValue(c) / 4096.0, b += GetBValue(c) / 4096.0;
      }
    EXPECT_TRUE(looks[i](r, g, b)) << "texture " << i << ": " << r << " " << g << " " << b;
  }
  EXPECT_THROW(delete StockBrushPicture(19), EListError);
}

TEST_F(BrushDialogTest, CancelAfterMetalPutsBackStyleAndPicture) {
  std::unique_ptr<TBrushDialog> d(Open());
  WhenModal([&] { gallerytest::PostItemClick(d->LStyle, 20, [&] { PostClick(d->Button3); }); });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(brush.Style(), bsCross);
  EXPECT_FALSE(brush.HasImage());

  // A brush with a picture opens on no style and gets a copy of it back.
  brush.Image()->SetGraphic(&picture);
  WhenModal([&] {
    EXPECT_EQ(d->LStyle->ItemIndex(), -1);
    EXPECT_EQ(d->LImage->Caption(), "20x10");
    gallerytest::PostItemClick(d->LStyle, 4, [&] { PostClick(d->Button3); });
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_TRUE(SamePixels(brush.Image()->Graphic(), &picture));
  EXPECT_NE(brush.Image()->Graphic(), d->BackupBrush()->Image()->Graphic());
  EXPECT_EQ(brush.Style(), bsCross);

  // The close box cancels as the button does.
  brush.Image()->SetGraphic(nullptr);
  WhenModal([&] { gallerytest::PostItemClick(d->LStyle, 21, [&] { PostCall([&] { d->Close(); }); }); });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_FALSE(brush.HasImage());
}

TEST_F(BrushDialogTest, PictureFilesLoadOrLeaveTheBrushAsItWas) {
  TJPEGImage jpeg;  // a picture that is no bitmap
  jpeg.Assign(&picture);
  jpeg.SaveToFile(TestTempFile("good.jpg"));
  const std::string jpegBytes = gallerytest::ReadFile(TestTempFile("good.jpg"));
  const std::string bmpBytes = gallerytest::ReadFile(TestTempFile("good.bmp"));
  WriteBytes(TestTempFile("half.jpg"), jpegBytes.substr(0, jpegBytes.size() / 2));
  WriteBytes(TestTempFile("half.bmp"), bmpBytes.substr(0, bmpBytes.size() - 100));
  WriteBytes(TestTempFile("picture.xyz"), bmpBytes);
  WriteBytes(TestTempFile("gone.bmp"), bmpBytes);
  std::remove(TestTempFile("gone.bmp").c_str());  // chosen, then gone before the load

  std::unique_ptr<TBrushDialog> d(Open());
  for (const char* bad : {"picture.xyz", "half.bmp", "half.jpg", "gone.bmp"}) {
    SCOPED_TRACE(bad);
    ClearRecordedMessages();
    WhenModal([&] {
      TestDialogs::AnswerFile(TestTempFile(bad));
      PostClick(d->Button1);
      PostClick(d->Button2);
    });
    EXPECT_EQ(d->ShowModal(), mrOk);
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_FALSE(brush.HasImage() || brush.Bitmap());
    EXPECT_EQ(brush.Style(), bsCross);
    EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
  }
  EXPECT_NE(RecordedMessages()[0].find("gone.bmp"), std::string::npos) << "the message names the file";

  ClearRecordedMessages();
  WhenModal([&] {
    TestDialogs::AnswerFile(TestTempFile("good.jpg"));
    PostClick(d->Button1);
    PostClick(d->Button2);
  });
  d->ShowModal();
  EXPECT_TRUE(RecordedMessages().empty());
  auto* loaded = dynamic_cast<TBitmap*>(brush.Image()->Graphic());
  ASSERT_NE(loaded, nullptr) << "drawn onto a bitmap of its size";
  EXPECT_EQ(loaded->Width(), 20);
  EXPECT_EQ(TestDialogs::Asked().back().Filter, TPicture::GraphicFilter());
}

TEST_F(BrushDialogTest, ClearLetsGoOfThePatternBitmapWithoutFreeingIt) {
  auto pattern = std::make_unique<TBitmap>();
  pattern->SetSize(4, 4);
  brush.SetBitmap(pattern.get());
  std::unique_ptr<TBrushDialog> d(Open());
  WhenModal([&] {
    EXPECT_EQ(d->Button1->Caption(), "Clea&r");
    PostClick(d->Button1);
    PostCall([&] { EXPECT_TRUE(brush.Bitmap() == nullptr && d->LImage->Caption().empty()); });
    PostClick(d->Button3);
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(brush.Bitmap(), pattern.get()) << "Cancel links it again";
  EXPECT_EQ(pattern->Width(), 4);  // still ours, alive
}

TEST_F(BrushDialogTest, TransparentBackAndSwap) {
  brush.SetBackColor(clNone);
  WhenModal([&] {
    auto* d = dynamic_cast<TBrushDialog*>(host->FindComponent("BrushDialog"));
    EXPECT_TRUE(d->CBTransp->Checked() && !d->CBTransp->Enabled());
    TestDialogs::AnswerColor(clAqua);
    PostClick(d->BBackColor);
    PostCall([this, d] { EXPECT_TRUE(!d->CBTransp->Checked() && d->CBTransp->Enabled()); });
    PostClick(d->BSwap);
    PostCall([this, d] { EXPECT_TRUE(brush.Color() == clAqua && brush.BackColor() == clRed); });
    PostClick(d->CBTransp);
    PostCall([this, d] { EXPECT_TRUE(brush.BackColor() == clNone && !d->CBTransp->Enabled()); });
    PostClick(d->Button2);
  });
  EXPECT_TRUE(EditBrush(anchor, &brush));
  EXPECT_EQ(host->FindComponent("BrushDialog"), nullptr);
}

TEST_F(BrushDialogTest, BrowsePictureClearsOrLoads) {
  TLumPicture p;
  TestDialogs::AnswerFile(TestTempFile("nothing-here.bmp"));
  EXPECT_FALSE(BrowsePicture(host.get(), &p));
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(RecordedMessages().size(), 1u);
  TestDialogs::AnswerCancel();
  EXPECT_FALSE(BrowsePicture(host.get(), &p));
  TestDialogs::AnswerFile(TestTempFile("good.bmp"));
  EXPECT_TRUE(BrowsePicture(host.get(), &p));
  EXPECT_EQ(p.Width(), 20);
  EXPECT_TRUE(BrowsePicture(host.get(), &p)) << "a picture is cleared without asking";
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(TestDialogs::PendingAnswers(), 0);
}

}  // namespace
