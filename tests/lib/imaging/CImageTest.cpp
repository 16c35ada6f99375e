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
    Fill(original, 2, 2, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)});
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
    const COLORREF nearBlack = RGB(10, 30, 25), kept = RGB(0, 0, 31), green = RGB(0, 128, 0);
    for (bool invert : {false, true}) {
        CImage image;
        Fill(image, 2, 1, {nearBlack, kept});
        image.SetBackColor(green);
        image.Cmd_MaskImage(RGB(0, 0, 0), 30, invert);
        ASSERT_EQ(image.GetWidth(), 2);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), invert ? nearBlack : green);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 1, 0), invert ? green : kept);
    }
}

TEST(Image, TextIsCentredAndBytesAreHandedOut)
{
    CImage image;
    Fill(image, 1, 2, {RGB(10, 20, 30), RGB(40, 50, 60)});
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
