// What the chart-level pages of the chart editor (axis, legend, panel, titles,
// walls) share: each edits an object that lives inside a chart, so each watches
// that chart and, when it is freed, lets go of everything that reaches into it.
#pragma once
#include "platform/forms.h"

class TCustomAxisPanel;

class TChartObjectPage : public TForm {
  DECLARE_CLASS(TChartObjectPage, TForm)
public:
  // The chart the edited object belongs to; nullptr once it was freed.
  TCustomAxisPanel* WatchedChart() const { return chart_; }

protected:
  // Named Name from the start (pages of one owner need names of their own), without
  // border, filling its parent.
  TChartObjectPage(TComponent* AOwner, const char* Name, int ClientWidth, int ClientHeight);
  ~TChartObjectPage() override;
  // Watches Chart from now on (nullptr: none).
  void WatchChart(TCustomAxisPanel* Chart);
  // The chart went: the page forgets its object and frees the editors it embedded.
  // The base has already unlinked every sample button the page owns.
  virtual void ChartFreed() = 0;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TCustomAxisPanel* chart_ = nullptr;
};
