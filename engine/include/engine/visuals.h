// Per-point visual objects of a series, and the holder the visuals editor edits.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/classes.h"

// One optional object per point, owned by the list. It runs parallel to the value
// lists and may be shorter (a missing object reads as none).
class TVisualsList {
public:
  // Makes the object of a point that has none; nullptr when the owner allows none.
  using TCreator = std::function<TPersistent*(int Index)>;
  explicit TVisualsList(TCreator Creator = nullptr) : creator_(std::move(Creator)) {}

  int Count() const { return int(items_.size()); }
  // The object of the point, created when the owner allows; EListError below 0.
  TPersistent* GetItem(int Index);
  // Stores Value (nullptr: none) at Index, freeing the old object; grows as needed.
  void SetItem(int Index, TPersistent* Value);
  // Keeps the list in step with point insertions and deletions.
  void Insert(int Index);
  void Delete(int Index);
  void Clear() { items_.clear(); }
  // Reorders to Order[i] = old index of the new place i (entries past the end stay none).
  void Permute(const std::vector<int>& Order);

private:
  TCreator creator_;
  std::vector<std::unique_ptr<TPersistent>> items_;
};

// What the visuals editor edits: an owner and a visual object it refers to.
class TVisualsHolder {
public:
  explicit TVisualsHolder(TComponent* AOwner = nullptr) : owner_(AOwner) {}
  TComponent* Owner() const { return owner_; }
  TPersistent* Visual() const { return visual_; }
  // nullptr clears.
  void SetVisual(TPersistent* Value) { visual_ = Value; }

private:
  TComponent* owner_;
  TPersistent* visual_ = nullptr;
};
