// The function editors: the class combo and the pages it shows, sources chosen and
// applied (a circle refused before anything changes), the period and the
// close-location-value options, and objects freed while a page shows them.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "analysis/func_financial.h"
#include "analysis/func_moving.h"
#include "analysis/func_stats.h"
#include "analysis/unit.h"
#include "canvas/comboflat.h"
#include "chart/series.h"
#include "editor/funceditor.h"
#include "editor_test.h"
#include "form_inventory.h"

namespace {

using editortest::EditorTest;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostText;
using TestInput::WhenModal;

std::vector<std::string> ItemsOf(TStrings* S) {
  std::vector<std::string> v;
  for (int i = 0; i < S->Count(); ++i) v.push_back(S->Strings(i));
  return v;
}

class FuncEditorTest : public EditorTest {
public:
  void SetUp() override {
    EditorTest::SetUp();
    chart = new TChart(Host.get());
    chart->SetParent(Host.get());
    chart->SetBounds(0, 0, 400, 300);
    for (const char* name : {"Source", "Other", "Target"}) {
      auto* s = new TLineSeries(Host.get());
      s->SetName(name);
      s->SetTitle(name);
      s->SetParentChart(chart);
    }
    for (int i = 0; i < 40; ++i) {
      source()->AddXY(i, 10 + 5 * std::sin(i * 0.7) + (i % 3));
      other()->AddXY(i, i * 0.5);
    }
    Host->Show();
  }
  TChartSeries* series(const char* Name) { return dynamic_cast<TChartSeries*>(Host->FindComponent(Name)); }
  TChartSeries* source() { return series("Source"); }
  TChartSeries* other() { return series("Other"); }
  TChartSeries* target() { return series("Target"); }

  TLumFuncEditor* Open(TChartSeries* S) {
    auto* e = new TLumFuncEditor(Host.get());
    e->SetParent(Host.get());
    e->SetBounds(400, 0, 380, 280);
    e->SetTag(std::intptr_t(S));
    e->Show();
    Pump();
    return e;
  }
  // Picks the function whose combo text is Text, as the user does.
  void PickClass(TLumFuncEditor* E, const std::string& Text) {
    const int i = E->CBSources->Items()->IndexOf(Text);
    ASSERT_GE(i, 0) << Text;
    PostPickItem(E->CBSources, i);
    Pump();
  }
  // Moves the named series to the chosen list.
  void Choose(TLumFuncEditor* E, std::initializer_list<const char*> Titles) {
    for (const char* t : Titles) {
      const int i = E->SelectForm()->FromList->Items()->IndexOf(t);
      ASSERT_GE(i, 0) << t;
      PostPickItem(E->SelectForm()->FromList, i);
      PostClick(E->SelectForm()->BRightOne);
      Pump();
    }
  }
  std::vector<TComponent*> SourcesOf(TChartSeries* S) {
    std::vector<TComponent*> v;
    if (S->HasDataSources())
      for (TComponent* c : *S->GetDataSources()) v.push_back(c);
    return v;
  }
  TChart* chart = nullptr;
};

TEST_F(FuncEditorTest, OptionsPagesAreFoundByNameAndRegistered) {
  for (const char* name : {"TLumFunctionEditor", "TBaseFunctionEditor", "TCLVFuncEditor"}) {
    TClass c = GetClass(name);
    ASSERT_NE(c, nullptr) << name;
    ASSERT_NE(c->Create, nullptr) << name;
    std::unique_ptr<TObject> made(c->NewInstance(nullptr));
    EXPECT_EQ(made->ClassType(), c);
    EXPECT_NE(dynamic_cast<TBaseFunctionEditor*>(made.get()), nullptr) << name;
  }
  EXPECT_EQ(TCLVFuncEditor::StaticClass(), &CLVFuncEditorClass());
  EXPECT_EQ(TCLVFuncEditor::StaticClass()->Parent, TBaseFunctionEditor::StaticClass());

  TLumFuncEditor* e = Open(target());
  struct TCase {
    const char* Function;
    const char* Class;
    const char* Page;  // nullptr: no Options tab
    bool Single;
  };
  const TCase cases[] = {
      {"High", "THighLumFunction", "TLumFunctionEditor", false},
      {"Close Location Value", "TCLVFunction", "TCLVFuncEditor", false},
      {"Cross Points", "TCrossPointsFunction", nullptr, false},  // the class names no editor
      {"Moving Average", "TMovingAverageFunction", nullptr, false},  // none this program registers
      {"Perimeter", "TPerimeterFunction", "TLumFunctionEditor", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Function);
    PickClass(e, c.Function);
    ASSERT_NE(target()->FunctionType(), nullptr) << "the class applies at once";
    EXPECT_EQ(target()->FunctionType()->ClassName(), c.Class);
    EXPECT_EQ(e->TabOptions->TabVisible(), c.Page != nullptr);
    EXPECT_EQ(e->OptionsForm() ? e->OptionsForm()->ClassName() : std::string(), c.Page ? c.Page : "");
    if (auto* page = dynamic_cast<TBaseFunctionEditor*>(e->OptionsForm())) {
      EXPECT_EQ(page->IFunction(), target()->FunctionType()) << "the page edits the series' function";
    }
    EXPECT_EQ(e->PanSingle->Visible(), c.Single);
    EXPECT_EQ(e->SelectForm()->Visible(), !c.Single);
    EXPECT_TRUE(e->BApply->Enabled());
  }
}

// The moving average the editor sets up equals a plain loop over the source.
TEST_F(FuncEditorTest, MovingAverageSetUpThroughTheEditorEqualsAPlainLoop) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "Moving Average");
  Choose(e, {"Source"});
  PostClick(e->BApply);
  Pump();
  EXPECT_FALSE(e->BApply->Enabled());
  ASSERT_EQ(SourcesOf(target()), std::vector<TComponent*>{source()});
  auto* f = dynamic_cast<TMovingAverageFunction*>(target()->FunctionType());
  ASSERT_NE(f, nullptr);

  // The period through the period page, as a page of its own on that function.
  auto* page = new TLumFunctionEditor(Host.get());
  page->SetParent(Host.get());
  page->SetTag(std::intptr_t(f));
  page->Show();
  EXPECT_EQ(page->IFunction(), f);
  PostPickItem(page->CBStyle, 1);
  Pump();
  EXPECT_TRUE(page->ENum->Enabled());
  PostText(page->ENum, "5");
  PostPickItem(page->CBAlign, 2);
  Pump();
  EXPECT_TRUE(page->CloseQuery());
  EXPECT_EQ(f->Period(), 5);
  EXPECT_EQ(f->PeriodAlign(), paLast);

  const int n = 5;
  ASSERT_EQ(target()->Count(), source()->Count() - n + 1);
  for (int i = n - 1; i < source()->Count(); ++i) {
    double sum = 0;
    for (int k = i - n + 1; k <= i; ++k) sum += source()->YValues()->GetValue(k);
    EXPECT_NEAR(target()->YValues()->GetValue(i - n + 1), sum / n, 1e-12) << i;
    EXPECT_EQ(target()->XValues()->GetValue(i - n + 1), source()->XValues()->GetValue(i)) << "aligned last";
  }
}

TEST_F(FuncEditorTest, ACircularChoiceSaysSoAndLeavesTheSourcesAlone) {
  target()->SetDataSource(source());
  other()->SetDataSource(target());  // Other follows Target
  TLumFuncEditor* e = Open(target());
  EXPECT_EQ(ItemsOf(e->SelectForm()->ToList->Items()), std::vector<std::string>{"Source"});
  PickClass(e, "Add");
  Choose(e, {"Other"});
  ClearRecordedMessages();
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(RecordedMessages(), std::vector<std::string>{"Circular Series dependences are not allowed"});
  EXPECT_EQ(SourcesOf(target()), std::vector<TComponent*>{source()}) << "nothing changed";
  EXPECT_TRUE(e->BApply->Enabled()) << "the choice stays to be corrected";
  // Taken back out, the rest applies.
  const int i = e->SelectForm()->ToList->Items()->IndexOf("Other");
  PostPickItem(e->SelectForm()->ToList, i);
  PostClick(e->SelectForm()->BLeftOne);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(SourcesOf(target()), std::vector<TComponent*>{source()});
  EXPECT_FALSE(e->BApply->Enabled());
}

TEST_F(FuncEditorTest, SingleSourcesValueListsAndEmptyChoices) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "Perimeter");
  ASSERT_TRUE(e->PanSingle->Visible());
  PostPickItem(e->CBSingle, e->CBSingle->Items()->IndexOf("Other"));
  Pump();
  EXPECT_EQ(ItemsOf(e->CBValues->Items()), std::vector<std::string>{"Y"}) << "the lists after X";
  EXPECT_TRUE(e->CBValues->Enabled() && e->BNone->Enabled());
  EXPECT_EQ(e->CBValues->ItemIndex(), 0);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(target()->DataSource(), other());
  EXPECT_EQ(target()->MandatoryValueList()->ValueSource(), "Y");
  // None: no source and no value source.
  PostClick(e->BNone);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(target()->DataSource(), nullptr);
  EXPECT_EQ(target()->MandatoryValueList()->ValueSource(), "");

  // A function of several sources with nothing chosen clears the data source.
  delete e;
  target()->SetDataSource(source());
  TLumFuncEditor* m = Open(target());
  PickClass(m, "Add");
  PostClick(m->SelectForm()->BLeftAll);
  PostClick(m->BApply);
  Pump();
  EXPECT_FALSE(target()->HasDataSources());
}

TEST_F(FuncEditorTest, PeriodPageStylesAndTheIncrementDialog) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "High");
  auto* page = dynamic_cast<TLumFunctionEditor*>(e->OptionsForm());
  ASSERT_NE(page, nullptr);
  TLumFunction* f = target()->FunctionType();
  struct TCase {
    int Style;
    const char* Typed;
    bool NumEnabled, ChangeEnabled;
    TFunctionPeriodStyle PeriodStyle;
    double Period;
  };
  const TCase cases[] = {
      {1, "7", true, false, psNumPoints, 7},
      {0, nullptr, false, false, psNumPoints, 0},  // "All points": empty, period 0
      {2, "2.5", false, true, psRange, 2.5},
      {1, "x", true, false, psNumPoints, 0},  // not a number: 0
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Style);
    e->PageControl1->SetActivePage(e->TabOptions);
    PostPickItem(page->CBStyle, c.Style);
    Pump();
    EXPECT_EQ(page->ENum->Enabled(), c.NumEnabled);
    EXPECT_EQ(page->BChange->Enabled(), c.ChangeEnabled);
    if (c.Style == 0) {
      EXPECT_EQ(page->ENum->Text(), "");
    }
    if (c.Typed) page->ENum->SetText(c.Typed);
    EXPECT_TRUE(e->BApply->Enabled()) << "every change marks the page changed";
    PostClick(e->BApply);
    Pump();
    EXPECT_EQ(f->PeriodStyle(), c.PeriodStyle);
    EXPECT_EQ(f->Period(), c.Period);
  }
  // "Every range" takes its period from the increment dialog.
  PostPickItem(page->CBStyle, 2);
  Pump();
  WhenModal([&] {
    auto* d = editortest::Owned<TAxisIncrement>(page);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->IsDateTime) << "the source's X values are no dates";
    EXPECT_TRUE(d->IsExact);
    PostText(d->ECustom, "4.25");
    PostClick(d->BOk);
  });
  PostClick(page->BChange);
  Pump();
  EXPECT_EQ(page->ENum->Text(), "4.25");
  // Loading follows the function: a moving function never shows "Every range".
  f->SetPeriodStyle(psRange);
  f->SetPeriod(3);
  page->Hide();
  page->Show();
  EXPECT_EQ(page->CBStyle->ItemIndex(), 2);
  EXPECT_EQ(page->ENum->Text(), "3");
  EXPECT_FALSE(e->BApply->Enabled()) << "a page just filled has nothing to apply";
}

TEST_F(FuncEditorTest, CloseLocationValuePageListsTheVolumeAfterAnEmptyEntry) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "Close Location Value");
  auto* page = dynamic_cast<TCLVFuncEditor*>(e->OptionsForm());
  ASSERT_NE(page, nullptr);
  auto* f = dynamic_cast<TCLVFunction*>(target()->FunctionType());
  EXPECT_EQ(ItemsOf(page->CBVolume->Items()), (std::vector<std::string>{"", "Source", "Other", "Target"}));
  EXPECT_EQ(page->CBVolume->ItemIndex(), 0);
  EXPECT_EQ(page->CBAccumulate->Checked(), f->Accumulate());
  e->PageControl1->SetActivePage(e->TabOptions);
  PostPickItem(page->CBVolume, 2);
  PostClick(page->CBAccumulate);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(f->Volume(), other());
  EXPECT_FALSE(f->Accumulate());
  // A volume series freed since the list was filled is not written.
  PostPickItem(page->CBVolume, 1);
  Pump();
  delete source();
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(f->Volume(), nullptr);
  PostPickItem(page->CBVolume, 0);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(f->Volume(), nullptr) << "the empty entry: none";
}

TEST_F(FuncEditorTest, TheCloseQueryMakesTheFunctionWhenThereIsNone) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "High");
  auto* page = dynamic_cast<TBaseFunctionEditor*>(e->OptionsForm());
  ASSERT_NE(page, nullptr);
  target()->SetFunction(nullptr);  // gone behind the page's back
  EXPECT_EQ(page->IFunction(), nullptr);
  EXPECT_TRUE(page->CloseQuery());
  ASSERT_NE(target()->FunctionType(), nullptr);
  EXPECT_EQ(target()->FunctionType()->ClassName(), "THighLumFunction");
  EXPECT_EQ(page->IFunction(), target()->FunctionType());
}

TEST_F(FuncEditorTest, ChartEventsRefillTheListsAndMarkTheSeriesApplied) {
  TLumFuncEditor* e = Open(target());
  PickClass(e, "Add");
  Choose(e, {"Other"});
  EXPECT_TRUE(e->BApply->Enabled());
  auto* added = new TLineSeries(Host.get());
  added->SetName("Added");
  added->SetTitle("Added");
  added->SetParentChart(chart);
  EXPECT_EQ(ItemsOf(e->SelectForm()->FromList->Items()), (std::vector<std::string>{"Source", "Added"}));
  EXPECT_EQ(ItemsOf(e->SelectForm()->ToList->Items()), std::vector<std::string>{"Other"}) << "the pending choice stays";
  delete other();
  EXPECT_EQ(ItemsOf(e->SelectForm()->ToList->Items()), std::vector<std::string>{});
  target()->AddXY(1, 1);  // the edited series' own points changed
  EXPECT_FALSE(e->BApply->Enabled());
}

TEST_F(FuncEditorTest, FreedSeriesChartsAndFunctionsAreForgotten) {
  struct TCase {
    const char* Name;
    std::function<void(FuncEditorTest&, TLumFuncEditor*)> Free;
  };
  const TCase cases[] = {
      {"the edited series", [](FuncEditorTest& t, TLumFuncEditor*) { delete t.target(); }},
      {"a listed source", [](FuncEditorTest& t, TLumFuncEditor*) { delete t.other(); }},
      {"the function", [](FuncEditorTest& t, TLumFuncEditor*) { t.target()->SetFunction(nullptr); }},
      {"the chart", [](FuncEditorTest& t, TLumFuncEditor*) { delete t.chart; t.chart = nullptr; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    TLumFuncEditor* e = Open(target());
    PickClass(e, "High");
    Choose(e, {"Other"});
    auto* page = dynamic_cast<TBaseFunctionEditor*>(e->OptionsForm());
    ASSERT_NE(page, nullptr);
    c.Free(*this, e);
    Pump();
    // Everything the pages offer still runs, on what is left.
    e->PageControl1->SetActivePage(e->TabOptions);
    PostPickItem(dynamic_cast<TLumFunctionEditor*>(page)->CBStyle, 1);
    PostClick(e->BApply);
    Pump();
    e->CloseQuery();
    if (!target()) {
      EXPECT_EQ(e->TheSeries(), nullptr);
    }
    delete e;
  }
}

}  // namespace
