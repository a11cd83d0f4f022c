// The shadow editor ("Shadow editor") and the emboss editor ("Emboss Editor", the same
// form): visibility, sizes, transparency, colour with a lightness slider, smoothing
// with blur, and clipping. Every change goes to the object at once; there is no undo
// copy and no Cancel. Used modally (EditShadow, EditEmboss) or embedded in a page
// (EmbedShadowEditor, EmbedEmbossEditor, then LoadShadow).
#pragma once
#include <cstdint>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "platform/stdctrls.h"

class TLumShadowEditor : public TForm {
  DECLARE_CLASS(TLumShadowEditor, TForm)
public:
  explicit TLumShadowEditor(TComponent* AOwner);
  ~TLumShadowEditor() override;

  // The shadow edited, not owned (an emboss is a shadow too).
  TLumShadow* Shadow() const { return shadow_; }
  void SetShadow(TLumShadow* Value) { shadow_ = Value; }
  // Set from creation until the end of each show, and while LoadShadow fills the
  // controls: the value handlers write nothing then.
  bool Loading() const { return loading_; }
  // Makes Value the shadow edited and fills every control from it.
  void LoadShadow(TLumShadow* Value);

  TCheckBox* CBVisible;
  TGroupBox* GroupBox1;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDShadowSize;
  TLabel* Label2;
  TEdit* EVertSize;
  TUpDown* UDShaVert;
  TLabel* Label3;
  TEdit* EShadowTransp;
  TUpDown* UDShadowTransp;
  TButtonColor* BShadowColor;
  TTrackBar* TBColor;
  TCheckBox* CBSmooth;
  TLabel* Label4;
  TTrackBar* TBBlur;
  TLabel* LBlur;
  TCheckBox* CBClip;
  TButton* BOK;

  void FormShow(TObject* Sender);
  void CBVisibleClick(TObject* Sender);
  void Edit1Change(TObject* Sender);
  void EVertSizeChange(TObject* Sender);
  void EShadowTranspChange(TObject* Sender);
  void CBSmoothClick(TObject* Sender);
  void CBClipClick(TObject* Sender);
  void TBBlurChange(TObject* Sender);
  void TBColorChange(TObject* Sender);
  void BShadowColorClick(TObject* Sender);
  void BOKClick(TObject* Sender);

private:
  // The value handlers act only then.
  bool Editing() const { return shadow_ && !loading_; }
  void TakeColor();
  TLumShadow* shadow_ = nullptr;
  bool loading_ = true;
  std::uint16_t hue_ = 0, lightness_ = 0, saturation_ = 0;
};

class TLumEmbossEditor : public TLumShadowEditor {
  DECLARE_CLASS(TLumEmbossEditor, TLumShadowEditor)
public:
  explicit TLumEmbossEditor(TComponent* AOwner);
};

// Modal: a dialog over Control's form on the object, shown until BOK closes it. BOK
// closes the form as Close does, which ends a modal run with Cancel: the answer is
// false then, and callers rely on the live changes, not on the answer.
bool EditShadow(TControl* Control, TLumShadow* Shadow);
bool EditEmboss(TControl* Control, TLumEmboss* Emboss);
// Embedded: a new editor without owner and without BOK, in Page. The caller frees it
// and calls LoadShadow with the object to edit.
TLumShadowEditor* EmbedShadowEditor(TWinControl* Page);
TLumEmbossEditor* EmbedEmbossEditor(TWinControl* Page);
