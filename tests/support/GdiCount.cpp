#include "support/GdiCount.h"

#include <windows.h>

namespace wintest {

namespace {

// Layout of the table that the PEB points to on x64: 24-byte entries with
// the owner's process id at offset 8 and the object type at 14 (0 for a
// free slot). Wine keeps one such table per process and leaves the owner 0;
// Windows shares one table between processes.
const size_t PebGdiTableOffset = 0xF8;
const size_t EntrySize = 24;
const size_t EntryOwnerOffset = 8;
const size_t EntryTypeOffset = 14;
const size_t EntryCount = 0x10000;

int CountHandleTable()
{
    // The PEB's address is at gs:0x60 on x64 (__readgsqword trips GCC's
    // bounds check).
    const BYTE *peb = nullptr;
    __asm__("movq %%gs:0x60, %0" : "=r"(peb));
    if (!peb) return -1;
    const BYTE *table = *reinterpret_cast<const BYTE *const *>(peb + PebGdiTableOffset);
    if (!table) return -1;
    const USHORT self = USHORT(GetCurrentProcessId());
    int count = 0;
    for (size_t i = 0; i < EntryCount; ++i) {
        const BYTE *entry = table + i * EntrySize;
        if (!entry[EntryTypeOffset]) continue;
        const USHORT owner = *reinterpret_cast<const USHORT *>(entry + EntryOwnerOffset);
        if (owner == 0 || owner == self) ++count;
    }
    return count;
}

} // namespace

int GdiObjectCount()
{
    // Deletions still batched on this thread would count as live objects.
    GdiFlush();
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported > 0) return int(reported);
    return CountHandleTable();
}

} // namespace wintest
