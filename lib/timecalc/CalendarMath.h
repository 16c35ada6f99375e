// Whole-number calendar arithmetic shared by the CTimeCalc sources; not
// exported. Everything is done in 64 bits so that any 32-bit field value,
// however far out of range, is carried without overflow.
#pragma once

#include <windows.h>

namespace timecalc {

// Division and remainder rounding towards minus infinity, which is what
// repeated "add one unit while below zero" carrying amounts to.
inline long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

inline long long FloorMod(long long a, long long b)
{
    return a - FloorDiv(a, b) * b;
}

// The class's leap-year rule looks at the year as a 16-bit value, so its
// calendar repeats every 65536 years. Within years 0 to 65535 it is the
// proleptic Gregorian calendar.
const long long kCycleYears = 65536;
const long long kCycleDays = 65536LL * 365 + 15892; // 15892 leap years per cycle

// Days from 1 January of year 0 to the given date; month 1 to 12, day
// counted on linearly past the month's end.
long long DayNumber(long long year, int month, long long day);

// The date of a day number; the inverse of DayNumber for real dates.
void DateOfDayNumber(long long number, long long &year, int &month, int &day);

// 0 = Sunday ... 6 = Saturday.
int WeekdayOfDayNumber(long long number);

// A date and time with room for any sum of two 32-bit field values.
struct WideTime {
    long long year, month, day, hour, minute, second;
};

// Carries seconds into minutes, minutes into hours, hours into days, then
// months into years, and only then days into months.
void Normalise(WideTime &t);

} // namespace timecalc
