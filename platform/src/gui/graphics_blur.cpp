// Box and Gaussian-like blur of a bitmap, of our own: Qt's blur lives in its graphics
// effects, which need a scene.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/graphics.h"

namespace {

// One box pass over N values Step bytes apart: each becomes the rounded mean of the
// 2 Radius + 1 values around it, those beyond the ends repeating the end values.
// Prefix sums make the cost independent of Radius.
void BoxPass(std::uint8_t* First, int N, std::ptrdiff_t Step, long long Radius, std::vector<long long>& Prefix) {
  Prefix.assign(size_t(N) + 1, 0);
  for (int i = 0; i < N; ++i) Prefix[size_t(i) + 1] = Prefix[size_t(i)] + First[i * Step];
  const long long a0 = First[0], an = First[(N - 1) * Step], span = 2 * Radius + 1;
  const double inverse = 1.0 / double(span);  // a multiplication per value, not a division
  for (int i = 0; i < N; ++i) {
    const long long lo = i - Radius, hi = i + Radius;
    const long long left = std::max(0LL, std::min(hi, -1LL) - lo + 1);
    const long long right = std::max(0LL, hi - std::max(lo, (long long)N) + 1);
    const long long from = std::max(lo, 0LL), to = std::min(hi, (long long)N - 1);
    const long long mid = to >= from ? Prefix[size_t(to) + 1] - Prefix[size_t(from)] : 0;
    First[i * Step] = std::uint8_t(std::min(255.0, (double(left * a0 + right * an + mid) + 0.5 * double(span)) * inverse));
  }
}

}  // namespace

void BlurBitmap(TBitmap* Bitmap, int Radius, int Passes) {
  if (!Bitmap || Bitmap->Empty() || Radius <= 0 || Passes <= 0) return;
  if (Bitmap->PixelFormat() != pf32bit) Bitmap->SetPixelFormat(pf32bit);
  const int w = Bitmap->Width(), h = Bitmap->Height();
  const long long r = std::min(Radius, 1 << 28);  // no overflow in the sums
  auto* first = static_cast<std::uint8_t*>(Bitmap->ScanLine(0));  // rows are contiguous
  const std::ptrdiff_t stride = BytesPerScanline(w, 32, 32);
  std::vector<long long> prefix;
  for (int pass = 0; pass < Passes; ++pass) {
    if (w > 1)  // a single column is its own horizontal blur
      for (int y = 0; y < h; ++y)
        for (int ch = 0; ch < 4; ++ch) BoxPass(first + y * stride + ch, w, 4, r, prefix);
    if (h > 1)
      for (int x = 0; x < w; ++x)
        for (int ch = 0; ch < 4; ++ch) BoxPass(first + 4 * x + ch, h, stride, r, prefix);
  }
}
