// Builder helpers of the editor forms, over the toolkit's placing routines: the form
// set-up with its border, labelled edits with up-downs, the OK/Cancel panel, tab
// pages, plain panels and drop-down lists.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "gallery/editortools.h"
#include "platform/stdctrls.h"

namespace formbuild {

// An editor form with its border.
inline void SetupDialog(TForm* Form, const char* Name, const std::string& Caption, int ClientW, int ClientH,
                        TFormBorderStyle Border = bsDialog) {
  Form->SetBorderStyle(Border);
  SetupEditorForm(Form, Name, Caption, ClientW, ClientH);
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
  TEdit* e = PlaceControl<TEdit>(Owner, Parent, EditName, EditLeft, Top, EditWidth, 21);
  TUpDown* u = PlaceUpDown(Owner, e, UpDownName, Min, Max);
  u->SetPosition(0);
  return {PlaceLabel(Owner, Parent, LabelName, LabelLeft, Top + 4, Caption, e), e, u};
}

// A panel along the form's bottom, without bevel, holding OK (default) and Cancel
// (cancel) with their modal results at its right end.
struct TOkCancel {
  TPanel* Panel;
  TButton* Ok;
  TButton* Cancel;
};
inline TOkCancel OkCancelPanel(TForm* Form, const char* PanelName, const char* OkName, const char* CancelName,
                               int Height, int ButtonTop) {
  const int w = Form->ClientWidth();
  auto* panel = PlaceControl<TPanel>(Form, Form, PanelName, 0, Form->ClientHeight() - Height, w, Height);
  panel->SetAlign(alBottom);
  panel->SetBevelOuter(bvNone);
  auto* ok = PlaceControl<TButton>(Form, panel, OkName, w - 164, ButtonTop, 75, 25, "OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = PlaceControl<TButton>(Form, panel, CancelName, w - 83, ButtonTop, 75, 25, "Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  return {panel, ok, cancel};
}

// A panel without bevels, aligned (alNone: left where placed).
inline TPanel* PlainPanel(TComponent* Owner, TWinControl* Parent, const char* Name, TAlign Align, int Left, int Top,
                          int Width, int Height) {
  auto* p = PlaceControl<TPanel>(Owner, Parent, Name, Left, Top, Width, Height);
  p->SetAlign(Align);
  p->SetBevelOuter(bvNone);
  return p;
}

// A check box of the usual height.
inline TCheckBox* CheckBox(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width,
                           const char* Caption) {
  return PlaceControl<TCheckBox>(Owner, Parent, Name, Left, Top, Width, 17, Caption);
}

// A flat combo whose text is always one of its items.
inline TComboFlat* DropDownList(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                                int Width, std::initializer_list<const char*> Items = {}) {
  auto* c = PlaceControl<TComboFlat>(Owner, Parent, Name, Left, Top, Width, 21);
  c->SetStyle(csDropDownList);
  for (const char* i : Items) c->Items()->Add(i);
  return c;
}

// A page control filling its parent (the pages of the chart editor track the hot tab).
inline TPageControl* ClientPages(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top,
                                 int Width, int Height, bool HotTrack = false) {
  auto* p = PlaceControl<TPageControl>(Owner, Parent, Name, Left, Top, Width, Height);
  p->SetAlign(alClient);
  if (HotTrack) p->SetHotTrack(true);
  return p;
}

// A page of Pages: the page control gives it its bounds.
inline TTabSheet* Sheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* s = new TTabSheet(Owner);
  s->SetName(Name);
  s->SetCaption(Caption);
  s->SetPageControl(Pages);
  return s;
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

// The component a form's Tag names, only when the form's owners (at every level) or
// the application reach it through the components they own: a stray number is never
// followed.
inline TComponent* ComponentFromTag(TComponent* Form, std::intptr_t Tag) {
  if (!Tag) return nullptr;
  const auto* wanted = reinterpret_cast<const TComponent*>(Tag);
  return FindReachableComponent(Form, [wanted](TComponent* c) { return c == wanted; });
}

}  // namespace formbuild
