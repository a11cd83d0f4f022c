#include "platform/collections.h"

#include <algorithm>

IMPLEMENT_CLASS(TCollectionItem, TPersistent)
IMPLEMENT_CLASS(TCollection, TPersistent)

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (Value) Value->InsertItem(this, Value->Count());
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& v = collection_->items_;
  return int(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int Value) {
  if (!collection_) return;
  auto& v = collection_->items_;
  const int from = Index();
  const int to = std::clamp(Value, 0, int(v.size()) - 1);
  if (from == to) return;
  v.erase(v.begin() + from);
  v.insert(v.begin() + to, this);
  collection_->Changed();
}

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
TCollection::TCollection(TClass ItemClass) : itemClass_(ItemClass) {
  if (!ItemClass || !ItemClass->InheritsFrom(TCollectionItem::StaticClass()))
    throw EInvalidOperation("Collection item class must descend from TCollectionItem");
}

TCollection::~TCollection() {
  ++updateCount_;  // no notices while going
  Clear();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[std::size_t(Index)];
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int Index) {
  TObject* o = itemClass_->NewInstance(nullptr);
  auto* item = static_cast<TCollectionItem*>(o);
  InsertItem(item, std::clamp(Index, 0, Count()));
  return item;
}

void TCollection::Delete(int Index) { delete Items(Index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* i : items_)
    if (i->id_ == ID) return i;
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  Clear();
  for (TCollectionItem* s : src->items_) {
    auto* item = static_cast<TCollectionItem*>(s->ClassType()->NewInstance(nullptr));
    InsertItem(item, Count());
    item->Assign(s);
  }
  EndUpdate();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Update(TCollectionItem* Item) {
  if (OnUpdate) OnUpdate(this, Item);
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item, int Index) {
  items_.insert(items_.begin() + Index, Item);
  Item->collection_ = this;
  Item->id_ = nextId_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  auto it = std::find(items_.begin(), items_.end(), Item);
  if (it == items_.end()) return;
  items_.erase(it);
  Item->collection_ = nullptr;
  Changed();
}
