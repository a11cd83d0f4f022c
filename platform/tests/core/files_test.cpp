// String lists as text files, the program's private temporary folder, and mail
// through a stand-in xdg-email that records how it was called; files written whole.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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
}  // namespace

TEST(FilesWrittenWhole, TwoWritersOfOneFileAtOnceEachWriteAWholeFile) {
  const std::string target = TestTempFile("shared.txt");
  SaveStreamToFile(target, [&](TStream* A) {  // A is half written when B writes the file whole
    Put(A, "A, ");
    SaveStreamToFile(target, [&](TStream* B) {
      EXPECT_EQ(PartFilesBeside(target).size(), 2u);  // each writer has a file of its own
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
