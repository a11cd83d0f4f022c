// Typed, file-backed settings store in the manner of the system registry.
// Keys are backslash paths such as "SOFTWARE\\Velmora Software\\LumChart Pro\\Editor";
// values keep their type (integer, string, Boolean as integer, binary).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/classes.h"

enum class TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Where the store lives: $XDG_CONFIG_HOME/phonark (or ~/.config/phonark) unless redirected.
void SetRegistryRoot(const std::string& folder);
std::string RegistryRoot();

class TRegistry : public TObject {
  DECLARE_CLASS(TRegistry, TObject)
public:
  TRegistry();
  ~TRegistry() override;

  HKEY RootKey() const { return root_; }
  void SetRootKey(HKEY k);
  // False when the key is missing and CanCreate is false.
  bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  void CloseKey();
  bool KeyExists(const std::string& Key);
  bool DeleteKey(const std::string& Key);
  const std::string& CurrentPath() const { return path_; }

  bool ValueExists(const std::string& Name);
  TRegDataType GetDataType(const std::string& Name);
  bool DeleteValue(const std::string& Name);
  void GetValueNames(TStrings* Strings);

  // ERegistryException "Invalid data type for '%s'" when the value has another type,
  // "Failed to get data for '%s'" when it is missing.
  int ReadInteger(const std::string& Name);
  bool ReadBool(const std::string& Name);
  std::string ReadString(const std::string& Name);
  std::vector<std::uint8_t> ReadBinaryData(const std::string& Name);
  // ERegistryException "Failed to set data for '%s'" without an open key or when read-only.
  void WriteInteger(const std::string& Name, int Value);
  void WriteBool(const std::string& Name, bool Value);
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteBinaryData(const std::string& Name, const std::vector<std::uint8_t>& Value);

private:
  struct Value;
  bool Find(const std::string& Name, Value& out);
  void Store(const std::string& Name, const Value& v);
  HKEY root_ = HKEY_CURRENT_USER;
  std::string path_;
  bool open_ = false;
  bool readOnly_ = false;
};
