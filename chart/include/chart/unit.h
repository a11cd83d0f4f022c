// Start-up of the chart unit, run by the unit table after the chart engine: creates
// the colour palettes and registers the standard series classes by name.
// ChartUnitDone undoes both.
#pragma once

void ChartUnitInit();
void ChartUnitDone();
