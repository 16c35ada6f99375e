#include "timecalc/CTimeCalc.h"

namespace {

const int kDaysOfMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int *SelectField(_MYSYSTEMTIME &rec, CalcValueType type)
{
    switch (type) {
    case Day: return &rec.Day;
    case Month: return &rec.Month;
    case Year: return &rec.Year;
    case Hour: return &rec.Hour;
    case Minute: return &rec.Minute;
    case Second: return &rec.Second;
    case MilliSecond: return &rec.Milliseconds;
    case DayOfWeek: return &rec.DayOfWeek;
    }
    return nullptr;
}

// Keys are formed in 64 bits so that a target pushed far out of range by
// SetCalcDateValue still compares without overflow.
long long DateKey(const _MYSYSTEMTIME &t)
{
    return ((long long)t.Year * 100 + t.Month) * 100 + t.Day;
}

long long TimeKey(const _MYSYSTEMTIME &t)
{
    return ((long long)t.Hour * 100 + t.Minute) * 100 + t.Second;
}

// Moves whole units of a field above its limit into the next larger one,
// exactly like repeated subtraction; negative values stay as they are.
void Carry(long long &low, long long &high, int unit)
{
    if (low > unit - 1) {
        high += low / unit;
        low %= unit;
    }
}

int Clamp32(long long v)
{
    if (v > 0x7FFFFFFFLL) return 0x7FFFFFFF;
    if (v < -0x7FFFFFFFLL - 1) return -0x7FFFFFFF - 1;
    return (int)v;
}

} // namespace

CTimeCalc::CTimeCalc()
{
    InitClass();
    GetSystemTime(&CalcDate);
    DiffTotalDays = DiffDays = DiffYears = DiffMonths = 0;
    DiffHours = DiffMinutes = DiffSeconds = 0;
    Valid = true;
}

CTimeCalc::CTimeCalc(WORD day, WORD month, WORD year, WORD hour, WORD minute) : CTimeCalc()
{
    _MYSYSTEMTIME clock;
    GetSystemTime(&clock);
    CalcDate.Year = year;
    CalcDate.Month = month;
    CalcDate.Day = day;
    CalcDate.Hour = hour;
    CalcDate.Minute = minute;
    CalcDate.Second = CurrentTime.Second;
    CalcDate.DayOfWeek = clock.DayOfWeek;
    CalcDate.Milliseconds = clock.Milliseconds;
    Valid = DateIsValid(day, month, year) && TimeIsValid(hour, minute, (WORD)CalcDate.Second);
}

CTimeCalc::CTimeCalc(WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second)
    : CTimeCalc(day, month, year, hour, minute)
{
    CalcDate.Second = second;
    Valid = DateIsValid(day, month, year) && TimeIsValid(hour, minute, second);
}

CTimeCalc::~CTimeCalc() = default;

void CTimeCalc::InitClass()
{
    MinYear = 1900;
    MaxYear = 2099;
    GetSystemTime(&CurrentTime);
}

long CTimeCalc::GetCurrentValue(CalcValueType type)
{
    const int *field = SelectField(CurrentTime, type);
    return field ? *field : 0;
}

long CTimeCalc::GetCalcDateValue(CalcValueType type)
{
    const int *field = SelectField(CalcDate, type);
    return field ? *field : 0;
}

void CTimeCalc::SetCalcDateValue(CalcValueType type, long value)
{
    int *field = SelectField(CalcDate, type);
    if (field) *field = value;
}

long CTimeCalc::GetDiffValue(CalcValueType type)
{
    if (!Valid) return 0;
    switch (type) {
    case Day: return DiffDays;
    case Month: return DiffMonths;
    case Year: return DiffYears;
    case Hour: return DiffHours;
    case Minute: return DiffMinutes;
    case Second: return DiffSeconds;
    default: return 0;
    }
}

long CTimeCalc::GetDiffValueDaysOnly(CalcValueType type)
{
    if (!Valid) return 0;
    switch (type) {
    case Day: return DiffTotalDays;
    case Hour: return DiffHours;
    case Minute: return DiffMinutes;
    case Second: return DiffSeconds;
    default: return 0;
    }
}

bool CTimeCalc::CalcDateExpired()
{
    if (!Valid) return true;
    const long long now = DateKey(CurrentTime);
    const long long target = DateKey(CalcDate);
    if (now != target) return now > target;
    return TimeKey(CurrentTime) >= TimeKey(CalcDate);
}

bool CTimeCalc::CalcDateIsValid()
{
    return DateIsValid((WORD)CalcDate.Day, (WORD)CalcDate.Month, (WORD)CalcDate.Year) &&
           TimeIsValid((WORD)CalcDate.Hour, (WORD)CalcDate.Minute, (WORD)CalcDate.Second);
}

bool CTimeCalc::CalculateDiff()
{
    DiffTotalDays = DiffDays = DiffYears = DiffMonths = 0;
    DiffHours = DiffMinutes = DiffSeconds = 0;
    if (!Valid) return true;

    const long long nowDate = DateKey(CurrentTime);
    const long long targetDate = DateKey(CalcDate);
    long long hours, minutes, seconds, days = 0;

    if (nowDate == targetDate) {
        const long long nowTime = TimeKey(CurrentTime);
        const long long targetTime = TimeKey(CalcDate);
        if (nowTime == targetTime) return true;
        const _MYSYSTEMTIME &later = nowTime < targetTime ? CalcDate : CurrentTime;
        const _MYSYSTEMTIME &earlier = nowTime < targetTime ? CurrentTime : CalcDate;
        hours = (long long)later.Hour - earlier.Hour - 1;
        minutes = (long long)later.Minute - earlier.Minute + 59;
        seconds = (long long)later.Second - earlier.Second + 60;
        Carry(seconds, minutes, 60);
        Carry(minutes, hours, 60);
        Carry(hours, days, 24);
        DiffHours = Clamp32(hours);
        DiffMinutes = Clamp32(minutes);
        DiffSeconds = Clamp32(seconds);
        DiffDays = Clamp32(days);
        return true;
    }

    const _MYSYSTEMTIME &later = nowDate < targetDate ? CalcDate : CurrentTime;
    const _MYSYSTEMTIME &earlier = nowDate < targetDate ? CurrentTime : CalcDate;

    // Time of day with one day borrowed; the carry tells whether the later
    // record's time of day is not before the earlier one's.
    hours = (long long)later.Hour - earlier.Hour + 23;
    minutes = (long long)later.Minute - earlier.Minute + 59;
    seconds = (long long)later.Second - earlier.Second + 60;
    Carry(seconds, minutes, 60);
    Carry(minutes, hours, 60);
    Carry(hours, days, 24);
    DiffHours = Clamp32(hours);
    DiffMinutes = Clamp32(minutes);
    DiffSeconds = Clamp32(seconds);
    const long long carry = days;

    long long total, months = 0, years = 0;
    if (later.Year == earlier.Year && later.Month == earlier.Month) {
        days = (long long)later.Day - earlier.Day - 1 + carry;
        total = days;
    } else {
        const long long monthLen = GetDaysOfMonth(earlier.Month, earlier.Year);
        const long long rest = (monthLen - earlier.Day) + ((long long)later.Day - 1) + carry;
        days = rest;
        total = rest;
        if (rest >= monthLen) {
            months = 1;
            days = rest - monthLen;
        }
        if (later.Year == earlier.Year) {
            for (int m = earlier.Month + 1; m < later.Month; ++m) {
                total += GetDaysOfMonth(m, earlier.Year);
                ++months;
            }
        } else {
            for (int m = earlier.Month + 1; m <= 12; ++m) {
                total += GetDaysOfMonth(m, earlier.Year);
                ++months;
            }
            for (int m = 1; m < later.Month; ++m) {
                total += GetDaysOfMonth(m, later.Year);
                ++months;
            }
            for (long long y = (long long)earlier.Year + 1; y < later.Year; ++y) {
                total += GetDaysOfYear((int)y);
                ++years;
            }
        }
    }
    if (months > 11) {
        years += months / 12;
        months %= 12;
    }
    DiffDays = Clamp32(days);
    DiffTotalDays = Clamp32(total);
    DiffMonths = Clamp32(months);
    DiffYears = Clamp32(years);
    return true;
}

void CTimeCalc::RefreshCurrentTime()
{
    GetSystemTime(&CurrentTime);
}

void CTimeCalc::ResetCalcTime()
{
    RefreshCurrentTime();
    GetSystemTime(&CalcDate);
}

int CTimeCalc::GetDaysOfMonth(int month, int year)
{
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsSchaltJahr((WORD)year)) return 29;
    return kDaysOfMonth[month - 1];
}

int CTimeCalc::GetDaysOfYear(int year)
{
    return IsSchaltJahr((WORD)year) ? 366 : 365;
}

bool CTimeCalc::IsSchaltJahr(WORD year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool CTimeCalc::DateIsValid(WORD day, WORD month, WORD year)
{
    if ((WORD)(month - 1) > 11) return false;
    if (year < MinYear || year > MaxYear) return false;
    return day >= 1 && day <= GetDaysOfMonth(month, year);
}

bool CTimeCalc::TimeIsValid(WORD hour, WORD minute, WORD second)
{
    return hour <= 23 && minute <= 59 && second <= 59;
}

void CTimeCalc::CorrectDiffSeconds()
{
    long long seconds = DiffSeconds, minutes = DiffMinutes, hours = DiffHours, days = DiffDays;
    Carry(seconds, minutes, 60);
    Carry(minutes, hours, 60);
    Carry(hours, days, 24);
    DiffSeconds = Clamp32(seconds);
    DiffMinutes = Clamp32(minutes);
    DiffHours = Clamp32(hours);
    DiffDays = Clamp32(days);
}
