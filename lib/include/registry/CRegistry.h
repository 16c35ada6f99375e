// Typed access to values of the Windows registry below one base key. Every
// operation opens its key, works and closes it again, so an object holds no
// handle between calls and may be copied freely.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

// Root of a CRegistry object: 1 is HKEY_LOCAL_MACHINE, anything else
// HKEY_CURRENT_USER.
enum RegistryType { RegLocalMachine = 1, RegCurrentUser = 2 };

class PICTAVO_API CRegistry {
public:
    // The maker's branch "Software\Wow6432Node\Orvandt" is put in front of
    // the name unless makerBranch is false.
    CRegistry(const wchar_t *name, RegistryType type);
    CRegistry(const wchar_t *name, RegistryType type, bool makerBranch);
    ~CRegistry();

    // Readers return the default when the key or value is missing, has
    // another type, or does not fit. The string reader and the enumerators
    // return a buffer of the object, valid until the next such call.
    const wchar_t *ReadValue(const wchar_t *subKey, const wchar_t *name, const wchar_t *def);
    DWORD ReadValue(const wchar_t *subKey, const wchar_t *name, DWORD def);
    int ReadValue(const wchar_t *subKey, const wchar_t *name, int def);
    float ReadValue(const wchar_t *subKey, const wchar_t *name, float def);
    // A REG_BINARY value comes back in a new block of exactly its size,
    // allocated with HeapAlloc(GetProcessHeap()); the caller frees it with
    // HeapFree. size (optional) receives the byte count, 0 when the default
    // is returned.
    BYTE *ReadValue(const wchar_t *subKey, const wchar_t *name, BYTE *def, DWORD *size = nullptr);

    // Writers create a missing key. Result: 0 written, 1 key created but the
    // value not set, 2 key neither opened nor created, 3 value not set,
    // 5 written but the key not closed.
    int WriteValue(const wchar_t *subKey, const wchar_t *name, const wchar_t *value);
    int WriteValue(const wchar_t *subKey, const wchar_t *name, DWORD value);
    int WriteValue(const wchar_t *subKey, const wchar_t *name, int value);
    int WriteValue(const wchar_t *subKey, const wchar_t *name, float value);

    bool ExistKey(const wchar_t *subKey);
    bool ExistValue(const wchar_t *subKey, const wchar_t *name);
    // Deletes a direct sub key of the base key that has no sub keys itself.
    // 0 deleted, 3 not deleted, 5 base key not opened or not closed.
    int DeleteKey(const wchar_t *subKeyName);
    int DeleteValue(const wchar_t *subKey, const wchar_t *name);

    // Direct sub keys and values of the base key; both stay untouched when
    // the base key does not exist.
    void CountKeysAndValues(DWORD &subKeys, DWORD &values);
    const wchar_t *ReadKeyNameById(DWORD index);
    const wchar_t *ReadValueNameById(DWORD index);

private:
    void InitClass(const wchar_t *name, RegistryType type, bool makerBranch);
    void ReadRegQueryInfo(HKEY key, DWORD &subKeys, DWORD &values);
    bool Is64BitWindow();

    bool FullKey(const wchar_t *subKey, wchar_t *out);
    // Opens the base key's sub key (the base key itself for null or "").
    bool OpenKey(const wchar_t *subKey, REGSAM access, HKEY &key);
    const wchar_t *ReadNameById(DWORD index, bool keyName);
    bool QueryTyped(const wchar_t *subKey, const wchar_t *name, DWORD type, void *data,
                    DWORD capacity, DWORD *size);
    int Write(const wchar_t *subKey, const wchar_t *name, DWORD type, const void *data, DWORD size);

    wchar_t ValueBuffer[260];
    BYTE *BinaryValue;
    DWORD ViewFlags;
    wchar_t KeyPath[260];
    HKEY RootKey;
};
