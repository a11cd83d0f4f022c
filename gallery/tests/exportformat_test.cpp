// The picture export formats against the files, clipboard and forms they make: what
// a format writes is read back by the platform's own picture readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "canvas/canvasunit.h"
#include "canvas/richtext.h"
#include "engine/engineunit.h"
#include "gallery/exportformat.h"
#include "gallery/filterseditor.h"
#include "gallery_test_util.h"
#include "platform/clipbrd.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

class TExportFormatTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    LumExportUnitInit();
    EMFExportUnitInit();
    BMPExportUnitInit();
    chart = new TChart(&host);
    chart->SetParent(&host);
    chart->SetBounds(0, 0, 200, 120);
    auto* line = new TLineSeries(&host);
    line->SetParentChart(chart);
    for (int i = 0; i < 10; ++i) line->AddXY(i, i * i);
  }
  void TearDown() override {
    BMPExportUnitDone();
    EMFExportUnitDone();
    LumExportUnitDone();
  }
  TForm host{nullptr};
  TChart* chart = nullptr;
};

std::unique_ptr<TBitmap> LoadBitmap(const std::string& File) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromFile(File);
  return b;
}

TEST_F(TExportFormatTest, UnitsRegisterOnceAndTheHookPicksByExtension) {
  // Started twice (once more than the fixture): still one class each, and the first
  // stop leaves them in.
  EMFExportUnitInit();
  BMPExportUnitInit();
  LumExportUnitInit();
  ASSERT_EQ(LumExportFormats->Count(), 2);
  EMFExportUnitDone();
  BMPExportUnitDone();
  LumExportUnitDone();
  ASSERT_EQ(LumExportFormats->Count(), 2);
  EXPECT_EQ(LumExportFormats->Get(0), TEMFExportFormat::StaticClass());
  EXPECT_EQ(LumExportFormats->Get(1), TBMPExportFormat::StaticClass());
  ASSERT_EQ(RichTextPictureHook, &ExportPictureForFile);
  // A fresh metafile format is enhanced, so "wmf" finds nothing.
  const struct {
    const char* File;
    TClass Graphic;
  } cases[] = {{"a/Chart.BMP", TBitmap::StaticClass()}, {"x.emf", TMetafile::StaticClass()},
               {"x.wmf", nullptr}, {"x.gif", nullptr}, {"noextension", nullptr}, {"dir.bmp/x", nullptr}};
  for (const auto& c : cases) {
    std::unique_ptr<TGraphic> g(RichTextPictureHook(c.File));
    EXPECT_EQ(g ? g->ClassType() : nullptr, c.Graphic) << c.File;
    EXPECT_TRUE(!g || g->Empty()) << c.File;
  }
  BMPExportUnitDone();
  EMFExportUnitDone();
  LumExportUnitDone();
  EXPECT_EQ(RichTextPictureHook, nullptr);
  EXPECT_EQ(LumExportFormats, nullptr);
  EXPECT_EQ(GetClass("TBMPOptions"), nullptr);
  SetUp();  // for TearDown
}

TEST_F(TExportFormatTest, MetafileFilterEntriesChooseTheKind) {
  TEMFExportFormat emf;
  TBMPExportFormat bmp;
  int running = 0;
  emf.SetFilterIndex(running);
  bmp.SetFilterIndex(running);
  EXPECT_EQ(running, 3);
  EXPECT_EQ(bmp.FilterIndex(), 3);
  EXPECT_EQ(emf.FilterIndex(), 1);
  EXPECT_EQ(emf.Options(false), nullptr);  // asking made no form
  EXPECT_FALSE(emf.WantsFilterIndex(3));
  EXPECT_TRUE(emf.WantsFilterIndex(1));
  EXPECT_EQ(emf.FileExtension(), "emf");
  EXPECT_TRUE(emf.WantsFilterIndex(2));  // the Windows metafile entry
  ASSERT_NE(emf.Options(false), nullptr);
  EXPECT_FALSE(emf.EMFOptions()->CBEnhanced->Checked());
  EXPECT_EQ(emf.FileExtension(), "wmf");
  EXPECT_EQ(emf.FilterIndex(), 2);
  EXPECT_TRUE(bmp.WantsFilterIndex(3));
  EXPECT_FALSE(bmp.WantsFilterIndex(2));
  EXPECT_EQ(emf.FileFilter(), "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_EQ(bmp.FileFilter(), "Bitmaps (*.bmp)|*.bmp");
}

TEST_F(TExportFormatTest, FilesHoldThePanelsPictureOrNothingAtAll) {
  const std::string emfFile = TestTempFile("x.emf"), wmfFile = TestTempFile("x.wmf"), bmpFile = TestTempFile("x.bmp");
  TEMFExportFormat emf;
  TBMPExportFormat bmp;
  for (TLumExportFormat* f : {static_cast<TLumExportFormat*>(&emf), static_cast<TLumExportFormat*>(&bmp)}) {
    try {
      f->SaveToFile(bmpFile);
      ADD_FAILURE() << "saved without a panel";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Panel property is not set in Export format");
    }
    EXPECT_THROW(f->CopyToClipboard(), Exception);
    EXPECT_EQ(f->Options(false), nullptr);  // nothing made
    f->Panel = chart;
  }
  EXPECT_FALSE(std::filesystem::exists(bmpFile));

  emf.SaveToFile(emfFile);
  EXPECT_EQ(emf.Width, 200);  // 0 took the panel's
  EXPECT_EQ(emf.Height, 120);
  emf.EMFOptions()->CBEnhanced->SetChecked(false);
  emf.Height = 60;
  emf.SaveToFile(wmfFile, emf.Options());  // with a form it writes too
  for (const auto& [file, enhanced, h] : {std::tuple{emfFile, true, 120}, std::tuple{wmfFile, false, 60}}) {
    TMetafile m;
    m.LoadFromFile(file);
    EXPECT_EQ(m.Enhanced(), enhanced) << file;
    EXPECT_EQ(m.Width(), 200) << file;
    EXPECT_EQ(m.Height(), h) << file;
  }
  bmp.SaveToFile(bmpFile);
  auto b = LoadBitmap(bmpFile);
  EXPECT_EQ(b->Width(), 200);
  EXPECT_EQ(b->PixelFormat(), pf24bit);  // "Default" is what the panel draws

  // Sizes no picture can take raise before the old file is touched.
  const std::string old = gallerytest::ReadFile(bmpFile);
  const struct {
    TLumExportFormat* Format;
    int W, H;
    const char* Says;
  } bad[] = {{&bmp, -1, 10, "empty"}, {&emf, 32768, 10, "32767"}, {&bmp, 20000, 20000, "268435456"},
             {&bmp, 0, 0, "empty"}};
  for (const auto& c : bad) {
    chart->SetBounds(0, 0, 0, 0);
    c.Format->Width = c.W;
    c.Format->Height = c.H;
    try {
      c.Format->SaveToFile(bmpFile);
      ADD_FAILURE() << c.W << " x " << c.H << " saved";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message.find(c.Says), std::string::npos) << e.Message;
    }
  }
  EXPECT_EQ(gallerytest::ReadFile(bmpFile), old);
}

TEST_F(TExportFormatTest, BitmapsTakeDepthDpiMonochromeAndFilters) {
  const std::string file = TestTempFile("b.bmp");
  TBMPExportFormat bmp;
  bmp.Panel = chart;
  TBMPOptions* o = bmp.BMPOptions();
  const TPixelFormat depth[] = {pf24bit, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
  for (bool mono : {false, true})
    for (int i = 0; i < 8; ++i) {
      o->CBColors->SetItemIndex(i);
      o->CBMono->SetChecked(mono);
      bmp.SaveToFile(file);
      EXPECT_EQ(LoadBitmap(file)->PixelFormat(), mono ? pf1bit : depth[i]) << i << (mono ? " mono" : "");
    }
  o->CBMono->SetChecked(false);
  o->CBColors->SetItemIndex(0);
  o->UDDpi->SetPosition(300);
  bmp.SaveToFile(file);
  EXPECT_EQ(LoadBitmap(file)->Dpi(), 300);

  // A given form's settings, not the format's own; filters on the written pixels.
  TBMPOptions other(nullptr);
  other.CBMono->SetChecked(true);
  bmp.SaveToFile(file, &other);
  EXPECT_EQ(LoadBitmap(file)->PixelFormat(), pf1bit);
  std::unique_ptr<TBitmap> raw(bmp.RawBitmap());
  bmp.Filters()->Add(TInvertFilter::StaticClass());
  bmp.SaveToFile(file);
  const TColor before = raw->Canvas()->Pixels(3, 3), after = LoadBitmap(file)->Canvas()->Pixels(3, 3);
  EXPECT_EQ(after, TColor(0xFFFFFF - before));

  bmp.CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  TEMFExportFormat emf;
  emf.Panel = chart;
  emf.CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
}

TEST_F(TExportFormatTest, APictureAskedForWhileTheChartDrawsRaises) {
  TBMPExportFormat bmp;
  bmp.Panel = chart;
  std::string said;
  chart->OnAfterDraw = [&](TObject*) {
    try {
      bmp.SaveToFile(TestTempFile("drawing.bmp"));
    } catch (const Exception& e) {
      said = e.Message;
    }
  };
  std::unique_ptr<TBitmap> b(chart->CreateBitmap(clWhite, Rect(0, 0, 50, 50)));
  chart->OnAfterDraw = {};
  EXPECT_NE(said.find("drawing"), std::string::npos) << said;
  EXPECT_FALSE(std::filesystem::exists(TestTempFile("drawing.bmp")));
}

TEST_F(TExportFormatTest, BitmapOptionsPreviewAndFilters) {
  TBMPExportFormat bmp;
  bmp.Panel = chart;
  TBMPOptions* o = bmp.BMPOptions();
  auto previewFormat = [&] {
    auto* g = dynamic_cast<TBitmap*>(o->ImageFiltered1->Picture()->Graphic());
    return g ? g->PixelFormat() : pfDevice;
  };
  o->CBColors->SetItemIndex(3);
  o->Show();
  EXPECT_EQ(o->CBColors->ItemIndex(), 0);  // "Default" again on show
  EXPECT_EQ(previewFormat(), pf24bit);
  o->CBColors->SetItemIndex(3);
  o->CBColorsChange(o->CBColors);
  EXPECT_EQ(previewFormat(), pf8bit);
  o->CBMono->SetChecked(true);
  EXPECT_FALSE(o->CBColors->Enabled());
  EXPECT_EQ(previewFormat(), pf1bit);
  o->CBMono->SetChecked(false);
  EXPECT_TRUE(o->CBColors->Enabled());

  // "&Filters..." edits the format's filters on the raw bitmap; OK rebuilds the preview.
  TFiltersEditor* seen = nullptr;
  TestInput::PostCall([&] {
    for (int i = 0; i < o->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TFiltersEditor*>(o->Components(i))) seen = f;
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->TheFilters(), bmp.Filters());
    EXPECT_EQ(seen->ThePicture()->Graphic()->Width(), 200);
    bmp.Filters()->Add(TInvertFilter::StaticClass());
  }, 5);
  TestInput::PostKey(VK_RETURN, 0, 10);
  o->Button1Click(o->Button1);
  EXPECT_TRUE(seen);
  auto* shown = dynamic_cast<TBitmap*>(o->ImageFiltered1->Picture()->Graphic());
  ASSERT_TRUE(shown);
  std::unique_ptr<TBitmap> raw(bmp.RawBitmap());
  EXPECT_EQ(shown->Canvas()->Pixels(3, 3), TColor(0xFFFFFF - raw->Canvas()->Pixels(3, 3)));

  // An empty panel leaves the preview empty instead of raising on show.
  chart->SetBounds(0, 0, 0, 0);
  bmp.Width = bmp.Height = 0;
  o->Hide();
  o->Show();
  EXPECT_EQ(o->ImageFiltered1->Picture()->Graphic(), nullptr);
}

}  // namespace
