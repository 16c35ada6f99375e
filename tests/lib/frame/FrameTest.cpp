#include "font/CFont.h"
#include "frame/PictavoLibInfo.h"
#include "support/DialogPresser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LibraryInfo, AboutBoxShowsTheVersionAndTheWholeLink)
{
    EXPECT_STREQ(PictavoLibInfo().GetVersion(), L"1.8.6");
    std::wstring seen; // what the dialog shows, as one text
    {
        wintest::DialogPresser presser(IDOK, [&](HWND dialog) {
            wchar_t title[260], link[260];
            GetDlgItemTextW(dialog, 1000, title, 260);
            GetDlgItemTextW(dialog, 1002, link, 260);
            HWND item = GetDlgItem(dialog, 1002);
            HGDIOBJ font = (HGDIOBJ)SendMessageW(item, WM_GETFONT, 0, 0);
            LOGFONTW bold = {}, underlined = {};
            GetObjectW((HGDIOBJ)SendDlgItemMessageW(dialog, 1000, WM_GETFONT, 0, 0), sizeof bold,
                       &bold);
            GetObjectW(font, sizeof underlined, &underlined);
            RECT client;
            GetClientRect(item, &client);
            HDC dc = GetDC(item);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE extent = {};
            GetTextExtentPoint32W(dc, link, int(wcslen(link)), &extent);
            SelectObject(dc, old);
            ReleaseDC(item, dc);
            seen = title + (L"|" + std::wstring(link).substr(0, 4)) +
                   (bold.lfWeight == 700 ? L"|bold" : L"") +
                   (underlined.lfUnderline ? L"|underlined" : L"") +
                   (extent.cx <= client.right ? L"|whole" : L"") +
                   (SendDlgItemMessageW(dialog, 80, STM_GETICON, 0, 0) ? L"|icon" : L"");
        });
        PictavoLibInfo().ShowAboutBox(nullptr);
    }
    EXPECT_EQ(seen, L"Pictavo-Library 1.8.6|http|bold|underlined|whole|icon");
}

// Looked up by name, as a program that loads the library at run time would.
template <typename F> F Find(HMODULE library, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

TEST(Factories, EveryPairIsFoundByItsPlainNameAndDisposeTakesNull)
{
    HMODULE library = GetModuleHandleW(L"PictavoLib64.dll");
    for (const char *kind : {"PictavoLibInfo", "CSystemClass", "CSupportedGraphicClass",
                             "CImageClass", "CIconClass"}) {
        auto create = Find<void *(*)()>(library, (std::string("Create") + kind).c_str());
        auto dispose = Find<void (*)(void *)>(library, (std::string("Dispose") + kind).c_str());
        ASSERT_TRUE(create && dispose) << kind;
        dispose(nullptr);
        void *object = create();
        EXPECT_NE(object, nullptr) << kind;
        dispose(object);
    }
    auto createFont =
        Find<CFont *(*)(const wchar_t *, int, BYTE, BYTE, BYTE)>(library, "CreateCFontClass");
    auto disposeFont = Find<void (*)(CFont *)>(library, "DisposeCFontClass");
    ASSERT_TRUE(createFont && disposeFont);
    disposeFont(nullptr);
    CFont *font = createFont(L"Arial", 20, 1, 0, 2);
    EXPECT_STREQ(font->GetFaceName(), L"Arial");
    EXPECT_EQ(font->GetHeight(), CFont::CalcHeightTolfHeight(20)) << "points";
    EXPECT_EQ(font->GetWeight(), 400);
    EXPECT_EQ(font->GetItalic() * 100 + font->GetUnderline() * 10 + font->GetStrikeOut(), 102);
    disposeFont(font);
}

} // namespace
