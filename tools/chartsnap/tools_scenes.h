#pragma once
#include <string>
#include <vector>

// Writes tools_cursor.png, tools_drawline.png, tools_annotation.png,
// tools_colorband.png and tools_gridband.png into Dir
// (ending in '/'); false when one failed.
bool SnapToolScenes(const std::string& Dir);
// The scenes: "cursor", "drawline", "annotation", "colorband" and "gridband".
const std::vector<std::string>& ToolSceneNames();
// Shows the named scene in a window of the desktop's platform until it is closed; 2
// for an unknown name.
int RunToolSceneLive(const std::string& Name);
