// Framed boxes with text: the base of axis titles and series marks here, and of
// titles, legend and walls in the chart control.
#pragma once
#include <memory>
#include <string>

#include "canvas/attributes.h"
#include "platform/classes.h"
#include "platform/typinfo.h"
#include "platform/types.h"

class TCustomAxisPanel;
class TCanvas3D;

enum TLumShapeStyle { fosRectangle, fosRoundRectangle };

class TLumCustomShape : public TPersistent {
  DECLARE_CLASS(TLumCustomShape, TPersistent)
public:
  explicit TLumCustomShape(TCustomAxisPanel* AOwner);
  ~TLumCustomShape() override;

  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  void SetParentChart(TCustomAxisPanel* Value) { parentChart_ = Value; }

  bool Visible() const { return visible_; }
  // Stores and, with a parent chart, repaints on change.
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // A transparent shape draws its text only: no fill, no frame.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  // The fill colour (the brush's colour).
  TColor Color() const;
  void SetColor(TColor Value);
  TChartBrush* Brush() const { return brush_.get(); }
  TChartPen* Frame() const { return frame_.get(); }
  TLumFont* Font() const { return font_.get(); }
  // Created on first read; a visible gradient fills instead of the brush.
  TLumGradient* Gradient() const;
  TLumShadow* Shadow() const;
  TLumShapeStyle ShapeStyle() const { return shapeStyle_; }
  void SetShapeStyle(TLumShapeStyle Value);
  int RoundSize() const { return roundSize_; }
  void SetRoundSize(int Value);

  // The box of the last drawing (or as set by the owner before drawing).
  const TRect& ShapeBounds() const { return bounds_; }
  void SetShapeBounds(const TRect& Value) { bounds_ = Value; }
  int ShapeWidth() const { return bounds_.Width(); }
  int ShapeHeight() const { return bounds_.Height(); }

  // Shadow, fill and frame of Rect at depth Z on the chart's canvas (nothing when
  // transparent).
  void DrawRectRotated(TCanvas3D* Canvas, const TRect& Rect, int Z = 0);
  void Repaint();

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
  TNotifyEvent ChangeHandler() { return TNotifyEvent(this, &TLumCustomShape::Changed); }

private:
  TCustomAxisPanel* parentChart_;
  bool visible_ = true;
  bool transparent_ = false;
  TLumShapeStyle shapeStyle_ = fosRectangle;
  int roundSize_ = 16;
  std::unique_ptr<TChartBrush> brush_;
  std::unique_ptr<TChartPen> frame_;
  std::unique_ptr<TLumFont> font_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  TRect bounds_;
};
