// Turning a picture into a GIF frame: indexed pictures keep their palette and
// indexes, deeper ones are first reduced by the image's colour settings.
#pragma once
#include "gif/gifimage.h"
#include "gif/reduce.h"

// Replaces the frame's pixels, size and colour table with the picture's
// (position kept). A picture of 1, 4 or 8 bits per pixel takes its palette as
// the local colour table; any other is reduced by the owning image's colour
// reduction, dither mode and reduction bits, and its colours are collected
// into the table ("Color table overflow" past 256). With a mask (1 bit per
// pixel, the picture's size, a set bit marks a transparent pixel) a colour is
// given to the masked pixels and a graphic control extension makes it the
// transparent one. Reports "Converting..." progress on the owning image. On
// failure the frame is left empty.
void AssignDIBToFrame(TGIFSubImage* Frame, const TDIBPixels& Picture, const TDIBPixels* Mask = nullptr);
