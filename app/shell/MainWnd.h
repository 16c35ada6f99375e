// The caption-less count-down window.
#pragma once

#include <windows.h>

// Window style of the face window: WS_POPUP | WS_VISIBLE | WS_BORDER | WS_SYSMENU.
const DWORD MAIN_WINDOW_STYLE = 0x90880000;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
