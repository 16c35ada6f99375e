// Bitmap helper and pixel commands.
#include "ImagingTest.h"

#include "imaging/CImageCommands.h"

using namespace imagingtest;

namespace {

struct Helper : ImageHelper { // opens the protected conversion
    using ImageHelper::ConvertBGRtoRGB;
};

// Bottom-up rows, padded to 4 bytes.
HBITMAP FromRows(int width, int height, int depth, const std::vector<BYTE> &rows)
{
    HBITMAP bitmap = nullptr;
    HDC dc = Helper().CreateBitmapFromDIB(nullptr, bitmap, width, height, depth, rows.data());
    EXPECT_NE(dc, nullptr);
    DeleteDC(dc);
    return bitmap;
}

// 3 x 2 at 24 bits: 9 bytes of pixels and 3 of padding per row; blue
// bottom-left, red top-right, black elsewhere.
const std::vector<BYTE> kPadded = {255, 0, 0, 0, 0, 0, 0, 0, 0,   0, 0, 0,
                                   0,   0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0};

TEST(ImageHelper, NewBitmapsAreBlackBottomUpDibsAndImpossibleSizesFail)
{
    HBITMAP bitmap = nullptr;
    HDC dc = Helper().CreateEmptyBitmap(nullptr, bitmap, 4, 3, 32);
    ASSERT_NE(dc, nullptr);
    DeleteDC(dc);
    DIBSECTION s = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(s), &s), int(sizeof(s)));
    EXPECT_EQ(std::vector<LONG>({s.dsBm.bmWidth, s.dsBm.bmHeight, s.dsBm.bmBitsPixel}),
              std::vector<LONG>({4, 3, 32}));
    EXPECT_GT(s.dsBmih.biHeight, 0);
    EXPECT_EQ(Bits(bitmap), std::vector<BYTE>(48, 0));
    DeleteObject(bitmap);
    for (int size : {0, -3}) {
        bitmap = HBITMAP(1);
        EXPECT_EQ(Helper().CreateEmptyBitmap(nullptr, bitmap, 4, size, 32), nullptr);
        EXPECT_EQ(bitmap, nullptr);
    }

    HBITMAP padded = FromRows(3, 2, 24, kPadded);
    EXPECT_EQ(PixelAt(padded, 0, 1), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(padded, 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(padded, 1, 1), RGB(0, 0, 0));
    DeleteObject(padded);
}

TEST(ImageHelper, RedBlueExchangeSetsAlphaAndUndoesItself)
{
    HBITMAP b32 = FromRows(2, 1, 32, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80});
    ASSERT_TRUE(Helper().ConvertBGRtoRGB(b32, 2, 4));
    EXPECT_EQ(Bits(b32), (std::vector<BYTE>{0x30, 0x20, 0x10, 0xFF, 0x70, 0x60, 0x50, 0xFF}));
    ASSERT_TRUE(Helper().ConvertBGRtoRGB(b32, 2, 4));
    EXPECT_EQ(Bits(b32), (std::vector<BYTE>{0x10, 0x20, 0x30, 0xFF, 0x50, 0x60, 0x70, 0xFF}));
    DeleteObject(b32);
    // 24 bits, width 1: every row carries a padding byte, not a pixel.
    HBITMAP b24 = FromRows(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0});
    ASSERT_TRUE(Helper().ConvertBGRtoRGB(b24, 2, 3));
    EXPECT_EQ(PixelAt(b24, 0, 0), RGB(4, 5, 6));
    EXPECT_EQ(PixelAt(b24, 0, 1), RGB(1, 2, 3));
    DeleteObject(b24);
    HBITMAP none = nullptr;
    EXPECT_FALSE(Helper().ConvertBGRtoRGB(none, 2, 4));
}

TEST(ImageCommands, MaskRuleOfKeyToleranceAndInvertKeepsByte3)
{
    const struct {
        BYTE blue, green, red; // pixel bytes 0, 1, 2
        COLORREF key;
        short tolerance;
        bool invert;
        BYTE expected;                                    // all three bytes afterwards
    } cases[] = {{30, 30, 30, 0x000000, 30, false, 0x00}, // at the edge
                 {31, 0, 0, 0x000000, 30, false, 0xFF},   // one byte out
                 {30, 30, 30, 0x000000, 30, true, 0xFF},  // inverted
                 {31, 0, 0, 0x000000, 30, true, 0x00},
                 {0xFF, 0, 0, 0x0000FF, 0, false, 0x00}, // key low byte vs byte 0
                 {0, 0, 0xFF, 0x0000FF, 0, false, 0xFF},
                 {0, 0, 0, 0x000000, -1, false, 0xFF}}; // negative: no match
    for (const auto &c : cases) {
        HBITMAP bitmap = FromRows(1, 1, 32, {c.blue, c.green, c.red, 0x5A});
        BITMAP bm = {};
        GetObjectW(bitmap, sizeof(bm), &bm);
        ASSERT_TRUE(CImageCommands().CreateImageMask(bitmap, bm, c.key, c.tolerance, c.invert));
        EXPECT_EQ(Bits(bitmap), (std::vector<BYTE>{c.expected, c.expected, c.expected, 0x5A}))
            << int(c.blue) << " " << int(c.green) << " " << int(c.red) << " key " << c.key << " ~"
            << c.tolerance << (c.invert ? " inverted" : "");
        DeleteObject(bitmap);
    }
}

TEST(ImageCommands, UpsideDownSwapsWholeRowsOfEveryLayout)
{
    HBITMAP column = MakeBitmap(1, 3, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
    const std::vector<BYTE> before = Bits(column);
    ASSERT_TRUE(CImageCommands().SwitchImageHorizontal(column));
    EXPECT_EQ(PixelAt(column, 0, 0), RGB(7, 8, 9));
    EXPECT_EQ(PixelAt(column, 0, 1), RGB(4, 5, 6));
    ASSERT_TRUE(CImageCommands().SwitchImageHorizontal(column));
    EXPECT_EQ(Bits(column), before);
    DeleteObject(column);
    HBITMAP padded = FromRows(3, 2, 24, kPadded);
    ASSERT_TRUE(CImageCommands().SwitchImageHorizontal(padded));
    EXPECT_EQ(PixelAt(padded, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(padded, 2, 1), RGB(255, 0, 0));
    DeleteObject(padded);
    EXPECT_FALSE(CImageCommands().SwitchImageHorizontal(nullptr));
}

TEST(ImageCommands, MaskImageShowsSourceWhereBitsAreSetAndBackgroundElsewhere)
{
    HBITMAP source = MakeBitmap(8, 2, std::vector<COLORREF>(16, RGB(10, 200, 30)));
    BITMAP bm = {};
    GetObjectW(source, sizeof(bm), &bm);
    // WORD-aligned rows, leftmost pixel in the high bit: top row half set.
    const BYTE maskBits[] = {0xF0, 0, 0x00, 0};
    HBITMAP mask = CreateBitmap(8, 2, 1, 1, maskBits);
    HBITMAP result = CImageCommands().MaskImage(source, bm, mask, RGB(255, 0, 255));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PixelAt(result, 3, 0), RGB(10, 200, 30));
    EXPECT_EQ(PixelAt(result, 4, 0), RGB(255, 0, 255));
    EXPECT_EQ(PixelAt(result, 0, 1), RGB(255, 0, 255));
    EXPECT_EQ(CImageCommands().MaskImage(source, bm, nullptr, 0), nullptr);
    DeleteObject(result);
    DeleteObject(mask);
    DeleteObject(source);
}

} // namespace
