// A small drawing surface for the canvas tests: a white pf32bit bitmap with a
// TLumCanvas3D attached to it.
#pragma once
#include <memory>

#include "canvas/canvas.h"
#include "gui_test.h"

struct Surface {
  explicit Surface(int W = 40, int H = 30) : bmp(guitest::MakeBitmap(W, H)) {
    canvas.AttachCanvas(bmp->Canvas());
    canvas.ResetState();
  }
  TCanvas* C() { return bmp->Canvas(); }
  TColor At(int X, int Y) { return C()->Pixels(X, Y); }
  int Count(TColor Color) { return guitest::CountColor(C(), {0, 0, bmp->Width(), bmp->Height()}, Color); }
  TRect Ink() { return guitest::InkBounds(C(), {0, 0, bmp->Width(), bmp->Height()}, clWhite); }

  std::unique_ptr<TBitmap> bmp;
  TLumCanvas3D canvas;
};

// Whether two colours differ by at most Tolerance in every channel.
inline bool Near(TColor A, TColor B, int Tolerance = 2) {
  auto d = [](int a, int b) { return a > b ? a - b : b - a; };
  return d(GetRValue(A), GetRValue(B)) <= Tolerance && d(GetGValue(A), GetGValue(B)) <= Tolerance &&
         d(GetBValue(A), GetBValue(B)) <= Tolerance;
}
