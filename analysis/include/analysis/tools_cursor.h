// The cursor tool: a horizontal line, a vertical line or both, optionally with a
// scope figure at the crossing, drawn XOR over the finished chart and dragged with
// the mouse; it can follow the mouse and snap to the nearest point of its series.
#pragma once
#include "analysis/tools.h"

enum TCursorToolStyle : unsigned char { cssHorizontal, cssVertical, cssBoth, cssScope, cssScopeOnly };
enum TScopeCursorStyle : unsigned char { scsRectangle, scsCircle, scsDiamond, scsEmpty, scsCamera };

class TCursorTool;
using TCursorToolChangeEvent = TEvent<void(TCursorTool* Sender, int x, int y, double XValue, double YValue,
                                           TChartSeries* Series, int ValueIndex)>;
using TCursorToolGetAxisRect = TEvent<void(TCursorTool* Sender, TRect& Rect)>;

class TCursorTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TCursorTool, TLumCustomToolSeries)
public:
  // Kept in the class: the memo's scroll-bar style has enumerators of the same
  // names, and both headers meet in one file. Outside the class the names are
  // written TCursorTool::ssHorizontal.
  enum TSnapStyle : unsigned char { ssDefault, ssHorizontal, ssVertical };

  explicit TCursorTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TCursorTool)

  int ClickTolerance() const { return clickTolerance_; }
  void SetClickTolerance(int Value) { clickTolerance_ = Value; }
  bool FollowMouse() const { return followMouse_; }
  void SetFollowMouse(bool Value) { followMouse_ = Value; }
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int Value) { SetIntegerProperty(horizSize_, Value); }
  int ScopeSize() const { return scopeSize_; }
  void SetScopeSize(int Value) { SetIntegerProperty(scopeSize_, Value); }
  TScopeCursorStyle ScopeStyle() const { return scopeStyle_; }
  void SetScopeStyle(TScopeCursorStyle Value) { SetProperty(scopeStyle_, Value); }
  bool Snap() const { return snap_; }
  void SetSnap(bool Value) { snap_ = Value; }
  TSnapStyle SnapStyle() const { return snapStyle_; }
  void SetSnapStyle(TSnapStyle Value) { snapStyle_ = Value; }
  TCursorToolStyle Style() const { return style_; }
  // Snaps again to the new lines before the repaint.
  void SetStyle(TCursorToolStyle Value);
  bool UseChartRect() const { return useChartRect_; }
  void SetUseChartRect(bool Value) { useChartRect_ = Value; }
  bool UseSeriesZ() const { return useSeriesZ_; }
  void SetUseSeriesZ(bool Value) { SetBooleanProperty(useSeriesZ_, Value); }
  int VertSize() const { return vertSize_; }
  void SetVertSize(int Value) { SetIntegerProperty(vertSize_, Value); }
  double XValue() const { return xValue_; }
  void SetXValue(double Value) { SetDoubleProperty(xValue_, Value); }
  double YValue() const { return yValue_; }
  void SetYValue(double Value) { SetDoubleProperty(yValue_, Value); }

  // Pixel position; -1 until the first paint places the cursor.
  int XPixel() const { return pixelX_; }
  int YPixel() const { return pixelY_; }
  // 0 none, 1 the horizontal line, 2 the vertical line, 3 the crossing.
  int Dragging() const { return dragging_; }

  TCursorToolChangeEvent OnChange;
  TCursorToolChangeEvent OnSnapChange;
  TCursorToolGetAxisRect OnGetAxisRect;

  void SetSeries(TChartSeries* Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // What lies under (X, Y): 0 nothing, 1 the horizontal line, 2 the vertical line,
  // 3 the crossing.
  int Clicked(int X, int Y);
  // The rectangle the lines span (axes or plot rectangle, then OnGetAxisRect).
  TRect GetAxisRect();
  // Index of the series point nearest the cursor's values (-1: none).
  int NearestPoint(TCursorToolStyle AStyle, double& Difference) const;
  // Snaps the values to the nearest point when snapping; the point's index or -1.
  int SnapToPoint();
  // Draws the lines XOR where they are (a second call erases them).
  void RedrawCursor();

  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  virtual void DoChange(int ValueIndex);

private:
  int Depth() const;
  // The line rectangle narrowed by HorizSize and VertSize around the cursor.
  TRect LimitedRect(const TRect& R) const;
  void CalcValuePositions(int X, int Y);
  void CalcScreenPositions();
  void DrawLines(TToolDrawing& D);
  bool Loading() const;

  TToolLifeline life_;
  int clickTolerance_ = 3;
  bool followMouse_ = false;
  int horizSize_ = 0;
  int scopeSize_ = 4;
  TScopeCursorStyle scopeStyle_ = scsRectangle;
  bool snap_ = false;
  TSnapStyle snapStyle_ = ssDefault;
  TCursorToolStyle style_ = cssBoth;
  bool useChartRect_ = false;
  bool useSeriesZ_ = false;
  int vertSize_ = 0;
  int dragging_ = 0;
  int lastSnap_ = -1;
  double xValue_ = 0, yValue_ = 0;
  int pixelX_ = -1, pixelY_ = -1;
};
using TSnapStyle = TCursorTool::TSnapStyle;
