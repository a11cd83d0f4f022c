#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/stdseries.h"

IMPLEMENT_CLASS_PROPS(TSmoothingFunction, TLumFunction)

TSmoothingFunction::TSmoothingFunction(TComponent* AOwner) : TLumFunction(AOwner) { SetSingleSource(true); }

void TSmoothingFunction::SetFactor(int Value) {
  if (Value < 1) Value = 1;
  StoreAndRecalculate(factor_, Value);
}

void TSmoothingFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* source = Sources.empty() ? nullptr : Sources.front();
  if (!source || !ParentSeries()) return;
  const TChartValueList* xl = source->NotMandatoryValueList();
  const TChartValueList* yl = GetValueListForSeries(source);
  // The spline runs through the non-null points in X order.
  std::vector<std::pair<double, double>> pts;
  for (int i = 0; i < source->Count(); ++i) {
    if (source->IsNull(i)) continue;
    const double x = xl->GetValue(i), y = yl->GetValue(i);
    if (std::isfinite(x) && std::isfinite(y)) pts.push_back({x, y});
  }
  std::stable_sort(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  // Points at one X would divide by zero: the first of them stands.
  pts.erase(std::unique(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            pts.end());
  const size_t n = pts.size();
  if (n < 3) {
    for (const auto& [x, y] : pts) AddFunctionXY(x, y);
    return;
  }
  // Natural cubic spline: second derivatives M with M[0] = M[n-1] = 0, by the
  // tridiagonal sweep.
  std::vector<double> h(n - 1), m(n, 0.0), c(n, 0.0), d(n, 0.0);
  for (size_t i = 0; i + 1 < n; ++i) h[i] = pts[i + 1].first - pts[i].first;
  for (size_t i = 1; i + 1 < n; ++i) {
    const double diag = 2 * (h[i - 1] + h[i]);
    const double rhs = 6 * ((pts[i + 1].second - pts[i].second) / h[i] - (pts[i].second - pts[i - 1].second) / h[i - 1]);
    const double denom = diag - h[i - 1] * c[i - 1];
    c[i] = h[i] / denom;
    d[i] = (rhs - h[i - 1] * d[i - 1]) / denom;
  }
  for (size_t i = n - 2; i >= 1; --i) m[i] = d[i] - c[i] * m[i + 1];
  for (size_t i = 0; i + 1 < n; ++i) {
    const double x0 = pts[i].first, y0 = pts[i].second, y1 = pts[i + 1].second;
    for (int k = 0; k < factor_; ++k) {
      const double t = double(k) / factor_ * h[i];
      const double a = h[i] - t;
      const double y = (m[i] * a * a * a + m[i + 1] * t * t * t) / (6 * h[i]) + (y0 / h[i] - m[i] * h[i] / 6) * a +
                       (y1 / h[i] - m[i + 1] * h[i] / 6) * t;
      AddFunctionXY(x0 + t, k == 0 ? y0 : y);
    }
  }
  AddFunctionXY(pts.back().first, pts.back().second);
}

void TSmoothingFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TSmoothingFunction*>(Source)) factor_ = src->factor_;
  TLumFunction::Assign(Source);
}

void TSmoothingFunction::DefineProperties(TPropertyTable& t) {
  t.Int("Factor", &TSmoothingFunction::Factor, &TSmoothingFunction::SetFactor).Default(4LL);
}

std::vector<TClass> chart_detail::MoreStandardClasses() {
  return {TAreaSeries::StaticClass(),      THorizLineSeries::StaticClass(), THorizAreaSeries::StaticClass(),
          THorizBarSeries::StaticClass(),  TPieSeries::StaticClass(),       TSmoothingFunction::StaticClass()};
}
