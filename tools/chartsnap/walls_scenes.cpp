// Two 3D charts with walls: thick opaque walls with a gradient back wall, and
// see-through walls over bars in a free view.
#include "walls_scenes.h"

#include <cmath>
#include <cstdio>

#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "scene.h"

namespace {

// A 3D scene with a series of bars.
struct WallsScene : Scene {
  explicit WallsScene(const char* Title) : Scene(Title) {
    chart->SetView3D(true);
    chart->SetChart3DPercent(35);
  }
  void AddBars(const char* Title, int K) {
    auto* s = Add<TBarSeries>(Title);
    for (int i = 0; i < 6; ++i) s->AddXY(i, 4 + 2 * std::sin(i + K) + K, "", clLumColor);
  }
};

}  // namespace

bool SnapWallsScenes(const std::string& Dir) {
  bool ok = true;
  {
    WallsScene s("Walls of size 8, gradient back wall");
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
    WallsScene s("See-through walls (60%), right wall shown, free view");
    s.AddBars("Bars", 0);
    s.chart->View3DOptions()->SetOrthogonal(false);
    // Turned to show the box's left side: the right wall shows its inner face, the
    // left one (hidden by AutoHide) its outer side.
    s.chart->View3DOptions()->SetRotation(20);
    s.chart->View3DOptions()->SetElevation(340);
    s.chart->View3DOptions()->SetPerspective(30);
    s.chart->Walls()->SetSize(5);
    s.chart->RightWall()->Show();
    s.chart->RightWall()->SetAutoHide(true);
    s.chart->LeftWall()->SetAutoHide(true);
    s.chart->BackWall()->SetTransparent(false);
    for (TChartWall* w : {s.chart->LeftWall(), s.chart->BottomWall(), s.chart->BackWall(), s.chart->RightWall()}) {
      w->SetColor(clNavy);
      w->SetTransparency(60);
    }
    s.chart->BottomWall()->SetStartPosition(10);
    s.chart->BottomWall()->SetEndPosition(90);
    ok &= s.Save(Dir + "walls_3d_transparent.png");
  }
  return ok;
}
