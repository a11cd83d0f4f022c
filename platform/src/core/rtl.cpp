#include "platform/rtl.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

char DecimalSeparator = '.';
char ThousandSeparator = ',';

namespace {

[[noreturn]] void BadFormat(std::string_view fmt) {
  throw EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

std::string Pad(std::string s, int width, bool left) {
  if (width > 0 && int(s.size()) < width) {
    std::string fill(size_t(width) - s.size(), ' ');
    s = left ? s + fill : fill + s;
  }
  return s;
}

std::string GroupThousands(const std::string& digits) {
  std::string out;
  int n = int(digits.size());
  for (int i = 0; i < n; ++i) {
    out += digits[size_t(i)];
    int left = n - 1 - i;
    if (left > 0 && left % 3 == 0) out += ThousandSeparator;
  }
  return out;
}

// Decimal digits of a non-negative value: D[0].D[1]D[2]... x 10^Exp. Zero is "0", 0.
struct TDecimal {
  std::string D;
  int Exp = 0;
  bool Zero() const { return D == "0"; }
  // The digit standing for 10^power ('0' outside the digits held).
  char At(int power) const {
    const int i = Exp - power;
    return i >= 0 && i < int(D.size()) ? D[size_t(i)] : '0';
  }
};

// The number formats take a value's digits to 18 significant figures (the precision
// of extended) and round those half away from zero, as the class library does; the
// binary value itself is never rounded by the C library (which rounds ties to even).
constexpr int DecimalPrecision = 18;

TDecimal DecimalOf(long double v) {
  TDecimal d;
  if (!(v > 0)) { d.D.assign(1, '0'); return d; }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Le", DecimalPrecision - 1, v);  // d.ddd…e±x
  const char* e = std::strchr(buf, 'e');
  for (const char* c = buf; c < e; ++c)
    if (*c != '.') d.D += *c;
  d.Exp = std::atoi(e + 1);
  return d;
}

// Keeps `keep` significant digits, a 5 or more in the first dropped one rounding up.
void RoundDigits(TDecimal& d, int keep) {
  if (d.Zero() || keep >= int(d.D.size())) return;
  if (keep < 0 || (keep == 0 && d.D[0] < '5')) { d = TDecimal{"0", 0}; return; }
  const bool up = d.D[size_t(keep)] >= '5';
  d.D.resize(size_t(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.D[size_t(i)] == '9') d.D[size_t(i--)] = '0';
    if (i >= 0) ++d.D[size_t(i)];
    else { d.D.insert(d.D.begin(), '1'); ++d.Exp; }
  }
  while (d.D.size() > 1 && d.D.back() == '0') d.D.pop_back();
  if (d.D.empty() || d.D.find_first_not_of('0') == std::string::npos) d = TDecimal{"0", 0};
}

// |v| rounded to `places` digits after the point.
TDecimal RoundedFixed(long double v, int places) {
  TDecimal d = DecimalOf(std::fabs(v));
  RoundDigits(d, d.Exp + 1 + places);
  return d;
}

// The integer digits (at least "0") and `places` fraction digits of d.
std::string FixedText(const TDecimal& d, int places) {
  std::string s;
  for (int p = std::max(d.Exp, 0); p >= 0; --p) s += d.At(p);
  if (places > 0) {
    s += DecimalSeparator;
    for (int p = -1; p >= -places; --p) s += d.At(p);
  }
  return s;
}

std::string Fixed(long double v, int prec) {
  const TDecimal d = RoundedFixed(v, prec);
  std::string s = FixedText(d, prec);
  if (v < 0 && !d.Zero()) s.insert(s.begin(), '-');
  return s;
}

// d.ddd…E±xx with `digits` significant digits, as the %e directive writes it.
std::string Scientific(long double v, int digits) {
  TDecimal d = DecimalOf(std::fabs(v));
  RoundDigits(d, digits);
  std::string s = v < 0 && !d.Zero() ? "-" : "";
  s += d.D[0];
  if (digits > 1) {
    s += DecimalSeparator;
    for (int i = 1; i < digits; ++i) s += i < int(d.D.size()) ? d.D[size_t(i)] : '0';
  }
  char e[16];
  std::snprintf(e, sizeof e, "E%c%02d", d.Exp < 0 ? '-' : '+', std::abs(d.Exp));
  return s + e;
}

}  // namespace

std::string FormatV(std::string_view fmt, const std::vector<TVarRec>& args) {
  std::string out;
  size_t argi = 0;
  auto next = [&]() -> const TVarRec& {
    if (argi >= args.size()) BadFormat(fmt);
    return args[argi++];
  };
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') { out += c; continue; }
    if (++i >= fmt.size()) BadFormat(fmt);
    if (fmt[i] == '%') { out += '%'; continue; }
    bool left = false;
    int width = -1, prec = -1;
    // Optional "index:" selects the argument.
    size_t j = i;
    while (j < fmt.size() && std::isdigit((unsigned char)fmt[j])) ++j;
    if (j < fmt.size() && fmt[j] == ':' && j > i) {
      argi = size_t(std::atoi(std::string(fmt.substr(i, j - i)).c_str()));
      i = j + 1;
    }
    if (i < fmt.size() && fmt[i] == '-') { left = true; ++i; }
    auto readNum = [&]() -> int {
      if (i < fmt.size() && fmt[i] == '*') {
        ++i;
        const TVarRec& a = next();
        if (auto p = std::get_if<long long>(&a)) return int(*p);
        BadFormat(fmt);
      }
      int n = -1;
      while (i < fmt.size() && std::isdigit((unsigned char)fmt[i])) n = (n < 0 ? 0 : n * 10) + (fmt[i++] - '0');
      return n;
    };
    width = readNum();
    if (i < fmt.size() && fmt[i] == '.') { ++i; prec = readNum(); if (prec < 0) prec = 0; }
    if (i >= fmt.size()) BadFormat(fmt);
    char conv = char(std::tolower((unsigned char)fmt[i]));
    const TVarRec& a = next();
    std::string s;
    switch (conv) {
      case 'd': case 'u': {
        long long v;
        if (auto p = std::get_if<long long>(&a)) v = *p;
        else if (auto q = std::get_if<unsigned long long>(&a)) v = (long long)*q;
        else BadFormat(fmt);
        bool neg = v < 0;
        std::string d = std::to_string(neg ? -(unsigned long long)v : (unsigned long long)v);
        if (prec > 0 && int(d.size()) < prec) d = std::string(size_t(prec) - d.size(), '0') + d;
        s = (neg ? "-" : "") + d;
        break;
      }
      case 'x': {
        unsigned long long v;
        if (auto p = std::get_if<long long>(&a)) v = (unsigned long long)*p;
        else if (auto q = std::get_if<unsigned long long>(&a)) v = *q;
        else BadFormat(fmt);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%llX", v);
        s = buf;
        if (prec > 0 && int(s.size()) < prec) s = std::string(size_t(prec) - s.size(), '0') + s;
        break;
      }
      case 's': {
        if (auto p = std::get_if<std::string>(&a)) s = *p; else BadFormat(fmt);
        if (prec >= 0 && int(s.size()) > prec) s.resize(size_t(prec));
        break;
      }
      case 'f': case 'n': case 'm': case 'e': case 'g': {
        long double v;
        if (auto p = std::get_if<long double>(&a)) v = *p;
        else if (auto q = std::get_if<long long>(&a)) v = (long double)*q;
        else BadFormat(fmt);
        if (conv == 'f') s = Fixed(v, prec < 0 ? 2 : prec);
        else if (conv == 'n' || conv == 'm') {
          std::string f = Fixed(std::fabs(v), prec < 0 ? 2 : prec);
          size_t dot = f.find(DecimalSeparator);
          std::string ip = f.substr(0, dot), fp = dot == std::string::npos ? "" : f.substr(dot);
          s = (v < 0 ? "-" : "") + GroupThousands(ip) + fp;
        } else if (conv == 'e') {
          s = Scientific(v, std::max(prec < 0 ? 15 : prec, 1));
        } else {
          s = FloatToStr(v);
        }
        break;
      }
      case 'p': {
        const void* p = nullptr;
        if (auto q = std::get_if<const void*>(&a)) p = *q; else BadFormat(fmt);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%08llX", (unsigned long long)(uintptr_t)p);
        s = buf;
        break;
      }
      default: BadFormat(fmt);
    }
    out += Pad(s, width, left);
  }
  return out;
}

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

std::vector<std::string> SplitSections(std::string_view f) {
  std::vector<std::string> secs(1);
  char quote = 0;
  for (char c : f) {
    if (quote) { if (c == quote) quote = 0; secs.back() += c; continue; }
    if (c == '"' || c == '\'') { quote = c; secs.back() += c; continue; }
    if (c == ';') { secs.emplace_back(); continue; }
    secs.back() += c;
  }
  return secs;
}

struct Picture {
  std::string prefix, suffix;   // literal text around the number
  int intZeros = 0;             // digits from the first '0' to the point
  int intDigits = 0;            // '0' and '#' before the point
  int fracMin = 0, fracMax = 0; // '0' and '0'+'#' after the point
  bool hasPoint = false, thousands = false;
  bool sci = false, sciPlus = false;
  char sciChar = 'E';
  int expDigits = 0;
  bool anyDigit = false;
};

Picture Parse(const std::string& sec) {
  Picture p;
  bool afterPoint = false, seenDigit = false, inExp = false;
  int firstZero = -1;
  std::string* lit = &p.prefix;
  char quote = 0;
  for (size_t i = 0; i < sec.size(); ++i) {
    char c = sec[i];
    if (quote) { if (c == quote) quote = 0; else *lit += c; continue; }
    if (c == '"' || c == '\'') { quote = c; continue; }
    if (inExp) {
      if (c == '0') { ++p.expDigits; continue; }
      inExp = false;
      lit = &p.suffix;
    }
    if (c == '0' || c == '#') {
      seenDigit = p.anyDigit = true;
      lit = &p.suffix;
      if (afterPoint) { ++p.fracMax; if (c == '0') p.fracMin = p.fracMax; }
      else {
        if (c == '0' && firstZero < 0) firstZero = p.intDigits;
        ++p.intDigits;
      }
      continue;
    }
    if (c == '.' && !afterPoint) { afterPoint = p.hasPoint = true; lit = &p.suffix; continue; }
    if (c == ',' && !afterPoint) { if (seenDigit) p.thousands = true; continue; }
    if ((c == 'E' || c == 'e') && i + 1 < sec.size() && (sec[i + 1] == '+' || sec[i + 1] == '-') && seenDigit) {
      p.sci = true; p.sciChar = c; p.sciPlus = sec[i + 1] == '+';
      ++i; inExp = true;
      continue;
    }
    *lit += c;
  }
  // "#0" needs one integer digit, "0#" two: count from the first '0'.
  p.intZeros = firstZero < 0 ? 0 : p.intDigits - firstZero;
  return p;
}

// The picture's digits of d, already rounded to p.fracMax places.
std::string Digits(const TDecimal& d, const Picture& p) {
  std::string f = FixedText(d, p.fracMax);
  size_t dot = f.find(DecimalSeparator);
  std::string ip = dot == std::string::npos ? f : f.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : f.substr(dot + 1);
  while (int(fp.size()) > p.fracMin && !fp.empty() && fp.back() == '0') fp.pop_back();
  // Leading zeros of the integer part only as many as the picture asks.
  size_t nz = 0;
  while (nz < ip.size() && ip[nz] == '0') ++nz;
  ip = ip.substr(nz);
  if (int(ip.size()) < p.intZeros) ip = std::string(size_t(p.intZeros) - ip.size(), '0') + ip;
  if (p.thousands && !ip.empty()) ip = GroupThousands(ip);
  std::string out = ip;
  if (!fp.empty()) out += DecimalSeparator + fp;
  if (out.empty() && p.intDigits == 0 && p.fracMax == 0) out.push_back('0');
  return out;
}

// v >= 0: the mantissa has the picture's integer places (at least one) and is
// rounded to its fraction places, a carry moving it to the next decade.
std::string Sci(long double v, const Picture& p) {
  const int intPlaces = p.intDigits > 0 ? p.intDigits : 1;
  TDecimal d = DecimalOf(v);
  RoundDigits(d, intPlaces + p.fracMax);
  int exp = 0;
  if (!d.Zero()) {
    exp = d.Exp - (intPlaces - 1);
    d.Exp = intPlaces - 1;
  }
  Picture mp = p;
  mp.sci = false;
  std::string m = Digits(d, mp);
  if (m.empty() || m[0] == DecimalSeparator) m = "0" + m;
  std::string e = std::to_string(std::abs(exp));
  if (int(e.size()) < p.expDigits) e = std::string(size_t(p.expDigits) - e.size(), '0') + e;
  std::string sign = exp < 0 ? "-" : (p.sciPlus ? "+" : "");
  return m + p.sciChar + sign + e;
}

bool RoundsToZero(long double v, const Picture& p) {
  if (v == 0) return true;
  if (p.sci) return false;
  return RoundedFixed(v, p.fracMax).Zero();
}

}  // namespace

std::string FormatFloat(std::string_view format, long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (format.empty()) return FloatToStr(value);
  std::vector<std::string> secs = SplitSections(format);
  Picture first = Parse(secs[0]);
  const std::string* sec = &secs[0];
  bool negSection = false;
  if (RoundsToZero(value, first)) {
    if (secs.size() >= 3 && !secs[2].empty()) sec = &secs[2];
    value = 0;
  } else if (value < 0 && secs.size() >= 2 && !secs[1].empty()) {
    sec = &secs[1];
    negSection = true;
  }
  Picture p = sec == &secs[0] ? first : Parse(*sec);
  if (!p.anyDigit) return p.prefix + p.suffix;
  bool neg = value < 0 && !negSection;
  long double a = std::fabs(value);
  std::string num = p.sci ? Sci(a, p) : Digits(RoundedFixed(a, p.fracMax), p);
  if (neg && RoundsToZero(a, p)) neg = false;
  return (neg ? "-" : "") + p.prefix + num + p.suffix;
}

std::string FloatToStr(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // Up to 15 significant digits; exponent form below 1E-4 and from 1E15 on.
  constexpr int Precision = 15;
  TDecimal d = DecimalOf(std::fabs(value));
  RoundDigits(d, Precision);
  std::string s = value < 0 ? "-" : "";
  if (d.Exp < -4 || d.Exp >= Precision) {
    s += d.D[0];
    if (d.D.size() > 1) s += DecimalSeparator + d.D.substr(1);
    return s + "E" + std::to_string(d.Exp);
  }
  const int places = std::max(int(d.D.size()) - 1 - d.Exp, 0);
  return s + FixedText(d, places);
}

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(unsigned long long value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, value);
  return buf;
}

bool TryStrToInt(std::string_view s, long long& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  size_t i = 0;
  bool neg = false;
  if (t[0] == '-' || t[0] == '+') { neg = t[0] == '-'; i = 1; }
  int base = 10;
  if (i < t.size() && t[i] == '$') { base = 16; ++i; }
  else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) { base = 16; i += 2; }
  if (i >= t.size()) return false;
  unsigned long long v = 0;
  for (; i < t.size(); ++i) {
    int d;
    char c = t[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && std::isxdigit((unsigned char)c)) d = std::toupper((unsigned char)c) - 'A' + 10;
    else return false;
    v = v * unsigned(base) + unsigned(d);
    if (v > 0x8000000000000000ull) return false;
  }
  if (!neg && v > 0x7FFFFFFFFFFFFFFFull) return false;
  out = neg ? (long long)(0 - v) : (long long)v;
  return true;
}

long long StrToInt(std::string_view s) {
  long long v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

long long StrToIntDef(std::string_view s, long long def) {
  long long v;
  return TryStrToInt(s, v) ? v : def;
}

bool TryStrToFloat(std::string_view s, long double& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  for (char& c : t) if (c == DecimalSeparator) c = '.';
  char* end = nullptr;
  out = std::strtold(t.c_str(), &end);
  return end && *end == 0;
}

long double StrToFloat(std::string_view s) {
  long double v;
  if (!TryStrToFloat(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
  return v;
}

long long Round(long double v) {
  // The whole part by truncation and the fraction left (both exact at any precision
  // the arithmetic runs at), then half to even, as nearbyint rounds by default,
  // without the library call (pixel positions round a few hundred times a drawing).
  if (!(std::fabs(v) < 4611686018427387904.0L)) return (long long)std::nearbyint(v);
  const long long whole = (long long)v;
  const long double fraction = v - (long double)whole;
  if (fraction > 0.5L || (fraction == 0.5L && (whole & 1))) return whole + 1;
  if (fraction < -0.5L || (fraction == -0.5L && (whole & 1))) return whole - 1;
  return whole;
}
long long Trunc(long double v) { return (long long)v; }

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = char(std::toupper((unsigned char)c));
  return r;
}
std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = char(std::tolower((unsigned char)c));
  return r;
}
int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::toupper((unsigned char)a[i]), y = std::toupper((unsigned char)b[i]);
    if (x != y) return x - y;
  }
  return int(a.size()) - int(b.size());
}
bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }
std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (unsigned char)s[b] <= ' ') ++b;
  while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
  return std::string(s.substr(b, e - b));
}
std::string StringOfChar(char c, int count) { return count > 0 ? std::string(size_t(count), c) : std::string(); }

namespace {
// Worker threads read these while the main thread may install a clock.
std::atomic<TClock*> installedClock{nullptr};
std::atomic<std::thread::id> clockThread{};

std::int64_t RealMicroseconds() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

void SetClock(TClock* Clock) {
  clockThread.store(std::this_thread::get_id());
  installedClock.store(Clock);
}

TClock* CurrentClock() {
  TClock* c = installedClock.load();
  return c && clockThread.load() == std::this_thread::get_id() ? c : nullptr;
}

void Sleep(unsigned milliseconds) {
  if (TClock* c = CurrentClock()) return c->Sleep(milliseconds);
  if (milliseconds == 0) { std::this_thread::yield(); return; }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint32_t GetTickCount() { return std::uint32_t(GetMicroseconds() / 1000); }

std::int64_t GetMicroseconds() {
  if (TClock* c = CurrentClock()) return c->Microseconds();
  return RealMicroseconds();
}

namespace {
size_t LastSep(std::string_view n) {
  size_t p = n.find_last_of("/\\");
  return p;
}
}  // namespace

std::string ExtractFilePath(std::string_view name) {
  size_t p = LastSep(name);
  return p == std::string_view::npos ? std::string() : std::string(name.substr(0, p + 1));
}
std::string ExtractFileName(std::string_view name) {
  size_t p = LastSep(name);
  return std::string(p == std::string_view::npos ? name : name.substr(p + 1));
}
std::string ExtractFileExt(std::string_view name) {
  size_t p = name.find_last_of("./\\");
  if (p == std::string_view::npos || name[p] != '.') return {};
  return std::string(name.substr(p));
}
std::string ChangeFileExt(std::string_view name, std::string_view ext) {
  size_t p = name.find_last_of("./\\");
  std::string base(p != std::string_view::npos && name[p] == '.' ? name.substr(0, p) : name);
  return base + std::string(ext);
}
bool FileExists(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
bool DeleteFile(const std::string& name) { return ::unlink(name.c_str()) == 0; }
