// The program's about box.
#pragma once

#include <windows.h>

// Modal over the owner; the address is the maker's home page.
void ShowAboutBox(HWND owner);

// The maker's home page, one build setting for the about box and the help
// page.
extern const wchar_t HOMEPAGE_ADDRESS[];
