// Helpers for GUI tests. The GUI test main has already set up Qt's offscreen platform,
// 96 dpi, the font substitutes, the system colours and the graphics unit.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/graphics.h"

namespace guitest {

// A pf32bit bitmap of the given size filled with Color, for drawing on.
inline std::unique_ptr<TBitmap> MakeBitmap(int Width, int Height, TColor Color = clWhite) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(Width, Height);
  b->Canvas()->Brush()->SetColor(Color);
  b->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return b;
}

// Number of pixels of Color inside R.
inline int CountColor(TCanvas* C, const TRect& R, TColor Color) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (C->Pixels(x, y) == Color) ++n;
  return n;
}

// Smallest rectangle holding every pixel of R that is not Background (empty when none).
inline TRect InkBounds(TCanvas* C, const TRect& R, TColor Background) {
  TRect b{R.Right, R.Bottom, R.Left, R.Top};
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (C->Pixels(x, y) != Background) {
        if (x < b.Left) b.Left = x;
        if (y < b.Top) b.Top = y;
        if (x + 1 > b.Right) b.Right = x + 1;
        if (y + 1 > b.Bottom) b.Bottom = y + 1;
      }
  if (b.Left >= b.Right) return {};
  return b;
}

// A pf32bit bitmap whose pixels all differ from their neighbours, so raster operations
// have something to work on and a pixel set or left wrongly shows.
inline std::unique_ptr<TBitmap> Patterned(int Width, int Height) {
  auto b = MakeBitmap(Width, Height);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) b->Canvas()->SetPixels(x, y, RGB(x * 7, y * 11, (x * y) & 0xFF));
  return b;
}

// Where two pf32bit pictures of one size first differ as "x,y" ("" when they are the same).
inline std::string FirstDifference(TBitmap* A, TBitmap* B) {
  if (A->PixelFormat() != pf32bit || B->PixelFormat() != pf32bit) return "not both 32-bit";
  if (A->Width() != B->Width() || A->Height() != B->Height()) return "sizes differ";
  for (int y = 0; y < A->Height(); ++y) {
    const auto* a = static_cast<const std::uint32_t*>(A->ScanLine(y));
    const auto* b = static_cast<const std::uint32_t*>(B->ScanLine(y));
    if (std::memcmp(a, b, size_t(A->Width()) * 4) == 0) continue;
    for (int x = 0;; ++x)
      if (a[x] != b[x]) return std::to_string(x) + "," + std::to_string(y);
  }
  return "";
}

}  // namespace guitest
