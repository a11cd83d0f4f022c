// Run-time library: exceptions, number formatting, conversions, time, file names.
#pragma once
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Base of every exception the system raises; Message is what the user sees.
class Exception : public std::exception {
public:
  explicit Exception(std::string msg) : Message(std::move(msg)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  // Name of the concrete class, for messages and tests.
  virtual const char* ClassName() const { return "Exception"; }
  std::string Message;
};

#define PHONARK_EXCEPTION(Name, Base)                                  \
  class Name : public Base {                                           \
  public:                                                              \
    using Base::Base;                                                  \
    const char* ClassName() const override { return #Name; }           \
  }

PHONARK_EXCEPTION(EAbort, Exception);
PHONARK_EXCEPTION(EConvertError, Exception);
PHONARK_EXCEPTION(EListError, Exception);
PHONARK_EXCEPTION(EStringListError, Exception);
PHONARK_EXCEPTION(EInvalidOperation, Exception);
PHONARK_EXCEPTION(EInvalidPointer, Exception);
PHONARK_EXCEPTION(EComponentError, Exception);
PHONARK_EXCEPTION(EClassNotFound, Exception);
PHONARK_EXCEPTION(EPropertyError, Exception);
PHONARK_EXCEPTION(EStreamError, Exception);
PHONARK_EXCEPTION(EFCreateError, EStreamError);
PHONARK_EXCEPTION(EFOpenError, EStreamError);
PHONARK_EXCEPTION(EReadError, EStreamError);
PHONARK_EXCEPTION(EWriteError, EStreamError);
PHONARK_EXCEPTION(EOutOfMemory, Exception);
PHONARK_EXCEPTION(EOutOfResources, Exception);
PHONARK_EXCEPTION(EInvalidGraphic, Exception);
PHONARK_EXCEPTION(EInvalidGraphicOperation, Exception);
PHONARK_EXCEPTION(ERegistryException, Exception);
PHONARK_EXCEPTION(EThread, Exception);
PHONARK_EXCEPTION(EMathError, Exception);
PHONARK_EXCEPTION(EZeroDivide, EMathError);

// ---- Format: %d %u %x %s %f %g %e %n with width, precision, '-' and '*'. ----
using TVarRec = std::variant<long long, unsigned long long, long double, std::string, const void*>;

std::string FormatV(std::string_view fmt, const std::vector<TVarRec>& args);

namespace rtl_detail {
inline TVarRec ToVar(bool v) { return (long long)v; }
inline TVarRec ToVar(char v) { return std::string(1, v); }
inline TVarRec ToVar(int v) { return (long long)v; }
inline TVarRec ToVar(long v) { return (long long)v; }
inline TVarRec ToVar(long long v) { return v; }
inline TVarRec ToVar(unsigned v) { return (unsigned long long)v; }
inline TVarRec ToVar(unsigned long v) { return (unsigned long long)v; }
inline TVarRec ToVar(unsigned long long v) { return v; }
inline TVarRec ToVar(float v) { return (long double)v; }
inline TVarRec ToVar(double v) { return (long double)v; }
inline TVarRec ToVar(long double v) { return v; }
inline TVarRec ToVar(const char* v) { return std::string(v ? v : ""); }
inline TVarRec ToVar(const std::string& v) { return v; }
inline TVarRec ToVar(std::string_view v) { return std::string(v); }
inline TVarRec ToVar(const void* v) { return v; }
}  // namespace rtl_detail

// Raises EConvertError when a directive does not fit its argument.
template <class... A>
std::string Format(std::string_view fmt, const A&... args) {
  return FormatV(fmt, {rtl_detail::ToVar(args)...});
}

// ---- Numbers ----
// Decimal and thousands separators used by the formatting routines.
extern char DecimalSeparator;
extern char ThousandSeparator;

// Picture formats with 0 # . , E+ E- e+ e- "quoted" 'quoted' and up to three ';' sections.
std::string FormatFloat(std::string_view format, long double value);
// Shortest general form with up to 15 significant digits ("0.5", "1E-5", "1E20").
std::string FloatToStr(long double value);
// FloatToStr(Value) appended to Out, much faster for a value that is a double.
void AppendFloatToStr(std::string& Out, double Value);
std::string IntToStr(long long value);
std::string IntToHex(unsigned long long value, int digits);
long long StrToInt(std::string_view s);                  // EConvertError on bad text
long long StrToIntDef(std::string_view s, long long def);
bool TryStrToInt(std::string_view s, long long& out);
long double StrToFloat(std::string_view s);              // EConvertError on bad text
bool TryStrToFloat(std::string_view s, long double& out);

// Half to even, as the floating-point unit's default mode rounds.
long long Round(long double v);
long long Trunc(long double v);

// ---- Strings ----
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);
std::string StringOfChar(char c, int count);

// ---- Time ----
void Sleep(unsigned milliseconds);
// Milliseconds since an arbitrary start, from a monotonic clock.
std::uint32_t GetTickCount();
// Microseconds, for measurements.
std::int64_t GetMicroseconds();

// The clock behind Sleep, GetTickCount and GetMicroseconds on the thread that
// installs it (the main thread); other threads always use the real clock. The
// message loop keeps its time by the same clock, so a test that puts in a clock of
// its own (TestInput::TSteppedClock) runs a program that paces itself by Sleep
// the same way on a loaded machine as on an idle one.
class TClock {
public:
  virtual ~TClock() = default;
  virtual std::int64_t Microseconds() = 0;
  virtual void Sleep(unsigned Milliseconds) = 0;
};
// Installs Clock for the calling thread; nullptr puts the real clock back.
void SetClock(TClock* Clock);
// The clock the calling thread uses, or nullptr for the real one.
TClock* CurrentClock();

// ---- File names ('/' separated; '\\' also accepted as a separator) ----
std::string ExtractFilePath(std::string_view name);   // keeps the trailing separator
std::string ExtractFileName(std::string_view name);
std::string ExtractFileExt(std::string_view name);    // with the dot, "" when none
std::string ChangeFileExt(std::string_view name, std::string_view ext);
bool FileExists(const std::string& name);
bool DeleteFile(const std::string& name);
