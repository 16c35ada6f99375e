// Settings kept in the current user's registry between runs.
#pragma once

#include "settings/AppData.h"

// Overlays the settings and the display font in memory with the values found
// in the registry; missing values and values of another type keep what is
// there, values out of range are set to a safe choice.
void LoadSettings(tAppData *app);

// Writes every persisted setting and the display font, and creates or removes
// the start-with-Windows entry. The window position is written by the main
// window itself.
void SaveSettings(tAppData *app);

// The window's top-left, written by the window itself when it goes.
void SaveWindowPosition(tAppData *app, int left, int top);
// Both: the settings and where the window now is.
void SaveSettingsAndPosition(tAppData *app, HWND window);
