// The records of a metafile picture and their two file forms, enhanced (EMF) and
// Windows metafile (WMF, with its placeable header). Qt-free: a metafile canvas
// (platform/metafile.h) fills the list as it draws, the writers turn one list into
// either form, and the reader turns the record subset we write back into a list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/types.h"

namespace mf {

enum class TOp : std::uint8_t {
  Polyline,     // Points; the last point left out, as the canvas does
  Polygon,      // Points, filled and outlined
  PolyBezier,   // Points: start, then three per segment
  Rectangle,    // Points[0..1]: the box
  Ellipse,      // Points[0..1]
  RoundRect,    // Points[0..1] the box, Points[2] the corner ellipse's width and height
  Arc,          // Points[0..1] the box, Points[2..3] the radial points
  Pie,          // as Arc
  FillRect,     // Points[0..1], brush only
  FrameRect,    // Points[0..1], brush colour
  Text,         // Points[0]: reference point; Text, Font, TextAlign, TextKind
  Bitmap,       // Points[0..1]: destination box; BitmapWidth x BitmapHeight, Pixels
  PushClipRect,     // Points[0..1]
  PushClipPolygon,  // Points
  PopClip,
};

enum TTextKind : std::uint8_t { tkTextOut, tkTextRect, tkOutline };

struct TPenState {
  TColor Color = 0;
  int Width = 1;
  int Style = 0;  // TPenStyle
  int Mode = 4;   // TPenMode, pmCopy
  friend bool operator==(const TPenState&, const TPenState&) = default;
};
struct TBrushState {
  TColor Color = 0xFFFFFF;
  int Style = 0;  // TBrushStyle
  friend bool operator==(const TBrushState&, const TBrushState&) = default;
};
struct TFontState {
  std::string Name;
  int Height = -11;
  unsigned Style = 0;  // TFontStyles
  int Orientation = 0;
  TColor Color = 0;
  friend bool operator==(const TFontState&, const TFontState&) = default;
};

struct TRecord {
  TOp Op = TOp::Polyline;
  std::vector<TPoint> Points;
  TPenState Pen;
  TBrushState Brush;
  bool Opaque = false;  // background mode of styled pens, hatches and text cells
  TColor BkColor = 0xFFFFFF;
  // Text
  std::string Text;
  TFontState Font;
  unsigned TextAlign = 0;
  TTextKind TextKind = tkTextOut;
  bool FillText = true;
  TRect TextClip;  // tkTextRect
  std::vector<int> Advances;  // pixels per UTF-16 unit of Text, for the file forms
  // Bitmap: rows from the top, 0x00RRGGBB
  int BitmapWidth = 0, BitmapHeight = 0;
  std::vector<std::uint32_t> Pixels;
};

struct TPicture {
  int Width = 0, Height = 0;  // pixels
  std::vector<TRecord> Records;
};

// Writers. Coordinates are pixels at 96 per inch; the frame is the picture's size.
void WriteEMF(const TPicture& Picture, TStream* Stream);
void WriteWMF(const TPicture& Picture, TStream* Stream);

// Reads an EMF or a WMF (with or without the placeable header) from the stream's
// position to its end, keeping the records of the kinds the writers make and skipping
// others. Never reads past the end; counts and sizes are checked against what is left
// before anything is allocated. EInvalidGraphic "Metafile is not valid" otherwise.
// Enhanced answers which form it was.
TPicture ReadMetafile(TStream* Stream, bool& Enhanced);

constexpr std::uint32_t WMFPlaceableKey = 0x9AC6CDD7;

}  // namespace mf
