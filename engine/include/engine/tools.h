// Chart tools: components attached to one chart that the chart tells about the
// stages of each drawing, about each series' drawing and about mouse and keys.
//
//   TLumCustomTool        the base: Active, Pen, Brush, ParentChart, the events
//   TLumCustomToolSeries  a tool linked to a series (and so to its axes)
//   TLumCustomToolAxis    a tool linked to an axis, streamed as its index "AxisID"
//   TChartTools           a chart's tool list, in the order tools joined it
//
// The chart hands events to the active tools in list order over a copy of the
// list, skipping tools that left it meanwhile, so a tool may free itself, another
// tool or series from inside an event. Mouse events stop at the first tool that
// sets the chart's CancelMouse.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/element.h"
#include "platform/forms.h"

class TChartAxis;
class TChartSeries;
class TChartTools;

// Chart events: the codes tools receive.
enum TChartToolEvent {
  cteAfterDraw = 0,         // the chart is drawn
  cteBeforeDrawSeries = 1,  // before the series (a series: before its values)
  cteAfterBackground = 2,   // the panel background is drawn
  cteBeforeDrawAxes = 3,    // before the grid and axes
  cteAfterDrawSeries = 4,   // after the series (a series: after its values)
  cteMouseLeave = 5,        // the mouse left the chart
};
enum TChartMouseEvent { cmeDown = 0, cmeMove = 1, cmeUp = 2 };
enum TChartKeyEvent { cekDown = 0, cekUp = 1 };

class TLumCustomTool : public TCustomChartElement {
  DECLARE_CLASS(TLumCustomTool, TCustomChartElement)
public:
  explicit TLumCustomTool(TComponent* AOwner);
  // Leaves its chart's tool list.
  ~TLumCustomTool() override;

  // Leaves the old chart's tool list and joins the new one's (at the end).
  void SetParentChart(TCustomAxisPanel* Value) override;

  bool ShowInEditor() const { return showInEditor_; }
  void SetShowInEditor(bool Value) { showInEditor_ = Value; }

  // What the gallery and the editor show of the tool's class.
  virtual std::string Description() const { return ""; }
  virtual std::string LongDescription() const { return ""; }
  virtual std::string EditorClassName() const { return ""; }

  virtual void ChartEvent(TChartToolEvent AEvent) { (void)AEvent; }
  virtual void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
    (void)AEvent, (void)Button, (void)Shift, (void)X, (void)Y;
  }
  // cteBeforeDrawSeries before a series draws its values, cteAfterDrawSeries after.
  virtual void SeriesEvent(TChartToolEvent AEvent, TChartSeries* Series) { (void)AEvent, (void)Series; }
  virtual void ChartKeyEvent(TChartKeyEvent AEvent, std::uint16_t& Key, TShiftState Shift) {
    (void)AEvent, (void)Key, (void)Shift;
  }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // The list of Chart the tool joins: its tool list; a kind of tool kept apart
  // (animations) answers its own.
  virtual TChartTools* ToolListOf(TCustomAxisPanel* Chart) const;

private:
  bool showInEditor_ = true;
  TChartTools* list_ = nullptr;  // the list joined, left again from the destructor
};

class TLumCustomToolSeries : public TLumCustomTool {
  DECLARE_CLASS(TLumCustomToolSeries, TLumCustomTool)
public:
  explicit TLumCustomToolSeries(TComponent* AOwner);
  ~TLumCustomToolSeries() override;

  TChartSeries* Series() const { return series_; }
  // Freeing the series sets it back to nullptr.
  virtual void SetSeries(TChartSeries* Value);
  // The series' axes; without a series the chart's bottom axis (the top one when
  // only that is in use) and left axis (likewise the right one).
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;

  std::string EditorClassName() const override { return "TSeriesToolEditor"; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TChartSeries* series_ = nullptr;
};

class TLumCustomToolAxis : public TLumCustomTool {
  DECLARE_CLASS(TLumCustomToolAxis, TLumCustomTool)
public:
  explicit TLumCustomToolAxis(TComponent* AOwner);

  TChartAxis* Axis() const { return axis_; }
  // Stores the axis, moves the tool to the axis' chart and repaints.
  virtual void SetAxis(TChartAxis* Value);
  // The axis' index in its chart's axes list (-1: none). Set before the tool has
  // a chart (a stream), the index is kept and resolved when the chart is set.
  int AxisID() const;
  void SetAxisID(int Value);

  void SetParentChart(TCustomAxisPanel* Value) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TChartAxis* axis_ = nullptr;
  int pendingAxisID_ = -1;
};

// A chart's tools. A persistent object so that streams and editors reach it by name.
class TChartTools : public TPersistent {
  DECLARE_CLASS(TChartTools, TPersistent)
public:
  explicit TChartTools(TCustomAxisPanel* AChart) : chart_(AChart) {}
  TCustomAxisPanel* ParentChart() const { return chart_; }
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TLumCustomTool* GetTool(int Index) const;
  TLumCustomTool* operator[](int Index) const { return GetTool(Index); }
  int IndexOf(const TLumCustomTool* Tool) const;
  // Sets the tool's ParentChart to this chart; answers the tool.
  TLumCustomTool* Add(TLumCustomTool* Tool);
  // Swaps the places of the tools at A and B (the order they hear events in);
  // EListError outside 0..Count-1.
  void Exchange(int A, int B);
  // Frees every tool.
  void Clear();
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  friend class TLumCustomTool;
  TCustomAxisPanel* chart_;
  std::vector<TLumCustomTool*> items_;
};
