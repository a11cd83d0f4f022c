// Two 3D charts with walls: thick opaque walls with a gradient back wall, and
// see-through walls over a line and bars.
#include "walls_scenes.h"

#include <cmath>
#include <cstdio>

#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/snapshot.h"

namespace {

struct Scene {
  TForm form{nullptr};
  TChart* chart = new TChart(&form);
  explicit Scene(const char* Title) {
    form.SetBounds(0, 0, 520, 360);
    chart->SetParent(&form);
    chart->SetBounds(0, 0, 520, 360);
    chart->SetView3D(true);
    chart->SetChart3DPercent(35);
    chart->Title()->Text()->Add(Title);
  }
  void AddBars(const char* Title, int K) {
    auto* s = new TBarSeries(&form);
    s->SetParentChart(chart);
    s->SetTitle(Title);
    s->Marks()->Hide();
    for (int i = 0; i < 6; ++i) s->AddXY(i, 4 + 2 * std::sin(i + K) + K, "", clLumColor);
  }
  bool Save(const std::string& Path) {
    form.Show();
    const bool ok = SaveControlToPng(chart, Path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", Path.c_str());
    return ok;
  }
};

}  // namespace

bool SnapWallsScenes(const std::string& Dir) {
  bool ok = true;
  {
    Scene s("Walls of size 8, gradient back wall");
    s.AddBars("Front", 0);
    s.AddBars("Back", 1);
    s.chart->Walls()->SetSize(8);
    s.chart->LeftWall()->SetColor(0x80C0FF);
    s.chart->BottomWall()->SetColor(0xC0FFC0);
    TChartWall* back = s.chart->BackWall();
    back->SetTransparent(false);
    back->Gradient()->SetStartColor(clWhite);
    back->Gradient()->SetEndColor(0xFFC080);
    back->Gradient()->SetVisible(true);
    ok &= s.Save(Dir + "walls_3d.png");
  }
  {
    Scene s("See-through walls (60%), right wall shown, free view");
    s.AddBars("Bars", 0);
    s.chart->View3DOptions()->SetOrthogonal(false);
    s.chart->View3DOptions()->SetRotation(340);
    s.chart->View3DOptions()->SetElevation(340);
    s.chart->View3DOptions()->SetPerspective(30);
    s.chart->Walls()->SetSize(5);
    s.chart->RightWall()->Show();
    s.chart->RightWall()->SetAutoHide(true);
    s.chart->BackWall()->SetTransparent(false);
    for (TChartWall* w : {s.chart->LeftWall(), s.chart->BottomWall(), s.chart->BackWall()}) {
      w->SetColor(clNavy);
      w->SetTransparency(60);
    }
    s.chart->BottomWall()->SetStartPosition(10);
    s.chart->BottomWall()->SetEndPosition(90);
    ok &= s.Save(Dir + "walls_3d_transparent.png");
  }
  return ok;
}
