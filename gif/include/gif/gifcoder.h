// Pixel-data coding of one frame: the LZW decoder, the LZW and run-length
// encoders, their hash table and the writer that cuts codes into sub-blocks.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gif/giftypes.h"

// A write-only stream; reading, seeking and resizing are refused.
class TGIFStream : public TStream {
  DECLARE_CLASS(TGIFStream, TStream)
public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(std::int64_t NewSize) override;
};

// Buffers bytes into data sub-blocks of up to 255 bytes behind their length byte.
class TGIFWriter : public TGIFStream {
  DECLARE_CLASS(TGIFWriter, TGIFStream)
public:
  explicit TGIFWriter(TStream* Stream) : stream_(Stream) {}
  ~TGIFWriter() override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  void WriteByte(std::uint8_t Value) {
    dirty_ = true;
    buffer_[fill_++] = Value;
    if (fill_ >= 256) FlushBlock();
  }
  // Writes the partial block now; the destructor does it too (and may not throw).
  void Flush() { if (dirty_) FlushBlock(); }

private:
  void FlushBlock();
  TStream* stream_;
  std::uint8_t buffer_[256] = {};
  int fill_ = 1;
  bool dirty_ = false;
};

// The LZW encoder's strings: the code of (prefix code, pixel) in a row of
// 2^bits entries per prefix code, so finding a string's extension is one load.
// The entries added since the last clear are listed, so clearing costs what
// was used rather than the table's size.
class TLZWCodeTable {
public:
  static TLZWCodeTable& ForThisThread();
  void Prepare(int BitsPerPixel);  // empties the table and gives it rows of 2^bits
  void Clear();
  std::uint32_t Slot(int Prefix, unsigned Pixel) const { return (std::uint32_t(Prefix) << shift_) | Pixel; }
  int Code(std::uint32_t Slot) const { return next_[Slot]; }  // 0: none (no string has code 0)
  void Add(std::uint32_t Slot, int Code) {
    next_[Slot] = std::uint16_t(Code);
    slots_[used_++] = Slot;
  }

private:
  int shift_ = 0;
  std::vector<std::uint16_t> next_;
  std::uint32_t slots_[4096] = {};
  int used_ = 0;
};

class TGIFEncoder {
public:
  explicit TGIFEncoder(TGIFImage* Image = nullptr) : image_(Image) {}
  virtual ~TGIFEncoder() = default;
  void Compress(TStream* Stream, int BitsPerPixel, int ColorCount, const std::uint8_t* Data,
                bool Interlaced, int Height, int Width);

protected:
  virtual void Output(int Code);
  virtual void Clear();
  virtual void DoCompress() = 0;
  // The pixel walk: First() before the loop, then Next() until it answers false.
  int First() { return Take(); }
  bool Next(int& Pixel);

  int bitsPerPixel_ = 0, colorCount_ = 0, width_ = 0, height_ = 0;
  bool interlaced_ = false;
  const std::uint8_t* data_ = nullptr;
  TGIFImage* image_;
  std::uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
  int codeSize_ = 0, initialCodeSize_ = 0, maxCode_ = 0;
  int clearCode_ = 0, eoiCode_ = 0, firstFree_ = 0;
  bool clearFlag_ = false;
  const std::uint8_t* pixel_ = nullptr;
  std::int64_t pixelsLeft_ = 0;
  int row_ = 0, pass_ = 0;
  TGIFWriter* writer_ = nullptr;

  // Moves pixel_ to the start of the next interlaced row; false after the last.
  bool NextRow();

private:
  int Take();
};

class TLZWEncoder : public TGIFEncoder {
public:
  using TGIFEncoder::TGIFEncoder;

protected:
  void Output(int Code) override;
  void Clear() override;
  void DoCompress() override;

private:
  int nextFree_ = 0;
  TLZWCodeTable* table_ = nullptr;
};

// Codes runs of one pixel value with codes a standard LZW decoder builds up by itself.
class TRLEEncoder : public TGIFEncoder {
public:
  using TGIFEncoder::TGIFEncoder;
  static int IntSqrt(int X);
  static int Triangle(int Count, int R);

protected:
  void Clear() override;
  void DoCompress() override;

private:
  void OutputPlain(int Code);
  void Flush(int Count);
  void FromClear(int Count);
  void ClearOrRepeat(int Count);
  void WithTable(int Count);
  void ResetClear();

  int codeBudget_ = 0;
  int initialBump_ = 0, initialClearThreshold_ = 0;
  int bump_ = 0, clearThreshold_ = 0;
  int outputCount_ = 0;
  int runTableLength_ = 0, runTablePixel_ = 0;
  int runPixel_ = -1;
};

// Decodes LZW data sub-blocks from Stream (positioned at the minimum code size byte)
// into the Width x Height buffer that Allocate answers when the first pixel
// arrives: data that holds no pixel allocates nothing. Decoded counts the
// pixels stored, in the walk's order, also when an exception leaves.
// Warnings go to Image (may be null).
void GIFDecode(TStream* Stream, int Width, int Height, bool Interlaced,
               const std::function<std::uint8_t*()>& Allocate, TGIFImage* Image, TObject* Sender,
               std::int64_t& Decoded);
// The same into a buffer the caller has allocated; pixels the data does not
// reach keep what the caller put there.
void GIFDecode(TStream* Stream, std::uint8_t* Buffer, int Width, int Height, bool Interlaced,
               TGIFImage* Image, TObject* Sender);
// Sets the pixels after the first Done of the walk (rows in interlace order
// when Interlaced) to Fill.
void GIFFillRest(std::uint8_t* Buffer, int Width, int Height, bool Interlaced, std::int64_t Done,
                 std::uint8_t Fill);
