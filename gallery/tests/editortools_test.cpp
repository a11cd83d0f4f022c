// The editor-form toolkit: placing confirmations, embedding and rescaling editor
// forms, and moving list items with their objects.
#include <gtest/gtest.h>

#include <memory>

#include "gallery/editortools.h"
#include "gallery_test_util.h"
#include "platform/dialogs.h"
#include "platform/testing.h"

namespace {

class EditorToolsTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    TestDialogs::Clear();
  }
};

TEST_F(EditorToolsTest, ConfirmYesNoPlacesTheBoxBesideTheControl) {
  TestDialogs::AnswerButton(mrYes);
  EXPECT_TRUE(ConfirmYesNo("Sure?"));
  std::unique_ptr<TForm> form(new TForm(nullptr));
  form->SetBounds(100, 50, 300, 200);
  auto* button = PlaceControl<TButton>(form.get(), form.get(), "B", 10, 12, 75, 25);
  TestDialogs::AnswerButton(mrNo);
  EXPECT_FALSE(ConfirmDelete("Series1", button));

  const auto asked = TestDialogs::Asked();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_TRUE(asked[0].Pos.X == -1 && asked[0].Pos.Y == -1) << "no control: the usual place";
  EXPECT_EQ(asked[0].Buttons, "Yes,No");
  const TPoint origin = button->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(asked[1].Pos.X, origin.X + 20);
  EXPECT_EQ(asked[1].Pos.Y, origin.Y + 30);
  EXPECT_EQ(asked[1].Text, "Delete Series1 ?");
}

TEST_F(EditorToolsTest, EmbeddedFormsSitNearTheTopAndScaleToTheirForm) {
  std::unique_ptr<TForm> host(new TForm(nullptr));
  host->SetClientWidth(400);
  host->SetClientHeight(300);
  auto* panel = PlaceControl<TPanel>(host.get(), host.get(), "Panel1", 0, 0, 300, 200);
  panel->SetVisible(false);
  struct Case {
    int formHeight, hostPpi, formPpi, top, width;
  } cases[] = {
      {panel->ClientHeight() + 20, 96, 96, 4, 100},  // taller: the usual 4
      {panel->ClientHeight() - 6, 96, 96, 3, 100},   // nearly as tall: centred
      {panel->ClientHeight(), 120, 96, 0, 125},      // another resolution: scaled
  };
  for (const Case& c : cases) {
    host->SetPixelsPerInch(c.hostPpi);
    auto* page = new TForm(host.get());
    page->SetPixelsPerInch(c.formPpi);
    page->SetClientWidth(100);
    page->SetClientHeight(c.formHeight);
    EmbedEditorFormWithTag(page, panel, 7);
    EXPECT_EQ(page->Parent(), panel);
    EXPECT_EQ(page->Left(), 4);
    EXPECT_EQ(page->Top(), c.top) << c.formHeight;
    EXPECT_EQ(page->Width(), c.width);
    EXPECT_EQ(page->PixelsPerInch(), c.hostPpi);
    EXPECT_TRUE(page->BorderStyle() == bsNone && page->Tag() == 7 && page->Visible());
    EXPECT_FALSE(panel->Visible()) << "the page gets its visibility back";
    delete page;
  }

  // A panel on no form: nothing to scale to.
  std::unique_ptr<TPanel> loose(new TPanel(nullptr));
  std::unique_ptr<TForm> page(new TForm(nullptr));
  page->SetPixelsPerInch(120);
  page->SetClientWidth(100);
  EmbedEditorForm(page.get(), loose.get());
  EXPECT_EQ(ParentFormOf(page.get()), nullptr);
  EXPECT_EQ(page->Width(), 100);
  EXPECT_EQ(page->PixelsPerInch(), 120);
  page->SetParent(nullptr);
}

TEST_F(EditorToolsTest, ListMovesKeepTextsAndObjects) {
  std::unique_ptr<TForm> form(new TForm(nullptr));
  auto* from = PlaceControl<TListBox>(form.get(), form.get(), "From", 0, 0, 100, 100);
  auto* to = PlaceControl<TListBox>(form.get(), form.get(), "To", 100, 0, 100, 100);
  from->SetMultiSelect(true);
  TObject objects[4];
  for (int i = 0; i < 4; ++i) from->Items()->AddObject(std::string(1, char('a' + i)), &objects[i]);
  to->Items()->Add("z");
  from->SetSelected(1, true);
  from->SetSelected(3, true);

  MoveSelectedItems(from, to);
  ASSERT_EQ(to->Items()->Text(), "z\nb\nd\n");
  EXPECT_EQ(to->Items()->Objects(1), &objects[1]);
  EXPECT_EQ(to->Items()->Objects(2), &objects[3]);
  EXPECT_EQ(from->Items()->Text(), "a\nc\n");
  EXPECT_EQ(from->Items()->Objects(1), &objects[2]);

  MoveAllItems(from->Items(), to->Items());
  EXPECT_EQ(from->Items()->Count(), 0);
  ASSERT_EQ(to->Items()->Text(), "z\nb\nd\na\nc\n");
  EXPECT_EQ(to->Items()->Objects(3), &objects[0]);
  EXPECT_EQ(to->Items()->Objects(4), &objects[2]);
}

TEST_F(EditorToolsTest, DialogsAreOwnedByTheAskingControlsFormAndCentred) {
  std::unique_ptr<TForm> host(new TForm(nullptr));
  auto* button = PlaceControl<TButton>(host.get(), host.get(), "B", 10, 10, 75, 25);
  TForm* dialog = CreateEditorDialog<TForm>(button);
  EXPECT_EQ(dialog->Owner(), host.get());
  EXPECT_TRUE(dialog->Position() == poOwnerFormCenter && dialog->BorderStyle() == bsDialog);
  std::unique_ptr<TForm> lone(CreateEditorDialog<TForm>(nullptr));
  EXPECT_EQ(lone->Position(), poScreenCenter);
  EXPECT_THROW(CreateEditorDialog(TButton::StaticClass(), button), EInvalidOperation);

  TSpeedButton up(nullptr), down(nullptr);
  LoadArrowGlyphs(&up, &down);
  ASSERT_GT(up.Glyph()->Width(), 0);
  // Mirror images: the up arrow is wide at the bottom, the down arrow at the top.
  const int h = up.Glyph()->Height();
  EXPECT_NE(up.Glyph()->Canvas()->Pixels(1, 1), up.Glyph()->Canvas()->Pixels(1, h - 2));
  EXPECT_EQ(up.Glyph()->Canvas()->Pixels(1, 1), down.Glyph()->Canvas()->Pixels(1, h - 2));
  EXPECT_EQ(up.Glyph()->Canvas()->Pixels(1, h - 2), down.Glyph()->Canvas()->Pixels(1, 1));
}

}  // namespace
