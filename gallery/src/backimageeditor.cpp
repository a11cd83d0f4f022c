#include "gallery/backimageeditor.h"


#include "canvas/lumconst.h"
#include "engine/backimage.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/filterseditor.h"
#include "platform/rtl.h"

using namespace formbuild;

IMPLEMENT_CLASS(TBackImageEditor, TForm)

TBackImageEditor::TBackImageEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "BackImageEditor", "BackImageEditor", 281, 250, bsNone);

  PanelImage = PlaceControl<TPanel>(this, this, "PanelImage", 8, 8, 140, 108);
  PanelImage->SetBevelOuter(bvLowered);
  Image1 = PlaceControl<TImage>(this, PanelImage, "Image1", 2, 2, 136, 104);
  Image1->SetStretch(true);
  LabelSize = PlaceLabel(this, this, "LabelSize", 8, 122, "0x0");
  LabelExt = PlaceLabel(this, this, "LabelExt", 96, 122, "");
  LabelExt->SetAutoSize(false);  // under the picture's right edge
  LabelExt->SetBounds(96, 122, 52, 13);
  LabelExt->SetAlignment(taRightJustify);

  BBrowse = PlaceControl<TButton>(this, this, "BBrowse", 158, 8, 115, 25, "B&rowse...");
  CBTransp = PlaceControl<TCheckBox>(this, this, "CBTransp", 158, 42, 115, 17, "&Transparent");
  Button1 = PlaceControl<TButton>(this, this, "Button1", 158, 66, 115, 25, "&Filters...");

  RGBitmap = PlaceControl<TRadioGroup>(this, this, "RGBitmap", 8, 142, 140, 100, "St&yle");
  for (const char* s : {"Stretch", "Tile", "Center", "C&ustom"}) RGBitmap->Items()->Add(s);
  GBPosition = PlaceControl<TGroupBox>(this, this, "GBPosition", 158, 142, 115, 100, "Position:");
  const auto rows = EditUpDownRows(this, GBPosition, {{"LLeft", "&Left:", "ELeft", "UDLeft"}, {"LTop", "T&op:", "ETop", "UDTop"}},
                                   10, 48, 24, 42, -32000, 32000);
  LLeft = rows[0].Label, ELeft = rows[0].Edit, UDLeft = rows[0].UpDown;
  LTop = rows[1].Label, ETop = rows[1].Edit, UDTop = rows[1].UpDown;

  // Used embedded only: the OK/Cancel area stays hidden.
  PanelButtons = PlaceControl<TPanel>(this, this, "PanelButtons", 0, 216, 281, 34);
  PanelButtons->SetAlign(alBottom);
  PanelButtons->SetBevelOuter(bvNone);
  Button2 = PlaceControl<TButton>(this, PanelButtons, "Button2", 118, 4, 75, 25, "OK");
  Button2->SetModalResult(mrOk);
  Button3 = PlaceControl<TButton>(this, PanelButtons, "Button3", 198, 4, 75, 25, "Cancel");
  Button3->SetModalResult(mrCancel);
  PanelButtons->Hide();

  OnShow = HANDLER(FormShow);
  BBrowse->OnClick = HANDLER(BBrowseClick);
  RGBitmap->OnClick = HANDLER(RGBitmapClick);
  CBTransp->OnClick = HANDLER(CBTranspClick);
  Button1->OnClick = HANDLER(Button1Click);
  ELeft->OnChange = HANDLER(PositionChange);
  ETop->OnChange = HANDLER(PositionChange);
}

TBackImage* TBackImageEditor::BackImage() const { return dynamic_cast<TBackImage*>(picture_); }

void TBackImageEditor::LoadBackImage(TLumPicture* Value) {
  loading_ = true;
  picture_ = Value;
  if (TBackImage* b = BackImage()) {
    RGBitmap->SetItemIndex(int(b->Mode()));
    UDLeft->SetPosition(b->Left());
    UDTop->SetPosition(b->Top());
  }
  loading_ = false;
  RefreshControls();
}

void TBackImageEditor::RefreshControls() {
  const bool had = loading_;
  loading_ = true;
  const bool hasGraphic = picture_ && !picture_->Empty();
  RGBitmap->SetEnabled(hasGraphic);
  if (CBTransp->Visible()) {
    CBTransp->SetEnabled(hasGraphic);
    CBTransp->SetChecked(hasGraphic && picture_->Graphic()->Transparent());
  }
  if (TBackImage* b = BackImage()) {
    const bool custom = b->Mode() == pbmCustom;
    for (TControl* c : {static_cast<TControl*>(ELeft), static_cast<TControl*>(UDLeft), static_cast<TControl*>(ETop),
                        static_cast<TControl*>(UDTop)})
      c->SetEnabled(custom);
  } else {
    RGBitmap->Hide();
    GBPosition->Hide();
  }
  LabelSize->SetVisible(hasGraphic);
  LabelExt->SetVisible(hasGraphic);
  if (hasGraphic) {
    LabelSize->SetCaption(IntToStr(picture_->Width()) + "x" + IntToStr(picture_->Height()));
    LabelExt->SetCaption(TPicture::GraphicExtension(picture_->Graphic()->ClassType()));
  }
  ShowPicture();
  loading_ = had;
}

void TBackImageEditor::ShowPicture() {
  const bool hasGraphic = picture_ && !picture_->Empty();
  Image1->Picture()->SetGraphic(hasGraphic ? picture_->FilteredGraphic() : nullptr);
  BBrowse->SetCaption(hasGraphic ? LumMsg_Clear : LumMsg_Browse);
}

void TBackImageEditor::FormShow(TObject*) {
  TranslateControl(this);
  if (picture_) LoadBackImage(picture_);
}

void TBackImageEditor::BBrowseClick(TObject*) {
  if (!picture_) return;
  if (BrowsePicture(this, picture_)) RefreshControls();
}

void TBackImageEditor::RGBitmapClick(TObject*) {
  TBackImage* b = BackImage();
  if (loading_ || !b || RGBitmap->ItemIndex() < 0) return;
  b->SetMode(TBackImageMode(RGBitmap->ItemIndex()));
  RefreshControls();
}

void TBackImageEditor::CBTranspClick(TObject*) {
  if (loading_ || !CBTransp->Enabled() || !picture_ || picture_->Empty()) return;
  picture_->Graphic()->SetTransparent(CBTransp->Checked());
  ShowPicture();
}

void TBackImageEditor::Button1Click(TObject*) {
  if (!picture_ || !EditImageFilters(this, picture_)) return;
  ShowPicture();
}

void TBackImageEditor::PositionChange(TObject* Sender) {
  TBackImage* b = BackImage();
  if (loading_ || !b || !Showing()) return;
  if (Sender == ELeft) b->SetLeft(UDLeft->Position());
  if (Sender == ETop) b->SetTop(UDTop->Position());
}

TBackImageEditor* EmbedBackImageEditor(TWinControl* Page) {
  auto* e = new TBackImageEditor(nullptr);
  EmbedEditorForm(e, Page);
  return e;
}
