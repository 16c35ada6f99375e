#include "font/CFont.h"
#include "support/DialogPresser.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

TEST(CFont, PointSizesBecomeNegativeScreenHeightsAndCopiesResetTheCharacterSet)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the session's screen";
    EXPECT_EQ(CFont(L"Times New Roman", 24).GetHeight(), -32);
    EXPECT_EQ(CFont::CalcHeightTolfHeight(20), -27) << "26.67 rounds to 27";
    EXPECT_EQ(CFont(L"Arial", 700L, 20, 1, 0, 1).GetHeight(), -27) << "int: points";
    EXPECT_EQ(CFont(L"Arial", 700L, 20L, 0, 0, 0).GetHeight(), 20) << "long: logical";

    EXPECT_STREQ(CFont(L"An Extremely Long Font Face Name That Goes On", 10).GetFaceName(),
                 L"An Extremely Long Font Face Nam");

    CFont source; // the stock system font
    source.SetColor(0x00123456);
    CFont copy(&source);
    EXPECT_STREQ(copy.GetFaceName(), source.GetFaceName());
    EXPECT_EQ(copy.GetHeight() * 1000 + copy.GetWeight(),
              source.GetHeight() * 1000 + source.GetWeight());
    EXPECT_EQ(copy.GetColor(), 0x00123456u);
    EXPECT_EQ(copy.GetFont().lfCharSet, DEFAULT_CHARSET) << "whatever the source had";
}

TEST(CFont, MeasuresMatchPlainGdiAndTheContextKeepsItsFont)
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
    SIZE hello = {};
    ASSERT_TRUE(GetTextMetricsW(probe, &tm) &&
                GetTextExtentPoint32W(probe, L"Hello, 12:34", 12, &hello));
    SelectObject(probe, old);
    DeleteObject(gdiFont);
    DeleteDC(probe);
    EXPECT_GT(tm.tmHeight, 24) << "a 24-point font on the screen";
    EXPECT_EQ(width, hello.cx);
    EXPECT_EQ(font.GetDisplayWeight(), tm.tmAveCharWidth);
    EXPECT_EQ(font.GetDisplayHeight(), tm.tmHeight + tm.tmInternalLeading + tm.tmExternalLeading);
}

TEST(CFont, DialogCancelKeepsTheDescriptionAndOkTakesTheDialogs)
{
    for (int button : {IDCANCEL, IDOK}) {
        CFont font(L"Times New Roman", 700L, 24, 1, 0, 0);
        font.SetColor(0x00FF0000);      // one of the dialog's sixteen colours
        std::atomic<bool> shown{false}; // set before the button is pressed
        wintest::DialogPresser presser(button, [&](HWND) { shown = true; });
        const bool chosen = font.SelectFont(nullptr);
        ASSERT_TRUE(shown);
        EXPECT_EQ(chosen, button == IDOK);
        EXPECT_STREQ(font.GetFaceName(), L"Times New Roman");
        EXPECT_EQ(font.GetHeight() * 1000 + font.GetWeight(), -32 * 1000 + 700);
        EXPECT_TRUE(font.IsItalic());
        EXPECT_EQ(font.GetColor(), 0x00FF0000u);
        // Only the dialog fills the pitch and family.
        EXPECT_EQ(font.GetFont().lfPitchAndFamily != 0, button == IDOK);
    }
}

} // namespace
