#include "timecalc/CalendarMath.h"

namespace timecalc {

namespace {

// Days of one 400-year Gregorian era, and from 1 January to 1 March of
// year 0 (a leap year). Within a cycle the civil-date conversion counts
// from 1 March so that the leap day falls at the end of its year.
const long long kEraDays = 146097;
const long long kJanuaryToMarch = 60;

} // namespace

long long DayNumber(long long year, int month, long long day)
{
    const long long cycle = FloorDiv(year, kCycleYears);
    const long long y = year - cycle * kCycleYears - (month <= 2 ? 1 : 0);
    const long long era = FloorDiv(y, 400);
    const long long yearOfEra = y - era * 400;
    const long long monthFromMarch = (month + 9) % 12;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return cycle * kCycleDays + era * kEraDays + dayOfEra + kJanuaryToMarch + (day - 1);
}

void DateOfDayNumber(long long number, long long &year, int &month, int &day)
{
    const long long cycle = FloorDiv(number, kCycleDays);
    const long long fromMarch = number - cycle * kCycleDays - kJanuaryToMarch;
    const long long era = FloorDiv(fromMarch, kEraDays);
    const long long dayOfEra = fromMarch - era * kEraDays;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = (int)(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = (int)(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = cycle * kCycleYears + era * 400 + yearOfEra + (month <= 2 ? 1 : 0);
}

int WeekdayOfDayNumber(long long number)
{
    // 1 January of year 0 was a Saturday in the proleptic Gregorian calendar.
    return (int)FloorMod(number + 6, 7);
}

void Normalise(WideTime &t)
{
    t.minute += FloorDiv(t.second, 60);
    t.second = FloorMod(t.second, 60);
    t.hour += FloorDiv(t.minute, 60);
    t.minute = FloorMod(t.minute, 60);
    t.day += FloorDiv(t.hour, 24);
    t.hour = FloorMod(t.hour, 24);
    t.year += FloorDiv(t.month - 1, 12);
    t.month = FloorMod(t.month - 1, 12) + 1;
    // Walking the days month by month, February's length following the
    // year, ends on the same date as counting them from a fixed origin.
    int month, day;
    DateOfDayNumber(DayNumber(t.year, (int)t.month, t.day), t.year, month, day);
    t.month = month;
    t.day = day;
}

} // namespace timecalc
