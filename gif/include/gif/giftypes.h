// Small value types of the GIF codec, shared by the image model, the coders and
// colour reduction.
#pragma once
#include <cstdint>
#include <string>

#include "platform/graphic.h"
#include "platform/rtl.h"

PHONARK_EXCEPTION(GIFException, EInvalidGraphic);

enum TGIFVersion { gvUnknown, gv87a, gv89a };
enum TGIFSeverity { gsInfo, gsWarning, gsError };
enum TGIFCompression { gcLZW = 0, gcRLE = 1 };

// A frame's disposal as stored in its graphic control extension (3 bits).
enum TDisposalMethod : std::uint8_t {
  dsUnspecified = 0,
  dsKeep = 1,
  dsRestoreBackground = 2,
  dsRestorePrevious = 3,
};

using TFrameDrawOptions = std::uint16_t;
constexpr TFrameDrawOptions fdThreaded = 0x001;
constexpr TFrameDrawOptions fdTransparent = 0x002;
constexpr TFrameDrawOptions fdAnimate = 0x004;
constexpr TFrameDrawOptions fdLoop = 0x008;
constexpr TFrameDrawOptions fdLoopForever = 0x010;
constexpr TFrameDrawOptions fdCheckCanvas = 0x020;
constexpr TFrameDrawOptions fdDirectPaint = 0x040;
constexpr TFrameDrawOptions fdClearOnLoop = 0x080;
constexpr TFrameDrawOptions fdTile = 0x100;
constexpr TFrameDrawOptions fdWebPalette = 0x200;
constexpr TFrameDrawOptions fdWebPaletteOnPaletteDisplay = 0x400;
constexpr TFrameDrawOptions GIFDefaultDrawOptions = 0x068F;

using TOptimizeOptions = std::uint8_t;
constexpr TOptimizeOptions opTrimTransparent = 0x01;
constexpr TOptimizeOptions opMergeWithPrevious = 0x02;
constexpr TOptimizeOptions opDropRedundant = 0x04;
constexpr TOptimizeOptions opSortColorTables = 0x08;
constexpr TOptimizeOptions opReduceColors = 0x10;

// How a true-colour picture is brought down to at most 256 colours.
enum TColorReduction {
  rmNone = 0,            // keep 24-bit colour
  rmSystem20 = 1,        // the system's 20-colour palette
  rmHalftone = 2,        // the screen's halftone palette
  rmGray4 = 3,           // four greys
  rmMonochrome = 4,
  rmGray256 = 5,
  rmWeb216 = 6,          // the 6x6x6 palette
  rmOptimized = 7,       // optimised palette of 2^bits colours
  rmOptimizedSystem = 8, // 236 optimised colours between the system's 20
  rmGivenPalette = 9,
};

enum TDitherMode {
  dmNearest = 0,
  dmFloydSteinberg = 1,
  dmStucki = 2,
  dmSierra = 3,
  dmJaJuNi = 4,
  dmSteveArche = 5,
  dmBurkes = 6,
};

// Thread priorities as the class library numbers them (tpNormal = 3).
constexpr int GIFDefaultThreadPriority = 3;

struct TGIFColor {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

// A tiny file can claim a 65535 x 65535 frame; these caps keep such a file from
// making the codec allocate gigabytes.
constexpr std::int64_t GIFMaxFramePixels = std::int64_t(1) << 26;  // 8192 x 8192
constexpr std::int64_t GIFMaxImagePixels = std::int64_t(1) << 29;  // all frames together
constexpr int GIFMaxDimension = 65535;                              // u16 in the stream

class TGIFImage;
class TGIFSubImage;
class TGIFItem;

using TGIFWarning = TEvent<void(TObject* Sender, TGIFSeverity Severity, const std::string& Message)>;

// Global switches (both off): build a frame's bitmap while loading; optimise before
// a picture property is streamed.
extern bool CreateBitmapOnLoad;
extern bool OptimizeOnStream;

// Reads exactly Count bytes or raises "Premature end of data".
void ReadCheck(TStream* Stream, void* Buffer, std::int64_t Count);
