#pragma once
#include <string>

// Writes the financial and statistical series scenes (candles_*.png, volume_origin.png,
// darvas.png, histogram.png, histogram_horiz.png) into Dir (ending in '/'); false when
// one failed.
bool SnapAnalysisScenes(const std::string& Dir);
