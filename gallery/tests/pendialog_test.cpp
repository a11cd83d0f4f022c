// The pen dialog and the pen button: what Cancel puts back and whom it tells, the
// sample the button paints, and the controls that follow the kind of pen.
#include <gtest/gtest.h>

#include <memory>

#include "form_inventory.h"
#include "gallery/editortools.h"
#include "gallery/pendialog.h"
#include "gallery_test_util.h"
#include "platform/snapshot.h"
#include "platform/testing.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;
using TestInput::PostKey;
using TestInput::PostText;
using TestInput::WhenModal;

class PenDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    TestDialogs::Clear();
    host.reset(new TForm(nullptr));
    host->SetBounds(50, 50, 300, 200);
    anchor = PlaceControl<TButton>(host.get(), host.get(), "Anchor", 10, 10, 75, 25);
    pen.OnChange = [this](TObject* Sender) {
      ++notices;
      lastSender = Sender;
    };
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    notices = 0;
  }
  std::unique_ptr<TForm> host;
  TButton* anchor = nullptr;
  TChartPen pen;
  int notices = 0;
  TObject* lastSender = nullptr;
};

TEST_F(PenDialogTest, ControlsMatchTheirTable) {
  std::unique_ptr<TPenDialog> d(CreatePenDialog(anchor, &pen));
  WhenModal([&] { PostClick(d->BOk); });
  d->ShowModal();
  EXPECT_EQ(d->Caption(), "Border Editor");
  EXPECT_EQ(d->ClientWidth(), 291);
  EXPECT_EQ(d->ClientHeight(), 183);
  EXPECT_EQ(d->BorderIcons(), biSystemMenu);
  const std::vector<std::string> styles = {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Small Dots"};
  gallerytest::CheckInventory(
      d.get(), {{"CBVisible", "TCheckBox", "&Visible"}, {"CBStyle", "TComboFlat", "&Style:", styles},
                {"SEWidth", "TEdit", "&Width:"},        {"UDWidth", "TUpDown", "", {}, 1, 100},
                {"BColor", "TButtonColor", "&Color..."}, {"CBEndStyle", "TComboFlat", "", {"Round", "Square", "Flat"}},
                {"ESpace", "TEdit", "Sp&ace:"},         {"UDSpace", "TUpDown", "", {}, 1, 100},
                {"BOk", "TButton", "OK"},               {"BCancel", "TButton", "Cancel"}});
  EXPECT_TRUE(d->BOk->Default());
  EXPECT_TRUE(d->BCancel->Cancel());
  gallerytest::CheckLayout(d.get());
  // The colour button's caption, centred, ends before its swatch begins.
  TBitmap measure;
  measure.Canvas()->Font()->Assign(d->BColor->Font());
  const int text = measure.Canvas()->TextWidth(StripAccelerator(d->BColor->Caption()));
  EXPECT_LT((d->BColor->Width() + text) / 2, d->BColor->SymbolRect().Left);
}

TEST_F(PenDialogTest, CancelRestoresOnlyWhatChangedAndTellsThePenOnce) {
  std::unique_ptr<TPenDialog> d(CreatePenDialog(anchor, &pen));
  WhenModal([&] { PostClick(d->BCancel); });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(notices, 0) << "filling the controls changes nothing";
  EXPECT_FALSE(d->Modified());

  WhenModal([&] {
    PostText(d->SEWidth, "7");
    PostCall([&] { EXPECT_EQ(pen.Width(), 7); });
    PostClick(d->CBVisible);
    PostClick(d->BCancel);
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(pen.Width(), 3);
  EXPECT_TRUE(pen.Visible());
  EXPECT_EQ(lastSender, d.get()) << "the restore is announced by the dialog";
  const int afterCancel = notices;

  // OK keeps the change; the next show starts unmodified.
  WhenModal([&] {
    PostText(d->SEWidth, "5");
    PostClick(d->BOk);
  });
  EXPECT_EQ(d->ShowModal(), mrOk);
  EXPECT_EQ(pen.Width(), 5);
  EXPECT_GT(notices, afterCancel);
}

TEST_F(PenDialogTest, SmallDotsSwapTheWidthAndSpaceControls) {
  pen.SetStyle(psDashDotDot);
  std::unique_ptr<TPenDialog> d(CreatePenDialog(anchor, &pen));
  EXPECT_FALSE(d->ESpace->Enabled());
  WhenModal([&] {
    d->CBStyle->SetFocus();
    PostKey(VK_DOWN);
    PostCall([&] {
      EXPECT_TRUE(pen.SmallDots());
      EXPECT_FALSE(d->SEWidth->Enabled() || d->UDWidth->Enabled());
      EXPECT_TRUE(d->ESpace->Enabled() && d->UDSpace->Enabled());
    });
    PostText(d->ESpace, "4");
    PostCall([&] { d->CBStyle->SetFocus(); });
    PostKey(VK_UP);
    PostClick(d->BOk);
  });
  EXPECT_EQ(d->ShowModal(), mrOk);
  EXPECT_FALSE(pen.SmallDots());
  EXPECT_EQ(pen.SmallSpace(), 4);
  EXPECT_EQ(pen.Style(), psDashDotDot);
  EXPECT_TRUE(d->SEWidth->Enabled());
  EXPECT_FALSE(d->ESpace->Enabled());

  // Shown again on a small-dot pen it opens on that item, once.
  pen.SetSmallDots(true);
  WhenModal([&] { PostClick(d->BOk); });
  d->ShowModal();
  EXPECT_EQ(d->CBStyle->ItemIndex(), 5);
  EXPECT_FALSE(d->SEWidth->Enabled());
}

TEST_F(PenDialogTest, APlainPenHasNoVisibilityNorSmallDots) {
  TPen plain;
  plain.SetWidth(2);
  plain.SetStyle(psDot);
  int plainNotices = 0;
  plain.OnChange = [&](TObject*) { ++plainNotices; };
  std::unique_ptr<TPenDialog> d(CreatePenDialog(anchor, &plain, true));
  WhenModal([&] {
    PostText(d->SEWidth, "4");
    PostClick(d->BCancel);
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_FALSE(d->CBVisible->Visible());
  EXPECT_FALSE(d->BColor->Visible());
  EXPECT_EQ(d->CBStyle->Items()->Count(), 5);
  EXPECT_EQ(d->CBStyle->ItemIndex(), int(psDot));
  EXPECT_EQ(plain.Width(), 2);
  EXPECT_EQ(plain.Style(), psDot);
  EXPECT_GE(plainNotices, 2) << "the change and the restore";
}

TEST_F(PenDialogTest, ButtonDrawsAClampedCopyAndOpensTheDialog) {
  auto* button = PlaceControl<TButtonPen>(host.get(), host.get(), "BPen", 10, 50, 90, 25, "&Border...");
  pen.SetWidth(10);
  pen.SetStyle(psSolid);
  LinkButtonTo(button, &pen);
  notices = 0;
  TBitmap bmp;
  RenderControl(button, &bmp);
  int red = 0;
  for (int y = 0; y < bmp.Height(); ++y) red += bmp.Canvas()->Pixels(button->Width() - 12, y) == clRed;
  EXPECT_EQ(red, 6);
  EXPECT_EQ(pen.Width(), 10);
  EXPECT_EQ(notices, 0);

  host->Show();
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  PostClick(button);
  WhenModal([&] {
    auto* d = dynamic_cast<TPenDialog*>(host->FindComponent("PenDialog"));
    ASSERT_NE(d, nullptr);
    d->BOk->Click();
  });
  ASSERT_TRUE(TestInput::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(host->FindComponent("PenDialog"), nullptr) << "freed after the click";
}

}  // namespace
