// Shared by the page tests: whether an input made the chart draw again.
#pragma once
#include <functional>

#include "engine/panel.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"

namespace editortest {

// Runs Action with the chart quiet before and after it, on the stepped clock; true
// when the chart drew meanwhile (a paint is deferred and paced, so time must pass).
inline bool Repaints(TCustomAxisPanel* Chart, const std::function<void()>& Action) {
  TestInput::PumpFor(50);
  int paints = 0;
  Chart->OnAfterDraw = [&](TObject*) { ++paints; };
  Action();
  TestInput::PumpFor(50);
  Chart->OnAfterDraw = {};
  return paints > 0;
}

// One row of a page's table-driven test: on the page's Tab, Act as the user does;
// Done tells whether the edited object took it.
template <class Page, class Object>
struct TPageStep {
  const char* Name;
  std::function<TTabSheet*(Page*)> Tab;
  std::function<void(Page*)> Act;
  std::function<bool(Object*)> Done;
};

}  // namespace editortest
