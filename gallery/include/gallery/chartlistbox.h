// The chart list box's procedure variables through which it reaches the series
// gallery (filled by the series gallery's unit at start-up, cleared at its exit).
#pragma once
#include "platform/classes.h"

class TChartSeries;
class TCustomAxisPanel;

// (owner, chart, selected series): the new series, or nullptr.
using TGalleryNewSeriesProc = TChartSeries* (*)(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeries* Series);
// (owner, series in and out): the new series' class.
using TGalleryChangeTypeProc = TClass (*)(TComponent* Owner, TChartSeries*& Series);

extern TGalleryNewSeriesProc GalleryNewSeriesHook;
extern TGalleryChangeTypeProc GalleryChangeTypeHook;

// ---------------------------------------------------------------------------
// The series of one chart, a row each, with up to four columns: the type's glyph, an
// active check, the series colour and the title. Rows switch, recolour, rename,
// reorder, add, clone and delete series; the list follows the chart as a listener.
#include <memory>

#include "chart/legend.h"
#include "engine/listeners.h"
#include "platform/compwatch.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TCustomChart;
class TSeriesGroup;

using TChangeSeriesEvent = TEvent<void(TObject* Sender, TChartSeries* Series)>;
using TChangeOrderEvent = TEvent<void(TObject* Sender, TChartSeries* Series1, TChartSeries* Series2)>;
using TDblClickSeriesEvent = TEvent<void(TObject* Sender, int Index)>;

class TChartListBox : public TListBox, public ILumEventListener {
  DECLARE_CLASS(TChartListBox, TListBox)
public:
  enum TColumn { colGlyph, colActive, colColor, colTitle };

  explicit TChartListBox(TComponent* AOwner);
  ~TChartListBox() override;

  TCustomChart* Chart() const { return chart_; }
  void SetChart(TCustomChart* Value);
  bool AllowAddSeries() const { return allowAdd_; }
  void SetAllowAddSeries(bool Value) { allowAdd_ = Value; }
  bool AllowDeleteSeries() const { return allowDelete_; }
  void SetAllowDeleteSeries(bool Value) { allowDelete_ = Value; }
  bool AskDelete() const { return askDelete_; }
  void SetAskDelete(bool Value) { askDelete_ = Value; }
  TCheckBoxesStyle CheckStyle() const { return checkStyle_; }
  void SetCheckStyle(TCheckBoxesStyle Value);
  bool EnableChangeColor() const { return enableChangeColor_; }
  void SetEnableChangeColor(bool Value) { enableChangeColor_ = Value; }
  bool EnableDragSeries() const { return enableDrag_; }
  void SetEnableDragSeries(bool Value) { enableDrag_ = Value; }
  bool EnableChangeType() const { return enableChangeType_; }
  void SetEnableChangeType(bool Value) { enableChangeType_ = Value; }
  bool FontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(bool Value);
  bool ShowSeriesIcon() const { return shown_[colGlyph]; }
  void SetShowSeriesIcon(bool Value) { SetShown(colGlyph, Value); }
  bool ShowActiveCheck() const { return shown_[colActive]; }
  void SetShowActiveCheck(bool Value) { SetShown(colActive, Value); }
  bool ShowSeriesColor() const { return shown_[colColor]; }
  void SetShowSeriesColor(bool Value) { SetShown(colColor, Value); }
  bool ShowSeriesTitle() const { return shown_[colTitle]; }
  void SetShowSeriesTitle(bool Value) { SetShown(colTitle, Value); }

  TChangeSeriesEvent OnChangeActive, OnChangeColor, OnRemovedSeries;
  TChangeOrderEvent OnChangeOrder;
  TDblClickSeriesEvent OnDblClickSeries;
  TNotifyEvent OnOtherItemsChange, OnRefresh;

  // Rows of the chart's series (or the group's), Keep selected (else the first row).
  void FillSeries(TChartSeries* Keep);
  void UpdateSeries();
  TChartSeries* SelectedSeries() const;
  TChartSeries* SeriesAtIndex(int Index) const;
  void SelectSeries(TChartSeries* Series);
  TSeriesGroup* SeriesGroup() const { return group_; }
  void SetSeriesGroup(TSeriesGroup* Value);
  bool ViewSeriesNames() const { return namesMode_; }
  void SetViewSeriesNames(bool Value);
  void MoveUp();
  void MoveDown();
  // Exchanges two rows and their series.
  void ExchangeRows(int A, int B);
  bool DeleteSeries();
  void CloneSeries();
  bool RenameSeries();
  TChartSeries* AddSeriesGallery();
  void ChangeTypeSeries();
  // Starts the in-place title edit of the selected row.
  void StartTitleEdit();
  // Ends it: the title is kept unless Cancel.
  void EndTitleEdit(bool Cancel);
  TEdit* TitleEditor() const { return edit_; }
  // Kept in step with the rows (exchanged and shortened with them); not owned.
  TStrings* OtherItems = nullptr;
  // Column geometry: the left edge (sum of the visible columns before it) and which
  // column lies at X (-1 past the last).
  int ColumnLeft(int Column) const;
  int ColumnAt(int X) const;
  static constexpr int ColumnWidths[4] = {26, 16, 26, 216};

  void LumEvent(const TLumEvent& Event) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // After a change of the series list: the chart's editor-side notification.
  virtual void ChartChanged() {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void DblClick() override;

private:
  void SetShown(int Column, bool Value);
  void RemoveRow(TChartSeries* Series);
  void Refreshed();
  void SelfDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void SelfDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void SelfClick(TObject* Sender);
  void EditKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
  std::vector<TChartSeries*> SelectedList();
  TCustomChart* chart_ = nullptr;
  TSeriesGroup* group_ = nullptr;
  bool allowAdd_ = true, allowDelete_ = true, askDelete_ = true, enableChangeColor_ = true, enableDrag_ = true,
       enableChangeType_ = true, fontSeriesColor_ = false, namesMode_ = false;
  bool shown_[4] = {true, true, true, true};
  TCheckBoxesStyle checkStyle_ = cbsCheck;
  TEdit* edit_ = nullptr;
  TComponentWatch editSeries_;
  bool inDblClick_ = false, changingTypes_ = false, destroying_ = false;
  TPoint mouse_{-1, -1};
};
