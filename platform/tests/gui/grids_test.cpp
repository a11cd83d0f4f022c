// The draw and string grids: navigation, refusal through SelectCell, editing,
// sizes, scrolling, and the grid with nothing to show.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/grids.h"
#include "platform/stdctrls.h"

using namespace formstest;

namespace {

class Grids : public FormTest {
protected:
  TStringGrid* MakeGrid(int Cols, int Rows) {
    auto* g = new TStringGrid(Form);
    g->SetBounds(10, 10, 300, 200);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetParent(Form);
    return g;
  }
  void Keys(std::initializer_list<std::uint16_t> Ks, TShiftState Shift = 0) {
    for (auto k : Ks) TestInput::PostKey(k, Shift);
    Pump();
  }
};

TEST_F(Grids, ArrowsTabHomeEndAndPagesMoveTheCurrentCell) {
  TStringGrid* g = MakeGrid(5, 50);
  g->SetOptions(g->Options() | goTabs);
  ShowForm();
  g->SetFocus();
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  Keys({VK_RIGHT, VK_RIGHT, VK_DOWN});
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 2);
  Keys({VK_LEFT, VK_LEFT, VK_LEFT, VK_UP, VK_UP});  // stops at the fixed cells
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  Keys({VK_END});
  EXPECT_EQ(g->Col(), 4);
  Keys({VK_TAB});  // wraps to the next row
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 2);
  Keys({VK_TAB}, ssShift);
  EXPECT_EQ(g->Col(), 4);
  EXPECT_EQ(g->Row(), 1);
  Keys({VK_NEXT});
  EXPECT_EQ(g->Row(), 1 + g->VisibleRowCount());
  Keys({VK_END}, ssCtrl);
  EXPECT_EQ(g->Row(), 49);
  EXPECT_EQ(g->TopRow() + g->VisibleRowCount() - 1, 49);  // scrolled to show it
  Keys({VK_HOME}, ssCtrl);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->TopRow(), 1);
  EXPECT_TRUE(g->Focused());  // the grid kept the arrows and Tab
}

TEST_F(Grids, SelectCellRefusesAndHiddenColumnsAreSkipped) {
  TStringGrid* g = MakeGrid(5, 5);
  std::vector<std::pair<int, int>> asked;
  g->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
    asked.emplace_back(c, r);
    can = c != 2;
  };
  ShowForm();
  g->SetFocus();
  Keys({VK_RIGHT});
  EXPECT_EQ(g->Col(), 1);  // refused
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], std::make_pair(2, 1));
  g->SetColWidths(2, 0);  // hidden: the arrow goes past it
  Keys({VK_RIGHT});
  EXPECT_EQ(g->Col(), 3);
  // Code asks too, and a refused cell stays unchosen.
  g->SetCol(2);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_THROW(g->SetRow(5), EInvalidOperation);
  // A click on a cell chooses it; on a fixed cell it does not.
  TRect r = g->CellRect(4, 3);
  TestInput::PostMouseDown(g, mbLeft, r.Left + 3, r.Top + 3);
  TestInput::PostMouseUp(g, mbLeft, r.Left + 3, r.Top + 3);
  TRect f = g->CellRect(0, 2);
  TestInput::PostMouseDown(g, mbLeft, f.Left + 3, f.Top + 3);
  TestInput::PostMouseUp(g, mbLeft, f.Left + 3, f.Top + 3);
  Pump();
  EXPECT_EQ(g->Col(), 4);
  EXPECT_EQ(g->Row(), 3);
}

TEST_F(Grids, EditingWritesThroughSetEditTextAndEscapeRestores) {
  TStringGrid* g = MakeGrid(4, 4);
  g->SetCells(1, 1, "old");
  g->SetOptions(g->Options() | goEditing);
  std::vector<std::string> written;
  g->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    written.push_back(v);
  };
  ShowForm();
  g->SetFocus();
  Keys({VK_F1 + 1});
  ASSERT_TRUE(g->EditorMode());
  ASSERT_NE(g->InplaceEditor(), nullptr);
  EXPECT_EQ(g->InplaceEditor()->Text(), "old");
  EXPECT_EQ(g->InplaceEditor()->BoundsRect(), g->CellRect(1, 1));
  TestInput::PostText(g->InplaceEditor(), "new");
  Keys({VK_RETURN});
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Cells(1, 1), "new");
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written.back(), "new");
  EXPECT_TRUE(g->Focused());

  // Escape brings the text from before the edit back.
  Keys({VK_F1 + 1});
  TestInput::PostText(g->InplaceEditor(), "typed");
  Pump();
  EXPECT_EQ(g->Cells(1, 1), "typed");  // written as it is typed
  Keys({VK_ESCAPE});
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Cells(1, 1), "new");

  // Moving on ends the edit keeping the text, the next cell then current.
  Keys({VK_F1 + 1});
  TestInput::PostText(g->InplaceEditor(), "down");
  Keys({VK_DOWN});
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Cells(1, 1), "down");
  EXPECT_EQ(g->Row(), 2);
}

TEST_F(Grids, ARefusedTextKeepsTheEditorOpenAndTheCellAsItWas) {
  auto* g = Add<TDrawGrid>(10, 10, 300, 200);
  g->SetOptions(g->Options() | goEditing);
  std::string stored = "1.5";
  g->OnGetEditText = [&](TObject*, int, int, std::string& v) { v = stored; };
  g->OnSetEditText = [&](TObject*, int, int, const std::string& v) {
    if (v == "bad") throw EConvertError("'bad' is not a valid floating point value");
    stored = v;
  };
  ShowForm();
  g->SetFocus();
  Keys({VK_F1 + 1});
  TestInput::PostText(g->InplaceEditor(), "bad");
  Keys({VK_RETURN});
  EXPECT_TRUE(g->EditorMode());  // the text stays to be mended
  EXPECT_EQ(stored, "ba");
  ASSERT_FALSE(RecordedMessages().empty());
  EXPECT_EQ(RecordedMessages().back(), "'bad' is not a valid floating point value");
  Keys({VK_ESCAPE});
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(stored, "1.5");
}

TEST_F(Grids, WithoutEditingOptionOrRowSelectNothingEdits) {
  TStringGrid* g = MakeGrid(3, 3);
  ShowForm();
  g->SetFocus();
  Keys({VK_F1 + 1, VK_RETURN});
  EXPECT_FALSE(g->EditorMode());
  g->SetOptions(g->Options() | goEditing | goRowSelect);
  g->ShowEditor();
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 2, 1}));  // the whole row
}

TEST_F(Grids, NoDataRowsOrAllColumnsHiddenShowsAndEditsNothing) {
  TStringGrid* g = MakeGrid(3, 2);
  g->SetOptions(g->Options() | goEditing);
  int drawnFree = 0;
  g->OnDrawCell = [&](TObject*, int c, int r, const TRect&, TGridDrawState s) {
    if (!(s & gdFixed)) ++drawnFree;
    (void)c;
    (void)r;
  };
  g->SetRowHeights(1, 0);  // the only data row hidden
  ShowForm();
  g->SetFocus();
  g->Repaint();
  EXPECT_FALSE(g->HasCurrentCell());
  EXPECT_EQ(drawnFree, 0);
  g->ShowEditor();
  Keys({VK_DOWN, VK_RIGHT});
  EXPECT_FALSE(g->EditorMode());

  g->SetRowHeights(1, 24);
  g->SetColWidths(1, 0);
  g->SetColWidths(2, -1);
  EXPECT_FALSE(g->HasCurrentCell());
  g->ShowEditor();
  EXPECT_FALSE(g->EditorMode());
  g->SetColWidths(2, 30);
  EXPECT_TRUE(g->HasCurrentCell());
  EXPECT_EQ(g->Col(), 2);
}

TEST_F(Grids, DrawCellGetsRectanglesAndStates) {
  TStringGrid* g = MakeGrid(4, 4);
  g->SetOptions(g->Options() | goDrawFocusSelected);
  struct TCall {
    int C, R;
    TRect Rect;
    TGridDrawState S;
  };
  std::vector<TCall> calls;
  g->OnDrawCell = [&](TObject*, int c, int r, const TRect& rc, TGridDrawState s) { calls.push_back({c, r, rc, s}); };
  g->SetColWidths(0, 30);
  g->SetRowHeights(0, 20);
  g->SetGridLineWidth(2);
  ShowForm();
  g->SetFocus();
  g->SetSelection({1, 1, 2, 2});
  calls.clear();
  g->Repaint();
  ASSERT_EQ(calls.size(), 16u);
  for (const TCall& c : calls) {
    EXPECT_EQ(c.Rect, g->CellRect(c.C, c.R));
    EXPECT_EQ(bool(c.S & gdFixed), c.C == 0 || c.R == 0);
    EXPECT_EQ(bool(c.S & gdSelected), c.C >= 1 && c.C <= 2 && c.R >= 1 && c.R <= 2);
  }
  EXPECT_EQ(g->CellRect(1, 1).Left, 2 + 30 + 2);
  EXPECT_EQ(g->CellRect(1, 1).Top, 2 + 20 + 2);
  EXPECT_EQ(g->CellRect(2, 1).Left, 2 + 30 + 2 + 64 + 2);
  int focused = 0;
  for (const TCall& c : calls) focused += (c.S & gdFocused) ? 1 : 0;
  EXPECT_EQ(focused, 1);
}

TEST_F(Grids, MouseToCellFollowsScrollingAndTopLeftChangedFires) {
  TStringGrid* g = MakeGrid(20, 100);
  int moved = 0;
  g->OnTopLeftChanged = [&](TObject*) { ++moved; };
  ShowForm();
  int c = 0, r = 0;
  TRect cell = g->CellRect(1, 1);
  g->MouseToCell(cell.Left + 1, cell.Top + 1, c, r);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(r, 1);
  g->SetTopRow(40);
  g->SetLeftCol(5);
  EXPECT_EQ(moved, 2);
  g->MouseToCell(cell.Left + 1, cell.Top + 1, c, r);
  EXPECT_EQ(c, 5);
  EXPECT_EQ(r, 40);
  EXPECT_EQ(g->CellRect(1, 1), TRect());  // scrolled away
  g->MouseToCell(5, 5, c, r);  // the fixed corner stays
  EXPECT_EQ(c, 0);
  EXPECT_EQ(r, 0);
  // The last rows fill the grid: it cannot scroll past them.
  g->SetTopRow(1000);
  EXPECT_EQ(g->TopRow() + g->VisibleRowCount(), 100);
  g->SetTopRow(g->TopRow());
  EXPECT_EQ(moved, 3);
}

TEST_F(Grids, DraggingAFixedLineResizesAColumn) {
  TStringGrid* g = MakeGrid(4, 4);
  g->SetOptions(g->Options() | goColSizing);
  ShowForm();
  TRect head = g->CellRect(1, 0);
  auto drag = [&](int from, int to) {
    TestInput::PostMouseDown(g, mbLeft, from, head.Top + 5);
    TestInput::PostMouseMove(g, to, head.Top + 5, ssLeft);
    TestInput::PostMouseUp(g, mbLeft, to, head.Top + 5);
    Pump();
  };
  drag(head.Right, head.Right + 20);
  EXPECT_EQ(g->ColWidths(1), 64 + 20);
  EXPECT_EQ(g->CellRect(2, 1).Left, head.Right + 20 + 1);
  // Without the option the same drag does nothing.
  g->SetOptions(g->Options() & ~goColSizing);
  drag(head.Right + 20, head.Right + 40);
  EXPECT_EQ(g->ColWidths(1), 84);
}

TEST_F(Grids, StringGridCellsFollowSizeChanges) {
  TStringGrid* g = MakeGrid(3, 3);
  TObject o;
  g->SetCells(2, 2, "x");
  g->SetObjects(2, 2, &o);
  g->SetRowCount(10);
  EXPECT_EQ(g->Cells(2, 2), "x");
  EXPECT_EQ(g->Objects(2, 2), &o);
  g->SetColCount(2);
  EXPECT_EQ(g->Cells(2, 2), "");
  EXPECT_THROW(g->SetCells(2, 2, "y"), EInvalidOperation);
  g->SetColCount(3);
  EXPECT_EQ(g->Cells(2, 2), "");  // a column that went comes back empty
}

}  // namespace
