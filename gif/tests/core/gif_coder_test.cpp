// LZW decoding, LZW and run-length encoding, and the sub-block writer.
#include <map>
#include <random>

#include "gif/gifcoder.h"
#include "gif_test_util.h"

namespace {

// Encodes pixels with the chosen encoder and decodes them again.
std::vector<std::uint8_t> RoundTrip(const std::vector<std::uint8_t>& px, int w, int h, int bits, bool rle,
                                    bool interlaced = false, Bytes* coded = nullptr) {
  TMemoryStream s;
  if (rle)
    TRLEEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  else
    TLZWEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  if (coded) *coded = s.Bytes();
  s.Write("\x3B", 1);
  s.SetPosition(0);
  std::vector<std::uint8_t> out(px.size(), 0xEE);
  GIFDecode(&s, out.data(), w, h, interlaced, nullptr, nullptr);
  std::uint8_t next = 0;
  EXPECT_EQ(s.Read(&next, 1), 1);
  EXPECT_EQ(next, 0x3B) << "decoder did not stop at the terminator";
  return out;
}

std::vector<std::uint8_t> Pattern(int n, int bits, int kind, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(static_cast<std::size_t>(n));
  const int colors = 1 << bits;
  int run = 0, value = 0;
  for (int i = 0; i < n; ++i) {
    switch (kind) {
      case 0: v[std::size_t(i)] = std::uint8_t(rng() % unsigned(colors)); break;  // noise
      case 1: v[std::size_t(i)] = std::uint8_t((i / 7) % colors); break;         // short runs
      default:                                                                    // long random runs
        if (run == 0) {
          run = int(rng() % 9000) + 1;
          value = int(rng() % unsigned(colors));
        }
        --run;
        v[std::size_t(i)] = std::uint8_t(value);
    }
  }
  return v;
}

// The plain algorithm: greedy longest strings from a map, sizes growing when
// the next free code passes the largest of the current size, a clear when it
// reaches 4095. Answers the data sub-block bytes after the minimum code size.
Bytes PlainLzw(const std::vector<std::uint8_t>& px, int bits) {
  bits = std::max(bits, 2);
  const int clear = 1 << bits;
  std::map<std::pair<int, int>, int> table;
  int size = bits + 1, next = clear + 2;
  std::uint64_t acc = 0;
  int n = 0;
  Bytes data;
  auto out = [&](int code) {
    acc |= std::uint64_t(code) << n;
    n += size;
    for (; n >= 8; n -= 8, acc >>= 8) data.push_back(std::uint8_t(acc));
  };
  out(clear);
  int prefix = px[0];
  for (std::size_t i = 1; i < px.size(); ++i) {
    auto it = table.find({prefix, px[i]});
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    out(prefix);
    if (next > (1 << size) - 1 && size < 12) ++size;
    if (next >= 4095) {
      out(clear);
      table.clear();
      size = bits + 1;
      next = clear + 2;
    } else {
      table[{prefix, px[i]}] = next++;
    }
    prefix = px[i];
  }
  out(prefix);
  out(clear + 1);
  if (n > 0) data.push_back(std::uint8_t(acc));
  return data;
}

// Strips the sub-block framing (minimum code size, lengths, terminator).
Bytes Unblock(const Bytes& coded) {
  Bytes data;
  for (std::size_t p = 1; p < coded.size() && coded[p] != 0; p += coded[p] + 1u)
    data.insert(data.end(), coded.begin() + std::ptrdiff_t(p + 1), coded.begin() + std::ptrdiff_t(p + 1 + coded[p]));
  return data;
}

}  // namespace

TEST(GifCoder, BothEncodersRoundTripEveryDepthAndPattern) {
  for (int bits = 1; bits <= 8; ++bits)
    for (int kind = 0; kind < 3; ++kind)
      for (bool rle : {false, true}) {
        const int w = 173, h = 91;
        auto px = Pattern(w * h, bits, kind, unsigned(bits * 10 + kind));
        EXPECT_EQ(RoundTrip(px, w, h, bits, rle), px) << "bits " << bits << " kind " << kind << " rle " << rle;
      }
  // One colour across a large frame: the run encoder's longest runs and clears.
  std::vector<std::uint8_t> flat(300 * 300, 3);
  EXPECT_EQ(RoundTrip(flat, 300, 300, 2, true), flat);
  EXPECT_EQ(RoundTrip(flat, 300, 300, 2, false), flat);
}

// Faster table structures must not change a single output byte.
TEST(GifCoder, LzwWritesTheCodesOfThePlainAlgorithm) {
  for (int bits : {1, 2, 4, 8})
    for (int kind = 0; kind < 3; ++kind) {
      const int w = 317, h = 211;
      auto px = Pattern(w * h, bits, kind, unsigned(bits * 7 + kind));
      Bytes coded;
      RoundTrip(px, w, h, bits, false, false, &coded);
      EXPECT_EQ(Unblock(coded), PlainLzw(px, bits)) << "bits " << bits << " kind " << kind;
    }
}

TEST(GifCoder, LzwClearsWhenTheTableIsFull) {
  // Noise fills the table many times over; a clear at the wrong moment would
  // desynchronise the decoder.
  auto px = Pattern(256 * 256, 8, 0, 7);
  Bytes coded;
  EXPECT_EQ(RoundTrip(px, 256, 256, 8, false, false, &coded), px);
  EXPECT_EQ(coded[0], 8);
  // Noise does not compress: 12-bit codes for about 1.5 pixels each.
  EXPECT_GT(coded.size(), px.size());
}

TEST(GifCoder, RunLengthStaysSmallOnFlatAreas) {
  std::vector<std::uint8_t> flat(1000 * 100, 1);
  Bytes rle, lzw;
  RoundTrip(flat, 1000, 100, 8, true, false, &rle);
  RoundTrip(flat, 1000, 100, 8, false, false, &lzw);
  EXPECT_LT(rle.size(), 2000u);
  EXPECT_LT(lzw.size(), 1000u);
}

TEST(GifCoder, InterlacedRowsGoInPassOrder) {
  for (int h : {1, 2, 3, 5, 8, 9, 17}) {
    const int w = 3;
    std::vector<std::uint8_t> px(std::size_t(w * h));
    for (int i = 0; i < w * h; ++i) px[std::size_t(i)] = std::uint8_t(i / w);
    for (bool rle : {false, true}) EXPECT_EQ(RoundTrip(px, w, h, 5, rle, true), px) << "height " << h;
  }
  // Decoding the interlaced stream as plain rows shows the pass order.
  std::vector<std::uint8_t> px = {0, 1, 2, 3, 4};
  TMemoryStream s;
  TLZWEncoder().Compress(&s, 3, 8, px.data(), true, 5, 1);
  s.SetPosition(0);
  std::vector<std::uint8_t> rows(5);
  GIFDecode(&s, rows.data(), 1, 5, false, nullptr, nullptr);
  EXPECT_EQ(rows, (std::vector<std::uint8_t>{0, 4, 2, 1, 3}));
}

TEST(GifCoder, EncoderRefusesIndexesBeyondTheTable) {
  std::vector<std::uint8_t> px = {0, 1, 4};
  TMemoryStream s;
  EXPECT_GIF_ERROR(TLZWEncoder().Compress(&s, 2, 4, px.data(), false, 1, 3), "Color not in color table");
  EXPECT_GIF_ERROR(TRLEEncoder().Compress(&s, 2, 4, px.data(), false, 1, 3), "Color not in color table");
  // A count beyond what the code size can hold does not let such a pixel through.
  std::vector<std::uint8_t> wide = {0, 255, 4};
  EXPECT_GIF_ERROR(TLZWEncoder().Compress(&s, 2, 256, wide.data(), false, 1, 3), "Color not in color table");
  EXPECT_GIF_ERROR(TRLEEncoder().Compress(&s, 2, 256, wide.data(), false, 1, 3), "Color not in color table");
}

TEST(GifCoder, WriterCutsSubBlocks) {
  TMemoryStream s;
  {
    TGIFWriter w(&s);
    std::vector<std::uint8_t> data(600, 0xAB);
    w.Write(data.data(), 600);
  }
  const Bytes& b = s.Bytes();
  ASSERT_EQ(b.size(), 603u);
  EXPECT_EQ(b[0], 255);
  EXPECT_EQ(b[256], 255);
  EXPECT_EQ(b[512], 90);
  TMemoryStream none;
  { TGIFWriter w(&none); }
  EXPECT_EQ(none.Size(), 0);
}

TEST(GifDecoder, MinimumCodeSizeAboveEightIsEight) {
  std::vector<std::uint8_t> px = Pattern(40 * 30, 8, 1, 3);
  Bytes coded;
  RoundTrip(px, 40, 30, 8, false, false, &coded);
  coded[0] = 9;
  TMemoryStream s;
  s.WriteBuffer(coded.data(), std::int64_t(coded.size()));
  s.SetPosition(0);
  std::vector<std::uint8_t> out(px.size());
  GIFDecode(&s, out.data(), 40, 30, false, nullptr, nullptr);
  EXPECT_EQ(out, px);
}

TEST(GifDecoder, DataEndingEarlyLeavesTheFillValue) {
  // 4 x 4 transparent frame (index 3) whose data stops after a few pixels.
  const Bytes gce = {0x21, 0xF9, 4, 1, 0, 0, 3, 0};
  const Bytes data = Codes(2, {{4, 3}, {1, 3}, {2, 3}, {1, 3}});
  TGIFImage img;
  WarningLog log(img);
  LoadBytes(img, Header(4, 4) + gce + Descriptor(0, 0, 4, 4) + data + Bytes{0x3B});
  TGIFSubImage* f = img.Images()->SubImages(0);
  EXPECT_TRUE(log.Has("Decoder bit buffer under-run"));
  EXPECT_EQ(f->Pixels(0, 0), 1);
  EXPECT_EQ(f->Pixels(1, 0), 2);
  EXPECT_EQ(f->Pixels(2, 0), 1);
  EXPECT_EQ(f->Pixels(3, 3), 3);

  // A sub-block longer than the rest of the file warns and keeps what is there.
  Bytes cut = Header(4, 4) + Descriptor(0, 0, 4, 4) + Bytes{2, 200, 0x8C, 0x2D};
  log.Messages.clear();
  LoadBytes(img, cut);
  EXPECT_TRUE(log.Has("Premature end of data"));
  EXPECT_EQ(img.Images()->Count(), 1);
}

TEST(GifDecoder, EarlyEndCodeAndLeftoverBlocksDoNotSwallowTheNextFrame) {
  const Bytes second = Descriptor(0, 0, 2, 2) + Codes(2, {{4, 3}, {2, 3}, {6, 3}, {6, 3}, {5, 3}});
  // End code after two pixels of sixteen, one bit before its sub-block ends,
  // so taking one more code would read the next block's first byte.
  const Bytes early = Descriptor(0, 0, 4, 4) + Codes(2, {{4, 3}, {4, 3}, {1, 3}, {1, 3}, {5, 3}});
  // All pixels, no end code, then a sub-block of junk.
  Bytes leftover = Descriptor(0, 0, 2, 2) + Codes(2, {{4, 3}, {1, 3}, {6, 3}, {6, 3}});
  leftover.pop_back();
  leftover = leftover + Bytes{3, 0xFF, 0xFF, 0xFF, 0};
  for (const Bytes& first : {early, leftover}) {
    TGIFImage img;
    LoadBytes(img, Header(4, 4) + first + second + Bytes{0x3B});
    ASSERT_EQ(img.Images()->Count(), 2);
    EXPECT_EQ(img.Images()->SubImages(0)->Pixels(0, 0), 1);
    EXPECT_EQ(img.Images()->SubImages(1)->Pixels(1, 1), 2);
  }
}

TEST(GifDecoder, CircularTableIsAnErrorNotAHang) {
  // Codes 12 and 11 arrive before they exist, so entry 11 gets prefix 12 and
  // entry 12 prefix 11; asking for 11 then walks the loop.
  const Bytes data = Codes(3, {{8, 4}, {0, 4}, {12, 4}, {11, 4}, {1, 4}, {11, 4}, {9, 4}});
  TGIFImage img;
  const Bytes file = Header(10, 10) + Descriptor(0, 0, 10, 10) + data + Descriptor(0, 0, 1, 1) + Bytes{2, 0} + Bytes{0x3B};
  EXPECT_GIF_ERROR(LoadBytes(img, file), "Circular decoder table entry");
  EXPECT_EQ(img.Images()->Count(), 1);
  // A self-referencing entry: the first code after a clear is kept as the prefix.
  const Bytes self = Codes(2, {{4, 3}, {0, 3}, {7, 3}, {6, 3}, {7, 4}, {5, 4}});
  EXPECT_GIF_ERROR(LoadBytes(img, Header(10, 10) + Descriptor(0, 0, 10, 10) + self + Bytes{0x3B}),
                   "Circular decoder table entry");
}

TEST(GifDecoder, AnErrorKeepsThePixelsDecodedBeforeIt) {
  // Seven pixels (0 0 0 0 0 0 1), then a code whose entries chain back on each
  // other; only the pixels after them take the transparent fill.
  const Bytes gce = {0x21, 0xF9, 4, 1, 0, 0, 3, 0};
  const Bytes data = Codes(3, {{8, 4}, {0, 4}, {12, 4}, {11, 4}, {1, 4}, {11, 4}, {9, 4}});
  TGIFImage img;
  EXPECT_GIF_ERROR(LoadBytes(img, Header(10, 10) + gce + Descriptor(0, 0, 10, 10) + data + Bytes{0x3B}),
                   "Circular decoder table entry");
  ASSERT_EQ(img.Images()->Count(), 1);
  TGIFSubImage* f = img.Images()->SubImages(0);
  EXPECT_EQ(f->Pixels(0, 0), 0);
  EXPECT_EQ(f->Pixels(5, 0), 0);
  EXPECT_EQ(f->Pixels(6, 0), 1);
  EXPECT_EQ(f->Pixels(7, 0), 3);
  EXPECT_EQ(f->Pixels(9, 9), 3);
}
