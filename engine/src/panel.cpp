#include "engine/panel.h"

#include <algorithm>
#include <array>
#include <map>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/errors.h"
#include "engine/print.h"
#include "engine/groups.h"
#include "engine/helpers.h"
#include "mouse_state.h"

IMPLEMENT_CLASS_PROPS(TCustomLumPanel, TCustomControl)
IMPLEMENT_CLASS_PROPS(TCustomLumPanelExtended, TCustomLumPanel)
IMPLEMENT_CLASS_PROPS(TCustomAxisPanel, TCustomLumPanelExtended)

namespace {
// Counts a drawing in progress while it lives.
struct DrawingScope {
  int& n;
  explicit DrawingScope(int& c) : n(c) { ++n; }
  ~DrawingScope() { --n; }
};
}  // namespace

// ---------------------------------------------------------------------------
TCustomLumPanel::TCustomLumPanel(TComponent* AOwner)
    : TCustomControl(AOwner),
      canvas_(std::make_unique<TLumCanvas3D>()),
      border_(std::make_unique<TChartHiddenPen>(TNotifyEvent(this, &TCustomLumPanel::CanvasChanged))),
      view3DOptions_(std::make_unique<TView3DOptions>(TNotifyEvent(this, &TCustomLumPanel::View3DChanged))),
      zoom_(std::make_unique<TChartZoom>()) {
  // Text measures work before the first paint.
  canvas_->AttachCanvas(TCustomControl::Canvas());
  SetColor(clBtnFace);
}

TCustomLumPanel::~TCustomLumPanel() = default;

void TCustomLumPanel::SetCanvas(TCanvas3D* NewCanvas) {
  if (!NewCanvas || NewCanvas == canvas_.get()) return;
  if (drawing_) throw ChartException("Cannot replace the canvas while the chart draws");
  NewCanvas->SetView3DOptions(view3DOptions_.get());
  NewCanvas->SetIs3D(view3D_);
  NewCanvas->SetMonochrome(monochrome_);
  NewCanvas->AttachCanvas(TCustomControl::Canvas());
  canvas_.reset(NewCanvas);
  Invalidate();
}

void TCustomLumPanel::Invalidate() {
  if (!autoRepaint_ || !canvas_) return;
  if (auto* lc = dynamic_cast<TLumCanvas3D*>(canvas_.get())) lc->Invalidate();
  TCustomControl::Invalidate();
}

void TCustomLumPanel::CanvasChanged(TObject*) { Invalidate(); }

void TCustomLumPanel::View3DChanged(TObject*) {
  Invalidate();
  BroadcastView3DEvent();
}

// ---- Event listeners ----------------------------------------------------------
void TCustomLumPanel::BroadcastListenerEvent(TChartSeries* Series, TLumSeriesEventStyle Event) {
  if (listeners_.Count() == 0 || (ComponentState() & csDestroying)) return;
  listeners_.Broadcast(TLumSeriesEvent(this, Event, Series));
}

void TCustomLumPanel::BroadcastView3DEvent() {
  if (listeners_.Count() == 0 || (ComponentState() & csDestroying)) return;
  listeners_.Broadcast(TLumView3DEvent(this));
}

void TCustomLumPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove) listeners_.RemoveComponent(AComponent);
}
void TCustomLumPanel::ColorChanged() { Invalidate(); }

TColor TCustomLumPanel::GetBackColor() const { return Color() == clLumColor ? clBtnFace : Color(); }

void TCustomLumPanel::SetMonochrome(bool Value) {
  if (SetBooleanProperty(monochrome_, Value)) canvas_->SetMonochrome(Value);
}

int TCustomLumPanel::GetMargin(int Index) const {
  if (Index < 0 || Index > 3) throw EListError(Format("List index out of bounds (%d)", Index));
  return margins_[Index];
}

void TCustomLumPanel::SetMargin(int Index, int Value) {
  if (Index < 0 || Index > 3) throw EListError(Format("List index out of bounds (%d)", Index));
  SetIntegerProperty(margins_[Index], Value);
}

void TCustomLumPanel::SetMarginUnits(TPanelMarginUnits Value) { SetProperty(marginUnits_, Value); }

void TCustomLumPanel::SetBevelInner(TPanelBevel Value) { SetProperty(bevelInner_, Value); }

void TCustomLumPanel::SetBevelOuter(TPanelBevel Value) { SetProperty(bevelOuter_, Value); }

void TCustomLumPanel::SetBevelWidth(int Value) { SetIntegerProperty(bevelWidth_, std::max(1, Value)); }
void TCustomLumPanel::SetBorderWidth(int Value) { SetIntegerProperty(borderWidth_, std::max(0, Value)); }
void TCustomLumPanel::SetBorderRound(int Value) { SetIntegerProperty(borderRound_, std::max(0, Value)); }
void TCustomLumPanel::SetView3D(bool Value) {
  if (SetBooleanProperty(view3D_, Value)) BroadcastView3DEvent();
}
void TCustomLumPanel::SetClipPoints(bool Value) { SetBooleanProperty(clipPoints_, Value); }

// A rotated projection cannot be clipped to a rectangle.
// A metafile keeps only a bounding rectangle of each clip in its files.
bool TCustomLumPanel::CanClip() const {
  return clipPoints_ && !metafileDrawing_ && (!view3D_ || view3DOptions_->Orthogonal());
}

void TCustomLumPanel::RecalcWidthHeight() {
  TRect& r = chartRect_;
  if (r.Left > r.Right) r.Right = r.Left;
  if (r.Top > r.Bottom) r.Bottom = r.Top;
  chartWidth_ = r.Width();
  chartHeight_ = r.Height();
  chartXCenter_ = r.Left + chartWidth_ / 2;
  chartYCenter_ = r.Top + chartHeight_ / 2;
}

namespace {
TRect InsideFrame(const TRect& R, int Frame) { return {R.Left + Frame, R.Top + Frame, R.Right - Frame, R.Bottom - Frame}; }
}  // namespace

std::array<int, 4> TCustomLumPanel::MarginPixels(const TRect& UserRect) const {
  int frame = borderWidth_;
  if (bevelOuter_ != bvNone) frame += bevelWidth_;
  if (bevelInner_ != bvNone) frame += bevelWidth_;
  if (border_->Visible()) frame += border_->Width();
  const TRect r = InsideFrame(UserRect, frame);
  const int w = r.Width(), h = r.Height();
  auto px = [&](int margin, int size) { return marginUnits_ == muPixels ? margin : margin * size / 100; };
  return {px(margins_[0], w), px(margins_[1], h), px(margins_[2], w), px(margins_[3], h)};
}

TRect TCustomLumPanel::InnerRect(const TRect& UserRect) const {
  int frame = borderWidth_;
  if (bevelOuter_ != bvNone) frame += bevelWidth_;
  if (bevelInner_ != bvNone) frame += bevelWidth_;
  if (border_->Visible()) frame += border_->Width();
  const TRect r = InsideFrame(UserRect, frame);
  const std::array<int, 4> m = MarginPixels(UserRect);
  return {r.Left + m[0], r.Top + m[1], r.Right - m[2], r.Bottom - m[3]};
}

void TCustomLumPanel::Paint() { Draw(ClientRect()); }

void TCustomLumPanel::Draw(const TRect& UserRect) {
  DrawOn(canvas_.get(), UserRect);
}

void TCustomLumPanel::DrawOn(TCanvas3D* Target, const TRect& UserRect) {
  TCanvas* dest = TCustomControl::Canvas();
  if (drawing_) {
    // Never nest: one more paint follows this one.
    TCustomControl::Invalidate();
    return;
  }
  DrawingScope scope(drawing_);
  auto* lc = dynamic_cast<TLumCanvas3D*>(Target);
  if (lc) {
    lc->InitWindow(dest, view3DOptions_.get(), GetBackColor(), view3D_, UserRect);
  } else {
    Target->AttachCanvas(dest);
    Target->SetView3DOptions(view3DOptions_.get());
    Target->SetIs3D(view3D_);
  }
  InternalDraw(UserRect);
  if (lc) lc->ShowImage(dest, UserRect);
}

TBitmap* TCustomLumPanel::CreateBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(PixelFormat == pfDevice ? pf24bit : PixelFormat);
  const int w = std::max(0, R.Width()), h = std::max(0, R.Height());
  // The background covering everything, a white picture first would only be filled over.
  if (BackgroundCovers(Rect(0, 0, w, h))) bmp->SetSizeForOverwrite(w, h);
  else bmp->SetSize(w, h);
  if (!DrawOnto(bmp->Canvas(), BackColor, Rect(0, 0, bmp->Width(), bmp->Height()))) return nullptr;
  return bmp.release();
}

bool TCustomLumPanel::DrawOnto(TCanvas* Dest, TColor BackColor, const TRect& Area) {
  if (drawing_) {
    TCustomControl::Invalidate();
    return false;
  }
  auto target = std::make_unique<TLumCanvas3D>();
  target->SetBufferedDisplay(false);
  target->SetMonochrome(monochrome_);
  {
    // The chart's canvas is the destination's while it draws, so an after-draw
    // handler draws into the picture too.
    std::unique_ptr<TCanvas3D> own = std::move(canvas_);
    canvas_ = std::move(target);
    struct Restore {
      std::unique_ptr<TCanvas3D>& slot;
      std::unique_ptr<TCanvas3D>& own;
      ~Restore() { slot = std::move(own); }
    } restore{canvas_, own};
    DrawingScope scope(drawing_);
    auto* lc = static_cast<TLumCanvas3D*>(canvas_.get());
    lc->InitWindow(Dest, view3DOptions_.get(), BackColor, view3D_, Area);
    InternalDraw(Area);
    lc->ShowImage(Dest, Area);
  }
  return true;
}

void TCustomLumPanel::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoRepaint", &TCustomLumPanel::AutoRepaint, &TCustomLumPanel::SetAutoRepaint).Default(true);
  t.Enum("BevelInner", &TCustomLumPanel::BevelInner, &TCustomLumPanel::SetBevelInner,
         {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default((long long)bvNone);
  t.Enum("BevelOuter", &TCustomLumPanel::BevelOuter, &TCustomLumPanel::SetBevelOuter,
         {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default((long long)bvRaised);
  t.Int("BevelWidth", &TCustomLumPanel::BevelWidth, &TCustomLumPanel::SetBevelWidth).Default(1LL);
  t.Object("Border", &TCustomLumPanel::Border);
  t.Int("BorderRound", &TCustomLumPanel::BorderRound, &TCustomLumPanel::SetBorderRound).Default(0LL);
  t.Int("BorderWidth", &TCustomLumPanel::BorderWidth, &TCustomLumPanel::SetBorderWidth).Default(0LL);
  t.Bool("ClipPoints", &TCustomLumPanel::ClipPoints, &TCustomLumPanel::SetClipPoints).Default(true);
  t.Int("MarginBottom", &TCustomLumPanel::MarginBottom, &TCustomLumPanel::SetMarginBottom).Default(3LL);
  t.Int("MarginLeft", &TCustomLumPanel::MarginLeft, &TCustomLumPanel::SetMarginLeft).Default(3LL);
  t.Int("MarginRight", &TCustomLumPanel::MarginRight, &TCustomLumPanel::SetMarginRight).Default(3LL);
  t.Int("MarginTop", &TCustomLumPanel::MarginTop, &TCustomLumPanel::SetMarginTop).Default(3LL);
  t.Enum("MarginUnits", &TCustomLumPanel::MarginUnits, &TCustomLumPanel::SetMarginUnits,
         {"muPercent", "muPixels"}).Default((long long)muPercent);
  t.Bool("Monochrome", &TCustomLumPanel::Monochrome, &TCustomLumPanel::SetMonochrome).Default(false);
  t.Bool("View3D", &TCustomLumPanel::View3D, &TCustomLumPanel::SetView3D).Default(true);
  t.Object("View3DOptions", &TCustomLumPanel::View3DOptions);
  t.Object("Zoom", &TCustomLumPanel::Zoom);
  t.Enum("AllowPanning", &TCustomLumPanel::AllowPanning, &TCustomLumPanel::SetAllowPanning,
         {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}).Default((long long)pmBoth);
  t.Object("Panning", &TCustomLumPanel::Panning);
  t.Enum("ScrollMouseButton", &TCustomLumPanel::ScrollMouseButton, &TCustomLumPanel::SetScrollMouseButton,
         {"mbLeft", "mbRight", "mbMiddle"}).Default((long long)mbRight);
  t.Event("OnAfterDraw", &TCustomLumPanel::OnAfterDraw);
}

// ---------------------------------------------------------------------------
TCustomLumPanelExtended::TCustomLumPanelExtended(TComponent* AOwner) : TCustomLumPanel(AOwner) {}
TCustomLumPanelExtended::~TCustomLumPanelExtended() = default;

TLumGradient* TCustomLumPanelExtended::Gradient() const {
  return CreateOnFirstRead(gradient_, RepaintHandler());
}

TBackImage* TCustomLumPanelExtended::BackImage() const {
  return CreateOnFirstRead(backImage_, RepaintHandler());
}

TLumShadow* TCustomLumPanelExtended::Shadow() const {
  return CreateOnFirstRead(shadow_, RepaintHandler());
}

TLumEmboss* TCustomLumPanelExtended::Emboss() const {
  return CreateOnFirstRead(emboss_, RepaintHandler());
}

TNotifyEvent TCustomLumPanelExtended::RepaintHandler() const {
  auto* self = const_cast<TCustomLumPanelExtended*>(this);
  return TNotifyEvent([self](TObject*) { self->Invalidate(); });
}

void TCustomLumPanelExtended::Invalidate() {
  if (repaintOnChange_) TCustomLumPanel::Invalidate();
}

namespace {
// The outline of R with corners rounded by an ellipse Size pixels across.
void RoundFrame(TCanvas3D* C, const TRect& R, int Size) {
  C->Brush()->SetStyle(bsClear);
  if (TCanvas* rc = C->ReferenceCanvas()) rc->RoundRect(R.Left, R.Top, R.Right, R.Bottom, Size, Size);
}
}  // namespace

bool TCustomLumPanelExtended::BackgroundCovers(const TRect&) const {
  // As DrawPanelBackground goes: then its fill is a FillRect of the whole rectangle.
  return !(shadow_ && shadow_->Visible()) && (!Printing() || PrintPanelBackground) &&
         !(gradient_ && gradient_->Visible()) && GetBackColor() != clNone && BorderRound() <= 0;
}

void TCustomLumPanelExtended::DrawPanelBackground(const TRect& Rect) {
  TCanvas3D* c = Canvas();
  TRect r = Rect;
  if (shadow_ && shadow_->Visible()) {
    // The panel gives way to its shadow on the side the shadow falls.
    const int h = shadow_->HorizSize(), v = shadow_->VertSize();
    r = {r.Left + std::max(0, -h), r.Top + std::max(0, -v), r.Right - std::max(0, h), r.Bottom - std::max(0, v)};
    shadow_->Draw(c, r);
  }
  const int round = BorderRound();
  // Printed without its background (the preview's choice): frames and bevels only.
  const bool fill = !Printing() || PrintPanelBackground;
  if (fill && gradient_ && gradient_->Visible()) {
    gradient_->Draw(c, r, round);
  } else if (fill && GetBackColor() != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(GetBackColor());
    if (round > 0) {
      c->Pen()->SetStyle(psClear);
      if (TCanvas* rc = c->ReferenceCanvas()) rc->RoundRect(r.Left, r.Top, r.Right + 1, r.Bottom + 1, round, round);
    } else {
      c->FillRect(r);
    }
  }
  if (fill && backImage_ && !backImage_->Inside()) backImage_->Draw(c, r);
  const TRect outer = r;
  if (Border()->Visible()) {
    // Nested one-pixel frames keep a wide border inside the panel.
    c->ApplyPen(Border());
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    for (int i = 0; i < Border()->Width(); ++i) {
      if (round > 0)
        RoundFrame(c, r, round);
      else
        c->Rectangle(r);
      r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
  }
  DrawBevel(c, r, BevelOuter(), BevelWidth());
  r = {r.Left + BorderWidth(), r.Top + BorderWidth(), r.Right - BorderWidth(), r.Bottom - BorderWidth()};
  DrawBevel(c, r, BevelInner(), BevelWidth());
  if (emboss_ && emboss_->Visible()) DrawEmbossRim(emboss_.get(), c, outer);
}

void TCustomLumPanelExtended::DrawInsideBackImage() {
  if (backImage_ && backImage_->Inside()) backImage_->Draw(Canvas(), ChartRect());
}

void TCustomLumPanelExtended::DefineProperties(TPropertyTable& t) {
  t.Object("BackImage", &TCustomLumPanelExtended::BackImage).Stored([](const TObject* o) {
    return static_cast<const TCustomLumPanelExtended*>(o)->HasBackImage();
  });
  t.Object("Emboss", &TCustomLumPanelExtended::Emboss);
  t.Object("Gradient", &TCustomLumPanelExtended::Gradient)
      .Stored([](const TObject* o) { return static_cast<const TCustomLumPanelExtended*>(o)->HasGradient(); });
  t.Object("Shadow", &TCustomLumPanelExtended::Shadow);
}

// ---------------------------------------------------------------------------
TChartSeries* TChartSeriesList::Get(int Index) const {
  if (Index < 0 || Index >= Count())
    throw ChartException(Format("Series index %d out of range (the chart has %d series)", Index, Count()));
  return items_[size_t(Index)];
}

int TChartSeriesList::IndexOf(const TChartSeries* Series) const {
  auto it = std::find(items_.begin(), items_.end(), Series);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

bool TChartSeriesList::AllActive() const {
  return std::all_of(items_.begin(), items_.end(), [](TChartSeries* s) { return s->Active(); });
}

void TChartSeriesList::SetActiveAll(bool Active) {
  for (TChartSeries* s : items_) s->SetActive(Active);
}

// ---------------------------------------------------------------------------
TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner)
    : TCustomLumPanelExtended(AOwner),
      axes_(std::make_unique<TChartAxes>(this)),
      tools_(std::make_unique<TChartTools>(this)),
      mouse_(std::make_unique<TMouseState>()),
      seriesGroups_(std::make_unique<TSeriesGroups>(this)) {
  // Created in the order of the axes list: depth, depth top, top, bottom, left, right.
  depthAxis_ = std::make_unique<TChartAxis>(this);
  depthAxis_->isDepthAxis_ = true;
  depthAxis_->visible_ = false;
  depthTopAxis_ = std::make_unique<TChartAxis>(this);
  depthTopAxis_->isDepthAxis_ = true;
  depthTopAxis_->otherSide_ = true;
  depthTopAxis_->visible_ = false;
  topAxis_ = std::make_unique<TChartAxis>(this);
  topAxis_->horizontal_ = true;
  topAxis_->otherSide_ = true;
  bottomAxis_ = std::make_unique<TChartAxis>(this);
  bottomAxis_->horizontal_ = true;
  leftAxis_ = std::make_unique<TChartAxis>(this);
  rightAxis_ = std::make_unique<TChartAxis>(this);
  rightAxis_->otherSide_ = true;
  RecordDefaults(depthAxis_.get());  // hidden
  RecordDefaults(depthTopAxis_.get());
  customAxes_ = std::make_unique<TChartCustomAxes>(this);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  destroying_ = true;
  SetAutoRepaint(false);
  tools_->Clear();
  while (!seriesList_.items_.empty()) {
    TChartSeries* s = seriesList_.items_.back();
    InternalRemoveSeries(s);
    delete s;
  }
}

int TCustomAxisPanel::CountActiveSeries() const {
  return int(std::count_if(seriesList_.begin(), seriesList_.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* ASeries) {
  if (ASeries) ASeries->SetParentChart(this);
  return ASeries;
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* ASeries) {
  if (ASeries && ASeries->ParentChart() == this) ASeries->SetParentChart(nullptr);
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries* ASeries) {
  if (seriesList_.IndexOf(ASeries) >= 0) return;
  seriesList_.items_.push_back(ASeries);
  ASeries->TCustomChartElement::SetParentChart(this);
  ASeries->Marks()->SetParentChart(this);
  // A series without a colour of its own shows, and remembers, its palette colour.
  if (ASeries->color_ == clLumColor) ASeries->SetRememberedColor(GetDefaultColor(seriesList_.Count() - 1));
  Invalidate();
  BroadcastListenerEvent(ASeries, seAdd);
}

void TCustomAxisPanel::InternalRemoveSeries(TChartSeries* ASeries) {
  auto& v = seriesList_.items_;
  v.erase(std::remove(v.begin(), v.end(), ASeries), v.end());
  ASeries->ClearParentChart();
  ASeries->Marks()->SetParentChart(nullptr);
  seriesGroups_->RemoveSeries(ASeries);
  if (destroying_) return;
  Invalidate();
  BroadcastListenerEvent(ASeries, seRemove);
}

void TCustomAxisPanel::ExchangeSeries(TChartSeries* A, TChartSeries* B) {
  if (!A || !B || A == B) return;
  TCustomAxisPanel* chartA = A->ParentChart();
  TCustomAxisPanel* chartB = B->ParentChart();
  if (!chartA || !chartB) throw ChartException("Series has no parent chart");
  auto& listA = chartA->seriesList_.items_;
  auto& listB = chartB->seriesList_.items_;
  auto placeA = std::find(listA.begin(), listA.end(), A);
  auto placeB = std::find(listB.begin(), listB.end(), B);
  std::iter_swap(placeA, placeB);
  if (chartA == chartB) {
    chartA->Invalidate();
    chartA->BroadcastListenerEvent(A, seDataChanged);
    return;
  }
  // Each series takes the other's place in the other chart, leaving its groups.
  chartA->seriesGroups_->RemoveSeries(A);
  chartB->seriesGroups_->RemoveSeries(B);
  A->TCustomChartElement::SetParentChart(chartB);
  A->Marks()->SetParentChart(chartB);
  B->TCustomChartElement::SetParentChart(chartA);
  B->Marks()->SetParentChart(chartA);
  chartA->Invalidate();
  chartB->Invalidate();
  chartA->BroadcastListenerEvent(A, seRemove);
  chartA->BroadcastListenerEvent(B, seAdd);
  chartB->BroadcastListenerEvent(B, seRemove);
  chartB->BroadcastListenerEvent(A, seAdd);
}

int TCustomAxisPanel::MultiLineTextSize(const std::string& Text, int& NumLines) {
  NumLines = 0;
  int width = 0;
  size_t start = 0;
  for (;;) {
    const size_t end = Text.find(LineSeparator, start);
    std::string line = Text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.front() == '\n' && start > 0) line.erase(0, 1);
    ++NumLines;
    width = std::max(width, Canvas()->TextWidth(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return width;
}

void TCustomAxisPanel::MoveSeries(TChartSeries* ASeries, int Index) {
  auto& v = seriesList_.items_;
  const auto it = std::find(v.begin(), v.end(), ASeries);
  if (it == v.end() || v.empty()) return;
  v.erase(it);
  v.insert(v.begin() + std::clamp(Index, 0, int(v.size())), ASeries);
  Invalidate();
}

TChartSeries* TCustomAxisPanel::AddSeriesOfClass(TClass SeriesClass) {
  if (!SeriesClass || !SeriesClass->InheritsFrom(TChartSeries::StaticClass()))
    throw ChartException(Format("%s is not a series class", SeriesClass ? SeriesClass->Name : std::string("nil")));
  auto* s = static_cast<TChartSeries*>(SeriesClass->NewInstance(GetNewSeriesOwner()));
  return AddSeries(s);
}

void TCustomAxisPanel::FreeAllSeries(TClass SeriesClass) {
  const std::vector<TChartSeries*> all = seriesList_.items_;
  for (TChartSeries* s : all)
    if (!SeriesClass || s->ClassType()->InheritsFrom(SeriesClass)) delete s;  // a freed series leaves its chart
}

TColor TCustomAxisPanel::GetDefaultColor(int Index) const {
  static constexpr TColor palette[] = {clRed,  clGreen, clYellow, clBlue,   clWhite,  clGray,
                                       clFuchsia, clTeal, clNavy,  clMaroon, clLime,   clOlive,
                                       clPurple, clSilver, clAqua, clBlack};
  constexpr int n = int(sizeof(palette) / sizeof(palette[0]));
  return palette[((Index % n) + n) % n];
}

void TCustomAxisPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLumPanelExtended::Notification(AComponent, Operation);
  if (Operation == opRemove)
    if (auto* s = dynamic_cast<TChartSeries*>(AComponent); s && s->ParentChart() == this) InternalRemoveSeries(s);
}

void TCustomAxisPanel::DoAfterDraw() {
  if (OnAfterDraw.Assigned()) OnAfterDraw(this);
}

void TCustomAxisPanel::CalcSize3D() {
  if (!View3D()) {
    SetSize3D(0, 0);
    return;
  }
  const int side = std::max(0, std::min(ChartWidth(), ChartHeight()));
  const int depth = int(Round(side * std::max(0, Chart3DPercent()) / 100.0));
  SetSize3D(depth, depth);
}

namespace {
// The axis line across its side of the plot rectangle, moved inwards by its position.
int AxisPosition(const TChartAxis* A, const TRect& R, bool Far) {
  const int across = A->Horizontal() ? R.Height() : R.Width();
  const int offset = int(Round(A->PositionUnits() == muPercentUnits ? A->PositionPercent() * across / 100.0
                                                                    : A->PositionPercent()));
  if (A->Horizontal()) return Far ? R.Top + offset : R.Bottom - offset;
  return Far ? R.Right - offset : R.Left + offset;
}

// The plot rectangle and depth of a turned (free) view: the flat layout Flat with its
// depth, shrunk about its centre until the box it projects (with Back pixels of back
// wall), with Sides pixels around it for the axes (left, top, right, bottom), fits
// Avail, and centred there. Projected at zoom 100 without offsets; since the
// perspective grows with the box, the projection scales with it.
TRect FitTurnedBox(TLumCanvas3D* C, const TRect& Avail, const TRect& Flat, int& Depth, int Back, const int* Sides) {
  if (Flat.Width() <= 0 || Flat.Height() <= 0) return Flat;
  C->CalcPerspective(Flat, Depth);
  // Seen from behind, the left side shows on the right: so do its axis and labels.
  int Room[4] = {Sides[0], Sides[1], Sides[2], Sides[3]};
  const int middle = (Flat.Top + Flat.Bottom) / 2;
  if (C->ProjectPoint(Flat.Left - 10, middle, 0).X > C->ProjectPoint(Flat.Left, middle, 0).X)
    std::swap(Room[0], Room[2]);
  const TView3DOptions* v = C->View3DOptions();
  const double zoom = std::max(v->Zoom(), 1) / 100.0;
  double left = 0, top = 0, right = 0, bottom = 0;
  for (int x : {Flat.Left, Flat.Right})
    for (int y : {Flat.Top, Flat.Bottom})
      for (int z : {0, Depth + Back}) {
        const TPoint p = C->ProjectPoint(x, y, z);
        const double dx = (p.X - C->XCenter() - v->HorizOffset()) / zoom;
        const double dy = (p.Y - C->YCenter() - v->VertOffset()) / zoom;
        left = std::min(left, dx), right = std::max(right, dx);
        top = std::min(top, dy), bottom = std::max(bottom, dy);
      }
  // A pixel to spare on each side for rounding.
  const double roomX = Avail.Width() - Room[0] - Room[2] - 2, roomY = Avail.Height() - Room[1] - Room[3] - 2;
  double s = 1;
  if (right - left > 0) s = std::min(s, roomX / (right - left));
  if (bottom - top > 0) s = std::min(s, roomY / (bottom - top));
  s = std::max(s, 0.0);
  const int w = int(Round(Flat.Width() * s)), h = int(Round(Flat.Height() * s));
  Depth = int(Round(Depth * s));
  const double cx = (Avail.Left + Room[0] + Avail.Right - Room[2]) / 2.0 - s * (left + right) / 2;
  const double cy = (Avail.Top + Room[1] + Avail.Bottom - Room[3]) / 2.0 - s * (top + bottom) / 2;
  const int l = int(Round(cx - w / 2.0)), t = int(Round(cy - h / 2.0));
  return {l, t, l + w, t + h};
}
}  // namespace

void TCustomAxisPanel::CalcAxisRect() {
  TChartAxis* const standard[] = {leftAxis_.get(), rightAxis_.get(), topAxis_.get(), bottomAxis_.get()};
  for (TChartAxis* a : standard) a->AdjustMaxMin();
  for (TChartAxis* a : *customAxes_) a->AdjustMaxMin();
  TRect r = ChartRect();
  // Label widths depend on the axis length: measure on the whole rectangle first.
  for (TChartAxis* a : standard) a->CalcRect(r);
  for (TChartAxis* a : *customAxes_) a->CalcRect(r);
  // Room outside the plot per side (left, top, right, bottom). A custom axis at an
  // edge (placed nowhere inwards) stands outside what is already there, taking the
  // room its ticks, labels and title need, as the standard axes do.
  // In 3D the walls stand out of the plot box on their sides; the axes there stand
  // outside them.
  const TWallReach walls = View3D() ? WallReach() : TWallReach{};
  int room[4] = {leftAxis_->SizeOutside() + walls.Left, topAxis_->SizeOutside(),
                 rightAxis_->SizeOutside() + walls.Right, bottomAxis_->SizeOutside() + walls.Bottom};
  std::vector<std::pair<TChartAxis*, int>> outside;  // edge custom axes and their distance out
  for (TChartAxis* a : *customAxes_) {
    if (a->PositionPercent() != 0 || !a->IsVisible()) continue;
    int& side = room[a->Horizontal() ? (a->OtherSide() ? 1 : 3) : (a->OtherSide() ? 2 : 0)];
    // Its room holds a gap that keeps its line off the labels of an axis inside it.
    outside.emplace_back(a, side > 0 ? side + TChartAxis::EdgeGap : side);
    side += a->SizeOutside();
  }
  // The labels at an axis's ends reach half their size past them, into the panel's
  // margin on a side where nothing else stands; past that (or next to a title or
  // legend, with a pixel to spare) the side keeps room for them, so they are neither
  // cut nor touching.
  {
    const TRect inner = InnerRect(ChartBounds());
    const std::array<int, 4> margin = MarginPixels(ChartBounds());
    const int free[4] = {r.Left == inner.Left ? margin[0] : -1, r.Top == inner.Top ? margin[1] : -1,
                         r.Right == inner.Right ? margin[2] : -1, r.Bottom == inner.Bottom ? margin[3] : -1};
    for (TChartAxis* a : *axes_) {
      if (a->IsDepthAxis()) continue;
      const auto [first, second] = a->EndLabelsReach();
      const int low = a->Horizontal() ? 0 : 1, high = low + 2;
      if (first > 0) room[low] = std::max(room[low], first - free[low]);
      if (second > 0) room[high] = std::max(room[high], second - free[high]);
    }
  }
  auto* lc = dynamic_cast<TLumCanvas3D*>(Canvas());
  if (View3D() && !View3DOptions()->Orthogonal() && lc) {
    // A turned box may reach any side: it is fitted with the axes' room around it.
    int depth = Width3D();
    room[2] += std::max(depthAxis_->DepthLabelsExtent(), depthTopAxis_->DepthLabelsExtent());
    const TRect flat{r.Left + room[0], r.Top + room[1], r.Right - room[2], r.Bottom - room[3]};
    r = FitTurnedBox(lc, r, flat, depth, walls.Back, room);
    SetSize3D(depth, depth);
    // An axis at an edge of the box stands at the end of its edge (front or back)
    // that shows outermost, so the box's sides do not cover its labels.
    lc->CalcPerspective(r, depth);
    const int mx = (r.Left + r.Right) / 2, my = (r.Top + r.Bottom) / 2;
    const struct {
      TChartAxis* axis;
      int x, y, dx, dy;  // a point of the edge and the screen direction out of the box
    } edges[] = {{leftAxis_.get(), r.Left, my, -1, 0},
                 {rightAxis_.get(), r.Right, my, 1, 0},
                 {topAxis_.get(), mx, r.Top, 0, -1},
                 {bottomAxis_.get(), mx, r.Bottom, 0, 1}};
    for (const auto& e : edges) {
      const TPoint front = lc->ProjectPoint(e.x, e.y, 0), back = lc->ProjectPoint(e.x, e.y, depth);
      const bool backOuter = (back.X - front.X) * e.dx + (back.Y - front.Y) * e.dy > 0;
      e.axis->swappedEnd_ = e.axis->PositionPercent() == 0 && backOuter != e.axis->OtherSide();
    }
  } else {
    for (TChartAxis* a : standard) a->swappedEnd_ = false;
    r = {r.Left + room[0], r.Top + room[1], r.Right - room[2] - Width3D(), r.Bottom - room[3]};
    r.Top += Height3D();
  }
  SetChartRect(r);
  RecalcWidthHeight();
  r = ChartRect();
  // Room the series ask for at the ends of their axes (whole markers at the ends).
  int hMargins[2][2] = {}, vMargins[2][2] = {};  // [bottom, top][min, max], [left, right][min, max]
  std::map<TChartAxis*, std::array<int, 2>> customMargins;  // min, max
  auto take = [&](TChartAxis* Axis, int* Standard, int Min, int Max) {
    int* m = Axis && Axis->IsCustom() ? customMargins[Axis].data() : Standard;
    m[0] = std::max(m[0], Min);
    m[1] = std::max(m[1], Max);
  };
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    int l = 0, rt = 0, t = 0, b = 0;
    s->CalcHorizMargins(l, rt);
    s->CalcVerticalMargins(t, b);
    take(s->GetHorizAxis(), hMargins[s->HorizAxis() == aTopAxis ? 1 : 0], l, rt);
    take(s->GetVertAxis(), vMargins[s->VertAxis() == aRightAxis ? 1 : 0], b, t);
  }
  bottomAxis_->CalcRect(r, hMargins[0][0], hMargins[0][1]);
  topAxis_->CalcRect(r, hMargins[1][0], hMargins[1][1]);
  leftAxis_->CalcRect(r, vMargins[0][0], vMargins[0][1]);
  rightAxis_->CalcRect(r, vMargins[1][0], vMargins[1][1]);
  // An axis at its edge stands outside the wall there.
  auto edge = [](const TChartAxis* A, int Reach) { return A->PositionPercent() == 0 ? Reach : 0; };
  bottomAxis_->SetPosAxis(AxisPosition(bottomAxis_.get(), r, false) + edge(bottomAxis_.get(), walls.Bottom));
  topAxis_->SetPosAxis(AxisPosition(topAxis_.get(), r, true));
  leftAxis_->SetPosAxis(AxisPosition(leftAxis_.get(), r, false) - edge(leftAxis_.get(), walls.Left));
  rightAxis_->SetPosAxis(AxisPosition(rightAxis_.get(), r, true) + edge(rightAxis_.get(), walls.Right));
  // Custom axes lie inside the plot rectangle, placed by their position, or outside
  // it at their distance out.
  for (TChartAxis* a : *customAxes_) {
    const auto m = customMargins.find(a);
    if (m != customMargins.end())
      a->CalcRect(r, m->second[0], m->second[1]);
    else
      a->CalcRect(r);
    int out = 0;
    for (const auto& [axis, distance] : outside)
      if (axis == a) out = distance;
    // Outwards is up for the top and left sides, down for the others.
    const bool up = a->Horizontal() ? a->OtherSide() : !a->OtherSide();
    a->SetPosAxis(AxisPosition(a, r, a->OtherSide()) + (up ? -out : out));
  }
  // Depth axes run from the front to the back.
  for (TChartAxis* a : {depthAxis_.get(), depthTopAxis_.get()}) a->CalcRect(TRect{0, 0, Width3D(), Width3D()});
}

void TCustomAxisPanel::DrawAxes() {
  for (TChartAxis* a : *axes_)
    if (!a->isDepthAxis_) a->Draw();
}

std::vector<TChartSeries*> TCustomAxisPanel::SeriesInDepthOrder() const {
  std::vector<TChartSeries*> out;
  for (TChartSeries* s : seriesList_)
    if (s->Active()) out.push_back(s);
  // In 3D the series farthest back draws first; in 2D the list order stands.
  if (View3D())
    std::stable_sort(out.begin(), out.end(), [](TChartSeries* a, TChartSeries* b) { return a->ZOrder() > b->ZOrder(); });
  return out;
}

void TCustomAxisPanel::DrawSeries(TChartSeries* ASeries) {
  TCanvas3D* c = Canvas();
  const TRect& r = ChartRect();
  // Both axis ends (Right and Bottom themselves) stay inside the clip.
  const TRect clip{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
  ASeries->CalcFirstLastVisibleIndex();
  const bool clipIt = CanClip();
  // In 3D the clip is the outline of the series' projected slot, front to back: its
  // bounding rectangle would let a point past an axis end show over that axis' labels.
  const auto clipToSlot = [&] { c->ClipCube(clip, ASeries->StartZ(), ASeries->EndZ()); };
  if (clipIt) clipToSlot();
  try {
    BroadcastSeriesEvent(1, ASeries);
    // A tool may have freed the series.
    if (seriesList_.IndexOf(ASeries) < 0) {
      if (clipIt) c->UnClipRectangle();
      return;
    }
    ASeries->DrawAllValues();
    BroadcastSeriesEvent(4, ASeries);
  } catch (...) {
    if (clipIt) c->UnClipRectangle();
    throw;
  }
  if (clipIt) c->UnClipRectangle();
  if (seriesList_.IndexOf(ASeries) < 0) return;
  if (!ASeries->Marks()->Visible()) return;
  const bool clipMarks = ASeries->Marks()->Clip() && clipIt;
  if (clipMarks) clipToSlot();
  ASeries->DrawMarks();
  if (clipMarks) c->UnClipRectangle();
}

void TCustomAxisPanel::InternalDraw(const TRect& UserRect) {
  ++drawingNumber_;
  TCanvas3D* c = Canvas();
  SetChartBounds(UserRect);
  c->ResetState();
  DrawPanelBackground(UserRect);
  BroadcastToolEvent(2);
  SetChartRect(InnerRect(UserRect));
  RecalcWidthHeight();
  DrawTitlesAndLegend(true);
  CalcSize3D();
  CalcAxisRect();
  // Depth of each active series: equal slices of the 3D depth, the first in front.
  const int active = CountActiveSeries();
  int order = 0;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    const int slice = active > 0 ? Width3D() / active : 0;
    s->SetZOrder(order);
    s->SetZPositions(order * slice, order * slice + slice / 2, (order + 1) * slice);
    ++order;
  }
  if (auto* lc = dynamic_cast<TLumCanvas3D*>(c)) lc->CalcPerspective(ChartRect(), Width3D());
  DrawWalls();
  DrawInsideBackImage();
  BroadcastToolEvent(3);
  // Labels behind the grid go first, whether the axes lie behind the series or not.
  for (TChartAxis* a : *axes_)
    if (a->LabelsBehind()) a->DrawLabels();
  for (TChartAxis* a : *axes_) a->DrawGrid();
  if (axes_->GetBehind()) DrawAxes();
  BroadcastToolEvent(1);
  for (TChartSeries* s : SeriesInDepthOrder())
    if (seriesList_.IndexOf(s) >= 0) DrawSeries(s);  // tools may free series meanwhile
  BroadcastToolEvent(4);
  if (!axes_->GetBehind()) DrawAxes();
  for (TChartAxis* a : {depthAxis_.get(), depthTopAxis_.get()}) a->Draw();
  DrawTitlesAndLegend(false);
  c->ResetState();
  DoAfterDraw();
  BroadcastToolEvent(0);
}

void TCustomAxisPanel::DefineProperties(TPropertyTable& t) {
  t.Bool("AxisVisible", &TCustomAxisPanel::AxisVisible, &TCustomAxisPanel::SetAxisVisible).Default(true);
  t.Object("BottomAxis", &TCustomAxisPanel::BottomAxis);
  t.Object("DepthAxis", &TCustomAxisPanel::DepthAxis);
  t.Object("DepthTopAxis", &TCustomAxisPanel::DepthTopAxis);
  t.Object("LeftAxis", &TCustomAxisPanel::LeftAxis);
  t.Object("RightAxis", &TCustomAxisPanel::RightAxis);
  t.Object("TopAxis", &TCustomAxisPanel::TopAxis);
  t.Event("OnAllowScroll", &TCustomAxisPanel::OnAllowScroll);
  t.Event("OnScroll", &TCustomAxisPanel::OnScroll);
}
