#include "editor/pagingpage.h"

#include <algorithm>
#include <memory>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "engine/tools.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "platform/printers.h"
#include "platform/rtl.h"

using namespace formbuild;

IMPLEMENT_CLASS(TChartPageNavigator, TCustomLumNavigator)
IMPLEMENT_CLASS(TFormLumPage, TChartObjectPage)

TClass PageNumToolClass = nullptr;

// ---- TChartPageNavigator ------------------------------------------------------
TChartPageNavigator::TChartPageNavigator(TComponent* AOwner) : TCustomLumNavigator(AOwner) {}

TCustomAxisPanel* TChartPageNavigator::Chart() const { return static_cast<TCustomAxisPanel*>(Panel()); }

void TChartPageNavigator::SetPanel(TCustomLumPanel* Value) {
  TCustomLumNavigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(Value));
}

int TChartPageNavigator::PageCount() {
  TCustomAxisPanel* c = Chart();
  return c ? std::max(1, c->NumPages()) : 1;
}

void TChartPageNavigator::EnableButtons() {
  TCustomAxisPanel* c = Chart();
  const int page = c ? c->GetPage() : 1, count = PageCount();
  Buttons(nbFirst)->SetEnabled(c && page > 1);
  Buttons(nbPrior)->SetEnabled(c && page > 1);
  Buttons(nbNext)->SetEnabled(c && page < count);
  Buttons(nbLast)->SetEnabled(c && page < count);
  for (int i = nbInsert; i < LumNavButtonCount; ++i) Buttons(i)->SetEnabled(false);
}

void TChartPageNavigator::DoButtonClicked(int Index) {
  if (TCustomAxisPanel* c = Chart()) {
    switch (Index) {
      case nbFirst: c->SetPage(1); break;
      case nbPrior: c->SetPage(c->GetPage() - 1); break;
      case nbNext: c->SetPage(c->GetPage() + 1); break;
      case nbLast: c->SetPage(PageCount()); break;
      default: break;
    }
  }
  TCustomLumNavigator::DoButtonClicked(Index);
}

void TChartPageNavigator::PanelEvent(const TLumEvent& Event) {
  if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event); e && e->Event == sePageChanged) EnableButtons();
}

void TChartPageNavigator::Print() {
  TCustomAxisPanel* c = Chart();
  if (!c) return;
  const int count = PageCount();
  if (count <= 1) {
    c->PrintPages(1, 1);
    return;
  }
  std::unique_ptr<TPrintDialog> d(new TPrintDialog(this));
  d->SetOptions(poPageNums);
  d->SetPrintRange(prPageNums);
  d->SetMinPage(1);
  d->SetMaxPage(count);
  d->SetFromPage(1);
  d->SetToPage(count);
  if (!d->Execute()) return;
  // The dialog ran a loop of its own: the chart may have gone meanwhile, and a range
  // typed outside the pages keeps to them.
  c = Chart();
  if (!c) return;
  int from = 1, to = count;
  if (d->PrintRange() == prPageNums) {
    from = std::clamp(d->FromPage(), 1, count);
    to = std::clamp(d->ToPage(), from, count);
  }
  c->PrintPages(from, to);
}

// ---- TFormLumPage -------------------------------------------------------------
TFormLumPage::TFormLumPage(TComponent* AOwner, TCustomChart* AChart) : TChartObjectPage(AOwner, "FormLumPage", 420, 285) {
  const auto points = EditWithUpDown(this, this, "LPointsPerPage", "P&oints per Page:", "SEPointsPerPage",
                                     "UDPointsPerPage", 8, 108, 10, 58, 0, 32000);
  LPointsPerPage = points.Label, SEPointsPerPage = points.Edit, UDPointsPerPage = points.UpDown;
  CBNoPages = PlaceControl<TCheckBox>(this, this, "CBNoPages", 196, 12, 120, 17, "&No pages");
  CBScaleLast = PlaceControl<TCheckBox>(this, this, "CBScaleLast", 8, 42, 200, 17, "&Scale Last Page");
  CBPageLegend = PlaceControl<TCheckBox>(this, this, "CBPageLegend", 8, 64, 200, 17, "&Current page Legend");
  CBAutoScale = PlaceControl<TCheckBox>(this, this, "CBAutoScale", 8, 86, 200, 17, "&Auto scale axis");
  CBPageNum = PlaceControl<TCheckBox>(this, this, "CBPageNum", 8, 116, 150, 17, "Show &Page Number");
  BEditTool = PlaceControl<TButton>(this, this, "BEditTool", 164, 112, 75, 25, "&Edit...");
  SetControlsVisible(false, {CBPageNum, BEditTool});
  ChartPageNavigator1 = PlaceControl<TChartPageNavigator>(this, this, "ChartPageNavigator1", 8, 150, 160, 25);
  LabelPages = PlaceLabel(this, this, "LabelPages", 180, 156, Format(LumMsg_PageOfPages, 1, 1));

  OnShow = HANDLER(FormShow);
  SEPointsPerPage->OnChange = HANDLER(SEPointsPerPageChange);
  CBNoPages->OnClick = HANDLER(CBNoPagesClick);
  CBScaleLast->OnClick = HANDLER(CBScaleLastClick);
  CBPageLegend->OnClick = HANDLER(CBPageLegendClick);
  CBAutoScale->OnClick = HANDLER(CBAutoScaleClick);
  CBPageNum->OnClick = HANDLER(CBPageNumClick);
  BEditTool->OnClick = HANDLER(BEditToolClick);
  ChartPageNavigator1->OnButtonClicked = HANDLER(NavigatorClicked);

  WatchChart(AChart);
  ChartPageNavigator1->SetChart(AChart);
}

TFormLumPage::~TFormLumPage() { loading_ = true; }

TCustomChart* TFormLumPage::Chart() const { return static_cast<TCustomChart*>(WatchedChart()); }

void TFormLumPage::ChartFreed() {
  // The navigator lets go by itself; the page shows no pages of a chart gone.
  LabelPages->SetCaption("");
}

TLumCustomTool* TFormLumPage::PageNumTool() const {
  TCustomChart* c = Chart();
  if (!c || !PageNumToolClass) return nullptr;
  for (TLumCustomTool* t : *c->Tools())
    if (t->ClassType()->InheritsFrom(PageNumToolClass)) return t;
  return nullptr;
}

void TFormLumPage::FormShow(TObject*) {
  TCustomChart* c = Chart();
  if (!c) return;
  loading_ = true;
  TChartPage* p = c->Pages();
  UDPointsPerPage->SetPosition(p->MaxPointsPerPage());
  CBScaleLast->SetChecked(p->ScaleLastPage());
  CBAutoScale->SetChecked(p->AutoScale());
  CBPageLegend->SetChecked(c->Legend()->CurrentPage() == c->GetPage());
  SetControlsVisible(PageNumToolClass != nullptr, {CBPageNum, BEditTool});
  TLumCustomTool* tool = PageNumTool();
  CBPageNum->SetChecked(tool && tool->Active());
  BEditTool->SetEnabled(tool != nullptr);
  RefreshPages();
  loading_ = false;
  TranslateControl(this);
}

void TFormLumPage::RefreshPages() {
  TCustomChart* c = Chart();
  if (!c) return;
  LabelPages->SetCaption(Format(LumMsg_PageOfPages, c->GetPage(), c->NumPages()));
  const bool was = loading_;
  loading_ = true;
  CBNoPages->SetChecked(c->Pages()->MaxPointsPerPage() == 0);
  loading_ = was;
  ChartPageNavigator1->EnableButtons();
}

void TFormLumPage::SEPointsPerPageChange(TObject*) {
  if (!Editing()) return;
  // An empty edit means no paging.
  const int points = Trim(SEPointsPerPage->Text()).empty() ? 0 : UDPointsPerPage->Position();
  Chart()->Pages()->SetMaxPointsPerPage(points);
  Chart()->Invalidate();
  RefreshPages();
}

void TFormLumPage::CBNoPagesClick(TObject*) {
  if (!Editing()) return;
  if (CBNoPages->Checked()) {
    UDPointsPerPage->SetPosition(0);
    SEPointsPerPageChange(SEPointsPerPage);
  } else {
    RefreshPages();  // paging starts with a number of points, not here
  }
}

void TFormLumPage::CBScaleLastClick(TObject*) {
  if (!Editing()) return;
  Chart()->Pages()->SetScaleLastPage(CBScaleLast->Checked());
  Chart()->Invalidate();
}

void TFormLumPage::CBPageLegendClick(TObject*) {
  if (!Editing()) return;
  // The legend shows the page of the chart, or its first page again.
  Chart()->Legend()->SetCurrentPage(CBPageLegend->Checked() ? Chart()->GetPage() : 1);
  Chart()->Invalidate();
}

void TFormLumPage::CBAutoScaleClick(TObject*) {
  if (!Editing()) return;
  Chart()->Pages()->SetAutoScale(CBAutoScale->Checked());
  Chart()->Invalidate();
}

void TFormLumPage::CBPageNumClick(TObject*) {
  if (!Editing() || !PageNumToolClass) return;
  TCustomChart* c = Chart();
  TLumCustomTool* tool = PageNumTool();
  if (CBPageNum->Checked() && !tool) {
    std::unique_ptr<TObject> made(PageNumToolClass->NewInstance(c->Owner()));
    tool = dynamic_cast<TLumCustomTool*>(made.get());
    if (!tool) return;
    made.release();
    tool->SetName(UniqueComponentName(c->Owner(), LumMsg_DefaultToolName));
    tool->SetParentChart(c);
  }
  if (tool) tool->SetActive(CBPageNum->Checked());
  BEditTool->SetEnabled(tool != nullptr);
  c->Invalidate();
}

void TFormLumPage::BEditToolClick(TObject*) {
  TLumCustomTool* tool = PageNumTool();
  if (!tool) return;
  const std::string name = tool->EditorClassName();
  TClass editor = name.empty() ? nullptr : GetClass(name);
  if (!editor) return;
  TModalDialog<TForm> form(CreateEditorDialog(editor, BEditTool));
  form->SetTag(std::intptr_t(tool));
  form.Run();
}

void TFormLumPage::NavigatorClicked(TObject*, int) {
  TCustomChart* c = Chart();
  if (!c) return;
  if (CBPageLegend->Checked()) c->Legend()->SetCurrentPage(c->GetPage());
  RefreshPages();
}
