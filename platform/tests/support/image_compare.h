// Comparing our pictures with what independent tools render: PPM files (netpbm's
// format, which pdftoppm and ImageMagick write) read into bitmaps, and the mean
// difference of two pictures.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/graphics.h"

namespace imagecmp {

// A binary PPM (P6, maxval 255) as a pf32bit bitmap; nullptr when it is not one.
inline std::unique_ptr<TBitmap> ReadPPM(const std::string& Data) {
  std::istringstream in(Data);
  std::string magic;
  int w = 0, h = 0, maxval = 0;
  in >> magic;
  auto skip = [&] {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string line;
      std::getline(in, line);
      in >> std::ws;
    }
  };
  skip();
  in >> w;
  skip();
  in >> h;
  skip();
  in >> maxval;
  in.get();
  if (magic != "P6" || w <= 0 || h <= 0 || maxval != 255) return nullptr;
  const std::size_t at = std::size_t(in.tellg());
  if (Data.size() < at + std::size_t(w) * h * 3) return nullptr;
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(Data.data()) + at;
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<unsigned char*>(b->ScanLine(y));
    for (int x = 0; x < w; ++x, p += 3) {
      row[4 * x] = p[2];
      row[4 * x + 1] = p[1];
      row[4 * x + 2] = p[0];
      row[4 * x + 3] = 255;
    }
  }
  return b;
}

// Mean absolute difference per channel (0..255) of the part both share at
// (AX, AY) of A and (BX, BY) of B, W x H pixels.
inline double MeanDifference(TBitmap* A, int AX, int AY, TBitmap* B, int BX, int BY, int W, int H) {
  A->SetPixelFormat(pf32bit);
  B->SetPixelFormat(pf32bit);
  double sum = 0;
  long long n = 0;
  for (int y = 0; y < H; ++y) {
    if (AY + y < 0 || AY + y >= A->Height() || BY + y < 0 || BY + y >= B->Height()) continue;
    const auto* ra = static_cast<const unsigned char*>(A->ScanLine(AY + y));
    const auto* rb = static_cast<const unsigned char*>(B->ScanLine(BY + y));
    for (int x = 0; x < W; ++x) {
      if (AX + x < 0 || AX + x >= A->Width() || BX + x < 0 || BX + x >= B->Width()) continue;
      for (int c = 0; c < 3; ++c) sum += std::abs(int(ra[4 * (AX + x) + c]) - int(rb[4 * (BX + x) + c]));
      n += 3;
    }
  }
  return n ? sum / double(n) : 255.0;
}

inline double MeanDifference(TBitmap* A, TBitmap* B) {
  return MeanDifference(A, 0, 0, B, 0, 0, std::max(A->Width(), B->Width()), std::max(A->Height(), B->Height()));
}

// Share (0..1) of the W x H pixels of A at (AX, AY) whose colour is found within
// Tolerance (per channel) nowhere among the 3 x 3 pixels around the same place of B
// at (BX, BY): edges moved by a pixel or smoothed differently do not count, a
// shape missing or in another colour does.
inline double MismatchShare(TBitmap* A, int AX, int AY, TBitmap* B, int BX, int BY, int W, int H,
                            int Tolerance = 48) {
  A->SetPixelFormat(pf32bit);
  B->SetPixelFormat(pf32bit);
  long long bad = 0, n = 0;
  for (int y = 0; y < H; ++y) {
    if (AY + y < 0 || AY + y >= A->Height()) continue;
    const auto* ra = static_cast<const unsigned char*>(A->ScanLine(AY + y));
    for (int x = 0; x < W; ++x) {
      if (AX + x < 0 || AX + x >= A->Width()) continue;
      const unsigned char* pa = ra + 4 * (AX + x);
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy) {
        const int by = BY + y + dy;
        if (by < 0 || by >= B->Height()) continue;
        const auto* rb = static_cast<const unsigned char*>(B->ScanLine(by));
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          const int bx = BX + x + dx;
          if (bx < 0 || bx >= B->Width()) continue;
          const unsigned char* pb = rb + 4 * bx;
          found = std::abs(pa[0] - pb[0]) <= Tolerance && std::abs(pa[1] - pb[1]) <= Tolerance &&
                  std::abs(pa[2] - pb[2]) <= Tolerance;
        }
      }
      bad += !found;
      ++n;
    }
  }
  return n ? double(bad) / double(n) : 1.0;
}

}  // namespace imagecmp
