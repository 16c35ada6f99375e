// A CTimeCalc whose "now" is whatever the test says, so that date
// arithmetic can be checked at chosen moments.
#pragma once

#include "timecalc/CTimeCalc.h"

class FixedTimeCalc : public CTimeCalc {
public:
    // Target as the program builds it (validated by the six-value
    // constructor), now pinned to the given moment.
    FixedTimeCalc(int day, int month, int year, int hour, int minute, int second)
        : CTimeCalc((WORD)day, (WORD)month, (WORD)year, (WORD)hour, (WORD)minute, (WORD)second)
    {
    }

    FixedTimeCalc &Now(int day, int month, int year, int hour, int minute, int second)
    {
        CurrentTime.Day = day;
        CurrentTime.Month = month;
        CurrentTime.Year = year;
        CurrentTime.Hour = hour;
        CurrentTime.Minute = minute;
        CurrentTime.Second = second;
        CurrentTime.Milliseconds = 0;
        return *this;
    }

    const _MYSYSTEMTIME &Current() const { return CurrentTime; }
    const _MYSYSTEMTIME &Target() const { return CalcDate; }
    bool IsValidFlag() const { return Valid; }
};
