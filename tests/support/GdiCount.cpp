#include "support/GdiCount.h"

#include <winternl.h>

#include <vector>

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
// The table is 1.5 MB: read in pieces so that the buffer stays small.
const size_t ChunkEntries = 0x1000;

int CountLive(const BYTE *entries, size_t count, USHORT owner)
{
    int live = 0;
    for (size_t i = 0; i < count; ++i) {
        const BYTE *entry = entries + i * EntrySize;
        if (!entry[EntryTypeOffset]) continue;
        const USHORT entryOwner = *reinterpret_cast<const USHORT *>(entry + EntryOwnerOffset);
        if (entryOwner == 0 || entryOwner == owner) ++live;
    }
    return live;
}

int CountHandleTable(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  nullptr) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    // The table's address is one in the other process's address space.
    const BYTE *table = nullptr;
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const BYTE *>(basic.PebBaseAddress) + PebGdiTableOffset,
                           &table, sizeof(table), nullptr) ||
        !table)
        return -1;
    const USHORT owner = USHORT(GetProcessId(process));
    std::vector<BYTE> chunk(ChunkEntries * EntrySize);
    int count = 0;
    for (size_t first = 0; first < EntryCount; first += ChunkEntries) {
        if (!ReadProcessMemory(process, table + first * EntrySize, chunk.data(), chunk.size(),
                               nullptr))
            return -1;
        count += CountLive(chunk.data(), ChunkEntries, owner);
    }
    return count;
}

} // namespace

int GdiObjectCount(HANDLE process)
{
    const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported > 0) return int(reported);
    return CountHandleTable(process);
}

int GdiObjectCount()
{
    // Deletions still batched on this thread would count as live objects.
    GdiFlush();
    return GdiObjectCount(GetCurrentProcess());
}

} // namespace wintest
