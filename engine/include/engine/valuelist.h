// Point data of a series: value lists (X, Y and the extra lists of some series
// types) and the optional labels.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/classes.h"
#include "platform/typinfo.h"

class TChartSeries;

using TChartValue = double;

enum TChartListOrder { loNone, loAscending, loDescending };

// A growable list of doubles. Minimum, maximum and totals are cached and
// recomputed on the next read after any change marked the list stale.
class TChartValueList : public TPersistent {
  DECLARE_CLASS(TChartValueList, TPersistent)
public:
  TChartValueList(TChartSeries* AOwner, const std::string& AName);
  ~TChartValueList() override;

  TChartSeries* Owner() const { return owner_; }
  TPersistent* GetOwner() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value) { name_ = Value; }
  // Decides where AddChartValue inserts; changing it does not re-sort the values.
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder Value) { order_ = Value; }
  bool DateTime() const { return dateTime_; }
  // Stores the flag and repaints the owning series' chart.
  void SetDateTime(bool Value);
  // Stores the flag only (series constructors).
  void InitDateTime(bool Value) { dateTime_ = Value; }
  // Name of the value list of a data source this list takes its values from.
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(const std::string& Value) { valueSource_ = Value; }

  int Count() const { return int(values_.size()); }
  const std::vector<TChartValue>& Values() const { return values_; }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  TChartValue GetValue(int Index) const;
  TChartValue operator[](int Index) const { return GetValue(Index); }
  void SetValue(int Index, TChartValue Value);
  // The value at Count-1; EListError when the list is empty.
  TChartValue Last() const { return GetValue(Count() - 1); }
  // Index of the first value equal to Value, -1 when none.
  int Locate(TChartValue Value) const;

  TChartValue GetMinValue();
  TChartValue GetMaxValue();
  TChartValue GetTotal();
  TChartValue GetTotalABS();
  TChartValue MinValue() { return GetMinValue(); }
  TChartValue MaxValue() { return GetMaxValue(); }
  TChartValue Total() { return GetTotal(); }
  TChartValue TotalABS() { return GetTotalABS(); }

  // The stale flag: true makes the statistics recompute on their next read.
  bool Modified() const { return modified_; }
  void SetModified(bool Value) { modified_ = Value; }

  // Inserts at the ordered place (after equal values) and answers the index;
  // appends when the order is loNone.
  int AddChartValue(TChartValue Value);
  // Inserts at Index (0..Count); EListError outside.
  void InsertChartValue(int Index, TChartValue Value);
  // Appends Count values, or Count copies of Value.
  void AppendValues(const TChartValue* Values, std::size_t Count);
  void AppendValues(std::size_t Count, TChartValue Value);
  void Delete(int Index);
  void Clear();
  // The value the series' next AddXY gives this list when it is not the X or Y
  // list (0 unless set); taking it resets it, so a point never sees a stale one.
  void SetTempValue(TChartValue Value) { tempValue_ = Value; }
  TChartValue TakeTempValue() { return std::exchange(tempValue_, 0); }
  // Values 0, 1, 2, ... ; marks the list stale and tells the owning series.
  void FillSequence();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void Recalc();

  TChartSeries* owner_;
  std::string name_;
  TChartListOrder order_ = loNone;
  bool dateTime_ = false;
  std::string valueSource_;
  std::vector<TChartValue> values_;
  bool modified_ = true;
  TChartValue min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
  TChartValue tempValue_ = 0;
};

// The value lists of a series, in the order the series created them (X first).
// The series owns the lists; this list only refers to them.
class TChartValueLists {
public:
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TChartValueList* GetValueList(int Index) const;
  TChartValueList* operator[](int Index) const { return GetValueList(Index); }
  int IndexOf(const TChartValueList* List) const;
  void Add(TChartValueList* List) { items_.push_back(List); }
  void Remove(TChartValueList* List);
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<TChartValueList*> items_;
};

// Optional text per point. Empty while no point has a label; otherwise it runs
// parallel to the value lists (it may be shorter: missing texts are empty).
class TLabelsList {
public:
  explicit TLabelsList(TChartSeries* AOwner) : owner_(AOwner) {}
  int Count() const { return int(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // The text of the point, "" when it has none.
  std::string GetLabel(int Index) const;
  // Grows the list as needed; repaints the series when the text changed.
  void SetLabel(int Index, const std::string& Text);
  std::string operator[](int Index) const { return GetLabel(Index); }
  // Inserts at Index, growing the list to Index first.
  void InsertLabel(int Index, const std::string& Text);
  void Delete(int Index);
  void Clear() { items_.clear(); }

private:
  TChartSeries* owner_;
  std::vector<std::string> items_;
};
