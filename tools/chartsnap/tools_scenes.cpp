// Pictures of the chart tools over a line series: cursors in each scope style, the
// five draw-line styles with the selected line's handles, and annotations in the
// five places with a callout beside a rectangle tool. The same scenes run live in a
// real window for driving with a desktop's mouse.
#include "tools_scenes.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "analysis/tools_annotation.h"
#include "band_scenes.h"
#include "analysis/tools_cursor.h"
#include "analysis/tools_drawline.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "snapout.h"

namespace {

struct Scene {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TChart* chart = new TChart(form.get());
  TLineSeries* series = new TLineSeries(form.get());
  explicit Scene(const char* Title) {
    form->SetBounds(40, 40, 560, 380);
    form->SetCaption(Title);
    chart->SetParent(form.get());
    chart->SetBounds(0, 0, 560, 380);
    chart->SetView3D(false);
    chart->Title()->Text()->Add(Title);
    chart->Legend()->Hide();
    for (TChartAxis* a : {chart->BottomAxis(), chart->LeftAxis()}) {
      a->SetAutomatic(false);
      a->SetAutomaticMinimum(false);
      a->SetAutomaticMaximum(false);
      a->SetMinMax(0, 100);
    }
    series->SetParentChart(chart);
    series->Marks()->Hide();
    for (int i = 0; i <= 50; ++i) series->AddXY(i * 2, 50 + 30 * std::sin(i * 0.25));
  }
  void Paint() {
    form->Show();
    chart->Invalidate();
    chart->Update();
  }
  bool Save(const std::string& Path) {
    Paint();
    return WritePng(chart, Path);
  }
};

void BuildCursors(Scene& S) {
  const TScopeCursorStyle styles[] = {scsRectangle, scsCircle, scsDiamond, scsEmpty, scsCamera};
  const TColor colors[] = {clRed, clBlue, clGreen, clPurple, clNavy};
  std::vector<TCursorTool*> tools;
  for (int i = 0; i < 5; ++i) {
    auto* c = new TCursorTool(S.form.get());
    c->SetStyle(cssScope);
    c->SetScopeStyle(styles[i]);
    c->SetScopeSize(6);
    c->SetHorizSize(22);
    c->SetVertSize(22);
    c->Pen()->SetColor(colors[i]);
    c->SetSeries(S.series);
    c->SetParentChart(S.chart);
    tools.push_back(c);
  }
  // The first paint places each cursor in the middle; then spread them out.
  S.Paint();
  for (int i = 0; i < 5; ++i) {
    tools[size_t(i)]->SetXValue(10 + i * 20);
    tools[size_t(i)]->SetYValue(50 + 30 * std::sin((5 + i * 10) * 0.25));
  }
  // One plain crossing cursor over the whole plot, snapping to the series.
  auto* full = new TCursorTool(S.form.get());
  full->SetSeries(S.series);
  full->SetSnap(true);
  full->SetParentChart(S.chart);
}

void BuildLines(Scene& S) {
  auto* t = new TDrawLineTool(S.form.get());
  t->SetParentChart(S.chart);
  t->Pen()->SetColor(clBlue);
  t->Pen()->SetWidth(2);
  const TDrawLineStyle styles[] = {dlLine, dlHorizParallel, dlVertParallel, dlRectangle, dlEllipse};
  for (int i = 0; i < 5; ++i) {
    TDrawLine* l = t->Lines()->AddLine();
    l->SetStyle(styles[i]);
    l->SetStartPos({4.0 + i * 19, 15});
    l->SetEndPos({18.0 + i * 19, 85.0 - i * 5});
  }
  t->SetSelected(t->Lines()->Line(0));
}

void BuildAnnotations(Scene& S) {
  const TAnnotationPosition places[] = {ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom, ppCenter};
  const char* const names[] = {"Left top", "Left bottom", "Right top", "Right bottom", "Centre\rtwo rows"};
  for (int i = 0; i < 5; ++i) {
    auto* a = new TAnnotationTool(S.form.get());
    a->SetParentChart(S.chart);
    a->SetText(names[i]);
    a->SetPosition(places[i]);
    a->Shape()->Margins()->SetUnits(maPixels);
    a->Shape()->Margins()->SetLeft(4);
    a->Shape()->Margins()->SetRight(4);
    a->Shape()->SetColor(0xE0FFFF);
    if (places[i] == ppCenter) {
      a->SetTextAlignment(taCenter);
      a->Callout()->Arrow()->Show();
      a->Callout()->Arrow()->SetColor(clRed);
      a->Callout()->SetArrowHead(ahSolid);
      a->Callout()->SetArrowHeadSize(8);
      a->Callout()->SetXPosition(S.chart->BottomAxis()->CalcPosValue(30));
      a->Callout()->SetYPosition(S.chart->LeftAxis()->CalcPosValue(50 + 30 * std::sin(15 * 0.25)));
    }
  }
  auto* r = new TRectangleTool(S.form.get());
  r->SetParentChart(S.chart);
  r->SetText("Rectangle");
  r->SetLeft(380);
  r->SetTop(90);
  r->SetWidth(110);
  r->SetHeight(60);
  r->Shape()->SetColor(clYellow);
}

bool Build(Scene& S, const std::string& Name) {
  if (Name == "cursor") BuildCursors(S);
  else if (Name == "drawline") BuildLines(S);
  else if (Name == "annotation") BuildAnnotations(S);
  else if (Name == "colorband") BuildColorBandScene(S.form.get(), S.chart);
  else if (Name == "gridband") BuildGridBandScene(S.form.get(), S.chart);
  else return false;
  return true;
}

}  // namespace

const std::vector<std::string>& ToolSceneNames() {
  static const std::vector<std::string> names = {"cursor", "drawline", "annotation", "colorband", "gridband"};
  return names;
}

bool SnapToolScenes(const std::string& Dir) {
  bool ok = true;
  for (const std::string& name : ToolSceneNames()) {
    Scene s(("Tools: " + name).c_str());
    s.Paint();
    Build(s, name);
    ok &= s.Save(Dir + "tools_" + name + ".png");
  }
  return ok;
}

int RunToolSceneLive(const std::string& Name) {
  Scene s((std::string("Tools: ") + Name).c_str());
  s.Paint();
  if (!Build(s, Name)) {
    std::fprintf(stderr, "chartsnap: unknown scene '%s'\n", Name.c_str());
    return 2;
  }
  s.form->SetCaption("chartsnap " + Name);
  s.form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
  s.chart->Invalidate();
  while (!Application->Terminated()) Application->HandleMessage();
  return 0;
}
