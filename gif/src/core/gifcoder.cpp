// LZW decoding, LZW and run-length encoding, and the sub-block writer.
#include "gif/gifcoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "gif/gifimage.h"

IMPLEMENT_CLASS(TGIFStream, TStream)
IMPLEMENT_CLASS(TGIFWriter, TGIFStream)

namespace {
constexpr int TableSize = 4096;
constexpr int StackSize = 2 * TableSize;
}  // namespace

// ---------------------------------------------------------------------------
// Writer

std::int64_t TGIFStream::Read(void*, std::int64_t) { throw Exception("Invalid stream operation"); }
std::int64_t TGIFStream::Seek(std::int64_t, TSeekOrigin) { throw Exception("Invalid stream operation"); }
void TGIFStream::SetSize(std::int64_t) { throw Exception("Invalid stream operation"); }

TGIFWriter::~TGIFWriter() {
  // A destructor must not throw; callers that care call Flush first.
  try {
    Flush();
  } catch (...) {
  }
}

std::int64_t TGIFWriter::Write(const void* Buffer, std::int64_t Count) {
  auto* p = static_cast<const std::uint8_t*>(Buffer);
  for (std::int64_t left = Count; left > 0;) {
    const int n = int(std::min<std::int64_t>(left, 256 - fill_));
    std::memcpy(buffer_ + fill_, p, std::size_t(n));
    dirty_ = true;
    fill_ += n;
    p += n;
    left -= n;
    if (fill_ >= 256) FlushBlock();
  }
  return Count;
}

void TGIFWriter::FlushBlock() {
  buffer_[0] = std::uint8_t(fill_ - 1);
  stream_->WriteBuffer(buffer_, fill_);
  fill_ = 1;
  dirty_ = false;
}

// ---------------------------------------------------------------------------
// Code table

void TLZWCodeTable::Prepare(int BitsPerPixel) {
  Clear();  // by slot, so whatever row width the last user had
  shift_ = BitsPerPixel;
  const std::size_t need = std::size_t(TableSize) << shift_;
  if (next_.size() < need) next_.assign(need, 0);
}

// An encoder runs to its end without calling out, so one table per thread
// serves every encoder on it, and a frame does not pay for zeroing megabytes.
TLZWCodeTable& TLZWCodeTable::ForThisThread() {
  static thread_local TLZWCodeTable table;
  return table;
}

void TLZWCodeTable::Clear() {
  for (int i = 0; i < used_; ++i) next_[slots_[i]] = 0;
  used_ = 0;
}

// ---------------------------------------------------------------------------
// Encoder base

void TGIFEncoder::Compress(TStream* Stream, int BitsPerPixel, int ColorCount, const std::uint8_t* Data,
                           bool Interlaced, int Height, int Width) {
  bitsPerPixel_ = std::max(BitsPerPixel, 2);
  // A pixel needs a code below the clear code, whatever the caller's count says.
  colorCount_ = std::min(ColorCount, 1 << bitsPerPixel_);
  data_ = Data;
  interlaced_ = Interlaced;
  height_ = Height;
  width_ = Width;
  initialCodeSize_ = bitsPerPixel_ + 1;
  std::uint8_t b = std::uint8_t(bitsPerPixel_);
  Stream->WriteBuffer(&b, 1);
  codeSize_ = initialCodeSize_;
  maxCode_ = (1 << codeSize_) - 1;
  clearCode_ = 1 << bitsPerPixel_;
  eoiCode_ = clearCode_ + 1;
  firstFree_ = clearCode_ + 2;
  bitBuffer_ = 0;
  bitCount_ = 0;
  pixelsLeft_ = Interlaced ? std::int64_t(Width) : std::int64_t(Width) * Height;
  row_ = 0;
  pass_ = 0;
  pixel_ = Data;
  TGIFWriter writer(Stream);
  writer_ = &writer;
  if (Data && Width >= 1 && Height >= 1) DoCompress();
  TGIFEncoder::Output(eoiCode_);
  // The last partial byte goes out after the end code.
  while (bitCount_ > 0) {
    writer.WriteByte(std::uint8_t(bitBuffer_ & 0xFF));
    bitBuffer_ >>= 8;
    bitCount_ -= 8;
  }
  writer.Flush();
  writer_ = nullptr;
  b = 0;
  Stream->WriteBuffer(&b, 1);
}

void TGIFEncoder::Output(int Code) {
  if (bitCount_ >= 1)
    bitBuffer_ = (std::uint32_t(Code) << bitCount_) | (bitBuffer_ & ((1u << bitCount_) - 1));
  else
    bitBuffer_ = std::uint32_t(Code);
  bitCount_ += codeSize_;
  while (bitCount_ >= 8) {
    writer_->WriteByte(std::uint8_t(bitBuffer_ & 0xFF));
    bitBuffer_ >>= 8;
    bitCount_ -= 8;
  }
}

void TGIFEncoder::Clear() {
  clearFlag_ = true;
  Output(clearCode_);
}

int TGIFEncoder::Take() {
  int c = *pixel_;
  if (c >= colorCount_) throw GIFException("Color not in color table");
  return c;
}

bool TGIFEncoder::NextRow() {
  static const int step[4] = {8, 8, 4, 2};
  static const int start[4] = {0, 4, 2, 1};
  row_ += step[pass_];
  while (row_ >= height_) {
    if (++pass_ > 3) return false;
    row_ = start[pass_];
  }
  pixel_ = data_ + std::int64_t(row_) * width_;
  pixelsLeft_ = width_;
  return true;
}

bool TGIFEncoder::Next(int& Pixel) {
  if (--pixelsLeft_ > 0) {
    ++pixel_;
  } else if (!interlaced_ || !NextRow()) {
    return false;
  }
  Pixel = Take();
  return true;
}

// ---------------------------------------------------------------------------
// LZW encoder

void TLZWEncoder::Output(int Code) {
  TGIFEncoder::Output(Code);
  if (nextFree_ > maxCode_ || clearFlag_) {
    if (clearFlag_) {
      codeSize_ = initialCodeSize_;
      maxCode_ = (1 << codeSize_) - 1;
      clearFlag_ = false;
    } else {
      ++codeSize_;
      maxCode_ = codeSize_ >= 12 ? 4096 : (1 << codeSize_) - 1;
    }
  }
}

void TLZWEncoder::Clear() {
  TGIFEncoder::Clear();
  table_->Clear();
  nextFree_ = clearCode_ + 2;
}

// The loop keeps the coder's state in locals and collects bytes before
// handing them to the writer, so nothing goes through memory per pixel but
// the pixel and one table entry. The codes are those of Output and Clear.
void TLZWEncoder::DoCompress() {
  table_ = &TLZWCodeTable::ForThisThread();
  table_->Prepare(bitsPerPixel_);
  Clear();
  std::uint64_t acc = bitBuffer_;
  int bits = bitCount_;
  int codeSize = codeSize_, maxCode = maxCode_, nextFree = nextFree_;
  const int clearCode = clearCode_, initialCodeSize = initialCodeSize_;
  const unsigned colors = unsigned(colorCount_);
  std::uint8_t out[4096];
  int n = 0;
  auto emit = [&](int code) {
    acc |= std::uint64_t(code) << bits;
    bits += codeSize;
    while (bits >= 8) {
      out[n++] = std::uint8_t(acc);
      acc >>= 8;
      bits -= 8;
    }
    if (n > int(sizeof out) - 8) {
      writer_->Write(out, n);
      n = 0;
    }
  };

  int prefix = First();
  const std::uint8_t* row = pixel_;
  std::int64_t len = interlaced_ ? width_ : std::int64_t(width_) * height_;
  std::int64_t x = 1;
  for (;;) {
    for (; x < len; ++x) {
      const unsigned c = row[x];
      if (c >= colors) throw GIFException("Color not in color table");
      const std::uint32_t slot = table_->Slot(prefix, c);
      if (const int code = table_->Code(slot)) {
        prefix = code;
        continue;
      }
      emit(prefix);
      if (nextFree > maxCode) {
        ++codeSize;
        maxCode = codeSize >= 12 ? 4096 : (1 << codeSize) - 1;
      }
      prefix = int(c);
      if (nextFree >= 4095) {
        emit(clearCode);
        codeSize = initialCodeSize;
        maxCode = (1 << codeSize) - 1;
        table_->Clear();
        nextFree = clearCode + 2;
      } else {
        table_->Add(slot, nextFree++);
      }
    }
    if (!interlaced_ || !NextRow()) break;
    row = pixel_;
    len = width_;
    x = 0;
  }
  writer_->Write(out, n);
  bitBuffer_ = std::uint32_t(acc);
  bitCount_ = bits;
  codeSize_ = codeSize;
  maxCode_ = maxCode;
  nextFree_ = nextFree;
  Output(prefix);
}

// ---------------------------------------------------------------------------
// Run-length encoder

int TRLEEncoder::IntSqrt(int X) {
  if (X < 2) return X;
  int r = 1;
  for (int v = X; v; v >>= 2) r <<= 1;
  for (;;) {
    int v = (X / r + r) / 2;
    if (v == r || v == r + 1) return r;
    r = v;
  }
}

int TRLEEncoder::Triangle(int Count, int R) {
  const int per = R * (R + 1) / 2;
  int cost = 0;
  while (Count >= per) {
    cost += R;
    Count -= per;
  }
  if (Count > 0) {
    int n = IntSqrt(Count);
    while (n * (n + 1) >= 2 * Count) --n;
    while (n * (n + 1) < 2 * Count) ++n;
    cost += n;
  }
  return cost;
}

void TRLEEncoder::Clear() {
  bump_ = initialBump_;
  clearThreshold_ = initialClearThreshold_;
  outputCount_ = 0;
  runTableLength_ = 0;
  TGIFEncoder::Clear();
  codeSize_ = initialCodeSize_;
}

void TRLEEncoder::OutputPlain(int Code) {
  clearFlag_ = false;
  Output(Code);
  ++outputCount_;
  if (outputCount_ >= bump_) {
    ++codeSize_;
    bump_ += 1 << (codeSize_ - 1);
  }
  if (outputCount_ >= clearThreshold_) Clear();
}

void TRLEEncoder::ResetClear() {
  clearThreshold_ = initialClearThreshold_;
  if (outputCount_ >= clearThreshold_) Clear();
}

void TRLEEncoder::FromClear(int Count) {
  clearThreshold_ = codeBudget_;
  runTablePixel_ = runPixel_;
  int n = 1;
  while (Count > 0) {
    if (n == 1) {
      runTableLength_ = 1;
      OutputPlain(runPixel_);
      --Count;
    } else if (Count >= n) {
      runTableLength_ = n;
      OutputPlain(firstFree_ + n - 2);
      Count -= n;
    } else {
      ++runTableLength_;
      OutputPlain(Count == 1 ? runPixel_ : firstFree_ + Count - 2);
      Count = 0;
    }
    n = outputCount_ == 0 ? 1 : n + 1;
  }
  ResetClear();
}

void TRLEEncoder::ClearOrRepeat(int Count) {
  if (Count > Triangle(Count, codeBudget_) + 1) {
    Clear();
    FromClear(Count);
  } else {
    for (int i = 0; i < Count; ++i) OutputPlain(runPixel_);
  }
}

void TRLEEncoder::WithTable(int Count) {
  int reps = Count / runTableLength_;
  int left = Count % runTableLength_;
  int leftCodes = left > 0 ? 1 : 0;
  if (outputCount_ + reps + leftCodes > codeBudget_) {
    reps = codeBudget_ - outputCount_;
    left = Count - reps * runTableLength_;
    leftCodes = Triangle(left, codeBudget_) + 1;
  }
  if (Triangle(Count, codeBudget_) + 1 < reps + leftCodes) {
    Clear();
    FromClear(Count);
    return;
  }
  clearThreshold_ = codeBudget_;
  for (int i = 0; i < reps; ++i) OutputPlain(firstFree_ + runTableLength_ - 2);
  if (left > 0) {
    if (clearFlag_)
      FromClear(left);
    else if (left == 1)
      OutputPlain(runPixel_);
    else
      OutputPlain(firstFree_ + left - 2);
  }
  ResetClear();
}

void TRLEEncoder::Flush(int Count) {
  if (Count == 1)
    OutputPlain(runPixel_);
  else if (clearFlag_)
    FromClear(Count);
  else if (runTableLength_ < 2 || runTablePixel_ != runPixel_)
    ClearOrRepeat(Count);
  else
    WithTable(Count);
}

void TRLEEncoder::DoCompress() {
  initialBump_ = clearCode_ - 1;
  initialClearThreshold_ = bitsPerPixel_ > 3 ? initialBump_ - 1 : 9;
  codeBudget_ = 4095 - firstFree_;
  Clear();
  runPixel_ = -1;
  int count = 0;
  int c = First();
  for (;;) {
    if (count >= 1 && c != runPixel_) {
      Flush(count);
      count = 0;
    }
    if (c != runPixel_) {
      runPixel_ = c;
      count = 1;
    } else {
      ++count;
    }
    if (!Next(c)) break;
  }
  Flush(count);
}

// ---------------------------------------------------------------------------
// Decoder

namespace {

// The order in which rows receive pixels: top to bottom, or the four
// interlace passes (rows 0, 8, ...; 4, 12, ...; 2, 6, ...; 1, 3, ...).
struct TRowWalk {
  int Height, Row = 0, Pass = 0, Step = 8;
  bool Interlaced;
  TRowWalk(int height, bool interlaced) : Height(height), Interlaced(interlaced) {}
  bool Next() {
    if (!Interlaced) return ++Row < Height;
    Row += Step;
    while (Row >= Height) {
      if (Pass > 0) Step /= 2;
      if (++Pass > 3) return false;
      Row = Step / 2;
    }
    return true;
  }
};

// N bytes (sizeof(T) <= N <= 2 sizeof(T)) as a word from each end, overlapping.
template <class T>
inline void CopyEnds(std::uint8_t* D, const std::uint8_t* S, int N) {
  T a, b;
  std::memcpy(&a, S, sizeof a);
  std::memcpy(&b, S + N - int(sizeof b), sizeof b);
  std::memcpy(D, &a, sizeof a);
  std::memcpy(D + N - int(sizeof b), &b, sizeof b);
}

// Copies N bytes between regions that do not overlap, short strings without a call.
inline void CopyString(std::uint8_t* D, const std::uint8_t* S, int N) {
  if (N > 16) std::memcpy(D, S, std::size_t(N));
  else if (N >= 8) CopyEnds<std::uint64_t>(D, S, N);
  else if (N >= 4) CopyEnds<std::uint32_t>(D, S, N);
  else if (N >= 2) CopyEnds<std::uint16_t>(D, S, N);
  else *D = *S;
}

// Every pixel value in order, with room to read 8 bytes from any of them.
struct TIdentity {
  std::uint8_t Bytes[256 + 8] = {};
  constexpr TIdentity() {
    for (int i = 0; i < 256; ++i) Bytes[i] = std::uint8_t(i);
  }
};
constexpr TIdentity Identity;

// Decodes whole strings per code: a string the table knows to be fixed (built
// from defined entries only) is copied from where it was last written whole,
// or written backwards from its chain when it fits the row; anything else
// (strings crossing a row end, codes that are not defined yet, a corrupt table)
// goes through the pixel stack of the plain algorithm, so every input gives the
// same pixels, warnings and errors as decoding one pixel at a time.
class TLZWDecoder {
public:
  TLZWDecoder(TStream* stream, TGIFImage* image, TObject* sender)
      : stream_(stream), image_(image), sender_(sender) {}

  void Decode(const std::function<std::uint8_t*()>& allocate, int width, int height, bool interlaced,
              std::int64_t& done);

private:
  // Bits come from a 64-bit buffer filled from the current sub-block. A code is
  // taken once more bits than it needs are at hand (or exactly as many after
  // the last sub-block), so sub-blocks are read exactly when the plain reader
  // reads them.
  int GetCode(int n) {
    if (bits_ <= n) return GetCodeSlow(n);
    const int code = int(bitBuffer_ & ((1u << n) - 1));
    bitBuffer_ >>= n;
    bits_ -= n;
    return code;
  }
  int GetCodeSlow(int n);
  void Drain() {
    for (; bits_ <= 56 && next_ < dataEnd_; bits_ += 8) bitBuffer_ |= std::uint64_t(*next_++) << bits_;
  }
  std::int64_t Available() const { return bits_ + 8 * (dataEnd_ - next_); }
  bool Refill();
  void SkipBlocks();
  void Warn(const char* msg) {
    if (image_) image_->Warning(sender_, gsWarning, msg);
  }
  void ResetTables();
  // The plain algorithm's step for the code read (the first call reads a clear
  // of its own): pushes the string on the stack and answers its length, or -1
  // for no more data, -2 for the end.
  int Step();
  int StepWith(int code);
  void AddEntry(int first);
  void Run();
  bool Spill(const std::uint8_t* s, int n);
  bool SpillStack(int n);
  bool NextRun();

  TStream* stream_;
  TGIFImage* image_;
  TObject* sender_;
  std::uint8_t block_[255] = {};
  const std::uint8_t* next_ = block_;
  const std::uint8_t* dataEnd_ = block_;
  std::uint64_t bitBuffer_ = 0;
  int bits_ = 0;
  bool firstCall_ = true, endOfData_ = false, zeroBlock_ = false;
  bool finished_ = false;  // the terminator has been consumed: read nothing more
  int codeSize_ = 0, minCodeSize_ = 0, clearCode_ = 0, endCode_ = 0, maxCodeSize_ = 0;
  int nextFree_ = 0, firstCode_ = 0, oldCode_ = 0;
  std::uint16_t prefix_[TableSize] = {};
  std::uint8_t suffix_[TableSize] = {};
  // Per defined code: its string's length times 256 plus its first pixel when
  // the string is fixed (0: walk the chain with the plain step), and where it
  // lies whole (a root in Identity; an entry in the output, or nowhere).
  std::uint32_t info_[TableSize] = {};
  const std::uint8_t* at_[TableSize] = {};
  // Where the last string was written whole, while the next one follows it directly.
  const std::uint8_t* lastAt_ = nullptr;
  std::uint8_t stack_[StackSize] = {};
  std::uint8_t string_[StackSize] = {};
  int sp_ = 0;  // pixels the plain algorithm would still hold on its stack
  // The output: the frame, the current run and the place in it.
  std::uint8_t *buf_ = nullptr, *p_ = nullptr, *q_ = nullptr, *end_ = nullptr;
  std::int64_t run_ = 0, runs_ = 0;
  int width_ = 0;
  bool linear_ = true;  // one run: the whole frame
  TRowWalk walk_{0, false};
};

// Reads one sub-block; false when none can be read.
bool TLZWDecoder::Refill() {
  if (endOfData_) {
    if (Available() <= 0) Warn("Decoder bit buffer under-run");
    return false;
  }
  std::uint8_t len;
  // Codes are still wanted, so the data was cut before its terminator.
  if (stream_->Read(&len, 1) != 1) {
    Warn("Premature end of data");
    finished_ = true;
    return false;
  }
  int got = 0;
  if (len > 0) {
    got = int(stream_->Read(block_, len));
    if (got < len) Warn("Premature end of data");
    if (got <= 0) {
      got = 0;
      endOfData_ = true;
      finished_ = true;
    }
  } else {
    endOfData_ = zeroBlock_ = true;
    finished_ = true;
  }
  next_ = block_;
  dataEnd_ = block_ + got;
  return true;
}

int TLZWDecoder::GetCodeSlow(int n) {
  // Bytes left over stay in the bit buffer's free part (fewer than 8 are ever
  // left when it runs short), so a new sub-block starts at the buffer's start.
  Drain();
  // Short sub-blocks may hold less than one code, so refill until it fits.
  while (Available() <= n) {
    if (endOfData_ && Available() >= n) break;
    if (!Refill()) return -1;
    Drain();
  }
  const int code = int(bitBuffer_ & ((1u << n) - 1));
  bitBuffer_ >>= n;
  bits_ -= n;
  return code;
}

void TLZWDecoder::SkipBlocks() {
  if (finished_) return;
  finished_ = true;
  std::uint8_t len;
  std::uint8_t skip[255];
  while (stream_->Read(&len, 1) == 1 && len != 0) {
    if (stream_->Read(skip, len) != len) break;
  }
}

void TLZWDecoder::ResetTables() {
  for (int i = 0; i < clearCode_; ++i) {
    prefix_[i] = 0;
    suffix_[i] = std::uint8_t(i);
    info_[i] = 256u | unsigned(i);
    at_[i] = Identity.Bytes + i;
  }
  for (int i = clearCode_; i < TableSize; ++i) prefix_[i] = suffix_[i] = 0;
  info_[clearCode_] = info_[endCode_] = 0;
  codeSize_ = minCodeSize_ + 1;
  maxCodeSize_ = 2 * clearCode_;
  nextFree_ = clearCode_ + 2;
  sp_ = 0;
}

// Defines the next entry: the last string and the first pixel of the one being
// written. It is fixed when the last code was (then it is that string's place
// plus one pixel, and that pixel follows it when the string is written next to it).
void TLZWDecoder::AddEntry(int first) {
  if (nextFree_ >= TableSize) return;
  const int e = nextFree_;
  prefix_[e] = std::uint16_t(oldCode_);
  suffix_[e] = std::uint8_t(first);
  const std::uint32_t last = oldCode_ < e ? info_[oldCode_] : 0;
  info_[e] = last ? last + 256 : 0;
  at_[e] = lastAt_;
  ++nextFree_;
  if (nextFree_ >= maxCodeSize_ && maxCodeSize_ < TableSize) {
    maxCodeSize_ *= 2;
    ++codeSize_;
  }
}

int TLZWDecoder::Step() {
  int code;
  if (firstCall_) {
    firstCall_ = false;
    code = clearCode_;
  } else {
    code = GetCode(codeSize_);
  }
  return StepWith(code);
}

int TLZWDecoder::StepWith(int code) {
  if (code < 0) return code;
  if (code == clearCode_) {
    ResetTables();
    do {
      code = GetCode(codeSize_);
    } while (code == clearCode_);
    if (code < 0) return code;
    // An end code (or any non-pixel code) right after a clear ends the data.
    if (code >= clearCode_) {
      if (!zeroBlock_) SkipBlocks();
      return -2;
    }
    firstCode_ = oldCode_ = code;
    stack_[0] = std::uint8_t(code);
    return sp_ = 1;
  }
  if (code == endCode_) {
    if (!zeroBlock_) SkipBlocks();
    return -2;
  }
  int incode = code;
  if (code >= nextFree_) {
    stack_[sp_++] = std::uint8_t(firstCode_);
    code = oldCode_;
  }
  while (code >= clearCode_) {
    // A corrupt table can chain back on itself; the stack bounds the walk.
    if (sp_ >= StackSize - 1 || prefix_[code] == code) throw GIFException("Circular decoder table entry");
    stack_[sp_++] = suffix_[code];
    code = prefix_[code];
  }
  firstCode_ = suffix_[code];
  stack_[sp_++] = std::uint8_t(firstCode_);
  AddEntry(firstCode_);
  oldCode_ = incode;
  return sp_;
}

// Writes n pixels across runs; false once the frame is full (sp_ keeps the
// count the plain algorithm would still hold).
bool TLZWDecoder::Spill(const std::uint8_t* s, int n) {
  lastAt_ = q_;  // forgotten where the string crosses a run end
  while (n > 0) {
    const int k = int(std::min<std::int64_t>(n, end_ - q_));
    CopyString(q_, s, k);
    q_ += k;
    s += k;
    n -= k;
    if (q_ == end_ && !NextRun()) {
      sp_ = n;
      return false;
    }
  }
  sp_ = 0;
  return true;
}

// Writes the plain step's stack (last pushed first).
bool TLZWDecoder::SpillStack(int n) {
  for (int i = 0; i < n; ++i) string_[i] = stack_[n - 1 - i];
  return Spill(string_, n);
}

bool TLZWDecoder::NextRun() {
  runs_ += run_;
  p_ = q_;  // counted in runs_
  if (!walk_.Next()) return false;
  p_ = q_ = buf_ + std::int64_t(walk_.Row) * width_;
  end_ = p_ + run_;
  lastAt_ = nullptr;
  return true;
}

// Decodes codes until the frame is full or the data ends: the common codes on
// local copies of the state (pixel stores could alias members), the rest by the
// plain step.
void TLZWDecoder::Run() {
  std::uint64_t bb = bitBuffer_;
  int bits = bits_;
  const std::uint8_t *next = next_, *dataEnd = dataEnd_;
  std::uint8_t *q = q_, *end = end_;
  int nextFree = nextFree_, oldCode = oldCode_, firstCode = firstCode_, codeSize = codeSize_;
  const std::uint8_t* lastAt = lastAt_;
  const bool linear = linear_ && std::endian::native == std::endian::little;
  auto store = [&] {
    bitBuffer_ = bb;
    bits_ = bits;
    next_ = next;
    q_ = q;
    nextFree_ = nextFree;
    oldCode_ = oldCode;
    firstCode_ = firstCode;
    lastAt_ = lastAt;
  };
  auto load = [&] {
    bb = bitBuffer_;
    bits = bits_;
    next = next_;
    dataEnd = dataEnd_;
    q = q_;
    end = end_;
    nextFree = nextFree_;
    oldCode = oldCode_;
    firstCode = firstCode_;
    codeSize = codeSize_;
    lastAt = lastAt_;
  };
  auto add = [&](int first) {
    if (nextFree >= TableSize) return;
    const int e = nextFree++;
    prefix_[e] = std::uint16_t(oldCode);
    suffix_[e] = std::uint8_t(first);
    const std::uint32_t last = oldCode < e ? info_[oldCode] : 0;
    info_[e] = last ? last + 256 : 0;
    at_[e] = lastAt;
    if (nextFree >= maxCodeSize_ && maxCodeSize_ < TableSize) {
      maxCodeSize_ *= 2;
      codeSize = ++codeSize_;
    }
  };
  for (;;) {
    // Whole bytes are loaded eight at a time while the sub-block has them.
    int code;
    if (dataEnd - next >= 8) {
      std::uint64_t v;
      std::memcpy(&v, next, 8);
      if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
      bb |= v << bits;
      next += (63 - bits) >> 3;
      bits |= 56;
    } else if (bits <= codeSize) {
      store();
      code = GetCodeSlow(codeSize_);
      load();
      goto have;
    }
    code = int(bb & ((1u << codeSize) - 1));
    bb >>= codeSize;
    bits -= codeSize;
  have:
    std::uint32_t info;
    // (Unsigned: -1, no more data, is no code.)
    if (unsigned(code) < unsigned(nextFree) && (info = info_[code]) != 0) {
      // A fixed string: a root, or an entry built from fixed ones.
      const int len = int(info >> 8), first = int(info & 255);
      const std::uint8_t* from = at_[code];
      add(first);
      oldCode = code;
      firstCode = first;
      if (linear && len <= 8 && end - q > 8) {
        // Eight bytes at once, the ones past the string written back as they were.
        std::uint64_t s, d;
        std::memcpy(&s, from, 8);
        std::memcpy(&d, q, 8);
        const std::uint64_t mask = ~std::uint64_t(0) >> (64 - 8 * len);
        d = (s & mask) | (d & ~mask);
        std::memcpy(q, &d, 8);
      } else if (from && end - q > len) {
        CopyString(q, from, len);
      } else {
        std::uint8_t* w = string_ + len;
        for (int c = code; c >= clearCode_; c = prefix_[c]) *--w = suffix_[c];
        *--w = std::uint8_t(first);
        store();
        if (!Spill(string_, len)) return;
        load();
        continue;
      }
      lastAt = q;
      q += len;
    } else if (code == nextFree && oldCode < nextFree && (info = info_[oldCode]) != 0 && (lastAt || at_[oldCode]) &&
               end - q > int(info >> 8) + 1) {
      // The code being defined: the last string and its own first pixel.
      const int len = int(info >> 8) + 1;
      const std::uint8_t* from = lastAt ? lastAt : at_[oldCode];
      add(firstCode);
      oldCode = code;
      CopyString(q, from, len - 1);
      q[len - 1] = std::uint8_t(firstCode);
      lastAt = q;
      q += len;
    } else {
      store();
      const int n = StepWith(code);
      if (n < 0 || !SpillStack(n)) return;
      load();
    }
  }
}

void TLZWDecoder::Decode(const std::function<std::uint8_t*()>& allocate, int width, int height, bool interlaced,
                         std::int64_t& done) {
  done = 0;
  std::uint8_t b;
  if (stream_->Read(&b, 1) != 1) {
    Warn("Premature end of data");
    return;
  }
  minCodeSize_ = b > 8 ? 8 : b;
  codeSize_ = minCodeSize_ + 1;
  clearCode_ = 1 << minCodeSize_;
  endCode_ = clearCode_ + 1;
  maxCodeSize_ = 2 * clearCode_;
  nextFree_ = clearCode_ + 2;
  const std::int64_t total = std::int64_t(width) * height;
  // Without interlacing the whole frame is one run; only a run's end needs the walk.
  width_ = width;
  linear_ = !interlaced;
  run_ = interlaced ? width : total;
  walk_ = TRowWalk(interlaced ? height : 1, interlaced);
  try {
    const int n = total > 0 ? Step() : -1;
    if (n > 0) {
      // The buffer exists only once a pixel has arrived (the plain algorithm
      // has taken it off its stack by then).
      sp_ = 0;
      buf_ = p_ = q_ = allocate();
      end_ = p_ + run_;
      if (SpillStack(n)) Run();
    }
    done = runs_ + (q_ - p_);
  } catch (...) {
    done = runs_ + (q_ - p_);
    // Consume the rest of the frame's data so the next block is read in place.
    try {
      if (!finished_ && sp_ == 0) Step();
    } catch (...) {
    }
    SkipBlocks();
    throw;
  }
  // One more code takes the end code (unless pixels of the last string were
  // left over); whatever data is left is skipped.
  if (!finished_ && sp_ == 0) Step();
  SkipBlocks();
}

}  // namespace

void GIFDecode(TStream* Stream, int Width, int Height, bool Interlaced,
               const std::function<std::uint8_t*()>& Allocate, TGIFImage* Image, TObject* Sender,
               std::int64_t& Decoded) {
  auto d = std::make_unique<TLZWDecoder>(Stream, Image, Sender);
  d->Decode(Allocate, Width, Height, Interlaced, Decoded);
}

void GIFDecode(TStream* Stream, std::uint8_t* Buffer, int Width, int Height, bool Interlaced,
               TGIFImage* Image, TObject* Sender) {
  std::int64_t decoded = 0;
  GIFDecode(Stream, Width, Height, Interlaced, [Buffer] { return Buffer; }, Image, Sender, decoded);
}

void GIFFillRest(std::uint8_t* Buffer, int Width, int Height, bool Interlaced, std::int64_t Done,
                 std::uint8_t Fill) {
  const std::int64_t total = std::int64_t(Width) * Height;
  if (Done >= total) return;
  if (!Interlaced) {
    std::memset(Buffer + Done, Fill, std::size_t(total - Done));
    return;
  }
  TRowWalk walk(Height, true);
  for (std::int64_t r = Done / Width; r > 0; --r) walk.Next();
  int x = int(Done % Width);
  do {
    std::memset(Buffer + std::int64_t(walk.Row) * Width + x, Fill, std::size_t(Width - x));
    x = 0;
  } while (walk.Next());
}
