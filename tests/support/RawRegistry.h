// The registry of the test prefix through the plain Win32 API, to check what
// the code under test stored and to leave values as other writers would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    // The value of a REG_DWORD; 0xDEADBEEF for anything else.
    DWORD Dword() const;
    // The data as characters, terminators included.
    std::wstring Text() const;
};

// All below HKEY_CURRENT_USER.
RawValue ReadRaw(const std::wstring &key, const wchar_t *name);
bool WriteRaw(const std::wstring &key, const wchar_t *name, DWORD type, const void *data,
              DWORD size);
bool RawKeyExists(const std::wstring &key);

} // namespace wintest
