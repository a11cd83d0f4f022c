// The tools and animations galleries: tabs by tool kind, the narrow form without a
// demo, the Add button, descriptions, glyphs through ancestors and throw-away
// instances that never outlive their use.
#include <gtest/gtest.h>

#include <memory>

#include "engine/helpers.h"
#include "engine/tools.h"
#include "form_inventory.h"
#include "gallery/toolsgallery.h"
#include "gallery_test_util.h"
#include "platform/testing.h"

namespace {

int liveTools = 0;

template <class Base, int Kind>
class TKindTool : public Base {
public:
  explicit TKindTool(TComponent* AOwner) : Base(AOwner) { ++liveTools; }
  ~TKindTool() override { --liveTools; }
  std::string Description() const override { return Kind == 0 ? "Series kind" : Kind == 1 ? "Axis kind" : "Other kind"; }
  std::string LongDescription() const override { return "Long text of " + Description(); }
};

class TSeriesKindTool : public TKindTool<TLumCustomToolSeries, 0> {
  DECLARE_CLASS(TSeriesKindTool, TLumCustomToolSeries)
public:
  using TKindTool::TKindTool;
};
class TAxisKindTool : public TKindTool<TLumCustomToolAxis, 1> {
  DECLARE_CLASS(TAxisKindTool, TLumCustomToolAxis)
public:
  using TKindTool::TKindTool;
};
class TOtherKindTool : public TKindTool<TLumCustomTool, 2> {
  DECLARE_CLASS(TOtherKindTool, TLumCustomTool)
public:
  using TKindTool::TKindTool;
};
IMPLEMENT_CLASS(TSeriesKindTool, TLumCustomToolSeries)
IMPLEMENT_CLASS(TAxisKindTool, TLumCustomToolAxis)
IMPLEMENT_CLASS(TOtherKindTool, TLumCustomTool)

class ToolsGalleryTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    for (TClass c : classes) LumToolTypes().Add(c);
  }
  void TearDown() override {
    for (TClass c : classes) LumToolTypes().Remove(c);
  }
  std::vector<TClass> classes{TOtherKindTool::StaticClass(), TAxisKindTool::StaticClass(),
                              TSeriesKindTool::StaticClass()};
};

std::vector<std::string> Items(TListBox* L) {
  std::vector<std::string> v;
  for (int i = 0; i < L->Count(); ++i) v.push_back(L->Items()->Strings(i));
  return v;
}

TEST_F(ToolsGalleryTest, TabsListEachKindAndAddNeedsAChoice) {
  TLumToolsGallery g(nullptr);
  g.Show();
  EXPECT_EQ(g.Width(), 300);
  EXPECT_FALSE(g.PanelDemos->Visible());
  EXPECT_FALSE(g.CBView3D->Visible());
  EXPECT_FALSE(g.LabelClass->Visible());
  // The description: no border of its own, a flat raised bevel once shown.
  EXPECT_TRUE(g.MemoDesc->BorderStyle() == bsNone && g.MemoDesc->BevelKind() == bkFlat &&
              g.MemoDesc->BevelOuter() == bvRaised);
  gallerytest::CheckLayout(&g);
  struct { int Tab; std::vector<std::string> Items; } tabs[] = {
      {0, {"Series kind"}}, {1, {"Axis kind"}}, {2, {"Other kind"}}};
  for (const auto& t : tabs) {
    g.TabControl1->SetTabIndex(t.Tab);
    g.TabChange(g.TabControl1);
    EXPECT_EQ(Items(g.LBTool), t.Items) << t.Tab;
    EXPECT_FALSE(g.BOk->Enabled());
    EXPECT_EQ(g.SelectedTool(), nullptr);
  }
  g.LBTool->SetItemIndex(0);
  g.LBToolClick(g.LBTool);
  EXPECT_TRUE(g.BOk->Enabled());
  EXPECT_EQ(g.SelectedTool(), TOtherKindTool::StaticClass());
  EXPECT_EQ(Trim(g.MemoDesc->Lines()->Text()), "Long text of Other kind");
  g.LBTool->SetItemIndex(-1);
  g.LBToolClick(g.LBTool);
  EXPECT_FALSE(g.BOk->Enabled());
  EXPECT_EQ(g.MemoDesc->Lines()->Count(), 0);
  g.Repaint();
  Application->ProcessMessages();
  EXPECT_EQ(liveTools, 0) << "every throw-away instance is freed";
}

TEST_F(ToolsGalleryTest, DoubleClickChoosesAndGlyphsComeFromAncestors) {
  TLumToolsGallery g(nullptr);
  TestInput::PostCall([&] {
    g.TabControl1->SetTabIndex(1);
    g.TabChange(g.TabControl1);
    g.LBTool->SetItemIndex(0);
    g.LBTool->OnDblClick(g.LBTool);
  });
  EXPECT_EQ(g.ShowModal(), mrOk);
  EXPECT_EQ(g.SelectedTool(), TAxisKindTool::StaticClass());
  TBitmap own, ancestor;
  TAxisKindTool tool(nullptr);
  ASSERT_TRUE(LoadClassBitmap(&tool, &own));
  ancestor.LoadFromResourceName("TLumCustomToolAxis");
  EXPECT_EQ(own.Width(), 16);
  EXPECT_EQ(own.Canvas()->Pixels(0, 14), ancestor.Canvas()->Pixels(0, 14));
}

TEST_F(ToolsGalleryTest, AnimationsGalleryListsEveryAnimationClassAndHooksClearAtExit) {
  LumAnimationTypes().Add(TOtherKindTool::StaticClass());
  LumAnimationTypes().Add(TAxisKindTool::StaticClass());
  {
    TLumAnimationsGallery g(nullptr);
    g.Show();
    EXPECT_EQ(g.Caption(), "Chart Animations Gallery");
    EXPECT_EQ(Items(g.LBTool), (std::vector<std::string>{"Axis kind", "Other kind"}));
    g.Hide();
  }
  LumAnimationTypes().Remove(TOtherKindTool::StaticClass());
  LumAnimationTypes().Remove(TAxisKindTool::StaticClass());
  ToolsGalleryDemoHook = [](TClass, TPanel*) {};
  AnimationsGalleryDemoHook = [](TClass, TPanel*) {};
  LumToolsGalleryUnitDone();
  EXPECT_EQ(ToolsGalleryDemoHook, nullptr);
  EXPECT_EQ(AnimationsGalleryDemoHook, nullptr);
  LumToolsGalleryUnitInit();
}

}  // namespace
