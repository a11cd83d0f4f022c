#pragma once
#include <string>
#include <vector>

// Writes tools_nearest.png (the nearest-point highlights in each style),
// tools_dragmarks.png (marks dragged to places of their own) and
// tools_animation.png (a growing bar series at step 50 of 100) into Dir (ending
// in '/'); false when one failed.
bool SnapNearScenes(const std::string& Dir);
// The live scenes: "nearest", "marktip", "dragmarks" and "animation".
const std::vector<std::string>& NearSceneNames();
// Shows the named scene in a window of the desktop's platform until it is closed; -1
// for another name.
int RunNearSceneLive(const std::string& Name);
