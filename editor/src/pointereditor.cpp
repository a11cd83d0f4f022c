#include "editor/pointereditor.h"

#include "canvas/lumcanvas.h"
#include "chart/series.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/gradienteditor.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TSeriesPointerEditor, TForm)

namespace {

constexpr int kClientWidth = 366, kClientHeight = 276, kBottomHeight = 34;

// The styles in their numbering; the list shows them sorted by name.
const char* const StyleNames[] = {"Square",      "Circle",      "Triangle",     "Down Triangle", "Cross",
                                  "Diagonal Cross", "Star",     "Diamond",      "Small Dot",     "Nothing",
                                  "Left Triangle",  "Right Triangle", "Hexagon", "Visual"};

TObject* StyleObject(TSeriesPointerStyle Style) { return reinterpret_cast<TObject*>(std::intptr_t(Style)); }
TSeriesPointerStyle ObjectStyle(TObject* Object) {
  return TSeriesPointerStyle(reinterpret_cast<std::intptr_t>(Object));
}

// The series whose pointer the editor finds for a series given as Tag.
TSeriesPointer* PointerOf(TChartSeries* Series) {
  auto* s = dynamic_cast<TCustomSeries*>(Series);
  return s ? s->Pointer() : nullptr;
}

}  // namespace

TSeriesPointerEditor::TSeriesPointerEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "SeriesPointerEditor", "", kClientWidth, kClientHeight, bsNone);
  SetAlign(alClient);

  PanelBottom =
      PlainPanel(this, this, "PanelBottom", alBottom, 0, kClientHeight - kBottomHeight, kClientWidth, kBottomHeight);
  PanelBottom->SetVisible(false);
  Button1 = PlaceControl<TButton>(this, PanelBottom, "Button1", kClientWidth - 83, 4, 75, 25, "Close");
  Button1->SetModalResult(mrOk);
  Button1->SetDefault(true);
  Button1->SetCancel(true);

  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, kClientWidth, kClientHeight, true);
  TabStyle = Sheet(this, PageControl1, "TabStyle", "Style");
  TabSize = Sheet(this, PageControl1, "TabSize", "Size");
  TabVisual = Sheet(this, PageControl1, "TabVisual", "Visual");

  // Style: the marker's look on the left, its colours and effects on the right.
  CBDrawPoint = CheckBox(this, TabStyle, "CBDrawPoint", 8, 8, 150, "&Visible");
  CB3dPoint = CheckBox(this, TabStyle, "CB3dPoint", 8, 31, 150, "&3D");
  CBPoDark = CheckBox(this, TabStyle, "CBPoDark", 24, 54, 134, "Dar&k 3D");
  CBColorEach = CheckBox(this, TabStyle, "CBColorEach", 8, 77, 150, "&Color Each ");
  CBIgnoreNulls = CheckBox(this, TabStyle, "CBIgnoreNulls", 8, 100, 150, "&Ignore nulls");
  CBStyle = PlaceControl<TComboFlat>(this, TabStyle, "CBStyle", 56, 130, 160, 21);
  CBStyle->SetStyle(csOwnerDrawFixed);
  CBStyle->SetItemHeight(16);
  CBStyle->SetDropDownCount(14);
  for (int i = psRectangle; i <= psVisual; ++i) CBStyle->Items()->AddObject(StyleNames[i], StyleObject(TSeriesPointerStyle(i)));
  CBStyle->SetSorted(true);
  LStyle = PlaceLabel(this, TabStyle, "LStyle", 8, 135, "&Style:", CBStyle);
  TBTransp = PlaceControl<TTrackBar>(this, TabStyle, "TBTransp", 8, 184, 208, 30);
  TBTransp->SetMax(100);
  TBTransp->SetFrequency(10);
  TBTransp->SetPageSize(10);
  LTransp = PlaceLabel(this, TabStyle, "LTransp", 8, 166, "&Transparency:", TBTransp);

  BPointFillColor = PlaceControl<TButton>(this, TabStyle, "BPointFillColor", 240, 8, 105, 25, "&Pattern...");
  CBDefBrushColor = CheckBox(this, TabStyle, "CBDefBrushColor", 240, 38, 105, "&Default");
  BPoinPenCol = PlaceControl<TButtonPen>(this, TabStyle, "BPoinPenCol", 240, 62, 105, 25, "B&order...");
  BGradient = PlaceControl<TButton>(this, TabStyle, "BGradient", 240, 100, 105, 25, "&Gradient...");
  Button2 = PlaceControl<TButton>(this, TabStyle, "Button2", 240, 130, 105, 25, "Sh&adow...");
  BEmboss = PlaceControl<TButton>(this, TabStyle, "BEmboss", 240, 160, 105, 25, "&Emboss...");

  // Size
  const auto sizes = EditUpDownRows(this, TabSize,
                                    {{"LPointHorizSize", "&Width:", "SEPointHorizSize", "UDPointHorizSize"},
                                     {"LPointVertSize", "&Height:", "SEPointVertSize", "UDPointVertSize"},
                                     {"LPointDepth", "&Depth:", "SEPointDepth", "UDPointDepth"}},
                                    8, 72, 10, 64, 1, 1000);
  LPointHorizSize = sizes[0].Label, SEPointHorizSize = sizes[0].Edit, UDPointHorizSize = sizes[0].UpDown;
  LPointVertSize = sizes[1].Label, SEPointVertSize = sizes[1].Edit, UDPointVertSize = sizes[1].UpDown;
  LPointDepth = sizes[2].Label, SEPointDepth = sizes[2].Edit, UDPointDepth = sizes[2].UpDown;
  UDPointDepth->SetMin(0);
  CBInflate = CheckBox(this, TabSize, "CBInflate", 8, 96, 200, "Inflate &Margins");

  PageControl1->SetActivePage(TabStyle);
  SetActiveControl(CBDrawPoint);

  OnShow = HANDLER(FormShow);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  CBDrawPoint->OnClick = HANDLER(CBDrawPointClick);
  CB3dPoint->OnClick = HANDLER(CB3dPointClick);
  CBPoDark->OnClick = HANDLER(CBPoDarkClick);
  CBColorEach->OnClick = HANDLER(CBColorEachClick);
  CBIgnoreNulls->OnClick = HANDLER(CBIgnoreNullsClick);
  CBStyle->OnChange = HANDLER(CBStyleChange);
  CBStyle->OnDrawItem = HANDLER(CBStyleDrawItem);
  TBTransp->OnChange = HANDLER(TBTranspChange);
  BPointFillColor->OnClick = HANDLER(BPointFillColorClick);
  CBDefBrushColor->OnClick = HANDLER(CBDefBrushColorClick);
  BPoinPenCol->OnClick = HANDLER(BPoinPenColClick);
  BGradient->OnClick = HANDLER(BGradientClick);
  Button2->OnClick = HANDLER(Button2Click);
  BEmboss->OnClick = HANDLER(BEmbossClick);
  for (TEdit* e : {SEPointHorizSize, SEPointVertSize, SEPointDepth}) e->OnChange = HANDLER(SizeChange);
  CBInflate->OnClick = HANDLER(CBInflateClick);
  // Borderless and client-aligned as every such page starts: its own defaults.
  RecordDefaults(this);
}

TSeriesPointerEditor::~TSeriesPointerEditor() {
  // The pen button lets go of the pointer's pen before the series may free it.
  BPoinPenCol->LinkProperty(nullptr, "");
  SetEditedPointer(nullptr);
}

TSeriesPointer* TSeriesPointerEditor::Pointer() const { return pointer_; }

void TSeriesPointerEditor::SetPointerTag(TSeriesPointer* Value) {
  given_ = Value;
  SetTag(std::intptr_t(Value));
}

void TSeriesPointerEditor::SetEditedPointer(TSeriesPointer* Value) {
  if (pointerSeries_) RemoveFreeNotification(pointerSeries_);
  pointer_ = Value;
  pointerSeries_ = Value ? Value->ParentSeries() : nullptr;
  if (pointerSeries_) FreeNotification(pointerSeries_);
}

void TSeriesPointerEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != pointerSeries_) return;
  // The series takes its pointer with it: nothing here may reach either again, nor
  // the dialogs opened on its brush, gradient, shadow or emboss.
  EndModalDialogs(this);
  if (given_ == pointer_) given_ = nullptr;
  pointerSeries_ = nullptr;
  pointer_ = nullptr;
  BPoinPenCol->LinkProperty(nullptr, "");
  delete visualsEditor_;
  visualsEditor_ = nullptr;
  holder_.reset();
}

void TSeriesPointerEditor::FormShow(TObject*) {
  loading_ = true;
  TComponent* tagged = ComponentFromTag(this, Tag());
  auto* series = dynamic_cast<TChartSeries*>(tagged);
  series_.Set(series);
  if (series) SetEditedPointer(PointerOf(series));
  else if (given_ && Tag() == std::intptr_t(given_)) SetEditedPointer(given_);
  else SetEditedPointer(nullptr);

  CBColorEach->SetVisible(series != nullptr);
  CBColorEach->SetEnabled(series != nullptr);
  CBIgnoreNulls->SetVisible(series != nullptr);
  CBIgnoreNulls->SetEnabled(series != nullptr);
  if (series) {
    CBColorEach->SetChecked(series->ColorEachPoint());
    CBIgnoreNulls->SetChecked(series->TreatNulls() == tnIgnore);
  }
  TabVisual->SetTabVisible(TheSeries() != nullptr);

  TSeriesPointer* p = Pointer();
  if (p) {
    CBDrawPoint->SetChecked(p->Visible());
    CB3dPoint->SetChecked(p->Draw3D());
    UDPointHorizSize->SetPosition(p->HorizSize());
    UDPointVertSize->SetPosition(p->VertSize());
    UDPointDepth->SetPosition(p->Depth());
    SelectStyle();
    CBInflate->SetChecked(p->InflateMargins());
    CBPoDark->SetChecked(p->Dark3D());
    CheckDefaultColor();
    BPoinPenCol->LinkProperty(p->Pen(), "");
    TBTransp->SetPosition(p->Transparency());
    const bool sizes = p->AllowChangeSize();
    SetControlsVisible(sizes, {LPointHorizSize, SEPointHorizSize, UDPointHorizSize, LPointVertSize, SEPointVertSize,
                               UDPointVertSize});
  } else {
    BPoinPenCol->LinkProperty(nullptr, "");
  }
  EnableVisibleControls();
  TranslateControl(this);
  loading_ = false;
}

void TSeriesPointerEditor::SelectStyle() {
  TSeriesPointer* p = Pointer();
  CBStyle->SetItemIndex(p ? CBStyle->Items()->IndexOfObject(StyleObject(p->Style())) : -1);
}

void TSeriesPointerEditor::EnableVisibleControls() {
  const bool visible = Pointer() && CBDrawPoint->Checked();
  for (TControl* c : std::initializer_list<TControl*>{CBInflate, SEPointHorizSize, UDPointHorizSize, SEPointVertSize,
                                                      UDPointVertSize, SEPointDepth, UDPointDepth, BPointFillColor,
                                                      CBStyle, BPoinPenCol, CBDefBrushColor})
    c->SetEnabled(visible);
  if (visible) {
    Enable3D();
  } else {
    CB3dPoint->SetEnabled(false);
    CBPoDark->SetEnabled(false);
  }
}

void TSeriesPointerEditor::Enable3D() {
  TSeriesPointer* p = Pointer();
  TChartSeries* s = p ? p->ParentSeries() : nullptr;
  TCustomAxisPanel* chart = s ? s->ParentChart() : nullptr;
  bool can = false;
  if (chart && chart->View3D()) {
    const TSeriesPointerStyle style = p->Style();
    can = style == psRectangle || style == psTriangle || style == psDownTriangle ||
          (style == psCircle && chart->Canvas() && chart->Canvas()->SupportsFullRotation());
  }
  CB3dPoint->SetEnabled(can);
  CBPoDark->SetEnabled(can && CB3dPoint->Checked());
}

void TSeriesPointerEditor::CheckDefaultColor() {
  TSeriesPointer* p = Pointer();
  const bool was = loading_;
  loading_ = true;
  CBDefBrushColor->SetChecked(p && p->Brush()->Color() == clLumColor && p->Pen()->Color() == clLumColor);
  loading_ = was;
}

void TSeriesPointerEditor::CBDrawPointClick(TObject*) {
  if (Editing()) Pointer()->SetVisible(CBDrawPoint->Checked());
  EnableVisibleControls();
}

void TSeriesPointerEditor::CB3dPointClick(TObject*) {
  if (Editing()) Pointer()->SetDraw3D(CB3dPoint->Checked());
  CBPoDark->SetEnabled(CB3dPoint->Enabled() && CB3dPoint->Checked());
}

void TSeriesPointerEditor::CBPoDarkClick(TObject*) {
  if (Editing()) Pointer()->SetDark3D(CBPoDark->Checked());
}

void TSeriesPointerEditor::CBColorEachClick(TObject*) {
  if (Editing() && TheSeries()) TheSeries()->SetColorEachPoint(CBColorEach->Checked());
}

void TSeriesPointerEditor::CBIgnoreNullsClick(TObject*) {
  if (Editing() && TheSeries()) TheSeries()->SetTreatNulls(CBIgnoreNulls->Checked() ? tnIgnore : tnDontPaint);
}

void TSeriesPointerEditor::CBStyleChange(TObject*) {
  const int i = CBStyle->ItemIndex();
  if (!Editing() || i < 0) return;
  Pointer()->SetStyle(ObjectStyle(CBStyle->Items()->Objects(i)));
  Enable3D();
}

// Each item: its symbol in the pointer's colour (the series' when the pointer takes
// the point's), then its name.
void TSeriesPointerEditor::CBStyleDrawItem(TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
  TCanvas* c = CBStyle->Canvas();
  const TColor back = (State & odSelected) ? clHighlight : CBStyle->Color();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
  c->FillRect(R);
  TSeriesPointer* p = Pointer();
  if (p) {
    TColor color = p->Brush()->Color();
    if (color == clLumColor && p->ParentSeries()) color = p->ParentSeries()->SeriesColor();
    TLumCanvas3D canvas;
    canvas.AttachCanvas(c);
    canvas.ApplyPen(p->Pen());
    const TSeriesPointerStyle style = ObjectStyle(CBStyle->Items()->Objects(Index));
    if (!p->Pen()->Visible() && (style == psCross || style == psDiagCross || style == psStar || style == psSmallDot)) {
      canvas.Pen()->SetStyle(psSolid);
      canvas.Pen()->SetWidth(1);
      canvas.Pen()->SetColor(color);
    } else if (p->Pen()->Color() == clLumColor) {
      canvas.Pen()->SetColor(color);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    p->DrawPointer(&canvas, false, style, color, 9, 9, R.Left + 6, R.Top + 8);
    canvas.AttachCanvas(nullptr);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor((State & odSelected) ? clHighlightText : clWindowText);
  c->TextOut(R.Left + 14, R.Top + 2, CBStyle->Items()->Strings(Index));
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
}

void TSeriesPointerEditor::TBTranspChange(TObject*) {
  if (Editing()) Pointer()->SetTransparency(TBTransp->Position());
}

void TSeriesPointerEditor::BPointFillColorClick(TObject*) {
  if (!Pointer()) return;
  TComponentRef<TSeriesPointerEditor> self(this);
  EditBrush(BPointFillColor, Pointer()->Brush());
  if (!self) return;
  CheckDefaultColor();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::CBDefBrushColorClick(TObject*) {
  if (!Editing()) return;
  TSeriesPointer* p = Pointer();
  if (CBDefBrushColor->Checked()) {
    p->Brush()->SetColor(clLumColor);
    p->Pen()->SetColor(clLumColor);
  } else if (p->Pen()->Color() == clLumColor) {
    p->Pen()->SetColor(clBlack);
  }
  BPoinPenCol->RepaintSymbol();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::BPoinPenColClick(TObject*) {
  CheckDefaultColor();
  CBStyle->Invalidate();
}

void TSeriesPointerEditor::BGradientClick(TObject*) {
  if (Pointer()) EditGradient(BGradient, Pointer()->Gradient());
}

void TSeriesPointerEditor::Button2Click(TObject*) {
  if (Pointer()) EditShadow(Button2, Pointer()->Shadow());
}

void TSeriesPointerEditor::BEmbossClick(TObject*) {
  if (Pointer()) EditEmboss(BEmboss, Pointer()->Emboss());
}

void TSeriesPointerEditor::SizeChange(TObject* Sender) {
  if (!Editing()) return;
  TSeriesPointer* p = Pointer();
  if (Sender == SEPointHorizSize) p->SetHorizSize(UDPointHorizSize->Position());
  else if (Sender == SEPointVertSize) p->SetVertSize(UDPointVertSize->Position());
  else if (Sender == SEPointDepth) p->SetDepth(UDPointDepth->Position());
}

void TSeriesPointerEditor::CBInflateClick(TObject*) {
  if (Editing()) Pointer()->SetInflateMargins(CBInflate->Checked());
}

void TSeriesPointerEditor::PageControl1Change(TObject*) {
  if (PageControl1->ActivePage() != TabVisual || visualsEditor_ || !TheSeries()) return;
  holder_.reset(new TVisualsHolder(TheSeries()));
  holder_->SetVisual(TheSeries()->Visual());
  visualsEditor_ = new TVisualsEditor(this);
  visualsEditor_->SetAlign(alClient);
  visualsEditor_->OnChange = HANDLER(VisualChanged);
  EmbedEditorFormWithTag(visualsEditor_, TabVisual, std::intptr_t(holder_.get()));
}

void TSeriesPointerEditor::VisualChanged(TObject*) {
  TChartSeries* s = TheSeries();
  if (!s || !holder_) return;
  s->SetVisual(holder_->Visual());
  if (TSeriesPointer* p = Pointer()) p->SetStyle(s->Visual() ? psVisual : psCircle);
  const bool was = loading_;
  loading_ = true;
  SelectStyle();
  loading_ = was;
  Enable3D();
}

bool EditSeriesPointer(TControl* Owner, TSeriesPointer* Pointer) {
  TModalDialog<TSeriesPointerEditor> f(CreateEditorDialog<TSeriesPointerEditor>(Owner));
  f->SetAlign(alNone);
  f->SetCaption("Pointer");
  f->SetPointerTag(Pointer);
  f->CBInflate->SetVisible(false);
  f->CBColorEach->SetVisible(false);
  f->PanelBottom->SetVisible(true);
  f->SetClientHeight(f->ClientHeight() + kBottomHeight);
  TranslateControl(f.Get());
  f.Run();
  return true;
}
