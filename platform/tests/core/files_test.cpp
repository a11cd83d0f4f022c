// String lists as text files, the program's private temporary folder, and mail
// through a stand-in xdg-email that records how it was called; files written whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/classes.h"
#include "platform/sysfiles.h"
#include "test_temp.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

bool IsDir(const std::string& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Puts a folder holding only the named scripts first on the PATH, and nothing else.
class ScopedPath {
public:
  explicit ScopedPath(const std::string& dir) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    ::setenv("PATH", dir.c_str(), 1);
  }
  ~ScopedPath() { ::setenv("PATH", old_.c_str(), 1); }

private:
  std::string old_;
};

std::string StandIn(const std::string& name, const std::string& body) {
  const std::string dir = TestTempFile(name);
  ::mkdir(dir.c_str(), 0700);
  const std::string tool = dir + "/xdg-email";
  std::ofstream(tool) << "#!/bin/sh\n" << body;
  ::chmod(tool.c_str(), 0755);
  return dir;
}

}  // namespace

TEST(StringFiles, LinesSurviveAFileAndForeignLineEndsAreRead) {
  TStringList a;
  a.Add("first");
  a.Add("");
  a.Add("caf\xC3\xA9");
  const std::string path = TestTempFile("lines.txt");
  a.SaveToFile(path);
  EXPECT_EQ(Slurp(path), "first\n\ncaf\xC3\xA9\n");
  TStringList b;
  b.Add("old");
  b.LoadFromFile(path);
  EXPECT_TRUE(a.Equals(&b));

  std::ofstream(TestTempFile("dos.txt"), std::ios::binary) << "\xEF\xBB\xBFone\r\ntwo\rthree";
  b.LoadFromFile(TestTempFile("dos.txt"));
  ASSERT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Strings(0), "one");
  EXPECT_EQ(b.Strings(2), "three");

  EXPECT_THROW(b.LoadFromFile(TestTempFile("missing.txt")), EFOpenError);
  EXPECT_EQ(b.Count(), 3);  // a file that cannot be opened changes nothing
  EXPECT_THROW(a.SaveToFile(TestTempFile("no/such/folder.txt")), EFCreateError);
}

TEST(TempFolders, PrivateFolderIsRemovedWhenTheProgramExits) {
  const std::string marker = TestTempFile("child-folder");
  RemovePrivateTempFolder();  // the child makes a folder of its own
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The child makes its folder, leaves a file in it and ends as a program does.
    std::string dir = PrivateTempFolder();
    std::ofstream(dir + "attachment.lum") << "x";
    std::ofstream(marker) << dir;
    std::exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  const std::string dir = Slurp(marker);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.rfind(GetTempFolder(), 0), 0u) << dir;
  EXPECT_FALSE(IsDir(dir)) << dir;
}

TEST(TempFolders, FolderIsPrivateAndMadeAgainAfterRemoval) {
  std::string dir = PrivateTempFolder();
  struct stat st {};
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(PrivateTempFolder(), dir);
  RemovePrivateTempFolder();
  EXPECT_FALSE(IsDir(dir));
  EXPECT_EQ(PrivateTempFolderIfMade(), "");
  EXPECT_TRUE(IsDir(PrivateTempFolder()));
  RemovePrivateTempFolder();

  const char* old = std::getenv("TMPDIR");
  std::string keep = old ? old : "";
  ::setenv("TMPDIR", TestTempFile("not-there").c_str(), 1);
  try {
    GetTempFolder();
    ADD_FAILURE() << "a missing temporary folder was accepted";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Can not find Temp folder");
  }
  if (old) ::setenv("TMPDIR", keep.c_str(), 1);
  else ::unsetenv("TMPDIR");
}

TEST(Mail, ComposerGetsSubjectAndAPrivateCopyOfTheAttachment) {
  const std::string log = TestTempFile("mail-args");
  const std::string copyLog = TestTempFile("mail-copy");
  const std::string dir = StandIn("mail-ok", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log +
                                                 "'\neval last=\\${$#}\n/bin/cat \"$last\" > '" + copyLog + "'\nexit 0\n");
  const std::string file = TestTempFile("Chart export.lum");
  std::ofstream(file) << "stream bytes";
  ScopedPath path(dir);
  ASSERT_TRUE(MailAvailable());
  EXPECT_EQ(SendMailAttachment("LumChart", file), 0);
  const std::string copy = PrivateTempFolder() + "Chart export.lum";
  EXPECT_EQ(Slurp(log), "--utf8\n--subject\nLumChart\n--attach\n" + copy + "\n");
  EXPECT_EQ(Slurp(copyLog), "stream bytes");
  // The caller may delete its own file; the composer's copy stays until the program ends.
  ::unlink(file.c_str());
  EXPECT_EQ(Slurp(copy), "stream bytes");
  RemovePrivateTempFolder();
}

TEST(Mail, MissingOrFailingComposerIsReportedNotFatal) {
  const std::string file = TestTempFile("a.txt");
  std::ofstream(file) << "x";
  {
    ScopedPath path(TestTempDir() + "/empty-path");
    EXPECT_FALSE(MailAvailable());
    EXPECT_EQ(SendMailAttachment("LumChart", file), MailUnavailable);
  }
  {
    ScopedPath path(StandIn("mail-fail", "exit 3\n"));
    EXPECT_EQ(SendMailAttachment("LumChart", file), 3);
  }
  {
    // Not executable: not a composer.
    const std::string dir = StandIn("mail-noexec", "exit 0\n");
    ::chmod((dir + "/xdg-email").c_str(), 0644);
    ScopedPath path(dir);
    EXPECT_FALSE(MailAvailable());
  }
  ScopedPath path(StandIn("mail-ok2", "exit 0\n"));
  EXPECT_THROW(SendMailAttachment("LumChart", TestTempFile("none.lum")), EFOpenError);
  RemovePrivateTempFolder();
}

namespace {
void Put(TStream* S, const std::string& Text) { S->WriteBuffer(Text.data(), std::int64_t(Text.size())); }

// Whether the folder's file system makes files without a name (O_TMPFILE).
bool UnnamedFilesIn(const std::string& Folder) {
#ifdef O_TMPFILE
  const int fd = ::open(Folder.c_str(), O_TMPFILE | O_RDWR, 0600);
  if (fd >= 0) ::close(fd);
  return fd >= 0 && ::access("/proc/self/fd", X_OK) == 0;
#else
  (void)Folder;
  return false;
#endif
}

std::string Raised(const std::function<void()>& Call) {
  try {
    Call();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "";
}
}  // namespace

TEST(FilesWrittenWhole, TwoWritersOfOneFileAtOnceEachWriteAWholeFile) {
  const std::string target = TestTempFile("shared.txt");
  SaveStreamToFile(target, [&](TStream* A) {  // A is half written when B writes the file whole
    Put(A, "A, ");
    SaveStreamToFile(target, [&](TStream* B) {
      // Each writer has a file of its own: unnamed where the file system allows it
      // (nothing shows beside the target), else named beside it.
      EXPECT_EQ(PartFilesBeside(target).size(), UnnamedFilesIn(TestTempDir()) ? 0u : 2u);
      Put(B, "B");
    });
    EXPECT_EQ(Slurp(target), "B");
    Put(A, "whole");
  });
  EXPECT_EQ(Slurp(target), "A, whole");
  EXPECT_TRUE(PartFilesBeside(target).empty());
}

TEST(FilesWrittenWhole, AFailureLeavesTheOldFileAndNothingBesideItAndAModeIsKept) {
  const std::string target = TestTempFile("kept.txt"), folder = TestTempFile("a-folder");
  const mode_t mask = ::umask(022);
  ::umask(mask);
  SaveStreamToFile(target, [](TStream* S) { Put(S, "old"); });
  EXPECT_EQ(int(std::filesystem::status(target).permissions()), 0666 & ~mask);
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  auto failing = [](TStream* S) {
    Put(S, "new but");
    throw EWriteError("disk full");
  };
  EXPECT_THROW(SaveStreamToFile(target, failing), EWriteError);
  EXPECT_EQ(Slurp(target), "old");
  SaveStreamToFile(target, [](TStream* S) { Put(S, "new"); });
  EXPECT_EQ(int(std::filesystem::status(target).permissions()), 0640);
  EXPECT_TRUE(PartFilesBeside(target).empty());
  // The rename fails (the target is a folder with a file in it), or there is no folder.
  ASSERT_TRUE(std::filesystem::create_directories(folder + "/inside"));
  EXPECT_THROW(SaveStreamToFile(folder, [](TStream* S) { Put(S, "x"); }), EFCreateError);
  EXPECT_TRUE(IsDir(folder) && PartFilesBeside(folder).empty());
  EXPECT_THROW(SaveStreamToFile(TestTempFile("none/x.txt"), [](TStream*) {}), EFCreateError);
}

// Every error names the file asked for (never the temporary) with the system's
// reason, and leaves the old file as it was.
TEST(FilesWrittenWhole, ErrorsNameTheTargetWithTheSystemsReason) {
  const std::string target = TestTempFile("reasons.txt");
  SaveStreamToFile(target, [](TStream* S) { Put(S, "old"); });
  // Past the file size limit (a full disk answers likewise, with its own reason).
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string tooLarge =
      Raised([&] { SaveStreamToFile(target, [](TStream* S) { Put(S, std::string(5000, 'x')); }); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(tooLarge, "Cannot write file \"" + target + "\". " + std::strerror(EFBIG));
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_TRUE(PartFilesBeside(target).empty());

  // A read-only file and a read-only folder: refused (except for root, who may write
  // anything) by the target's name; a file saved over keeps its mode.
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  const std::string readOnly = Raised([&] { SaveStreamToFile(target, [](TStream* S) { Put(S, "new"); }); });
  const std::string folder = TestTempFile("shut"), inside = folder + "/x.txt";
  std::filesystem::create_directories(folder);
  ::chmod(folder.c_str(), 0555);
  const std::string shut = Raised([&] { SaveStreamToFile(inside, [](TStream* S) { Put(S, "x"); }); });
  ::chmod(folder.c_str(), 0755);
  if (::geteuid() == 0) {
    EXPECT_EQ(readOnly + shut, "");
    EXPECT_EQ(Slurp(target), "new");
  } else {
    EXPECT_EQ(readOnly, "Cannot create file \"" + target + "\". " + std::strerror(EACCES));
    EXPECT_EQ(shut, "Cannot create file \"" + inside + "\". " + std::strerror(EACCES));
    EXPECT_EQ(Slurp(target), "old");
  }
  EXPECT_EQ(int(std::filesystem::status(target).permissions()), 0444);
  EXPECT_EQ(Raised([] { SaveStreamToFile(TestTempFile("none/x.txt"), [](TStream*) {}); }),
            "Cannot create file \"" + TestTempFile("none/x.txt") + "\". " + std::strerror(ENOENT));
}

// A writer killed in the middle of its file leaves the old file and, where the file
// system makes unnamed files, nothing beside it.
TEST(FilesWrittenWhole, AKilledWriterLeavesNothingBehind) {
  if (!UnnamedFilesIn(TestTempDir())) GTEST_SKIP() << "this file system makes no unnamed files";
  const std::string target = TestTempFile("killed.txt");
  SaveStreamToFile(target, [](TStream* S) { Put(S, "old"); });
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SaveStreamToFile(target, [](TStream* S) {
      Put(S, "half of it");
      ::raise(SIGKILL);
    });
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_TRUE(PartFilesBeside(target).empty());
}
