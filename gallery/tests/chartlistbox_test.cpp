// The chart list box: columns, radio style, deleting, renaming, reordering, the
// gallery hooks and series that go away while a row is edited or dragged.
#include <gtest/gtest.h>

#include <memory>

#include "chart/series.h"
#include "gallery/chartlistbox.h"
#include "gallery_test_util.h"
#include "platform/snapshot.h"
#include "platform/testing.h"

namespace {

class ChartListBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    TestDialogs::Clear();
    ClearRecordedMessages();
    host.reset(new TForm(nullptr));
    host->SetBounds(40, 40, 400, 300);
    chart = new TChart(host.get());
    chart->SetParent(host.get());
    chart->SetBounds(150, 0, 240, 200);
    for (const char* n : {"Alpha", "Beta", "Gamma"}) {
      auto* s = new TLineSeries(host.get());
      s->SetName(n);
      s->SetParentChart(chart);
      series.push_back(s);
    }
    list = new TChartListBox(host.get());
    list->SetParent(host.get());
    list->SetBounds(0, 0, 140, 200);
    list->OnRemovedSeries = [this](TObject*, TChartSeries* S) { removed.push_back(S); };
    list->SetChart(chart);
    host->Show();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> v;
    for (int i = 0; i < list->Count(); ++i) v.push_back(list->Items()->Strings(i));
    return v;
  }
  std::unique_ptr<TForm> host;
  TChart* chart = nullptr;
  TChartListBox* list = nullptr;
  std::vector<TChartSeries*> series, removed;
};

TEST_F(ChartListBoxTest, ColumnsFollowTheirVisibility) {
  EXPECT_EQ(list->ColumnLeft(TChartListBox::colTitle), 68);
  EXPECT_EQ(list->ColumnAt(30), TChartListBox::colActive);
  list->SetShowActiveCheck(false);
  list->SetShowSeriesIcon(false);
  struct { int X, Column; } cases[] = {{0, TChartListBox::colColor}, {25, TChartListBox::colColor},
                                       {26, TChartListBox::colTitle}, {241, TChartListBox::colTitle},
                                       {242, -1}};
  for (auto c : cases) EXPECT_EQ(list->ColumnAt(c.X), c.Column) << c.X;
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
}

// Each row's text is drawn: in the title column, or at the row's left edge (over the
// other columns, plainly) when that column is hidden.
TEST_F(ChartListBoxTest, RowTextShowsWithOrWithoutTheTitleColumn) {
  list->Font()->SetColor(clRed);
  for (const bool title : {true, false}) {
    list->SetShowSeriesTitle(title);
    TBitmap shot;
    RenderControl(list, &shot);
    const TRect r = list->ItemRect(1);  // "Beta", not selected
    const int from = title ? list->ColumnLeft(TChartListBox::colTitle) : r.Left;
    int red = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = from; x < from + 40; ++x) red += shot.Canvas()->Pixels(x, y) == clRed;
    EXPECT_GT(red, 10) << (title ? "title column" : "left edge");
  }
}

TEST_F(ChartListBoxTest, RadioStyleLeavesTheFirstActiveAndClicksPickOne) {
  list->SetCheckStyle(cbsRadio);
  EXPECT_TRUE(series[0]->Active());
  EXPECT_FALSE(series[1]->Active());
  EXPECT_FALSE(series[2]->Active());
  int changes = 0;
  list->OnChangeActive = [&](TObject*, TChartSeries*) { ++changes; };
  const TRect r = list->ItemRect(2);
  TestInput::PostMouseDown(list, mbLeft, list->ColumnLeft(TChartListBox::colActive) + 5, r.Top + 5);
  TestInput::PostMouseUp(list, mbLeft, list->ColumnLeft(TChartListBox::colActive) + 5, r.Top + 5);
  TestInput::PumpUntil([&] { return changes > 0; }, 1000);
  EXPECT_FALSE(series[0]->Active());
  EXPECT_TRUE(series[2]->Active());
}

TEST_F(ChartListBoxTest, DeletingAsksAsToldAndToleratesRowsGoing) {
  list->SetAskDelete(false);
  list->SetItemIndex(1);
  EXPECT_TRUE(list->DeleteSeries());
  EXPECT_TRUE(TestDialogs::Asked().empty());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Gamma"}));
  EXPECT_EQ(removed, (std::vector<TChartSeries*>{series[1]}));

  // Removing the first selected series frees the second one on the way.
  list->SetAskDelete(true);
  list->SetMultiSelect(true);
  list->SetSelected(0, true);
  list->SetSelected(1, true);
  list->OnRemovedSeries = [&](TObject*, TChartSeries* S) {
    removed.push_back(S);
    if (S == series[0]) delete series[2];
  };
  TestDialogs::AnswerButton(mrYes);
  EXPECT_TRUE(list->DeleteSeries());
  ASSERT_EQ(TestDialogs::Asked().size(), 1u);
  EXPECT_NE(TestDialogs::Asked()[0].Text.find("(Selected Series)"), std::string::npos);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(chart->SeriesCount(), 0);
  EXPECT_EQ(removed.size(), 3u);
}

TEST_F(ChartListBoxTest, RenameRulesAndRefusedNames) {
  list->SetItemIndex(1);
  TestDialogs::AnswerText("Second");
  EXPECT_TRUE(list->RenameSeries());
  EXPECT_EQ(series[1]->Title(), "Second");
  EXPECT_EQ(Rows()[1], "Second");
  TestDialogs::AnswerText("Beta");  // the component name clears the title
  EXPECT_TRUE(list->RenameSeries());
  EXPECT_EQ(series[1]->Title(), "");

  list->SetViewSeriesNames(true);
  list->SetItemIndex(1);
  for (const char* bad : {"Gamma", "1 bad"}) {
    ClearRecordedMessages();
    TestDialogs::AnswerText(bad);
    EXPECT_FALSE(list->RenameSeries()) << bad;
    EXPECT_EQ(series[1]->Name(), "Beta");
    EXPECT_EQ(RecordedMessages().size(), 1u) << bad;
  }
  TestDialogs::AnswerText("Delta");
  EXPECT_TRUE(list->RenameSeries());
  EXPECT_EQ(series[1]->Name(), "Delta");
  EXPECT_EQ(Rows()[1], "Delta");
}

TEST_F(ChartListBoxTest, DropsReorderAndSeriesLeavingMidEditOrDrag) {
  TChartSeries *first = nullptr, *second = nullptr;
  list->OnChangeOrder = [&](TObject*, TChartSeries* A, TChartSeries* B) { first = A, second = B; };
  list->SetItemIndex(0);
  const TRect self = list->ItemRect(0), third = list->ItemRect(2);
  list->OnDragDrop(list, list, 80, self.Top + 2);
  EXPECT_EQ(first, nullptr);
  list->OnDragDrop(list, list, 80, third.Top + 2);
  EXPECT_EQ(first, series[0]);
  EXPECT_EQ(second, series[2]);
  EXPECT_EQ(chart->Series(0), series[2]);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
  EXPECT_EQ(list->ItemIndex(), 2);

  // The series being dragged is freed before the drop: nothing moves.
  delete series[0];
  list->OnDragDrop(list, list, 80, self.Top + 2);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Gamma", "Beta"}));

  list->SetItemIndex(1);
  list->StartTitleEdit();
  ASSERT_NE(list->TitleEditor(), nullptr);
  EXPECT_TRUE(list->TitleEditor()->Visible());
  delete series[1];
  EXPECT_FALSE(list->TitleEditor()->Visible());
  list->EndTitleEdit(false);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Gamma"}));
}

TChartSeries* hookMade = nullptr;
TChartSeries* TestNewSeries(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeries*) {
  hookMade = CreateNewSeries(Owner, Chart, TBarSeries::StaticClass());
  return hookMade;
}
TClass TestChangeType(TComponent*, TChartSeries*& S) {
  ChangeSeriesType(S, TPointSeries::StaticClass());
  return TPointSeries::StaticClass();
}

TEST_F(ChartListBoxTest, GalleryHooksAddAndChangeSeveralRows) {
  auto savedNew = GalleryNewSeriesHook;
  auto savedChange = GalleryChangeTypeHook;
  GalleryNewSeriesHook = TestNewSeries;
  GalleryChangeTypeHook = TestChangeType;
  EXPECT_EQ(list->AddSeriesGallery(), hookMade);
  EXPECT_EQ(list->SelectedSeries(), hookMade);
  EXPECT_EQ(list->Count(), 4);
  list->SetMultiSelect(true);
  list->ClearSelection();
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  list->ChangeTypeSeries();
  EXPECT_EQ(chart->Series(0)->ClassType(), TPointSeries::StaticClass());
  EXPECT_EQ(chart->Series(1)->ClassType(), TLineSeries::StaticClass());
  EXPECT_EQ(chart->Series(2)->ClassType(), TPointSeries::StaticClass());
  EXPECT_TRUE(list->Selected(0));
  EXPECT_TRUE(list->Selected(2));
  EXPECT_FALSE(list->Selected(1));
  GalleryNewSeriesHook = savedNew;
  GalleryChangeTypeHook = savedChange;
}

}  // namespace
