// The movable special days: Easter and the feasts that hang on it, and the
// Sundays counted within a month. Each keeps the current time of day.
#include "timecalc/CTimeCalc.h"
#include "timecalc/CalendarMath.h"

bool CTimeCalc::SetSpecialDays(SpecialDaysType type, int year)
{
    switch (type) {
    case SchmuDo: return SetSchmuDo(year);
    case AscherMittwoch: return SetAscherMittwoch(year);
    case Palmsonntag: return SetPalmsonntag(year);
    case Karfreitag: return SetKarfreitag(year);
    case Ostern: return SetOstern(year);
    case Ostermontag: return SetOstermontag(year);
    case Auffahrt: return SetAuffahrt(year);
    case Pfingsten: return SetPfingsten(year);
    case Fronleichnam: return SetFronleichnam(year);
    case Muttertag: return SetMuttertag(year);
    case Bettag: return SetBettag(year);
    case ErsterAdvent: return SetErsterAdvent(year);
    }
    return false;
}

bool CTimeCalc::SetOstern(int year)
{
    // Gauss's Easter formula with the lunar and weekday constants M and N
    // derived from the century: M = 24, N = 5 for 1900 to 2099, and the
    // Gregorian Easter Sunday for every other year as well. Remainders and
    // quotients are taken towards minus infinity so that a year before 0
    // still gives a date in March or April.
    using timecalc::FloorDiv;
    using timecalc::FloorMod;
    const long long century = FloorDiv(year, 100);
    const long long m =
        FloorMod(15 - FloorDiv(13 + 8 * century, 25) + century - FloorDiv(century, 4), 30);
    const long long n = FloorMod(4 + century - FloorDiv(century, 4), 7);
    const long long a = FloorMod(year, 19);
    const long long b = FloorMod(year, 4);
    const long long c = FloorMod(year, 7);
    const long long d = (19 * a + m) % 30;
    const long long e = (2 * b + 4 * c + 6 * d + n) % 7;
    int month = 3;
    long long day = 22 + d + e;
    if (day > 31) {
        month = 4;
        day = d + e - 9;
    }
    if (month == 4 && day == 26) day = 19;
    if (month == 4 && day == 25 && d == 28 && e == 6 && a > 10) day = 18;
    // The weekday is computed as well, so that the target read back says
    // Sunday and not the weekday of today.
    return SetDate(&CalcDate, (int)day, month, year, true);
}

bool CTimeCalc::SetOstermontag(int year)
{
    SetOstern(year);
    CalculateDate(true, 1, 0, 0);
    return true;
}

bool CTimeCalc::SetAuffahrt(int year)
{
    SetOstern(year);
    CalculateDate(true, 39, 0, 0);
    return true;
}

bool CTimeCalc::SetPfingsten(int year)
{
    SetOstern(year);
    CalculateDate(true, 49, 0, 0);
    return true;
}

bool CTimeCalc::SetKarfreitag(int year)
{
    SetOstern(year);
    CalculateWeekDay(false, Friday);
    return true;
}

bool CTimeCalc::SetPalmsonntag(int year)
{
    SetOstern(year);
    CalculateDate(false, 1, 0, 0);
    CalculateWeekDay(false, Sunday);
    return true;
}

bool CTimeCalc::SetAscherMittwoch(int year)
{
    SetOstern(year);
    CalculateDate(false, 41, 0, 0);
    CalculateWeekDay(false, Wednesday);
    return true;
}

bool CTimeCalc::SetSchmuDo(int year)
{
    SetAscherMittwoch(year);
    CalculateWeekDay(false, Thursday);
    return true;
}

bool CTimeCalc::SetFronleichnam(int year)
{
    SetOstern(year);
    CalculateDate(true, 59, 0, 0);
    CalculateWeekDay(true, Thursday);
    return true;
}

bool CTimeCalc::SetMuttertag(int year)
{
    SetDate(&CalcDate, 30, 4, year, false);
    for (int sunday = 0; sunday < 2; ++sunday) {
        CalculateDate(true, 1, 0, 0);
        CalculateWeekDay(true, Sunday);
    }
    return true;
}

bool CTimeCalc::SetBettag(int year)
{
    SetDate(&CalcDate, 31, 8, year, false);
    for (int sunday = 0; sunday < 3; ++sunday) {
        CalculateDate(true, 1, 0, 0);
        CalculateWeekDay(true, Sunday);
    }
    return true;
}

bool CTimeCalc::SetErsterAdvent(int year)
{
    SetDate(&CalcDate, 27, 11, year, true);
    CalculateWeekDay(true, Sunday);
    return true;
}
