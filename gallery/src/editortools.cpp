#include "gallery/editortools.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "canvas/buttons.h"
#include "canvas/lumconst.h"
#include "platform/dialogs.h"
#include "platform/rtl.h"

void RegisterGalleryResources();

void CenterEditorDialog(TForm* Form) {
  Form->SetPosition(Form->Owner() ? poOwnerFormCenter : poScreenCenter);
}

TComponent* OwningForm(TComponent* Component) {
  auto* control = dynamic_cast<TControl*>(Component);
  if (!control) return Component;
  TForm* form = GetParentForm(control);
  return form ? static_cast<TComponent*>(form) : Component;
}

TForm* CreateEditorDialog(TClass FormClass, TControl* Control) {
  TObject* made = FormClass && FormClass->Create ? FormClass->Create(OwningForm(Control)) : nullptr;
  auto* form = dynamic_cast<TForm*>(made);
  if (!form) {
    delete made;
    throw EInvalidOperation(Format("%s is not a form", FormClass ? FormClass->Name : std::string("nil")));
  }
  form->SetAlign(alNone);
  CenterEditorDialog(form);
  form->SetBorderStyle(bsDialog);
  return form;
}

void EndModalDialogs(TComponent* Component) {
  std::vector<std::unique_ptr<TComponentWatch>> running;
  auto collect = [&](TComponent* Owner) {
    for (int i = 0; i < Owner->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TForm*>(Owner->Components(i)); f && f->Modal())
        running.push_back(std::make_unique<TComponentWatch>(f));
  };
  if (!Component) return;
  collect(Component);
  if (TComponent* form = OwningForm(Component); form != Component) collect(form);
  // The last opened first; one freed with another is skipped.
  for (auto i = running.rbegin(); i != running.rend(); ++i) delete (*i)->Get();
}

void LinkButtonTo(TLumButton* Button, TPersistent* Instance) {
  Button->LinkProperty(Instance, "");
  Button->Invalidate();
}

void SetControlsVisible(bool Visible, std::initializer_list<TControl*> Controls) {
  for (TControl* c : Controls) c->SetVisible(Visible);
}

bool ConfirmYesNo(const std::string& Message, TControl* Control) {
  Screen->SetCursor(crDefault);
  int x = -1, y = -1;
  if (Control) {
    const TPoint p = Control->ClientToScreen(TPoint{0, 0});
    x = p.X + 20;
    y = p.Y + 30;
  }
  return MessageDlgPos(Message, mtConfirmation, mbYes | mbNo, 0, x, y) == mrYes;
}

bool ConfirmDelete(const std::string& ItemName, TControl* Control) {
  return ConfirmYesNo(Format(LumMsg_ConfirmDelete, ItemName), Control);
}

void InsertEditorForm(TForm* Form, TWinControl* Parent, std::intptr_t Tag) {
  Form->SetParentColor(true);
  Form->SetPosition(poDesigned);
  Form->SetBorderStyle(bsNone);
  Form->SetBorderIcons(0);
  Form->SetTag(Tag);
  Form->SetParent(Parent);
  const bool wasVisible = Parent->Visible();
  Parent->SetVisible(true);
  Form->SetLeft(4);
  Form->SetTop(std::min(4, std::abs(Parent->ClientHeight() - Form->ClientHeight()) / 2));
  ScaleToParentForm(Form);
  // A form that keeps ParentFont follows the parent's font by itself.
  Form->Show();
  Form->BringToFront();
  Parent->SetVisible(wasVisible);
}

TForm* ParentFormOf(TControl* Control) {
  for (TWinControl* p = Control ? Control->Parent() : nullptr; p; p = p->Parent())
    if (auto* f = dynamic_cast<TForm*>(p)) return f;
  return nullptr;
}

void ScaleToParentForm(TForm* Form) {
  TForm* parent = ParentFormOf(Form);
  if (!parent || parent->PixelsPerInch() == Form->PixelsPerInch()) return;
  Form->ScaleBy(parent->PixelsPerInch(), Form->PixelsPerInch());
  Form->SetPixelsPerInch(parent->PixelsPerInch());
}

void AddNumericFormats(TStrings* Items) {
  Items->Add(LumMsg_DefaultNumberFormat);
  for (const char* f : {"0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0", "#.# x10E-#"})
    Items->Add(f);
}

void EnsureGalleryResources() {
  static const bool registered = (RegisterGalleryResources(), true);
  (void)registered;
}

namespace {
template <class B>
void LoadGlyphs(B* Up, B* Down) {
  EnsureGalleryResources();
  TBitmap bmp;
  bmp.LoadFromResourceName("LumArrowUp");
  Up->SetGlyph(&bmp);
  bmp.LoadFromResourceName("LumArrowDown");
  Down->SetGlyph(&bmp);
}
}  // namespace

void LoadArrowGlyphs(TSpeedButton* Up, TSpeedButton* Down) { LoadGlyphs(Up, Down); }
void LoadArrowGlyphs(TBitBtn* Up, TBitBtn* Down) { LoadGlyphs(Up, Down); }

void MoveSelectedItems(TCustomListBox* Source, TCustomListBox* Dest) {
  TStrings* from = Source->Items();
  std::vector<int> picked;
  for (int i = 0; i < from->Count(); ++i)
    if (Source->Selected(i)) picked.push_back(i);
  Dest->Items()->BeginUpdate();
  for (int i : picked) Dest->Items()->AddObject(from->Strings(i), from->Objects(i));
  Dest->Items()->EndUpdate();
  from->BeginUpdate();
  for (auto i = picked.rbegin(); i != picked.rend(); ++i) from->Delete(*i);
  from->EndUpdate();
}

void MoveAllItems(TStrings* Source, TStrings* Dest) {
  Dest->BeginUpdate();
  for (int i = 0; i < Source->Count(); ++i) Dest->AddObject(Source->Strings(i), Source->Objects(i));
  Dest->EndUpdate();
  Source->Clear();
}

void SetupEditorForm(TForm* Form, const std::string& Name, const std::string& Caption, int ClientWidth,
                     int ClientHeight) {
  Form->SetName(Name);
  Form->SetCaption(Caption);
  Form->SetColor(clBtnFace);
  Form->Font()->SetName("MS Sans Serif");
  Form->Font()->SetHeight(-11);
  Form->SetClientWidth(ClientWidth);
  Form->SetClientHeight(ClientHeight);
}

TLabel* PlaceLabel(TComponent* Owner, TWinControl* Parent, const std::string& Name, int Left, int Top,
                   const std::string& Caption, TWinControl* Focus) {
  auto* l = PlaceControl<TLabel>(Owner, Parent, Name, Left, Top, 0, 0, Caption);
  if (Focus) l->SetFocusControl(Focus);
  return l;
}

TUpDown* PlaceUpDown(TComponent* Owner, TEdit* Edit, const std::string& Name, int Min, int Max) {
  auto* ud = new TUpDown(Owner);
  ud->SetName(Name);
  ud->SetParent(Edit->Parent());
  ud->SetBounds(Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetThousands(false);
  ud->SetAssociate(Edit);
  return ud;
}

namespace {

TComponent* FindOwned(TComponent* Root, const std::function<bool(TComponent*)>& Pick, int Depth = 0) {
  if (!Root || Depth > 8) return nullptr;
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    if (Pick(c)) return c;
    if (TComponent* found = FindOwned(c, Pick, Depth + 1)) return found;
  }
  return nullptr;
}

}  // namespace

TComponent* FindReachableComponent(TComponent* Form, const std::function<bool(TComponent*)>& Pick) {
  if (!Form) return nullptr;
  std::vector<TComponent*> roots{Application};
  for (TComponent* o = Form->Owner(); o && roots.size() < 64; o = o->Owner()) roots.push_back(o);
  for (TComponent* root : roots) {
    if (root && Pick(root)) return root;
    if (TComponent* found = FindOwned(root, Pick)) return found;
  }
  return nullptr;
}
