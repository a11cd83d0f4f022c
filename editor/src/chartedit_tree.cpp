// The chart editor's tree of everything editable and its series groups. A tree node
// holds a tab sheet, the sub page control, a series, a tool, an axis, a title or a
// wall; what it holds is compared with the live objects before it is used, never
// followed, so a node left over from an object freed meanwhile does nothing.
#include <algorithm>
#include <utility>
#include <vector>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/chartlists.h"
#include "chartedit_detail.h"
#include "engine/groups.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "platform/dialogs.h"

using namespace formbuild;

namespace {

constexpr int kGroupButtonsRight = 86;

}  // namespace

// ---- Tree --------------------------------------------------------------------------
bool TChartEditForm::TreeShown() const { return Tree->Visible() && TreePanel() != nullptr; }

void TChartEditForm::BuildTree() {
  buildingTree_ = true;
  PutPagesBack();
  if (!TreePanel()) {
    TreeSplitter->SetLeft(Tree->Width());
    TreeSplitter->SetVisible(true);
    widthWithoutTree_ = ClientWidth();
    SetClientWidth(std::min(ClientWidth() + Tree->Width() + TreeSplitter->Width(), std::max(100, Screen->Width())));
    if (Position() == poDesigned && Left() + Width() > Screen->Width())
      SetLeft(std::max(0, Screen->Width() - Width()));
    const int h = ClientHeight() - PanelBottom->Height();
    treePanel_.Set(PlainPanel(this, this, "PanelTree", alClient, Tree->Width() + TreeSplitter->Width(), 0,
                              widthWithoutTree_, h));
  }
  ButtonHelp->SetLeft(16);
  MainPage->SetVisible(false);
  TTreeNodes* items = Tree->Items();
  items->BeginUpdate();
  items->Clear();
  seriesNode_ = toolsNode_ = animationsNode_ = nullptr;
  // Series: the list's own caption, one node per series shown in the editor.
  if (TabSeriesList->TabVisible() || TabSeries->TabVisible()) {
    seriesNode_ = items->AddObject(nullptr, TabSeriesList->Caption(), TabSeriesList);
    FillSeriesNodes();
  }
  // Chart: the sub pages, with the axes, titles and walls under theirs.
  bool anySub = false;
  for (int i = epGeneral; i <= ep3D; ++i) anySub |= TabOfPage(i)->TabVisible();
  if (anySub) {
    TTreeNode* chartNode = items->AddObject(nullptr, TabChart->Caption(), SubPage);
    for (int i = epGeneral; i <= ep3D; ++i) {
      TTabSheet* tab = TabOfPage(i);
      if (!tab->TabVisible()) continue;
      TTreeNode* n = items->AddChildObject(chartNode, tab->Caption(), tab);
      if (tab == TabAxis) {
        const std::pair<const std::string*, TChartAxis*> axes[] = {
            {&LumMsg_LeftAxis, Chart()->LeftAxis()},     {&LumMsg_RightAxis, Chart()->RightAxis()},
            {&LumMsg_TopAxis, Chart()->TopAxis()},       {&LumMsg_BottomAxis, Chart()->BottomAxis()},
            {&LumMsg_DepthAxis, Chart()->DepthAxis()},   {&LumMsg_DepthTopAxis, Chart()->DepthTopAxis()}};
        for (const auto& [text, axis] : axes) items->AddChildObject(n, *text, axis);
        for (int c = 0; c < Chart()->CustomAxes()->Count(); ++c)
          items->AddChildObject(n, "Custom " + std::to_string(c), Chart()->CustomAxes()->Items(c));
      } else if (tab == TabTitle) {
        items->AddChildObject(n, "Title", Chart()->Title());
        items->AddChildObject(n, "SubTitle", Chart()->SubTitle());
        items->AddChildObject(n, "SubFoot", Chart()->SubFoot());
        items->AddChildObject(n, "Footer", Chart()->Foot());
      } else if (tab == TabWalls) {
        items->AddChildObject(n, "Left", Chart()->LeftWall());
        items->AddChildObject(n, "Right", Chart()->RightWall());
        items->AddChildObject(n, "Bottom", Chart()->BottomWall());
        items->AddChildObject(n, "Back", Chart()->BackWall());
      }
    }
    chartNode->Expand(false);
  }
  // The other main pages; tools and animations with their own.
  for (TTabSheet* tab : {TabData, TabTools, TabAnimations, TabExport, TabPrint}) {
    if (!tab->TabVisible()) continue;
    TTreeNode* n = items->AddObject(nullptr, tab->Caption(), tab);
    if (tab == TabTools || tab == TabAnimations) {
      (tab == TabTools ? toolsNode_ : animationsNode_) = n;
      TChartTools* list = tab == TabTools ? static_cast<TChartTools*>(Chart()->Tools()) : Chart()->Animations();
      for (TLumCustomTool* t : *list)
        if (t->ShowInEditor()) {
          items->AddChildObject(n, t->Description(), t);
          FreeNotification(t);
        }
    }
  }
  items->EndUpdate();
  buildingTree_ = false;
  if (TTreeNode* first = items->GetFirstNode()) {
    seriesListPlaced_ = first == seriesNode_;
    Tree->SetSelected(first);
  }
  if (Tree->CanFocus()) Tree->SetFocus();
}

void TChartEditForm::FillSeriesNodes() {
  if (!seriesNode_ || !Chart()) return;
  TTreeNode* sel = Tree->Selected();
  TObject* shown = sel && sel->Parent() == seriesNode_ ? sel->Data() : nullptr;
  const bool wasBuilding = buildingTree_;
  buildingTree_ = true;
  seriesNode_->DeleteChildren();
  for (int i = 0; i < LBSeries->Count(); ++i) {
    TChartSeries* s = LBSeries->SeriesAtIndex(i);
    if (s && (s->HasState(csDesigning) || s->ShowInEditor()))
      Tree->Items()->AddChildObject(seriesNode_, LBSeries->Items()->Strings(i), s);
  }
  seriesNode_->Expand(false);
  TTreeNode* again = shown ? NodeOf(shown) : nullptr;
  if (again) Tree->SetSelected(again);  // the same page stays in the panel
  buildingTree_ = wasBuilding;
  if (shown && !again && !wasBuilding) {
    PutPagesBack();
    Tree->SetSelected(seriesNode_);
  }
}

void TChartEditForm::RebuildSeriesNodesIfNeeded() {
  if (seriesNode_ && !buildingTree_ && seriesNode_->Count() != LBSeries->Count()) FillSeriesNodes();
}

TTreeNode* TChartEditForm::NodeOf(const TObject* Data) const {
  if (!Data) return nullptr;
  for (TTreeNode* n = Tree->Items()->GetFirstNode(); n; n = n->GetNext())
    if (n->Data() == Data) return n;
  return nullptr;
}

void TChartEditForm::SelectNodeOf(const TObject* Data) {
  if (TTreeNode* n = NodeOf(Data)) {
    if (n == Tree->Selected()) TreeChange(Tree, n);  // shown again
    else Tree->SetSelected(n);
    return;
  }
  // A series the tree does not list (not shown in the editor) still opens.
  if (LiveSeries(Data) && TabSeries->TabVisible()) {
    auto* s = static_cast<TChartSeries*>(const_cast<TObject*>(Data));
    PutPagesBack();
    LBSeries->SelectSeries(s);
    VisitSeriesPage(s);
    ShowInPanel(TabSeries);
  }
}

bool TChartEditForm::LiveSeries(const TObject* Object) const {
  if (!Chart() || !Object) return false;
  const TChartSeriesList& list = Chart()->SeriesList();
  return std::find(list.begin(), list.end(), Object) != list.end();
}

bool TChartEditForm::LiveTool(const TObject* Object) const {
  if (!Chart() || !Object) return false;
  for (TChartTools* list : {static_cast<TChartTools*>(Chart()->Tools()), static_cast<TChartTools*>(Chart()->Animations())})
    for (TLumCustomTool* t : *list)
      if (t == Object) return true;
  return false;
}

void TChartEditForm::ShowInPanel(TWinControl* Source) {
  TPanel* panel = TreePanel();
  if (!panel || !Source) return;
  panel->DisableAlign();
  while (Source->ControlCount() > 0) Source->Controls(Source->ControlCount() - 1)->SetParent(panel);
  panel->EnableAlign();
  panelSource_ = Source;
}

void TChartEditForm::PutPagesBack() {
  TPanel* panel = TreePanel();
  TWinControl* source = panelSource_;
  panelSource_ = nullptr;
  if (!panel || !source) return;
  source->DisableAlign();
  while (panel->ControlCount() > 0) panel->Controls(panel->ControlCount() - 1)->SetParent(source);
  source->EnableAlign();
}

void TChartEditForm::ShowObjectPage(TTabSheet* Tab, TObject* Object) {
  const int page = PageOfTab(Tab);
  (Tab == TabAxis ? axis_ : Tab == TabTitle ? title_ : wall_) = Object;
  if (TForm* f = PageForm(page)) {
    if (const TChartEditorPages::TEntry* e = TChartEditorPages::Find(page); e && e->Target) e->Target(*this, f, Object);
  } else {
    MakePage(page);  // made on the object
  }
  ShowInPanel(Tab);
}

void TChartEditForm::TreeChange(TObject*, TTreeNode* Node) {
  if (buildingTree_ || destroying_ || !Node || !Chart() || !TreePanel()) return;
  selectingNode_ = true;
  PutPagesBack();
  const TObject* d = Node->Data();
  TTabSheet* tab = nullptr;
  for (int i = 0; i < epPageCount && !tab; ++i)
    if (TabOfPage(i) && TabOfPage(i) == d) tab = TabOfPage(i);
  const auto isAxis = [&] {
    for (TChartAxis* a : *Chart()->Axes())
      if (a == d) return true;
    return false;
  };
  if (d == SubPage) {
    if (SubPage->ActivePage()) VisitSubPage(SubPage->ActivePage());
    ShowInPanel(TabChart);
  } else if (tab == TabSeriesList) {
    ShowInPanel(TabSeriesList);
    RefreshButtons(nullptr);
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
  } else if (tab && tab->PageControl() == SubPage) {
    VisitSubPage(tab);
    ShowInPanel(tab);
  } else if (tab) {
    VisitMainPage(tab);
    ShowInPanel(tab);
  } else if (LiveSeries(d)) {
    auto* s = static_cast<TChartSeries*>(const_cast<TObject*>(d));
    LBSeries->SelectSeries(s);
    if (TabSeries->TabVisible()) {
      VisitSeriesPage(s);
      ShowInPanel(TabSeries);
    } else {
      ShowInPanel(TabSeriesList);  // no series page: the list, the series selected
    }
  } else if (LiveTool(d)) {
    auto* t = static_cast<TLumCustomTool*>(const_cast<TObject*>(d));
    const int page = Chart()->Animations()->IndexOf(t) >= 0 ? epAnimations : epTools;
    VisitToolPage(page, t);
    ShowInPanel(TabOfPage(page));
  } else if (isAxis()) {
    ShowObjectPage(TabAxis, const_cast<TObject*>(d));
  } else if (d == Chart()->Title() || d == Chart()->SubTitle() || d == Chart()->SubFoot() || d == Chart()->Foot()) {
    ShowObjectPage(TabTitle, const_cast<TObject*>(d));
  } else if (d == Chart()->LeftWall() || d == Chart()->RightWall() || d == Chart()->BottomWall() ||
             d == Chart()->BackWall()) {
    ShowObjectPage(TabWalls, const_cast<TObject*>(d));
  } else if (Node->Parent() && Node->Parent()->Data() == TabAxis) {
    // A custom axis freed on the Axis page: its node goes, the axes show again.
    TTreeNode* axisNode = Node->Parent();
    buildingTree_ = true;
    Node->Delete();
    buildingTree_ = false;
    Tree->SetSelected(axisNode);
  }
  selectingNode_ = false;
}

// ---- Series groups -------------------------------------------------------------------
TSeriesGroup* TChartEditForm::GroupAt(int Entry) const {
  if (!Chart()) return nullptr;
  const int i = Entry - GroupOffset();
  TSeriesGroups* groups = Chart()->SeriesGroups();
  return i >= 0 && i < groups->Count() ? groups->GetGroup(i) : nullptr;
}

void TChartEditForm::ShowGroupControls() {
  const bool on = (Options & ceoGroups) != 0;
  SetControlsVisible(on, {BAddGroup, BDeleteGroup, BRenameGroup, PanelGroups, Splitter1});
  Splitter1->SetLeft(PanelGroups->Width());
  SpeedSeries->SetLeft(on ? std::max(kGroupButtonsRight, PanelGroups->Width() + Splitter1->Width()) : 4);
  if (on) SpeedSeries->SetVisible(true);  // the way back to the view menu
  PanelTop->SetVisible(on || SpeedSeries->Visible());
  if (on) FillGroups();
  else LBSeries->SetSeriesGroup(nullptr);
}

void TChartEditForm::FillGroups() {
  const int old = Groups->ItemIndex();
  Groups->Clear();
  if (!Chart()) return;
  if (Options & ceoGroupAll) Groups->Items()->Add(LumMsg_AllGroups);
  TSeriesGroups* groups = Chart()->SeriesGroups();
  for (int i = 0; i < groups->Count(); ++i) Groups->Items()->AddObject(groups->GetGroup(i)->Name(), groups->GetGroup(i));
  UpdateAllCheck();
  Groups->SetItemIndex(std::min(old, Groups->Count() - 1));
  GroupsClick(Groups);
}

void TChartEditForm::UpdateAllCheck() {
  if (!Chart()) return;
  const int off = GroupOffset();
  if (off && Groups->Count() > 0)
    Groups->SetState(0, Chart()->SeriesList().AllActive() ? cbChecked : cbUnchecked);
  for (int i = off; i < Groups->Count(); ++i)
    if (TSeriesGroup* g = GroupAt(i)) {
      const TSeriesGroupActive a = g->Active();
      Groups->SetState(i, a == gaYes ? cbChecked : a == gaNo ? cbUnchecked : cbGrayed);
    }
}

void TChartEditForm::RestrictToGroup() {
  TSeriesGroup* g = GroupAt(Groups->ItemIndex());
  // The group's series may have changed: the list is filled again either way.
  if (LBSeries->SeriesGroup() == g) LBSeries->FillSeries(LBSeries->SelectedSeries());
  else LBSeries->SetSeriesGroup(g);
  BDeleteGroup->SetEnabled(g != nullptr);
  BRenameGroup->SetEnabled(g != nullptr);
}

void TChartEditForm::GroupsClick(TObject*) { RestrictToGroup(); }

void TChartEditForm::GroupsClickCheck(TObject*) {
  if (!Chart()) return;
  // Each entry whose box no longer says what its series are switches them.
  const int off = GroupOffset();
  // (Each series switched repaints, and the repaint updates the boxes: the wanted
  // state is read once.)
  if (off && Groups->Count() > 0 && Groups->Checked(0) != Chart()->SeriesList().AllActive()) {
    const bool on = Groups->Checked(0);  // grey counts as off
    for (TChartSeries* s : Chart()->SeriesList()) s->SetActive(on);
    FillGroups();
    return;
  }
  std::vector<std::pair<TSeriesGroup*, TSeriesGroupActive>> wanted;
  for (int i = off; i < Groups->Count(); ++i)
    if (TSeriesGroup* g = GroupAt(i)) {
      const TCheckBoxState st = Groups->State(i);
      wanted.emplace_back(g, st == cbChecked ? gaYes : st == cbUnchecked ? gaNo : gaSome);
    }
  for (const auto& [g, want] : wanted)
    if (want != gaSome && g->Active() != want) g->SetActive(want);
  if (off && Groups->Count() > 0) Groups->SetState(0, Chart()->SeriesList().AllActive() ? cbChecked : cbUnchecked);
}

void TChartEditForm::BAddGroupClick(TObject*) {
  if (!Chart()) return;
  std::string name;
  do {
    if (!InputQuery(LumMsg_AddNewGroup, LumMsg_GroupName, name)) return;
  } while (Trim(name).empty());
  Chart()->SeriesGroups()->Add(name);
  FillGroups();
  Groups->SetItemIndex(Groups->Count() - 1);
  RestrictToGroup();
}

void TChartEditForm::BRenameGroupClick(TObject*) {
  TSeriesGroup* g = GroupAt(Groups->ItemIndex());
  if (!g) return;
  std::string name = g->Name();
  // A group without a name could not be told apart: a blank answer keeps the old one.
  if (InputQuery(LumMsg_ChangeGroupName, LumMsg_GroupName, name) && !Trim(name).empty()) g->SetName(name);
  FillGroups();
}

void TChartEditForm::BDeleteGroupClick(TObject*) {
  TSeriesGroup* g = GroupAt(Groups->ItemIndex());
  if (!g || !ConfirmDelete(g->Name(), BDeleteGroup)) return;
  if (LBSeries->SeriesGroup() == g) LBSeries->SetSeriesGroup(nullptr);
  delete g;
  FillGroups();
}

void TChartEditForm::GroupsDragOver(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
  Accept = false;
  TChartSeries* s = LBSeries->SelectedSeries();
  if (Source != LBSeries || !Chart() || !s) return;
  const int entry = Groups->ItemAtPos({X, Y}, true);
  if (entry < 0) return;
  if (GroupOffset() && entry == 0) {
    Accept = true;
    return;
  }
  TSeriesGroup* g = GroupAt(entry);
  Accept = g && g->Series().IndexOf(s) < 0;
}

void TChartEditForm::GroupsDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  bool accept = false;
  GroupsDragOver(Sender, Source, X, Y, dsDragMove, accept);
  if (!accept) return;
  TChartSeries* s = LBSeries->SelectedSeries();
  TSeriesGroup* shown = LBSeries->SeriesGroup();
  if (TSeriesGroup* g = GroupAt(Groups->ItemAtPos({X, Y}, true))) g->Add(s);
  if (shown) shown->Remove(s);
  FillGroups();
}
