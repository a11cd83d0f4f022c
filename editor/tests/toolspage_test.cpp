// The tools and animations pages: the list as the chart holds it, adding through
// the galleries, deleting, cloning, moving, the tool's editor form, the designing
// extras, and tools or charts freed while the page shows them.
#include <memory>
#include <string>
#include <vector>

#include "analysis/tools_annotation.h"
#include "analysis/tools_bands.h"
#include "analysis/tools_cursor.h"
#include "chart/chartlists.h"
#include "chart/registry.h"
#include "chart/series.h"
#include "editor/toolspage.h"
#include "editor_test.h"
#include "form_inventory.h"

namespace {

using editortest::EditorTest;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::WhenModal;

// A chart and a tool that tests may mark as designed.
class TDesignChart : public TChart {
public:
  using TChart::TChart;
  void Design() { SetState(csDesigning); }
};

// An animation: a tool kept in the chart's animation list.
class TTestAnimation : public TLumCustomTool {
  DECLARE_CLASS(TTestAnimation, TLumCustomTool)
public:
  explicit TTestAnimation(TComponent* AOwner) : TLumCustomTool(AOwner) {}
  std::string Description() const override { return "Test Animation"; }

protected:
  TChartTools* ToolListOf(TCustomAxisPanel* Chart) const override {
    auto* c = dynamic_cast<TCustomChart*>(Chart);
    return c ? c->Animations() : Chart->Tools();
  }
};
IMPLEMENT_CLASS(TTestAnimation, TLumCustomTool)

// A tool whose editor form is found by its name; the form may refuse to close.
class TEditedTool : public TLumCustomTool {
  DECLARE_CLASS(TEditedTool, TLumCustomTool)
public:
  explicit TEditedTool(TComponent* AOwner) : TLumCustomTool(AOwner) {}
  std::string Description() const override { return "Edited"; }
  std::string EditorClassName() const override { return "TTestToolEditor"; }
};
IMPLEMENT_CLASS(TEditedTool, TLumCustomTool)

class TTestToolEditor : public TForm {
  DECLARE_CLASS(TTestToolEditor, TForm)
public:
  explicit TTestToolEditor(TComponent* AOwner) : TForm(AOwner) {
    OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = !Refuse; };
  }
  static inline bool Refuse = false;
};
IMPLEMENT_CLASS(TTestToolEditor, TForm)

std::vector<std::string> Items(TListBox* L) {
  std::vector<std::string> v;
  for (int i = 0; i < L->Count(); ++i) v.push_back(L->Items()->Strings(i));
  return v;
}

class ToolsPageTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    chart = new TDesignChart(Host.get());
    chart->SetParent(Host.get());
    chart->SetBounds(0, 0, 400, 300);
    series = new TLineSeries(Host.get());
    series->SetParentChart(chart);
    RegisterClasses({TTestToolEditor::StaticClass(), TEditedTool::StaticClass()});
    Host->Show();
  }
  void TearDown() override {
    TTestToolEditor::Refuse = false;
    EditorTest::TearDown();
  }
  TLumCustomTool* AddTool(TLumCustomTool* T, const char* Name) {
    T->SetName(Name);
    T->SetParentChart(chart);
    return T;
  }
  // Three tools: a cursor, a colour band and an annotation.
  void ThreeTools() {
    AddTool(new TCursorTool(Host.get()), "Cur");
    AddTool(new TColorBandTool(Host.get()), "Band");
    AddTool(new TAnnotationTool(Host.get()), "Note");
  }
  template <class P = TFormLumTools>
  P* Open(TChartTools* List) {
    auto* p = new P(Host.get());
    p->SetToolList(List);
    p->SetParent(Host.get());
    p->SetBounds(400, 0, 404, 270);
    p->Show();
    Pump();
    return p;
  }
  std::vector<std::string> ChartOrder(TChartTools* L) {
    std::vector<std::string> v;
    for (TLumCustomTool* t : *L) v.push_back(t->Name());
    return v;
  }
  // Answers the gallery (owned by the page's owner) with the class of Text, or cancels.
  void AnswerGallery(const char* Text) {
    WhenModal([this, Text] {
      auto* g = editortest::Owned<TLumToolsGallery>(Host.get());
      ASSERT_NE(g, nullptr);
      if (!Text) return PostClick(g->BCan);
      for (int tab = 0; tab < g->TabControl1->Tabs()->Count(); ++tab) {
        g->TabControl1->SetTabIndex(tab);
        g->FillList();
        const int i = g->LBTool->Items()->IndexOf(Text);
        if (i < 0) continue;
        PostPickItem(g->LBTool, i);
        PostClick(g->BOk);
        return;
      }
      ADD_FAILURE() << Text << " not in the gallery";
      PostClick(g->BCan);
    });
  }
  TDesignChart* chart = nullptr;
  TLineSeries* series = nullptr;
};

TEST_F(ToolsPageTest, ListsTheToolsShownInTheEditorAndFollowsTheSelection) {
  ThreeTools();
  auto* hidden = AddTool(new TCursorTool(Host.get()), "Hidden");
  hidden->SetShowInEditor(false);
  chart->Tools()->GetTool(1)->SetActive(false);
  TFormLumTools* p = Open(chart->Tools());
  EXPECT_EQ(Items(p->LBTools), (std::vector<std::string>{"Cursor", "Color Band", "Annotation"}));
  EXPECT_EQ(p->LBTools->ItemIndex(), 0) << "the first shown";
  EXPECT_TRUE(p->CBActive->Checked());
  EXPECT_FALSE(p->BMoveUp->Enabled());
  EXPECT_TRUE(p->BMoveDown->Enabled() && p->BDelete->Enabled() && p->BClone->Enabled());
  PostPickItem(p->LBTools, 1);
  Pump();
  EXPECT_FALSE(p->CBActive->Checked());
  PostClick(p->CBActive);
  Pump();
  EXPECT_TRUE(chart->Tools()->GetTool(1)->Active());
  PostPickItem(p->LBTools, 2);
  Pump();
  EXPECT_FALSE(p->BMoveDown->Enabled());
  EXPECT_TRUE(p->BMoveUp->Enabled());
}

TEST_F(ToolsPageTest, AddsThroughTheGalleryOrNothingWhenCancelled) {
  std::vector<TLumCustomTool*> told;
  TFormLumTools* p = Open(chart->Tools());
  p->OnAddTool = [&](TLumCustomTool* T) { told.push_back(T); };
  AnswerGallery(nullptr);
  PostClick(p->BAdd);
  Pump();
  EXPECT_EQ(chart->Tools()->Count(), 0) << "a cancelled gallery adds nothing";
  EXPECT_EQ(p->LBTools->Count(), 0);
  EXPECT_TRUE(told.empty());
  for (const char* kind : {"Cursor", "Color Band"}) {
    AnswerGallery(kind);
    PostClick(p->BAdd);
    Pump();
  }
  ASSERT_EQ(chart->Tools()->Count(), 2);
  EXPECT_EQ(ChartOrder(chart->Tools()), (std::vector<std::string>{"ChartTool1", "ChartTool2"}));
  EXPECT_EQ(chart->Tools()->GetTool(0)->Owner(), Host.get()) << "owned by the chart's owner";
  EXPECT_NE(dynamic_cast<TColorBandTool*>(chart->Tools()->GetTool(1)), nullptr);
  EXPECT_EQ(told, (std::vector<TLumCustomTool*>{chart->Tools()->GetTool(0), chart->Tools()->GetTool(1)}));
  EXPECT_EQ(Items(p->LBTools), (std::vector<std::string>{"Cursor", "Color Band"}));
  EXPECT_EQ(p->LBTools->ItemIndex(), 1) << "the new tool selected";
}

TEST_F(ToolsPageTest, DeletingSelectsTheOneBeforeOrTheLast) {
  struct TCase {
    int Deleted;
    std::vector<std::string> Left;
    int Selected;
  };
  const TCase cases[] = {
      {0, {"Color Band", "Annotation"}, 1},  // the first of three: the new last item
      {1, {"Cursor", "Annotation"}, 0},      // from the second on: the one before
      {2, {"Cursor", "Color Band"}, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Deleted);
    TearDown();
    SetUp();
    ThreeTools();
    TFormLumTools* p = Open(chart->Tools());
    std::vector<TLumCustomTool*> told;
    p->OnDeleteTool = [&](TLumCustomTool* T) { told.push_back(T); };
    TLumCustomTool* victim = chart->Tools()->GetTool(c.Deleted);
    const std::string description = victim->Description();
    PostPickItem(p->LBTools, c.Deleted);
    Pump();
    TestDialogs::AnswerButton(mrNo);
    PostClick(p->BDelete);
    Pump();
    EXPECT_EQ(chart->Tools()->Count(), 3) << "No keeps it";
    TestDialogs::AnswerButton(mrYes);
    PostClick(p->BDelete);
    Pump();
    const auto asked = TestDialogs::Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].Text, "Delete " + description + " ?");
    EXPECT_EQ(told, std::vector<TLumCustomTool*>{victim});
    EXPECT_EQ(Items(p->LBTools), c.Left);
    EXPECT_EQ(p->LBTools->ItemIndex(), c.Selected);
    EXPECT_EQ(chart->Tools()->Count(), 2);
  }
}

TEST_F(ToolsPageTest, ClonesAndMovesInTheListTheChartAndTheOwner) {
  ThreeTools();
  chart->Tools()->GetTool(0)->SetActive(false);
  TFormLumTools* p = Open(chart->Tools());
  PostClick(p->BClone);
  Pump();
  ASSERT_EQ(chart->Tools()->Count(), 4);
  TLumCustomTool* copy = chart->Tools()->GetTool(3);
  EXPECT_NE(dynamic_cast<TCursorTool*>(copy), nullptr);
  EXPECT_EQ(copy->Name(), "ChartTool1");
  EXPECT_FALSE(copy->Active()) << "properties copied";
  EXPECT_EQ(copy->Owner(), Host.get());
  EXPECT_EQ(p->LBTools->ItemIndex(), 3);

  auto ownerIndex = [&](const char* Name) { return Host->FindComponent(Name)->ComponentIndex(); };
  const int curAt = ownerIndex("Cur"), bandAt = ownerIndex("Band");
  PostPickItem(p->LBTools, 1);
  PostClick(p->BMoveUp);
  Pump();
  EXPECT_EQ(Items(p->LBTools), (std::vector<std::string>{"Color Band", "Cursor", "Annotation", "Cursor"}));
  EXPECT_EQ(ChartOrder(chart->Tools()), (std::vector<std::string>{"Band", "Cur", "Note", "ChartTool1"}));
  EXPECT_EQ(ownerIndex("Band"), curAt);
  EXPECT_EQ(ownerIndex("Cur"), bandAt);
  EXPECT_EQ(p->LBTools->ItemIndex(), 0) << "the moved item stays selected";
  PostClick(p->BMoveDown);
  PostClick(p->BMoveDown);
  Pump();
  EXPECT_EQ(ChartOrder(chart->Tools()), (std::vector<std::string>{"Cur", "Note", "Band", "ChartTool1"}));
  EXPECT_EQ(p->LBTools->ItemIndex(), 2);
}

TEST_F(ToolsPageTest, TheToolsEditorFormIsShownAndMayKeepItsTool) {
  AddTool(new TEditedTool(Host.get()), "Ed");
  AddTool(new TCursorTool(Host.get()), "Cur");  // names "TSeriesToolEditor": registered by none
  TFormLumTools* p = Open(chart->Tools());
  auto* editor = dynamic_cast<TTestToolEditor*>(p->ToolEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Parent(), p->PanelToolEditor);
  EXPECT_EQ(editor->Tag(), std::intptr_t(chart->Tools()->GetTool(0)));
  TTestToolEditor::Refuse = true;
  PostPickItem(p->LBTools, 1);
  Pump();
  EXPECT_EQ(p->LBTools->ItemIndex(), 0) << "the form refused: back to its tool";
  EXPECT_EQ(p->ToolEditor(), editor);
  TTestToolEditor::Refuse = false;
  PostPickItem(p->LBTools, 1);
  Pump();
  EXPECT_EQ(p->ToolEditor(), nullptr);
  EXPECT_EQ(p->PanelToolEditor->ControlCount(), 0);
}

TEST_F(ToolsPageTest, WhileDesigningTheShowBoxAndTheRenamingBar) {
  chart->Design();
  ThreeTools();
  TFormLumTools* p = Open(chart->Tools());
  EXPECT_TRUE(p->CBShowInEditor->Visible());
  EXPECT_EQ(p->CBActive->Top(), 3);
  EXPECT_TRUE(p->PBottom->Visible());
  EXPECT_EQ(p->PBottom->Caption(), "Cur (TCursorTool)");
  EXPECT_EQ(p->PBottom->Cursor(), crLumHand);
  PostClick(p->CBShowInEditor);
  Pump();
  EXPECT_FALSE(chart->Tools()->GetTool(0)->ShowInEditor());
  TestDialogs::AnswerText("Pointer");
  PostClick(p->PBottom);
  Pump();
  EXPECT_EQ(chart->Tools()->GetTool(0)->Name(), "Pointer");
  EXPECT_EQ(p->PBottom->Caption(), "Pointer (TCursorTool)");
  const auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Title, "Change tool name");
  EXPECT_EQ(asked[0].Text, "New tool name?");
  // A name refused says why and keeps the old one.
  ClearRecordedMessages();
  TestDialogs::AnswerText("Band");
  PostClick(p->PBottom);
  Pump();
  EXPECT_EQ(chart->Tools()->GetTool(0)->Name(), "Pointer");
  EXPECT_EQ(RecordedMessages().size(), 1u);
  formcheck::CheckLayout(p);
}

TEST_F(ToolsPageTest, AnimationsComeFromTheirGalleryAndList) {
  LumAnimationTypes().Add(TTestAnimation::StaticClass());
  TFormLumAnimations* p = Open<TFormLumAnimations>(chart->Animations());
  EXPECT_EQ(p->Name(), "FormLumAnimations");
  AnswerGallery("Test Animation");
  PostClick(p->BAdd);
  Pump();
  LumAnimationTypes().Remove(TTestAnimation::StaticClass());
  ASSERT_EQ(chart->Animations()->Count(), 1);
  EXPECT_EQ(chart->Animations()->GetTool(0)->Name(), "ChartAnimation1");
  EXPECT_EQ(chart->Tools()->Count(), 0);
  EXPECT_EQ(Items(p->LBTools), std::vector<std::string>{"Test Animation"});
  // Added behind the page's back: a refresh shows it.
  AddTool(new TTestAnimation(Host.get()), "Late");
  p->RefreshTools();
  EXPECT_EQ(p->LBTools->Count(), 2);
  EXPECT_EQ(p->LBTools->ItemIndex(), 0);
}

TEST_F(ToolsPageTest, TheTagNamesTheListOnlyWhenAReachableChartHasIt) {
  ThreeTools();
  auto* p = new TFormLumTools(Host.get());
  p->SetTag(std::intptr_t(chart->Tools()));
  p->Show();
  EXPECT_EQ(p->ToolList(), chart->Tools());
  auto* stray = new TFormLumAnimations(Host.get());
  stray->SetTag(std::intptr_t(12345));
  stray->Show();
  EXPECT_EQ(stray->ToolList(), nullptr);
  EXPECT_EQ(stray->LBTools->Count(), 0);
}

TEST_F(ToolsPageTest, FreedToolsAndChartsLeaveThePage) {
  ThreeTools();
  AddTool(new TEditedTool(Host.get()), "Ed");
  TFormLumTools* p = Open(chart->Tools());
  PostPickItem(p->LBTools, 3);
  Pump();
  ASSERT_NE(p->ToolEditor(), nullptr);
  delete Host->FindComponent("Ed");  // the tool its editor form shows
  EXPECT_EQ(p->ToolEditor(), nullptr);
  EXPECT_EQ(Items(p->LBTools), (std::vector<std::string>{"Cursor", "Color Band", "Annotation"}));
  delete Host->FindComponent("Band");
  EXPECT_EQ(Items(p->LBTools), (std::vector<std::string>{"Cursor", "Annotation"}));
  p->LBTools->Invalidate();
  Pump();  // drawing touches only live tools
  delete chart;
  chart = nullptr;
  EXPECT_EQ(p->ToolList(), nullptr);
  EXPECT_EQ(p->LBTools->Count(), 0);
  // Every button still works on what is left.
  AnswerGallery(nullptr);
  for (TControl* c : std::initializer_list<TControl*>{p->BAdd, p->BDelete, p->BClone, p->BMoveUp, p->CBActive})
    PostClick(c);
  Pump();
  TestInput::ClearModalScripts();
  p->RefreshTools();
  SUCCEED();
}

}  // namespace
