// The series page: each tab's controls writing the property they name with a repaint,
// the tabs a series, its locks and the editor's flags give, sorting, the data
// sources (a registered source class of the test's own), the close queries, the list
// box kept in step, and series, charts and list boxes freed while the page shows them.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/series.h"
#include "chart/stdseries.h"
#include "editor/funceditor.h"
#include "editor/pointereditor.h"
#include "editor/seriespage.h"
#include "editor/sourceeditor.h"
#include "editor_test.h"
#include "engine/function.h"
#include "engine/marks.h"
#include "gallery/chartgrid.h"
#include "gallery/chartlistbox.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "page_test.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostTabClick;
using TestInput::PostText;

// A source class of the test's own: it serves point series only, fills its series
// with three points, and its editor wants the data buttons.
class TTestSource : public TLumSeriesSource {
  DECLARE_CLASS(TTestSource, TLumSeriesSource)
public:
  using TLumSeriesSource::TLumSeriesSource;
  bool Available(TChartSeries* S) const override { return dynamic_cast<TPointSeries*>(S) != nullptr; }
  std::string EditorClass() const override { return "TTestSourceEditor"; }
  bool HasDataButtons() const override { return true; }
};
IMPLEMENT_CLASS(TTestSource, TLumSeriesSource)

class TTestSourceEditor : public TBaseSourceEditor {
  DECLARE_CLASS(TTestSourceEditor, TBaseSourceEditor)
public:
  using TBaseSourceEditor::TBaseSourceEditor;
  void BApplyClick(TObject*) override {
    auto* source = new TTestSource(TheSeries()->Owner());
    source->SetSeries(TheSeries());
    TheSeries()->Clear();
    for (int i = 0; i < 3; ++i) TheSeries()->AddXY(i, i * i);
    BApply->SetEnabled(false);
  }
};
IMPLEMENT_CLASS(TTestSourceEditor, TBaseSourceEditor)

std::vector<std::string> Items(TStrings* S) {
  std::vector<std::string> v;
  for (int i = 0; i < S->Count(); ++i) v.push_back(S->Strings(i));
  return v;
}

class SeriesPageTest : public EditorTest {
public:
  void SetUp() override {
    EditorTest::SetUp();
    chart = BuildSampleChart(Host.get(), Host.get());
    atoms = Find<TPointSeries>("Atoms");
    acoustic = Find<TLineSeries>("Acoustic");
    optic = Find<TLineSeries>("Optic");
    Host->Show();
    page = new TFormLumSeries(Host.get());
    page->SetParent(Host.get());
    page->SetBounds(640, 0, 390, 363);
    page->Show();
  }
  template <class T>
  T* Find(const char* Name) {
    return dynamic_cast<T*>(Host->FindComponent(Name));
  }
  void Edit(TChartSeries* S, TTabSheet* Tab) {
    page->SelectSeries(S);
    page->PageSeries->SetActivePage(Tab);
    page->PageSeriesChange(page->PageSeries);
    Pump();
  }
  void Marks(TTabSheet* Tab) {
    page->PageControlMarks->SetActivePage(Tab);
    page->PageControlMarksChange(page->PageControlMarks);
  }
  void Style(const char* Text) {
    PostPickItem(page->CBDataSourcestyle, page->CBDataSourcestyle->Items()->IndexOf(Text));
    Pump();
  }
  struct TCase {
    const char* Control;
    std::function<void()> Input;
    std::function<bool()> Written;
    bool Repaints = true;
  };
  void Run(const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases) {
      SCOPED_TRACE(c.Control);
      const bool drew = editortest::Repaints(chart, [&] {
        c.Input();
        Pump();
      });
      EXPECT_TRUE(c.Written());
      if (c.Repaints) {
        EXPECT_TRUE(drew);
      }
    }
  }
  TChart* chart = nullptr;
  TPointSeries* atoms = nullptr;
  TLineSeries *acoustic = nullptr, *optic = nullptr;
  TFormLumSeries* page = nullptr;
};

TEST_F(SeriesPageTest, GeneralControlsWriteTheirProperties) {
  TChartAxis* custom = chart->CustomAxes()->Add();  // a vertical custom axis after the area's
  const std::string customName = "Custom " + std::to_string(chart->CustomAxes()->Count() - 1);
  Edit(atoms, page->TabGeneral);
  TFormLumSeries* p = page;
  auto pick = [](TComboFlat* C, const char* Text) { PostPickItem(C, C->Items()->IndexOf(Text)); };
  Run({{"CBCursor", [&] { pick(p->CBCursor, "HandPoint"); }, [&] { return atoms->Cursor() == crHandPoint; }, false},
       {"EDepth", [&] { PostText(p->EDepth, "20"); }, [&] { return atoms->Depth() == 20 && !p->CBDepth->Checked(); }},
       {"CBDepth", [&] { PostClick(p->CBDepth); }, [&] { return atoms->Depth() == -1; }},
       {"CBFormat", [&] { PostText(p->CBFormat, "0.00"); }, [&] { return atoms->ValueFormat() == "0.00"; }},
       {"EPercentFormat", [&] { PostText(p->EPercentFormat, "0 %"); }, [&] { return atoms->PercentFormat() == "0 %"; }},
       {"CBHorizAxis", [&] { pick(p->CBHorizAxis, "Top"); }, [&] { return atoms->HorizAxis() == aTopAxis; }},
       {"CBVertAxis", [&] { pick(p->CBVertAxis, customName.c_str()); }, [&] { return atoms->CustomVertAxis() == custom; }},
       {"CBXDateTime", [&] { PostClick(p->CBXDateTime); }, [&] { return atoms->XValues()->DateTime(); }},
       {"CBYDateTime", [&] { PostClick(p->CBYDateTime); }, [&] { return atoms->YValues()->DateTime(); }},
       {"CBShowInLegend", [&] { PostClick(p->CBShowInLegend); }, [&] { return !atoms->ShowInLegend(); }},
       {"ELegendTitle", [&] { PostText(p->ELegendTitle, "Sites"); }, [&] { return atoms->LegendTitle() == "Sites"; }},
       {"PaintBox1", [&] {
          TestDialogs::AnswerColor(clFuchsia);
          PostClick(p->PaintBox1);
        }, [&] { return atoms->SeriesColor() == clFuchsia; }}});
  EXPECT_FALSE(p->CBZDateTime->Visible()) << "no Z values";
  EXPECT_FALSE(p->CBShowInEditor->Visible() || p->BVisual->Visible()) << "not designing, no chooser hook";
  VisualChooserHook = [](TVisualsEditor*, TComponent*, TPersistent*) -> TPersistent* { return nullptr; };
  p->PageSeriesChange(p->PageSeries);
  EXPECT_TRUE(p->BVisual->Visible()) << "with a chooser hook";
  VisualChooserHook = nullptr;
  // The "..." of the values opens the format chooser on the series' format.
  TestInput::WhenModal([] { TestInput::PostKey(VK_ESCAPE); });
  PostClick(p->Button1);
  Pump();
  EXPECT_EQ(atoms->ValueFormat(), "0.00") << "cancelled: unchanged";
}

TEST_F(SeriesPageTest, FormatsShowADotAndWriteTheLocaleSeparator) {
  const char saved = DecimalSeparator;
  DecimalSeparator = ',';
  atoms->SetValueFormat("0,00");
  Edit(atoms, page->TabGeneral);
  EXPECT_EQ(page->CBFormat->Text(), "0.00");
  PostText(page->EPercentFormat, "0.0 %");
  Pump();
  EXPECT_EQ(atoms->PercentFormat(), "0,0 %");
  DecimalSeparator = saved;
}

TEST_F(SeriesPageTest, AxisCombosNumberCustomAxesAmongAllOfThem) {
  ASSERT_EQ(chart->CustomAxes()->Count(), 1) << "the area's, on the right";
  TChartAxis* vertical = chart->CustomAxes()->Add();
  TChartAxis* horizontal = chart->CustomAxes()->Add();
  horizontal->SetHorizontal(true);
  acoustic->SetCustomHorizAxis(horizontal);
  Edit(acoustic, page->TabGeneral);
  EXPECT_EQ(Items(page->CBHorizAxis->Items()), (std::vector<std::string>{"Top", "Bottom", "Top and Bottom", "Custom 2"}));
  EXPECT_EQ(Items(page->CBVertAxis->Items()),
            (std::vector<std::string>{"Left", "Right", "Left and Right", "Custom 0", "Custom 1"}));
  EXPECT_EQ(page->CBHorizAxis->SelectedText(), "Custom 2");
  PostPickItem(page->CBVertAxis, 4);
  Pump();
  EXPECT_EQ(acoustic->CustomVertAxis(), vertical);
  delete vertical;  // freed meanwhile: the stale item writes nothing
  PostPickItem(page->CBHorizAxis, 1);
  Pump();
  EXPECT_EQ(acoustic->HorizAxis(), aBottomAxis);
}

TEST_F(SeriesPageTest, SortingByTextAListOrNone) {
  Edit(atoms, page->TabGeneral);
  EXPECT_EQ(Items(page->CBSortBy->Items()), (std::vector<std::string>{"None", "Text", "X", "Y"}));
  EXPECT_EQ(page->CBSortBy->SelectedText(), "X") << "the ordered list shows";
  PostPickItem(page->CBSortOrder, 1);  // X descending
  Pump();
  EXPECT_EQ(atoms->XValues()->Order(), loDescending);
  EXPECT_EQ(atoms->XValues()->GetValue(0), 0.875);
  EXPECT_EQ(atoms->Labels().GetLabel(0), "a8");
  PostPickItem(page->CBSortBy, 3);  // Y, still descending
  Pump();
  EXPECT_EQ(atoms->YValues()->Order(), loDescending);
  EXPECT_EQ(atoms->XValues()->Order(), loNone) << "one list orders the points";
  EXPECT_EQ(atoms->YValues()->GetValue(0), 1.0);
  PostPickItem(page->CBSortBy, 1);  // Text
  PostPickItem(page->CBSortOrder, 0);
  Pump();
  EXPECT_EQ(atoms->Labels().GetLabel(0), "a1");
  EXPECT_EQ(atoms->Labels().GetLabel(7), "a8");
  PostPickItem(page->CBSortBy, 0);  // None
  Pump();
  EXPECT_FALSE(page->CBSortOrder->Enabled());
  for (TChartValueList* l : atoms->ValuesList()) EXPECT_EQ(l->Order(), loNone) << l->Name();
}

TEST_F(SeriesPageTest, TabsFollowTheTypeTheLocksAndTheEditorsFlags) {
  struct TCase {
    const char* Name;
    TChartSeries* Series;
    unsigned char Locked;
    bool ShowPersistent, AllowDataSource;
    bool Format, DataSource, Persistent;
  };
  auto* bar = new TBarSeries(Host.get());
  bar->SetParentChart(chart);
  const TCase cases[] = {
      {"point series", atoms, 0, true, true, true, true, true},
      {"line series: no form of its name", acoustic, 0, true, true, false, true, true},
      {"bar series", bar, 0, true, true, false, true, true},
      {"lock bit 1", atoms, 1, true, true, true, false, false},
      {"lock bit 32", atoms, 32, true, true, true, false, true},
      {"no data-source permission", atoms, 0, false, false, true, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Series->SetLocked(c.Locked);
    page->ShowPersistent = c.ShowPersistent;
    page->AllowDataSource = c.AllowDataSource;
    page->SelectSeries(nullptr);
    page->SelectSeries(c.Series);
    EXPECT_EQ(page->TheTabSheet->TabVisible(), c.Format);
    EXPECT_EQ(page->TypeEditor() != nullptr, c.Format);
    EXPECT_TRUE(page->PageSeries->ActivePage()->TabVisible());
    EXPECT_EQ(page->TabDataSource->TabVisible(), c.DataSource);
    EXPECT_EQ(page->CBPersistent->Visible(), c.Persistent);
    EXPECT_EQ(page->GBHorizAxis->Visible(), true);
    c.Series->SetLocked(0);
  }
  // The pointer page edits the series; "Persistent" sets and clears lock bit 16.
  page->ShowPersistent = page->AllowDataSource = true;
  page->SelectSeries(atoms);
  EXPECT_EQ(page->PageSeries->ActivePage(), page->TabGeneral) << "the tab shown before";
  page->PageSeries->SetActivePage(page->TheTabSheet);
  page->SelectSeries(acoustic);
  EXPECT_EQ(page->PageSeries->ActivePage(), page->TabGeneral) << "no Format tab: General";
  page->SelectSeries(atoms);
  auto* pointer = dynamic_cast<TSeriesPointerEditor*>(page->TypeEditor());
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(pointer->Pointer(), atoms->Pointer());
  PostClick(page->CBPersistent);
  Pump();
  EXPECT_EQ(atoms->Locked(), 16);
  PostClick(page->CBPersistent);
  Pump();
  EXPECT_EQ(atoms->Locked(), 0);
  // A pie uses no axes; the label shows the gallery name with the title.
  auto* pie = new TPieSeries(Host.get());
  pie->SetTitle("Slices & more");
  pie->SetParentChart(chart);
  page->SelectSeries(pie);
  EXPECT_FALSE(page->GBHorizAxis->Visible() || page->GBVertAxis->Visible());
  EXPECT_EQ(page->LabelSeriesClass->Caption(), "Pie: Slices & more");
  // The General and Marks flags hide their tabs.
  page->ShowGeneralTab = page->ShowMarksTab = false;
  page->SelectSeries(acoustic);
  EXPECT_FALSE(page->TabGeneral->TabVisible() || page->TabMarks->TabVisible());
  EXPECT_EQ(page->PageSeries->ActivePage(), page->TabDataSource);
}

TEST_F(SeriesPageTest, MarksControlsWriteTheirProperties) {
  Edit(atoms, page->TabMarks);
  TSeriesMarks* m = atoms->Marks();
  TMarksCallout* c = m->Callout();
  TFormLumSeries* p = page;
  Run({{"CBMarksVisible", [&] { PostClick(p->CBMarksVisible); }, [&] { return m->Visible(); }},
       {"CBMarkClip", [&] { PostClick(p->CBMarkClip); }, [&] { return m->Clip(); }},
       {"SEMarksAngle", [&] { PostText(p->SEMarksAngle, "45"); }, [&] { return m->Angle() == 45; }},
       {"EMarksEvery", [&] { PostText(p->EMarksEvery, "2"); }, [&] { return m->DrawEvery() == 2; }},
       {"RGMarkStyle", [&] { PostClick(p->RGMarkStyle->Buttons(4)); }, [&] { return m->Style() == smsLabelValue; }},
       {"CBMultiLine", [&] { PostClick(p->CBMultiLine); }, [&] { return m->MultiLine(); }},
       {"CBTextAlign", [&] { PostPickItem(p->CBTextAlign, 0); }, [&] { return m->TextAlign() == taLeftJustify; }},
       {"CBFontSeriesColor", [&] { PostClick(p->CBFontSeriesColor); }, [&] { return m->FontSeriesColor(); }},
       {"CBAllVisible",
        [&] {
          PostClick(p->CBAllVisible);
        },
        [&] { return acoustic->Marks()->Visible() && optic->Marks()->Visible() && p->CBMarksVisible->Checked(); }}});
  Marks(p->TabArrows);
  Run({{"SEArrowLength", [&] { PostText(p->SEArrowLength, "-12"); }, [&] { return c->Length() == -12; }},
       {"EArrowDist", [&] { PostText(p->EArrowDist, "5"); }, [&] { return c->Distance() == 5; }},
       {"CBHead", [&] { PostPickItem(p->CBHead, 2); }, [&] { return c->ArrowHead() == ahSolid; }},
       {"Edit1", [&] { PostText(p->Edit1, "11"); }, [&] { return c->ArrowHeadSize() == 11; }}});
  EXPECT_EQ(p->BMarkLinCol->Instance(), c->Arrow());
  // "Visible" unchecked by hand: "All Series Visible" follows without writing.
  Marks(p->TabMarkStyle);
  PostClick(p->CBMarksVisible);
  Pump();
  EXPECT_FALSE(p->CBAllVisible->Checked());
  EXPECT_TRUE(acoustic->Marks()->Visible());
}

TEST_F(SeriesPageTest, MarksAngleWrapsAndMultiLineFollowsTheStyle) {
  Edit(atoms, page->TabMarks);
  atoms->Marks()->SetAngle(360);
  Marks(page->TabMarkStyle);
  page->UDMarksAngle->ButtonClick(btNext);
  EXPECT_EQ(atoms->Marks()->Angle(), 0);
  page->UDMarksAngle->ButtonClick(btPrev);
  EXPECT_EQ(atoms->Marks()->Angle(), 360);
  page->UDMarksAngle->ButtonClick(btPrev);
  EXPECT_EQ(atoms->Marks()->Angle(), 355);
  const bool enabled[13] = {false, false, false, true, true, false, true, true, false, true, false, false, false};
  for (int s = 0; s < 13; ++s) {
    page->RGMarkStyle->SetItemIndex(s);
    EXPECT_EQ(page->CBMultiLine->Enabled(), enabled[s]) << page->RGMarkStyle->Items()->Strings(s);
  }
}

TEST_F(SeriesPageTest, SymbolAndMarginsEmbedTheirEditors) {
  Edit(atoms, page->TabMarks);
  Marks(page->TabSymbol);
  TFormLumShape* shape = page->SymbolEditor();
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->Shape(), atoms->Marks()->Symbol());
  EXPECT_FALSE(shape->TabText->TabVisible() || shape->CBTransparent->Visible());
  ASSERT_NE(page->CBSymbolVisible(), nullptr);
  EXPECT_EQ(page->CBSymbolVisible()->Caption(), "&Visible");
  EXPECT_EQ(page->CBSymbolVisible()->BoundsRect(), shape->CBTransparent->BoundsRect());
  EXPECT_TRUE(editortest::Repaints(chart, [&] {
    PostClick(page->CBSymbolVisible());
    Pump();
  }));
  EXPECT_TRUE(atoms->Marks()->Symbol()->Visible());
  Marks(page->TabMargins);
  ASSERT_NE(page->MarginsEditor(), nullptr);
  PostText(page->MarginsEditor()->ELeft, "7");
  Pump();
  EXPECT_EQ(atoms->Marks()->Margins()->Left(), 7);
  // Another series: both editors edit its parts, the symbol editor once made.
  Edit(optic, page->TabMarks);
  EXPECT_EQ(page->SymbolEditor(), shape);
  EXPECT_EQ(shape->Shape(), optic->Marks()->Symbol());
  EXPECT_EQ(page->MarginsEditor()->Margins(), optic->Marks()->Margins());
}

TEST_F(SeriesPageTest, RandomSamplesCountsAndTheirLimits) {
  Edit(atoms, page->TabDataSource);
  EXPECT_EQ(page->CBDataSourcestyle->SelectedText(), "Manual");
  EXPECT_TRUE(page->ChartGrid1->Visible());
  EXPECT_EQ(page->ChartGrid1->Series(), atoms);
  Style("Random");
  ASSERT_TRUE(page->PanelRandomSource->Visible());
  EXPECT_TRUE(page->CBSamplesDefault->Checked());
  EXPECT_FALSE(page->CBSamplesDefault->Enabled());
  struct TCase {
    const char* Typed;
    int Count;
    bool Default;
    const char* Message;
  };
  const TCase cases[] = {{"40", 40, false, nullptr},
                         {"-5", 0, true, nullptr},
                         {"x", 0, true, nullptr},
                         {"10000000", 10000000, false, nullptr},
                         {"10000001", 10000000, false, "The number of sample values must be between 0 and 10000000"},
                         {"99999999999999999999", 10000000, false,
                          "The number of sample values must be between 0 and 10000000"},
                         {"25", 25, true, nullptr}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Typed);
    ClearRecordedMessages();
    page->ESamples->SetText(c.Typed);  // pasted: one change
    EXPECT_EQ(atoms->RandomSampleCount(), c.Count);
    EXPECT_EQ(page->CBSamplesDefault->Checked(), c.Default);
    EXPECT_EQ(RecordedMessages(), c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{});
  }
  EXPECT_EQ(page->ESamples->Text(), "25");
  PostText(page->ESamples, "12");
  PostClick(page->CBSamplesDefault);
  Pump();
  EXPECT_EQ(page->ESamples->Text(), "25");
  PostText(page->ESamples, "9");
  PostClick(page->BApplyRandom);
  Pump();
  EXPECT_EQ(atoms->Count(), 9);
  PostClick(page->Button3);
  Pump();
  EXPECT_EQ(atoms->Count(), 0);
  EXPECT_EQ(page->CBDataSourcestyle->SelectedText(), "Manual");
  EXPECT_TRUE(atoms->ManualData());
}

TEST_F(SeriesPageTest, AnotherSeriesAsSourceAppliedAndCleared) {
  optic->SetDataSource(atoms);  // Optic (and Average over it) follow Atoms: circles if Atoms took them
  Edit(atoms, page->TabDataSource);
  Style("Series");
  ASSERT_TRUE(page->PanelSeriesSource->Visible());
  EXPECT_EQ(Items(page->CBSeriesSource->Items()), (std::vector<std::string>{"Acoustic", "Bars", "Area"}));
  EXPECT_FALSE(page->BApplySource->Enabled() || page->BClearSource->Enabled());
  PostPickItem(page->CBSeriesSource, 0);
  Pump();
  EXPECT_TRUE(page->BApplySource->Enabled());
  EXPECT_TRUE(editortest::Repaints(chart, [&] {
    PostClick(page->BApplySource);
    Pump();
  }));
  EXPECT_EQ(atoms->DataSource(), acoustic);
  EXPECT_EQ(atoms->Count(), acoustic->Count());
  EXPECT_FALSE(page->BApplySource->Enabled());
  EXPECT_TRUE(page->BClearSource->Enabled());
  PostClick(page->BClearSource);
  Pump();
  EXPECT_EQ(atoms->DataSource(), nullptr);
  // Back to "Manual": the copied points go and the series is typed in.
  atoms->SetDataSource(acoustic);
  Style("Manual");
  EXPECT_EQ(atoms->DataSource(), nullptr);
  EXPECT_EQ(atoms->Count(), 0);
  // Alone in its chart, a series has nothing to choose from.
  while (chart->SeriesCount() > 1) delete chart->Series(chart->Series(0) == atoms ? 1 : 0);
  Style("Series");
  EXPECT_TRUE(page->CBSeriesSource->Items()->Count() == 0);
  EXPECT_FALSE(page->BApplySource->Enabled() || page->BClearSource->Enabled());
}

class SourceClassTest : public SeriesPageTest {
public:
  void SetUp() override {
    LumSeriesSources().push_back(TTestSource::StaticClass());
    RegisterClass(TTestSourceEditor::StaticClass());
    SeriesPageTest::SetUp();
  }
  void TearDown() override {
    SeriesPageTest::TearDown();
    UnRegisterClass(TTestSourceEditor::StaticClass());
    std::erase(LumSeriesSources(), TTestSource::StaticClass());
  }
  TTestSourceEditor* OpenSourceEditor() {
    Edit(atoms, page->TabDataSource);
    Style("TTestSource");
    return dynamic_cast<TTestSourceEditor*>(page->SourceEditor());
  }
};

TEST_F(SourceClassTest, ARegisteredClassShowsItsEditorWhereAvailable) {
  Edit(acoustic, page->TabDataSource);
  EXPECT_EQ(Items(page->CBDataSourcestyle->Items()), (std::vector<std::string>{"Manual", "Random", "Series", "Function"}));
  TTestSourceEditor* e = OpenSourceEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->TheSeries(), atoms);
  EXPECT_TRUE(page->ChartGrid1->Visible()) << "the data buttons";
  e->BApply->SetEnabled(true);
  PostClick(e->BApply);
  Pump();
  EXPECT_EQ(atoms->Count(), 3);
  auto* source = dynamic_cast<TTestSource*>(atoms->DataSource());
  ASSERT_NE(source, nullptr);
  // Shown again, the page finds the class of the series' source.
  page->SelectSeries(acoustic);
  page->SelectSeries(atoms);
  page->PageSeries->SetActivePage(page->TabDataSource);
  page->PageSeriesChange(page->PageSeries);
  EXPECT_EQ(page->CBDataSourcestyle->SelectedText(), "TTestSource");
  // "Manual" frees a source that served this series only.
  TComponentWatch watch(source);
  Style("Manual");
  EXPECT_FALSE(watch);
  EXPECT_EQ(atoms->Count(), 0);
}

TEST_F(SourceClassTest, PendingChangesAskBeforeTheTabChanges) {
  struct TCase {
    int Answer;
    bool Changed, Applied;
  };
  const TCase cases[] = {{mrCancel, false, false}, {mrYes, true, true}, {mrNo, true, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Answer);
    TTestSourceEditor* e = OpenSourceEditor();
    ASSERT_NE(e, nullptr);
    e->BApply->SetEnabled(true);  // a change not applied
    TestDialogs::Clear();
    TestDialogs::AnswerButton(c.Answer);
    PostTabClick(page->PageSeries, page->TabGeneral->TabIndex());
    Pump();
    ASSERT_EQ(TestDialogs::Asked().size(), 1u);
    EXPECT_EQ(TestDialogs::Asked()[0].Text, "Apply Changes ?");
    EXPECT_EQ(page->PageSeries->ActivePage(), c.Changed ? page->TabGeneral : page->TabDataSource);
    EXPECT_EQ(dynamic_cast<TTestSource*>(atoms->DataSource()) != nullptr, c.Applied);
    EXPECT_FALSE(page->ChangingPage());
    if (!c.Changed) {
      EXPECT_EQ(page->SourceEditor(), e);
      EXPECT_TRUE(e->BApply->Enabled());
      // The form's own close query asks the same.
      TestDialogs::AnswerButton(mrNo);
      EXPECT_TRUE(page->CloseQuery());
    }
    delete atoms->DataSource();
    page->CBDataSourcestyle->SetItemIndex(-1);
  }
}

TEST_F(SeriesPageTest, TheListBoxAndTheComboStayInStep) {
  auto* list = new TChartListBox(Host.get());
  list->SetParent(Host.get());
  list->SetBounds(0, 420, 300, 120);
  list->SetChart(chart);
  page->SetSeriesListBox(list);
  page->FillSeriesCombo();
  EXPECT_EQ(Items(page->CBSeries->Items()),
            (std::vector<std::string>{"Acoustic", "Optic", "Atoms", "Bars", "Area", "Average"}));
  std::vector<TLumSeriesEventStyle> heard;
  page->OnSeriesEvent = [&](TObject*, TLumSeriesEventStyle E, TChartSeries*) { heard.push_back(E); };
  PostPickItem(page->CBSeries, 1);
  Pump();
  EXPECT_EQ(page->Series(), optic);
  EXPECT_EQ(list->SelectedSeries(), optic);
  optic->SetTitle("Upper");
  EXPECT_EQ(page->LabelSeriesClass->Caption(), "Line: Upper");
  list->SetAskDelete(false);
  list->DeleteSeries();
  EXPECT_EQ(page->Series(), nullptr) << "forgotten when the list deleted it";
  EXPECT_EQ(Items(page->CBSeries->Items()), (std::vector<std::string>{"Acoustic", "Atoms", "Bars", "Area", "Average"}));
  EXPECT_FALSE(heard.empty());
  delete list;
  EXPECT_EQ(page->SeriesListBox(), nullptr);
  page->SelectSeries(atoms);
  EXPECT_EQ(page->Series(), atoms);
}

// Whatever the tab and sub-editor, freeing what the page shows leaves nothing that
// reaches it (AddressSanitizer watches the input that follows).
TEST_F(SeriesPageTest, FreedSeriesAndChartsAreForgotten) {
  struct TCase {
    const char* Name;
    std::function<void(SeriesPageTest&)> Open, Free;
  };
  const auto freeSeries = [](SeriesPageTest& t) { delete t.atoms; };
  const auto freeChart = [](SeriesPageTest& t) { delete t.chart; };
  const auto onTab = [](int Tab, int MarksTab) {
    return [=](SeriesPageTest& t) {
      TTabSheet* tabs[] = {t.page->TheTabSheet, t.page->TabGeneral, t.page->TabMarks, t.page->TabDataSource};
      t.Edit(t.atoms, tabs[Tab]);
      if (MarksTab >= 0) t.Marks(t.page->PageControlMarks->Pages(MarksTab));
    };
  };
  const auto function = [](SeriesPageTest& t) {
    t.Edit(t.atoms, t.page->TabDataSource);
    t.Style("Function");
    auto* e = dynamic_cast<TLumFuncEditor*>(t.page->SourceEditor());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->TheSeries(), t.atoms);
    EXPECT_FALSE(t.page->PanelGrid->Visible() || t.page->PanelRandomSource->Visible());
  };
  const TCase cases[] = {
      {"series on Format", onTab(0, -1), freeSeries},  {"series on General", onTab(1, -1), freeSeries},
      {"series on Arrows", onTab(2, 1), freeSeries},   {"series on Symbol", onTab(2, 2), freeSeries},
      {"series on Margins", onTab(2, 3), freeSeries},  {"series on the grid", onTab(3, -1), freeSeries},
      {"series in the function editor", function, freeSeries},
      {"chart on Symbol", onTab(2, 2), freeChart},     {"chart on the grid", onTab(3, -1), freeChart},
      {"chart in the function editor", function, freeChart},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    c.Open(*this);
    c.Free(*this);
    Pump();
    EXPECT_EQ(page->Series(), nullptr);
    EXPECT_EQ(page->TypeEditor(), nullptr);
    EXPECT_EQ(page->SourceEditor(), nullptr);
    EXPECT_EQ(page->BMarkLinCol->Instance(), nullptr);
    // Input afterwards touches nothing freed.
    page->Repaint();
    page->PaintBox1->Repaint();
    PostClick(page->CBMarksVisible);
    PostText(page->SEMarksAngle, "10");
    Pump();
    EXPECT_TRUE(page->CloseQuery());
  }
}

}  // namespace
