// Bitmaps in their own pixel format over QImage (never a screen pixmap, so any thread
// may build them), device-independent bitmap files, and icons.
//
// Storage per format: pf1bit Mono, pf4bit and pf8bit Indexed8, pf15bit RGB555, pf16bit
// RGB16, pf24bit BGR888, pf32bit and pfDevice RGB32; except for pf4bit the image's rows
// are byte for byte the layout ScanLine documents. The canvas draws on RGB32: directly
// for pf32bit, through a working copy for the others, written back (nearest palette
// entries for indexed formats) when the pixels are next needed in their own format.
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstring>

#include "graphics_impl.h"
#include "platform/lebytes.h"
#include "platform/resources.h"

namespace {

QImage::Format QtFormat(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
  }
}

bool Indexed(TPixelFormat pf) { return pf == pf1bit || pf == pf4bit || pf == pf8bit; }

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

// Qt wants an entry for every index that may occur.
QList<QRgb> PaddedTable(const QList<QRgb>& colors, TPixelFormat pf) {
  QList<QRgb> t = colors;
  while (t.size() < gfx::MaxColors(pf)) t.push_back(qRgb(0, 0, 0));
  return t;
}

void ForceOpaque(QImage& img) {
  // Read first: an image that is opaque already (anything a painter drew) is not
  // written, so a shared one is not copied.
  const int w = img.width(), h = img.height();
  bool opaque = true;
  for (int y = 0; y < h && opaque; ++y) {
    const QRgb* p = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    QRgb all = 0xFF000000u;
    for (int x = 0; x < w; ++x) all &= p[x];
    opaque = all == 0xFF000000u;
  }
  if (opaque) return;
  for (int y = 0; y < h; ++y) {
    QRgb* p = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) p[x] |= 0xFF000000u;
  }
}

std::uint16_t U16(const uchar* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t U32(const uchar* p) { return std::uint32_t(p[0] | (p[1] << 8) | (p[2] << 16)) | (std::uint32_t(p[3]) << 24); }
using LittleEndian::Put16;
using LittleEndian::Put32;

// ---------------------------------------------------------------------------
// Device-independent bitmaps.
struct Dib {
  TPixelFormat pf = pfDevice;
  QImage image;  // in QtFormat(pf)
  QList<QRgb> colors;
};

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

struct MaskField {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  explicit MaskField(std::uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
  }
  int Get(std::uint32_t v) const { return max ? int(((v & mask) >> shift) * 255 / max) : 0; }
};

// RLE8/RLE4 runs into an Indexed8 image, rows from the bottom (absent pixels: index 0).
void DecodeRle(const uchar* p, size_t n, bool four, QImage& img) {
  int w = img.width(), h = img.height();
  int x = 0, y = h - 1;
  size_t i = 0;
  auto put = [&](int index) {
    if (x < w && y >= 0) img.scanLine(y)[x] = uchar(index);
    ++x;
  };
  while (i + 1 < n && y >= 0) {
    int count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      --y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (i + 1 >= n) return;
      x += p[i];
      y -= p[i + 1];
      i += 2;
    } else {  // absolute run, padded to a word
      size_t bytes = four ? (size_t(value) + 1) / 2 : size_t(value);
      if (i + bytes > n) InvalidBitmap();
      for (int k = 0; k < value; ++k) put(four ? ((k & 1) ? p[i + k / 2] & 15 : p[i + k / 2] >> 4) : p[i + k]);
      i += (bytes + 1) & ~size_t(1);
    }
  }
}

// Parses a bitmap info header at Info, its colour table and pixels. Pixels: offset of
// the pixel data, or 0 for right after the colour table. Icons give the doubled height.
Dib ReadDib(const uchar* buf, size_t len, size_t info, size_t pixels, bool icon, size_t* end = nullptr) {
  if (info + 12 > len) InvalidBitmap();
  const uchar* h = buf + info;
  std::uint32_t hsize = U32(h);
  long long width, height;
  int bpp;
  std::uint32_t compression = BI_RGB, clrUsed = 0, sizeImage = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  size_t entrySize = 4;
  if (hsize == 12) {  // the old core header
    width = U16(h + 4);
    height = U16(h + 6);
    bpp = U16(h + 10);
    entrySize = 3;
  } else if (hsize >= 40 && info + hsize <= len) {
    width = std::int32_t(U32(h + 4));
    height = std::int32_t(U32(h + 8));
    bpp = U16(h + 14);
    compression = U32(h + 16);
    sizeImage = U32(h + 20);
    clrUsed = U32(h + 32);
    if (compression == BI_BITFIELDS) {
      size_t m = hsize >= 52 ? info + 40 : info + hsize;
      if (m + 12 > len) InvalidBitmap();
      for (int i = 0; i < 3; ++i) masks[i] = U32(buf + m + 4 * size_t(i));
      if (hsize == 40) hsize += 12;
    }
  } else {
    InvalidBitmap();
  }
  if (icon) height /= 2;
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0 || height < 0 || width > 0x8000 || height > 0x8000) InvalidBitmap();
  if (width * height > (1LL << 28)) InvalidBitmap();

  Dib d;
  switch (bpp) {
    case 1: d.pf = pf1bit; break;
    case 4: d.pf = pf4bit; break;
    case 8: d.pf = pf8bit; break;
    case 16: d.pf = pf15bit; break;
    case 24: d.pf = pf24bit; break;
    case 32: d.pf = pf32bit; break;
    default: InvalidBitmap();
  }
  bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if ((compression == BI_RLE8 && bpp != 8) || (compression == BI_RLE4 && bpp != 4) ||
      (compression == BI_BITFIELDS && bpp != 16 && bpp != 32) || compression > BI_BITFIELDS || (rle && topDown))
    InvalidBitmap();
  bool generic = false;  // unusual masks: read into pf32bit through the masks
  if (compression == BI_BITFIELDS) {
    if (bpp == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) d.pf = pf16bit;
    else if (bpp == 16 && masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) d.pf = pf15bit;
    else if (!(bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF)) {
      generic = true;
      d.pf = pf32bit;
    }
  }

  size_t table = info + hsize;
  if (Indexed(d.pf)) {
    size_t count = clrUsed ? clrUsed : (1u << bpp);
    if (count > (1u << bpp)) count = 1u << bpp;
    if (table + count * entrySize > len) InvalidBitmap();
    for (size_t i = 0; i < count; ++i) {
      const uchar* e = buf + table + i * entrySize;
      d.colors.push_back(qRgb(e[2], e[1], e[0]));
    }
    table += count * entrySize;
  }
  if (pixels == 0 || pixels < table || pixels > len) pixels = table;
  // Rows the data cannot hold are refused before any pixel memory is taken. RLE data
  // may leave pixels out, but an encoder ends each row with a two-byte code at least:
  // beyond a first million pixels, no more than a 32768-pixel row per two bytes.
  const size_t stride = size_t(BytesPerScanline(int(width), bpp, 32));
  const size_t rowBytes = (size_t(width) * size_t(bpp) + 7) / 8;
  if (!rle && width && height && pixels + stride * size_t(height - 1) + rowBytes > len) InvalidBitmap();
  if (rle && width * height > (1LL << 20) + (long long)(len - pixels) * 16384) InvalidBitmap();

  QImage::Format fmt = QtFormat(d.pf);
  d.image = QImage(int(width), int(height), fmt);
  if (width && height && d.image.isNull()) throw EOutOfResources("Out of system resources");
  if (Indexed(d.pf)) d.image.setColorTable(PaddedTable(d.colors, d.pf));
  if (!width || !height) {
    if (end) *end = pixels;
    return d;
  }

  if (rle) {
    size_t n = len - pixels;
    if (sizeImage && sizeImage < n) n = sizeImage;
    d.image.fill(0);
    DecodeRle(buf + pixels, n, compression == BI_RLE4, d.image);
    if (end) *end = pixels + n;
    return d;
  }

  MaskField mr(masks[0]), mg(masks[1]), mb(masks[2]);
  for (int r = 0; r < height; ++r) {
    const uchar* s = buf + pixels + stride * size_t(r);
    uchar* out = d.image.scanLine(topDown ? r : int(height) - 1 - r);
    if (generic) {
      QRgb* o = reinterpret_cast<QRgb*>(out);
      for (int x = 0; x < width; ++x) {
        std::uint32_t v = bpp == 16 ? U16(s + 2 * x) : U32(s + 4 * x);
        o[x] = qRgb(mr.Get(v), mg.Get(v), mb.Get(v));
      }
    } else if (d.pf == pf4bit) {
      for (int x = 0; x < width; ++x) out[x] = (x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4;
    } else {
      std::memcpy(out, s, rowBytes);
      if (d.pf == pf32bit)
        for (int x = 0; x < width; ++x) out[4 * x + 3] = 0xFF;
    }
  }
  if (end) *end = pixels + stride * size_t(height);
  return d;
}

// The info header, colour table and pixel rows of a bitmap (bottom-up), in its own
// format; ExtraRows doubles the height for icons.
void WriteDib(std::vector<uchar>& out, TPixelFormat pf, const QImage& image, const QList<QRgb>& colors,
              bool icon = false, int ppmX = 3780, int ppmY = 3780) {
  int bits = PixelFormatBits(pf);
  int w = image.width(), h = image.height();
  bool fields = pf == pf16bit;
  int stride = BytesPerScanline(w, bits, 32);
  int count = Indexed(pf) ? int(colors.size()) : 0;
  Put32(out, 40);
  Put32(out, std::uint32_t(w));
  Put32(out, std::uint32_t(icon ? 2 * h : h));
  Put16(out, 1);
  Put16(out, unsigned(bits));
  Put32(out, fields ? BI_BITFIELDS : BI_RGB);
  Put32(out, std::uint32_t(stride * h));
  Put32(out, std::uint32_t(ppmX));  // 3780: 96 dpi
  Put32(out, std::uint32_t(ppmY));
  Put32(out, std::uint32_t(count));
  Put32(out, 0);
  if (fields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (int i = 0; i < count; ++i) {
    out.push_back(uchar(qBlue(colors[i])));
    out.push_back(uchar(qGreen(colors[i])));
    out.push_back(uchar(qRed(colors[i])));
    out.push_back(0);
  }
  std::vector<uchar> row(size_t(stride), 0);
  for (int y = h - 1; y >= 0; --y) {
    const uchar* s = image.constScanLine(y);
    std::fill(row.begin(), row.end(), uchar(0));
    if (pf == pf4bit) {
      for (int x = 0; x < w; ++x) row[size_t(x / 2)] |= uchar((s[x] & 15) << ((x & 1) ? 0 : 4));
    } else {
      std::memcpy(row.data(), s, size_t((w * bits + 7) / 8));
      if (bits == 32)
        for (int x = 0; x < w; ++x) row[size_t(4 * x + 3)] = 0;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

std::vector<uchar> ReadRest(TStream* Stream, std::int64_t limit = -1) {
  std::int64_t avail = Stream->Size() - Stream->Position();
  if (limit >= 0 && limit < avail) avail = limit;
  if (avail < 0) avail = 0;
  std::vector<uchar> buf(static_cast<size_t>(avail));
  if (avail) Stream->ReadBuffer(buf.data(), avail);
  return buf;
}

}  // namespace

int PixelFormatBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

int ScreenColorDepth() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : 0;
}

// ---------------------------------------------------------------------------
struct TBitmap::Impl {
  TBitmap* self = nullptr;
  TPixelFormat pf = pfDevice;
  int width = 0, height = 0;
  QImage native;              // the pixels in their own format
  QList<QRgb> colors;         // the palette of an indexed format, as given
  QImage work;                // RGB32 copy the canvas draws on (not for pf32bit/pfDevice)
  bool workDrawn = false;     // the canvas drew on it (else it was only read)
  std::vector<uchar> packed;  // pf4bit rows handed out by ScanLine
  enum Holder { kNative, kWork, kPacked } holder = kNative;
  bool scanLinesOut = false;  // pf32bit rows handed out: their fourth bytes may be 0
  HPALETTE palette = 0;       // owned
  TTransparentMode tmode = tmAuto;
  TColor tcolor = clNone;
  std::unique_ptr<TCanvas> canvas;
  int ppmX = 3780, ppmY = 3780;  // resolution of the bitmap file

  bool Direct32() const { return QtFormat(pf) == QImage::Format_RGB32; }
  int PackedStride() const { return BytesPerScanline(width, 4, 32); }

  // Brings the newest pixels back into the image in the bitmap's own format.
  void Sync() {
    if (holder == kWork && !workDrawn) {
      work = QImage();  // only read: the pixels (and scan-line pointers) stay as they are
    } else if (holder == kWork) {
      native = Indexed(pf) ? gfx::Quantize(work, colors, QtFormat(pf)) : work.convertToFormat(QtFormat(pf));
      if (Indexed(pf)) native.setColorTable(PaddedTable(colors, pf));
      work = QImage();
    } else if (holder == kPacked) {
      int stride = PackedStride();
      for (int y = 0; y < height; ++y) {
        uchar* d = native.scanLine(y);
        const uchar* s = packed.data() + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x) d[x] = (x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4;
      }
      packed.clear();
    }
    holder = kNative;
    if (scanLinesOut && Direct32()) {
      ForceOpaque(native);
      scanLinesOut = false;
    }
  }

  QImage* DrawSurface() {
    if (Direct32()) {
      Sync();
      return &native;
    }
    if (holder != kWork) {
      Sync();
      work = native.convertToFormat(QImage::Format_RGB32);
      holder = kWork;
      workDrawn = false;
    }
    return &work;
  }

  QImage Rgb32() {
    if (holder == kWork) return work;
    Sync();
    return Direct32() ? native : native.convertToFormat(QImage::Format_RGB32);
  }

  void DropPalette() {
    if (palette) DeleteObject(palette);
    palette = 0;
  }

  // New pixels in place of the old ones (format, size and colours already decided).
  void SetImage(TPixelFormat f, QImage img, QList<QRgb> cols) {
    work = QImage();
    packed.clear();
    holder = kNative;
    scanLinesOut = false;
    if (Indexed(f) || Indexed(pf)) DropPalette();
    pf = f;
    native = std::move(img);
    colors = std::move(cols);
    width = native.width();
    height = native.height();
  }

  // Pixel value (index or colour) standing for white in this format.
  uint WhitePixel() const {
    if (!Indexed(pf)) return 0xFFFFFFFFu;
    int best = 0;
    long long bestD = -1;
    for (int i = 0; i < colors.size(); ++i) {
      long long dr = 255 - qRed(colors[i]), dg = 255 - qGreen(colors[i]), db = 255 - qBlue(colors[i]);
      long long d = dr * dr + dg * dg + db * db;
      if (bestD < 0 || d < bestD) { best = i; bestD = d; }
    }
    return uint(best);
  }

  QImage Blank(int w, int h) const {
    QImage img(w, h, QtFormat(pf));
    if (w && h && img.isNull()) throw EOutOfResources("Out of system resources");
    if (Indexed(pf)) img.setColorTable(PaddedTable(colors, pf));
    if (!img.isNull()) {
      if (Indexed(pf)) img.fill(WhitePixel());
      else img.fill(Qt::white);
    }
    return img;
  }
};

IMPLEMENT_CLASS(TBitmap, TGraphic)

TBitmap::TBitmap() : impl_(std::make_unique<Impl>()) { impl_->self = this; }

TBitmap::~TBitmap() {
  impl_->canvas.reset();
  impl_->DropPalette();
}

bool TBitmap::Empty() const { return impl_->width == 0 || impl_->height == 0; }
int TBitmap::Width() const { return impl_->width; }
int TBitmap::Height() const { return impl_->height; }
void TBitmap::SetWidth(int Value) { SetSize(Value, impl_->height); }
void TBitmap::SetHeight(int Value) { SetSize(impl_->width, Value); }

void TBitmap::SetSize(int AWidth, int AHeight) {
  Impl& b = *impl_;
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AWidth == b.width && AHeight == b.height) return;
  b.Sync();
  if (Indexed(b.pf) && b.colors.isEmpty()) b.colors = gfx::DefaultColors(b.pf);
  QImage img = b.Blank(AWidth, AHeight);
  int w = std::min(AWidth, b.width), h = std::min(AHeight, b.height);
  if (w > 0 && h > 0) {
    if (b.pf == pf1bit) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, uint(b.native.pixelIndex(x, y)));
    } else {
      int bytes = w * img.depth() / 8;
      for (int y = 0; y < h; ++y) std::memcpy(img.scanLine(y), b.native.constScanLine(y), size_t(bytes));
    }
  }
  b.native = std::move(img);
  b.width = AWidth;
  b.height = AHeight;
  Changed(this);
}

void TBitmap::SetSizeForOverwrite(int AWidth, int AHeight) {
  Impl& b = *impl_;
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (!b.Direct32() || (AWidth == b.width && AHeight == b.height)) return SetSize(AWidth, AHeight);
  b.Sync();
  QImage img(AWidth, AHeight, QtFormat(b.pf));
  if (AWidth && AHeight && img.isNull()) throw EOutOfResources("Out of system resources");
  b.native = std::move(img);
  b.width = AWidth;
  b.height = AHeight;
  Changed(this);
}

TPixelFormat TBitmap::PixelFormat() const { return impl_->pf; }

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  Impl& b = *impl_;
  if (Value == b.pf) return;
  b.Sync();
  QList<QRgb> cols;
  if (Indexed(Value)) {
    if (Indexed(b.pf) && !b.colors.isEmpty() && b.colors.size() <= gfx::MaxColors(Value)) cols = b.colors;
    else cols = gfx::DefaultColors(Value);
  }
  int w = b.width, h = b.height;
  QImage img;
  if (!Empty()) {
    QImage rgb = b.native.convertToFormat(QImage::Format_RGB32);
    if (Indexed(Value)) {
      img = gfx::Quantize(rgb, cols, QtFormat(Value));
      img.setColorTable(PaddedTable(cols, Value));
    } else {
      img = rgb.convertToFormat(QtFormat(Value));
    }
  }
  b.SetImage(Value, std::move(img), std::move(cols));
  b.width = w;
  b.height = h;
  Changed(this);
}

bool TBitmap::Monochrome() const { return impl_->pf == pf1bit; }

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (!Value) {
    SetPixelFormat(pfDevice);
    return;
  }
  impl_->Sync();
  impl_->colors.clear();  // black and white, whatever the palette was
  if (Indexed(impl_->pf)) impl_->pf = pf8bit;
  SetPixelFormat(pf1bit);
}

HPALETTE TBitmap::Palette() const {
  Impl& b = *impl_;
  if (!b.palette && Indexed(b.pf)) {
    if (b.colors.isEmpty()) b.colors = gfx::DefaultColors(b.pf);
    b.palette = gfx::PaletteFromColors(b.colors);
  }
  return b.palette;
}

void TBitmap::SetPalette(HPALETTE Value) {
  Impl& b = *impl_;
  if (Value == b.palette) return;
  b.DropPalette();
  b.palette = Value;
  if (Indexed(b.pf) && Value) {
    b.Sync();
    QList<QRgb> cols = gfx::ColorsFromPalette(Value);
    if (cols.size() > gfx::MaxColors(b.pf)) cols.resize(gfx::MaxColors(b.pf));
    if (!cols.isEmpty()) {
      b.colors = cols;
      if (!b.native.isNull()) b.native.setColorTable(PaddedTable(cols, b.pf));
    }
  }
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  HPALETTE h = Palette();
  impl_->palette = h ? CopyPalette(h) : 0;  // the bitmap keeps its colours
  return h;
}

TCanvas* TBitmap::Canvas() {
  Impl& b = *impl_;
  if (!b.canvas) {
    b.canvas = std::make_unique<TCanvas>();
    AttachCanvasToSurface(b.canvas.get(), {[&b] { return b.DrawSurface(); }, {},
                                           [&b](const QRect& dirty) {
                                             if (b.holder == Impl::kWork) b.workDrawn = true;
                                             if (Indexed(b.pf) && b.holder == Impl::kWork)
                                               gfx::SnapToColors(b.work, dirty, b.colors);
                                             b.self->Changed(b.self);
                                           },
                                           [&b]() -> const QImage* {
                                             if (b.holder == Impl::kWork) return &b.work;
                                             b.Sync();
                                             return &b.native;
                                           }});
  }
  return b.canvas.get();
}

void* TBitmap::ScanLine(int Row) {
  Impl& b = *impl_;
  if (Row < 0 || Row >= b.height) throw EInvalidGraphicOperation("Scan line index out of range");
  if (b.pf == pf4bit) {
    if (b.holder != Impl::kPacked) {
      b.Sync();
      int stride = b.PackedStride();
      b.packed.assign(size_t(stride) * size_t(b.height), 0);
      for (int y = 0; y < b.height; ++y) {
        const uchar* s = b.native.constScanLine(y);
        uchar* d = b.packed.data() + size_t(y) * size_t(stride);
        for (int x = 0; x < b.width; ++x) d[x / 2] |= uchar((s[x] & 15) << ((x & 1) ? 0 : 4));
      }
      b.holder = Impl::kPacked;
    }
    return b.packed.data() + size_t(Row) * size_t(b.PackedStride());
  }
  // Rows already handed out stay as they are: forcing the whole image opaque on every
  // call made a loop over the rows quadratic. Drawing and reading still force it first.
  if (!(b.Direct32() && b.holder == Impl::kNative && b.scanLinesOut)) b.Sync();
  if (b.Direct32()) b.scanLinesOut = true;
  return b.native.scanLine(Row);
}

TColor TBitmap::TransparentColor() const {
  Impl& b = *impl_;
  if (b.tmode == tmFixed) return b.tcolor;
  if (Empty()) return clNone;
  return FromQRgb(b.Rgb32().pixel(0, b.height - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  impl_->tcolor = Value;
  impl_->tmode = tmFixed;
  Changed(this);
}

TTransparentMode TBitmap::TransparentMode() const { return impl_->tmode; }

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == impl_->tmode) return;
  impl_->tmode = Value;
  if (Value == tmAuto) impl_->tcolor = clNone;
  Changed(this);
}

void TBitmap::Assign(TPersistent* Source) {
  Impl& b = *impl_;
  if (Source == this) return;
  if (!Source) {
    b.SetImage(b.pf, QImage(), Indexed(b.pf) ? b.colors : QList<QRgb>{});
    Changed(this);
    return;
  }
  auto* src = dynamic_cast<TBitmap*>(Source);
  if (!src) {
    TGraphic::Assign(Source);
    return;
  }
  Impl& s = *src->impl_;
  s.Sync();
  b.SetImage(s.pf, s.native.copy(), s.colors);
  b.DropPalette();
  if (s.palette) b.palette = CopyPalette(s.palette);
  b.tmode = s.tmode;
  b.tcolor = s.tcolor;
  b.ppmX = s.ppmX;
  b.ppmY = s.ppmY;
  TGraphic::SetTransparent(src->Transparent());
  Changed(this);
}

int TBitmap::PixelsPerMeterX() const { return impl_->ppmX; }
int TBitmap::PixelsPerMeterY() const { return impl_->ppmY; }

void TBitmap::SetPixelsPerMeter(int X, int Y) {
  impl_->ppmX = X > 0 ? X : 3780;
  impl_->ppmY = Y > 0 ? Y : 3780;
}

int TBitmap::Dpi() const { return int(std::lround(impl_->ppmX * 0.0254)); }

void TBitmap::SetDpi(int Value) {
  const int ppm = Value > 0 ? int(std::lround(Value / 0.0254)) : 3780;
  SetPixelsPerMeter(ppm, ppm);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  std::int64_t start = Stream->Position();
  std::int64_t avail = Stream->Size() - start;
  uchar fh[14];
  if (avail < 14) InvalidBitmap();
  Stream->ReadBuffer(fh, 14);
  if (fh[0] != 'B' || fh[1] != 'M') InvalidBitmap();
  std::int64_t total = U32(fh + 2);
  if (total < 14 + 12 || total > avail) total = avail;
  std::vector<uchar> buf(static_cast<size_t>(total));
  std::memcpy(buf.data(), fh, 14);
  Stream->ReadBuffer(buf.data() + 14, total - 14);
  Dib d = ReadDib(buf.data(), buf.size(), 14, U32(fh + 10), false);
  Impl& b = *impl_;
  b.SetImage(d.pf, std::move(d.image), std::move(d.colors));
  const bool info = buf.size() >= 14 + 32 && U32(buf.data() + 14) >= 40;  // older headers carry none
  const int x = info ? int(U32(buf.data() + 14 + 24)) : 0, y = info ? int(U32(buf.data() + 14 + 28)) : 0;
  SetPixelsPerMeter(x, y);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  Impl& b = *impl_;
  b.Sync();
  if (Indexed(b.pf) && b.colors.isEmpty()) b.colors = gfx::DefaultColors(b.pf);
  QImage img = b.native.isNull() ? QImage(b.width, b.height, QtFormat(b.pf)) : b.native;
  std::vector<uchar> dib;
  WriteDib(dib, b.pf, img, b.colors, false, b.ppmX, b.ppmY);
  std::uint32_t headerAndTable = 40 + (b.pf == pf16bit ? 12 : 0) + 4 * std::uint32_t(Indexed(b.pf) ? b.colors.size() : 0);
  std::vector<uchar> out = {'B', 'M'};
  Put32(out, std::uint32_t(14 + dib.size()));
  Put32(out, 0);
  Put32(out, 14 + headerAndTable);
  out.insert(out.end(), dib.begin(), dib.end());
  Stream->WriteBuffer(out.data(), std::int64_t(out.size()));
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || !ACanvas) return;
  QImage img = impl_->Rgb32();
  if (Transparent()) CanvasDrawTransparent(ACanvas, Rect, img, ToQRgb(TransparentColor()));
  else CanvasDrawImage(ACanvas, Rect, img, img.rect());
}

QImage BitmapToQImage(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return QImage();
  return Bitmap->GetImpl()->Rgb32();
}

QImage TakeBitmapImage(TBitmap* Bitmap, int Width, int Height) {
  TBitmap::Impl& b = *Bitmap->GetImpl();
  if (b.pf != pf32bit || b.holder != TBitmap::Impl::kNative || b.native.width() != Width ||
      b.native.height() != Height || b.native.format() != QImage::Format_RGB32 || !b.native.isDetached())
    return QImage();
  QImage img = std::move(b.native);
  b.SetImage(pf32bit, QImage(), {});
  return img;
}

void BitmapFromQImage(TBitmap* Bitmap, const QImage& Image) {
  TBitmap::Impl& b = *Bitmap->GetImpl();
  if (Image.format() == QImage::Format_Indexed8 && Image.colorCount() <= 256) {
    b.SetImage(pf8bit, Image, Image.colorTable());
  } else {
    QImage img = Image.convertToFormat(QImage::Format_RGB32);
    ForceOpaque(img);
    b.SetImage(pf32bit, img, {});
  }
  Bitmap->Changed(Bitmap);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TIcon, TGraphic)

TIcon::TIcon() : image_(std::make_unique<TBitmap>()), mask_(std::make_unique<TBitmap>()) {
  image_->SetPixelFormat(pf32bit);
  mask_->SetPixelFormat(pf1bit);
}

TIcon::~TIcon() = default;

bool TIcon::Empty() const { return image_->Empty(); }
int TIcon::Width() const { return image_->Width(); }
int TIcon::Height() const { return image_->Height(); }
void TIcon::SetWidth(int Value) { SetSize(Value, Height()); }
void TIcon::SetHeight(int Value) { SetSize(Width(), Value); }
TBitmap* TIcon::Image() const { return image_.get(); }
TBitmap* TIcon::Mask() const { return mask_.get(); }

void TIcon::SetSize(int AWidth, int AHeight) {
  image_->SetSize(AWidth, AHeight);
  mask_->SetSize(AWidth, AHeight);
  Changed(this);
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    image_->Assign(i->image_.get());
    mask_->Assign(i->mask_.get());
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

// An icon file: a directory of images, each a bitmap of doubled height (colour rows,
// then the mask) or a compressed picture with an alpha channel.
void TIcon::LoadFromStream(TStream* Stream) {
  auto invalid = [] { throw EInvalidGraphic("Icon image is not valid"); };
  std::vector<uchar> buf = ReadRest(Stream);
  if (buf.size() < 6 + 16 || U16(buf.data()) != 0 || U16(buf.data() + 2) != 1 || U16(buf.data() + 4) == 0) invalid();
  std::uint32_t size = U32(buf.data() + 6 + 8), offset = U32(buf.data() + 6 + 12);
  if (offset >= buf.size() || size > buf.size() - offset) invalid();
  const uchar* p = buf.data() + offset;
  auto image = std::make_unique<TBitmap>();
  auto mask = std::make_unique<TBitmap>();
  if (size >= 8 && std::memcmp(p, "\x89PNG", 4) == 0) {
    QImage png = QImage::fromData(p, int(size)).convertToFormat(QImage::Format_ARGB32);
    if (png.isNull()) invalid();
    BitmapFromQImage(image.get(), png);
    mask->SetPixelFormat(pf1bit);
    mask->SetSize(png.width(), png.height());
    for (int y = 0; y < png.height(); ++y) {
      uchar* m = static_cast<uchar*>(mask->ScanLine(y));
      std::memset(m, 0, size_t(BytesPerScanline(png.width(), 1, 32)));
      for (int x = 0; x < png.width(); ++x)
        if (qAlpha(png.pixel(x, y)) < 128) m[x / 8] |= uchar(0x80 >> (x & 7));
    }
  } else {
    size_t end = 0;
    Dib d;
    try {
      d = ReadDib(buf.data(), offset + size, offset, 0, true, &end);
    } catch (const EInvalidGraphic&) {
      invalid();
    }
    int w = d.image.width(), h = d.image.height();
    image->GetImpl()->SetImage(d.pf, std::move(d.image), std::move(d.colors));
    mask->SetPixelFormat(pf1bit);
    mask->SetSize(w, h);
    size_t stride = size_t(BytesPerScanline(w, 1, 32));
    if (end + stride * size_t(h) > offset + size) invalid();
    for (int y = 0; y < h; ++y)
      std::memcpy(mask->ScanLine(h - 1 - y), buf.data() + end + stride * size_t(y), stride);
  }
  image_ = std::move(image);
  mask_ = std::move(mask);
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
  int w = Width(), h = Height();
  TBitmap::Impl& img = *image_->GetImpl();
  img.Sync();
  std::vector<uchar> dib;
  QList<QRgb> colors = img.colors;
  if (Indexed(img.pf) && colors.isEmpty()) colors = gfx::DefaultColors(img.pf);
  WriteDib(dib, img.pf, img.native.isNull() ? QImage(w, h, QtFormat(img.pf)) : img.native, colors, true);
  size_t stride = size_t(BytesPerScanline(w, 1, 32));
  for (int y = h - 1; y >= 0; --y) {
    const uchar* m = static_cast<const uchar*>(mask_->ScanLine(y));
    dib.insert(dib.end(), m, m + stride);
  }
  std::vector<uchar> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(uchar(w >= 256 ? 0 : w));
  out.push_back(uchar(h >= 256 ? 0 : h));
  out.push_back(uchar(Indexed(img.pf) && colors.size() < 256 ? colors.size() : 0));
  out.push_back(0);
  Put16(out, 1);
  Put16(out, unsigned(PixelFormatBits(img.pf)));
  Put32(out, std::uint32_t(dib.size()));
  Put32(out, 6 + 16);
  out.insert(out.end(), dib.begin(), dib.end());
  Stream->WriteBuffer(out.data(), std::int64_t(out.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || !ACanvas) return;
  QImage img = BitmapToQImage(image_.get());
  QImage mask = BitmapToQImage(mask_.get());
  CanvasDrawImage(ACanvas, Rect, img, img.rect(), &mask);
}

void TBitmap::LoadFromResourceName(const std::string& ResName) {
  TResourceStream s(ResName);
  LoadFromStream(&s);
}
