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

enum CalcValueType {
    Day = 0,
    Month = 1,
    Year = 2,
    Hour = 3,
    Minute = 4,
    Second = 5,
    MilliSecond = 6,
    DayOfWeek = 7
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

private:
    bool DateIsValid(WORD day, WORD month, WORD year);
    bool TimeIsValid(WORD hour, WORD minute, WORD second);
    bool IsSchaltJahr(WORD year);
    void InitClass();
    void CorrectDiffSeconds();
};
