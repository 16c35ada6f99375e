#include "font/CFont.h"
#include "support/DialogPresser.h"

#include <gtest/gtest.h>

namespace {

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LOGFONTW StockSystemFont()
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
    return lf;
}

// Members that no constructor fills and that must stay zero.
void ExpectUnfilledMembersZero(const LOGFONTW &lf)
{
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfOutPrecision, 0);
    EXPECT_EQ(lf.lfClipPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
}

// --- construction -----------------------------------------------------------

TEST(FontConstruction, DefaultIsTheStockSystemFontInRed)
{
    const LOGFONTW system = StockSystemFont();
    CFont font;
    EXPECT_STREQ(font.GetFaceName(), system.lfFaceName);
    EXPECT_EQ(font.GetHeight(), system.lfHeight);
    EXPECT_EQ(font.GetWeight(), system.lfWeight);
    EXPECT_EQ(font.GetFont().lfCharSet, system.lfCharSet);
    EXPECT_EQ(font.GetColor(), 0x000000FFu);
    ExpectUnfilledMembersZero(font.GetFont());
}

TEST(FontConstruction, PointSizesBecomeNegativeHeightsAtTheScreenResolution)
{
    const int dpi = ScreenDpi();
    ASSERT_GT(dpi, 0);
    CFont times(L"Times New Roman", 24);
    EXPECT_STREQ(times.GetFaceName(), L"Times New Roman");
    EXPECT_EQ(times.GetHeight(), -MulDiv(24, dpi, 72));
    EXPECT_EQ(times.GetWeight(), 400);
    EXPECT_EQ(times.GetFont().lfCharSet, 1);
    EXPECT_EQ(times.GetItalic(), 0);
    EXPECT_EQ(times.GetUnderline(), 0);
    EXPECT_EQ(times.GetStrikeOut(), 0);
    ExpectUnfilledMembersZero(times.GetFont());
    if (dpi == 96) {
        EXPECT_EQ(times.GetHeight(), -32);
        EXPECT_EQ(CFont::CalcHeightTolfHeight(10), -13);
        EXPECT_EQ(CFont::CalcHeightTolfHeight(20), -27) << "26.67 rounds to 27";
    }
    EXPECT_EQ(CFont::CalcHeightTolfHeight(0), 0);
}

TEST(FontConstruction, LongHeightIsLogicalAndIntHeightIsPoints)
{
    CFont logical(L"Arial", 700L, 20L, 0, 0, 0);
    EXPECT_EQ(logical.GetHeight(), 20);
    EXPECT_EQ(logical.GetWeight(), 700);
    CFont points(L"Arial", 700L, 20, 1, 0, 1);
    EXPECT_EQ(points.GetHeight(), CFont::CalcHeightTolfHeight(20));
    EXPECT_EQ(points.GetItalic(), 1);
    EXPECT_EQ(points.GetStrikeOut(), 1);
    EXPECT_EQ(points.GetColor(), 0x000000FFu);
}

TEST(FontConstruction, StyleBytesAreKeptRawAndTestedStrictlyExceptItalic)
{
    CFont font(L"Arial", 400L, 12L, 2, 2, 2);
    EXPECT_EQ(font.GetItalic(), 2);
    EXPECT_EQ(font.GetUnderline(), 2);
    EXPECT_EQ(font.GetStrikeOut(), 2);
    EXPECT_TRUE(font.IsItalic());
    EXPECT_FALSE(font.IsUnderline());
    EXPECT_FALSE(font.IsStrikeOut());
    CFont plain(L"Arial", 400L, 12L, 0, 1, 1);
    EXPECT_FALSE(plain.IsItalic());
    EXPECT_TRUE(plain.IsUnderline());
    EXPECT_TRUE(plain.IsStrikeOut());
}

TEST(FontConstruction, FaceNamesAreCutToTheLogfontField)
{
    CFont font(L"An Extremely Long Font Face Name That Goes On", 10);
    EXPECT_EQ(wcslen(font.GetFaceName()), (size_t)LF_FACESIZE - 1);
    EXPECT_EQ(wcsncmp(font.GetFaceName(), L"An Extremely Long Font Face Name", 31), 0);
    CFont none(nullptr, 10);
    EXPECT_STREQ(none.GetFaceName(), L"");
    CFont styled(L"Times New Roman", 700L, 48, 1, 1, 0);
    EXPECT_STREQ(styled.GetDisplayName(), L"Times New Roman") << "the face alone";
}

// --- copies -----------------------------------------------------------------

TEST(FontCopy, PointerCopyTakesTheDescriptionAndColourButResetsTheRest)
{
    CFont source; // the stock system font: ANSI character set under Wine
    source.SetColor(0x00123456);
    HDC dc = CreateCompatibleDC(nullptr);
    source.InitTextMetric(dc);
    source.GetDisplayName();

    CFont copy(&source);
    const LOGFONTW a = source.GetFont(), b = copy.GetFont();
    EXPECT_STREQ(b.lfFaceName, a.lfFaceName);
    EXPECT_EQ(b.lfHeight, a.lfHeight);
    EXPECT_EQ(b.lfWeight, a.lfWeight);
    EXPECT_EQ(b.lfCharSet, 1) << "default character set whatever the source had";
    EXPECT_EQ(copy.GetColor(), 0x00123456u);
    EXPECT_EQ(copy.GetDisplayWeight(), 0) << "no measurements copied";
    EXPECT_EQ(copy.GetDisplayStringWeight(L"0"), 0) << "no measuring context copied";
    ExpectUnfilledMembersZero(b);
    DeleteDC(dc);
}

// --- measuring --------------------------------------------------------------

class FontMeasure : public ::testing::Test {
protected:
    void SetUp() override { dc = GetDC(nullptr); }
    void TearDown() override { ReleaseDC(nullptr, dc); }
    HDC dc = nullptr;
};

TEST_F(FontMeasure, MetricsAndWidthsMatchPlainGdi)
{
    CFont font(L"Times New Roman", 24);
    font.InitTextMetric(dc);

    const LOGFONTW lf = font.GetFont();
    HFONT gdiFont = CreateFontIndirectW(&lf);
    HDC probe = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(probe, gdiFont);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(probe, &tm));
    SIZE hello;
    GetTextExtentPoint32W(probe, L"Hello, 12:34", 12, &hello);
    SelectObject(probe, old);
    DeleteObject(gdiFont);
    DeleteDC(probe);

    EXPECT_EQ(font.GetDisplayWeight(), tm.tmAveCharWidth);
    EXPECT_EQ(font.GetDisplayHeight(), tm.tmHeight + tm.tmInternalLeading + tm.tmExternalLeading);
    EXPECT_EQ(font.GetPitchAndFamily(), tm.tmPitchAndFamily);
    EXPECT_EQ(font.GetDisplayStringWeight(L"Hello, 12:34"), hello.cx);
    EXPECT_GT(hello.cx, 0);
    EXPECT_EQ(font.GetDisplayStringWeight(L""), 0);
    EXPECT_GT(tm.tmHeight, 24) << "a 24-point font on the screen";
}

TEST_F(FontMeasure, TheCallersContextKeepsItsFont)
{
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    CFont font(L"Arial", 30);
    font.InitTextMetric(dc);
    font.GetDisplayStringWeight(L"12:00");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
}

// --- font dialog ------------------------------------------------------------

TEST(FontDialog, CancelLeavesTheDescriptionAlone)
{
    CFont font(L"Times New Roman", 700L, 24, 1, 0, 0);
    font.SetColor(0x00FF0000);
    const LOGFONTW before = font.GetFont();
    bool chosen = true;
    {
        wintest::DialogPresser presser(IDCANCEL);
        chosen = font.SelectFont(nullptr);
        ASSERT_TRUE(presser.Pressed());
    }
    EXPECT_FALSE(chosen);
    const LOGFONTW after = font.GetFont();
    EXPECT_EQ(memcmp(&before, &after, sizeof(before)), 0);
    EXPECT_EQ(font.GetColor(), 0x00FF0000u);
}

TEST(FontDialog, OkTakesWhatTheDialogReturns)
{
    CFont font(L"Times New Roman", 700L, 24, 1, 0, 0);
    font.SetColor(0x00FF0000); // one of the dialog's sixteen colours
    bool chosen = false;
    {
        wintest::DialogPresser presser(IDOK);
        chosen = font.SelectFont(nullptr);
        ASSERT_TRUE(presser.Pressed());
    }
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(font.GetFaceName(), L"Times New Roman");
    EXPECT_EQ(font.GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_EQ(font.GetWeight(), 700);
    EXPECT_TRUE(font.IsItalic());
    EXPECT_EQ(font.GetColor(), 0x00FF0000u);
    // Members only the dialog fills are kept, and a copy resets them.
    EXPECT_NE(font.GetFont().lfPitchAndFamily, 0);
    CFont copy(&font);
    ExpectUnfilledMembersZero(copy.GetFont());
}

} // namespace
