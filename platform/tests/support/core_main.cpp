// Test main for plain tests: the settings store lives in a fresh temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/registry.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string tmpl = (std::filesystem::temp_directory_path() / "phonark-test-XXXXXX").string();
  char* dir = mkdtemp(tmpl.data());
  if (dir) SetRegistryRoot(dir);
  int rc = RUN_ALL_TESTS();
  if (dir) std::filesystem::remove_all(dir);
  return rc;
}
