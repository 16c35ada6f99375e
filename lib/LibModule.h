// Module-wide facts of the library, set once when it is loaded (frame's
// DllMain). Not exported: for the library's own classes only. It lies in no
// subsystem's folder so that any of them may ask without depending on frame,
// which itself uses most of them.
#pragma once

#include <windows.h>

// The library's own module, for its resources and its version record.
HMODULE PictavoModule();

// The library's display name (string 120).
const wchar_t *PictavoLibName();
