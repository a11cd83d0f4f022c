// The draw line tool: the user drags lines, pairs of parallel lines, rectangles and
// ellipses over a chart, selects one and moves it whole or by an end's handle. Lines
// are kept in axis values, so they follow zooming and scrolling; while the mouse
// moves, the moving line is drawn in an inverting pen and erased by drawing it again.
#pragma once
#include <memory>

#include "analysis/tools.h"
#include "engine/helpers.h"
#include "platform/collections.h"

enum TDrawLineStyle : unsigned char { dlLine, dlHorizParallel, dlVertParallel, dlRectangle, dlEllipse };

class TDrawLineTool;
class TDrawLines;

class TDrawLine : public TCollectionItem {
  DECLARE_CLASS(TDrawLine, TCollectionItem)
public:
  TDrawLine() = default;
  // Clears the tool's selection first when it is this line.
  ~TDrawLine() override;

  double X0() const { return start_.X; }
  void SetX0(double Value) { Store(start_.X, Value); }
  double Y0() const { return start_.Y; }
  void SetY0(double Value) { Store(start_.Y, Value); }
  double X1() const { return end_.X; }
  void SetX1(double Value) { Store(end_.X, Value); }
  double Y1() const { return end_.Y; }
  void SetY1(double Value) { Store(end_.Y, Value); }
  const TFloatPoint& StartPos() const { return start_; }
  void SetStartPos(const TFloatPoint& Value);
  const TFloatPoint& EndPos() const { return end_; }
  void SetEndPos(const TFloatPoint& Value);
  TDrawLineStyle Style() const { return style_; }
  void SetStyle(TDrawLineStyle Value);
  // The line's own pen, made on first read as a copy of the tool's pen.
  TChartPen* Pen() const;
  bool HasOwnPen() const { return pen_ != nullptr; }
  // A pen is assigned into the own pen; nullptr frees it (the tool's pen again).
  void SetPen(TChartPen* Value);

  TDrawLineTool* Tool() const;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TDrawLineTool;
  void Store(double& Field, double Value);
  void Repaint();
  TFloatPoint start_, end_;
  TDrawLineStyle style_ = dlLine;
  mutable std::unique_ptr<TChartPen> pen_;
};

class TDrawLines : public TCollection {
  DECLARE_CLASS(TDrawLines, TCollection)
public:
  explicit TDrawLines(TDrawLineTool* Owner = nullptr) : TCollection(TDrawLine::StaticClass()), tool_(Owner) {}
  TDrawLineTool* Tool() const { return tool_; }
  TDrawLine* Line(int Index) const { return static_cast<TDrawLine*>(Items(Index)); }
  TDrawLine* AddLine() { return static_cast<TDrawLine*>(Add()); }

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDrawLineTool* tool_;
};

using TDrawLineSelecting = TEvent<void(TDrawLineTool* Sender, TDrawLine* Line, bool& AllowSelect)>;

class TDrawLineTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TDrawLineTool, TLumCustomToolSeries)
public:
  explicit TDrawLineTool(TComponent* AOwner);
  ~TDrawLineTool() override;
  LUM_TOOL_CLASS_TEXTS(TDrawLineTool)

  TMouseButton Button() const { return button_; }
  void SetButton(TMouseButton Value) { button_ = Value; }
  int ClickTolerance() const { return clickTolerance_; }
  void SetClickTolerance(int Value) { clickTolerance_ = Value; }
  bool EnableDraw() const { return enableDraw_; }
  void SetEnableDraw(bool Value) { enableDraw_ = Value; }
  bool EnableSelect() const { return enableSelect_; }
  // Off clears the selection and repaints.
  void SetEnableSelect(bool Value);
  TDrawLines* Lines() const { return lines_.get(); }
  void SetLines(TDrawLines* Value) { lines_->Assign(Value); }
  bool SelectNewLines() const { return selectNewLines_; }
  void SetSelectNewLines(bool Value) { selectNewLines_ = Value; }
  TDrawLineStyle Style() const { return style_; }
  void SetStyle(TDrawLineStyle Value) { style_ = Value; }
  TDrawLine* Selected() const { return selected_; }
  // Selects the line (nullptr: none) and repaints.
  void SetSelected(TDrawLine* Value);
  bool Drawing() const { return drawing_; }
  // 0 none, 1 the start point, 2 the end point, 3 the whole line.
  int DragPart() const { return dragPart_; }

  TNotifyEvent OnDraggedLine, OnDragLine, OnNewLine, OnSelect;
  TDrawLineSelecting OnSelecting;

  // Pixels of a value point through the tool's axes, and back.
  TPoint AxisPoint(const TFloatPoint& P) const;
  TFloatPoint ScreenPoint(const TPoint& P) const;
  // The line under (X, Y): bodies (selected line first), then start handles, then end
  // handles; nullptr for none.
  TDrawLine* Clicked(int X, int Y);
  // Whether P hits Line: Mode 0 its body within ClickTolerance, 1 its start handle,
  // 2 its end handle.
  bool InternalClicked(TDrawLine* Line, int Mode, const TPoint& P) const;

  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton AButton, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TDrawLine;
  void DrawFigure(TCanvas3D* C, const TPoint& S, const TPoint& E, TDrawLineStyle AStyle) const;
  // The line being drawn or dragged, inverted over the shown picture.
  void DrawMoving();
  TChartPen* PenOf(TDrawLine* Line) const { return Line && Line->pen_ ? Line->pen_.get() : Pen(); }

  TToolLifeline life_;
  TMouseButton button_ = mbLeft;
  int clickTolerance_ = 0;
  bool enableDraw_ = true, enableSelect_ = true, selectNewLines_ = true;
  TDrawLineStyle style_ = dlLine;
  std::unique_ptr<TDrawLines> lines_;
  bool drawing_ = false, dragged_ = false;
  TPoint lastPoint_{};
  TDrawLine* selected_ = nullptr;
  int dragPart_ = 0;
  TPoint fromPoint_{}, toPoint_{};
};
