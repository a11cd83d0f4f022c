// Start-up of the chart unit, run by the unit table after the chart engine: creates
// the colour palettes, registers the standard series classes by name and, until a
// gallery unit makes that call, the gallery entries of the standard series
// (RegisterStandardSeries, chart/registry.h). ChartUnitDone empties the lists and
// undoes the rest.
#pragma once

void ChartUnitInit();
void ChartUnitDone();
