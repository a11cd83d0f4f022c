// Palettes used by colour reduction: the fixed tables a picture can be reduced
// to, and nearest-colour search within a palette.
#pragma once
#include <cstdint>
#include <vector>

#include "gif/giftypes.h"
#include "platform/graphics.h"  // TPaletteEntry and its flags; no drawing is used here

// Entries in red, green, blue order with their flags, up to 256 of them.
using TColorPalette = std::vector<TPaletteEntry>;

// The system's 20 fixed colours: the 16 basic colours (black, maroon, green,
// olive, navy, purple, teal, silver, grey, red, lime, yellow, blue, fuchsia,
// aqua, white) and four more greys (0x40, 0x60, 0xA0, 0xE0) so that the eight
// greys step evenly. The first ten are the dark half, the last ten the light
// half; reduction 8 puts its own colours between the two halves.
const TColorPalette& SystemPalette20();

// Our halftone palette, 256 entries: the first ten system colours, the
// 6x6x6 cube (entry 10 + r*36 + g*6 + b, channel = level*51), twenty greys
// round(i*255/21) for i = 1..20 that fall between the cube's greys, and the
// last ten system colours.
const TColorPalette& HalftonePalette();

// 4 greys 0x00, 0x80, 0xC0, 0xFF.
const TColorPalette& FourGrayPalette();
// Black and white.
const TColorPalette& MonochromePalette();
// 256 greys (i, i, i).
const TColorPalette& GrayScalePalette();
// The web palette: 216 entries r*36 + g*6 + b, channel = level*51, flags 0.
const TColorPalette& NetscapePalette();

// Index of the entry nearest to the colour by squared distance; the first of
// equal candidates wins. -1 for an empty palette.
int GetNearestPaletteIndex(const TColorPalette& Palette, std::uint8_t Red, std::uint8_t Green,
                           std::uint8_t Blue);
