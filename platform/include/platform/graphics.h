// Drawing: pens, brushes, fonts, the canvas, palettes, bitmaps, icons and pictures.
//
// The canvas keeps the device geometry that drawing code was written against, in one
// place: LineTo leaves out its end pixel; Rectangle, Ellipse, RoundRect, FillRect and
// FrameRect leave out the right and bottom edge; a pen of width 0 or 1 is a one-pixel
// cosmetic pen whose styles have fixed dash lengths; pen modes combine with the pixels
// underneath (xor twice restores them); TextOut places text by the top-left of its cell.
// Nothing is antialiased unless the canvas is told to.
//
// Qt stays inside the library: a canvas draws into an image it is bound to (a bitmap's,
// or a control's persistent off-screen image), never into a window directly.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/graphic.h"
#include "platform/typinfo.h"
#include "platform/types.h"

class TBitmap;
class TCanvas;

// Runs once at start-up: registers "bmp" ("Bitmaps") with the picture format registry
// and TBitmap for the bitmap clipboard format. GraphicsUnitDone undoes it.
void GraphicsUnitInit();
void GraphicsUnitDone();
// Maps "MS Sans Serif", "Arial", "Courier New", ... to installed free fonts of the
// same metrics; GraphicsUnitInit calls it.
void InstallFontSubstitutes();

// Application fonts: a TrueType or OpenType font from memory, usable by its family
// names (added to Families when given) until removed. Answers a handle, 0 when the
// data is no font. RemoveFontMemResource answers false for 0 or an unknown handle.
int AddFontMemResource(const void* Data, std::size_t Size, std::vector<std::string>* Families = nullptr);
bool RemoveFontMemResource(int Handle);

// Number * Numerator / Denominator with a 64-bit intermediate, rounded half away from
// zero; -1 when Denominator is 0.
int MulDiv(int Number, int Numerator, int Denominator);

// Bytes in one scan line of PixelsPerScanline pixels at BitsPerPixel, padded to Alignment
// bits (32 for bitmaps).
int BytesPerScanline(int PixelsPerScanline, int BitsPerPixel, int Alignment);

// ---------------------------------------------------------------------------
// Palettes: handles of our own palette objects. A handle stays unique for the life of
// the process; a deleted or unknown handle has no entries.
struct TPaletteEntry {
  std::uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};
constexpr std::uint8_t PC_RESERVED = 0x01;
constexpr std::uint8_t PC_EXPLICIT = 0x02;
constexpr std::uint8_t PC_NOCOLLAPSE = 0x04;

struct TLogPalette {
  std::uint16_t palVersion = 0x300;
  std::uint16_t palNumEntries = 0;  // 1..256
  TPaletteEntry palPalEntry[256] = {};
};

// 0 when the entry count is outside 1..256.
HPALETTE CreatePalette(const TLogPalette& LogPalette);
// False for 0 or an unknown handle.
bool DeleteObject(HPALETTE Palette);
// Copies up to Count entries from StartIndex; answers how many were copied. With a null
// Entries it answers the palette's entry count.
int GetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, TPaletteEntry* Entries);
int SetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, const TPaletteEntry* Entries);
// A new handle with the same entries (0 for an unknown one).
HPALETTE CopyPalette(HPALETTE Palette);
// Index of the entry nearest to Color (squared RGB distance, first wins); -1 when none.
int GetNearestPaletteIndex(HPALETTE Palette, TColor Color);

// ---------------------------------------------------------------------------
// Pens, brushes and fonts: each change calls Changed, which fires OnChange.
class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)
public:
  TNotifyEvent OnChange;

protected:
  virtual void Changed();
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The sixteen binary raster operations, in the device's order.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// Ends of a wide pen's lines and dashes (a one-pixel pen has none).
enum TPenEndCap { pecRound, pecSquare, pecFlat };

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)
public:
  TPenEndCap EndCap() const { return endCap_; }
  void SetEndCap(TPenEndCap Value);
  // Lengths in pixels of dash, gap, dash, gap...; when set it replaces the dashes of
  // any visible style. Empty (or all zero) returns to the style's own.
  const std::vector<int>& DashPattern() const { return dashPattern_; }
  void SetDashPattern(const std::vector<int>& Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  int Width() const { return width_; }
  void SetWidth(int Value);  // values below 0 are ignored
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode Value);
  void Assign(TPersistent* Source) override;

  static void DefineProperties(TPropertyTable& t);

private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  TPenEndCap endCap_ = pecRound;
  std::vector<int> dashPattern_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)
public:
  TBrush();
  ~TBrush() override;
  TColor Color() const { return color_; }
  void SetColor(TColor Value);  // a clear brush becomes solid
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush: the brush takes a copy of the bitmap's pixels when it is set, so
  // the bitmap may be freed afterwards; Bitmap() answers the pointer that was set.
  // nullptr returns to Style and Color.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* Value);
  void Assign(TPersistent* Source) override;

  static void DefineProperties(TPropertyTable& t);

  struct Pattern;
  const Pattern* PatternImage() const { return pattern_.get(); }  // for the canvas

private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
  std::shared_ptr<const Pattern> pattern_;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit (1 << style) for each style in the set
constexpr TFontStyles FontStyles(std::initializer_list<TFontStyle> styles) {
  TFontStyles s = 0;
  for (TFontStyle f : styles) s |= 1u << f;
  return s;
}
constexpr bool HasFontStyle(TFontStyles s, TFontStyle f) { return (s & (1u << f)) != 0; }

enum TFontPitch { fpDefault, fpVariable, fpFixed };
// Smoothing of text: fqBest smoothed, fqNormal crisp, fqDefault as the canvas says.
enum TFontQuality { fqBest, fqNormal, fqDefault };
using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

// Height < 0: the character height in pixels (the em); Height > 0: the cell height
// (ascent + descent). Size is in points at 96 pixels per inch: Height = -MulDiv(Size, 96, 72).
class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)
public:
  static constexpr int PixelsPerInch = 96;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);  // an empty name is ignored
  int Height() const { return height_; }
  void SetHeight(int Value);
  int Size() const { return -MulDiv(height_, 72, PixelsPerInch); }
  void SetSize(int Value) { SetHeight(-MulDiv(Value, PixelsPerInch, 72)); }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  // Angle of the baseline in tenths of a degree, counter-clockwise.
  int Orientation() const { return orientation_; }
  void SetOrientation(int Value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch Value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset Value);
  // Extra pixels after each character (negative: closer together).
  int LetterSpacing() const { return letterSpacing_; }
  void SetLetterSpacing(int Value);
  // Smoothing of this font's text: fqDefault follows the canvas's Antialiasing.
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality Value);
  void Assign(TPersistent* Source) override;
  // Bumped by every change; lets the canvas cache what it derives from the font.
  unsigned Generation() const { return generation_; }

  static void DefineProperties(TPropertyTable& t);

protected:
  void Changed() override;

private:
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  int orientation_ = 0;
  TFontPitch pitch_ = fpDefault;
  TFontCharset charset_ = DEFAULT_CHARSET;
  int letterSpacing_ = 0;
  TFontQuality quality_ = fqDefault;
  unsigned generation_ = 0;
};

// ---------------------------------------------------------------------------
// Raster operations for CopyRect and for drawing bitmaps (the canvas's CopyMode).
using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment flags: horizontal (left, right, centre) or'ed with vertical (top,
// bottom, baseline), relative to the reference point of TextOut.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

struct TTextMetric {
  int tmHeight = 0;  // ascent + descent
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
};

// The polygons of one figure of TCanvas::PolygonFigures (a 3D box's faces), each with
// the colour its brush takes.
class TCanvasFigure {
public:
  void Add(const TPoint* Points, int Count, TColor Color);
  void Clear();
  int Polygons() const { return int(colors_.size()); }
  const TPoint* Points(int Polygon) const { return points_.data() + (Polygon ? ends_[size_t(Polygon - 1)] : 0); }
  int Count(int Polygon) const { return ends_[size_t(Polygon)] - (Polygon ? ends_[size_t(Polygon - 1)] : 0); }
  TColor Color(int Polygon) const { return colors_[size_t(Polygon)]; }
  const std::vector<TPoint>& AllPoints() const { return points_; }

private:
  std::vector<TPoint> points_;
  std::vector<int> ends_;  // past each polygon's last point
  std::vector<TColor> colors_;
};

// A canvas draws into the image it is bound to: a bitmap's (TBitmap::Canvas) or a
// control's off-screen image. A canvas bound to nothing measures text but raises
// EInvalidOperation "Canvas does not allow drawing" when asked to draw.
//
// State follows the device: the pen, brush and font are the canvas's own objects (set
// them or Assign into them). A change of brush sets the background mode: a solid brush
// gives OPAQUE with the brush colour as background colour, any other TRANSPARENT;
// SetBkMode changes it until the next brush change. In OPAQUE mode the gaps of a
// styled one-pixel pen, the gaps of a hatched brush and the cells of TextOut take the
// background colour. The pen mode applies to lines and shape fills; FillRect, FrameRect
// and text always copy.
// One screen column of a one-pixel line reduced to columns (a dense chart line): the
// line comes into column X at row Entry, covers rows Low..High and leaves at row Exit.
struct TLineColumn {
  int X, Entry, Low, High, Exit;
};

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  TPen* Pen() const;
  TBrush* Brush() const;
  TFont* Font() const;
  void SetPen(TPen* Value);      // copies Value
  void SetBrush(TBrush* Value);  // copies Value
  void SetFont(TFont* Value);    // copies Value

  TPoint PenPos() const;
  void SetPenPos(const TPoint& Value);
  void MoveTo(int X, int Y);
  // Draws from the pen position towards (X, Y), leaving out (X, Y) itself, and moves
  // the pen position there.
  void LineTo(int X, int Y);
  // Joined segments from the first point to the last, like consecutive LineTo calls
  // (the last point is left out); the pen position does not move.
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), int(Points.size())); }
  // The same pixels as LineTo to each point in turn (dashes run on from the pen
  // position), drawn as one operation; the pen position ends at the last point.
  void PolylineTo(const TPoint* Points, int Count);
  // For each column in turn the same as LineTo(X, Entry), MoveTo(X, Low),
  // LineTo(X, High + 1), MoveTo(X, Exit), drawn as one operation: a solid one-pixel
  // pen in copy mode sets each column's pixels once.
  void ColumnLineTo(const TLineColumn* Columns, int Count);
  // Filled with the brush (alternate filling) and outlined with the pen.
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int(Points.size())); }
  // Count figures drawn in turn, figure 0 first: MakeFigure(I, Figure) gives figure I's
  // polygons (Figure comes empty), each drawn as Polygon draws it with the pen and with
  // the brush in the polygon's colour. Every point lies inside Bounds (edges included).
  // On an image in copy mode, with a pen of one pixel (solid) or none and a solid brush,
  // the figures are painted from the last back, each pixel once; MakeFigure may then be
  // asked for a figure more than once and in any order. The brush keeps its colour.
  void PolygonFigures(int Count, const TRect& Bounds, const std::function<void(int, TCanvasFigure&)>& MakeFigure);
  // 3n+1 points: start, then two control points and an end point per segment.
  void PolyBezier(const TPoint* Points, int Count);
  void PolyBezier(const std::vector<TPoint>& Points) { PolyBezier(Points.data(), int(Points.size())); }

  // Shapes inside the box (X1, Y1)-(X2, Y2), its right and bottom edge left out; the
  // interior is filled with the brush, the outline drawn with the pen. A wide pen stays
  // inside the box; with a clear pen the fill stops one more pixel short on the right
  // and at the bottom, as on the device.
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  // X3, Y3: width and height of the ellipse that rounds the corners.
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  // Part of the ellipse in the box, counter-clockwise from the ray towards (X3, Y3)
  // to the ray towards (X4, Y4); Pie closes it to the centre and fills it.
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Brush only, ignoring the pen and its mode.
  void FillRect(const TRect& Rect);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& Rect);

  // Text in the font colour with the cell's top-left at (X, Y) (or as TextAlign says),
  // turned by the font's orientation about that point; the pen position is not moved.
  void TextOut(int X, int Y, const std::string& Text);
  // TextOut clipped to Rect.
  void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
  // Text as an outline at TextOut's place: the glyph shapes filled with Fill stretched
  // over the text's cell (nullptr: the font colour; FillText false: left empty), then
  // their edges stroked with the pen's width unless the pen is clear, in the pen's
  // colour or with Stroke stretched over the cell. Smoothed as the font's Quality says.
  void TextOutPath(int X, int Y, const std::string& Text, bool FillText, TBitmap* Fill = nullptr,
                   TBitmap* Stroke = nullptr);
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text);  // TextExtent(Text).cy, without measuring the width
  TTextMetric TextMetrics();
  unsigned TextAlign() const;
  void SetTextAlign(unsigned Value);

  int BkMode() const;
  void SetBkMode(int Mode);  // TRANSPARENT or OPAQUE
  TColor BkColor() const;
  void SetBkColor(TColor Value);

  // Graphics draw themselves through TGraphic::Draw: at their own size, or stretched.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Copies Source of Canvas (which may be this canvas) stretched into Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  TCopyMode CopyMode() const;
  void SetCopyMode(TCopyMode Value);

  // -1 outside the image or the clip; colours are read back as 0x00BBGGRR.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // Clip stack: each push intersects the current clip; PopClip restores the one before.
  void PushClipRect(const TRect& Rect);
  void PushClipPolygon(const std::vector<TPoint>& Points);
  void PopClip();  // nothing when the stack is empty
  int ClipDepth() const;
  // Bounding box of the current clip (the whole image when nothing is pushed).
  TRect ClipRect();

  bool Antialiasing() const;
  void SetAntialiasing(bool Value);  // smooth lines, shapes and text

  // Bitmap stretched into Dest over what is there, Opacity (0..1) of it showing.
  void DrawOpacity(const TRect& Dest, TBitmap* Bitmap, double Opacity);
  // Bitmap mapped onto a quadrilateral: its top-left, top-right, bottom-right and
  // bottom-left corners go to Corners in that order (a perspective mapping when the
  // quadrilateral is not a parallelogram); nothing when no such mapping exists.
  void DrawOnQuad(const std::array<TPoint, 4>& Corners, TBitmap* Bitmap);

  // For drawing from other threads: Lock is recursive and blocks until the canvas is free.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const;

  // Fired before and after every drawing operation.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

  struct Impl;
  Impl* GetImpl() const { return impl_.get(); }

protected:
  virtual void Changing();
  virtual void Changed();

private:
  std::unique_ptr<Impl> impl_;
};

// Frame controls drawn by the platform's style into a canvas: DFC_BUTTON with
// DFCS_BUTTONCHECK or DFCS_BUTTONRADIO, plus DFCS_CHECKED, DFCS_INACTIVE, DFCS_FLAT.
// The box fills Rect; BoxColor (clWindow unless given) is the inside of the box.
// False for a kind the platform does not draw, and without the application (whose
// thread alone may draw them).
constexpr unsigned DFC_BUTTON = 4;
constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
constexpr unsigned DFCS_INACTIVE = 0x0100;
constexpr unsigned DFCS_CHECKED = 0x0400;
constexpr unsigned DFCS_FLAT = 0x4000;
bool DrawFrameControl(TCanvas* Canvas, const TRect& Rect, unsigned Type, unsigned State,
                      TColor BoxColor = clWindow);
// The dotted focus frame, inverting every other pixel of Rect's edges (right and
// bottom edge left out), so drawing it twice restores the pixels.
void DrawFocusRect(TCanvas* Canvas, const TRect& Rect);

// ---------------------------------------------------------------------------
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// Bits per pixel of a pixel format (pfDevice: 32).
int PixelFormatBits(TPixelFormat Format);
// Colour bits per pixel of the primary screen (bits times planes); 0 when there is no
// screen, i.e. no GUI application is running.
int ScreenColorDepth();

// A bitmap kept in memory in its own pixel format, buildable on any thread.
//
// ScanLine(Row) gives the bytes of row Row (0 = top), in this layout:
//   pf1bit   1 bit per palette index, most significant bit first
//   pf4bit   4 bits per palette index, high nibble first
//   pf8bit   one byte per palette index
//   pf15bit  16-bit little-endian words 0RRRRRGGGGGBBBBB
//   pf16bit  16-bit little-endian words RRRRRGGGGGGBBBBB
//   pf24bit  bytes blue, green, red
//   pf32bit  bytes blue, green, red, unused (pfDevice likewise)
// Each row is BytesPerScanline(Width, bits, 32) long; rows are contiguous from the top,
// so ScanLine(1) - ScanLine(0) is the row size. The pointer stays valid until the
// bitmap's size, format or palette changes or its canvas draws (for pf4bit also until
// the bitmap is read through its canvas or drawn elsewhere).
//
// Indexed formats have a palette (Palette answers a handle the bitmap owns; SetPalette
// takes ownership of the handle given). Without one they get a default: black and
// white; the sixteen standard colours; those sixteen, a 6x6x6 colour cube and 24 greys.
// Drawing on an indexed bitmap's canvas maps each colour to its nearest palette entry.
class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // Keeps the pixels that still fit; new area is white (index 0 on indexed formats
  // whose first entry is not white: the entry nearest white).
  void SetSize(int AWidth, int AHeight);
  // SetSize for a caller that sets every pixel before anything reads one (a chart
  // filling its background over the whole picture): on a 32-bit bitmap the pixels
  // are left unset rather than made white first.
  void SetSizeForOverwrite(int AWidth, int AHeight);
  TPixelFormat PixelFormat() const;
  // Converts the pixels; to an indexed format through the palette (the current one when
  // it has the right size, else the default).
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const;
  void SetMonochrome(bool Value);  // true: pf1bit black and white; false: pfDevice
  HPALETTE Palette() const override;
  void SetPalette(HPALETTE Value) override;
  // Gives the palette handle up to the caller, who deletes it.
  HPALETTE ReleasePalette();

  TCanvas* Canvas();
  // EInvalidGraphicOperation "Scan line index out of range" outside 0..Height-1.
  void* ScanLine(int Row);

  // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);  // switches to tmFixed
  TTransparentMode TransparentMode() const;
  void SetTransparentMode(TTransparentMode Value);

  // Resolution kept in bitmap files, in pixels per metre (3780, 96 dpi, by default;
  // values below 1 return to it); a file without one reads as the default.
  int PixelsPerMeterX() const;
  int PixelsPerMeterY() const;
  void SetPixelsPerMeter(int X, int Y);
  // The same in dots per inch, both ways (0 returns to 96).
  int Dpi() const;
  void SetDpi(int Value);

  void Assign(TPersistent* Source) override;
  // A device-independent bitmap file: uncompressed 1/4/8/16/24/32 bits and RLE4/RLE8 are
  // read (EInvalidGraphic "Bitmap image is not valid" otherwise); written uncompressed in
  // the bitmap's own pixel format. Sizes are refused before any pixel memory is taken
  // when the file cannot hold them: at most 32768 x 32768 and 2^28 pixels, uncompressed
  // rows all present, RLE at most 2^20 pixels plus 16384 per byte of its data.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A bitmap file embedded as a named resource (platform/resources.h); EResNotFound
  // when there is none of that name.
  void LoadFromResourceName(const std::string& ResName);
  // Opaque: with the destination canvas's CopyMode. Transparent: pixels of
  // TransparentColor are left out.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void Dormant() {}
  void FreeImage() {}

  struct Impl;
  Impl* GetImpl() const { return impl_.get(); }

private:
  std::unique_ptr<Impl> impl_;
};

// Blurs Bitmap (converted to pf32bit) in place, all four bytes of each pixel: Passes
// box blurs of Radius pixels each way (one pass: a box blur; three: close to a Gaussian
// of deviation about Radius). Pixels beyond the edges repeat the edge pixel. The cost
// per pixel does not depend on Radius.
void BlurBitmap(TBitmap* Bitmap, int Radius, int Passes = 3);

// An image with a mask: set mask bits mark transparent pixels.
class TIcon : public TGraphic {
  DECLARE_CLASS(TIcon, TGraphic)
public:
  TIcon();
  ~TIcon() override;
  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void SetSize(int AWidth, int AHeight);
  // The colour image (pf32bit unless loaded otherwise) and the pf1bit mask; both have
  // the icon's size.
  TBitmap* Image() const;
  TBitmap* Mask() const;
  bool Transparent() const override { return true; }
  void Assign(TPersistent* Source) override;
  // An icon file holding one image (the first is read).
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  std::unique_ptr<TBitmap> image_, mask_;
};

// ---------------------------------------------------------------------------
// Clipboard format numbers: the same name always gives the same number (0xC000 and up).
std::uint16_t RegisterClipboardFormat(const std::string& Name);
constexpr std::uint16_t CF_TEXT = 1;
constexpr std::uint16_t CF_BITMAP = 2;

// A picture holds one graphic of any registered class.
class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of Value (a new graphic of its class assigned from it); nullptr clears.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture holding no bitmap first gets an empty one.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  TIcon* Icon();
  int Width() const;
  int Height() const;

  // By the file's extension; EInvalidGraphic "Unknown picture file extension (.%s)".
  // A failing load leaves the picture as it was.
  void LoadFromFile(const std::string& FileName);
  // Nothing for an empty picture.
  void SaveToFile(const std::string& FileName);
  // Picture data: a length byte and the class name of the graphic, then the graphic's
  // own stream. A class the registry does not know leaves the picture empty.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette);
  void SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette);

  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  // Format registry. Extensions are given without the dot, in any case; the latest
  // registration of an extension wins and lists first.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                 TGraphicClass GraphicClass);
  static void RegisterClipboardFormat(std::uint16_t Format, TGraphicClass GraphicClass);
  // Removes every file and clipboard format of the class and its descendants.
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  static bool SupportsClipboardFormat(std::uint16_t Format);
  static TGraphicClass GraphicClassForExtension(const std::string& Extension);  // nullptr
  static TGraphicClass GraphicClassForName(const std::string& ClassName);       // nullptr
  // "All (*.gif;*.bmp)|*.gif;*.bmp|GIF Image (*.gif)|*.gif|Bitmaps (*.bmp)|*.bmp"; with a
  // class, only the formats of that class and its descendants.
  static std::string GraphicFilter(TGraphicClass GraphicClass = nullptr);
  static std::string GraphicExtension(TGraphicClass GraphicClass);  // first one, "" when none
  static std::string GraphicFileMask(TGraphicClass GraphicClass);   // "*.gif;*.bmp"

protected:
  virtual void Changed(TObject* Sender);

private:
  void Take(TGraphic* NewGraphic);  // takes ownership and wires notifications
  std::unique_ptr<TGraphic> graphic_;
};
