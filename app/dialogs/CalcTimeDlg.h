// The calculate-time dialog: a target computed from now or from the set
// time, plus or minus an offset.
#pragma once

#include <windows.h>

// Remembers the offsets in the settings and, on OK, fills the calculation
// page of the settings dialog in tAppData's SettingsDialog.
INT_PTR CALLBACK CalcTimeProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

void CalculateNewTime();
