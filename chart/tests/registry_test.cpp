// Registration lists, the series factory and paging.
#include <gtest/gtest.h>

#include "chart/registry.h"
#include "engine/errors.h"
#include "engine/tools.h"
#include "chart/stdseries.h"
#include "chart_test_util.h"

using charttest::ChartTest;

class TRegTestSeries : public TPointSeries {
  DECLARE_CLASS(TRegTestSeries, TPointSeries)
public:
  explicit TRegTestSeries(TComponent* AOwner) : TPointSeries(AOwner) {}
};
IMPLEMENT_CLASS(TRegTestSeries, TPointSeries)

class TRegTestTool : public TComponent {
  DECLARE_CLASS(TRegTestTool, TComponent)
public:
  explicit TRegTestTool(TComponent* AOwner) : TComponent(AOwner) {}
  void Assign(TPersistent* Source) override {
    if (auto* t = dynamic_cast<TRegTestTool*>(Source)) Level = t->Level;
  }
  int Level = 0;
};
IMPLEMENT_CLASS(TRegTestTool, TComponent)

namespace {

std::vector<std::string> Descriptions() {
  std::vector<std::string> out;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) out.push_back(LumSeriesTypes().Get(i)->DescriptionText());
  return out;
}

TEST_F(ChartTest, StandardEntriesComeInTheirOrderAndFindSkipsFunctions) {
  const std::vector<std::string> standard{"Line",         "Horiz.\rLine", "Point",         "Area",     "Horiz.\rArea",
                                          "Bar",          "Horiz.\rBar",  "Pie",           "Fast Line", "Smoothing"};
  LumConst2UnitInit();       // the page texts of the analysis units
  RegisterStandardSeries();  // a second call adds nothing
  EXPECT_EQ(Descriptions(), standard);
  EXPECT_EQ(LumSeriesTypes().Get(0)->SeriesClass, nullptr) << "nil stands for the line";
  EXPECT_EQ(LumSeriesTypes().Get(0)->ActualSeriesClass(), TLineSeries::StaticClass());
  EXPECT_EQ(LumSeriesTypes().Find(TLineSeries::StaticClass()), LumSeriesTypes().Get(0));
  EXPECT_EQ(*LumSeriesTypes().Get(9)->GalleryPage, "Extended");
  EXPECT_EQ(GallerySeriesName(TPieSeries::StaticClass()), "Pie");
  EXPECT_EQ(GallerySeriesName(TRegTestSeries::StaticClass()), "TRegTestSeries") << "unlisted: the class name";
  EXPECT_THROW(LumSeriesTypes().Get(99), EListError);

  // A function entry whose gallery series is of the class is not the class' entry.
  std::string funcName = "Moving", seriesName = "Test", page = "Tests";
  RegisterLumBasicFunction(TLumMovingFunction::StaticClass(), &funcName);
  LumSeriesTypes().Get(LumSeriesTypes().Count() - 1)->SeriesClass = TRegTestSeries::StaticClass();
  EXPECT_EQ(LumSeriesTypes().Find(TRegTestSeries::StaticClass()), nullptr);
  RegisterLumSeries(TRegTestSeries::StaticClass(), &seriesName, &page, 3);
  RegisterLumSeries(TRegTestSeries::StaticClass(), &seriesName, &page, 1);
  TLumSeriesType* e = LumSeriesTypes().Find(TRegTestSeries::StaticClass());
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->NumGallerySeries, 3) << "the first of its entries";
  EXPECT_EQ(GetClass("TRegTestSeries"), TRegTestSeries::StaticClass()) << "registered by name";
  const TLumSeriesType* f = LumSeriesTypes().Get(10);
  EXPECT_EQ(*f->GalleryPage, "Standard");
  EXPECT_EQ(f->NumGallerySeries, 2);
  seriesName = "Renamed";
  EXPECT_EQ(GallerySeriesName(TRegTestSeries::StaticClass()), "Renamed") << "the text variable's current text";

  UnRegisterLumSeries({TRegTestSeries::StaticClass()});
  EXPECT_EQ(LumSeriesTypes().Count(), 11) << "both series entries went, the function entry stays";
  UnRegisterLumFunctions({TLumMovingFunction::StaticClass()});
  EXPECT_EQ(Descriptions(), standard);
  UnRegisterLumSeries({TRegTestSeries::StaticClass()});  // nothing left to remove
  EXPECT_EQ(LumSeriesTypes().Count(), 10);
}

TEST_F(ChartTest, ToolTypesHoldEachClassOnce) {
  RegisterLumTools({TRegTestTool::StaticClass(), TRegTestSeries::StaticClass(), TRegTestTool::StaticClass()});
  EXPECT_EQ(LumToolTypes().Count(), 2);
  EXPECT_EQ(LumToolTypes().Get(0), TRegTestTool::StaticClass());
  EXPECT_EQ(GetClass("TRegTestTool"), TRegTestTool::StaticClass());
  UnRegisterLumTools({TRegTestTool::StaticClass(), TRegTestSeries::StaticClass()});
  EXPECT_EQ(LumToolTypes().Count(), 0);

  TComponent owner(nullptr);
  auto* a = new TRegTestTool(&owner);
  a->SetName("ChartTool1");
  a->Level = 7;
  TComponent* b = CreateNewTool(a, &owner);
  ASSERT_NE(dynamic_cast<TRegTestTool*>(b), nullptr);
  EXPECT_EQ(b->Name(), "ChartTool2");
  EXPECT_EQ(static_cast<TRegTestTool*>(b)->Level, 7);
  EXPECT_EQ(b->Owner(), &owner);
}

TEST_F(ChartTest, NewSeriesTakeTheLowestFreeNumber) {
  TComponent owner(nullptr);
  TChartSeries* s1 = CreateNewSeries(&owner, chart.get(), nullptr);
  EXPECT_EQ(s1->Name(), "Series1");
  EXPECT_EQ(s1->ClassType(), TLineSeries::StaticClass());
  EXPECT_EQ(s1->ParentChart(), chart.get());
  TChartSeries* s2 = CreateNewSeries(&owner, chart.get(), TBarSeries::StaticClass());
  TChartSeries* s3 = CreateNewSeries(&owner, chart.get(), TPieSeries::StaticClass());
  EXPECT_EQ(s3->Name(), "Series3");
  delete s2;
  TChartSeries* again = CreateNewSeries(&owner, chart.get(), TAreaSeries::StaticClass(),
                                        TSmoothingFunction::StaticClass());
  EXPECT_EQ(again->Name(), "Series2");
  ASSERT_NE(dynamic_cast<TSmoothingFunction*>(again->FunctionType()), nullptr);
  EXPECT_EQ(GallerySeriesName(again), "Smoothing");
  // Without an owner the chart's series names still count.
  TChartSeries* loose = CreateNewSeries(nullptr, chart.get(), TBarSeries::StaticClass());
  EXPECT_EQ(loose->Name(), "Series4");
  delete loose;
  EXPECT_THROW(CreateNewSeries(&owner, chart.get(), TRegTestTool::StaticClass()), ChartException);
  chart->FreeAllSeries();
}

class FactoryTest : public ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    owner = std::make_unique<TComponent>(nullptr);
    for (int i = 0; i < 3; ++i) CreateNewSeries(owner.get(), chart.get(), TBarSeries::StaticClass());
    middle = chart->Series(1);
    middle->SetTitle("Middle");
    middle->AddXY(1, 4, "one", clRed);
    middle->AddXY(2, 6, "two", clLumColor);
    middle->AddXY(3, 5, "three", clBlue);
    shown = middle->SeriesColor();
  }
  void TearDown() override {
    chart->FreeAllSeries();
    ChartTest::TearDown();
  }

  void ExpectSameData(TChartSeries* S) {
    ASSERT_EQ(S->Count(), 3);
    EXPECT_EQ(S->NotMandatoryValueList()->GetValue(1), 2);
    EXPECT_EQ(S->MandatoryValueList()->GetValue(1), 6);
    EXPECT_EQ(S->Labels().GetLabel(2), "three");
    EXPECT_EQ(S->GetPointColor(0), clRed);
    EXPECT_EQ(S->GetPointColor(1), clLumColor);
    EXPECT_EQ(S->SeriesColor(), shown);
    EXPECT_EQ(S->Title(), "Middle");
  }

  std::unique_ptr<TComponent> owner;
  TChartSeries* middle = nullptr;
  TColor shown = clNone;
};

TEST_F(FactoryTest, ChangingTheTypeKeepsDataColoursNameAndPlace) {
  TChartSeries* s = middle;
  ChangeSeriesType(s, TBarSeries::StaticClass());
  EXPECT_EQ(s, middle) << "its own class changes nothing";

  ChangeSeriesType(s, TLineSeries::StaticClass());
  ASSERT_NE(dynamic_cast<TLineSeries*>(s), nullptr);
  EXPECT_EQ(s->Name(), "Series2");
  EXPECT_EQ(chart->SeriesList().IndexOf(s), 1);
  EXPECT_EQ(chart->SeriesCount(), 3);
  EXPECT_EQ(s->YValues()->Name(), "Y") << "the new type's own list names";
  ExpectSameData(s);
  EXPECT_EQ(owner->FindComponent("Series2"), s);

  // To a horizontal type: values stay values.
  ChangeSeriesType(s, THorizBarSeries::StaticClass());
  EXPECT_EQ(s->XValues()->GetValue(1), 6);
  EXPECT_EQ(s->YValues()->GetValue(1), 2);
  ExpectSameData(s);
  EXPECT_EQ(chart->SeriesList().IndexOf(s), 1);
}

TEST_F(FactoryTest, ChangingTheTypeKeepsTheSeriesLinks) {
  auto* fed = CreateNewSeries(owner.get(), chart.get(), TLineSeries::StaticClass());
  fed->SetDataSource(middle);
  ASSERT_EQ(fed->Count(), 3);
  auto* tool = new TLumCustomToolSeries(owner.get());
  chart->Tools()->Add(tool);
  tool->SetSeries(middle);
  TChartSeries* s = middle;
  ChangeSeriesType(s, TAreaSeries::StaticClass());
  EXPECT_EQ(fed->DataSource(), s) << "the dependant follows";
  EXPECT_EQ(tool->Series(), s) << "and so does the tool";
  s->AddXY(4, 1);
  s->CheckDataSource();
  EXPECT_EQ(fed->Count(), 4);
}

TEST_F(FactoryTest, ACloneCopiesTheSeriesIntoItsChart) {
  TChartSeries* c = CloneChartSeries(middle);
  ASSERT_NE(dynamic_cast<TBarSeries*>(c), nullptr);
  EXPECT_EQ(c->ParentChart(), chart.get());
  EXPECT_EQ(c->Name(), "Series4");
  EXPECT_EQ(c->Owner(), owner.get());
  EXPECT_EQ(chart->SeriesList().IndexOf(c), 3);
  ExpectSameData(c);
  EXPECT_EQ(middle->Count(), 3) << "the original keeps its points";

  auto* smooth = CreateNewSeries(owner.get(), chart.get(), TLineSeries::StaticClass(),
                                 TSmoothingFunction::StaticClass());
  static_cast<TSmoothingFunction*>(smooth->FunctionType())->SetFactor(3);
  TChartSeries* c2 = CloneChartSeries(smooth);
  auto* f = dynamic_cast<TSmoothingFunction*>(c2->FunctionType());
  ASSERT_NE(f, nullptr);
  EXPECT_NE(f, smooth->FunctionType());
  EXPECT_EQ(f->Factor(), 3);
}

// ---- Paging ----
class PagingTest : public ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    chart->BottomAxis()->SetAutomatic(true);
    chart->BottomAxis()->SetAutomaticMinimum(true);
    chart->BottomAxis()->SetAutomaticMaximum(true);
    s = Add<TBarSeries>();
    for (int i = 0; i < 35; ++i) s->AddXY(i * 2, i % 7);
    pages = chart->Pages();
  }
  std::pair<double, double> BottomRange() {
    Render();
    return {chart->BottomAxis()->Minimum(), chart->BottomAxis()->Maximum()};
  }
  TBarSeries* s = nullptr;
  TChartPage* pages = nullptr;
};

TEST_F(PagingTest, PointsSplitIntoPagesAndTheAxisShowsOnePage) {
  EXPECT_EQ(pages->Count(), 1) << "0 points per page: no paging";
  EXPECT_EQ(chart->NumPages(), 1);
  EXPECT_EQ(BottomRange(), std::make_pair(0.0, 68.0));

  int changes = 0;
  pages->OnPageChange = TNotifyEvent([&](TObject*) { ++changes; });
  pages->SetMaxPointsPerPage(10);
  EXPECT_EQ(pages->Count(), 4);
  EXPECT_EQ(chart->NumPages(), 4);
  EXPECT_EQ(chart->GetMaxPointsPerPage(), 10);
  EXPECT_EQ(pages->Current(), 1);
  EXPECT_EQ(BottomRange(), std::make_pair(0.0, 18.0));
  pages->Next();
  EXPECT_EQ(pages->Current(), 2);
  EXPECT_EQ(BottomRange(), std::make_pair(20.0, 38.0));
  EXPECT_EQ(changes, 1);

  pages->SetCurrent(9);
  EXPECT_EQ(pages->Current(), 4) << "clamped";
  pages->Next();
  EXPECT_EQ(pages->Current(), 4);
  EXPECT_EQ(changes, 2);
  // The last page keeps a full page's scale: 5 points over 10 places.
  EXPECT_EQ(BottomRange(), std::make_pair(60.0, 78.0));
  pages->SetScaleLastPage(false);
  EXPECT_EQ(BottomRange(), std::make_pair(60.0, 68.0));

  pages->SetCurrent(-3);
  EXPECT_EQ(pages->Current(), 1);
  pages->Previous();
  EXPECT_EQ(pages->Current(), 1);

  // Points going away never leave the page outside the pages there are.
  pages->SetCurrent(4);
  s->Clear();
  for (int i = 0; i < 12; ++i) s->AddXY(i, i);
  EXPECT_EQ(pages->Count(), 2);
  EXPECT_EQ(pages->Current(), 2);
  pages->SetMaxPointsPerPage(-5);
  EXPECT_EQ(pages->MaxPointsPerPage(), 0);
  EXPECT_EQ(pages->Count(), 1);
}

TEST_F(PagingTest, APageChangeReachesTheChartListeners) {
  struct TPageSpy : ILumEventListener {
    void LumEvent(const TLumEvent& Event) override {
      auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event);
      if (e && e->Event == sePageChanged && !e->Series) ++Pages;
    }
    int Pages = 0;
  } spy;
  chart->Listeners().Add(&spy);
  pages->SetMaxPointsPerPage(10);  // still page 1
  pages->Next();
  pages->Next();
  pages->SetCurrent(2);
  pages->SetCurrent(2);
  chart->RemoveListener(&spy);
  EXPECT_EQ(spy.Pages, 3);
}

TEST_F(PagingTest, AutoScaleFitsTheValueAxisToThePage) {
  chart->LeftAxis()->SetAutomatic(true);
  chart->LeftAxis()->SetAutomaticMinimum(true);
  chart->LeftAxis()->SetAutomaticMaximum(true);
  s->Clear();
  for (int i = 0; i < 20; ++i) s->AddXY(i, i < 10 ? 1 + i % 3 : 50 + i);
  pages->SetMaxPointsPerPage(10);
  Render();
  EXPECT_EQ(chart->LeftAxis()->Maximum(), 69) << "the whole data without AutoScale";
  pages->SetAutoScale(true);
  Render();
  EXPECT_EQ(chart->LeftAxis()->Minimum(), 1);
  EXPECT_EQ(chart->LeftAxis()->Maximum(), 3);
}

}  // namespace
