// The hidden output series a function owns beside its owning series.
#include <gtest/gtest.h>

#include "analysis/func_outputs.h"
#include "analysis_test_util.h"
#include "engine/axis.h"

namespace {

using FunctionOutputsTest = analysistest::AnalysisTest;

// Copies its source into the owning series and, doubled, into one hidden output.
class TTwinFunction : public TLumFunction {
public:
  explicit TTwinFunction(TComponent* AOwner) : TLumFunction(AOwner) { twin = outputs.Add<TFastLineSeries>(clRed); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override {
    outputs.Prepare(twin);
    for (int i = 0; i < Sources[0]->Count(); ++i) {
      AddFunctionXY(Sources[0]->XValues()->GetValue(i), Sources[0]->YValues()->GetValue(i));
      twin->AddXY(Sources[0]->XValues()->GetValue(i), 2 * Sources[0]->YValues()->GetValue(i));
    }
  }
  void ClearOutput() override { outputs.ClearAll(); }
  TFunctionOutputs outputs{this};
  TFastLineSeries* twin;
};

TEST_F(FunctionOutputsTest, OutputsAreHiddenFollowTheOwnerAndClearWithIt) {
  auto* source = Add<TFastLineSeries>();
  source->AddXY(1, 1);
  source->AddXY(2, 3);
  auto* owner = Add<TFastLineSeries>();
  TChartAxis* custom = chart->CustomAxes()->Add();
  owner->SetCustomVertAxis(custom);
  owner->SetHorizAxis(aTopAxis);
  owner->XValues()->SetDateTime(true);
  auto* f = new TTwinFunction(nullptr);
  owner->SetFunction(f);
  owner->SetDataSource(source);

  TChartSeries* twin = f->twin;
  EXPECT_FALSE(twin->ShowInLegend());
  EXPECT_FALSE(twin->ShowInEditor());
  EXPECT_EQ(twin->SeriesColor(), clRed);
  EXPECT_EQ(twin->ParentChart(), chart.get());
  EXPECT_EQ(twin->CustomVertAxis(), custom);
  EXPECT_EQ(twin->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(twin->HorizAxis(), aTopAxis);
  EXPECT_TRUE(twin->XValues()->DateTime());
  EXPECT_EQ(twin->YValues()->Values(), (std::vector<double>{2, 6}));

  // The owner back on plain axes: so is the output at the next fill.
  owner->SetCustomVertAxis(nullptr);
  owner->SetHorizAxis(aBottomAxis);
  source->AddXY(3, 4);
  source->CheckDataSource();
  EXPECT_EQ(twin->CustomVertAxis(), nullptr);
  EXPECT_EQ(twin->VertAxis(), aLeftAxis);
  EXPECT_EQ(twin->HorizAxis(), aBottomAxis);
  EXPECT_EQ(twin->Count(), 3);

  owner->Clear();
  EXPECT_EQ(twin->Count(), 0);

  // Freed with the function: the chart keeps only source and owner.
  owner->SetFunction(nullptr);
  EXPECT_EQ(chart->SeriesCount(), 2);
}

TEST_F(FunctionOutputsTest, AChartFreedFirstTakesTheOutputsWithoutADoubleFree) {
  auto other = std::make_unique<TChart>(nullptr);
  auto* owner = new TFastLineSeries(nullptr);
  owner->SetParentChart(other.get());
  auto* source = new TFastLineSeries(nullptr);
  source->SetParentChart(other.get());
  source->AddXY(0, 1);
  auto* f = new TTwinFunction(nullptr);
  owner->SetFunction(f);
  owner->SetDataSource(source);
  ASSERT_EQ(other->SeriesCount(), 3);
  // The output (added last) goes before the owner, which then frees the function;
  // the sanitizer build catches a second free.
  other.reset();
}

}  // namespace
