#include "gallery_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzbody::NumberFormat(data, size);
  return 0;
}
