// The draw grid and the string grid, painted on their canvas; only the rows and
// columns that show are visited, so the size of the grid costs nothing per paint.
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "forms_impl.h"
#include "lists_impl.h"
#include "platform/grids.h"
#include "platform/rtl.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

constexpr int kBorder = 2;
constexpr int kBarSize = 16;
constexpr int kSizingSlack = 3;
constexpr TColor kLineColor = 0xC0C0C0;

[[noreturn]] void GridIndexError() { throw EInvalidOperation("Grid index out of range"); }

}  // namespace

struct TCustomGrid::Bars {
  QScrollBar* Vert = nullptr;
  QScrollBar* Horz = nullptr;
};

IMPLEMENT_CLASS_PROPS(TCustomGrid, TCustomControl)

void TCustomGrid::DefineProperties(TPropertyTable& t) {
  t.Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default(5LL);
  t.Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default(5LL);
  t.Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(1LL);
  t.Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(1LL);
  t.Int("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth).Default(64LL);
  t.Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight).Default(24LL);
  t.Int("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth).Default(1LL);
  t.Int("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions)
      .Default(static_cast<long long>(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect));
  t.Color("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor).Default(static_cast<long long>(clBtnFace));
  t.Event("OnDrawCell", &TCustomGrid::OnDrawCell);
  t.Event("OnSelectCell", &TCustomGrid::OnSelectCell);
  t.Event("OnGetEditText", &TCustomGrid::OnGetEditText);
  t.Event("OnSetEditText", &TCustomGrid::OnSetEditText);
  t.Event("OnTopLeftChanged", &TCustomGrid::OnTopLeftChanged);
}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner), bars_(std::make_unique<Bars>()) {
  colWidths_.assign(5, defaultColWidth_);
  rowHeights_.assign(5, defaultRowHeight_);
  SetBounds(0, 0, 320, 120);
  MakeFocusable(this);
  bars_->Vert = AddScrollBar(this, Qt::Vertical, [this](int v) { SetTopRow(v); });
  bars_->Horz = AddScrollBar(this, Qt::Horizontal, [this](int v) { SetLeftCol(v); });
  UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() = default;

// ---------------------------------------------------------------------------
// Sizes.

void TCustomGrid::SizeAll() {
  if (fixedCols_ >= ColCount()) fixedCols_ = std::max(0, ColCount() - 1);
  if (fixedRows_ >= RowCount()) fixedRows_ = std::max(0, RowCount() - 1);
  cur_.X = std::clamp(cur_.X, fixedCols_, std::max(fixedCols_, ColCount() - 1));
  cur_.Y = std::clamp(cur_.Y, fixedRows_, std::max(fixedRows_, RowCount() - 1));
  if (cur_.X < ColCount() && colWidths_[size_t(cur_.X)] <= 0) {
    int c = FirstFreeCol();
    if (c < ColCount()) cur_.X = c;
  }
  anchor_ = cur_;
  ClampScroll();
  UpdateScrollBars();
  if (editorMode_) {
    if (!CanEditShow()) EndEdit(false);
    else PlaceEditor();
  }
  Invalidate();
}

void TCustomGrid::SetColCount(int Value) {
  Value = std::max(1, Value);
  if (Value == ColCount()) return;
  const int oldCols = ColCount();
  colWidths_.resize(size_t(Value), defaultColWidth_);
  SizeChanged(oldCols, RowCount());
  SizeAll();
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::max(1, Value);
  if (Value == RowCount()) return;
  const int oldRows = RowCount();
  rowHeights_.resize(size_t(Value), defaultRowHeight_);
  SizeChanged(ColCount(), oldRows);
  SizeAll();
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0 || Value >= ColCount()) throw EInvalidOperation("Fixed column count must be less than column count");
  fixedCols_ = Value;
  if (cur_.X < Value) cur_.X = Value;
  if (leftCol_ < Value) leftCol_ = Value;
  SizeAll();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0 || Value >= RowCount()) throw EInvalidOperation("Fixed row count must be less than row count");
  fixedRows_ = Value;
  if (cur_.Y < Value) cur_.Y = Value;
  if (topRow_ < Value) topRow_ = Value;
  SizeAll();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  defaultColWidth_ = Value;
  std::fill(colWidths_.begin(), colWidths_.end(), Value);
  SizeAll();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  defaultRowHeight_ = Value;
  std::fill(rowHeights_.begin(), rowHeights_.end(), Value);
  SizeAll();
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= ColCount()) ListIndexError(Index);
  return colWidths_[size_t(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (ColWidths(Index) == Value) return;
  colWidths_[size_t(Index)] = Value;
  SizeAll();
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= RowCount()) ListIndexError(Index);
  return rowHeights_[size_t(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (RowHeights(Index) == Value) return;
  rowHeights_[size_t(Index)] = Value;
  SizeAll();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == gridLineWidth_) return;
  gridLineWidth_ = Value;
  SizeAll();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value == options_) return;
  options_ = Value;
  if (editorMode_ && !CanEditShow()) EndEdit(true);
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == fixedColor_) return;
  fixedColor_ = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Geometry.

int TCustomGrid::NextShownCol(int From, int Step) const {
  for (int c = From + Step; c >= fixedCols_ && c < ColCount(); c += Step)
    if (colWidths_[size_t(c)] > 0) return c;
  return Step > 0 ? ColCount() : -1;
}

int TCustomGrid::NextShownRow(int From, int Step) const {
  for (int r = From + Step; r >= fixedRows_ && r < RowCount(); r += Step)
    if (rowHeights_[size_t(r)] > 0) return r;
  return Step > 0 ? RowCount() : -1;
}

bool TCustomGrid::HasCurrentCell() const { return FirstFreeCol() < ColCount() && FirstFreeRow() < RowCount(); }

namespace {

// The part of the client that cells use, and the space the bars take.
struct TGridArea {
  int Right, Bottom;
};

int Extent(const std::vector<int>& Sizes, int From, int To, int Line) {
  int e = 0;
  for (int i = From; i < To; ++i)
    if (Sizes[size_t(i)] > 0) e += Sizes[size_t(i)] + Line;
  return e;
}

// The first index from which the rest of the sizes fits into Space.
int LastStart(const std::vector<int>& Sizes, int Fixed, int Space, int Line) {
  int used = 0;
  int start = int(Sizes.size());
  for (int i = int(Sizes.size()) - 1; i >= Fixed; --i) {
    int s = Sizes[size_t(i)] > 0 ? Sizes[size_t(i)] + Line : 0;
    if (used + s > Space) break;
    used += s;
    start = i;
  }
  return std::max(Fixed, std::min(start, int(Sizes.size()) - 1));
}

}  // namespace

int TCustomGrid::ColLeft(int ACol) const {
  if (ACol < fixedCols_) return kBorder + Extent(colWidths_, 0, ACol, gridLineWidth_);
  return kBorder + Extent(colWidths_, 0, fixedCols_, gridLineWidth_) + Extent(colWidths_, leftCol_, ACol, gridLineWidth_);
}

int TCustomGrid::RowTop(int ARow) const {
  if (ARow < fixedRows_) return kBorder + Extent(rowHeights_, 0, ARow, gridLineWidth_);
  return kBorder + Extent(rowHeights_, 0, fixedRows_, gridLineWidth_) + Extent(rowHeights_, topRow_, ARow, gridLineWidth_);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return {};
  if ((ACol >= fixedCols_ && ACol < leftCol_) || (ARow >= fixedRows_ && ARow < topRow_)) return {};
  const int w = colWidths_[size_t(ACol)], h = rowHeights_[size_t(ARow)];
  if (w <= 0 || h <= 0) return {};
  const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  // Rows below the visible part are not added up one by one.
  int top = kBorder + Extent(rowHeights_, 0, std::min(ARow, fixedRows_), gridLineWidth_);
  if (ARow >= fixedRows_)
    for (int r = topRow_; r < ARow; ++r) {
      if (rowHeights_[size_t(r)] > 0) top += rowHeights_[size_t(r)] + gridLineWidth_;
      if (top >= bottom) return {};
    }
  const int left = ColLeft(ACol);
  if (left >= right || top >= bottom) return {};
  return Rect(left, top, left + w, top + h);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  if (X < kBorder || Y < kBorder || X >= right || Y >= bottom) return {-1, -1};
  auto find = [&](const std::vector<int>& sizes, int fixed, int first, int pos, int limit) {
    int p = kBorder;
    for (int i = 0; i < int(sizes.size()) && p < limit; ++i) {
      if (i >= fixed && i < first) continue;
      if (sizes[size_t(i)] <= 0) continue;
      int next = p + sizes[size_t(i)] + gridLineWidth_;
      if (pos < next) return i;
      p = next;
    }
    return -1;
  };
  TGridCoord c{find(colWidths_, fixedCols_, leftCol_, X, right), find(rowHeights_, fixedRows_, topRow_, Y, bottom)};
  if (c.X < 0 || c.Y < 0) return {-1, -1};
  return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

int TCustomGrid::VisibleRowCount() const {
  const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  int y = kBorder + Extent(rowHeights_, 0, fixedRows_, gridLineWidth_);
  int n = 0;
  for (int r = topRow_; r < RowCount(); ++r) {
    if (rowHeights_[size_t(r)] <= 0) continue;
    y += rowHeights_[size_t(r)] + gridLineWidth_;
    if (y > bottom + gridLineWidth_) break;
    ++n;
  }
  return std::max(1, n);
}

int TCustomGrid::VisibleColCount() const {
  const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  int x = kBorder + Extent(colWidths_, 0, fixedCols_, gridLineWidth_);
  int n = 0;
  for (int c = leftCol_; c < ColCount(); ++c) {
    if (colWidths_[size_t(c)] <= 0) continue;
    x += colWidths_[size_t(c)] + gridLineWidth_;
    if (x > right + gridLineWidth_) break;
    ++n;
  }
  return std::max(1, n);
}

// ---------------------------------------------------------------------------
// Scrolling.

void TCustomGrid::ClampScroll(bool Fire) {
  const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  const int rowSpace = bottom - kBorder - Extent(rowHeights_, 0, fixedRows_, gridLineWidth_) + gridLineWidth_;
  const int colSpace = right - kBorder - Extent(colWidths_, 0, fixedCols_, gridLineWidth_) + gridLineWidth_;
  const int maxTop = LastStart(rowHeights_, fixedRows_, rowSpace, gridLineWidth_);
  const int maxLeft = LastStart(colWidths_, fixedCols_, colSpace, gridLineWidth_);
  const int top = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, maxTop));
  const int left = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, maxLeft));
  if (top != topRow_ || left != leftCol_) {
    topRow_ = top;
    leftCol_ = left;
    if (Fire) TopLeftChanged();
  }
}

void TCustomGrid::UpdateScrollBars() {
  if (!bars_ || !bars_->Vert) return;
  QScrollBar* v = bars_->Vert;
  QScrollBar* h = bars_->Horz;
  const int fullBottom = Height() - kBorder, fullRight = Width() - kBorder;
  auto need = [&](bool vert, bool otherShown) {
    if (vert) {
      int space = fullBottom - (otherShown ? kBarSize : 0) - kBorder - Extent(rowHeights_, 0, fixedRows_, gridLineWidth_) +
                  gridLineWidth_;
      return LastStart(rowHeights_, fixedRows_, space, gridLineWidth_) > fixedRows_;
    }
    int space = fullRight - (otherShown ? kBarSize : 0) - kBorder - Extent(colWidths_, 0, fixedCols_, gridLineWidth_) +
                gridLineWidth_;
    return LastStart(colWidths_, fixedCols_, space, gridLineWidth_) > fixedCols_;
  };
  bool showV = need(true, false), showH = need(false, showV);
  if (showH && !showV) showV = need(true, true);
  QSignalBlocker bv(v), bh(h);
  v->setVisible(showV);
  h->setVisible(showH);
  v->setGeometry(Width() - kBorder - kBarSize, kBorder, kBarSize, std::max(0, Height() - 2 * kBorder - (showH ? kBarSize : 0)));
  h->setGeometry(kBorder, Height() - kBorder - kBarSize, std::max(0, Width() - 2 * kBorder - (showV ? kBarSize : 0)), kBarSize);
  ClampScroll();
  const int bottom = fullBottom - (showH ? kBarSize : 0);
  const int right = fullRight - (showV ? kBarSize : 0);
  v->setRange(fixedRows_, LastStart(rowHeights_, fixedRows_,
                                    bottom - kBorder - Extent(rowHeights_, 0, fixedRows_, gridLineWidth_) + gridLineWidth_,
                                    gridLineWidth_));
  h->setRange(fixedCols_, LastStart(colWidths_, fixedCols_,
                                    right - kBorder - Extent(colWidths_, 0, fixedCols_, gridLineWidth_) + gridLineWidth_,
                                    gridLineWidth_));
  v->setPageStep(VisibleRowCount());
  h->setPageStep(VisibleColCount());
  v->setValue(topRow_);
  h->setValue(leftCol_);
  v->setTracking(options_ & goThumbTracking);
  h->setTracking(options_ & goThumbTracking);
}

void TCustomGrid::SetTopRow(int Value) {
  if (Value == topRow_) return;
  const int old = topRow_;
  topRow_ = std::max(fixedRows_, Value);
  ClampScroll(false);
  if (topRow_ == old) return;
  {
    QSignalBlocker b(bars_->Vert);
    bars_->Vert->setValue(topRow_);
  }
  TopLeftChanged();
  if (editorMode_) PlaceEditor();
  Invalidate();
}

void TCustomGrid::SetLeftCol(int Value) {
  if (Value == leftCol_) return;
  const int old = leftCol_;
  leftCol_ = std::max(fixedCols_, Value);
  ClampScroll(false);
  if (leftCol_ == old) return;
  {
    QSignalBlocker b(bars_->Horz);
    bars_->Horz->setValue(leftCol_);
  }
  TopLeftChanged();
  if (editorMode_) PlaceEditor();
  Invalidate();
}

void TCustomGrid::ScrollToCurrent() {
  if (!HasCurrentCell()) return;
  if (cur_.Y < topRow_) SetTopRow(cur_.Y);
  else if (cur_.Y >= topRow_ + VisibleRowCount()) {
    // The row becomes the last one wholly shown.
    int top = cur_.Y;
    const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
    int space = bottom - RowTop(topRow_) - rowHeights_[size_t(cur_.Y)] - gridLineWidth_;
    while (top - 1 >= fixedRows_) {
      int h = rowHeights_[size_t(top - 1)] > 0 ? rowHeights_[size_t(top - 1)] + gridLineWidth_ : 0;
      if (space - h < 0) break;
      space -= h;
      --top;
    }
    SetTopRow(top);
  }
  if (cur_.X < leftCol_) SetLeftCol(cur_.X);
  else if (cur_.X >= leftCol_ + VisibleColCount()) {
    int left = cur_.X;
    const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
    int space = right - ColLeft(leftCol_) - colWidths_[size_t(cur_.X)] - gridLineWidth_;
    while (left - 1 >= fixedCols_) {
      int w = colWidths_[size_t(left - 1)] > 0 ? colWidths_[size_t(left - 1)] + gridLineWidth_ : 0;
      if (space - w < 0) break;
      space -= w;
      --left;
    }
    SetLeftCol(left);
  }
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::Resize() {
  if (!bars_ || !bars_->Vert) return;
  UpdateScrollBars();
  if (editorMode_) PlaceEditor();
  TCustomControl::Resize();
}

// ---------------------------------------------------------------------------
// Current cell and selection.

TGridRect TCustomGrid::Selection() const {
  if (options_ & goRowSelect) return {fixedCols_, std::min(anchor_.Y, cur_.Y), ColCount() - 1, std::max(anchor_.Y, cur_.Y)};
  return {std::min(anchor_.X, cur_.X), std::min(anchor_.Y, cur_.Y), std::max(anchor_.X, cur_.X), std::max(anchor_.Y, cur_.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  if (!HasCurrentCell()) return;
  auto cx = [&](int c) { return std::clamp(c, fixedCols_, ColCount() - 1); };
  auto cy = [&](int r) { return std::clamp(r, fixedRows_, RowCount() - 1); };
  anchor_ = {cx(Value.Left), cy(Value.Top)};
  cur_ = {cx(Value.Right), cy(Value.Bottom)};
  if (!(options_ & goRangeSelect)) anchor_ = cur_;
  Invalidate();
}

bool TCustomGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool FromCode) {
  if (!HasCurrentCell()) return false;
  if (FromCode && (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())) GridIndexError();
  ACol = std::clamp(ACol, fixedCols_, ColCount() - 1);
  ARow = std::clamp(ARow, fixedRows_, RowCount() - 1);
  if (colWidths_[size_t(ACol)] <= 0 || rowHeights_[size_t(ARow)] <= 0) return false;
  if (ACol == cur_.X && ARow == cur_.Y) {
    anchor_ = cur_;
    Invalidate();
    return true;
  }
  if (!SelectCell(ACol, ARow)) return false;
  if (editorMode_) EndEdit(true);
  cur_ = anchor_ = {ACol, ARow};
  ScrollToCurrent();
  Invalidate();
  if ((options_ & goAlwaysShowEditor) && Focused()) ShowEditor();
  return true;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  (void)ACol;
  (void)ARow;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Editing.

bool TCustomGrid::CanEditShow() {
  return (options_ & goEditing) && !(options_ & goRowSelect) && HasCurrentCell() && cur_.X >= fixedCols_ &&
         cur_.Y >= fixedRows_;
}

bool TCustomGrid::CanEdit() const { return const_cast<TCustomGrid*>(this)->CanEditShow(); }

std::string TCustomGrid::GetEditText(int ACol, int ARow) {
  std::string s;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, s);
  return s;
}

void TCustomGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TCustomGrid::PlaceEditor() {
  if (!editor_) return;
  TRect r = CellRect(cur_.X, cur_.Y);
  if (r.Width() <= 0) {
    editor_->SetBounds(-1000, -1000, 10, 10);
    return;
  }
  editor_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value == editorMode_) return;
  if (!Value) {
    EndEdit(true);
    return;
  }
  if (!CanEditShow()) return;
  if (!editor_) {
    editor_ = new TEdit(this);
    editor_->SetVisible(false);
    editor_->SetParent(this);
    editor_->OnChange = [this](TObject*) {
      if (editorMode_ && !ending_) SetEditText(cur_.X, cur_.Y, editor_->Text());
    };
    editor_->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) {
      switch (Key) {
        case VK_RETURN:
          Key = 0;
          EndEdit(true);
          break;
        case VK_ESCAPE:
          Key = 0;
          EndEdit(false);
          break;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_TAB: {
          if (Key == VK_TAB && !(options_ & goTabs)) break;
          std::uint16_t k = Key;
          Key = 0;
          EndEdit(true);
          if (!editorMode_) KeyDown(k, Shift);
          break;
        }
        default: break;
      }
    };
  }
  savedText_ = GetEditText(cur_.X, cur_.Y);
  ending_ = true;
  editor_->SetText(savedText_);
  ending_ = false;
  editorMode_ = true;
  PlaceEditor();
  editor_->Show();
  if (Focused() || (editor_->CanFocus() && GetParentForm(this) && GetParentForm(this)->ActiveControl() == this))
    editor_->SetFocus();
  else if (editor_->CanFocus())
    editor_->SetFocus();
  editor_->SelectAll();
}

void TCustomGrid::EndEdit(bool Keep) {
  if (!editorMode_ || ending_) return;
  const std::string text = editor_->Text();
  struct TCommit {
    bool& Flag;
    ~TCommit() { Flag = false; }
  } commit{committing_ = true};
  if (Keep) {
    // A text the cell refuses (SetEditText raising) keeps the editor open.
    SetEditText(cur_.X, cur_.Y, text);
  } else if (text != savedText_) {
    SetEditText(cur_.X, cur_.Y, savedText_);
  }
  ending_ = true;
  editorMode_ = false;
  const bool hadFocus = editor_->Focused();
  editor_->Hide();
  ending_ = false;
  if (hadFocus && CanFocus()) SetFocus();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Painting.

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  const int right = Width() - kBorder - (bars_->Vert->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  const int bottom = Height() - kBorder - (bars_->Horz->isVisibleTo(impl_->Widget) ? kBarSize : 0);
  c->Pen()->SetMode(pmCopy);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Width(), Height()));
  const bool current = HasCurrentCell();
  const bool focused = Focused() || (editor_ && editor_->Focused());
  const TGridRect sel = Selection();
  // The columns and rows that show: fixed ones, then from LeftCol and TopRow on.
  std::vector<std::pair<int, int>> cols, rows;  // index, left or top
  for (int i = 0, x = kBorder; i < ColCount() && x < right; ++i) {
    if (i >= fixedCols_ && i < leftCol_) continue;
    if (colWidths_[size_t(i)] <= 0) continue;
    cols.emplace_back(i, x);
    x += colWidths_[size_t(i)] + gridLineWidth_;
  }
  for (int i = 0, y = kBorder; i < RowCount() && y < bottom; ++i) {
    if (i >= fixedRows_ && i < topRow_) {
      i = topRow_ - 1;
      continue;
    }
    if (rowHeights_[size_t(i)] <= 0) continue;
    rows.emplace_back(i, y);
    y += rowHeights_[size_t(i)] + gridLineWidth_;
  }
  // With no non-fixed cell to show, the grid shows nothing.
  if (!current && (FirstFreeRow() >= RowCount() || FirstFreeCol() >= ColCount())) {
    DrawSunkenFrame(c, Width(), Height());
    return;
  }
  c->PushClipRect(Rect(kBorder, kBorder, right, bottom));
  const TColor textColor = Font()->Color();
  for (const auto& [r, top] : rows) {
    c->Font()->Assign(Font());
    const int h = rowHeights_[size_t(r)];
    for (const auto& [col, left] : cols) {
      const int w = colWidths_[size_t(col)];
      const TRect cell = Rect(left, top, left + w, top + h);
      const bool fixed = col < fixedCols_ || r < fixedRows_;
      TGridDrawState st = fixed ? gdFixed : 0;
      const bool isCur = current && col == cur_.X && r == cur_.Y;
      if (!fixed && current) {
        if (isCur && focused) st |= gdFocused;
        const bool inSel = col >= sel.Left && col <= sel.Right && r >= sel.Top && r <= sel.Bottom;
        if (inSel && (!isCur || (options_ & (goDrawFocusSelected | goRowSelect)))) st |= gdSelected;
      }
      // The font is set once per paint; only its colour changes from cell to cell.
      c->Font()->SetColor((st & gdSelected) ? clHighlightText : textColor);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(fixed ? fixedColor_ : (st & gdSelected) ? clHighlight : Color());
      c->FillRect(cell);
      DrawCell(col, r, cell, st);
      if ((st & gdFocused) && !editorMode_ && !(options_ & goRowSelect)) DrawFocusRectangle(c, cell);
      // The lines right of and below the cell.
      if (gridLineWidth_ > 0) {
        const bool vert = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
        const bool horz = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(fixed ? clBtnShadow : kLineColor);
        if (vert) c->FillRect(Rect(cell.Right, cell.Top, cell.Right + gridLineWidth_, cell.Bottom + gridLineWidth_));
        if (horz) c->FillRect(Rect(cell.Left, cell.Bottom, cell.Right + gridLineWidth_, cell.Bottom + gridLineWidth_));
      }
    }
  }
  c->PopClip();
  DrawSunkenFrame(c, Width(), Height());
}

// ---------------------------------------------------------------------------
// Mouse and keys.

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused() && !(editor_ && editor_->Focused())) SetFocus();
    const TGridCoord at = MouseCoord(X, Y);
    // A line between fixed cells starts sizing.
    if (at.Y >= 0 && at.Y < fixedRows_ && (options_ & goColSizing)) {
      for (int col = 0; col < ColCount(); ++col) {
        TRect r = CellRect(col, at.Y);
        if (r.Width() > 0 && std::abs(X - r.Right) <= kSizingSlack) {
          sizing_ = sizeCol;
          sizingIndex_ = col;
          sizingStart_ = X;
          sizingOrig_ = colWidths_[size_t(col)];
          break;
        }
      }
    }
    if (sizing_ == sizeNone && at.X >= 0 && at.X < fixedCols_ && (options_ & goRowSizing)) {
      for (int r = 0; r < RowCount(); ++r) {
        TRect cr = CellRect(at.X, r);
        if (r >= fixedRows_ && r < topRow_) r = topRow_ - 1;
        if (cr.Height() > 0 && std::abs(Y - cr.Bottom) <= kSizingSlack) {
          sizing_ = sizeRow;
          sizingIndex_ = r;
          sizingStart_ = Y;
          sizingOrig_ = rowHeights_[size_t(r)];
          break;
        }
        if (cr.Height() > 0 && cr.Top > Y) break;
      }
    }
    if (sizing_ == sizeNone) {
      // A double click's second press moves nothing: OnDblClick already fired.
      if (!(Shift & ssDouble) && at.X >= fixedCols_ && at.Y >= fixedRows_) {
        if ((Shift & ssShift) && (options_ & goRangeSelect) && HasCurrentCell()) {
          TGridCoord a = anchor_;
          if (MoveCurrent(at.X, at.Y, false)) anchor_ = a;
          Invalidate();
        } else {
          MoveCurrent(at.X, at.Y, false);
          selecting_ = (options_ & goRangeSelect) != 0;
        }
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (sizing_ == sizeCol) SetColWidths(sizingIndex_, std::max(1, sizingOrig_ + X - sizingStart_));
  else if (sizing_ == sizeRow) SetRowHeights(sizingIndex_, std::max(1, sizingOrig_ + Y - sizingStart_));
  else if (selecting_ && (Shift & ssLeft)) {
    const TGridCoord at = MouseCoord(X, Y);
    if (at.X >= fixedCols_ && at.Y >= fixedRows_ && !(at == cur_)) {
      TGridCoord a = anchor_;
      if (MoveCurrent(at.X, at.Y, false)) anchor_ = a;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    sizing_ = sizeNone;
    selecting_ = false;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!Key || !HasCurrentCell()) return;
  int col = cur_.X, row = cur_.Y;
  const bool ctrl = Shift & ssCtrl;
  auto orStay = [](int v, int limit, int stay) { return v < 0 || v >= limit ? stay : v; };
  switch (Key) {
    case VK_LEFT: col = orStay(NextShownCol(col, -1), ColCount(), col); break;
    case VK_RIGHT: col = orStay(NextShownCol(col, 1), ColCount(), col); break;
    case VK_UP: row = orStay(NextShownRow(row, -1), RowCount(), row); break;
    case VK_DOWN: row = orStay(NextShownRow(row, 1), RowCount(), row); break;
    case VK_PRIOR:
      for (int n = VisibleRowCount(); n > 0; --n) row = orStay(NextShownRow(row, -1), RowCount(), row);
      break;
    case VK_NEXT:
      for (int n = VisibleRowCount(); n > 0; --n) row = orStay(NextShownRow(row, 1), RowCount(), row);
      break;
    case VK_HOME:
      if (ctrl) row = FirstFreeRow();
      col = FirstFreeCol();
      break;
    case VK_END:
      if (ctrl) row = NextShownRow(RowCount(), -1);
      col = NextShownCol(ColCount(), -1);
      break;
    case VK_TAB: {
      if (!(options_ & goTabs)) return;
      const int step = (Shift & ssShift) ? -1 : 1;
      int c = NextShownCol(col, step);
      if (c < 0 || c >= ColCount()) {
        int r = NextShownRow(row, step);
        if (r < 0 || r >= RowCount()) return;  // the last cell: Tab leaves the grid
        row = r;
        c = step > 0 ? FirstFreeCol() : NextShownCol(ColCount(), -1);
      }
      col = c;
      break;
    }
    case VK_F1 + 1:
    case VK_RETURN:
      Key = 0;
      ShowEditor();
      return;
    default: return;
  }
  const bool extend = (Shift & ssShift) && (options_ & goRangeSelect) && Key != VK_TAB;
  Key = 0;
  if (col == cur_.X && row == cur_.Y) return;
  const TGridCoord a = anchor_;
  if (MoveCurrent(col, row, false) && extend) anchor_ = a;
}

void TCustomGrid::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  // A typed character starts editing with it.
  if (Key >= 32 && Key != 127 && !editorMode_ && CanEditShow()) {
    ShowEditor();
    if (editorMode_) {
      editor_->SetText(std::string(1, Key));
      editor_->SelectAll();
      Key = 0;
    }
  }
}

void TCustomGrid::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
  if ((options_ & goAlwaysShowEditor) && !editorMode_) ShowEditor();
}

void TCustomGrid::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

IMPLEMENT_CLASS(TDrawGrid, TCustomGrid)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStringGrid, TDrawGrid)

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { SizeChanged(0, 0); }

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  (void)OldColCount;
  (void)OldRowCount;
  cells_.resize(size_t(RowCount()));
  for (auto& row : cells_) row.resize(size_t(ColCount()));
}

std::string TStringGrid::Cells(int ACol, int ARow) const {
  if (ARow < 0 || ARow >= int(cells_.size()) || ACol < 0 || ACol >= int(cells_[size_t(ARow)].size())) return {};
  return cells_[size_t(ARow)][size_t(ACol)].Text;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value) {
  if (ARow < 0 || ARow >= RowCount() || ACol < 0 || ACol >= ColCount()) GridIndexError();
  cells_[size_t(ARow)][size_t(ACol)].Text = Value;
  Invalidate();
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  if (ARow < 0 || ARow >= RowCount() || ACol < 0 || ACol >= ColCount()) return nullptr;
  return cells_[size_t(ARow)][size_t(ACol)].Object;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  if (ARow < 0 || ARow >= RowCount() || ACol < 0 || ACol >= ColCount()) GridIndexError();
  cells_[size_t(ARow)][size_t(ACol)].Object = Value;
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) {
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
    return;
  }
  TCanvas* c = Canvas();
  c->SetBkMode(TRANSPARENT);
  c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
}

std::string TStringGrid::GetEditText(int ACol, int ARow) {
  std::string s = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, s);
  return s;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  SetCells(ACol, ARow, Value);
  TDrawGrid::SetEditText(ACol, ARow, Value);
}
