#include "support/RawRegistry.h"

#include <string.h>

namespace wintest {

DWORD RawValue::Dword() const
{
    DWORD v = 0xDEADBEEF;
    if (found && type == REG_DWORD && data.size() == sizeof(v)) memcpy(&v, data.data(), sizeof(v));
    return v;
}

std::wstring RawValue::Text() const
{
    return std::wstring((const wchar_t *)data.data(), data.size() / sizeof(wchar_t));
}

RawValue ReadRaw(const std::wstring &key, const wchar_t *name)
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

bool WriteRaw(const std::wstring &key, const wchar_t *name, DWORD type, const void *data,
              DWORD size)
{
    HKEY h;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool set = RegSetValueExW(h, name, 0, type, (const BYTE *)data, size) == ERROR_SUCCESS;
    RegCloseKey(h);
    return set;
}

bool RawKeyExists(const std::wstring &key)
{
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

} // namespace wintest
