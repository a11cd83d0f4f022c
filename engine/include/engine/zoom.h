// Mouse zoom and panning settings of a chart. The settings are stored and published
// so forms and editors can set them; the mouse handling itself comes with the tools.
#pragma once
#include <memory>

#include "canvas/attributes.h"
#include "platform/forms.h"

enum TZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

class TChartZoom : public TPersistent {
  DECLARE_CLASS(TChartZoom, TPersistent)
public:
  explicit TChartZoom(TNotifyEvent OnChange = {});
  ~TChartZoom() override;

  bool Allow() const { return allow_; }
  void SetAllow(bool v) { allow_ = v; }
  bool Animated() const { return animated_; }
  void SetAnimated(bool v) { animated_ = v; }
  int AnimatedSteps() const { return animatedSteps_; }
  void SetAnimatedSteps(int v) { animatedSteps_ = v; }
  TZoomDirection Direction() const { return direction_; }
  void SetDirection(TZoomDirection v) { direction_ = v; }
  bool History() const { return history_; }
  void SetHistory(bool v) { history_ = v; }
  bool KeepAspectRatio() const { return keepAspectRatio_; }
  void SetKeepAspectRatio(bool v) { keepAspectRatio_ = v; }
  int MinimumPixels() const { return minimumPixels_; }
  void SetMinimumPixels(int v) { minimumPixels_ = v; }
  TMouseButton MouseButton() const { return mouseButton_; }
  void SetMouseButton(TMouseButton v) { mouseButton_ = v; }
  bool UpLeftZooms() const { return upLeftZooms_; }
  void SetUpLeftZooms(bool v) { upLeftZooms_ = v; }
  // The rectangle drawn while dragging.
  TChartPen* Pen() const { return pen_.get(); }
  TChartBrush* Brush() const { return brush_.get(); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // While a zoom rectangle is dragged: its corners, from the press to the mouse.
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  // Whether the rectangle is on the control's picture now.
  bool Drawn = false;

private:
  bool allow_ = true, animated_ = false, history_ = false, keepAspectRatio_ = false, upLeftZooms_ = false;
  int animatedSteps_ = 8, minimumPixels_ = 16;
  TZoomDirection direction_ = tzdBoth;
  TMouseButton mouseButton_ = mbLeft;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
};

// Mouse panning: the inside-bounds flag keeps a dragged axis within its data.
class TZoomPanning : public TPersistent {
  DECLARE_CLASS(TZoomPanning, TPersistent)
public:
  bool InsideBounds() const { return insideBounds_; }
  void SetInsideBounds(bool v) { insideBounds_ = v; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  // While the mouse drags the axes: the last mouse position.
  bool Active = false;
  int X0 = 0, Y0 = 0;

private:
  bool insideBounds_ = false;
};
