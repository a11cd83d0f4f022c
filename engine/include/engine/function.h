// Analysis functions and data sources: a series that owns a function takes its
// points from the function's calculation over the series' data sources; a series
// without one copies its sources' values.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "engine/series.h"
#include "platform/classes.h"
#include "platform/typinfo.h"

// How a function cuts its source: into periods of a number of points, or of a
// range of X values.
enum TFunctionPeriodStyle { psNumPoints, psRange };
// Which X of a period its result is placed at.
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

// Base of the analysis functions. The framework cuts the source into periods (or
// combines several sources point by point), collects the values of each period and
// adds one result point per period to the owning series.
class TLumFunction : public TComponent {
  DECLARE_CLASS(TLumFunction, TComponent)
public:
  explicit TLumFunction(TComponent* AOwner);
  // Leaves its series.
  ~TLumFunction() override;

  TChartSeries* ParentSeries() const { return series_; }
  // Attaches to ASeries (through the series' SetFunction, which owns it).
  void SetParentSeries(TChartSeries* ASeries);

  // Points (or X range) per period; 0 gives one value for the whole source, and a
  // value below 0 acts as 0.
  double Period() const { return period_; }
  void SetPeriod(double Value);
  // Stores without recalculating.
  void InternalSetPeriod(double Value) { period_ = Value; }
  TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
  void SetPeriodStyle(TFunctionPeriodStyle Value);
  TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
  void SetPeriodAlign(TFunctionPeriodAlign Value);
  // Null points take part in the calculation.
  bool IncludeNulls() const { return includeNulls_; }
  void SetIncludeNulls(bool Value);
  bool CalcByValue() const { return calcByValue_; }
  void SetCalcByValue(bool Value) { calcByValue_ = Value; }

  // Inside an update block Recalculate does nothing; EndUpdate at zero recalculates once.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  // Asks the owning series to refresh from its sources, unless in an update block.
  void Recalculate();

  // Flags the function editor reads.
  bool NoSourceRequired() const { return noSourceRequired_; }
  bool SingleSource() const { return singleSource_; }
  bool HideSourceList() const { return hideSourceList_; }

  // The name of the function's editor form.
  virtual std::string EditorClassName() const { return "TLumFunctionEditor"; }
  // Fills a gallery chart with the function's demonstration series: the base gives
  // each series its gallery defaults.
  virtual void PrepareForGallery(TCustomAxisPanel* Chart);

  // One result over the points First..Last of Source (First -1: the whole source):
  // the values, nulls skipped unless IncludeNulls, stored through StoreValue and
  // combined by CalculateMany.
  virtual double Calculate(TChartSeries* Source, int First, int Last);
  // One result from an array of values (a period, or one value per source); base 0.
  virtual double CalculateMany(const std::vector<double>& Values);
  // Puts Value into Values at Position (the array holds Position values so far).
  virtual void StoreValue(std::vector<double>& Values, int Position, double Value);
  // The whole recalculation from Sources (one through the period loop, several
  // point by point) into the owning series.
  virtual void AddPoints(const std::vector<TChartSeries*>& Sources);
  void AddPoints(TChartSeries* Source) { AddPoints(std::vector<TChartSeries*>{Source}); }
  virtual bool IsValidSource(TChartSeries* Value) { (void)Value; return true; }
  // Called when the owning series is cleared.
  virtual void ClearOutput() {}
  // The value list of Source the function reads: the one the owning series' value
  // list names as its source, else Source's value (Y) list.
  TChartValueList* GetValueListForSeries(TChartSeries* Source) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Adds one result point at position X: (X, Value), or (Value, X) when the owning
  // series is horizontal.
  void AddFunctionXY(double X, double Value);
  // The same for every (X[i], Values[i]), in one go.
  void AddFunctionXYs(std::span<const double> X, std::span<const double> Values);
  // The effective period: Period, 0 when below 0.
  double PeriodValue() const { return period_ > 0 ? period_ : 0; }
  // The source loop of one source; the base cuts it into periods.
  virtual void DoCalculation(TChartSeries* Source);
  void SetNoSourceRequired(bool Value) { noSourceRequired_ = Value; }
  void SetSingleSource(bool Value) { singleSource_ = Value; }
  void SetHideSourceList(bool Value) { hideSourceList_ = Value; }
  // The X where a period of the source from First to Last puts its result.
  double AlignedX(TChartSeries* Source, int First, int Last) const;
  // Adds Results[k], the result of the window of N points from k on, at that
  // window's aligned X: how functions that compute all windows at once hand back.
  void AddWindowResults(TChartSeries* Source, int N, std::span<const double> Results);
  // Stores a changed value and recalculates.
  template <class T>
  void StoreAndRecalculate(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Recalculate();
  }

private:
  friend class TChartSeries;
  TChartSeries* series_ = nullptr;
  double period_ = 0;
  TFunctionPeriodStyle periodStyle_ = psNumPoints;
  TFunctionPeriodAlign periodAlign_ = paCenter;
  bool includeNulls_ = true;
  bool calcByValue_ = true;
  int updateCount_ = 0;
  bool noSourceRequired_ = false, singleSource_ = false, hideSourceList_ = false;
};

// A function over a window sliding one point at a time: for each full window of
// n = round(Period) points it calls Calculate(source, i - n + 1, i) and adds the
// result at the X that PeriodAlign selects.
class TLumMovingFunction : public TLumFunction {
  DECLARE_CLASS(TLumMovingFunction, TLumFunction)
public:
  explicit TLumMovingFunction(TComponent* AOwner);
  static void DefineProperties(TPropertyTable& t);

protected:
  void DoCalculation(TChartSeries* Source) override;
};

// The data sources of a series (series or source components), in the order added.
class TDataSourcesList {
public:
  explicit TDataSourcesList(TChartSeries* AOwner) : owner_(AOwner) {}
  TChartSeries* Owner() const { return owner_; }
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TComponent* Items(int Index) const;
  TComponent* operator[](int Index) const { return Items(Index); }
  int IndexOf(const TComponent* Source) const;
  // Adds through the series' internal add, without notification: ChartException
  // "No valid DataSource: %s" when the chart rejects the source.
  void Add(TComponent* Source);
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  friend class TChartSeries;
  TChartSeries* owner_;
  std::vector<TComponent*> items_;
};

// Base of source components that fill a series from outside data. Its class
// answers whether it can serve a series and names its editor.
class TLumSeriesSource : public TComponent {
  DECLARE_CLASS(TLumSeriesSource, TComponent)
public:
  explicit TLumSeriesSource(TComponent* AOwner) : TComponent(AOwner) {}
  ~TLumSeriesSource() override;
  TChartSeries* Series() const { return series_; }
  // Becomes the series' data source (leaving the previous series).
  void SetSeries(TChartSeries* Value);
  virtual bool Available(TChartSeries* ASeries) const { (void)ASeries; return true; }
  virtual std::string EditorClass() const { return std::string(); }
  virtual bool HasDataButtons() const { return false; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TChartSeries;
  TChartSeries* series_ = nullptr;
};

// The registered source classes; no unit of this program registers one.
std::vector<TClass>& LumSeriesSources();
