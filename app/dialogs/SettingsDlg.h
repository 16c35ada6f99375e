// The settings dialog.
#pragma once

#include <windows.h>

// Runs the settings dialog modally over the owner. True when the live
// settings changed and the window must follow them: OK was accepted, or a
// reset to the defaults was confirmed before the dialog was cancelled.
bool RunSettingsDialog(HWND owner);
