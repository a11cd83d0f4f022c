// Writes walls_3d.png and walls_3d_transparent.png into Dir (ending in '/'); false
// when one failed.
#pragma once
#include <string>

bool SnapWallsScenes(const std::string& Dir);
