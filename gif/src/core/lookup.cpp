#include "gif/lookup.h"

#include <cstdlib>

namespace {
TGIFColor ColorOf(const TPaletteEntry& e) { return {e.peRed, e.peGreen, e.peBlue}; }
}  // namespace

TFastColorLookup::TFastColorLookup(const TColorPalette& Palette)
    : TColorLookup(int(Palette.size() > 256 ? 256 : Palette.size())),
      palette_(Palette.begin(), Palette.begin() + Colors()),
      cache_(32768, Empty) {
  for (int i = 0; i < Colors(); ++i) {
    const TPaletteEntry& e = palette_[i];
    std::uint16_t& slot = cache_[Key(e.peRed, e.peGreen, e.peBlue)];
    if (slot == Empty) slot = std::uint16_t(i);
  }
}

std::uint8_t TFastColorLookup::Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                      TGIFColor& Used) {
  if (Colors() == 0) {
    Used = {};
    return 0;
  }
  std::uint16_t& slot = cache_[Key(Red, Green, Blue)];
  if (slot == Empty) {
    int best = 0, bestDist = 1 << 30;
    for (int i = 0; i < Colors(); ++i) {
      const TPaletteEntry& e = palette_[i];
      int d = std::abs(e.peRed - Red) + std::abs(e.peGreen - Green) + std::abs(e.peBlue - Blue);
      if (d < bestDist) {
        bestDist = d;
        best = i;
      }
    }
    slot = std::uint16_t(best);
  }
  Used = ColorOf(palette_[slot]);
  return std::uint8_t(slot);
}

TSlowColorLookup::TSlowColorLookup(const TColorPalette& Palette)
    : TColorLookup(int(Palette.size() > 256 ? 256 : Palette.size())),
      palette_(Palette.begin(), Palette.begin() + Colors()) {}

std::uint8_t TSlowColorLookup::Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                      TGIFColor& Used) {
  int i = GetNearestPaletteIndex(palette_, Red, Green, Blue);
  if (i < 0) {
    Used = {};
    return 0;
  }
  Used = ColorOf(palette_[i]);
  return std::uint8_t(i);
}

std::uint8_t TNetscapeColorLookup::Lookup(std::uint8_t Red, std::uint8_t Green,
                                          std::uint8_t Blue, TGIFColor& Used) {
  int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
  Used = {std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51)};
  return std::uint8_t(r * 36 + g * 6 + b);
}

std::uint8_t TGrayScaleLookup::Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                      TGIFColor& Used) {
  std::uint8_t grey = std::uint8_t((Red * 77 + Green * 150 + Blue * 29) >> 8);
  Used = {grey, grey, grey};
  return grey;
}

std::uint8_t TMonochromeLookup::Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                       TGIFColor& Used) {
  if (Red * 77 + Green * 150 + Blue * 29 < 32513) {
    Used = {0, 0, 0};
    return 0;
  }
  Used = {255, 255, 255};
  return 1;
}

std::unique_ptr<TColorLookup> MakeColorLookup(int Reduction, const TColorPalette& Palette) {
  switch (Reduction) {
    case 4: return std::make_unique<TMonochromeLookup>();
    case 5: return std::make_unique<TGrayScaleLookup>();
    case 6: return std::make_unique<TNetscapeColorLookup>();
    case 7: return std::make_unique<TFastColorLookup>(Palette);
    default: return std::make_unique<TSlowColorLookup>(Palette);
  }
}
