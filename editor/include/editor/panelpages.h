// Three chart-level pages of the chart editor: the panel ("Panel Editor": colour,
// borders, bevels, margins, gradient, shadow, emboss and back image), the chart's
// four titles, and its four walls. Each edits live and does nothing while it is not
// showing.
#pragma once
#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include "editor/chartpage.h"
#include "gallery/effectpages.h"
#include "platform/compwatch.h"
#include "platform/stdctrls.h"

class TBackImageEditor;
class TButtonGradient;
class TButtonPen;
class TChartTitle;
class TChartWall;
class TCustomChart;
class TCustomLumPanelExtended;
class TFormLumShape;
class TLumEmbossEditor;
class TLumGradientEditor;
class TLumShadowEditor;

class TFormLumPanel : public TChartObjectPage {
  DECLARE_CLASS(TFormLumPanel, TChartObjectPage)
public:
  TFormLumPanel(TComponent* AOwner, TCustomLumPanelExtended* APanel);
  ~TFormLumPanel() override;

  TPageControl* PageControl1;
  TTabSheet* TabColor;
  TButtonColor* BPanelColor;
  TCheckBox* CBColorDef;
  TCheckBox* CBImageInside;
  TTabSheet* TabBorders;
  TLabel* LPanelWi;
  TEdit* SEPanelWi;
  TUpDown* UDPanelWi;
  TLabel* LPanelBor;
  TEdit* SEPanelBor;
  TUpDown* UDPanelBor;
  TLabel* LRound;
  TEdit* ERound;
  TUpDown* UDRound;
  TLabel* LInner;
  TComboFlat* CBInner;
  TLabel* LOuter;
  TComboFlat* CBOuter;
  TButtonPen* BBorder;
  TTabSheet* TabMargins;
  TEdit* SETopMa;
  TUpDown* UDTopMa;
  TEdit* SELeftMa;
  TUpDown* UDLeftMa;
  TEdit* SEBotMa;
  TUpDown* UDBotMa;
  TEdit* SERightMa;
  TUpDown* UDRightMa;
  TBevel* BevelMargins;
  TLabel* LMarUnits;
  TComboFlat* CBMarUnits;
  TTabSheet* TabGradient;
  TTabSheet* TabShadow;
  TTabSheet* TabEmboss;
  TTabSheet* TabImage;

  // The panel edited; nullptr once it was freed.
  TCustomLumPanelExtended* Panel() const;
  // The embedded editors, nullptr until their tab was first shown.
  TLumGradientEditor* GradientEditor() const;
  TLumShadowEditor* ShadowEditor() const;
  TLumEmbossEditor* EmbossEditor() const;
  TBackImageEditor* ImageEditor() const;

  void FormShow(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void BPanelColorClick(TObject* Sender);
  void CBColorDefClick(TObject* Sender);
  void CBImageInsideClick(TObject* Sender);
  void SEPanelWiChange(TObject* Sender);
  void SEPanelBorChange(TObject* Sender);
  void ERoundChange(TObject* Sender);
  void CBInnerChange(TObject* Sender);
  void CBOuterChange(TObject* Sender);
  void MarginChange(TObject* Sender);
  void CBMarUnitsChange(TObject* Sender);

protected:
  void ChartFreed() override;

private:
  bool Editing() const { return !updating_ && Showing() && Panel(); }
  void RefreshColorDefault();
  void SetMarginRanges();
  TCustomLumPanelExtended* panel_;
  bool updating_ = true;
  TEffectPages effects_;
  TEffectPages::TParts Parts() const;
};

class TFormLumTitle : public TChartObjectPage {
  DECLARE_CLASS(TFormLumTitle, TChartObjectPage)
public:
  TFormLumTitle(TComponent* AOwner, TChartTitle* ATitle, TCustomChart* AChart);
  ~TFormLumTitle() override;

  TPanel* PanelTop;
  TComboFlat* CBTitles;
  TPageControl* PageControlTitle;
  TTabSheet* TabStyle;
  TLabel* LText;
  TMemo* MText;
  TButton* Button1;
  TCheckBox* CBVisible;
  TCheckBox* CBAdjust;
  TLabel* LAlign;
  TComboFlat* CBAlign;
  TGroupBox* GBPosition;
  TCheckBox* CBCustPos;
  TLabel* LCustLeft;
  TEdit* ECustLeft;
  TUpDown* UDLeft;
  TLabel* LCustTop;
  TEdit* ECustTop;
  TUpDown* UDTop;
  TLabel* LMargin;
  TEdit* Edit1;
  TUpDown* UDMargin;

  // The chart and the title edited; nullptr once the chart was freed.
  TCustomChart* Chart() const;
  TChartTitle* Title() const;
  // The title's shape editor, whose tabs follow "Style".
  TFormLumShape* ShapeEditor() const;

  void FormShow(TObject* Sender);
  void CBTitlesChange(TObject* Sender);
  void PageControlTitleChange(TObject* Sender);
  void MTextChange(TObject* Sender);
  void Button1Click(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void CBAdjustClick(TObject* Sender);
  void CBAlignChange(TObject* Sender);
  void CBCustPosClick(TObject* Sender);
  void ECustLeftChange(TObject* Sender);
  void ECustTopChange(TObject* Sender);
  void Edit1Change(TObject* Sender);

protected:
  void ChartFreed() override;

private:
  bool Editing() const { return !loading_ && !updating_ && Showing() && Title(); }
  void FillTitle();
  void EnableCustom();
  TChartTitle* title_;
  bool loading_ = false;
  bool updating_ = true;
  TComponentRef<TFormLumShape> shapeEditor_;
};

class TFormLumWall : public TChartObjectPage {
  DECLARE_CLASS(TFormLumWall, TChartObjectPage)
public:
  TFormLumWall(TComponent* AOwner, TChartWall* AWall);

  TPanel* PanelTop;
  TCheckBox* CBView3dWalls;
  TLabel* LAllSize;
  TEdit* EAllSize;
  TUpDown* UDAllSize;
  TTabControl* TabSubWalls;
  TCheckBox* CBVisible;
  TButtonColor* BWallColor;
  TButtonPen* BWallPen;
  TButton* BWallBrush;
  TButtonGradient* BGradient;
  TLabel* LWallSize;
  TEdit* SEWallSize;
  TUpDown* UDWallSize;
  TCheckBox* CBDark3D;
  TCheckBox* CBTransp;
  TLabel* LTransp;
  TEdit* Edit1;
  TUpDown* UDTransp;
  TCheckBox* CBAutoHide;
  TGroupBox* GBPosition;
  TLabel* LStart;
  TEdit* Edit2;
  TUpDown* UDStart;
  TLabel* LEnd;
  TEdit* Edit3;
  TUpDown* UDEnd;
  TButton* BImage;
  TButton* BShadow;
  TButton* BEmboss;
  TButton* BVisual;

  // The wall edited; nullptr once its chart was freed.
  TChartWall* Wall() const { return WatchedChart() ? wall_ : nullptr; }
  TCustomChart* Chart() const;

  void FormShow(TObject* Sender);
  void TabSubWallsChange(TObject* Sender);
  void CBView3dWallsClick(TObject* Sender);
  void EAllSizeChange(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void BWallBrushClick(TObject* Sender);
  void BGradientClick(TObject* Sender);
  void SEWallSizeChange(TObject* Sender);
  void CBDark3DClick(TObject* Sender);
  void CBTranspClick(TObject* Sender);
  void Edit1Change(TObject* Sender);
  void CBAutoHideClick(TObject* Sender);
  void Edit2Change(TObject* Sender);
  void Edit3Change(TObject* Sender);
  void BImageClick(TObject* Sender);
  void BShadowClick(TObject* Sender);
  void BEmbossClick(TObject* Sender);
  void BVisualClick(TObject* Sender);

protected:
  void ChartFreed() override;

private:
  bool Editing() const { return !updating_ && Showing() && Wall(); }
  void FillWall();
  TChartWall* wall_;
  bool updating_ = true;
};
