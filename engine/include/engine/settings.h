// The chart library's editor settings, kept in the settings store under
// "SOFTWARE\Velmora Software\LumChart Pro\Editor" of the current user.
#pragma once
#include <string>

extern const char* const LumEditorKey;

// The stored value, or Default when the key or the value is missing. A value of
// another type raises ERegistryException.
bool ReadEditorBooleanSetting(const std::string& Name, bool Default);
int ReadEditorIntegerSetting(const std::string& Name, int Default);
std::string ReadEditorStringSetting(const std::string& Name, const std::string& Default);

// Writes the value, creating the key when it is missing.
void WriteEditorBooleanSetting(const std::string& Name, bool Value);
void WriteEditorIntegerSetting(const std::string& Name, int Value);
