#include "ImagingTest.h"

#include "imaging/CImage.h"
#include "support/GdiCount.h"

#include <functional>

using namespace imagingtest;

namespace {

// An image whose pixels are given top row first.
bool Fill(CImage &image, int width, int height, const std::vector<COLORREF> &pixels, int depth = 32)
{
    if (!image.CreateBitmap(nullptr, width, height, depth)) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.GetHBitmap());
    for (int i = 0; i < width * height; ++i)
        SetPixel(dc, i % width, i / width, pixels[size_t(i)]);
    SelectObject(dc, old);
    DeleteDC(dc);
    return true;
}

// Where an image lands when drawn onto a 300 x 200 canvas: the bounding box
// (left, top, right, bottom) of the pixels that changed.
template <typename Draw> std::vector<LONG> DrawnArea(Draw draw)
{
    HBITMAP canvas = MakeBitmap(300, 200, std::vector<COLORREF>(300 * 200, RGB(0, 0, 90)));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    std::vector<LONG> box = {300, 200, -1, -1};
    if (draw(dc))
        for (LONG y = 0; y < 200; ++y)
            for (LONG x = 0; x < 300; ++x)
                if (GetPixel(dc, x, y) != RGB(0, 0, 90))
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
                           std::max(box[3], y + 1)};
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(canvas);
    return box;
}

TEST(Image, CreatesCopiesAndFailsWithoutABitmap)
{
    CImage empty;
    EXPECT_FALSE(empty.Cmd_SwitchImageHorizontal() || empty.Cmd_SetImageMonochrome());
    CImage image;
    image.SetBackColor(RGB(12, 34, 56));
    ASSERT_TRUE(image.CreateBitmap(nullptr, 5, 3, 24));
    EXPECT_EQ(std::vector<int>({image.GetWidth(), image.GetHeight(), image.GetDepth()}),
              std::vector<int>({5, 3, 24}));
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 4, 2), RGB(12, 34, 56));
    EXPECT_FALSE(image.CreateBitmap(nullptr, 0, 3, 32)); // the old bitmap is gone as well
    EXPECT_EQ(image.GetHBitmap(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);

    CImage original;
    original.SetBackColor(RGB(1, 2, 3));
    ASSERT_TRUE(
        Fill(original, 2, 2, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)}));
    CImage copy(&original);
    ASSERT_NE(copy.GetHBitmap(), original.GetHBitmap());
    EXPECT_EQ(copy.GetBackColor(), RGB(1, 2, 3));
    EXPECT_EQ(Bits(copy.GetHBitmap()), Bits(original.GetHBitmap()));
    copy.Cmd_SwitchImageHorizontal();
    EXPECT_EQ(PixelAt(original.GetHBitmap(), 0, 0), RGB(255, 0, 0)) << "copies own their pixels";
    CImage assigned;
    assigned = copy;
    EXPECT_EQ(PixelAt(assigned.GetHBitmap(), 0, 0), RGB(0, 0, 255));
    ASSERT_TRUE(original.Cmd_SetImageMonochrome());
    EXPECT_EQ(original.GetDepth(), 1);
    CImage mono(original); // a 1-bit copy keeps its two colours
    EXPECT_EQ(Bits(mono.GetHBitmap()), Bits(original.GetHBitmap()));
}

TEST(Image, DrawsAtNaturalSizeZoomedAndStretched)
{
    CImage image;
    image.SetBackColor(RGB(200, 0, 0));
    ASSERT_TRUE(image.CreateBitmap(nullptr, 101, 51, 32));
    using Box = std::vector<LONG>;
    EXPECT_EQ(DrawnArea([&](HDC &dc) { return image.DrawBitmap(dc); }), (Box{0, 0, 101, 51}));
    EXPECT_EQ(DrawnArea([&](HDC &dc) { return image.DrawBitmap(dc, 10, 20, 0.5); }),
              (Box{10, 20, 60, 45})); // 50 x 25: truncated
    EXPECT_EQ(DrawnArea([&](HDC &dc) {
                  return image.StretchBitmap(dc, RECT{5, 6, 205, 156});
              }),
              (Box{5, 6, 205, 156}));
    EXPECT_EQ(DrawnArea([&](HDC &dc) { return CImage().DrawBitmap(dc); }), (Box{300, 200, -1, -1}));
}

TEST(Image, MaskPutsTheBackgroundWhereTheKeyMatches)
{
    // Blue, green and red bytes (25, 30, 10) lie within 30 of black, (31, 0, 0)
    // and white do not. 3 x 2, so that 24-bit rows are padded.
    const COLORREF nearBlack = RGB(10, 30, 25), kept = RGB(0, 0, 31), white = RGB(255, 255, 255);
    const std::vector<COLORREF> pixels = {nearBlack, kept, white, kept, white, nearBlack};
    std::vector<COLORREF> swapped;
    for (COLORREF c : pixels)
        swapped.push_back(RGB(GetBValue(c), GetGValue(c), GetRValue(c)));
    std::vector<BYTE> tgaBody; // top row first, alpha 0x80 and 0xFF by turns
    for (size_t i = 0; i < pixels.size(); ++i)
        tgaBody.insert(tgaBody.end(), {GetBValue(pixels[i]), GetGValue(pixels[i]),
                                       GetRValue(pixels[i]), BYTE(i % 2 ? 0xFF : 0x80)});
    const OutFile tga("mask-alpha.tga");

    // The fourth byte of 32-bit pixels is whatever the source left there; it
    // must not decide.
    const std::vector<std::pair<const char *, std::function<bool(CImage &)>>> sources = {
        {"24-bit", [&](CImage &image) { return Fill(image, 3, 2, pixels, 24); }},
        {"32-bit, fourth byte 0", [&](CImage &image) { return Fill(image, 3, 2, pixels); }},
        {"32-bit, fourth byte 0xFF",
         [&](CImage &image) {
             if (!Fill(image, 3, 2, pixels)) return false;
             std::vector<BYTE> bytes = Bits(image.GetHBitmap());
             for (size_t i = 3; i < bytes.size(); i += 4)
                 bytes[i] = 0xFF;
             return SetBitmapBits(image.GetHBitmap(), DWORD(bytes.size()), bytes.data()) > 0;
         }},
        {"red and blue exchanged",
         [&](CImage &image) {
             return Fill(image, 3, 2, swapped) && image.Cmd_ConvertImagefromBGRtoRGB();
         }},
        {"32-bit TGA with alpha",
         [&](CImage &image) {
             return WriteBytes(tga.windows, Tga(2, 3, 2, 32, tgaBody, 0x28)) &&
                    image.Load(tga.windows.c_str());
         }},
    };
    const COLORREF green = RGB(0, 128, 0);
    const int gdiObjects = wintest::GdiObjectCount();
    for (const auto &source : sources) {
        for (bool invert : {false, true}) {
            CImage image;
            ASSERT_TRUE(source.second(image)) << source.first;
            image.SetBackColor(green);
            image.Cmd_MaskImage(RGB(0, 0, 0), 30, invert);
            ASSERT_EQ(image.GetWidth(), 3) << source.first;
            for (int i = 0; i < 6; ++i) {
                const COLORREF expected =
                    (pixels[size_t(i)] == nearBlack) != invert ? green : pixels[size_t(i)];
                EXPECT_EQ(PixelAt(image.GetHBitmap(), i % 3, i / 3), expected)
                    << source.first << (invert ? ", inverted" : "") << ", pixel " << i;
            }
        }
    }
    EXPECT_EQ(wintest::GdiObjectCount(), gdiObjects);
}

TEST(Image, TextIsCentredAndBytesAreHandedOut)
{
    CImage image;
    ASSERT_TRUE(Fill(image, 1, 2, {RGB(10, 20, 30), RGB(40, 50, 60)}));
    BYTE *data = image.GetBitmapData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::vector<BYTE>(data, data + 8), Bits(image.GetHBitmap()));
    image.FreeBitmapData(data);

    // Centred on x = 30, drawn over the background without a box.
    CImage text;
    ASSERT_TRUE(text.CreateBitmap(nullptr, 60, 24, 32));
    LOGFONTW font = {};
    font.lfHeight = -18;
    wcscpy_s(font.lfFaceName, L"Arial");
    ASSERT_TRUE(text.Cmd_WriteTextToImage(30, 0, L"MWM", font, RGB(255, 255, 0)));
    LONG left = 60, right = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            if (PixelAt(text.GetHBitmap(), x, y) != RGB(0, 0, 0))
                left = std::min(left, LONG(x)), right = std::max(right, LONG(x));
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2.0, 30.0, 2.0);
    EXPECT_EQ(PixelAt(text.GetHBitmap(), 0, 23), RGB(0, 0, 0));
}

TEST(Image, FitModeNamesFollowTheUserInterfaceLanguage)
{
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Stretched), L"Stretched");
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Adjustment(4)), L"");
    const LCID before = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Filled), L"Gefüllt");
    SetThreadLocale(before);
}

TEST(ImageCapture, ScreenShotsAndWindowSelections)
{
    // A 64 x 48 window of one colour at (100, 120) on the session's screen.
    const COLORREF colour = RGB(30, 160, 90);
    WNDCLASSW cls = {};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hbrBackground = CreateSolidBrush(colour);
    cls.lpszClassName = L"ImageCaptureProbe";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100,
                                  120, 64, 48, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    wintest::WaitUntil(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            return wintest::CaptureScreen(RECT{130, 140, 131, 141}).pixels[0] == 0x1EA05A;
        },
        5000);

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    CImage shot;
    ASSERT_TRUE(shot.CreateScreenShot(true, 0, 0));
    EXPECT_EQ(std::vector<int>({shot.GetWidth(), shot.GetHeight()}),
              std::vector<int>({width, height}));
    EXPECT_EQ(PixelAt(shot.GetHBitmap(), 130, 140), colour);
    ASSERT_TRUE(shot.CreateScreenShot(false, width / 2, 0)); // only the width shrinks
    EXPECT_EQ(std::vector<int>({shot.GetWidth(), shot.GetHeight()}),
              std::vector<int>({width / 2, height}));
    EXPECT_EQ(PixelAt(shot.GetHBitmap(), 65, 140), colour);

    CImage part;
    ASSERT_TRUE(part.CreateBitmapFromSelection(window, RECT{2, 3, 12, 8}));
    EXPECT_EQ(std::vector<int>({part.GetWidth(), part.GetHeight()}), std::vector<int>({10, 5}));
    EXPECT_EQ(PixelAt(part.GetHBitmap(), 9, 4), colour);
    for (RECT unused : {RECT{5, 5, 5, 9}, RECT{-1, 0, 10, 10}}) {
        CImage whole;
        ASSERT_TRUE(whole.CreateBitmapFromSelection(window, unused));
        EXPECT_EQ(std::vector<int>({whole.GetWidth(), whole.GetHeight()}),
                  std::vector<int>({64, 48}));
        EXPECT_EQ(PixelAt(whole.GetHBitmap(), 63, 47), colour);
    }
    EXPECT_FALSE(CImage().CreateBitmapFromSelection(nullptr, RECT{0, 0, 5, 5}));
    DestroyWindow(window);
    DeleteObject(cls.hbrBackground);
}

} // namespace
