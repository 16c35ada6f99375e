#include "ImagingTest.h"

#include "imaging/CImage.h"

using namespace imagingtest;

namespace {

// A 32-bit image whose pixels are given top row first.
void Fill(CImage &image, int width, int height, const std::vector<COLORREF> &pixels)
{
    ASSERT_TRUE(image.CreateBitmap(nullptr, width, height, 32));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.GetHBitmap());
    for (int i = 0; i < width * height; ++i)
        SetPixel(dc, i % width, i / width, pixels[size_t(i)]);
    SelectObject(dc, old);
    DeleteDC(dc);
}

// A 32-bit DIB target filled with one colour, for the drawing tests.
struct Canvas {
    Canvas(int width, int height, COLORREF color)
    {
        bitmap = MakeBitmap(width, height, std::vector<COLORREF>(size_t(width * height), color));
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    // The drawn area: bounding box of pixels that are not the fill colour.
    RECT Drawn(COLORREF fill, int width, int height)
    {
        RECT box = {width, height, -1, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (GetPixel(dc, x, y) != fill)
                    box = {std::min(box.left, LONG(x)), std::min(box.top, LONG(y)),
                           std::max(box.right, LONG(x + 1)), std::max(box.bottom, LONG(y + 1))};
        return box;
    }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

std::vector<LONG> Edges(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

TEST(Image, StartsEmptyAndCreatesFilledBitmaps)
{
    CImage image;
    EXPECT_EQ(image.GetHBitmap(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_TRUE(image.IsStoreImplemented());
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(image.DrawBitmap(screen));
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(image.Cmd_SwitchImageHorizontal());
    EXPECT_FALSE(image.Cmd_SetImageMonochrome());

    image.SetBackColor(RGB(12, 34, 56));
    ASSERT_TRUE(image.CreateBitmap(nullptr, 5, 3, 24));
    EXPECT_EQ(image.GetWidth(), 5);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetDepth(), 24);
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 4, 2), RGB(12, 34, 56));
    EXPECT_FALSE(image.CreateBitmap(nullptr, 0, 3, 32));
    EXPECT_EQ(image.GetHBitmap(), nullptr);
}

TEST(Image, CopiesOwnTheirPixels)
{
    CImage original;
    original.SetBackColor(RGB(1, 2, 3));
    Fill(original, 2, 2, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)});
    CImage copy(&original);
    ASSERT_NE(copy.GetHBitmap(), original.GetHBitmap());
    EXPECT_EQ(copy.GetBackColor(), RGB(1, 2, 3));
    EXPECT_EQ(Bits(copy.GetHBitmap()), Bits(original.GetHBitmap()));
    copy.Cmd_SwitchImageHorizontal();
    EXPECT_EQ(PixelAt(original.GetHBitmap(), 0, 0), RGB(255, 0, 0));

    CImage assigned;
    assigned = copy;
    EXPECT_EQ(PixelAt(assigned.GetHBitmap(), 0, 0), RGB(0, 0, 255));
    ASSERT_TRUE(original.Cmd_SetImageMonochrome());
    EXPECT_EQ(original.GetDepth(), 1);
    CImage mono(original); // 1-bit images keep their two colours
    EXPECT_EQ(Bits(mono.GetHBitmap()), Bits(original.GetHBitmap()));

    CImage none;
    CImage copyOfNone(&none);
    EXPECT_EQ(copyOfNone.GetHBitmap(), nullptr);
}

TEST(Image, DrawsAtNaturalSizeZoomedAndStretched)
{
    CImage image;
    image.SetBackColor(RGB(200, 0, 0));
    ASSERT_TRUE(image.CreateBitmap(nullptr, 101, 51, 32));
    const COLORREF fill = RGB(0, 0, 90);

    Canvas natural(300, 200, fill);
    ASSERT_TRUE(image.DrawBitmap(natural.dc));
    EXPECT_EQ(Edges(natural.Drawn(fill, 300, 200)), Edges(RECT{0, 0, 101, 51}));

    Canvas half(300, 200, fill);
    ASSERT_TRUE(image.DrawBitmap(half.dc, 10, 20, 0.5));
    EXPECT_EQ(Edges(half.Drawn(fill, 300, 200)), Edges(RECT{10, 20, 60, 45})); // 50 x 25, truncated

    Canvas unscaled(300, 200, fill);
    ASSERT_TRUE(image.DrawBitmap(unscaled.dc, 7, 8, 1.0));
    EXPECT_EQ(Edges(unscaled.Drawn(fill, 300, 200)), Edges(RECT{7, 8, 108, 59}));

    Canvas stretched(300, 200, fill);
    ASSERT_TRUE(image.StretchBitmap(stretched.dc, RECT{5, 6, 205, 156}));
    EXPECT_EQ(Edges(stretched.Drawn(fill, 300, 200)), Edges(RECT{5, 6, 205, 156}));
    EXPECT_FALSE(image.DrawBitmap(stretched.dc, 0, 0, 0.0));
}

TEST(Image, MaskPutsTheBackgroundWhereTheKeyMatches)
{
    const COLORREF nearBlack = RGB(10, 30, 25); // bytes 25, 30, 10
    const COLORREF kept = RGB(0, 0, 31);        // byte 0 is 31: outside
    const COLORREF red = RGB(220, 20, 20);
    CImage image;
    Fill(image, 3, 1, {nearBlack, kept, red});
    image.SetBackColor(RGB(255, 255, 255));
    image.Cmd_MaskImage(RGB(0, 0, 0), 30, false);
    ASSERT_NE(image.GetHBitmap(), nullptr);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 1, 0), kept);
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 2, 0), red);

    CImage inverted;
    Fill(inverted, 3, 1, {nearBlack, kept, red});
    inverted.SetBackColor(RGB(0, 128, 0));
    inverted.Cmd_MaskImage(RGB(0, 0, 0), 30, true);
    EXPECT_EQ(PixelAt(inverted.GetHBitmap(), 0, 0), nearBlack);
    EXPECT_EQ(PixelAt(inverted.GetHBitmap(), 1, 0), RGB(0, 128, 0));
    EXPECT_EQ(PixelAt(inverted.GetHBitmap(), 2, 0), RGB(0, 128, 0));

    CImage mask;
    Fill(mask, 2, 1, {nearBlack, red});
    mask.Cmd_CreateImageMask(RGB(0, 0, 0), 30, false);
    EXPECT_EQ(PixelAt(mask.GetHBitmap(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(mask.GetHBitmap(), 1, 0), RGB(255, 255, 255));
}

TEST(Image, CommandsChangeThePixelsInPlace)
{
    CImage image;
    Fill(image, 1, 2, {RGB(10, 20, 30), RGB(40, 50, 60)});
    ASSERT_TRUE(image.Cmd_ConvertImagefromBGRtoRGB());
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), RGB(30, 20, 10));
    EXPECT_EQ(Bits(image.GetHBitmap())[3], 0xFF);
    ASSERT_TRUE(image.Cmd_SwitchImageHorizontal());
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), RGB(60, 50, 40));
    EXPECT_TRUE(image.Cmd_GrayingImage());
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), RGB(60, 50, 40));

    BYTE *data = image.GetBitmapData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::vector<BYTE>(data, data + 8), Bits(image.GetHBitmap()));
    image.FreeBitmapData(data);

    CImage text;
    text.SetBackColor(RGB(0, 0, 0));
    ASSERT_TRUE(text.CreateBitmap(nullptr, 60, 24, 32));
    LOGFONTW font = {};
    font.lfHeight = -18;
    wcscpy_s(font.lfFaceName, L"Arial");
    ASSERT_TRUE(text.Cmd_WriteTextToImage(30, 0, L"8", font, RGB(255, 255, 0)));
    int yellow = 0, leftHalf = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            if (PixelAt(text.GetHBitmap(), x, y) != RGB(0, 0, 0)) {
                ++yellow;
                leftHalf += x < 30;
            }
    ASSERT_GT(yellow, 10);
    EXPECT_NEAR(double(leftHalf) / yellow, 0.5, 0.2); // centred on x = 30
}

TEST(Image, FitModeNamesFollowTheUserInterfaceLanguage)
{
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Stretched), L"Stretched");
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Centered), L"Centered");
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Adjustment(4)), L"");
    const LCID before = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Stretched), L"Gestreckt");
    EXPECT_STREQ(CImage::GetAdjustmentDescription(ImageHelper::Filled), L"Gefüllt");
    SetThreadLocale(before);
}

// --- capture from the screen of the test session --------------------------------

class ImageCapture : public ::testing::Test {
protected:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        return DefWindowProcW(w, m, wp, lp);
    }
    void SetUp() override
    {
        brush_ = CreateSolidBrush(Colour);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = L"ImagingCaptureTest";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100,
                                  120, 64, 48, nullptr, nullptr, wc.hInstance, nullptr);
        if (!window_) GTEST_SKIP() << "no display";
        UpdateWindow(window_);
        // Let the X server show it.
        wintest::WaitUntil(
            [&] {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                HDC screen = GetDC(nullptr);
                const bool shown = GetPixel(screen, 130, 140) == Colour;
                ReleaseDC(nullptr, screen);
                return shown;
            },
            5000);
    }
    void TearDown() override
    {
        if (window_) DestroyWindow(window_);
        UnregisterClassW(L"ImagingCaptureTest", GetModuleHandleW(nullptr));
        DeleteObject(brush_);
    }
    static constexpr COLORREF Colour = RGB(30, 160, 90);
    HWND window_ = nullptr;
    HBRUSH brush_ = nullptr;
};

TEST_F(ImageCapture, ScreenShotHasTheDisplaySizeOrTheMaximum)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);

    CImage shot;
    ASSERT_TRUE(shot.CreateScreenShot(true, 0, 0));
    EXPECT_EQ(shot.GetWidth(), width);
    EXPECT_EQ(shot.GetHeight(), height);
    EXPECT_EQ(shot.GetDepth(), depth);
    EXPECT_EQ(PixelAt(shot.GetHBitmap(), 130, 140), Colour);

    ASSERT_TRUE(shot.CreateScreenShot(false, width / 2, 0));
    EXPECT_EQ(shot.GetWidth(), width / 2);
    EXPECT_EQ(shot.GetHeight(), height);
    EXPECT_EQ(PixelAt(shot.GetHBitmap(), 65, 140), Colour);
}

TEST_F(ImageCapture, SelectionOrWholeWindow)
{
    CImage part;
    ASSERT_TRUE(part.CreateBitmapFromSelection(window_, RECT{2, 3, 12, 8}));
    EXPECT_EQ(part.GetWidth(), 10);
    EXPECT_EQ(part.GetHeight(), 5);
    EXPECT_EQ(PixelAt(part.GetHBitmap(), 9, 4), Colour);

    for (RECT unused : {RECT{5, 5, 5, 9}, RECT{-1, 0, 10, 10}}) {
        CImage whole;
        ASSERT_TRUE(whole.CreateBitmapFromSelection(window_, unused));
        EXPECT_EQ(whole.GetWidth(), 64);
        EXPECT_EQ(whole.GetHeight(), 48);
        EXPECT_EQ(PixelAt(whole.GetHBitmap(), 63, 47), Colour);
    }
    CImage none;
    EXPECT_FALSE(none.CreateBitmapFromSelection(nullptr, RECT{0, 0, 5, 5}));
}

} // namespace
