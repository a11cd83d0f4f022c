// Series groups of a chart: named sets of its series that the editor shows and
// switches on and off together. A series leaves every group of its chart when it
// leaves the chart.
#pragma once
#include <string>

#include "engine/panel.h"
#include "platform/collections.h"

// A group is active when all its series are (an empty group too), inactive when
// none is, and partly active otherwise.
enum TSeriesGroupActive { gaYes, gaNo, gaSome };

class TSeriesGroup : public TCollectionItem {
  DECLARE_CLASS(TSeriesGroup, TCollectionItem)
public:
  TSeriesGroup() = default;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);
  std::string DisplayName() const override { return name_; }

  const TChartSeriesList& Series() const { return series_; }
  // Adds the series unless it is in the group already.
  void Add(TChartSeries* Series);
  void Remove(TChartSeries* Series);

  TSeriesGroupActive Active() const;
  // gaYes and gaNo switch every series of the group; gaSome changes nothing.
  void SetActive(TSeriesGroupActive Value);

  // The name (the series belong to a chart, so they stay).
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  std::string name_;
  TChartSeriesList series_;
};

class TSeriesGroups : public TCollection {
  DECLARE_CLASS(TSeriesGroups, TCollection)
public:
  explicit TSeriesGroups(TCustomAxisPanel* AChart);
  TCustomAxisPanel* Chart() const { return chart_; }
  // A new group of that name, at the end.
  TSeriesGroup* Add(const std::string& Name);
  // EListError outside 0..Count-1.
  TSeriesGroup* GetGroup(int Index) const;
  TSeriesGroup* operator[](int Index) const { return GetGroup(Index); }
  // -1 when no group has that name (case-insensitive).
  int IndexOfName(const std::string& Name) const;
  // Takes the series out of every group.
  void RemoveSeries(TChartSeries* Series);

private:
  TCustomAxisPanel* chart_;
};
