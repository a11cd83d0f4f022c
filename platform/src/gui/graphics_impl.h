// Internals shared by the graphics sources: palette tables, brush patterns, colour
// quantisation and the raster operations.
#pragma once
#include <QImage>

#include <cstdint>
#include <vector>

#include "canvas_qt.h"
#include "platform/graphics.h"

struct TBrush::Pattern {
  QImage Image;  // RGB32, or Mono for a two-colour bitmap
};

namespace gfx {

std::vector<TPaletteEntry> PaletteEntries(HPALETTE Palette);
HPALETTE PaletteFromColors(const QList<QRgb>& Colors);
QList<QRgb> ColorsFromPalette(HPALETTE Palette);
// The palette an indexed format gets when it has none of the right size.
QList<QRgb> DefaultColors(TPixelFormat Format);
int MaxColors(TPixelFormat Format);  // 2, 16, 256, or 0 for direct colour

// Maps RGB32 pixels to the nearest entries of Colors: Format_Mono or Format_Indexed8.
QImage Quantize(const QImage& Rgb32, const QList<QRgb>& Colors, QImage::Format Format);
// Replaces the colours of a rectangle of an RGB32 image by their nearest entries.
void SnapToColors(QImage& Rgb32, const QRect& Area, const QList<QRgb>& Colors);

// Binary raster operation of a pen mode on 0x00RRGGBB values.
inline std::uint32_t Rop2(TPenMode Mode, std::uint32_t s, std::uint32_t d) {
  switch (Mode) {
    case pmBlack: return 0;
    case pmWhite: return 0xFFFFFF;
    case pmNop: return d;
    case pmNot: return ~d;
    case pmCopy: return s;
    case pmNotCopy: return ~s;
    case pmMergePenNot: return s | ~d;
    case pmMaskPenNot: return s & ~d;
    case pmMergeNotPen: return ~s | d;
    case pmMaskNotPen: return ~s & d;
    case pmMerge: return s | d;
    case pmNotMerge: return ~(s | d);
    case pmMask: return s & d;
    case pmNotMask: return ~(s & d);
    case pmXor: return s ^ d;
    case pmNotXor: return ~(s ^ d);
  }
  return s;
}

// Ternary raster operation (bits 16..23 of a copy mode) on pattern, source, destination.
inline std::uint32_t Rop3(TCopyMode Mode, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  unsigned table = (unsigned(Mode) >> 16) & 0xFF;
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i)
    if (table & (1u << i))
      r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return r;
}

}  // namespace gfx
