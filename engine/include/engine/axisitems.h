// Custom label items of an axis: values with texts that the axis shows instead of
// its own labels once the items' automatic flag is off.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/shape.h"
#include "platform/classes.h"
#include "platform/typinfo.h"

class TChartAxis;
class TAxisItems;

class TAxisItem : public TPersistent {
  DECLARE_CLASS(TAxisItem, TPersistent)
public:
  explicit TAxisItem(TAxisItems* AOwner = nullptr);
  ~TAxisItem() override;
  double Value() const { return value_; }
  void SetValue(double Value);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value);
  // The item's own box and font, created on first use (transparent: text only).
  TLumCustomShape* GetFormat() const;
  bool HasFormat() const { return bool(format_); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TAxisItems;
  void Repaint();
  TAxisItems* owner_;
  double value_ = 0;
  std::string text_;
  mutable std::unique_ptr<TLumCustomShape> format_;
};

class TAxisItems : public TPersistent {
  DECLARE_CLASS(TAxisItems, TPersistent)
public:
  explicit TAxisItems(TChartAxis* AAxis = nullptr);
  ~TAxisItems() override;
  TChartAxis* Axis() const { return axis_; }
  // On: the axis makes its own labels. Stored without a repaint (the editor flips it
  // before it fills the list).
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool Value) { automatic_ = Value; }
  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TAxisItem* Get(int Index) const;
  TAxisItem* operator[](int Index) const { return Get(Index); }
  // Appends an item and turns the automatic flag off, so the items show.
  TAxisItem* Add(double Value, const std::string& Text = {});
  void Delete(int Index);
  void Clear();
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TAxisItem;
  void Repaint();
  TChartAxis* axis_;
  bool automatic_ = true;
  std::vector<std::unique_ptr<TAxisItem>> items_;
};
