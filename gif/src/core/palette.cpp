#include "gif/palette.h"

#include <cmath>

namespace {

TPaletteEntry Entry(int r, int g, int b, std::uint8_t flags = PC_NOCOLLAPSE) {
  return {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), flags};
}

TColorPalette MakeSystem20() {
  return {Entry(0x00, 0x00, 0x00), Entry(0x80, 0x00, 0x00), Entry(0x00, 0x80, 0x00),
          Entry(0x80, 0x80, 0x00), Entry(0x00, 0x00, 0x80), Entry(0x80, 0x00, 0x80),
          Entry(0x00, 0x80, 0x80), Entry(0xC0, 0xC0, 0xC0), Entry(0x40, 0x40, 0x40),
          Entry(0xE0, 0xE0, 0xE0),
          Entry(0x60, 0x60, 0x60), Entry(0xA0, 0xA0, 0xA0), Entry(0x80, 0x80, 0x80),
          Entry(0xFF, 0x00, 0x00), Entry(0x00, 0xFF, 0x00), Entry(0xFF, 0xFF, 0x00),
          Entry(0x00, 0x00, 0xFF), Entry(0xFF, 0x00, 0xFF), Entry(0x00, 0xFF, 0xFF),
          Entry(0xFF, 0xFF, 0xFF)};
}

void AddCube(TColorPalette& p, std::uint8_t flags) {
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) p.push_back(Entry(r * 51, g * 51, b * 51, flags));
}

TColorPalette MakeHalftone() {
  const TColorPalette& sys = SystemPalette20();
  TColorPalette p(sys.begin(), sys.begin() + 10);
  AddCube(p, PC_NOCOLLAPSE);
  for (int i = 1; i <= 20; ++i) {
    int v = int(std::lround(i * 255.0 / 21.0));
    p.push_back(Entry(v, v, v));
  }
  p.insert(p.end(), sys.begin() + 10, sys.end());
  return p;
}

}  // namespace

const TColorPalette& SystemPalette20() {
  static const TColorPalette p = MakeSystem20();
  return p;
}

const TColorPalette& HalftonePalette() {
  static const TColorPalette p = MakeHalftone();
  return p;
}

const TColorPalette& FourGrayPalette() {
  static const TColorPalette p = {Entry(0, 0, 0), Entry(0x80, 0x80, 0x80), Entry(0xC0, 0xC0, 0xC0),
                                  Entry(0xFF, 0xFF, 0xFF)};
  return p;
}

const TColorPalette& MonochromePalette() {
  static const TColorPalette p = {Entry(0, 0, 0), Entry(0xFF, 0xFF, 0xFF)};
  return p;
}

const TColorPalette& GrayScalePalette() {
  static const TColorPalette p = [] {
    TColorPalette g;
    for (int i = 0; i < 256; ++i) g.push_back(Entry(i, i, i));
    return g;
  }();
  return p;
}

const TColorPalette& NetscapePalette() {
  static const TColorPalette p = [] {
    TColorPalette c;
    AddCube(c, 0);
    return c;
  }();
  return p;
}

int GetNearestPaletteIndex(const TColorPalette& Palette, std::uint8_t Red, std::uint8_t Green,
                           std::uint8_t Blue) {
  int best = -1;
  int bestDist = 0;
  for (int i = 0; i < int(Palette.size()); ++i) {
    const TPaletteEntry& e = Palette[i];
    int dr = e.peRed - Red, dg = e.peGreen - Green, db = e.peBlue - Blue;
    int d = dr * dr + dg * dg + db * db;
    if (best < 0 || d < bestDist) {
      best = i;
      bestDist = d;
      if (d == 0) break;
    }
  }
  return best;
}
