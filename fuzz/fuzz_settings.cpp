#include <unistd.h>

#include <cstdlib>

#include "core_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzbody::Settings(data, size);
  return 0;
}

// The store goes to a folder of its own, never the user's, removed at exit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char dir[] = "/tmp/phonark-fuzz-settings-XXXXXX";
  if (!mkdtemp(dir)) std::abort();
  SetRegistryRoot(dir);
  std::atexit([] {
    std::remove((std::string(dir) + "/registry.txt").c_str());
    rmdir(dir);
  });
  return 0;
}
