#include "gif/gifrender.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "gif/dither.h"
#include "gif/reducegraphic.h"
#include "render_impl.h"

bool PaletteDisplay = false;
bool DoAutoDither = false;

TFrameRender::~TFrameRender() {
  if (Palette) DeleteObject(Palette);
}

TImagePainters& PaintersOf(TGIFImage* Image) {
  if (!Image->PainterState) Image->PainterState = std::make_unique<TImagePainters>();
  return static_cast<TImagePainters&>(*Image->PainterState);
}

namespace {

TFrameRender& FrameCache(TGIFSubImage* Frame) {
  if (!Frame->RenderCache) Frame->RenderCache = std::make_unique<TFrameRender>();
  return static_cast<TFrameRender&>(*Frame->RenderCache);
}

TImageRender* ImageCache(TGIFImage* Image) { return static_cast<TImageRender*>(Image->RenderCache.get()); }

// Frame bitmaps are built on painter threads too.
std::unique_lock<std::recursive_mutex> LockRendering(TGIFSubImage* Frame) { return LockFrames(Frame->Image()); }

TColorPalette TablePalette(const TGIFColorMap* Map) {
  TColorPalette p;
  for (const TGIFColor& c : Map->Entries()) p.push_back({c.Red, c.Green, c.Blue, PC_NOCOLLAPSE});
  return p;
}

// Progress goes to handlers that may touch controls: only the main thread reports it.
void Report(TGIFImage* Image, TProgressStage Stage, int Percent) {
  if (IsMainThread()) Image->ProgressMsg(Stage, Percent, Stage != psRunning, "Rendering...");
}

// A frame's bitmap as built, and its mask when one was asked for.
struct TBuiltBitmap {
  std::unique_ptr<TBitmap> Bitmap;
  bool MaskBuilt = false;
  std::vector<std::uint8_t> Mask;  // empty when no pixel is transparent
};

// Reads the frame; the caller makes sure nobody changes it meanwhile.
TBuiltBitmap BuildBitmap(TGIFSubImage* Frame, bool WantMask) {
  TGIFImage* image = Frame->Image();
  const int w = Frame->Width(), h = Frame->Height();
  const std::uint8_t* pixels = Frame->Data();
  const bool web = UseWebPalette(image);
  const TGIFColorMap* map = Frame->ActiveColorMap();
  const int transparent = Frame->TransparentIndex();
  const bool buildMask = transparent >= 0 && WantMask;
  const int maskStride = (w + 15) / 16 * 2;
  std::vector<std::uint8_t> mask;
  if (buildMask) mask.assign(std::size_t(maskStride) * std::size_t(h), 0);
  bool anyMasked = false;

  TColorPalette palette = web ? NetscapePalette() : TablePalette(map);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf8bit);
  if (!web) {
    // Indexes beyond a short table would read past the bitmap's palette.
    std::uint8_t top = *std::max_element(pixels, pixels + std::size_t(w) * std::size_t(h));
    if (!palette.empty() && top >= palette.size()) palette.resize(256, {0, 0, 0, PC_NOCOLLAPSE});
  }
  if (!palette.empty()) bitmap->SetPalette(PaletteToHandle(palette));
  bitmap->SetSize(w, h);

  TNetscapeColorLookup lookup;
  std::unique_ptr<TDitherEngine> ditherer;
  if (web) ditherer = MakeDitherer(dmFloydSteinberg, w, &lookup);
  const std::vector<TGIFColor>& colors = map->Entries();

  Report(image, psStarting, 0);
  try {
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* src = pixels + std::size_t(y) * std::size_t(w);
      auto* dst = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
      if (web) {
        while (ditherer->InRow()) {
          int x = ditherer->Column();
          if (src[x] == transparent) {  // takes no colour and spreads no error
            ditherer->Skip();
            dst[x] = 0;
            continue;
          }
          TGIFColor c = src[x] < colors.size() ? colors[src[x]] : TGIFColor{};
          TGIFColor used;
          dst[x] = ditherer->Dither(c.Red, c.Green, c.Blue, used);
        }
        ditherer->NextLine();
      } else {
        std::memcpy(dst, src, std::size_t(w));
      }
      if (buildMask) {
        std::uint8_t* m = mask.data() + std::size_t(y) * std::size_t(maskStride);
        for (int x = 0; x < w; ++x)
          if (src[x] == transparent) {
            m[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
            anyMasked = true;
          }
      }
      if (y % 32 == 0 && y > 0) Report(image, psRunning, y * 100 / h);
    }
  } catch (...) {
    Report(image, psEnding, 0);
    throw;
  }
  Report(image, psEnding, 100);
  TBuiltBitmap built;
  built.Bitmap = std::move(bitmap);
  built.MaskBuilt = buildMask;
  if (anyMasked) built.Mask = std::move(mask);
  return built;
}

// Under the frame lock. A bitmap built meanwhile by another thread wins.
TBitmap* StoreBitmap(TGIFSubImage* Frame, TFrameRender& Cache, TBuiltBitmap Built) {
  if (Cache.Bitmap) return Cache.Bitmap.get();
  Cache.Bitmap = std::move(Built.Bitmap);
  if (Built.MaskBuilt) {
    Cache.Mask = std::move(Built.Mask);
    Frame->NeedMask = false;
  }
  return Cache.Bitmap.get();
}

// The frame's bitmap at 32 bits with its masked pixels in a colour that no other
// pixel has, for drawing through the bitmap's transparent colour.
TBitmap* KeyedBitmap(TGIFSubImage* Frame, TFrameRender& Cache) {
  if (Cache.Keyed) return Cache.Keyed.get();
  const int w = Frame->Width(), h = Frame->Height(), stride = (w + 15) / 16 * 2;
  auto keyed = std::make_unique<TBitmap>();
  keyed->Assign(Cache.Bitmap.get());
  keyed->SetPixelFormat(pf32bit);
  auto masked = [&](int x, int y) {
    return (Cache.Mask[std::size_t(y) * std::size_t(stride) + std::size_t(x >> 3)] & (0x80 >> (x & 7))) != 0;
  };
  std::unordered_set<std::uint32_t> used;
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<std::uint32_t*>(keyed->ScanLine(y));
    for (int x = 0; x < w; ++x)
      if (!masked(x, y)) used.insert(row[x] & 0xFFFFFF);
  }
  std::uint32_t key = 0xFE0001;  // at most 256 colours are used, so one of 257 is free
  for (std::uint32_t k = 1; used.count(key) && k <= 256; ++k) key = 0xFE0001 + (k << 8);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<std::uint32_t*>(keyed->ScanLine(y));
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[x] = (row[x] & 0xFF000000u) | key;
  }
  // The bitmap stores blue, green, red: key read as 0x00RRGGBB is RGB(r, g, b).
  keyed->SetTransparentColor(RGB(int(key >> 16) & 0xFF, int(key >> 8) & 0xFF, int(key) & 0xFF));
  keyed->SetTransparent(true);
  Cache.Keyed = std::move(keyed);
  return Cache.Keyed.get();
}

}  // namespace

HPALETTE CreateWebPalette() {
  TColorPalette p = NetscapePalette();
  for (TPaletteEntry& e : p) e.peFlags = 0;
  return PaletteToHandle(p);
}

// ---------------------------------------------------------------------------
TRect ScaleRect(const TGIFSubImage* Frame, const TRect& R) {
  const int w = Frame->Image()->Width(), h = Frame->Image()->Height();
  if (w <= 0 || h <= 0) {  // no screen to map from: the frame at its own size
    TRect b = Frame->BoundsRect();
    return Bounds(R.Left + b.Left, R.Top + b.Top, b.Width(), b.Height());
  }
  return {R.Left + MulDiv(Frame->Left(), R.Width(), w), R.Top + MulDiv(Frame->Top(), R.Height(), h),
          R.Left + MulDiv(Frame->Left() + Frame->Width(), R.Width(), w),
          R.Top + MulDiv(Frame->Top() + Frame->Height(), R.Height(), h)};
}

TBitmap* GetBitmap(TGIFSubImage* Frame) {
  bool wantMask;
  {
    auto lock = LockRendering(Frame);
    if (Frame->RenderCache) {
      if (TBitmap* b = FrameCache(Frame).Bitmap.get()) return b;
    }
    if (Frame->Empty()) return nullptr;
    TFrameRender& cache = FrameCache(Frame);
    wantMask = cache.Mask.empty();
    // A painter thread builds under the lock: the main thread may edit the frame meanwhile.
    if (!IsMainThread()) return StoreBitmap(Frame, cache, BuildBitmap(Frame, wantMask));
  }
  // Only the main thread changes frames, so it builds without the lock and its
  // progress handlers run with no lock held (they may wait for a painter).
  TBuiltBitmap built = BuildBitmap(Frame, wantMask);
  TBitmap* bitmap;
  {
    auto lock = LockRendering(Frame);
    bitmap = StoreBitmap(Frame, FrameCache(Frame), std::move(built));
  }
  TGIFImage* image = Frame->Image();
  if (image->PaletteModified) image->Changed(image);
  return bitmap;
}

bool HasMask(TGIFSubImage* Frame) {
  {
    auto lock = LockRendering(Frame);
    if (!Frame->NeedMask || !Frame->Transparent()) return Frame->RenderCache && !FrameCache(Frame).Mask.empty();
    FrameCache(Frame).FreeBitmap();
  }
  GetBitmap(Frame);
  auto lock = LockRendering(Frame);
  return Frame->RenderCache && !FrameCache(Frame).Mask.empty();
}

const std::vector<std::uint8_t>& MaskBits(TGIFSubImage* Frame) {
  auto lock = LockRendering(Frame);
  return FrameCache(Frame).Mask;
}

HPALETTE GetPalette(TGIFSubImage* Frame) {
  {
    auto lock = LockRendering(Frame);
    TFrameRender& cache = FrameCache(Frame);
    if (cache.Bitmap && cache.Bitmap->Palette()) return cache.Bitmap->Palette();
    if (cache.Palette) return cache.Palette;
    if (UseWebPalette(Frame->Image())) return cache.Palette = CreateWebPalette();
    if (Frame->ColorMap()->Count() > 0) return cache.Palette = PaletteToHandle(TablePalette(Frame->ColorMap()));
  }
  return GetPalette(Frame->Image());  // may change the image and tell its handlers: not under the lock
}

void SetPalette(TGIFSubImage* Frame, HPALETTE Value) {
  {
    auto lock = LockRendering(Frame);
    TFrameRender& cache = FrameCache(Frame);
    if (Value == cache.Palette) return;
    if (cache.Palette) DeleteObject(cache.Palette);
    cache.Palette = Value;
    if (!cache.Bitmap || PaletteFromHandle(cache.Bitmap->Palette()) == PaletteFromHandle(Value)) return;
    cache.FreeBitmap();
    Frame->NeedMask = true;
  }
  TGIFImage* image = Frame->Image();
  image->PaletteModified = true;
  image->Changed(image);
}

void Draw(TGIFSubImage* Frame, TCanvas* ACanvas, const TRect& R, bool Tiled, bool Transparent) {
  TBitmap* bitmap = GetBitmap(Frame);
  if (!bitmap || !ACanvas) return;
  TGIFImage* image = Frame->Image();
  const TRect dest = Tiled ? R : ScaleRect(Frame, R);
  TGraphic* source = bitmap;
  if (Transparent && Frame->Transparent() && HasMask(Frame)) {
    auto lock = LockRendering(Frame);
    source = KeyedBitmap(Frame, FrameCache(Frame));
  }
  if (!Tiled) {
    ACanvas->StretchDraw(dest, source);
    return;
  }
  ForEachTile(R.Left + Frame->Left(), R.Top + Frame->Top(), image->Width(), image->Height(), R,
              [&](int x, int y) { ACanvas->StretchDraw(Bounds(x, y, Frame->Width(), Frame->Height()), source); });
}

// ---------------------------------------------------------------------------
bool UseWebPalette(const TGIFImage* Image) {
  TFrameDrawOptions o = Image->DrawOptions();
  return (o & fdWebPalette) && (!(o & fdWebPaletteOnPaletteDisplay) || DoAutoDither);
}

HPALETTE GetPalette(TGIFImage* Image) {
  TImagePainters& state = PaintersOf(Image);
  if (state.PaletteBusy) throw GIFException("No global or local color table defined");
  state.PaletteBusy = true;
  struct Clear {
    bool& Flag;
    ~Clear() { Flag = false; }
  } clear{state.PaletteBusy};
  if (TImageRender* c = ImageCache(Image); c && c->Bitmap && c->Bitmap->Palette()) return c->Bitmap->Palette();
  if (Image->Palette()) return Image->Palette();
  HPALETTE p = 0;
  if (UseWebPalette(Image)) p = CreateWebPalette();
  else if (Image->GlobalColorMap()->Count() > 0) p = PaletteToHandle(TablePalette(Image->GlobalColorMap()));
  else if (Image->Images()->Count() > 0) return GetPalette(Image->Images()->SubImages(0));
  if (p) Image->SetPalette(p);
  return p;
}

std::shared_ptr<TBitmap> NewPaintingBitmap(TGIFImage* Image) {
  auto bitmap = std::make_shared<TBitmap>();
  if (PaletteDisplay) {
    bitmap->SetPixelFormat(pf8bit);
    if (HPALETTE p = GetPalette(Image)) bitmap->SetPalette(CopyPalette(p));
  } else {
    bitmap->SetPixelFormat(pf32bit);
  }
  bitmap->SetSize(Image->Width(), Image->Height());
  return bitmap;
}

TBitmap* StoreImageBitmap(TGIFImage* Image, std::shared_ptr<TBitmap> Bitmap) {
  // Every drawing into the cached bitmap makes the picture repaint.
  Bitmap->OnChange = TNotifyEvent([Image](TObject*) { Image->Changed(Image); });
  auto cache = std::make_unique<TImageRender>();
  cache->Bitmap = std::move(Bitmap);
  Image->RenderCache = std::move(cache);
  return ImageCache(Image)->Bitmap.get();
}

TBitmap* Bitmap(TGIFImage* Image) {
  if (Image->Empty()) return nullptr;
  if (TImageRender* c = ImageCache(Image); c && c->Bitmap) return c->Bitmap.get();
  TGIFSubImage* first = Image->Images()->SubImages(0);
  std::shared_ptr<TBitmap> bitmap;
  if (first->Width() == Image->Width() && first->Height() == Image->Height()) {
    bitmap = std::make_shared<TBitmap>();
    if (TBitmap* b = GetBitmap(first)) bitmap->Assign(b);
  } else {
    bitmap = NewPaintingBitmap(Image);
    Draw(first, bitmap->Canvas(), Rect(0, 0, Image->Width(), Image->Height()), false, false);
  }
  return StoreImageBitmap(Image, std::move(bitmap));
}
