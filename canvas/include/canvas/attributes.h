// Drawing attributes carried by chart elements: pens, brushes, gradients, shadows and
// fonts. Each is owned by the element that carries it and calls its OnChange (given at
// creation) after every change that stores a new value, so the element can repaint.
// A copy made without a handler (for undo) reports nothing.
#pragma once
#include <memory>
#include <string>

#include "platform/classes.h"
#include "platform/graphics.h"
#include "platform/types.h"

class TLumCanvas;

// Stands for "the series' or the palette's colour"; resolved by the element, never drawn.
constexpr TColor clLumColor = 0x20000000;

// Base of the attributes: the change handler and how it is called.
class TLumAttribute : public TPersistent {
  DECLARE_CLASS(TLumAttribute, TPersistent)
public:
  explicit TLumAttribute(TNotifyEvent OnChangeEvent = {}) : OnChange(std::move(OnChangeEvent)) {}
  TNotifyEvent OnChange;

protected:
  // Calls OnChange with this object as sender.
  void Changed();
  // Stores Value into Field and calls Changed when it differs.
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
};

// ---------------------------------------------------------------------------
enum TPenEndStyle { esRound, esSquare, esFlat };

class TChartPen : public TLumAttribute {
  DECLARE_CLASS(TChartPen, TLumAttribute)
public:
  explicit TChartPen(TNotifyEvent OnChangeEvent = {});

  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { Store(visible_, Value); }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { Store(color_, Value); }
  // At least 1: smaller values are stored as 1.
  int Width() const { return width_; }
  void SetWidth(int Value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle Value) { Store(style_, Value); }
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool Value) { Store(smallDots_, Value); }
  int SmallSpace() const { return smallSpace_; }
  void SetSmallSpace(int Value) { Store(smallSpace_, Value); }
  TPenEndStyle EndStyle() const { return endStyle_; }
  void SetEndStyle(TPenEndStyle Value) { Store(endStyle_, Value); }
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode Value) { Store(mode_, Value); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  bool visible_ = true;

private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  bool smallDots_ = false;
  int smallSpace_ = 0;
  TPenEndStyle endStyle_ = esRound;
  TPenMode mode_ = pmCopy;
};

// Whether pens may draw small dots (the pen dialog offers them, shows the end style
// and allows styles at any width). True: the platform pen has free dash patterns.
extern bool SmallDotsSupported;

// A platform pen of APen's width and end style in AColor that draws one-pixel dots
// with gaps of APen's SmallSpace + 1 pixels (gaps see-through once applied).
std::unique_ptr<TPen> CreateSmallDotsPen(TColor AColor, TChartPen* APen);

// A pen that starts hidden (Visible stored only when true).
class TChartHiddenPen : public TChartPen {
  DECLARE_CLASS(TChartHiddenPen, TChartPen)
public:
  explicit TChartHiddenPen(TNotifyEvent OnChangeEvent = {});
  static void DefineProperties(TPropertyTable& t);
};

// ---------------------------------------------------------------------------
// Directions in the order the editors list them ("Top Bottom" .. "Diagonal Down").
// The start colour sits at the first-named place, the end colour at the other:
//   gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft   straight bands;
//   gdFromCenter       start in the centre, end on the border (rectangular rings);
//   gdFromTopLeft      start in the top-left corner, end along the right and bottom
//                      edges (L-shaped bands);
//   gdFromBottomLeft   the same from the bottom-left corner;
//   gdRadial           start in the centre (moved by RadialX, RadialY pixels), end on
//                      the ellipse through the corners;
//   gdDiagonalUp       start in the bottom-left corner, end in the top-right one;
//   gdDiagonalDown     start in the top-left corner, end in the bottom-right one.
enum TGradientDirection {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter,
  gdFromTopLeft, gdFromBottomLeft, gdRadial, gdDiagonalUp, gdDiagonalDown
};

class TSubGradient;

class TCustomLumGradient : public TLumAttribute {
  DECLARE_CLASS(TCustomLumGradient, TLumAttribute)
public:
  explicit TCustomLumGradient(TNotifyEvent OnChangeEvent = {});
  ~TCustomLumGradient() override;

  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { Store(visible_, Value); }
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection Value) { Store(direction_, Value); }
  TColor StartColor() const { return startColor_; }
  void SetStartColor(TColor Value) { Store(startColor_, Value); }
  // clNone: no middle colour.
  TColor MidColor() const { return midColor_; }
  void SetMidColor(TColor Value) { Store(midColor_, Value); }
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor Value) { Store(endColor_, Value); }
  // Where, in percent of the way from start to end, the middle colour (or the halfway
  // blend) sits; drawing clamps it to 0..100.
  int Balance() const { return balance_; }
  void SetBalance(int Value) { Store(balance_, Value); }
  int RadialX() const { return radialX_; }
  void SetRadialX(int Value) { Store(radialX_, Value); }
  int RadialY() const { return radialY_; }
  void SetRadialY(int Value) { Store(radialY_, Value); }
  // Degrees (the editor offers 0..360) the Direction's pattern is turned
  // anticlockwise about the rectangle's centre, on the rectangle mapped to a square (so
  // 45 on gdLeftRight runs corner to corner). Straight and diagonal patterns are then
  // stretched again to run from the start colour at the first corner they reach to
  // the end colour at the last; the others keep their scale (colours beyond the end
  // stay the end colour). 0 (and whole turns) draws Direction as it is; gdTopBottom at
  // 90 is gdLeftRight, at 180 gdBottomTop.
  int Angle() const { return angle_; }
  void SetAngle(int Value) { Store(angle_, Value); }
  // The middle colour is in use; turning it on gives it the blend of start and end
  // when it was clNone, so the picture does not jump.
  bool UseMidColor() const { return midColor_ != clNone; }
  void SetUseMidColor(bool Value);

  // Fills Rect with the gradient, its corners rounded by an ellipse of CornerSize
  // pixels when above 0, then paints the visible sub-gradient over it. Draws even when
  // not Visible: callers decide.
  void Draw(TLumCanvas* Canvas, const TRect& Rect, int CornerSize = 0);
  // The colour at fraction T (0 start .. 1 end) of the way, balance and middle applied.
  TColor ColorAt(double T) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // The sub-gradient when one was created (no creation here).
  virtual TSubGradient* ExistingSubGradient() const { return nullptr; }

private:
  bool visible_ = false;
  TGradientDirection direction_ = gdTopBottom;
  TColor startColor_ = clWhite;
  TColor midColor_ = clNone;
  TColor endColor_ = clYellow;
  int balance_ = 50;
  int radialX_ = 0;
  int radialY_ = 0;
  int angle_ = 0;
};

// Painted over its parent gradient with Transparency percent of the parent showing.
class TSubGradient : public TCustomLumGradient {
  DECLARE_CLASS(TSubGradient, TCustomLumGradient)
public:
  explicit TSubGradient(TNotifyEvent OnChangeEvent = {}) : TCustomLumGradient(std::move(OnChangeEvent)) {}
  // Percent 0..100; values outside are clamped.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int transparency_ = 0;
};

class TLumGradient : public TCustomLumGradient {
  DECLARE_CLASS(TLumGradient, TCustomLumGradient)
public:
  explicit TLumGradient(TNotifyEvent OnChangeEvent = {}) : TCustomLumGradient(std::move(OnChangeEvent)) {}
  ~TLumGradient() override;
  // Created on first read; its changes are this gradient's changes.
  TSubGradient* SubGradient() const;
  bool HasSubGradient() const { return bool(sub_); }
  // Whether a font's gradient also fills the outline.
  bool Outline() const { return outline_; }
  void SetOutline(bool Value) { Store(outline_, Value); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  TSubGradient* ExistingSubGradient() const override { return sub_.get(); }

private:
  mutable std::unique_ptr<TSubGradient> sub_;
  bool outline_ = false;
};

// ---------------------------------------------------------------------------
class TChartBrush : public TLumAttribute {
  DECLARE_CLASS(TChartBrush, TLumAttribute)
public:
  explicit TChartBrush(TNotifyEvent OnChangeEvent = {});
  ~TChartBrush() override;

  // bsSolid .. bsDiagCross (0..7).
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle Value) { Store(style_, Value); }
  // clLumColor: the element's (series' or palette's) colour.
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { Store(color_, Value); }
  // clNone: the gaps of a pattern stay transparent.
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor Value) { Store(backColor_, Value); }
  // Created on first read; its changes are this brush's changes.
  TLumGradient* Gradient() const;
  bool HasGradient() const { return bool(gradient_); }
  // An owner that publishes this gradient under its own name stores it there, so
  // the brush leaves it out of its own properties (it still reads it).
  void SetOwnerStoresGradient(bool Value) { ownerStoresGradient_ = Value; }
  bool StoresGradient() const { return HasGradient() && !ownerStoresGradient_; }
  // A picture whose graphic fills as a pattern; created on first read.
  TPicture* Image() const;
  bool HasImage() const { return image_ && image_->Graphic() && !image_->Graphic()->Empty(); }
  // A pattern bitmap, not owned (nullptr: none). The image wins when both are set.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* Value) { Store(bitmap_, Value); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TBrushStyle style_ = bsSolid;
  TColor color_ = clLumColor;
  TColor backColor_ = clNone;
  mutable std::unique_ptr<TLumGradient> gradient_;
  mutable std::unique_ptr<TPicture> image_;
  TBitmap* bitmap_ = nullptr;
  bool ownerStoresGradient_ = false;
};

// ---------------------------------------------------------------------------
// The shadow of a rectangle: the rectangle moved HorizSize right and VertSize down
// (negative sizes: left and up), in Color, with Transparency percent of what lies
// under it showing through.
// Smooth softens its edges by a blur reaching about |SmoothBlur| pixels (three box
// passes of |SmoothBlur| / 3 each, at least 1, close to a Gaussian): a positive blur
// centres the soft edge on the shadow's edge, so the shadow spreads that far beyond it;
// a negative one first shrinks the shadow as far, so the whole soft edge lies inside
// and nothing passes the moved rectangle. The blur is computed only over the visible
// part of the canvas (plus a margin no wider than that part), so its cost is bounded
// by what can be seen however large the blur.
// Clip keeps the shadow off the rectangle itself, so a see-through object does not
// show its own shadow through it.
class TLumShadow : public TLumAttribute {
  DECLARE_CLASS(TLumShadow, TLumAttribute)
public:
  explicit TLumShadow(TNotifyEvent OnChangeEvent = {});

  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { Store(visible_, Value); }
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { Store(color_, Value); }
  // Size is the horizontal size; SetSize sets both.
  int Size() const { return horizSize_; }
  void SetSize(int Value);
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int Value) { Store(horizSize_, Value); }
  int VertSize() const { return vertSize_; }
  void SetVertSize(int Value) { Store(vertSize_, Value); }
  // Percent 0..100; values outside are clamped.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool Value) { Store(smooth_, Value); }
  int SmoothBlur() const { return smoothBlur_; }
  void SetSmoothBlur(int Value) { Store(smoothBlur_, Value); }
  bool Clip() const { return clip_; }
  void SetClip(bool Value) { Store(clip_, Value); }

  // Sets visibility, colour and both sizes and records them as this shadow's defaults
  // (the values that are not stored).
  void InitDefaults(bool AVisible, TColor AColor, int ASize);
  // Draws whatever the properties say, visible or not: callers decide.
  virtual void Draw(TLumCanvas* Canvas, const TRect& Rect);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool visible_ = false;
  TColor color_ = clGray;
  int horizSize_ = 3;
  int vertSize_ = 3;
  int transparency_ = 0;
  bool smooth_ = false;
  int smoothBlur_ = 0;
  bool clip_ = false;
};

// Embossing: the properties of a shadow, drawn as two copies of the rectangle under
// the object: a light one moved (-HorizSize, -VertSize) and a dark one moved
// (+HorizSize, +VertSize), so the object drawn over them gets a light rim on its top
// and left and a dark rim on its bottom and right and looks raised (negative sizes
// swap the rims: sunken). The dark copy is in Color, the light one in Color brought
// three quarters of the way to white. Transparency, Smooth, SmoothBlur and Clip apply
// to both copies as to a shadow.
class TLumEmboss : public TLumShadow {
  DECLARE_CLASS(TLumEmboss, TLumShadow)
public:
  explicit TLumEmboss(TNotifyEvent OnChangeEvent = {}) : TLumShadow(std::move(OnChangeEvent)) {}
  void Draw(TLumCanvas* Canvas, const TRect& Rect) override;
  // The light copy's colour.
  TColor LightColor() const;
  // Its published properties are the shadow's (the property list answers ancestors').
};

// ---------------------------------------------------------------------------
// Default face and size of the library's fonts.
extern const char* const LumDefaultFontName;  // "Arial"
constexpr int LumDefaultFontSize = 8;

class TLumPicture;

// Beside the platform font's name, size, style, colour and character set, the extras
// (sub-objects created on first read, their changes this font's changes), applied by
// TLumCanvas::AssignFont and the canvas's text output:
//   InterCharSize  extra pixels between characters (negative: closer);
//   Quality        fqBest smoothed, fqNormal crisp, fqDefault as the canvas says;
//   OutLine        a pen (hidden at first) that strokes the glyph edges;
//   Gradient       fills the glyphs (with Gradient->Outline: paints the outline
//                  stroke instead, which then needs a visible OutLine);
//   Picture        fills the glyphs with the picture (filters applied) when no
//                  visible gradient does;
//   Shadow         a copy of the text in the shadow colour moved by its sizes, under
//                  the text (Transparency honoured);
//   Emboss         a light copy up-left and a dark copy down-right, under the text;
//   Depth          that many copies (rounded, up to 100) stepping down-right under the
//                  text in the font colour darkened to three quarters: raised letters.
class TLumFont : public TLumAttribute {
  DECLARE_CLASS(TLumFont, TLumAttribute)
public:
  explicit TLumFont(TNotifyEvent OnChangeEvent = {});
  ~TLumFont() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);  // an empty name is ignored
  // Height < 0: character height in pixels; Size in points at 96 dpi.
  int Height() const { return height_; }
  void SetHeight(int Value) { Store(height_, Value); }
  int Size() const { return -MulDiv(height_, 72, TFont::PixelsPerInch); }
  void SetSize(int Value) { SetHeight(-MulDiv(Value, TFont::PixelsPerInch, 72)); }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value) { Store(style_, Value); }
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { Store(color_, Value); }
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset Value) { Store(charset_, Value); }

  int InterCharSize() const { return interCharSize_; }
  void SetInterCharSize(int Value) { Store(interCharSize_, Value); }
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality Value) { Store(quality_, Value); }
  double Depth() const { return depth_; }
  void SetDepth(double Value);  // not a number counts as 0
  TChartPen* OutLine() const;
  TLumGradient* Gradient() const;
  TLumShadow* Shadow() const;
  TLumEmboss* Emboss() const;
  TLumPicture* Picture() const;
  bool HasOutLine() const { return bool(outLine_); }
  bool HasGradient() const { return bool(gradient_); }
  bool HasShadow() const { return bool(shadow_); }
  bool HasEmboss() const { return bool(emboss_); }
  bool HasPicture() const;
  // Whether any extra changes how text is drawn beyond the platform font.
  bool HasDrawingExtras() const;

  // Copies from another TLumFont (extras included) or from a platform TFont.
  void Assign(TPersistent* Source) override;
  // Puts name, height, style, colour and character set into a platform font.
  void AssignTo(TPersistent* Dest) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TNotifyEvent Forward();  // a handler that reports a sub-object's change as ours
  std::string name_;
  int height_;
  TFontStyles style_ = 0;
  TColor color_ = clBlack;
  TFontCharset charset_ = DEFAULT_CHARSET;
  int interCharSize_ = 0;
  TFontQuality quality_ = fqDefault;
  double depth_ = 0;
  mutable std::unique_ptr<TChartHiddenPen> outLine_;
  mutable std::unique_ptr<TLumGradient> gradient_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  mutable std::unique_ptr<TLumEmboss> emboss_;
  mutable std::unique_ptr<TLumPicture> picture_;
};
