// The symbol buttons: where the symbol sits, what the colour button writes through
// the published-property table after a scripted colour choice, and what it shows.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "gui_test.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "platform/testing.h"

namespace {

class SymbolButtons : public ::testing::Test {
protected:
  void SetUp() override {
    FormsUnitInit();
    TestDialogs::Clear();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 80);
    form->SetColor(clWhite);
    button = new TButtonColor(form.get());
    button->SetBounds(10, 10, 100, 30);
    button->SetCaption("&Color...");
    button->SetParent(form.get());
    button->OnClick = TNotifyEvent([this](TObject*) { ++clicks; });
  }
  void TearDown() override {
    form.reset();
    TestDialogs::Clear();
    FormsUnitDone();
  }
  // The colour at the middle of the swatch, as the screen shows it.
  TColor SwatchMiddle() {
    TBitmap shot;
    RenderControl(form.get(), &shot);
    const TRect r = button->SymbolRect();
    return shot.Canvas()->Pixels(button->Left() + (r.Left + r.Right) / 2, button->Top() + (r.Top + r.Bottom) / 2);
  }

  std::unique_ptr<TForm> form;
  TButtonColor* button = nullptr;
  int clicks = 0;
};

}  // namespace

TEST_F(SymbolButtons, SymbolSitsAtTheRightEdgeAndFollowsTheSize) {
  EXPECT_EQ(button->SymbolRect(), Rect(75, 5, 94, 25));
  button->SetSymbolWidth(30);
  EXPECT_EQ(button->SymbolRect(), Rect(64, 5, 94, 25));
  button->SetBounds(10, 10, 150, 40);
  EXPECT_EQ(button->SymbolRect(), Rect(114, 5, 144, 35));

  // An overriding button paints into a box the size of its symbol.
  struct TSized : TLumButton {
    using TLumButton::TLumButton;
    TRect painted{-1, -1, -1, -1};
    void DrawSymbol(TCanvas* C) override {
      painted = C->ClipRect();
      C->Brush()->SetColor(clLime);
      C->FillRect(painted);
    }
  };
  auto* b = new TSized(form.get());
  b->SetBounds(10, 45, 80, 28);
  b->SetParent(form.get());
  TBitmap shot;
  RenderControl(form.get(), &shot);
  EXPECT_EQ(b->painted, Rect(0, 0, 19, 18));
  EXPECT_EQ(guitest::CountColor(shot.Canvas(), shot.Canvas()->ClipRect(), clLime), 19 * 18);
  EXPECT_EQ(shot.Canvas()->Pixels(10 + 55, 45 + 5), clLime);
}

TEST_F(SymbolButtons, ChosenColourIsWrittenToTheLinkedPropertyThenTheClickFires) {
  TChartPen pen;
  pen.SetColor(clNavy);
  button->LinkProperty(&pen, "");  // "Color" when no name is given
  EXPECT_EQ(button->PropName(), "Color");
  EXPECT_EQ(SwatchMiddle(), clNavy);

  int colourAtClick = -1;
  button->OnClick = TNotifyEvent([&](TObject*) { ++clicks, colourAtClick = pen.Color(); });
  TestDialogs::AnswerColor(clRed);
  button->Click();
  EXPECT_EQ(pen.Color(), clRed);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(colourAtClick, clRed);  // written before the handler runs
  ASSERT_EQ(TestDialogs::Asked().size(), 1u);
  EXPECT_EQ(TestDialogs::Asked()[0].Kind, "Color");
  EXPECT_EQ(SwatchMiddle(), clRed);

  // The same colour again, or Cancel: nothing written, no click.
  TestDialogs::AnswerColor(clRed);
  button->Click();
  TestDialogs::AnswerCancel();
  button->Click();
  EXPECT_EQ(pen.Color(), clRed);
  EXPECT_EQ(clicks, 1);

  // Names that hold no colour are refused when linking, not at every paint.
  EXPECT_THROW(button->LinkProperty(&pen, "Colour"), EPropertyError);
  EXPECT_THROW(button->LinkProperty(&pen, "Visible"), EPropertyError);
  EXPECT_EQ(button->SymbolColor(), clRed);

  // Any colour property by name.
  TLumGradient gradient;
  button->LinkProperty(&gradient, "EndColor");
  TestDialogs::AnswerColor(clAqua);
  button->Click();
  EXPECT_EQ(gradient.EndColor(), clAqua);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SymbolButtons, FreedLinkedComponentUnlinksTheButton) {
  auto* other = new TButtonColor(form.get());
  other->SetColor(clGreen);
  button->LinkProperty(other, "Color");
  EXPECT_EQ(button->SymbolColor(), clGreen);
  delete other;
  EXPECT_EQ(button->Instance(), nullptr);
  EXPECT_EQ(button->SymbolColor(), clNone);
  button->Click();  // unlinked: a plain button, no dialog
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(TestDialogs::Asked().empty());
  EXPECT_NO_THROW(SwatchMiddle());
}

TEST_F(SymbolButtons, EditColorIsTrueOnlyForAnotherColour) {
  TColor c = clBlue;
  TestDialogs::AnswerColor(clBlue);
  EXPECT_FALSE(EditColor(form.get(), c));
  TestDialogs::AnswerCancel();
  EXPECT_FALSE(EditColor(form.get(), c));
  EXPECT_EQ(c, clBlue);
  TestDialogs::AnswerColor(RGB(1, 2, 3));
  EXPECT_TRUE(EditColor(form.get(), c));
  EXPECT_EQ(c, RGB(1, 2, 3));
  EXPECT_EQ(TestDialogs::Asked().back().Text, "$00FF0000");  // the dialog starts from the colour
}

// Disabled, the caption is grey instead of black and the swatch is framed in grey.
TEST_F(SymbolButtons, DisabledColourButtonDrawsItsCaptionAndFrameGrey) {
  TChartPen pen;
  pen.SetColor(clNavy);
  button->LinkProperty(&pen, "");
  const TRect r = button->SymbolRect();
  const TRect caption = Rect(button->Left() + 3, button->Top() + 3, button->Left() + r.Left - 1,
                             button->Top() + button->Height() - 3);
  const TPoint frame{button->Left() + r.Left, button->Top() + (r.Top + r.Bottom) / 2};
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    button->SetEnabled(enabled);
    TBitmap shot;
    RenderControl(form.get(), &shot);
    const int black = guitest::CountColor(shot.Canvas(), caption, clBlack);
    const int grey = guitest::CountColor(shot.Canvas(), caption, ColorToRGB(clGrayText));
    EXPECT_EQ(black > 10, enabled);
    EXPECT_EQ(grey > 10, !enabled);
    EXPECT_EQ(shot.Canvas()->Pixels(frame.X, frame.Y), enabled ? clBlack : ColorToRGB(clGrayText));
    EXPECT_EQ(SwatchMiddle(), clNavy);
  }
}
