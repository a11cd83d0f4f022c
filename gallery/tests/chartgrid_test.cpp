// The chart data grid: layout and texts, the write-back (padding, nulls, a bad
// number), keys that add and remove rows and series, Grid3D, and freed charts.
#include <gtest/gtest.h>

#include <memory>

#include "engine/valuelist.h"
#include "gallery/chartgrid.h"
#include "gallery/marginseditor.h"
#include "gallery_test_util.h"
#include "platform/rtl.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"

namespace {

// A series that shows a matrix: X by columns, Z by rows.
class TMatrixSeries : public TPointSeries {
public:
  explicit TMatrixSeries(TComponent* AOwner) : TPointSeries(AOwner), z_(new TChartValueList(this, "Z")) {
    AddValueList(z_.get());
    SetHasZValues(true);
    grid3D_ = true;
  }
  void Add(double X, double Y, double Z) {
    z_->SetTempValue(Z);
    AddXY(X, Y);
  }

private:
  std::unique_ptr<TChartValueList> z_;
};

class ChartGridTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    ClearRecordedMessages();
    TestDialogs::Clear();
    host.reset(new TForm(nullptr));
    host->SetClientWidth(500);
    host->SetClientHeight(300);
    host->Show();
    chart = new TChart(host.get());
    chart->SetParent(host.get());
    line = AddLine();
    grid = new TChartGrid(host.get());
    grid->SetParent(host.get());
    grid->SetBounds(0, 0, 400, 200);
    grid->SetChart(chart);
  }
  TLineSeries* AddLine(int Points = 3) {
    auto* s = new TLineSeries(host.get());
    s->SetParentChart(chart);
    for (int i = 0; i < Points; ++i) s->AddXY(i, 10 * (i + 1));
    return s;
  }
  std::string Text(int C, int R) { return grid->Model().CellText(C, R); }
  std::string Row(int R, int From = 0) {  // the row's texts across the columns, split by '|'
    std::string t = Text(From, R);
    for (int c = From + 1; c < grid->ColCount(); ++c) t += "|" + Text(c, R);
    return t;
  }
  TChartGridModel& Model() { return const_cast<TChartGridModel&>(grid->Model()); }
  void At(int C, int R) { grid->SetCol(C), grid->SetRow(R); }
  void Key(std::uint16_t K, TShiftState Shift = 0) {
    grid->SetFocus();
    TestInput::PumpPasses(4);
    TestInput::PostKey(K, Shift);
    TestInput::PumpPasses(4);
  }
  std::unique_ptr<TForm> host;
  TChart* chart = nullptr;
  TLineSeries* line = nullptr;
  TChartGrid* grid = nullptr;
};

TEST_F(ChartGridTest, StartsWithItsDefaultsAndLaysOutAThreePointLine) {
  EXPECT_EQ(grid->RowHeights(0), 20);
  ASSERT_EQ(grid->RowCount(), 5);  // two header rows
  const char* want[] = {"||", "#|Text|Y", "0||10", "1||20", "2||30"};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(Row(r), want[r]);
  EXPECT_EQ(grid->Col(), 1);
  // Own X values and colours add their columns; the colour column is 40 wide.
  line->XValues()->SetValue(2, 7);
  grid->SetShowColors(true);
  EXPECT_EQ(Row(1), "#|Colors|Text|X|Y");
  EXPECT_EQ(grid->ColWidths(1), 40);
  EXPECT_EQ(Text(3, 4), "7");
  EXPECT_EQ(grid->Model().RowColor(2), line->GetValueColor(0));
}

TEST_F(ChartGridTest, WritesBackPaddingWithNullsAndKeepsValuesOnBadText) {
  TChartGridModel& m = Model();
  ASSERT_TRUE(m.SetCellText(2, 7, "5"));  // point 5 of a three-point series
  EXPECT_EQ(line->Count(), 6);
  EXPECT_TRUE(line->IsNull(3) && line->IsNull(4) && !line->IsNull(5));
  EXPECT_EQ(line->YValues()->GetValue(5), 5);
  EXPECT_TRUE(line->ManualData());
  EXPECT_EQ(grid->RowCount(), 8);  // the chart's data event laid the grid out again
  // Clearing makes the point null; a number gives it the series colour back.
  m.SetCellText(2, 2, " ");
  EXPECT_TRUE(line->IsNull(0));
  m.SetCellText(2, 2, "12.5");
  EXPECT_FALSE(line->IsNull(0));
  EXPECT_EQ(line->GetPointColor(0), clLumColor);
  EXPECT_EQ(line->YValues()->GetValue(0), 12.5);
  // Not a number: an error, nothing changed, not even past the end.
  EXPECT_THROW(m.SetCellText(2, 2, "1x"), EConvertError);
  EXPECT_THROW(m.SetCellText(2, 12, "abc"), EConvertError);
  EXPECT_EQ(line->YValues()->GetValue(0), 12.5);
  EXPECT_EQ(line->Count(), 6);
  // Labels pad every series.
  TLineSeries* other = AddLine(1);
  m.SetCellText(1, 4, "two");
  EXPECT_EQ(line->Labels().GetLabel(2), "two");
  EXPECT_EQ(other->Count(), 3);
}

TEST_F(ChartGridTest, BadNumberTypedShowsTheErrorAndKeepsTheValue) {
  At(2, 3);
  grid->StartEditing();
  ASSERT_TRUE(grid->EditorMode());
  grid->InplaceEditor()->SetText("2O");
  TestInput::PostCall([&] { grid->StopEditing(false); });
  TestInput::PumpPasses(4);
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_NE(RecordedMessages()[0].find("2O"), std::string::npos);
  EXPECT_EQ(line->YValues()->GetValue(1), 20);
  EXPECT_TRUE(grid->EditorMode());  // still open to be corrected
  grid->InplaceEditor()->SetText("21");
  grid->StopEditing(false);
  EXPECT_EQ(line->YValues()->GetValue(1), 21);
  // Cancelling the edit of a null cell leaves it null.
  line->SetValueColor(0, clNone);
  grid->SetRow(2);
  grid->StartEditing();
  grid->InplaceEditor()->SetText("4");
  grid->StopEditing(true);
  EXPECT_TRUE(line->IsNull(0));
}

// A null point shows the number it had (an appended one 0): typing that very number
// makes it a point again in the series colour, as any other number would.
TEST_F(ChartGridTest, RetypingTheNumberANullPointShowsMakesItAPoint) {
  line->SetValueColor(1, clNone);  // cleared: row 3 shows 20
  At(2, 4);
  Key(VK_DOWN);  // appended: row 5 shows 0
  ASSERT_TRUE(line->Count() == 4 && line->IsNull(3));
  const struct {
    int Row, Point;
    const char* Typed;
    double Value;
  } cases[] = {{3, 1, "20", 20}, {5, 3, "0", 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(Text(2, c.Row), c.Typed);
    At(2, c.Row);
    grid->StartEditing();
    grid->InplaceEditor()->SetText(c.Typed);
    grid->StopEditing(false);
    EXPECT_FALSE(line->IsNull(c.Point)) << c.Typed;
    EXPECT_EQ(line->GetPointColor(c.Point), clLumColor);
    EXPECT_EQ(line->YValues()->GetValue(c.Point), c.Value);
  }
}

TEST_F(ChartGridTest, KeysAppendAndRemoveRowsAndSeries) {
  At(2, 4);
  Key(VK_DOWN);  // last row: a null point is appended
  EXPECT_TRUE(line->Count() == 4 && line->IsNull(3));
  EXPECT_EQ(grid->Row(), 5);
  Key(VK_UP);  // and taken back while it is empty
  EXPECT_EQ(line->Count(), 3);
  Key(VK_INSERT);
  EXPECT_EQ(line->Count(), 4);
  EXPECT_EQ(line->XValues()->GetValue(3), 3);
  grid->SetRow(2);
  Key(VK_DELETE, ssCtrl);  // the row's points go; X values renumbered
  EXPECT_EQ(line->Count(), 3);
  EXPECT_EQ(line->YValues()->GetValue(0), 20);
  EXPECT_EQ(line->XValues()->GetValue(0), 0);
  // New series by the keyboard: Right on the last column adds one of the last
  // series' class; Left there frees it again while it is empty.
  grid->SetAllowNewSeries(true);
  grid->SetCol(grid->ColCount() - 1);
  Key(VK_RIGHT);
  ASSERT_EQ(chart->SeriesCount(), 2);
  EXPECT_TRUE(dynamic_cast<TLineSeries*>(chart->Series(1)));
  EXPECT_EQ(grid->Col(), 3);
  Key(VK_LEFT);
  EXPECT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(grid->ColCount(), 3);
}

TEST_F(ChartGridTest, HeaderClickSelectsTheColumn) {
  AddLine(5);
  const TRect r = grid->CellRect(3, 1);
  TestInput::PostMouseDown(grid, mbLeft, r.Left + 20, r.Top + 5);
  TestInput::PostMouseUp(grid, mbLeft, r.Left + 20, r.Top + 5);
  TestInput::PumpPasses(4);
  EXPECT_EQ(grid->Selection(), (TGridRect{3, 2, 3, 6}));
}

TEST_F(ChartGridTest, Grid3DShowsTheMatrixByXAndZ) {
  auto* m = new TMatrixSeries(host.get());
  m->SetParentChart(chart);
  for (int z = 1; z <= 2; ++z)
    for (int x = 1; x <= 3; ++x) m->Add(x, 10 * z + x, z);
  grid->SetGrid3D(true);
  // X 1..3 along the header row, Z 1..2 down the index column.
  ASSERT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(Row(1, 1) + " " + Row(2) + " " + Row(3), "1|2|3 1|11|12|13 2|21|22|23");
  Model().SetCellText(3, 2, "99");
  EXPECT_EQ(m->YValues()->GetValue(Model().MatrixPoint(3, 2)), 99);
}

// Colours through the colour dialog; visuals through their menu or, for a point
// without one, the chooser hook (handed no visuals editor).
TEST_F(ChartGridTest, ColourAndVisualsCellsOpenTheirEditors) {
  grid->SetShowColors(true);
  int changed = 0;
  grid->OnChangeColor = [&](TObject*) { ++changed; };
  At(2, 3);
  grid->SetCol(1);
  TestDialogs::AnswerColor(clRed);
  grid->EditColor();
  EXPECT_EQ(line->GetPointColor(1), clRed);
  grid->SetCurrentColor(clBlue);
  EXPECT_EQ(line->GetPointColor(1), clBlue);
  EXPECT_EQ(changed, 2);

  line->Visuals()->SetItem(0, new TPersistent);
  grid->SetShowColors(false);
  grid->SetShowVisuals(cgsAuto);
  ASSERT_EQ(Row(1), "#|Text|Y|Visuals");
  EXPECT_EQ(Text(3, 2), "...");
  At(3, 2);
  TestMenus::ClearShown();
  Key(VK_RETURN);
  ASSERT_EQ(TestMenus::Shown().size(), 1u);
  EXPECT_EQ(TestMenus::Shown()[0].Captions, (std::vector<std::string>{"Edit", "&Cambiar...", "Delete"}));
  TestMenus::PostPick("Delete");
  TestInput::PumpPasses(4);
  EXPECT_EQ(line->Visuals()->GetItem(0), nullptr);
  static TVisualsEditor* askedEditor = reinterpret_cast<TVisualsEditor*>(1);
  VisualChooserHook = [](TVisualsEditor* Editor, TComponent*, TPersistent*) -> TPersistent* {
    askedEditor = Editor;
    return new TPersistent;
  };
  Key(VK_RETURN);
  VisualChooserHook = nullptr;
  EXPECT_EQ(askedEditor, nullptr);
  EXPECT_NE(line->Visuals()->GetItem(0), nullptr);
}

TEST_F(ChartGridTest, FreedSeriesAndChartAreLetGo) {
  grid->SetSeries(line);
  delete line;
  EXPECT_EQ(grid->Series(), nullptr);
  delete chart;
  EXPECT_EQ(grid->Chart(), nullptr);
  EXPECT_EQ(grid->RowCount(), 3);
  grid->Invalidate();
  TestInput::PumpPasses(4);
}

}  // namespace
