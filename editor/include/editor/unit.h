// Start-up of the chart editor, after the chart storage: its forms registered by
// name (an editor is found by the class name its series, function or tool gives),
// and the constructor and parent of the close-location-value function's options
// page, whose class the analysis layer names. Done unregisters them again; a second
// start-up changes nothing.
#pragma once

void LumEditorUnitInit();
void LumEditorUnitDone();
