// The picture behind a panel or a plot: stretched, tiled, centred or at a place of
// its own, over the whole panel or (Inside) the plot rectangle only.
#pragma once
#include "canvas/filters.h"
#include "platform/typinfo.h"

class TCanvas3D;

enum TBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

class TBackImage : public TLumPicture {
  DECLARE_CLASS(TBackImage, TLumPicture)
public:
  explicit TBackImage(TNotifyEvent OnChangeEvent = {}) : TLumPicture(std::move(OnChangeEvent)) {}

  TBackImageMode Mode() const { return mode_; }
  void SetMode(TBackImageMode Value) { Store(mode_, Value); }
  // With pbmCustom, the picture's top-left corner in pixels from the area's.
  int Left() const { return left_; }
  void SetLeft(int Value) { Store(left_, Value); }
  int Top() const { return top_; }
  void SetTop(int Value) { Store(top_, Value); }
  // Drawn inside the plot rectangle instead of over the whole panel.
  bool Inside() const { return inside_; }
  void SetInside(bool Value) { Store(inside_, Value); }

  // Draws the picture (filters applied) into R by Mode, never outside R.
  void Draw(TCanvas3D* Canvas, const TRect& R);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TBackImageMode mode_ = pbmStretch;
  int left_ = 0, top_ = 0;
  bool inside_ = false;
};
