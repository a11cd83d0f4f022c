// Rendering of GIF pictures on the class library's canvases: a frame's bitmap,
// transparency mask and palette, its placement in a target rectangle, the image's
// cached bitmap, and the image's Draw, which draws one frame or hands the picture
// to an animation painter (gifpainter.h).
//
// The image model is plain C++; these are its drawing operations, written as
// functions over the frame or image they belong to.
#pragma once
#include <cstdint>
#include <vector>

#include "gif/gifimage.h"
#include "platform/graphics.h"

class TGIFPainter;

// Set once at start-up (GIFImageUnitInit): the screen shows 256 colours or fewer,
// and whether frames are then dithered to the 6x6x6 palette.
extern bool PaletteDisplay;
extern bool DoAutoDither;

// A new handle of the 6x6x6 palette (216 entries, r*36 + g*6 + b, level*51).
HPALETTE CreateWebPalette();

// ---------------------------------------------------------------------------
// Frames

// The frame's rectangle inside R, with the image's logical screen mapped onto R.
TRect ScaleRect(const TGIFSubImage* Frame, const TRect& R);
// The frame's 8-bit bitmap, built on first use (with its mask when the frame is
// transparent); nullptr for an empty frame. The frame keeps it.
TBitmap* GetBitmap(TGIFSubImage* Frame);
// Whether the frame has a transparency mask, building it when still needed.
bool HasMask(TGIFSubImage* Frame);
// The mask: rows of ((Width + 15) div 16) * 2 bytes, most significant bit first,
// a set bit for each transparent pixel. Empty when the frame has none.
const std::vector<std::uint8_t>& MaskBits(TGIFSubImage* Frame);
// The frame's palette (see the rules in the source); the frame owns the handle.
HPALETTE GetPalette(TGIFSubImage* Frame);
// Takes ownership of Value; a bitmap made with another palette is dropped.
void SetPalette(TGIFSubImage* Frame, HPALETTE Value);
// Draws the frame into R: placed by ScaleRect, or with Tiled at its own size
// repeated across R in steps of the image's size. Transparent leaves the masked
// pixels out.
void Draw(TGIFSubImage* Frame, TCanvas* ACanvas, const TRect& R, bool Tiled, bool Transparent);

// ---------------------------------------------------------------------------
// Images

// Frames use the 6x6x6 palette with error diffusion instead of their own tables.
bool UseWebPalette(const TGIFImage* Image);
// The image's palette; entering it again while it runs raises
// "No global or local color table defined".
HPALETTE GetPalette(TGIFImage* Image);
// The image's cached bitmap (the first frame), nullptr for an empty image.
TBitmap* Bitmap(TGIFImage* Image);
// The painter that Draw started, nullptr when none is running.
TGIFPainter* DrawPainter(TGIFImage* Image);
// Painters of the image that are still running.
int PainterCount(TGIFImage* Image);
// Makes a painter for the image (nullptr for an empty image or rectangle). A
// threaded one comes back suspended; one that is not threaded plays to its end
// inside this call and nullptr comes back. Reference, when given, points to the
// painter while it runs.
TGIFPainter* CreatePainter(TGIFImage* Image, TGIFPainter** Reference, TCanvas* ACanvas,
                           TFrameDrawOptions Options, const TRect& R);
// Stops every painter of the image and waits for them to end.
void StopDraw(TGIFImage* Image);

// Fills the image model's drawing hooks. Run once at start-up (GIFImageUnitInit does).
void GIFRenderInit();
