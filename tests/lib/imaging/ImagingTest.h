// Shared by the imaging tests: pixel access and the independent reader.
#pragma once

#include "support/HostShell.h"
#include "support/WinTest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace imagingtest {

using wintest::OutFile;
using wintest::Wide;

// Pixel colour as a COLORREF, read through a DC so that every depth and
// row layout reads alike.
inline COLORREF PixelAt(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return color;
}

// The bitmap's bytes as GetBitmapBits gives them (top row first).
inline std::vector<BYTE> Bits(HBITMAP bitmap)
{
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    const size_t stride = ((size_t(bm.bmWidth) * bm.bmBitsPixel + 15) / 16) * 2; // WORD-padded
    std::vector<BYTE> bytes(stride * size_t(bm.bmHeight));
    GetBitmapBits(bitmap, LONG(bytes.size()), bytes.data());
    return bytes;
}

// A 32-bit DIB section whose top-down pixels are given as COLORREFs.
inline HBITMAP MakeBitmap(int width, int height, const std::vector<COLORREF> &pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DWORD *p = static_cast<DWORD *>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
        p[i] = RGB(GetBValue(pixels[i]), GetGValue(pixels[i]), GetRValue(pixels[i]));
    return bitmap;
}

inline bool WriteBytes(const std::wstring &path, const std::vector<BYTE> &bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// A TGA file: the 18-byte header, an identification field and the body.
inline std::vector<BYTE> Tga(int type, int width, int height, int bits,
                             const std::vector<BYTE> &body, BYTE descriptor = 0,
                             const std::string &id = "")
{
    std::vector<BYTE> file(18 + id.size() + body.size(), 0);
    file[0] = BYTE(id.size());
    file[2] = BYTE(type);
    file[12] = BYTE(width), file[13] = BYTE(width >> 8);
    file[14] = BYTE(height), file[15] = BYTE(height >> 8);
    file[16] = BYTE(bits), file[17] = descriptor;
    std::copy(id.begin(), id.end(), file.begin() + 18);
    std::copy(body.begin(), body.end(), file.begin() + 18 + long(id.size()));
    return file;
}

// What ImageMagick sees in a file: format, size and 8-bit RGB pixels.
struct Seen {
    std::string format;
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgb; // top row first
    COLORREF At(int x, int y) const
    {
        const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

// `options` go between the file and the output, e.g. "-auto-orient".
inline bool ReadWithImageMagick(const OutFile &file, Seen &seen, const std::string &options = "")
{
    const OutFile raw(file.host.substr(file.host.rfind('/') + 1) + ".rgb");
    std::string output;
    const std::string first = wintest::ShellQuote(file.host + "[0]");
    const int status =
        wintest::RunOnHost("identify -format '%m %w %h\\n' " + first + " && convert " + first +
                               " " + options + " -depth 8 rgb:" + wintest::ShellQuote(raw.host),
                           &output);
    std::istringstream words(output);
    if (status != 0 || !(words >> seen.format >> seen.width >> seen.height)) {
        ADD_FAILURE() << "ImageMagick cannot read " << file.host << ": " << output;
        return false;
    }
    std::ifstream in(raw.windows.c_str(), std::ios::binary);
    seen.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    DeleteFileW(raw.windows.c_str());
    return seen.rgb.size() == size_t(seen.width) * size_t(seen.height) * 3;
}

inline bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

#define SKIP_WITHOUT_HOST_SHELL()                                                                  \
    if (!wintest::HostShellAvailable()) GTEST_SKIP() << "no host shell (not under Wine?)"

} // namespace imagingtest
