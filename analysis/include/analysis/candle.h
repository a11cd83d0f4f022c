// Price bars: the OHLC series (date, open, high, low, close per point), the candle
// series that draws them, the volume series and the Darvas boxes over a candle series.
//
//   TCustomSeries -> TOHLCSeries -> TCandleSeries -> TDarvasSeries
//   TCustomSeries -> TVolumeSeries
#pragma once
#include <memory>
#include <vector>

#include "chart/series.h"

// One price bar per point. X is the date ("Date", a date-time list), Y the close
// ("Close"); the series' own lists follow in the order "High", "Low", "Open".
class TOHLCSeries : public TCustomSeries {
  DECLARE_CLASS(TOHLCSeries, TCustomSeries)
public:
  explicit TOHLCSeries(TComponent* AOwner);
  ~TOHLCSeries() override;

  TChartValueList* DateValues() const { return XValues(); }
  TChartValueList* CloseValues() const { return YValues(); }
  TChartValueList* HighValues() const { return high_.get(); }
  TChartValueList* LowValues() const { return low_.get(); }
  TChartValueList* OpenValues() const { return open_.get(); }
  // Each replaces the list's values by Value's.
  void SetDateValues(TChartValueList* Value) { ReplaceValues(XValues(), Value); }
  void SetCloseValues(TChartValueList* Value) { ReplaceValues(YValues(), Value); }
  void SetHighValues(TChartValueList* Value) { ReplaceValues(high_.get(), Value); }
  void SetLowValues(TChartValueList* Value) { ReplaceValues(low_.get(), Value); }
  void SetOpenValues(TChartValueList* Value) { ReplaceValues(open_.get(), Value); }

  // Adds a bar (X the date, Y the close) and answers its index; its open, high and
  // low are in place before anyone is told of the new point.
  int AddOHLC(double ADate, double AOpen, double AHigh, double ALow, double AClose,
              const std::string& ALabel = "", TColor AColor = clLumColor);

  // Over high, low, open and close of every point that is drawn; 0 when empty.
  double MinYValue() const override;
  double MaxYValue() const override;

  // Only another OHLC series may feed this one.
  bool IsValidSourceOf(TChartSeries* Value) override;
  int NumSampleValues() const override { return 40; }
  // A random walk of bars: low <= open, close <= high.
  void AddSampleValues(int NumValues = 0) override;

  // Also the settings of the own value lists.
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void ReplaceValues(TChartValueList* Dest, TChartValueList* Source);
  // Lowest (Max false) or highest of the four values over the drawn points.
  double Extreme(bool Max) const;

  std::unique_ptr<TChartValueList> high_, low_, open_;
};

enum TCandleStyle { csCandleStick, csCandleBar, csOpenClose, csLine };
enum TCandleColorStyle { cssRelativeToOpen, cssRelativeToClose };

// A symbol rectangle split into the candle's body and its wicks (the legend's picture).
struct TCandleLegendSymbol {
  TRect Body;
  int WickX;
  int UpperTop, UpperBottom;  // the upper wick's line, top to bottom
  int LowerTop, LowerBottom;
};

class TCandleSeries : public TOHLCSeries {
  DECLARE_CLASS(TCandleSeries, TOHLCSeries)
public:
  explicit TCandleSeries(TComponent* AOwner);
  ~TCandleSeries() override;

  TCandleStyle CandleStyle() const { return candleStyle_; }
  // Hides the pointer's frame for csLine, shows it otherwise.
  void SetCandleStyle(TCandleStyle Value);
  int CandleWidth() const { return candleWidth_; }
  void SetCandleWidth(int Value) { SetIntegerProperty(candleWidth_, Value); }
  TCandleColorStyle ColorStyle() const { return colorStyle_; }
  void SetColorStyle(TCandleColorStyle Value) { SetProperty(colorStyle_, Value); }
  TLumGradient* UpCloseGradient() const { return upGradient_.get(); }
  TLumGradient* DownCloseGradient() const { return downGradient_.get(); }
  TColor UpCloseColor() const { return upGradient_->StartColor(); }
  void SetUpCloseColor(TColor Value) { upGradient_->SetStartColor(Value); }
  TColor DownCloseColor() const { return downGradient_->StartColor(); }
  void SetDownCloseColor(TColor Value) { downGradient_->SetStartColor(Value); }
  TChartPen* HighLowPen() const { return highLowPen_.get(); }
  bool ShowOpenTick() const { return showOpenTick_; }
  void SetShowOpenTick(bool Value) { SetBooleanProperty(showOpenTick_, Value); }
  bool ShowCloseTick() const { return showCloseTick_; }
  void SetShowCloseTick(bool Value) { SetBooleanProperty(showCloseTick_, Value); }
  // clNone: the point's colour.
  TColor OpenTickColor() const { return openTickColor_; }
  void SetOpenTickColor(TColor Value) { SetColorProperty(openTickColor_, Value); }
  TColor CloseTickColor() const { return closeTickColor_; }
  void SetCloseTickColor(TColor Value) { SetColorProperty(closeTickColor_, Value); }
  // The body frame: the pointer's pen; the 3D body: the pointer's flags.
  TChartPen* CandlePen() const { return Pointer()->Pen(); }
  bool Draw3D() const { return Pointer()->Draw3D(); }
  void SetDraw3D(bool Value) { Pointer()->SetDraw3D(Value); }
  bool Dark3D() const { return Pointer()->Dark3D(); }
  void SetDark3D(bool Value) { Pointer()->SetDark3D(Value); }

  // Whether the point rises (the up gradient) by ColorStyle; a tie follows the
  // previous point's decision, found by walking back, never by recursion.
  bool IsUpPoint(int ValueIndex) const;
  // The point's own colour, else the start colour of its up or down gradient.
  TColor CandleColor(int ValueIndex) const;
  TColor LegendItemColor(int ValueIndex) const override { return CandleColor(ValueIndex); }

  // csLine: the close list's own range.
  double MinYValue() const override;
  double MaxYValue() const override;

  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  // The first visible index whose drawn shape holds the pixel; -1 none.
  int Clicked(int X, int Y) override;
  // Whether the point's candle meets the chart rectangle.
  bool IsPointInChartRect(int ValueIndex) const;
  // Half a body (and its tick or frame pixel) beside the first and last dates, so
  // the end candles stand whole inside the plot.
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  // The legend's symbol inside R: a small candle.
  static TCandleLegendSymbol CalcLegendSymbol(const TRect& R);
  bool DrawLegendShape(TCanvas3D* ACanvas, int ValueIndex, const TRect& R) override;

  std::string EditorClassName() const override { return "TCandleEditor"; }
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  void PrepareForGallery(bool IsEnabled) override;
  // Takes the palette's colours 0 (down) and 4 (up) when on a chart.
  void SetChartView3D(bool Value) override;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Pixels of one bar.
  struct TCandleGeometry {
    int X, YOpen, YClose, YHigh, YLow, Left, Right;  // Left/Right: half widths
  };
  TCandleGeometry Geometry(int ValueIndex) const;
  // Geometry of Count points from First on, their values converted together.
  void Geometries(int First, int Count, TCandleGeometry* Out) const;
  // Draws the point with its up/down decision already made.
  void DrawCandle(int ValueIndex, bool Up, const TCandleGeometry& G);

private:
  // The decision for ValueIndex; Previous is that of ValueIndex-1 when known.
  bool UpDecision(int ValueIndex, const bool* Previous) const;
  TColor ColorFor(int ValueIndex, bool Up) const;
  // The wick's colour: the high-low pen's, else the body frame's, else the point's.
  TColor HighLowColor(TColor PointColor) const;
  // The body rectangle as drawn in 2D (and hit by the mouse).
  TRect BodyRect(const TCandleGeometry& G) const;
  // Whether every candle is drawn opaque (one-pixel solid pens, a plain solid brush,
  // copy mode, no gradients, flat bodies) on a canvas of pixels whose view keeps X
  // and Y apart, so that candles later ones hide entirely may be left out.
  bool LeavesOutHiddenCandles(TCanvas3D* C) const;
  // Calls Figure(X0, X1, Y0, Y1) with the screen pixels of each part of the candle
  // (every one set, in one colour).
  template <class F>
  void CandlePixels(TCanvas3D* C, const TCandleGeometry& G, F&& Figure) const;

  TCandleStyle candleStyle_ = csCandleStick;
  int candleWidth_ = 4;
  TCandleColorStyle colorStyle_ = cssRelativeToOpen;
  std::unique_ptr<TLumGradient> upGradient_, downGradient_;
  std::unique_ptr<TChartPen> highLowPen_;
  bool showOpenTick_ = true, showCloseTick_ = true;
  TColor openTickColor_ = clNone, closeTickColor_ = clNone;
  int oldX_ = 0, oldY_ = 0;  // csLine: the previous close's pixel
};

// One vertical line per point from an origin to the value.
class TVolumeSeries : public TCustomSeries {
  DECLARE_CLASS(TVolumeSeries, TCustomSeries)
public:
  explicit TVolumeSeries(TComponent* AOwner);

  TChartValueList* VolumeValues() const { return YValues(); }
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(useYOrigin_, Value); }
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double Value) { SetDoubleProperty(yOrigin_, Value); }
  // Where the lines start: YOrigin's pixel, else the axis' end (start when inverted).
  int OriginPos() const;

  // Also colours the line pen.
  void SetSeriesColor(TColor Value) override;
  // Lines of one colour (a one-pixel solid pen in copy mode, on a canvas of pixels
  // whose view keeps X and Y apart) are drawn as one line per screen column.
  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  int Clicked(int X, int Y) override;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  // A horizontal line across the middle of R.
  bool DrawLegendShape(TCanvas3D* ACanvas, int ValueIndex, const TRect& R) override;
  int NumSampleValues() const override { return 40; }
  void AddSampleValues(int NumValues = 0) override;

  std::string EditorClassName() const override { return "TVolumeSeriesEditor"; }
  void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) override;
  void SetSubGallery(TChartSeries* ASeries, int Index) override;
  void PrepareForGallery(bool IsEnabled) override;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  bool DrawsLine() const override { return false; }

private:
  // The lines of one colour as one line per screen column, from the origin to the
  // column's farthest value on each side of it (the very pixels of all its lines).
  void DrawColumns(TCanvas3D* C);

  bool useYOrigin_ = false;
  double yOrigin_ = 0;
  TColor lastColor_ = clNone;  // the pen colour last set on the canvas
};

// A Darvas box: indexes of its first point, its top, its last point and its bottom.
struct TDarvasBox {
  int First, Top, Last, Bottom;
  bool operator==(const TDarvasBox&) const = default;
};

// A candle series with Darvas boxes drawn over its candles.
class TDarvasSeries : public TCandleSeries {
  DECLARE_CLASS(TDarvasSeries, TCandleSeries)
public:
  explicit TDarvasSeries(TComponent* AOwner);
  ~TDarvasSeries() override;

  // Fill: BackColor is the fill colour (clLumColor: the palette's colour 1).
  TChartBrush* BoxBrush() const { return boxBrush_.get(); }
  TChartPen* BoxPen() const { return boxPen_.get(); }
  // Percent of what lies under the boxes showing through them.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value) { SetIntegerProperty(transparency_, Value); }

  // The boxes of the last drawing and their pixel rectangles.
  const std::vector<TDarvasBox>& Boxes() const { return boxes_; }
  const std::vector<TRect>& BoxRects() const { return rects_; }
  // The box walk over the highs and lows; linear in the points.
  static std::vector<TDarvasBox> CalcBoxes(const std::vector<double>& High, const std::vector<double>& Low);

  void DrawAllValues() override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void DrawBoxes();

  std::unique_ptr<TChartBrush> boxBrush_;
  std::unique_ptr<TChartPen> boxPen_;
  int transparency_ = 70;
  std::vector<TDarvasBox> boxes_;
  std::vector<TRect> rects_;
};

