#pragma once
#include <string>

// Writes the analysis-function scenes (func_*.png) into Dir (ending in '/'); false
// when one failed.
bool SnapFunctionScenes(const std::string& Dir);
