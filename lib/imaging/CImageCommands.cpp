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
    if (!ReadBits(bitmap, bm, bytes)) return false;
    // The caller's description must be the bitmap's: a stale one (another
    // size or depth) would walk the buffer with the wrong geometry.
    if (info.bmWidth != bm.bmWidth || info.bmHeight != bm.bmHeight ||
        info.bmBitsPixel != bm.bmBitsPixel)
        return false;
    const size_t bytesPerPixel = size_t(bm.bmBitsPixel / 8);
    if (bytesPerPixel < 3) return false;

    const int k0 = GetRValue(key), k1 = GetGValue(key), k2 = GetBValue(key);
    const BYTE matchValue = invert ? 0xFF : 0x00;
    const BYTE otherValue = invert ? 0x00 : 0xFF;
    for (LONG row = 0; row < bm.bmHeight; ++row) {
        BYTE *p = bytes.data() + size_t(row) * BitmapBitsStride(bm);
        for (LONG x = 0; x < bm.bmWidth; ++x, p += bytesPerPixel) {
            const bool match =
                Near(p[0], k0, tolerance) && Near(p[1], k1, tolerance) && Near(p[2], k2, tolerance);
            p[0] = p[1] = p[2] = match ? matchValue : otherValue;
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
