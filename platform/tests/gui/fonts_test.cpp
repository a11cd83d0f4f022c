// The classic names map to fonts of the classic widths: 8-point "MS Sans Serif"
// gives "Label1" 32 pixels, which the layouts of the forms were made for.
#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics.h"

TEST(FontSubstitutes, ClassicSansKeepsItsWidths) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetWidth(10);
  bmp->SetHeight(10);
  TCanvas* c = bmp->Canvas();
  c->Font()->SetHeight(-11);
  for (const char* name : {"MS Sans Serif", "Arial"}) {
    c->Font()->SetName(name);
    const int w = c->TextWidth("Label1");
    EXPECT_GE(w, 31) << name;
    EXPECT_LE(w, 33) << name;
  }
  // Installing again changes nothing (the unit and the test main both install them).
  InstallFontSubstitutes();
  c->Font()->SetName("MS Sans Serif");
  EXPECT_LE(c->TextWidth("Damping"), 45);  // "k value" starts 47 pixels after "Damping"
}
