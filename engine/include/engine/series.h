// The series base class: point data (X and Y value lists, per-point colours and
// labels), its axes, pixel positions, the drawing loop, marks and the pointer that
// line and point series draw at each point.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/attributes.h"
#include "engine/element.h"
#include "engine/listeners.h"
#include "engine/shape.h"
#include "engine/valuelist.h"
#include "engine/visuals.h"
#include "platform/classes.h"
#include "platform/forms.h"
#include "platform/typinfo.h"

class TCanvas3D;
class TChartAxis;
class TDataSourcesList;
class TLumFunction;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// How a null point (colour clNone) is drawn: not painted (lines break), skipped
// (lines join its neighbours), or ignored (drawn as a normal point).
enum TTreatNullsStyle { tnDontPaint, tnSkip, tnIgnore };

// What a value change tells the series' dependents.
enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModify };

enum TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar,
  psDiamond, psSmallDot, psNothing, psLeftTriangle, psRightTriangle, psHexagon, psVisual
};

class TChartSeries;

// The text boxes a series can show at its points (engine/marks.h).
class TSeriesMarks;

class TChartSeries : public TCustomChartElement {
  DECLARE_CLASS(TChartSeries, TCustomChartElement)
public:
  explicit TChartSeries(TComponent* AOwner);
  // Leaves its chart.
  ~TChartSeries() override;

  // ---- Point data ----
  int Count() const { return xValues_->Count(); }
  TChartValueList* XValues() const { return xValues_.get(); }
  TChartValueList* YValues() const { return yValues_.get(); }
  // The value (Y) list and the position (X) list.
  // A horizontal series answers X and Y the other way round.
  virtual TChartValueList* MandatoryValueList() const { return yValues_.get(); }
  virtual TChartValueList* NotMandatoryValueList() const { return xValues_.get(); }
  const TChartValueLists& ValuesList() const { return valuesList_; }
  // nullptr when the series has no list of that name (case-insensitive).
  TChartValueList* GetValueListByName(const std::string& Name) const;
  virtual double GetXValue(int ValueIndex) const { return xValues_->GetValue(ValueIndex); }
  virtual double GetYValue(int ValueIndex) const { return yValues_->GetValue(ValueIndex); }
  // The point's colour is clNone.
  bool IsNull(int ValueIndex) const;
  // The colour stored for the point: clLumColor when it has none.
  TColor GetPointColor(int ValueIndex) const;
  // The colour the point is drawn with: its own, else (ColorEachPoint) the
  // palette's for its index, else the series colour; clNone for a null point.
  TColor GetValueColor(int ValueIndex) const;
  // Creates the colour list on first use (a clLumColor without one changes
  // nothing); repaints.
  void SetValueColor(int ValueIndex, TColor Value);
  bool HasColors() const { return bool(colors_); }
  TLabelsList& Labels() { return labels_; }
  const TLabelsList& Labels() const { return labels_; }

  virtual double MinXValue() const;
  virtual double MaxXValue() const;
  virtual double MinYValue() const;
  virtual double MaxYValue() const;

  // Adds a point: X at its ordered place in the X list (Y at its place in the Y list
  // when only Y is ordered, as in horizontal series), the other lists at the same index; Color clLumColor for the series colour, clNone for a null
  // point; Label "" for none. Answers the new index, or -1 when OnBeforeAdd
  // refuses it. Outside an update block it notifies and repaints once.
  int AddXY(double X, double Y, const std::string& Label = "", TColor Color = clLumColor);
  // Adds the N points (X[i], Y[i]) with the series colour and no label, as N calls
  // of AddXY inside an update block would (so it tells nothing itself): in one step
  // where they come in order and the series keeps no colours, labels or
  // OnBeforeAdd handler. How functions and their output lines take their results.
  void AppendXY(const double* X, const double* Y, std::size_t N);
  // Removes every point, fires OnClearValues, notifies and repaints.
  virtual void Clear();

  // ---- Appearance ----
  // The series colour; clLumColor stands for the palette colour the chart gave it.
  TColor SeriesColor() const;
  // Does nothing when the colour is clLumColor and Value is the colour last
  // remembered; otherwise stores (repainting on change) and remembers Value.
  virtual void SetSeriesColor(TColor Value);
  TColor RememberedColor() const { return rememberedColor_; }
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool Value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value);
  // Title, else the component name, else "Series" and the index in the chart.
  std::string GetTitleOrName() const;
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool Value);
  TTreatNullsStyle TreatNulls() const { return treatNulls_; }
  void SetTreatNulls(TTreatNullsStyle Value);
  // FormatFloat picture of the mark texts ("#,##0.###").
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& Value);
  // FormatFloat picture of the percent mark texts ("##0.## %").
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& Value);
  TSeriesMarks* Marks() const { return marks_.get(); }
  // The text of a point's mark by the marks' Style (engine/marks.h).
  virtual std::string GetMarkText(int ValueIndex) const;

  void SetActive(bool Value) override;
  // Leaves the old chart's series list and joins the new one's.
  void SetParentChart(TCustomAxisPanel* Value) override;

  // ---- Axes ----
  THorizAxis HorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis Value);
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis Value);
  // The axes the series draws against (the bottom for both horizontal axes, the
  // left for both vertical ones); nullptr without a chart.
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;
  bool AssociatedToAxis(const TChartAxis* Axis) const;
  // A custom axis of the chart to draw against (the axis choice becomes custom);
  // nullptr puts a series on a custom axis back on the bottom (left) axis.
  TChartAxis* CustomHorizAxis() const { return customHorizAxis_; }
  void SetCustomHorizAxis(TChartAxis* Value);
  TChartAxis* CustomVertAxis() const { return customVertAxis_; }
  void SetCustomVertAxis(TChartAxis* Value);
  virtual bool UseAxis() const { return true; }

  // ---- Positions (pixels of the chart's last layout) ----
  int CalcXPos(int ValueIndex) const;
  int CalcYPos(int ValueIndex) const;
  int CalcXPosValue(double Value) const;
  int CalcYPosValue(double Value) const;
  double XScreenToValue(int ScreenPos) const;
  double YScreenToValue(int ScreenPos) const;
  void CalcPosition(int ValueIndex, int& X, int& Y) const;
  // CalcXPos and CalcYPos of the Count points from First on, into Xs and Ys; the
  // axes are looked up once and the values converted together. EListError when the
  // points are not all there.
  virtual void CalcPositions(int First, int Count, int* Xs, int* Ys) const;
  // Depths of the series in 3D (0 in 2D), set by the chart at each layout.
  int StartZ() const { return startZ_; }
  int MiddleZ() const { return middleZ_; }
  int EndZ() const { return endZ_; }
  void SetZPositions(int AStart, int AMiddle, int AEnd);
  // The place of the series in the chart's depth order (0 the front).
  int ZOrder() const { return zOrder_; }
  void SetZOrder(int Value) { zOrder_ = Value; }

  // ---- Drawing ----
  // First and last index inside the horizontal axis range (with one neighbour on
  // each side so lines reach the edges); -1 when there are no points.
  int FirstValueIndex() const { return firstIndex_; }
  int LastValueIndex() const { return lastIndex_; }
  virtual void CalcFirstLastVisibleIndex();
  // Draws one point; the base draws nothing.
  virtual void DrawValue(int ValueIndex);
  // Draws the visible points in order, then nothing else (marks come after).
  virtual void DrawAllValues();
  // Draws the marks of the visible points when Marks are visible.
  virtual void DrawMarks();
  // Pixels the series needs beside the plot so its drawing is not cut.
  virtual void CalcHorizMargins(int& LeftMargin, int& RightMargin);
  virtual void CalcVerticalMargins(int& TopMargin, int& BottomMargin);

  // ---- Updates ----
  // Inside an update block additions neither notify nor repaint; EndUpdate at
  // zero refreshes once.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  // Refresh from data sources (none yet) and repaint, unless inside an update block.
  virtual void RefreshSeries();


  // ---- More point data, data sources, function and editor flags ----
  // A null point (colour clNone): after the last X (X = Count), or at (X, Y).
  int AddNull(const std::string& Label = "");
  int AddNullXY(double X, double Y, const std::string& Label = "");
  // Removes the point from every list, its colour, label and visual object;
  // EListError outside 0..Count-1; notifies and repaints.
  virtual void Delete(int ValueIndex);
  // Replaces the points by a copy of Source's (value lists by name, colours, labels).
  virtual void AssignValues(TChartSeries* Source);
  // Sorts the points by label (loNone: nothing), keeping every value list, the
  // colours, labels and visual objects together; the X list's order becomes none.
  void SortPoints(TChartListOrder Order);
  // Sorts the points by the values of List (one of the series' value lists; loNone:
  // nothing), stably, keeping everything together as SortPoints does; List's order
  // becomes Order.
  void SortByValues(TChartValueList* List, TChartListOrder Order);
  // What the points hold beyond values: 1 own X values, 2 per-point colours, 4 labels.
  enum { dsfXValues = 1, dsfColors = 2, dsfLabels = 4 };
  static int DataStorageFlags(const TChartSeries* ASeries);
  // Whether the points have Z values (a "Z" list); Min/MaxZValue are its range,
  // else the series' depth place.
  bool HasZValues() const { return hasZValues_; }
  void SetHasZValues(bool Value) { hasZValues_ = Value; }
  virtual double MinZValue() const;
  virtual double MaxZValue() const;
  // The index of the point at pixel (X, Y); the base finds none (-1).
  virtual int Clicked(int X, int Y);
  // Whether points are drawn first to last; the index drawing starts at.
  virtual bool DrawValuesForward() const { return true; }
  int DrawStartIndex() const { return DrawValuesForward() ? FirstValueIndex() : LastValueIndex(); }
  // The component name, else "Series" and the place in the chart.
  std::string NameOrDefault() const;
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value) { SetProperty(cursor_, Value); }
  // Depth of the series in 3D in pixels; -1 automatic.
  int Depth() const { return depth_; }
  void SetDepth(int Value) { SetIntegerProperty(depth_, Value); }
  // The legend's text for the series ("" the title or name).
  const std::string& LegendTitle() const { return legendTitle_; }
  void SetLegendTitle(const std::string& Value) { SetStringProperty(legendTitle_, Value); }
  bool ShowInEditor() const { return showInEditor_; }
  void SetShowInEditor(bool Value) { showInEditor_ = Value; }
  // Lock bits: 1 no delete, no clone, no data-source tab, no persistent box; 2 no
  // type change; 4 no delete; 8 no clone; 16 persistent; 32 no data-source tab.
  unsigned char Locked() const { return locked_; }
  void SetLocked(unsigned char Value) { locked_ = Value; }
  // The series shows one colour (colour editing is offered then); it can show a matrix.
  bool OneColor() const { return oneColor_; }
  bool Grid3D() const { return grid3D_; }

  // ---- Sample values ----
  // Points filled in by AddSampleValues (0: the type's default).
  int RandomSampleCount() const { return randomSampleCount_; }
  void SetRandomSampleCount(int Value) { randomSampleCount_ = Value; }
  virtual int NumSampleValues() const { return 25; }
  // Clears and fills the series with NumValues (<= 0: the default count) random
  // points inside an update block, reseeding the random source first.
  virtual void AddSampleValues(int NumValues = 0);
  // Start X, X step, start Y, minimum Y and Y range of NumValues sample points:
  // the axes' ranges when set by hand, else X 0.. and Y 0..1000.
  void CalcRandomBounds(int NumValues, double& tmpX, double& StepX, double& tmpY, double& MinY,
                        double& DifY) const;
  // A random integer 0..Limit-1 (0 when Limit < 1).
  double RandomValue(int Limit);
  // The seed AddSampleValues starts from (0: the clock); tests fix it.
  static void SetRandomSeed(unsigned Seed);
  // Seeds the random source for a new fill: the seed set, else the clock.
  static void ReseedRandom();

  // ---- Legend ----
  // The colour of a point's legend item: its drawing colour unless the type decides.
  virtual TColor LegendItemColor(int ValueIndex) const { return GetValueColor(ValueIndex); }
  // A type with a symbol of its own draws it into R (ValueIndex -1: the series) and
  // answers true; false leaves the legend's standard symbol.
  virtual bool DrawLegendShape(TCanvas3D* ACanvas, int ValueIndex, const TRect& R) {
    (void)ACanvas;
    (void)ValueIndex;
    (void)R;
    return false;
  }

  // ---- Class-level gallery and editor operations ----
  // The class name of the series' editor form ("" none).
  virtual std::string EditorClassName() const { return std::string(); }
  // Calls AddSubChart with the name of each sub-style; the base has one.
  virtual void CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart);
  // Applies sub-style Index to ASeries; the base does nothing.
  virtual void SetSubGallery(TChartSeries* ASeries, int Index) { (void)ASeries; (void)Index; }
  // Gallery defaults: marks hidden in a 7-point font, every second one, callout 4
  // pixels; the palette colour of its place (IsEnabled), else silver.
  virtual void PrepareForGallery(bool IsEnabled);
  // Sets the chart's 3D view (a gallery switching its charts).
  virtual void SetChartView3D(bool Value);

  // ---- Visual objects ----
  // A visual object of the whole series (not owned; nullptr none).
  TPersistent* Visual() const { return visual_; }
  void SetVisual(TPersistent* Value) { visual_ = Value; }
  // Per-point objects, created on first use.
  TVisualsList* Visuals();
  bool HasVisuals() const { return bool(visuals_); }

  // ---- Function and data sources ----
  TLumFunction* FunctionType() const { return function_; }
  // Attaches the function (nullptr removes it), freeing the previous one; the
  // series owns its function.
  virtual void SetFunction(TLumFunction* Value);
  // The first data source; nullptr none.
  TComponent* DataSource() const;
  // Makes Value the only data source (nullptr: none) and refreshes: ChartException
  // when the chart rejects it or it leads back to this series (nothing changes then).
  void SetDataSource(TComponent* Value);
  // The list is created on first use.
  TDataSourcesList* GetDataSources();
  bool HasDataSources() const;
  // The series other series take data from this one.
  const std::vector<TChartSeries*>& LinkedSeries() const { return linkedSeries_; }
  // Whether Value may be a data source of this series: any series but itself.
  virtual bool IsValidSourceOf(TChartSeries* Value) { return Value != this; }
  // ChartException "Circular Series dependences are not allowed" when Source is
  // this series or takes its data, through any chain, from it.
  void CheckCircularSource(TComponent* Source);
  // Refreshes the series that take their data from this one, and repaints.
  void CheckDataSource();
  // Each value list reads its own-named list of the sources again.
  void ResetValueListRoles();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // ---- Storage (engine/src/series_storage.cpp) ----
  // Whether the component stream carries the points (the binary property "Data"):
  // always with ForceStoreData, else for data entered by hand unless OmitStoredData.
  // The chart stream sets the first two only while it writes.
  std::uint8_t ForceStoreData() const { return forceStoreData_; }
  void SetForceStoreData(std::uint8_t Value) { forceStoreData_ = Value; }
  std::uint8_t OmitStoredData() const { return omitStoredData_; }
  void SetOmitStoredData(std::uint8_t Value) { omitStoredData_ = Value; }
  // Set for a series whose points were typed in (the data grid).
  std::uint8_t ManualData() const { return manualData_; }
  void SetManualData(std::uint8_t Value) { manualData_ = Value; }
  bool StoresData() const { return forceStoreData_ || (manualData_ && !omitStoredData_); }
  void DefineProperties(TFiler* Filer) override;
  // The "Data" bytes (format in docs/ARCHITECTURE.md).
  void WriteData(TStream* Stream) const;

  // Answers whether the point may be added.
  TEvent<bool(TChartSeries* Sender)> OnBeforeAdd;
  TEvent<void(TChartSeries* Sender, int ValueIndex)> OnAfterAdd;
  TNotifyEvent OnClearValues;

protected:
  // Tells dependents about a change of the values.
  virtual void NotifyValue(TValueEvent ValueEvent, int ValueIndex);
  // A data source or function going away is dropped.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Sends a series event about this series to its chart's listeners.
  void NotifyListeners(TLumSeriesEventStyle Event);
  // Adds a value list of the series' own (after X and Y).
  void AddValueList(TChartValueList* List) { valuesList_.Add(List); }
  TCanvas3D* ParentCanvas() const;
  // The palette colour the chart gives this series (its remembered colour).
  void SetRememberedColor(TColor Value) { rememberedColor_ = Value; }

private:
  friend class TCustomAxisPanel;
  friend class TChartValueList;
  friend class TDataSourcesList;
  friend class TLumFunction;
  friend class TLumSeriesSource;
  // The internal add of a data source: ChartException "No valid DataSource: %s"
  // when the chart rejects it; no notification.
  void InternalAddDataSource(TComponent* Value);
  void InternalRemoveDataSource(TComponent* Value);
  void RemoveAllDataSources();
  // Recomputes the points from the sources (through the function when there is one).
  void RefreshFromSources();
  // ChartException "No valid DataSource: %s" unless the chart (or, without one, the
  // series) accepts Value.
  void CheckValidSource(TComponent* Value);
  // Keeps colours, labels and visual objects in step with a point inserted at Index.
  void InsertPointExtras(int Index, TColor Color, const std::string& Label);
  // Puts every list, colour, label, visual object and mark place of the point that
  // was at Order[i] at place i, then notifies and repaints.
  void PermutePoints(const std::vector<int>& Order);

  std::unique_ptr<TChartValueList> xValues_, yValues_;
  TChartValueLists valuesList_;
  std::unique_ptr<std::vector<TColor>> colors_;
  TLabelsList labels_;
  TColor color_ = clLumColor;
  TColor rememberedColor_ = clLumColor;
  bool colorEachPoint_ = false;
  std::string title_;
  bool showInLegend_ = true;
  TTreatNullsStyle treatNulls_ = tnDontPaint;
  std::string valueFormat_ = "#,##0.###";
  std::string percentFormat_ = "##0.## %";
  std::unique_ptr<TSeriesMarks> marks_;
  THorizAxis horizAxis_ = aBottomAxis;
  TVertAxis vertAxis_ = aLeftAxis;
  TChartAxis* customHorizAxis_ = nullptr;
  TChartAxis* customVertAxis_ = nullptr;
  int startZ_ = 0, middleZ_ = 0, endZ_ = 0, zOrder_ = 0;
  int firstIndex_ = -1, lastIndex_ = -1;
  int updateCount_ = 0;
  bool hasZValues_ = false;
  TCursor cursor_ = crDefault;
  int depth_ = -1;
  std::string legendTitle_;
  bool showInEditor_ = true;
  unsigned char locked_ = 0;
  int randomSampleCount_ = 0;
  TPersistent* visual_ = nullptr;
  std::unique_ptr<TVisualsList> visuals_;
  TLumFunction* function_ = nullptr;
  std::unique_ptr<TDataSourcesList> dataSources_;
  std::vector<TChartSeries*> linkedSeries_;
  bool refreshing_ = false;
  std::uint8_t forceStoreData_ = 0, omitStoredData_ = 0, manualData_ = 0;

protected:
  // Flags series types set in their constructors.
  bool oneColor_ = true;
  bool grid3D_ = false;
};

using TChartSeriesClass = TClass;

// The marker that line and point series draw at each point. Sizes are the
// marker's width and height in pixels.
class TSeriesPointer : public TPersistent {
  DECLARE_CLASS(TSeriesPointer, TPersistent)
public:
  explicit TSeriesPointer(TChartSeries* AOwner);
  ~TSeriesPointer() override;

  TChartSeries* ParentSeries() const { return series_; }
  TPersistent* GetOwner() override;

  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle Value);
  // Store and repaint on change; below 1 raises ChartException.
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int Value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int Value);
  static void CheckPointerSize(int Size);
  // Whether the editor may change the sizes.
  bool AllowChangeSize() const { return allowChangeSize_; }
  void SetAllowChangeSize(bool Value) { allowChangeSize_ = Value; }
  // The axis ranges grow so whole markers show at the ends.
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool Value);
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool Value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool Value);
  int Depth() const { return depth_; }
  void SetDepth(int Value);
  // Percent of what lies under a marker showing through it.
  int Transparency() const { return transparency_; }
  void SetTransparency(int Value);
  // Created on first read. A visible gradient fills the markers instead of the
  // brush; a visible shadow lies under each, a visible emboss rims each.
  TLumGradient* Gradient() const;
  TLumShadow* Shadow() const;
  TLumEmboss* Emboss() const;
  bool HasGradient() const { return bool(gradient_); }
  bool HasShadow() const { return bool(shadow_); }
  bool HasEmboss() const { return bool(emboss_); }
  // Front and back depth of the markers.
  int GetStartZ() const;
  int GetEndZ() const;
  // Pixels the markers need beside the plot when they inflate the margins.
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) const;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) const;

  // Fill (clLumColor: the point's colour) and outline.
  TChartBrush* Brush() const { return brush_.get(); }
  TChartPen* Pen() const { return pen_.get(); }
  // Sets the brush colour (the brush tells the series, which repaints).
  void SetColor(TColor Value) { brush_->SetColor(Value); }
  TColor Color() const { return brush_->Color(); }

  // Pen as the pointer's pen (in the point colour when the pen colour is
  // clLumColor, none when hidden); brush in the pointer's brush colour, or in the
  // point colour when that is clLumColor (solid brush).
  void PrepareCanvas(TCanvas3D* ACanvas, TColor ColorValue);
  // The symbol of AStyle, Width x Height pixels, centred on (X, Y), with the
  // canvas's current pen and brush; line styles (cross, star, dot) use the
  // colour when the pen is hidden.
  void DrawPointer(TCanvas3D* ACanvas, bool Is3D, TSeriesPointerStyle AStyle, TColor ColorValue,
                   int Width, int Height, int X, int Y);
  // Prepares the chart's canvas and draws the pointer at (X, Y).
  void Draw(int X, int Y, TColor ColorValue, TSeriesPointerStyle AStyle);
  void Draw(int X, int Y, TColor ColorValue) { Draw(X, Y, ColorValue, style_); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Repaints the series.
  virtual void Changed(TObject* Sender);
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(this);
  }

private:
  TChartSeries* series_;
  bool visible_ = true;
  TSeriesPointerStyle style_ = psRectangle;
  int horizSize_ = 4, vertSize_ = 4;
  bool allowChangeSize_ = true;
  bool inflateMargins_ = true;
  bool draw3D_ = true, dark3D_ = true;
  int depth_ = 0;
  int transparency_ = 0;
  std::unique_ptr<TChartBrush> brush_;
  std::unique_ptr<TChartPen> pen_;
  mutable std::unique_ptr<TLumGradient> gradient_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  mutable std::unique_ptr<TLumEmboss> emboss_;
};

#include "engine/marks.h"
