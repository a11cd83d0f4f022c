#include "test_temp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
std::string Dir;
}

const std::string& TestTempDir() { return Dir; }

std::string TestTempFile(const std::string& Name) { return Dir + "/" + Name; }

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
