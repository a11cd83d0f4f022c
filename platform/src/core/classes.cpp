#include "platform/classes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <unordered_map>

#include "platform/typinfo.h"

// ---------------------------------------------------------------------------
TMetaClass::TMetaClass(const char* name, TClass parent, Factory create, Definer defineProps, Definer leftOut)
    : Name(name), Parent(parent), Create(create), PropertiesLeftOut(leftOut != nullptr),
      props_(std::make_unique<TPropertyTable>(this)) {
  if (defineProps) defineProps(*props_);
}

TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(TClass other) const {
  for (TClass c = this; c; c = c->Parent)
    if (c == other) return true;
  return false;
}

const TPropertyTable& TMetaClass::OwnProperties() const { return *props_; }

TObject* TMetaClass::NewInstance(TComponent* owner) const {
  if (!Create) throw EInvalidOperation("Cannot create an instance of abstract class " + Name);
  return Create(owner);
}

TClass TObject::StaticClass() {
  static const TMetaClass meta("TObject", nullptr, [](TComponent*) -> TObject* { return new TObject(); }, nullptr);
  return &meta;
}

// ---------------------------------------------------------------------------
namespace {
std::mutex& RegistryMutex() {
  static std::mutex m;
  return m;
}
std::unordered_map<std::string, TClass>& ClassMap() {
  static std::unordered_map<std::string, TClass> m;
  return m;
}
}  // namespace

void RegisterClass(TClass c) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  ClassMap()[UpperCase(c->Name)] = c;
}

void RegisterClasses(std::initializer_list<TClass> cs) {
  for (TClass c : cs) RegisterClass(c);
}

void UnRegisterClass(TClass c) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  auto it = ClassMap().find(UpperCase(c->Name));
  if (it != ClassMap().end() && it->second == c) ClassMap().erase(it);
}

TClass GetClass(const std::string& name) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  auto it = ClassMap().find(UpperCase(name));
  return it == ClassMap().end() ? nullptr : it->second;
}

std::vector<TClass> GetRegisteredClasses() {
  std::vector<TClass> out;
  {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    for (const auto& [name, c] : ClassMap()) out.push_back(c);
  }
  std::sort(out.begin(), out.end(), [](TClass a, TClass b) { return a->Name < b->Name; });
  return out;
}

TClass FindClass(const std::string& name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound(Format("Class %s not found", name));
  return c;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TPersistent, TObject)

TPersistent::TPersistent() = default;
TPersistent::~TPersistent() = default;

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError(Format("Cannot assign a %s to a %s", "nil", ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError(Format("Cannot assign a %s to a %s", ClassName(), Dest->ClassName()));
}

std::string TPersistent::GetNamePath() { return ClassName(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TComponent, TPersistent)

void TComponent::DefineProperties(TPropertyTable& t) {
  t.Str("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  t.Int("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0LL);
}

bool IsValidIdent(const std::string& s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (!alpha(s[0])) return false;
  for (char c : s)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(csDestroying);
  // Tell those that asked, then those we own, that we go.
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = c->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    delete c;
  }
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return components_[size_t(Index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& v = owner_->components_;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : int(it - v.begin());
}

void TComponent::SetComponentIndex(int Value) {
  const int from = ComponentIndex();
  if (from < 0) return;
  auto& v = owner_->components_;
  const int to = std::clamp(Value, 0, int(v.size()) - 1);
  if (to == from) return;
  v.erase(v.begin() + from);
  v.insert(v.begin() + to, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, AName)) return c;
  return nullptr;
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("''%s'' is not a valid component name", NewName));
  if (owner_ && !NewName.empty()) {
    TComponent* other = owner_->FindComponent(NewName);
    if (other && other != this) throw EComponentError(Format("A component named %s already exists", NewName));
  }
  name_ = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
  if (!AComponent->name_.empty()) {
    TComponent* other = FindComponent(AComponent->name_);
    if (other) throw EComponentError(Format("A component named %s already exists", AComponent->name_));
  }
  Insert(AComponent);
  NotifyAll(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent->owner_ != this) return;
  NotifyAll(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
  components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
  c->owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent* AComponent, TOperation Operation) {
  Notification(AComponent, Operation);
  // Copy: a handler may free or insert components.
  std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c != AComponent) c->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  auto add = [](std::vector<TComponent*>& v, TComponent* c) {
    if (std::find(v.begin(), v.end(), c) == v.end()) v.push_back(c);
  };
  add(freeNotifies_, AComponent);
  add(AComponent->freeNotifies_, this);
  SetState(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  auto del = [](std::vector<TComponent*>& v, TComponent* c) { v.erase(std::remove(v.begin(), v.end(), c), v.end()); };
  del(freeNotifies_, AComponent);
  del(AComponent->freeNotifies_, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    auto& v = freeNotifies_;
    v.erase(std::remove(v.begin(), v.end(), AComponent), v.end());
  }
}

void TComponent::BeginLoading() {
  SetState(csLoading | csReading);
  for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading() {
  for (TComponent* c : components_) c->EndLoading();
  ClearState(csLoading | csReading);
  Loaded();
}

void TComponent::Loaded() {}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStrings, TPersistent)

void TStrings::IndexError(int Index) { throw EStringListError(Format("List index out of bounds (%d)", Index)); }

void TStrings::Put(int Index, const std::string& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

int TStrings::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Count();
  InsertObject(i, S, AObject);
  return i;
}

void TStrings::AddStrings(const TStrings* Strings) {
  BeginUpdate();
  for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) r += Get(i) + "\n";
  return r;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  Clear();
  size_t i = 0, n = Value.size();
  while (i < n) {
    size_t j = i;
    while (j < n && Value[j] != '\n' && Value[j] != '\r') ++j;
    Add(Value.substr(i, j - i));
    if (j < n && Value[j] == '\r') ++j;
    if (j < n && Value[j] == '\n') ++j;
    i = j;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TStrings*>(Source)) {
    if (s == this) return;
    BeginUpdate();
    Clear();
    AddStrings(s);
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings* other) const {
  if (!other || other->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other->Get(i)) return false;
  return true;
}

IMPLEMENT_CLASS(TStringList, TStrings)

TStringList::~TStringList() {
  if (OwnsObjects)
    for (auto& it : items_) delete it.second;
}

std::string TStringList::Get(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)].first;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index >= Count()) IndexError(Index);
  Changing();
  items_[size_t(Index)].first = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)].second;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  Changing();
  items_[size_t(Index)].second = AObject;
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) IndexError(Index);
  Changing();
  items_.insert(items_.begin() + Index, {S, AObject});
  Changed();
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  if (!sorted_) {
    int i = Count();
    InsertObject(i, S, AObject);
    return i;
  }
  bool found;
  int i = FindSorted(S, found);
  Changing();
  items_.insert(items_.begin() + i, {S, AObject});
  Changed();
  return i;
}

void TStringList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  Changing();
  if (OwnsObjects) delete items_[size_t(Index)].second;
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  if (OwnsObjects)
    for (auto& it : items_) delete it.second;
  items_.clear();
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  bool found;
  int i = FindSorted(S, found);
  return found ? i : -1;
}

int TStringList::FindSorted(const std::string& S, bool& found) const {
  int lo = 0, hi = Count() - 1;
  found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareText(items_[size_t(mid)].first, S);
    if (c < 0) lo = mid + 1;
    else { hi = mid - 1; if (c == 0) found = true; }
  }
  return lo;
}

void TStringList::Exchange(int a, int b) {
  if (a < 0 || a >= Count()) IndexError(a);
  if (b < 0 || b >= Count()) IndexError(b);
  Changing();
  std::swap(items_[size_t(a)], items_[size_t(b)]);
  Changed();
}

void TStringList::SetSorted(bool v) {
  if (v == sorted_) return;
  if (v) {
    Changing();
    std::stable_sort(items_.begin(), items_.end(), [](auto& x, auto& y) { return CompareText(x.first, y.first) < 0; });
    Changed();
  }
  sorted_ = v;
}

void TStringList::SetUpdateState(bool Updating) {
  // One OnChanging when a block opens, one OnChange when it closes.
  if (Updating) { if (OnChanging) OnChanging(this); }
  else if (OnChange) OnChange(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStream, TObject)

std::int64_t TStream::Size() {
  std::int64_t pos = Seek(0, soCurrent);
  std::int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  std::int64_t total = Count;
  std::vector<std::uint8_t> buf(size_t(std::min<std::int64_t>(Count, 0xF000) + 1));
  while (Count > 0) {
    std::int64_t n = std::min<std::int64_t>(Count, std::int64_t(buf.size()));
    Source->ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    Count -= n;
  }
  return total;
}

IMPLEMENT_CLASS(TMemoryStream, TStream)

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0 || pos_ >= Size()) return 0;
  std::int64_t n = std::min(Count, Size() - pos_);
  std::memcpy(Buffer, data_.data() + pos_, size_t(n));
  pos_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0) return 0;
  if (pos_ + Count > Size()) data_.resize(size_t(pos_ + Count));
  std::memcpy(data_.data() + pos_, Buffer, size_t(Count));
  pos_ += Count;
  return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  std::int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? pos_ : Size();
  std::int64_t p = base + Offset;
  if (p < 0) throw EStreamError("Invalid stream position");
  pos_ = p;
  return pos_;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  data_.resize(size_t(NewSize));
  if (pos_ > NewSize) pos_ = NewSize;
}

void TMemoryStream::Clear() {
  data_.clear();
  pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  std::int64_t n = Stream->Size();
  data_.resize(size_t(n));
  Stream->ReadBuffer(data_.data(), n);
  pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(&f);
}

void TMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(data_.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

IMPLEMENT_CLASS(TFileStream, TStream)

TFileStream::TFileStream(const std::string& FileName, std::uint16_t Mode) : fileName_(FileName) {
  if (Mode == fmCreate) {
    fd_ = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName, std::strerror(errno)));
    return;
  }
  int flags = (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  fd_ = ::open(FileName.c_str(), flags | O_CLOEXEC);
  if (fd_ < 0) throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, std::strerror(errno)));
  struct stat st;
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, std::strerror(EISDIR)));
  }
}

std::string CreateFileBeside(const std::string& FileName) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 rng(std::random_device{}() ^ (std::uint64_t(::getpid()) << 32));
  struct stat old {};
  const bool keepMode = ::stat(FileName.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  for (int attempt = 0;; ++attempt) {
    std::string name = FileName + ".";
    for (int k = 0; k < 6; ++k) name += kChars[rng() % (sizeof kChars - 1)];
    name += ".part";
    // O_EXCL: a name another writer holds is never shared, only tried again.
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && attempt < 100) continue;
    if (fd < 0) throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName, std::strerror(errno)));
    const bool moded = !keepMode || ::fchmod(fd, old.st_mode & 07777) == 0;
    const int err = errno;
    ::close(fd);
    if (!moded) {
      ::unlink(name.c_str());
      throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName, std::strerror(err)));
    }
    return name;
  }
}

namespace {

[[noreturn]] void CannotCreate(const std::string& FileName, int Error) {
  throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName, std::strerror(Error)));
}

// A unique name beside FileName ("FILE.xxxxxx.part") made by Make, which answers
// false with errno EEXIST for a name taken (tried again) or another error.
std::string UniqueNameBeside(const std::string& FileName, const std::function<bool(const std::string&)>& Make) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 rng(std::random_device{}() ^ (std::uint64_t(::getpid()) << 32));
  for (int attempt = 0;; ++attempt) {
    std::string name = FileName + ".";
    for (int k = 0; k < 6; ++k) name += kChars[rng() % (sizeof kChars - 1)];
    name += ".part";
    if (Make(name)) return name;
    if (errno != EEXIST || attempt >= 100) CannotCreate(FileName, errno);
  }
}

std::string FolderOf(const std::string& FileName) {
  const std::size_t slash = FileName.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : FileName.substr(0, slash);
}

// The file being written: unnamed (O_TMPFILE) where the file system allows it, so a
// writer killed meanwhile leaves nothing; else a named file beside the target.
struct TWholeFile {
  const std::string& target;
  int fd = -1;
  std::string named;  // the named temporary, while there is one

  explicit TWholeFile(const std::string& Target) : target(Target) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) CannotCreate(target, EISDIR);
    // A file the user may not write is not replaced behind their back.
    if (exists && ::access(target.c_str(), W_OK) != 0) CannotCreate(target, errno);
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) == 0) {
      fd = ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) CannotCreate(target, errno);
    }
#endif
    if (fd < 0)
      named = UniqueNameBeside(target, [this](const std::string& Name) {
        // O_EXCL: a name another writer holds is never shared, only tried again.
        fd = ::open(Name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0;
      });
    // After opening: a read-only mode copied first would refuse our own writes.
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) {
      const int error = errno;
      Discard();
      Fail(error);
    }
  }
  ~TWholeFile() { Discard(); }
  void Discard() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (!named.empty()) ::unlink(named.c_str());
    named.clear();
  }
  [[noreturn]] void Fail(int Error) { CannotCreate(target, Error); }

  // Flushed to the disk, then in the target's place.
  void Publish() {
    if (::fsync(fd) != 0) throw EWriteError(Format("Cannot write file \"%s\". %s", target, std::strerror(errno)));
    if (named.empty()) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd);
      named = UniqueNameBeside(target, [&](const std::string& Name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0;
      });
    }
    if (std::rename(named.c_str(), target.c_str()) != 0) Fail(errno);
    named.clear();
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) Fail(errno);
  }
};

}  // namespace

void SaveStreamToFile(const std::string& FileName, const std::function<void(TStream*)>& Write) {
  TWholeFile file(FileName);
  {
    TFileStream f(file.fd, FileName);
    Write(&f);
  }
  file.Publish();
}

TFileStream::TFileStream(int Handle, const std::string& FileName) : fd_(Handle), fileName_(FileName), owned_(false) {}

TFileStream::~TFileStream() {
  if (fd_ >= 0 && owned_) ::close(fd_);
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count) {
  std::int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(fd_, static_cast<char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count) {
  std::int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(fd_, static_cast<const char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    // The system's reason (a full disk, a file size limit) beats a bare short count.
    if (n < 0) throw EWriteError(Format("Cannot write file \"%s\". %s", fileName_, std::strerror(errno)));
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(fd_, off_t(Offset), whence);
  if (r < 0) throw EStreamError("Invalid stream position");
  return r;
}

void TFileStream::SetSize(std::int64_t NewSize) {
  if (::ftruncate(fd_, off_t(NewSize)) != 0) throw EStreamError("Stream cannot change its size");
  if (Position() > NewSize) Seek(NewSize, soBeginning);
}
