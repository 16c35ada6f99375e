#include "imaging/ImageHelper.h"

#include "imaging/BitmapBits.h"

#include <cstring>
#include <cwchar>
#include <vector>

ImageHelper::ImageHelper() : TextColor(RGB(255, 255, 255)), TextAlign(TA_LEFT | TA_TOP) {}

ImageHelper::~ImageHelper() = default;

BITMAPINFO ImageHelper::CreateBitmapInfo(int width, int height, int depth)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(depth);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HDC ImageHelper::CreateEmptyBitmap(HWND window, HBITMAP &bitmap, int width, int height, int depth)
{
    // A negative height would silently give a top-down bitmap and a
    // depth outside 1..32 is nothing GDI can create.
    if (width <= 0 || height <= 0 || depth <= 0 || depth > 32) {
        bitmap = nullptr;
        return nullptr;
    }
    return CreateEmptyBitmap(window, bitmap, CreateBitmapInfo(width, height, depth));
}

HDC ImageHelper::CreateEmptyBitmap(HWND window, HBITMAP &bitmap, const BITMAPINFO &info)
{
    HDC windowDc = GetDC(window);
    HDC dc = windowDc ? CreateCompatibleDC(windowDc) : nullptr;
    if (windowDc) ReleaseDC(window, windowDc);
    if (!dc) return nullptr;

    void *bits = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(dc);
        return nullptr;
    }
    SelectObject(dc, bitmap);
    return dc;
}

HDC ImageHelper::CreateBitmapFromDIB(HWND window, HBITMAP &bitmap, int width, int height, int depth,
                                     const BYTE *pixels)
{
    HDC dc = CreateEmptyBitmap(window, bitmap, width, height, depth);
    if (!dc || !pixels) return dc;
    // The new DIB section has exactly the layout of the caller's rows (the
    // same header), so they go straight into its memory.
    DIBSECTION section = {};
    if (GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) && section.dsBm.bmBits) {
        const size_t stride = ((size_t(width) * size_t(depth) + 31) / 32) * 4;
        GdiFlush();
        memcpy(section.dsBm.bmBits, pixels, stride * size_t(height));
    }
    return dc;
}

void ImageHelper::PrepareTextForBitmap(COLORREF color, UINT align)
{
    TextColor = color;
    TextAlign = align;
}

bool WriteTextOnBitmap(ImageHelper &helper, HBITMAP bitmap, int x, int y, const wchar_t *text,
                       const LOGFONTW &font, COLORREF color)
{
    if (!bitmap || !text) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, bitmap);
    helper.PrepareTextForBitmap(color, TA_CENTER | TA_TOP);
    helper.DrawTextToBitmap(dc, x, y, text, font);
    SelectObject(dc, old);
    DeleteDC(dc);
    return true;
}

void ImageHelper::DrawTextToBitmap(HDC &dc, int x, int y, const wchar_t *text, LOGFONTW font)
{
    if (!dc || !text) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TextAlign);
    HFONT hfont = CreateFontIndirectW(&font);
    HGDIOBJ old = hfont ? SelectObject(dc, hfont) : nullptr;
    SetTextColor(dc, TextColor);
    TextOutW(dc, x, y, text, int(wcslen(text)));
    if (hfont) {
        SelectObject(dc, old);
        DeleteObject(hfont);
    }
}

void ImageHelper::Convert(BYTE *pixels, int count, short bytesPerPixel)
{
    if (!pixels || count <= 0 || bytesPerPixel < 3) return;
    for (int i = 0; i < count; ++i, pixels += bytesPerPixel) {
        const BYTE blue = pixels[0];
        pixels[0] = pixels[2];
        pixels[2] = blue;
        if (bytesPerPixel > 3) pixels[3] = 0xFF;
    }
}

bool ImageHelper::ConvertBGRtoRGB(HBITMAP &bitmap, int count, short bytesPerPixel)
{
    BITMAP bm = {};
    if (!bitmap || bytesPerPixel < 3 || count <= 0 || !GetObjectW(bitmap, sizeof(bm), &bm))
        return false;
    if (bm.bmBitsPixel != bytesPerPixel * 8 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    // GetBitmapBits rows are padded to a WORD: 24-bit bitmaps of odd width
    // do not have packed rows, so walk them row by row.
    const size_t rowBytes = BitmapBitsStride(bm);
    const size_t total = rowBytes * size_t(bm.bmHeight);
    std::vector<BYTE> bytes(total);
    if (GetBitmapBits(bitmap, LONG(total), bytes.data()) != LONG(total)) return false;

    const long long pixels = (long long)bm.bmWidth * bm.bmHeight;
    long long left = count < pixels ? count : pixels;
    for (LONG row = 0; row < bm.bmHeight && left > 0; ++row) {
        const int n = int(left < bm.bmWidth ? left : bm.bmWidth);
        Convert(bytes.data() + size_t(row) * rowBytes, n, bytesPerPixel);
        left -= n;
    }
    return SetBitmapBits(bitmap, DWORD(total), bytes.data()) > 0;
}
