// The data-source editor base (what its Tag names, the close query, an owned
// source), the two-list chooser and the axis increment dialog with its texts.
#include <memory>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "chart/series.h"
#include "editor/sourceeditor.h"
#include "editor_test.h"
#include "engine/axis.h"
#include "engine/datetimesteps.h"
#include "engine/function.h"
#include "form_inventory.h"
#include "platform/compwatch.h"
#include "platform/dateutils.h"

namespace {

using editortest::EditorTest;
using TestInput::PostClick;
using TestInput::PostText;
using TestInput::WhenModal;

// A source editor whose Apply writes nothing but can be told to fail.
class TProbeSourceEditor : public TBaseSourceEditor {
public:
  using TBaseSourceEditor::TBaseSourceEditor;
  bool Refuse = false;
  int Applied = 0;
  void BApplyClick(TObject*) override {
    ++Applied;
    if (Refuse) throw ChartException("No valid DataSource: Probe");
    BApply->SetEnabled(false);
  }
};

class TProbeSource : public TLumSeriesSource {
public:
  using TLumSeriesSource::TLumSeriesSource;
};

class SourceEditorTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    chart = new TChart(Host.get());
    chart->SetParent(Host.get());
    series = new TLineSeries(Host.get());
    series->SetName("Series1");
    series->SetParentChart(chart);
  }
  TProbeSourceEditor* Open(std::intptr_t Tag) {
    // An owner of its own each: form names are unique among an owner's components.
    auto* e = new TProbeSourceEditor(new TComponent(Host.get()));
    e->SetTag(Tag);
    e->Show();
    return e;
  }
  TChart* chart = nullptr;
  TLineSeries* series = nullptr;
};

TEST_F(SourceEditorTest, TagNamesASeriesAChartOrASourceAndNothingElse) {
  auto* onSeries = Open(std::intptr_t(series));
  EXPECT_EQ(onSeries->TheSeries(), series);
  auto* onChart = Open(std::intptr_t(chart));
  EXPECT_EQ(onChart->TheChart(), chart);
  EXPECT_EQ(onChart->TheSeries(), nullptr);
  auto* source = new TProbeSource(Host.get());
  source->SetSeries(series);
  auto* onSource = Open(std::intptr_t(source));
  EXPECT_EQ(onSource->TheSource(), source);
  EXPECT_EQ(onSource->TheSeries(), series) << "the source's series";
  // A stray number (or an object nobody owns) is never followed.
  TLineSeries loose(nullptr);
  for (std::intptr_t stray : {std::intptr_t(1), std::intptr_t(&loose)}) {
    auto* e = Open(stray);
    EXPECT_EQ(e->TheSeries(), nullptr);
    EXPECT_EQ(e->TheChart(), nullptr);
  }
  EXPECT_FALSE(onSeries->IsValid(series)) << "the base accepts no source";
  // Freed while shown: forgotten.
  delete source;
  delete series;
  delete chart;
  EXPECT_EQ(onSeries->TheSeries(), nullptr);
  EXPECT_EQ(onChart->TheChart(), nullptr);
  EXPECT_EQ(onSource->TheSource(), nullptr);
  EXPECT_EQ(onSource->TheSeries(), nullptr);
}

TEST_F(SourceEditorTest, CloseQueryAsksOnlyWithPendingChanges) {
  struct TCase {
    const char* Name;
    bool Pending;
    int Answer;  // mrNone: nothing asked
    bool Refuse;
    bool CanClose, ApplyEnabledAfter;
    int Applied;
  };
  const TCase cases[] = {
      {"nothing pending", false, mrNone, false, true, false, 0},
      {"Cancel keeps the page", true, mrCancel, false, false, true, 0},
      {"Yes applies and closes", true, mrYes, false, true, false, 1},
      {"Yes with a refused apply stays", true, mrYes, true, false, true, 1},
      {"No discards and closes", true, mrNo, false, true, false, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TestDialogs::Clear();
    ClearRecordedMessages();
    auto* e = Open(std::intptr_t(series));
    e->Refuse = c.Refuse;
    if (c.Pending) {
      e->CBSources->Items()->Add("Probe");
      TestInput::PostPickItem(e->CBSources, 0);
      Pump();
    }
    EXPECT_EQ(e->BApply->Enabled(), c.Pending) << "a change of the combo enables Apply";
    if (c.Answer != mrNone) TestDialogs::AnswerButton(c.Answer);
    EXPECT_EQ(e->CloseQuery(), c.CanClose);
    const auto asked = TestDialogs::Asked();
    ASSERT_EQ(asked.size(), c.Answer == mrNone ? 0u : 1u);
    if (!asked.empty()) {
      EXPECT_EQ(asked[0].Text, "Apply Changes ?");
      EXPECT_EQ(asked[0].Buttons, "Yes,No,Cancel");
    }
    EXPECT_EQ(e->BApply->Enabled(), c.ApplyEnabledAfter);
    EXPECT_EQ(e->Applied, c.Applied);
    if (c.Refuse) {
      EXPECT_EQ(RecordedMessages(), std::vector<std::string>{"No valid DataSource: Probe"});
    }
    delete e;
  }
}

TEST_F(SourceEditorTest, AnOwnedSourceIsFreedUnlessASeriesTookIt) {
  TComponentRef<TLumSeriesSource> unused, taken;
  {
    auto* e = Open(std::intptr_t(series));
    auto* s = new TProbeSource(e);
    unused.Set(s);
    e->SetTag(std::intptr_t(s));
    e->Show();
    delete e;
  }
  EXPECT_FALSE(unused) << "a source without series goes with its editor";
  {
    auto* e = Open(std::intptr_t(series));
    auto* s = new TProbeSource(e);
    s->SetName("Series1");  // a name the series' owner has already: it goes without it
    taken.Set(s);
    s->SetSeries(series);
    e->Hide();
    e->SetTag(std::intptr_t(s));
    e->Show();
    delete e;
  }
  ASSERT_TRUE(taken) << "the series keeps its source";
  EXPECT_EQ(taken->Owner(), Host.get());
  EXPECT_EQ(taken->Name(), "");
  EXPECT_EQ(series->DataSource(), taken.Get());
}

// ---------------------------------------------------------------------------
class SelectListTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    form = new TSelectListForm(Host.get());
    form->SetParent(Host.get());
    form->SetBounds(0, 0, 400, 160);
    for (int i = 0; i < 4; ++i) form->FromList->Items()->AddObject(std::string(1, char('a' + i)), Tags[i]);
    form->OnChange = [this](TObject*) { changes.push_back(Texts(form->ToList)); };
    Host->Show();
    form->Show();
  }
  static std::string Texts(TListBox* L) {
    std::string s;
    for (int i = 0; i < L->Count(); ++i) s += L->Items()->Strings(i);
    return s;
  }
  TSelectListForm* form = nullptr;
  std::vector<std::string> changes;
  TComponent a{nullptr}, b{nullptr}, c{nullptr}, d{nullptr};
  TObject* Tags[4] = {&a, &b, &c, &d};
};

TEST_F(SelectListTest, MovesOrdersAndTellsEveryChange) {
  EXPECT_FALSE(form->BLeftOne->Enabled());
  EXPECT_FALSE(form->BMoveUP->Enabled() || form->BMoveDown->Enabled());
  TestInput::PostPickItem(form->FromList, 1);
  TestInput::PostPickItem(form->FromList, 3, ssCtrl);
  PostClick(form->BRightOne);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "bd");
  EXPECT_EQ(Texts(form->FromList), "ac");
  EXPECT_EQ(form->ToList->Items()->Objects(0), &b) << "items move with their objects";
  // Double-click on the left list moves its selection and selects the last chosen one.
  TestInput::PostPickItem(form->FromList, 1);
  Pump();
  const TRect r = form->FromList->ItemRect(1);
  TestInput::PostDblClick(form->FromList, r.Left + 5, r.Top + 3);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "bdc");
  EXPECT_EQ(form->ToList->ItemIndex(), 2);
  EXPECT_TRUE(form->BMoveUP->Enabled());
  EXPECT_FALSE(form->BMoveDown->Enabled()) << "the last item cannot go down";
  PostClick(form->BMoveUP);
  PostClick(form->BMoveUP);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "cbd");
  EXPECT_EQ(form->ToList->ItemIndex(), 0) << "the moved item stays selected";
  EXPECT_FALSE(form->BMoveUP->Enabled());
  PostClick(form->BMoveDown);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "bcd");
  // Double-click on the right list sends the selection back.
  const TRect q = form->ToList->ItemRect(1);
  TestInput::PostPickItem(form->ToList, 1);
  TestInput::PostDblClick(form->ToList, q.Left + 5, q.Top + 3);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "bd");
  // ">" that empties the left list hands the focus to the right one.
  TestInput::PostPickItem(form->FromList, 0);
  TestInput::PostPickItem(form->FromList, 1, ssCtrl);
  PostClick(form->BRightOne);
  Pump();
  EXPECT_EQ(Texts(form->FromList), "");
  EXPECT_FALSE(form->BRightOne->Enabled() || form->BRightAll->Enabled());
  EXPECT_TRUE(form->ToList->Focused());
  PostClick(form->BLeftAll);
  Pump();
  EXPECT_EQ(Texts(form->ToList), "");
  EXPECT_EQ(changes, (std::vector<std::string>{"bd", "bdc", "bcd", "cbd", "bcd", "bd", "bdac", ""}));
}

// ---------------------------------------------------------------------------
class IncrementTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    chart = new TChart(Host.get());
    chart->SetParent(Host.get());
    series = new TLineSeries(Host.get());
    series->SetParentChart(chart);
    series->AddXY(40000, 1);
    series->AddXY(40010, 2);
  }
  void DateTime(bool On) { series->XValues()->SetDateTime(On); }
  TChart* chart = nullptr;
  TLineSeries* series = nullptr;
};

TEST_F(IncrementTest, CustomTextsAndStepLookups) {
  const double second = 1.0 / SecsPerDay;
  const std::pair<double, const char*> texts[] = {
      {1, "1"}, {1.5, "1 12:00:00"}, {0.25, "06:00:00"}, {0, "00:00:01"}, {-3, "00:00:01"}, {2 + 90 * second, "2 00:01:30"}};
  for (const auto& [value, text] : texts) EXPECT_EQ(TAxisIncrement::CustomText(value), text) << value;

  TChartAxis* axis = chart->BottomAxis();
  axis->SetIncrement(2.5);
  EXPECT_EQ(IncrementText(axis), "2.5") << "a number axis";
  DateTime(true);
  const double micro = DateTimeStep[0];
  struct TCase {
    double Increment;
    bool Exact;
    const char* Text;
  };
  const TCase cases[] = {
      {1.0 / 24 + 0.9 * micro, true, "One Hour"},  // within a microsecond
      {1.0 / 24 + 1.1 * micro, true, "01:00:00"},  // just outside: the time itself
      {1, false, "1"},                             // not exact: always the custom text
      {7, true, "One Week"},
      {1.5, true, "1 12:00:00"},
  };
  for (const TCase& c : cases) {
    axis->SetIncrement(c.Increment);
    axis->SetExactDateTime(c.Exact);
    EXPECT_EQ(IncrementText(axis), c.Text) << c.Increment;
  }
}

TEST_F(IncrementTest, DialogReadsNumbersStepsAndCustomTexts) {
  TChartAxis* axis = chart->BottomAxis();
  // A number axis: the edit alone, moved up, its text selected.
  WhenModal([&] {
    auto* d = editortest::Owned<TAxisIncrement>(Host.get());
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->CBSteps->Visible());
    EXPECT_FALSE(d->CBExact->Visible());
    EXPECT_EQ(d->ECustom->Top(), 40);
    EXPECT_EQ(d->ECustom->Top() - d->Label1->Top(), 15);
    EXPECT_EQ(d->ECustom->SelText(), d->ECustom->Text());
    EXPECT_EQ(d->Caption(), "Desired Bottom Axis Increment");
    PostText(d->ECustom, "12.5");
    PostClick(d->BOk);
  });
  EXPECT_TRUE(EditAxisIncrement(Host.get(), axis));
  EXPECT_EQ(axis->Increment(), 12.5);

  // A date-time axis: a custom text of days and a time.
  DateTime(true);
  axis->SetExactDateTime(false);
  WhenModal([&] {
    auto* d = editortest::Owned<TAxisIncrement>(Host.get());
    EXPECT_EQ(d->RadioGroup1->ItemIndex(), 1) << "not exact: custom";
    EXPECT_EQ(d->ECustom->Hint(), "Enter [Number of Days] [hh:nn:ss]");
    PostText(d->ECustom, "2 06:00:00");
    PostClick(d->BOk);
  });
  EXPECT_TRUE(EditAxisIncrement(Host.get(), axis));
  EXPECT_DOUBLE_EQ(axis->Increment(), 2.25);
  EXPECT_FALSE(axis->ExactDateTime());

  // A standard step: picked from the list, exact from then on.
  WhenModal([&] {
    auto* d = editortest::Owned<TAxisIncrement>(Host.get());
    PostClick(d->RadioGroup1->Buttons(0));
    TestInput::PostPickItem(d->CBSteps, 19);
    PostClick(d->BOk);
  });
  EXPECT_TRUE(EditAxisIncrement(Host.get(), axis));
  EXPECT_DOUBLE_EQ(axis->Increment(), 7);
  EXPECT_TRUE(axis->ExactDateTime());

  // An exact step opens on it; unchecking "Exact" goes back to the custom text.
  WhenModal([&] {
    auto* d = editortest::Owned<TAxisIncrement>(Host.get());
    EXPECT_EQ(d->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(d->CBSteps->ItemIndex(), 19);
    EXPECT_FALSE(d->ECustom->Enabled());
    PostClick(d->CBExact);
    TestInput::PostCall([d] {
      EXPECT_EQ(d->RadioGroup1->ItemIndex(), 1);
      EXPECT_EQ(d->ECustom->Text(), "7");
      EXPECT_TRUE(d->ECustom->Enabled());
    });
    PostText(d->ECustom, "03:30:00");  // no blank and no number: a time
    PostClick(d->BOk);
  });
  EXPECT_TRUE(EditAxisIncrement(Host.get(), axis));
  EXPECT_DOUBLE_EQ(axis->Increment(), 3.5 / 24);
  EXPECT_FALSE(axis->ExactDateTime());
}

TEST_F(IncrementTest, AnUnreadableTextSaysWhyAndKeepsTheDialog) {
  TChartAxis* axis = chart->BottomAxis();
  axis->SetIncrement(3);
  axis->SetExactDateTime(false);  // "Three Days" would open as a standard step
  for (bool dateTime : {false, true}) {
    SCOPED_TRACE(dateTime);
    DateTime(dateTime);
    ClearRecordedMessages();
    WhenModal([&] {
      auto* d = editortest::Owned<TAxisIncrement>(Host.get());
      PostText(d->ECustom, dateTime ? "2 xx:yy" : "1,5,7");
      PostClick(d->BOk);
      TestInput::PostCall([d] { EXPECT_TRUE(d->Visible()) << "still open"; });
      PostClick(d->BCancel);
    });
    EXPECT_FALSE(EditAxisIncrement(Host.get(), axis));
    EXPECT_EQ(axis->Increment(), 3) << "Cancel writes nothing";
    const auto shown = RecordedMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Incorrect value. Reason: ", 0), 0u) << shown[0];
    EXPECT_GT(shown[0].size(), std::string("Incorrect value. Reason: ").size()) << "with the reason";
  }
}

}  // namespace
