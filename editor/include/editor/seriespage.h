// The series page of the chart editor: one series at a time, chosen in the combo at
// its top, with the tabs "Format" (the series type's own editor, found by class
// name), "General", "Marks" and "Data Source" (points typed in a grid, random
// points, another series, a function, or a registered source class).
#pragma once
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "engine/listeners.h"
#include "engine/series.h"
#include "platform/stdctrls.h"

class TButtonPen;
class TChartGrid;
class TChartGridNavigator;
class TChartListBox;
class TCustomAxisPanel;
class TFormLumShape;
class TMarginsEditor;

// After each chart event the page handled: the event's kind and series.
using TSeriesPageEvent = TEvent<void(TObject* Sender, TLumSeriesEventStyle Event, TChartSeries* Series)>;

// Every control writes its property at once; nothing is written while the page fills
// its controls or while a page change is under way. The page follows the series'
// chart as a listener and lets go of a series, chart or list box that is freed.
class TFormLumSeries : public TForm, public ILumEventListener {
  DECLARE_CLASS(TFormLumSeries, TForm)
public:
  explicit TFormLumSeries(TComponent* AOwner);
  ~TFormLumSeries() override;

  TPanel* Panel1;
  TComboFlat* CBSeries;
  TPaintBox* PaintBox1;
  TCheckBox* CBPersistent;
  TImage* ImageSeries;
  TLabel* LabelSeriesClass;
  TPageControl* PageSeries;
  TTabSheet* TheTabSheet;
  TTabSheet* TabGeneral;
  TTabSheet* TabMarks;
  TTabSheet* TabDataSource;

  // General
  TLabel* LCursor;
  TComboFlat* CBCursor;
  TSpeedButton* SpeedButton1;
  TLabel* LDepth;
  TEdit* EDepth;
  TUpDown* UDDepth;
  TCheckBox* CBDepth;
  TLabel* LFormat;
  TComboFlat* CBFormat;
  TButton* Button1;
  TLabel* LPercentFormat;
  TEdit* EPercentFormat;
  TButton* Button2;
  TGroupBox* GBSort;
  TComboFlat* CBSortBy;
  TComboFlat* CBSortOrder;
  TCheckBox* CBShowInEditor;
  TButton* BVisual;
  TGroupBox* GBHorizAxis;
  TComboFlat* CBHorizAxis;
  TCheckBox* CBXDateTime;
  TGroupBox* GBVertAxis;
  TComboFlat* CBVertAxis;
  TCheckBox* CBYDateTime;
  TCheckBox* CBZDateTime;
  TGroupBox* GBLegend;
  TCheckBox* CBShowInLegend;
  TLabel* LLegendTitle;
  TEdit* ELegendTitle;

  // Marks
  TPageControl* PageControlMarks;
  TTabSheet* TabMarkStyle;
  TCheckBox* CBMarksVisible;
  TCheckBox* CBMarkClip;
  TCheckBox* CBAllVisible;
  TCheckBox* CBMultiLine;
  TCheckBox* CBFontSeriesColor;
  TLabel* LMarksAngle;
  TEdit* SEMarksAngle;
  TUpDown* UDMarksAngle;
  TLabel* LEvery;
  TEdit* EMarksEvery;
  TUpDown* UDEvery;
  TLabel* LTextAlign;
  TComboFlat* CBTextAlign;
  TRadioGroup* RGMarkStyle;
  TTabSheet* TabArrows;
  TButtonPen* BMarkLinCol;
  TButton* BCalloutPointer;
  TLabel* LArrowLength;
  TEdit* SEArrowLength;
  TUpDown* UDArrowsLength;
  TLabel* LArrowDist;
  TEdit* EArrowDist;
  TUpDown* UDArrowDist;
  TLabel* LHead;
  TComboFlat* CBHead;
  TLabel* LHeadSize;
  TEdit* Edit1;
  TUpDown* UDHeadSize;
  TTabSheet* TabSymbol;
  TTabSheet* TabMargins;

  // Data Source
  TPanel* PanelStyle;
  TComboFlat* CBDataSourcestyle;
  TPanel* PanelGrid;
  TChartGrid* ChartGrid1;
  TChartGridNavigator* ChartGridNavigator1;
  TPanel* PanelRandomSource;
  TLabel* LSamples;
  TEdit* ESamples;
  TCheckBox* CBSamplesDefault;
  TButton* BApplyRandom;
  TButton* Button3;
  TPanel* PanelSeriesSource;
  TLabel* LSeriesSource;
  TComboFlat* CBSeriesSource;
  TButton* BApplySource;
  TButton* BClearSource;

  // Set by the editor before the page shows: the "Persistent" box, the Data Source
  // tab, and the General and Marks tabs.
  bool ShowPersistent = false;
  bool AllowDataSource = true;
  bool ShowGeneralTab = true;
  bool ShowMarksTab = true;

  // The series edited (nullptr none) and its chart.
  TChartSeries* Series() const { return series_; }
  TCustomAxisPanel* TheChart() const { return chart_; }
  // Set while the controls are filled, and while a page change asked by the page
  // control is under way: the handlers write nothing then.
  bool Changing() const { return changing_; }
  bool ChangingPage() const { return changingPage_; }
  // The Data Source tab's editor (the function editor, or a source class's), the
  // type editor on "Format", the marks' symbol and margins editors; nullptr none.
  TForm* SourceEditor() const { return sourceEditor_; }
  TForm* TypeEditor() const { return typeEditor_; }
  TFormLumShape* SymbolEditor() const { return symbolEditor_; }
  TMarginsEditor* MarginsEditor() const { return marginsEditor_; }
  // The "&Visible" box that takes the symbol editor's transparency box's place.
  TCheckBox* CBSymbolVisible() const { return symbolVisible_; }

  // The editor's series list: its other-items list is this page's series combo, and
  // choosing a series here selects it there alone. nullptr: the page fills its combo
  // from the chart itself.
  TChartListBox* SeriesListBox() const { return listBox_; }
  void SetSeriesListBox(TChartListBox* Value);
  // Refills the combo from the list box (or the chart), keeping the series selected.
  void FillSeriesCombo();
  // Selects the series in the combo (adding it when missing) and edits it.
  void SelectSeries(TChartSeries* Value);
  // After each chart event handled (the editor rebuilds its tree).
  TSeriesPageEvent OnSeriesEvent;

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  // Sets the series from the combo (the editor calls it too); rebuilds the tabs
  // when it is another series than the one they were built for.
  void CBSeriesChange(TObject* Sender);
  // Refills the controls of the active tab.
  void PageSeriesChange(TObject* Sender);
  // Leaving the tab needs the source editor's consent (its close query).
  void PageSeriesChanging(TObject* Sender, bool& AllowChange);
  void CBPersistentClick(TObject* Sender);
  void PaintBox1Paint(TObject* Sender);
  void PaintBox1Click(TObject* Sender);

  void CBCursorChange(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void EDepthChange(TObject* Sender);
  void CBDepthClick(TObject* Sender);
  void CBFormatChange(TObject* Sender);
  void Button1Click(TObject* Sender);
  void EPercentFormatChange(TObject* Sender);
  void Button2Click(TObject* Sender);
  void CBHorizAxisChange(TObject* Sender);
  void CBVertAxisChange(TObject* Sender);
  void DateTimeClick(TObject* Sender);
  void CBShowInEditorClick(TObject* Sender);
  void CBSortChange(TObject* Sender);
  void CBShowInLegendClick(TObject* Sender);
  void ELegendTitleChange(TObject* Sender);
  void BVisualClick(TObject* Sender);

  void PageControlMarksChange(TObject* Sender);
  void CBMarksVisibleClick(TObject* Sender);
  void CBMarkClipClick(TObject* Sender);
  void SEMarksAngleChange(TObject* Sender);
  void EMarksEveryChange(TObject* Sender);
  void CBMultiLineClick(TObject* Sender);
  void CBAllVisibleClick(TObject* Sender);
  void RGMarkStyleClick(TObject* Sender);
  void CBTextAlignChange(TObject* Sender);
  void CBFontSeriesColorClick(TObject* Sender);
  void SEArrowLengthChange(TObject* Sender);
  void EArrowDistChange(TObject* Sender);
  void BCalloutPointerClick(TObject* Sender);
  void CBHeadChange(TObject* Sender);
  void Edit1Change(TObject* Sender);

  void CBDataSourcestyleChange(TObject* Sender);
  void ESamplesChange(TObject* Sender);
  void CBSamplesDefaultClick(TObject* Sender);
  void BApplyRandomClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void CBSeriesSourceChange(TObject* Sender);
  void BApplySourceClick(TObject* Sender);
  void BClearSourceClick(TObject* Sender);

  void LumEvent(const TLumEvent& Event) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool Editing() const { return series_ && !changing_ && !changingPage_; }
  void SetTheSeries(TChartSeries* Value);
  void SetTheChart(TCustomAxisPanel* Value);
  void Rebuild(const std::string& ActiveCaption);
  void RemoveTypeEditor();
  void SelectTab(const std::string& Caption);
  void ShowNoSeries();
  // Forgets the series everywhere a sub-editor holds it or one of its parts.
  void DropSeries();
  void FillGeneral();
  void ChooseFormat(bool Percent);
  void FillAxisCombo(TComboFlat* Combo, bool Horizontal);
  void FillSort();
  void EnableSortOrder();
  void FillMarks();
  void FillMarkStyle();
  void FillArrows();
  void FillSymbol();
  void FillMargins();
  void EnableMultiLine();
  bool AllMarksVisible() const;
  // Data Source
  void FillDataSourceStyles();
  int StyleOfSeries() const;
  void FillDataSource();
  void RebuildDataSource();
  bool FreeSourceEditor();
  void ShowSourceEditor(TForm* Editor, bool DataButtons);
  void RemoveOwnSources(bool Manual);
  void FillSeriesSources();
  void ShowSamples();
  void CheckSamplesDefault();

  TChartSeries* series_ = nullptr;
  TChartSeries* lastSeries_ = nullptr;  // compared only
  TCustomAxisPanel* chart_ = nullptr;
  TChartListBox* listBox_ = nullptr;
  bool changing_ = true;
  bool changingPage_ = false;
  bool destroying_ = false;
  TForm* sourceEditor_ = nullptr;
  int sourceStyle_ = -1;  // the style the tab was last built for
  TForm* typeEditor_ = nullptr;
  TFormLumShape* symbolEditor_ = nullptr;
  TCheckBox* symbolVisible_ = nullptr;
  TMarginsEditor* marginsEditor_ = nullptr;
  std::vector<int> horizCustom_, vertCustom_;  // custom axis numbers behind the combo items
};
