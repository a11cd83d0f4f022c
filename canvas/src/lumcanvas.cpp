#include "canvas/lumcanvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "canvas_internal.h"
#include "platform/typinfo.h"

using canvas_internal::BrushSaver;
using canvas_internal::Normalized;

IMPLEMENT_CLASS_PROPS(TView3DOptions, TLumAttribute)
IMPLEMENT_CLASS(TLumCanvas, TObject)
IMPLEMENT_CLASS(TCanvas3D, TLumCanvas)
IMPLEMENT_CLASS(TLumCanvas3D, TCanvas3D)

// ---------------------------------------------------------------------------
int TView3DOptions::Rotation() const { return int(Round(rotation_)); }
int TView3DOptions::Elevation() const { return int(Round(elevation_)); }

void TView3DOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TView3DOptions*>(Source);
  if (!s) return TLumAttribute::Assign(Source);
  orthogonal_ = s->orthogonal_;
  orthoAngle_ = s->orthoAngle_;
  zoom_ = s->zoom_;
  perspective_ = s->perspective_;
  rotation_ = s->rotation_;
  elevation_ = s->elevation_;
  horizOffset_ = s->horizOffset_;
  vertOffset_ = s->vertOffset_;
  zoomText_ = s->zoomText_;
  fontZoom_ = s->fontZoom_;
  Changed();
}

void TView3DOptions::DefineProperties(TPropertyTable& t) {
  t.Int("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation).Default(345LL);
  t.Int("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom).Default(100LL);
  t.Int("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset).Default(0LL);
  t.Int("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle).Default(45LL);
  t.Bool("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal).Default(true);
  t.Int("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective).Default(15LL);
  t.Int("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation).Default(345LL);
  t.Int("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset).Default(0LL);
  t.Int("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom).Default(100LL);
  t.Enum("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText, {"ztManual", "ztNo", "ztAuto"})
      .Default((long long)ztAuto);
}

// ---------------------------------------------------------------------------
namespace {

// Points round the ellipse in R, each placed by Place (x, y) -> TPoint.
template <class F>
std::vector<TPoint> EllipseOutline(const TRect& R, F Place) {
  constexpr int steps = 64;
  const double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
  const double rx = R.Width() / 2.0, ry = R.Height() / 2.0;
  std::vector<TPoint> pts;
  for (int i = 0; i < steps; ++i) {
    const double a = 2 * std::numbers::pi * i / steps;
    pts.push_back(Place(cx + rx * std::cos(a), cy + ry * std::sin(a)));
  }
  return pts;
}

TRect BoundsOf(const TPoint* P, int Count) {
  const TRect b = canvas_internal::PointsBounds(P, Count);
  return {b.Left, b.Top, b.Right + 1, b.Bottom + 1};  // the last row and column are inside
}

// Runs Draw for the outline only: the fill was painted already.
template <class F>
void OutlineOnly(TCanvas* C, F Draw) {
  if (C->Pen()->Style() == psClear) return;
  BrushSaver keep(C);
  C->Brush()->SetBitmap(nullptr);
  C->Brush()->SetStyle(bsClear);
  Draw();
}

}  // namespace

TLumCanvas::TLumCanvas() = default;
TLumCanvas::~TLumCanvas() {
  for (TLumBlend* b : blends_) {  // they outlive us: blending back does nothing now
    b->canvas_ = nullptr;
    b->Forget();
  }
}

void TLumCanvas::AttachCanvas(TCanvas* ACanvas) { canvas_ = ACanvas; }

TCanvas* TLumCanvas::Current() const {
  if (canvas_) return canvas_;
  if (!detached_) detached_ = std::make_unique<TCanvas>();
  return detached_.get();
}

TPen* TLumCanvas::Pen() const { return Current()->Pen(); }
TBrush* TLumCanvas::Brush() const { return Current()->Brush(); }
TFont* TLumCanvas::Font() const { return Current()->Font(); }

void TLumCanvas::MoveTo(int X, int Y) {
  if (canvas_) canvas_->MoveTo(X, Y);
}

void TLumCanvas::LineTo(int X, int Y) {
  if (canvas_) canvas_->LineTo(X, Y);
}

void TLumCanvas::PolylineTo(const TPoint* Points, int Count) {
  if (canvas_ && Points && Count > 0) canvas_->PolylineTo(Points, Count);
}

void TLumCanvas::ColumnLineTo(const TLineColumn* Columns, int Count) {
  if (canvas_ && Columns && Count > 0) canvas_->ColumnLineTo(Columns, Count);
}

bool TLumCanvas::Antialiased() const { return Current()->Antialiasing(); }

void TLumCanvas::HorizLine(int X0, int X1, int Y) { Line(X0, Y, X1, Y); }
void TLumCanvas::VertLine(int X, int Y0, int Y1) { Line(X, Y0, X, Y1); }
void TLumCanvas::LinePoints(const TPoint& P0, const TPoint& P1) { Line(P0.X, P0.Y, P1.X, P1.Y); }

void TLumCanvas::Line(int X0, int Y0, int X1, int Y1) {
  MoveTo(X0, Y0);
  LineTo(X1, Y1);
}

void TLumCanvas::Rectangle(int X0, int Y0, int X1, int Y1) {
  if (!canvas_) return;
  if (!GradientFills()) return canvas_->Rectangle(X0, Y0, X1, Y1);
  FillGradient(Normalized({X0, Y0, X1, Y1}), nullptr);
  OutlineOnly(canvas_, [&] { canvas_->Rectangle(X0, Y0, X1, Y1); });
}

void TLumCanvas::FillRect(const TRect& R) {
  if (!canvas_) return;
  if (GradientFills()) FillGradient(Normalized(R), nullptr);
  else canvas_->FillRect(R);
}

void TLumCanvas::Ellipse(int X0, int Y0, int X1, int Y1) {
  if (!canvas_) return;
  if (!GradientFills()) return canvas_->Ellipse(X0, Y0, X1, Y1);
  const TRect r = Normalized({X0, Y0, X1, Y1});
  const std::vector<TPoint> outline =
      EllipseOutline(r, [](double x, double y) { return TPoint{int(std::lround(x)), int(std::lround(y))}; });
  FillGradient(r, &outline);
  OutlineOnly(canvas_, [&] { canvas_->Ellipse(X0, Y0, X1, Y1); });
}

void TLumCanvas::Polygon(const TPoint* Points, int Count) {
  if (!canvas_ || !Points || Count < 2) return;
  if (!GradientFills()) return canvas_->Polygon(Points, Count);
  const std::vector<TPoint> outline(Points, Points + Count);
  FillGradient(BoundsOf(Points, Count), &outline);
  OutlineOnly(canvas_, [&] { canvas_->Polygon(Points, Count); });
}

void TLumCanvas::FillGradient(const TRect& Bounds, const std::vector<TPoint>* Outline) {
  if (Outline) canvas_->PushClipPolygon(*Outline);
  gradient_->Draw(this, Bounds);
  if (Outline) canvas_->PopClip();
}

void TLumCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (canvas_ && Graphic) canvas_->Draw(X, Y, Graphic);
}

void TLumCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (canvas_ && Graphic) canvas_->StretchDraw(R, Graphic);
}

void TLumCanvas::ClipRectangle(const TRect& R) {
  if (canvas_) canvas_->PushClipRect(Normalized(R));
}

void TLumCanvas::UnClipRectangle() {
  if (canvas_) canvas_->PopClip();
}

void TLumCanvas::SetBackMode(TCanvasBackMode Mode) {
  if (Mode == cbmTransparent) Current()->SetBkMode(TRANSPARENT);
  else if (Mode == cbmOpaque) Current()->SetBkMode(OPAQUE);
}

TCanvasBackMode TLumCanvas::BackMode() const {
  return Current()->BkMode() == OPAQUE ? cbmOpaque : cbmTransparent;
}

void TLumCanvas::SetBackColor(TColor Value) { Current()->SetBkColor(Value); }
TColor TLumCanvas::BackColor() const { return Current()->BkColor(); }
unsigned TLumCanvas::TextAlign() const { return Current()->TextAlign(); }
void TLumCanvas::SetTextAlign(unsigned Value) { Current()->SetTextAlign(Value); }

void TLumCanvas::TextOut(int X, int Y, const std::string& Text) {
  if (canvas_) DrawText(X, Y, Text);
}

void TLumCanvas::DrawText(int X, int Y, const std::string& Text) {
  if (fontExtras_) TextOutWithExtras(X, Y, Text);
  else canvas_->TextOut(X, Y, Text);
}

void TLumCanvas::RotateLabel(int X, int Y, const std::string& Text, double Angle) {
  if (!canvas_) return;
  TFont* f = canvas_->Font();
  const int old = f->Orientation();
  int tenths = int(Round(std::fmod(Angle, 360.0) * 10));
  if (tenths < 0) tenths += 3600;
  f->SetOrientation(tenths);
  DrawText(X, Y, Text);
  f->SetOrientation(old);
}

int TLumCanvas::TextWidth(const std::string& Text) { return Current()->TextWidth(Text); }
int TLumCanvas::TextHeight(const std::string& Text) { return Current()->TextHeight(Text); }
int TLumCanvas::FontHeight() { return TextHeight("W"); }

void TLumCanvas::AssignFont(TLumFont* AFont) {
  if (!AFont) return;
  TFont* f = Font();
  f->SetName(AFont->Name());
  int h = AFont->Height();
  if (fontZoom_ != 100) {
    h = MulDiv(h, fontZoom_, 100);
    if (h == 0) h = AFont->Height() < 0 ? -1 : 1;  // zoomed out, still a font
  }
  f->SetHeight(h);
  f->SetStyle(AFont->Style());
  f->SetColor(AFont->Color());
  f->SetCharset(AFont->Charset());
  f->SetLetterSpacing(AFont->InterCharSize());
  f->SetQuality(AFont->Quality());
  if (AFont->HasDrawingExtras()) {
    if (!fontExtras_) fontExtras_ = std::make_unique<TLumFont>();
    fontExtras_->Assign(AFont);
  } else {
    fontExtras_.reset();
  }
}

void TLumCanvas::ResetState() {
  TPen* p = Pen();
  p->SetColor(clBlack);
  p->SetWidth(1);
  p->SetStyle(psSolid);
  p->SetMode(pmCopy);
  p->SetEndCap(pecRound);
  p->SetDashPattern({});
  TBrush* b = Brush();
  b->SetBitmap(nullptr);
  b->SetColor(clWhite);
  b->SetStyle(bsSolid);
  TFont defaults;
  Font()->Assign(&defaults);
  Font()->SetColor(clBlack);
  if (gradient_) {
    TLumGradient plain;
    gradient_->Assign(&plain);
  }
  SetTextAlign(TA_LEFT | TA_TOP);
  fontExtras_.reset();
  for (TLumBlend* blend : blends_) blend->Forget();  // blending off
}

void TLumCanvas::ApplyPen(TChartPen* APen) {
  if (APen) ApplyPenColor(APen, APen->Color());
}

void TLumCanvas::ApplyPenColor(TChartPen* APen, TColor AColor) {
  if (!APen) return;
  TPen* p = Pen();
  if (!APen->Visible()) return p->SetStyle(psClear);
  if (APen->SmallDots() && SmallDotsSupported) {
    p->Assign(CreateSmallDotsPen(AColor, APen).get());
  } else {
    p->SetColor(AColor);
    p->SetWidth(APen->Width());
    p->SetStyle(APen->SmallDots() ? psDot : APen->Style());
    p->SetMode(APen->Mode());
    p->SetEndCap(TPenEndCap(APen->EndStyle()));
    p->SetDashPattern({});
  }
  // A chart pen's gaps are see-through: the device would fill them with the colour of
  // the last solid brush, and a dotted line after a filled marker would draw solid.
  if (p->Style() != psSolid && p->Style() != psClear && p->Style() != psInsideFrame)
    Current()->SetBkMode(TRANSPARENT);
}

void TLumCanvas::ApplyBrushWithBack(TChartBrush* ABrush, TColor AColor) {
  if (ABrush) ApplyBrushColors(ABrush, AColor, ABrush->Color());
}

void TLumCanvas::ApplyBrushColors(TChartBrush* ABrush, TColor AFill, TColor ABack) {
  if (!ABrush) return;
  TCanvas* c = Current();
  TBrush* b = c->Brush();
  if (ABrush->HasImage()) {
    TGraphic* g = ABrush->Image()->Graphic();
    if (auto* bmp = dynamic_cast<TBitmap*>(g)) {
      b->SetBitmap(bmp);
    } else {
      TBitmap pattern;  // the brush copies its pixels, so a temporary will do
      pattern.SetPixelFormat(pf32bit);
      pattern.SetSize(g->Width(), g->Height());
      pattern.Canvas()->StretchDraw({0, 0, g->Width(), g->Height()}, g);
      b->SetBitmap(&pattern);
    }
  } else if (ABrush->Bitmap()) {
    b->SetBitmap(ABrush->Bitmap());
  } else {
    b->SetBitmap(nullptr);
    b->SetColor(AFill);
    // No fill colour means no fill.
    b->SetStyle(AFill == clNone ? bsClear : ABrush->Style());
  }
  const bool gaps = b->Bitmap() || (b->Style() != bsSolid && b->Style() != bsClear);
  if (gaps) {
    // A sentinel cannot be painted: the gaps stay transparent.
    if (ABack == clNone || ABack == clLumColor) {
      c->SetBkMode(TRANSPARENT);
    } else {
      c->SetBkColor(ABack);
      c->SetBkMode(OPAQUE);
    }
  }
  if (ABrush->HasGradient() && ABrush->Gradient()->Visible()) GetGradient()->Assign(ABrush->Gradient());
  else if (gradient_) gradient_->SetVisible(false);
}

TLumGradient* TLumCanvas::GetGradient() {
  if (!gradient_) gradient_ = std::make_unique<TLumGradient>();
  return gradient_.get();
}

// ---------------------------------------------------------------------------
TRect TCanvas3D::ProjectRect(const TRect& R, int Z) const {
  const TPoint a = ProjectPoint(R.Left, R.Top, Z), b = ProjectPoint(R.Right, R.Bottom, Z);
  return {a.X, a.Y, b.X, b.Y};
}

void TCanvas3D::CubesFromRects(const TRect* Rects, const TColor* Colors, int Count, int Z0, int Z1, bool DarkSides) {
  TBrush* brush = Brush();
  const TColor colour = brush->Color();
  const TBrushStyle style = brush->Style();
  for (int i = 0; i < Count; ++i) {
    if (Colors) {
      brush->SetColor(Colors[i]);
      brush->SetStyle(style);
    }
    CubeFromRect(Rects[i], Z0, Z1, DarkSides);
  }
  brush->SetColor(colour);
  brush->SetStyle(style);
}

std::array<TPoint, 4> TCanvas3D::ProjectRectCorners(const TRect& R, int Z) const {
  return {ProjectPoint(R.Left, R.Top, Z), ProjectPoint(R.Right, R.Top, Z), ProjectPoint(R.Right, R.Bottom, Z),
          ProjectPoint(R.Left, R.Bottom, Z)};
}

TRect TCanvas3D::ProjectedRectBounds(const TRect& R, int Z) const {
  const auto c = ProjectRectCorners(R, Z);
  return canvas_internal::PointsBounds(c.data(), int(c.size()));
}

void TCanvas3D::ProjectPoints(const TPoint* Points, int Count, int Z, TPoint* Out) const {
  for (int i = 0; i < Count; ++i) Out[i] = ProjectPoint(Points[i].X, Points[i].Y, Z);
}

// ---------------------------------------------------------------------------
TLumCanvas3D::TLumCanvas3D() = default;
TLumCanvas3D::~TLumCanvas3D() = default;

void TLumCanvas3D::SetBufferedDisplay(bool Value) {
  if (buffered_ == Value) return;
  buffered_ = Value;
  if (!buffered_) {
    if (buffer_ && ReferenceCanvas() == buffer_->Canvas()) AttachCanvas(nullptr);
    buffer_.reset();
  }
  dirty_ = true;
}

TCanvas* TLumCanvas3D::InitWindow(TCanvas* DestCanvas, TView3DOptions* A3DOptions, TColor ABackColor, bool AIs3D,
                                  const TRect& UserRect) {
  SetView3DOptions(A3DOptions);
  SetIs3D(AIs3D);
  int zoom = 100;
  if (A3DOptions && A3DOptions->ZoomText() != ztNo) zoom = A3DOptions->FontZoom();
  if (AIs3D && A3DOptions && A3DOptions->ZoomText() == ztAuto) zoom = MulDiv(zoom, A3DOptions->Zoom(), 100);
  SetFontZoom(zoom);
  CalcPerspective(UserRect);
  CalcTrigValues();

  if (!buffered_) {
    AttachCanvas(DestCanvas);
    return DestCanvas;
  }
  // At least one pixel, so the buffer always has an image to draw on.
  const int w = std::max(1, UserRect.Right), h = std::max(1, UserRect.Bottom);
  if (!buffer_) {
    buffer_ = std::make_unique<TBitmap>();
    buffer_->SetPixelFormat(pf32bit);
  }
  if (buffer_->Width() != w || buffer_->Height() != h) buffer_->SetSize(w, h);
  TCanvas* c = buffer_->Canvas();
  while (c->ClipDepth() > 0) c->PopClip();  // a frame ended by an exception may have left some
  if (ABackColor != clNone) {
    BrushSaver keep(c);
    c->Brush()->SetBitmap(nullptr);
    c->Brush()->SetColor(ABackColor);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect({0, 0, w, h});
  }
  if (DestCanvas) {
    c->SetPen(DestCanvas->Pen());
    c->SetBrush(DestCanvas->Brush());
    c->SetFont(DestCanvas->Font());
  }
  AttachCanvas(c);
  return c;
}

void TLumCanvas3D::ShowImage(TCanvas* DestCanvas, const TRect& UserRect) {
  if (buffered_ && buffer_ && DestCanvas) {
    const TRect r{std::max(0, UserRect.Left), std::max(0, UserRect.Top), std::min(buffer_->Width(), UserRect.Right),
                  std::min(buffer_->Height(), UserRect.Bottom)};
    if (r.Right > r.Left && r.Bottom > r.Top) {
      const TCopyMode mode = DestCanvas->CopyMode();
      DestCanvas->SetCopyMode(cmSrcCopy);
      DestCanvas->CopyRect(r, buffer_->Canvas(), r);
      DestCanvas->SetCopyMode(mode);
    }
  }
  dirty_ = false;
}

namespace {
constexpr double kDegree = std::numbers::pi / 180;
// Nearest point at which a point counts as in front of the eye (see the header).
constexpr double kMinW = 0.1;
int ToInt(double V) { return TCanvas3D::RoundPixel(V); }  // half to even, without a library call
double Finite(double V) { return std::isfinite(V) ? V : 0; }
}  // namespace

void TLumCanvas3D::CalcTrigValues() {
  const TView3DOptions* v = View3DOptions();
  if (!v) return;
  zoom_ = std::max(v->Zoom(), 1) / 100.0;
  hOffset_ = v->HorizOffset();
  vOffset_ = v->VertOffset();
  orthoCos_ = std::cos(v->OrthoAngle() * kDegree);
  orthoSin_ = std::sin(v->OrthoAngle() * kDegree);
  // Angles that are not numbers count as 0 rather than spoil every point.
  cosR_ = std::cos(Finite(v->RotationFloat()) * kDegree);
  sinR_ = std::sin(Finite(v->RotationFloat()) * kDegree);
  cosE_ = std::cos(Finite(v->ElevationFloat()) * kDegree);
  sinE_ = std::sin(Finite(v->ElevationFloat()) * kDegree);
  const double size = std::max({rect_.Width(), rect_.Height(), 1});
  invEye_ = v->Perspective() > 0 ? v->Perspective() / (100.0 * size) : 0;
  zCenter_ = depth_ / 2.0;
}

void TLumCanvas3D::CalcPerspective(const TRect& Rect, int Depth) {
  rect_ = Normalized(Rect);
  depth_ = Depth;
  xCenter_ = (Rect.Left + Rect.Right) / 2;
  yCenter_ = (Rect.Top + Rect.Bottom) / 2;
  CalcTrigValues();
}

TLumCanvas3D::TViewKind TLumCanvas3D::Kind() const {
  if (FlatProjection()) return TViewKind::Flat;
  return View3DOptions()->Orthogonal() ? TViewKind::Orthogonal : TViewKind::Free;
}

void TLumCanvas3D::Project(double X, double Y, double Z, double& SX, double& SY, double& Depth) const {
  switch (Kind()) {
    case TViewKind::Flat:
      SX = X;
      SY = Y;
      Depth = Z;
      return;
    case TViewKind::Orthogonal:
      ProjectOrthogonal(X, Y, Z, SX, SY);
      Depth = Z;
      return;
    case TViewKind::Free: return ProjectFree(X, Y, Z, SX, SY, Depth);
  }
}

void TLumCanvas3D::ProjectFree(double X, double Y, double Z, double& SX, double& SY, double& Depth) const {
  const double dx = X - xCenter_, dy = Y - yCenter_, dz = Z - zCenter_;
  const double x1 = dx * cosR_ - dz * sinR_, z1 = dx * sinR_ + dz * cosR_;
  const double y2 = dy * cosE_ + z1 * sinE_, z2 = z1 * cosE_ - dy * sinE_;
  const double k = zoom_ / std::max(1 + z2 * invEye_, kMinW);
  SX = xCenter_ + k * x1 + hOffset_;
  SY = yCenter_ + k * y2 + vOffset_;
  Depth = z2;
}

TCanvas3D::TAxisProjection TLumCanvas3D::ProjectionX(int Z) const {
  if (Kind() == TViewKind::Flat) return {};
  return TAxisProjection::Of(xCenter_, zoom_, Z * orthoCos_, hOffset_);
}

TCanvas3D::TAxisProjection TLumCanvas3D::ProjectionY(int Z) const {
  if (Kind() == TViewKind::Flat) return {};
  return TAxisProjection::Of(yCenter_, zoom_, -(Z * orthoSin_), vOffset_);
}

void TLumCanvas3D::ProjectPoints(const TPoint* Points, int Count, int Z, TPoint* Out) const {
  // The view is looked up once for the whole run.
  double sx, sy, depth;
  switch (Kind()) {
    case TViewKind::Flat: std::copy(Points, Points + Count, Out); return;
    case TViewKind::Orthogonal:
      for (int i = 0; i < Count; ++i) {
        ProjectOrthogonal(Points[i].X, Points[i].Y, Z, sx, sy);
        Out[i] = {ToInt(sx), ToInt(sy)};
      }
      return;
    case TViewKind::Free:
      for (int i = 0; i < Count; ++i) {
        ProjectFree(Points[i].X, Points[i].Y, Z, sx, sy, depth);
        Out[i] = {ToInt(sx), ToInt(sy)};
      }
      return;
  }
}

TPoint TLumCanvas3D::ToScreen(double X, double Y, double Z) const {
  double sx, sy, d;
  Project(X, Y, Z, sx, sy, d);
  return {ToInt(sx), ToInt(sy)};
}

TPoint TLumCanvas3D::ProjectPoint(int X, int Y, int Z) const {
  if (Kind() == TViewKind::Flat) return {X, Y};
  return ToScreen(X, Y, Z);
}

TPoint TLumCanvas3D::InverseProject(int X, int Y, int Z) const {
  const TViewKind kind = Kind();
  if (kind == TViewKind::Flat) return {X, Y};
  // Offsets from the centre with offset and zoom taken off.
  const double u = (X - hOffset_ - xCenter_) / zoom_, v = (Y - vOffset_ - yCenter_) / zoom_;
  if (kind == TViewKind::Orthogonal)
    return {ToInt(xCenter_ + u - Z * orthoCos_), ToInt(yCenter_ + v + Z * orthoSin_)};
  // Free view: u w = x1 and v w = y2, linear in dx and dy for the known dz; solved by
  // Cramer's rule. A plane seen edge-on (or through the eye) has no single answer: the
  // point with the same offsets from the centre stands for it.
  const double dz = Z - zCenter_, p = invEye_;
  const double a11 = cosR_ - u * p * cosE_ * sinR_, a12 = u * p * sinE_;
  const double b1 = u + u * p * cosE_ * cosR_ * dz + sinR_ * dz;
  const double a21 = sinE_ * sinR_ - v * p * cosE_ * sinR_, a22 = cosE_ + v * p * sinE_;
  const double b2 = v + v * p * cosE_ * cosR_ * dz - sinE_ * cosR_ * dz;
  const double det = a11 * a22 - a12 * a21;
  if (std::abs(det) < 1e-9) return {ToInt(xCenter_ + u), ToInt(yCenter_ + v)};
  const double dx = (b1 * a22 - a12 * b2) / det, dy = (a11 * b2 - b1 * a21) / det;
  return {ToInt(xCenter_ + dx), ToInt(yCenter_ + dy)};
}

void TLumCanvas3D::HorizLine3D(int X0, int X1, int Y, int Z) { LineWithZ(X0, Y, X1, Y, Z); }
void TLumCanvas3D::VertLine3D(int X, int Y0, int Y1, int Z) { LineWithZ(X, Y0, X, Y1, Z); }

void TLumCanvas3D::ZLine3D(int X, int Y, int Z0, int Z1) {
  MoveTo3D(X, Y, Z0);
  LineTo3D(X, Y, Z1);
}

void TLumCanvas3D::MoveTo3D(int X, int Y, int Z) {
  const TPoint p = ProjectPoint(X, Y, Z);
  MoveTo(p.X, p.Y);
}

void TLumCanvas3D::LineTo3D(int X, int Y, int Z) {
  const TPoint p = ProjectPoint(X, Y, Z);
  LineTo(p.X, p.Y);
}

void TLumCanvas3D::PolylineTo3D(const TPoint* Points, int Count, int Z) {
  constexpr int Chunk = 512;
  TPoint projected[Chunk];
  for (int i = 0; i < Count; i += Chunk) {
    const int n = std::min(Chunk, Count - i);
    ProjectPoints(Points + i, n, Z, projected);
    PolylineTo(projected, n);
  }
}

void TLumCanvas3D::LineWithZ(int X0, int Y0, int X1, int Y1, int Z) {
  MoveTo3D(X0, Y0, Z);
  LineTo3D(X1, Y1, Z);
}

void TLumCanvas3D::RectangleWithZ(const TRect& R, int Z) {
  if (KeepsRectangles()) return Rectangle(ProjectRect(R, Z));
  const auto c = ProjectRectCorners(R, Z);
  Polygon(c.data(), 4);
}

void TLumCanvas3D::EllipseWithZ(const TRect& R, int Z) {
  if (KeepsRectangles()) return Ellipse(ProjectRect(R, Z));
  Polygon(EllipseOutline(R, [&](double x, double y) { return ToScreen(x, y, Z); }));
}

void TLumCanvas3D::Diamond(const TRect& R, int Z) {
  const int mx = (R.Left + R.Right) / 2, my = (R.Top + R.Bottom) / 2;
  PolygonWithZ({{mx, R.Top}, {R.Right, my}, {mx, R.Bottom}, {R.Left, my}}, Z);
}

void TLumCanvas3D::Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth,
                         int ArrowHeight, int Z, double BodyPercent) {
  const double dx = ToPoint.X - FromPoint.X, dy = ToPoint.Y - FromPoint.Y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return;
  const double nx = -dy / len, ny = dx / len;  // unit normal
  const TPoint base = PointAlongLine(FromPoint, ToPoint, ArrowHeight);
  const double head = ArrowWidth / 2.0, body = head * BodyPercent / 100;
  auto side = [&](const TPoint& p, double d) { return TPoint{int(Round(p.X + nx * d)), int(Round(p.Y + ny * d))}; };
  const std::vector<TPoint> outline = {side(FromPoint, body), side(base, body),  side(base, head), ToPoint,
                                       side(base, -head),     side(base, -body), side(FromPoint, -body)};
  if (Filled || !ReferenceCanvas()) return PolygonWithZ(outline, Z);
  std::vector<TPoint> p;
  for (const TPoint& q : outline) p.push_back(ProjectPoint(q.X, q.Y, Z));
  OutlineOnly(ReferenceCanvas(), [&] { ReferenceCanvas()->Polygon(p); });
}

void TLumCanvas3D::TextOut3D(int X, int Y, int Z, const std::string& Text) {
  const TPoint p = ProjectPoint(X, Y, Z);
  TextOut(p.X, p.Y, Text);
}

void TLumCanvas3D::RotateLabel3D(int X, int Y, int Z, const std::string& Text, double Angle) {
  const TPoint p = ProjectPoint(X, Y, Z);
  RotateLabel(p.X, p.Y, Text, Angle);
}

void TLumCanvas3D::DrawPicture(TCanvas3DPlane Plane, TGraphic* Graphic, const TRect& R, int Z) {
  if (!Graphic || Graphic->Empty() || !ReferenceCanvas()) return;
  if (Plane == cpFront && KeepsRectangles()) return StretchDraw(ProjectRect(R, Z), Graphic);
  std::array<TPoint, 4> q;  // where the picture's top-left, top-right, bottom-right, bottom-left go
  switch (Plane) {
    case cpFront: q = ProjectRectCorners(R, Z); break;
    case cpSide:
      q = {ProjectPoint(Z, R.Top, R.Left), ProjectPoint(Z, R.Top, R.Right), ProjectPoint(Z, R.Bottom, R.Right),
           ProjectPoint(Z, R.Bottom, R.Left)};
      break;
    case cpFloor:
      q = {ProjectPoint(R.Left, Z, R.Bottom), ProjectPoint(R.Right, Z, R.Bottom), ProjectPoint(R.Right, Z, R.Top),
           ProjectPoint(R.Left, Z, R.Top)};
      break;
  }
  DrawOnQuad(Graphic, q);
}

void TLumCanvas3D::DrawOnQuad(TGraphic* Graphic, const std::array<TPoint, 4>& Quad) {
  // Twice the signed area: a plane seen edge-on has none.
  long long area = 0;
  for (int i = 0; i < 4; ++i) {
    const TPoint &a = Quad[i], &b = Quad[(i + 1) % 4];
    area += (long long)a.X * b.Y - (long long)b.X * a.Y;
  }
  if (std::llabs(area) < 2) return;
  if (auto* bmp = dynamic_cast<TBitmap*>(Graphic)) return ReferenceCanvas()->DrawOnQuad(Quad, bmp);
  TBitmap flat;
  flat.SetPixelFormat(pf32bit);
  flat.SetSize(Graphic->Width(), Graphic->Height());
  flat.Canvas()->StretchDraw({0, 0, Graphic->Width(), Graphic->Height()}, Graphic);
  ReferenceCanvas()->DrawOnQuad(Quad, &flat);
}

namespace {
// Each channel of C scaled by Keep / 256.
TColor Darker(TColor C, int Keep) {
  const TColor v = ColorToRGB(C);
  return RGB(GetRValue(v) * Keep / 256, GetGValue(v) * Keep / 256, GetBValue(v) * Keep / 256);
}
}  // namespace

int TLumCanvas3D::CubeFaces(const TRect& R, int Z0, int Z1, TCubeFace* Out) const {
  const double l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
  const double zf = std::min(Z0, Z1), zb = std::max(Z0, Z1);
  struct Face {
    double x[4], y[4], z[4];
    int keep;  // brightness of a dark side, of 256
  };
  // Corners go round each face; the order is turned outward below.
  const Face faces[6] = {
      {{l, r, r, l}, {t, t, b, b}, {zf, zf, zf, zf}, 256},  // front
      {{l, r, r, l}, {t, t, b, b}, {zb, zb, zb, zb}, 256},  // back
      {{l, r, r, l}, {t, t, t, t}, {zf, zf, zb, zb}, 224},  // top
      {{l, r, r, l}, {b, b, b, b}, {zf, zf, zb, zb}, 224},  // bottom
      {{l, l, l, l}, {t, b, b, t}, {zf, zf, zb, zb}, 192},  // left
      {{r, r, r, r}, {t, b, b, t}, {zf, zf, zb, zb}, 192},  // right
  };
  const double cx = (l + r) / 2, cy = (t + b) / 2, cz = (zf + zb) / 2;
  double depth[6];
  int shown = 0;
  for (const Face& f : faces) {
    // Outward normal from the corner order, against the way out of the box's centre.
    const double ux = f.x[1] - f.x[0], uy = f.y[1] - f.y[0], uz = f.z[1] - f.z[0];
    const double vx = f.x[2] - f.x[1], vy = f.y[2] - f.y[1], vz = f.z[2] - f.z[1];
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double ox = (f.x[0] + f.x[2]) / 2 - cx, oy = (f.y[0] + f.y[2]) / 2 - cy, oz = (f.z[0] + f.z[2]) / 2 - cz;
    const bool inward = nx * ox + ny * oy + nz * oz < 0;
    TCubeFace s{{}, f.keep};
    double d = 0, sx[4], sy[4];
    for (int i = 0; i < 4; ++i) {
      const int k = inward ? 3 - i : i;
      double di;
      Project(f.x[k], f.y[k], f.z[k], sx[i], sy[i], di);
      s.Points[size_t(i)] = {ToInt(sx[i]), ToInt(sy[i])};
      d += di / 4;
    }
    // Corners turning anticlockwise about the outward normal turn anticlockwise on
    // the screen (y down: negative area) when the face looks at the viewer.
    double area = 0;
    for (int i = 0; i < 4; ++i) area += sx[i] * sy[(i + 1) % 4] - sx[(i + 1) % 4] * sy[i];
    if (!(area < -1e-6)) continue;
    // Farthest first, faces at one depth in their order.
    int j = shown++;
    for (; j > 0 && depth[j - 1] < d; --j) {
      Out[j] = Out[j - 1];
      depth[j] = depth[j - 1];
    }
    Out[j] = s;
    depth[j] = d;
  }
  return shown;
}

void TLumCanvas3D::CubeFromRect(const TRect& R, int Z0, int Z1, bool DarkSides) {
  if (Kind() == TViewKind::Flat) return RectangleWithZ(R, Z0);  // the sides are edge-on
  TCubeFace faces[6];
  const int shown = CubeFaces(R, Z0, Z1, faces);
  TBrush* brush = Brush();
  const TColor colour = brush->Color();
  const TBrushStyle style = brush->Style();
  for (int i = 0; i < shown; ++i) {
    const TCubeFace& s = faces[i];
    if (DarkSides && s.Keep < 256 && !brush->Bitmap()) {
      brush->SetColor(Darker(colour, s.Keep));
      brush->SetStyle(style);  // a colour change would make a clear brush solid
    }
    Polygon(s.Points.data(), 4);
    if (brush->Color() != colour) {
      brush->SetColor(colour);
      brush->SetStyle(style);
    }
  }
}

void TLumCanvas3D::CubesFromRects(const TRect* Rects, const TColor* Colors, int Count, int Z0, int Z1,
                                  bool DarkSides) {
  TCanvas* target = ReferenceCanvas();
  if (Kind() != TViewKind::Orthogonal || !target || GradientFills() || Count <= 0)
    return TCanvas3D::CubesFromRects(Rects, Colors, Count, Z0, Z1, DarkSides);
  // Each axis projects on its own and never backwards: every corner lies within the
  // corners of all the boxes' bounds, projected at both depths.
  int l = std::min(Rects[0].Left, Rects[0].Right), r = std::max(Rects[0].Left, Rects[0].Right);
  int t = std::min(Rects[0].Top, Rects[0].Bottom), b = std::max(Rects[0].Top, Rects[0].Bottom);
  for (int i = 1; i < Count; ++i) {
    l = std::min({l, Rects[i].Left, Rects[i].Right});
    r = std::max({r, Rects[i].Left, Rects[i].Right});
    t = std::min({t, Rects[i].Top, Rects[i].Bottom});
    b = std::max({b, Rects[i].Top, Rects[i].Bottom});
  }
  TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int z : {Z0, Z1})
    for (const TPoint& p : {ToScreen(l, t, z), ToScreen(r, b, z)}) {
      bounds.Left = std::min(bounds.Left, p.X - 1);
      bounds.Top = std::min(bounds.Top, p.Y - 1);
      bounds.Right = std::max(bounds.Right, p.X + 1);
      bounds.Bottom = std::max(bounds.Bottom, p.Y + 1);
    }
  const TColor base = Brush()->Color();
  const bool dark = DarkSides && !Brush()->Bitmap();
  target->PolygonFigures(Count, bounds, [&](int I, TCanvasFigure& Figure) {
    TCubeFace faces[6];
    const int shown = CubeFaces(Rects[I], Z0, Z1, faces);
    const TColor colour = Colors ? Colors[I] : base;
    for (int k = 0; k < shown; ++k)
      Figure.Add(faces[k].Points.data(), 4, dark && faces[k].Keep < 256 ? Darker(colour, faces[k].Keep) : colour);
  });
}

void TLumCanvas3D::PolygonWithZ(const std::vector<TPoint>& Points, int Z) {
  std::vector<TPoint> p;
  p.reserve(Points.size());
  for (const TPoint& q : Points) p.push_back(ProjectPoint(q.X, q.Y, Z));
  Polygon(p);
}

void TLumCanvas3D::ClipCube(const TRect& R, int Z0, int Z1) {
  if (!ReferenceCanvas()) return;
  const TRect n = Normalized(R);
  if (Kind() == TViewKind::Flat) return ClipRectangle(n);
  std::vector<TPoint> pts;
  for (int z : {Z0, Z1})
    for (const TPoint& p : ProjectRectCorners(n, z)) pts.push_back(p);
  ConvexOutline(pts);
  ReferenceCanvas()->PushClipPolygon(pts);
}
