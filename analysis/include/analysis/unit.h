// Start-up of the analysis unit, run after the chart unit: registers the financial and
// statistical series classes by name. AnalysisUnitDone removes them again.
#pragma once

void AnalysisUnitInit();
void AnalysisUnitDone();
