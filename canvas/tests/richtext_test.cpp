// Formatted text: parsing, measuring and drawing.
#include <gtest/gtest.h>

#include "canvas_test_util.h"

namespace {

// How many pixels two drawings of the same size differ in.
int Differ(Surface& A, Surface& B) {
  int n = 0;
  for (int y = 0; y < A.bmp->Height(); ++y)
    for (int x = 0; x < A.bmp->Width(); ++x) n += A.At(x, y) != B.At(x, y);
  return n;
}

struct Rich : Surface {
  Rich() : Surface(240, 80) {
    canvas.Font()->SetName("Arial");
    canvas.Font()->SetSize(12);
    canvas.Font()->SetColor(clBlack);
    canvas.SetBackMode(cbmTransparent);
  }
};

TGraphic* BitmapByName(const std::string&) { return new TBitmap; }

}  // namespace

TEST(RichText, StylesSizesAndBreaksChangeTheMeasure) {
  Rich s;
  const TSize plain = s.canvas.RichTextExtent("Hello world", true);
  EXPECT_EQ(plain, s.canvas.RichTextExtent("Hello world", false));
  EXPECT_GT(s.canvas.RichTextExtent("<b>Hello world</b>", true).cx, plain.cx) << "bold is wider";
  EXPECT_GT(s.canvas.RichTextExtent("<font size=+8>Hello world</font>", true).cy, plain.cy);
  EXPECT_EQ(s.canvas.RichTextExtent("Hello<br>world", true).cy, 2 * plain.cy) << "a break adds one line";
  EXPECT_EQ(s.canvas.RichTextExtent("Hello\rworld", true).cy, 2 * plain.cy) << "so does CR";
  EXPECT_EQ(s.canvas.RichTextExtent("Hello<br/><br>world", true).cy, 3 * plain.cy) << "an empty line counts";
  EXPECT_EQ(s.canvas.RichTextExtent("Hello<br>world", true).cx,
            std::max(s.canvas.TextWidth("Hello"), s.canvas.TextWidth("world")))
      << "the widest line";
  EXPECT_EQ(s.canvas.Font()->Style(), 0u) << "measuring leaves the font alone";
}

TEST(RichText, AColourTagColoursOnlyItsRun) {
  Rich s;
  s.canvas.TextOutRich(2, 2, "AAA<font color=#FF0000>BBB</font>CCC", true);
  const int a = s.canvas.TextWidth("AAA"), b = s.canvas.TextWidth("BBB");
  int red = 0, black = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 240; ++x) {
      const TColor c = s.At(x, y);
      if (c == clRed) {
        ++red;
        EXPECT_TRUE(x >= 2 + a && x < 2 + a + b) << "red at " << x;
      } else if (c == clBlack) {
        ++black;
        EXPECT_TRUE(x < 2 + a || x >= 2 + a + b) << "black at " << x;
      }
    }
  EXPECT_GT(red, 20);
  EXPECT_GT(black, 40);
  EXPECT_EQ(s.canvas.Font()->Color(), clBlack) << "the canvas font is put back";
}

TEST(RichText, EntitiesDrawTheirCharacters) {
  Rich a, b;
  a.canvas.TextOutRich(2, 2, "&lt;x&amp;y&gt; &quot;&#65;&#x42;&quot;", true);
  b.canvas.TextOut(2, 2, "<x&y> \"AB\"");
  EXPECT_EQ(Differ(a, b), 0);
}

TEST(RichText, MalformedTextIsDrawnPlainAndRaisesOnlyWhenParsed) {
  for (const char* bad : {"<b>bold</i>", "a <b", "x &bogus; y", "<blink>x</blink>", "<font color=#12>x</font>",
                          "</b>", "<img>", "<font size=big>x</font>", "a &amp b"}) {
    Rich a, b;
    EXPECT_NO_THROW(a.canvas.TextOutRich(2, 2, bad, true)) << bad;
    b.canvas.TextOut(2, 2, bad);
    EXPECT_EQ(Differ(a, b), 0) << bad;
    EXPECT_EQ(a.canvas.RichTextExtent(bad, true), a.canvas.RichTextExtent(bad, false)) << bad;
    try {
      ParseRichText(bad, *a.canvas.Font());
      ADD_FAILURE() << "no exception for " << bad;
    } catch (const HtmlParserException& e) {
      EXPECT_NE(e.Message.find("at character"), std::string::npos) << e.Message;
    }
  }
  TFont f;
  EXPECT_NO_THROW(ParseRichText("<b><i>left open", f)) << "open tags close at the end";
  EXPECT_NO_THROW(ParseRichText("<B>upper</B> <Font Color='navy' face=\"Courier New\">x</FONT>", f));
}

TEST(RichText, ParsedRunsCarryTheirFont) {
  TFont f;
  f.SetColor(clGreen);
  f.SetSize(10);
  auto runs = ParseRichText("a<b>b<i>c</b>d", f);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].Style, 0u);
  EXPECT_EQ(runs[1].Style, FontStyles({fsBold}));
  EXPECT_EQ(runs[2].Style, FontStyles({fsBold, fsItalic}));
  EXPECT_EQ(runs[3].Style, 0u) << "</b> also closes the <i> opened inside it";
  runs = ParseRichText("<font size=-4 color=red>x</font>y", f);
  EXPECT_EQ(runs[0].Height, -MulDiv(6, 96, 72));
  EXPECT_EQ(runs[0].Color, clRed);
  EXPECT_EQ(runs[1].Color, clGreen);
  runs = ParseRichText("<font size=-40>x</font>", f);
  EXPECT_EQ(runs[0].Height, -MulDiv(1, 96, 72)) << "at least one point";
}

TEST(RichText, PicturesDrawFromTheHookAndMissingOnesDrawNothing) {
  const std::string file = ::testing::TempDir() + "rich_red.bmp";
  {
    auto red = guitest::MakeBitmap(6, 9, clRed);
    red->SaveToFile(file);
  }
  RichTextPictureHook = BitmapByName;
  Rich with, without, plain;
  with.canvas.TextOutRich(2, 2, "a<img src='" + file + "'>b", true);
  EXPECT_EQ(with.Count(clRed), 6 * 9);
  EXPECT_EQ(with.canvas.RichTextExtent("a<img src='" + file + "'>b", true).cx, with.canvas.TextWidth("ab") + 6);
  without.canvas.TextOutRich(2, 2, "a<img src=\"/no/such/file.bmp\">b", true);
  plain.canvas.TextOutRich(2, 2, "a<b></b>b", true);  // the same two runs
  EXPECT_EQ(Differ(without, plain), 0);
  RichTextPictureHook = nullptr;
  Rich unhooked;
  unhooked.canvas.TextOutRich(2, 2, "a<img src='" + file + "'>b", true);
  EXPECT_EQ(Differ(unhooked, plain), 0) << "no hook, no picture";
}
