// The edit routines and sample buttons when the form that owns their dialog is freed
// while the dialog shows: the run ends as Cancel, nothing is freed twice, and neither
// the routine nor the button touches what went (the sanitizer build tells).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/shape.h"
#include "gallery/brushdialog.h"
#include "gallery/filterseditor.h"
#include "gallery/fonteditor.h"
#include "gallery/formateditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "gallery/shapeeditor.h"
#include "gallery/stringseditor.h"
#include "gallery_test_util.h"

namespace {

class DialogLifetimeTest : public gallerytest::TDialogTest {};

TEST_F(DialogLifetimeTest, OwnerFreedWhileTheDialogShowsEndsItAsCancel) {
  TChartBrush brush;
  TLumGradient gradient;
  TLumShadow shadow;
  TLumEmboss emboss;
  TLumFont font;
  TLumCustomShape shape;
  TStringList lines;
  TLumPicture picture;
  TVisualsHolder holder;
  TChartPen pen;
  // A sample button's click opens its dialog; true when it fired OnClick after it.
  auto clicked = [](TLumButton* B) {
    bool fired = false;
    B->OnClick = [&](TObject*) { fired = true; };
    B->Click();
    return fired;
  };
  struct TCase {
    const char* Name;
    // Opens the dialog over the host (or its anchor); true when it ended with OK.
    std::function<bool()> Run;
  };
  const TCase cases[] = {
      {"brush", [&] { return EditBrush(anchor, &brush); }},
      {"gradient", [&] { return EditGradient(anchor, &gradient); }},
      {"shadow", [&] { return EditShadow(anchor, &shadow); }},
      {"emboss", [&] { return EditEmboss(anchor, &emboss); }},
      {"font", [&] { return EditChartFont(host.get(), &font); }},
      {"shape", [&] { return EditShape(host.get(), &shape, false, "Shape"); }},
      {"lines", [&] { return EditStringList(host.get(), &lines, false); }},
      {"format",
       [&] {
         std::string result;
         return EditValueFormat(host.get(), "0.00", result);
       }},
      {"visuals", [&] { return EditVisuals(host.get(), &holder); }},
      {"filters", [&] { return EditImageFilters(host.get(), &picture); }},
      {"pen button",
       [&] {
         auto* b = PlaceControl<TButtonPen>(host.get(), host.get(), "BPen", 10, 50, 100, 25, "&Pen...");
         LinkButtonTo(b, &pen);
         return clicked(b);
       }},
      {"gradient button",
       [&] {
         auto* b = PlaceControl<TButtonGradient>(host.get(), host.get(), "BGradient", 10, 50, 100, 25, "&Gradient...");
         LinkGradient(b, &gradient);
         return clicked(b);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetUp();
    host->Show();
    bool shown = false;
    TestInput::WhenModal([&] {
      shown = true;
      TestInput::PostCall([&] { host.reset(); });
    });
    EXPECT_FALSE(c.Run());
    EXPECT_TRUE(shown);
    EXPECT_EQ(host, nullptr);
    TestInput::PumpPasses(2);
  }
}

}  // namespace
