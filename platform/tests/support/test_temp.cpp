#include "test_temp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

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
