// Dates and times as the class library keeps them: a TDateTime is a number of days
// since 1899-12-30, its fraction the time of day (for days before that date the
// fraction still counts forwards from midnight: -1.25 is 1899-12-29 06:00).
// Formatting and parsing follow the class library's format letters and read the
// separators, formats and names from FormatSettings.
#pragma once
#include <array>
#include <string>
#include <string_view>

using TDateTime = double;

constexpr double HoursPerDay = 24, MinsPerDay = 24 * 60, SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = SecsPerDay * 1000;
// The range of dates the formatting routines show: 0100-01-01 .. 9999-12-31 (with
// any time). Encoding and decoding reach back to 0001-01-01.
constexpr double MinDateTime = -657434.0, MaxDateTime = 2958465.99999999;
// Whether Value lies in the range above.
bool IsValidDateTime(double Value);

// Separators, formats and names the date-time routines use. Our defaults are fixed
// (not read from the system locale) so texts are the same on every machine.
struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};
  // Sunday first, as DayOfWeek counts.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};
extern TFormatSettings FormatSettings;

// Puts other settings in place while it lives (tests), then the previous ones back.
class TFormatSettingsOverride {
public:
  explicit TFormatSettingsOverride(const TFormatSettings& Settings) : saved_(FormatSettings) {
    FormatSettings = Settings;
  }
  ~TFormatSettingsOverride() { FormatSettings = saved_; }
  TFormatSettingsOverride(const TFormatSettingsOverride&) = delete;
  TFormatSettingsOverride& operator=(const TFormatSettingsOverride&) = delete;

private:
  TFormatSettings saved_;
};

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
// EConvertError for a date outside 1..9999 or a time outside the day.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// Today's date on the local calendar (midnight).
TDateTime Date();
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Out);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Out);
// EConvertError for a value outside the valid range (or not a number).
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
// The time of day, to the nearest millisecond (23:59:59.9996 stays 23:59:59.999).
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
// 1 Sunday .. 7 Saturday.
int DayOfWeek(TDateTime Value);

// Format letters (case does not matter):
//   c  short date, then long time unless the time is midnight
//   d dd ddd dddd  day, two-digit day, short and long day name;  ddddd dddddd  short, long date
//   m mm mmm mmmm  month, two-digit, short and long name (minutes right after h or hh)
//   yy yyyy  year;  h hh  hour;  n nn  minute;  s ss  second;  z zzz  millisecond
//   t tt  short and long time;  am/pm a/p ampm  12-hour clock with its marker
//   /  date separator;  :  time separator;  "text" 'text'  as written
// Any other character stands for itself. A value outside the valid range formats as "".
std::string FormatDateTime(std::string_view Format, TDateTime Value);
std::string DateTimeToStr(TDateTime Value);
std::string DateToStr(TDateTime Value);
std::string TimeToStr(TDateTime Value);
// Read by the order of day, month and year in ShortDateFormat, with DateSeparator;
// a two-digit year is in this century. Times: h[:n[:s[.z]]] with TimeSeparator and an
// optional AM/PM marker. EConvertError on text that is no date or time.
TDateTime StrToDate(std::string_view Text);
TDateTime StrToTime(std::string_view Text);
TDateTime StrToDateTime(std::string_view Text);
bool TryStrToDateTime(std::string_view Text, TDateTime& Out);
