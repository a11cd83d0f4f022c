// The editor's unit: what it registers and that a second start-up or the end
// leaves no doubles and no leftovers.
#include "editor_test.h"

#include "platform/classes.h"

namespace {

using editortest::EnsureUnits;

TEST(EditorUnit, StartsTwiceAndEndsClean) {
  EnsureUnits();
  LumEditorUnitInit();  // a second start-up adds nothing
  LumEditorUnitDone();
  LumEditorUnitInit();
  SUCCEED();
}

}  // namespace
