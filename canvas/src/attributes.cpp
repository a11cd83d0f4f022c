#include "canvas/attributes.h"

#include <algorithm>
#include <cmath>

#include "canvas/filters.h"

#include "platform/typinfo.h"

IMPLEMENT_CLASS(TLumAttribute, TPersistent)
IMPLEMENT_CLASS_PROPS(TChartPen, TLumAttribute)
IMPLEMENT_CLASS_PROPS(TChartHiddenPen, TChartPen)
IMPLEMENT_CLASS_PROPS(TCustomLumGradient, TLumAttribute)
IMPLEMENT_CLASS_PROPS(TSubGradient, TCustomLumGradient)
IMPLEMENT_CLASS_PROPS(TLumGradient, TCustomLumGradient)
IMPLEMENT_CLASS_PROPS(TChartBrush, TLumAttribute)
IMPLEMENT_CLASS_PROPS(TLumShadow, TLumAttribute)
IMPLEMENT_CLASS_PROPS(TLumFont, TLumAttribute)

const char* const LumDefaultFontName = "Arial";

namespace {
int Percent(int v) { return std::clamp(v, 0, 100); }
// Runs Fn on Obj with its change handler detached: the caller reports the change once.
template <class T, class F>
void Quietly(T* Obj, F Fn) {
  TNotifyEvent keep = Obj->OnChange;
  Obj->OnChange.Clear();
  Fn();
  Obj->OnChange = keep;
}
}  // namespace

void TLumAttribute::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
TChartPen::TChartPen(TNotifyEvent OnChangeEvent) : TLumAttribute(std::move(OnChangeEvent)) {}

void TChartPen::SetWidth(int Value) { Store(width_, std::max(Value, 1)); }

void TChartPen::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TChartPen*>(Source);
  if (!s) return TLumAttribute::Assign(Source);
  visible_ = s->visible_;
  color_ = s->color_;
  width_ = s->width_;
  style_ = s->style_;
  smallDots_ = s->smallDots_;
  smallSpace_ = s->smallSpace_;
  endStyle_ = s->endStyle_;
  mode_ = s->mode_;
  Changed();
}

void TChartPen::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TChartPen::Color, &TChartPen::SetColor).Default(0LL);
  t.Enum("EndStyle", &TChartPen::EndStyle, &TChartPen::SetEndStyle, {"esRound", "esSquare", "esFlat"})
      .Default(0LL);
  t.Enum("Mode", &TChartPen::Mode, &TChartPen::SetMode,
         {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
          "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"})
      .Default((long long)pmCopy);
  t.Bool("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots).Default(false);
  t.Int("SmallSpace", &TChartPen::SmallSpace, &TChartPen::SetSmallSpace).Default(0LL);
  t.Enum("Style", &TChartPen::Style, &TChartPen::SetStyle,
         {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"})
      .Default(0LL);
  t.Bool("Visible", &TChartPen::Visible, &TChartPen::SetVisible).Default(true);
  t.Int("Width", &TChartPen::Width, &TChartPen::SetWidth).Default(1LL);
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
  visible_ = false;
}

void TChartHiddenPen::DefineProperties(TPropertyTable& t) {
  t.Bool("Visible", &TChartPen::Visible, &TChartPen::SetVisible).Default(false);
}

// ---------------------------------------------------------------------------
TCustomLumGradient::TCustomLumGradient(TNotifyEvent OnChangeEvent) : TLumAttribute(std::move(OnChangeEvent)) {}
TCustomLumGradient::~TCustomLumGradient() = default;

void TCustomLumGradient::SetUseMidColor(bool Value) {
  if (Value == UseMidColor()) return;
  const TColor a = ColorToRGB(startColor_), b = ColorToRGB(endColor_);
  auto half = [](int x, int y) { return (x + y + 1) / 2; };
  SetMidColor(Value ? RGB(half(GetRValue(a), GetRValue(b)), half(GetGValue(a), GetGValue(b)),
                          half(GetBValue(a), GetBValue(b)))
                    : clNone);
}

void TCustomLumGradient::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomLumGradient*>(Source);
  if (!s) return TLumAttribute::Assign(Source);
  visible_ = s->visible_;
  direction_ = s->direction_;
  startColor_ = s->startColor_;
  midColor_ = s->midColor_;
  endColor_ = s->endColor_;
  balance_ = s->balance_;
  radialX_ = s->radialX_;
  radialY_ = s->radialY_;
  angle_ = s->angle_;
  Changed();
}

void TCustomLumGradient::DefineProperties(TPropertyTable& t) {
  t.Int("Angle", &TCustomLumGradient::Angle, &TCustomLumGradient::SetAngle).Default(0LL);
  t.Int("Balance", &TCustomLumGradient::Balance, &TCustomLumGradient::SetBalance).Default(50LL);
  t.Enum("Direction", &TCustomLumGradient::Direction, &TCustomLumGradient::SetDirection,
         {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter", "gdFromTopLeft",
          "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"})
      .Default(0LL);
  t.Color("EndColor", &TCustomLumGradient::EndColor, &TCustomLumGradient::SetEndColor)
      .Default((long long)clYellow);
  t.Color("MidColor", &TCustomLumGradient::MidColor, &TCustomLumGradient::SetMidColor)
      .Default((long long)clNone);
  t.Int("RadialX", &TCustomLumGradient::RadialX, &TCustomLumGradient::SetRadialX).Default(0LL);
  t.Int("RadialY", &TCustomLumGradient::RadialY, &TCustomLumGradient::SetRadialY).Default(0LL);
  t.Color("StartColor", &TCustomLumGradient::StartColor, &TCustomLumGradient::SetStartColor)
      .Default((long long)clWhite);
  t.Bool("Visible", &TCustomLumGradient::Visible, &TCustomLumGradient::SetVisible).Default(false);
}

void TSubGradient::SetTransparency(int Value) { Store(transparency_, Percent(Value)); }

void TSubGradient::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSubGradient*>(Source)) transparency_ = s->transparency_;
  TCustomLumGradient::Assign(Source);
}

void TSubGradient::DefineProperties(TPropertyTable& t) {
  t.Int("Transparency", &TSubGradient::Transparency, &TSubGradient::SetTransparency).Default(0LL);
}

TLumGradient::~TLumGradient() = default;

TSubGradient* TLumGradient::SubGradient() const {
  if (!sub_) {
    auto* self = const_cast<TLumGradient*>(this);
    sub_ = std::make_unique<TSubGradient>(TNotifyEvent([self](TObject*) { self->Changed(); }));
  }
  return sub_.get();
}

void TLumGradient::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TLumGradient*>(Source)) {
    outline_ = s->outline_;
    if (s->sub_) {
      Quietly(SubGradient(), [&] { sub_->Assign(s->sub_.get()); });  // reported by the base's Assign
    } else {
      sub_.reset();
    }
  }
  TCustomLumGradient::Assign(Source);
}

void TLumGradient::DefineProperties(TPropertyTable& t) {
  t.Bool("Outline", &TLumGradient::Outline, &TLumGradient::SetOutline).Default(false);
  t.Object("SubGradient", &TLumGradient::SubGradient).Stored([](const TObject* o) {
    return static_cast<const TLumGradient*>(o)->HasSubGradient();
  });
}

// ---------------------------------------------------------------------------
TChartBrush::TChartBrush(TNotifyEvent OnChangeEvent) : TLumAttribute(std::move(OnChangeEvent)) {}
TChartBrush::~TChartBrush() = default;

TLumGradient* TChartBrush::Gradient() const {
  if (!gradient_) {
    auto* self = const_cast<TChartBrush*>(this);
    gradient_ = std::make_unique<TLumGradient>(TNotifyEvent([self](TObject*) { self->Changed(); }));
  }
  return gradient_.get();
}

TPicture* TChartBrush::Image() const {
  if (!image_) {
    auto* self = const_cast<TChartBrush*>(this);
    image_ = std::make_unique<TPicture>();
    image_->OnChange = TNotifyEvent([self](TObject*) { self->Changed(); });
  }
  return image_.get();
}

void TChartBrush::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TChartBrush*>(Source);
  if (!s) return TLumAttribute::Assign(Source);
  style_ = s->style_;
  color_ = s->color_;
  backColor_ = s->backColor_;
  bitmap_ = s->bitmap_;
  // Sub-objects are assigned into, never replaced; a source without one leaves ours
  // at its defaults rather than creating one.
  if (s->gradient_ || gradient_) {
    TLumGradient defaults;
    Quietly(Gradient(), [&] { gradient_->Assign(s->gradient_ ? s->gradient_.get() : &defaults); });
  }
  if (s->image_ || image_)
    Quietly(Image(), [&] { image_->SetGraphic(s->image_ ? s->image_->Graphic() : nullptr); });
  Changed();
}

void TChartBrush::DefineProperties(TPropertyTable& t) {
  t.Color("BackColor", &TChartBrush::BackColor, &TChartBrush::SetBackColor).Default((long long)clNone);
  t.Color("Color", &TChartBrush::Color, &TChartBrush::SetColor).Default((long long)clLumColor);
  t.Object("Gradient", &TChartBrush::Gradient).Stored([](const TObject* o) {
    return static_cast<const TChartBrush*>(o)->StoresGradient();
  });
  t.Object("Image", &TChartBrush::Image).Stored([](const TObject* o) {
    return static_cast<const TChartBrush*>(o)->HasImage();
  });
  t.Enum("Style", &TChartBrush::Style, &TChartBrush::SetStyle,
         {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
          "bsDiagCross"})
      .Default(0LL);
}

// ---------------------------------------------------------------------------
TLumShadow::TLumShadow(TNotifyEvent OnChangeEvent) : TLumAttribute(std::move(OnChangeEvent)) {}

void TLumShadow::SetSize(int Value) {
  if (horizSize_ == Value && vertSize_ == Value) return;
  horizSize_ = vertSize_ = Value;
  Changed();
}

void TLumShadow::SetTransparency(int Value) { Store(transparency_, Percent(Value)); }

void TLumShadow::InitDefaults(bool AVisible, TColor AColor, int ASize) {
  visible_ = AVisible;
  color_ = AColor;
  horizSize_ = vertSize_ = ASize;
  RecordDefaults(this);
  Changed();
}

void TLumShadow::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TLumShadow*>(Source);
  if (!s) return TLumAttribute::Assign(Source);
  visible_ = s->visible_;
  color_ = s->color_;
  horizSize_ = s->horizSize_;
  vertSize_ = s->vertSize_;
  transparency_ = s->transparency_;
  smooth_ = s->smooth_;
  smoothBlur_ = s->smoothBlur_;
  clip_ = s->clip_;
  Changed();
}

void TLumShadow::DefineProperties(TPropertyTable& t) {
  // InitDefaults makes the values it sets this shadow's own defaults.
  t.Bool("Clip", &TLumShadow::Clip, &TLumShadow::SetClip).Default(false);
  t.Color("Color", &TLumShadow::Color, &TLumShadow::SetColor).Default((long long)clGray);
  t.Int("HorizSize", &TLumShadow::HorizSize, &TLumShadow::SetHorizSize).Default(3LL);
  t.Bool("Smooth", &TLumShadow::Smooth, &TLumShadow::SetSmooth).Default(false);
  t.Int("SmoothBlur", &TLumShadow::SmoothBlur, &TLumShadow::SetSmoothBlur).Default(0LL);
  t.Int("Transparency", &TLumShadow::Transparency, &TLumShadow::SetTransparency).Default(0LL);
  t.Int("VertSize", &TLumShadow::VertSize, &TLumShadow::SetVertSize).Default(3LL);
  t.Bool("Visible", &TLumShadow::Visible, &TLumShadow::SetVisible).Default(false);
}

// ---------------------------------------------------------------------------
TLumFont::TLumFont(TNotifyEvent OnChangeEvent)
    : TLumAttribute(std::move(OnChangeEvent)),
      name_(LumDefaultFontName),
      height_(-MulDiv(LumDefaultFontSize, TFont::PixelsPerInch, 72)) {}

TLumFont::~TLumFont() = default;

TNotifyEvent TLumFont::Forward() {
  return TNotifyEvent([this](TObject*) { Changed(); });
}

void TLumFont::SetDepth(double Value) { Store(depth_, std::isfinite(Value) ? Value : 0.0); }

TChartPen* TLumFont::OutLine() const {
  if (!outLine_) outLine_ = std::make_unique<TChartHiddenPen>(const_cast<TLumFont*>(this)->Forward());
  return outLine_.get();
}
TLumGradient* TLumFont::Gradient() const {
  if (!gradient_) gradient_ = std::make_unique<TLumGradient>(const_cast<TLumFont*>(this)->Forward());
  return gradient_.get();
}
TLumShadow* TLumFont::Shadow() const {
  if (!shadow_) shadow_ = std::make_unique<TLumShadow>(const_cast<TLumFont*>(this)->Forward());
  return shadow_.get();
}
TLumEmboss* TLumFont::Emboss() const {
  if (!emboss_) emboss_ = std::make_unique<TLumEmboss>(const_cast<TLumFont*>(this)->Forward());
  return emboss_.get();
}
TLumPicture* TLumFont::Picture() const {
  if (!picture_) picture_ = std::make_unique<TLumPicture>(const_cast<TLumFont*>(this)->Forward());
  return picture_.get();
}
bool TLumFont::HasPicture() const { return picture_ && !picture_->Empty(); }

bool TLumFont::HasDrawingExtras() const {
  return (outLine_ && outLine_->Visible()) || (gradient_ && gradient_->Visible()) ||
         (shadow_ && shadow_->Visible()) || (emboss_ && emboss_->Visible()) || HasPicture() || depth_ >= 0.5;
}

namespace {
// Dest takes Source's values, or a fresh object's when Source was never created.
template <class T, class G>
void CopySub(std::unique_ptr<T>& Dest, const std::unique_ptr<T>& Source, G Get, const TLumFont* Owner) {
  if (Source) {
    (Owner->*Get)();  // creates Dest
    Quietly(Dest.get(), [&] { Dest->Assign(Source.get()); });
  } else if (Dest) {
    T fresh;
    Quietly(Dest.get(), [&] { Dest->Assign(&fresh); });
  }
}
}  // namespace

void TLumFont::SetName(const std::string& Value) {
  if (!Value.empty()) Store(name_, Value);
}

void TLumFont::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TLumFont*>(Source)) {
    name_ = s->name_;
    height_ = s->height_;
    style_ = s->style_;
    color_ = s->color_;
    charset_ = s->charset_;
    interCharSize_ = s->interCharSize_;
    quality_ = s->quality_;
    depth_ = s->depth_;
    CopySub(outLine_, s->outLine_, &TLumFont::OutLine, this);
    CopySub(gradient_, s->gradient_, &TLumFont::Gradient, this);
    CopySub(shadow_, s->shadow_, &TLumFont::Shadow, this);
    CopySub(emboss_, s->emboss_, &TLumFont::Emboss, this);
    CopySub(picture_, s->picture_, &TLumFont::Picture, this);
  } else if (auto* f = dynamic_cast<TFont*>(Source)) {
    name_ = f->Name();
    height_ = f->Height();
    style_ = f->Style();
    color_ = f->Color();
    charset_ = f->Charset();
  } else {
    return TLumAttribute::Assign(Source);
  }
  Changed();
}

void TLumFont::AssignTo(TPersistent* Dest) {
  auto* f = dynamic_cast<TFont*>(Dest);
  if (!f) return TLumAttribute::AssignTo(Dest);
  f->SetName(name_);
  f->SetHeight(height_);
  f->SetStyle(style_);
  f->SetColor(color_);
  f->SetCharset(charset_);
  f->SetLetterSpacing(interCharSize_);
  f->SetQuality(quality_);
}

void TLumFont::DefineProperties(TPropertyTable& t) {
  t.Int("Charset", &TLumFont::Charset, &TLumFont::SetCharset).Default((long long)DEFAULT_CHARSET);
  t.Color("Color", &TLumFont::Color, &TLumFont::SetColor).Default(0LL);
  t.Int("Height", &TLumFont::Height, &TLumFont::SetHeight)
      .Default((long long)-MulDiv(LumDefaultFontSize, TFont::PixelsPerInch, 72));
  t.Str("Name", &TLumFont::Name, &TLumFont::SetName).Default(std::string(LumDefaultFontName));
  t.Set("Style", &TLumFont::Style, &TLumFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
      .Default(0LL);
  t.Float("Depth", &TLumFont::Depth, &TLumFont::SetDepth).Default((long double)0);
  t.Object("Emboss", &TLumFont::Emboss).Stored([](const TObject* o) {
    return static_cast<const TLumFont*>(o)->HasEmboss();
  });
  t.Object("Gradient", &TLumFont::Gradient).Stored([](const TObject* o) {
    return static_cast<const TLumFont*>(o)->HasGradient();
  });
  t.Int("InterCharSize", &TLumFont::InterCharSize, &TLumFont::SetInterCharSize).Default(0LL);
  t.Object("OutLine", &TLumFont::OutLine).Stored([](const TObject* o) {
    return static_cast<const TLumFont*>(o)->HasOutLine();
  });
  t.Object("Picture", &TLumFont::Picture).Stored([](const TObject* o) {
    return static_cast<const TLumFont*>(o)->HasPicture();
  });
  t.Enum("Quality", &TLumFont::Quality, &TLumFont::SetQuality, {"fqBest", "fqNormal", "fqDefault"})
      .Default((long long)fqDefault);
  t.Object("Shadow", &TLumFont::Shadow).Stored([](const TObject* o) {
    return static_cast<const TLumFont*>(o)->HasShadow();
  });
}
