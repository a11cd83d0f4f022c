// The standard series beyond the main road's four: area, horizontal line, area and
// bar, pie, and the smoothing function.
//
//   TCustomSeries    -> TAreaSeries -> THorizAreaSeries
//   TLineSeries      -> THorizLineSeries
//   TCustomBarSeries -> THorizBarSeries
//   TChartSeries     -> TPieSeries
//   TLumFunction     -> TSmoothingFunction
#pragma once
#include <memory>
#include <vector>

#include "chart/series.h"
#include "engine/function.h"

// The line's points filled down to an origin: YOrigin with UseYOrigin, else the
// axis' minimum. Each stretch between two points is filled in the colour of the
// point it ends at; the area-lines pen draws a line from each point to the origin.
// A horizontal area fills towards the left from its values on the horizontal axis.
class TAreaSeries : public TCustomSeries {
  DECLARE_CLASS(TAreaSeries, TCustomSeries)
public:
  explicit TAreaSeries(TComponent* AOwner);
  ~TAreaSeries() override;

  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(useYOrigin_, Value); }
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double Value) { SetDoubleProperty(yOrigin_, Value); }
  // Hidden by default.
  TChartPen* AreaLinesPen() const { return areaLinesPen_.get(); }
  // The fill's pattern (its colour is the point's).
  TChartBrush* AreaBrush() const { return Brush(); }
  // The pixel the fill reaches: on the vertical axis, a horizontal area's on the
  // horizontal one.
  int OriginPos() const;

  void DrawAllValues() override;
  int Clicked(int X, int Y) override;
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  std::string EditorClassName() const override { return "TAreaSeriesEditor"; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  bool Horizontal() const { return MandatoryValueList() == XValues(); }

private:
  bool useYOrigin_ = false;
  double yOrigin_ = 0;
  std::unique_ptr<TChartPen> areaLinesPen_;
};

// A line whose values run along the horizontal axis and positions up the vertical one.
class THorizLineSeries : public TLineSeries {
  DECLARE_CLASS(THorizLineSeries, TLineSeries)
public:
  explicit THorizLineSeries(TComponent* AOwner);
  TChartValueList* MandatoryValueList() const override { return XValues(); }
  TChartValueList* NotMandatoryValueList() const override { return YValues(); }
  // Sample values along the vertical axis.
  void AddSampleValues(int NumValues = 0) override;
};

class THorizAreaSeries : public TAreaSeries {
  DECLARE_CLASS(THorizAreaSeries, TAreaSeries)
public:
  explicit THorizAreaSeries(TComponent* AOwner);
  TChartValueList* MandatoryValueList() const override { return XValues(); }
  TChartValueList* NotMandatoryValueList() const override { return YValues(); }
  // Sample values along the vertical axis.
  void AddSampleValues(int NumValues = 0) override;
};

// Bars from the origin to the right (or left) at each position up the vertical axis.
class THorizBarSeries : public TCustomBarSeries {
  DECLARE_CLASS(THorizBarSeries, TCustomBarSeries)
public:
  explicit THorizBarSeries(TComponent* AOwner);
  TChartValueList* MandatoryValueList() const override { return XValues(); }
  TChartValueList* NotMandatoryValueList() const override { return YValues(); }
  // Sample values along the vertical axis.
  void AddSampleValues(int NumValues = 0) override;
};

// Slices of a disc by value, each in its point's colour, counter-clockwise from
// three o'clock. Zero, negative and null values have no slice.
class TPieSeries : public TChartSeries {
  DECLARE_CLASS(TPieSeries, TChartSeries)
public:
  explicit TPieSeries(TComponent* AOwner);

  TChartValueList* PieValues() const { return YValues(); }
  // Degrees the first slice starts at, counter-clockwise from three o'clock.
  int RotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(int Value);
  // The outline of the slices (the element's Pen); the fill pattern (the Brush).
  TChartPen* PiePen() const { return Pen(); }
  // Percent of the plot's smaller side the disc spans.
  int PieSize() const { return pieSize_; }
  void SetPieSize(int Value);

  // The slice's angles in degrees (counter-clockwise from three o'clock); false for
  // a point without a slice.
  bool SliceAngles(int ValueIndex, double& StartAngle, double& EndAngle) const;
  // Centre and radii of the disc in the chart's last layout.
  void CalcCircle(int& CenterX, int& CenterY, int& XRadius, int& YRadius) const;

  bool UseAxis() const override { return false; }
  void DrawAllValues() override;
  int Clicked(int X, int Y) override;
  int NumSampleValues() const override { return 8; }
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  void PrepareForGallery(bool IsEnabled) override;
  std::string EditorClassName() const override { return "TPieSeriesEditor"; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // The total of the values that have a slice.
  double SliceTotal() const;
  bool HasSlice(int ValueIndex) const;
  int rotationAngle_ = 0;
  int pieSize_ = 90;
};

// A smooth curve through the source points: a natural cubic spline over X, with
// Factor points per stretch between two source points. Fewer than three source
// points are copied as they are.
class TSmoothingFunction : public TLumFunction {
  DECLARE_CLASS(TSmoothingFunction, TLumFunction)
public:
  explicit TSmoothingFunction(TComponent* AOwner);
  int Factor() const { return factor_; }
  // At least 1.
  void SetFactor(int Value);
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  static void DefineProperties(TPropertyTable& t);
  void Assign(TPersistent* Source) override;

private:
  int factor_ = 4;
};

namespace chart_detail {
// The standard classes this header adds, for the unit's registration by name.
std::vector<TClass> MoreStandardClasses();
}  // namespace chart_detail
