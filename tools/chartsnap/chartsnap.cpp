// chartsnap OUTDIR: headless pictures of the main window's two charts as the runs fill
// them (a monatomic, a diatomic and a longitudinal frame of the chain, and the
// monatomic and diatomic dispersion curves), written as PNG files for looking at.
// The window, its charts and the frames are the program's own. marks.png is a chart of
// its own showing the kinds of series marks, drawn through CreateBitmap; then the axis
// kinds on charts of their own (axes_scenes.cpp); gallery.png shows the nine standard
// series as the gallery prepares them, flat and in 3D; legend_*.png show a legend in
// each of its four alignments (legend_scenes.cpp); then the chart tools
// (tools_scenes.cpp), the financial and statistical series (analysis_scenes.cpp),
// 3D walls (walls_scenes.cpp) and the view tools (view_scenes.cpp). chartsnap --live
// SCENE shows a tools scene in a real window until it is closed; --help lists them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/chain.h"
#include "app/window.h"
#include "app/mainwindow.h"
#include "analysis_scenes.h"
#include "axes_scenes.h"
#include "function_scenes.h"
#include "legend_scenes.h"
#include "near_scenes.h"
#include "tools_scenes.h"
#include "view_scenes.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/marks.h"
#include "platform/controls.h"
#include "platform/snapshot.h"
#include "snapout.h"
#include "toolargs.h"
#include "walls_scenes.h"

namespace {

bool Save(TChart* Chart, const std::string& Path) {
  return WritePng(Chart, Path);
}

// Three point series whose marks show several styles: framed, shadowed, bevelled,
// one with rounded corners (bevel and shadow bent round them) and a symbol, one with an arrow-headed callout.
bool SaveMarksScene(const std::string& Path) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 520, 340);
  chart.SetView3D(false);
  const TSeriesMarksStyle styles[] = {smsLabelValue, smsPercent, smsXY};
  const char* const labels[] = {"Ar", "Ne", "Kr", "Xe", "He"};
  for (int k = 0; k < 3; ++k) {
    auto* s = new TPointSeries(&chart);
    s->SetParentChart(&chart);
    for (int i = 0; i < 5; ++i) s->AddXY(i + 0.25 * k, 12 + 9 * k + ((i * 7 + k * 3) % 5) * 6, labels[i]);
    TSeriesMarks* m = s->Marks();
    m->Show();
    m->SetStyle(styles[k]);
    m->Frame()->SetColor(clGray);
    m->SetBevel(bvRaised);
    m->Shadow()->SetVisible(true);
    m->Shadow()->SetSize(3);
    m->Shadow()->SetTransparency(40);
    m->Callout()->SetLength(14);
    if (k == 0) m->SetMultiLine(true);
    if (k == 1) {
      m->SetShapeStyle(fosRoundRectangle);
      m->SetRoundSize(12);
      m->SetBevelWidth(2);
      m->Symbol()->Show();
      m->SetColor(0xE0F0FF);
    }
    if (k == 2) {
      m->SetColor(0xFFF0E0);
      m->Callout()->SetLength(28);
      m->Callout()->SetArrowHead(ahSolid);
      m->Callout()->SetArrowHeadSize(8);
      m->Callout()->SetDistance(4);
      m->Callout()->Arrow()->SetColor(clNavy);
    }
  }
  std::unique_ptr<TBitmap> bmp(chart.CreateBitmap(clWhite, Rect(0, 0, chart.Width(), chart.Height())));
  TForm host(nullptr);
  host.SetBounds(0, 0, chart.Width(), chart.Height());
  auto* image = new TImage(&host);
  image->SetBounds(0, 0, chart.Width(), chart.Height());
  image->SetParent(&host);
  image->Picture()->SetBitmap(bmp.get());
  const bool ok = bmp && WritePng(image, Path);
  return ok;
}

// The nine standard series in gallery cells: the first three rows flat, the last
// three in 3D.
bool SaveGallery(const std::string& Path) {
  constexpr int CellW = 200, CellH = 150, Cols = 3;
  TChartSeries::SetRandomSeed(7);
  TForm host(nullptr);
  std::vector<TLumSeriesType*> types;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i)
    if (!LumSeriesTypes().Get(i)->FunctionClass) types.push_back(LumSeriesTypes().Get(i));
  const int rows = int(types.size() + Cols - 1) / Cols;
  host.SetBounds(0, 0, CellW * Cols, CellH * rows * 2);
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < types.size(); ++i) {
      auto* chart = new TChart(&host);
      const int cell = int(i) + pass * rows * Cols;
      chart->SetBounds((cell % Cols) * CellW, (cell / Cols) * CellH, CellW, CellH);
      chart->SetParent(&host);
      chart->Legend()->Hide();
      std::string name = GallerySeriesName(types[i]->ActualSeriesClass());
      std::replace(name.begin(), name.end(), '\r', ' ');
      chart->Title()->Text()->Add(name);
      TChartSeries* s = CreateNewSeries(&host, chart, types[i]->ActualSeriesClass());
      s->SetChartView3D(pass == 1);
      s->PrepareForGallery(true);
    }
  host.Show();
  return WritePng(&host, Path);
}

std::vector<std::string> LiveScenes() {
  std::vector<std::string> names = ToolSceneNames();
  for (const auto* more : {&NearSceneNames(), &ViewToolSceneNames()})
    names.insert(names.end(), more->begin(), more->end());
  return names;
}

std::string Usage() {
  return "usage: chartsnap OUTDIR\n"
         "       chartsnap --live SCENE\n"
         "OUTDIR (which must exist) gets a PNG of every scene: the main window's chain and\n"
         "dispersion charts, series marks, axis kinds, the series gallery, legends, the chart\n"
         "tools, the analysis series, 3D walls, the analysis functions and the view tools.\n"
         "--live shows one scene in a real window until it is closed; SCENE is one of\n" +
         toolargs::NameLines(LiveScenes());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return toolargs::NoArguments(Usage());
  if (toolargs::IsHelp(args[0])) return toolargs::Help(Usage());
  if (args[0] == "--live") {
    if (args.size() != 2) return toolargs::Wrong("chartsnap", "--live takes one SCENE");
    const std::string& name = args[1];
    const std::vector<std::string> live = LiveScenes();
    if (std::find(live.begin(), live.end(), name) == live.end())
      return toolargs::Wrong("chartsnap", "unknown scene '" + name + "'");
    // On the desktop's own platform, for driving with a real mouse.
    TUnitTable units(PhonarkUnits());
    units.Initialize();
    if (const int r = RunNearSceneLive(name); r != -1) return r;
    const std::vector<std::string>& view = ViewToolSceneNames();
    if (std::find(view.begin(), view.end(), name) != view.end()) return RunViewToolSceneLive(name);
    return RunToolSceneLive(name);
  }
  if (toolargs::IsOption(args[0])) return toolargs::Wrong("chartsnap", "unknown option '" + args[0] + "'");
  if (args.size() != 1) return toolargs::Wrong("chartsnap", "unexpected argument '" + args[1] + "'");
  if (!std::filesystem::is_directory(args[0])) {
    std::fprintf(stderr, "chartsnap: OUTDIR '%s' is not a directory\n", args[0].c_str());
    return 1;
  }
  const std::string dir = args[0] + "/";
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  bool ok = true;
  {
    using namespace Chain;
    TMainWindow window;
    window.SetKPosition(300);
    window.SetMasses(8, 4);
    window.Run(cmMonatomic, 1);
    window.DrawTransverseStep(cmMonatomic, 40);
    ok &= Save(window.ChainChart(), dir + "chain_monatomic.png");
    window.DrawCurve(cmMonatomic);
    ok &= Save(window.DispersionChart(), dir + "dispersion_monatomic.png");
    window.Run(cmDiatomic, 1);
    window.DrawTransverseStep(cmDiatomic, 40);
    ok &= Save(window.ChainChart(), dir + "chain_diatomic.png");
    window.DrawCurve(cmDiatomic);
    ok &= Save(window.DispersionChart(), dir + "dispersion_diatomic.png");
    window.SetLongitudinal(true);
    window.Run(cmMonatomic, 39);
    ok &= Save(window.ChainChart(), dir + "chain_longitudinal.png");
    ok &= SaveMarksScene(dir + "marks.png");
    ok &= SnapAxesScenes(dir);
    ok &= SaveGallery(dir + "gallery.png");
    ok &= SnapLegendScenes(dir);
    ok &= SnapToolScenes(dir);
    ok &= SnapNearScenes(dir);
    ok &= SnapViewToolScenes(dir);
    ok &= SnapAnalysisScenes(dir);
    ok &= SnapWallsScenes(dir);
    ok &= SnapFunctionScenes(dir);
  }
  return ok ? 0 : 1;
}
