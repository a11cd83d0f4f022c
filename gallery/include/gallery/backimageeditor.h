// The picture page: loads or clears a picture from a file, shows it with its size and
// file extension, sets its transparency and opens its filters. For a back image
// (TBackImage) it also sets how the picture is drawn (stretched, tiled, centred or at
// a place of its own) and that place. Used embedded only: every change goes to the
// picture at once.
#pragma once
#include "canvas/filters.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"

class TBackImage;

class TBackImageEditor : public TForm {
  DECLARE_CLASS(TBackImageEditor, TForm)
public:
  explicit TBackImageEditor(TComponent* AOwner);

  TPanel* PanelImage;
  TImage* Image1;
  TLabel* LabelSize;
  TLabel* LabelExt;
  TButton* BBrowse;
  TCheckBox* CBTransp;
  TButton* Button1;
  TRadioGroup* RGBitmap;
  TGroupBox* GBPosition;
  TLabel* LLeft;
  TEdit* ELeft;
  TUpDown* UDLeft;
  TLabel* LTop;
  TEdit* ETop;
  TUpDown* UDTop;
  TPanel* PanelButtons;
  TButton* Button2;
  TButton* Button3;

  // The picture edited (not owned); a TBackImage also gets its mode and place.
  TLumPicture* Picture() const { return picture_; }
  void LoadBackImage(TLumPicture* Value);
  // Fills the controls from the picture as it is now.
  void RefreshControls();

  void FormShow(TObject* Sender);
  void BBrowseClick(TObject* Sender);
  void RGBitmapClick(TObject* Sender);
  void CBTranspClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  void PositionChange(TObject* Sender);

private:
  TBackImage* BackImage() const;
  void ShowPicture();
  TLumPicture* picture_ = nullptr;
  // Set while the controls are filled from the picture: their events write nothing.
  bool loading_ = false;
};

// A back image editor without owner embedded in Page; the caller frees it.
TBackImageEditor* EmbedBackImageEditor(TWinControl* Page);
