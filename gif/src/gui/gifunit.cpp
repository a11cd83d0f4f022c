#include "gif/gifunit.h"

#include <cstring>

#include "gif/gifrender.h"
#include "gif/reducegraphic.h"
#include "platform/clipbrd.h"
#include "platform/graphics.h"

std::uint16_t CF_GIF = 0;

namespace {

int UnitInits = 0;

void LoadFromClipboard(TGIFImage* Image, std::uint16_t Format, THandle Data, HPALETTE) {
  if (!Data) Data = GetClipboardData(Format);
  if (Data && Format == CF_GIF && CF_GIF != 0) {
    TMemoryStream stream;
    const std::size_t size = GlobalSize(Data);
    if (size) stream.WriteBuffer(GlobalLock(Data), std::int64_t(size));
    GlobalUnlock(Data);
    stream.SetPosition(0);
    Image->LoadFromStream(&stream);
    return;
  }
  if (Data && Format == CF_BITMAP) {
    TBitmap bitmap;
    BitmapFromClipboardData(&bitmap, Data);
    Image->Assign(&bitmap);
    return;
  }
  throw GIFException("Unsupported clipboard format");
}

void SaveToClipboard(TGIFImage* Image, std::uint16_t& Format, THandle& Data, HPALETTE& APalette) {
  if (Image->Empty()) return;
  // The caller puts the bitmap on the clipboard; the GIF stream goes there directly.
  Format = CF_BITMAP;
  Data = BitmapToClipboardData(Bitmap(Image));
  APalette = 0;
  TMemoryStream stream;
  Image->SaveToStream(&stream);
  THandle gif = GlobalAlloc(std::size_t(stream.Size()));
  if (!gif) return;
  void* p = GlobalLock(gif);
  if (p && stream.Size()) std::memcpy(p, stream.Memory(), std::size_t(stream.Size()));
  GlobalUnlock(gif);
  if (!SetClipboardData(CF_GIF, gif)) {
    GlobalFree(gif);
    throw GIFException("Failed to store GIF on clipboard");
  }
}

}  // namespace

void GIFClipboardInit() {
  GIFRenderHooks.LoadFromClipboardFormat = &LoadFromClipboard;
  GIFRenderHooks.SaveToClipboardFormat = &SaveToClipboard;
}

void GIFImageUnitInit() {
  if (UnitInits++ > 0) return;
  TPicture::RegisterFileFormat("GIF", "GIF Image", TGIFImage::StaticClass());
  CF_GIF = RegisterClipboardFormat("GIF Image");
  TPicture::RegisterClipboardFormat(CF_GIF, TGIFImage::StaticClass());
  // A palette screen has 8 colour bits or fewer; no screen at all is not one.
  const int depth = ScreenColorDepth();
  PaletteDisplay = depth > 0 && depth < 9;
  DoAutoDither = PaletteDisplay;
  GIFGraphicConversionInit();
  GIFRenderInit();
}

void GIFImageUnitDone() {
  if (UnitInits == 0 || --UnitInits > 0) return;
  // The drawing hooks stay: images still alive must stop their painters when freed.
  TPicture::UnregisterGraphicClass(TGIFImage::StaticClass());
}
