#include <algorithm>
#include <cstdlib>

#include "analysis/candle.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
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
  TChartSeries::DrawAllValues();
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
