#include "gallery/fonteditor.h"

#include <algorithm>

#include "canvas/canvasunit.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/backimageeditor.h"
#include "gallery/editortools.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "platform/dialogs.h"
#include "platform/rtl.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumFontEditor, TForm)

TLumFontEditor::TLumFontEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumFontEditor", "LumFont Editor", 313, 268, bsNone);

  PanelButtons = PlaceControl<TPanel>(this, this, "PanelButtons", 0, 234, 313, 34);
  PanelButtons->SetAlign(alBottom);
  PanelButtons->SetBevelOuter(bvNone);
  Button1 = PlaceControl<TButton>(this, PanelButtons, "Button1", 148, 4, 75, 25, "OK");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);
  Button2 = PlaceControl<TButton>(this, PanelButtons, "Button2", 230, 4, 75, 25, "Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);

  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, 313, 234);
  TabFont = Sheet(this, PageControl1, "TabFont", "Font");
  TabOptions = Sheet(this, PageControl1, "TabOptions", "Options");
  TabShadow = Sheet(this, PageControl1, "TabShadow", "Shadow");
  TabEmboss = Sheet(this, PageControl1, "TabEmboss", "Emboss");
  TabGradient = Sheet(this, PageControl1, "TabGradient", "Gradient");
  TabPicture = Sheet(this, PageControl1, "TabPicture", "Picture");

  CBName = PlaceControl<TComboFlat>(this, TabFont, "CBName", 56, 8, 180, 21);
  CBName->SetStyle(csDropDownList);
  CBName->SetSorted(true);
  CBName->SetDropDownCount(15);
  LName = PlaceLabel(this, TabFont, "LName", 8, 12, "&Name:", CBName);
  const auto size = EditWithUpDown(this, TabFont, "LSize", "&Size:", "ESize", "UDSize", 8, 56, 38, 44, 1, 1500);
  LSize = size.Label, ESize = size.Edit, UDSize = size.UpDown;
  GBStyle = PlaceControl<TGroupBox>(this, TabFont, "GBStyle", 8, 68, 130, 94, "Style:");
  CBBold = PlaceControl<TCheckBox>(this, GBStyle, "CBBold", 10, 18, 110, 17, "&Bold");
  CBItalic = PlaceControl<TCheckBox>(this, GBStyle, "CBItalic", 10, 36, 110, 17, "&Italic");
  CBUnder = PlaceControl<TCheckBox>(this, GBStyle, "CBUnder", 10, 54, 110, 17, "&Underline");
  CBStrike = PlaceControl<TCheckBox>(this, GBStyle, "CBStrike", 10, 72, 110, 17, "Strikeout");
  BColor = PlaceControl<TButtonColor>(this, TabFont, "BColor", 150, 72, 90, 25, "&Color...");
  Button3 = PlaceControl<TButton>(this, TabFont, "Button3", 150, 104, 90, 25, "&Edit...");

  const auto inter =
      EditWithUpDown(this, TabOptions, "LInter", "&Inter-char spacing:", "EInter", "UDInter", 8, 120, 8, 44, -100, 100);
  LInter = inter.Label, EInter = inter.Edit, UDInter = inter.UpDown;
  BOutline = PlaceControl<TButtonPen>(this, TabOptions, "BOutline", 8, 40, 100, 25, "&Outline...");
  CBOutGrad = PlaceControl<TCheckBox>(this, TabOptions, "CBOutGrad", 120, 44, 150, 17, "O&utline gradient");
  CBQuality = PlaceControl<TComboFlat>(this, TabOptions, "CBQuality", 120, 76, 90, 21);
  CBQuality->SetStyle(csDropDownList);
  for (const char* q : {"Best", "Normal", "Default"}) CBQuality->Items()->Add(q);
  LQuality = PlaceLabel(this, TabOptions, "LQuality", 8, 80, "&Quality:", CBQuality);
  const auto depth = EditWithUpDown(this, TabOptions, "LDepth", "&Depth:", "EDepth", "UDDepth", 8, 120, 108, 44, 0, 1000);
  LDepth = depth.Label, EDepth = depth.Edit, UDDepth = depth.UpDown;
  PageControl1->SetActivePage(TabFont);
  effects_.SetTabs(TabShadow, TabEmboss, TabGradient, TabPicture);
  effects_.GradientOwner = this;
  effects_.PictureAlone = true;  // a font's picture has no drawing mode or place

  // Embedded unless EditChartFont shows the buttons.
  PanelButtons->Hide();
  SetClientHeight(ClientHeight() - PanelButtons->Height());

  OnShow = HANDLER(FormShow);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  CBName->OnChange = HANDLER(CBNameChange);
  ESize->OnChange = HANDLER(ESizeChange);
  for (TCheckBox* c : {CBBold, CBItalic, CBUnder, CBStrike}) c->OnClick = HANDLER(StyleClick);
  Button3->OnClick = HANDLER(Button3Click);
  EInter->OnChange = HANDLER(EInterChange);
  CBOutGrad->OnClick = HANDLER(CBOutGradClick);
  CBQuality->OnChange = HANDLER(CBQualityChange);
  EDepth->OnChange = HANDLER(EDepthChange);
  Button2->OnClick = HANDLER(Button2Click);
}

TLumFontEditor::~TLumFontEditor() {
  // The buttons let go of the font's parts before their owner may free them.
  BColor->LinkProperty(nullptr, "");
  BOutline->LinkProperty(nullptr, "");
  effects_.Free();
}

TLumShadowEditor* TLumFontEditor::ShadowEditor() const { return effects_.Shadow(); }
TLumEmbossEditor* TLumFontEditor::EmbossEditor() const { return effects_.Emboss(); }
TLumGradientEditor* TLumFontEditor::GradientEditor() const { return effects_.Gradient(); }
TBackImageEditor* TLumFontEditor::PictureEditor() const { return effects_.Picture(); }

TEffectPages::TParts TLumFontEditor::Parts() const {
  return {font_->Shadow(), font_->Emboss(), font_->Gradient(), font_->Picture()};
}

// The screen's fonts and the two the program carries, each once.
void TLumFontEditor::FillNames() {
  TStrings* items = CBName->Items();
  items->BeginUpdate();
  items->Assign(Screen->Fonts());
  if (PrivateFontsHook) {
    TStringList own;
    PrivateFontsHook(&own);
    for (int i = 0; i < own.Count(); ++i)
      if (items->IndexOf(own.Strings(i)) < 0) items->Add(own.Strings(i));
  }
  items->EndUpdate();
}

void TLumFontEditor::LoadNameSizeStyle() {
  const bool had = loading_;
  loading_ = true;
  UDSize->SetPosition(font_->Size());
  const TFontStyles style = font_->Style();
  CBBold->SetChecked(HasFontStyle(style, fsBold));
  CBItalic->SetChecked(HasFontStyle(style, fsItalic));
  CBUnder->SetChecked(HasFontStyle(style, fsUnderline));
  CBStrike->SetChecked(HasFontStyle(style, fsStrikeOut));
  int i = CBName->Items()->IndexOf(font_->Name());
  if (i < 0) i = CBName->Items()->Add(font_->Name());  // not installed: offered all the same
  CBName->SetItemIndex(i);
  loading_ = had;
}

void TLumFontEditor::LoadFont(TLumFont* Font) {
  loading_ = true;
  if (CBName->Items()->Count() == 0) FillNames();
  font_ = Font;
  if (!font_) {
    BColor->LinkProperty(nullptr, "");
    BOutline->LinkProperty(nullptr, "");
    effects_.Load({});
    loading_ = false;
    return;
  }
  BColor->LinkProperty(font_, "Color");
  LoadNameSizeStyle();
  UDInter->SetPosition(font_->InterCharSize());
  LinkButtonTo(BOutline, font_->OutLine());
  CBOutGrad->SetChecked(font_->Gradient()->Outline());
  CBQuality->SetItemIndex(int(font_->Quality()));
  UDDepth->SetPosition(int(Round(font_->Depth())));
  effects_.Load(Parts());
  loading_ = false;
}

void TLumFontEditor::FormShow(TObject*) {
  if (!translated_) {
    translated_ = true;
    TranslateControl(this);
  }
  if (font_) LoadFont(font_);
  if (PanelButtons->Visible() && font_ && !backup_) {
    backup_ = std::make_unique<TLumFont>();
    backup_->Assign(font_);
  }
}

void TLumFontEditor::PageControl1Change(TObject*) {
  const TEffectPages::TParts parts = font_ ? Parts() : TEffectPages::TParts{};
  effects_.Build(PageControl1->ActivePage(), font_ ? &parts : nullptr);
}

void TLumFontEditor::CBNameChange(TObject*) {
  if (Editing() && CBName->ItemIndex() >= 0) font_->SetName(CBName->SelectedText());
}

void TLumFontEditor::ESizeChange(TObject*) {
  if (Editing()) font_->SetSize(UDSize->Position());
}

void TLumFontEditor::StyleClick(TObject* Sender) {
  if (!Editing()) return;
  auto* box = static_cast<TCheckBox*>(Sender);
  const TFontStyle which = box == CBBold ? fsBold : box == CBItalic ? fsItalic : box == CBUnder ? fsUnderline : fsStrikeOut;
  const TFontStyles bit = FontStyles({which});
  font_->SetStyle(box->Checked() ? font_->Style() | bit : font_->Style() & ~bit);
}

void TLumFontEditor::Button3Click(TObject*) {
  if (!font_ || !EditFontWithDialog(this, font_)) return;
  BColor->RepaintSymbol();
  LoadNameSizeStyle();
}

void TLumFontEditor::EInterChange(TObject*) {
  if (Editing()) font_->SetInterCharSize(UDInter->Position());
}

void TLumFontEditor::CBOutGradClick(TObject*) {
  if (Editing()) font_->Gradient()->SetOutline(CBOutGrad->Checked());
}

void TLumFontEditor::CBQualityChange(TObject*) {
  if (Editing() && CBQuality->ItemIndex() >= 0) font_->SetQuality(TFontQuality(CBQuality->ItemIndex()));
}

void TLumFontEditor::EDepthChange(TObject*) {
  if (Editing()) font_->SetDepth(UDDepth->Position());
}

void TLumFontEditor::Restore() {
  if (restored_ || !backup_ || !font_) return;
  restored_ = true;
  font_->Assign(backup_.get());
}

void TLumFontEditor::Button2Click(TObject*) { Restore(); }

bool EditChartFont(TComponent* AOwner, TLumFont* Font) {
  TModalDialog<TLumFontEditor> e(new TLumFontEditor(AOwner));
  e->SetBorderStyle(bsDialog);
  CenterEditorDialog(e.Get());
  e->SetTheFont(Font);
  e->PanelButtons->Show();
  e->SetClientHeight(e->ClientHeight() + e->PanelButtons->Height());
  const bool ok = e.Run();
  // Closed otherwise than by OK (the close box too): the font as it was. A dialog
  // freed meanwhile went with what it edited.
  if (!ok && e) e->Restore();
  return ok;
}

TLumFontEditor* EmbedFontEditor(TWinControl* Page) {
  auto* e = new TLumFontEditor(nullptr);
  e->SetAlign(alClient);
  EmbedEditorForm(e, Page);
  return e;
}

bool EditFontWithDialog(TComponent* AOwner, TLumFont* Font) {
  std::unique_ptr<TFontDialog> d(new TFontDialog(AOwner));
  d->Font()->Assign(Font);
  if (!d->Execute()) return false;
  Font->Assign(d->Font());
  return true;
}
