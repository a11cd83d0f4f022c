// The canvas: device geometry over QPainter on an RGB32 image.
//
// One-pixel pens are drawn here pixel by pixel (so that LineTo leaves out its end
// pixel, dashes have fixed lengths and every pixel is combined with the pen mode
// exactly once); fills, wide pens, curves and text go through QPainter. In a pen mode
// other than copy, QPainter paints into a scratch layer whose covered pixels are then
// combined with the image one by one, so drawing twice in xor mode restores the image.
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "graphics_impl.h"
#include "platform/metafile.h"
#include "scanfill.h"

namespace {

// Dash lengths of the one-pixel pen styles: on, off, on, off...
struct DashPattern {
  const int* runs;
  int count;
  int period;
};
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

std::optional<DashPattern> PatternOf(TPenStyle s) {
  switch (s) {
    case psDash: return DashPattern{kDash, 2, 24};
    case psDot: return DashPattern{kDot, 2, 6};
    case psDashDot: return DashPattern{kDashDot, 4, 24};
    case psDashDotDot: return DashPattern{kDashDotDot, 6, 24};
    default: return std::nullopt;
  }
}

bool DashOn(const DashPattern& p, int step) {
  int pos = step % p.period;
  for (int i = 0; i < p.count; ++i) {
    if (pos < p.runs[i]) return i % 2 == 0;
    pos -= p.runs[i];
  }
  return true;
}

// The pen's own pattern when it has one, else its style's.
std::optional<DashPattern> PenPattern(const TPen& pen) {
  const std::vector<int>& d = pen.DashPattern();
  if (d.empty()) return PatternOf(pen.Style());
  int period = 0;
  for (int run : d) period += run;
  return DashPattern{d.data(), int(d.size()), period};
}

QVector<qreal> QtDashes(TPenStyle s) {
  auto p = PatternOf(s);
  QVector<qreal> v;
  if (p)
    for (int i = 0; i < p->count; ++i) v.push_back(p->runs[i]);
  return v;
}

// A pen's own pattern for QPen, whose lengths count in pen widths. A zero run
// becomes a tiny one: Qt takes zero as a pattern end.
QVector<qreal> CustomDashes(const TPen& pen, int width) {
  QVector<qreal> v;
  for (int run : pen.DashPattern()) v.push_back(std::max(run, 0) / double(width) + (run == 0 ? 1e-3 : 0));
  return v;
}

Qt::PenCapStyle QtCap(TPenEndCap c) {
  switch (c) {
    case pecSquare: return Qt::SquareCap;
    case pecFlat: return Qt::FlatCap;
    default: return Qt::RoundCap;
  }
}

// 8 x 8 hatch cells, aligned to the image's origin.
bool HatchSet(TBrushStyle s, int x, int y) {
  x &= 7;
  y &= 7;
  bool h = y == 0, v = x == 0, f = x == y, b = x + y == 7;
  switch (s) {
    case bsHorizontal: return h;
    case bsVertical: return v;
    case bsFDiagonal: return f;
    case bsBDiagonal: return b;
    case bsCross: return h || v;
    case bsDiagCross: return f || b;
    default: return true;
  }
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

TRect Normalized(TRect r) {
  if (r.Right < r.Left) std::swap(r.Left, r.Right);
  if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
  return r;
}

// One clip of the canvas stack: its region and, for a region that is not a single
// rectangle (a polygon's outline, intersections), the spans of each of its rows,
// made on first use (or handed over made before, for the same region). A pixel is
// then tested against its own row's spans (one for a convex outline) rather than
// searched among the region's rectangles.
class TClip {
public:
  struct TSpan {
    int X0, X1;  // both inside
  };
  // The spans of a region's rows, from its top row on.
  struct TRows {
    std::vector<int> RowStart;  // row i's spans are Spans[RowStart[i]..RowStart[i + 1])
    std::vector<TSpan> Spans;
    bool ColumnRuns = false;  // every column meets the region in one run of rows
  };
  static std::shared_ptr<const TRows> MakeRows(const QRegion& Region);

  explicit TClip(QRegion R, std::shared_ptr<const TRows> Rows = nullptr)
      : region_(std::move(R)),
        bounds_(region_.boundingRect()),
        simple_(region_.rectCount() <= 1),
        rows_(std::move(Rows)) {}
  const QRegion& Region() const { return region_; }
  const QRect& Bounds() const { return bounds_; }
  // A single rectangle (or nothing): its bounds say it all.
  bool Simple() const { return simple_; }
  bool Contains(int X, int Y) const {
    return X >= bounds_.left() && X <= bounds_.right() && Y >= bounds_.top() && Y <= bounds_.bottom() &&
           (simple_ || ContainsInBounds(X, Y));
  }
  // Contains for a pixel known to lie inside the bounds.
  bool ContainsInBounds(int X, int Y) const {
    if (simple_) return true;
    const TRows& r = Rows();
    const unsigned row = unsigned(Y - bounds_.top());
    for (int k = r.RowStart[row], e = r.RowStart[row + 1]; k < e; ++k)
      if (X >= r.Spans[k].X0 && X <= r.Spans[k].X1) return true;
    return false;
  }
  // Whether pixels Y0..Y1 of column X (inside the bounds) are all inside: so when
  // both ends are, for a region whose every column meets it in one run of rows
  // (a convex outline's, whose row i has span i).
  bool ColumnInside(int X, int Y0, int Y1) const {
    if (simple_) return true;
    const TRows& r = Rows();
    if (!r.ColumnRuns) return false;
    const TSpan &a = r.Spans[size_t(Y0 - bounds_.top())], &b = r.Spans[size_t(Y1 - bounds_.top())];
    return X >= a.X0 && X <= a.X1 && X >= b.X0 && X <= b.X1;
  }
  // The spans of row Y (none outside the bounds), left to right.
  std::pair<const TSpan*, const TSpan*> Row(int Y) const {
    if (Y < bounds_.top() || Y > bounds_.bottom()) return {nullptr, nullptr};
    if (simple_) {
      single_ = {bounds_.left(), bounds_.right()};
      return {&single_, &single_ + 1};
    }
    const TRows& r = Rows();
    const unsigned row = unsigned(Y - bounds_.top());
    return {r.Spans.data() + r.RowStart[row], r.Spans.data() + r.RowStart[row + 1]};
  }
  // The part of the region inside Area, from the spans of Area's rows (a rectangle
  // when Area lies wholly inside).
  QRegion Within(const QRect& Area) const {
    const QRect a = Area & bounds_;
    if (a.isEmpty()) return QRegion();
    std::vector<QRect> rects;
    bool whole = true;
    for (int y = a.top(); y <= a.bottom(); ++y) {
      const auto [s, e] = Row(y);
      whole &= e - s == 1 && s->X0 <= a.left() && s->X1 >= a.right();
      if (!whole) break;
    }
    if (whole) return QRegion(a);
    // Rows of the same spans make one band.
    std::vector<TSpan> band, row;
    int bandTop = a.top();
    auto close = [&](int bottom) {
      for (const TSpan& sp : band) rects.emplace_back(QPoint(sp.X0, bandTop), QPoint(sp.X1, bottom));
    };
    for (int y = a.top(); y <= a.bottom(); ++y) {
      row.clear();
      for (auto [s, e] = Row(y); s != e; ++s) {
        const int x0 = std::max(s->X0, a.left()), x1 = std::min(s->X1, a.right());
        if (x0 <= x1) row.push_back({x0, x1});
      }
      const bool same = row.size() == band.size() &&
                        std::equal(row.begin(), row.end(), band.begin(),
                                   [](const TSpan& u, const TSpan& v) { return u.X0 == v.X0 && u.X1 == v.X1; });
      if (y > a.top() && same) continue;
      close(y - 1);
      band = row;
      bandTop = y;
    }
    close(a.bottom());
    QRegion out;
    out.setRects(rects.data(), int(rects.size()));
    return out;
  }
  // Calls Area with each part of R inside the clip: R itself cut to a simple clip,
  // else row by row.
  template <class F>
  void ForEachArea(const QRect& R, F&& Area) const {
    const QRect r = R & bounds_;
    if (r.isEmpty()) return;
    if (simple_) return Area(r);
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (auto [s, e] = Row(y); s != e; ++s) {
        const int x0 = std::max(s->X0, r.left()), x1 = std::min(s->X1, r.right());
        if (x0 <= x1) Area(QRect(x0, y, x1 - x0 + 1, 1));
      }
  }

private:
  const TRows& Rows() const {
    if (!rows_) rows_ = MakeRows(region_);
    return *rows_;
  }

  QRegion region_;
  QRect bounds_;
  bool simple_;
  mutable std::shared_ptr<const TRows> rows_;
  mutable TSpan single_{};
};

std::shared_ptr<const TClip::TRows> TClip::MakeRows(const QRegion& Region) {
  auto out = std::make_shared<TRows>();
  const QRect bounds = Region.boundingRect();
  const int rows = bounds.height();
  std::vector<int>& rowStart = out->RowStart;
  std::vector<TSpan>& spans = out->Spans;
  rowStart.assign(size_t(rows) + 1, 0);
  for (const QRect& r : Region)
    for (int y = r.top(); y <= r.bottom(); ++y) ++rowStart[size_t(y - bounds.top()) + 1];
  for (int i = 0; i < rows; ++i) rowStart[size_t(i) + 1] += rowStart[size_t(i)];
  spans.resize(size_t(rowStart[size_t(rows)]));
  std::vector<int> next(rowStart.begin(), rowStart.end() - 1);
  // A region's rectangles come in bands from the top, each band from the left.
  for (const QRect& r : Region)
    for (int y = r.top(); y <= r.bottom(); ++y) spans[size_t(next[size_t(y - bounds.top())]++)] = {r.left(), r.right()};
  // One span a row, the left ends first moving left then right, the right ends
  // first right then left: each column's rows inside are then one run.
  bool runs = true, leftTurned = false, rightTurned = false;
  for (int i = 0; i < rows && runs; ++i) {
    runs = rowStart[size_t(i) + 1] - rowStart[size_t(i)] == 1;
    if (i == 0 || !runs) continue;
    const TSpan& a = spans[size_t(rowStart[size_t(i) - 1])];
    const TSpan& b = spans[size_t(rowStart[size_t(i)])];
    if (b.X0 > a.X0) leftTurned = true;
    else if (b.X0 < a.X0 && leftTurned) runs = false;
    if (b.X1 < a.X1) rightTurned = true;
    else if (b.X1 > a.X1 && rightTurned) runs = false;
  }
  out->ColumnRuns = runs;
  return out;
}

}  // namespace

struct TCanvas::Impl {
  TCanvas* self = nullptr;
  std::unique_ptr<TPen> pen = std::make_unique<TPen>();
  std::unique_ptr<TBrush> brush = std::make_unique<TBrush>();
  std::unique_ptr<TFont> font = std::make_unique<TFont>();
  TCanvasSurface surface;
  bool attached = false;
  TPoint pos;
  // Dash position of one-pixel lines: LineTo carries it on, MoveTo starts afresh, so a
  // styled polyline drawn point by point keeps its pattern.
  long long lineStep = 0;
  int bkMode = OPAQUE;
  TColor bkColor = clWhite;
  bool brushPending = true;
  unsigned textAlign = TA_LEFT | TA_TOP;
  TCopyMode copyMode = cmSrcCopy;
  bool antialias = false;
  std::vector<TClip> clips;
  std::recursive_mutex mutex;
  std::atomic<int> locks{0};
  QRect dirty;

  unsigned fontGen = ~0u;
  bool fontAA = false;
  QFont qfont;
  std::optional<QFontMetrics> metrics;

  // A metafile canvas records each operation (platform/metafile.h) besides drawing it;
  // raster operations record the pixels they leave.
  mf::TPicture* recording = nullptr;
  int raster = 0;
  struct RasterScope {
    Impl& c;
    explicit RasterScope(Impl& C) : c(C) { ++c.raster; }
    ~RasterScope() { --c.raster; }
  };
  static TColor Plain(TColor c) { return FromQRgb(ToQRgb(c)); }
  mf::TRecord* Record(mf::TOp op, const TPoint* pts = nullptr, int n = 0) {
    if (!recording || raster) return nullptr;
    ResolveBrush();
    mf::TRecord r;
    r.Op = op;
    if (n > 0) r.Points.assign(pts, pts + n);
    r.Pen = {Plain(pen->Color()), pen->Width(), int(pen->Style()), int(pen->Mode())};
    r.Brush = {Plain(brush->Color()), int(brush->Style())};
    r.Opaque = bkMode == OPAQUE;
    r.BkColor = Plain(bkColor);
    recording->Records.push_back(std::move(r));
    return &recording->Records.back();
  }
  mf::TRecord* RecordBox(mf::TOp op, std::initializer_list<TPoint> pts) {
    return Record(op, pts.begin(), int(pts.size()));
  }
  void RecordText(mf::TTextKind kind, int x, int y, const std::string& text, bool fill = true,
                  const TRect& clip = {});
  void RecordDirty(const QImage& img);

  QImage* Acquire() {
    QImage* img = surface.Acquire ? surface.Acquire() : nullptr;
    return img && !img->isNull() ? img : nullptr;
  }

  const QImage* ReadImage() {
    if (!surface.AcquireForReading) return Acquire();
    const QImage* img = surface.AcquireForReading();
    return img && !img->isNull() ? img : nullptr;
  }

  // One drawing operation: events around it, the image to draw on, the area touched.
  template <class F>
  void Draw(F&& f) {
    if (!attached) throw EInvalidOperation("Canvas does not allow drawing");
    self->Changing();
    if (QImage* img = Acquire()) {
      dirty = QRect();
      f(*img);
      dirty &= img->rect();
      if (recording && raster == 1 && !dirty.isEmpty()) RecordDirty(*img);
      if (!dirty.isEmpty()) {
        if (surface.DrawnArea) surface.DrawnArea(dirty);
        if (surface.Drawn) surface.Drawn();
      }
    }
    self->Changed();
  }
  void Touch(const QRect& r) { dirty |= r.normalized(); }

  // A solid brush makes the background opaque in its colour; any other transparent.
  void ResolveBrush() {
    if (!brushPending) return;
    brushPending = false;
    if (brush->Style() == bsSolid && !brush->PatternImage()) {
      bkColor = brush->Color();
      bkMode = OPAQUE;
    } else {
      bkMode = TRANSPARENT;
    }
  }

  // What of a font makes its Qt font (its colour and angle do not): a font assigned
  // again per cell, or given another colour, keeps the Qt font, its metrics and key.
  struct TFontShape {
    std::string Name;
    int Height = 0, LetterSpacing = 0;
    TFontStyles Style = 0;
    TFontPitch Pitch = fpDefault;
    TFontQuality Quality = fqDefault;
    bool operator==(const TFontShape&) const = default;
  };
  TFontShape fontShape;
  const QFont& Font() {
    const unsigned dbGen = FontDatabaseGeneration.load();
    if (font->Generation() != fontGen && antialias == fontAA && dbGen == fontDbGen && metrics) {
      fontGen = font->Generation();
      if (fontShape == TFontShape{font->Name(), font->Height(), font->LetterSpacing(), font->Style(), font->Pitch(),
                                  font->Quality()})
        return qfont;
      fontGen = ~font->Generation();  // rebuilt below
    }
    if (font->Generation() != fontGen || antialias != fontAA || dbGen != fontDbGen || !metrics) {
      fontShape = {font->Name(), font->Height(), font->LetterSpacing(), font->Style(), font->Pitch(), font->Quality()};
      qfont = ToQFont(*font, antialias);
      metrics.emplace(qfont);
      fontGen = font->Generation();
      fontAA = antialias;
      fontDbGen = dbGen;
      fontKey = qfont.key().toStdString() + (antialias ? '\x02' : '\x01') + std::to_string(dbGen) + '\x01';
      tables = nullptr;
      ascent = metrics->ascent();
      descent = metrics->descent();
    }
    return qfont;
  }
  // The current font's ascent and descent, asked for with every label measured.
  int ascent = 0, descent = 0;
  int Ascent() {
    Font();
    return ascent;
  }
  int CellHeight() {
    Font();
    return ascent + descent;
  }
  // Widths of texts by font: charts measure the same labels at every paint, often
  // on a new canvas, and shaping a text costs far more than looking it up. Kept per
  // font (FontTables), emptied when it grows large.
  std::string fontKey;  // the current font's and the font database's, with separators
  unsigned fontDbGen = 0;
  int TextWidth(const std::string& Text) {
    std::unordered_map<std::string, int>& widths = Tables().Widths;
    if (auto it = widths.find(Text); it != widths.end()) return it->second;
    if (widths.size() >= 4096) widths.clear();
    const int w = Metrics().horizontalAdvance(QString::fromStdString(Text));
    widths.emplace(Text, w);
    return w;
  }
  const QFontMetrics& Metrics() {
    Font();
    return *metrics;
  }

  // Whether text is smoothed: the font's quality, else the canvas's setting.
  bool TextSmooth() const {
    return font->Quality() == fqDefault ? antialias : font->Quality() == fqBest;
  }

  bool Cosmetic() const { return pen->Width() <= 1 && !antialias; }
  bool PenVisible() const { return pen->Style() != psClear; }

  // The painter with the canvas's smoothing and clip. Area, when given, holds all that
  // plain painting (opaque colours, hatches, no smoothing or picture) will touch: the painter then takes
  // only the part of the clip inside it, which costs far less to set up than an
  // outline of many rows and sets the same pixels. (Blending takes other ways through
  // a clip of one rectangle than through one of many, so it keeps the whole clip.)
  void SetupPainter(QPainter& p, const QRect* Area = nullptr) {
    SetupHints(p);
    if (clips.empty()) return;
    const TClip& clip = clips.back();
    if (Area && !antialias && !brush->PatternImage() && !clip.Simple()) p.setClipRegion(clip.Within(*Area));
    else p.setClipRegion(clip.Region());
  }
  void SetupHints(QPainter& p) const {
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setRenderHint(QPainter::TextAntialiasing, antialias);
    p.setRenderHint(QPainter::SmoothPixmapTransform, antialias);
  }

  QBrush FillBrush() {
    ResolveBrush();
    if (const TBrush::Pattern* pat = brush->PatternImage()) return QBrush(pat->Image);
    TBrushStyle s = brush->Style();
    if (s == bsClear) return Qt::NoBrush;
    QRgb c = ToQRgb(brush->Color()) | 0xFF000000u;
    if (s == bsSolid) return QBrush(QColor(c));
    QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
    QRgb back = bkMode == OPAQUE ? (ToQRgb(bkColor) | 0xFF000000u) : 0u;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) cell.setPixel(x, y, HatchSet(s, x, y) ? c : back);
    return QBrush(cell);
  }

  QPen ShapePen() {
    if (!PenVisible()) return Qt::NoPen;
    ResolveBrush();
    QPen p(QColor(ToQRgb(pen->Color())));
    int w = pen->Width();
    if (w <= 1) {
      p.setWidth(1);
      p.setCosmetic(true);
      if (!pen->DashPattern().empty()) p.setDashPattern(CustomDashes(*pen, 1));
      else if (auto d = QtDashes(pen->Style()); !d.isEmpty()) p.setDashPattern(d);
    } else {
      p.setWidth(w);
      p.setCapStyle(QtCap(pen->EndCap()));
      p.setJoinStyle(Qt::RoundJoin);
      switch (pen->Style()) {
        case psDash: p.setStyle(Qt::DashLine); break;
        case psDot: p.setStyle(Qt::DotLine); break;
        case psDashDot: p.setStyle(Qt::DashDotLine); break;
        case psDashDotDot: p.setStyle(Qt::DashDotDotLine); break;
        default: break;
      }
      if (!pen->DashPattern().empty()) p.setDashPattern(CustomDashes(*pen, w));
    }
    return p;
  }

  // Writes single pixels through the clip with a raster operation.
  struct PixelWriter {
    uchar* bits;
    qsizetype bpl;
    QRect bounds;
    const TClip* region = nullptr;  // a clip that is more than its bounds
    TPenMode mode;
    PixelWriter(QImage& img, const std::vector<TClip>& clips, TPenMode m)
        : bits(img.bits()), bpl(img.bytesPerLine()), bounds(img.rect()), mode(m) {
      if (!clips.empty()) {
        const TClip& r = clips.back();
        bounds &= r.Bounds();
        if (!r.Simple()) region = &r;
      }
    }
    bool Inside(int x, int y) const {
      return x >= bounds.left() && x <= bounds.right() && y >= bounds.top() && y <= bounds.bottom() &&
             (!region || region->ContainsInBounds(x, y));
    }
    void Put(int x, int y, QRgb c) {
      if (!Inside(x, y)) return;
      QRgb* p = reinterpret_cast<QRgb*>(bits + y * bpl) + x;
      if (mode == pmCopy) *p = 0xFF000000u | c;
      else *p = 0xFF000000u | (gfx::Rop2(mode, c & 0xFFFFFF, *p) & 0xFFFFFF);
    }
  };

  // A one-pixel line from (x0, y0) towards (x1, y1), its end pixel left out; Step
  // carries the dash position along a figure.
  void CosmeticLine(QImage& img, int x0, int y0, int x1, int y1, long long& step) {
    const TPoint to{x1, y1};
    CosmeticPolyline(img, {x0, y0}, &to, 1, step);
  }

  // Segments from From through Points, each as CosmeticLine draws it, with one
  // writer and one look-up of the colours and the dash pattern.
  void CosmeticPolyline(QImage& img, TPoint From, const TPoint* Points, int Count, long long& step) {
    PixelWriter w(img, clips, pen->Mode());
    ResolveBrush();
    const QRgb fg = ToQRgb(pen->Color()), bg = ToQRgb(bkColor);
    auto dash = PenPattern(*pen);
    if (dash && dash->period <= 0) dash.reset();  // a pattern of no length draws solid
    // Whether each position of a short period is on, looked up rather than counted.
    std::vector<char> onAt;
    if (dash && dash->period <= 4096)
      for (int i = 0; i < dash->period; ++i) onAt.push_back(DashOn(*dash, i));
    const TDash d{dash ? &*dash : nullptr, onAt.empty() ? nullptr : onAt.data()};
    const bool opaque = bkMode == OPAQUE;
    // A solid line in copy mode sets its pixels to one colour in any order: the steep
    // segments' pixels are gathered into one run per column (a dense line reduced to
    // columns goes down each column and back up, and is written once there).
    const bool runs = !d.Pattern && w.mode == pmCopy;
    TColumnRuns column{w, 0xFF000000u | fg};
    int left = From.X, top = From.Y, right = From.X, bottom = From.Y;
    for (int i = 0; i < Count; ++i) {
      const TPoint to = Points[i];
      if (!runs || (!ShortRuns(column, From, to, step) && !SteepRuns(column, From.X, From.Y, to.X, to.Y, step)))
        SegmentPixels(w, From.X, From.Y, to.X, to.Y, step, fg, bg, d, opaque);
      left = std::min(left, to.X);
      right = std::max(right, to.X);
      top = std::min(top, to.Y);
      bottom = std::max(bottom, to.Y);
      From = to;
    }
    column.Flush();
    Touch(QRect(QPoint(left, top), QPoint(right, bottom)));
  }

  // Pixels of one column, rows Top..Bottom, set through the writer's clip; Add gathers
  // runs of the same column that touch or overlap into one before writing it.
  struct TColumnRuns {
    PixelWriter& w;
    QRgb on;
    bool open = false;
    int x = 0, top = 0, bottom = 0;
    void Add(int X, int Top, int Bottom) {
      if (open && X == x && Top <= bottom + 1 && Bottom + 1 >= top) {
        top = std::min(top, Top);
        bottom = std::max(bottom, Bottom);
        return;
      }
      Flush();
      open = true;
      x = X, top = Top, bottom = Bottom;
    }
    void Flush() {
      if (!open) return;
      open = false;
      const QRect& b = w.bounds;
      if (x < b.left() || x > b.right()) return;
      const int y0 = std::max(top, b.top()), y1 = std::min(bottom, b.bottom());
      if (y0 > y1) return;
      const qsizetype stride = w.bpl / qsizetype(sizeof(QRgb));
      QRgb* p = reinterpret_cast<QRgb*>(w.bits + y0 * w.bpl) + x;
      if (!w.region || w.region->ColumnInside(x, y0, y1)) {
        for (int y = y0; y <= y1; ++y, p += stride) *p = on;
        return;
      }
      for (int y = y0; y <= y1; ++y, p += stride)
        if (w.region->ContainsInBounds(x, y)) *p = on;
    }
  };

  static constexpr int RunReach = 1 << 26;  // coordinates beyond are stepped (no overflow)
  // The runs of a segment that stays in its column or steps into the next one (most
  // of those of a line reduced to columns), as SegmentPixels sets them; false for any
  // other segment.
  static bool ShortRuns(TColumnRuns& Runs, TPoint a, TPoint b, long long& step) {
    const long long dx = (long long)b.X - a.X;  // any two ints apart
    if (dx < -1 || dx > 1 || a.X < -RunReach || a.X > RunReach || a.Y < -RunReach || a.Y > RunReach ||
        b.Y < -RunReach || b.Y > RunReach)
      return false;
    const int dy = std::abs(b.Y - a.Y), sy = a.Y < b.Y ? 1 : -1;
    if (dy <= 1) {
      // No step or one: the first pixel alone.
      if (dx != 0 || dy != 0) Runs.Add(a.X, a.Y, a.Y), ++step;
      return true;
    }
    step += dy;
    const int last = b.Y - sy;  // the row of the last step
    if (dx == 0) {
      Runs.Add(a.X, std::min(a.Y, last), std::max(a.Y, last));
      return true;
    }
    // Steps 0..m-1 in the first column, m = (dy + 2) / 2 the first in the second.
    const int m = (dy + 2) / 2, before = a.Y + sy * (m - 1), after = a.Y + sy * m;
    Runs.Add(a.X, std::min(a.Y, before), std::max(a.Y, before));
    if (m < dy) Runs.Add(b.X, std::min(after, last), std::max(after, last));
    return true;
  }

  // A steep segment (more rows than columns) as runs per column: the pixels
  // SegmentPixels steps through, its end pixel left out. Step k lies
  // c(k) = (2 dx k + dy - 1) / (2 dy) columns from the first, so each column's steps
  // are found without stepping. False for a flat segment and for coordinates so far
  // out that the products could overflow (those are stepped).
  static bool SteepRuns(TColumnRuns& Runs, int x0, int y0, int x1, int y1, long long& step) {
    const long long dx = std::abs((long long)x1 - x0), dy = std::abs((long long)y1 - y0);
    constexpr long long Reach = RunReach;
    if (dy <= dx || dy >= Reach || std::abs((long long)x0) >= Reach || std::abs((long long)y0) >= Reach) return false;
    step += dy;
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    // Steps whose row lies inside the bounds.
    const QRect& b = Runs.w.bounds;
    long long k0 = 0, k1 = dy - 1;
    if (sy > 0) {
      k0 = std::max(k0, (long long)b.top() - y0);
      k1 = std::min(k1, (long long)b.bottom() - y0);
    } else {
      k0 = std::max(k0, y0 - (long long)b.bottom());
      k1 = std::min(k1, y0 - (long long)b.top());
    }
    if (k0 > k1) return true;
    const auto columnOf = [&](long long k) { return (2 * dx * k + dy - 1) / (2 * dy); };
    // The first step in column c (c > 0, so dx > 0).
    const auto firstIn = [&](long long c) { return (2 * dy * c - dy + 2 * dx) / (2 * dx); };
    const long long cLast = columnOf(k1);
    for (long long c = columnOf(k0); c <= cLast; ++c) {
      const long long from = c == 0 ? k0 : std::max(k0, firstIn(c));
      const long long to = c == cLast ? k1 : std::min(k1, firstIn(c + 1) - 1);
      const long long a = y0 + sy * from, e = y0 + sy * to;
      Runs.Add(int(x0 + sx * c), int(std::min(a, e)), int(std::max(a, e)));
    }
    return true;
  }

  // A dash pattern with its positions looked up (OnAt, when short) or counted.
  struct TDash {
    const DashPattern* Pattern;  // nullptr: solid
    const char* OnAt;
    // Walks the pattern one position per Next from Step on, without a division per pixel.
    struct TCursor {
      const TDash& Dash;
      int Pos;
      bool Next() {
        if (!Dash.Pattern) return true;
        const bool on = Dash.OnAt ? Dash.OnAt[Pos] != 0 : DashOn(*Dash.Pattern, Pos);
        if (++Pos == Dash.Pattern->period) Pos = 0;
        return on;
      }
    };
    TCursor From(long long Step) const { return {*this, Pattern ? int(Step % Pattern->period) : 0}; }
  };

  // Horizontal and vertical lines in copy mode (grids, axes, wicks, the columns of a
  // reduced line) go straight along their row or column; through a clip of spans a
  // row is cut to its one span, a column tests each row's spans.
  static bool StraightPixels(PixelWriter& w, bool xMajor, long long dx, long long dy, int x0, int y0, int sx, int sy,
                             long long k0, long long k1, long long step, QRgb fg, QRgb bg, const TDash& dash,
                             bool opaque) {
    if ((xMajor ? dy : dx) != 0 || w.mode != pmCopy) return false;
    if (xMajor ? (y0 < w.bounds.top() || y0 > w.bounds.bottom()) : (x0 < w.bounds.left() || x0 > w.bounds.right()))
      return true;
    if (w.region && xMajor) {
      const auto [s, e] = w.region->Row(y0);
      if (s == e) return true;
      if (e - s > 1) return false;  // several spans: pixel by pixel
      // Steps whose x lies in the span.
      const long long a = sx > 0 ? s->X0 - x0 : x0 - s->X1, b = sx > 0 ? s->X1 - x0 : x0 - s->X0;
      k0 = std::max(k0, a);
      k1 = std::min(k1, b);
      if (k0 > k1) return true;
    }
    const long long x = xMajor ? x0 + sx * k0 : x0, y = xMajor ? y0 : y0 + sy * k0;
    QRgb* p = reinterpret_cast<QRgb*>(w.bits + y * w.bpl) + x;
    const qsizetype stride = xMajor ? sx : sy * (w.bpl / qsizetype(sizeof(QRgb)));
    const QRgb on = 0xFF000000u | fg, off = 0xFF000000u | bg;
    if (w.region && !xMajor) {
      const TClip& clip = *w.region;
      return Straight(p, stride, k0, k1, step, on, off, dash, opaque,
                      [&](long long k) { return clip.ContainsInBounds(x0, int(y0 + sy * k)); });
    }
    if (dash.Pattern && dash.Pattern->period <= MaskSpan) {
      DashMasked(p, stride, k1 - k0 + 1, step + k0, on, off, *dash.Pattern, opaque);
      return true;
    }
    return Straight(p, stride, k0, k1, step, on, off, dash, opaque, [](long long) { return true; });
  }

  // A pattern (of a period up to MaskSpan) laid out pixel by pixel as masks (all bits
  // set where it is on), from position Pos on for at least MaskSpan pixels; made once
  // per pattern and thread.
  static constexpr int MaskSpan = 4096;
  static const QRgb* DashMask(const DashPattern& d, int Pos) {
    struct TKept {
      std::vector<int> Runs;
      std::vector<QRgb> Mask;
    };
    thread_local std::vector<TKept> kept;
    const auto same = [&](const TKept& k) { return std::equal(k.Runs.begin(), k.Runs.end(), d.runs, d.runs + d.count); };
    auto it = std::find_if(kept.begin(), kept.end(), same);
    if (it == kept.end()) {
      if (kept.size() >= 16) kept.clear();
      TKept k{{d.runs, d.runs + d.count}, std::vector<QRgb>(size_t(d.period) + MaskSpan)};
      for (size_t i = 0; i < k.Mask.size(); ++i) k.Mask[i] = DashOn(d, int(i % size_t(d.period))) ? ~0u : 0u;
      kept.push_back(std::move(k));
      it = kept.end() - 1;
    }
    return it->Mask.data() + Pos;
  }

  // N pixels of a dashed line from P on, Stride apart, the first at pattern position
  // Step: the pattern's mask blended into them (a row costs a few operations per four
  // pixels, however short its dashes).
  static void DashMasked(QRgb* p, qsizetype stride, long long n, long long step, QRgb on, QRgb off,
                         const DashPattern& d, bool opaque) {
    int pos = int(step % d.period);
    while (n > 0) {
      const int count = int(std::min<long long>(n, MaskSpan));
      const QRgb* m = DashMask(d, pos);
      if (stride == 1 && opaque)
        for (int j = 0; j < count; ++j) p[j] = (on & m[j]) | (off & ~m[j]);
      else if (stride == 1)
        for (int j = 0; j < count; ++j) p[j] = (on & m[j]) | (p[j] & ~m[j]);
      else if (opaque)
        for (int j = 0; j < count; ++j) p[j * stride] = (on & m[j]) | (off & ~m[j]);
      else  // each pixel in a row of its own: the gaps are not even read
        for (int j = 0; j < count; ++j)
          if (m[j]) p[j * stride] = on;
      p += count * stride;
      n -= count;
      pos = int((pos + count) % d.period);
    }
  }

  // Steps K0..K1 from P on, Stride apart, where Visible(k).
  template <class Visible>
  static bool Straight(QRgb* p, qsizetype stride, long long k0, long long k1, long long step, QRgb on, QRgb off,
                       const TDash& dash, bool opaque, Visible&& visible) {
    if (!dash.Pattern) {
      for (long long k = k0; k <= k1; ++k, p += stride)
        if (visible(k)) *p = on;
      return true;
    }
    if (dash.OnAt) {
      // The pattern in locals: the pixel writes could otherwise alias its period.
      const char* onAt = dash.OnAt;
      const int period = dash.Pattern->period;
      int pos = int((step + k0) % period);
      for (long long k = k0; k <= k1; ++k, p += stride) {
        if (visible(k)) {
          if (onAt[pos]) *p = on;
          else if (opaque) *p = off;
        }
        if (++pos == period) pos = 0;
      }
      return true;
    }
    TDash::TCursor at = dash.From(step + k0);
    for (long long k = k0; k <= k1; ++k, p += stride) {
      const bool set = at.Next();
      if (!visible(k)) continue;
      if (set) *p = on;
      else if (opaque) *p = off;
    }
    return true;
  }

  // The pixels of one segment, its end pixel left out. Only the part of the segment
  // inside the writer's bounds is stepped through; the pixels are those of the whole
  // line (the error term is advanced to where the part begins). Step counts the dash
  // positions along the figure.
  static void SegmentPixels(PixelWriter& w, int x0, int y0, int x1, int y1, long long& step, QRgb fg, QRgb bg,
                            const TDash& dash, bool opaque) {
    const long long dx = std::abs((long long)x1 - x0), dy = std::abs((long long)y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const long long n = std::max(dx, dy);
    const bool xMajor = dx >= dy;
    // Steps k = 0..n-1 whose major coordinate lies inside the bounds.
    const long long major0 = xMajor ? x0 : y0;
    const int sMajor = xMajor ? sx : sy;
    const long long lo = xMajor ? w.bounds.left() : w.bounds.top();
    const long long hi = xMajor ? w.bounds.right() : w.bounds.bottom();
    long long k0 = 0, k1 = n - 1;
    if (sMajor > 0) {
      k0 = std::max(k0, lo - major0);
      k1 = std::min(k1, hi - major0);
    } else {
      k0 = std::max(k0, major0 - hi);
      k1 = std::min(k1, major0 - lo);
    }
    const long long start = step;
    step += n;
    if (k0 > k1) return;
    if (StraightPixels(w, xMajor, dx, dy, x0, y0, sx, sy, k0, k1, start, fg, bg, dash, opaque)) return;
    // Where the line is after k0 steps: c minor steps, and the error term then.
    const long long big = xMajor ? dx : dy, small = xMajor ? dy : dx;
    // In 128 bits: across the int range 2 * small * k0 reaches 2^65.
    using wide = __int128;
    const long long c = (long long)((2 * wide(small) * k0 + big - 1) / (2 * wide(big)));
    long long err = (long long)(2 * wide(small) * (k0 + 1) - big - 2 * wide(big) * c);
    long long x = xMajor ? x0 + sx * k0 : x0 + sx * c;
    long long y = xMajor ? y0 + sy * c : y0 + sy * k0;
    TDash::TCursor at = dash.From(start + k0);
    for (long long k = k0; k <= k1; ++k) {
      const bool on = at.Next();
      if (on) w.Put(int(x), int(y), fg);
      else if (opaque) w.Put(int(x), int(y), bg);
      if (xMajor) {
        if (err > 0) { y += sy; err -= 2 * dx; }
        err += 2 * dy;
        x += sx;
      } else {
        if (err > 0) { x += sx; err -= 2 * dy; }
        err += 2 * dx;
        y += sy;
      }
    }
  }

  // A plain copy (same size, same direction, copy mode, source inside its image, both
  // images RGB32) goes row by row through the clip, as the painter's copy of RGB32 onto
  // RGB32 does, without an intermediate image. False when the copy needs the painter.
  bool CopyRows(const TRect& Dest, const QImage& Src, const QRect& Source) {
    RasterScope rs(*this);
    if (copyMode != cmSrcCopy || Src.format() != QImage::Format_RGB32 || Dest.Right < Dest.Left ||
        Dest.Bottom < Dest.Top || Dest.Right - Dest.Left != Source.width() ||
        Dest.Bottom - Dest.Top != Source.height() || !Src.rect().contains(Source) || Source.isEmpty())
      return false;
    const QImage* dest = ReadImage();
    if (!attached || !dest || dest->format() != QImage::Format_RGB32 || dest == &Src ||
        dest->constBits() == Src.constBits())
      return false;
    bool done = false;
    Draw([&](QImage& img) {
      if (img.format() != QImage::Format_RGB32 || img.constBits() == Src.constBits()) return;
      done = true;
      const QRect target(Dest.Left, Dest.Top, Source.width(), Source.height());
      Touch(target);
      uchar* bits = img.bits();
      const qsizetype bpl = img.bytesPerLine();
      auto copyArea = [&](const QRect& area) {
        const QRect a = area & target & img.rect();
        for (int y = a.top(); y <= a.bottom() && !a.isEmpty(); ++y)
          std::memcpy(reinterpret_cast<QRgb*>(bits + y * bpl) + a.left(),
                      reinterpret_cast<const QRgb*>(Src.constScanLine(Source.top() + y - target.top())) +
                          Source.left() + a.left() - target.left(),
                      size_t(a.width()) * sizeof(QRgb));
      };
      if (clips.empty()) copyArea(img.rect());
      else clips.back().ForEachArea(target, copyArea);
    });
    return done;
  }

  // A rectangle filled with a solid brush, pixel rows written straight through the
  // clip (what QPainter's fill gives, without setting one up). False when the brush
  // or the rectangle needs the painter.
  // N pixels from P on set to Colour. A long run goes to the processor's string store,
  // which writes whole cache lines without reading them first (a picture's background
  // is the largest thing a chart writes).
  static void FillPixels(QRgb* P, size_t N, QRgb Colour) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (N >= 1024) {
      asm volatile("rep stosl" : "+D"(P), "+c"(N) : "a"(Colour) : "memory");
      return;
    }
#endif
    std::fill_n(P, N, Colour);
  }

  bool FillSolid(QImage& img, const QRect& r, const QBrush& fill) {
    if (fill.style() == Qt::NoBrush) return true;
    if (fill.style() != Qt::SolidPattern || !r.isValid()) return false;
    const QRgb colour = fill.color().rgb() | 0xFF000000u;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    auto fillArea = [&](const QRect& area) {
      const QRect a = area & r & img.rect();
      if (a.isEmpty()) return;
      if (a.left() == 0 && a.width() == img.width() && bpl == qsizetype(a.width()) * qsizetype(sizeof(QRgb))) {
        // Whole rows of an image without padding: one run of pixels.
        FillPixels(reinterpret_cast<QRgb*>(bits + a.top() * bpl), size_t(a.width()) * size_t(a.height()), colour);
        return;
      }
      // One row by hand, the others copied from it.
      QRgb* first = reinterpret_cast<QRgb*>(bits + a.top() * bpl) + a.left();
      std::fill_n(first, a.width(), colour);
      for (int y = a.top() + 1; y <= a.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb*>(bits + y * bpl) + a.left(), first, size_t(a.width()) * sizeof(QRgb));
    };
    if (clips.empty()) fillArea(img.rect());
    else clips.back().ForEachArea(r, fillArea);
    return true;
  }

  // A rectangle of at least two pixels each way with a solid one-pixel pen in copy mode
  // and a solid or no brush, written row by row through the clip: the frame's pixels
  // and the inside's, as the outline and the fill set them. False when it does not apply.
  bool FramedBox(QImage& img, const TRect& r, const QBrush& fill) {
    if (pen->Mode() != pmCopy || pen->Style() != psSolid || !pen->DashPattern().empty() || r.Width() < 2 ||
        r.Height() < 2 || (fill.style() != Qt::SolidPattern && fill.style() != Qt::NoBrush))
      return false;
    const QRgb frame = 0xFF000000u | ToQRgb(pen->Color()), inside = fill.color().rgb() | 0xFF000000u;
    const bool filled = fill.style() == Qt::SolidPattern;
    const int l = r.Left, t = r.Top, rr = r.Right - 1, b = r.Bottom - 1;
    QRect bounds = img.rect();
    if (!clips.empty()) bounds &= clips.back().Bounds();
    const TClip* region = clips.empty() || clips.back().Simple() ? nullptr : &clips.back();
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    // Pixels X0..X1 of row Y in colour C, through the clip.
    const auto span = [&](int Y, int X0, int X1, QRgb C) {
      if (Y < bounds.top() || Y > bounds.bottom()) return;
      X0 = std::max(X0, bounds.left());
      X1 = std::min(X1, bounds.right());
      QRgb* row = reinterpret_cast<QRgb*>(bits + Y * bpl);
      if (!region) {
        if (X0 <= X1) std::fill(row + X0, row + X1 + 1, C);
        return;
      }
      for (auto [s, e] = region->Row(Y); s != e; ++s)
        for (int x = std::max(X0, s->X0), end = std::min(X1, s->X1); x <= end; ++x) row[x] = C;
    };
    span(t, l, rr, frame);
    for (int y = t + 1; y < b; ++y) {
      span(y, l, l, frame);
      if (filled) span(y, l + 1, rr - 1, inside);
      span(y, rr, rr, frame);
    }
    span(b, l, rr, frame);
    Touch(QRect(QPoint(l, t), QPoint(rr, b)));
    return true;
  }

  // Whether a polygon's fill can be written row by row (scanfill.h) rather than by the
  // painter: copy mode, no smoothing, a pen of one pixel or none, a solid brush or none,
  // corners within reach.
  bool PlainPolygon(const QBrush& Fill, const TPoint* Points, int Count) const {
    return !antialias && pen->Mode() == pmCopy && (Cosmetic() || !PenVisible()) && Count >= 3 &&
           Count <= scanfill::MaxCorners && (Fill.style() == Qt::SolidPattern || Fill.style() == Qt::NoBrush) &&
           scanfill::WithinReach(Points, Count);
  }
  // The fill's rows written through the clip.
  void FillPolygonRows(QImage& img, const TPoint* Points, int Count, QRgb Colour) {
    PixelWriter w(img, clips, pmCopy);
    scanfill::Fill(Points, Count, w.bounds.top(), w.bounds.bottom(), [&](int y, int x0, int x1) {
      x0 = std::max(x0, w.bounds.left());
      x1 = std::min(x1, w.bounds.right());
      QRgb* row = reinterpret_cast<QRgb*>(w.bits + y * w.bpl);
      if (!w.region) {
        if (x0 <= x1) std::fill(row + x0, row + x1 + 1, Colour);
        return;
      }
      for (auto [s, e] = w.region->Row(y); s != e; ++s)
        for (int x = std::max(x0, s->X0), end = std::min(x1, s->X1); x <= end; ++x) row[x] = Colour;
    });
  }

  // Paints with QPainter, in copy mode straight onto the image, in any other pen mode
  // through a scratch layer combined pixel by pixel. Bounds: what the painting covers.
  template <class F>
  void PaintShape(QImage& img, QRect bounds, TPenMode mode, F&& paint) {
    bounds = bounds.normalized().adjusted(-1, -1, 1, 1) & img.rect();
    if (bounds.isEmpty() || mode == pmNop) return;
    Touch(bounds);
    if (mode == pmCopy) {
      QPainter p(&img);
      SetupPainter(p, &bounds);
      paint(p);
      return;
    }
    QImage layer(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
      QPainter p(&layer);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.translate(-bounds.topLeft());
      paint(p);
    }
    PixelWriter w(img, clips, mode);
    for (int y = 0; y < layer.height(); ++y) {
      const QRgb* s = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
      for (int x = 0; x < layer.width(); ++x)
        if (qAlpha(s[x]) >= 128) w.Put(bounds.left() + x, bounds.top() + y, s[x]);
    }
  }

  // The outline of a closed figure with the one-pixel pen, every pixel once.
  void CosmeticOutline(QImage& img, const TPoint* pts, int n, bool closed) {
    long long step = 0;
    for (int i = 0; i + 1 < n; ++i) CosmeticLine(img, pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, step);
    if (closed && n > 1) CosmeticLine(img, pts[n - 1].X, pts[n - 1].Y, pts[0].X, pts[0].Y, step);
  }

  // Box shapes (rectangle, ellipse, rounded rectangle) inside (r.Left, r.Top)-(r.Right,
  // r.Bottom) exclusive. Without a pen the fill stops one pixel short on the right and
  // at the bottom, as on the device. A shape with a StampKind (>= 0) is drawn from its
  // stamp when it can be (see Stamp).
  template <class Shape>
  void BoxShape(const TRect& box, Shape&& shape, int StampKind = -1) {
    TRect r = Normalized(box);
    Draw([&](QImage& img) {
      QBrush fill = FillBrush();
      int w = pen->Width();
      // The shape with its box at (Left, Top); nothing leaves the box.
      auto paint = [&](QPainter& p, int Left, int Top) {
        const int width = r.Width(), height = r.Height();
        QRect qr(Left, Top, width, height);
        QRect limit = PenVisible() ? qr : qr.adjusted(0, 0, -1, -1);
        p.setClipRect(limit, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (!PenVisible()) {
          p.setPen(Qt::NoPen);
          p.setBrush(fill);
          shape(p, QRectF(Left, Top, width - 0.5, height - 0.5));
        } else if (w <= 1) {
          QRectF box(Left, Top, width - 1, height - 1);
          QPen outline = ShapePen();
          if (outline.style() != Qt::SolidLine && bkMode == OPAQUE) {
            // The gaps of a styled pen: a solid outline in the background colour first
            // (Qt's own opaque mode strokes a different outline).
            QPen back = outline;
            back.setStyle(Qt::SolidLine);
            back.setColor(QColor(ToQRgb(bkColor)));
            p.setPen(back);
            p.setBrush(fill);
            shape(p, box);
            p.setBrush(Qt::NoBrush);
          } else {
            p.setBrush(fill);
          }
          p.setPen(outline);
          shape(p, box);
        } else {
          // Wide pens stay inside the box.
          p.setPen(ShapePen());
          p.setBrush(fill);
          shape(p, QRectF(Left + w / 2.0, Top + w / 2.0, width - w, height - w));
        }
      };
      QRect qr(r.Left, r.Top, r.Width(), r.Height());
      if (StampKind >= 0 && StampFits(fill, qr)) {
        const Stamp& stamp = StampOf(StampKind, fill, qr.size(), [&](QPainter& p) { paint(p, 0, 0); });
        PixelWriter out(img, clips, pmCopy);
        for (const StampPixel& px : stamp.Pixels) out.Put(qr.left() + px.X, qr.top() + px.Y, px.Color);
        Touch(qr.adjusted(-1, -1, 1, 1) & img.rect());
        return;
      }
      PaintShape(img, qr, pen->Mode(), [&](QPainter& p) { paint(p, r.Left, r.Top); });
    });
  }

  // Stamps: a box shape drawn once into a transparent image of its box and then
  // copied pixel by pixel wherever the same shape is drawn again (markers). Without
  // antialiasing, in copy mode and with a solid or clear brush, a shape drawn at a
  // whole-pixel offset covers the same pixels moved by that offset, so the copy is
  // what drawing it there gives. Hatches are aligned to the image and dashes follow
  // the clip, so they do not qualify.
  struct StampPixel {
    int X, Y;
    QRgb Color;
  };
  struct Stamp {
    int Kind = -1;
    QSize Size;
    QRgb Pen = 0, Back = 0;
    int PenWidth = 0, BackMode = 0;
    TPenStyle PenStyle = psSolid;
    TPenEndCap EndCap = pecRound;
    Qt::BrushStyle Fill = Qt::NoBrush;
    QRgb FillColor = 0;
    std::vector<StampPixel> Pixels;
  };
  std::array<Stamp, 4> stamps;
  int nextStamp = 0;

  bool StampFits(const QBrush& Fill, const QRect& Box) const {
    return pen->Mode() == pmCopy && !antialias && (pen->Style() == psSolid || pen->Style() == psClear) &&
           pen->DashPattern().empty() &&
           (Fill.style() == Qt::NoBrush || Fill.style() == Qt::SolidPattern) &&
           Box.width() > 0 && Box.height() > 0 && Box.width() <= 64 && Box.height() <= 64;
  }

  template <class Paint>
  const Stamp& StampOf(int Kind, const QBrush& Fill, QSize Size, Paint&& PaintAtOrigin) {
    Stamp key;
    key.Kind = Kind;
    key.Size = Size;
    key.Pen = PenVisible() ? ToQRgb(pen->Color()) : 0;
    key.PenWidth = PenVisible() ? pen->Width() : 0;
    key.PenStyle = PenVisible() ? pen->Style() : psClear;
    key.EndCap = pen->EndCap();
    key.BackMode = bkMode;
    key.Back = bkMode == OPAQUE ? ToQRgb(bkColor) : 0;
    key.Fill = Fill.style();
    key.FillColor = Fill.style() == Qt::SolidPattern ? Fill.color().rgb() : 0;
    for (const Stamp& s : stamps)
      if (s.Kind == key.Kind && s.Size == key.Size && s.Pen == key.Pen && s.PenWidth == key.PenWidth &&
          s.PenStyle == key.PenStyle && s.EndCap == key.EndCap && s.BackMode == key.BackMode && s.Back == key.Back && s.Fill == key.Fill &&
          s.FillColor == key.FillColor)
        return s;
    QImage image(Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, false);
      PaintAtOrigin(p);
    }
    for (int y = 0; y < image.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (qAlpha(row[x]) >= 128) key.Pixels.push_back({x, y, row[x]});
    }
    Stamp& slot = stamps[size_t(nextStamp)];
    nextStamp = (nextStamp + 1) % int(stamps.size());
    slot = std::move(key);
    return slot;
  }

  // The pixels an upright text sets without antialiasing, as rows of runs from its
  // pen point. The glyphs are then one colour, so a label drawn again sets the same
  // pixels without a painter and without shaping it again. They are worked out the
  // second time a font and text come (the first time the painter draws it: a text
  // shown once, as in a scrolled grid, costs no more than drawing it). One table per
  // thread, keyed by font and text like the widths, emptied when it grows large.
  struct TTextRun {
    int Y, X0, X1;  // X1 excluded
  };
  struct TKeptText {
    bool Made = false;  // the runs were worked out (else the text was drawn once)
    std::optional<std::vector<TTextRun>> Runs;  // none: the painter draws it
    QRect Box;                                  // around the runs, from the pen point
  };
  // What is kept of the texts of one font (by its key): their widths and pixels. One
  // table of fonts per thread (bitmaps are drawn on any thread); a canvas holds on to
  // its font's tables until its font, its thread or the table of fonts changes.
  struct TFontTables {
    std::unordered_map<std::string, int> Widths;
    std::unordered_map<std::string, TKeptText> Texts;
  };
  // Each thread's table of fonts, as it was made or last emptied, has a stamp of its own
  // in the whole process: a thread that has ended may leave its place to a new one, so
  // the table's address does not tell whether the canvas's tables still exist.
  static unsigned long long NewStamp() {
    static std::atomic<unsigned long long> last{0};
    return ++last;
  }
  struct TThreadFonts {
    std::unordered_map<std::string, TFontTables> ByKey;
    unsigned long long Stamp = NewStamp();
  };
  TFontTables* tables = nullptr;  // of fontKey, in the table of fonts stamped tablesStamp
  unsigned long long tablesStamp = 0;
  TFontTables& Tables() {
    Font();  // the key follows the font
    thread_local TThreadFonts fonts;
    if (tables && tablesStamp == fonts.Stamp) return *tables;
    if (fonts.ByKey.size() >= 64 && !fonts.ByKey.count(fontKey)) {
      fonts.ByKey.clear();
      fonts.Stamp = NewStamp();
    }
    tables = &fonts.ByKey[fontKey];
    tablesStamp = fonts.Stamp;
    return *tables;
  }
  const TKeptText* TextRuns(const std::string& Text) {
    std::unordered_map<std::string, TKeptText>& table = Tables().Texts;
    const QFontMetrics& m = Metrics();
    auto it = table.find(Text);
    if (it == table.end()) {
      if (table.size() >= 4096) table.clear();
      table.emplace(Text, TKeptText{});
      return nullptr;
    }
    TKeptText& kept = it->second;
    if (kept.Made) return kept.Runs ? &kept : nullptr;
    kept.Made = true;
    // Drawn on a clear image with room all round; a glyph reaching the edge would
    // have been cut, so such a text keeps the painter.
    const int h = m.ascent() + m.descent();
    const int mx = 2 * h + 8, my = h + 8;
    if (TextWidth(Text) > 4096 || h > 1024) return nullptr;  // no labels: not worth keeping
    QImage im(TextWidth(Text) + 2 * mx, h + 2 * my, QImage::Format_ARGB32_Premultiplied);
    im.fill(0);
    {
      QPainter p(&im);
      SetupHints(p);
      p.setFont(Font());
      p.setPen(QColor(Qt::white));
      p.drawText(QPoint(mx, my + m.ascent()), QString::fromStdString(Text));
    }
    std::vector<TTextRun> runs;
    bool cut = false, oneColour = true;
    const int iw = im.width(), ih = im.height();
    for (int y = 0; y < ih; ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(im.constScanLine(y));
      for (int x = 0; x < iw;) {
        // Most of the image is clear: skip it two pixels at a time.
        while (x + 2 <= iw && (row[x] | row[x + 1]) == 0) x += 2;
        if (x < iw && row[x] == 0) ++x;
        if (x >= iw) break;
        const QRgb v = row[x];
        oneColour &= v == 0xFFFFFFFFu;
        const int x0 = x;
        while (x < iw && row[x] == v) ++x;
        cut |= y == 0 || y == ih - 1 || x0 == 0 || x == iw;
        runs.push_back({y - my - m.ascent(), x0 - mx, x - mx});
      }
    }
    if (!cut && oneColour) {
      for (const TTextRun& r : runs) kept.Box |= QRect(r.X0, r.Y, r.X1 - r.X0, 1);
      kept.Runs = std::move(runs);
    }
    return kept.Runs ? &kept : nullptr;
  }

  // Sets the pixels of Text with its pen point at (X, Y) through the clip (and
  // ClipTo); false where the painter must draw it.
  bool StampText(QImage& img, int X, int Y, const std::string& Text, const QRect* ClipTo) {
    const QImage::Format f = img.format();
    if (antialias || (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied))
      return false;
    const TKeptText* kept = TextRuns(Text);
    if (!kept) return false;
    PixelWriter w(img, clips, pmCopy);
    if (ClipTo) w.bounds &= *ClipTo;
    const QRgb c = 0xFF000000u | ToQRgb(font->Color());
    if (!w.region && w.bounds.contains(kept->Box.translated(X, Y))) {
      // All inside: each run set without a test.
      for (const TTextRun& r : *kept->Runs) {
        QRgb* p = reinterpret_cast<QRgb*>(w.bits + (Y + r.Y) * w.bpl) + X + r.X0;
        for (int n = r.X1 - r.X0; n > 0; --n) *p++ = c;
      }
      return true;
    }
    for (const TTextRun& r : *kept->Runs) {
      const int y = Y + r.Y;
      if (y < w.bounds.top() || y > w.bounds.bottom()) continue;
      const int x0 = std::max(X + r.X0, w.bounds.left()), x1 = std::min(X + r.X1, w.bounds.right() + 1);
      QRgb* row = reinterpret_cast<QRgb*>(w.bits + y * w.bpl);
      if (!w.region) {
        std::fill(row + x0, row + std::max(x0, x1), c);
        continue;
      }
      for (auto [s, e] = w.region->Row(y); s != e; ++s)
        for (int x = std::max(x0, s->X0), end = std::min(x1 - 1, s->X1); x <= end; ++x) row[x] = c;
    }
    return true;
  }

  void TextAt(QImage& img, int x, int y, const std::string& text, bool opaque, const QRect* clipTo) {
    int w = TextWidth(text), asc = Ascent(), h = CellHeight();
    int dx = 0, dy = 0;
    if ((textAlign & TA_CENTER) == TA_CENTER) dx = -w / 2;
    else if (textAlign & TA_RIGHT) dx = -w;
    if ((textAlign & TA_BASELINE) == TA_BASELINE) dy = -asc;
    else if (textAlign & TA_BOTTOM) dy = -h;
    const int o = font->Orientation();
    if (!opaque && o % 3600 == 0 && StampText(img, x + dx, y + dy + asc, text, clipTo)) {
      Touch(QRect(x + dx, y + dy, w, h).adjusted(-h, -2, h, 2));
      return;
    }
    QPainter p(&img);
    SetupPainter(p);
    p.setRenderHint(QPainter::TextAntialiasing, TextSmooth());
    if (clipTo) p.setClipRect(*clipTo, clips.empty() ? Qt::ReplaceClip : Qt::IntersectClip);
    p.translate(x, y);
    if (o % 3600 != 0) p.rotate(-(o % 3600) / 10.0);  // any int, even the most negative
    QRect cell(dx, dy, w, h);
    if (opaque) p.fillRect(cell, QColor(ToQRgb(bkColor)));
    p.setFont(Font());
    p.setPen(QColor(ToQRgb(font->Color())));
    p.drawText(QPoint(dx, dy + asc), QString::fromStdString(text));
    Touch(p.transform().mapRect(cell.adjusted(-h, -2, h, 2)));
  }

  void DrawImage(const TRect& dest, const QImage& image, QRect src, const QImage* mask,
                 std::optional<QRgb> transparent) {
    RasterScope rs(*this);
    TRect d = Normalized(dest);
    src &= image.rect();
    if (d.Width() <= 0 || d.Height() <= 0 || src.isEmpty()) return;
    QImage piece = image.copy(src).convertToFormat(QImage::Format_RGB32);
    if (dest.Right < dest.Left) piece = piece.mirrored(true, false);
    if (dest.Bottom < dest.Top) piece = piece.mirrored(false, true);
    QImage m;
    if (mask) {
      m = mask->copy(src).convertToFormat(QImage::Format_RGB32);
      if (dest.Right < dest.Left) m = m.mirrored(true, false);
      if (dest.Bottom < dest.Top) m = m.mirrored(false, true);
    }
    auto mode = antialias ? Qt::SmoothTransformation : Qt::FastTransformation;
    Draw([&](QImage& img) {
      QRect target(d.Left, d.Top, d.Width(), d.Height());
      if (piece.size() != target.size()) {
        if (qint64(target.width()) * target.height() > 4 * (qint64(img.width()) * img.height() + 65536)) {
          // Far larger than the surface (a hostile picture's rectangle): only the part
          // that shows is sampled, so the rectangle's size costs no memory.
          const QRect vis = target & img.rect();
          if (vis.isEmpty()) return;
          auto sample = [&](const QImage& from) {
            QImage out(vis.size(), QImage::Format_RGB32);
            for (int y = 0; y < vis.height(); ++y) {
              const int sy = int(qint64(vis.top() + y - target.top()) * from.height() / target.height());
              const QRgb* s = reinterpret_cast<const QRgb*>(from.constScanLine(sy));
              QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
              for (int x = 0; x < vis.width(); ++x)
                o[x] = s[qint64(vis.left() + x - target.left()) * from.width() / target.width()];
            }
            return out;
          };
          piece = sample(piece);
          if (!m.isNull()) m = sample(m);
          target = vis;
        } else {
          piece = piece.scaled(target.size(), Qt::IgnoreAspectRatio, mode);
          if (!m.isNull()) m = m.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        }
      }
      Touch(target);
      if (!m.isNull() || transparent) {
        QImage argb = piece.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < argb.height(); ++y) {
          QRgb* p = reinterpret_cast<QRgb*>(argb.scanLine(y));
          const QRgb* mk = m.isNull() ? nullptr : reinterpret_cast<const QRgb*>(m.constScanLine(y));
          for (int x = 0; x < argb.width(); ++x)
            if ((mk && (mk[x] & 0xFFFFFF)) || (transparent && (p[x] & 0xFFFFFF) == *transparent)) p[x] = 0;
        }
        QPainter p(&img);
        SetupPainter(p);
        p.drawImage(target.topLeft(), argb);
      } else if (copyMode == cmSrcCopy) {
        QPainter p(&img);
        SetupPainter(p, &target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(target.topLeft(), piece);
      } else {
        PixelWriter w(img, clips, pmCopy);
        QRgb pat = ToQRgb(brush->Color()) & 0xFFFFFF;
        for (int y = 0; y < piece.height(); ++y) {
          const QRgb* s = reinterpret_cast<const QRgb*>(piece.constScanLine(y));
          int ty = target.top() + y;
          for (int x = 0; x < piece.width(); ++x) {
            int tx = target.left() + x;
            if (!w.Inside(tx, ty)) continue;
            QRgb dst = img.pixel(tx, ty) & 0xFFFFFF;
            w.Put(tx, ty, gfx::Rop3(copyMode, pat, s[x] & 0xFFFFFF, dst));
          }
        }
      }
    });
  }
};

IMPLEMENT_CLASS(TCanvas, TPersistent)

void TCanvas::Impl::RecordText(mf::TTextKind kind, int x, int y, const std::string& text, bool fill,
                               const TRect& clip) {
  TPoint at{x, y};
  mf::TRecord* r = Record(mf::TOp::Text, &at, 1);
  if (!r) return;
  r->Text = text;
  r->Font = {font->Name(), font->Height(), font->Style(), font->Orientation(), Plain(font->Color())};
  r->TextAlign = textAlign;
  r->TextKind = kind;
  r->FillText = fill;
  r->TextClip = clip;
  const QString s = QString::fromStdString(text);
  const QFontMetrics& m = Metrics();
  r->Advances.reserve(std::size_t(s.size()));
  for (QChar ch : s) r->Advances.push_back(m.horizontalAdvance(ch) + font->LetterSpacing());
}

void TCanvas::Impl::RecordDirty(const QImage& img) {
  const QImage piece = img.copy(dirty).convertToFormat(QImage::Format_RGB32);
  mf::TRecord r;
  r.Op = mf::TOp::Bitmap;
  r.Points = {{dirty.left(), dirty.top()}, {dirty.right() + 1, dirty.bottom() + 1}};
  r.BitmapWidth = piece.width();
  r.BitmapHeight = piece.height();
  r.Pixels.resize(std::size_t(piece.width()) * piece.height());
  for (int y = 0; y < piece.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(piece.constScanLine(y));
    for (int x = 0; x < piece.width(); ++x) r.Pixels[std::size_t(y) * piece.width() + x] = row[x] & 0xFFFFFF;
  }
  recording->Records.push_back(std::move(r));
}

TCanvas::TCanvas() : impl_(std::make_unique<Impl>()) {
  impl_->self = this;
  impl_->brush->OnChange = TNotifyEvent([this](TObject*) { impl_->brushPending = true; });
}

TCanvas::~TCanvas() = default;

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPen* TCanvas::Pen() const { return impl_->pen.get(); }
TBrush* TCanvas::Brush() const { return impl_->brush.get(); }
TFont* TCanvas::Font() const { return impl_->font.get(); }
void TCanvas::SetPen(TPen* Value) { impl_->pen->Assign(Value); }
void TCanvas::SetBrush(TBrush* Value) { impl_->brush->Assign(Value); }
void TCanvas::SetFont(TFont* Value) { impl_->font->Assign(Value); }

TPoint TCanvas::PenPos() const { return impl_->pos; }
void TCanvas::SetPenPos(const TPoint& Value) { impl_->pos = Value; }
void TCanvas::MoveTo(int X, int Y) {
  impl_->pos = {X, Y};
  impl_->lineStep = 0;
}

void TCanvas::LineTo(int X, int Y) {
  const TPoint to{X, Y};
  PolylineTo(&to, 1);
}

void TCanvas::PolylineTo(const TPoint* Points, int Count) {
  Impl& c = *impl_;
  if (Count < 1) return;
  if (mf::TRecord* r = c.Record(mf::TOp::Polyline, &c.pos, 1)) r->Points.insert(r->Points.end(), Points, Points + Count);
  c.Draw([&](QImage& img) {
    if (!c.PenVisible()) return;
    TPoint from = c.pos;
    if (c.Cosmetic()) {
      c.CosmeticPolyline(img, from, Points, Count, c.lineStep);
      return;
    }
    // Each segment on its own, as separate LineTo calls paint them (their caps
    // overlap, and a raster mode combines each segment with what is there).
    int w = c.pen->Width();
    for (int i = 0; i < Count; ++i) {
      const TPoint to = Points[i];
      QRect bounds = QRect(QPoint(from.X, from.Y), QPoint(to.X, to.Y)).normalized().adjusted(-w, -w, w, w);
      c.PaintShape(img, bounds, c.pen->Mode(), [&](QPainter& p) {
        p.setPen(c.ShapePen());
        p.drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(to.X + 0.5, to.Y + 0.5));
      });
      from = to;
    }
  });
  c.pos = Points[Count - 1];
}

void TCanvas::ColumnLineTo(const TLineColumn* Columns, int Count) {
  Impl& c = *impl_;
  if (Count < 1) return;
  // Rows past +-2^30 lie outside any picture: the column's ends are held there.
  static constexpr int Limit = 1 << 30;
  const auto held = [](int Y) { return std::clamp(Y, -Limit, Limit); };
  if (c.recording || !c.Cosmetic() || c.pen->Style() != psSolid || !c.pen->DashPattern().empty() ||
      c.pen->Mode() != pmCopy) {
    for (int i = 0; i < Count; ++i) {
      const TLineColumn& k = Columns[i];
      LineTo(k.X, k.Entry);
      MoveTo(k.X, held(k.Low));
      LineTo(k.X, held(k.High) + 1);
      MoveTo(k.X, k.Exit);
    }
    return;
  }
  c.Draw([&](QImage& img) {
    Impl::PixelWriter w(img, c.clips, pmCopy);
    c.ResolveBrush();
    const QRgb fg = ToQRgb(c.pen->Color());
    const Impl::TDash solid{nullptr, nullptr};
    Impl::TColumnRuns runs{w, 0xFF000000u | fg};
    long long step = c.lineStep;
    const auto segment = [&](TPoint a, TPoint b) {
      if (!Impl::ShortRuns(runs, a, b, step) && !Impl::SteepRuns(runs, a.X, a.Y, b.X, b.Y, step))
        Impl::SegmentPixels(w, a.X, a.Y, b.X, b.Y, step, fg, 0, solid, false);
    };
    TPoint from = c.pos;
    int left = from.X, top = from.Y, right = from.X, bottom = from.Y;
    for (int i = 0; i < Count; ++i) {
      const TLineColumn& k = Columns[i];
      segment(from, {k.X, k.Entry});
      const int low = held(k.Low), high = held(k.High);
      if (low <= high) {
        runs.Add(k.X, low, high);
      } else {
        step = 0;
        segment({k.X, low}, {k.X, high + 1});
      }
      left = std::min(left, k.X);
      right = std::max(right, k.X);
      top = std::min({top, k.Entry, k.Low, k.High});
      bottom = std::max({bottom, k.Entry, k.Low, k.High});
      from = {k.X, k.Exit};
      step = 0;
    }
    runs.Flush();
    c.Touch(QRect(QPoint(left, top), QPoint(right, bottom)));
  });
  c.pos = {Columns[Count - 1].X, Columns[Count - 1].Exit};
  c.lineStep = 0;
}

namespace {
QRect PointsBounds(const TPoint* pts, int n, int margin) {
  QRect r;
  for (int i = 0; i < n; ++i) r |= QRect(pts[i].X, pts[i].Y, 1, 1);
  return r.adjusted(-margin, -margin, margin, margin);
}
QPolygonF ToPolygon(const TPoint* pts, int n, double offset) {
  QPolygonF poly;
  for (int i = 0; i < n; ++i) poly << QPointF(pts[i].X + offset, pts[i].Y + offset);
  return poly;
}
}  // namespace

void TCanvas::Polyline(const TPoint* Points, int Count) {
  Impl& c = *impl_;
  if (Count < 2) return;
  c.Record(mf::TOp::Polyline, Points, Count);
  c.Draw([&](QImage& img) {
    if (!c.PenVisible()) return;
    if (c.Cosmetic()) {
      c.CosmeticOutline(img, Points, Count, false);
      return;
    }
    c.PaintShape(img, PointsBounds(Points, Count, c.pen->Width()), c.pen->Mode(), [&](QPainter& p) {
      p.setPen(c.ShapePen());
      p.drawPolyline(ToPolygon(Points, Count, 0.5));
    });
  });
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  Impl& c = *impl_;
  if (Count < 2) return;
  c.Record(mf::TOp::Polygon, Points, Count);
  c.Draw([&](QImage& img) {
    QBrush fill = c.FillBrush();
    bool cosmetic = c.Cosmetic() || !c.PenVisible();
    if (cosmetic && c.PenVisible() && Count == 4) {
      // An upright rectangle (a box's face seen square on): its fill sets the pixels
      // whose centres lie inside, its outline the border, so it is a framed box.
      const int l = std::min(Points[0].X, Points[2].X), r = std::max(Points[0].X, Points[2].X);
      const int t = std::min(Points[0].Y, Points[2].Y), b = std::max(Points[0].Y, Points[2].Y);
      const auto corner = [&](const TPoint& P) { return (P.X == l || P.X == r) && (P.Y == t || P.Y == b); };
      const bool upright = corner(Points[0]) && corner(Points[1]) && corner(Points[2]) && corner(Points[3]) &&
                           Points[0].X != Points[2].X && Points[0].Y != Points[2].Y &&
                           (Points[1].X == Points[0].X) != (Points[1].Y == Points[0].Y) &&
                           Points[1].X == Points[2].X + Points[0].X - Points[3].X &&
                           Points[1].Y == Points[2].Y + Points[0].Y - Points[3].Y;
      if (upright && c.FramedBox(img, TRect{l, t, r + 1, b + 1}, fill)) {
        c.Touch(PointsBounds(Points, Count, c.pen->Width()).adjusted(-1, -1, 1, 1) & img.rect());
        return;
      }
    }
    if (c.PlainPolygon(fill, Points, Count)) {
      // The painter's fill, row by row without it.
      const QRect bounds = PointsBounds(Points, Count, c.pen->Width()).adjusted(-1, -1, 1, 1) & img.rect();
      if (!bounds.isEmpty()) {
        c.Touch(bounds);
        if (fill.style() == Qt::SolidPattern) c.FillPolygonRows(img, Points, Count, fill.color().rgb() | 0xFF000000u);
      }
    } else {
      c.PaintShape(img, PointsBounds(Points, Count, c.pen->Width()), c.pen->Mode(), [&](QPainter& p) {
        p.setPen(cosmetic ? QPen(Qt::NoPen) : c.ShapePen());
        p.setBrush(fill);
        p.drawPolygon(ToPolygon(Points, Count, cosmetic ? 0.0 : 0.5), Qt::OddEvenFill);
      });
    }
    if (cosmetic && c.PenVisible()) c.CosmeticOutline(img, Points, Count, true);
  });
}

void TCanvasFigure::Add(const TPoint* Points, int Count, TColor Color) {
  points_.insert(points_.end(), Points, Points + Count);
  ends_.push_back(int(points_.size()));
  colors_.push_back(Color);
}

void TCanvasFigure::Clear() {
  points_.clear();
  ends_.clear();
  colors_.clear();
}

namespace {

// Where a figure lies as a copy of its shape. A figure whose corners fall into an
// upper and a lower group, every edge between the two upright (a box's sides), is its
// shape with the lower group Stretch rows further down: the rows between the groups
// are crossed by those upright edges alone, so each is the same. The shape keeps the
// groups two rows apart (upper rows up to 0, row 1 between, lower rows from 2); Key
// holds its corners and colours, so figures of one key set the same pixels, moved.
struct TFigurePlace {
  int X = 0, Top = 0, Stretch = 0;
  std::vector<int> Key;
};

void PlaceFigure(const TCanvasFigure& F, TFigurePlace& P) {
  const std::vector<TPoint>& pts = F.AllPoints();
  std::vector<int> ys;
  ys.reserve(pts.size());
  int minX = pts.front().X;
  for (const TPoint& p : pts) {
    ys.push_back(p.Y);
    minX = std::min(minX, p.X);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  // The widest gap between corner rows that only upright edges cross.
  int top = ys.front(), gap = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int a = ys[k], b = ys[k + 1];
    if (b - a < 2 || b - a <= gap) continue;
    bool upright = true;
    for (int i = 0; i < F.Polygons() && upright; ++i) {
      const TPoint* q = F.Points(i);
      const int n = F.Count(i);
      for (int j = 0; j < n && upright; ++j) {
        const TPoint &u = q[j], &v = q[(j + 1) % n];
        upright = std::min(u.Y, v.Y) > a || std::max(u.Y, v.Y) < b || u.X == v.X;
      }
    }
    if (upright) top = a, gap = b - a;
  }
  P.X = minX;
  P.Top = top;
  P.Stretch = gap ? gap - 2 : 0;
  P.Key.clear();
  P.Key.push_back(gap ? 1 : 0);
  for (int i = 0; i < F.Polygons(); ++i) {
    P.Key.push_back(F.Count(i));
    P.Key.push_back(int(F.Color(i)));
    const TPoint* q = F.Points(i);
    for (int j = 0; j < F.Count(i); ++j) {
      P.Key.push_back(q[j].X - minX);
      P.Key.push_back(q[j].Y - top - (q[j].Y > top ? P.Stretch : 0));
    }
  }
}

// A shape's pixels column by column: runs of one colour, top down; Part 0 runs sit
// at the figure's Top, part 2 runs Stretch rows lower, and a part 1 run (row 1 of the
// shape) stretches over Stretch more rows.
struct TFigureColumns {
  struct TRun {
    int Y0, Y1;
    QRgb Color;
    int Part;
  };
  std::vector<int> Start;  // column c's runs: Start[c] .. Start[c + 1]
  std::vector<TRun> Runs;
  int Columns() const { return int(Start.size()) - 1; }
};

struct TKeyHash {
  size_t operator()(const std::vector<int>& K) const {
    size_t h = 1469598103934665603ull;
    for (int v : K) h = (h ^ unsigned(v)) * 1099511628211ull;
    return h;
  }
};

// Rows Y0..Y1 of one column taken by a figure: the rows not yet taken are painted
// (Paint(a, b)), and the column's taken rows (sorted, apart) grow by them.
template <class F>
void TakeRows(std::vector<std::pair<int, int>>& Taken, int Y0, int Y1, F&& Paint) {
  size_t k = 0;
  while (k < Taken.size() && Taken[k].second < Y0 - 1) ++k;
  const size_t first = k;
  int y = Y0, lo = Y0, hi = Y1;
  for (; k < Taken.size() && Taken[k].first <= Y1 + 1; ++k) {
    if (Taken[k].first > y) Paint(y, std::min(Y1, Taken[k].first - 1));
    y = std::max(y, Taken[k].second + 1);
    lo = std::min(lo, Taken[k].first);
    hi = std::max(hi, Taken[k].second);
  }
  if (y <= Y1) Paint(y, Y1);
  if (first == k) {
    Taken.insert(Taken.begin() + std::ptrdiff_t(k), {lo, hi});
  } else {
    Taken[first] = {lo, hi};
    Taken.erase(Taken.begin() + std::ptrdiff_t(first) + 1, Taken.begin() + std::ptrdiff_t(k));
  }
}

}  // namespace

// A figure's shape drawn once on an image of its own, fills row by row as Polygon
// writes them and outlines pixel by pixel as Polygon draws them, then read column
// by column.
static TFigureColumns ShapeColumns(const std::vector<int>& Key, QRgb Pen, bool Outline) {
  std::vector<std::vector<TPoint>> polys;
  std::vector<QRgb> fills;
  int maxX = 0, minY = 0, maxY = 0;
  for (size_t k = 1; k < Key.size();) {
    const int n = Key[k];
    fills.push_back(0xFF000000u | ToQRgb(TColor(Key[k + 1])));
    std::vector<TPoint> p;
    for (int j = 0; j < n; ++j) {
      p.push_back({Key[k + 2 + 2 * size_t(j)], Key[k + 3 + 2 * size_t(j)]});
      maxX = std::max(maxX, p.back().X);
      minY = std::min(minY, p.back().Y);
      maxY = std::max(maxY, p.back().Y);
    }
    polys.push_back(std::move(p));
    k += 2 + 2 * size_t(n);
  }
  const bool split = Key[0] != 0;
  QImage im(maxX + 1, maxY - minY + 1, QImage::Format_ARGB32);
  im.fill(0);
  const std::vector<TClip> none;
  TCanvas::Impl::PixelWriter w(im, none, pmCopy);
  for (size_t i = 0; i < polys.size(); ++i) {
    std::vector<TPoint> p = polys[i];
    for (TPoint& q : p) q.Y -= minY;
    scanfill::Fill(p.data(), int(p.size()), 0, im.height() - 1, [&](int y, int x0, int x1) {
      QRgb* row = reinterpret_cast<QRgb*>(im.scanLine(y));
      std::fill(row + std::max(x0, 0), row + std::min(x1, im.width() - 1) + 1, fills[i]);
    });
    if (!Outline) continue;
    long long step = 0;
    const TCanvas::Impl::TDash solid{nullptr, nullptr};
    for (size_t j = 0; j < p.size(); ++j) {
      const TPoint &a = p[j], &b = p[(j + 1) % p.size()];
      TCanvas::Impl::SegmentPixels(w, a.X, a.Y, b.X, b.Y, step, Pen, 0, solid, false);
    }
  }
  TFigureColumns cols;
  cols.Start.push_back(0);
  const QRgb* bits = reinterpret_cast<const QRgb*>(im.constBits());
  const qsizetype stride = im.bytesPerLine() / qsizetype(sizeof(QRgb));
  const auto partOf = [&](int Y) { return !split || Y <= 0 ? 0 : Y == 1 ? 1 : 2; };
  const int height = im.height();
  for (int x = 0; x < im.width(); ++x) {
    for (int r = 0; r < height;) {
      const QRgb v = bits[r * stride + x];
      const int part = partOf(r + minY);
      int e = r + 1;
      while (e < height && bits[e * stride + x] == v && partOf(e + minY) == part) ++e;
      if (v) cols.Runs.push_back({r + minY, e - 1 + minY, v, part});
      r = e;
    }
    cols.Start.push_back(int(cols.Runs.size()));
  }
  return cols;
}

void TCanvas::PolygonFigures(int Count, const TRect& Bounds,
                             const std::function<void(int, TCanvasFigure&)>& MakeFigure) {
  Impl& c = *impl_;
  if (Count <= 0) return;
  const TBrushStyle style = c.brush->Style();
  const TColor colour = c.brush->Color();
  const TPoint corners[2] = {{Bounds.Left, Bounds.Top}, {Bounds.Right, Bounds.Bottom}};
  const bool plain = c.attached && !c.recording && !c.antialias && c.pen->Mode() == pmCopy &&
                     (!c.PenVisible() || (c.Cosmetic() && c.pen->Style() == psSolid && c.pen->DashPattern().empty())) &&
                     style == bsSolid && !c.brush->PatternImage() && scanfill::WithinReach(corners, 2) && c.Acquire();
  TCanvasFigure figure;
  if (!plain) {
    for (int i = 0; i < Count; ++i) {
      figure.Clear();
      MakeFigure(i, figure);
      for (int k = 0; k < figure.Polygons(); ++k) {
        c.brush->SetColor(figure.Color(k));
        c.brush->SetStyle(style);
        Polygon(figure.Points(k), figure.Count(k));
      }
    }
    c.brush->SetColor(colour);
    c.brush->SetStyle(style);
    return;
  }
  // What the brush's colour changes would have left: the background of the last
  // colour drawn when any colour differed (or a change was pending).
  bool anyOther = false, drawn = false;
  TColor last = colour;
  c.Draw([&](QImage& img) {
    Impl::PixelWriter w(img, c.clips, pmCopy);
    const QRect area = w.bounds;
    const QRgb pen = ToQRgb(c.pen->Color());
    const bool outline = c.PenVisible();
    std::vector<std::vector<std::pair<int, int>>> taken(size_t(std::max(0, area.width())));
    std::unordered_map<std::vector<int>, TFigureColumns, TKeyHash> shapes;
    const std::vector<int>* lastKey = nullptr;
    const TFigureColumns* cols = nullptr;
    TFigurePlace place;
    for (int i = Count - 1; i >= 0; --i) {
      figure.Clear();
      MakeFigure(i, figure);
      if (figure.Polygons() == 0) continue;
      for (int k = 0; k < figure.Polygons(); ++k) anyOther |= figure.Color(k) != colour;
      if (!drawn) last = figure.Color(figure.Polygons() - 1);
      drawn = true;
      for (const TPoint& p : figure.AllPoints())
        if (p.X < Bounds.Left || p.X > Bounds.Right || p.Y < Bounds.Top || p.Y > Bounds.Bottom)
          throw EInvalidOperation("Figure outside its bounds");
      PlaceFigure(figure, place);
      if (!lastKey || *lastKey != place.Key) {
        auto it = shapes.find(place.Key);
        if (it == shapes.end()) it = shapes.emplace(place.Key, ShapeColumns(place.Key, pen, outline)).first;
        lastKey = &it->first;
        cols = &it->second;
      }
      const auto rowOf = [&](const TFigureColumns::TRun& r, bool End) {
        const int y = End ? r.Y1 : r.Y0;
        return y + place.Top + (r.Part == 2 || (r.Part == 1 && End) ? place.Stretch : 0);
      };
      for (int col = 0; col < cols->Columns(); ++col) {
        const int x = place.X + col;
        const int s = cols->Start[size_t(col)], e = cols->Start[size_t(col) + 1];
        if (x < area.left() || x > area.right() || s == e) continue;
        std::vector<std::pair<int, int>>& rows = taken[size_t(x - area.left())];
        const int top = std::max(area.top(), rowOf(cols->Runs[size_t(s)], false));
        const int bottom = std::min(area.bottom(), rowOf(cols->Runs[size_t(e - 1)], true));
        if (top > bottom) continue;
        // Most columns of a box lie wholly behind later boxes.
        if (rows.size() == 1 && rows[0].first <= top && rows[0].second >= bottom) continue;
        bool hidden = false;
        for (const auto& t : rows) {
          if (t.first > top) break;
          hidden = t.second >= bottom;
        }
        if (hidden) continue;
        for (int k = s; k < e; ++k) {
          const TFigureColumns::TRun& run = cols->Runs[size_t(k)];
          const int y0 = std::max(area.top(), rowOf(run, false)), y1 = std::min(area.bottom(), rowOf(run, true));
          if (y0 > y1) continue;
          const QRgb v = run.Color;
          TakeRows(rows, y0, y1, [&](int a, int b) {
            for (int y = a; y <= b; ++y)
              if (!w.region || w.region->ContainsInBounds(x, y)) reinterpret_cast<QRgb*>(w.bits + y * w.bpl)[x] = v;
          });
        }
      }
    }
    const int m = c.pen->Width() + 1;
    c.Touch(QRect(QPoint(Bounds.Left - m, Bounds.Top - m), QPoint(Bounds.Right + m, Bounds.Bottom + m)) & img.rect());
  });
  if (!drawn) return;
  if (c.brushPending || anyOther) {
    c.brushPending = false;
    c.bkMode = OPAQUE;
    c.bkColor = last;
  }
  c.brushPending = last != colour;
}

void TCanvas::PolyBezier(const TPoint* Points, int Count) {
  Impl& c = *impl_;
  if (Count < 4) return;
  c.Record(mf::TOp::PolyBezier, Points, Count);
  c.Draw([&](QImage& img) {
    if (!c.PenVisible()) return;
    QPainterPath path(QPointF(Points[0].X, Points[0].Y));
    for (int i = 1; i + 2 < Count; i += 3)
      path.cubicTo(Points[i].X, Points[i].Y, Points[i + 1].X, Points[i + 1].Y, Points[i + 2].X, Points[i + 2].Y);
    c.PaintShape(img, PointsBounds(Points, Count, c.pen->Width()), c.pen->Mode(), [&](QPainter& p) {
      p.setPen(c.ShapePen());
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
    });
  });
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Impl& c = *impl_;
  c.RecordBox(mf::TOp::Rectangle, {{X1, Y1}, {X2, Y2}});
  if (!c.PenVisible() && !c.antialias && c.pen->Mode() == pmCopy) {
    // Without a pen a solid fill covers the box but its right column and bottom row
    // (pixel centres lie half a pixel from the painter's edges): written straight.
    const TRect r = Normalized(Rect(X1, Y1, X2, Y2));
    const QBrush fill = c.FillBrush();
    if (fill.style() == Qt::SolidPattern && r.Width() >= 2 && r.Height() >= 2) {
      c.Draw([&](QImage& img) {
        c.Touch(QRect(r.Left, r.Top, r.Width(), r.Height()).adjusted(-1, -1, 1, 1) & img.rect());
        c.FillSolid(img, QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1), fill);
      });
      return;
    }
  }
  if (!c.Cosmetic() || !c.PenVisible()) {
    c.BoxShape(Rect(X1, Y1, X2, Y2), [](QPainter& p, const QRectF& r) { p.drawRect(r); });
    return;
  }
  // One-pixel pen: the interior with the brush, then the frame pixel by pixel.
  TRect r = Normalized(Rect(X1, Y1, X2, Y2));
  c.Draw([&](QImage& img) {
    QBrush fill = c.FillBrush();
    if (c.FramedBox(img, r, fill)) return;
    const QRect inside(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2);
    if (r.Width() > 2 && r.Height() > 2 && !(c.pen->Mode() == pmCopy && c.FillSolid(img, inside, fill)))
      c.PaintShape(img, inside, c.pen->Mode(), [&](QPainter& p) { p.fillRect(inside, fill); });
    if (r.Width() < 1 || r.Height() < 1) return;
    int l = r.Left, t = r.Top, rr = r.Right - 1, b = r.Bottom - 1;
    if (l == rr || t == b) {  // a single row or column: each pixel once
      long long step = 0;
      c.CosmeticLine(img, l, t, rr + (l == rr ? 0 : 1), b + (l == rr ? 1 : 0), step);
      return;
    }
    TPoint corners[4] = {{l, t}, {rr, t}, {rr, b}, {l, b}};
    c.CosmeticOutline(img, corners, 4, true);
  });
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  impl_->RecordBox(mf::TOp::Ellipse, {{X1, Y1}, {X2, Y2}});
  impl_->BoxShape(Rect(X1, Y1, X2, Y2), [](QPainter& p, const QRectF& r) { p.drawEllipse(r); }, 0);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  impl_->RecordBox(mf::TOp::RoundRect, {{X1, Y1}, {X2, Y2}, {X3, Y3}});
  impl_->BoxShape(Rect(X1, Y1, X2, Y2), [X3, Y3](QPainter& p, const QRectF& r) {
    p.drawRoundedRect(r, std::abs(X3) / 2.0, std::abs(Y3) / 2.0);
  });
}

namespace {
// Start angle and counter-clockwise span, in degrees, from the two radial points.
std::pair<double, double> ArcAngles(const TRect& r, int X3, int Y3, int X4, int Y4) {
  double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  double a0 = std::atan2(-(Y3 - cy), X3 - cx) * 180.0 / M_PI;
  double a1 = std::atan2(-(Y4 - cy), X4 - cx) * 180.0 / M_PI;
  double span = a1 - a0;
  while (span <= 0) span += 360.0;
  return {a0, span};
}
}  // namespace

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Impl& c = *impl_;
  c.RecordBox(mf::TOp::Arc, {{X1, Y1}, {X2, Y2}, {X3, Y3}, {X4, Y4}});
  TRect r = Normalized(Rect(X1, Y1, X2, Y2));
  // Plain variables: lambdas cannot capture structured bindings before clang 16.
  const auto angles = ArcAngles(r, X3, Y3, X4, Y4);
  const double start = angles.first, span = angles.second;
  c.Draw([&](QImage& img) {
    if (!c.PenVisible()) return;
    c.PaintShape(img, ToQRect(r).adjusted(-c.pen->Width(), -c.pen->Width(), c.pen->Width(), c.pen->Width()),
                 c.pen->Mode(), [&](QPainter& p) {
                   p.setPen(c.ShapePen());
                   p.drawArc(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1), int(std::lround(start * 16)),
                             int(std::lround(span * 16)));
                 });
  });
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  impl_->RecordBox(mf::TOp::Pie, {{X1, Y1}, {X2, Y2}, {X3, Y3}, {X4, Y4}});
  TRect r = Normalized(Rect(X1, Y1, X2, Y2));
  auto [start, span] = ArcAngles(r, X3, Y3, X4, Y4);
  impl_->BoxShape(r, [start = start, span = span](QPainter& p, const QRectF& box) {
    p.drawPie(box, int(std::lround(start * 16)), int(std::lround(span * 16)));
  });
}

void TCanvas::FillRect(const TRect& Rect) {
  Impl& c = *impl_;
  c.RecordBox(mf::TOp::FillRect, {{Rect.Left, Rect.Top}, {Rect.Right, Rect.Bottom}});
  c.Draw([&](QImage& img) {
    QBrush fill = c.FillBrush();
    if (fill.style() == Qt::NoBrush) return;
    QRect r = ToQRect(Rect);
    c.Touch(r);
    if (c.FillSolid(img, r, fill)) return;
    QPainter p(&img);
    c.SetupPainter(p, &r);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(r, fill);
  });
}

void TCanvas::FrameRect(const TRect& Rect) {
  Impl& c = *impl_;
  TRect r = Normalized(Rect);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  c.RecordBox(mf::TOp::FrameRect, {{r.Left, r.Top}, {r.Right, r.Bottom}});
  c.Draw([&](QImage& img) {
    QBrush fill = c.FillBrush();
    if (fill.style() == Qt::NoBrush) return;
    const QRect area = ToQRect(r);
    c.Touch(area);
    QPainter p(&img);
    c.SetupPainter(p, &area);
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), fill);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), fill);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), fill);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), fill);
  });
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Impl& c = *impl_;
  c.RecordText(mf::tkTextOut, X, Y, Text);
  c.Draw([&](QImage& img) {
    c.ResolveBrush();
    c.TextAt(img, X, Y, Text, c.bkMode == OPAQUE, nullptr);
  });
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text) {
  Impl& c = *impl_;
  c.RecordText(mf::tkTextRect, X, Y, Text, true, Rect);
  c.Draw([&](QImage& img) {
    c.ResolveBrush();
    QRect r = ToQRect(Rect);
    if (c.brush->Style() != bsClear) {  // the whole rectangle takes the background
      QPainter p(&img);
      c.SetupPainter(p, &r);
      p.fillRect(r, QColor(ToQRgb(c.bkColor)));
      c.Touch(r);
    }
    c.TextAt(img, X, Y, Text, false, &r);
  });
}

void TCanvas::TextOutPath(int X, int Y, const std::string& Text, bool FillText, TBitmap* Fill, TBitmap* Stroke) {
  Impl& c = *impl_;
  c.RecordText(mf::tkOutline, X, Y, Text, FillText);
  QImage fill, stroke;
  if (FillText && Fill && !Fill->Empty()) fill = BitmapToQImage(Fill);
  if (Stroke && !Stroke->Empty()) stroke = BitmapToQImage(Stroke);
  c.Draw([&](QImage& img) {
    const QString s = QString::fromStdString(Text);
    const QFontMetrics& m = c.Metrics();
    const int w = m.horizontalAdvance(s), asc = m.ascent(), h = m.ascent() + m.descent();
    int dx = 0, dy = 0;
    if ((c.textAlign & TA_CENTER) == TA_CENTER) dx = -w / 2;
    else if (c.textAlign & TA_RIGHT) dx = -w;
    if ((c.textAlign & TA_BASELINE) == TA_BASELINE) dy = -asc;
    else if (c.textAlign & TA_BOTTOM) dy = -h;
    QPainter p(&img);
    c.SetupPainter(p);
    p.setRenderHint(QPainter::Antialiasing, c.TextSmooth());
    p.translate(X, Y);
    if (int o = c.font->Orientation(); o % 3600 != 0) p.rotate(-(o % 3600) / 10.0);
    QPainterPath path;
    path.addText(dx, dy + asc, c.Font(), s);
    if (FillText) {
      if (!fill.isNull() && w > 0 && h > 0) {
        QBrush b(fill.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        b.setTransform(QTransform::fromTranslate(dx, dy));
        p.fillPath(path, b);
      } else {
        p.fillPath(path, QColor(ToQRgb(c.font->Color())));
      }
    }
    if (c.PenVisible()) {
      QPen pen(QColor(ToQRgb(c.pen->Color())), std::max(1, c.pen->Width()));
      if (!stroke.isNull() && w > 0 && h > 0) {
        QBrush b(stroke.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        b.setTransform(QTransform::fromTranslate(dx, dy));
        pen.setBrush(b);
      }
      pen.setJoinStyle(Qt::RoundJoin);
      p.strokePath(path, pen);
    }
    const int grow = std::max(2, c.pen->Width()) + h;
    c.Touch(p.transform().mapRect(QRect(dx, dy, w, h).adjusted(-grow, -grow, grow, grow)));
  });
}

TSize TCanvas::TextExtent(const std::string& Text) {
  return {impl_->TextWidth(Text), impl_->CellHeight()};
}

int TCanvas::TextHeight(const std::string&) { return impl_->CellHeight(); }

TTextMetric TCanvas::TextMetrics() {
  Impl& c = *impl_;
  const QFontMetrics& m = c.Metrics();
  TTextMetric t;
  t.tmAscent = m.ascent();
  t.tmDescent = m.descent();
  t.tmHeight = t.tmAscent + t.tmDescent;
  t.tmInternalLeading = std::max(0, t.tmHeight - c.qfont.pixelSize());
  t.tmExternalLeading = std::max(0, m.leading());
  t.tmAveCharWidth = m.averageCharWidth();
  t.tmMaxCharWidth = m.maxWidth();
  return t;
}

unsigned TCanvas::TextAlign() const { return impl_->textAlign; }
void TCanvas::SetTextAlign(unsigned Value) { impl_->textAlign = Value; }

int TCanvas::BkMode() const {
  impl_->ResolveBrush();
  return impl_->bkMode;
}
void TCanvas::SetBkMode(int Mode) {
  impl_->ResolveBrush();
  if (Mode == TRANSPARENT || Mode == OPAQUE) impl_->bkMode = Mode;
}
TColor TCanvas::BkColor() const {
  impl_->ResolveBrush();
  return impl_->bkColor;
}
void TCanvas::SetBkColor(TColor Value) {
  impl_->ResolveBrush();
  impl_->bkColor = Value;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, Rect);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  const QImage* src = Canvas->impl_->ReadImage();
  if (!src) {
    if (!Canvas->impl_->attached) throw EInvalidOperation("Canvas does not allow drawing");
    return;
  }
  TRect s = Normalized(Source);
  if (impl_->CopyRows(Dest, *src, ToQRect(s))) return;
  QImage piece = src->copy(ToQRect(s));  // areas outside the source come out black
  // Opposite directions mirror the copy (a destination running backwards, for DrawImage).
  bool mx = (Source.Right < Source.Left) != (Dest.Right < Dest.Left);
  bool my = (Source.Bottom < Source.Top) != (Dest.Bottom < Dest.Top);
  TRect d = Normalized(Dest);
  if (mx) std::swap(d.Left, d.Right);
  if (my) std::swap(d.Top, d.Bottom);
  impl_->DrawImage(d, piece, piece.rect(), nullptr, std::nullopt);
}

TCopyMode TCanvas::CopyMode() const { return impl_->copyMode; }
void TCanvas::SetCopyMode(TCopyMode Value) { impl_->copyMode = Value; }

TColor TCanvas::Pixels(int X, int Y) {
  const QImage* img = impl_->ReadImage();
  if (!img || !img->rect().contains(X, Y)) return -1;
  if (!impl_->clips.empty() && !impl_->clips.back().Contains(X, Y)) return -1;
  return FromQRgb(img->pixel(X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Impl& c = *impl_;
  Impl::RasterScope raster(c);
  c.Draw([&](QImage& img) {
    Impl::PixelWriter w(img, c.clips, pmCopy);
    w.Put(X, Y, ToQRgb(Value));
    c.Touch(QRect(X, Y, 1, 1));
  });
}

void TCanvas::PushClipRect(const TRect& Rect) {
  TRect r = Normalized(Rect);
  QRegion region(ToQRect(r));
  impl_->RecordBox(mf::TOp::PushClipRect, {{r.Left, r.Top}, {r.Right, r.Bottom}});
  impl_->clips.emplace_back(impl_->clips.empty() ? region : impl_->clips.back().Region().intersected(region));
}

namespace {
// The clip of the region inside a polygon. Charts clip each series to the same
// outline at every drawing, on a new canvas each time, and making the region and its
// rows costs far more than finding them again: the last few are kept (per thread, as
// canvases draw on any; the rows, shared, never change once made).
TClip PolygonClip(const std::vector<TPoint>& Points) {
  struct TKept {
    std::vector<TPoint> Points;
    QRegion Region;
    std::shared_ptr<const TClip::TRows> Rows;
  };
  thread_local std::vector<TKept> kept;
  const auto same = [&](const TKept& k) {
    return std::equal(k.Points.begin(), k.Points.end(), Points.begin(), Points.end(),
                      [](const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; });
  };
  if (auto it = std::find_if(kept.begin(), kept.end(), same); it != kept.end()) {
    std::rotate(kept.begin(), it, it + 1);  // the most recent first
    return TClip(kept.front().Region, kept.front().Rows);
  }
  QPolygon poly;
  for (const TPoint& p : Points) poly << QPoint(p.X, p.Y);
  QRegion region(poly, Qt::OddEvenFill);
  // The rows are made now, once: kept, they are shared and never change.
  std::shared_ptr<const TClip::TRows> rows = region.rectCount() > 1 ? TClip::MakeRows(region) : nullptr;
  if (kept.size() >= 8) kept.pop_back();
  kept.insert(kept.begin(), {Points, region, rows});
  return TClip(region, rows);
}
}  // namespace

void TCanvas::PushClipPolygon(const std::vector<TPoint>& Points) {
  TClip clip = PolygonClip(Points);
  impl_->Record(mf::TOp::PushClipPolygon, Points.data(), int(Points.size()));
  if (impl_->clips.empty()) impl_->clips.push_back(std::move(clip));
  else impl_->clips.emplace_back(impl_->clips.back().Region().intersected(clip.Region()));
}

void TCanvas::PopClip() {
  if (impl_->clips.empty()) return;
  impl_->Record(mf::TOp::PopClip);
  impl_->clips.pop_back();
}

int TCanvas::ClipDepth() const { return int(impl_->clips.size()); }

TRect TCanvas::ClipRect() {
  const QImage* img = impl_->ReadImage();
  QRect r = img ? img->rect() : QRect();
  if (!impl_->clips.empty()) r &= impl_->clips.back().Bounds();
  if (r.isEmpty()) return {};
  return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

bool TCanvas::Antialiasing() const { return impl_->antialias; }
void TCanvas::SetAntialiasing(bool Value) { impl_->antialias = Value; }

void TCanvas::Lock() {
  impl_->mutex.lock();
  ++impl_->locks;
}
void TCanvas::Unlock() {
  --impl_->locks;
  impl_->mutex.unlock();
}
bool TCanvas::TryLock() {
  if (!impl_->mutex.try_lock()) return false;
  ++impl_->locks;
  return true;
}
int TCanvas::LockCount() const { return impl_->locks; }

// ---------------------------------------------------------------------------
void AttachCanvasToSurface(TCanvas* Canvas, TCanvasSurface Surface) {
  TCanvas::Impl& c = *Canvas->GetImpl();
  c.attached = bool(Surface.Acquire);
  c.surface = std::move(Surface);
}

void SetCanvasRecording(TCanvas* Canvas, mf::TPicture* Picture) { Canvas->GetImpl()->recording = Picture; }

bool CanvasRecordsMetafile(TCanvas* Canvas) { return Canvas && Canvas->GetImpl()->recording; }

void AttachCanvasToImage(TCanvas* Canvas, QImage* Image) {
  if (!Image) {
    AttachCanvasToSurface(Canvas, {});
    return;
  }
  AttachCanvasToSurface(Canvas, {[Image] { return Image; }, {}});
}

void CanvasDrawImage(TCanvas* Canvas, const TRect& Dest, const QImage& Image, const QRect& Source,
                     const QImage* Mask) {
  Canvas->GetImpl()->DrawImage(Dest, Image, Source, Mask, std::nullopt);
}

void CanvasDrawTransparent(TCanvas* Canvas, const TRect& Dest, const QImage& Image, QRgb Transparent) {
  Canvas->GetImpl()->DrawImage(Dest, Image, Image.rect(), nullptr, Transparent & 0xFFFFFF);
}

// ---------------------------------------------------------------------------
void TCanvas::DrawOpacity(const TRect& Dest, TBitmap* Bitmap, double Opacity) {
  Impl& c = *impl_;
  if (!Bitmap || Bitmap->Empty() || !(Opacity > 0)) return;
  const TRect d = Normalized(Dest);
  if (d.Width() <= 0 || d.Height() <= 0) return;
  const QImage src = BitmapToQImage(Bitmap);
  Impl::RasterScope raster(c);
  c.Draw([&](QImage& img) {
    const QRect target = ToQRect(d);
    c.Touch(target);
    QPainter p(&img);
    c.SetupPainter(p);
    p.setOpacity(std::min(Opacity, 1.0));
    p.drawImage(target, src);
  });
}

void TCanvas::DrawOnQuad(const std::array<TPoint, 4>& Corners, TBitmap* Bitmap) {
  Impl& c = *impl_;
  if (!Bitmap || Bitmap->Empty()) return;
  const QImage src = BitmapToQImage(Bitmap);
  QPolygonF to;
  for (const TPoint& p : Corners) to << QPointF(p.X, p.Y);
  QPolygonF from;  // four corners (a polygon made from a rectangle has a fifth, closing one)
  from << QPointF(0, 0) << QPointF(src.width(), 0) << QPointF(src.width(), src.height()) << QPointF(0, src.height());
  QTransform t;
  if (!QTransform::quadToQuad(from, to, t)) return;
  Impl::RasterScope raster(c);
  c.Draw([&](QImage& img) {
    c.Touch(to.boundingRect().toAlignedRect());
    QPainter p(&img);
    c.SetupPainter(p);  // the clip is set in device coordinates, before the mapping
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setTransform(t);
    p.drawImage(0, 0, src);
  });
}
