// The dialog a sample button opens (the pen and gradient buttons): made on the click,
// its OnDestroy chained so that the button forgets it however it is freed, shown
// modally, then freed.
#pragma once
#include "gallery/editortools.h"
#include "platform/forms.h"

// True on OK with the button still there. Dialog and PreviousOnDestroy are the
// button's own fields: once the button is freed (with the dialog's owner, or alone)
// neither is touched again.
template <class D, class Make>
bool RunButtonDialog(TComponent* Button, D*& Dialog, TNotifyEvent& PreviousOnDestroy, Make MakeDialog) {
  TComponentWatch button(Button);
  if (!Dialog) {
    Dialog = MakeDialog();
    PreviousOnDestroy = Dialog->OnDestroy;
    Dialog->OnDestroy = [&Dialog, &PreviousOnDestroy](TObject* Sender) {
      if (PreviousOnDestroy) PreviousOnDestroy(Sender);
      Dialog = nullptr;
    };
  }
  // Freed here unless it went meanwhile; its OnDestroy tells the button, if any.
  TModalDialog<D> run(Dialog);
  return run.Run() && button;
}
