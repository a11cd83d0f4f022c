#include "editor/legendpage.h"

#include <algorithm>
#include <memory>
#include <tuple>

#include "chart/legend.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/editortools.h"
#include "gallery/fonteditor.h"
#include "gallery/formbuild.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "gallery/shapeeditor.h"
#include "gallery/stringseditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TSymbolEditor, TForm)
IMPLEMENT_CLASS(TFormLumLegend, TChartObjectPage)

namespace {

// Item alignment flags: 0 left, 6 centre, 2 right (8 more reads the same).
constexpr int kItemAligns[] = {0, 6, 2};

int ItemAlignIndex(int Align) {
  if (Align >= 8) Align -= 8;
  return Align == 0 ? 0 : Align == 6 ? 1 : 2;
}

// The title's text alignment as the combo lists it: Left, Center, Right.
int TextAlignIndex(TAlignment A) { return A == taLeftJustify ? 0 : A == taCenter ? 1 : 2; }
constexpr TAlignment kTextAligns[] = {taLeftJustify, taCenter, taRightJustify};

}  // namespace

// ---------------------------------------------------------------------------
TSymbolEditor::TSymbolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "SymbolEditor", "Legend Symbol Editor", 300, 190);
  const auto width = EditWithUpDown(this, this, "LColWi", "&Width:", "SEColWi", "UDColWi", 8, 86, 8, 44, 0, 1000);
  LColWi = width.Label, SEColWi = width.Edit, UDColWi = width.UpDown;
  UDColWi->SetIncrement(5);
  CBColWUnits = DropDownList(this, this, "CBColWUnits", 86, 36, 90, {"Percent", "Pixels"});
  LColWUnits = PlaceLabel(this, this, "LColWUnits", 8, 40, "Width &Units:", CBColWUnits);
  CBSymbolPos = DropDownList(this, this, "CBSymbolPos", 86, 64, 90, {"Left", "Right"});
  LSymbolPos = PlaceLabel(this, this, "LSymbolPos", 8, 68, "&Position:", CBSymbolPos);
  CBContinuous = CheckBox(this, this, "CBContinuous", 8, 96, 100, "&Continuous");
  CBVisible = CheckBox(this, this, "CBVisible", 8, 116, 100, "&Visible");
  CBSquared = CheckBox(this, this, "CBSquared", 8, 136, 100, "&Squared");
  CBSymPen = CheckBox(this, this, "CBSymPen", 8, 160, 110, "&Default border");
  BSymPen = PlaceControl<TButtonPen>(this, this, "BSymPen", 186, 8, 106, 25, "&Border...");
  BSymGradient = PlaceControl<TButtonGradient>(this, this, "BSymGradient", 186, 40, 106, 25, "&Gradient...");
  Button1 = PlaceControl<TButton>(this, this, "Button1", 186, 72, 106, 25, "S&hadow...");
  BEmboss = PlaceControl<TButton>(this, this, "BEmboss", 186, 104, 106, 25, "&Emboss...");

  OnShow = HANDLER(FormShow);
  SEColWi->OnChange = HANDLER(SEColWiChange);
  CBColWUnits->OnChange = HANDLER(CBColWUnitsChange);
  CBSymbolPos->OnChange = HANDLER(CBSymbolPosChange);
  for (TCheckBox* b : {CBContinuous, CBVisible, CBSquared, CBSymPen}) b->OnClick = HANDLER(BoxClick);
  Button1->OnClick = HANDLER(Button1Click);
  BEmboss->OnClick = HANDLER(BEmbossClick);
}

void TSymbolEditor::Load(TLegendSymbol* Value) {
  loading_ = true;
  symbol_ = Value;
  if (!symbol_) {
    LinkButtonTo(BSymPen, nullptr);
    LinkGradient(BSymGradient, nullptr);
    return;
  }
  UDColWi->SetPosition(symbol_->Width());
  CBColWUnits->SetItemIndex(int(symbol_->WidthUnits()));
  CBSymbolPos->SetItemIndex(int(symbol_->Position()));
  CBContinuous->SetChecked(symbol_->Continuous());
  CBVisible->SetChecked(symbol_->Visible());
  CBSquared->SetChecked(symbol_->Squared());
  CBSymPen->SetChecked(symbol_->DefaultPen());
  LinkButtonTo(BSymPen, symbol_->Pen());
  LinkGradient(BSymGradient, symbol_->Gradient());
  ApplyRules();
  if (Showing()) loading_ = false;
}

void TSymbolEditor::ApplyRules() {
  SEColWi->SetEnabled(!CBSquared->Checked());
  UDColWi->SetEnabled(!CBSquared->Checked());
  BSymPen->SetEnabled(!CBSymPen->Checked());
}

void TSymbolEditor::FormShow(TObject*) {
  TranslateControl(this);
  loading_ = false;
}

void TSymbolEditor::SEColWiChange(TObject*) {
  if (Editing()) symbol_->SetWidth(UDColWi->Position());
}

void TSymbolEditor::CBColWUnitsChange(TObject*) {
  if (Editing() && CBColWUnits->ItemIndex() >= 0) symbol_->SetWidthUnits(TLegendSymbolSize(CBColWUnits->ItemIndex()));
}

void TSymbolEditor::CBSymbolPosChange(TObject*) {
  if (Editing() && CBSymbolPos->ItemIndex() >= 0)
    symbol_->SetPosition(TLegendSymbolPosition(CBSymbolPos->ItemIndex()));
}

void TSymbolEditor::BoxClick(TObject* Sender) {
  ApplyRules();
  if (!Editing()) return;
  const bool on = static_cast<TCheckBox*>(Sender)->Checked();
  if (Sender == CBContinuous) symbol_->SetContinuous(on);
  else if (Sender == CBVisible) symbol_->SetVisible(on);
  else if (Sender == CBSquared) symbol_->SetSquared(on);
  else if (Sender == CBSymPen) symbol_->SetDefaultPen(on);
}

void TSymbolEditor::Button1Click(TObject*) {
  if (symbol_) EditShadow(Button1, symbol_->Shadow());
}

void TSymbolEditor::BEmbossClick(TObject*) {
  if (symbol_) EditEmboss(BEmboss, symbol_->Emboss());
}

// ---------------------------------------------------------------------------
TFormLumLegend::TFormLumLegend(TComponent* AOwner, TChartLegend* ALegend)
    : TChartObjectPage(AOwner, "FormLumLegend", 470, 290), legend_(ALegend) {
  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, 470, 290, true);

  // Style.
  TabStyle = Sheet(this, PageControl1, "TabStyle", "Style");
  CBShow = CheckBox(this, TabStyle, "CBShow", 8, 6, 120, "&Visible");
  CBInverted = CheckBox(this, TabStyle, "CBInverted", 8, 26, 120, "&Inverted");
  CBFontColor = CheckBox(this, TabStyle, "CBFontColor", 8, 46, 150, "&Font Series Color");
  CBLegendStyle = DropDownList(this, TabStyle, "CBLegendStyle", 100, 72, 130,
                               {"Automatic", "Series Names", "Series Values", "Last Values", "Series Groups"});
  LLegendStyle = PlaceLabel(this, TabStyle, "LLegendStyle", 8, 76, "Legend &Style:", CBLegendStyle);
  CBLegStyle = DropDownList(this, TabStyle, "CBLegStyle", 100, 100, 130,
                            {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent", "X Value",
                             "Value", "Percent", "X and Value", "X and Percent", "X and Text"});
  LLegStyle = PlaceLabel(this, TabStyle, "LLegStyle", 8, 104, "Text St&yle:", CBLegStyle);
  const auto spacing = EditWithUpDown(this, TabStyle, "LVertSpacing", "V&ert. Spacing:", "EVertSpacing",
                                      "UDVertSpacing", 8, 100, 132, 44, -10, 100);
  LVertSpacing = spacing.Label, EVertSpacing = spacing.Edit, UDVertSpacing = spacing.UpDown;
  BDivLines = PlaceControl<TButtonPen>(this, TabStyle, "BDivLines", 250, 8, 130, 25, "&Dividing Lines...");
  CBCheckBoxes = DropDownList(this, TabStyle, "CBCheckBoxes", 250, 44, 130,
                              {"No check boxes", "Check boxes", "Radio buttons"});

  // Position.
  TabPosition = Sheet(this, PageControl1, "TabPosition", "Position");
  RGPosition = PlaceControl<TRadioGroup>(this, TabPosition, "RGPosition", 8, 4, 96, 104, "Position");
  for (const char* p : {"&Left", "&Right", "&Top", "&Bottom"}) RGPosition->Items()->Add(p);
  CBResizeChart = CheckBox(this, TabPosition, "CBResizeChart", 120, 10, 130, "Resi&ze Chart");
  const auto posRows = EditUpDownRows(this, TabPosition,
                                      {{"LTopPos", "&Position Offset %:", "SETopPos", "UDTopPos"},
                                       {"LMargin", "&Margin:", "SEMargin", "UDMargin"}},
                                      120, 226, 36, 50, -100, 100);
  LTopPos = posRows[0].Label, SETopPos = posRows[0].Edit, UDTopPos = posRows[0].UpDown;
  LMargin = posRows[1].Label, SEMargin = posRows[1].Edit, UDMargin = posRows[1].UpDown;
  UDMargin->SetMin(-1000);
  UDMargin->SetMax(1000);
  GBCustom = PlaceControl<TGroupBox>(this, TabPosition, "GBCustom", 8, 116, 290, 76, "");
  CBCustPos = CheckBox(this, GBCustom, "CBCustPos", 8, 14, 80, "&Custom:");
  CBPosPercent = CheckBox(this, GBCustom, "CBPosPercent", 100, 14, 80, "Percent");
  const auto custom = EditUpDownRows(this, GBCustom,
                                     {{"LCustLeft", "L&eft:", "ECustLeft", "UDLeft"}}, 8, 44, 40, 56, -100, 9000);
  LCustLeft = custom[0].Label, ECustLeft = custom[0].Edit, UDLeft = custom[0].UpDown;
  const auto customTop = EditWithUpDown(this, GBCustom, "LCustTop", "T&op:", "ECustTop", "UDTop", 140, 176, 40, 56,
                                        -100, 9000);
  LCustTop = customTop.Label, ECustTop = customTop.Edit, UDTop = customTop.UpDown;
  UDLeft->SetIncrement(5);
  UDTop->SetIncrement(5);

  // Symbols.
  TabSymbols = Sheet(this, PageControl1, "TabSymbols", "Symbols");

  // Title.
  TabTitle = Sheet(this, PageControl1, "TabTitle", "Title");
  PageControl2 = ClientPages(this, TabTitle, "PageControl2", 0, 0, 462, 262);
  TabTitleOptions = Sheet(this, PageControl2, "TabTitleOptions", "Options");
  MemoText = PlaceControl<TMemo>(this, TabTitleOptions, "MemoText", 8, 22, 220, 80);
  LMemoText = PlaceLabel(this, TabTitleOptions, "LMemoText", 8, 6, "&Text:", MemoText);
  Button1 = PlaceControl<TButton>(this, TabTitleOptions, "Button1", 236, 22, 75, 25, "&Edit...");
  CBTextAlign = DropDownList(this, TabTitleOptions, "CBTextAlign", 100, 110, 90, {"Left", "Center", "Right"});
  LTextAlign = PlaceLabel(this, TabTitleOptions, "LTextAlign", 8, 114, "Text &alignment:", CBTextAlign);
  CBTitleVisible = CheckBox(this, TabTitleOptions, "CBTitleVisible", 8, 140, 100, "&Visible");

  // Items.
  TabItems = Sheet(this, PageControl1, "TabItems", "Items");
  CBCustom = CheckBox(this, TabItems, "CBCustom", 8, 6, 80, "&Custom");
  CBCustPosition = CheckBox(this, TabItems, "CBCustPosition", 96, 6, 120, "Custom &Position");
  SBAddItem = PlaceControl<TSpeedButton>(this, TabItems, "SBAddItem", 240, 3, 23, 22, "+");
  SBDeleteItem = PlaceControl<TSpeedButton>(this, TabItems, "SBDeleteItem", 266, 3, 23, 22, "-");
  LBItems = PlaceControl<TListBox>(this, TabItems, "LBItems", 8, 30, 150, 200);
  PanelItem = PlainPanel(this, TabItems, "PanelItem", alNone, 164, 30, 290, 200);
  const auto texts = [&](const char* L, const char* Caption, const char* E, int Top) {
    auto* e = PlaceControl<TEdit>(this, PanelItem, E, 60, Top, 150, 21);
    return std::make_pair(PlaceLabel(this, PanelItem, L, 4, Top + 4, Caption, e), e);
  };
  std::tie(LItemText, EItemText) = texts("LItemText", "&Text:", "EItemText", 2);
  std::tie(LItemText2, EItemText2) = texts("LItemText2", "Text &2:", "EItemText2", 30);
  CBItemAlign = DropDownList(this, PanelItem, "CBItemAlign", 60, 58, 90, {"Left", "Center", "Right"});
  LItemAlign = PlaceLabel(this, PanelItem, "LItemAlign", 4, 62, "&Align:", CBItemAlign);
  const auto place = EditUpDownRows(this, PanelItem,
                                    {{"LItemX", "&Left:", "EItemX", "UDItemLeft"},
                                     {"LItemY", "T&op:", "EItemY", "UDItemTop"}},
                                    4, 60, 86, 56, 0, 4000);
  LItemX = place[0].Label, EItemX = place[0].Edit, UDItemLeft = place[0].UpDown;
  LItemY = place[1].Label, EItemY = place[1].Edit, UDItemTop = place[1].UpDown;
  Button2 = PlaceControl<TButton>(this, PanelItem, "Button2", 4, 146, 75, 25, "&Font...");
  CBDefItemFont = CheckBox(this, PanelItem, "CBDefItemFont", 90, 150, 90, "&Default");

  PageControl1->SetActivePage(TabStyle);
  PageControl2->SetActivePage(TabTitleOptions);

  OnShow = HANDLER(FormShow);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  PageControl2->OnChange = HANDLER(PageControl2Change);
  CBShow->OnClick = HANDLER(CBShowClick);
  CBInverted->OnClick = HANDLER(CBInvertedClick);
  CBFontColor->OnClick = HANDLER(CBFontColorClick);
  CBLegendStyle->OnChange = HANDLER(CBLegendStyleChange);
  CBLegStyle->OnChange = HANDLER(CBLegStyleChange);
  EVertSpacing->OnChange = HANDLER(EVertSpacingChange);
  CBCheckBoxes->OnChange = HANDLER(CBCheckBoxesChange);
  RGPosition->OnClick = HANDLER(RGPositionClick);
  CBResizeChart->OnClick = HANDLER(CBResizeChartClick);
  SETopPos->OnChange = HANDLER(SETopPosChange);
  SEMargin->OnChange = HANDLER(SEMarginChange);
  CBCustPos->OnClick = HANDLER(CBCustPosClick);
  CBPosPercent->OnClick = HANDLER(CBPosPercentClick);
  ECustLeft->OnChange = HANDLER(ECustLeftChange);
  ECustTop->OnChange = HANDLER(ECustTopChange);
  MemoText->OnChange = HANDLER(MemoTextChange);
  Button1->OnClick = HANDLER(Button1Click);
  CBTextAlign->OnChange = HANDLER(CBTextAlignChange);
  CBTitleVisible->OnClick = HANDLER(CBTitleVisibleClick);
  CBCustom->OnClick = HANDLER(CBCustomClick);
  CBCustPosition->OnClick = HANDLER(CBCustPositionClick);
  SBAddItem->OnClick = HANDLER(SBAddItemClick);
  SBDeleteItem->OnClick = HANDLER(SBDeleteItemClick);
  LBItems->OnClick = HANDLER(LBItemsClick);
  EItemText->OnChange = HANDLER(EItemTextChange);
  EItemText2->OnChange = HANDLER(EItemText2Change);
  CBItemAlign->OnChange = HANDLER(CBItemAlignChange);
  EItemX->OnChange = HANDLER(EItemXChange);
  EItemY->OnChange = HANDLER(EItemYChange);
  Button2->OnClick = HANDLER(Button2Click);
  CBDefItemFont->OnClick = HANDLER(CBDefItemFontClick);

  if (legend_) {
    WatchChart(legend_->ParentChart());
    // The frame's tabs follow the page's own.
    shapeEditor_.Set(EmbedShapeEditorInPage(PageControl1, legend_));
    PageControl1->SetActivePage(TabStyle);
  }
}

TFormLumLegend::~TFormLumLegend() { loading_ = true; }

TFormLumShape* TFormLumLegend::ShapeEditor() const { return shapeEditor_.Get(); }
TFormLumShape* TFormLumLegend::TitleEditor() const { return titleEditor_.Get(); }
TSymbolEditor* TFormLumLegend::SymbolEditor() const { return symbolEditor_.Get(); }

void TFormLumLegend::ChartFreed() {
  legend_ = nullptr;
  loading_ = true;
  delete shapeEditor_.Get();
  delete titleEditor_.Get();
  delete symbolEditor_.Get();
  LBItems->Clear();
}

void TFormLumLegend::FormShow(TObject*) {
  TChartLegend* legend = Legend();
  if (legend) {
    loading_ = true;
    UDTopPos->SetPosition(legend->TopPos());
    CBCustPos->SetChecked(legend->CustomPosition());
    CBPosPercent->SetChecked(legend->PositionUnits() == muPercent);
    FillCustomPosition();
    CBFontColor->SetChecked(legend->FontSeriesColor());
    CBResizeChart->SetChecked(legend->ResizeChart());
    CBLegendStyle->SetItemIndex(int(legend->LegendStyle()));
    CBLegStyle->SetItemIndex(int(legend->TextStyle()));
    CBShow->SetChecked(legend->Visible());
    CBInverted->SetChecked(legend->Inverted());
    CBCheckBoxes->SetItemIndex(!legend->CheckBoxes() ? 0 : legend->CheckBoxesStyle() == cbsRadio ? 2 : 1);
    RGPosition->SetItemIndex(int(legend->Alignment()));
    UDVertSpacing->SetPosition(legend->VertSpacing());
    LinkButtonTo(BDivLines, legend->DividingLines());
    FillMargin();
    EnablePosition();
    if (!SymbolEditor()) {
      auto* e = new TSymbolEditor(this);
      symbolEditor_.Set(e);
      e->Load(legend->Symbol());
      EmbedEditorForm(e, TabSymbols);
    } else {
      SymbolEditor()->Load(legend->Symbol());
    }
    TabItems->SetTabVisible(!WatchedChart()->HasState(csDesigning));
    if (TFormLumShape* e = ShapeEditor()) e->LoadShape(legend);
    FillTitle();
    loading_ = false;
  }
  TranslateControl(this);
}

void TFormLumLegend::FillMargin() {
  TChartLegend* legend = Legend();
  UDMargin->SetPosition(legend->Vertical() ? legend->HorizMargin() : legend->VertMargin());
}

void TFormLumLegend::FillCustomPosition() {
  TChartLegend* legend = Legend();
  const bool percent = legend->PositionUnits() == muPercent;
  UDLeft->SetPosition(percent ? legend->LeftPercent() : legend->Left());
  UDTop->SetPosition(percent ? legend->TopPercent() : legend->Top());
}

void TFormLumLegend::EnablePosition() {
  const bool custom = CBCustPos->Checked();
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, UDLeft, ECustTop, UDTop, CBPosPercent})
    c->SetEnabled(custom);
}

void TFormLumLegend::FillTitle() {
  TChartLegend* legend = Legend();
  TFormLumShape* e = TitleEditor();
  if (!legend || !e) return;
  const bool wasLoading = loading_;
  loading_ = true;
  MemoText->Lines()->Assign(legend->Title()->Text());
  CBTextAlign->SetItemIndex(TextAlignIndex(legend->Title()->TextAlignment()));
  CBTitleVisible->SetChecked(legend->Title()->Visible());
  e->LoadShape(legend->Title());
  loading_ = wasLoading;
}

void TFormLumLegend::PageControl1Change(TObject*) {
  TChartLegend* legend = Legend();
  if (!legend) return;
  TTabSheet* shown = PageControl1->ActivePage();
  if (shown == TabTitle) {
    if (!TitleEditor()) {
      titleEditor_.Set(EmbedShapeEditorInPage(PageControl2, legend->Title()));
      PageControl2->SetActivePage(TabTitleOptions);
    }
    FillTitle();
  } else if (shown == TabItems) {
    FillItems();
  }
  if (TFormLumShape* e = ShapeEditor()) e->TabShown(shown);
}

void TFormLumLegend::PageControl2Change(TObject*) {
  if (TFormLumShape* e = TitleEditor()) e->TabShown(PageControl2->ActivePage());
}

// ---- Style ----------------------------------------------------------------
void TFormLumLegend::CBShowClick(TObject*) {
  if (Editing()) Legend()->SetVisible(CBShow->Checked());
}

void TFormLumLegend::CBInvertedClick(TObject*) {
  if (Editing()) Legend()->SetInverted(CBInverted->Checked());
}

void TFormLumLegend::CBFontColorClick(TObject*) {
  if (Editing()) Legend()->SetFontSeriesColor(CBFontColor->Checked());
}

void TFormLumLegend::CBLegendStyleChange(TObject*) {
  if (Editing() && CBLegendStyle->ItemIndex() >= 0) Legend()->SetLegendStyle(TLegendStyle(CBLegendStyle->ItemIndex()));
}

void TFormLumLegend::CBLegStyleChange(TObject*) {
  if (Editing() && CBLegStyle->ItemIndex() >= 0) Legend()->SetTextStyle(TLegendTextStyle(CBLegStyle->ItemIndex()));
}

void TFormLumLegend::EVertSpacingChange(TObject*) {
  if (Editing()) Legend()->SetVertSpacing(UDVertSpacing->Position());
}

void TFormLumLegend::CBCheckBoxesChange(TObject*) {
  const int i = CBCheckBoxes->ItemIndex();
  if (!Editing() || i < 0) return;
  TChartLegend* legend = Legend();
  legend->SetCheckBoxes(i > 0);
  if (i > 0) legend->SetCheckBoxesStyle(i == 2 ? cbsRadio : cbsCheck);
}

// ---- Position -------------------------------------------------------------
void TFormLumLegend::RGPositionClick(TObject*) {
  if (!Editing() || RGPosition->ItemIndex() < 0) return;
  Legend()->SetAlignment(TLegendAlignment(RGPosition->ItemIndex()));
  loading_ = true;
  FillMargin();
  loading_ = false;
}

void TFormLumLegend::CBResizeChartClick(TObject*) {
  if (Editing()) Legend()->SetResizeChart(CBResizeChart->Checked());
}

void TFormLumLegend::SETopPosChange(TObject*) {
  if (Editing()) Legend()->SetTopPos(UDTopPos->Position());
}

void TFormLumLegend::SEMarginChange(TObject*) {
  if (!Editing()) return;
  TChartLegend* legend = Legend();
  if (legend->Vertical()) legend->SetHorizMargin(UDMargin->Position());
  else legend->SetVertMargin(UDMargin->Position());
}

void TFormLumLegend::CBCustPosClick(TObject*) {
  EnablePosition();
  if (!Editing()) return;
  TChartLegend* legend = Legend();
  legend->SetCustomPosition(CBCustPos->Checked());
  if (CBCustPos->Checked()) {
    // A legend placed by hand takes no room from the plot.
    legend->SetResizeChart(false);
    loading_ = true;
    CBResizeChart->SetChecked(false);
    FillCustomPosition();
    loading_ = false;
  }
}

void TFormLumLegend::CBPosPercentClick(TObject*) {
  if (!Editing()) return;
  Legend()->SetPositionUnits(CBPosPercent->Checked() ? muPercent : muPixels);
  loading_ = true;
  FillCustomPosition();
  loading_ = false;
}

void TFormLumLegend::ECustLeftChange(TObject*) {
  if (!Editing() || !Legend()->CustomPosition()) return;
  TChartLegend* legend = Legend();
  if (legend->PositionUnits() == muPercent) legend->SetLeftPercent(UDLeft->Position());
  else legend->SetLeft(UDLeft->Position());
}

void TFormLumLegend::ECustTopChange(TObject*) {
  if (!Editing() || !Legend()->CustomPosition()) return;
  TChartLegend* legend = Legend();
  if (legend->PositionUnits() == muPercent) legend->SetTopPercent(UDTop->Position());
  else legend->SetTop(UDTop->Position());
}

// ---- Title ----------------------------------------------------------------
void TFormLumLegend::MemoTextChange(TObject*) {
  if (!Editing()) return;
  // Line by line, no line feed kept inside a line.
  std::string text;
  TStrings* lines = MemoText->Lines();
  for (int i = 0; i < lines->Count(); ++i) {
    std::string line = lines->Strings(i);
    line.erase(std::remove(line.begin(), line.end(), '\n'), line.end());
    text += line + '\r';
  }
  Legend()->Title()->Text()->SetText(text);
}

void TFormLumLegend::Button1Click(TObject*) {
  if (Legend() && EditStringList(this, MemoText->Lines(), false)) MemoTextChange(MemoText);
}

void TFormLumLegend::CBTextAlignChange(TObject*) {
  const int i = CBTextAlign->ItemIndex();
  if (Editing() && i >= 0) Legend()->Title()->SetTextAlignment(kTextAligns[i]);
}

void TFormLumLegend::CBTitleVisibleClick(TObject*) {
  if (Editing()) Legend()->Title()->SetVisible(CBTitleVisible->Checked());
}

// ---- Items ----------------------------------------------------------------
std::string TFormLumLegend::ItemLine(int Index) const {
  return std::to_string(Index) + " " + Legend()->Items()->Get(Index)->Text();
}

TLegendItem* TFormLumLegend::SelectedItem() const {
  TChartLegend* legend = Legend();
  const int i = LBItems->ItemIndex();
  return legend && i >= 0 && i < legend->Items()->Count() ? legend->Items()->Get(i) : nullptr;
}

void TFormLumLegend::FillItems() {
  TChartLegend* legend = Legend();
  const bool wasLoading = loading_;
  loading_ = true;
  CBCustom->SetChecked(legend->Items()->Custom());
  CBCustPosition->SetChecked(legend->Items()->CustomPosition());
  LBItems->Clear();
  for (int i = 0; i < legend->Items()->Count(); ++i) LBItems->Items()->Add(ItemLine(i));
  if (LBItems->Count() > 0) LBItems->SetItemIndex(0);
  loading_ = wasLoading;
  LBItemsClick(LBItems);
}

void TFormLumLegend::EnableItems() {
  TChartLegend* legend = Legend();
  const bool custom = legend && legend->Items()->Custom();
  const bool position = legend && legend->Items()->CustomPosition();
  SBAddItem->SetEnabled(custom);
  SBDeleteItem->SetEnabled(custom && LBItems->ItemIndex() >= 0);
  PanelItem->SetEnabled(custom && LBItems->ItemIndex() >= 0);
  for (TControl* c : std::initializer_list<TControl*>{CBItemAlign, EItemX, UDItemLeft, EItemY, UDItemTop})
    c->SetEnabled(position);
}

void TFormLumLegend::LBItemsClick(TObject*) {
  TLegendItem* item = SelectedItem();
  const bool wasLoading = loading_;
  loading_ = true;
  if (item) {
    EItemText->SetText(item->Text());
    EItemText2->SetText(item->Text2());
    CBItemAlign->SetItemIndex(ItemAlignIndex(item->Align()));
    UDItemLeft->SetPosition(item->Left());
    UDItemTop->SetPosition(item->Top());
    CBDefItemFont->SetChecked(!item->HasFont());
  }
  loading_ = wasLoading;
  EnableItems();
}

void TFormLumLegend::CBCustomClick(TObject*) {
  if (!Editing()) return;
  Legend()->Items()->SetCustom(CBCustom->Checked());
  if (!CBCustom->Checked()) FillItems();
  EnableItems();
}

void TFormLumLegend::CBCustPositionClick(TObject*) {
  if (!Editing()) return;
  Legend()->Items()->SetCustomPosition(CBCustPosition->Checked());
  EnableItems();
}

void TFormLumLegend::SBAddItemClick(TObject*) {
  TChartLegend* legend = Legend();
  if (!legend || !legend->Items()->Custom()) return;
  TLegendItems* items = legend->Items();
  const int n = items->Count();
  TLegendItem* item = items->Add();
  if (n > 0) {
    // Where the last one is, one spacing further down when there are two to take it from.
    TLegendItem* last = items->Get(n - 1);
    item->SetAlign(last->Align());
    item->SetLeft(last->Left());
    item->SetTop(n >= 2 ? last->Top() + (last->Top() - items->Get(n - 2)->Top()) : last->Top());
  }
  legend->Repaint();
  LBItems->Items()->Add(ItemLine(n));
  LBItems->SetItemIndex(n);
  LBItemsClick(LBItems);
}

void TFormLumLegend::SBDeleteItemClick(TObject*) {
  TChartLegend* legend = Legend();
  const int i = LBItems->ItemIndex();
  if (!legend || !SelectedItem()) return;
  legend->Items()->Delete(i);
  legend->Repaint();
  LBItems->Items()->Delete(i);
  LBItems->SetItemIndex(i < LBItems->Count() ? i : LBItems->Count() - 1);
  LBItemsClick(LBItems);
}

void TFormLumLegend::EItemTextChange(TObject*) {
  TLegendItem* item = Editing() ? SelectedItem() : nullptr;
  if (!item) return;
  item->SetText(EItemText->Text());
  const int i = LBItems->ItemIndex();
  LBItems->Items()->Put(i, ItemLine(i));
  LBItems->SetItemIndex(i);
}

void TFormLumLegend::EItemText2Change(TObject*) {
  if (TLegendItem* item = Editing() ? SelectedItem() : nullptr) item->SetText2(EItemText2->Text());
}

void TFormLumLegend::CBItemAlignChange(TObject*) {
  TLegendItem* item = Editing() ? SelectedItem() : nullptr;
  if (item && CBItemAlign->ItemIndex() >= 0) item->SetAlign(kItemAligns[CBItemAlign->ItemIndex()]);
}

void TFormLumLegend::EItemXChange(TObject*) {
  if (TLegendItem* item = Editing() ? SelectedItem() : nullptr) item->SetLeft(UDItemLeft->Position());
}

void TFormLumLegend::EItemYChange(TObject*) {
  if (TLegendItem* item = Editing() ? SelectedItem() : nullptr) item->SetTop(UDItemTop->Position());
}

void TFormLumLegend::Button2Click(TObject*) {
  TLegendItem* item = SelectedItem();
  if (!item) return;
  TChartLegend* legend = Legend();
  const bool own = item->HasFont();
  const int index = LBItems->ItemIndex();
  TComponentRef<TFormLumLegend> self(this);
  const bool ok = EditChartFont(this, item->Font());
  // The dialog's loop may have seen the page, the chart or the item go.
  if (!self || Legend() != legend || index >= legend->Items()->Count() || legend->Items()->Get(index) != item) return;
  if (!ok && !own) item->SetFont(nullptr);
  loading_ = true;
  CBDefItemFont->SetChecked(!item->HasFont());
  loading_ = false;
  legend->Repaint();
}

void TFormLumLegend::CBDefItemFontClick(TObject*) {
  TLegendItem* item = Editing() ? SelectedItem() : nullptr;
  if (item && CBDefItemFont->Checked()) item->SetFont(nullptr);
}
