// The registration lists of series types, functions, tools and animations, and the
// series factory that galleries and editors create, copy and change series through.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes.h"

class TChartSeries;
class TCustomAxisPanel;
class TLumFunction;

// One gallery entry: a series type, or a function (shown with its gallery series).
// Description and GalleryPage point at text variables, so the current text shows.
struct TLumSeriesType {
  TClass SeriesClass = nullptr;  // nullptr stands for TLineSeries
  TClass FunctionClass = nullptr;
  const std::string* Description = nullptr;
  const std::string* GalleryPage = nullptr;
  int NumGallerySeries = 1;
  int SubIndex = 0;

  // SeriesClass, or TLineSeries for nullptr.
  TClass ActualSeriesClass() const;
  std::string DescriptionText() const { return Description ? *Description : std::string(); }
  std::string GalleryPageText() const { return GalleryPage ? *GalleryPage : std::string(); }
};

// The entries in registration order; the list owns them.
class TLumSeriesTypes {
public:
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TLumSeriesType* Get(int Index) const;
  TLumSeriesType* operator[](int Index) const { return Get(Index); }
  // The entry of the series class that has no function class; nullptr none.
  TLumSeriesType* Find(TClass SeriesClass) const;
  // The entry of the function class; nullptr none.
  TLumSeriesType* FindFunction(TClass FunctionClass) const;
  TLumSeriesType* Add(const TLumSeriesType& Entry);
  // Frees every entry the predicate picks; answers how many went.
  int RemoveIf(const std::function<bool(const TLumSeriesType&)>& Pick);
  void Clear() { items_.clear(); }

private:
  std::vector<std::unique_ptr<TLumSeriesType>> items_;
};

TLumSeriesTypes& LumSeriesTypes();

// Each also registers the class by name for streams and editors.
void RegisterLumSeries(TClass SeriesClass, const std::string* Description, const std::string* GalleryPage,
                       int NumGallerySeries);
void RegisterLumFunction(TClass FunctionClass, const std::string* Description, const std::string* GalleryPage,
                         int NumGallerySeries);
// Page "Standard", two gallery series.
void RegisterLumBasicFunction(TClass FunctionClass, const std::string* Description);
// Remove every entry of the classes wherever it stands (the class names stay known).
void UnRegisterLumSeries(const std::vector<TClass>& SeriesClasses);
void UnRegisterLumFunctions(const std::vector<TClass>& FunctionClasses);

// A list of component classes, each once, in the order added: the tool types and
// the animation types the galleries and the editor list.
class TLumClassList {
public:
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TClass Get(int Index) const;
  int IndexOf(TClass Class) const;
  // Appends unless present; answers the index.
  int Add(TClass Class);
  void Remove(TClass Class);
  void Clear() { items_.clear(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<TClass> items_;
};
using TLumToolTypes = TLumClassList;

TLumToolTypes& LumToolTypes();
TLumToolTypes& LumAnimationTypes();
// Adds each class once to the tool types and registers it by name; the reverse
// removes them from the list.
void RegisterLumTools(const std::vector<TClass>& ToolClasses);
void UnRegisterLumTools(const std::vector<TClass>& ToolClasses);

// ---- The standard series ----
// Gallery names of the nine standard series and the smoothing function, and the
// page of the function (the series are on "Standard"); assigned by RegisterStandardSeries.
extern std::string LumMsg_GalleryLine, LumMsg_GalleryHorizLine, LumMsg_GalleryPoint, LumMsg_GalleryArea,
    LumMsg_GalleryHorizArea, LumMsg_GalleryBar, LumMsg_GalleryHorizBar, LumMsg_GalleryPie, LumMsg_GalleryFastLine,
    LumMsg_FunctionSmoothing;
// Registers the nine standard series (page "Standard", in that order) and the
// smoothing function (page "Extended"). The gallery unit calls it at start-up; a
// second call adds nothing.
void RegisterStandardSeries();
// Removes them again.
void UnRegisterStandardSeries();

// ---- Factory ----
// The gallery name of the type (a series with a function: the function's), else the class name.
std::string GallerySeriesName(TClass SeriesClass);
std::string GallerySeriesName(const TChartSeries* ASeries);
// A new series of the class (nullptr: TLineSeries) owned by AOwner, named "Series"
// and the lowest number free among the owner's components and the chart's series,
// attached to the chart, with a new function of FunctionClass when one is given.
TChartSeries* CreateNewSeries(TComponent* AOwner, TCustomAxisPanel* AChart, TClass SeriesClass,
                              TClass FunctionClass = nullptr);
// A new function of the class, owned by the series' owner, with a unique name,
// attached to the series.
TLumFunction* CreateNewLumFunction(TChartSeries* ASeries, TClass FunctionClass);
// A new component of ATool's class owned by AOwner, named "ChartTool" and the lowest
// free number, with ATool's properties assigned.
TComponent* CreateNewTool(TComponent* ATool, TComponent* AOwner);
// A copy of the series in its chart (same class and function class, properties,
// data and data sources), named like a new series, last in the chart's list.
TChartSeries* CloneChartSeries(TChartSeries* ASeries);
// Replaces the series by a new one of NewClass (see AssignSeries) and answers it
// through ASeries; the series' own class changes nothing.
void ChangeSeriesType(TChartSeries*& ASeries, TClass NewClass);
// Moves data, properties, function, data sources and dependants, name, place in the
// chart's list and the chart's series tools from OldSeries onto NewSeries, frees OldSeries and
// sets it to NewSeries. The value lists keep the new type's names and orders, and
// points keep their value and position whether the types are vertical or horizontal.
void AssignSeries(TChartSeries*& OldSeries, TChartSeries* NewSeries);

// "Series" + lowest free number, as CreateNewSeries names; exposed for the galleries.
std::string NewSeriesName(TComponent* AOwner, TCustomAxisPanel* AChart);

namespace chart_detail {
// Empties the lists (the chart unit's finalisation).
void ClearRegistries();
}  // namespace chart_detail
