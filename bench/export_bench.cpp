// export_bench: writing 1 000 000 points (X, Y, a label every tenth) as our delimited
// text, XML and HTML files and as the binary chart stream with its data, each in a
// child of its own (wall time of the write; peak resident memory from wait4), beside
// /usr/bin/python3 writing the same rows with csv.writer and xml.etree.ElementTree;
// and the spreadsheet at 65 535 rows. Pictures: the sample chart at 4000 x 3000 saved
// as a bitmap of 1, 8, 24 and 32 bits (drawing and writing, and writing alone beside
// PIL and Qt's writer saving the same pixels, as ratios), and a 1 000 000-point fast
// line as enhanced and Windows metafile (bytes and ms).
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <QImage>

#include "bench_timing.h"
#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "engine/engineunit.h"
#include "gallery/exportformat.h"
#include "samples/samplechart.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "gallery/chartstream.h"
#include "gallery/seriesdata.h"
#include "platform/forms.h"

namespace {

struct TResult {
  double seconds = 0;
  long peakKb = 0, baseKb = 0;
  long long bytes = 0;
};

long SelfPeakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Runs Work in a child; the child sends its write time and its peak before the write.
TResult InChild(const std::function<void()>& Prepare, const std::function<void()>& Work, const std::string& File) {
  int fd[2];
  if (pipe(fd) != 0) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    close(fd[0]);
    Prepare();
    const long base = SelfPeakKb();
    const std::int64_t start = GetMicroseconds();
    Work();
    const double t = double(GetMicroseconds() - start) / 1e6;
    char msg[64];
    int n = std::snprintf(msg, sizeof msg, "%f %ld", t, base);
    if (write(fd[1], msg, std::size_t(n)) != n) _exit(1);
    _exit(0);
  }
  close(fd[1]);
  char buf[64] = {};
  if (read(fd[0], buf, sizeof buf - 1) <= 0) buf[0] = 0;
  close(fd[0]);
  int status = 0;
  rusage u{};
  wait4(pid, &status, 0, &u);
  TResult r;
  std::sscanf(buf, "%lf %ld", &r.seconds, &r.baseKb);
  r.peakKb = u.ru_maxrss;
  struct stat st {};
  if (stat(File.c_str(), &st) == 0) r.bytes = st.st_size;
  return r;
}

TResult Python(const std::string& Dir, const std::string& Kind, int Points) {
  const std::string script = Dir + "/peer.py";
  std::ofstream(script) <<
      "import csv, sys, time, math\nimport xml.etree.ElementTree as ET\n"
      "kind, n, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]\n"
      "rows = [(i * 0.001, math.sin(i * 0.001), 'p%d' % i if i % 10 == 0 else '') for i in range(n)]\n"
      "t = time.perf_counter()\n"
      "if kind == 'csv':\n"
      "    with open(out, 'w', newline='') as f:\n"
      "        w = csv.writer(f, delimiter='\\t')\n"
      "        for x, y, l in rows: w.writerow((l, repr(x), repr(y)))\n"
      "else:\n"
      "    root = ET.Element('chart'); s = ET.SubElement(root, 'series', title='S')\n"
      "    p = ET.SubElement(s, 'points', count=str(n))\n"
      "    for x, y, l in rows: ET.SubElement(p, 'point', text=l, X=repr(x), Y=repr(y))\n"
      "    ET.ElementTree(root).write(out, encoding='utf-8', xml_declaration=True)\n"
      "print(time.perf_counter() - t)\n";
  const std::string out = Dir + "/peer." + Kind;
  int fd[2];
  if (pipe(fd) != 0) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fd[1], 1);
    close(fd[0]);
    execl("/usr/bin/python3", "python3", script.c_str(), Kind.c_str(), std::to_string(Points).c_str(), out.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fd[1]);
  std::string said;
  char buf[64];
  for (ssize_t n; (n = read(fd[0], buf, sizeof buf)) > 0;) said.append(buf, std::size_t(n));
  close(fd[0]);
  int status = 0;
  rusage u{};
  wait4(pid, &status, 0, &u);
  TResult r;
  r.seconds = std::atof(said.c_str());
  r.peakKb = u.ru_maxrss;
  struct stat st {};
  if (stat(out.c_str(), &st) == 0) r.bytes = st.st_size;
  return r;
}

void Print(const char* Name, const TResult& r, const TResult* Peer) {
  std::printf("%-26s %8.3f s  peak %7.1f MB  (series %6.1f MB, file %7.1f MB; aim <= %7.1f MB)", Name, r.seconds,
              r.peakKb / 1024.0, r.baseKb / 1024.0, r.bytes / 1048576.0,
              (3.0 * r.bytes / 1024 + r.baseKb) / 1024.0);
  if (Peer && Peer->seconds > 0) std::printf("  python %.3f s, %.1f MB: time x%.2f", Peer->seconds, Peer->peakKb / 1024.0,
                                             r.seconds / Peer->seconds);
  std::printf("\n");
}

// Milliseconds /usr/bin/python3 with PIL takes to save the bitmap File as BMP again;
// 0 without PIL.
double PilSaveMs(const std::string& Dir, const std::string& File) {
  const std::string script = Dir + "/pil.py", out = Dir + "/pil.bmp";
  std::ofstream(script) << "import sys, time\nfrom PIL import Image\nim = Image.open(sys.argv[1]); im.load()\n"
                           "t = time.perf_counter()\nfor i in range(3): im.save(sys.argv[2], 'BMP')\n"
                           "print((time.perf_counter() - t) / 3 * 1000)\n";
  FILE* p = popen(("/usr/bin/python3 '" + script + "' '" + File + "' '" + out + "' 2>/dev/null").c_str(), "r");
  double ms = 0;
  if (p && std::fscanf(p, "%lf", &ms) != 1) ms = 0;
  if (p) pclose(p);
  return ms;
}

// Milliseconds Qt's BMP writer takes for the same pixels (24 and 32 bits only: the
// indexed depths would need the palette copied).
double QtSaveMs(TBitmap* B, const std::string& File) {
  const bool b24 = B->PixelFormat() == pf24bit;
  if (!b24 && B->PixelFormat() != pf32bit) return 0;
  QImage image(static_cast<const uchar*>(B->ScanLine(0)), B->Width(), B->Height(),
               static_cast<const uchar*>(B->ScanLine(1)) - static_cast<const uchar*>(B->ScanLine(0)),
               b24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
  return double(MedianMicroseconds(3, [&] { image.save(QString::fromStdString(File), "BMP"); })) / 1000;
}

void Pictures(const std::string& Dir) {
  LumCanvasUnitInit();
  LumEngineUnitInit();
  TForm host(nullptr);
  TChart* chart = BuildSampleChart(&host, &host);
  chart->SetBounds(0, 0, 4000, 3000);
  TBMPExportFormat format;
  format.SetPanel(chart);
  std::printf("\nbitmap of the sample chart, 4000 x 3000    save (ms)  write (ms)  PIL x  Qt x\n");
  for (auto [bits, item] : {std::pair{1, 1}, {8, 3}, {24, 6}, {32, 7}}) {
    format.BMPOptions()->CBColors->SetItemIndex(item);
    const std::string file = Dir + "/chart_" + std::to_string(bits) + ".bmp";
    const double save = double(MedianMicroseconds(3, [&] { format.SaveToFile(file); })) / 1000;
    std::unique_ptr<TBitmap> b(format.FilteredBitmap());
    const double write = double(MedianMicroseconds(3, [&] { b->SaveToFile(Dir + "/w.bmp"); })) / 1000;
    const double pil = PilSaveMs(Dir, file), qt = QtSaveMs(b.get(), Dir + "/qt.bmp");
    std::printf("  %2d bits                                 %9.1f  %10.1f", bits, save, write);
    std::printf(pil > 0 ? "  %5.2f" : "      -", pil > 0 ? write / pil : 0.0);
    std::printf(qt > 0 ? "  %4.2f\n" : "     -\n", qt > 0 ? write / qt : 0.0);
  }
  chart->SetBounds(0, 0, 640, 400);
  auto* fast = new TFastLineSeries(&host);
  fast->SetParentChart(chart);
  fast->BeginUpdate();
  for (int i = 0; i < 1000000; ++i) fast->AddXY(i * 1e-6, std::sin(i * 1e-4));
  fast->EndUpdate();
  TEMFExportFormat metafile;
  metafile.SetPanel(chart);
  std::printf("\nmetafile of the chart with a 1 000 000-point fast line\n");
  for (bool enhanced : {true, false}) {
    metafile.EMFOptions()->CBEnhanced->SetChecked(enhanced);
    const std::string file = Dir + (enhanced ? "/chart.emf" : "/chart.wmf");
    const double ms = double(MedianMicroseconds(3, [&] { metafile.SaveToFile(file); })) / 1000;
    struct stat st {};
    stat(file.c_str(), &st);
    std::printf("  %-9s %12lld bytes  %9.1f ms\n", enhanced ? "enhanced" : "Windows", (long long)st.st_size, ms);
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const int points = argc > 1 ? std::atoi(argv[1]) : 1000000;
  char tmpl[] = "/tmp/export_bench.XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  FormsUnitInit();
  LumConstUnitInit();
  ChartUnitInit();
  LumStoreUnitInit();
  TComponent owner(nullptr);
  TChart* chart = nullptr;
  TLineSeries* line = nullptr;
  auto build = [&](int n) {
    return [&, n] {
      chart = new TChart(&owner);
      line = new TLineSeries(&owner);
      line->SetName("Series1");
      line->SetParentChart(chart);
      line->BeginUpdate();
      for (int i = 0; i < n; ++i) line->AddXY(i * 0.001, std::sin(i * 0.001), i % 10 ? "" : "p" + std::to_string(i));
      line->EndUpdate();
    };
  };
  std::printf("export_bench: %d points (X, Y, a label every tenth), each format in its own child\n", points);
  const TResult pyCsv = Python(dir, "csv", points), pyXml = Python(dir, "xml", points);
  const std::string txt = dir + "/data.txt", xml = dir + "/data.xml", html = dir + "/data.html",
                    lum = dir + "/chart.lum", xls = dir + "/data.xls";
  Print("text (tab)", InChild(build(points), [&] { TSeriesDataText(chart, line).SaveToFile(txt); }, txt), &pyCsv);
  Print("xml (UTF-8)", InChild(build(points), [&] {
          TSeriesDataXML x(chart, line);
          x.Encoding = "UTF-8";
          x.SaveToFile(xml);
        }, xml), &pyXml);
  Print("html", InChild(build(points), [&] { TSeriesDataHTML(chart, line).SaveToFile(html); }, html), nullptr);
  Print("chart stream with data", InChild(build(points), [&] { WriteChartFile(chart, lum, true, false); }, lum), nullptr);
  Print("spreadsheet 65535 rows", InChild(build(65535), [&] { TSeriesDataXLS(chart, line).SaveToFile(xls); }, xls),
        nullptr);
  std::printf("python csv.writer          %8.3f s  peak %7.1f MB  file %7.1f MB\n", pyCsv.seconds,
              pyCsv.peakKb / 1024.0, pyCsv.bytes / 1048576.0);
  std::printf("python ElementTree         %8.3f s  peak %7.1f MB  file %7.1f MB\n", pyXml.seconds,
              pyXml.peakKb / 1024.0, pyXml.bytes / 1048576.0);
  Pictures(dir);
  std::system(("rm -rf '" + dir + "'").c_str());
  return 0;
}
