// Tree view nodes, popup menus answered by a test, and drag and drop between rows.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/lists.h"
#include "platform/menus.h"
#include "platform/trees.h"

using namespace formstest;

namespace {

class Trees : public FormTest {
protected:
  TTreeView* MakeTree() { return Add<TTreeView>(10, 10, 200, 200); }
};

TEST_F(Trees, NodesKeepTheirObjectsOrderAndLevels) {
  TTreeView* t = MakeTree();
  TObject a, b, c;
  TTreeNode* charts = t->Items()->AddObject(nullptr, "Charts", &a);
  TTreeNode* s1 = t->Items()->AddChildObject(charts, "Series1", &b);
  TTreeNode* s2 = t->Items()->AddObject(s1, "Series2", &c);  // a sibling of s1
  TTreeNode* tools = t->Items()->Add(charts, "Tools");
  EXPECT_EQ(charts->Count(), 2);
  EXPECT_EQ(s2->Parent(), charts);
  EXPECT_EQ(s2->Data(), &c);
  EXPECT_EQ(s2->Level(), 1);
  EXPECT_EQ(s2->Index(), 1);
  EXPECT_EQ(tools->Level(), 0);
  EXPECT_EQ(t->Items()->Count(), 4);
  // Depth-first: Charts, Series1, Series2, Tools.
  EXPECT_EQ(t->Items()->Item(2), s2);
  EXPECT_EQ(t->Items()->Item(3), tools);
  EXPECT_THROW(t->Items()->Item(4), EListError);
  EXPECT_EQ(s1->GetNext(), s2);
  EXPECT_EQ(tools->GetPrev(), s2);
}

TEST_F(Trees, SelectionFiresChangeAndFollowsDeletionAndClear) {
  TTreeView* t = MakeTree();
  TTreeNode* root = t->Items()->Add(nullptr, "root");
  TTreeNode* kid = t->Items()->AddChild(root, "kid");
  std::vector<TTreeNode*> changes;
  t->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n); };
  t->SetSelected(kid);
  EXPECT_TRUE(root->Expanded());  // opened to show it
  EXPECT_TRUE(kid->Selected());
  t->OnChanging = [&](TObject*, TTreeNode* n, bool& allow) { allow = n != root; };
  t->SetSelected(root);
  EXPECT_EQ(t->Selected(), kid);  // refused
  t->OnChanging.Clear();
  root->Collapse(false);  // the hidden selection moves up
  EXPECT_EQ(t->Selected(), root);
  root->Delete();
  EXPECT_EQ(t->Selected(), nullptr);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0], kid);
  EXPECT_EQ(changes[1], root);
  EXPECT_EQ(changes[2], nullptr);
  t->Items()->Add(nullptr, "again");
  t->SetSelected(t->Items()->GetFirstNode());
  t->Items()->Clear();
  EXPECT_EQ(t->Items()->Count(), 0);
  EXPECT_EQ(t->Selected(), nullptr);
}

TEST_F(Trees, KeysWalkShownNodesAndExpand) {
  TTreeView* t = MakeTree();
  TTreeNode* a = t->Items()->Add(nullptr, "a");
  TTreeNode* a1 = t->Items()->AddChild(a, "a1");
  TTreeNode* b = t->Items()->Add(nullptr, "b");
  ShowForm();
  t->SetFocus();
  t->SetSelected(a);
  TestInput::PostKey(VK_DOWN);  // a is closed: to b
  Pump();
  EXPECT_EQ(t->Selected(), b);
  TestInput::PostKey(VK_UP);
  TestInput::PostKey(VK_RIGHT);  // opens a
  TestInput::PostKey(VK_RIGHT);  // into a1
  Pump();
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(t->Selected(), a1);
  TestInput::PostKey(VK_LEFT);  // to the parent
  TestInput::PostKey(VK_LEFT);  // closes it
  Pump();
  EXPECT_EQ(t->Selected(), a);
  EXPECT_FALSE(a->Expanded());
  // A click on a row selects its node.
  TRect r = t->NodeRect(b);
  TestInput::PostMouseDown(t, mbLeft, r.Left + 40, r.Top + 3);
  Pump();
  EXPECT_EQ(t->Selected(), b);
}

TEST_F(Trees, ReadOnlyTreesAreNotEdited) {
  TTreeView* t = MakeTree();
  TTreeNode* n = t->Items()->Add(nullptr, "name");
  ShowForm();
  t->SetSelected(n);
  t->SetReadOnly(true);
  t->EditSelected();
  EXPECT_FALSE(t->IsEditing());
  t->SetReadOnly(false);
  t->EditSelected();
  ASSERT_TRUE(t->IsEditing());
  n->Delete();  // the node goes while edited
  EXPECT_FALSE(t->IsEditing());
}

// ---------------------------------------------------------------------------
class Menus : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    TestMenus::ClearShown();
  }
  TMenuItem* Item(TPopupMenu* M, const std::string& Caption) {
    auto* i = new TMenuItem(Form);
    i->SetCaption(Caption);
    M->Items()->Add(i);
    return i;
  }
};

TEST_F(Menus, PickedItemFiresOnClickAndDisabledOnesDoNot) {
  auto* menu = new TPopupMenu(Form);
  std::vector<std::string> clicked;
  TMenuItem* edit = Item(menu, "&Edit");
  Item(menu, "-");
  TMenuItem* del = Item(menu, "Delete");
  TMenuItem* hidden = Item(menu, "Hidden");
  hidden->SetVisible(false);
  edit->OnClick = [&](TObject* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Caption()); };
  del->OnClick = edit->OnClick;
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  ShowForm();

  menu->Popup(100, 120);
  auto shown = TestMenus::Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Pos, (TPoint{100, 120}));
  EXPECT_EQ(shown[0].Captions, (std::vector<std::string>{"&Edit", "-", "Delete"}));
  EXPECT_TRUE(clicked.empty());  // nothing until the pick
  TestMenus::PostPick("Edit");
  Pump();
  EXPECT_EQ(clicked, std::vector<std::string>{"&Edit"});
  EXPECT_TRUE(TestMenus::Shown().empty());

  del->SetEnabled(false);
  menu->Popup(0, 0);
  TestMenus::PostPick("Delete");
  Pump();
  EXPECT_EQ(clicked.size(), 1u);
  EXPECT_EQ(popups, 2);
}

TEST_F(Menus, RightClickOpensTheControlsMenuAndItemsComeAndGo) {
  auto* menu = new TPopupMenu(Form);
  auto* lb = Add<TListBox>(20, 20, 100, 100);
  lb->SetPopupMenu(menu);
  // Items added at run time by the popup handler.
  menu->OnPopup = [&](TObject*) {
    menu->Items()->Clear();
    auto* i = new TMenuItem(menu);
    i->SetCaption("Fresh");
    i->SetAutoCheck(true);
    menu->Items()->Add(i);
  };
  ShowForm();
  TestInput::PostMouseDown(lb, mbRight, 10, 10);
  TestInput::PostMouseUp(lb, mbRight, 10, 10);
  Pump();
  auto shown = TestMenus::Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(menu->PopupComponent(), lb);
  EXPECT_EQ(shown[0].Pos, lb->ClientToScreen({10, 10}));
  TestMenus::PostPick("Fresh");
  Pump();
  EXPECT_TRUE(menu->Items()->Items(0)->Checked());
  // A freed menu is forgotten by the control; AutoPopup off shows nothing.
  delete menu;
  EXPECT_EQ(lb->PopupMenu(), nullptr);
  auto* quiet = new TPopupMenu(Form);
  quiet->SetAutoPopup(false);
  lb->SetPopupMenu(quiet);
  TestInput::PostMouseDown(lb, mbRight, 10, 10);
  TestInput::PostMouseUp(lb, mbRight, 10, 10);
  Pump();
  EXPECT_TRUE(TestMenus::Shown().empty());
}

TEST_F(Menus, SubItemsAreOwnedByTheirItem) {
  auto* menu = new TPopupMenu(Form);
  auto* sub = new TMenuItem(nullptr);
  sub->SetCaption("More");
  menu->Items()->Add(sub);
  auto* leaf = new TMenuItem(nullptr);
  leaf->SetCaption("Leaf");
  sub->Add(leaf);
  int clicks = 0;
  leaf->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_THROW(leaf->Add(sub), EInvalidOperation);
  menu->Popup(5, 5);
  TestMenus::PostPick("More|Leaf");
  Pump();
  EXPECT_EQ(clicks, 1);
  menu->Items()->Delete(0);  // frees the leaf with it
  EXPECT_EQ(menu->Items()->Count(), 0);
}

// ---------------------------------------------------------------------------
class Drag : public FormTest {
protected:
  TListBox* MakeList() {
    auto* lb = new TListBox(Form);
    lb->SetBounds(10, 10, 150, 150);
    for (const char* s : {"one", "two", "three", "four"}) lb->Items()->Add(s);
    lb->SetDragMode(dmAutomatic);
    lb->SetParent(Form);
    return lb;
  }
  // Rows reorder by dragging the selected row onto another: the two change places.
  static void AllowReorder(TListBox* lb, std::vector<std::string>& Log) {
    lb->OnDragOver = [lb](TObject*, TObject* src, int, int, TDragState, bool& accept) { accept = src == lb; };
    lb->OnDragDrop = [lb, &Log](TObject*, TObject*, int x, int y) {
      int to = lb->ItemAtPos({x, y}, true);
      int from = lb->ItemIndex();
      Log.push_back("drop " + std::to_string(from) + "->" + std::to_string(to));
      if (to < 0 || to == from) return;
      static_cast<TListItems*>(lb->Items())->Exchange(from, to);
      lb->SetItemIndex(to);
    };
    lb->OnEndDrag = [&Log](TObject*, TObject* target, int, int) { Log.push_back(target ? "end on target" : "end cancelled"); };
  }
  std::vector<std::string> Texts(TListBox* lb) {
    std::vector<std::string> v;
    for (int i = 0; i < lb->Count(); ++i) v.push_back(lb->Items()->Get(i));
    return v;
  }
  TPoint Row(TListBox* lb, int i) { return {20, lb->ItemRect(i).Top + 5}; }
};

TEST_F(Drag, DraggingARowOntoAnotherExchangesThem) {
  TListBox* lb = MakeList();
  std::vector<std::string> log;
  AllowReorder(lb, log);
  ShowForm();
  TestInput::PostDrag(lb, Row(lb, 0), lb, Row(lb, 2));
  Pump();
  EXPECT_EQ(Texts(lb), (std::vector<std::string>{"three", "two", "one", "four"}));
  EXPECT_EQ(lb->ItemIndex(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"drop 0->2", "end on target"}));
  EXPECT_FALSE(lb->Dragging());
}

TEST_F(Drag, DropOnItselfRefusalAndEscapeLeaveEverythingAsItWas) {
  TListBox* lb = MakeList();
  auto* other = Add<TListBox>(200, 10, 100, 100);
  std::vector<std::string> log;
  AllowReorder(lb, log);
  std::vector<TDragState> states;
  other->OnDragOver = [&](TObject*, TObject*, int, int, TDragState s, bool& accept) {
    states.push_back(s);
    accept = false;
  };
  ShowForm();
  const auto before = Texts(lb);
  // Onto its own row: the drop changes nothing.
  TestInput::PostDrag(lb, Row(lb, 1), lb, {Row(lb, 1).X + 10, Row(lb, 1).Y + 2}, 2);
  Pump();
  EXPECT_EQ(Texts(lb), before);
  // Onto a control that refuses: no drop, the drag ends cancelled, the pointer shows no-drop there.
  TestInput::PostMouseDown(lb, mbLeft, Row(lb, 1).X, Row(lb, 1).Y);
  TPoint overOther = lb->ScreenToClient(other->ClientToScreen({30, 30}));
  TestInput::PostMouseMove(lb, overOther.X, overOther.Y, ssLeft);
  Pump();
  EXPECT_TRUE(lb->Dragging());
  EXPECT_EQ(TestInput::DragCursorShown(), crNoDrop);
  TestInput::PostMouseUp(lb, mbLeft, overOther.X, overOther.Y);
  Pump();
  EXPECT_FALSE(lb->Dragging());
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(states.front(), dsDragEnter);
  EXPECT_EQ(states.back(), dsDragLeave);
  // Escape during a drag over an accepting row.
  TestInput::PostMouseDown(lb, mbLeft, Row(lb, 0).X, Row(lb, 0).Y);
  TestInput::PostMouseMove(lb, Row(lb, 3).X, Row(lb, 3).Y, ssLeft);
  Pump();
  EXPECT_EQ(TestInput::DragCursorShown(), crDrag);
  TestInput::PostKey(VK_ESCAPE);
  TestInput::PostMouseUp(lb, mbLeft, Row(lb, 3).X, Row(lb, 3).Y);
  Pump();
  EXPECT_FALSE(lb->Dragging());
  EXPECT_EQ(Texts(lb), before);
  EXPECT_EQ(log, (std::vector<std::string>{"drop 1->1", "end on target", "end cancelled", "end cancelled"}));
}

TEST_F(Drag, ThresholdKeepsClicksAndManualDragsStartOnlyWhenAsked) {
  TListBox* lb = MakeList();
  lb->SetDragMode(dmManual);
  std::vector<std::string> log;
  AllowReorder(lb, log);
  ShowForm();
  TestInput::PostDrag(lb, Row(lb, 0), lb, Row(lb, 3));
  Pump();
  EXPECT_TRUE(log.empty());  // manual: the press only selects
  lb->OnMouseDown = [lb](TObject*, TMouseButton, TShiftState, int, int) { lb->BeginDrag(false, 8); };
  // A move within the threshold is a click, not a drag.
  TestInput::PostMouseDown(lb, mbLeft, 20, Row(lb, 0).Y);
  TestInput::PostMouseMove(lb, 26, Row(lb, 0).Y, ssLeft);
  TestInput::PostMouseUp(lb, mbLeft, 26, Row(lb, 0).Y);
  Pump();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(lb->Dragging());
  // EndDrag by code cancels a started drag.
  lb->OnMouseDown = [lb](TObject*, TMouseButton, TShiftState, int, int) { lb->BeginDrag(true); };
  TestInput::PostMouseDown(lb, mbLeft, 20, Row(lb, 1).Y);
  Pump();
  EXPECT_TRUE(lb->Dragging());
  lb->EndDrag(false);
  EXPECT_FALSE(lb->Dragging());
  EXPECT_EQ(log, std::vector<std::string>{"end cancelled"});
}

}  // namespace
