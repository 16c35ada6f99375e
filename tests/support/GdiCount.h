// How many GDI objects a process holds, for leak tests and benchmarks.
#pragma once

#include <windows.h>

namespace wintest {

// GetGuiResources where it works; under Wine, where it answers 0, the live
// entries of the process's GDI handle table (stock objects included: compare
// counts). The handle needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
// -1 when neither source is available.
int GdiObjectCount(HANDLE process);
int GdiObjectCount();

} // namespace wintest
