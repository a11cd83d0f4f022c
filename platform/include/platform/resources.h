// Named resources compiled into the program. A module embeds files with the CMake
// function phonark_embed_resources (cmake/Phonark.cmake), which generates a function
// that registers them; the module's unit initialisation calls it. Look-up is by name,
// case-insensitive; registering a name again replaces it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/classes.h"

PHONARK_EXCEPTION(EResNotFound, Exception);

struct TResourceEntry {
  const char* Name;
  const std::uint8_t* Data;
  std::size_t Size;
};

// The data must outlive the program's use of it (generated tables are static).
void RegisterResources(const TResourceEntry* Entries, std::size_t Count);
// False when no resource has that name.
bool FindResource(const std::string& Name, const std::uint8_t*& Data, std::size_t& Size);

// A read-only stream over a resource. EResNotFound "Resource %s not found".
class TResourceStream : public TStream {
  DECLARE_CLASS(TResourceStream, TStream)
public:
  explicit TResourceStream(const std::string& Name);
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  // EWriteError "Stream write error": resources cannot change.
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
  std::int64_t Size() override { return std::int64_t(size_); }
  const std::uint8_t* Memory() const { return data_; }

private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::int64_t pos_ = 0;
};
