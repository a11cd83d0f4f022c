#include "gif/reduce.h"

#include <memory>
#include <new>
#include <utility>

#include "gif/dither.h"
#include "gif/lookup.h"
#include "gif/quantize.h"

namespace {
// Far beyond any frame the codec accepts; keeps a wild size from reaching the
// allocator, which under the sanitizers would abort rather than throw.
constexpr std::int64_t MaxDIBBytes = std::int64_t(1) << 31;

[[noreturn]] void OutOfMemory() { throw EOutOfMemory("Failed to allocate memory for GIF DIB"); }
}  // namespace

TDIBPixels::TDIBPixels(int Width, int Height, int BitsPerPixel, TColorPalette Palette)
    : palette_(std::move(Palette)) {
  if (BitsPerPixel != 1 && BitsPerPixel != 4 && BitsPerPixel != 8 && BitsPerPixel != 24 &&
      BitsPerPixel != 32)
    throw GIFException("Unsupported PixelFormat");
  if (Width <= 0 || Height <= 0) throw GIFException("Invalid image dimensions");
  std::int64_t stride = StrideOf(Width, BitsPerPixel);
  if (stride * Height > MaxDIBBytes) OutOfMemory();
  try {
    bits_.assign(std::size_t(stride * Height), 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  width_ = Width;
  height_ = Height;
  bpp_ = BitsPerPixel;
  stride_ = int(stride);
}

const std::uint8_t* TDIBPixels::ScanLine(int Row) const {
  if (Empty()) throw GIFException("Image has no DIB");
  if (Row < 0 || Row >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  return bits_.data() + std::size_t(Row) * std::size_t(stride_);
}

std::uint8_t* TDIBPixels::ScanLine(int Row) {
  return const_cast<std::uint8_t*>(std::as_const(*this).ScanLine(Row));
}

TGIFColor TDIBPixels::PixelColor(int X, int Y) const {
  if (bpp_ >= 24) {
    const std::uint8_t* p = ScanLine(Y) + std::size_t(X) * (bpp_ / 8);
    return {p[2], p[1], p[0]};
  }
  int i = PixelIndex(X, Y);
  if (i < 0 || i >= int(palette_.size())) return {};
  const TPaletteEntry& e = palette_[std::size_t(i)];
  return {e.peRed, e.peGreen, e.peBlue};
}

void TDIBPixels::SetPixelColor(int X, int Y, TGIFColor C) {
  if (bpp_ < 24) throw GIFException("Unsupported PixelFormat");
  std::uint8_t* p = ScanLine(Y) + std::size_t(X) * (bpp_ / 8);
  p[0] = C.Blue;
  p[1] = C.Green;
  p[2] = C.Red;
}

TDIBPixels TDIBPixels::ToBGR24() const {
  if (Empty()) return {};
  TDIBPixels out(width_, height_, 24);
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* d = out.ScanLine(y);
    if (bpp_ == 24) {
      const std::uint8_t* s = ScanLine(y);
      std::copy(s, s + std::size_t(width_) * 3, d);
    } else if (bpp_ == 32) {
      const std::uint8_t* s = ScanLine(y);
      for (int x = 0; x < width_; ++x, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    } else {
      for (int x = 0; x < width_; ++x, d += 3) {
        TGIFColor c = PixelColor(x, y);
        d[0] = c.Blue;
        d[1] = c.Green;
        d[2] = c.Red;
      }
    }
  }
  return out;
}

namespace {

TColorPalette Quantize(const TDIBPixels& source24, int colors) {
  TColorQuantizer q(colors);
  for (int y = 0; y < source24.Height(); ++y) q.AddPixels(source24.ScanLine(y), source24.Width(), 3);
  return q.Palette();
}

}  // namespace

TColorPalette MakeReductionPalette(TColorReduction Reduction, int ReductionBits,
                                   const TDIBPixels& Source24, const TColorPalette* Palette) {
  switch (Reduction) {
    case rmSystem20: return SystemPalette20();
    case rmHalftone: return HalftonePalette();
    case rmGray4: return FourGrayPalette();
    case rmMonochrome: return MonochromePalette();
    case rmGray256: return GrayScalePalette();
    case rmWeb216: return NetscapePalette();
    case rmOptimized:
      if (ReductionBits < GIFMinReductionBits || ReductionBits > GIFMaxReductionBits)
        throw GIFException("Reduction bits must be between 1 and 8");
      return Quantize(Source24, 1 << ReductionBits);
    case rmOptimizedSystem: {
      // The system's dark half, our colours, then the light half at the top.
      const TColorPalette& sys = SystemPalette20();
      TColorPalette p(sys.begin(), sys.begin() + 10);
      TColorPalette q = Quantize(Source24, 236);
      p.insert(p.end(), q.begin(), q.end());
      p.resize(246, TPaletteEntry{0, 0, 0, PC_NOCOLLAPSE});
      p.insert(p.end(), sys.begin() + 10, sys.end());
      return p;
    }
    case rmGivenPalette:
      if (!Palette || Palette->empty()) throw GIFException("No palette given for color reduction");
      if (Palette->size() > 256) return TColorPalette(Palette->begin(), Palette->begin() + 256);
      return *Palette;
    default: throw GIFException("Invalid reduction method");
  }
}

TDIBPixels ReduceColors(const TDIBPixels& Source, TColorReduction Reduction, TDitherMode DitherMode,
                        int ReductionBits, const TColorPalette* Palette) {
  if (Source.Empty()) return {};
  if (Reduction == rmNone) return Source.ToBGR24();
  if (Reduction < rmNone || Reduction > rmGivenPalette) throw GIFException("Invalid reduction method");
  if (DitherMode < dmNearest || DitherMode > dmBurkes) throw GIFException("Invalid dither mode");

  // Indexed sources are read through their palette like any other.
  const TDIBPixels converted = Source.BitsPerPixel() == 24 ? TDIBPixels() : Source.ToBGR24();
  const TDIBPixels& src = Source.BitsPerPixel() == 24 ? Source : converted;

  TColorPalette palette = MakeReductionPalette(Reduction, ReductionBits, src, Palette);
  std::unique_ptr<TColorLookup> lookup = MakeColorLookup(Reduction, palette);
  std::unique_ptr<TDitherEngine> ditherer = MakeDitherer(DitherMode, src.Width(), lookup.get());

  TDIBPixels result(src.Width(), src.Height(), 8, std::move(palette));
  TGIFColor used;
  for (int y = 0; y < src.Height(); ++y) {
    const std::uint8_t* s = src.ScanLine(y);
    std::uint8_t* d = result.ScanLine(y);
    while (ditherer->InRow()) {
      int x = ditherer->Column();
      const std::uint8_t* p = s + std::size_t(x) * 3;
      d[x] = ditherer->Dither(p[2], p[1], p[0], used);
    }
    ditherer->NextLine();
  }
  return result;
}
