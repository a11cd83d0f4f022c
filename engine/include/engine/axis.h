// Axes: range (fixed or automatic from the series), value <-> pixel conversion,
// increment, labels, ticks, grid and title.
//
// Automatic increment: the axis fits as many labels as there is room for. The
// room one label needs is its text extent along the axis (the wider of the
// labels at the two ends of the range for a horizontal axis, the font height
// for a vertical one) plus LabelsSeparation percent of it. The step is then the
// smallest "nice" value 1, 2 or 5 x 10^n that is not below Increment (when one
// is set) and gives no more labels than fit. A desired Increment is kept when
// its labels fit, else it grows through the same 1-2-5 series. Labels sit at
// the multiples of the step inside the range.
#pragma once
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "canvas/attributes.h"
#include "engine/axisitems.h"
#include "engine/shape.h"
#include "platform/classes.h"
#include "platform/typinfo.h"
#include "platform/types.h"

class TCustomAxisPanel;
class TChartSeries;
class TChartCustomAxes;

// Where the labels come from: automatic (point texts when the first series has
// them, else values), none, values, the series' marks, the point texts, or the
// values of the points.
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText, talPointValue };
// Labels of a vertical axis aligned by default (towards the axis) or the opposite way.
enum TAxisLabelAlign { alDefault, alOpposite };
// PositionPercent in percent of the plot rectangle or in pixels.
enum TAxisPositionUnits { muPercentUnits, muPixelsUnits };

// Grid lines of an axis: a pen with placement options.
class TAxisGridPen : public TChartPen {
  DECLARE_CLASS(TAxisGridPen, TChartPen)
public:
  explicit TAxisGridPen(TNotifyEvent OnChangeEvent = {});
  // Lines between the labels instead of at them.
  bool Centered() const { return centered_; }
  void SetCentered(bool Value) { Store(centered_, Value); }
  // Depth of the grid in percent of the 3D depth (3D views).
  double ZPosition() const { return zPosition_; }
  void SetZPosition(double Value) { Store(zPosition_, Value); }
  // Every n-th label gets a grid line (at least 1).
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int Value);
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool centered_ = false;
  double zPosition_ = 0;
  int drawEvery_ = 1;
};

class TChartAxis;

class TChartAxisTitle : public TLumCustomShape {
  DECLARE_CLASS(TChartAxisTitle, TLumCustomShape)
public:
  TChartAxisTitle(TCustomAxisPanel* AChart, TChartAxis* AAxis);
  const std::string& Caption() const { return caption_; }
  // Stores and repaints only when the text changed.
  void SetCaption(const std::string& Value);
  // Degrees, counter-clockwise.
  int Angle() const { return angle_; }
  void SetAngle(int Value);
  TChartAxis* Axis() const { return axis_; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TChartAxis;
  TChartAxis* axis_;
  std::string caption_;
  int angle_ = 0;
};

class TChartAxis : public TPersistent {
  DECLARE_CLASS(TChartAxis, TPersistent)
public:
  // Joins the chart's list of axes; the destructor leaves it.
  explicit TChartAxis(TCustomAxisPanel* AChart);
  // A custom axis of the chart that owns the collection (vertical, on the left).
  explicit TChartAxis(TChartCustomAxes* ACollection);
  // Leaves the chart's lists; series on a custom axis go back to the standard one.
  ~TChartAxis() override;

  TCustomAxisPanel* ParentChart() const { return chart_; }
  TPersistent* GetOwner() override;

  // ---- Range ----
  // Automatic: the range follows the series associated with the axis (each end
  // only while its own automatic flag is set too).
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool Value);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool Value);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool Value);
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  // Store and repaint; unless the chart is being loaded, a minimum above the
  // maximum raises AxisException "Axis Minimum Value must be <= Maximum" (and a
  // maximum below the minimum "Axis Maximum Value must be >= Minimum"), leaving
  // the range as it was.
  void SetMinimum(double Value);
  void SetMaximum(double Value);
  // Both ends at once (no order check between the old and new ends).
  void SetMinMax(double AMin, double AMax);
  // Pixels left free inside the axis ends at the minimum and maximum (negative:
  // the end values lie that far outside).
  int MinimumOffset() const { return minimumOffset_; }
  void SetMinimumOffset(int Value);
  int MaximumOffset() const { return maximumOffset_; }
  void SetMaximumOffset(int Value);
  // Recomputes the automatic ends from the series.
  void AdjustMaxMin();

  // ---- Scrolling (axis_scroll.cpp) ----
  // Shifts both ends by Offset once the chart's OnAllowScroll agrees (its handler
  // may also change the new ends), turns automatic scaling off, repaints and fires
  // the chart's OnScroll. With CheckLimits the range does not move past the data
  // of the axis' series (an edge already past it stays where it is).
  void Scroll(double Offset, bool CheckLimits);
  // The extent of the data of the active series on the axis; false without data.
  bool DataExtent(double& AMin, double& AMax) const;

  // ---- Placement ----
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool Value);
  // Right or top side of the chart.
  bool OtherSide() const { return otherSide_; }
  void SetOtherSide(bool Value);
  bool IsDepthAxis() const { return isDepthAxis_; }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);

  // ---- Increment and labels ----
  // The desired step between labels, 0 for automatic; below 0 raises AxisException.
  double Increment() const { return increment_; }
  void SetIncrement(double Value);
  bool Labels() const { return labels_; }
  void SetLabels(bool Value);
  TLumFont* LabelsFont() const { return labelsFont_.get(); }
  // FormatFloat picture of the labels ("#,##0.###").
  const std::string& AxisValuesFormat() const { return valuesFormat_; }
  void SetAxisValuesFormat(const std::string& Value);
  // Room for the labels across the axis in pixels; 0: as the labels need.
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int Value);
  // Minimum gap between labels in percent of a label's extent; 0 shows all.
  int LabelsSeparation() const { return labelsSeparation_; }
  void SetLabelsSeparation(int Value);
  // The step the labels use for the current range and axis length.
  double CalcIncrement();
  // The label values for the current range, ascending.
  std::vector<double> LabelValues();
  // The text of the label of a value (date-time axes: "" outside the valid dates).
  std::string LabelText(double Value) const;
  // The labels the axis draws, values with texts: its items when they are not
  // automatic, else by the label style.
  std::vector<std::pair<double, std::string>> AxisLabels();

  // ---- Lines ----
  TChartPen* Axis() const { return axisPen_.get(); }
  TChartPen* Ticks() const { return ticks_.get(); }
  int TickLength() const { return tickLength_; }
  void SetTickLength(int Value);
  TChartPen* TicksInner() const { return ticksInner_.get(); }
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int Value);
  TChartPen* MinorTicks() const { return minorTicks_.get(); }
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int Value);
  // Minor ticks between two labels.
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int Value);
  TAxisGridPen* Grid() const { return grid_.get(); }
  bool GridCentered() const { return grid_->Centered(); }
  void SetGridCentered(bool Value) { grid_->SetCentered(Value); }

  // ---- Title ----
  // Created on first use: a left axis title turns by 90 degrees, a right one by 270.
  TChartAxisTitle* GetTitle() const;
  TChartAxisTitle* Title() const { return GetTitle(); }
  bool HasTitle() const { return bool(title_); }
  // Room for the title across the axis in pixels; 0: the title font's height.
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int Value);

  // ---- Pixels (from the last layout) ----
  int IStartPos() const { return startPos_; }
  int IEndPos() const { return endPos_; }
  int IAxisSize() const { return endPos_ - startPos_; }
  // Position of the axis line across the axis direction.
  int PosAxis() const { return posAxis_; }
  // The tick (label) pixel positions of the last drawing.
  const std::vector<int>& Tick() const { return ticksPos_; }
  // Screen boxes of the labels the last drawing put out.
  const std::vector<TRect>& LabelRects() const { return labelRects_; }
  // Value to pixel: far values saturate at +-LumMaxPixel so they clip rather than
  // wrap; a zero-width range answers the middle of the axis.
  int CalcPosValue(double Value) const;
  int CalcXPosValue(double Value) const { return CalcPosValue(Value); }
  int CalcYPosValue(double Value) const { return CalcPosValue(Value); }
  // CalcPosValue of Count values at once, the very same pixels, into Pixels.
  void CalcPosValues(const double* Values, int Count, int* Pixels) const;
  // CalcPosValue of single values in a loop, the very same pixels: the axis' scale is
  // taken once, so the map is valid only while the axis does not change.
  class TPixelMap {
  public:
    explicit TPixelMap(const TChartAxis& Axis);
    int operator()(double Value) const {
      // Away from halves the double result rounds as the extended one does.
      const double p = atMin_ + (Value - min_) * scale_;
      const double r = (p + RoundMagic) - RoundMagic;  // half to even, as Round
      if (std::fabs(p) < Limit && 0.5 - std::fabs(p - r) > HalfBand) return int(r);
      return axis_->ExactPosValue(Value);
    }
    // Two values at once, the same pixels as two calls: the two computations run side
    // by side and one test clears both (the values of a dense line jump at random, a
    // test each would often be guessed wrong).
    void operator()(double A, double B, int& PixelA, int& PixelB) const {
      const double pa = atMin_ + (A - min_) * scale_, pb = atMin_ + (B - min_) * scale_;
      const double ra = (pa + RoundMagic) - RoundMagic, rb = (pb + RoundMagic) - RoundMagic;
      const bool ok = (std::fabs(pa) < Limit) & (0.5 - std::fabs(pa - ra) > HalfBand) & (std::fabs(pb) < Limit) &
                      (0.5 - std::fabs(pb - rb) > HalfBand);
      if (ok) {
        PixelA = int(ra), PixelB = int(rb);
        return;
      }
      PixelA = (*this)(A), PixelB = (*this)(B);
    }

    static constexpr double RoundMagic = 6755399441055744.0;  // 1.5 * 2^52
    static constexpr double Limit = 999999, HalfBand = 1e-6;  // LumMaxPixel - 1

  private:
    friend class TChartAxis;
    const TChartAxis* axis_;
    double atMin_ = 0, min_ = 0, scale_ = 0;
  };
  TPixelMap PixelMap() const { return TPixelMap(*this); }
  // CalcPosValue in extended precision, for the values the map leaves to it.
  int ExactPosValue(double Value) const;
  // Pixel to value (the inverse of CalcPosValue; the minimum for a zero-width range).
  double CalcPosPoint(int Pixel) const;
  // Sets the axis ends from the plot rectangle, with extra pixels left free at
  // the minimum and maximum ends (the series' margins).
  void CalcRect(const TRect& R, int MinMargin = 0, int MaxMargin = 0);
  // Room the axis takes outside the plot rectangle: ticks, labels and title (and the
  // gap of a custom axis at an edge).
  int SizeOutside();
  void SetPosAxis(int Value) { posAxis_ = Value; }
  // Whether the axis draws: visible, the chart's axes visible and, for the top
  // and right axes, used by an active series.
  bool IsVisible() const;
  // Whether an active series is associated with the axis.
  bool InUse() const;
  // The date-time flag of the value list the axis shows of its first active series.
  bool IsDateTime() const;

  // ---- Scale, date-time, label and layout options ----
  bool Logarithmic() const { return logarithmic_; }
  // Turning it on for a range with an end at or below zero raises AxisException and
  // leaves the axis linear (not while the chart is being read, nor on an axis with no
  // range yet: both ends 0). A depth axis keeps the flag but stays linear.
  void SetLogarithmic(bool Value);
  double LogarithmicBase() const { return logBase_; }
  // AxisException for a base at or below zero or equal to 1.
  void SetLogarithmicBase(double Value);
  // Date-time labels keep to the standard steps (whole months, years) when on.
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool Value);
  // FormatDateTime picture of date-time labels; "" for the step's default.
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& Value);
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle Value);
  // The style in effect (talAuto resolved).
  TAxisLabelStyle CalcLabelStyle() const;
  // Degrees counter-clockwise, kept in 0..359; labels turn by the nearest quarter turn.
  int LabelsAngle() const { return labelsAngle_; }
  void SetLabelsAngle(int Value);
  int LabelsQuarterTurn() const;
  TAxisLabelAlign LabelsAlign() const { return labelsAlign_; }
  void SetLabelsAlign(TAxisLabelAlign Value);
  // Every other label one line further out (horizontal axes).
  bool LabelsAlternate() const { return labelsAlternate_; }
  void SetLabelsAlternate(bool Value);
  // Labels drawn before the grid.
  bool LabelsBehind() const { return labelsBehind_; }
  void SetLabelsBehind(bool Value);
  // Values written as mantissa "e" exponent.
  bool LabelsExponent() const { return labelsExponent_; }
  void SetLabelsExponent(bool Value);
  // Blanks in a label break it into lines.
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool Value);
  // Labels at the very ends are kept inside the axis length.
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool Value);
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool Value);
  TChartPen* MinorGrid() const { return minorGrid_.get(); }
  // Automatic ends rounded out to the increment.
  bool MinimumRound() const { return minimumRound_; }
  void SetMinimumRound(bool Value);
  bool MaximumRound() const { return maximumRound_; }
  void SetMaximumRound(bool Value);
  // Distance of the axis line from its side of the plot rectangle, inwards.
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double Value);
  TAxisPositionUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TAxisPositionUnits Value);
  // The part of the plot rectangle's side the axis spans, in percent (used within 0..100).
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double Value);
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double Value);
  // With point texts as labels: ticks at the labels only, or also at the value steps.
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool Value);
  // Depth of the axis line in percent of the 3D depth (from the back on the other side).
  double ZPosition() const { return zPosition_; }
  void SetZPosition(double Value);
  TAxisItems* Items() const { return items_.get(); }
  // Whether the screen point lies on the axis line (with its ticks) or its labels as
  // last drawn, projected in 3D (depth axes too).
  bool Clicked(int X, int Y);
  // Called with the axis before its grid lines are drawn.
  TEvent<void(TChartAxis* Sender)> OnDrawGrid;
  bool IsCustom() const { return customAxes_ != nullptr; }
  // Pixels between a custom axis at an edge and the labels of the axis inside it.
  static constexpr int EdgeGap = 2;
  // The step of the last labels (days on a date-time axis, a factor on a log axis).
  double LastIncrement() const { return lastIncrement_; }
  // The depth of the axis line in pixels: ZPosition of the chart's 3D depth, from the
  // front, or from the back for an axis on the other side.
  int PosZ() const;

  // Axis line, ticks, labels and title (Grid draws the grid). While LabelsBehind the
  // labels are left out: the chart draws them (DrawLabels) before the grids.
  void Draw();
  // The labels alone, each item with a format of its own in its font and box.
  void DrawLabels();
  void DrawGrid();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TCustomAxisPanel;
  // Scroll without the chart's OnScroll: answers whether the range moved.
  bool ScrollRange(double Offset, bool CheckLimits);
  void Changed(TObject* Sender);
  TNotifyEvent ChangeHandler() { return TNotifyEvent(this, &TChartAxis::Changed); }
  void Repaint();
  bool Loading() const;
  int LabelExtent();
  int LabelsThickness();
  int TitleThickness();
  bool TurnedLabels() const;
  TSize LabelSize(const std::string& Text) const;
  TRect LabelRect(int Pos, const std::string& Text, int Index, int Room);
  // Draws the label of Box (plot coordinates) and answers where it lies on the screen.
  TRect DrawLabel(const TRect& Box, int Pos, const std::string& Text);
  TRect LabelScreenBox(const TRect& Box, int Pos) const;
  // Whether an upright label of a vertical axis runs rightwards from its anchor.
  bool LabelRunsRight(const TRect& Box, int Pos) const;
  // The format of the label at Index of AxisLabels when it is an item with one.
  TLumCustomShape* LabelFormat(int Index) const;
  void DrawDepth();
  // How far the labels at the axis's ends reach past them along the axis (half a
  // label), at the screen's left (top) end and its right (bottom) end; nothing at an
  // end the axis does not take up to its side's edge.
  std::pair<int, int> EndLabelsReach();
  // Room right of the box that a depth axis's labels (the series titles) take.
  int DepthLabelsExtent();
  void DrawDepthGrid();
  int GridZ() const;
  std::vector<double> MinorValues(const std::vector<double>& Values) const;
  void DrawTitle();
  void Init(TCustomAxisPanel* AChart);
  bool IsLog() const { return logarithmic_ && !isDepthAxis_ && minimum_ > 0 && maximum_ > 0; }
  std::string ValueText(double Value) const;
  std::vector<double> DateTimeLabelValues(double lo, double hi, double Step) const;
  TChartSeries* FirstSeries() const;

  TCustomAxisPanel* chart_;
  bool automatic_ = true, automaticMinimum_ = true, automaticMaximum_ = true;
  double minimum_ = 0, maximum_ = 0;
  int minimumOffset_ = 0, maximumOffset_ = 0;
  bool horizontal_ = false, otherSide_ = false, isDepthAxis_ = false;
  bool inverted_ = false, visible_ = true;
  double increment_ = 0;
  bool labels_ = true;
  std::unique_ptr<TLumFont> labelsFont_;
  std::string valuesFormat_ = "#,##0.###";
  int labelsSize_ = 0, labelsSeparation_ = 10;
  std::unique_ptr<TChartPen> axisPen_, ticks_, ticksInner_, minorTicks_;
  int tickLength_ = 4, tickInnerLength_ = 0, minorTickLength_ = 2, minorTickCount_ = 3;
  std::unique_ptr<TAxisGridPen> grid_;
  mutable std::unique_ptr<TChartAxisTitle> title_;
  int titleSize_ = 0;
  int startPos_ = 0, endPos_ = 0, posAxis_ = 0;
  int minPixelMargin_ = 0, maxPixelMargin_ = 0;
  std::vector<int> ticksPos_;
  std::vector<TRect> labelRects_;  // of the last drawing, on the screen, for Clicked
  TPoint lineFrom_, lineTo_;       // the axis line's ends on the screen, for Clicked
  // Label texts formatted before (by the value's bits), valid for the picture and
  // separators they were made with: a paint measures the same labels many times.
  mutable std::unordered_map<std::uint64_t, std::string> labelTexts_;
  mutable std::string labelTextsFormat_;
  mutable char labelTextsSeparators_[2] = {0, 0};
  TChartCustomAxes* customAxes_ = nullptr;
  bool logarithmic_ = false;
  double logBase_ = 10;
  bool exactDateTime_ = true;
  std::string dateTimeFormat_;
  TAxisLabelStyle labelStyle_ = talAuto;
  int labelsAngle_ = 0;
  TAxisLabelAlign labelsAlign_ = alDefault;
  bool labelsAlternate_ = false, labelsBehind_ = false, labelsExponent_ = false, labelsMultiLine_ = false;
  bool labelsOnAxis_ = true, roundFirstLabel_ = true;
  std::unique_ptr<TChartPen> minorGrid_;
  bool minimumRound_ = false, maximumRound_ = false;
  double positionPercent_ = 0;
  TAxisPositionUnits positionUnits_ = muPercentUnits;
  double startPosition_ = 0, endPosition_ = 100;
  bool tickOnLabelsOnly_ = true;
  double zPosition_ = 0;
  bool swappedEnd_ = false;  // the layout moved the axis to the other end of its edge
  std::unique_ptr<TAxisItems> items_;
  double lastIncrement_ = 0;
  // AxisLabels by value, kept within one drawing with all they were worked out from:
  // the layout and the drawing ask for them several times, and measuring labels to
  // find the step is the costly part. The memo goes with that drawing's canvas.
  struct TLabelsInputs {
    unsigned Drawing = 0;
    const TCanvas3D* Canvas = nullptr;
    double Minimum = 0, Maximum = 0, Pixels = 0, Increment = 0, LogBase = 0;
    int Separation = 0, QuarterTurn = 0;
    bool Horizontal = false, Logarithmic = false, DateTime = false, ExactDateTime = false, RoundFirst = false;
    bool Exponent = false;
    std::string Format, DateTimeFormat;
    char Separators[2] = {0, 0};
    std::string FontName;
    int FontHeight = 0, InterCharSize = 0;
    TFontStyles FontStyle = 0;
    TFontCharset FontCharset = 0;
    TFontQuality FontQuality = fqDefault;
    bool operator==(const TLabelsInputs&) const = default;
  };
  struct TLabelsMemo {
    bool Valid = false;
    TLabelsInputs Inputs;
    std::vector<std::pair<double, std::string>> Labels;
    double Increment = 0;       // lastIncrement_ after working them out
    bool FontAssigned = false;  // whether that put the labels' font on the canvas
  };
  TLabelsMemo labelsMemo_;
  bool labelsFontAssigned_ = false;  // set where CalcIncrement puts the font on the canvas
  // The pixels between the ends of the axis where its values lie (its margins left out).
  double ValuePixels() const;
};

// Value to pixel conversions saturate here.
constexpr int LumMaxPixel = 1000000;
static_assert(TChartAxis::TPixelMap::Limit == LumMaxPixel - 1);

// The axis title's caption, else its standard name ("Left Axis", "Right Axis",
// "Top Axis", "Bottom Axis", "Depth Right", "Depth Top"; "" for other axes).
std::string AxisTitleOrName(TChartAxis* Axis);

// The chart's axes in a fixed order: 0 depth, 1 depth top, 2 top, 3 bottom,
// 4 left, 5 right, then custom axes. Holds the chart-wide visible and behind flags.
class TChartAxes {
public:
  explicit TChartAxes(TCustomAxisPanel* AChart) : chart_(AChart) {}
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TChartAxis* GetAxis(int Index) const;
  TChartAxis* operator[](int Index) const { return GetAxis(Index); }
  int IndexOf(const TChartAxis* Axis) const;
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  // Axes and grid drawn before the series (behind them) instead of after.
  bool GetBehind() const { return behind_; }
  void SetBehind(bool Value);
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  friend class TChartAxis;
  TCustomAxisPanel* chart_;
  std::vector<TChartAxis*> items_;
  bool visible_ = true;
  bool behind_ = true;
};

// The chart's custom axes, a collection: an axis created with it joins the chart's
// axes list (after the standard six), freeing it takes it out again.
// A persistent object so that streams and editors reach it by name.
class TChartCustomAxes : public TPersistent {
  DECLARE_CLASS(TChartCustomAxes, TPersistent)
public:
  explicit TChartCustomAxes(TCustomAxisPanel* AChart) : chart_(AChart) {}
  // Frees the axes still in it.
  ~TChartCustomAxes() override;
  TCustomAxisPanel* Chart() const { return chart_; }
  int Count() const { return int(items_.size()); }
  // The custom axis at Index of this collection; EListError outside 0..Count-1.
  TChartAxis* Items(int Index) const;
  TChartAxis* operator[](int Index) const { return Items(Index); }
  // As TChartAxes::GetAxis: the axis at Index of the list of all axes (custom ones from 6).
  TChartAxis* GetAxis(int Index) const;
  // A new custom axis in the collection.
  TChartAxis* Add();
  void Clear();
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  friend class TChartAxis;
  TCustomAxisPanel* chart_;
  std::vector<TChartAxis*> items_;
};
