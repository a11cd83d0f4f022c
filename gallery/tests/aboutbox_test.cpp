// The about box: its controls and layout, ShowAbout's texts and the link.
#include <gtest/gtest.h>

#include "form_inventory.h"
#include "gallery/aboutbox.h"
#include "gallery_test_util.h"
#include "platform/testing.h"

namespace {

TEST(AboutBox, ControlsLayoutAndTexts) {
  gallerytest::EnsureUnits();
  struct { std::string Caption, Version, Extra, WantCaption, WantVersion, WantExtra; } cases[] = {
      {"", "", "", "LumChart Pro v2011.03.30407 About", "LumChart Pro v2011.03.30407", ""},
      {"Mine", "v9", "For tests", "Mine", "v9", "For tests"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    std::unique_ptr<TLumAboutForm> f(CreateAboutForm(c.Caption, c.Version, c.Extra));
    f->Show();
    gallerytest::CheckInventory(f.get(), {{"BClose", "TButton", "Close"}, {"Labelwww", "TLabel", LumWebAddress}});
    // The texts lie over the picture: each inside the form and unclipped.
    for (int i = 0; i < f->ControlCount(); ++i) {
      TControl* k = f->Controls(i);
      SCOPED_TRACE(k->Name());
      const TRect b = k->BoundsRect(), client = f->ClientRect();
      EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Right <= client.Right && b.Bottom <= client.Bottom);
      EXPECT_LE(CaptionRect(k).Right, k->ClientWidth());
    }
    EXPECT_EQ(f->Caption(), c.WantCaption);
    EXPECT_EQ(f->LabelVersion->Caption(), c.WantVersion);
    EXPECT_EQ(f->LabelExtra->Caption(), c.WantExtra);
    EXPECT_FALSE(f->LabelCopy->Caption().empty());
    EXPECT_EQ(f->Labelwww->Width(), 313);
    EXPECT_TRUE(f->KeyPreview());
    EXPECT_EQ(f->BorderIcons(), biSystemMenu);
  }
  // The modal run ends with Escape (Close is the cancel button).
  TestInput::PostKey(VK_ESCAPE);
  ShowAbout("", "", "");
}

TEST(AboutBox, TheLinkOpensTheAddress) {
  gallerytest::EnsureUnits();
  TLumAboutForm f(nullptr);
  const size_t before = RecordedShellCalls().size();
  f.Labelwww->OnClick(f.Labelwww);
  ASSERT_EQ(RecordedShellCalls().size(), before + 1);
  EXPECT_NE(RecordedShellCalls().back().find(LumWebAddress), std::string::npos);
}

}  // namespace
