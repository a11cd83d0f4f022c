#pragma once
#include <string>

// Writes tools_cursor.png, tools_drawline.png and tools_annotation.png into Dir
// (ending in '/'); false when one failed.
bool SnapToolScenes(const std::string& Dir);
// Shows the named scene ("cursor", "drawline" or "annotation") in a window of the
// desktop's platform until it is closed; 2 for an unknown name.
int RunToolSceneLive(const std::string& Name);
