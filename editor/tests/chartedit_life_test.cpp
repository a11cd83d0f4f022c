// The chart editor window while what it edits goes: the chart freed during the modal
// run leaves an editor without a chart whose pages can all still be clicked; a series
// freed by code leaves the list, tree, series page and grid; and a smoke run through
// every page and tree node of the sample chart.
#include <string>

#include "chart/chartlists.h"
#include "chartedit_fixture.h"
#include "editor/seriespage.h"
#include "gallery/chartgrid.h"

namespace {

using editortest::ChartEditTest;
using editortest::ChartEditTreeTest;

// Every page as a user would pick it, then every tree node.
void VisitEverything(TChartEditForm* E) {
  for (int p = 0; p < epPageCount; ++p) {
    E->ShowPage(p);
    TestInput::PumpPasses(2);
  }
  for (int i = 0; i < E->Tree->Items()->Count(); ++i) {
    E->Tree->SetSelected(E->Tree->Items()->Item(i));
    TestInput::PumpPasses(2);
  }
}

void ExpectWithoutChart(TChartEditForm* E) {
  EXPECT_EQ(E->Chart(), nullptr);
  EXPECT_FALSE(E->MainPage->Enabled() || E->SubPage->Enabled());
  for (int p = 0; p < epPageCount; ++p) {
    EXPECT_EQ(E->PageForm(p), nullptr) << "page " << p;
  }
  EXPECT_EQ(E->LBSeries->Count(), 0);
  EXPECT_EQ(E->LBSeries->Chart(), nullptr);
  EXPECT_EQ(E->ChartGrid1->Chart(), nullptr);
  EXPECT_EQ(E->Tree->Items()->Count(), 0);
  EXPECT_EQ(E->Groups->Count(), 0);
}

class ChartEditLife : public ChartEditTest, public testing::WithParamInterface<bool> {
protected:
  ChartEditLife() { Tree = GetParam(); }
};

TEST_P(ChartEditLife, TheChartFreedDuringTheModalRun) {
  WriteEditorBooleanSetting("SeriesGroups", true);
  bool checked = false;
  TestInput::WhenModal([&] {
    TChartEditForm* e = editortest::Owned<TChartEditForm>(Host.get());
    ASSERT_NE(e, nullptr);
    VisitEverything(e);  // every page made
    TestInput::PostCall([&, e] {
      delete chart;
      chart = nullptr;
      TestInput::PostCall([&, e] {
        ExpectWithoutChart(e);
        VisitEverything(e);
        e->RefreshButtons(nullptr);
        EXPECT_FALSE(e->BAddSeries->Enabled());
        e->BAddSeriesClick(nullptr);
        e->MIShowAll->Click();
        e->SBCopyDataClick(nullptr);
        e->ButtonHelp->Click();
        ExpectWithoutChart(e);
        checked = true;
        TestInput::PostClick(e->BClose);
      });
    });
  });
  EditChart(Host.get(), chart);
  EXPECT_TRUE(checked);
  // Nothing of the place is written for an editor that lost its chart.
  EXPECT_EQ(editortest::StoredInteger("Left"), -1);
}

TEST_P(ChartEditLife, ASeriesFreedByCodeWhileItShows) {
  TChartSeries* atoms = Series("Atoms");
  bool checked = false;
  TestInput::WhenModal([&] {
    TChartEditForm* e = editortest::Owned<TChartEditForm>(Host.get());
    ASSERT_NE(e, nullptr);
    e->ShowPage(epData);
    e->EditTheSeries(atoms);
    auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Series(), atoms);
    const int rows = e->LBSeries->Count();
    TestInput::PostCall([&, e, page, rows] {
      delete atoms;
      TestInput::PostCall([&, e, page, rows] {
        EXPECT_EQ(e->LBSeries->Count(), rows - 1);
        EXPECT_LT(e->LBSeries->Items()->IndexOfObject(atoms), 0);
        EXPECT_NE(page->Series(), atoms);
        EXPECT_LT(page->CBSeries->Items()->IndexOfObject(atoms), 0);
        for (int c = 1; c < e->ChartGrid1->ColCount(); ++c) {
          TChartSeries* s = nullptr;
          e->ChartGrid1->Model().Column(c, &s);
          EXPECT_NE(s, atoms);
        }
        if (e->SeriesNode())
          for (int i = 0; i < e->SeriesNode()->Count(); ++i) {
            EXPECT_NE(e->SeriesNode()->Item(i)->Data(), atoms);
          }
        VisitEverything(e);
        checked = true;
        TestInput::PostClick(e->BClose);
      });
    });
  });
  EditChart(Host.get(), chart);
  EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(TabsAndTree, ChartEditLife, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& I) { return I.param ? "Tree" : "Tabs"; });

// Every page and node of the sample chart shows something, and the series page
// follows the list.
TEST_F(ChartEditTreeTest, SmokeEveryPageAndNode) {
  WriteEditorBooleanSetting("SeriesGroups", true);
  Edit([](TChartEditForm* e) {
    for (int i = 0; i < e->Tree->Items()->Count(); ++i) {
      TTreeNode* n = e->Tree->Items()->Item(i);
      SCOPED_TRACE(n->Text());
      e->Tree->SetSelected(n);
      TestInput::PumpPasses(2);
      EXPECT_EQ(e->Tree->Selected(), n);
      EXPECT_GT(e->TreePanel()->ControlCount(), 0);
      if (auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries)); page && n->Parent() == e->SeriesNode()) {
        EXPECT_EQ(static_cast<TObject*>(page->Series()), n->Data());
      }
    }
  });
}

TEST_F(ChartEditTest, SmokeEveryPageWithTabs) {
  WriteEditorBooleanSetting("SeriesGroups", true);
  Edit([](TChartEditForm* e) {
    for (int p = 0; p < epPageCount; ++p) {
      TTabSheet* tab = e->TabOfPage(p);
      if (!tab || !tab->TabVisible()) continue;
      SCOPED_TRACE(tab->Name());
      e->ShowPage(p);
      TestInput::PumpPasses(2);
      EXPECT_EQ(e->MainPage->ActivePage(), tab->PageControl() == e->SubPage ? e->TabChart : tab);
      if (tab->PageControl() == e->SubPage) {
        EXPECT_EQ(e->SubPage->ActivePage(), tab);
      }
      EXPECT_GT(tab->ControlCount(), 0);
    }
  });
}

}  // namespace
