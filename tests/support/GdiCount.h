// How many GDI objects (DCs, bitmaps, pens, brushes, fonts, ...) the test
// process holds, for tests that look for leaks.
#pragma once

namespace wintest {

// GetGuiResources where it works; under Wine, where it always answers 0,
// the live entries of the process's GDI handle table (stock objects
// included, so compare counts rather than expect 0). -1 when neither
// source is available.
int GdiObjectCount();

} // namespace wintest
