// MessageDlg, InputQuery and the common dialogs: Qt's dialogs on a desktop, the
// test's queued answers on the offscreen platform.
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "dialogs_impl.h"
#include "forms_impl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/testing.h"
#include "platform/typinfo.h"

using namespace dialogs_detail;
using namespace forms_detail;

namespace {

QString QStr(const std::string& S) { return QString::fromStdString(S); }

// Runs a heap-made dialog modally and frees it; Accepted runs while it is still
// there. The dialog is a child of the active window, so freeing that window's form
// frees the dialog: exec then returns and the run counts as cancelled. Answers
// whether it was accepted.
template <class D, class F>
bool RunDialog(D* Dialog, F&& Accepted) {
  QPointer<D> d = Dialog;
  const int r = d->exec();
  if (!d) return false;
  const bool ok = r == QDialog::Accepted;
  if (ok) Accepted(d.data());
  delete d.data();
  return ok;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

struct TButtonInfo {
  TMsgDlgButtons Bit;
  const char* Caption;
  int Result;
};

const std::vector<TButtonInfo>& ButtonInfos() {
  static const std::vector<TButtonInfo> infos = {
      {mbYes, "&Yes", mrYes},         {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
      {mbCancel, "Cancel", mrCancel}, {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
      {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll},      {mbNoToAll, "N&o to All", mrNoToAll},
      {mbYesToAll, "Yes to &All", mrYesToAll}, {mbHelp, "&Help", mrNone}};
  return infos;
}

std::string DlgTitle(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return Application ? Application->Title() : std::string();
  }
}

std::string ResultName(int Result) {
  for (const TButtonInfo& b : ButtonInfos())
    if (b.Result == Result && b.Bit != mbHelp) return StripAccelerator(b.Caption);
  return "Cancel";
}

// The filter "d1|p1|d2|p2" as Qt's name filters "d1 (p1)", patterns space-separated.
QStringList NameFilters(const std::string& Filter) {
  QStringList parts = QStr(Filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    QString desc = parts[i];
    out << (desc.endsWith("(" + patterns + ")") || desc.endsWith("(" + parts[i + 1] + ")")
                ? desc.left(desc.lastIndexOf('(')).trimmed() + " (" + patterns + ")"
                : desc + " (" + patterns + ")");
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------
int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
  (void)HelpCtx;
  if (Buttons == 0) Buttons = mbOK;
  const std::string title = DlgTitle(DlgType);
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "MessageDlg";
    asked.Title = title;
    asked.Text = Msg;
    for (const TButtonInfo& b : ButtonInfos())
      if (Buttons & b.Bit) asked.Buttons += (asked.Buttons.empty() ? "" : ",") + StripAccelerator(b.Caption);
    asked.Pos = {X, Y};
    TAnswer a = TakeAnswer(asked.Answered);
    asked.Result = ResultName(a.Result);
    RecordAsked(asked);
    return a.Result;
  }
  static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical, QMessageBox::Information,
                                            QMessageBox::Question, QMessageBox::NoIcon};
  auto* box = new QMessageBox(icons[DlgType], QStr(title), QStr(Msg), QMessageBox::NoButton, DialogParent());
  std::vector<std::pair<QAbstractButton*, int>> results;
  for (const TButtonInfo& b : ButtonInfos()) {
    if (!(Buttons & b.Bit) || b.Bit == mbHelp) continue;  // help does nothing here
    QPushButton* pb = box->addButton(QString(b.Caption), QMessageBox::ActionRole);
    results.emplace_back(pb, b.Result);
  }
  // Enter: OK or Yes; Escape: Cancel, else No, else OK, as classic boxes do.
  auto find = [&](int r) -> QAbstractButton* {
    for (auto& [btn, res] : results)
      if (res == r) return btn;
    return nullptr;
  };
  if (QAbstractButton* d = find(mrOk) ? find(mrOk) : find(mrYes)) box->setDefaultButton(static_cast<QPushButton*>(d));
  box->setEscapeButton(find(mrCancel) ? find(mrCancel) : find(mrNo) ? find(mrNo) : find(mrOk));
  if (X >= 0 || Y >= 0) {
    box->adjustSize();
    box->move(X >= 0 ? X : box->x(), Y >= 0 ? Y : box->y());
  }
  // Buttons of ours answer as rejected; what counts is the button clicked.
  int result = mrCancel;
  QPointer<QMessageBox> guard = box;
  box->exec();
  if (!guard) return mrCancel;
  for (auto& [btn, res] : results)
    if (box->clickedButton() == btn) result = res;
  delete box;
  return result;
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "InputQuery";
    asked.Title = ACaption;
    asked.Text = APrompt;
    TAnswer a = TakeAnswer(asked.Answered);
    const bool ok = a.Result == mrOk;
    asked.Result = ok ? a.Text : "Cancel";
    RecordAsked(asked);
    if (ok) Value = a.Text;
    return ok;
  }
  auto* d = new QInputDialog(DialogParent());
  d->setWindowTitle(QStr(ACaption));
  d->setLabelText(QStr(APrompt));
  d->setTextValue(QStr(Value));
  return RunDialog(d, [&](QInputDialog* D) { Value = D->textValue().toStdString(); });
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TCommonDialog, TComponent)

void TCommonDialog::DefineProperties(TPropertyTable& t) {
  t.Int("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0LL);
}

IMPLEMENT_CLASS_PROPS(TColorDialog, TCommonDialog)

void TColorDialog::DefineProperties(TPropertyTable& t) {
  t.Color("Color", &TColorDialog::Color, &TColorDialog::SetColor).Default((long long)clBlack);
}

bool TColorDialog::Execute() {
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "Color";
    asked.Text = Format("$%.8X", unsigned(color_));
    TAnswer a = TakeAnswer(asked.Answered);
    const bool ok = a.Result == mrOk;
    asked.Result = ok ? Format("$%.8X", unsigned(a.Color)) : "Cancel";
    RecordAsked(asked);
    if (ok) color_ = a.Color;
    return ok;
  }
  auto* d = new QColorDialog(ToQColor(color_), DialogParent());
  return RunDialog(d, [this](QColorDialog* D) {
    const QColor c = D->selectedColor();
    color_ = TColor(c.red() | (c.green() << 8) | (c.blue() << 16));
  });
}

IMPLEMENT_CLASS_PROPS(TFontDialog, TCommonDialog)

void TFontDialog::DefineProperties(TPropertyTable& t) { t.Object("Font", &TFontDialog::Font); }

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), font_(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "Font";
    asked.Text = font_->Name() + "," + IntToStr(font_->Size());
    TAnswer a = TakeAnswer(asked.Answered);
    const bool ok = a.Result == mrOk;
    asked.Result = ok ? a.FontName + "," + IntToStr(a.FontSize) : "Cancel";
    RecordAsked(asked);
    if (ok) {
      font_->SetName(a.FontName);
      if (a.FontSize > 0) font_->SetSize(a.FontSize);
      font_->SetStyle(a.FontStyle);
    }
    return ok;
  }
  auto* d = new QFontDialog(ToQFont(*font_), DialogParent());
  return RunDialog(d, [this](QFontDialog* D) {
    const QFont f = D->selectedFont();
    font_->SetName(f.family().toStdString());
    if (f.pointSize() > 0) font_->SetSize(f.pointSize());
    TFontStyles s = 0;
    if (f.bold()) s |= 1u << fsBold;
    if (f.italic()) s |= 1u << fsItalic;
    if (f.underline()) s |= 1u << fsUnderline;
    if (f.strikeOut()) s |= 1u << fsStrikeOut;
    font_->SetStyle(s);
  });
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TOpenDialog, TCommonDialog)

void TOpenDialog::DefineProperties(TPropertyTable& t) {
  t.Str("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName).Default(std::string());
  t.Str("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter).Default(std::string());
  t.Int("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1LL);
  t.Str("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt).Default(std::string());
  t.Str("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir).Default(std::string());
  t.Str("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle).Default(std::string());
  t.Set("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions,
        {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
         "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofEnableSizing"})
      .Default((long long)(ofHideReadOnly | ofEnableSizing));
}

bool TOpenDialog::Execute() {
  const bool saving = Saving();
  const std::string title = !title_.empty() ? title_ : saving ? "Save As" : "Open";
  if (RecordsInsteadOfShowing()) {
    // As the real dialog: a refused name (missing file, or No to replacing one)
    // keeps it open for the next answer.
    for (;;) {
      TestDialogs::TAsked asked;
      asked.Kind = saving ? "Save" : "Open";
      asked.Title = title;
      asked.Text = fileName_;
      asked.Filter = filter_;
      asked.FilterIndex = filterIndex_;
      asked.DefaultExt = defaultExt_;
      TAnswer a = TakeAnswer(asked.Answered);
      if (a.Result != mrOk) {
        asked.Result = "Cancel";
        RecordAsked(asked);
        return false;
      }
      std::string name = a.Text;
      if (saving && !defaultExt_.empty() && ExtractFileExt(name).empty()) name += "." + defaultExt_;
      asked.Result = name;
      RecordAsked(asked);
      if (!saving && (options_ & ofFileMustExist) && !FileExists(name)) {
        MessageDlg(name + "\nFile not found.\nPlease verify the correct file name was given.", mtWarning, mbOK, 0);
        continue;
      }
      if (saving && (options_ & ofOverwritePrompt) && FileExists(name) &&
          MessageDlg(ExtractFileName(name) + " already exists.\nDo you want to replace it?", mtWarning,
                     mbYes | mbNo, 0) != mrYes)
        continue;
      fileName_ = name;
      if (a.FilterIndex > 0) filterIndex_ = a.FilterIndex;
      return true;
    }
  }
  auto* d = new QFileDialog(DialogParent(), QStr(title));
  d->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d->setFileMode(saving || !(options_ & ofFileMustExist) ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!(options_ & ofOverwritePrompt)) d->setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = NameFilters(filter_);
  if (!filters.isEmpty()) {
    d->setNameFilters(filters);
    d->selectNameFilter(filters[std::clamp(filterIndex_, 1, int(filters.size())) - 1]);
  }
  d->setDefaultSuffix(QStr(defaultExt_));
  if (!initialDir_.empty()) d->setDirectory(QStr(initialDir_));
  if (!fileName_.empty()) d->selectFile(QStr(fileName_));
  bool chosen = false;
  RunDialog(d, [&](QFileDialog* D) {
    if (D->selectedFiles().isEmpty()) return;
    chosen = true;
    fileName_ = D->selectedFiles().front().toStdString();
    const int i = int(filters.indexOf(D->selectedNameFilter()));
    if (i >= 0) filterIndex_ = i + 1;
  });
  return chosen;
}

IMPLEMENT_CLASS(TSaveDialog, TOpenDialog)

IMPLEMENT_CLASS(TOpenPictureDialog, TOpenDialog)

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  SetFilter(TPicture::GraphicFilter(nullptr));
}
