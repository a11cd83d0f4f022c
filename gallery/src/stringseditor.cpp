#include "gallery/stringseditor.h"

#include <memory>

#include "canvas/lumconst.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "namedfile.h"
#include "platform/clipbrd.h"
#include "platform/textcodec.h"

IMPLEMENT_CLASS(TStringsEditor, TForm)

namespace {

// The lines of a text file, whichever line ends it uses.
void ReadLines(const std::string& FileName, TStrings* Lines) {
  TMemoryStream m;
  m.LoadFromFile(FileName);
  std::string s(m.Bytes().begin(), m.Bytes().end());
  if (s.compare(0, 3, "\xEF\xBB\xBF") == 0) s.erase(0, 3);
  if (!IsValidUtf8(s)) throw EReadError(FileName + ": not a UTF-8 text file");
  Lines->BeginUpdate();
  Lines->Clear();
  size_t start = 0;
  while (start < s.size()) {
    const size_t end = s.find_first_of("\r\n", start);
    Lines->Add(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n' ? 2 : 1);
  }
  Lines->EndUpdate();
}

}  // namespace

TStringsEditor::TStringsEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupEditorForm(this, "StringsEditor", "Text Editor", 482, 376);
  SetKeyPreview(true);
  Panel1 = PlaceControl<TPanel>(this, this, "Panel1", 0, 335, 482, 41);
  Panel1->SetAlign(alBottom);
  Panel1->SetBevelOuter(bvNone);
  Memo1 = PlaceControl<TMemo>(this, this, "Memo1", 0, 0, 482, 335);
  Memo1->SetAlign(alClient);
  Memo1->SetScrollBars(ssBoth);
  Memo1->SetWordWrap(false);
  Button3 = PlaceControl<TButton>(this, Panel1, "Button3", 8, 8, 75, 25, "&Copy");
  Button4 = PlaceControl<TButton>(this, Panel1, "Button4", 90, 8, 75, 25, "&Load..");
  Button5 = PlaceControl<TButton>(this, Panel1, "Button5", 172, 8, 75, 25, "&Save...");
  Button1 = PlaceControl<TButton>(this, Panel1, "Button1", 318, 8, 75, 25, "OK");
  Button1->SetModalResult(mrOk);
  Button2 = PlaceControl<TButton>(this, Panel1, "Button2", 400, 8, 75, 25, "Cancel");
  Button2->SetModalResult(mrCancel);
  Button2->SetDefault(true);
  Button2->SetCancel(true);

  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  for (TOpenDialog* d : {static_cast<TOpenDialog*>(OpenDialog1), static_cast<TOpenDialog*>(SaveDialog1)}) {
    d->SetDefaultExt("txt");
    d->SetFilter(LumMsg_TextFile + "|*.txt");
  }
  OpenDialog1->SetTitle(LumMsg_SelectTextFile);
  SaveDialog1->SetTitle(LumMsg_SaveAsText);

  Button3->OnClick = HANDLER(Button3Click);
  Button4->OnClick = HANDLER(Button4Click);
  Button5->OnClick = HANDLER(Button5Click);
  OnKeyDown = HANDLER(FormKeyDown);
}

void TStringsEditor::Button3Click(TObject*) {
  const std::string selected = Memo1->SelText();
  Clipboard()->SetAsText(selected.empty() ? Memo1->Text() : selected);
}

void TStringsEditor::Button4Click(TObject*) {
  if (!OpenDialog1->Execute()) return;
  // Read whole first: a file that fails leaves the memo as it was.
  TStringList lines;
  ReadLines(OpenDialog1->FileName(), &lines);
  Memo1->Lines()->Assign(&lines);
}

void TStringsEditor::Button5Click(TObject*) {
  if (!SaveDialog1->Execute()) return;
  std::string text;
  for (int i = 0; i < Memo1->Lines()->Count(); ++i) text += Memo1->Lines()->Strings(i) + "\r\n";
  SaveNamedFile(SaveDialog1->FileName(), [&](TStream* s) { s->WriteBuffer(text.data(), std::int64_t(text.size())); });
}

void TStringsEditor::FormKeyDown(TObject*, std::uint16_t& Key, TShiftState) {
  if (Key != VK_ESCAPE) return;
  Key = 0;
  SetModalResult(mrCancel);
}

namespace {
template <class Fill, class Take>
bool RunTextEditor(TComponent* Owner, bool ReadOnly, bool Centre, Fill&& fill, Take&& take) {
  TModalDialog<TStringsEditor> editor(new TStringsEditor(Owner));
  if (Centre) CenterEditorDialog(editor.Get());
  fill(editor->Memo1);
  editor->Memo1->SetReadOnly(ReadOnly);
  TranslateControl(editor.Get());
  const bool ok = editor.Run();
  if (ok && !ReadOnly) take(editor->Memo1);
  return ok;
}
}  // namespace

bool EditText(TComponent* Owner, std::string& Text, bool ReadOnly) {
  return RunTextEditor(
      Owner, ReadOnly, Owner != nullptr, [&](TMemo* m) { m->SetText(Text); }, [&](TMemo* m) { Text = m->Text(); });
}

bool EditStringList(TComponent* Owner, TStrings* Lines, bool ReadOnly) {
  return RunTextEditor(
      Owner, ReadOnly, !Owner || !Owner->Owner(), [&](TMemo* m) { m->Lines()->Assign(Lines); },
      [&](TMemo* m) { Lines->Assign(m->Lines()); });
}
