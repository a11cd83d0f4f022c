// Object model of the class library: objects with metaclasses, persistent objects,
// owned components with free notification, events, lists, string lists and streams.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl.h"

class TObject;
class TComponent;
class TPropertyTable;
class TFiler;
class TStream;
struct TMetaClass;
using TClass = const TMetaClass*;

// ---------------------------------------------------------------------------
// Metaclass: one per class, created on first use (never by a static initialiser).
// It carries the virtual constructor and the published properties.
struct TMetaClass {
  using Factory = TObject* (*)(TComponent* owner);
  using Definer = void (*)(TPropertyTable&);
  // LeftOut: a DefineProperties of the class's own that the table was built without.
  TMetaClass(const char* name, TClass parent, Factory create, Definer defineProps, Definer leftOut = nullptr);
  ~TMetaClass();
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;

  std::string Name;
  TClass Parent;
  Factory Create;  // null for abstract classes
  // Set when the class declares DefineProperties(TPropertyTable&) but was implemented
  // with IMPLEMENT_CLASS: its published properties are missing from every table.
  bool PropertiesLeftOut = false;

  bool InheritsFrom(TClass other) const;
  // Own properties only; GetPropList walks ancestors first.
  const TPropertyTable& OwnProperties() const;
  // Builds a new object of this class; EInvalidOperation for an abstract class.
  TObject* NewInstance(TComponent* owner) const;

private:
  std::unique_ptr<TPropertyTable> props_;
};

namespace classes_detail {
template <class C>
TMetaClass::Factory FactoryOf() {
  if constexpr (std::is_abstract_v<C>) {
    return nullptr;
  } else if constexpr (std::is_constructible_v<C, TComponent*>) {
    return [](TComponent* o) -> TObject* { return new C(o); };
  } else if constexpr (std::is_default_constructible_v<C>) {
    return [](TComponent*) -> TObject* { return new C(); };
  } else {
    return nullptr;
  }
}

// The class's own static DefineProperties(TPropertyTable&), or nullptr when it has
// none or only inherits its parent's.
template <class C, class = void>
struct StaticDefiner {
  static constexpr void (*Get())(TPropertyTable&) { return nullptr; }
};
template <class C>
struct StaticDefiner<C, std::void_t<decltype(static_cast<void (*)(TPropertyTable&)>(&C::DefineProperties))>> {
  static constexpr void (*Get())(TPropertyTable&) { return static_cast<void (*)(TPropertyTable&)>(&C::DefineProperties); }
};
template <class C, class P>
void (*OwnDefiner())(TPropertyTable&) {
  auto* own = StaticDefiner<C>::Get();
  return own != StaticDefiner<P>::Get() ? own : nullptr;
}
}  // namespace classes_detail

// In the class body: DECLARE_CLASS(TFoo, TBar). In one source file:
// IMPLEMENT_CLASS(TFoo, TBar) or, with published properties defined by
// `static void DefineProperties(TPropertyTable&)`, IMPLEMENT_CLASS_PROPS(TFoo, TBar).
#define DECLARE_CLASS(Cls, Parent)                          \
public:                                                     \
  using inherited = Parent;                                 \
  static TClass StaticClass();                              \
  TClass ClassType() const override { return StaticClass(); }

#define IMPLEMENT_CLASS(Cls, Parent)                                                        \
  TClass Cls::StaticClass() {                                                               \
    static const TMetaClass meta(#Cls, Parent::StaticClass(), classes_detail::FactoryOf<Cls>(), \
                                 nullptr, classes_detail::OwnDefiner<Cls, Parent>());       \
    return &meta;                                                                           \
  }

#define IMPLEMENT_CLASS_PROPS(Cls, Parent)                                                  \
  TClass Cls::StaticClass() {                                                               \
    static const TMetaClass meta(#Cls, Parent::StaticClass(), classes_detail::FactoryOf<Cls>(), \
                                 &Cls::DefineProperties);                                   \
    return &meta;                                                                           \
  }

class TObject {
public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  // An object's class is asked with dynamic_cast; the metaclass answers for classes
  // held as values (TClass), through TMetaClass::InheritsFrom.
  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
};

// ---------------------------------------------------------------------------
// Class registry: streaming and editors find classes by name (case-insensitive).
void RegisterClass(TClass c);
void RegisterClasses(std::initializer_list<TClass> cs);
void UnRegisterClass(TClass c);
TClass GetClass(const std::string& name);   // nullptr when unknown
TClass FindClass(const std::string& name);  // EClassNotFound "Class %s not found"
// Every registered class, by name.
std::vector<TClass> GetRegisteredClasses();

// ---------------------------------------------------------------------------
// Events: a handler plus the name of the method it stands for (kept for streaming).
template <class Sig>
class TEvent;
template <class R, class... A>
class TEvent<R(A...)> {
public:
  TEvent() = default;
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, A...>>>
  TEvent(F f, std::string method = {}) : Handler(std::move(f)), MethodName(std::move(method)) {}
  template <class C>
  TEvent(C* obj, R (C::*m)(A...), std::string method = {})
      : Handler([obj, m](A... a) -> R { return (obj->*m)(std::forward<A>(a)...); }),
        MethodName(std::move(method)) {}
  bool Assigned() const { return static_cast<bool>(Handler); }
  explicit operator bool() const { return Assigned(); }
  R operator()(A... a) const { return Handler(std::forward<A>(a)...); }
  void Clear() { Handler = nullptr; MethodName.clear(); }

  std::function<R(A...)> Handler;
  std::string MethodName;
};
using TNotifyEvent = TEvent<void(TObject* Sender)>;

// ---------------------------------------------------------------------------
struct TPropDefaults;

class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
public:
  TPersistent();
  ~TPersistent() override;
  // Copies Source into this object; EConvertError "Cannot assign a %s to a %s"
  // when neither side knows how.
  virtual void Assign(TPersistent* Source);
  virtual TPersistent* GetOwner() { return nullptr; }
  virtual std::string GetNamePath();

  // Data a class stores beside its published properties (platform/filer.h); the
  // writer calls it after the published ones. The base defines none.
  virtual void DefineProperties(TFiler* Filer);

protected:
  virtual void AssignTo(TPersistent* Dest);

private:
  // Defaults of this object where its owner started it otherwise than its class
  // declares (typinfo.h: RecordDefaults).
  friend void RecordDefaults(TPersistent* Obj);
  friend const TPropDefaults* InstanceDefaults(const TPersistent* Obj);
  std::unique_ptr<TPropDefaults> defaults_;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csUpdating = 1u << 5,
  csFreeNotification = 1u << 6,
};

// A component is freed by its owner. Freeing it tells every component that asked
// through FreeNotification, then frees what it owns (last created first).
class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // EComponentError for an invalid identifier or a name already used in the owner.
  virtual void SetName(const std::string& NewName);
  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  // Moves the component to Value among its owner's components (clamped to the
  // list; nothing without an owner): the order they are freed and written in.
  void SetComponentIndex(int Value);
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  unsigned ComponentState() const { return state_; }
  bool HasState(unsigned flags) const { return (state_ & flags) != 0; }
  // Marks the component (and what it owns) as being read, then Loaded() at the end.
  void BeginLoading();
  void EndLoading();

  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t v) { tag_ = v; }
  TPersistent* GetOwner() override { return owner_; }
  std::string GetNamePath() override { return name_; }

  static void DefineProperties(TPropertyTable& t);
  using TPersistent::DefineProperties;
  // The components this one writes after itself in a component stream (the base: none).
  virtual void GetChildren(const std::function<void(TComponent* Child)>& Proc, TComponent* Root);

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();
  void SetState(unsigned flags) { state_ |= flags; }
  void ClearState(unsigned flags) { state_ &= ~flags; }
  // Tells every owned component, and those that asked, about an insertion or removal.
  void NotifyAll(TComponent* AComponent, TOperation Operation);

private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  unsigned state_ = 0;
  std::intptr_t tag_ = 0;
};

bool IsValidIdent(const std::string& s);

// ---------------------------------------------------------------------------
// A list of pointers with the class library's index checks.
template <class T>
class TListOf {
public:
  int Count() const { return int(items_.size()); }
  T Items(int i) const { Check(i); return items_[size_t(i)]; }
  T operator[](int i) const { return Items(i); }
  void SetItem(int i, T v) { Check(i); items_[size_t(i)] = v; }
  int Add(T v) { items_.push_back(v); return Count() - 1; }
  void Insert(int i, T v) {
    if (i < 0 || i > Count()) Fail(i);
    items_.insert(items_.begin() + i, v);
  }
  void Delete(int i) { Check(i); items_.erase(items_.begin() + i); }
  int IndexOf(T v) const {
    auto it = std::find(items_.begin(), items_.end(), v);
    return it == items_.end() ? -1 : int(it - items_.begin());
  }
  int Remove(T v) { int i = IndexOf(v); if (i >= 0) Delete(i); return i; }
  void Exchange(int a, int b) { Check(a); Check(b); std::swap(items_[size_t(a)], items_[size_t(b)]); }
  void Move(int from, int to) { T v = Items(from); Delete(from); Insert(to, v); }
  void Clear() { items_.clear(); }
  T First() const { return Items(0); }
  T Last() const { return Items(Count() - 1); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  const std::vector<T>& Vector() const { return items_; }

private:
  void Check(int i) const { if (i < 0 || i >= Count()) Fail(i); }
  [[noreturn]] static void Fail(int i) { throw EListError(Format("List index out of bounds (%d)", i)); }
  std::vector<T> items_;
};
using TList = TListOf<void*>;

// ---------------------------------------------------------------------------
class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)
public:
  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual TObject* GetObject(int Index) const { (void)Index; return nullptr; }
  virtual void PutObject(int Index, TObject* AObject) { (void)Index; (void)AObject; }
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int IndexOf(const std::string& S) const;  // case-insensitive
  int IndexOfObject(TObject* AObject) const;
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  void AddStrings(const TStrings* Strings);
  std::string Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  // Lines joined by line breaks, each line followed by one.
  std::string Text() const;
  void SetText(const std::string& Value);
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Assign(TPersistent* Source) override;
  bool Equals(const TStrings* other) const;
  // Text files: lines end with LF or CR LF when read and with LF when written;
  // EFOpenError / EFCreateError as TFileStream raises them.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  // Streams the lines as the list property "Strings".
  void DefineProperties(TFiler* Filer) override;

protected:
  virtual void SetUpdateState(bool Updating) { (void)Updating; }
  [[noreturn]] static void IndexError(int Index);

private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)
public:
  int Count() const override { return int(items_.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int AddObject(const std::string& S, TObject* AObject) override;
  int IndexOf(const std::string& S) const override;
  void Exchange(int a, int b);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  // Frees the objects it holds when cleared or freed.
  bool OwnsObjects = false;
  ~TStringList() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool Updating) override;
  void Changed();
  void Changing();

private:
  int FindSorted(const std::string& S, bool& found) const;
  std::vector<std::pair<std::string, TObject*>> items_;
  bool sorted_ = false;
};

// ---------------------------------------------------------------------------
enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)
public:
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
  virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t p) { Seek(p, soBeginning); }
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t NewSize);
  // EReadError "Stream read error" / EWriteError "Stream write error" when short.
  void ReadBuffer(void* Buffer, std::int64_t Count);
  void WriteBuffer(const void* Buffer, std::int64_t Count);
  // Count 0 copies the whole source from its start.
  std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

class TMemoryStream : public TStream {
  DECLARE_CLASS(TMemoryStream, TStream)
public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
  std::int64_t Size() override { return std::int64_t(data_.size()); }
  void SetSize(std::int64_t NewSize) override;
  void Clear();
  std::uint8_t* Memory() { return data_.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return data_; }
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToStream(TStream* Stream);
  void SaveToFile(const std::string& FileName);

private:
  std::vector<std::uint8_t> data_;
  std::int64_t pos_ = 0;
};

constexpr std::uint16_t fmCreate = 0xFF00;
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;

class TFileStream : public TStream {
  DECLARE_CLASS(TFileStream, TStream)
public:
  // EFCreateError / EFOpenError with the file name and the system's reason.
  TFileStream(const std::string& FileName, std::uint16_t Mode);
  // Over an open file the caller keeps (and closes); errors name FileName.
  TFileStream(int Handle, const std::string& FileName);
  ~TFileStream() override;
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(std::int64_t NewSize) override;
  const std::string& FileName() const { return fileName_; }

private:
  int fd_ = -1;
  std::string fileName_;
  bool owned_ = true;
};

// A new empty file beside FileName, under a name of its own ("FILE.xxxxxx.part",
// created exclusively, so writers of one file at once never share it), with the
// mode of FileName when that exists, else the usual mode for a new file. Answers
// its name; EFCreateError when it cannot be made.
std::string CreateFileBeside(const std::string& FileName);
// Creates FileName through Write: the stream is a file of its own in FileName's
// folder, unnamed where the file system allows it (else as CreateFileBeside names
// it), flushed to the disk and put in FileName's place once Write returns, so a
// failure (or a writer killed meanwhile, where the file is unnamed) leaves neither a
// half-written file nor a damaged old one. The new file takes the mode of the one it
// replaces; a file the caller may not write is refused. Every error names FileName
// with the system's reason: EFCreateError, or EWriteError from the stream.
void SaveStreamToFile(const std::string& FileName, const std::function<void(TStream*)>& Write);
