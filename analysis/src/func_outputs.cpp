#include "analysis/func_outputs.h"

#include "platform/typinfo.h"

#include <algorithm>

#include "engine/panel.h"

IMPLEMENT_CLASS(TFunctionOutputs, TComponent)

TFunctionOutputs::TFunctionOutputs(TLumFunction* Function) : TComponent(nullptr), function_(Function) {}

TFunctionOutputs::~TFunctionOutputs() {
  // Last made first, each leaving its chart as it goes.
  while (!series_.empty()) {
    TChartSeries* s = series_.back();
    series_.pop_back();
    if (s) {
      RemoveComponent(s);
      delete s;
    }
  }
}

void TFunctionOutputs::Adopt(TChartSeries* Output, TColor Color) {
  Output->SetShowInLegend(false);
  Output->SetShowInEditor(false);
  if (Color != clLumColor) Output->SetSeriesColor(Color);
  // The function publishes this pen: its colour here is where it starts.
  RecordDefaults(Output->Pen());
  series_.push_back(Output);
}

void TFunctionOutputs::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    for (TChartSeries*& s : series_)
      if (s == AComponent) s = nullptr;
}

void TFunctionOutputs::Prepare(TChartSeries* Output) const {
  TChartSeries* owner = function_ ? function_->ParentSeries() : nullptr;
  if (!Output || !owner) return;
  if (Output->ParentChart() != owner->ParentChart()) Output->SetParentChart(owner->ParentChart());
  if (Output->CustomHorizAxis() != owner->CustomHorizAxis()) Output->SetCustomHorizAxis(owner->CustomHorizAxis());
  if (Output->CustomVertAxis() != owner->CustomVertAxis()) Output->SetCustomVertAxis(owner->CustomVertAxis());
  Output->SetHorizAxis(owner->HorizAxis());
  Output->SetVertAxis(owner->VertAxis());
  Output->XValues()->SetDateTime(owner->XValues()->DateTime());
}

void TFunctionOutputs::Fill(TChartSeries* Output, std::span<const double> X, std::span<const double> Y) {
  if (!Output) return;
  const std::size_t n = std::min(X.size(), Y.size());
  Output->BeginUpdate();
  try {
    if (Output->Count() > 0) Output->Clear();
    if (Output->MandatoryValueList() == Output->YValues()) Output->AppendXY(X.data(), Y.data(), n);
    else Output->AppendXY(Y.data(), X.data(), n);
  } catch (...) {
    Output->EndUpdate();
    throw;
  }
  Output->EndUpdate();
}

void TFunctionOutputs::ClearAll() {
  for (TChartSeries* s : series_)
    if (s && s->Count() > 0) s->Clear();
}
