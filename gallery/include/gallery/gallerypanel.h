// The gallery panel: small live charts of the registered series types (or functions)
// of one gallery page in a grid of cells, a selection picked by mouse or keys, and a
// pop-up sub-gallery of the selected type's sub-styles.
#pragma once
#include <memory>
#include <vector>

#include "chart/chart.h"
#include "chart/registry.h"
#include "platform/controls.h"

class TChartGalleryPanel;

// A chart with the thumbnail look. Smooth charts are drawn at twice the size and
// resampled bilinearly into the control's picture.
class TGalleryChart : public TCustomChart {
  DECLARE_CLASS(TGalleryChart, TCustomChart)
public:
  explicit TGalleryChart(TComponent* AOwner);

  bool Smooth() const { return smooth_; }
  void SetSmooth(bool Value) { SetBooleanProperty(smooth_, Value); }
  // True while the double-size picture is being made (not the panel's Drawing()).
  bool SmoothDrawing() const { return smoothDrawing_; }
  // Margins of 4 in 3D and 5 flat.
  void SetGalleryMargins();
  // The top-left corner of the sub-gallery arrow's 12-pixel square is
  // (X, Y - 12); the arrow's tip points down inside it.
  TPoint ArrowPosition() const;
  bool ShowsArrow() const;
  // The panel's look of a selected chart (Highlighted: gradient visible).
  bool Highlighted() const { return HasGradient() && Gradient()->Visible(); }
  // Whether P (client pixels) lies in the arrow's square.
  bool OnArrow(const TPoint& P) const;
  // Cursor kept at creation (crHandPoint enabled, crNoDrop disabled).
  TCursor SavedCursor = crDefault;
  // Where the mouse last was over the chart.
  TPoint MousePos{-1, -1};

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

private:
  void ChartAfterDraw(TObject* Sender);
  void SmoothRedraw();
  void DrawArrow(TCanvas* Canvas, int) const;
  void DrawHoverFrame(bool Raised);
  bool smooth_ = false;
  bool smoothDrawing_ = false;
};

// Owns its charts: Clear frees them.
class TChartList {
public:
  TChartList() = default;
  TChartList(const TChartList&) = delete;
  TChartList& operator=(const TChartList&) = delete;
  ~TChartList() { Clear(); }
  int Count() const { return int(items_.size()); }
  TGalleryChart* Get(int Index) const { return items_.at(size_t(Index)); }
  TGalleryChart* operator[](int Index) const { return Get(Index); }
  int IndexOf(const TGalleryChart* Chart) const;
  void Add(TGalleryChart* Chart) { items_.push_back(Chart); }
  // Takes the chart out without freeing it (it was freed elsewhere).
  void Extract(TGalleryChart* Chart);
  void Clear();
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<TGalleryChart*> items_;
};

class TChartGalleryPanel : public TPanel {
  DECLARE_CLASS(TChartGalleryPanel, TPanel)
public:
  // Smooth starts from the editor setting "SmoothGallery".
  explicit TChartGalleryPanel(TComponent* AOwner);
  // Writes "SmoothGallery" when Smooth changed since creation.
  ~TChartGalleryPanel() override;

  TChartList& Charts() { return charts_; }
  const TChartList& Charts() const { return charts_; }
  TGalleryChart* GetChart(int Index) const { return charts_.Get(Index); }
  int ChartWidth = 0, ChartHeight = 0;

  bool DisplaySub() const { return displaySub_; }
  void SetDisplaySub(bool Value) { displaySub_ = Value; }
  bool FocusRotation() const { return focusRotation_; }
  void SetFocusRotation(bool Value) { focusRotation_ = Value; }
  int NumRows() const { return numRows_; }
  void SetNumRows(int Value);
  int NumCols() const { return numCols_; }
  void SetNumCols(int Value);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool Value);
  bool View3D() const { return view3D_; }
  void SetView3D(bool Value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);

  TNotifyEvent OnChangeChart;
  TNotifyEvent OnSelectedChart;
  TNotifyEvent OnSubSelected;

  // The pop-up while a sub-gallery shows, and its panel.
  TForm* SubGalleryForm = nullptr;
  TChartGalleryPanel* SubPanel = nullptr;
  bool IsSubPanel = false;
  TGalleryChart* SelectedChart = nullptr;
  // When set, every chart made gets a canvas of this class.
  TClass RenderClass = nullptr;
  // With both set, a type that cannot take CurrentSeries as its source shows disabled.
  // The series is let go when it is freed.
  bool CheckSeries = false;
  TChartSeries* CurrentSeries() const { return currentSeries_; }
  void SetCurrentSeries(TChartSeries* Value);
  bool FunctionsMode = false;

  // A new gallery chart of the entry, placed in the next cell.
  TGalleryChart* CreateChart(const TLumSeriesType& Entry);
  // Takes a chart its owner made (owned by this panel) into Charts, with the panel's
  // click, focus, double-click and key handling; ResizeCharts then places it.
  void AddChart(TGalleryChart* Chart);
  // Rebuilds the panel with the entries of one page and preselects.
  void CreateGalleryPage(const std::string& Page);
  // Cell size, then every chart's bounds.
  void ResizeCharts();
  virtual void SelectChart(TGalleryChart* Chart);
  // False when nothing is selected.
  bool GetChartSeries(TClass& SeriesClass, TClass& FunctionClass, int& SubIndex);
  // Highlights SelectedChart (the first enabled one when none) and resets the others.
  void ShowSelectedChart();
  // Nothing selected, no chart highlighted (no event fired).
  void ClearSelection();
  // Clears the panel and makes a chart of each sub-style of the class.
  void CreateSubGalleryCharts(TClass SeriesClass);
  // Opens the pop-up of the selected chart's sub-styles (modal).
  void ShowSubGallery();
  // The sub-panel's choice: applies the sub-style to the selected chart.
  void SubSelected(TObject* Sender);
  // Key handling of the panel (arrows, Alt+Down, Return); charts forward theirs.
  void ChartKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);

  static void DefineProperties(TPropertyTable& t);

protected:
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  int Border() const { return BevelWidth() + borderWidth_; }
  TRect CellBounds(int Index) const;
  void ChartClick(TObject* Sender);
  void ChartEnter(TObject* Sender);
  void ChartDblClick(TObject* Sender);
  void Highlight(TGalleryChart* Chart, bool On);
  void SubFormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
  void SubStripClick(TObject* Sender);
  void SubArrowPaint(TObject* Sender);
  TChartList charts_;
  bool displaySub_ = true;
  bool focusRotation_ = true;
  int numRows_ = 3, numCols_ = 4;
  bool smooth_ = false, oldSmooth_ = false;
  bool view3D_ = true;
  int borderWidth_ = 0;
  TChartSeries* currentSeries_ = nullptr;
};

// The editor setting "GalleryMode" (0 when missing).
int ReadGalleryMode();

// Registers the gallery controls (panel, gallery chart, chart list box) and the
// dialogs' pen and gradient buttons by name, and the module's bitmaps.
void LumGalleryPanelUnitInit();
void LumGalleryPanelUnitDone();
