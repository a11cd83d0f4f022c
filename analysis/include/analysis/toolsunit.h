// The tools unit: makes the chart tools known to the galleries, the editor and the
// chart streams (the tool type list, in catalogue order, and the class registry).
// Start-up and finalisation count their calls: only the first start-up and the last
// finalisation do anything.
#pragma once
#include <vector>

#include "platform/classes.h"

// The seventeen tool classes in catalogue order.
std::vector<TClass> LumToolClasses();

void LumToolsUnitInit();
void LumToolsUnitDone();
