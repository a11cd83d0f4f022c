// export_bench: writing 1 000 000 points (X, Y, a label every tenth) as our delimited
// text, XML and HTML files and as the binary chart stream with its data, each in a
// child of its own (wall time of the write; peak resident memory from wait4), beside
// /usr/bin/python3 writing the same rows with csv.writer and xml.etree.ElementTree;
// and the spreadsheet at 65 535 rows.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "canvas/lumconst.h"
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
  std::system(("rm -rf '" + dir + "'").c_str());
  return 0;
}
