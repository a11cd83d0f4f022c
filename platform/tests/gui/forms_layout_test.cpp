// Forms as dialogs and pages: aligned layout, splitter, embedding, scaling, keys,
// creation and destruction events, modal runs ended by freeing, borderless windows.
#include <memory>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/stdctrls.h"

using namespace formstest;

namespace {

class FormLayout : public FormTest {
protected:
  TPanel* Panel(TAlign Align, int Width, int Height, TWinControl* Parent = nullptr) {
    auto* p = new TPanel(Form);
    p->SetBounds(0, 0, Width, Height);
    p->SetAlign(Align);
    p->SetParent(Parent ? Parent : Form);
    return p;
  }
};

TEST_F(FormLayout, AlignedChildrenShareTheClientAreaInOrder) {
  Form->SetBounds(0, 0, 400, 300);
  auto* top = Panel(alTop, 50, 40);
  auto* top2 = Panel(alTop, 50, 30);
  auto* bottom = Panel(alBottom, 50, 25);
  auto* left = Panel(alLeft, 60, 10);
  auto* right = Panel(alRight, 70, 10);
  auto* client = Panel(alClient, 5, 5);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 40));
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 40, 400, 70));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 275, 400, 300));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 70, 60, 275));
  EXPECT_EQ(right->BoundsRect(), Rect(330, 70, 400, 275));
  EXPECT_EQ(client->BoundsRect(), Rect(60, 70, 330, 275));

  // The parent's size, a child's size and visibility all lay out again.
  Form->SetBounds(0, 0, 500, 200);
  EXPECT_EQ(client->BoundsRect(), Rect(60, 70, 430, 175));
  top->SetHeight(10);
  EXPECT_EQ(top2->Top(), 10);
  top->Hide();
  EXPECT_EQ(top2->Top(), 0);
  EXPECT_EQ(left->Height(), 145);
  // A top panel placed above another keeps that order.
  top->Show();
  EXPECT_EQ(top->Top(), 0);
  // Inside a group box the frame is left out.
  auto* box = new TGroupBox(Form);
  box->SetAlign(alRight);
  box->SetWidth(100);
  box->SetParent(Form);
  auto* inner = Panel(alClient, 1, 1, box);
  EXPECT_EQ(inner->BoundsRect(), Rect(2, 15, 98, box->Height() - 2));
}

TEST_F(FormLayout, ChildrenLargerThanTheirParentNeverGetNegativeSizes) {
  Form->SetBounds(0, 0, 100, 80);
  auto* top = Panel(alTop, 10, 60);
  auto* bottom = Panel(alBottom, 10, 50);
  auto* left = Panel(alLeft, 150, 10);
  auto* client = Panel(alClient, 10, 10);
  for (TControl* c : {(TControl*)top, (TControl*)bottom, (TControl*)left, (TControl*)client}) {
    EXPECT_GE(c->Width(), 0);
    EXPECT_GE(c->Height(), 0);
  }
  EXPECT_EQ(top->Height(), 60);  // keeps its own height and overhangs
  EXPECT_EQ(left->Height(), 0);
  EXPECT_EQ(client->Width(), 0);
  Form->SetBounds(0, 0, 0, 0);
  EXPECT_EQ(client->Height(), 0);
  EXPECT_EQ(top->Width(), 0);
}

TEST_F(FormLayout, SplitterDragResizesItsNeighbourWithinTheMinimum) {
  Form->SetBounds(0, 0, 400, 200);
  auto* left = Panel(alLeft, 100, 10);
  auto* split = Add<TSplitter>();
  auto* client = Panel(alClient, 10, 10);
  EXPECT_EQ(split->Left(), 100);
  EXPECT_EQ(client->Left(), 103);
  int moved = 0;
  split->OnMoved = [&](TObject*) { ++moved; };
  ShowForm();
  auto drag = [&](int x) {
    TestInput::PostMouseDown(split, mbLeft, 1, 50);
    TestInput::PostMouseMove(split, x, 50, ssLeft);
    TestInput::PostMouseUp(split, mbLeft, 1, 50);
    Pump();
  };
  drag(51);
  EXPECT_EQ(left->Width(), 150);
  EXPECT_EQ(split->Left(), 150);
  EXPECT_EQ(client->Left(), 153);
  EXPECT_EQ(moved, 1);

  drag(1000);  // far right: the client area keeps MinSize (30)
  EXPECT_EQ(client->Width(), 30);
  EXPECT_EQ(left->Width(), 400 - 3 - 30);
  drag(-1000);  // far left: the panel keeps MinSize
  EXPECT_EQ(left->Width(), 30);
  EXPECT_EQ(moved, 3);
}

// The page rule of editor pages: left 4, top the smaller of 4 and half the height
// difference, shown with the page.
void Embed(TForm* Page, TWinControl* Parent) {
  Page->SetBorderStyle(bsNone);
  Page->SetParent(Parent);
  Page->SetLeft(4);
  Page->SetTop(std::min(4, std::abs(Parent->ClientHeight() - Page->ClientHeight()) / 2));
  Page->Show();
}

TEST_F(FormLayout, EmbeddedFormsLiveInsideTheirPage) {
  auto* pages = Add<TPageControl>(0, 0, 300, 224);
  auto* sheet = new TTabSheet(Form);
  sheet->SetPageControl(pages);
  const int pageHeight = sheet->ClientHeight();
  auto* tall = new TForm(Form);
  tall->SetBounds(0, 0, 200, pageHeight + 20);
  int created = 0, shows = 0;
  tall->OnCreate = [&](TObject*) { ++created; };
  tall->OnShow = [&](TObject*) { ++shows; };
  Embed(tall, sheet);
  EXPECT_EQ(tall->Top(), 4);
  EXPECT_EQ(tall->Left(), 4);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(GetParentForm(tall), Form);
  EXPECT_THROW(tall->ShowModal(), EInvalidOperation);

  auto* panel = Add<TPanel>(0, 0, 200, 100);
  auto* shortForm = new TForm(Form);
  shortForm->SetBounds(0, 0, 100, 94);
  Embed(shortForm, panel);
  EXPECT_EQ(shortForm->Top(), 3);

  // Shown and hidden with its page; a child of it is a child of the window.
  auto* edit = new TEdit(tall);
  edit->SetParent(tall);
  ShowForm();
  EXPECT_TRUE(tall->Showing());
  EXPECT_TRUE(edit->CanFocus());
  EXPECT_EQ(edit->ClientToScreen({0, 0}).Y, Form->ClientToScreen({0, 0}).Y + 24 + 4);
  auto* sheet2 = new TTabSheet(Form);
  sheet2->SetPageControl(pages);
  pages->SetActivePage(sheet2);
  EXPECT_FALSE(tall->Showing());
  EXPECT_TRUE(tall->Visible());

  // Back out: a window again, which can run modally.
  shortForm->Hide();
  shortForm->SetParent(nullptr);
  EXPECT_FALSE(shortForm->Showing());
  TestInput::PostCall([shortForm] { shortForm->SetModalResult(mrOk); });
  EXPECT_EQ(shortForm->ShowModal(), mrOk);

  // Freed with its owner.
  int destroyed = 0;
  tall->OnDestroy = [&](TObject*) { ++destroyed; };
  delete pages;  // the page goes, and with it the form inside
  EXPECT_EQ(destroyed, 1);
}

TEST_F(FormLayout, ScaleByScalesBoundsAndFonts) {
  Form->SetBounds(10, 20, 200, 100);
  auto* panel = Add<TPanel>(10, 20, 100, 40);
  auto* label = new TLabel(Form);
  label->SetAutoSize(false);
  label->SetBounds(4, 6, 30, 12);
  label->SetParent(panel);
  Form->Font()->SetHeight(-11);
  auto* own = Add<TEdit>(0, 60, 50, 21);
  own->Font()->SetHeight(-16);
  Form->ScaleBy(120, 96);
  EXPECT_EQ(Form->Left(), 10);
  EXPECT_EQ(Form->Width(), 250);
  EXPECT_EQ(Form->Height(), 125);
  EXPECT_EQ(panel->BoundsRect(), Rect(13, 25, 138, 75));
  EXPECT_EQ(label->BoundsRect(), Rect(5, 8, 43, 23));
  EXPECT_EQ(Form->Font()->Height(), -14);
  EXPECT_EQ(label->Font()->Height(), -14);  // follows its parent
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(own->Font()->Height(), -20);
  Form->ScaleBy(5, 5);
  EXPECT_EQ(Form->Width(), 250);
}

TEST_F(FormLayout, KeyPreviewShowsKeysToTheFormFirst) {
  auto* edit = Add<TEdit>();
  std::vector<std::string> log;
  Form->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) {
    log.push_back("form " + std::to_string(Key));
    if (Key == VK_ESCAPE) Key = 0;
  };
  edit->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) { log.push_back("edit " + std::to_string(Key)); };
  ShowForm();
  edit->SetFocus();
  TestInput::PostKey(VK_DOWN);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"edit 40"});
  log.clear();
  Form->SetKeyPreview(true);
  TestInput::PostKey(VK_DOWN);
  TestInput::PostKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"form 40", "edit 40", "form 27"}));
}

TEST_F(FormLayout, EnterAndEscapeCloseADialogWithItsButtons) {
  auto* dlg = new TForm(Form);
  auto* edit = new TEdit(dlg);
  edit->SetParent(dlg);
  auto* memo = new TMemo(dlg);
  memo->SetTop(30);
  memo->SetParent(dlg);
  auto* ok = new TButton(dlg);
  ok->SetBounds(10, 150, 75, 25);
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetParent(dlg);
  auto* cancel = new TButton(dlg);
  cancel->SetBounds(100, 150, 75, 25);
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  cancel->SetParent(dlg);
  dlg->SetActiveControl(edit);

  // Each key is posted from inside the dialog's own loop; a key gone astray leaves
  // the dialog open, and the modal hang guard fails the test.
  TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  TestInput::WhenModal([] { TestInput::PostKey(VK_ESCAPE); });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  // A memo keeps its returns: the dialog is still open after the key.
  dlg->SetActiveControl(memo);
  TestInput::WhenModal([dlg] {
    TestInput::PostKey(VK_RETURN);
    TestInput::PostCall([dlg] { dlg->SetModalResult(mrNo); });
  });
  EXPECT_EQ(dlg->ShowModal(), mrNo);
  EXPECT_EQ(memo->Lines()->Count(), 2);
}

TEST_F(FormLayout, CreateFiresOnceAndDestroySeesTheControls) {
  std::vector<std::string> log;
  auto* f = new TForm(Form);
  auto* edit = new TEdit(f);
  edit->SetParent(f);
  f->OnCreate = [&](TObject*) { log.push_back("create"); };
  f->OnDestroy = [&](TObject* Sender) {
    log.push_back("controls " + std::to_string(static_cast<TForm*>(Sender)->ControlCount()));
  };
  f->Show();
  f->Hide();
  f->Show();
  delete f;
  EXPECT_EQ(log, (std::vector<std::string>{"create", "controls 1"}));
}

TEST_F(FormLayout, FreeingTheOwnerEndsAModalDialogWithCancel) {
  auto* owner = new TForm(Form);
  auto* dlg = new TForm(owner);
  owner->Show();
  TestInput::WhenModal([owner] { delete owner; });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  // The dialog went with its owner; the loop goes on.
  Pump();
}

TEST_F(FormLayout, PositionsCentreOnTheOwnerForm) {
  ShowForm();
  Form->SetBounds(100, 100, 400, 300);
  auto* dlg = new TForm(Form);
  dlg->SetBounds(0, 0, 200, 100);
  dlg->SetPosition(poOwnerFormCenter);
  dlg->Show();
  EXPECT_EQ(dlg->Left(), 200);
  EXPECT_EQ(dlg->Top(), 200);
  dlg->Hide();
  // Without a form as owner it centres on the screen.
  auto* loose = new TForm(nullptr);
  loose->SetBounds(0, 0, 200, 100);
  loose->SetPosition(poOwnerFormCenter);
  loose->Show();
  EXPECT_EQ(loose->Left(), (Screen->Width() - 200) / 2);
  delete loose;
}

TEST_F(FormLayout, BorderlessFormsCoverTheDesktopAndPopUpsStayOnTheWorkArea) {
  auto* panel = new TPanel(Form);
  panel->SetBounds(5, 6, 50, 40);
  panel->SetAlign(alLeft);
  panel->SetParent(Form);
  auto* full = new TForm(Form);
  full->SetBorderStyle(bsNone);
  full->SetKeyPreview(true);
  const TRect desk = Screen->DesktopRect();
  EXPECT_GT(desk.Width(), 0);
  full->SetBounds(desk.Left, desk.Top, desk.Width(), desk.Height());
  // Moved onto the window and back, as the full screen view does.
  const TRect saved = panel->BoundsRect();
  panel->SetAlign(alNone);
  panel->SetParent(full);
  panel->SetBounds(0, 0, desk.Width(), desk.Height());
  full->Show();
  EXPECT_TRUE(panel->Showing());
  full->Hide();
  panel->SetParent(Form);
  panel->SetBounds(saved.Left, saved.Top, saved.Width(), saved.Height());
  panel->SetAlign(alLeft);
  EXPECT_EQ(panel->Left(), 0);
  EXPECT_EQ(panel->Width(), 50);

  auto* popup = new TForm(Form);
  popup->SetBorderStyle(bsNone);
  popup->SetBounds(0, 0, 120, 80);
  const TRect work = Screen->WorkAreaRect();
  popup->SetBounds(work.Right - 10, work.Bottom - 10, 120, 80);
  popup->MakeFullyVisible();
  EXPECT_EQ(popup->Left(), work.Right - 120);
  EXPECT_EQ(popup->Top(), work.Bottom - 80);
  popup->SetBounds(work.Left - 50, work.Top - 50, 120, 80);
  popup->MakeFullyVisible();
  EXPECT_EQ(popup->Left(), work.Left);
  EXPECT_EQ(popup->Top(), work.Top);
}

}  // namespace
