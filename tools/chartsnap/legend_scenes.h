#pragma once
#include <string>

// Writes legend_left.png, legend_right.png, legend_top.png and legend_bottom.png into
// Dir (ending in '/'); false when one failed.
bool SnapLegendScenes(const std::string& Dir);
