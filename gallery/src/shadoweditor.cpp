#include "gallery/shadoweditor.h"

#include <memory>

#include "canvas/procs.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "platform/rtl.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumShadowEditor, TForm)
IMPLEMENT_CLASS(TLumEmbossEditor, TLumShadowEditor)

TLumShadowEditor::TLumShadowEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumShadowEditor", "Shadow editor", 247, 192);
  CBVisible = PlaceControl<TCheckBox>(this, this, "CBVisible", 8, 8, 97, 17, "&Visible");

  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 8, 32, 117, 74, "Size:");
  const auto size = EditUpDownRows(this, GroupBox1,
                                   {{"Label1", "&Horiz:", "Edit1", "UDShadowSize"},
                                    {"Label2", "V&ert:", "EVertSize", "UDShaVert"}},
                                   8, 50, 18, 40, -1000, 1000);
  Label1 = size[0].Label, Edit1 = size[0].Edit, UDShadowSize = size[0].UpDown;
  Label2 = size[1].Label, EVertSize = size[1].Edit, UDShaVert = size[1].UpDown;

  const auto transp = EditWithUpDown(this, this, "Label3", "&Transparency:", "EShadowTransp", "UDShadowTransp", 8,
                                     84, 116, 36, 0, 100);
  Label3 = transp.Label, EShadowTransp = transp.Edit, UDShadowTransp = transp.UpDown;

  BShadowColor = PlaceControl<TButtonColor>(this, this, "BShadowColor", 136, 38, 103, 25, "&Color...");
  TBColor = PlaceControl<TTrackBar>(this, this, "TBColor", 132, 70, 111, 28);
  TBColor->SetMax(240);
  TBColor->SetLineSize(5);
  TBColor->SetPageSize(20);
  TBColor->SetFrequency(20);

  CBSmooth = PlaceControl<TCheckBox>(this, this, "CBSmooth", 150, 118, 89, 17, "&Smooth");
  CBSmooth->SetChecked(true);
  TBBlur = PlaceControl<TTrackBar>(this, this, "TBBlur", 40, 138, 150, 26);
  TBBlur->SetMin(-75);
  TBBlur->SetMax(75);
  TBBlur->SetPageSize(10);
  TBBlur->SetFrequency(5);
  Label4 = PlaceLabel(this, this, "Label4", 8, 146, "&Blur:", TBBlur);
  LBlur = PlaceLabel(this, this, "LBlur", 196, 146, "0");
  CBClip = PlaceControl<TCheckBox>(this, this, "CBClip", 8, 170, 80, 17, "Cl&ip");
  BOK = PlaceControl<TButton>(this, this, "BOK", 164, 164, 75, 25, "OK");

  OnShow = HANDLER(FormShow);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  Edit1->OnChange = HANDLER(Edit1Change);
  EVertSize->OnChange = HANDLER(EVertSizeChange);
  EShadowTransp->OnChange = HANDLER(EShadowTranspChange);
  CBSmooth->OnClick = HANDLER(CBSmoothClick);
  CBClip->OnClick = HANDLER(CBClipClick);
  TBBlur->OnChange = HANDLER(TBBlurChange);
  TBColor->OnChange = HANDLER(TBColorChange);
  BShadowColor->OnClick = HANDLER(BShadowColorClick);
  BOK->OnClick = HANDLER(BOKClick);
}

TLumShadowEditor::~TLumShadowEditor() {
  // The colour button lets go before the shadow's owner may free it.
  BShadowColor->LinkProperty(nullptr, "");
}

void TLumShadowEditor::TakeColor() { ColorToHLS(shadow_->Color(), hue_, lightness_, saturation_); }

void TLumShadowEditor::LoadShadow(TLumShadow* Value) {
  shadow_ = Value;
  if (!shadow_) {
    BShadowColor->LinkProperty(nullptr, "");
    return;
  }
  // Filling the controls writes nothing back: the lightness slider alone would turn
  // the colour into its rounded HLS neighbour.
  const bool wasLoading = loading_;
  loading_ = true;
  UDShadowSize->SetPosition(shadow_->HorizSize());
  UDShaVert->SetPosition(shadow_->VertSize());
  UDShadowTransp->SetPosition(shadow_->Transparency());
  CBSmooth->SetChecked(shadow_->Smooth());
  CBVisible->SetChecked(shadow_->Visible());
  Edit1->SetEnabled(CBVisible->Checked());
  EVertSize->SetEnabled(CBVisible->Checked());
  TBBlur->SetPosition(shadow_->SmoothBlur());
  LBlur->SetCaption(IntToStr(TBBlur->Position()));
  TBBlur->SetEnabled(shadow_->Smooth());
  TakeColor();
  TBColor->SetPosition(lightness_);
  CBClip->SetChecked(shadow_->Clip());
  CBClip->SetEnabled(shadow_->Smooth());
  BShadowColor->LinkProperty(shadow_, "Color");
  loading_ = wasLoading;
}

void TLumShadowEditor::FormShow(TObject*) {
  TranslateControl(this);
  if (Tag()) shadow_ = reinterpret_cast<TLumShadow*>(Tag());
  if (shadow_) LoadShadow(shadow_);
  loading_ = false;
}

void TLumShadowEditor::CBVisibleClick(TObject*) {
  if (!shadow_) return;
  shadow_->SetVisible(CBVisible->Checked());
  Edit1->SetEnabled(CBVisible->Checked());
  EVertSize->SetEnabled(CBVisible->Checked());
}

void TLumShadowEditor::Edit1Change(TObject*) {
  if (Editing()) shadow_->SetHorizSize(UDShadowSize->Position());
}

void TLumShadowEditor::EVertSizeChange(TObject*) {
  if (Editing()) shadow_->SetVertSize(UDShaVert->Position());
}

void TLumShadowEditor::EShadowTranspChange(TObject*) {
  if (Editing()) shadow_->SetTransparency(UDShadowTransp->Position());
}

void TLumShadowEditor::CBSmoothClick(TObject*) {
  if (!shadow_) return;
  shadow_->SetSmooth(CBSmooth->Checked());
  TBBlur->SetEnabled(shadow_->Smooth());
  CBClip->SetEnabled(shadow_->Smooth());
}

void TLumShadowEditor::CBClipClick(TObject*) {
  if (shadow_) shadow_->SetClip(CBClip->Checked());
}

void TLumShadowEditor::TBBlurChange(TObject*) {
  if (!Editing()) return;
  shadow_->SetSmoothBlur(TBBlur->Position());
  LBlur->SetCaption(IntToStr(TBBlur->Position()));
}

// The hue and saturation stay those taken from the colour, so the slider can go to
// black or white and back without losing them.
void TLumShadowEditor::TBColorChange(TObject*) {
  if (!Editing()) return;
  shadow_->SetColor(HLSToColor(hue_, std::uint16_t(TBColor->Position()), saturation_));
  BShadowColor->RepaintSymbol();
}

void TLumShadowEditor::BShadowColorClick(TObject*) {
  if (!shadow_) return;
  TakeColor();
  // The slider shows the new colour's lightness (moving it writes nothing).
  const bool wasLoading = loading_;
  loading_ = true;
  TBColor->SetPosition(lightness_);
  loading_ = wasLoading;
}

void TLumShadowEditor::BOKClick(TObject*) { Close(); }

// ---------------------------------------------------------------------------
TLumEmbossEditor::TLumEmbossEditor(TComponent* AOwner) : TLumShadowEditor(AOwner) {
  SetName("LumEmbossEditor");
  SetCaption("Emboss Editor");
}

namespace {

bool EditModally(TLumShadowEditor* Editor, TLumShadow* Shadow) {
  TModalDialog<TLumShadowEditor> dialog(Editor);
  dialog->SetShadow(Shadow);
  dialog->BOK->Show();
  return dialog.Run();
}

template <class E>
E* Embed(TWinControl* Page) {
  auto* editor = new E(nullptr);
  editor->BOK->Hide();
  EmbedEditorForm(editor, Page);
  return editor;
}

}  // namespace

bool EditShadow(TControl* Control, TLumShadow* Shadow) {
  return EditModally(CreateEditorDialog<TLumShadowEditor>(Control), Shadow);
}

bool EditEmboss(TControl* Control, TLumEmboss* Emboss) {
  return EditModally(CreateEditorDialog<TLumEmbossEditor>(Control), Emboss);
}

TLumShadowEditor* EmbedShadowEditor(TWinControl* Page) { return Embed<TLumShadowEditor>(Page); }
TLumEmbossEditor* EmbedEmbossEditor(TWinControl* Page) { return Embed<TLumEmbossEditor>(Page); }
