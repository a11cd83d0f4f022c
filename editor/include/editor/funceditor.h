// The function editors: the series page's "Function" source editor (the function
// class, its source series, and the function's own options page found by class
// name), the base of those options pages, the period options of most functions and
// the close-location-value function's options.
#pragma once
#include <string>
#include <vector>

#include "editor/sourceeditor.h"
#include "engine/function.h"
#include "engine/listeners.h"
#include "engine/panel.h"
#include "platform/compwatch.h"

// Chooses the series' function class (applied to the series at once), its sources
// (one series and value list, or an ordered list of several) and shows the class's
// options page. Apply checks every chosen source before the series' sources change.
class TLumFuncEditor : public TBaseSourceEditor, public ILumEventListener {
  DECLARE_CLASS(TLumFuncEditor, TBaseSourceEditor)
public:
  explicit TLumFuncEditor(TComponent* AOwner);
  ~TLumFuncEditor() override;

  TSpeedButton* SpeedButton1;
  TPageControl* PageControl1;
  TTabSheet* TabSource;
  TPanel* PanSingle;
  TLabel* LSingle;
  TComboFlat* CBSingle;
  TLabel* LValues;
  TComboFlat* CBValues;
  TButton* BNone;
  TTabSheet* TabOptions;

  TForm* OptionsForm() const { return optionsForm_; }
  TSelectListForm* SelectForm() const { return selectForm_; }
  // The function class chosen in CBSources; nullptr none.
  TClass SelectedClass() const;

  void FormShow(TObject* Sender);
  void CBSourcesChange(TObject* Sender) override;
  void BApplyClick(TObject* Sender) override;
  void SpeedButton1Click(TObject* Sender);
  void CBSingleChange(TObject* Sender);
  void CBValuesChange(TObject* Sender);
  void BNoneClick(TObject* Sender);
  void SelectFormChange(TObject* Sender);

  void LumEvent(const TLumEvent& Event) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // The series the series' chart accepts as its sources, from the series' owner and
  // what its components own, each once; none that the editor does not show.
  std::vector<TChartSeries*> Candidates() const;
  // Refills the single combo and both lists; a pending choice (Apply enabled) is
  // kept as far as its series are still candidates, else the series' own sources.
  void FillSourceLists();
  void FillValueLists(TChartSeries* Source);
  // Removes, keeps or replaces the series' function for the class.
  void ApplyClass(TClass FunctionClass);
  void ShowOptions(TClass FunctionClass);
  void Listen(TCustomAxisPanel* Chart);
  // A series of a list only while it is still a candidate (it may be freed).
  TChartSeries* Live(const TObject* Listed) const;

  TForm* optionsForm_ = nullptr;
  TSelectListForm* selectForm_ = nullptr;
  TComponentRef<TCustomAxisPanel> listened_;
  TChartSeries* leaving_ = nullptr;  // compared only
  int busy_ = 0;  // the editor is changing the series itself
  bool fillingSingle_ = false;
};

// Base of the functions' options pages, embedded in the function editor's Options
// tab. Its Tag names the function (or the series holding it).
class TBaseFunctionEditor : public TForm {
  DECLARE_CLASS(TBaseFunctionEditor, TForm)
public:
  explicit TBaseFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner, "BaseFunctionEditor") {}
  ~TBaseFunctionEditor() override;

  bool Loading = false;
  TLumFunction* IFunction() const { return function_.Get(); }

  // Enables the owning function editor's Apply (every control change calls it).
  void MarkChanged();
  // The series of the function's chart the editor shows, by title, each with its
  // series; nothing when the function is in no chart.
  void FillSeriesList(TStrings* Items);

  void FormShow(TObject* Sender);
  // Makes the function when there is none yet, then writes the controls into it
  // inside its update block; closing is always allowed.
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  virtual void ApplyFormChanges() {}
  virtual void LoadFunction() {}

protected:
  // Named Name from the start (pages of one owner need names of their own).
  TBaseFunctionEditor(TComponent* AOwner, const char* Name);
  TLumFuncEditor* FuncEditor() const;

private:
  TComponentRef<TLumFunction> function_;
};

// The period options: number of points, alignment and how the source is cut.
class TLumFunctionEditor : public TBaseFunctionEditor {
  DECLARE_CLASS(TLumFunctionEditor, TBaseFunctionEditor)
public:
  explicit TLumFunctionEditor(TComponent* AOwner);

  TLabel* LNum;
  TEdit* ENum;
  TButton* BChange;
  TLabel* LAlign;
  TComboFlat* CBAlign;
  TLabel* LStyle;
  TComboFlat* CBStyle;

  void ApplyFormChanges() override;
  void LoadFunction() override;

  void CBStyleChange(TObject* Sender);
  void BChangeClick(TObject* Sender);
  void ControlChange(TObject* Sender);
};

// The close-location-value function's options: its volume series and accumulation.
// Its class is the one the analysis layer names (CLVFuncEditorClass).
class TCLVFuncEditor : public TBaseFunctionEditor {
  DECLARE_CLASS(TCLVFuncEditor, TBaseFunctionEditor)
public:
  explicit TCLVFuncEditor(TComponent* AOwner);

  TLabel* LVolume;
  TComboFlat* CBVolume;
  TCheckBox* CBAccumulate;

  void ApplyFormChanges() override;
  void LoadFunction() override;

  void ControlChange(TObject* Sender);
};
