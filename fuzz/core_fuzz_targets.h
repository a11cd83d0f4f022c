// Bodies of the fuzz targets on the plain C++ core (object stream text, number and
// date text, the settings file), shared by the libFuzzer entry points and by the
// test that replays their corpus. Each returns normally on any input; a reader that
// fails with anything but its own error, or breaks an invariant, traps.
#pragma once
#include <fstream>

#include "fuzz_common.h"
#include "platform/dateutils.h"
#include "platform/filer.h"
#include "platform/registry.h"
#include "platform/rtl.h"

namespace fuzzbody {

// Any bytes as a component stream: text out, or EReadError and nothing written.
inline void ObjectText(const std::uint8_t* data, std::size_t size) {
  TMemoryStream in, out;
  ToStream(in, data, size);
  try {
    ObjectBinaryToText(&in, &out);
  } catch (const EReadError&) {
    Check(out.Size() == 0);
  }
}

// Any text as a number, a picture format, a date and a date format.
inline void NumberText(const std::uint8_t* data, std::size_t size) {
  const std::string s = ToText(data, size);
  long double v = 0;
  const bool ok = TryStrToFloat(s, v);
  try {
    const long double w = StrToFloat(s);
    Check(ok && (w == v || (w != w && v != v)));
  } catch (const EConvertError&) {
    Check(!ok);
  }
  for (long double x : {0.0L, -1234.5678L, 1e300L, 5e-324L, v}) {
    try {
      FormatFloat(s, x);
    } catch (const EConvertError&) {
    }
  }
  TDateTime d = 0;
  const bool dok = TryStrToDateTime(s, d);
  try {
    const TDateTime e = StrToDateTime(s);
    Check(dok && e == d);
  } catch (const EConvertError&) {
    Check(!dok);
  }
  for (auto parse : {&StrToDate, &StrToTime}) {
    try {
      parse(s);
    } catch (const EConvertError&) {
    }
  }
  FormatDateTime(s, 45000.75);
}

// Any bytes as the settings file, then every key it names read back through the
// store by each value's type.
inline void Settings(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream f(RegistryRoot() + "/registry.txt", std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  const std::string text = ToText(data, size);
  std::size_t at = 0;
  for (int keys = 0; keys < 16 && at < text.size(); ++keys) {
    const std::size_t open = text.find('[', at), close = text.find(']', open == std::string::npos ? at : open);
    if (open == std::string::npos || close == std::string::npos) break;
    std::string path = text.substr(open + 1, close - open - 1);
    at = close + 1;
    TRegistry reg;
    const std::size_t slash = path.find('\\');
    const std::string root = path.substr(0, slash);
    reg.SetRootKey(root == "HKLM" ? HKEY_LOCAL_MACHINE : root == "HKCR" ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(slash == std::string::npos ? std::string() : path.substr(slash + 1))) continue;
    TStringList names;
    reg.GetValueNames(&names);
    for (int i = 0; i < names.Count(); ++i) {
      const std::string name = names.Get(i);
      Check(reg.ValueExists(name));
      switch (reg.GetDataType(name)) {
        case TRegDataType::rdInteger: reg.ReadInteger(name); break;
        case TRegDataType::rdString: reg.ReadString(name); break;
        case TRegDataType::rdBinary: reg.ReadBinaryData(name); break;
        case TRegDataType::rdUnknown: Check(false);
      }
    }
  }
}

}  // namespace fuzzbody
