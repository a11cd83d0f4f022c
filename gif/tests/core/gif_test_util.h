// Helpers for the codec tests: byte strings, loading and saving through memory,
// and a record of the warnings an image gives.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "gif/gifimage.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A logical screen of w x h with a global table of 2^(size+1) grey entries.
inline Bytes Header(int w, int h, int size = 1, const char* version = "GIF89a") {
  Bytes b = Str(version);
  b.insert(b.end(), {std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8),
                     std::uint8_t(0x80 | size), 0, 0});
  for (int i = 0; i < (2 << size); ++i) b.insert(b.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
  return b;
}

inline Bytes Descriptor(int l, int t, int w, int h, std::uint8_t packed = 0) {
  return {0x2C, std::uint8_t(l), std::uint8_t(l >> 8), std::uint8_t(t), std::uint8_t(t >> 8), std::uint8_t(w),
          std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8), packed};
}

// Packs codes of the given widths, least significant bit first, into one
// data sub-block sequence behind a minimum code size byte.
inline Bytes Codes(int minCodeSize, std::initializer_list<std::pair<int, int>> codes) {
  Bytes data;
  std::uint32_t acc = 0;
  int n = 0;
  for (auto [code, width] : codes) {
    acc |= std::uint32_t(code) << n;
    n += width;
    while (n >= 8) {
      data.push_back(std::uint8_t(acc));
      acc >>= 8;
      n -= 8;
    }
  }
  if (n > 0) data.push_back(std::uint8_t(acc));
  Bytes out{std::uint8_t(minCodeSize)};
  for (std::size_t p = 0; p < data.size(); p += 255) {
    std::size_t k = std::min<std::size_t>(255, data.size() - p);
    out.push_back(std::uint8_t(k));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(p), data.begin() + std::ptrdiff_t(p + k));
  }
  out.push_back(0);
  return out;
}

struct WarningLog {
  explicit WarningLog(TGIFImage& img) {
    img.OnWarning = [this](TObject*, TGIFSeverity, const std::string& m) { Messages.push_back(m); };
  }
  std::vector<std::string> Messages;
  bool Has(const std::string& m) const {
    for (auto& s : Messages)
      if (s == m) return true;
    return false;
  }
};

inline void LoadBytes(TGIFImage& img, const Bytes& b) {
  TMemoryStream s;
  s.WriteBuffer(b.data(), std::int64_t(b.size()));
  s.SetPosition(0);
  img.LoadFromStream(&s);
}

inline Bytes SaveBytes(TGIFImage& img) {
  TMemoryStream s;
  img.SaveToStream(&s);
  return s.Bytes();
}

// A frame of w x h at (l, t) with the given pixels, using the global table.
inline TGIFSubImage* AddFrame(TGIFImage& img, int l, int t, int w, int h, const std::vector<int>& px = {}) {
  auto* f = new TGIFSubImage(&img);
  img.Images()->Add(f);
  f->SetBounds(l, t, w, h);
  for (std::size_t i = 0; i < px.size() && i < std::size_t(w * h); ++i) f->Data()[i] = std::uint8_t(px[i]);
  return f;
}

// A new extension of class E appended to the frame.
template <class E>
E* AddExt(TGIFSubImage* f) {
  auto* e = new E(f);
  f->Extensions()->Add(e);
  return e;
}

// A graphic control extension marking index as transparent.
inline TGIFGraphicControlExtension* MakeTransparent(TGIFSubImage* f, int index) {
  auto* g = AddExt<TGIFGraphicControlExtension>(f);
  g->SetTransparent(true);
  g->SetTransparentColorIndex(index);
  return g;
}

inline void AddGrays(TGIFColorMap* m, int n) {
  for (int i = 0; i < n; ++i) m->Add(RGB(i, i, i));
}

// Expects a GIFException with exactly this text.
#define EXPECT_GIF_ERROR(stmt, text)                                  \
  do {                                                                \
    try {                                                             \
      stmt;                                                           \
      ADD_FAILURE() << "no exception, expected: " << (text);          \
    } catch (const GIFException& e) {                                 \
      EXPECT_EQ(e.Message, std::string(text));                        \
    }                                                                 \
  } while (0)
