// Shortcuts of the paint path that series share (each gives the pixels of drawing
// every point): columns of points in ascending X found by search, and the figures
// later figures hide.
//
// Figures of a series that later figures hide entirely. A series whose figures are
// opaque (solid one-pixel pens and solid brushes in copy mode) may walk them from the
// last drawn to the first, ask whether everything a figure could set is painted over
// by those after it, and then draw only the others, in their order: the picture is
// the same pixel for pixel. What later figures paint is kept as one bit per pixel of
// the visible area, column by column.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/types.h"

class TCanvas3D;
class TChartBrush;
class TChartPen;

// A pen that sets each of its pixels in one plain colour in copy mode (a one-pixel
// solid line), or sets none (hidden).
bool OpaquePen(const TChartPen* P);
// A solid brush of one colour: no pattern, picture or gradient.
bool OpaqueBrush(TChartBrush* B);

// Points in ascending X, many to a pixel column: the end (the first index past it,
// at most Last + 1) of the column X starting at From, found over X through ToX (the
// pixels of sorted values never go back). Hint, the width of the column before, is
// tried first: evenly spread points fill their columns alike, so a column then costs
// two conversions. Otherwise by galloping, then halving. Next, when given, gets the
// column of the point at the end (when there is one).
template <class Map>
int ColumnEnd(const double* X, int From, int Last, int Column, const Map& ToX, int Hint = 0, int* Next = nullptr) {
  int lo = From, hi = From + 1;  // lo is in the column, hi past it (or past the end)
  int hiColumn = 0;              // hi's column, once looked at
  bool gallop = true;
  if (Hint > 1) {
    const int end = From + Hint;
    if (end > Last + 1) {
      hi = Last + 1;
      gallop = false;
    } else if (const int c = ToX(X[end - 1]); c != Column) {
      hi = end - 1;
      hiColumn = c;
      gallop = false;
    } else if (end > Last || (hiColumn = ToX(X[end])) != Column) {
      if (Next) *Next = hiColumn;
      return end;
    } else {
      lo = end;
      hi = end + 1;
    }
  }
  for (int step = 1; gallop && hi <= Last && (hiColumn = ToX(X[hi])) == Column; step *= 2) {
    lo = hi;
    hi = lo + step;
  }
  if (hi > Last + 1) hi = Last + 1;
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (const int c = ToX(X[mid]); c == Column) {
      lo = mid;
    } else {
      hi = mid;
      hiColumn = c;
    }
  }
  if (Next) *Next = hiColumn;
  return hi;
}

// The lowest and highest of Y[From..To) into Low and High; false when an X value
// there is below the one before it or a Y value is NaN.
bool ScanColumn(const double* X, const double* Y, int From, int To, double& Low, double& High);

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
  // Calls Word(word, mask) for the words of column X holding rows Y0..Y1 (inside).
  template <class F>
  bool EachWord(int X, int Y0, int Y1, F&& Word) const;

  TRect visible_;
  int words_ = 0;  // per column
  std::vector<unsigned long long> bits_;
};
