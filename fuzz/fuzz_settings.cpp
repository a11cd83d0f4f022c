#include "core_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzbody::Settings(data, size);
  return 0;
}

#include <cstdlib>

// The store goes to a folder of its own, never the user's.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char dir[] = "/tmp/phonark-fuzz-settings-XXXXXX";
  if (!mkdtemp(dir)) std::abort();
  SetRegistryRoot(dir);
  return 0;
}
