// The shape editor: loading and the bevel rule, reloading every page already built,
// the modal form with one OK, and the tabs merged into another page control.
#include "gallery/shapeeditor.h"

#include <gtest/gtest.h>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "form_inventory.h"
#include "gallery/backimageeditor.h"
#include "gallery/brushdialog.h"
#include "gallery/fonteditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "gallery_test_util.h"
#include "platform/testing.h"

namespace {

std::string TabCaptions(TPageControl* Pages) {
  std::string r;
  for (int i = 0; i < Pages->PageCount(); ++i)
    if (Pages->Pages(i)->TabVisible()) r += Pages->Pages(i)->Caption() + " ";
  return r;
}

// A shape with every part the editor shows set away from its default, by Seed.
void Dress(TLumCustomShape& S, int Seed) {
  S.SetShapeStyle(Seed % 2 ? fosRoundRectangle : fosRectangle);
  S.SetRoundSize(10 + Seed);
  S.SetTransparent(Seed % 2 == 1);
  S.SetBevel(TPanelBevel(Seed % 3));
  S.SetBevelWidth(Seed + 1);
  S.SetTransparency(5 * Seed);
  S.Font()->SetSize(8 + Seed);
  S.Shadow()->SetHorizSize(Seed + 2);
  S.Emboss()->SetHorizSize(Seed + 3);
  TBitmap bmp;
  bmp.SetSize(Seed + 4, Seed + 4);
  S.Picture()->SetGraphic(&bmp);
}

// A page control with two pages of its own filling Form.
TPageControl* HostPages(TForm* Form) {
  auto* pages = new TPageControl(Form);
  pages->SetParent(Form);
  pages->SetAlign(alClient);
  for (const char* c : {"Options", "Position"}) {
    auto* s = new TTabSheet(Form);
    s->SetCaption(c);
    s->SetPageControl(pages);
  }
  pages->SetActivePageIndex(1);
  return pages;
}

class TShapeEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    host = std::make_unique<TForm>(nullptr);
    host->SetBounds(0, 0, 360, 290);
    host->Show();
  }
  std::unique_ptr<TForm> host;
};

TEST_F(TShapeEditorTest, LoadShapeFillsAllSevenTabsAndAppliesTheBevelRule) {
  TLumCustomShape shapes[3];
  for (int seed : {0, 1, 2}) Dress(shapes[seed], seed);
  shapes[2].SetRoundSize(900);  // beyond the up-down: loading must not write it back
  TFormLumShape* e = EmbedShapeEditor(host.get(), &shapes[1], host.get());
  for (int tab = 1; tab < e->PC1->PageCount(); ++tab) TestInput::PostTabClick(e->PC1, tab);
  TestInput::PumpUntil([&] { return e->PictureEditor() != nullptr; });
  ASSERT_TRUE(e->FontEditor() && e->GradientEditor() && e->ShadowEditor() && e->EmbossEditor());
  for (int seed : {0, 2, 1}) {
    SCOPED_TRACE(seed);
    TLumCustomShape& s = shapes[seed];
    e->LoadShape(&s);
    EXPECT_EQ(e->CBRound->Checked(), seed == 1);
    EXPECT_EQ(e->ERoundSize->Enabled(), seed == 1);
    EXPECT_EQ(e->CBTransparent->Checked(), seed == 1);
    EXPECT_EQ(e->CBBevel->ItemIndex(), seed);
    EXPECT_EQ(e->EBevWidth->Enabled(), seed != 0);  // no bevel: no bevel size
    EXPECT_EQ(e->EBevWidth->Text() + " " + e->EShadowTransp->Text(), IntToStr(seed + 1) + " " + IntToStr(5 * seed));
    EXPECT_EQ(e->Button4->Instance(), s.Frame());
    EXPECT_EQ(e->FontEditor()->UDSize->Position(), 8 + seed);
    EXPECT_EQ(e->GradientEditor()->Gradient(), s.Gradient());
    EXPECT_EQ(e->ShadowEditor()->UDShadowSize->Position(), seed + 2);
    EXPECT_EQ(e->EmbossEditor()->UDShadowSize->Position(), seed + 3);
    EXPECT_EQ(e->PictureEditor()->LabelSize->Caption(), IntToStr(seed + 4) + "x" + IntToStr(seed + 4));
  }
  EXPECT_EQ(shapes[2].RoundSize(), 900);
  e->CBBevel->SetItemIndex(0);
  e->CBBevelChange(e->CBBevel);
  EXPECT_EQ(shapes[1].Bevel(), bvNone);
  EXPECT_FALSE(e->UDBevW->Enabled());
  // "&Pattern..." edits the shape's own brush.
  TestInput::WhenModal([&] {
    for (int i = 0; i < host->ComponentCount(); ++i)
      if (auto* d = dynamic_cast<TBrushDialog*>(host->Components(i))) {
        EXPECT_EQ(d->Brush(), shapes[1].Brush());
        d->LStyle->SetItemIndex(int(bsCross));
        d->LStyleClick(d->LStyle);
        TestInput::PostClick(d->Button2);
      }
  });
  e->Button6Click(e->Button6);
  EXPECT_EQ(shapes[1].Brush()->Style(), bsCross);

  // No shape any more: no page holds a part of the last one, which may go.
  auto gone = std::make_unique<TLumCustomShape>();
  Dress(*gone, 2);
  e->LoadShape(gone.get());
  e->LoadShape(nullptr);
  gone.reset();
  EXPECT_EQ(e->FontEditor()->TheFont(), nullptr);
  EXPECT_EQ(e->GradientEditor()->Gradient(), nullptr);
  EXPECT_EQ(e->ShadowEditor()->Shadow(), nullptr);
  EXPECT_EQ(e->EmbossEditor()->Shadow(), nullptr);
  EXPECT_EQ(e->PictureEditor()->Picture(), nullptr);
  for (int tab = 0; tab < e->PC1->PageCount(); ++tab) {
    TestInput::PostTabClick(e->PC1, tab);
    TestInput::PumpPasses(2);
  }
  for (TEdit* edit : {e->ShadowEditor()->Edit1, e->EmbossEditor()->EVertSize, e->GradientEditor()->EAngle})
    TestInput::PostText(edit, "7");
  e->GradientEditor()->BSwap->Click();
  host->Repaint();
  TestInput::PumpPasses(4);
}

TEST_F(TShapeEditorTest, EditShapeHasOneOkUnderTheTabsAndTheFlagHidesTextAndShadow) {
  for (bool hide : {false, true}) {
    TLumCustomShape shape;
    TestInput::WhenModal([&] {
      TFormLumShape* e = nullptr;
      for (int i = 0; i < host->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TFormLumShape*>(host->Components(i))) e = f;
      ASSERT_TRUE(e);
      EXPECT_EQ(e->Caption(), "Legend");
      EXPECT_EQ(e->ClientHeight(), 261 + 30);
      EXPECT_EQ(TabCaptions(e->PC1), hide ? "Format Border Gradient Emboss Picture "
                                          : "Format Border Text Gradient Shadow Emboss Picture ");
      auto* panel = dynamic_cast<TPanel*>(e->FindComponent("PanelOK"));
      ASSERT_TRUE(panel);
      EXPECT_EQ(panel->BoundsRect(), Rect(0, e->ClientHeight() - 34, e->ClientWidth(), e->ClientHeight()));
      EXPECT_EQ(panel->BevelOuter(), bvNone);
      ASSERT_EQ(panel->ControlCount(), 1);  // the only button
      auto* ok = dynamic_cast<TButton*>(panel->Controls(0));
      ASSERT_TRUE(ok);
      EXPECT_EQ(ok->Caption() + " " + IntToStr(ok->Left()) + "," + IntToStr(ok->Top()),
                "OK " + IntToStr(e->Width() - 98) + ",4");
      gallerytest::CheckLayout(e);
      TestInput::PostClick(ok);
    });
    EXPECT_TRUE(EditShape(host.get(), &shape, hide, "Legend")) << hide;
  }
}

TEST_F(TShapeEditorTest, InAPageTheSevenTabsFollowTheHostsOwnAndGoWithTheHost) {
  TLumCustomShape shape;
  Dress(shape, 1);
  TPageControl* pages = HostPages(host.get());
  TFormLumShape* e = EmbedShapeEditorInPage(pages, &shape);
  EXPECT_EQ(TabCaptions(pages), "Options Position Format Border Text Gradient Shadow Emboss Picture ");
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_FALSE(e->Visible());
  // The editor serves the moved tabs: loaded, writing, building pages when shown.
  EXPECT_EQ(e->UDRoundSize->Position(), 11);
  e->UDRoundSize->SetPosition(20);
  EXPECT_EQ(shape.RoundSize(), 20);
  pages->OnChange = [&](TObject*) { e->TabShown(pages->ActivePage()); };
  for (int tab = 2; tab < pages->PageCount(); ++tab) TestInput::PostTabClick(pages, tab);
  TestInput::PumpUntil([&] { return e->PictureEditor() != nullptr; });
  ASSERT_TRUE(e->FontEditor() && e->GradientEditor() && e->ShadowEditor() && e->EmbossEditor());
  pages->SetActivePage(e->TabText);
  gallerytest::CheckLayout(host.get());
  // Freed with the host: tabs, their pages and the editor together (clean under the
  // address sanitizer), a page of a page inside too.
  TComponentRef<TFormLumShape> watch(e);
  TComponentRef<TLumFontEditor> text(e->FontEditor());
  text->PageControl1->SetActivePage(text->TabShadow);
  text->PageControl1Change(text->PageControl1);
  host.reset();
  EXPECT_FALSE(watch);
  EXPECT_FALSE(text);

  // The editor freed first takes its tabs out of the host, which keeps its own.
  host = std::make_unique<TForm>(nullptr);
  pages = HostPages(host.get());
  e = EmbedShapeEditorInPage(pages, &shape);
  e->TabShown(e->TabText);
  delete e;
  EXPECT_EQ(TabCaptions(pages), "Options Position ");
}

}  // namespace
