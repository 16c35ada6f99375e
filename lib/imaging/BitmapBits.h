// Internal to the imaging classes: the buffer layout of GetBitmapBits and
// SetBitmapBits, and text written straight onto a bitmap handle.
#pragma once

#include "imaging/ImageHelper.h"

#include <windows.h>

#include <cstddef>

// Their rows are padded to a WORD, whatever the bitmap's bmWidthBytes says
// (a DIB section reports its own, DWORD-padded rows there).
inline std::size_t BitmapBitsStride(const BITMAP &bm)
{
    return ((std::size_t(bm.bmWidth) * bm.bmBitsPixel + 15) / 16) * 2;
}

// Centred on x, top at y, transparent background; the text settings stay
// with `helper`, as after its own PrepareTextForBitmap.
bool WriteTextOnBitmap(ImageHelper &helper, HBITMAP bitmap, int x, int y, const wchar_t *text,
                       const LOGFONTW &font, COLORREF color);
