// Pictures of the view tools: arrows on the four axes, a picture stretched under a
// series by the image tool, and a 3D chart being turned by the rotate tool with its
// XOR outline half-way through a drag. Live, the same scenes (and a full-screen one
// that switches its tool on once its window shows) run in a real window.
#include "view_scenes.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "analysis/tools_view.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "platform/stdctrls.h"
#include "snapout.h"

namespace {

// The chart's mouse entry, for a drag made by the scene itself.
class TSceneChart : public TChart {
public:
  using TChart::TChart;
  using TCustomAxisPanel::MouseDown;
  using TCustomAxisPanel::MouseMove;
};

struct ViewScene {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TSceneChart* chart = new TSceneChart(form.get());
  explicit ViewScene(const std::string& Title) {
    form->SetBounds(40, 40, 560, 380);
    form->SetCaption("chartsnap " + Title);
    chart->SetParent(form.get());
    chart->SetAlign(alClient);
    chart->Title()->Text()->Add("Tools: " + Title);
    chart->Legend()->Hide();
  }
  void Paint() {
    form->Show();
    chart->Invalidate();
    chart->Update();
  }
};

TLineSeries* AddWave(ViewScene& S, TColor Color) {
  auto* s = new TLineSeries(S.form.get());
  s->SetParentChart(S.chart);
  s->SetSeriesColor(Color);
  s->Marks()->Hide();
  for (int i = 0; i <= 50; ++i) s->AddXY(i * 2, 50 + 30 * std::sin(i * 0.25));
  return s;
}

void BuildArrows(ViewScene& S) {
  auto* s = AddWave(S, clNavy);
  s->SetHorizAxis(aBothHorizAxis);
  s->SetVertAxis(aBothVertAxis);
  const struct {
    TChartAxis* Axis;
    TColor Color;
    TAxisArrowToolPosition Position;
  } arrows[] = {{S.chart->BottomAxis(), clRed, aaBoth},
                {S.chart->LeftAxis(), clBlue, aaBoth},
                {S.chart->TopAxis(), clGreen, aaStart},
                {S.chart->RightAxis(), clPurple, aaEnd}};
  for (const auto& a : arrows) {
    auto* t = new TAxisArrowTool(S.form.get());
    t->SetAxis(a.Axis);
    t->SetPosition(a.Position);
    t->Brush()->SetColor(a.Color);
    t->SetHeadWidth(12);
    t->SetLength(22);
  }
}

void BuildImage(ViewScene& S) {
  auto* s = AddWave(S, clBlack);
  s->LinePen()->SetWidth(2);
  // Bands of colour, so the stretch over the series' extent shows.
  TBitmap b;
  b.SetSize(64, 64);
  const TColor bands[] = {clYellow, clAqua, clLime, clFuchsia};
  for (int i = 0; i < 4; ++i) {
    b.Canvas()->Brush()->SetColor(bands[i]);
    b.Canvas()->FillRect({0, i * 16, 64, i * 16 + 16});
  }
  auto* t = new TChartImageTool(S.form.get());
  t->Picture()->SetGraphic(&b);
  t->SetSeries(s);
  t->Pen()->Show();
  t->Pen()->SetColor(clRed);
  t->SetParentChart(S.chart);
}

TRotateTool* BuildRotate(ViewScene& S) {
  S.chart->SetView3D(true);
  S.chart->SetChart3DPercent(40);
  auto* bars = new TBarSeries(S.form.get());
  bars->SetParentChart(S.chart);
  bars->Marks()->Hide();
  for (int i = 0; i <= 10; ++i) bars->AddXY(i * 10, 20 + 8 * (i % 5));
  AddWave(S, clRed);
  S.chart->View3DOptions()->SetOrthogonal(false);
  S.chart->View3DOptions()->SetRotation(345);
  S.chart->View3DOptions()->SetElevation(345);
  S.chart->View3DOptions()->SetPerspective(30);
  auto* t = new TRotateTool(S.form.get());
  t->SetParentChart(S.chart);
  t->Pen()->Show();  // an outline while dragging, the chart turns on release
  return t;
}

bool Save(ViewScene& S, const std::string& Path) {
  return WritePng(S.chart, Path);
}

}  // namespace

bool SnapViewToolScenes(const std::string& Dir) {
  bool ok = true;
  {
    ViewScene s("arrows");
    BuildArrows(s);
    s.Paint();
    ok &= Save(s, Dir + "tools_arrows.png");
  }
  {
    ViewScene s("image");
    BuildImage(s);
    s.Paint();
    ok &= Save(s, Dir + "tools_image.png");
  }
  {
    // An area and a 3D line scrolled past the right and bottom ends, where the axes' labels are.
    ViewScene s("axis scroll in 3D");
    s.chart->SetView3D(true);
    s.chart->SetChart3DPercent(30);
    auto* area = new TAreaSeries(s.form.get());
    area->SetParentChart(s.chart);
    area->SetSeriesColor(clTeal);
    area->Marks()->Hide();
    for (int i = 0; i <= 50; ++i) area->AddXY(i * 2, 40 + 25 * std::cos(i * 0.2));
    TLineSeries* line = AddWave(s, clRed);
    line->LinePen()->SetWidth(2);
    line->SetVertAxis(aBothVertAxis);
    s.Paint();
    s.chart->BottomAxis()->Scroll(-30, false);
    for (TChartAxis* a : {s.chart->LeftAxis(), s.chart->RightAxis()}) a->Scroll(25, false);
    s.Paint();
    ok &= Save(s, Dir + "axis_scroll_3d.png");
  }
  {
    // Half-way through a drag: the view has turned, the picture still shows the old
    // one under the outline of the new.
    ViewScene s("rotate");
    BuildRotate(s);
    s.Paint();
    const TRect r = s.chart->ChartRect();
    s.chart->MouseDown(mbLeft, 0, r.Left + 100, r.Top + 100);
    s.chart->MouseMove(ssLeft, r.Left + 130, r.Top + 110);
    s.chart->MouseMove(ssLeft, r.Left + 170, r.Top + 125);
    ok &= Save(s, Dir + "tools_rotate.png");
  }
  return ok;
}

const std::vector<std::string>& ViewToolSceneNames() {
  static const std::vector<std::string> names = {"rotate", "arrows", "image", "fullscreen"};
  return names;
}

int RunViewToolSceneLive(const std::string& Name) {
  ViewScene s(Name);
  TTimer showTimer(nullptr);
  showTimer.SetEnabled(false);
  if (Name == "rotate") BuildRotate(s)->SetInertia(95);
  else if (Name == "arrows") BuildArrows(s);
  else if (Name == "image") BuildImage(s);
  else if (Name == "fullscreen") {
    AddWave(s, clRed);
    auto* t = new TFullScreenTool(s.form.get());
    t->SetParentChart(s.chart);
    t->OnReset = [](TObject*) { std::printf("full screen reset\n"), std::fflush(stdout); };
    // On once the window shows, so the chart goes back into a window that exists.
    showTimer.SetInterval(300);
    showTimer.OnTimer = [t, &showTimer](TObject*) {
      showTimer.SetEnabled(false);
      t->SetActive(true);
      std::printf("full screen on\n"), std::fflush(stdout);
    };
    s.form->OnShow = [&showTimer](TObject*) { showTimer.SetEnabled(true); };
  } else {
    std::fprintf(stderr, "chartsnap: unknown scene '%s'\n", Name.c_str());
    return 2;
  }
  s.form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
  s.Paint();
  while (!Application->Terminated()) Application->HandleMessage();
  return 0;
}
