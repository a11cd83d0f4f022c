// The LZW decoder writes whole strings per code; these tests hold it to the
// plain algorithm that hands out one pixel at a time (kept here as the
// reference) on valid, cut, corrupted and random data: the same pixels, the
// same count, warnings, error and stream position.
#include <random>

#include "gif/gifcoder.h"
#include "gif_test_util.h"

namespace {

// The plain decoder: a code's string is pushed on a stack and popped pixel by pixel.
class TPlainDecoder {
public:
  TPlainDecoder(TStream* stream, std::vector<std::string>& warnings) : stream_(stream), warnings_(warnings) {}

  void Decode(const std::function<std::uint8_t*()>& allocate, int width, int height, bool interlaced,
              std::int64_t& done) {
    done = 0;
    std::uint8_t b;
    if (stream_->Read(&b, 1) != 1) return Warn("Premature end of data");
    minCodeSize_ = b > 8 ? 8 : b;
    codeSize_ = minCodeSize_ + 1;
    clearCode_ = 1 << minCodeSize_;
    endCode_ = clearCode_ + 1;
    maxCodeSize_ = 2 * clearCode_;
    nextFree_ = clearCode_ + 2;
    const std::int64_t total = std::int64_t(width) * height;
    std::int64_t stored = 0;
    try {
      int v = total > 0 ? Fetch() : -1;
      if (v >= 0) {
        std::uint8_t* buf = allocate();
        // Rows in order, or the four interlace passes.
        std::vector<int> rows;
        if (!interlaced) {
          for (int y = 0; y < height; ++y) rows.push_back(y);
        } else {
          for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = start; y < height; y += step) rows.push_back(y);
        }
        for (std::int64_t i = 0; i < total; ++i) {
          if (i > 0 && (v = Fetch()) < 0) break;
          buf[std::int64_t(rows[std::size_t(i / width)]) * width + i % width] = std::uint8_t(v);
          stored = i + 1;
        }
      }
      done = stored;
    } catch (...) {
      done = stored;
      try {
        if (!finished_) Fetch();
      } catch (...) {
      }
      SkipBlocks();
      throw;
    }
    if (!finished_) Fetch();
    SkipBlocks();
  }

private:
  static constexpr int TableSize = 4096, StackSize = 2 * TableSize;
  void Warn(const char* msg) { warnings_.push_back(msg); }
  int Fetch() { return sp_ > 0 ? stack_[--sp_] : Step(); }

  bool Refill() {
    if (endOfData_) {
      if (bitPos_ >= lastBit_) Warn("Decoder bit buffer under-run");
      return false;
    }
    buf_[0] = buf_[lastByte_ - 2];
    buf_[1] = buf_[lastByte_ - 1];
    std::uint8_t len;
    if (stream_->Read(&len, 1) != 1) {
      Warn("Premature end of data");
      finished_ = true;
      return false;
    }
    int got = 0;
    if (len > 0) {
      got = int(stream_->Read(buf_ + 2, len));
      if (got < len) Warn("Premature end of data");
      if (got <= 0) {
        got = 0;
        endOfData_ = finished_ = true;
      }
    } else {
      endOfData_ = zeroBlock_ = finished_ = true;
    }
    lastByte_ = 2 + got;
    bitPos_ = bitPos_ - lastBit_ + 16;
    lastBit_ = lastByte_ * 8;
    return true;
  }

  int GetCode(int n) {
    if (firstCall_) {
      firstCall_ = false;
      return clearCode_;
    }
    while (bitPos_ + n >= lastBit_) {
      if (endOfData_ && bitPos_ + n <= lastBit_) break;
      if (!Refill()) return -1;
    }
    const int i = bitPos_ >> 3;
    std::uint32_t v = buf_[i] | (std::uint32_t(buf_[i + 1]) << 8) | (std::uint32_t(buf_[i + 2]) << 16);
    v = (v >> (bitPos_ & 7)) & ((1u << n) - 1);
    bitPos_ += n;
    return int(v);
  }

  void SkipBlocks() {
    if (finished_) return;
    finished_ = true;
    std::uint8_t len, skip[255];
    while (stream_->Read(&len, 1) == 1 && len != 0)
      if (stream_->Read(skip, len) != len) break;
  }

  int Step() {
    int code = GetCode(codeSize_);
    if (code < 0) return code;
    if (code == clearCode_) {
      for (int i = 0; i < TableSize; ++i) {
        prefix_[i] = 0;
        suffix_[i] = std::uint8_t(i < clearCode_ ? i : 0);
      }
      codeSize_ = minCodeSize_ + 1;
      maxCodeSize_ = 2 * clearCode_;
      nextFree_ = clearCode_ + 2;
      sp_ = 0;
      do {
        code = GetCode(codeSize_);
      } while (code == clearCode_);
      if (code < 0) return code;
      if (code >= clearCode_) {
        if (!zeroBlock_) SkipBlocks();
        return -2;
      }
      firstCode_ = oldCode_ = code;
      return code;
    }
    if (code == endCode_) {
      if (!zeroBlock_) SkipBlocks();
      return -2;
    }
    const int incode = code;
    if (code >= nextFree_) {
      stack_[sp_++] = std::uint8_t(firstCode_);
      code = oldCode_;
    }
    while (code >= clearCode_) {
      if (sp_ >= StackSize - 1 || prefix_[code] == code) throw GIFException("Circular decoder table entry");
      stack_[sp_++] = suffix_[code];
      code = prefix_[code];
    }
    firstCode_ = suffix_[code];
    stack_[sp_++] = std::uint8_t(firstCode_);
    if (nextFree_ < TableSize) {
      prefix_[nextFree_] = std::uint16_t(oldCode_);
      suffix_[nextFree_] = std::uint8_t(firstCode_);
      if (++nextFree_ >= maxCodeSize_ && maxCodeSize_ < TableSize) {
        maxCodeSize_ *= 2;
        ++codeSize_;
      }
    }
    oldCode_ = incode;
    return stack_[--sp_];
  }

  TStream* stream_;
  std::vector<std::string>& warnings_;
  std::uint8_t buf_[260] = {};
  int bitPos_ = 0, lastBit_ = 0, lastByte_ = 2;
  bool firstCall_ = true, endOfData_ = false, zeroBlock_ = false, finished_ = false;
  int codeSize_ = 0, minCodeSize_ = 0, clearCode_ = 0, endCode_ = 0, maxCodeSize_ = 0;
  int nextFree_ = 0, firstCode_ = 0, oldCode_ = 0;
  std::uint16_t prefix_[TableSize] = {};
  std::uint8_t suffix_[TableSize] = {};
  std::uint8_t stack_[StackSize] = {};
  int sp_ = 0;
};

// Everything a decode leaves behind.
struct TOutcome {
  bool Allocated = false;
  Bytes Pixels;
  std::int64_t Done = -1, Position = -1;
  std::string Error;
  std::vector<std::string> Warnings;
  bool operator==(const TOutcome&) const = default;
};

template <class F>
TOutcome Run(const Bytes& data, int w, int h, F decode) {
  TOutcome o;
  o.Pixels.assign(std::size_t(w) * std::size_t(h), 0xEE);
  TMemoryStream s;
  s.WriteBuffer(data.data(), std::int64_t(data.size()));
  s.SetPosition(0);
  auto allocate = [&o] {
    o.Allocated = true;
    return o.Pixels.data();
  };
  try {
    decode(&s, allocate, o);
  } catch (const GIFException& e) {
    o.Error = e.Message;
  }
  o.Position = s.Position();
  return o;
}

TOutcome Ours(const Bytes& data, int w, int h, bool interlaced) {
  return Run(data, w, h, [&](TStream* s, const std::function<std::uint8_t*()>& allocate, TOutcome& o) {
    TGIFImage img;
    WarningLog log(img);
    struct TKeep {
      WarningLog& Log;
      TOutcome& Out;
      ~TKeep() { Out.Warnings = Log.Messages; }
    } keep{log, o};
    GIFDecode(s, w, h, interlaced, allocate, &img, nullptr, o.Done);
  });
}

TOutcome Plain(const Bytes& data, int w, int h, bool interlaced) {
  return Run(data, w, h, [&](TStream* s, const std::function<std::uint8_t*()>& allocate, TOutcome& o) {
    TPlainDecoder(s, o.Warnings).Decode(allocate, w, h, interlaced, o.Done);
  });
}

// The data of a frame coded by one of our encoders, cut into sub-blocks of
// random lengths (Cut 0: as written) behind the minimum code size.
Bytes Coded(const Bytes& px, int w, int h, int bits, bool rle, bool interlaced, std::mt19937& rng, int cut) {
  TMemoryStream s;
  if (rle)
    TRLEEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  else
    TLZWEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  const Bytes& b = s.Bytes();
  if (cut == 0) return b;
  Bytes data;
  for (std::size_t p = 1; p < b.size() && b[p] != 0; p += b[p] + 1u)
    data.insert(data.end(), b.begin() + std::ptrdiff_t(p + 1), b.begin() + std::ptrdiff_t(p + 1 + b[p]));
  Bytes out{b[0]};
  for (std::size_t p = 0; p < data.size();) {
    const std::size_t k = std::min<std::size_t>(1 + rng() % unsigned(cut), data.size() - p);
    out.push_back(std::uint8_t(k));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(p), data.begin() + std::ptrdiff_t(p + k));
    p += k;
  }
  out.push_back(0);
  return out;
}

Bytes Pixels(int n, int bits, int kind, std::mt19937& rng) {
  Bytes v(static_cast<std::size_t>(n));
  const unsigned colors = 1u << bits;
  int left = 0, value = 0;
  for (auto& p : v) {
    if (kind == 0) {  // noise
      p = std::uint8_t(rng() % colors);
      continue;
    }
    if (left == 0) {  // runs: short ones, or long ones that make long strings
      left = 1 + int(rng() % (kind == 1 ? 6u : 300u));
      value = int(rng() % colors);
    }
    --left;
    p = std::uint8_t(value);
  }
  return v;
}

void ExpectSame(const Bytes& data, int w, int h, bool interlaced, const std::string& what) {
  const TOutcome ours = Ours(data, w, h, interlaced), plain = Plain(data, w, h, interlaced);
  EXPECT_EQ(ours.Allocated, plain.Allocated) << what;
  EXPECT_EQ(ours.Done, plain.Done) << what;
  EXPECT_EQ(ours.Error, plain.Error) << what;
  EXPECT_EQ(ours.Warnings, plain.Warnings) << what;
  EXPECT_EQ(ours.Position, plain.Position) << what;
  EXPECT_TRUE(ours.Pixels == plain.Pixels) << what << ": pixels differ";
}

}  // namespace

// Our encoders' data, in sub-blocks as written and cut short, decoded into the
// frame they were made for and into smaller and larger ones (full before the
// end code; data running out).
TEST(GifDecoderEquality, ValidDataInEveryShape) {
  std::mt19937 rng(51);
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 9}, {7, 1}, {3, 17}, {64, 33}, {173, 91}, {5, 400}};
  for (auto [w, h] : sizes)
    for (int bits : {1, 2, 4, 8})
      for (int kind = 0; kind < 3; ++kind)
        for (bool rle : {false, true})
          for (bool interlaced : {false, true}) {
            const Bytes px = Pixels(w * h, bits, kind, rng);
            const int cut = int(rng() % 3) == 0 ? 0 : int(1 + rng() % 40);
            const Bytes data = Coded(px, w, h, bits, rle, interlaced, rng, cut);
            const std::string what = std::to_string(w) + "x" + std::to_string(h) + " bits " + std::to_string(bits) +
                                     " kind " + std::to_string(kind) + (rle ? " rle" : " lzw") +
                                     (interlaced ? " interlaced" : "") + " cut " + std::to_string(cut);
            ExpectSame(data, w, h, interlaced, what);
            EXPECT_EQ(Ours(data, w, h, interlaced).Pixels, px) << what;
            ExpectSame(data, w, std::max(1, h / 2), interlaced, what + " into a shorter frame");
            ExpectSame(data, w + 1, h + 3, interlaced, what + " into a larger frame");
          }
}

// Every cut of a small frame's data, and single bits flipped and bytes replaced
// in larger ones: undefined codes, self-referencing and circular entries, end
// codes in odd places.
TEST(GifDecoderEquality, CutAndCorruptedData) {
  std::mt19937 rng(7);
  for (bool interlaced : {false, true}) {
    const Bytes px = Pixels(13 * 11, 3, 1, rng);
    const Bytes data = Coded(px, 13, 11, 3, false, interlaced, rng, 9);
    for (std::size_t n = 0; n <= data.size(); ++n)
      ExpectSame(Bytes(data.begin(), data.begin() + std::ptrdiff_t(n)), 13, 11, interlaced,
                 "cut at " + std::to_string(n));
  }
  for (int round = 0; round < 400; ++round) {
    const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 40), bits = 1 + int(rng() % 8);
    const bool interlaced = rng() % 2;
    Bytes data = Coded(Pixels(w * h, bits, int(rng() % 3), rng), w, h, bits, rng() % 4 == 0, interlaced, rng,
                       int(rng() % 50));
    // Damage the codes only (not the block lengths), so the decoder reads on.
    std::vector<std::size_t> at;
    for (std::size_t p = 1; p < data.size() && data[p] != 0; p += data[p] + 1u)
      for (std::size_t i = 1; i <= data[p]; ++i) at.push_back(p + i);
    if (at.empty()) continue;
    for (int k = 1 + int(rng() % 3); k > 0; --k) {
      const std::size_t i = at[rng() % at.size()];
      data[i] = rng() % 2 ? std::uint8_t(data[i] ^ (1u << (rng() % 8))) : std::uint8_t(rng());
    }
    ExpectSame(data, w, h, interlaced, "round " + std::to_string(round));
  }
}

// Random codes from the first byte on, and odd minimum code sizes.
TEST(GifDecoderEquality, RandomData) {
  std::mt19937 rng(3);
  for (int round = 0; round < 600; ++round) {
    Bytes data{std::uint8_t(rng() % 12)};
    for (int blocks = int(rng() % 5); blocks > 0; --blocks) {
      const int len = int(rng() % 256);
      data.push_back(std::uint8_t(len));
      for (int i = 0; i < len; ++i) data.push_back(std::uint8_t(rng()));
    }
    if (rng() % 2) data.push_back(0);
    const int w = 1 + int(rng() % 50), h = int(rng() % 30);
    ExpectSame(data, w, h, rng() % 2, "round " + std::to_string(round));
  }
}

// The table filled to its last entry without a clear (entries ending in pixel 1),
// then the data stops: no more data is no code, whatever the table holds.
TEST(GifDecoderEquality, DataEndingWithTheTableFull) {
  std::vector<std::pair<int, int>> codes = {{4, 3}, {1, 3}};  // clear, then a root
  for (int size = 3, next = 6; next < 4096 + 5; ++next) {
    codes.push_back({1, size});
    if (next + 1 >= (1 << size) && size < 12) ++size;
  }
  Bytes packed;
  std::uint32_t acc = 0;
  int n = 0;
  for (auto [code, width] : codes) {
    acc |= std::uint32_t(code) << n;
    for (n += width; n >= 8; n -= 8, acc >>= 8) packed.push_back(std::uint8_t(acc));
  }
  for (bool terminated : {false, true}) {
    Bytes data{2};
    for (std::size_t p = 0; p < packed.size(); p += 255) {
      const std::size_t k = std::min<std::size_t>(255, packed.size() - p);
      data.push_back(std::uint8_t(k));
      data.insert(data.end(), packed.begin() + std::ptrdiff_t(p), packed.begin() + std::ptrdiff_t(p + k));
    }
    if (terminated) data.push_back(0);
    for (bool interlaced : {false, true}) ExpectSame(data, 64, 80, interlaced, terminated ? "terminated" : "cut");
  }
}
