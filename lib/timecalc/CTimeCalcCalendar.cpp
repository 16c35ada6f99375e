// Calendar arithmetic on the target: shifting, normalising, weekdays and
// weeks of the year.
#include "timecalc/CTimeCalc.h"
#include "timecalc/CalendarMath.h"

#include <limits.h>

using timecalc::WideTime;

namespace {

WideTime Widen(const _MYSYSTEMTIME &r)
{
    return {r.Year, r.Month, r.Day, r.Hour, r.Minute, r.Second};
}

// A year beyond what the 32-bit field holds saturates to the first or
// last moment the record can represent rather than wrapping around.
void StoreNormalised(_MYSYSTEMTIME &r, const WideTime &t)
{
    if (t.year > INT_MAX) {
        r.Year = INT_MAX;
        r.Month = 12;
        r.Day = 31;
        r.Hour = 23;
        r.Minute = 59;
        r.Second = 59;
        return;
    }
    if (t.year < INT_MIN) {
        r.Year = INT_MIN;
        r.Month = 1;
        r.Day = 1;
        r.Hour = r.Minute = r.Second = 0;
        return;
    }
    r.Year = (int)t.year;
    r.Month = (int)t.month;
    r.Day = (int)t.day;
    r.Hour = (int)t.hour;
    r.Minute = (int)t.minute;
    r.Second = (int)t.second;
}

// Week number by the class's rule for a day of the year: week 1 is the one
// holding 1 January when that is a Monday to Thursday.
long long WeekOf(long long dayOfYear, long long year)
{
    const int jan1 = timecalc::WeekdayOfDayNumber(timecalc::DayNumber(year, 1, 1));
    const long long w = jan1 == 0 ? 7 : jan1; // Monday 1 ... Sunday 7
    return (dayOfYear + w - 2) / 7 + (w <= 4 ? 1 : 0);
}

} // namespace

void CTimeCalc::CalculateDate(bool add, int days, int months, int years)
{
    CalculateDate(add, days, months, years, 0, 0, 0);
}

void CTimeCalc::CalculateDate(bool add, int days, int months, int years, int hours, int minutes,
                              int seconds)
{
    // The amounts are added in 64 bits: a sum of two 32-bit values must not
    // wrap before normalisation has carried it into the larger units.
    const long long sign = add ? 1 : -1;
    WideTime t = Widen(CalcDate);
    t.day += sign * days;
    t.month += sign * months;
    t.year += sign * years;
    t.hour += sign * hours;
    t.minute += sign * minutes;
    t.second += sign * seconds;
    timecalc::Normalise(t);
    StoreNormalised(CalcDate, t);
    RecalcDayOfWeek(&CalcDate);
}

void CTimeCalc::CalculateWeekDay(bool forward, WeekDays day)
{
    const int target = day;
    if (target < Monday || target > Sunday) return;
    RecalcDayOfWeek(&CalcDate);
    const int current = (int)timecalc::FloorMod((long long)CalcDate.DayOfWeek + 6, 7);
    if (current == target) return;
    const int steps = (int)timecalc::FloorMod(forward ? target - current : current - target, 7);
    CalculateDate(forward, steps, 0, 0, 0, 0, 0);
}

void CTimeCalc::CorrectDate(_MYSYSTEMTIME &record)
{
    WideTime t = Widen(record);
    timecalc::Normalise(t);
    StoreNormalised(record, t);
    RecalcDayOfWeek(&record);
}

void CTimeCalc::RecalcDayOfWeek(_MYSYSTEMTIME *record)
{
    // Computed rather than converted through the platform's file time, which
    // knows no year before 1601: every year gets its proleptic Gregorian
    // weekday. A record without a real month keeps the weekday it has.
    if (!record || record->Month < 1 || record->Month > 12) return;
    record->DayOfWeek =
        timecalc::WeekdayOfDayNumber(timecalc::DayNumber(record->Year, record->Month, record->Day));
}

int CTimeCalc::GetDayOfYear(int day, int month, int year)
{
    long long total = day;
    for (int m = 1; m < month && m <= 12; ++m)
        total += GetDaysOfMonth(m, year);
    return total > INT_MAX ? INT_MAX : (int)total;
}

int CTimeCalc::GetWeekOfYear(int day, int month, int year)
{
    long long week = WeekOf(GetDayOfYear(day, month, year), year);
    // The first days of a year that starts on Friday to Sunday belong to
    // the last week of the year before; the end of December, however,
    // always stays in its own year.
    if (week == 0) {
        const long long previous = (long long)year - 1;
        week = WeekOf(IsSchaltJahr((WORD)previous) ? 366 : 365, previous);
    }
    return (int)week;
}

int CTimeCalc::GetWeeksOfYear(int year)
{
    return GetWeekOfYear(31, 12, year);
}

bool CTimeCalc::SetDate(_MYSYSTEMTIME *record, int day, int month, int year, bool recalc)
{
    if (!record) return false;
    GetSystemTime(record);
    record->Day = day;
    record->Month = month;
    record->Year = year;
    if (recalc) RecalcDayOfWeek(record);
    return true;
}

bool CTimeCalc::SetTime(_MYSYSTEMTIME *record, int hour, int minute, int second)
{
    if (!record) return false;
    record->Hour = hour;
    record->Minute = minute;
    record->Second = second;
    return true;
}

void CTimeCalc::CopySystemTime(_MYSYSTEMTIME *record, const SYSTEMTIME *source)
{
    if (!record || !source) return;
    record->Year = source->wYear;
    record->Month = source->wMonth;
    record->DayOfWeek = source->wDayOfWeek;
    record->Day = source->wDay;
    record->Hour = source->wHour;
    record->Minute = source->wMinute;
    record->Second = source->wSecond;
    record->Milliseconds = source->wMilliseconds;
}

SYSTEMTIME CTimeCalc::SetSystemTime(_MYSYSTEMTIME *record)
{
    SYSTEMTIME st = {};
    if (!record) return st;
    st.wYear = (WORD)record->Year;
    st.wMonth = (WORD)record->Month;
    st.wDayOfWeek = (WORD)record->DayOfWeek;
    st.wDay = (WORD)record->Day;
    st.wHour = (WORD)record->Hour;
    st.wMinute = (WORD)record->Minute;
    st.wSecond = (WORD)record->Second;
    st.wMilliseconds = (WORD)record->Milliseconds;
    return st;
}

void CTimeCalc::GetSystemTime(_MYSYSTEMTIME *record)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CopySystemTime(record, &now);
}
