// The chart editor window: its layout, settings, showing, the series list with its
// buttons and menus, closing, and the creator. The pages are in chartedit_pages.cpp,
// the tree and the series groups in chartedit_tree.cpp.
#include "editor/chartedit.h"

#include <algorithm>
#include <memory>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "chartedit_detail.h"
#include "editor/seriespage.h"
#include "engine/groups.h"
#include "engine/helpers.h"
#include "engine/settings.h"
#include "gallery/chartgrid.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/navigator.h"
#include "platform/dialogs.h"
#include "platform/registry.h"

using namespace formbuild;

IMPLEMENT_CLASS(TChartEditForm, TForm)

std::vector<TChartEditorHook>& ChartEditorHooks() {
  static std::vector<TChartEditorHook> hooks;
  return hooks;
}

namespace {

// The form as it is laid out, at 96 pixels per inch; creation then gives it the
// default size.
constexpr int kDesignWidth = 527, kDesignHeight = 337, kTreeWidth = 126, kBottomHeight = 34;
constexpr int kButtonsWidth = 92, kGroupsWidth = 110, kTopHeight = 30;

int DefaultSize(const std::string& Text) {
  long long v = 0;
  if (!TryStrToInt(Text, v)) v = 0;
  return int(v) * Screen->PixelsPerInch() / 96;
}

TMenuItem* AddItem(TPopupMenu* Menu, const char* Name, const std::string& Caption, TNotifyEvent Click = {}) {
  auto* item = new TMenuItem(Menu->Owner());
  item->SetName(Name);
  item->SetCaption(Caption);
  item->OnClick = Click;
  Menu->Items()->Add(item);
  return item;
}

void AddLine(TPopupMenu* Menu) {
  auto* line = new TMenuItem(Menu->Owner());
  line->SetCaption("-");
  Menu->Items()->Add(line);
}

TPopupMenu* NewMenu(TComponent* Owner, const char* Name) {
  auto* m = new TPopupMenu(Owner);
  m->SetName(Name);
  return m;
}

TSpeedButton* GridButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, const char* Hint,
                         const char* Glyph) {
  auto* b = PlaceControl<TSpeedButton>(Owner, Parent, Name, Left, 4, 25, 24);
  b->SetHint(Hint);
  b->SetShowHint(true);
  if (Glyph) {
    TBitmap g;
    g.LoadFromResourceName(Glyph);
    b->SetGlyph(&g);
  }
  return b;
}

}  // namespace

// What is remembered of the place, read whole before any of it is applied.
struct TChartEditForm::TPlace {
  bool HasLeft = false, HasTop = false, HasWidth = false, HasHeight = false, HasTree = false;
  int Left = 0, Top = 0, Width = 0, Height = 0, TreeWidth = 0;
};

TChartEditForm::TChartEditForm(TComponent* AOwner) : TForm(AOwner) {
  EnsureEditorResources();
  // Two editors of one owner (a hook may open another) take names of their own.
  std::string name = "ChartEditForm";
  for (int i = 1; AOwner && AOwner->FindComponent(name); ++i) name = "ChartEditForm" + std::to_string(i);
  SetupDialog(this, name.c_str(), "", kDesignWidth, kDesignHeight, bsSizeable);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  SetHelpContext(726);

  PanelBottom = PlainPanel(this, this, "PanelBottom", alBottom, 0, kDesignHeight - kBottomHeight, kDesignWidth,
                           kBottomHeight);
  ButtonHelp = PlaceControl<TButton>(this, PanelBottom, "ButtonHelp", 8, 5, 75, 25, "&Help...");
  auto* closePanel = PlainPanel(this, PanelBottom, "PanelClose", alRight, kDesignWidth - 91, 0, 91, kBottomHeight);
  BClose = PlaceControl<TButton>(this, closePanel, "BClose", 8, 5, 75, 25, "Close");
  BClose->SetDefault(true);
  BClose->SetCancel(true);
  BClose->SetModalResult(mrCancel);

  const int clientH = kDesignHeight - kBottomHeight;
  Tree = PlaceControl<TTreeView>(this, this, "Tree", 0, 0, kTreeWidth, clientH);
  Tree->SetAlign(alLeft);
  Tree->SetReadOnly(true);
  Tree->SetHideSelection(false);
  Tree->SetVisible(false);
  TreeSplitter = PlaceControl<TSplitter>(this, this, "TreeSplitter", kTreeWidth, 0, 3, clientH);
  TreeSplitter->SetAlign(alLeft);
  TreeSplitter->SetVisible(false);

  MainPage = PlaceControl<TPageControl>(this, this, "MainPage", 0, 0, kDesignWidth, clientH);
  MainPage->SetAlign(alClient);
  MainPage->SetHotTrack(true);
  TabChart = Sheet(this, MainPage, "TabChart", "Chart");
  TabSeries = Sheet(this, MainPage, "TabSeries", "Series");
  TabData = Sheet(this, MainPage, "TabData", "Data");
  TabTools = Sheet(this, MainPage, "TabTools", "Tools");
  TabAnimations = Sheet(this, MainPage, "TabAnimations", "Animations");
  TabExport = Sheet(this, MainPage, "TabExport", "Export");
  TabPrint = Sheet(this, MainPage, "TabPrint", "Print");

  SubPage = PlaceControl<TPageControl>(this, TabChart, "SubPage", 0, 0, TabChart->ClientWidth(),
                                       TabChart->ClientHeight());
  SubPage->SetAlign(alClient);
  SubPage->SetHotTrack(true);
  TabSeriesList = Sheet(this, SubPage, "TabSeriesList", "Series");
  TabGeneral = Sheet(this, SubPage, "TabGeneral", "General");
  TabAxis = Sheet(this, SubPage, "TabAxis", "Axis");
  TabTitle = Sheet(this, SubPage, "TabTitle", "Titles");
  TabLegend = Sheet(this, SubPage, "TabLegend", "Legend");
  TabPanel = Sheet(this, SubPage, "TabPanel", "Panel");
  TabPaging = Sheet(this, SubPage, "TabPaging", "Paging");
  TabWalls = Sheet(this, SubPage, "TabWalls", "Walls");
  Tab3D = Sheet(this, SubPage, "Tab3D", "3D");

  // The series list: the group controls above and on the left, the buttons on the right.
  const int listW = TabSeriesList->ClientWidth(), listH = TabSeriesList->ClientHeight();
  PanelTop = PlainPanel(this, TabSeriesList, "PanelTop", alTop, 0, 0, listW, kTopHeight);
  SpeedSeries = PlaceControl<TSpeedButton>(this, PanelTop, "SpeedSeries", 4, 4, 48, 22, "View");
  SpeedSeries->SetGroupIndex(1);
  SpeedSeries->SetAllowAllUp(true);
  SpeedSeries->SetVisible(false);
  BAddGroup = PlaceControl<TButton>(this, PanelTop, "BAddGroup", 4, 4, 25, 22, "+");
  BDeleteGroup = PlaceControl<TButton>(this, PanelTop, "BDeleteGroup", 31, 4, 25, 22, "-");
  BRenameGroup = PlaceControl<TButton>(this, PanelTop, "BRenameGroup", 58, 4, 25, 22, "...");
  BDeleteGroup->SetEnabled(false);
  BRenameGroup->SetEnabled(false);
  PanelGroups = PlainPanel(this, TabSeriesList, "PanelGroups", alLeft, 0, kTopHeight, kGroupsWidth, listH - kTopHeight);
  Groups = PlaceControl<TCheckListBox>(this, PanelGroups, "Groups", 0, 0, kGroupsWidth, listH - kTopHeight);
  Groups->SetAlign(alClient);
  Groups->SetAllowGrayed(true);
  Splitter1 = PlaceControl<TSplitter>(this, TabSeriesList, "Splitter1", kGroupsWidth, kTopHeight, 3, listH - kTopHeight);
  Splitter1->SetAlign(alLeft);
  PanelButtons = PlainPanel(this, TabSeriesList, "PanelButtons", alRight, listW - kButtonsWidth, kTopHeight,
                            kButtonsWidth, listH - kTopHeight);
  BMoveUP = PlaceControl<TSpeedButton>(this, PanelButtons, "BMoveUP", 8, 4, 23, 22);
  BMoveDown = PlaceControl<TSpeedButton>(this, PanelButtons, "BMoveDown", 33, 4, 23, 22);
  BAddSeries = PlaceControl<TButton>(this, PanelButtons, "BAddSeries", 8, 34, 80, 25, "&Add...");
  BDeleteSeries = PlaceControl<TButton>(this, PanelButtons, "BDeleteSeries", 8, 64, 80, 25, "&Delete");
  BRenameSeries = PlaceControl<TButton>(this, PanelButtons, "BRenameSeries", 8, 94, 80, 25, "&Title...");
  BCloneSeries = PlaceControl<TButton>(this, PanelButtons, "BCloneSeries", 8, 124, 80, 25, "C&lone");
  BChangeTypeSeries = PlaceControl<TButton>(this, PanelButtons, "BChangeTypeSeries", 8, 154, 80, 25, "&Change...");
  LoadArrowGlyphs(BMoveUP, BMoveDown);
  LBSeries = PlaceControl<TChartListBox>(this, TabSeriesList, "LBSeries", kGroupsWidth + 3, kTopHeight,
                                         listW - kButtonsWidth - kGroupsWidth - 3, listH - kTopHeight);
  LBSeries->SetAlign(alClient);
  LBSeries->SetItemHeight(24);
  LBSeries->SetMultiSelect(true);

  PopupSeries = NewMenu(this, "PopupSeries");
  MIViewNames = AddItem(PopupSeries, "ViewSeriesNames1", "View Series &Names", HANDLER(MIViewNamesClick));
  MIViewGroups = AddItem(PopupSeries, "ViewSeriesGroups1", "View Series &Groups", HANDLER(MIViewGroupsClick));
  PopupListSeries = NewMenu(this, "PopupListSeries");
  MIHideOther = AddItem(PopupListSeries, "HideOther1", "Hide &Other", HANDLER(MIHideOtherClick));
  AddLine(PopupListSeries);
  MIShowAll = AddItem(PopupListSeries, "ShowAll1", "Show &All", HANDLER(MIShowAllClick));
  MIHideAll = AddItem(PopupListSeries, "HideAll1", "&Hide All", HANDLER(MIHideAllClick));
  AddLine(PopupListSeries);
  MISelectAll = AddItem(PopupListSeries, "SelectAll1", "&Select All", HANDLER(MISelectAllClick));
  MISelectNone = AddItem(PopupListSeries, "SelectNone1", "Select &None", HANDLER(MISelectNoneClick));
  LBSeries->SetPopupMenu(PopupListSeries);

  // The Data page: the grid over its bar of buttons.
  const int dataW = TabData->ClientWidth(), dataH = TabData->ClientHeight();
  PanelData = PlainPanel(this, TabData, "PanelData", alBottom, 0, dataH - 32, dataW, 32);
  ChartGridNavigator1 = PlaceControl<TChartGridNavigator>(this, PanelData, "ChartGridNavigator1", 4, 4, 104, 24);
  SBGridText = GridButton(this, PanelData, "SBGridText", 116, "Show labels", "LumGridText");
  SBGridCol = GridButton(this, PanelData, "SBGridCol", 142, "Show colors", "LumGridColors");
  SBGrid3D = GridButton(this, PanelData, "SBGrid3D", 168, "XYZ series", "LumGrid3D");
  SBGridX = GridButton(this, PanelData, "SBGridX", 194, "Show X values", "LumGridX");
  SBCopyData = GridButton(this, PanelData, "SBCopyData", 228, "Copy", "LumCopyData");
  SBGridVisuals = GridButton(this, PanelData, "SBGridVisuals", 254, "Show Visuals", nullptr);
  SBGridVisuals->SetCaption("V");
  int group = 2;
  for (TSpeedButton* b : {SBGridText, SBGridCol, SBGrid3D, SBGridX, SBGridVisuals}) {
    b->SetGroupIndex(group++);
    b->SetAllowAllUp(true);
  }
  ChartGrid1 = PlaceControl<TChartGrid>(this, TabData, "ChartGrid1", 0, 0, dataW, dataH - 32);
  ChartGrid1->SetAlign(alClient);
  ChartGridNavigator1->SetGrid(ChartGrid1);
  PopupData = NewMenu(this, "PopupData");
  MIEditColor = AddItem(PopupData, "EditColor1", "&Edit Color...", HANDLER(MIEditColorClick));
  MIDefaultColor = AddItem(PopupData, "DefaultColor1", "Default &Color", HANDLER(MIDefaultColorClick));
  MIMakeNull = AddItem(PopupData, "MakeNull1", "Make &null point", HANDLER(MIMakeNullClick));
  AddLine(PopupData);
  MIAppendRow = AddItem(PopupData, "AppendRow1", "&Append row", HANDLER(MIAppendRowClick));
  MIDeleteRow = AddItem(PopupData, "DeleteRow1", "&Delete row", HANDLER(MIDeleteRowClick));
  AddLine(PopupData);
  MITextFont = AddItem(PopupData, "TextFont1", "&Text font...", HANDLER(MITextFontClick));
  ChartGrid1->SetPopupMenu(PopupData);

  OnShow = HANDLER(FormShow);
  OnCloseQuery = HANDLER(FormCloseQuery);
  OnResize = HANDLER(FormResize);
  MainPage->OnChanging = HANDLER(MainPageChanging);
  MainPage->OnChange = HANDLER(MainPageChange);
  SubPage->OnChange = HANDLER(SubPageChange);
  ButtonHelp->OnClick = HANDLER(ButtonHelpClick);
  BClose->OnClick = HANDLER(BCloseClick);
  LBSeries->OnRefresh = HANDLER(RefreshButtons);
  LBSeries->OnDblClickSeries = HANDLER(LBSeriesDblClickSeries);
  LBSeries->OnRemovedSeries = HANDLER(LBSeriesRemovedSeries);
  LBSeries->OnOtherItemsChange = HANDLER(LBSeriesOtherItemsChange);
  BMoveUP->OnClick = HANDLER(BMoveUPClick);
  BMoveDown->OnClick = HANDLER(BMoveDownClick);
  BAddSeries->OnClick = HANDLER(BAddSeriesClick);
  BDeleteSeries->OnClick = HANDLER(BDeleteSeriesClick);
  BRenameSeries->OnClick = HANDLER(BRenameSeriesClick);
  BCloneSeries->OnClick = HANDLER(BCloneSeriesClick);
  BChangeTypeSeries->OnClick = HANDLER(BChangeTypeSeriesClick);
  PopupListSeries->OnPopup = HANDLER(PopupListSeriesPopup);
  SpeedSeries->OnClick = HANDLER(SpeedSeriesClick);
  SBGridText->OnClick = HANDLER(SBGridTextClick);
  SBGridCol->OnClick = HANDLER(SBGridColClick);
  SBGrid3D->OnClick = HANDLER(SBGrid3DClick);
  SBGridX->OnClick = HANDLER(SBGridXClick);
  SBGridVisuals->OnClick = HANDLER(SBGridVisualsClick);
  SBCopyData->OnClick = HANDLER(SBCopyDataClick);
  PopupData->OnPopup = HANDLER(PopupDataPopup);
  Tree->OnChange = HANDLER(TreeChange);
  Groups->OnClick = HANDLER(GroupsClick);
  Groups->OnDragOver = HANDLER(GroupsDragOver);
  Groups->OnDragDrop = HANDLER(GroupsDragDrop);
  BAddGroup->OnClick = HANDLER(BAddGroupClick);
  BDeleteGroup->OnClick = HANDLER(BDeleteGroupClick);
  BRenameGroup->OnClick = HANDLER(BRenameGroupClick);

  // 1. The default size: the library's texts at the screen's resolution. The caption
  // height of the original system adds SM_CYSIZE - 18, which is 0 here: the desktop
  // draws the frame outside the client size.
  SetClientWidth(DefaultSize(LumMsg_DefaultEditorWidth));
  SetClientHeight(DefaultSize(LumMsg_DefaultEditorHeight));
  // 2, 3. No chart, no caption, the first pages.
  MainPage->SetEnabled(false);
  SubPage->SetEnabled(false);
  MainPage->SetActivePage(TabChart);
  SubPage->SetActivePage(TabSeriesList);
  // 4 to 6: a value of the wrong type raises here and the form is not made.
  ReadSettings();
  // 7. The gallery size stays 0 x 0; a check in the group list switches its group.
  Groups->OnClickCheck = HANDLER(GroupsClickCheck);
  ShowGroupControls();
  RecordDefaults(this);
}

TChartEditForm::~TChartEditForm() {
  destroying_ = true;
  const bool treeBuilt = TreePanel() != nullptr;
  PutPagesBack();
  if (treeBuilt && Tree->Visible()) SetClientWidth(widthWithoutTree_);
  WriteSettings();
  if (chart_) {
    if (Chart()) chart_->RemoveListener(this);
    RemoveFreeNotification(chart_);
    chart_ = nullptr;
  }
  // Pages and controls go while the form is whole: their last events may reach it.
  FreePages();
  Tree->OnChange = {};
  DestroyComponents();
}

// ---- Settings --------------------------------------------------------------
void TChartEditForm::ReadSettings() {
  const bool position = ReadEditorBooleanSetting("RememberPosition", true);
  const bool size = ReadEditorBooleanSetting("RememberSize", true);
  const bool tree = ReadEditorBooleanSetting("TreeMode", true);
  const int treeWidth = ReadEditorIntegerSetting("TreeWidth", Tree->Width());
  const std::string font = ReadEditorStringSetting("DefaultEditorFont", "");
  const bool groups = ReadEditorBooleanSetting("SeriesGroups", false);
  rememberPosition_ = position;
  rememberSize_ = size;
  Tree->SetVisible(tree);
  Tree->SetWidth(std::max(10, treeWidth));
  if (!font.empty()) ApplyEditorFont(font);
  if (groups) Options |= ceoGroups;
}

void TChartEditForm::ApplyEditorFont(const std::string& Value) {
  // Name, size and colour; a size or colour that is not an integer is left alone.
  const std::string name = GetTextField(Value, 1);
  if (!name.empty()) Font()->SetName(name);
  long long n = 0;
  if (TryStrToInt(GetTextField(Value, 2), n) && n > 0) Font()->SetSize(int(n));
  if (TryStrToInt(GetTextField(Value, 3), n)) Font()->SetColor(TColor(n));
}

TChartEditForm::TPlace TChartEditForm::ReadPlace() const {
  TPlace p;
  TRegistry r;
  if (!r.OpenKeyReadOnly(LumEditorKey)) return p;
  auto read = [&r](const char* Name, bool& Has, int& Value) {
    if (!r.ValueExists(Name)) return;
    Value = r.ReadInteger(Name);
    Has = true;
  };
  if (rememberPosition_) {
    read("Left", p.HasLeft, p.Left);
    if (p.HasLeft) read("Top", p.HasTop, p.Top);
  }
  if (rememberSize_) {
    read("Width", p.HasWidth, p.Width);
    read("Height", p.HasHeight, p.Height);
    read("TreeWidth", p.HasTree, p.TreeWidth);
  }
  return p;
}

void TChartEditForm::ApplyPlace(const TPlace& P) {
  const int screenW = Screen->Width(), screenH = Screen->Height();
  // Sizes within 100 and the screen's; a place pulled back onto the screen.
  if (P.HasWidth) SetClientWidth(std::clamp(P.Width, 100, std::max(100, screenW)));
  if (P.HasHeight) SetClientHeight(std::clamp(P.Height, 100, std::max(100, screenH)));
  if (P.HasTree) Tree->SetWidth(std::max(10, P.TreeWidth));
  if (P.HasLeft) {
    SetPosition(poDesigned);
    int left = std::max(0, P.Left), top = std::max(0, P.Top);
    if (screenW < left) left = std::max(0, screenW - Width());
    if (screenH < top) top = std::max(0, screenH - Height());
    SetLeft(left);
    SetTop(top);
  }
}

void TChartEditForm::WriteSettings() {
  // Written at destruction: a store that cannot be written loses the settings, not
  // the program.
  try {
    if (Tree->Visible()) WriteEditorIntegerSetting("TreeWidth", Tree->Width());
WriteEditorBooleanSetting("SeriesGroups", (Options & ceoGroups) != 0);
    if (!Chart() || !(rememberPosition_ || rememberSize_)) return;
    if (rememberPosition_) {
      WriteEditorIntegerSetting("Left", Left());
      WriteEditorIntegerSetting("Top", Top());
    }
    if (rememberSize_) {
      if (ClientWidth() != DefaultSize(LumMsg_DefaultEditorWidth)) WriteEditorIntegerSetting("Width", ClientWidth());
      if (ClientHeight() != DefaultSize(LumMsg_DefaultEditorHeight))
        WriteEditorIntegerSetting("Height", ClientHeight());
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "chart editor: settings not written: %s\n", e.Message.c_str());
  }
}

// ---- The chart ---------------------------------------------------------------
TCustomChart* TChartEditForm::Chart() const { return chart_ && !chart_->HasState(csDestroying) ? chart_ : nullptr; }

void TChartEditForm::SetChart(TCustomChart* Value) {
  // Read before anything changes: a setting of the wrong type raises here.
  TPlace place;
  if (Value && (rememberPosition_ || rememberSize_)) place = ReadPlace();
  if (chart_ != Value) {
    if (chart_) {
      PutPagesBack();
      FreePages();
      if (Chart()) chart_->RemoveListener(this);
      RemoveFreeNotification(chart_);
      Tree->Items()->Clear();
    }
    chart_ = Value;
    // Asked before any page asks: the pages let go of a freed chart before the
    // editor frees them.
    if (Chart()) {
      FreeNotification(Chart());
      Chart()->Listeners().Add(this);
      axis_ = Chart()->LeftAxis();
      title_ = Chart()->Title();
      wall_ = Chart()->LeftWall();
    }
    LBSeries->SetChart(Chart());
  }
  MainPage->SetEnabled(Chart() != nullptr);
  SubPage->SetEnabled(Chart() != nullptr);
  if (Chart()) ApplyPlace(place);
}

void TChartEditForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == chart_) {
    ChartFreed();
    return;
  }
  if (destroying_) return;
  // A tool freed elsewhere loses its node.
  while (TTreeNode* n = NodeOf(AComponent)) {
    if (n == Tree->Selected()) {
      PutPagesBack();
      buildingTree_ = true;
      n->Delete();
      buildingTree_ = false;
    } else {
      n->Delete();
    }
  }
}

void TChartEditForm::ChartFreed() {
  // The chart is half gone: nothing here may reach into it.
  chart_ = nullptr;
  axis_ = title_ = wall_ = nullptr;
  if (destroying_) return;
  PutPagesBack();
  buildingTree_ = true;
  Tree->Items()->Clear();
  seriesNode_ = toolsNode_ = animationsNode_ = nullptr;
  buildingTree_ = false;
  FreePages();
  LBSeries->SetChart(nullptr);
  ChartGrid1->SetChart(nullptr);
  Groups->Clear();
  MainPage->SetEnabled(false);
  SubPage->SetEnabled(false);
  RefreshButtons(nullptr);
}

void TChartEditForm::FreePages() {
  for (int i = epPageCount - 1; i >= 0; --i) delete pages_[i].Get();
}

TForm* TChartEditForm::PageForm(int Page) const {
  return Page >= 0 && Page < epPageCount ? pages_[Page].Get() : nullptr;
}

TTabSheet* TChartEditForm::TabOfPage(int Page) const {
  switch (Page) {
    case epSeriesList: return TabSeriesList;
    case epGeneral: return TabGeneral;
    case epAxis: return TabAxis;
    case epTitles: return TabTitle;
    case epLegend: return TabLegend;
    case epPanel: return TabPanel;
    case epPaging: return TabPaging;
    case epWalls: return TabWalls;
    case ep3D: return Tab3D;
    case epSeries: return TabSeries;
    case epData: return TabData;
    case epExport: return TabExport;
    case epTools: return TabTools;
    case epAnimations: return TabAnimations;
    case epPrint: return TabPrint;
    default: return nullptr;
  }
}

int TChartEditForm::PageOfTab(const TTabSheet* Tab) const {
  for (int i = 0; i < epPageCount; ++i)
    if (Tab && TabOfPage(i) == Tab) return i;
  return -1;
}

void TChartEditForm::LumEvent(const TLumEvent& Event) {
  auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event);
  if (!e || destroying_ || !Chart()) return;
  switch (e->Event) {
    case seAdd:
    case seDataChanged:
      RebuildSeriesNodesIfNeeded();
      if (Groups->Count() && PanelGroups->Visible()) UpdateAllCheck();
      break;
    case seRemove:
      // A series freed while it shows: its node goes (the list, the series page and
      // the grid follow the chart themselves).
      if (TTreeNode* n = NodeOf(e->Series)) {
        const bool selected = n == Tree->Selected();
        if (selected) PutPagesBack();
        buildingTree_ = true;
        n->Delete();
        buildingTree_ = false;
        if (selected && seriesNode_) Tree->SetSelected(seriesNode_);
      }
      if (editSeries_.Get() == e->Series) editSeries_.Set(nullptr);
      if (PanelGroups->Visible()) FillGroups();
      break;
    case seChangeTitle:
      if (TTreeNode* n = NodeOf(e->Series)) {
        const int row = LBSeries->Items()->IndexOfObject(e->Series);
        n->SetText(row >= 0 ? LBSeries->Items()->Strings(row) : e->Series->GetTitleOrName());
      }
      break;
    case seRepaint:
      if (PanelGroups->Visible()) UpdateAllCheck();
      break;
    default: break;
  }
}

// ---- Showing -------------------------------------------------------------------
int TChartEditForm::MinClientWidth() const { return TChartEditorPages::MinClientSize(*this).X; }
int TChartEditForm::MinClientHeight() const { return TChartEditorPages::MinClientSize(*this).Y; }

void TChartEditForm::FormShow(TObject*) {
  if (!Chart()) return;
  // Room for every page, on the screen.
  // (the tree, when it is built below, widens the form by its own width)
  const int w = std::min(std::max(ClientWidth(), MinClientWidth()), std::max(100, Screen->Width()));
  const int h = std::min(std::max(ClientHeight(), MinClientHeight()), std::max(100, Screen->Height()));
  SetClientWidth(w);
  SetClientHeight(h);
  if (Position() == poDesigned) {
    if (Left() + Width() > Screen->Width()) SetLeft(std::max(0, Screen->Width() - Width()));
    if (Top() + Height() > Screen->Height()) SetTop(std::max(0, Screen->Height() - Height()));
  }
  // 1.
  SpeedSeries->SetVisible(Chart()->HasState(csDesigning) || (Options & ceoGroups));
  MIViewGroups->SetChecked(Options & ceoGroups);
  LoadArrowGlyphs(BMoveUP, BMoveDown);
  // 2.
  TabTools->SetTabVisible(LumToolTypes().Count() > 0);
  TabAnimations->SetTabVisible(LumAnimationTypes().Count() > 0);
  // 3.
  LBSeries->SetChart(Chart());
  if (Caption().empty()) SetCaption(Format(LumMsg_Editing, Chart()->Name()));
  // 4.
  HideTabs();
  // 5.
  CallHooks(nullptr);
  // 6.
  if (Tree->Visible()) BuildTree();
  ShowGroupControls();
  // 7.
  if (StartPage != -1) GoToStartPage();
  // 8.
  if (Tree->Visible() && !seriesListPlaced_ && !panelSource_ && seriesNode_) {
    seriesListPlaced_ = true;
    Tree->SetSelected(seriesNode_);
  }
  // 9.
  bool opened = false;
  if (TChartSeries* s = EditSeries(); s && LiveSeries(s)) {
    LBSeries->SelectSeries(s);
    EditTheSeries(s);
    opened = true;
  } else if (TLumCustomTool* t = EditTool(); t && TabTools->TabVisible()) {
    VisitToolPage(epTools, t);
    editTool_.Set(nullptr);
  } else if (TLumCustomTool* a = EditAnimation(); a && TabAnimations->TabVisible()) {
    VisitToolPage(epAnimations, a);
    editAnimation_.Set(nullptr);
  } else if (StartPage == -1) {
    SelectFirstSeries();
  }
  // 10.
  if (ListShown() && LBSeries->Count() > 0) {
    if (StartPage == epSeriesGeneral || StartPage == epSeriesMarks) {
      if (!LBSeries->SelectedSeries()) SelectFirstSeries();
      if (TChartSeries* s = LBSeries->SelectedSeries()) {
        EditTheSeries(s);
        if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries))) {
          TTabSheet* tab = StartPage == epSeriesGeneral ? page->TabGeneral : page->TabMarks;
          if (tab->TabVisible()) {
            page->PageSeries->SetActivePage(tab);
            page->PageSeriesChange(page->PageSeries);
          }
        }
      }
    } else if (!opened) {  // the series opened above stays selected
      SelectFirstSeries();
    } else {
      RefreshButtons(nullptr);
    }
  } else {
    RefreshButtons(nullptr);
  }
  // 11.
  ChartGrid1->SetAllowNewSeries(true);
  ChartGrid1->SetShowColors(true);
}

void TChartEditForm::HideTabs() {
  for (int p : HiddenTabs) {
    if (p == epSeriesGeneral || p == epSeriesMarks || p == epExportNative) continue;  // the pages hide those
    if (TTabSheet* t = TabOfPage(p)) t->SetTabVisible(false);
  }
  bool any = false;
  for (int i = 0; i < SubPage->PageCount(); ++i) any |= SubPage->Pages(i)->TabVisible();
  if (!any) TabChart->SetTabVisible(false);
}

void TChartEditForm::CallHooks(TTabSheet* Page) {
  // A copy: a hook may change the list.
  const std::vector<TChartEditorHook> hooks = ChartEditorHooks();
  for (TChartEditorHook h : hooks)
    if (h) h(this, Chart(), Page, MainPage);
}

void TChartEditForm::GoToStartPage() {
  switch (StartPage) {
    case epData:
    case epExport:
    case epTools:
    case epAnimations:
    case epPrint:
      if (TabOfPage(StartPage)->TabVisible()) ShowPage(StartPage);
      return;
    default: break;
  }
  if (StartPage < epSeriesList || StartPage > ep3D) return;
  // The sub page, else the next visible one after it, else the nearest before it.
  TTabSheet* found = nullptr;
  for (int i = StartPage; i <= ep3D && !found; ++i)
    if (TabOfPage(i)->TabVisible()) found = TabOfPage(i);
  for (int i = StartPage - 1; i >= epSeriesList && !found; --i)
    if (TabOfPage(i)->TabVisible()) found = TabOfPage(i);
  if (found) {
    ShowPage(PageOfTab(found));
    return;
  }
  for (TTabSheet* t : {TabData, TabTools, TabAnimations, TabExport, TabPrint})
    if (t->TabVisible()) {
      ShowPage(PageOfTab(t));
      return;
    }
}

void TChartEditForm::SelectFirstSeries() {
  if (LBSeries->Count() > 0) {
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
    if (LBSeries->MultiSelect()) LBSeries->ClearSelection();
    LBSeries->SetItemIndex(0);
    if (LBSeries->MultiSelect()) LBSeries->SetSelected(0, true);
  }
  RefreshButtons(nullptr);
}

void TChartEditForm::FormResize(TObject*) {
  if (Tree->Visible() && TreePanel() && !destroying_)
    widthWithoutTree_ = ClientWidth() - Tree->Width() - TreeSplitter->Width();
  // Close keeps the right end of the bottom panel.
}

void TChartEditForm::FormCloseQuery(TObject*, bool& CanClose) {
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries))) page->FormCloseQuery(this, CanClose);
}

void TChartEditForm::BCloseClick(TObject*) {}

void TChartEditForm::ButtonHelpClick(TObject*) { ::HelpContext(HelpContext()); }

bool TChartEditForm::HelpRequest(TControl* Control) {
  if (!(BorderIcons() & biHelp)) return false;  // passed on
  for (TControl* c = Control; c; c = c->Parent())
    if (auto* f = dynamic_cast<TForm*>(c); f && f->HelpContext()) return ::HelpContext(f->HelpContext()), true;
  return false;
}

// ---- The series list ----------------------------------------------------------
bool TChartEditForm::ListShown() const {
  // Shown and enabled up to the form, as the form will be: the form's own show
  // handler runs before its window is on the screen.
  for (const TControl* c = LBSeries; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TChartEditForm::Current(TChartSeries** Series) const {
  TChartSeries* s = nullptr;
  if (Chart() && Chart()->SeriesCount() > 0 && ListShown() && LBSeries->ItemIndex() >= 0 &&
      (!LBSeries->MultiSelect() || LBSeries->SelCount() > 0))
    s = LBSeries->SelectedSeries();
  if (Series) *Series = s;
  return s != nullptr;
}

bool TChartEditForm::Protected(TChartSeries*) const {
  // A series from an inherited form would be; forms here are built by code.
  return false;
}

void TChartEditForm::RefreshButtons(TObject*) {
  if (destroying_) return;
  TChartSeries* s = nullptr;
  const bool current = Current(&s);
  const bool free = current && !Protected(s);
  const unsigned lock = s ? s->Locked() : 0;
  const bool single = LBSeries->SelCount() < 2;
  BAddSeries->SetEnabled((Options & ceoAdd) && Chart());
  LBSeries->SetAllowAddSeries(BAddSeries->Enabled());
  BDeleteSeries->SetEnabled(free && (Options & ceoDelete) && !(lock & (1 | 4)));
  LBSeries->SetAllowDeleteSeries(BDeleteSeries->Enabled());
  LBSeries->SetAskDelete(Options & ceoAskDelete);
  BRenameSeries->SetEnabled(current && single && (Options & ceoTitle));
  BChangeTypeSeries->SetEnabled(free && (Options & ceoChangeType) && !(lock & 2));
  // The glyph column's type change follows the button, for each series anew.
  if (LBSeries->ShowSeriesIcon()) LBSeries->SetEnableChangeType(BChangeTypeSeries->Enabled());
  BCloneSeries->SetEnabled(current && single && (Options & ceoClone) && !(lock & (1 | 8)));
  const int i = LBSeries->ItemIndex();
  BMoveDown->SetEnabled(current && single && i < LBSeries->Count() - 1);
  BMoveUP->SetEnabled(current && single && i > 0);
  LBSeries->SetEnableDragSeries(Options & ceoMove);
  BMoveUP->SetVisible(Options & ceoMove);
  BMoveDown->SetVisible(Options & ceoMove);
  RebuildSeriesNodesIfNeeded();
}

void TChartEditForm::BMoveUPClick(TObject*) {
  LBSeries->MoveUp();
  RefreshButtons(nullptr);
}

void TChartEditForm::BMoveDownClick(TObject*) {
  LBSeries->MoveDown();
  RefreshButtons(nullptr);
}

void TChartEditForm::BAddSeriesClick(TObject*) {
  if (!Chart()) return;
  // The tree moves a page's controls, never the tab itself: TabSeries stays put.
  TChartSeries* s = LBSeries->AddSeriesGallery();
  if (!s || !Chart() || !LiveSeries(s)) return;
  if ((Options & ceoGroups) && PanelGroups->Visible()) {
    if (TSeriesGroup* g = GroupAt(Groups->ItemIndex())) {
      g->Add(s);
      LBSeries->FillSeries(s);
    }
  }
  if (s->ParentChart()) {
    SetEditSeries(s);
    EditTheSeries(s);
    if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries)); page && page->TabDataSource->TabVisible()) {
      page->PageSeries->SetActivePage(page->TabDataSource);
      page->PageSeriesChange(page->PageSeries);
    }
  }
  if (LBSeries->CanFocus()) LBSeries->SetFocus();
  RefreshButtons(nullptr);
}

void TChartEditForm::BDeleteSeriesClick(TObject*) {
  if (!LBSeries->DeleteSeries()) return;
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries))) page->SelectSeries(LBSeries->SelectedSeries());
  RefreshButtons(nullptr);
}

void TChartEditForm::BRenameSeriesClick(TObject*) {
  TChartSeries* s = LBSeries->SelectedSeries();
  if (LBSeries->RenameSeries() && s) {
    const int row = LBSeries->Items()->IndexOfObject(s);
    if (TTreeNode* n = NodeOf(s); n && row >= 0) n->SetText(LBSeries->Items()->Strings(row));
  }
  if (!ActiveControl() && LBSeries->CanFocus()) LBSeries->SetFocus();
}

void TChartEditForm::BCloneSeriesClick(TObject*) {
  LBSeries->CloneSeries();
  RefreshButtons(nullptr);
}

void TChartEditForm::BChangeTypeSeriesClick(TObject*) {
  LBSeries->ChangeTypeSeries();
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries))) page->SelectSeries(LBSeries->SelectedSeries());
  RefreshButtons(nullptr);
}

void TChartEditForm::LBSeriesDblClickSeries(TObject*, int Index) {
  TChartSeries* s = LBSeries->SeriesAtIndex(Index);
  if (!s) return;
  if (TreeShown()) SelectNodeOf(s);
  else EditTheSeries(s);
}

void TChartEditForm::LBSeriesRemovedSeries(TObject*, TChartSeries*) { FillSeriesNodes(); }

void TChartEditForm::LBSeriesOtherItemsChange(TObject*) {
  if (auto* page = dynamic_cast<TFormLumSeries*>(PageForm(epSeries))) {
    const int i = LBSeries->ItemIndex();
    if (i < page->CBSeries->Items()->Count()) page->CBSeries->SetItemIndex(i);
  }
}

void TChartEditForm::PopupListSeriesPopup(TObject*) {
  MIHideOther->SetEnabled(LBSeries->ItemIndex() >= 0);
  MIShowAll->SetEnabled(Chart() && !Chart()->SeriesList().AllActive());
}

void TChartEditForm::MIHideOtherClick(TObject*) {
  for (int i = 0; i < LBSeries->Count(); ++i)
    if (TChartSeries* s = LBSeries->SeriesAtIndex(i)) s->SetActive(LBSeries->Selected(i));
  LBSeries->Invalidate();
}

void TChartEditForm::MIShowAllClick(TObject*) {
  if (!Chart()) return;
  for (TChartSeries* s : Chart()->SeriesList()) s->SetActive(true);
  LBSeries->Invalidate();
}

void TChartEditForm::MIHideAllClick(TObject*) {
  if (!Chart()) return;
  for (TChartSeries* s : Chart()->SeriesList()) s->SetActive(false);
  LBSeries->Invalidate();
}

void TChartEditForm::MISelectAllClick(TObject*) {
  LBSeries->SelectAll();
  RefreshButtons(nullptr);
}

void TChartEditForm::MISelectNoneClick(TObject*) {
  LBSeries->ClearSelection();
  RefreshButtons(nullptr);
}

void TChartEditForm::SpeedSeriesClick(TObject*) {
  const TPoint p = SpeedSeries->ClientToScreen(TPoint{0, SpeedSeries->Height()});
  PopupSeries->Popup(p.X, p.Y);
}

void TChartEditForm::MIViewNamesClick(TObject*) {
  MIViewNames->SetChecked(!MIViewNames->Checked());
  LBSeries->SetViewSeriesNames(MIViewNames->Checked());
  BRenameSeries->SetCaption(MIViewNames->Checked() ? "&Name..." : "&Title...");
  SpeedSeries->SetDown(false);
}

void TChartEditForm::MIViewGroupsClick(TObject*) {
MIViewGroups->SetChecked(!MIViewGroups->Checked());
  if (MIViewGroups->Checked()) Options |= ceoGroups;
  else Options &= std::uint16_t(~ceoGroups);
  SpeedSeries->SetDown(false);
  ShowGroupControls();
}

// ---- Closing and the creator ---------------------------------------------------
void EditChart(TComponent* Owner, TCustomChart* Chart) { EditChart(Owner, Chart, ceoDefault, {}, -1, nullptr); }

void EditChart(TComponent* Owner, TCustomChart* Chart, std::uint16_t Options, const std::set<int>& HiddenTabs,
               int StartPage, TComponent* Object) {
  TComponentRef<TChartEditForm> form(new TChartEditForm(Owner));
  try {
    // The groups show when the caller asks or the settings remember them shown.
    form->Options = std::uint16_t(Options | (form->Options & ceoGroups));
    form->HiddenTabs = HiddenTabs;
    form->StartPage = StartPage;
    form->SetChart(Chart);
    if (auto* s = dynamic_cast<TChartSeries*>(Object)) {
      form->SetEditSeries(s);
    } else if (auto* t = dynamic_cast<TLumCustomTool*>(Object); t && Chart) {
      if (Chart->Animations()->IndexOf(t) >= 0) form->SetEditAnimation(t);
      else form->SetEditTool(t);
    }
    form->ShowModal();
  } catch (...) {
    delete form.Get();
    throw;
  }
  delete form.Get();  // nothing when its owner freed it meanwhile
}
