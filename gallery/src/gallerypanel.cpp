#include "gallery/gallerypanel.h"

#include <algorithm>

#include "canvas/lumcanvas.h"
#include "canvas/procs.h"
#include "engine/function.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/gradienteditor.h"
#include "gallery/pendialog.h"
#include "engine/helpers.h"
#include "engine/settings.h"
#include "platform/compwatch.h"

IMPLEMENT_CLASS_PROPS(TGalleryChart, TCustomChart)
IMPLEMENT_CLASS_PROPS(TChartGalleryPanel, TPanel)

namespace {

constexpr TColor kGray = 0x808080, kSilver = 0xC0C0C0, kWhite = 0xFFFFFF, kNavy = 0x800000;
constexpr int kArrowSquare = 12, kThumbnailDepth = 30;

TChartGalleryPanel* PanelOf(const TControl* C) { return dynamic_cast<TChartGalleryPanel*>(C->Parent()); }

// The chart's series prepared for a thumbnail. A function class gets a throw-away
// instance of its own for the preparation.
void PrepareChart(TGalleryChart* Chart, TClass FunctionClass, bool View3D, bool Enabled) {
  Chart->Series(0)->SetChartView3D(View3D);
  if (FunctionClass) {
    std::unique_ptr<TLumFunction> f(static_cast<TLumFunction*>(FunctionClass->NewInstance(nullptr)));
    f->PrepareForGallery(Chart);
  } else {
    for (int i = 0; i < Chart->SeriesCount(); ++i) Chart->Series(i)->PrepareForGallery(Enabled);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
TGalleryChart::TGalleryChart(TComponent* AOwner) : TCustomChart(AOwner) {
  SetAutoRepaint(false);
  Legend()->SetVisible(false);
  for (TChartAxis* a : {LeftAxis(), BottomAxis()}) {
    a->SetLabelStyle(talValue);
    a->Grid()->SetSmallDots(true);
    a->Grid()->SetSmallSpace(3);
    a->LabelsFont()->SetSize(7);
    a->LabelsFont()->SetColor(kGray);
  }
  Title()->Font()->SetColor(kNavy);
  Zoom()->SetAnimated(true);
  View3DOptions()->SetOrthogonal(false);
  View3DOptions()->SetZoom(90);
  View3DOptions()->SetPerspective(55);
  if (auto* p = dynamic_cast<TChartGalleryPanel*>(AOwner); p && p->FocusRotation()) {
    View3DOptions()->SetRotation(335);
    View3DOptions()->SetElevation(350);
  }
  // The engine measures depth against the plot's smaller side and takes it from the
  // plot, so a thumbnail keeps a third of it for depth.
  SetChart3DPercent(kThumbnailDepth);
  SetClipPoints(false);
  Frame()->SetVisible(false);
  SetBevelWidth(2);
  SetBevelOuter(bvNone);
  for (TChartWall* w : {LeftWall(), BottomWall()}) {
    w->SetColor(kWhite);
    w->SetSize(4);
    w->Pen()->SetColor(kGray);
    w->Gradient()->SetVisible(true);
    w->Gradient()->SetStartColor(kGray);
    w->Gradient()->SetEndColor(kSilver);
  }
  SetGalleryMargins();
  OnAfterDraw = HANDLER(ChartAfterDraw);
  SetAutoRepaint(true);
  // The thumbnail look is what a new gallery chart holds.
  RecordDefaults(this);
  for (TPersistent* o : std::initializer_list<TPersistent*>{View3DOptions(), Zoom(), Legend(), BackWall()->Frame()})
    RecordDefaults(o);
  for (TChartAxis* a : {LeftAxis(), BottomAxis()})
    for (TPersistent* o : std::initializer_list<TPersistent*>{a, a->Grid(), a->LabelsFont()}) RecordDefaults(o);
  for (TChartWall* w : {LeftWall(), BottomWall()})
    for (TPersistent* o : std::initializer_list<TPersistent*>{w, w->Frame(), w->Gradient()}) RecordDefaults(o);
}

void TGalleryChart::SetGalleryMargins() {
  const int m = View3D() ? 4 : 5;
  for (int i = 0; i < 4; ++i) SetMargin(i, m);
}

TPoint TGalleryChart::ArrowPosition() const {
  const int pen = Border()->Visible() ? Border()->Width() : 0;
  const int shadow = std::max(0, Shadow()->Size());
  // The smooth picture is drawn at twice the size, so its offsets count half.
  if (smooth_) return Point(pen / 2 + 4, Height() - (pen + shadow) / 2);
  return Point(pen + 4, Height() - (pen + shadow));
}

bool TGalleryChart::ShowsArrow() const {
  const TChartGalleryPanel* p = PanelOf(this);
  return !smoothDrawing_ && Highlighted() && p && p->DisplaySub();
}

void TGalleryChart::DrawArrow(TCanvas* C, int) const {
  if (!C || !ShowsArrow()) return;
  const TPoint a = ArrowPosition();
  C->Pen()->SetMode(pmNotXor);
  C->Pen()->SetStyle(psClear);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBlack);
  C->Polygon({Point(a.X, a.Y - 8), Point(a.X + 7, a.Y - 8), Point(a.X + 3, a.Y - 4)});
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetStyle(psSolid);
}

void TGalleryChart::ChartAfterDraw(TObject*) {
  if (smoothDrawing_) return;
  DrawArrow(Canvas()->ReferenceCanvas(), 0);
}

// The chart cannot picture itself while it draws, so a smooth chart makes its
// double-size picture here, before any drawing starts, instead of after one.
void TGalleryChart::Paint() {
  if (smooth_ && !smoothDrawing_ && Width() >= 2 && Height() >= 2) SmoothRedraw();
  else TCustomChart::Paint();
}

void TGalleryChart::SmoothRedraw() {
  smoothDrawing_ = true;
  const bool repaint = AutoRepaint();
  SetAutoRepaint(false);
  LeftAxis()->SetLabels(true);
  BottomAxis()->SetLabels(true);
  const bool titleVisible = Title()->Visible();
  Title()->SetVisible(false);
  SetMarginTop(30);
  // Texts drawn twice their size come back at their own size, smoothed, rather than
  // as a blur half as tall.
  const int fontZoom = View3DOptions()->FontZoom();
  View3DOptions()->SetFontZoom(2 * fontZoom);
  std::unique_ptr<TBitmap> big;
  try {
    big.reset(CreateBitmap(GetBackColor(), Rect(0, 0, 2 * Width(), 2 * Height()), pf24bit));
  } catch (...) {
    View3DOptions()->SetFontZoom(fontZoom);
    Title()->SetVisible(titleVisible);
    SetGalleryMargins();
    SetAutoRepaint(repaint);
    smoothDrawing_ = false;
    throw;
  }
  View3DOptions()->SetFontZoom(fontZoom);
  Title()->SetVisible(titleVisible);
  SetGalleryMargins();
  TCanvas* dest = TCustomControl::Canvas();
  if (big) {
    TBitmap small;
    small.SetPixelFormat(pf24bit);
    small.SetSize(Width(), Height());
    ResampleBitmap(big.get(), &small, true);
    big.reset();
    if (auto* lc = dynamic_cast<TLumCanvas3D*>(Canvas())) {
      TCanvas* c = lc->InitWindow(dest, View3DOptions(), GetBackColor(), View3D(), ClientRect());
      c->Draw(0, 0, &small);
      // The title alone at its own size over the picture.
      TRect r = ClientRect();
      r.Left += MarginLeft();
      r.Top += MarginTop();
      r.Right -= MarginRight();
      r.Bottom -= MarginBottom();
      Title()->CalcRect(r);
      Title()->DrawTitle();
      smoothDrawing_ = false;
      DrawArrow(c, 0);
      lc->ShowImage(dest, ClientRect());
    } else {
      dest->Draw(0, 0, &small);
    }
  }
  smoothDrawing_ = false;
  SetAutoRepaint(repaint);
}

void TGalleryChart::DrawHoverFrame(bool Raised) {
  TCanvas* c = TCustomControl::Canvas();
  if (!c || Width() < 2 || Height() < 2) return;
  const int r = Width() - 1, b = Height() - 1;
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(Raised ? kWhite : GetBackColor());
  c->MoveTo(0, b);
  c->LineTo(0, 0);
  c->LineTo(r, 0);
  c->Pen()->SetColor(Raised ? kGray : GetBackColor());
  c->LineTo(r, b);
  c->LineTo(0, b);
}

void TGalleryChart::MouseEnter() {
  TCustomChart::MouseEnter();
  if (Cursor() == crHandPoint) DrawHoverFrame(true);
}

void TGalleryChart::MouseLeave() {
  TCustomChart::MouseLeave();
  if (Cursor() == crHandPoint) DrawHoverFrame(false);
}

void TGalleryChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  MousePos = Point(X, Y);
  TCustomChart::MouseDown(Button, Shift, X, Y);
}

void TGalleryChart::MouseMove(TShiftState Shift, int X, int Y) {
  MousePos = Point(X, Y);
  TCustomChart::MouseMove(Shift, X, Y);
}

bool TGalleryChart::OnArrow(const TPoint& P) const {
  const TPoint a = ArrowPosition();
  return P.X >= a.X && P.X < a.X + kArrowSquare && P.Y >= a.Y - kArrowSquare && P.Y < a.Y;
}

void TGalleryChart::DefineProperties(TPropertyTable& t) {
  t.Bool("Smooth", &TGalleryChart::Smooth, &TGalleryChart::SetSmooth).Default(false);
}

// ---------------------------------------------------------------------------
int TChartList::IndexOf(const TGalleryChart* Chart) const {
  auto it = std::find(items_.begin(), items_.end(), Chart);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartList::Extract(TGalleryChart* Chart) { items_.erase(std::remove(items_.begin(), items_.end(), Chart), items_.end()); }

void TChartList::Clear() {
  std::vector<TGalleryChart*> old;
  old.swap(items_);
  for (auto it = old.rbegin(); it != old.rend(); ++it) delete *it;
}

// ---------------------------------------------------------------------------
TChartGalleryPanel::TChartGalleryPanel(TComponent* AOwner) : TPanel(AOwner) {
  SetCaption("");
  SetParentColor(true);
  smooth_ = oldSmooth_ = ReadEditorBooleanSetting("SmoothGallery", false);
}

TChartGalleryPanel::~TChartGalleryPanel() {
  delete SubGalleryForm;
  SubGalleryForm = nullptr;
  SelectedChart = nullptr;
  charts_.Clear();
  if (smooth_ != oldSmooth_) WriteEditorBooleanSetting("SmoothGallery", smooth_);
}

void TChartGalleryPanel::SetCurrentSeries(TChartSeries* Value) {
  if (Value == currentSeries_) return;
  if (currentSeries_) currentSeries_->RemoveFreeNotification(this);
  currentSeries_ = Value;
  if (currentSeries_) currentSeries_->FreeNotification(this);
}

void TChartGalleryPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == currentSeries_) currentSeries_ = nullptr;
  if (auto* c = dynamic_cast<TGalleryChart*>(AComponent)) {
    charts_.Extract(c);
    if (SelectedChart == c) SelectedChart = nullptr;
  }
  if (AComponent == SubGalleryForm) SubGalleryForm = nullptr, SubPanel = nullptr;
  if (AComponent == SubPanel) SubPanel = nullptr;
}

void TChartGalleryPanel::SetNumRows(int Value) {
  numRows_ = Value;
  ResizeCharts();
}

void TChartGalleryPanel::SetNumCols(int Value) {
  numCols_ = Value;
  ResizeCharts();
}

void TChartGalleryPanel::SetBorderWidth(int Value) {
  borderWidth_ = std::max(0, Value);
  ResizeCharts();
}

void TChartGalleryPanel::SetSmooth(bool Value) {
  if (ComponentState() & csLoading) return;
  if (smooth_ == Value) return;
  smooth_ = Value;
  for (TGalleryChart* c : charts_) c->SetSmooth(Value);
}

void TChartGalleryPanel::SetView3D(bool Value) {
  if (view3D_ == Value) return;
  view3D_ = Value;
  for (TGalleryChart* c : charts_) {
    if (c->SeriesCount() > 0) c->Series(0)->SetChartView3D(Value);
    c->SetGalleryMargins();
  }
}

void TChartGalleryPanel::Resize() {
  TPanel::Resize();
  ResizeCharts();
}

TRect TChartGalleryPanel::CellBounds(int Index) const {
  const int border = Border();
  const int col = Index % numCols_, row = Index / numCols_;
  const int left = col * ChartWidth + border, top = row * ChartHeight + border;
  return Rect(left, top, left + std::min(ChartWidth, Width() - border) - 1,
              top + std::min(ChartHeight, Height() - border) - 1);
}

void TChartGalleryPanel::ResizeCharts() {
  if (numRows_ < 1 || numCols_ < 1) {
    ChartWidth = ChartHeight = 0;
    return;
  }
  ChartHeight = (Height() - Border()) / numRows_;
  ChartWidth = (Width() - Border()) / numCols_;
  int index = 0;
  for (TGalleryChart* c : charts_) {
    if (!c->Visible()) continue;
    const TRect r = CellBounds(index++);
    c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
  }
}

TGalleryChart* TChartGalleryPanel::CreateChart(const TLumSeriesType& Entry) {
  auto* c = new TGalleryChart(this);
  c->SetTag(Entry.SubIndex);
  c->SetColor(Color());
  c->SetAutoRepaint(false);
  charts_.Add(c);
  c->Title()->Text()->Clear();
  const std::string text = Entry.DescriptionText();
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(LineSeparator, from);
    c->Title()->Text()->Add(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) break;
    from = at + 1;
  }
  c->SetParent(this);
  c->SetName(UniqueComponentName(this, "LumGalleryChart"));
  if (numRows_ >= 1 && numCols_ >= 1) {
    int index = 0;
    for (TGalleryChart* o : charts_)
      if (o != c && o->Visible()) ++index;
    const TRect r = CellBounds(index);
    c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
  }
  const TClass seriesClass = Entry.ActualSeriesClass();
  for (int i = 0; i < std::max(1, Entry.NumGallerySeries); ++i) {
    TChartSeries* s = CreateNewSeries(nullptr, c, seriesClass, Entry.FunctionClass);
    if (Entry.SubIndex != 0) s->SetSubGallery(s, Entry.SubIndex);
  }
  TChartSeries* first = c->Series(0);
  const bool disabled = CheckSeries && currentSeries_ && !first->IsValidSourceOf(currentSeries_);
  if (disabled) {
    c->SetCursor(crNoDrop);
    c->Title()->Font()->SetColor(kGray);
    c->LeftWall()->Pen()->SetColor(kGray);
    c->BottomWall()->Pen()->SetColor(kGray);
    for (TChartAxis* a : {c->LeftAxis(), c->BottomAxis()}) {
      a->Axis()->SetWidth(1);
      a->Axis()->SetColor(kWhite);
    }
  } else {
    c->SetCursor(crHandPoint);
    c->OnClick = HANDLER(ChartClick);
    c->OnEnter = HANDLER(ChartEnter);
    c->OnDblClick = HANDLER(ChartDblClick);
  }
  c->SavedCursor = c->Cursor();
  PrepareChart(c, Entry.FunctionClass, view3D_, !disabled);
  c->SetGalleryMargins();
  c->SetSmooth(smooth_);
  if (!IsSubPanel) c->OnKeyDown = HANDLER(ChartKeyDown);
  if (RenderClass) {
    if (auto* canvas = dynamic_cast<TCanvas3D*>(RenderClass->NewInstance(nullptr))) c->SetCanvas(canvas);
  }
  c->SetAutoRepaint(true);
  c->Invalidate();
  return c;
}

void TChartGalleryPanel::AddChart(TGalleryChart* Chart) {
  charts_.Add(Chart);
  Chart->SetParent(this);
  if (Chart->Name().empty()) Chart->SetName(UniqueComponentName(Chart->Owner(), "LumGalleryChart"));
  Chart->SetCursor(crHandPoint);
  Chart->SavedCursor = crHandPoint;
  Chart->OnClick = HANDLER(ChartClick);
  Chart->OnEnter = HANDLER(ChartEnter);
  Chart->OnDblClick = HANDLER(ChartDblClick);
  if (!IsSubPanel) Chart->OnKeyDown = HANDLER(ChartKeyDown);
}

void TChartGalleryPanel::CreateGalleryPage(const std::string& Page) {
  std::vector<TLumSeriesType*> entries;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    TLumSeriesType* e = LumSeriesTypes()[i];
    if (e->GalleryPageText() == Page && (e->FunctionClass != nullptr) == FunctionsMode) entries.push_back(e);
  }
  const int count = int(entries.size());
  // Enough rows for every chart of the page, never fewer than three.
  numRows_ = numCols_ >= 1 ? std::max(3, (count + numCols_ - 1) / numCols_) : 3;
  SelectedChart = nullptr;
  delete SubGalleryForm;
  charts_.Clear();
  ResizeCharts();
  for (TLumSeriesType* e : entries) CreateChart(*e);
  if (currentSeries_) {
    for (TGalleryChart* c : charts_) {
      TChartSeries* s = c->SeriesCount() ? c->Series(0) : nullptr;
      if (s && s->ClassType() == currentSeries_->ClassType() && !s->FunctionType()) {
        SelectedChart = c;
        break;
      }
    }
  }
  ShowSelectedChart();
}

void TChartGalleryPanel::Highlight(TGalleryChart* C, bool On) {
  C->Gradient()->SetVisible(On);
  if (On) {
    C->Gradient()->SetDirection(gdFromTopLeft);
    C->Gradient()->SetStartColor(kSilver);
    C->Gradient()->SetEndColor(kWhite);
  }
  if (focusRotation_) {
    C->View3DOptions()->SetRotation(On ? 345 : 335);
    if (C->SeriesCount()) C->Series(0)->SetChartView3D(view3D_);
  }
  TLumFont* f = C->Title()->Font();
  f->SetStyle(On ? FontStyles({fsBold}) : 0);
  f->SetColor(On ? clBlack : kNavy);
  f->SetSize(On ? 10 : 8);
  if (On) {
    f->Shadow()->SetVisible(true);
    f->Shadow()->SetSize(2);
    f->Shadow()->SetColor(kGray);
    f->Shadow()->SetSmoothBlur(5);
  } else if (f->HasShadow()) {
    f->Shadow()->SetVisible(false);
  }
  C->SetBevelOuter(On ? bvRaised : bvNone);
  C->Invalidate();
}

void TChartGalleryPanel::ShowSelectedChart() {
  if (!SelectedChart) {
    for (TGalleryChart* c : charts_)
      if (c->Cursor() != crNoDrop) {
        SelectedChart = c;
        break;
      }
  }
  if (SelectedChart) {
    Highlight(SelectedChart, true);
    if (SelectedChart->CanFocus()) SelectedChart->SetFocus();
    if (OnChangeChart.Assigned()) OnChangeChart(this);
  }
  for (TGalleryChart* c : charts_)
    if (c != SelectedChart && c->Highlighted()) Highlight(c, false);
}

void TChartGalleryPanel::ClearSelection() {
  SelectedChart = nullptr;
  for (TGalleryChart* c : charts_)
    if (c->Highlighted()) Highlight(c, false);
}

void TChartGalleryPanel::SelectChart(TGalleryChart* Chart) {
  if (Chart != SelectedChart) {
    SelectedChart = Chart;
    ShowSelectedChart();
  }
  if (displaySub_ && Chart && Chart == SelectedChart && Chart->OnArrow(Chart->MousePos)) ShowSubGallery();
}

void TChartGalleryPanel::ChartClick(TObject* Sender) {
  if (auto* c = dynamic_cast<TGalleryChart*>(Sender)) SelectChart(c);
}

// Taking the focus selects; the arrow opens only on a click.
void TChartGalleryPanel::ChartEnter(TObject* Sender) {
  auto* c = dynamic_cast<TGalleryChart*>(Sender);
  if (c && c != SelectedChart) {
    SelectedChart = c;
    ShowSelectedChart();
  }
}

void TChartGalleryPanel::ChartDblClick(TObject* Sender) {
  if (auto* c = dynamic_cast<TGalleryChart*>(Sender)) SelectedChart = c;
  if (OnSelectedChart.Assigned()) OnSelectedChart(this);
}

bool TChartGalleryPanel::GetChartSeries(TClass& SeriesClass, TClass& FunctionClass, int& SubIndex) {
  if (!SelectedChart || SelectedChart->SeriesCount() == 0) return false;
  TChartSeries* s = SelectedChart->Series(0);
  SeriesClass = s->ClassType();
  FunctionClass = s->FunctionType() ? s->FunctionType()->ClassType() : nullptr;
  SubIndex = int(SelectedChart->Tag());
  return true;
}

void TChartGalleryPanel::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TPanel::KeyDown(Key, Shift);
  ChartKeyDown(this, Key, Shift);
}

void TChartGalleryPanel::ChartKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_RETURN) {
    if (SelectedChart && OnSelectedChart.Assigned()) OnSelectedChart(this);
    return;
  }
  if (Key == VK_DOWN && (Shift & ssAlt)) {
    if (displaySub_) ShowSubGallery();
    return;
  }
  if (!SelectedChart || numCols_ < 1) return;
  std::vector<TGalleryChart*> shown;
  for (TGalleryChart* c : charts_)
    if (c->Visible()) shown.push_back(c);
  const auto at = std::find(shown.begin(), shown.end(), SelectedChart);
  if (at == shown.end()) return;
  const int index = int(at - shown.begin());
  int col = index % numCols_, row = index / numCols_, dc = 0, dr = 0;
  switch (Key) {
    case VK_UP: dr = -1; break;
    case VK_DOWN: dr = 1; break;
    case VK_LEFT: dc = -1; break;
    case VK_RIGHT: dc = 1; break;
    default: return;
  }
  // Steps over disabled charts to the next enabled one in that direction.
  for (;;) {
    col += dc;
    row += dr;
    if (col < 0 || col >= numCols_ || row < 0 || row >= std::max(numRows_, 1)) return;
    const int i = row * numCols_ + col;
    if (i >= int(shown.size())) return;
    if (shown[size_t(i)]->Cursor() == crHandPoint) {
      Key = 0;
      SelectChart(shown[size_t(i)]);
      return;
    }
  }
}

void TChartGalleryPanel::ShowSubGallery() {
  if (!SelectedChart || SelectedChart->SeriesCount() == 0 || IsSubPanel) return;
  delete SubGalleryForm;
  Highlight(SelectedChart, false);
  TComponentWatch self(this);
  auto* form = new TForm(this);
  SubGalleryForm = form;
  form->SetBorderStyle(bsNone);
  form->SetPosition(poDesigned);
  form->SetKeyPreview(true);
  form->OnKeyDown = HANDLER(SubFormKeyDown);
  const TPoint at = SelectedChart->ClientToScreen(Point(0, SelectedChart->Height()));
  form->SetBounds(at.X, at.Y, Width(), Height());
  auto* strip = new TPanel(form);
  strip->SetParent(form);
  strip->SetCaption("");
  strip->SetBounds(0, 0, Width(), 12);
  strip->SetAlign(alTop);
  strip->SetBevelOuter(bvNone);
  strip->OnClick = HANDLER(SubStripClick);
  auto* arrow = new TPaintBox(form);
  arrow->SetParent(strip);
  arrow->SetBounds(4, 2, 8, 8);
  arrow->OnPaint = HANDLER(SubArrowPaint);
  arrow->OnClick = HANDLER(SubStripClick);
  auto* sub = new TChartGalleryPanel(form);
  SubPanel = sub;
  sub->IsSubPanel = true;
  sub->RenderClass = RenderClass;
  sub->SetView3D(view3D_);
  sub->smooth_ = sub->oldSmooth_ = smooth_;
  sub->SetDisplaySub(false);
  sub->SetNumCols(numCols_);
  sub->SetParent(form);
  sub->SetBounds(0, 12, Width(), form->Height() - 12);
  sub->SetAlign(alClient);
  sub->OnSelectedChart = HANDLER(SubSelected);

  sub->CreateSubGalleryCharts(SelectedChart->Series(0)->ClassType());
  sub->ResizeCharts();
  const int count = sub->charts_.Count();
  const int rows = std::max(1, numCols_ >= 1 ? (count + numCols_ - 1) / numCols_ : 1);
  form->SetHeight(ChartHeight * rows + 8);
  sub->SetNumRows(rows);
  sub->ShowSelectedChart();
  // Inside the work area.
  const TRect work = Screen->WorkAreaRect();
  if (form->Left() + form->Width() > work.Right) form->SetLeft(work.Right - form->Width() - 2);
  if (form->Top() + form->Height() > work.Bottom) form->SetTop(work.Bottom - form->Height() - 2);

  const TModalResult result = form->ShowModal();
  if (!self) return;
  if (result == mrOk && OnSubSelected.Assigned()) OnSubSelected(this);
  if (!self) return;
  delete SubGalleryForm;
  SubGalleryForm = nullptr;
  SubPanel = nullptr;
  ShowSelectedChart();
}

void TChartGalleryPanel::CreateSubGalleryCharts(TClass SeriesClass) {
  SelectedChart = nullptr;
  charts_.Clear();
  if (!SeriesClass) return;
  // Throw-away series and entry, freed on every path.
  std::unique_ptr<TChartSeries> subSeries(static_cast<TChartSeries*>(SeriesClass->NewInstance(nullptr)));
  TLumSeriesType subEntry;
  subEntry.SeriesClass = SeriesClass;
  subSeries->CreateSubGallery([&](const std::string& Name) {
    const int number = charts_.Count();
    subEntry.Description = &Name;
    TGalleryChart* c = CreateChart(subEntry);
    subSeries->SetSubGallery(c->Series(0), number);
    c->SetTag(number);
  });
}

void TChartGalleryPanel::SubFormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    if (SubGalleryForm) SubGalleryForm->SetModalResult(mrCancel);
    Key = 0;
  } else if (SubPanel) {
    SubPanel->ChartKeyDown(Sender, Key, Shift);
  }
}

void TChartGalleryPanel::SubStripClick(TObject*) {
  if (SubGalleryForm) SubGalleryForm->SetModalResult(mrOk);
}

void TChartGalleryPanel::SubArrowPaint(TObject* Sender) {
  auto* box = static_cast<TPaintBox*>(Sender);
  TCanvas* c = box->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  c->Polygon({Point(0, 8), Point(4, 0), Point(9, 8)});
}

void TChartGalleryPanel::SubSelected(TObject*) {
  TGalleryChart* main = SelectedChart;
  TChartGalleryPanel* sub = SubPanel;
  if (!main || !sub || main->SeriesCount() == 0) return;
  const int index = sub->charts_.IndexOf(sub->SelectedChart);
  if (index < 0) return;
  main->SetTag(index);
  if (index != 0) {
    for (int i = 0; i < main->SeriesCount(); ++i) main->Series(i)->SetSubGallery(main->Series(i), index);
  } else {
    // Plain again: new series of the same classes, whatever sub-style was applied before.
    TChartSeries* first = main->Series(0);
    const TClass seriesClass = first->ClassType();
    const TClass functionClass = first->FunctionType() ? first->FunctionType()->ClassType() : nullptr;
    const int count = main->SeriesCount();
    main->FreeAllSeries();
    for (int i = 0; i < count; ++i) CreateNewSeries(nullptr, main, seriesClass, functionClass);
    PrepareChart(main, functionClass, sub->View3D(), true);
  }
  main->Invalidate();
  if (SubGalleryForm) SubGalleryForm->SetModalResult(mrOk);
}

void TChartGalleryPanel::DefineProperties(TPropertyTable& t) {
  t.Bool("DisplaySub", &TChartGalleryPanel::DisplaySub, &TChartGalleryPanel::SetDisplaySub).Default(true);
  t.Bool("FocusRotation", &TChartGalleryPanel::FocusRotation, &TChartGalleryPanel::SetFocusRotation).Default(true);
  t.Int("NumRows", &TChartGalleryPanel::NumRows, &TChartGalleryPanel::SetNumRows).Default(3LL);
  t.Int("NumCols", &TChartGalleryPanel::NumCols, &TChartGalleryPanel::SetNumCols).Default(4LL);
  t.Bool("Smooth", &TChartGalleryPanel::Smooth, &TChartGalleryPanel::SetSmooth).Default(false);
  t.Bool("View3D", &TChartGalleryPanel::View3D, &TChartGalleryPanel::SetView3D).Default(true);
  t.Int("BorderWidth", &TChartGalleryPanel::BorderWidth, &TChartGalleryPanel::SetBorderWidth).Default(0LL);
  t.Event("OnChangeChart", &TChartGalleryPanel::OnChangeChart);
  t.Event("OnSelectedChart", &TChartGalleryPanel::OnSelectedChart);
  t.Event("OnSubSelected", &TChartGalleryPanel::OnSubSelected);
}

int ReadGalleryMode() { return ReadEditorIntegerSetting("GalleryMode", 0); }

void LumGalleryPanelUnitInit() {
  EnsureGalleryResources();
  RegisterClasses({TGalleryChart::StaticClass(), TChartGalleryPanel::StaticClass(), TChartListBox::StaticClass(),
                   TButtonPen::StaticClass(), TButtonGradient::StaticClass()});
}

void LumGalleryPanelUnitDone() {
  UnRegisterClass(TButtonGradient::StaticClass());
  UnRegisterClass(TButtonPen::StaticClass());
  UnRegisterClass(TChartListBox::StaticClass());
  UnRegisterClass(TGalleryChart::StaticClass());
  UnRegisterClass(TChartGalleryPanel::StaticClass());
}
