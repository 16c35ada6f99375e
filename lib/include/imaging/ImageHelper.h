// Base of every bitmap-handling class of the library: empty DIB sections with
// a memory DC, DIBs filled from pixel rows, text onto bitmaps and the
// red/blue exchange.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PICTAVO_API ImageHelper {
public:
    // How a picture is fitted into an area (names: CImage::GetAdjustmentDescription).
    enum Adjustment { Centered = 0, Filled = 1, Adjusted = 2, Stretched = 3 };

    // A memory DC with a new, black DIB section selected, or null. The DC and
    // the bitmap belong to the caller: draw, DeleteDC, keep the bitmap. A
    // null window means the screen.
    HDC CreateEmptyBitmap(HWND window, HBITMAP &bitmap, int width, int height, int depth);
    HDC CreateEmptyBitmap(HWND window, HBITMAP &bitmap, const BITMAPINFO &info);
    // As above, filled from bottom-up rows padded to 4 bytes (blue, green,
    // red, reserved); `pixels` must hold that many bytes.
    HDC CreateBitmapFromDIB(HWND window, HBITMAP &bitmap, int width, int height, int depth,
                            const BYTE *pixels);

    void PrepareTextForBitmap(COLORREF color, UINT align);
    // Draws with TextColor and TextAlign on a transparent background.
    void DrawTextToBitmap(HDC &dc, int x, int y, const wchar_t *text, LOGFONTW font);

    COLORREF TextColor;
    UINT TextAlign;

protected:
    ImageHelper();
    ~ImageHelper();
    ImageHelper(const ImageHelper &) = default;
    ImageHelper &operator=(const ImageHelper &) = default;

    // Exchanges bytes 0 and 2 of the first `count` pixels (and sets byte 3
    // of 4-byte pixels to 0xFF); the bitmap is unchanged when its bits
    // cannot be read.
    bool ConvertBGRtoRGB(HBITMAP &bitmap, int count, short bytesPerPixel);

private:
    BITMAPINFO CreateBitmapInfo(int width, int height, int depth);
    void Convert(BYTE *pixels, int count, short bytesPerPixel);
};
