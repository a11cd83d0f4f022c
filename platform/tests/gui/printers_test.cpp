// The printer: its list and page, jobs into a PDF file as poppler reads them, and
// the print dialogs under the offscreen platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "image_compare.h"
#include "oracle.h"
#include "platform/printers.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

std::unique_ptr<TPrinter> FilePrinter(const std::string& Name) {
  auto p = std::make_unique<TPrinter>();
  p->SetOutputFile(TestTempFile(Name));
  return p;
}

bool HavePoppler() { return oracle::Run("command -v pdfinfo") && oracle::Run("command -v pdftoppm"); }

TEST(Printer, ListPageAndOrientation) {
  auto p = std::make_unique<TPrinter>();
  const std::size_t system = p->Printers().size();
  if (system == 0) {
    EXPECT_EQ(p->PrinterIndex(), -1);
    try {
      p->BeginDoc();
      ADD_FAILURE() << "printed with no printer";
    } catch (const EPrinter& e) {
      EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
    EXPECT_FALSE(p->Printing());
  }
  p->SetOutputFile(TestTempFile("list.pdf"));
  ASSERT_EQ(p->Printers().size(), system + 1);
  EXPECT_EQ(p->Printers().back(), "PDF file");
  EXPECT_EQ(p->PrinterIndex(), int(system));
  EXPECT_THROW(p->SetPrinterIndex(int(system) + 1), EPrinter);
  EXPECT_EQ(p->PageWidth(), 2480);  // A4 at 300 dpi
  EXPECT_EQ(p->PageHeight(), 3508);
  p->SetOrientation(poLandscape);
  EXPECT_EQ(p->PageWidth(), 3508);
  EXPECT_EQ(p->PageHeight(), 2480);
  EXPECT_THROW(p->NewPage(), EPrinter);
  EXPECT_THROW(p->EndDoc(), EPrinter);
}

// A sheet set for the file entry keeps its shape in portrait and turns in landscape;
// a printer that hides the system's queues lists only the file.
TEST(Printer, FileSheetAndHiddenQueues) {
  TPrinter p(false);
  EXPECT_TRUE(p.Printers().empty());
  p.SetOutputFile(TestTempFile("sheet.pdf"));
  EXPECT_EQ(p.Printers(), std::vector<std::string>{"PDF file"});
  p.SetResolution(72);
  p.SetFilePageSize({800, 600});
  EXPECT_EQ(TSize({p.PageWidth(), p.PageHeight()}), TSize({800, 600}));
  p.SetOrientation(poLandscape);
  EXPECT_EQ(TSize({p.PageWidth(), p.PageHeight()}), TSize({600, 800}));
}

TEST(Printer, PagesReachTheFileAsDrawn) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils is not installed";
  auto p = FilePrinter("pages.pdf");
  p->SetResolution(100);
  p->SetTitle("Three pages");
  p->BeginDoc();
  EXPECT_THROW(p->BeginDoc(), EPrinter);
  EXPECT_THROW(p->SetOrientation(poLandscape), EPrinter);
  p->Canvas()->Brush()->SetColor(clRed);
  p->Canvas()->FillRect(Rect(100, 200, 300, 260));
  p->NewPage();
  p->NewPage();
  EXPECT_EQ(p->PageNumber(), 3);
  EXPECT_FALSE(std::filesystem::exists(p->OutputFile()));  // only the file beside it while printing
  EXPECT_EQ(PartFilesBeside(p->OutputFile()).size(), 1u);
  p->EndDoc();
  EXPECT_FALSE(p->Printing());
  EXPECT_TRUE(PartFilesBeside(p->OutputFile()).empty());
  auto info = oracle::Run("pdfinfo '" + p->OutputFile() + "'");
  ASSERT_TRUE(info);
  EXPECT_NE(info->find("Pages:           3\n"), std::string::npos) << *info;
  EXPECT_NE(info->find("Three pages"), std::string::npos);
  EXPECT_NE(info->find("(A4)"), std::string::npos);
  auto ppm = oracle::Run("pdftoppm -r 100 -f 1 -l 1 '" + p->OutputFile() + "'");
  ASSERT_TRUE(ppm);
  auto page = imagecmp::ReadPPM(*ppm);
  ASSERT_TRUE(page);
  EXPECT_NEAR(page->Width(), p->PageWidth(), 1);
  TCanvas* c = page->Canvas();
  const TColor red = c->Pixels(200, 230);
  EXPECT_TRUE((red & 0xFF) > 0xF0 && (red & 0xF0F000) == 0) << std::hex << red;
  EXPECT_EQ(c->Pixels(200, 270) & 0xF0F0F0, 0xF0F0F0);  // white, give or take the renderer's rounding
  EXPECT_EQ(c->Pixels(90, 230) & 0xF0F0F0, 0xF0F0F0);
}

TEST(Printer, AbortLeavesNoFile) {
  auto p = FilePrinter("aborted.pdf");
  p->BeginDoc();
  p->Canvas()->Rectangle(10, 10, 50, 50);
  p->NewPage();
  p->Abort();
  EXPECT_TRUE(p->Aborted());
  EXPECT_FALSE(p->Printing());
  EXPECT_FALSE(std::filesystem::exists(p->OutputFile()));
  EXPECT_TRUE(PartFilesBeside(p->OutputFile()).empty());
  EXPECT_THROW(p->Canvas()->Rectangle(10, 10, 50, 50), EInvalidOperation);  // no page to draw on
  // The printer works again afterwards.
  p->BeginDoc();
  p->EndDoc();
  EXPECT_TRUE(std::filesystem::exists(p->OutputFile()));
}

TEST(PrintDialogs, RecordedAndAnsweredOffscreen) {
  TestDialogs::Clear();
  TPrintDialog d(nullptr);
  d.SetMinPage(1);
  d.SetMaxPage(5);
  d.SetFromPage(1);
  d.SetToPage(5);
  d.SetOptions(poPageNums);
  EXPECT_FALSE(d.Execute());  // nothing queued: cancelled
  TestDialogs::AnswerPrint(2, 9);
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.FromPage(), 2);
  EXPECT_EQ(d.ToPage(), 5);  // kept within the maximum
  EXPECT_EQ(d.PrintRange(), prPageNums);
  TestDialogs::AnswerButton(mrOk);
  TPrinterSetupDialog setup(nullptr);
  EXPECT_TRUE(setup.Execute());
  const auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].Kind, "Print");
  EXPECT_EQ(asked[0].Text, "1-5 of 1-5");
  EXPECT_EQ(asked[0].Result, "Cancel");
  EXPECT_EQ(asked[1].Result, "2-5");
  EXPECT_EQ(asked[2].Kind, "PrinterSetup");
}

}  // namespace
