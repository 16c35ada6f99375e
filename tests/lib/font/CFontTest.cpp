#include "font/CFont.h"
#include "support/DialogPresser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Members that no constructor fills and that must stay zero.
void ExpectUnfilledMembersZero(const LOGFONTW &lf)
{
    EXPECT_EQ(lf.lfWidth | lf.lfEscapement | lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfOutPrecision | lf.lfClipPrecision | lf.lfQuality | lf.lfPitchAndFamily, 0);
}

// --- construction -----------------------------------------------------------

TEST(FontConstruction, DefaultIsTheStockSystemFontInRed)
{
    LOGFONTW system = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(system), &system);
    CFont font;
    EXPECT_STREQ(font.GetFaceName(), system.lfFaceName);
    EXPECT_EQ(font.GetHeight(), system.lfHeight);
    EXPECT_EQ(font.GetColor(), 0x000000FFu);
}

TEST(FontConstruction, PointSizesBecomeNegativeHeightsAtTheScreenResolution)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(dpi, 0);
    CFont times(L"Times New Roman", 24);
    EXPECT_EQ(times.GetHeight(), -MulDiv(24, dpi, 72));
    EXPECT_EQ(times.GetWeight(), 400);
    EXPECT_EQ(times.GetFont().lfCharSet, DEFAULT_CHARSET);
    ExpectUnfilledMembersZero(times.GetFont());
    if (dpi == 96) {
        EXPECT_EQ(times.GetHeight(), -32);
        EXPECT_EQ(CFont::CalcHeightTolfHeight(20), -27) << "26.67 rounds to 27";
    }
    EXPECT_EQ(CFont::CalcHeightTolfHeight(0), 0);

    // The long height is logical, the int height points.
    EXPECT_EQ(CFont(L"Arial", 700L, 20L, 0, 0, 0).GetHeight(), 20);
    EXPECT_EQ(CFont(L"Arial", 700L, 20, 1, 0, 1).GetHeight(), CFont::CalcHeightTolfHeight(20));
}

TEST(FontConstruction, StyleBytesAreKeptRawAndTestedStrictlyExceptItalic)
{
    CFont font(L"Arial", 400L, 12L, 2, 2, 2);
    EXPECT_EQ(font.GetItalic() + font.GetUnderline() + font.GetStrikeOut(), 6);
    EXPECT_TRUE(font.IsItalic());
    EXPECT_FALSE(font.IsUnderline() || font.IsStrikeOut());
    CFont plain(L"Arial", 400L, 12L, 0, 1, 1);
    EXPECT_FALSE(plain.IsItalic());
    EXPECT_TRUE(plain.IsUnderline() && plain.IsStrikeOut());
}

TEST(FontConstruction, FaceNamesAreCutToTheLogfontField)
{
    CFont font(L"An Extremely Long Font Face Name That Goes On", 10);
    EXPECT_EQ(std::wstring(font.GetFaceName()), L"An Extremely Long Font Face Nam");
    EXPECT_STREQ(CFont(nullptr, 10).GetFaceName(), L"");
    CFont styled(L"Times New Roman", 700L, 48, 1, 1, 0);
    EXPECT_STREQ(styled.GetDisplayName(), L"Times New Roman") << "the face alone";
}

TEST(FontCopy, PointerCopyTakesTheDescriptionAndColourButResetsTheRest)
{
    CFont source; // the stock system font: ANSI character set under Wine
    source.SetColor(0x00123456);
    HDC dc = CreateCompatibleDC(nullptr);
    source.InitTextMetric(dc);

    CFont copy(&source);
    const LOGFONTW a = source.GetFont(), b = copy.GetFont();
    EXPECT_STREQ(b.lfFaceName, a.lfFaceName);
    EXPECT_EQ(b.lfHeight, a.lfHeight);
    EXPECT_EQ(b.lfWeight, a.lfWeight);
    EXPECT_EQ(b.lfCharSet, DEFAULT_CHARSET) << "whatever the source had";
    EXPECT_EQ(copy.GetColor(), 0x00123456u);
    EXPECT_EQ(copy.GetDisplayWeight(), 0) << "no measurements copied";
    EXPECT_EQ(copy.GetDisplayStringWeight(L"0"), 0) << "no measuring context copied";
    DeleteDC(dc);
}

TEST(FontMeasure, MetricsAndWidthsMatchPlainGdiAndTheContextKeepsItsFont)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    CFont font(L"Times New Roman", 24);
    font.InitTextMetric(dc);
    const long width = font.GetDisplayStringWeight(L"Hello, 12:34");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    ReleaseDC(nullptr, dc);

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
    EXPECT_EQ(width, hello.cx);
    EXPECT_GT(hello.cx, 0);
    EXPECT_EQ(font.GetDisplayStringWeight(L""), 0);
    EXPECT_GT(tm.tmHeight, 24) << "a 24-point font on the screen";
}

// --- font dialog ------------------------------------------------------------

TEST(FontDialog, CancelKeepsTheDescriptionAndOkTakesWhatTheDialogReturns)
{
    for (int button : {IDCANCEL, IDOK}) {
        CFont font(L"Times New Roman", 700L, 24, 1, 0, 0);
        font.SetColor(0x00FF0000); // one of the dialog's sixteen colours
        const LOGFONTW before = font.GetFont();
        bool chosen;
        {
            wintest::DialogPresser presser(button);
            chosen = font.SelectFont(nullptr);
            ASSERT_TRUE(presser.Pressed());
        }
        EXPECT_EQ(chosen, button == IDOK);
        EXPECT_STREQ(font.GetFaceName(), L"Times New Roman");
        EXPECT_EQ(font.GetHeight(), before.lfHeight);
        EXPECT_EQ(font.GetWeight(), 700);
        EXPECT_TRUE(font.IsItalic());
        EXPECT_EQ(font.GetColor(), 0x00FF0000u);
        // Members only the dialog fills are kept, and a copy resets them.
        EXPECT_EQ(font.GetFont().lfPitchAndFamily != 0, button == IDOK);
        ExpectUnfilledMembersZero(CFont(&font).GetFont());
    }
}

} // namespace
