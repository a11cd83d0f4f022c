// Enhanced and Windows metafile forms of a record list, and the reader of the
// subset we write.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/lebytes.h"
#include "platform/metafile_records.h"
#include "platform/rtl.h"
#include "platform/textcodec.h"

namespace mf {
namespace {

// Sums and differences of coordinates as the files' 32-bit arithmetic gives them:
// rectangles read from hostile files may span more than an int.
std::int32_t Plus(std::int32_t a, std::int32_t b) { return std::int32_t(std::uint32_t(a) + std::uint32_t(b)); }
std::int32_t Span(std::int32_t from, std::int32_t to) { return std::int32_t(std::uint32_t(to) - std::uint32_t(from)); }

// ---------------------------------------------------------------------------
// Little-endian byte building.
struct TBytes {
  std::vector<std::uint8_t> b;
  void u8(std::uint32_t v) { b.push_back(std::uint8_t(v)); }
  void u16(std::uint32_t v) { LittleEndian::Put16(b, std::uint16_t(v)); }
  void u32(std::uint32_t v) { LittleEndian::Put32(b, v); }
  void i16(int v) { LittleEndian::PutInt16(b, std::int16_t(std::clamp(v, -32768, 32767))); }
  void i32(int v) { LittleEndian::PutInt32(b, v); }
  void f32(float v) { LittleEndian::PutFloat(b, v); }
  void pad4() { while (b.size() % 4) u8(0); }
  void set32(std::size_t at, std::uint32_t v) { LittleEndian::Set32(b, at, v); }
  void set16(std::size_t at, std::uint32_t v) { LittleEndian::Set16(b, at, std::uint16_t(v)); }
};

constexpr int kROP2[16] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};  // by TPenMode
int PenModeFromROP2(int rop) {
  for (int i = 0; i < 16; ++i)
    if (kROP2[i] == rop) return i;
  return 4;
}

TRect BoxOf(const TRecord& r) {
  TRect b{r.Points[0].X, r.Points[0].Y, r.Points[1].X, r.Points[1].Y};
  if (b.Right < b.Left) std::swap(b.Left, b.Right);
  if (b.Bottom < b.Top) std::swap(b.Top, b.Bottom);
  return b;
}

TRect Bounds(const std::vector<TPoint>& pts) {
  if (pts.empty()) return {};
  TRect r{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
  for (const TPoint& p : pts) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

// Beziers have no Windows metafile record: flattened into 16 steps per segment.
std::vector<TPoint> FlattenBezier(const std::vector<TPoint>& p) {
  std::vector<TPoint> out{p[0]};
  for (std::size_t i = 1; i + 2 < p.size(); i += 3) {
    const TPoint a = p[i - 1], b = p[i], c = p[i + 1], d = p[i + 2];
    for (int k = 1; k <= 16; ++k) {
      const double t = k / 16.0, u = 1 - t;
      const double x = u * u * u * a.X + 3 * u * u * t * b.X + 3 * u * t * t * c.X + t * t * t * d.X;
      const double y = u * u * u * a.Y + 3 * u * u * t * b.Y + 3 * u * t * t * c.Y + t * t * t * d.Y;
      out.push_back({int(std::lround(x)), int(std::lround(y))});
    }
  }
  return out;
}

int Weight(unsigned style) { return (style & 1u) ? 700 : 400; }

// Shapes that the records describe with the pen, the brush or both; the device
// state the writers keep in step before each of them.
bool UsesPen(TOp op) { return op != TOp::FillRect && op != TOp::FrameRect && op != TOp::Bitmap && op != TOp::Text; }
bool UsesBrush(TOp op) {
  return op == TOp::Polygon || op == TOp::Rectangle || op == TOp::Ellipse || op == TOp::RoundRect ||
         op == TOp::Pie || op == TOp::FillRect || op == TOp::FrameRect;
}

// Both writers share the state tracking and the object table; each form says how
// a record is spelled.
class TWriter {
public:
  virtual ~TWriter() = default;
  void Run(const TPicture& pic) {
    for (const TRecord& r : pic.Records) One(r);
  }
  int objects = 0;

protected:
  virtual int CreatePen(const TPenState& p) = 0;
  virtual int CreateBrush(const TBrushState& b) = 0;
  virtual int CreateFont(const TFontState& f) = 0;
  virtual void Select(int index) = 0;
  virtual void SetInt(int what, std::uint32_t value) = 0;  // 0 bk mode, 1 rop2, 2 text align, 3 text colour, 4 bk colour
  virtual void SaveDC() = 0;
  virtual void RestoreDC() = 0;
  virtual void ClipRect(const TRect& r) = 0;
  virtual void Shape(const TRecord& r) = 0;

  void Invalidate() {
    selPen = selBrush = selFont = -1;
    ints.clear();
  }

private:
  void Set(int what, std::uint32_t v) {
    auto it = ints.find(what);
    if (it != ints.end() && it->second == v) return;
    ints[what] = v;
    SetInt(what, v);
  }
  int PenObject(TPenState p) {
    if (p.Width < 0) p.Width = 0;
    p.Mode = 0;
    auto it = pens.find(std::tie(p.Color, p.Width, p.Style));
    if (it != pens.end()) return it->second;
    int i = CreatePen(p);
    pens[std::tie(p.Color, p.Width, p.Style)] = i;
    return i;
  }
  int BrushObject(const TBrushState& b) {
    auto key = std::make_pair(b.Color, b.Style);
    auto it = brushes.find(key);
    if (it != brushes.end()) return it->second;
    int i = CreateBrush(b);
    brushes[key] = i;
    return i;
  }
  int FontObject(const TFontState& f) {
    for (auto& [font, index] : fonts)
      if (font == f) return index;
    int i = CreateFont(f);
    fonts.emplace_back(f, i);
    return i;
  }
  void SelectIf(int& current, int wanted) {
    if (current == wanted) return;
    current = wanted;
    Select(wanted);
  }
  void One(const TRecord& r) {
    switch (r.Op) {
      case TOp::PushClipRect:
      case TOp::PushClipPolygon:
        if (r.Points.empty()) return;
        SaveDC();
        ++depth;
        {
          TRect b = r.Op == TOp::PushClipRect ? BoxOf(r) : Bounds(r.Points);
          ClipRect(b);
        }
        return;
      case TOp::PopClip:
        if (depth == 0) return;
        --depth;
        RestoreDC();
        Invalidate();
        return;
      default: break;
    }
    if (UsesPen(r.Op)) {
      Set(1, std::uint32_t(kROP2[std::clamp(r.Pen.Mode, 0, 15)]));
      SelectIf(selPen, PenObject(r.Pen));
    } else if (r.Op == TOp::Text && r.TextKind == tkOutline) {
      SelectIf(selPen, PenObject(r.Pen));
    }
    if (UsesBrush(r.Op)) {
      TBrushState b = r.Brush;
      if (r.Op == TOp::FrameRect) b.Style = 0;
      SelectIf(selBrush, BrushObject(b));
    }
    if (r.Op != TOp::Bitmap) {
      Set(0, r.Opaque ? 2 : 1);
      if (r.Opaque) Set(4, std::uint32_t(r.BkColor & 0xFFFFFF));
    }
    if (r.Op == TOp::Text) {
      SelectIf(selFont, FontObject(r.Font));
      Set(2, r.TextAlign);
      Set(3, std::uint32_t(r.Font.Color & 0xFFFFFF));
    }
    Shape(r);
  }

  std::map<std::tuple<TColor, int, int>, int> pens;
  std::map<std::pair<TColor, int>, int> brushes;
  std::vector<std::pair<TFontState, int>> fonts;
  std::map<int, std::uint32_t> ints;
  int selPen = -1, selBrush = -1, selFont = -1;
  int depth = 0;
};

// The fields of a logical font before its face name: 32-bit sizes in EMF, 16-bit in
// WMF.
void FontFields(TBytes& o, const TFontState& f, bool wide, std::uint32_t charset) {
  const int sizes[5] = {f.Height, 0, f.Orientation, f.Orientation, Weight(f.Style)};
  for (int v : sizes) {
    if (wide) o.i32(v);
    else o.i16(v);
  }
  o.u8((f.Style & 2u) ? 1 : 0);
  o.u8((f.Style & 4u) ? 1 : 0);
  o.u8((f.Style & 8u) ? 1 : 0);
  o.u8(charset);
  for (int k = 0; k < 4; ++k) o.u8(0);
}

// A frame as four filled boxes in GDI's rectangle convention (a null pen leaves out
// the right and bottom edge, so each box reaches one further).
std::array<TRect, 4> FrameSides(const TRect& b) {
  const int r1 = Plus(b.Right, 1), b1 = Plus(b.Bottom, 1);
  return {TRect{b.Left, b.Top, r1, Plus(b.Top, 2)}, TRect{b.Left, Plus(b.Bottom, -1), r1, b1},
          TRect{b.Left, b.Top, Plus(b.Left, 2), b1}, TRect{Plus(b.Right, -1), b.Top, r1, b1}};
}

std::uint32_t LogBrushStyle(int style, std::uint32_t& hatch) {
  hatch = 0;
  if (style == 0) return 0;  // BS_SOLID
  if (style == 1) return 1;  // BS_NULL
  hatch = std::uint32_t(std::clamp(style - 2, 0, 5));
  return 2;  // BS_HATCHED
}

void BitmapInfo(TBytes& o, int w, int h) {
  o.u32(40);
  o.i32(w);
  o.i32(h);  // bottom-up
  o.u16(1);
  o.u16(32);
  o.u32(0);  // BI_RGB
  o.u32(std::uint32_t(w) * std::uint32_t(h) * 4);
  o.i32(3780);
  o.i32(3780);
  o.u32(0);
  o.u32(0);
}
void BitmapBits(TBytes& o, const TRecord& r) {
  for (int y = r.BitmapHeight - 1; y >= 0; --y)
    for (int x = 0; x < r.BitmapWidth; ++x) o.u32(r.Pixels[std::size_t(y) * r.BitmapWidth + x] & 0xFFFFFF);
}

// ---------------------------------------------------------------------------
class TEmfWriter : public TWriter {
public:
  TBytes o;
  int records = 0;

  void Begin(const TPicture& pic) {
    const int w = std::max(1, pic.Width), h = std::max(1, pic.Height);
    o.u32(1);
    o.u32(108);
    Rect(TRect{0, 0, w - 1, h - 1});
    Rect(TRect{0, 0, MulDiv100mm(w), MulDiv100mm(h)});
    o.u32(0x464D4520);
    o.u32(0x10000);
    o.u32(0);  // bytes, set at the end
    o.u32(0);  // records
    o.u16(0);  // handles
    o.u16(0);
    o.u32(0);
    o.u32(0);
    o.u32(0);
    o.i32(960);  // reference device: 960 pixels are 254 mm, 96 per inch
    o.i32(960);
    o.i32(254);
    o.i32(254);
    o.u32(0);
    o.u32(0);
    o.u32(0);
    o.i32(254000);
    o.i32(254000);
    records = 1;
  }
  void End() {
    Start(14);
    o.u32(0);
    o.u32(16);
    o.u32(20);
    Finish();
    o.set32(48, std::uint32_t(o.b.size()));
    o.set32(52, std::uint32_t(records));
    o.set16(56, std::uint32_t(objects + 1));
  }

protected:
  static int MulDiv100mm(int px) { return int(std::lround(px * 2540.0 / 96.0)); }
  void Rect(const TRect& r) {
    o.i32(r.Left);
    o.i32(r.Top);
    o.i32(r.Right);
    o.i32(r.Bottom);
  }
  std::size_t start = 0;
  void Start(std::uint32_t type) {
    start = o.b.size();
    o.u32(type);
    o.u32(0);
  }
  void Finish() {
    o.pad4();
    o.set32(start + 4, std::uint32_t(o.b.size() - start));
    ++records;
  }
  int CreatePen(const TPenState& p) override {
    const int i = ++objects;
    Start(38);
    o.u32(std::uint32_t(i));
    o.u32(std::uint32_t(p.Style == 6 ? 6 : std::clamp(p.Style, 0, 5)));
    o.i32(p.Width <= 1 ? 0 : p.Width);
    o.i32(0);
    o.u32(p.Color & 0xFFFFFF);
    Finish();
    return i;
  }
  int CreateBrush(const TBrushState& b) override {
    const int i = ++objects;
    std::uint32_t hatch;
    Start(39);
    o.u32(std::uint32_t(i));
    o.u32(LogBrushStyle(b.Style, hatch));
    o.u32(b.Color & 0xFFFFFF);
    o.u32(hatch);
    Finish();
    return i;
  }
  int CreateFont(const TFontState& f) override {
    const int i = ++objects;
    Start(82);
    o.u32(std::uint32_t(i));
    FontFields(o, f, true, 1);  // DEFAULT_CHARSET
    std::u16string name = Utf8ToUtf16(f.Name);
    name.resize(31);
    for (int k = 0; k < 32; ++k) o.u16(k < 31 ? name[k] : 0);
    Finish();
    return i;
  }
  void Select(int index) override {
    Start(37);
    o.u32(std::uint32_t(index));
    Finish();
  }
  void SetInt(int what, std::uint32_t v) override {
    static constexpr std::uint32_t types[5] = {18, 20, 22, 24, 25};
    Start(types[what]);
    o.u32(v);
    Finish();
  }
  void SaveDC() override {
    Start(33);
    Finish();
  }
  void RestoreDC() override {
    Start(34);
    o.i32(-1);
    Finish();
  }
  void ClipRect(const TRect& r) override {
    Start(30);
    Rect(r);
    Finish();
  }
  void Points(std::uint32_t type, const std::vector<TPoint>& pts) {
    Start(type);
    TRect b = Bounds(pts);
    Rect(b);
    o.u32(std::uint32_t(pts.size()));
    for (const TPoint& p : pts) {
      o.i32(p.X);
      o.i32(p.Y);
    }
    Finish();
  }
  void Box(std::uint32_t type, const TRecord& r, int extra) {
    Start(type);
    Rect(BoxOf(r));
    for (int k = 2; k < 2 + extra; ++k) {
      o.i32(r.Points[k].X);
      o.i32(r.Points[k].Y);
    }
    Finish();
  }
  void Shape(const TRecord& r) override {
    switch (r.Op) {
      case TOp::Polyline: Points(4, r.Points); break;
      case TOp::Polygon: Points(3, r.Points); break;
      case TOp::PolyBezier: Points(2, r.Points); break;
      case TOp::Rectangle: Box(43, r, 0); break;
      case TOp::Ellipse: Box(42, r, 0); break;
      case TOp::RoundRect: Box(44, r, 1); break;
      case TOp::Arc: Box(45, r, 2); break;
      case TOp::Pie: Box(47, r, 2); break;
      case TOp::FillRect: {
        TRecord box = r;
        SelectPenNull();
        box.Points[1].X += 1;
        box.Points[1].Y += 1;
        Box(43, box, 0);
        break;
      }
      case TOp::FrameRect: {
        // Four one-pixel fills in the brush colour.
        SelectPenNull();
        for (const TRect& s : FrameSides(BoxOf(r))) {
          Start(43);
          Rect(s);
          Finish();
        }
        break;
      }
      case TOp::Text: Text(r); break;
      case TOp::Bitmap: Bitmap(r); break;
      default: break;
    }
  }
  void SelectPenNull() {
    Invalidate();
    Start(37);
    o.u32(0x80000008);  // NULL_PEN
    Finish();
  }
  void Text(const TRecord& r) {
    const std::u16string s = Utf8ToUtf16(r.Text);
    Start(84);
    Rect({0, 0, -1, -1});
    o.u32(1);
    o.f32(0);
    o.f32(0);
    o.i32(r.Points[0].X);
    o.i32(r.Points[0].Y);
    o.u32(std::uint32_t(s.size()));
    o.u32(76);
    std::uint32_t opts = 0;
    if (r.TextKind == tkTextRect) opts |= 4;  // ETO_CLIPPED
    o.u32(opts);
    if (r.TextKind == tkTextRect) Rect(r.TextClip);
    else Rect({0, 0, -1, -1});
    const std::size_t offDx = 76 + (s.size() * 2 + 3) / 4 * 4;
    o.u32(std::uint32_t(offDx));
    for (char16_t c : s) o.u16(c);
    o.pad4();
    for (std::size_t k = 0; k < s.size(); ++k) o.i32(k < r.Advances.size() ? r.Advances[k] : 0);
    Finish();
  }
  void Bitmap(const TRecord& r) {
    const TRect d = BoxOf(r);
    Start(81);
    Rect({d.Left, d.Top, Plus(d.Right, -1), Plus(d.Bottom, -1)});
    o.i32(d.Left);
    o.i32(d.Top);
    o.i32(0);
    o.i32(0);
    o.i32(r.BitmapWidth);
    o.i32(r.BitmapHeight);
    o.u32(80);
    o.u32(40);
    o.u32(120);
    o.u32(std::uint32_t(r.BitmapWidth) * std::uint32_t(r.BitmapHeight) * 4);
    o.u32(0);
    o.u32(0x00CC0020);
    o.i32(Span(d.Left, d.Right));
    o.i32(Span(d.Top, d.Bottom));
    BitmapInfo(o, r.BitmapWidth, r.BitmapHeight);
    BitmapBits(o, r);
    Finish();
  }
};

// ---------------------------------------------------------------------------
// The Windows metafile's texts and face names are in the ANSI code page (ANSI_CHARSET).
std::string ToAnsi(const std::string& s) { return Utf8ToCodePage(s, TCodePage::Windows1252); }
std::string FromAnsi(const std::string& s) { return CodePageToUtf8(s, TCodePage::Windows1252); }

class TWmfWriter : public TWriter {
public:
  TBytes o;
  std::uint32_t maxRecord = 0;

  void Begin(const TPicture& pic) {
    const int w = std::max(1, pic.Width), h = std::max(1, pic.Height);
    o.u32(WMFPlaceableKey);
    o.u16(0);
    o.i16(0);
    o.i16(0);
    o.i16(w);
    o.i16(h);
    o.u16(96);
    o.u32(0);
    std::uint16_t sum = 0;
    for (int k = 0; k < 10; ++k) sum ^= std::uint16_t(o.b[2 * k] | (o.b[2 * k + 1] << 8));
    o.u16(sum);
    // META_HEADER
    o.u16(1);
    o.u16(9);
    o.u16(0x0300);
    o.u32(0);  // size in words, set at the end
    o.u16(0);  // objects
    o.u32(0);  // largest record
    o.u16(0);
    Start(0x0103);
    o.u16(8);  // MM_ANISOTROPIC
    Finish();
    Start(0x020B);
    o.i16(0);
    o.i16(0);
    Finish();
    Start(0x020C);
    o.i16(h);
    o.i16(w);
    Finish();
  }
  void End() {
    Start(0);
    Finish();
    const std::size_t words = (o.b.size() - 22) / 2;
    o.set16(22 + 6, std::uint32_t(words));
    o.set16(22 + 8, std::uint32_t(words >> 16));
    o.set16(22 + 10, std::uint32_t(objects));
    o.set16(22 + 12, maxRecord);
    o.set16(22 + 14, maxRecord >> 16);
  }

protected:
  std::size_t start = 0;
  void Start(std::uint32_t function) {
    start = o.b.size();
    o.u32(0);
    o.u16(function);
  }
  void Finish() {
    if (o.b.size() % 2) o.u8(0);
    const std::uint32_t words = std::uint32_t((o.b.size() - start) / 2);
    o.set32(start, words);
    maxRecord = std::max(maxRecord, words);
  }
  int Next() { return objects++; }  // the table's lowest free slot: nothing is deleted
  int CreatePen(const TPenState& p) override {
    Start(0x02FA);
    o.u16(std::uint32_t(p.Style == 6 ? 6 : std::clamp(p.Style, 0, 5)));
    o.i16(p.Width <= 1 ? 0 : p.Width);
    o.i16(0);
    o.u32(p.Color & 0xFFFFFF);
    Finish();
    return Next();
  }
  int CreateBrush(const TBrushState& b) override {
    std::uint32_t hatch;
    Start(0x02FC);
    o.u16(LogBrushStyle(b.Style, hatch));
    o.u32(b.Color & 0xFFFFFF);
    o.u16(hatch);
    Finish();
    return Next();
  }
  int CreateFont(const TFontState& f) override {
    Start(0x02FB);
    FontFields(o, f, false, 0);  // ANSI_CHARSET
    std::string name = ToAnsi(f.Name);
    name.resize(31);
    for (int k = 0; k < 32; ++k) o.u8(k < 31 ? std::uint8_t(name[k]) : 0);
    Finish();
    return Next();
  }
  void Select(int index) override {
    Start(0x012D);
    o.u16(std::uint32_t(index));
    Finish();
  }
  void SetInt(int what, std::uint32_t v) override {
    static constexpr std::uint32_t fn[5] = {0x0102, 0x0104, 0x012E, 0x0209, 0x0201};
    Start(fn[what]);
    if (what >= 3) o.u32(v);
    else o.u16(v);
    Finish();
  }
  void SaveDC() override {
    Start(0x001E);
    Finish();
  }
  void RestoreDC() override {
    Start(0x0127);
    o.i16(-1);
    Finish();
  }
  void ClipRect(const TRect& r) override {
    Start(0x0416);
    o.i16(r.Bottom);
    o.i16(r.Right);
    o.i16(r.Top);
    o.i16(r.Left);
    Finish();
  }
  void Poly(std::uint32_t fn, const std::vector<TPoint>& pts) {
    const std::size_t n = std::min<std::size_t>(pts.size(), 8000);
    Start(fn);
    o.i16(int(n));
    for (std::size_t k = 0; k < n; ++k) {
      o.i16(pts[k].X);
      o.i16(pts[k].Y);
    }
    Finish();
  }
  void Box(std::uint32_t fn, const TRect& b) {
    o.i16(b.Bottom);
    o.i16(b.Right);
    o.i16(b.Top);
    o.i16(b.Left);
    (void)fn;
  }
  int nullPen = -1;
  void SelectPenNull() {
    if (nullPen < 0) {
      Start(0x02FA);
      o.u16(5);
      o.i16(0);
      o.i16(0);
      o.u32(0);
      Finish();
      nullPen = Next();
    }
    Invalidate();
    Select(nullPen);
  }
  void Shape(const TRecord& r) override {
    switch (r.Op) {
      case TOp::Polyline: Poly(0x0325, r.Points); break;
      case TOp::Polygon: Poly(0x0324, r.Points); break;
      case TOp::PolyBezier: Poly(0x0325, FlattenBezier(r.Points)); break;
      case TOp::Rectangle: Start(0x041B); Box(0, BoxOf(r)); Finish(); break;
      case TOp::Ellipse: Start(0x0418); Box(0, BoxOf(r)); Finish(); break;
      case TOp::RoundRect:
        Start(0x061C);
        o.i16(r.Points[2].Y);
        o.i16(r.Points[2].X);
        Box(0, BoxOf(r));
        Finish();
        break;
      case TOp::Arc:
      case TOp::Pie:
        Start(r.Op == TOp::Arc ? 0x0817 : 0x081A);
        o.i16(r.Points[3].Y);
        o.i16(r.Points[3].X);
        o.i16(r.Points[2].Y);
        o.i16(r.Points[2].X);
        Box(0, BoxOf(r));
        Finish();
        break;
      case TOp::FillRect: {
        TRect b = BoxOf(r);
        SelectPenNull();
        Start(0x041B);
        Box(0, {b.Left, b.Top, b.Right + 1, b.Bottom + 1});
        Finish();
        break;
      }
      case TOp::FrameRect: {
        SelectPenNull();
        for (const TRect& s : FrameSides(BoxOf(r))) {
          Start(0x041B);
          Box(0, s);
          Finish();
        }
        break;
      }
      case TOp::Text: {
        const std::string s = ToAnsi(r.Text);
        const std::u16string wide = Utf8ToUtf16(r.Text);
        if (s.empty() || s.size() > 8000) break;
        Start(0x0A32);
        o.i16(r.Points[0].Y);
        o.i16(r.Points[0].X);
        o.i16(int(s.size()));
        const bool clipped = r.TextKind == tkTextRect;
        o.u16(clipped ? 4 : 0);
        if (clipped) {
          o.i16(r.TextClip.Left);
          o.i16(r.TextClip.Top);
          o.i16(r.TextClip.Right);
          o.i16(r.TextClip.Bottom);
        }
        for (char c : s) o.u8(std::uint8_t(c));
        if (s.size() % 2) o.u8(0);
        for (std::size_t k = 0; k < s.size(); ++k) o.i16(k < r.Advances.size() && wide.size() == s.size() ? r.Advances[k] : 0);
        Finish();
        break;
      }
      case TOp::Bitmap: {
        const TRect d = BoxOf(r);
        Start(0x0F43);
        o.u32(0x00CC0020);
        o.u16(0);
        o.i16(r.BitmapHeight);
        o.i16(r.BitmapWidth);
        o.i16(0);
        o.i16(0);
        o.i16(Span(d.Top, d.Bottom));
        o.i16(Span(d.Left, d.Right));
        o.i16(d.Top);
        o.i16(d.Left);
        BitmapInfo(o, r.BitmapWidth, r.BitmapHeight);
        BitmapBits(o, r);
        Finish();
        break;
      }
      default: break;
    }
  }
};

// ---------------------------------------------------------------------------
// Reading.
[[noreturn]] void Invalid() { throw EInvalidGraphic("Metafile is not valid"); }

struct TReader {
  const std::uint8_t* p;
  std::size_t n;
  std::uint32_t u32(std::size_t at) const {
    if (at + 4 > n) Invalid();
    return std::uint32_t(p[at]) | std::uint32_t(p[at + 1]) << 8 | std::uint32_t(p[at + 2]) << 16 |
           std::uint32_t(p[at + 3]) << 24;
  }
  int i32(std::size_t at) const { return int(u32(at)); }
  std::uint16_t u16(std::size_t at) const {
    if (at + 2 > n) Invalid();
    return std::uint16_t(p[at] | p[at + 1] << 8);
  }
  int i16(std::size_t at) const { return std::int16_t(u16(at)); }
  std::uint8_t u8(std::size_t at) const {
    if (at >= n) Invalid();
    return p[at];
  }
};

// The device state a reader keeps while it turns drawing records into ours.
struct TState {
  TPenState pen;
  TBrushState brush;
  TFontState font;
  bool opaque = true;
  TColor bk = 0xFFFFFF;
  unsigned align = 0;
  int pushes = 0;  // clips pushed since the last save
};

struct TObject {
  int kind = 0;  // 0 none, 1 pen, 2 brush, 3 font
  TPenState pen;
  TBrushState brush;
  TFontState font;
};

constexpr std::size_t kMaxObjects = 65536;
constexpr std::size_t kMaxSaves = 1024;
constexpr std::size_t kMaxPixels = std::size_t(1) << 26;

class TBuilder {
public:
  TPicture pic;
  TState s;
  std::vector<TState> saves;
  std::vector<TObject> table;

  // Objects as both forms describe them, by their logical fields.
  static TObject Pen(std::uint32_t style, int width, std::uint32_t color) {
    TObject ob;
    ob.kind = 1;
    ob.pen.Style = int(style & 0xF);
    ob.pen.Width = std::max(1, width);
    ob.pen.Color = TColor(color & 0xFFFFFF);
    return ob;
  }
  static TObject Brush(std::uint32_t style, std::uint32_t color, std::uint32_t hatch) {
    TObject ob;
    ob.kind = 2;
    ob.brush.Color = TColor(color & 0xFFFFFF);
    ob.brush.Style = style == 1 ? 1 : style == 2 ? 2 + int(std::min<std::uint32_t>(hatch, 5)) : 0;
    return ob;
  }
  static TObject Font(int height, int orientation, int weight, bool italic, bool underline, bool strike,
                      std::u16string name) {
    TObject ob;
    ob.kind = 3;
    ob.font.Height = height;
    ob.font.Orientation = orientation;
    ob.font.Style = (weight >= 600 ? 1u : 0u) | (italic ? 2u : 0u) | (underline ? 4u : 0u) | (strike ? 8u : 0u);
    ob.font.Name = Utf16ToUtf8(name);
    return ob;
  }
  void SelectIndex(std::size_t id) {
    if (id < table.size()) Select(table[id]);
  }
  void DeleteIndex(std::size_t id) {
    if (id < table.size()) table[id] = {};
  }
  void Select(const TObject& ob) {
    if (ob.kind == 1) s.pen = ob.pen;
    else if (ob.kind == 2) s.brush = ob.brush;
    else if (ob.kind == 3) s.font = ob.font;
  }
  void Stock(std::uint32_t id) {
    if (id == 0x80000005) s.brush.Style = 1;      // NULL_BRUSH
    else if (id == 0x80000008) s.pen.Style = 5;   // NULL_PEN
  }
  TRecord& Add(TOp op) {
    TRecord r;
    r.Op = op;
    r.Pen = s.pen;
    r.Brush = s.brush;
    r.Opaque = s.opaque;
    r.BkColor = s.bk;
    pic.Records.push_back(std::move(r));
    return pic.Records.back();
  }
  void Save() {
    if (saves.size() >= kMaxSaves) Invalid();
    saves.push_back(s);
    s.pushes = 0;
  }
  void Restore() {
    if (saves.empty()) return;
    for (int k = 0; k < s.pushes; ++k) Add(TOp::PopClip);
    s = saves.back();
    saves.pop_back();
  }
  void Clip(const TRect& r) {
    Add(TOp::PushClipRect).Points = {{r.Left, r.Top}, {r.Right, r.Bottom}};
    ++s.pushes;
  }
  void SetObject(std::size_t index, TObject ob) {
    if (index >= kMaxObjects) Invalid();
    if (index >= table.size()) table.resize(index + 1);
    table[index] = std::move(ob);
  }
  void Box(TOp op, TRect b, std::vector<TPoint> extra = {}) {
    TRecord& r = Add(op);
    r.Points = {{b.Left, b.Top}, {b.Right, b.Bottom}};
    r.Points.insert(r.Points.end(), extra.begin(), extra.end());
  }
  // A bitmap from a DIB at Off (header) with pixels at Bits, 24 or 32 bits, BI_RGB.
  void Dib(const TReader& in, std::size_t off, std::size_t bits, TRect dest) {
    const std::uint32_t hs = in.u32(off);
    if (hs < 40) Invalid();
    const int w = in.i32(off + 4), hraw = in.i32(off + 8);
    const int bpp = in.u16(off + 14);
    if (in.u32(off + 16) != 0 || (bpp != 24 && bpp != 32)) return;  // other kinds are skipped
    if (w <= 0 || hraw == 0 || hraw == INT32_MIN) Invalid();
    const int h = std::abs(hraw);
    if (std::size_t(w) * std::size_t(h) > kMaxPixels) Invalid();
    const std::size_t row = (std::size_t(w) * bpp / 8 + 3) / 4 * 4;
    if (bits > in.n || row * std::size_t(h) > in.n - bits) Invalid();
    TRecord& r = Add(TOp::Bitmap);
    r.Points = {{dest.Left, dest.Top}, {dest.Right, dest.Bottom}};
    r.BitmapWidth = w;
    r.BitmapHeight = h;
    r.Pixels.resize(std::size_t(w) * h);
    for (int y = 0; y < h; ++y) {
      const std::size_t src = bits + row * std::size_t(hraw > 0 ? h - 1 - y : y);
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* px = in.p + src + std::size_t(x) * (bpp / 8);
        r.Pixels[std::size_t(y) * w + x] = std::uint32_t(px[0]) | std::uint32_t(px[1]) << 8 | std::uint32_t(px[2]) << 16;
      }
    }
  }
};

TRect RectAt(const TReader& in, std::size_t at) { return {in.i32(at), in.i32(at + 4), in.i32(at + 8), in.i32(at + 12)}; }

TPicture ReadEMF(const TReader& in) {
  TBuilder b;
  if (in.n < 88 || in.u32(0) != 1 || in.u32(40) != 0x464D4520) Invalid();
  const TRect bounds = RectAt(in, 8);
  // In 64 bits: bounds from a hostile file may span more than an int.
  b.pic.Width = int(std::clamp<std::int64_t>(std::int64_t(bounds.Right) - bounds.Left + 1, 0, 1 << 15));
  b.pic.Height = int(std::clamp<std::int64_t>(std::int64_t(bounds.Bottom) - bounds.Top + 1, 0, 1 << 15));
  std::size_t at = in.u32(4);
  if (at < 88 || at > in.n || at % 4) Invalid();
  bool ended = false;
  while (!ended) {
    const std::uint32_t type = in.u32(at), size = in.u32(at + 4);
    if (size < 8 || size % 4 || size > in.n - at) Invalid();
    const TReader rec{in.p + at, size};
    switch (type) {
      case 14: ended = true; break;
      case 2: case 3: case 4: {
        const std::uint32_t count = rec.u32(24);
        if (count > (size - 28) / 8) Invalid();
        TRecord& r = b.Add(type == 2 ? TOp::PolyBezier : type == 3 ? TOp::Polygon : TOp::Polyline);
        r.Points.resize(count);
        for (std::uint32_t k = 0; k < count; ++k) r.Points[k] = {rec.i32(28 + 8 * k), rec.i32(32 + 8 * k)};
        break;
      }
      case 18: b.s.opaque = rec.u32(8) == 2; break;
      case 20: b.s.pen.Mode = PenModeFromROP2(int(rec.u32(8))); break;
      case 22: b.s.align = rec.u32(8); break;
      case 24: b.s.font.Color = TColor(rec.u32(8) & 0xFFFFFF); break;
      case 25: b.s.bk = TColor(rec.u32(8) & 0xFFFFFF); break;
      case 33: b.Save(); break;
      case 34: b.Restore(); break;
      case 30: b.Clip(RectAt(rec, 8)); break;
      case 37: {
        const std::uint32_t id = rec.u32(8);
        if (id & 0x80000000u) b.Stock(id);
        else b.SelectIndex(id);
        break;
      }
      case 40: b.DeleteIndex(rec.u32(8)); break;
      case 38: b.SetObject(rec.u32(8), TBuilder::Pen(rec.u32(12), rec.i32(16), rec.u32(24))); break;
      case 39: b.SetObject(rec.u32(8), TBuilder::Brush(rec.u32(12), rec.u32(16), rec.u32(20))); break;
      case 82: {
        std::u16string name;
        for (int k = 0; k < 32 && rec.u16(40 + 2 * k); ++k) name.push_back(char16_t(rec.u16(40 + 2 * k)));
        b.SetObject(rec.u32(8), TBuilder::Font(rec.i32(12), rec.i32(20), rec.i32(28), rec.u8(32), rec.u8(33),
                                               rec.u8(34), name));
        break;
      }
      case 43: b.Box(TOp::Rectangle, RectAt(rec, 8)); break;
      case 42: b.Box(TOp::Ellipse, RectAt(rec, 8)); break;
      case 44: b.Box(TOp::RoundRect, RectAt(rec, 8), {{rec.i32(24), rec.i32(28)}}); break;
      case 45: case 47:
        b.Box(type == 45 ? TOp::Arc : TOp::Pie, RectAt(rec, 8),
              {{rec.i32(24), rec.i32(28)}, {rec.i32(32), rec.i32(36)}});
        break;
      case 84: {
        const std::uint32_t chars = rec.u32(44), off = rec.u32(48), opts = rec.u32(52);
        if (off > size || chars > (size - off) / 2) Invalid();
        std::u16string s;
        for (std::uint32_t k = 0; k < chars; ++k) s.push_back(char16_t(rec.u16(off + 2 * k)));
        TRecord& r = b.Add(TOp::Text);
        r.Points = {{rec.i32(36), rec.i32(40)}};
        r.Text = Utf16ToUtf8(s);
        r.Font = b.s.font;
        r.TextAlign = b.s.align;
        if (opts & 4) {
          r.TextKind = tkTextRect;
          r.TextClip = RectAt(rec, 56);
        }
        break;
      }
      case 81: {
        const std::uint32_t offBmi = rec.u32(48), offBits = rec.u32(56);
        if (offBmi > size || offBits > size) Invalid();
        const TRect d{rec.i32(24), rec.i32(28), Plus(rec.i32(24), rec.i32(72)), Plus(rec.i32(28), rec.i32(76))};
        b.Dib(rec, offBmi, offBits, d);
        break;
      }
      default: break;  // records we do not write are skipped
    }
    at += size;
    if (!ended && at >= in.n) Invalid();
  }
  return b.pic;
}

TPicture ReadWMF(const TReader& whole) {
  TBuilder b;
  std::size_t at = 0;
  if (whole.u32(0) == WMFPlaceableKey) {
    if (whole.n < 22) Invalid();
    // At most what the form's 16-bit sizes hold, so the frame writes back as read.
    b.pic.Width = std::clamp(whole.i16(10) - whole.i16(6), 0, 32767);
    b.pic.Height = std::clamp(whole.i16(12) - whole.i16(8), 0, 32767);
    at = 22;
  }
  const TReader in{whole.p + at, whole.n - at};
  if (in.n < 18 || in.u16(2) != 9) Invalid();
  std::size_t pos = 18;
  auto freeSlot = [&] {
    std::size_t k = 0;
    while (k < b.table.size() && b.table[k].kind != 0) ++k;
    return k;
  };
  for (;;) {
    const std::uint32_t words = in.u32(pos);
    const std::uint16_t fn = in.u16(pos + 4);
    if (words < 3 || words > (in.n - pos) / 2) Invalid();
    const std::size_t size = std::size_t(words) * 2;
    const TReader rec{in.p + pos, size};
    if (fn == 0) break;
    auto box = [&](std::size_t o) { return TRect{rec.i16(o + 6), rec.i16(o + 4), rec.i16(o + 2), rec.i16(o)}; };
    switch (fn) {
      case 0x020C:
        if (b.pic.Width == 0) {
          b.pic.Height = std::max(0, rec.i16(6));
          b.pic.Width = std::max(0, rec.i16(8));
        }
        break;
      case 0x0102: b.s.opaque = rec.u16(6) == 2; break;
      case 0x0104: b.s.pen.Mode = PenModeFromROP2(rec.u16(6)); break;
      case 0x012E: b.s.align = rec.u16(6); break;
      case 0x0209: b.s.font.Color = TColor(rec.u32(6) & 0xFFFFFF); break;
      case 0x0201: b.s.bk = TColor(rec.u32(6) & 0xFFFFFF); break;
      case 0x001E: b.Save(); break;
      case 0x0127: b.Restore(); break;
      case 0x0416: b.Clip(box(6)); break;
      case 0x012D: b.SelectIndex(rec.u16(6)); break;
      case 0x01F0: b.DeleteIndex(rec.u16(6)); break;
      case 0x02FA: b.SetObject(freeSlot(), TBuilder::Pen(rec.u16(6), rec.i16(8), rec.u32(12))); break;
      case 0x02FC: b.SetObject(freeSlot(), TBuilder::Brush(rec.u16(6), rec.u32(8), rec.u16(12))); break;
      case 0x02FB: {
        std::string name;
        for (std::size_t k = 24; k < std::min<std::size_t>(size, 56) && rec.u8(k); ++k) name += char(rec.u8(k));
        b.SetObject(freeSlot(), TBuilder::Font(rec.i16(6), rec.i16(10), rec.i16(14), rec.u8(16), rec.u8(17),
                                               rec.u8(18), Utf8ToUtf16(FromAnsi(name))));
        break;
      }
      case 0x0325: case 0x0324: {
        const int count = rec.i16(6);
        if (count < 0 || std::size_t(count) > (size - 8) / 4) Invalid();
        TRecord& r = b.Add(fn == 0x0324 ? TOp::Polygon : TOp::Polyline);
        r.Points.resize(std::size_t(count));
        for (int k = 0; k < count; ++k) r.Points[std::size_t(k)] = {rec.i16(8 + 4 * k), rec.i16(10 + 4 * k)};
        break;
      }
      case 0x041B: b.Box(TOp::Rectangle, box(6)); break;
      case 0x0418: b.Box(TOp::Ellipse, box(6)); break;
      case 0x061C: b.Box(TOp::RoundRect, box(10), {{rec.i16(8), rec.i16(6)}}); break;
      case 0x0817: case 0x081A:
        b.Box(fn == 0x0817 ? TOp::Arc : TOp::Pie, box(14),
              {{rec.i16(12), rec.i16(10)}, {rec.i16(8), rec.i16(6)}});
        break;
      case 0x0A32: {
        const int len = rec.i16(10), opts = rec.u16(12);
        std::size_t s = 14;
        TRect clip{};
        if (opts & 6) {
          clip = {rec.i16(14), rec.i16(16), rec.i16(18), rec.i16(20)};
          s = 22;
        }
        if (len < 0 || std::size_t(len) > size - std::min(size, s)) Invalid();
        std::string text;
        for (int k = 0; k < len; ++k) text += char(rec.u8(s + std::size_t(k)));
        TRecord& r = b.Add(TOp::Text);
        r.Points = {{rec.i16(8), rec.i16(6)}};
        r.Text = FromAnsi(text);
        r.Font = b.s.font;
        r.TextAlign = b.s.align;
        if (opts & 4) {
          r.TextKind = tkTextRect;
          r.TextClip = clip;
        }
        break;
      }
      case 0x0F43: {
        const TRect d{rec.i16(26), rec.i16(24), rec.i16(26) + rec.i16(22), rec.i16(24) + rec.i16(20)};
        if (size < 28 + 40) Invalid();
        const std::uint32_t hs = rec.u32(28);
        const int bpp = rec.u16(28 + 14);
        if (hs < 40 || hs > size) Invalid();
        const std::uint32_t colours = (bpp <= 8) ? rec.u32(28 + 32) * 4 : 0;
        b.Dib(rec, 28, 28 + hs + colours, d);
        break;
      }
      default: break;
    }
    pos += size;
  }
  return b.pic;
}

}  // namespace

void WriteEMF(const TPicture& Picture, TStream* Stream) {
  TEmfWriter w;
  w.Begin(Picture);
  w.Run(Picture);
  w.End();
  Stream->WriteBuffer(w.o.b.data(), std::int64_t(w.o.b.size()));
}

void WriteWMF(const TPicture& Picture, TStream* Stream) {
  TWmfWriter w;
  w.Begin(Picture);
  w.Run(Picture);
  w.End();
  Stream->WriteBuffer(w.o.b.data(), std::int64_t(w.o.b.size()));
}

TPicture ReadMetafile(TStream* Stream, bool& Enhanced) {
  const std::int64_t left = Stream->Size() - Stream->Position();
  if (left < 18 || left > (std::int64_t(1) << 31)) Invalid();
  std::vector<std::uint8_t> data(std::size_t(left), 0);
  Stream->ReadBuffer(data.data(), left);
  const TReader in{data.data(), data.size()};
  Enhanced = in.u32(0) == 1 && data.size() >= 44 && in.u32(40) == 0x464D4520;
  return Enhanced ? ReadEMF(in) : ReadWMF(in);
}

}  // namespace mf
