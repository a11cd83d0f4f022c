#include "chart/series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>
#include <utility>

#include "canvas/lumcanvas.h"
#include "engine/axis.h"
#include "engine/paintpath.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TCustomLineSeries, TChartSeries)
IMPLEMENT_CLASS(TFastLineSeries, TCustomLineSeries)
IMPLEMENT_CLASS_PROPS(TCustomSeries, TCustomLineSeries)
IMPLEMENT_CLASS(TLineSeries, TCustomSeries)
IMPLEMENT_CLASS(TPointSeries, TCustomSeries)
IMPLEMENT_CLASS_PROPS(TCustomBarSeries, TChartSeries)
IMPLEMENT_CLASS(TBarSeries, TCustomBarSeries)

// ---------------------------------------------------------------------------
TCustomLineSeries::TCustomLineSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  LinePen()->SetColor(clLumColor);  // the series' colour
  RecordDefaults(LinePen());
}

TColor TCustomLineSeries::LineColor() const {
  const TColor c = LinePen()->Color();
  return c == clLumColor ? SeriesColor() : c;
}

namespace {

// Collects joined points and hands them to the canvas a batch at a time: points of
// the plot at the sink's depth, or (OnScreen) points already projected.
class TPolylineSink {
public:
  TPolylineSink(TCanvas3D* Canvas, int Z, bool OnScreen = false) : canvas_(Canvas), z_(Z), onScreen_(OnScreen) {}
  ~TPolylineSink() { Flush(); }
  TPolylineSink(const TPolylineSink&) = delete;
  TPolylineSink& operator=(const TPolylineSink&) = delete;

  void MoveTo(int X, int Y) {
    Flush();
    if (onScreen_) canvas_->MoveTo(X, Y);
    else canvas_->MoveTo3D(X, Y, z_);
  }
  void LineTo(int X, int Y) {
    if (count_ == Capacity || columnCount_ > 0) Flush();
    points_[count_++] = {X, Y};
  }
  void Add(int X, int Y, bool Starts) {
    if (Starts) MoveTo(X, Y);
    else LineTo(X, Y);
  }
  // A column of a line on the screen (TCanvas::ColumnLineTo), from a MoveTo to its
  // entry when it Starts a line.
  void Column(const TLineColumn& C, bool Starts) {
    if (Starts) MoveTo(C.X, C.Entry);
    if (columnCount_ == Capacity || count_ > 0) Flush();
    columns_[columnCount_++] = C;
  }
  void Flush() {
    if (count_ > 0) {
      if (onScreen_) canvas_->PolylineTo(points_, count_);
      else canvas_->PolylineTo3D(points_, count_, z_);
    }
    if (columnCount_ > 0) canvas_->ColumnLineTo(columns_, columnCount_);
    count_ = columnCount_ = 0;
  }

private:
  static constexpr int Capacity = 1024;
  TCanvas3D* canvas_;
  int z_;
  bool onScreen_;
  TPoint points_[Capacity];
  TLineColumn columns_[Capacity];
  int count_ = 0, columnCount_ = 0;
};

// Passes on a joined line with the points that share a pixel column replaced by
// what they cover there. A one-pixel segment leaves out its end pixel, so in a
// column the segments between the points cover every pixel from the lowest to the
// highest, except perhaps the last point's own, which the segment to the next
// column draws first: such a column goes to the screen whole (a TLineColumn). Only
// at the end of a line does that last pixel depend on the path: it is drawn when
// the line had left that value earlier.
class TColumnReducer {
public:
  explicit TColumnReducer(TPolylineSink& Sink) : sink_(Sink) {}
  void Add(int X, int Y, bool Starts) {
    if (open_ && !Starts && X == x_) return column_.Extend(Y);
    EndRun(Starts);
    starts_ = Starts || !open_;
    open_ = true;
    x_ = X;
    column_ = {Y, Y, Y, Y, false, false};
  }
  // Add for each point; the points of one column are taken in a tight loop.
  template <class Point>
  void AddAll(const Point* P, int N) {
    for (int i = 0; i < N; ++i) {
      if (!(open_ && !P[i].Starts && P[i].X == x_)) {
        Add(P[i].X, P[i].Y, P[i].Starts);
        continue;
      }
      TColumn c = column_;
      for (; i < N && !P[i].Starts && P[i].X == x_; ++i) c.Extend(P[i].Y);
      column_ = c;
      --i;
    }
  }
  // A whole column that the line leaves again: its entry, exit, lowest and highest
  // pixel. (Only where a line ends does the column need its points one by one.)
  void AddColumn(int X, int Entry, int Exit, int Low, int High, bool Starts) {
    Add(X, Entry, Starts);
    column_ = {Entry, Exit, Low, High, true, true};
  }
  void Finish() {
    EndRun(true);
    open_ = false;
  }

private:
  // What the points of the current column have covered so far.
  struct TColumn {
    int Entry, Exit, Low, High;
    bool LeftLow, LeftHigh;  // whether the line has left the lowest (highest) value
    // Without branches: the values of a dense line jump up and down at random.
    void Extend(int Y) {
      const bool moved = Y != Exit;
      LeftHigh = LeftHigh | (moved & (Exit == High));
      LeftLow = LeftLow | (moved & (Exit == Low));
      const bool newLow = Y < Low, newHigh = Y > High;
      Low = newLow ? Y : Low;
      High = newHigh ? Y : High;
      LeftLow = LeftLow & !newLow;
      LeftHigh = LeftHigh & !newHigh;
      Exit = Y;
    }
  };
  // The column: its entry, then its vertical part, ending on its exit point.
  void EndRun(bool LineEnds) {
    const TColumn& c = column_;
    if (!open_) return;
    if (!LineEnds) {
      // The segment to the next column draws the exit pixel: the whole column will do.
      sink_.Column({x_, c.Entry, c.Low, c.High, c.Exit}, starts_);
      return;
    }
    sink_.Add(x_, c.Entry, starts_);
    if (c.Low == c.High) return;
    last_ = c.Entry;
    const bool whole = (c.Exit != c.Low && c.Exit != c.High) || (c.Exit == c.High ? c.LeftHigh : c.LeftLow);
    if (!whole) {
      // Everything but the exit pixel, ending there.
      if (c.Exit == c.High) Emit(c.Low), Emit(c.High);
      else Emit(c.High), Emit(c.Low);
    } else if (c.Exit == c.High) {
      Emit(c.High), Emit(c.Low), Emit(c.High);
    } else if (c.Exit == c.Low) {
      Emit(c.Low), Emit(c.High), Emit(c.Low);
    } else {
      Emit(c.Low), Emit(c.High), Emit(c.Exit);
    }
  }
  void Emit(int Y) {
    if (Y == last_) return;
    sink_.LineTo(x_, Y);
    last_ = Y;
  }

  TPolylineSink& sink_;
  bool open_ = false, starts_ = false;  // starts_: the column begins a line
  int x_ = 0, last_ = 0;
  TColumn column_{};
};

// The columns of a line in ascending X, from First on, into Reducer: the end of a
// column is found by searching X (the pixels of sorted values never go back), and
// only the Y values are scanned for their extremes, which are the extreme pixels.
// ToY2(A, B, PixelA, PixelB) converts two values.
// Stops at the last column, whose end pixel depends on the path, and at a column
// whose X values are not in order or whose Y values hold NaN; answers the index
// the per-point walk goes on from.
template <class MapX, class MapY>
int ReduceSortedColumns(const double* X, const double* Y, int First, int Last, const MapX& ToX, const MapY& ToY2,
                        TColumnReducer& Reducer) {
  int i = First, lastWidth = 0, x = First <= Last ? ToX(X[First]) : 0;
  while (i <= Last) {
    int next = 0;
    const int hi = ColumnEnd(X, i, Last, x, ToX, lastWidth, &next);
    if (hi > Last) break;
    lastWidth = hi - i;
    double low, high;
    if (!ScanColumn(X, Y, i, hi, low, high)) break;
    // The extremes, the entry and the exit, two at a time.
    int a, b, entry, exit;
    ToY2(low, high, a, b);
    ToY2(Y[i], Y[hi - 1], entry, exit);
    Reducer.AddColumn(x, entry, exit, std::min(a, b), std::max(a, b), i == First);
    i = hi;
    x = next;
  }
  return i;
}

}  // namespace

void TCustomLineSeries::PrepareForGallery(bool IsEnabled) {
  TChartSeries::PrepareForGallery(IsEnabled);
  AddSampleValues(6);
}

void TCustomLineSeries::DefineProperties(TPropertyTable& t) { t.Object("LinePen", &TCustomLineSeries::LinePen); }

// ---------------------------------------------------------------------------
TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {}

void TFastLineSeries::SetSeriesColor(TColor Value) {
  TCustomLineSeries::SetSeriesColor(Value);
  LinePen()->SetColor(Value);
}

bool TCustomLineSeries::ReducesColumns(TCanvas3D* Canvas) {
  const TPen* pen = Canvas->Pen();
  return Canvas->DrawsToPixels() && !Canvas->Antialiased() && pen->Width() <= 1 && pen->Style() == psSolid &&
         pen->DashPattern().empty() && pen->Mode() == pmCopy;
}

bool TCustomLineSeries::SearchesColumns() const {
  const TChartAxis* horiz = GetHorizAxis();
  const TChartAxis* vert = GetVertAxis();
  const bool nulls = HasColors() && TreatNulls() != tnIgnore;
  // Fewer points than a handful per column are converted as fast as searched.
  return horiz && vert && !nulls && XValues()->Order() == loAscending && FirstValueIndex() >= 0 &&
         LastValueIndex() - FirstValueIndex() >= 4 * std::abs(horiz->IAxisSize());
}

// In 3D the columns are those of the screen: the points are projected before they
// are reduced, and the reduced line goes to the canvas as it is. Where the view keeps
// X and Y apart, projected columns are still found by searching X.
void TCustomLineSeries::DrawReducedLine(TCanvas3D* Canvas) const {
  const int z = MiddleZ();
  const bool flat = Canvas->FlatProjection();
  TPolylineSink sink(Canvas, z, true);
  TColumnReducer reducer(sink);
  int from = FirstValueIndex();
  if (SearchesColumns() && Canvas->SeparableProjection()) {
    const double* x = XValues()->Values().data();
    const double* y = YValues()->Values().data();
    const TChartAxis::TPixelMap toX = GetHorizAxis()->PixelMap(), toY = GetVertAxis()->PixelMap();
    if (flat)
      from = ReduceSortedColumns(x, y, from, LastValueIndex(), toX, toY, reducer);
    else {
      const TCanvas3D::TAxisProjection px = Canvas->ProjectionX(z), py = Canvas->ProjectionY(z);
      const auto projectedY = [&](double A, double B, int& PixelA, int& PixelB) {
        toY(A, B, PixelA, PixelB);
        PixelA = py(PixelA), PixelB = py(PixelB);
      };
      from = ReduceSortedColumns(x, y, from, LastValueIndex(), [&](double v) { return px(toX(v)); }, projectedY,
                                 reducer);
    }
  }
  ForEachVisibleChunk(
      [&](const TPathPoint* P, int N) {
        if (flat) return reducer.AddAll(P, N);
        TPoint plot[PathChunk], screen[PathChunk];
        TPathPoint projected[PathChunk];
        for (int i = 0; i < N; ++i) plot[i] = {P[i].X, P[i].Y};
        Canvas->ProjectPoints(plot, N, z, screen);
        for (int i = 0; i < N; ++i) projected[i] = {screen[i].X, screen[i].Y, P[i].Index, P[i].Starts};
        reducer.AddAll(projected, N);
      },
      from);
  reducer.Finish();
}

void TFastLineSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || !LinePen()->Visible()) return;
  c->ApplyPenColor(LinePen(), LineColor());
  if (ReducesColumns(c)) return DrawReducedLine(c);
  TPolylineSink sink(c, MiddleZ());
  ForEachVisibleChunk([&](const TPathPoint* P, int N) {
    for (int i = 0; i < N; ++i) sink.Add(P[i].X, P[i].Y, P[i].Starts);
  });
}

// The line is drawn as a whole; a single point has nothing to join.
void TFastLineSeries::DrawValue(int) {}

// ---------------------------------------------------------------------------
namespace {
// Changes that the pointer-style event makes while its chart draws apply to the
// marker being drawn; they must not ask for the next paint, or a chart whose event
// sizes markers by index would never stop repainting.
class TRepaintPause {
public:
  explicit TRepaintPause(TCustomAxisPanel* Chart) : chart_(Chart && Chart->Drawing() ? Chart : nullptr) {
    if (chart_) {
      saved_ = chart_->AutoRepaint();
      chart_->SetAutoRepaint(false);
    }
  }
  ~TRepaintPause() {
    if (chart_) chart_->SetAutoRepaint(saved_);
  }
  TRepaintPause(const TRepaintPause&) = delete;
  TRepaintPause& operator=(const TRepaintPause&) = delete;

private:
  TCustomAxisPanel* chart_;
  bool saved_ = true;
};
}  // namespace

TCustomSeries::TCustomSeries(TComponent* AOwner)
    : TCustomLineSeries(AOwner), pointer_(std::make_unique<TSeriesPointer>(this)) {}

TCustomSeries::~TCustomSeries() = default;

TSeriesPointerStyle TCustomSeries::DoGetPointerStyle(int ValueIndex) {
  if (!OnGetPointerStyle.Assigned()) return pointer_->Style();
  TRepaintPause pause(ParentChart());
  return OnGetPointerStyle(this, ValueIndex);
}

void TCustomSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  if (!c || FirstValueIndex() < 0) return;
  // A line in one colour draws as the fast line does.
  bool oneColor = LinePen()->Color() != clLumColor || (!HasColors() && !ColorEachPoint());
  if (DrawsLine() && LinePen()->Visible() && oneColor) {
    c->ApplyPenColor(LinePen(), LineColor());
    if (ReducesColumns(c)) DrawReducedLine(c);
    else oneColor = false;
  }
  if (DrawsLine() && LinePen()->Visible() && !oneColor) {
    // Each segment in the colour of the point it ends at; a run of one colour is
    // one polyline.
    TPolylineSink sink(c, MiddleZ());
    const TColor penColor = LinePen()->Color();
    TColor current = clNone;
    ForEachVisibleChunk([&](const TPathPoint* P, int N) {
      for (int i = 0; i < N; ++i) {
        if (P[i].Starts) {
          sink.MoveTo(P[i].X, P[i].Y);
          continue;
        }
        TColor color = penColor;
        if (color == clLumColor) {
          color = GetValueColor(P[i].Index);
          if (color == clNone) color = SeriesColor();  // an ignored null
        }
        if (color != current) {
          sink.Flush();
          c->ApplyPenColor(LinePen(), color);
          current = color;
        }
        sink.LineTo(P[i].X, P[i].Y);
      }
    });
  }
  if (pointer_->Visible()) DrawPointers(c);
}

void TCustomSeries::DrawPointers(TCanvas3D* C) {
  TColor prepared = clNone;
  TChartBrush* brush = pointer_->Brush();
  const bool plainFill = brush->Style() == bsClear || OpaqueBrush(brush);
  if (OnGetPointerStyle.Assigned() || !C->DrawsToPixels() || C->Antialiased() || C->Pen()->Mode() != pmCopy ||
      !OpaquePen(pointer_->Pen()) || !plainFill || (pointer_->HasGradient() && pointer_->Gradient()->Visible())) {
    ForEachVisibleChunk([&](const TPathPoint* P, int N) {
      for (int i = 0; i < N; ++i) DrawPointerAt(C, P[i].Index, P[i].X, P[i].Y, prepared);
    });
    return;
  }
  TCustomAxisPanel* chart = ParentChart();
  const bool box = chart->View3D() && pointer_->Draw3D() && pointer_->Depth() > 0;
  const int width = pointer_->HorizSize(), height = pointer_->VertSize(), z = MiddleZ();
  // A flat rectangle with a fill sets every pixel of its box but the right column and
  // bottom row, one more of each without a pen: later ones may hide it entirely.
  const bool rects = pointer_->Style() == psRectangle && !box && brush->Style() == bsSolid && C->SeparableProjection();
  const int inset = pointer_->Pen()->Visible() ? 1 : 2;
  const TCanvas3D::TAxisProjection px = C->ProjectionX(z), py = C->ProjectionY(z);
  const TRect area = TColumnCover::VisibleArea(C);
  TColumnCover cover(rects ? area : TRect{});
  // Places already taken by a later marker, one bit per pixel around the plot.
  const TRect& plot = chart->ChartRect();
  const int margin = std::max(width, height) + chart->Width3D() + 4;
  const TRect places{plot.Left - margin, plot.Top - margin, plot.Right + margin + 1, plot.Bottom + margin + 1};
  const long long placesTall = places.Bottom - places.Top;  // column by column
  std::vector<unsigned long long> taken(size_t(((places.Right - places.Left) * placesTall + 63) / 64));
  struct TKept {
    int Index, X, Y;
  };
  std::vector<TKept> kept;
  const bool flat = C->FlatProjection();
  // Whether a later marker at (X, Y) sets the very same pixels; marks the place.
  const auto repeated = [&](int X, int Y) {
    if (X < places.Left || X >= places.Right || Y < places.Top || Y >= places.Bottom) return false;
    const long long bit = (X - places.Left) * placesTall + (Y - places.Top);
    unsigned long long& word = taken[size_t(bit / 64)];
    const unsigned long long mask = 1ULL << (bit % 64);
    if (word & mask) return true;
    word |= mask;
    return false;
  };
  // One point, walking back, that no later marker repeats: left out, or kept and its
  // pixels covered.
  const auto visit = [&](int Index, int X, int Y) {
    const int l = X - width / 2, t = Y - height / 2, r = l + std::max(width, 1), b = t + std::max(height, 1);
    // Flat, a marker stays within a pixel of its box: one wholly outside shows nothing.
    if (flat && (r + 1 < area.Left || l - 1 >= area.Right || b + 1 < area.Top || t - 1 >= area.Bottom)) return;
    if (rects) {
      TRect s{px(l), py(t), px(r), py(b)};
      if (s.Left > s.Right) std::swap(s.Left, s.Right);
      if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
      if (s.Right - s.Left < inset || s.Bottom - s.Top < inset) return;  // sets no pixel
      if (cover.Hidden(s.Left, s.Right - inset, s.Top, s.Bottom - inset)) return;
      cover.Cover(s.Left, s.Right - inset, s.Top, s.Bottom - inset);
    }
    kept.push_back({Index, X, Y});
  };
  const int first = FirstValueIndex(), last = LastValueIndex();
  const bool nulls = HasColors() && TreatNulls() != tnIgnore;
  constexpr int Chunk = TCustomLineSeries::PathChunk;
  int xs[Chunk], ys[Chunk];
  // Points From..To-1 walking back, all converted (Column < 0) or all in one column.
  const auto walkBack = [&](int From, int To, int Column) {
    for (int end = To; end > From; end -= Chunk) {
      const int n = std::min(Chunk, end - From), from = end - n;
      if (Column < 0) {
        CalcPositions(from, n, xs, ys);
        for (int j = n - 1; j >= 0; --j)
          if ((!nulls || !IsNull(from + j)) && !repeated(xs[j], ys[j])) visit(from + j, xs[j], ys[j]);
        continue;
      }
      // One column: most of its points repeat a place, tested on the column's bits.
      GetVertAxis()->CalcPosValues(YValues()->Values().data() + from, n, ys);
      if (Column < places.Left || Column >= places.Right) {
        for (int j = n - 1; j >= 0; --j) visit(from + j, Column, ys[j]);
        continue;
      }
      const long long base = (Column - places.Left) * placesTall;
      for (int j = n - 1; j >= 0; --j) {
        const unsigned row = unsigned(ys[j] - places.Top);
        if (row < unsigned(placesTall)) {
          const long long bit = base + row;
          unsigned long long& word = taken[size_t(bit >> 6)];
          const unsigned long long mask = 1ULL << (bit & 63);
          if (word & mask) continue;
          word |= mask;
        }
        visit(from + j, Column, ys[j]);
      }
    }
  };
  TChartAxis* horiz = GetHorizAxis();
  if (!nulls && XValues()->Order() == loAscending && last - first >= 4 * std::abs(horiz->IAxisSize())) {
    // Many points to a column in ascending X: each column is found by searching X,
    // and only the Y values are converted; a column whose X values are out of order
    // goes point by point.
    const double* x = XValues()->Values().data();
    const TChartAxis::TPixelMap toX = horiz->PixelMap();
    std::vector<std::pair<int, int>> columns;  // first index, pixel
    for (int i = first, lastWidth = 0; i <= last;) {
      const int column = toX(x[i]), end = ColumnEnd(x, i, last, column, toX, lastWidth);
      columns.emplace_back(i, column);
      lastWidth = end - i;
      i = end;
    }
    for (size_t k = columns.size(); k-- > 0;) {
      const int from = columns[k].first, to = k + 1 < columns.size() ? columns[k + 1].first : last + 1;
      bool sorted = true;
      for (int i = from + 1; i < to && sorted; ++i) sorted = x[i] >= x[i - 1];
      walkBack(from, to, sorted ? columns[k].second : -1);
    }
  } else {
    walkBack(first, last + 1, -1);
  }
  for (auto k = kept.rbegin(); k != kept.rend(); ++k) DrawPointerAt(C, k->Index, k->X, k->Y, prepared);
}

void TCustomSeries::DrawValue(int ValueIndex) {
  TCanvas3D* c = ParentCanvas();
  if (!c || !pointer_->Visible()) return;
  if (IsNull(ValueIndex) && TreatNulls() != tnIgnore) return;
  TColor prepared = clNone;
  DrawPointerAt(c, ValueIndex, CalcXPos(ValueIndex), CalcYPos(ValueIndex), prepared);
}

void TCustomSeries::DrawPointerAt(TCanvas3D* Canvas, int ValueIndex, int X, int Y, TColor& Prepared) {
  TColor color = GetValueColor(ValueIndex);
  if (color == clNone) color = SeriesColor();
  TSeriesPointerStyle style;
  if (OnGetPointerStyle.Assigned()) {
    pointer_->PrepareCanvas(Canvas, color);
    style = DoGetPointerStyle(ValueIndex);
    // Prepared again, so sizes and colours the event set apply to this marker.
    pointer_->PrepareCanvas(Canvas, color);
    Prepared = clNone;
  } else {
    if (color != Prepared) pointer_->PrepareCanvas(Canvas, color);
    style = pointer_->Style();
    Prepared = color;
  }
  // The line symbols take a pen of their own when the pointer's is hidden.
  if (style == psCross || style == psDiagCross || style == psStar || style == psSmallDot) Prepared = clNone;
  TCustomAxisPanel* chart = ParentChart();
  // A box needs a depth; without one the marker is drawn flat at the series' depth.
  const bool box = chart->View3D() && pointer_->Draw3D() && pointer_->Depth() > 0;
  pointer_->DrawPointer(Canvas, box, style, color, pointer_->HorizSize(),
                        pointer_->VertSize(), X, Y);
}

void TCustomSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
  pointer_->CalcHorizMargins(LeftMargin, RightMargin);
}

void TCustomSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  pointer_->CalcVerticalMargins(TopMargin, BottomMargin);
}

void TCustomSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomSeries*>(Source)) {
    pointer_->Assign(src->pointer_.get());
    transparency_ = src->transparency_;
  }
  TCustomLineSeries::Assign(Source);
}

void TCustomSeries::DefineProperties(TPropertyTable& t) {
  t.Object("Pointer", &TCustomSeries::Pointer);
  t.Event("OnGetPointerStyle", &TCustomSeries::OnGetPointerStyle);
  t.Int("Transparency", &TCustomSeries::Transparency, &TCustomSeries::SetTransparency).Default(0LL);
}

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  Pointer()->SetVisible(false);
  RecordDefaults(Pointer());
}

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner) {}

// ---------------------------------------------------------------------------
TCustomBarSeries::TCustomBarSeries(TComponent* AOwner)
    : TChartSeries(AOwner), shadow_(std::make_unique<TLumShadow>(ChangeHandler())) {
  YValues()->SetName("Bar");
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarWidthPercent(int Value) { SetIntegerProperty(barWidthPercent_, std::clamp(Value, 1, 100)); }
void TCustomBarSeries::SetYOrigin(double Value) { SetDoubleProperty(yOrigin_, Value); }
void TCustomBarSeries::SetUseYOrigin(bool Value) { SetBooleanProperty(useYOrigin_, Value); }
void TCustomBarSeries::SetDark3D(bool Value) { SetBooleanProperty(dark3D_, Value); }
void TCustomBarSeries::SetSideMargins(bool Value) { SetBooleanProperty(sideMargins_, Value); }

int TCustomBarSeries::BarWidth() const {
  const bool horiz = HorizontalBars();
  TChartAxis* axis = horiz ? GetVertAxis() : GetHorizAxis();
  const int n = Count();
  if (!axis || n == 0) return 1;
  TChartValueList* positions = NotMandatoryValueList();
  const auto pixel = [&](double v) { return horiz ? CalcYPosValue(v) : CalcXPosValue(v); };
  const double spacing = n > 1 ? std::abs(pixel(positions->GetMaxValue()) - pixel(positions->GetMinValue())) / double(n - 1)
                               : std::abs(axis->IAxisSize());
  return std::max(1, int(Round(spacing * barWidthPercent_ / 100.0)));
}

int TCustomBarSeries::OriginPixel() const {
  const bool horiz = HorizontalBars();
  TChartAxis* valueAxis = horiz ? GetHorizAxis() : GetVertAxis();
  if (!valueAxis) return 0;
  const double origin = useYOrigin_ ? yOrigin_ : valueAxis->Minimum();
  return horiz ? CalcXPosValue(origin) : CalcYPosValue(origin);
}

TRect TCustomBarSeries::BarFromPixels(int Position, int Value, int Width, int Origin) const {
  TRect r;
  if (HorizontalBars()) {
    const int top = Position - Width / 2;
    const int left = std::min(Origin, Value), right = std::max(Origin, Value);
    r = {left, top, right, top + Width};
  } else {
    const int left = Position - Width / 2;
    const int top = std::min(Value, Origin), bottom = std::max(Value, Origin);
    r = {left, top, left + Width, bottom};
  }
  // Far values saturate far outside: keep the bar to the plot.
  const TRect& plot = ParentChart()->ChartRect();
  r.Left = std::max(r.Left, plot.Left);
  r.Right = std::min(r.Right, plot.Right + 1);
  r.Top = std::max(r.Top, plot.Top);
  r.Bottom = std::min(r.Bottom, plot.Bottom + 1);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return {};
  return r;
}

TRect TCustomBarSeries::CalcBarBounds(int ValueIndex) const {
  const bool horiz = HorizontalBars();
  TChartAxis* valueAxis = horiz ? GetHorizAxis() : GetVertAxis();
  if (!valueAxis || IsNull(ValueIndex)) return {};
  return horiz ? BarFromPixels(CalcYPos(ValueIndex), CalcXPos(ValueIndex), BarWidth(), OriginPixel())
               : BarFromPixels(CalcXPos(ValueIndex), CalcYPos(ValueIndex), BarWidth(), OriginPixel());
}

void TCustomBarSeries::DrawValue(int ValueIndex) { PaintBar(ValueIndex, CalcBarBounds(ValueIndex)); }

void TCustomBarSeries::PaintBar(int ValueIndex, const TRect& R) {
  TCanvas3D* c = ParentCanvas();
  if (!c || R.Right <= R.Left) return;
  c->ApplyBrushColors(BarBrush(), GetValueColor(ValueIndex), BarBrush()->BackColor());
  if (BarPen()->Visible()) c->ApplyPen(BarPen());
  else c->Pen()->SetStyle(psClear);
  if (ParentChart()->View3D() && EndZ() > StartZ()) {
    // A box through the series' depth slot.
    c->CubeFromRect(R, StartZ(), EndZ(), dark3D_);
  } else if (BarPen()->Visible()) {
    c->RectangleWithZ(R, MiddleZ());
  } else {
    c->FillRect(R);
  }
}

void TCustomBarSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (!c || first < 0 || !(HorizontalBars() ? GetHorizAxis() : GetVertAxis())) return;
  const bool horiz = HorizontalBars(), forward = DrawValuesForward();
  const int width = BarWidth(), origin = OriginPixel();
  constexpr int Chunk = 1024;
  int xs[Chunk], ys[Chunk];
  TRect bars[Chunk];
  // The bars of the Count points from From, in index order, into bars.
  const auto convert = [&](int From, int Count) {
    CalcPositions(From, Count, xs, ys);
    for (int j = 0; j < Count; ++j)
      bars[j] = IsNull(From + j) ? TRect{} : horiz ? BarFromPixels(ys[j], xs[j], width, origin)
                                                  : BarFromPixels(xs[j], ys[j], width, origin);
  };
  // Parts of Chunk points in drawing order (Backwards: against it).
  const auto eachPart = [&](bool Backwards, auto&& Visit) {
    const bool ascending = forward != Backwards;
    for (int done = 0; done <= last - first; done += Chunk) {
      const int n = std::min(Chunk, last - first + 1 - done);
      const int from = ascending ? first + done : last - done - n + 1;
      convert(from, n);
      for (int k = 0; k < n; ++k) {
        const int j = ascending ? k : n - 1 - k;
        Visit(from + j, bars[j]);
      }
    }
  };
  const bool boxes = ParentChart()->View3D() && EndZ() > StartZ();
  const bool opaque = c->DrawsToPixels() && !c->Antialiased() && OpaqueBrush(BarBrush()) && OpaquePen(BarPen()) &&
                      c->Pen()->Mode() == pmCopy;
  if (!opaque || (!boxes && !c->SeparableProjection())) {
    eachPart(false, [&](int i, const TRect& r) { PaintBar(i, r); });
    return;
  }
  // From the last drawn back: flat bars later ones paint over are left out (a framed
  // or filled rectangle sets all its pixels but its right column and bottom row); a
  // box the same as a later one is left out (it sets the very same pixels).
  std::vector<std::pair<int, TRect>> kept;
  TColumnCover cover(boxes ? TRect{} : TColumnCover::VisibleArea(c));
  struct TRectHash {
    size_t operator()(const TRect& R) const {
      return std::hash<unsigned long long>()((static_cast<unsigned long long>(unsigned(R.Left)) << 32 | unsigned(R.Top)) ^
                                             (static_cast<unsigned long long>(unsigned(R.Right)) << 40 |
                                              static_cast<unsigned long long>(unsigned(R.Bottom)) << 8));
    }
  };
  struct TRectEqual {
    bool operator()(const TRect& A, const TRect& B) const {
      return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
    }
  };
  std::unordered_set<TRect, TRectHash, TRectEqual> later;
  const int z = MiddleZ();
  const TCanvas3D::TAxisProjection px = c->ProjectionX(z), py = c->ProjectionY(z);
  eachPart(true, [&](int i, const TRect& r) {
    if (r.Right <= r.Left) return;
    if (boxes) {
      if (later.insert(r).second) kept.emplace_back(i, r);
      return;
    }
    TRect s{px(r.Left), py(r.Top), px(r.Right), py(r.Bottom)};
    if (s.Left > s.Right) std::swap(s.Left, s.Right);
    if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
    if (s.Right - s.Left < 1 || s.Bottom - s.Top < 1 || cover.Hidden(s.Left, s.Right - 1, s.Top, s.Bottom - 1)) return;
    kept.emplace_back(i, r);
    cover.Cover(s.Left, s.Right - 1, s.Top, s.Bottom - 1);
  });
  if (boxes && !kept.empty()) {
    // The boxes in one go, each in its point's colour (a point without one keeps the
    // plain path: its brush is clear).
    std::vector<TRect> rects;
    std::vector<TColor> colours;
    rects.reserve(kept.size());
    colours.reserve(kept.size());
    for (auto k = kept.rbegin(); k != kept.rend(); ++k) {
      rects.push_back(k->second);
      colours.push_back(GetValueColor(k->first));
    }
    if (std::find(colours.begin(), colours.end(), TColor(clNone)) == colours.end()) {
      c->ApplyBrushColors(BarBrush(), colours.front(), BarBrush()->BackColor());
      if (BarPen()->Visible()) c->ApplyPen(BarPen());
      else c->Pen()->SetStyle(psClear);
      c->CubesFromRects(rects.data(), colours.data(), int(rects.size()), StartZ(), EndZ(), dark3D_);
      c->ApplyBrushColors(BarBrush(), colours.back(), BarBrush()->BackColor());
      return;
    }
  }
  for (auto k = kept.rbegin(); k != kept.rend(); ++k) PaintBar(k->first, k->second);
}

int TCustomBarSeries::Clicked(int X, int Y) {
  TCanvas3D* c = ParentCanvas();
  if (!c || !ParentChart()) return -1;
  const TPoint p = c->InverseProject(X, Y, ParentChart()->View3D() ? StartZ() : MiddleZ());
  // The front bar wins where bars overlap: the last drawn.
  for (int i = Count() - 1; i >= 0; --i) {
    const TRect r = CalcBarBounds(i);
    if (r.Right > r.Left && p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom) return i;
  }
  return -1;
}

void TCustomBarSeries::PositionMargins(int Length, int& MinMargin, int& MaxMargin) const {
  if (!sideMargins_ || Count() == 0) return;
  // Half a bar at each end, from the plot size the chart has now.
  const int bar = std::max(1, int(Round(double(Length) / Count() * barWidthPercent_ / 100.0)));
  MinMargin = std::max(MinMargin, bar / 2 + 1);
  MaxMargin = std::max(MaxMargin, bar / 2 + 1);
}

void TCustomBarSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TChartSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  if (HorizontalBars() && ParentChart()) PositionMargins(ParentChart()->ChartHeight(), TopMargin, BottomMargin);
}

void TCustomBarSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);
  for (const char* name : {"Colors", "No Border", "Thin", "Origin"}) AddSubChart(name);
}

void TCustomBarSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* bar = dynamic_cast<TCustomBarSeries*>(ASeries);
  if (!bar) return;
  switch (Index) {
    case 1: bar->SetColorEachPoint(true); break;
    case 2: bar->BarPen()->Hide(); break;
    case 3: bar->SetBarWidthPercent(30); break;
    case 4: bar->SetYOrigin((bar->MandatoryValueList()->GetMinValue() + bar->MandatoryValueList()->GetMaxValue()) / 2); break;
    default: break;
  }
}

void TCustomBarSeries::PrepareForGallery(bool IsEnabled) {
  TChartSeries::PrepareForGallery(IsEnabled);
  // Thumbnail bars stand apart, few of them.
  SetBarWidthPercent(60);
  AddSampleValues(4);
}

double TCustomBarSeries::MinValueWithOrigin(double Min) const {
  return useYOrigin_ && Count() > 0 ? std::min(Min, yOrigin_) : Min;
}

double TCustomBarSeries::MaxValueWithOrigin(double Max) const {
  return useYOrigin_ && Count() > 0 ? std::max(Max, yOrigin_) : Max;
}

double TCustomBarSeries::MinXValue() const {
  const double v = TChartSeries::MinXValue();
  return HorizontalBars() ? MinValueWithOrigin(v) : v;
}

double TCustomBarSeries::MaxXValue() const {
  const double v = TChartSeries::MaxXValue();
  return HorizontalBars() ? MaxValueWithOrigin(v) : v;
}

double TCustomBarSeries::MinYValue() const {
  const double v = TChartSeries::MinYValue();
  return HorizontalBars() ? v : MinValueWithOrigin(v);
}

double TCustomBarSeries::MaxYValue() const {
  const double v = TChartSeries::MaxYValue();
  return HorizontalBars() ? v : MaxValueWithOrigin(v);
}

void TCustomBarSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TChartSeries::CalcHorizMargins(LeftMargin, RightMargin);
  if (!HorizontalBars() && ParentChart()) PositionMargins(ParentChart()->ChartWidth(), LeftMargin, RightMargin);
}

void TCustomBarSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomBarSeries*>(Source)) {
    barWidthPercent_ = src->barWidthPercent_;
    yOrigin_ = src->yOrigin_;
    useYOrigin_ = src->useYOrigin_;
    dark3D_ = src->dark3D_;
    sideMargins_ = src->sideMargins_;
    shadow_->Assign(src->shadow_.get());
  }
  TChartSeries::Assign(Source);
}

void TCustomBarSeries::DefineProperties(TPropertyTable& t) {
  t.Object("BarBrush", &TCustomBarSeries::BarBrush);
  t.Object("BarPen", &TCustomBarSeries::BarPen);
  t.Int("BarWidthPercent", &TCustomBarSeries::BarWidthPercent, &TCustomBarSeries::SetBarWidthPercent).Default(70LL);
  t.Bool("Dark3D", &TCustomBarSeries::Dark3D, &TCustomBarSeries::SetDark3D).Default(true);
  t.Object("Shadow", &TCustomBarSeries::Shadow);
  t.Bool("SideMargins", &TCustomBarSeries::SideMargins, &TCustomBarSeries::SetSideMargins).Default(true);
  t.Bool("UseYOrigin", &TCustomBarSeries::UseYOrigin, &TCustomBarSeries::SetUseYOrigin).Default(true);
  t.Float("YOrigin", &TCustomBarSeries::YOrigin, &TCustomBarSeries::SetYOrigin).Default((long double)0);
}

// ---------------------------------------------------------------------------
namespace {
constexpr int ClickTolerance = 3;

// Squared distance in pixels from P to the segment A-B.
double SegmentDistance2(const TPoint& P, const TPoint& A, const TPoint& B) {
  const double dx = B.X - A.X, dy = B.Y - A.Y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((P.X - A.X) * dx + (P.Y - A.Y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = A.X + t * dx - P.X, ey = A.Y + t * dy - P.Y;
  return ex * ex + ey * ey;
}

// The visible, drawn point of a segment within the tolerance of (X, Y) that is
// nearer to it; -1 none. Nulls that break the line break the test too.
int ClickedSegment(const TChartSeries* S, const TPoint& P) {
  const int first = S->FirstValueIndex(), last = S->LastValueIndex();
  if (first < 0) return -1;
  const bool skipNulls = S->TreatNulls() != tnIgnore;
  int prev = -1;
  TPoint a{};
  // Pixels a chunk at a time: long lines are hit-tested on every hover move.
  constexpr int Chunk = 1024;
  int xs[Chunk], ys[Chunk];
  for (int from = first; from <= last; from += Chunk) {
    const int n = std::min(Chunk, last - from + 1);
    S->CalcPositions(from, n, xs, ys);
    for (int k = 0; k < n; ++k) {
      const int i = from + k;
      if (skipNulls && S->IsNull(i)) {
        if (S->TreatNulls() == tnDontPaint) prev = -1;
        continue;
      }
      const TPoint b{xs[k], ys[k]};
      if (prev >= 0 && SegmentDistance2(P, a, b) <= ClickTolerance * ClickTolerance) {
        const double da = double(P.X - a.X) * (P.X - a.X) + double(P.Y - a.Y) * (P.Y - a.Y);
        const double db = double(P.X - b.X) * (P.X - b.X) + double(P.Y - b.Y) * (P.Y - b.Y);
        return da <= db ? prev : i;
      }
      prev = i;
      a = b;
    }
  }
  return -1;
}

// (X, Y) on the plane of the series' drawing.
TPoint ClickPoint(const TChartSeries* S, TCanvas3D* C, int X, int Y) {
  if (!C) return {X, Y};
  return C->InverseProject(X, Y, S->MiddleZ());
}
}  // namespace

int TFastLineSeries::Clicked(int X, int Y) {
  if (!ParentChart()) return -1;
  CalcFirstLastVisibleIndex();
  return ClickedSegment(this, ClickPoint(this, ParentCanvas(), X, Y));
}

void TFastLineSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);
  for (const char* name : {"Dotted", "Thick"}) AddSubChart(name);
}

void TFastLineSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* line = dynamic_cast<TCustomLineSeries*>(ASeries);
  if (!line) return;
  if (Index == 1) line->LinePen()->SetStyle(psDot);
  if (Index == 2) line->LinePen()->SetWidth(3);
}

void TCustomSeries::SetTransparency(int Value) { SetIntegerProperty(transparency_, std::clamp(Value, 0, 100)); }

int TCustomSeries::Clicked(int X, int Y) {
  if (!ParentChart()) return -1;
  CalcFirstLastVisibleIndex();
  const TPoint p = ClickPoint(this, ParentCanvas(), X, Y);
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0) return -1;
  if (pointer_->Visible()) {
    const int hw = pointer_->HorizSize() / 2 + 1, hh = pointer_->VertSize() / 2 + 1;
    for (int i = last; i >= first; --i) {
      if (IsNull(i) && TreatNulls() != tnIgnore) continue;
      if (std::abs(CalcXPos(i) - p.X) <= hw && std::abs(CalcYPos(i) - p.Y) <= hh) return i;
    }
  }
  return DrawsLine() && LinePen()->Visible() ? ClickedSegment(this, p) : -1;
}

void TCustomSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);
  static constexpr const char* lines[] = {"Points", "Dotted", "Colors", "Thick"};
  static constexpr const char* points[] = {"Circle", "Triangle", "Diamond", "Colors"};
  for (const char* name : DrawsLine() ? lines : points) AddSubChart(name);
}

void TCustomSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* s = dynamic_cast<TCustomSeries*>(ASeries);
  if (!s || Index <= 0) return;
  if (s->DrawsLine()) {
    if (Index == 1) s->Pointer()->SetVisible(true);
    if (Index == 2) s->LinePen()->SetStyle(psDot);
    if (Index == 3) s->SetColorEachPoint(true);
    if (Index == 4) s->LinePen()->SetWidth(3);
  } else {
    static constexpr TSeriesPointerStyle styles[] = {psCircle, psTriangle, psDiamond};
    if (Index <= 3) s->Pointer()->SetStyle(styles[Index - 1]);
    if (Index == 4) s->SetColorEachPoint(true);
  }
}
