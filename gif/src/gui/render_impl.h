// Per-frame and per-image drawing state shared by rendering and the painter.
#pragma once
#include <exception>
#include <memory>
#include <vector>

#include "gif/gifpainter.h"
#include "gif/gifrender.h"

// A frame's bitmap, mask and palette; dropped with the frame's render cache.
struct TFrameRender : TGIFRenderCache {
  ~TFrameRender() override;
  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<TBitmap> Keyed;  // the bitmap with masked pixels in a key colour
  std::vector<std::uint8_t> Mask;
  HPALETTE Palette = 0;  // owned
  void FreeBitmap() {
    Bitmap.reset();
    Keyed.reset();
    Mask.clear();
  }
};

// The image's cached bitmap. Shared with the painter that draws into it, so a
// cache dropped while the painter runs never leaves it drawing into freed memory.
struct TImageRender : TGIFRenderCache {
  std::shared_ptr<TBitmap> Bitmap;
};

// Painters of one image. The list lock is recursive: Draw holds it while it runs
// the painter's synchronised calls, and those take it again.
struct TImagePainters : TGIFRenderCache {
  TThreadListOf<TGIFPainter*> Painters;
  std::vector<TGIFPainter*> Finished;  // left the list, waiting to be joined (under the list lock)
  TGIFPainter* DrawPainter = nullptr;
  bool Drawing = false;
  bool PaletteBusy = false;
  std::exception_ptr Pending;  // from a painter's run, raised by the next Draw
};

TImagePainters& PaintersOf(TGIFImage* Image);

// Visits the tile positions from (X0, Y0) in steps of StepX x StepY while they
// start inside Limit. A step of 0 or less visits one position: never an endless loop.
template <class F>
void ForEachTile(int X0, int Y0, int StepX, int StepY, const TRect& Limit, F&& Visit) {
  for (int x = X0; x < Limit.Right; x += StepX) {
    for (int y = Y0; y < Limit.Bottom; y += StepY) {
      Visit(x, y);
      if (StepY <= 0) break;
    }
    if (StepX <= 0) break;
  }
}
// A bitmap of the image's size for a painter to draw into (with a copy of the
// image palette on a palette display).
std::shared_ptr<TBitmap> NewPaintingBitmap(TGIFImage* Image);
// Makes Bitmap the image's cached bitmap, its changes the image's.
TBitmap* StoreImageBitmap(TGIFImage* Image, std::shared_ptr<TBitmap> Bitmap);
// Joins and frees the painters that have ended; keeps the first pending exception.
void ReapPainters(TGIFImage* Image);
