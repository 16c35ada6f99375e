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

// Paints the background colour over every pixel of a 24- or 32-bit bitmap
// described by `info` whose blue, green and red bytes are all within
// `tolerance` of the bytes of `key` (low byte against byte 0), or with
// `invert` over every other pixel; the rest keep their bytes. False for other
// depths or a stale description.
bool PaintKeyedPixels(HBITMAP bitmap, const BITMAP &info, COLORREF key, short tolerance,
                      bool invert, COLORREF background);

// Centred on x, top at y, transparent background; the text settings stay
// with `helper`, as after its own PrepareTextForBitmap.
bool WriteTextOnBitmap(ImageHelper &helper, HBITMAP bitmap, int x, int y, const wchar_t *text,
                       const LOGFONTW &font, COLORREF color);
