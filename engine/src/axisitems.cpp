#include "engine/axisitems.h"

#include "engine/axis.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TAxisItem, TPersistent)
IMPLEMENT_CLASS_PROPS(TAxisItems, TPersistent)

TAxisItem::TAxisItem(TAxisItems* AOwner) : owner_(AOwner) {}
TAxisItem::~TAxisItem() = default;

void TAxisItem::Repaint() {
  if (owner_) owner_->Repaint();
}

void TAxisItem::SetValue(double Value) {
  if (value_ == Value) return;
  value_ = Value;
  Repaint();
}

void TAxisItem::SetText(const std::string& Value) {
  if (text_ == Value) return;
  text_ = Value;
  Repaint();
}

TLumCustomShape* TAxisItem::GetFormat() const {
  if (!format_) {
    TChartAxis* axis = owner_ ? owner_->Axis() : nullptr;
    format_ = std::make_unique<TLumCustomShape>(axis ? axis->ParentChart() : nullptr);
    format_->SetTransparent(true);
    RecordDefaults(format_.get());
  }
  return format_.get();
}

void TAxisItem::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TAxisItem*>(Source)) {
    value_ = src->value_;
    text_ = src->text_;
    if (src->format_ || format_) GetFormat()->Assign(src->GetFormat());
    Repaint();
    return;
  }
  TPersistent::Assign(Source);
}

void TAxisItem::DefineProperties(TPropertyTable& t) {
  t.Object("Format", &TAxisItem::GetFormat).Stored([](const TObject* o) {
    return static_cast<const TAxisItem*>(o)->HasFormat();
  });
  t.Str("Text", &TAxisItem::Text, &TAxisItem::SetText).Default(std::string());
  t.Float("Value", &TAxisItem::Value, &TAxisItem::SetValue).Default((long double)0);
}

// ---------------------------------------------------------------------------
TAxisItems::TAxisItems(TChartAxis* AAxis) : axis_(AAxis) {}
TAxisItems::~TAxisItems() = default;

void TAxisItems::Repaint() {
  if (axis_ && axis_->ParentChart()) axis_->ParentChart()->Invalidate();
}

TAxisItem* TAxisItems::Get(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)].get();
}

TAxisItem* TAxisItems::Add(double Value, const std::string& Text) {
  items_.push_back(std::make_unique<TAxisItem>(this));
  TAxisItem* item = items_.back().get();
  item->value_ = Value;
  item->text_ = Text;
  automatic_ = false;
  Repaint();
  return item;
}

void TAxisItems::Delete(int Index) {
  Get(Index);
  items_.erase(items_.begin() + Index);
  Repaint();
}

void TAxisItems::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Repaint();
}

void TAxisItems::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TAxisItems*>(Source)) {
    if (src == this) return;
    items_.clear();
    for (const auto& item : src->items_) {
      items_.push_back(std::make_unique<TAxisItem>(this));
      items_.back()->Assign(item.get());
    }
    automatic_ = src->automatic_;
    Repaint();
    return;
  }
  TPersistent::Assign(Source);
}

void TAxisItems::DefineProperties(TPropertyTable& t) {
  t.Bool("Automatic", &TAxisItems::Automatic, &TAxisItems::SetAutomatic).Default(true);
}
