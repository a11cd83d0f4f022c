// Colour reduction and frame conversion for the class library's graphics:
// bitmaps, icons and anything else that can draw itself into a bitmap.
#pragma once
#include <memory>

#include "gif/gifimage.h"
#include "gif/reduce.h"
#include "platform/graphics.h"

// Entries of a palette handle, and a new handle for entries (0 when empty).
TColorPalette PaletteFromHandle(HPALETTE Palette);
HPALETTE PaletteToHandle(const TColorPalette& Palette);

// A bitmap's pixels: 1, 4, 8, 24 and 32 bits per pixel as they are (indexed
// ones with their palette), any other format at 24 bits. Empty for an empty bitmap.
TDIBPixels DIBFromBitmap(TBitmap* Bitmap);
// Gives the bitmap the buffer's size, format, palette and pixels.
void DIBToBitmap(const TDIBPixels& Pixels, TBitmap* Bitmap);

// A new bitmap with the bitmap's picture reduced (see the buffer version);
// Palette is the caller's palette for reduction 9.
std::unique_ptr<TBitmap> ReduceColors(TBitmap* Bitmap, TColorReduction Reduction,
                                      TDitherMode DitherMode, int ReductionBits,
                                      HPALETTE Palette = 0);

// Fills a frame from a bitmap, an icon (its mask becoming the transparent
// colour) or any other graphic drawn into a bitmap of its size. False for a
// source that is no graphic.
bool AssignGraphicToFrame(TGIFSubImage* Frame, TPersistent* Source);

// Lets frames and images take graphics by Assign and Add. Run once at start-up.
void GIFGraphicConversionInit();
