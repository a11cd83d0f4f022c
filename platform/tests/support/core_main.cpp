// Test main for plain tests: the settings store lives in the program's own temporary folder.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "test_temp.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  MakeTestTempDir();
  SetRegistryRoot(TestTempDir());
  int rc = RUN_ALL_TESTS();
  RemoveTestTempDir();
  return rc;
}
