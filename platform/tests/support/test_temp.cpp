#include "test_temp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string Dir;
}

const std::string& TestTempDir() { return Dir; }

std::string TestTempFile(const std::string& Name) { return Dir + "/" + Name; }

std::vector<std::string> PartFilesBeside(const std::string& Target) {
  const std::filesystem::path t = std::filesystem::absolute(Target);
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(t.parent_path())) {
    const std::string n = e.path().filename().string(), stem = t.filename().string() + ".";
    if (n.starts_with(stem) && n.ends_with(".part") && n.size() > stem.size() + 5) out.push_back(e.path());
  }
  return out;
}

void MakeTestTempDir() {
  std::error_code ec;
  std::string tmpl = (std::filesystem::temp_directory_path(ec) / "phonark-test-XXXXXX").string();
  if (ec || !mkdtemp(tmpl.data())) {
    std::fprintf(stderr, "cannot make a temporary folder for the tests (%s)\n", tmpl.c_str());
    std::exit(1);
  }
  Dir = tmpl;
}

void RemoveTestTempDir() {
  std::error_code ec;
  if (!Dir.empty()) std::filesystem::remove_all(Dir, ec);
  Dir.clear();
}

pid_t StartThisTestAgain(const std::string& Role) {
  const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter = std::string("--gtest_filter=") + test.test_suite_name() + "." + test.name();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!Role.empty()) {
      setenv("PHONARK_TEST_ROLE", Role.c_str(), 1);
      setenv("TMPDIR", Dir.c_str(), 1);  // a child that may be killed: its folder goes with ours
    }
    execl("/proc/self/exe", "again", filter.c_str(), "--gtest_brief=1", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool RunsInAProgramOfItsOwn() {
  if (::testing::UnitTest::GetInstance()->test_to_run_count() <= 1) return true;
  const pid_t pid = StartThisTestAgain("");
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    ADD_FAILURE() << "failed in a program of its own (status " << status << ")";
  return false;
}
