#include "platform/dateutils.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <ctime>

#include "platform/rtl.h"

TFormatSettings FormatSettings;

namespace {
// Days from 1970-01-01 of a civil date (proleptic Gregorian), and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, int& Year, int& Month, int& Day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  Day = int(doy - (153 * mp + 2) / 5 + 1);
  Month = int(mp < 10 ? mp + 3 : mp - 9);
  Year = int(yoe + era * 400 + (Month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long SerialZero = -25569;

std::string Pad(int Value, int Width) {
  std::string s = std::to_string(Value);
  while (int(s.size()) < Width) s.insert(s.begin(), '0');
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower((unsigned char)s[i]) != std::tolower((unsigned char)prefix[i])) return false;
  return true;
}

struct Parts {
  int year, month, day, hour, min, sec, msec, dow;
};

// Whether the format (outside quotes) asks for the 12-hour clock.
bool HasAmPm(std::string_view f) {
  char quote = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (quote) {
      if (f[i] == quote) quote = 0;
      continue;
    }
    if (f[i] == '"' || f[i] == '\'') {
      quote = f[i];
      continue;
    }
    const std::string_view rest = f.substr(i);
    if (StartsWithNoCase(rest, "am/pm") || StartsWithNoCase(rest, "a/p") || StartsWithNoCase(rest, "ampm")) return true;
  }
  return false;
}

void AppendFormat(std::string& out, std::string_view f, const Parts& p, double Value, int depth) {
  if (depth > 3) return;  // formats naming formats: no loops
  const bool twelve = HasAmPm(f);
  bool afterHour = false;
  size_t i = 0;
  auto count = [&](char lower) {
    size_t n = 0;
    while (i + n < f.size() && std::tolower((unsigned char)f[i + n]) == lower) ++n;
    return int(n);
  };
  while (i < f.size()) {
    const char ch = f[i];
    const char lc = char(std::tolower((unsigned char)ch));
    if (ch == '"' || ch == '\'') {
      const size_t end = f.find(ch, i + 1);
      out.append(f.substr(i + 1, (end == std::string_view::npos ? f.size() : end) - i - 1));
      i = end == std::string_view::npos ? f.size() : end + 1;
      continue;
    }
    if (ch == '/') {
      out += FormatSettings.DateSeparator;
      ++i;
      continue;
    }
    if (ch == ':') {
      out += FormatSettings.TimeSeparator;
      ++i;
      continue;
    }
    const std::string_view rest = f.substr(i);
    switch (lc) {
      case 'c': {
        AppendFormat(out, FormatSettings.ShortDateFormat, p, Value, depth + 1);
        if (p.hour || p.min || p.sec || p.msec) {
          out += ' ';
          AppendFormat(out, FormatSettings.LongTimeFormat, p, Value, depth + 1);
        }
        i += 1;
        afterHour = false;
        continue;
      }
      case 'd': {
        const int n = count('d');
        if (n == 1) out += std::to_string(p.day);
        else if (n == 2) out += Pad(p.day, 2);
        else if (n == 3) out += FormatSettings.ShortDayNames[size_t(p.dow)];
        else if (n == 4) out += FormatSettings.LongDayNames[size_t(p.dow)];
        else if (n == 5) AppendFormat(out, FormatSettings.ShortDateFormat, p, Value, depth + 1);
        else AppendFormat(out, FormatSettings.LongDateFormat, p, Value, depth + 1);
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 'm': {
        const int n = count('m');
        if (afterHour && n <= 2) out += n == 1 ? std::to_string(p.min) : Pad(p.min, 2);
        else if (n == 1) out += std::to_string(p.month);
        else if (n == 2) out += Pad(p.month, 2);
        else if (n == 3) out += FormatSettings.ShortMonthNames[size_t(p.month - 1)];
        else out += FormatSettings.LongMonthNames[size_t(p.month - 1)];
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 'y': {
        const int n = count('y');
        out += n <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 'h': {
        const int n = count('h');
        int h = p.hour;
        if (twelve) h = h % 12 == 0 ? 12 : h % 12;
        out += n == 1 ? std::to_string(h) : Pad(h, 2);
        i += size_t(n);
        afterHour = true;
        continue;
      }
      case 'n':
      case 's': {
        const int n = count(lc);
        const int v = lc == 'n' ? p.min : p.sec;
        out += n == 1 ? std::to_string(v) : Pad(v, 2);
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 'z': {
        const int n = count('z');
        out += n < 3 ? std::to_string(p.msec) : Pad(p.msec, 3);
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 't': {
        const int n = count('t');
        AppendFormat(out, n == 1 ? FormatSettings.ShortTimeFormat : FormatSettings.LongTimeFormat, p, Value, depth + 1);
        i += size_t(n);
        afterHour = false;
        continue;
      }
      case 'a': {
        const bool pm = p.hour >= 12;
        if (StartsWithNoCase(rest, "am/pm")) {
          out.append(rest.substr(pm ? 3 : 0, 2));
          i += 5;
        } else if (StartsWithNoCase(rest, "a/p")) {
          out += rest[pm ? 2 : 0];
          i += 3;
        } else if (StartsWithNoCase(rest, "ampm")) {
          out += pm ? FormatSettings.TimePMString : FormatSettings.TimeAMString;
          i += 4;
        } else {
          out += ch;
          ++i;
        }
        afterHour = false;
        continue;
      }
      default:
        out += ch;
        ++i;
    }
  }
}

[[noreturn]] void BadDate(std::string_view Text) {
  throw EConvertError(Format("'%s' is not a valid date", std::string(Text)));
}
[[noreturn]] void BadTime(std::string_view Text) {
  throw EConvertError(Format("'%s' is not a valid time", std::string(Text)));
}

struct Scanner {
  std::string_view s;
  size_t i = 0;
  void SkipBlanks() {
    while (i < s.size() && s[i] == ' ') ++i;
  }
  bool Number(int& Out, int MaxDigits) {
    SkipBlanks();
    size_t n = 0;
    long long v = 0;
    while (i + n < s.size() && std::isdigit((unsigned char)s[i + n]) && int(n) < MaxDigits) v = v * 10 + (s[i + n++] - '0');
    if (n == 0) return false;
    i += n;
    Out = int(v);
    return true;
  }
  bool Char(char c) {
    SkipBlanks();
    if (i < s.size() && s[i] == c) {
      ++i;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    SkipBlanks();
    return i == s.size();
  }
};

// Day, month and year in the order ShortDateFormat gives them.
bool ScanDate(Scanner& sc, TDateTime& Out) {
  std::string order;
  for (char c : FormatSettings.ShortDateFormat) {
    const char l = char(std::tolower((unsigned char)c));
    if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
  }
  if (order.size() != 3) order = "dmy";
  int v[3];
  for (int k = 0; k < 3; ++k) {
    if (k > 0 && !sc.Char(FormatSettings.DateSeparator)) return false;
    if (!sc.Number(v[k], order[size_t(k)] == 'y' ? 4 : 2)) return false;
  }
  int y = 0, m = 0, d = 0;
  for (int k = 0; k < 3; ++k) (order[size_t(k)] == 'y' ? y : order[size_t(k)] == 'm' ? m : d) = v[k];
  if (y < 100) y += 2000;
  return TryEncodeDate(y, m, d, Out);
}

bool ScanTime(Scanner& sc, TDateTime& Out) {
  int h = 0, n = 0, s = 0, z = 0;
  if (!sc.Number(h, 2)) return false;
  if (sc.Char(FormatSettings.TimeSeparator)) {
    if (!sc.Number(n, 2)) return false;
    if (sc.Char(FormatSettings.TimeSeparator)) {
      if (!sc.Number(s, 2)) return false;
      if (sc.Char('.') && !sc.Number(z, 3)) return false;
    }
  }
  sc.SkipBlanks();
  const std::string_view rest = sc.s.substr(sc.i);
  for (const std::string* marker : {&FormatSettings.TimeAMString, &FormatSettings.TimePMString}) {
    if (marker->empty() || !StartsWithNoCase(rest, *marker)) continue;
    if (h < 1 || h > 12) return false;
    const bool pm = marker == &FormatSettings.TimePMString;
    h = h % 12 + (pm ? 12 : 0);
    sc.i += marker->size();
    break;
  }
  return TryEncodeTime(h, n, s, z, Out);
}
}  // namespace

bool IsValidDateTime(double Value) { return Value >= MinDateTime && Value < 2958466.0; }

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Out) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month)) return false;
  Out = double(DaysFromCivil(Year, unsigned(Month), unsigned(Day)) - SerialZero);
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Out) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
  Out = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime r;
  if (!TryEncodeDate(Year, Month, Day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime r;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, r)) throw EConvertError("Invalid argument to time encode");
  return r;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  if (!(Value > -693594.0 && Value < 2958466.0)) throw EConvertError("Date-time value out of range");
  CivilFromDays((long long)std::trunc(Value) + SerialZero, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  long long ms = 0;
  if (std::isfinite(Value)) {
    ms = std::llround(std::fabs(Value - std::trunc(Value)) * MSecsPerDay);
    if (ms >= (long long)MSecsPerDay) ms = (long long)MSecsPerDay - 1;
  }
  MSec = int(ms % 1000);
  ms /= 1000;
  Sec = int(ms % 60);
  ms /= 60;
  Min = int(ms % 60);
  Hour = int(ms / 60);
}

int DayOfWeek(TDateTime Value) {
  // 1899-12-30 was a Saturday (7).
  const long long d = (long long)std::trunc(Value);
  return int(((d + 6) % 7 + 7) % 7) + 1;
}

std::string FormatDateTime(std::string_view Format, TDateTime Value) {
  if (!IsValidDateTime(Value)) return {};
  Parts p{};
  DecodeDate(Value, p.year, p.month, p.day);
  DecodeTime(Value, p.hour, p.min, p.sec, p.msec);
  p.dow = DayOfWeek(Value) - 1;
  std::string out;
  AppendFormat(out, Format, p, Value, 0);
  return out;
}

std::string DateTimeToStr(TDateTime Value) { return FormatDateTime("c", Value); }
std::string DateToStr(TDateTime Value) { return FormatDateTime("ddddd", Value); }
std::string TimeToStr(TDateTime Value) { return FormatDateTime("tt", Value); }

TDateTime StrToDate(std::string_view Text) {
  Scanner sc{Text};
  TDateTime d;
  if (!ScanDate(sc, d) || !sc.AtEnd()) BadDate(Text);
  return d;
}

TDateTime StrToTime(std::string_view Text) {
  Scanner sc{Text};
  TDateTime t;
  if (!ScanTime(sc, t) || !sc.AtEnd()) BadTime(Text);
  return t;
}

bool TryStrToDateTime(std::string_view Text, TDateTime& Out) {
  Scanner sc{Text};
  TDateTime d = 0, t = 0;
  if (ScanDate(sc, d)) {
    if (!sc.AtEnd() && !ScanTime(sc, t)) return false;
    if (!sc.AtEnd()) return false;
    Out = d < 0 ? d - t : d + t;  // before day 0 the time still runs forwards
    return true;
  }
  // A time alone is a time on day 0.
  Scanner tsc{Text};
  if (!ScanTime(tsc, t) || !tsc.AtEnd()) return false;
  Out = t;
  return true;
}

TDateTime StrToDateTime(std::string_view Text) {
  TDateTime r;
  if (!TryStrToDateTime(Text, r)) throw EConvertError(Format("'%s' is not a valid date and time", std::string(Text)));
  return r;
}

TDateTime Date() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}
