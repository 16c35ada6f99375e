// The settings dialog.
#pragma once

#include <windows.h>

// What the settings dialog left in the live settings.
enum SettingsOutcome {
    SETTINGS_KEPT,      // cancelled: as they were
    SETTINGS_CONFIRMED, // OK accepted
    SETTINGS_DEFAULTS   // a confirmed reset, then cancelled
};

// Runs the settings dialog modally over the owner.
SettingsOutcome RunSettingsDialog(HWND owner);
