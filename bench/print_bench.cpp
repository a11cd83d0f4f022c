// print_bench: the chain chart (649 x 473, a monatomic frame as the window draws it)
// as a bitmap (CreateBitmap), as a metafile written to a stream (CreateMetafile +
// SaveToStream, EMF and WMF) and printed into a PDF file (PrintRect at 300 dpi in
// its job), each as a ratio to the bitmap.
//
// With a folder argument it also leaves there what a person looks at: the
// preview-like picture (the chart drawn through a metafile stretched into the print
// rectangle of a page, as the print preview shows it) as preview.bmp, and the
// printed page as page.pdf.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/chain.h"
#include "app/window.h"
#include "bench_timing.h"
#include "chart/chart.h"
#include "platform/metafile.h"
#include "platform/printers.h"
#include "platform/rtl.h"

namespace {

// Median of Runs timings of Work, in microseconds.
double Median(int Runs, const std::function<void()>& Work) {
  return double(MedianMicroseconds(Runs, Work));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string dir = argc > 1 ? argv[1] : "";
  using namespace Chain;
  TMainWindow window;
  TChart* chart = window.ChainChart();
  window.SetKPosition(300);
  window.SetMasses(8, 4);
  window.Run(cmMonatomic, 1);
  window.DrawTransverseStep(cmMonatomic, 40);
  const TRect all = Rect(0, 0, chart->Width(), chart->Height());
  std::printf("Chain chart %d x %d\n", chart->Width(), chart->Height());

  const double bitmap = Median(200, [&] { std::unique_ptr<TBitmap> b(chart->CreateBitmap(clWhite, all, pf32bit)); });
  std::size_t emfBytes = 0, wmfBytes = 0;
  const double emf = Median(200, [&] {
    std::unique_ptr<TMetafile> m(chart->CreateMetafile(true, all));
    TMemoryStream s;
    m->SaveToStream(&s);
    emfBytes = std::size_t(s.Size());
  });
  const double wmf = Median(200, [&] {
    std::unique_ptr<TMetafile> m(chart->CreateMetafile(false, all));
    TMemoryStream s;
    m->SaveToStream(&s);
    wmfBytes = std::size_t(s.Size());
  });

  // Without a folder the page goes to a temporary file, removed at the end.
  const std::string pdf = dir.empty() ? (std::filesystem::temp_directory_path() /
                                                ("phonark_print_bench_" + std::to_string(getpid()) + ".pdf"))
                                                   .string()
                                             : dir + "/page.pdf";
  auto* printer = new TPrinter;
  printer->SetOutputFile(pdf);
  SetPrinter(printer);
  chart->SetPrintProportional(true);
  chart->CalcProportionalPrintRect();
  const TRect page = chart->ChartPrintRect();
  std::printf("Print rectangle on A4 at 300 dpi: %d x %d at (%d, %d)\n", page.Width(), page.Height(), page.Left,
              page.Top);
  std::vector<std::pair<int, double>> prints;
  for (int resolution : {0, -100}) {
    chart->SetPrintResolution(resolution);
    printer->BeginDoc();
    prints.emplace_back(resolution, Median(20, [&] { chart->PrintRect(page); }));
    printer->EndDoc();
  }
  chart->SetPrintResolution(0);
  const double job = Median(10, [&] { chart->PrintPages(1, 1); });

  std::printf("%-52s %9.3f ms   1.00\n", "CreateBitmap (pf32bit)", bitmap / 1000);
  std::printf("%-52s %9.3f ms  %5.2f   (%zu bytes)\n", "CreateMetafile + SaveToStream, EMF", emf / 1000, emf / bitmap,
              emfBytes);
  std::printf("%-52s %9.3f ms  %5.2f   (%zu bytes)\n", "CreateMetafile + SaveToStream, WMF", wmf / 1000, wmf / bitmap,
              wmfBytes);
  for (auto [resolution, t] : prints)
    std::printf("PrintRect to PDF, 300 dpi page, PrintResolution %-4d %9.3f ms  %5.2f\n", resolution, t / 1000,
                t / bitmap);
  std::printf("%-52s %9.3f ms  %5.2f\n", "whole job (BeginDoc, PrintRect, EndDoc), resolution 0", job / 1000,
              job / bitmap);

  if (!dir.empty()) {
    // The preview: a page 432 x 312 control would show; here the sheet at 40 % of the
    // screen's 96 dpi with the chart through a metafile stretched into its margins.
    const int pw = printer->PageWidth() * 96 * 4 / 10 / 300, ph = printer->PageHeight() * 96 * 4 / 10 / 300;
    TBitmap sheet;
    sheet.SetPixelFormat(pf24bit);
    sheet.SetSize(pw + 40, ph + 40);
    TCanvas* c = sheet.Canvas();
    c->Brush()->SetColor(clGray);
    c->FillRect(Rect(0, 0, pw + 40, ph + 40));
    c->Brush()->SetColor(clWhite);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(20, 20, 20 + pw, 20 + ph);
    const TRect m = chart->PrintMargins();
    const TRect target{20 + MulDiv(m.Left, pw, 100), 20 + MulDiv(m.Top, ph, 100), 20 + pw - MulDiv(m.Right, pw, 100),
                       20 + ph - MulDiv(m.Bottom, ph, 100)};
    int x, y, w, h;
    chart->CalcPrintRect(target, all, x, y, w, h);
    std::unique_ptr<TMetafile> pic(chart->CreateMetafile(true, Rect(0, 0, w, h)));
    c->StretchDraw(target, pic.get());
    sheet.SaveToFile(dir + "/preview.bmp");
    std::printf("wrote %s/preview.bmp and %s\n", dir.c_str(), pdf.c_str());
  }
  SetPrinter(nullptr);
  if (dir.empty()) DeleteFile(pdf);
  return 0;
}
