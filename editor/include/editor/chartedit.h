// The chart editor window: one window that edits a whole chart. On its right the
// main pages (Chart, Series, Data, Tools, Animations, Export, Print), the Chart page
// holding the series list and the chart-level pages; on its left an optional tree of
// everything editable. Every page but the series list is a form of its own, made on
// the first visit of its tab and embedded there. The window remembers its place,
// size, tree and series-group view in the editor settings.
//
// EditChart shows it modally on a chart and frees it. A chart freed while the editor
// is open leaves an editor without a chart: both page controls disabled, the pages
// that held the chart's objects freed, the list, tree and grid emptied.
#pragma once
#include <cstdint>
#include <set>
#include <string>

#include "engine/listeners.h"
#include "gallery/seriesgallery.h"
#include "platform/compwatch.h"
#include "platform/lists.h"
#include "platform/menus.h"
#include "platform/stdctrls.h"
#include "platform/trees.h"

class TChartGrid;
class TChartGridNavigator;
class TChartListBox;
class TChartSeries;
class TCustomChart;
class TLumCustomTool;
class TSeriesGroup;

// The page numbers of StartPage and HiddenTabs.
enum TChartEditorPage {
  epSeriesList,    // the series list (the Chart page's first tab)
  epGeneral,
  epAxis,
  epTitles,
  epLegend,
  epPanel,
  epPaging,
  epWalls,
  ep3D,
  epSeriesGeneral,  // hidden: the series page's General tab
  epSeriesMarks,    // hidden: the series page's Marks tab
  epSeries,
  epData,
  epExport,
  epExportNative,  // hidden: the export form's native-format tab
  epTools,
  epAnimations,
  epPrint,
  epPageCount
};

// The bits of Options: which series operations the editor offers.
enum : std::uint16_t {
  ceoAdd = 0x0001,
  ceoDelete = 0x0002,
  ceoChangeType = 0x0004,
  ceoClone = 0x0008,
  ceoDataSource = 0x0010,  // the series page's Data Source tab
  ceoTitle = 0x0020,
  ceoUnused = 0x0040,
  ceoGroups = 0x0080,     // the series groups shown
  ceoGroupAll = 0x0100,   // the group list starts with "(all)"
  ceoMove = 0x0200,
  ceoAskDelete = 0x0400,
  ceoDefault = 1919  // 0x077F: all but the groups and "(all)"
};

class TChartEditForm;

// The editor's hook list: each is called with the form, the chart, the page shown
// (nullptr at show) and the main page control. The program installs none.
using TChartEditorHook = void (*)(TChartEditForm* Form, TCustomChart* Chart, TTabSheet* Page, TPageControl* Pages);
std::vector<TChartEditorHook>& ChartEditorHooks();

class TChartEditForm : public TForm, public IGalleryOwner, public ILumEventListener {
  DECLARE_CLASS(TChartEditForm, TForm)
public:
  explicit TChartEditForm(TComponent* AOwner);
  ~TChartEditForm() override;

  TTreeView* Tree;
  TSplitter* TreeSplitter;
  TPageControl* MainPage;
  TTabSheet* TabChart;
  TTabSheet* TabSeries;
  TTabSheet* TabData;
  TTabSheet* TabTools;
  TTabSheet* TabAnimations;
  TTabSheet* TabExport;
  TTabSheet* TabPrint;
  TPageControl* SubPage;
  TTabSheet* TabSeriesList;
  TTabSheet* TabGeneral;
  TTabSheet* TabAxis;
  TTabSheet* TabTitle;
  TTabSheet* TabLegend;
  TTabSheet* TabPanel;
  TTabSheet* TabPaging;
  TTabSheet* TabWalls;
  TTabSheet* Tab3D;
  // The series list page.
  TPanel* PanelTop;
  TSpeedButton* SpeedSeries;
  TButton* BAddGroup;
  TButton* BDeleteGroup;
  TButton* BRenameGroup;
  TPanel* PanelGroups;
  TCheckListBox* Groups;
  TSplitter* Splitter1;
  TChartListBox* LBSeries;
  TPanel* PanelButtons;
  TSpeedButton* BMoveUP;
  TSpeedButton* BMoveDown;
  TButton* BAddSeries;
  TButton* BDeleteSeries;
  TButton* BRenameSeries;
  TButton* BCloneSeries;
  TButton* BChangeTypeSeries;
  // The Data page.
  TChartGrid* ChartGrid1;
  TPanel* PanelData;
  TChartGridNavigator* ChartGridNavigator1;
  TSpeedButton* SBGridText;
  TSpeedButton* SBGridCol;
  TSpeedButton* SBGrid3D;
  TSpeedButton* SBGridX;
  TSpeedButton* SBCopyData;
  TSpeedButton* SBGridVisuals;
  // The bottom.
  TPanel* PanelBottom;
  TButton* ButtonHelp;
  TButton* BClose;
  // The menus.
  TPopupMenu* PopupSeries;
  TMenuItem* MIViewNames;
  TMenuItem* MIViewGroups;
  TPopupMenu* PopupListSeries;
  TMenuItem* MIHideOther;
  TMenuItem* MIShowAll;
  TMenuItem* MIHideAll;
  TMenuItem* MISelectAll;
  TMenuItem* MISelectNone;
  TPopupMenu* PopupData;
  TMenuItem* MIEditColor;
  TMenuItem* MIDefaultColor;
  TMenuItem* MIMakeNull;
  TMenuItem* MIAppendRow;
  TMenuItem* MIDeleteRow;
  TMenuItem* MITextFont;

  // Set by the creator before the form shows.
  std::uint16_t Options = ceoDefault;
  std::set<int> HiddenTabs;  // page numbers (TChartEditorPage)
  int StartPage = -1;
  // The series, tool or animation to open at show (watched: one freed meanwhile is
  // forgotten).
  TChartSeries* EditSeries() const { return editSeries_.Get(); }
  void SetEditSeries(TChartSeries* Value) { editSeries_.Set(Value); }
  TLumCustomTool* EditTool() const { return editTool_.Get(); }
  void SetEditTool(TLumCustomTool* Value) { editTool_.Set(Value); }
  TLumCustomTool* EditAnimation() const { return editAnimation_.Get(); }
  void SetEditAnimation(TLumCustomTool* Value) { editAnimation_.Set(Value); }

  // The chart edited (not owned); nullptr from the moment it starts being freed
  // (pages and controls told before the editor may call back meanwhile). Setting one
  // reads the remembered place and size; a setting of the wrong type raises the
  // registry's exception before anything changes.
  TCustomChart* Chart() const;
  void SetChart(TCustomChart* Value);

  bool RememberPosition() const { return rememberPosition_; }
  bool RememberSize() const { return rememberSize_; }
  // The form's width without the tree and its splitter, kept while the tree shows.
  int WidthWithoutTree() const { return widthWithoutTree_; }
  // The series gallery's size while this editor is open (below 1: none).
  int GalleryWidth() const override { return galleryWidth_; }
  int GalleryHeight() const override { return galleryHeight_; }

  // The page form made for a page number (nullptr until its first visit, and for the
  // series list and the Data page, which are the editor's own).
  TForm* PageForm(int Page) const;
  // The page number whose tab sheet this is (-1 when none).
  int PageOfTab(const TTabSheet* Tab) const;
  TTabSheet* TabOfPage(int Page) const;
  // The panel that shows the tree's page (nullptr until the tree is built).
  TPanel* TreePanel() const { return treePanel_.Get(); }
  // The tree's root nodes for series, tools and animations (nullptr when none).
  TTreeNode* SeriesNode() const { return seriesNode_; }
  TTreeNode* ToolsNode() const { return toolsNode_; }
  TTreeNode* AnimationsNode() const { return animationsNode_; }
  // The smallest client size that shows every page the table makes whole.
  int MinClientWidth() const;
  int MinClientHeight() const;

  // Series groups: the group of a list entry (nullptr for "(all)" or none).
  int GroupOffset() const { return (Options & ceoGroupAll) ? 1 : 0; }
  TSeriesGroup* GroupAt(int Entry) const;
  void FillGroups();

  // Shows a page as a user would pick its tab (or its tree node in tree mode).
  void ShowPage(int Page);
  // Opens the series page for the series.
  void EditTheSeries(TChartSeries* Series);

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormResize(TObject* Sender);
  void MainPageChanging(TObject* Sender, bool& AllowChange);
  void MainPageChange(TObject* Sender);
  void SubPageChange(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
  void BCloseClick(TObject* Sender);
  // The series list and its buttons.
  void RefreshButtons(TObject* Sender);
  void BMoveUPClick(TObject* Sender);
  void BMoveDownClick(TObject* Sender);
  void BAddSeriesClick(TObject* Sender);
  void BDeleteSeriesClick(TObject* Sender);
  void BRenameSeriesClick(TObject* Sender);
  void BCloneSeriesClick(TObject* Sender);
  void BChangeTypeSeriesClick(TObject* Sender);
  void LBSeriesDblClickSeries(TObject* Sender, int Index);
  void LBSeriesRemovedSeries(TObject* Sender, TChartSeries* Series);
  void LBSeriesOtherItemsChange(TObject* Sender);
  void PopupListSeriesPopup(TObject* Sender);
  void MIHideOtherClick(TObject* Sender);
  void MIShowAllClick(TObject* Sender);
  void MIHideAllClick(TObject* Sender);
  void MISelectAllClick(TObject* Sender);
  void MISelectNoneClick(TObject* Sender);
  void SpeedSeriesClick(TObject* Sender);
  void MIViewNamesClick(TObject* Sender);
  void MIViewGroupsClick(TObject* Sender);
  // The Data page.
  void SBGridTextClick(TObject* Sender);
  void SBGridColClick(TObject* Sender);
  void SBGrid3DClick(TObject* Sender);
  void SBGridXClick(TObject* Sender);
  void SBGridVisualsClick(TObject* Sender);
  void SBCopyDataClick(TObject* Sender);
  void PopupDataPopup(TObject* Sender);
  void MIEditColorClick(TObject* Sender);
  void MIDefaultColorClick(TObject* Sender);
  void MIMakeNullClick(TObject* Sender);
  void MIAppendRowClick(TObject* Sender);
  void MIDeleteRowClick(TObject* Sender);
  void MITextFontClick(TObject* Sender);
  // The tree and the groups.
  void TreeChange(TObject* Sender, TTreeNode* Node);
  void GroupsClick(TObject* Sender);
  void GroupsClickCheck(TObject* Sender);
  void BAddGroupClick(TObject* Sender);
  void BDeleteGroupClick(TObject* Sender);
  void BRenameGroupClick(TObject* Sender);
  void GroupsDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void GroupsDragDrop(TObject* Sender, TObject* Source, int X, int Y);

  // A help request on a control: with the help border icon, the first non-zero help
  // context of the control and its parents opens; without it the request passes on
  // (false).
  bool HelpRequest(TControl* Control);

  void LumEvent(const TLumEvent& Event) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend struct TChartEditorPages;
  struct TPlace;
  void ReadSettings();
  TPlace ReadPlace() const;
  void ApplyPlace(const TPlace& Place);
  void WriteSettings();
  void ApplyEditorFont(const std::string& Value);
  bool ListShown() const;
  bool Current(TChartSeries** Series = nullptr) const;
  bool Protected(TChartSeries* Series) const;
  void SelectFirstSeries();
  void GoToStartPage();
  void HideTabs();
  void ChartFreed();
  void FreePages();
  void CallHooks(TTabSheet* Page);
  // Pages.
  TForm* MakePage(int Page);
  void VisitMainPage(TTabSheet* Tab);
  void VisitSubPage(TTabSheet* Tab);
  void VisitSeriesPage(TChartSeries* Series);
  void VisitData();
  void VisitToolPage(int Page, TLumCustomTool* Tool);
  void SelectTabOf(TPageControl* Pages, TTabSheet* Tab);
  void ForgetSeriesPageSeries();
  void SeriesPageEvent(TObject* Sender, TLumSeriesEventStyle Event, TChartSeries* Series);
  void AxisChanged(class TChartAxis* Axis);
  void ToolAdded(TLumCustomTool* Tool);
  void ToolDeleted(TLumCustomTool* Tool);
  void GridChanged();
  TChartSeries* FirstSeries() const;
  // The tree.
  bool TreeShown() const;
  void BuildTree();
  void FillSeriesNodes();
  void RebuildSeriesNodesIfNeeded();
  TTreeNode* NodeOf(const TObject* Data) const;
  void SelectNodeOf(const TObject* Data);
  void ShowInPanel(TWinControl* Source);
  void PutPagesBack();
  void ShowObjectPage(TTabSheet* Tab, TObject* Object);
  bool LiveSeries(const TObject* Object) const;
  bool LiveTool(const TObject* Object) const;
  // Groups.
  void ShowGroupControls();
  void RestrictToGroup();
  void UpdateAllCheck();

  TCustomChart* chart_ = nullptr;
  TComponentRef<TChartSeries> editSeries_;
  TComponentRef<TLumCustomTool> editTool_, editAnimation_;
  bool rememberPosition_ = true, rememberSize_ = true;
  int widthWithoutTree_ = 0;
  int galleryWidth_ = 0, galleryHeight_ = 0;
  TComponentRef<TForm> pages_[epPageCount];
  // The objects last edited on the Axis, Titles and Walls pages.
  TObject* axis_ = nullptr;
  TObject* title_ = nullptr;
  TObject* wall_ = nullptr;
  TComponentRef<TPanel> treePanel_;
  TWinControl* panelSource_ = nullptr;  // where the controls in the tree's panel came from
  bool seriesListPlaced_ = false;
  TTreeNode* seriesNode_ = nullptr;
  TTreeNode* toolsNode_ = nullptr;
  TTreeNode* animationsNode_ = nullptr;
  bool buildingTree_ = false;
  bool selectingNode_ = false;
  bool grid3DSet_ = false;
  bool destroying_ = false;
};

// Shows the editor modally on the chart, then frees it. The second form sets the
// options (the series groups show when they ask or the settings remember them shown),
// hidden tabs and start page, and opens Object (a series, tool or animation of the
// chart) at show. A setting of the wrong type raises before anything shows.
void EditChart(TComponent* Owner, TCustomChart* Chart);
void EditChart(TComponent* Owner, TCustomChart* Chart, std::uint16_t Options, const std::set<int>& HiddenTabs,
               int StartPage, TComponent* Object);
