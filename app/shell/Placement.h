// Size, place and z-order of the main window.
#pragma once

#include <windows.h>

// Renders the face afresh for the current settings, sizes the window to it,
// puts it at the chosen edge (or where the user dragged it), keeps it on
// the screen, and applies the topmost and taskbar settings.
void PlaceMainWindow(HWND window);

// After the monitors or the work area changed: the same placement, with a
// dragged window kept where it is as far as the new screen allows.
void ReplaceMainWindow(HWND window);

// After a move to a monitor of another scale: the face drawn anew for it, a
// dragged window where the system suggests, any other at its edges.
void RescaleMainWindow(HWND window, const RECT *suggested);
