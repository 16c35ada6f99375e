#include "registry/CRegistry.h"

#include <stdio.h>
#include <strsafe.h>
#include <wchar.h>

namespace {

const wchar_t kMakerBranch[] = L"Software\\Wow6432Node\\Orvandt";
const DWORD kPathCch = 260;
const DWORD kValueCch = 260;
const wchar_t kFloatFormat[] = L"%10.8f";

const wchar_t *OrEmpty(const wchar_t *text)
{
    return text ? text : L"";
}

// Stored form of an int: negative values are shifted down by one, so -1 is
// 0xFFFFFFFE and the most negative int 0x7FFFFFFF. That leaves 0xFFFFFFFF,
// which this form never produces otherwise, free for the largest int: it
// would share 0x7FFFFFFF with the most negative int and come back as that.
DWORD IntToStored(int value)
{
    if (value == 0x7FFFFFFF) return 0xFFFFFFFFu;
    if (value >= 0) return (DWORD)value;
    return (DWORD)value - 1u;
}

int StoredToInt(DWORD stored)
{
    if (stored == 0xFFFFFFFFu) return 0x7FFFFFFF;
    if (stored >= 0x7FFFFFFFu) return (int)(stored + 1u);
    return (int)stored;
}

} // namespace

CRegistry::CRegistry(const wchar_t *name, RegistryType type)
{
    InitClass(name, type, true);
}

CRegistry::CRegistry(const wchar_t *name, RegistryType type, bool makerBranch)
{
    InitClass(name, type, makerBranch);
}

CRegistry::~CRegistry() {}

void CRegistry::InitClass(const wchar_t *name, RegistryType type, bool makerBranch)
{
    ValueBuffer[0] = L'\0';
    BinaryValue = nullptr;
    ViewFlags = Is64BitWindow() ? KEY_WOW64_64KEY : 0;
    RootKey = type == RegLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    KeyPath[0] = L'\0';

    name = OrEmpty(name);
    HRESULT hr = S_OK;
    if (makerBranch) {
        hr = StringCchCopyW(KeyPath, kPathCch, kMakerBranch);
        if (SUCCEEDED(hr) && *name) hr = StringCchCatW(KeyPath, kPathCch, L"\\");
        if (SUCCEEDED(hr)) hr = StringCchCatW(KeyPath, kPathCch, name);
    } else {
        hr = StringCchCopyW(KeyPath, kPathCch, name);
    }
    // A cut path would name some other key; an object without a root fails
    // every operation instead of touching that key.
    if (FAILED(hr)) {
        KeyPath[0] = L'\0';
        RootKey = nullptr;
    }
}

bool CRegistry::Is64BitWindow()
{
    return true;
}

bool CRegistry::FullKey(const wchar_t *subKey, wchar_t *out)
{
    subKey = OrEmpty(subKey);
    out[0] = L'\0';
    if (!RootKey) return false;
    // The separator goes only between two non-empty parts: a leading
    // backslash is not a valid key name and would make the call fail.
    HRESULT hr = StringCchCopyW(out, kPathCch, KeyPath);
    if (SUCCEEDED(hr) && KeyPath[0] && *subKey) hr = StringCchCatW(out, kPathCch, L"\\");
    if (SUCCEEDED(hr)) hr = StringCchCatW(out, kPathCch, subKey);
    if (FAILED(hr)) out[0] = L'\0';
    return SUCCEEDED(hr);
}

bool CRegistry::OpenKey(const wchar_t *subKey, REGSAM access, HKEY &key)
{
    wchar_t path[kPathCch];
    return FullKey(subKey, path) &&
           RegOpenKeyExW(RootKey, path, 0, access | ViewFlags, &key) == ERROR_SUCCESS;
}

// Reads a value of the given type into data (capacity bytes). Fails when the
// value is missing, of another type or larger than the capacity.
bool CRegistry::QueryTyped(const wchar_t *subKey, const wchar_t *name, DWORD type, void *data,
                           DWORD capacity, DWORD *size)
{
    HKEY key;
    if (!OpenKey(subKey, MAXIMUM_ALLOWED, key)) return false;
    // One query: a value larger than the capacity fails with ERROR_MORE_DATA,
    // and data (the caller's scratch buffer) is not used then.
    DWORD storedType = REG_NONE;
    DWORD storedSize = capacity;
    const bool ok = RegQueryValueExW(key, name, nullptr, &storedType, (BYTE *)data, &storedSize) ==
                        ERROR_SUCCESS &&
                    storedType == type;
    RegCloseKey(key);
    if (ok && size) *size = storedSize;
    return ok;
}

const wchar_t *CRegistry::ReadValue(const wchar_t *subKey, const wchar_t *name, const wchar_t *def)
{
    // Read into a separate buffer with room for a terminator that the
    // stored data may lack; the default stays in place on any failure.
    wchar_t text[kValueCch + 1] = L"";
    DWORD size = 0;
    bool ok = QueryTyped(subKey, name, REG_SZ, text, kValueCch * sizeof(wchar_t), &size);
    if (ok) {
        text[size / sizeof(wchar_t)] = L'\0';
        ok = wcslen(text) < kValueCch;
    }
    StringCchCopyW(ValueBuffer, kValueCch, ok ? text : OrEmpty(def));
    return ValueBuffer;
}

DWORD CRegistry::ReadValue(const wchar_t *subKey, const wchar_t *name, DWORD def)
{
    DWORD value = 0;
    DWORD size = 0;
    if (!QueryTyped(subKey, name, REG_DWORD, &value, sizeof(value), &size) || size != sizeof(value))
        return def;
    return value;
}

int CRegistry::ReadValue(const wchar_t *subKey, const wchar_t *name, int def)
{
    return StoredToInt(ReadValue(subKey, name, IntToStored(def)));
}

float CRegistry::ReadValue(const wchar_t *subKey, const wchar_t *name, float def)
{
    // A missing value gives the default itself, not its eight-decimal text,
    // which would turn small defaults into 0.
    if (!ExistValue(subKey, name)) return def;
    wchar_t defText[64];
    _snwprintf_s(defText, _countof(defText), _TRUNCATE, kFloatFormat, (double)def);
    const wchar_t *text = ReadValue(subKey, name, defText);
    return (float)wcstod(text, nullptr);
}

BYTE *CRegistry::ReadValue(const wchar_t *subKey, const wchar_t *name, BYTE *def, DWORD *size)
{
    BinaryValue = def;
    if (size) *size = 0;
    HKEY key;
    if (!OpenKey(subKey, MAXIMUM_ALLOWED, key)) return BinaryValue;
    // The block is sized from the value itself, so no value is too large
    // for it; a value that changes between the queries gives the default.
    DWORD type = REG_NONE;
    DWORD stored = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &stored) == ERROR_SUCCESS &&
        type == REG_BINARY) {
        BYTE *block = (BYTE *)HeapAlloc(GetProcessHeap(), 0, stored ? stored : 1);
        DWORD read = stored;
        if (block && RegQueryValueExW(key, name, nullptr, &type, block, &read) == ERROR_SUCCESS &&
            type == REG_BINARY && read == stored) {
            BinaryValue = block;
            if (size) *size = stored;
        } else if (block) {
            HeapFree(GetProcessHeap(), 0, block);
        }
    }
    RegCloseKey(key);
    return BinaryValue;
}

int CRegistry::Write(const wchar_t *subKey, const wchar_t *name, DWORD type, const void *data,
                     DWORD size)
{
    wchar_t path[kPathCch];
    if (!FullKey(subKey, path)) return 2;
    HKEY key;
    bool created = false;
    if (RegOpenKeyExW(RootKey, path, 0, KEY_ALL_ACCESS | ViewFlags, &key) != ERROR_SUCCESS) {
        if (RegCreateKeyExW(RootKey, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS | ViewFlags, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return 2;
        created = true;
    }
    const LONG set = RegSetValueExW(key, name, 0, type, (const BYTE *)data, size);
    const LONG closed = RegCloseKey(key);
    if (set != ERROR_SUCCESS) return created ? 1 : 3;
    return closed == ERROR_SUCCESS ? 0 : 5;
}

int CRegistry::WriteValue(const wchar_t *subKey, const wchar_t *name, const wchar_t *value)
{
    value = OrEmpty(value);
    const size_t chars = wcslen(value) + 1;
    if (chars > MAXDWORD / sizeof(wchar_t)) return 3;
    return Write(subKey, name, REG_SZ, value, (DWORD)(chars * sizeof(wchar_t)));
}

int CRegistry::WriteValue(const wchar_t *subKey, const wchar_t *name, DWORD value)
{
    return Write(subKey, name, REG_DWORD, &value, sizeof(value));
}

int CRegistry::WriteValue(const wchar_t *subKey, const wchar_t *name, int value)
{
    return WriteValue(subKey, name, IntToStored(value));
}

int CRegistry::WriteValue(const wchar_t *subKey, const wchar_t *name, float value)
{
    wchar_t text[kValueCch];
    _snwprintf_s(text, kValueCch, _TRUNCATE, kFloatFormat, (double)value);
    return WriteValue(subKey, name, (const wchar_t *)text);
}

bool CRegistry::ExistKey(const wchar_t *subKey)
{
    HKEY key;
    if (!OpenKey(subKey, MAXIMUM_ALLOWED, key)) return false;
    RegCloseKey(key);
    return true;
}

bool CRegistry::ExistValue(const wchar_t *subKey, const wchar_t *name)
{
    HKEY key;
    if (!OpenKey(subKey, MAXIMUM_ALLOWED, key)) return false;
    const bool found =
        RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

int CRegistry::DeleteKey(const wchar_t *subKeyName)
{
    // RegDeleteKeyW with an empty name would delete the base key itself.
    if (!subKeyName || !*subKeyName) return 3;
    HKEY key;
    if (!OpenKey(nullptr, KEY_ALL_ACCESS, key)) return 5;
    const LONG deleted = RegDeleteKeyW(key, subKeyName);
    const LONG closed = RegCloseKey(key);
    if (deleted != ERROR_SUCCESS) return 3;
    return closed == ERROR_SUCCESS ? 0 : 5;
}

int CRegistry::DeleteValue(const wchar_t *subKey, const wchar_t *name)
{
    HKEY key;
    if (!OpenKey(subKey, KEY_ALL_ACCESS, key)) return 5;
    const LONG deleted = RegDeleteValueW(key, name);
    const LONG closed = RegCloseKey(key);
    if (deleted != ERROR_SUCCESS) return 3;
    return closed == ERROR_SUCCESS ? 0 : 5;
}

void CRegistry::ReadRegQueryInfo(HKEY key, DWORD &subKeys, DWORD &values)
{
    DWORD keyCount = 0;
    DWORD valueCount = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &keyCount, nullptr, nullptr, &valueCount,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        subKeys = keyCount;
        values = valueCount;
    }
}

void CRegistry::CountKeysAndValues(DWORD &subKeys, DWORD &values)
{
    HKEY key;
    if (!OpenKey(nullptr, MAXIMUM_ALLOWED, key)) return;
    ReadRegQueryInfo(key, subKeys, values);
    RegCloseKey(key);
}

const wchar_t *CRegistry::ReadKeyNameById(DWORD index)
{
    return ReadNameById(index, true);
}

const wchar_t *CRegistry::ReadValueNameById(DWORD index)
{
    return ReadNameById(index, false);
}

const wchar_t *CRegistry::ReadNameById(DWORD index, bool keyName)
{
    ValueBuffer[0] = L'\0';
    HKEY key;
    if (!OpenKey(nullptr, MAXIMUM_ALLOWED, key)) return ValueBuffer;
    // A name that does not fit comes back empty, never cut.
    DWORD cch = kValueCch;
    const LONG found =
        keyName ? RegEnumKeyExW(key, index, ValueBuffer, &cch, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key, index, ValueBuffer, &cch, nullptr, nullptr, nullptr, nullptr);
    if (found != ERROR_SUCCESS) ValueBuffer[0] = L'\0';
    ValueBuffer[kValueCch - 1] = L'\0';
    RegCloseKey(key);
    return ValueBuffer;
}
