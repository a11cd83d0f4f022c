// The shadow and emboss editors: the lightness slider keeps hue and saturation,
// filling the controls writes nothing back, an editor without a shadow ignores its
// controls, and the modal routines' answer after OK.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/procs.h"
#include "gallery/shadoweditor.h"
#include "gallery_test_util.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;
using TestInput::PostText;
using TestInput::PostTrackBarMove;
using TestInput::WhenModal;

class ShadowEditorTest : public gallerytest::TDialogTest {
protected:
  TLumShadow shadow;
};

TEST_F(ShadowEditorTest, LightnessGoesToBlackAndWhiteKeepingHueAndSaturation) {
  for (TColor start : {TColor(0x2040C0), TColor(0x30A060), TColor(0x808080)}) {
    SCOPED_TRACE(start);
    shadow.SetColor(start);
    std::uint16_t h0, l0, s0, h, l, s;
    ColorToHLS(start, h0, l0, s0);
    std::unique_ptr<TLumShadowEditor> d(new TLumShadowEditor(nullptr));
    d->SetShadow(&shadow);
    d->Show();
    EXPECT_EQ(d->TBColor->Position(), l0);
    d->TBColor->SetPosition(0);
    EXPECT_EQ(ColorToRGB(shadow.Color()), ColorToRGB(clBlack));
    d->TBColor->SetPosition(240);
    EXPECT_EQ(ColorToRGB(shadow.Color()), ColorToRGB(clWhite));
    d->TBColor->SetPosition(l0);  // back: hue and saturation were never lost to black
    ColorToHLS(shadow.Color(), h, l, s);
    EXPECT_NEAR(h, h0, 1);
    EXPECT_NEAR(s, s0, 1);
  }
  // A colour chosen gives the slider its lightness, and its hue to the slider's moves.
  std::unique_ptr<TLumShadowEditor> d(CreateEditorDialog<TLumShadowEditor>(anchor));
  d->SetShadow(&shadow);
  WhenModal([&] {
    TestDialogs::AnswerColor(0x0000C0);  // a dark red
    PostClick(d->BShadowColor);
    PostCall([&] { EXPECT_EQ(d->TBColor->Position(), 90); });
    PostTrackBarMove(d->TBColor, 150);
    PostClick(d->BOK);
  });
  d->ShowModal();
  std::uint16_t h, l, s;
  ColorToHLS(shadow.Color(), h, l, s);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(l, 150);
  EXPECT_EQ(s, 240);
}

TEST_F(ShadowEditorTest, LoadingWritesNothingBackAndNoShadowTakesNoEdits) {
  auto* pages = PlaceControl<TPageControl>(host.get(), host.get(), "Pages", 0, 0, 300, 240);
  auto* page = new TTabSheet(host.get());
  page->SetPageControl(pages);
  std::unique_ptr<TLumEmbossEditor> d(EmbedEmbossEditor(page));
  EXPECT_FALSE(d->BOK->Visible());
  host->Show();
  PostText(d->Edit1, "5");
  PostTrackBarMove(d->TBColor, 30);
  PostClick(d->CBSmooth);
  TestInput::PumpPasses();  // nothing to edit: nothing happens

  // A colour whose lightness does not lead back to it through HLS.
  shadow.SetColor(0x123457);
  shadow.SetHorizSize(-7);
  shadow.SetSmooth(false);
  shadow.SetSmoothBlur(-40);
  shadow.SetClip(true);
  shadow.SetVisible(true);
  int notices = 0;
  shadow.OnChange = [&](TObject*) { ++notices; };
  d->LoadShadow(&shadow);
  EXPECT_EQ(notices, 0);
  EXPECT_EQ(shadow.Color(), TColor(0x123457));
  EXPECT_EQ(d->UDShadowSize->Position(), -7);
  EXPECT_EQ(d->LBlur->Caption(), "-40");
  EXPECT_FALSE(d->TBBlur->Enabled() || d->CBClip->Enabled());
  // Loaded, the controls edit it live.
  PostText(d->EVertSize, "12");
  PostTrackBarMove(d->TBColor, 0);
  TestInput::PumpPasses();
  EXPECT_EQ(shadow.VertSize(), 12);
  EXPECT_EQ(ColorToRGB(shadow.Color()), ColorToRGB(clBlack));
}

TEST_F(ShadowEditorTest, SmoothingGovernsBlurAndClipAndOkAnswersFalse) {
  shadow.SetVisible(false);
  shadow.SetSmooth(true);
  WhenModal([&] {
    auto* d = dynamic_cast<TLumShadowEditor*>(host->FindComponent("LumShadowEditor"));
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->Edit1->Enabled());
    PostClick(d->CBSmooth);
    PostCall([this, d] { EXPECT_FALSE(shadow.Smooth() || d->TBBlur->Enabled() || d->CBClip->Enabled()); });
    PostClick(d->CBVisible);
    PostText(d->Edit1, "6");
    PostClick(d->BOK);
  });
  // OK closes the form, which ends the modal run with Cancel: the changes are live.
  EXPECT_FALSE(EditShadow(anchor, &shadow));
  EXPECT_TRUE(shadow.Visible());
  EXPECT_EQ(shadow.HorizSize(), 6);
  EXPECT_EQ(host->FindComponent("LumShadowEditor"), nullptr);
  TLumEmboss emboss;
  WhenModal([&] { PostClick(dynamic_cast<TLumEmbossEditor*>(host->FindComponent("LumEmbossEditor"))->BOK); });
  EXPECT_FALSE(EditEmboss(anchor, &emboss));
}

}  // namespace
