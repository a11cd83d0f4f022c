// Printing and metafile pictures of a chart: the print rectangles, a chart printed
// to PDF as poppler renders it, page ranges, failing jobs, and the metafile picture
// against the chart drawn directly.
#include <cmath>
#include <filesystem>
#include <vector>

#include "engine/print.h"
#include "engine_test.h"
#include "gui_test.h"
#include "image_compare.h"
#include "oracle.h"
#include "platform/metafile.h"
#include "platform/printers.h"
#include "test_temp.h"

namespace {

// A chart of the chain chart's size with markers, axes and labels.
struct TSampleChart {
  TCountingChart chart;
  TTestSeries series{nullptr};
  TSampleChart(int W = 649, int H = 473) {
    chart.SetBounds(0, 0, W, H);
    chart.SetColor(clWhite);
    chart.SetName("ChainChart");
    series.SetParentChart(&chart);
    for (int i = 0; i < 30; ++i) series.AddXY(i, std::sin(i / 4.0) * 10, "", i % 2 ? clRed : clBlue);
  }
};

// The application's printer printing into a new PDF file at Dpi.
TPrinter* UseFilePrinter(const std::string& Name, int Dpi = 300) {
  auto* p = new TPrinter;
  p->SetOutputFile(TestTempFile(Name));
  p->SetResolution(Dpi);
  SetPrinter(p);
  return p;
}

double Aspect(const TRect& r) { return double(r.Width()) / r.Height(); }

TEST(PrintRects, MarginsOnPortraitAndLandscapePages) {
  TPrinter* p = UseFilePrinter("rects.pdf");
  TSampleChart s;
  EXPECT_EQ(s.chart.PrintMargins(), Rect(15, 15, 15, 15));
  EXPECT_EQ(s.chart.ChartPrintRect(), Rect(372, 526, 2108, 2982));  // A4 at 300 dpi: 2480 x 3508
  p->SetOrientation(poLandscape);
  EXPECT_EQ(s.chart.ChartPrintRect(), Rect(526, 372, 2982, 2108));

  // Proportional margins keep the panel's shape, centred inside the margins it had.
  for (TPrinterOrientation o : {poPortrait, poLandscape}) {
    for (auto [w, h] : {std::pair{649, 473}, std::pair{200, 400}}) {
      p->SetOrientation(o);
      TSampleChart t(w, h);
      t.chart.CalcProportionalPrintRect();
      const TRect m = t.chart.PrintMargins(), r = t.chart.ChartPrintRect();
      EXPECT_NEAR(Aspect(r) / Aspect(Rect(0, 0, w, h)), 1.0, 0.01) << w << "x" << h << " orientation " << o;
      EXPECT_TRUE(m.Left >= 15 && m.Top >= 15 && m.Right >= 15 && m.Bottom >= 15);
      EXPECT_LE(std::abs(m.Left - m.Right), 1);
      EXPECT_LE(std::abs(m.Top - m.Bottom), 1);
    }
  }
  SetPrinter(nullptr);
}

TEST(PrintRects, PrintSizeFollowsTheResolution) {
  TSampleChart s;
  const TRect page = Rect(100, 200, 1836, 1465);  // 1736 x 1265, far larger than the panel
  const TRect panel = Rect(0, 0, 649, 473);
  int x, y, w, h;
  s.chart.SetPrintResolution(-100);
  s.chart.CalcPrintRect(page, panel, x, y, w, h);
  EXPECT_EQ(Rect(x, y, x + w, y + h), page);  // finest detail: the page's own pixels
  s.chart.SetPrintResolution(0);
  s.chart.CalcPrintRect(page, panel, x, y, w, h);
  EXPECT_NEAR(double(w) * h / (649.0 * 473.0), 1.0, 0.01);  // as on screen: the panel's density
  EXPECT_NEAR(double(w) / h, Aspect(page), 0.01);
  int w2, h2;
  s.chart.SetPrintResolution(-50);
  s.chart.CalcPrintRect(page, panel, x, y, w2, h2);
  EXPECT_TRUE(w < w2 && w2 < page.Width());
  s.chart.SetPrintResolution(-500);
  EXPECT_EQ(s.chart.PrintResolution(), -100);
  // Nothing to draw into: no size, and no division by it.
  s.chart.CalcPrintRect(Rect(10, 10, 10, 50), panel, x, y, w, h);
  EXPECT_EQ(w * h, 0);
  s.chart.CalcPrintRect(page, Rect(0, 0, 0, 0), x, y, w, h);
  EXPECT_GT(w, 0);
}

TEST(PrintPdf, PrintedChartLooksLikeItsBitmap) {
  if (!oracle::Run("command -v pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
  TPrinter* p = UseFilePrinter("chart.pdf", 96);
  TSampleChart s;
  s.chart.SetPrintProportional(false);
  s.chart.SetPrintResolution(-100);
  const TRect r = s.chart.ChartPrintRect();
  s.chart.PrintPages(1, 1);
  auto ppm = oracle::Run("pdftoppm -r 96 '" + p->OutputFile() + "'");
  ASSERT_TRUE(ppm);
  auto page = imagecmp::ReadPPM(*ppm);
  ASSERT_TRUE(page);
  std::unique_ptr<TBitmap> bmp(s.chart.CreateBitmap(clWhite, Rect(0, 0, r.Width(), r.Height())));
  const double mean = imagecmp::MeanDifference(bmp.get(), 0, 0, page.get(), r.Left, r.Top, r.Width(), r.Height());
  // An A4 sheet is no whole number of points, so poppler samples the page's pixels
  // about a third of a pixel off: every edge is blended with its neighbour. So the
  // mean difference is some 9 levels, and a pixel counts as unlike only when no pixel
  // around its place comes within 100 levels (a missing marker or label does not).
  const double share =
      imagecmp::MismatchShare(bmp.get(), 0, 0, page.get(), r.Left, r.Top, r.Width(), r.Height(), 100);
  std::printf("PDF page against the bitmap: mean difference %.3f, pixels unlike %.3f%%\n", mean, share * 100);
  EXPECT_LT(mean, 12.0);
  EXPECT_LT(share, 0.003);
  // Outside the print rectangle the paper stays white.
  EXPECT_EQ(page->Canvas()->Pixels(r.Left - 3, r.Top - 3) & 0xF0F0F0, 0xF0F0F0);
  SetPrinter(nullptr);
}

// A chart of five pages that notes each page it is shown.
class TPagedChart : public TCountingChart {
public:
  int NumPages() const override { return 5; }
  int GetPage() const override { return page; }
  void SetPage(int Page) override {
    page = Page;
    shown.push_back(Page);
  }
  int page = 1;
  std::vector<int> shown;
};

TEST(PrintPdf, PageRangeAndTitle) {
  if (!oracle::Run("command -v pdfinfo")) GTEST_SKIP() << "poppler-utils is not installed";
  TPrinter* p = UseFilePrinter("pages.pdf", 72);
  TPagedChart paged;
  paged.page = 5;
  paged.PrintPages(2, 4);
  EXPECT_EQ(paged.shown, (std::vector<int>{2, 3, 4, 5}));  // each page, then the one shown before
  TSampleChart s;
  s.chart.PrintPages(2, 4);
  auto info = oracle::Run("pdfinfo '" + p->OutputFile() + "'");
  ASSERT_TRUE(info);
  EXPECT_NE(info->find("Pages:           3\n"), std::string::npos) << *info;
  EXPECT_NE(info->find("ChainChart"), std::string::npos);
  EXPECT_FALSE(s.chart.Printing());
  SetPrinter(nullptr);
}

// Draws like the test series until told to fail.
class TFailingSeries : public TTestSeries {
public:
  using TTestSeries::TTestSeries;
  void DrawValue(int ValueIndex) override {
    if (Fail) throw ChartException("no ink");
    TTestSeries::DrawValue(ValueIndex);
  }
  bool Fail = false;
};

TEST(PrintFailures, ErrorsAbortTheJobAndPassOn) {
  // No printer at all: a clear error, nothing drawn.
  auto* none = new TPrinter;
  SetPrinter(none);
  TSampleChart s;
  if (none->Printers().empty()) {
    EXPECT_THROW(s.chart.PrintPages(), EPrinter);
  }
  EXPECT_THROW(s.chart.PrintRect(Rect(0, 0, 100, 100)), EPrinter);  // no job running

  TPrinter* p = UseFilePrinter("failed.pdf", 72);
  TFailingSeries bad(nullptr);
  bad.SetParentChart(&s.chart);
  bad.AddXY(1, 1, "", clGreen);
  bad.Fail = true;
  ExpectThrowText<ChartException>([&] { s.chart.PrintPages(1, 2); }, "no ink");
  EXPECT_FALSE(p->Printing());
  EXPECT_TRUE(p->Aborted());
  EXPECT_FALSE(s.chart.Printing());
  EXPECT_FALSE(std::filesystem::exists(p->OutputFile()));
  EXPECT_TRUE(PartFilesBeside(p->OutputFile()).empty());

  // An empty rectangle prints nothing and the job goes on.
  bad.Fail = false;
  p->BeginDoc();
  s.chart.PrintRect(Rect(50, 50, 50, 300));
  s.chart.PrintRect(Rect(50, 50, 10, 10));
  EXPECT_TRUE(p->Printing());
  p->EndDoc();
  SetPrinter(nullptr);
}

TEST(PrintBackground, FlagLeavesThePanelFillOut) {
  TPrinter* p = UseFilePrinter("background.pdf", 72);
  TSampleChart s;
  s.chart.SetColor(clYellow);
  s.chart.SetPrintResolution(-100);
  const TRect r = Rect(10, 10, 330, 250);
  for (bool flag : {true, false}) {
    PrintPanelBackground = flag;
    p->BeginDoc();
    s.chart.PrintRect(r);
    EXPECT_EQ(p->Canvas()->Pixels(r.Left + 5, r.Top + 5) == clYellow, flag);
    p->Abort();
  }
  PrintPanelBackground = true;
  SetPrinter(nullptr);
}

TEST(ChartMetafile, PlaysBackAsTheChartDrawsAndCannotClip) {
  TSampleChart s;
  bool clipDuringMetafile = true;
  s.chart.OnAfterDraw = TNotifyEvent([&](TObject*) { clipDuringMetafile = s.chart.CanClip(); });
  std::unique_ptr<TMetafile> m(s.chart.CreateMetafile(true, Rect(0, 0, 649, 473)));
  ASSERT_TRUE(m);
  EXPECT_FALSE(clipDuringMetafile);
  EXPECT_TRUE(s.chart.CanClip());
  EXPECT_TRUE(m->Enhanced());
  EXPECT_EQ(m->Width(), 649);
  auto direct = Render(&s.chart);
  auto played = guitest::MakeBitmap(649, 473);
  played->Canvas()->StretchDraw(Rect(0, 0, 649, 473), m.get());
  const double mean = imagecmp::MeanDifference(direct.get(), played.get());
  std::printf("metafile against the chart drawn directly: mean difference %.3f\n", mean);
  EXPECT_LT(mean, 0.5);

  std::unique_ptr<TMetafile> wmf(s.chart.CreateMetafile(false, Rect(0, 0, 0, 100)));
  ASSERT_TRUE(wmf);
  EXPECT_FALSE(wmf->Enhanced());
  EXPECT_EQ(wmf->Records().Records.size(), 0u);
}

}  // namespace
