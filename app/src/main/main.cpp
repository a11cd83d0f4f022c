// The program: the unit table in start-up order, then the application object,
// the main window and the message loop; the finalisations run in reverse at exit.
#include "app/mainwindow.h"
#include "platform/forms.h"

int main() {
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  Application->Initialize();
  Application->CreateForm(Form1);
  Application->Run();
  // The forms and their charts go before the units whose lists and texts they use.
  Application->DestroyComponents();
  units.Finalize();
  return 0;
}
