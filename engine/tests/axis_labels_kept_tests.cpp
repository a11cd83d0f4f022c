// An axis keeps its labels for the rest of a drawing with everything they were worked
// out from: a change of any of that between two drawings shows in the next drawing
// exactly as in a chart set up with the change from the start.
#include <functional>
#include <string>

#include "canvas/lumcanvas.h"
#include "engine_test.h"
#include "gui_test.h"
#include "platform/rtl.h"

namespace {

struct TKeptChart {
  TCountingChart chart;
  TTestSeries series{nullptr};
  TKeptChart() {
    chart.SetBounds(0, 0, 320, 240);
    series.SetParentChart(&chart);
    for (int i = 0; i <= 10; ++i) series.AddXY(i * 3.5, 1 + 9 * i * i);
    // Labels of a fixed room: the plot keeps its size as they change.
    for (TChartAxis* a : {chart.LeftAxis(), chart.BottomAxis()})
      a->SetAxisValuesFormat("#,##0.0"), a->SetLabelsSize(40);
  }
};

}  // namespace

TEST(AxisLabelsKept, AChangeBetweenDrawingsShowsAsInAChartSetUpWithIt) {
  struct TChange {
    const char* Name;
    std::function<void(TKeptChart&)> Apply;
  };
  const TChange changes[] = {
      {"values format", [](TKeptChart& k) { k.chart.LeftAxis()->SetAxisValuesFormat("0.000"); }},
      {"font size", [](TKeptChart& k) { k.chart.LeftAxis()->LabelsFont()->SetSize(15); }},
      {"font name", [](TKeptChart& k) { k.chart.BottomAxis()->LabelsFont()->SetName("Courier New"); }},
      {"font zoom", [](TKeptChart& k) { k.chart.View3DOptions()->SetFontZoom(300); }},
      {"font style", [](TKeptChart& k) { k.chart.LeftAxis()->LabelsFont()->SetStyle(FontStyles({fsBold})); }},
      {"minimum and maximum",
       [](TKeptChart& k) {
         k.chart.LeftAxis()->SetAutomatic(false);
         k.chart.LeftAxis()->SetMinMax(-40, 1234);
       }},
      {"increment", [](TKeptChart& k) { k.chart.BottomAxis()->SetIncrement(10); }},
      {"chart size", [](TKeptChart& k) { k.chart.SetBounds(0, 0, 250, 420); }},
      {"inverted", [](TKeptChart& k) { k.chart.LeftAxis()->SetInverted(true); }},
      {"logarithmic", [](TKeptChart& k) { k.chart.LeftAxis()->SetLogarithmic(true); }},
      {"exponent", [](TKeptChart& k) { k.chart.LeftAxis()->SetLabelsExponent(true); }},
      {"separation", [](TKeptChart& k) { k.chart.BottomAxis()->SetLabelsSeparation(300); }},
      {"angle", [](TKeptChart& k) { k.chart.BottomAxis()->SetLabelsAngle(90); }},
      {"date and time", [](TKeptChart& k) { k.series.XValues()->SetDateTime(true); }},
      {"decimal separator", [](TKeptChart&) { DecimalSeparator = ','; }},
  };
  const char separator = DecimalSeparator;
  // Through a new canvas each time (a picture) or the chart's own.
  const auto render = [](TKeptChart& K, bool Own) {
    std::unique_ptr<TBitmap> b;
    if (Own) {
      K.chart.Draw(K.chart.ClientRect());
      b = std::make_unique<TBitmap>();
      b->Assign(static_cast<TLumCanvas3D*>(K.chart.Canvas())->Bitmap());
    } else {
      b = Render(&K.chart);
    }
    b->SetPixelFormat(pf32bit);
    return b;
  };
  for (const TChange& change : changes)
    for (bool own : {false, true}) {
      SCOPED_TRACE(testing::Message() << change.Name << (own ? ", the chart's canvas" : ", a picture"));
      TKeptChart drawn, fresh;
      auto before = render(drawn, own);
      render(drawn, own);  // drawn again as it was
      change.Apply(drawn);
      auto after = render(drawn, own);
      change.Apply(fresh);
      auto expected = render(fresh, own);
      DecimalSeparator = separator;
      if (before->Width() == after->Width() && before->Height() == after->Height()) {
        EXPECT_NE(guitest::FirstDifference(before.get(), after.get()), "");  // the change shows
      }
      EXPECT_EQ(guitest::FirstDifference(after.get(), expected.get()), "");
    }
}
