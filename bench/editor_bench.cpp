// editor_bench: the chart editor's pages on a series of a million points, each the
// median of several runs in milliseconds:
//   - the function page opened on a moving average over the source, to its first paint;
//   - its Apply (the period 10 average recalculated over the million points), beside
//     the series' recalculation alone, as a ratio: what the page adds;
//   - choosing another function class (the function made again, its options page shown);
//   - the series page opened on a point series of a million points, to its first paint;
//   - its Manual grid (the Data Source tab) to its first paint;
//   - a sort-by change (the points by Y, descending), as a ratio to std::stable_sort of
//     the same rows (X, Y) run side by side;
//   - on a chart of 50 series and a million points in all: each chart-level page's
//     first show (made, embedded and filled, to its first paint), and the axis page's
//     "Automatic" turned on (the range found again over every point).
//   - the editor window on that chart: creation to its first paint, as a ratio to one
//     CreateBitmap render of the same chart run side by side; the first visit of each
//     page; the tree built at show; the Data page's first paint; resident memory
//     before and after visiting every page; "Copy" of its million points in MB/s, as
//     a ratio to /usr/bin/python3's csv.writer writing the same values.
// A page's figures join with one function and one table line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>
#include <memory>
#include <string>

#include "analysis/func_moving.h"
#include "analysis/toolsunit.h"
#include "analysis/unit.h"
#include "bench_timing.h"
#include "canvas/canvasunit.h"
#include "canvas/comboflat.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "editor/axispage.h"
#include "editor/chartedit.h"
#include "editor/funceditor.h"
#include "editor/seriespage.h"
#include "editor/legendpage.h"
#include "editor/panelpages.h"
#include "editor/generalpage.h"
#include "editor/pagingpage.h"
#include "editor/view3dpage.h"
#include "editor/unit.h"
#include "engine/engineunit.h"
#include "gallery/chartgrid.h"
#include "gallery/chartstream.h"
#include "gallery/seriesgallery.h"
#include "platform/clipbrd.h"
#include "platform/forms.h"
#include "platform/registry.h"
#include "platform/graphics.h"
#include "platform/units.h"

namespace {

constexpr int kPoints = 1000000;

// A chart with a source of a million points and a series averaging it.
struct TBench {
  TBench() {
    host.SetBounds(0, 0, 1100, 480);
    chart = new TChart(&host);
    chart->SetParent(&host);
    chart->SetBounds(0, 0, 640, 400);
    source = new TFastLineSeries(&host);
    source->SetName("Source");
    source->SetParentChart(chart);
    source->BeginUpdate();
    for (int i = 0; i < kPoints; ++i) source->AddXY(i, 100 + (i % 977) * 0.25 - (i % 61));
    source->EndUpdate();
    target = new TLineSeries(&host);
    target->SetName("Average");
    target->SetParentChart(chart);
    auto* mean = new TMovingAverageFunction(&host);
    mean->SetName("Mean");
    mean->SetPeriod(10);
    target->SetFunction(mean);
    target->SetDataSource(source);
    host.Show();
  }
  // 50 line series of 20000 points each, made on first use.
  TChart* BigChart() {
    if (big) return big;
    big = new TChart(&host);
    big->SetParent(&host);
    big->SetBounds(0, 0, 640, 400);
    for (int s = 0; s < kBigSeries; ++s) {
      auto* line = new TFastLineSeries(&host);
      line->SetParentChart(big);
      line->BeginUpdate();
      for (int i = 0; i < kPoints / kBigSeries; ++i) line->AddXY(i, s + (i % 313) * 0.01);
      line->EndUpdate();
    }
    big->Repaint();
    return big;
  }
  TLumFuncEditor* OpenFunctionPage() {
    auto* page = new TLumFuncEditor(&host);
    page->SetParent(&host);
    page->SetBounds(650, 0, 380, 280);
    page->SetTag(std::intptr_t(target));
    page->Show();
    return page;
  }
  TForm host{nullptr};
  TChart* chart = nullptr;
  TChartSeries* source = nullptr;
  TChartSeries* target = nullptr;
  TChart* big = nullptr;
  static constexpr int kBigSeries = 50;
};

void FunctionPageOpen(TBench& B) {
  const double ms = MedianMicroseconds(5, [&] {
                      std::unique_ptr<TLumFuncEditor> page(B.OpenFunctionPage());
                      page->Repaint();
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", "function page open to its first paint", ms);
}

void FunctionApply(TBench& B) {
  std::unique_ptr<TLumFuncEditor> page(B.OpenFunctionPage());
  const double apply = MedianMicroseconds(5, [&] {
                         page->BApply->SetEnabled(true);
                         page->BApply->Click();
                       }) /
                       1000.0;
  const double alone = MedianMicroseconds(5, [&] { B.target->RefreshSeries(); }) / 1000.0;
  std::printf("%-58s %10.2f ms\n", "Apply: a moving average of 10 over 1 M points", apply);
  std::printf("%-58s %10.2f ms\n", "  the series' recalculation alone", alone);
  std::printf("%-58s %10.2f x\n", "  Apply / recalculation", alone > 0 ? apply / alone : 0.0);
}

void FunctionClassChange(TBench& B) {
  std::unique_ptr<TLumFuncEditor> page(B.OpenFunctionPage());
  const int average = page->CBSources->Items()->IndexOf("Moving Average");
  const int high = page->CBSources->Items()->IndexOf("High");
  bool flip = false;
  const double ms = MedianMicroseconds(6, [&] {
                      page->CBSources->SetItemIndex((flip = !flip) ? high : average);
                      page->CBSourcesChange(page->CBSources);
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", "function class change (function and options page made)", ms);
}

// A point series of a million points in no order of Y, made once on the bench's chart.
TChartSeries* MillionPoints(TBench& B) {
  static TChartSeries* points = nullptr;
  if (points) return points;
  points = new TPointSeries(&B.host);
  points->SetName("Points");
  points->SetParentChart(B.chart);
  points->BeginUpdate();
  std::uint32_t h = 12345;
  for (int i = 0; i < kPoints; ++i) {
    h = h * 1664525u + 1013904223u;
    points->AddXY(i, double(h >> 8) / 65536.0);
  }
  points->EndUpdate();
  return points;
}

// Every control of the page painted now (a paint is otherwise deferred to the loop).
void PaintAll(TControl* Control) {
  Control->Repaint();
  if (auto* w = dynamic_cast<TWinControl*>(Control))
    for (int i = 0; i < w->ControlCount(); ++i)
      if (w->Controls(i)->Visible()) PaintAll(w->Controls(i));
}

TFormLumSeries* OpenSeriesPage(TBench& B) {
  auto* page = new TFormLumSeries(&B.host);
  page->SetParent(&B.host);
  page->SetBounds(650, 0, 390, 363);
  page->Show();
  page->SelectSeries(MillionPoints(B));
  return page;
}

void SeriesPageOpen(TBench& B) {
  MillionPoints(B);
  const double ms = MedianMicroseconds(5, [&] {
                      std::unique_ptr<TFormLumSeries> page(OpenSeriesPage(B));
                      PaintAll(page.get());
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", "series page open to its first paint", ms);
}

void ManualGridPaint(TBench& B) {
  const double ms = MedianMicroseconds(5, [&] {
                      std::unique_ptr<TFormLumSeries> page(OpenSeriesPage(B));
                      page->PageSeries->SetActivePage(page->TabDataSource);
                      page->PageSeriesChange(page->PageSeries);
                      page->ChartGrid1->Repaint();
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", "the Manual grid (Data Source tab) to its first paint", ms);
}

// Each run starts from the same unsorted points; only the change (or the sort) is timed.
void SortByChange(TBench& B) {
  TChartSeries* s = MillionPoints(B);
  const std::vector<double> ys = s->YValues()->Values();
  std::unique_ptr<TFormLumSeries> page(OpenSeriesPage(B));
  page->PageSeries->SetActivePage(page->TabGeneral);
  page->PageSeriesChange(page->PageSeries);
  auto reset = [&] {
    for (int i = 0; i < kPoints; ++i) {
      s->XValues()->SetValue(i, i);
      s->YValues()->SetValue(i, ys[size_t(i)]);
    }
    for (TChartValueList* l : s->ValuesList()) l->SetOrder(loNone);
    page->CBSortBy->SetItemIndex(0);
  };
  std::vector<std::int64_t> page_us, plain_us;
  for (int run = 0; run < 6; ++run) {
    reset();
    page->CBSortOrder->SetItemIndex(1);
    page->CBSortBy->SetItemIndex(page->CBSortBy->Items()->IndexOf("Y"));
    std::int64_t t = GetMicroseconds();
    page->CBSortChange(page->CBSortBy);
    page_us.push_back(GetMicroseconds() - t);

    struct TRow {
      double X, Y;
    };
    std::vector<TRow> rows(static_cast<size_t>(kPoints));
    for (int i = 0; i < kPoints; ++i) rows[size_t(i)] = {double(i), ys[size_t(i)]};
    t = GetMicroseconds();
    std::stable_sort(rows.begin(), rows.end(), [](const TRow& a, const TRow& b) { return b.Y < a.Y; });
    plain_us.push_back(GetMicroseconds() - t);
  }
  std::sort(page_us.begin(), page_us.end());
  std::sort(plain_us.begin(), plain_us.end());
  const double change = page_us[page_us.size() / 2] / 1000.0, plain = plain_us[plain_us.size() / 2] / 1000.0;
  std::printf("%-58s %10.2f ms\n", "sort-by change: 1 M points by Y, descending", change);
  std::printf("%-58s %10.2f ms\n", "  std::stable_sort of the same rows (X, Y)", plain);
  std::printf("%-58s %10.2f x\n", "  sort-by change / std::stable_sort", plain > 0 ? change / plain : 0.0);
}

// A chart-level page on the big chart, embedded beside it and shown, to its first paint.
template <class Make>
void PageFirstShow(TBench& B, const char* Label, Make MakePage) {
  TChart* chart = B.BigChart();
  const double ms = MedianMicroseconds(5, [&] {
                      std::unique_ptr<TForm> page(MakePage(chart));
                      page->SetAlign(alNone);
                      page->SetParent(&B.host);
                      page->SetBounds(650, 0, 470, 290);
                      page->Show();
                      page->Repaint();
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", Label, ms);
}

void AxisPageShow(TBench& B) {
  PageFirstShow(B, "axis page first show (50 series, 1 M points)",
                [&](TChart* C) { return new TFormLumAxis(&B.host, C->LeftAxis()); });
}

void LegendPageShow(TBench& B) {
  PageFirstShow(B, "legend page first show", [&](TChart* C) { return new TFormLumLegend(&B.host, C->Legend()); });
}

void PanelPageShow(TBench& B) {
  PageFirstShow(B, "panel page first show", [&](TChart* C) { return new TFormLumPanel(&B.host, C); });
}

void TitlesPageShow(TBench& B) {
  PageFirstShow(B, "titles page first show", [&](TChart* C) { return new TFormLumTitle(&B.host, C->Title(), C); });
}

void WallsPageShow(TBench& B) {
  PageFirstShow(B, "walls page first show", [&](TChart* C) { return new TFormLumWall(&B.host, C->BackWall()); });
}

// "Automatic" on the left axis turned off, then the timed turn on: the range is
// found again over the million points.
void AxisAutomaticOn(TBench& B) {
  TChart* chart = B.BigChart();
  std::unique_ptr<TFormLumAxis> page(new TFormLumAxis(&B.host, chart->LeftAxis()));
  page->SetAlign(alNone);
  page->SetParent(&B.host);
  page->SetBounds(650, 0, 470, 290);
  page->Show();
  std::vector<std::int64_t> t;
  for (int run = 0; run < 6; ++run) {
    page->CBAutomatic->SetChecked(false);
    chart->LeftAxis()->SetMinMax(-1, 1);
    const std::int64_t start = GetMicroseconds();
    page->CBAutomatic->SetChecked(true);
    if (run > 0) t.push_back(GetMicroseconds() - start);  // the first warms up
  }
  std::sort(t.begin(), t.end());
  const double ms = double(t[t.size() / 2]) / 1000.0;
  std::printf("%-58s %10.3f ms\n", "axis page: \"Automatic\" turned on (range over 1 M points)", ms);
  std::printf("%-58s %10.3f .. %.3f\n", "  the range found", chart->LeftAxis()->Minimum(), chart->LeftAxis()->Maximum());
}

// A chart-level page made for the chart and shown beside it, to its first paint;
// Tab, when given, visited then (built on that first visit).
template <class P>
double FirstShow(TBench& B, int Tab = -1) {
  return MedianMicroseconds(5, [&] {
           std::unique_ptr<P> page(new P(&B.host, B.chart));
           page->SetAlign(alNone);
           page->SetParent(&B.host);
           page->SetBounds(650, 0, page->ClientWidth(), page->ClientHeight());
           page->Show();
           if (Tab >= 0) {
             page->PageControl1->SetActivePageIndex(Tab);
             page->PageControl1Change(page->PageControl1);
           }
           page->Repaint();
         }) /
         1000.0;
}

void GeneralFirstShow(TBench& B) {
  std::printf("%-58s %10.2f ms\n", "general page first show to its first paint", FirstShow<TFormLumGeneral>(B));
  std::printf("%-58s %10.2f ms\n", "  with the fonts tab (every font found, the title's loaded)",
              FirstShow<TFormLumGeneral>(B, 3));
}

void PagingFirstShow(TBench& B) {
  const double ms = MedianMicroseconds(5, [&] {
                      std::unique_ptr<TFormLumPage> page(new TFormLumPage(&B.host, B.chart));
                      page->SetAlign(alNone);
                      page->SetParent(&B.host);
                      page->SetBounds(650, 0, page->ClientWidth(), page->ClientHeight());
                      page->Show();
                      page->Repaint();
                    }) /
                    1000.0;
  std::printf("%-58s %10.2f ms\n", "paging page first show to its first paint", ms);
}

void View3DFirstShow(TBench& B) {
  std::printf("%-58s %10.2f ms\n", "3D page first show to its first paint", FirstShow<TFormLum3D>(B));
  std::printf("%-58s %10.2f ms\n", "  with the views tab (six view charts made)", FirstShow<TFormLum3D>(B, 1));
}

// ---- The editor window --------------------------------------------------------------
// The editor on the big chart, shown beside it (tabs unless Tree), not yet painted.
TChartEditForm* NewEditor(TBench& B, bool Tree) {
  auto* e = new TChartEditForm(&B.host);
  e->Tree->SetVisible(Tree);
  e->SetChart(B.BigChart());
  e->Show();
  return e;
}

void EditorFirstPaint(TBench& B) {
  TChart* chart = B.BigChart();
  std::vector<std::int64_t> editor, render;
  for (int run = 0; run < 6; ++run) {
    std::int64_t t = GetMicroseconds();
    TChartEditForm* e = NewEditor(B, true);
    PaintAll(e);
    const std::int64_t made = GetMicroseconds() - t;
    delete e;
    t = GetMicroseconds();
    std::unique_ptr<TBitmap> picture(chart->CreateBitmap(clWhite, Rect(0, 0, chart->Width(), chart->Height())));
    const std::int64_t drawn = GetMicroseconds() - t;
    if (run == 0) continue;  // warms up
    editor.push_back(made);
    render.push_back(drawn);
  }
  std::sort(editor.begin(), editor.end());
  std::sort(render.begin(), render.end());
  const double e = editor[editor.size() / 2] / 1000.0, r = render[render.size() / 2] / 1000.0;
  std::printf("%-58s %10.2f ms\n", "editor made, shown (tree built) and painted", e);
  std::printf("%-58s %10.2f ms\n", "  one CreateBitmap render of the chart", r);
  std::printf("%-58s %10.2f x\n", "  editor / render", r > 0 ? e / r : 0.0);
}

struct TEditorPage {
  const char* Name;
  int Page;
};
const TEditorPage EditorPages[] = {
    {"series list", epSeriesList}, {"general", epGeneral}, {"axis", epAxis},       {"titles", epTitles},
    {"legend", epLegend},          {"panel", epPanel},     {"paging", epPaging},   {"walls", epWalls},
    {"3D", ep3D},                  {"series", epSeries},   {"data", epData},       {"tools", epTools},
    {"export", epExport},          {"print", epPrint},
};

void EditorPageVisits(TBench& B) {
  for (const TEditorPage& p : EditorPages) {
    std::vector<std::int64_t> t;
    for (int run = 0; run < 4; ++run) {
      std::unique_ptr<TChartEditForm> e(NewEditor(B, false));
      PaintAll(e.get());
      const std::int64_t start = GetMicroseconds();
      e->ShowPage(p.Page);
      PaintAll(e.get());
      if (run > 0) t.push_back(GetMicroseconds() - start);
    }
    std::sort(t.begin(), t.end());
    std::printf("  first visit: %-45s %10.2f ms\n", p.Name, t[t.size() / 2] / 1000.0);
  }
}

// The show steps run again on a shown editor, with and without the tree: the
// difference is the tree's build.
void EditorTreeBuild(TBench& B) {
  double ms[2] = {0, 0};
  for (bool tree : {false, true}) {
    std::unique_ptr<TChartEditForm> e(NewEditor(B, tree));
    ms[tree] = MedianMicroseconds(5, [&] { e->FormShow(e.get()); }) / 1000.0;
  }
  std::printf("%-58s %10.3f ms\n", "show steps without the tree", ms[0]);
  std::printf("%-58s %10.3f ms\n", "show steps with the tree (50 series nodes)", ms[1]);
  std::printf("%-58s %10.3f ms\n", "  the tree's build", ms[1] - ms[0]);
}

void EditorDataPaint(TBench& B) {
  std::vector<std::int64_t> t;
  for (int run = 0; run < 5; ++run) {
    std::unique_ptr<TChartEditForm> e(NewEditor(B, false));
    PaintAll(e.get());
    const std::int64_t start = GetMicroseconds();
    e->ShowPage(epData);
    e->ChartGrid1->Repaint();
    if (run > 0) t.push_back(GetMicroseconds() - start);
  }
  std::sort(t.begin(), t.end());
  std::printf("%-58s %10.2f ms\n", "Data page (grid of 1 M points) to its first paint", t[t.size() / 2] / 1000.0);
}

void EditorMemory(TBench& B) {
  B.BigChart();
  const double before = ResidentMiB();
  std::unique_ptr<TChartEditForm> e(NewEditor(B, true));
  PaintAll(e.get());
  const double shown = ResidentMiB();
  for (const TEditorPage& p : EditorPages) {
    e->ShowPage(p.Page);
    PaintAll(e.get());
  }
  const double visited = ResidentMiB();
  std::printf("%-58s %10.1f MiB\n", "resident: the big chart alone", before);
  std::printf("%-58s %10.1f MiB\n", "  the editor shown", shown);
  std::printf("%-58s %10.1f MiB\n", "  every page visited", visited);
}

// Seconds /usr/bin/python3 takes to write Rows (read back from our text, as numbers)
// with csv.writer into memory, and the bytes written; {-1, 0} without python3.
std::pair<double, double> PythonCsvWrite(const std::string& File) {
  const std::string script = File + ".py";
  std::ofstream(script) << "import csv, io, sys, time\n"
                           "rows = [r for r in csv.reader(open(sys.argv[1], newline=''), delimiter='\\t') if r]\n"
                           "head, body = rows[0], [[float(c) if c else '' for c in r] for r in rows[1:]]\n"
                           "best = None\n"
                           "for _ in range(3):\n"
                           "    out = io.StringIO()\n"
                           "    t = time.perf_counter()\n"
                           "    w = csv.writer(out, delimiter='\\t')\n"
                           "    w.writerow(head)\n"
                           "    w.writerows(body)\n"
                           "    s = time.perf_counter() - t\n"
                           "    best = s if best is None else min(best, s)\n"
                           "print(best, len(out.getvalue().encode()))\n";
  FILE* p = popen(("/usr/bin/python3 '" + script + "' '" + File + "' 2>/dev/null").c_str(), "r");
  if (!p) return {-1, 0};
  double seconds = -1, bytes = 0;
  if (std::fscanf(p, "%lf %lf", &seconds, &bytes) != 2) seconds = -1;
  pclose(p);
  return {seconds, bytes};
}

void EditorCopy(TBench& B) {
  std::unique_ptr<TChartEditForm> e(NewEditor(B, false));
  e->ShowPage(epData);
  const double ms = MedianMicroseconds(3, [&] { e->SBCopyData->Click(); }) / 1000.0;
  const std::string text = Clipboard()->AsText();
  const double mbps = ms > 0 ? double(text.size()) / 1e6 / (ms / 1000.0) : 0.0;
  std::printf("%-58s %10.2f ms\n", "\"Copy\": 1 M points (50 series) to the clipboard", ms);
  std::printf("%-58s %10.1f MB/s (%.1f MB)\n", "  rate", mbps, double(text.size()) / 1e6);
  const std::string file = "/tmp/editor_bench_copy.txt";
  std::ofstream(file, std::ios::binary) << text;
  const auto [seconds, bytes] = PythonCsvWrite(file);
  if (seconds <= 0) {
    std::printf("  python3's csv writer: not measured\n");
    return;
  }
  const double peer = bytes / 1e6 / seconds;
  std::printf("%-58s %10.1f MB/s (%.1f MB)\n", "  python3 csv.writer on the same values", peer, bytes / 1e6);
  std::printf("%-58s %10.2f x\n", "  Copy rate / csv.writer rate", peer > 0 ? mbps / peer : 0.0);
  std::remove(file.c_str());
  std::remove((file + ".py").c_str());
}

struct TFigure {
  const char* Page;
  void (*Measure)(TBench& B);
};

const TFigure Figures[] = {
    {"Function", FunctionPageOpen},
    {"Function", FunctionApply},
    {"Function", FunctionClassChange},
    {"Series", SeriesPageOpen},
    {"Series", ManualGridPaint},
    {"Series", SortByChange},
    {"Chart", AxisPageShow},
    {"Chart", LegendPageShow},
    {"Chart", PanelPageShow},
    {"Chart", TitlesPageShow},
    {"Chart", WallsPageShow},
    {"Chart", AxisAutomaticOn},
    {"General", GeneralFirstShow},
    {"Paging", PagingFirstShow},
    {"3D", View3DFirstShow},
    {"Editor window (50 series, 1 M points)", EditorFirstPaint},
    {"Editor window (50 series, 1 M points)", EditorPageVisits},
    {"Editor window (50 series, 1 M points)", EditorTreeBuild},
    {"Editor window (50 series, 1 M points)", EditorDataPaint},
    {"Editor window (50 series, 1 M points)", EditorMemory},
    {"Editor window (50 series, 1 M points)", EditorCopy},
};

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The editor starts from its default settings and leaves the user's alone.
  char dir[] = "/tmp/editor_bench-XXXXXX";
  if (mkdtemp(dir)) SetRegistryRoot(dir);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone},
                    {"Forms", FormsUnitInit, FormsUnitDone},
                    {"LumConst", LumConstUnitInit, LumConstUnitDone},
                    {"LumCanvas", LumCanvasUnitInit, LumCanvasUnitDone},
                    {"LumEngine", LumEngineUnitInit, LumEngineUnitDone},
                    {"Chart", ChartUnitInit, ChartUnitDone},
                    {"LumGally", LumGallyUnitInit, LumGallyUnitDone},
                    {"LumConst2", LumConst2UnitInit, LumConst2UnitDone},
                    {"BasicFunctions", BasicFunctionsUnitInit, BasicFunctionsUnitDone},
                    {"CLVFunction", CLVFunctionUnitInit, CLVFunctionUnitDone},
                    {"Candle", CandleUnitInit, CandleUnitDone},
                    {"Statistics", StatisticsUnitInit, StatisticsUnitDone},
                    {"LumTools", LumToolsUnitInit, LumToolsUnitDone},
                    {"LumStore", LumStoreUnitInit, LumStoreUnitDone},
                    {"LumEditor", LumEditorUnitInit, LumEditorUnitDone}});
  units.Initialize();
  {
    TBench bench;
    std::printf("chart editor pages, a series of %d points (median of runs)\n", kPoints);
    std::string page;
    for (const TFigure& f : Figures) {
      if (page != f.Page) {
        page = f.Page;
        std::printf("\n%s%s\n", page.c_str(), page.find(' ') == std::string::npos ? " page" : "");
      }
      f.Measure(bench);
    }
  }
  units.Finalize();
  return 0;
}
