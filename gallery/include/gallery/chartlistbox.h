// The chart list box's procedure variables through which it reaches the series
// gallery (filled by the series gallery's unit at start-up, cleared at its exit).
#pragma once
#include "platform/classes.h"

class TChartSeries;
class TCustomAxisPanel;

// (owner, chart, selected series): the new series, or nullptr.
using TGalleryNewSeriesProc = TChartSeries* (*)(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeries* Series);
// (owner, series in and out): the new series' class.
using TGalleryChangeTypeProc = TClass (*)(TComponent* Owner, TChartSeries*& Series);

extern TGalleryNewSeriesProc GalleryNewSeriesHook;
extern TGalleryChangeTypeProc GalleryChangeTypeHook;
