// The program: the unit table in start-up order, then the application object,
// the main window and the message loop; the finalisations run in reverse at exit.
#include "../gui/chain.h"
#include "canvas/lumconst.h"
#include "chart/unit.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/units.h"

int main() {
  // Each unit after the units it uses: the class library, the drawing canvas
  // (first half of the texts), the chart control's lists and palettes, the second
  // half of the texts, the GIF picture format (its unit joins here when it
  // exists), and the application's own unit last, which has nothing to do.
  TUnitTable units({
      {"Graphics", GraphicsUnitInit, GraphicsUnitDone},
      {"Forms", FormsUnitInit, FormsUnitDone},
      {"LumConst", LumConstUnitInit, LumConstUnitDone},
      {"Chart", ChartUnitInit, ChartUnitDone},
      {"LumConst2", LumConst2UnitInit, LumConst2UnitDone},
      {"Chain", nullptr, nullptr},
  });
  units.Initialize();
  Application->Initialize();
  Application->CreateForm(Form1);
  Application->Run();
  units.Finalize();
  return 0;
}
