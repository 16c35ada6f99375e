#include "font/CFont.h"

#include <gtest/gtest.h>

namespace {

TEST(CFont, HeightsNamesCopiesAndMeasuresAgreeWithPlainGdi)
{
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96) << "the session's screen";
    EXPECT_EQ(CFont::CalcHeightTolfHeight(20), -27) << "26.67 rounds to 27";
    EXPECT_EQ(CFont(L"Arial", 700L, 20, 1, 0, 1).GetHeight(), -27) << "int: points";
    EXPECT_EQ(CFont(L"Arial", 700L, 20L, 0, 0, 0).GetHeight(), 20) << "long: logical";
    EXPECT_STREQ(CFont(L"An Extremely Long Font Face Name That Goes On", 10).GetFaceName(),
                 L"An Extremely Long Font Face Nam");
    CFont source; // the stock system font
    source.SetColor(0x00123456);
    CFont copy(&source);
    EXPECT_TRUE(!wcscmp(copy.GetFaceName(), source.GetFaceName()) &&
                copy.GetHeight() == source.GetHeight() && copy.GetWeight() == source.GetWeight() &&
                copy.GetColor() == 0x00123456u);
    EXPECT_EQ(copy.GetFont().lfCharSet, DEFAULT_CHARSET) << "whatever the source had";

    CFont font(L"Times New Roman", 24);
    EXPECT_EQ(font.GetHeight(), -32);
    HGDIOBJ before = GetCurrentObject(screen, OBJ_FONT);
    font.InitTextMetric(screen);
    const long width = font.GetDisplayStringWeight(L"Hello, 12:34");
    EXPECT_EQ(GetCurrentObject(screen, OBJ_FONT), before) << "the context keeps its font";
    const LOGFONTW lf = font.GetFont();
    HFONT gdiFont = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(screen, gdiFont);
    TEXTMETRICW tm;
    SIZE hello = {};
    ASSERT_TRUE(GetTextMetricsW(screen, &tm) &&
                GetTextExtentPoint32W(screen, L"Hello, 12:34", 12, &hello));
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(width, hello.cx);
    EXPECT_EQ(font.GetDisplayWeight(), tm.tmAveCharWidth);
    EXPECT_EQ(font.GetDisplayHeight(), tm.tmHeight + tm.tmInternalLeading + tm.tmExternalLeading);
}

} // namespace
