// The per-second tick: remaining time into face text, and the tick sound.
#pragma once

#include "settings/AppData.h"
#include "settings/DisplayFormat.h"

class CTimeCalc;

enum { TIMER_TICK = 10 };

// Rebuilds layout->Text from layout->Format and the difference components.
void FormatRemainingTime(tFaceLayout *layout, int totalDays, int years, int months, int days,
                         int hours, int minutes, int seconds);

// Whether the tick sound is due for this difference.
bool TickSoundDue(const tSettings &settings, int years, int months, int days, int hours,
                  int minutes, int seconds);

// The tick itself; initial is true once, for the start-up tick. Invalidates
// the window, and paints it before a tick sound, so that sound and face
// agree.
void Tick(HWND window, bool initial);

// The one-second timer. It is armed for just after the next change of the
// wall clock's second rather than for a fixed 1000 ms, which would drift
// against the clock and now and then skip a second or show one twice.
void StartTickTimer(HWND window);
// After each tick: a timer that came in step with the clock keeps a period
// of one second, so that it is not set anew every second; one out of step
// waits for the next change of the second again.
void KeepTickTimer(HWND window);
void StopTickTimer(HWND window);
