// Start-up of the chart unit, run by the unit table after the chart engine: creates
// the colour palettes and registers the standard series classes by name; the series
// gallery's unit then lists their gallery entries (RegisterStandardSeries,
// chart/registry.h). ChartUnitDone empties the lists and undoes the rest.
#pragma once

void ChartUnitInit();
void ChartUnitDone();
