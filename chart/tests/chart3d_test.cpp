// The chart's 3D percent sets the depth the series share.
#include "canvas/lumcanvas.h"
#include "chart_test_util.h"

namespace charttest {
namespace {

class Chart3D : public ChartTest {};

TEST_F(Chart3D, PercentSetsTheDepthTheSeriesShare) {
  chart->SetView3D(true);
  chart->View3DOptions()->SetOrthogonal(true);
  auto* front = Add<TBarSeries>();
  auto* back = Add<TBarSeries>();
  back->SetSeriesColor(clRed);
  front->SetSeriesColor(clBlue);
  back->AddXY(5, 10, "", clLumColor);
  front->AddXY(5, 0, "", clLumColor);
  Render();
  const int depth15 = chart->Width3D();
  EXPECT_GT(depth15, 0);
  chart->SetChart3DPercent(40);
  Render();
  EXPECT_GT(chart->Width3D(), 2 * depth15);
  EXPECT_EQ(back->StartZ(), chart->Width3D() / 2);  // two equal slots, the first series in front
  chart->SetChart3DPercent(0);
  EXPECT_EQ(chart->Chart3DPercent(), 1);
}

}  // namespace
}  // namespace charttest
