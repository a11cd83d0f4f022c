// JPEG pictures, decoded and encoded by the system's libjpeg (registered for "jpeg"
// and "jpg" by the graphics unit).
#pragma once
#include <memory>

#include "platform/graphics.h"

// Largest image accepted, in pixels: anything larger is refused before any pixel
// memory is taken (a forged header cannot make us allocate gigabytes).
constexpr long long JPEGMaxPixels = 1LL << 27;
// Most memory the decoder's own whole-image buffers (progressive files) may take.
constexpr long JPEGMaxWorkBytes = 256L << 20;

class TJPEGImage : public TGraphic {
  DECLARE_CLASS(TJPEGImage, TGraphic)
public:
  TJPEGImage();
  ~TJPEGImage() override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // 1..100, used when saving.
  int CompressionQuality() const { return quality_; }
  void SetCompressionQuality(int Value);
  // The decoded pixels (pf32bit).
  TBitmap* Bitmap() const { return bitmap_.get(); }

  // From a TJPEGImage, or the pixels of any other graphic (a bitmap, an icon).
  void Assign(TPersistent* Source) override;
  // Reads a whole JPEG file from the stream's position. A corrupt or truncated file, or
  // one larger than JPEGMaxPixels or needing more than JPEGMaxWorkBytes to decode,
  // raises EInvalidGraphic and leaves the image as it was. Pixel memory grows with the
  // rows the data fills, so a truncated file never takes what its header declares.
  void LoadFromStream(TStream* Stream) override;
  // Baseline JPEG of the pixels at CompressionQuality; nothing for an empty image.
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  std::unique_ptr<TBitmap> bitmap_;
  int quality_ = 90;
};
