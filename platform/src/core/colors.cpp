// System colours resolve through one fixed table, the classic light-grey desktop, so
// that drawing gives the same pixels on every machine whatever its desktop theme.
#include "platform/types.h"

namespace {

// Indexed by system colour number; values are 0x00BBGGRR.
constexpr TColor kSystemColors[] = {
    0xC0C0C0,  //  0 scroll bar
    0x808000,  //  1 desktop background (teal)
    0x800000,  //  2 active caption (navy)
    0x808080,  //  3 inactive caption
    0xC0C0C0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application work space
    0x800000,  // 13 highlight (navy)
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3D dark shadow
    0xDFDFDF,  // 22 3D light
    0x000000,  // 23 tooltip text
    0xE1FFFF,  // 24 tooltip background (pale yellow)
    0xB8B4B8,  // 25 (unused)
    0xFF0000,  // 26 hot-tracked item (blue)
    0xD08410,  // 27 gradient end of the active caption
    0xB5B5B5,  // 28 gradient end of the inactive caption
    0x800000,  // 29 highlighted menu item
    0xC0C0C0,  // 30 menu bar
};

}  // namespace

TColor ColorToRGB(TColor c) {
  if (c >= 0) return c;  // plain colours and the sentinels clNone and clDefault
  unsigned n = unsigned(c) & 0xFFu;
  return n < sizeof kSystemColors / sizeof kSystemColors[0] ? kSystemColors[n] : clBlack;
}
