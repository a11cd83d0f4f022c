// The LZW decoder writes whole strings per code; these tests hold it to the plain
// algorithm that hands out one pixel at a time (the reference below) on valid, cut,
// corrupted and random data: the same pixels, count, warnings, error and stream position.
#include <random>

#include "gif/gifcoder.h"
#include "gif_test_util.h"

namespace {

class TPlainDecoder {
public:
  TPlainDecoder(TStream* S, std::vector<std::string>& W) : s_(S), warnings_(W) {}
  void Decode(const std::function<std::uint8_t*()>& Allocate, int W, int H, bool Interlaced, std::int64_t& Done) {
    std::uint8_t b;
    if (s_->Read(&b, 1) != 1) return Warn("Premature end of data");
    min_ = std::min<int>(b, 8);
    clear_ = 1 << min_;
    std::vector<int> rows;  // the order rows are filled in
    for (auto [start, step] : Interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                         : std::vector<std::pair<int, int>>{{0, 1}})
      for (int y = start; y < H; y += step) rows.push_back(y);
    std::uint8_t* buf = nullptr;
    try {
      for (int v; Done < std::int64_t(W) * H && (v = Fetch()) >= 0; ++Done) {
        if (!buf) buf = Allocate();
        buf[std::int64_t(rows[size_t(Done / W)]) * W + Done % W] = std::uint8_t(v);
      }
    } catch (...) {
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
  void Warn(const char* M) { warnings_.push_back(M); }
  int Fetch() { return sp_ > 0 ? stack_[--sp_] : Step(); }
  bool Refill() {
    if (endOfData_) {
      if (bit_ >= lastBit_) Warn("Decoder bit buffer under-run");
      return false;
    }
    buf_[0] = buf_[lastByte_ - 2];
    buf_[1] = buf_[lastByte_ - 1];
    std::uint8_t len;
    if (s_->Read(&len, 1) != 1) {
      Warn("Premature end of data");
      return !(finished_ = true);
    }
    int got = len > 0 ? int(s_->Read(buf_ + 2, len)) : 0;
    if (len > 0 && got < len) Warn("Premature end of data");
    if (got <= 0) {
      got = 0;
      endOfData_ = finished_ = true;
      zeroBlock_ = len == 0;
    }
    lastByte_ = 2 + got;
    bit_ = bit_ - lastBit_ + 16;
    lastBit_ = lastByte_ * 8;
    return true;
  }
  int GetCode(int N) {
    if (std::exchange(firstCall_, false)) return clear_;
    while (bit_ + N >= lastBit_ && !(endOfData_ && bit_ + N <= lastBit_))
      if (!Refill()) return -1;
    const int i = bit_ >> 3;
    const std::uint32_t v = buf_[i] | (std::uint32_t(buf_[i + 1]) << 8) | (std::uint32_t(buf_[i + 2]) << 16);
    bit_ += N;
    return int((v >> ((bit_ - N) & 7)) & ((1u << N) - 1));
  }
  void SkipBlocks() {
    std::uint8_t len, skip[255];
    if (!std::exchange(finished_, true))
      while (s_->Read(&len, 1) == 1 && len != 0 && s_->Read(skip, len) == len) {
      }
  }
  int Step() {
    int code = GetCode(size_);
    if (code == clear_) {
      for (int i = 0; i < 4096; ++i) prefix_[i] = 0, suffix_[i] = std::uint8_t(i < clear_ ? i : 0);
      size_ = min_ + 1, max_ = 2 * clear_, next_ = clear_ + 2;
      while ((code = GetCode(size_)) == clear_) {
      }
      if (code < 0) return code;
      if (code >= clear_) return End();
      return first_ = old_ = code;
    }
    if (code < 0) return code;
    if (code == clear_ + 1) return End();
    const int in = code;
    if (code >= next_) stack_[sp_++] = std::uint8_t(first_), code = old_;
    for (; code >= clear_; code = prefix_[code]) {
      if (sp_ >= 8191 || prefix_[code] == code) throw GIFException("Circular decoder table entry");
      stack_[sp_++] = suffix_[code];
    }
    stack_[sp_++] = std::uint8_t(first_ = suffix_[code]);
    if (next_ < 4096) {
      prefix_[next_] = std::uint16_t(old_), suffix_[next_] = std::uint8_t(first_);
      if (++next_ >= max_ && max_ < 4096) max_ *= 2, ++size_;
    }
    old_ = in;
    return stack_[--sp_];
  }
  int End() {
    if (!zeroBlock_) SkipBlocks();
    return -2;
  }

  TStream* s_;
  std::vector<std::string>& warnings_;
  std::uint8_t buf_[260] = {}, suffix_[4096] = {}, stack_[8192] = {};
  std::uint16_t prefix_[4096] = {};
  int bit_ = 0, lastBit_ = 0, lastByte_ = 2, sp_ = 0, min_ = 0, clear_ = 0, size_ = 0, max_ = 0, next_ = 0;
  int first_ = 0, old_ = 0;
  bool firstCall_ = true, endOfData_ = false, zeroBlock_ = false, finished_ = false;
};

// Everything a decode leaves behind.
struct TOutcome {
  bool Allocated = false;
  Bytes Pixels;
  std::int64_t Done = 0, Position = -1;
  std::string Error;
  std::vector<std::string> Warnings;
};

TOutcome Decode(const Bytes& Data, int W, int H, bool Interlaced, bool Plain) {
  TOutcome o;
  o.Pixels.assign(std::size_t(W) * std::size_t(H), 0xEE);
  TMemoryStream s;
  s.WriteBuffer(Data.data(), std::int64_t(Data.size()));
  s.SetPosition(0);
  auto allocate = [&o] { return o.Allocated = true, o.Pixels.data(); };
  TGIFImage img;
  WarningLog log(img);
  try {
    if (Plain) TPlainDecoder(&s, o.Warnings).Decode(allocate, W, H, Interlaced, o.Done);
    else GIFDecode(&s, W, H, Interlaced, allocate, &img, nullptr, o.Done);
  } catch (const GIFException& e) {
    o.Error = e.Message;
  }
  if (!Plain) o.Warnings = log.Messages;
  o.Position = s.Position();
  return o;
}

void ExpectSame(const Bytes& Data, int W, int H, bool Interlaced, const std::string& What) {
  const TOutcome a = Decode(Data, W, H, Interlaced, false), b = Decode(Data, W, H, Interlaced, true);
  EXPECT_EQ(a.Allocated, b.Allocated) << What;
  EXPECT_EQ(a.Done, b.Done) << What;
  EXPECT_EQ(a.Error, b.Error) << What;
  EXPECT_EQ(a.Warnings, b.Warnings) << What;
  EXPECT_EQ(a.Position, b.Position) << What;
  EXPECT_TRUE(a.Pixels == b.Pixels) << What << ": pixels differ";
}

// Noise, short runs or long runs (long strings) of 2^Bits colours, coded by one of our
// encoders and cut into sub-blocks of random lengths up to Cut (0: as written).
Bytes Coded(int W, int H, int Bits, int Kind, bool Rle, bool Interlaced, int Cut, std::mt19937& Rng, Bytes* Px = nullptr) {
  Bytes px(std::size_t(W) * std::size_t(H));
  for (std::size_t i = 0, left = 0, v = 0; i < px.size(); ++i) {
    if (left == 0) left = Kind == 0 ? 1 : 1 + Rng() % (Kind == 1 ? 6u : 300u), v = Rng() % (1u << Bits);
    --left;
    px[i] = std::uint8_t(v);
  }
  if (Px) *Px = px;
  TMemoryStream s;
  if (Rle) TRLEEncoder().Compress(&s, Bits, 1 << Bits, px.data(), Interlaced, H, W);
  else TLZWEncoder().Compress(&s, Bits, 1 << Bits, px.data(), Interlaced, H, W);
  const Bytes& b = s.Bytes();
  if (Cut == 0) return b;
  Bytes data, out{b[0]};
  for (std::size_t p = 1; p < b.size() && b[p] != 0; p += b[p] + 1u)
    data.insert(data.end(), b.begin() + std::ptrdiff_t(p + 1), b.begin() + std::ptrdiff_t(p + 1 + b[p]));
  for (std::size_t p = 0, k; p < data.size(); p += k) {
    k = std::min<std::size_t>(1 + Rng() % unsigned(Cut), data.size() - p);
    out.push_back(std::uint8_t(k));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(p), data.begin() + std::ptrdiff_t(p + k));
  }
  return out + Bytes{0};
}

}  // namespace

// Our encoders' data in every shape, decoded into the frame it was made for, a shorter
// one (full before the end code) and a larger one (the data runs out).
TEST(GifDecoderEquality, ValidDataInEveryShape) {
  std::mt19937 rng(51);
  for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {7, 1}, {3, 17}, {64, 33}, {173, 91}, {5, 400}})
    for (int bits : {1, 2, 4, 8})
      for (int kind = 0; kind < 3; ++kind)
        for (int variant = 0; variant < 4; ++variant) {
          const bool rle = variant & 1, interlaced = variant & 2;
          const int cut = rng() % 3 == 0 ? 0 : int(1 + rng() % 40);
          Bytes px;
          const Bytes data = Coded(w, h, bits, kind, rle, interlaced, cut, rng, &px);
          const std::string what = std::to_string(w) + "x" + std::to_string(h) + " bits " + std::to_string(bits) +
                                   " kind " + std::to_string(kind) + " variant " + std::to_string(variant);
          ExpectSame(data, w, h, interlaced, what);
          EXPECT_EQ(Decode(data, w, h, interlaced, false).Pixels, px) << what;
          ExpectSame(data, w, std::max(1, h / 2), interlaced, what + " shorter");
          ExpectSame(data, w + 1, h + 3, interlaced, what + " larger");
        }
}

// Every cut of a small frame's data; codes flipped or replaced in larger ones
// (undefined codes, self-referencing and circular entries, early end codes); random
// codes from the first byte on with odd minimum code sizes.
TEST(GifDecoderEquality, CutCorruptedAndRandomData) {
  std::mt19937 rng(7);
  for (bool interlaced : {false, true}) {
    const Bytes data = Coded(13, 11, 3, 1, false, interlaced, 9, rng);
    for (std::size_t n = 0; n <= data.size(); ++n)
      ExpectSame(Bytes(data.begin(), data.begin() + std::ptrdiff_t(n)), 13, 11, interlaced, "cut " + std::to_string(n));
  }
  for (int round = 0; round < 400; ++round) {
    const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 40), bits = 1 + int(rng() % 8);
    const bool interlaced = rng() % 2;
    Bytes data = Coded(w, h, bits, int(rng() % 3), rng() % 4 == 0, interlaced, int(rng() % 50), rng);
    std::vector<std::size_t> codes;  // damage the codes, not the block lengths
    for (std::size_t p = 1; p < data.size() && data[p] != 0; p += data[p] + 1u)
      for (std::size_t i = 1; i <= data[p]; ++i) codes.push_back(p + i);
    for (int k = 1 + int(rng() % 3); k > 0 && !codes.empty(); --k) {
      std::uint8_t& c = data[codes[rng() % codes.size()]];
      c = rng() % 2 ? std::uint8_t(c ^ (1u << (rng() % 8))) : std::uint8_t(rng());
    }
    ExpectSame(data, w, h, interlaced, "corrupted " + std::to_string(round));
  }
  for (int round = 0; round < 600; ++round) {
    Bytes data{std::uint8_t(rng() % 12)};
    for (int blocks = int(rng() % 5); blocks > 0; --blocks) {
      data.push_back(std::uint8_t(rng()));
      for (int i = data.back(); i > 0; --i) data.push_back(std::uint8_t(rng()));
    }
    if (rng() % 2) data.push_back(0);
    ExpectSame(data, 1 + int(rng() % 50), int(rng() % 30), rng() % 2, "random " + std::to_string(round));
  }
}

// The table filled to its last entry without a clear (entries ending in pixel 1),
// then the data stops: no more data is no code, whatever the table holds.
TEST(GifDecoderEquality, DataEndingWithTheTableFull) {
  Bytes packed;
  std::uint32_t acc = 0;
  int n = 0;
  auto put = [&](int Code, int Width) {
    acc |= std::uint32_t(Code) << n;
    for (n += Width; n >= 8; n -= 8, acc >>= 8) packed.push_back(std::uint8_t(acc));
  };
  put(4, 3);  // clear, then roots: each after the first defines an entry
  put(1, 3);
  for (int size = 3, next = 6; next < 4096 + 5; ++next) {
    put(1, size);
    if (next + 1 >= (1 << size) && size < 12) ++size;
  }
  for (bool terminated : {false, true}) {
    Bytes data{2};
    for (std::size_t p = 0, k; p < packed.size(); p += k) {
      data.push_back(std::uint8_t(k = std::min<std::size_t>(255, packed.size() - p)));
      data.insert(data.end(), packed.begin() + std::ptrdiff_t(p), packed.begin() + std::ptrdiff_t(p + k));
    }
    if (terminated) data.push_back(0);
    for (bool interlaced : {false, true}) ExpectSame(data, 64, 80, interlaced, terminated ? "terminated" : "cut");
  }
}
