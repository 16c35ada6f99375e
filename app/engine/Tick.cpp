#include "engine/Tick.h"

#include "engine/Expiry.h"
#include "res/resource.h"
#include "timecalc/CTimeCalc.h"

#include <mmsystem.h>
#include <stdio.h>
#include <strsafe.h>
#include <wchar.h>

namespace {

// How long after the change of the second the timer is due: enough for a
// clock that is read in coarse steps to show the new second already.
const UINT kTickLateMs = 20;
// How much later than that a tick may come before the timer is set anew.
const UINT kTickSlackMs = 50;

bool g_TimerRunning = false;
// The timer runs with a period of exactly one second, in step with the
// clock; until then it waits for the next change of the second.
bool g_TimerInStep = false;

// The value that a run of `length` equal format letters shows.
int RunValue(wchar_t letter, int length, int totalDays, int years, int months, int days, int hours,
             int minutes, int seconds, int secondsOfDay)
{
    switch (letter) {
    case L'y': return years;
    case L'M': return months;
    case L'd': return length >= 4 ? totalDays : days;
    case L'h': return hours;
    case L'm': return minutes;
    case L's': return length >= 4 ? secondsOfDay : seconds;
    }
    return 0;
}

// Only the cells whose character changed are painted again: most seconds
// that is one digit of the fourteen.
void InvalidateChangedCells(HWND window, const tFaceLayout *layout, const wchar_t *shown)
{
    if (wcscmp(shown, layout->Text) == 0) return;
    if (wcslen(shown) != wcslen(layout->Text)) {
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    for (size_t i = 0; layout->Text[i]; ++i) {
        if (layout->Text[i] == shown[i]) continue;
        RECT cell = layout->Cells[i];
        OffsetRect(&cell, layout->OriginX, layout->OriginY);
        InvalidateRect(window, &cell, FALSE);
    }
}

} // namespace

void FormatRemainingTime(tFaceLayout *layout, int totalDays, int years, int months, int days,
                         int hours, int minutes, int seconds)
{
    const int secondsOfDay = (hours * 60 + minutes) * 60 + seconds;
    const wchar_t *format = layout->Format;
    layout->Text[0] = L'\0';
    size_t pos = 0;
    while (format[pos]) {
        const wchar_t letter = format[pos];
        size_t length = 1;
        while (format[pos + length] == letter)
            ++length;

        wchar_t run[32];
        if (letter == L' ' || letter == L'.' || letter == L':') {
            run[0] = letter;
            run[1] = L'\0';
        } else {
            const int value = RunValue(letter, (int)length, totalDays, years, months, days, hours,
                                       minutes, seconds, secondsOfDay);
            _snwprintf_s(run, _countof(run), _TRUNCATE, L"%0*i", (int)length, value);
            // Too wide a value keeps its most significant digits.
            if (wcslen(run) > length) run[length] = L'\0';
        }
        StringCchCatW(layout->Text, FACE_CCH, run);
        pos += length;
    }
}

bool TickSoundDue(const tSettings &settings, int years, int months, int days, int hours,
                  int minutes, int seconds)
{
    if (settings.TickEnabled) return true;
    return !settings.AcceptPast && settings.TickAtLastSecondsEnabled && years == 0 && months == 0 &&
           days == 0 && hours == 0 && minutes == 0 && seconds < 21;
}

void Tick(HWND window, bool initial)
{
    tSettings &s = g_App->Settings;
    CTimeCalc *calc = new CTimeCalc((WORD)s.Tag, (WORD)s.Monat, (WORD)s.Jahr, (WORD)s.Stunde,
                                    (WORD)s.Minute, (WORD)s.Sekunde);
    // The expiry check runs here, between building the date and computing
    // the difference, so that a target it moves shows at once.
    CheckExpiry(g_App, window, calc, initial);
    calc->CalculateDiff();

    wchar_t shown[FACE_CCH];
    StringCchCopyW(shown, FACE_CCH, g_App->Layout->Text);
    const int years = calc->GetDiffValue(Year);
    const int months = calc->GetDiffValue(Month);
    const int days = calc->GetDiffValue(Day);
    const int hours = calc->GetDiffValue(Hour);
    const int minutes = calc->GetDiffValue(Minute);
    const int seconds = calc->GetDiffValue(Second);
    FormatRemainingTime(g_App->Layout, calc->GetDiffValueDaysOnly(Day), years, months, days, hours,
                        minutes, seconds);

    if (window) InvalidateChangedCells(window, g_App->Layout, shown);
    if (TickSoundDue(s, years, months, days, hours, minutes, seconds)) {
        // The sound plays to its end before the tick returns: the face it
        // belongs to is painted first.
        if (window) UpdateWindow(window);
        PlaySoundW(MAKEINTRESOURCEW(IDW_TICK), g_App->Instance, SND_RESOURCE);
    }
    delete calc;
}

void StartTickTimer(HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetTimer(window, TIMER_TICK, 1000u - now.wMilliseconds + kTickLateMs, nullptr);
    g_TimerRunning = true;
    g_TimerInStep = false;
}

void KeepTickTimer(HWND window)
{
    if (!g_TimerRunning) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wMilliseconds < kTickLateMs || now.wMilliseconds >= kTickLateMs + kTickSlackMs) {
        // Out of step with the clock (set, slept, or held up): wait for the
        // next change of the second again.
        StartTickTimer(window);
    } else if (!g_TimerInStep) {
        SetTimer(window, TIMER_TICK, 1000, nullptr);
        g_TimerInStep = true;
    }
}

void StopTickTimer(HWND window)
{
    KillTimer(window, TIMER_TICK);
    g_TimerRunning = false;
}
