// Chart event listeners: the codes each change sends, removal and freeing while
// an event is on its way; series groups and the exchange of series.
#include <functional>
#include <string>
#include <vector>

#include "engine/groups.h"
#include "engine_test.h"

namespace {

// Records the series events as "code:title" and counts 3D-view events.
struct TSpy : ILumEventListener {
  void LumEvent(const TLumEvent& Event) override {
    if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event))
      Codes.push_back(std::to_string(int(e->Event)) + ":" + (e->Series ? e->Series->Title() : "-"));
    else if (dynamic_cast<const TLumView3DEvent*>(&Event))
      ++View3D;
    if (OnEvent) OnEvent();
  }
  std::vector<std::string> Take() {
    std::vector<std::string> c;
    c.swap(Codes);
    return c;
  }
  std::vector<std::string> Codes;
  int View3D = 0;
  std::function<void()> OnEvent;
};

// A listener that is a component: freeing it takes it off the chart's list.
class TSpyComponent : public TComponent, public TSpy {
public:
  explicit TSpyComponent(TComponent* AOwner) : TComponent(AOwner) {}
};

using Codes = std::vector<std::string>;

TTestSeries* NewSeries(TCustomAxisPanel* Chart, const std::string& Title) {
  auto* s = new TTestSeries(nullptr);
  s->SetTitle(Title);
  Chart->AddSeries(s);
  return s;
}

TEST(Listeners, EachSeriesChangeSendsItsCode) {
  TCountingChart chart;
  TSpy spy;
  EXPECT_EQ(chart.Listeners().Add(&spy), 0);
  EXPECT_EQ(chart.Listeners().Add(&spy), 0);  // once only
  EXPECT_EQ(chart.Listeners().Count(), 1);

  auto* s = new TTestSeries(nullptr);
  s->SetTitle("a");  // no chart yet: nobody to tell
  chart.AddSeries(s);
  EXPECT_EQ(spy.Take(), Codes{"0:a"});

  s->SetTitle("b");
  s->SetTitle("b");  // unchanged: nothing
  EXPECT_EQ(spy.Take(), Codes{"2:b"});

  s->AddXY(1, 2);
  s->AddXY(2, 3);
  s->BeginUpdate();
  s->AddXY(3, 4);  // inside the block: one event at its end
  s->AddXY(4, 5);
  EXPECT_EQ(spy.Codes.size(), 2u);
  s->EndUpdate();
  s->Delete(0);
  s->Clear();
  EXPECT_EQ(spy.Take(), (Codes{"4:b", "4:b", "4:b", "4:b", "4:b"}));

  s->SetActive(false);
  s->SetActive(false);
  s->SetSeriesColor(clBlue);
  s->SetColorEachPoint(true);
  s->SetShowInLegend(false);
  EXPECT_EQ(spy.Take(), (Codes{"3:b", "3:b", "3:b", "3:b"}));

  chart.BroadcastListenerEvent(nullptr, sePageChanged);
  chart.BroadcastListenerEvent(nullptr, seChangeCheckBoxes);
  EXPECT_EQ(spy.Take(), (Codes{"6:-", "5:-"}));

  chart.SetView3D(true);
  chart.View3DOptions()->SetElevation(chart.View3DOptions()->Elevation() + 10);
  EXPECT_EQ(spy.View3D, 2);
  EXPECT_TRUE(spy.Codes.empty());

  chart.RemoveSeries(s);
  EXPECT_EQ(spy.Take(), Codes{"1:b"});
  s->SetTitle("c");  // left the chart: nobody told
  chart.AddSeries(s);
  delete s;  // a freed series leaves the chart: removal
  EXPECT_EQ(spy.Take(), (Codes{"0:c", "1:c"}));

  chart.RemoveListener(&spy);
  NewSeries(&chart, "d");
  EXPECT_TRUE(spy.Codes.empty());
}

TEST(Listeners, RemovedOrFreedDuringDispatchAreNotCalled) {
  TCountingChart chart;
  TSpy first, third;
  auto* second = new TSpyComponent(nullptr);
  chart.Listeners().Add(&first);
  chart.Listeners().Add(second);
  chart.Listeners().Add(&third);

  // The first listener removes the third and frees the second.
  first.OnEvent = [&] {
    chart.RemoveListener(&third);
    delete second;
    second = nullptr;
  };
  NewSeries(&chart, "a");
  EXPECT_EQ(first.Codes, Codes{"0:a"});
  EXPECT_TRUE(third.Codes.empty());
  EXPECT_EQ(chart.Listeners().Count(), 1);
  EXPECT_EQ(chart.Listeners().Items(0), &first);
  EXPECT_THROW(chart.Listeners().Items(1), EListError);

  // A listener added while an event is sent waits for the next one; one that
  // removes itself is still told what was on its way to it, then nothing.
  TSpy late;
  first.OnEvent = [&] {
    chart.Listeners().Add(&late);
    chart.RemoveListener(&first);
  };
  first.Take();
  NewSeries(&chart, "b");
  EXPECT_EQ(first.Take(), Codes{"0:b"});
  EXPECT_TRUE(late.Codes.empty());
  NewSeries(&chart, "c");
  EXPECT_TRUE(first.Codes.empty());
  EXPECT_EQ(late.Codes, Codes{"0:c"});
}

TEST(Listeners, AListenerMayOutliveItsChart) {
  TSpyComponent survivor(nullptr);
  {
    TCountingChart other;
    other.Listeners().Add(&survivor);
  }
  SUCCEED();
}

TEST(SeriesGroups, ActiveIsYesNoOrPartlyAndCanBeSet) {
  TCountingChart chart;
  auto* a = NewSeries(&chart, "a");
  auto* b = NewSeries(&chart, "b");
  NewSeries(&chart, "c");
  TSeriesGroups* groups = chart.SeriesGroups();
  TSeriesGroup* g = groups->Add("pair");
  EXPECT_EQ(groups->GetGroup(0), g);
  EXPECT_EQ(g->Name(), "pair");
  EXPECT_EQ(g->Active(), gaYes);  // empty
  g->Add(a);
  g->Add(b);
  g->Add(a);
  EXPECT_EQ(g->Series().Count(), 2);

  b->SetActive(false);
  EXPECT_EQ(g->Active(), gaSome);
  g->SetActive(gaSome);  // changes nothing
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  g->SetActive(gaNo);
  EXPECT_EQ(g->Active(), gaNo);
  EXPECT_EQ(chart.CountActiveSeries(), 1);  // the third series is not in the group
  g->SetActive(gaYes);
  EXPECT_EQ(g->Active(), gaYes);

  // A series leaves its chart's groups with the chart; a stranger is refused.
  delete b;
  EXPECT_EQ(g->Series().Count(), 1);
  TTestSeries stranger(nullptr);
  EXPECT_THROW(g->Add(&stranger), ChartException);
  EXPECT_EQ(groups->IndexOfName("PAIR"), 0);
  EXPECT_THROW(groups->GetGroup(1), EListError);
}

TEST(ExchangeSeries, SwapsPlacesInOneChartAndChartsAcrossTwo) {
  TCountingChart one, two;
  auto* a = NewSeries(&one, "a");
  auto* b = NewSeries(&one, "b");
  auto* c = NewSeries(&one, "c");
  TSpy spy1, spy2;
  one.Listeners().Add(&spy1);
  two.Listeners().Add(&spy2);

  one.ExchangeSeries(a, c);
  EXPECT_EQ(one.GetSeries(0), c);
  EXPECT_EQ(one.GetSeries(2), a);
  EXPECT_EQ(spy1.Take(), Codes{"4:a"});
  one.ExchangeSeries(0, 2);
  EXPECT_EQ(one.GetSeries(0), a);
  EXPECT_EQ(spy1.Take(), Codes{"4:c"});

  auto* x = NewSeries(&two, "x");
  auto* y = NewSeries(&two, "y");
  spy2.Take();
  TSeriesGroup* g = one.SeriesGroups()->Add("g");
  g->Add(b);
  one.ExchangeSeries(b, y);
  EXPECT_EQ(b->ParentChart(), &two);
  EXPECT_EQ(y->ParentChart(), &one);
  EXPECT_EQ(one.GetSeries(1), y);
  EXPECT_EQ(two.GetSeries(1), b);
  EXPECT_EQ(two.GetSeries(0), x);
  EXPECT_EQ(g->Series().Count(), 0);
  EXPECT_EQ(spy1.Take(), (Codes{"1:b", "0:y"}));
  EXPECT_EQ(spy2.Take(), (Codes{"1:y", "0:b"}));
  // Each now leaves the chart it moved to.
  delete b;
  EXPECT_EQ(two.SeriesCount(), 1);
  EXPECT_EQ(spy2.Take(), Codes{"1:b"});

  TTestSeries loose(nullptr);
  EXPECT_THROW(one.ExchangeSeries(a, &loose), ChartException);
  one.ExchangeSeries(a, a);  // nothing
  EXPECT_EQ(one.GetSeries(0), a);
}

TEST(MultiLineTextSize, CountsLinesAndMeasuresTheWidest) {
  TCountingChart chart;
  int lines = 0;
  const int wide = chart.MultiLineTextSize("Wide wide line", lines);
  EXPECT_EQ(lines, 1);
  EXPECT_GT(wide, 0);
  const std::string text = std::string("ab") + LineSeparator + "\nWide wide line" + LineSeparator + "c";
  EXPECT_EQ(chart.MultiLineTextSize(text, lines), wide);
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(chart.MultiLineTextSize("", lines), 0);
  EXPECT_EQ(lines, 1);
}

}  // namespace
