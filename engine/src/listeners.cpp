#include "engine/listeners.h"

#include <algorithm>

#include "platform/classes.h"
#include "platform/rtl.h"

int TLumEventListeners::Add(ILumEventListener* Listener) {
  if (!Listener) return -1;
  if (int i = IndexOf(Listener); i >= 0) return i;
  auto* component = dynamic_cast<TComponent*>(Listener);
  if (component && owner_) owner_->FreeNotification(component);
  items_.push_back({Listener, component});
  return Count() - 1;
}

void TLumEventListeners::RemoveAt(size_t Index) {
  if (sending_ > 0) items_[Index] = {nullptr, nullptr};  // the broadcast skips it
  else items_.erase(items_.begin() + std::ptrdiff_t(Index));
}

void TLumEventListeners::Remove(ILumEventListener* Listener) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (Listener && items_[i].Listener == Listener) return RemoveAt(i);
}

void TLumEventListeners::RemoveComponent(const TComponent* AComponent) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (AComponent && items_[i].Component == AComponent) return RemoveAt(i);
}

int TLumEventListeners::IndexOf(const ILumEventListener* Listener) const {
  int index = 0;
  for (const TEntry& e : items_) {
    if (!e.Listener) continue;
    if (e.Listener == Listener) return index;
    ++index;
  }
  return -1;
}

int TLumEventListeners::Count() const {
  return int(std::count_if(items_.begin(), items_.end(), [](const TEntry& e) { return e.Listener; }));
}

ILumEventListener* TLumEventListeners::Items(int Index) const {
  int index = 0;
  for (const TEntry& e : items_)
    if (e.Listener && index++ == Index) return e.Listener;
  throw EListError(Format("List index out of bounds (%d)", Index));
}

void TLumEventListeners::Broadcast(const TLumEvent& Event) {
  if (items_.empty()) return;
  struct Sending {
    TLumEventListeners& list;
    explicit Sending(TLumEventListeners& l) : list(l) { ++list.sending_; }
    ~Sending() {
      if (--list.sending_ == 0)
        list.items_.erase(std::remove_if(list.items_.begin(), list.items_.end(),
                                         [](const TEntry& e) { return !e.Listener; }),
                          list.items_.end());
    }
  } sending(*this);
  // By index: listeners may join or leave the list while it is being sent.
  const size_t n = items_.size();
  for (size_t i = 0; i < n && i < items_.size(); ++i) {
    const TEntry e = items_[i];
    if (!e.Listener || (e.Component && (e.Component->ComponentState() & csDestroying))) continue;
    e.Listener->LumEvent(Event);
  }
}
