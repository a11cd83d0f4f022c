#include "engine/paintpath.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "canvas/lumcanvas.h"

bool OpaquePen(const TChartPen* P) {
  return !P->Visible() || (P->Width() <= 1 && P->Style() == psSolid && !P->SmallDots() && P->Mode() == pmCopy);
}

bool OpaqueBrush(TChartBrush* B) {
  return B->Style() == bsSolid && !B->HasImage() && !B->Bitmap() && !(B->HasGradient() && B->Gradient()->Visible());
}

TColumnCover::TColumnCover(const TRect& Visible) : visible_(Visible) {
  const int width = std::max(0, Visible.Right - Visible.Left), height = std::max(0, Visible.Bottom - Visible.Top);
  words_ = (height + 63) / 64;
  bits_.assign(size_t(width) * size_t(words_), 0);
}

TRect TColumnCover::VisibleArea(TCanvas3D* C) {
  TCanvas* device = C ? C->ReferenceCanvas() : nullptr;
  return device ? device->ClipRect() : TRect{};
}

template <class F>
bool TColumnCover::EachWord(int X, int Y0, int Y1, F&& Word) const {
  const size_t column = size_t(X - visible_.Left) * size_t(words_);
  const int r0 = Y0 - visible_.Top, r1 = Y1 - visible_.Top;
  for (int w = r0 >> 6; w <= r1 >> 6; ++w) {
    const int from = std::max(r0, w * 64) - w * 64, to = std::min(r1, w * 64 + 63) - w * 64;
    const unsigned long long mask = (to - from == 63 ? ~0ULL : ((1ULL << (to - from + 1)) - 1)) << from;
    if (!Word(column + size_t(w), mask)) return false;
  }
  return true;
}

bool TColumnCover::Hidden(int X0, int X1, int Y0, int Y1) const {
  // Only the part inside the visible area needs a cover.
  X0 = std::max(X0, visible_.Left);
  X1 = std::min(X1, visible_.Right - 1);
  Y0 = std::max(Y0, visible_.Top);
  Y1 = std::min(Y1, visible_.Bottom - 1);
  if (X0 > X1 || Y0 > Y1) return true;
  for (int x = X0; x <= X1; ++x)
    if (!EachWord(x, Y0, Y1, [&](size_t At, unsigned long long Mask) { return (bits_[At] & Mask) == Mask; }))
      return false;
  return true;
}

void TColumnCover::Cover(int X0, int X1, int Y0, int Y1) {
  X0 = std::max(X0, visible_.Left);
  X1 = std::min(X1, visible_.Right - 1);
  Y0 = std::max(Y0, visible_.Top);
  Y1 = std::min(Y1, visible_.Bottom - 1);
  for (int x = X0; x <= X1 && Y0 <= Y1; ++x)
    EachWord(x, Y0, Y1, [&](size_t At, unsigned long long Mask) {
      bits_[At] |= Mask;
      return true;
    });
}

// The lowest and highest of Y[From..To) into Low and High; false when an X value
// there is below the one before it or a Y value is NaN.
bool ScanColumn(const double* X, const double* Y, int From, int To, double& Low, double& High) {
  int k = From + 1;
  bool ok = Y[From] == Y[From];
  Low = High = Y[From];
#if defined(__SSE2__)
  // Two pairs at a time in two lanes each; the comparisons are false for NaN.
  __m128d lo0 = _mm_set1_pd(Low), lo1 = lo0, hi0 = lo0, hi1 = lo0;
  __m128d good = _mm_castsi128_pd(_mm_set1_epi32(-1));
  for (; k + 4 <= To; k += 4) {
    const __m128d y0 = _mm_loadu_pd(Y + k), y1 = _mm_loadu_pd(Y + k + 2);
    const __m128d x0 = _mm_loadu_pd(X + k), x1 = _mm_loadu_pd(X + k + 2);
    const __m128d before0 = _mm_loadu_pd(X + k - 1), before1 = _mm_loadu_pd(X + k + 1);
    good = _mm_and_pd(good, _mm_and_pd(_mm_cmpge_pd(x0, before0), _mm_cmpge_pd(x1, before1)));
    good = _mm_and_pd(good, _mm_and_pd(_mm_cmpord_pd(y0, y0), _mm_cmpord_pd(y1, y1)));
    lo0 = _mm_min_pd(lo0, y0), lo1 = _mm_min_pd(lo1, y1);
    hi0 = _mm_max_pd(hi0, y0), hi1 = _mm_max_pd(hi1, y1);
  }
  ok &= _mm_movemask_pd(good) == 3;
  double lows[2], highs[2];
  _mm_storeu_pd(lows, _mm_min_pd(lo0, lo1));
  _mm_storeu_pd(highs, _mm_max_pd(hi0, hi1));
  Low = std::min(lows[0], lows[1]);
  High = std::max(highs[0], highs[1]);
#endif
  for (; k < To; ++k) {
    ok &= (X[k] >= X[k - 1]) & (Y[k] == Y[k]);
    Low = std::min(Low, Y[k]);
    High = std::max(High, Y[k]);
  }
  return ok;
}
