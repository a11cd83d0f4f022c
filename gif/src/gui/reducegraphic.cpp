#include "gif/reducegraphic.h"

#include <algorithm>
#include <cstring>

#include "gif/reduceframe.h"

TColorPalette PaletteFromHandle(HPALETTE Palette) {
  int n = std::min(GetPaletteEntries(Palette, 0, 0, nullptr), 256);
  if (n <= 0) return {};
  TColorPalette p(static_cast<std::size_t>(n));
  n = GetPaletteEntries(Palette, 0, n, p.data());
  p.resize(std::size_t(std::max(n, 0)));
  return p;
}

HPALETTE PaletteToHandle(const TColorPalette& Palette) {
  if (Palette.empty()) return 0;
  TLogPalette log;
  log.palNumEntries = std::uint16_t(std::min<std::size_t>(Palette.size(), 256));
  std::copy_n(Palette.begin(), log.palNumEntries, log.palPalEntry);
  return CreatePalette(log);
}

TDIBPixels DIBFromBitmap(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return {};
  TPixelFormat format = Bitmap->PixelFormat();
  int bits = PixelFormatBits(format);
  std::unique_ptr<TBitmap> converted;
  TBitmap* src = Bitmap;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    converted = std::make_unique<TBitmap>();
    converted->Assign(Bitmap);
    converted->SetPixelFormat(pf24bit);
    src = converted.get();
    bits = 24;
  }
  TDIBPixels pixels(src->Width(), src->Height(), bits,
                    bits <= 8 ? PaletteFromHandle(src->Palette()) : TColorPalette());
  const std::size_t row = std::size_t(TDIBPixels::StrideOf(src->Width(), bits));
  for (int y = 0; y < src->Height(); ++y)
    std::memcpy(pixels.ScanLine(y), src->ScanLine(y), row);
  return pixels;
}

void DIBToBitmap(const TDIBPixels& Pixels, TBitmap* Bitmap) {
  if (Pixels.Empty()) {
    Bitmap->SetSize(0, 0);
    return;
  }
  switch (Pixels.BitsPerPixel()) {
    case 1: Bitmap->SetPixelFormat(pf1bit); break;
    case 4: Bitmap->SetPixelFormat(pf4bit); break;
    case 8: Bitmap->SetPixelFormat(pf8bit); break;
    case 24: Bitmap->SetPixelFormat(pf24bit); break;
    default: Bitmap->SetPixelFormat(pf32bit); break;
  }
  if (Pixels.BitsPerPixel() <= 8) Bitmap->SetPalette(PaletteToHandle(Pixels.Palette()));
  Bitmap->SetSize(Pixels.Width(), Pixels.Height());
  const std::size_t row = std::size_t(Pixels.Stride());
  for (int y = 0; y < Pixels.Height(); ++y)
    std::memcpy(Bitmap->ScanLine(y), Pixels.ScanLine(y), row);
}

std::unique_ptr<TBitmap> ReduceColors(TBitmap* Bitmap, TColorReduction Reduction,
                                      TDitherMode DitherMode, int ReductionBits, HPALETTE Palette) {
  auto result = std::make_unique<TBitmap>();
  TDIBPixels source = DIBFromBitmap(Bitmap);
  if (source.Empty()) return result;
  TColorPalette given = PaletteFromHandle(Palette);
  DIBToBitmap(ReduceColors(source, Reduction, DitherMode, ReductionBits, Palette ? &given : nullptr),
              result.get());
  return result;
}

bool AssignGraphicToFrame(TGIFSubImage* Frame, TPersistent* Source) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignDIBToFrame(Frame, DIBFromBitmap(bitmap));
    return true;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon->Empty()) {
      Frame->Clear();
      return true;
    }
    TDIBPixels mask = DIBFromBitmap(icon->Mask());
    AssignDIBToFrame(Frame, DIBFromBitmap(icon->Image()), mask.Empty() ? nullptr : &mask);
    return true;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    if (graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0) {
      Frame->Clear();
      return true;
    }
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(graphic->Width(), graphic->Height());
    bitmap.Canvas()->Draw(0, 0, graphic);
    AssignDIBToFrame(Frame, DIBFromBitmap(&bitmap));
    return true;
  }
  return false;
}

void GIFGraphicConversionInit() { GIFAssignGraphicHook = &AssignGraphicToFrame; }
