// Dialog procedure of the library's about box (dialog 103).
#pragma once

#include <windows.h>

INT_PTR CALLBACK LibAboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
