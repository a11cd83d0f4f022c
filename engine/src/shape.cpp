#include "engine/shape.h"

#include "canvas/lumcanvas.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TLumCustomShape, TPersistent)

TLumCustomShape::TLumCustomShape(TCustomAxisPanel* AOwner)
    : parentChart_(AOwner),
      brush_(std::make_unique<TChartBrush>(ChangeHandler())),
      frame_(std::make_unique<TChartPen>(ChangeHandler())),
      font_(std::make_unique<TLumFont>(ChangeHandler())) {
  brush_->SetColor(clWhite);
  RecordDefaults(brush_.get());
}

TLumCustomShape::~TLumCustomShape() = default;

void TLumCustomShape::Changed(TObject*) { Repaint(); }

void TLumCustomShape::Repaint() {
  if (parentChart_) parentChart_->Invalidate();
}

void TLumCustomShape::SetVisible(bool Value) { Store(visible_, Value); }

void TLumCustomShape::SetTransparent(bool Value) { Store(transparent_, Value); }

TColor TLumCustomShape::Color() const { return brush_->Color(); }
void TLumCustomShape::SetColor(TColor Value) { brush_->SetColor(Value); }

TLumGradient* TLumCustomShape::Gradient() const { return brush_->Gradient(); }

TLumShadow* TLumCustomShape::Shadow() const {
  if (!shadow_) shadow_ = std::make_unique<TLumShadow>(const_cast<TLumCustomShape*>(this)->ChangeHandler());
  return shadow_.get();
}

void TLumCustomShape::SetShapeStyle(TLumShapeStyle Value) { Store(shapeStyle_, Value); }

void TLumCustomShape::SetRoundSize(int Value) { Store(roundSize_, Value); }

void TLumCustomShape::DrawRectRotated(TCanvas3D* Canvas, const TRect& Rect, int Z) {
  bounds_ = Rect;
  if (transparent_ || !Canvas) return;
  if (shadow_ && shadow_->Visible()) shadow_->Draw(Canvas, Canvas->ProjectRect(Rect, Z));
  Canvas->ApplyBrushColors(brush_.get(), brush_->Color(), brush_->BackColor());
  Canvas->ApplyPen(frame_.get());
  Canvas->RectangleWithZ(Rect, Z);
}

void TLumCustomShape::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLumCustomShape*>(Source)) {
    visible_ = src->visible_;
    transparent_ = src->transparent_;
    shapeStyle_ = src->shapeStyle_;
    roundSize_ = src->roundSize_;
    brush_->Assign(src->brush_.get());
    frame_->Assign(src->frame_.get());
    font_->Assign(src->font_.get());
    // A shadow not created yet reads as a new one.
    if (src->shadow_ || shadow_) Shadow()->Assign(src->Shadow());
    Repaint();
    return;
  }
  TPersistent::Assign(Source);
}

void TLumCustomShape::DefineProperties(TPropertyTable& t) {
  t.Object("Brush", &TLumCustomShape::Brush);
  t.Color("Color", &TLumCustomShape::Color, &TLumCustomShape::SetColor).Default((long long)clWhite);
  t.Object("Font", &TLumCustomShape::Font);
  t.Object("Frame", &TLumCustomShape::Frame);
  t.Object("Shadow", &TLumCustomShape::Shadow);
  t.Enum("ShapeStyle", &TLumCustomShape::ShapeStyle, &TLumCustomShape::SetShapeStyle,
         {"fosRectangle", "fosRoundRectangle"}).Default(0LL);
  t.Int("RoundSize", &TLumCustomShape::RoundSize, &TLumCustomShape::SetRoundSize).Default(16LL);
  t.Bool("Transparent", &TLumCustomShape::Transparent, &TLumCustomShape::SetTransparent).Default(false);
  t.Bool("Visible", &TLumCustomShape::Visible, &TLumCustomShape::SetVisible).Default(true);
}
