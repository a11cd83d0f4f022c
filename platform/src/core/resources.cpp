#include "platform/resources.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, TResourceEntry> byName;  // upper-cased names
};

Registry& Resources() {
  static Registry r;
  return r;
}

std::string Key(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

void RegisterResources(const TResourceEntry* Entries, std::size_t Count) {
  std::lock_guard<std::mutex> g(Resources().lock);
  for (std::size_t i = 0; i < Count; ++i) Resources().byName[Key(Entries[i].Name)] = Entries[i];
}

bool FindResource(const std::string& Name, const std::uint8_t*& Data, std::size_t& Size) {
  std::lock_guard<std::mutex> g(Resources().lock);
  auto it = Resources().byName.find(Key(Name));
  if (it == Resources().byName.end()) return false;
  Data = it->second.Data;
  Size = it->second.Size;
  return true;
}

IMPLEMENT_CLASS(TResourceStream, TStream)

TResourceStream::TResourceStream(const std::string& Name) {
  if (!FindResource(Name, data_, size_)) throw EResNotFound(Format("Resource %s not found", Name));
}

std::int64_t TResourceStream::Read(void* Buffer, std::int64_t Count) {
  const std::int64_t n = std::clamp<std::int64_t>(std::int64_t(size_) - pos_, 0, std::max<std::int64_t>(Count, 0));
  if (n > 0) std::memcpy(Buffer, data_ + pos_, std::size_t(n));
  pos_ += n;
  return n;
}

std::int64_t TResourceStream::Write(const void*, std::int64_t) { throw EWriteError("Stream write error"); }

std::int64_t TResourceStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  const std::int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? pos_ : std::int64_t(size_);
  pos_ = std::max<std::int64_t>(0, base + Offset);
  return pos_;
}
