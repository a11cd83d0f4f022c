// The dialog a sample button opens (the pen and gradient buttons): made on the click,
// its OnDestroy chained so that the button forgets it however it is freed, shown
// modally, then freed.
#pragma once
#include "platform/forms.h"

// True on OK. Dialog and PreviousOnDestroy are the button's own fields.
template <class D, class Make>
bool RunButtonDialog(D*& Dialog, TNotifyEvent& PreviousOnDestroy, Make MakeDialog) {
  if (!Dialog) {
    Dialog = MakeDialog();
    PreviousOnDestroy = Dialog->OnDestroy;
    Dialog->OnDestroy = [&Dialog, &PreviousOnDestroy](TObject* Sender) {
      if (PreviousOnDestroy) PreviousOnDestroy(Sender);
      Dialog = nullptr;
    };
  }
  const bool ok = Dialog->ShowModal() == mrOk;
  delete Dialog;  // forgets itself through OnDestroy
  return ok;
}
