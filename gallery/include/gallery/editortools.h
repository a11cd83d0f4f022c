// The toolkit every property dialog and editor page is built on: creating a dialog
// over the control that asked for it, embedding an editor form without border in a
// tab sheet or panel, rescaling it to the form it lands on, the shared Yes/No
// confirmation, the standard number formats, the arrow glyphs and list moves.
//
// A dialog is used modally through an edit routine named after the edited object
// (true on OK), or embedded: the caller hides its OK/Cancel area, hands it the
// object and calls EmbedEditorForm; every control change then goes to the object.
#pragma once
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/compwatch.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TLumButton;

// Position: the owner form's centre when the form has an owner, else the screen's.
void CenterEditorDialog(TForm* Form);
// A control's form (the control itself when it sits on none); anything else as given.
TComponent* OwningForm(TComponent* Component);
// Creates a FormClass form owned by OwningForm(Control), not aligned, centred, with a
// dialog border. EInvalidOperation when the class makes no form.
TForm* CreateEditorDialog(TClass FormClass, TControl* Control);
template <class F>
F* CreateEditorDialog(TControl* Control) {
  return static_cast<F*>(CreateEditorDialog(F::StaticClass(), Control));
}
// A dialog an edit routine shows modally: freed when the routine ends, unless it was
// freed meanwhile (with its owner, or by a page whose object went), which ended its
// run as Cancel; the routine then touches it no more.
template <class F>
class TModalDialog {
public:
  explicit TModalDialog(F* Dialog) : ref_(Dialog) {}
  ~TModalDialog() { delete ref_.Get(); }
  TModalDialog(const TModalDialog&) = delete;
  TModalDialog& operator=(const TModalDialog&) = delete;
  F* Get() const { return ref_.Get(); }
  F* operator->() const { return ref_.Get(); }
  explicit operator bool() const { return ref_.Get() != nullptr; }
  // True when the run ended with OK and the dialog is still there to be read.
  bool Run() { return ref_->ShowModal() == mrOk && ref_; }

private:
  TComponentRef<F> ref_;
};
// Frees the dialogs running modally over Component: those owned by it or by its form
// (what an edit routine opened from it, and with them their own), which ends each run
// as Cancel. A page calls it when what those dialogs edit is freed, so that none of
// them reaches it again.
void EndModalDialogs(TComponent* Component);
// Links the button to the object itself (no property name) and repaints it.
void LinkButtonTo(TLumButton* Button, TPersistent* Instance);
void SetControlsVisible(bool Visible, std::initializer_list<TControl*> Controls);
// A Yes/No confirmation with the default cursor; with a control, its top-left corner
// is the control's client origin on the screen plus (20, 30). True on Yes.
bool ConfirmYesNo(const std::string& Message, TControl* Control = nullptr);
// "Delete <name> ?"
bool ConfirmDelete(const std::string& ItemName, TControl* Control = nullptr);
// Makes Form a borderless child of Parent (a tab sheet or panel), 4 pixels from its
// left, at most 4 from its top (less when the heights differ by less than 8, so the
// form sits centred), scaled to the parent's form, and shows it.
void InsertEditorForm(TForm* Form, TWinControl* Parent, std::intptr_t Tag);
inline void EmbedEditorForm(TForm* Form, TWinControl* Parent) { InsertEditorForm(Form, Parent, 0); }
inline void EmbedEditorFormWithTag(TForm* Form, TWinControl* Parent, std::intptr_t Tag) {
  InsertEditorForm(Form, Parent, Tag);
}
// The first form up the parent chain from the control's parent; nullptr when none.
TForm* ParentFormOf(TControl* Control);
// Scales the form to its parent form's pixels per inch when they differ.
void ScaleToParentForm(TForm* Form);
// The hourglass while a long step runs, the previous cursor back however it ends.
struct THourGlass {
  TCursor saved = Screen ? Screen->Cursor() : crDefault;
  THourGlass() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(saved);
  }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;
};
// The standard number formats, the default first.
void AddNumericFormats(TStrings* Items);
// The up and down arrow glyphs into the two buttons.
void LoadArrowGlyphs(TSpeedButton* Up, TSpeedButton* Down);
void LoadArrowGlyphs(TBitBtn* Up, TBitBtn* Down);
// Registers the gallery library's bitmaps (arrows, series and tool glyphs) once.
void EnsureGalleryResources();
// Appends the selected items of Source (texts and objects, in order) to Dest and
// deletes them from Source.
void MoveSelectedItems(TCustomListBox* Source, TCustomListBox* Dest);
// Appends every item of Source to Dest, then clears Source.
void MoveAllItems(TStrings* Source, TStrings* Dest);
// The first component Pick accepts among those the form's owners (or the
// application) own, at any depth, the owners included; nullptr when none. What a
// form's Tag names is looked up so (formbuild::ComponentFromTag).
TComponent* FindReachableComponent(TComponent* Form, const std::function<bool(TComponent*)>& Pick);

// ---- Building editor forms ----------------------------------------------------
// The common look of the editor forms: button-face colour, 8-point "MS Sans Serif",
// the given name, caption and client size at 96 pixels per inch.
void SetupEditorForm(TForm* Form, const std::string& Name, const std::string& Caption, int ClientWidth,
                     int ClientHeight);
// Creates a named control owned by Owner inside Parent at the given bounds.
template <class T>
T* PlaceControl(TComponent* Owner, TWinControl* Parent, const std::string& Name, int Left, int Top, int Width,
                int Height, const std::string& Caption = {}) {
  auto* c = new T(Owner);
  c->SetName(Name);
  c->SetBounds(Left, Top, Width, Height);
  if (!Caption.empty()) c->SetCaption(Caption);
  c->SetParent(Parent);
  return c;
}
// A label whose accelerator focuses Focus.
TLabel* PlaceLabel(TComponent* Owner, TWinControl* Parent, const std::string& Name, int Left, int Top,
                   const std::string& Caption, TWinControl* Focus = nullptr);
// An edit with its up-down: two named controls; the up-down takes the right end of
// the edit's width and shows Min..Max in it.
TUpDown* PlaceUpDown(TComponent* Owner, TEdit* Edit, const std::string& Name, int Min, int Max);
