// Pictures of the tools that follow the mouse over points and marks, and of the
// series animation half way. The same scenes run live in a real window.
#include "near_scenes.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

#include "analysis/tools_animation.h"
#include "analysis/tools_nearest.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "scene.h"

namespace {

// The scenes' chart (scene.h) with the legend hidden, and their series.
struct NearScene : Scene {
  explicit NearScene(const std::string& Title) : Scene(("Tools: " + Title).c_str()) {
    form.SetCaption("chartsnap " + Title);
    chart->Legend()->Hide();
  }
  template <class S>
  S* Add(int N, double Phase, double Level) {
    auto* s = Scene::Add<S>();
    for (int i = 0; i < N; ++i) s->AddXY(i, Level + 20 * std::sin(i * 0.5 + Phase));
    return s;
  }
  // Lays the chart out now, as the window would.
  void Paint() {
    form.Show();
    chart->Invalidate();
    chart->Update();
  }
};

// Four series, each with a nearest tool of another style, the mouse placed beside
// a point of each (the line to the mouse drawn for two of them).
void BuildNearest(NearScene& S, bool Live) {
  const TNearestToolStyle styles[] = {hsCircle, hsRectangle, hsDiamond, hsSeries};
  const TColor colors[] = {clRed, clBlue, clGreen, clPurple};
  std::vector<TNearestTool*> tools;
  for (int i = 0; i < 4; ++i) {
    auto* s = S.Add<TPointSeries>(16, i, 20 + i * 40);
    auto* t = new TNearestTool(&S.form);
    t->SetSeries(s);
    t->SetParentChart(S.chart);
    t->SetStyle(styles[i]);
    t->SetSize(12);
    t->Pen()->SetColor(colors[i]);
    t->Pen()->SetStyle(psSolid);
    t->Pen()->SetWidth(2);
    t->LinePen()->SetColor(colors[i]);
    t->SetDrawLine(i % 2 == 0);
    t->SetFullRepaint(Live && i % 2 == 1);
    tools.push_back(t);
  }
  if (Live) return;
  // The mouse beside a point of each series, once the axes have their ranges.
  S.Paint();
  for (int i = 0; i < 4; ++i) {
    TChartSeries* s = tools[size_t(i)]->Series();
    const int p = 3 + i * 3;
    tools[size_t(i)]->ChartMouseEvent(cmeMove, mbLeft, 0, s->CalcXPos(p) + 25, s->CalcYPos(p) - 20);
  }
}

void BuildMarkTips(NearScene& S, bool Live) {
  auto* s = S.Add<TPointSeries>(20, 0, 50);
  for (int i = 0; i < s->Count(); ++i) s->Labels().SetLabel(i, "Point " + std::to_string(i));
  auto* t = new TMarksTipTool(&S.form);
  t->SetParentChart(S.chart);
  t->SetStyle(smsLabelValue);
  t->Brush()->SetColor(0xC0FFFF);
  if (Live) return;
  // The mouse rests on a point: the tool shows its tip. The tip is a window of its
  // own, which a picture of the chart leaves out: the chart draws it where the
  // window shows, under the mouse.
  S.Paint();
  const int x = s->CalcXPos(7), y = s->CalcYPos(7);
  t->ChartMouseEvent(cmeMove, mbLeft, 0, x, y);
  TChart* chart = S.chart;
  chart->OnAfterDraw = TNotifyEvent([chart, x, y](TObject*) {
    if (chart->Hint().empty()) return;
    TCanvas* c = chart->Canvas()->ReferenceCanvas();
    c->Font()->Assign(Screen->HintFont());
    const TSize size = c->TextExtent(chart->Hint());
    const TRect box{x, y + 20, x + size.cx + 8, y + 20 + size.cy + 4};
    c->Brush()->SetColor(Application->HintColor());
    c->Pen()->SetColor(clBlack);
    c->Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    c->SetBkMode(TRANSPARENT);
    c->TextOut(box.Left + 4, box.Top + 2, chart->Hint());
  });
  chart->Invalidate();
}

void BuildDragMarks(NearScene& S) {
  auto* s = S.Add<TLineSeries>(10, 0, 50);
  s->Marks()->Show();
  s->Marks()->SetStyle(smsValue);
  s->SetValueFormat("0.0");
  auto* t = new TDragMarksTool(&S.form);
  t->SetParentChart(S.chart);
  S.Paint();
  // Two marks moved as a drag would: below one point, up and left of another.
  for (auto [index, dx, dy] : {std::tuple{3, 20, 80}, std::tuple{6, -70, -60}}) {
    TSeriesMarkPosition& p = s->Marks()->Positions().Position(index);
    p.Custom = true;
    p.LeftTop = {p.LeftTop.X + dx, p.LeftTop.Y + dy};
  }
  s->Repaint();
}

TSeriesAnimationTool* BuildAnimation(NearScene& S) {
  auto* s = S.Add<TBarSeries>(12, 0, 50);
  s->SetColorEachPoint(true);
  for (TChartAxis* a : {S.chart->LeftAxis()}) {
    a->SetAutomatic(false);
    a->SetAutomaticMinimum(false);
    a->SetAutomaticMaximum(false);
    a->SetMinMax(0, 80);
  }
  auto* t = new TSeriesAnimationTool(&S.form);
  t->SetParentChart(S.chart);
  t->SetSeries(s);
  t->SetStartAtMin(false);
  return t;
}

}  // namespace

bool SnapNearScenes(const std::string& Dir) {
  bool ok = true;
  {
    NearScene s("nearest");
    BuildNearest(s, false);
    ok &= s.Save(Dir + "tools_nearest.png");
  }
  {
    // Zoomed in after the tools found their points; two follow the mouse over the
    // left axis' labels.
    NearScene s("nearest zoomed");
    BuildNearest(s, false);
    TChartAxis* h = s.chart->BottomAxis();
    TChartAxis* v = s.chart->LeftAxis();
    s.chart->ZoomRect({h->CalcPosValue(3.6), v->CalcPosValue(118), h->CalcPosValue(9.4), v->CalcPosValue(30)});
    s.Paint();
    const TRect z = s.chart->ChartRect();
    // The other two keep the points they found before the zoom, now outside the plot.
    for (int i : {0, 2})
      static_cast<TNearestTool*>(s.chart->Tools()->GetTool(i))->ChartMouseEvent(cmeMove, mbLeft, 0, z.Left - 12, z.Top + 30 * i);
    ok &= s.Save(Dir + "tools_nearest_zoomed.png");
  }
  {
    NearScene s("marktip");
    BuildMarkTips(s, false);
    ok &= s.Save(Dir + "tools_marktip.png");
  }
  {
    NearScene s("dragmarks");
    BuildDragMarks(s);
    ok &= s.Save(Dir + "tools_dragmarks.png");
  }
  {
    NearScene s("animation at step 50");
    TSeriesAnimationTool* t = BuildAnimation(s);
    s.Paint();
    bool saved = false;
    t->OnStep = [&](TSeriesAnimationTool* T, int Step) {
      if (Step != 50) return;
      s.chart->Invalidate();
      saved = s.Save(Dir + "tools_animation.png");
      T->Stop();
    };
    t->Execute();
    ok &= saved;
  }
  return ok;
}

const std::vector<std::string>& NearSceneNames() {
  static const std::vector<std::string> names = {"nearest", "marktip", "dragmarks", "animation"};
  return names;
}

int RunNearSceneLive(const std::string& Name) {
  NearScene s(Name);
  TSeriesAnimationTool* animation = nullptr;
  if (Name == "nearest") BuildNearest(s, true);
  else if (Name == "marktip") BuildMarkTips(s, true);
  else if (Name == "dragmarks") BuildDragMarks(s);
  else if (Name == "animation") animation = BuildAnimation(s);
  else return -1;
  s.form.OnClose = [animation](TObject*, TCloseAction&) {
    if (animation) animation->Stop();
    Application->Terminate();
  };
  s.Paint();
  if (animation) {
    // Grows and shrinks until the window closes.
    animation->SetLoop(salCircular);
    animation->SetDelay(10);
    animation->Execute();
  }
  while (!Application->Terminated()) Application->HandleMessage();
  return 0;
}
