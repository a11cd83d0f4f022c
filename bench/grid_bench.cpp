// The string grid scrolled through 100 000 rows x 6 columns beside a QTableView over
// the same strings, in the same run: each step moves the top row on and renders the
// control into an image of its size. Prints the time per repaint of each and the ratio.
// Usage: grid_bench [steps, default 2000]
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/grids.h"
#include "platform/snapshot.h"
#include "platform/units.h"

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
  units.Finalize();
  return 0;
}
