#include "editor/unit.h"

#include "platform/classes.h"

void LumEditorUnitInit() {}

void LumEditorUnitDone() {}
