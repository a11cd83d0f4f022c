// The standard controls: buttons, panel, label, spin edit, track bar, check box,
// radio button, image and paint box. Each states which programmatic changes fire its
// events, as the class library does.
#pragma once
#include <memory>
#include <string>

#include "platform/forms.h"

// A push button. OnClick fires on a user click (mouse, or Space while focused) and on
// Click(); setting the caption fires nothing. Click also sets the form's ModalResult
// to the button's ModalResult. Enter in its form clicks the Default button, Escape
// the Cancel button (see TForm).
class TButton : public TWinControl {
  DECLARE_CLASS(TButton, TWinControl)
public:
  explicit TButton(TComponent* AOwner);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  void Click() override;

  static void DefineProperties(TPropertyTable& t);

private:
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

// A button with a picture beside its caption; events as TButton.
class TBitBtn : public TButton {
  DECLARE_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  // The picture; its bottom-left pixel's colour is transparent.
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }

  static void DefineProperties(TPropertyTable& t);

private:
  void GlyphChanged();
  std::unique_ptr<TBitmap> glyph_;
};

// A caption as shown: each '&' that marks an accelerator left out ("&&" shows '&').
std::string StripAccelerator(const std::string& Caption);

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A panel: bevels and a caption centred vertically. Programmatic changes fire nothing.
class TPanel : public TCustomControl {
  DECLARE_CLASS(TPanel, TCustomControl)
public:
  explicit TPanel(TComponent* AOwner);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel Value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }

private:
  TPanelBevel bevelOuter_ = bvRaised;
  TPanelBevel bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  TAlignment alignment_ = taCenter;
};

// A line of text in the font's colour. AutoSize (on by default) fits the label to its
// text. Transparent leaves the background to the parent. Programmatic changes fire
// nothing. A '&' in the caption marks the accelerator letter ("&&" is a plain '&'):
// it is not drawn, and Alt with it focuses FocusControl.
class TLabel : public TGraphicControl {
  DECLARE_CLASS(TLabel, TGraphicControl)
public:
  explicit TLabel(TComponent* AOwner);
  ~TLabel() override;
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void AdjustBounds();
  TWinControl* focusControl_ = nullptr;
  bool transparent_ = false;
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
};

// An edit with spin buttons holding an integer.
//
// Any text may be typed; Value reads the text as an integer, a text that is not one
// reading as MinValue; typed text outside MinValue..MaxValue is kept as it is. The
// spin buttons (and the Up/Down keys) step Value by Increment and clamp it to the
// range. Setting Value stores the value clamped to the range (when MaxValue differs
// from MinValue).
// Events: OnChange fires whenever the text changes - typed, stepped, or set through
// Value or Text; setting the text it already has fires nothing.
class TSpinEdit : public TWinControl {
  DECLARE_CLASS(TSpinEdit, TWinControl)
public:
  explicit TSpinEdit(TComponent* AOwner);
  int MinValue() const { return minValue_; }
  void SetMinValue(int Value) { minValue_ = Value; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int Value) { maxValue_ = Value; }
  int Increment() const { return increment_; }
  void SetIncrement(int Value) { increment_ = Value; }
  int Value() const;
  void SetValue(int NewValue);
  // The value clamped to the range (unchanged when MaxValue equals MinValue).
  int CheckValue(int NewValue) const;

  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

  // The spin buttons: Steps increments up (negative: down).
  void Spin(int Steps);

protected:
  void TextChanged() override;
  virtual void Change();

private:
  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// A track bar. Vertical bars show Min at the top (the thumb goes down as Position
// grows; the Up key lowers Position).
// Events: OnChange fires whenever Position changes - moved by the user or set by
// code, including a clamp after Min or Max changed; setting the position it already
// has fires nothing. OnEnter fires when it takes the focus by keyboard or mouse.
class TTrackBar : public TWinControl {
  DECLARE_CLASS(TTrackBar, TWinControl)
public:
  explicit TTrackBar(TComponent* AOwner);
  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  int Position() const { return position_; }
  void SetPosition(int Value);
  int Frequency() const { return frequency_; }
  void SetFrequency(int Value);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle Value);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark Value);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation Value);
  // Steps of the arrow keys and of Page Up/Down (or a click beside the thumb).
  int LineSize() const { return lineSize_; }
  void SetLineSize(int Value);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int Value);

  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

protected:
  virtual void Changed();
  // Left/Up step LineSize down, Right/Down up; Page Up/Down by PageSize; Home and End
  // go to Min and Max - in either orientation, as classic track bars do.
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

private:
  void SyncWidget();
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int frequency_ = 1;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
  TTrackBarOrientation orientation_ = trHorizontal;
  int lineSize_ = 1;
  int pageSize_ = 2;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box, with a third, grey state. A user click goes unchecked -> checked ->
// unchecked, or with AllowGrayed unchecked -> grey -> checked -> unchecked. Checked
// is true only in the checked state; setting it leaves the grey state.
// Events: OnClick fires when the user toggles it and whenever setting Checked or
// State changes the state; setting the state it already has fires nothing.
class TCheckBox : public TWinControl {
  DECLARE_CLASS(TCheckBox, TWinControl)
public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }

  static void DefineProperties(TPropertyTable& t);

private:
  void Toggle();
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

// A radio button; the radio buttons of one parent form a group.
// Events: OnClick fires when the button becomes checked - by the user or by setting
// Checked to true; the siblings it unchecks fire nothing, nor does unchecking, nor a
// click on a button that is already checked.
class TRadioButton : public TWinControl {
  DECLARE_CLASS(TRadioButton, TWinControl)
public:
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return checked_; }
  void SetChecked(bool Value);

  static void DefineProperties(TPropertyTable& t);

private:
  bool checked_ = false;
};

// Shows its picture's graphic: at its own size from the top-left, centred (Center),
// or stretched over the control (Stretch). Transparent is passed to the graphic. The
// picture's changes repaint the image; nothing fires an event.
class TImage : public TGraphicControl {
  DECLARE_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool Value);
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  // Where the graphic is drawn, in client coordinates.
  TRect DestRect() const;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;

private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};

// A control that leaves its drawing to OnPaint.
class TPaintBox : public TGraphicControl {
  DECLARE_CLASS(TPaintBox, TGraphicControl)
public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
};
