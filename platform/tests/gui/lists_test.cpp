// List box, check list box and combo box: owner drawing, selection, hit tests and
// which changes fire events.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/lists.h"

using namespace formstest;

namespace {

class Lists : public FormTest {
protected:
  static void Fill(TStrings* S, int N) {
    for (int i = 0; i < N; ++i) S->Add("item " + std::to_string(i));
  }
};

struct TDrawn {
  int Index;
  TRect Rect;
  TOwnerDrawState State;
};

TEST_F(Lists, OwnerDrawingGetsEachShownRowWithItsState) {
  auto* lb = Add<TListBox>(10, 10, 120, 4 * 20 + 4);
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(20);
  Fill(lb->Items(), 6);
  std::vector<TDrawn> drawn;
  lb->OnDrawItem = [&](TWinControl* c, int i, const TRect& r, TOwnerDrawState s) {
    EXPECT_EQ(c, lb);
    drawn.push_back({i, r, s});
  };
  lb->SetItemIndex(1);
  ShowForm();
  lb->SetFocus();
  drawn.clear();
  lb->Repaint();
  // Four rows fit; the fifth would start at the bottom border.
  ASSERT_GE(drawn.size(), 4u);
  for (const TDrawn& d : drawn) {
    EXPECT_EQ(d.Rect, lb->ItemRect(d.Index));
    EXPECT_EQ(d.Rect.Height(), 20);
    EXPECT_EQ(d.Rect.Top, 2 + 20 * d.Index);
  }
  EXPECT_EQ(drawn[1].State & (odSelected | odFocused), odSelected | odFocused);
  EXPECT_EQ(drawn[0].State & (odSelected | odFocused), 0u);

  // Scrolled: the rectangles follow TopIndex, and the first shown row is at the top.
  lb->SetTopIndex(2);
  drawn.clear();
  lb->Repaint();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front().Index, 2);
  EXPECT_EQ(drawn.front().Rect.Top, 2);
  EXPECT_LT(drawn.front().Rect.Right, lb->Width() - 2);  // the scroll bar takes its strip
}

TEST_F(Lists, ItemAtPosAndItemRectAgreeAndScrollWithTopIndex) {
  auto* lb = Add<TListBox>(10, 10, 100, 5 * 16 + 4);
  Fill(lb->Items(), 10);
  EXPECT_EQ(lb->ItemAtPos({10, 2}, true), 0);
  EXPECT_EQ(lb->ItemAtPos({10, 2 + 16 * 3 + 15}, true), 3);
  EXPECT_EQ(lb->ItemAtPos({-1, 10}, true), -1);
  lb->SetTopIndex(3);
  EXPECT_EQ(lb->ItemAtPos({10, 2}, true), 3);
  TRect r = lb->ItemRect(4);
  EXPECT_EQ(lb->ItemAtPos({r.Left, r.Top}, true), 4);
  // The last page stays full.
  lb->SetTopIndex(100);
  EXPECT_EQ(lb->TopIndex(), 10 - lb->VisibleRows());

  auto* few = Add<TListBox>(150, 10, 100, 100);
  Fill(few->Items(), 2);
  EXPECT_EQ(few->ItemAtPos({10, 60}, true), -1);
  EXPECT_EQ(few->ItemAtPos({10, 60}, false), 2);
}

TEST_F(Lists, MultiSelectCountsAndClicksSelectToggleAndExtend) {
  auto* lb = Add<TListBox>(10, 10, 100, 200);
  Fill(lb->Items(), 8);
  EXPECT_EQ(lb->SelCount(), -1);  // single select
  lb->SetMultiSelect(true);
  EXPECT_EQ(lb->SelCount(), 0);
  lb->SetSelected(2, true);
  lb->SetSelected(5, true);
  EXPECT_EQ(lb->SelCount(), 2);
  EXPECT_THROW(lb->SetSelected(8, true), EListError);
  EXPECT_FALSE(lb->Selected(8));

  int clicks = 0;
  lb->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  auto rowY = [&](int i) { return lb->ItemRect(i).Top + 4; };
  // A plain click leaves one item; Shift extends from it; Ctrl toggles one.
  TestInput::PostMouseDown(lb, mbLeft, 10, rowY(1));
  TestInput::PostMouseUp(lb, mbLeft, 10, rowY(1));
  TestInput::PostMouseDown(lb, mbLeft, 10, rowY(4), ssShift);
  TestInput::PostMouseUp(lb, mbLeft, 10, rowY(4), ssShift);
  TestInput::PostMouseDown(lb, mbLeft, 10, rowY(2), ssCtrl);
  TestInput::PostMouseUp(lb, mbLeft, 10, rowY(2), ssCtrl);
  Pump();
  EXPECT_EQ(lb->SelCount(), 3);
  for (int i : {1, 3, 4}) EXPECT_TRUE(lb->Selected(i)) << i;
  EXPECT_FALSE(lb->Selected(2));
  EXPECT_EQ(lb->ItemIndex(), 2);
  EXPECT_EQ(clicks, 3);

  // Deleting an item keeps the others' selection with them.
  lb->Items()->Delete(0);
  EXPECT_TRUE(lb->Selected(0));
  EXPECT_TRUE(lb->Selected(2));
  EXPECT_EQ(lb->SelCount(), 3);
  lb->ClearSelection();
  EXPECT_EQ(lb->SelCount(), 0);
}

TEST_F(Lists, IndexesOutOfRangeReadMinusOneAndRaiseOnlyWhenWritten) {
  auto* lb = Add<TListBox>(10, 10, 100, 100);
  Fill(lb->Items(), 3);
  lb->SetItemIndex(2);
  lb->Items()->Delete(2);
  EXPECT_EQ(lb->ItemIndex(), -1);
  EXPECT_THROW(lb->SetItemIndex(3), EListError);
  EXPECT_THROW(lb->SetItemIndex(-2), EListError);
  lb->SetItemIndex(-1);

  auto* cb = Add<TComboBox>(150, 10, 100, 21);
  Fill(cb->Items(), 2);
  EXPECT_EQ(cb->ItemIndex(), -1);
  EXPECT_THROW(cb->SetItemIndex(2), EListError);
  cb->SetItemIndex(1);
  cb->Items()->Clear();
  EXPECT_EQ(cb->ItemIndex(), -1);
}

TEST_F(Lists, ItemsKeepObjectsAndSortedInsertsInPlace) {
  auto* lb = Add<TListBox>(10, 10, 100, 100);
  TObject a, b, c;
  lb->SetSorted(true);
  lb->Items()->AddObject("pear", &a);
  lb->Items()->AddObject("Apple", &b);
  EXPECT_EQ(lb->Items()->AddObject("mango", &c), 1);
  EXPECT_EQ(lb->Items()->Get(0), "Apple");
  EXPECT_EQ(lb->Items()->Objects(0), &b);
  EXPECT_EQ(lb->Items()->Objects(2), &a);
  EXPECT_EQ(lb->Items()->IndexOfObject(&c), 1);
}

TEST_F(Lists, KeysMoveTheCurrentItemAndFireClick) {
  auto* lb = Add<TListBox>(10, 10, 100, 5 * 16 + 4);
  Fill(lb->Items(), 20);
  int clicks = 0;
  lb->OnClick = [&](TObject*) { ++clicks; };
  int dbl = 0;
  lb->OnDblClick = [&](TObject*) { ++dbl; };
  ShowForm();
  lb->SetFocus();
  TestInput::PostKey(VK_DOWN);
  TestInput::PostKey(VK_DOWN);
  TestInput::PostKey(VK_END);
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 19);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(lb->TopIndex(), 20 - lb->VisibleRows());  // scrolled to show it
  TestInput::PostKey(VK_END);  // no change: no click
  TestInput::PostKey(VK_PRIOR);
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 19 - lb->VisibleRows() + 1);
  EXPECT_EQ(clicks, 4);
  TRect r = lb->ItemRect(lb->TopIndex());
  TestInput::PostMouseDown(lb, mbLeft, 10, r.Top + 3);
  TestInput::PostMouseUp(lb, mbLeft, 10, r.Top + 3);
  TestInput::PostDblClick(lb, 10, r.Top + 3);
  Pump();
  EXPECT_EQ(dbl, 1);
}

TEST_F(Lists, CheckListCyclesThroughGreyOnlyWhenAllowed) {
  auto* cl = Add<TCheckListBox>(10, 10, 120, 100);
  Fill(cl->Items(), 3);
  int checks = 0;
  cl->OnClickCheck = [&](TObject*) { ++checks; };
  cl->SetState(1, cbGrayed);
  EXPECT_FALSE(cl->Checked(1));
  cl->SetChecked(0, true);
  EXPECT_EQ(checks, 0);  // code fires nothing
  EXPECT_THROW(cl->SetChecked(3, true), EListError);
  EXPECT_FALSE(cl->Checked(7));

  ShowForm();
  const int boxX = 2 + 6;
  auto click = [&](int i) {
    TRect r = cl->ItemRect(i);
    TestInput::PostMouseDown(cl, mbLeft, boxX, r.Top + 5);
    TestInput::PostMouseUp(cl, mbLeft, boxX, r.Top + 5);
    Pump();
  };
  click(2);
  EXPECT_EQ(cl->State(2), cbChecked);
  click(2);
  EXPECT_EQ(cl->State(2), cbUnchecked);
  cl->SetAllowGrayed(true);
  click(2);
  click(2);
  EXPECT_EQ(cl->State(2), cbGrayed);
  click(2);
  EXPECT_EQ(cl->State(2), cbUnchecked);
  EXPECT_EQ(checks, 5);
  // A click on the text selects without toggling; Space toggles the current item.
  TRect r = cl->ItemRect(0);
  TestInput::PostMouseDown(cl, mbLeft, 60, r.Top + 5);
  TestInput::PostMouseUp(cl, mbLeft, 60, r.Top + 5);
  Pump();
  EXPECT_EQ(cl->ItemIndex(), 0);
  EXPECT_EQ(cl->State(0), cbChecked);
  EXPECT_EQ(checks, 5);
  TestInput::PostKey(VK_SPACE);
  Pump();
  EXPECT_EQ(cl->State(0), cbGrayed);
  EXPECT_EQ(checks, 6);
  // The state moves with its item.
  cl->Items()->Insert(0, "new");
  EXPECT_EQ(cl->State(2), cbGrayed);
}

TEST_F(Lists, CheckListOwnerDrawingStartsRightOfTheBox) {
  auto* cl = Add<TCheckListBox>(10, 10, 120, 100);
  cl->SetStyle(lbOwnerDrawFixed);
  Fill(cl->Items(), 2);
  cl->SetChecked(1, true);
  std::vector<TDrawn> drawn;
  cl->OnDrawItem = [&](TWinControl*, int i, const TRect& r, TOwnerDrawState s) { drawn.push_back({i, r, s}); };
  ShowForm();
  drawn.clear();
  cl->Repaint();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Rect.Left, cl->ItemRect(0).Left + 17);
  EXPECT_EQ(drawn[1].State & odChecked, odChecked);
  EXPECT_EQ(drawn[0].State & odChecked, 0u);
}

TEST_F(Lists, ComboFiresForTheUserButNotForCode) {
  auto* cb = Add<TComboBox>(10, 10, 120, 30);
  cb->SetItemHeight(16);
  EXPECT_EQ(cb->Height(), 22);
  cb->SetStyle(csDropDownList);
  Fill(cb->Items(), 4);
  std::vector<std::string> seen;
  cb->OnChange = [&](TObject*) { seen.push_back("change " + cb->Text()); };
  cb->SetItemIndex(2);
  cb->SetText("item 1");
  EXPECT_EQ(cb->ItemIndex(), 1);  // the item of that text
  EXPECT_TRUE(seen.empty());

  ShowForm();
  cb->SetFocus();
  TestInput::PostKey(VK_DOWN);
  Pump();
  EXPECT_EQ(cb->ItemIndex(), 2);
  EXPECT_EQ(seen, std::vector<std::string>{"change item 2"});
  // With OnSelect assigned it fires instead of OnChange.
  int selects = 0;
  cb->OnSelect = [&](TObject*) { ++selects; };
  TestInput::PostKey(VK_UP);
  Pump();
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(seen.size(), 1u);

  // The drop-down list: picking a row by mouse chooses it and closes.
  int drops = 0, closes = 0;
  cb->OnDropDown = [&](TObject*) { ++drops; };
  cb->OnCloseUp = [&](TObject*) { ++closes; };
  cb->SetDroppedDown(true);
  ASSERT_TRUE(cb->DroppedDown());
  TCustomListBox* list = cb->DropDownList();
  EXPECT_EQ(list->ItemIndex(), 1);
  Pump();
  TRect r = list->ItemRect(3);
  TestInput::PostMouseDown(list, mbLeft, 10, r.Top + 3);
  TestInput::PostMouseUp(list, mbLeft, 10, r.Top + 3);
  Pump();
  EXPECT_FALSE(cb->DroppedDown());
  EXPECT_EQ(cb->ItemIndex(), 3);
  EXPECT_EQ(cb->Text(), "item 3");
  EXPECT_EQ(selects, 2);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(closes, 1);
}

TEST_F(Lists, PickedItemsFireWhatAUsersChoiceFires) {
  auto* lb = Add<TListBox>(10, 10, 120, 3 * 16 + 4);
  Fill(lb->Items(), 20);
  lb->SetMultiSelect(true);
  auto* cb = Add<TComboBox>(10, 80, 120, 21);
  cb->SetStyle(csDropDownList);
  Fill(cb->Items(), 12);
  auto* flat = Add<TComboBox>(10, 110, 120, 21);  // editable: the button drops it down
  Fill(flat->Items(), 3);
  std::vector<std::string> seen;
  lb->OnClick = [&](TObject*) { seen.push_back("list " + std::to_string(lb->ItemIndex())); };
  cb->OnChange = [&](TObject*) { seen.push_back("combo " + cb->Text()); };
  flat->OnChange = [&](TObject*) { seen.push_back("flat " + flat->Text()); };
  ShowForm();
  TestInput::PostPickItem(lb, 15);  // scrolled into view first
  TestInput::PostPickItem(lb, 2, ssCtrl);
  TestInput::PostPickItem(cb, 10);
  TestInput::PostPickItem(cb, 10);  // the current item: the list closes, nothing fires
  TestInput::PostPickItem(flat, 2);
  Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"list 15", "list 2", "combo item 10", "flat item 2"}));
  EXPECT_TRUE(lb->Selected(15) && lb->Selected(2));
  EXPECT_FALSE(cb->DroppedDown());
  cb->SetEnabled(false);  // out of the user's reach
  TestInput::PostPickItem(cb, 3);
  Pump();
  EXPECT_EQ(cb->ItemIndex(), 10);
}

TEST_F(Lists, EditableComboTypingFiresChangeAndFollowsItems) {
  auto* cb = Add<TComboBox>(10, 10, 120, 21);
  Fill(cb->Items(), 3);
  int changes = 0;
  cb->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  TestInput::PostText(cb, "item 2");
  Pump();
  EXPECT_EQ(cb->Text(), "item 2");
  EXPECT_EQ(cb->ItemIndex(), 2);
  EXPECT_GE(changes, 1);
  TestInput::PostText(cb, "other");
  Pump();
  EXPECT_EQ(cb->ItemIndex(), -1);
}

TEST_F(Lists, OwnerDrawnComboDrawsEditAreaAndDropDownItemsOnItsCanvas) {
  auto* cb = Add<TComboBox>(10, 10, 120, 21);
  cb->SetStyle(csOwnerDrawFixed);
  Fill(cb->Items(), 3);
  cb->SetItemIndex(1);
  std::vector<TDrawn> drawn;
  std::vector<TCanvas*> canvases;
  cb->OnDrawItem = [&](TWinControl* c, int i, const TRect& r, TOwnerDrawState s) {
    EXPECT_EQ(c, cb);
    drawn.push_back({i, r, s});
    canvases.push_back(cb->Canvas());
    cb->Canvas()->FillRect(r);
  };
  ShowForm();
  drawn.clear();
  cb->Repaint();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Index, 1);
  EXPECT_TRUE(drawn[0].State & odComboBoxEdit);
  TCanvas* own = cb->Canvas();

  drawn.clear();
  canvases.clear();
  cb->SetDroppedDown(true);
  cb->DropDownList()->Repaint();
  ASSERT_EQ(drawn.size(), 3u);
  for (const TDrawn& d : drawn) {
    EXPECT_FALSE(d.State & odComboBoxEdit);
    EXPECT_EQ(d.Rect, cb->DropDownList()->ItemRect(d.Index));
  }
  EXPECT_TRUE(drawn[1].State & odSelected);
  EXPECT_NE(canvases[0], own);  // the list's canvas while it paints
  EXPECT_EQ(cb->Canvas(), own);  // and the combo's own again afterwards
  cb->SetDroppedDown(false);
}

}  // namespace
