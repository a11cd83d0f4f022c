#include "gallery/gradienteditor.h"

#include <cstdint>
#include <utility>

#include "buttondialog.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "gallery/gallerypanel.h"

using namespace formbuild;

IMPLEMENT_CLASS(TPreviewGradient, TCustomLumPanelExtended)
IMPLEMENT_CLASS(TLumGradientEditor, TForm)
IMPLEMENT_CLASS_PROPS(TButtonGradient, TLumButton)

namespace {

struct TPreset {
  const char* Name;
  TColor Start, Mid, End;
  int Balance;
  TGradientDirection Direction;
};

// Listed sorted by name; each item's object is its row here.
const TPreset Presets[] = {
    {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, 50, gdTopBottom},
    {"Business", 0xC0C0C0, 0xFFFFFF, 0x808080, 50, gdTopBottom},
    {"Hot", 0x0000FF, clNone, 0x00FFFF, 50, gdTopBottom},
    {"Ace", 0x000000, 0xFF8080, 0x000000, 74, gdBottomTop},
    {"Farm", 0x006AD5, 0xFFFFFF, 0x0062C4, 4, gdBottomTop},
    {"Sea", 0xFFFF80, 0xFF8080, 0x800000, 55, gdBottomTop},
    {"Night", 0xFFFFFF, 0x800040, 0x000000, 40, gdTopBottom},
    {"Space", 0xA50320, 0x800040, 0xFFFFFF, 50, gdFromTopLeft},
    {"Golf", 0x159902, 0xC0C0C0, 0xD9F986, 50, gdTopBottom},
    {"Funky", 0xBD3881, 0x87607A, 0x52EB85, 50, gdTopBottom},
    {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, 50, gdTopBottom},
    {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, 50, gdTopBottom},
    {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, 50, gdTopBottom},
    {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, 50, gdTopBottom},
    {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, 50, gdTopBottom},
    {"Desert", 0x265FB7, 0xCE7185, 0x604457, 50, gdTopBottom},
    {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, 50, gdTopBottom},
};
constexpr int PresetCount = int(sizeof Presets / sizeof Presets[0]);

const char* const DirectionNames[] = {"Top Bottom",       "Bottom Top",       "Left Right", "Right Left",
                                      "From Center",      "From Top Left",    "From Bottom Left",
                                      "Radial",           "Diagonal Up",      "Diagonal Down"};
constexpr int DirectionCount = 10;

bool Straight(TGradientDirection D) { return D <= gdRightLeft; }
// Directions whose bands have no room for a middle colour.
bool Ringed(TGradientDirection D) { return D >= gdFromCenter && D <= gdRadial; }

// Runs Fn with the mark set, putting it back as it was.
template <class F>
void Marked(bool& Mark, F Fn) {
  const bool was = std::exchange(Mark, true);
  Fn();
  Mark = was;
}

}  // namespace

// ---------------------------------------------------------------------------
TPreviewGradient::TPreviewGradient(TComponent* AOwner) : TCustomLumPanelExtended(AOwner) {}

void TPreviewGradient::InternalDraw(const TRect& UserRect) { DrawPanelBackground(UserRect); }

// ---------------------------------------------------------------------------
TLumGradientEditor::TLumGradientEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumGradientEditor", "Gradient Editor", 270, 219);
  SetAlign(alClient);

  Panel1 = PlaceControl<TPanel>(this, this, "Panel1", 0, 0, 270, 33);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  CBVisible = PlaceControl<TCheckBox>(this, Panel1, "CBVisible", 8, 8, 68, 17, "&Visible");
  CBDirection = PlaceControl<TComboFlat>(this, Panel1, "CBDirection", 136, 6, 112, 21);
  CBDirection->SetStyle(csDropDownList);
  CBDirection->SetDropDownCount(DirectionCount);
  for (const char* d : DirectionNames) CBDirection->Items()->Add(d);
  LDirection = PlaceLabel(this, Panel1, "LDirection", 80, 10, "&Direction:", CBDirection);

  const TOkCancel bottom = OkCancelPanel(this, "Panel2", "BOk", "BCancel", 34, 5);
  Panel2 = bottom.Panel, BOk = bottom.Ok, BCancel = bottom.Cancel;

  PageControl1 = ClientPages(this, this, "PageControl1", 0, 33, 270, 152);
  TabDefault = Sheet(this, PageControl1, "TabDefault", "Default");
  TabColors = Sheet(this, PageControl1, "TabColors", "Colors");
  TabOptions = Sheet(this, PageControl1, "TabOptions", "Options");
  TabDirections = Sheet(this, PageControl1, "TabDirections", "Directions");
  TabSubGradient = Sheet(this, PageControl1, "TabSubGradient", "SubGradient");

  Gallery = PlaceControl<TListBox>(this, TabDefault, "Gallery", 0, 0, 112, 100);
  Gallery->SetAlign(alLeft);
  Gallery->SetSorted(true);
  for (int i = 0; i < PresetCount; ++i)
    Gallery->Items()->AddObject(Presets[i].Name, reinterpret_cast<TObject*>(std::intptr_t(i)));
  preview_ = new TPreviewGradient(this);
  preview_->SetName("PreviewGradient");
  preview_->SetParent(TabDefault);
  preview_->SetAlign(alClient);
  preview_->SetBevelOuter(bvLowered);

  BStart = PlaceControl<TButtonColor>(this, TabColors, "BStart", 8, 8, 100, 25, "&Start...");
  BMid = PlaceControl<TButtonColor>(this, TabColors, "BMid", 8, 40, 100, 25, "&Middle...");
  BEnd = PlaceControl<TButtonColor>(this, TabColors, "BEnd", 8, 72, 100, 25, "&End...");
  CBMid = PlaceControl<TCheckBox>(this, TabColors, "CBMid", 120, 44, 110, 17, "&No Middle");
  BSwap = PlaceControl<TButton>(this, TabColors, "BSwap", 120, 72, 75, 25, "S&wap");

  auto percentBar = [this](TWinControl* Parent, const char* Name, int Left, int Top, int Width) {
    auto* bar = PlaceControl<TScrollBar>(this, Parent, Name, Left, Top, Width, 17);
    bar->SetMax(100);
    bar->SetLargeChange(10);
    return bar;
  };
  SBBalance = percentBar(TabOptions, "SBBalance", 60, 8, 130);
  LBalance = PlaceLabel(this, TabOptions, "LBalance", 6, 10, "&Balance:", SBBalance);
  LabelBalance = PlaceLabel(this, TabOptions, "LabelBalance", 196, 10, "50 %");
  EAngle = PlaceControl<TEdit>(this, TabOptions, "EAngle", 60, 32, 36, 21);
  UDAngle = PlaceUpDown(this, EAngle, "UDAngle", 0, 360);
  LAngle = PlaceLabel(this, TabOptions, "LAngle", 6, 36, "&Angle:", EAngle);
  TBAngle = PlaceControl<TTrackBar>(this, TabOptions, "TBAngle", 114, 30, 128, 26);
  TBAngle->SetMax(360);
  TBAngle->SetFrequency(20);
  GroupBox1 = PlaceControl<TGroupBox>(this, TabOptions, "GroupBox1", 4, 58, 238, 64, "Radial offset:");
  auto radialRow = [this](const char* Label, const char* Caption, const char* Bar, const char* Value, int Top,
                          TLabel*& L, TTrackBar*& T, TLabel*& V) {
    T = PlaceControl<TTrackBar>(this, GroupBox1, Bar, 46, Top, 150, 22);
    T->SetMin(-300);
    T->SetMax(300);
    T->SetFrequency(50);
    L = PlaceLabel(this, GroupBox1, Label, 8, Top + 4, Caption, T);
    V = PlaceLabel(this, GroupBox1, Value, 202, Top + 4, "0");
  };
  radialRow("LRadialH", "&Horiz:", "TrackBar1", "LRadialX", 15, LRadialH, TrackBar1, LRadialX);
  radialRow("LRadialV", "&Vert:", "TrackBar2", "LRadialY", 38, LRadialV, TrackBar2, LRadialY);

  Directions = new TChartGalleryPanel(this);
  Directions->SetName("Directions");
  Directions->SetParent(TabDirections);
  Directions->SetAlign(alClient);
  Directions->SetBevelOuter(bvNone);
  Directions->SetDisplaySub(false);  // directions have no sub-styles

  CBSubVisible = PlaceControl<TCheckBox>(this, TabSubGradient, "CBSubVisible", 8, 8, 97, 17, "&Visible");
  BSubEdit = PlaceControl<TButtonGradient>(this, TabSubGradient, "BSubEdit", 8, 32, 100, 25, "&Edit...");
  SBTransp = percentBar(TabSubGradient, "SBTransp", 84, 70, 150);
  LSubTransp = PlaceLabel(this, TabSubGradient, "LSubTransp", 8, 72, "&Transparency:", SBTransp);

  PageControl1->SetActivePage(TabColors);

  OnShow = HANDLER(FormShow);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  CBDirection->OnChange = HANDLER(CBDirectionChange);
  Gallery->OnClick = HANDLER(GalleryClick);
  BStart->OnClick = HANDLER(BStartClick);
  BMid->OnClick = HANDLER(BMidClick);
  BEnd->OnClick = HANDLER(BEndClick);
  BSwap->OnClick = HANDLER(BSwapClick);
  CBMid->OnClick = HANDLER(CBMidClick);
  SBBalance->OnChange = HANDLER(SBBalanceChange);
  EAngle->OnChange = HANDLER(EAngleChange);
  TBAngle->OnChange = HANDLER(TBAngleChange);
  TrackBar1->OnChange = HANDLER(TrackBar1Change);
  TrackBar2->OnChange = HANDLER(TrackBar2Change);
  Directions->OnChangeChart = HANDLER(DirectionsChangeChart);
  CBSubVisible->OnClick = HANDLER(CBSubVisibleClick);
  SBTransp->OnChange = HANDLER(SBTranspChange);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  BCancel->OnClick = HANDLER(BCancelClick);
  OnClose = HANDLER(FormClose);
}

TLumGradientEditor::~TLumGradientEditor() {
  // The buttons let go of the gradient before its owner may free it.
  for (TLumButton* b : {static_cast<TLumButton*>(BStart), static_cast<TLumButton*>(BMid),
                        static_cast<TLumButton*>(BEnd), static_cast<TLumButton*>(BSubEdit)})
    b->LinkProperty(nullptr, "");
}

void TLumGradientEditor::SetHideEnd(bool Value) {
  hideEnd_ = Value;
  BEnd->SetVisible(!Value);
  BSwap->SetVisible(!Value);
  if (gradient_) {
    ApplyVisibleRule();
    ApplyDirectionRule();
  }
}

TSubGradient* TLumGradientEditor::SubGradient() const {
  auto* g = dynamic_cast<TLumGradient*>(gradient_);
  return g ? g->SubGradient() : nullptr;
}

void TLumGradientEditor::SetGradient(TCustomLumGradient* Value) {
  loading_ = true;
  SetTag(reinterpret_cast<std::intptr_t>(Value));
  gradient_ = Value;
  if (gradient_) {
    if (dynamic_cast<TSubGradient*>(gradient_))
      undo_ = std::make_unique<TSubGradient>();
    else
      undo_ = std::make_unique<TLumGradient>();
    undo_->Assign(gradient_);
    BStart->LinkProperty(gradient_, "StartColor");
    BMid->LinkProperty(gradient_, "MidColor");
    BEnd->LinkProperty(gradient_, "EndColor");
    // A sub-gradient has no sub-gradient of its own.
    TabSubGradient->SetTabVisible(SubGradient() != nullptr);
    LoadControls();
    ApplyVisibleRule();
    ApplyDirectionRule();
    UpdatePreview();
    SelectDirectionChart();
  } else {
    // No gradient: nothing of the last one stays linked.
    undo_.reset();
    for (TLumButton* b : {static_cast<TLumButton*>(BStart), static_cast<TLumButton*>(BMid),
                          static_cast<TLumButton*>(BEnd), static_cast<TLumButton*>(BSubEdit)})
      b->LinkProperty(nullptr, "");
  }
  loading_ = false;
}

void TLumGradientEditor::LoadControls() {
  if (!gradient_) return;
  Marked(loading_, [this] {
    SBBalance->SetPosition(gradient_->Balance());
    ShowBalance();
    CBVisible->SetChecked(gradient_->Visible());
    CBDirection->SetItemIndex(gradient_->Direction());
    CBMid->SetChecked(gradient_->MidColor() == clNone);
    TrackBar1->SetPosition(gradient_->RadialX());
    LRadialX->SetCaption(IntToStr(gradient_->RadialX()));
    TrackBar2->SetPosition(gradient_->RadialY());
    LRadialY->SetCaption(IntToStr(gradient_->RadialY()));
    UDAngle->SetPosition(gradient_->Angle());
    TBAngle->SetPosition(gradient_->Angle());
    if (TSubGradient* sub = SubGradient()) {
      LinkGradient(BSubEdit, sub);
      SBTransp->SetPosition(sub->Transparency());
      CBSubVisible->SetChecked(sub->Visible());
    }
    for (TLumButton* b : {BStart, BMid, BEnd}) b->RepaintSymbol();
    RefreshDirections();
  });
}

void TLumGradientEditor::UpdatePreview() {
  if (!gradient_) return;
  TLumGradient* p = preview_->Gradient();
  p->SetVisible(gradient_->Visible());
  p->SetDirection(gradient_->Direction());
  p->SetStartColor(gradient_->StartColor());
  p->SetMidColor(gradient_->MidColor());
  p->SetEndColor(gradient_->EndColor());
  RefreshDirections();
}

void TLumGradientEditor::ApplyVisibleRule() {
  const bool on = hideEnd_ || gradient_->Visible();
  for (TControl* c : std::initializer_list<TControl*>{CBDirection, BStart, CBMid, BMid, BEnd, BSwap, Gallery})
    c->SetEnabled(on);
}

void TLumGradientEditor::ApplyDirectionRule() {
  const bool mid = hideEnd_ || (gradient_->Visible() && !Ringed(gradient_->Direction()));
  CBMid->SetEnabled(mid);
  BMid->SetEnabled(mid);
  const bool radial = gradient_->Direction() == gdRadial;
  for (TControl* c : std::initializer_list<TControl*>{LRadialH, LRadialV, LRadialX, LRadialY, TrackBar1, TrackBar2})
    c->SetEnabled(radial);
}

void TLumGradientEditor::ShowBalance() { LabelBalance->SetCaption(FormatFloat(LumMsg_PercentFormat, SBBalance->Position())); }

void TLumGradientEditor::FormShow(TObject*) {
  TranslateControl(this);
  SetGradient(gradient_ ? gradient_ : reinterpret_cast<TCustomLumGradient*>(Tag()));
  modified_ = false;
}

void TLumGradientEditor::CBVisibleClick(TObject*) {
  if (!Editing()) return;
  gradient_->SetVisible(CBVisible->Checked());
  Changed();
  ApplyVisibleRule();
  ApplyDirectionRule();
  UpdatePreview();
}

void TLumGradientEditor::DirectionChanged(TGradientDirection Value) {
  gradient_->SetDirection(Value);
  Changed();
  ApplyDirectionRule();
  if (!Straight(Value)) Gallery->SetItemIndex(-1);
  UpdatePreview();
}

void TLumGradientEditor::CBDirectionChange(TObject*) {
  if (!Editing() || CBDirection->ItemIndex() < 0) return;
  DirectionChanged(TGradientDirection(CBDirection->ItemIndex()));
  SelectDirectionChart();
}

void TLumGradientEditor::GalleryClick(TObject*) {
  const int i = Gallery->ItemIndex();
  if (!Editing() || i < 0) return;
  const TPreset& p = Presets[reinterpret_cast<std::intptr_t>(Gallery->Items()->Objects(i))];
  gradient_->SetStartColor(p.Start);
  gradient_->SetMidColor(p.Mid);
  gradient_->SetEndColor(p.End);
  gradient_->SetDirection(p.Direction);
  gradient_->SetBalance(p.Balance);
  LoadControls();
  ApplyDirectionRule();
  UpdatePreview();
  SelectDirectionChart();
}

void TLumGradientEditor::BStartClick(TObject*) {
  if (!gradient_) return;
  Changed();
  UpdatePreview();
}

void TLumGradientEditor::BMidClick(TObject*) {
  if (!gradient_) return;
  Changed();
  Marked(loading_, [this] { CBMid->SetChecked(gradient_->MidColor() == clNone); });
  UpdatePreview();
}

void TLumGradientEditor::BEndClick(TObject*) { BStartClick(BEnd); }

void TLumGradientEditor::BSwapClick(TObject*) {
  if (!gradient_) return;
  const TColor start = gradient_->StartColor();
  gradient_->SetStartColor(gradient_->EndColor());
  gradient_->SetEndColor(start);
  Changed();
  BStart->RepaintSymbol();
  BEnd->RepaintSymbol();
  UpdatePreview();
}

void TLumGradientEditor::CBMidClick(TObject*) {
  if (!Editing()) return;
  if (CBMid->Checked())
    gradient_->SetMidColor(clNone);
  else if (gradient_->MidColor() == clNone)
    gradient_->SetMidColor(clWhite);
  Changed();
  BMid->RepaintSymbol();
  UpdatePreview();
}

void TLumGradientEditor::SBBalanceChange(TObject*) {
  if (Editing()) {
    gradient_->SetBalance(SBBalance->Position());
    Changed();
  }
  ShowBalance();
}

void TLumGradientEditor::EAngleChange(TObject*) {
  if (!Editing() || !Showing()) return;
  gradient_->SetAngle(UDAngle->Position());
  Marked(loading_, [this] { TBAngle->SetPosition(UDAngle->Position()); });
}

void TLumGradientEditor::TBAngleChange(TObject*) {
  if (!Editing() || !Showing()) return;
  gradient_->SetAngle(TBAngle->Position());
  Marked(loading_, [this] { UDAngle->SetPosition(TBAngle->Position()); });
}

void TLumGradientEditor::TrackBar1Change(TObject*) {
  LRadialX->SetCaption(IntToStr(TrackBar1->Position()));
  if (!Editing()) return;
  gradient_->SetRadialX(TrackBar1->Position());
  Changed();
}

void TLumGradientEditor::TrackBar2Change(TObject*) {
  LRadialY->SetCaption(IntToStr(TrackBar2->Position()));
  if (!Editing()) return;
  gradient_->SetRadialY(TrackBar2->Position());
  Changed();
}

void TLumGradientEditor::CBSubVisibleClick(TObject*) {
  if (Editing() && SubGradient()) SubGradient()->SetVisible(CBSubVisible->Checked());
}

void TLumGradientEditor::SBTranspChange(TObject*) {
  if (Editing() && SubGradient()) SubGradient()->SetTransparency(SBTransp->Position());
}

// A click on a direction's chart (or the keys that move the selection there).
void TLumGradientEditor::DirectionsChangeChart(TObject*) {
  if (!Editing() || !Directions->SelectedChart) return;
  const int i = Directions->Charts().IndexOf(Directions->SelectedChart);
  if (i < 0 || i >= DirectionCount) return;
  Marked(loading_, [&] { CBDirection->SetItemIndex(i); });
  DirectionChanged(TGradientDirection(i));
}

void TLumGradientEditor::PageControl1Change(TObject*) {
  if (PageControl1->ActivePage() == TabDirections && Directions->Charts().Count() == 0) BuildDirections();
}

void TLumGradientEditor::BuildDirections() {
  Marked(loading_, [this] {
    Directions->SetNumRows(2);
    Directions->SetNumCols(5);
    for (int d = 0; d < DirectionCount; ++d) {
      auto* c = new TGalleryChart(Directions);
      c->SetAutoRepaint(false);
      c->SetColor(Directions->Color());
      Directions->AddChart(c);
      c->SetHint(DirectionNames[d]);
      c->SetShowHint(true);
      c->SetView3D(false);
      c->Axes()->SetVisible(false);
      c->SetMarginLeft(16);
      c->SetMarginRight(16);
      c->SetMarginTop(22);
      c->SetMarginBottom(22);
      c->BackWall()->SetTransparent(false);
      c->BackWall()->Gradient()->SetVisible(true);
      c->BackWall()->Gradient()->SetDirection(TGradientDirection(d));
      c->SetAutoRepaint(true);
    }
    Directions->ResizeCharts();
    RefreshDirections();
    SelectDirectionChart();
  });
}

void TLumGradientEditor::RefreshDirections() {
  if (!gradient_) return;
  for (TGalleryChart* c : Directions->Charts()) {
    TLumGradient* g = c->BackWall()->Gradient();
    g->SetStartColor(gradient_->StartColor());
    g->SetMidColor(gradient_->MidColor());
    g->SetEndColor(gradient_->EndColor());
  }
}

// Selecting a chart focuses it: the control that had the focus keeps it.
void TLumGradientEditor::SelectDirectionChart() {
  const int d = gradient_ ? int(gradient_->Direction()) : -1;
  if (d < 0 || d >= Directions->Charts().Count()) return;
  TForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  Marked(loading_, [&] { Directions->SelectChart(Directions->GetChart(d)); });
  if (focused && focused != form->ActiveControl() && focused->CanFocus()) focused->SetFocus();
}

void TLumGradientEditor::BCancelClick(TObject*) {
  if (!modified_ || !gradient_ || !undo_) return;
  // The gradient's owner hears of the restore once, from the editor.
  TNotifyEvent saved;
  std::swap(saved, gradient_->OnChange);
  gradient_->Assign(undo_.get());
  std::swap(saved, gradient_->OnChange);
  modified_ = false;
  // The restore may have replaced the sub-gradient the button showed.
  LoadControls();
  if (gradient_->OnChange.Assigned()) gradient_->OnChange(this);
}

// Every end of a modal run but OK cancels: the close box and Escape too.
void TLumGradientEditor::FormClose(TObject*, TCloseAction&) {
  if (ModalResult() != mrOk) BCancelClick(this);
}

// ---------------------------------------------------------------------------
bool EditGradient(TControl* Control, TCustomLumGradient* Gradient, bool HideEnd, bool HideVisible) {
  TModalDialog<TLumGradientEditor> editor(CreateEditorDialog<TLumGradientEditor>(Control));
  editor->SetHideEnd(HideEnd);
  if (HideVisible) editor->CBVisible->Hide();
  editor->SetGradient(Gradient);
  return editor.Run();
}

TLumGradientEditor* EmbedGradientEditor(TComponent* Owner, TCustomLumGradient* Gradient) {
  auto* editor = new TLumGradientEditor(Owner);
  editor->SetGradient(Gradient);
  editor->Panel2->Hide();
  editor->SetHeight(editor->Height() - editor->BOk->Height());
  return editor;
}

// ---------------------------------------------------------------------------
TButtonGradient::TButtonGradient(TComponent* AOwner) : TLumButton(AOwner) {}

TButtonGradient::~TButtonGradient() {
  if (editor_) editor_->OnDestroy = editorOnDestroy_;
}

void TButtonGradient::DefineProperties(TPropertyTable& t) {
  t.Bool("HideEnd", &TButtonGradient::HideEnd, &TButtonGradient::SetHideEnd).Default(false);
}

TCustomLumGradient* TButtonGradient::Gradient() const { return dynamic_cast<TCustomLumGradient*>(Instance()); }

void TButtonGradient::Click() {
  TCustomLumGradient* gradient = Gradient();
  if (!gradient) return TLumButton::Click();
  const bool ok = RunButtonDialog(this, editor_, editorOnDestroy_, [&] {
    auto* editor = CreateEditorDialog<TLumGradientEditor>(this);
    editor->SetHideEnd(hideEnd_);
    editor->SetGradient(gradient);
    return editor;
  });
  if (!ok) return;
  RepaintSymbol();
  TLumButton::Click();
}

void TButtonGradient::DrawSymbol(TCanvas* ACanvas) {
  TCustomLumGradient* gradient = Gradient();
  if (!Enabled() || !gradient) return;
  const TRect box = SymbolRect();
  const TRect r = Rect(0, 0, box.Width(), box.Height());
  TLumCanvas3D canvas;
  canvas.AttachCanvas(ACanvas);
  gradient->Draw(&canvas, r);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(1);
  canvas.Pen()->SetColor(canvas.GetGradient()->Visible() ? clBlack : TColor(0x808080));
  canvas.Rectangle(r);
  canvas.AttachCanvas(nullptr);
}

void LinkGradient(TButtonGradient* Button, TCustomLumGradient* Gradient) {
  Button->LinkProperty(Gradient, "");
  Button->Invalidate();
}
