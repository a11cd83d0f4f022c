// The navigator: a bar of nine flat buttons (First, Prior, Next, Last, Insert,
// Delete, Edit, Post, Cancel) bound to a chart that tells its owner which was
// pressed. The base bar shows the first four; the others keep their hints and take
// part in the enabling. TChartGridNavigator moves through a chart grid with all nine.
#pragma once
#include <memory>
#include <string>

#include "engine/listeners.h"
#include "platform/controls.h"
#include "platform/stdctrls.h"

class TCustomLumPanel;
class TCustomLumNavigator;
class TCustomChartGrid;
class TStringList;
class TStrings;

enum TLumNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel };
constexpr int LumNavButtonCount = 9;

// One button of the bar: two glyph images (normal, disabled) and a repeat timer
// made on the first press. The timer stops when the button is released, disabled
// or freed (it is owned by the button).
class TLumNavButton : public TSpeedButton {
  DECLARE_CLASS(TLumNavButton, TSpeedButton)
public:
  explicit TLumNavButton(TComponent* AOwner);
  int Index() const { return index_; }
  void SetIndex(int Value) { index_ = Value; }
  TTimer* RepeatTimer() const { return timer_; }
  void SetEnabled(bool Value) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void TimerTick(TObject* Sender);
  TCustomLumNavigator* Bar() const;
  int index_ = 0;
  TTimer* timer_ = nullptr;
};

using TLumNavClickEvent = TEvent<void(TObject* Sender, int Index)>;

class TCustomLumNavigator : public TPanel, public ILumEventListener {
  DECLARE_CLASS(TCustomLumNavigator, TPanel)
public:
  explicit TCustomLumNavigator(TComponent* AOwner);
  ~TCustomLumNavigator() override;

  // Custom hints, one line per button; an empty line keeps the default hint.
  TStrings* Hints() const;
  void SetHints(TStrings* Value);
  TCustomLumPanel* Panel() const { return panel_; }
  virtual void SetPanel(TCustomLumPanel* Value);
  TLumNavButton* Buttons(int Index) const { return buttons_[Index]; }
  int ButtonWidth() const { return buttonWidth_; }
  int FocusedButton() const { return focused_; }

  virtual void EnableButtons() {}
  virtual int PageCount() { return 1; }
  virtual void Print() {}

  TLumNavClickEvent OnButtonClicked;

  void LumEvent(const TLumEvent& Event) override { PanelEvent(Event); }
  void SetEnabled(bool Value) override;
  void Loaded() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  virtual void CreateButtons();
  virtual void PanelEvent(const TLumEvent& Event) { (void)Event; }
  virtual void DoButtonClicked(int Index);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;

private:
  friend class TLumNavButton;
  void InitHints();
  void Layout();
  void ButtonClick(TObject* Sender);
  void ButtonMouseDown(TLumNavButton* Button);
  void SetFocusedButton(int Index);

  std::unique_ptr<TStringList> hints_;
  std::unique_ptr<TStringList> defaultHints_;
  int buttonWidth_ = 0;
  TPoint minBtnSize_{20, 18};
  int focused_ = 0;
  TCustomLumPanel* panel_ = nullptr;
  TLumNavButton* buttons_[LumNavButtonCount] = {};
  bool laying_ = false;
};

// The navigator of a chart grid: the nine buttons move, insert, delete and edit
// the grid's points.
class TChartGridNavigator : public TCustomLumNavigator {
  DECLARE_CLASS(TChartGridNavigator, TCustomLumNavigator)
public:
  explicit TChartGridNavigator(TComponent* AOwner);
  ~TChartGridNavigator() override;
  TCustomChartGrid* Grid() const { return grid_; }
  void SetGrid(TCustomChartGrid* Value);
  void EnableButtons() override;
  // The enabling for one grid row.
  void EnableRow(int ARow);

  static void DefineProperties(TPropertyTable& t);

protected:
  void DoButtonClicked(int Index) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TCustomChartGrid* grid_ = nullptr;
};
