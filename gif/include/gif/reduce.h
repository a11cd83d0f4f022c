// Colour reduction of a picture: a plain device-independent pixel buffer and
// the driver that turns a true-colour buffer into an 8-bit one with a palette.
#pragma once
#include <cstdint>
#include <vector>

#include "gif/giftypes.h"
#include "gif/palette.h"

// Pixels as device-independent bitmaps hold them: rows of Stride bytes, each
// padded to 32 bits; 24 and 32 bits per pixel store blue, green, red (and an
// unused byte); 1, 4 and 8 bits store palette indexes, the leftmost pixel in
// the most significant bits. Rows are addressed from the top.
class TDIBPixels {
public:
  TDIBPixels() = default;  // holds no pixels
  // Raises GIFException "Unsupported PixelFormat" for other than 1, 4, 8, 24
  // or 32 bits and "Invalid image dimensions" for a size below 1; the pixels
  // start zero.
  TDIBPixels(int Width, int Height, int BitsPerPixel, TColorPalette Palette = {});

  bool Empty() const { return bits_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bpp_; }
  int Stride() const { return stride_; }
  static int StrideOf(int Width, int BitsPerPixel) {
    return int(((std::int64_t(Width) * BitsPerPixel + 31) & ~std::int64_t(31)) / 8);
  }

  const TColorPalette& Palette() const { return palette_; }
  void SetPalette(TColorPalette Value) { palette_ = std::move(Value); }

  // Raises GIFException "Image has no DIB" when empty and
  // EInvalidGraphicOperation "Scan line index out of range" for a bad row.
  std::uint8_t* ScanLine(int Row);
  const std::uint8_t* ScanLine(int Row) const;

  // Palette index of a pixel in a 1, 4 or 8-bit buffer.
  int PixelIndex(int X, int Y) const { return IndexAt(ScanLine(Y), X, bpp_); }
  // The same within a row of Bits (1, 4 or 8) per pixel; -1 for other depths.
  static int IndexAt(const std::uint8_t* Row, int X, int Bits) {
    switch (Bits) {
      case 1: return (Row[X >> 3] >> (7 - (X & 7))) & 1;
      case 4: return (X & 1) ? Row[X >> 1] & 0x0F : Row[X >> 1] >> 4;
      case 8: return Row[X];
      default: return -1;
    }
  }
  // Colour of a pixel in any format (through the palette for indexed ones;
  // black for an index the palette does not have).
  TGIFColor PixelColor(int X, int Y) const;
  void SetPixelColor(int X, int Y, TGIFColor C);  // 24 and 32 bits only

  // The same picture at 24 bits per pixel.
  TDIBPixels ToBGR24() const;

private:
  int width_ = 0, height_ = 0, bpp_ = 0, stride_ = 0;
  TColorPalette palette_;
  std::vector<std::uint8_t> bits_;
};

// Reduction bits name the colour count 2^bits of an optimised palette.
constexpr int GIFMinReductionBits = 1;
constexpr int GIFMaxReductionBits = 8;

// The palette a reduction maps to. Reductions 7 and 8 quantise the 24-bit
// source; 9 copies Palette. GIFException "Invalid reduction method" for a
// value outside 1..9.
TColorPalette MakeReductionPalette(TColorReduction Reduction, int ReductionBits,
                                   const TDIBPixels& Source24, const TColorPalette* Palette);

// Reduction 0 answers a 24-bit copy. Any other reduction answers an 8-bit
// buffer whose palette is the reduction's and whose pixels are dithered by
// DitherMode. Raises GIFException for an unknown reduction or dither mode, for
// reduction bits outside 1..8 with reduction 7, and for reduction 9 without
// a palette. An empty source gives an empty result.
TDIBPixels ReduceColors(const TDIBPixels& Source, TColorReduction Reduction, TDitherMode DitherMode,
                        int ReductionBits, const TColorPalette* Palette = nullptr);
