// The screenshot folder, chosen with the platform's folder browser.
#pragma once

#include <windows.h>

// Writes the chosen folder (or, after a cancelled browse, the nearest one
// that exists) into the settings at once and shows it on the action page.
void BrowseScreenshotFolder(HWND dialog);
