// The chart data grid: the points of all series of a chart, or of one series, as
// rows of an editable grid - one row per point index, one column per value list of
// each series, with optional label, colour, X and visuals columns under a header of
// each series' symbol and title. Typing writes back into the series.
//
// TChartGridModel holds what needs no widget (layout, the column-to-series mapping,
// cell texts and the write-back); TCustomChartGrid puts it on the platform's draw
// grid. Grid3D shows one matrix series: column c holds the points whose X is
// c - 1 + Round(minimum X), data row r those whose Z is r - first data row +
// Round(minimum Z); the counts cover those ranges, so every point has a cell.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/listeners.h"
#include "platform/grids.h"

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;
class TChartGridNavigator;
class TLumGradient;
class TPopupMenu;

enum TChartGridShow { cgsAuto, cgsNo, cgsYes };

// What a column shows.
enum TChartGridColumn { gcIndex, gcLabel, gcColor, gcValue, gcVisuals, gcNone };

class TChartGridModel {
public:
  TCustomAxisPanel* Chart = nullptr;
  TChartSeries* Series = nullptr;  // a single series shown (its chart is Chart)
  bool ShowLabels = true, ShowColors = false, Grid3D = false, TwoHeaderRows = true;
  bool AllowNewSeries = false;
  TChartGridShow ShowXValues = cgsAuto, ShowVisuals = cgsAuto;

  // Results of Recalc.
  int ColCount = 1, RowCount = 2;
  std::vector<bool> XShown;       // per series of SeriesCount()
  TChartSeries* Matrix = nullptr;  // Grid3D: the series shown
  int MinX = 0, MinZ = 0;

  // A matrix (Grid3D) has two header rows and neither labels nor colours.
  int FirstRow() const { return TwoHeaderRows || Grid3D ? 2 : 1; }
  int LabelCol() const { return ShowLabels && !Grid3D ? (ShowColors ? 2 : 1) : -1; }
  int ColorCol() const { return ShowColors && !Grid3D ? 1 : -1; }
  int PointIndex(int ARow) const { return ARow - FirstRow(); }

  // The series shown: the single one, else the chart's (none without either).
  int SeriesCount() const;
  TChartSeries* SeriesAt(int Index) const;

  void Recalc();
  // The column's kind; for values and visuals its series and (values) list.
  TChartGridColumn Column(int ACol, TChartSeries** S = nullptr, TChartValueList** List = nullptr) const;
  // The first column of each series shown (where its header symbol goes).
  bool IsSeriesFirstColumn(int ACol) const;
  // Grid3D: the point at the cell, -1 when none.
  int MatrixPoint(int ACol, int ARow) const;
  // The point a data cell stands for in its series, -1 past the series' end.
  int CellPoint(int ACol, int ARow, TChartSeries** S = nullptr) const;
  std::string CellText(int ACol, int ARow) const;
  // A value cell whose point exists and is null (it still shows its number).
  bool IsNullCell(int ACol, int ARow) const;
  // The colour the colour cell of a data row shows; clNone when it has no point.
  TColor RowColor(int ARow) const;
  // Writes the text back. A text that is no number (or date) raises EConvertError
  // before anything changes. Editing: the editor is still open (an empty text then
  // does not null the point). Answers whether something was written.
  bool SetCellText(int ACol, int ARow, const std::string& Text, bool Editing = false);
  // A null point appended to every series shown; answers whether a row was added.
  bool InsertPoint();
  // Deletes the row's point of every series that has one.
  void DeleteRow(int ARow);
  // The series the current column writes to (the next column for the colour one).
  TChartSeries* SeriesOfColumn(int ACol) const;

private:
  void RecalcMatrix();
};

using TEditingCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, bool& Allow)>;

class TCustomChartGrid : public TDrawGrid, public ILumEventListener {
  DECLARE_CLASS(TCustomChartGrid, TDrawGrid)
public:
  explicit TCustomChartGrid(TComponent* AOwner);
  ~TCustomChartGrid() override;

  TCustomAxisPanel* Chart() const { return m_.Chart; }
  void SetChart(TCustomAxisPanel* Value);
  TChartSeries* Series() const { return m_.Series; }
  void SetSeries(TChartSeries* Value);
  const TChartGridModel& Model() const { return m_; }

  bool AllowNewSeries() const { return m_.AllowNewSeries; }
  void SetAllowNewSeries(bool Value) { m_.AllowNewSeries = Value; }
  bool AllowAppendRows() const { return allowAppendRows_; }
  void SetAllowAppendRows(bool Value) { allowAppendRows_ = Value; }
  bool ShowColors() const { return m_.ShowColors; }
  void SetShowColors(bool Value);
  bool ShowLabels() const { return m_.ShowLabels; }
  void SetShowLabels(bool Value);
  bool Grid3D() const { return m_.Grid3D; }
  void SetGrid3D(bool Value);
  bool AllowSeriesColor() const { return allowSeriesColor_; }
  void SetAllowSeriesColor(bool Value) { allowSeriesColor_ = Value; }
  TChartGridShow ShowVisuals() const { return m_.ShowVisuals; }
  void SetShowVisuals(TChartGridShow Value);
  TChartGridShow ShowXValues() const { return m_.ShowXValues; }
  void SetShowXValues(TChartGridShow Value);
  bool AllowEditSourced() const { return allowEditSourced_; }
  void SetAllowEditSourced(bool Value) { allowEditSourced_ = Value; }
  TLumGradient* Gradient();
  int FirstRow() const { return m_.FirstRow(); }
  TChartGridNavigator* Navigator() const { return navigator_; }
  void SetNavigator(TChartGridNavigator* Value);

  void RecalcDimensions();
  void Insert();
  void Delete();
  void EditColor();
  void SetCurrentColor(TColor Value);
  // F2 and the navigator's Edit: opens the editor where the cell may be edited.
  void StartEditing();
  // Enter (Cancel false) and Escape.
  void StopEditing(bool Cancel);
  // The row has a point the navigator's Delete can remove.
  bool RowHasPoint(int ARow) const;
  // The visuals menu while it exists.
  TPopupMenu* VisualsMenu() const { return visualsMenu_; }

  TNotifyEvent OnChangeColor;
  TEditingCellEvent OnEditingCell;
  // Fired after every change of state, and when the current cell changes.
  std::function<void()> OnChange;
  std::function<void(int ACol, int ARow)> OnChangeCell;

  void LumEvent(const TLumEvent& Event) override;
  void Loaded() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool CanEditShow() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void TopLeftChanged() override;

private:
  template <class T>
  void Relayout(T& Field, T Value);
  void Changed();
  void ResetCurrent();
  bool OnSymbol(int X, int Y, int ACol, int ARow) const;
  void ShowVisualsMenu(int ACol, int ARow);
  void ChooseVisual(TChartSeries* S, int Index);
  void SetPointColor(TChartSeries* S, int Index, TColor Value);
  void AppendRow();

  TChartGridModel m_;
  bool allowAppendRows_ = true;
  bool allowSeriesColor_ = true;
  bool allowEditSourced_ = false;
  std::unique_ptr<TLumGradient> gradient_;
  std::string savedText_;
  bool wasEmpty_ = false;
  TChartGridNavigator* navigator_ = nullptr;
  TPopupMenu* visualsMenu_ = nullptr;
  TCustomAxisPanel* seriesChart_ = nullptr;
  int menuSeriesIndex_ = -1;
  TChartSeries* menuSeries_ = nullptr;
  TPoint lastDown_{-1, -1};
};

class TChartGrid : public TCustomChartGrid {
  DECLARE_CLASS(TChartGrid, TCustomChartGrid)
public:
  explicit TChartGrid(TComponent* AOwner) : TCustomChartGrid(AOwner) {}
  static void DefineProperties(TPropertyTable& t);
};

// The grid and navigator classes for the class registry.
std::vector<TClass> ChartGridClasses();
