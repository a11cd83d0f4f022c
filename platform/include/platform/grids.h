// The draw grid and the string grid: cells in rows and columns, the first
// FixedRows rows and FixedCols columns fixed (they do not scroll), painted on the
// grid's canvas through DrawCell.
//
// Coordinates: CellRect, MouseToCell and the mouse work in the control's own
// coordinates; the cells start inside a 2-pixel sunken border. A column or row of
// width or height 0 or less is hidden.
//
// The current cell (Col, Row) is a non-fixed cell. A grid with no non-fixed row or
// no shown non-fixed column has no current cell (HasCurrentCell): it shows only its
// frame and edits nothing. Moving the current cell asks SelectCell (and
// OnSelectCell), which may refuse; setting Col or Row by code asks it too (outside
// the grid: EInvalidOperation). TopLeftChanged fires whenever TopRow or LeftCol
// change, by scrolling or by code.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"

// Options of a grid, one bit each.
using TGridOptions = unsigned;
constexpr TGridOptions goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2,
                       goHorzLine = 1u << 3, goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5,
                       goRowSizing = 1u << 6, goColSizing = 1u << 7, goRowMoving = 1u << 8,
                       goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11, goRowSelect = 1u << 12,
                       goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14;

using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2;

struct TGridCoord {
  int X = 0, Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};
// Left, Top, Right, Bottom as column and row numbers, inclusive.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

using TDrawCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

class TEdit;

// The grid. Keys: arrows move the current cell, Tab and Shift+Tab (goTabs) move
// along the row and wrap to the next or previous row, Home and End go to the first
// and last column (Ctrl: the first and last row), Page Up and Page Down move by a
// screenful of rows. With goEditing, F2, Enter or a typed character start the
// in-place editor where CanEditShow allows; Enter ends it keeping the text
// (SetEditText), Escape ends it restoring the cell's text. The grid claims the arrow
// keys and, with goTabs, Tab.
// Mouse: a click makes the cell under it current (fixed cells excepted); dragging a
// line between fixed cells resizes the column (goColSizing) or row (goRowSizing).
class TCustomGrid : public TCustomControl {
  DECLARE_CLASS(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  int ColCount() const { return int(colWidths_.size()); }
  void SetColCount(int Value);
  int RowCount() const { return int(rowHeights_.size()); }
  void SetRowCount(int Value);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int Value);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int Value);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int Value);
  // EListError outside the columns or rows.
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int Value);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions Value);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor Value);

  int Col() const { return cur_.X; }
  void SetCol(int Value) { MoveCurrent(Value, cur_.Y, true); }
  int Row() const { return cur_.Y; }
  void SetRow(int Value) { MoveCurrent(cur_.X, Value, true); }
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  // Whether the grid has a current cell (a non-fixed row and a shown non-fixed column).
  bool HasCurrentCell() const;

  int TopRow() const { return topRow_; }
  void SetTopRow(int Value);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int Value);
  // Non-fixed rows and columns that fit wholly from TopRow and LeftCol (at least 1).
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // The cell's rectangle in control coordinates; empty when it does not show.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under the point; (-1, -1) outside the cells.
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

  // The in-place editor.
  bool EditorMode() const { return editorMode_; }
  void SetEditorMode(bool Value);
  void ShowEditor() { SetEditorMode(true); }
  void HideEditor() { SetEditorMode(false); }
  // The editor while it exists (nullptr before the first edit).
  TEdit* InplaceEditor() const { return editor_; }

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TNotifyEvent OnTopLeftChanged;

  static void DefineProperties(TPropertyTable& t);

  struct Bars;

protected:
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  virtual bool SelectCell(int ACol, int ARow);
  virtual bool CanEditShow();
  virtual std::string GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const std::string& Value);
  virtual void TopLeftChanged();
  // After the sizes of columns or rows changed.
  virtual void SizeChanged(int OldColCount, int OldRowCount) { (void)OldColCount; (void)OldRowCount; }

  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  // Repaints one cell.
  void InvalidateCell(int ACol, int ARow);
  // True while the editor's text is handed to SetEditText as it closes (not as it
  // is typed).
  bool Committing() const { return committing_; }

private:
  // Moves the current cell when SelectCell allows; Ask false skips nothing.
  bool MoveCurrent(int ACol, int ARow, bool FromCode);
  // Keeps TopRow and LeftCol where the last rows and columns fill the grid.
  void ClampScroll(bool Fire = true);
  void ScrollToCurrent();
  void UpdateScrollBars();
  void PlaceEditor();
  void EndEdit(bool Keep);
  bool CanEdit() const;
  int NextShownCol(int From, int Step) const;
  int NextShownRow(int From, int Step) const;
  int FirstFreeCol() const { return NextShownCol(fixedCols_ - 1, 1); }
  int FirstFreeRow() const { return NextShownRow(fixedRows_ - 1, 1); }
  int ColLeft(int ACol) const;
  int RowTop(int ARow) const;
  void SizeAll();

  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  int fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24;
  int gridLineWidth_ = 1;
  TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TColor fixedColor_ = clBtnFace;
  TGridCoord cur_{1, 1};
  TGridCoord anchor_{1, 1};
  int topRow_ = 1, leftCol_ = 1;
  bool editorMode_ = false;
  std::string savedText_;
  TEdit* editor_ = nullptr;
  bool ending_ = false;
  bool committing_ = false;
  // Sizing with the mouse: which line (column or row) and from where.
  enum { sizeNone, sizeCol, sizeRow } sizing_ = sizeNone;
  int sizingIndex_ = -1, sizingStart_ = 0, sizingOrig_ = 0;
  bool selecting_ = false;
  std::unique_ptr<Bars> bars_;
};

// A grid that draws through OnDrawCell and edits through OnGetEditText and
// OnSetEditText.
class TDrawGrid : public TCustomGrid {
  DECLARE_CLASS(TDrawGrid, TCustomGrid)
public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
};

// A grid holding a string and an object per cell; cells draw their text at
// (left + 2, top + 2) unless OnDrawCell draws them.
class TStringGrid : public TDrawGrid {
  DECLARE_CLASS(TStringGrid, TDrawGrid)
public:
  explicit TStringGrid(TComponent* AOwner);
  // Empty (nullptr) outside the grid; writing there raises EListError.
  std::string Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string& Value);
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;

private:
  struct TCell {
    std::string Text;
    TObject* Object = nullptr;
  };
  std::vector<std::vector<TCell>> cells_;  // [row][col]
};
