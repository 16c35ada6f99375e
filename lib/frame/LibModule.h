// Module-wide facts of the library, set once when it is loaded. Not
// exported: for the library's own classes only.
#pragma once

#include <windows.h>

// The library's own module, for its resources and its version record.
HMODULE PictavoModule();

// The library's display name (string 120).
const wchar_t *PictavoLibName();
