// The gallery panel: cell geometry, pages, selection and keys, disabled types, the
// sub-gallery pop-up and the smooth setting.
#include <gtest/gtest.h>

#include <memory>

#include "chart/series.h"
#include "engine/settings.h"
#include "gallery/chartlistbox.h"
#include "gallery/gallerypanel.h"
#include "gallery_test_util.h"
#include "platform/filer.h"
#include "platform/registry.h"
#include "platform/typinfo.h"
#include "platform/testing.h"

namespace {

// Refuses every data source and offers three sub-styles, the third thin.
class TPickySeries : public TLineSeries {
  DECLARE_CLASS(TPickySeries, TLineSeries)
public:
  explicit TPickySeries(TComponent* AOwner) : TLineSeries(AOwner) {}
  bool IsValidSourceOf(TChartSeries*) override { return false; }
  void CreateSubGallery(const std::function<void(const std::string&)>& Add) override {
    for (const char* n : {"Normal", "Wide", "Thin"}) Add(n);
  }
  void SetSubGallery(TChartSeries* S, int Index) override {
    if (Index == 2) static_cast<TLineSeries*>(S)->LinePen()->SetWidth(1);
    if (Index == 1) static_cast<TLineSeries*>(S)->LinePen()->SetWidth(5);
  }
};
IMPLEMENT_CLASS(TPickySeries, TLineSeries)

std::string PickyName = "Picky", TestPage = "GalleryTest", EmptyPage = "NoSuchPage";

void DeleteSmoothSetting() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (reg.OpenKey(LumEditorKey, true)) reg.DeleteValue("SmoothGallery");
}

bool SmoothSettingExists() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  return reg.OpenKeyReadOnly(LumEditorKey) && reg.ValueExists("SmoothGallery");
}

class GalleryPanelTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    DeleteSmoothSetting();
    host.reset(new TForm(nullptr));
    host->SetBounds(40, 40, 420, 320);
    panel = new TChartGalleryPanel(host.get());
    panel->SetParent(host.get());
    panel->SetBounds(0, 0, 401, 301);
  }
  void TearDown() override {
    host.reset();
    LumSeriesTypes().RemoveIf([](const TLumSeriesType& e) { return e.GalleryPage == &TestPage; });
  }
  void AddPicky(int Times) {
    for (int i = 0; i < Times; ++i) RegisterLumSeries(TPickySeries::StaticClass(), &PickyName, &TestPage, 1);
  }
  std::unique_ptr<TForm> host;
  TChartGalleryPanel* panel = nullptr;
};

TEST_F(GalleryPanelTest, CellGeometryPlacesVisibleChartsAndNothingWithoutColumns) {
  panel->CreateGalleryPage("Standard");
  ASSERT_EQ(panel->Charts().Count(), 9);
  EXPECT_EQ(panel->NumRows(), 3);
  // Border 1 (bevel): cells of (401 - 1) / 4 by (301 - 1) / 3, one pixel apart.
  EXPECT_EQ(panel->ChartWidth, 100);
  EXPECT_EQ(panel->ChartHeight, 100);
  panel->GetChart(1)->Hide();
  panel->ResizeCharts();
  struct { int Chart, Left, Top; } places[] = {{0, 1, 1}, {2, 101, 1}, {5, 1, 101}, {8, 301, 101}};
  for (auto p : places) {
    SCOPED_TRACE(p.Chart);
    EXPECT_EQ(panel->GetChart(p.Chart)->BoundsRect(), Rect(p.Left, p.Top, p.Left + 99, p.Top + 99));
  }
  const TRect before = panel->GetChart(8)->BoundsRect();
  panel->SetNumCols(0);
  EXPECT_EQ(panel->ChartWidth, 0);
  EXPECT_EQ(panel->ChartHeight, 0);
  EXPECT_EQ(panel->GetChart(8)->BoundsRect(), before);
}

TEST_F(GalleryPanelTest, PagesKeepEveryChartInAVisibleCellAndSplitNames) {
  struct { int Cols; int Rows; } cases[] = {{4, 3}, {2, 5}, {1, 9}};
  for (auto c : cases) {
    SCOPED_TRACE(c.Cols);
    panel->SetNumCols(c.Cols);
    panel->SetNumRows(1);  // a row count left small by an earlier page
    panel->CreateGalleryPage("Standard");
    EXPECT_EQ(panel->NumRows(), c.Rows);
    for (TGalleryChart* ch : panel->Charts()) EXPECT_LE(ch->BoundsRect().Bottom, panel->Height());
  }
  TGalleryChart* horiz = panel->GetChart(1);
  ASSERT_EQ(horiz->Title()->Text()->Count(), 2);
  EXPECT_EQ(horiz->Title()->Text()->Strings(1), "Line");
  EXPECT_EQ(panel->GetChart(0)->Name(), "LumGalleryChart1");
  // The first enabled chart is selected and highlighted, the others not.
  EXPECT_EQ(panel->SelectedChart, panel->GetChart(0));
  EXPECT_TRUE(panel->GetChart(0)->Highlighted());
  EXPECT_FALSE(panel->GetChart(1)->Highlighted());

  panel->CreateGalleryPage(EmptyPage);
  EXPECT_EQ(panel->Charts().Count(), 0);
  EXPECT_EQ(panel->SelectedChart, nullptr);
  TClass s = nullptr, f = nullptr;
  int sub = -1;
  EXPECT_FALSE(panel->GetChartSeries(s, f, sub));
}

// The series the gallery checks types against is let go when it is freed: a page
// made afterwards neither preselects nor disables by it.
TEST_F(GalleryPanelTest, AFreedCurrentSeriesIsLetGo) {
  TChart chart(nullptr);
  auto* bar = new TBarSeries(nullptr);
  bar->SetParentChart(&chart);
  panel->SetCurrentSeries(bar);
  panel->CheckSeries = true;
  delete bar;
  EXPECT_EQ(panel->CurrentSeries(), nullptr);
  panel->CreateGalleryPage("Standard");
  for (int i = 0; i < panel->Charts().Count(); ++i) EXPECT_NE(panel->GetChart(i)->Cursor(), crNoDrop) << i;
  EXPECT_EQ(panel->SelectedChart, panel->GetChart(0));
}

TEST_F(GalleryPanelTest, CurrentSeriesPreselectsAndDisabledTypesAreNeverPicked) {
  TChart chart(nullptr);
  auto* bar = new TBarSeries(nullptr);
  bar->SetParentChart(&chart);
  panel->SetCurrentSeries(bar);
  panel->CreateGalleryPage("Standard");
  TClass s = nullptr, f = nullptr;
  int sub = -1;
  ASSERT_TRUE(panel->GetChartSeries(s, f, sub));
  EXPECT_EQ(s, TBarSeries::StaticClass());
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(sub, 0);

  // Picky, Line, Picky, Picky, Line: a row of four and one more.
  panel->CheckSeries = true;
  AddPicky(1);
  RegisterLumSeries(TLineSeries::StaticClass(), &PickyName, &TestPage, 1);
  AddPicky(2);
  RegisterLumSeries(TLineSeries::StaticClass(), &PickyName, &TestPage, 1);
  panel->CreateGalleryPage(TestPage);
  ASSERT_EQ(panel->Charts().Count(), 5);
  TGalleryChart* picky = panel->GetChart(0);
  EXPECT_EQ(picky->Cursor(), crNoDrop);
  EXPECT_EQ(picky->Title()->Font()->Color(), TColor(0x808080));
  EXPECT_FALSE(picky->OnClick.Assigned());
  EXPECT_EQ(panel->SelectedChart, panel->GetChart(1));

  // Keys step over disabled charts and stop at the edges.
  struct { std::uint16_t Key; TShiftState Shift; int Expect; } steps[] = {
      {VK_LEFT, 0, 1}, {VK_RIGHT, 0, 1}, {VK_DOWN, 0, 1}, {VK_UP, 0, 1}};
  for (auto st : steps) {
    std::uint16_t k = st.Key;
    panel->ChartKeyDown(panel, k, st.Shift);
    EXPECT_EQ(panel->Charts().IndexOf(panel->SelectedChart), st.Expect) << st.Key;
  }
  panel->SelectChart(panel->GetChart(4));
  std::uint16_t up = VK_UP;
  panel->ChartKeyDown(panel, up, 0);
  EXPECT_EQ(panel->Charts().IndexOf(panel->SelectedChart), 4);  // above it: disabled only
  std::uint16_t ret = VK_RETURN;
  int confirmed = 0;
  panel->OnSelectedChart = [&](TObject*) { ++confirmed; };
  panel->ChartKeyDown(panel, ret, 0);
  EXPECT_EQ(confirmed, 1);
}

TEST_F(GalleryPanelTest, ArrowSquareFollowsBorderShadowAndSmooth) {
  panel->CreateGalleryPage("Standard");
  TGalleryChart* c = panel->SelectedChart;
  ASSERT_NE(c, nullptr);
  const int h = c->Height();
  c->Border()->SetVisible(true);
  c->Border()->SetWidth(3);
  c->Shadow()->SetSize(4);
  EXPECT_EQ(c->ArrowPosition(), Point(7, h - 7));
  c->SetSmooth(true);
  EXPECT_EQ(c->ArrowPosition(), Point(5, h - 3));
  c->SetSmooth(false);
  struct { int X, Y; bool In; } hits[] = {{7, h - 19, true}, {18, h - 8, true}, {6, h - 10, false},
                                          {19, h - 10, false}, {10, h - 20, false}, {10, h - 7, false}};
  for (auto p : hits) EXPECT_EQ(c->OnArrow(Point(p.X, p.Y)), p.In) << p.X << "," << p.Y;
}

TEST_F(GalleryPanelTest, SubGalleryRowsPlaceAndChoice) {
  AddPicky(1);
  panel->CreateGalleryPage(TestPage);
  TGalleryChart* main = panel->SelectedChart;
  ASSERT_NE(main, nullptr);
  panel->OnChangeChart = {};
  int subSelected = 0;
  panel->OnSubSelected = [&](TObject*) { ++subSelected; };
  // Far to the bottom right, so the pop-up must be moved into the work area.
  host->SetBounds(Screen->WorkAreaRect().Right - 100, Screen->WorkAreaRect().Bottom - 100, 420, 320);
  host->Show();
  int rows = 0, count = 0;
  bool inside = false;
  auto choose = [&](int Index) {
    TestInput::PostCall([&, Index] {
      TChartGalleryPanel* sub = panel->SubPanel;
      ASSERT_NE(sub, nullptr);
      rows = sub->NumRows();
      count = sub->Charts().Count();
      const TRect work = Screen->WorkAreaRect();
      const TForm* f = panel->SubGalleryForm;
      inside = f->Left() + f->Width() <= work.Right && f->Top() + f->Height() <= work.Bottom;
      sub->SelectedChart = sub->GetChart(Index);
      sub->OnSelectedChart(sub);
    });
  };
  choose(1);
  std::uint16_t altDown = VK_DOWN;
  panel->ChartKeyDown(panel, altDown, ssAlt);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(rows, 1);
  EXPECT_TRUE(inside);
  EXPECT_EQ(subSelected, 1);
  EXPECT_EQ(main->Tag(), 1);
  EXPECT_EQ(static_cast<TLineSeries*>(main->Series(0))->LinePen()->Width(), 5);
  EXPECT_EQ(panel->SubGalleryForm, nullptr);
  EXPECT_TRUE(main->Highlighted());

  // Sub-style 0 makes the series anew: the wide pen of sub-style 1 is gone.
  choose(0);
  std::uint16_t again = VK_DOWN;
  panel->ChartKeyDown(panel, again, ssAlt);
  EXPECT_EQ(main->Tag(), 0);
  ASSERT_EQ(main->SeriesCount(), 1);
  EXPECT_NE(static_cast<TLineSeries*>(main->Series(0))->LinePen()->Width(), 5);

  // Five sub-styles (bars) give two rows of four; Escape closes without a choice.
  panel->CreateGalleryPage("Standard");
  panel->SelectChart(panel->GetChart(5));
  TestInput::PostCall([&] {
    rows = panel->SubPanel->NumRows();
    count = panel->SubPanel->Charts().Count();
    std::uint16_t esc = VK_ESCAPE;
    panel->SubGalleryForm->OnKeyDown(panel->SubGalleryForm, esc, 0);
  });
  std::uint16_t open = VK_DOWN;
  panel->ChartKeyDown(panel, open, ssAlt);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(subSelected, 2);
}

TEST_F(GalleryPanelTest, SmoothSettingWrittenOnlyWhenChangedAndPictureSettles) {
  { TChartGalleryPanel untouched(nullptr); }
  EXPECT_FALSE(SmoothSettingExists());
  {
    TChartGalleryPanel same(nullptr);
    same.SetSmooth(true);
    same.SetSmooth(false);
  }
  EXPECT_FALSE(SmoothSettingExists());

  panel->CreateGalleryPage("Standard");
  host->Show();
  panel->SetSmooth(true);
  TGalleryChart* c = panel->GetChart(5);
  EXPECT_TRUE(c->Smooth());
  int draws = 0;
  c->OnAfterDraw = [&](TObject*) { ++draws; };
  c->Invalidate();
  for (int i = 0; i < 10; ++i) Application->ProcessMessages();
  const int settled = draws;
  EXPECT_GE(settled, 1);
  for (int i = 0; i < 10; ++i) Application->ProcessMessages();
  EXPECT_EQ(draws, settled);
  EXPECT_FALSE(c->SmoothDrawing());
  host.reset();
  EXPECT_TRUE(ReadEditorBooleanSetting("SmoothGallery", false));
  TChartGalleryPanel next(nullptr);
  EXPECT_TRUE(next.Smooth());
  DeleteSmoothSetting();
}

// The panel, its charts and the chart list box publish their properties: each value
// set is read back by name and written to the component stream.
TEST(GalleryClassesPublish, ValuesAreReadBackAndStreamed) {
  gallerytest::EnsureUnits();
  TForm host(nullptr);
  auto* panel = new TChartGalleryPanel(&host);
  auto* chart = new TGalleryChart(&host);
  auto* list = new TChartListBox(&host);
  const struct {
    TComponent* Object;
    const char* Name;
    std::vector<std::pair<const char*, TPropValue>> Values;
    std::vector<const char*> Lines;
  } cases[] = {
      {panel, "Gallery1",
       {{"DisplaySub", false}, {"FocusRotation", false}, {"NumRows", 5LL}, {"NumCols", 2LL}, {"Smooth", true},
        {"View3D", false}, {"OnSelectedChart", std::string("GallerySelected")}},
       {"DisplaySub = False", "FocusRotation = False", "NumRows = 5", "NumCols = 2", "Smooth = True",
        "View3D = False", "OnSelectedChart = GallerySelected"}},
      {chart, "Thumb1", {{"Smooth", true}}, {"Smooth = True"}},
      {list, "List1",
       {{"AskDelete", false}, {"CheckStyle", 1LL}, {"FontSeriesColor", true}, {"ShowSeriesTitle", false},
        {"OnRefresh", std::string("ListRefresh")}},
       {"AskDelete = False", "CheckStyle = cbsRadio", "FontSeriesColor = True", "ShowSeriesTitle = False",
        "OnRefresh = ListRefresh"}},
  };
  for (const auto& c : cases) {
    c.Object->SetName(c.Name);
    for (const auto& [name, value] : c.Values) {
      const TPropInfo* p = GetPropInfo(c.Object->ClassType(), name);
      ASSERT_NE(p, nullptr) << c.Name << "." << name;
      p->Set(c.Object, value);
      EXPECT_TRUE(SamePropValue(*p, p->Get(c.Object), value)) << c.Name << "." << name;
    }
    TMemoryStream binary, text;
    {
      TWriter w(&binary, 4096);
      w.WriteRootComponent(c.Object);
    }
    binary.SetPosition(0);
    ObjectBinaryToText(&binary, &text);
    const std::string written(text.Bytes().begin(), text.Bytes().end());
    for (const char* line : c.Lines) EXPECT_NE(written.find(line), std::string::npos) << c.Name << ": " << line;
  }
  panel->SetSmooth(false);  // leaves the editor setting as it was
}

}  // namespace
