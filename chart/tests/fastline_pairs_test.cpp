// Dense lines whose columns are found by searching X convert each column's lowest,
// highest, entry and exit values two at a time: the pictures against the plain
// drawing of every segment, in every shared view, for the fast line and the line.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "chart_test_util.h"

namespace {

class ColumnPairsTest : public charttest::ChartTest {};

TEST_F(ColumnPairsTest, DenseLinesOfColumnsFoundBySearchGiveThePlainPicture) {
  // Seeded random walks, values far outside the axis (some beyond the double
  // computation's reach), values on the halves between pixels, and NaN late in the
  // line; the fast line and a one-colour line, in every shared view.
  const int n = 24000;
  std::mt19937 rng(41);
  std::normal_distribution<double> step(0, 0.35);
  std::vector<double> x(n), walk(n), far(n), halves(n), lateNaN(n);
  double y = 100;  // the walk stays above zero, for the logarithmic views
  for (int i = 0; i < n; ++i) {
    x[i] = 10.0 * i / n;
    y += step(rng);
    walk[i] = y;
    far[i] = i % 97 == 0 ? 3e12 : i % 89 == 0 ? -1e300 : i % 83 == 0 ? 2e6 : 5 + 4 * std::sin(i * 0.002);
    halves[i] = 0.05 * std::floor(walk[i] * 20) + 0.025;  // many equal values, between pixels at some scales
    lateNaN[i] = i > 2 * n / 3 && i % 401 == 0 ? std::nan("") : walk[i];
  }
  struct TData {
    const char* Name;
    const std::vector<double>* Y;
  };
  const TData data[] = {{"random walk", &walk}, {"far values", &far}, {"on halves", &halves}, {"late NaN", &lateNaN}};
  for (bool fast : {true, false}) {
    TChartSeries* s = fast ? static_cast<TChartSeries*>(Add<TFastLineSeries>()) : Add<TLineSeries>();
    s->SetSeriesColor(clBlue);
    if (!fast) static_cast<TLineSeries*>(s)->Pointer()->SetVisible(false);
    for (const TData& d : data)
      for (const charttest::TPathView& v : charttest::PathViews) {
        SCOPED_TRACE(testing::Message() << (fast ? "fast line" : "line") << ", " << d.Name << ", " << v.Name);
        s->Clear();
        s->BeginUpdate();
        for (int i = 0; i < n; ++i) s->AddXY(x[i], (*d.Y)[i]);
        s->EndUpdate();
        // The range of the near values: the far ones lie outside it.
        double low = 1e9, high = -1e9;
        for (double value : *d.Y)
          if (std::fabs(value) < 1e5) low = std::min(low, value), high = std::max(high, value);
        ShowPathView(v, 0, 10, low, high);
        EXPECT_GT(ExpectPlainPicture(), 100);
      }
    delete s;
  }
}

}  // namespace
