#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "analysis/candle.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/paintpath.h"
#include "engine/panel.h"
#include "platform/rtl.h"
#include "samples.h"

IMPLEMENT_CLASS_PROPS(TVolumeSeries, TCustomSeries)

TVolumeSeries::TVolumeSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  Pointer()->SetVisible(false);
  RecordDefaults(Pointer());
}

int TVolumeSeries::OriginPos() const {
  TChartAxis* axis = GetVertAxis();
  if (!axis) return 0;
  if (useYOrigin_) return CalcYPosValue(yOrigin_);
  return axis->Inverted() ? axis->IStartPos() : axis->IEndPos();
}

void TVolumeSeries::SetSeriesColor(TColor Value) {
  TCustomSeries::SetSeriesColor(Value);
  LinePen()->SetColor(Value);
}

void TVolumeSeries::DrawAllValues() {
  lastColor_ = clNone;
  TCanvas3D* c = ParentCanvas();
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (!c || first < 0) return;
  if (!HasColors() && !ColorEachPoint() && c->SeparableProjection()) {
    c->ApplyPenColor(LinePen(), SeriesColor());
    if (ReducesColumns(c)) return DrawColumns(c);
  }
  // One line per point, the positions converted a chunk at a time.
  const bool forward = DrawValuesForward();
  const int origin = OriginPos(), z = MiddleZ();
  constexpr int Chunk = 1024;
  int xs[Chunk], ys[Chunk];
  for (int done = 0; done <= last - first; done += Chunk) {
    const int n = std::min(Chunk, last - first + 1 - done);
    const int from = forward ? first + done : last - done - n + 1;
    CalcPositions(from, n, xs, ys);
    for (int k = 0; k < n; ++k) {
      const int j = forward ? k : n - 1 - k, i = from + j;
      if (IsNull(i)) continue;
      const TColor color = GetValueColor(i);
      // Most points share a colour: the pen is set again only when it changes.
      if (i == DrawStartIndex() || color != lastColor_) {
        c->ApplyPenColor(LinePen(), color);
        lastColor_ = color;
      }
      c->VertLine3D(xs[j], ys[j], origin, z);
    }
  }
}

void TVolumeSeries::DrawColumns(TCanvas3D* C) {
  // A line from a value to the origin sets the pixels from the value up to the one
  // before the origin; the lines of a column on one side of the origin together set
  // those of the farthest one.
  const TRect area = TColumnCover::VisibleArea(C);
  const int width = std::max(0, area.Right - area.Left);
  if (width == 0) return;
  const int z = MiddleZ();
  const TCanvas3D::TAxisProjection px = C->ProjectionX(z), py = C->ProjectionY(z);
  std::vector<int> low(size_t(width), std::numeric_limits<int>::max()), high(size_t(width), std::numeric_limits<int>::min());
  const auto take = [&](int X, int Y0, int Y1) {  // plot pixels
    const unsigned column = unsigned(px(X) - area.Left);
    if (column >= unsigned(width)) return;  // no pixel of its lines shows
    const int a = py(Y0), b = py(Y1);
    low[column] = std::min({low[column], a, b});
    high[column] = std::max({high[column], a, b});
  };
  constexpr int Chunk = 1024;
  int xs[Chunk], ys[Chunk];
  const auto onePerPoint = [&](int From, int To) {  // To excluded
    for (int from = From; from < To; from += Chunk) {
      const int n = std::min(Chunk, To - from);
      CalcPositions(from, n, xs, ys);
      for (int j = 0; j < n; ++j) take(xs[j], ys[j], ys[j]);
    }
  };
  const int first = FirstValueIndex(), last = LastValueIndex();
  TChartAxis* horiz = GetHorizAxis();
  if (XValues()->Order() == loAscending && last - first >= 4 * std::abs(horiz->IAxisSize())) {
    // Many points to a column in ascending X: each column is found by searching X and
    // only its extreme values are converted; a column out of order or holding NaN
    // goes point by point.
    const double* x = XValues()->Values().data();
    const double* y = YValues()->Values().data();
    const TChartAxis::TPixelMap toX = horiz->PixelMap(), toY = GetVertAxis()->PixelMap();
    for (int i = first, lastWidth = 0; i <= last;) {
      const int column = toX(x[i]), end = ColumnEnd(x, i, last, column, toX, lastWidth);
      lastWidth = end - i;
      double a, b;
      if (ScanColumn(x, y, i, end, a, b)) take(column, toY(a), toY(b));
      else onePerPoint(i, end);
      i = end;
    }
  } else {
    onePerPoint(first, last + 1);
  }
  const int origin = py(OriginPos());
  for (int k = 0; k < width; ++k) {
    if (low[size_t(k)] > high[size_t(k)]) continue;
    const int x = area.Left + k;
    if (low[size_t(k)] < origin) C->Line(x, low[size_t(k)], x, origin);
    if (high[size_t(k)] > origin) C->Line(x, high[size_t(k)], x, origin);
  }
}

void TVolumeSeries::DrawValue(int ValueIndex) {
  TCanvas3D* c = ParentCanvas();
  if (!c || IsNull(ValueIndex)) return;
  const TColor color = GetValueColor(ValueIndex);
  // Most points share a colour: the pen is set again only when it changes.
  if (ValueIndex == DrawStartIndex() || color != lastColor_) {
    c->ApplyPenColor(LinePen(), color);
    lastColor_ = color;
  }
  c->VertLine3D(CalcXPos(ValueIndex), CalcYPos(ValueIndex), OriginPos(), MiddleZ());
}

int TVolumeSeries::Clicked(int X, int Y) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || !ParentChart()) return -1;
  const int origin = OriginPos(), reach = std::max(0, LinePen()->Width() - 1);
  for (int i = first; i <= last; ++i) {
    if (IsNull(i)) continue;
    const int x = CalcXPos(i), y = CalcYPos(i);
    if (std::abs(X - x) <= reach && Y >= std::min(y, origin) && Y <= std::max(y, origin)) return i;
  }
  return -1;
}

void TVolumeSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TCustomSeries::CalcHorizMargins(LeftMargin, RightMargin);
  LeftMargin += LinePen()->Width();
  RightMargin += LinePen()->Width();
}

bool TVolumeSeries::DrawLegendShape(TCanvas3D* ACanvas, int ValueIndex, const TRect& R) {
  ACanvas->ApplyPenColor(LinePen(), ValueIndex >= 0 && ValueIndex < Count() ? GetValueColor(ValueIndex)
                                                                              : SeriesColor());
  ACanvas->HorizLine(R.Left, R.Right, (R.Top + R.Bottom) / 2);
  return true;
}

void TVolumeSeries::AddSampleValues(int NumValues) {
  analysis_detail::FillSamples(this, NumValues, [this](int N, double X, double StepX, double, double DifY) {
    const int limit = int(std::max<long long>(0, Round(DifY))) / 15;
    for (int i = 0; i < N; ++i, X += StepX) AddXY(X, RandomValue(limit));
  });
}

void TVolumeSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);  // "Normal", not the point styles
  if (!AddSubChart) return;
  AddSubChart(LumMsg_SubDotted);
  AddSubChart(LumMsg_Colors);
  AddSubChart(LumMsg_SubOrigin);
}

void TVolumeSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* s = dynamic_cast<TVolumeSeries*>(ASeries);
  if (!s) return;
  switch (Index) {
    case 1: s->LinePen()->SetSmallDots(true); break;
    case 2: s->SetColorEachPoint(true); break;
    case 3: s->SetUseYOrigin(true); break;
    default: break;
  }
}

void TVolumeSeries::PrepareForGallery(bool IsEnabled) {
  TCustomSeries::PrepareForGallery(IsEnabled);
  AddSampleValues(26);
  Pointer()->SetInflateMargins(true);
}

void TVolumeSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TVolumeSeries*>(Source)) {
    useYOrigin_ = src->useYOrigin_;
    yOrigin_ = src->yOrigin_;
  }
  TCustomSeries::Assign(Source);
}

void TVolumeSeries::DefineProperties(TPropertyTable& t) {
  t.Bool("UseYOrigin", &TVolumeSeries::UseYOrigin, &TVolumeSeries::SetUseYOrigin).Default(false);
  t.Object("VolumeValues", &TVolumeSeries::VolumeValues);
  t.Float("YOrigin", &TVolumeSeries::YOrigin, &TVolumeSeries::SetYOrigin).Default((long double)0);
}
