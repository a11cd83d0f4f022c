// Tools that mark value ranges of one axis across the plot: a draggable line at a
// value, a filled band between two values whose edges are two such lines, and
// alternating bands between the axis' grid lines.
#pragma once
#include <memory>

#include "analysis/tools.h"
#include "canvas/filters.h"

enum TColorLineStyle : unsigned char { clCustom, clMaximum, clCenter, clMinimum };

class TColorLineTool;
using TColorLineToolOnDrag = TEvent<void(TColorLineTool* Sender)>;

class TColorLineTool : public TLumCustomToolAxis {
  DECLARE_CLASS(TColorLineTool, TLumCustomToolAxis)
public:
  explicit TColorLineTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TColorLineTool)

  bool AllowDrag() const { return allowDrag_; }
  void SetAllowDrag(bool Value) { allowDrag_ = Value; }
  bool DragRepaint() const { return dragRepaint_; }
  void SetDragRepaint(bool Value) { dragRepaint_ = Value; }
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool Value) { SetBooleanProperty(draw3D_, Value); }
  bool DrawBehind() const { return drawBehind_; }
  void SetDrawBehind(bool Value) { SetBooleanProperty(drawBehind_, Value); }
  bool NoLimitDrag() const { return noLimitDrag_; }
  void SetNoLimitDrag(bool Value) { noLimitDrag_ = Value; }
  TColorLineStyle Style() const { return style_; }
  void SetStyle(TColorLineStyle Value) { SetProperty(style_, Value); }
  double Value() const { return value_; }
  // Turns Style to clCustom (not while read from a stream). During a drag that
  // moves the line inverted it stores without repainting.
  void SetValue(double Value);

  bool Dragging() const { return dragging_; }
  // The chart to draw on when the line is in no chart's tool list (a band's edge).
  TCustomAxisPanel* OwnerChart() const { return ownerChart_; }
  void SetOwnerChart(TCustomAxisPanel* Value) { ownerChart_ = Value; }
  // The parent chart, else the owner chart.
  TCustomAxisPanel* Chart() const;

  TColorLineToolOnDrag OnBeginDragLine, OnDragLine, OnEndDragLine;
  // Told before OnEndDragLine (the band uses it).
  TColorLineToolOnDrag OnInternalEndDrag;

  // The value the line stands at by Style, kept inside the visible range when it
  // can be dragged and NoLimitDrag is off.
  double CalcValue() const;
  // Whether (X, Y) lies on the line: less than 3 pixels along the axis, inside the
  // plot rectangle across it.
  bool Clicked(int X, int Y) const;
  // The drawing before the series (Behind), after the chart (Front), or both.
  void DrawColorLine(bool Behind, bool Front);
  // Moved inverted: the paint leaves it out and draws it not-xor last.
  bool InvertedDrag() const { return dragging_ && !dragRepaint_; }
  // Draws both passes not-xor (a second call erases them).
  void DrawInverted();

  void Repaint() override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TColorBandTool;
  double Clamped(double Value) const;
  void DrawPasses(TCanvas3D* C, bool Behind, bool Front);
  void StopDrag();

  TToolLifeline life_;
  bool allowDrag_ = true;
  bool dragRepaint_ = false;
  bool draw3D_ = true;
  bool drawBehind_ = false;
  bool noLimitDrag_ = false;
  TColorLineStyle style_ = clCustom;
  double value_ = 0;
  bool dragging_ = false;
  TCustomAxisPanel* ownerChart_ = nullptr;
  bool edge_ = false;  // a band's edge: never joins a tool list
};

class TColorBandTool : public TLumCustomToolAxis {
  DECLARE_CLASS(TColorBandTool, TLumCustomToolAxis)
public:
  explicit TColorBandTool(TComponent* AOwner);
  ~TColorBandTool() override;
  LUM_TOOL_CLASS_TEXTS(TColorBandTool)

  TColor Color() const { return color_; }
  void SetColor(TColor Value) { SetColorProperty(color_, Value); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value) { cursor_ = Value; }
  bool DrawBehind() const { return drawBehind_; }
  void SetDrawBehind(bool Value) { SetBooleanProperty(drawBehind_, Value); }
  bool DrawBehindAxes() const { return drawBehindAxes_; }
  void SetDrawBehindAxes(bool Value) { SetBooleanProperty(drawBehindAxes_, Value); }
  double StartValue() const { return startValue_; }
  void SetStartValue(double Value);
  double EndValue() const { return endValue_; }
  void SetEndValue(double Value);
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value) { SetIntegerProperty(transparency_, Value); }
  // Created on first read; its changes repaint. Setting nullptr frees it.
  TLumPicture* Picture() const;
  void SetPicture(TLumPicture* Value);
  bool HasPicture() const { return bool(picture_); }
  TLumGradient* Gradient() const { return Brush()->Gradient(); }
  TChartPen* StartLinePen() const { return startLine_->Pen(); }
  TChartPen* EndLinePen() const { return endLine_->Pen(); }
  bool ResizeStart() const { return startLine_->Active(); }
  void SetResizeStart(bool Value);
  bool ResizeEnd() const { return endLine_->Active(); }
  void SetResizeEnd(bool Value);
  TColorLineTool* StartLine() const { return startLine_.get(); }
  TColorLineTool* EndLine() const { return endLine_.get(); }

  TMouseEvent OnClick;
  TNotifyEvent OnResized;

  // The band's rectangle in plot pixels (empty without an axis or outside the range).
  TRect BoundsRect() const;
  int Depth() const;
  // Whether (X, Y) lies inside the rectangle projected at the band's depth.
  bool Clicked(int X, int Y) const;

  void SetAxis(TChartAxis* Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);
  void Loaded() override;

private:
  void DrawBand();
  void LineDragged(TColorLineTool* Line);
  void LineDragEnded(TColorLineTool* Line);
  void CopyValuesToLines();

  TToolLifeline life_;
  TColor color_ = clWhite;
  TCursor cursor_ = crDefault;
  bool drawBehind_ = true;
  bool drawBehindAxes_ = false;
  double startValue_ = 0, endValue_ = 0;
  int transparency_ = 0;
  mutable std::unique_ptr<TLumPicture> picture_;
  std::unique_ptr<TColorLineTool> startLine_, endLine_;
};

// A band's brush: the chart brush with see-through.
class TGridBandBrush : public TChartBrush {
  DECLARE_CLASS(TGridBandBrush, TChartBrush)
public:
  explicit TGridBandBrush(TNotifyEvent OnChangeEvent = {});
  // Percent 0..100 of what lies under the band showing through.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int transparency_ = 0;
};

class TGridBandTool : public TLumCustomToolAxis {
  DECLARE_CLASS(TGridBandTool, TLumCustomToolAxis)
public:
  explicit TGridBandTool(TComponent* AOwner);
  // Unhooks from its axis.
  ~TGridBandTool() override;
  LUM_TOOL_CLASS_TEXTS(TGridBandTool)

  TGridBandBrush* Band1() const { return band1_.get(); }
  void SetBand1(TGridBandBrush* Value) { band1_->Assign(Value); }
  TGridBandBrush* Band2() const { return band2_.get(); }
  void SetBand2(TGridBandBrush* Value) { band2_->Assign(Value); }
  // Pixels across the plot the bands span (both 0: the plot rectangle).
  int SpanStart() const { return spanStart_; }
  int SpanEnd() const { return spanEnd_; }
  void SetSpan(int Start, int End);

  // Called by the axis before it draws its grid lines.
  void DrawGrid(TChartAxis* Sender);

  void SetAxis(TChartAxis* Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // Moves the hook to the tool's current axis.
  void Rehook();
  std::unique_ptr<TGridBandBrush> band1_, band2_;
  int spanStart_ = 0, spanEnd_ = 0;
  TChartAxis* hooked_ = nullptr;
};
