// Shared by the editor window's tests: the sample chart on a shown host, the editor
// settings emptied before and after each test (tabs unless a test asks for the tree),
// and the editor opened on the chart, shown or modally through EditChart.
#pragma once
#include <functional>
#include <string>

#include "chart/chart.h"
#include "chart/series.h"
#include "editor/chartedit.h"
#include "editor_test.h"
#include "engine/settings.h"
#include "gallery/chartlistbox.h"
#include "platform/registry.h"
#include "samples/samplechart.h"

namespace editortest {

inline void ClearEditorSettings() {
  TRegistry r;
  r.DeleteKey(LumEditorKey);
}

// A setting of another type than the editor reads (a string where it wants a number).
inline void WriteWrongType(const std::string& Name) {
  TRegistry r;
  r.OpenKey(LumEditorKey, true);
  r.WriteString(Name, "wide");
}

inline int StoredInteger(const std::string& Name, int Missing = -1) {
  return ReadEditorIntegerSetting(Name, Missing);
}

class ChartEditTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    ClearEditorSettings();
    WriteEditorBooleanSetting("TreeMode", Tree);
    chart = BuildSampleChart(Host.get(), Host.get());
    Host->Show();
    Pump();
  }
  void TearDown() override {
    EditorTest::TearDown();
    ClearEditorSettings();
  }

  // An editor on the chart, shown (not modally); Before runs before the chart is set.
  TChartEditForm* Open(const std::function<void(TChartEditForm*)>& Before = {}) {
    auto* e = new TChartEditForm(Host.get());
    if (Before) Before(e);
    e->SetChart(chart);
    e->Show();
    Pump();
    return e;
  }
  // EditChart with Script queued for its modal run (the script closes it).
  void Edit(const std::function<void(TChartEditForm*)>& Script, std::uint16_t Options = ceoDefault,
            const std::set<int>& Hidden = {}, int StartPage = -1, TComponent* Object = nullptr) {
    TestInput::WhenModal([this, Script] {
      TChartEditForm* e = Owned<TChartEditForm>(Host.get());
      ASSERT_NE(e, nullptr);
      Script(e);
      if (Owned<TChartEditForm>(Host.get()) == e) TestInput::PostClick(e->BClose);
    });
    EditChart(Host.get(), chart, Options, Hidden, StartPage, Object);
    EXPECT_EQ(Owned<TChartEditForm>(Host.get()), nullptr) << "the creator frees the editor";
  }
  TChartSeries* Series(const char* Name) const { return dynamic_cast<TChartSeries*>(Host->FindComponent(Name)); }

  bool Tree = false;
  TChart* chart = nullptr;
};

class ChartEditTreeTest : public ChartEditTest {
protected:
  ChartEditTreeTest() { Tree = true; }
};

}  // namespace editortest
