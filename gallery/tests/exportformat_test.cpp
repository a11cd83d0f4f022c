// The picture export formats against the files, clipboard and forms they make: what
// a format writes is read back by the platform's own picture readers.
#include <gtest/gtest.h>

#include <filesystem>

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
    [[maybe_unused]] static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    for (auto start : {LumExportUnitInit, EMFExportUnitInit, BMPExportUnitInit}) start();
    chart = new TChart(&host);
    chart->SetParent(&host);
    chart->SetBounds(0, 0, 200, 120);
    auto* line = new TLineSeries(&host);
    line->SetParentChart(chart);
    for (int i = 0; i < 10; ++i) line->AddXY(i, i * i);
  }
  void TearDown() override {
    for (auto stop : {BMPExportUnitDone, EMFExportUnitDone, LumExportUnitDone}) stop();
  }
  TForm host{nullptr};
  TChart* chart = nullptr;
};

using gallerytest::Raised;

std::unique_ptr<TBitmap> LoadBitmap(const std::string& File) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromFile(File);
  return b;
}

TEST_F(TExportFormatTest, UnitsRegisterOnceAndTheHookPicksByExtension) {
  for (auto start : {EMFExportUnitInit, BMPExportUnitInit, LumExportUnitInit}) start();  // twice now
  for (auto stop : {EMFExportUnitDone, BMPExportUnitDone, LumExportUnitDone}) stop();
  ASSERT_EQ(LumExportFormats->Count(), 2);
  // A fresh metafile format is enhanced, so "wmf" finds nothing.
  const std::pair<const char*, TClass> cases[] = {
      {"a/Chart.BMP", TBitmap::StaticClass()}, {"x.emf", TMetafile::StaticClass()}, {"x.wmf", nullptr},
      {"x.gif", nullptr}, {"dir.bmp/x", nullptr}};
  for (const auto& [file, graphic] : cases) {
    std::unique_ptr<TGraphic> g(RichTextPictureHook(file));
    EXPECT_EQ(g ? g->ClassType() : nullptr, graphic) << file;
  }
  TearDown();
  EXPECT_TRUE(RichTextPictureHook == nullptr && LumExportFormats == nullptr && !GetClass("TBMPOptions"));
  SetUp();
}

TEST_F(TExportFormatTest, MetafileFilterEntriesChooseTheKind) {
  TEMFExportFormat emf;
  TBMPExportFormat bmp;
  int running = 0;
  emf.SetFilterIndex(running);
  bmp.SetFilterIndex(running);
  EXPECT_TRUE(running == 3 && bmp.FilterIndex() == 3);
  EXPECT_TRUE(!emf.WantsFilterIndex(3) && emf.WantsFilterIndex(1) && emf.FileExtension() == "emf");
  EXPECT_EQ(emf.Options(false), nullptr);  // asking made no form
  EXPECT_TRUE(emf.WantsFilterIndex(2));    // the Windows metafile entry
  EXPECT_TRUE(!emf.EMFOptions()->CBEnhanced->Checked() && emf.FileExtension() == "wmf" && emf.FilterIndex() == 2);
}

TEST_F(TExportFormatTest, FilesHoldThePanelsPictureOrNothingAtAll) {
  const std::string emfFile = TestTempFile("x.emf"), wmfFile = TestTempFile("x.wmf"), bmpFile = TestTempFile("x.bmp");
  TEMFExportFormat emf;
  TBMPExportFormat bmp;
  for (TLumExportFormat* f : {static_cast<TLumExportFormat*>(&emf), static_cast<TLumExportFormat*>(&bmp)}) {
    EXPECT_EQ(Raised([&] { f->SaveToFile(bmpFile); }), "Panel property is not set in Export format");
    EXPECT_THROW(f->CopyToClipboard(), Exception);
    EXPECT_EQ(f->Options(false), nullptr);  // nothing made
    f->SetPanel(chart);
  }
  EXPECT_FALSE(std::filesystem::exists(bmpFile));

  emf.SaveToFile(emfFile);
  EXPECT_TRUE(emf.Width == 200 && emf.Height == 120);  // 0 took the panel's
  emf.EMFOptions()->CBEnhanced->SetChecked(false);
  emf.Height = 60;
  emf.SaveToFile(wmfFile, emf.Options());  // with a form it writes too
  for (const auto& [file, enhanced, h] : {std::tuple{emfFile, true, 120}, std::tuple{wmfFile, false, 60}}) {
    TMetafile m;
    m.LoadFromFile(file);
    EXPECT_TRUE(m.Enhanced() == enhanced && m.Width() == 200 && m.Height() == h) << file;
  }
  bmp.SaveToFile(bmpFile);
  EXPECT_EQ(LoadBitmap(bmpFile)->Width(), 200);

  // Sizes no picture can take raise before the old file is touched.
  const std::string old = gallerytest::ReadFile(bmpFile);
  chart->SetBounds(0, 0, 0, 0);
  for (auto [f, w, h, says] : {std::tuple<TLumExportFormat*, int, int, const char*>{&bmp, -1, 10, "empty"},
                               {&emf, 32768, 10, "32767"}, {&bmp, 20000, 20000, "268435456"}, {&bmp, 0, 0, "empty"}}) {
    f->Width = w, f->Height = h;
    EXPECT_NE(Raised([&] { f->SaveToFile(bmpFile); }).find(says), std::string::npos) << w;
  }
  EXPECT_EQ(gallerytest::ReadFile(bmpFile), old);

  // Asked for while the chart draws (from its own after-draw event): a clear error.
  std::string said;
  chart->SetBounds(0, 0, 200, 120);
  chart->OnAfterDraw = [&](TObject*) { said = Raised([&] { bmp.SaveToFile(TestTempFile("drawing.bmp")); }); };
  std::unique_ptr<TBitmap> b(chart->CreateBitmap(clWhite, Rect(0, 0, 50, 50)));
  chart->OnAfterDraw = {};
  EXPECT_NE(said.find("drawing"), std::string::npos) << said;
  EXPECT_FALSE(std::filesystem::exists(TestTempFile("drawing.bmp")));
}

// A format lets its panel go when it is freed: copying or saving then says the panel
// is not set, and the options' preview stays empty.
TEST_F(TExportFormatTest, AFreedPanelIsLetGo) {
  TEMFExportFormat emf;
  TBMPExportFormat bmp;
  auto* gone = new TChart(nullptr);
  gone->SetBounds(0, 0, 120, 80);
  for (TLumExportFormat* f : {static_cast<TLumExportFormat*>(&emf), static_cast<TLumExportFormat*>(&bmp)})
    f->SetPanel(gone);
  bmp.BMPOptions()->Show();
  delete gone;
  const std::string file = TestTempFile("gone.bmp");
  for (TLumExportFormat* f : {static_cast<TLumExportFormat*>(&emf), static_cast<TLumExportFormat*>(&bmp)}) {
    EXPECT_EQ(f->Panel(), nullptr);
    EXPECT_EQ(Raised([&] { f->CopyToClipboard(); }), "Panel property is not set in Export format");
    EXPECT_EQ(Raised([&] { f->SaveToFile(file); }), "Panel property is not set in Export format");
  }
  bmp.BMPOptions()->RefreshPreview();
  EXPECT_TRUE(bmp.BMPOptions()->ImageFiltered1->Picture()->Graphic() == nullptr ||
              bmp.BMPOptions()->ImageFiltered1->Picture()->Graphic()->Empty());
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(TExportFormatTest, BitmapsTakeDepthDpiAndMonochrome) {
  const std::string file = TestTempFile("b.bmp");
  TBMPExportFormat bmp;
  bmp.SetPanel(chart);
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
  o->UDDpi->SetPosition(300);
  bmp.SaveToFile(file);
  EXPECT_EQ(LoadBitmap(file)->Dpi(), 300);
  bmp.CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
}

TEST_F(TExportFormatTest, BitmapOptionsPreviewAndFilters) {
  TBMPExportFormat bmp;
  bmp.SetPanel(chart);
  TBMPOptions* o = bmp.BMPOptions();
  auto previewFormat = [&] {
    return o->ImageFiltered1->Picture()->Graphic() ? o->ImageFiltered1->Picture()->Bitmap()->PixelFormat() : pfDevice;
  };
  o->CBColors->SetItemIndex(3);
  o->Show();
  EXPECT_TRUE(o->CBColors->ItemIndex() == 0 && previewFormat() == pf24bit);  // "Default" again on show
  o->CBColors->SetItemIndex(3);
  o->CBColorsChange(o->CBColors);
  EXPECT_EQ(previewFormat(), pf8bit);
  o->CBMono->SetChecked(true);
  EXPECT_TRUE(!o->CBColors->Enabled() && previewFormat() == pf1bit);
  o->CBMono->SetChecked(false);
  EXPECT_TRUE(o->CBColors->Enabled());

  // "&Filters..." edits the format's filters on the raw bitmap; OK rebuilds the preview.
  bool seen = false;
  TestInput::WhenModal([&] {
    for (int i = 0; i < o->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TFiltersEditor*>(o->Components(i)))
        seen = f->TheFilters() == bmp.Filters() && f->ThePicture()->Graphic()->Width() == 200;
    bmp.Filters()->Add(TInvertFilter::StaticClass());
    TestInput::PostKey(VK_RETURN);
  });
  o->CBColors->SetItemIndex(6);
  o->Button1Click(o->Button1);
  EXPECT_TRUE(seen);
  std::unique_ptr<TBitmap> raw(bmp.RawBitmap());
  EXPECT_EQ(previewFormat(), pf24bit);  // filters keep the depth chosen
  EXPECT_EQ(o->ImageFiltered1->Picture()->Bitmap()->Canvas()->Pixels(3, 3),
            TColor(0xFFFFFF - raw->Canvas()->Pixels(3, 3)));

  // An empty panel leaves the preview empty instead of raising on show.
  chart->SetBounds(0, 0, 0, 0);
  bmp.Width = bmp.Height = 0;
  o->FormShow(o);
  EXPECT_EQ(o->ImageFiltered1->Picture()->Graphic(), nullptr);
}

}  // namespace
