// Disabled controls look disabled: each kind drawn enabled and disabled differs, and a
// disabled caption is in the grey-text colour (never in the font's own colour).
#include <functional>
#include <string>

#include "app_fixture.h"
#include "gui_test.h"
#include "platform/lists.h"
#include "platform/snapshot.h"
#include "platform/stdctrls.h"

using namespace formstest;

namespace {

using DisabledLook = FormTest;

struct TShot {
  int Text = 0;  // pixels of the font's colour (black)
  int Grey = 0;  // pixels of the grey-text colour
  TColor Inside = clNone;
  TBitmap Picture;
};

// Counts inside Area, or the whole control when it is empty (frames may be black too).
void Take(TControl* C, TShot& S, const TPoint& Inside, TRect Area) {
  RenderControl(C, &S.Picture);
  if (Area.Width() <= 0) Area = Rect(0, 0, C->Width(), C->Height());
  S.Text = guitest::CountColor(S.Picture.Canvas(), Area, clBlack);
  S.Grey = guitest::CountColor(S.Picture.Canvas(), Area, ColorToRGB(clGrayText));
  S.Inside = S.Picture.Canvas()->Pixels(Inside.X, Inside.Y);
}

bool SamePixels(TBitmap& A, TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.Canvas()->Pixels(x, y) != B.Canvas()->Pixels(x, y)) return false;
  return true;
}

TEST_F(DisabledLook, EveryKindDrawsGreyWhenDisabled) {
  // Kinds with a caption or text show "12345 caption" in black; the others only differ.
  struct TCase {
    const char* Name;
    std::function<TControl*()> Make;
    bool Caption;          // its text turns from black to grey
    TPoint Inside;         // a pixel of the background inside it...
    TColor DisabledInside; // ...which, disabled, is this colour (clNone: not checked)
    TRect TextArea;        // where the text is counted (empty: everywhere)
  };
  const std::string text = "12345 caption";
  auto combo = [&](TComboBoxStyle Style) {
    auto* c = Add<TComboBox>(10, 10, 180, 21);
    c->SetStyle(Style);
    c->Items()->Add(text);
    c->SetItemIndex(0);
    return c;
  };
  auto list = [&] {
    auto* l = Add<TListBox>(10, 10, 120, 60);
    l->Items()->Add(text);
    return l;
  };
  auto track = [&](int Position) {
    auto* t = Add<TTrackBar>(10, 10, 150, 45);
    t->SetPosition(Position);
    return t;
  };
  const TCase cases[] = {
      {"button", [&] { return Add<TButton>(10, 10, 120, 25); }, true, {}, clNone, {}},
      {"label", [&] { return Add<TLabel>(10, 10, 120, 17); }, true, {}, clNone, {}},
      {"check box", [&] { return Add<TCheckBox>(10, 10, 120, 17); }, true, {}, clNone, {}},
      {"radio button", [&] { return Add<TRadioButton>(10, 10, 120, 17); }, true, {}, clNone, {}},
      {"group box", [&] { return Add<TGroupBox>(10, 10, 140, 60); }, true, {}, clNone, {}},
      {"speed button", [&] { return Add<TSpeedButton>(10, 10, 120, 25); }, true, {}, clNone, {2, 2, 118, 23}},
      {"edit", [&] { return Add<TEdit>(10, 10, 120, 21); }, true, {110, 10}, clBtnFace, {}},
      {"spin edit", [&] { return Add<TSpinEdit>(10, 10, 160, 22); }, true, {125, 11}, clBtnFace, {}},
      {"combo box", [&] { return combo(csDropDownList); }, true, {140, 10}, clBtnFace, {3, 3, 150, 18}},
      {"editable combo box", [&] { return combo(csDropDown); }, true, {140, 10}, clBtnFace, {3, 3, 150, 18}},
      {"list box", list, true, {}, clNone, {3, 3, 110, 30}},
      {"up-down", [&] { return Add<TUpDown>(10, 10, 17, 24); }, false, {}, clNone, {}},
      {"track bar at its start", [&] { return track(0); }, false, {}, clNone, {}},
      {"track bar", [&] { return track(5); }, false, {}, clNone, {}},
  };
  ShowForm();
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TControl* c = k.Make();
    if (k.Caption && c->Text().empty()) c->SetText(text);
    Pump();
    TShot on, off;
    Take(c, on, k.Inside, k.TextArea);
    c->SetEnabled(false);
    Pump();
    Take(c, off, k.Inside, k.TextArea);
    EXPECT_FALSE(SamePixels(on.Picture, off.Picture));
    if (k.Caption) {
      EXPECT_GT(on.Text, 10);
      EXPECT_EQ(off.Text, 0);
      EXPECT_GT(off.Grey, on.Grey + 10);
    }
    if (k.DisabledInside != clNone) {
      EXPECT_EQ(on.Inside, ColorToRGB(clWindow));
      EXPECT_EQ(off.Inside, ColorToRGB(k.DisabledInside));
    }
    // Enabled again, it looks as it did.
    c->SetEnabled(true);
    Pump();
    TShot back;
    Take(c, back, k.Inside, k.TextArea);
    EXPECT_TRUE(SamePixels(on.Picture, back.Picture));
    delete c;
  }
}

// A disabled caption is grey even in a coloured font, and etched: the highlight shows
// one pixel down and to the right of the grey.
TEST_F(DisabledLook, LabelCaptionIsEtchedGreyWhateverItsFontColour) {
  auto* label = Add<TLabel>(10, 10, 120, 17);
  label->SetCaption("Lily");
  label->Font()->SetColor(clRed);
  label->SetEnabled(false);
  ShowForm();
  TBitmap shot;
  RenderControl(label, &shot);
  const TRect all = Rect(0, 0, shot.Width(), shot.Height());
  EXPECT_EQ(guitest::CountColor(shot.Canvas(), all, clRed), 0);
  int etched = 0;
  for (int y = 0; y + 1 < shot.Height(); ++y)
    for (int x = 0; x + 1 < shot.Width(); ++x)
      if (shot.Canvas()->Pixels(x, y) == ColorToRGB(clGrayText) &&
          shot.Canvas()->Pixels(x + 1, y + 1) == ColorToRGB(clBtnHighlight))
        ++etched;
  EXPECT_GT(etched, 3);
}

}  // namespace
