#include "engine/settings.h"

#include "platform/registry.h"

const char* const LumEditorKey = "SOFTWARE\\Velmora Software\\LumChart Pro\\Editor";

namespace {
// Opens the editor key for reading; false when it does not exist.
bool OpenForRead(TRegistry& Reg, const std::string& Name) {
  Reg.SetRootKey(HKEY_CURRENT_USER);
  return Reg.OpenKeyReadOnly(LumEditorKey) && Reg.ValueExists(Name);
}

void OpenForWrite(TRegistry& Reg) {
  Reg.SetRootKey(HKEY_CURRENT_USER);
  Reg.OpenKey(LumEditorKey, true);
}
}  // namespace

bool ReadEditorBooleanSetting(const std::string& Name, bool Default) {
  TRegistry reg;
  return OpenForRead(reg, Name) ? reg.ReadBool(Name) : Default;
}

int ReadEditorIntegerSetting(const std::string& Name, int Default) {
  TRegistry reg;
  return OpenForRead(reg, Name) ? reg.ReadInteger(Name) : Default;
}

std::string ReadEditorStringSetting(const std::string& Name, const std::string& Default) {
  TRegistry reg;
  return OpenForRead(reg, Name) ? reg.ReadString(Name) : Default;
}

void WriteEditorBooleanSetting(const std::string& Name, bool Value) {
  TRegistry reg;
  OpenForWrite(reg);
  reg.WriteBool(Name, Value);
}

void WriteEditorIntegerSetting(const std::string& Name, int Value) {
  TRegistry reg;
  OpenForWrite(reg);
  reg.WriteInteger(Name, Value);
}
