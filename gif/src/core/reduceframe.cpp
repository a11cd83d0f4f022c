#include "gif/reduceframe.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

// Progress as a share of rows, reported only when the percentage moves.
class TConvertProgress {
public:
  TConvertProgress(TGIFImage* image, int rows) : image_(image), rows_(rows) {
    if (image_) image_->ProgressMsg(psStarting, 0, false, "Converting...");
  }
  void Row(int done) {
    int p = int(std::int64_t(done) * 100 / rows_);
    if (image_ && p != last_) image_->ProgressMsg(psRunning, p, false, "Converting...");
    last_ = p;
  }
  void End(bool ok) {
    if (image_) image_->ProgressMsg(psEnding, ok ? 100 : 0, true, "Converting...");
  }

private:
  TGIFImage* image_;
  int rows_;
  int last_ = 0;
};

void ImportIndexed(TGIFSubImage* frame, const TDIBPixels& pic, TConvertProgress& progress) {
  const TColorPalette& pal = pic.Palette();
  for (std::size_t i = 0; i < pal.size() && i < 256; ++i)
    frame->ColorMap()->Add(RGB(pal[i].peRed, pal[i].peGreen, pal[i].peBlue));
  const int bits = pic.BitsPerPixel();
  for (int y = 0; y < pic.Height(); ++y) {
    const std::uint8_t* s = pic.ScanLine(y);
    std::uint8_t* d = frame->Scanline(y);
    for (int x = 0; x < pic.Width(); ++x) d[x] = std::uint8_t(TDIBPixels::IndexAt(s, x, bits));
    progress.Row(y + 1);
  }
}

void ImportTrueColor(TGIFSubImage* frame, const TDIBPixels& pic, TConvertProgress& progress) {
  const int step = pic.BitsPerPixel() / 8;
  std::unordered_map<std::uint32_t, std::uint8_t> known;
  for (int y = 0; y < pic.Height(); ++y) {
    const std::uint8_t* s = pic.ScanLine(y);
    std::uint8_t* d = frame->Scanline(y);
    for (int x = 0; x < pic.Width(); ++x, s += step) {
      std::uint32_t key = std::uint32_t(s[2]) | std::uint32_t(s[1]) << 8 | std::uint32_t(s[0]) << 16;
      auto it = known.find(key);
      if (it == known.end())
        it = known.emplace(key, std::uint8_t(frame->ColorMap()->Add(TColor(key)))).first;
      d[x] = it->second;
    }
    progress.Row(y + 1);
  }
}

// The transparent colour: a new entry, the first colour from black upward that
// the table lacks; with a full table, an entry no visible pixel uses.
int TransparentEntry(TGIFSubImage* frame, const TDIBPixels& mask) {
  TGIFColorMap* map = frame->ColorMap();
  if (map->Count() < TGIFColorMap::MaxColors) {
    TColor c = 0;
    while (map->IndexOf(c) >= 0) ++c;
    return map->Add(c);
  }
  std::array<bool, 256> used{};
  for (int y = 0; y < frame->Height(); ++y) {
    const std::uint8_t* p = frame->Scanline(y);
    for (int x = 0; x < frame->Width(); ++x)
      if (!TDIBPixels::IndexAt(mask.ScanLine(y), x, 1)) used[p[x]] = true;
  }
  auto free = std::find(used.begin(), used.end(), false);
  if (free == used.end()) throw GIFException("Color table overflow");
  return int(free - used.begin());
}

void ApplyMask(TGIFSubImage* frame, const TDIBPixels& mask) {
  if (mask.Empty() || mask.BitsPerPixel() != 1 || mask.Width() != frame->Width() ||
      mask.Height() != frame->Height())
    throw GIFException("Invalid image dimensions");
  const int index = TransparentEntry(frame, mask);
  for (int y = 0; y < frame->Height(); ++y) {
    const std::uint8_t* m = mask.ScanLine(y);
    std::uint8_t* p = frame->Scanline(y);
    for (int x = 0; x < frame->Width(); ++x)
      if (TDIBPixels::IndexAt(m, x, 1)) p[x] = std::uint8_t(index);
  }
  auto* gce = new TGIFGraphicControlExtension(frame);
  frame->Extensions()->Add(gce);
  gce->SetTransparentColorIndex(index);
  gce->SetTransparent(true);
}

}  // namespace

void AssignDIBToFrame(TGIFSubImage* Frame, const TDIBPixels& Picture, const TDIBPixels* Mask) {
  Frame->Clear();
  if (Picture.Empty()) return;
  TGIFImage* image = Frame->Image();
  const int bpp = Picture.BitsPerPixel();
  const bool indexed = bpp <= 8;
  TDIBPixels reduced;
  if (!indexed) {
    reduced = image ? ReduceColors(Picture, image->ColorReduction(), image->DitherMode(),
                                   image->ReductionBits())
                    : ReduceColors(Picture, rmWeb216, dmNearest, 8);
  }
  const TDIBPixels& pic = indexed ? Picture : reduced;
  TConvertProgress progress(image, pic.Height());
  try {
    Frame->SetBounds(Frame->Left(), Frame->Top(), pic.Width(), pic.Height());
    if (pic.BitsPerPixel() <= 8)
      ImportIndexed(Frame, pic, progress);
    else
      ImportTrueColor(Frame, pic, progress);
    if (Mask) ApplyMask(Frame, *Mask);
  } catch (...) {
    Frame->Clear();
    progress.End(false);
    throw;
  }
  progress.End(true);
}
