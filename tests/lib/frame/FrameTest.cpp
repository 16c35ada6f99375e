#include "font/CFont.h"
#include "frame/Factory.h"
#include "frame/PictavoLibInfo.h"
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

TEST(LibraryInfo, VersionHasThreeParts)
{
    PictavoLibInfo info;
    EXPECT_STREQ(info.GetVersion(), L"1.8.6");
}

TEST(LibraryInfo, AboutBoxShowsNameVersionNoticeAndLink)
{
    struct Seen {
        std::wstring caption, title, notice, link;
        LOGFONTW titleFont, linkFont;
        bool icon;
        LONG linkWidth, linkTextWidth;
    } seen = {};
    {
        wintest::DialogPresser presser(IDOK, [&seen](HWND dialog) {
            wchar_t caption[64] = L"";
            GetWindowTextW(dialog, caption, 64);
            seen.caption = caption;
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
            RECT frame;
            GetWindowRect(dialog, &frame);
            UpdateWindow(dialog);
            Sleep(200);
            const std::wstring shot = wintest::OutputPath(L"lib_about_box.bmp");
            if (!shot.empty()) wintest::SaveBitmapFile(wintest::CaptureScreen(frame), shot);
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

// --- factory functions, looked up by name as a run-time user would --------------------

class Factories : public ::testing::Test {
protected:
    void SetUp() override { library = LoadLibraryW(L"PictavoLib64.dll"); }
    void TearDown() override { FreeLibrary(library); }
    template <typename F> F Find(const char *name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(library, name)));
    }
    HMODULE library = nullptr;
};

TEST_F(Factories, EveryPairIsFoundByItsPlainName)
{
    ASSERT_NE(library, nullptr);
    const struct {
        const char *create, *dispose;
    } pairs[] = {{"CreatePictavoLibInfo", "DisposePictavoLibInfo"},
                 {"CreateCSystemClass", "DisposeCSystemClass"},
                 {"CreateCSupportedGraphicClass", "DisposeCSupportedGraphicClass"},
                 {"CreateCImageClass", "DisposeCImageClass"},
                 {"CreateCIconClass", "DisposeCIconClass"}};
    for (const auto &pair : pairs) {
        auto create = Find<void *(*)()>(pair.create);
        auto dispose = Find<void (*)(void *)>(pair.dispose);
        ASSERT_NE(create, nullptr) << pair.create;
        ASSERT_NE(dispose, nullptr) << pair.dispose;
        dispose(nullptr);
        void *object = create();
        EXPECT_NE(object, nullptr) << pair.create;
        dispose(object);
    }
}

TEST_F(Factories, CreatedObjectsWork)
{
    auto createInfo = Find<PictavoLibInfo *(*)()>("CreatePictavoLibInfo");
    auto disposeInfo = Find<void (*)(PictavoLibInfo *)>("DisposePictavoLibInfo");
    PictavoLibInfo *info = createInfo();
    EXPECT_STREQ(info->GetVersion(), L"1.8.6");
    disposeInfo(info);

    auto createFont = Find<CFont *(*)(const wchar_t *, int, BYTE, BYTE, BYTE)>("CreateCFontClass");
    auto disposeFont = Find<void (*)(CFont *)>("DisposeCFontClass");
    ASSERT_NE(createFont, nullptr);
    ASSERT_NE(disposeFont, nullptr);
    disposeFont(nullptr);
    CFont *font = createFont(L"Arial", 20, 1, 0, 2);
    EXPECT_STREQ(font->GetFaceName(), L"Arial");
    EXPECT_EQ(font->GetHeight(), CFont::CalcHeightTolfHeight(20));
    EXPECT_EQ(font->GetWeight(), 400);
    EXPECT_EQ(font->GetFont().lfCharSet, 1);
    EXPECT_EQ(font->GetItalic(), 1);
    EXPECT_EQ(font->GetUnderline(), 0);
    EXPECT_EQ(font->GetStrikeOut(), 2);
    EXPECT_EQ(font->GetColor(), 0x0000FFu);
    disposeFont(font);
}

} // namespace
