// Three small forms of the chart editor: the base of the data-source editors shown
// on the series page's Data Source tab (a source combo, Apply, and a close query
// that asks before pending changes are lost), the two-list series chooser, and the
// axis increment dialog with its routines.
#pragma once
#include <cstdint>
#include <string>

#include "platform/lists.h"
#include "platform/stdctrls.h"

class TChartAxis;
class TChartSeries;
class TComboFlat;
class TCustomChart;
class TLumSeriesSource;

// Base of the data-source editors. Its Tag names what it edits: a series, a chart,
// or a series source (whose series becomes TheSeries); each is let go when freed.
class TBaseSourceEditor : public TForm {
  DECLARE_CLASS(TBaseSourceEditor, TForm)
public:
  explicit TBaseSourceEditor(TComponent* AOwner) : TBaseSourceEditor(AOwner, "BaseSourceEditor") {}
  ~TBaseSourceEditor() override;

  TPanel* Pan;
  TLabel* LLabel;
  TComboFlat* CBSources;
  TPanel* PanelApply;
  TButton* BApply;

  TChartSeries* TheSeries() const { return series_; }
  TCustomChart* TheChart() const { return chart_; }
  TLumSeriesSource* TheSource() const { return source_; }

  // Whether the component may be chosen as this editor's source; none in the base.
  virtual bool IsValid(TComponent* AComponent);

  void FormShow(TObject* Sender);
  // Nothing is asked while Apply is disabled; otherwise "Apply Changes ?" with Yes
  // (apply; close only when that succeeded), No (discard and close) or Cancel (stay).
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  virtual void CBSourcesChange(TObject* Sender);
  // Writes the pending changes; the base has none to write.
  virtual void BApplyClick(TObject* Sender);

protected:
  // Named Name from the start (forms of one owner need names of their own).
  TBaseSourceEditor(TComponent* AOwner, const char* Name);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Points the editor at Series (nullptr: none), watching it.
  void SetTheSeries(TChartSeries* Series);
  void SetTheChart(TCustomChart* Chart);
  void SetTheSource(TLumSeriesSource* Source);
  // Set while the editor is being freed: handlers do nothing then.
  bool destroying_ = false;

private:
  TChartSeries* series_ = nullptr;
  TCustomChart* chart_ = nullptr;
  TLumSeriesSource* source_ = nullptr;
};

// Two lists: the items available and those chosen (in order). The buttons move the
// selected items or all of them, double-clicks move the selection, and the arrows
// order the chosen ones; OnChange follows every change of ToList. The lists share
// the width beside the buttons.
class TSelectListForm : public TForm {
  DECLARE_CLASS(TSelectListForm, TForm)
public:
  explicit TSelectListForm(TComponent* AOwner);

  TPanel* PanelLabels;
  TLabel* L1;
  TLabel* L2;
  TListBox* FromList;
  TPanel* PanelButtons;
  TButton* BRightOne;
  TButton* BRightAll;
  TButton* BLeftOne;
  TButton* BLeftAll;
  TListBox* ToList;
  TPanel* PanelOrder;
  TSpeedButton* BMoveUP;
  TSpeedButton* BMoveDown;

  TNotifyEvent OnChange;

  // Enables the buttons for the lists' contents and selection.
  void EnableButtons();

  void FormShow(TObject* Sender);
  void FormResize(TObject* Sender);
  void BRightOneClick(TObject* Sender);
  void BRightAllClick(TObject* Sender);
  void BLeftOneClick(TObject* Sender);
  void BLeftAllClick(TObject* Sender);
  void FromListDblClick(TObject* Sender);
  void ToListDblClick(TObject* Sender);
  void BMoveUPClick(TObject* Sender);
  void BMoveDownClick(TObject* Sender);
  void ListClick(TObject* Sender);

private:
  void Changed();
  void MoveSelected(int Delta);
};

// "Axis Increment": a number, or for a date-time axis one of the 27 standard steps
// or a custom text of days and a time ("1 12:00:00").
class TAxisIncrement : public TForm {
  DECLARE_CLASS(TAxisIncrement, TForm)
public:
  explicit TAxisIncrement(TComponent* AOwner);

  TRadioGroup* RadioGroup1;
  TComboFlat* CBSteps;
  TLabel* Label1;
  TEdit* ECustom;
  TCheckBox* CBExact;
  TButton* BOk;
  TButton* BCancel;

  bool IsDateTime = false;
  bool IsExact = false;
  double Increment = 0;  // days on a date-time axis
  int Step = 27;         // index into the step table; 27: none

  // The custom text of an increment in days: a time below one day, the whole days
  // and, with a fraction, a blank and the fraction as a time; one second for 0 or less.
  static std::string CustomText(double Increment);

  void FormShow(TObject* Sender);
  void RadioGroup1Click(TObject* Sender);
  void CBStepsChange(TObject* Sender);
  void CBExactClick(TObject* Sender);
  // Reads the choice into Increment and closes with OK; an unreadable text shows
  // "Incorrect value. Reason: ..." and keeps the dialog open.
  void BOkClick(TObject* Sender);

private:
  bool filling_ = false;
};

// Runs the dialog for the axis; on OK writes its Increment and ExactDateTime and
// answers true.
bool EditAxisIncrement(TComponent* AOwner, TChartAxis* Axis);
// The axis' increment as the axis page shows it: a number, or for a date-time axis
// the standard step's name (exact axes) or the custom text.
std::string IncrementText(TChartAxis* Axis);
