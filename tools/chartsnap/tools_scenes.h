#pragma once
#include <string>

// Writes tools_cursor.png, tools_drawline.png, tools_annotation.png,
// tools_colorband.png and tools_gridband.png into Dir
// (ending in '/'); false when one failed.
bool SnapToolScenes(const std::string& Dir);
// Shows the named scene ("cursor", "drawline", "annotation", "colorband" or "gridband") in a window of the
// desktop's platform until it is closed; 2 for an unknown name.
int RunToolSceneLive(const std::string& Name);
