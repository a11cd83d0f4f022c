#include "chart/walls.h"

#include <algorithm>
#include <cmath>

#include "canvas/lumcanvas.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TChartWall, TLumCustomShape)

namespace {
TRect Union(const TRect& A, const TRect& B) {
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

// Pixel at Percent (clamped to 0..100) of the way from From to To.
int Along(int From, int To, double Percent) {
  return From + int(std::lround((To - From) * std::clamp(Percent, 0.0, 100.0) / 100.0));
}
}  // namespace

TChartWall::TChartWall(TCustomAxisPanel* AChart, TChartWallKind AKind) : TLumCustomShape(AChart), kind_(AKind) {}

TChartWall::~TChartWall() {
  if (visual_) delete visual_->Visual();
}

TVisualsHolder* TChartWall::VisualHolder() {
  if (!visual_) visual_ = std::make_unique<TVisualsHolder>(ParentChart());
  return visual_.get();
}

void TChartWall::SetSize(int Value) { Store(size_, std::max(0, Value)); }
void TChartWall::SetDark3D(bool Value) { Store(dark3D_, Value); }
void TChartWall::SetAutoHide(bool Value) { Store(autoHide_, Value); }
void TChartWall::SetStartPosition(double Value) { Store(startPosition_, Value); }
void TChartWall::SetEndPosition(double Value) { Store(endPosition_, Value); }

bool TChartWall::CutAway() const {
  return std::clamp(endPosition_, 0.0, 100.0) <= std::clamp(startPosition_, 0.0, 100.0);
}

TRect TChartWall::SpanRect(const TRect& R) const {
  TRect s = R;
  if (kind_ == cwkBottom) {
    s.Left = Along(R.Left, R.Right, startPosition_);
    s.Right = std::max(s.Left, Along(R.Left, R.Right, endPosition_));
  } else {
    s.Top = Along(R.Top, R.Bottom, startPosition_);
    s.Bottom = std::max(s.Top, Along(R.Top, R.Bottom, endPosition_));
  }
  return s;
}

void TChartWall::DrawWall(const TRect& R) {
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!c || !Visible()) return;
  if (CutAway()) return;
  const TRect span = SpanRect(R);
  // The canvas leaves out the right and bottom edge: the frame runs on the plot's
  // last row and column.
  const TRect box{span.Left, span.Top, span.Right + 1, span.Bottom + 1};
  if (!Transparent()) {
    DrawRectRotated(c, box);
    return;
  }
  SetShapeBounds(box);
  if (!Pen()->Visible()) return;
  c->ApplyPen(Pen());
  c->GetGradient()->SetVisible(false);
  c->Brush()->SetStyle(bsClear);
  c->RectangleWithZ(box, 0);
}

std::array<std::array<int, 3>, 4> TChartWall::InnerFace(const TRect& R, int Depth) const {
  const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom, d = Depth;
  switch (kind_) {
    case cwkLeft: return {{{l, t, 0}, {l, t, d}, {l, b, d}, {l, b, 0}}};
    case cwkRight: return {{{r, t, d}, {r, t, 0}, {r, b, 0}, {r, b, d}}};
    case cwkBottom: return {{{l, b, d}, {r, b, d}, {r, b, 0}, {l, b, 0}}};
    default: return {{{l, t, d}, {r, t, d}, {r, b, d}, {l, b, d}}};
  }
}

bool TChartWall::FacesViewer(const TRect& R, int Depth) const {
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!c) return false;
  const auto face = InnerFace(SpanRect(R), Depth);
  // Twice the signed area on the screen (y down): positive when clockwise.
  double area = 0;
  for (int i = 0; i < 4; ++i) {
    const auto& a = face[i];
    const auto& b = face[(i + 1) % 4];
    const TPoint p = c->ProjectPoint(a[0], a[1], a[2]), q = c->ProjectPoint(b[0], b[1], b[2]);
    area += double(p.X) * q.Y - double(q.X) * p.Y;
  }
  return area > 0;
}

void TChartWall::DrawSidePlane(const TRect& R, int Depth) {
  TCanvas3D* c = ParentChart()->Canvas();
  const auto face = InnerFace(R, Depth);
  std::vector<TPoint> pts;
  for (const auto& p : face) pts.push_back(c->ProjectPoint(p[0], p[1], p[2]));
  c->Polygon(pts);
}

void TChartWall::DrawWall3D(const TRect& R, int Depth) {
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!c || !Visible()) return;
  if (CutAway()) return;
  const TRect span = SpanRect(R);
  if (autoHide_ && !FacesViewer(R, Depth)) return;
  // The slab: a box beside the plane, outwards.
  TRect slab = span;
  int z0 = 0, z1 = Depth;
  switch (kind_) {
    case cwkLeft: slab.Left = span.Left - size_, slab.Right = span.Left; break;
    case cwkRight: slab.Left = span.Right, slab.Right = span.Right + size_; break;
    case cwkBottom: slab.Top = span.Bottom, slab.Bottom = span.Bottom + size_; break;
    case cwkBack: z0 = Depth, z1 = Depth + size_; break;
  }
  const TRect bounds = Union(c->ProjectedRectBounds(slab, z0), c->ProjectedRectBounds(slab, z1));

  if (Transparent()) {
    // The outline only, as in a flat chart.
    SetShapeBounds(bounds);
    if (!Pen()->Visible()) return;
    c->ApplyPen(Pen());
    c->GetGradient()->SetVisible(false);
    c->Brush()->SetStyle(bsClear);
    if (kind_ == cwkBack) c->RectangleWithZ(span, Depth);
    else DrawSidePlane(span, Depth);
    return;
  }
  const bool slabbed = size_ > 0;
  // The back wall's face is the shape itself, which blends on its own; a slab behind
  // it blends with the rest of the wall.
  TLumBlend* blend = nullptr;
  if (Transparency() > 0 && (kind_ != cwkBack || slabbed)) {
    // The emboss rim lies outside the wall.
    const int reach = kind_ == cwkBack || !HasEmboss() ? 0 : EffectReach(Emboss());
    blend = c->BeginBlending({bounds.Left - reach, bounds.Top - reach, bounds.Right + reach, bounds.Bottom + reach},
                             Transparency());
  }
  try {
    if (slabbed) {
      c->ApplyBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
      c->ApplyPen(Pen());
      c->CubeFromRect(slab, z0, z1, dark3D_);
    }
    if (kind_ == cwkBack) {
      DrawShapeOnCanvas(c, span, Depth);
    } else {
      c->ApplyBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
      c->ApplyPen(Pen());
      DrawSidePlane(span, Depth);
      if (HasPicture())
        if (TGraphic* g = Picture()->FilteredGraphic()) {
          if (kind_ == cwkBottom) c->DrawPicture(cpFloor, g, {span.Left, 0, span.Right, Depth}, span.Bottom);
          else c->DrawPicture(cpSide, g, {0, span.Top, Depth, span.Bottom}, kind_ == cwkLeft ? span.Left : span.Right);
        }
      if (HasEmboss() && Emboss()->Visible()) DrawEmbossRim(Emboss(), c, bounds);
      SetShapeBounds(bounds);
    }
  } catch (...) {
    if (blend) c->EndBlending(blend);
    throw;
  }
  if (blend) c->EndBlending(blend);
}

void TChartWall::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartWall*>(Source)) {
    size_ = src->size_;
    dark3D_ = src->dark3D_;
    autoHide_ = src->autoHide_;
    startPosition_ = src->startPosition_;
    endPosition_ = src->endPosition_;
  }
  TLumCustomShape::Assign(Source);
}

void TChartWall::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoHide", &TChartWall::AutoHide, &TChartWall::SetAutoHide).Default(false);
  t.Bool("Dark3D", &TChartWall::Dark3D, &TChartWall::SetDark3D).Default(true);
  t.Float("EndPosition", &TChartWall::EndPosition, &TChartWall::SetEndPosition).Default((long double)100);
  t.Object("Pen", &TChartWall::Pen);
  t.Int("Size", &TChartWall::Size, &TChartWall::SetSize).Default(0LL);
  t.Float("StartPosition", &TChartWall::StartPosition, &TChartWall::SetStartPosition).Default((long double)0);
}

// ---------------------------------------------------------------------------
TChartWalls::TChartWalls(TCustomAxisPanel* AChart)
    : back_(std::make_unique<TChartWall>(AChart, cwkBack)),
      left_(std::make_unique<TChartWall>(AChart, cwkLeft)),
      bottom_(std::make_unique<TChartWall>(AChart, cwkBottom)),
      right_(std::make_unique<TChartWall>(AChart, cwkRight)) {
  back_->SetTransparent(true);  // the others are filled
  RecordDefaults(back_.get());
  // Seen from the usual right-hand view the right wall would stand in front of the
  // series.
  right_->SetVisible(false);
  RecordDefaults(right_.get());
}

void TChartWalls::SetSize(int Value) {
  for (TChartWall* w : {back_.get(), left_.get(), bottom_.get(), right_.get()}) w->SetSize(Value);
}

void TChartWalls::Draw3D(const TRect& R, int Depth) {
  for (TChartWall* w : {back_.get(), left_.get(), right_.get(), bottom_.get()}) w->DrawWall3D(R, Depth);
}
