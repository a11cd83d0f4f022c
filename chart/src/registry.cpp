#include "chart/registry.h"

#include <algorithm>

#include "canvas/lumconst.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "engine/tools.h"
#include "platform/rtl.h"

std::string LumMsg_GalleryLine, LumMsg_GalleryHorizLine, LumMsg_GalleryPoint, LumMsg_GalleryArea,
    LumMsg_GalleryHorizArea, LumMsg_GalleryBar, LumMsg_GalleryHorizBar, LumMsg_GalleryPie, LumMsg_GalleryFastLine,
    LumMsg_FunctionSmoothing;


namespace {
[[noreturn]] void IndexError(int Index) { throw EListError(Format("List index out of bounds (%d)", Index)); }
}  // namespace

// ---- Series types ----------------------------------------------------------------
TClass TLumSeriesType::ActualSeriesClass() const { return SeriesClass ? SeriesClass : TLineSeries::StaticClass(); }

TLumSeriesType* TLumSeriesTypes::Get(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)].get();
}

TLumSeriesType* TLumSeriesTypes::Find(TClass SeriesClass) const {
  for (const auto& e : items_)
    if (!e->FunctionClass && e->ActualSeriesClass() == (SeriesClass ? SeriesClass : TLineSeries::StaticClass()))
      return e.get();
  return nullptr;
}

TLumSeriesType* TLumSeriesTypes::FindFunction(TClass FunctionClass) const {
  for (const auto& e : items_)
    if (FunctionClass && e->FunctionClass == FunctionClass) return e.get();
  return nullptr;
}

TLumSeriesType* TLumSeriesTypes::Add(const TLumSeriesType& Entry) {
  items_.push_back(std::make_unique<TLumSeriesType>(Entry));
  return items_.back().get();
}

int TLumSeriesTypes::RemoveIf(const std::function<bool(const TLumSeriesType&)>& Pick) {
  const size_t before = items_.size();
  items_.erase(std::remove_if(items_.begin(), items_.end(), [&](const auto& e) { return Pick(*e); }), items_.end());
  return int(before - items_.size());
}

TLumSeriesTypes& LumSeriesTypes() {
  static TLumSeriesTypes list;
  return list;
}

namespace {
void AddEntry(TClass SeriesClass, TClass FunctionClass, const std::string* Description,
              const std::string* GalleryPage, int NumGallerySeries) {
  TLumSeriesType e;
  e.SeriesClass = SeriesClass;
  e.FunctionClass = FunctionClass;
  e.Description = Description;
  e.GalleryPage = GalleryPage;
  e.NumGallerySeries = NumGallerySeries;
  LumSeriesTypes().Add(e);
  RegisterClass(FunctionClass ? FunctionClass : e.ActualSeriesClass());
}
}  // namespace

void RegisterLumSeries(TClass SeriesClass, const std::string* Description, const std::string* GalleryPage,
                       int NumGallerySeries) {
  AddEntry(SeriesClass, nullptr, Description, GalleryPage, NumGallerySeries);
}

void RegisterLumFunction(TClass FunctionClass, const std::string* Description, const std::string* GalleryPage,
                         int NumGallerySeries) {
  if (!FunctionClass) throw ChartException("A function entry needs a function class");
  AddEntry(nullptr, FunctionClass, Description, GalleryPage, NumGallerySeries);
}

void RegisterLumBasicFunction(TClass FunctionClass, const std::string* Description) {
  RegisterLumFunction(FunctionClass, Description, &LumMsg_GalleryStandard, 2);
}

void UnRegisterLumSeries(const std::vector<TClass>& SeriesClasses) {
  // A function entry's series class is its gallery series, not the entry's subject.
  LumSeriesTypes().RemoveIf([&](const TLumSeriesType& e) {
    return !e.FunctionClass && e.SeriesClass &&
           std::find(SeriesClasses.begin(), SeriesClasses.end(), e.SeriesClass) != SeriesClasses.end();
  });
}

void UnRegisterLumFunctions(const std::vector<TClass>& FunctionClasses) {
  LumSeriesTypes().RemoveIf([&](const TLumSeriesType& e) {
    return e.FunctionClass &&
           std::find(FunctionClasses.begin(), FunctionClasses.end(), e.FunctionClass) != FunctionClasses.end();
  });
}

// ---- Tool and animation types ---------------------------------------------------------
TClass TLumClassList::Get(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)];
}

int TLumClassList::IndexOf(TClass Class) const {
  const auto it = std::find(items_.begin(), items_.end(), Class);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

int TLumClassList::Add(TClass Class) {
  const int at = IndexOf(Class);
  if (at >= 0) return at;
  items_.push_back(Class);
  return Count() - 1;
}

void TLumClassList::Remove(TClass Class) { items_.erase(std::remove(items_.begin(), items_.end(), Class), items_.end()); }

TLumToolTypes& LumToolTypes() {
  static TLumToolTypes list;
  return list;
}

TLumToolTypes& LumAnimationTypes() {
  static TLumToolTypes list;
  return list;
}

void RegisterLumTools(const std::vector<TClass>& ToolClasses) {
  for (TClass c : ToolClasses) {
    if (!c) continue;
    LumToolTypes().Add(c);
    RegisterClass(c);
  }
}

void UnRegisterLumTools(const std::vector<TClass>& ToolClasses) {
  for (TClass c : ToolClasses) LumToolTypes().Remove(c);
}

void chart_detail::ClearRegistries() {
  LumSeriesTypes().Clear();
  LumToolTypes().Clear();
  LumAnimationTypes().Clear();
}

// ---- Standard series -------------------------------------------------------------------
namespace {
struct TStandardEntry {
  TClass (*Class)();
  std::string* Description;
  const char* Text;
};

const std::vector<TStandardEntry>& StandardEntries() {
  static const std::vector<TStandardEntry> entries{
      {&TLineSeries::StaticClass, &LumMsg_GalleryLine, "Line"},
      {&THorizLineSeries::StaticClass, &LumMsg_GalleryHorizLine, "Horiz.\rLine"},
      {&TPointSeries::StaticClass, &LumMsg_GalleryPoint, "Point"},
      {&TAreaSeries::StaticClass, &LumMsg_GalleryArea, "Area"},
      {&THorizAreaSeries::StaticClass, &LumMsg_GalleryHorizArea, "Horiz.\rArea"},
      {&TBarSeries::StaticClass, &LumMsg_GalleryBar, "Bar"},
      {&THorizBarSeries::StaticClass, &LumMsg_GalleryHorizBar, "Horiz.\rBar"},
      {&TPieSeries::StaticClass, &LumMsg_GalleryPie, "Pie"},
      {&TFastLineSeries::StaticClass, &LumMsg_GalleryFastLine, "Fast Line"},
  };
  return entries;
}
}  // namespace

void RegisterStandardSeries() {
  if (LumSeriesTypes().Find(TLineSeries::StaticClass())) return;
  for (const TStandardEntry& e : StandardEntries()) *e.Description = e.Text;
  LumMsg_FunctionSmoothing = "Smoothing";
  for (const TStandardEntry& e : StandardEntries())
    RegisterLumSeries(e.Class == &TLineSeries::StaticClass ? nullptr : e.Class(), e.Description,
                      &LumMsg_GalleryStandard, 1);
  RegisterLumFunction(TSmoothingFunction::StaticClass(), &LumMsg_FunctionSmoothing, &LumMsg_GalleryExtended, 1);
}

void UnRegisterStandardSeries() {
  std::vector<TClass> classes;
  for (const TStandardEntry& e : StandardEntries()) classes.push_back(e.Class());
  LumSeriesTypes().RemoveIf([&](const TLumSeriesType& e) {
    return !e.FunctionClass && std::find(classes.begin(), classes.end(), e.ActualSeriesClass()) != classes.end();
  });
  UnRegisterLumFunctions({TSmoothingFunction::StaticClass()});
}

// ---- Factory ---------------------------------------------------------------------------
std::string GallerySeriesName(TClass SeriesClass) {
  if (const TLumSeriesType* e = LumSeriesTypes().Find(SeriesClass); e && e->Description) return *e->Description;
  return SeriesClass ? SeriesClass->Name : std::string();
}

std::string GallerySeriesName(const TChartSeries* ASeries) {
  if (!ASeries) return std::string();
  if (ASeries->FunctionType())
    if (const TLumSeriesType* e = LumSeriesTypes().FindFunction(ASeries->FunctionType()->ClassType());
        e && e->Description)
      return *e->Description;
  return GallerySeriesName(ASeries->ClassType());
}

namespace {
// Prefix + the lowest number from 1 that no component of the owner and no series of
// the chart is named (a chart's series may belong to other owners).
std::string FreeSeriesName(const std::string& Prefix, TComponent* AOwner, const TCustomAxisPanel* AChart) {
  for (int n = 1;; ++n) {
    const std::string name = Prefix + std::to_string(n);
    if (AOwner && AOwner->FindComponent(name)) continue;
    if (AChart && std::any_of(AChart->SeriesList().begin(), AChart->SeriesList().end(),
                              [&](const TChartSeries* s) { return SameText(s->Name(), name); }))
      continue;
    return name;
  }
}

// The same function type on another series: its class and properties.
void CopyFunction(const TChartSeries* From, TChartSeries* To) {
  if (!From->FunctionType()) return;
  TLumFunction* f = CreateNewLumFunction(To, From->FunctionType()->ClassType());
  f->BeginUpdate();
  const std::string name = f->Name();
  f->Assign(From->FunctionType());
  if (f->Name() != name) f->SetName(name);
  f->EndUpdate();
}
}  // namespace

std::string NewSeriesName(TComponent* AOwner, TCustomAxisPanel* AChart) {
  return FreeSeriesName(LumMsg_DefaultSeriesName.empty() ? std::string("Series") : LumMsg_DefaultSeriesName, AOwner, AChart);
}

TChartSeries* CreateNewSeries(TComponent* AOwner, TCustomAxisPanel* AChart, TClass SeriesClass, TClass FunctionClass) {
  if (!SeriesClass) SeriesClass = TLineSeries::StaticClass();
  if (!SeriesClass->InheritsFrom(TChartSeries::StaticClass()))
    throw ChartException(Format("%s is not a series class", SeriesClass->Name));
  auto* s = static_cast<TChartSeries*>(SeriesClass->NewInstance(AOwner));
  try {
    s->SetName(NewSeriesName(AOwner, AChart));
    if (AChart) s->SetParentChart(AChart);
    if (FunctionClass) CreateNewLumFunction(s, FunctionClass);
  } catch (...) {
    delete s;
    throw;
  }
  return s;
}

TLumFunction* CreateNewLumFunction(TChartSeries* ASeries, TClass FunctionClass) {
  if (!ASeries || !FunctionClass || !FunctionClass->InheritsFrom(TLumFunction::StaticClass()))
    throw ChartException(Format("%s is not a function class", FunctionClass ? FunctionClass->Name : std::string("nil")));
  TComponent* owner = ASeries->Owner();
  auto* f = static_cast<TLumFunction*>(FunctionClass->NewInstance(owner));
  try {
    std::string prefix = FunctionClass->Name;
    if (prefix.size() > 1 && prefix[0] == 'T') prefix.erase(0, 1);
    f->SetName(UniqueComponentName(owner, prefix));
    ASeries->SetFunction(f);
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

TComponent* CreateNewTool(TComponent* ATool, TComponent* AOwner) {
  if (!ATool) return nullptr;
  auto* tool = static_cast<TComponent*>(ATool->ClassType()->NewInstance(AOwner));
  try {
    tool->Assign(ATool);
    tool->SetName(
        UniqueComponentName(AOwner, LumMsg_DefaultToolName.empty() ? std::string("ChartTool") : LumMsg_DefaultToolName));
  } catch (...) {
    delete tool;
    throw;
  }
  return tool;
}

namespace {
// Properties of From onto To, keeping To's value-list names and orders: a type's
// lists are its own (a bar's "Bar", a horizontal type's unordered X).
void AssignKeepingLists(TChartSeries* To, TChartSeries* From) {
  struct Saved {
    std::string Name;
    TChartListOrder Order;
  };
  std::vector<Saved> lists;
  for (TChartValueList* l : To->ValuesList()) lists.push_back({l->Name(), l->Order()});
  To->Assign(From);
  int i = 0;
  for (TChartValueList* l : To->ValuesList()) {
    l->SetName(lists[size_t(i)].Name);
    l->SetOrder(lists[size_t(i)].Order);
    ++i;
  }
}

// The points of From onto To: each point's value and position in their roles, so a
// vertical type turned horizontal keeps its values as values; other lists by name.
void CopyPoints(TChartSeries* To, TChartSeries* From) {
  To->BeginUpdate();
  try {
    To->Clear();
    const bool toVertical = To->MandatoryValueList() == To->YValues();
    for (int i = 0; i < From->Count(); ++i) {
      const double pos = From->NotMandatoryValueList()->GetValue(i);
      const double val = From->MandatoryValueList()->GetValue(i);
      const int at = toVertical ? To->AddXY(pos, val, From->Labels().GetLabel(i), From->GetPointColor(i))
                                : To->AddXY(val, pos, From->Labels().GetLabel(i), From->GetPointColor(i));
      if (at < 0) continue;
      for (TChartValueList* l : To->ValuesList()) {
        if (l == To->XValues() || l == To->YValues()) continue;
        if (TChartValueList* src = From->GetValueListByName(l->Name()); src && i < src->Count())
          l->SetValue(at, src->GetValue(i));
      }
    }
  } catch (...) {
    To->EndUpdate();
    throw;
  }
  To->EndUpdate();
}

void CopySources(TChartSeries* From, TChartSeries* To) {
  if (!From->HasDataSources()) return;
  std::vector<TComponent*> sources(From->GetDataSources()->begin(), From->GetDataSources()->end());
  To->BeginUpdate();
  for (TComponent* c : sources) To->GetDataSources()->Add(c);
  To->EndUpdate();
}
}  // namespace

TChartSeries* CloneChartSeries(TChartSeries* ASeries) {
  if (!ASeries) return nullptr;
  TCustomAxisPanel* chart = ASeries->ParentChart();
  TChartSeries* s = CreateNewSeries(ASeries->Owner(), chart, ASeries->ClassType(), nullptr);
  try {
    const std::string name = s->Name();
    AssignKeepingLists(s, ASeries);
    if (s->Name() != name) s->SetName(name);
    CopyFunction(ASeries, s);
    CopyPoints(s, ASeries);
  } catch (...) {
    delete s;
    throw;
  }
  return s;
}

void ChangeSeriesType(TChartSeries*& ASeries, TClass NewClass) {
  if (!ASeries || !NewClass || ASeries->ClassType() == NewClass) return;
  if (!NewClass->InheritsFrom(TChartSeries::StaticClass()))
    throw ChartException(Format("%s is not a series class", NewClass->Name));
  auto* s = static_cast<TChartSeries*>(NewClass->NewInstance(ASeries->Owner()));
  AssignSeries(ASeries, s);
}

void AssignSeries(TChartSeries*& OldSeries, TChartSeries* NewSeries) {
  if (!OldSeries || !NewSeries || OldSeries == NewSeries) return;
  TChartSeries* old = OldSeries;
  TCustomAxisPanel* chart = old->ParentChart();
  const int place = chart ? chart->SeriesList().IndexOf(old) : -1;
  const std::string name = old->Name();
  NewSeries->BeginUpdate();
  // Joined first: joining gives a series without a colour of its own the palette
  // colour of its place, which the old series' colours then replace.
  if (chart) {
    NewSeries->SetParentChart(chart);
    chart->MoveSeries(NewSeries, place);
  }
  AssignKeepingLists(NewSeries, old);
  CopyFunction(old, NewSeries);
  CopyPoints(NewSeries, old);
  CopySources(old, NewSeries);
  // The series fed from the old one take their data from the new one.
  const std::vector<TChartSeries*> dependants = old->LinkedSeries();
  for (TChartSeries* d : dependants) {
    TDataSourcesList* list = d->GetDataSources();
    std::vector<TComponent*> sources(list->begin(), list->end());
    for (TComponent*& c : sources)
      if (c == old) c = NewSeries;
    d->SetDataSource(nullptr);
    for (TComponent* c : sources) list->Add(c);
  }
  // Tools of the chart that point at the old series point at the new one.
  if (chart)
    for (TLumCustomTool* t : *chart->Tools())
      if (auto* st = dynamic_cast<TLumCustomToolSeries*>(t); st && st->Series() == old) st->SetSeries(NewSeries);
  old->SetName("");
  delete old;
  NewSeries->SetName(name);
  NewSeries->EndUpdate();
  for (TChartSeries* d : dependants) d->RefreshSeries();
  OldSeries = NewSeries;
}
