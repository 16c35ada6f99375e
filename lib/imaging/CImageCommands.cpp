#include "imaging/CImageCommands.h"

#include "imaging/BitmapBits.h"

#include <vector>

namespace {

// The whole pixel buffer of a bitmap as GetBitmapBits delivers it, top row
// first.
bool ReadBits(HBITMAP bitmap, BITMAP &bm, std::vector<BYTE> &bytes)
{
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    bytes.resize(BitmapBitsStride(bm) * size_t(bm.bmHeight));
    return GetBitmapBits(bitmap, LONG(bytes.size()), bytes.data()) == LONG(bytes.size());
}

bool WriteBits(HBITMAP bitmap, const std::vector<BYTE> &bytes)
{
    return SetBitmapBits(bitmap, DWORD(bytes.size()), bytes.data()) > 0;
}

bool Near(int pixelByte, int keyByte, int tolerance)
{
    return pixelByte - tolerance <= keyByte && keyByte <= pixelByte + tolerance;
}

// Only the blue, green and red bytes count: the fourth byte of 32-bit pixels
// holds alpha or whatever the last writer left there.
bool MatchesKey(const BYTE *pixel, COLORREF key, int tolerance)
{
    return Near(pixel[0], GetRValue(key), tolerance) && Near(pixel[1], GetGValue(key), tolerance) &&
           Near(pixel[2], GetBValue(key), tolerance);
}

// The pixels of a 24- or 32-bit bitmap whose description is `info`; false
// for other depths, or when the description is stale (another size or depth
// would walk the buffer with the wrong geometry).
bool ReadColourBits(HBITMAP bitmap, const BITMAP &info, BITMAP &bm, std::vector<BYTE> &bytes)
{
    return ReadBits(bitmap, bm, bytes) && info.bmWidth == bm.bmWidth &&
           info.bmHeight == bm.bmHeight && info.bmBitsPixel == bm.bmBitsPixel &&
           bm.bmBitsPixel / 8 >= 3;
}

} // namespace

CImageCommands::CImageCommands() = default;

CImageCommands::~CImageCommands() = default;

bool CImageCommands::WriteTextToImage(HBITMAP bitmap, int x, int y, const wchar_t *text,
                                      LOGFONTW font, COLORREF color)
{
    return WriteTextOnBitmap(*this, bitmap, x, y, text, font, color);
}

bool CImageCommands::ConvertImagefromBGRtoRGB(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return false;
    return ConvertBGRtoRGB(bitmap, bm.bmWidth * bm.bmHeight, short(bm.bmBitsPixel / 8));
}

void CImageCommands::SwitchByteBlock(BYTE *first, BYTE *second, WORD count)
{
    for (WORD i = 0; i < count; ++i) {
        const BYTE b = first[i];
        first[i] = second[i];
        second[i] = b;
    }
}

bool CImageCommands::SwitchImageHorizontal(HBITMAP bitmap)
{
    BITMAP bm = {};
    std::vector<BYTE> bytes;
    if (!ReadBits(bitmap, bm, bytes)) return false;
    // Exchanging whole rows handles every depth and the row padding alike.
    const size_t rowBytes = BitmapBitsStride(bm);
    for (LONG r = 0; r < bm.bmHeight / 2; ++r) {
        BYTE *top = bytes.data() + size_t(r) * rowBytes;
        BYTE *bottom = bytes.data() + size_t(bm.bmHeight - 1 - r) * rowBytes;
        for (size_t done = 0; done < rowBytes; done += 0xFFFF) {
            const size_t n = rowBytes - done < 0xFFFF ? rowBytes - done : 0xFFFF;
            SwitchByteBlock(top + done, bottom + done, WORD(n));
        }
    }
    return WriteBits(bitmap, bytes);
}

bool CImageCommands::CreateImageMask(HBITMAP bitmap, BITMAP info, COLORREF key, short tolerance,
                                     bool invert)
{
    BITMAP bm = {};
    std::vector<BYTE> bytes;
    if (!ReadColourBits(bitmap, info, bm, bytes)) return false;
    const size_t bytesPerPixel = size_t(bm.bmBitsPixel / 8);
    const BYTE matchValue = invert ? 0xFF : 0x00;
    const BYTE otherValue = invert ? 0x00 : 0xFF;
    for (LONG row = 0; row < bm.bmHeight; ++row) {
        BYTE *p = bytes.data() + size_t(row) * BitmapBitsStride(bm);
        for (LONG x = 0; x < bm.bmWidth; ++x, p += bytesPerPixel)
            p[0] = p[1] = p[2] = MatchesKey(p, key, tolerance) ? matchValue : otherValue;
    }
    return WriteBits(bitmap, bytes);
}

bool PaintKeyedPixels(HBITMAP bitmap, const BITMAP &info, COLORREF key, short tolerance,
                      bool invert, COLORREF background)
{
    BITMAP bm = {};
    std::vector<BYTE> bytes;
    if (!ReadColourBits(bitmap, info, bm, bytes)) return false;
    const size_t bytesPerPixel = size_t(bm.bmBitsPixel / 8);
    for (LONG row = 0; row < bm.bmHeight; ++row) {
        BYTE *p = bytes.data() + size_t(row) * BitmapBitsStride(bm);
        for (LONG x = 0; x < bm.bmWidth; ++x, p += bytesPerPixel) {
            if (MatchesKey(p, key, tolerance) == invert) continue;
            // Memory order is blue, green, red, then the fourth byte, which a
            // painted background leaves 0.
            p[0] = GetBValue(background), p[1] = GetGValue(background);
            p[2] = GetRValue(background);
            if (bytesPerPixel == 4) p[3] = 0;
        }
    }
    return WriteBits(bitmap, bytes);
}

HBITMAP CImageCommands::MaskImage(HBITMAP source, BITMAP info, HBITMAP mask, COLORREF background)
{
    if (!source || !mask || info.bmWidth <= 0 || info.bmHeight <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    HBITMAP result = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    HDC resultDc = result ? CreateCompatibleDC(screen) : nullptr;
    HDC sourceDc = resultDc ? CreateCompatibleDC(screen) : nullptr;
    ReleaseDC(nullptr, screen);
    if (!sourceDc) {
        if (resultDc) DeleteDC(resultDc);
        if (result) DeleteObject(result);
        return nullptr;
    }

    HGDIOBJ oldResult = SelectObject(resultDc, result);
    HGDIOBJ oldSource = SelectObject(sourceDc, source);
    HBRUSH brush = CreateSolidBrush(background);
    HGDIOBJ oldBrush = SelectObject(resultDc, brush);
    PatBlt(resultDc, 0, 0, info.bmWidth, info.bmHeight, PATCOPY);
    // Foreground SRCCOPY where the mask bit is set, background (the
    // destination, DSTCOPY) where it is clear.
    MaskBlt(resultDc, 0, 0, info.bmWidth, info.bmHeight, sourceDc, 0, 0, mask, 0, 0,
            MAKEROP4(SRCCOPY, 0x00AA0029));
    SelectObject(resultDc, oldBrush);
    DeleteObject(brush);
    SelectObject(sourceDc, oldSource);
    SelectObject(resultDc, oldResult);
    DeleteDC(sourceDc);
    DeleteDC(resultDc);
    return result;
}

bool CImageCommands::GrayingImage(HBITMAP)
{
    return true;
}
