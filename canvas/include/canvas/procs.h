// Colour conversions, resampling and the safe library loader of the drawing canvas.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

class TBitmap;

// Hue, luminance and saturation on a 0..240 scale (hue 0 and 240 are both red; a grey
// has hue 0 and saturation 0), rounded to the nearest step. The hue has 240 steps for
// six bands of 255 levels each, so a round trip can move a fully saturated channel by
// up to 4 levels; greys and the luminance come back within 1.
void ColorToHLS(TColor Color, std::uint16_t& Hue, std::uint16_t& Luminance, std::uint16_t& Saturation);
TColor HLSToColor(std::uint16_t Hue, std::uint16_t Luminance, std::uint16_t Saturation);

// Color (already through ColorToRGB) as blue, green, red bytes in that order.
struct TRGBTriple {
  std::uint8_t rgbtBlue = 0, rgbtGreen = 0, rgbtRed = 0;
};
void ColorToRGBTriple(TColor Color, TRGBTriple& Triple);

// Resamples Source into Destination's size (Destination becomes pf32bit): a triangle
// kernel of radius 1 when Bilinear, else Lanczos-3 (radius 3). Shrinking widens the
// kernel by the scale so every source pixel counts. Rows are resampled first, then
// columns, each pass rounded to whole levels, straight from the source's rows into
// one intermediate and the destination's rows (a source of fewer than 32 bits is
// converted first). An empty source or destination does nothing.
void ResampleBitmap(TBitmap* Source, TBitmap* Destination, bool Bilinear);

// A shared library's handle, or 0 when it cannot be loaded (no message of any kind).
using HMODULE = void*;
HMODULE LoadLibrarySafe(const std::string& FileName);
// Frees a handle from LoadLibrarySafe; nothing for 0 or once the process is ending
// (libraries may still be in use by other exit code).
void FreeLibrarySafe(HMODULE Handle);
