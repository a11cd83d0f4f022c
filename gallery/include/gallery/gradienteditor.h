// The gradient editor ("Gradient Editor"): visibility, direction, three colours,
// balance, radial offset, angle and sub-gradient of a gradient, with named presets, a
// live preview and a gallery of the ten directions; and the button that shows a
// gradient sample and opens the editor.
//
// Modal (EditGradient, TButtonGradient): Cancel, or any end but OK (the close box, the
// Escape key), puts back the gradient as it was shown,
// but only when a colour, the visibility, the direction, the balance or the radial
// offset was changed; presets, the angle and the sub-gradient alone are kept.
// Embedded (EmbedGradientEditor): no OK or Cancel; every change is live.
#pragma once
#include <memory>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include "engine/panel.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TChartGalleryPanel;
class TButtonGradient;

// A panel that paints nothing but its background, filled with its own Gradient().
class TPreviewGradient : public TCustomLumPanelExtended {
  DECLARE_CLASS(TPreviewGradient, TCustomLumPanelExtended)
public:
  explicit TPreviewGradient(TComponent* AOwner);

protected:
  void InternalDraw(const TRect& UserRect) override;
};

class TLumGradientEditor : public TForm {
  DECLARE_CLASS(TLumGradientEditor, TForm)
public:
  explicit TLumGradientEditor(TComponent* AOwner);
  ~TLumGradientEditor() override;

  // The gradient edited, not owned: a TLumGradient, or a sub-gradient (whose editor
  // has no SubGradient tab).
  TCustomLumGradient* Gradient() const { return gradient_; }
  // The gradient as it was when last set.
  TCustomLumGradient* UndoGradient() const { return undo_.get(); }
  // A change Cancel undoes was made since the gradient was set.
  bool Modified() const { return modified_; }
  // Every colour control stays enabled, whatever the gradient's visibility; BEnd and
  // BSwap are hidden.
  bool HideEnd() const { return hideEnd_; }
  void SetHideEnd(bool Value);
  // Set while the controls are being filled: the handlers write nothing then.
  bool Loading() const { return loading_; }
  TPreviewGradient* Preview() const { return preview_; }

  // Makes Value the gradient edited (also as Tag), takes the undo copy and fills
  // every control, the preview and the direction gallery.
  virtual void SetGradient(TCustomLumGradient* Value);
  // Fills every control from the gradient.
  virtual void LoadControls();
  // The preview takes the gradient's visibility, direction and colours; the direction
  // gallery its colours.
  virtual void UpdatePreview();

  TPanel* Panel1;
  TCheckBox* CBVisible;
  TLabel* LDirection;
  TComboFlat* CBDirection;
  TPageControl* PageControl1;
  TTabSheet* TabDefault;
  TListBox* Gallery;
  TTabSheet* TabColors;
  TButtonColor* BStart;
  TButtonColor* BMid;
  TButtonColor* BEnd;
  TButton* BSwap;
  TCheckBox* CBMid;
  TTabSheet* TabOptions;
  TLabel* LBalance;
  TScrollBar* SBBalance;
  TLabel* LabelBalance;
  TLabel* LAngle;
  TEdit* EAngle;
  TUpDown* UDAngle;
  TTrackBar* TBAngle;
  TGroupBox* GroupBox1;
  TLabel* LRadialH;
  TTrackBar* TrackBar1;
  TLabel* LRadialX;
  TLabel* LRadialV;
  TTrackBar* TrackBar2;
  TLabel* LRadialY;
  TTabSheet* TabDirections;
  TChartGalleryPanel* Directions;
  TTabSheet* TabSubGradient;
  TCheckBox* CBSubVisible;
  TButtonGradient* BSubEdit;
  TLabel* LSubTransp;
  TScrollBar* SBTransp;
  TPanel* Panel2;
  TButton* BOk;
  TButton* BCancel;

  void FormShow(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void CBDirectionChange(TObject* Sender);
  void GalleryClick(TObject* Sender);
  void BStartClick(TObject* Sender);
  void BMidClick(TObject* Sender);
  void BEndClick(TObject* Sender);
  void BSwapClick(TObject* Sender);
  void CBMidClick(TObject* Sender);
  void SBBalanceChange(TObject* Sender);
  void EAngleChange(TObject* Sender);
  void TBAngleChange(TObject* Sender);
  void TrackBar1Change(TObject* Sender);
  void TrackBar2Change(TObject* Sender);
  void DirectionsChangeChart(TObject* Sender);
  void CBSubVisibleClick(TObject* Sender);
  void SBTranspChange(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void BCancelClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

private:
  TSubGradient* SubGradient() const;
  bool Editing() const { return gradient_ && !loading_; }
  void Changed() { modified_ = true; }
  // Rule 1: the colour and direction controls follow the visibility (or HideEnd).
  void ApplyVisibleRule();
  // Rule 2: the middle colour needs a banded direction; the radial offset, Radial.
  void ApplyDirectionRule();
  void DirectionChanged(TGradientDirection Value);
  void BuildDirections();
  void RefreshDirections();
  void SelectDirectionChart();
  void ShowBalance();
  TCustomLumGradient* gradient_ = nullptr;
  std::unique_ptr<TCustomLumGradient> undo_;
  TPreviewGradient* preview_ = nullptr;
  bool modified_ = false;
  bool loading_ = false;
  bool hideEnd_ = false;
};

// Modal: the editor over Control's form on Gradient. HideEnd hides BEnd and BSwap and
// keeps the colour controls enabled; HideVisible hides CBVisible. True on OK.
bool EditGradient(TControl* Control, TCustomLumGradient* Gradient, bool HideEnd = false, bool HideVisible = false);
// Embedded: a new editor owned by Owner on Gradient (also its Tag), without its
// OK/Cancel panel and that much shorter; the caller embeds it (EmbedEditorForm).
TLumGradientEditor* EmbedGradientEditor(TComponent* Owner, TCustomLumGradient* Gradient);

// A button showing a sample of its linked gradient; a click opens the gradient editor
// and, on OK, repaints and fires OnClick.
class TButtonGradient : public TLumButton {
  DECLARE_CLASS(TButtonGradient, TLumButton)
public:
  explicit TButtonGradient(TComponent* AOwner);
  ~TButtonGradient() override;
  TCustomLumGradient* Gradient() const;
  // Passed on to the editor it opens.
  bool HideEnd() const { return hideEnd_; }
  void SetHideEnd(bool Value) { hideEnd_ = Value; }
  void Click() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  // The gradient over the symbol box, framed black when the drawing canvas's own
  // gradient is visible, else grey.
  void DrawSymbol(TCanvas* ACanvas) override;

private:
  bool hideEnd_ = false;
  TLumGradientEditor* editor_ = nullptr;
  TNotifyEvent editorOnDestroy_;
};

// Links the button to the gradient (nullptr unlinks) and repaints it.
void LinkGradient(TButtonGradient* Button, TCustomLumGradient* Gradient);
