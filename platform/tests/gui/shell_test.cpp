// The shell's "open": the opener's verdict decides the answer. Real programs stand
// in for the desktop's opener: one that succeeds, one that fails at once (no
// program for the file), one that is missing, and one still showing the file.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app_fixture.h"
#include "platform/dialogs.h"

using namespace formstest;

namespace {

class Shell : public FormTest {
protected:
  void TearDown() override {
    SetTestShellOpener("");
    FormTest::TearDown();
  }
  int Open(const std::string& file) { return ShellExecuteA(Form->Handle(), "open", file, "", "/", SW_SHOWNORMAL); }
  std::string exe = Application->ExeName();
};

TEST_F(Shell, OpenAnswersTheOpenersVerdict) {
  SetTestShellOpener("true");
  EXPECT_GT(Open(exe), 32);
  SetTestShellOpener("false");
  EXPECT_EQ(Open(exe), 31);
  SetTestShellOpener("/nonexistent/phonark-opener");
  EXPECT_EQ(Open(exe), 31);
  EXPECT_EQ(Open(exe + ".missing.chm"), 2);  // checked before any opener runs
  EXPECT_LE(ShellExecute(Form->Handle(), "print", exe, "", "", SW_SHOWNORMAL), 32);  // only "open"
  EXPECT_EQ(RecordedShellCalls(), std::vector<std::string>(3, "open " + exe));
}

// A viewer started by the opener itself keeps it running: the file is open.
TEST_F(Shell, AnOpenerStillRunningAfterTheWaitHasOpenedTheFile) {
  const std::string opener = exe + ".opener.sh";
  FILE* f = std::fopen(opener.c_str(), "w");
  ASSERT_TRUE(f);
  // It runs until the test lets it end (not for a set time, which a slow machine
  // could outlast), and then fails.
  const std::string done = opener + ".done";
  DeleteFile(done);
  std::fputs("#!/bin/sh\nwhile [ ! -e \"$0.done\" ]; do sleep 0.05; done\nrm \"$0.done\"\nexit 1\n", f);
  std::fclose(f);
  chmod(opener.c_str(), 0755);
  SetTestShellOpener(opener);
  bool delivered = false;
  TestInput::PostCall([&] { delivered = true; });
  EXPECT_GT(Open(exe), 32);  // its failure comes after the wait
  EXPECT_TRUE(delivered);    // the loop went on meanwhile
  std::fclose(std::fopen(done.c_str(), "w"));
  // It ends once it sees the mark (and takes it away), while the loop runs on.
  EXPECT_TRUE(TestInput::PumpUntil([&] { return !FileExists(done); }));
  DeleteFile(opener);
}

// No help is indexed by context: a call opens nothing, and the offscreen platform
// keeps what was asked.
TEST_F(Shell, HelpContextsOpenNothingAndAreRecorded) {
  ClearRecordedHelpCalls();
  EXPECT_FALSE(HelpContext(726));
  EXPECT_FALSE(HelpContext(0));
  EXPECT_EQ(RecordedHelpCalls(), (std::vector<int>{726, 0}));
  ClearRecordedHelpCalls();
  EXPECT_TRUE(RecordedHelpCalls().empty());
}

}  // namespace
