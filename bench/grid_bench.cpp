// The string grid scrolled through 100 000 rows x 6 columns beside a QTableView over
// the same strings, in the same run: each step moves the top row on and renders the
// control into an image of its size. Prints the time per repaint of each and the ratio.
// Then the chart data grid over a line series of 1 000 000 points: the time to bind
// and lay it out, the resident memory before and after, and the mean and worst time
// to scroll one page and paint it, first page to last, beside a QTableView over a
// table model of the same values scrolled the same way.
// Usage: grid_bench [steps, default 2000] [chart grid pages, default all]
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/grids.h"
#include "platform/snapshot.h"
#include "platform/units.h"
#ifdef PHONARK_BENCH_CHARTGRID
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "gallery/chartgrid.h"
#endif

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 6;

// The same strings for both: "r,c" style numbers as a data grid shows them.
std::vector<std::string> MakeTexts() {
  std::vector<std::string> t;
  t.reserve(size_t(kRows) * kCols);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) t.push_back(c == 0 ? std::to_string(r) : std::to_string((r * 7919 + c * 104729) % 100000 / 100.0));
  return t;
}

class TextModel : public QAbstractTableModel {
public:
  explicit TextModel(const std::vector<std::string>& Texts) : texts_(Texts) {}
  int rowCount(const QModelIndex& = {}) const override { return kRows; }
  int columnCount(const QModelIndex& = {}) const override { return kCols; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(texts_[size_t(i.row()) * kCols + size_t(i.column())]);
  }

private:
  const std::vector<std::string>& texts_;
};

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

#ifdef PHONARK_BENCH_CHARTGRID
constexpr int kPoints = 1000000;

double Value(int i) { return std::sin(i * 0.001) * 100; }

long RssKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Index, label and value columns, as the chart grid shows a line series.
class ValueModel : public QAbstractTableModel {
public:
  int rowCount(const QModelIndex& = {}) const override { return kPoints; }
  int columnCount(const QModelIndex& = {}) const override { return 3; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (i.column() == 0) return QString::number(i.row());
    if (i.column() == 1) return QString();
    return QString::number(Value(i.row()), 'f', 3);
  }
};

struct TTimes {
  double Mean = 0, Worst = 0;
};

template <class F>
TTimes TimePages(int Pages, int PageRows, F&& ShowPageAt) {
  TTimes t;
  const int total = (kPoints + PageRows - 1) / PageRows;
  for (int i = 0; i < Pages; ++i) {
    // Every page in turn, or pages spread evenly over the rows when fewer are asked.
    const int page = Pages >= total ? i : int((long long)i * total / Pages);
    const double t0 = Now();
    ShowPageAt(std::min(page * PageRows, kPoints - PageRows));
    const double dt = Now() - t0;
    t.Mean += dt;
    t.Worst = std::max(t.Worst, dt);
  }
  t.Mean /= std::max(1, Pages);
  return t;
}

void ChartGridBench(int MaxPages) {
  LumConstUnitInit();
  LumConst2UnitInit();
  ChartUnitInit();
  const int w = 600, h = 400;
  auto* form = new TForm(Application);
  form->SetBounds(0, 0, w + 20, h + 20);
  auto* chart = new TChart(form);
  auto* line = new TLineSeries(form);
  line->SetParentChart(chart);
  line->BeginUpdate();
  for (int i = 0; i < kPoints; ++i) line->AddXY(i, Value(i));
  line->EndUpdate();
  form->Show();
  Application->ProcessMessages();

  const long before = RssKb();
  double t0 = Now();
  auto* grid = new TChartGrid(form);
  grid->SetBounds(0, 0, w, h);
  grid->SetParent(form);
  grid->SetSeries(line);
  const double bind = Now() - t0;
  const long after = RssKb();
  TBitmap bmp;
  RenderControl(grid, &bmp);
  const int pageRows = grid->VisibleRowCount();
  const int total = (kPoints + pageRows - 1) / pageRows;
  const int pages = MaxPages > 0 ? std::min(MaxPages, total) : total;
  const TTimes ours = TimePages(pages, pageRows, [&](int Top) {
    grid->SetTopRow(grid->FirstRow() + Top);
    RenderControl(grid, &bmp);
  });

  ValueModel model;
  auto* view = new QTableView;
  view->setModel(&model);
  view->resize(w, h);
  view->verticalHeader()->setDefaultSectionSize(16);
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->show();
  QApplication::processEvents();
  QImage img(w, h, QImage::Format_RGB32);
  view->render(&img);
  const TTimes peer = TimePages(pages, pageRows, [&](int Top) {
    view->verticalScrollBar()->setValue(Top);
    view->render(&img);
  });

  std::printf("chart grid, a line series of %d points, %dx%d, %d of %d pages of %d rows\n", kPoints, w, h, pages,
              total, pageRows);
  std::printf("  bind and lay out  %8.3f ms; resident %ld kB before, %ld kB after\n", bind * 1e3, before, after);
  std::printf("  TChartGrid   page mean %8.3f ms, worst %8.3f ms\n", ours.Mean * 1e3, ours.Worst * 1e3);
  std::printf("  QTableView   page mean %8.3f ms, worst %8.3f ms\n", peer.Mean * 1e3, peer.Worst * 1e3);
  std::printf("  ratio (chart grid / table view) mean %.2f, worst %.2f\n", ours.Mean / peer.Mean,
              ours.Worst / peer.Worst);
  delete view;
  delete form;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int steps = argc > 1 ? std::atoi(argv[1]) : 2000;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone}, {"Forms", FormsUnitInit, FormsUnitDone}});
  units.Initialize();
  const std::vector<std::string> texts = MakeTexts();
  const int w = 600, h = 400;

  auto* form = new TForm(Application);
  form->SetBounds(0, 0, w + 20, h + 20);
  auto* grid = new TStringGrid(form);
  grid->SetBounds(0, 0, w, h);
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows + 1);
  grid->SetDefaultRowHeight(20);
  grid->SetDefaultColWidth(90);
  grid->SetParent(form);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c, r + 1, texts[size_t(r) * kCols + size_t(c)]);
  form->Show();
  Application->ProcessMessages();

  TextModel model(texts);
  auto* viewOwner = new QTableView;  // goes before the application does
  QTableView& view = *viewOwner;
  view.setModel(&model);
  view.resize(w, h);
  view.verticalHeader()->setDefaultSectionSize(20);
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.horizontalHeader()->setDefaultSectionSize(90);
  view.show();
  QApplication::processEvents();

  TBitmap bmp;
  QImage img(w, h, QImage::Format_RGB32);
  const int stride = (kRows - 30) / std::max(1, steps);
  // Warm both up once (fonts, caches).
  RenderControl(grid, &bmp);
  view.render(&img);

  double t0 = Now();
  for (int i = 0; i < steps; ++i) {
    grid->SetTopRow(1 + i * stride);
    RenderControl(grid, &bmp);
  }
  const double ours = (Now() - t0) / steps;

  t0 = Now();
  for (int i = 0; i < steps; ++i) {
    view.verticalScrollBar()->setValue(i * stride);
    view.render(&img);
  }
  const double peer = (Now() - t0) / steps;

  std::printf("grid repaint, %d rows x %d columns, %dx%d, %d steps of %d rows\n", kRows, kCols, w, h, steps, stride);
  std::printf("  TStringGrid  %8.3f ms per repaint\n", ours * 1e3);
  std::printf("  QTableView   %8.3f ms per repaint\n", peer * 1e3);
  std::printf("  ratio (grid / table view) %.2f\n", ours / peer);
  delete viewOwner;
  delete form;
#ifdef PHONARK_BENCH_CHARTGRID
  ChartGridBench(argc > 2 ? std::atoi(argv[2]) : 0);
#endif
  units.Finalize();
  return 0;
}
