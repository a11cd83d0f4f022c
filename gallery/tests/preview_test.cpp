// The print preview: the sheet and chart rectangles, hit zones, dragging the
// margins with the mouse, the window's margin edits, and printing into a PDF file
// as poppler and qpdf read it.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "gallery/preview.h"
#include "gallery_test_util.h"
#include "image_compare.h"
#include "oracle.h"
#include "platform/snapshot.h"
#include "platform/testing.h"
#include "samples/samplechart.h"
#include "test_temp.h"

namespace {

// A printer without the system's queues; with a file name, its "PDF file" entry.
TPrinter* TestPrinter(const std::string& File, TSize Sheet = {0, 0}, int Dpi = 72) {
  auto* p = new TPrinter(false);
  if (!File.empty()) p->SetOutputFile(TestTempFile(File));
  p->SetResolution(Dpi);
  p->SetFilePageSize(Sheet);
  SetPrinter(p);
  return p;
}

class TPreviewTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    form.reset(new TForm(nullptr));
    form->SetBounds(0, 0, 900, 700);
    chart = BuildSampleChart(form.get(), nullptr);
    chart->SetPrintProportional(false);
    chart->OnAfterDraw = [this](TObject*) { ++renders; };
    preview = new TLumPreviewPanel(form.get());
    preview->SetParent(form.get());
    preview->SetPanel(chart);
    TestPrinter("sheet.pdf", {800, 600});  // the worked example's page
  }
  void TearDown() override {
    form.reset();
    SetPrinter(nullptr);
  }
  void Lay(int W = 432, int H = 312) {
    preview->SetBounds(0, 0, W, H);
    preview->Draw(preview->ClientRect());
  }
  std::unique_ptr<TChartPreview> Window() {
    // Owned by the chart's form: a Tag names only what the window's owner reaches.
    std::unique_ptr<TChartPreview> f(new TChartPreview(form.get()));
    f->SetTag(std::intptr_t(chart));
    f->Show();
    return f;
  }
  // Runs the loop until what was posted so far has been handled.
  void Settle() {
    done = false;
    TestInput::PostCall([this] { done = true; });
    TestInput::PumpUntil([this] { return done; });
  }
  void Drag(std::initializer_list<TPoint> Path) {
    auto it = Path.begin();
    TestInput::PostMouseDown(preview, mbLeft, it->X, it->Y);
    for (++it; it != Path.end(); ++it) TestInput::PostMouseMove(preview, it->X, it->Y, ssLeft);
    TestInput::PostMouseUp(preview, mbLeft, (Path.end() - 1)->X, (Path.end() - 1)->Y);
    Settle();
  }
  TestInput::TSteppedClock clock;
  std::unique_ptr<TForm> form;
  TChart* chart = nullptr;
  TLumPreviewPanel* preview = nullptr;
  int renders = 0;
  bool done = false;
};

TEST_F(TPreviewTest, DefaultsAndTheWorkedExample) {
  Lay();
  EXPECT_EQ(preview->PaperRect(), Rect(49, 31, 382, 281));
  EXPECT_EQ(preview->PreviewChartRect(), Rect(99, 69, 332, 243));
  Lay(25, 300);  // half to even: 25 / 5 = 5, 25 / 10 = 2.5 -> 2
  EXPECT_EQ(preview->PaperRect(), Rect(2, 142, 22, 157));
  // A chart that is drawing gives no picture (nullptr) this time, as metafile or bitmap.
  chart->OnAfterDraw = [this](TObject*) { Lay(25, 300), preview->SetAsBitmap(true), Lay(25, 300); };
  chart->Draw(chart->ClientRect());
  Lay(1, 1);  // a sheet under two pixels draws nothing and breaks nothing
  EXPECT_LT(preview->PaperRect().Width(), 2);
}

TEST_F(TPreviewTest, WithoutPrintersTheScreenShapesTheSheet) {
  TestPrinter("");
  Lay();
  const TRect p = preview->PaperRect();
  const std::int64_t w = Screen->Width(), h = Screen->Height();
  EXPECT_LE(std::abs(p.Width() * h - p.Height() * w), std::max(w, h)) << p.Width() << "x" << p.Height();
  const auto f = Window();
  EXPECT_EQ(f->CBPrinters->Items()->Count(), 0);
  for (TControl* c : std::initializer_list<TControl*>{f->BPrint, f->BSetupPrinter, f->Orientation})
    EXPECT_FALSE(c->Enabled()) << c->Name();
}

TEST_F(TPreviewTest, HitZones) {
  Lay();  // chart (99, 69)-(332, 243)
  const struct {
    int X, Y, Zone;
  } cases[] = {{103, 73, 6}, {104, 74, 5}, {95, 150, 1}, {94, 150, 0}, {336, 247, 9}, {99, 239, 8},
               {328, 65, 7}, {200, 69, 2}, {200, 247, 4}, {332, 150, 3}, {200, 150, 5}, {200, 300, 0}};
  for (const auto& c : cases) EXPECT_EQ(preview->HitZone(c.X, c.Y), c.Zone) << c.X << "," << c.Y;
  preview->SetAllowMove(false);
  EXPECT_EQ(preview->HitZone(200, 150), 0);
  preview->SetAllowMove(true);
  preview->SetAllowResize(false);
  for (const auto& c : cases) EXPECT_EQ(preview->HitZone(c.X, c.Y), 0);
}

TEST_F(TPreviewTest, DraggingKeepsItsLimitsAndWritesTheMarginsBack) {
  form->Show();
  Lay();
  TRect told;
  preview->OnChangeMargins = [&](TObject*, bool Disable, const TRect& M) { told = Disable ? M : TRect(); };
  TestInput::PumpFor(100);  // stepped time: the first paints are done
  chart->SetPrintProportional(true);
  // Left edge: to 150, then past the right edge (refused), then off the paper (ignored).
  const int before = renders;
  TBitmap still, moved, back;
  RenderControl(preview, &still);
  TestInput::PostMouseDown(preview, mbLeft, 99, 150);
  TestInput::PostMouseMove(preview, 150, 150, ssLeft);
  TestInput::PumpFor(100);
  EXPECT_EQ(renders, before);  // with DragImage off a move draws only the lines
  RenderControl(preview, &moved);
  TestInput::PostMouseMove(preview, 99, 150, ssLeft);
  Settle();
  RenderControl(preview, &back);
  EXPECT_GT(imagecmp::MeanDifference(&still, &moved), 0);
  EXPECT_EQ(imagecmp::MeanDifference(&still, &back), 0);  // drawn twice, the lines leave no trace
  TestInput::PostMouseMove(preview, 150, 150, ssLeft);
  Drag({{150, 150}, {340, 150}, {20, 150}});
  EXPECT_FALSE(chart->PrintProportional());
  // MulDiv(150 - 49, 100, 333) = 30; the others stay at 15 (MulDiv rounds 15.2 and 15.01 down).
  EXPECT_EQ(chart->PrintMargins(), Rect(30, 15, 15, 15));
  EXPECT_EQ(told, Rect(30, 15, 15, 15));
  TestInput::PumpUntil([&] { return renders > before; });
  EXPECT_EQ(renders, before + 1);  // the release repainted once

  // The whole rectangle: moved by (10, 10), then a move that would leave the paper is refused.
  Lay();
  const TRect start = preview->PreviewChartRect();
  Drag({{200, 150}, {210, 160}, {400, 160}});
  Lay();
  EXPECT_EQ(preview->PreviewChartRect().Left, start.Left + 10);
  EXPECT_EQ(chart->PrintMargins().Top, MulDiv(start.Top + 10 - 31, 100, 250));

  // DragImage on: every move repaints the chart.
  preview->SetDragImage(true);
  TestInput::PumpFor(100);  // stepped time: the release's repaint is done
  const int dragged = renders;
  Drag({{200, 150}, {205, 150}});
  TestInput::PumpUntil([&] { return renders > dragged; });
  EXPECT_GT(renders, dragged);
}

TEST_F(TPreviewTest, MarginEditsRefuseFiftyAndFiftyAndReset) {
  const auto f = Window();
  f->UDRightMa->SetPosition(50);
  EXPECT_EQ(chart->PrintMargins().Right, 50);
  f->UDLeftMa->SetPosition(50);  // 50 + 50 is not below 100
  EXPECT_EQ(f->UDLeftMa->Position(), 15);
  EXPECT_EQ(chart->PrintMargins().Left, 15);
  f->UDLeftMa->SetPosition(45);
  EXPECT_EQ(chart->PrintMargins(), Rect(45, 15, 50, 15));
  TestInput::PostClick(f->BReset);
  TestInput::PumpUntil([&] { return !f->BReset->Enabled(); });
  EXPECT_EQ(chart->PrintMargins(), Rect(15, 15, 15, 15));
  EXPECT_EQ(f->UDRightMa->Position(), 15);
}

// A Tag is taken as a panel only when the window's owner (or the application)
// reaches it: a stray number, or a chart of another form, is never followed.
TEST_F(TPreviewTest, ATagNamesOnlyAPanelTheOwnerReaches) {
  TForm other(nullptr);
  TChart* elsewhere = BuildSampleChart(&other, nullptr);
  for (const std::intptr_t tag : {std::intptr_t(12345), std::intptr_t(elsewhere)}) {
    std::unique_ptr<TChartPreview> f(new TChartPreview(form.get()));
    f->SetTag(tag);
    f->Show();
    EXPECT_EQ(f->LumPreviewPanel1->Panel(), nullptr);
    EXPECT_FALSE(f->GBMargins->Enabled() || f->BPrint->Enabled());
  }
  EXPECT_EQ(Window()->LumPreviewPanel1->Panel(), chart);
}

TEST_F(TPreviewTest, EmbeddedInAPageAndLettingAFreedChartGo) {
  auto* page = new TPanel(form.get());
  page->SetParent(form.get());
  page->SetBounds(0, 0, 700, 500);
  form->Show();
  TChartPreview* f = EmbedChartPreview(form.get(), page, chart);
  EXPECT_TRUE(f->Owner() == form.get() && f->Parent() == page && !f->PanelClose->Visible());
  EXPECT_EQ(f->LumPreviewPanel1->Panel(), chart);
  EXPECT_EQ(f->ClientRect(), page->ClientRect());
  delete chart;  // both previews let it go
  EXPECT_EQ(f->LumPreviewPanel1->Panel(), nullptr);
  EXPECT_EQ(preview->Panel(), nullptr);
  f->LumPreviewPanel1->Draw(f->LumPreviewPanel1->ClientRect());
  EXPECT_NO_THROW(f->LumPreviewPanel1->Print());  // nothing listed: nothing printed
}

bool HaveTool(const char* Tool) { return bool(oracle::Run(std::string("command -v ") + Tool)); }

// Where the chart lies on the first page of a PDF, as fractions of the page (left,
// top, right, bottom): the bounding box of everything not white, as poppler draws it.
std::vector<double> ChartBoxOnPage(const std::string& File) {
  const auto ppm = oracle::Run("pdftoppm -r 50 -f 1 -l 1 '" + File + "'");
  const auto page = ppm ? imagecmp::ReadPPM(*ppm) : nullptr;
  if (!page) return {};
  const int w = page->Width(), h = page->Height();
  int l = w, t = h, r = 0, b = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((page->Canvas()->Pixels(x, y) & 0xF0F0F0) != 0xF0F0F0)
        l = std::min(l, x), t = std::min(t, y), r = std::max(r, x + 1), b = std::max(b, y + 1);
  return {double(l) / w, double(t) / h, double(r) / w, double(b) / h};
}

// The box against margins in percent: within 1 % of the page.
void ExpectAtMargins(const std::vector<double>& Box, const TRect& Margins) {
  ASSERT_EQ(Box.size(), 4u);
  const double want[4] = {Margins.Left / 100.0, Margins.Top / 100.0, 1 - Margins.Right / 100.0,
                          1 - Margins.Bottom / 100.0};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(Box[size_t(i)], want[i], 0.01) << i;
}

TEST_F(TPreviewTest, PrintsOnePageIntoAPdfFile) {
  if (!HaveTool("pdfinfo") || !HaveTool("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
  for (const bool bitmap : {false, true}) {
    SCOPED_TRACE(bitmap ? "bitmap" : "metafile");
    TPrinter* prn = TestPrinter(bitmap ? "bitmap.pdf" : "metafile.pdf", {0, 0}, 100);
    chart->SetPrintMargins(Rect(10, 20, 30, 10));
    preview->SetAsBitmap(bitmap);
    preview->SetOrientation(ppoLandscape);
    preview->Print();
    EXPECT_FALSE(prn->Printing());
    const std::string file = prn->OutputFile();
    const auto info = oracle::Run("pdfinfo '" + file + "'");
    ASSERT_TRUE(info);
    for (const char* want : {"Pages:           1\n", "Title:           Dispersion\n", "842 x 595 pts"})  // A4 landscape
      EXPECT_NE(info->find(want), std::string::npos) << *info;
    if (HaveTool("qpdf")) {
      EXPECT_TRUE(oracle::Run("qpdf --check '" + file + "' >/dev/null"));
    }
    // The bounding box of everything not white is the chart, at the margins.
    ExpectAtMargins(ChartBoxOnPage(file), Rect(10, 20, 30, 10));
  }
}

// A margin typed into the window ends proportional margins: the next paint keeps the
// edits, and the printed page has the chart at the margins the edits show.
TEST_F(TPreviewTest, ATypedMarginEndsProportionalMargins) {
  TPrinter* prn = TestPrinter("typed.pdf", {0, 0}, 100);
  chart->SetPrintProportional(true);
  const auto f = Window();
  EXPECT_TRUE(f->CBProp->Checked());
  TestInput::PostText(f->SETopMa, "40");
  Settle();
  const TRect edits = Rect(f->UDLeftMa->Position(), f->UDTopMa->Position(), f->UDRightMa->Position(),
                           f->UDBotMa->Position());
  EXPECT_EQ(edits.Top, 40);
  EXPECT_FALSE(chart->PrintProportional());
  EXPECT_FALSE(f->CBProp->Checked());
  f->LumPreviewPanel1->Draw(f->LumPreviewPanel1->ClientRect());  // a paint recomputes nothing now
  EXPECT_EQ(chart->PrintMargins(), edits);
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
  f->LumPreviewPanel1->Print();
  ExpectAtMargins(ChartBoxOnPage(prn->OutputFile()), edits);
}

// A cupsd of the test's own: configuration, spool, logs and socket in Dir, run in a
// mount namespace of its own where cups-pdf reads our configuration (its PDFs go to
// Dir/out), so the system's print service is neither started nor changed. Its
// clients find it through CUPS_SERVER; it is stopped by its pid. cups-pdf's backend
// is root's alone (mode 0700, run as root by cupsd), so this takes root.
class TOwnCupsd {
public:
  explicit TOwnCupsd(const std::string& Dir) : dir_(Dir) { Skip = Start(Dir); }
  ~TOwnCupsd() {
    if (pid_ > 0 && !Exited()) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    ::unsetenv("CUPS_SERVER");
    RereadServer();
  }
  std::string Socket() const { return dir_ + "/cups.sock"; }
  // Why it could not start; empty when it runs.
  std::string Skip;

private:
  // The print system's client keeps the server it first found for the whole process
  // (an earlier test may have asked for printers): it reads CUPS_SERVER again.
  static void RereadServer() {
    using TSetServer = void (*)(const char*);
    if (auto set = reinterpret_cast<TSetServer>(::dlsym(RTLD_DEFAULT, "cupsSetServer"))) set(nullptr);
  }
  std::string Start(const std::string& Dir) {
    const char* needed[] = {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf",
                            "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/etc/cups/cups-pdf.conf"};
    for (const char* f : needed)
      if (!std::filesystem::exists(f)) return std::string(f) + " is missing (cups, printer-driver-cups-pdf)";
    for (const char* tool : {"unshare", "lpstat", "pdfinfo", "pdftoppm", "qpdf"})
      if (!HaveTool(tool)) return std::string(tool) + " is missing";
    if (::geteuid() != 0) return "cups-pdf's backend runs only for a cupsd started as root";
    if (!oracle::Run("unshare --mount true")) return "no mount namespace can be made here";
    // The filters run as cupsd's user (lp): the folders must be reachable.
    ::chmod(TestTempDir().c_str(), 0755);
    for (const char* d : {"", "/conf", "/spool", "/cache", "/state", "/log"}) std::filesystem::create_directories(Dir + d);
    for (const char* d : {"/tmp", "/out", "/pdfspool"}) {
      std::filesystem::create_directories(Dir + d);
      ::chmod((Dir + d).c_str(), 01777);
    }
    std::ofstream(Dir + "/cupsd.conf") << "Listen " << Socket() << "\nLogLevel info\nBrowsing No\nWebInterface No\n"
                                       << "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                                       << "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                       << "  </Limit>\n</Policy>\n";
    std::ofstream(Dir + "/cups-files.conf")
        << "ServerRoot " << Dir << "/conf\nRequestRoot " << Dir << "/spool\nTempDir " << Dir << "/tmp\nCacheDir "
        << Dir << "/cache\nStateDir " << Dir << "/state\nErrorLog " << Dir << "/log/error_log\nAccessLog " << Dir
        << "/log/access_log\nPageLog " << Dir << "/log/page_log\nPrintcap " << Dir << "/printcap\nServerKeychain "
        << Dir << "/ssl\nFileDevice No\n";
    std::ofstream(Dir + "/cups-pdf.conf") << "Out " << Dir << "/out\nAnonDirName " << Dir << "/out\nSpool " << Dir
                                          << "/pdfspool\nLog " << Dir << "/log\nGrp lp\n";
    const std::string script = "mount --bind '" + Dir + "/cups-pdf.conf' /etc/cups/cups-pdf.conf && exec " +
                               "/usr/sbin/cupsd -f -c '" + Dir + "/cupsd.conf' -s '" + Dir + "/cups-files.conf'";
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // ends with the test, however the test ends
      const int log = ::open((Dir + "/log/cupsd.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(log, 1), ::dup2(log, 2);
      ::execlp("unshare", "unshare", "--mount", "--propagation", "private", "sh", "-c", script.c_str(), nullptr);
      ::_exit(127);
    }
    ::setenv("CUPS_SERVER", Socket().c_str(), 1);
    RereadServer();
    if (!TestInput::PumpUntil([this] { return Exited() || std::filesystem::exists(Socket()); }, 10000) || Exited())
      return "cupsd did not start: " + gallerytest::ReadFile(Dir + "/log/cupsd.out");
    return "";
  }
  bool Exited() {
    if (exited_) return true;
    int status = 0;
    exited_ = pid_ <= 0 || ::waitpid(pid_, &status, WNOHANG) == pid_;
    return exited_;
  }
  std::string dir_;
  pid_t pid_ = -1;
  bool exited_ = false;
};

// The sample chart printed from the preview window through a cups-pdf queue: one
// page, a sound PDF, the chart at the preview's margins.
TEST(PreviewPrinting, ThroughACupsQueue) {
  if (!RunsInAProgramOfItsOwn()) return;  // the print client keeps the first server it found
  gallerytest::EnsureUnits();
  TOwnCupsd cupsd(TestTempFile("cups"));
  if (!cupsd.Skip.empty()) GTEST_SKIP() << cupsd.Skip;
  ASSERT_TRUE(oracle::Run("/usr/sbin/lpadmin -p PhonarkPDF -E -v cups-pdf:/ "
                          "-P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd && /usr/sbin/lpadmin -d PhonarkPDF"));
  SetPrinter(new TPrinter(true));
  TForm form(nullptr);
  TChart* chart = BuildSampleChart(&form, nullptr);
  chart->SetPrintProportional(false);
  chart->SetPrintMargins(Rect(10, 20, 30, 10));
  std::unique_ptr<TChartPreview> f(new TChartPreview(&form));
  f->SetTag(std::intptr_t(chart));
  f->Show();
  ASSERT_EQ(f->CBPrinters->Text(), "PhonarkPDF");
  ASSERT_TRUE(f->BPrint->Enabled());
  f->BPrintClick(f->BPrint);
  const std::string out = TestTempFile("cups/out");
  std::string pdf;
  // The queue's filters and ghostscript run meanwhile: wait for the job to end.
  TestInput::PumpUntil(
      [&] {
        for (const auto& e : std::filesystem::directory_iterator(out))
          if (e.path().extension() == ".pdf") pdf = e.path().string();
        const auto jobs = oracle::Run("lpstat -o");
        return !pdf.empty() && jobs && jobs->empty();
      },
      20000);
  f.reset();
  SetPrinter(nullptr);
  ASSERT_FALSE(pdf.empty()) << gallerytest::ReadFile(TestTempFile("cups/log/error_log"));
  const auto info = oracle::Run("pdfinfo '" + pdf + "'");
  ASSERT_TRUE(info);
  EXPECT_NE(info->find("Pages:           1\n"), std::string::npos) << *info;
  EXPECT_TRUE(oracle::Run("qpdf --check '" + pdf + "' >/dev/null"));
  ExpectAtMargins(ChartBoxOnPage(pdf), Rect(10, 20, 30, 10));
}

TEST_F(TPreviewTest, AnErrorWhilePrintingLeavesNoFileAndTheCursor) {
  TPrinter* prn = TestPrinter("failed.pdf");
  preview->OnAfterDraw = [](TObject*) { throw Exception("after draw"); };
  Screen->SetCursor(crDefault);
  EXPECT_THROW(preview->Print(), Exception);
  EXPECT_FALSE(prn->Printing());
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(prn->OutputFile()).parent_path()))
    EXPECT_EQ(e.path().filename().string().find("failed"), std::string::npos) << e.path();
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

}  // namespace
