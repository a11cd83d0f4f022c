// Qt-typed internals of the graphics part, shared inside the GUI library only.
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <atomic>
#include <functional>

#include "platform/graphics.h"

// Binds Canvas to Image, a control's persistent off-screen image. The image must be
// Format_RGB32 or Format_ARGB32_Premultiplied (pixels are kept opaque); it may be
// reassigned in place (a resize) and must outlive the binding. nullptr unbinds.
// The canvas keeps its pen, brush, font, clip stack and pen position across binds.
void AttachCanvasToImage(TCanvas* Canvas, QImage* Image);

// The general binding: Acquire answers the image to draw into right before each
// operation, or to read pixels from (nullptr: nothing to draw on); after each drawing
// operation Drawn runs, and DrawnArea with the area the operation may have changed.
struct TCanvasSurface {
  std::function<QImage*()> Acquire;
  std::function<void()> Drawn;
  std::function<void(const QRect& Dirty)> DrawnArea = {};
  // Optional: the image to read pixels from (any format), when reading needs no copy.
  std::function<const QImage*()> AcquireForReading = {};
};
void AttachCanvasToSurface(TCanvas* Canvas, TCanvasSurface Surface);

// Makes the canvas append a record of each operation to Picture as it draws
// (nullptr stops); the metafile canvas uses it.
namespace mf { struct TPicture; }
void SetCanvasRecording(TCanvas* Canvas, mf::TPicture* Picture);

// Colours: system colours resolved; of anything else only the low 24 bits count, as on
// the device (clNone draws white, clDefault black).
QRgb ToQRgb(TColor Color);
inline QColor ToQColor(TColor Color) { return QColor(ToQRgb(Color)); }
inline TColor FromQRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

// Bumped whenever application fonts are added or removed: what a canvas derived from a
// font name (metrics, cached text widths) may then mean another face.
extern std::atomic<unsigned> FontDatabaseGeneration;

// The Qt font a TFont stands for: pixel size from Height, styles, no antialiasing unless
// Antialias is set. Controls use it for their widgets.
QFont ToQFont(const TFont& Font, bool Antialias = false);
// Orders the classic names' substitutes by measuring them, once the application
// exists (the graphics unit starts before it); ToQFont calls it.
void MeasureFontSubstitutes();

// Paints Source of Image stretched (nearest pixel) into Dest with the canvas's CopyMode,
// inside the canvas's clip. With a Mask (Format_Mono or any format: set/non-black
// pixels are transparent) those pixels are left out and CopyMode is ignored.
void CanvasDrawImage(TCanvas* Canvas, const TRect& Dest, const QImage& Image, const QRect& Source,
                     const QImage* Mask = nullptr);

// Paints Image stretched (nearest pixel) into Dest leaving out the pixels of colour
// Transparent (compared as 0xRRGGBB).
void CanvasDrawTransparent(TCanvas* Canvas, const TRect& Dest, const QImage& Image, QRgb Transparent);

// A bitmap's pixels as an RGB32 image (palettes applied), for showing and copying.
QImage BitmapToQImage(TBitmap* Bitmap);
// Replaces a bitmap's pixels with Image (pf32bit; indexed images keep their format
// and colour table).
void BitmapFromQImage(TBitmap* Bitmap, const QImage& Image);
// A pf32bit bitmap's own image of Width x Height, taken out of it to be drawn on
// again (a null image when it has another size or format, or shares its pixels);
// BitmapFromQImage puts it back.
QImage TakeBitmapImage(TBitmap* Bitmap, int Width, int Height);
