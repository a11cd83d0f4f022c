// The canvas unit: embedded fonts, the private-font hook and the canvas class list.
#include <gtest/gtest.h>

#include "canvas_test_util.h"
#include "platform/forms.h"

namespace {
class TOtherCanvas : public TLumCanvas3D {
  DECLARE_CLASS(TOtherCanvas, TLumCanvas3D)
};
IMPLEMENT_CLASS(TOtherCanvas, TLumCanvas3D)

bool Installed(const char* Family) {
  TScreen screen(nullptr);  // the forms unit does not run in these tests
  return screen.Fonts()->IndexOf(Family) >= 0;
}
}  // namespace

TEST(CanvasUnit, FontsRegisteredOnceListedByTheHookAndGoneAfterwards) {
  ASSERT_FALSE(Installed(LumLCDFontName)) << "the fonts come only from the program";
  EXPECT_EQ(PrivateFontsHook, nullptr);
  LumCanvasUnitInit();
  LumCanvasUnitInit();  // units run twice in tests: one registration
  EXPECT_TRUE(Installed(LumLCDFontName));
  EXPECT_TRUE(Installed(LumLEDFontName));
  ASSERT_NE(PrivateFontsHook, nullptr);
  TStringList names;
  names.Add("Arial");
  PrivateFontsHook(&names);
  PrivateFontsHook(&names);
  EXPECT_EQ(names.Count(), 3) << "the two families, each once";
  EXPECT_GE(names.IndexOf(LumLCDFontName), 0);
  EXPECT_GE(names.IndexOf(LumLEDFontName), 0);

  // The font draws its own glyphs: a seven-segment "8" is as wide as its "1" (the
  // face has fixed-width digits), unlike the fallback face's.
  auto widths = [] {
    Surface s(80, 40);
    s.canvas.Font()->SetName(LumLCDFontName);
    s.canvas.Font()->SetSize(20);
    return std::make_pair(s.canvas.TextWidth("8"), s.canvas.TextWidth("!!!!"));
  };
  const auto up = widths();
  EXPECT_GT(up.first, 10);

  LumCanvasUnitDone();
  EXPECT_TRUE(Installed(LumLCDFontName)) << "still up: it was started twice";
  LumCanvasUnitDone();
  EXPECT_FALSE(Installed(LumLCDFontName));
  EXPECT_FALSE(Installed(LumLEDFontName));
  EXPECT_EQ(PrivateFontsHook, nullptr);
  EXPECT_NE(widths(), up) << "the fallback face measures otherwise";
  LumCanvasUnitDone();  // one too many does nothing
}

TEST(CanvasUnit, ClassListAnswersTheStandardCanvasFirst) {
  LumCanvasUnitInit();
  ASSERT_FALSE(CanvasClasses().empty());
  EXPECT_EQ(CanvasClasses()[0], TLumCanvas3D::StaticClass());
  EXPECT_EQ(CanvasDescription(TLumCanvas3D::StaticClass()), "Standard");
  EXPECT_EQ(CanvasEditorClassName(TLumCanvas3D::StaticClass()), "");
  RegisterCanvas(TOtherCanvas::StaticClass(), "Other", "TOtherEditor");
  RegisterCanvas(TOtherCanvas::StaticClass(), "Other again", "TOtherEditor");
  ASSERT_EQ(CanvasClasses().size(), 2u);
  EXPECT_EQ(CanvasClasses()[1], TOtherCanvas::StaticClass());
  EXPECT_EQ(CanvasDescription(TOtherCanvas::StaticClass()), "Other again");
  EXPECT_EQ(FindCanvasClass("tothercanvas"), TOtherCanvas::StaticClass());
  EXPECT_EQ(FindCanvasClass("TGDIPlusCanvas"), nullptr);
  std::unique_ptr<TCanvas3D> c(CreateCanvas(TOtherCanvas::StaticClass()));
  EXPECT_NE(dynamic_cast<TOtherCanvas*>(c.get()), nullptr) << "made through the virtual constructor";
  EXPECT_THROW(RegisterCanvas(TBitmap::StaticClass(), "no"), EInvalidOperation);
  UnRegisterCanvas(TOtherCanvas::StaticClass());
  LumCanvasUnitDone();
  EXPECT_TRUE(CanvasClasses().empty());
}
