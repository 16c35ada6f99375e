// Control over "now" for date tests: a CTimeCalc whose current time is set
// by the test, and a pinned local clock for code that builds its own dates.
#pragma once

#include "timecalc/CTimeCalc.h"

#include <stdio.h>
#include <string>

class FixedTimeCalc : public CTimeCalc {
public:
    // Target as the program builds it (validated); now as Now sets it.
    FixedTimeCalc(int day, int month, int year, int hour, int minute, int second)
        : CTimeCalc((WORD)day, (WORD)month, (WORD)year, (WORD)hour, (WORD)minute, (WORD)second)
    {
    }
    FixedTimeCalc &Now(int day, int month, int year, int hour, int minute, int second)
    {
        CurrentTime = {year, month, CurrentTime.DayOfWeek, day, hour, minute, second, 0};
        return *this;
    }
    // Writes the target as it stands: no validation, no weekday.
    FixedTimeCalc &SetTarget(int day, int month, int year, int hour, int minute, int second)
    {
        CalcDate = {year,   month,  CalcDate.DayOfWeek,   day, hour,
                    minute, second, CalcDate.Milliseconds};
        return *this;
    }
    const _MYSYSTEMTIME &Target() const { return CalcDate; }
    bool IsValidFlag() const { return Valid; }
    using CTimeCalc::GetDayOfYear;
};

// "dd.mm.yyyy hh:mm:ss", for comparing whole records in one assertion.
inline std::string Stamp(const _MYSYSTEMTIME &t)
{
    char text[80];
    snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.Day, t.Month, t.Year, t.Hour,
             t.Minute, t.Second);
    return text;
}

// While it lives, every reading of the local clock that PictavoLib64 makes
// returns the pinned moment (weekday included). Only the library's calls
// are redirected; one pin at a time.
class PinnedClock {
public:
    PinnedClock(int day, int month, int year, int hour, int minute, int second,
                int milliseconds = 0);
    ~PinnedClock();
    PinnedClock(const PinnedClock &) = delete;
    PinnedClock &operator=(const PinnedClock &) = delete;

    // Moves the pinned moment (years 1601 and later).
    void Set(int day, int month, int year, int hour, int minute, int second, int milliseconds = 0);
    // False when the library's clock import could not be redirected.
    bool Active() const { return slot_ != nullptr; }

private:
    void **slot_ = nullptr;
    void *original_ = nullptr;
};
