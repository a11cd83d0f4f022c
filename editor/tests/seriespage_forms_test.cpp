// The series page and the pointer editor against the tables of their controls, and
// a layout that fits on every tab.
#include "chart/series.h"
#include "editor/pointereditor.h"
#include "editor/seriespage.h"
#include "editor_test.h"
#include "form_inventory.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using formcheck::CheckInventory;
using formcheck::CheckLayout;

// Shows each page of Pages in turn and checks the form's layout there.
void CheckEveryPage(TForm* Form, TPageControl* Pages) {
  for (int i = 0; i < Pages->PageCount(); ++i) {
    if (!Pages->Pages(i)->TabVisible()) continue;
    SCOPED_TRACE(Pages->Pages(i)->Caption());
    Pages->SetActivePage(Pages->Pages(i));
    if (Pages->OnChange.Assigned()) Pages->OnChange(Pages);
    CheckLayout(Form);
  }
}

const std::vector<std::string> CursorNames = {
    "AppStart", "Arrow",  "Cross",    "Default", "Drag",    "HandPoint", "Help",   "HourGlass",
    "HSplit",   "IBeam",  "LumHand",  "MultiDrag", "No",    "NoDrop",    "None",   "SizeAll",
    "SizeNESW", "SizeNS", "SizeNWSE", "SizeWE",  "SQLWait", "UpArrow",   "VSplit"};

TEST_F(EditorTest, SeriesPageMatchesItsTable) {
  TChart* chart = BuildSampleChart(Host.get(), Host.get());
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
  CheckInventory(page, {
      {"CBSeries", "TComboFlat", "", {"Acoustic", "Optic", "Atoms"}},
      {"PaintBox1", "TPaintBox", ""},
      {"CBPersistent", "TCheckBox", "Persistent"},
      {"ImageSeries", "TImage", ""},
      {"LabelSeriesClass", "TLabel", "Point: Atoms"},
      {"TheTabSheet", "TTabSheet", "Format"},
      {"TabGeneral", "TTabSheet", "General"},
      {"TabMarks", "TTabSheet", "Marks"},
      {"TabDataSource", "TTabSheet", "Data Source"},
      {"CBCursor", "TComboFlat", "&Cursor:", CursorNames},
      {"SpeedButton1", "TSpeedButton", "..."},
      {"EDepth", "TEdit", "&Depth:"},
      {"UDDepth", "TUpDown", "", {}, 0, 1200},
      {"CBDepth", "TCheckBox", "Auto"},
      {"CBFormat", "TComboFlat", "&Values:",
       {"#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0", "#.# x10E-#"}},
      {"Button1", "TButton", "..."},
      {"EPercentFormat", "TEdit", "&Percents:"},
      {"Button2", "TButton", "..."},
      {"CBHorizAxis", "TComboFlat", "", {"Top", "Bottom", "Top and Bottom"}},
      {"CBXDateTime", "TCheckBox", "Dat&eTime"},
      {"CBVertAxis", "TComboFlat", "", {"Left", "Right", "Left and Right"}},
      {"CBYDateTime", "TCheckBox", "D&ateTime"},
      {"CBZDateTime", "TCheckBox", "&Z DateTime"},
      {"CBShowInEditor", "TCheckBox", "Show in this editor"},
      {"CBSortBy", "TComboFlat", "", {"None", "Text", "X", "Y"}},
      {"CBSortOrder", "TComboFlat", "", {"Ascending", "Descending"}},
      {"CBShowInLegend", "TCheckBox", "&Show In Legend"},
      {"ELegendTitle", "TEdit", "Text:"},
      {"BVisual", "TButton", "Visual..."},
      {"PageControlMarks", "TPageControl", ""},
      {"TabMarkStyle", "TTabSheet", "Style"},
      {"TabArrows", "TTabSheet", "Arrows"},
      {"TabSymbol", "TTabSheet", "Symbol"},
      {"TabMargins", "TTabSheet", "Margins"},
      {"CBMarksVisible", "TCheckBox", "&Visible"},
      {"CBMarkClip", "TCheckBox", "Cl&ipped"},
      {"SEMarksAngle", "TEdit", "&Angle:"},
      {"UDMarksAngle", "TUpDown", "", {}, 0, 360},
      {"EMarksEvery", "TEdit", "Draw &every:"},
      {"UDEvery", "TUpDown", "", {}, 1, 5000},
      {"CBMultiLine", "TCheckBox", "&Multi line"},
      {"CBAllVisible", "TCheckBox", "All Series Visi&ble"},
      {"RGMarkStyle", "TRadioGroup", "&Style:",
       {"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend", "Percent Total",
        "Label and Percent Total", "X value", "X and Y values", "Series Title", "Point Index", "Percent Relative"}},
      {"CBTextAlign", "TComboFlat", "&Text Align:", {"Left", "Right", "Center"}},
      {"CBFontSeriesColor", "TCheckBox", "&Font Series Color"},
      {"BMarkLinCol", "TButtonPen", "&Border..."},
      {"SEArrowLength", "TEdit", "&Length:"},
      {"UDArrowsLength", "TUpDown", "", {}, -1000, 1000},
      {"EArrowDist", "TEdit", "&Distance:"},
      {"UDArrowDist", "TUpDown", "", {}, -1000, 1000},
      {"BCalloutPointer", "TButton", "&Pointer..."},
      {"CBHead", "TComboFlat", "&Arrow head:", {"None", "Line", "Solid"}},
      {"Edit1", "TEdit", "&Size:"},
      {"UDHeadSize", "TUpDown", "", {}, -1000, 1000},
      {"CBDataSourcestyle", "TComboFlat", "", {"Manual", "Random", "Series", "Function"}},
      {"ChartGrid1", "TChartGrid", ""},
      {"ChartGridNavigator1", "TChartGridNavigator", ""},
      {"ESamples", "TEdit", "&Number of sample values:"},
      {"CBSamplesDefault", "TCheckBox", "&Default"},
      {"BApplyRandom", "TButton", "&Apply"},
      {"Button3", "TButton", "&Clear"},
      {"CBSeriesSource", "TComboFlat", "&Series:"},
      {"BApplySource", "TButton", "&Apply"},
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
    CheckLayout(page);
  }
  (void)chart;
}

TEST_F(EditorTest, PointerEditorMatchesItsTable) {
  std::unique_ptr<TSeriesPointerEditor> e(new TSeriesPointerEditor(nullptr));
  EXPECT_EQ(e->Align(), alClient);
  EXPECT_EQ(e->PageControl1->ActivePage(), e->TabStyle);
  EXPECT_FALSE(e->PanelBottom->Visible());
  CheckInventory(e.get(), {
      {"TabStyle", "TTabSheet", "Style"},
      {"TabSize", "TTabSheet", "Size"},
      {"TabVisual", "TTabSheet", "Visual"},
      {"CBDrawPoint", "TCheckBox", "&Visible"},
      {"CB3dPoint", "TCheckBox", "&3D"},
      {"CBStyle", "TComboFlat", "&Style:",
       {"Circle", "Cross", "Diagonal Cross", "Diamond", "Down Triangle", "Hexagon", "Left Triangle", "Nothing",
        "Right Triangle", "Small Dot", "Square", "Star", "Triangle", "Visual"}},
      {"CBPoDark", "TCheckBox", "Dar&k 3D"},
      {"CBColorEach", "TCheckBox", "&Color Each "},
      {"CBIgnoreNulls", "TCheckBox", "&Ignore nulls"},
      {"BGradient", "TButton", "&Gradient..."},
      {"Button2", "TButton", "Sh&adow..."},
      {"BEmboss", "TButton", "&Emboss..."},
      {"TBTransp", "TTrackBar", "", {}, 0, 100},
      {"LTransp", "TLabel", "&Transparency:"},
      {"BPointFillColor", "TButton", "&Pattern..."},
      {"CBDefBrushColor", "TCheckBox", "&Default"},
      {"BPoinPenCol", "TButtonPen", "B&order..."},
      {"SEPointHorizSize", "TEdit", "&Width:"},
      {"UDPointHorizSize", "TUpDown", "", {}, 1, 1000},
      {"SEPointVertSize", "TEdit", "&Height:"},
      {"UDPointVertSize", "TUpDown", "", {}, 1, 1000},
      {"SEPointDepth", "TEdit", "&Depth:"},
      {"UDPointDepth", "TUpDown", "", {}, 0, 1000},
      {"CBInflate", "TCheckBox", "Inflate &Margins"},
      {"Button1", "TButton", "Close"},
  });
  EXPECT_EQ(e->CBStyle->Style(), csOwnerDrawFixed);
  // Every style item carries its own number.
  for (int i = 0; i < e->CBStyle->Items()->Count(); ++i)
    EXPECT_EQ(e->CBStyle->Items()->Strings(i) == "Diamond", e->CBStyle->Items()->Objects(i) == reinterpret_cast<TObject*>(std::intptr_t(psDiamond)));
  e->SetAlign(alNone);
  e->PanelBottom->SetVisible(true);
  e->Show();
  CheckEveryPage(e.get(), e->PageControl1);
}

}  // namespace
