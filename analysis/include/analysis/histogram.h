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
  TRect BarRect(const TBar& B) const;
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
