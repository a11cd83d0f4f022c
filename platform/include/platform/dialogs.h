// Message boxes, the shell and the common dialogs.
#pragma once
#include <memory>
#include <string>

#include "platform/graphic.h"
#include "platform/graphics.h"

// A modal box with the text and an OK button, titled with the application's title;
// it runs the message loop while it waits, so a running animation goes on behind it.
// On the offscreen platform (tests, headless tools) nobody could answer it: the text
// is recorded (platform/testing.h) and written on standard error, and it returns at once.
void ShowMessage(const std::string& Msg);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;

// "open" hands File to the desktop's opener (xdg-open); Parameters are not passed on,
// Directory is used as its working folder when it exists. The opener's verdict is
// awaited for up to ShellOpenWaitMs: one that cannot be started or ends with a
// failure (no program for the file) answers 31; one still running then is showing
// the file and goes on by itself. Messages are delivered while it waits. Answers a number above 32 when the file was
// opened, else an error number at most 32: 2 when File does not exist (a web or
// mail address, "scheme://..." or "mailto:...", is opened as it is), 31 for
// another operation or when no program could open it.
// On the offscreen platform nothing is started: the call is recorded instead
// (platform/testing.h names an opener for tests that need one).
constexpr int ShellOpenWaitMs = 1500;
int ShellExecute(THandle Window, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int ShowCmd);
// Whether the desktop has a program that opens files with this extension (without the
// dot), by the file type the extension stands for (xdg-mime). On the offscreen platform
// the test answers (platform/testing.h).
bool ShellCanOpenExtension(const std::string& Extension);
// The application's help for a help context. The program's help is one file that its
// main window opens itself; no help is indexed by context, so nothing opens and the
// answer is false. On the offscreen platform the call is recorded (platform/testing.h).
bool HelpContext(int Context);
inline int ShellExecuteA(THandle Window, const std::string& Operation, const std::string& File,
                         const std::string& Parameters, const std::string& Directory, int ShowCmd) {
  return ShellExecute(Window, Operation, File, Parameters, Directory, ShowCmd);
}

// ---------------------------------------------------------------------------
// Message boxes with a choice, the input query and the common dialogs.
//
// Each is modal and runs the message loop while it waits, parented to the active
// form: freeing that form ends the dialog as Cancel. On the offscreen platform
// nothing is shown: each takes the answer a test queued (platform/testing.h), and
// without one is cancelled; either way what was asked is recorded.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1u << 0, mbNo = 1u << 1, mbOK = 1u << 2, mbCancel = 1u << 3, mbAbort = 1u << 4,
                         mbRetry = 1u << 5, mbIgnore = 1u << 6, mbAll = 1u << 7, mbNoToAll = 1u << 8,
                         mbYesToAll = 1u << 9, mbHelp = 1u << 10;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// A box titled "Warning", "Error", "Information", "Confirm" (or the application's
// title) with the message and the buttons; answers the modal result of the button
// pressed (mrYes, mrNo, mrOk, mrCancel, ...), mrCancel when the box was closed.
// The help button and help context do nothing: the program's help is its help file.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The same box with its top-left corner at the screen point (X, Y); -1 for either
// leaves that coordinate to the desktop.
int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);

// A box titled ACaption asking for one line of text after APrompt, starting with
// Value. OK answers true with Value the text entered; Cancel answers false and
// leaves Value alone.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);

// The base of the common dialogs: Execute shows the dialog and answers true when
// the user accepted it.
class TCommonDialog : public TComponent {
  DECLARE_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual bool Execute() { return false; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }

  static void DefineProperties(TPropertyTable& t);

private:
  int helpContext_ = 0;
};

// Picks a colour, starting from Color.
class TColorDialog : public TCommonDialog {
  DECLARE_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  TColor Color() const { return color_; }
  void SetColor(TColor Value) { color_ = Value; }
  bool Execute() override;

  static void DefineProperties(TPropertyTable& t);

private:
  TColor color_ = clBlack;
};

// Picks a font (name, size and style; the colour is kept), starting from Font.
class TFontDialog : public TCommonDialog {
  DECLARE_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  bool Execute() override;

  static void DefineProperties(TPropertyTable& t);

private:
  std::unique_ptr<TFont> font_;
};

// Options of the open and save dialogs, one bit each.
using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 1u << 0, ofOverwritePrompt = 1u << 1, ofHideReadOnly = 1u << 2,
                       ofNoChangeDir = 1u << 3, ofShowHelp = 1u << 4, ofNoValidate = 1u << 5,
                       ofAllowMultiSelect = 1u << 6, ofExtensionDifferent = 1u << 7, ofPathMustExist = 1u << 8,
                       ofFileMustExist = 1u << 9, ofEnableSizing = 1u << 10;

// Picks a file to open. Filter is "description|patterns|description|patterns|..."
// (patterns separated by ';'); FilterIndex is 1-based and is read back after
// Execute. With ofFileMustExist a name of no existing file is refused and the
// dialog stays open.
class TOpenDialog : public TCommonDialog {
  DECLARE_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& Value) { fileName_ = Value; }
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& Value) { filter_ = Value; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int Value) { filterIndex_ = Value; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& Value) { defaultExt_ = Value; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& Value) { initialDir_ = Value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions Value) { options_ = Value; }
  bool Execute() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  virtual bool Saving() const { return false; }

private:
  std::string fileName_, filter_, defaultExt_, initialDir_, title_;
  int filterIndex_ = 1;
  TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

// Picks a file to save: a name typed without extension gets DefaultExt; with
// ofOverwritePrompt an existing file is replaced only after a Yes to
// "<name> already exists.\nDo you want to replace it?" (No returns to the dialog).
class TSaveDialog : public TOpenDialog {
  DECLARE_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
  bool Saving() const override { return true; }
};

// An open dialog whose filter is the picture-format registry's, as it is when the
// dialog is made.
class TOpenPictureDialog : public TOpenDialog {
  DECLARE_CLASS(TOpenPictureDialog, TOpenDialog)
public:
  explicit TOpenPictureDialog(TComponent* AOwner);
};
