#include "gallery/shapeeditor.h"

#include <memory>

#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/backimageeditor.h"
#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/fonteditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumShape, TForm)

TFormLumShape::TFormLumShape(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "FormLumShape", "FormLumShape", 345, 261, bsSizeable);
  PC1 = ClientPages(this, this, "PC1", 0, 0, 345, 261);
  TabFormat = Sheet(this, PC1, "TabFormat", "Format");
  TabBorder = Sheet(this, PC1, "TabBorder", "Border");
  TabText = Sheet(this, PC1, "TabText", "Text");
  TabGradient = Sheet(this, PC1, "TabGradient", "Gradient");
  TabShadow = Sheet(this, PC1, "TabShadow", "Shadow");
  TabEmboss = Sheet(this, PC1, "TabEmboss", "Emboss");
  TabPicture = Sheet(this, PC1, "TabPicture", "Picture");

  BBackColor = PlaceControl<TButtonColor>(this, TabFormat, "BBackColor", 8, 8, 100, 25, "&Color...");
  Button6 = PlaceControl<TButton>(this, TabFormat, "Button6", 8, 40, 100, 25, "&Pattern...");
  CBTransparent = PlaceControl<TCheckBox>(this, TabFormat, "CBTransparent", 8, 76, 120, 17, "&Transparent");
  const auto transp = EditWithUpDown(this, TabFormat, "LShadowTransp", "&Transparency:", "EShadowTransp",
                                     "UDShadowTransp", 8, 96, 102, 40, 0, 100);
  LShadowTransp = transp.Label, EShadowTransp = transp.Edit, UDShadowTransp = transp.UpDown;

  CBBevel = PlaceControl<TComboFlat>(this, TabBorder, "CBBevel", 60, 8, 90, 21);
  CBBevel->SetStyle(csDropDownList);
  for (const char* b : {"None", "Lowered", "Raised"}) CBBevel->Items()->Add(b);
  LBevel = PlaceLabel(this, TabBorder, "LBevel", 8, 12, "&Bevel:", CBBevel);
  const auto bevel = EditWithUpDown(this, TabBorder, "LBevWidth", "Siz&e:", "EBevWidth", "UDBevW", 164, 196, 8, 40, 1, 100);
  LBevWidth = bevel.Label, EBevWidth = bevel.Edit, UDBevW = bevel.UpDown;
  GBRound = PlaceControl<TGroupBox>(this, TabBorder, "GBRound", 8, 40, 160, 76, "");
  CBRound = PlaceControl<TCheckBox>(this, GBRound, "CBRound", 10, 16, 130, 17, "&Round Frame");
  const auto round = EditWithUpDown(this, GBRound, "LRoundSize", "Siz&e:", "ERoundSize", "UDRoundSize", 10, 50, 42, 40, 0, 500);
  LRoundSize = round.Label, ERoundSize = round.Edit, UDRoundSize = round.UpDown;
  Button4 = PlaceControl<TButtonPen>(this, TabBorder, "Button4", 180, 46, 100, 25, "&Frame...");
  PC1->SetActivePage(TabFormat);
  effects_.SetTabs(TabShadow, TabEmboss, TabGradient, TabPicture);
  effects_.PictureAlone = true;  // a shape's picture has no mode or place

  CenterEditorDialog(this);
  OnShow = HANDLER(FormShow);
  PC1->OnChange = HANDLER(PC1Change);
  Button6->OnClick = HANDLER(Button6Click);
  CBTransparent->OnClick = HANDLER(CBTransparentClick);
  EShadowTransp->OnChange = HANDLER(EShadowTranspChange);
  CBBevel->OnChange = HANDLER(CBBevelChange);
  EBevWidth->OnChange = HANDLER(EBevWidthChange);
  CBRound->OnClick = HANDLER(CBRoundClick);
  ERoundSize->OnChange = HANDLER(ERoundSizeChange);
}

// The controls may already be gone with tabs a host page control freed; only the
// watched pages are let go here.
TFormLumShape::~TFormLumShape() {
  delete fontEditor_.Get();
  effects_.Free();
}

TLumFontEditor* TFormLumShape::FontEditor() const { return fontEditor_.Get(); }
TLumGradientEditor* TFormLumShape::GradientEditor() const { return effects_.Gradient(); }
TLumShadowEditor* TFormLumShape::ShadowEditor() const { return effects_.Shadow(); }
TLumEmbossEditor* TFormLumShape::EmbossEditor() const { return effects_.Emboss(); }
TBackImageEditor* TFormLumShape::PictureEditor() const { return effects_.Picture(); }

TEffectPages::TParts TFormLumShape::Parts() const {
  return {shape_->Shadow(), shape_->Emboss(), shape_->Gradient(), shape_->Picture()};
}

void TFormLumShape::ApplyBevelRule() {
  const bool bevel = CBBevel->ItemIndex() > 0;
  EBevWidth->SetEnabled(bevel);
  UDBevW->SetEnabled(bevel);
}

void TFormLumShape::LoadShape(TLumCustomShape* Value) {
  loading_ = true;
  shape_ = Value;
  if (!shape_) {
    // Nothing of the last shape stays linked, on any tab: it may go now.
    BBackColor->LinkProperty(nullptr, "");
    Button4->LinkProperty(nullptr, "");
    if (TLumFontEditor* e = FontEditor()) e->LoadFont(nullptr);
    effects_.Load({});
    loading_ = false;
    return;
  }
  CBRound->SetChecked(shape_->ShapeStyle() == fosRoundRectangle);
  ERoundSize->SetEnabled(CBRound->Checked());
  UDRoundSize->SetEnabled(CBRound->Checked());
  UDRoundSize->SetPosition(shape_->RoundSize());
  CBTransparent->SetChecked(shape_->Transparent());
  CBBevel->SetItemIndex(int(shape_->Bevel()));
  UDBevW->SetPosition(shape_->BevelWidth());
  UDShadowTransp->SetPosition(shape_->Transparency());
  if (TLumFontEditor* e = FontEditor()) e->LoadFont(shape_->Font());
  effects_.Load(Parts());
  LinkButtonTo(Button4, shape_->Frame());
  BBackColor->LinkProperty(shape_, "Color");
  ApplyBevelRule();
  loading_ = false;
}

void TFormLumShape::FormShow(TObject*) {
  PC1->SetActivePage(TabFormat);
  if (shape_) LoadShape(shape_);
  TranslateControl(this);
}

void TFormLumShape::PC1Change(TObject*) { TabShown(PC1->ActivePage()); }

void TFormLumShape::TabShown(TTabSheet* Tab) {
  if (!shape_) return;
  if (Tab == TabText && !FontEditor()) {
    TLumFontEditor* e = EmbedFontEditor(TabText);
    fontEditor_.Set(e);
    e->LoadFont(shape_->Font());
    return;
  }
  const TEffectPages::TParts parts = Parts();
  effects_.Build(Tab, &parts);
}

void TFormLumShape::Button6Click(TObject*) {
  if (!shape_) return;
  TComponentRef<TFormLumShape> self(this);
  EditBrush(Button6, shape_->Brush());
  if (self) BBackColor->RepaintSymbol();  // Cancel too may have changed the colour back
}

void TFormLumShape::CBTransparentClick(TObject*) {
  if (Editing()) shape_->SetTransparent(CBTransparent->Checked());
}

void TFormLumShape::EShadowTranspChange(TObject*) {
  if (Editing()) shape_->SetTransparency(UDShadowTransp->Position());
}

void TFormLumShape::CBBevelChange(TObject*) {
  if (Editing() && CBBevel->ItemIndex() >= 0) shape_->SetBevel(TPanelBevel(CBBevel->ItemIndex()));
  ApplyBevelRule();
}

void TFormLumShape::EBevWidthChange(TObject*) {
  if (Editing()) shape_->SetBevelWidth(UDBevW->Position());
}

void TFormLumShape::CBRoundClick(TObject*) {
  ERoundSize->SetEnabled(CBRound->Checked());
  UDRoundSize->SetEnabled(CBRound->Checked());
  if (Editing()) shape_->SetShapeStyle(CBRound->Checked() ? fosRoundRectangle : fosRectangle);
}

void TFormLumShape::ERoundSizeChange(TObject*) {
  if (Editing()) shape_->SetRoundSize(UDRoundSize->Position());
}

void TFormLumShape::CBVisibleChecked(TObject* Sender) {
  if (auto* box = dynamic_cast<TCheckBox*>(Sender); box && shape_) shape_->SetVisible(box->Checked());
}

TFormLumShape* EmbedShapeEditor(TComponent* AOwner, TLumCustomShape* Shape, TWinControl* Parent) {
  auto* e = new TFormLumShape(AOwner);
  e->SetShape(Shape);
  if (!Parent) return e;
  e->SetBorderStyle(bsNone);
  e->SetParent(Parent);
  TranslateControl(e);
  e->SetAlign(alClient);  // a form that keeps ParentFont follows the parent's font by itself
  e->Show();
  return e;
}

TFormLumShape* EmbedShapeEditorInPage(TPageControl* Pages, TLumCustomShape* Shape) {
  auto* e = new TFormLumShape(Pages);
  e->SetBorderStyle(bsNone);
  e->SetParent(Pages);
  e->SetAlign(alClient);
  ScaleToParentForm(e);
  while (e->PC1->PageCount() > 0) e->PC1->Pages(0)->SetPageControl(Pages);
  Pages->SetActivePageIndex(0);
  e->LoadShape(Shape);
  return e;
}

bool EditShape(TComponent* AOwner, TLumCustomShape* Shape, bool HideTextAndShadow, const std::string& Caption) {
  TModalDialog<TFormLumShape> e(EmbedShapeEditor(AOwner, Shape));
  e->SetCaption(Caption);
  e->SetBorderStyle(bsDialog);
  e->SetHeight(e->Height() + 30);
  auto* panel = PlaceControl<TPanel>(e.Get(), e.Get(), "PanelOK", 0, e->Height() - 34, e->Width(), 34);
  panel->SetAlign(alBottom);
  panel->SetBevelOuter(bvNone);
  auto* ok = PlaceControl<TButton>(e.Get(), panel, "BOK", e->Width() - 98, 4, 75, 25, "OK");
  ok->SetModalResult(mrOk);
  if (HideTextAndShadow) {
    e->TabText->SetTabVisible(false);
    e->TabShadow->SetTabVisible(false);
  }
  CenterEditorDialog(e.Get());
  return e.Run();
}
