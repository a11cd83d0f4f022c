#include "gallery/preview.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "canvas/lumcanvas.h"
#include "canvas/procs.h"
#include "engine/helpers.h"
#include "engine/print.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "platform/metafile.h"

using namespace formbuild;

IMPLEMENT_CLASS_PROPS(TPreviewChartPen, TChartPen)
IMPLEMENT_CLASS_PROPS(TLumPreviewPanel, TCustomLumPanelExtended)
IMPLEMENT_CLASS(TChartPreview, TForm)

namespace {
// Half to even, as the sheet's layout rounds.
int RoundEven(double V) { return int(std::nearbyint(V)); }

bool HavePrinters() { return !Printer()->Printers().empty(); }

struct CursorScope {
  TCursor old = Screen->Cursor();
  explicit CursorScope(TCursor C) { Screen->SetCursor(C); }
  ~CursorScope() { Screen->SetCursor(old); }
};

// The panel's printing-now flag while it lives.
struct PrintingScope {
  TCustomLumPanel* p;
  explicit PrintingScope(TCustomLumPanel* P) : p(P) { p->SetPrinting(true); }
  ~PrintingScope() { p->SetPrinting(false); }
};
}  // namespace

// ---------------------------------------------------------------------------
int TLumPanelsList::IndexOf(const TCustomLumPanel* Panel) const {
  const auto it = std::find(items_.begin(), items_.end(), Panel);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TLumPanelsList::Remove(const TCustomLumPanel* Panel) {
  items_.erase(std::remove(items_.begin(), items_.end(), Panel), items_.end());
}

TPreviewChartPen::TPreviewChartPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
  SetSmallDots(true);
  SetStyle(psDot);
}

void TPreviewChartPen::DefineProperties(TPropertyTable& t) {
  t.Bool("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots).Default(true);
  t.Enum("Style", &TChartPen::Style, &TChartPen::SetStyle,
         {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"})
      .Default((long long)psDot);
}

// ---------------------------------------------------------------------------
TLumPreviewPanel::TLumPreviewPanel(TComponent* AOwner) : TCustomLumPanelExtended(AOwner) {
  const TNotifyEvent repaint([this](TObject*) { Invalidate(); });
  margins_ = std::make_unique<TPreviewChartPen>(repaint);
  paperShadow_ = std::make_unique<TLumShadow>(repaint);
  paperShadow_->InitDefaults(true, TColor(0x808080), 4);
  SetBounds(Left(), Top(), 432, 312);
}

TLumPreviewPanel::~TLumPreviewPanel() {
  for (TCustomLumPanel* p : panels_) p->RemoveFreeNotification(this);
}

void TLumPreviewPanel::DefineProperties(TPropertyTable& t) {
  t.Bool("AllowMove", &TLumPreviewPanel::AllowMove, &TLumPreviewPanel::SetAllowMove).Default(true);
  t.Bool("AllowResize", &TLumPreviewPanel::AllowResize, &TLumPreviewPanel::SetAllowResize).Default(true);
  t.Bool("AsBitmap", &TLumPreviewPanel::AsBitmap, &TLumPreviewPanel::SetAsBitmap).Default(false);
  t.Bool("DragImage", &TLumPreviewPanel::DragImage, &TLumPreviewPanel::SetDragImage).Default(false);
  t.Object("Margins", &TLumPreviewPanel::Margins);
  t.Enum("Orientation", &TLumPreviewPanel::Orientation, &TLumPreviewPanel::SetOrientation,
         {"ppoDefault", "ppoPortrait", "ppoLandscape"})
      .Default((long long)ppoDefault);
  t.Event("OnChangeMargins", &TLumPreviewPanel::OnChangeMargins);
  t.Event("OnGetPaperRect", &TLumPreviewPanel::OnGetPaperRect);
  t.Color("PaperColor", &TLumPreviewPanel::PaperColor, &TLumPreviewPanel::SetPaperColor).Default((long long)clWhite);
  t.Object("PaperShadow", &TLumPreviewPanel::PaperShadow);
  t.Bool("ShowImage", &TLumPreviewPanel::ShowImage, &TLumPreviewPanel::SetShowImage).Default(true);
  t.Bool("SmoothBitmap", &TLumPreviewPanel::SmoothBitmap, &TLumPreviewPanel::SetSmoothBitmap).Default(true);
  t.Str("Title", &TLumPreviewPanel::Title, &TLumPreviewPanel::SetTitle).Default(std::string());
}

void TLumPreviewPanel::SetOrientation(TLumPreviewPanelOrientation Value) { SetProperty(orientation_, Value); }

void TLumPreviewPanel::SetPanel(TCustomLumPanel* Value) {
  if (Value == Panel() || Value == this) return;
  if (TCustomLumPanel* old = Panel()) {
    panels_.Delete(0);
    if (panels_.IndexOf(old) < 0) old->RemoveFreeNotification(this);
  }
  if (Value && panels_.IndexOf(Value) < 0) {
    panels_.Insert(0, Value);
    Value->FreeNotification(this);
  }
  if (Value) asBitmap_ = Value->Canvas()->SupportsFullRotation();
  Invalidate();
}

void TLumPreviewPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLumPanelExtended::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // By address: a component being freed no longer has its own class.
  for (TCustomLumPanel* p : panels_) {
    if (static_cast<TComponent*>(p) != AComponent) continue;
    panels_.Remove(p);
    dragZone_ = 0;
    Invalidate();
    break;
  }
}

void TLumPreviewPanel::ApplyOrientation() {
  if (orientation_ == ppoDefault || !HavePrinters()) return;
  Printer()->SetOrientation(orientation_ == ppoLandscape ? poLandscape : poPortrait);
}

TRect TLumPreviewPanel::CalcPaperRect() {
  ApplyOrientation();
  int w, h;
  if (HavePrinters()) {
    w = Printer()->PageWidth();
    h = Printer()->PageHeight();
  } else {
    w = Screen->Width();
    h = Screen->Height();
  }
  const int cw = ClientWidth(), ch = ClientHeight();
  // A relatively narrow window lays the sheet out across its width, a wide one
  // across its height: "a" is that direction, "b" the other.
  const bool narrow = std::int64_t(cw) * h <= std::int64_t(ch) * w;
  const int ca = narrow ? cw : ch, cb = narrow ? ch : cw, pa = narrow ? w : h, pb = narrow ? h : w;
  const int la = ca - RoundEven(ca / 5.0);
  const int lb = pa < 1 ? cb : MulDiv(la, pb, pa);
  const int sa = RoundEven(ca / 10.0), sb = (cb - lb) / 2;
  TRect r = narrow ? Rect(sa, sb, sa + la, sb + lb) : Rect(sb, sa, sb + lb, sa + la);
  if (OnGetPaperRect.Assigned()) OnGetPaperRect(this, r);
  return r;
}

TRect TLumPreviewPanel::CalcChartRect(TCustomLumPanel* APanel) {
  TRect m{15, 15, 15, 15};
  if (APanel) {
    if (APanel->PrintProportional() && HavePrinters()) APanel->CalcProportionalPrintRect();
    m = APanel->PrintMargins();
  }
  const TRect& p = paperRect_;
  const int w = p.Width(), h = p.Height();
  return {p.Left + MulDiv(m.Left, w, 100), p.Top + MulDiv(m.Top, h, 100), p.Right - MulDiv(m.Right, w, 100),
          p.Bottom - MulDiv(m.Bottom, h, 100)};
}

TBitmap* TLumPreviewPanel::BitmapPicture(TCustomLumPanel* APanel, const TRect& R) {
  PrintingScope printing(APanel);
  int x, y, w, h;
  APanel->CalcPrintRect(R, Rect(0, 0, APanel->Width(), APanel->Height()), x, y, w, h);
  if (w <= 0 || h <= 0) return nullptr;
  return APanel->CreateBitmap(paperColor_, Rect(0, 0, w, h), pf24bit);
}

void TLumPreviewPanel::DrawPanel(TCustomLumPanel* APanel, const TRect& R) {
  TCanvas3D* c = Canvas();
  PrintingScope printing(APanel);
  c->ClipRectangle(APanel->CanClip() ? R : paperRect_);
  struct Unclip {
    TCanvas3D* c;
    ~Unclip() { c->UnClipRectangle(); }
  } unclip{c};
  if (!showImage_ || R.Width() <= 0 || R.Height() <= 0) return;
  if (asBitmap_) {
    // A chart that is drawing answers nullptr: no picture this time.
    std::unique_ptr<TBitmap> bmp(BitmapPicture(APanel, R));
    if (!bmp) return;
    if (smoothBitmap_ && (bmp->Width() != R.Width() || bmp->Height() != R.Height())) {
      TBitmap fitted;
      fitted.SetPixelFormat(pf24bit);
      fitted.SetSize(R.Width(), R.Height());
      ResampleBitmap(bmp.get(), &fitted, true);
      c->Draw(R.Left, R.Top, &fitted);
    } else {
      c->StretchDraw(R, bmp.get());
    }
  } else {
    int x, y, w, h;
    APanel->CalcPrintRect(R, Rect(0, 0, APanel->Width(), APanel->Height()), x, y, w, h);
    std::unique_ptr<TMetafile> m(APanel->CreateMetafile(true, Rect(0, 0, w, h)));
    if (m) c->StretchDraw(R, m.get());
  }
}

void TLumPreviewPanel::DrawMarginLines(TLumCanvas* C) {
  if (!margins_->Visible()) return;
  C->ApplyPen(margins_.get());
  C->Pen()->SetMode(pmNotXor);
  C->Brush()->SetStyle(bsClear);
  C->Brush()->SetColor(paperColor_);
  C->SetBackMode(cbmTransparent);
  const TRect& p = paperRect_;
  const TRect& r = chartRect_;
  C->VertLine(r.Left - 1, p.Top + 1, p.Bottom);
  C->VertLine(r.Right, p.Top + 1, p.Bottom);
  C->HorizLine(p.Left + 1, p.Right, r.Top - 1);
  C->HorizLine(p.Left + 1, p.Right, r.Bottom);
  C->SetBackMode(cbmOpaque);
  C->Pen()->SetMode(pmCopy);
}

// Outside a paint: straight onto the control's picture, which the window shows.
void TLumPreviewPanel::DrawMarginLinesOnPicture() {
  TCanvas* picture = TCustomControl::Canvas();
  if (!picture) return;
  TLumCanvas c;
  c.AttachCanvas(picture);
  DrawMarginLines(&c);
  c.AttachCanvas(nullptr);
}

void TLumPreviewPanel::InternalDraw(const TRect& UserRect) {
  TCanvas3D* c = Canvas();
  DrawPanelBackground(UserRect);
  c->ResetState();
  paperRect_ = CalcPaperRect();
  // A sheet under 2 pixels has no proportions to keep (MulDiv by 0 answers -1).
  if (paperRect_.Width() >= 2 && paperRect_.Height() >= 2) {
    if (paperShadow_->Visible()) paperShadow_->Draw(c, paperRect_);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(paperColor_);
    c->Rectangle(paperRect_);
    chartRect_ = CalcChartRect(Panel());
    // A copy: a handler run by a drawing panel may change the list.
    const std::vector<TCustomLumPanel*> shown(panels_.begin(), panels_.end());
    for (TCustomLumPanel* p : shown) {
      if (panels_.IndexOf(p) < 0) continue;
      DrawPanel(p, p == Panel() ? chartRect_ : CalcChartRect(p));
    }
    c->ResetState();
    DrawMarginLines(c);
  } else {
    chartRect_ = paperRect_;
  }
  c->ResetState();
  if (OnAfterDraw.Assigned()) OnAfterDraw(this);
}

int TLumPreviewPanel::HitZone(int X, int Y) const {
  const TRect& r = chartRect_;
  auto near = [](int a, int b) { return std::abs(a - b) < 5; };
  const bool l = near(X, r.Left), t = near(Y, r.Top), rr = near(X, r.Right), b = near(Y, r.Bottom);
  int zone = 0;
  if (l && t) zone = 6;
  else if (l && b) zone = 8;
  else if (rr && t) zone = 7;
  else if (rr && b) zone = 9;
  else if (l) zone = 1;
  else if (rr) zone = 3;
  else if (t) zone = 2;
  else if (b) zone = 4;
  else if (X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom && allowMove_) zone = 5;
  return allowResize_ ? zone : 0;
}

TCursor TLumPreviewPanel::ZoneCursor(int Zone) {
  static const TCursor cursors[] = {crDefault,  crHSplit,   crVSplit,   crHSplit,   crVSplit,
                                    crLumHand,  crSizeNWSE, crSizeNESW, crSizeNESW, crSizeNWSE};
  return Zone >= 0 && Zone <= 9 ? cursors[Zone] : crDefault;
}

void TLumPreviewPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomLumPanelExtended::MouseDown(Button, Shift, X, Y);
  dragZone_ = HitZone(X, Y);
  if (dragZone_ == 5) {
    dragStart_ = {X, Y};
    dragStartRect_ = chartRect_;
  }
}

// The new chart rectangle for the mouse at X, Y; false when the rules refuse it.
bool TLumPreviewPanel::DragTo(int X, int Y) {
  const TRect& p = paperRect_;
  TRect r = chartRect_;
  const bool left = p.Left <= X && X < r.Right, top = p.Top <= Y && Y < r.Bottom;
  const bool right = r.Left < X && X <= p.Right, bottom = r.Top < Y && Y <= p.Bottom;
  switch (dragZone_) {
    case 1: if (!left) return false; r.Left = X; break;
    case 2: if (!top) return false; r.Top = Y; break;
    case 3: if (!right) return false; r.Right = X; break;
    case 4: if (!bottom) return false; r.Bottom = Y; break;
    case 6: if (!(left && top)) return false; r.Left = X, r.Top = Y; break;
    case 7: if (!(right && top)) return false; r.Right = X, r.Top = Y; break;
    case 8: if (!(left && bottom)) return false; r.Left = X, r.Bottom = Y; break;
    case 9: if (!(right && bottom)) return false; r.Right = X, r.Bottom = Y; break;
    case 5: {
      const TRect& s = dragStartRect_;
      r = {s.Left + X - dragStart_.X, s.Top + Y - dragStart_.Y, s.Right + X - dragStart_.X,
           s.Bottom + Y - dragStart_.Y};
      if (r.Left < p.Left || r.Top < p.Top || r.Right > p.Right || r.Bottom > p.Bottom) return false;
      break;
    }
    default: return false;
  }
  chartRect_ = r;
  return true;
}

void TLumPreviewPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomLumPanelExtended::MouseMove(Shift, X, Y);
  const TRect& p = paperRect_;
  if (X < p.Left || X > p.Right || Y < p.Top || Y > p.Bottom) return;
  if (!dragZone_) {
    SetCursor(ZoneCursor(HitZone(X, Y)));
    return;
  }
  if (!dragImage_) DrawMarginLinesOnPicture();
  DragTo(X, Y);
  if (TCustomLumPanel* panel = Panel(); panel && p.Width() >= 2 && p.Height() >= 2) {
    const TRect& r = chartRect_;
    const TRect m{MulDiv(r.Left - p.Left, 100, p.Width()), MulDiv(r.Top - p.Top, 100, p.Height()),
                  MulDiv(p.Right - r.Right, 100, p.Width()), MulDiv(p.Bottom - r.Bottom, 100, p.Height())};
    panel->SetPrintProportional(false);
    panel->SetPrintMargins(m);
    if (OnChangeMargins.Assigned()) OnChangeMargins(this, true, m);
  }
  if (dragImage_) Invalidate();
  else DrawMarginLinesOnPicture();
}

void TLumPreviewPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomLumPanelExtended::MouseUp(Button, Shift, X, Y);
  dragZone_ = 0;
  if (!dragImage_) Invalidate();
}

void TLumPreviewPanel::Print() {
  if (!panels_.Count()) return;
  CursorScope hourglass(crHourGlass);
  ApplyOrientation();
  TPrinter* prn = Printer();
  if (!title_.empty()) prn->SetTitle(title_);
  else if (Panel() && !Panel()->Name().empty()) prn->SetTitle(Panel()->Name());
  prn->BeginDoc();
  try {
    const std::vector<TCustomLumPanel*> printed(panels_.begin(), panels_.end());
    for (TCustomLumPanel* p : printed) {
      if (panels_.IndexOf(p) < 0) continue;
      const TRect r = p->ChartPrintRect();
      if (asBitmap_) {
        std::unique_ptr<TBitmap> bmp(BitmapPicture(p, r));
        if (bmp) prn->Canvas()->StretchDraw(r, bmp.get());
      } else {
        p->PrintRect(r);
      }
    }
    if (OnAfterDraw.Assigned()) OnAfterDraw(this);
    prn->EndDoc();
  } catch (...) {
    if (prn->Printing()) prn->Abort();
    throw;
  }
}

// ---------------------------------------------------------------------------
TChartPreview::TChartPreview(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "ChartPreview", "LumChart Print Preview", 592, 455, bsSizeable);
  SetPosition(poScreenCenter);
  PanelLeft = PlaceControl<TPanel>(this, this, "PanelLeft", 0, 0, 160, 422);
  PanelLeft->SetAlign(alLeft);
  PanelLeft->SetBevelOuter(bvNone);
  CBPrinters = PlaceControl<TComboFlat>(this, PanelLeft, "CBPrinters", 8, 24, 144, 21);
  CBPrinters->SetStyle(csDropDownList);
  LPrinters = PlaceLabel(this, PanelLeft, "LPrinters", 8, 8, "P&rinter:", CBPrinters);
  BSetupPrinter = PlaceControl<TButton>(this, PanelLeft, "BSetupPrinter", 8, 50, 70, 25, "&Setup...");
  BPrint = PlaceControl<TButton>(this, PanelLeft, "BPrint", 82, 50, 70, 25, "&Print");
  Orientation = PlaceControl<TRadioGroup>(this, PanelLeft, "Orientation", 8, 80, 144, 60, "Orien&tation:");
  Orientation->Items()->Add("P&ortrait");
  Orientation->Items()->Add("&Landscape");
  GBMargins = PlaceControl<TGroupBox>(this, PanelLeft, "GBMargins", 8, 144, 144, 96, "Margins (%)");
  auto marginEdit = [this](const char* Edit, const char* UpDown, int Left, int Top, TEdit*& E, TUpDown*& U) {
    E = PlaceControl<TEdit>(this, GBMargins, Edit, Left, Top, 52, 21);
    U = PlaceUpDown(this, E, UpDown, 0, 100);
    U->SetIncrement(5);
    U->SetPosition(15);
    E->OnChange = HANDLER(MarginChange);
  };
  marginEdit("SETopMa", "UDTopMa", 46, 16, SETopMa, UDTopMa);
  marginEdit("SELeftMa", "UDLeftMa", 8, 42, SELeftMa, UDLeftMa);
  marginEdit("SERightMa", "UDRightMa", 84, 42, SERightMa, UDRightMa);
  marginEdit("SEBotMa", "UDBotMa", 46, 68, SEBotMa, UDBotMa);
  BReset = PlaceControl<TButton>(this, PanelLeft, "BReset", 8, 244, 144, 25, "Reset &Margins");
  BReset->SetEnabled(false);
  GBResolution = PlaceControl<TGroupBox>(this, PanelLeft, "GBResolution", 8, 274, 144, 64, "Detail:");
  Resolution = PlaceControl<TTrackBar>(this, GBResolution, "Resolution", 6, 16, 132, 26);
  Resolution->SetMax(100);
  Resolution->SetFrequency(10);
  Resolution->SetPosition(99);
  LMore = PlaceControl<TLabel>(this, GBResolution, "LMore", 8, 44, 40, 13, "More");
  LNormal = PlaceControl<TLabel>(this, GBResolution, "LNormal", 96, 44, 40, 13, "Normal");
  LNormal->SetAlignment(taRightJustify);
  ShowMargins = PlaceControl<TCheckBox>(this, PanelLeft, "ShowMargins", 8, 342, 144, 17, "&View Margins");
  ShowMargins->SetChecked(true);
  CBProp = PlaceControl<TCheckBox>(this, PanelLeft, "CBProp", 8, 362, 144, 17, "Proport&ional");
  CBProp->SetChecked(true);
  CBBitmap = PlaceControl<TCheckBox>(this, PanelLeft, "CBBitmap", 8, 382, 144, 17, "S&mooth");
  CBPrintPanel = PlaceControl<TCheckBox>(this, PanelLeft, "CBPrintPanel", 8, 402, 144, 17, "&Background");
  CBPrintPanel->SetChecked(true);

  PanelClose = PlaceControl<TPanel>(this, this, "PanelClose", 0, 422, 592, 33);
  PanelClose->SetAlign(alBottom);
  PanelClose->SetBevelOuter(bvNone);
  BClose = PlaceControl<TButton>(this, PanelClose, "BClose", 509, 4, 75, 25, "Close");
  BClose->SetCancel(true);
  PanelLeft->SetAlign(alLeft);

  LumPreviewPanel1 = PlaceControl<TLumPreviewPanel>(this, this, "LumPreviewPanel1", 160, 0, 432, 422);
  LumPreviewPanel1->SetAlign(alClient);
  PrinterSetupDialog1 = new TPrinterSetupDialog(this);
  PrinterSetupDialog1->SetName("PrinterSetupDialog1");

  CBPrinters->OnChange = HANDLER(CBPrintersChange);
  BSetupPrinter->OnClick = HANDLER(BSetupPrinterClick);
  BPrint->OnClick = HANDLER(BPrintClick);
  BClose->OnClick = HANDLER(BCloseClick);
  Orientation->OnClick = HANDLER(OrientationClick);
  Resolution->OnChange = HANDLER(ResolutionChange);
  BReset->OnClick = HANDLER(BResetClick);
  ShowMargins->OnClick = HANDLER(ShowMarginsClick);
  CBProp->OnClick = HANDLER(CBPropClick);
  CBBitmap->OnClick = HANDLER(CBBitmapClick);
  CBPrintPanel->OnClick = HANDLER(CBPrintPanelClick);
  LumPreviewPanel1->OnChangeMargins = HANDLER(PreviewChangeMargins);
  OnShow = HANDLER(FormShow);
}

void TChartPreview::LoadPrinters() {
  TPrinter* prn = Printer();
  CBPrinters->Items()->Clear();
  for (const std::string& n : prn->Printers()) CBPrinters->Items()->Add(n);
  CBPrinters->SetItemIndex(prn->PrinterIndex());
}

void TChartPreview::LoadOrientation() {
  Orientation->SetItemIndex(Printer()->Orientation() == poLandscape ? 1 : 0);
}

void TChartPreview::ShowMarginEdits(const TRect& M) {
  const bool was = updating_;
  updating_ = true;
  UDLeftMa->SetPosition(M.Left);
  UDTopMa->SetPosition(M.Top);
  UDRightMa->SetPosition(M.Right);
  UDBotMa->SetPosition(M.Bottom);
  updating_ = was;
}

void TChartPreview::ApplyMargins() {
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  if (!p) return;
  if (p->PrintProportional() && HavePrinters()) p->CalcProportionalPrintRect();
  ShowMarginEdits(p->PrintMargins());
  LumPreviewPanel1->Invalidate();
}

void TChartPreview::CheckReset() {
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  BReset->SetEnabled(p && p->PrintMargins() != startMargins_);
}

void TChartPreview::FormShow(TObject*) {
  updating_ = true;
  Screen->SetCursor(crDefault);
  if (auto* p = dynamic_cast<TCustomLumPanel*>(formbuild::ComponentFromTag(this, Tag())))
    LumPreviewPanel1->SetPanel(p);
  LoadPrinters();
  const bool printers = HavePrinters();
  if (printers) LoadOrientation();
  for (TControl* c : std::initializer_list<TControl*>{BPrint, BSetupPrinter, Orientation}) c->SetEnabled(printers);
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  if (p) {
    quiet_ = true;
    CBProp->SetChecked(p->PrintProportional());
    quiet_ = false;
    Resolution->SetPosition(p->PrintResolution() + 100);
    startMargins_ = p->PrintMargins();
    ApplyMargins();
  }
  for (TControl* c : std::initializer_list<TControl*>{CBProp, Resolution, GBMargins}) c->SetEnabled(p != nullptr);
  if (!p) BPrint->SetEnabled(false);
  BReset->SetEnabled(false);
  CBBitmap->SetChecked(LumPreviewPanel1->AsBitmap());
  CBPrintPanel->SetChecked(PrintPanelBackground);
  TranslateControl(this);
  updating_ = false;
}

void TChartPreview::MarginChange(TObject* Sender) {
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  if (!p || !Showing()) return;
  TRect m = p->PrintMargins();
  TUpDown* ud;
  int* field;
  int opposite;
  if (Sender == SELeftMa) ud = UDLeftMa, field = &m.Left, opposite = m.Right;
  else if (Sender == SETopMa) ud = UDTopMa, field = &m.Top, opposite = m.Bottom;
  else if (Sender == SERightMa) ud = UDRightMa, field = &m.Right, opposite = m.Left;
  else if (Sender == SEBotMa) ud = UDBotMa, field = &m.Bottom, opposite = m.Top;
  else return;
  if (ud->Position() + opposite < 100) {
    *field = ud->Position();
    p->SetPrintMargins(m);
    if (!updating_) {
      // Typed margins are the margins: a proportional panel would recompute them on
      // the next paint, and the preview and the printout would not show the edits.
      p->SetPrintProportional(false);
      LumPreviewPanel1->Invalidate();
      quiet_ = true;
      CBProp->SetChecked(false);
      quiet_ = false;
    }
  } else {
    ud->SetPosition(*field);
  }
  CheckReset();
}

void TChartPreview::PreviewChangeMargins(TObject*, bool DisableProportional, const TRect& NewMargins) {
  ShowMarginEdits(NewMargins);
  if (DisableProportional) {
    if (TCustomLumPanel* p = LumPreviewPanel1->Panel()) p->SetPrintProportional(false);
    quiet_ = true;
    CBProp->SetChecked(false);
    quiet_ = false;
  }
  CheckReset();
}

void TChartPreview::CBPropClick(TObject*) {
  if (quiet_) return;
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  if (!p) return;
  p->SetPrintProportional(CBProp->Checked());
  ApplyMargins();
  if (!CBProp->Checked()) BReset->SetEnabled(true);
}

void TChartPreview::BResetClick(TObject*) {
  TCustomLumPanel* p = LumPreviewPanel1->Panel();
  if (!p) return;
  p->SetPrintMargins(startMargins_);
  ShowMarginEdits(startMargins_);
  LumPreviewPanel1->Invalidate();
  BReset->SetEnabled(false);
}

void TChartPreview::CBPrintersChange(TObject*) {
  if (CBPrinters->ItemIndex() < 0) return;
  Printer()->SetPrinterIndex(CBPrinters->ItemIndex());
  LoadOrientation();
  OrientationClick(Orientation);
}

void TChartPreview::OrientationClick(TObject*) {
  if (Orientation->ItemIndex() < 0 || !HavePrinters()) return;
  Printer()->SetOrientation(Orientation->ItemIndex() == 1 ? poLandscape : poPortrait);
  ApplyMargins();
  LumPreviewPanel1->Invalidate();
}

void TChartPreview::BSetupPrinterClick(TObject*) {
  PrinterSetupDialog1->Execute();
  LoadPrinters();
  LoadOrientation();
  ApplyMargins();
}

void TChartPreview::BPrintClick(TObject*) {
  CursorScope hourglass(crHourGlass);
  LumPreviewPanel1->Print();
}

void TChartPreview::BCloseClick(TObject*) { Close(); }

void TChartPreview::ResolutionChange(TObject*) {
  if (TCustomLumPanel* p = LumPreviewPanel1->Panel()) p->SetPrintResolution(Resolution->Position() - 100);
  if (!updating_) LumPreviewPanel1->Invalidate();
}

void TChartPreview::ShowMarginsClick(TObject*) { LumPreviewPanel1->Margins()->SetVisible(ShowMargins->Checked()); }

void TChartPreview::CBBitmapClick(TObject*) { LumPreviewPanel1->SetAsBitmap(CBBitmap->Checked()); }

void TChartPreview::CBPrintPanelClick(TObject*) {
  PrintPanelBackground = CBPrintPanel->Checked();
  LumPreviewPanel1->Invalidate();
}

TChartPreview* EmbedChartPreview(TComponent* Owner, TWinControl* Page, TCustomLumPanel* Panel) {
  auto* f = new TChartPreview(Owner);
  f->PanelClose->SetVisible(false);
  f->SetAlign(alClient);
  InsertEditorForm(f, Page, std::intptr_t(Panel));
  return f;
}

// ---------------------------------------------------------------------------
namespace {
int previewUnitCount = 0;
}

void LumPreviewUnitInit() {
  if (previewUnitCount++ > 0) return;
  RegisterClass(TLumPreviewPanel::StaticClass());
}

void LumPreviewUnitDone() {
  if (previewUnitCount == 0 || --previewUnitCount > 0) return;
  UnRegisterClass(TLumPreviewPanel::StaticClass());
}
