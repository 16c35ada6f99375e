// A picture of the whole screen, saved before the system action.
#pragma once

#include "settings/AppData.h"

// Saves the whole virtual screen as "Tempulo_<date>_<time>" of the chosen
// file type into the screenshot folder, when the settings ask for it or
// force is set; tells the user (owner) when the file cannot be written.
void TakeScreenshot(tAppData *app, HWND owner, bool force);
