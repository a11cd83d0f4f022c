#include "analysis/toolsunit.h"

#include "analysis/tools_animation.h"
#include "analysis/tools_annotation.h"
#include "analysis/tools_bands.h"
#include "analysis/tools_cursor.h"
#include "analysis/tools_drawline.h"
#include "analysis/tools_nearest.h"
#include "analysis/tools_view.h"
#include "chart/registry.h"

namespace {
int useCount = 0;
}  // namespace

std::vector<TClass> LumToolClasses() {
  return {TCursorTool::StaticClass(),     TDragMarksTool::StaticClass(),       TAxisArrowTool::StaticClass(),
          TDrawLineTool::StaticClass(),   TNearestTool::StaticClass(),         TColorBandTool::StaticClass(),
          TColorLineTool::StaticClass(),  TRotateTool::StaticClass(),          TChartImageTool::StaticClass(),
          TMarksTipTool::StaticClass(),   TAnnotationTool::StaticClass(),      TSeriesAnimationTool::StaticClass(),
          TGridBandTool::StaticClass(),   TAxisScrollTool::StaticClass(),      TRectangleTool::StaticClass(),
          TClipSeriesTool::StaticClass(), TFullScreenTool::StaticClass()};
}

void LumToolsUnitInit() {
  if (useCount++ == 0) RegisterLumTools(LumToolClasses());
}

void LumToolsUnitDone() {
  if (useCount == 0) return;
  if (--useCount == 0) UnRegisterLumTools(LumToolClasses());
}
