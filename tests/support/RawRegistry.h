// The registry below HKEY_CURRENT_USER through the plain Win32 API, to check
// what the code under test stored and to leave values as others would.
#pragma once

#include <windows.h>

#include <string.h>
#include <string>
#include <vector>

namespace wintest {

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    // The value of a REG_DWORD; 0xDEADBEEF for anything else.
    DWORD Dword() const
    {
        DWORD v = 0xDEADBEEF;
        if (found && type == REG_DWORD && data.size() == 4) memcpy(&v, data.data(), 4);
        return v;
    }
    // The data as characters, terminators included.
    std::wstring Text() const
    {
        return std::wstring((const wchar_t *)data.data(), data.size() / sizeof(wchar_t));
    }
};

inline RawValue ReadRaw(const std::wstring &key, const wchar_t *name)
{
    RawValue raw;
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return raw;
    DWORD size = 0;
    if (RegQueryValueExW(h, name, nullptr, &raw.type, nullptr, &size) == ERROR_SUCCESS) {
        raw.data.resize(size);
        raw.found =
            RegQueryValueExW(h, name, nullptr, &raw.type, raw.data.data(), &size) == ERROR_SUCCESS;
        raw.data.resize(size);
    }
    RegCloseKey(h);
    return raw;
}

inline bool WriteRaw(const std::wstring &key, const wchar_t *name, DWORD type, const void *data,
                     DWORD size)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size) == ERROR_SUCCESS;
}

inline bool RawKeyExists(const std::wstring &key)
{
    HKEY h;
    const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == 0;
    if (exists) RegCloseKey(h);
    return exists;
}

} // namespace wintest
