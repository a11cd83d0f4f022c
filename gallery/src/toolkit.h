// The editor-form toolkit, or stand-ins until it is in the tree.
#pragma once
#if __has_include("gallery/editortools.h")
#include "gallery/editortools.h"
#else
#include "platform/forms.h"
#include "platform/stdctrls.h"
inline void CenterEditorDialog(TForm* Form) { Form->SetPosition(poScreenCenter); }
inline void InsertEditorForm(TForm* Form, TWinControl* Parent, std::intptr_t Tag) {
  Form->SetTag(Tag);
  Form->SetBorderStyle(bsNone);
  Form->SetParent(Parent);
  Form->SetBounds(4, 4, Form->Width(), Form->Height());
  Form->Show();
}
inline void AddNumericFormats(TStrings* Items) { Items->Add("#,##0.###"); }
inline void LoadArrowGlyphs(TSpeedButton* Up, TSpeedButton* Down) { Up->SetCaption("^"); Down->SetCaption("v"); }
#endif
