// The right-click menu of the count-down window and its commands.
#pragma once

#include <windows.h>

// Loads the menu and names the program in its About entry; the menu shown,
// owned here until DestroyContextMenu.
HMENU CreateContextMenu(HINSTANCE instance, const wchar_t *title);
void DestroyContextMenu();

// At the cursor, owned by the window.
void ShowContextMenu(HWND window);

// Carries out a menu command; false for ids that are not the program's.
bool RunCommand(HWND window, WORD id);
