// The per-second tick: remaining time into face text, and the tick sound.
#pragma once

#include "settings/AppData.h"

class CTimeCalc;

enum { TIMER_TICK = 10, TICK_INTERVAL_MS = 1000, DISPLAY_FORMAT_COUNT = 4 };

// Display format of FormatNo 0-3; format 0 for any other number.
const wchar_t *DisplayFormatOf(int formatNo);

// Keeps the allowed format characters; with addBlanks one blank cell is put
// at each end of the face.
void SetDisplayFormat(tFaceLayout *layout, const wchar_t *format, bool addBlanks);

// Rebuilds layout->Text from layout->Format and the difference components.
void FormatRemainingTime(tFaceLayout *layout, int totalDays, int years, int months, int days,
                         int hours, int minutes, int seconds);

// Whether the tick sound is due for this difference.
bool TickSoundDue(const tSettings &settings, int years, int months, int days, int hours,
                  int minutes, int seconds);

// The tick itself; initial is true once, for the start-up tick.
void Tick(HWND window, bool initial);
