// Every editor form of the dialogs and option pages of this module:
// its controls as the dialogs' tables give them, and a layout that fits the form.
#include <gtest/gtest.h>

#include <functional>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "engine/backimage.h"
#include "gallery/backimageeditor.h"
#include "gallery/brushdialog.h"
#include "gallery/exportdialog.h"
#include "gallery/fonteditor.h"
#include "gallery/exportformat.h"
#include "gallery/filterseditor.h"
#include "gallery/formateditor.h"
#include "gallery/gallerypanel.h"
#include "gallery/gradienteditor.h"
#include "gallery/marginseditor.h"
#include "gallery/preview.h"
#include "gallery/seriesgallery.h"
#include "gallery/shapeeditor.h"
#include "gallery/shadoweditor.h"
#include "gallery/toolsgallery.h"
#include "form_inventory.h"
#include "gallery_test_util.h"
#include "platform/lists.h"
#include "platform/menus.h"
#include "platform/testing.h"
#include "samples/samplechart.h"

namespace {

struct TFormSpec {
  const char* Caption;
  int ClientWidth, ClientHeight;
  std::function<TForm*()> Open;
  std::vector<gallerytest::TInventoryEntry> Controls;
  std::vector<std::pair<const char*, const char*>> Others;  // components that are no controls
};

const TFormatLocale Locale{"$", ",", ".", "dd/mm/yyyy", "hh:nn"};
TLumPicture* SamplePicture() {
  static TLumPicture* p = [] {
    auto* pic = new TLumPicture();
    TBitmap bmp;
    bmp.SetSize(20, 20);
    pic->SetGraphic(&bmp);
    pic->Filters()->Add(TBrightnessFilter::StaticClass());
    pic->Filters()->Add(TInvertFilter::StaticClass());
    return pic;
  }();
  return p;
}
TMargins sampleMargins;
TLumGradient* SampleGradient() {
  static TLumGradient gradient;
  gradient.SetVisible(true);
  return &gradient;
}
TLumShadow* SampleShadow() {
  static TLumShadow shadow;
  shadow.SetVisible(true);
  return &shadow;
}
std::vector<gallerytest::TInventoryEntry> ShadowControls() {
  return {{"CBVisible", "TCheckBox", "&Visible"},     {"GroupBox1", "TGroupBox", "Size:"},
          {"Edit1", "TEdit", "&Horiz:"},              {"UDShadowSize", "TUpDown", "", {}, -1000, 1000},
          {"EVertSize", "TEdit", "V&ert:"},           {"UDShaVert", "TUpDown", "", {}, -1000, 1000},
          {"EShadowTransp", "TEdit", "&Transparency:"}, {"UDShadowTransp", "TUpDown", "", {}, 0, 100},
          {"BShadowColor", "TButtonColor", "&Color..."}, {"TBColor", "TTrackBar", "", {}, 0, 240},
          {"CBSmooth", "TCheckBox", "&Smooth"},       {"TBBlur", "TTrackBar", "", {}, -75, 75},
          {"Label4", "TLabel", "&Blur:"},             {"LBlur", "TLabel", "0"},
          {"CBClip", "TCheckBox", "Cl&ip"},           {"BOK", "TButton", "OK"}};
}
TForm* ChartHost() {
  static TForm* host = [] {
    auto* f = new TForm(nullptr);
    BuildSampleChart(f, f);
    return f;
  }();
  return host;
}

const std::vector<std::string> Geo = {"ddd\xC2\xB0 mm' ss\".zzz", "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz",
                                      "ddd mm ss.zzz",           "ddd mm ss",         "ddd mm",
                                      "ddd\xC2\xB0",             "ddd"};
const std::vector<std::string> CursorNames = {
    "AppStart", "Arrow",  "Cross",    "Default", "Drag",    "HandPoint", "Help",   "HourGlass",
    "HSplit",   "IBeam",  "LumHand",  "MultiDrag", "No",    "NoDrop",    "None",   "SizeAll",
    "SizeNESW", "SizeNS", "SizeNWSE", "SizeWE",  "SQLWait", "UpArrow",   "VSplit"};

const TFormSpec Forms[] = {
    {"Numeric Format", 274, 269,
     [] {
       auto* f = new TFormatEditor(nullptr);
       f->SetTheFormat("#,##0.00");
       return f;
     },
     {{"RBInteger", "TRadioButton", "&Number"},       {"CBCurrency", "TCheckBox", "C&urrency"},
      {"CBThousands", "TCheckBox", "&Thousands"},     {"CBPercent", "TCheckBox", "&Percent"},
      {"Edit2", "TEdit", "&Fixed:"},                  {"UpDown2", "TUpDown", "", {}, 0, 20},
      {"Edit1", "TEdit", "D&ecimals:"},               {"UpDown1", "TUpDown", "", {}, 0, 20},
      {"CBFixedDecimals", "TCheckBox", "F&ixed"},     {"RBDate", "TRadioButton", "&Date Time:"},
      {"CBDate", "TComboFlat", "", {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM", "dd/mm/yyyy", "hh:nn"}},
      {"RBGeo", "TRadioButton", "&Geographic:"},      {"CBGeo", "TComboFlat", "", Geo},
      {"RBCustom", "TRadioButton", "&Custom:"},       {"CBCustom", "TComboFlat", "", {"#.#", "0.0%"}},
      {"BOK", "TButton", "OK"},                       {"BCancel", "TButton", "Cancel"}},
     {}},
    {"Mouse Cursor Editor", 219, 170, [] { return new TMouseCursorEdit(nullptr); },
     {{"CBCursor", "TComboFlat", "&Cursor:", CursorNames},
      {"GroupBox1", "TGroupBox", "Preview:"},
      {"ImageCursor", "TImage", ""},
      {"BLoad", "TButton", "&Load..."}},
     {{"OpenDialog1", "TOpenDialog"}}},
    {"Filters", 476, 389,
     [] {
       auto* f = new TFiltersEditor(nullptr);
       f->SetTheFilters(SamplePicture()->Filters());
       f->SetThePicture(SamplePicture());
       return f;
     },
     {{"BAdd", "TSpeedButton", "+"},                 {"BDelete", "TSpeedButton", "-"},
      {"BMoveUp", "TSpeedButton", ""},                {"BMoveDown", "TSpeedButton", ""},
      {"Filters", "TCheckListBox", "", {"Brightness", "Invert"}},
      {"PageProps", "TPageControl", ""},              {"Properties", "TTabSheet", "Options"},
      {"TabRegion", "TTabSheet", "Region"},           {"TabPreview", "TTabSheet", "Preview"},
      {"ELeft", "TEdit", "&Left:"},                   {"UDLeft", "TUpDown", "", {}, 0, 11100},
      {"ETop", "TEdit", "&Top:"},                     {"UDTop", "TUpDown", "", {}, 0, 11100},
      {"EWidth", "TEdit", "&Width:"},                 {"UDWidth", "TUpDown", "", {}, 0, 11100},
      {"EHeight", "TEdit", "&Height:"},               {"UDHeight", "TUpDown", "", {}, 0, 11100},
      {"Image", "TDraw3D", ""},                       {"CBPreview", "TCheckBox", "&Preview"},
      {"CBScaled", "TCheckBox", "&Scaled"},           {"BOK", "TButton", "OK"}},
     {{"Timer1", "TTimer"}, {"Scaled1", "TMenuItem"}, {"MenuFilters", "TPopupMenu"}}},
    {"MarginsEditor", 241, 230,
     [] {
       auto* f = new TMarginsEditor(nullptr);
       f->SetTag(std::intptr_t(&sampleMargins));
       return f;
     },
     {{"ELeft", "TEdit", "&Left:"},                   {"UDLeft", "TUpDown", "", {}, -32000, 32000},
      {"ETop", "TEdit", "&Top:"},                     {"UDTop", "TUpDown", "", {}, -32000, 32000},
      {"ERight", "TEdit", "&Right:"},                 {"UDRight", "TUpDown", "", {}, -32000, 32000},
      {"EBottom", "TEdit", "&Bottom:"},               {"UDBottom", "TUpDown", "", {}, -32000, 32000},
      {"RGUnits", "TRadioGroup", "&Units:", {"Percent &Font", "P&ercent Size", "P&ixels"}}},
     {}},
    {"Visuals", 331, 240, [] { return new TVisualsEditor(nullptr); },
     {{"Button3", "TButton", "&Choose..."}, {"BClearVisual", "TButton", "C&lear"}},
     {}},
    {"LumChart Print Preview", 592, 455, [] { return new TChartPreview(nullptr); },
     {{"CBPrinters", "TComboFlat", "P&rinter:"},   {"BSetupPrinter", "TButton", "&Setup..."},
      {"BPrint", "TButton", "&Print"},              {"BClose", "TButton", "Close"},
      {"Orientation", "TRadioGroup", "Orien&tation:", {"P&ortrait", "&Landscape"}},
      {"GBMargins", "TGroupBox", "Margins (%)"},    {"UDLeftMa", "TUpDown", "", {}, 0, 100},
      {"UDTopMa", "TUpDown", "", {}, 0, 100},       {"UDRightMa", "TUpDown", "", {}, 0, 100},
      {"UDBotMa", "TUpDown", "", {}, 0, 100},       {"GBResolution", "TGroupBox", "Detail:"},
      {"Resolution", "TTrackBar", ""},              {"LMore", "TLabel", "More"},
      {"LNormal", "TLabel", "Normal"},              {"BReset", "TButton", "Reset &Margins"},
      {"ShowMargins", "TCheckBox", "&View Margins"}, {"CBProp", "TCheckBox", "Proport&ional"},
      {"CBBitmap", "TCheckBox", "S&mooth"},         {"CBPrintPanel", "TCheckBox", "&Background"},
      {"SELeftMa", "TEdit", ""},                    {"LumPreviewPanel1", "TLumPreviewPanel", ""}},
     {{"PrinterSetupDialog1", "TPrinterSetupDialog"}}},
    {"EMFOptions", 152, 75, [] { return new TEMFOptions(nullptr); }, {{"CBEnhanced", "TCheckBox", "&Enhanced"}}, {}},
    {"BMPOptions", 202, 216, [] { return new TBMPOptions(nullptr); },
     {{"CBColors", "TComboFlat", "&Colors:",
       {"Default", "2 (1 bit)", "16 (4 bit)", "256 (8 bit)", "32768 (15 bit)", "65536 (16 bit)", "16M (24 bit)",
        "16M (32 bit)"}},
      {"CBMono", "TCheckBox", "&Monochrome"},      {"EDpi", "TEdit", "&DPI:"},
      {"UDDpi", "TUpDown", "", {}, 0, 3000},       {"Button1", "TButton", "&Filters..."},
      {"GroupBox1", "TGroupBox", "Preview:"},      {"ImageFiltered1", "TImage", ""}},
     {}},
    {"LumChart Gallery", 549, 463, [] { return new TLumGallery(nullptr); },
     {{"CB3D", "TCheckBox", "&3D"},
      {"CBSmooth", "TCheckBox", "&Smooth"},
      {"ESearch", "TEdit", ""},
      {"Button1", "TButton", "OK"},
      {"Button2", "TButton", "Cancel"},
      {"TabTypes", "TTabControl", ""},
      {"TabPages", "TTabControl", ""},
      {"ChartGalleryPanel1", "TChartGalleryPanel", ""}},
     {}},
    {"LumChart Pro Gallery", 586, 379, [] { return new TLumGalleryForm(nullptr); },
     {{"CBPage", "TComboFlat", "&Gallery:", {"(all)", "Standard"}},
      {"CB3D", "TCheckBox", "&3D"},
      {"CBSmooth", "TCheckBox", "&Smooth"},
      {"ChartListBox1", "TChartListBox", "",
       {"Area", "Bar", "Fast Line", "Horiz. Area", "Horiz. Bar", "Horiz. Line", "Line", "Pie", "Point"}},
      {"Splitter1", "TSplitter", ""},
      {"BOK", "TButton", "OK"},
      {"BCancel", "TButton", "Cancel"}},
     {}},
    {"Chart Tools Gallery", 300, 436, [] { return new TLumToolsGallery(nullptr); },
     {{"TabControl1", "TTabControl", ""},
      {"LBTool", "TListBox", ""},
      {"MemoDesc", "TMemo", ""},
      {"CBView3D", "TCheckBox", "&View 3D"},
      {"BOk", "TButton", "&Add"},
      {"BCan", "TButton", "Cancel"}},
     {}},
    {"Chart Animations Gallery", 300, 436, [] { return new TLumAnimationsGallery(nullptr); }, {}, {}},
    {"Export Dialog", 514, 393,
     [] {
       auto* f = new TLumExportForm(nullptr);
       f->SetPanel(dynamic_cast<TCustomLumPanel*>(ChartHost()->Components(0)));
       return f;
     },
     {{"Tabs", "TPageControl", ""}, {"TabPicture", "TTabSheet", "Picture"}, {"TabNative", "TTabSheet", "Native"},
      {"TabData", "TTabSheet", "Data"}, {"GBFormat", "TGroupBox", "&Format"}, {"PageOptions", "TPageControl", ""},
      {"LBFormat", "TListBox", "", {"as Metafile", "as Bitmap"}}, {"TabOptions", "TTabSheet", "Options"},
      {"TabSize", "TTabSheet", "Size"}, {"EWidth", "TEdit", "&Width:"}, {"UDWidth", "TUpDown", "", {}, 0, 3000},
      {"EHeight", "TEdit", "&Height:"}, {"UDHeight", "TUpDown", "", {}, 0, 3000},
      {"CBAspect", "TCheckBox", "&Keep aspect ratio"}, {"CBPicSize", "TCheckBox", "&File size:"},
      {"CBNativeData", "TCheckBox", "&Include Series data"},
      {"CBNativeFormat", "TRadioGroup", "Format:", {"&Binary", "&Text", "&XML"}},
      {"BViewNative", "TButton", "&View..."}, {"CBFileSize", "TCheckBox", "&File size:"},
      {"CBSeries", "TComboFlat", "Se&ries:", {"(all)", "Acoustic", "Optic", "Atoms", "Bars", "Area", "Average"}},
      {"RGText", "TRadioGroup", "&Format:", {"Text", "XML", "HTML Table", "Excel"}}, {"MemoData", "TMemo", ""},
      {"CBDataPreview", "TCheckBox", "&Preview"}, {"TabInclude", "TTabSheet", "Include"},
      {"CBHeader", "TCheckBox", "&Header"}, {"CBIndex", "TCheckBox", "Point &Index"},
      {"CBLabels", "TCheckBox", "Point &Labels"}, {"ECustom", "TEdit", ""}, {"CBColors", "TCheckBox", "Point &Colors"},
      {"TabDataOptions", "TTabSheet", "Options"},
      {"CBDelim", "TComboFlat", "&Delimiter:", {"Space", "Tab", "Comma", "Colon", "Custom"}},
      {"CBXMLEncoding", "TComboFlat", "&XML Encoding:", {"windows-1252", "ISO-8859-1", "UTF-8", "UTF-16"}},
      {"EQuotes", "TEdit", "Text &Quotes:"}, {"TabFormat", "TTabSheet", "Format"}, {"BFormat", "TButton", "..."},
      {"CBUseSeriesFormat", "TCheckBox", "Use Series Format"},
      {"SeriesValueFormat", "TComboFlat", "&Value Format:",
       {"#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0", "#.# x10E-#"}},
      {"BCopy", "TButton", "&Copy"}, {"BSave", "TButton", "&Save..."}, {"BSend", "TButton", "S&end..."},
      {"BPreview", "TButton", "&Preview..."}, {"PanelClose", "TPanel", ""}, {"BClose", "TButton", "Close"}},
     {{"SavePictureDialog", "TSaveDialog"}, {"SaveNativeDialog", "TSaveDialog"}, {"SaveDataDialog", "TSaveDialog"}}},
    {"Shadow editor", 247, 192,
     [] {
       auto* f = new TLumShadowEditor(nullptr);
       f->SetShadow(SampleShadow());
       return f;
     },
     ShadowControls(),
     {}},
    {"Emboss Editor", 247, 192,
     [] {
       auto* f = new TLumEmbossEditor(nullptr);
       f->SetShadow(SampleShadow());
       return f;
     },
     ShadowControls(),
     {}},
    {"Gradient Editor", 270, 219,
     [] {
       auto* f = new TLumGradientEditor(nullptr);
       f->SetGradient(SampleGradient());
       return f;
     },
     {{"CBVisible", "TCheckBox", "&Visible"},
      {"CBDirection", "TComboFlat", "&Direction:",
       {"Top Bottom", "Bottom Top", "Left Right", "Right Left", "From Center", "From Top Left", "From Bottom Left",
        "Radial", "Diagonal Up", "Diagonal Down"}},
      {"PageControl1", "TPageControl", ""},          {"TabDefault", "TTabSheet", "Default"},
      {"Gallery", "TListBox", "",
       {"Ace", "Business", "Caribe Sun", "Clear day", "Desert", "Farm", "Funky", "Golf", "Hot", "Night", "Pastel",
        "Rainbow", "Sea", "Sea 2", "Space", "Sunset", "Tropical"}},
      {"PreviewGradient", "TPreviewGradient", ""},   {"TabColors", "TTabSheet", "Colors"},
      {"BStart", "TButtonColor", "&Start..."},       {"BMid", "TButtonColor", "&Middle..."},
      {"BEnd", "TButtonColor", "&End..."},           {"BSwap", "TButton", "S&wap"},
      {"CBMid", "TCheckBox", "&No Middle"},          {"TabOptions", "TTabSheet", "Options"},
      {"LBalance", "TLabel", "&Balance:"},           {"SBBalance", "TScrollBar", "", {}, 0, 100},
      {"LabelBalance", "TLabel", "50 %"},            {"GroupBox1", "TGroupBox", "Radial offset:"},
      {"LRadialH", "TLabel", "&Horiz:"},             {"TrackBar1", "TTrackBar", "", {}, -300, 300},
      {"LRadialX", "TLabel", "0"},                   {"LRadialV", "TLabel", "&Vert:"},
      {"TrackBar2", "TTrackBar", "", {}, -300, 300}, {"LRadialY", "TLabel", "0"},
      {"EAngle", "TEdit", "&Angle:"},                {"UDAngle", "TUpDown", "", {}, 0, 360},
      {"TBAngle", "TTrackBar", "", {}, 0, 360},      {"TabDirections", "TTabSheet", "Directions"},
      {"Directions", "TChartGalleryPanel", ""},      {"TabSubGradient", "TTabSheet", "SubGradient"},
      {"BSubEdit", "TButtonGradient", "&Edit..."},   {"LSubTransp", "TLabel", "&Transparency:"},
      {"SBTransp", "TScrollBar", "", {}, 0, 100},    {"CBSubVisible", "TCheckBox", "&Visible"},
      {"BOk", "TButton", "OK"},                      {"BCancel", "TButton", "Cancel"}},
     {}},
    {"Pattern Editor", 412, 311,
     [] {
       auto* f = new TBrushDialog(nullptr);
       static TChartBrush brush;
       f->SetBrush(&brush);
       return f;
     },
     {{"LStyle", "TListBox", "",
       {"Solid", "None", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross", "Diagonal Cross",
        "Fill 80%", "Fill 60%", "Fill 40%", "Fill 20%", "Fill 10%", "Zig zag", "Vertical small", "Horiz. small",
        "Diag. small", "Back Diag. small", "Cross small", "Diag. Cross small", "Metal", "Wood", "Stone", "Clouds",
        "Grass", "Fire", "Snow"}},
      {"Splitter1", "TSplitter", ""},           {"PageControl1", "TPageControl", ""},
      {"TabFormat", "TTabSheet", "Format"},     {"BColor", "TButtonColor", "&Color..."},
      {"BBackColor", "TButtonColor", "&Back..."}, {"CBTransp", "TCheckBox", "&Transparent"},
      {"BSwap", "TButton", "&Swap"},            {"GroupBox1", "TGroupBox", "Image:"},
      {"Image1", "TImage", ""},                 {"LImage", "TLabel", ""},
      {"Button1", "TButton", "B&rowse..."},     {"TabGradient", "TTabSheet", "Gradient"},
      {"ImageMetal", "TImage", ""},             {"ImageWood", "TImage", ""},
      {"ImageStone", "TImage", ""},             {"ImageClouds", "TImage", ""},
      {"ImageGrass", "TImage", ""},             {"ImageFire", "TImage", ""},
      {"ImageSnow", "TImage", ""},              {"Button2", "TButton", "OK"},
      {"Button3", "TButton", "Cancel"}},
     {}},
    {"BackImageEditor", 281, 250,
     [] {
       static TBackImage back;
       back.Assign(SamplePicture());
       back.SetMode(pbmCustom);
       auto* f = new TBackImageEditor(nullptr);
       f->LoadBackImage(&back);
       return f;
     },
     {{"Image1", "TImage", ""},                      {"LabelSize", "TLabel", "20x20"},
      {"LabelExt", "TLabel", "bmp"},                 {"BBrowse", "TButton", "Clea&r"},
      {"CBTransp", "TCheckBox", "&Transparent"},     {"Button1", "TButton", "&Filters..."},
      {"RGBitmap", "TRadioGroup", "St&yle", {"Stretch", "Tile", "Center", "C&ustom"}},
      {"GBPosition", "TGroupBox", "Position:"},      {"ELeft", "TEdit", "&Left:"},
      {"UDLeft", "TUpDown", "", {}, -32000, 32000},  {"ETop", "TEdit", "T&op:"},
      {"UDTop", "TUpDown", "", {}, -32000, 32000},   {"PanelButtons", "TPanel", ""},
      {"Button2", "TButton", "OK"},                  {"Button3", "TButton", "Cancel"}},
     {}},
    {"LumFont Editor", 313, 234,
     [] { return new TLumFontEditor(nullptr); },  // the names are the machine's: loaded below
     {{"PageControl1", "TPageControl", ""},          {"TabFont", "TTabSheet", "Font"},
      {"CBName", "TComboFlat", "&Name:"},            {"ESize", "TEdit", "&Size:"},
      {"UDSize", "TUpDown", "", {}, 1, 1500},        {"GBStyle", "TGroupBox", "Style:"},
      {"CBBold", "TCheckBox", "&Bold"},              {"CBItalic", "TCheckBox", "&Italic"},
      {"CBUnder", "TCheckBox", "&Underline"},        {"CBStrike", "TCheckBox", "Strikeout"},
      {"BColor", "TButtonColor", "&Color..."},       {"Button3", "TButton", "&Edit..."},
      {"TabOptions", "TTabSheet", "Options"},        {"EInter", "TEdit", "&Inter-char spacing:"},
      {"UDInter", "TUpDown", "", {}, -100, 100},     {"BOutline", "TButtonPen", "&Outline..."},
      {"CBOutGrad", "TCheckBox", "O&utline gradient"},
      {"CBQuality", "TComboFlat", "&Quality:", {"Best", "Normal", "Default"}},
      {"EDepth", "TEdit", "&Depth:"},                {"UDDepth", "TUpDown", "", {}, 0, 1000},
      {"TabShadow", "TTabSheet", "Shadow"},          {"TabEmboss", "TTabSheet", "Emboss"},
      {"TabGradient", "TTabSheet", "Gradient"},      {"TabPicture", "TTabSheet", "Picture"},
      {"PanelButtons", "TPanel", ""},                {"Button1", "TButton", "OK"},
      {"Button2", "TButton", "Cancel"}},
     {}},
    {"FormLumShape", 345, 261,
     [] {
       static TLumCustomShape shape;
       auto* f = new TFormLumShape(nullptr);
       f->SetShape(&shape);
       return f;
     },
     {{"PC1", "TPageControl", ""},                   {"TabFormat", "TTabSheet", "Format"},
      {"BBackColor", "TButtonColor", "&Color..."},   {"Button6", "TButton", "&Pattern..."},
      {"CBTransparent", "TCheckBox", "&Transparent"}, {"EShadowTransp", "TEdit", "&Transparency:"},
      {"UDShadowTransp", "TUpDown", "", {}, 0, 100}, {"TabBorder", "TTabSheet", "Border"},
      {"CBBevel", "TComboFlat", "&Bevel:", {"None", "Lowered", "Raised"}},
      {"EBevWidth", "TEdit", "Siz&e:"},              {"UDBevW", "TUpDown", "", {}, 1, 100},
      {"GBRound", "TGroupBox", ""},                  {"CBRound", "TCheckBox", "&Round Frame"},
      {"ERoundSize", "TEdit", "Siz&e:"},             {"UDRoundSize", "TUpDown", "", {}, 0, 500},
      {"Button4", "TButtonPen", "&Frame..."},        {"TabText", "TTabSheet", "Text"},
      {"TabGradient", "TTabSheet", "Gradient"},      {"TabShadow", "TTabSheet", "Shadow"},
      {"TabEmboss", "TTabSheet", "Emboss"},          {"TabPicture", "TTabSheet", "Picture"}},
     {}},
};

// Shows every page of Pages in turn, as the user's tab clicks would (Changed is the
// control's change handler, which builds a page's editor on its first visit), and
// checks the layout of Form on each.
void CheckEveryPage(TForm* Form, TPageControl* Pages, const std::function<void()>& Changed) {
  for (int i = 0; i < Pages->PageCount(); ++i) {
    SCOPED_TRACE(Pages->Pages(i)->Caption());
    Pages->SetActivePageIndex(i);
    Changed();
    gallerytest::CheckLayout(Form);
  }
}

class TEditorFormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    SetFormatLocale(&Locale);
  }
  void TearDown() override { SetFormatLocale(nullptr); }
  gallerytest::TExportUnits exportUnits;
};

TEST_F(TEditorFormsTest, ControlsAreTheTablesOwnAndFitTheirForm) {
  for (const TFormSpec& spec : Forms) {
    SCOPED_TRACE(spec.Caption);
    std::unique_ptr<TForm> form(spec.Open());
    form->Show();
    TestInput::PumpUntil([&] {
      auto* t = dynamic_cast<TTimer*>(form->FindComponent("Timer1"));
      return !t || !t->Enabled();
    });
    EXPECT_EQ(form->Caption(), spec.Caption);
    EXPECT_EQ(form->ClientWidth(), spec.ClientWidth);
    EXPECT_EQ(form->ClientHeight(), spec.ClientHeight);
    gallerytest::CheckInventory(form.get(), spec.Controls);
    for (const auto& [name, kind] : spec.Others) {
      TComponent* c = form->FindComponent(name);
      ASSERT_TRUE(c) << name;
      EXPECT_EQ(c->ClassName(), kind);
    }
    gallerytest::CheckLayout(form.get());
    if (auto* f = dynamic_cast<TFiltersEditor*>(form.get())) {
      EXPECT_EQ(f->Scaled1->Caption(), "&Scaled");
      f->PageProps->SetActivePage(f->TabRegion);
      gallerytest::CheckLayout(f->TabRegion);
    }
    if (auto* f = dynamic_cast<TLumExportForm*>(form.get())) {  // the other pages
      f->CBDataPreview->SetChecked(true);
      for (auto [pages, page] : {std::pair{f->PageOptions, f->TabSize}, {f->Tabs, f->TabNative}, {f->Tabs, f->TabData},
                                 {f->PageDataOptions, f->TabDataOptions}, {f->PageDataOptions, f->TabFormat}}) {
        pages->SetActivePage(page);
        gallerytest::CheckLayout(f);
      }
    }
    if (auto* f = dynamic_cast<TLumGradientEditor*>(form.get())) {  // every tab, the directions built
      for (int i = 0; i < f->PageControl1->PageCount(); ++i) {
        f->PageControl1->SetActivePage(f->PageControl1->Pages(i));
        f->PageControl1Change(f->PageControl1);
        gallerytest::CheckLayout(f);
      }
      EXPECT_EQ(f->Directions->Charts().Count(), 10);
    }
    if (auto* f = dynamic_cast<TBrushDialog*>(form.get())) {  // the embedded gradient editor's tabs
      f->PageControl1->SetActivePage(f->TabGradient);
      ASSERT_NE(f->GradientEditor(), nullptr);
      TPageControl* pages = f->GradientEditor()->PageControl1;
      for (int i = 0; i < pages->PageCount(); ++i) {
        pages->SetActivePage(pages->Pages(i));
        f->GradientEditor()->PageControl1Change(pages);
        gallerytest::CheckLayout(f);
      }
    }
    if (auto* f = dynamic_cast<TLumFontEditor*>(form.get())) {
      TLumFont font;
      f->LoadFont(&font);
      CheckEveryPage(f, f->PageControl1, [f] { f->PageControl1Change(f->PageControl1); });
      f->LoadFont(nullptr);
    }
    if (auto* f = dynamic_cast<TFormLumShape*>(form.get())) {
      CheckEveryPage(f, f->PC1, [f] { f->PC1Change(f->PC1); });
      // Inside the shape editor's "Text" tab, the font editor's own tabs.
      ASSERT_TRUE(f->FontEditor());
      TLumFontEditor* text = f->FontEditor();
      f->PC1->SetActivePage(f->TabText);
      CheckEveryPage(f, text->PageControl1, [text] { text->PageControl1Change(text->PageControl1); });
    }
    if (auto* f = dynamic_cast<TMouseCursorEdit*>(form.get())) {
      EXPECT_EQ(f->OpenDialog1->Filter(), "Cursor files (*.cur)|*.cur|Animated Cursor files (*.ani)|*.ani");
    }
    form->Hide();
  }
}

}  // namespace
