// The series gallery dialog and its routines: tabs, search, palette, stored sizes,
// new series and type changes, and the list box's hooks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "chart/palettes.h"
#include "chart/series.h"
#include "engine/settings.h"
#include "form_inventory.h"
#include "gallery/chartlistbox.h"
#include "gallery/seriesgallery.h"
#include "gallery_test_util.h"
#include "platform/registry.h"
#include "platform/testing.h"

namespace {

std::string OtherPage = "AOther", OtherName = "Other";

void DeleteEditorValues() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (reg.OpenKey(LumEditorKey, true))
    for (const char* v : {"GalleryWidth", "GalleryHeight", "GalleryMode", "SmoothGallery", "RememberGallerySize"})
      reg.DeleteValue(v);
}

std::vector<std::string> Lines(TStrings* S) {
  std::vector<std::string> v;
  for (int i = 0; i < S->Count(); ++i) v.push_back(S->Strings(i));
  return v;
}

class SeriesGalleryTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    DeleteEditorValues();
    host.reset(new TForm(nullptr));
    host->SetBounds(50, 50, 400, 300);
    chart = new TChart(host.get());
    chart->SetParent(host.get());
    chart->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override { DeleteEditorValues(); }
  // Runs Act inside the modal run of the gallery the call opens, then Close.
  void WhileShown(std::function<void(TLumGallery*)> Act, TModalResult Close = mrOk) {
    TestInput::PostCall([this, Act, Close] {
      TLumGallery* g = nullptr;
      for (int i = 0; i < host->ComponentCount() && !g; ++i) g = dynamic_cast<TLumGallery*>(host->Components(i));
      ASSERT_NE(g, nullptr);
      shownSize = {g->Width(), g->Height()};
      Act(g);
      g->SetModalResult(Close);
    });
  }
  void Pick(TLumGallery* G, int Index) { G->ChartGalleryPanel1->SelectChart(G->ChartGalleryPanel1->GetChart(Index)); }
  std::unique_ptr<TForm> host;
  TChart* chart = nullptr;
  TPoint shownSize;
};

TEST_F(SeriesGalleryTest, DialogControlsLayoutTabsAndPalette) {
  TClass s = nullptr, f = nullptr;
  int sub = 0, palette = 3;
  bool view3D = false;
  std::vector<std::string> types, pages;
  bool everyChartPalette = true;
  WhileShown([&](TLumGallery* g) {
    gallerytest::CheckInventory(g, {{"CB3D", "TCheckBox", "&3D"},
                                    {"CBSmooth", "TCheckBox", "&Smooth"},
                                    {"Button1", "TButton", "OK"},
                                    {"Button2", "TButton", "Cancel"},
                                    {"ChartGalleryPanel1", "TChartGalleryPanel", ""}});
    gallerytest::CheckLayout(g->P1);
    types = Lines(g->TabTypes->Tabs());
    pages = Lines(g->TabPages->Tabs());
    for (TGalleryChart* c : g->ChartGalleryPanel1->Charts()) everyChartPalette &= c->ColorPaletteIndex() == 3;
    EXPECT_FALSE(g->ChartGalleryPanel1->View3D());
    g->CBPalette->SetItemIndex(g->CBPalette->Items()->IndexOfObject(PaletteObject(5)));
    Pick(g, 5);
  });
  ASSERT_TRUE(ShowGalleryDialog(host.get(), nullptr, true, 0, 0, s, sub, view3D, f, false, palette));
  EXPECT_EQ(types, (std::vector<std::string>{"Series", "Functions"}));
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages[0], "Standard");
  EXPECT_TRUE(everyChartPalette);
  EXPECT_EQ(s, TBarSeries::StaticClass());
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(palette, 5);
  EXPECT_FALSE(view3D);

  // Without functions there is no "Functions" tab; Cancel changes nothing.
  WhileShown([&](TLumGallery* g) { types = Lines(g->TabTypes->Tabs()); }, mrCancel);
  s = nullptr;
  EXPECT_FALSE(ShowGalleryDialog(host.get(), nullptr, false, 0, 0, s, sub, view3D, f, true, palette));
  EXPECT_EQ(types, (std::vector<std::string>{"Series"}));
  EXPECT_EQ(s, nullptr);
}

TEST_F(SeriesGalleryTest, StandardTabComesFirstWhenRegisteredLater) {
  UnRegisterStandardSeries();
  RegisterLumSeries(TPointSeries::StaticClass(), &OtherName, &OtherPage, 1);
  RegisterStandardSeries();
  TLumGallery g(nullptr);
  g.Show();
  EXPECT_EQ(Lines(g.TabPages->Tabs()), (std::vector<std::string>{"Standard", "AOther"}));
  g.Hide();
  LumSeriesTypes().RemoveIf([](const TLumSeriesType& e) { return e.GalleryPage == &OtherPage; });
}

TEST_F(SeriesGalleryTest, SearchTrimsIgnoresCaseAndStopsAtTheCells) {
  TLumGallery g(nullptr);
  g.Show();
  TChartGalleryPanel* panel = g.ChartGalleryPanel1;
  g.ESearch->SetText("bar");  // the hint is still shown: no search
  EXPECT_EQ(Lines(g.TabTypes->Tabs()), (std::vector<std::string>{"Series", "Functions"}));
  g.ESearchClick(g.ESearch);
  EXPECT_EQ(g.ESearch->Text(), "");
  struct { std::string Text; int Charts; std::vector<std::string> Types; } cases[] = {
      {"  bAr ", 2, {"Search"}},
      {"LINE", 3, {"Search"}},  // "Horiz.\rLine", "Line", "Fast Line"
      {std::string(200, 'x'), 0, {"Search"}},
      {"   ", 9, {"Series", "Functions"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    g.ESearch->SetText(c.Text);
    EXPECT_EQ(panel->Charts().Count(), c.Charts);
    EXPECT_EQ(Lines(g.TabTypes->Tabs()), c.Types);
  }
  panel->SetNumCols(2);
  panel->SetNumRows(1);
  g.ESearch->SetText("e");
  EXPECT_EQ(panel->Charts().Count(), 2);
  g.Hide();
}

TEST_F(SeriesGalleryTest, SizesStoredOnlyWithoutARequestedSize) {
  TClass s, f;
  int sub = 0, palette = -1;
  bool view3D = true;
  WhileShown([](TLumGallery*) {}, mrCancel);
  ShowGalleryDialog(host.get(), nullptr, true, 50, 700, s, sub, view3D, f, false, palette);
  EXPECT_EQ(shownSize, Point(100, 700));
  EXPECT_EQ(ReadEditorIntegerSetting("GalleryWidth", -1), -1);

  WhileShown([](TLumGallery* g) { g->SetBounds(g->Left(), g->Top(), 610, 480); }, mrCancel);
  ShowGalleryDialog(host.get(), nullptr, true, 0, 0, s, sub, view3D, f, false, palette);
  EXPECT_EQ(ReadEditorIntegerSetting("GalleryWidth", -1), 610);
  EXPECT_EQ(ReadEditorIntegerSetting("GalleryHeight", -1), 480);
  WhileShown([](TLumGallery*) {}, mrCancel);
  ShowGalleryDialog(host.get(), nullptr, true, 0, 0, s, sub, view3D, f, false, palette);
  EXPECT_EQ(shownSize, Point(610, 480));

  WriteEditorBooleanSetting("RememberGallerySize", false);
  WriteEditorIntegerSetting("GalleryWidth", 20);
  WhileShown([](TLumGallery*) {}, mrCancel);
  ShowGalleryDialog(host.get(), nullptr, true, 0, 0, s, sub, view3D, f, false, palette);
  EXPECT_EQ(ReadEditorIntegerSetting("GalleryWidth", -1), 20);
}

TEST_F(SeriesGalleryTest, NewSeriesChangedTypeFunctionAndHooks) {
  EXPECT_EQ(GalleryNewSeriesHook, &GalleryNewSeries);
  EXPECT_EQ(GalleryChangeTypeHook, &GalleryChangeType);
  LumGallyUnitDone();
  EXPECT_EQ(GalleryNewSeriesHook, nullptr);
  EXPECT_EQ(GalleryChangeTypeHook, nullptr);
  LumGallyUnitInit();
  EXPECT_EQ(LumSeriesTypes().Get(0)->DescriptionText(), "Line") << "a second start adds nothing";

  EXPECT_EQ(GalleryNewSeries(host.get(), nullptr, nullptr), nullptr);
  WhileShown([](TLumGallery*) {}, mrCancel);
  EXPECT_EQ(GalleryNewSeries(host.get(), chart, nullptr), nullptr);
  EXPECT_EQ(chart->SeriesCount(), 0);

  WhileShown([&](TLumGallery* g) { Pick(g, 2); });
  TChartSeries* point = GalleryNewSeries(host.get(), chart, nullptr);
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(point->ClassType(), TPointSeries::StaticClass());
  EXPECT_EQ(point->Owner(), host.get());
  point->AddXY(1, 7);
  const std::string name = point->Name();

  TChartSeries* changed = point;
  bool functionsTab = true;
  WhileShown([&](TLumGallery* g) {
    functionsTab = g->TabTypes->Tabs()->IndexOf("Functions") >= 0;
    Pick(g, 5);
  });
  EXPECT_EQ(GalleryChangeType(host.get(), changed), TBarSeries::StaticClass());
  EXPECT_FALSE(functionsTab);
  ASSERT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(chart->Series(0), changed);
  EXPECT_EQ(changed->Name(), name);
  EXPECT_EQ((*changed->YValues())[0], 7);

  std::vector<std::string> types;
  WhileShown([&](TLumGallery* g) {
    types = Lines(g->TabTypes->Tabs());
    Pick(g, 0);
  });
  TClass function = SelectGalleryFunction(host.get());
  EXPECT_EQ(types, (std::vector<std::string>{"Functions"}));
  ASSERT_NE(function, nullptr);
  EXPECT_EQ(std::string(function->Name), "TSmoothingFunction");
}

}  // namespace

namespace {

TEST_F(SeriesGalleryTest, AlternateFormListsSeriesTypesAndTheirSubStyles) {
  WriteEditorIntegerSetting("GalleryMode", 1);
  std::vector<std::string> pages, rows;
  int subCharts = 0;
  TestInput::PostCall([&] {
    TLumGalleryForm* a = nullptr;
    for (int i = 0; i < host->ComponentCount() && !a; ++i) a = dynamic_cast<TLumGalleryForm*>(host->Components(i));
    ASSERT_NE(a, nullptr);
    gallerytest::CheckLayout(a->Panel1);
    gallerytest::CheckLayout(a->Panel2);
    pages = Lines(a->CBPage->Items());
    TChartListBox* list = a->ChartListBox1;
    for (int i = 0; i < list->Count(); ++i) rows.push_back(list->Items()->Strings(i));
    list->SelectSeries(list->SeriesAtIndex(list->Items()->IndexOf("Bar")));
    a->ListClick(list);
    subCharts = a->ChartGalleryPanel1->Charts().Count();
    a->ChartGalleryPanel1->SelectChart(a->ChartGalleryPanel1->GetChart(1));
    a->SetModalResult(mrOk);
  });
  int sub = -1;
  TChartSeries* s = CreateNewSeriesGallery(host.get(), nullptr, chart, true, false, sub);
  EXPECT_EQ(pages, (std::vector<std::string>{"(all)", "Standard"}));
  EXPECT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows.front(), "Area") << "sorted";
  EXPECT_EQ(subCharts, 5);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassType(), TBarSeries::StaticClass());
  EXPECT_EQ(sub, 1);
  EXPECT_TRUE(s->ColorEachPoint());
}

}  // namespace
