#include "support/GdiCount.h"

#include <winternl.h>

#include <vector>

namespace wintest {

int GdiObjectCount(HANDLE process)
{
    if (const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS)) return int(reported);
    // The table the PEB points to on x64 (at 0xF8): 0x10000 entries of 24
    // bytes, the owner's process id at 8 and the type at 14 (0: free). Wine
    // keeps one table per process and leaves the owner 0.
    PROCESS_BASIC_INFORMATION basic = {};
    const BYTE *table = nullptr;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  nullptr) != 0 ||
        !ReadProcessMemory(process, (const BYTE *)basic.PebBaseAddress + 0xF8, &table,
                           sizeof(table), nullptr) ||
        !table)
        return -1;
    const USHORT owner = USHORT(GetProcessId(process));
    std::vector<BYTE> chunk(0x1000 * 24); // the table in pieces: it is 1.5 MB
    int count = 0;
    for (size_t first = 0; first < 0x10000; first += 0x1000) {
        if (!ReadProcessMemory(process, table + first * 24, chunk.data(), chunk.size(), nullptr))
            return -1;
        for (const BYTE *entry = chunk.data(); entry < chunk.data() + chunk.size(); entry += 24) {
            const USHORT entryOwner = *(const USHORT *)(entry + 8);
            count += entry[14] && (entryOwner == 0 || entryOwner == owner);
        }
    }
    return count;
}

int GdiObjectCount()
{
    GdiFlush(); // deletions still batched on this thread would count as live
    return GdiObjectCount(GetCurrentProcess());
}

} // namespace wintest
