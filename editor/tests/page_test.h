// Shared by the page tests: whether an input made the chart draw again.
#pragma once
#include <functional>

#include "editor_test.h"
#include "engine/panel.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"
#include "samples/samplechart.h"

namespace editortest {

// Page as the chart editor shows it beside the chart on Host: not aligned, at Bounds,
// shown, with the loop run.
template <class P>
P* ShowPage(TForm* Host, P* Page, const TRect& Bounds) {
  Page->SetAlign(alNone);
  Page->SetParent(Host);
  Page->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  Page->Show();
  TestInput::PumpPasses(4);
  return Page;
}

// A test of the chart-level pages: the sample chart on the shown host.
class ChartPageTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    chart = BuildSampleChart(Host.get(), Host.get());
    Host->Show();
    Pump();
  }
  // Shows the tab as the user does (a click on its tab).
  static void ShowTab(TPageControl* Pages, TTabSheet* Tab) {
    if (Pages->ActivePage() != Tab) TestInput::PostTabClick(Pages, Tab->TabIndex());
    Pump();
  }
  TChart* chart = nullptr;
};

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
