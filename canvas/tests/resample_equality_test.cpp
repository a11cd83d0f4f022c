// ResampleBitmap weighs rows straight from the bitmaps with vector code; these
// tests hold it byte for byte (all four bytes of a pixel) to the plain two-pass
// resampler over whole-image buffers that it replaced.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "canvas/procs.h"
#include "gui_test.h"

namespace {

using Image = std::vector<std::uint8_t>;  // rows of 4-byte pixels, no padding

// The plain resampler: normalised float taps, rows then columns, each pass
// rounded to whole levels.
struct PlainTaps {
  std::vector<int> first, count;
  std::vector<float> weights;
  int stride = 0;
};

PlainTaps MakePlainTaps(int In, int Out, bool Bilinear) {
  const double radius = Bilinear ? 1 : 3;
  auto weight = [Bilinear](double x) {
    x = std::fabs(x);
    if (Bilinear) return x < 1 ? 1 - x : 0.0;
    auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(v * M_PI) / (v * M_PI); };
    return x < 3 ? sinc(x) * sinc(x / 3) : 0.0;
  };
  PlainTaps t;
  const double scale = double(In) / Out, widen = std::max(scale, 1.0), support = radius * widen;
  t.stride = int(std::ceil(support)) * 2 + 1;
  t.weights.assign(std::size_t(Out) * std::size_t(t.stride), 0);
  std::vector<double> w(std::size_t(t.stride));
  for (int o = 0; o < Out; ++o) {
    const double centre = (o + 0.5) * scale;
    const int lo = std::max(0, int(centre - support + 0.5));
    const int hi = std::min({In, int(centre + support + 0.5), lo + t.stride});
    double sum = 0;
    for (int i = lo; i < hi; ++i) sum += w[std::size_t(i - lo)] = weight((i - centre + 0.5) / widen);
    for (int i = 0; i < hi - lo; ++i)
      t.weights[std::size_t(o * t.stride + i)] = float(sum != 0 ? w[std::size_t(i)] / sum : 0);
    t.first.push_back(lo);
    t.count.push_back(hi - lo);
  }
  return t;
}

std::uint8_t PlainLevel(float v) { return v <= 0 ? 0 : v >= 255 ? 255 : std::uint8_t(v + 0.5f); }

Image PlainResample(const Image& In, int W, int H, int OutW, int OutH, bool Bilinear) {
  Image mid = In;
  if (OutW != W) {
    const PlainTaps t = MakePlainTaps(W, OutW, Bilinear);
    mid.assign(std::size_t(OutW) * std::size_t(H) * 4, 0);
    for (int y = 0; y < H; ++y)
      for (int o = 0; o < OutW; ++o)
        for (int c = 0; c < 4; ++c) {
          float acc = 0;
          for (int k = 0; k < t.count[std::size_t(o)]; ++k)
            acc += In[(std::size_t(y) * W + std::size_t(t.first[std::size_t(o)] + k)) * 4 + std::size_t(c)] *
                   t.weights[std::size_t(o * t.stride + k)];
          mid[(std::size_t(y) * OutW + std::size_t(o)) * 4 + std::size_t(c)] = PlainLevel(acc);
        }
  }
  if (OutH == H) return mid;
  const PlainTaps t = MakePlainTaps(H, OutH, Bilinear);
  Image out(std::size_t(OutW) * std::size_t(OutH) * 4, 0);
  for (int o = 0; o < OutH; ++o)
    for (std::size_t i = 0; i < std::size_t(OutW) * 4; ++i) {
      float acc = 0;
      for (int k = 0; k < t.count[std::size_t(o)]; ++k)
        acc += mid[std::size_t(t.first[std::size_t(o)] + k) * std::size_t(OutW) * 4 + i] *
               t.weights[std::size_t(o * t.stride + k)];
      out[std::size_t(o) * std::size_t(OutW) * 4 + i] = PlainLevel(acc);
    }
  return out;
}

Image Bytes(TBitmap& B) {
  Image v;
  for (int y = 0; y < B.Height(); ++y) {
    auto* p = static_cast<const std::uint8_t*>(B.ScanLine(y));
    v.insert(v.end(), p, p + 4 * B.Width());
  }
  return v;
}

// Noise, hard edges and flat areas, the fourth byte included.
std::unique_ptr<TBitmap> Random(int W, int H, std::mt19937& rng) {
  auto b = guitest::MakeBitmap(W, H);
  for (int y = 0; y < H; ++y) {
    auto* p = static_cast<std::uint8_t*>(b->ScanLine(y));
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 4; ++c)
        p[4 * x + c] = rng() % 3 == 0 ? std::uint8_t(rng()) : ((x / 3 + y / 2 + c) % 2 ? 255 : 0);
  }
  return b;
}

}  // namespace

TEST(ResampleBitmap, SameBytesAsThePlainTwoPassResampler) {
  std::mt19937 rng(51);
  // Shrinking and enlarging each way, one way only, the same size, single rows
  // and columns, widths that are not a multiple of the four pixels done at once.
  const int sizes[][4] = {{37, 23, 11, 9}, {9, 7, 41, 30}, {64, 48, 64, 17}, {50, 31, 13, 31}, {16, 16, 16, 16},
                          {1, 1, 7, 5},    {7, 5, 1, 1},   {1, 40, 3, 9},   {203, 151, 80, 60}, {5, 3, 6, 200}};
  for (const auto& s : sizes)
    for (bool bilinear : {true, false}) {
      auto src = Random(s[0], s[1], rng);
      const Image before = Bytes(*src);
      TBitmap dst;
      dst.SetPixelFormat(pf32bit);
      dst.SetSize(s[2], s[3]);
      ResampleBitmap(src.get(), &dst, bilinear);
      EXPECT_EQ(Bytes(dst), PlainResample(before, s[0], s[1], s[2], s[3], bilinear))
          << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3] << (bilinear ? " bilinear" : " lanczos");
      EXPECT_EQ(Bytes(*src), before) << "the source is read only";
    }
}

// A 24-bit source is converted first; a destination of another format becomes 32-bit.
TEST(ResampleBitmap, OtherFormatsGoThroughThirtyTwoBits) {
  std::mt19937 rng(5);
  auto src = Random(30, 20, rng);
  src->SetPixelFormat(pf24bit);
  TBitmap wide;
  wide.Assign(src.get());
  wide.SetPixelFormat(pf32bit);
  Image expected = PlainResample(Bytes(wide), 30, 20, 12, 45, false);
  TBitmap dst;
  dst.SetPixelFormat(pf8bit);
  dst.SetSize(12, 45);
  ResampleBitmap(src.get(), &dst, false);
  EXPECT_EQ(dst.PixelFormat(), pf32bit);
  const Image got = Bytes(dst);
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); i += 4)
    ASSERT_TRUE(std::equal(got.begin() + std::ptrdiff_t(i), got.begin() + std::ptrdiff_t(i + 3),
                           expected.begin() + std::ptrdiff_t(i)))
        << "pixel " << i / 4;
}
