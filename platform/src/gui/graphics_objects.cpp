// Pens, brushes, fonts, palette handles and the small arithmetic helpers.
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "graphics_impl.h"

int MulDiv(int Number, int Numerator, int Denominator) {
  if (Denominator == 0) return -1;
  long long p = (long long)Number * Numerator;
  long long q = Denominator;
  if (q < 0) { p = -p; q = -q; }
  long long r = (p >= 0 ? p + q / 2 : p - q / 2) / q;
  return int(r);
}

int BytesPerScanline(int PixelsPerScanline, int BitsPerPixel, int Alignment) {
  if (Alignment <= 0) Alignment = 32;
  long long bits = (long long)PixelsPerScanline * BitsPerPixel;
  return int(((bits + Alignment - 1) / Alignment) * Alignment / 8);
}

// ---------------------------------------------------------------------------
// Palette handles: a process-wide table, safe to use from any thread.
namespace {

struct PaletteTable {
  std::mutex lock;
  std::unordered_map<HPALETTE, std::vector<TPaletteEntry>> map;
  HPALETTE next = 0x10000;
};

PaletteTable& Palettes() {
  static PaletteTable table;
  return table;
}

HPALETTE NewPalette(std::vector<TPaletteEntry> entries) {
  PaletteTable& t = Palettes();
  std::lock_guard<std::mutex> g(t.lock);
  HPALETTE h = t.next;
  t.next += 4;
  t.map.emplace(h, std::move(entries));
  return h;
}

}  // namespace

HPALETTE CreatePalette(const TLogPalette& LogPalette) {
  int n = LogPalette.palNumEntries;
  if (n < 1 || n > 256) return 0;
  return NewPalette(std::vector<TPaletteEntry>(LogPalette.palPalEntry, LogPalette.palPalEntry + n));
}

bool DeleteObject(HPALETTE Palette) {
  PaletteTable& t = Palettes();
  std::lock_guard<std::mutex> g(t.lock);
  return t.map.erase(Palette) > 0;
}

int GetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, TPaletteEntry* Entries) {
  PaletteTable& t = Palettes();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.map.find(Palette);
  if (it == t.map.end()) return 0;
  int size = int(it->second.size());
  if (!Entries) return size;
  int n = 0;
  for (int i = StartIndex; i >= 0 && i < size && n < Count; ++i) Entries[n++] = it->second[size_t(i)];
  return n;
}

int SetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, const TPaletteEntry* Entries) {
  PaletteTable& t = Palettes();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.map.find(Palette);
  if (it == t.map.end() || !Entries) return 0;
  int size = int(it->second.size());
  int n = 0;
  for (int i = StartIndex; i >= 0 && i < size && n < Count; ++i) it->second[size_t(i)] = Entries[n++];
  return n;
}

HPALETTE CopyPalette(HPALETTE Palette) {
  std::vector<TPaletteEntry> e = gfx::PaletteEntries(Palette);
  return e.empty() ? 0 : NewPalette(std::move(e));
}

int GetNearestPaletteIndex(HPALETTE Palette, TColor Color) {
  std::vector<TPaletteEntry> e = gfx::PaletteEntries(Palette);
  TColor c = ColorToRGB(Color);
  int best = -1;
  long long bestD = 0;
  for (size_t i = 0; i < e.size(); ++i) {
    long long dr = e[i].peRed - GetRValue(c), dg = e[i].peGreen - GetGValue(c), db = e[i].peBlue - GetBValue(c);
    long long d = dr * dr + dg * dg + db * db;
    if (best < 0 || d < bestD) { best = int(i); bestD = d; }
  }
  return best;
}

namespace gfx {

std::vector<TPaletteEntry> PaletteEntries(HPALETTE Palette) {
  PaletteTable& t = Palettes();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.map.find(Palette);
  return it == t.map.end() ? std::vector<TPaletteEntry>{} : it->second;
}

HPALETTE PaletteFromColors(const QList<QRgb>& Colors) {
  std::vector<TPaletteEntry> e;
  for (QRgb c : Colors) e.push_back({std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)), 0});
  return e.empty() ? 0 : NewPalette(std::move(e));
}

QList<QRgb> ColorsFromPalette(HPALETTE Palette) {
  QList<QRgb> c;
  for (const TPaletteEntry& e : PaletteEntries(Palette)) c.push_back(qRgb(e.peRed, e.peGreen, e.peBlue));
  return c;
}

int MaxColors(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 2;
    case pf4bit: return 16;
    case pf8bit: return 256;
    default: return 0;
  }
}

QList<QRgb> DefaultColors(TPixelFormat Format) {
  // The sixteen standard colours in the device's order (silver before grey).
  static const QRgb standard[16] = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  QList<QRgb> c;
  if (Format == pf1bit) return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  for (QRgb s : standard) c.push_back(s);
  if (Format == pf4bit) return c;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) c.push_back(qRgb(r * 51, g * 51, b * 51));
  for (int i = 0; i < 24; ++i) c.push_back(qRgb(8 + i * 10, 8 + i * 10, 8 + i * 10));
  return c;
}

namespace {

// Nearest entry by squared distance, remembered per colour.
class NearestColor {
public:
  explicit NearestColor(const QList<QRgb>& colors) : colors_(colors) {}
  int operator()(QRgb c) {
    c &= 0xFFFFFF;
    auto it = cache_.find(c);
    if (it != cache_.end()) return it->second;
    int best = 0;
    long long bestD = -1;
    for (int i = 0; i < colors_.size(); ++i) {
      long long dr = qRed(colors_[i]) - qRed(c), dg = qGreen(colors_[i]) - qGreen(c),
                db = qBlue(colors_[i]) - qBlue(c);
      long long d = dr * dr + dg * dg + db * db;
      if (bestD < 0 || d < bestD) { best = i; bestD = d; }
      if (d == 0) break;
    }
    cache_.emplace(c, best);
    return best;
  }

private:
  const QList<QRgb>& colors_;
  std::unordered_map<QRgb, int> cache_;
};

}  // namespace

QImage Quantize(const QImage& Rgb32, const QList<QRgb>& Colors, QImage::Format Format) {
  QImage out(Rgb32.size(), Format);
  out.setColorTable(Colors);
  NearestColor nearest(Colors);
  for (int y = 0; y < Rgb32.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(Rgb32.constScanLine(y));
    uchar* d = out.scanLine(y);
    if (Format == QImage::Format_Indexed8) {
      for (int x = 0; x < Rgb32.width(); ++x) d[x] = uchar(nearest(s[x]));
    } else {
      std::fill(d, d + out.bytesPerLine(), uchar(0));
      for (int x = 0; x < Rgb32.width(); ++x)
        if (nearest(s[x]) & 1) d[x >> 3] |= uchar(0x80 >> (x & 7));
    }
  }
  return out;
}

void SnapToColors(QImage& Rgb32, const QRect& Area, const QList<QRgb>& Colors) {
  QRect a = Area.intersected(Rgb32.rect());
  if (a.isEmpty() || Colors.isEmpty()) return;
  NearestColor nearest(Colors);
  for (int y = a.top(); y <= a.bottom(); ++y) {
    QRgb* p = reinterpret_cast<QRgb*>(Rgb32.scanLine(y));
    for (int x = a.left(); x <= a.right(); ++x) p[x] = Colors[nearest(p[x])] | 0xFF000000u;
  }
}

}  // namespace gfx

// ---------------------------------------------------------------------------
QRgb ToQRgb(TColor Color) {
  TColor c = ColorToRGB(Color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

QFont ToQFont(const TFont& Font, bool Antialias) {
  MeasureFontSubstitutes();
  QFont q(QString::fromStdString(Font.Name()));
  q.setBold(HasFontStyle(Font.Style(), fsBold));
  q.setItalic(HasFontStyle(Font.Style(), fsItalic));
  q.setUnderline(HasFontStyle(Font.Style(), fsUnderline));
  q.setStrikeOut(HasFontStyle(Font.Style(), fsStrikeOut));
  q.setKerning(false);
  if (Font.Quality() != fqDefault) Antialias = Font.Quality() == fqBest;
  q.setStyleStrategy(Antialias ? QFont::PreferAntialias : QFont::NoAntialias);
  // Monochrome glyphs at unhinted advances stand apart inside words ("Volum e"): they
  // are fitted to the pixel grid, as the classic system draws them. Smooth text is
  // fitted the same way, so a text keeps its width whatever its quality.
  q.setHintingPreference(QFont::PreferFullHinting);
  if (Font.LetterSpacing() != 0) q.setLetterSpacing(QFont::AbsoluteSpacing, Font.LetterSpacing());
  if (Font.Pitch() == fpFixed) {
    q.setFixedPitch(true);
    q.setStyleHint(QFont::TypeWriter);
  }
  // Qt's metrics overflow for giant fonts, which a hostile picture or text can ask
  // for: they are drawn at most this tall.
  constexpr long long MaxPixels = 1 << 14;
  long long h = Font.Height();
  if (h == 0) h = -11;
  if (h < 0) {
    q.setPixelSize(int(std::min(-h, MaxPixels)));
  } else {
    // A cell height: scale the em so that ascent + descent comes out at h.
    q.setPixelSize(100);
    QFontMetricsF m(q);
    double cell = m.ascent() + m.descent();
    q.setPixelSize(int(std::clamp(std::llround(double(h) * 100.0 / (cell > 0 ? cell : 100.0)), 1LL, MaxPixels)));
  }
  return q;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// Setters of the drawing attributes: store and notify only on a real change.
#define GRAPHICS_SET(field, value) \
  do {                             \
    if ((field) == (value)) return; \
    (field) = (value);             \
    Changed();                     \
  } while (0)

IMPLEMENT_CLASS_PROPS(TPen, TGraphicsObject)

void TPen::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TPen::Color, &TPen::SetColor).Default((long long)clBlack);
  t.Enum("Mode", &TPen::Mode, &TPen::SetMode,
         {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
          "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"})
      .Default((long long)pmCopy);
  t.Enum("Style", &TPen::Style, &TPen::SetStyle,
         {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"})
      .Default((long long)psSolid);
  t.Int("Width", &TPen::Width, &TPen::SetWidth).Default(1LL);
}

void TPen::SetColor(TColor Value) { GRAPHICS_SET(color_, Value); }
void TPen::SetWidth(int Value) {
  if (Value < 0) return;
  GRAPHICS_SET(width_, Value);
}
void TPen::SetStyle(TPenStyle Value) { GRAPHICS_SET(style_, Value); }
void TPen::SetMode(TPenMode Value) { GRAPHICS_SET(mode_, Value); }
void TPen::SetEndCap(TPenEndCap Value) { GRAPHICS_SET(endCap_, Value); }
void TPen::SetDashPattern(const std::vector<int>& Value) {
  std::vector<int> v;
  for (int run : Value) v.push_back(std::max(run, 0));
  if (std::all_of(v.begin(), v.end(), [](int run) { return run == 0; })) v.clear();
  else if (v.size() % 2) v.push_back(0);  // dash, gap pairs
  GRAPHICS_SET(dashPattern_, v);
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    endCap_ = p->endCap_;
    dashPattern_ = p->dashPattern_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

IMPLEMENT_CLASS_PROPS(TBrush, TGraphicsObject)

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TBrush::Color, &TBrush::SetColor).Default((long long)clWhite);
  t.Enum("Style", &TBrush::Style, &TBrush::SetStyle,
         {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
          "bsDiagCross"})
      .Default((long long)bsSolid);
}

void TBrush::SetColor(TColor Value) {
  if (color_ == Value && style_ != bsClear) return;
  color_ = Value;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) { GRAPHICS_SET(style_, Value); }

void TBrush::SetBitmap(TBitmap* Value) {
  bitmap_ = Value;
  pattern_.reset();
  if (Value && !Value->Empty()) {
    auto p = std::make_shared<Pattern>();
    p->Image = BitmapToQImage(Value);
    pattern_ = std::move(p);
  }
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    color_ = b->color_;
    style_ = b->style_;
    bitmap_ = b->bitmap_;
    pattern_ = b->pattern_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

IMPLEMENT_CLASS_PROPS(TFont, TGraphicsObject)

void TFont::DefineProperties(TPropertyTable& t) {
  t.Int("Charset", &TFont::Charset, &TFont::SetCharset).Default((long long)DEFAULT_CHARSET);
  t.Color("Color", &TFont::Color, &TFont::SetColor).Default((long long)clWindowText);
  t.Int("Height", &TFont::Height, &TFont::SetHeight);
  t.Str("Name", &TFont::Name, &TFont::SetName);
  t.Int("Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0LL);
  t.Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"})
      .Default((long long)fpDefault);
  t.Int("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  t.Set("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
      .Default(0LL);
}

void TFont::Changed() {
  ++generation_;
  TGraphicsObject::Changed();
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty()) return;
  GRAPHICS_SET(name_, Value);
}
void TFont::SetHeight(int Value) { GRAPHICS_SET(height_, Value); }
void TFont::SetStyle(TFontStyles Value) { GRAPHICS_SET(style_, Value & 0xFu); }
void TFont::SetColor(TColor Value) { GRAPHICS_SET(color_, Value); }
void TFont::SetOrientation(int Value) { GRAPHICS_SET(orientation_, Value); }
void TFont::SetPitch(TFontPitch Value) { GRAPHICS_SET(pitch_, Value); }
void TFont::SetCharset(TFontCharset Value) { GRAPHICS_SET(charset_, Value); }
void TFont::SetLetterSpacing(int Value) { GRAPHICS_SET(letterSpacing_, Value); }
void TFont::SetQuality(TFontQuality Value) { GRAPHICS_SET(quality_, Value); }

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    name_ = f->name_;
    height_ = f->height_;
    style_ = f->style_;
    color_ = f->color_;
    orientation_ = f->orientation_;
    pitch_ = f->pitch_;
    charset_ = f->charset_;
    letterSpacing_ = f->letterSpacing_;
    quality_ = f->quality_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}
