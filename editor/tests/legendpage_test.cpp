// The legend page and the symbol editor: each tab's controls writing the property
// they name with the chart repainting, the margin box by orientation, the custom
// place, the check-box choice, the title's lines, hand-made items and their fonts,
// and the page outliving its chart.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/legend.h"
#include "editor/legendpage.h"
#include "editor_test.h"
#include "page_test.h"
#include "gallery/fonteditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using editortest::Owned;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostTabClick;
using TestInput::PostText;
using TestInput::WhenModal;

class LegendPageTest : public editortest::ChartPageTest {
public:
  void SetUp() override {
    ChartPageTest::SetUp();
    legend = chart->Legend();
    page = editortest::ShowPage(Host.get(), new TFormLumLegend(Host.get(), legend), Bounds(520, 0, 470, 290));
  }
  void ShowTab(TTabSheet* Tab) { ChartPageTest::ShowTab(page->PageControl1, Tab); }
  TChartLegend* legend = nullptr;
  TFormLumLegend* page = nullptr;
};

using TLegendStep = editortest::TPageStep<TFormLumLegend, TChartLegend>;

TEST_F(LegendPageTest, EveryTabWritesWhatItNamesAndTheChartRepaints) {
  auto style = [](TFormLumLegend* p) { return p->TabStyle; };
  auto position = [](TFormLumLegend* p) { return p->TabPosition; };
  auto symbols = [](TFormLumLegend* p) { return p->TabSymbols; };
  auto title = [](TFormLumLegend* p) { return p->TabTitle; };
  const std::vector<TLegendStep> steps = {
      {"Inverted", style, [](TFormLumLegend* p) { PostClick(p->CBInverted); },
       [](TChartLegend* l) { return l->Inverted(); }},
      {"FontColor", style, [](TFormLumLegend* p) { PostClick(p->CBFontColor); },
       [](TChartLegend* l) { return l->FontSeriesColor(); }},
      {"LegendStyle", style, [](TFormLumLegend* p) { PostPickItem(p->CBLegendStyle, 3); },
       [](TChartLegend* l) { return l->LegendStyle() == lsLastValues; }},
      {"TextStyle", style, [](TFormLumLegend* p) { PostPickItem(p->CBLegStyle, 10); },
       [](TChartLegend* l) { return l->TextStyle() == ltsXAndText; }},
      {"VertSpacing", style, [](TFormLumLegend* p) { PostText(p->EVertSpacing, "4"); },
       [](TChartLegend* l) { return l->VertSpacing() == 4; }},
      {"Alignment", position, [](TFormLumLegend* p) { PostClick(p->RGPosition->Buttons(0)); },
       [](TChartLegend* l) { return l->Alignment() == laLeft; }},
      {"TopPos", position, [](TFormLumLegend* p) { PostText(p->SETopPos, "25"); },
       [](TChartLegend* l) { return l->TopPos() == 25; }},
      {"ResizeChart", position, [](TFormLumLegend* p) { PostClick(p->CBResizeChart); },
       [](TChartLegend* l) { return !l->ResizeChart(); }},
      {"SymbolWidth", symbols, [](TFormLumLegend* p) { PostText(p->SymbolEditor()->SEColWi, "35"); },
       [](TChartLegend* l) { return l->Symbol()->Width() == 35; }},
      {"SymbolUnits", symbols, [](TFormLumLegend* p) { PostPickItem(p->SymbolEditor()->CBColWUnits, 1); },
       [](TChartLegend* l) { return l->Symbol()->WidthUnits() == lcsPixels; }},
      {"SymbolPosition", symbols, [](TFormLumLegend* p) { PostPickItem(p->SymbolEditor()->CBSymbolPos, 1); },
       [](TChartLegend* l) { return l->Symbol()->Position() == spRight; }},
      {"Continuous", symbols, [](TFormLumLegend* p) { PostClick(p->SymbolEditor()->CBContinuous); },
       [](TChartLegend* l) { return l->Symbol()->Continuous(); }},
      {"TitleAlign", title, [](TFormLumLegend* p) { PostPickItem(p->CBTextAlign, 2); },
       [](TChartLegend* l) { return l->Title()->TextAlignment() == taRightJustify; }},
      {"TitleText", title, [](TFormLumLegend* p) { PostText(p->MemoText, "Branches"); },
       [](TChartLegend* l) { return l->Title()->Text()->Count() == 1 && l->Title()->Text()->Strings(0) == "Branches"; }},
      {"Visible", style, [](TFormLumLegend* p) { PostClick(p->CBShow); }, [](TChartLegend* l) { return !l->Visible(); }},
  };
  for (const TLegendStep& s : steps) {
    SCOPED_TRACE(s.Name);
    ShowTab(s.Tab(page));
    EXPECT_TRUE(editortest::Repaints(chart, [&] {
      s.Act(page);
      Pump();
    }));
    EXPECT_TRUE(s.Done(legend));
  }
  // "Center" is the title's third alignment value.
  ShowTab(page->TabTitle);
  PostPickItem(page->CBTextAlign, 1);
  Pump();
  EXPECT_EQ(legend->Title()->TextAlignment(), taCenter);
}

TEST_F(LegendPageTest, MarginBoxFollowsTheOrientation) {
  ShowTab(page->TabPosition);
  struct TCase {
    int Button;
    bool Vertical;
  };
  for (TCase c : {TCase{0, true}, TCase{2, false}, TCase{1, true}, TCase{3, false}}) {
    SCOPED_TRACE(c.Button);
    legend->SetHorizMargin(1);
    legend->SetVertMargin(2);
    PostClick(page->RGPosition->Buttons(c.Button));
    Pump();
    EXPECT_EQ(page->UDMargin->Position(), c.Vertical ? 1 : 2);
    PostText(page->SEMargin, "17");
    Pump();
    EXPECT_EQ(legend->HorizMargin(), c.Vertical ? 17 : 1);
    EXPECT_EQ(legend->VertMargin(), c.Vertical ? 2 : 17);
  }
}

TEST_F(LegendPageTest, CustomPlaceInPixelsOrPercent) {
  ShowTab(page->TabPosition);
  EXPECT_FALSE(page->ECustLeft->Enabled());
  EXPECT_FALSE(page->CBPosPercent->Enabled());
  PostText(page->ECustLeft, "30");  // not while the place is the legend's own
  Pump();
  EXPECT_FALSE(legend->CustomPosition());
  PostClick(page->CBCustPos);
  Pump();
  EXPECT_TRUE(legend->CustomPosition());
  EXPECT_FALSE(legend->ResizeChart());
  EXPECT_FALSE(page->CBResizeChart->Checked());
  EXPECT_TRUE(page->ECustLeft->Enabled());
  PostText(page->ECustLeft, "40");
  PostText(page->ECustTop, "25");
  Pump();
  EXPECT_EQ(legend->Left(), 40);
  EXPECT_EQ(legend->Top(), 25);
  legend->SetLeftPercent(12);
  PostClick(page->CBPosPercent);
  Pump();
  EXPECT_EQ(legend->PositionUnits(), muPercent);
  EXPECT_EQ(page->UDLeft->Position(), 12);
  PostText(page->ECustTop, "9");
  Pump();
  EXPECT_EQ(legend->TopPercent(), 9);
}

TEST_F(LegendPageTest, CheckBoxChoiceMapsToBothProperties) {
  struct TCase {
    int Item;
    bool Boxes;
    TCheckBoxesStyle Style;
  };
  // "No check boxes" turns them off and leaves the style.
  for (TCase c : {TCase{2, true, cbsRadio}, TCase{0, false, cbsRadio}, TCase{1, true, cbsCheck}}) {
    SCOPED_TRACE(c.Item);
    PostPickItem(page->CBCheckBoxes, c.Item);
    Pump();
    EXPECT_EQ(legend->CheckBoxes(), c.Boxes);
    EXPECT_EQ(legend->CheckBoxesStyle(), c.Style);
  }
}

TEST_F(LegendPageTest, TitleLinesKeepNoLineFeed) {
  ShowTab(page->TabTitle);
  ASSERT_NE(page->TitleEditor(), nullptr);
  EXPECT_EQ(page->PageControl2->PageCount(), 8);
  TestInput::PostCall([this] { page->MemoText->Lines()->SetText("First\nSecond\n"); });
  Pump();
  TStrings* text = legend->Title()->Text();
  ASSERT_EQ(text->Count(), 2);
  EXPECT_EQ(text->Strings(0), "First");
  EXPECT_EQ(text->Strings(1), "Second");
  for (int i = 0; i < text->Count(); ++i) EXPECT_EQ(text->Strings(i).find('\n'), std::string::npos);
}

TEST_F(LegendPageTest, SymbolRulesEnableTheirControls) {
  TSymbolEditor* e = page->SymbolEditor();
  ASSERT_NE(e, nullptr);
  ShowTab(page->TabSymbols);
  EXPECT_EQ(e->Symbol(), legend->Symbol());
  EXPECT_TRUE(e->SEColWi->Enabled());
  EXPECT_FALSE(e->BSymPen->Enabled());  // the default border is on
  PostClick(e->CBSquared);
  PostClick(e->CBSymPen);
  Pump();
  EXPECT_TRUE(legend->Symbol()->Squared());
  EXPECT_FALSE(legend->Symbol()->DefaultPen());
  EXPECT_FALSE(e->SEColWi->Enabled());
  EXPECT_FALSE(e->UDColWi->Enabled());
  EXPECT_TRUE(e->BSymPen->Enabled());
  EXPECT_EQ(e->BSymGradient->Gradient(), legend->Symbol()->Gradient());
}

TEST_F(LegendPageTest, ItemsAddedWithTheirSpacingAndDeleted) {
  ShowTab(page->TabItems);
  EXPECT_FALSE(page->SBAddItem->Enabled());
  PostClick(page->CBCustom);
  PostClick(page->CBCustPosition);
  Pump();
  ASSERT_TRUE(legend->Items()->Custom());
  EXPECT_TRUE(page->SBAddItem->Enabled());
  TLegendItems* items = legend->Items();
  items->Clear();
  PostClick(page->CBCustom);  // off and on again: the list follows the legend
  PostClick(page->CBCustom);
  Pump();
  EXPECT_EQ(page->LBItems->Count(), 0);
  PostClick(page->SBAddItem);
  Pump();
  PostText(page->EItemY, "10");
  PostText(page->EItemText, "ten");
  PostPickItem(page->CBItemAlign, 1);
  Pump();
  PostClick(page->SBAddItem);
  Pump();
  EXPECT_EQ(items->Get(1)->Top(), 10);
  EXPECT_EQ(items->Get(1)->Align(), 6);
  PostText(page->EItemY, "30");
  Pump();
  PostClick(page->SBAddItem);
  Pump();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Get(2)->Top(), 50);
  EXPECT_EQ(page->LBItems->ItemIndex(), 2);
  EXPECT_EQ(page->LBItems->Items()->Strings(0), "0 ten");

  // Deleting keeps the other lines and selects the line at the same place.
  PostPickItem(page->LBItems, 1);
  Pump();
  PostClick(page->SBDeleteItem);
  Pump();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(page->LBItems->ItemIndex(), 1);
  EXPECT_EQ(page->LBItems->Items()->Strings(0), "0 ten");
  PostClick(page->SBDeleteItem);
  Pump();
  EXPECT_EQ(page->LBItems->ItemIndex(), 0);
  EXPECT_EQ(page->UDItemTop->Position(), 10);
}

TEST_F(LegendPageTest, ItemFontCancelledOnAnItemWithoutOneLeavesNone) {
  ShowTab(page->TabItems);
  PostClick(page->CBCustom);
  Pump();
  legend->Items()->Clear();
  PostClick(page->SBAddItem);
  Pump();
  TLegendItem* item = legend->Items()->Get(0);
  ASSERT_FALSE(item->HasFont());
  EXPECT_TRUE(page->CBDefItemFont->Checked());
  WhenModal([this] {
    auto* f = Owned<TLumFontEditor>(page);
    ASSERT_NE(f, nullptr);
    PostClick(f->Button2);  // Cancel
  });
  PostClick(page->Button2);
  Pump(8);
  EXPECT_FALSE(item->HasFont());
  EXPECT_TRUE(page->CBDefItemFont->Checked());
  WhenModal([this] {
    auto* f = Owned<TLumFontEditor>(page);
    ASSERT_NE(f, nullptr);
    PostText(f->ESize, "14");
    PostClick(f->Button1);  // OK
  });
  PostClick(page->Button2);
  Pump(8);
  ASSERT_TRUE(item->HasFont());
  EXPECT_EQ(item->Font()->Size(), 14);
  EXPECT_FALSE(page->CBDefItemFont->Checked());
  PostClick(page->CBDefItemFont);
  Pump();
  EXPECT_FALSE(item->HasFont());
}

TEST_F(LegendPageTest, FreedChartIsLetGo) {
  ShowTab(page->TabTitle);
  ShowTab(page->TabSymbols);
  delete chart;
  Pump();
  EXPECT_EQ(page->Legend(), nullptr);
  EXPECT_EQ(page->SymbolEditor(), nullptr);
  EXPECT_EQ(page->ShapeEditor(), nullptr);
  EXPECT_EQ(page->TitleEditor(), nullptr);
  ShowTab(page->TabStyle);
  PostClick(page->CBShow);
  PostClick(page->BDivLines);
  PostPickItem(page->CBCheckBoxes, 2);
  page->Repaint();
  Pump();
  // The tabs the frame's editor brought went with it.
  EXPECT_EQ(page->PageControl1->PageCount(), 5);
}

}  // namespace
