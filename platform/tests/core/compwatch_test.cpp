#include <gtest/gtest.h>

#include "platform/compwatch.h"

TEST(ComponentWatch, TurnsNullWhenTheTargetIsFreedAndLetsGoWhenRetargetedOrFreed) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TComponent(owner);
  auto* b = new TComponent(nullptr);
  TComponentRef<TComponent> ra(a), rb(b);
  {
    TComponentWatch again(a);  // a second watch of the same target, gone first
  }
  EXPECT_EQ(ra.Get(), a);
  delete owner;  // frees a with its owner
  EXPECT_EQ(ra.Get(), nullptr);
  rb.Set(nullptr);
  delete b;  // no notification reaches a watch that let go
  EXPECT_FALSE(rb);
  {
    auto* c = new TComponent(nullptr);
    TComponentWatch w(c);
    EXPECT_EQ(w.Get(), c);
    delete c;
    EXPECT_FALSE(w);
  }
}
