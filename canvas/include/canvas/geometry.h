// Small geometry helpers over the platform's point and rectangle records.
#pragma once
#include <vector>

#include "platform/types.h"

// A point with depth, for the 3D operations.
struct TPoint3D {
  int X = 0, Y = 0, Z = 0;
  friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

inline TPoint MakePoint(int X, int Y) { return {X, Y}; }
inline TRect MakeRect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
// A rectangle at 0, 0 of the given size.
inline TRect RectFromSize(int Width, int Height) { return {0, 0, Width, Height}; }
inline void RectSize(const TRect& R, int& Width, int& Height) {
  Width = R.Right - R.Left;
  Height = R.Bottom - R.Top;
}
// Edges included on all four sides.
inline bool PointInRect(const TRect& R, int X, int Y) {
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}
inline bool PointInRectP(const TRect& R, const TPoint& P) { return PointInRect(R, P.X, P.Y); }
inline void SwapInteger(int& A, int& B) {
  int t = A;
  A = B;
  B = t;
}
inline void SwapPoint(TPoint& A, TPoint& B) {
  TPoint t = A;
  A = B;
  B = t;
}
// The point Distance pixels from To back towards From (rounded half to even); To itself
// when the two points coincide. A distance beyond the segment's length goes past From.
TPoint PointAlongLine(const TPoint& From, const TPoint& To, double Distance);
// Points becomes the corners of its convex outline, clockwise on the screen from the
// leftmost (topmost of those) corner; points on its edges and repeats are dropped.
void ConvexOutline(std::vector<TPoint>& Points);
