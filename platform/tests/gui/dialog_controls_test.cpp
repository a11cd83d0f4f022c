// What the controls of dialogs fire for changes made by code and by the user.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/snapshot.h"
#include "platform/stdctrls.h"

using namespace formstest;

namespace {

using DialogControls = FormTest;

TEST_F(DialogControls, EditFiresOnChangeForCodeAndTypingButNotForTheSameText) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  std::vector<std::string> seen;
  edit->OnChange = [&](TObject*) { seen.push_back(edit->Text()); };
  edit->SetText("12");
  edit->SetText("12");
  EXPECT_EQ(seen, std::vector<std::string>{"12"});
  ShowForm();
  TestInput::PostText(edit, "7");
  Pump();
  EXPECT_EQ(edit->Text(), "7");
  EXPECT_EQ(seen.back(), "7");

  // Read-only: typing changes nothing, code still does.
  edit->SetReadOnly(true);
  seen.clear();
  TestInput::PostText(edit, "9");
  Pump();
  EXPECT_EQ(edit->Text(), "7");
  EXPECT_TRUE(seen.empty());
}

TEST_F(DialogControls, MemoLinesAndTextAreOneAndFireOnChange) {
  auto* memo = Add<TMemo>(10, 10, 150, 80);
  int changes = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->Lines()->Add("first");
  memo->Lines()->Add("second");
  EXPECT_EQ(memo->Text(), "first\nsecond");
  EXPECT_EQ(changes, 2);
  memo->SetText("a\nb\nc");
  ASSERT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Get(2), "c");

  ShowForm();
  TestInput::PostText(memo, "xy");
  Pump();
  EXPECT_EQ(memo->Lines()->Get(0), "xy");
  memo->SelectAll();
  EXPECT_EQ(memo->SelText(), "xy");
}

// The memo's frame: a sunken edge, none, or a bevel that replaces it; a flat bevel is
// one line in the shadow colour. Read at the middle of the left edge.
TEST_F(DialogControls, MemoFrameFollowsBorderAndBevel) {
  auto* memo = Add<TMemo>(10, 10, 150, 80);
  memo->SetColor(clWhite);
  ShowForm();
  const struct {
    TFormBorderStyle Border;
    TBevelKind Kind;
    TPanelBevel Outer;
    bool ShadowLine, Blank;
  } cases[] = {{bsNone, bkNone, bvLowered, false, true},   {bsSingle, bkNone, bvLowered, false, false},
               {bsNone, bkFlat, bvRaised, true, false},    {bsSingle, bkFlat, bvLowered, true, false},
               {bsNone, bkFlat, bvNone, false, true}};
  for (const auto& c : cases) {
    memo->SetBorderStyle(c.Border);
    memo->SetBevelKind(c.Kind);
    memo->SetBevelOuter(c.Outer);
    TBitmap shot;
    RenderControl(memo, &shot);
    const TColor edge = shot.Canvas()->Pixels(0, 40);
    EXPECT_EQ(edge == ColorToRGB(clBtnShadow), c.ShadowLine) << int(c.Border) << int(c.Kind) << int(c.Outer);
    EXPECT_EQ(edge == clWhite, c.Blank) << int(c.Border) << int(c.Kind) << int(c.Outer);
  }
  EXPECT_THROW(memo->SetBorderStyle(bsDialog), EInvalidOperation);
}

TEST_F(DialogControls, UpDownDrivesItsEditAndReadsTheEditBack) {
  auto* edit = Add<TEdit>(10, 10, 60, 21);
  auto* ud = Add<TUpDown>(0, 0, 15, 21);
  ud->SetMin(1);
  ud->SetMax(12);
  ud->SetAssociate(edit);
  // Placed against the edit's right edge, the edit giving up the width.
  EXPECT_EQ(edit->Width(), 45);
  EXPECT_EQ(ud->Left(), 55);
  EXPECT_EQ(ud->Height(), 21);
  EXPECT_EQ(edit->Text(), "1");  // the position clamped into the range

  int editChanges = 0, clicks = 0;
  edit->OnChange = [&](TObject*) { ++editChanges; };
  ud->OnClick = [&](TObject*, TUDBtnType) { ++clicks; };
  ud->SetPosition(5);
  EXPECT_EQ(edit->Text(), "5");
  EXPECT_EQ(editChanges, 1);
  EXPECT_EQ(clicks, 0);  // code fires nothing of its own

  // A number out of range reads clamped; a text that is no number keeps the last position.
  edit->SetText("40");
  EXPECT_EQ(ud->Position(), 12);
  edit->SetText("abc");
  EXPECT_EQ(ud->Position(), 12);
  edit->SetText("-3");
  EXPECT_EQ(ud->Position(), 1);

  // Arrows step from what the edit says, stop at the ends, and ask OnChanging.
  edit->SetText("11");
  ud->ButtonClick(btNext);
  ud->ButtonClick(btNext);
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(clicks, 2);
  bool allow = false;
  ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
  ud->ButtonClick(btPrev);
  EXPECT_EQ(ud->Position(), 12);
  allow = true;
  ud->SetWrap(true);
  ud->ButtonClick(btNext);
  EXPECT_EQ(ud->Position(), 1);

  // The Up key in the edit steps too.
  ShowForm();
  edit->SetFocus();
  TestInput::PostKey(VK_UP);
  Pump();
  EXPECT_EQ(edit->Text(), "2");
}

TEST_F(DialogControls, UpDownKeepsToSixteenBitsAndGroupsThousands) {
  auto* edit = Add<TEdit>(10, 10, 60, 21);
  auto* ud = Add<TUpDown>(0, 0, 15, 21);
  ud->SetAssociate(edit);
  ud->SetMax(100000);
  EXPECT_EQ(ud->Max(), 32767);
  ud->SetMin(-40000);
  EXPECT_EQ(ud->Min(), -32768);
  ud->SetPosition(-1234);
  EXPECT_EQ(edit->Text(), "-1,234");
  EXPECT_EQ(ud->Position(), -1234);
  ud->SetThousands(false);
  EXPECT_EQ(edit->Text(), "-1234");
  // The edit going first leaves the up-down without an associate.
  delete edit;
  EXPECT_EQ(ud->Associate(), nullptr);
  ud->SetPosition(3);
  EXPECT_EQ(ud->Position(), 3);
}

TEST_F(DialogControls, RadioGroupFiresOnClickWhenItsIndexChanges) {
  auto* group = Add<TRadioGroup>(10, 10, 150, 100);
  group->SetCaption("Style");
  group->Items()->Add("Solid");
  group->Items()->Add("Dash");
  group->Items()->Add("Dot");
  std::vector<int> clicks;
  group->OnClick = [&](TObject*) { clicks.push_back(group->ItemIndex()); };
  group->SetItemIndex(1);
  group->SetItemIndex(1);
  group->SetItemIndex(-1);
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_FALSE(group->Buttons(1)->Checked());
  group->SetItemIndex(7);  // past the end: the last item
  EXPECT_EQ(group->ItemIndex(), 2);

  ShowForm();
  TestInput::PostClick(group->Buttons(0));
  Pump();
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_FALSE(group->Buttons(2)->Checked());

  // Fewer items: an index past them is dropped.
  group->Items()->Delete(2);
  group->Items()->Delete(1);
  group->Items()->Delete(0);
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(DialogControls, SpeedButtonsOfAGroupKeepOneDown) {
  auto* a = Add<TSpeedButton>(10, 10, 23, 22);
  auto* b = Add<TSpeedButton>(40, 10, 23, 22);
  auto* plain = Add<TSpeedButton>(70, 10, 23, 22);
  for (auto* s : {a, b}) s->SetGroupIndex(1);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  a->SetDown(true);
  EXPECT_EQ(clicks, 0);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
  b->SetDown(false);  // the down one stays down unless all may be up
  EXPECT_TRUE(b->Down());
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());

  ShowForm();
  TestInput::PostClick(a);
  Pump();
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 1);
  TestInput::PostClick(a);
  Pump();
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicks, 2);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  TestInput::PostClick(a);
  Pump();
  EXPECT_FALSE(a->Down());
  // Disabled: no click.
  a->SetEnabled(false);
  TestInput::PostClick(a);
  Pump();
  EXPECT_EQ(clicks, 3);
}

TEST_F(DialogControls, ScrollBarFiresOnChangeForEveryNewPosition) {
  auto* bar = Add<TScrollBar>(10, 10, 150, 17);
  std::vector<int> seen;
  bar->OnChange = [&](TObject*) { seen.push_back(bar->Position()); };
  bar->SetPosition(40);
  bar->SetPosition(40);
  bar->SetMax(30);  // clamps, and says so
  bar->SetPosition(-5);
  EXPECT_EQ(seen, (std::vector<int>{40, 30, 0}));
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), 150);
}

TEST_F(DialogControls, CheckBoxFiresOnStateChangesAndCyclesGreyOnlyWhenAllowed) {
  auto* box = Add<TCheckBox>(10, 10, 120, 17);
  std::vector<TCheckBoxState> seen;
  box->OnClick = [&](TObject*) { seen.push_back(box->State()); };
  box->SetState(cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->SetChecked(false);
  box->SetChecked(false);  // no change, no click
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbUnchecked}));

  ShowForm();
  seen.clear();
  for (int i = 0; i < 2; ++i) TestInput::PostClick(box);
  Pump();
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked}));
  box->SetAllowGrayed(true);
  seen.clear();
  for (int i = 0; i < 3; ++i) TestInput::PostClick(box);
  Pump();
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  box->SetEnabled(false);
  TestInput::PostClick(box);
  Pump();
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DialogControls, LabelAcceleratorFocusesItsControl) {
  auto* label = Add<TLabel>(10, 10, 0, 0);
  label->SetCaption("&Width:");
  auto* edit = Add<TEdit>(60, 10, 60, 21);
  auto* other = Add<TEdit>(60, 40, 60, 21);
  label->SetFocusControl(edit);
  // The '&' is not shown.
  EXPECT_EQ(CaptionRect(label).Width(), label->Canvas()->TextWidth("Width:"));
  ShowForm();
  other->SetFocus();
  TestInput::PostKey('W', ssAlt);
  Pump();
  EXPECT_TRUE(edit->Focused());
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  TestInput::PostKey('W', ssAlt);  // nothing to focus, nothing breaks
  Pump();
}

TEST_F(DialogControls, TrackBarStepsByLineAndPageSize) {
  auto* bar = Add<TTrackBar>(10, 10, 150, 30);
  bar->SetMax(100);
  bar->SetLineSize(5);
  bar->SetPageSize(20);
  ShowForm();
  bar->SetFocus();
  TestInput::PostKey(VK_RIGHT);
  Pump();
  EXPECT_EQ(bar->Position(), 5);
  // As classic track bars: Page Down and Down go towards Max, Home and End to the ends.
  TestInput::PostKey(VK_NEXT);
  TestInput::PostKey(VK_DOWN);
  Pump();
  EXPECT_EQ(bar->Position(), 30);
  TestInput::PostKey(VK_PRIOR);
  TestInput::PostKey(VK_UP);
  Pump();
  EXPECT_EQ(bar->Position(), 5);
  TestInput::PostKey(VK_END);
  Pump();
  EXPECT_EQ(bar->Position(), 100);
  bar->SetLineSize(0);  // ignored
  EXPECT_EQ(bar->LineSize(), 5);
}

TEST_F(DialogControls, TabControlAsksBeforeTheUserChangesTabs) {
  auto* tabs = Add<TTabControl>(10, 10, 300, 200);
  tabs->Tabs()->Add("Series");
  tabs->Tabs()->Add("Axis");
  tabs->Tabs()->Add("Legend");
  EXPECT_EQ(tabs->TabIndex(), 0);
  std::vector<std::string> log;
  bool allow = true;
  tabs->OnChanging = [&](TObject*, bool& a) {
    log.push_back("changing");
    a = allow;
  };
  tabs->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(tabs->TabIndex())); };
  tabs->SetTabIndex(2);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(tabs->DisplayRect().Top, 24);

  ShowForm();
  TestInput::PostTabClick(tabs, 1);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "change 1"}));
  allow = false;
  TestInput::PostTabClick(tabs, 0);
  Pump();
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(log.size(), 3u);
  tabs->Tabs()->Clear();
  EXPECT_EQ(tabs->TabIndex(), -1);
}

class PageControlTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Pages = Add<TPageControl>(10, 10, 300, 200);
    for (const char* name : {"Series", "Axis", "Legend"}) {
      auto* s = new TTabSheet(Form);
      s->SetCaption(name);
      s->SetPageControl(Pages);
      Sheets.push_back(s);
    }
    Pages->OnChanging = [this](TObject*, bool& a) {
      Log.push_back("changing");
      a = Allow;
    };
    Pages->OnChange = [this](TObject*) { Log.push_back("change " + Pages->ActivePage()->Caption()); };
  }
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheets;
  std::vector<std::string> Log;
  bool Allow = true;
};

TEST_F(PageControlTest, CodeSwitchesSilentlyTheUserAsksFirst) {
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // the first page becomes active
  Pages->SetActivePageIndex(2);
  Pages->SetActivePage(Sheets[1]);
  EXPECT_TRUE(Log.empty());
  EXPECT_TRUE(Sheets[1]->Visible());
  EXPECT_FALSE(Sheets[2]->Visible());
  // A sheet fills the display area.
  EXPECT_EQ(Sheets[1]->BoundsRect(), Pages->DisplayRect());

  ShowForm();
  Allow = false;
  TestInput::PostTabClick(Pages, 2);
  Pump();
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  EXPECT_EQ(Log, std::vector<std::string>{"changing"});
  Allow = true;
  TestInput::PostTabClick(Pages, 2);
  Pump();
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "changing", "change Legend"}));
  EXPECT_TRUE(Sheets[2]->Showing());
  EXPECT_FALSE(Sheets[1]->Showing());
}

TEST_F(PageControlTest, HidingTabsKeepsTheActivePageValid) {
  Pages->SetActivePage(Sheets[1]);
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(Sheets[1]->TabIndex(), -1);
  EXPECT_EQ(Sheets[2]->TabIndex(), 1);
  Sheets[2]->SetTabVisible(false);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // wraps round
  Sheets[0]->SetTabVisible(false);
  EXPECT_EQ(Pages->ActivePage(), nullptr);
  Sheets[2]->SetTabVisible(true);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_TRUE(Log.empty());

  // A click on the only visible tab picks the sheet behind it, not the hidden ones.
  Sheets[0]->SetTabVisible(true);
  ShowForm();
  TestInput::PostTabClick(Pages, 0);
  Pump();
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
}

TEST_F(PageControlTest, SheetsMoveBetweenPageControlsAndGoWhenFreed) {
  auto* other = Add<TPageControl>(10, 220, 300, 150);
  Pages->SetActivePage(Sheets[0]);
  Sheets[0]->SetPageControl(other);
  EXPECT_EQ(Pages->PageCount(), 2);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  EXPECT_EQ(other->ActivePage(), Sheets[0]);
  EXPECT_EQ(Sheets[0]->Parent(), other);
  EXPECT_EQ(Sheets[0]->PageIndex(), 0);
  delete Sheets[1];
  EXPECT_EQ(Pages->PageCount(), 1);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_THROW(Pages->Pages(1), EListError);
  // Freeing the page control frees its sheets with it.
  const int before = Form->ComponentCount();
  delete other;
  EXPECT_EQ(Form->ComponentCount(), before - 2);
  EXPECT_TRUE(Log.empty());
}

}  // namespace
