#include "gif/dither.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// Answers one grey for everything and remembers the red asked for; with
// black, the whole wanted value is the error a ditherer carries on.
class TRecordingLookup : public TColorLookup {
public:
  explicit TRecordingLookup(std::uint8_t Answer = 0) : TColorLookup(1), answer_(Answer) {}
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t, std::uint8_t, TGIFColor& Used) override {
    Wanted.push_back(Red);
    Used = {answer_, answer_, answer_};
    return 0;
  }
  std::vector<int> Wanted;

private:
  std::uint8_t answer_;
};

// Runs a grey picture through an engine as the reduction driver does.
struct TRun {
  std::vector<int> Order;  // columns in visiting order
  std::vector<double> ColumnMean;
  std::vector<int> FirstRow;
};

TRun DitherGrey(int mode, TColorLookup& lookup, int w, int h, int (*grey)(int x)) {
  auto d = MakeDitherer(mode, w, &lookup);
  TRun run;
  run.ColumnMean.assign(std::size_t(w), 0.0);
  run.FirstRow.assign(std::size_t(w), 0);
  TGIFColor used;
  for (int y = 0; y < h; ++y, d->NextLine()) {
    while (d->InRow()) {
      int x = d->Column();
      run.Order.push_back(x);
      auto v = std::uint8_t(grey(x));
      d->Dither(v, v, v, used);
      run.ColumnMean[std::size_t(x)] += double(used.Red) / h;
      if (y == 0) run.FirstRow[std::size_t(x)] = used.Red;
    }
  }
  return run;
}

double Mean(const TRun& r, int x0, int x1) {
  return std::accumulate(r.ColumnMean.begin() + x0, r.ColumnMean.begin() + x1, 0.0) / (x1 - x0);
}

}  // namespace

TEST(Ditherers, EveryEngineWalksSerpentine) {
  TMonochromeLookup mono;
  for (int mode = 0; mode <= 6; ++mode)
    EXPECT_EQ(DitherGrey(mode, mono, 4, 3, [](int) { return 9; }).Order,
              (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3}))
        << mode;
  EXPECT_EQ(MakeDitherer(7, 4, &mono), nullptr);
}

TEST(Ditherers, RoundingTowardsZeroAndSkippedPixels) {
  // Answering white makes the error negative: 200 - 255 = -55, and
  // (-55 * 7 + 8) div 16 is -23 where a floor would give -24.
  TRecordingLookup rec(255);
  TFloydSteinbergDitherer fs(4, &rec);
  TGIFColor used;
  fs.Dither(200, 0, 0, used);
  fs.Dither(200, 0, 0, used);
  EXPECT_EQ(rec.Wanted, (std::vector<int>{200, 177}));
  // a skipped pixel keeps its share to itself
  TRecordingLookup black;
  TFloydSteinbergDitherer skip(3, &black);
  skip.Dither(200, 0, 0, used);
  skip.Skip();
  skip.Dither(0, 0, 0, used);
  EXPECT_EQ(black.Wanted, (std::vector<int>{200, 0}));
}

// A single error of 255 in the middle of a row, every other pixel matched
// exactly: each neighbour ahead and below receives its weight's share, ahead
// meaning leftwards on a right-to-left row, and the rows after the kernel,
// reusing cleared buffers, receive nothing.
TEST(Ditherers, KernelWeightsLandWhereTheyBelong) {
  class TOneError : public TColorLookup {
  public:
    TOneError() : TColorLookup(1) {}
    std::uint8_t Lookup(std::uint8_t Red, std::uint8_t, std::uint8_t, TGIFColor& Used) override {
      Used = {Red == 255 ? std::uint8_t(0) : Red, 0, 0};
      return 0;
    }
  } lookup;
  // weights at offsets -3..+3 for the current row and the rows below, and the divisor
  struct TKernel {
    int rows[4][7], divisor;
  };
  const TKernel kernels[7] = {
      {},
      {{{0, 0, 0, 0, 7, 0, 0}, {0, 0, 3, 5, 1, 0, 0}}, 16},
      {{{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}, 42},
      {{{0, 0, 0, 0, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}, 32},
      {{{0, 0, 0, 0, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}, 48},
      {{{0, 0, 0, 0, 0, 32, 0}, {12, 0, 26, 0, 30, 0, 16}, {0, 12, 0, 26, 0, 12, 0}, {5, 0, 12, 0, 12, 0, 5}}, 200},
      {{{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}, 32}};
  const int w = 9, mid = 4, h = 7;
  for (int mode = 1; mode <= 6; ++mode) {
    for (int first : {0, 1}) {  // the error on a left-to-right row, then on a right-to-left one
      const int dir = first == 0 ? 1 : -1;
      auto d = MakeDitherer(mode, w, &lookup);
      std::vector<std::vector<int>> got(h, std::vector<int>(w, 0));
      TGIFColor used;
      for (int y = 0; y < h; ++y, d->NextLine()) {
        while (d->InRow()) {
          int x = d->Column();
          d->Dither(y == first && x == mid ? 255 : 0, 0, 0, used);
          got[y][x] = used.Red;
        }
      }
      const TKernel& k = kernels[mode];
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          int dy = y - first, dx = (x - mid) * dir;
          int weight = dy >= 0 && dy < 4 && dx >= -3 && dx <= 3 ? k.rows[dy][dx + 3] : 0;
          if (dy == 0 && dx <= 0) weight = 0;
          EXPECT_EQ(got[y][x], (255 * weight + k.divisor / 2) / k.divisor)
              << "mode " << mode << " row " << dy << " offset " << dx << " direction " << dir;
        }
    }
  }
}

TEST(Ditherers, GreyKeepsItsBrightnessUnderEveryEngine) {
  TMonochromeLookup mono;
  // flat mid-grey to black and white: alternating, and as bright as the grey
  TRun flat = DitherGrey(1, mono, 64, 64, [](int) { return 128; });
  EXPECT_NEAR(Mean(flat, 0, 64), 128.0, 2.0);
  for (int x = 1; x < 64; ++x) EXPECT_NE(flat.FirstRow[x], flat.FirstRow[x - 1]) << x;

  // a ramp to black and white and to four greys keeps its mean in every band
  TColorPalette grey4 = FourGrayPalette();
  TSlowColorLookup four(grey4);
  for (int mode = 1; mode <= 6; ++mode) {
    for (TColorLookup* lookup : {static_cast<TColorLookup*>(&mono), static_cast<TColorLookup*>(&four)}) {
      TRun ramp = DitherGrey(mode, *lookup, 128, 64, [](int x) { return x * 2; });
      EXPECT_NEAR(Mean(ramp, 0, 128), 127.0, 3.0) << mode << " " << lookup->Colors();
      for (int x0 = 0; x0 < 128; x0 += 16)
        EXPECT_NEAR(Mean(ramp, x0, x0 + 16), x0 * 2 + 15, 12.0) << mode << " band " << x0;
    }
  }
  // nearest colour alone does not: a flat dark grey turns black
  EXPECT_EQ(Mean(DitherGrey(0, mono, 16, 4, [](int) { return 100; }), 0, 16), 0.0);
}
