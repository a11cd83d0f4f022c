// Pictures of the axis kinds on charts of their own: a 3D chart with its depth
// axes, a logarithmic axis, a date-time axis, custom axes (inside and at an edge)
// and labels behind the grid with items in their own format.
#include "axes_scenes.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "chart/chart.h"
#include "chart/series.h"
#include "platform/dateutils.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "scene.h"

bool SnapAxesScenes(const std::string& Dir) {
  bool ok = true;
  {
    Scene s("3D with depth axes");
    s.chart->SetView3D(true);
    s.chart->SetChart3DPercent(30);
    s.chart->DepthAxis()->SetVisible(true);
    s.chart->DepthTopAxis()->SetVisible(true);
    const char* names[] = {"Front", "Middle", "Back"};
    for (int k = 0; k < 3; ++k) {
      auto* bars = s.Add<TBarSeries>(names[k]);
      for (int i = 0; i < 6; ++i) bars->AddXY(i, 3 + 2 * std::sin(i + k) + k, "", clLumColor);
    }
    ok &= s.Save(Dir + "axes_3d_depth.png");
  }
  {
    Scene s("Logarithmic left axis");
    auto* line = s.Add<TLineSeries>("Powers");
    for (int i = 0; i <= 40; ++i) line->AddXY(i, std::pow(10.0, i / 10.0), "", clLumColor);
    s.chart->LeftAxis()->SetLogarithmic(true);
    s.chart->LeftAxis()->MinorGrid()->SetVisible(true);
    ok &= s.Save(Dir + "axes_logarithmic.png");
  }
  {
    Scene s("Date-time bottom axis");
    auto* line = s.Add<TLineSeries>("Daily");
    line->XValues()->SetDateTime(true);
    const double start = EncodeDate(2025, 1, 1);
    for (int d = 0; d <= 730; ++d) line->AddXY(start + d, 50 + 30 * std::sin(d / 40.0), "", clLumColor);
    s.chart->BottomAxis()->SetLabelsAngle(90);
    ok &= s.Save(Dir + "axes_datetime.png");
  }
  {
    Scene s("Custom vertical axis");
    auto* a = s.Add<TLineSeries>("Left");
    auto* b = s.Add<TLineSeries>("Custom");
    for (int i = 0; i <= 20; ++i) {
      a->AddXY(i, i * i, "", clLumColor);
      b->AddXY(i, 1000 - 30 * i, "", clLumColor);
    }
    TChartAxis* custom = s.chart->CustomAxes()->Add();
    custom->SetPositionPercent(50);
    custom->SetStartPosition(0);
    custom->SetEndPosition(60);
    custom->Axis()->SetColor(clBlue);
    custom->GetTitle()->SetCaption("Custom axis");
    b->SetCustomVertAxis(custom);
    // One more at the left edge: it stands outside the left axis.
    auto* c = s.Add<TLineSeries>("Edge");
    for (int i = 0; i <= 20; ++i) c->AddXY(i, 0.5 + 0.02 * i, "", clLumColor);
    TChartAxis* edge = s.chart->CustomAxes()->Add();
    edge->Axis()->SetColor(clGreen);
    edge->GetTitle()->SetCaption("Edge axis");
    c->SetCustomVertAxis(edge);
    ok &= s.Save(Dir + "axes_custom.png");
  }
  {
    Scene s("Labels behind the grid, items in their own format");
    auto* line = s.Add<TLineSeries>("Line");
    for (int i = 0; i <= 20; ++i) line->AddXY(i, 10 + 5 * std::sin(i / 3.0), "", clLumColor);
    TChartAxis* left = s.chart->LeftAxis();
    left->SetPositionPercent(60);
    left->SetLabelsBehind(true);
    left->LabelsFont()->SetSize(16);
    s.chart->BottomAxis()->Grid()->SetColor(clRed);
    s.chart->BottomAxis()->Grid()->SetStyle(psSolid);
    TAxisItems* items = s.chart->BottomAxis()->Items();
    items->Add(0, "start");
    TLumCustomShape* format = items->Add(10, "middle")->GetFormat();
    format->SetTransparent(false);
    format->SetColor(clYellow);
    format->Frame()->SetColor(clGreen);
    format->Font()->SetColor(clBlue);
    format->Font()->SetSize(14);
    items->Add(20, "end");
    ok &= s.Save(Dir + "axes_labels.png");
  }
  return ok;
}
