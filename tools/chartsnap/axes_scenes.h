#pragma once
#include <string>

// Writes axes_3d_depth.png, axes_logarithmic.png, axes_datetime.png,
// axes_custom.png and axes_labels.png into Dir (ending in '/'); false when one failed.
bool SnapAxesScenes(const std::string& Dir);
