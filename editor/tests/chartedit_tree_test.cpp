// The chart editor's tree and its series groups: the nodes built for a chart, the
// pages a node shows, the nodes following series and tools as they come and go, and
// the group list with its checks, buttons and dropped series.
#include <string>
#include <vector>

#include "analysis/tools_cursor.h"
#include "canvas/lumconst.h"
#include "chart/chartlists.h"
#include "chartedit_fixture.h"
#include "editor/axispage.h"
#include "editor/panelpages.h"
#include "editor/seriespage.h"
#include "editor/toolspage.h"
#include "engine/groups.h"
#include "gallery/chartgrid.h"

namespace {

using editortest::ChartEditTest;
using editortest::ChartEditTreeTest;

std::vector<std::string> Texts(TTreeNode* Parent) {
  std::vector<std::string> v;
  for (int i = 0; Parent && i < Parent->Count(); ++i) v.push_back(Parent->Item(i)->Text());
  return v;
}

std::vector<std::string> Roots(TTreeView* Tree) {
  std::vector<std::string> v;
  for (int i = 0; i < Tree->Items()->RootCount(); ++i) v.push_back(Tree->Items()->Root(i)->Text());
  return v;
}

TTreeNode* Child(TTreeNode* Parent, const std::string& Text) {
  for (int i = 0; Parent && i < Parent->Count(); ++i)
    if (Parent->Item(i)->Text() == Text) return Parent->Item(i);
  return nullptr;
}

TTreeNode* Root(TTreeView* Tree, const std::string& Text) {
  for (int i = 0; i < Tree->Items()->RootCount(); ++i)
    if (Tree->Items()->Root(i)->Text() == Text) return Tree->Items()->Root(i);
  return nullptr;
}

// ---- Building ------------------------------------------------------------------------
TEST_F(ChartEditTreeTest, NodesForEverythingEditable) {
  TChartEditForm* e = Open();
  ASSERT_NE(e->TreePanel(), nullptr);
  EXPECT_FALSE(e->MainPage->Visible());
  EXPECT_TRUE(e->TreeSplitter->Visible());
  EXPECT_EQ(e->ButtonHelp->Left(), 16);
  EXPECT_EQ(e->ClientWidth(), e->WidthWithoutTree() + e->Tree->Width() + e->TreeSplitter->Width());
  std::vector<std::string> roots = {"Series", "Chart", "Data", "Tools"};
  if (e->TabAnimations->TabVisible()) roots.push_back("Animations");
  roots.insert(roots.end(), {"Export", "Print"});
  EXPECT_EQ(Roots(e->Tree), roots);
  EXPECT_EQ(Texts(e->SeriesNode()), (std::vector<std::string>{"Acoustic", "Optic", "Atoms", "Bars", "Area", "Average"}));
  TTreeNode* chartNode = Root(e->Tree, "Chart");
  EXPECT_TRUE(chartNode->Expanded());
  EXPECT_EQ(chartNode->Data(), e->SubPage);
  EXPECT_EQ(Texts(chartNode), (std::vector<std::string>{"General", "Axis", "Titles", "Legend", "Panel", "Paging",
                                                        "Walls", "3D"}));
  EXPECT_EQ(Texts(Child(chartNode, "Axis")), (std::vector<std::string>{"Left Axis", "Right Axis", "Top Axis",
                                                                       "Bottom Axis", "Depth Right", "Depth Top",
                                                                       "Custom 0"}));
  EXPECT_EQ(Texts(Child(chartNode, "Titles")), (std::vector<std::string>{"Title", "SubTitle", "SubFoot", "Footer"}));
  EXPECT_EQ(Texts(Child(chartNode, "Walls")), (std::vector<std::string>{"Left", "Right", "Bottom", "Back"}));
  EXPECT_EQ(Texts(e->ToolsNode()), (std::vector<std::string>{chart->Tools()->GetTool(0)->Description(),
                                                              chart->Tools()->GetTool(1)->Description()}));
  // The first node is selected: the series list shows in the panel.
  EXPECT_EQ(e->Tree->Selected(), e->SeriesNode());
  EXPECT_EQ(e->PanelTop->Parent(), e->TreePanel());
  EXPECT_EQ(e->LBSeries->Parent(), e->TreePanel());
}

TEST_F(ChartEditTreeTest, AChartWithoutCustomAxesHasSixAxisNodes) {
  while (chart->CustomAxes()->Count() > 0) {
    for (TChartSeries* s : chart->SeriesList()) s->SetVertAxis(aLeftAxis);
    delete chart->CustomAxes()->Items(0);
  }
  TChartEditForm* e = Open();
  EXPECT_EQ(Child(Root(e->Tree, "Chart"), "Axis")->Count(), 6);
}

TEST_F(ChartEditTreeTest, HiddenPagesLeaveTheirNodesOut) {
  // Only the series list among the sub pages: no Chart node.
  TChartEditForm* e = Open([](TChartEditForm* f) { f->HiddenTabs = {1, 2, 3, 4, 5, 6, 7, 8, epData, epPrint}; });
  EXPECT_EQ(Root(e->Tree, "Chart"), nullptr);
  EXPECT_EQ(Root(e->Tree, "Data"), nullptr);
  EXPECT_EQ(Root(e->Tree, "Print"), nullptr);
  EXPECT_NE(e->SeriesNode(), nullptr);
  delete e;
  // Neither the list nor the series page: no Series node; the Chart node lists the rest.
  e = Open([](TChartEditForm* f) { f->HiddenTabs = {epSeriesList, epSeries, epAxis}; });
  EXPECT_EQ(e->SeriesNode(), nullptr);
  EXPECT_EQ(Texts(Root(e->Tree, "Chart")), (std::vector<std::string>{"General", "Titles", "Legend", "Panel",
                                                                      "Paging", "Walls", "3D"}));
}

// ---- Selecting -------------------------------------------------------------------
TEST_F(ChartEditTreeTest, ObjectNodesOpenTheirPageOnThatObject) {
  TChartEditForm* e = Open();
  TTreeNode* chartNode = Root(e->Tree, "Chart");
  struct TCase {
    const char* Page;
    const char* Node;
    std::function<bool(TForm*)> Shows;
  };
  const std::vector<TCase> cases = {
      {"Axis", "Right Axis", [&](TForm* f) { return static_cast<TFormLumAxis*>(f)->Axis() == chart->RightAxis(); }},
      {"Axis", "Custom 0",
       [&](TForm* f) { return static_cast<TFormLumAxis*>(f)->Axis() == chart->CustomAxes()->Items(0); }},
      {"Axis", "Left Axis", [&](TForm* f) { return static_cast<TFormLumAxis*>(f)->Axis() == chart->LeftAxis(); }},
      {"Titles", "SubFoot", [&](TForm* f) { return static_cast<TFormLumTitle*>(f)->Title() == chart->SubFoot(); }},
      {"Titles", "Footer", [&](TForm* f) { return static_cast<TFormLumTitle*>(f)->Title() == chart->Foot(); }},
      {"Walls", "Back", [&](TForm* f) { return static_cast<TFormLumWall*>(f)->Wall() == chart->BackWall(); }},
      {"Walls", "Bottom", [&](TForm* f) { return static_cast<TFormLumWall*>(f)->Wall() == chart->BottomWall(); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Node);
    e->Tree->SetSelected(Child(Child(chartNode, c.Page), c.Node));
    const int page = e->PageOfTab(static_cast<TTabSheet*>(Child(chartNode, c.Page)->Data()));
    TForm* f = e->PageForm(page);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Parent(), e->TreePanel());
    EXPECT_TRUE(c.Shows(f));
  }
  // The Chart node shows the whole page control; another node puts it back.
  e->Tree->SetSelected(chartNode);
  EXPECT_EQ(e->SubPage->Parent(), e->TreePanel());
  e->Tree->SetSelected(Root(e->Tree, "Data"));
  EXPECT_EQ(e->SubPage->Parent(), e->TabChart);
  EXPECT_EQ(e->ChartGrid1->Parent(), e->TreePanel());
  EXPECT_EQ(e->ChartGrid1->Chart(), chart);
  EXPECT_EQ(e->PageForm(epAxis)->Parent(), e->TabAxis);
  // A series node opens the series page on it; a tool node the tools page on it.
  TChartSeries* area = Series("Area");
  e->Tree->SetSelected(Child(e->SeriesNode(), "Area"));
  auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Series(), area);
  EXPECT_EQ(page->Parent(), e->TreePanel());
  e->Tree->SetSelected(e->ToolsNode()->Item(1));
  auto* tools = dynamic_cast<TFormLumTools*>(e->PageForm(epTools));
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(tools->SelectedTool(), chart->Tools()->GetTool(1));
  EXPECT_EQ(tools->Parent(), e->TreePanel());
  // Changing a page by code selects its node.
  e->ShowPage(epLegend);
  EXPECT_EQ(e->Tree->Selected(), Child(chartNode, "Legend"));
  EXPECT_EQ(e->PageForm(epLegend)->Parent(), e->TreePanel());
}

TEST_F(ChartEditTreeTest, TheTreeWidthIsKeptAndTheWidthWithoutItWritten) {
  Edit([](TChartEditForm* e) {
    e->Tree->SetWidth(150);
    e->SetClientWidth(e->WidthWithoutTree() + 150 + e->TreeSplitter->Width() + 20);
    EXPECT_EQ(e->WidthWithoutTree(), e->ClientWidth() - 150 - e->TreeSplitter->Width());
    e->Tree->SetSelected(Child(Root(e->Tree, "Chart"), "Axis"));
  });
  EXPECT_EQ(editortest::StoredInteger("TreeWidth"), 150);
  const int width = editortest::StoredInteger("Width");
  EXPECT_GT(width, 0);
  // Next time the form is that wide, and widened again by the tree.
  Edit([width](TChartEditForm* e) { EXPECT_EQ(e->WidthWithoutTree(), width); });
}

// ---- Keeping the tree current -----------------------------------------------------
TChartSeries* NewBarSeries(TComponent*, TCustomAxisPanel* Chart, TChartSeries*) {
  auto* s = new TBarSeries(Chart->Owner());
  s->SetName("Added");
  s->SetTitle("Added");
  s->SetParentChart(Chart);
  return s;
}

TEST_F(ChartEditTreeTest, SeriesNodesFollowAddCloneDeleteRetitleAndFree) {
  TChartEditForm* e = Open();
  const int n = e->SeriesNode()->Count();
  auto* saved = GalleryNewSeriesHook;
  GalleryNewSeriesHook = NewBarSeries;
  e->BAddSeriesClick(nullptr);
  GalleryNewSeriesHook = saved;
  EXPECT_EQ(e->SeriesNode()->Count(), n + 1);
  EXPECT_EQ(e->SeriesNode()->GetLastChild()->Text(), "Added");
  // Add opens the series page on the new series, in the panel.
  auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Series(), Series("Added"));
  EXPECT_EQ(e->Tree->Selected()->Data(), Series("Added"));

  e->Tree->SetSelected(e->SeriesNode());
  e->LBSeries->SelectSeries(Series("Atoms"));
  e->BCloneSeriesClick(nullptr);
  EXPECT_EQ(e->SeriesNode()->Count(), n + 2);

  e->LBSeries->SelectSeries(Series("Optic"));
  TestDialogs::AnswerText("Optical branch");
  e->BRenameSeriesClick(nullptr);
  EXPECT_NE(Child(e->SeriesNode(), "Optical branch"), nullptr);

  e->Options &= std::uint16_t(~ceoAskDelete);
  e->LBSeries->SelectSeries(Series("Added"));
  e->RefreshButtons(nullptr);
  e->BDeleteSeriesClick(nullptr);
  EXPECT_EQ(e->SeriesNode()->Count(), n + 1);
  EXPECT_EQ(Series("Added"), nullptr);

  // Freed by code while its node shows its page: the node goes, the list shows.
  e->Tree->SetSelected(Child(e->SeriesNode(), "Bars"));
  delete Series("Bars");
  Pump();
  EXPECT_EQ(Child(e->SeriesNode(), "Bars"), nullptr);
  EXPECT_EQ(e->SeriesNode()->Count(), n);
  EXPECT_EQ(e->Tree->Selected(), e->SeriesNode());
  EXPECT_EQ(e->LBSeries->Parent(), e->TreePanel());
}

TEST_F(ChartEditTreeTest, ToolNodesFollowThePageAndToolsFreedElsewhere) {
  TChartEditForm* e = Open();
  e->Tree->SetSelected(e->ToolsNode());
  auto* tools = dynamic_cast<TFormLumTools*>(e->PageForm(epTools));
  ASSERT_NE(tools, nullptr);
  ASSERT_TRUE(tools->OnAddTool.Assigned());
  auto* extra = new TCursorTool(Host.get());
  extra->SetName("Extra");
  extra->SetParentChart(chart);
  tools->OnAddTool(extra);
  EXPECT_EQ(e->ToolsNode()->Count(), 3);
  e->Tree->SetSelected(e->ToolsNode()->Item(2));
  delete extra;
  Pump();
  EXPECT_EQ(e->ToolsNode()->Count(), 2);
  // A click on what is left still works.
  e->Tree->SetSelected(e->ToolsNode()->Item(0));
  EXPECT_EQ(tools->SelectedTool(), chart->Tools()->GetTool(0));
}

// ---- Series groups ------------------------------------------------------------------
class ChartEditGroupsTest : public ChartEditTest {
protected:
  void SetUp() override {
    ChartEditTest::SetUp();
    WriteEditorBooleanSetting("SeriesGroups", true);
    branches = chart->SeriesGroups()->GetGroup(0);
    others = chart->SeriesGroups()->Add("Others");
    others->Add(Series("Bars"));
  }
  TSeriesGroup* branches = nullptr;
  TSeriesGroup* others = nullptr;
};

std::vector<std::string> Items(TCheckListBox* L) {
  std::vector<std::string> v;
  for (int i = 0; i < L->Count(); ++i) v.push_back(L->Items()->Strings(i));
  return v;
}

TEST_F(ChartEditGroupsTest, AllComesFirstOnlyWithItsBit) {
  TChartEditForm* e = Open();
  EXPECT_EQ(Items(e->Groups), (std::vector<std::string>{"(all)", "Branches", "Others"}));
  EXPECT_EQ(e->GroupAt(1), branches);
  EXPECT_EQ(e->GroupAt(0), nullptr);
  delete e;
  e = Open([](TChartEditForm* f) { f->Options &= std::uint16_t(~ceoGroupAll); });
  EXPECT_EQ(Items(e->Groups), (std::vector<std::string>{"Branches", "Others"}));
  EXPECT_EQ(e->GroupAt(0), branches);
}

TEST_F(ChartEditGroupsTest, ChecksShowAndSwitchTheGroupsSeries) {
  Series("Optic")->SetActive(false);
  TChartEditForm* e = Open();
  EXPECT_EQ(e->Groups->State(0), cbUnchecked) << "not all series are active";
  EXPECT_EQ(e->Groups->State(1), cbGrayed) << "Branches partly";
  EXPECT_EQ(e->Groups->State(2), cbChecked);
  // A click on Branches' box: grey to unchecked switches both off.
  e->Groups->SetState(1, cbUnchecked);
  e->Groups->OnClickCheck(e->Groups);
  EXPECT_FALSE(Series("Acoustic")->Active() || Series("Optic")->Active());
  e->Groups->SetState(1, cbChecked);
  e->Groups->OnClickCheck(e->Groups);
  EXPECT_TRUE(Series("Acoustic")->Active() && Series("Optic")->Active());
  EXPECT_EQ(e->Groups->State(0), cbChecked) << "(all) follows";
  // Grey asks for nothing.
  e->Groups->SetState(2, cbGrayed);
  e->Groups->OnClickCheck(e->Groups);
  EXPECT_TRUE(Series("Bars")->Active());
  // (all) switches every series.
  e->Groups->SetState(0, cbUnchecked);
  e->Groups->OnClickCheck(e->Groups);
  for (TChartSeries* s : chart->SeriesList()) {
    EXPECT_FALSE(s->Active());
  }
  EXPECT_EQ(e->Groups->State(1), cbUnchecked);
  e->Groups->SetState(0, cbChecked);
  e->Groups->OnClickCheck(e->Groups);
  EXPECT_TRUE(chart->SeriesList().AllActive());
}

TEST_F(ChartEditGroupsTest, AnEntryRestrictsTheListAndTheButtonsEditGroups) {
  TChartEditForm* e = Open();
  e->Groups->SetItemIndex(1);
  e->GroupsClick(e->Groups);
  EXPECT_EQ(e->LBSeries->Count(), 2);
  EXPECT_TRUE(e->BDeleteGroup->Enabled() && e->BRenameGroup->Enabled());
  e->Groups->SetItemIndex(0);
  e->GroupsClick(e->Groups);
  EXPECT_EQ(e->LBSeries->Count(), chart->SeriesCount());
  EXPECT_FALSE(e->BDeleteGroup->Enabled() || e->BRenameGroup->Enabled());
  // Add asks until the name is not blank, then shows the new, empty group.
  TestDialogs::AnswerText("  ");
  TestDialogs::AnswerText("Mine");
  e->BAddGroupClick(nullptr);
  ASSERT_EQ(chart->SeriesGroups()->Count(), 3);
  EXPECT_EQ(chart->SeriesGroups()->GetGroup(2)->Name(), "Mine");
  EXPECT_EQ(e->Groups->ItemIndex(), 3);
  EXPECT_EQ(e->LBSeries->Count(), 0);
  auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].Title, "Add new group");
  EXPECT_EQ(asked[0].Text, "Group name:");
  // A cancelled question adds nothing.
  TestDialogs::AnswerCancel();
  e->BAddGroupClick(nullptr);
  EXPECT_EQ(chart->SeriesGroups()->Count(), 3);
  // Rename: a blank answer keeps the name.
  TestDialogs::AnswerText("Yours");
  e->BRenameGroupClick(nullptr);
  EXPECT_EQ(chart->SeriesGroups()->GetGroup(2)->Name(), "Yours");
  EXPECT_EQ(TestDialogs::Asked().back().Title, "Change group name");
  TestDialogs::AnswerText("");
  e->BRenameGroupClick(nullptr);
  EXPECT_EQ(chart->SeriesGroups()->GetGroup(2)->Name(), "Yours");
  // Delete asks; No keeps it.
  TestDialogs::AnswerButton(mrNo);
  e->BDeleteGroupClick(nullptr);
  EXPECT_EQ(chart->SeriesGroups()->Count(), 3);
  TestDialogs::AnswerButton(mrYes);
  e->BDeleteGroupClick(nullptr);
  EXPECT_EQ(chart->SeriesGroups()->Count(), 2);
  EXPECT_EQ(TestDialogs::Asked().back().Text, "Delete Yours ?");
  EXPECT_EQ(Items(e->Groups), (std::vector<std::string>{"(all)", "Branches", "Others"}));
  EXPECT_EQ(e->LBSeries->Count(), 1) << "the last entry, Others, shows";
}

// A drag of the list's selected row onto an entry of the group list, as the mouse makes it.
void DragToEntry(TChartEditForm* E, int Entry) {
  const TRect from = E->LBSeries->ItemRect(E->LBSeries->ItemIndex());
  const TRect to = E->Groups->ItemRect(Entry);
  TestInput::PostDrag(E->LBSeries, {E->LBSeries->ColumnLeft(TChartListBox::colTitle) + 20, (from.Top + from.Bottom) / 2},
                      E->Groups, {to.Left + 30, (to.Top + to.Bottom) / 2});
  TestInput::PumpPasses(12);
}

TEST_F(ChartEditGroupsTest, DroppedSeriesMoveBetweenGroups) {
  TChartEditForm* e = Open();
  // The list shows Branches; Acoustic dropped on Branches again is refused.
  e->Groups->SetItemIndex(1);
  e->GroupsClick(e->Groups);
  e->LBSeries->ClearSelection();
  e->LBSeries->SetItemIndex(0);
  e->LBSeries->SetSelected(0, true);
  ASSERT_EQ(e->LBSeries->SelectedSeries(), Series("Acoustic"));
  DragToEntry(e, 1);
  EXPECT_EQ(branches->Series().Count(), 2);
  EXPECT_EQ(others->Series().Count(), 1);
  // Onto Others: it moves there.
  DragToEntry(e, 2);
  EXPECT_LT(branches->Series().IndexOf(Series("Acoustic")), 0);
  EXPECT_GE(others->Series().IndexOf(Series("Acoustic")), 0);
  EXPECT_EQ(e->Groups->ItemIndex(), 1) << "the same entry stays selected";
  EXPECT_EQ(e->LBSeries->Count(), 1);
  // Onto (all): it only leaves the group the list shows.
  e->Groups->SetItemIndex(2);
  e->GroupsClick(e->Groups);
  e->LBSeries->SelectSeries(Series("Bars"));
  DragToEntry(e, 0);
  EXPECT_LT(others->Series().IndexOf(Series("Bars")), 0);
  EXPECT_EQ(e->LBSeries->Count(), 1);
  EXPECT_NE(chart->SeriesList().IndexOf(Series("Bars")), -1) << "still in the chart";
}

TEST_F(ChartEditGroupsTest, AnAddedSeriesJoinsTheGroupShown) {
  TChartEditForm* e = Open();
  e->Groups->SetItemIndex(2);
  e->GroupsClick(e->Groups);
  auto* saved = GalleryNewSeriesHook;
  GalleryNewSeriesHook = NewBarSeries;
  e->BAddSeriesClick(nullptr);
  GalleryNewSeriesHook = saved;
  ASSERT_NE(Series("Added"), nullptr);
  EXPECT_GE(others->Series().IndexOf(Series("Added")), 0);
  EXPECT_EQ(e->LBSeries->Count(), 2);
}

}  // namespace
