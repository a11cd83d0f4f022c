// The dialogs the pages open on parts of the chart (brushes, pens, gradients,
// shadows, pictures, fonts, shapes, texts, ranges, increments, a series' pointer):
// when the chart goes while one shows, the dialog goes with it and writes nothing
// back; when the form that owns page and dialog goes, the page's handler touches
// nothing after the dialog's run (the sanitizer build tells).
#include <functional>
#include <memory>

#include "chart/chart.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "chartedit_fixture.h"
#include "editor/axispage.h"
#include "editor/generalpage.h"
#include "editor/legendpage.h"
#include "editor/panelpages.h"
#include "editor/pointereditor.h"
#include "editor/seriespage.h"
#include "page_test.h"
#include "gallery/brushdialog.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "samples/samplechart.h"

namespace {

class PageDialogsTest : public editortest::ChartPageTest {
public:
  template <class P>
  P* Place(P* Page) {
    return editortest::ShowPage(Host.get(), Page, Bounds(520, 0, 470, 290));
  }
};

TEST_F(PageDialogsTest, ChartOrHostFreedWhileADialogOfAPageShows) {
  struct TCase {
    const char* Name;
    // Makes the page on the chart and answers what opens the dialog.
    std::function<TControl*()> Opener;
    // The dialog opens another (the callout's pointer, then its pattern): the
    // inner one is shown when the chart or the host goes.
    bool Nested = false;
  };
  auto wall = [&]() { return Place(new TFormLumWall(Host.get(), chart->BackWall())); };
  auto axis = [&]() { return Place(new TFormLumAxis(Host.get(), chart->LeftAxis())); };
  auto legend = [&]() { return Place(new TFormLumLegend(Host.get(), chart->Legend())); };
  const TCase cases[] = {
      {"wall pattern", [&]() { return wall()->BWallBrush; }},
      {"wall pen", [&]() { return wall()->BWallPen; }},
      {"wall gradient", [&]() { return wall()->BGradient; }},
      {"wall image", [&]() { return wall()->BImage; }},
      {"wall shadow", [&]() { return wall()->BShadow; }},
      {"wall emboss", [&]() { return wall()->BEmboss; }},
      {"panel border",
       [&]() {
         auto* p = Place(new TFormLumPanel(Host.get(), chart));
         TestInput::PostTabClick(p->PageControl1, p->TabBorders->TabIndex());
         Pump();
         return p->BBorder;
       }},
      {"title lines",
       [&]() { return Place(new TFormLumTitle(Host.get(), chart->Title(), chart))->Button1; }},
      {"zoom pattern",
       [&]() { return Place(new TFormLumGeneral(Host.get(), chart))->BZoomColor; }},
      {"axis minimum", [&]() { return axis()->BAxisMin; }},
      {"axis increment", [&]() { return axis()->BIncre; }},
      {"axis title pattern",
       [&]() {
         TFormLumAxis* p = axis();
         TestInput::PostTabClick(p->PageAxis, p->TabTitle->TabIndex());
         Pump();
         TestInput::PostTabClick(p->PageTitle, p->TitleEditor()->TabFormat->TabIndex());
         Pump();
         return p->TitleEditor()->Button6;
       }},
      {"legend symbol shadow",
       [&]() {
         TFormLumLegend* p = legend();
         TestInput::PostTabClick(p->PageControl1, p->TabSymbols->TabIndex());
         Pump();
         return p->SymbolEditor()->Button1;
       }},
      {"legend item font",
       [&]() {
         chart->Legend()->Items()->SetCustom(true);
         chart->Legend()->Items()->Add()->SetText("one");
         TFormLumLegend* p = legend();
         TestInput::PostTabClick(p->PageControl1, p->TabItems->TabIndex());
         Pump();
         return p->Button2;
       }},
      {"callout pointer, then its pattern",
       [&]() {
         auto* page = Place(new TFormLumSeries(Host.get()));
         page->SelectSeries(dynamic_cast<TChartSeries*>(Host->FindComponent("Atoms")));
         Pump();
         TestInput::PostTabClick(page->PageSeries, page->TabMarks->TabIndex());
         Pump();
         TestInput::PostTabClick(page->PageControlMarks, page->TabArrows->TabIndex());
         Pump();
         return page->BCalloutPointer;
       },
       true},
  };
  for (const bool hostGoes : {false, true}) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.Name << (hostGoes ? ", host freed" : ", chart freed"));
      SetUp();
      TControl* opener = c.Opener();
      ASSERT_TRUE(opener->Showing() && opener->Enabled());
      bool freed = false;
      const std::function<void()> free = [&] {
        TestInput::PostCall([&] {
          freed = true;
          if (hostGoes) Host.reset();
          else delete chart;
          chart = nullptr;
        });
      };
      if (c.Nested)
        TestInput::WhenModal([&] {
          auto* e = editortest::Owned<TSeriesPointerEditor>(Host.get());
          ASSERT_NE(e, nullptr);
          TestInput::WhenModal(free);
          TestInput::PostCall([e] { e->BPointFillColor->Click(); });
        });
      else
        TestInput::WhenModal(free);
      opener->Click();
      Pump();
      EXPECT_TRUE(freed) << "the dialog showed";
      EXPECT_EQ(TestInput::PendingModalScripts(), 0);
      TestInput::ClearModalScripts();
      Host.reset();
    }
  }
}

// In the editor window the pages go with the chart, before they hear of it: a dialog
// one of them opened goes with the page.
class PageDialogsInEditorTest : public editortest::ChartEditTest {};

TEST_F(PageDialogsInEditorTest, ChartFreedWhileAPageOfTheEditorShowsADialog) {
  TChartEditForm* e = Open();
  e->ShowPage(epWalls);
  Pump();
  auto* walls = dynamic_cast<TFormLumWall*>(e->PageForm(epWalls));
  ASSERT_NE(walls, nullptr);
  bool freed = false;
  TestInput::WhenModal([&] {
    ASSERT_NE(editortest::Owned<TBrushDialog>(e), nullptr);
    TestInput::PostCall([&] {
      delete chart;
      chart = nullptr;
      freed = true;
    });
  });
  walls->BWallBrush->Click();
  Pump();
  EXPECT_TRUE(freed);
  EXPECT_EQ(editortest::Owned<TBrushDialog>(e), nullptr);
  EXPECT_EQ(e->PageForm(epWalls), nullptr);
}

}  // namespace
