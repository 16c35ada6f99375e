// Internal: the buffer layout of GetBitmapBits and SetBitmapBits.
#pragma once

#include <windows.h>

#include <cstddef>

// Their rows are padded to a WORD, whatever the bitmap's bmWidthBytes says
// (a DIB section reports its own, DWORD-padded rows there).
inline std::size_t BitmapBitsStride(const BITMAP &bm)
{
    return ((std::size_t(bm.bmWidth) * bm.bmBitsPixel + 15) / 16) * 2;
}
