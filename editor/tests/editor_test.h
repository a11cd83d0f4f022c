// Shared by the editor tests: the units the editor stands on, started once per test
// program in the program's order, and a host form holding the sample chart.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "analysis/toolsunit.h"
#include "analysis/unit.h"
#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/unit.h"
#include "editor/unit.h"
#include "engine/engineunit.h"
#include "gallery/chartstream.h"
#include "gallery/seriesgallery.h"
#include "gallery/toolsgallery.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace editortest {

inline void EnsureUnits() {
  static bool done = false;
  if (done) return;
  done = true;
  for (auto start : {FormsUnitInit, LumConstUnitInit, LumCanvasUnitInit, LumEngineUnitInit, ChartUnitInit,
                     LumGallyUnitInit, LumConst2UnitInit, BasicFunctionsUnitInit, CLVFunctionUnitInit,
                     CandleUnitInit, StatisticsUnitInit, LumToolsUnitInit, LumStoreUnitInit, LumEditorUnitInit,
                     LumToolsGalleryUnitInit})
    start();
}

// The last component of class F that Owner owns (a dialog an edit routine made).
template <class F>
F* Owned(TComponent* Owner) {
  for (int i = Owner->ComponentCount() - 1; i >= 0; --i)
    if (auto* f = dynamic_cast<F*>(Owner->Components(i))) return f;
  return nullptr;
}

// A test on the stepped clock with the units started and the dialogs' answers and
// records cleared; Host is a shown form that owns what a test puts on it.
class EditorTest : public testing::Test {
protected:
  void SetUp() override {
    EnsureUnits();
    TestDialogs::Clear();
    ClearRecordedMessages();
    Host.reset(new TForm(nullptr));
    Host->SetBounds(0, 0, 1000, 700);
  }
  void TearDown() override {
    Host.reset();
    TestInput::ClearModalScripts();
    TestDialogs::Clear();
  }
  static void Pump(int Passes = 4) { TestInput::PumpPasses(Passes); }

  TestInput::TSteppedClock Clock;
  std::unique_ptr<TForm> Host;
};

}  // namespace editortest
