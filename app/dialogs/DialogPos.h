// Where the program's windows may go, and where its dialogs open: beside
// the count-down window, inside the screen.
#pragma once

#include <windows.h>

// The primary monitor's work area; with several monitors and not bound to
// the first, widened to the whole virtual screen's width and height.
RECT ScreenArea(bool use1Monitor);

// The top-left for the dialog: margin pixels right of and below where it
// stands (its template puts it at the owner's client origin), or pulled
// back by its size and the margin where that would leave the screen.
POINT CalcDialogPos(HWND dialog, int margin);
