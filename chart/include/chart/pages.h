// Paging: a chart shows its points MaxPointsPerPage at a time, page by page.
#pragma once
#include "platform/classes.h"
#include "platform/typinfo.h"

class TCustomAxisPanel;
class TChartAxis;
class TChartSeries;

class TChartPage : public TPersistent {
  DECLARE_CLASS(TChartPage, TPersistent)
public:
  explicit TChartPage(TCustomAxisPanel* AChart) : chart_(AChart) {}

  // 0: no paging. Below 0 counts as 0.
  int MaxPointsPerPage() const { return maxPointsPerPage_; }
  void SetMaxPointsPerPage(int Value);
  // The last page, when it holds fewer points, keeps the scale of a full page;
  // otherwise its points spread over the whole axis.
  bool ScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool Value);
  // The value axis fits the points of the page alone.
  bool AutoScale() const { return autoScale_; }
  void SetAutoScale(bool Value);
  // The page shown, 1..Count; a value outside is clamped.
  int Current() const;
  void SetCurrent(int Value);
  // Pages the most points of an active series fill; 1 without paging.
  int Count() const;
  void Next() { SetCurrent(Current() + 1); }
  void Previous() { SetCurrent(Current() - 1); }

  // The range of an automatic axis on the current page (see TCustomAxisPanel::PageRange).
  bool PageRange(const TChartAxis* Axis, double& Min, double& Max) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // Fired after the current page changed.
  TNotifyEvent OnPageChange;

private:
  void Changed();
  template <class T>
  void Store(T& Field, T Value);
  // The active series whose positions run along Axis, the one with the most points;
  // nullptr none.
  TChartSeries* PagedSeries(const TChartAxis* Axis, bool& ValueAxis) const;
  TCustomAxisPanel* chart_;
  int maxPointsPerPage_ = 0;
  bool scaleLastPage_ = true;
  bool autoScale_ = false;
  int current_ = 1;
};
