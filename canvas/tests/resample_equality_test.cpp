// ResampleBitmap weighs rows straight from the bitmaps with vector code; it is held
// byte for byte (all four bytes of a pixel) to the plain two-pass resampler over
// whole images that it replaced: normalised float taps added in order from 0, each
// pass rounded to whole levels.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "canvas/procs.h"
#include "gui_test.h"

namespace {

using Image = std::vector<std::uint8_t>;  // rows of 4-byte pixels

// One pass along Lines lines of In values (each Stride apart, Step between values).
Image PlainPass(const Image& Src, int Lines, int In, int Out, std::size_t LineStep, std::size_t Step, bool Bilinear,
                Image Dst, std::size_t OutLineStep, std::size_t OutStep) {
  const double scale = double(In) / Out, widen = std::max(scale, 1.0), support = (Bilinear ? 1 : 3) * widen;
  const int stride = int(std::ceil(support)) * 2 + 1;
  auto weight = [Bilinear](double x) {
    x = std::fabs(x);
    auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(v * M_PI) / (v * M_PI); };
    return Bilinear ? (x < 1 ? 1 - x : 0.0) : (x < 3 ? sinc(x) * sinc(x / 3) : 0.0);
  };
  for (int o = 0; o < Out; ++o) {
    const double centre = (o + 0.5) * scale;
    const int lo = std::max(0, int(centre - support + 0.5));
    const int hi = std::min({In, int(centre + support + 0.5), lo + stride});
    std::vector<double> w;
    double sum = 0;
    for (int i = lo; i < hi; ++i) sum += w.emplace_back(weight((i - centre + 0.5) / widen));
    for (int line = 0; line < Lines; ++line)
      for (std::size_t c = 0; c < 4; ++c) {
        float acc = 0;
        for (int i = lo; i < hi; ++i)
          acc += Src[std::size_t(line) * LineStep + std::size_t(i) * Step + c] *
                 float(sum != 0 ? w[std::size_t(i - lo)] / sum : 0);
        Dst[std::size_t(line) * OutLineStep + std::size_t(o) * OutStep + c] =
            acc <= 0 ? 0 : acc >= 255 ? 255 : std::uint8_t(acc + 0.5f);
      }
  }
  return Dst;
}

Image PlainResample(const Image& In, int W, int H, int OutW, int OutH, bool Bilinear) {
  const Image mid = OutW == W ? In
                              : PlainPass(In, H, W, OutW, std::size_t(W) * 4, 4, Bilinear,
                                          Image(std::size_t(OutW) * H * 4), std::size_t(OutW) * 4, 4);
  return OutH == H ? mid
                   : PlainPass(mid, OutW, H, OutH, 4, std::size_t(OutW) * 4, Bilinear,
                               Image(std::size_t(OutW) * OutH * 4), 4, std::size_t(OutW) * 4);
}

Image Bytes(TBitmap& B) {
  Image v;
  for (int y = 0; y < B.Height(); ++y) {
    auto* p = static_cast<const std::uint8_t*>(B.ScanLine(y));
    v.insert(v.end(), p, p + 4 * B.Width());
  }
  return v;
}

}  // namespace

// Shrinking and enlarging each way, one way only, the same size, single rows and
// columns, widths that are no multiple of the four pixels done at once; noise, hard
// edges and the fourth byte; a 24-bit source is converted first and an 8-bit
// destination becomes 32-bit.
TEST(ResampleBitmap, SameBytesAsThePlainTwoPassResampler) {
  std::mt19937 rng(51);
  const int sizes[][4] = {{37, 23, 11, 9}, {9, 7, 41, 30}, {64, 48, 64, 17}, {50, 31, 13, 31}, {16, 16, 16, 16},
                          {1, 1, 7, 5},    {7, 5, 1, 1},   {1, 40, 3, 9},   {203, 151, 80, 60}, {5, 3, 6, 200}};
  for (const auto& s : sizes)
    for (int variant = 0; variant < 3; ++variant) {
      const bool bilinear = variant != 1, formats = variant == 2;
      auto src = guitest::MakeBitmap(s[0], s[1]);
      for (int y = 0; y < s[1]; ++y)
        for (int x = 0; x < 4 * s[0]; ++x)
          static_cast<std::uint8_t*>(src->ScanLine(y))[x] = rng() % 3 ? ((x / 12 + y / 2) % 2 ? 255 : 0) : rng();
      if (formats) src->SetPixelFormat(pf24bit);
      TBitmap wide;
      wide.Assign(src.get());
      wide.SetPixelFormat(pf32bit);
      const Image before = Bytes(wide);
      TBitmap dst;
      dst.SetPixelFormat(formats ? pf8bit : pf32bit);
      dst.SetSize(s[2], s[3]);
      ResampleBitmap(src.get(), &dst, bilinear);
      ASSERT_EQ(dst.PixelFormat(), pf32bit);
      Image got = Bytes(dst), expected = PlainResample(before, s[0], s[1], s[2], s[3], bilinear);
      if (formats)  // the fourth byte of a converted picture is not the source's
        for (std::size_t i = 3; i < got.size(); i += 4) got[i] = expected[i] = 0;
      EXPECT_EQ(got, expected) << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3] << " variant " << variant;
      EXPECT_TRUE(formats || Bytes(*src) == before) << "the source is read, not changed";
    }
}
