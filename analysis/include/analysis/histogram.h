// Histograms: adjoining bars whose widths follow the spacing of the points, outlined
// as one step line. The horizontal twin lays the bars along the vertical axis.
//
//   TCustomLineSeries -> THistogramSeries -> THorizHistogramSeries
#pragma once
#include <memory>

#include "chart/series.h"

class THistogramSeries : public TCustomLineSeries {
  DECLARE_CLASS(THistogramSeries, TCustomLineSeries)
public:
  explicit THistogramSeries(TComponent* AOwner);
  ~THistogramSeries() override;

  // Dividers between bars; hidden by default.
  TChartHiddenPen* LinesPen() const { return linesPen_.get(); }
  // Percent of what lies under the fill showing through it.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value) { SetIntegerProperty(transparency_, Value); }
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(useYOrigin_, Value); }
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double Value) { SetDoubleProperty(yOrigin_, Value); }

  // The bar rectangles of the visible points, as drawing lays them out (the first
  // visible point first); index i of the result is point FirstValueIndex() + i.
  // A bar's edge next to the previous bar is that bar's edge: they share a column.
  std::vector<TRect> CalcBarRects();

  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  int Clicked(int X, int Y) override;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;

  std::string EditorClassName() const override { return "THistogramSeriesEditor"; }
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Whether the bars stand on the horizontal axis (false: the horizontal twin).
  virtual bool Vertical() const { return true; }

private:
  // The axis the positions lie on and the one the values lie on.
  TChartAxis* PositionAxis() const { return Vertical() ? GetHorizAxis() : GetVertAxis(); }
  TChartAxis* ValueAxis() const { return Vertical() ? GetVertAxis() : GetHorizAxis(); }
  int PositionPixel(int ValueIndex) const { return Vertical() ? CalcXPos(ValueIndex) : CalcYPos(ValueIndex); }
  // A bar along the position axis (Near: the edge shared with the previous bar) and
  // the value axis (Value: the value's pixel, Origin: where the bar starts).
  struct TBar {
    int Near, Far, Value, Origin;
  };
  // The bar of point i; First says it is the first drawn. Moves the kept edge on.
  TBar NextBar(int ValueIndex, bool First);
  // The same from pixels: the point's position P, those of the points before and
  // after it in drawing order (when they exist), its value and the origin.
  TBar MakeBar(int P, const int* Prev, const int* Next, int Value, int Origin, bool First);
  // The origin's pixel on the value axis.
  int OriginPixel() const;
  // Whether every bar is drawn opaque (one-pixel solid pens, a plain solid fill, copy
  // mode, nothing blended) on a canvas of pixels whose view keeps X and Y apart, so
  // that bars later ones hide entirely may be left out.
  bool LeavesOutHiddenBars(TCanvas3D* C) const;
  // Calls Line(Divider, Pos0, Val0, Pos1, Val1) for the outline's lines of a bar whose
  // previous top is PrevTop, then for its divider (along the positions and values).
  template <class F>
  void BarLines(const TBar& B, int PrevTop, bool First, bool Last, F&& Line) const;
  // Calls Figure(X0, X1, Y0, Y1) with the screen pixels of each part PaintBar draws
  // for a bar whose previous top is PrevTop (every one set, in one colour).
  template <class F>
  void BarPixels(TCanvas3D* C, const TBar& B, int PrevTop, bool First, bool Last, TColor Fill, F&& Figure) const;
  // Calls Bar(Index, Bar, First, Last) for the visible points from From (a count
  // Count of them, in drawing order), the positions and values converted together;
  // the kept edge and the previous top go on from where they are.
  template <class F>
  void ForEachBar(int From, int Count, F&& Bar);
  TRect BarRect(const TBar& B) const;
  // The rectangle the fill is given (on the plot's plane in 3D).
  TRect FillArea(const TBar& B, bool Is3D) const;
  // A pixel given along the position and the value axis, on the screen.
  TPoint At(int Pos, int Val) const { return Vertical() ? TPoint{Pos, Val} : TPoint{Val, Pos}; }
  void PaintBar(int ValueIndex, const TBar& B, bool First, bool Last);
  // Half the position axis' length per point (per page when the chart pages).
  int HalfSlot() const;

  std::unique_ptr<TChartHiddenPen> linesPen_;
  int transparency_ = 0;
  bool useYOrigin_ = false;
  double yOrigin_ = 0;
  int keptEdge_ = 0;          // the previous bar's edge
  int prevTop_ = 0;           // the previous bar's value edge, for the outline
};

// Bars along the vertical axis: Y holds the positions (ascending), X the values.
class THorizHistogramSeries : public THistogramSeries {
  DECLARE_CLASS(THorizHistogramSeries, THistogramSeries)
public:
  explicit THorizHistogramSeries(TComponent* AOwner);
  // The vertical histogram's samples with positions and values swapped: positions
  // up the vertical axis, values along the horizontal one.
  void AddSampleValues(int NumValues = 0) override;
  TChartValueList* MandatoryValueList() const override { return XValues(); }
  TChartValueList* NotMandatoryValueList() const override { return YValues(); }

protected:
  bool Vertical() const override { return false; }
};
