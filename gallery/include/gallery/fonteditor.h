// The chart font editor ("LumFont Editor"): name, size, style and colour; spacing,
// outline, quality and depth; and on further tabs the font's shadow, emboss, gradient
// and picture through their own pages, each built on the first visit of its tab.
// Embedded in a page it edits the font live; EditChartFont runs it modally with OK
// and Cancel, Cancel putting back the font as it was.
#pragma once
#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include <memory>

#include "gallery/effectpages.h"
#include "platform/stdctrls.h"

class TButtonPen;
class TBackImageEditor;
class TLumEmbossEditor;
class TLumGradientEditor;
class TLumShadowEditor;

class TLumFontEditor : public TForm {
  DECLARE_CLASS(TLumFontEditor, TForm)
public:
  explicit TLumFontEditor(TComponent* AOwner);
  ~TLumFontEditor() override;

  TPageControl* PageControl1;
  TTabSheet* TabFont;
  TLabel* LName;
  TComboFlat* CBName;
  TLabel* LSize;
  TEdit* ESize;
  TUpDown* UDSize;
  TGroupBox* GBStyle;
  TCheckBox* CBBold;
  TCheckBox* CBItalic;
  TCheckBox* CBUnder;
  TCheckBox* CBStrike;
  TButtonColor* BColor;
  TButton* Button3;
  TTabSheet* TabOptions;
  TLabel* LInter;
  TEdit* EInter;
  TUpDown* UDInter;
  TButtonPen* BOutline;
  TCheckBox* CBOutGrad;
  TLabel* LQuality;
  TComboFlat* CBQuality;
  TLabel* LDepth;
  TEdit* EDepth;
  TUpDown* UDDepth;
  TTabSheet* TabShadow;
  TTabSheet* TabEmboss;
  TTabSheet* TabGradient;
  TTabSheet* TabPicture;
  TPanel* PanelButtons;
  TButton* Button1;
  TButton* Button2;

  // The font edited (not owned).
  TLumFont* TheFont() const { return font_; }
  void SetTheFont(TLumFont* Value) { font_ = Value; }
  // Edits Font from now on: fills every control and every page already built.
  void LoadFont(TLumFont* Font);
  // The font as it was when the modal editor was first shown (nullptr embedded).
  TLumFont* Backup() const { return backup_.get(); }

  // The pages of the further tabs, nullptr until their tab was first shown.
  TLumShadowEditor* ShadowEditor() const;
  TLumEmbossEditor* EmbossEditor() const;
  TLumGradientEditor* GradientEditor() const;
  TBackImageEditor* PictureEditor() const;

  void FormShow(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void CBNameChange(TObject* Sender);
  void ESizeChange(TObject* Sender);
  void StyleClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void EInterChange(TObject* Sender);
  void CBOutGradClick(TObject* Sender);
  void CBQualityChange(TObject* Sender);
  void EDepthChange(TObject* Sender);
  void Button2Click(TObject* Sender);

private:
  friend bool EditChartFont(TComponent* AOwner, TLumFont* Font);
  bool Editing() const { return font_ && !loading_; }
  void LoadNameSizeStyle();
  void FillNames();
  void Restore();
  TLumFont* font_ = nullptr;
  std::unique_ptr<TLumFont> backup_;
  bool loading_ = false;
  bool restored_ = false;
  bool translated_ = false;
  // The shadow, emboss, gradient and picture pages of the further tabs.
  TEffectPages effects_;
  TEffectPages::TParts Parts() const;
};

// Modal, with OK and Cancel; true on OK. Cancel (or closing) puts the font back.
bool EditChartFont(TComponent* AOwner, TLumFont* Font);
// A font editor without owner filling Page; the caller frees it and calls LoadFont.
TLumFontEditor* EmbedFontEditor(TWinControl* Page);
// The platform's font dialog on Font (name, size, style, colour); true when confirmed,
// and then the font has the dialog's values (its extras kept).
bool EditFontWithDialog(TComponent* AOwner, TLumFont* Font);
