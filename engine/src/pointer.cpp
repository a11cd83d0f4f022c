#include <algorithm>

#include "canvas/lumcanvas.h"
#include "engine/errors.h"
#include "engine/panel.h"
#include "engine/series.h"

IMPLEMENT_CLASS_PROPS(TSeriesPointer, TPersistent)

TSeriesPointer::TSeriesPointer(TChartSeries* AOwner)
    : series_(AOwner),
      brush_(std::make_unique<TChartBrush>(TNotifyEvent(this, &TSeriesPointer::Changed))),
      pen_(std::make_unique<TChartPen>(TNotifyEvent(this, &TSeriesPointer::Changed))) {}

TSeriesPointer::~TSeriesPointer() = default;

TPersistent* TSeriesPointer::GetOwner() { return series_; }

void TSeriesPointer::Changed(TObject*) {
  if (series_) series_->Repaint();
}

void TSeriesPointer::CheckPointerSize(int Size) {
  if (Size < 1) throw ChartException(Format("Pointer size must be at least 1 (%d)", Size));
}

void TSeriesPointer::SetVisible(bool Value) { Store(visible_, Value); }
void TSeriesPointer::SetStyle(TSeriesPointerStyle Value) { Store(style_, Value); }

void TSeriesPointer::SetHorizSize(int Value) {
  CheckPointerSize(Value);
  Store(horizSize_, Value);
}

void TSeriesPointer::SetVertSize(int Value) {
  CheckPointerSize(Value);
  Store(vertSize_, Value);
}

void TSeriesPointer::SetInflateMargins(bool Value) { Store(inflateMargins_, Value); }
void TSeriesPointer::SetDraw3D(bool Value) { Store(draw3D_, Value); }
void TSeriesPointer::SetDark3D(bool Value) { Store(dark3D_, Value); }
void TSeriesPointer::SetDepth(int Value) { Store(depth_, Value); }
void TSeriesPointer::SetTransparency(int Value) { Store(transparency_, std::clamp(Value, 0, 100)); }

TLumGradient* TSeriesPointer::Gradient() const {
  return CreateOnFirstRead(gradient_, TNotifyEvent(const_cast<TSeriesPointer*>(this), &TSeriesPointer::Changed));
}

TLumShadow* TSeriesPointer::Shadow() const {
  return CreateOnFirstRead(shadow_, TNotifyEvent(const_cast<TSeriesPointer*>(this), &TSeriesPointer::Changed));
}

TLumEmboss* TSeriesPointer::Emboss() const {
  return CreateOnFirstRead(emboss_, TNotifyEvent(const_cast<TSeriesPointer*>(this), &TSeriesPointer::Changed));
}

int TSeriesPointer::GetStartZ() const { return (series_ ? series_->MiddleZ() : 0) - depth_ / 2; }
int TSeriesPointer::GetEndZ() const { return GetStartZ() + depth_; }

void TSeriesPointer::CalcHorizMargins(int& LeftMargin, int& RightMargin) const {
  if (!visible_ || !inflateMargins_) return;
  LeftMargin = std::max(LeftMargin, horizSize_ / 2 + 1);
  RightMargin = std::max(RightMargin, horizSize_ / 2 + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& TopMargin, int& BottomMargin) const {
  if (!visible_ || !inflateMargins_) return;
  TopMargin = std::max(TopMargin, vertSize_ / 2 + 1);
  BottomMargin = std::max(BottomMargin, vertSize_ / 2 + 1);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D* ACanvas, TColor ColorValue) {
  if (pen_->Visible() && pen_->Color() == clLumColor)
    ACanvas->ApplyPenColor(pen_.get(), ColorValue);
  else
    ACanvas->ApplyPen(pen_.get());  // a hidden pen leaves the canvas pen clear
  const TColor fill = brush_->Color() == clLumColor ? ColorValue : brush_->Color();
  ACanvas->ApplyBrushColors(brush_.get(), fill, brush_->BackColor());
}

void TSeriesPointer::DrawPointer(TCanvas3D* ACanvas, bool Is3D, TSeriesPointerStyle AStyle, TColor ColorValue,
                                 int Width, int Height, int X, int Y) {
  const int z = series_ ? series_->MiddleZ() : 0;
  // Width x Height pixels centred on (X, Y); r and b are the last pixels covered.
  const int l = X - Width / 2, t = Y - Height / 2, r = l + std::max(Width, 1) - 1, b = t + std::max(Height, 1) - 1;
  // The canvas leaves out right and bottom edges: +1 covers the last pixels.
  const TRect box{l, t, r + 1, b + 1};
  auto polygon = [&](std::initializer_list<TPoint> pts) { ACanvas->PolygonWithZ(std::vector<TPoint>(pts), z); };
  // Line symbols have no fill: without a pen they take the colour.
  auto linePen = [&] {
    if (ACanvas->Pen()->Style() == psClear) {
      ACanvas->Pen()->SetStyle(psSolid);
      ACanvas->Pen()->SetWidth(1);
      ACanvas->Pen()->SetColor(ColorValue);
    }
  };
  auto cross = [&] {
    ACanvas->LineWithZ(l, Y, r + 1, Y, z);
    ACanvas->LineWithZ(X, t, X, b + 1, z);
  };
  auto diagCross = [&] {
    ACanvas->LineWithZ(l, t, r + 1, b + 1, z);
    ACanvas->LineWithZ(l, b, r + 1, t - 1, z);
  };
  switch (AStyle) {
    case psRectangle:
      if (Is3D)
        ACanvas->CubeFromRect(box, GetStartZ(), GetEndZ(), dark3D_);
      else
        ACanvas->RectangleWithZ(box, z);
      break;
    case psCircle: ACanvas->EllipseWithZ(box, z); break;
    case psTriangle: polygon({{l, b}, {r, b}, {X, t}}); break;
    case psDownTriangle: polygon({{l, t}, {r, t}, {X, b}}); break;
    case psLeftTriangle: polygon({{r, t}, {r, b}, {l, Y}}); break;
    case psRightTriangle: polygon({{l, t}, {l, b}, {r, Y}}); break;
    case psDiamond: ACanvas->Diamond(box, z); break;
    case psHexagon: {
      const int q = Width / 4;
      polygon({{l, Y}, {X - q, t}, {X + q, t}, {r, Y}, {X + q, b}, {X - q, b}});
      break;
    }
    case psCross: linePen(); cross(); break;
    case psDiagCross: linePen(); diagCross(); break;
    case psStar: linePen(); cross(); diagCross(); break;
    case psSmallDot: linePen(); ACanvas->LineWithZ(X, Y, X + 1, Y, z); break;
    case psNothing:
    case psVisual:  // per-point visual objects come with their editor
      break;
  }
}

void TSeriesPointer::Draw(int X, int Y, TColor ColorValue, TSeriesPointerStyle AStyle) {
  TCustomAxisPanel* chart = series_ ? series_->ParentChart() : nullptr;
  if (!chart || !chart->Canvas()) return;
  TCanvas3D* c = chart->Canvas();
  const bool is3D = chart->View3D() && draw3D_;
  const int z = series_->MiddleZ();
  // The marker's box on the screen, for its shadow, emboss and blending.
  const int l = X - horizSize_ / 2, t = Y - vertSize_ / 2;
  const TRect box = c->ProjectRect({l, t, l + horizSize_, t + vertSize_}, z);
  const bool shadow = shadow_ && shadow_->Visible(), emboss = emboss_ && emboss_->Visible();
  TLumBlend* blend = nullptr;
  if (transparency_ > 0) {
    // A cube's depth and the effects reach beyond the marker's front.
    const int reach = std::max({is3D ? std::abs(GetEndZ() - GetStartZ()) : 0, EffectReach(shadow_.get()),
                                EffectReach(emboss_.get())});
    blend = c->BeginBlending({box.Left - reach - 1, box.Top - reach - 1, box.Right + reach + 1, box.Bottom + reach + 1},
                             transparency_);
  }
  if (shadow) shadow_->Draw(c, box);
  PrepareCanvas(c, ColorValue);
  if (gradient_ && gradient_->Visible()) {
    TLumGradient* g = c->GetGradient();
    g->Assign(gradient_.get());
  }
  DrawPointer(c, is3D, AStyle, ColorValue, horizSize_, vertSize_, X, Y);
  if (gradient_ && gradient_->Visible()) c->GetGradient()->SetVisible(false);
  if (emboss) DrawEmbossRim(emboss_.get(), c, box);
  if (blend) c->EndBlending(blend);
}

void TSeriesPointer::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TSeriesPointer*>(Source)) {
    visible_ = src->visible_;
    style_ = src->style_;
    horizSize_ = src->horizSize_;
    vertSize_ = src->vertSize_;
    inflateMargins_ = src->inflateMargins_;
    draw3D_ = src->draw3D_;
    dark3D_ = src->dark3D_;
    depth_ = src->depth_;
    transparency_ = src->transparency_;
    brush_->Assign(src->brush_.get());
    pen_->Assign(src->pen_.get());
    // A sub-object not created yet reads as a new one.
    if (src->gradient_ || gradient_) Gradient()->Assign(src->Gradient());
    if (src->shadow_ || shadow_) Shadow()->Assign(src->Shadow());
    if (src->emboss_ || emboss_) Emboss()->Assign(src->Emboss());
    Changed(this);
    return;
  }
  TPersistent::Assign(Source);
}

void TSeriesPointer::DefineProperties(TPropertyTable& t) {
  t.Object("Brush", &TSeriesPointer::Brush);
  t.Object("Emboss", &TSeriesPointer::Emboss).Stored([](const TObject* o) {
    return static_cast<const TSeriesPointer*>(o)->HasEmboss();
  });
  t.Object("Gradient", &TSeriesPointer::Gradient).Stored([](const TObject* o) {
    return static_cast<const TSeriesPointer*>(o)->HasGradient();
  });
  t.Object("Shadow", &TSeriesPointer::Shadow).Stored([](const TObject* o) {
    return static_cast<const TSeriesPointer*>(o)->HasShadow();
  });
  t.Bool("Dark3D", &TSeriesPointer::Dark3D, &TSeriesPointer::SetDark3D).Default(true);
  t.Int("Depth", &TSeriesPointer::Depth, &TSeriesPointer::SetDepth).Default(0LL);
  t.Bool("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D).Default(true);
  t.Int("HorizSize", &TSeriesPointer::HorizSize, &TSeriesPointer::SetHorizSize).Default(4LL);
  t.Bool("InflateMargins", &TSeriesPointer::InflateMargins, &TSeriesPointer::SetInflateMargins).Default(true);
  t.Object("Pen", &TSeriesPointer::Pen);
  t.Enum("Style", &TSeriesPointer::Style, &TSeriesPointer::SetStyle,
         {"psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross", "psStar",
          "psDiamond", "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle", "psHexagon", "psVisual"})
      .Default(0LL);
  t.Int("Transparency", &TSeriesPointer::Transparency, &TSeriesPointer::SetTransparency).Default(0LL);
  t.Int("VertSize", &TSeriesPointer::VertSize, &TSeriesPointer::SetVertSize).Default(4LL);
  t.Bool("Visible", &TSeriesPointer::Visible, &TSeriesPointer::SetVisible).Default(true);
}
