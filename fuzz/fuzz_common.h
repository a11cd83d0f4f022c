// Helpers shared by the fuzz target bodies (fuzz/*_fuzz_targets.h): a stream over
// the input and the check that traps on a broken invariant.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/classes.h"

namespace fuzzbody {

inline void Check(bool ok) {
  if (!ok) __builtin_trap();
}

inline void ToStream(TMemoryStream& s, const std::uint8_t* data, std::size_t size) {
  if (size) s.WriteBuffer(data, std::int64_t(size));
  s.SetPosition(0);
}

inline std::string ToText(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzzbody
