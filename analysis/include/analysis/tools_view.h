// Tools that change the chart's view: turning the 3D view with the mouse, arrows
// and drags that scroll axes, a picture stretched over the axes, clipping a series
// to its axes, and showing the chart alone over the whole desktop.
#pragma once
#include <cstdint>
#include <memory>

#include "analysis/tools.h"
#include "canvas/filters.h"

class TTimer;

// ---------------------------------------------------------------------------
enum TRotateToolStyles : unsigned char { rsAll, rsRotation, rsElevation };

// Dragging turns the 3D view; with a visible (XOR) pen only an outline of the plot
// box moves until the button is let go. With Inertia the view keeps turning on a
// 1 ms timer of the main loop, slowing on each chart notification.
class TRotateTool : public TLumCustomTool {
  DECLARE_CLASS(TRotateTool, TLumCustomTool)
public:
  explicit TRotateTool(TComponent* AOwner);
  // Ends a drag first, so the chart gets its AutoRepaint back.
  ~TRotateTool() override;
  LUM_TOOL_CLASS_TEXTS(TRotateTool)

  TMouseButton Button() const { return button_; }
  void SetButton(TMouseButton Value) { button_ = Value; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value) { cursor_ = Value; }
  int Inertia() const { return inertia_; }
  void SetInertia(int Value) { inertia_ = Value; }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool Value) { inverted_ = Value; }
  int Speed() const { return speed_; }
  void SetSpeed(int Value) { speed_ = Value; }
  TRotateToolStyles Style() const { return style_; }
  void SetStyle(TRotateToolStyles Value) { style_ = Value; }
  TNotifyEvent OnRotate;

  bool Dragging() const { return dragging_; }
  // The steps the inertia repeats, degrees.
  double RotationStep() const { return rotationStep_; }
  double ElevationStep() const { return elevationStep_; }
  // The inertia timer is running.
  bool Turning() const;

  // Switched off mid-drag: the drag ends as at mouse up, without inertia.
  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void ApplySteps(double Rotation, double Elevation);
  void MoveTo(int X, int Y);
  void DrawOutline();
  void StopTimer();
  void Tick(TObject* Sender);
  // Puts back what a drag took: AutoRepaint (repainting) and the screen cursor.
  void EndDrag(bool Repaint);

  TToolLifeline life_;
  TMouseButton button_ = mbLeft;
  TCursor cursor_ = crLumHand;
  int inertia_ = 0;
  bool inverted_ = false;
  int speed_ = 50;
  TRotateToolStyles style_ = rsAll;
  bool dragging_ = false;
  bool firstMove_ = false;
  bool outlined_ = false;       // an outline is on the picture
  bool savedRepaint_ = true;
  bool autoRepaintTaken_ = false;
  TPoint last_{0, 0};
  std::unique_ptr<TTimer> timer_;
  double rotationStep_ = 0, elevationStep_ = 0;
  TCursor savedCursor_ = crDefault;
  bool cursorTaken_ = false;
};

// ---------------------------------------------------------------------------
// Scrolls Axis by Delta through the chart's allow-scroll event, and with it the
// chart's other axis of the same direction when a series is drawn on both.
void ScrollAxisWithPartner(TChartAxis* Axis, double Delta);

enum TAxisArrowToolPosition : unsigned char { aaStart, aaEnd, aaBoth };
class TAxisArrowTool;
using TAxisArrowClickEvent = TEvent<void(TAxisArrowTool* Sender, bool AtStart)>;

// Two filled arrows on the axis line at its ends; a click on one scrolls the axis by
// ScrollPercent of its range.
class TAxisArrowTool : public TLumCustomToolAxis {
  DECLARE_CLASS(TAxisArrowTool, TLumCustomToolAxis)
public:
  explicit TAxisArrowTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TAxisArrowTool)

  int HeadWidth() const { return headWidth_; }
  void SetHeadWidth(int Value) { SetIntegerProperty(headWidth_, Value); }
  int Length() const { return length_; }
  void SetLength(int Value) { SetIntegerProperty(length_, Value); }
  TAxisArrowToolPosition Position() const { return position_; }
  void SetPosition(TAxisArrowToolPosition Value) { SetProperty(position_, Value); }
  int ScrollPercent() const { return scrollPercent_; }
  void SetScrollPercent(int Value) { scrollPercent_ = Value; }
  bool ScrollInverted() const { return scrollInverted_; }
  void SetScrollInverted(bool Value) { scrollInverted_ = Value; }
  int SizePercent() const { return sizePercent_; }
  void SetSizePercent(int Value) { SetIntegerProperty(sizePercent_, Value); }
  TAxisArrowClickEvent OnClick;

  // 0 nothing, 1 the start arrow, 2 the end arrow.
  int ClickedArrow(int X, int Y) const;

  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int headWidth_ = 8;
  int length_ = 16;
  TAxisArrowToolPosition position_ = aaBoth;
  int scrollPercent_ = 10;
  bool scrollInverted_ = false;
  int sizePercent_ = 50;
};

// Dragging an axis scrolls it, and the axes of its direction that share a series
// with it, each by its own value of the same pixels.
class TAxisScrollTool : public TLumCustomToolAxis {
  DECLARE_CLASS(TAxisScrollTool, TLumCustomToolAxis)
public:
  explicit TAxisScrollTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TAxisScrollTool)

  bool ScrollInverted() const { return scrollInverted_; }
  void SetScrollInverted(bool Value) { scrollInverted_ = Value; }
  // The axis being dragged (nullptr: none).
  TChartAxis* DraggedAxis() const { return dragged_; }

  void SetAxis(TChartAxis* Value) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TChartAxis* AxisAt(int X, int Y) const;
  void DragBy(int X, int Y);
  bool scrollInverted_ = false;
  TPoint last_{0, 0};
  TChartAxis* dragged_ = nullptr;
};

// ---------------------------------------------------------------------------
// A picture stretched over its series' data extent (or the axes' range), drawn
// before the series so that it follows zoom and scroll.
class TChartImageTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TChartImageTool, TLumCustomToolSeries)
public:
  explicit TChartImageTool(TComponent* AOwner);
  ~TChartImageTool() override;
  LUM_TOOL_CLASS_TEXTS(TChartImageTool)

  TLumPicture* Picture() const { return picture_.get(); }
  void SetPicture(TLumPicture* Value) { picture_->Assign(Value); }

  // The rectangle the picture fills; false when nothing is to be drawn.
  bool PictureRect(TRect& R) const;

  void SetSeries(TChartSeries* Value) override;
  void ChartEvent(TChartToolEvent AEvent) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  std::unique_ptr<TLumPicture> picture_;
};

// Clips the drawing of its series' values to the rectangle of the series' axes.
class TClipSeriesTool : public TLumCustomToolSeries {
  DECLARE_CLASS(TClipSeriesTool, TLumCustomToolSeries)
public:
  explicit TClipSeriesTool(TComponent* AOwner);
  LUM_TOOL_CLASS_TEXTS(TClipSeriesTool)

  void SeriesEvent(TChartToolEvent AEvent, TChartSeries* ASeries) override;
  static void DefineProperties(TPropertyTable&) {}

private:
  bool clipped_ = false;  // a clip of ours is open
};

// ---------------------------------------------------------------------------
// While active the chart sits alone on a borderless window over the whole desktop;
// ReleaseKey or closing that window puts it back where it was.
class TFullScreenTool : public TLumCustomTool {
  DECLARE_CLASS(TFullScreenTool, TLumCustomTool)
public:
  explicit TFullScreenTool(TComponent* AOwner);
  // Switches off first: the chart goes back and the window is freed.
  ~TFullScreenTool() override;
  LUM_TOOL_CLASS_TEXTS(TFullScreenTool)

  std::uint16_t ReleaseKey() const { return releaseKey_; }
  void SetReleaseKey(std::uint16_t Value) { releaseKey_ = Value; }
  TNotifyEvent OnReset;

  // The full-screen window while active (nullptr otherwise).
  TForm* Form() const { return form_; }

  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void GoFullScreen();
  void Reset();
  void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  // Lets go of the window: handlers cleared, then freed now, or from the loop when
  // it is still running one of them (or hides it when closed by the user).
  void DropForm(TForm* F, bool FreeIt);

  TToolLifeline life_;
  std::uint16_t releaseKey_ = 27;
  TAlign savedAlign_ = alNone;
  TWinControl* savedParent_ = nullptr;
  TRect savedBounds_{};
  bool freeOnReset_ = true;
  TForm* form_ = nullptr;
  TForm* closed_ = nullptr;  // hidden after the user closed it; freed at the next activation
  int inHandler_ = 0;        // a handler of form_ is running
};
