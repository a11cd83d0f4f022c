// Figures of a series that later figures hide entirely. A series whose figures are
// opaque (solid one-pixel pens and solid brushes in copy mode) may walk them from the
// last drawn to the first, ask whether everything a figure could set is painted over
// by those after it, and then draw only the others, in their order: the picture is
// the same pixel for pixel. What is known to be painted over is kept per screen
// column as one run of rows; a run that meets the kept one joins it, one apart
// replaces it only when longer, so the kept run is always truly painted over.
#pragma once
#include <vector>

#include "platform/types.h"

class TCanvas3D;

class TColumnCover {
public:
  // Visible: the screen area drawing can reach (the canvas's clip bounds, Right and
  // Bottom outside); nothing outside it ever shows, so it counts as hidden.
  explicit TColumnCover(const TRect& Visible);
  // The clip bounds of the canvas C draws on (empty without one).
  static TRect VisibleArea(TCanvas3D* C);
  // Whether columns X0..X1, rows Y0..Y1 (all inside; empty ranges allowed) are all
  // painted over or outside the visible area.
  bool Hidden(int X0, int X1, int Y0, int Y1) const;
  // Rows Y0..Y1 of columns X0..X1 are certainly painted by a figure drawn later.
  void Cover(int X0, int X1, int Y0, int Y1);

private:
  struct TRun {
    int Top, Bottom;  // Top > Bottom: nothing
  };
  TRect visible_;
  std::vector<TRun> runs_;
};
