// The caller's-thread painter's message pump, kept in its own file: the forms
// header and the codec's headers share names (crNone).
#include "platform/forms.h"
#include "platform/threads.h"

bool GIFPumpMessages() {
  if (!Application) {
    if (IsMainThread()) CheckSynchronize();
    return true;
  }
  Application->ProcessMessages();
  return !Application->Terminated();
}
