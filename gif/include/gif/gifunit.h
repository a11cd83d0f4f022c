// The GIF picture format as one of the class library's picture formats: file
// extension "GIF" ("GIF Image"), the "GIF Image" clipboard format, the palette
// display flags, and the drawing and conversion hooks of the image model.
#pragma once
#include <cstdint>

// The clipboard format number of "GIF Image" (0 before GIFImageUnitInit).
extern std::uint16_t CF_GIF;

// Run at start-up and at shutdown; a counter makes repeated calls harmless.
void GIFImageUnitInit();
void GIFImageUnitDone();

// Installs the image's clipboard operations (GIFImageUnitInit does).
void GIFClipboardInit();
