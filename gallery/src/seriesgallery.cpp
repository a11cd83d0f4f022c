#include "gallery/seriesgallery.h"

#include <algorithm>

#include "canvas/canvasunit.h"
#include "chart/palettes.h"
#include "chart/registry.h"
#include "engine/helpers.h"
#include "engine/settings.h"
#include "formbuild.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "platform/registry.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumGallery, TForm)
IMPLEMENT_CLASS(TLumGalleryForm, TForm)

TGalleryNewSeriesProc GalleryNewSeriesHook = nullptr;
TGalleryChangeTypeProc GalleryChangeTypeHook = nullptr;

namespace {

const char* const kSeriesTab = "Series";
const char* const kFunctionsTab = "Functions";
const char* const kSearchTab = "Search";
const char* const kSearchHint = "type to search";
constexpr int kDefaultPalette = 13, kMinSize = 100;

// A stored integer, only when the value exists.
bool ReadStoredSize(const std::string& Name, int& Value) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKeyReadOnly(LumEditorKey) || !reg.ValueExists(Name)) return false;
  Value = reg.ReadInteger(Name);
  return true;
}

void WriteStoredSize(const std::string& Name, int Value) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (reg.OpenKey(LumEditorKey, true)) reg.WriteInteger(Name, Value);
}

}  // namespace

TLumGallery::TLumGallery(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumGallery", "LumChart Gallery", 549, 463, bsSizeable);
  SetPosition(poScreenCenter);
  P1 = PlaceControl<TPanel>(this, this, "P1", 0, 420, 549, 43);
  P1->SetAlign(alBottom);
  P1->SetBevelOuter(bvNone);
  TabTypes = PlaceControl<TTabControl>(this, this, "TabTypes", 0, 0, 549, 420);
  TabTypes->SetAlign(alClient);
  TabTypes->SetHotTrack(true);
  TabPages = PlaceControl<TTabControl>(this, TabTypes, "TabPages", 4, 28, 541, 388);
  TabPages->SetAlign(alClient);
  ChartGalleryPanel1 = PlaceControl<TChartGalleryPanel>(this, TabPages, "ChartGalleryPanel1", 4, 28, 533, 356);
  ChartGalleryPanel1->SetAlign(alClient);
  ChartGalleryPanel1->SetBevelOuter(bvNone);
  ChartGalleryPanel1->SetTabStop(true);
  CB3D = PlaceControl<TCheckBox>(this, P1, "CB3D", 8, 13, 42, 17, "&3D");
  CB3D->SetChecked(true);
  CBSmooth = PlaceControl<TCheckBox>(this, P1, "CBSmooth", 54, 13, 66, 17, "&Smooth");
  ESearch = PlaceControl<TEdit>(this, P1, "ESearch", 124, 11, 108, 21);
  ESearch->SetText(kSearchHint);
  ESearch->Font()->SetColor(clSilver);
  CBPalette = PlaceControl<TComboFlat>(this, P1, "CBPalette", 238, 11, 136, 21);
  CBPalette->SetStyle(csDropDownList);
  CBPalette->SetDropDownCount(25);
  Button1 = PlaceControl<TButton>(this, P1, "Button1", 384, 9, 75, 25, "OK");
  Button1->SetModalResult(mrOk);
  Button1->SetDefault(true);
  Button2 = PlaceControl<TButton>(this, P1, "Button2", 466, 9, 75, 25, "Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);

  // Creation: the two type tabs and the palettes, sorted by name.
  ResetTypeTabs();
  FillColorPaletteList(CBPalette->Items(), true);
  CBPalette->SetSorted(true);
  TranslateControl(this);

  OnShow = HANDLER(FormShow);
  TabTypes->OnChange = HANDLER(TabTypesChange);
  TabPages->OnChange = HANDLER(TabPagesChange);
  CBPalette->OnChange = HANDLER(CBPaletteChange);
  CB3D->OnClick = HANDLER(CB3DClick);
  CBSmooth->OnClick = HANDLER(CBSmoothClick);
  ESearch->OnClick = HANDLER(ESearchClick);
  ESearch->OnChange = HANDLER(ESearchChange);
  ChartGalleryPanel1->OnSelectedChart = HANDLER(PanelSelected);
  RecordDefaults(this);
}

TLumGallery::~TLumGallery() {
  if (ReadEditorBooleanSetting("RememberGallerySize", true) && !(RequestedWidth > 0 && RequestedHeight > 0)) {
    WriteStoredSize("GalleryWidth", Width());
    WriteStoredSize("GalleryHeight", Height());
  }
}

void TLumGallery::ResetTypeTabs() {
  TabTypes->Tabs()->Clear();
  TabTypes->Tabs()->Add(kSeriesTab);
  TabTypes->Tabs()->Add(kFunctionsTab);
}

void TLumGallery::DeleteTypeTab(const std::string& Name) {
  const int i = TabTypes->Tabs()->IndexOf(Name);
  if (i >= 0) TabTypes->Tabs()->Delete(i);
}

void TLumGallery::FormShow(TObject*) {
  // A canvas class named by "GalleryRender" is used only when this program has it.
  if (ReadEditorIntegerSetting("GalleryRender", 0) != 0) {
    if (TClass c = FindCanvasClass("TGDIPlusCanvas")) {
      ChartGalleryPanel1->RenderClass = c;
      ChartGalleryPanel1->SetSmooth(false);
    }
  }
  CBSmooth->OnClick = {};
  CBSmooth->SetChecked(ChartGalleryPanel1->Smooth());
  CBSmooth->OnClick = HANDLER(CBSmoothClick);
  TabTypes->SetTabIndex(0);
  TabTypesChange(TabTypes);
  if (RequestedWidth > 0 && RequestedHeight > 0) {
    SetWidth(std::max(kMinSize, RequestedWidth));
    SetHeight(std::max(kMinSize, RequestedHeight));
  } else if (ReadEditorBooleanSetting("RememberGallerySize", true)) {
    int v = 0;
    if (ReadStoredSize("GalleryWidth", v)) SetWidth(std::max(kMinSize, v));
    if (ReadStoredSize("GalleryHeight", v)) SetHeight(std::max(kMinSize, v));
  }
}

void TLumGallery::TabTypesChange(TObject*) {
  FunctionsMode = FunctionsOnly || TabTypes->TabIndex() == 1;
  const std::string type = TabTypes->TabIndex() >= 0 ? TabTypes->Tabs()->Strings(TabTypes->TabIndex()) : "";
  TStrings* tabs = TabPages->Tabs();
  tabs->Clear();
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    const TLumSeriesType* e = LumSeriesTypes()[i];
    if (e->NumGallerySeries <= 0) continue;
    const std::string page = e->GalleryPageText();
    if (tabs->IndexOf(page) >= 0) continue;
    const bool isFunction = e->FunctionClass != nullptr;
    if ((FunctionsOnly && isFunction) || (!FunctionsOnly && type == kSeriesTab && !isFunction) ||
        (!FunctionsOnly && type == kFunctionsTab && isFunction))
      tabs->Add(page);
  }
  // "Standard" first; the first page takes its place.
  const int standard = tabs->IndexOf("Standard");
  if (standard > 0) {
    const std::string first = tabs->Strings(0);
    tabs->Put(0, tabs->Strings(standard));
    tabs->Put(standard, first);
  }
  TabPages->SetTabIndex(tabs->Count() > 0 ? 0 : -1);
  TabPagesChange(TabPages);
}

void TLumGallery::TabPagesChange(TObject*) {
  ChartGalleryPanel1->FunctionsMode = FunctionsOnly || TabTypes->TabIndex() == 1;
  ChartGalleryPanel1->SetView3D(CB3D->Checked());
  const int page = TabPages->TabIndex();
  if (page < 0) {
    ChartGalleryPanel1->SelectedChart = nullptr;
    ChartGalleryPanel1->Charts().Clear();
  } else {
    ChartGalleryPanel1->CreateGalleryPage(TabPages->Tabs()->Strings(page));
  }
  ApplyPalette();
}

void TLumGallery::ApplyPalette() {
  const int i = CBPalette->ItemIndex();
  if (i < 0) return;
  const int number = PaletteNumber(CBPalette->Items()->Objects(i));
  for (TGalleryChart* c : ChartGalleryPanel1->Charts()) {
    c->SetColorPaletteIndex(number);
    if (c->SeriesCount()) c->Series(0)->SetChartView3D(CB3D->Checked());
  }
}

void TLumGallery::CBPaletteChange(TObject*) { ApplyPalette(); }

void TLumGallery::CB3DClick(TObject*) {
  ChartGalleryPanel1->SetView3D(CB3D->Checked());
  ApplyPalette();
}

void TLumGallery::CBSmoothClick(TObject*) {
  ChartGalleryPanel1->SetSmooth(CBSmooth->Checked());
  WriteEditorBooleanSetting("SmoothGallery", CBSmooth->Checked());
}

void TLumGallery::ESearchClick(TObject*) {
  if (ESearch->Font()->Color() != clSilver) return;
  ESearch->OnChange = {};
  ESearch->SetText("");
  ESearch->OnChange = HANDLER(ESearchChange);
  ESearch->Font()->SetColor(clWindowText);
}

void TLumGallery::ESearchChange(TObject*) {
  if (ESearch->Font()->Color() == clSilver) return;  // the hint text itself
  const std::string text = UpperCase(Trim(ESearch->Text()));
  TStrings* types = TabTypes->Tabs();
  const bool searching = types->Count() > 0 && types->Strings(0) == kSearchTab;
  TChartGalleryPanel* panel = ChartGalleryPanel1;
  if (text.empty()) {
    if (searching) {
      ResetTypeTabs();
      TabTypes->SetTabIndex(0);
      TabTypesChange(TabTypes);
      if (ESearch->CanFocus()) ESearch->SetFocus();
    }
    return;
  }
  if (!searching) {
    TabPages->Tabs()->Clear();
    types->Clear();
    types->Add(kSearchTab);
    TabTypes->SetTabIndex(0);
  }
  panel->SelectedChart = nullptr;
  panel->Charts().Clear();
  const int most = std::max(0, panel->NumRows()) * std::max(0, panel->NumCols());
  for (int i = 0; i < LumSeriesTypes().Count() && panel->Charts().Count() < most; ++i) {
    const TLumSeriesType* e = LumSeriesTypes()[i];
    if (e->NumGallerySeries <= 0 || (e->FunctionClass != nullptr) != FunctionsMode) continue;
    if (UpperCase(e->DescriptionText()).find(text) == std::string::npos) continue;
    panel->CreateChart(*e)->SetParentColor(true);
  }
  panel->ShowSelectedChart();
  ApplyPalette();
}

void TLumGallery::PanelSelected(TObject*) { SetModalResult(mrOk); }

// ---------------------------------------------------------------------------
TLumGalleryForm::TLumGalleryForm(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumGalleryForm", "LumChart Pro Gallery", 586, 379, bsSizeable);
  SetKeyPreview(true);
  Panel1 = PlaceControl<TPanel>(this, this, "Panel1", 0, 0, 586, 31);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  CBPage = PlaceControl<TComboFlat>(this, Panel1, "CBPage", 60, 5, 160, 21);
  CBPage->SetStyle(csDropDownList);
  CBPage->SetDropDownCount(25);
  Label1 = PlaceLabel(this, Panel1, "Label1", 8, 9, "&Gallery:", CBPage);
  CB3D = PlaceControl<TCheckBox>(this, Panel1, "CB3D", 236, 7, 42, 17, "&3D");
  CB3D->SetChecked(true);
  CBSmooth = PlaceControl<TCheckBox>(this, Panel1, "CBSmooth", 286, 7, 70, 17, "&Smooth");
  CBSmooth->SetChecked(true);
  Panel2 = PlaceControl<TPanel>(this, this, "Panel2", 0, 338, 586, 41);
  Panel2->SetAlign(alBottom);
  Panel2->SetBevelOuter(bvNone);
  BOK = PlaceControl<TButton>(this, Panel2, "BOK", 420, 8, 75, 25, "OK");
  BOK->SetDefault(true);
  BOK->SetModalResult(mrOk);
  BCancel = PlaceControl<TButton>(this, Panel2, "BCancel", 502, 8, 75, 25, "Cancel");
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);
  ChartListBox1 = PlaceControl<TChartListBox>(this, this, "ChartListBox1", 0, 31, 113, 307);
  ChartListBox1->SetAlign(alLeft);
  ChartListBox1->SetItemHeight(24);
  ChartListBox1->SetMultiSelect(false);
  ChartListBox1->SetAllowAddSeries(false);
  ChartListBox1->SetAllowDeleteSeries(false);
  ChartListBox1->SetEnableChangeColor(false);
  ChartListBox1->SetEnableDragSeries(false);
  ChartListBox1->SetEnableChangeType(false);
  ChartListBox1->SetShowActiveCheck(false);
  ChartListBox1->SetShowSeriesColor(false);
  Splitter1 = PlaceControl<TSplitter>(this, this, "Splitter1", 113, 31, 3, 307);
  Splitter1->SetAlign(alLeft);
  ChartGalleryPanel1 = PlaceControl<TChartGalleryPanel>(this, this, "ChartGalleryPanel1", 116, 31, 470, 307);
  ChartGalleryPanel1->SetAlign(alClient);

  // The hidden chart holds the listed types; the list shows them sorted.
  hidden_ = new TChart(this);
  ChartListBox1->SetSorted(true);
  ChartListBox1->SetChart(hidden_);
  std::vector<std::string> pages;
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    const TLumSeriesType* e = LumSeriesTypes()[i];
    if (e->FunctionClass) continue;
    const std::string page = e->GalleryPageText();
    if (std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
  }
  std::sort(pages.begin(), pages.end());
  CBPage->Items()->Add("(all)");
  for (const std::string& p : pages) CBPage->Items()->Add(p);
  CBPage->SetItemIndex(CBPage->Items()->IndexOf("Standard"));
  CBSmooth->SetChecked(ReadEditorBooleanSetting("SmoothGallery", false));

  OnShow = HANDLER(FormShow);
  OnKeyDown = HANDLER(FormKeyDown);
  CBPage->OnChange = HANDLER(CBPageChange);
  ChartListBox1->OnClick = HANDLER(ListClick);
  CB3D->OnClick = HANDLER(CB3DClick);
  CBSmooth->OnClick = HANDLER(CBSmoothClick);
  ChartGalleryPanel1->OnSelectedChart = [this](TObject*) { SetModalResult(mrOk); };
  RecordDefaults(this);
}

void TLumGalleryForm::FormShow(TObject*) {
  ChartGalleryPanel1->SetView3D(CB3D->Checked());
  ChartGalleryPanel1->SetSmooth(CBSmooth->Checked());
  CBPageChange(CBPage);
  if (RequestedWidth > 0 && RequestedHeight > 0) {
    SetWidth(std::max(kMinSize, RequestedWidth));
    SetHeight(std::max(kMinSize, RequestedHeight));
  }
}

void TLumGalleryForm::CBPageChange(TObject*) {
  const int index = CBPage->ItemIndex();
  const bool all = index <= 0;
  const std::string page = all ? std::string() : CBPage->Items()->Strings(index);
  ChartListBox1->Items()->BeginUpdate();
  hidden_->FreeAllSeries();
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    const TLumSeriesType* e = LumSeriesTypes()[i];
    if (e->FunctionClass || e->SubIndex != 0 || (!all && e->GalleryPageText() != page)) continue;
    TChartSeries* s = CreateNewSeries(this, hidden_, e->ActualSeriesClass());
    std::string title = e->DescriptionText();
    std::replace(title.begin(), title.end(), LineSeparator, ' ');
    s->SetTitle(title);
  }
  // Titles came after the rows were made: refill so the list sorts by them.
  ChartListBox1->FillSeries(nullptr);
  ListClick(ChartListBox1);
  ChartListBox1->Items()->EndUpdate();
}

void TLumGalleryForm::ListClick(TObject*) {
  TChartSeries* s = ChartListBox1->SelectedSeries();
  const TClass cls = s ? s->ClassType() : nullptr;
  if (cls == shown_) return;
  TChartGalleryPanel* panel = ChartGalleryPanel1;
  panel->SetNumRows(3);
  panel->SetDisplaySub(false);
  panel->IsSubPanel = true;
  panel->CreateSubGalleryCharts(cls);
  const int count = panel->Charts().Count();
  if (panel->NumCols() >= 1 && panel->NumRows() * panel->NumCols() < count) panel->SetNumRows(count / panel->NumCols() + 1);
  panel->ResizeCharts();
  panel->ShowSelectedChart();
  shown_ = cls;
  if (ChartListBox1->CanFocus()) ChartListBox1->SetFocus();
}

void TLumGalleryForm::CB3DClick(TObject*) { ChartGalleryPanel1->SetView3D(CB3D->Checked()); }

void TLumGalleryForm::CBSmoothClick(TObject*) { ChartGalleryPanel1->SetSmooth(CBSmooth->Checked()); }

void TLumGalleryForm::FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
  if (ActiveControl() == ChartListBox1 && (Key == VK_UP || Key == VK_DOWN)) return;  // the list's own
  ChartGalleryPanel1->ChartKeyDown(Sender, Key, Shift);
}

// ---------------------------------------------------------------------------
namespace {

struct TGalleryChoice {
  TClass SeriesClass = nullptr, FunctionClass = nullptr;
  int SubIndex = 0;
};

// Runs the standard dialog; true with a choice.
bool RunStandardGallery(TLumGallery* G, TGalleryChoice& Choice, bool& View3D) {
  if (G->ShowModal() != mrOk) return false;
  if (!G->ChartGalleryPanel1->GetChartSeries(Choice.SeriesClass, Choice.FunctionClass, Choice.SubIndex)) return false;
  View3D = G->CB3D->Checked();
  return true;
}

}  // namespace

bool ShowGalleryDialog(TComponent* AOwner, TChartSeries* CurrentSeries, bool AllowFunctions, int Width, int Height,
                       TClass& SeriesClass, int& SubIndex, bool& View3D, TClass& FunctionClass, bool CheckSeries,
                       int& PaletteIndex) {
  if (ReadGalleryMode() != 0) {
    // The alternate form: series types only, no palette, no check of the source.
    std::unique_ptr<TLumGalleryForm> a(new TLumGalleryForm(AOwner));
    a->RequestedWidth = Width;
    a->RequestedHeight = Height;
    CenterEditorDialog(a.get());
    a->CB3D->SetChecked(View3D);
    TranslateControl(a.get());
    if (a->ShowModal() != mrOk) return false;
    TClass s = nullptr, f = nullptr;
    int sub = 0;
    if (!a->ChartGalleryPanel1->GetChartSeries(s, f, sub)) return false;
    SeriesClass = s;
    FunctionClass = f;
    SubIndex = sub;
    View3D = a->CB3D->Checked();
    return true;
  }
  std::unique_ptr<TLumGallery> g(new TLumGallery(AOwner));
  g->RequestedWidth = Width;
  g->RequestedHeight = Height;
  CenterEditorDialog(g.get());
  g->CB3D->SetChecked(View3D);
  g->ChartGalleryPanel1->SetCurrentSeries(CurrentSeries);
  if (!AllowFunctions) g->DeleteTypeTab(kFunctionsTab);
  g->ChartGalleryPanel1->CheckSeries = CheckSeries;
  const int palette = PaletteIndex == -1 ? kDefaultPalette : PaletteIndex;
  g->CBPalette->SetItemIndex(g->CBPalette->Items()->IndexOfObject(PaletteObject(palette)));
  TGalleryChoice choice;
  bool view = View3D;
  if (!RunStandardGallery(g.get(), choice, view)) return false;
  if (g->CBPalette->ItemIndex() >= 0)
    PaletteIndex = PaletteNumber(g->CBPalette->Items()->Objects(g->CBPalette->ItemIndex()));
  SeriesClass = choice.SeriesClass;
  FunctionClass = choice.FunctionClass;
  SubIndex = choice.SubIndex;
  View3D = view;
  return true;
}

TChartSeries* CreateNewSeriesGallery(TComponent* AOwner, TChartSeries* Series, TCustomAxisPanel* Chart,
                                     bool AllowFunctions, bool CheckSeries, int& SubIndex, int Width, int Height) {
  if (!Chart) return nullptr;
  bool view3D = Chart->View3D();
  auto* chart = dynamic_cast<TCustomChart*>(Chart);
  int palette = chart ? chart->ColorPaletteIndex() : -1;
  if (auto* o = dynamic_cast<IGalleryOwner*>(AOwner); o && o->GalleryWidth() >= 1 && o->GalleryHeight() >= 1) {
    Width = o->GalleryWidth();
    Height = o->GalleryHeight();
  }
  TClass seriesClass = nullptr, functionClass = nullptr;
  if (!ShowGalleryDialog(AOwner, Series, AllowFunctions, Width, Height, seriesClass, SubIndex, view3D, functionClass,
                         CheckSeries, palette))
    return nullptr;
  Chart->SetView3D(view3D);
  if (chart && palette >= 0) chart->SetColorPaletteIndex(palette);
  TComponent* owner = Series ? Series->Owner() : Chart->Owner();
  TChartSeries* s = CreateNewSeries(owner, Chart, seriesClass, functionClass);
  if (SubIndex != -1) s->SetSubGallery(s, SubIndex);
  return s;
}

void ChangeSeriesTypeGallery(TComponent* AOwner, TChartSeries*& Series) {
  if (!Series) return;
  int sub = 0;
  TChartSeries* s = CreateNewSeriesGallery(AOwner, Series, Series->ParentChart(), false, true, sub);
  if (!s) return;
  AssignSeries(Series, s);
  Series->SetSubGallery(Series, sub);
}

TClass SelectGalleryFunction(TComponent* AOwner) {
  std::unique_ptr<TLumGallery> g(new TLumGallery(AOwner));
  CenterEditorDialog(g.get());
  g->DeleteTypeTab(kSeriesTab);
  g->FunctionsOnly = true;
  TGalleryChoice choice;
  bool view = true;
  return RunStandardGallery(g.get(), choice, view) ? choice.FunctionClass : nullptr;
}

TChartSeries* GalleryNewSeries(TComponent* AOwner, TCustomAxisPanel* Chart, TChartSeries* Series) {
  if (!Chart) return nullptr;
  int sub = 0;
  return CreateNewSeriesGallery(AOwner, Series, Chart, true, false, sub);
}

TClass GalleryChangeType(TComponent* AOwner, TChartSeries*& Series) {
  ChangeSeriesTypeGallery(AOwner, Series);
  return Series ? Series->ClassType() : nullptr;
}

void LumGallyUnitInit() {
  RegisterStandardSeries();
  RegisterClasses({TLumGallery::StaticClass(), TLumGalleryForm::StaticClass()});
  GalleryNewSeriesHook = GalleryNewSeries;
  GalleryChangeTypeHook = GalleryChangeType;
}

void LumGallyUnitDone() {
  GalleryNewSeriesHook = nullptr;
  GalleryChangeTypeHook = nullptr;
  UnRegisterClass(TLumGallery::StaticClass());
  UnRegisterClass(TLumGalleryForm::StaticClass());
}
