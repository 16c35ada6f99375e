// The select-day dialog: a movable feast of a chosen year as the target.
#pragma once

#include <windows.h>

// Remembers the feast and the year in the settings and, on OK, fills the
// calculation page of the settings dialog in tAppData's SettingsDialog.
INT_PTR CALLBACK SelectDayProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

void FillFromSpecialDay();
