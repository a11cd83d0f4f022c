// Framed boxes with text: the base of axis titles and series marks here, and of
// titles, legend and walls in the chart control.
//
//   TLumCustomShapeBrushPen   brush, pen and visibility
//   TLumCustomShape           the box: colour, frame, font, gradient, shadow, emboss,
//                             bevel, rounded corners, picture, transparency, text format
//   TLumCustomShapePosition   a box that may sit at a position of its own (Left, Top)
//
// DrawShapeOnCanvas draws, in this order: shadow, frame and fill, bevel, picture,
// emboss (a rim kept off the box); with Transparency the whole drawing is blended
// over what lay beneath.
#pragma once
#include <memory>
#include <string>

#include "canvas/attributes.h"
#include "canvas/filters.h"
#include "platform/classes.h"
#include "platform/controls.h"
#include "platform/typinfo.h"
#include "platform/types.h"

class TCustomAxisPanel;
class TCanvas3D;

enum TLumShapeStyle { fosRectangle, fosRoundRectangle };
// How the text of a shape is drawn: as it is, or as formatted text (canvas/richtext.h).
enum TLumTextFormat { ttfNormal, ttfHtml };

// The sub-object held in Slot, created on first use with OnChange as its handler.
template <class T>
T* CreateOnFirstRead(std::unique_ptr<T>& Slot, const TNotifyEvent& OnChange) {
  if (!Slot) Slot = std::make_unique<T>(OnChange);
  return Slot.get();
}

// The rim of an emboss around R, never over R (drawn after the object it rims).
void DrawEmbossRim(const TLumEmboss* Emboss, TCanvas3D* Canvas, const TRect& R);
// Pixels a shadow or emboss reaches beyond its rectangle (0 when none or hidden).
int EffectReach(const TLumShadow* Effect);

// A bevel of Width one-pixel frames inside R (R shrinks by it): lowered dark on the
// top and left edges and light on the others, raised the reverse, none nothing.
void DrawBevel(TCanvas3D* Canvas, TRect& R, TPanelBevel Kind, int Width);

class TLumCustomShapeBrushPen : public TPersistent {
  DECLARE_CLASS(TLumCustomShapeBrushPen, TPersistent)
public:
  explicit TLumCustomShapeBrushPen(TCustomAxisPanel* AOwner = nullptr);
  ~TLumCustomShapeBrushPen() override;

  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  virtual void SetParentChart(TCustomAxisPanel* Value) { parentChart_ = Value; }

  TChartBrush* Brush() const { return brush_.get(); }
  void SetBrush(TChartBrush* Value) { brush_->Assign(Value); }
  TChartPen* Pen() const { return pen_.get(); }
  void SetPen(TChartPen* Value) { pen_->Assign(Value); }
  bool Visible() const { return visible_; }
  // Stores and, with a parent chart, repaints on change.
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Asks the parent chart, when there is one, to repaint.
  virtual void Repaint();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Changed(TObject* Sender);
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
  }
  TNotifyEvent ChangeHandler() { return TNotifyEvent(this, &TLumCustomShapeBrushPen::Changed); }

private:
  TCustomAxisPanel* parentChart_;
  bool visible_ = true;
  std::unique_ptr<TChartBrush> brush_;
  std::unique_ptr<TChartPen> pen_;
};

class TLumCustomShape : public TLumCustomShapeBrushPen {
  DECLARE_CLASS(TLumCustomShape, TLumCustomShapeBrushPen)
public:
  explicit TLumCustomShape(TCustomAxisPanel* AOwner = nullptr);
  ~TLumCustomShape() override;

  // A transparent shape draws its text only: no fill, no frame.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  // Percent (0..100) of what lies under the box showing through it.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  // The fill colour (the brush's colour).
  TColor Color() const;
  void SetColor(TColor Value);
  // The frame is the pen.
  TChartPen* Frame() const { return Pen(); }
  void SetFrame(TChartPen* Value) { SetPen(Value); }
  TLumFont* Font() const { return font_.get(); }
  // Created on first read; a visible gradient fills instead of the brush.
  TLumGradient* Gradient() const;
  TLumShadow* Shadow() const;
  TLumEmboss* Emboss() const;
  TLumPicture* Picture() const;
  bool HasShadow() const { return bool(shadow_); }
  bool HasEmboss() const { return bool(emboss_); }
  bool HasPicture() const { return picture_ && !picture_->Empty(); }
  TPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TPanelBevel Value);
  // At least 1.
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  TLumShapeStyle ShapeStyle() const { return shapeStyle_; }
  void SetShapeStyle(TLumShapeStyle Value);
  // Width and height of the ellipse that rounds the corners.
  int RoundSize() const { return roundSize_; }
  void SetRoundSize(int Value);
  TLumTextFormat TextFormat() const { return textFormat_; }
  void SetTextFormat(TLumTextFormat Value);

  // The box of the last drawing (or as set by the owner before drawing).
  const TRect& ShapeBounds() const { return bounds_; }
  void SetShapeBounds(const TRect& Value);
  int ShapeWidth() const { return bounds_.Width(); }
  int ShapeHeight() const { return bounds_.Height(); }
  // Keep the left (top) edge and move the right (bottom) one; repaint on change.
  void SetShapeWidth(int Value);
  void SetShapeHeight(int Value);

  // Draws the box Rect at depth Z on the chart's canvas (nothing when transparent
  // or without a canvas) and keeps Rect as the box.
  void DrawShapeOnCanvas(TCustomAxisPanel* Chart, const TRect& Rect, int Z = 0);
  void DrawShapeOnCanvas(TCanvas3D* Canvas, const TRect& Rect, int Z = 0);
  // The name the chart control's titles, legend and walls use.
  void DrawRectRotated(TCanvas3D* Canvas, const TRect& Rect, int Z = 0) { DrawShapeOnCanvas(Canvas, Rect, Z); }
  // Writes Text at (X, Y) (depth Z) in the canvas's current font and alignment:
  // formatted with ttfHtml, plainly otherwise.
  void DrawText(TCanvas3D* Canvas, int X, int Y, int Z, const std::string& Text) const;
  // Width and height of Text as DrawText writes it in the shape's font.
  TSize TextExtent(TCanvas3D* Canvas, const std::string& Text) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool transparent_ = false;
  int transparency_ = 0;
  TPanelBevel bevel_ = bvNone;
  int bevelWidth_ = 2;
  TLumShapeStyle shapeStyle_ = fosRectangle;
  int roundSize_ = 16;
  TLumTextFormat textFormat_ = ttfNormal;
  std::unique_ptr<TLumFont> font_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  mutable std::unique_ptr<TLumEmboss> emboss_;
  mutable std::unique_ptr<TLumPicture> picture_;
  TRect bounds_;
};

class TLumCustomShapePosition : public TLumCustomShape {
  DECLARE_CLASS(TLumCustomShapePosition, TLumCustomShape)
public:
  explicit TLumCustomShapePosition(TCustomAxisPanel* AOwner = nullptr) : TLumCustomShape(AOwner) {}

  // With CustomPosition the owner draws the box at Left, Top instead of its own place.
  bool CustomPosition() const { return customPosition_; }
  void SetCustomPosition(bool Value);
  int Left() const { return ShapeBounds().Left; }
  int Top() const { return ShapeBounds().Top; }
  // Move the box keeping its size and switch CustomPosition on.
  void SetLeft(int Value);
  void SetTop(int Value);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool customPosition_ = false;
};
