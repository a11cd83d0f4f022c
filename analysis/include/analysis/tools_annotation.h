// Annotations: a box with text anywhere over a chart (a corner, the centre, or a
// custom place in pixels or percent), optionally with a callout arrow to a point,
// drawn after the chart; and the rectangle tool, an annotation the user drags and
// resizes with the mouse.
#pragma once
#include <memory>
#include <string>

#include "analysis/tools.h"
#include "engine/marks.h"
#include "engine/shape.h"

using TLumUnits = TPanelMarginUnits;

class TLumShapePosition : public TLumCustomShapePosition {
  DECLARE_CLASS(TLumShapePosition, TLumCustomShapePosition)
public:
  explicit TLumShapePosition(TCustomAxisPanel* AOwner = nullptr) : TLumCustomShapePosition(AOwner) {}
};

// A positioned box with text, margins and alignment; the text is clipped to the box.
class TTextShape : public TLumShapePosition {
  DECLARE_CLASS(TTextShape, TLumShapePosition)
public:
  explicit TTextShape(TCustomAxisPanel* AOwner = nullptr);
  ~TTextShape() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) { StoreAndRepaint(autoSize_, Value); }
  bool ClipText() const { return clipText_; }
  void SetClipText(bool Value) { StoreAndRepaint(clipText_, Value); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value) { StoreAndRepaint(cursor_, Value); }
  TMargins* Margins() const { return margins_.get(); }
  void SetMargins(TMargins* Value) { margins_->Assign(Value); }
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment Value) { StoreAndRepaint(textAlignment_, Value); }
  // Lines are separated by CR.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value) { StoreAndRepaint(text_, Value); }

  // X of a row in Box (margins in pixels in Margin); selects the alignment.
  virtual int TextStartX(TCanvas3D* Canvas, const TRect& Box, const TRect& Margin);
  virtual void DrawTextLine(TCanvas3D* Canvas, int X, int Y, int Z, const std::string& Row);
  // The box (frame, fill, shadow) and the rows of Text, Z the rows' depth.
  void DrawTextShape(TCanvas3D* Canvas, const TRect& Box, int Z, int Offset);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TAnnotationTool;
  template <class T>
  void StoreAndRepaint(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
  }
  bool autoSize_ = true;
  bool clipText_ = true;
  TCursor cursor_ = crDefault;
  std::unique_ptr<TMargins> margins_;
  TAlignment textAlignment_ = taLeftJustify;
  std::string text_;
};

// The callout of an annotation: an arrow from the box to a point in pixels.
class TAnnotationCallout : public TCallout {
  DECLARE_CLASS(TAnnotationCallout, TCallout)
public:
  explicit TAnnotationCallout(TCustomAxisPanel* AChart = nullptr);
  int XPosition() const { return x_; }
  void SetXPosition(int Value) { StorePos(x_, Value); }
  int YPosition() const { return y_; }
  void SetYPosition(int Value) { StorePos(y_, Value); }
  int ZPosition() const { return z_; }
  void SetZPosition(int Value) { StorePos(z_, Value); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void StorePos(int& Field, int Value);
  int x_ = 0, y_ = 0, z_ = 0;
};

enum TAnnotationPosition { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom, ppCenter };

class TAnnotationTool;
using TAnnotationClick =
    TEvent<void(TAnnotationTool* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

class TAnnotationTool : public TLumCustomTool {
  DECLARE_CLASS(TAnnotationTool, TLumCustomTool)
public:
  explicit TAnnotationTool(TComponent* AOwner);
  ~TAnnotationTool() override;
  LUM_TOOL_CLASS_TEXTS(TAnnotationTool)

  TAnnotationCallout* Callout() const { return callout_.get(); }
  void SetCallout(TAnnotationCallout* Value) { callout_->Assign(Value); }
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool Value) { SetBooleanProperty(draw3D_, Value); }
  TAnnotationPosition Position() const { return position_; }
  // Also switches the shape's custom position off.
  void SetPosition(TAnnotationPosition Value);
  TLumUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TLumUnits Value) { SetProperty(positionUnits_, Value); }
  TTextShape* Shape() const { return shape_.get(); }
  void SetShape(TTextShape* Value) { shape_->Assign(Value); }
  int Z() const { return z_; }
  void SetZ(int Value) { SetIntegerProperty(z_, Value); }

  // Forwarders to the shape.
  const std::string& Text() const { return shape_->Text(); }
  void SetText(const std::string& Value) { shape_->SetText(Value); }
  TAlignment TextAlignment() const { return shape_->TextAlignment(); }
  void SetTextAlignment(TAlignment Value) { shape_->SetTextAlignment(Value); }
  bool AutoSize() const { return shape_->AutoSize(); }
  void SetAutoSize(bool Value) { shape_->SetAutoSize(Value); }
  bool ClipText() const { return shape_->ClipText(); }
  void SetClipText(bool Value) { shape_->SetClipText(Value); }
  TCursor Cursor() const { return shape_->Cursor(); }
  void SetCursor(TCursor Value) { shape_->cursor_ = Value; }
  int Left() const { return shape_->Left(); }
  void SetLeft(int Value);
  int Top() const { return shape_->Top(); }
  void SetTop(int Value);
  // The box's size, edges included; setting a new one turns AutoSize off.
  int Width() const;
  void SetWidth(int Value);
  int Height() const;
  void SetHeight(int Value);

  TNotifyEvent OnAfterDraw, OnBeforeDraw;
  TAnnotationClick OnClick, OnDblClick;

  // Lines of Text (CR-separated): the widest line's width, lines x font height.
  virtual void CalcTextSize(const std::string& AText, int& AWidth, int& AHeight, int& ALines);
  virtual void DrawText();
  virtual int TextOffset() const { return 0; }
  virtual std::string GetText() const { return shape_->Text(); }
  // The box (edges included), the text origin and the number of lines; an empty box
  // without a chart.
  virtual TRect GetShapeBounds(TPoint& TextOrigin, int& Lines);
  // Whether (X, Y) lies on the box.
  bool Clicked(int X, int Y);

  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Answers whether the tool still exists.
  bool AnnotationMouse(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Sets the box, edges included.
  void SetBox(const TRect& Box);
  TToolLifeline life_;

private:
  std::unique_ptr<TTextShape> shape_;
  std::unique_ptr<TAnnotationCallout> callout_;
  bool draw3D_ = false;
  TAnnotationPosition position_ = ppLeftTop;
  TLumUnits positionUnits_ = muPixels;
  int z_ = 0;
};

class TRectangleTool : public TAnnotationTool {
  DECLARE_CLASS(TRectangleTool, TAnnotationTool)
public:
  explicit TRectangleTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TRectangleTool)

  bool AllowDrag() const { return allowDrag_; }
  void SetAllowDrag(bool Value) { allowDrag_ = Value; }
  bool AllowResize() const { return allowResize_; }
  void SetAllowResize(bool Value) { allowResize_ = Value; }
  TNotifyEvent OnDragged, OnDragging, OnResized, OnResizing;

  // -1 off the box; 0 left, 1 top, 2 right, 3 bottom, 4 top left, 5 bottom left,
  // 6 top right, 7 bottom right.
  int ClickedZone(int X, int Y);
  bool IsDragging() const { return dragging_; }
  int ResizeZone() const { return zone_; }

  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // Left, Top in the position units from pixels.
  void PlaceAt(int X, int Y);
  bool allowDrag_ = true, allowResize_ = true;
  int offX_ = 0, offY_ = 0;
  bool dragging_ = false;
  int zone_ = -1;
};
