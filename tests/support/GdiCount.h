// How many GDI objects (DCs, bitmaps, pens, brushes, fonts, ...) a process
// holds, for tests that look for leaks and benchmarks that watch a program.
#pragma once

#include <windows.h>

namespace wintest {

// GetGuiResources where it works; under Wine, where it always answers 0,
// the live entries of the process's GDI handle table (stock objects
// included, so compare counts rather than expect 0). -1 when neither
// source is available.
int GdiObjectCount();

// The same for another process. The handle needs PROCESS_QUERY_INFORMATION
// and PROCESS_VM_READ, since the table is read from the other process's
// memory; -1 without them.
int GdiObjectCount(HANDLE process);

} // namespace wintest
