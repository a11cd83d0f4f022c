// The brush dialog: what each of the 27 items gives the brush, what Cancel puts back,
// the picture button with good and bad files, the pattern bitmap it never frees,
// the stock pictures themselves, and BrowsePicture.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/gradienteditor.h"
#include "gallery_test_util.h"
#include "platform/jpeg.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;
using TestInput::WhenModal;

// The mean red, green and blue of a picture.
struct TMean {
  double R = 0, G = 0, B = 0;
};
TMean MeanOf(TBitmap* Bmp) {
  TMean m;
  const int n = Bmp->Width() * Bmp->Height();
  for (int y = 0; y < Bmp->Height(); ++y)
    for (int x = 0; x < Bmp->Width(); ++x) {
      const TColor c = Bmp->Canvas()->Pixels(x, y);
      m.R += GetRValue(c) / double(n);
      m.G += GetGValue(c) / double(n);
      m.B += GetBValue(c) / double(n);
    }
  return m;
}

bool SamePixels(TGraphic* A, TGraphic* B) {
  auto* a = dynamic_cast<TBitmap*>(A);
  auto* b = dynamic_cast<TBitmap*>(B);
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
    brush.SetBackColor(clYellow);
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
      SCOPED_TRACE(d->LStyle->Items()->Strings(i));
      if (i < 8) {
        EXPECT_EQ(brush.Style(), TBrushStyle(i));
        EXPECT_FALSE(brush.HasImage());
        EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
        EXPECT_EQ(d->BColor->Enabled(), i != 1) << "None leaves nothing to colour";
        EXPECT_EQ(d->BBackColor->Enabled(), i != 1);
      } else {
        ASSERT_TRUE(brush.HasImage());
        TBitmap expected;
        if (i < 20)
          expected.LoadFromResourceName("LumBrush" + IntToStr(i - 7));
        else
          expected.Assign(dynamic_cast<TImage*>(d->FindComponent("Image" + d->LStyle->Items()->Strings(i)))
                              ->Picture()->Graphic());
        EXPECT_TRUE(SamePixels(brush.Image()->Graphic(), &expected));
        EXPECT_EQ(d->Button1->Caption(), "Clea&r");
        EXPECT_EQ(d->LImage->Caption(), i < 20 ? "8x8" : "64x64");
        EXPECT_TRUE(d->Image1->Picture()->Graphic() != nullptr);
      }
      step(i + 1);
    });
  };
  WhenModal([&] { step(0); });
  EXPECT_EQ(d->ShowModal(), mrOk);
  EXPECT_TRUE(brush.HasImage()) << "Snow, the last one";
}

TEST_F(BrushDialogTest, StockPicturesLookLikeTheirNames) {
  // Pattern ink grows with the fill: black pixels of the five fills.
  int previous = 65;
  for (int i = 0; i < 5; ++i) {
    std::unique_ptr<TBitmap> p(StockBrushPicture(i));
    EXPECT_EQ(p->TransparentColor(), clWhite);
    int ink = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ink += p->Canvas()->Pixels(x, y) == clBlack;
    EXPECT_LT(ink, previous);
    EXPECT_NEAR(ink, 64 * (i < 4 ? 80 - 20 * i : 10) / 100, 1);
    previous = ink;
  }
  struct TLook {
    const char* Name;
    std::function<bool(const TMean&)> Fits;
  };
  const TLook looks[] = {
      {"Metal", [](const TMean& m) { return std::abs(m.R - m.B) < 20 && m.G > 120 && m.G < 220; }},
      {"Wood", [](const TMean& m) { return m.R > m.G + 30 && m.G > m.B + 20; }},
      {"Stone", [](const TMean& m) { return std::abs(m.R - m.B) < 20 && m.G > 60 && m.G < 200; }},
      {"Clouds", [](const TMean& m) { return m.B > m.R + 30 && m.B > 180; }},
      {"Grass", [](const TMean& m) { return m.G > m.R + 30 && m.G > m.B + 30; }},
      {"Fire", [](const TMean& m) { return m.R > 200 && m.R > m.G + 40 && m.G > m.B + 40; }},
      {"Snow", [](const TMean& m) { return m.R > 200 && m.G > 200 && m.B > 220 && m.B >= m.R; }},
  };
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(looks[i].Name);
    std::unique_ptr<TBitmap> t(StockBrushPicture(12 + i));
    EXPECT_EQ(t->Width(), 64);
    const TMean m = MeanOf(t.get());
    EXPECT_TRUE(looks[i].Fits(m)) << m.R << " " << m.G << " " << m.B;
  }
  EXPECT_THROW(delete StockBrushPicture(19), EListError);
  EXPECT_THROW(delete StockBrushPicture(-1), EListError);
}

TEST_F(BrushDialogTest, CancelAfterMetalPutsBackStyleAndPicture) {
  std::unique_ptr<TBrushDialog> d(Open());
  WhenModal([&] {
    gallerytest::PostItemClick(d->LStyle, 20, [&] {
      EXPECT_TRUE(brush.HasImage());
      PostClick(d->Button3);
    });
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(brush.Style(), bsCross);
  EXPECT_FALSE(brush.HasImage());

  // A brush with a picture gets a copy of it back, not the backup's own.
  brush.Image()->SetGraphic(&picture);
  WhenModal([&] {
    EXPECT_EQ(d->LStyle->ItemIndex(), -1);
    EXPECT_EQ(d->Button1->Caption(), "Clea&r");
    EXPECT_EQ(d->LImage->Caption(), "20x10");
    gallerytest::PostItemClick(d->LStyle, 4, [&] {
      EXPECT_FALSE(brush.HasImage());
      PostClick(d->Button3);
    });
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  ASSERT_TRUE(brush.HasImage());
  EXPECT_TRUE(SamePixels(brush.Image()->Graphic(), &picture));
  EXPECT_NE(brush.Image()->Graphic(), d->BackupBrush()->Image()->Graphic());
  EXPECT_EQ(brush.Style(), bsCross);
}

TEST_F(BrushDialogTest, PictureFilesLoadOrLeaveTheBrushAsItWas) {
  // A JPEG (a picture that is no bitmap), then its first half, and a truncated bitmap.
  TJPEGImage jpeg;
  jpeg.Assign(&picture);
  jpeg.SaveToFile(TestTempFile("good.jpg"));
  const std::string jpegBytes = gallerytest::ReadFile(TestTempFile("good.jpg"));
  WriteBytes(TestTempFile("half.jpg"), jpegBytes.substr(0, jpegBytes.size() / 2));
  const std::string bmpBytes = gallerytest::ReadFile(TestTempFile("good.bmp"));
  WriteBytes(TestTempFile("half.bmp"), bmpBytes.substr(0, bmpBytes.size() - 100));
  WriteBytes(TestTempFile("picture.xyz"), bmpBytes);
  const std::string gone = TestTempFile("gone.bmp");
  WriteBytes(gone, bmpBytes);
  std::remove(gone.c_str());  // chosen, then gone before the load

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
    EXPECT_EQ(RecordedMessages().size(), 1u);
    EXPECT_FALSE(brush.HasImage());
    EXPECT_EQ(brush.Bitmap(), nullptr);
    EXPECT_EQ(brush.Style(), bsCross);
    EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
  }
  EXPECT_NE(RecordedMessages().at(0).find(gone.substr(gone.rfind('/') + 1)), std::string::npos)
      << "the message names the file";

  // A good JPEG becomes a bitmap of its size.
  ClearRecordedMessages();
  WhenModal([&] {
    TestDialogs::AnswerFile(TestTempFile("good.jpg"));
    PostClick(d->Button1);
    PostCall([&] {
      EXPECT_EQ(d->Button1->Caption(), "Clea&r");
      EXPECT_EQ(d->LImage->Caption(), "20x10");
    });
    PostClick(d->Button2);
  });
  d->ShowModal();
  EXPECT_TRUE(RecordedMessages().empty());
  ASSERT_TRUE(brush.HasImage());
  EXPECT_NE(dynamic_cast<TBitmap*>(brush.Image()->Graphic()), nullptr);
  EXPECT_EQ(brush.Image()->Graphic()->Width(), 20);
  EXPECT_EQ(TestDialogs::Asked().back().Filter, TPicture::GraphicFilter());
}

TEST_F(BrushDialogTest, ClearLetsGoOfThePatternBitmapWithoutFreeingIt) {
  auto pattern = std::make_unique<TBitmap>();
  pattern->SetSize(4, 4);
  brush.SetBitmap(pattern.get());
  std::unique_ptr<TBrushDialog> d(Open());
  WhenModal([&] {
    EXPECT_EQ(d->Button1->Caption(), "Clea&r");
    EXPECT_EQ(d->LImage->Caption(), "4x4");
    PostClick(d->Button1);
    PostCall([&] {
      EXPECT_EQ(brush.Bitmap(), nullptr);
      EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
      EXPECT_EQ(d->LImage->Caption(), "");
    });
    PostClick(d->Button3);
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(brush.Bitmap(), pattern.get()) << "Cancel links it again";
  EXPECT_EQ(pattern->Width(), 4);  // still ours, alive
}

TEST_F(BrushDialogTest, TransparencyAndColourButtons) {
  brush.SetBackColor(clNone);
  std::unique_ptr<TBrushDialog> d(Open());
  WhenModal([&] {
    EXPECT_TRUE(d->CBTransp->Checked());
    EXPECT_FALSE(d->CBTransp->Enabled());
    TestDialogs::AnswerColor(clAqua);
    PostClick(d->BBackColor);
    PostCall([&] {
      EXPECT_EQ(brush.BackColor(), clAqua);
      EXPECT_FALSE(d->CBTransp->Checked());
      EXPECT_TRUE(d->CBTransp->Enabled());
    });
    PostClick(d->BSwap);
    PostCall([&] {
      EXPECT_EQ(brush.Color(), clAqua);
      EXPECT_EQ(brush.BackColor(), clRed);
    });
    PostClick(d->CBTransp);
    PostCall([&] {
      EXPECT_EQ(brush.BackColor(), clNone);
      EXPECT_FALSE(d->CBTransp->Enabled());
    });
    PostClick(d->Button2);
  });
  EXPECT_TRUE(d->ShowModal() == mrOk);
  // The gradient tab edits the brush's gradient.
  EXPECT_EQ(d->GradientEditor()->Gradient(), brush.Gradient());
  EXPECT_FALSE(d->GradientEditor()->Panel2->Visible());
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
  WhenModal([&] {
    auto* d = dynamic_cast<TBrushDialog*>(host->FindComponent("BrushDialog"));
    ASSERT_NE(d, nullptr);
    d->Button2->Click();
  });
  EXPECT_TRUE(EditBrush(anchor, &brush));
  EXPECT_EQ(host->FindComponent("BrushDialog"), nullptr);
}

}  // namespace
