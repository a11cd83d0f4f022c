// Collections: a list of owned items of one item class, each knowing its collection
// and its index. Freeing the collection frees its items; freeing an item takes it out.
#pragma once
#include <vector>

#include "platform/classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
public:
  TCollectionItem() = default;
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item from one collection to another (nullptr: to none).
  void SetCollection(TCollection* Value);
  // -1 outside a collection. Setting it moves the item within its collection
  // (clamped to the valid range).
  int Index() const;
  void SetIndex(int Value);
  int ID() const { return id_; }
  virtual std::string DisplayName() const { return ClassName(); }

protected:
  // Tells the collection this item changed (AllItems: the whole collection did).
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
public:
  // ItemClass must descend from TCollectionItem and have a virtual constructor.
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;

  TClass ItemClass() const { return itemClass_; }
  int Count() const { return int(items_.size()); }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  TCollectionItem* Items(int Index) const;
  // A new item of the item class, at the end (Insert: at Index).
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  // The same number of items of the source's item classes, each assigned from the
  // source's item at its index.
  void Assign(TPersistent* Source) override;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Fired after a change (outside updates; Item nullptr: the whole collection).
  TEvent<void(TCollection* Sender, TCollectionItem* Item)> OnUpdate;

protected:
  virtual void Update(TCollectionItem* Item);
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item, int Index);
  void RemoveItem(TCollectionItem* Item);
  TClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};
