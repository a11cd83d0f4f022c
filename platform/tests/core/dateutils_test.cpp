#include <gtest/gtest.h>

#include <cmath>

#include "platform/dateutils.h"
#include "platform/rtl.h"

namespace {

TEST(DateTime, EncodeDecodeAcrossTheCalendar) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2);  // 2000 is a leap year
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1);  // 1900 is not
  EXPECT_EQ(EncodeDate(100, 1, 1), MinDateTime);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  for (double serial : {-693593.0, -657434.0, -1.0, 0.0, 59.0, 36526.0, 45000.0, 2958465.0}) {
    int y, m, d;
    DecodeDate(serial, y, m, d);
    EXPECT_EQ(EncodeDate(y, m, d), serial);
  }
  EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  int y, m, d;
  EXPECT_THROW(DecodeDate(2958466.0, y, m, d), EConvertError);
}

TEST(DateTime, TimeOfDayRoundsToMillisecondsAndNeverReachesMidnight) {
  int h, n, s, z;
  DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, z);
  EXPECT_EQ((std::vector<int>{h, n, s, z}), (std::vector<int>{13, 45, 30, 250}));
  DecodeTime(0.99999999999, h, n, s, z);
  EXPECT_EQ((std::vector<int>{h, n, s, z}), (std::vector<int>{23, 59, 59, 999}));
  // Before day 0 the fraction still counts forwards from midnight.
  DecodeTime(-1.25, h, n, s, z);
  EXPECT_EQ(h, 6);
  int y, m, d;
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{1899, 12, 29}));
}

TEST(DateTime, FormatLetters) {
  const TDateTime v = EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 42);  // a Saturday
  struct Case {
    const char* format;
    const char* text;
  } cases[] = {
      {"d dd ddd dddd", "7 07 Sat Saturday"},
      {"m mm mmm mmmm", "3 03 Mar March"},
      {"yy yyyy", "26 2026"},
      {"h hh n nn s ss z zzz", "14 14 5 05 9 09 42 042"},
      {"hh:mm", "14:05"},  // minutes, not the month, after the hour
      {"h:nn am/pm", "2:05 pm"},
      {"h:nn AM/PM", "2:05 PM"},
      {"h a/p", "2 p"},
      {"h ampm", "2 PM"},
      {"yyyy/mm/dd", "2026/03/07"},
      {"\"day\" d 'of' mmmm", "day 7 of March"},
      {"ddddd", "07/03/2026"},
      {"dddddd", "Saturday, 7 March 2026"},
      {"t", "14:05"},
      {"tt", "14:05:09"},
      {"c", "07/03/2026 14:05:09"},
      {"DD-MMM-YYYY", "07-Mar-2026"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), c.text) << c.format;
  // Midnight: "c" leaves the time out; 12-hour clock says 12 am.
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7)), "07/03/2026");
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeDate(2026, 3, 7)), "12 am");
  // Outside the valid range nothing is made up.
  EXPECT_EQ(FormatDateTime("yyyy", 2958466.0), "");
  EXPECT_EQ(FormatDateTime("yyyy", -657435.0), "");
  EXPECT_EQ(FormatDateTime("yyyy", -657434.0), "0100");
  EXPECT_EQ(FormatDateTime("yyyy", std::nan("")), "");
}

TEST(DateTime, SettingsDriveSeparatorsNamesAndReadingOrder) {
  TFormatSettings us;
  us.DateSeparator = '-';
  us.TimeSeparator = '.';
  us.ShortDateFormat = "m/d/yyyy";
  us.LongMonthNames[0] = "Janvier";
  const TDateTime v = EncodeDate(2024, 1, 31) + EncodeTime(8, 30, 0, 0);
  {
    TFormatSettingsOverride use(us);
    EXPECT_EQ(DateToStr(v), "1-31-2024");
    EXPECT_EQ(FormatDateTime("mmmm hh:nn", v), "Janvier 08.30");
    EXPECT_EQ(StrToDateTime("1-31-2024 8.30"), v);
  }
  EXPECT_EQ(DateToStr(v), "31/01/2024");  // restored
}

TEST(DateTime, TextRoundTripsAndRefusals) {
  for (TDateTime v : {EncodeDate(2026, 12, 6) + EncodeTime(23, 59, 58, 0), EncodeDate(100, 1, 1),
                      EncodeDate(9999, 12, 31) + EncodeTime(12, 0, 0, 0), EncodeDate(1850, 6, 1) - 0.75}) {  // the last: 18:00 of a day before day 0
    SCOPED_TRACE(DateTimeToStr(v));
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v)), v);
    EXPECT_DOUBLE_EQ(StrToDate(DateToStr(v)), std::trunc(v));
  }
  EXPECT_DOUBLE_EQ(StrToTime("7:15 PM"), EncodeTime(19, 15, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("12:00 am"), 0);
  EXPECT_DOUBLE_EQ(StrToTime("10:20:30.5"), EncodeTime(10, 20, 30, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("06:00"), 0.25);  // a time alone
  EXPECT_DOUBLE_EQ(StrToDate("3/4/05"), EncodeDate(2005, 4, 3));
  for (const char* bad : {"", "31/02/2024", "12/13/2024", "25:00", "10:61", "1/1/2024 x", "13:00 PM", "abc"}) {
    TDateTime out;
    EXPECT_FALSE(TryStrToDateTime(bad, out)) << bad;
  }
  EXPECT_THROW(StrToDateTime("32/01/2024"), EConvertError);
  EXPECT_THROW(StrToTime("1/1/2024"), EConvertError);
}

}  // namespace
