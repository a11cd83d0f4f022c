// The text editor dialog ("Text Editor"): a multi-line text in a memo, to edit or
// just read, with Copy, Load and Save. Load reads UTF-8 text with LF, CR LF or CR
// line ends; Save writes CR LF lines and replaces the file only once it is whole.
#pragma once
#include <string>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/stdctrls.h"

class TStringsEditor : public TForm {
  DECLARE_CLASS(TStringsEditor, TForm)
public:
  explicit TStringsEditor(TComponent* AOwner);

  TMemo* Memo1;
  TPanel* Panel1;
  TButton* Button3;
  TButton* Button4;
  TButton* Button5;
  TButton* Button1;
  TButton* Button2;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void Button5Click(TObject* Sender);
  void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
};

// Shows Text in the dialog (read-only as asked); true on OK, when Text (unless
// ReadOnly) takes the memo's text.
bool EditText(TComponent* Owner, std::string& Text, bool ReadOnly);
// The same for a list of lines.
bool EditStringList(TComponent* Owner, TStrings* Lines, bool ReadOnly);
