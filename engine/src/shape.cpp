#include "engine/shape.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas/lumcanvas.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TLumCustomShapeBrushPen, TPersistent)
IMPLEMENT_CLASS_PROPS(TLumCustomShape, TLumCustomShapeBrushPen)
IMPLEMENT_CLASS_PROPS(TLumCustomShapePosition, TLumCustomShape)

void DrawBevel(TCanvas3D* C, TRect& R, TPanelBevel Kind, int Width) {
  if (Kind == bvNone) return;
  if (Kind == bvSpace) {
    R = {R.Left + Width, R.Top + Width, R.Right - Width, R.Bottom - Width};
    return;
  }
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  const TColor topLeft = Kind == bvRaised ? light : dark, bottomRight = Kind == bvRaised ? dark : light;
  TPen* pen = C->Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetMode(pmCopy);
  for (int i = 0; i < Width; ++i) {
    pen->SetColor(topLeft);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    pen->SetColor(bottomRight);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left - 1, R.Bottom - 1);
    R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  }
}

void DrawEmbossRim(const TLumEmboss* Emboss, TCanvas3D* Canvas, const TRect& R) {
  TLumEmboss rim;
  rim.Assign(const_cast<TLumEmboss*>(Emboss));
  rim.SetClip(true);
  rim.Draw(Canvas, R);
}

int EffectReach(const TLumShadow* Effect) {
  if (!Effect || !Effect->Visible()) return 0;
  return std::max(std::abs(Effect->HorizSize()), std::abs(Effect->VertSize())) + std::abs(Effect->SmoothBlur());
}

// ---------------------------------------------------------------------------
TLumCustomShapeBrushPen::TLumCustomShapeBrushPen(TCustomAxisPanel* AOwner)
    : parentChart_(AOwner),
      brush_(std::make_unique<TChartBrush>(ChangeHandler())),
      pen_(std::make_unique<TChartPen>(ChangeHandler())) {}

TLumCustomShapeBrushPen::~TLumCustomShapeBrushPen() = default;

void TLumCustomShapeBrushPen::Changed(TObject*) { Repaint(); }

void TLumCustomShapeBrushPen::Repaint() {
  if (parentChart_) parentChart_->Invalidate();
}

void TLumCustomShapeBrushPen::SetVisible(bool Value) { Store(visible_, Value); }

void TLumCustomShapeBrushPen::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLumCustomShapeBrushPen*>(Source)) {
    visible_ = src->visible_;
    brush_->Assign(src->brush_.get());
    pen_->Assign(src->pen_.get());
    Repaint();
    return;
  }
  TPersistent::Assign(Source);
}

void TLumCustomShapeBrushPen::DefineProperties(TPropertyTable& t) {
  t.Object("Brush", &TLumCustomShapeBrushPen::Brush);
  t.Bool("Visible", &TLumCustomShapeBrushPen::Visible, &TLumCustomShapeBrushPen::SetVisible).Default(true);
}

// ---------------------------------------------------------------------------
TLumCustomShape::TLumCustomShape(TCustomAxisPanel* AOwner)
    : TLumCustomShapeBrushPen(AOwner), font_(std::make_unique<TLumFont>(ChangeHandler())) {
  Brush()->SetColor(clWhite);
  Brush()->SetOwnerStoresGradient(true);
  RecordDefaults(Brush());
}

TLumCustomShape::~TLumCustomShape() = default;

void TLumCustomShape::SetTransparent(bool Value) { Store(transparent_, Value); }

void TLumCustomShape::SetTransparency(int Value) { Store(transparency_, std::clamp(Value, 0, 100)); }

TColor TLumCustomShape::Color() const { return Brush()->Color(); }
void TLumCustomShape::SetColor(TColor Value) { Brush()->SetColor(Value); }

TLumGradient* TLumCustomShape::Gradient() const { return Brush()->Gradient(); }

TLumShadow* TLumCustomShape::Shadow() const {
  return CreateOnFirstRead(shadow_, const_cast<TLumCustomShape*>(this)->ChangeHandler());
}

TLumEmboss* TLumCustomShape::Emboss() const {
  return CreateOnFirstRead(emboss_, const_cast<TLumCustomShape*>(this)->ChangeHandler());
}

TLumPicture* TLumCustomShape::Picture() const {
  return CreateOnFirstRead(picture_, const_cast<TLumCustomShape*>(this)->ChangeHandler());
}

void TLumCustomShape::SetBevel(TPanelBevel Value) { Store(bevel_, Value); }
void TLumCustomShape::SetBevelWidth(int Value) { Store(bevelWidth_, std::max(1, Value)); }
void TLumCustomShape::SetShapeStyle(TLumShapeStyle Value) { Store(shapeStyle_, Value); }
void TLumCustomShape::SetRoundSize(int Value) { Store(roundSize_, std::max(0, Value)); }
void TLumCustomShape::SetTextFormat(TLumTextFormat Value) { Store(textFormat_, Value); }

void TLumCustomShape::SetShapeBounds(const TRect& Value) { bounds_ = Value; }

void TLumCustomShape::SetShapeWidth(int Value) {
  TRect r = bounds_;
  r.Right = r.Left + Value;
  Store(bounds_, r);
}

void TLumCustomShape::SetShapeHeight(int Value) {
  TRect r = bounds_;
  r.Bottom = r.Top + Value;
  Store(bounds_, r);
}

namespace {
// The outline of R with its corners rounded by an ellipse Size pixels across, for a
// polygon (which the canvas fills with the brush or its gradient).
std::vector<TPoint> RoundOutline(const TRect& R, int Size) {
  const double rx = std::min(Size, R.Width()) / 2.0, ry = std::min(Size, R.Height()) / 2.0;
  // Corner centres and the angle each quarter starts at (y down, so 180..270 is the
  // top-left quarter).
  const double cx[4] = {R.Left + rx, R.Right - 1 - rx, R.Right - 1 - rx, R.Left + rx};
  const double cy[4] = {R.Top + ry, R.Top + ry, R.Bottom - 1 - ry, R.Bottom - 1 - ry};
  const double start[4] = {180, 270, 0, 90};
  constexpr int Steps = 8;
  std::vector<TPoint> pts;
  pts.reserve(4 * (Steps + 1));
  for (int c = 0; c < 4; ++c)
    for (int i = 0; i <= Steps; ++i) {
      const double a = (start[c] + 90.0 * i / Steps) * M_PI / 180;
      pts.push_back({int(std::lround(cx[c] + rx * std::cos(a))), int(std::lround(cy[c] + ry * std::sin(a)))});
    }
  return pts;
}

// The round-cornered counterpart of DrawBevel: each one-pixel ring follows the corners
// (their ellipse shrinking with the ring), light from the middle of the bottom-left
// corner round to the middle of the top-right one, dark the other way.
void DrawRoundBevel(TCanvas3D* C, TRect& R, TPanelBevel Kind, int Width, int Size) {
  if (Kind == bvNone) return;
  if (Kind == bvSpace) {
    R = {R.Left + Width, R.Top + Width, R.Right - Width, R.Bottom - Width};
    return;
  }
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  TPen* pen = C->Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetMode(pmCopy);
  constexpr int Quarter = 9, HalfQuarter = 4;  // points per corner of RoundOutline, its middle
  for (int i = 0; i < Width && R.Width() > 1 && R.Height() > 1; ++i) {
    const std::vector<TPoint> ring = RoundOutline(R, std::max(0, Size - 2 * i));
    std::vector<TPoint> topLeft(ring.begin() + 3 * Quarter + HalfQuarter, ring.end()), bottomRight;
    topLeft.insert(topLeft.end(), ring.begin(), ring.begin() + Quarter + HalfQuarter + 1);
    bottomRight.assign(ring.begin() + Quarter + HalfQuarter, ring.begin() + 3 * Quarter + HalfQuarter + 1);
    for (const auto& [points, colour] : {std::pair{&topLeft, Kind == bvRaised ? light : dark},
                                         std::pair{&bottomRight, Kind == bvRaised ? dark : light}}) {
      pen->SetColor(colour);
      C->MoveTo(points->front().X, points->front().Y);
      for (const TPoint& p : *points) C->LineTo(p.X, p.Y);
    }
    R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  }
}

// A sharp shadow of a round-cornered box: the outline moved by the shadow's sizes,
// filled in its colour and blended by its transparency.
void DrawRoundShadow(TCanvas3D* C, const TLumShadow* Shadow, const TRect& R, int Size) {
  if (Shadow->Transparency() >= 100) return;
  const TRect moved{R.Left + Shadow->HorizSize(), R.Top + Shadow->VertSize(), R.Right + Shadow->HorizSize(),
                    R.Bottom + Shadow->VertSize()};
  TLumBlend* blend = Shadow->Transparency() > 0 ? C->BeginBlending(moved, Shadow->Transparency()) : nullptr;
  C->Pen()->SetStyle(psClear);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(ColorToRGB(Shadow->Color()));
  C->Polygon(RoundOutline(moved, Size));
  if (blend) C->EndBlending(blend);
}
}  // namespace

void TLumCustomShape::DrawShapeOnCanvas(TCustomAxisPanel* Chart, const TRect& Rect, int Z) {
  DrawShapeOnCanvas(Chart ? Chart->Canvas() : nullptr, Rect, Z);
}

void TLumCustomShape::DrawShapeOnCanvas(TCanvas3D* Canvas, const TRect& Rect, int Z) {
  bounds_ = Rect;
  if (transparent_ || !Canvas) return;
  const TRect screen = Canvas->ProjectRect(Rect, Z);
  TLumBlend* blend = nullptr;
  if (transparency_ > 0) {
    // Everything the box may touch: shadow and emboss reach beyond it.
    const int reach = std::max(EffectReach(shadow_.get()), EffectReach(emboss_.get()));
    blend = Canvas->BeginBlending(
        {screen.Left - reach, screen.Top - reach, screen.Right + reach, screen.Bottom + reach}, transparency_);
  }
  const bool round = shapeStyle_ == fosRoundRectangle && roundSize_ > 0;
  if (shadow_ && shadow_->Visible()) {
    if (round)
      DrawRoundShadow(Canvas, shadow_.get(), screen, roundSize_);
    else
      shadow_->Draw(Canvas, screen);
  }
  // Frame and fill.
  Canvas->ApplyBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
  Canvas->ApplyPen(Frame());
  if (round)
    Canvas->PolygonWithZ(RoundOutline(Rect, roundSize_), Z);
  else
    Canvas->RectangleWithZ(Rect, Z);
  // Bevel and picture lie inside the frame.
  const int frame = Frame()->Visible() ? Frame()->Width() : 0;
  TRect inner{screen.Left + frame, screen.Top + frame, screen.Right - frame, screen.Bottom - frame};
  if (round)
    DrawRoundBevel(Canvas, inner, bevel_, bevelWidth_, std::max(0, roundSize_ - 2 * frame));
  else
    DrawBevel(Canvas, inner, bevel_, bevelWidth_);
  if (picture_ && !picture_->Empty() && inner.Width() > 0 && inner.Height() > 0)
    if (TGraphic* g = picture_->FilteredGraphic()) Canvas->StretchDraw(inner, g);
  if (emboss_ && emboss_->Visible()) DrawEmbossRim(emboss_.get(), Canvas, screen);
  if (blend) Canvas->EndBlending(blend);
}

void TLumCustomShape::DrawText(TCanvas3D* Canvas, int X, int Y, int Z, const std::string& Text) const {
  if (textFormat_ == ttfHtml) {
    const TPoint p = Canvas->ProjectPoint(X, Y, Z);
    Canvas->TextOutRich(p.X, p.Y, Text, true);
  } else {
    Canvas->TextOut3D(X, Y, Z, Text);
  }
}

TSize TLumCustomShape::TextExtent(TCanvas3D* Canvas, const std::string& Text) const {
  Canvas->AssignFont(font_.get());
  return Canvas->RichTextExtent(Text, textFormat_ == ttfHtml);
}

void TLumCustomShape::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLumCustomShape*>(Source)) {
    transparent_ = src->transparent_;
    transparency_ = src->transparency_;
    bevel_ = src->bevel_;
    bevelWidth_ = src->bevelWidth_;
    shapeStyle_ = src->shapeStyle_;
    roundSize_ = src->roundSize_;
    textFormat_ = src->textFormat_;
    font_->Assign(src->font_.get());
    // A sub-object not created yet reads as a new one.
    if (src->shadow_ || shadow_) Shadow()->Assign(src->Shadow());
    if (src->emboss_ || emboss_) Emboss()->Assign(src->Emboss());
    if (src->picture_ || picture_) Picture()->Assign(src->Picture());
  }
  TLumCustomShapeBrushPen::Assign(Source);
}

void TLumCustomShape::DefineProperties(TPropertyTable& t) {
  t.Enum("Bevel", &TLumCustomShape::Bevel, &TLumCustomShape::SetBevel, {"bvNone", "bvLowered", "bvRaised"})
      .Default(0LL);
  t.Int("BevelWidth", &TLumCustomShape::BevelWidth, &TLumCustomShape::SetBevelWidth).Default(2LL);
  t.Color("Color", &TLumCustomShape::Color, &TLumCustomShape::SetColor).Default((long long)clWhite);
  t.Object("Emboss", &TLumCustomShape::Emboss).Stored([](const TObject* o) {
    return static_cast<const TLumCustomShape*>(o)->HasEmboss();
  });
  t.Object("Font", &TLumCustomShape::Font);
  t.Object("Frame", &TLumCustomShape::Frame);
  t.Object("Gradient", &TLumCustomShape::Gradient).Stored([](const TObject* o) {
    return static_cast<const TLumCustomShape*>(o)->Brush()->HasGradient();
  });
  t.Object("Picture", &TLumCustomShape::Picture).Stored([](const TObject* o) {
    return static_cast<const TLumCustomShape*>(o)->HasPicture();
  });
  t.Object("Shadow", &TLumCustomShape::Shadow);
  t.Enum("ShapeStyle", &TLumCustomShape::ShapeStyle, &TLumCustomShape::SetShapeStyle,
         {"fosRectangle", "fosRoundRectangle"}).Default(0LL);
  t.Int("RoundSize", &TLumCustomShape::RoundSize, &TLumCustomShape::SetRoundSize).Default(16LL);
  t.Enum("TextFormat", &TLumCustomShape::TextFormat, &TLumCustomShape::SetTextFormat, {"ttfNormal", "ttfHtml"})
      .Default(0LL);
  t.Int("Transparency", &TLumCustomShape::Transparency, &TLumCustomShape::SetTransparency).Default(0LL);
  t.Bool("Transparent", &TLumCustomShape::Transparent, &TLumCustomShape::SetTransparent).Default(false);
}

// ---------------------------------------------------------------------------
void TLumCustomShapePosition::SetCustomPosition(bool Value) { Store(customPosition_, Value); }

void TLumCustomShapePosition::SetLeft(int Value) {
  TRect r = ShapeBounds();
  r = {Value, r.Top, Value + r.Width(), r.Bottom};
  customPosition_ = true;
  SetShapeBounds(r);
  Repaint();
}

void TLumCustomShapePosition::SetTop(int Value) {
  TRect r = ShapeBounds();
  r = {r.Left, Value, r.Right, Value + r.Height()};
  customPosition_ = true;
  SetShapeBounds(r);
  Repaint();
}

void TLumCustomShapePosition::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLumCustomShapePosition*>(Source)) {
    customPosition_ = src->customPosition_;
    SetShapeBounds(src->ShapeBounds());
  }
  TLumCustomShape::Assign(Source);
}

void TLumCustomShapePosition::DefineProperties(TPropertyTable& t) {
  t.Bool("CustomPosition", &TLumCustomShapePosition::CustomPosition, &TLumCustomShapePosition::SetCustomPosition)
      .Default(false);
  t.Int("Left", &TLumCustomShapePosition::Left, &TLumCustomShapePosition::SetLeft).Default(0LL);
  t.Int("Top", &TLumCustomShapePosition::Top, &TLumCustomShapePosition::SetTop).Default(0LL);
}
