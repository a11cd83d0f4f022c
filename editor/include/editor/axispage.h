// The chart editor's "Axis" page: one axis of a chart at a time (the six standard
// axes and the custom ones, which it adds and deletes), its scales, title, labels,
// ticks, grid, position and custom label items; and the small dialog that asks for
// an axis maximum or minimum, as a number or as a date and a time.
#pragma once
#include <string>

#include "canvas/comboflat.h"
#include "editor/chartpage.h"
#include "platform/compwatch.h"
#include "platform/stdctrls.h"

class TAxisItem;
class TButtonPen;
class TChartAxis;
class TFormLumShape;
class TLumFontEditor;

using TAxisEvent = TEvent<void(TChartAxis* Axis)>;

class TFormLumAxis : public TChartObjectPage {
  DECLARE_CLASS(TFormLumAxis, TChartObjectPage)
public:
  TFormLumAxis(TComponent* AOwner, TChartAxis* AAxis);
  ~TFormLumAxis() override;

  // Left-hand column.
  TPanel* PanelAxes;
  TListBox* LBAxes;
  TCheckBox* CBShow;
  TCheckBox* CBAxisBeh;
  TSpeedButton* BAdd;
  TSpeedButton* BDelete;

  TPageControl* PageAxis;
  // Scales.
  TTabSheet* TabScales;
  TCheckBox* CBAutomatic;
  TCheckBox* CBVisible;
  TCheckBox* CBInverted;
  TCheckBox* CBLogarithmic;
  TLabel* LLogBase;
  TEdit* ELogBase;
  TCheckBox* LogE;
  TGroupBox* GBMinimum;
  TCheckBox* CBAutoMin;
  TButton* BAxisMin;
  TLabel* LMinOff;
  TEdit* EMinOff;
  TUpDown* UDMinOff;
  TCheckBox* CBMinRound;
  TLabel* LAxisMin;
  TGroupBox* GBMaximum;
  TCheckBox* CBAutoMax;
  TButton* BAxisMax;
  TLabel* LMaxOff;
  TEdit* EMaxOff;
  TUpDown* UDMaxOff;
  TCheckBox* CBMaxRound;
  TLabel* LAxisMax;
  TGroupBox* GBIncrement;
  TButton* BIncre;
  TLabel* LIncre;
  TLabel* LAxisIncre;
  TCheckBox* CBShowAll;
  // Title.
  TTabSheet* TabTitle;
  TPageControl* PageTitle;
  TTabSheet* TabTitleStyle;
  TLabel* LTitle;
  TEdit* ETitle;
  TLabel* LTitleAngle;
  TEdit* SETitleAngle;
  TUpDown* UDTitleAngle;
  TLabel* LTitleSize;
  TEdit* SETitleSize;
  TUpDown* UDTitleSize;
  TCheckBox* CBTitleVisible;
  // Labels.
  TTabSheet* TabLabels;
  TPageControl* PageLabels;
  TTabSheet* TabLabelsStyle;
  TCheckBox* CBLabels;
  TCheckBox* CBMultiline;
  TCheckBox* CBOnAxis;
  TCheckBox* CBRoundFirst;
  TCheckBox* CBAlternate;
  TCheckBox* CBLabelsBehind;
  TLabel* LLabelsSize;
  TEdit* SELabelsSize;
  TUpDown* UDLabelsSize;
  TLabel* LLabelsAngle;
  TEdit* SELabelsAngle;
  TUpDown* UDLabelsAngle;
  TLabel* LSepar;
  TEdit* SESepar;
  TUpDown* UDSepar;
  TLabel* LLabelStyle;
  TComboFlat* CBLabelStyle;
  TTabSheet* TabLabelsFormat;
  TLabel* LFormat;
  TComboFlat* CBFormat;
  TButton* Button1;
  TCheckBox* CBExpo;
  TCheckBox* CBLabelAlign;
  TTabSheet* TabLabelsText;
  // Ticks.
  TTabSheet* TabTicks;
  TButtonPen* BAxisPen;
  TButtonPen* BTickPen;
  TButtonPen* BTickInner;
  TButtonPen* BTickMinor;
  TLabel* LAxisTickLength;
  TEdit* SEAxisTickLength;
  TUpDown* UDAxisTickLength;
  TLabel* LInnerTicksLength;
  TEdit* SEInnerTicksLength;
  TUpDown* UDInnerTicksLength;
  TLabel* LAxisMinorTickLen;
  TEdit* SEAxisMinorTickLen;
  TUpDown* UDAxisMinorTickLen;
  TLabel* LMinorC;
  TEdit* Edit3;
  TUpDown* UDMinorC;
  TCheckBox* CBTickOnLabels;
  // Grid.
  TTabSheet* TabGrid;
  TButtonPen* BAxisGrid;
  TButtonPen* BMinorGrid;
  TLabel* LMinorCount;
  TEdit* SEMinorCount;
  TUpDown* UDMinorCount;
  TLabel* LGridZ;
  TEdit* Edit2;
  TUpDown* UDGridZ;
  TCheckBox* CBGridCentered;
  TLabel* LMarksEvery;
  TEdit* EMarksEvery;
  TUpDown* UDEvery;
  // Position.
  TTabSheet* TabPosition;
  TLabel* LPos;
  TEdit* EPos;
  TUpDown* UDPos;
  TLabel* LStart;
  TEdit* EStart;
  TUpDown* UDStart;
  TLabel* LEnd;
  TEdit* EEnd;
  TUpDown* UDEnd;
  TLabel* LZ;
  TEdit* Edit1;
  TUpDown* UDZ;
  TLabel* LPosUnits;
  TComboFlat* CBPosUnits;
  TCheckBox* CBOtherSide;
  TCheckBox* CBHorizAxis;
  // Items.
  TTabSheet* TabItems;
  TCheckBox* CBItemsAuto;
  TListBox* ListItems;
  TPanel* PanelItem;
  TLabel* LItemValue;
  TEdit* EItemValue;
  TLabel* LItemText;
  TMemo* AxisItemText;
  TButton* ButtonFormat;

  // The axis edited; nullptr once its chart (or, for a custom axis, the axis) is gone.
  TChartAxis* Axis() const;
  // Edits Value from now on (an axis of the same chart) and shows it.
  void SetAxis(TChartAxis* Value);
  // Fired with a custom axis that turned horizontal or vertical.
  TAxisEvent OnChangeHorizAxis;
  // Set while the controls are filled: the edit and up-down handlers write nothing.
  bool Loading() const { return loading_; }

  // The embedded editors, nullptr until the page was first shown.
  TFormLumShape* TitleEditor() const;
  TLumFontEditor* LabelsFontEditor() const;

  // Fills the axis list (the six standard axes, then "Custom n") and selects the
  // current axis.
  void FillAxes();
  // Links the pens and fills the visible tab from the axis.
  void RefreshPage();

  void FormShow(TObject* Sender);
  void PageAxisChanging(TObject* Sender, bool& AllowChange);
  void PageAxisChange(TObject* Sender);
  void LBAxesClick(TObject* Sender);
  void CBShowClick(TObject* Sender);
  void CBAxisBehClick(TObject* Sender);
  void BAddClick(TObject* Sender);
  void BDeleteClick(TObject* Sender);
  void CBAutomaticClick(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void CBInvertedClick(TObject* Sender);
  void CBLogarithmicClick(TObject* Sender);
  void ELogBaseChange(TObject* Sender);
  void LogEClick(TObject* Sender);
  void CBAutoMinClick(TObject* Sender);
  void CBAutoMaxClick(TObject* Sender);
  void BAxisMinClick(TObject* Sender);
  void BAxisMaxClick(TObject* Sender);
  void EMinOffChange(TObject* Sender);
  void EMaxOffChange(TObject* Sender);
  void CBMinRoundClick(TObject* Sender);
  void CBMaxRoundClick(TObject* Sender);
  void BIncreClick(TObject* Sender);
  void CBShowAllClick(TObject* Sender);
  void ETitleChange(TObject* Sender);
  void SETitleAngleChange(TObject* Sender);
  void SETitleSizeChange(TObject* Sender);
  void CBTitleVisibleClick(TObject* Sender);
  void PageTitleChange(TObject* Sender);
  void LabelsBoxClick(TObject* Sender);
  void SELabelsSizeChange(TObject* Sender);
  void SELabelsAngleChange(TObject* Sender);
  void SESeparChange(TObject* Sender);
  void CBLabelStyleChange(TObject* Sender);
  void CBFormatChange(TObject* Sender);
  void Button1Click(TObject* Sender);
  void CBExpoClick(TObject* Sender);
  void CBLabelAlignClick(TObject* Sender);
  void TickLengthChange(TObject* Sender);
  void MinorCountChange(TObject* Sender);
  void CBTickOnLabelsClick(TObject* Sender);
  void Edit2Change(TObject* Sender);
  void CBGridCenteredClick(TObject* Sender);
  void EMarksEveryChange(TObject* Sender);
  void EPosChange(TObject* Sender);
  void EStartChange(TObject* Sender);
  void EEndChange(TObject* Sender);
  void Edit1Change(TObject* Sender);
  void CBPosUnitsChange(TObject* Sender);
  void CBOtherSideClick(TObject* Sender);
  void CBHorizAxisClick(TObject* Sender);
  void CBItemsAutoClick(TObject* Sender);
  void ListItemsClick(TObject* Sender);
  void EItemValueChange(TObject* Sender);
  void AxisItemTextChange(TObject* Sender);
  void ButtonFormatClick(TObject* Sender);

protected:
  void ChartFreed() override;
  // A custom axis freed: the list loses its line; the one shown gives way to the
  // line before it, and the embedded editors to its title and labels font.
  void LumEvent(const TLumEvent& Event) override;

private:
  bool Editing() const { return !loading_ && Axis(); }
  // The title and labels font editors (when built) on the axis shown.
  void ReloadEditors();
  void FillScales();
  void FillMinMax();
  void FillTitle();
  void FillLabelsStyle();
  void FillLabelsFormat();
  void FillTicks();
  void FillGrid();
  void FillPosition();
  void FillItems();
  void EnableLogBase();
  void ShowAxis(int ListIndex);
  void BuildEditors();
  void LinkPens();
  TAxisItem* SelectedItem() const;

  TChartAxis* axis_ = nullptr;
  bool loading_ = true;
  bool updating_ = false;
  bool built_ = false;
  TComponentRef<TFormLumShape> titleEditor_;
  TComponentRef<TLumFontEditor> fontEditor_;
};

// "Axis Maximum and Minimum": a number, or for a date-time axis a date and a time.
class TAxisMaxMin : public TForm {
  DECLARE_CLASS(TAxisMaxMin, TForm)
public:
  explicit TAxisMaxMin(TComponent* AOwner);

  TLabel* Label1;
  TEdit* EMaximum;
  TLabel* Label2;
  TEdit* EMinimum;
  TButton* BOk;
  TButton* BCancel;

  bool IsDateTime = false;
  double Value = 0;

  void FormShow(TObject* Sender);
  // Reads the value and closes with OK; a text that is no number, date or time
  // raises the conversion error and the dialog stays open.
  void BOkClick(TObject* Sender);
};

// Asks for the current axis' maximum (or minimum) with the range dialog, captioned
// CaptionWord, a blank and the axis' title or name; on OK writes it and unchecks
// AutoBox. A value past the other end raises the axis exception and changes nothing.
// True when the axis took a value.
bool EditAxisMaxMin(TFormLumAxis* Page, const std::string& CaptionWord, TCheckBox* AutoBox, bool IsMaximum);

// The date and time text of an axis end: the date-time text while the value is a
// valid date, else the time alone; a number axis shows it in its values format.
std::string AxisEndText(TChartAxis* Axis, double Value);
