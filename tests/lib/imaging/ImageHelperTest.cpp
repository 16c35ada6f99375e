#include "ImagingTest.h"

#include "imaging/CImageCommands.h"
#include "imaging/ImageHelper.h"

using namespace imagingtest;

namespace {

// ImageHelper is only a base; this opens its protected conversion.
struct Helper : ImageHelper {
    using ImageHelper::ConvertBGRtoRGB;
};

TEST(ImageHelper, EmptyBitmapIsABlackBottomUpDibOfTheAskedSize)
{
    Helper helper;
    HBITMAP bitmap = nullptr;
    HDC dc = helper.CreateEmptyBitmap(nullptr, bitmap, 4, 3, 32);
    ASSERT_NE(dc, nullptr);
    DeleteDC(dc);
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmWidth, 4);
    EXPECT_EQ(section.dsBm.bmHeight, 3);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    EXPECT_GT(section.dsBmih.biHeight, 0);
    for (BYTE b : Bits(bitmap))
        ASSERT_EQ(b, 0);
    DeleteObject(bitmap);
}

TEST(ImageHelper, ImpossibleSizesGiveNoDcAndNoBitmap)
{
    Helper helper;
    for (auto size : {std::make_pair(0, 3), std::make_pair(4, 0), std::make_pair(-4, 3),
                      std::make_pair(4, -3)}) {
        HBITMAP bitmap = HBITMAP(1);
        EXPECT_EQ(helper.CreateEmptyBitmap(nullptr, bitmap, size.first, size.second, 32), nullptr);
        EXPECT_EQ(bitmap, nullptr);
    }
}

TEST(ImageHelper, PixelRowsAreReadBottomUpWithPaddedRows)
{
    // 3 x 2 at 24 bits: 9 bytes of pixels and 3 of padding per row.
    const std::vector<BYTE> rows = {
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0, // bottom: red green blue
        0xFF, 0xFF, 0xFF, 0x10, 0x20, 0x30, 0x00, 0x00, 0x00, 0, 0, 0, // top: white, 302010, black
    };
    Helper helper;
    HBITMAP bitmap = nullptr;
    HDC dc = helper.CreateBitmapFromDIB(nullptr, bitmap, 3, 2, 24, rows.data());
    ASSERT_NE(dc, nullptr);
    DeleteDC(dc);
    EXPECT_EQ(PixelAt(bitmap, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(bitmap, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(bitmap, 1, 0), RGB(0x30, 0x20, 0x10));
    DeleteObject(bitmap);
}

TEST(ImageHelper, RedBlueExchangeSetsAlphaAndUndoesItself)
{
    Helper helper;
    const std::vector<BYTE> pixel32 = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
    HBITMAP b32 = nullptr;
    DeleteDC(helper.CreateBitmapFromDIB(nullptr, b32, 2, 1, 32, pixel32.data()));
    ASSERT_TRUE(helper.ConvertBGRtoRGB(b32, 2, 4));
    EXPECT_EQ(Bits(b32), (std::vector<BYTE>{0x30, 0x20, 0x10, 0xFF, 0x70, 0x60, 0x50, 0xFF}));
    ASSERT_TRUE(helper.ConvertBGRtoRGB(b32, 2, 4));
    EXPECT_EQ(Bits(b32), (std::vector<BYTE>{0x10, 0x20, 0x30, 0xFF, 0x50, 0x60, 0x70, 0xFF}));
    DeleteObject(b32);

    // 24 bits and an odd width: GetBitmapBits rows carry a padding byte that
    // must not be taken for a pixel.
    std::vector<BYTE> rows(2 * 8);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = BYTE(i + 1);
    HBITMAP b24 = nullptr;
    DeleteDC(helper.CreateBitmapFromDIB(nullptr, b24, 1, 2, 24, rows.data()));
    const std::vector<BYTE> before = Bits(b24);
    ASSERT_TRUE(helper.ConvertBGRtoRGB(b24, 2, 3));
    const std::vector<BYTE> swapped = Bits(b24);
    const size_t stride = before.size() / 2;
    for (size_t row = 0; row < 2; ++row) {
        EXPECT_EQ(swapped[row * stride], before[row * stride + 2]);
        EXPECT_EQ(swapped[row * stride + 2], before[row * stride]);
    }
    ASSERT_TRUE(helper.ConvertBGRtoRGB(b24, 2, 3));
    EXPECT_EQ(Bits(b24), before);
    DeleteObject(b24);

    HBITMAP none = nullptr;
    EXPECT_FALSE(helper.ConvertBGRtoRGB(none, 2, 4));
}

TEST(ImageHelper, TextIsCentredOnXAndLeavesTheBackground)
{
    Helper helper;
    HBITMAP bitmap = nullptr;
    HDC dc = helper.CreateEmptyBitmap(nullptr, bitmap, 100, 30, 32);
    ASSERT_NE(dc, nullptr);
    RECT all = {0, 0, 100, 30};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    LOGFONTW font = {};
    font.lfHeight = -16;
    wcscpy_s(font.lfFaceName, L"Arial");
    helper.PrepareTextForBitmap(RGB(255, 255, 0), TA_CENTER | TA_TOP);
    helper.DrawTextToBitmap(dc, 50, 2, L"MWM", font);

    int left = 100, right = -1, glyphPixels = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(0, 0, 200)) continue;
            ++glyphPixels;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    ASSERT_GT(glyphPixels, 20);
    EXPECT_NEAR((left + right) / 2.0, 50.0, 2.0);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 200));
    EXPECT_EQ(GetPixel(dc, 99, 29), RGB(0, 0, 200));
    DeleteDC(dc);
    DeleteObject(bitmap);
}

// --- pixel commands ---------------------------------------------------------

struct MaskCase {
    BYTE blue, green, red; // pixel bytes 0, 1, 2
    COLORREF key;
    short tolerance;
    bool invert;
    BYTE expected; // all three bytes afterwards
};

class MaskRule : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskRule, KeyAndToleranceDecideBlackOrWhite)
{
    const MaskCase c = GetParam();
    const std::vector<BYTE> pixel = {c.blue, c.green, c.red, 0x5A};
    Helper helper;
    HBITMAP bitmap = nullptr;
    DeleteDC(helper.CreateBitmapFromDIB(nullptr, bitmap, 1, 1, 32, pixel.data()));
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    ASSERT_TRUE(CImageCommands().CreateImageMask(bitmap, bm, c.key, c.tolerance, c.invert));
    EXPECT_EQ(Bits(bitmap), (std::vector<BYTE>{c.expected, c.expected, c.expected, 0x5A}));
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskRule,
    ::testing::Values(MaskCase{30, 30, 30, 0x000000, 30, false, 0x00}, // at the edge: matches
                      MaskCase{31, 0, 0, 0x000000, 30, false, 0xFF},   // one byte out
                      MaskCase{25, 30, 10, 0x000000, 30, false, 0x00}, //
                      MaskCase{30, 30, 30, 0x000000, 30, true, 0xFF},  // inverted
                      MaskCase{31, 0, 0, 0x000000, 30, true, 0x00},    //
                      MaskCase{0xFF, 0, 0, 0x0000FF, 0, false, 0x00},  // key's low byte vs byte 0
                      MaskCase{0, 0, 0xFF, 0x0000FF, 0, false, 0xFF},  //
                      MaskCase{0, 0, 0, 0x000000, -1, false, 0xFF},    // negative: nothing matches
                      MaskCase{200, 100, 50, 0x3264C8, 0, false, 0x00})); // exact key

TEST(ImageCommands, UpsideDownSwapsRowsOfEveryLayout)
{
    CImageCommands commands;
    HBITMAP column = MakeBitmap(1, 3, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
    const std::vector<BYTE> before = Bits(column);
    ASSERT_TRUE(commands.SwitchImageHorizontal(column));
    EXPECT_EQ(PixelAt(column, 0, 0), RGB(7, 8, 9));
    EXPECT_EQ(PixelAt(column, 0, 1), RGB(4, 5, 6));
    EXPECT_EQ(PixelAt(column, 0, 2), RGB(1, 2, 3));
    ASSERT_TRUE(commands.SwitchImageHorizontal(column));
    EXPECT_EQ(Bits(column), before);
    DeleteObject(column);

    // 24 bits, width 3: padded rows stay whole.
    Helper helper;
    std::vector<BYTE> rows(2 * 12, 0);
    rows[0] = 0xFF;  // bottom-left blue
    rows[20] = 0xFF; // top-right red
    HBITMAP padded = nullptr;
    DeleteDC(helper.CreateBitmapFromDIB(nullptr, padded, 3, 2, 24, rows.data()));
    ASSERT_TRUE(commands.SwitchImageHorizontal(padded));
    EXPECT_EQ(PixelAt(padded, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(padded, 2, 1), RGB(255, 0, 0));
    DeleteObject(padded);

    EXPECT_FALSE(commands.SwitchImageHorizontal(nullptr));
}

TEST(ImageCommands, MaskImageShowsSourceWhereBitsAreSetAndBackgroundElsewhere)
{
    HBITMAP source = MakeBitmap(8, 2, std::vector<COLORREF>(16, RGB(10, 200, 30)));
    BITMAP bm = {};
    GetObjectW(source, sizeof(bm), &bm);
    // 1-bit rows are WORD-aligned, leftmost pixel in the high bit: left
    // half set in the top row, all clear in the bottom row.
    const BYTE maskBits[] = {0xF0, 0, 0x00, 0};
    HBITMAP mask = CreateBitmap(8, 2, 1, 1, maskBits);
    HBITMAP result = CImageCommands().MaskImage(source, bm, mask, RGB(255, 0, 255));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PixelAt(result, 0, 0), RGB(10, 200, 30));
    EXPECT_EQ(PixelAt(result, 3, 0), RGB(10, 200, 30));
    EXPECT_EQ(PixelAt(result, 4, 0), RGB(255, 0, 255));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(PixelAt(result, x, 1), RGB(255, 0, 255));
    EXPECT_EQ(CImageCommands().MaskImage(source, bm, nullptr, 0), nullptr);
    DeleteObject(result);
    DeleteObject(mask);
    DeleteObject(source);
}

} // namespace
