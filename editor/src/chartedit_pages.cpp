// The chart editor's pages: the table that makes each page form on the first visit
// of its tab, the main and sub page changes, and the Data page with its buttons,
// commands and "Copy".
#include <algorithm>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/chartlists.h"
#include "chartedit_detail.h"
#include "editor/axispage.h"
#include "editor/generalpage.h"
#include "editor/legendpage.h"
#include "editor/pagingpage.h"
#include "editor/panelpages.h"
#include "editor/seriespage.h"
#include "editor/toolspage.h"
#include "editor/view3dpage.h"
#include "engine/helpers.h"
#include "gallery/chartgrid.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/exportdialog.h"
#include "gallery/preview.h"
#include "gallery/seriesdata.h"
#include "platform/dialogs.h"

namespace {

using P = TChartEditorPages;

TForm* MakeSeriesPage(TChartEditForm& E) {
  auto* page = new TFormLumSeries(&E);
  page->SetSeriesListBox(E.LBSeries);
  page->AllowDataSource = (E.Options & ceoDataSource) != 0;
  page->ShowGeneralTab = !E.HiddenTabs.count(epSeriesGeneral);
  page->ShowMarksTab = !E.HiddenTabs.count(epSeriesMarks);
  page->ShowPersistent = false;
  page->OnSeriesEvent = [&E](TObject* Sender, TLumSeriesEventStyle Event, TChartSeries* Series) {
    P::SeriesEvent(E, Sender, Event, Series);
  };
  P::Embed(E, page, E.TabSeries);
  return page;
}

TForm* MakeToolsPage(TChartEditForm& E, TFormLumTools* Page, TChartTools* List, TTabSheet* Tab) {
  Page->SetToolList(List);
  Page->OnAddTool = [&E](TLumCustomTool* Tool) { P::ToolAdded(E, Tool); };
  Page->OnDeleteTool = [&E](TLumCustomTool* Tool) { P::ToolDeleted(E, Tool); };
  P::Embed(E, Page, Tab);
  return Page;
}

TForm* MakeTools(TChartEditForm& E) {
  return MakeToolsPage(E, new TFormLumTools(&E), P::Chart(E)->Tools(), E.TabTools);
}

TForm* MakeAnimations(TChartEditForm& E) {
  return MakeToolsPage(E, new TFormLumAnimations(&E), P::Chart(E)->Animations(), E.TabAnimations);
}

void RevisitTools(TChartEditForm&, TForm* Form) { static_cast<TFormLumTools*>(Form)->RefreshTools(); }

TForm* MakeExport(TChartEditForm& E) {
  auto* f = new TLumExportForm(&E);
  f->SetPanel(P::Chart(E));
  f->PanelClose->SetVisible(false);
  f->CBFileSize->SetChecked(false);
  if (E.HiddenTabs.count(epExportNative)) f->TabNative->SetTabVisible(false);
  InsertEditorForm(f, E.TabExport, 0);
  f->SetAlign(alClient);
  f->EnableButtons();
  return f;
}

void RevisitExport(TChartEditForm&, TForm* Form) { static_cast<TLumExportForm*>(Form)->EnableButtons(); }

TForm* MakePrint(TChartEditForm& E) {
  Screen->SetCursor(crHourGlass);
  auto* f = new TChartPreview(&E);
  f->PanelClose->SetVisible(false);
  f->SetAlign(alClient);
  f->LumPreviewPanel1->SetPanel(P::Chart(E));
  InsertEditorForm(f, E.TabPrint, 0);
  Screen->SetCursor(crDefault);
  return f;
}

void RevisitPrint(TChartEditForm&, TForm* Form) { static_cast<TChartPreview*>(Form)->LumPreviewPanel1->Invalidate(); }

TForm* MakeAxis(TChartEditForm& E) {
  auto* f = new TFormLumAxis(&E, P::CurrentAxis(E));
  f->OnChangeHorizAxis = [&E](TChartAxis* Axis) { P::AxisChanged(E, Axis); };
  P::Embed(E, f, E.TabAxis);
  return f;
}

void RevisitAxis(TChartEditForm&, TForm* Form) { static_cast<TFormLumAxis*>(Form)->RefreshPage(); }

void TargetAxis(TChartEditForm&, TForm* Form, TObject* Object) {
  static_cast<TFormLumAxis*>(Form)->SetAxis(static_cast<TChartAxis*>(Object));
}

TForm* MakeTitles(TChartEditForm& E) {
  auto* f = new TFormLumTitle(&E, static_cast<TChartTitle*>(P::CurrentTitle(E)), P::Chart(E));
  P::Embed(E, f, E.TabTitle);
  return f;
}

// The titles and walls in the order of the pages' own choosers.
int TitleIndex(TCustomChart* C, const TObject* Title) {
  const TObject* all[] = {C->Title(), C->SubTitle(), C->SubFoot(), C->Foot()};
  return int(std::find(std::begin(all), std::end(all), Title) - std::begin(all));
}

int WallIndex(TCustomChart* C, const TObject* Wall) {
  const TObject* all[] = {C->LeftWall(), C->RightWall(), C->BottomWall(), C->BackWall()};
  return int(std::find(std::begin(all), std::end(all), Wall) - std::begin(all));
}

void TargetTitle(TChartEditForm& E, TForm* Form, TObject* Object) {
  auto* f = static_cast<TFormLumTitle*>(Form);
  const int i = TitleIndex(P::Chart(E), Object);
  if (i > 3) return;
  f->CBTitles->SetItemIndex(i);
  f->CBTitlesChange(f->CBTitles);
}

TForm* MakeLegend(TChartEditForm& E) {
  auto* f = new TFormLumLegend(&E, P::Chart(E)->Legend());
  P::Embed(E, f, E.TabLegend);
  return f;
}

TForm* MakePanel(TChartEditForm& E) {
  auto* f = new TFormLumPanel(&E, P::Chart(E));
  P::Embed(E, f, E.TabPanel);
  return f;
}

TForm* MakeWalls(TChartEditForm& E) {
  auto* f = new TFormLumWall(&E, static_cast<TChartWall*>(P::CurrentWall(E)));
  P::Embed(E, f, E.TabWalls);
  return f;
}

void TargetWall(TChartEditForm& E, TForm* Form, TObject* Object) {
  auto* f = static_cast<TFormLumWall*>(Form);
  const int i = WallIndex(P::Chart(E), Object);
  if (i > 3) return;
  f->TabSubWalls->SetTabIndex(i);
  f->TabSubWallsChange(f->TabSubWalls);
}

// The pages made with the chart alone.
template <class F, TTabSheet* TChartEditForm::*Tab>
TForm* MakeOnChart(TChartEditForm& E) {
  auto* f = new F(&E, P::Chart(E));
  P::Embed(E, f, E.*Tab);
  return f;
}

// The 3D page shows the chart's view as it is now.
void Revisit3D(TChartEditForm&, TForm* Form) { static_cast<TFormLum3D*>(Form)->FormShow(Form); }

}  // namespace

const std::vector<TChartEditorPages::TEntry>& TChartEditorPages::Table() {
  static const std::vector<TEntry> table = {
      {epGeneral, MakeOnChart<TFormLumGeneral, &TChartEditForm::TabGeneral>, nullptr, nullptr, 440, 292},
      {epAxis, MakeAxis, RevisitAxis, TargetAxis, 470, 290},
      {epTitles, MakeTitles, nullptr, TargetTitle, 420, 280},
      {epLegend, MakeLegend, nullptr, nullptr, 470, 290},
      {epPanel, MakePanel, nullptr, nullptr, 420, 280},
      {epPaging, MakeOnChart<TFormLumPage, &TChartEditForm::TabPaging>, nullptr, nullptr, 420, 285},
      {epWalls, MakeWalls, nullptr, TargetWall, 420, 280},
      {ep3D, MakeOnChart<TFormLum3D, &TChartEditForm::Tab3D>, Revisit3D, nullptr, 420, 285},
      {epSeries, MakeSeriesPage, nullptr, nullptr, 390, 363},
      {epTools, MakeTools, RevisitTools, nullptr, 404, 270},
      {epAnimations, MakeAnimations, RevisitTools, nullptr, 404, 270},
      {epExport, MakeExport, RevisitExport, nullptr, 514, 386},
      {epPrint, MakePrint, RevisitPrint, nullptr, 480, 422},
  };
  return table;
}

const TChartEditorPages::TEntry* TChartEditorPages::Find(int Page) {
  for (const TEntry& e : Table())
    if (e.Page == Page) return &e;
  return nullptr;
}

TPoint TChartEditorPages::MinClientSize(const TChartEditForm& E) {
  // The room each tab leaves for its page, measured on the form as it is.
  int w = 0, h = 0;
  for (const TEntry& e : Table()) {
    TTabSheet* tab = E.TabOfPage(e.Page);
    if (!tab || !tab->TabVisible()) continue;
    // Pages sit 4 pixels in; the tabs of a page control take their own room.
    const TRect r = tab->PageControl() == E.SubPage ? E.SubPage->DisplayRect() : E.MainPage->DisplayRect();
    const int frameW = E.MainPage->Width() - E.MainPage->DisplayRect().Width() +
                       (tab->PageControl() == E.SubPage ? E.SubPage->Width() - r.Width() : 0);
    const int frameH = E.MainPage->Height() - E.MainPage->DisplayRect().Height() +
                       (tab->PageControl() == E.SubPage ? E.SubPage->Height() - r.Height() : 0);
    w = std::max(w, e.Width + 8 + frameW);
    h = std::max(h, e.Height + 8 + frameH + E.PanelBottom->Height());
  }
  return {w, h};
}

void TChartEditorPages::Embed(TChartEditForm& E, TForm* Form, TTabSheet* Tab, std::intptr_t Tag) {
  InsertEditorForm(Form, Tab, Tag);
  Form->SetAlign(alClient);
  if (Form->ParentFont()) Form->Font()->Assign(E.Font());
  TranslateControl(Form);
}

TChartAxis* TChartEditorPages::CurrentAxis(TChartEditForm& E) {
  auto* axis = static_cast<TChartAxis*>(E.axis_);
  // The last axis shown, when the chart still has it (a custom axis may have gone).
  if (!axis || E.Chart()->Axes()->IndexOf(axis) < 0) E.axis_ = axis = E.Chart()->LeftAxis();
  return axis;
}

TObject* TChartEditorPages::CurrentTitle(TChartEditForm& E) {
  if (!E.title_ || TitleIndex(E.Chart(), E.title_) > 3) E.title_ = E.Chart()->Title();
  return E.title_;
}

TObject* TChartEditorPages::CurrentWall(TChartEditForm& E) {
  if (!E.wall_ || WallIndex(E.Chart(), E.wall_) > 3) E.wall_ = E.Chart()->LeftWall();
  return E.wall_;
}

// ---- Making and visiting pages ------------------------------------------------------
TForm* TChartEditForm::MakePage(int Page) {
  if (TForm* f = PageForm(Page)) return f;
  const TChartEditorPages::TEntry* e = TChartEditorPages::Find(Page);
  if (!Chart() || !e || !e->Make) return nullptr;  // a sheet without a page stays empty
  TForm* f = e->Make(*this);
  pages_[Page].Set(f);
  return f;
}

void TChartEditForm::SelectTabOf(TPageControl* Pages, TTabSheet* Tab) {
  if (Pages->ActivePage() == Tab) return;
  bool allow = true;
  if (Pages->OnChanging) Pages->OnChanging(Pages, allow);
  if (!allow) return;
  Pages->SetActivePage(Tab);
  if (Pages->OnChange) Pages->OnChange(Pages);
}

void TChartEditForm::ShowPage(int Page) {
  TTabSheet* tab = TabOfPage(Page);
  if (!tab || !tab->TabVisible() || !Chart()) return;
  if (tab == TabSeries) {
    TChartSeries* s = LBSeries->SelectedSeries();
    if (!s && LBSeries->Count() > 0) s = LBSeries->SeriesAtIndex(0);
    if (TreeShown()) {
      if (s) SelectNodeOf(s);
      return;
    }
  } else if (TreeShown()) {
    SelectNodeOf(tab);
    return;
  }
  if (tab->PageControl() == SubPage) {
    SelectTabOf(MainPage, TabChart);
    if (MainPage->ActivePage() != TabChart) return;
    SelectTabOf(SubPage, tab);
    if (SubPage->ActivePage() == tab) VisitSubPage(tab);
    return;
  }
  SelectTabOf(MainPage, tab);
}

void TChartEditForm::EditTheSeries(TChartSeries* Series) {
  if (!Chart() || !Series) return;
  if (TreeShown()) {
    SelectNodeOf(Series);
    return;
  }
  LBSeries->SelectSeries(Series);
  if (!TabSeries->TabVisible()) return;  // the list shows it selected
  if (MainPage->ActivePage() == TabSeries) VisitSeriesPage(Series);
  else SelectTabOf(MainPage, TabSeries);
}

void TChartEditForm::MainPageChanging(TObject*, bool& AllowChange) {
  // The series page may keep the editor on it (a source editor with changes asks).
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries)))
    if (MainPage->ActivePage() == TabSeries) page->PageSeriesChanging(this, AllowChange);
}

void TChartEditForm::MainPageChange(TObject*) {
  if (!Chart() || destroying_) return;
  TTabSheet* tab = MainPage->ActivePage();
  if (TreeShown() && !selectingNode_) {
    SelectNodeOf(tab == TabSeries ? static_cast<TObject*>(LBSeries->SelectedSeries()) : tab);
    return;
  }
  VisitMainPage(tab);
}

void TChartEditForm::VisitMainPage(TTabSheet* Tab) {
  if (Tab == TabSeries) {
    VisitSeriesPage(LBSeries->SelectedSeries());
  } else if (Tab == TabData) {
    VisitData();
  } else if (Tab == TabChart) {
    CallHooks(TabChart);
    if (SubPage->ActivePage()) VisitSubPage(SubPage->ActivePage());
  } else if (Tab == TabTools) {
    VisitToolPage(epTools, nullptr);
  } else if (Tab == TabAnimations) {
    VisitToolPage(epAnimations, nullptr);
  } else if (const int page = PageOfTab(Tab); page >= 0) {
    TForm* f = PageForm(page);
    if (!f) {
      MakePage(page);
    } else if (const TChartEditorPages::TEntry* e = TChartEditorPages::Find(page); e && e->Revisit) {
      e->Revisit(*this, f);
    }
  }
}

void TChartEditForm::SubPageChange(TObject*) {
  if (!Chart() || destroying_) return;
  if (TreeShown() && !selectingNode_) {
    SelectNodeOf(SubPage->ActivePage());
    return;
  }
  VisitSubPage(SubPage->ActivePage());
}

void TChartEditForm::VisitSubPage(TTabSheet* Tab) {
  const int page = PageOfTab(Tab);
  if (!Chart() || page < 0) return;
  if (Tab == TabSeriesList) {
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
    RefreshButtons(nullptr);
    return;
  }
  if (TForm* f = PageForm(page)) {
    if (const TChartEditorPages::TEntry* e = TChartEditorPages::Find(page); e && e->Revisit) e->Revisit(*this, f);
    return;
  }
  MakePage(page);
}

void TChartEditForm::VisitSeriesPage(TChartSeries* Series) {
  auto* page = dynamic_cast<TFormLumSeries*>(MakePage(epSeries));
  if (!page) return;
  page->FillSeriesCombo();
  page->SelectSeries(Series && LiveSeries(Series) ? Series : nullptr);
  page->PageSeriesChange(page->PageSeries);
}

void TChartEditForm::VisitToolPage(int Page, TLumCustomTool* Tool) {
  TForm* f = PageForm(Page);
  if (!f) {
    f = MakePage(Page);
  } else if (const TChartEditorPages::TEntry* e = TChartEditorPages::Find(Page); e && e->Revisit) {
    e->Revisit(*this, f);
  }
  auto* page = dynamic_cast<TFormLumTools*>(f);
  if (!page) return;
  if (Tool) {
    const int i = page->LBTools->Items()->IndexOfObject(Tool);
    if (i >= 0) {
      page->LBTools->SetItemIndex(i);
      page->LBToolsClick(page->LBTools);
    }
  }
  if (TreeShown()) return;
  TTabSheet* tab = TabOfPage(Page);
  if (MainPage->ActivePage() != tab) {
    selectingNode_ = true;  // the page is made: the change only shows it
    SelectTabOf(MainPage, tab);
    selectingNode_ = false;
  }
}

void TChartEditForm::SeriesPageEvent(TObject*, TLumSeriesEventStyle Event, TChartSeries*) {
  if (Event == seAdd || Event == seRemove || Event == seDataChanged) RebuildSeriesNodesIfNeeded();
}

void TChartEditForm::AxisChanged(TChartAxis*) {
  // A custom axis turned: the series page's axis choices follow.
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries)); page && page->Series())
    page->PageSeriesChange(page->PageSeries);
}

void TChartEditForm::ToolAdded(TLumCustomTool* Tool) {
  if (!Tool || !TreeShown()) return;
  const bool animation = Chart() && Chart()->Animations()->IndexOf(Tool) >= 0;
  if (TTreeNode* root = animation ? animationsNode_ : toolsNode_) {
    Tree->Items()->AddChildObject(root, Tool->Description(), Tool);
    FreeNotification(Tool);
  }
}

void TChartEditForm::ToolDeleted(TLumCustomTool* Tool) {
  buildingTree_ = true;
  while (TTreeNode* n = NodeOf(Tool)) n->Delete();
  buildingTree_ = false;
}

// ---- The Data page ----------------------------------------------------------------
TChartSeries* TChartEditForm::FirstSeries() const {
  return Chart() && Chart()->SeriesCount() > 0 ? Chart()->GetSeries(0) : nullptr;
}

void TChartEditForm::VisitData() {
  ChartGrid1->SetChart(Chart());
  TChartSeries* first = FirstSeries();
  if (first && HasManyColors(first)) ChartGrid1->SetShowColors(true);
  SBGridText->SetDown(ChartGrid1->ShowLabels());
  SBGridCol->SetDown(ChartGrid1->ShowColors());
  SBGrid3D->SetDown(ChartGrid1->Grid3D());
  SBGrid3D->SetEnabled(first && first->ValuesList().Count() >= 3);
  SBGridX->SetDown(first && HasCustomXValues(first));
  SBGridVisuals->SetDown(Chart()->SeriesCount() > 0 && ChartGrid1->ShowVisuals() == cgsYes);
  if (!Tree->Visible() && ChartGrid1->CanFocus()) ChartGrid1->SetFocus();
  grid3DSet_ = false;
  ChartGrid1->OnChange = [this] { GridChanged(); };
}

void TChartEditForm::GridChanged() {
  // Editing a series that can show a matrix turns the grid to it, once a visit.
  TChartSeries* first = FirstSeries();
  if (grid3DSet_ || !first || !first->Grid3D() || ChartGrid1->Grid3D() || !ChartGrid1->EditorMode()) return;
  grid3DSet_ = true;
  ChartGrid1->SetGrid3D(true);
  SBGrid3D->SetDown(true);
}

void TChartEditForm::SBGridTextClick(TObject*) { ChartGrid1->SetShowLabels(SBGridText->Down()); }

void TChartEditForm::SBGridColClick(TObject*) { ChartGrid1->SetShowColors(SBGridCol->Down()); }

void TChartEditForm::SBGrid3DClick(TObject*) {
  ChartGrid1->SetGrid3D(SBGrid3D->Down());
  ChartGrid1->SetShowLabels(SBGridText->Down());
  ChartGrid1->SetShowColors(SBGridCol->Down());
}

void TChartEditForm::SBGridXClick(TObject*) { ChartGrid1->SetShowXValues(SBGridX->Down() ? cgsYes : cgsNo); }

void TChartEditForm::SBGridVisualsClick(TObject*) {
  ChartGrid1->SetShowVisuals(SBGridVisuals->Down() ? cgsYes : cgsNo);
}

void TChartEditForm::SBCopyDataClick(TObject*) {
  if (!Chart()) return;
  TSeriesDataText data(Chart(), nullptr);
  data.IncludeIndex = true;
  data.IncludeHeader = true;
  data.IncludeLabels = SBGridText->Down();
  data.IncludeColors = SBGridCol->Down();
  data.CopyToClipboard();
}

namespace {

// The series and point of the grid's current cell (-1 when none).
int CurrentPoint(TChartGrid* Grid, TChartSeries** Series) {
  const TChartGridModel& m = Grid->Model();
  *Series = m.SeriesOfColumn(Grid->Col());
  const int i = m.PointIndex(Grid->Row());
  return *Series && i >= 0 && i < (*Series)->Count() ? i : -1;
}

}  // namespace

void TChartEditForm::PopupDataPopup(TObject*) {
  TChartSeries* s = nullptr;
  const int i = CurrentPoint(ChartGrid1, &s);
  const bool colorCell = ChartGrid1->Model().Column(ChartGrid1->Col()) == gcColor;
  MIEditColor->SetVisible(colorCell);
  MIDefaultColor->SetVisible(colorCell && i >= 0 && s->GetValueColor(i) != clLumColor && !s->IsNull(i));
  MIMakeNull->SetVisible(i >= 0 && !s->IsNull(i));
}

void TChartEditForm::MIEditColorClick(TObject*) { ChartGrid1->EditColor(); }

void TChartEditForm::MIDefaultColorClick(TObject*) { ChartGrid1->SetCurrentColor(clLumColor); }

void TChartEditForm::MIMakeNullClick(TObject*) {
  TChartSeries* s = nullptr;
  const int i = CurrentPoint(ChartGrid1, &s);
  if (i < 0) return;
  s->SetValueColor(i, clNone);
  ChartGrid1->Invalidate();
}

void TChartEditForm::MIAppendRowClick(TObject*) { ChartGrid1->Insert(); }

void TChartEditForm::MIDeleteRowClick(TObject*) { ChartGrid1->Delete(); }

void TChartEditForm::MITextFontClick(TObject*) {
  TFontDialog d(nullptr);
  d.SetFont(ChartGrid1->Font());
  if (!d.Execute()) return;
  ChartGrid1->SetFont(d.Font());
  ChartGrid1->Canvas()->SetFont(ChartGrid1->Font());
  ChartGrid1->SetDefaultRowHeight(ChartGrid1->Canvas()->TextHeight("W") + 2);
}
