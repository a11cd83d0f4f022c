// Colour lookups: map a wanted colour to a palette index and tell which
// palette colour was actually used, so a ditherer can carry the difference on.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/palette.h"

class TColorLookup {
public:
  explicit TColorLookup(int Colors) : colors_(Colors) {}
  virtual ~TColorLookup() = default;
  TColorLookup(const TColorLookup&) = delete;
  TColorLookup& operator=(const TColorLookup&) = delete;

  virtual std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                              TGIFColor& Used) = 0;
  int Colors() const { return colors_; }

private:
  int colors_;
};

// Nearest palette colour through a cache keyed by the colour's top 5 bits per
// channel; a miss searches by the sum of absolute channel differences.
class TFastColorLookup : public TColorLookup {
public:
  explicit TFastColorLookup(const TColorPalette& Palette);
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;

  static int Key(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue) {
    return ((Blue & 0xF8) << 7) | ((Green & 0xF8) << 2) | (Red >> 3);
  }

private:
  static constexpr std::uint16_t Empty = 0xFFFF;
  TColorPalette palette_;
  std::vector<std::uint16_t> cache_;
};

// Exact nearest colour by squared distance, searched every time.
class TSlowColorLookup : public TColorLookup {
public:
  explicit TSlowColorLookup(const TColorPalette& Palette);
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;

private:
  TColorPalette palette_;
};

// The 6x6x6 web palette, computed: level = (channel + 3) div 51.
class TNetscapeColorLookup : public TColorLookup {
public:
  TNetscapeColorLookup() : TColorLookup(216) {}
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;
};

// 256 greys by luminance (77, 150, 29) / 256.
class TGrayScaleLookup : public TColorLookup {
public:
  TGrayScaleLookup() : TColorLookup(256) {}
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;
};

// Black below half luminance, else white.
class TMonochromeLookup : public TColorLookup {
public:
  TMonochromeLookup() : TColorLookup(2) {}
  std::uint8_t Lookup(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;
};

// The lookup a colour reduction uses with its palette.
std::unique_ptr<TColorLookup> MakeColorLookup(int Reduction, const TColorPalette& Palette);
