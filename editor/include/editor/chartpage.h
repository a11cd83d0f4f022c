// What the chart-level pages of the chart editor (axis, legend, panel, titles,
// walls) share: each edits a chart or an object that lives inside one, so each
// watches that chart (or panel) and, when it is freed, lets go of everything that
// reaches into it.
#pragma once
#include "engine/listeners.h"
#include "platform/forms.h"

class TCustomAxisPanel;

// It also listens to that chart: a page showing parts of a custom axis lets go of them
// when the axis is freed (LumEvent).
class TChartObjectPage : public TForm, public ILumEventListener {
  DECLARE_CLASS(TChartObjectPage, TForm)
public:
  // The panel (a chart, mostly) the edited object belongs to; nullptr once freed.
  TComponent* Watched() const { return watched_; }
  TCustomAxisPanel* WatchedChart() const;

protected:
  // Named Name from the start (pages of one owner need names of their own), without
  // border, filling its parent.
  TChartObjectPage(TComponent* AOwner, const char* Name, int ClientWidth, int ClientHeight);
  ~TChartObjectPage() override;
  // Watches Panel from now on (nullptr: none).
  void WatchChart(TComponent* Panel);
  // The chart went: the page forgets its object and frees the editors it embedded.
  // The base has already unlinked every sample button the page owns.
  virtual void ChartFreed() = 0;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The chart's events; the base listens for nothing.
  void LumEvent(const TLumEvent&) override {}

private:
  TComponent* watched_ = nullptr;
};
