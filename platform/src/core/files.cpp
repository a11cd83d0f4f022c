// Text files of string lists, the temporary folders and mail through xdg-email.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/filer.h"
#include "platform/sysfiles.h"

extern char** environ;

// ---------------------------------------------------------------------------
// String lists as text files.

void TStrings::LoadFromStream(TStream* Stream) {
  std::int64_t n = Stream->Size() - Stream->Position();
  std::string text(std::size_t(n > 0 ? n : 0), '\0');
  if (!text.empty()) Stream->ReadBuffer(text.data(), std::int64_t(text.size()));
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);  // a UTF-8 mark is no text
  SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) const {
  std::string text = Text();
  Stream->WriteBuffer(text.data(), std::int64_t(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(&f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

void TStrings::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Strings", {},
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int i = 0; i < Count(); ++i) W->WriteString(Get(i));
        W->WriteListEnd();
      },
      Count() > 0);
}

// ---------------------------------------------------------------------------
// Temporary folders.

namespace {
std::mutex tempLock;
std::string privateTemp;
bool removeAtExit = false;

bool IsFolder(const std::string& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

std::string GetTempFolder() {
  const char* env = std::getenv("TMPDIR");
  std::string dir = env && *env ? env : "/tmp";
  if (!IsFolder(dir)) throw Exception("Can not find Temp folder");
  if (dir.back() != '/') dir += '/';
  return dir;
}

std::string PrivateTempFolder() {
  std::lock_guard<std::mutex> g(tempLock);
  if (!privateTemp.empty() && IsFolder(privateTemp)) return privateTemp;
  std::string pattern = GetTempFolder() + "phonark-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw Exception("Can not find Temp folder");
  privateTemp = pattern + "/";
  if (!removeAtExit) {
    removeAtExit = true;
    std::atexit(RemovePrivateTempFolder);
  }
  return privateTemp;
}

std::string PrivateTempFolderIfMade() {
  std::lock_guard<std::mutex> g(tempLock);
  return privateTemp;
}

void RemovePrivateTempFolder() {
  std::lock_guard<std::mutex> g(tempLock);
  if (privateTemp.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(privateTemp, ec);
  privateTemp.clear();
}

// ---------------------------------------------------------------------------
// Mail.

namespace {
std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string p = path ? path : "";
  std::size_t i = 0;
  while (i <= p.size()) {
    std::size_t j = p.find(':', i);
    if (j == std::string::npos) j = p.size();
    std::string dir = p.substr(i, j - i);
    if (dir.empty()) dir = ".";
    std::string full = dir + "/" + program;
    if (::access(full.c_str(), X_OK) == 0 && !IsFolder(full)) return full;
    i = j + 1;
  }
  return {};
}
}  // namespace

bool MailAvailable() { return !FindOnPath("xdg-email").empty(); }

int SendMailAttachment(const std::string& Subject, const std::string& FileName) {
  std::string tool = FindOnPath("xdg-email");
  if (tool.empty()) return MailUnavailable;

  // The composer reads the attachment after we return, and the caller may delete
  // its own file at once: hand over a copy of our own.
  std::string copy = PrivateTempFolder() + ExtractFileName(FileName);
  if (copy != FileName) {
    TMemoryStream data;
    data.LoadFromFile(FileName);
    data.SaveToFile(copy);
  }

  std::vector<std::string> args = {tool, "--utf8", "--subject", Subject, "--attach", copy};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return MailUnavailable;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return MailUnavailable;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 4;  // killed: the action failed
}
