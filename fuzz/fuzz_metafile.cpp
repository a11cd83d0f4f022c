#include "graphics_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzbody::Metafile(data, size);
  return 0;
}
