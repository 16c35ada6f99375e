// The settings dialog.
#pragma once

#include <windows.h>

// Runs the settings dialog modally over the owner; IDOK when the user
// confirmed new settings (already stored in the live settings), else
// IDCANCEL.
INT_PTR RunSettingsDialog(HWND owner);
