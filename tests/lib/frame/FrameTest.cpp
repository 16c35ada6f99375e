#include "font/CFont.h"
#include "frame/Factory.h"
#include "frame/PictavoLibInfo.h"
#include "imaging/CImage.h"
#include "support/DialogPresser.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[260] = L"";
    GetDlgItemTextW(dialog, id, text, 260);
    return text;
}

LOGFONTW ItemFont(HWND dialog, int id)
{
    LOGFONTW lf = {};
    HGDIOBJ font = (HGDIOBJ)SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0);
    if (font) GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

TEST(LibraryInfo, AboutBoxShowsNameVersionNoticeAndLink)
{
    EXPECT_STREQ(PictavoLibInfo().GetVersion(), L"1.8.6");
    struct Seen {
        std::wstring caption, title, notice, link;
        LOGFONTW titleFont, linkFont;
        bool icon;
        LONG linkWidth, linkTextWidth;
    } seen = {};
    {
        wintest::DialogPresser presser(IDOK, [&seen](HWND dialog) {
            seen.caption.resize(64);
            seen.caption.resize(GetWindowTextW(dialog, &seen.caption[0], 64));
            seen.title = ItemText(dialog, 1000);
            seen.notice = ItemText(dialog, 1001);
            seen.link = ItemText(dialog, 1002);
            seen.titleFont = ItemFont(dialog, 1000);
            seen.linkFont = ItemFont(dialog, 1002);
            seen.icon = SendDlgItemMessageW(dialog, 80, STM_GETICON, 0, 0) != 0;
            HWND link = GetDlgItem(dialog, 1002);
            RECT client;
            GetClientRect(link, &client);
            seen.linkWidth = client.right;
            HDC dc = GetDC(link);
            HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(link, WM_GETFONT, 0, 0));
            SIZE extent = {};
            GetTextExtentPoint32W(dc, seen.link.c_str(), (int)seen.link.size(), &extent);
            SelectObject(dc, old);
            ReleaseDC(link, dc);
            seen.linkTextWidth = extent.cx;
            // For a person to look at.
            UpdateWindow(dialog);
            Sleep(200);
            CImage shot;
            if (shot.CreateBitmapFromSelection(dialog, RECT{-1, 0, 0, 0}))
                shot.Save(wintest::OutputPath(L"").c_str(), L"lib_about_box.bmp");
        });
        PictavoLibInfo().ShowAboutBox(nullptr);
        ASSERT_TRUE(presser.Pressed());
    }
    EXPECT_EQ(seen.caption, L"Info");
    EXPECT_EQ(seen.title, L"Pictavo-Library 1.8.6");
    EXPECT_EQ(seen.notice, L"Copyright \u00A9 Orvandt");
    EXPECT_EQ(seen.link.rfind(L"http", 0), 0u) << "the home page address";
    EXPECT_GE(seen.linkWidth, seen.linkTextWidth) << "the whole address shows";
    EXPECT_EQ(seen.titleFont.lfWeight, 700);
    EXPECT_TRUE(seen.linkFont.lfUnderline);
    EXPECT_TRUE(seen.icon);
}

// Looked up by name, as a program that loads the library at run time would.
template <typename F> F Find(HMODULE library, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

TEST(Factories, EveryPairIsFoundByItsPlainNameAndDisposeTakesNull)
{
    HMODULE library = LoadLibraryW(L"PictavoLib64.dll");
    ASSERT_NE(library, nullptr);
    const struct {
        const char *create, *dispose;
    } pairs[] = {{"CreatePictavoLibInfo", "DisposePictavoLibInfo"},
                 {"CreateCSystemClass", "DisposeCSystemClass"},
                 {"CreateCSupportedGraphicClass", "DisposeCSupportedGraphicClass"},
                 {"CreateCImageClass", "DisposeCImageClass"},
                 {"CreateCIconClass", "DisposeCIconClass"}};
    for (const auto &pair : pairs) {
        auto create = Find<void *(*)()>(library, pair.create);
        auto dispose = Find<void (*)(void *)>(library, pair.dispose);
        ASSERT_TRUE(create && dispose) << pair.create;
        dispose(nullptr);
        void *object = create();
        EXPECT_NE(object, nullptr) << pair.create;
        dispose(object);
    }
    auto createInfo = Find<PictavoLibInfo *(*)()>(library, "CreatePictavoLibInfo");
    PictavoLibInfo *info = createInfo();
    EXPECT_STREQ(info->GetVersion(), L"1.8.6");
    Find<void (*)(PictavoLibInfo *)>(library, "DisposePictavoLibInfo")(info);

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
    EXPECT_EQ(font->GetColor(), 0x0000FFu);
    disposeFont(font);
    FreeLibrary(library);
}

} // namespace
