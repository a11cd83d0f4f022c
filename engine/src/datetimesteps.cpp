#include "engine/datetimesteps.h"

#include <cmath>

#include "platform/dateutils.h"

const double DateTimeStep[DateTimeStepCount] = {
    1.0 / MSecsPerDay / 1000, 1.0 / MSecsPerDay, 1.0 / SecsPerDay, 5.0 / SecsPerDay, 10.0 / SecsPerDay,
    15.0 / SecsPerDay, 30.0 / SecsPerDay, 1.0 / MinsPerDay, 5.0 / MinsPerDay, 10.0 / MinsPerDay,
    15.0 / MinsPerDay, 30.0 / MinsPerDay, 1.0 / HoursPerDay, 2.0 / HoursPerDay, 6.0 / HoursPerDay,
    12.0 / HoursPerDay, 1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365};

int FindDateTimeStep(double StepValue) {
  for (int i = DateTimeStepCount - 1; i >= 0; --i)
    if (std::fabs(DateTimeStep[i] - StepValue) < DateTimeStep[dtOneMicroSecond]) return i;
  return dtNone;
}

std::string DefaultDateTimeFormat(double StepValue) {
  if (StepValue < DateTimeStep[dtOneSecond]) return "hh:nn:ss.zzz";
  if (StepValue < DateTimeStep[dtOneMinute]) return "hh:nn:ss";
  if (StepValue < 1) return "hh:nn";
  // Steps under a month are plain multiples, two of which may share a month.
  if (StepValue < DateTimeStep[dtOneMonth] * (1 - 1e-9)) return FormatSettings.ShortDateFormat;
  if (StepValue < DateTimeStep[dtOneYear]) return "mmm yyyy";
  return "yyyy";
}
