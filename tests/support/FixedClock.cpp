#include "support/FixedClock.h"

#include <string.h>

namespace {

SYSTEMTIME g_pinned = {};

void WINAPI PinnedLocalTime(LPSYSTEMTIME out)
{
    if (out) *out = g_pinned;
}

// The import-address slot through which a module calls the function; the
// loader filled it, and whatever is written there is what the module calls.
void **ImportSlot(HMODULE module, const char *dll, const char *function)
{
    BYTE *base = (BYTE *)module;
    if (!base) return nullptr;
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)base;
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (const IMAGE_IMPORT_DESCRIPTOR *imp =
             (const IMAGE_IMPORT_DESCRIPTOR *)(base + dir.VirtualAddress);
         imp->Name; ++imp) {
        if (_stricmp((const char *)(base + imp->Name), dll) != 0) continue;
        if (!imp->OriginalFirstThunk) continue; // names are gone once bound
        const IMAGE_THUNK_DATA *names = (const IMAGE_THUNK_DATA *)(base + imp->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const IMAGE_IMPORT_BY_NAME *byName =
                (const IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (strcmp((const char *)byName->Name, function) == 0)
                return (void **)&slots->u1.Function;
        }
    }
    return nullptr;
}

bool WriteSlot(void **slot, void *value)
{
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(void *), PAGE_READWRITE, &old)) return false;
    *slot = value;
    VirtualProtect(slot, sizeof(void *), old, &old);
    return true;
}

} // namespace

PinnedClock::PinnedClock(int day, int month, int year, int hour, int minute, int second,
                         int milliseconds)
{
    Set(day, month, year, hour, minute, second, milliseconds);
    void **slot = ImportSlot(GetModuleHandleW(L"PictavoLib64.dll"), "kernel32.dll", "GetLocalTime");
    if (!slot) return;
    void *original = *slot;
    if (WriteSlot(slot, (void *)&PinnedLocalTime)) {
        slot_ = slot;
        original_ = original;
    }
}

PinnedClock::~PinnedClock()
{
    if (slot_) WriteSlot(slot_, original_);
}

void PinnedClock::Set(int day, int month, int year, int hour, int minute, int second,
                      int milliseconds)
{
    SYSTEMTIME st = {};
    st.wYear = (WORD)year;
    st.wMonth = (WORD)month;
    st.wDay = (WORD)day;
    st.wHour = (WORD)hour;
    st.wMinute = (WORD)minute;
    st.wSecond = (WORD)second;
    st.wMilliseconds = (WORD)milliseconds;
    // The platform's own calendar supplies the weekday, as the real clock's
    // reading would carry it.
    FILETIME ft;
    if (SystemTimeToFileTime(&st, &ft)) FileTimeToSystemTime(&ft, &st);
    g_pinned = st;
}
