// Builder helpers shared by the editor forms of this module: every control gets its
// name, parent and bounds in one call, in creation (tab) order.
#pragma once
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/stdctrls.h"

namespace formbuild {

template <class T>
T* Place(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T_, int W, int H) {
  T* c = new T(Owner);
  c->SetName(Name);
  c->SetParent(Parent);
  c->SetBounds(L, T_, W, H);
  return c;
}

template <class T>
T* Captioned(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T_, int W, int H,
             const std::string& Caption) {
  T* c = Place<T>(Owner, Parent, Name, L, T_, W, H);
  c->SetCaption(Caption);
  return c;
}

// A dialog form: classic 8-point font, button-face colour, fixed border, the client
// size it was laid out for at 96 pixels per inch.
inline void SetupDialog(TForm* Form, const char* Name, const std::string& Caption, int ClientW, int ClientH,
                        TFormBorderStyle Border = bsDialog) {
  Form->SetName(Name);
  Form->SetCaption(Caption);
  Form->SetColor(clBtnFace);
  Form->Font()->SetName("MS Sans Serif");
  Form->Font()->SetHeight(-11);
  Form->SetBorderStyle(Border);
  Form->SetPixelsPerInch(96);
  Form->SetClientWidth(ClientW);
  Form->SetClientHeight(ClientH);
}

// A label with its caption focusing Edit, and the edit with its up-down beside it
// (the up-down takes its place against the edit).
struct TEditUpDown {
  TLabel* Label;
  TEdit* Edit;
  TUpDown* UpDown;
};
inline TEditUpDown EditWithUpDown(TComponent* Owner, TWinControl* Parent, const char* LabelName,
                                  const std::string& Caption, const char* EditName, const char* UpDownName,
                                  int LabelLeft, int EditLeft, int Top, int EditWidth, int Min, int Max) {
  TLabel* l = Captioned<TLabel>(Owner, Parent, LabelName, LabelLeft, Top + 4, 0, 0, Caption);
  TEdit* e = Place<TEdit>(Owner, Parent, EditName, EditLeft, Top, EditWidth, 21);
  l->SetFocusControl(e);
  TUpDown* u = Place<TUpDown>(Owner, Parent, UpDownName, EditLeft + EditWidth, Top, 15, 21);
  u->SetMin(Min);
  u->SetMax(Max);
  u->SetThousands(false);
  u->SetAssociate(e);
  u->SetPosition(0);
  return {l, e, u};
}

// Rows of EditWithUpDown 28 pixels apart, each named {label, caption, edit, up-down}.
inline std::vector<TEditUpDown> EditUpDownRows(TComponent* Owner, TWinControl* Parent,
                                               std::initializer_list<std::array<const char*, 4>> Rows,
                                               int LabelLeft, int EditLeft, int Top, int EditWidth, int Min, int Max) {
  std::vector<TEditUpDown> r;
  for (const auto& n : Rows)
    r.push_back(EditWithUpDown(Owner, Parent, n[0], n[1], n[2], n[3], LabelLeft, EditLeft, Top + 28 * int(r.size()),
                               EditWidth, Min, Max));
  return r;
}

}  // namespace formbuild
