// What happens when the target is reached, and the check of the target at
// start-up and after the settings dialog.
#pragma once

#include "settings/AppData.h"
#include "system/CSystem.h"

class CTimeCalc;

enum { EVENT_MESSAGE = 1, EVENT_SYSTEM_ACTION = 2 };

// False (after telling the user) when the date object's target is not a
// valid date and time of the supported years.
bool ValidateTarget(tAppData *app, HWND window, CTimeCalc *calc);

// Runs every tick before the difference is computed; may move the target
// in the settings and in calc, ask the user, or start the system action.
// False only when the start-up check finds the target invalid.
bool CheckExpiry(tAppData *app, HWND window, CTimeCalc *calc, bool initial);

// The system action's entry point. Tests that must not end their session
// point it elsewhere.
extern bool (*ExecSystemAction)(CSystem::WindowsActionType action);
