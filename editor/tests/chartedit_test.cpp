// The chart editor window: its remembered settings, the series buttons against the
// options and lock bits, hidden tabs and the start page, what it opens at show, the
// close query, the menus, the Data page and "Copy", the help call, the hook list and
// its registration by name.
#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/lumconst.h"
#include "chart/chartlists.h"
#include "chartedit_fixture.h"
#include "editor/axispage.h"
#include "editor/funceditor.h"
#include "editor/seriespage.h"
#include "editor/toolspage.h"
#include "form_inventory.h"
#include "gallery/chartgrid.h"
#include "gallery/exportdialog.h"
#include "oracle.h"
#include "platform/clipbrd.h"
#include "platform/dialogs.h"

namespace {

using editortest::ChartEditTest;
using editortest::ClearEditorSettings;
using editortest::StoredInteger;
using editortest::WriteWrongType;
using TestInput::PostClick;

// ---- Settings ------------------------------------------------------------------
TEST_F(ChartEditTest, DefaultsComeFromTheLibrarysTextsAndAnEmptyStore) {
  ClearEditorSettings();
  std::unique_ptr<TChartEditForm> e(new TChartEditForm(nullptr));
  EXPECT_EQ(e->ClientWidth(), 414);
  EXPECT_EQ(e->ClientHeight(), 347);
  EXPECT_TRUE(e->RememberPosition() && e->RememberSize());
  EXPECT_TRUE(e->Tree->Visible());
  EXPECT_EQ(e->Tree->Width(), 126);
  EXPECT_EQ(e->Options, 1919);
  EXPECT_EQ(e->StartPage, -1);
  EXPECT_TRUE(e->HiddenTabs.empty());
  EXPECT_EQ(e->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(e->Caption(), "");
  EXPECT_EQ(e->HelpContext(), 726);
  EXPECT_EQ(e->BorderIcons(), biSystemMenu);
  EXPECT_EQ(e->Position(), poScreenCenter);
  EXPECT_FALSE(e->MainPage->Enabled() || e->SubPage->Enabled());
  EXPECT_EQ(e->MainPage->ActivePage(), e->TabChart);
  EXPECT_EQ(e->SubPage->ActivePage(), e->TabSeriesList);
  EXPECT_EQ(e->GalleryWidth(), 0);
  EXPECT_EQ(e->GalleryHeight(), 0);
}

struct TCreationCase {
  const char* Name;
  std::function<void()> Store;
  std::function<void(TChartEditForm*)> Check;
};

TEST_F(ChartEditTest, SettingsReadAtCreation) {
  const std::vector<TCreationCase> cases = {
      {"tree off", [] { WriteEditorBooleanSetting("TreeMode", false); },
       [](TChartEditForm* e) { EXPECT_FALSE(e->Tree->Visible()); }},
      {"groups on", [] { WriteEditorBooleanSetting("SeriesGroups", true); },
       [](TChartEditForm* e) {
         EXPECT_EQ(e->Options, 1919 | ceoGroups);
         EXPECT_TRUE(e->PanelGroups->Visible() && e->BAddGroup->Visible());
       }},
      {"tree width", [] { WriteEditorIntegerSetting("TreeWidth", 200); },
       [](TChartEditForm* e) { EXPECT_EQ(e->Tree->Width(), 200); }},
      {"tree width clamped", [] { WriteEditorIntegerSetting("TreeWidth", -40); },
       [](TChartEditForm* e) { EXPECT_EQ(e->Tree->Width(), 10); }},
      {"no memory", [] {
         WriteEditorBooleanSetting("RememberPosition", false);
         WriteEditorBooleanSetting("RememberSize", false);
       },
       [](TChartEditForm* e) { EXPECT_FALSE(e->RememberPosition() || e->RememberSize()); }},
      {"font", [] {
         TRegistry r;
         r.OpenKey(LumEditorKey, true);
         r.WriteString("DefaultEditorFont", "Arial;10;255");
       },
       [](TChartEditForm* e) {
         EXPECT_EQ(e->Font()->Name(), "Arial");
         EXPECT_EQ(e->Font()->Size(), 10);
         EXPECT_EQ(e->Font()->Color(), clRed);
       }},
      {"font fields not numbers", [] {
         TRegistry r;
         r.OpenKey(LumEditorKey, true);
         r.WriteString("DefaultEditorFont", "Arial;ten;red");
       },
       [](TChartEditForm* e) {
         EXPECT_EQ(e->Font()->Name(), "Arial");
         EXPECT_EQ(e->Font()->Size(), 8);
         EXPECT_EQ(e->Font()->Color(), clWindowText);
       }},
  };
  for (const TCreationCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ClearEditorSettings();
    c.Store();
    std::unique_ptr<TChartEditForm> e(new TChartEditForm(Host.get()));
    c.Check(e.get());
  }
}

struct TPlaceCase {
  const char* Name;
  int Left, Top, Width, Height;  // stored; -1: not stored
  int WantLeft, WantTop, WantWidth, WantHeight;
};

TEST_F(ChartEditTest, TheRememberedPlaceIsPulledOntoTheScreen) {
  const int sw = Screen->Width(), sh = Screen->Height();
  const std::vector<TPlaceCase> cases = {
      {"as stored", 30, 40, 500, 400, 30, 40, 500, 400},
      {"negative corner", -50, -20, 500, 400, 0, 0, 500, 400},
      {"small size", 10, 10, 50, 20, 10, 10, 100, 100},
      {"larger than the screen", 0, 0, sw + 500, sh + 500, 0, 0, sw, sh},
      {"left beyond the screen", sw + 300, 10, 500, 400, sw - 500, 10, 500, 400},
      {"top beyond the screen", 10, sh + 300, 500, 400, 10, sh - 400, 500, 400},
  };
  for (const TPlaceCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ClearEditorSettings();
    WriteEditorBooleanSetting("TreeMode", false);
    WriteEditorIntegerSetting("Left", c.Left);
    WriteEditorIntegerSetting("Top", c.Top);
    WriteEditorIntegerSetting("Width", c.Width);
    WriteEditorIntegerSetting("Height", c.Height);
    std::unique_ptr<TChartEditForm> e(new TChartEditForm(Host.get()));
    e->SetChart(chart);
    EXPECT_EQ(e->Position(), poDesigned);
    EXPECT_EQ(e->ClientWidth(), c.WantWidth);
    EXPECT_EQ(e->ClientHeight(), c.WantHeight);
    EXPECT_EQ(e->Left(), c.WantLeft);
    EXPECT_EQ(e->Top(), c.WantTop);
    e->SetChart(nullptr);  // nothing written for a form that edits no chart
  }
  // Without RememberPosition the stored corner is left alone; the size still counts.
  ClearEditorSettings();
  WriteEditorBooleanSetting("RememberPosition", false);
  WriteEditorIntegerSetting("Left", 77);
  WriteEditorIntegerSetting("Width", 600);
  WriteEditorIntegerSetting("TreeWidth", 4);
  std::unique_ptr<TChartEditForm> e(new TChartEditForm(Host.get()));
  e->SetChart(chart);
  EXPECT_EQ(e->Position(), poScreenCenter);
  EXPECT_EQ(e->ClientWidth(), 600);
  EXPECT_EQ(e->Tree->Width(), 10);
}

TEST_F(ChartEditTest, SettingsAreWrittenAtClose) {
  Edit([](TChartEditForm* e) {
    e->SetBounds(30, 40, e->Width(), e->Height());
    e->SetClientWidth(640);
    e->SetClientHeight(480);
    e->MIViewGroups->Click();  // series groups on
  });
  EXPECT_EQ(StoredInteger("Left"), 30);
  EXPECT_EQ(StoredInteger("Top"), 40);
  EXPECT_EQ(StoredInteger("Width"), 640);
  EXPECT_EQ(StoredInteger("Height"), 480);
  EXPECT_TRUE(ReadEditorBooleanSetting("SeriesGroups", false));
  EXPECT_EQ(StoredInteger("TreeWidth"), -1) << "the tree was hidden";
  // The default size is not stored; the groups' state always is.
  ClearEditorSettings();
  WriteEditorBooleanSetting("TreeMode", false);
  WriteEditorBooleanSetting("SeriesGroups", true);
  Edit([](TChartEditForm* e) {
    e->SetClientWidth(414);
    e->SetClientHeight(347);
    e->MIViewGroups->Click();  // off again
  });
  EXPECT_EQ(StoredInteger("Width"), -1);
  EXPECT_EQ(StoredInteger("Height"), -1);
  EXPECT_FALSE(ReadEditorBooleanSetting("SeriesGroups", true));
  // Nothing of the place without RememberPosition and RememberSize.
  ClearEditorSettings();
  WriteEditorBooleanSetting("TreeMode", false);
  WriteEditorBooleanSetting("RememberPosition", false);
  WriteEditorBooleanSetting("RememberSize", false);
  Edit([](TChartEditForm*) {});
  EXPECT_EQ(StoredInteger("Left"), -1);
  EXPECT_EQ(StoredInteger("Width"), -1);
}

TEST_F(ChartEditTest, AWrongTypedSettingRaisesAndLeavesNothingMade) {
  const int owned = Host->ComponentCount();
  for (const char* name : {"TreeWidth", "TreeMode", "RememberSize", "SeriesGroups"}) {
    SCOPED_TRACE(name);
    ClearEditorSettings();
    WriteWrongType(name);
    EXPECT_THROW(new TChartEditForm(Host.get()), ERegistryException);
    EXPECT_EQ(Host->ComponentCount(), owned);
    EXPECT_THROW(EditChart(Host.get(), chart), ERegistryException);
    EXPECT_EQ(Host->ComponentCount(), owned);
  }
  // Read when the chart is set: the editor stays without it.
  ClearEditorSettings();
  WriteEditorIntegerSetting("Left", 5);
  WriteWrongType("Top");
  std::unique_ptr<TChartEditForm> e(new TChartEditForm(Host.get()));
  EXPECT_THROW(e->SetChart(chart), ERegistryException);
  EXPECT_EQ(e->Chart(), nullptr);
  EXPECT_EQ(e->LBSeries->Chart(), nullptr);
  EXPECT_FALSE(e->MainPage->Enabled());
  EXPECT_LT(chart->Listeners().IndexOf(e.get()), 0);
  EXPECT_THROW(EditChart(Host.get(), chart), ERegistryException);
  EXPECT_EQ(Host->ComponentCount(), owned + 1);
}

// ---- The series buttons --------------------------------------------------------
struct TButtonCase {
  const char* Name;
  std::uint16_t Options;
  unsigned char Lock;
  bool Add, Delete, Title, Clone, Change, Move;
};

TEST_F(ChartEditTest, SeriesButtonsFollowTheOptionsAndTheLockBits) {
  const std::vector<TButtonCase> cases = {
      {"all", ceoDefault, 0, true, true, true, true, true, true},
      {"no add", ceoDefault & ~ceoAdd, 0, false, true, true, true, true, true},
      {"no delete", ceoDefault & ~ceoDelete, 0, true, false, true, true, true, true},
      {"no type change", ceoDefault & ~ceoChangeType, 0, true, true, true, true, false, true},
      {"no clone", ceoDefault & ~ceoClone, 0, true, true, true, false, true, true},
      {"no title", ceoDefault & ~ceoTitle, 0, true, true, false, true, true, true},
      {"no move", ceoDefault & ~ceoMove, 0, true, true, true, true, true, false},
      {"lock 1", ceoDefault, 1, true, false, true, false, true, true},
      {"lock 2", ceoDefault, 2, true, true, true, true, false, true},
      {"lock 4", ceoDefault, 4, true, false, true, true, true, true},
      {"lock 8", ceoDefault, 8, true, true, true, false, true, true},
      {"lock 16 (persistent only)", ceoDefault, 16, true, true, true, true, true, true},
      {"nothing", 0, 0, false, false, false, false, false, false},
  };
  TChartEditForm* e = Open();
  for (const TButtonCase& c : cases) {
    SCOPED_TRACE(c.Name);
    e->Options = c.Options;
    for (TChartSeries* s : chart->SeriesList()) s->SetLocked(c.Lock);
    e->LBSeries->ClearSelection();
    e->LBSeries->SetItemIndex(1);
    e->LBSeries->SetSelected(1, true);
    e->RefreshButtons(nullptr);
    EXPECT_EQ(e->BAddSeries->Enabled(), c.Add);
    EXPECT_EQ(e->LBSeries->AllowAddSeries(), c.Add);
    EXPECT_EQ(e->BDeleteSeries->Enabled(), c.Delete);
    EXPECT_EQ(e->LBSeries->AllowDeleteSeries(), c.Delete);
    EXPECT_EQ(e->BRenameSeries->Enabled(), c.Title);
    EXPECT_EQ(e->BCloneSeries->Enabled(), c.Clone);
    EXPECT_EQ(e->BChangeTypeSeries->Enabled(), c.Change);
    EXPECT_EQ(e->LBSeries->EnableChangeType(), c.Change);
    EXPECT_EQ(e->BMoveUP->Visible(), c.Move);
    EXPECT_EQ(e->LBSeries->EnableDragSeries(), c.Move);
    EXPECT_EQ(e->LBSeries->AskDelete(), (c.Options & ceoAskDelete) != 0);
  }
  for (TChartSeries* s : chart->SeriesList()) s->SetLocked(0);
  // The ends of the list, and several series selected.
  e->Options = ceoDefault;
  e->LBSeries->ClearSelection();
  e->LBSeries->SetItemIndex(0);
  e->LBSeries->SetSelected(0, true);
  e->RefreshButtons(nullptr);
  EXPECT_FALSE(e->BMoveUP->Enabled());
  EXPECT_TRUE(e->BMoveDown->Enabled());
  e->LBSeries->SetItemIndex(e->LBSeries->Count() - 1);
  e->LBSeries->SetSelected(e->LBSeries->Count() - 1, true);
  e->RefreshButtons(nullptr);
  EXPECT_FALSE(e->BRenameSeries->Enabled() || e->BCloneSeries->Enabled() || e->BMoveUP->Enabled());
  EXPECT_TRUE(e->BDeleteSeries->Enabled());
}

TEST_F(ChartEditTest, AChartWithoutSeriesOffersOnlyAdd) {
  chart->FreeAllSeries(nullptr);
  Edit([](TChartEditForm* e) {
    EXPECT_TRUE(e->BAddSeries->Enabled());
    EXPECT_FALSE(e->BDeleteSeries->Enabled() || e->BRenameSeries->Enabled() || e->BCloneSeries->Enabled() ||
                 e->BChangeTypeSeries->Enabled() || e->BMoveUP->Enabled() || e->BMoveDown->Enabled());
    e->ShowPage(epData);
    EXPECT_EQ(e->MainPage->ActivePage(), e->TabData);
    EXPECT_EQ(e->ChartGrid1->Chart(), e->Chart());
    for (int c = 0; c < e->ChartGrid1->ColCount(); ++c) {
      EXPECT_NE(e->ChartGrid1->Model().Column(c), gcValue) << c;
    }
    EXPECT_FALSE(e->SBGrid3D->Enabled());
  });
}

TEST_F(ChartEditTest, ShowingWithoutAChartChangesNothing) {
  std::unique_ptr<TChartEditForm> e(new TChartEditForm(Host.get()));
  e->Show();
  Pump();
  EXPECT_FALSE(e->MainPage->Enabled() || e->SubPage->Enabled());
  EXPECT_EQ(e->Caption(), "");
  EXPECT_EQ(e->Tree->Items()->Count(), 0);
  EXPECT_EQ(e->LBSeries->Count(), 0);
  for (int p = 0; p < epPageCount; ++p) {
    EXPECT_EQ(e->PageForm(p), nullptr) << p;
  }
  e->ShowPage(epAxis);
  EXPECT_EQ(e->PageForm(epAxis), nullptr);
}

// ---- Hidden tabs and the start page -----------------------------------------------
struct TStartCase {
  const char* Name;
  std::set<int> Hidden;
  int Start;
  TTabSheet* TChartEditForm::*Main;
  TTabSheet* TChartEditForm::*Sub;  // nullptr: not checked
};

TEST_F(ChartEditTest, HiddenTabsAndTheStartPage) {
  using E = TChartEditForm;
  const std::set<int> allSubs = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<TStartCase> cases = {
      {"none", {}, -1, &E::TabChart, &E::TabSeriesList},
      {"axis", {}, epAxis, &E::TabChart, &E::TabAxis},
      {"3D", {}, ep3D, &E::TabChart, &E::Tab3D},
      {"hidden axis: the next one", {epAxis}, epAxis, &E::TabChart, &E::TabTitle},
      {"hidden to the end: the one before", {epAxis, epTitles, epLegend, epPanel, epPaging, epWalls, ep3D}, epPaging,
       &E::TabChart, &E::TabGeneral},
      {"no sub page: Data", allSubs, epAxis, &E::TabData, nullptr},
      {"no sub page nor Data: Tools", {0, 1, 2, 3, 4, 5, 6, 7, 8, epData}, epAxis, &E::TabTools, nullptr},
      {"data", {}, epData, &E::TabData, nullptr},
      {"export", {}, epExport, &E::TabExport, nullptr},
      {"tools", {}, epTools, &E::TabTools, nullptr},
      {"print", {}, epPrint, &E::TabPrint, nullptr},
      {"hidden print stays on the list", {epPrint}, epPrint, &E::TabChart, &E::TabSeriesList},
  };
  for (const TStartCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit(
        [&](TChartEditForm* e) {
          EXPECT_EQ(e->MainPage->ActivePage(), e->*c.Main);
          if (c.Sub) {
            EXPECT_EQ(e->SubPage->ActivePage(), e->*c.Sub);
          }
          for (int p : c.Hidden)
            if (TTabSheet* t = e->TabOfPage(p)) {
              EXPECT_FALSE(t->TabVisible()) << p;
            }
          bool anySub = false;
          for (int p = epSeriesList; p <= ep3D; ++p) anySub |= !c.Hidden.count(p);
          EXPECT_EQ(e->TabChart->TabVisible(), anySub);
          // The page made on the way shows inside its tab.
          if (TForm* f = e->PageForm(e->PageOfTab(c.Sub ? e->*c.Sub : e->*c.Main))) {
            EXPECT_TRUE(f->Showing());
          }
        },
        ceoDefault, c.Hidden, c.Start);
  }
}

TEST_F(ChartEditTest, HiddenTabsReachTheSeriesPageAndTheExportForm) {
  Edit(
      [](TChartEditForm* e) {
        e->ShowPage(epSeries);
        auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->TabGeneral->TabVisible() || page->TabMarks->TabVisible());
        EXPECT_FALSE(page->TabDataSource->TabVisible()) << "no data-source bit";
        e->ShowPage(epExport);
        auto* exp = dynamic_cast<TLumExportForm*>(e->PageForm(epExport));
        ASSERT_NE(exp, nullptr);
        EXPECT_FALSE(exp->TabNative->TabVisible());
        EXPECT_FALSE(exp->PanelClose->Visible() || exp->CBFileSize->Checked());
        EXPECT_EQ(exp->Panel(), e->Chart());
      },
      ceoDefault & ~ceoDataSource, {epSeriesGeneral, epSeriesMarks, epExportNative});
  // The start pages 9 and 10: the series page on that tab.
  for (int start : {epSeriesGeneral, epSeriesMarks}) {
    Edit(
        [start](TChartEditForm* e) {
          auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
          ASSERT_NE(page, nullptr);
          EXPECT_EQ(e->MainPage->ActivePage(), e->TabSeries);
          EXPECT_EQ(page->PageSeries->ActivePage(), start == epSeriesGeneral ? page->TabGeneral : page->TabMarks);
          EXPECT_EQ(page->Series(), e->LBSeries->SelectedSeries());
        },
        ceoDefault, {}, start);
  }
}

TEST_F(ChartEditTest, ASeriesOrToolToOpenAtShow) {
  TChartSeries* bars = Series("Bars");
  Edit(
      [bars](TChartEditForm* e) {
        EXPECT_EQ(e->MainPage->ActivePage(), e->TabSeries);
        auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Series(), bars);
        EXPECT_EQ(e->LBSeries->SelectedSeries(), bars);
        EXPECT_EQ(e->Caption(), "Editing Dispersion");
      },
      ceoDefault, {}, -1, bars);
  // With the Series page hidden the list shows the series selected.
  Edit(
      [bars](TChartEditForm* e) {
        EXPECT_EQ(e->MainPage->ActivePage(), e->TabChart);
        EXPECT_EQ(e->PageForm(epSeries), nullptr);
        EXPECT_EQ(e->LBSeries->SelectedSeries(), bars);
      },
      ceoDefault, {epSeries}, -1, bars);
  auto* cursor = dynamic_cast<TLumCustomTool*>(Host->FindComponent("Cursor"));
  Edit(
      [cursor](TChartEditForm* e) {
        EXPECT_EQ(e->MainPage->ActivePage(), e->TabTools);
        auto* page = dynamic_cast<TFormLumTools*>(e->PageForm(epTools));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->SelectedTool(), cursor);
        EXPECT_EQ(e->EditTool(), nullptr) << "opened once";
      },
      ceoDefault, {}, -1, cursor);
  // With the Tools tab hidden the tool is not opened: the first series is.
  Edit(
      [](TChartEditForm* e) {
        EXPECT_EQ(e->MainPage->ActivePage(), e->TabChart);
        EXPECT_EQ(e->PageForm(epTools), nullptr);
        EXPECT_EQ(e->LBSeries->ItemIndex(), 0);
      },
      ceoDefault, {epTools}, -1, cursor);
}

// ---- Closing ------------------------------------------------------------------------
TEST_F(ChartEditTest, APendingFunctionChangeAsksAndCancelKeepsTheEditor) {
  TChartSeries* average = Series("Average");
  bool stayed = false;
  TestInput::WhenModal([&] {
    TChartEditForm* e = editortest::Owned<TChartEditForm>(Host.get());
    auto* page = dynamic_cast<TFormLumSeries*>(e->PageForm(epSeries));
    ASSERT_NE(page, nullptr);
    page->PageSeries->SetActivePage(page->TabDataSource);
    page->PageSeriesChange(page->PageSeries);
    auto* source = dynamic_cast<TLumFuncEditor*>(page->SourceEditor());
    ASSERT_NE(source, nullptr);
    source->BApply->SetEnabled(true);  // a change not applied yet
    TestDialogs::AnswerButton(mrCancel);
    PostClick(e->BClose);
    TestInput::PostCall([&, e] {
      stayed = editortest::Owned<TChartEditForm>(Host.get()) == e && e->Visible();
      // Leaving the series page asks too, and Cancel keeps it.
      TestDialogs::AnswerButton(mrCancel);
      TestInput::PostTabClick(e->MainPage, 0);
      TestInput::PostCall([&, e] {
        EXPECT_EQ(e->MainPage->ActivePage(), e->TabSeries);
        TestDialogs::AnswerButton(mrNo);
        PostClick(e->BClose);
      });
    });
  });
  EditChart(Host.get(), chart, ceoDefault, {}, -1, average);
  EXPECT_TRUE(stayed);
  std::vector<TestDialogs::TAsked> asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 3u);
  for (const auto& a : asked) {
    EXPECT_EQ(a.Text, LumMsg_ApplyChanges);
  }
  EXPECT_EQ(editortest::Owned<TChartEditForm>(Host.get()), nullptr);
}

TEST_F(ChartEditTest, ClosingKeepsEveryChangeMadeOnThePages) {
  TChartSeries* bars = Series("Bars");
  Edit([bars](TChartEditForm* e) {
    e->ShowPage(epAxis);
    auto* axis = dynamic_cast<TFormLumAxis*>(e->PageForm(epAxis));
    ASSERT_NE(axis, nullptr);
    axis->CBInverted->SetChecked(true);
    const int row = e->LBSeries->Items()->IndexOfObject(bars);
    e->LBSeries->ClearSelection();
    e->LBSeries->SetItemIndex(row);
    e->LBSeries->SetSelected(row, true);
    e->MIHideOther->Click();  // every series but Bars off
    e->ShowPage(epData);
    PostClick(e->SBGridCol);  // a view setting of the grid, not of the chart
    TestInput::PumpPasses(3);
  });
  EXPECT_TRUE(chart->LeftAxis()->Inverted());
  for (TChartSeries* s : chart->SeriesList()) {
    EXPECT_EQ(s->Active(), s == bars) << s->Name();
  }
}

// ---- Menus --------------------------------------------------------------------------
TEST_F(ChartEditTest, TheSeriesListMenus) {
  TChartEditForm* e = Open();
  e->PopupListSeries->OnPopup(e->PopupListSeries);
  EXPECT_TRUE(e->MIHideOther->Enabled());
  EXPECT_FALSE(e->MIShowAll->Enabled()) << "all are active";
  e->MIHideAll->Click();
  for (TChartSeries* s : chart->SeriesList()) {
    EXPECT_FALSE(s->Active());
  }
  e->PopupListSeries->OnPopup(e->PopupListSeries);
  EXPECT_TRUE(e->MIShowAll->Enabled());
  e->MIShowAll->Click();
  EXPECT_TRUE(chart->SeriesList().AllActive());
  e->MISelectAll->Click();
  EXPECT_EQ(e->LBSeries->SelCount(), chart->SeriesCount());
  EXPECT_FALSE(e->BRenameSeries->Enabled());
  e->MISelectNone->Click();
  EXPECT_EQ(e->LBSeries->SelCount(), 0);
  // The view menu: names instead of titles, and the groups.
  e->MIViewNames->Click();
  EXPECT_TRUE(e->LBSeries->ViewSeriesNames());
  EXPECT_EQ(e->BRenameSeries->Caption(), "&Name...");
  e->MIViewNames->Click();
  EXPECT_EQ(e->BRenameSeries->Caption(), "&Title...");
  EXPECT_FALSE(e->PanelGroups->Visible());
  e->MIViewGroups->Click();
  EXPECT_TRUE(e->Options & ceoGroups);
  EXPECT_TRUE(e->PanelGroups->Visible() && e->BAddGroup->Visible() && e->SpeedSeries->Visible());
  e->SpeedSeries->Click();
  ASSERT_FALSE(TestMenus::Shown().empty());
  EXPECT_EQ(TestMenus::Shown().back().Menu, e->PopupSeries);
  TestMenus::ClearShown();
}

// ---- The Data page ------------------------------------------------------------------
TEST_F(ChartEditTest, DataPageButtonsAndCommands) {
  TChartEditForm* e = Open();
  e->ShowPage(epData);
  EXPECT_EQ(e->ChartGrid1->Chart(), chart);
  EXPECT_TRUE(e->ChartGrid1->ShowColors() && e->ChartGrid1->AllowNewSeries());
  EXPECT_TRUE(e->SBGridText->Down() && e->SBGridCol->Down());
  EXPECT_FALSE(e->SBGrid3D->Enabled());
  for (TSpeedButton* b : {e->SBGridText, e->SBGridCol, e->SBGridX}) PostClick(b);
  Pump(6);
  EXPECT_FALSE(e->SBGridText->Down() || e->ChartGrid1->ShowLabels());
  EXPECT_FALSE(e->SBGridCol->Down() || e->ChartGrid1->ShowColors());
  EXPECT_EQ(e->ChartGrid1->ShowXValues(), e->SBGridX->Down() ? cgsYes : cgsNo);
  // The popup on a value cell of Atoms' point 2: no colour items; null, then append.
  TChartSeries* atoms = Series("Atoms");
  const TChartGridModel& m = e->ChartGrid1->Model();
  int col = -1;
  for (int c = 1; c < e->ChartGrid1->ColCount() && col < 0; ++c) {
    TChartSeries* s = nullptr;
    if (m.Column(c, &s) == gcValue && s == atoms) col = c;
  }
  ASSERT_GT(col, 0);
  e->ChartGrid1->SetCol(col);
  e->ChartGrid1->SetRow(m.FirstRow() + 2);
  e->PopupData->OnPopup(e->PopupData);
  EXPECT_FALSE(e->MIEditColor->Visible() || e->MIDefaultColor->Visible());
  EXPECT_TRUE(e->MIMakeNull->Visible());
  e->MIMakeNull->Click();
  EXPECT_TRUE(atoms->IsNull(2));
  e->PopupData->OnPopup(e->PopupData);
  EXPECT_FALSE(e->MIMakeNull->Visible());
  // Append gives every series a null point; Delete takes the new last row's away again.
  TChartSeries* acoustic = Series("Acoustic");
  const int count = acoustic->Count();
  e->MIAppendRow->Click();
  EXPECT_EQ(acoustic->Count(), count + 1);
  EXPECT_TRUE(acoustic->IsNull(count));
  e->MIDeleteRow->Click();
  EXPECT_EQ(acoustic->Count(), count);
  // The text font: the row height follows it.
  TestDialogs::AnswerFont("Arial", 20, 0);
  e->MITextFont->Click();
  EXPECT_EQ(e->ChartGrid1->Font()->Name(), "Arial");
  EXPECT_GT(e->ChartGrid1->DefaultRowHeight(), 24);
}

// "Copy" writes the chart's points as tab-separated text with index and header; a
// reader of its own (Python's csv) finds every value and label.
TEST_F(ChartEditTest, CopyGivesTheSeriesValuesAndLabelsToACsvReader) {
  if (!oracle::HavePython("csv")) GTEST_SKIP() << "python3 missing";
  TChartEditForm* e = Open();
  // Atoms first, with the move buttons: the text takes its columns (labels, colours,
  // X values) from the first series.
  e->LBSeries->ClearSelection();
  e->LBSeries->SetItemIndex(2);
  e->LBSeries->SetSelected(2, true);
  for (int i = 0; i < 2; ++i) {
    e->RefreshButtons(nullptr);
    e->BMoveUP->Click();
  }
  ASSERT_EQ(chart->GetSeries(0), Series("Atoms"));
  e->ShowPage(epData);
  Clipboard()->Clear();
  e->SBCopyData->Click();
  const std::string text = Clipboard()->AsText();
  ASSERT_FALSE(text.empty());
  const std::string file = ::testing::TempDir() + "chartedit_copy.txt";
  std::ofstream(file, std::ios::binary) << text;
  // The reader answers the row count, then per row the index, the label and the
  // cell under the header "Acoustic".
  const std::string script = oracle::ScriptFile(
      "chartedit_copy.py",
      "import csv, sys\n"
      "rows = [r for r in csv.reader(open(sys.argv[1], newline=''), delimiter='\\t') if r]\n"
      "text, y = rows[0].index('Text'), rows[0].index('Acoustic')\n"
      "print(len(rows))\n"
      "for r in rows[1:]: print(r[0], repr(r[text]), r[y] or 'none')\n");
  const auto out = oracle::Run("/usr/bin/python3 " + script + " " + file);
  ASSERT_TRUE(out.has_value()) << "no Text or Acoustic column";
  std::istringstream in(*out);
  int n = 0;
  in >> n;
  int longest = 0;
  for (TChartSeries* s : chart->SeriesList()) longest = std::max(longest, s->Count());
  ASSERT_EQ(n, longest + 1) << "a header and a row per point index";
  TChartSeries* atoms = Series("Atoms");
  TChartSeries* acoustic = Series("Acoustic");
  for (int i = 0; i < longest; ++i) {
    std::string index, label, y;
    in >> index >> label >> y;
    EXPECT_EQ(index, std::to_string(i));
    // The labels come from the first series that has one at the index: Atoms.
    EXPECT_EQ(label, "'" + (i < atoms->Count() ? atoms->Labels().GetLabel(i) : "") + "'") << i;
    if (i < acoustic->Count()) {
      EXPECT_NEAR(std::stod(y), acoustic->YValues()->GetValue(i), 1e-3) << i;
    }
  }
}

// ---- Help, hooks, registration ----------------------------------------------------
TEST_F(ChartEditTest, HelpCallsTheFormsContextAndRequestsPassOnWithoutTheHelpIcon) {
  TChartEditForm* e = Open();
  ClearRecordedHelpCalls();
  e->ButtonHelp->Click();
  EXPECT_EQ(RecordedHelpCalls(), std::vector<int>{726});
  EXPECT_FALSE(e->HelpRequest(e->LBSeries));
  e->SetBorderIcons(biSystemMenu | biHelp);
  EXPECT_TRUE(e->HelpRequest(e->LBSeries));
  EXPECT_EQ(RecordedHelpCalls(), (std::vector<int>{726, 726}));
}

std::vector<std::pair<TTabSheet*, TPageControl*>> hookCalls;
void RecordHook(TChartEditForm*, TCustomChart*, TTabSheet* Page, TPageControl* Pages) {
  hookCalls.emplace_back(Page, Pages);
}

TEST_F(ChartEditTest, TheHookListIsEmptyAndHooksHearTheShowAndTheChartPage) {
  EXPECT_TRUE(ChartEditorHooks().empty());
  ChartEditorHooks().push_back(RecordHook);
  hookCalls.clear();
  Edit([](TChartEditForm* e) {
    ASSERT_EQ(hookCalls.size(), 1u);
    EXPECT_EQ(hookCalls[0], std::make_pair(static_cast<TTabSheet*>(nullptr), e->MainPage));
    e->ShowPage(epData);
    e->ShowPage(epAxis);
    ASSERT_EQ(hookCalls.size(), 2u) << "the Chart page only";
    EXPECT_EQ(hookCalls[1], std::make_pair(e->TabChart, e->MainPage));
  });
  ChartEditorHooks().clear();
}

TEST_F(ChartEditTest, RegisteredByNameAndMadeWithoutOwner) {
  TClass c = GetClass("TChartEditForm");
  ASSERT_NE(c, nullptr);
  std::unique_ptr<TObject> o(c->NewInstance(nullptr));
  auto* e = dynamic_cast<TChartEditForm*>(o.get());
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Owner(), nullptr);
  auto* g = dynamic_cast<IGalleryOwner*>(e);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GalleryWidth(), 0);
  // The series gallery is asked by the list's owner: the editor.
  EXPECT_EQ(e->LBSeries->Owner(), e);
}

// ---- Its controls ----------------------------------------------------------------
TEST_F(ChartEditTest, ControlsAreTheTablesOwnAndFit) {
  WriteEditorBooleanSetting("SeriesGroups", true);
  TChartEditForm* e = Open();
  formcheck::CheckInventory(e, {
      {"MainPage", "TPageControl", ""}, {"TabChart", "TTabSheet", "Chart"},
      {"TabSeries", "TTabSheet", "Series"}, {"TabData", "TTabSheet", "Data"},
      {"TabTools", "TTabSheet", "Tools"}, {"TabAnimations", "TTabSheet", "Animations"},
      {"TabExport", "TTabSheet", "Export"}, {"TabPrint", "TTabSheet", "Print"},
      {"SubPage", "TPageControl", ""}, {"TabSeriesList", "TTabSheet", "Series"},
      {"TabGeneral", "TTabSheet", "General"}, {"TabAxis", "TTabSheet", "Axis"},
      {"TabTitle", "TTabSheet", "Titles"}, {"TabLegend", "TTabSheet", "Legend"},
      {"TabPanel", "TTabSheet", "Panel"}, {"TabPaging", "TTabSheet", "Paging"},
      {"TabWalls", "TTabSheet", "Walls"}, {"Tab3D", "TTabSheet", "3D"},
      {"LBSeries", "TChartListBox", "", {"Acoustic", "Optic", "Atoms", "Bars", "Area", "Average"}},
      {"BMoveUP", "TSpeedButton", ""}, {"BMoveDown", "TSpeedButton", ""},
      {"BAddSeries", "TButton", "&Add..."}, {"BDeleteSeries", "TButton", "&Delete"},
      {"BRenameSeries", "TButton", "&Title..."}, {"BCloneSeries", "TButton", "C&lone"},
      {"BChangeTypeSeries", "TButton", "&Change..."}, {"BAddGroup", "TButton", "+"},
      {"BDeleteGroup", "TButton", "-"}, {"BRenameGroup", "TButton", "..."},
      {"SpeedSeries", "TSpeedButton", "View"}, {"Groups", "TCheckListBox", "", {"(all)", "Branches"}},
      {"ChartGrid1", "TChartGrid", ""}, {"ChartGridNavigator1", "TChartGridNavigator", ""},
      {"SBGridText", "TSpeedButton", ""}, {"SBGridCol", "TSpeedButton", ""},
      {"SBGrid3D", "TSpeedButton", ""}, {"SBGridX", "TSpeedButton", ""}, {"SBCopyData", "TSpeedButton", ""},
      {"SBGridVisuals", "TSpeedButton", "V"}, {"ButtonHelp", "TButton", "&Help..."},
      {"BClose", "TButton", "Close"}, {"Tree", "TTreeView", ""}});
  EXPECT_EQ(e->LBSeries->ItemHeight(), 24);
  EXPECT_TRUE(e->MainPage->HotTrack());
  EXPECT_TRUE(e->BClose->Default() && e->BClose->Cancel() && e->BClose->ModalResult() == mrCancel);
  EXPECT_FALSE(e->BDeleteGroup->Enabled() && e->Groups->ItemIndex() < 1);
  EXPECT_EQ(e->SBGridText->Hint(), "Show labels");
  EXPECT_EQ(e->SBGridCol->Hint(), "Show colors");
  EXPECT_EQ(e->SBGrid3D->Hint(), "XYZ series");
  EXPECT_EQ(e->SBGridX->Hint(), "Show X values");
  EXPECT_EQ(e->SBCopyData->Hint(), "Copy");
  EXPECT_EQ(e->SBGridVisuals->Hint(), "Show Visuals");
  const auto captions = [](TPopupMenu* m) {
    std::vector<std::string> v;
    for (int i = 0; i < m->Items()->Count(); ++i) v.push_back(m->Items()->Items(i)->Caption());
    return v;
  };
  EXPECT_EQ(captions(e->PopupData), (std::vector<std::string>{"&Edit Color...", "Default &Color", "Make &null point",
                                                              "-", "&Append row", "&Delete row", "-",
                                                              "&Text font..."}));
  EXPECT_EQ(captions(e->PopupListSeries),
            (std::vector<std::string>{"Hide &Other", "-", "Show &All", "&Hide All", "-", "&Select All", "Select &None"}));
  EXPECT_EQ(captions(e->PopupSeries), (std::vector<std::string>{"View Series &Names", "View Series &Groups"}));
  for (TTabSheet* t : {e->TabSeriesList, e->TabData}) {
    SCOPED_TRACE(t->Name());
    e->ShowPage(e->PageOfTab(t));
    formcheck::CheckLayout(t);
  }
  formcheck::CheckLayout(e->PanelBottom);
  // Every page the table makes fits the room the editor gives it.
  for (int p = 0; p < epPageCount; ++p) {
    e->ShowPage(p);
    TForm* f = e->PageForm(p);
    if (!f) continue;
    SCOPED_TRACE(f->Name());
    EXPECT_EQ(f->Parent(), e->TabOfPage(p));
    EXPECT_EQ(f->Align(), alClient);
    EXPECT_TRUE(f->Showing());
  }
  EXPECT_GE(e->ClientWidth(), e->MinClientWidth());
  EXPECT_GE(e->ClientHeight(), e->MinClientHeight());
}

}  // namespace
