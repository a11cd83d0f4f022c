// Tools that follow the mouse over series points and marks: the nearest point
// highlighted (a figure and a line from the mouse), the mark text of the point
// under the mouse as the chart's hint, and marks dragged to places of their own.
#pragma once
#include <memory>
#include <string>

#include "analysis/tools.h"
#include "engine/marks.h"
#include "platform/compwatch.h"

enum TNearestToolStyle : unsigned char { hsNone, hsCircle, hsRectangle, hsDiamond, hsSeries };

class TNearestTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TNearestTool, TLumCustomToolSeries)
public:
  explicit TNearestTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TNearestTool)

  // On: repaint the chart on each change; off: draw and erase the highlight not-XOR.
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool Value) { fullRepaint_ = Value; }
  TChartPen* LinePen() const { return linePen_.get(); }
  void SetLinePen(TChartPen* Value) { linePen_->Assign(Value); }
  bool DrawLine() const { return linePen_->Visible(); }
  void SetDrawLine(bool Value) { linePen_->SetVisible(Value); }
  // Half-size of the figure in pixels.
  int Size() const { return size_; }
  void SetSize(int Value) { SetIntegerProperty(size_, Value); }
  TNearestToolStyle Style() const { return style_; }
  void SetStyle(TNearestToolStyle Value) { SetProperty(style_, Value); }
  // Index of the point highlighted; -1 none.
  int Point() const { return point_; }
  void SetPoint(int Value) { point_ = Value; }
  TPoint MousePoint() const { return mouse_; }

  TNotifyEvent OnChange;

  // The point of Series nearest (X, Y): the series' own hit first, else the nearest
  // visible point by rounded pixel distance (the first of equals); in 2D only points
  // inside the plot count. -1 when none.
  static int GetNearestPoint(TChartSeries* Series, int X, int Y);
  // Draws the highlight where it is (without FullRepaint a second call erases it).
  void PaintHint();

  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void DrawHint(TToolDrawing& D);

  TToolLifeline life_;
  bool fullRepaint_ = true;
  std::unique_ptr<TChartPen> linePen_;
  int size_ = 20;
  TNearestToolStyle style_ = hsCircle;
  TPoint mouse_{0, 0};
  int point_ = -1;
};

enum TMarkToolMouseAction : unsigned char { mtmMove, mtmClick };

class TMarksTipTool;
using TMarksTipGetText = TEvent<void(TMarksTipTool* Sender, std::string& Text)>;

class TMarksTipTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TMarksTipTool, TLumCustomToolSeries)
public:
  explicit TMarksTipTool(TComponent* AOwner);
  ~TMarksTipTool() override;
  LUM_TOOL_CLASS_TEXTS(TMarksTipTool)

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TMarkToolMouseAction MouseAction() const { return mouseAction_; }
  // Stores and withdraws any tip.
  void SetMouseAction(TMarkToolMouseAction Value);
  // The mark style the tip texts are made by.
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle Value) { style_ = Value; }
  // The application's hint pause and hide pause (shared by every hint).
  int MouseDelay() const;
  void SetMouseDelay(int Value);
  int HideDelay() const;
  void SetHideDelay(int Value);

  TNotifyEvent OnCancelHint;
  TMarksTipGetText OnGetText;

  // The tip of a point: its mark text by Style, then OnGetText. The series' marks
  // style and the chart's AutoRepaint come back even when OnGetText raises.
  std::string GetTipText(TChartSeries* ASeries, int ValueIndex);
  // The control whose hint shows the tips: the series' chart, else the tool's.
  TCustomAxisPanel* HintHost() const;

  // Switched off, the tip is withdrawn.
  void SetActive(bool Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void CancelTip();
  void ShowTip(TChartSeries* ASeries, int ValueIndex, int X, int Y);
  // The tips of every visible point, for a canvas that keeps them.
  void PassHints(class ILumCanvasHints* Hints);

  TToolLifeline life_;
  std::unique_ptr<TFont> font_;
  TMarkToolMouseAction mouseAction_ = mtmMove;
  TSeriesMarksStyle style_ = smsLabel;
};

class TDragMarksTool;
using TDragMarkEvent =
    TEvent<void(TDragMarksTool* Sender, int Index, TMouseButton Button, TShiftState Shift, int X, int Y)>;

class TDragMarksTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TDragMarksTool, TLumCustomToolSeries)
public:
  explicit TDragMarksTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TDragMarksTool)

  TDragMarkEvent OnDraggedMark;
  TDragMarkEvent OnDraggingMark;

  // The mark being dragged (-1 none) and its series.
  int DragIndex() const { return index_; }
  TChartSeries* DragSeries() const { return dragSeries_.Get(); }

  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // The series and index of the visible mark under (X, Y): the linked series, else
  // the chart's active series from the last; -1 none.
  int FindMark(int X, int Y, TChartSeries*& ASeries) const;

  TToolLifeline life_;
  TPoint last_{0, 0};
  int index_ = -1;
  TComponentRef<TChartSeries> dragSeries_;
};
