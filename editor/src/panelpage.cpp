#include <cmath>

#include "editor/panelpages.h"
#include "engine/backimage.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/backimageeditor.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumPanel, TChartObjectPage)

namespace {
// Margin indexes of the panel: left 0, top 1, right 2, bottom 3.
constexpr int kLeft = 0, kTop = 1, kRight = 2, kBottom = 3;
}  // namespace

TFormLumPanel::TFormLumPanel(TComponent* AOwner, TCustomLumPanelExtended* APanel)
    : TChartObjectPage(AOwner, "FormLumPanel", 420, 280), panel_(APanel) {
  SetCaption("Panel Editor");
  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, 420, 280, true);

  TabColor = Sheet(this, PageControl1, "TabColor", "Color");
  BPanelColor = PlaceControl<TButtonColor>(this, TabColor, "BPanelColor", 8, 8, 100, 25, "&Color...");
  CBColorDef = CheckBox(this, TabColor, "CBColorDef", 118, 12, 100, "&Default");
  CBImageInside = CheckBox(this, TabColor, "CBImageInside", 8, 46, 160, "Back Image I&nside");

  TabBorders = Sheet(this, PageControl1, "TabBorders", "Borders");
  const auto rows = EditUpDownRows(this, TabBorders,
                                   {{"LPanelWi", "Widt&h:", "SEPanelWi", "UDPanelWi"},
                                    {"LPanelBor", "&Separation:", "SEPanelBor", "UDPanelBor"},
                                    {"LRound", "&Round border:", "ERound", "UDRound"}},
                                   8, 90, 8, 50, 0, 100);
  LPanelWi = rows[0].Label, SEPanelWi = rows[0].Edit, UDPanelWi = rows[0].UpDown;
  LPanelBor = rows[1].Label, SEPanelBor = rows[1].Edit, UDPanelBor = rows[1].UpDown;
  LRound = rows[2].Label, ERound = rows[2].Edit, UDRound = rows[2].UpDown;
  UDPanelWi->SetMin(1);
  UDPanelWi->SetPosition(1);
  UDRound->SetMax(10000);
  CBInner = DropDownList(this, TabBorders, "CBInner", 250, 8, 90, {"None", "Lowered", "Raised"});
  LInner = PlaceLabel(this, TabBorders, "LInner", 170, 12, "Bevel &inner:", CBInner);
  CBOuter = DropDownList(this, TabBorders, "CBOuter", 250, 36, 90, {"None", "Lowered", "Raised"});
  LOuter = PlaceLabel(this, TabBorders, "LOuter", 170, 40, "Bevel &outer:", CBOuter);
  BBorder = PlaceControl<TButtonPen>(this, TabBorders, "BBorder", 170, 72, 100, 25, "&Border...");

  // The four margins around a picture of the plot, where they lie.
  TabMargins = Sheet(this, PageControl1, "TabMargins", "Margins");
  BevelMargins = PlaceControl<TBevel>(this, TabMargins, "BevelMargins", 80, 40, 120, 70);
  struct TMarginBox {
    TEdit*& Edit;
    TUpDown*& UpDown;
    const char* EditName;
    const char* UpDownName;
    int Left, Top;
  };
  for (TMarginBox m : {TMarginBox{SETopMa, UDTopMa, "SETopMa", "UDTopMa", 114, 10},
                       TMarginBox{SELeftMa, UDLeftMa, "SELeftMa", "UDLeftMa", 12, 64},
                       TMarginBox{SERightMa, UDRightMa, "SERightMa", "UDRightMa", 212, 64},
                       TMarginBox{SEBotMa, UDBotMa, "SEBotMa", "UDBotMa", 114, 118}}) {
    m.Edit = PlaceControl<TEdit>(this, TabMargins, m.EditName, m.Left, m.Top, 52, 21);
    m.UpDown = PlaceUpDown(this, m.Edit, m.UpDownName, 0, 100);
    m.UpDown->SetIncrement(5);
    m.UpDown->SetPosition(3);
  }
  CBMarUnits = DropDownList(this, TabMargins, "CBMarUnits", 60, 160, 90, {"Percent", "Pixels"});
  LMarUnits = PlaceLabel(this, TabMargins, "LMarUnits", 12, 164, "&Units:", CBMarUnits);

  TabGradient = Sheet(this, PageControl1, "TabGradient", "Gradient");
  TabShadow = Sheet(this, PageControl1, "TabShadow", "Shadow");
  TabEmboss = Sheet(this, PageControl1, "TabEmboss", "Emboss");
  TabImage = Sheet(this, PageControl1, "TabImage", "Image");
  PageControl1->SetActivePage(TabColor);
  effects_.SetTabs(TabShadow, TabEmboss, TabGradient, TabImage);

  OnShow = HANDLER(FormShow);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  BPanelColor->OnClick = HANDLER(BPanelColorClick);
  CBColorDef->OnClick = HANDLER(CBColorDefClick);
  CBImageInside->OnClick = HANDLER(CBImageInsideClick);
  SEPanelWi->OnChange = HANDLER(SEPanelWiChange);
  SEPanelBor->OnChange = HANDLER(SEPanelBorChange);
  ERound->OnChange = HANDLER(ERoundChange);
  CBInner->OnChange = HANDLER(CBInnerChange);
  CBOuter->OnChange = HANDLER(CBOuterChange);
  for (TEdit* e : {SETopMa, SELeftMa, SEBotMa, SERightMa}) e->OnChange = HANDLER(MarginChange);
  CBMarUnits->OnChange = HANDLER(CBMarUnitsChange);
  WatchChart(APanel);
}

TFormLumPanel::~TFormLumPanel() {
  updating_ = true;
  // Made without owner: they go with their tabs, or here.
  effects_.Free();
}

TCustomLumPanelExtended* TFormLumPanel::Panel() const { return Watched() ? panel_ : nullptr; }
TLumGradientEditor* TFormLumPanel::GradientEditor() const { return effects_.Gradient(); }
TLumShadowEditor* TFormLumPanel::ShadowEditor() const { return effects_.Shadow(); }
TLumEmbossEditor* TFormLumPanel::EmbossEditor() const { return effects_.Emboss(); }
TBackImageEditor* TFormLumPanel::ImageEditor() const { return effects_.Picture(); }

TEffectPages::TParts TFormLumPanel::Parts() const {
  TCustomLumPanelExtended* p = Panel();
  return {p->Shadow(), p->Emboss(), p->Gradient(), p->BackImage()};
}

void TFormLumPanel::ChartFreed() {
  panel_ = nullptr;
  updating_ = true;
  effects_.Free();
}

void TFormLumPanel::FormShow(TObject*) {
  TCustomLumPanelExtended* p = Panel();
  if (p) {
    updating_ = true;
    CBInner->SetItemIndex(int(p->BevelInner()));
    CBOuter->SetItemIndex(int(p->BevelOuter()));
    LinkButtonTo(BBorder, p->Border());
    UDRound->SetPosition(p->BorderRound());
    UDPanelWi->SetPosition(p->BevelWidth());
    UDPanelBor->SetPosition(p->BorderWidth());
    CBImageInside->SetChecked(p->BackImage()->Inside());
    CBMarUnits->SetItemIndex(int(p->MarginUnits()));
    SetMarginRanges();
    UDLeftMa->SetPosition(p->GetMargin(kLeft));
    UDTopMa->SetPosition(p->GetMargin(kTop));
    UDRightMa->SetPosition(p->GetMargin(kRight));
    UDBotMa->SetPosition(p->GetMargin(kBottom));
    RefreshColorDefault();
    BPanelColor->LinkProperty(p, "Color");
    effects_.Load(Parts());
    if (TLumGradientEditor* e = GradientEditor()) e->SetVisible(true);
    PageControl1->SetActivePage(TabColor);
    updating_ = false;
  }
  TranslateControl(this);
}

void TFormLumPanel::PageControl1Change(TObject*) {
  // A tab with no controls yet gets its editor on this first visit.
  if (!Panel() || PageControl1->ActivePage()->ControlCount() > 0) return;
  const TEffectPages::TParts parts = Parts();
  effects_.Build(PageControl1->ActivePage(), &parts);
}

void TFormLumPanel::RefreshColorDefault() {
  const bool wasUpdating = updating_;
  updating_ = true;
  CBColorDef->SetChecked(Panel()->Color() == clBtnFace);
  CBColorDef->SetEnabled(!CBColorDef->Checked());
  updating_ = wasUpdating;
}

void TFormLumPanel::BPanelColorClick(TObject*) {
  if (Panel()) RefreshColorDefault();
}

void TFormLumPanel::CBColorDefClick(TObject*) {
  if (!Editing() || !CBColorDef->Checked()) return;
  Panel()->SetColor(clBtnFace);
  RefreshColorDefault();
  BPanelColor->RepaintSymbol();
}

void TFormLumPanel::CBImageInsideClick(TObject*) {
  if (Editing()) Panel()->BackImage()->SetInside(CBImageInside->Checked());
}

void TFormLumPanel::SEPanelWiChange(TObject*) {
  if (Editing() && Panel()->BevelWidth() != UDPanelWi->Position()) Panel()->SetBevelWidth(UDPanelWi->Position());
}

void TFormLumPanel::SEPanelBorChange(TObject*) {
  if (Editing() && Panel()->BorderWidth() != UDPanelBor->Position()) Panel()->SetBorderWidth(UDPanelBor->Position());
}

void TFormLumPanel::ERoundChange(TObject*) {
  if (Editing()) Panel()->SetBorderRound(UDRound->Position());
}

void TFormLumPanel::CBInnerChange(TObject*) {
  const auto b = TPanelBevel(CBInner->ItemIndex());
  if (Editing() && CBInner->ItemIndex() >= 0 && Panel()->BevelInner() != b) Panel()->SetBevelInner(b);
}

void TFormLumPanel::CBOuterChange(TObject*) {
  const auto b = TPanelBevel(CBOuter->ItemIndex());
  if (Editing() && CBOuter->ItemIndex() >= 0 && Panel()->BevelOuter() != b) Panel()->SetBevelOuter(b);
}

void TFormLumPanel::SetMarginRanges() {
  const bool percent = CBMarUnits->ItemIndex() == int(muPercent);
  for (TUpDown* u : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa}) {
    u->SetMin(percent ? 0 : -2000);
    u->SetMax(percent ? 100 : 2000);
  }
}

void TFormLumPanel::MarginChange(TObject* Sender) {
  if (!Editing()) return;
  TCustomLumPanelExtended* p = Panel();
  int index = kLeft, opposite = kRight;
  TUpDown* ud = UDLeftMa;
  if (Sender == SETopMa) index = kTop, opposite = kBottom, ud = UDTopMa;
  else if (Sender == SERightMa) index = kRight, opposite = kLeft, ud = UDRightMa;
  else if (Sender == SEBotMa) index = kBottom, opposite = kTop, ud = UDBotMa;
  const int value = ud->Position();
  // In percent a margin and its opposite leave nothing of the plot at 100 or more.
  if (p->MarginUnits() == muPercent && value + p->GetMargin(opposite) >= 100) {
    updating_ = true;
    ud->SetPosition(p->GetMargin(index));
    updating_ = false;
    return;
  }
  p->SetMargin(index, value);
}

void TFormLumPanel::CBMarUnitsChange(TObject*) {
  if (!Editing() || CBMarUnits->ItemIndex() < 0) return;
  Panel()->SetMarginUnits(TPanelMarginUnits(CBMarUnits->ItemIndex()));
  updating_ = true;
  SetMarginRanges();
  updating_ = false;
}
