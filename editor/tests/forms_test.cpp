// Every form of the editor as its table gives it: names, kinds, captions, items and
// sizes, and a layout that fits (nothing clipped, no shown siblings overlapping).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "chart/series.h"
#include "editor/axispage.h"
#include "editor/funceditor.h"
#include "editor/legendpage.h"
#include "editor/panelpages.h"
#include "editor/pointereditor.h"
#include "editor/seriespage.h"
#include "editor/toolspage.h"
#include "editor_test.h"
#include "form_inventory.h"
#include "gallery/fonteditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "samples/samplechart.h"

namespace {

using formcheck::TInventoryEntry;

struct TFormSpec {
  TClass (*Class)();
  int ClientWidth, ClientHeight;
  std::vector<TInventoryEntry> Controls;
  std::function<void(TForm*)> Check = {};
};

// Shows each page of Pages in turn and checks the form's layout there.
void CheckEveryPage(TForm* Form, TPageControl* Pages) {
  for (int i = 0; i < Pages->PageCount(); ++i) {
    if (!Pages->Pages(i)->TabVisible()) continue;
    SCOPED_TRACE(Pages->Pages(i)->Caption());
    Pages->SetActivePage(Pages->Pages(i));
    if (Pages->OnChange.Assigned()) Pages->OnChange(Pages);
    formcheck::CheckLayout(Form);
  }
}

const std::vector<std::string> CursorNames = {
    "AppStart", "Arrow",  "Cross",    "Default", "Drag",    "HandPoint", "Help",   "HourGlass",
    "HSplit",   "IBeam",  "LumHand",  "MultiDrag", "No",    "NoDrop",    "None",   "SizeAll",
    "SizeNESW", "SizeNS", "SizeNWSE", "SizeWE",  "SQLWait", "UpArrow",   "VSplit"};

std::vector<std::string> Steps() {
  TAxisIncrement d(nullptr);
  std::vector<std::string> v;
  for (int i = 0; i < d.CBSteps->Items()->Count(); ++i) v.push_back(d.CBSteps->Items()->Strings(i));
  return v;
}

// Built when first asked: the steps come from a form, which needs the application.
std::vector<TFormSpec> Specs() {
  return {
    {TBaseSourceEditor::StaticClass, 380, 280,
     {{"LLabel", "TLabel", "&Source:"}, {"CBSources", "TComboFlat", "&Source:"}, {"BApply", "TButton", "&Apply"}},
     [](TForm* f) {
       EXPECT_EQ(f->BorderIcons(), biSystemMenu);
       EXPECT_FALSE(static_cast<TBaseSourceEditor*>(f)->BApply->Enabled());
     }},
    {TSelectListForm::StaticClass, 326, 146,
     {{"L1", "TLabel", "A&vailable:"}, {"L2", "TLabel", "&Selected: "}, {"FromList", "TListBox", ""},
      {"ToList", "TListBox", ""}, {"BRightOne", "TButton", ">"}, {"BRightAll", "TButton", ">>"},
      {"BLeftOne", "TButton", "<"}, {"BLeftAll", "TButton", "<<"}, {"BMoveUP", "TSpeedButton", ""},
      {"BMoveDown", "TSpeedButton", ""}},
     [](TForm* f) {
       auto* l = static_cast<TSelectListForm*>(f);
       EXPECT_TRUE(l->L1->FocusControl() == l->FromList && l->L2->FocusControl() == l->ToList);
       EXPECT_TRUE(l->FromList->MultiSelect() && l->ToList->MultiSelect());
       EXPECT_FALSE(l->BMoveUP->Glyph()->Empty()) << "arrow glyphs";
       l->SetBounds(0, 0, 500, 200);  // the lists share the room beside the buttons
       EXPECT_NEAR(l->FromList->Width(), l->ToList->Width(), 1);
     }},
    {TAxisIncrement::StaticClass, 244, 148,
     {{"RadioGroup1", "TRadioGroup", "Increment:", {"&Standard:", "&Custom:"}},
      {"CBSteps", "TComboFlat", "", Steps()}, {"ECustom", "TEdit", "&Increment:"},
      {"CBExact", "TCheckBox", "&Exact Date Time"}, {"BOk", "TButton", "OK"}, {"BCancel", "TButton", "Cancel"}},
     [](TForm* f) {
       auto* d = static_cast<TAxisIncrement*>(f);
       const std::vector<std::string> steps = Steps();
       ASSERT_EQ(steps.size(), 27u);
       EXPECT_TRUE(steps[0] == "One Microsecond" && steps[15] == "Twelve Hours" && steps[26] == "One Year");
       EXPECT_TRUE(d->Caption() == "Axis Increment" && d->Position() == poScreenCenter);
       EXPECT_TRUE(d->CBSteps->DropDownCount() == 18 && d->BOk->Default() && d->BCancel->ModalResult() == mrCancel);
     }},
    {TLumFuncEditor::StaticClass, 380, 280,
     {{"LLabel", "TLabel", "&Functions:"}, {"SpeedButton1", "TSpeedButton", "..."}, {"BApply", "TButton", "&Apply"},
      {"TabSource", "TTabSheet", "Source Series"}, {"TabOptions", "TTabSheet", "Options"},
      {"CBSingle", "TComboFlat", "&Series:"}, {"CBValues", "TComboFlat", "&Values:"}, {"BNone", "TButton", "&None"}},
     [](TForm* f) {
       auto* e = static_cast<TLumFuncEditor*>(f);
       EXPECT_TRUE(e->PageControl1->HotTrack() && e->CBSources->Sorted());
       EXPECT_FALSE(e->BNone->Enabled() || e->CBValues->Enabled());
     }},
    {TLumFunctionEditor::StaticClass, 312, 213,
     {{"ENum", "TEdit", "&Number of points:"}, {"BChange", "TButton", "&Change..."},
      {"CBAlign", "TComboFlat", "&Alignment:", {"First", "Center", "Last"}},
      {"CBStyle", "TComboFlat", "&Calculate using:", {"All points", "Every number of points", "Every range"}}},
     [](TForm* f) {
       auto* p = static_cast<TLumFunctionEditor*>(f);
       EXPECT_TRUE(p->Align() == alClient && p->Position() == poScreenCenter && p->ENum->Text() == "0");
       EXPECT_FALSE(p->ENum->Enabled() || p->BChange->Enabled());
     }},
    {TCLVFuncEditor::StaticClass, 312, 213,
     {{"CBVolume", "TComboFlat", "&Volume series:"}, {"CBAccumulate", "TCheckBox", "&Accumulate"}}},
    {TFormLumTools::StaticClass, 404, 270,
     {{"BAdd", "TButton", "&Add..."}, {"BDelete", "TButton", "&Delete"}, {"BClone", "TSpeedButton", ""},
      {"CBActive", "TCheckBox", "A&ctive"}, {"CBShowInEditor", "TCheckBox", "Show in this editor"},
      {"BMoveUp", "TSpeedButton", ""}, {"BMoveDown", "TSpeedButton", ""}, {"LBTools", "TListBox", ""},
      {"PanelToolEditor", "TPanel", ""}, {"PBottom", "TPanel", ""}},
     [](TForm* f) {
       auto* p = static_cast<TFormLumTools*>(f);
       EXPECT_TRUE(p->BAdd->Hint() == "Add" && p->BDelete->Hint() == "Remove" && p->BClone->Hint() == "Clone");
       EXPECT_FALSE(p->BClone->Glyph()->Empty());
       EXPECT_TRUE(p->LBTools->Style() == lbOwnerDrawFixed && p->LBTools->ItemHeight() == 18);
       EXPECT_FALSE(p->CBShowInEditor->Visible() || p->PBottom->Visible()) << "only while designing";
       // An empty list offers only Add.
       for (TControl* c : std::initializer_list<TControl*>{p->CBActive, p->BDelete, p->BClone, p->BMoveUp})
         EXPECT_FALSE(c->Enabled()) << c->Name();
     }},
    {TSeriesPointerEditor::StaticClass, 366, 276,
     {
      {"TabStyle", "TTabSheet", "Style"}, {"TabSize", "TTabSheet", "Size"},
      {"TabVisual", "TTabSheet", "Visual"}, {"CBDrawPoint", "TCheckBox", "&Visible"},
      {"CB3dPoint", "TCheckBox", "&3D"},
      {"CBStyle", "TComboFlat", "&Style:",
       {"Circle", "Cross", "Diagonal Cross", "Diamond", "Down Triangle", "Hexagon", "Left Triangle", "Nothing",
        "Right Triangle", "Small Dot", "Square", "Star", "Triangle", "Visual"}},
      {"CBPoDark", "TCheckBox", "Dar&k 3D"}, {"CBColorEach", "TCheckBox", "&Color Each "},
      {"CBIgnoreNulls", "TCheckBox", "&Ignore nulls"}, {"BGradient", "TButton", "&Gradient..."},
      {"Button2", "TButton", "Sh&adow..."}, {"BEmboss", "TButton", "&Emboss..."},
      {"TBTransp", "TTrackBar", "", {}, 0, 100}, {"LTransp", "TLabel", "&Transparency:"},
      {"BPointFillColor", "TButton", "&Pattern..."}, {"CBDefBrushColor", "TCheckBox", "&Default"},
      {"BPoinPenCol", "TButtonPen", "B&order..."}, {"SEPointHorizSize", "TEdit", "&Width:"},
      {"UDPointHorizSize", "TUpDown", "", {}, 1, 1000}, {"SEPointVertSize", "TEdit", "&Height:"},
      {"UDPointVertSize", "TUpDown", "", {}, 1, 1000}, {"SEPointDepth", "TEdit", "&Depth:"},
      {"UDPointDepth", "TUpDown", "", {}, 0, 1000}, {"CBInflate", "TCheckBox", "Inflate &Margins"},
      {"Button1", "TButton", "Close"}},
     [](TForm* f) {
       auto* e = static_cast<TSeriesPointerEditor*>(f);
       EXPECT_TRUE(e->PageControl1->ActivePage() == e->TabStyle && !e->PanelBottom->Visible());
       EXPECT_EQ(e->CBStyle->Style(), csOwnerDrawFixed);
       // Every style item carries its own number.
       for (int i = 0; i < e->CBStyle->Items()->Count(); ++i)
         EXPECT_EQ(e->CBStyle->Items()->Strings(i) == "Diamond",
                   e->CBStyle->Items()->Objects(i) == reinterpret_cast<TObject*>(std::intptr_t(psDiamond)));
       e->PanelBottom->SetVisible(true);
       CheckEveryPage(e, e->PageControl1);
     }},
  };
}

class EditorForms : public editortest::EditorTest {};

// A chart-level page beside the chart, at the size the editor gives it, shown.
template <class P>
P* Shown(TForm* Host, P* Page, int Width, int Height) {
  Page->SetAlign(alNone);
  Page->SetParent(Host);
  Page->SetBounds(560, 0, Width, Height);
  Page->Show();
  TestInput::PumpPasses(4);
  return Page;
}

TEST_F(EditorForms, ControlsAreTheTablesOwnAndFitTheirForm) {
  auto* chart = new TChart(Host.get());
  auto* series = new TLineSeries(Host.get());
  series->SetParentChart(chart);
  for (const TFormSpec& spec : Specs()) {
    const TClass c = spec.Class();
    SCOPED_TRACE(c->Name);
    std::unique_ptr<TForm> f(dynamic_cast<TForm*>(c->NewInstance(Host.get())));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ClientWidth(), spec.ClientWidth);
    EXPECT_EQ(f->ClientHeight(), spec.ClientHeight);
    f->SetTag(std::intptr_t(series));
    f->Show();
    formcheck::CheckInventory(f.get(), spec.Controls);
    formcheck::CheckLayout(f.get());
    if (spec.Check) spec.Check(f.get());
  }
}

// The series page fills its combos for a series: its table holds what they list for
// the sample chart's point series.
TEST_F(EditorForms, SeriesPageMatchesItsTableOnEveryTab) {
  BuildSampleChart(Host.get(), Host.get());
  Host->Show();
  auto* page = new TFormLumSeries(Host.get());
  page->SetParent(Host.get());
  page->SetBounds(640, 0, 390, 363);
  page->Show();
  EXPECT_EQ(page->ClientWidth(), 390);
  EXPECT_EQ(page->ClientHeight(), 363);
  EXPECT_EQ(page->CBSeries->DropDownCount(), 16);
  EXPECT_EQ(page->CBDataSourcestyle->DropDownCount(), 12);
  EXPECT_TRUE(page->PageSeries->HotTrack() && page->PageControlMarks->HotTrack());
  EXPECT_EQ(page->PageSeries->ActivePage(), page->TheTabSheet);
  EXPECT_EQ(page->PageControlMarks->ActivePage(), page->TabMarkStyle);
  EXPECT_EQ(page->ActiveControl(), page->CBSeries);
  EXPECT_FALSE(page->CBPersistent->Visible());
  page->SelectSeries(dynamic_cast<TChartSeries*>(Host->FindComponent("Atoms")));
  EXPECT_EQ(page->PaintBox1->Cursor(), crLumHand);
  for (TTabSheet* t : {page->TabGeneral, page->TabMarks, page->TabDataSource}) {
    page->PageSeries->SetActivePage(t);
    page->PageSeriesChange(page->PageSeries);
  }
  formcheck::CheckInventory(page, {
      {"CBSeries", "TComboFlat", "", {"Acoustic", "Optic", "Atoms", "Bars", "Area", "Average"}},
      {"PaintBox1", "TPaintBox", ""}, {"CBPersistent", "TCheckBox", "Persistent"},
      {"ImageSeries", "TImage", ""}, {"LabelSeriesClass", "TLabel", "Point: Atoms"},
      {"TheTabSheet", "TTabSheet", "Format"}, {"TabGeneral", "TTabSheet", "General"},
      {"TabMarks", "TTabSheet", "Marks"}, {"TabDataSource", "TTabSheet", "Data Source"},
      {"CBCursor", "TComboFlat", "&Cursor:", CursorNames},
      {"SpeedButton1", "TSpeedButton", "..."}, {"EDepth", "TEdit", "&Depth:"},
      {"UDDepth", "TUpDown", "", {}, 0, 1200}, {"CBDepth", "TCheckBox", "Auto"},
      {"CBFormat", "TComboFlat", "&Values:",
       {"#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0", "#.# x10E-#"}},
      {"Button1", "TButton", "..."}, {"EPercentFormat", "TEdit", "&Percents:"},
      {"Button2", "TButton", "..."},
      {"CBHorizAxis", "TComboFlat", "", {"Top", "Bottom", "Top and Bottom"}},
      {"CBXDateTime", "TCheckBox", "Dat&eTime"},
      {"CBVertAxis", "TComboFlat", "", {"Left", "Right", "Left and Right", "Custom 0"}},
      {"CBYDateTime", "TCheckBox", "D&ateTime"}, {"CBZDateTime", "TCheckBox", "&Z DateTime"},
      {"CBShowInEditor", "TCheckBox", "Show in this editor"},
      {"CBSortBy", "TComboFlat", "", {"None", "Text", "X", "Y"}},
      {"CBSortOrder", "TComboFlat", "", {"Ascending", "Descending"}},
      {"CBShowInLegend", "TCheckBox", "&Show In Legend"}, {"ELegendTitle", "TEdit", "Text:"},
      {"BVisual", "TButton", "Visual..."}, {"PageControlMarks", "TPageControl", ""},
      {"TabMarkStyle", "TTabSheet", "Style"}, {"TabArrows", "TTabSheet", "Arrows"},
      {"TabSymbol", "TTabSheet", "Symbol"}, {"TabMargins", "TTabSheet", "Margins"},
      {"CBMarksVisible", "TCheckBox", "&Visible"}, {"CBMarkClip", "TCheckBox", "Cl&ipped"},
      {"SEMarksAngle", "TEdit", "&Angle:"}, {"UDMarksAngle", "TUpDown", "", {}, 0, 360},
      {"EMarksEvery", "TEdit", "Draw &every:"}, {"UDEvery", "TUpDown", "", {}, 1, 5000},
      {"CBMultiLine", "TCheckBox", "&Multi line"}, {"CBAllVisible", "TCheckBox", "All Series Visi&ble"},
      {"RGMarkStyle", "TRadioGroup", "&Style:",
       {"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend", "Percent Total",
        "Label and Percent Total", "X value", "X and Y values", "Series Title", "Point Index", "Percent Relative"}},
      {"CBTextAlign", "TComboFlat", "&Text Align:", {"Left", "Right", "Center"}},
      {"CBFontSeriesColor", "TCheckBox", "&Font Series Color"}, {"BMarkLinCol", "TButtonPen", "&Border..."},
      {"SEArrowLength", "TEdit", "&Length:"}, {"UDArrowsLength", "TUpDown", "", {}, -1000, 1000},
      {"EArrowDist", "TEdit", "&Distance:"}, {"UDArrowDist", "TUpDown", "", {}, -1000, 1000},
      {"BCalloutPointer", "TButton", "&Pointer..."},
      {"CBHead", "TComboFlat", "&Arrow head:", {"None", "Line", "Solid"}},
      {"Edit1", "TEdit", "&Size:"}, {"UDHeadSize", "TUpDown", "", {}, -1000, 1000},
      {"CBDataSourcestyle", "TComboFlat", "", {"Manual", "Random", "Series", "Function"}},
      {"ChartGrid1", "TChartGrid", ""}, {"ChartGridNavigator1", "TChartGridNavigator", ""},
      {"ESamples", "TEdit", "&Number of sample values:"}, {"CBSamplesDefault", "TCheckBox", "&Default"},
      {"BApplyRandom", "TButton", "&Apply"}, {"Button3", "TButton", "&Clear"},
      {"CBSeriesSource", "TComboFlat", "&Series:"}, {"BApplySource", "TButton", "&Apply"},
      {"BClearSource", "TButton", "&Clear"},
  });
  EXPECT_TRUE(page->CBCursor->Sorted());
  EXPECT_EQ(page->UDMarksAngle->Increment(), 5);
  EXPECT_TRUE(page->UDMarksAngle->Wrap());
  CheckEveryPage(page, page->PageControlMarks);
  CheckEveryPage(page, page->PageSeries);
  // Each data source's panel fits too.
  for (const char* style : {"Random", "Series"}) {
    SCOPED_TRACE(style);
    page->CBDataSourcestyle->SetItemIndex(page->CBDataSourcestyle->Items()->IndexOf(style));
    page->CBDataSourcestyleChange(page->CBDataSourcestyle);
    formcheck::CheckLayout(page);
  }
}

// The chart-level pages: their tables, their embedded editors' tabs after their own,
// and a layout that fits on every tab.
TEST_F(EditorForms, AxisPageMatchesItsTableOnEveryTab) {
  TChart* chart = BuildSampleChart(Host.get(), Host.get());
  Host->Show();
  auto* page = Shown(Host.get(), new TFormLumAxis(Host.get(), chart->LeftAxis()), 470, 290);
  formcheck::CheckInventory(
      page, {{"LBAxes", "TListBox", "", {"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Depth Right",
                                         "Depth Top", "Custom 0"}},
             {"CBShow", "TCheckBox", "Visible"},
             {"CBAxisBeh", "TCheckBox", "&Behind"},
             {"BAdd", "TSpeedButton", "+"},
             {"BDelete", "TSpeedButton", "-"},
             {"CBAutomatic", "TCheckBox", "&Automatic"},
             {"CBLogarithmic", "TCheckBox", "&Logarithmic"},
             {"ELogBase", "TEdit", "L&og Base:"},
             {"LogE", "TCheckBox", "&e"},
             {"CBAutoMin", "TCheckBox", "A&uto"},
             {"BAxisMin", "TButton", "&Change..."},
             {"UDMinOff", "TUpDown", "", {}, -10000, 10000},
             {"CBMaxRound", "TCheckBox", "Round"},
             {"BIncre", "TButton", "&Change..."},
             {"CBShowAll", "TCheckBox", "Show &all labels"},
             {"ETitle", "TEdit", "T&itle:"},
             {"UDTitleAngle", "TUpDown", "", {}, 0, 360},
             {"UDTitleSize", "TUpDown", "", {}, 0, 1000},
             {"CBMultiline", "TCheckBox", "Multi-lin&e"},
             {"CBOnAxis", "TCheckBox", "Label on A&xis"},
             {"CBRoundFirst", "TCheckBox", "Ro&und First"},
             {"SESepar", "TEdit", "Min. Se&paration %:"},
             {"CBLabelStyle", "TComboFlat", "&Style:", {"Auto", "None", "Value", "Mark", "Text", "Point Value"}},
             {"CBLabelsBehind", "TCheckBox", "Behind Grid"},
             {"Button1", "TButton", "..."},
             {"CBLabelAlign", "TCheckBox", "&Default Alignment"},
             {"BAxisPen", "TButtonPen", "&Axis..."},
             {"BTickPen", "TButtonPen", "T&icks..."},
             {"BTickInner", "TButtonPen", "I&nner..."},
             {"BTickMinor", "TButtonPen", "&Minor..."},
             {"UDAxisTickLength", "TUpDown", "", {}, -1000, 1000},
             {"UDInnerTicksLength", "TUpDown", "", {}, 0, 1000},
             {"UDMinorC", "TUpDown", "", {}, 0, 1000},
             {"CBTickOnLabels", "TCheckBox", "At Labels Onl&y"},
             {"BAxisGrid", "TButtonPen", "&Grid..."},
             {"Edit2", "TEdit", "&Z:"},
             {"CBGridCentered", "TCheckBox", "C&entered"},
             {"UDEvery", "TUpDown", "", {}, 1, 5000},
             {"UDPos", "TUpDown", "", {}, -1000, 1000},
             {"EStart", "TEdit", "St&art %:"},
             {"EEnd", "TEdit", "&End %:"},
             {"Edit1", "TEdit", "&Z %:"},
             {"CBPosUnits", "TComboFlat", "&Units:", {"Percent", "Pixels"}},
             {"CBOtherSide", "TCheckBox", "&Other side"},
             {"CBHorizAxis", "TCheckBox", "&Horizontal"},
             {"CBItemsAuto", "TCheckBox", "Automatic"},
             {"EItemValue", "TEdit", "&Value:"},
             {"AxisItemText", "TMemo", "&Text:"},
             {"ButtonFormat", "TButton", "&Format..."}});
  EXPECT_EQ(page->UDTitleAngle->Increment(), 90);
  EXPECT_EQ(page->UDSepar->Increment(), 10);
  // The title's shape editor follows "Style" in the title's tabs; the labels' font
  // editor fills their "Text" tab.
  ASSERT_EQ(page->PageTitle->PageCount(), 8);
  EXPECT_EQ(page->PageTitle->Pages(1)->Caption(), "Format");
  ASSERT_NE(page->LabelsFontEditor(), nullptr);
  EXPECT_EQ(page->LabelsFontEditor()->Parent(), page->TabLabelsText);
  EXPECT_EQ(page->LabelsFontEditor()->TheFont(), chart->LeftAxis()->LabelsFont());
  CheckEveryPage(page, page->PageAxis);
  page->PageAxis->SetActivePage(page->TabTitle);
  page->PageAxisChange(page->PageAxis);
  CheckEveryPage(page, page->PageTitle);
  page->PageAxis->SetActivePage(page->TabLabels);
  page->PageAxisChange(page->PageAxis);
  CheckEveryPage(page, page->PageLabels);

  TAxisMaxMin d(Host.get());
  EXPECT_EQ(d.Caption(), "Axis Maximum and Minimum");
  EXPECT_EQ(d.ClientWidth(), 274);
  EXPECT_EQ(d.ClientHeight(), 79);
  formcheck::CheckInventory(&d, {{"EMaximum", "TEdit", "&Date:"},
                                 {"EMinimum", "TEdit", "&Time:"},
                                 {"BOk", "TButton", "OK"},
                                 {"BCancel", "TButton", "Cancel"}});
  formcheck::CheckLayout(&d);
}

TEST_F(EditorForms, LegendPageMatchesItsTableOnEveryTab) {
  TChart* chart = BuildSampleChart(Host.get(), Host.get());
  Host->Show();
  auto* page = Shown(Host.get(), new TFormLumLegend(Host.get(), chart->Legend()), 470, 290);
  formcheck::CheckInventory(
      page,
      {{"CBShow", "TCheckBox", "&Visible"},
       {"CBInverted", "TCheckBox", "&Inverted"},
       {"CBLegendStyle", "TComboFlat", "Legend &Style:",
        {"Automatic", "Series Names", "Series Values", "Last Values", "Series Groups"}},
       {"CBLegStyle", "TComboFlat", "Text St&yle:",
        {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent", "X Value", "Value", "Percent",
         "X and Value", "X and Percent", "X and Text"}},
       {"BDivLines", "TButtonPen", "&Dividing Lines..."},
       {"EVertSpacing", "TEdit", "V&ert. Spacing:"},
       {"CBFontColor", "TCheckBox", "&Font Series Color"},
       {"CBCheckBoxes", "TComboFlat", "", {"No check boxes", "Check boxes", "Radio buttons"}},
       {"RGPosition", "TRadioGroup", "Position", {"&Left", "&Right", "&Top", "&Bottom"}},
       {"CBResizeChart", "TCheckBox", "Resi&ze Chart"},
       {"SETopPos", "TEdit", "&Position Offset %:"},
       {"UDMargin", "TUpDown", "", {}, -1000, 1000},
       {"CBCustPos", "TCheckBox", "&Custom:"},
       {"CBPosPercent", "TCheckBox", "Percent"},
       {"UDLeft", "TUpDown", "", {}, -100, 9000},
       {"UDTop", "TUpDown", "", {}, -100, 9000},
       {"MemoText", "TMemo", "&Text:"},
       {"CBTextAlign", "TComboFlat", "Text &alignment:", {"Left", "Center", "Right"}},
       {"CBTitleVisible", "TCheckBox", "&Visible"},
       {"Button1", "TButton", "&Edit..."},
       {"CBCustom", "TCheckBox", "&Custom"},
       {"CBCustPosition", "TCheckBox", "Custom &Position"},
       {"SBAddItem", "TSpeedButton", "+"},
       {"SBDeleteItem", "TSpeedButton", "-"},
       {"EItemText", "TEdit", "&Text:"},
       {"EItemText2", "TEdit", "Text &2:"},
       {"CBItemAlign", "TComboFlat", "&Align:", {"Left", "Center", "Right"}},
       {"UDItemLeft", "TUpDown", "", {}, 0, 4000},
       {"UDItemTop", "TUpDown", "", {}, 0, 4000},
       {"Button2", "TButton", "&Font..."},
       {"CBDefItemFont", "TCheckBox", "&Default"}});
  EXPECT_EQ(page->UDLeft->Increment(), 5);
  EXPECT_EQ(page->UDVertSpacing->Min(), -10);
  EXPECT_EQ(page->UDTopPos->Min(), -100);
  // The frame's tabs follow the page's five.
  ASSERT_EQ(page->PageControl1->PageCount(), 12);
  EXPECT_EQ(page->PageControl1->Pages(5)->Caption(), "Format");
  CheckEveryPage(page, page->PageControl1);
  page->PageControl1->SetActivePage(page->TabTitle);
  page->PageControl1Change(page->PageControl1);
  CheckEveryPage(page, page->PageControl2);
  TSymbolEditor* e = page->SymbolEditor();
  EXPECT_EQ(e->Caption(), "Legend Symbol Editor");
  formcheck::CheckInventory(e, {{"SEColWi", "TEdit", "&Width:"},
                                {"CBColWUnits", "TComboFlat", "Width &Units:", {"Percent", "Pixels"}},
                                {"CBSymbolPos", "TComboFlat", "&Position:", {"Left", "Right"}},
                                {"CBContinuous", "TCheckBox", "&Continuous"},
                                {"CBVisible", "TCheckBox", "&Visible"},
                                {"CBSquared", "TCheckBox", "&Squared"},
                                {"CBSymPen", "TCheckBox", "&Default border"},
                                {"BSymPen", "TButtonPen", "&Border..."},
                                {"BSymGradient", "TButtonGradient", "&Gradient..."},
                                {"Button1", "TButton", "S&hadow..."},
                                {"BEmboss", "TButton", "&Emboss..."}});
  EXPECT_EQ(e->UDColWi->Increment(), 5);
  formcheck::CheckLayout(e);
}

TEST_F(EditorForms, PanelTitlesAndWallsPagesMatchTheirTables) {
  TChart* chart = BuildSampleChart(Host.get(), Host.get());
  Host->Show();
  auto* panel = Shown(Host.get(), new TFormLumPanel(Host.get(), chart), 420, 280);
  EXPECT_EQ(panel->Caption(), "Panel Editor");
  formcheck::CheckInventory(panel, {{"BPanelColor", "TButtonColor", "&Color..."},
                                    {"CBColorDef", "TCheckBox", "&Default"},
                                    {"CBImageInside", "TCheckBox", "Back Image I&nside"},
                                    {"SEPanelWi", "TEdit", "Widt&h:"},
                                    {"SEPanelBor", "TEdit", "&Separation:"},
                                    {"UDRound", "TUpDown", "", {}, 0, 10000},
                                    {"CBInner", "TComboFlat", "Bevel &inner:", {"None", "Lowered", "Raised"}},
                                    {"CBOuter", "TComboFlat", "Bevel &outer:", {"None", "Lowered", "Raised"}},
                                    {"BBorder", "TButtonPen", "&Border..."},
                                    {"UDTopMa", "TUpDown", "", {}, 0, 100},
                                    {"UDBotMa", "TUpDown", "", {}, 0, 100},
                                    {"CBMarUnits", "TComboFlat", "&Units:", {"Percent", "Pixels"}}});
  EXPECT_EQ(panel->UDPanelWi->Min(), 1);
  EXPECT_EQ(panel->UDLeftMa->Increment(), 5);
  CheckEveryPage(panel, panel->PageControl1);
  auto* titles = Shown(Host.get(), new TFormLumTitle(Host.get(), chart->Title(), chart), 420, 280);
  formcheck::CheckInventory(titles, {{"CBTitles", "TComboFlat", "", {"Title", "SubTitle", "SubFoot", "Foot"}},
                                     {"MText", "TMemo", "&Text:"},
                                     {"Button1", "TButton", "&Edit..."},
                                     {"CBVisible", "TCheckBox", "&Visible"},
                                     {"CBAdjust", "TCheckBox", "&Adjust Frame"},
                                     {"CBAlign", "TComboFlat", "Alig&nment:", {"Left", "Center", "Right"}},
                                     {"CBCustPos", "TCheckBox", "&Custom:"},
                                     {"ECustLeft", "TEdit", "L&eft:"},
                                     {"UDLeft", "TUpDown", "", {}, -1000, 1000},
                                     {"ECustTop", "TEdit", "T&op:"},
                                     {"Edit1", "TEdit", "&Vert. Margin:"},
                                     {"UDMargin", "TUpDown", "", {}, -500, 500}});
  EXPECT_EQ(titles->UDTop->Increment(), 5);
  CheckEveryPage(titles, titles->PageControlTitle);
  auto* walls = Shown(Host.get(), new TFormLumWall(Host.get(), chart->BackWall()), 420, 280);
  formcheck::CheckInventory(walls, {{"TabSubWalls", "TTabControl", ""},
                                    {"CBView3dWalls", "TCheckBox", "&Visible Walls"},
                                    {"EAllSize", "TEdit", "Size:"},
                                    {"CBVisible", "TCheckBox", "V&isible"},
                                    {"BWallColor", "TButtonColor", "&Color..."},
                                    {"BWallPen", "TButtonPen", "B&order..."},
                                    {"BWallBrush", "TButton", "&Pattern..."},
                                    {"BGradient", "TButtonGradient", "&Gradient..."},
                                    {"SEWallSize", "TEdit", "Siz&e:"},
                                    {"CBDark3D", "TCheckBox", "&Dark 3D"},
                                    {"CBTransp", "TCheckBox", "&Transparent"},
                                    {"Edit1", "TEdit", "T&ransparency:"},
                                    {"CBAutoHide", "TCheckBox", "&Auto Hide"},
                                    {"GBPosition", "TGroupBox", "Position:"},
                                    {"Edit2", "TEdit", "Start:"},
                                    {"Edit3", "TEdit", "End:"},
                                    {"BImage", "TButton", "&Image..."},
                                    {"BShadow", "TButton", "&Shadow..."},
                                    {"BEmboss", "TButton", "&Emboss..."},
                                    {"BVisual", "TButton", "Visua&l..."}});
  std::vector<std::string> tabs;
  for (int i = 0; i < walls->TabSubWalls->Tabs()->Count(); ++i) tabs.push_back(walls->TabSubWalls->Tabs()->Strings(i));
  EXPECT_EQ(tabs, (std::vector<std::string>{"Left", "Right", "Bottom", "Back"}));
  formcheck::CheckLayout(walls);
}

}  // namespace
