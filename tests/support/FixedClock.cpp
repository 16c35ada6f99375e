#include "support/FixedClock.h"

#include <string.h>

namespace {

SYSTEMTIME g_pinned = {};

void WINAPI PinnedLocalTime(LPSYSTEMTIME out)
{
    if (out) *out = g_pinned;
}

// The import-address slot through which the module calls the function:
// whatever is written there is what the module calls.
void **ImportSlot(BYTE *base, const char *dll, const char *function)
{
    const IMAGE_NT_HEADERS *nt =
        (const IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    const DWORD imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto *imp = (const IMAGE_IMPORT_DESCRIPTOR *)(base + imports); imports && imp->Name;
         ++imp) {
        if (_stricmp((const char *)(base + imp->Name), dll) || !imp->OriginalFirstThunk) continue;
        auto *names = (const IMAGE_THUNK_DATA *)(base + imp->OriginalFirstThunk);
        auto *slots = (IMAGE_THUNK_DATA *)(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots)
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                !strcmp(((const IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData))->Name,
                        function))
                return (void **)&slots->u1.Function;
    }
    return nullptr;
}

bool WriteSlot(void **slot, void *value)
{
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(void *), PAGE_READWRITE, &old)) return false;
    *slot = value;
    return VirtualProtect(slot, sizeof(void *), old, &old);
}

} // namespace

PinnedClock::PinnedClock(int day, int month, int year, int hour, int minute, int second,
                         int milliseconds)
{
    Set(day, month, year, hour, minute, second, milliseconds);
    BYTE *library = (BYTE *)GetModuleHandleW(L"PictavoLib64.dll");
    void **slot = library ? ImportSlot(library, "kernel32.dll", "GetLocalTime") : nullptr;
    original_ = slot ? *slot : nullptr;
    if (slot && WriteSlot(slot, (void *)&PinnedLocalTime)) slot_ = slot;
}

PinnedClock::~PinnedClock()
{
    if (slot_) WriteSlot(slot_, original_);
}

void PinnedClock::Set(int day, int month, int year, int hour, int minute, int second,
                      int milliseconds)
{
    SYSTEMTIME st = {WORD(year),   WORD(month),       0, WORD(day), WORD(hour), WORD(minute),
                     WORD(second), WORD(milliseconds)};
    // The platform's calendar supplies the weekday, as a real reading has it.
    FILETIME ft;
    if (SystemTimeToFileTime(&st, &ft)) FileTimeToSystemTime(&ft, &st);
    g_pinned = st;
}
