#include "gallery/pendialog.h"

#include <algorithm>

#include "buttondialog.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"

IMPLEMENT_CLASS(TPenDialog, TForm)
IMPLEMENT_CLASS_PROPS(TButtonPen, TLumButton)

namespace {

// The fields a plain pen shares with a chart pen, read and written alike.
TPenStyle StyleOf(TPersistent* P) {
  if (auto* c = dynamic_cast<TChartPen*>(P)) return c->Style();
  if (auto* p = dynamic_cast<TPen*>(P)) return p->Style();
  return psSolid;
}
int WidthOf(TPersistent* P) {
  if (auto* c = dynamic_cast<TChartPen*>(P)) return c->Width();
  if (auto* p = dynamic_cast<TPen*>(P)) return p->Width();
  return 1;
}
TColor ColorOf(TPersistent* P) {
  if (auto* c = dynamic_cast<TChartPen*>(P)) return c->Color();
  if (auto* p = dynamic_cast<TPen*>(P)) return p->Color();
  return clBlack;
}
void SetStyleOf(TPersistent* P, TPenStyle Value) {
  if (auto* c = dynamic_cast<TChartPen*>(P)) c->SetStyle(Value);
  if (auto* p = dynamic_cast<TPen*>(P)) p->SetStyle(Value);
}
void SetWidthOf(TPersistent* P, int Value) {
  if (auto* c = dynamic_cast<TChartPen*>(P)) c->SetWidth(Value);
  if (auto* p = dynamic_cast<TPen*>(P)) p->SetWidth(Value);
}

// A chart pen copy of either kind of pen (a plain pen's end cap as the end style).
void CopyToChartPen(TPersistent* From, TChartPen* To) {
  if (auto* c = dynamic_cast<TChartPen*>(From)) return To->Assign(c);
  auto* p = dynamic_cast<TPen*>(From);
  if (!p) return;
  To->SetColor(p->Color());
  To->SetWidth(p->Width());
  To->SetStyle(p->Style());
  To->SetMode(p->Mode());
  To->SetEndStyle(TPenEndStyle(p->EndCap()));
}

TNotifyEvent* ChangeHandlerOf(TPersistent* P) {
  if (auto* a = dynamic_cast<TLumAttribute*>(P)) return &a->OnChange;
  if (auto* g = dynamic_cast<TGraphicsObject*>(P)) return &g->OnChange;
  return nullptr;
}

constexpr int PenStyleCount = 5;  // solid .. dash dot dot: the combo's first items

}  // namespace

TPenDialog::TPenDialog(TComponent* AOwner) : TForm(AOwner) {
  SetupEditorForm(this, "PenDialog", "Border Editor", 291, 183);
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);

  CBVisible = PlaceControl<TCheckBox>(this, this, "CBVisible", 12, 10, 97, 17, "&Visible");
  // Wide enough that the caption ends before the swatch at the right edge.
  BColor = PlaceControl<TButtonColor>(this, this, "BColor", 181, 6, 100, 25, "&Color...");

  CBStyle = new TComboFlat(this);
  CBStyle->SetName("CBStyle");
  CBStyle->SetStyle(csOwnerDrawFixed);
  CBStyle->SetItemHeight(15);
  CBStyle->SetBounds(64, 40, 134, 21);
  CBStyle->SetParent(this);
  for (const char* s : {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"}) CBStyle->Items()->Add(s);
  LStyle = PlaceLabel(this, this, "LStyle", 12, 44, "&Style:", CBStyle);

  SEWidth = PlaceControl<TEdit>(this, this, "SEWidth", 64, 74, 54, 21);
  UDWidth = PlaceUpDown(this, SEWidth, "UDWidth", 1, 100);
  LWidth = PlaceLabel(this, this, "LWidth", 12, 78, "&Width:", SEWidth);

  ESpace = PlaceControl<TEdit>(this, this, "ESpace", 196, 74, 54, 21);
  UDSpace = PlaceUpDown(this, ESpace, "UDSpace", 1, 100);
  LSpace = PlaceLabel(this, this, "LSpace", 150, 78, "Sp&ace:", ESpace);
  ESpace->SetEnabled(false);
  UDSpace->SetEnabled(false);

  CBEndStyle = PlaceControl<TComboFlat>(this, this, "CBEndStyle", 64, 108, 86, 21);
  CBEndStyle->SetStyle(csDropDownList);
  for (const char* s : {"Round", "Square", "Flat"}) CBEndStyle->Items()->Add(s);

  BOk = PlaceControl<TButton>(this, this, "BOk", 124, 148, 75, 25, "OK");
  BOk->SetDefault(true);
  BOk->SetModalResult(mrOk);
  BCancel = PlaceControl<TButton>(this, this, "BCancel", 206, 148, 75, 25, "Cancel");
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);

  OnShow = HANDLER(FormShow);
  OnHide = HANDLER(FormHide);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  SEWidth->OnChange = HANDLER(SEWidthChange);
  CBStyle->OnChange = HANDLER(CBStyleChange);
  CBStyle->OnDrawItem = HANDLER(CBStyleDrawItem);
  ESpace->OnChange = HANDLER(ESpaceChange);
  CBEndStyle->OnChange = HANDLER(CBEndStyleChange);
  BColor->OnClick = HANDLER(BColorClick);
  BCancel->OnClick = HANDLER(BCancelClick);
}

TPenDialog::~TPenDialog() {
  // The colour button lets go of the pen before the pen's owner may free it.
  BColor->LinkProperty(nullptr, "");
}

bool TPenDialog::SmallDotsOffered() const {
  return ChartPen() && SmallDotsSupported && CBStyle->Items()->Count() > PenStyleCount;
}

void TPenDialog::SetSmallDotControls(bool SmallDots) {
  UDWidth->SetEnabled(!SmallDots);
  SEWidth->SetEnabled(!SmallDots);
  UDSpace->SetEnabled(SmallDots);
  ESpace->SetEnabled(SmallDots);
}

void TPenDialog::ApplyWidthRule() {
  // Without free dash patterns the device draws styles at width 1 only.
  if (!SmallDotsSupported) CBStyle->SetEnabled(WidthOf(pen_) == 1);
}

void TPenDialog::FormShow(TObject*) {
  showing_ = false;
  if (!backupPen_) {
    backupPen_ = std::make_unique<TChartPen>();
    TranslateControl(this);
  }
  if (pen_) CopyToChartPen(pen_, backupPen_.get());
  const int style = StyleOf(pen_);
  // Clear and inside-frame have no item: nothing is selected for them.
  const int styleItem = style < PenStyleCount ? style : -1;
  if (TChartPen* cp = ChartPen()) {
    CBVisible->SetChecked(cp->Visible());
    backupPen_->SetVisible(cp->Visible());
    if (SmallDotsSupported && CBStyle->Items()->Count() == PenStyleCount) CBStyle->Items()->Add(LumMsg_SmallDots);
    if (cp->SmallDots() && SmallDotsSupported) {
      CBStyle->SetItemIndex(CBStyle->Items()->Count() - 1);
      SetSmallDotControls(true);
    } else {
      CBStyle->SetItemIndex(styleItem);
    }
    if (!SmallDotsSupported)
      CBEndStyle->Hide();
    else
      CBEndStyle->SetItemIndex(cp->EndStyle());
    UDSpace->SetPosition(cp->SmallSpace());
  } else {
    CBVisible->Hide();
    CBStyle->SetItemIndex(styleItem);
    if (auto* p = dynamic_cast<TPen*>(pen_)) CBEndStyle->SetItemIndex(p->EndCap());
  }
  UDWidth->SetPosition(WidthOf(pen_));
  ApplyWidthRule();
  if (pen_) BColor->LinkProperty(pen_, "Color");
  modified_ = false;
  showing_ = true;
}

void TPenDialog::FormHide(TObject*) { showing_ = false; }

void TPenDialog::CBVisibleClick(TObject*) {
  if (!showing_ || !ChartPen()) return;
  ChartPen()->SetVisible(CBVisible->Checked());
  Changed();
}

void TPenDialog::SEWidthChange(TObject*) {
  if (!showing_ || !pen_) return;
  SetWidthOf(pen_, UDWidth->Position());
  ApplyWidthRule();
  Changed();
}

void TPenDialog::CBStyleChange(TObject*) {
  if (!pen_ || CBStyle->ItemIndex() < 0) return;
  TChartPen* cp = ChartPen();
  if (SmallDotsOffered() && CBStyle->ItemIndex() == CBStyle->Items()->Count() - 1) {
    cp->SetSmallDots(true);
    SetSmallDotControls(true);
  } else {
    SetStyleOf(pen_, TPenStyle(CBStyle->ItemIndex()));
    if (cp) cp->SetSmallDots(false);
    SetSmallDotControls(false);
  }
  Changed();
}

void TPenDialog::CBStyleDrawItem(TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
  TCanvas* c = CBStyle->Canvas();
  const TColor back = (State & odSelected) ? clHighlight : CBStyle->Color();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
  c->FillRect(R);
  // A sample in the background's own colour would not show.
  TColor color = ColorOf(pen_);
  if (ColorToRGB(color) == ColorToRGB(back)) color = ColorToRGB(color) == ColorToRGB(clWhite) ? clBlack : clWhite;
  if (SmallDotsOffered() && Index == CBStyle->Items()->Count() - 1) {
    TChartPen dots;
    dots.SetSmallSpace(ChartPen()->SmallSpace());
    c->Pen()->Assign(CreateSmallDotsPen(color, &dots).get());
  } else {
    c->Pen()->SetDashPattern({});
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(TPenStyle(Index));
    c->Pen()->SetColor(color);
  }
  c->MoveTo(R.Left + 2, R.Top + 8);
  c->LineTo(R.Left + 30, R.Top + 8);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor((State & odSelected) ? clHighlightText : clWindowText);
  c->TextOut(R.Left + 34, R.Top + 2, CBStyle->Items()->Strings(Index));
}

void TPenDialog::ESpaceChange(TObject*) {
  if (!showing_ || !ChartPen()) return;
  ChartPen()->SetSmallSpace(UDSpace->Position());
  Changed();
}

void TPenDialog::CBEndStyleChange(TObject*) {
  const int i = CBEndStyle->ItemIndex();
  if (i < 0) return;
  if (TChartPen* cp = ChartPen())
    cp->SetEndStyle(TPenEndStyle(i));
  else if (auto* p = dynamic_cast<TPen*>(pen_))
    p->SetEndCap(TPenEndCap(i));
  else
    return;
  Changed();
}

void TPenDialog::BColorClick(TObject*) {
  Changed();
  CBStyle->Invalidate();
}

void TPenDialog::BCancelClick(TObject*) {
  if (!modified_ || !pen_ || !backupPen_) return;
  // The pen's owner hears of the restore once, from the dialog.
  TNotifyEvent* handler = ChangeHandlerOf(pen_);
  TNotifyEvent saved;
  if (handler) std::swap(saved, *handler);
  if (TChartPen* cp = ChartPen()) {
    cp->Assign(backupPen_.get());
    cp->SetVisible(backupPen_->Visible());
  } else if (auto* p = dynamic_cast<TPen*>(pen_)) {
    p->SetColor(backupPen_->Color());
    p->SetWidth(backupPen_->Width());
    p->SetStyle(backupPen_->Style());
    p->SetMode(backupPen_->Mode());
    p->SetEndCap(TPenEndCap(backupPen_->EndStyle()));
  }
  if (handler) std::swap(saved, *handler);
  modified_ = false;
  if (handler && handler->Assigned()) (*handler)(this);
}

TPenDialog* CreatePenDialog(TControl* Owner, TPersistent* Pen, bool HideColor) {
  auto* dialog = CreateEditorDialog<TPenDialog>(Owner);
  dialog->SetPen(Pen);
  if (HideColor) dialog->BColor->Hide();
  return dialog;
}

// ---------------------------------------------------------------------------
TButtonPen::TButtonPen(TComponent* AOwner) : TLumButton(AOwner) {}

TButtonPen::~TButtonPen() {
  if (dialog_) dialog_->OnDestroy = dialogOnDestroy_;
}

void TButtonPen::DefineProperties(TPropertyTable& t) {
  t.Bool("HideColor", &TButtonPen::HideColor, &TButtonPen::SetHideColor).Default(false);
}

void TButtonPen::Click() {
  TPersistent* pen = Instance();
  if (!pen) return TLumButton::Click();
  if (!RunButtonDialog(this, dialog_, dialogOnDestroy_, [&] { return CreatePenDialog(this, pen, hideColor_); })) return;
  RepaintSymbol();
  TLumButton::Click();
}

void TButtonPen::DrawSymbol(TCanvas* ACanvas) {
  if (!Enabled() || !Instance()) return;
  // A copy at most 6 wide: the linked pen itself is never touched while painting.
  TChartPen sample;
  CopyToChartPen(Instance(), &sample);
  sample.SetWidth(std::min(sample.Width(), 6));
  TLumCanvas3D canvas;
  canvas.AttachCanvas(ACanvas);
  canvas.Brush()->SetStyle(bsClear);
  canvas.ApplyPen(&sample);
  const TRect box = SymbolRect();
  canvas.MoveTo(Width() - 17 - box.Left, Height() / 2 - box.Top);
  canvas.LineTo(Width() - 6 - box.Left, Height() / 2 - box.Top);
  canvas.AttachCanvas(nullptr);
}
