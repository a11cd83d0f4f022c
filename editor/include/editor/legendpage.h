// The chart editor's "Legend" page: the legend's style, place, symbols, title and
// hand-made items, and its frame through the shape editor's tabs; and the legend
// symbol editor it holds on its "Symbols" tab.
#pragma once
#include "canvas/comboflat.h"
#include "editor/chartpage.h"
#include "platform/compwatch.h"
#include "platform/stdctrls.h"

class TButtonGradient;
class TButtonPen;
class TChartLegend;
class TFormLumShape;
class TLegendItem;
class TLegendSymbol;

// "Legend Symbol Editor": width and its units, place, continuity, visibility, the
// squared and default-border rules, the border pen, gradient, shadow and emboss.
class TSymbolEditor : public TForm {
  DECLARE_CLASS(TSymbolEditor, TForm)
public:
  explicit TSymbolEditor(TComponent* AOwner);

  TLabel* LColWi;
  TEdit* SEColWi;
  TUpDown* UDColWi;
  TLabel* LColWUnits;
  TComboFlat* CBColWUnits;
  TLabel* LSymbolPos;
  TComboFlat* CBSymbolPos;
  TCheckBox* CBContinuous;
  TCheckBox* CBVisible;
  TCheckBox* CBSquared;
  TCheckBox* CBSymPen;
  TButtonPen* BSymPen;
  TButtonGradient* BSymGradient;
  TButton* Button1;
  TButton* BEmboss;

  TLegendSymbol* Symbol() const { return symbol_; }
  // Edits Value (not owned; nullptr: none) from now on and fills the controls.
  void Load(TLegendSymbol* Value);

  void FormShow(TObject* Sender);
  void SEColWiChange(TObject* Sender);
  void CBColWUnitsChange(TObject* Sender);
  void CBSymbolPosChange(TObject* Sender);
  void BoxClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  void BEmbossClick(TObject* Sender);

private:
  bool Editing() const { return symbol_ && !loading_; }
  void ApplyRules();
  TLegendSymbol* symbol_ = nullptr;
  bool loading_ = true;
};

class TFormLumLegend : public TChartObjectPage {
  DECLARE_CLASS(TFormLumLegend, TChartObjectPage)
public:
  TFormLumLegend(TComponent* AOwner, TChartLegend* ALegend);
  ~TFormLumLegend() override;

  TPageControl* PageControl1;
  // Style.
  TTabSheet* TabStyle;
  TCheckBox* CBShow;
  TCheckBox* CBInverted;
  TCheckBox* CBFontColor;
  TLabel* LLegendStyle;
  TComboFlat* CBLegendStyle;
  TLabel* LLegStyle;
  TComboFlat* CBLegStyle;
  TButtonPen* BDivLines;
  TLabel* LVertSpacing;
  TEdit* EVertSpacing;
  TUpDown* UDVertSpacing;
  TComboFlat* CBCheckBoxes;
  // Position.
  TTabSheet* TabPosition;
  TRadioGroup* RGPosition;
  TCheckBox* CBResizeChart;
  TLabel* LTopPos;
  TEdit* SETopPos;
  TUpDown* UDTopPos;
  TLabel* LMargin;
  TEdit* SEMargin;
  TUpDown* UDMargin;
  TGroupBox* GBCustom;
  TCheckBox* CBCustPos;
  TCheckBox* CBPosPercent;
  TLabel* LCustLeft;
  TEdit* ECustLeft;
  TUpDown* UDLeft;
  TLabel* LCustTop;
  TEdit* ECustTop;
  TUpDown* UDTop;
  // Symbols.
  TTabSheet* TabSymbols;
  // Title.
  TTabSheet* TabTitle;
  TPageControl* PageControl2;
  TTabSheet* TabTitleOptions;
  TLabel* LMemoText;
  TMemo* MemoText;
  TButton* Button1;
  TLabel* LTextAlign;
  TComboFlat* CBTextAlign;
  TCheckBox* CBTitleVisible;
  // Items.
  TTabSheet* TabItems;
  TCheckBox* CBCustom;
  TCheckBox* CBCustPosition;
  TSpeedButton* SBAddItem;
  TSpeedButton* SBDeleteItem;
  TListBox* LBItems;
  TPanel* PanelItem;
  TLabel* LItemText;
  TEdit* EItemText;
  TLabel* LItemText2;
  TEdit* EItemText2;
  TLabel* LItemAlign;
  TComboFlat* CBItemAlign;
  TLabel* LItemX;
  TEdit* EItemX;
  TUpDown* UDItemLeft;
  TLabel* LItemY;
  TEdit* EItemY;
  TUpDown* UDItemTop;
  TButton* Button2;
  TCheckBox* CBDefItemFont;

  // The legend edited; nullptr once its chart was freed.
  TChartLegend* Legend() const { return WatchedChart() ? legend_ : nullptr; }
  // The embedded editors: the frame's (made by the constructor), the title's (on the
  // first visit of "Title") and the symbol editor (on the first show).
  TFormLumShape* ShapeEditor() const;
  TFormLumShape* TitleEditor() const;
  TSymbolEditor* SymbolEditor() const;

  void FormShow(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void PageControl2Change(TObject* Sender);
  void CBShowClick(TObject* Sender);
  void CBInvertedClick(TObject* Sender);
  void CBFontColorClick(TObject* Sender);
  void CBLegendStyleChange(TObject* Sender);
  void CBLegStyleChange(TObject* Sender);
  void EVertSpacingChange(TObject* Sender);
  void CBCheckBoxesChange(TObject* Sender);
  void RGPositionClick(TObject* Sender);
  void CBResizeChartClick(TObject* Sender);
  void SETopPosChange(TObject* Sender);
  void SEMarginChange(TObject* Sender);
  void CBCustPosClick(TObject* Sender);
  void CBPosPercentClick(TObject* Sender);
  void ECustLeftChange(TObject* Sender);
  void ECustTopChange(TObject* Sender);
  void MemoTextChange(TObject* Sender);
  void Button1Click(TObject* Sender);
  void CBTextAlignChange(TObject* Sender);
  void CBTitleVisibleClick(TObject* Sender);
  void CBCustomClick(TObject* Sender);
  void CBCustPositionClick(TObject* Sender);
  void SBAddItemClick(TObject* Sender);
  void SBDeleteItemClick(TObject* Sender);
  void LBItemsClick(TObject* Sender);
  void EItemTextChange(TObject* Sender);
  void EItemText2Change(TObject* Sender);
  void CBItemAlignChange(TObject* Sender);
  void EItemXChange(TObject* Sender);
  void EItemYChange(TObject* Sender);
  void Button2Click(TObject* Sender);
  void CBDefItemFontClick(TObject* Sender);

protected:
  void ChartFreed() override;

private:
  bool Editing() const { return !loading_ && Legend(); }
  void FillMargin();
  void FillCustomPosition();
  void EnablePosition();
  void FillTitle();
  void FillItems();
  void EnableItems();
  std::string ItemLine(int Index) const;
  TLegendItem* SelectedItem() const;

  TChartLegend* legend_;
  bool loading_ = true;
  TComponentRef<TFormLumShape> shapeEditor_;
  TComponentRef<TFormLumShape> titleEditor_;
  TComponentRef<TSymbolEditor> symbolEditor_;
};
