// The standard series of the main road: fast line, line, point and bar.
//
//   TChartSeries -> TCustomLineSeries -> TFastLineSeries
//                                     -> TCustomSeries -> TLineSeries, TPointSeries
//   TChartSeries -> TCustomBarSeries  -> TBarSeries
#pragma once
#include <algorithm>
#include <memory>
#include <vector>

#include "engine/series.h"

// A series drawn with a line pen (the element's Pen). A pen colour of clLumColor
// stands for the series colour.
class TCustomLineSeries : public TChartSeries {
  DECLARE_CLASS(TCustomLineSeries, TChartSeries)
public:
  explicit TCustomLineSeries(TComponent* AOwner);
  TChartPen* LinePen() const { return Pen(); }
  void SetLinePen(TChartPen* Value) { SetPen(Value); }
  // The base's defaults and a few sample points.
  void PrepareForGallery(bool IsEnabled) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // The colour the line is drawn in: the pen's own, else the series colour.
  TColor LineColor() const;
  // A visible point: its pixel, its index, and whether it starts a new run of
  // joined points (the first one, and the first after a break).
  struct TPathPoint {
    int X, Y, Index;
    bool Starts;
  };
  // Calls Visit(const TPathPoint* Points, int Count) with the visible points in
  // order, a chunk at a time; a null point that TreatNulls does not ignore is left
  // out and, with tnDontPaint, breaks the line. From, when given, is a visible index
  // the walk starts at, going on with a line drawn up to it.
  template <class F>
  void ForEachVisibleChunk(F&& Visit, int From = -1) const;
  // Points handed over at a time by ForEachVisibleChunk.
  static constexpr int PathChunk = 1024;
  // Whether the canvas, with the line pen applied, draws a line reduced to what its
  // points cover in each pixel column exactly as it draws every segment: a solid
  // one-pixel pen in copy mode, without smoothing, on a canvas that draws to pixels.
  static bool ReducesColumns(TCanvas3D* Canvas);
  // The visible line in the pen the canvas holds, reduced column by column on the
  // screen (points projected first in 3D): the very pixels of every segment.
  void DrawReducedLine(TCanvas3D* Canvas) const;

private:
  // Whether the points are in ascending X, without nulls, and many to a column, so
  // that a column's points can be found by search instead of converting every X.
  bool SearchesColumns() const;
};

// The whole line in the line pen, its colour and style; the colours points were
// added with are not used, only their nulls.
class TFastLineSeries : public TCustomLineSeries {
  DECLARE_CLASS(TFastLineSeries, TCustomLineSeries)
public:
  explicit TFastLineSeries(TComponent* AOwner);
  // Sets the series colour, then the line pen's colour to the same.
  void SetSeriesColor(TColor Value) override;
  // Where many points share a pixel column, a solid one-pixel pen in copy mode on a
  // canvas that draws to pixels draws only what they cover in the column (entry,
  // lowest, highest, exit): the very pixels every segment would give.
  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  // The point a segment near (X, Y) starts or ends at, whichever is nearer.
  int Clicked(int X, int Y) override;
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
};

template <class F>
inline void TCustomLineSeries::ForEachVisibleChunk(F&& Visit, int From) const {
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0) return;
  if (From < first) From = first;
  constexpr int Chunk = PathChunk;
  int xs[Chunk], ys[Chunk];
  TPathPoint out[Chunk];
  const bool nulls = HasColors() && TreatNulls() != tnIgnore;
  const bool breaks = TreatNulls() == tnDontPaint;
  bool starts = From == first;
  for (int from = From; from <= last; from += Chunk) {
    const int n = std::min(Chunk, last - from + 1);
    CalcPositions(from, n, xs, ys);
    int m = 0;
    for (int j = 0; j < n; ++j) {
      if (nulls && IsNull(from + j)) {
        starts = starts || breaks;
        continue;
      }
      out[m++] = {xs[j], ys[j], from + j, starts};
      starts = false;
    }
    if (m > 0) Visit(static_cast<const TPathPoint*>(out), m);
  }
}

using TGetPointerStyleEvent = TEvent<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// Line, point and area series: a line (when the type draws one) and a pointer
// marker at each point.
class TCustomSeries : public TCustomLineSeries {
  DECLARE_CLASS(TCustomSeries, TCustomLineSeries)
public:
  explicit TCustomSeries(TComponent* AOwner);
  ~TCustomSeries() override;

  TSeriesPointer* Pointer() const { return pointer_.get(); }
  void SetPointer(TSeriesPointer* Value) { pointer_->Assign(Value); }

  void DrawAllValues() override;
  // Draws the marker of one point (the pointer-style event decides its style).
  void DrawValue(int ValueIndex) override;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;

  // Percent of what lies behind that shows through the series' fills (0..100).
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  // A marker's box or (line types) a segment within a few pixels; the nearer point.
  int Clicked(int X, int Y) override;
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  // The series editor shows the form of this name on its "Format" tab when one is
  // registered; of the standard series' forms only the point series' is.
  std::string EditorClassName() const override { return "TCustomSeriesEditor"; }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // Asked for each point as its marker is drawn; answers the marker's style and may
  // change the pointer's sizes and colours for that marker.
  TGetPointerStyleEvent OnGetPointerStyle;
  // The pointer-style event's answer, or the pointer's Style without a handler
  // (the legend symbol asks it too).
  TSeriesPointerStyle DoGetPointerStyle(int ValueIndex);

protected:
  // Whether the type joins its points with a line.
  virtual bool DrawsLine() const { return true; }

private:
  // The marker of a visible point at its pixel. Prepared is the colour the canvas
  // was last prepared for by a marker (clNone: not known); a marker of the same
  // colour and a style that leaves the pen alone needs no new preparation.
  void DrawPointerAt(TCanvas3D* Canvas, int ValueIndex, int X, int Y, TColor& Prepared);
  // The markers of the visible points in order. Where each marker sets its pixels in
  // plain colours over whatever lies below (one-pixel solid pens, plain fills, copy
  // mode, no style event), a marker that a later one at the same place repeats, or
  // (flat rectangles) that later ones paint over entirely, is left out.
  void DrawPointers(TCanvas3D* Canvas);

private:
  std::unique_ptr<TSeriesPointer> pointer_;
  int transparency_ = 0;
};

// Points joined by lines; each segment in the colour of the point it ends at. The
// pointer is hidden by default.
class TLineSeries : public TCustomSeries {
  DECLARE_CLASS(TLineSeries, TCustomSeries)
public:
  explicit TLineSeries(TComponent* AOwner);
};

// A marker at each non-null point, no line.
class TPointSeries : public TCustomSeries {
  DECLARE_CLASS(TPointSeries, TCustomSeries)
public:
  explicit TPointSeries(TComponent* AOwner);
  std::string EditorClassName() const override { return "TSeriesPointerEditor"; }

protected:
  bool DrawsLine() const override { return false; }
};

// Vertical bars from the origin to each value.
class TCustomBarSeries : public TChartSeries {
  DECLARE_CLASS(TCustomBarSeries, TChartSeries)
public:
  explicit TCustomBarSeries(TComponent* AOwner);
  ~TCustomBarSeries() override;

  // Width of a bar in percent of the spacing between points (1..100).
  int BarWidthPercent() const { return barWidthPercent_; }
  void SetBarWidthPercent(int Value);
  // The value the bars start from; with UseYOrigin off they start at the axis' minimum.
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double Value);
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool Value);
  // Outline of the bars (the element's Pen) and their fill pattern (the element's
  // Brush; the fill colour is the point's).
  TChartPen* BarPen() const { return Pen(); }
  TChartBrush* BarBrush() const { return Brush(); }
  // 3D shading of the bars' sides.
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool Value);
  // Half a bar of room at both ends of the horizontal axis.
  bool SideMargins() const { return sideMargins_; }
  void SetSideMargins(bool Value);
  // Created hidden; kept for storage, not drawn yet.
  TLumShadow* Shadow() const { return shadow_.get(); }

  // The bar of a point in pixels: centred on the point, from the origin to the
  // value, clipped to the plot rectangle; empty for a null point.
  TRect CalcBarBounds(int ValueIndex) const;
  // Width of the bars in pixels, at least 1.
  int BarWidth() const;

  // The value range takes in the origin, so every bar shows from it.
  double MinXValue() const override;
  double MaxXValue() const override;
  double MinYValue() const override;
  double MaxYValue() const override;
  // The bars in order, their positions and values converted a chunk at a time.
  // Opaque flat bars (a one-pixel solid pen or none, a plain solid fill, copy mode)
  // that later ones paint over entirely are left out, and so are boxes that a later
  // one repeats exactly: the same pixels as drawing each.
  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
  // The bar under (X, Y), the front face in 3D.
  int Clicked(int X, int Y) override;
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  void PrepareForGallery(bool IsEnabled) override;
  std::string EditorClassName() const override { return "TBarSeriesEditor"; }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Bars run along the horizontal axis from the origin (the value list is X).
  bool HorizontalBars() const { return MandatoryValueList() == XValues(); }

private:
  double MinValueWithOrigin(double Min) const;
  double MaxValueWithOrigin(double Max) const;
  // The origin's pixel on the value axis.
  int OriginPixel() const;
  // A bar from the pixels of its position and value, Width wide from Origin.
  TRect BarFromPixels(int Position, int Value, int Width, int Origin) const;
  void PaintBar(int ValueIndex, const TRect& R);
  // Half a bar of room at the ends of the axis the positions run along.
  void PositionMargins(int Length, int& MinMargin, int& MaxMargin) const;
  int barWidthPercent_ = 70;
  double yOrigin_ = 0;
  bool useYOrigin_ = true;
  bool dark3D_ = true;
  bool sideMargins_ = true;
  std::unique_ptr<TLumShadow> shadow_;
};

class TBarSeries : public TCustomBarSeries {
  DECLARE_CLASS(TBarSeries, TCustomBarSeries)
public:
  explicit TBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {}
};
