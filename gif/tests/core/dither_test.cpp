#include "gif/dither.h"

#include <gtest/gtest.h>

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

// Runs a grey picture through an engine the way the reduction driver does
// and answers the grey level of every output pixel.
std::vector<int> DitherGrey(int mode, TColorLookup& lookup, int w, int h,
                            int (*grey)(int x, int y)) {
  auto d = MakeDitherer(mode, w, &lookup);
  std::vector<int> out(std::size_t(w) * h);
  TGIFColor used;
  for (int y = 0; y < h; ++y) {
    while (d->InRow()) {
      int x = d->Column();
      auto v = std::uint8_t(grey(x, y));
      d->Dither(v, v, v, used);
      out[std::size_t(y) * w + x] = used.Red;
    }
    d->NextLine();
  }
  return out;
}

double Mean(const std::vector<int>& v, int w, int x0, int x1) {
  double s = 0;
  int n = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    int x = int(i % std::size_t(w));
    if (x >= x0 && x < x1) {
      s += v[i];
      ++n;
    }
  }
  return s / n;
}

}  // namespace

TEST(Ditherers, EveryEngineWalksSerpentine) {
  TMonochromeLookup mono;
  for (int mode = 0; mode <= 6; ++mode) {
    auto d = MakeDitherer(mode, 4, &mono);
    ASSERT_NE(d, nullptr);
    std::vector<int> order;
    TGIFColor used;
    for (int row = 0; row < 3; ++row) {
      while (d->InRow()) {
        order.push_back(d->Column());
        d->Dither(1, 2, 3, used);
      }
      d->NextLine();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3})) << mode;
  }
  EXPECT_EQ(MakeDitherer(7, 4, &mono), nullptr);
}

// One error of 200 at the start of a row: what the pixels ahead receive shows
// each engine's first weights, divisor and rounding, and that "ahead" follows
// the walk on a right-to-left row.
TEST(Ditherers, ErrorRunsAheadInTheWalkingDirection) {
  struct Case {
    int mode, next, afterNext;
  };
  // FS 7/16, Stucki 8,4/42, Sierra 5,3/32, JaJuNi 7,5/48, Steve Arche -,32/200, Burkes 8,4/32;
  // the second also carries the first one's own (all black) error on.
  const Case cases[] = {{1, 88, 39}, {2, 38, 26}, {3, 31, 24},
                        {4, 29, 25}, {5, 0, 32},  {6, 50, 38}};
  for (const Case& c : cases) {
    for (bool reverse : {false, true}) {
      TRecordingLookup rec;
      auto d = MakeDitherer(c.mode, 8, &rec);
      TGIFColor used;
      if (reverse) {  // a zero first row, then the walk comes back from the right
        while (d->InRow()) d->Dither(0, 0, 0, used);
        d->NextLine();
        rec.Wanted.clear();
      }
      d->Dither(200, 0, 0, used);
      d->Dither(0, 0, 0, used);
      d->Dither(0, 0, 0, used);
      ASSERT_EQ(rec.Wanted.size(), 3u);
      EXPECT_EQ(rec.Wanted[1], c.next) << c.mode << (reverse ? " reverse" : "");
      EXPECT_EQ(rec.Wanted[2], c.afterNext) << c.mode << (reverse ? " reverse" : "");
    }
  }
}

TEST(Ditherers, RoundingDividesTowardsZero) {
  // Answering white makes the error negative: 200 - 255 = -55, and
  // (-55 * 7 + 8) div 16 is -23 where a floor would give -24.
  TRecordingLookup rec(255);
  TFloydSteinbergDitherer fs(4, &rec);
  TGIFColor used;
  fs.Dither(200, 0, 0, used);
  fs.Dither(200, 0, 0, used);
  EXPECT_EQ(rec.Wanted, (std::vector<int>{200, 177}));
}

TEST(Ditherers, NextRowReceivesTheRestOfTheError) {
  // One column: only the straight-down weight lands inside the row.
  TRecordingLookup rec;
  TFloydSteinbergDitherer fs(1, &rec);
  TGIFColor used;
  fs.Dither(160, 0, 0, used);
  fs.NextLine();
  fs.Dither(0, 0, 0, used);
  fs.NextLine();
  fs.Dither(0, 0, 0, used);
  // 5/16 of 160, then 5/16 of that 50 (the row below is cleared as it rotates in)
  EXPECT_EQ(rec.Wanted, (std::vector<int>{160, 50, 16}));
}

TEST(Ditherers, FlatMidGreyToMonochromeAlternatesAndKeepsItsBrightness) {
  TMonochromeLookup mono;
  auto out = DitherGrey(1, mono, 64, 64, [](int, int) { return 128; });
  for (int x = 1; x < 64; ++x) EXPECT_NE(out[x], out[x - 1]) << x;
  EXPECT_NEAR(Mean(out, 64, 0, 64), 128.0, 2.0);
}

TEST(Ditherers, GreyRampKeepsItsMeanUnderEveryEngine) {
  const int w = 128, h = 64;
  auto ramp = [](int x, int) { return x * 2; };
  TMonochromeLookup mono;
  TColorPalette grey4 = FourGrayPalette();
  TSlowColorLookup four(grey4);
  for (int mode = 1; mode <= 6; ++mode) {
    for (TColorLookup* lookup : {static_cast<TColorLookup*>(&mono), static_cast<TColorLookup*>(&four)}) {
      auto out = DitherGrey(mode, *lookup, w, h, ramp);
      EXPECT_NEAR(Mean(out, w, 0, w), 127.0, 3.0) << mode << " " << lookup->Colors();
      // locally too: each band of 16 columns keeps its own mean
      for (int x0 = 0; x0 < w; x0 += 16)
        EXPECT_NEAR(Mean(out, w, x0, x0 + 16), x0 * 2 + 15, 12.0) << mode << " band " << x0;
    }
  }
  // nearest colour alone does not: a flat dark grey turns black
  auto flat = DitherGrey(0, mono, 16, 4, [](int, int) { return 100; });
  EXPECT_EQ(Mean(flat, 16, 0, 16), 0.0);
}
