// The chart editor's Paging page: points per page, the last page's scale, the
// legend of the current page, axis scaling per page, and a navigator through the
// pages that also prints a range of them. TChartPageNavigator is that navigator on
// its own: First, Prior, Next and Last over a chart's pages.
//
// Made with the chart it edits; the chart editor shows it on each visit of its tab.
// It lets go of the chart when the chart is freed.
#pragma once
#include "editor/chartpage.h"
#include "engine/panel.h"
#include "gallery/navigator.h"
#include "platform/stdctrls.h"

class TCustomAxisPanel;
class TCustomChart;
class TLumCustomTool;

// The navigator of a chart's pages. Chart: only a chart panel is taken (anything
// else sets none). The buttons follow the chart's page changes.
class TChartPageNavigator : public TCustomLumNavigator {
  DECLARE_CLASS(TChartPageNavigator, TCustomLumNavigator)
public:
  explicit TChartPageNavigator(TComponent* AOwner);

  TCustomAxisPanel* Chart() const;
  void SetChart(TCustomAxisPanel* Value) { SetPanel(Value); }
  // A panel that is not a chart panel counts as none.
  void SetPanel(TCustomLumPanel* Value) override;

  // First and Prior while the page shown is above 1, Next and Last below the count.
  void EnableButtons() override;
  int PageCount() override;
  // With more than one page the print dialog offers 1..count and the pages chosen
  // print; one page prints at once.
  void Print() override;

protected:
  void DoButtonClicked(int Index) override;
  void PanelEvent(const TLumEvent& Event) override;
};

// The class of the tool that shows the page number on a chart. None is registered in
// this program, so the page's "Show Page Number" box stays hidden; a program that
// has such a tool sets it.
extern TClass PageNumToolClass;

class TFormLumPage : public TChartObjectPage {
  DECLARE_CLASS(TFormLumPage, TChartObjectPage)
public:
  TFormLumPage(TComponent* AOwner, TCustomChart* AChart);
  ~TFormLumPage() override;

  TLabel* LPointsPerPage;
  TEdit* SEPointsPerPage;
  TUpDown* UDPointsPerPage;
  TCheckBox* CBNoPages;
  TCheckBox* CBScaleLast;
  TCheckBox* CBPageLegend;
  TCheckBox* CBAutoScale;
  TCheckBox* CBPageNum;
  TButton* BEditTool;
  TLabel* LabelPages;
  TChartPageNavigator* ChartPageNavigator1;

  // The chart edited; nullptr once it was freed.
  TCustomChart* Chart() const;
  // The chart's first tool of PageNumToolClass; nullptr when none (or no class).
  TLumCustomTool* PageNumTool() const;

  void FormShow(TObject* Sender);
  void SEPointsPerPageChange(TObject* Sender);
  void CBNoPagesClick(TObject* Sender);
  void CBScaleLastClick(TObject* Sender);
  void CBPageLegendClick(TObject* Sender);
  void CBAutoScaleClick(TObject* Sender);
  void CBPageNumClick(TObject* Sender);
  void BEditToolClick(TObject* Sender);
  void NavigatorClicked(TObject* Sender, int Index);

protected:
  void ChartFreed() override;

private:
  bool Editing() const { return !loading_ && Chart(); }
  // "Page %d of %d", the navigator's buttons and the no-pages box.
  void RefreshPages();
  bool loading_ = false;
};
