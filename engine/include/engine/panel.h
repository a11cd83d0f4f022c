// The chart panel: a control that draws a whole chart through its drawing canvas
// into its off-screen image.
//
//   TCustomLumPanel          the canvas, repainting, colour, margins, bevels,
//                            border, the plot rectangle, 3D view, clipping,
//                            pictures of the chart
//   TCustomLumPanelExtended  the panel gradient and background
//   TCustomAxisPanel         series, axes and the paint pipeline
//
// Painting follows the platform's deferred model: Invalidate (when AutoRepaint is
// on) asks for one paint; the paint draws the whole chart in this order:
//   panel background            DrawPanelBackground           tools: 2
//   titles and legend (layout)  DrawTitlesAndLegend(true)
//   axes layout, 3D size        CalcAxisRect, CalcSize3D
//   walls                       DrawWalls                     tools: 3
//   axes and grid when behind   DrawAxes                      tools: 1
//   series in depth order, each with its marks                tools: 4
//   axes when in front, depth axes always
//   titles and legend           DrawTitlesAndLegend(false)
//   OnAfterDraw (the chart as sender, its canvas current)     tools: 0
// Drawing never nests: a chart asked to draw while it draws (an after-draw handler
// that refills series, pumps messages or asks for a picture) only asks for one
// more paint, which the platform runs after this one at display rate.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "canvas/attributes.h"
#include "engine/axis.h"
#include "engine/backimage.h"
#include "engine/listeners.h"
#include "engine/series.h"
#include "engine/tools.h"
#include "engine/zoom.h"
#include "platform/classes.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/typinfo.h"

class TCanvas3D;
class TMetafile;
class TSeriesGroups;
class TView3DOptions;

enum TPanelMarginUnits { muPercent, muPixels };

class TCustomLumPanel : public TCustomControl {
  DECLARE_CLASS(TCustomLumPanel, TCustomControl)
public:
  explicit TCustomLumPanel(TComponent* AOwner);
  ~TCustomLumPanel() override;

  // The chart's drawing canvas (valid while the chart exists).
  TCanvas3D* Canvas() const { return canvas_.get(); }
  // Replaces the drawing canvas (the panel takes it), carrying the view settings
  // over, and frees the previous one.
  void SetCanvas(TCanvas3D* NewCanvas);

  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool Value) { autoRepaint_ = Value; }
  // With AutoRepaint on, asks for a paint (deferred; see above).
  void Invalidate() override;

  // The background; clLumColor stands for the button face.
  TColor GetBackColor() const;
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool Value);

  // Margins by index: 0 left, 1 top, 2 right, 3 bottom.
  int GetMargin(int Index) const;
  void SetMargin(int Index, int Value);
  int MarginLeft() const { return margins_[0]; }
  int MarginTop() const { return margins_[1]; }
  int MarginRight() const { return margins_[2]; }
  int MarginBottom() const { return margins_[3]; }
  void SetMarginLeft(int Value) { SetMargin(0, Value); }
  void SetMarginTop(int Value) { SetMargin(1, Value); }
  void SetMarginRight(int Value) { SetMargin(2, Value); }
  void SetMarginBottom(int Value) { SetMargin(3, Value); }
  TPanelMarginUnits MarginUnits() const { return marginUnits_; }
  void SetMarginUnits(TPanelMarginUnits Value);

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  // Pixels between the bevels.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);
  // A frame around the whole panel (hidden by default).
  TChartPen* Border() const { return border_.get(); }
  int BorderRound() const { return borderRound_; }
  void SetBorderRound(int Value);

  // The plot rectangle of the last layout and its size and centre; they keep
  // their values until the next layout.
  const TRect& ChartRect() const { return chartRect_; }
  void SetChartRect(const TRect& Value) { chartRect_ = Value; }
  int ChartWidth() const { return chartWidth_; }
  int ChartHeight() const { return chartHeight_; }
  int ChartXCenter() const { return chartXCenter_; }
  int ChartYCenter() const { return chartYCenter_; }
  // The rectangle the whole chart was last drawn into.
  const TRect& ChartBounds() const { return chartBounds_; }
  // Puts ChartRect's edges in order and recomputes width, height and centre.
  void RecalcWidthHeight();
  // The 3D depth in pixels (0 in 2D).
  int Width3D() const { return width3D_; }
  int Height3D() const { return height3D_; }
  void SetSize3D(int AWidth3D, int AHeight3D) { width3D_ = AWidth3D; height3D_ = AHeight3D; }

  bool View3D() const { return view3D_; }
  void SetView3D(bool Value);
  TView3DOptions* View3DOptions() const { return view3DOptions_.get(); }

  // Series drawing is clipped to the plot rectangle when CanClip.
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool Value);
  virtual bool CanClip() const;

  // Set by a tool to stop the handling of the current mouse event.
  bool CancelMouse = false;
  // Mouse zoom and panning settings.
  TChartZoom* Zoom() const { return zoom_.get(); }
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode Value) { allowPanning_ = Value; }
  TMouseButton ScrollMouseButton() const { return scrollMouseButton_; }
  void SetScrollMouseButton(TMouseButton Value) { scrollMouseButton_ = Value; }
  TZoomPanning* Panning() const { return panning_.get(); }
  // The chart's own cursor, which tools that show another while the mouse is over
  // something of theirs give back when it leaves (crDefault at first). Whoever sets
  // the chart's Cursor as its own sets this too (the chart editor does).
  TCursor SavedCursor() const { return savedCursor_; }
  void SetSavedCursor(TCursor Value) { savedCursor_ = Value; }
  // Shows the saved cursor again (a tool's hover ended).
  void RestoreSavedCursor() {
    if (Cursor() != savedCursor_) SetCursor(savedCursor_);
  }

  // Draws the whole chart into the canvas now, within UserRect; refused (one more
  // paint asked for instead) while the chart is drawing.
  void Draw(const TRect& UserRect);
  // A new bitmap of the rectangle's size with the whole chart drawn into it (the
  // caller frees it); nullptr while the chart is drawing.
  TBitmap* CreateBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat = pfDevice);
  // True while a drawing runs.
  bool Drawing() const { return drawing_ > 0; }
  // Whether drawing the panel's background sets every pixel of Rect first, so a
  // picture made for the panel needs no fill of its own.
  virtual bool BackgroundCovers(const TRect&) const { return false; }

  // ---- Printing and metafile pictures (engine/src/print.cpp) ----
  // A new metafile (enhanced or Windows) of the rectangle's size with the whole
  // chart drawn into it (the caller frees it); nullptr while the chart is drawing.
  TMetafile* CreateMetafile(bool Enhanced, const TRect& R);
  // The size the chart is drawn at before it is stretched into ChartRect (a page
  // or preview rectangle), PanelRect being the panel's own. PrintResolution
  // chooses: 0 draws at the panel's own pixel density (the picture is stretched,
  // so pens, fonts and marks grow with the page as they look on screen), -100 at
  // the full size of ChartRect (thin pens, small fonts, the finest detail), values
  // between in proportion; the aspect of ChartRect is kept. X, Y are ChartRect's
  // corner; an empty ChartRect gives 0 x 0.
  void CalcPrintRect(const TRect& ChartRect, const TRect& PanelRect, int& X, int& Y, int& W, int& H) const;
  // Recomputes PrintMargins so that the chart keeps the panel's proportions on the
  // printer's page, centring it within the margins it had.
  void CalcProportionalPrintRect();
  // The printer-page rectangle left inside PrintMargins.
  TRect ChartPrintRect() const;
  // Prints the chart into R in the current print job (EPrinter when none runs);
  // an empty R prints nothing. On an error the job is aborted and the error
  // passes on.
  void PrintRect(const TRect& R);
  // Left, top, right and bottom margins in percent of the page (15 each).
  const TRect& PrintMargins() const { return printMargins_; }
  void SetPrintMargins(const TRect& Value) { printMargins_ = Value; }
  bool PrintProportional() const { return printProportional_; }
  void SetPrintProportional(bool Value) { printProportional_ = Value; }
  // -100..0, see CalcPrintRect.
  int PrintResolution() const { return printResolution_; }
  void SetPrintResolution(int Value);
  // True while the chart draws for a printer, a metafile or a preview.
  bool Printing() const { return printing_; }
  void SetPrinting(bool Value) { printing_ = Value; }

  // Fired once after each complete drawing, with the chart as sender and its canvas
  // current.
  TNotifyEvent OnAfterDraw;

  // Store Value into Field; repaint and answer true only when it changed.
  bool SetBooleanProperty(bool& Field, bool Value) { return SetProperty(Field, Value); }
  bool SetColorProperty(TColor& Field, TColor Value) { return SetProperty(Field, Value); }

  // ---- Event listeners (codes in engine/listeners.h) ----
  TLumEventListeners& Listeners() { return listeners_; }
  void RemoveListener(ILumEventListener* Listener) { listeners_.Remove(Listener); }
  // Tells the listeners about a series (nullptr: the whole chart, codes 5 and 6).
  void BroadcastListenerEvent(TChartSeries* Series, TLumSeriesEventStyle Event);
  void BroadcastView3DEvent();

  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void ColorChanged() override;
  // The chart itself: everything inside UserRect on Canvas().
  virtual void InternalDraw(const TRect& UserRect) = 0;
  // UserRect less the bevels, border and margins.
  TRect InnerRect(const TRect& UserRect) const;
  // The panel's margins in pixels (left, top, right, bottom) inside the frame of UserRect.
  std::array<int, 4> MarginPixels(const TRect& UserRect) const;
  // Store Value into Field; repaint and answer true only when it changed.
  template <class T>
  bool SetProperty(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    Invalidate();
    return true;
  }
  bool SetIntegerProperty(int& Field, int Value) { return SetProperty(Field, Value); }
  void SetChartBounds(const TRect& Value) { chartBounds_ = Value; }
  void CanvasChanged(TObject* Sender);

private:
  void DrawOn(TCanvas3D* Target, const TRect& UserRect);
  // Draws the whole chart into Area of Dest through a canvas of its own (the chart's
  // canvas meanwhile); false (one more paint asked for) while the chart draws.
  bool DrawOnto(TCanvas* Dest, TColor BackColor, const TRect& Area);
  void View3DChanged(TObject* Sender);

  std::unique_ptr<TCanvas3D> canvas_;
  bool autoRepaint_ = true;
  bool monochrome_ = false;
  int margins_[4] = {3, 3, 3, 3};
  TPanelMarginUnits marginUnits_ = muPercent;
  TPanelBevel bevelInner_ = bvNone, bevelOuter_ = bvRaised;
  int bevelWidth_ = 1, borderWidth_ = 0, borderRound_ = 0;
  std::unique_ptr<TChartPen> border_;
  TRect chartRect_, chartBounds_;
  int chartWidth_ = 0, chartHeight_ = 0, chartXCenter_ = 0, chartYCenter_ = 0;
  int width3D_ = 0, height3D_ = 0;
  bool view3D_ = true;
  std::unique_ptr<TView3DOptions> view3DOptions_;
  bool clipPoints_ = true;
  int drawing_ = 0;
  std::unique_ptr<TChartZoom> zoom_;
  TPanningMode allowPanning_ = pmBoth;
  TMouseButton scrollMouseButton_ = mbRight;
  TCursor savedCursor_ = crDefault;
  std::unique_ptr<TZoomPanning> panning_ = std::make_unique<TZoomPanning>();
  TRect printMargins_{15, 15, 15, 15};
  bool printProportional_ = true;
  int printResolution_ = 0;
  bool printing_ = false;
  bool metafileDrawing_ = false;
  TLumEventListeners listeners_{this};
};

class TCustomLumPanelExtended : public TCustomLumPanel {
  DECLARE_CLASS(TCustomLumPanelExtended, TCustomLumPanel)
public:
  explicit TCustomLumPanelExtended(TComponent* AOwner);
  ~TCustomLumPanelExtended() override;

  // Created on first read; a visible gradient fills the panel instead of Color.
  TLumGradient* Gradient() const;
  bool HasGradient() const { return bool(gradient_); }

  // Shadow, fill or gradient, back image (unless Inside), border (rounded by
  // BorderRound), bevels and emboss rim of the panel inside Rect.
  virtual void DrawPanelBackground(const TRect& Rect);
  // A plain fill of the whole rectangle, first (no shadow, gradient or round border).
  bool BackgroundCovers(const TRect& Rect) const override;
  // The zoom rectangle (Zoom's corners) in not-xor mode with the zoom pen and
  // brush on the control's picture: drawing it twice erases it.
  void DrawZoomRectangle();

  // Created on first read.
  TBackImage* BackImage() const;
  bool HasBackImage() const { return backImage_ && !backImage_->Empty(); }
  void SetBackImage(TBackImage* Value) { BackImage()->Assign(Value); }
  // The back image's Mode.
  TBackImageMode BackImageMode() const { return BackImage()->Mode(); }
  void SetBackImageMode(TBackImageMode Value) { BackImage()->SetMode(Value); }
  // Under the panel (the panel gives way by its sizes) and a rim around it; hidden at
  // first, created on first read.
  TLumShadow* Shadow() const;
  TLumEmboss* Emboss() const;
  // While off, changes ask for no repaint (drawing code that changes the chart's
  // own settings switches it off around them).
  bool RepaintOnChange() const { return repaintOnChange_; }
  void SetRepaintOnChange(bool Value) { repaintOnChange_ = Value; }
  void Invalidate() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  // The back image into the plot rectangle when it is Inside.
  void DrawInsideBackImage();
  // Puts a zoom rectangle being dragged back over the new picture.
  void Paint() override;

private:
  // Repaints the panel: the handler of its sub-objects.
  TNotifyEvent RepaintHandler() const;
  mutable std::unique_ptr<TLumGradient> gradient_;
  mutable std::unique_ptr<TBackImage> backImage_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  mutable std::unique_ptr<TLumEmboss> emboss_;
  bool repaintOnChange_ = true;
};

// The series of a chart in list order (the order of creation for a built form).
class TChartSeriesList {
public:
  int Count() const { return int(items_.size()); }
  // ChartException "Series index %d out of range" outside 0..Count-1.
  TChartSeries* Get(int Index) const;
  TChartSeries* operator[](int Index) const { return Get(Index); }
  int IndexOf(const TChartSeries* Series) const;
  // nullptr when empty.
  TChartSeries* Last() const { return items_.empty() ? nullptr : items_.back(); }
  bool AllActive() const;
  void SetActiveAll(bool Active);
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  friend class TCustomAxisPanel;
  friend class TSeriesGroup;
  std::vector<TChartSeries*> items_;
};

class TCustomAxisPanel : public TCustomLumPanelExtended {
  DECLARE_CLASS(TCustomAxisPanel, TCustomLumPanelExtended)
public:
  explicit TCustomAxisPanel(TComponent* AOwner);
  // Frees the series still attached.
  ~TCustomAxisPanel() override;

  // ---- Series ----
  const TChartSeriesList& SeriesList() const { return seriesList_; }
  int SeriesCount() const { return seriesList_.Count(); }
  // The series at that place of the list; ChartException outside 0..SeriesCount-1.
  TChartSeries* GetSeries(int Index) const { return seriesList_.Get(Index); }
  TChartSeries* Series(int Index) const { return GetSeries(Index); }
  int CountActiveSeries() const;
  // Attaches the series (it leaves its previous chart); answers it.
  TChartSeries* AddSeries(TChartSeries* ASeries);
  // A component stream writes the series that Root owns after the chart, in list order.
  void GetChildren(const std::function<void(TComponent* Child)>& Proc, TComponent* Root) override;
  void RemoveSeries(TChartSeries* ASeries);
  // A new series of the class (owner: the chart's owner), attached; answers it.
  TChartSeries* AddSeriesOfClass(TClass SeriesClass);
  // Removes and frees every series (of that class and its descendants).
  void FreeAllSeries(TClass SeriesClass = nullptr);
  // ---- Pages ----
  // Points per page (0: no paging) and the page count (at least 1); the chart
  // control's pages answer them.
  virtual int GetMaxPointsPerPage() const { return 0; }
  virtual int NumPages() const { return 1; }
  // The range an automatic axis shows on the current page; false: its whole data.
  virtual bool PageRange(const TChartAxis* Axis, double& Min, double& Max) const {
    (void)Axis, (void)Min, (void)Max;
    return false;
  }
  // Moves an attached series to Index of the list (clamped), the others keeping
  // their order; the colours the series show stay as they are.
  void MoveSeries(TChartSeries* ASeries, int Index);
  // Palette colour by index; the chart control supplies its palettes.
  virtual TColor GetDefaultColor(int Index) const;
  // The owner of new series and tools: the chart's owner.
  virtual TComponent* GetNewSeriesOwner() { return Owner(); }
  // Whether AComponent may feed ASeries: a series the series accepts, or a source component.
  virtual bool IsValidDataSource(TChartSeries* ASeries, TComponent* AComponent);

  // ---- Axes ----
  TChartAxes* Axes() const { return axes_.get(); }
  TChartAxis* LeftAxis() const { return leftAxis_.get(); }
  TChartAxis* RightAxis() const { return rightAxis_.get(); }
  TChartAxis* TopAxis() const { return topAxis_.get(); }
  TChartAxis* BottomAxis() const { return bottomAxis_.get(); }
  TChartAxis* DepthAxis() const { return depthAxis_.get(); }
  TChartAxis* DepthTopAxis() const { return depthTopAxis_.get(); }
  bool AxisVisible() const { return axes_->GetVisible(); }
  void SetAxisVisible(bool Value) { axes_->SetVisible(Value); }
  // The custom axes; they follow the standard six in Axes().
  TChartCustomAxes* CustomAxes() const { return customAxes_.get(); }

  // ---- 3D ----
  // The depth of a 3D view in percent of the plot rectangle's smaller side (the
  // chart control stores it; 15 here).
  virtual int Chart3DPercent() const { return 15; }

  // Fires OnAfterDraw.
  virtual void DoAfterDraw();
  // Counts the drawings begun: what an axis works out for one drawing (its labels)
  // is kept for that drawing only.
  unsigned DrawingNumber() const { return drawingNumber_; }

  // ---- Tools, mouse, zoom and scrolling (tools.cpp, mouse.cpp) ----
  TChartTools* Tools() const { return tools_.get(); }
  // The chart is being freed (its tools are already gone).
  bool Destroying() const { return destroying_; }
  // Zooms the axes to the values at the edges of the pixel rectangle (by
  // Zoom.Direction); a rectangle giving an empty range does nothing.
  void ZoomRect(const TRect& Rect);
  // Back to the ranges before the last zoom (Zoom.History), else automatic.
  void UndoZoom();
  bool Zoomed() const;
  // A zoom rectangle or a panning drag in progress.
  bool ZoomingOrPanning() const;
  // The mouse position in client coordinates.
  TPoint GetCursorPos() const;
  // Asked before an axis scrolls; the handler may change the new ends or refuse.
  TEvent<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)> OnAllowScroll;
  // Fired after axes scrolled.
  TNotifyEvent OnScroll;
  virtual void DoScroll();

  // ---- Printing pages (engine/src/print.cpp) ----
  // The page shown (base: always 1); the chart control's pages answer it.
  virtual int GetPage() const { return 1; }
  virtual void SetPage(int Page) { (void)Page; }
  // Prints pages FirstPage..LastPage (LastPage 0: up to NumPages), one sheet each,
  // in one job titled with the chart's name, each shown in turn (SetPage) and printed
  // into ChartPrintRect (margins made proportional first when PrintProportional);
  // the page shown before comes back. On an error the job is aborted and the error
  // passes on.
  void PrintPages(int FirstPage = 1, int LastPage = 0);

  // ---- Series order, groups, texts ----
  // Two series of this chart swap places in the series list; series of two charts
  // swap charts, each taking the other's place. ChartException for a series
  // without a chart.
  void ExchangeSeries(TChartSeries* A, TChartSeries* B);
  void ExchangeSeries(int A, int B) { ExchangeSeries(GetSeries(A), GetSeries(B)); }
  TSeriesGroups* SeriesGroups() const { return seriesGroups_.get(); }
  // Width of the widest line of Text on the chart canvas (current font); lines
  // end at LineSeparator (a line feed after it is part of the break).
  int MultiLineTextSize(const std::string& Text, int& NumLines);

  static void DefineProperties(TPropertyTable& t);

protected:
  void InternalDraw(const TRect& UserRect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- Hooks of the paint pipeline (the chart control fills them in) ----
  // Titles and legend: first to take their room from ChartRect (BeforeSeries
  // true), then again after the series to draw over them.
  virtual void DrawTitlesAndLegend(bool BeforeSeries) { (void)BeforeSeries; }
  virtual void DrawWalls() {}
  // How far the 3D walls stand out of the plot box in pixels (their slabs), so the
  // axes beside them stand outside them; none in 2D.
  struct TWallReach {
    int Left = 0, Right = 0, Bottom = 0, Back = 0;
  };
  virtual TWallReach WallReach() const { return {}; }
  // Tells the active tools an event: 0 after drawing, 1 before the series, 2
  // after the background, 3 before the axes, 4 after the series, 5 on leaving.
  virtual void BroadcastToolEvent(int Code);
  // Tells the active tools about a series drawing its values (1 before, 4 after).
  void BroadcastSeriesEvent(int Code, TChartSeries* ASeries);
  // Tools first, until one sets CancelMouse; then zoom and panning.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
  // The 3D depth from the plot rectangle and Chart3DPercent (none in 2D).
  virtual void CalcSize3D();
  // Series margins, axis ranges and axis positions; shrinks ChartRect by the
  // room the axes take.
  virtual void CalcAxisRect();
  // The axes of the plot's sides, then the depth axes: those lie along the box's
  // outer edges, in front of the series, so they draw after them.
  virtual void DrawAxes();
  virtual void DrawSeries(TChartSeries* ASeries);
  // The active series in drawing order (back to front).
  std::vector<TChartSeries*> SeriesInDepthOrder() const;

private:
  friend class TChartSeries;
  void InternalAddSeries(TChartSeries* ASeries);
  void InternalRemoveSeries(TChartSeries* ASeries);

  TChartSeriesList seriesList_;
  std::unique_ptr<TChartAxes> axes_;
  std::unique_ptr<TChartAxis> depthAxis_, depthTopAxis_, topAxis_, bottomAxis_, leftAxis_, rightAxis_;
  // After the standard axes: freed first, while the axes list still exists.
  std::unique_ptr<TChartCustomAxes> customAxes_;
  bool destroying_ = false;
  unsigned drawingNumber_ = 0;
  std::unique_ptr<TChartTools> tools_;
  struct TMouseState;
  std::unique_ptr<TMouseState> mouse_;
  // Tools to tell, in list order, over a copy; each is checked again before use.
  std::vector<TLumCustomTool*> ToolsCopy() const;
  bool StillTool(TLumCustomTool* Tool) const;
  // Mouse events go to the tools until one sets CancelMouse.
  void BroadcastMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y);
  void EndZoomAndPanning();
  std::unique_ptr<TSeriesGroups> seriesGroups_;
};
