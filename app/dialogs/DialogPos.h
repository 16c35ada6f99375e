// Where the program's dialogs open: beside the count-down window, inside
// the screen.
#pragma once

#include <windows.h>

// The top-left for the dialog: margin pixels right of and below where it
// stands (its template puts it at the owner's client origin), or pulled
// back by its size and the margin where that would leave the screen.
POINT CalcDialogPos(HWND dialog, int margin);
