// Chart fonts: the extras, how Assign copies them and how text output applies them.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas_test_util.h"

namespace {

struct Text : Surface {
  Text() : Surface(160, 60) { canvas.SetBackMode(cbmTransparent); }
  void Draw(TLumFont& F, const std::string& S = "HW") {
    canvas.AssignFont(&F);
    canvas.TextOut(10, 10, S);
  }
};

void Big(TLumFont& f) {
  f.SetSize(26);
  f.SetStyle(FontStyles({fsBold}));
  f.SetColor(clBlack);
}

}  // namespace

TEST(FontExtras, OutlineAndGradientChangeTheGlyphs) {
  TLumFont plainFont;
  Big(plainFont);
  Text plain;
  plain.Draw(plainFont);
  const int ink = plain.Count(clBlack);
  ASSERT_GT(ink, 100);

  TLumFont outlined;
  Big(outlined);
  outlined.OutLine()->SetColor(clRed);
  outlined.OutLine()->Show();
  Text o;
  o.Draw(outlined);
  EXPECT_GT(o.Count(clRed), 40) << "the edges take the outline colour";
  EXPECT_GT(o.Count(clBlack), 10) << "the inside keeps the font colour";

  TLumFont graded;
  Big(graded);
  graded.Gradient()->SetStartColor(clLime);
  graded.Gradient()->SetEndColor(clLime);
  graded.Gradient()->SetVisible(true);
  Text g;
  g.Draw(graded);
  EXPECT_GT(g.Count(clLime), ink / 2) << "the glyphs are filled with the gradient";
  EXPECT_EQ(g.Count(clBlack), 0);

  graded.Gradient()->SetOutline(true);  // the gradient goes to the outline stroke
  graded.OutLine()->Show();
  graded.OutLine()->SetWidth(2);
  Text go;
  go.Draw(graded);
  EXPECT_GT(go.Count(clLime), 40);
  EXPECT_GT(go.Count(clBlack), 10);

  auto red = guitest::MakeBitmap(8, 8, clRed);
  TLumFont pictured;
  Big(pictured);
  pictured.Picture()->SetGraphic(red.get());
  Text p;
  p.Draw(pictured);
  EXPECT_GT(p.Count(clRed), ink / 2) << "the glyphs are filled with the picture";
}

TEST(FontExtras, CopiesUnderTheText) {
  TLumFont shadowed;
  Big(shadowed);
  shadowed.Shadow()->SetColor(clBlue);
  shadowed.Shadow()->SetSize(4);
  shadowed.Shadow()->SetVisible(true);
  Text s;
  s.Draw(shadowed);
  EXPECT_GT(s.Count(clBlue), 30);
  EXPECT_GT(s.Ink().Right, 0);
  Text plain;
  TLumFont plainFont;
  Big(plainFont);
  plain.Draw(plainFont);
  EXPECT_EQ(s.Ink().Right, plain.Ink().Right + 4) << "moved by the shadow's size";
  EXPECT_EQ(s.Count(clBlack), plain.Count(clBlack)) << "the text itself on top";

  TLumFont deep;
  Big(deep);
  deep.SetColor(RGB(200, 0, 0));
  deep.SetDepth(3);
  Text d;
  d.Draw(deep);
  EXPECT_GT(d.Count(RGB(150, 0, 0)), 20) << "darker copies under the text";
  EXPECT_EQ(d.Ink().Bottom, [&] {
    TLumFont flat;
  Big(flat);
    flat.SetColor(RGB(200, 0, 0));
    Text t;
    t.Draw(flat);
    return t.Ink().Bottom + 3;
  }());

  TLumFont embossed;
  Big(embossed);
  embossed.Emboss()->SetVisible(true);
  embossed.Emboss()->SetColor(clBlack);
  embossed.Emboss()->SetSize(2);
  Text e;
  e.Draw(embossed);
  EXPECT_GT(e.Count(embossed.Emboss()->LightColor()), 10);

  // A plain font selected afterwards, or a reset, drops the extras.
  d.canvas.AssignFont(&plainFont);
  Text again;
  again.canvas.AssignFont(&deep);
  again.canvas.ResetState();
  again.canvas.Font()->SetSize(26);
  again.canvas.SetBackMode(cbmTransparent);
  again.canvas.TextOut(10, 10, "HW");
  EXPECT_EQ(again.Count(RGB(150, 0, 0)), 0);
}

TEST(FontExtras, SpacingAndQualityReachThePlatformFont) {
  TLumFont f;
  Big(f);
  // Glyphs are fitted to the pixel grid in each quality's own way, so the widths
  // compared are of one quality.
  f.SetQuality(fqBest);
  Text t;
  t.canvas.AssignFont(&f);
  const int w = t.canvas.TextWidth("ABC");
  f.SetInterCharSize(4);
  t.canvas.AssignFont(&f);
  EXPECT_EQ(t.canvas.TextWidth("ABC"), w + 12);
  EXPECT_EQ(t.canvas.Font()->Quality(), fqBest);
}

// Assign's copy of each extra is the property walk's; here the notifications, the
// picture's filters and the reset from a plain font.
TEST(FontExtras, AssignCopiesEveryExtraAndSubObjectsNotifyTheFont) {
  int changes = 0;
  TLumFont a(TNotifyEvent([&](TObject*) { ++changes; }));
  a.OutLine()->Show();
  a.Gradient()->SetVisible(true);
  a.Shadow()->SetVisible(true);
  a.Emboss()->SetVisible(true);
  auto pic = guitest::MakeBitmap(3, 3, clRed);
  a.Picture()->SetGraphic(pic.get());
  a.Picture()->Filters()->Add(TInvertFilter::StaticClass());
  EXPECT_GE(changes, 5) << "each change of a sub-object is the font's change";

  TLumFont b;
  b.Assign(&a);
  EXPECT_TRUE(b.Emboss()->Visible());
  EXPECT_EQ(b.Picture()->Width(), 3);
  EXPECT_EQ(b.Picture()->Filters()->Count(), 1);

  // Assigning from a font without extras puts them back to their defaults.
  TLumFont plain;
  b.Assign(&plain);
  EXPECT_FALSE(b.OutLine()->Visible());
  EXPECT_FALSE(b.Gradient()->Visible());
  EXPECT_FALSE(b.Shadow()->Visible());
  EXPECT_TRUE(b.Picture()->Empty());
  EXPECT_FALSE(b.HasDrawingExtras());

  b.SetDepth(std::nan(""));
  EXPECT_EQ(b.Depth(), 0) << "not a number counts as 0";
}

namespace {

// Every pixel of A equal to B's.
bool SamePixels(Surface& A, Surface& B) {
  for (int y = 0; y < A.bmp->Height(); ++y)
    for (int x = 0; x < A.bmp->Width(); ++x)
      if (A.At(x, y) != B.At(x, y)) return false;
  return true;
}

struct Square : Surface {
  Square() : Surface(120, 120) { canvas.SetBackMode(cbmTransparent); }
};

}  // namespace

TEST(FontExtras, RotatedLabelsTurnTheirExtras) {
  TLumFont plainFont;
  Big(plainFont);
  Square plain;
  plain.canvas.AssignFont(&plainFont);
  plain.canvas.RotateLabel(20, 110, "HW", 90);
  const TRect ink = plain.Ink();
  ASSERT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left) << "the label stands upright";

  TLumFont outlined;
  Big(outlined);
  outlined.OutLine()->SetColor(clRed);
  outlined.OutLine()->Show();
  Square o;
  o.canvas.AssignFont(&outlined);
  o.canvas.RotateLabel(20, 110, "HW", 90);
  EXPECT_EQ(plain.Count(clRed), 0);
  EXPECT_GT(o.Count(clRed), 40) << "the outline is drawn for a rotated label";
  const TRect oink = o.Ink();
  EXPECT_GT(oink.Bottom - oink.Top, oink.Right - oink.Left) << "and turned with it";

  TLumFont graded;
  Big(graded);
  graded.Gradient()->SetStartColor(clLime);
  graded.Gradient()->SetEndColor(clLime);
  graded.Gradient()->SetVisible(true);
  Square g;
  g.canvas.AssignFont(&graded);
  g.canvas.RotateLabel3D(20, 110, 0, "HW", 90);
  EXPECT_GT(g.Count(clLime), plain.Count(clBlack) / 2) << "the turned glyphs take the gradient";
  EXPECT_EQ(g.Count(clBlack), 0);

  // An opaque shadowed label fills its turned cell, not the upright one.
  TLumFont shadowed;
  Big(shadowed);
  shadowed.Shadow()->SetVisible(true);
  Square s;
  s.canvas.SetBackMode(cbmOpaque);
  s.canvas.SetBackColor(clYellow);
  s.canvas.AssignFont(&shadowed);
  s.canvas.RotateLabel(20, 110, "HW", 90);
  EXPECT_EQ(s.At(60, 100), clWhite) << "right of the turned cell";
  EXPECT_EQ(s.At(22, 108), clYellow);
}

TEST(FontExtras, FormattedRunsTakeTheFontsExtras) {
  TLumFont shadowed;
  Big(shadowed);
  shadowed.Shadow()->SetColor(clBlue);
  shadowed.Shadow()->SetSize(4);
  shadowed.Shadow()->SetVisible(true);
  for (bool html : {true, false}) {
    Text t;
    t.canvas.AssignFont(&shadowed);
    t.canvas.TextOutRich(10, 10, html ? "H<font color=\"#FF0000\">W</font>" : "HW", html);
    EXPECT_GT(t.Count(clBlue), 30) << "each run has its shadow, html " << html;
    if (html) {
      EXPECT_GT(t.Count(clRed), 20) << "the run keeps its own colour";
    }
  }
}

TEST(FontExtras, FontsWithoutExtrasDrawAsThePlatformDoes) {
  TLumFont f;
  Big(f);
  f.OutLine();  // created on first read, all hidden
  f.Shadow();
  f.Gradient();
  ASSERT_FALSE(f.HasDrawingExtras());
  Square ours, theirs;
  ours.canvas.AssignFont(&f);
  theirs.canvas.AssignFont(&f);
  ours.canvas.RotateLabel(20, 110, "Hw", 90);
  theirs.C()->Font()->SetOrientation(900);
  theirs.C()->TextOut(20, 110, "Hw");
  EXPECT_TRUE(SamePixels(ours, theirs));

  Square rich, plain;
  rich.canvas.AssignFont(&f);
  plain.canvas.AssignFont(&f);
  rich.canvas.TextOutRich(5, 5, "Hw<br>Hw", true);
  plain.C()->TextOut(5, 5, "Hw");
  plain.C()->TextOut(5, 5 + plain.C()->TextHeight("Hw"), "Hw");
  EXPECT_TRUE(SamePixels(rich, plain));
}
