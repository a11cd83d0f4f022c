// Tab order, focus events, and the lifetime of controls: parents, owners and free
// notification.
#include <string>
#include <vector>

#include "app_fixture.h"

using namespace formstest;

namespace {

class ControlFocus : public FormTest {
protected:
  TButton* AddButton(const std::string& name, TWinControl* parent = nullptr) {
    auto* b = Add<TButton>(parent);
    b->SetName(name);
    return b;
  }
  std::string TabNames(TWinControl* root) {
    std::vector<TWinControl*> list;
    root->GetTabOrderList(list);
    std::string s;
    for (TWinControl* w : list) s += (s.empty() ? "" : " ") + w->Name();
    return s;
  }
  std::string FocusedName() {
    std::vector<TWinControl*> list;
    Form->GetTabOrderList(list);
    for (TWinControl* w : list)
      if (w->Focused()) return w->Name();
    return "(none)";
  }
};

TEST_F(ControlFocus, TabOrderIsPerParentAndWalkedDepthFirst) {
  TButton* exitBtn = AddButton("ExitBTn");
  auto* panel = Add<TPanel>();
  panel->SetName("Panel1");
  TButton* mono = AddButton("MonatomicBtn", panel);
  TButton* nextN = AddButton("NextNBtn", panel);
  TButton* diatom = AddButton("DiatomBtn", panel);
  TButton* help = AddButton("HelpBtn");
  EXPECT_EQ(TabNames(Form), "ExitBTn Panel1 MonatomicBtn NextNBtn DiatomBtn HelpBtn");

  nextN->SetTabOrder(2);
  help->SetTabOrder(1);
  panel->SetTabOrder(99);  // past the end: last
  EXPECT_EQ(TabNames(Form), "ExitBTn HelpBtn Panel1 MonatomicBtn DiatomBtn NextNBtn");
  EXPECT_EQ(nextN->TabOrder(), 2);
  EXPECT_EQ(diatom->TabOrder(), 1);
  EXPECT_EQ(exitBtn->TabOrder(), 0);

  ShowForm();
  exitBtn->SetFocus();
  std::vector<std::string> walk;
  diatom->SetEnabled(false);  // disabled controls are passed over
  for (int i = 0; i < 4; ++i) {
    TestInput::PostKey(VK_TAB);
    Pump();
    walk.push_back(FocusedName());
  }
  EXPECT_EQ(walk, (std::vector<std::string>{"HelpBtn", "MonatomicBtn", "NextNBtn", "ExitBTn"}));
  TestInput::PostKey(VK_TAB, ssShift);
  Pump();
  EXPECT_EQ(FocusedName(), "NextNBtn");

  mono->SetTabStop(false);
  EXPECT_EQ(Form->FindNextControl(help, true, true), nextN);
  EXPECT_EQ(Form->FindNextControl(help, true, false), mono);
}

TEST_F(ControlFocus, EnterAndExitFireWhenFocusMovesByKeyboardMouseOrCode) {
  TButton* exitBtn = AddButton("ExitBTn");
  auto* panel = Add<TPanel>();
  panel->SetName("Panel2");
  auto* kValueBar = new TTrackBar(Form);
  kValueBar->SetName("kValueBar");
  kValueBar->SetOrientation(trVertical);
  kValueBar->SetParent(panel);
  auto* speedBar = new TTrackBar(Form);
  speedBar->SetName("SpeedBar");
  speedBar->SetTop(50);
  speedBar->SetParent(panel);
  std::vector<std::string> log;
  for (TWinControl* c : std::vector<TWinControl*>{exitBtn, panel, kValueBar, speedBar}) {
    c->OnEnter = [&log, c](TObject*) { log.push_back("enter " + c->Name()); };
    c->OnExit = [&log, c](TObject*) { log.push_back("exit " + c->Name()); };
  }
  ShowForm();
  // The first control in tab order takes the focus when the form shows.
  EXPECT_EQ(log, (std::vector<std::string>{"enter ExitBTn"}));
  log.clear();
  TestInput::PostKey(VK_TAB);  // keyboard
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"exit ExitBTn", "enter Panel2", "enter kValueBar"}));
  log.clear();
  TestInput::PostTrackBarMove(speedBar, 3);  // mouse
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"exit kValueBar", "enter SpeedBar"}));
  log.clear();
  TestInput::PostClick(kValueBar);
  TestInput::PostClick(kValueBar);  // already focused: nothing more
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"exit SpeedBar", "enter kValueBar"}));
  log.clear();
  exitBtn->SetFocus();  // code
  EXPECT_EQ(log, (std::vector<std::string>{"exit kValueBar", "exit Panel2", "enter ExitBTn"}));

  // Switching windows and back fires nothing.
  log.clear();
  TForm* other = new TForm(Application);
  auto* otherButton = new TButton(other);
  otherButton->SetParent(other);
  other->Show();
  Pump();
  delete other;
  Form->Show();
  Pump();
  for (const std::string& e : log) EXPECT_EQ(e.find("ExitBTn"), std::string::npos) << e;
}

TEST_F(ControlFocus, KeyHandlersSeeAndCanSwallowOrChangeKeys) {
  auto* edit = Add<TSpinEdit>();
  std::vector<std::string> log;
  edit->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
    log.push_back("down " + std::to_string(key));
    if (key == VK_UP) key = 0;  // swallowed: no step
  };
  edit->OnKeyPress = [&](TObject*, char& key) {
    if (key == 'a') key = '5';
    if (key == 'b') key = 0;
  };
  ShowForm();
  TestInput::PostText(edit, "1ab");
  TestInput::PostCall([&] { edit->SetFocus(); });
  TestInput::PostKey(VK_UP);
  Pump();
  EXPECT_EQ(edit->Text(), "15");
  EXPECT_EQ(log, (std::vector<std::string>{"down 49", "down 65", "down 66", "down 38"}));
  EXPECT_TRUE(edit->Focused());

  edit->Hide();
  EXPECT_FALSE(edit->CanFocus());
  EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
}

// Remembers which components it was told are going.
struct Watcher : TComponent {
  using TComponent::TComponent;
  std::vector<TComponent*> gone;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) gone.push_back(c);
  }
};

TEST_F(ControlFocus, FreeingAParentFreesItsChildrenAndTellsThoseWhoAsked) {
  auto* panel = Add<TPanel>();
  TButton* inside = AddButton("Inside", panel);
  auto* deeper = Add<TPanel>(panel);
  TButton* deepest = AddButton("Deepest", deeper);
  TButton* outside = AddButton("Outside");
  Watcher watcher(nullptr);
  inside->FreeNotification(&watcher);
  deepest->FreeNotification(&watcher);
  ShowForm();
  inside->SetFocus();
  int owned = Form->ComponentCount();

  delete panel;
  EXPECT_EQ(watcher.gone, (std::vector<TComponent*>{deepest, inside}));
  EXPECT_EQ(Form->ComponentCount(), owned - 4);
  EXPECT_EQ(Form->ControlCount(), 1);
  EXPECT_EQ(Form->FindComponent("Inside"), nullptr);
  // The form's focus tracking forgot the freed control: focusing another fires as usual.
  int entered = 0;
  outside->OnEnter = [&](TObject*) { ++entered; };
  outside->SetFocus();
  EXPECT_EQ(entered, 1);
}

TEST_F(ControlFocus, ReparentingMovesTheControlAndOwnersFreeWhatTheyOwn) {
  auto* a = Add<TPanel>();
  auto* b = Add<TPanel>();
  TButton* moved = AddButton("Moved", a);
  moved->SetParent(b);
  EXPECT_EQ(a->ControlCount(), 0);
  EXPECT_EQ(b->Controls(0), moved);
  EXPECT_THROW(b->SetParent(moved), EInvalidOperation);
  EXPECT_THROW(a->SetParent(a), EInvalidOperation);
  moved->SetParent(nullptr);
  EXPECT_EQ(b->ControlCount(), 0);
  EXPECT_FALSE(moved->Showing());

  // A control owned by one form and shown on another goes with either.
  TForm* other = new TForm(Application);
  Watcher watcher(nullptr);
  auto* foreign = new TButton(other);
  foreign->SetParent(Form);
  foreign->FreeNotification(&watcher);
  delete other;
  EXPECT_EQ(watcher.gone, std::vector<TComponent*>{foreign});
  EXPECT_EQ(Form->ControlCount(), 2);
  EXPECT_EQ(GetParentForm(moved), nullptr);
  EXPECT_EQ(GetParentForm(a), Form);
}

}  // namespace
