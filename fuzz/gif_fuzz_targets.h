// Bodies of the GIF fuzz targets, shared by the libFuzzer entry points and by
// the test that replays the regression corpus. Each returns normally on any
// input; a broken invariant traps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_common.h"
#include "gif/gifcoder.h"
#include "gif/gifimage.h"

namespace giffuzz {

using fuzzbody::Check;
using fuzzbody::ToStream;

// Load any bytes; what loads must save, and what we save must load again with
// the same pixels.
inline void LoadAndResave(const std::uint8_t* data, std::size_t size) {
  TGIFImage img;
  TMemoryStream in;
  ToStream(in, data, size);
  try {
    img.LoadFromStream(&in);
  } catch (const Exception&) {
    return;
  }
  // Re-encoding frames of millions of pixels would only slow the search.
  if (img.PixelTotal() > (1 << 18)) return;
  for (TGIFCompression c : {gcLZW, gcRLE}) {
    img.SetCompression(c);
    TMemoryStream out;
    try {
      img.SaveToStream(&out);
    } catch (const GIFException&) {
      continue;  // pixels beyond the table, sizes beyond 65535, no frames
    }
    TGIFImage back;
    out.SetPosition(0);
    back.LoadFromStream(&out);
    std::vector<const TGIFSubImage*> a, b;
    for (int i = 0; i < img.Images()->Count(); ++i)
      if (!img.Images()->SubImages(i)->Empty()) a.push_back(img.Images()->SubImages(i));
    for (int i = 0; i < back.Images()->Count(); ++i)
      if (!back.Images()->SubImages(i)->Empty()) b.push_back(back.Images()->SubImages(i));
    Check(a.size() == b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      Check(a[i]->DataSize() == b[i]->DataSize());
      Check(std::equal(a[i]->Data(), a[i]->Data() + a[i]->DataSize(), b[i]->Data()));
    }
  }
}

// The LZW decoder alone: two bytes of frame size and flags, then the data.
inline void DecodeOnly(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  const int w = 1 + data[0] % 64, h = 1 + (data[1] & 0x3F);
  const bool interlaced = data[1] & 0x40;
  TMemoryStream in;
  ToStream(in, data + 2, size - 2);
  std::vector<std::uint8_t> px(std::size_t(w * h), 0);
  try {
    GIFDecode(&in, px.data(), w, h, interlaced, nullptr, nullptr);
  } catch (const GIFException&) {
  }
}

// Encode with either encoder, then decode: the pixels must come back.
inline void EncodeThenDecode(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return;
  const int bits = 1 + data[0] % 8;
  const bool rle = data[0] & 0x80;
  const bool interlaced = data[0] & 0x40;
  const int w = 1 + data[1];
  const std::size_t n = size - 2;
  const int h = int((n + std::size_t(w) - 1) / std::size_t(w));
  std::vector<std::uint8_t> px(std::size_t(w) * std::size_t(h), 0);
  for (std::size_t i = 0; i < n; ++i) px[i] = std::uint8_t(data[2 + i] & ((1 << bits) - 1));
  TMemoryStream s;
  if (rle)
    TRLEEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  else
    TLZWEncoder().Compress(&s, bits, 1 << bits, px.data(), interlaced, h, w);
  s.SetPosition(0);
  std::vector<std::uint8_t> out(px.size(), 0);
  GIFDecode(&s, out.data(), w, h, interlaced, nullptr, nullptr);
  Check(out == px);
  Check(s.Position() == s.Size());
}

}  // namespace giffuzz
