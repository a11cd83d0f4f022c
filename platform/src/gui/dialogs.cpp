// ShowMessage, ShellExecute, and what the offscreen platform records in their place.
#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "dialogs_impl.h"
#include "forms_impl.h"
#include "platform/dialogs.h"
#include "platform/testing.h"

namespace {

struct Records {
  std::mutex M;
  std::vector<std::string> Messages;
  std::vector<std::string> ShellCalls;
  std::vector<std::string> HelpCalls;
};

Records& Recorded() {
  static Records r;
  return r;
}

void Record(std::vector<std::string> Records::*List, const std::string& Text) {
  Records& r = Recorded();
  std::lock_guard<std::mutex> g(r.M);
  (r.*List).push_back(Text);
}

std::vector<std::string> Take(std::vector<std::string> Records::*List, bool Clear) {
  Records& r = Recorded();
  std::lock_guard<std::mutex> g(r.M);
  std::vector<std::string> out = r.*List;
  if (Clear) (r.*List).clear();
  return out;
}

}  // namespace

bool RecordsInsteadOfShowing() {
  QString p = QGuiApplication::platformName();
  return p == "offscreen" || p == "minimal";
}

std::vector<std::string> RecordedMessages() { return Take(&Records::Messages, false); }
void ClearRecordedMessages() { Take(&Records::Messages, true); }
std::vector<std::string> RecordedShellCalls() { return Take(&Records::ShellCalls, false); }
void ClearRecordedShellCalls() { Take(&Records::ShellCalls, true); }
std::vector<int> RecordedHelpCalls() {
  std::vector<int> out;
  for (const std::string& c : Take(&Records::HelpCalls, false)) out.push_back(std::stoi(c));
  return out;
}
void ClearRecordedHelpCalls() { Take(&Records::HelpCalls, true); }

bool HelpContext(int Context) {
  if (RecordsInsteadOfShowing()) Record(&Records::HelpCalls, std::to_string(Context));
  return false;
}

void dialogs_detail::MessageBox(const std::string& Text, bool Error) {
  if (RecordsInsteadOfShowing()) {
    Record(&Records::Messages, Text);
    return;
  }
  QString title = QString::fromStdString(Application ? Application->Title() : std::string());
  // On the heap: freeing the form it sits on frees the box, which ends it.
  QPointer<QMessageBox> box = new QMessageBox(Error ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                                              QString::fromStdString(Text), QMessageBox::Ok,
                                              QApplication::activeWindow());
  box->exec();
  delete box;
}

void ShowMessage(const std::string& Msg) {
  if (RecordsInsteadOfShowing()) {
    std::fprintf(stderr, "ShowMessage: %s\n", Msg.c_str());
    std::fflush(stderr);
  }
  dialogs_detail::MessageBox(Msg, false);
}

namespace {

std::string& TestOpener() {
  static std::string program;
  return program;
}

std::vector<std::string>& TestOpenableExtensions() {
  static std::vector<std::string> extensions;
  return extensions;
}

// Runs the opener on File. It ends at once when it hands the file to a running
// desktop, or fails at once when no program takes it; it runs as long as the
// viewer when it starts one itself, and is then left running (freed when it ends).
// Messages are delivered meanwhile, so a running animation goes on.
bool RunOpener(const std::string& Program, const std::string& File, const std::string& Directory) {
  auto* p = new QProcess(QCoreApplication::instance());
  if (QFileInfo(QString::fromStdString(Directory)).isDir()) p->setWorkingDirectory(QString::fromStdString(Directory));
  p->setStandardOutputFile(QProcess::nullDevice());
  p->start(QString::fromStdString(Program), {QString::fromStdString(File)});
  if (!p->waitForStarted(ShellOpenWaitMs)) {
    delete p;
    return false;
  }
  const std::int64_t end = GetMicroseconds() + std::int64_t(ShellOpenWaitMs) * 1000;
  while (p->state() != QProcess::NotRunning) {
    if (GetMicroseconds() >= end) {
      QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
      return true;
    }
    p->waitForFinished(10);
    if (Application) Application->ProcessMessages();
  }
  const bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
  delete p;
  return ok;
}

}  // namespace

void SetTestShellOpener(const std::string& Program) { TestOpener() = Program; }
void SetTestOpenableExtensions(const std::vector<std::string>& Extensions) { TestOpenableExtensions() = Extensions; }

bool ShellCanOpenExtension(const std::string& Extension) {
  if (Extension.empty()) return false;
  const std::string ext = LowerCase(Extension);
  if (RecordsInsteadOfShowing()) {
    const auto& known = TestOpenableExtensions();
    return std::find(known.begin(), known.end(), ext) != known.end();
  }
  // Asked once per extension: the answer comes from another program.
  static std::map<std::string, bool> answers;
  if (auto it = answers.find(ext); it != answers.end()) return it->second;
  bool can = false;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString("file." + ext),
                                                          QMimeDatabase::MatchExtension);
  if (type.isValid() && !type.isDefault()) {
    QProcess p;
    p.start("xdg-mime", {"query", "default", type.name()});
    if (p.waitForStarted(ShellOpenWaitMs) && p.waitForFinished(ShellOpenWaitMs))
      can = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && !p.readAllStandardOutput().trimmed().isEmpty();
    else
      p.kill();
  }
  answers[ext] = can;
  return can;
}

int ShellExecute(THandle Window, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int ShowCmd) {
  (void)Window;
  (void)Parameters;
  (void)ShowCmd;
  constexpr int kFileNotFound = 2, kNoAssociation = 31, kStarted = 42;
  if (!SameText(Operation, "open")) return kNoAssociation;
  // Addresses are not files: a link opens without one on disk.
  const bool address = File.find("://") != std::string::npos || SameText(File.substr(0, 7), "mailto:");
  if (!address && !FileExists(File)) return kFileNotFound;
  std::string opener = "xdg-open";
  if (RecordsInsteadOfShowing()) {
    Record(&Records::ShellCalls, Operation + " " + File);
    if (TestOpener().empty()) return kStarted;
    opener = TestOpener();
  }
  return RunOpener(opener, File, Directory) ? kStarted : kNoAssociation;
}
