#pragma once
#include <string>

// Writes tools_arrows.png, tools_image.png and tools_rotate.png into Dir (ending in
// '/'); false when one failed.
bool SnapViewToolScenes(const std::string& Dir);
// Whether Name is one of the live view-tool scenes ("rotate", "arrows", "image",
// "fullscreen").
bool IsViewToolScene(const std::string& Name);
// Shows the named scene in a window of the desktop's platform until it is closed.
int RunViewToolSceneLive(const std::string& Name);
