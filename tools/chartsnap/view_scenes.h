#pragma once
#include <string>
#include <vector>

// Writes tools_arrows.png, tools_image.png and tools_rotate.png into Dir (ending in
// '/'); false when one failed.
bool SnapViewToolScenes(const std::string& Dir);
// The live view-tool scenes: "rotate", "arrows", "image" and "fullscreen".
const std::vector<std::string>& ViewToolSceneNames();
// Shows the named scene in a window of the desktop's platform until it is closed.
int RunViewToolSceneLive(const std::string& Name);
