// charteditor: the chart editor on a chart, or one of its pages beside the chart,
// live or as PNGs.
//
//   charteditor [--chart CHART]                 the whole editor on the chart in a real
//                                               window until it is closed
//   charteditor --page PAGE [--chart CHART]     the page beside the chart in a real
//                                               window until it is closed; every change
//                                               shows on the chart at once
//   charteditor --snap OUTDIR [--page PAGE] [--chart CHART]
//                                               headless: OUTDIR/CHART_PAGE.png of every
//                                               page (or PAGE), one more picture per tab
//                                               of each of its page controls and per view
//                                               of the page's table line, and (without
//                                               PAGE) the increment dialog and the whole
//                                               editor on each of its pages, with and
//                                               without its tree, series groups shown
//                                               (OUTDIR/CHART_editor[_tree]_PAGE.png)
//
// CHART is "sample" (the shared sample chart, the default), "chain" or "dispersion"
// (the program's charts as its window builds and fills them). A page joins with one
// function and one line of the table; the states worth a picture are its views.
// Pictures start from the editor's default settings, in a settings store of their own.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/chain.h"
#include "app/window.h"
#include "canvas/comboflat.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "editor/axispage.h"
#include "editor/chartedit.h"
#include "editor/funceditor.h"
#include "editor/generalpage.h"
#include "editor/legendpage.h"
#include "editor/pagingpage.h"
#include "editor/panelpages.h"
#include "editor/pointereditor.h"
#include "editor/seriespage.h"
#include "editor/toolspage.h"
#include "editor/view3dpage.h"
#include "gallery/editortools.h"
#include "platform/registry.h"
#include "platform/stdctrls.h"
#include "samples/samplechart.h"
#include "snapout.h"
#include "toolargs.h"

namespace {

// ---- The pages -----------------------------------------------------------------
// Each makes its page for the chart, owned by Owner and embedded in Parent as the
// chart editor embeds it.

// The series a series-level page edits: the last one computed by a function, else the
// last one.
TChartSeries* EditedSeries(TChart* Chart) {
  TChartSeries* last = nullptr;
  for (TChartSeries* s : Chart->SeriesList()) {
    if (s->FunctionType()) last = s;
    else if (!last || !last->FunctionType()) last = s;
  }
  return last;
}

TForm* FunctionPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TLumFuncEditor(Owner);
  EmbedEditorFormWithTag(page, Parent, std::intptr_t(EditedSeries(Chart)));
  return page;
}

// The series the series and pointer pages edit: the first with a pointer that shows
// it (a point series), else the first with a pointer, else the first.
TChartSeries* PointerSeries(TChart* Chart) {
  TChartSeries* found = nullptr;
  for (TChartSeries* s : Chart->SeriesList()) {
    auto* c = dynamic_cast<TCustomSeries*>(s);
    if (c && c->Pointer()->Visible()) return s;
    if (c && !found) found = s;
  }
  return found ? found : Chart->SeriesCount() ? Chart->Series(0) : nullptr;
}

TForm* SeriesPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumSeries(Owner);
  EmbedEditorForm(page, Parent);
  page->SelectSeries(PointerSeries(Chart));
  return page;
}

TForm* PointerPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TSeriesPointerEditor(Owner);
  page->SetAlign(alNone);
  EmbedEditorFormWithTag(page, Parent, std::intptr_t(PointerSeries(Chart)));
  return page;
}

TForm* ToolsPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumTools(Owner);
  page->SetToolList(Chart->Tools());
  EmbedEditorForm(page, Parent);
  return page;
}

TForm* AnimationsPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumAnimations(Owner);
  page->SetToolList(Chart->Animations());
  EmbedEditorForm(page, Parent);
  return page;
}

// The chart-level pages take their chart when made.
template <class P>
TForm* ChartLevelPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new P(Owner, Chart);
  EmbedEditorForm(page, Parent);
  return page;
}

// Further states of a page worth a picture: the page made as a user would make it.
struct TView {
  const char* Name;
  void (*Apply)(TForm* Page);
};

// The function page with another function class chosen (its options page shown).
template <const char* Class>
void ChooseFunction(TForm* Page) {
  auto* page = dynamic_cast<TLumFuncEditor*>(Page);
  const int i = page ? page->CBSources->Items()->IndexOf(Class) : -1;
  if (i < 0) return;
  page->CBSources->SetItemIndex(i);
  page->CBSourcesChange(page->CBSources);
}
// The paging page with five points a page, on the third page.
void PagedThrough(TForm* Page) {
  auto* page = dynamic_cast<TFormLumPage*>(Page);
  if (!page) return;
  page->SEPointsPerPage->SetText("5");
  for (int i = 0; i < 2; ++i) page->ChartPageNavigator1->Buttons(nbNext)->Click();
}

constexpr char High[] = "High", CLV[] = "Close Location Value", Perimeter[] = "Perimeter";

// The series page with another data source chosen, on its Data Source tab.
template <const char* Style>
void DataSource(TForm* Page) {
  auto* page = dynamic_cast<TFormLumSeries*>(Page);
  if (!page) return;
  page->PageSeries->SetActivePage(page->TabDataSource);
  page->PageSeriesChange(page->PageSeries);
  page->CBDataSourcestyle->SetItemIndex(page->CBDataSourcestyle->Items()->IndexOf(Style));
  page->CBDataSourcestyleChange(page->CBDataSourcestyle);
}
constexpr char Random[] = "Random", Series[] = "Series", Function[] = "Function";

// A combo's item chosen as a user chooses it (a choice made by code tells nobody).
void PickItem(TComboFlat* Combo, int Index) {
  Combo->SetItemIndex(Index);
  if (Combo->OnChange.Assigned()) Combo->OnChange(Combo);
}

// The chart-level pages, each on the object it edits; their view is one change made
// through the page's controls, which the chart beside it shows.
TForm* AxisPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumAxis(Owner, Chart->LeftAxis());
  EmbedEditorForm(page, Parent);
  return page;
}

void AxisInverted(TForm* Page) { static_cast<TFormLumAxis*>(Page)->CBInverted->SetChecked(true); }

TForm* LegendPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumLegend(Owner, Chart->Legend());
  EmbedEditorForm(page, Parent);
  return page;
}

void LegendAtBottom(TForm* Page) { static_cast<TFormLumLegend*>(Page)->RGPosition->SetItemIndex(3); }

TForm* PanelPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumPanel(Owner, Chart);
  EmbedEditorForm(page, Parent);
  return page;
}

void PanelLeftMargin(TForm* Page) { static_cast<TFormLumPanel*>(Page)->UDLeftMa->SetPosition(15); }

TForm* TitlesPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumTitle(Owner, Chart->Title(), Chart);
  EmbedEditorForm(page, Parent);
  return page;
}

void TitleRight(TForm* Page) { PickItem(static_cast<TFormLumTitle*>(Page)->CBAlign, 2); }

TForm* WallsPage(TComponent* Owner, TChart* Chart, TWinControl* Parent) {
  auto* page = new TFormLumWall(Owner, Chart->BackWall());
  EmbedEditorForm(page, Parent);
  return page;
}

void WallsThick(TForm* Page) { static_cast<TFormLumWall*>(Page)->UDAllSize->SetPosition(8); }

struct TPageEntry {
  const char* Name;
  TForm* (*Make)(TComponent* Owner, TChart* Chart, TWinControl* Parent);
  int Width, Height;  // the page's client size, as the chart editor gives it
  std::vector<TView> Views = {};
};

const TPageEntry Pages[] = {
    {"Series",
     SeriesPage,
     390,
     363,
     {{"random", DataSource<Random>}, {"series", DataSource<Series>}, {"function", DataSource<Function>}}},
    {"Function",
     FunctionPage,
     380,
     280,
     {{"high", ChooseFunction<High>}, {"clv", ChooseFunction<CLV>}, {"perimeter", ChooseFunction<Perimeter>}}},
    {"Pointer", PointerPage, 366, 276},
    {"Tools", ToolsPage, 404, 270},
    {"Animations", AnimationsPage, 404, 270},
    {"Axis", AxisPage, 470, 290, {{"inverted", AxisInverted}}},
    {"Legend", LegendPage, 470, 290, {{"bottom", LegendAtBottom}}},
    {"Panel", PanelPage, 420, 280, {{"margin", PanelLeftMargin}}},
    {"Titles", TitlesPage, 420, 280, {{"right", TitleRight}}},
    {"Walls", WallsPage, 420, 280, {{"thick", WallsThick}}},
    {"General", ChartLevelPage<TFormLumGeneral>, 440, 292},
    {"Paging", ChartLevelPage<TFormLumPage>, 420, 285, {{"paged", PagedThrough}}},
    {"3D", ChartLevelPage<TFormLum3D>, 420, 285},
};

// The editor's dialogs, shown on their own.
bool IncrementDialog(const std::string& Base, bool DateTime);

const char* const Charts[] = {"sample", "chain", "dispersion"};

// Delivers what showing and changing the forms posted (paints among it).
void Settle() {
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// ---- The host window -----------------------------------------------------------
// The chart on the left, the page in a panel on its right. The program's charts are
// borrowed from its window (hidden meanwhile) and given back.
class THost {
public:
  // Page nullptr: the chart alone, for the whole editor.
  THost(Chain::TMainWindow& Window, const std::string& ChartName, const TPageEntry* Page) : window_(&Window) {
    using namespace Chain;
    window_->Form()->Hide();
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetName("ChartEditorHost");
    form_->SetCaption(std::string("charteditor ") + (Page ? Page->Name : ChartName.c_str()));
    if (ChartName == "sample") {
      chart_ = BuildSampleChart(form_.get(), form_.get());
    } else {
      window_->SetKPosition(300);
      window_->SetMasses(8, 4);
      window_->Run(cmDiatomic, 1);
      window_->DrawTransverseStep(cmDiatomic, 40);
      window_->DrawCurve(cmDiatomic);
      chart_ = ChartName == "chain" ? window_->ChainChart() : window_->DispersionChart();
      parent_ = chart_->Parent();
      bounds_ = chart_->BoundsRect();
      chart_->SetParent(form_.get());
      chart_->SetBounds(0, 0, std::max(bounds_.Width(), 480), std::max(bounds_.Height(), 360));
    }
    chart_->SetLeft(0);
    chart_->SetTop(0);
    panel_ = new TPanel(form_.get());
    panel_->SetName("PagePanel");
    panel_->SetBevelOuter(bvNone);
    panel_->SetBounds(chart_->Width(), 0, Page ? Page->Width + 8 : 0, Page ? Page->Height + 8 : 0);
    panel_->SetParent(form_.get());
    form_->SetBounds(40, 40, chart_->Width() + panel_->Width(), std::max(chart_->Height(), panel_->Height()));
    form_->Show();
    Settle();  // the chart laid out once, as the editor finds it
    if (Page) page_ = Page->Make(form_.get(), chart_, panel_);
    Settle();
  }
  ~THost() {
    delete page_;
    if (parent_) {
      chart_->SetParent(parent_);
      chart_->SetBounds(bounds_.Left, bounds_.Top, bounds_.Width(), bounds_.Height());
    }
    form_.reset();
  }
  TForm* Form() const { return form_.get(); }
  TForm* Page() const { return page_; }
  TChart* Chart() const { return chart_; }

private:
  Chain::TMainWindow* window_;
  std::unique_ptr<TForm> form_;
  TChart* chart_ = nullptr;
  TPanel* panel_ = nullptr;
  TForm* page_ = nullptr;
  TWinControl* parent_ = nullptr;
  TRect bounds_{};
};

// ---- Snapshots -----------------------------------------------------------------
bool Snap(TControl* Control, const std::string& File) {
  Settle();
  return WritePng(Control, File);
}

// Every page control of the page and of the forms embedded in it, outermost first.
void CollectPageControls(TComponent* Root, std::vector<TPageControl*>& Found) {
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    if (auto* pc = dynamic_cast<TPageControl*>(c)) Found.push_back(pc);
    CollectPageControls(c, Found);
  }
}

void CollectTabControls(TComponent* Root, std::vector<TTabControl*>& Found) {
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    if (auto* tc = dynamic_cast<TTabControl*>(c)) Found.push_back(tc);
    CollectTabControls(c, Found);
  }
}

// Makes the tab show: it and every tab sheet it sits in become their control's page,
// each told as a user's pick tells it (pages build and fill their tabs then).
void Reveal(TTabSheet* Tab) {
  std::vector<TTabSheet*> chain;
  for (TWinControl* w = Tab; w; w = w->Parent())
    if (auto* t = dynamic_cast<TTabSheet*>(w)) chain.push_back(t);
  for (auto t = chain.rbegin(); t != chain.rend(); ++t) {
    TPageControl* pc = (*t)->PageControl();
    if (!pc || pc->ActivePage() == *t) continue;
    bool allow = true;
    if (pc->OnChanging) pc->OnChanging(pc, allow);
    pc->SetActivePage(*t);
    if (pc->OnChange) pc->OnChange(pc);
  }
}

std::string FileWord(const std::string& Caption) {
  std::string w;
  for (char c : Caption)
    if (std::isalnum(static_cast<unsigned char>(c))) w += char(std::tolower(static_cast<unsigned char>(c)));
  return w;
}

// "_marks_style" for the tab "Style" inside the tab "Marks": nested tabs of one
// caption keep files of their own.
std::string TabWords(TTabSheet* Tab) {
  std::string words;
  for (TWinControl* w = Tab; w; w = w->Parent())
    if (auto* t = dynamic_cast<TTabSheet*>(w)) words = "_" + FileWord(t->Caption()) + words;
  return words;
}

// The host, then each visible tab of every page control in the page.
bool SnapTabs(THost& Host, const std::string& Base) {
  bool ok = Snap(Host.Form(), Base + ".png");
  std::vector<TPageControl*> controls;
  CollectPageControls(Host.Page(), controls);
  for (TPageControl* pc : controls) {
    for (int i = 0; i < pc->PageCount(); ++i) {
      TTabSheet* tab = pc->Pages(i);
      if (!tab->TabVisible()) continue;
      Reveal(tab);
      ok &= Snap(Host.Form(), Base + TabWords(tab) + ".png");
    }
  }
  // Tab controls (one area whose contents follow the tab) too, told as a click tells.
  std::vector<TTabControl*> tabs;
  CollectTabControls(Host.Page(), tabs);
  for (TTabControl* tc : tabs) {
    for (int i = 0; i < tc->Tabs()->Count(); ++i) {
      tc->SetTabIndex(i);
      if (tc->OnChange.Assigned()) tc->OnChange(tc);
      ok &= Snap(Host.Form(), Base + "_" + FileWord(tc->Tabs()->Strings(i)) + ".png");
    }
  }
  return ok;
}

bool SnapPage(Chain::TMainWindow& Window, const std::string& ChartName, const TPageEntry& Page,
              const std::string& Dir) {
  THost host(Window, ChartName, &Page);
  const std::string base = Dir + ChartName + "_" + FileWord(Page.Name);
  bool ok = SnapTabs(host, base);
  for (const TView& v : Page.Views) {
    v.Apply(host.Page());
    ok &= SnapTabs(host, base + "_" + v.Name);
  }
  return ok;
}

// The increment dialog as the axis page opens it, for a number or a date-time axis.
bool IncrementDialog(const std::string& Base, bool DateTime) {
  std::unique_ptr<TAxisIncrement> d(new TAxisIncrement(nullptr));
  d->SetCaption("Desired Bottom Axis Increment");
  d->IsDateTime = DateTime;
  d->IsExact = DateTime;
  d->Increment = DateTime ? 7 : 2.5;
  d->Step = DateTime ? 19 : 27;
  d->Show();
  return Snap(d.get(), Base + ".png");
}

int RunLive(Chain::TMainWindow& Window, const std::string& ChartName, const TPageEntry& Page) {
  THost host(Window, ChartName, &Page);
  host.Form()->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
  while (!Application->Terminated()) Application->HandleMessage();
  return 0;
}

// ---- The whole editor ---------------------------------------------------------------
struct TEditorPage {
  const char* Name;
  int Page;
};

const TEditorPage EditorPages[] = {
    {"serieslist", epSeriesList}, {"general", epGeneral}, {"axis", epAxis},     {"titles", epTitles},
    {"legend", epLegend},         {"panel", epPanel},     {"paging", epPaging}, {"walls", epWalls},
    {"3d", ep3D},                 {"series", epSeries},   {"data", epData},     {"tools", epTools},
    {"animations", epAnimations}, {"export", epExport},   {"print", epPrint},
};

// The editor as EditChart makes it, shown (not modally) on every page in turn.
bool SnapEditor(Chain::TMainWindow& Window, const std::string& ChartName, const std::string& Dir, bool Tree) {
  THost host(Window, ChartName, nullptr);
  TComponentRef<TChartEditForm> editor(new TChartEditForm(host.Form()));
  editor->Options |= ceoGroups;
  editor->Tree->SetVisible(Tree);
  editor->SetChart(host.Chart());
  editor->Show();
  Settle();
  bool ok = true;
  const std::string base = Dir + ChartName + (Tree ? "_editor_tree_" : "_editor_");
  for (const TEditorPage& p : EditorPages) {
    editor->ShowPage(p.Page);
    ok &= Snap(editor.Get(), base + p.Name + ".png");
  }
  delete editor.Get();
  return ok;
}

int RunEditor(Chain::TMainWindow& Window, const std::string& ChartName) {
  THost host(Window, ChartName, nullptr);
  EditChart(host.Form(), host.Chart());
  return 0;
}

// Pictures start from the default settings, and leave the user's alone.
void UseOwnSettings() {
  char dir[] = "/tmp/charteditor-XXXXXX";
  if (mkdtemp(dir)) SetRegistryRoot(dir);
}

std::vector<std::string> PageNames() {
  std::vector<std::string> names;
  for (const TPageEntry& p : Pages) names.push_back(p.Name);
  return names;
}

std::string Usage() {
  return "usage: charteditor [--chart CHART]\n"
         "       charteditor --page PAGE [--chart CHART]\n"
         "       charteditor --snap OUTDIR [--page PAGE] [--chart CHART]\n"
         "Shows the chart editor on a chart, or an editor page beside the chart, in a real\n"
         "window until it is closed, or with --snap writes OUTDIR/CHART_PAGE.png (and one\n"
         "picture per tab) and the whole editor on each page headless.\n"
         "CHART is sample (the default), chain or dispersion; PAGE is one of\n" +
         toolargs::NameLines(PageNames());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && toolargs::IsHelp(args[0])) return toolargs::Help(Usage());
  std::string page, chart = "sample", snap;
  bool snapping = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--page" && a != "--chart" && a != "--snap")
      return toolargs::Wrong("charteditor", toolargs::IsOption(a) ? "unknown option '" + a + "'"
                                                                   : "unexpected argument '" + a + "'");
    if (i + 1 >= args.size()) return toolargs::Wrong("charteditor", a + " takes a value");
    const std::string& v = args[++i];
    if (a == "--page") page = v;
    else if (a == "--chart") chart = v;
    else snap = v, snapping = true;
  }
  const TPageEntry* only = nullptr;
  for (const TPageEntry& p : Pages)
    if (page == p.Name) only = &p;
  if (!page.empty() && !only) return toolargs::Wrong("charteditor", "unknown page '" + page + "'");
  if (std::find(std::begin(Charts), std::end(Charts), chart) == std::end(Charts))
    return toolargs::Wrong("charteditor", "unknown chart '" + chart + "'");
  if (snapping && !std::filesystem::is_directory(snap)) {
    std::fprintf(stderr, "charteditor: OUTDIR '%s' is not a directory\n", snap.c_str());
    return 1;
  }
  if (snapping) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Chain::TMainWindow window;  // the program's units and window, for its charts
  if (!snapping) return only ? RunLive(window, chart, *only) : RunEditor(window, chart);
  UseOwnSettings();
  bool ok = true;
  // The whole editor first: the pages' views below change the program's charts.
  if (!only)
    for (bool tree : {false, true}) ok &= SnapEditor(window, chart, snap + "/", tree);
  for (const TPageEntry& p : Pages)
    if (!only || only == &p) ok &= SnapPage(window, chart, p, snap + "/");
  if (!only) {
    ok &= IncrementDialog(snap + "/increment_number", false);
    ok &= IncrementDialog(snap + "/increment_datetime", true);
  }
  return ok ? 0 : 1;
}
