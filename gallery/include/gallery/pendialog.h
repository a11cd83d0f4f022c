// The pen editor ("Border Editor") and the button that shows a pen sample and opens it.
// The dialog edits a chart pen (TChartPen: visibility, small dots, end style) or a
// plain class-library pen (TPen: style, width, colour) live; Cancel puts back what
// the pen was when the dialog was shown.
#pragma once
#include <memory>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include "platform/stdctrls.h"

class TPenDialog : public TForm {
  DECLARE_CLASS(TPenDialog, TForm)
public:
  explicit TPenDialog(TComponent* AOwner);
  ~TPenDialog() override;

  // The pen edited: a TChartPen or a TPen, not owned.
  TPersistent* Pen() const { return pen_; }
  void SetPen(TPersistent* Value) { pen_ = Value; }
  // The pen as it was at the last show; made on the first show.
  TChartPen* BackupPen() const { return backupPen_.get(); }
  // Something was changed since the dialog was last shown.
  bool Modified() const { return modified_; }

  TCheckBox* CBVisible;
  TLabel* LStyle;
  TComboFlat* CBStyle;
  TLabel* LWidth;
  TEdit* SEWidth;
  TUpDown* UDWidth;
  TButtonColor* BColor;
  TComboFlat* CBEndStyle;
  TLabel* LSpace;
  TEdit* ESpace;
  TUpDown* UDSpace;
  TButton* BOk;
  TButton* BCancel;

  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void SEWidthChange(TObject* Sender);
  void CBStyleChange(TObject* Sender);
  void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void ESpaceChange(TObject* Sender);
  void CBEndStyleChange(TObject* Sender);
  void BColorClick(TObject* Sender);
  void BCancelClick(TObject* Sender);

private:
  TChartPen* ChartPen() const { return dynamic_cast<TChartPen*>(pen_); }
  bool SmallDotsOffered() const;
  void SetSmallDotControls(bool SmallDots);
  void ApplyWidthRule();
  void Changed() { modified_ = true; }

  TPersistent* pen_ = nullptr;
  std::unique_ptr<TChartPen> backupPen_;
  bool modified_ = false;
  // Cleared while the dialog fills its controls on show, so their change events
  // leave the pen alone.
  bool showing_ = false;
};

// A pen dialog over Owner's form for Pen; HideColor hides the colour button.
TPenDialog* CreatePenDialog(TControl* Owner, TPersistent* Pen, bool HideColor = false);

// A button showing a sample of its linked pen (LinkProperty with the pen and "");
// a click opens the pen dialog and, on OK, repaints and fires OnClick.
class TButtonPen : public TLumButton {
  DECLARE_CLASS(TButtonPen, TLumButton)
public:
  explicit TButtonPen(TComponent* AOwner);
  ~TButtonPen() override;
  bool HideColor() const { return hideColor_; }
  void SetHideColor(bool Value) { hideColor_ = Value; }
  void Click() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  void DrawSymbol(TCanvas* ACanvas) override;

private:
  bool hideColor_ = false;
  TPenDialog* dialog_ = nullptr;
  TNotifyEvent dialogOnDestroy_;
};
