#include "platform/registry.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

// The store is one text file, rewritten whole (through a rename) on every write:
//   [HKCU\SOFTWARE\Key\Path]
//   "Name"=dword:13
//   "Text"=sz:"escaped \" text"
//   "Blob"=hex:0a0b
// It is small, and reading it anew each time keeps several TRegistry objects consistent.

namespace {

std::mutex& StoreMutex() {
  static std::mutex m;
  return m;
}

std::string& RootOverride() {
  static std::string r;
  return r;
}

struct StoredValue {
  TRegDataType type = TRegDataType::rdUnknown;
  std::string name;
  long long i = 0;
  std::string s;
  std::vector<std::uint8_t> bin;
};

struct StoredKey {
  std::string path;
  std::map<std::string, StoredValue> values;  // by upper-case name
};

using StoreMap = std::map<std::string, StoredKey>;  // by upper-case full path

std::string StoreFile() { return RegistryRoot() + "/registry.txt"; }

std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == '"' || c == '\\') { r += '\\'; r += c; }
    else if (c == '\n') r += "\\n";
    else if (c == '\r') r += "\\r";
    else r += c;
  }
  return r;
}

// Reads a quoted, escaped string starting at s[i] == '"'; i ends after the closing quote.
bool Unquote(const std::string& s, size_t& i, std::string& out) {
  if (i >= s.size() || s[i] != '"') return false;
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') { ++i; return true; }
    if (c == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += c;
    }
  }
  return false;
}

StoreMap Load() {
  StoreMap st;
  std::ifstream in(StoreFile());
  std::string line;
  StoredKey* cur = nullptr;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string path = line.substr(1, line.size() - 2);
      cur = &st[UpperCase(path)];
      cur->path = path;
      continue;
    }
    if (!cur) continue;
    size_t i = 0;
    StoredValue v;
    if (!Unquote(line, i, v.name) || i >= line.size() || line[i] != '=') continue;
    std::string rest = line.substr(i + 1);
    if (rest.rfind("dword:", 0) == 0) {
      v.type = TRegDataType::rdInteger;
      v.i = std::strtoll(rest.c_str() + 6, nullptr, 10);
    } else if (rest.rfind("sz:", 0) == 0) {
      v.type = TRegDataType::rdString;
      size_t j = 3;
      Unquote(rest, j, v.s);
    } else if (rest.rfind("hex:", 0) == 0) {
      v.type = TRegDataType::rdBinary;
      for (size_t j = 4; j + 1 < rest.size(); j += 2)
        v.bin.push_back(std::uint8_t(std::strtoul(rest.substr(j, 2).c_str(), nullptr, 16)));
    } else {
      continue;
    }
    cur->values[UpperCase(v.name)] = v;
  }
  return st;
}

void MakeDirs(const std::string& dir) {
  std::string acc;
  std::stringstream ss(dir);
  std::string part;
  if (!dir.empty() && dir[0] == '/') acc = "";
  while (std::getline(ss, part, '/')) {
    if (part.empty()) continue;
    acc += "/" + part;
    ::mkdir(acc.c_str(), 0755);
  }
}

void Save(const StoreMap& st) {
  MakeDirs(RegistryRoot());
  std::string tmp = StoreFile() + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    for (auto& [_, key] : st) {
      out << '[' << key.path << "]\n";
      for (auto& [__, v] : key.values) {
        out << '"' << Escape(v.name) << "\"=";
        if (v.type == TRegDataType::rdInteger) out << "dword:" << v.i;
        else if (v.type == TRegDataType::rdString) out << "sz:\"" << Escape(v.s) << '"';
        else {
          out << "hex:";
          char b[3];
          for (auto x : v.bin) { std::snprintf(b, sizeof b, "%02x", x); out << b; }
        }
        out << '\n';
      }
    }
    if (!out) throw ERegistryException("Failed to write the settings store");
  }
  if (std::rename(tmp.c_str(), StoreFile().c_str()) != 0) throw ERegistryException("Failed to write the settings store");
}

std::string RootName(HKEY k) {
  switch (k) {
    case HKEY_CLASSES_ROOT: return "HKCR";
    case HKEY_LOCAL_MACHINE: return "HKLM";
    default: return "HKCU";
  }
}

std::string Normalize(std::string key) {
  while (!key.empty() && key.front() == '\\') key.erase(0, 1);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

void SetRegistryRoot(const std::string& folder) {
  std::lock_guard<std::mutex> lock(StoreMutex());
  RootOverride() = folder;
}

std::string RegistryRoot() {
  if (!RootOverride().empty()) return RootOverride();
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/phonark";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.config/phonark";
}

struct TRegistry::Value : StoredValue {};

IMPLEMENT_CLASS(TRegistry, TObject)

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY k) {
  CloseKey();
  root_ = k;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  std::string rel = Normalize(Key);
  std::string path = (!Key.empty() && Key[0] == '\\') || path_.empty() ? rel : path_ + "\\" + rel;
  std::string full = RootName(root_) + "\\" + path;
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  auto it = st.find(UpperCase(full));
  if (it == st.end()) {
    if (!CanCreate) return false;
    st[UpperCase(full)].path = full;
    Save(st);
  }
  path_ = path;
  open_ = true;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
  bool ok = OpenKey(Key, false);
  readOnly_ = ok;
  return ok;
}

void TRegistry::CloseKey() {
  path_.clear();
  open_ = false;
  readOnly_ = false;
}

bool TRegistry::KeyExists(const std::string& Key) {
  std::string full = UpperCase(RootName(root_) + "\\" + Normalize(Key));
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  for (auto& [k, _] : st)
    if (k == full || k.rfind(full + "\\", 0) == 0) return true;
  return false;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  std::string full = UpperCase(RootName(root_) + "\\" + Normalize(Key));
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  bool any = false;
  for (auto it = st.begin(); it != st.end();) {
    if (it->first == full || it->first.rfind(full + "\\", 0) == 0) { it = st.erase(it); any = true; }
    else ++it;
  }
  if (any) Save(st);
  return any;
}

bool TRegistry::Find(const std::string& Name, Value& out) {
  if (!open_) return false;
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  auto k = st.find(UpperCase(RootName(root_) + "\\" + path_));
  if (k == st.end()) return false;
  auto v = k->second.values.find(UpperCase(Name));
  if (v == k->second.values.end()) return false;
  static_cast<StoredValue&>(out) = v->second;
  return true;
}

void TRegistry::Store(const std::string& Name, const Value& v) {
  if (!open_ || readOnly_) throw ERegistryException(Format("Failed to set data for '%s'", Name));
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  std::string full = RootName(root_) + "\\" + path_;
  StoredKey& key = st[UpperCase(full)];
  key.path = full;
  StoredValue sv = v;
  sv.name = Name;
  key.values[UpperCase(Name)] = sv;
  Save(st);
}

bool TRegistry::ValueExists(const std::string& Name) {
  Value v;
  return Find(Name, v);
}

TRegDataType TRegistry::GetDataType(const std::string& Name) {
  Value v;
  return Find(Name, v) ? v.type : TRegDataType::rdUnknown;
}

bool TRegistry::DeleteValue(const std::string& Name) {
  if (!open_ || readOnly_) return false;
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  auto k = st.find(UpperCase(RootName(root_) + "\\" + path_));
  if (k == st.end() || !k->second.values.erase(UpperCase(Name))) return false;
  Save(st);
  return true;
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  if (!open_) return;
  std::lock_guard<std::mutex> lock(StoreMutex());
  StoreMap st = Load();
  auto k = st.find(UpperCase(RootName(root_) + "\\" + path_));
  if (k == st.end()) return;
  for (auto& [_, v] : k->second.values) Strings->Add(v.name);
}

namespace {
[[noreturn]] void Missing(const std::string& n) { throw ERegistryException(Format("Failed to get data for '%s'", n)); }
[[noreturn]] void WrongType(const std::string& n) { throw ERegistryException(Format("Invalid data type for '%s'", n)); }
}  // namespace

int TRegistry::ReadInteger(const std::string& Name) {
  Value v;
  if (!Find(Name, v)) Missing(Name);
  if (v.type != TRegDataType::rdInteger) WrongType(Name);
  return int(v.i);
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

std::string TRegistry::ReadString(const std::string& Name) {
  Value v;
  if (!Find(Name, v)) return {};
  if (v.type != TRegDataType::rdString) WrongType(Name);
  return v.s;
}

std::vector<std::uint8_t> TRegistry::ReadBinaryData(const std::string& Name) {
  Value v;
  if (!Find(Name, v)) Missing(Name);
  if (v.type != TRegDataType::rdBinary) WrongType(Name);
  return v.bin;
}

void TRegistry::WriteInteger(const std::string& Name, int Value_) {
  Value v;
  v.type = TRegDataType::rdInteger;
  v.i = Value_;
  Store(Name, v);
}

void TRegistry::WriteBool(const std::string& Name, bool Value_) { WriteInteger(Name, Value_ ? 1 : 0); }

void TRegistry::WriteString(const std::string& Name, const std::string& Value_) {
  Value v;
  v.type = TRegDataType::rdString;
  v.s = Value_;
  Store(Name, v);
}

void TRegistry::WriteBinaryData(const std::string& Name, const std::vector<std::uint8_t>& Value_) {
  Value v;
  v.type = TRegDataType::rdBinary;
  v.bin = Value_;
  Store(Name, v);
}
