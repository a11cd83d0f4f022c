// The margins editor (embedded as a page) and the visuals editor.
#pragma once
#include "engine/marks.h"
#include "engine/visuals.h"
#include "platform/stdctrls.h"

class TMarginsEditor : public TForm {
  DECLARE_CLASS(TMarginsEditor, TForm)
public:
  explicit TMarginsEditor(TComponent* AOwner);

  TLabel* LLeft;
  TEdit* ELeft;
  TUpDown* UDLeft;
  TLabel* LTop;
  TEdit* ETop;
  TUpDown* UDTop;
  TLabel* LRight;
  TEdit* ERight;
  TUpDown* UDRight;
  TLabel* LBottom;
  TEdit* EBottom;
  TUpDown* UDBottom;
  TRadioGroup* RGUnits;

  TMargins* Margins() const { return margins_; }
  // Edits Value (not owned) from now on and shows it.
  void LoadMargins(TMargins* Value);

  void FormShow(TObject* Sender);
  void MarginChange(TObject* Sender);
  void RGUnitsClick(TObject* Sender);

private:
  TMargins* margins_ = nullptr;
  bool showing_ = false;
};

class TVisualsEditor;
// Asked for a new visual for the holder's owner (the current one given); nullptr: none.
using TVisualChooserHook = TPersistent* (*)(TVisualsEditor* Editor, TComponent* Owner, TPersistent* Current);
// Both unset in this program: the editor then only clears.
extern TVisualChooserHook VisualChooserHook;
extern TClass VisualEditorClass;

// Edits the holder given as Tag: choose a visual, clear it, and the visual's own
// editor inside.
class TVisualsEditor : public TForm {
  DECLARE_CLASS(TVisualsEditor, TForm)
public:
  explicit TVisualsEditor(TComponent* AOwner);

  TPanel* Panel1;
  TButton* Button3;
  TButton* BClearVisual;

  TVisualsHolder* Holder() const { return holder_; }
  TForm* VisualEditor() const { return visualEditor_; }
  // After the visual was replaced or cleared.
  TNotifyEvent OnChange;

  void RefreshVisual();
  void FormShow(TObject* Sender);
  void Button3Click(TObject* Sender);
  void BClearVisualClick(TObject* Sender);

private:
  void Changed();
  TVisualsHolder* holder_ = nullptr;
  TForm* visualEditor_ = nullptr;
};

bool EditVisuals(TComponent* AOwner, TVisualsHolder* Holder);
