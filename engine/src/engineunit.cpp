#include "engine/engineunit.h"

#include <vector>

#include "engine/tools.h"
#include "platform/forms.h"

void RegisterEngineResources();  // generated from engine/resources

namespace {
int inits = 0;

std::vector<TClass> ToolBaseClasses() {
  return {TLumCustomTool::StaticClass(), TLumCustomToolSeries::StaticClass(), TLumCustomToolAxis::StaticClass()};
}
}  // namespace

void LumEngineUnitInit() {
  if (inits++ > 0) return;
  RegisterEngineResources();
  for (TClass c : ToolBaseClasses()) RegisterClass(c);
  if (Screen) Screen->SetCursors(crLumHand, LoadCursorFromResourceName("LUM_CURSOR_HAND"));
}

void LumEngineUnitDone() {
  if (inits == 0 || --inits > 0) return;
  for (TClass c : ToolBaseClasses()) UnRegisterClass(c);
}
