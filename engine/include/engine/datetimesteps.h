// The date-time step table: the standard steps of a date-time axis, in days.
#pragma once
#include <string>

enum TDateTimeStep {
  dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds, dtFifteenSeconds,
  dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes, dtFifteenMinutes, dtThirtyMinutes,
  dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours, dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek,
  dtHalfMonth, dtOneMonth, dtTwoMonths, dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear,
  dtNone
};

constexpr int DateTimeStepCount = 27;
extern const double DateTimeStep[DateTimeStepCount];

// The index of the entry that differs from StepValue (days) by less than the first
// entry, searched from the last entry down; dtNone (27) when none does.
int FindDateTimeStep(double StepValue);

// The label format for a step in days:
//   below a second "hh:nn:ss.zzz", below a minute "hh:nn:ss", below a day "hh:nn",
//   below a month the short date format (so two labels of one month differ),
//   below a year "mmm yyyy", else "yyyy".
std::string DefaultDateTimeFormat(double StepValue);
