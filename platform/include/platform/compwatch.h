// A reference to a component that turns to nullptr when the component is freed.
// Code that runs a nested message loop holds one for each object a handler might
// free meanwhile, and looks at it after every pass before touching the object.
#pragma once
#include "platform/classes.h"

class TComponentWatch {
public:
  explicit TComponentWatch(TComponent* Target = nullptr);
  ~TComponentWatch();
  TComponentWatch(const TComponentWatch&) = delete;
  TComponentWatch& operator=(const TComponentWatch&) = delete;

  // The component, or nullptr once it has been freed.
  TComponent* Get() const;
  void Set(TComponent* Target);
  explicit operator bool() const { return Get() != nullptr; }

private:
  class Observer;
  Observer* observer_;
};

// The same, typed.
template <class T>
class TComponentRef {
public:
  explicit TComponentRef(T* Target = nullptr) : watch_(Target) {}
  T* Get() const { return static_cast<T*>(watch_.Get()); }
  void Set(T* Target) { watch_.Set(Target); }
  T* operator->() const { return Get(); }
  explicit operator bool() const { return Get() != nullptr; }

private:
  TComponentWatch watch_;
};
