// The chart data grid: its model (layout, mapping, texts, write-back) and the grid.
#include "gallery/chartgrid.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "chart/legend.h"
#include "chart/registry.h"
#include "chart/series.h"
#include "engine/panel.h"
#include "engine/series.h"
#include "gallery/marginseditor.h"
#include "gallery/navigator.h"
#include "platform/dateutils.h"
#include "platform/menus.h"
#include "platform/rtl.h"
#include "platform/typinfo.h"

namespace {
constexpr std::uint16_t VK_F2 = 113;

bool Horizontal(const TChartSeries* S) { return S->MandatoryValueList() == S->XValues(); }
bool Destroying(const TComponent* C) { return C->ComponentState() & csDestroying; }
long long RoundInt(double V) { return std::llround(V); }

// Values of a point appended as null: after the last one.
void AppendNull(TChartSeries* S) {
  const double at = S->Count();
  if (Horizontal(S)) S->AddNullXY(0, at);
  else S->AddNullXY(at, 0);
}
void PadTo(TChartSeries* S, int Index) {
  while (S->Count() <= Index) AppendNull(S);
}
}  // namespace

// ---------------------------------------------------------------------------
int TChartGridModel::SeriesCount() const {
  if (Series) return 1;
  return Chart ? Chart->SeriesCount() : 0;
}

TChartSeries* TChartGridModel::SeriesAt(int Index) const { return Series ? Series : Chart->Series(Index); }

void TChartGridModel::Recalc() {
  const int first = FirstRow();
  XShown.assign(std::size_t(SeriesCount()), false);
  Matrix = nullptr;
  if (Grid3D) {
    RecalcMatrix();
    return;
  }
  if (!Chart && !Series) {
    ColCount = 1;
    RowCount = first + 1;
    return;
  }
  int cols = 1 + (LabelCol() > 0 ? 1 : 0) + (ColorCol() > 0 ? 1 : 0);
  int most = 0;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (Destroying(s)) continue;
    XShown[std::size_t(i)] = ShowXValues == cgsYes ||
                             (ShowXValues == cgsAuto && (TChartSeries::DataStorageFlags(s) & TChartSeries::dsfXValues));
    cols += 1 + (XShown[std::size_t(i)] ? 1 : 0) + std::max(0, s->ValuesList().Count() - 2);
    if (ShowVisuals == cgsYes || (ShowVisuals == cgsAuto && s->HasVisuals())) ++cols;
    most = std::max(most, s->Count());
  }
  ColCount = cols;
  RowCount = std::max(first + 1, first + most);
}

void TChartGridModel::RecalcMatrix() {
  for (int i = 0; i < SeriesCount() && !Matrix; ++i)
    if (SeriesAt(i)->Grid3D() && !Destroying(SeriesAt(i))) Matrix = SeriesAt(i);
  if (!Matrix || Matrix->Count() == 0 || Matrix->ValuesList().Count() < 3) {
    ColCount = 1;
    RowCount = FirstRow() + 1;
    MinX = MinZ = 0;
    return;
  }
  MinX = int(RoundInt(Matrix->MinXValue()));
  MinZ = int(RoundInt(Matrix->MinZValue()));
  const int spanX = int(RoundInt(Matrix->MaxXValue())) - MinX + 1;
  const int spanZ = int(RoundInt(Matrix->MaxZValue())) - MinZ + 1;
  ColCount = 1 + spanX;
  RowCount = FirstRow() + spanZ;
}

TChartGridColumn TChartGridModel::Column(int ACol, TChartSeries** S, TChartValueList** List) const {
  if (ACol == 0) return gcIndex;
  if (ACol == LabelCol()) return gcLabel;
  if (ACol == ColorCol()) return gcColor;
  if (Grid3D) {
    if (!Matrix || ACol >= ColCount) return gcNone;
    if (S) *S = Matrix;
    if (List) *List = Matrix->YValues();
    return gcValue;
  }
  int c = 1 + (LabelCol() > 0 ? 1 : 0) + (ColorCol() > 0 ? 1 : 0);
  for (int i = 0; i < SeriesCount() && i < int(XShown.size()); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (Destroying(s)) continue;
    const TChartValueLists& lists = s->ValuesList();
    const bool x = XShown[std::size_t(i)];
    auto hit = [&](TChartValueList* l) {
      if (S) *S = s;
      if (List) *List = l;
      return gcValue;
    };
    if (x && ACol == c++) return hit(lists[0]);
    if (ACol == c++) return hit(lists[(!x && Horizontal(s)) ? 0 : 1]);
    for (int k = 2; k < lists.Count(); ++k)
      if (ACol == c++) return hit(lists[k]);
    if (ShowVisuals == cgsYes || (ShowVisuals == cgsAuto && s->HasVisuals())) {
      if (ACol == c++) {
        if (S) *S = s;
        if (List) *List = nullptr;
        return gcVisuals;
      }
    }
  }
  return gcNone;
}

bool TChartGridModel::IsSeriesFirstColumn(int ACol) const {
  if (Grid3D) return Matrix && ACol == 1;
  TChartSeries* s = nullptr;
  if (Column(ACol, &s) != gcValue || !s) return false;
  TChartSeries* before = nullptr;
  return Column(ACol - 1, &before) != gcValue || before != s;
}

int TChartGridModel::MatrixPoint(int ACol, int ARow) const {
  if (!Matrix || ACol < 1 || ARow < FirstRow()) return -1;
  const double x = ACol - 1 + MinX, z = PointIndex(ARow) + MinZ;
  TChartValueList* zs = Matrix->ValuesList()[2];
  for (int i = 0; i < Matrix->Count(); ++i)
    if (RoundInt(Matrix->XValues()->GetValue(i)) == RoundInt(x) && RoundInt(zs->GetValue(i)) == RoundInt(z)) return i;
  return -1;
}

int TChartGridModel::CellPoint(int ACol, int ARow, TChartSeries** S) const {
  TChartSeries* s = nullptr;
  if (ARow < FirstRow() || Column(ACol, &s) == gcNone || !s) return -1;
  if (S) *S = s;
  if (Grid3D) return MatrixPoint(ACol, ARow);
  const int index = PointIndex(ARow);
  return index < s->Count() ? index : -1;
}

bool TChartGridModel::IsNullCell(int ACol, int ARow) const {
  TChartSeries* s = nullptr;
  if (Column(ACol) != gcValue) return false;
  const int p = CellPoint(ACol, ARow, &s);
  return p >= 0 && s->IsNull(p);
}

std::string TChartGridModel::CellText(int ACol, int ARow) const {
  const int first = FirstRow();
  if (ACol == 0) {
    if (ARow >= first) return IntToStr(Grid3D ? ARow + MinZ - first : ARow - first);
    return ARow == first - 1 ? "#" : "";
  }
  TChartSeries* s = nullptr;
  TChartValueList* list = nullptr;
  const TChartGridColumn kind = Column(ACol, &s, &list);
  if (ARow < first) {
    if (ARow != first - 1) return "";
    switch (kind) {
      case gcLabel: return LumMsg_Text;
      case gcColor: return LumMsg_Colors;
      case gcVisuals: return "Visuals";
      case gcValue: return Grid3D ? IntToStr(ACol + MinX - 1) : list->Name();
      default: return "";
    }
  }
  const int index = PointIndex(ARow);
  switch (kind) {
    case gcLabel:
      for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* t = SeriesAt(i); !Destroying(t) && t->Labels().Count() > index)
          return t->Labels().GetLabel(index);
      return "";
    case gcVisuals: return index < s->Count() ? "..." : "";
    case gcValue: {
      const int p = Grid3D ? MatrixPoint(ACol, ARow) : (index < s->Count() ? index : -1);
      if (p < 0) return "";
      const double v = list->GetValue(p);
      if (list->DateTime()) return v >= 1 ? DateTimeToStr(v) : TimeToStr(v);
      return FormatFloat(s->ValueFormat(), v);
    }
    default: return "";
  }
}

TChartSeries* TChartGridModel::SeriesOfColumn(int ACol) const {
  TChartSeries* s = nullptr;
  // The colour column shows the points of the first series after it.
  if (ACol == ColorCol())
    for (int c = ACol + 1; c < ColCount && !s; ++c) Column(c, &s);
  else
    Column(ACol, &s);
  return s;
}

TColor TChartGridModel::RowColor(int ARow) const {
  TChartSeries* s = SeriesOfColumn(ColorCol());
  const int index = PointIndex(ARow);
  if (!s || index < 0 || index >= s->Count() || s->IsNull(index)) return clNone;
  return s->GetValueColor(index);
}

bool TChartGridModel::SetCellText(int ACol, int ARow, const std::string& Text, bool Editing) {
  if ((!Chart && !Series) || ARow < FirstRow()) return false;
  if (!Series && Chart->SeriesCount() == 0 && AllowNewSeries) {
    CreateNewSeries(Chart->Owner(), Chart, TBarSeries::StaticClass());
    Recalc();
  }
  const int index = PointIndex(ARow);
  TChartSeries* s = nullptr;
  TChartValueList* list = nullptr;
  switch (Column(ACol, &s, &list)) {
    case gcLabel:
      for (int i = 0; i < SeriesCount(); ++i) {
        TChartSeries* t = SeriesAt(i);
        if (Destroying(t)) continue;
        t->SetManualData(1);
        PadTo(t, index);
        t->Labels().SetLabel(index, Text);
      }
      break;
    case gcValue: {
      const std::string text = Trim(Text);
      const bool makeNull = text.empty();
      if (makeNull && Editing) return false;
      // Converted first: a text that is no number changes nothing.
      double value = 0;
      if (!makeNull) value = double(list->DateTime() ? StrToDateTime(text) : StrToFloat(text));
      int p = index;
      if (Grid3D) {
        p = MatrixPoint(ACol, ARow);
        if (p < 0) return false;
      }
      s->SetManualData(1);
      if (!Grid3D) PadTo(s, index);
      if (makeNull) {
        s->SetValueColor(p, clNone);
      } else {
        list->SetValue(p, value);
        list->SetModified(true);
        if (s->IsNull(p)) s->SetValueColor(p, clLumColor);
      }
      s->CheckDataSource();
      break;
    }
    default: return false;
  }
  if (Series) Series->Repaint();
  else Chart->Invalidate();
  return true;
}

bool TChartGridModel::InsertPoint() {
  bool grows = false;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (Destroying(s)) continue;
    grows = s->Count() > 0;
    AppendNull(s);
  }
  return grows;
}

void TChartGridModel::DeleteRow(int ARow) {
  const int index = PointIndex(ARow);
  // As shown before: the deletion lays the grid out again.
  const std::vector<bool> shown = XShown;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (Destroying(s) || index < 0 || index >= s->Count()) continue;
    s->Delete(index);
    if (i < int(shown.size()) && !shown[std::size_t(i)]) {
      TChartValueList* xs = s->NotMandatoryValueList();
      for (int k = 0; k < xs->Count(); ++k) xs->SetValue(k, k);
    }
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TCustomChartGrid, TDrawGrid)

// Sizes and options as a grid without a chart starts (one empty data row).
void TCustomChartGrid::DefineProperties(TPropertyTable& t) {
  t.Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default(1LL);
  t.Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default(3LL);
  t.Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(0LL);
  t.Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(2LL);
  t.Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight).Default(16LL);
  t.Int("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions).Default(0x4CFCLL);
}

TCustomChartGrid::TCustomChartGrid(TComponent* AOwner) : TDrawGrid(AOwner) {
  SetGridLineWidth(1);
  SetDefaultRowHeight(16);
  SetOptions(goVertLine | goHorzLine | goRangeSelect | goDrawFocusSelected | goRowSizing | goColSizing | goEditing |
             goTabs | goThumbTracking);
  RecalcDimensions();
  SetRowHeights(0, 20);
}

TCustomChartGrid::~TCustomChartGrid() {
  OnChange = nullptr;
  OnChangeCell = nullptr;
  if (navigator_) {
    navigator_->RemoveFreeNotification(this);
    TChartGridNavigator* nav = navigator_;
    navigator_ = nullptr;
    nav->SetGrid(nullptr);
  }
  if (m_.Series) m_.Series->RemoveFreeNotification(this);
  if (m_.Chart) {
    m_.Chart->RemoveFreeNotification(this);
    m_.Chart->RemoveListener(this);
  }
}

void TCustomChartGrid::Loaded() {
  TDrawGrid::Loaded();
  SetRowHeights(0, 20);
}

TLumGradient* TCustomChartGrid::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TLumGradient>([this](TObject*) { Invalidate(); });
  return gradient_.get();
}

void TCustomChartGrid::SetNavigator(TChartGridNavigator* Value) {
  if (Value == navigator_) return;
  if (navigator_) navigator_->RemoveFreeNotification(this);
  navigator_ = Value;
  if (navigator_) navigator_->FreeNotification(this);
}

void TCustomChartGrid::SetChart(TCustomAxisPanel* Value) {
  if (m_.Chart != Value) {
    if (m_.Chart) {
      m_.Chart->RemoveFreeNotification(this);
      m_.Chart->RemoveListener(this);
    }
    m_.Chart = Value;
    if (m_.Chart) {
      m_.Chart->FreeNotification(this);
      m_.Chart->Listeners().Add(this);
    }
  }
  if (Destroying(this)) return;
  RecalcDimensions();
  ResetCurrent();
  Invalidate();
}

void TCustomChartGrid::SetSeries(TChartSeries* Value) {
  if (Value == m_.Series) return;
  if (m_.Series) m_.Series->RemoveFreeNotification(this);
  m_.Series = Value;
  if (m_.Series) m_.Series->FreeNotification(this);
  SetChart(nullptr);
  SetChart(m_.Series ? m_.Series->ParentChart() : nullptr);
}

void TCustomChartGrid::ResetCurrent() {
  if (!HasCurrentCell()) return;
  const int col = std::min(ColCount() - 1, 1), row = FirstRow();
  if (col >= FixedCols() && row < RowCount()) {
    SetCol(col);
    SetRow(row);
  }
}

// A display setting: stored, then the grid laid out and painted again.
template <class T>
void TCustomChartGrid::Relayout(T& Field, T Value) {
  Field = Value;
  RecalcDimensions();
  Invalidate();
}

void TCustomChartGrid::SetShowLabels(bool Value) {
  if (Value != m_.ShowLabels) Relayout(m_.ShowLabels, Value);
}
void TCustomChartGrid::SetShowColors(bool Value) {
  if (Value != m_.ShowColors) Relayout(m_.ShowColors, Value);
}
void TCustomChartGrid::SetShowVisuals(TChartGridShow Value) { Relayout(m_.ShowVisuals, Value); }
void TCustomChartGrid::SetShowXValues(TChartGridShow Value) { Relayout(m_.ShowXValues, Value); }
void TCustomChartGrid::SetGrid3D(bool Value) { Relayout(m_.Grid3D, Value); }

void TCustomChartGrid::RecalcDimensions() {
  m_.Recalc();
  const int first = m_.FirstRow();
  // Fixed counts must stay below the counts while they change.
  SetFixedRows(std::min(FixedRows(), first));
  SetColCount(std::max(m_.ColCount, 2));
  SetRowCount(m_.RowCount);
  SetFixedRows(first);
  SetColCount(m_.ColCount);
  if (ColCount() > 1) SetFixedCols(1);
  SetColWidths(0, 30);
  if (m_.ColorCol() > 0 && ColCount() > 1) SetColWidths(1, 40);
  if (ColCount() > 1 && Col() == 0) SetCol(1);
  Changed();
}

void TCustomChartGrid::Changed() {
  if (OnChange) OnChange();
}

void TCustomChartGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TDrawGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == navigator_) navigator_ = nullptr;
  if (AComponent == m_.Series) {
    m_.Series = nullptr;
    if (!Destroying(this)) RecalcDimensions();
  }
  if (AComponent == m_.Chart) {
    // A chart being freed is past its listeners already (it lets go of them itself).
    m_.Chart = nullptr;
    m_.Series = nullptr;
    if (!Destroying(this)) {
      RecalcDimensions();
      Invalidate();
    }
  }
  if (AComponent == menuSeries_) menuSeries_ = nullptr;
}

void TCustomChartGrid::LumEvent(const TLumEvent& Event) {
  if (Destroying(this)) return;
  if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event)) {
    if (e->Event == seAdd || e->Event == seRemove || e->Event == seDataChanged) {
      RecalcDimensions();
      Invalidate();
    } else {
      Invalidate();
    }
  }
}

void TCustomChartGrid::TopLeftChanged() { TDrawGrid::TopLeftChanged(); }

bool TCustomChartGrid::SelectCell(int ACol, int ARow) {
  if (!TDrawGrid::SelectCell(ACol, ARow) || ACol < 1 || ARow < FirstRow()) return false;
  if (OnChangeCell) OnChangeCell(ACol, ARow);
  return true;
}

bool TCustomChartGrid::CanEditShow() {
  if (!TDrawGrid::CanEditShow()) return false;
  bool allow = true;
  if (OnEditingCell) OnEditingCell(this, Col(), Row(), allow);
  const TChartGridColumn kind = m_.Column(Col());
  if (!allow || kind == gcColor || kind == gcVisuals) return false;
  savedText_ = GetEditText(Col(), Row());
  Changed();  // the navigator's Post and Cancel
  return true;
}

std::string TCustomChartGrid::GetEditText(int ACol, int ARow) { return m_.CellText(ACol, ARow); }

void TCustomChartGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  // The text is written once, as the editor closes, never half typed.
  if (EditorMode() && !Committing()) return;
  // An unchanged text (an edit left as it was) writes nothing, except a number over
  // a null point: the point shows its old value, and typing it makes it a point again.
  if (Value == m_.CellText(ACol, ARow) && !(m_.IsNullCell(ACol, ARow) && !Trim(Value).empty())) return;
  if (m_.SetCellText(ACol, ARow, Value, false)) {
    if (m_.Grid3D) Invalidate();
    InvalidateCell(ACol, ARow);
  }
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TCustomChartGrid::StartEditing() {
  if (!(Options() & goEditing) || EditorMode() || Col() < 1) return;
  TChartSeries* s = nullptr;
  const TChartGridColumn kind = m_.Column(Col(), &s);
  if (kind == gcLabel) s = m_.SeriesCount() ? m_.SeriesAt(0) : nullptr;
  if (!s) return;
  if (s->DataSource() && !allowEditSourced_) return;
  if (m_.Grid3D) wasEmpty_ = m_.MatrixPoint(Col(), Row()) < 0;
  else {
    const int index = m_.PointIndex(Row());
    wasEmpty_ = index >= s->Count() || s->IsNull(index);
  }
  ShowEditor();
  if (EditorMode()) savedText_ = wasEmpty_ ? "" : GetEditText(Col(), Row());
  Changed();
}

void TCustomChartGrid::StopEditing(bool Cancel) {
  if (!EditorMode()) return;
  // Cancelling puts the text the cell had back, which writes nothing new.
  if (Cancel && InplaceEditor()) InplaceEditor()->SetText(wasEmpty_ ? "" : savedText_);
  HideEditor();
  Changed();
}

bool TCustomChartGrid::RowHasPoint(int ARow) const {
  const int index = m_.PointIndex(ARow);
  if (index < 0) return false;
  for (int i = 0; i < m_.SeriesCount(); ++i)
    if (index < m_.SeriesAt(i)->Count()) return true;
  return false;
}

void TCustomChartGrid::Insert() {
  if (!(Options() & goEditing)) return;
  // The chart's data event lays the grid out again; done here too for a chart
  // inside an update block. The rows then cover the longest series.
  m_.InsertPoint();
  RecalcDimensions();
  SetRow(RowCount() - 1);
  Changed();
}

void TCustomChartGrid::Delete() {
  if (!(Options() & goEditing)) return;
  m_.DeleteRow(Row());
  Invalidate();
  RecalcDimensions();
}

void TCustomChartGrid::AppendRow() {
  if (!(Options() & goEditing) || !(m_.AllowNewSeries || allowAppendRows_) || m_.Grid3D) return;
  TChartSeries* s = m_.SeriesOfColumn(Col());
  if (!s) return;
  AppendNull(s);
  RecalcDimensions();
  SetRow(RowCount() - 1);
}

void TCustomChartGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const bool last = Row() == RowCount() - 1, lastCol = Col() == ColCount() - 1;
  if ((Shift & ssCtrl) && Key == VK_DELETE) {
    if (!EditorMode()) Delete();
    Key = 0;
    return;
  }
  const TChartGridColumn kind = m_.Column(Col());
  switch (Key) {
    case VK_RIGHT:
      if (m_.AllowNewSeries && lastCol && !m_.Series && m_.Chart && m_.Chart->SeriesCount() > 0) {
        TChartSeries* lastSeries = m_.Chart->Series(m_.Chart->SeriesCount() - 1);
        CreateNewSeries(m_.Chart->Owner(), m_.Chart, lastSeries->ClassType());
      }
      break;
    case VK_LEFT:
      if (m_.AllowNewSeries && lastCol && !m_.Series && m_.Chart && m_.Chart->SeriesCount() > 0) {
        TChartSeries* lastSeries = m_.Chart->Series(m_.Chart->SeriesCount() - 1);
        if (lastSeries->Count() == 0) {
          const bool was = m_.Chart->AutoRepaint();
          m_.Chart->SetAutoRepaint(false);
          delete lastSeries;
          m_.Chart->SetAutoRepaint(was);
          m_.Chart->Invalidate();
        }
      }
      break;
    case VK_UP:
      if (last && RowCount() > FirstRow() + 1 && !m_.Grid3D) {
        TChartSeries* s = m_.SeriesOfColumn(Col());
        const int index = m_.PointIndex(Row());
        if (s && index < s->Count() && s->IsNull(index) && s->Labels().GetLabel(index).empty()) {
          s->Delete(index);
          RecalcDimensions();
          Key = 0;
          return;
        }
      }
      break;
    case VK_DOWN:
      if (last) {
        AppendRow();
        Key = 0;
        Changed();
        return;
      }
      break;
    case VK_INSERT:
      Insert();
      Key = 0;
      return;
    case VK_DELETE:
      if (!EditorMode()) StartEditing();
      break;
    case VK_F2:
    case VK_RETURN:
    case VK_SPACE:
      if (kind == gcColor) {
        EditColor();
        Key = 0;
        return;
      }
      if (kind == gcVisuals) {
        ShowVisualsMenu(Col(), Row());
        Key = 0;
        return;
      }
      if (Key == VK_F2) {
        StartEditing();
        Key = 0;
        return;
      }
      break;
    case VK_ESCAPE:
      StopEditing(true);
      break;
  }
  TDrawGrid::KeyDown(Key, Shift);
}

void TCustomChartGrid::SetPointColor(TChartSeries* S, int Index, TColor Value) {
  S->SetValueColor(Index, Value);
  S->SetManualData(1);
  InvalidateCell(m_.ColorCol(), Row());
  if (OnChangeColor) OnChangeColor(this);
}

void TCustomChartGrid::EditColor() {
  if (m_.Column(Col()) != gcColor) return;
  TChartSeries* s = m_.SeriesOfColumn(Col());
  const int index = m_.PointIndex(Row());
  if (s && index >= 0 && index < s->Count()) {
    TColor c = s->GetValueColor(index);
    if (::EditColor(this, c)) SetPointColor(s, index, c);
  } else if (m_.AllowNewSeries && m_.Chart && !m_.Series) {
    TColor c = clWhite;
    if (!::EditColor(this, c)) return;
    TChartSeries* n = CreateNewSeries(m_.Chart->Owner(), m_.Chart, TBarSeries::StaticClass());
    PadTo(n, index);
    SetPointColor(n, index, c);
    Invalidate();
  }
}

void TCustomChartGrid::SetCurrentColor(TColor Value) {
  TChartSeries* s = m_.SeriesOfColumn(m_.ColorCol());
  const int index = m_.PointIndex(Row());
  if (m_.ColorCol() > 0 && s && index >= 0 && index < s->Count()) SetPointColor(s, index, Value);
}

bool TCustomChartGrid::OnSymbol(int X, int Y, int ACol, int ARow) const {
  if (ARow != 0 || !m_.IsSeriesFirstColumn(ACol)) return false;
  const TRect r = CellRect(ACol, ARow);
  return X >= r.Left + 4 && X < r.Left + 16 && Y >= r.Top + 4 && Y < r.Top + 16;
}

void TCustomChartGrid::MouseMove(TShiftState Shift, int X, int Y) {
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  bool hand = false;
  if (col >= 0 && row >= 0) {
    if (m_.Column(col) == gcColor && row >= FirstRow() && (Options() & goEditing)) {
      TChartSeries* s = m_.SeriesOfColumn(col);
      hand = s && m_.PointIndex(row) < s->Count();
    } else if (allowSeriesColor_ && OnSymbol(X, Y, col, row)) {
      hand = true;
    }
  }
  SetCursor(hand ? crHandPoint : crDefault);
  TDrawGrid::MouseMove(Shift, X, Y);
}

void TCustomChartGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  lastDown_ = {X, Y};
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (Button == mbLeft && !(Shift & ssDouble) && col >= 1 && row >= 0 && row < FirstRow() && !EditorMode() &&
      m_.Column(col) == gcValue && !OnSymbol(X, Y, col, row)) {
    const TGridRect sel = Selection();
    const TGridRect whole{col, FirstRow(), col, RowCount() - 1};
    if (sel == whole) {
      SetSelection({Col(), Row(), Col(), Row()});
    } else {
      SetCol(col);
      SetSelection(whole);
    }
    Invalidate();
    return;
  }
  TDrawGrid::MouseDown(Button, Shift, X, Y);
}

void TCustomChartGrid::DblClick() {
  const TPoint p = lastDown_;
  int col = -1, row = -1;
  MouseToCell(p.X, p.Y, col, row);
  if (col >= 0 && row >= FirstRow() && m_.Column(col) == gcColor) {
    EditColor();
    return;
  }
  if (col >= 0 && allowSeriesColor_ && OnSymbol(p.X, p.Y, col, row)) {
    TChartSeries* s = nullptr;
    m_.Column(col, &s);
    TColor c = s->SeriesColor();
    if (::EditColor(this, c)) s->SetSeriesColor(c);
    InvalidateCell(col, row);
    return;
  }
  if (col >= 0 && row >= FirstRow() && m_.Column(col) == gcVisuals) {
    ShowVisualsMenu(col, row);
    return;
  }
  TDrawGrid::DblClick();
}

// The replacement comes from the visuals hook; the grid has no visuals editor of
// its own to hand it, so it passes none.
void TCustomChartGrid::ChooseVisual(TChartSeries* S, int Index) {
  if (!VisualChooserHook || !S || Index < 0) return;
  TVisualsList* list = S->Visuals();
  TPersistent* current = Index < list->Count() ? list->GetItem(Index) : nullptr;
  if (TPersistent* chosen = VisualChooserHook(nullptr, S, current)) {
    list->SetItem(Index, chosen);
    S->SetManualData(1);
    S->Repaint();
    Invalidate();
  }
}

void TCustomChartGrid::ShowVisualsMenu(int ACol, int ARow) {
  TChartSeries* s = nullptr;
  if (m_.Column(ACol, &s) != gcVisuals || !s) return;
  const int index = m_.PointIndex(ARow);
  if (index < 0 || index >= s->Count()) return;
  TVisualsList* list = s->Visuals();
  TPersistent* visual = index < list->Count() ? list->GetItem(index) : nullptr;
  if (!visual) {
    ChooseVisual(s, index);
    return;
  }
  if (menuSeries_) menuSeries_->RemoveFreeNotification(this);
  menuSeries_ = s;
  menuSeries_->FreeNotification(this);
  menuSeriesIndex_ = index;
  if (!visualsMenu_) {
    visualsMenu_ = new TPopupMenu(this);
    auto add = [this](const std::string& Caption, std::function<void()> Action) {
      auto* item = new TMenuItem(visualsMenu_);
      item->SetCaption(Caption);
      item->OnClick = [Action](TObject*) { Action(); };
      visualsMenu_->Items()->Add(item);
    };
    add(LumMsg_Edit, [this] {
      if (!menuSeries_ || !VisualEditorClass) return;
      TVisualsList* l = menuSeries_->Visuals();
      if (menuSeriesIndex_ >= l->Count() || !l->GetItem(menuSeriesIndex_)) return;
      TVisualsHolder holder(menuSeries_);
      holder.SetVisual(l->GetItem(menuSeriesIndex_));
      std::unique_ptr<TObject> o(VisualEditorClass->NewInstance(this));
      if (auto* f = dynamic_cast<TForm*>(o.get())) {
        f->SetTag(reinterpret_cast<std::intptr_t>(&holder));
        f->ShowModal();
      }
    });
    add(LumMsg_Change, [this] { ChooseVisual(menuSeries_, menuSeriesIndex_); });
    add(LumMsg_Delete, [this] {
      if (!menuSeries_) return;
      menuSeries_->Visuals()->SetItem(menuSeriesIndex_, nullptr);
      menuSeries_->Repaint();
      Invalidate();
    });
  }
  const TRect r = CellRect(ACol, ARow);
  const TPoint p = ClientToScreen({r.Left, r.Bottom});
  visualsMenu_->Popup(p.X, p.Y);
}

void TCustomChartGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = Canvas();
  if (!m_.Chart && !m_.Series) {
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
    return;
  }
  if (gradient_ && gradient_->Visible()) {
    TLumCanvas3D lc;
    lc.AttachCanvas(c);
    gradient_->Draw(&lc, ARect);
  }
  const int first = FirstRow();
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  const TChartGridColumn kind = m_.Column(ACol);
  if (ARow == 0 && first == 2 && kind != gcLabel && kind != gcColor && ACol > 0) {
    if (m_.IsSeriesFirstColumn(ACol)) {
      TChartSeries* s = nullptr;
      m_.Column(ACol, &s);
      TLumCanvas3D lc;
      lc.AttachCanvas(c);
      PaintSeriesLegend(s, &lc, Rect(ARect.Left + 4, ARect.Top + 4, ARect.Left + 16, ARect.Top + 16));
      std::string title = s->GetTitleOrName();
      std::replace(title.begin(), title.end(), char(13), ' ');
      std::replace(title.begin(), title.end(), char(6), ' ');
      c->Brush()->SetStyle(bsClear);
      c->Font()->SetColor(Font()->Color());
      c->TextRect(ARect, ARect.Left + 18, ARect.Top + 4, title);
    }
    return;
  }
  if (ACol == 0 || (ARow == first - 1 && first == 2)) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FixedColor());
    c->FillRect(ARect);
    c->Brush()->SetStyle(bsClear);
  }
  const std::string text = m_.CellText(ACol, ARow);
  if (kind == gcColor) {
    if (ARow == first - 1) c->TextOut(ARect.Left + 2, ARect.Top + 4, LumMsg_Colors);
    else if (ARow >= first) {
      const TColor pc = m_.RowColor(ARow);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(pc == clNone ? Color() : pc);
      c->FillRect(Rect(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom));
    }
    return;
  }
  if (kind == gcLabel) {
    c->TextOut(ARect.Left + 2, ARect.Top + 3, text);
    return;
  }
  const int top = (ACol == 0 && ARow == first - 1) ? ARect.Top + 4 : ARect.Top + 2;
  c->TextOut(ARect.Right - 2 - c->TextWidth(text), top, text);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TChartGrid, TCustomChartGrid)

void TChartGrid::DefineProperties(TPropertyTable& t) {
  t.Bool("AllowNewSeries", &TChartGrid::AllowNewSeries, &TChartGrid::SetAllowNewSeries).Default(false);
  t.Bool("AllowAppendRows", &TChartGrid::AllowAppendRows, &TChartGrid::SetAllowAppendRows).Default(true);
  t.Bool("AllowEditSourced", &TChartGrid::AllowEditSourced, &TChartGrid::SetAllowEditSourced).Default(false);
  t.Bool("AllowSeriesColor", &TChartGrid::AllowSeriesColor, &TChartGrid::SetAllowSeriesColor).Default(true);
  t.Bool("Grid3D", &TChartGrid::Grid3D, &TChartGrid::SetGrid3D).Default(false);
  t.Bool("ShowColors", &TChartGrid::ShowColors, &TChartGrid::SetShowColors).Default(false);
  t.Bool("ShowLabels", &TChartGrid::ShowLabels, &TChartGrid::SetShowLabels).Default(true);
  t.Enum("ShowVisuals", &TChartGrid::ShowVisuals, &TChartGrid::SetShowVisuals, {"cgsAuto", "cgsNo", "cgsYes"})
      .Default(0LL);
  t.Enum("ShowXValues", &TChartGrid::ShowXValues, &TChartGrid::SetShowXValues, {"cgsAuto", "cgsNo", "cgsYes"})
      .Default(0LL);
  t.Event("OnChangeColor", &TChartGrid::OnChangeColor);
  t.Event("OnEditingCell", &TChartGrid::OnEditingCell);
}

std::vector<TClass> ChartGridClasses() {
  return {TChartGrid::StaticClass(), TChartGridNavigator::StaticClass()};
}
