#include "engine/paintcover.h"

#include <algorithm>

#include "canvas/lumcanvas.h"

TColumnCover::TColumnCover(const TRect& Visible)
    : visible_(Visible), runs_(size_t(std::max(0, Visible.Right - Visible.Left)), TRun{1, 0}) {}

TRect TColumnCover::VisibleArea(TCanvas3D* C) {
  TCanvas* device = C ? C->ReferenceCanvas() : nullptr;
  return device ? device->ClipRect() : TRect{};
}

bool TColumnCover::Hidden(int X0, int X1, int Y0, int Y1) const {
  // Only the part inside the visible area needs a cover.
  X0 = std::max(X0, visible_.Left);
  X1 = std::min(X1, visible_.Right - 1);
  Y0 = std::max(Y0, visible_.Top);
  Y1 = std::min(Y1, visible_.Bottom - 1);
  if (X0 > X1 || Y0 > Y1) return true;
  for (int x = X0; x <= X1; ++x) {
    const TRun& r = runs_[size_t(x - visible_.Left)];
    if (r.Top > Y0 || r.Bottom < Y1) return false;
  }
  return true;
}

void TColumnCover::Cover(int X0, int X1, int Y0, int Y1) {
  X0 = std::max(X0, visible_.Left);
  X1 = std::min(X1, visible_.Right - 1);
  if (Y0 > Y1) return;
  for (int x = X0; x <= X1; ++x) {
    TRun& r = runs_[size_t(x - visible_.Left)];
    const bool empty = r.Top > r.Bottom;
    if (!empty && Y0 <= r.Bottom + 1 && Y1 >= r.Top - 1) r = {std::min(r.Top, Y0), std::max(r.Bottom, Y1)};
    else if (empty || Y1 - Y0 > r.Bottom - r.Top) r = {Y0, Y1};  // apart: the longer run is kept
  }
}
