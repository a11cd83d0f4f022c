// The chart font editor: loading (names, depth, the pages already built) and Cancel
// in modal use.
#include "gallery/fonteditor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "gallery/backimageeditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "gallery_test_util.h"
#include "platform/testing.h"

namespace {

// A font with its extras set away from their defaults, by Seed.
void Dress(TLumFont& F, const std::string& Name, int Seed) {
  F.SetName(Name);
  F.SetSize(9 + Seed);
  F.SetStyle(Seed % 2 ? FontStyles({fsBold, fsStrikeOut}) : FontStyles({fsItalic}));
  F.SetInterCharSize(Seed);
  F.SetDepth(Seed);
  F.Gradient()->SetOutline(Seed % 2 == 1);
  F.Shadow()->SetHorizSize(Seed + 1);
  F.Emboss()->SetHorizSize(Seed + 3);
  TBitmap bmp;
  bmp.SetSize(Seed + 4, Seed + 5);
  F.Picture()->SetGraphic(&bmp);
}

// What the editor can change, as text, so a difference names itself.
std::string Describe(TLumFont& F) {
  std::ostringstream s;
  s << F.Name() << " " << F.Size() << " style " << F.Style() << " inter " << F.InterCharSize() << " q "
    << int(F.Quality()) << " depth " << F.Depth() << " grad " << F.Gradient()->Outline() << " shadow "
    << F.Shadow()->HorizSize() << " pic " << F.Picture()->Width();
  return s.str();
}

class TFontEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    host.SetBounds(0, 0, 340, 280);
    host.Show();
    editor.reset(EmbedFontEditor(&host));
  }
  TForm host{nullptr};
  std::unique_ptr<TLumFontEditor> editor;
};

TEST_F(TFontEditorTest, DepthShowsRoundedHalfToEvenAndAnUnknownNameIsOffered) {
  for (const auto& [depth, shown] : {std::pair{2.5, 2}, {3.5, 4}, {0.5, 0}, {2.51, 3}}) {
    TLumFont font;
    font.SetDepth(depth);
    font.SetName("No Such Font Family");
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    editor->LoadFont(&font);
    EXPECT_EQ(editor->UDDepth->Position(), shown) << depth;
    EXPECT_EQ(font.Depth(), depth);  // loading writes nothing back
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(editor->CBName->SelectedText(), "No Such Font Family");
  TStrings* names = editor->CBName->Items();
  for (int i = 1; i < names->Count(); ++i) EXPECT_LE(CompareText(names->Strings(i - 1), names->Strings(i)), 0);
  for (const char* own : {LumLCDFontName, LumLEDFontName}) {
    int count = 0;
    for (int i = 0; i < names->Count(); ++i) count += names->Strings(i) == own;
    EXPECT_EQ(count, 1) << own;  // the screen may list them too
  }
}

TEST_F(TFontEditorTest, LoadFontAfterEveryTabWasVisitedReloadsEveryPage) {
  TLumFontEditor* e = editor.get();
  TLumFont first, second;
  Dress(first, LumLCDFontName, 1);
  Dress(second, LumLEDFontName, 2);
  e->LoadFont(&first);
  for (int tab = 1; tab < e->PageControl1->PageCount(); ++tab) TestInput::PostTabClick(e->PageControl1, tab);
  TestInput::PumpUntil([&] { return e->PictureEditor() != nullptr; });
  ASSERT_TRUE(e->ShadowEditor() && e->EmbossEditor() && e->GradientEditor());
  EXPECT_FALSE(e->PictureEditor()->RGBitmap->Visible());

  e->LoadFont(&second);
  EXPECT_EQ(e->CBName->SelectedText() + " " + e->ESize->Text() + " " + e->EInter->Text(), "DSEG14 Modern 11 2");
  EXPECT_TRUE(e->CBItalic->Checked() && !e->CBBold->Checked() && !e->CBOutGrad->Checked());
  EXPECT_EQ(e->BOutline->Instance(), second.OutLine());
  EXPECT_EQ(e->ShadowEditor()->UDShadowSize->Position(), 3);
  EXPECT_EQ(e->EmbossEditor()->UDShadowSize->Position(), 5);
  EXPECT_EQ(e->GradientEditor()->Gradient(), second.Gradient());
  EXPECT_EQ(e->PictureEditor()->LabelSize->Caption(), "6x7");
  // Edits now reach the second font only.
  const std::string firstWas = Describe(first);
  e->ShadowEditor()->UDShadowSize->SetPosition(40);
  e->UDSize->SetPosition(30);
  EXPECT_EQ(Describe(first), firstWas);
  EXPECT_EQ(second.Shadow()->HorizSize() + second.Size(), 70);
}

TEST_F(TFontEditorTest, CancelPutsBackEverythingTheModalEditorChanged) {
  // The Cancel button, the Escape key and the close box cancel; OK keeps.
  const std::function<void(TLumFontEditor*)> closes[] = {
      [](TLumFontEditor* e) { TestInput::PostClick(e->Button2); },
      [](TLumFontEditor*) { TestInput::PostKey(VK_ESCAPE); },
      [](TLumFontEditor* e) { TestInput::PostCall([e] { e->Close(); }); },
      [](TLumFontEditor* e) { TestInput::PostClick(e->Button1); },
  };
  for (const auto& close : closes) {
    const bool ok = &close == &closes[3];
    TLumFont font;
    Dress(font, LumLCDFontName, 1);
    const std::string was = Describe(font);
    std::string edited;
    TestInput::WhenModal([&] {
      TLumFontEditor* e = nullptr;
      for (int i = 0; i < host.ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TLumFontEditor*>(host.Components(i))) e = f;
      ASSERT_TRUE(e && e->PanelButtons->Visible());
      EXPECT_EQ(e->ClientHeight(), 268);
      e->CBName->SetItemIndex(e->CBName->Items()->IndexOf(LumLEDFontName));
      e->CBNameChange(e->CBName);
      e->CBQuality->SetItemIndex(int(fqBest));
      e->CBQualityChange(e->CBQuality);
      for (TUpDown* u : {e->UDSize, e->UDInter, e->UDDepth}) u->SetPosition(12);
      for (TCheckBox* c : {e->CBBold, e->CBUnder, e->CBOutGrad}) c->SetChecked(!c->Checked());
      e->PageControl1->SetActivePage(e->TabShadow);
      e->PageControl1Change(e->PageControl1);
      e->ShadowEditor()->UDShadowSize->SetPosition(33);
      font.Picture()->SetGraphic(nullptr);
      edited = Describe(font);
      close(e);
    });
    EXPECT_EQ(EditChartFont(&host, &font), ok);
    EXPECT_EQ(edited, "DSEG14 Modern 12 style 12 inter 12 q 0 depth 12 grad 0 shadow 33 pic 0");
    EXPECT_EQ(Describe(font), ok ? edited : was);
  }
}

}  // namespace
