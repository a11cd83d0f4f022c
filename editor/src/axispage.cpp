#include "editor/axispage.h"

#include <cmath>
#include <memory>

#include "canvas/lumconst.h"
#include "editor/sourceeditor.h"
#include "engine/axis.h"
#include "engine/axisitems.h"
#include "engine/datetimesteps.h"
#include "engine/errors.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/editortools.h"
#include "gallery/fonteditor.h"
#include "gallery/formateditor.h"
#include "gallery/formbuild.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "platform/dateutils.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumAxis, TChartObjectPage)
IMPLEMENT_CLASS(TAxisMaxMin, TForm)

namespace {

constexpr int kStandardAxes = 6;

// The base is e (within what its text keeps of it).
bool IsE(double Base) { return std::fabs(Base - std::exp(1.0)) < 1e-12; }

// The standard axes in the list's order.
TChartAxis* StandardAxis(TCustomAxisPanel* Chart, int Index) {
  switch (Index) {
    case 0: return Chart->LeftAxis();
    case 1: return Chart->RightAxis();
    case 2: return Chart->TopAxis();
    case 3: return Chart->BottomAxis();
    case 4: return Chart->DepthAxis();
    default: return Chart->DepthTopAxis();
  }
}

// The list's index of an axis: the standard ones by place, a custom one by its index
// in the chart's list of all axes (custom axes come after the six standard ones).
int ListIndexOf(TCustomAxisPanel* Chart, TChartAxis* Axis) {
  for (int i = 0; i < kStandardAxes; ++i)
    if (StandardAxis(Chart, i) == Axis) return i;
  return Chart->Axes()->IndexOf(Axis);
}

void SetCheckedIn(TCheckBox* Box, bool Checked, bool Enabled = true) {
  Box->SetChecked(Checked);
  Box->SetEnabled(Enabled);
}

TButtonPen* PenButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                      const char* Caption) {
  return PlaceControl<TButtonPen>(Owner, Parent, Name, Left, Top, 90, 25, Caption);
}

}  // namespace

std::string AxisEndText(TChartAxis* Axis, double Value) {
  if (!Axis->IsDateTime()) return FormatFloat(Axis->AxisValuesFormat(), Value);
  return IsValidDateTime(Value) ? DateTimeToStr(Value) : TimeToStr(Value);
}

// ---------------------------------------------------------------------------
TFormLumAxis::TFormLumAxis(TComponent* AOwner, TChartAxis* AAxis)
    : TChartObjectPage(AOwner, "FormLumAxis", 470, 290) {
  // The axes.
  PanelAxes = PlainPanel(this, this, "PanelAxes", alLeft, 0, 0, 104, 290);
  LBAxes = PlaceControl<TListBox>(this, PanelAxes, "LBAxes", 4, 4, 96, 192);
  CBShow = CheckBox(this, PanelAxes, "CBShow", 4, 202, 96, "Visible");
  CBAxisBeh = CheckBox(this, PanelAxes, "CBAxisBeh", 4, 222, 96, "&Behind");
  BAdd = PlaceControl<TSpeedButton>(this, PanelAxes, "BAdd", 4, 246, 23, 22, "+");
  BDelete = PlaceControl<TSpeedButton>(this, PanelAxes, "BDelete", 30, 246, 23, 22, "-");
  PageAxis = ClientPages(this, this, "PageAxis", 104, 0, 366, 290, true);

  // Scales.
  TabScales = Sheet(this, PageAxis, "TabScales", "Scales");
  CBAutomatic = CheckBox(this, TabScales, "CBAutomatic", 6, 6, 108, "&Automatic");
  CBVisible = CheckBox(this, TabScales, "CBVisible", 6, 26, 108, "&Visible");
  CBInverted = CheckBox(this, TabScales, "CBInverted", 6, 46, 108, "&Inverted");
  CBLogarithmic = CheckBox(this, TabScales, "CBLogarithmic", 6, 66, 108, "&Logarithmic");
  ELogBase = PlaceControl<TEdit>(this, TabScales, "ELogBase", 6, 108, 62, 21);
  ELogBase->SetText("10");
  LLogBase = PlaceLabel(this, TabScales, "LLogBase", 6, 92, "L&og Base:", ELogBase);
  LogE = CheckBox(this, TabScales, "LogE", 74, 110, 36, "&e");
  GBMinimum = PlaceControl<TGroupBox>(this, TabScales, "GBMinimum", 118, 2, 116, 128, "Minimum");
  GBMaximum = PlaceControl<TGroupBox>(this, TabScales, "GBMaximum", 238, 2, 116, 128, "Maximum");
  struct TEnd {
    TGroupBox* Box;
    TCheckBox*& Auto;
    TButton*& Change;
    TLabel*& Off;
    TEdit*& Edit;
    TUpDown*& UpDown;
    TCheckBox*& Round;
    TLabel*& Shown;
    const char* Names[7];
  };
  for (TEnd e : {TEnd{GBMinimum, CBAutoMin, BAxisMin, LMinOff, EMinOff, UDMinOff, CBMinRound, LAxisMin,
                      {"CBAutoMin", "BAxisMin", "LMinOff", "EMinOff", "UDMinOff", "CBMinRound", "LAxisMin"}},
                 TEnd{GBMaximum, CBAutoMax, BAxisMax, LMaxOff, EMaxOff, UDMaxOff, CBMaxRound, LAxisMax,
                      {"CBAutoMax", "BAxisMax", "LMaxOff", "EMaxOff", "UDMaxOff", "CBMaxRound", "LAxisMax"}}}) {
    e.Auto = CheckBox(this, e.Box, e.Names[0], 8, 18, 70, "A&uto");
    e.Change = PlaceControl<TButton>(this, e.Box, e.Names[1], 8, 38, 75, 23, "&Change...");
    e.Shown = PlaceControl<TLabel>(this, e.Box, e.Names[6], 8, 64, 104, 13);
    const auto off = EditWithUpDown(this, e.Box, e.Names[2], "&Offset:", e.Names[3], e.Names[4], 8, 52, 80, 44,
                                    -10000, 10000);
    e.Off = off.Label, e.Edit = off.Edit, e.UpDown = off.UpDown;
    e.Round = CheckBox(this, e.Box, e.Names[5], 8, 106, 70, "Round");
  }
  GBIncrement = PlaceControl<TGroupBox>(this, TabScales, "GBIncrement", 118, 134, 236, 70, "Increment");
  LIncre = PlaceControl<TLabel>(this, GBIncrement, "LIncre", 8, 18, 100, 13, "Desired Increment:");
  LAxisIncre = PlaceControl<TLabel>(this, GBIncrement, "LAxisIncre", 110, 18, 120, 13);
  BIncre = PlaceControl<TButton>(this, GBIncrement, "BIncre", 8, 38, 75, 23, "&Change...");
  CBShowAll = CheckBox(this, GBIncrement, "CBShowAll", 92, 42, 136, "Show &all labels");

  // Title.
  TabTitle = Sheet(this, PageAxis, "TabTitle", "Title");
  PageTitle = ClientPages(this, TabTitle, "PageTitle", 0, 0, 358, 262);
  TabTitleStyle = Sheet(this, PageTitle, "TabTitleStyle", "Style");
  ETitle = PlaceControl<TEdit>(this, TabTitleStyle, "ETitle", 60, 8, 200, 21);
  LTitle = PlaceLabel(this, TabTitleStyle, "LTitle", 8, 12, "T&itle:", ETitle);
  const auto titleRows = EditUpDownRows(this, TabTitleStyle,
                                        {{"LTitleAngle", "&Angle:", "SETitleAngle", "UDTitleAngle"},
                                         {"LTitleSize", "Si&ze:", "SETitleSize", "UDTitleSize"}},
                                        8, 60, 36, 44, 0, 1000);
  LTitleAngle = titleRows[0].Label, SETitleAngle = titleRows[0].Edit, UDTitleAngle = titleRows[0].UpDown;
  LTitleSize = titleRows[1].Label, SETitleSize = titleRows[1].Edit, UDTitleSize = titleRows[1].UpDown;
  UDTitleAngle->SetMax(360);
  UDTitleAngle->SetIncrement(90);
  CBTitleVisible = CheckBox(this, TabTitleStyle, "CBTitleVisible", 8, 96, 100, "&Visible");

  // Labels.
  TabLabels = Sheet(this, PageAxis, "TabLabels", "Labels");
  PageLabels = ClientPages(this, TabLabels, "PageLabels", 0, 0, 358, 262);
  TabLabelsStyle = Sheet(this, PageLabels, "TabLabelsStyle", "Style");
  CBLabels = CheckBox(this, TabLabelsStyle, "CBLabels", 8, 6, 110, "V&isible");
  CBMultiline = CheckBox(this, TabLabelsStyle, "CBMultiline", 8, 26, 110, "Multi-lin&e");
  CBOnAxis = CheckBox(this, TabLabelsStyle, "CBOnAxis", 8, 46, 110, "Label on A&xis");
  CBRoundFirst = CheckBox(this, TabLabelsStyle, "CBRoundFirst", 8, 66, 110, "Ro&und First");
  CBAlternate = CheckBox(this, TabLabelsStyle, "CBAlternate", 8, 86, 110, "&Alternate");
  CBLabelsBehind = CheckBox(this, TabLabelsStyle, "CBLabelsBehind", 8, 106, 110, "Behind Grid");
  const auto labelRows = EditUpDownRows(this, TabLabelsStyle,
                                        {{"LLabelsSize", "Si&ze:", "SELabelsSize", "UDLabelsSize"},
                                         {"LLabelsAngle", "An&gle:", "SELabelsAngle", "UDLabelsAngle"},
                                         {"LSepar", "Min. Se&paration %:", "SESepar", "UDSepar"}},
                                        126, 232, 6, 44, 0, 1000);
  LLabelsSize = labelRows[0].Label, SELabelsSize = labelRows[0].Edit, UDLabelsSize = labelRows[0].UpDown;
  LLabelsAngle = labelRows[1].Label, SELabelsAngle = labelRows[1].Edit, UDLabelsAngle = labelRows[1].UpDown;
  LSepar = labelRows[2].Label, SESepar = labelRows[2].Edit, UDSepar = labelRows[2].UpDown;
  UDLabelsAngle->SetMax(360);
  UDLabelsAngle->SetIncrement(90);
  UDSepar->SetIncrement(10);
  CBLabelStyle = DropDownList(this, TabLabelsStyle, "CBLabelStyle", 172, 92, 104,
                              {"Auto", "None", "Value", "Mark", "Text", "Point Value"});
  LLabelStyle = PlaceLabel(this, TabLabelsStyle, "LLabelStyle", 126, 96, "&Style:", CBLabelStyle);
  TabLabelsFormat = Sheet(this, PageLabels, "TabLabelsFormat", "Format");
  CBFormat = PlaceControl<TComboFlat>(this, TabLabelsFormat, "CBFormat", 8, 24, 190, 21);
  LFormat = PlaceLabel(this, TabLabelsFormat, "LFormat", 8, 8, "Labels For&mat:", CBFormat);
  Button1 = PlaceControl<TButton>(this, TabLabelsFormat, "Button1", 202, 23, 23, 23, "...");
  CBExpo = CheckBox(this, TabLabelsFormat, "CBExpo", 8, 56, 150, "&Exponential");
  CBLabelAlign = CheckBox(this, TabLabelsFormat, "CBLabelAlign", 8, 78, 150, "&Default Alignment");
  TabLabelsText = Sheet(this, PageLabels, "TabLabelsText", "Text");

  // Ticks.
  TabTicks = Sheet(this, PageAxis, "TabTicks", "Ticks");
  BAxisPen = PenButton(this, TabTicks, "BAxisPen", 8, 8, "&Axis...");
  BTickPen = PenButton(this, TabTicks, "BTickPen", 8, 40, "T&icks...");
  BTickInner = PenButton(this, TabTicks, "BTickInner", 8, 72, "I&nner...");
  BTickMinor = PenButton(this, TabTicks, "BTickMinor", 8, 104, "&Minor...");
  const auto tickRows = EditUpDownRows(this, TabTicks,
                                       {{"LAxisTickLength", "Len:", "SEAxisTickLength", "UDAxisTickLength"},
                                        {"LInnerTicksLength", "Len:", "SEInnerTicksLength", "UDInnerTicksLength"},
                                        {"LAxisMinorTickLen", "Len:", "SEAxisMinorTickLen", "UDAxisMinorTickLen"}},
                                       106, 134, 42, 44, -1000, 1000);
  LAxisTickLength = tickRows[0].Label, SEAxisTickLength = tickRows[0].Edit, UDAxisTickLength = tickRows[0].UpDown;
  LInnerTicksLength = tickRows[1].Label, SEInnerTicksLength = tickRows[1].Edit;
  UDInnerTicksLength = tickRows[1].UpDown;
  LAxisMinorTickLen = tickRows[2].Label, SEAxisMinorTickLen = tickRows[2].Edit;
  UDAxisMinorTickLen = tickRows[2].UpDown;
  // Rows 28 apart from 42; the pen buttons sit 32 apart from 40: line them up.
  for (int i = 0; i < 3; ++i) {
    tickRows[size_t(i)].Label->SetTop(46 + 32 * i);
    tickRows[size_t(i)].Edit->SetTop(42 + 32 * i);
    tickRows[size_t(i)].UpDown->SetTop(42 + 32 * i);
  }
  UDInnerTicksLength->SetMin(0);
  const auto minorC = EditWithUpDown(this, TabTicks, "LMinorC", "&Count:", "Edit3", "UDMinorC", 200, 244, 106, 44,
                                     0, 1000);
  LMinorC = minorC.Label, Edit3 = minorC.Edit, UDMinorC = minorC.UpDown;
  CBTickOnLabels = CheckBox(this, TabTicks, "CBTickOnLabels", 8, 142, 160, "At Labels Onl&y");

  // Grid.
  TabGrid = Sheet(this, PageAxis, "TabGrid", "Grid");
  BAxisGrid = PenButton(this, TabGrid, "BAxisGrid", 8, 8, "&Grid...");
  BMinorGrid = PenButton(this, TabGrid, "BMinorGrid", 8, 40, "&Minor...");
  const auto minorCount = EditWithUpDown(this, TabGrid, "LMinorCount", "&Count:", "SEMinorCount", "UDMinorCount",
                                         106, 150, 42, 44, 0, 1000);
  LMinorCount = minorCount.Label, SEMinorCount = minorCount.Edit, UDMinorCount = minorCount.UpDown;
  CBGridCentered = CheckBox(this, TabGrid, "CBGridCentered", 8, 76, 120, "C&entered");
  const auto gridRows = EditUpDownRows(this, TabGrid,
                                       {{"LGridZ", "&Z:", "Edit2", "UDGridZ"},
                                        {"LMarksEvery", "Draw &every:", "EMarksEvery", "UDEvery"}},
                                       8, 80, 100, 50, 0, 100);
  LGridZ = gridRows[0].Label, Edit2 = gridRows[0].Edit, UDGridZ = gridRows[0].UpDown;
  LMarksEvery = gridRows[1].Label, EMarksEvery = gridRows[1].Edit, UDEvery = gridRows[1].UpDown;
  UDEvery->SetMin(1);
  UDEvery->SetMax(5000);
  UDEvery->SetPosition(1);

  // Position.
  TabPosition = Sheet(this, PageAxis, "TabPosition", "Position");
  const auto posRows = EditUpDownRows(this, TabPosition,
                                      {{"LPos", "&Position %:", "EPos", "UDPos"},
                                       {"LStart", "St&art %:", "EStart", "UDStart"},
                                       {"LEnd", "&End %:", "EEnd", "UDEnd"},
                                       {"LZ", "&Z %:", "Edit1", "UDZ"}},
                                      8, 80, 8, 50, 0, 100);
  LPos = posRows[0].Label, EPos = posRows[0].Edit, UDPos = posRows[0].UpDown;
  LStart = posRows[1].Label, EStart = posRows[1].Edit, UDStart = posRows[1].UpDown;
  LEnd = posRows[2].Label, EEnd = posRows[2].Edit, UDEnd = posRows[2].UpDown;
  LZ = posRows[3].Label, Edit1 = posRows[3].Edit, UDZ = posRows[3].UpDown;
  UDPos->SetMin(-1000);
  UDPos->SetMax(1000);
  CBPosUnits = DropDownList(this, TabPosition, "CBPosUnits", 204, 8, 90, {"Percent", "Pixels"});
  LPosUnits = PlaceLabel(this, TabPosition, "LPosUnits", 160, 12, "&Units:", CBPosUnits);
  CBOtherSide = CheckBox(this, TabPosition, "CBOtherSide", 160, 40, 130, "&Other side");
  CBHorizAxis = CheckBox(this, TabPosition, "CBHorizAxis", 160, 62, 130, "&Horizontal");

  // Items.
  TabItems = Sheet(this, PageAxis, "TabItems", "Items");
  CBItemsAuto = CheckBox(this, TabItems, "CBItemsAuto", 8, 6, 120, "Automatic");
  ListItems = PlaceControl<TListBox>(this, TabItems, "ListItems", 8, 28, 130, 196);
  PanelItem = PlainPanel(this, TabItems, "PanelItem", alNone, 144, 28, 206, 196);
  EItemValue = PlaceControl<TEdit>(this, PanelItem, "EItemValue", 4, 18, 110, 21);
  LItemValue = PlaceLabel(this, PanelItem, "LItemValue", 4, 2, "&Value:", EItemValue);
  AxisItemText = PlaceControl<TMemo>(this, PanelItem, "AxisItemText", 4, 62, 196, 86);
  LItemText = PlaceLabel(this, PanelItem, "LItemText", 4, 46, "&Text:", AxisItemText);
  ButtonFormat = PlaceControl<TButton>(this, PanelItem, "ButtonFormat", 4, 156, 75, 25, "&Format...");

  PageAxis->SetActivePage(TabScales);
  PageTitle->SetActivePage(TabTitleStyle);
  PageLabels->SetActivePage(TabLabelsStyle);

  OnShow = HANDLER(FormShow);
  PageAxis->OnChanging = HANDLER(PageAxisChanging);
  PageAxis->OnChange = HANDLER(PageAxisChange);
  PageTitle->OnChange = HANDLER(PageTitleChange);
  LBAxes->OnClick = HANDLER(LBAxesClick);
  CBShow->OnClick = HANDLER(CBShowClick);
  CBAxisBeh->OnClick = HANDLER(CBAxisBehClick);
  BAdd->OnClick = HANDLER(BAddClick);
  BDelete->OnClick = HANDLER(BDeleteClick);
  CBAutomatic->OnClick = HANDLER(CBAutomaticClick);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  CBInverted->OnClick = HANDLER(CBInvertedClick);
  CBLogarithmic->OnClick = HANDLER(CBLogarithmicClick);
  ELogBase->OnChange = HANDLER(ELogBaseChange);
  LogE->OnClick = HANDLER(LogEClick);
  CBAutoMin->OnClick = HANDLER(CBAutoMinClick);
  CBAutoMax->OnClick = HANDLER(CBAutoMaxClick);
  BAxisMin->OnClick = HANDLER(BAxisMinClick);
  BAxisMax->OnClick = HANDLER(BAxisMaxClick);
  EMinOff->OnChange = HANDLER(EMinOffChange);
  EMaxOff->OnChange = HANDLER(EMaxOffChange);
  CBMinRound->OnClick = HANDLER(CBMinRoundClick);
  CBMaxRound->OnClick = HANDLER(CBMaxRoundClick);
  BIncre->OnClick = HANDLER(BIncreClick);
  CBShowAll->OnClick = HANDLER(CBShowAllClick);
  ETitle->OnChange = HANDLER(ETitleChange);
  SETitleAngle->OnChange = HANDLER(SETitleAngleChange);
  SETitleSize->OnChange = HANDLER(SETitleSizeChange);
  CBTitleVisible->OnClick = HANDLER(CBTitleVisibleClick);
  for (TCheckBox* b : {CBLabels, CBMultiline, CBOnAxis, CBRoundFirst, CBAlternate, CBLabelsBehind})
    b->OnClick = HANDLER(LabelsBoxClick);
  SELabelsSize->OnChange = HANDLER(SELabelsSizeChange);
  SELabelsAngle->OnChange = HANDLER(SELabelsAngleChange);
  SESepar->OnChange = HANDLER(SESeparChange);
  CBLabelStyle->OnChange = HANDLER(CBLabelStyleChange);
  CBFormat->OnChange = HANDLER(CBFormatChange);
  Button1->OnClick = HANDLER(Button1Click);
  CBExpo->OnClick = HANDLER(CBExpoClick);
  CBLabelAlign->OnClick = HANDLER(CBLabelAlignClick);
  for (TEdit* e : {SEAxisTickLength, SEInnerTicksLength, SEAxisMinorTickLen}) e->OnChange = HANDLER(TickLengthChange);
  Edit3->OnChange = HANDLER(MinorCountChange);
  SEMinorCount->OnChange = HANDLER(MinorCountChange);
  CBTickOnLabels->OnClick = HANDLER(CBTickOnLabelsClick);
  Edit2->OnChange = HANDLER(Edit2Change);
  CBGridCentered->OnClick = HANDLER(CBGridCenteredClick);
  EMarksEvery->OnChange = HANDLER(EMarksEveryChange);
  EPos->OnChange = HANDLER(EPosChange);
  EStart->OnChange = HANDLER(EStartChange);
  EEnd->OnChange = HANDLER(EEndChange);
  Edit1->OnChange = HANDLER(Edit1Change);
  CBPosUnits->OnChange = HANDLER(CBPosUnitsChange);
  CBOtherSide->OnClick = HANDLER(CBOtherSideClick);
  CBHorizAxis->OnClick = HANDLER(CBHorizAxisClick);
  CBItemsAuto->OnClick = HANDLER(CBItemsAutoClick);
  ListItems->OnClick = HANDLER(ListItemsClick);
  EItemValue->OnChange = HANDLER(EItemValueChange);
  AxisItemText->OnChange = HANDLER(AxisItemTextChange);
  ButtonFormat->OnClick = HANDLER(ButtonFormatClick);

  updating_ = false;
  axis_ = AAxis;
  WatchChart(AAxis ? AAxis->ParentChart() : nullptr);
}

TFormLumAxis::~TFormLumAxis() {
  loading_ = true;
  delete fontEditor_.Get();
}

TFormLumShape* TFormLumAxis::TitleEditor() const { return titleEditor_.Get(); }
TLumFontEditor* TFormLumAxis::LabelsFontEditor() const { return fontEditor_.Get(); }

TChartAxis* TFormLumAxis::Axis() const {
  TCustomAxisPanel* chart = WatchedChart();
  // A custom axis freed elsewhere has left the chart's list.
  return chart && axis_ && chart->Axes()->IndexOf(axis_) >= 0 ? axis_ : nullptr;
}

void TFormLumAxis::SetAxis(TChartAxis* Value) {
  axis_ = Value;
  if (Value && Value->ParentChart() != WatchedChart()) WatchChart(Value->ParentChart());
  if (!Axis()) return;
  loading_ = true;
  const int i = ListIndexOf(WatchedChart(), Value);
  if (i >= 0 && i < LBAxes->Count()) LBAxes->SetItemIndex(i);
  RefreshPage();
}

void TFormLumAxis::ChartFreed() {
  axis_ = nullptr;
  loading_ = true;
  // The embedded editors hold the title and the labels font.
  delete titleEditor_.Get();
  delete fontEditor_.Get();
  LBAxes->Clear();
  ListItems->Clear();
}

void TFormLumAxis::FormShow(TObject*) {
  TChartAxis* axis = Axis();
  if (axis) {
    TCustomAxisPanel* chart = WatchedChart();
    loading_ = true;
    TabItems->SetTabVisible(!chart->HasState(csDesigning));
    FillAxes();
    CBShow->SetChecked(chart->AxisVisible());
    CBAxisBeh->SetChecked(chart->Axes()->GetBehind());
    PageAxis->SetActivePage(TabScales);
    PageLabels->SetActivePage(TabLabelsStyle);
    PageTitle->SetActivePage(TabTitleStyle);
    BuildEditors();
    RefreshPage();
  }
  TranslateControl(this);
}

void TFormLumAxis::BuildEditors() {
  if (built_) return;
  built_ = true;
  TChartAxis* axis = Axis();
  titleEditor_.Set(EmbedShapeEditorInPage(PageTitle, axis->Title()));
  PageTitle->SetActivePage(TabTitleStyle);
  TLumFontEditor* font = EmbedFontEditor(TabLabelsText);
  fontEditor_.Set(font);
  font->LoadFont(axis->LabelsFont());
}

void TFormLumAxis::FillAxes() {
  TCustomAxisPanel* chart = WatchedChart();
  LBAxes->Clear();
  if (!chart) return;
  for (const std::string* name : {&LumMsg_LeftAxis, &LumMsg_RightAxis, &LumMsg_TopAxis, &LumMsg_BottomAxis,
                                  &LumMsg_DepthAxis, &LumMsg_DepthTopAxis})
    LBAxes->Items()->Add(*name);
  for (int i = 0; i < chart->CustomAxes()->Count(); ++i) LBAxes->Items()->Add("Custom " + std::to_string(i));
  if (TChartAxis* axis = Axis()) LBAxes->SetItemIndex(ListIndexOf(chart, axis));
}

void TFormLumAxis::LinkPens() {
  TChartAxis* axis = Axis();
  LinkButtonTo(BAxisGrid, axis->Grid());
  LinkButtonTo(BTickMinor, axis->MinorTicks());
  LinkButtonTo(BTickInner, axis->TicksInner());
  LinkButtonTo(BTickPen, axis->Ticks());
  LinkButtonTo(BAxisPen, axis->Axis());
  LinkButtonTo(BMinorGrid, axis->MinorGrid());
}

void TFormLumAxis::RefreshPage() {
  TChartAxis* axis = Axis();
  if (!axis) return;
  loading_ = true;
  LinkPens();
  BDelete->SetEnabled(LBAxes->ItemIndex() >= kStandardAxes);
  CBVisible->SetChecked(axis->Visible());
  CBLabelAlign->SetChecked(axis->LabelsAlign() == alDefault);
  CBLabelAlign->SetEnabled(!axis->Horizontal() && !axis->IsDepthAxis());
  TTabSheet* shown = PageAxis->ActivePage();
  if (shown == TabScales) FillScales();
  else if (shown == TabTitle) FillTitle();
  else if (shown == TabLabels) {
    FillLabelsStyle();
    FillLabelsFormat();
    if (TLumFontEditor* e = LabelsFontEditor()) e->LoadFont(axis->LabelsFont());
  } else if (shown == TabTicks) FillTicks();
  else if (shown == TabGrid) FillGrid();
  else if (shown == TabPosition) FillPosition();
  else if (shown == TabItems) FillItems();
  loading_ = false;
}

void TFormLumAxis::FillMinMax() {
  TChartAxis* axis = Axis();
  LAxisMin->SetCaption(AxisEndText(axis, axis->Minimum()));
  LAxisMax->SetCaption(AxisEndText(axis, axis->Maximum()));
}

void TFormLumAxis::FillScales() {
  TChartAxis* axis = Axis();
  LAxisIncre->SetCaption(IncrementText(axis));
  FillMinMax();
  updating_ = true;
  CBAutomatic->SetChecked(axis->Automatic());
  CBAutoMin->SetChecked(axis->AutomaticMinimum());
  CBAutoMax->SetChecked(axis->AutomaticMaximum());
  UDMinOff->SetPosition(axis->MinimumOffset());
  UDMaxOff->SetPosition(axis->MaximumOffset());
  SetCheckedIn(CBMinRound, axis->MinimumRound(), axis->AutomaticMinimum());
  SetCheckedIn(CBMaxRound, axis->MaximumRound(), axis->AutomaticMaximum());
  updating_ = false;
  SetCheckedIn(CBLogarithmic, axis->Logarithmic(), !axis->IsDepthAxis());
  LogE->SetChecked(IsE(axis->LogarithmicBase()));
  ELogBase->SetText(FloatToStr(axis->LogarithmicBase()));
  EnableLogBase();
  CBInverted->SetChecked(axis->Inverted());
  CBShowAll->SetChecked(axis->LabelsSeparation() == 0);
}

void TFormLumAxis::EnableLogBase() {
  ELogBase->SetEnabled(CBLogarithmic->Checked() && CBLogarithmic->Enabled());
  LogE->SetEnabled(ELogBase->Enabled() && !LogE->Checked());
}

void TFormLumAxis::FillTitle() {
  TChartAxis* axis = Axis();
  TChartAxisTitle* title = axis->Title();
  ETitle->SetText(title->Caption());
  UDTitleAngle->SetPosition(title->Angle());
  UDTitleSize->SetPosition(axis->TitleSize());
  CBTitleVisible->SetChecked(title->Visible());
  if (TFormLumShape* e = TitleEditor()) e->LoadShape(title);
}

void TFormLumAxis::FillLabelsStyle() {
  TChartAxis* axis = Axis();
  CBLabels->SetChecked(axis->Labels());
  CBMultiline->SetChecked(axis->LabelsMultiLine());
  CBOnAxis->SetChecked(axis->LabelsOnAxis());
  CBRoundFirst->SetChecked(axis->RoundFirstLabel());
  CBAlternate->SetChecked(axis->LabelsAlternate());
  CBLabelsBehind->SetChecked(axis->LabelsBehind());
  UDLabelsSize->SetPosition(axis->LabelsSize());
  UDLabelsAngle->SetPosition(axis->LabelsAngle());
  UDSepar->SetPosition(axis->LabelsSeparation());
  CBLabelStyle->SetItemIndex(int(axis->LabelStyle()));
}

void TFormLumAxis::FillLabelsFormat() {
  TChartAxis* axis = Axis();
  TStrings* items = CBFormat->Items();
  items->Clear();
  std::string text;
  if (axis->IsDateTime()) {
    // The formats that suit the range: times within a day, dates beyond.
    if (axis->Maximum() - axis->Minimum() <= 1) {
      for (const std::string& f : {FormatSettings.ShortTimeFormat, FormatSettings.LongTimeFormat,
                                   std::string("hh:nn"), std::string("hh:nn:ss"), std::string("hh:nn:ss.zzz")})
        if (items->IndexOf(f) < 0) items->Add(f);
    } else {
      for (const std::string& f : {FormatSettings.ShortDateFormat, FormatSettings.LongDateFormat,
                                   std::string("yyyy-mm-dd"), std::string("mm-dd-yyyy"), std::string("dd-mm-yyyy"),
                                   std::string("ddd"), std::string("dddd"), std::string("mmm"), std::string("mmmm")})
        if (items->IndexOf(f) < 0) items->Add(f);
    }
    LFormat->SetCaption("DateTime For&mat:");
    text = axis->DateTimeFormat();
    if (text.empty()) {
      const double step = axis->LastIncrement() > 0 ? axis->LastIncrement() : axis->CalcIncrement();
      text = DefaultDateTimeFormat(step);
    }
  } else {
    AddNumericFormats(items);
    LFormat->SetCaption("Values For&mat:");
    text = DotToDecimalSeparator(axis->AxisValuesFormat().empty() ? LumMsg_DefaultNumberFormat
                                                                  : axis->AxisValuesFormat());
  }
  if (items->IndexOf(text) < 0) items->Add(text);
  CBFormat->SetItemIndex(items->IndexOf(text));
  CBFormat->SetText(text);
  CBExpo->SetChecked(axis->LabelsExponent());
}

void TFormLumAxis::FillTicks() {
  TChartAxis* axis = Axis();
  UDAxisTickLength->SetPosition(axis->TickLength());
  UDInnerTicksLength->SetPosition(axis->TickInnerLength());
  UDAxisMinorTickLen->SetPosition(axis->MinorTickLength());
  UDMinorC->SetPosition(axis->MinorTickCount());
  CBTickOnLabels->SetChecked(axis->TickOnLabelsOnly());
}

void TFormLumAxis::FillGrid() {
  TChartAxis* axis = Axis();
  UDMinorCount->SetPosition(axis->MinorTickCount());
  UDGridZ->SetPosition(int(std::lround(axis->Grid()->ZPosition())));
  CBGridCentered->SetChecked(axis->Grid()->Centered());
  UDEvery->SetPosition(axis->Grid()->DrawEvery());
}

void TFormLumAxis::FillPosition() {
  TChartAxis* axis = Axis();
  UDPos->SetPosition(int(std::lround(axis->PositionPercent())));
  UDStart->SetPosition(int(std::lround(axis->StartPosition())));
  UDEnd->SetPosition(int(std::lround(axis->EndPosition())));
  UDZ->SetPosition(int(std::lround(axis->ZPosition())));
  Edit1->SetEnabled(!axis->IsDepthAxis());
  UDZ->SetEnabled(!axis->IsDepthAxis());
  CBPosUnits->SetItemIndex(int(axis->PositionUnits()));
  SetCheckedIn(CBOtherSide, axis->OtherSide(), axis->IsCustom());
  SetCheckedIn(CBHorizAxis, axis->Horizontal(), axis->IsCustom());
}

void TFormLumAxis::FillItems() {
  TAxisItems* items = Axis()->Items();
  const bool wasLoading = loading_;
  loading_ = true;
  CBItemsAuto->SetChecked(items->Automatic());
  ListItems->Clear();
  for (int i = 0; i < items->Count(); ++i) ListItems->Items()->Add(items->Get(i)->Text());
  ListItems->SetEnabled(!items->Automatic());
  PanelItem->SetEnabled(!items->Automatic());
  if (items->Count() == 0) {
    EItemValue->Clear();
    AxisItemText->Clear();
  } else {
    ListItems->SetItemIndex(0);
  }
  ListItemsClick(ListItems);
  loading_ = wasLoading;
}

TAxisItem* TFormLumAxis::SelectedItem() const {
  TChartAxis* axis = Axis();
  const int i = ListItems->ItemIndex();
  return axis && i >= 0 && i < axis->Items()->Count() ? axis->Items()->Get(i) : nullptr;
}

// ---- Axis list ------------------------------------------------------------
void TFormLumAxis::ShowAxis(int ListIndex) {
  TCustomAxisPanel* chart = WatchedChart();
  if (!chart || ListIndex < 0 || ListIndex >= LBAxes->Count()) return;
  axis_ = ListIndex < kStandardAxes ? StandardAxis(chart, ListIndex) : chart->Axes()->GetAxis(ListIndex);
  LBAxes->SetItemIndex(ListIndex);
  loading_ = true;
  RefreshPage();
}

void TFormLumAxis::LBAxesClick(TObject*) { ShowAxis(LBAxes->ItemIndex()); }

void TFormLumAxis::ReloadEditors() {
  TChartAxis* axis = Axis();
  if (!axis) return;
  if (TFormLumShape* e = TitleEditor()) e->LoadShape(axis->Title());
  if (TLumFontEditor* e = LabelsFontEditor()) e->LoadFont(axis->LabelsFont());
}

void TFormLumAxis::LumEvent(const TLumEvent& Event) {
  auto* e = dynamic_cast<const TLumAxisEvent*>(&Event);
  TCustomAxisPanel* chart = WatchedChart();
  if (!e || !chart || HasState(csDestroying)) return;
  const int row = LBAxes->ItemIndex();
  const bool shown = e->Axis == axis_;
  if (shown) axis_ = nullptr;
  // The custom axes after it are numbered anew.
  FillAxes();
  if (!shown) return;
  ShowAxis(std::min(row - 1, LBAxes->Count() - 1));
  ReloadEditors();
}

void TFormLumAxis::PageAxisChanging(TObject*, bool&) { loading_ = true; }

void TFormLumAxis::PageAxisChange(TObject*) {
  RefreshPage();
  loading_ = false;
}

void TFormLumAxis::PageTitleChange(TObject*) {
  if (TFormLumShape* e = TitleEditor()) e->TabShown(PageTitle->ActivePage());
}

void TFormLumAxis::CBShowClick(TObject*) {
  if (Editing()) WatchedChart()->SetAxisVisible(CBShow->Checked());
}

void TFormLumAxis::CBAxisBehClick(TObject*) {
  if (!Editing()) return;
  WatchedChart()->Axes()->SetBehind(CBAxisBeh->Checked());
  WatchedChart()->Invalidate();
}

void TFormLumAxis::BAddClick(TObject*) {
  TCustomAxisPanel* chart = WatchedChart();
  if (!chart) return;
  TChartAxis* axis = chart->CustomAxes()->Add();
  chart->Invalidate();
  axis_ = axis;
  FillAxes();
  ShowAxis(LBAxes->Count() - 1);
}

void TFormLumAxis::BDeleteClick(TObject*) {
  const int i = LBAxes->ItemIndex();
  TChartAxis* axis = Axis();
  if (!axis || !axis->IsCustom() || i < kStandardAxes) return;
  TCustomAxisPanel* chart = WatchedChart();
  // Its series go back to their standard axes first; the page hears of it (LumEvent)
  // and shows the line before it.
  delete axis;
  chart->Invalidate();
}

// ---- Scales ---------------------------------------------------------------
void TFormLumAxis::CBAutomaticClick(TObject*) {
  if (!Editing() || updating_) return;
  TChartAxis* axis = Axis();
  const bool on = CBAutomatic->Checked();
  axis->SetAutomatic(on);
  // Both ends follow: an automatic axis with fixed ends would not move at all.
  axis->SetAutomaticMinimum(on);
  axis->SetAutomaticMaximum(on);
  if (on) axis->AdjustMaxMin();
  loading_ = true;
  FillScales();
  loading_ = false;
}

void TFormLumAxis::CBVisibleClick(TObject*) {
  if (Editing()) Axis()->SetVisible(CBVisible->Checked());
}

void TFormLumAxis::CBInvertedClick(TObject*) {
  if (Editing()) Axis()->SetInverted(CBInverted->Checked());
}

void TFormLumAxis::CBLogarithmicClick(TObject*) {
  if (!Editing() || updating_) return;
  try {
    Axis()->SetLogarithmic(CBLogarithmic->Checked());
  } catch (const AxisException&) {
    // The axis stayed linear: so does the box, and the base may still be set.
    Axis()->SetLogarithmic(false);
    loading_ = true;
    CBLogarithmic->SetChecked(false);
    loading_ = false;
    ELogBase->SetEnabled(true);
    LogE->SetEnabled(!LogE->Checked());
    throw;
  }
  EnableLogBase();
}

void TFormLumAxis::ELogBaseChange(TObject*) {
  if (!Editing()) return;
  long double value = 0;
  // Text on its way to a number is not one yet; nor is a base that has no logarithm.
  if (!TryStrToFloat(Trim(ELogBase->Text()), value) || !(value > 0) || value == 1 || !std::isfinite(double(value)))
    return;
  Axis()->SetLogarithmicBase(double(value));
  loading_ = true;
  LogE->SetChecked(IsE(double(value)));
  loading_ = false;
  LogE->SetEnabled(ELogBase->Enabled() && !LogE->Checked());
}

void TFormLumAxis::LogEClick(TObject*) {
  if (!Editing() || !LogE->Checked()) return;
  ELogBase->SetText(FloatToStr(std::exp(1.0L)));
  LogE->SetEnabled(false);
}

void TFormLumAxis::CBAutoMinClick(TObject*) {
  if (!Editing() || updating_) return;
  TChartAxis* axis = Axis();
  axis->SetAutomaticMinimum(CBAutoMin->Checked());
  axis->AdjustMaxMin();
  axis->ParentChart()->Invalidate();
  CBMinRound->SetEnabled(CBAutoMin->Checked());
  FillMinMax();
}

void TFormLumAxis::CBAutoMaxClick(TObject*) {
  if (!Editing() || updating_) return;
  TChartAxis* axis = Axis();
  axis->SetAutomaticMaximum(CBAutoMax->Checked());
  axis->AdjustMaxMin();
  axis->ParentChart()->Invalidate();
  CBMaxRound->SetEnabled(CBAutoMax->Checked());
  FillMinMax();
}

void TFormLumAxis::BAxisMinClick(TObject*) {
  if (Axis()) EditAxisMaxMin(this, LumMsg_Minimum, CBAutoMin, false);
}

void TFormLumAxis::BAxisMaxClick(TObject*) {
  if (Axis()) EditAxisMaxMin(this, LumMsg_Maximum, CBAutoMax, true);
}

void TFormLumAxis::EMinOffChange(TObject*) {
  if (Editing()) Axis()->SetMinimumOffset(UDMinOff->Position());
}

void TFormLumAxis::EMaxOffChange(TObject*) {
  if (Editing()) Axis()->SetMaximumOffset(UDMaxOff->Position());
}

void TFormLumAxis::CBMinRoundClick(TObject*) {
  if (Editing() && !updating_) Axis()->SetMinimumRound(CBMinRound->Checked());
}

void TFormLumAxis::CBMaxRoundClick(TObject*) {
  if (Editing() && !updating_) Axis()->SetMaximumRound(CBMaxRound->Checked());
}

void TFormLumAxis::BIncreClick(TObject*) {
  TChartAxis* axis = Axis();
  if (!axis || !EditAxisIncrement(this, axis)) return;
  if (Axis()) LAxisIncre->SetCaption(IncrementText(axis));
}

void TFormLumAxis::CBShowAllClick(TObject*) {
  // Unchecked gives the usual gap, not whatever was there before.
  if (Editing()) Axis()->SetLabelsSeparation(CBShowAll->Checked() ? 0 : 10);
}

// ---- Title ----------------------------------------------------------------
void TFormLumAxis::ETitleChange(TObject*) {
  if (Editing()) Axis()->Title()->SetCaption(ETitle->Text());
}

void TFormLumAxis::SETitleAngleChange(TObject*) {
  if (Editing()) Axis()->Title()->SetAngle(UDTitleAngle->Position());
}

void TFormLumAxis::SETitleSizeChange(TObject*) {
  if (Editing()) Axis()->SetTitleSize(UDTitleSize->Position());
}

void TFormLumAxis::CBTitleVisibleClick(TObject*) {
  if (Editing()) Axis()->Title()->SetVisible(CBTitleVisible->Checked());
}

// ---- Labels ---------------------------------------------------------------
void TFormLumAxis::LabelsBoxClick(TObject* Sender) {
  if (!Editing()) return;
  TChartAxis* axis = Axis();
  auto* box = static_cast<TCheckBox*>(Sender);
  const bool on = box->Checked();
  if (box == CBLabels) axis->SetLabels(on);
  else if (box == CBMultiline) axis->SetLabelsMultiLine(on);
  else if (box == CBOnAxis) axis->SetLabelsOnAxis(on);
  else if (box == CBRoundFirst) axis->SetRoundFirstLabel(on);
  else if (box == CBAlternate) axis->SetLabelsAlternate(on);
  else if (box == CBLabelsBehind) axis->SetLabelsBehind(on);
}

void TFormLumAxis::SELabelsSizeChange(TObject*) {
  if (Editing()) Axis()->SetLabelsSize(UDLabelsSize->Position());
}

void TFormLumAxis::SELabelsAngleChange(TObject*) {
  if (Editing()) Axis()->SetLabelsAngle(UDLabelsAngle->Position());
}

void TFormLumAxis::SESeparChange(TObject*) {
  if (!Editing()) return;
  Axis()->SetLabelsSeparation(UDSepar->Position());
  loading_ = true;
  CBShowAll->SetChecked(UDSepar->Position() == 0);
  loading_ = false;
}

void TFormLumAxis::CBLabelStyleChange(TObject*) {
  if (Editing() && CBLabelStyle->ItemIndex() >= 0) Axis()->SetLabelStyle(TAxisLabelStyle(CBLabelStyle->ItemIndex()));
}

void TFormLumAxis::CBFormatChange(TObject*) {
  if (!Editing()) return;
  TChartAxis* axis = Axis();
  if (axis->IsDateTime()) axis->SetDateTimeFormat(CBFormat->Text());
  else axis->SetAxisValuesFormat(DecimalSeparatorToDot(CBFormat->Text()));
}

void TFormLumAxis::Button1Click(TObject*) {
  TChartAxis* axis = Axis();
  if (!axis) return;
  std::string result;
  if (!EditValueFormat(this, CBFormat->Text(), result, axis->IsDateTime()) || !Axis()) return;
  CBFormat->SetText(result);
  CBFormatChange(CBFormat);
}

void TFormLumAxis::CBExpoClick(TObject*) {
  if (Editing()) Axis()->SetLabelsExponent(CBExpo->Checked());
}

void TFormLumAxis::CBLabelAlignClick(TObject*) {
  if (Editing()) Axis()->SetLabelsAlign(CBLabelAlign->Checked() ? alDefault : alOpposite);
}

// ---- Ticks and grid -------------------------------------------------------
void TFormLumAxis::TickLengthChange(TObject* Sender) {
  if (!Editing()) return;
  TChartAxis* axis = Axis();
  if (Sender == SEAxisTickLength) axis->SetTickLength(UDAxisTickLength->Position());
  else if (Sender == SEInnerTicksLength) axis->SetTickInnerLength(UDInnerTicksLength->Position());
  else if (Sender == SEAxisMinorTickLen) axis->SetMinorTickLength(UDAxisMinorTickLen->Position());
}

void TFormLumAxis::MinorCountChange(TObject* Sender) {
  if (Editing()) Axis()->SetMinorTickCount(Sender == Edit3 ? UDMinorC->Position() : UDMinorCount->Position());
}

void TFormLumAxis::CBTickOnLabelsClick(TObject*) {
  if (Editing()) Axis()->SetTickOnLabelsOnly(CBTickOnLabels->Checked());
}

void TFormLumAxis::Edit2Change(TObject*) {
  if (Editing()) Axis()->Grid()->SetZPosition(UDGridZ->Position());
}

void TFormLumAxis::CBGridCenteredClick(TObject*) {
  if (Editing()) Axis()->Grid()->SetCentered(CBGridCentered->Checked());
}

void TFormLumAxis::EMarksEveryChange(TObject*) {
  if (Editing()) Axis()->Grid()->SetDrawEvery(UDEvery->Position());
}

// ---- Position -------------------------------------------------------------
void TFormLumAxis::EPosChange(TObject*) {
  if (Editing()) Axis()->SetPositionPercent(UDPos->Position());
}

void TFormLumAxis::EStartChange(TObject*) {
  if (!Editing()) return;
  TChartAxis* axis = Axis();
  if (UDStart->Position() >= axis->EndPosition()) {
    loading_ = true;
    UDStart->SetPosition(int(std::lround(axis->StartPosition())));
    loading_ = false;
  } else {
    axis->SetStartPosition(UDStart->Position());
  }
}

void TFormLumAxis::EEndChange(TObject*) {
  if (!Editing()) return;
  TChartAxis* axis = Axis();
  if (UDEnd->Position() <= axis->StartPosition()) {
    loading_ = true;
    UDEnd->SetPosition(int(std::lround(axis->EndPosition())));
    loading_ = false;
  } else {
    axis->SetEndPosition(UDEnd->Position());
  }
}

void TFormLumAxis::Edit1Change(TObject*) {
  if (Editing()) Axis()->SetZPosition(UDZ->Position());
}

void TFormLumAxis::CBPosUnitsChange(TObject*) {
  if (Editing() && CBPosUnits->ItemIndex() >= 0)
    Axis()->SetPositionUnits(TAxisPositionUnits(CBPosUnits->ItemIndex()));
}

void TFormLumAxis::CBOtherSideClick(TObject*) {
  if (Editing() && Axis()->IsCustom()) Axis()->SetOtherSide(CBOtherSide->Checked());
}

void TFormLumAxis::CBHorizAxisClick(TObject*) {
  if (!Editing() || !Axis()->IsCustom()) return;
  TChartAxis* axis = Axis();
  axis->SetHorizontal(CBHorizAxis->Checked());
  if (OnChangeHorizAxis) OnChangeHorizAxis(axis);
}

// ---- Items ----------------------------------------------------------------
void TFormLumAxis::CBItemsAutoClick(TObject*) {
  if (!Editing()) return;
  // Stored without a repaint; the list follows.
  Axis()->Items()->SetAutomatic(CBItemsAuto->Checked());
  FillItems();
}

void TFormLumAxis::ListItemsClick(TObject*) {
  TAxisItem* item = SelectedItem();
  const bool wasLoading = loading_;
  loading_ = true;
  if (item) {
    EItemValue->SetText(FloatToStr(item->Value()));
    AxisItemText->SetText(item->Text());
  }
  loading_ = wasLoading;
  EItemValue->SetEnabled(item != nullptr);
  ButtonFormat->SetEnabled(item != nullptr);
}

void TFormLumAxis::EItemValueChange(TObject*) {
  TAxisItem* item = Editing() ? SelectedItem() : nullptr;
  long double value = 0;
  if (item && TryStrToFloat(Trim(EItemValue->Text()), value)) item->SetValue(double(value));
}

void TFormLumAxis::AxisItemTextChange(TObject*) {
  TAxisItem* item = Editing() ? SelectedItem() : nullptr;
  if (!item) return;
  std::string text = AxisItemText->Text();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  item->SetText(text);
  const int i = ListItems->ItemIndex();
  ListItems->Items()->Put(i, text);
  ListItems->SetItemIndex(i);
}

void TFormLumAxis::ButtonFormatClick(TObject*) {
  if (TAxisItem* item = SelectedItem()) EditShape(this, item->GetFormat(), false, item->Text());
}

// ---------------------------------------------------------------------------
TAxisMaxMin::TAxisMaxMin(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "AxisMaxMin", "Axis Maximum and Minimum", 274, 79);
  EMaximum = PlaceControl<TEdit>(this, this, "EMaximum", 56, 10, 110, 21);
  EMaximum->SetHint("Enter Date");
  EMaximum->SetShowHint(true);
  Label1 = PlaceLabel(this, this, "Label1", 8, 14, "&Date:", EMaximum);
  EMinimum = PlaceControl<TEdit>(this, this, "EMinimum", 56, 44, 110, 21);
  EMinimum->SetHint("Enter Time");
  EMinimum->SetShowHint(true);
  Label2 = PlaceLabel(this, this, "Label2", 8, 48, "&Time:", EMinimum);
  BOk = PlaceControl<TButton>(this, this, "BOk", 188, 8, 75, 25, "OK");
  BOk->SetDefault(true);
  BCancel = PlaceControl<TButton>(this, this, "BCancel", 188, 42, 75, 25, "Cancel");
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);
  OnShow = HANDLER(FormShow);
  BOk->OnClick = HANDLER(BOkClick);
}

void TAxisMaxMin::FormShow(TObject*) {
  if (!IsDateTime) {
    Label1->SetCaption("Value:");
    EMaximum->SetText(FloatToStr(Value));
    EMaximum->SetHint("");
    EMinimum->SetHint("");
    Label2->SetVisible(false);
    EMinimum->SetVisible(false);
  } else {
    EMaximum->SetText(IsValidDateTime(Value) ? DateToStr(Value) : std::string());
    EMinimum->SetText(TimeToStr(Value));
  }
  TranslateControl(this);
}

void TAxisMaxMin::BOkClick(TObject*) {
  if (!IsDateTime) {
    Value = double(StrToFloat(Trim(EMaximum->Text())));
  } else {
    const std::string date = Trim(EMaximum->Text()), time = Trim(EMinimum->Text());
    Value = date.empty() ? StrToTime(time) : StrToDateTime(date + " " + time);
  }
  SetModalResult(mrOk);
}

bool EditAxisMaxMin(TFormLumAxis* Page, const std::string& CaptionWord, TCheckBox* AutoBox, bool IsMaximum) {
  TChartAxis* axis = Page->Axis();
  if (!axis) return false;
  TModalDialog<TAxisMaxMin> d(new TAxisMaxMin(Page));
  d->SetCaption(CaptionWord + " " + AxisTitleOrName(axis));
  d->IsDateTime = axis->IsDateTime();
  d->Value = IsMaximum ? axis->Maximum() : axis->Minimum();
  CenterEditorDialog(d.Get());
  // A dialog still there means its page is too (the page owns it).
  if (!d.Run() || Page->Axis() != axis) return false;
  // A value past the other end raises here, before anything changed.
  if (IsMaximum) axis->SetMaximum(d->Value);
  else axis->SetMinimum(d->Value);
  AutoBox->SetChecked(false);
  Page->RefreshPage();
  return true;
}
