// Date and time calculator: holds "now" and a target (the calc date) and
// computes the distance between them in calendar components and whole days.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

// One date and time. The fields are signed 32-bit so that arithmetic may
// leave them out of range until the record is normalised.
struct _MYSYSTEMTIME {
    int Year;
    int Month;
    int DayOfWeek; // 0 = Sunday ... 6 = Saturday
    int Day;
    int Hour;
    int Minute;
    int Second;
    int Milliseconds;
};

// The enumerations have a fixed 32-bit type so that any value a caller
// passes, known or not, is a value of the type and can be refused safely.
enum CalcValueType : int {
    Day = 0,
    Month = 1,
    Year = 2,
    Hour = 3,
    Minute = 4,
    Second = 5,
    MilliSecond = 6,
    DayOfWeek = 7
};

// Weekday numbered from Monday, as CalculateWeekDay takes it. A record's
// DayOfWeek counts from Sunday instead; (DayOfWeek + 6) % 7 converts.
enum WeekDays : int {
    Monday = 0,
    Tuesday = 1,
    Wednesday = 2,
    Thursday = 3,
    Friday = 4,
    Saturday = 5,
    Sunday = 6
};

// The movable days that SetSpecialDays can make the target, in the order
// the program lists them.
enum SpecialDaysType : int {
    SchmuDo = 0,        // Easter - 52
    AscherMittwoch = 1, // Easter - 46
    Palmsonntag = 2,    // Easter - 7
    Karfreitag = 3,     // Easter - 2
    Ostern = 4,
    Ostermontag = 5,  // Easter + 1
    Auffahrt = 6,     // Easter + 39
    Pfingsten = 7,    // Easter + 49
    Fronleichnam = 8, // Easter + 60
    Muttertag = 9,    // second Sunday in May
    Bettag = 10,      // third Sunday in September
    ErsterAdvent = 11 // Sunday from 27 November to 3 December
};

class PICTAVO_API CTimeCalc {
public:
    CTimeCalc();
    CTimeCalc(WORD day, WORD month, WORD year, WORD hour, WORD minute);
    CTimeCalc(WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second);
    ~CTimeCalc();

    long GetCurrentValue(CalcValueType type);
    long GetCalcDateValue(CalcValueType type);
    void SetCalcDateValue(CalcValueType type, long value);
    long GetDiffValue(CalcValueType type);
    long GetDiffValueDaysOnly(CalcValueType type);

    bool CalculateDiff();
    bool CalcDateExpired();
    bool CalcDateIsValid();

    void RefreshCurrentTime();
    void ResetCalcTime();

    int GetDaysOfMonth(int month, int year);
    int GetDaysOfYear(int year);

    // Shift the target by the given amounts (subtract them when add is
    // false) and normalise it; months are settled before days, so
    // 31 January + 1 month is 3 March (2 March in a leap year).
    void CalculateDate(bool add, int days, int months, int years);
    void CalculateDate(bool add, int days, int months, int years, int hours, int minutes,
                       int seconds);
    // Moves the target to the next (forward) or previous given weekday; a
    // target already on that weekday stays. Other values change nothing.
    void CalculateWeekDay(bool forward, WeekDays day);

    // Makes the target the special day of that year, keeping the current
    // time of day. False, with the target unchanged, for an unknown type.
    bool SetSpecialDays(SpecialDaysType type, int year);

    WORD MinYear;
    WORD MaxYear;

protected:
    // Protected rather than private so that tests can pin "now" to a fixed
    // moment through a derived class; nothing else touches them.
    _MYSYSTEMTIME CurrentTime;
    _MYSYSTEMTIME CalcDate;
    int DiffTotalDays;
    int DiffDays;
    int DiffYears;
    int DiffMonths;
    int DiffHours;
    int DiffMinutes;
    int DiffSeconds;
    bool Valid;

    // Calendar helpers of the class's own operations; protected like the
    // fields so that a derived test class can reach them.
    int GetDayOfYear(int day, int month, int year);
    int GetWeekOfYear(int day, int month, int year);
    int GetWeeksOfYear(int year);

private:
    bool DateIsValid(WORD day, WORD month, WORD year);
    bool TimeIsValid(WORD hour, WORD minute, WORD second);
    bool IsSchaltJahr(WORD year);
    void InitClass();
    void CorrectDiffSeconds();
    long long TimeOfDayDiff(const _MYSYSTEMTIME &later, const _MYSYSTEMTIME &earlier, int hourBias);

    void CorrectDate(_MYSYSTEMTIME &record);
    void RecalcDayOfWeek(_MYSYSTEMTIME *record);
    bool SetDate(_MYSYSTEMTIME *record, int day, int month, int year, bool recalc);
    bool SetTime(_MYSYSTEMTIME *record, int hour, int minute, int second);
    void CopySystemTime(_MYSYSTEMTIME *record, const SYSTEMTIME *source);
    SYSTEMTIME SetSystemTime(_MYSYSTEMTIME *record);
    void GetSystemTime(_MYSYSTEMTIME *record);

    bool SetSchmuDo(int year);
    bool SetAscherMittwoch(int year);
    bool SetPalmsonntag(int year);
    bool SetKarfreitag(int year);
    bool SetOstern(int year);
    bool SetOstermontag(int year);
    bool SetAuffahrt(int year);
    bool SetPfingsten(int year);
    bool SetFronleichnam(int year);
    bool SetMuttertag(int year);
    bool SetBettag(int year);
    bool SetErsterAdvent(int year);
};
